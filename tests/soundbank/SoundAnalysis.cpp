#include "SoundAnalysis.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace SoundAnalysis {

Decoded decode(const std::string& path, bool readSamples)
{
    Decoded result;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        result.error = sf_strerror(nullptr);
        return result;
    }
    result.sampleRate = info.samplerate;
    result.frames = info.frames;
    if (readSamples && info.channels > 0) {
        std::vector<float> interleaved(size_t(info.frames) * size_t(info.channels));
        const sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
        result.mono.resize(size_t(std::max<sf_count_t>(read, 0)));
        for (size_t i = 0; i < result.mono.size(); ++i) {
            float sum = 0.0f;
            for (int c = 0; c < info.channels; ++c)
                sum += interleaved[i * size_t(info.channels) + size_t(c)];
            result.mono[i] = sum / float(info.channels);
        }
        if (read != info.frames) {
            result.error = "decoded " + std::to_string(read) + " of " + std::to_string(info.frames) + " frames";
            sf_close(file);
            return result;
        }
    }
    sf_close(file);
    result.ok = true;
    return result;
}

namespace {

// Sum of squared differences between the stretch and itself shifted by `lag` samples.
double difference(const std::vector<float>& x, size_t start, size_t length, size_t lag)
{
    double sum = 0.0;
    for (size_t i = start; i < start + length; ++i) {
        const double d = double(x[i]) - double(x[i + lag]);
        sum += d * d;
    }
    return sum;
}

// Lag of the smallest difference in [from, to], refined between samples by a parabola.
double bestLag(const std::vector<float>& x, size_t start, size_t length, size_t from, size_t to)
{
    size_t best = from;
    double bestValue = difference(x, start, length, from);
    for (size_t lag = from + 1; lag <= to; ++lag) {
        const double v = difference(x, start, length, lag);
        if (v < bestValue) {
            bestValue = v;
            best = lag;
        }
    }
    if (best == from || best == to)
        return double(best);
    const double a = difference(x, start, length, best - 1);
    const double c = difference(x, start, length, best + 1);
    const double denominator = a - 2.0 * bestValue + c;
    return denominator > 0.0 ? double(best) + 0.5 * (a - c) / denominator : double(best);
}

} // namespace

double pitch(const std::vector<float>& mono, int sampleRate, double expectedHz)
{
    if (sampleRate <= 0 || expectedHz <= 0.0)
        return 0.0;
    const double expectedPeriod = sampleRate / expectedHz;
    const size_t shortestLag = std::max<size_t>(2, size_t(expectedPeriod / 2.2));
    const size_t longestLag = size_t(std::ceil(expectedPeriod * 1.5));
    const size_t start = size_t(0.15 * sampleRate);
    const size_t length = std::max<size_t>(size_t(0.5 * sampleRate), size_t(4 * longestLag));
    if (mono.size() < start + length + longestLag + 2)
        return 0.0;
    const size_t reach = mono.size() - start - length - 2; // longest lag the samples allow

    // Cumulative-mean-normalised difference. The period is the first dip nearly as deep as the
    // deepest: a sound an octave higher is caught at half the lag instead of passing at the
    // expected one, while a shallow dip of a partial does not count.
    std::vector<double> normalised(longestLag + 2, 1.0);
    double running = 0.0;
    for (size_t lag = 1; lag <= longestLag + 1; ++lag) {
        const double d = difference(mono, start, length, lag);
        running += d;
        normalised[lag] = running > 0.0 ? d * double(lag) / running : 1.0;
    }
    double deepest = 1.0;
    for (size_t lag = shortestLag; lag <= longestLag; ++lag)
        deepest = std::min(deepest, normalised[lag]);
    size_t first = 0;
    for (size_t lag = shortestLag; lag <= longestLag && !first; ++lag) {
        if (normalised[lag] <= deepest + 0.08 && normalised[lag] <= normalised[lag - 1]
            && normalised[lag] <= normalised[lag + 1])
            first = lag;
    }
    if (!first)
        return 0.0;
    double period = bestLag(mono, start, length, std::max<size_t>(1, first - 1), first + 1);
    // Refine over more and more periods: the dip at a multiple of the period gives the period to a
    // small fraction of a sample, also for high notes of only a few samples a period.
    for (size_t m = 2; m * period < 2000.0 && size_t(m * period) + 3 < reach; m *= 2) {
        const size_t centre = size_t(std::lround(m * period));
        period = bestLag(mono, start, length, centre - 3, centre + 3) / double(m);
    }
    return double(sampleRate) / period;
}

float peak(const std::vector<float>& mono)
{
    float p = 0.0f;
    for (float s : mono)
        p = std::max(p, std::fabs(s));
    return p;
}

double ringTime(const std::vector<float>& mono, int sampleRate)
{
    const size_t window = size_t(sampleRate / 200); // 5 ms
    if (window == 0 || mono.size() < window)
        return 0.0;
    std::vector<double> level;
    for (size_t i = 0; i + window <= mono.size(); i += window) {
        double sum = 0.0;
        for (size_t j = i; j < i + window; ++j)
            sum += double(mono[j]) * double(mono[j]);
        level.push_back(sum / double(window));
    }
    const size_t loudest = size_t(std::max_element(level.begin(), level.end()) - level.begin());
    const double threshold = level[loudest] * 1e-3; // -30 dB
    size_t last = loudest;
    for (size_t i = loudest; i < level.size(); ++i) {
        if (level[i] >= threshold)
            last = i;
    }
    return double(last - loudest + 1) * double(window) / double(sampleRate);
}

} // namespace SoundAnalysis
