#pragma once

// The fretted boards as data: per board its name, its hot spots (centre in the 800 x 194 board
// frame, note in board form, string, whether the overlay marks it), its layer names, its training
// notes and where its frets lie. Plain constexpr tables without Qt, so that the board widgets and the
// picture generator read the very same numbers: what is drawn is what a click hits.

#include <cstddef>
#include <cstring>
#include <iterator>

namespace RIRurud {
namespace BoardTables {

// The reference frame every hot spot is given in; it stands for the whole board picture.
inline constexpr int kFrameWidth = 800;
inline constexpr int kFrameHeight = 194;
// The board pictures and their overlays are drawn at this size (in pixels) for the whole frame.
inline constexpr int kPictureWidth = 2048;
inline constexpr int kPictureHeight = 497;

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

// Banjo: 115 hot spots in walk order. Every stopped spot sounds its string's open note plus its fret
// (D4 string up to C6 at fret 22, B3 string up to A5); C6# lies beyond every string.
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
    {741, 65, "B5", 0, true},
    {757, 65, "C6", 0, true},
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
    {741, 77, "G5#", 1, true},
    {724, 64, "A5#", 0, true},
};
inline constexpr const char* kBanjoLayers[] = {
    "A3", "A4", "A5", "Ad3", "Ad4", "Ad5", "B3", "B4", "B5", "C4", "C5", "C6", "Cd4", "Cd5", "D3",
    "D4", "D5", "Dd3", "Dd4", "Dd5", "E3", "E4", "E5", "F3", "F4", "F5", "Fd3", "Fd4", "Fd5",
    "G3", "G4", "G5", "Gd3", "Gd4", "Gd5"};
inline constexpr const char* kBanjoTraining[] = {
    "A3", "A4", "A5", "A3#", "A4#", "A5#", "B3", "B4", "B5", "C4", "C5", "C6", "C4#", "C5#", "D3",
    "D4", "D5", "D3#", "D4#", "D5#", "E3", "E4", "E5", "F3", "F4", "F5", "F3#", "F4#", "F5#",
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

// Guitar, ukulele, violin and bass: the spots are the centres of the hot-spot boxes, in walk order
// (the guitar's boxes are given by their top-left corner; the centre lies 16 right of it and 5 below).
// Spots beyond the fingerboard, over the body, sound the open string and carry no mark.

// Guitar: 144 hot spots in walk order.
inline constexpr HotSpot kGuitarSpots[] = {
    {104, 132, "E2", 5, true},
    {787, 149, "E2", 5, false},
    {141, 133, "F2", 5, true},
    {223, 134, "G2", 5, true},
    {104, 122, "A2", 4, true},
    {300, 139, "A2", 5, true},
    {787, 133, "A2", 4, false},
    {183, 125, "B2", 4, true},
    {370, 140, "B2", 5, true},
    {221, 125, "C3", 4, true},
    {403, 140, "C3", 5, true},
    {106, 111, "D3", 3, true},
    {299, 126, "D3", 4, true},
    {470, 142, "D3", 5, true},
    {789, 119, "D3", 3, false},
    {184, 114, "E3", 3, true},
    {369, 127, "E3", 4, true},
    {532, 143, "E3", 5, true},
    {222, 113, "F3", 3, true},
    {405, 127, "F3", 4, true},
    {558, 143, "F3", 5, true},
    {110, 98, "G3", 2, true},
    {300, 113, "G3", 3, true},
    {470, 128, "G3", 4, true},
    {613, 144, "G3", 5, true},
    {788, 103, "G3", 2, false},
    {183, 102, "A3", 2, true},
    {371, 115, "A3", 3, true},
    {531, 130, "A3", 4, true},
    {662, 144, "A3", 5, true},
    {106, 87, "B3", 1, true},
    {262, 101, "B3", 2, true},
    {437, 118, "B3", 3, true},
    {586, 130, "B3", 4, true},
    {707, 146, "B3", 5, true},
    {788, 89, "B3", 1, false},
    {143, 89, "C4", 1, true},
    {300, 102, "C4", 2, true},
    {469, 115, "C4", 3, true},
    {613, 130, "C4", 4, true},
    {729, 146, "C4", 5, true},
    {223, 90, "D4", 1, true},
    {371, 102, "D4", 2, true},
    {532, 116, "D4", 3, true},
    {662, 132, "D4", 4, true},
    {768, 148, "D4", 5, true},
    {106, 78, "E4", 0, true},
    {300, 89, "E4", 1, true},
    {438, 102, "E4", 2, true},
    {587, 116, "E4", 3, true},
    {706, 133, "E4", 4, true},
    {788, 74, "E4", 0, false},
    {141, 78, "F4", 0, true},
    {335, 90, "F4", 1, true},
    {471, 103, "F4", 2, true},
    {613, 116, "F4", 3, true},
    {729, 133, "F4", 4, true},
    {223, 77, "G4", 0, true},
    {406, 90, "G4", 1, true},
    {532, 102, "G4", 2, true},
    {662, 117, "G4", 3, true},
    {767, 133, "G4", 4, true},
    {299, 78, "A4", 0, true},
    {470, 90, "A4", 1, true},
    {587, 102, "A4", 2, true},
    {707, 117, "A4", 3, true},
    {372, 77, "B4", 0, true},
    {532, 89, "B4", 1, true},
    {638, 103, "B4", 2, true},
    {750, 118, "B4", 3, true},
    {405, 77, "C5", 0, true},
    {559, 89, "C5", 1, true},
    {662, 102, "C5", 2, true},
    {766, 118, "C5", 3, true},
    {470, 76, "D5", 0, true},
    {613, 89, "D5", 1, true},
    {707, 104, "D5", 2, true},
    {531, 74, "E5", 0, true},
    {662, 87, "E5", 1, true},
    {749, 102, "E5", 2, true},
    {559, 75, "F5", 0, true},
    {684, 88, "F5", 1, true},
    {768, 103, "F5", 2, true},
    {613, 73, "G5", 0, true},
    {728, 88, "G5", 1, true},
    {662, 75, "A5", 0, true},
    {768, 89, "A5", 1, true},
    {707, 73, "B5", 0, true},
    {727, 75, "C6", 0, true},
    {767, 74, "D6", 0, true},
    {182, 136, "F2#", 5, true},
    {261, 136, "G2#", 5, true},
    {141, 121, "A2#", 4, true},
    {336, 138, "A2#", 5, true},
    {261, 123, "C3#", 4, true},
    {438, 140, "C3#", 5, true},
    {141, 112, "D3#", 3, true},
    {335, 125, "D3#", 4, true},
    {500, 141, "D3#", 5, true},
    {261, 113, "F3#", 3, true},
    {438, 127, "F3#", 4, true},
    {586, 143, "F3#", 5, true},
    {139, 100, "G3#", 2, true},
    {334, 116, "G3#", 3, true},
    {500, 129, "G3#", 4, true},
    {638, 145, "G3#", 5, true},
    {223, 100, "A3#", 2, true},
    {406, 116, "A3#", 3, true},
    {559, 129, "A3#", 4, true},
    {684, 146, "A3#", 5, true},
    {183, 89, "C4#", 1, true},
    {335, 105, "C4#", 2, true},
    {500, 116, "C4#", 3, true},
    {638, 130, "C4#", 4, true},
    {748, 147, "C4#", 5, true},
    {261, 89, "D4#", 1, true},
    {405, 103, "D4#", 2, true},
    {560, 116, "D4#", 3, true},
    {684, 130, "D4#", 4, true},
    {183, 78, "F4#", 0, true},
    {370, 89, "F4#", 1, true},
    {500, 104, "F4#", 2, true},
    {638, 117, "F4#", 3, true},
    {749, 132, "F4#", 4, true},
    {261, 78, "G4#", 0, true},
    {437, 90, "G4#", 1, true},
    {559, 104, "G4#", 2, true},
    {684, 117, "G4#", 3, true},
    {336, 78, "A4#", 0, true},
    {501, 90, "A4#", 1, true},
    {613, 104, "A4#", 2, true},
    {729, 117, "A4#", 3, true},
    {438, 78, "C5#", 0, true},
    {586, 90, "C5#", 1, true},
    {684, 104, "C5#", 2, true},
    {500, 76, "D5#", 0, true},
    {639, 90, "D5#", 1, true},
    {728, 104, "D5#", 2, true},
    {588, 74, "F5#", 0, true},
    {707, 88, "F5#", 1, true},
    {640, 74, "G5#", 0, true},
    {749, 88, "G5#", 1, true},
    {684, 74, "A5#", 0, true},
    {749, 74, "C6#", 0, true},
};
inline constexpr const char* kGuitarLayers[] = {
    "A2", "A3", "A4", "A5", "Ad2", "Ad3", "Ad4", "Ad5", "B2", "B3", "B4", "B5", "C3", "C4", "C5",
    "C6", "Cd3", "Cd4", "Cd5", "Cd6", "D3", "D4", "D5", "D6", "Dd3", "Dd4", "Dd5", "E2", "E3", "E4",
    "E5", "F2", "F3", "F4", "F5", "Fd2", "Fd3", "Fd4", "Fd5", "G2", "G3", "G4", "G5", "Gd2", "Gd3",
    "Gd4", "Gd5"};
inline constexpr const char* kGuitarTraining[] = {
    "E2", "F2", "G2", "A2", "B2", "C3", "D3", "E3", "F3", "G3", "A3", "B3", "C4", "D4", "E4", "F4",
    "G4", "A4", "B4", "C5", "D5", "E5", "F5", "G5", "A5", "B5", "C6", "D6", "F2#", "G2#", "A2#",
    "C3#", "D3#", "F3#", "G3#", "A3#", "C4#", "D4#", "F4#", "G4#", "A4#", "C5#", "D5#", "F5#",
    "G5#", "A5#", "C6#"};

// Ukulele: 79 hot spots in walk order.
inline constexpr HotSpot kUkuleleSpots[] = {
    {108, 119, "C4", 2, true},
    {696, 120, "C4", 2, false},
    {734, 120, "C4", 2, false},
    {765, 120, "C4", 2, false},
    {783, 120, "C4", 2, false},
    {200, 114, "D4", 2, true},
    {92, 89, "E4", 1, true},
    {295, 114, "E4", 2, true},
    {785, 92, "E4", 1, false},
    {762, 92, "E4", 1, false},
    {735, 92, "E4", 1, false},
    {702, 92, "E4", 1, false},
    {150, 89, "F4", 1, true},
    {340, 114, "F4", 2, true},
    {92, 142, "G4", 3, true},
    {250, 89, "G4", 1, true},
    {420, 119, "G4", 2, true},
    {706, 149, "G4", 3, false},
    {743, 149, "G4", 3, false},
    {782, 150, "G4", 3, false},
    {92, 67, "A4", 0, true},
    {200, 142, "A4", 3, true},
    {340, 89, "A4", 1, true},
    {492, 119, "A4", 2, true},
    {785, 62, "A4", 0, false},
    {762, 62, "A4", 0, false},
    {735, 62, "A4", 0, false},
    {702, 62, "A4", 0, false},
    {200, 67, "B4", 0, true},
    {300, 142, "B4", 3, true},
    {420, 89, "B4", 1, true},
    {557, 119, "B4", 2, true},
    {250, 67, "C5", 0, true},
    {340, 142, "C5", 3, true},
    {457, 89, "C5", 1, true},
    {585, 119, "C5", 2, true},
    {340, 67, "D5", 0, true},
    {420, 142, "D5", 3, true},
    {525, 89, "D5", 1, true},
    {638, 119, "D5", 2, true},
    {420, 64, "E5", 0, true},
    {490, 149, "E5", 3, true},
    {587, 89, "E5", 1, true},
    {455, 64, "F5", 0, true},
    {525, 149, "F5", 3, true},
    {615, 89, "F5", 1, true},
    {526, 64, "G5", 0, true},
    {585, 149, "G5", 3, true},
    {665, 89, "G5", 1, true},
    {585, 64, "A5", 0, true},
    {640, 149, "A5", 3, true},
    {640, 64, "B5", 0, true},
    {670, 64, "C6", 0, true},
    {148, 119, "C4#", 2, true},
    {250, 119, "D4#", 2, true},
    {200, 89, "F4#", 1, true},
    {380, 119, "F4#", 2, true},
    {150, 139, "G4#", 3, true},
    {300, 89, "G4#", 1, true},
    {460, 119, "G4#", 2, true},
    {150, 69, "A4#", 0, true},
    {250, 144, "A4#", 3, true},
    {380, 89, "A4#", 1, true},
    {525, 119, "A4#", 2, true},
    {300, 64, "C5#", 0, true},
    {380, 144, "C5#", 3, true},
    {495, 89, "C5#", 1, true},
    {615, 119, "C5#", 2, true},
    {380, 64, "D5#", 0, true},
    {455, 144, "D5#", 3, true},
    {555, 89, "D5#", 1, true},
    {665, 119, "D5#", 2, true},
    {495, 64, "F5#", 0, true},
    {555, 144, "F5#", 3, true},
    {640, 89, "F5#", 1, true},
    {555, 64, "G5#", 0, true},
    {615, 144, "G5#", 3, true},
    {615, 64, "A5#", 0, true},
    {665, 144, "A5#", 3, true},
};
inline constexpr const char* kUkuleleLayers[] = {
    "C4", "Cd4", "D4", "Dd4", "E4", "F4", "Fd4", "G4", "Gd4", "A4", "Ad4", "B4", "C5", "Cd5", "D5",
    "Dd5", "E5", "F5", "Fd5", "G5", "Gd5", "A5", "Ad5", "B5", "C6"};
inline constexpr const char* kUkuleleTraining[] = {
    "C4", "C5", "C6", "D4", "D5", "E4", "E5", "F4", "F5", "G4", "G5", "A4", "A5", "B4", "B5", "G4#",
    "G5#", "A4#", "A5#", "C4#", "C5#", "D4#", "D5#", "F4#", "F5#"};

// Violin: 32 hot spots in walk order.
inline constexpr HotSpot kViolinSpots[] = {
    {185, 114, "G3", 3, true},
    {304, 119, "A3", 3, true},
    {422, 122, "B3", 3, true},
    {475, 124, "C4", 3, true},
    {185, 97, "D4", 2, true},
    {582, 125, "D4", 3, true},
    {304, 100, "E4", 2, true},
    {364, 101, "F4", 2, true},
    {476, 101, "G4", 2, true},
    {185, 80, "A4", 1, true},
    {582, 99, "A4", 2, true},
    {304, 80, "B4", 1, true},
    {365, 77, "C5", 1, true},
    {475, 74, "D5", 1, true},
    {185, 61, "E5", 0, true},
    {580, 74, "E5", 1, true},
    {245, 56, "F5", 0, true},
    {365, 52, "G5", 0, true},
    {476, 49, "A5", 0, true},
    {580, 45, "B5", 0, true},
    {246, 121, "G3#", 3, true},
    {366, 121, "A3#", 3, true},
    {529, 125, "C4#", 3, true},
    {246, 101, "D4#", 2, true},
    {423, 102, "F4#", 2, true},
    {530, 102, "G4#", 2, true},
    {246, 81, "A4#", 1, true},
    {424, 78, "C5#", 1, true},
    {528, 76, "D5#", 1, true},
    {306, 54, "F5#", 0, true},
    {422, 51, "G5#", 0, true},
    {529, 49, "A5#", 0, true},
};
inline constexpr const char* kViolinLayers[] = {
    "A3", "A4", "A5", "Ad3", "Ad4", "Ad5", "B3", "B4", "B5", "C4", "C5", "Cd4", "Cd5", "D4", "D5",
    "Dd4", "Dd5", "E4", "E5", "F4", "F5", "Fd4", "Fd5", "G3", "G4", "G5", "Gd3", "Gd4", "Gd5"};
inline constexpr const char* kViolinTraining[] = {
    "C4", "C5", "D4", "D5", "E4", "E5", "F4", "F5", "G3", "G4", "G5", "A3", "A4", "A5", "B3", "B4",
    "B5", "G3#", "G4#", "G5#", "A3#", "A4#", "A5#", "C4#", "C5#", "D4#", "D5#", "F4#", "F5#"};

// Bass: 88 hot spots in walk order.
inline constexpr HotSpot kBassSpots[] = {
    {73, 103, "E1", 3, true},
    {785, 112, "E1", 3, false},
    {117, 104, "F1", 3, true},
    {221, 105, "G1", 3, true},
    {73, 91, "A1", 2, true},
    {315, 107, "A1", 3, true},
    {785, 94, "A1", 2, false},
    {171, 91, "B1", 2, true},
    {396, 108, "B1", 3, true},
    {221, 91, "C2", 2, true},
    {435, 108, "C2", 3, true},
    {73, 79, "D2", 1, true},
    {315, 91, "D2", 2, true},
    {506, 111, "D2", 3, true},
    {785, 75, "D2", 1, false},
    {170, 79, "E2", 1, true},
    {397, 92, "E2", 2, true},
    {569, 112, "E2", 3, true},
    {223, 78, "F2", 1, true},
    {434, 93, "F2", 2, true},
    {597, 112, "F2", 3, true},
    {73, 67, "G2", 0, true},
    {318, 77, "G2", 1, true},
    {507, 95, "G2", 2, true},
    {649, 113, "G2", 3, true},
    {785, 56, "G2", 0, false},
    {171, 69, "A2", 0, true},
    {399, 79, "A2", 1, true},
    {568, 95, "A2", 2, true},
    {698, 114, "A2", 3, true},
    {271, 64, "B2", 0, true},
    {473, 78, "B2", 1, true},
    {624, 94, "B2", 2, true},
    {738, 114, "B2", 3, true},
    {316, 64, "C3", 0, true},
    {506, 77, "C3", 1, true},
    {650, 96, "C3", 2, true},
    {758, 114, "C3", 3, true},
    {398, 63, "D3", 0, true},
    {568, 77, "D3", 1, true},
    {696, 96, "D3", 2, true},
    {472, 61, "E3", 0, true},
    {625, 77, "E3", 1, true},
    {739, 96, "E3", 2, true},
    {507, 62, "F3", 0, true},
    {649, 77, "F3", 1, true},
    {758, 97, "F3", 2, true},
    {569, 61, "G3", 0, true},
    {696, 77, "G3", 1, true},
    {625, 59, "A3", 0, true},
    {739, 76, "A3", 1, true},
    {674, 58, "B3", 0, true},
    {697, 59, "C4", 0, true},
    {735, 58, "D4", 0, true},
    {170, 105, "F1#", 3, true},
    {270, 109, "G1#", 3, true},
    {116, 91, "A1#", 2, true},
    {358, 107, "A1#", 3, true},
    {270, 91, "C2#", 2, true},
    {472, 109, "C2#", 3, true},
    {115, 78, "D2#", 1, true},
    {359, 93, "D2#", 2, true},
    {538, 111, "D2#", 3, true},
    {268, 77, "F2#", 1, true},
    {471, 93, "F2#", 2, true},
    {625, 112, "F2#", 3, true},
    {114, 67, "G2#", 0, true},
    {357, 77, "G2#", 1, true},
    {539, 94, "G2#", 2, true},
    {674, 113, "G2#", 3, true},
    {222, 67, "A2#", 0, true},
    {437, 77, "A2#", 1, true},
    {598, 94, "A2#", 2, true},
    {719, 113, "A2#", 3, true},
    {358, 64, "C3#", 0, true},
    {539, 77, "C3#", 1, true},
    {674, 94, "C3#", 2, true},
    {437, 63, "D3#", 0, true},
    {598, 76, "D3#", 1, true},
    {718, 95, "D3#", 2, true},
    {538, 59, "F3#", 0, true},
    {673, 77, "F3#", 1, true},
    {597, 60, "G3#", 0, true},
    {718, 76, "G3#", 1, true},
    {649, 58, "A3#", 0, true},
    {759, 78, "A3#", 1, true},
    {719, 59, "C4#", 0, true},
    {759, 58, "D4#", 0, true},
};
inline constexpr const char* kBassLayers[] = {
    "A1", "A2", "A3", "Ad1", "Ad2", "Ad3", "B1", "B2", "B3", "C2", "C3", "C4", "Cd2", "Cd3", "Cd4",
    "D2", "D3", "D4", "Dd2", "Dd3", "Dd4", "E1", "E2", "E3", "F1", "F2", "F3", "Fd1", "Fd2", "Fd3",
    "G1", "G2", "G3", "Gd1", "Gd2", "Gd3"};
inline constexpr const char* kBassTraining[] = {
    "C2", "C3", "C4", "D2", "D3", "D4", "E1", "E2", "E3", "F1", "F2", "F3", "G1", "G2", "G3", "A1",
    "A2", "A3", "B1", "B2", "B3", "G1#", "G2#", "G3#", "A1#", "A2#", "A3#", "C2#", "C3#", "C4#",
    "D2#", "D3#", "D4#", "F1#", "F2#", "F3#"};

// Where the stopped positions lie along the neck (x in the frame): the open-string spot at the nut,
// then the spot behind each fret. Fret wires lie halfway between neighbouring spots.
inline constexpr int kBalalaikaFrets[] = {124, 177, 228, 279, 329, 374, 415, 451, 490, 522, 554,
                                          583, 611, 638, 661, 685, 705, 725, 743, 761};
inline constexpr int kBanjoFrets[] = {81, 118, 170, 220, 264, 307, 348, 386, 422, 456, 488, 518,
                                      546, 574, 599, 623, 646, 667, 688, 706, 724, 741, 757};
inline constexpr int kMandolinFrets[] = {190, 231, 275, 316, 354, 391, 427, 458, 488, 517, 545,
                                         571, 596, 618, 640, 660, 680, 698};
inline constexpr int kGuitarFrets[] = {106, 141, 183, 223, 261, 300, 335, 371, 405, 438, 470, 500,
                                       532, 559, 587, 613, 638, 662, 684, 707, 728, 749, 767};
inline constexpr int kUkuleleFrets[] = {92, 150, 200, 250, 299, 340, 380, 420, 457, 493, 525, 556,
                                        586, 615, 640, 666};
inline constexpr int kViolinFrets[] = {185, 246, 305, 365, 423, 476, 529, 581};
inline constexpr int kBassFrets[] = {73, 116, 171, 222, 270, 316, 358, 398, 436, 472, 507, 539, 569,
                                     598, 625, 649, 674, 697, 719, 738, 759};

#define RIRURUD_BOARD_TABLE(Name, strings)                                                   \
    inline constexpr BoardTable k##Name{#Name,                                               \
                                        k##Name##Spots, std::size(k##Name##Spots),           \
                                        k##Name##Layers, std::size(k##Name##Layers),         \
                                        k##Name##Training, std::size(k##Name##Training),     \
                                        k##Name##Frets, std::size(k##Name##Frets), strings};

// Balalaika: strings A4 (top), E4, E4. Banjo: D4 (top), B3, G3, D3 and the short G4 string that
// starts at the fifth fret. Mandolin: courses E5 (top), A4, D4, G3. Guitar: E4 (top), B3, G3, D3, A2, E2.
// Ukulele: A4 (top), E4, C4, G4. Violin: E5 (top), A4, D4, G3; its "frets" are the seven stopped
// places of each string. Bass: G2 (top), D2, A1, E1.
RIRURUD_BOARD_TABLE(Balalaika, 3)
RIRURUD_BOARD_TABLE(Banjo, 5)
RIRURUD_BOARD_TABLE(Mandolin, 4)
RIRURUD_BOARD_TABLE(Guitar, 6)
RIRURUD_BOARD_TABLE(Ukulele, 4)
RIRURUD_BOARD_TABLE(Violin, 4)
RIRURUD_BOARD_TABLE(Bass, 4)
#undef RIRURUD_BOARD_TABLE

inline constexpr const BoardTable* kAllBoards[] = {&kBalalaika, &kBanjo,   &kMandolin, &kGuitar,
                                                   &kUkulele,   &kViolin, &kBass};

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

// True when the frame point (x, y) lies in the box of the spot centred at (spotX, spotY).
inline bool inBox(int spotX, int spotY, int x, int y)
{
    return x >= spotX - kBoxLeft && x <= spotX + kBoxRight && y >= spotY - kBoxTop && y <= spotY + kBoxBottom;
}

// The spot whose box first holds the frame point (x, y) in walk order, or -1: the rule a click
// follows.
inline int firstHit(const BoardTable& table, int x, int y)
{
    for (std::size_t i = 0; i < table.spotCount; ++i) {
        if (inBox(table.spots[i].x, table.spots[i].y, x, y))
            return int(i);
    }
    return -1;
}

inline bool sameNote(const char* a, const char* b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// The fretted board named `name` ("Banjo"), or nullptr.
inline const BoardTable* boardNamed(const char* name)
{
    for (const BoardTable* table : kAllBoards) {
        if (std::strcmp(table->name, name) == 0)
            return table;
    }
    return nullptr;
}

// ------------------------------------------------------------------------------------------------
// The piano: 88 keys from A0 to C8 in rising pitch, each with its ranges of x in the 800 x 194
// frame (lo <= x < hi). A point in the lower band (112 <= y < 135) is on the white key whose lower
// range holds it; in the upper band (69 <= y < 112) the black keys are tried first, in rising
// pitch, then the upper parts of the white keys. Where the lower and upper range of a white key
// disagree, the picture draws the key after its lower range.

inline constexpr float kPianoUpperTop = 69.0f;
inline constexpr float kPianoLowerTop = 112.0f;
inline constexpr float kPianoLowerBottom = 135.0f;

struct PianoKey
{
    const char* note;   // board form: "A0", "A0#"
    bool black;
    int lo, hi;         // white key: its lower range; black key: its range in the upper band
    int upperLo, upperHi;   // white key: the range of its upper part (0, 0 for a black key)
};

inline constexpr PianoKey kPianoKeys[] = {
    {"A0", false, 20, 37, 22, 32}, {"A0#", true, 32, 42, 0, 0}, {"B0", false, 37, 51, 43, 50},
    {"C1", false, 51, 65, 51, 61}, {"C1#", true, 60, 71, 0, 0}, {"D1", false, 65, 79, 71, 74},
    {"D1#", true, 75, 85, 0, 0}, {"E1", false, 79, 94, 86, 93}, {"F1", false, 94, 109, 94, 104},
    {"F1#", true, 105, 115, 0, 0}, {"G1", false, 109, 123, 115, 119}, {"G1#", true, 119, 129, 0, 0},
    {"A1", false, 123, 138, 130, 133}, {"A1#", true, 134, 144, 0, 0},
    {"B1", false, 138, 153, 144, 152}, {"C2", false, 153, 167, 153, 162},
    {"C2#", true, 162, 172, 0, 0}, {"D2", false, 167, 182, 173, 177}, {"D2#", true, 178, 188, 0, 0},
    {"E2", false, 182, 197, 188, 196}, {"F2", false, 197, 212, 197, 206},
    {"F2#", true, 207, 217, 0, 0}, {"G2", false, 212, 226, 217, 221}, {"G2#", true, 222, 232, 0, 0},
    {"A2", false, 226, 241, 232, 236}, {"A2#", true, 237, 247, 0, 0},
    {"B2", false, 241, 256, 247, 255}, {"C3", false, 256, 271, 256, 266},
    {"C3#", true, 266, 276, 0, 0}, {"D3", false, 271, 285, 276, 280}, {"D3#", true, 280, 290, 0, 0},
    {"E3", false, 285, 299, 290, 298}, {"F3", false, 299, 315, 299, 310},
    {"F3#", true, 311, 321, 0, 0}, {"G3", false, 315, 330, 320, 325}, {"G3#", true, 326, 336, 0, 0},
    {"A3", false, 330, 344, 335, 339}, {"A3#", true, 340, 350, 0, 0},
    {"B3", false, 344, 358, 350, 357}, {"C4", false, 358, 373, 358, 368},
    {"C4#", true, 369, 379, 0, 0}, {"D4", false, 373, 388, 379, 383}, {"D4#", true, 382, 392, 0, 0},
    {"E4", false, 388, 403, 393, 402}, {"F4", false, 403, 418, 403, 413},
    {"F4#", true, 414, 424, 0, 0}, {"G4", false, 418, 432, 422, 428}, {"G4#", true, 428, 438, 0, 0},
    {"A4", false, 432, 447, 438, 442}, {"A4#", true, 443, 453, 0, 0},
    {"B4", false, 447, 462, 452, 461}, {"C5", false, 462, 477, 460, 472},
    {"C5#", true, 472, 482, 0, 0}, {"D5", false, 477, 491, 483, 487}, {"D5#", true, 487, 497, 0, 0},
    {"E5", false, 491, 505, 497, 504}, {"F5", false, 505, 520, 505, 515},
    {"F5#", true, 516, 526, 0, 0}, {"G5", false, 520, 535, 525, 530}, {"G5#", true, 530, 540, 0, 0},
    {"A5", false, 535, 550, 540, 544}, {"A5#", true, 545, 555, 0, 0},
    {"B5", false, 550, 564, 555, 563}, {"C6", false, 564, 579, 563, 573},
    {"C6#", true, 574, 584, 0, 0}, {"D6", false, 579, 594, 585, 589}, {"D6#", true, 589, 599, 0, 0},
    {"E6", false, 594, 609, 599, 608}, {"F6", false, 609, 623, 609, 618},
    {"F6#", true, 619, 629, 0, 0}, {"G6", false, 623, 638, 627, 634}, {"G6#", true, 634, 644, 0, 0},
    {"A6", false, 638, 653, 644, 647}, {"A6#", true, 648, 658, 0, 0},
    {"B6", false, 653, 667, 658, 666}, {"C7", false, 667, 682, 667, 678},
    {"C7#", true, 678, 688, 0, 0}, {"D7", false, 682, 697, 684, 692}, {"D7#", true, 693, 703, 0, 0},
    {"E7", false, 697, 711, 704, 710}, {"F7", false, 711, 726, 711, 721},
    {"F7#", true, 722, 732, 0, 0}, {"G7", false, 726, 741, 730, 736}, {"G7#", true, 737, 747, 0, 0},
    {"A7", false, 741, 756, 747, 757}, {"A7#", true, 752, 762, 0, 0},
    {"B7", false, 756, 776, 760, 770}, {"C8", false, 776, 790, 770, 784},
};
inline constexpr std::size_t kPianoKeyCount = std::size(kPianoKeys);

// The key under the frame point (xs, ys), compared as they are (no rounding): its index in
// kPianoKeys (key number - 1), or -1 on no key.
inline int pianoKeyAt(float xs, float ys)
{
    const auto walk = [&](bool black, bool upper) {
        for (std::size_t i = 0; i < kPianoKeyCount; ++i) {
            const PianoKey& k = kPianoKeys[i];
            if (k.black != black)
                continue;
            const int lo = upper && !black ? k.upperLo : k.lo;
            const int hi = upper && !black ? k.upperHi : k.hi;
            if (xs >= float(lo) && xs < float(hi))
                return int(i);
        }
        return -1;
    };
    if (ys >= kPianoLowerTop && ys < kPianoLowerBottom)
        return walk(false, false);
    if (ys >= kPianoUpperTop && ys < kPianoLowerTop) {
        const int key = walk(true, true);
        return key >= 0 ? key : walk(false, true);
    }
    return -1;
}

} // namespace BoardTables
} // namespace RIRurud
