#pragma once

// Decoding and measuring the sound files of the bundle: length and decay, and the figures of many
// files at once (pitch and loudness by the generator's own measures).

#include "SoundMeasure.h"

#include <string>
#include <vector>

namespace SoundAnalysis {

struct Decoded {
    bool ok = false;
    std::string error;
    int sampleRate = 0;
    long long frames = 0;      // as the file's header tells, before decoding
    std::vector<float> mono;   // decoded samples, channels mixed
};

// Opens a file; decodes its samples only when asked to.
Decoded decode(const std::string& path, bool readSamples);

// Seconds from the loudest moment until the short-time level stays 30 dB below it.
double ringTime(const std::vector<float>& mono, int sampleRate);

// What one note file measures.
struct Figures {
    std::string error;       // why it could not be measured; empty when it could
    double seconds = 0.0;
    double cents = 0.0;      // its fundamental against the pitch it should have
    bool pitched = false;    // a fundamental was found near that pitch
    double loudness = -70.0; // integrated, LUFS
    double fall = 0.0;       // dB below its loudest where its fade begins
    double ring = 0.0;       // ringTime
    double lead = 0.0;       // seconds before its first sample at -60 dBFS or above
    double stray = 0.0;      // a bowed note's loud partials: how far the furthest strays, cents
    SoundMeasure::StrongPartials strong; // what a listener tunes to
    double halfPeriod = 0.0; // autocorrelation at half its period (near 1: an octave high)
};

struct Request {
    std::string path;
    double hz;         // the pitch it should have
    double fadeStart;  // seconds
    bool bowed;        // its partials are exactly harmonic
};

// Decodes and measures every file, spread over the cores; the figures in the order of the requests.
std::vector<Figures> measureAll(const std::vector<Request>& requests);

} // namespace SoundAnalysis
