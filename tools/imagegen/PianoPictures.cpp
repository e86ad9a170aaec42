// The piano page: the keyboard picture, one overlay per key (":/Piano_1.png" for A0 to
// ":/Piano_88.png" for C8) and the two side pictures. The keys are drawn from the key table the
// piano board compiles (BoardTables::kPianoKeys): white keys after their lower range, black keys
// after theirs, so that the key a click answers is the key drawn there.
#include "BoardDrawing.h"
#include "ImageSink.h"
#include "Palette.h"

#include "RIRurud/BoardTables.h"
#include "RIRurud/FinderTables.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

namespace {

using namespace imagegen;
using RIRurud::BoardTables::PianoKey;
using RIRurud::BoardTables::kPianoKeys;
using RIRurud::BoardTables::kPianoKeyCount;

constexpr double kFrameW = RIRurud::BoardTables::kFrameWidth;
constexpr double kFrameH = RIRurud::BoardTables::kFrameHeight;
constexpr double kKeysTop = RIRurud::BoardTables::kPianoUpperTop;
constexpr double kBlackBottom = RIRurud::BoardTables::kPianoLowerTop;
constexpr double kKeysBottom = RIRurud::BoardTables::kPianoLowerBottom;
constexpr double kFirstKey = 20;    // where the A0 key begins
constexpr double kLastKey = 790;    // where the C8 key ends

QRectF blackKey(const PianoKey& key)
{
    return QRectF(key.lo, kKeysTop, key.hi - key.lo, kBlackBottom - kKeysTop);
}

// A white key as it shows: its lower range over the whole height, less the black keys over it.
QPainterPath whiteKey(const PianoKey& key)
{
    QPainterPath path;
    path.addRect(QRectF(key.lo, kKeysTop, key.hi - key.lo, kKeysBottom - kKeysTop));
    QPainterPath blacks;
    for (const PianoKey& k : kPianoKeys) {
        if (k.black && k.hi > key.lo && k.lo < key.hi)
            blacks.addRect(blackKey(k));
    }
    return path.subtracted(blacks);
}

QPainter& frame(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kBoardPictureWidth / kFrameW, kBoardPictureHeight / kFrameH);
    return p;
}

// Black lacquer: deep black with a soft reflection along its upper part.
void lacquer(QPainter& p, const QRectF& r, double shine = 1.0)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x2A, 0x28, 0x28));
    g.setColorAt(0.18, QColor(0x4A, 0x48, 0x48).darker(int(100 + 60 * (1 - shine))));
    g.setColorAt(0.35, QColor(0x12, 0x11, 0x11));
    g.setColorAt(1, QColor(0x06, 0x06, 0x06));
    p.fillRect(r, g);
}

void drawWhiteKeys(QPainter& p)
{
    for (const PianoKey& key : kPianoKeys) {
        if (key.black)
            continue;
        const QPainterPath shape = whiteKey(key);
        QLinearGradient ivory(QPointF(0, kKeysTop), QPointF(0, kKeysBottom));
        ivory.setColorAt(0, QColor(0xD8, 0xD2, 0xC4));
        ivory.setColorAt(0.08, QColor(0xF4, 0xF0, 0xE6));
        ivory.setColorAt(0.85, QColor(0xFB, 0xF8, 0xF0));
        ivory.setColorAt(1, QColor(0xE2, 0xDC, 0xCE));
        p.setPen(Qt::NoPen);
        p.setBrush(ivory);
        p.drawPath(shape);
        // The front lip of the key.
        p.setBrush(QColor(0xC8, 0xC0, 0xAE));
        p.drawRect(QRectF(key.lo, kKeysBottom - 1.4, key.hi - key.lo, 1.4));
        // The gap to the key on the left.
        p.setPen(QPen(QColor(0x4A, 0x44, 0x3C), 0.45));
        p.drawLine(QPointF(key.lo, kKeysTop), QPointF(key.lo, kKeysBottom));
    }
    p.setPen(QPen(QColor(0x4A, 0x44, 0x3C), 0.45));
    p.drawLine(QPointF(kLastKey, kKeysTop), QPointF(kLastKey, kKeysBottom));
    // Octave names on the C keys, for finding one's way.
    p.setFont(palette::textFont(4.2, QFont::DemiBold));
    p.setPen(QColor(0x8A, 0x80, 0x70));
    for (const PianoKey& key : kPianoKeys) {
        if (!key.black && key.note[0] == 'C')
            p.drawText(QRectF(key.lo, kKeysBottom - 9, key.hi - key.lo, 6), Qt::AlignCenter, QString::fromLatin1(key.note));
    }
}

