#pragma once

// The chord book as data: the roots and qualities every chord page offers, and one table of 132
// chords per instrument (index = root x 11 + quality). Plain constexpr C++ without Qt, so that the
// chord pages, the picture generator and the tests read the very same fingerings: the picture of a
// chord is drawn from the frets the page sounds.

#include <cstddef>

namespace RIRurud {
namespace ChordTables {

inline constexpr int kRootCount = 12;
inline constexpr int kQualityCount = 11;
inline constexpr int kChordCount = kRootCount * kQualityCount;

// Root index -> semitones above C of the root: A, A flat, B, B flat, C, D, D flat, E, E flat, F, G,
// G flat.
inline constexpr int kRootPitchClass[kRootCount] = {9, 8, 11, 10, 0, 2, 1, 4, 3, 5, 7, 6};

// Quality index -> the suffix of the chord name ("" for major).
inline constexpr const char* kQualitySuffix[kQualityCount] = {
    "", "m", "aug", "dim", "6", "m6", "7", "maj7", "m7", "9", "sus4"};

// Note names of the sound files: semitone above C -> letter and "d" for a sharp.
inline constexpr const char* kSoundNoteNames[12] = {"C", "Cd", "D", "Dd", "E", "F", "Fd", "G", "Gd", "A", "Ad", "B"};

// MIDI key 60 is C4 (middle C).
inline constexpr int octaveOfKey(int midiKey) { return midiKey / 12 - 1; }
inline constexpr int pitchClassOfKey(int midiKey) { return ((midiKey % 12) + 12) % 12; }

// ------------------------------------------------------------------------------------------------
// Ukulele: four strings in re-entrant tuning, given from string 1 (the high G) to string 4 (A).
// A fingering is one fret per string; 0 is the open string, a negative fret a muted one.

inline constexpr int kUkuleleStrings = 4;
inline constexpr int kUkuleleOpenKey[kUkuleleStrings] = {67, 60, 64, 69};   // G4 C4 E4 A4
// The sound bank holds every note up to this fret on every string.
inline constexpr int kUkuleleLastFret = 8;

inline constexpr signed char kUkulele[kChordCount][kUkuleleStrings] = {
    // A: major, m, aug, dim, 6, m6, 7, maj7, m7, 9, sus4
    {2, 1, 0, 0}, {2, 0, 0, 0}, {2, 1, 1, 4}, {2, 3, 2, 3}, {2, 4, 2, 4}, {2, 4, 2, 3},
    {0, 1, 0, 0}, {2, 4, 4, 4}, {2, 4, 3, 3}, {0, 1, 0, 2}, {2, 2, 0, 0},
    // A flat
    {1, 3, 4, 3}, {1, 3, 4, 2}, {1, 0, 0, 3}, {1, 2, 1, 2}, {1, 3, 1, 3}, {1, 3, 1, 2},
    {1, 3, 2, 3}, {1, 3, 3, 3}, {1, 3, 2, 2}, {3, 3, 2, 3}, {1, 3, 4, 4},
    // B
    {4, 3, 2, 2}, {4, 2, 2, 2}, {4, 3, 3, 2}, {1, 2, 1, 2}, {1, 3, 2, 2}, {1, 2, 2, 2},
    {2, 3, 2, 2}, {4, 3, 2, 1}, {2, 2, 2, 2}, {2, 3, 2, 4}, {4, 4, 2, 2},
    // B flat
    {3, 2, 1, 1}, {3, 1, 1, 1}, {3, 2, 2, 5}, {0, 1, 0, 1}, {0, 2, 1, 1}, {0, 1, 1, 1},
    {1, 2, 1, 1}, {3, 2, 1, 0}, {1, 1, 1, 1}, {1, 2, 1, 3}, {3, 3, 1, 1},
    // C
    {0, 0, 0, 3}, {0, 3, 3, 3}, {1, 0, 0, 3}, {2, 3, 2, 3}, {0, 4, 5, 3}, {2, 3, 3, 3},
    {0, 0, 0, 1}, {0, 0, 0, 2}, {3, 3, 3, 3}, {0, 2, 0, 1}, {0, 0, 1, 3},
    // D
    {2, 2, 2, 0}, {2, 2, 1, 0}, {3, 2, 2, 5}, {1, 2, 1, 2}, {2, 2, 2, 2}, {2, 2, 1, 2},
    {2, 2, 2, 3}, {2, 2, 2, 4}, {2, 2, 1, 3}, {2, 4, 2, 3}, {2, 2, 3, 0},
    // D flat
    {1, 1, 1, 4}, {1, 1, 0, 4}, {2, 1, 1, 4}, {0, 1, 0, 1}, {1, 1, 1, 1}, {1, 1, 0, 1},
    {1, 1, 1, 2}, {1, 1, 1, 3}, {1, 1, 0, 2}, {1, 3, 1, 2}, {1, 1, 2, 4},
    // E (sus4: the G string at fret 4 sounds B, the fifth)
    {4, 4, 4, 2}, {4, 4, 3, 2}, {1, 0, 0, 3}, {0, 1, 0, 1}, {4, 4, 4, 4}, {0, 1, 0, 2},
    {1, 2, 0, 2}, {1, 3, 0, 2}, {0, 2, 0, 2}, {1, 2, 2, 2}, {4, 4, 5, 2},
    // E flat (sus4: the G string at fret 3 sounds B flat, the fifth)
    {0, 3, 3, 1}, {3, 3, 2, 1}, {4, 3, 3, 2}, {2, 3, 2, 3}, {3, 3, 3, 3}, {3, 3, 2, 3},
    {3, 3, 3, 4}, {3, 3, 3, 5}, {3, 3, 2, 4}, {0, 1, 1, 1}, {3, 3, 4, 1},
    // F
    {2, 0, 1, 0}, {1, 0, 1, 3}, {2, 1, 1, 4}, {1, 2, 1, 2}, {2, 2, 1, 3}, {1, 2, 1, 3},
    {2, 3, 1, 3}, {2, 4, 1, 3}, {1, 3, 1, 3}, {2, 3, 3, 3}, {3, 0, 1, 3},
    // G
    {0, 2, 3, 2}, {0, 2, 3, 1}, {4, 3, 3, 2}, {0, 1, 0, 1}, {0, 2, 0, 2}, {0, 2, 0, 1},
    {0, 2, 1, 2}, {0, 2, 2, 2}, {0, 2, 1, 1}, {2, 2, 1, 2}, {0, 2, 3, 3},
    // G flat
    {3, 1, 2, 1}, {2, 1, 2, 4}, {3, 2, 2, 5}, {2, 3, 2, 3}, {3, 3, 2, 4}, {2, 3, 2, 4},
    {3, 4, 2, 4}, {3, 5, 2, 4}, {2, 4, 2, 4}, {1, 1, 0, 1}, {4, 1, 2, 4},
};

// ------------------------------------------------------------------------------------------------
// Piano: 24 keys from C3 (key 0) to B4 (key 23). A chord is the list of its pressed keys, rising;
// -1 ends a list of fewer than five.

inline constexpr int kPianoKeys = 24;
inline constexpr int kPianoLowestKey = 48;   // MIDI key of C3
inline constexpr int kPianoMaxPressed = 5;

inline constexpr signed char kPiano[kChordCount][kPianoMaxPressed] = {
    // A: major, m, aug, dim, 6, m6, 7, maj7, m7, 9, sus4
    {9, 13, 16, -1, -1}, {0, 4, 9, -1, -1}, {5, 9, 13, -1, -1}, {0, 3, 6, 9, -1},
    {6, 9, 13, 16, -1}, {9, 12, 16, 18, -1}, {9, 13, 16, 19, -1}, {9, 13, 16, 20, -1},
    {9, 12, 16, 19, -1}, {9, 13, 16, 19, 23}, {9, 14, 16, -1, -1},
    // A flat
    {8, 12, 15, -1, -1}, {8, 11, 15, -1, -1}, {0, 4, 8, -1, -1}, {2, 5, 8, 11, -1},
    {5, 8, 12, 15, -1}, {8, 11, 15, 17, -1}, {0, 3, 6, 20, -1}, {8, 12, 15, 19, -1},
    {8, 11, 15, 18, -1}, {8, 12, 15, 18, 22}, {8, 13, 15, -1, -1},
    // B
    {11, 15, 18, -1, -1}, {11, 14, 18, -1, -1}, {7, 11, 15, -1, -1}, {2, 5, 8, 11, -1},
    {8, 11, 15, 18, -1}, {11, 14, 18, 20, -1}, {11, 15, 18, 21, -1}, {11, 15, 18, 22, -1},
    {11, 14, 18, 21, -1}, {1, 11, 15, 18, 21}, {11, 16, 18, -1, -1},
    // B flat
    {10, 14, 17, -1, -1}, {10, 13, 17, -1, -1}, {2, 6, 10, -1, -1}, {4, 7, 10, 13, -1},
    {7, 10, 14, 17, -1}, {10, 13, 17, 19, -1}, {10, 14, 17, 20, -1}, {10, 14, 17, 21, -1},
    {10, 13, 17, 20, -1}, {0, 10, 14, 17, 20}, {10, 15, 17, -1, -1},
    // C
    {0, 4, 7, -1, -1}, {0, 3, 7, -1, -1}, {0, 4, 8, -1, -1}, {0, 3, 6, 9, -1},
    {9, 12, 16, 19, -1}, {0, 3, 7, 9, -1}, {0, 4, 7, 10, -1}, {0, 4, 7, 11, -1},
    {0, 3, 7, 10, -1}, {0, 4, 7, 10, 14}, {0, 5, 7, -1, -1},
    // D
    {2, 6, 9, -1, -1}, {2, 5, 9, -1, -1}, {2, 6, 10, -1, -1}, {2, 5, 8, 11, -1},
    {11, 14, 18, 21, -1}, {2, 5, 9, 11, -1}, {2, 6, 9, 12, -1}, {2, 6, 9, 13, -1},
    {2, 5, 9, 12, -1}, {2, 6, 9, 12, 16}, {2, 7, 9, -1, -1},
    // D flat
    {1, 5, 8, -1, -1}, {1, 4, 8, -1, -1}, {5, 9, 13, -1, -1}, {4, 7, 10, 13, -1},
    {10, 13, 17, 20, -1}, {1, 4, 8, 10, -1}, {1, 5, 8, 11, -1}, {1, 5, 8, 12, -1},
    {1, 4, 8, 11, -1}, {1, 5, 8, 11, 15}, {1, 6, 8, -1, -1},
    // E
    {4, 8, 11, -1, -1}, {4, 7, 11, -1, -1}, {0, 4, 8, -1, -1}, {4, 7, 10, 13, -1},
    {1, 4, 8, 11, -1}, {4, 7, 11, 13, -1}, {4, 8, 11, 14, -1}, {4, 8, 11, 15, -1},
    {4, 7, 11, 14, -1}, {4, 8, 11, 14, 18}, {4, 9, 11, -1, -1},
    // E flat
    {3, 7, 10, -1, -1}, {3, 6, 10, -1, -1}, {7, 11, 15, -1, -1}, {0, 3, 6, 9, -1},
    {0, 3, 7, 10, -1}, {3, 6, 10, 12, -1}, {3, 7, 10, 13, -1}, {3, 7, 10, 14, -1},
    {3, 6, 10, 13, -1}, {3, 7, 10, 13, 17}, {3, 8, 10, -1, -1},
    // F
    {5, 9, 12, -1, -1}, {5, 8, 12, -1, -1}, {5, 9, 13, -1, -1}, {2, 5, 8, 11, -1},
    {2, 5, 9, 12, -1}, {5, 8, 12, 14, -1}, {5, 9, 12, 15, -1}, {5, 9, 12, 16, -1},
    {5, 8, 12, 15, -1}, {5, 9, 12, 15, 19}, {5, 10, 12, -1, -1},
    // G
    {7, 11, 14, -1, -1}, {7, 10, 14, -1, -1}, {7, 11, 15, -1, -1}, {4, 7, 10, 13, -1},
    {4, 7, 11, 14, -1}, {7, 10, 14, 16, -1}, {7, 11, 14, 17, -1}, {7, 11, 14, 18, -1},
    {7, 10, 14, 17, -1}, {7, 11, 14, 17, 21}, {7, 12, 14, -1, -1},
    // G flat (9: G flat, B flat, D flat, F flat, A flat rising from the lower G flat)
    {6, 10, 13, -1, -1}, {6, 9, 13, -1, -1}, {2, 6, 10, -1, -1}, {0, 3, 6, 9, -1},
    {3, 6, 10, 13, -1}, {6, 9, 13, 15, -1}, {6, 10, 13, 16, -1}, {6, 10, 13, 17, -1},
    {6, 9, 13, 16, -1}, {6, 10, 13, 16, 20}, {6, 11, 13, -1, -1},
};

// ------------------------------------------------------------------------------------------------
// Codes that name a chord's pictures. Both write into `out` (at least 13 characters for a key code,
// 3 per string plus one for a string code) and end it with a 0.

// Twelve characters, one per pitch class from C: '0' when a key of that class is pressed in either
// octave (a tab value of exactly 0), 'X' otherwise. Keys a short tab lacks count as not pressed.
inline void pianoKeyCode(const int* tab, std::size_t count, char* out)
{
    for (int k = 0; k < 12; ++k)
        out[k] = 'X';
    for (std::size_t i = 0; i < count && i < std::size_t(kPianoKeys); ++i) {
        if (tab[i] == 0)
            out[i % 12] = '0';
    }
    out[12] = 0;
}

// One entry per string in tab order: 'X' for a muted string, else the fret's decimal digits.
inline void stringCode(const int* tab, std::size_t count, char* out)
{
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        int fret = tab[i];
        if (fret < 0) {
            out[at++] = 'X';
            continue;
        }
        char digits[12];
        int n = 0;
        do {
            digits[n++] = char('0' + fret % 10);
            fret /= 10;
        } while (fret > 0);
        while (n > 0)
            out[at++] = digits[--n];
    }
    out[at] = 0;
}

// The 24-value piano tab of a table row: 0 for a pressed key, -1 for every other.
inline void pianoTab(const signed char (&pressed)[kPianoMaxPressed], int (&tab)[kPianoKeys])
{
    for (int& v : tab)
        v = -1;
    for (signed char key : pressed) {
        if (key >= 0 && key < kPianoKeys)
            tab[int(key)] = 0;
    }
}

} // namespace ChordTables
} // namespace RIRurud
