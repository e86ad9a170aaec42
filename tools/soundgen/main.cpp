// soundgen renders the program's sound bank into the bundle resource folder: every note sound of
// the instrument pages, every tuner tone at every concert pitch, and the metronome's tick and bell.
//
//   soundgen --soundfont <General MIDI .sf2> --out <folder> [--jobs N]
//
// Notes are rendered with FluidSynth from the General MIDI SoundFont (one synthesizer per worker
// thread, each loading only the samples of the patches it plays) and encoded to MP3 in-process
// with LAME, which writes the gapless header so the decoded length is exact. Files are written
// under a temporary name and renamed, so an interrupted run never leaves a truncated file.

#include "SoundBankTable.h"

#include <fluidsynth.h>
#include <lame/lame.h>

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

using namespace SoundBank;

namespace {

// One rendering, written under one or more names (a tuner tone at 440 Hz is also the note sound of
// the same instrument when the names agree; the violin tuner and the violin page share the patch).
struct Job {
    int program = 0;
    int key = 60;
    double concertPitch = 440.0;
    Articulation articulation = Plucked;
    std::vector<std::string> names;
};

std::vector<Job> buildJobs()
{
    std::map<std::string, size_t> byName;
    std::map<std::tuple<int, int, int, double, double>, size_t> bySound;
    std::vector<Job> jobs;

    auto add = [&](const std::string& name, int program, int key, int pitch, Articulation a) {
        if (byName.count(name))
            return;
        const auto soundKey = std::make_tuple(program, key, pitch, a.holdSeconds, a.courseDetuneCents);
        auto it = bySound.find(soundKey);
        if (it == bySound.end()) {
            Job job;
            job.program = program;
            job.key = key;
            job.concertPitch = pitch;
            job.articulation = a;
            jobs.push_back(job);
            it = bySound.emplace(soundKey, jobs.size() - 1).first;
        }
        jobs[it->second].names.push_back(name);
        byName[name] = it->second;
    };

    for (const BoardInstrument& instrument : boardInstruments) {
        for (int key : instrumentKeys(instrument))
            add(noteFileName(instrument.word, key), instrument.program, key, 440, instrument.articulation);
    }
    for (const ToneFile& tone : toneFiles())
        add(tone.name, tone.program, tone.key, tone.concertPitch, tone.articulation);
    return jobs;
}

bool writeFileAtomically(const std::string& path, const unsigned char* data, size_t size)
{
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
        if (!out)
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

// Mono 16-bit PCM WAV.
bool writeWav(const std::string& path, const std::vector<float>& samples)
{
    std::vector<unsigned char> bytes;
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back((v >> (8 * i)) & 0xff); };
    auto put16 = [&](uint16_t v) { for (int i = 0; i < 2; ++i) bytes.push_back((v >> (8 * i)) & 0xff); };
    auto putTag = [&](const char* tag) { bytes.insert(bytes.end(), tag, tag + 4); };
    const uint32_t dataSize = uint32_t(samples.size() * 2);
    putTag("RIFF");
    put32(36 + dataSize);
    putTag("WAVE");
    putTag("fmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(sampleRate);
    put32(sampleRate * 2);
    put16(2);
    put16(16);
    putTag("data");
    put32(dataSize);
    for (float s : samples) {
        const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put16(uint16_t(int16_t(v)));
    }
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

bool encodeMp3(const std::vector<float>& samples, std::vector<unsigned char>& out)
{
    lame_global_flags* lame = lame_init();
    if (!lame)
        return false;
    lame_set_in_samplerate(lame, sampleRate);
    lame_set_out_samplerate(lame, sampleRate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 80);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }
    out.assign(samples.size() * 5 / 4 + 7200 * 2, 0);
    int written = lame_encode_buffer_ieee_float(lame, samples.data(), samples.data(), int(samples.size()),
                                                out.data(), int(out.size()));
    bool ok = written >= 0;
    if (ok) {
        const int flushed = lame_encode_flush(lame, out.data() + written, int(out.size()) - written);
        ok = flushed >= 0;
        if (ok) {
            out.resize(size_t(written + flushed));
            // The first frame is the placeholder of the header that tells decoders the exact length
            // (encoder delay and padding); fill it in now that the stream is complete.
            unsigned char tag[4096];
            const size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
            ok = tagSize > 0 && tagSize <= out.size();
            if (ok)
                std::memcpy(out.data(), tag, tagSize);
        }
    }
    lame_close(lame);
    return ok;
}

// Fades the end out over the given time, so a cut-off tail does not click.
void fadeOut(std::vector<float>& samples, double seconds)
{
    const size_t n = std::min(samples.size(), size_t(seconds * sampleRate));
    const size_t start = samples.size() - n;
    for (size_t i = 0; i < n; ++i) {
        const double x = double(i) / double(n);
        samples[start + i] *= float(0.5 * (1.0 + std::cos(M_PI * x)));
    }
}

float peakOf(const std::vector<float>& samples)
{
    float max = 0.0f;
    for (float s : samples)
        max = std::max(max, std::fabs(s));
    return max;
}

// False for silence: a patch without a sample for that key.
bool isAudible(const std::vector<float>& samples)
{
    return peakOf(samples) >= 1e-4f;
}

// Scales to the given peak; false for silence.
bool normalise(std::vector<float>& samples, float peak)
{
    const float max = peakOf(samples);
    if (max < 1e-4f)
        return false;
    const float gain = peak / max;
    for (float& s : samples)
        s *= gain;
    return true;
}

// Magnitude of a (windowed) stretch at one frequency.
double magnitudeAt(const std::vector<double>& windowed, double hz)
{
    const double w = 2.0 * M_PI * hz / sampleRate;
    double re = 0.0, im = 0.0;
    // Rotate a phasor instead of calling sin and cos per sample.
    double c = 1.0, s = 0.0;
    const double cw = std::cos(w), sw = std::sin(w);
    for (double v : windowed) {
        re += v * c;
        im -= v * s;
        const double nc = c * cw - s * sw;
        s = s * cw + c * sw;
        c = nc;
    }
    return std::hypot(re, im);
}

// Mean frequency of the partial within 60 cents of `expected` (the fundamental of a note near
// that pitch), from a stretch after the attack: the power-weighted centre of the spectrum there,
// so that a vibrato or a chorus of slightly detuned samples counts by its middle, not by its
// loudest instant. 0 when there is no clear partial to measure.
double measureFrequency(const std::vector<float>& x, double expected)
{
    const size_t start = size_t(0.1 * sampleRate);
    const size_t length = size_t(0.9 * sampleRate);
    if (x.size() < start + length)
        return 0.0;
    std::vector<double> windowed(length);
    for (size_t i = 0; i < length; ++i)
        windowed[i] = double(x[start + i]) * (0.5 - 0.5 * std::cos(2.0 * M_PI * double(i) / double(length - 1)));
    std::vector<std::pair<double, double>> power; // cents, power
    double loudest = 0.0;
    for (double cents = -60.0; cents <= 60.0; cents += 2.0) {
        const double m = magnitudeAt(windowed, expected * std::pow(2.0, cents / 1200.0));
        power.emplace_back(cents, m * m);
        loudest = std::max(loudest, m * m);
    }
    // Only a partial that stands out of its surroundings is measured: where the band holds mere
    // noise or a neighbour's slope, the note keeps the tuning of its sample.
    if (loudest <= 0.0 || power.front().second > 0.25 * loudest || power.back().second > 0.25 * loudest)
        return 0.0;
    double sum = 0.0, weighted = 0.0;
    for (const auto& [cents, p] : power) {
        if (p >= 0.01 * loudest) {
            sum += p;
            weighted += p * cents;
        }
    }
    return expected * std::pow(2.0, weighted / sum / 1200.0);
}

class Renderer
{
public:
    Renderer(const std::string& soundFont)
    {
        m_settings = new_fluid_settings();
        fluid_settings_setnum(m_settings, "synth.sample-rate", sampleRate);
        // A small room, so notes do not sound as if played into a pillow; its tail is cut with
        // the note's fade-out.
        fluid_settings_setint(m_settings, "synth.reverb.active", 1);
        fluid_settings_setnum(m_settings, "synth.reverb.room-size", 0.3);
        fluid_settings_setnum(m_settings, "synth.reverb.damp", 0.4);
        fluid_settings_setnum(m_settings, "synth.reverb.width", 0.6);
        fluid_settings_setnum(m_settings, "synth.reverb.level", 0.35);
        fluid_settings_setint(m_settings, "synth.chorus.active", 0);
        fluid_settings_setint(m_settings, "synth.dynamic-sample-loading", 1);
        fluid_settings_setint(m_settings, "synth.polyphony", 64);
        fluid_settings_setnum(m_settings, "synth.gain", 0.5);
        fluid_settings_setint(m_settings, "synth.cpu-cores", 1);
        m_synth = new_fluid_synth(m_settings);
        m_font = m_synth ? fluid_synth_sfload(m_synth, soundFont.c_str(), 1) : FLUID_FAILED;
    }
    ~Renderer()
    {
        if (m_synth)
            delete_fluid_synth(m_synth);
        delete_fluid_settings(m_settings);
    }
    bool isValid() const { return m_font != FLUID_FAILED; }

    // Renders one note, mono, the given number of seconds long, on the given key of the patch. A
    // key other than the job's is shifted to the job's pitch by resampling: a patch whose samples
    // end before the note (the piano above C8) still sounds it from its last key.
    std::vector<float> renderNote(const Job& job, int playedKey, double seconds, double correctionCents)
    {
        if (playedKey == job.key)
            return renderKey(job, playedKey, seconds, correctionCents);
        const double ratio = std::pow(2.0, (job.key - playedKey) / 12.0);
        const std::vector<float> source = renderKey(job, playedKey, seconds * ratio + 0.01, correctionCents);
        std::vector<float> out(size_t(seconds * sampleRate));
        for (size_t i = 0; i < out.size(); ++i) {
            const double x = double(i) * ratio;
            const size_t j = size_t(x);
            const double t = x - double(j);
            auto at = [&](size_t n) { return n < source.size() ? double(source[n]) : 0.0; };
            const double y0 = j > 0 ? at(j - 1) : at(j), y1 = at(j), y2 = at(j + 1), y3 = at(j + 2);
            // Catmull-Rom interpolation.
            out[i] = float(y1 + 0.5 * t * (y2 - y0 + t * (2.0 * y0 - 5.0 * y1 + 4.0 * y2 - y3
                                                          + t * (3.0 * (y1 - y2) + y3 - y0))));
        }
        return out;
    }

private:
    std::vector<float> renderKey(const Job& job, int playedKey, double seconds, double correctionCents)
    {
        const double shift = 1200.0 * std::log2(job.concertPitch / 440.0) + correctionCents;
        const double detune = job.articulation.courseDetuneCents;
        const int channels = detune > 0.0 ? 2 : 1;
        for (int channel = 0; channel < channels; ++channel) {
            const double cents = shift + (channels == 1 ? 0.0 : (channel == 0 ? -detune / 2 : detune / 2));
            double pitches[128];
            for (int k = 0; k < 128; ++k)
                pitches[k] = k * 100.0 + cents;
            fluid_synth_activate_key_tuning(m_synth, 0, channel, "bank", pitches, 0);
            fluid_synth_activate_tuning(m_synth, channel, 0, channel, 0);
            fluid_synth_program_select(m_synth, channel, m_font, 0, job.program);
            fluid_synth_cc(m_synth, channel, 7, 127);
            fluid_synth_cc(m_synth, channel, 10, 64);
        }
        const size_t total = size_t(seconds * sampleRate);
        const size_t hold = std::min(total, size_t(job.articulation.holdSeconds * sampleRate));
        std::vector<float> left(total), right(total);
        for (int channel = 0; channel < channels; ++channel)
            fluid_synth_noteon(m_synth, channel, playedKey, channel == 0 ? 100 : 80);
        fluid_synth_write_float(m_synth, int(hold), left.data(), 0, 1, right.data(), 0, 1);
        for (int channel = 0; channel < channels; ++channel)
            fluid_synth_noteoff(m_synth, channel, playedKey);
        fluid_synth_write_float(m_synth, int(total - hold), left.data(), int(hold), 1, right.data(), int(hold), 1);
        silence();
        std::vector<float> mono(total);
        for (size_t i = 0; i < total; ++i)
            mono[i] = 0.5f * (left[i] + right[i]);
        return mono;
    }

public:
    // Renders one hit of the General MIDI percussion kit.
    std::vector<float> renderDrum(int key, int velocity, double seconds)
    {
        const size_t total = size_t(seconds * sampleRate);
        std::vector<float> left(total), right(total);
        fluid_synth_program_select(m_synth, 9, m_font, 128, 0);
        fluid_synth_noteon(m_synth, 9, key, velocity);
        fluid_synth_write_float(m_synth, int(total), left.data(), 0, 1, right.data(), 0, 1);
        fluid_synth_noteoff(m_synth, 9, key);
        silence();
        std::vector<float> mono(total);
        for (size_t i = 0; i < total; ++i)
            mono[i] = 0.5f * (left[i] + right[i]);
        return mono;
    }

private:
    // Ends every voice and empties the reverb, so that nothing of one note sounds into the next.
    void silence()
    {
        for (int channel = 0; channel < 16; ++channel)
            fluid_synth_all_sounds_off(m_synth, channel);
        fluid_synth_system_reset(m_synth);
        std::vector<float> scratch(2048);
        fluid_synth_write_float(m_synth, 1024, scratch.data(), 0, 1, scratch.data(), 1024, 1);
    }

    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr;
    int m_font = FLUID_FAILED;
};

int usableCores()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

void quietFluidLog(int, const char*, void*) {}

// FluidSynth reports, as errors, that it cannot unload samples a synthesizer never loaded: each
// worker loads only the samples of its own notes. Those say nothing; every other error is shown.
void fluidErrorLog(int, const char* message, void*)
{
    const std::string text = message ? message : "";
    if (text.find("not found in cache") != std::string::npos || text.find("Unable to unload sample") != std::string::npos)
        return;
    std::fprintf(stderr, "fluidsynth: %s\n", text.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::string soundFont;
    std::string outDir;
    int workers = usableCores();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--soundfont" && i + 1 < argc)
            soundFont = argv[++i];
        else if (arg == "--out" && i + 1 < argc)
            outDir = argv[++i];
        else if (arg == "--jobs" && i + 1 < argc)
            workers = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: soundgen --soundfont FILE.sf2 --out FOLDER [--jobs N]\n");
            return 2;
        }
    }
    if (soundFont.empty() || outDir.empty()) {
        std::fprintf(stderr, "usage: soundgen --soundfont FILE.sf2 --out FOLDER [--jobs N]\n");
        return 2;
    }
    if (outDir.back() != '/')
        outDir += '/';
    fluid_set_log_function(FLUID_WARN, quietFluidLog, nullptr);
    fluid_set_log_function(FLUID_INFO, quietFluidLog, nullptr);
    fluid_set_log_function(FLUID_DBG, quietFluidLog, nullptr);
    fluid_set_log_function(FLUID_ERR, fluidErrorLog, nullptr);

    const auto started = std::chrono::steady_clock::now();
    const std::vector<Job> jobs = buildJobs();
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::atomic<int> filesWritten{0};
    std::mutex logMutex;
    std::atomic<int> retuned{0};
    double largestError = 0.0;
    std::string largestErrorName;
    auto report = [&](const std::string& message) {
        std::lock_guard<std::mutex> lock(logMutex);
        std::fprintf(stderr, "soundgen: %s\n", message.c_str());
        failed = true;
    };

    auto work = [&](bool metronome) {
        Renderer renderer(soundFont);
        if (!renderer.isValid()) {
            report("cannot load the SoundFont " + soundFont);
            return;
        }
        if (metronome) {
            // A dry wood block for the beats and a bell for the first beat of the bar.
            std::vector<float> tick = renderer.renderDrum(76, 100, 0.12);
            std::vector<float> bell = renderer.renderDrum(53, 127, 0.7);
            fadeOut(tick, 0.02);
            fadeOut(bell, 0.2);
            if (!normalise(tick, 0.7f) || !normalise(bell, 0.9f)) {
                report("the metronome sounds are silent");
                return;
            }
            if (!writeWav(outDir + metronomeTick, tick) || !writeWav(outDir + metronomeBell, bell)) {
                report("cannot write the metronome sounds into " + outDir);
                return;
            }
            filesWritten += 2;
        }
        std::vector<unsigned char> mp3;
        for (size_t i = next++; i < jobs.size() && !failed; i = next++) {
            const Job& job = jobs[i];
            // Nearest key of the patch that sounds, at most a fifth away.
            std::vector<float> samples;
            int playedKey = job.key;
            bool sounded = false;
            const int step = job.key >= 60 ? -1 : 1;
            for (; std::abs(playedKey - job.key) <= 7; playedKey += step) {
                samples = renderer.renderNote(job, playedKey, noteSeconds, 0.0);
                if ((sounded = isAudible(samples)))
                    break;
            }
            if (!sounded) {
                report("silent rendering for " + job.names.front());
                return;
            }
            // Samples recorded from real instruments are not all in equal temperament (a piano's
            // treble is stretched sharp); measure and render again in tune. Below about D3 the
            // fundamental is too weak in some patches (the piano's bass) to be measured this way;
            // those notes keep the tuning of their samples.
            const double target = frequency(job.key, job.concertPitch);
            const double measured = target >= 140.0 ? measureFrequency(samples, target) : 0.0;
            const double error = measured > 0.0 ? 1200.0 * std::log2(measured / target) : 0.0;
            if (std::abs(error) > 2.0 && std::abs(error) < 60.0) {
                samples = renderer.renderNote(job, playedKey, noteSeconds, -error);
                ++retuned;
                std::lock_guard<std::mutex> lock(logMutex);
                if (std::abs(error) > std::abs(largestError)) {
                    largestError = error;
                    largestErrorName = job.names.front();
                }
            }
            fadeOut(samples, 0.25);
            normalise(samples, 0.8f);
            if (!encodeMp3(samples, mp3)) {
                report("cannot encode " + job.names.front());
                return;
            }
            for (const std::string& name : job.names) {
                if (!writeFileAtomically(outDir + name, mp3.data(), mp3.size())) {
                    report("cannot write " + outDir + name);
                    return;
                }
                ++filesWritten;
            }
        }
    };

    std::vector<std::thread> threads;
    for (int i = 0; i < workers; ++i)
        threads.emplace_back(work, i == 0);
    for (std::thread& t : threads)
        t.join();
    if (failed)
        return 1;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("soundgen: %d files (%zu renderings, %d retuned, at most %+.1f cents for %s) in %.1f s on %d threads\n",
                filesWritten.load(), jobs.size(), retuned.load(), largestError, largestErrorName.c_str(), elapsed,
                workers);
    return 0;
}
