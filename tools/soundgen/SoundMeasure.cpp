#include "SoundMeasure.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace SoundMeasure {

namespace {

// In-place radix-2 FFT; the size is a power of two. Complex products are written out, as the
// library's operator checks for infinities at every step.
void fft(std::vector<std::complex<double>>& a)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    // The turns of the unit circle, kept per thread for the size last used.
    thread_local std::vector<double> cosine, sine;
    if (cosine.size() != n / 2) {
        cosine.resize(n / 2);
        sine.resize(n / 2);
        for (size_t k = 0; k < n / 2; ++k) {
            cosine[k] = std::cos(2.0 * M_PI * double(k) / double(n));
            sine[k] = -std::sin(2.0 * M_PI * double(k) / double(n));
        }
    }
    double* d = reinterpret_cast<double*>(a.data());
    for (size_t len = 2, stride = n / 2; len <= n; len <<= 1, stride >>= 1) {
        const size_t half = len / 2;
        for (size_t i = 0; i < n; i += len) {
            for (size_t k = 0; k < half; ++k) {
                double* u = d + 2 * (i + k);
                double* v = d + 2 * (i + k + half);
                const double wr = cosine[k * stride], wi = sine[k * stride];
                const double tr = v[0] * wr - v[1] * wi, ti = v[0] * wi + v[1] * wr;
                v[0] = u[0] - tr;
                v[1] = u[1] - ti;
                u[0] += tr;
                u[1] += ti;
            }
        }
    }
}

// Power spectrum of a real signal zero-padded to n (a power of two), bins 0 to n/2 - 1: the even
// and odd samples go through one complex transform of half the size as its real and imaginary parts,
// and are told apart afterwards.
std::vector<double> powerSpectrum(const std::vector<double>& x, size_t n)
{
    const size_t half = n / 2;
    std::vector<std::complex<double>> z(half);
    for (size_t m = 0; m < half && 2 * m < x.size(); ++m)
        z[m] = {x[2 * m], 2 * m + 1 < x.size() ? x[2 * m + 1] : 0.0};
    fft(z);
    thread_local std::vector<std::complex<double>> turn;
    if (turn.size() != half) {
        turn.resize(half);
        for (size_t k = 0; k < half; ++k)
            turn[k] = std::polar(1.0, -2.0 * M_PI * double(k) / double(n));
    }
    std::vector<double> power(half);
    for (size_t k = 0; k < half; ++k) {
        const std::complex<double> a = z[k], b = std::conj(z[(half - k) % half]);
        const std::complex<double> even = 0.5 * (a + b), odd = std::complex<double>(0.0, -0.5) * (a - b);
        power[k] = std::norm(even + turn[k] * odd);
    }
    return power;
}

