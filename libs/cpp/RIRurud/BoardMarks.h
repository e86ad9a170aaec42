#pragma once

// Where, and how large, the overlays draw the mark of a hot spot: plain C++ over BoardTables.h, so
// that the picture generator (which runs before the libraries are built) and the tests place every
// mark by the same rule.
//
// A press anywhere on a mark must name the note it marks. A spot's box answers its note only where
// no box earlier in walk order covers it, and high up the neck, where the boxes of neighbouring
// frets overlap, that can be a column a few units wide. So a mark lies, with a margin, inside the
// cells of its box that answer its note. It is round, centred on its drawn string (within a
// quarter of its radius) near the spot's x, and as large as fits up to kLargestRadius (half a unit
// less where that keeps it nearer the string or the spot). Where the string runs so near the edge
// of the box that such a mark would be smaller than kRoundRadius, the mark may move off the string
// toward the middle of the box, as long as it still touches the string; where the answering cells
// are a narrow column, it is an upright oval as wide as the column allows, and where that oval
// would be too narrow for a rim and a ring, a crisp bar on whole pixels of the overlay, which needs
// smaller margins and so fills more of the column.

#include "RIRurud/BoardTables.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace RIRurud {
namespace BoardMarks {

// How far a mark keeps inside the answering cells (frame units). A press is taken at a whole
// logical pixel (at a pixel ratio of 2 the half pixels round up) and maps down to a whole frame
// unit, and the overlay is drawn smoothly scaled, which lets a mark's outermost pixel show up to
// about 0.6 units beyond it. On a board 800 pixels or wider, at a pixel ratio of 1 or 2, a mark
// these margins inside its cells answers its note on every pixel it changes.
inline constexpr double kLeadingMargin = 1.2;    // left and top
inline constexpr double kTrailingMargin = 0.95;  // right and bottom

// The largest mark's radius: about ten pixels across on a board 1200 pixels wide.
inline constexpr double kLargestRadius = 3.5;
// A round mark smaller than this moves off its string, or becomes an oval, if that makes it larger.
inline constexpr double kRoundRadius = 2.7;
// A mark keeps this far from a fret wire, so that it never seems to lie on the next fret.
inline constexpr double kWireClearance = 2.0;
// An oval narrower than twice this has no room for a rim and a ring round a red that shows: it
// becomes a bar.
inline constexpr double kBarRadius = 1.5;

// A bar is fully opaque on whole pixels of the overlay, with crisp edges, so its margins (frame
// units) cover only what the board adds. On a board 800 pixels or wider a screen pixel is at most a
// unit; a press names the cell under a point up to 2/3 of a screen pixel left of or above the
// pressed pixel's centre (at a pixel ratio of 1.5; half a pixel at 1), or a quarter of one right of
// or below it (at 2, where half pixels round up); and the smoothly scaled overlay changes the
// screen pixels whose centre lies less than half an overlay pixel outside the bar.
inline constexpr double kBarLead = 2.0 / 3;
inline constexpr double kBarTrail = 0.25;

// A mark: an ellipse centred at (x, y) in the frame, radii rx and ry (equal for a round mark), or a
// bar filling the rectangle x - rx .. x + rx, y - ry .. y + ry, whose edges lie between pixels of
// the overlay.
struct MarkPlace
{
    double x = 0;
    double y = 0;
    double rx = 0;
    double ry = 0;
    bool bar = false;
};

namespace detail {

// The cells of one spot's box, cell (i, j) being the frame square from (x0 + i, y0 + j), and
// whether a press there answers the spot's note (the first box in walk order decides).
struct AnsweringCells
{
    static constexpr int kColumns = BoardTables::kBoxLeft + BoardTables::kBoxRight + 1;
    static constexpr int kRows = BoardTables::kBoxTop + BoardTables::kBoxBottom + 1;
    int x0 = 0;
    int y0 = 0;
    // Per row, for each column, the last column of the run of answering cells that starts there
    // (one less than the column when the cell itself does not answer).
    int runEnd[kRows][kColumns] = {};

