#pragma once

// Decoding and measuring the sound files of the bundle: length, pitch and decay.

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

// Fundamental frequency near `expectedHz` (from a period 2.2 times shorter to 1.5 times longer, so a
// sound an octave off is measured as such) from the difference function of a stretch after the
// attack; 0 when no period is found.
double pitch(const std::vector<float>& mono, int sampleRate, double expectedHz);

// Largest absolute sample.
float peak(const std::vector<float>& mono);

// Seconds from the loudest moment until the short-time level stays 30 dB below it.
double ringTime(const std::vector<float>& mono, int sampleRate);

} // namespace SoundAnalysis
