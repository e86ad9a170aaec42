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

// The loudest a mix may be: just below full scale, so that no sample is ever clipped.
constexpr float mixCeiling = 0.98f;

// Keeps `count` interleaved stereo frames of a summed mix at or below mixCeiling without clipping
// them: the gain drops at once to what the loudest sample of a frame needs and comes back to 1 over
// about a tenth of a second. Takes the gain in force before the first frame and returns the one
// after the last; when `gains` is given, it receives the gain in force after each frame.
float limitStereo(float* frames, qint64 count, float gain, float* gains = nullptr);

} // namespace QMMultiMedia
