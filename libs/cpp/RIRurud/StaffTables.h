#pragma once

// Where each instrument's notes sit on the staff, and how each instrument's page lays the staff out.
//
// Plain C++ data, no Qt: the staff widget compiles these tables, and the build-time generators
// (pictures, sounds) include the same header, so everything agrees on one set of numbers.
//
// A row is a natural note and its pointer row in pixels from the top of the staff at the reference
// staff height of 324 pixels. Every table lists each natural note of its instrument from the lowest
// to the highest, in ascending pitch, with no gap; the rows fall strictly as the pitch rises.

#include <cstddef>
#include <iterator>

namespace RIRurud {
namespace StaffTables {

inline constexpr float kReferenceHeight = 324.0f;

struct Row
{
    char letter;   // 'C' .. 'B'
    int octave;    // scientific octave, C4 is middle C
    float pos;     // pointer row at the reference height
};

// How an instrument's page configures its staff.
struct Layout
{
    float paperHeightFactor;
    int startLine;
    int lines;
    int translateLines;
    bool noBass;
    bool noViolin;
};

// The staff's own defaults (a page that configures nothing, such as the piano's).
inline constexpr Layout kDefaultLayout = {1.0f, 0, 27, 0, false, false};

inline constexpr Row kPiano[] = {
    {'A', 0, 322.0f}, {'B', 0, 315.0f}, {'C', 1, 310.0f}, {'D', 1, 304.0f}, {'E', 1, 298.0f}, {'F', 1, 292.0f}, {'G', 1, 286.0f},
    {'A', 1, 281.0f}, {'B', 1, 274.0f}, {'C', 2, 269.0f}, {'D', 2, 261.0f}, {'E', 2, 257.0f}, {'F', 2, 250.0f}, {'G', 2, 245.0f},
    {'A', 2, 238.0f}, {'B', 2, 232.0f}, {'C', 3, 225.0f}, {'D', 3, 219.0f}, {'E', 3, 214.0f}, {'F', 3, 209.0f}, {'G', 3, 201.0f},
    {'A', 3, 196.0f}, {'B', 3, 189.0f}, {'C', 4, 184.0f}, {'D', 4, 177.0f}, {'E', 4, 173.0f}, {'F', 4, 166.0f}, {'G', 4, 160.0f},
    {'A', 4, 154.0f}, {'B', 4, 148.0f}, {'C', 5, 141.0f}, {'D', 5, 136.0f}, {'E', 5, 130.0f}, {'F', 5, 124.0f}, {'G', 5, 118.0f},
    {'A', 5, 112.0f}, {'B', 5, 106.0f}, {'C', 6, 100.0f}, {'D', 6, 94.0f}, {'E', 6, 88.0f}, {'F', 6, 82.0f}, {'G', 6, 76.0f},
    {'A', 6, 69.0f}, {'B', 6, 63.0f}, {'C', 7, 57.0f}, {'D', 7, 52.0f}, {'E', 7, 46.0f}, {'F', 7, 40.0f}, {'G', 7, 34.0f},
    {'A', 7, 28.0f}, {'B', 7, 22.0f}, {'C', 8, 15.0f},
};

inline constexpr Row kUkulele[] = {
    {'C', 4, 293.0f}, {'D', 4, 278.0f}, {'E', 4, 261.0f}, {'F', 4, 244.0f}, {'G', 4, 230.0f}, {'A', 4, 212.0f}, {'B', 4, 196.0f},
    {'C', 5, 180.0f}, {'D', 5, 165.0f}, {'E', 5, 147.0f}, {'F', 5, 130.0f}, {'G', 5, 116.0f}, {'A', 5, 101.0f}, {'B', 5, 85.0f},
    {'C', 6, 70.0f},
};

inline constexpr Row kGuitar[] = {
    {'E', 2, 310.0f}, {'F', 2, 301.0f}, {'G', 2, 288.0f}, {'A', 2, 279.0f}, {'B', 2, 270.0f}, {'C', 3, 259.0f}, {'D', 3, 251.0f},
    {'E', 3, 240.0f}, {'F', 3, 232.0f}, {'G', 3, 222.0f}, {'A', 3, 213.0f}, {'B', 3, 203.0f}, {'C', 4, 194.0f}, {'D', 4, 183.0f},
    {'E', 4, 175.0f}, {'F', 4, 164.0f}, {'G', 4, 154.0f}, {'A', 4, 146.0f}, {'B', 4, 137.0f}, {'C', 5, 125.0f}, {'D', 5, 118.0f},
    {'E', 5, 107.0f}, {'F', 5, 97.0f}, {'G', 5, 87.0f}, {'A', 5, 79.0f}, {'B', 5, 69.0f}, {'C', 6, 59.0f}, {'D', 6, 49.0f},
};

inline constexpr Row kBass[] = {
    {'E', 1, 319.0f}, {'F', 1, 303.0f}, {'G', 1, 292.0f}, {'A', 1, 280.0f}, {'B', 1, 266.0f}, {'C', 2, 255.0f}, {'D', 2, 241.0f},
    {'E', 2, 228.0f}, {'F', 2, 216.0f}, {'G', 2, 202.0f}, {'A', 2, 191.0f}, {'B', 2, 178.0f}, {'C', 3, 166.0f}, {'D', 3, 154.0f},
    {'E', 3, 144.0f}, {'F', 3, 128.0f}, {'G', 3, 118.0f}, {'A', 3, 104.0f}, {'B', 3, 90.0f}, {'C', 4, 77.0f}, {'D', 4, 67.0f},
};

inline constexpr Row kViolin[] = {
    {'G', 3, 317.0f}, {'A', 3, 297.0f}, {'B', 3, 282.0f}, {'C', 4, 268.0f}, {'D', 4, 252.0f}, {'E', 4, 238.0f}, {'F', 4, 224.0f},
    {'G', 4, 210.0f}, {'A', 4, 195.0f}, {'B', 4, 180.0f}, {'C', 5, 166.0f}, {'D', 5, 151.0f}, {'E', 5, 135.0f}, {'F', 5, 120.0f},
    {'G', 5, 109.0f}, {'A', 5, 94.0f}, {'B', 5, 76.0f},
};

inline constexpr Row kMandolin[] = {
    {'G', 3, 315.0f}, {'A', 3, 302.0f}, {'B', 3, 288.0f}, {'C', 4, 273.0f}, {'D', 4, 263.0f}, {'E', 4, 248.0f}, {'F', 4, 234.0f},
    {'G', 4, 217.0f}, {'A', 4, 205.0f}, {'B', 4, 190.0f}, {'C', 5, 183.0f}, {'D', 5, 166.0f}, {'E', 5, 158.0f}, {'F', 5, 145.0f},
    {'G', 5, 125.0f}, {'A', 5, 109.0f}, {'B', 5, 98.0f}, {'C', 6, 82.0f}, {'D', 6, 71.0f}, {'E', 6, 56.0f}, {'F', 6, 43.0f},
    {'G', 6, 29.0f}, {'A', 6, 17.0f},
};

inline constexpr Row kBanjo[] = {
    {'D', 3, 321.0f}, {'E', 3, 306.0f}, {'F', 3, 293.0f}, {'G', 3, 280.0f}, {'A', 3, 268.0f}, {'B', 3, 258.0f}, {'C', 4, 245.0f},
    {'D', 4, 231.0f}, {'E', 4, 222.0f}, {'F', 4, 210.0f}, {'G', 4, 195.0f}, {'A', 4, 184.0f}, {'B', 4, 173.0f}, {'C', 5, 160.0f},
    {'D', 5, 147.0f}, {'E', 5, 135.0f}, {'F', 5, 124.0f}, {'G', 5, 111.0f}, {'A', 5, 101.0f}, {'B', 5, 89.0f}, {'C', 6, 75.0f},
};

inline constexpr Row kBalalaika[] = {
    {'E', 4, 268.0f}, {'F', 4, 252.0f}, {'G', 4, 234.0f}, {'A', 4, 217.0f}, {'B', 4, 201.0f}, {'C', 5, 184.0f}, {'D', 5, 169.0f},
    {'E', 5, 152.0f}, {'F', 5, 137.0f}, {'G', 5, 117.0f}, {'A', 5, 103.0f}, {'B', 5, 84.0f}, {'C', 6, 70.0f}, {'D', 6, 51.0f},
    {'E', 6, 36.0f},
};

// How the staff draws its pictures, in line heights (lh). The picture generator draws the clefs and
// the note head for exactly these rectangles, so that the clefs' anchors fall on their lines.
namespace Drawing {

inline constexpr int kClefPictureSide = 512;    // both clef pictures are square
inline constexpr int kNotePictureWidth = 512;
inline constexpr int kNotePictureHeight = 320;

// The treble clef fills the square from line 8 to line 16; its spiral belongs on the G line
// (line 13). The bass clef fills the square from line 16 to line 20; its head belongs on the F
// line (line 17).
inline constexpr int kTrebleClefTopLine = 8;
inline constexpr int kTrebleClefLines = 8;
inline constexpr int kTrebleClefAnchorLine = 13;
inline constexpr int kBassClefTopLine = 16;
inline constexpr int kBassClefLines = 4;
inline constexpr int kBassClefAnchorLine = 17;

// The note head's rectangle: noteWidthFactor * lh wide and one lh high, centred on its half-line;
// its left edge stands noteLeftFactor * lh left of the staff's centre (the unit is lh / 1.2).
inline constexpr float kNoteUnit = 1.0f / 1.2f;
inline constexpr float kNoteWidthFactor = 2.2f * kNoteUnit;
inline constexpr float kNoteLeftFactor = kNoteUnit;

// Half length of a short ledger line, in lh.
inline constexpr double kShortLineHalf = 1.2;

} // namespace Drawing

struct Instrument
{
    const char* name;        // lower case; the staff compares its lower-cased instrument name
    const char* pageName;    // the name its page gives the staff (sound files use it lower-cased)
    const Row* rows;
    std::size_t count;
    Layout layout;
};

// In the order in which the staff compares names: the first equal name selects its table.
inline constexpr Instrument kInstruments[] = {
    {"piano", "piano", kPiano, std::size(kPiano), kDefaultLayout},
    {"ukulele", "Ukulele", kUkulele, std::size(kUkulele), {1.6f, 8, 16, 6, true, false}},
    {"guitar", "guitar", kGuitar, std::size(kGuitar), {1.3f, 8, 22, 5, false, false}},
    {"bass", "Bass", kBass, std::size(kBass), {1.94f, 15, 25, 12, false, true}},
    {"violin", "Violin", kViolin, std::size(kViolin), {1.55f, 8, 17, 6, true, false}},
    {"mandolin", "Mandolin", kMandolin, std::size(kMandolin), {1.42f, 6, 17, 5, true, false}},
    {"banjo", "Banjo", kBanjo, std::size(kBanjo), {1.42f, 8, 19, 5, true, false}},
    {"balalaika", "Balalaika", kBalalaika, std::size(kBalalaika), {1.53f, 7, 15, 6, true, false}},
};

inline constexpr std::size_t kInstrumentCount = std::size(kInstruments);

// The table whose name equals the given lower-case name exactly, or nullptr.
constexpr const Instrument* find(const char* lowerName)
{
    for (const Instrument& instrument : kInstruments) {
        const char* a = instrument.name;
        const char* b = lowerName;
        while (*a && *a == *b) {
            ++a;
            ++b;
        }
        if (*a == 0 && *b == 0)
            return &instrument;
    }
    return nullptr;
}

} // namespace StaffTables
} // namespace RIRurud
