#pragma once

// Materials the instrument pictures share (the fretted boards and the piano): wood with a grain,
// soft shadows, metal and pearl, and the dark felt the boards lie on. All draw in the painter's
// current units.

#include "RIRurud/BoardTables.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace imagegen {

// Every board picture and overlay: 2048 x 497 pixels for the boards' 800 x 194 frame.
inline constexpr int kBoardPictureWidth = RIRurud::BoardTables::kPictureWidth;
inline constexpr int kBoardPictureHeight = RIRurud::BoardTables::kPictureHeight;

// Fills `clip` with a gradient from `light` to `base` and thin wavy grain lines `lineSpacing` apart,
// running along x (horizontal) or along y.
void woodGrain(QPainter& p, const QPainterPath& clip, const QRectF& area, const QColor& base, const QColor& light,
               quint32 seed, double lineSpacing, bool horizontal = true);

// A soft shadow of `path`, moved by `offset`.
void softShadow(QPainter& p, const QPainterPath& path, const QPointF& offset, int layers = 6, double alpha = 0.10);

// A polished metal disc (tuner posts, screws, hooks).
void metalDisc(QPainter& p, const QPointF& c, double r);

// A mother-of-pearl dot (fret markers).
void pearlDot(QPainter& p, const QPointF& c, double r);

// A lit position on a board: a dark rim, a light ring, then the mark with a soft highlight, all in
// proportion and all inside the ellipse of radii rx, ry around c (a circle when they are equal).
void positionMark(QPainter& p, const QPointF& c, double rx, double ry);

// The dark felt every board lies on, with a faint texture and vignette.
void feltBackground(QPainter& p, const QRectF& area);

// Side pictures (the details beside a page's staff): kSidePictureWidth x kSidePictureHeight pixels,
// drawn in units of a picture 200 wide. sideCanvas makes the image, begins `p` on it scaled to those
// units and lays the warm paper with its vignette.
inline constexpr int kSidePictureWidth = 520;
inline constexpr int kSidePictureHeight = 900;
void sideCanvas(QPainter& p, QImage& image);

} // namespace imagegen
