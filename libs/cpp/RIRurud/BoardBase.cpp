#include "RIRurud/BoardBase.h"

#include "RIRurud/BoardActions.h"
#include "RIRurud/BoardModeButtons.h"
#include "RIRurud/NoteName.h"

#include <QMouseEvent>
#include <QPushButton>

namespace RIRurud {

BoardBase::BoardBase(const QString& name, QWidget* parent)
    : QFrame(parent)
    , instrumentName(name)
    , m_view(QStringLiteral(":/") + name + QStringLiteral("_0@2x.jpg"), BoardTables::boardNamed(qPrintable(name)))
{
    setMinimumSize(800, 250);
    createLayers();
    aspectRatio = m_view.aspectRatio();
    const BoardModeButtons buttons = BoardModeButtons::install(this, staticMetaObject.className());
    m_findNoteButton = buttons.findNote;
    trainButton = buttons.training;
}

BoardBase::~BoardBase() = default;

void BoardBase::setTrainButtonChecked()
{
    trainButton->setChecked(true);
}

bool BoardBase::isInTraining() const
{
    return inTraining;
}

QString BoardBase::layerKey(const QString& layer) const
{
    return (QStringLiteral(":/") + instrumentName + QStringLiteral("_%1.png")).arg(layer);
}

void BoardBase::createLayers()
{
    for (const QString& layer : qAsConst(layerNames))
        layers[layerKey(layer)] = QStringLiteral(":/") + instrumentName + QStringLiteral("_") + layer
            + QStringLiteral("@2x.png");
}

QString BoardBase::currentLayerPath() const
{
    return currentLayer.isEmpty() ? QString() : layers.value(layerKey(currentLayer));
}

QStringList BoardBase::layerPaths() const
{
    QStringList paths;
    for (const QString& layer : qAsConst(layerNames))
        paths.append(layers.value(layerKey(layer)));
    return paths;
}

bool BoardBase::isIn(int const& x, int const& y, QPoint const& point) const
{
    return BoardGeometry::isInBox(x, y, point);
}

QPixmap BoardBase::doSingleNote(const QPixmap& layer)
{
    return m_view.singleNote(layer);
}

void BoardBase::slotSetNote(const QString& note, int accidental)
{
    currentLayer = NoteName::layerForm(note, accidental);
    update();
}

void BoardBase::slotNextNote()
{
    BoardActions::askNextNote(this, trainingNotes);
}

void BoardBase::slotSetInTraining(bool on)
{
    inTraining = on;
    // The whole-size training picture is needed in training only.
    if (!on)
        m_view.leaveTraining();
}

void BoardBase::mousePressEvent(QMouseEvent* event)
{
    if (inTraining) {
        QFrame::mousePressEvent(event);
        return;
    }
    BoardActions::answerPress(this, event->localPos().toPoint(), instrumentName);
}

void BoardBase::paintEvent(QPaintEvent*)
{
    BoardActions::paintFretted(this, m_view, [this] { return layerPaths(); });
}

void BoardBase::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    setFixedHeight(int(float(width()) / aspectRatio));
}

void BoardBase::fillNotes(const BoardTables::BoardTable& table)
{
    layerNames.clear();
    for (std::size_t i = 0; i < table.layerCount; ++i)
        layerNames.append(QString::fromLatin1(table.layerNames[i]));
    for (std::size_t i = 0; i < table.trainingCount; ++i)
        trainingNotes.append(QString::fromLatin1(table.trainingNotes[i]));
}

QString BoardBase::noteInTable(const BoardTables::BoardTable& table, int x, int y) const
{
    const QPoint framePoint = BoardGeometry::toFrame(x, y, width(), height());
    return BoardGeometry::noteAt(table, framePoint,
                                 [this](int cx, int cy, const QPoint& p) { return isIn(cx, cy, p); });
}

} // namespace RIRurud