// A second-order filter section in direct form I.
struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double operator()(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The two stages of the K-weighting curve (a high shelf of about +4 dB above 1.5 kHz, then a
// high-pass at 38 Hz), designed for the given sample rate from their analogue prototypes.
Biquad highShelf(int sampleRate)
{
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(M_PI * f0 / sampleRate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad highPass(int sampleRate)
{
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(M_PI * f0 / sampleRate);
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

double meanSquare(const std::vector<float>& x, size_t from, size_t count)
{
    double sum = 0.0;
    for (size_t i = from; i < from + count; ++i)
        sum += double(x[i]) * double(x[i]);
    return sum / double(count);
}

// How far a bowed note's partial may stray from its series and still count.
constexpr double strayPartialCents = 8.0;

} // namespace

double cents(double hz, double referenceHz)
{
    return 1200.0 * std::log2(hz / referenceHz);
}

namespace {

struct Peak {
    double hz;
    double power;
    int harmonic;
};

double strongestPower(const std::vector<Peak>& peaks)
{
    double strongest = 0.0;
    for (const Peak& p : peaks)
        strongest = std::max(strongest, p.power);
    return strongest;
}

// Where the note's own series lies, in cents from `expectedHz`: the median of the partials heard
// clearly (within 30 dB of the strongest), each divided by its number.
double seriesCents(const std::vector<Peak>& peaks, double expectedHz)
{
    const double strongest = strongestPower(peaks);
    std::vector<double> votes;
    for (const Peak& p : peaks) {
        if (p.power >= 1e-3 * strongest)
            votes.push_back(cents(p.hz / p.harmonic, expectedHz));
    }
    if (votes.empty())
        return 0.0;
    std::nth_element(votes.begin(), votes.begin() + votes.size() / 2, votes.end());
    return votes[votes.size() / 2];
}

// Each harmonic k near k times `expectedHz` over the stretch [start, start + length): where it lies
// (the centre of its spectral peak), how strong it is.
std::vector<Peak> partials(const std::vector<float>& mono, int sampleRate, double expectedHz, double startSeconds,
                           double lengthSeconds)
{
    const size_t start = size_t(startSeconds * sampleRate);
    const size_t length = size_t(lengthSeconds * sampleRate);
    if (sampleRate <= 0 || expectedHz <= 0.0 || length < 64 || mono.size() < start + length)
        return {};
    // Zero-padded to twice the length and more: the power spectrum is then sampled finely enough
    // that the centre of a lobe, summed over its bins, is where the partial lies.
    size_t n = 1;
    while (n < 2 * length)
        n <<= 1;
    thread_local std::vector<double> hann;
    if (hann.size() != length) {
        hann.resize(length);
        for (size_t i = 0; i < length; ++i)
            hann[i] = 0.5 - 0.5 * std::cos(2.0 * M_PI * double(i) / double(length - 1));
    }
    std::vector<double> windowed(length);
    for (size_t i = 0; i < length; ++i)
        windowed[i] = double(mono[start + i]) * hann[i];
    const std::vector<double> spectrum = powerSpectrum(windowed, n);
    const double binHz = double(sampleRate) / double(n);

    std::vector<Peak> peaks;
    const double band = std::pow(2.0, 60.0 / 1200.0);
    const double highest = std::min(10000.0, 0.45 * sampleRate);
    for (int k = 1; k <= 12 && k * expectedHz * band < highest; ++k) {
        const size_t low = size_t(std::floor(k * expectedHz / band / binHz));
        const size_t high = size_t(std::ceil(k * expectedHz * band / binHz));
        size_t best = low;
        for (size_t bin = low; bin <= high; ++bin) {
            if (spectrum[bin] > spectrum[best])
                best = bin;
        }
        // A maximum on the band's edge is the slope of something else, not this harmonic.
        if (best == low || best == high)
            continue;
        // The centre of the peak's main lobe, weighted by power. A steady partial's lobe is
        // symmetric about its frequency; two strings of a course a little apart share one lobe and
        // count by their middle; the sidebands of a tremor in level or pitch lie outside it.
        const double top = spectrum[best];
        const size_t lobe = size_t(std::lround(2.0 * double(n) / double(length))); // two bins of the window's own length
        const size_t from = best > lobe ? best - lobe : 1, to = std::min(n / 2 - 1, best + lobe);
        double power = 0.0, weighted = 0.0;
        for (size_t bin = from; bin <= to; ++bin) {
            power += spectrum[bin];
            weighted += spectrum[bin] * double(bin);
        }
        peaks.push_back({weighted / power * binHz, top, k});
    }
    return peaks;
}

} // namespace

double fundamental(const std::vector<float>& mono, int sampleRate, double expectedHz, double startSeconds,
                   double lengthSeconds, bool bowed)
{
    const std::vector<Peak> peaks = partials(mono, sampleRate, expectedHz, startSeconds, lengthSeconds);
    const double strongest = strongestPower(peaks);
    if (strongest <= 0.0)
        return 0.0;
    auto centsOf = [&](const Peak& p) { return cents(p.hz / p.harmonic, expectedHz); };
    const double median = bowed ? seriesCents(peaks, expectedHz) : 0.0;
    double sum = 0.0, weighted = 0.0;
    for (const Peak& p : peaks) {
        if (p.power >= 1e-4 * strongest && (!bowed || std::abs(centsOf(p) - median) <= strayPartialCents)) {
            sum += p.power;
            weighted += p.power * p.hz / p.harmonic;
        }
    }
    return weighted / sum;
}

double strayPartial(const std::vector<float>& mono, int sampleRate, double expectedHz, double startSeconds,
                    double lengthSeconds)
{
    const std::vector<Peak> peaks = partials(mono, sampleRate, expectedHz, startSeconds, lengthSeconds);
    const double strongest = strongestPower(peaks);
    if (strongest <= 0.0)
        return 0.0;
    const double series = seriesCents(peaks, expectedHz);
    double widest = 0.0;
    for (const Peak& p : peaks) {
        if (p.power >= 0.01 * strongest)
            widest = std::max(widest, std::abs(cents(p.hz / p.harmonic, expectedHz) - series));
    }
    return widest;
}

StrongPartials strongPartials(const std::vector<float>& mono, int sampleRate, double expectedHz,
                              double startSeconds, double lengthSeconds)
{
    std::vector<Peak> peaks = partials(mono, sampleRate, expectedHz, startSeconds, lengthSeconds);
    peaks.erase(std::remove_if(peaks.begin(), peaks.end(), [](const Peak& p) { return p.harmonic > 4; }), peaks.end());
    const double strongest = strongestPower(peaks);
    StrongPartials s;
    for (const Peak& p : peaks) {
        if (p.power < 0.01 * strongest)
            continue;
        const double c = cents(p.hz / p.harmonic, expectedHz);
        if (!s.found) {
            s.lowest = s.low = s.high = c;
            s.found = true;
        }
        s.low = std::min(s.low, c);
        s.high = std::max(s.high, c);
    }
    return s;
}

double halfPeriodCorrelation(const std::vector<float>& mono, int sampleRate, double hz, double startSeconds,
                             double lengthSeconds)
{
    if (sampleRate <= 0 || hz <= 0.0)
        return 0.0;
    const size_t start = size_t(startSeconds * sampleRate);
    const size_t length = size_t(lengthSeconds * sampleRate);
    const double lag = 0.5 * sampleRate / hz;
    const size_t whole = size_t(lag);
    if (length == 0 || mono.size() < start + length + whole + 1)
        return 0.0;
    // At the two whole lags around it, interpolated.
    auto at = [&](size_t shift) {
        double xy = 0.0, xx = 0.0, yy = 0.0;
        for (size_t i = start; i < start + length; ++i) {
            const double x = mono[i], y = mono[i + shift];
            xy += x * y;
            xx += x * x;
            yy += y * y;
        }
        return xx > 0.0 && yy > 0.0 ? xy / std::sqrt(xx * yy) : 0.0;
    };
    const double t = lag - double(whole);
    return (1.0 - t) * at(whole) + t * at(whole + 1);
}

double integratedLoudness(const std::vector<float>& mono, int sampleRate)
{
    const size_t block = size_t(0.4 * sampleRate);
    const size_t hop = size_t(0.1 * sampleRate);
    if (sampleRate <= 0 || mono.size() < block)
        return -70.0;
    Biquad shelf = highShelf(sampleRate);
    Biquad pass = highPass(sampleRate);
    std::vector<float> weighted(mono.size());
    for (size_t i = 0; i < mono.size(); ++i)
        weighted[i] = float(pass(shelf(mono[i])));
    auto loudness = [](double ms) { return -0.691 + 10.0 * std::log10(std::max(ms, 1e-30)); };

    std::vector<double> blocks;
    for (size_t i = 0; i + block <= weighted.size(); i += hop) {
        const double ms = meanSquare(weighted, i, block);
        if (loudness(ms) > -70.0)
            blocks.push_back(ms);
    }
    if (blocks.empty())
        return -70.0;
    double mean = 0.0;
    for (double ms : blocks)
        mean += ms;
    mean /= double(blocks.size());
    const double gate = loudness(mean) - 10.0;
    double sum = 0.0;
    int count = 0;
    for (double ms : blocks) {
        if (loudness(ms) > gate) {
            sum += ms;
            ++count;
        }
    }
    return loudness(sum / count);
}

double fallBy(const std::vector<float>& mono, int sampleRate, double atSeconds)
{
    const size_t window = size_t(0.05 * sampleRate);
    const size_t end = std::min(mono.size(), size_t(atSeconds * sampleRate));
    if (window == 0 || end < window)
        return 0.0;
    double loudest = 0.0;
    for (size_t i = 0; i + window <= mono.size(); i += window / 5)
        loudest = std::max(loudest, meanSquare(mono, i, window));
    const double there = meanSquare(mono, end - window, window);
    return 10.0 * std::log10(std::max(loudest, 1e-30) / std::max(there, 1e-30));
}

} // namespace SoundMeasure
