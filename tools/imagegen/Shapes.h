#pragma once

// Small shapes several groups of pictures draw.

#include <QPainterPath>
#include <QPointF>

namespace imagegen {

// A five-pointed star around `centre`, its points at `outer` and its notches at `inner`, one point
// straight up.
QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner);

} // namespace imagegen
