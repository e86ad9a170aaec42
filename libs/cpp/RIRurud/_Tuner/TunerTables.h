#pragma once

// The reference-tone tuners as data: one row per instrument page, the concert pitches the pitch
// menu offers, and the maker's applications the pages point to.
//
// Plain C++ data, no Qt: the tuner pages compile these tables, and the build-time generators read
// the same header (the sound generator renders a tone file for every string of every row at every
// concert pitch, the picture generator draws every row's picture and explorer button), so a page
// never names a file the build did not make.

#include <cstddef>

namespace RIRurud {
namespace TunerTables {

// The concert pitch (A4 in Hz) used when none is stored, or what is stored is no pitch.
inline constexpr int kDefaultPitch = 440;

// The pitch menu, in menu order.
struct ConcertPitch
{
    int hz;
    const char* title;
};

inline constexpr ConcertPitch kConcertPitches[] = {
    {415, "A4:415Hz (Baroque Pitch)"},
    {430, "A4:430Hz (Scintific Pitch)"},
    {435, "A4:435Hz (France1859 Pitch)"},
    {439, "A4:439Hz (New Philarmonic Pitch)"},
    {440, "A4:440Hz (Concert Pitch)"},
    {442, "A4:442Hz (Boston Symphony Orchestra Pitch)"},
    {443, "A4:443Hz (New Berliner Philharmonic Pitch)"},
    {445, "A4:445Hz (Old Berliner Philharmonic Pitch)"},
    {452, "A4:452Hz (Old Philarmonic Pitch)"},
    {460, "A4:460Hz (Renaissance Pitch)"},
};

// The instrument shop (of ShopLinks.h, in its row order) whose store pages a tuner page links to.
enum class Shop : int { Ukulele, Guitar, Banjo, Bass, Balalaika, Piano, Mandolin, Violin };

inline constexpr int kMaxStrings = 6;

// One tuner page. From `name` come its picture (":/" + name + ".jpg"), its explorer button (object
// name name + "Button", faces ":/" + name + "Button.png" and so on), the explorer's caption and its
// slot and signal names. Tone files are "<prefix>_<concert pitch>_<string>.mp3"; strings are in key
// order, left to right on the page, each a capital letter and an octave digit.
struct Tuner
{
    const char* name;
    const char* prefix;
    const char* strings[kMaxStrings];
    int stringCount;
    const char* articles[3];   // encyclopedia article titles: English, German, French (UTF-8)
    Shop shop;
    int stackIndex;            // place in the main page's stack
    int explorerRow;           // place of the button in the explorer's grid (0..3, top first)
    int explorerColumn;
};

enum Id { Violin, Viola, Cello, DoubleBass, Guitar, BassGuitar, Ukulele, Banjo, Balalaika, Mandolin, Dombra };
inline constexpr int kTunerCount = 11;

// In the order the main page creates the pages. The violin and the viola share the prefix
// "violine", so the viola's G3, D4 and A4 are the violin's files; the balalaika's two E4 strings
// share one file. The bass guitar's B0 string shows only in its five-string mode.
inline constexpr Tuner kTuners[kTunerCount] = {
    {"Violin", "violine", {"G3", "D4", "A4", "E5"}, 4,
     {"Violin", "Violine", "Violon"}, Shop::Violin, 4, 0, 1},
    {"Viola", "violine", {"C3", "G3", "D4", "A4"}, 4,
     {"Viola", "Bratsche", "Alto_(instrument_\xc3\xa0_cordes)"}, Shop::Violin, 5, 1, 1},
    {"Cello", "cello", {"C2", "G2", "D3", "A3"}, 4,
     {"Cello", "Violoncello", "Violoncelle"}, Shop::Violin, 6, 2, 1},
    {"DoubleBass", "doublebass", {"E1", "A1", "D2", "G2"}, 4,
     {"Double_bass", "Kontrabass", "Contrebasse"}, Shop::Violin, 7, 3, 1},
    {"Guitar", "guitar", {"E2", "A2", "D3", "G3", "B3", "E4"}, 6,
     {"Guitar", "Gitarre", "Guitare"}, Shop::Guitar, 0, 0, 0},
    {"BassGuitar", "bassguitar", {"B0", "E1", "A1", "D2", "G2"}, 5,
     {"Bass_guitar", "E-Bass", "Guitare_basse"}, Shop::Bass, 1, 1, 0},
    {"Ukulele", "ukulele", {"G4", "C4", "E4", "A4"}, 4,
     {"Ukulele", "Ukulele", "Ukul\xc3\xa9l\xc3\xa9"}, Shop::Ukulele, 2, 2, 0},
    {"Banjo", "banjo", {"G4", "D3", "G3", "B3", "D4"}, 5,
     {"Banjo", "Banjo", "Banjo"}, Shop::Banjo, 3, 3, 0},
    {"Balalaika", "balalaika", {"E4", "E4", "A4"}, 3,
     {"Balalaika", "Balalaika", "Balala\xc3\xafka"}, Shop::Balalaika, 8, 1, 2},
    {"Mandolin", "mandolin", {"G3", "D4", "A4", "E5"}, 4,
     {"Mandolin", "Mandoline", "Mandoline"}, Shop::Mandolin, 9, 0, 2},
    {"Dombra", "dombra", {"D3", "G3"}, 2,
     {"Dombra", "Dombra", "Dombra"}, Shop::Balalaika, 10, 2, 2},
};

// The explorer's twelfth button, in the last cell of its grid: the maker's chord book.
inline constexpr int kHarmoluxRow = 3;
inline constexpr int kHarmoluxColumn = 2;

// An application of the maker, as the pages' More menus and the explorer link to it: its page in
// the application store is built from the store name and identifier.
struct AppRow
{
    const char* icon;      // compiled-in 64 x 64 picture
    const char* title;
    const char* storeName;
    const char* storeId;
};

inline constexpr AppRow kHarmolux = {":/PromoChordBook.png", "Harmolux", "Harmolux", "id2046318224"};

// The More menu of every page lists these two groups of applications, each followed by a separator.
inline constexpr AppRow kAppRowsFirst[] = {
    {":/PromoTonarix.png", "Tonarix", "Tonarix", "id2046317488"},
    {":/PromoGuitarTonarix.png", "Guitar Tonarix", "GuitarTonarix", "id2046317512"},
    {":/PromoUkuleleTonarix.png", "Ukulele Tonarix", "UkuleleTonarix", "id2046317530"},
    {":/PromoViolinTonarix.png", "Violin Tonarix", "ViolinTonarix", "id2046317547"},
    {":/PromoBassTonarix.png", "Bass Tonarix", "BassTonarix", "id2046317563"},
    {":/PromoMandolinTonarix.png", "Mandolin Tonarix", "MandolinTonarix", "id2046317581"},
};
inline constexpr AppRow kAppRowsSecond[] = {
    kHarmolux,
    {":/PromoMetronome.png", "Metronome", "Metronome", "id2046318240"},
    {":/PromoTransposer.png", "Transposer", "Transposer", "id2046318257"},
};

// Every stack index and every explorer cell is used once.
constexpr bool placesAreUnique()
{
    for (int a = 0; a < kTunerCount; ++a) {
        if (kTuners[a].stackIndex < 0 || kTuners[a].stackIndex >= kTunerCount)
            return false;
        if (kTuners[a].explorerRow == kHarmoluxRow && kTuners[a].explorerColumn == kHarmoluxColumn)
            return false;
        for (int b = a + 1; b < kTunerCount; ++b) {
            if (kTuners[a].stackIndex == kTuners[b].stackIndex)
                return false;
            if (kTuners[a].explorerRow == kTuners[b].explorerRow && kTuners[a].explorerColumn == kTuners[b].explorerColumn)
                return false;
        }
    }
    return true;
}
static_assert(placesAreUnique(), "two tuner pages share a stack index or an explorer cell");

} // namespace TunerTables
} // namespace RIRurud
