#pragma once

// The sound bank: every sound file the program plays from its bundle resource folder, with the
// General MIDI patch each is rendered with. The generator renders exactly these files and the
// sound-bank test checks that each of them is there, so the two cannot drift apart.
//
// Plain C++ only (no Qt): the generator links no Qt. The staff layouts come from the staff's own
// tables, so the notes a click on a staff can sound follow the staff.

#include "RIRurud/ChordTables.h"
#include "RIRurud/StaffTables.h"
#include "RIRurud/_Tuner/TunerTables.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace SoundBank {

// General MIDI programs, numbered from 0.
enum GmProgram : int {
    GmAcousticGrandPiano = 0,
    GmNylonGuitar = 24,
    GmSteelGuitar = 25,
    GmFingerBass = 33,
    GmViolin = 40,
    GmViola = 41,
    GmCello = 42,
    GmContrabass = 43,
    GmBanjo = 105,
};

// How a note is played and how long its file lasts. The key is held for `holdSeconds` and then let
// go; a plucked string whose patch rings on after that is damped, like a hand laid on the strings, so
// that every note has died away well before the file fades out at its end.
struct Articulation {
    double holdSeconds;
    double dampSeconds;      // after the key is let go, 30 dB down in this time; 0: the patch's own release
    double decayDbPerSecond; // while held, the level falls this much faster than recorded; 0: as recorded
    bool steady;             // the vibrato recorded in the patch's samples is taken out
    double seconds;          // length of the file
    // The string's partials lie in one harmonic series (bowed and plucked strings), so a sample
    // whose partials do not is not used; a struck piano string's overtones lie sharp by nature.
    bool harmonic;

    // Every field: two notes rendered alike have equal keys.
    constexpr auto key() const
    {
        return std::make_tuple(holdSeconds, dampSeconds, decayDbPerSecond, steady, seconds, harmonic);
    }
};

inline constexpr Articulation Plucked{1.2, 0.4, 0.0, false, 2.0, true};
inline constexpr Articulation ShortPlucked{0.9, 0.4, 0.0, false, 2.0, true};
// A bowed note lasts longer and is released before the longer file ends; the patches' samples
// were recorded with vibrato, which a reference tone must not have.
inline constexpr Articulation Bowed{1.6, 0.0, 0.0, true, 2.5, true};
inline constexpr Articulation Struck{1.2, 0.0, 0.0, false, 2.0, false};
// A balalaika's small triangular body and short strings: a bright pluck that is gone within about
// half a second (a guitar's rings on for seconds).
inline constexpr Articulation BalalaikaPluck{0.9, 0.4, 30.0, false, 2.0, true};

// Every file fades out over its last quarter second, so that nothing that still sounds ends in a click.
inline constexpr double fadeSeconds = 0.25;

using StaffLayout = RIRurud::StaffTables::Layout;

// One instrument page: the lower-case word that starts its sound files (and names its staff table),
// the patch, and the lowest and highest note of its board (as note names, "A0", "Dd4").
struct BoardInstrument {
    const char* word;
    int program;
    Articulation articulation;
    const char* lowest;
    const char* highest;
};

inline constexpr BoardInstrument boardInstruments[] = {
    {"piano", GmAcousticGrandPiano, Struck, "A0", "C8"},
    {"guitar", GmNylonGuitar, Plucked, "E2", "D6"},
    {"ukulele", GmNylonGuitar, ShortPlucked, "C4", "C6"},
    {"violin", GmViolin, Bowed, "G3", "B5"},
    {"bass", GmFingerBass, Plucked, "E1", "Dd4"},
    {"banjo", GmBanjo, Plucked, "D3", "Cd6"},
    {"balalaika", GmNylonGuitar, BalalaikaPluck, "E4", "E6"},
    {"mandolin", GmSteelGuitar, Plucked, "G3", "A6"},
};

// How the tuners' tone files are rendered, per file prefix of the tuner table (which names the
// files: every string of every tuner page at every concert pitch). A note may name its own patch
// (the viola's low C is a viola, not a violin below its range).
struct ToneSound {
    const char* prefix;
    int program;
    Articulation articulation;
    const char* ownPatchNote; // nullptr: every note takes `program`
    int ownPatchProgram;
};

inline constexpr ToneSound toneSounds[] = {
    {"violine", GmViolin, Bowed, "C3", GmViola},
    {"cello", GmCello, Bowed, nullptr, -1},
    {"doublebass", GmContrabass, Bowed, nullptr, -1},
    {"guitar", GmNylonGuitar, Plucked, nullptr, -1},
    {"bassguitar", GmFingerBass, Plucked, nullptr, -1},
    {"ukulele", GmNylonGuitar, ShortPlucked, nullptr, -1},
    {"banjo", GmBanjo, Plucked, nullptr, -1},
    {"balalaika", GmNylonGuitar, BalalaikaPluck, nullptr, -1},
    {"mandolin", GmSteelGuitar, Plucked, nullptr, -1},
    {"dombra", GmNylonGuitar, Plucked, nullptr, -1},
};

