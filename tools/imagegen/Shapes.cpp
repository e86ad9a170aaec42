#include "Shapes.h"

#include "Palette.h"

#include "RIRurud/StaffTables.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

namespace imagegen {

namespace pal = palette;

QLinearGradient verticalGradient(const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QPen roundCapPen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const qreal r = (i % 2) ? inner : outer;
        const QPointF pt(centre.x() + r * qCos(angle), centre.y() + r * qSin(angle));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

// A note on a short staff: the picture of the program, drawn into a square.
void drawStaffMark(QPainter& p, const QRectF& box, const QColor& ink)
{
    const qreal u = box.width() / 100.0;
    const qreal left = box.left() + 14 * u, right = box.right() - 14 * u;
    const qreal gap = 9 * u;
    const qreal top = box.top() + 32 * u;
    p.setPen(roundCapPen(QColor(ink.red(), ink.green(), ink.blue(), 150), qMax(1.0, 2.2 * u)));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(left, top + i * gap), QPointF(right, top + i * gap));
    // A quaver: tilted head on the second space from below, stem and flag.
    const QPointF head(box.left() + 44 * u, top + 3.5 * gap);
    p.save();
    p.translate(head);
    p.rotate(-22);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(0, 0), 10.5 * u, 7.5 * u);
    p.restore();
    const qreal stemX = head.x() + 9.4 * u;
    const qreal stemTop = box.top() + 14 * u;
    p.setPen(roundCapPen(ink, 3.2 * u));
    p.drawLine(QPointF(stemX, head.y() - 2 * u), QPointF(stemX, stemTop));
    QPainterPath flag;
    flag.moveTo(stemX, stemTop);
    flag.cubicTo(stemX + 4 * u, stemTop + 12 * u, stemX + 22 * u, stemTop + 14 * u, stemX + 16 * u, stemTop + 32 * u);
    flag.cubicTo(stemX + 17 * u, stemTop + 20 * u, stemX + 6 * u, stemTop + 16 * u, stemX, stemTop + 14 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(flag);
    // A fret dot beside the note: where the note lies on the instrument.
    p.setBrush(pal::warm());
    p.drawEllipse(QPointF(box.left() + 76 * u, top + 2.5 * gap), 6 * u, 6 * u);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QPointF(box.left() + 74.5 * u, top + 2.5 * gap - 1.8 * u), 2.2 * u, 2.2 * u);
}

// The rounded teal tile of the application icon and the logo.
void drawAppTile(QPainter& p, const QRectF& box)
{
    const qreal u = box.width() / 100.0;
    const QRectF tile = box.adjusted(4 * u, 3 * u, -4 * u, -5 * u);
    const qreal radius = 20 * u;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(tile.translated(0, 2 * u), radius, radius);
    p.setBrush(verticalGradient(tile, pal::accentLight(), pal::accentDark()));
    p.drawRoundedRect(tile, radius, radius);
    // Soft sheen on the upper half.
    QLinearGradient sheen(tile.topLeft(), QPointF(tile.left(), tile.center().y()));
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(sheen);
    p.drawRoundedRect(tile.adjusted(2 * u, 2 * u, -2 * u, -tile.height() / 2), radius - 2 * u, radius - 2 * u);
    p.setPen(QPen(QColor(255, 255, 255, 60), qMax(1.0, 1.2 * u)));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(0.6 * u, 0.6 * u, -0.6 * u, -0.6 * u), radius, radius);
    drawStaffMark(p, tile.adjusted(4 * u, 4 * u, -4 * u, -4 * u), pal::paper());
}

void drawAppLogo(QPainter& p, const QRectF& box)
{
    const qreal size = box.width();
    p.save();
    p.translate(box.topLeft());
    QRadialGradient halo(QPointF(size / 2.0, size * 0.42), size * 0.5);
    halo.setColorAt(0, QColor(pal::accentLight().red(), pal::accentLight().green(), pal::accentLight().blue(), 90));
    halo.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(size / 2.0, size * 0.42), size * 0.5, size * 0.5);
    const qreal tile = size * 0.62;
    drawAppTile(p, QRectF((size - tile) / 2, size * 0.08, tile, tile));
    p.setFont(pal::textFont(size * 0.105, QFont::Bold));
    const QRectF nameBox(0, size * 0.74, size, size * 0.14);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(nameBox.translated(0, 1.5), Qt::AlignCenter, QStringLiteral("TonarixLite"));
    p.setPen(pal::paper());
    p.drawText(nameBox, Qt::AlignCenter, QStringLiteral("TonarixLite"));
    p.setFont(pal::textFont(size * 0.048));
    p.setPen(pal::accentLight().lighter(130));
    p.drawText(QRectF(0, size * 0.87, size, size * 0.08), Qt::AlignCenter, QStringLiteral("notes on the fingerboard"));
    p.restore();
}

