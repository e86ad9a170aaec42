#include "ToneFiles.h"

#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include <cmath>

namespace TestAudio {

std::vector<float> sineTone(double hz, double seconds, int channels, float amplitude, int sampleRate)
{
    const int frames = int(std::lround(seconds * sampleRate));
    const int fade = qMin(frames / 2, sampleRate / 200);
    std::vector<float> out(size_t(frames) * size_t(channels));
    for (int i = 0; i < frames; ++i) {
        double gain = amplitude;
        if (i < fade)
            gain *= double(i) / fade;
        else if (i >= frames - fade)
            gain *= double(frames - 1 - i) / fade;
        const float v = float(gain * std::sin(2.0 * M_PI * hz * i / sampleRate));
        for (int c = 0; c < channels; ++c)
            out[size_t(i) * size_t(channels) + size_t(c)] = v;
    }
    return out;
}

bool writeTone(const QString& path, double hz, double seconds, int channels, float amplitude, int sampleRate)
{
    const std::vector<float> tone = sineTone(hz, seconds, channels, amplitude, sampleRate);
    return QMMultiMedia::AudioFileWriter::writeAll(path, tone.data(), qint64(tone.size()) / channels, sampleRate,
                                                  channels);
}

double pitchByAutocorrelation(const float* s, int count, int sampleRate, double minHz, double maxHz)
{
    const int minLag = int(sampleRate / maxHz);
    const int maxLag = qMin(count / 2, int(sampleRate / minHz));
    if (maxLag <= minLag + 2)
        return 0;
    std::vector<double> r(size_t(maxLag) + 2, 0.0);
    for (int lag = minLag; lag <= maxLag + 1; ++lag) {
        double sum = 0;
        for (int i = 0; i + lag < count; ++i)
            sum += double(s[i]) * s[i + lag];
        r[size_t(lag)] = sum / (count - lag);
    }
    // The first peak after the autocorrelation has gone negative is the period.
    int lag = minLag;
    while (lag < maxLag && r[size_t(lag)] > 0)
        ++lag;
    int best = -1;
    for (; lag <= maxLag; ++lag) {
        if (r[size_t(lag)] > 0 && r[size_t(lag)] >= r[size_t(lag) - 1] && r[size_t(lag)] >= r[size_t(lag) + 1]) {
            best = lag;
            break;
        }
    }
    if (best < 0)
        return 0;
    // Parabolic interpolation between the neighbouring lags.
    const double a = r[size_t(best) - 1], b = r[size_t(best)], c = r[size_t(best) + 1];
    const double denom = a - 2 * b + c;
    const double shift = denom != 0 ? 0.5 * (a - c) / denom : 0.0;
    return sampleRate / (best + shift);
}

double rms(const float* s, int count, int stride, int offset)
{
    double sum = 0;
    int n = 0;
    for (int i = offset; i < count; i += stride, ++n)
        sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / n) : 0.0;
}

} // namespace TestAudio
