#include "RIRurud/BeatMixer.h"

#include "QMMultiMedia/AudioBackend.h"
#include "QMMultiMedia/AudioMix.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace RIRurud {

namespace {
constexpr int pumpIntervalMs = 4;
// What a beat asked for late may still be on time for: the event loop's usual delays.
constexpr qint64 marginNs = 40'000'000;
constexpr qint64 reopenAfterNs = 2'000'000'000;
constexpr qint64 chunkFrames = 1024;

// Interleaved stereo at the mixer's rate from a decoded file of any rate and channel count.
std::vector<float> toStereo(const std::vector<float>& in, int sampleRate, int channels)
{
    const qint64 inFrames = qint64(in.size()) / channels;
    auto at = [&](qint64 frame, int side) {
        const float* f = in.data() + frame * channels;
        return channels > 1 ? f[side] : f[0];
    };
    const double step = double(sampleRate) / BeatMixer::rate;
    const qint64 outFrames = sampleRate == BeatMixer::rate ? inFrames : qint64(std::floor((inFrames - 1) / step)) + 1;
    std::vector<float> out(size_t(outFrames * 2));
    for (qint64 i = 0; i < outFrames; ++i) {
        const double pos = i * step;
        const qint64 a = qMin(qint64(pos), inFrames - 1);
        const qint64 b = qMin(a + 1, inFrames - 1);
        const float t = float(pos - double(a));
        for (int side = 0; side < 2; ++side)
            out[size_t(2 * i + side)] = at(a, side) * (1.0f - t) + at(b, side) * t;
    }
    return out;
}

} // namespace

BeatMixer* BeatMixer::instance()
{
    static BeatMixer* mixer = nullptr;
    if (!mixer) {
        mixer = new BeatMixer(QCoreApplication::instance());
        QObject::connect(mixer, &QObject::destroyed, [] { mixer = nullptr; });
    }
    return mixer;
}

BeatMixer::BeatMixer(QObject* parent)
    : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(pumpIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &BeatMixer::pump);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { closeOutput(); });
}

BeatMixer::~BeatMixer()
{
    closeOutput();
}

void BeatMixer::acquire()
{
    if (m_users++ == 0)
        openOutput();
    updateTimer();
}

void BeatMixer::release()
{
    if (m_users > 0)
        --m_users;
    // Closed from the event loop, not from inside the caller (often a widget being destroyed):
    // closing a stream lets the sound system process events. A user that comes back before then
    // keeps the stream.
    QTimer::singleShot(0, this, [this] {
        if (m_users == 0) {
            closeOutput();
            updateTimer();
        }
    });
}

const BeatMixer::Sound* BeatMixer::sound(const QString& path)
{
    const auto known = m_sounds.constFind(path);
    if (known != m_sounds.constEnd())
        return known.value().get();
    int sampleRate = 0;
    int channels = 0;
    const std::vector<float> decoded = QMMultiMedia::AudioFileReader::readAll(path, &sampleRate, &channels);
    std::shared_ptr<Sound> sound;
    if (!decoded.empty() && sampleRate > 0 && channels > 0) {
        sound = std::make_shared<Sound>();
        sound->frames = toStereo(decoded, sampleRate, channels);
    }
    m_sounds.insert(path, sound);
    return sound.get();
}

qint64 BeatMixer::nowNs() const
{
    return QMMultiMedia::AudioBackend::current()->nowNs();
}

qint64 BeatMixer::leadNs() const
{
    return m_output ? m_queueNs + marginNs : 0;
}

qint64 BeatMixer::frameAt(qint64 ns) const
{
    return qint64(std::floor(double(ns - m_originNs) * rate / 1e9));
}

void BeatMixer::openOutput()
{
    closeOutput();
    m_lastReopenNs = nowNs();
    std::unique_ptr<QMMultiMedia::AudioOutput> output = QMMultiMedia::AudioBackend::current()->createOutput();
    if (!output || !output->start(rate))
        return;  // no device: sounds keep time only
    m_output = std::move(output);
    // The device starts once its buffer is full; from then on the stream is written by the clock,
    // so the buffer stays as full as it was at the start.
    m_queueFrames = qMax<qint64>(chunkFrames, m_output->bytesFree() / 4);
    m_queueNs = qint64(double(m_queueFrames) * 1e9 / rate);
    m_written = 0;
    m_originNs = nowNs() - m_queueNs;
    // Sounds begun on a stream that went away go on where they are by now.
    for (Voice& v : m_voices) {
        if (v.placed)
            v.startFrame = qint64(std::llround(double(v.atNs - m_originNs - m_queueNs) * rate / 1e9));
    }
    pump();
}

void BeatMixer::closeOutput()
{
    // A placed sound keeps the time its first frame was heard at: the clock ends it without a
    // stream, and a new stream goes on with it from there.
    if (m_output) {
        for (Voice& v : m_voices) {
            if (v.placed)
                v.atNs = m_originNs + m_queueNs + qint64(double(v.startFrame) * 1e9 / rate);
        }
    }
    m_output.reset();
    m_queueNs = 0;
    m_queueFrames = 0;
}

