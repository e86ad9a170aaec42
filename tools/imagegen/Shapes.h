#pragma once

// Small shapes several groups of pictures draw.

#include <QColor>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace imagegen {

// `c` with the given alpha (0 to 255).
inline QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// A gradient from `top` to `bottom` down `r`, and a pen with round caps and joins.
QLinearGradient verticalGradient(const QRectF& r, const QColor& top, const QColor& bottom);
QPen roundCapPen(const QColor& colour, qreal width);

// A five-pointed star around `centre`, its points at `outer` and its notches at `inner`, one point
// straight up.
QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner);

// The program's one picture of itself: a note on a short staff (drawStaffMark), on a rounded teal
// tile (drawAppTile, the application icon), and that tile on a soft halo with the program's name
// below (drawAppLogo, the About box and the first introduction slide). Each fills `box`, a square.
void drawStaffMark(QPainter& p, const QRectF& box, const QColor& ink);
void drawAppTile(QPainter& p, const QRectF& box);
void drawAppLogo(QPainter& p, const QRectF& box);

// The staff's pictures, each painted into its own picture space (RIRurud::StaffTables::Drawing):
// the treble and bass clefs into a kClefPictureSide square, the note head into kNotePictureWidth x
// kNotePictureHeight. The staff stretches them over rectangles measured in line heights; whoever
// draws a staff as the staff widget does scales the painter the same way.
void paintTrebleClefPicture(QPainter& p);
void paintBassClefPicture(QPainter& p);
void paintNotePicture(QPainter& p);

// Antialiased shapes and text, drawn at the given scale (1 or 2).
void prepareScaled(QPainter& p, int scale);

// An ellipse around (cx, cy) with radii rx and ry.
QPainterPath ellipsePath(qreal cx, qreal cy, qreal rx, qreal ry);

// A rectangle with corners rounded by `radius`.
QPainterPath roundedRectPath(const QRectF& rect, qreal radius);

} // namespace imagegen
