#include "SoundAnalysis.h"

#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

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

std::vector<Figures> measureAll(const std::vector<Request>& requests)
{
    std::vector<Figures> figures(requests.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < requests.size(); i = next++) {
            const Request& r = requests[i];
            Figures& f = figures[i];
            const Decoded d = decode(r.path, true);
            if (!d.ok || d.sampleRate <= 0) {
                f.error = d.error.empty() ? "cannot be decoded" : d.error;
                continue;
            }
            f.seconds = double(d.mono.size()) / d.sampleRate;
            // The pitch over the second after the attack, as the generator measures it.
            const double hz = SoundMeasure::fundamental(d.mono, d.sampleRate, r.hz, 0.15, 1.0, r.bowed);
            f.pitched = hz > 0.0;
            f.cents = f.pitched ? SoundMeasure::cents(hz, r.hz) : 0.0;
            if (r.bowed)
                f.stray = SoundMeasure::strayPartial(d.mono, d.sampleRate, r.hz, 0.15, 1.0);
            f.strong = SoundMeasure::strongPartials(d.mono, d.sampleRate, r.hz, 0.15, 1.0);
            f.halfPeriod = SoundMeasure::halfPeriodCorrelation(d.mono, d.sampleRate, r.hz, 0.15, 1.0);
            f.loudness = SoundMeasure::integratedLoudness(d.mono, d.sampleRate);
            f.fall = SoundMeasure::fallBy(d.mono, d.sampleRate, r.fadeStart);
            f.ring = ringTime(d.mono, d.sampleRate);
            const auto first = std::find_if(d.mono.begin(), d.mono.end(), [](float v) { return std::fabs(v) >= 0.001f; });
            f.lead = double(first - d.mono.begin()) / d.sampleRate;
        }
    };
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
        threads.emplace_back(work);
    for (std::thread& t : threads)
        t.join();
    return figures;
}

} // namespace SoundAnalysis
