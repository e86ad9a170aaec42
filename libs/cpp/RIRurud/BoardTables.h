#pragma once

// The fretted boards as data: per board its name, its hot spots (centre in the 800 x 194 board
// frame, note in board form, string, whether the overlay marks it), its layer names, its training
// notes and where its frets lie. Plain constexpr tables without Qt, so that the board widgets and the
// picture generator read the very same numbers: what is drawn is what a click hits.

#include <cstddef>
#include <iterator>

namespace RIRurud {
namespace BoardTables {

// The reference frame every hot spot is given in; it stands for the whole board picture.
inline constexpr int kFrameWidth = 800;
inline constexpr int kFrameHeight = 194;

// Half extents of a hot spot's box: x - 16 .. x + 15, y - 5 .. y + 4, edges included.
inline constexpr int kBoxLeft = 16;
inline constexpr int kBoxRight = 15;
inline constexpr int kBoxTop = 5;
inline constexpr int kBoxBottom = 4;

struct HotSpot
{
    int x;
    int y;
    const char* note;   // board form: "C4", "C4#"
    int string;         // 0 = the string drawn highest on the picture
    bool marked;        // the overlay marks this spot (spots over the body carry no mark)
};

struct BoardTable
{
    const char* name;                 // "Banjo": names the pictures and (lower case) the sounds
    const HotSpot* spots;             // in walk order: the first hit wins
    std::size_t spotCount;
    const char* const* layerNames;    // layer form, one overlay picture each
    std::size_t layerCount;
    const char* const* trainingNotes; // board form, training draws from them
    std::size_t trainingCount;
    const int* fretSpots;             // x of the open-string spot at the nut, then of frets 1..n
    std::size_t fretSpotCount;
    int stringCount;
};

// Balalaika: 63 hot spots in walk order.
inline constexpr HotSpot kBalalaikaSpots[] = {
    {122, 100, "E4", 1, true},
    {127, 126, "E4", 2, true},
    {786, 98, "E4", 1, false},
    {786, 132, "E4", 2, false},
    {177, 99, "F4", 1, true},
    {177, 126, "F4", 2, true},
    {279, 99, "G4", 1, true},
    {278, 126, "G4", 2, true},
    {375, 126, "A4", 2, true},
    {375, 100, "A4", 1, true},
    {127, 77, "A4", 0, true},
    {786, 63, "A4", 0, false},
    {449, 124, "B4", 2, true},
    {452, 101, "B4", 1, true},
    {229, 74, "B4", 0, true},
    {491, 128, "C5", 2, true},
    {489, 98, "C5", 1, true},
    {279, 74, "C5", 0, true},
    {555, 127, "D5", 2, true},
    {554, 96, "D5", 1, true},
    {373, 71, "D5", 0, true},
    {611, 129, "E5", 2, true},
    {611, 98, "E5", 1, true},
    {452, 68, "E5", 0, true},
    {639, 132, "F5", 2, true},
    {636, 98, "F5", 1, true},
    {489, 69, "F5", 0, true},
    {554, 67, "G5", 0, true},
    {686, 100, "G5", 1, true},
    {686, 133, "G5", 2, true},
    {725, 133, "A5", 2, true},
    {726, 99, "A5", 1, true},
    {611, 66, "A5", 0, true},
    {659, 64, "B5", 0, true},
    {761, 133, "B5", 2, true},
    {761, 98, "B5", 1, true},
    {683, 65, "C6", 0, true},
    {724, 64, "D6", 0, true},
    {761, 63, "E6", 0, true},
    {228, 128, "F4#", 2, true},
    {228, 101, "F4#", 1, true},
    {329, 125, "G4#", 2, true},
    {330, 97, "G4#", 1, true},
    {415, 128, "A4#", 2, true},
    {415, 99, "A4#", 1, true},
    {177, 77, "A4#", 0, true},
    {522, 130, "C5#", 2, true},
    {523, 100, "C5#", 1, true},
    {328, 73, "C5#", 0, true},
    {583, 129, "D5#", 2, true},
    {583, 100, "D5#", 1, true},
    {414, 72, "D5#", 0, true},
    {661, 130, "F5#", 2, true},
    {661, 98, "F5#", 1, true},
    {522, 67, "F5#", 0, true},
    {705, 131, "G5#", 2, true},
    {705, 99, "G5#", 1, true},
    {582, 65, "G5#", 0, true},
    {743, 133, "A5#", 2, true},
    {744, 99, "A5#", 1, true},
    {638, 65, "A5#", 0, true},
    {706, 64, "C6#", 0, true},
    {743, 64, "D6#", 0, true},
};
inline constexpr const char* kBalalaikaLayers[] = {
    "A4", "A5", "Ad4", "Ad5", "B4", "B5", "C5", "C6", "Cd5", "Cd6", "D5", "D6", "Dd5", "Dd6", "E4",
    "E5", "E6", "F4", "F5", "Fd4", "Fd5", "G4", "G5", "Gd4", "Gd5"};
inline constexpr const char* kBalalaikaTraining[] = {
    "A4", "A5", "A4#", "A5#", "B4", "B5", "C5", "C6", "C5#", "C6#", "D5", "D6", "D5#", "D6#", "E4",
    "E5", "E6", "F4", "F5", "F4#", "F5#", "G4", "G5", "G4#", "G5#"};

// Banjo: 117 hot spots in walk order.
inline constexpr HotSpot kBanjoSpots[] = {
    {80, 99, "D3", 3, true},
    {780, 101, "D3", 3, false},
    {170, 101, "E3", 3, true},
    {219, 101, "F3", 3, true},
    {80, 88, "G3", 2, true},
    {309, 99, "G3", 3, true},
    {781, 90, "G3", 2, false},
    {171, 91, "A3", 2, true},
    {387, 100, "A3", 3, true},
    {81, 81, "B3", 1, true},
    {256, 89, "B3", 2, true},
    {456, 101, "B3", 3, true},
    {779, 76, "B3", 1, false},
    {120, 82, "C4", 1, true},
    {308, 89, "C4", 2, true},
    {488, 101, "C4", 3, true},
    {82, 70, "D4", 0, true},
    {220, 80, "D4", 1, true},
    {385, 90, "D4", 2, true},
    {547, 100, "D4", 3, true},
    {781, 64, "D4", 0, false},
    {170, 71, "E4", 0, true},
    {308, 80, "E4", 1, true},
    {456, 88, "E4", 2, true},
    {599, 100, "E4", 3, true},
    {221, 72, "F4", 0, true},
    {350, 80, "F4", 1, true},
    {488, 89, "F4", 2, true},
    {623, 100, "F4", 3, true},
    {307, 70, "G4", 0, true},
    {422, 79, "G4", 1, true},
    {545, 88, "G4", 2, true},
    {667, 100, "G4", 3, true},
    {305, 111, "G4", 4, true},
    {349, 110, "G4", 4, false},
    {387, 112, "G4", 4, false},
    {422, 112, "G4", 4, false},
    {457, 111, "G4", 4, false},
    {488, 112, "G4", 4, false},
    {519, 112, "G4", 4, false},
    {547, 111, "G4", 4, false},
    {575, 113, "G4", 4, false},
    {598, 113, "G4", 4, false},
    {623, 112, "G4", 4, false},
    {646, 113, "G4", 4, false},
    {667, 113, "G4", 4, false},
    {689, 114, "G4", 4, false},
    {706, 114, "G4", 4, false},
    {724, 115, "G4", 4, false},
    {741, 114, "G4", 4, false},
    {758, 114, "G4", 4, false},
    {780, 113, "G4", 4, false},
    {385, 70, "A4", 0, true},
    {486, 78, "A4", 1, true},
    {599, 89, "A4", 2, true},
    {706, 101, "A4", 3, true},
    {456, 68, "B4", 0, true},
    {546, 78, "B4", 1, true},
    {646, 88, "B4", 2, true},
    {741, 101, "B4", 3, true},
    {488, 68, "C5", 0, true},
    {573, 78, "C5", 1, true},
    {668, 89, "C5", 2, true},
    {755, 102, "C5", 3, true},
    {546, 68, "D5", 0, true},
    {622, 79, "D5", 1, true},
    {706, 88, "D5", 2, true},
    {599, 66, "E5", 0, true},
    {667, 77, "E5", 1, true},
    {741, 88, "E5", 2, true},
    {623, 66, "F5", 0, true},
    {688, 78, "F5", 1, true},
    {758, 89, "F5", 2, true},
    {668, 66, "G5", 0, true},
    {724, 75, "G5", 1, true},
    {706, 65, "A5", 0, true},
    {759, 77, "A5", 1, true},
    {724, 64, "B5", 0, true},
    {741, 65, "C6", 0, true},
    {118, 100, "D3#", 3, true},
    {264, 98, "F3#", 3, true},
    {117, 88, "G3#", 2, true},
    {347, 100, "G3#", 3, true},
    {221, 90, "A3#", 2, true},
    {423, 99, "A3#", 3, true},
    {171, 78, "C4#", 1, true},
    {348, 91, "C4#", 2, true},
    {519, 99, "C4#", 3, true},
    {120, 69, "D4#", 0, true},
    {265, 79, "D4#", 1, true},
    {422, 88, "D4#", 2, true},
    {574, 100, "D4#", 3, true},
    {264, 70, "F4#", 0, true},
    {387, 80, "F4#", 1, true},
    {518, 89, "F4#", 2, true},
    {646, 101, "F4#", 3, true},
    {348, 69, "G4#", 0, true},
    {455, 77, "G4#", 1, true},
    {573, 88, "G4#", 2, true},
    {687, 100, "G4#", 3, true},
    {421, 69, "A4#", 0, true},
    {517, 78, "A4#", 1, true},
    {622, 88, "A4#", 2, true},
    {723, 99, "A4#", 3, true},
    {518, 66, "C5#", 0, true},
    {598, 77, "C5#", 1, true},
    {687, 87, "C5#", 2, true},
    {575, 65, "D5#", 0, true},
    {646, 77, "D5#", 1, true},
    {724, 88, "D5#", 2, true},
    {646, 66, "F5#", 0, true},
    {706, 77, "F5#", 1, true},
    {688, 63, "G5#", 0, true},
    {730, 77, "G5#", 1, true},
    {705, 65, "A5#", 0, true},
    {758, 78, "A5#", 1, true},
    {757, 65, "C6#", 0, true},
};
inline constexpr const char* kBanjoLayers[] = {
    "A3", "A4", "A5", "Ad3", "Ad4", "Ad5", "B3", "B4", "B5", "C4", "C5", "C6", "Cd4", "Cd5", "Cd6",
    "D3", "D4", "D5", "Dd3", "Dd4", "Dd5", "E3", "E4", "E5", "F3", "F4", "F5", "Fd3", "Fd4", "Fd5",
    "G3", "G4", "G5", "Gd3", "Gd4", "Gd5"};
inline constexpr const char* kBanjoTraining[] = {
    "A3", "A4", "A5", "A3#", "A4#", "A5#", "B3", "B4", "B5", "C4", "C5", "C6", "C4#", "C5#", "C6#",
    "D3", "D4", "D5", "D3#", "D4#", "D5#", "E3", "E4", "E5", "F3", "F4", "F5", "F3#", "F4#", "F5#",
    "G3", "G4", "G5", "G3#", "G4#", "G5#"};

// Mandolin: 84 hot spots in walk order.
inline constexpr HotSpot kMandolinSpots[] = {
    {190, 111, "G3", 3, true},
    {722, 129, "G3", 3, true},
    {783, 129, "G3", 3, true},
    {749, 129, "G3", 3, true},
    {274, 113, "A3", 3, true},
    {354, 116, "B3", 3, true},
    {391, 118, "C4", 3, true},
    {192, 93, "D4", 2, true},
    {458, 120, "D4", 3, true},
    {723, 105, "D4", 2, true},
    {751, 105, "D4", 2, true},
    {785, 105, "D4", 2, true},
    {276, 93, "E4", 2, true},
    {517, 119, "E4", 3, true},
    {316, 97, "F4", 2, true},
    {545, 122, "F4", 3, true},
    {391, 100, "G4", 2, true},
    {595, 123, "G4", 3, true},
    {190, 77, "A4", 1, true},
    {458, 100, "A4", 2, true},
    {639, 126, "A4", 3, true},
    {721, 83, "A4", 1, true},
    {753, 83, "A4", 1, true},
    {785, 83, "A4", 1, true},
    {275, 80, "B4", 1, true},
    {517, 100, "B4", 2, true},
    {680, 129, "B4", 3, true},
    {317, 79, "C5", 1, true},
    {546, 101, "C5", 2, true},
    {697, 130, "C5", 3, true},
    {390, 80, "D5", 1, true},
    {596, 103, "D5", 2, true},
    {189, 63, "E5", 0, true},
    {459, 80, "E5", 1, true},
    {641, 104, "E5", 2, true},
    {721, 61, "E5", 0, true},
    {755, 63, "E5", 0, true},
    {787, 63, "E5", 0, true},
    {230, 64, "F5", 0, true},
    {490, 80, "F5", 1, true},
    {660, 103, "F5", 2, true},
    {316, 63, "G5", 0, true},
    {545, 80, "G5", 1, true},
    {699, 104, "G5", 2, true},
    {390, 63, "A5", 0, true},
    {596, 82, "A5", 1, true},
    {459, 63, "B5", 0, true},
    {641, 81, "B5", 1, true},
    {488, 62, "C6", 0, true},
    {661, 83, "C6", 1, true},
    {545, 62, "D6", 0, true},
    {699, 82, "D6", 1, true},
    {596, 63, "E6", 0, true},
    {619, 61, "F6", 0, true},
    {661, 62, "G6", 0, true},
    {231, 112, "G3#", 3, true},
    {315, 117, "A3#", 3, true},
    {426, 119, "C4#", 3, true},
    {232, 95, "D4#", 2, true},
    {488, 120, "D4#", 3, true},
    {354, 97, "F4#", 2, true},
    {570, 124, "F4#", 3, true},
    {427, 100, "G4#", 2, true},
    {617, 125, "G4#", 3, true},
    {232, 81, "A4#", 1, true},
    {488, 100, "A4#", 2, true},
    {660, 127, "A4#", 3, true},
    {354, 80, "C5#", 1, true},
    {573, 103, "C5#", 2, true},
    {427, 80, "D5#", 1, true},
    {620, 103, "D5#", 2, true},
    {275, 65, "F5#", 0, true},
    {518, 80, "F5#", 1, true},
    {679, 104, "F5#", 2, true},
    {355, 65, "G5#", 0, true},
    {571, 82, "G5#", 1, true},
    {426, 64, "A5#", 0, true},
    {618, 83, "A5#", 1, true},
    {518, 65, "C6#", 0, true},
    {679, 83, "C6#", 1, true},
    {572, 62, "D6#", 0, true},
    {639, 64, "F6#", 0, true},
    {680, 63, "G6#", 0, true},
    {699, 63, "A6", 0, true},
};
inline constexpr const char* kMandolinLayers[] = {
    "A3", "A4", "A5", "A6", "Ad3", "Ad4", "Ad5", "B3", "B4", "B5", "C4", "C5", "C6", "Cd4", "Cd5",
    "Cd6", "D4", "D5", "D6", "Dd4", "Dd5", "Dd6", "E4", "E5", "E6", "F4", "F5", "F6", "Fd4", "Fd5",
    "Fd6", "G3", "G4", "G5", "G6", "Gd3", "Gd4", "Gd5", "Gd6"};
inline constexpr const char* kMandolinTraining[] = {
    "A3", "A4", "A5", "A6", "A3#", "A4#", "A5#", "B3", "B4", "B5", "C4", "C5", "C6", "C4#", "C5#",
    "C6#", "D4", "D5", "D6", "D4#", "D5#", "D6#", "E4", "E5", "E6", "F4", "F5", "F6", "F4#", "F5#",
    "F6#", "G3", "G4", "G5", "G6", "G3#", "G4#", "G5#", "G6#"};

// Where the stopped positions lie along the neck (x in the frame): the open-string spot at the nut,
// then the spot behind each fret. Fret wires lie halfway between neighbouring spots.
inline constexpr int kBalalaikaFrets[] = {124, 177, 228, 279, 329, 374, 415, 451, 490, 522, 554,
                                          583, 611, 638, 661, 685, 705, 725, 743, 761};
inline constexpr int kBanjoFrets[] = {81, 118, 170, 220, 264, 307, 348, 386, 422, 456, 488, 518,
                                      546, 574, 599, 623, 646, 667, 688, 706, 724, 741, 757};
inline constexpr int kMandolinFrets[] = {190, 231, 275, 316, 354, 391, 427, 458, 488, 517, 545,
                                         571, 596, 618, 640, 660, 680, 698};

#define RIRURUD_BOARD_TABLE(Name, strings)                                                   \
    inline constexpr BoardTable k##Name{#Name,                                               \
                                        k##Name##Spots, std::size(k##Name##Spots),           \
                                        k##Name##Layers, std::size(k##Name##Layers),         \
                                        k##Name##Training, std::size(k##Name##Training),     \
                                        k##Name##Frets, std::size(k##Name##Frets), strings};

// Balalaika: strings A4 (top), E4, E4. Banjo: D4 (top), B3, G3, D3 and the short G4 string that
// starts at the fifth fret. Mandolin: courses E5 (top), A4, D4, G3.
RIRURUD_BOARD_TABLE(Balalaika, 3)
RIRURUD_BOARD_TABLE(Banjo, 5)
RIRURUD_BOARD_TABLE(Mandolin, 4)
#undef RIRURUD_BOARD_TABLE

inline constexpr const BoardTable* kAllBoards[] = {&kBalalaika, &kBanjo, &kMandolin};

// A straight string line y = a + b * x through the marked spots of one string (least squares), or
// through all of its spots when `markedOnly` is false; the pictures draw the string along it.
// Returns false when fewer than two spots are fitted.
struct StringLine
{
    double a = 0;
    double b = 0;
    double yAt(double x) const { return a + b * x; }
};

inline bool stringLine(const BoardTable& table, int string, StringLine* line, bool markedOnly = true)
{
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < table.spotCount; ++i) {
        const HotSpot& s = table.spots[i];
        if (s.string != string || (markedOnly && !s.marked))
            continue;
        n += 1;
        sx += s.x;
        sy += s.y;
        sxx += double(s.x) * s.x;
        sxy += double(s.x) * s.y;
    }
    const double d = n * sxx - sx * sx;
    if (n < 2 || d == 0)
        return false;
    line->b = (n * sxy - sx * sy) / d;
    line->a = (sy - line->b * sx) / n;
    return true;
}

// x of fret wire k in the frame: 0 is the nut, halfway between the open spot and fret 1's spot;
// the last wire lies as far beyond the last spot as the spacing before it.
inline double fretWireX(const BoardTable& table, std::size_t k)
{
    const int* f = table.fretSpots;
    const std::size_t n = table.fretSpotCount;
    if (k + 1 < n)
        return (f[k] + f[k + 1]) / 2.0;
    return f[n - 1] + (f[n - 1] - f[n - 2]) / 2.0;
}

// Where the overlay draws the mark of spot `index`: on its string line at the spot's x, so that the
// mark sits on the drawn string (a spot may lie a little off the straight string; the mark then
// still lies inside the spot's box). Falls back to the centre when the string has no line.
struct MarkCentre
{
    double x = 0;
    double y = 0;
};

inline MarkCentre markCentre(const BoardTable& table, std::size_t index)
{
    const HotSpot& spot = table.spots[index];
    StringLine line;
    MarkCentre c{double(spot.x), double(spot.y)};
    if (stringLine(table, spot.string, &line)) {
        const double y = line.yAt(spot.x);
        // Never leave the box a click hits: y - 5 .. y + 4, kept a unit inside.
        const double low = spot.y - kBoxTop + 1.0;
        const double high = spot.y + kBoxBottom - 1.0;
        c.y = y < low ? low : (y > high ? high : y);
    }
    return c;
}

} // namespace BoardTables
} // namespace RIRurud
