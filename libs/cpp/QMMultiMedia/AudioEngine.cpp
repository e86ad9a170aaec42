#include "QMMultiMedia/AudioEngine.h"

#include "QMMultiMedia/AudioMix.h"
#include "QMMultiMedia/DecodedSound.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace QMMultiMedia {

namespace {

constexpr qint64 chunkFrames = 4096;
constexpr qint64 gainFrames = qint64(1) << 17;  // about three seconds
constexpr qint64 never = std::numeric_limits<qint64>::max();
// Voices without a time asked for within this of one another start together.
constexpr qint64 togetherNs = 1'000'000;

// Reports of the stream's clock the timeline is drawn through.
constexpr size_t reportsKept = 32;
// How far off a card's clock may run (a null sink that is rewound often runs some 600 ppm fast).
constexpr double maxOffRate = 0.002;

qint64 steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

AudioEngine::AudioEngine(Clock clock)
    : m_clock(std::move(clock))
    , m_gains(size_t(gainFrames), 1.0f)
{
    m_t0 = m_clock();
}

AudioEngine::~AudioEngine()
{
    // The output first: it stops serving before anything it serves goes.
    m_output.reset();
}

void AudioEngine::setOutput(std::unique_ptr<AudioOutput> output)
{
    m_output = std::move(output);
}

void AudioEngine::detach()
{
    {
        // The timeline goes on from where it is, on the steady clock.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_f0 = frameAt(m_clock());
        m_clock = steadyNs;
        m_t0 = m_clock();
        m_streaming = false;
    }
    m_output.reset();
}

qint64 AudioEngine::nowNs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_clock();
}

double AudioEngine::frameAt(qint64 ns) const
{
    return m_f0 + double(ns - m_t0) * m_fps / 1e9;
}

qint64 AudioEngine::plannedStart(const Voice& v) const
{
    if (v.placed)
        return v.start;
    return v.spec.atNs >= 0 ? qint64(std::llround(frameAt(v.spec.atNs))) : v.asapFrame;
}

qint64 AudioEngine::soundFrame(const Voice& v, qint64 start, qint64 engineFrame) const
{
    return v.spec.offset + qint64(double(engineFrame - start) * v.ratio);
}

void AudioEngine::wakeOutput()
{
    if (m_output)
        m_output->wake();
}

void AudioEngine::markDirty(qint64 frame)
{
    if (m_streaming && frame < m_written)
        m_dirty = qMin(m_dirty, frame);
}

quint64 AudioEngine::add(const VoiceSpec& spec)
{
    quint64 id;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const qint64 now = m_clock();
        id = m_nextId++;
        Voice v {id, spec, double(spec.sound->sampleRate()) / rate};
        // Voices asked for together (the notes of a chord) start at the same frame.
        if (spec.atNs < 0 && now - m_lastAsapNs > togetherNs)
            m_lastAsapFrame = heardFrame(now) + (m_streaming ? marginFrames : 0);
        if (spec.atNs < 0)
            m_lastAsapNs = now;
        v.asapFrame = m_lastAsapFrame;
        m_voices.push_back(v);
        markDirty(plannedStart(v));
        m_lastActivityNs = now;
    }
    wakeOutput();
    return id;
}

qint64 AudioEngine::remove(quint64 id, bool* heard)
{
    qint64 position = -1;
    bool sounded = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = std::find_if(m_voices.begin(), m_voices.end(), [id](const Voice& v) { return v.id == id; });
        if (it == m_voices.end()) {
            if (heard)
                *heard = false;
            return -1;
        }
        const qint64 now = m_clock();
        const qint64 at = heardFrame(now);
        const qint64 start = plannedStart(*it);
        const qint64 length = it->spec.sound->frames();
        sounded = !it->dropped && at >= start;
        if (!it->dropped && (!it->placed || at < it->end)) {
            position = qBound(it->spec.offset, soundFrame(*it, start, at), length);
            if (it->placed)
                markDirty(qMax(it->start, at + marginFrames));
        }
        m_voices.erase(it);
        m_lastActivityNs = now;
    }
    if (heard)
        *heard = sounded;
    wakeOutput();
    return position;
}

