// soundgen renders the program's sound bank into the bundle resource folder: every note sound of
// the instrument pages, every tuner tone at every concert pitch, and the metronome's tick and bell.
//
//   soundgen --soundfont <General MIDI .sf2> --out <folder> [--jobs N]
//
// Each note is rendered with FluidSynth from the General MIDI SoundFont, at every concert pitch it
// is needed at, on a synthesizer of its own (loading only the samples of its patch), so that every
// run writes the same files however many threads share the work. It is then measured and put in tune (a
// recorded vibrato taken out where the table asks for a steady tone), damped and faded as its
// articulation says, brought to one loudness, and encoded to MP3 in-process with LAME, which writes
// the gapless header so the decoded length is exact. Files are written under a temporary name and
// renamed, so an interrupted run never leaves a truncated file.

#include "SoundBankTable.h"
#include "SoundMeasure.h"
#include "SoundShaping.h"

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

// Every note is brought to this integrated loudness (LUFS), its peaks kept below the ceiling.
constexpr double noteLoudness = -23.0;
constexpr float peakCeiling = 0.89f; // -1 dBFS
constexpr float leadInThreshold = 0.004f;   // -48 dBFS
constexpr double leadInKeepSeconds = 0.0005;

// A note is in tune when its measured fundamental is this close to its pitch (cents); a note
// further off is rendered again, corrected, a few times at most, and the best rendering is kept.
// (The synthesizer tunes in whole cents.)
constexpr double tuningTolerance = 0.5;
constexpr int tuningPasses = 4;
// A bowed tone none of whose loudest partials strays further than this from its series (cents).
constexpr double strayPartialLimit = 8.0;
// A plucked tone whose strong partials lie within this of each other (cents).
constexpr double partialSpreadLimit = 10.0;
// A tone whose waveform repeats at half its period this closely sounds an octave high.
constexpr double octaveCorrelationLimit = 0.8;
// A plucked note's attack is over by then (seconds).
constexpr double attackSeconds = 0.3;

// One rendering, written under one or more names (a tuner tone at 440 Hz is also the note sound of
// the same instrument when the names agree; the violin tuner and the violin page share the patch).
struct Job {
    int program = 0;
    int key = 60;
    double concertPitch = 440.0;
    Articulation articulation = Plucked;
    std::vector<std::string> names;
};

using ArticulationKey = decltype(Articulation{}.key());

