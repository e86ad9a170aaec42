#pragma once

// Where the introduction slides draw the banjo's neck and the staff, in slide pixels at 1x (the
// "@2x" slides double every number). Shared with the test that reads the slides back and checks
// that every position shown is where the note really lies.

#include "RIRurud/BoardTables.h"
#include "RIRurud/StaffTables.h"

namespace imagegen {
namespace slides {

inline constexpr int kWidth = 960;
inline constexpr int kHeight = 600;

// A part of the board frame (800 x 194) stretched over a rectangle of the slide. The neck is drawn
// taller than the board picture is, so that strings and marks read at slide size.
struct NeckView
{
    double frameLeft, frameTop, frameRight, frameBottom;
    double left, top, width, height;

    constexpr double x(double frameX) const { return left + (frameX - frameLeft) * width / (frameRight - frameLeft); }
    constexpr double y(double frameY) const { return top + (frameY - frameTop) * height / (frameBottom - frameTop); }
};

// The neck of the slides that show positions (steps 3, 4 and 5).
inline constexpr NeckView kNeck{30, 54, 800, 124, 40, 320, 880, 146};
// Radius of a lit position's mark, in slide pixels.
inline constexpr double kMarkRadius = 8.5;

// The staff of steps 3 and 4, laid out as the banjo page's staff lays out its lines: line k lies at
// top + (k - translateLines) * lineHeight; the note's rectangle follows the staff's drawing rules.
struct StaffView
{
    double left, top, width, lineHeight;
    int translateLines;

    constexpr double lineY(int k) const { return top + (k - translateLines) * lineHeight; }
    constexpr double centreX() const { return left + width / 2; }
};

inline constexpr const RIRurud::StaffTables::Instrument* kBanjoStaff = RIRurud::StaffTables::find("banjo");
inline constexpr StaffView kStaff{230, 139.6, 480, 12.8, kBanjoStaff->layout.translateLines};

} // namespace slides
} // namespace imagegen