constexpr bool sameText(const char* a, const char* b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// The row of toneSounds for a prefix; -1 for none.
constexpr int toneSoundIndex(const char* prefix)
{
    for (int i = 0; i < int(std::size(toneSounds)); ++i) {
        if (sameText(toneSounds[i].prefix, prefix))
            return i;
    }
    return -1;
}

inline const ToneSound* toneSound(const char* prefix)
{
    const int i = toneSoundIndex(prefix);
    return i < 0 ? nullptr : &toneSounds[i];
}

constexpr bool everyTunerHasItsSound()
{
    for (const RIRurud::TunerTables::Tuner& tuner : RIRurud::TunerTables::kTuners) {
        if (toneSoundIndex(tuner.prefix) < 0)
            return false;
    }
    return true;
}
static_assert(everyTunerHasItsSound(), "a tuner page's file prefix has no row in toneSounds");

inline constexpr const char* metronomeTick = "tick.wav";
inline constexpr const char* metronomeBell = "bell.wav";

inline constexpr int sampleRate = 44100;

// ---------------------------------------------------------------------------------------------
// Note names. A note name is a letter, "d" for a sharp, and an octave digit ("C4", "Cd4");
// C4 is middle C, MIDI key 60.

using RIRurud::ChordTables::kSoundNoteNames;

inline std::string noteName(int midiKey)
{
    return std::string(kSoundNoteNames[RIRurud::ChordTables::pitchClassOfKey(midiKey)])
        + std::to_string(RIRurud::ChordTables::octaveOfKey(midiKey));
}

// MIDI key of a note name, or -1 for a text that is no note name.
inline int midiKey(const std::string& name)
{
    if (name.size() < 2)
        return -1;
    const std::string head = name.substr(0, name.size() - 1);
    const char octave = name.back();
    if (octave < '0' || octave > '9')
        return -1;
    for (int i = 0; i < 12; ++i) {
        if (head == kSoundNoteNames[i])
            return (octave - '0' + 1) * 12 + i;
    }
    return -1;
}

// Frequency of a MIDI key in equal temperament with the given A4.
inline double frequency(int midiKey, double a4 = 440.0)
{
    return a4 * std::pow(2.0, (midiKey - 69) / 12.0);
}

// ---------------------------------------------------------------------------------------------
// The staff. A natural note of letter index i (C 0 .. B 6) in octave o sits on half-line
// 58 - 7o - i, counted from the top of the staff paper. The highest half-line a pointer can name is
// the space above the first drawn line, or the one at the widget's top edge when the drawing is
// shifted up past that line; the lowest is the one at the widget's bottom edge, which lies
// lines / paper height factor line heights below the top, plus the shift. Every natural note in
// between can be clicked, and with a flat or a sharp chosen it sounds a semitone lower or higher.

inline int staffHighestHalfLine(const StaffLayout& g)
{
    return std::max(2 * g.startLine - 1, std::max(2 * g.translateLines, -4));
}

inline int staffLowestHalfLine(const StaffLayout& g)
{
    const double bottom = 2.0 * (double(g.lines) / double(g.paperHeightFactor) + g.translateLines);
    return std::min(int(std::ceil(bottom)) - 1, 58);
}

inline int naturalKeyOfHalfLine(int halfLine)
{
    static const int letterSemitone[7] = {0, 2, 4, 5, 7, 9, 11};
    const int octave = (58 - halfLine) / 7;
    const int letter = 58 - 7 * octave - halfLine;
    return (octave + 1) * 12 + letterSemitone[letter];
}

// Every MIDI key a click on the staff can sound, lowest first.
inline std::vector<int> staffKeys(const StaffLayout& g)
{
    std::vector<int> keys;
    const int low = naturalKeyOfHalfLine(staffLowestHalfLine(g)) - 1;
    const int high = naturalKeyOfHalfLine(staffHighestHalfLine(g)) + 1;
    for (int k = low; k <= high; ++k)
        keys.push_back(k);
    return keys;
}

// Every MIDI key an instrument page sounds: the semitones of its board and what its staff adds
// (just the board when the staff has no table under the instrument's word).
inline std::vector<int> instrumentKeys(const BoardInstrument& instrument)
{
    std::vector<int> keys;
    const RIRurud::StaffTables::Instrument* staffTable = RIRurud::StaffTables::find(instrument.word);
    const std::vector<int> staff = staffTable ? staffKeys(staffTable->layout)
                                              : std::vector<int>{midiKey(instrument.lowest), midiKey(instrument.highest)};
    const int low = std::min(midiKey(instrument.lowest), staff.front());
    const int high = std::max(midiKey(instrument.highest), staff.back());
    for (int k = low; k <= high; ++k)
        keys.push_back(k);
    return keys;
}

inline std::string noteFileName(const char* word, int midiKey)
{
    return std::string(word) + "_440_" + noteName(midiKey) + ".mp3";
}

inline std::string toneFileName(const char* prefix, int concertPitch, const char* note)
{
    return std::string(prefix) + "_" + std::to_string(concertPitch) + "_" + note + ".mp3";
}

// One tone file the tuner pages play, with how it is rendered.
struct ToneFile {
    std::string name;
    int concertPitch;
    int key;
    int program;
    Articulation articulation;
};

// Every tone file of the tuner pages whose prefix is `prefix` (all prefixes for nullptr), each
// once, in table order.
inline std::vector<ToneFile> toneFiles(const char* prefix = nullptr)
{
    std::vector<ToneFile> files;
    for (const RIRurud::TunerTables::ConcertPitch& pitch : RIRurud::TunerTables::kConcertPitches) {
        for (const RIRurud::TunerTables::Tuner& tuner : RIRurud::TunerTables::kTuners) {
            if (prefix && !sameText(prefix, tuner.prefix))
                continue;
            const ToneSound& sound = *toneSound(tuner.prefix);
            for (int i = 0; i < tuner.stringCount; ++i) {
                const char* note = tuner.strings[i];
                const std::string name = toneFileName(tuner.prefix, pitch.hz, note);
                if (std::any_of(files.begin(), files.end(), [&](const ToneFile& f) { return f.name == name; }))
                    continue;
                const bool own = sound.ownPatchNote && sameText(sound.ownPatchNote, note);
                files.push_back({name, pitch.hz, midiKey(note), own ? sound.ownPatchProgram : sound.program,
                                 sound.articulation});
            }
        }
    }
    return files;
}

} // namespace SoundBank