std::vector<Job> buildJobs()
{
    std::map<std::string, size_t> byName;
    std::map<std::tuple<int, int, int, ArticulationKey>, size_t> bySound;
    std::vector<Job> jobs;

    auto add = [&](const std::string& name, int program, int key, int pitch, Articulation a) {
        if (byName.count(name))
            return;
        const auto soundKey = std::make_tuple(program, key, pitch, a.key());
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

// The renderings of one note of one patch, at every concert pitch, in the order of the pitches.
// Each unit is rendered on a synthesizer of its own: what one note leaves behind in a synthesizer
// changes the next note played on it a little, so a synthesizer shared by the notes a thread happens
// to take would make the files depend on the number of threads and their timing.
std::vector<std::vector<size_t>> renderingUnits(const std::vector<Job>& jobs)
{
    std::map<std::tuple<int, int, ArticulationKey>, size_t> unitOf;
    std::vector<std::vector<size_t>> units;
    for (size_t i = 0; i < jobs.size(); ++i) {
        const Job& j = jobs[i];
        const auto key = std::make_tuple(j.program, j.key, j.articulation.key());
        auto it = unitOf.find(key);
        if (it == unitOf.end()) {
            units.emplace_back();
            it = unitOf.emplace(key, units.size() - 1).first;
        }
        units[it->second].push_back(i);
    }
    for (std::vector<size_t>& unit : units) {
        std::sort(unit.begin(), unit.end(),
                  [&](size_t x, size_t y) { return jobs[x].concertPitch < jobs[y].concertPitch; });
    }
    // The largest first, so that no thread is left with a long unit at the end.
    std::stable_sort(units.begin(), units.end(),
                     [](const std::vector<size_t>& x, const std::vector<size_t>& y) { return x.size() > y.size(); });
    return units;
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

// False for silence: a patch without a sample for that key.
bool isAudible(const std::vector<float>& samples)
{
    return SoundShaping::peak(samples) >= 1e-4f;
}

// Scales to the given peak; false for silence.
bool normalise(std::vector<float>& samples, float peak)
{
    const float max = SoundShaping::peak(samples);
    if (max < 1e-4f)
        return false;
    const float gain = peak / max;
    for (float& s : samples)
        s *= gain;
    return true;
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
    // end before the note (the piano above C8) still sounds it from its last key. The key is let go
    // when the articulation says, in the time of the note as it is heard.
    std::vector<float> renderNote(const Job& job, int playedKey, double seconds, double correctionCents)
    {
        const double hold = job.articulation.holdSeconds;
        if (playedKey == job.key)
            return renderKey(job, playedKey, seconds, hold, correctionCents);
        const double ratio = std::pow(2.0, (job.key - playedKey) / 12.0);
        const std::vector<float> source = renderKey(job, playedKey, seconds * ratio + 0.01, hold * ratio, correctionCents);
        std::vector<float> out(size_t(seconds * sampleRate));
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = SoundShaping::sampleAt(source, double(i) * ratio);
        return out;
    }

private:
    std::vector<float> renderKey(const Job& job, int playedKey, double seconds, double holdSeconds, double correctionCents)
    {
        const double cents = 1200.0 * std::log2(job.concertPitch / 440.0) + correctionCents;
        double pitches[128];
        for (int k = 0; k < 128; ++k)
            pitches[k] = k * 100.0 + cents;
        fluid_synth_activate_key_tuning(m_synth, 0, 0, "bank", pitches, 0);
        fluid_synth_activate_tuning(m_synth, 0, 0, 0, 0);
        fluid_synth_program_select(m_synth, 0, m_font, 0, job.program);
        fluid_synth_cc(m_synth, 0, 7, 127);
        fluid_synth_cc(m_synth, 0, 10, 64);
        const size_t total = size_t(seconds * sampleRate);
        const size_t hold = std::min(total, size_t(holdSeconds * sampleRate));
        std::vector<float> left(total), right(total);
        fluid_synth_noteon(m_synth, 0, playedKey, 100);
        fluid_synth_write_float(m_synth, int(hold), left.data(), 0, 1, right.data(), 0, 1);
        fluid_synth_noteoff(m_synth, 0, playedKey);
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

// What rendering one note came to, for the closing summary.
struct Outcome {
    double rawCents = 0.0;   // tuning error as the patch plays it
    double tunedCents = 0.0; // what is left after tuning
    double limitedDb = 0.0;  // how far its loudest peak was held down
    std::string rawName, tunedName, limitedName;

    void take(const Outcome& o)
    {
        if (std::abs(o.rawCents) > std::abs(rawCents)) {
            rawCents = o.rawCents;
            rawName = o.rawName;
        }
        if (std::abs(o.tunedCents) > std::abs(tunedCents)) {
            tunedCents = o.tunedCents;
            tunedName = o.tunedName;
        }
        if (o.limitedDb > limitedDb) {
            limitedDb = o.limitedDb;
            limitedName = o.limitedName;
        }
    }
};

// Renders one note ready to encode: in tune, shaped as its articulation says, at the bank's
// loudness. `carried` is how many keys away the sample of the same note at the concert pitch before
// came from (0: its own): the same is tried first here, and it is set for the next.
std::vector<float> renderJob(Renderer& renderer, const Job& job, int& carried, Outcome& outcome, std::string& error)
{
    const Articulation& a = job.articulation;
    const double target = frequency(job.key, job.concertPitch);
    // A steady tone is rendered a little longer: taking out its vibrato reads it at a varying speed.
    const double renderedSeconds = a.steady ? a.seconds + 0.2 : a.seconds;

    // Nearest key of the patch that sounds, at most a fifth away.
    std::vector<float> raw;
    int playedKey = job.key;
    const int step = job.key >= 60 ? -1 : 1;
    for (; std::abs(playedKey - job.key) <= 7; playedKey += step) {
        raw = renderer.renderNote(job, playedKey, renderedSeconds, 0.0);
        if (isAudible(raw))
            break;
    }
    if (!isAudible(raw)) {
        error = "silent rendering for " + job.names.front();
        return {};
    }

    // A string's tone has one clear pitch, and a sample that does not give it one is not used: a
    // bowed string's partials are exactly harmonic (a loud one astray is a resonance recorded with
    // it), a plucked string's strong partials lie together (not a fundamental apart from its
    // overtones), and either sounds its fundamental (not a waveform that repeats at half the period,
    // an octave high). Such a sample is replaced by the nearest key's that is clear, at most an
    // octave away, carried to this pitch; a plucked note carried down is read slower and would ring
    // longer, so it is made to die away as the sample of its own key does. The tone is judged as it
    // is shaped below before any correction (a bowed tone held steady at its pitch): that copy is
    // kept for it.
    std::vector<float> steadied;
    double extraDecay = 0.0;
    if (a.harmonic) {
        auto isClear = [&](const std::vector<float>& x, std::vector<float>& steady) {
            if (a.steady)
                steady = SoundShaping::steadyPitch(x, sampleRate, target, target, size_t(a.seconds * sampleRate));
            const std::vector<float>& heard = a.steady ? steady : x;
            if (SoundMeasure::halfPeriodCorrelation(heard, sampleRate, target, 0.15, 1.0) >= octaveCorrelationLimit)
                return false;
            if (a.steady)
                return SoundMeasure::strayPartial(heard, sampleRate, target, 0.15, 1.0) <= strayPartialLimit;
            return SoundMeasure::strongPartials(heard, sampleRate, target, 0.15, 1.0).spread() <= partialSpreadLimit;
        };
        // How fast a plucked note dies away once its attack is over (dB a second, until its release).
        auto decayRate = [&](const std::vector<float>& x) {
            return (SoundMeasure::fallBy(x, sampleRate, a.holdSeconds) - SoundMeasure::fallBy(x, sampleRate, attackSeconds))
                   / (a.holdSeconds - attackSeconds);
        };
        bool clear = isClear(raw, steadied);
        std::vector<int> nearest;
        if (carried != 0)
            nearest.push_back(job.key + carried);
        for (int away = 1; away <= 12; ++away) {
            for (const int key : {job.key + away, job.key - away}) {
                if (key != job.key + carried && key >= 0 && key <= 127)
                    nearest.push_back(key);
            }
        }
        for (auto key = nearest.begin(); !clear && key != nearest.end(); ++key) {
            std::vector<float> other = renderer.renderNote(job, *key, renderedSeconds, 0.0);
            std::vector<float> otherSteadied;
            if (!isAudible(other) || !isClear(other, otherSteadied))
                continue;
            if (!a.steady)
                extraDecay = std::max(0.0, decayRate(raw) - decayRate(other));
            raw.swap(other);
            steadied.swap(otherSteadied);
            playedKey = *key;
            clear = true;
        }
        carried = playedKey - job.key;
        if (!clear)
            std::fprintf(stderr, "soundgen: no sample near %s gives it one clear pitch\n", job.names.front().c_str());
    }

    // Samples recorded from real instruments are not all in equal temperament (a piano's treble is
    // stretched sharp, a violin sample may lie a little off): measure, and render again corrected
    // until the note is in tune. A steady tone is corrected as its vibrato is taken out, without
    // rendering it again.
    double correction = 0.0;
    auto shaped = [&]() {
        std::vector<float> x = !a.steady           ? raw
                               : correction == 0.0 ? steadied
                                                   : SoundShaping::steadyPitch(raw, sampleRate, target,
                                                                               target * std::pow(2.0, correction / 1200.0),
                                                                               size_t(a.seconds * sampleRate));
        SoundShaping::shapeEnvelope(x, sampleRate, a.holdSeconds, a.dampSeconds, a.decayDbPerSecond + extraDecay);
        return x;
    };
    std::vector<float> samples = shaped();
    std::vector<float> best;
    double bestCents = 0.0;
    for (int pass = 0; pass < tuningPasses; ++pass) {
        const double measured = SoundMeasure::fundamental(samples, sampleRate, target, 0.15, 1.0, a.steady);
        if (measured <= 0.0)
            break;
        const double cents = SoundMeasure::cents(measured, target);
        if (pass == 0) {
            const double rawHz = a.steady ? SoundMeasure::fundamental(raw, sampleRate, target, 0.15, 1.0, true) : measured;
            outcome.rawCents = rawHz > 0.0 ? SoundMeasure::cents(rawHz, target) : 0.0;
        }
        if (best.empty() || std::abs(cents) < std::abs(bestCents)) {
            best = samples;
            bestCents = cents;
        }
        if (std::abs(cents) <= tuningTolerance)
            break;
        correction -= cents;
        if (!a.steady)
            raw = renderer.renderNote(job, playedKey, renderedSeconds, correction);
        samples = shaped();
    }
    if (!best.empty())
        samples.swap(best);
    outcome.tunedCents = bestCents;
    outcome.rawName = outcome.tunedName = outcome.limitedName = job.names.front();

    SoundShaping::fadeOut(samples, sampleRate, fadeSeconds);
    // One loudness for every note; the limiter takes a little off the loudness of a note whose
    // attack it holds down, so measure again and make that up.
    double gain = 1.0;
    std::vector<float> out = samples;
    for (int pass = 0; pass < 4; ++pass) {
        const double loudness = SoundMeasure::integratedLoudness(out, sampleRate);
        if (loudness <= -69.0 || std::abs(loudness - noteLoudness) < 0.05)
            break;
        gain *= std::pow(10.0, (noteLoudness - loudness) / 20.0);
        out = SoundShaping::amplifyAndLimit(samples, sampleRate, gain, peakCeiling);
    }
    outcome.limitedDb = std::max(0.0, 20.0 * std::log10(gain * SoundShaping::peak(samples) / peakCeiling));
    // A sample may take a few milliseconds to rise out of silence: a click should be heard at once.
    SoundShaping::trimLeadIn(out, leadInThreshold, size_t(leadInKeepSeconds * sampleRate));
    return out;
}

int usableCores()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

void quietFluidLog(int, const char*, void*) {}

// An error of the synthesizer (a sample it could not load, a voice it could not start) may leave a
// note rendered from the wrong sample or not at all: the bank is then not written as if all was well.
std::atomic<bool> synthesizerFailed{false};

void fluidErrorLog(int, const char* message, void*)
{
    std::fprintf(stderr, "fluidsynth: %s\n", message ? message : "");
    synthesizerFailed = true;
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
    const std::vector<std::vector<size_t>> units = renderingUnits(jobs);
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::atomic<int> filesWritten{0};
    std::mutex logMutex;
    Outcome worst;
    auto report = [&](const std::string& message) {
        std::lock_guard<std::mutex> lock(logMutex);
        std::fprintf(stderr, "soundgen: %s\n", message.c_str());
        failed = true;
    };

    // Every sample of the SoundFont is read once, here, into the synthesizer library's shared cache,
    // and stays there while this synthesizer lives: the workers' synthesizers find them there.
    // (Loading samples on demand, from several threads at once, now and then lost a sample.)
    const Renderer samples(soundFont);
    if (!samples.isValid()) {
        std::fprintf(stderr, "soundgen: cannot load the SoundFont %s\n", soundFont.c_str());
        return 1;
    }

    auto work = [&](bool metronome) {
        if (metronome) {
            Renderer renderer(soundFont);
            if (!renderer.isValid()) {
                report("cannot load the SoundFont " + soundFont);
                return;
            }
            // A dry wood block for the beats and a bell for the first beat of the bar.
            std::vector<float> tick = renderer.renderDrum(76, 100, 0.12);
            std::vector<float> bell = renderer.renderDrum(53, 127, 0.7);
            SoundShaping::fadeOut(tick, sampleRate, 0.02);
            SoundShaping::fadeOut(bell, sampleRate, 0.2);
            if (!normalise(tick, 0.7f) || !normalise(bell, 0.9f)) {
                report("the metronome sounds are silent");
                return;
            }
            // A beat is heard when it is played: each sound starts at its first audible sample (the
            // wood block rises out of 2 ms of silence, which put every tick behind the bell).
            SoundShaping::trimLeadIn(tick, leadInThreshold, 0);
            SoundShaping::trimLeadIn(bell, leadInThreshold, 0);
            if (!writeWav(outDir + metronomeTick, tick) || !writeWav(outDir + metronomeBell, bell)) {
                report("cannot write the metronome sounds into " + outDir);
                return;
            }
            filesWritten += 2;
        }
        std::vector<unsigned char> mp3;
        for (size_t u = next++; u < units.size() && !failed; u = next++) {
            Renderer renderer(soundFont);
            if (!renderer.isValid()) {
                report("cannot load the SoundFont " + soundFont);
                return;
            }
            int carried = 0;
            for (size_t i : units[u]) {
                const Job& job = jobs[i];
                Outcome outcome;
                std::string error;
                const std::vector<float> samples = renderJob(renderer, job, carried, outcome, error);
                if (!error.empty()) {
                    report(error);
                    return;
                }
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
                std::lock_guard<std::mutex> lock(logMutex);
                worst.take(outcome);
            }
        }
    };

    std::vector<std::thread> threads;
    for (int i = 0; i < workers; ++i)
        threads.emplace_back(work, i == 0);
    for (std::thread& t : threads)
        t.join();
    if (synthesizerFailed)
        std::fprintf(stderr, "soundgen: the synthesizer reported an error (above)\n");
    if (failed || synthesizerFailed)
        return 1;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("soundgen: %d files (%zu renderings) in %.1f s on %d threads; as rendered at most %+.1f cents off "
                "(%s), %+.2f after tuning (%s); peaks limited by at most %.1f dB (%s)\n",
                filesWritten.load(), jobs.size(), elapsed, workers, worst.rawCents, worst.rawName.c_str(),
                worst.tunedCents, worst.tunedName.c_str(), worst.limitedDb, worst.limitedName.c_str());
    return 0;
}