AudioEngine::VoiceState AudioEngine::state(quint64 id) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    VoiceState s;
    const auto it = std::find_if(m_voices.begin(), m_voices.end(), [id](const Voice& v) { return v.id == id; });
    if (it == m_voices.end() || it->dropped)
        return s;
    const qint64 at = heardFrame(m_clock());
    const qint64 start = plannedStart(*it);
    const qint64 length = it->spec.sound->frames();
    s.position = qBound(it->spec.offset, soundFrame(*it, start, at), length);
    s.playing = it->placed ? at < it->end : s.position < length;
    return s;
}

void AudioEngine::setGains(quint64 id, float left, float right)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = std::find_if(m_voices.begin(), m_voices.end(), [id](const Voice& v) { return v.id == id; });
        if (it == m_voices.end())
            return;
        it->spec.left = left;
        it->spec.right = right;
        if (it->placed)
            markDirty(qMax(it->start, heardFrame(m_clock()) + marginFrames));
    }
    wakeOutput();
}

int AudioEngine::voiceCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_voices.size());
}

bool AudioEngine::isStreaming() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_streaming;
}

bool AudioEngine::wantsStream() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_voices.empty() || m_clock() - m_lastActivityNs < idleNs;
}

void AudioEngine::streamStarted()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_streaming = true;
    m_base = heardFrame(m_clock()) + marginFrames;
    m_written = m_base;
    m_dirty = m_resumeFrame = never;
    // The stream's first report of its clock is taken as it is.
    m_resync = true;
}

void AudioEngine::streamStopped()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_streaming = false;
}

void AudioEngine::resync(qint64 frame, qint64 atNs)
{
    m_f0 = double(frame);
    m_t0 = atNs;
    m_resync = false;
    replaceTimed(heardFrame(m_clock()) + marginFrames);
}

void AudioEngine::replaceTimed(qint64 from)
{
    // Voices given a time that begin from `from` on go where that time now falls.
    for (Voice& v : m_voices) {
        if (v.placed && v.spec.atNs >= 0 && v.start >= from)
            v.placed = false;
    }
    markDirty(from);
}

void AudioEngine::observe(qint64 streamFrame, qint64 atNs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // A report of a frame not yet written is believed up to a minute ahead: a server catching up
    // after it was stopped plays (and drops) a stream's frames fast for a moment.
    if (!m_streaming || streamFrame < 0 || m_base + streamFrame > m_written + 60 * rate)
        return;
    const double frame = double(m_base + streamFrame);
    if (m_resync || std::fabs(frame - frameAt(atNs)) > breakFrames) {
        m_reports.clear();
        m_reports.push_back({atNs, frame});
        resync(qint64(frame), atNs);
        return;
    }
    // The timeline is the straight line through the stream's latest reports (least squares), so
    // that a card some hundred ppm off is followed at once and the jitter of single reports is
    // smoothed away. Until the reports span a second, only their mean phase is taken.
    m_reports.push_back({atNs, frame});
    if (m_reports.size() > reportsKept)
        m_reports.pop_front();
    double st = 0, sf = 0, stt = 0, stf = 0;
    for (const Report& r : m_reports) {
        const double t = double(r.atNs - atNs) / 1e9;
        const double f = r.frame - frame;
        st += t;
        sf += f;
        stt += t * t;
        stf += t * f;
    }
    const double n = double(m_reports.size());
    const double slope = (n * stf - st * sf) / (n * stt - st * st);
    if (m_reports.back().atNs - m_reports.front().atNs >= 1'000'000'000 && std::isfinite(slope)
        && std::fabs(slope / rate - 1.0) < maxOffRate)
        m_fps = slope;
    const double before = frameAt(atNs);
    m_f0 = frame + (sf - m_fps * st) / n;
    m_t0 = atNs;
    // The first reports of a stream move the timeline by more than a little: what is to be heard
    // later than a moment from now follows (what is nearer may have gone to the sink already).
    if (std::fabs(m_f0 - before) > rate / 2000.0)
        replaceTimed(heardFrame(m_clock()) + rate / 20);
}

void AudioEngine::dropEnded(qint64 heard, qint64 now)
{
    const auto over = [heard](const Voice& v) { return v.dropped || (v.placed && heard >= v.end); };
    const size_t before = m_voices.size();
    m_voices.erase(std::remove_if(m_voices.begin(), m_voices.end(), over), m_voices.end());
    if (m_voices.size() != before)
        m_lastActivityNs = now;
}

