#include "Pitch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace TestSupport {

namespace {

// Sum of squared differences between the window and itself shifted by `lag` samples.
double difference(const float* x, std::size_t length, std::size_t lag)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        const double d = double(x[i]) - double(x[i + lag]);
        sum += d * d;
    }
    return sum;
}

// Lag of the smallest difference in [from, to], refined between samples by a parabola.
double bestLag(const float* x, std::size_t length, std::size_t from, std::size_t to)
{
    std::size_t best = from;
    double bestValue = difference(x, length, from);
    for (std::size_t lag = from + 1; lag <= to; ++lag) {
        const double v = difference(x, length, lag);
        if (v < bestValue) {
            bestValue = v;
            best = lag;
        }
    }
    if (best == from || best == to)
        return double(best);
    const double a = difference(x, length, best - 1);
    const double c = difference(x, length, best + 1);
    const double denominator = a - 2.0 * bestValue + c;
    return denominator > 0.0 ? double(best) + 0.5 * (a - c) / denominator : double(best);
}

} // namespace

double pitch(const float* mono, std::size_t count, int sampleRate, double expectedHz)
{
    if (!mono || sampleRate <= 0 || expectedHz <= 0.0)
        return 0.0;
    const double expectedPeriod = sampleRate / expectedHz;
    const std::size_t shortestLag = std::max<std::size_t>(2, std::size_t(expectedPeriod / 2.2));
    const std::size_t longestLag = std::size_t(std::ceil(expectedPeriod * 1.5));
    const std::size_t length = std::max(count / 2, 4 * longestLag);
    if (count < length + longestLag + 2)
        return 0.0;
    const std::size_t reach = count - length - 2; // longest lag the samples allow

    // The period is the first dip nearly as deep as the deepest: a sound an octave higher is caught
    // at half the lag instead of passing at the expected one, while a shallow dip of a partial does
    // not count.
    std::vector<double> normalised(longestLag + 2, 1.0);
    double running = 0.0;
    for (std::size_t lag = 1; lag <= longestLag + 1; ++lag) {
        const double d = difference(mono, length, lag);
        running += d;
        normalised[lag] = running > 0.0 ? d * double(lag) / running : 1.0;
    }
    double deepest = 1.0;
    for (std::size_t lag = shortestLag; lag <= longestLag; ++lag)
        deepest = std::min(deepest, normalised[lag]);
    std::size_t first = 0;
    for (std::size_t lag = shortestLag; lag <= longestLag && !first; ++lag) {
        if (normalised[lag] <= deepest + 0.08 && normalised[lag] <= normalised[lag - 1]
            && normalised[lag] <= normalised[lag + 1])
            first = lag;
    }
    if (!first)
        return 0.0;
    double period = bestLag(mono, length, std::max<std::size_t>(1, first - 1), first + 1);
    // Refine over more and more periods: the dip at a multiple of the period gives the period to a
    // small fraction of a sample, also for high notes of only a few samples a period.
    for (std::size_t m = 2; m * period < 2000.0 && std::size_t(m * period) + 3 < reach; m *= 2) {
        const std::size_t centre = std::size_t(std::lround(m * period));
        period = bestLag(mono, length, centre - 3, centre + 3) / double(m);
    }
    return double(sampleRate) / period;
}

} // namespace TestSupport