void drawBlackKey(QPainter& p, const PianoKey& key, const QColor& base, const QColor& top)
{
    const QRectF r = blackKey(key);
    // The body of the key, then its top a little narrower and shorter, lit from the front.
    p.setPen(Qt::NoPen);
    p.setBrush(base);
    p.drawRoundedRect(r.adjusted(0, -1, 0, 0), 0.8, 0.8);
    const QRectF face = r.adjusted(1.1, 0, -1.1, -4.2);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, base);
    g.setColorAt(0.75, top);
    g.setColorAt(1, top.lighter(130));
    p.setBrush(g);
    p.drawRoundedRect(face, 0.8, 0.8);
    p.setBrush(top.lighter(160));
    p.drawRect(QRectF(face.left(), face.bottom() - 0.5, face.width(), 0.5));
}

QImage keyboardPicture()
{
    QImage image(kBoardPictureWidth, kBoardPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    frame(p);
    feltBackground(p, QRectF(0, 0, kFrameW, kFrameH));
    // The case: fallboard and name board above the keys, the key slip below, a cheek at each end.
    QPainterPath casing;
    casing.addRoundedRect(QRectF(2, 6, kFrameW - 4, 148), 4, 4);
    softShadow(p, casing, QPointF(1.5, 4), 8, 0.1);
    p.save();
    p.setClipPath(casing);
    lacquer(p, QRectF(0, 6, kFrameW, 52));
    // A gold hairline inlaid in the fallboard.
    p.setPen(QPen(QColor(0xC8, 0xA0, 0x50, 200), 0.5));
    p.drawLine(QPointF(40, 50), QPointF(kFrameW - 40, 50));
    lacquer(p, QRectF(0, 58, kFrameW, kKeysTop - 58), 0.4);
    // The red felt strip along the back of the keys.
    p.fillRect(QRectF(kFirstKey, kKeysTop - 2.6, kLastKey - kFirstKey, 2.6), QColor(0x8A, 0x14, 0x1C));
    lacquer(p, QRectF(0, kKeysBottom, kFrameW, 154 - kKeysBottom), 0.7);
    p.restore();
    for (const QRectF& cheek : {QRectF(4, 56, kFirstKey - 4, 96), QRectF(kLastKey, 56, kFrameW - 4 - kLastKey, 96)}) {
        QPainterPath block;
        block.addRoundedRect(cheek, 2.5, 2.5);
        p.save();
        p.setClipPath(block);
        lacquer(p, cheek, 0.8);
        p.restore();
        p.setPen(QPen(QColor(0x60, 0x60, 0x60, 120), 0.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(block);
    }

    drawWhiteKeys(p);
    // The shadow the fallboard casts on the back of the keys.
    QLinearGradient back(QPointF(0, kKeysTop), QPointF(0, kKeysTop + 6));
    back.setColorAt(0, QColor(0, 0, 0, 90));
    back.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(kFirstKey, kKeysTop, kLastKey - kFirstKey, 6), back);
    for (const PianoKey& key : kPianoKeys) {
        if (!key.black)
            continue;
        // A soft shadow of the black key on the white keys to its right and below.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 50));
        p.drawRoundedRect(blackKey(key).translated(1.0, 1.2), 1, 1);
        drawBlackKey(p, key, QColor(0x0C, 0x0B, 0x0B), QColor(0x34, 0x32, 0x31));
    }
    return image;
}

// Key n's overlay: that key lit in the mark colour, everything else transparent.
QImage keyOverlay(std::size_t index)
{
    QImage image(kBoardPictureWidth, kBoardPictureHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    frame(p);
    const PianoKey& key = kPianoKeys[index];
    const QColor mark = palette::mark();
    if (key.black) {
        drawBlackKey(p, key, mark.darker(190), mark.darker(115));
        return image;
    }
    QLinearGradient lit(QPointF(0, kKeysTop), QPointF(0, kKeysBottom));
    lit.setColorAt(0, mark.darker(120));
    lit.setColorAt(0.15, mark.lighter(118));
    lit.setColorAt(0.9, mark.lighter(130));
    lit.setColorAt(1, mark.darker(110));
    p.setPen(QPen(mark.darker(170), 0.45));
    p.setBrush(lit);
    p.drawPath(whiteKey(key));
    return image;
}

// ------------------------------------------------------------------------------------------------
// Side pictures, 200 x 346 units on warm paper like the other pages: the music desk with a sheet of
// music at the left, a grand piano seen from above with its lid open at the right.

QImage musicDesk()
{
    QImage image;
    QPainter p;
    sideCanvas(p, image);
    // The lacquered desk, leaning back, with its ledge.
    QPainterPath desk;
    desk.moveTo(18, 40);
    desk.lineTo(182, 40);
    desk.lineTo(192, 250);
    desk.lineTo(8, 250);
    desk.closeSubpath();
    softShadow(p, desk, QPointF(2, 5), 8, 0.1);
    p.save();
    p.setClipPath(desk);
    QLinearGradient g(QPointF(0, 40), QPointF(200, 250));
    g.setColorAt(0, QColor(0x30, 0x2E, 0x2E));
    g.setColorAt(0.3, QColor(0x10, 0x10, 0x10));
    g.setColorAt(0.55, QColor(0x26, 0x25, 0x25));
    g.setColorAt(1, QColor(0x08, 0x08, 0x08));
    p.fillRect(desk.boundingRect(), g);
    // Fretwork: a row of slim openings near the top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x02, 0x02, 0x02));
    for (int i = 0; i < 9; ++i)
        p.drawRoundedRect(QRectF(30 + i * 16, 52, 8, 26), 4, 4);
    p.restore();
    // The sheet of music on the ledge.
    const QRectF sheet(38, 96, 124, 150);
    QPainterPath sheetPath;
    sheetPath.addRect(sheet);
    softShadow(p, sheetPath, QPointF(1, 2), 4, 0.12);
    p.fillRect(sheet, QColor(0xFB, 0xF8, 0xF0));
    p.setPen(QPen(QColor(0x40, 0x3C, 0x38), 0.5));
    QRandomGenerator rng(21);
    for (int staff = 0; staff < 4; ++staff) {
        const double top = sheet.top() + 16 + staff * 34;
        for (int l = 0; l < 5; ++l)
            p.drawLine(QPointF(sheet.left() + 8, top + l * 3.4), QPointF(sheet.right() - 8, top + l * 3.4));
        p.setBrush(QColor(0x20, 0x1C, 0x18));
        for (int n = 0; n < 9; ++n) {
            const QPointF head(sheet.left() + 22 + n * 11.5, top + 1.7 * rng.bounded(9));
            p.save();
            p.translate(head);
            p.rotate(-20);
            p.drawEllipse(QPointF(0, 0), 2.1, 1.5);
            p.restore();
            p.drawLine(head + QPointF(1.9, 0), head + QPointF(1.9, -10));
        }
    }
    // The ledge.
    QRectF ledge(4, 246, 192, 9);
    lacquer(p, ledge);
    p.end();
    return image;
}

QImage grandPiano()
{
    QImage image;
    QPainter p;
    sideCanvas(p, image);
    // A grand piano seen from above, its lid open: the keyboard across the top, the case narrowing
    // along its curved side to the tail, the golden plate and the strings inside.
    QPainterPath caseOutline;
    caseOutline.moveTo(12, 24);
    caseOutline.lineTo(188, 24);
    caseOutline.lineTo(188, 118);
    caseOutline.cubicTo(188, 200, 120, 210, 104, 290);
    caseOutline.cubicTo(98, 322, 80, 340, 52, 340);
    caseOutline.lineTo(12, 340);
    caseOutline.closeSubpath();
    softShadow(p, caseOutline, QPointF(2.5, 5), 8, 0.1);
    p.save();
    p.setClipPath(caseOutline);
    lacquer(p, caseOutline.boundingRect());
    p.restore();
    // Inside the rim: the plate.
    QTransform inward;
    inward.translate(100, 182);
    inward.scale(0.9, 0.93);
    inward.translate(-100, -182);
    const QPainterPath plate = inward.map(caseOutline).intersected([] {
        QPainterPath below;
        below.addRect(QRectF(0, 62, 200, 300));
        return below;
    }());
    QLinearGradient gold(QPointF(0, 60), QPointF(200, 330));
    gold.setColorAt(0, QColor(0xE8, 0xCC, 0x80));
    gold.setColorAt(0.5, QColor(0xC4, 0x9A, 0x48));
    gold.setColorAt(1, QColor(0x8C, 0x66, 0x2A));
    p.setPen(QPen(QColor(0x5A, 0x40, 0x18), 0.6));
    p.setBrush(gold);
    p.drawPath(plate);
    p.save();
    p.setClipPath(plate);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3A, 0x24, 0x12));
    for (const QPointF& c : {QPointF(60, 150), QPointF(118, 150), QPointF(60, 230)})
        p.drawEllipse(c, 16, 26);
    // The strings run from the pins by the keyboard toward the tail, the bass strings in copper.
    for (int i = 0; i < 40; ++i) {
        const double x = 24 + i * 4.0;
        const QColor wire = i < 12 ? QColor(0xB8, 0x74, 0x3A) : QColor(0xE4, 0xE6, 0xE8);
        p.setPen(QPen(QColor(0, 0, 0, 60), 0.8));
        p.drawLine(QPointF(x + 0.4, 72), QPointF(x * 0.82 + 4.4, 345));
        p.setPen(QPen(wire, i < 12 ? 0.9 : 0.55));
        p.drawLine(QPointF(x, 72), QPointF(x * 0.82 + 4, 345));
    }
    p.restore();
    // The row of tuning pins and the dampers over the strings.
    for (int i = 0; i < 40; ++i)
        metalDisc(p, QPointF(24 + i * 4.0, 68 - (i % 2) * 3), 1.3);
    p.setPen(QPen(QColor(0x30, 0x2A, 0x24), 0.3));
    p.setBrush(QColor(0x24, 0x20, 0x1C));
    p.drawRoundedRect(QRectF(18, 84, 164, 7), 2, 2);
    // The keyboard across the top, seen from above: white keys with the black ones between.
    const QRectF keys(16, 27, 168, 28);
    p.fillRect(keys, QColor(0xF6, 0xF2, 0xE8));
    const int whites = 24;
    const double w = keys.width() / whites;
    p.setPen(QPen(QColor(0x5A, 0x54, 0x4A), 0.3));
    for (int k = 1; k < whites; ++k)
        p.drawLine(QPointF(keys.left() + k * w, keys.top()), QPointF(keys.left() + k * w, keys.bottom()));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x10, 0x10));
    for (int k = 0; k < whites - 1; ++k) {
        const int inOctave = k % 7;
        if (inOctave == 2 || inOctave == 6)
            continue;
        p.drawRect(QRectF(keys.left() + (k + 1) * w - w * 0.3, keys.top(), w * 0.6, keys.height() * 0.6));
    }
    p.end();
    return image;
}

} // namespace

IMAGEGEN_PRODUCER(drawPianoBoard)
{
    sink.save(QStringLiteral("Piano_0@2x.jpg"), keyboardPicture(), 93);
    // The overlays have no "@2x" name: they are drawn at the keyboard picture's size and scaled to
    // the board like it.
    for (std::size_t i = 0; i < kPianoKeyCount; ++i)
        sink.save(QStringLiteral("Piano_%1.png").arg(i + 1), keyOverlay(i));
}

IMAGEGEN_PRODUCER(drawPianoSidePictures)
{
    sink.save(QString::fromLatin1(RIRurud::FinderTables::kPiano.leftPicture).mid(2), musicDesk());
    sink.save(QString::fromLatin1(RIRurud::FinderTables::kPiano.rightPicture).mid(2), grandPiano());
}
