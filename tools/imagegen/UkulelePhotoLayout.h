#pragma once

// Where the ukulele's hand pictures draw the neck, in picture pixels: the head on the left, strings
// G, C, E and A from top to bottom. Shared with the test that reads the pictures back and checks
// that a finger stops the G string in the fret the chord asks for.

#include "RIRurud/ChordTables.h"

#include <cmath>

namespace imagegen {
namespace ukulelephoto {

inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;
inline constexpr double kNutX = 168;
inline constexpr double kNeckTop = 150;
inline constexpr double kNeckBottom = 430;
inline constexpr double kScale = 2250;   // the distance from the nut that halves a string

inline double fretX(int fret)
{
    return kNutX + kScale * (1 - std::pow(2.0, -fret / 12.0));
}

// String s, 0 the G string at the top.
inline double stringY(int s)
{
    const double inset = 34;
    return kNeckTop + inset + s * (kNeckBottom - kNeckTop - 2 * inset) / (RIRurud::ChordTables::kUkuleleStrings - 1);
}

} // namespace ukulelephoto
} // namespace imagegen