// ---- the staff's pictures ----

namespace {

namespace drawing = RIRurud::StaffTables::Drawing;

constexpr uint kTrebleClefGlyph = 0x1D11E;
constexpr uint kBassClefGlyph = 0x1D122;
constexpr uint kWholeNoteGlyph = 0x1D15D;

// FreeSerif's clefs, measured in units of their own bounding box: the staff space they are drawn
// for, and where their anchor line runs, as fractions of the box's height from its top.
constexpr qreal kTrebleSpacesHigh = 7.02;      // the clef spans seven spaces
constexpr qreal kTrebleAnchorFromTop = 0.615;  // the spiral's centre
constexpr qreal kBassSpacesHigh = 3.59;
constexpr qreal kBassAnchorFromTop = 0.30;     // between the two dots, through the head
// The bass clef rises a little above the staff's top line, which is the top of its picture; it
// is drawn slightly smaller than a staff space so that nothing is cut off.
constexpr qreal kBassShrink = 0.9;

QPainterPath glyphPath(uint codePoint)
{
    QFont font(palette::musicFamily());
    font.setPixelSize(1000);
    font.setStyleStrategy(QFont::PreferAntialias);
    QPainterPath path;
    path.addText(0, 0, font, QString::fromUcs4(&codePoint, 1));
    return path;
}

// Draws a glyph scaled so that its bounding box's anchor fraction lands on anchorY and one of its
// spaces measures spacePx; its left edge at left.
void drawClef(QPainter& p, uint codePoint, qreal spacesHigh, qreal anchorFromTop, qreal spacePx, qreal anchorY,
              qreal left)
{
    const QPainterPath path = glyphPath(codePoint);
    const QRectF box = path.boundingRect();
    const qreal scale = spacePx * spacesHigh / box.height();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(left, anchorY);
    p.scale(scale, scale);
    p.translate(-box.left(), -(box.top() + anchorFromTop * box.height()));
    p.fillPath(path, Qt::black);
    p.restore();
}

} // namespace

// Treble clef: eight line heights high, anchored on line 13.
void paintTrebleClefPicture(QPainter& p)
{
    const qreal space = qreal(drawing::kClefPictureSide) / drawing::kTrebleClefLines;
    const qreal anchor = (drawing::kTrebleClefAnchorLine - drawing::kTrebleClefTopLine) * space;
    drawClef(p, kTrebleClefGlyph, kTrebleSpacesHigh, kTrebleAnchorFromTop, space, anchor, 0.3 * space);
}

// Bass clef: four line heights high, from its top line, anchored on line 17.
void paintBassClefPicture(QPainter& p)
{
    const qreal space = qreal(drawing::kClefPictureSide) / drawing::kBassClefLines;
    const qreal anchor = (drawing::kBassClefAnchorLine - drawing::kBassClefTopLine) * space;
    drawClef(p, kBassClefGlyph, kBassSpacesHigh, kBassAnchorFromTop, space * kBassShrink, anchor, 0.15 * space);
}

// Note head: the staff stretches this picture over a rectangle kNoteWidthFactor line heights wide
// and one high, whose centre lies a little right of the staff's centre. The whole-note glyph is
// drawn with that stretch undone, one space high less a hair so that it sits between two lines,
// and centred on the staff's centre.
void paintNotePicture(QPainter& p)
{
    const int w = drawing::kNotePictureWidth;
    const int h = drawing::kNotePictureHeight;
    const qreal pxPerLineX = w / qreal(drawing::kNoteWidthFactor);   // picture pixels per lh
    const qreal pxPerLineY = h;
    const qreal headHigh = 0.96;                                      // in lh
    const QPainterPath path = glyphPath(kWholeNoteGlyph);
    const QRectF box = path.boundingRect();
    const qreal headWide = headHigh * box.width() / box.height();     // keep the glyph's shape
    const qreal centreX = drawing::kNoteLeftFactor * pxPerLineX;      // the staff's centre
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(centreX, h / 2.0);
    p.scale(headWide * pxPerLineX / box.width(), headHigh * pxPerLineY / box.height());
    p.translate(-box.center());
    p.fillPath(path, Qt::black);
    p.restore();
}

void prepareScaled(QPainter& p, int scale)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
}

QPainterPath ellipsePath(qreal cx, qreal cy, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    return path;
}

QPainterPath roundedRectPath(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace imagegen
