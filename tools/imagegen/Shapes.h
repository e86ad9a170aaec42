#pragma once

// Small shapes several groups of pictures draw.

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

namespace imagegen {

// A five-pointed star around `centre`, its points at `outer` and its notches at `inner`, one point
// straight up.
QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner);

// An ellipse around (cx, cy) with radii rx and ry.
QPainterPath ellipsePath(qreal cx, qreal cy, qreal rx, qreal ry);

// A rectangle with corners rounded by `radius`.
QPainterPath roundedRectPath(const QRectF& rect, qreal radius);

} // namespace imagegen
