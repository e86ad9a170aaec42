#pragma once

// The staff's arithmetic, apart from the widget: line spacing, the half-line under a pointer row,
// the note of a half-line and back, the rows of the position map. All in single precision, with
// truncation toward zero where the staff truncates.
//
// Half-line p counts lines and spaces from the top of the paper: an even p is line p / 2, an odd p
// the space below line (p - 1) / 2. A note of letter index i in octave o sits on p = 58 - 7o - i,
// so middle C is half-line 30 (line 15); the treble staff is lines 10 to 14, the bass staff 16 to 20.

#include "RIRurud/StaffTables.h"

#include <QMap>
#include <QString>

namespace RIRurud {
namespace StaffGeometry {

inline constexpr int kC4HalfLine = 30;
inline constexpr int kTrebleFirstLine = 10;
inline constexpr int kTrebleLastLine = 14;
inline constexpr int kBassFirstLine = 16;
inline constexpr int kBassLastLine = 20;
inline constexpr int kNoHalfLine = -1000;   // halfLineOf() of a name that is not a note

// Line height: height * factor / lines.
float lineHeight(int height, float paperHeightFactor, int lines);

// Row of line k: k * lh - T * lh.
float lineY(int k, float lh, int translateLines);

// Half-line under pointer row y: trunc((y + T * lh) / (lh * 0.5)). The note snaps to the half-line
// whose centre lies at or above the pointer.
int halfLineAt(int y, float lh, int translateLines);

// Top edge of the note drawn on half-line p (the note is lh high, centred on the half-line).
float noteTop(int p, float lh, int translateLines);

// Whether a note with this top edge is above the staff's highest drawable note: the space just
// above the first drawn line is the last that passes.
bool aboveUpperLimit(float top, int startLine, float lh, int translateLines);

// Half-line of a natural name ("C4" -> 30), or kNoHalfLine when the first character is not an
// upper-case note letter or the second no octave digit.
int halfLineOf(const QString& natural);

// The note named on half-line p: returns the natural name ("C4") and sets the letter index and the
// octave; an empty name outside half-lines -4 (E8 is 0) to 58 (C0).
QString nameOfHalfLine(int p, int* letterIndex = nullptr, int* octave = nullptr);

// An integer pointer row in the middle of half-line p's band, one that halfLineAt() turns back
// into p. When the band is narrower than a pixel and holds no whole row, the nearest row to the
// band's centre.
int bandCentreRow(int p, float lh, int translateLines);

// The position table for an instrument name, compared lower-cased and exactly; nullptr for none.
const StaffTables::Instrument* tableFor(const QString& instrumentName);

// Fills the position map for a staff of this height: every row of the instrument's table scaled
// by height / 324 and truncated. Entries of other tables already in the map stay; an unknown
// instrument leaves the map untouched.
void fillNamePos(QMap<QString, int>& namePos, const QString& instrumentName, int height);

// Natural name of a table row ("C4").
QString rowName(const StaffTables::Row& row);

} // namespace StaffGeometry
} // namespace RIRurud
