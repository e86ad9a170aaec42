#pragma once

// The instrument finder widgets and pages as data: one row per instrument gives everything in which
// the members of the family differ (staff settings, side pictures, object names). FinderWidget and
// FinderMainPage build any member from its row. Plain constexpr data, so the picture generator can
// read the same resource names.

namespace RIRurud {
namespace FinderTables {

// Which staves the staff draws.
enum class Staves { Both, TrebleOnly, BassOnly };

struct FinderSpec
{
    const char* instrumentName;     // given to the staff (chooses its position table)
    bool configuresStaff;           // false: the staff keeps its own line settings
    float paperHeightFactor;
    int startLine;
    int lines;
    int translateLines;
    Staves staves;
    const char* staffObjectName;    // nullptr: the decorated staff keeps its default name
    const char* leftPicture;
    const char* leftObjectName;
    const char* rightPicture;
    const char* rightObjectName;
    const char* pageObjectName;
    bool hasModes;                  // the board has Find Note / Training buttons
};

inline constexpr FinderSpec kBanjo = {
    "Banjo", true, 1.42f, 8, 19, 5, Staves::TrebleOnly, "DecoratedNotesWidgetBanjo",
    ":/banjoleft.jpg", "BanjoLeftLabel", ":/banjoright.jpg", "BanjoRightLabel",
    "BanjoTonarixMainPage", true};

inline constexpr FinderSpec kBalalaika = {
    "Balalaika", true, 1.53f, 7, 15, 6, Staves::TrebleOnly, "DecoratedNotesWidgetBalalaika",
    ":/balalaikaleft.jpg", "BalalaikaLeftLabel", ":/balalaikaright.jpg", "BalalaikaRightLabel",
    "BalalaikaTonarixMainPage", true};

inline constexpr FinderSpec kMandolin = {
    "Mandolin", true, 1.42f, 6, 17, 5, Staves::TrebleOnly, "DecoratedNotesWidgetMandolin",
    ":/mandolinleft.jpg", "MandolinLeftLabel", ":/mandolinright.jpg", "MandolinRightLabel",
    "MandolinTonarixMainPage", true};

// The pages of the other five instruments. The piano's staff keeps its own settings and name, and
// its board has no modes; the guitar's board is a GuitarBoard, the others derive from BoardBase.
inline constexpr FinderSpec kPiano = {
    "piano", false, 1.0f, 0, 27, 0, Staves::Both, nullptr,
    ":/pianoleft.png", "PianoLeftLabel", ":/pianoright.png", "PianoRightLabel",
    "PianoZevezerMainPage", false};

inline constexpr FinderSpec kUkulele = {
    "Ukulele", true, 1.6f, 8, 16, 6, Staves::TrebleOnly, "DecoratedNotesWidgetUkulele",
    ":/ukuleft.jpg", "UkuleleLeftLabel", ":/ukuright.jpg", "UkuleleRightLabel",
    "UkuleleZevezerMainPage", true};

inline constexpr FinderSpec kGuitar = {
    "guitar", true, 1.3f, 8, 22, 5, Staves::Both, "DecoratedNotesWidgetGuitar",
    ":/guitarleft.jpg", "GuitarLeftLabel", ":/guitarright.jpg", "GuitarRightLabel",
    "GuitarZevezerMainPage", true};

inline constexpr FinderSpec kViolin = {
    "Violin", true, 1.55f, 8, 17, 6, Staves::TrebleOnly, "DecoratedNotesWidgetViolin",
    ":/violinleft.jpg", "ViolinLeftLabel", ":/violinright.jpg", "ViolinRightLabel",
    "ViolinZevezerMainPage", true};

inline constexpr FinderSpec kBass = {
    "Bass", true, 1.94f, 15, 25, 12, Staves::BassOnly, "DecoratedNotesWidgetBass",
    ":/bassleft.jpg", "BassLeftLabel", ":/bassright.jpg", "BassRightLabel",
    "BassZevezerMainPage", true};

} // namespace FinderTables
} // namespace RIRurud
