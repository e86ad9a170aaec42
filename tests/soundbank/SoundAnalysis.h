#pragma once

// Decoding and measuring the sound files of the bundle: length and decay (pitch: tests/support).

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

// Largest absolute sample.
float peak(const std::vector<float>& mono);

// Seconds from the loudest moment until the short-time level stays 30 dB below it.
double ringTime(const std::vector<float>& mono, int sampleRate);

} // namespace SoundAnalysis
