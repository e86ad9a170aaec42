#include "RIRurud/GuitarBoard.h"

#include "RIRurud/BoardActions.h"
#include "RIRurud/BoardModeButtons.h"
#include "RIRurud/BoardTables.h"
#include "RIRurud/NoteName.h"

#include <QMouseEvent>
#include <QPushButton>

namespace RIRurud {

namespace {
const BoardTables::BoardTable& kTable = BoardTables::kGuitar;

QString layerKey(const QString& layer)
{
    return QStringLiteral(":/Guitar_%1.png").arg(layer);
}
} // namespace

GuitarBoard::GuitarBoard(QWidget* parent)
    : QFrame(parent)
    , m_view(QStringLiteral(":/Guitar_0@2x.jpg"), &kTable)
{
    for (std::size_t i = 0; i < kTable.layerCount; ++i) {
        const QString layer = QString::fromLatin1(kTable.layerNames[i]);
        layers[layerKey(layer)] = QStringLiteral(":/Guitar_") + layer + QStringLiteral("@2x.png");
    }
    for (std::size_t i = 0; i < kTable.trainingCount; ++i)
        trainingNotes.append(QString::fromLatin1(kTable.trainingNotes[i]));
    aspectRatio = m_view.aspectRatio();
    const BoardModeButtons buttons = BoardModeButtons::install(this, staticMetaObject.className());
    m_findNoteButton = buttons.findNote;
    trainButton = buttons.training;
}

GuitarBoard::~GuitarBoard() = default;

void GuitarBoard::setTrainButtonChecked()
{
    trainButton->setChecked(true);
}

bool GuitarBoard::isInTraining() const
{
    return inTraining;
}

QString GuitarBoard::positionToNote(int x, int y) const
{
    return BoardGeometry::noteAt(kTable, BoardGeometry::toFrame(x, y, width(), height()));
}

bool GuitarBoard::isIn(int const& x, int const& y, QPoint const& point) const
{
    return BoardGeometry::isInBox(x, y, point);
}

QPixmap GuitarBoard::doSingleNote(const QPixmap& layer)
{
    return m_view.singleNote(layer);
}

QString GuitarBoard::currentLayerPath() const
{
    return currentLayer.isEmpty() ? QString() : layers.value(layerKey(currentLayer));
}

QStringList GuitarBoard::layerNameList() const
{
    QStringList names;
    for (std::size_t i = 0; i < kTable.layerCount; ++i)
        names.append(QString::fromLatin1(kTable.layerNames[i]));
    return names;
}

void GuitarBoard::slotSetNote(const QString& note, int accidental)
{
    currentLayer = NoteName::layerForm(note, accidental);
    update();
}

void GuitarBoard::slotNextNote()
{
    BoardActions::askNextNote(this, trainingNotes);
}

void GuitarBoard::slotSetInTraining(bool on)
{
    inTraining = on;
    if (!on)
        m_view.leaveTraining();
}

void GuitarBoard::mousePressEvent(QMouseEvent* event)
{
    if (inTraining) {
        QFrame::mousePressEvent(event);
        return;
    }
    BoardActions::answerPress(this, event->localPos().toPoint(), QStringLiteral("guitar"));
}

void GuitarBoard::paintEvent(QPaintEvent*)
{
    BoardActions::paintFretted(this, m_view, [this] { return layers.values(); });
}

void GuitarBoard::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    setFixedHeight(int(float(width()) / aspectRatio));
}

} // namespace RIRurud
