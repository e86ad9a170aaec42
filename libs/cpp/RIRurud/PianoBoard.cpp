#include "RIRurud/PianoBoard.h"

#include "RIRurud/BoardActions.h"
#include "RIRurud/BoardTables.h"
#include "RIRurud/NoteName.h"

#include <QMouseEvent>
#include <QPainter>

namespace RIRurud {

namespace {
QString layerKey(const QString& key)
{
    return QStringLiteral(":/Piano_%1.png").arg(key);
}
} // namespace

PianoBoard::PianoBoard(QWidget* parent)
    : QFrame(parent)
    , m_view(QStringLiteral(":/Piano_0@2x.jpg"))
{
    for (int n = 1; n <= int(BoardTables::kPianoKeyCount); ++n)
        layers[layerKey(QString::number(n))] = layerKey(QString::number(n));
    aspectRatio = m_view.aspectRatio();
}

PianoBoard::~PianoBoard() = default;

QString PianoBoard::positionToNote(int x, int y) const
{
    if (width() <= 0 || height() <= 0)
        return QString();
    const float xs = (float(x) * float(BoardTables::kFrameWidth)) / float(width());
    const float ys = (float(y) * float(BoardTables::kFrameHeight)) / float(height());
    const int key = BoardTables::pianoKeyAt(xs, ys);
    return key < 0 ? QString() : QString::fromLatin1(BoardTables::kPianoKeys[key].note);
}

int PianoBoard::keyNumber(const QString& note, int accidental)
{
    static const int kOffsets[] = {4, 6, 8, 9, 11, 13, 15};   // C D E F G A B
    const int letter = note.isEmpty() ? -1 : NoteName::letterIndex(note.at(0));
    if (note.size() < 2 || letter < 0)
        return 0;
    const int octave = note.at(1).isDigit() ? note.at(1).digitValue() : 0;
    const int key = 12 * octave - 12 + kOffsets[letter] + (accidental > 0) - (accidental < 0);
    return qMax(1, key);
}

QString PianoBoard::currentLayerPath() const
{
    return currentLayer.isEmpty() ? QString() : layers.value(layerKey(currentLayer));
}

void PianoBoard::slotSetNote(const QString& note, int accidental)
{
    const int key = keyNumber(note, accidental);
    currentLayer = key > 0 ? QString::number(key) : QString();
    update();
}

void PianoBoard::mousePressEvent(QMouseEvent* event)
{
    BoardActions::answerPress(this, event->localPos().toPoint(), QStringLiteral("piano"));
}

void PianoBoard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_view.paintPicture(painter, size(), [this] { return layers.values(); });
    m_view.paintOverlay(painter, size(), currentLayerPath());
}

void PianoBoard::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    setFixedHeight(int(float(width()) / aspectRatio));
}

} // namespace RIRurud
