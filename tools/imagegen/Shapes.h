#pragma once

// Small shapes several groups of pictures draw.

#include <QLinearGradient>
#include <QPainterPath>
#include <QPen>
#include <QPointF>

class QPainter;

namespace imagegen {

// A five-pointed star around `centre`, its points at `outer` and its notches at `inner`, one point
// straight up.
QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner);

// A top-to-bottom gradient over r.
QLinearGradient verticalGradient(const QRectF& r, const QColor& top, const QColor& bottom);

// A pen with round caps and joins.
QPen roundedPen(const QColor& colour, qreal width);

// Antialiased shapes and text, drawn at the given scale (1 or 2).
void prepareScaled(QPainter& p, int scale);

} // namespace imagegen
