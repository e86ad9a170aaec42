#include "QMMultiMedia/AudioMix.h"

#include <cmath>

namespace QMMultiMedia {

PanGains panGains(float pan)
{
    if (!std::isfinite(pan))
        pan = 0.0f;
    pan = qBound(-1.0f, pan, 1.0f);
    PanGains g;
    if (pan > 0.0f)
        g.left = 1.0f - pan;
    else if (pan < 0.0f)
        g.right = 1.0f + pan;
    return g;
}

float limitStereo(float* frames, qint64 count, float gain, float* gains)
{
    // Back to full gain with a time constant of 100 ms at 44.1 kHz.
    constexpr float release = 2.2673e-4f;
    for (qint64 i = 0; i < count; ++i) {
        float* f = frames + 2 * i;
        const float peak = qMax(std::fabs(f[0]), std::fabs(f[1]));
        gain += (1.0f - gain) * release;
        // (A hair below, so that rounding cannot take a sample above the ceiling.)
        if (peak * gain > mixCeiling)
            gain = mixCeiling / peak * 0.99999f;
        f[0] *= gain;
        f[1] *= gain;
        if (gains)
            gains[i] = gain;
    }
    return gain;
}

} // namespace QMMultiMedia