    // Whether every cell from column x0 + first to x0 + last of row y0 + row answers.
    bool answers(int row, int first, int last) const
    {
        return row >= 0 && row < kRows && first >= 0 && last < kColumns && runEnd[row][first] >= last;
    }
};

inline AnsweringCells answeringCells(const BoardTables::BoardTable& table, std::size_t index)
{
    const BoardTables::HotSpot& spot = table.spots[index];
    AnsweringCells cells;
    cells.x0 = spot.x - BoardTables::kBoxLeft;
    cells.y0 = spot.y - BoardTables::kBoxTop;
    for (int j = 0; j < AnsweringCells::kRows; ++j) {
        for (int i = AnsweringCells::kColumns - 1; i >= 0; --i) {
            const int hit = BoardTables::firstHit(table, cells.x0 + i, cells.y0 + j);
            const bool answers = hit >= 0 && BoardTables::sameNote(table.spots[hit].note, spot.note);
            const bool next = i + 1 < AnsweringCells::kColumns && cells.runEnd[j][i + 1] > i;
            cells.runEnd[j][i] = !answers ? i - 1 : (next ? cells.runEnd[j][i + 1] : i);
        }
    }
    return cells;
}

// Whether the ellipse at (x, y) with radii rx, ry, grown by the margins, covers answering cells only.
inline bool fits(const AnsweringCells& cells, double x, double y, double rx, double ry)
{
    const int firstRow = int(std::floor(y - ry - kLeadingMargin));
    const int lastRow = int(std::floor(y + ry + kTrailingMargin));
    for (int row = firstRow; row <= lastRow; ++row) {
        // The part of the ellipse whose grown margin reaches into this row of cells.
        const double top = row - kTrailingMargin;
        const double bottom = row + 1 + kLeadingMargin;
        if (top >= y + ry || bottom <= y - ry)
            continue;
        const double d = y < top ? top - y : (y > bottom ? y - bottom : 0.0);
        const double halfWidth = d >= ry ? 0.0 : rx * std::sqrt(1.0 - (d / ry) * (d / ry));
        const int first = int(std::floor(x - halfWidth - kLeadingMargin));
        const int last = int(std::ceil(x + halfWidth + kTrailingMargin)) - 1;
        if (!cells.answers(row - cells.y0, first - cells.x0, last - cells.x0))
            return false;
    }
    return true;
}

// The overlay's pixels per frame unit.
inline constexpr double kPixelsX = double(BoardTables::kPictureWidth) / BoardTables::kFrameWidth;
inline constexpr double kPixelsY = double(BoardTables::kPictureHeight) / BoardTables::kFrameHeight;

// Whether a bar over the overlay's pixel columns i0..i1 and rows j0..j1 covers answering cells only.
inline bool barFits(const AnsweringCells& cells, int i0, int i1, int j0, int j1)
{
    const int first = int(std::floor((i0 - 0.5) / kPixelsX - kBarLead));
    const int last = int(std::ceil((i1 + 1.5) / kPixelsX + kBarTrail)) - 1;
    const int end = int(std::ceil((j1 + 1.5) / kPixelsY + kBarTrail));
    for (int row = int(std::floor((j0 - 0.5) / kPixelsY - kBarLead)); row < end; ++row) {
        if (!cells.answers(row - cells.y0, first - cells.x0, last - cells.x0))
            return false;
    }
    return true;
}

// The largest bar that grows from the overlay pixel under (x, y), first along its row, then up and
// down; radii 0 when not even that pixel fits.
inline MarkPlace bar(const AnsweringCells& cells, double x, double y)
{
    int i0 = int(x * kPixelsX), i1 = i0, j0 = int(y * kPixelsY), j1 = j0;
    if (!barFits(cells, i0, i1, j0, j1))
        return MarkPlace{x, y, 0, 0};
    while (barFits(cells, i0 - 1, i1, j0, j1))
        --i0;
    while (barFits(cells, i0, i1 + 1, j0, j1))
        ++i1;
    while (barFits(cells, i0, i1, j0 - 1, j1))
        --j0;
    while (barFits(cells, i0, i1, j0, j1 + 1))
        ++j1;
    return MarkPlace{(i0 + i1 + 1) / (2 * kPixelsX), (j0 + j1 + 1) / (2 * kPixelsY), (i1 + 1 - i0) / (2 * kPixelsX),
                     (j1 + 1 - j0) / (2 * kPixelsY), true};
}

// The largest value v in [from, limit] for which ok(v) holds, assuming ok holds for every smaller
// one down to `from`; 0 when ok(from) fails.
template <typename Ok>
double largest(double from, double limit, Ok ok)
{
    if (from > limit || !ok(from))
        return 0.0;
    if (ok(limit))
        return limit;
    double lo = from, hi = limit;
    for (int k = 0; k < 10; ++k) {
        const double mid = (lo + hi) / 2;
        (ok(mid) ? lo : hi) = mid;
    }
    return lo;
}

} // namespace detail

inline MarkPlace markPlace(const BoardTables::BoardTable& table, std::size_t index)
{
    const BoardTables::HotSpot& spot = table.spots[index];
    const detail::AnsweringCells cells = detail::answeringCells(table, index);
    BoardTables::StringLine line;
    if (!BoardTables::stringLine(table, spot.string, &line))
        line = BoardTables::StringLine{double(spot.y), 0.0};

    // The centre stays in the box and, on the fingerboard, between the wires of the spot's fret.
    double lo = spot.x - BoardTables::kBoxLeft;
    double hi = spot.x + BoardTables::kBoxRight;
    const double nut = BoardTables::fretWireX(table, 0);
    const double last = BoardTables::fretWireX(table, table.fretSpotCount - 1);
    for (std::size_t k = 0; spot.x > nut && spot.x < last && k + 1 < table.fretSpotCount; ++k) {
        const double a = BoardTables::fretWireX(table, k);
        const double b = BoardTables::fretWireX(table, k + 1);
        if (spot.x >= a && spot.x <= b) {
            lo = std::max(lo, a + kWireClearance);
            hi = std::min(hi, b - kWireClearance);
        }
    }

    // A candidate centre lies `off` units below the string, `dx` from the spot's x. Its cost grows
    // with both distances, a unit off the string weighing as much as 25 units along it.
    struct Candidate
    {
        MarkPlace place;
        double off = 0;
        double cost = 0;
        double across = 0;   // the room the box leaves above and below the centre, less the margins
        double along = 0;    // and to the left and right
        double size = 0;
    };
    const auto candidates = [&](double furthestOff) {
        std::vector<Candidate> all;
        const int offs = int(furthestOff / 0.1 + 0.5);
        for (int o = -offs; o <= offs; ++o) {
            for (int a = int(std::ceil((lo - spot.x) / 0.5)); a * 0.5 <= hi - spot.x; ++a) {
                Candidate c;
                c.off = o * 0.1;
                c.place.x = spot.x + a * 0.5;
                c.place.y = line.yAt(c.place.x) + c.off;
                c.cost = 2.5 * std::fabs(c.off) + 0.1 * std::fabs(a * 0.5);
                c.across = std::min(c.place.y - cells.y0 - kLeadingMargin,
                                    cells.y0 + BoardTables::kBoxTop + BoardTables::kBoxBottom + 1 - kTrailingMargin
                                        - c.place.y);
                c.along = std::min(c.place.x - cells.x0 - kLeadingMargin,
                                   cells.x0 + BoardTables::kBoxLeft + BoardTables::kBoxRight + 1 - kTrailingMargin
                                       - c.place.x);
                all.push_back(c);
            }
        }
        std::stable_sort(all.begin(), all.end(),
                         [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
        return all;
    };
    // Of the marks `shape` makes (sizes above `cap` counting as `cap`), those within `slack` of
    // the largest, and of them the cheapest. shape(place, off) fills in the radii and returns the
    // size (0 when no mark fits there); bound(candidate) is a size no mark there can exceed.
    const auto choose = [&](std::vector<Candidate> all, double cap, double slack, auto bound, auto shape) {
        // Walked from the cheapest: once no dearer candidate can outgrow the cheapest good one by
        // more than the slack, that one is the answer.
        std::vector<double> dearerBound(all.size() + 1, 0.0);
        for (std::size_t i = all.size(); i-- > 0;)
            dearerBound[i] = std::max(dearerBound[i + 1], std::min(cap, bound(all[i])));
        double largestSize = 0;
        std::size_t answer = all.size();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (answer < all.size() && dearerBound[i] <= all[answer].size + slack)
                break;
            if (dearerBound[i] <= 0)
                break;
            Candidate& c = all[i];
            c.size = std::min(bound(c), cap) > 0 ? std::min(cap, shape(c.place, std::fabs(c.off))) : 0.0;
            if (c.size > largestSize) {
                largestSize = c.size;
                answer = all.size();
                for (std::size_t k = 0; k <= i && answer == all.size(); ++k)
                    answer = all[k].size > 0 && all[k].size >= largestSize - slack ? k : all.size();
            }
        }
        if (answer == all.size())
            return MarkPlace{};
        // The grid is half a unit: a narrow mark may grow a little within it.
        Candidate best = all[answer];
        for (int k = 1; k <= 20 && best.size < cap; ++k) {
            Candidate c = all[answer];
            c.place.x += (k % 2 ? 1 : -1) * ((k + 1) / 2) * 0.05;
            c.place.y = line.yAt(c.place.x) + c.off;
            if (c.place.x < lo || c.place.x > hi)
                continue;
            c.size = std::min(cap, shape(c.place, std::fabs(c.off)));
            if (c.size > best.size)
                best = c;
        }
        return best.place;
    };
    const auto fitsRound = [&](const MarkPlace& p, double r) { return detail::fits(cells, p.x, p.y, r, r); };
    const auto sizeOf = [](const MarkPlace& p) { return std::sqrt(p.rx * p.ry); };

    // A round mark with the string crossing its middle: the centre within a quarter of the radius
    // of it.
    const auto roundBound = [](const Candidate& c) { return std::min(c.across, c.along); };
    const auto ovalBound = [](const Candidate& c) { return c.along > 0 ? c.across : 0.0; };
    const auto centredRound = [&](MarkPlace& p, double off) {
        p.rx = p.ry = detail::largest(std::max(4 * off, 0.05), kLargestRadius,
                                      [&](double r) { return fitsRound(p, r); });
        return p.rx;
    };
    const MarkPlace centred = choose(candidates(kLargestRadius / 4), kLargestRadius, 0.5, roundBound, centredRound);
    if (centred.rx >= kRoundRadius)
        return centred;

    // Too little room for that: the mark may lie further off the string, as long as it still
    // touches the drawn string (about a unit wide), and be an upright oval where the cells that
    // answer are a narrow column; as near the string as a mark of kRoundRadius allows, or the
    // largest there is.
    const auto touchingRoundOrOval = [&](MarkPlace& p, double off) {
        const double from = std::max(off - 0.5, 0.05);
        MarkPlace oval = p;
        oval.ry = detail::largest(from, kLargestRadius,
                                  [&](double r) { return detail::fits(cells, p.x, p.y, 0.05, r); });
        oval.rx = detail::largest(0.05, oval.ry,
                                  [&](double r) { return detail::fits(cells, p.x, p.y, r, oval.ry); });
        p.rx = p.ry = detail::largest(from, kLargestRadius, [&](double r) { return fitsRound(p, r); });
        if (sizeOf(oval) > sizeOf(p))
            p = oval;
        return sizeOf(p);
    };
    const MarkPlace small = choose(candidates(kLargestRadius), kRoundRadius, 0.05, ovalBound, touchingRoundOrOval);
    const MarkPlace mark = sizeOf(small) > sizeOf(centred) ? small : centred;
    if (mark.rx > 0 && mark.rx < kBarRadius) {
        const MarkPlace bar = detail::bar(cells, mark.x, mark.y);
        if (bar.rx > 0)
            return bar;
    }
    // With no cell of the box answering the note, nothing to draw.
    return mark.rx > 0 ? mark : MarkPlace{double(spot.x), double(spot.y), 0, 0};
}

} // namespace BoardMarks
} // namespace RIRurud
