#pragma once

// Measuring a rendered note the way a listener hears it: its pitch, its loudness and how far it has
// died away. The generator measures every note with these to tune it and to set its level, and the
// sound-bank test measures every file it wrote with the same yardstick.
//
// Plain C++ only (no Qt): the generator links no Qt.

#include <cstddef>
#include <vector>

namespace SoundMeasure {

// Fundamental frequency of a note near `expectedHz`, found from its harmonics over the stretch
// [start, start + length): each harmonic k is looked for within 60 cents of k times `expectedHz`,
// placed at the centre of its spectral peak, and divided by k; the fundamental is the mean of these,
// weighted by their power, over the harmonics within 40 dB of the strongest. A note whose
// fundamental is weak (a low piano string) is thus measured by its overtones. 0 when no harmonic
// stands out or the stretch does not fit. (A note an octave off has harmonics there too: this
// measures how far a note is from its pitch, not which octave it is in.)
//
// A bowed string sounds exactly harmonic partials: the bow locks them to one period. For such a
// note (`bowed`), a partial that strays from the median of the clearly heard ones by more than a few
// cents is something of the recording (a body resonance, a second voice), not the note, and has no
// say however loud it is. A plucked or struck string's partials lie progressively sharp by nature,
// and all of them count.
double fundamental(const std::vector<float>& mono, int sampleRate, double expectedHz, double startSeconds,
                   double lengthSeconds, bool bowed = false);

// How far, in cents, the loud partials (within 20 dB of the strongest) stray from the note's own
// series (the median of its clearly heard partials, each divided by its number). A bowed note's
// partials are exactly harmonic: one that strays is a flaw of its sample, and a player tuning by
// the beats between partials would be misled by it.
double strayPartial(const std::vector<float>& mono, int sampleRate, double expectedHz, double startSeconds,
                    double lengthSeconds);

// What a listener tunes to: the strong partials of a note (harmonics 1 to 4 within 20 dB of the
// loudest of them), where they lie in cents from its pitch. A string whose series is harmonic has
// them together; a sample whose fundamental lies apart from its overtones has no clear pitch.
struct StrongPartials {
    bool found = false;
    double lowest = 0.0; // the lowest-numbered strong partial
    double low = 0.0, high = 0.0; // the flattest and the sharpest
    double spread() const { return high - low; }
    double centre() const { return 0.5 * (low + high); }
};
StrongPartials strongPartials(const std::vector<float>& mono, int sampleRate, double expectedHz,
                              double startSeconds, double lengthSeconds);

// The normalised autocorrelation of the stretch [start, start + length) at half the period of
// `hz`: near 1 when the waveform repeats there, that is when the note sounds an octave higher than
// `hz` (its odd harmonics, the fundamental among them, faint).
double halfPeriodCorrelation(const std::vector<float>& mono, int sampleRate, double hz, double startSeconds,
                             double lengthSeconds);

// Integrated loudness of a mono signal in LUFS: K-weighted mean square over 400 ms blocks (100 ms
// apart), gated at -70 LUFS and at 10 LU below the mean of the blocks above that. A signal shorter
// than one block, or silent, gives -70.
double integratedLoudness(const std::vector<float>& mono, int sampleRate);

// How far the note has fallen by `atSeconds`, in dB: the level of its loudest 50 ms minus the level
// of the 50 ms that end at `atSeconds` (positive when it has died away).
double fallBy(const std::vector<float>& mono, int sampleRate, double atSeconds);

// Cents from `referenceHz` to `hz`.
double cents(double hz, double referenceHz);

} // namespace SoundMeasure
