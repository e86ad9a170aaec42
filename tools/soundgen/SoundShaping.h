#pragma once

// Shaping a rendered note before it is encoded: its pitch held steady, its level set, its end faded.
//
// Plain C++ only (no Qt): the generator links no Qt.

#include <cstddef>
#include <vector>

namespace SoundShaping {

// The sample at a fractional position, interpolated through its four neighbours (Catmull-Rom);
// silence outside the signal.
float sampleAt(const std::vector<float>& x, double position);

// The note near `hz` with its pitch held at `targetHz` throughout, `length` samples long: the pitch
// is followed sample by sample from the phase of its harmonics, and the signal is read faster where
// it sounds flat and slower where it sounds sharp. Takes out a vibrato recorded in a sample and
// puts the note in tune at the same time.
std::vector<float> steadyPitch(const std::vector<float>& x, int sampleRate, double hz, double targetHz,
                               size_t length);

// Scales the signal by `gain` and keeps every sample within `ceiling`: where a peak would pass it,
// the gain is lowered over a few milliseconds around the peak and comes back within about 50 ms,
// so that a pluck's first click is tamed without a sound of its own.
std::vector<float> amplifyAndLimit(const std::vector<float>& x, int sampleRate, double gain, float ceiling);

// Shapes the level of a note whose key was let go after `holdSeconds`: from the start it falls at
// least `decayDbPerSecond` (0: as recorded), and from the release on it is damped by 30 dB every
// `dampSeconds` (0: not at all).
void shapeEnvelope(std::vector<float>& x, int sampleRate, double holdSeconds, double dampSeconds,
                   double decayDbPerSecond);

// Fades the end out over the given time (half a cosine), so that a cut-off tail does not click.
void fadeOut(std::vector<float>& x, int sampleRate, double seconds);

// Moves the note forward so that it starts at once: what comes before its first sample at or above
// `threshold` (less `keep` samples of the attack's own start) is taken off the front, and the same
// number of samples of silence is added at the end, so that the length stays.
void trimLeadIn(std::vector<float>& x, float threshold, size_t keep);

float peak(const std::vector<float>& x);

} // namespace SoundShaping