void AudioEngine::place(Voice& v, qint64 from, qint64 end)
{
    // A voice given a time waits for the new stream's first report of its clock.
    if (v.placed || (m_resync && v.spec.atNs >= 0))
        return;
    qint64 start = plannedStart(v);
    if (start >= end)
        return;
    if (start < from) {
        // Late: what was asked for could not be written in time.
        const qint64 late = from - start;
        if (v.spec.beat && late > beatLateFrames) {
            v.dropped = true;
            return;
        }
        if (v.spec.beat || late <= shiftFrames)
            start = from;
        // Otherwise it went on unheard: the rest plays where it is by now.
    }
    v.placed = true;
    v.start = start;
    v.end = start + qint64(std::ceil(double(v.spec.sound->frames() - v.spec.offset) / v.ratio));
}

void AudioEngine::mixInto(float* mix, const Voice& v, qint64 from, qint64 end) const
{
    const qint64 a = qMax(from, v.start);
    const qint64 b = qMin(end, v.end);
    if (a >= b)
        return;
    const DecodedSound& sound = *v.spec.sound;
    const float* samples = sound.samples();
    const qint64 ready = sound.readyFrames();
    const int channels = sound.channels();
    const float gl = v.spec.left;
    const float gr = v.spec.right;
    for (qint64 f = a; f < b; ++f) {
        float l, r;
        if (v.ratio == 1.0) {
            const qint64 s = v.spec.offset + (f - v.start);
            if (s >= ready)
                break;
            l = samples[s * channels];
            r = samples[s * channels + channels - 1];
        } else {
            const double pos = double(v.spec.offset) + double(f - v.start) * v.ratio;
            const qint64 s = qint64(pos);
            if (s + 1 >= ready)
                break;
            const float t = float(pos - double(s));
            const float* p = samples + s * channels;
            l = p[0] + (p[channels] - p[0]) * t;
            r = p[channels - 1] + (p[2 * channels - 1] - p[channels - 1]) * t;
        }
        mix[2 * (f - from)] += l * gl;
        mix[2 * (f - from) + 1] += r * gr;
    }
}

void AudioEngine::write(StreamPort& port, qint64 from, qint64 count)
{
    while (count > 0) {
        const qint64 n = qMin(count, chunkFrames);
        m_mix.assign(size_t(2 * n), 0.0f);
        for (Voice& v : m_voices) {
            place(v, from, from + n);
            if (v.placed)
                mixInto(m_mix.data(), v, from, from + n);
        }
        // The limiter goes on from the gain it had before the first frame of this stretch.
        const bool known = from - 1 < m_gainsEnd && from - 1 >= m_gainsEnd - gainFrames;
        float gain = m_gains[size_t((known ? from - 1 : m_gainsEnd - 1) & (gainFrames - 1))];
        for (qint64 i = 0; i < n;) {
            const qint64 at = (from + i) & (gainFrames - 1);
            const qint64 run = qMin(n - i, gainFrames - at);
            gain = limitStereo(m_mix.data() + 2 * i, run, gain, m_gains.data() + at);
            i += run;
        }
        m_gainsEnd = qMax(m_gainsEnd, from + n);
        port.write(from - m_base, m_mix.data(), n);
        from += n;
        count -= n;
    }
}

bool AudioEngine::serve(StreamPort& port)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_streaming)
        return false;
    const qint64 now = m_clock();
    const qint64 heard = heardFrame(now);
    const qint64 safe = heard + marginFrames;
    dropEnded(heard, now);
    // Held up for longer than what was written lasts: what should have sounded meanwhile is past.
    if (m_written < safe)
        m_written = safe;
    // A change is written again from the earliest frame that can still change, a short stretch
    // first: it goes to the server before the rest is mixed, so the start of a new sound arrives
    // within the margin however long the whole change takes to mix. Each further stretch is twice
    // the one before; it is wanted no sooner than all before it have been heard.
    const qint64 from = qMax(m_dirty, safe);
    const bool resuming = from == m_resumeFrame;
    m_dirty = m_resumeFrame = never;
    if (from < m_written) {
        m_stretch = resuming ? qMin(2 * m_stretch, aheadFrames) : firstStretchFrames;
        const qint64 count = qMin(m_written - from, m_stretch);
        write(port, from, count);
        if (from + count < m_written) {
            m_dirty = m_resumeFrame = from + count;
            return true;
        }
    }
    const qint64 wanted = qMin(qMax(port.writableFrames(), heard + aheadFrames - m_written), 2 * aheadFrames);
    if (wanted > 0) {
        write(port, m_written, wanted);
        m_written += wanted;
    }
    return false;
}

} // namespace QMMultiMedia
