#pragma once

// The plain arithmetic of the fretted boards, shared by every board widget: mapping a widget
// point into the 800 x 194 board frame, the hot-spot box test and table walk, the screen pixels of
// the bars a board draws itself, and the search that training uses to keep one single position of
// an overlay.

#include "RIRurud/BoardMarks.h"
#include "RIRurud/BoardTables.h"

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QVector>

class QImage;

namespace RIRurud {
namespace BoardGeometry {

// Maps a widget point into the board frame: x * 800 / width, y * 194 / height, each in single
// precision (product first) and truncated toward zero. A widget of size 0 maps everything to 0.
QPoint toFrame(int x, int y, int width, int height);

// True when point lies in the 32 x 10 box of centre (x, y): x - 16 .. x + 15 and y - 5 .. y + 4,
// edges included.
bool isInBox(int x, int y, const QPoint& point);

// Walks the table in order and returns the note of the first spot whose box holds framePoint
// (as decided by isIn(x, y, point)), or an empty string when none does.
template <typename IsIn>
QString noteAt(const BoardTables::BoardTable& table, const QPoint& framePoint, IsIn isIn)
{
    for (std::size_t i = 0; i < table.spotCount; ++i) {
        const BoardTables::HotSpot& spot = table.spots[i];
        if (isIn(spot.x, spot.y, framePoint))
            return QString::fromLatin1(spot.note);
    }
    return QString();
}

// Same walk with the plain box test.
QString noteAt(const BoardTables::BoardTable& table, const QPoint& framePoint);

// The bars (BoardMarks::barCells) of the marked spots of a note (board form, "A5#").
QVector<BoardMarks::BarCells> barsOf(const BoardTables::BoardTable& table, const QString& note);

// The device pixels of a board `size` logical pixels large, drawn at `dpr` device pixels per
// logical pixel, whose press lands in the bar's cells: a press on device pixel (i, j) is taken at
// the logical pixel (i / dpr, j / dpr) rounded, as a mouse event's position is, and mapped by
// toFrame. As that mapping never goes back, they form one rectangle; empty when no pixel does.
QRect barPixels(const BoardMarks::BarCells& bar, const QSize& size, double dpr);

// An overlay pixel marks a position when its red or its blue exceeds 50 (alpha and green are not
// looked at).
bool isMarked(QRgb pixel);

// The column of a marked pixel near column `column`: every row in turn is walked leftwards from
// the column to 0 and its first marked pixel kept (the last row with a hit decides). When that
// finds nothing, or only column 0, the rows are walked rightwards from the column instead.
// Returns -1 when the image has no marked pixel on either side. Format_ARGB32, Format_RGB32 and
// Format_ARGB32_Premultiplied (judged by the straight colour) are read as they are; other formats
// are converted to Format_ARGB32 first.
int markedColumn(const QImage& image, int column);

// The columns that training keeps around a found column: from int(found - 40 * dpr) up to, not
// including, int(found + 40 * dpr), clipped to the image width (may come out empty).
struct Band
{
    int left = 0;
    int right = 0;   // exclusive
    bool isEmpty() const { return right <= left; }
};
Band bandAround(int found, double dpr, int imageWidth);

// Clears (to fully transparent) every column of the image outside the band.
void keepBand(QImage& image, const Band& band);

// The boards' random draws (the next training note, the position training shows) reseed the
// process-wide generator with the millisecond part of the time of day right before each draw, so
// two draws within one millisecond agree. Returns qrand() after the reseed.
int reseededRandom();

} // namespace BoardGeometry
} // namespace RIRurud

namespace RIRurud {
namespace BoardGeometry {

// The rectangles of an overlay that hold anything visible (alpha above 0), found on a grid of
// `cell`-pixel squares, neighbouring non-empty squares joined, each rectangle grown by `margin`
// transparent pixels and clipped to the image. Drawing only these rectangles draws the overlay.
QVector<QRect> visibleRegions(const QImage& image, int cell = 16, int margin = 2);

} // namespace BoardGeometry
} // namespace RIRurud
