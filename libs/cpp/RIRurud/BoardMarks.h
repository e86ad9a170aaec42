#pragma once

// Where, and how large, a hot spot's mark is drawn: plain C++ over BoardTables.h, so that the
// picture generator (which runs before the libraries are built), the board widgets and the tests
// place every mark by the same rule.
//
// A press anywhere on a mark must name the note it marks. A spot's box answers its note only where
// no box earlier in walk order covers it, and high up the neck, where the boxes of neighbouring
// frets overlap, that can be a column a few units wide. So a mark lies, with a margin, inside the
// cells of its box that answer its note. It is round, centred on its drawn string (within a
// quarter of its radius) near the spot's x, and as large as fits up to kLargestRadius (half a unit
// less where that keeps it nearer the string or the spot). Where the string runs so near the edge
// of the box that such a mark would be smaller than kRoundRadius, the mark may move off the string
// toward the middle of the box, as long as it still touches the string; where the answering cells
// are a narrow column, it is an upright oval as wide as the column allows.
//
// Where the column is so narrow (kBarColumns units or less on the string's own row) that a mark in
// the overlay pictures, scaled to the board's width, would be a pixel or two wide, the mark is a
// bar of whole cells instead (barCells): the board draws it itself, on exactly the screen pixels
// whose press lands in those cells, and the overlay pictures leave it out.

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
// A column of answering cells this many units wide or less gets a bar; it is kBarRows tall where
// the column allows.
inline constexpr int kBarColumns = 5;
inline constexpr int kBarRows = 8;

// The marks' red (0xRRGGBB), fully opaque.
inline constexpr unsigned kMarkColour = 0xE03C31;

// A mark: an ellipse centred at (x, y) in the frame, radii rx and ry (equal for a round mark), or a
// bar filling the cells x - rx .. x + rx, y - ry .. y + ry (whole frame units).
struct MarkPlace
{
    double x = 0;
    double y = 0;
    double rx = 0;
    double ry = 0;
    bool bar = false;
};

namespace detail {

// Whether a press on the frame cell (x, y) answers the note of spot `index`, inside that spot's box
// (the first box in walk order decides).
inline bool answers(const BoardTables::BoardTable& table, std::size_t index, int x, int y)
{
    const BoardTables::HotSpot& spot = table.spots[index];
    if (!BoardTables::inBox(spot.x, spot.y, x, y))
        return false;
    const int hit = BoardTables::firstHit(table, x, y);
    return hit >= 0 && BoardTables::sameNote(table.spots[hit].note, spot.note);
}

// The line a spot's string is drawn along (through the spot when the string has too few spots).
inline BoardTables::StringLine stringOf(const BoardTables::BoardTable& table, std::size_t index)
{
    const BoardTables::HotSpot& spot = table.spots[index];
    BoardTables::StringLine line;
    if (!BoardTables::stringLine(table, spot.string, &line))
        line = BoardTables::StringLine{double(spot.y), 0.0};
    return line;
}

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
            const bool next = i + 1 < AnsweringCells::kColumns && cells.runEnd[j][i + 1] > i;
            cells.runEnd[j][i] = !answers(table, index, cells.x0 + i, cells.y0 + j)
                ? i - 1
                : (next ? cells.runEnd[j][i + 1] : i);
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

// A bar's cells: columns left .. right - 1 and rows top .. bottom - 1 of the frame.
struct BarCells
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool isEmpty() const { return right <= left || bottom <= top; }
};

// The bar of spot `index` when the widest run of cells answering its note on its string's row of
// its box is at most kBarColumns wide: that run, grown a row at a time on whichever side keeps the
// string nearer its middle, as long as the whole run answers there, up to kBarRows. Empty for
// every other spot. Cheap enough (some dozens of walks of the table) for a board to ask it as it
// paints.
inline BarCells barCells(const BoardTables::BoardTable& table, std::size_t index)
{
    const BoardTables::HotSpot& spot = table.spots[index];
    const double y = detail::stringOf(table, index).yAt(spot.x);
    BarCells bar;
    bar.top = int(std::floor(y));
    bar.bottom = bar.top + 1;
    for (int x = spot.x - BoardTables::kBoxLeft; x <= spot.x + BoardTables::kBoxRight; ++x) {
        int end = x;
        while (detail::answers(table, index, end, bar.top)) {
            if (++end - x > kBarColumns)
                return BarCells{};
        }
        if (end - x > bar.right - bar.left) {
            bar.left = x;
            bar.right = end;
        }
        x = end;
    }
    if (bar.isEmpty())
        return BarCells{};
    // Grows the bar by a row above (up) or below, when the whole run answers there.
    const auto grow = [&](bool up) {
        const int row = up ? bar.top - 1 : bar.bottom;
        for (int x = bar.left; x < bar.right; ++x) {
            if (!detail::answers(table, index, x, row))
                return false;
        }
        (up ? bar.top : bar.bottom) = up ? row : row + 1;
        return true;
    };
    while (bar.bottom - bar.top < kBarRows) {
        const bool up = y - bar.top < bar.bottom - y;
        if (!grow(up) && !grow(!up))
            break;
    }
    return bar;
}

inline MarkPlace markPlace(const BoardTables::BoardTable& table, std::size_t index)
{
    const BarCells bar = barCells(table, index);
    if (!bar.isEmpty())
        return MarkPlace{(bar.left + bar.right) / 2.0, (bar.top + bar.bottom) / 2.0, (bar.right - bar.left) / 2.0,
                         (bar.bottom - bar.top) / 2.0, true};

    const BoardTables::HotSpot& spot = table.spots[index];
    const detail::AnsweringCells cells = detail::answeringCells(table, index);
    const BoardTables::StringLine line = detail::stringOf(table, index);

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
    // With no cell of the box answering the note, nothing to draw.
    return mark.rx > 0 ? mark : MarkPlace{double(spot.x), double(spot.y), 0, 0};
}

} // namespace BoardMarks
} // namespace RIRurud
