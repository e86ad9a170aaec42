#include "SoundShaping.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace SoundShaping {

namespace {

using Complex = std::complex<double>;

// Mean of the last `width` values at each index (a running boxcar); its delay is (width - 1) / 2.
std::vector<Complex> runningMean(const std::vector<Complex>& z, size_t width)
{
    std::vector<Complex> out(z.size());
    Complex sum = 0.0;
    for (size_t i = 0; i < z.size(); ++i) {
        sum += z[i];
        if (i >= width)
            sum -= z[i - width];
        out[i] = sum / double(width);
    }
    return out;
}

} // namespace

float sampleAt(const std::vector<float>& x, double position)
{
    const double floor = std::floor(position);
    const long j = long(floor);
    const double t = position - floor;
    auto at = [&](long n) { return n >= 0 && n < long(x.size()) ? double(x[size_t(n)]) : 0.0; };
    const double y0 = at(j - 1), y1 = at(j), y2 = at(j + 1), y3 = at(j + 2);
    return float(y1 + 0.5 * t * (y2 - y0 + t * (2.0 * y0 - 5.0 * y1 + 4.0 * y2 - y3 + t * (3.0 * (y1 - y2) + y3 - y0))));
}

std::vector<float> steadyPitch(const std::vector<float>& x, int sampleRate, double hz, double targetHz, size_t length)
{
    const size_t n = x.size();
    if (n < 2 || hz <= 0.0 || targetHz <= 0.0)
        return std::vector<float>(length, 0.0f);
    // Each harmonic k is brought down to zero frequency and smoothed over one period twice, which
    // silences its neighbours; the turn of its phase from sample to sample is then how far it lies
    // from k * hz. The harmonics vote by their power.
    const size_t period = std::max<size_t>(2, size_t(std::lround(sampleRate / hz)));
    const double w = 2.0 * M_PI * hz / sampleRate;
    std::vector<double> deviation(n, 0.0), weight(n, 0.0);
    std::vector<Complex> base(n);
    for (int k = 1; k <= 8 && k * hz < std::min(4000.0, 0.4 * sampleRate); ++k) {
        Complex turn = std::polar(1.0, -k * w);
        Complex phasor = 1.0;
        for (size_t i = 0; i < n; ++i) {
            if (i % 1024 == 0)
                phasor = std::polar(1.0, -k * w * double(i));
            base[i] = double(x[i]) * phasor;
            phasor *= turn;
        }
        const std::vector<Complex> smooth = runningMean(runningMean(base, period), period);
        for (size_t i = period; i < n; ++i) {
            const size_t centre = i - (period - 1);
            const double power = std::norm(smooth[i]);
            deviation[centre] += power * std::arg(smooth[i] * std::conj(smooth[i - 1])) / (k * w);
            weight[centre] += power;
        }
    }
    // Where no harmonic is heard (silence, the tail of the room), the note keeps its mean pitch.
    const double strongest = *std::max_element(weight.begin(), weight.end());
    double sumDeviation = 0.0, sumWeight = 0.0;
    for (size_t i = 0; i < n; ++i) {
        if (weight[i] > 1e-3 * strongest) {
            sumDeviation += deviation[i];
            sumWeight += weight[i];
        }
    }
    if (sumWeight <= 0.0)
        return std::vector<float>(x.begin(), x.begin() + std::min(n, length));
    const double mean = 1.0 + sumDeviation / sumWeight;
    const double semitone = std::pow(2.0, 1.0 / 12.0);
    std::vector<double> ratio(n, mean);
    for (size_t i = 0; i < n; ++i) {
        if (weight[i] > 1e-3 * strongest)
            ratio[i] = std::clamp(1.0 + deviation[i] / weight[i], 1.0 / semitone, semitone);
    }
    // Read the input at the speed that turns its pitch at each moment into the target.
    std::vector<float> out(length);
    double position = 0.0;
    const double step = targetHz / hz;
    for (size_t m = 0; m < length; ++m) {
        out[m] = sampleAt(x, position);
        const size_t i = std::min(n - 1, size_t(position));
        position += step / ratio[i];
    }
    return out;
}

std::vector<float> amplifyAndLimit(const std::vector<float>& x, int sampleRate, double gain, float ceiling)
{
    const size_t n = x.size();
    const size_t reach = std::max<size_t>(1, size_t(0.005 * sampleRate));
    // The gain each sample allows, held over `reach` on both sides of every peak.
    std::vector<double> allowed(n, 1.0);
    for (size_t i = 0; i < n; ++i) {
        const double level = std::fabs(double(x[i]) * gain);
        if (level <= ceiling)
            continue;
        const double g = ceiling / level;
        for (size_t j = i > reach ? i - reach : 0; j < std::min(n, i + reach + 1); ++j)
            allowed[j] = std::min(allowed[j], g);
    }
    // Back to full gain over about 50 ms, then smoothed over `reach`: the mean around a peak stays
    // within what the peak allows, as every value averaged there is held at most that high.
    const double recovery = 1.0 - std::exp(-1.0 / (0.05 * sampleRate));
    double held = 1.0;
    for (size_t i = 0; i < n; ++i) {
        held = std::min(allowed[i], held + (1.0 - held) * recovery);
        allowed[i] = held;
    }
    std::vector<double> running(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i)
        running[i + 1] = running[i] + allowed[i];
    const size_t half = reach / 2;
    std::vector<float> out(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t from = i > half ? i - half : 0, to = std::min(n, i + half + 1);
        out[i] = float(double(x[i]) * gain * (running[to] - running[from]) / double(to - from));
    }
    return out;
}

void shapeEnvelope(std::vector<float>& x, int sampleRate, double holdSeconds, double dampSeconds,
                   double decayDbPerSecond)
{
    if (dampSeconds <= 0.0 && decayDbPerSecond <= 0.0)
        return;
    // The level in dB falls in a straight line, so the gain is multiplied by a constant each sample.
    const double perSample = std::pow(10.0, -decayDbPerSecond / 20.0 / sampleRate);
    const double dampPerSample = dampSeconds > 0.0 ? std::pow(10.0, -30.0 / dampSeconds / 20.0 / sampleRate) : 1.0;
    const size_t release = size_t(holdSeconds * sampleRate);
    double gain = 1.0;
    for (size_t i = 0; i < x.size(); ++i) {
        x[i] *= float(gain);
        gain *= i < release ? perSample : perSample * dampPerSample;
    }
}

void fadeOut(std::vector<float>& x, int sampleRate, double seconds)
{
    const size_t n = std::min(x.size(), size_t(seconds * sampleRate));
    const size_t start = x.size() - n;
    for (size_t i = 0; i < n; ++i)
        x[start + i] *= float(0.5 * (1.0 + std::cos(M_PI * double(i) / double(n))));
}

void trimLeadIn(std::vector<float>& x, float threshold, size_t keep)
{
    size_t first = 0;
    while (first < x.size() && std::fabs(x[first]) < threshold)
        ++first;
    if (first == x.size())
        return;
    const size_t cut = first > keep ? first - keep : 0;
    x.erase(x.begin(), x.begin() + std::ptrdiff_t(cut));
    x.insert(x.end(), cut, 0.0f);
}

float peak(const std::vector<float>& x)
{
    float max = 0.0f;
    for (float s : x)
        max = std::max(max, std::fabs(s));
    return max;
}

} // namespace SoundShaping
