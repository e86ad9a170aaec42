#pragma once

#include <QString>

#include <vector>

namespace TestAudio {

// Decodes any sound file libavformat knows (AAC in MPEG-4, CAF or ADTS included) into interleaved
// floats; empty when it cannot.
std::vector<float> decodeWithAv(const QString& path, int* sampleRate, int* channels, QString* codecName = nullptr);

} // namespace TestAudio
