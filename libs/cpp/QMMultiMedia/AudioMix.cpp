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

static inline qint16 toSample16(float v)
{
    const float scaled = v * 32767.0f;
    if (scaled >= 32767.0f)
        return 32767;
    if (scaled <= -32768.0f)
        return -32768;
    return qint16(std::lrintf(scaled));
}

void mixToStereo16(const float* in, int channels, qint64 frames, float volume, float pan, qint16* out)
{
    if (!std::isfinite(volume) || volume < 0.0f)
        volume = 0.0f;
    const PanGains g = panGains(pan);
    const float gl = g.left * volume;
    const float gr = g.right * volume;
    for (qint64 i = 0; i < frames; ++i) {
        const float* f = in + i * channels;
        const float l = f[0];
        const float r = channels > 1 ? f[1] : f[0];
        out[2 * i] = toSample16(l * gl);
        out[2 * i + 1] = toSample16(r * gr);
    }
}

} // namespace QMMultiMedia