quint64 BeatMixer::addVoice(const Sound* sound, qint64 atNs, float volume)
{
    const quint64 id = m_nextId++;
    m_voices.push_back({id, sound, atNs, volume, false, 0});
    updateTimer();
    return id;
}

void BeatMixer::removeVoice(quint64 id)
{
    m_voices.erase(std::remove_if(m_voices.begin(), m_voices.end(), [id](const Voice& v) { return v.id == id; }),
                   m_voices.end());
    updateTimer();
}

bool BeatMixer::hasStarted(quint64 id) const
{
    for (const Voice& v : m_voices) {
        if (v.id == id)
            return m_output ? v.placed && v.startFrame < m_written : nowNs() >= v.atNs;
    }
    return false;
}

void BeatMixer::mixInto(qint64 from, qint64 count)
{
    m_mix.assign(size_t(count * 2), 0.0f);
    for (Voice& v : m_voices) {
        if (!v.placed) {
            // Placed once its frame comes within reach; a voice asked for too late starts now.
            const qint64 due = qint64(std::llround(double(v.atNs - m_originNs - m_queueNs) * rate / 1e9));
            if (due >= from + count)
                continue;
            v.startFrame = qMax(due, from);
            v.placed = true;
        }
        const qint64 first = qMax(from, v.startFrame);
        const qint64 last = qMin(from + count, v.startFrame + v.sound->frameCount());
        for (qint64 f = first; f < last; ++f) {
            const size_t src = size_t(2 * (f - v.startFrame));
            const size_t dst = size_t(2 * (f - from));
            m_mix[dst] += v.sound->frames[src] * v.volume;
            m_mix[dst + 1] += v.sound->frames[src + 1] * v.volume;
        }
    }
    m_out.resize(size_t(count * 2));
    QMMultiMedia::mixToStereo16(m_mix.data(), 2, count, 1.0f, 0.0f, m_out.data());
}

void BeatMixer::pump()
{
    const qint64 now = nowNs();
    if (m_output && m_output->isBroken())
        closeOutput();
    if (!m_output && m_users > 0 && now - m_lastReopenNs >= reopenAfterNs)
        openOutput();

    if (m_output) {
        const qint64 target = frameAt(now);
        while (m_written < target) {
            const qint64 room = m_output->bytesFree() / 4;
            const qint64 count = qMin(qMin(room, chunkFrames), target - m_written);
            if (count <= 0)
                break;
            mixInto(m_written, count);
            const qint64 took = m_output->write(reinterpret_cast<const char*>(m_out.data()), count * 4) / 4;
            m_written += qMax<qint64>(0, took);
            if (took < count)
                break;
        }
        // The device took less than the clock asked for (it plays slower, or it was held up): the
        // clock follows what was written. A device that drained its buffer (the program was held
        // up longer than the buffer lasts) gets silence up to the usual fill; the clock moves
        // ahead by as much.
        if (target - m_written > m_queueFrames / 4)
            m_originNs += qint64(double(target - m_written) * 1e9 / rate);
        const qint64 queued = m_output->bytesQueued() / 4;
        if (queued < m_queueFrames * 2 / 5) {
            const qint64 refill = qMin(m_queueFrames - queued, m_output->bytesFree() / 4);
            if (refill > 0) {
                mixInto(m_written, refill);
                const qint64 took = qMax<qint64>(0, m_output->write(reinterpret_cast<const char*>(m_out.data()), refill * 4) / 4);
                m_written += took;
                m_originNs -= qint64(double(took) * 1e9 / rate);
            }
        }
    }

    // Voices that are over: heard to their end with a stream, or past their time without one.
    std::vector<quint64> ended;
    for (const Voice& v : m_voices) {
        const bool over = m_output
            ? v.placed && m_written >= v.startFrame + v.sound->frameCount() + m_queueFrames
            : now >= v.atNs + qint64(double(v.sound->frameCount()) * 1e9 / rate);
        if (over)
            ended.push_back(v.id);
    }
    for (quint64 id : ended)
        removeVoice(id);
    for (quint64 id : ended)
        emit voiceEnded(id);
    updateTimer();
}

void BeatMixer::updateTimer()
{
    // A stream to write or voices to end on time: every few milliseconds. Only a device to try
    // again: at the pace of those tries, not 250 times a second for nothing.
    const bool busy = m_output || !m_voices.empty();
    if (!busy && m_users == 0) {
        m_timer.stop();
        return;
    }
    const int interval = busy ? pumpIntervalMs : int(reopenAfterNs / 1'000'000);
    if (m_timer.interval() != interval)
        m_timer.setInterval(interval);
    if (!m_timer.isActive())
        m_timer.start();
}

} // namespace RIRurud
