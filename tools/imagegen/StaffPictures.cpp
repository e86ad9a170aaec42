// The staff's pictures: the treble clef (":/violinkey.png"), the bass clef (":/basskey.png") and
// the note head (":/note.png"), from the music glyphs of FreeSerif. The staff draws each picture
// into a fixed rectangle measured in line heights (RIRurud::StaffTables::Drawing); the glyphs are
// placed in those rectangles so that the treble clef's spiral lies on the G line, the bass clef's
// head and dots on the F line, and the note head fills exactly one space, centred on the staff.
#include "ImageSink.h"
#include "Palette.h"

#include "RIRurud/StaffTables.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

using namespace imagegen;
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

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Draws a glyph scaled so that its bounding box's anchor fraction lands on anchorY and one of its
// spaces measures spacePx; its left edge at left.
void drawClef(QImage& image, uint codePoint, qreal spacesHigh, qreal anchorFromTop, qreal spacePx,
              qreal anchorY, qreal left)
{
    const QPainterPath path = glyphPath(codePoint);
    const QRectF box = path.boundingRect();
    const qreal scale = spacePx * spacesHigh / box.height();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(left, anchorY);
    p.scale(scale, scale);
    p.translate(-box.left(), -(box.top() + anchorFromTop * box.height()));
    p.fillPath(path, Qt::black);
}

IMAGEGEN_PRODUCER(drawStaffPictures)
{
    const int side = drawing::kClefPictureSide;

    // Treble clef: eight line heights high, anchored on line 13.
    {
        const qreal space = qreal(side) / drawing::kTrebleClefLines;
        const qreal anchor = (drawing::kTrebleClefAnchorLine - drawing::kTrebleClefTopLine) * space;
        QImage image = blank(side, side);
        drawClef(image, kTrebleClefGlyph, kTrebleSpacesHigh, kTrebleAnchorFromTop, space, anchor,
                 0.3 * space);
        sink.save(QStringLiteral("violinkey.png"), image);
    }

    // Bass clef: four line heights high, from its top line, anchored on line 17.
    {
        const qreal space = qreal(side) / drawing::kBassClefLines;
        const qreal anchor = (drawing::kBassClefAnchorLine - drawing::kBassClefTopLine) * space;
        QImage image = blank(side, side);
        drawClef(image, kBassClefGlyph, kBassSpacesHigh, kBassAnchorFromTop, space * kBassShrink,
                 anchor, 0.15 * space);
        sink.save(QStringLiteral("basskey.png"), image);
    }

    // Note head: the staff stretches this picture over a rectangle kNoteWidthFactor line heights
    // wide and one high, whose centre lies a little right of the staff's centre. The whole-note
    // glyph is drawn with that stretch undone, one space high less a hair so that it sits between
    // two lines, and centred on the staff's centre.
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
        QImage image = blank(w, h);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(centreX, h / 2.0);
        p.scale(headWide * pxPerLineX / box.width(), headHigh * pxPerLineY / box.height());
        p.translate(-box.center());
        p.fillPath(path, Qt::black);
        p.end();
        sink.save(QStringLiteral("note.png"), image);
    }
}

} // namespace
