#pragma once

// Drawings of the application's own faces (AppPictures.cpp) that the introduction slides reuse, so
// that a slide shows the very buttons, keys and papers the window shows.

#include <QColor>
#include <QRectF>

class QPainter;

namespace imagegen {
namespace faces {

enum class Instrument { Banjo, Balalaika, Guitar, Bass, Ukulele, Violin, Mandolin };
enum class TileState { Normal, Hover, Checked };
enum class KeyState { Normal, Hover, Disabled };

QColor mix(const QColor& a, const QColor& b, qreal t);

// The instrument upright in `box`, turned by `angle` degrees.
void drawInstrument(QPainter& p, Instrument which, const QRectF& box, qreal angle, bool vivid = true);
// An instrument column button (64 x 64 units in `r`).
void drawItemTile(QPainter& p, const QRectF& r, Instrument which, TileState state);
// Staff paper over `r`.
void drawPaper(QPainter& p, const QRectF& r, const QColor& tint, quint32 seed);
// The trainer's answer key (44 x 44), its round start button (64 x 64), a half of the board's
// two-part switch (96 x 32) and an accidental button (32 x 32), each at the origin.
void drawKey(QPainter& p, bool black, KeyState state);
void drawRound(QPainter& p, bool checked);
void drawDual(QPainter& p, bool left, bool checked);
void drawAccidental(QPainter& p, QChar sign, bool framed);

} // namespace faces
} // namespace imagegen
