#pragma once

#include <QtGlobal>

namespace QMMultiMedia {

// Gains of the left and right channel for a pan from -1 (left only) over 0 (both at full) to +1
// (right only): the far side is turned down, the near side stays at full.
struct PanGains
{
    float left = 1.0f;
    float right = 1.0f;
};
PanGains panGains(float pan);

// Turns `frames` interleaved float frames of `channels` channels into interleaved 16-bit stereo,
// with volume (0 silent, 1 full) and pan applied. A mono source sounds on both sides; of a source
// with more than two channels the first two are used. Samples beyond full scale are clipped.
void mixToStereo16(const float* in, int channels, qint64 frames, float volume, float pan, qint16* out);

} // namespace QMMultiMedia
