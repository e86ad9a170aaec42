#pragma once

// Where the introduction slides draw the banjo's neck, the staff and the trainer's keys, in slide
// pixels at 1x (the "@2x" slides double every number). Shared with the test that reads the slides
// back and checks that every position shown is where the note really lies.

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
// Radius of a lit position's mark with its rim, in slide pixels.
inline constexpr double kMarkRadius = 11.5;

// The staff of steps 3 and 4, laid out as the banjo page's staff lays out its lines: line k lies at
// top + (k - translateLines) * lineHeight; the note's rectangle follows the staff's drawing rules.
struct StaffView
{
    double left, top, width, lineHeight;
    int translateLines;

    constexpr double lineY(int k) const { return top + (k - translateLines) * lineHeight; }
    constexpr double centreX() const { return left + width / 2; }
};

// The trainer's twelve keys of step 6, one octave: seven white keys in a row and the five black
// ones above, each half a key to the right of its white neighbour. `pitch` is a key with its gap.
struct KeysView
{
    double whiteLeft, whiteTop, blackTop, pitch;

    static constexpr bool isBlack(int semitone)
    {
        return semitone == 1 || semitone == 3 || semitone == 6 || semitone == 8 || semitone == 10;
    }
    // Column of the key of `semitone` (0 = C .. 11 = B) in white-key widths from the left.
    static constexpr double column(int semitone) { return semitone < 5 ? semitone / 2.0 : (semitone + 1) / 2.0; }
    constexpr double left(int semitone) const { return whiteLeft + column(semitone) * pitch; }
    constexpr double top(int semitone) const { return isBlack(semitone) ? blackTop : whiteTop; }
};

inline constexpr KeysView kKeys{kWidth / 2.0 - 64 * 3.5, 326, 256, 64};

inline constexpr const RIRurud::StaffTables::Instrument* kBanjoStaff = RIRurud::StaffTables::find("banjo");
inline constexpr StaffView kStaff{230, 139.6, 480, 12.8, kBanjoStaff->layout.translateLines};

} // namespace slides
} // namespace imagegen
