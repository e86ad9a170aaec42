#include "QMMultiMedia/DecodedSound.h"

#include "QMMultiMedia/AudioEngine.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include <QDateTime>
#include <QFileInfo>

#include <soxr.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <thread>

namespace QMMultiMedia {

namespace {

// Frames decoded in one go on the decoding thread.
constexpr qint64 chunkFrames = 16384;
// Decoded sounds kept for playing again, in bytes of samples.
constexpr qint64 keptBytes = qint64(64) << 20;
// How often the decoding thread looks whether a streamed sound needs more.
constexpr auto streamCheck = std::chrono::milliseconds(50);

struct Kept
{
    QString path;
    qint64 size;
    QDateTime modified;
    std::shared_ptr<DecodedSound> sound;
    quint64 lastUse;
};

// Used from the GUI thread only.
std::vector<Kept>& kept()
{
    static std::vector<Kept> sounds;
    return sounds;
}

quint64 nextUse()
{
    static quint64 use = 0;
    return ++use;
}

} // namespace

// Decodes the rest of the sounds decoded whole, and what lies ahead of streamed sounds, on a
// thread of its own: a stretch of each sound in turn, so that none waits for another.
class SoundDecoder
{
public:
    static SoundDecoder& instance()
    {
        static SoundDecoder decoder;
        return decoder;
    }
    ~SoundDecoder()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    void add(const std::shared_ptr<DecodedSound>& sound)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (std::find(m_sounds.begin(), m_sounds.end(), sound) == m_sounds.end())
                m_sounds.push_back(sound);
            m_woken = true;
            if (!m_thread.joinable())
                m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_one();
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_stop) {
            bool decoded = false;
            for (size_t i = 0; i < m_sounds.size() && !m_stop;) {
                std::shared_ptr<DecodedSound> sound = m_sounds[i];
                lock.unlock();
                // A sound nobody holds any more (but this list and this turn) is not decoded further.
                const DecodedSound::Step step =
                    sound.use_count() > 2 ? sound->decodeStep() : DecodedSound::Step::Done;
                if (step == DecodedSound::Step::Done && !sound->m_streamed)
                    sound->finish();
                lock.lock();
                decoded |= step == DecodedSound::Step::Decoded;
                const auto at = std::find(m_sounds.begin(), m_sounds.end(), sound);
                if (step == DecodedSound::Step::Done && at != m_sounds.end())
                    m_sounds.erase(at);
                else
                    i = size_t(at - m_sounds.begin()) + 1;
                if (step == DecodedSound::Step::Done) {
                    // Let go outside the lock: the last holder deletes the sound.
                    lock.unlock();
                    sound.reset();
                    lock.lock();
                }
            }
            if (decoded)
                continue;
            if (m_sounds.empty())
                m_wake.wait(lock, [this] { return m_stop || m_woken; });
            else
                m_wake.wait_for(lock, streamCheck, [this] { return m_stop || m_woken; });
            m_woken = false;
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::shared_ptr<DecodedSound>> m_sounds;
    bool m_woken = false;
    bool m_stop = false;
    std::thread m_thread;
};

std::shared_ptr<DecodedSound> DecodedSound::open(const QString& path, QString* error)
{
    const auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return nullptr;
    };
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return refuse(QStringLiteral("there is no such file"));
    for (Kept& k : kept()) {
        if (k.path == path && k.size == info.size() && k.modified == info.lastModified()) {
            k.lastUse = nextUse();
            return k.sound;
        }
    }
    auto reader = std::make_unique<AudioFileReader>();
    QString why;
    if (!reader->open(path))
        why = reader->errorString();
    else if (!(reader->durationSeconds() <= maxSeconds))
        why = QStringLiteral("it would play for %1 hours, longer than any sound").arg(reader->durationSeconds() / 3600, 0, 'f', 0);
    if (!why.isEmpty()) {
        qWarning("Cannot play %s: %s", qPrintable(path), qPrintable(why));
        return refuse(why);
    }
    std::shared_ptr<DecodedSound> sound(new DecodedSound);
    sound->m_path = path;
    sound->m_rate = AudioEngine::rate;
    sound->m_fileRate = reader->sampleRate();
    sound->m_fileChannels = reader->channels();
    sound->m_channels = qMin(2, reader->channels());
    sound->m_frames = sound->m_fileRate == sound->m_rate
                          ? reader->frames()
                          : qMax<qint64>(1, std::llround(double(reader->frames()) * sound->m_rate / sound->m_fileRate));
    sound->m_estimate = reader->lengthIsEstimate();
    // An estimate may fall short of the sound: only a streamed sound goes on to its real end.
    sound->m_streamed = reader->lengthIsEstimate() || reader->durationSeconds() > wholeSeconds;
    sound->m_reader = std::move(reader);
    return sound;
}

DecodedSound::~DecodedSound() = default;

void DecodedSound::ResamplerDeleter::operator()(soxr* resampler) const
{
    soxr_delete(resampler);
}

void DecodedSound::decode()
{
    if (m_decodeStarted)
        return;
    if (m_streamed) {
        decodeFrom(0);
        return;
    }
    m_decodeStarted = true;
    startResampler();
    m_samples.assign(size_t(m_frames) * size_t(m_channels), 0.0f);
    std::shared_ptr<DecodedSound> self = shared_from_this();
    if (decodeUntil(qMin(m_frames, atOnceFrames(decodedAtOnceSeconds))))
        SoundDecoder::instance().add(self);
    else
        finish();

    // Kept for playing again; beyond the bound the least recently used go.
    std::vector<Kept>& sounds = kept();
    sounds.erase(std::remove_if(sounds.begin(), sounds.end(), [this](const Kept& k) { return k.path == m_path; }),
                 sounds.end());
    const QFileInfo info(m_path);
    sounds.push_back({m_path, info.size(), info.lastModified(), self, nextUse()});
    qint64 bytes = 0;
    for (const Kept& k : sounds)
        bytes += k.sound->frames() * k.sound->channels() * qint64(sizeof(float));
    while (bytes > keptBytes && sounds.size() > 1) {
        const auto oldest = std::min_element(sounds.begin(), sounds.end() - 1,
                                             [](const Kept& a, const Kept& b) { return a.lastUse < b.lastUse; });
        bytes -= oldest->sound->frames() * oldest->sound->channels() * qint64(sizeof(float));
        sounds.erase(oldest);
    }
}

qint64 DecodedSound::atOnceFrames(double seconds) const
{
    // A file at a high rate takes long to resample: less of it is decoded at once.
    return qint64(seconds * m_rate * qMin(1.0, 96000.0 / m_fileRate));
}

void DecodedSound::startResampler()
{
    if (m_fileRate == m_rate)
        return;
    // Keeps what lies below 91% of half the engine's rate (20 kHz) and takes out what lies above
    // half of it, to 20 bits' precision (below the noise of a 16-bit file); linear in phase, with
    // the filter's delay taken off, so the sound still begins on its first frame.
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    m_resampler.reset(soxr_create(m_fileRate, m_rate, unsigned(m_channels), &error, &io, &quality, nullptr));
    if (error) {
        qWarning("Cannot resample %s: %s", qPrintable(m_path), error);
        m_resampler.reset();
    }
}

std::shared_ptr<DecodedSound> DecodedSound::decodeFrom(qint64 from)
{
    std::shared_ptr<DecodedSound> sound = shared_from_this();
    if (!m_streamed) {
        decode();
        return sound;
    }
    from = qMax<qint64>(0, from);
    if (!m_decodeStarted) {
        // Nothing decodes it yet.
        m_decodeStarted = true;
        std::lock_guard<std::mutex> lock(m_decodeMutex);
        startAt(from);
    } else {
        // Never waits for the decoding thread: while it decodes a stretch, what this sound holds is
        // read as far as it has been published, and a start elsewhere goes to a new sound.
        std::unique_lock<std::mutex> lock(m_decodeMutex, std::try_to_lock);
        if (from >= m_first.load(std::memory_order_acquire) && from <= readyFrames()) {
            m_mixedAt.store(from, std::memory_order_relaxed);
            if (lock.owns_lock() && m_restart < 0)
                decodeAtOnce(from);
        } else {
            // A voice may still be mixing what this sound holds: the decoding goes on in a new one,
            // with this one's file when it is free, else with the file opened again.
            std::shared_ptr<DecodedSound> next(new DecodedSound);
            next->m_path = m_path;
            next->m_rate = m_rate;
            next->m_channels = m_channels;
            next->m_fileRate = m_fileRate;
            next->m_fileChannels = m_fileChannels;
            next->m_frames = m_frames;
            next->m_estimate = m_estimate;
            next->m_streamed = true;
            next->m_decodeStarted = true;
            next->m_length.store(m_length.load(std::memory_order_acquire), std::memory_order_release);
            if (lock.owns_lock()) {
                next->m_reader = std::move(m_reader);
                next->m_resampler = std::move(m_resampler);
            }
            sound = next;
            std::lock_guard<std::mutex> nextLock(sound->m_decodeMutex);
            sound->startAt(from);
        }
    }
    SoundDecoder::instance().add(sound);
    return sound;
}

void DecodedSound::startAt(qint64 from)
{
    m_ring.reset(new std::atomic<float>[size_t(ringFrames) * size_t(m_channels)]);
    m_first.store(from, std::memory_order_release);
    m_ready.store(from, std::memory_order_release);
    m_mixedAt.store(from, std::memory_order_relaxed);
    // The start of the file is found at once. Elsewhere the decoding thread looks for the place,
    // which in a long MP3 takes a while; the sound is heard from there once it is found.
    if (from > 0 || !m_reader) {
        m_restart = from;
        return;
    }
    if (!m_resampler)
        startResampler();
    restartAt(0);
    decodeAtOnce(0);
}

void DecodedSound::decodeAtOnce(qint64 from)
{
    // What a voice starting there needs first; the rest follows on the decoding thread.
    const qint64 until = from + atOnceFrames(streamedAtOnceSeconds);
    while (m_reader && !m_ended && m_decoded < until)
        decodeAhead(until);
}

void DecodedSound::restartAt(qint64 from)
{
    // From the file's frame at or before `from`, which lies here at `at`.
    const qint64 fileFrame = m_fileRate == m_rate ? from : qint64(double(from) * m_fileRate / m_rate);
    const qint64 at = m_fileRate == m_rate ? from : qint64(std::llround(double(fileFrame) * m_rate / m_fileRate));
    m_ended = false;
    m_fileEnded = false;
    if (m_resampler)
        soxr_clear(m_resampler.get());
    m_decoded = at;
    m_first.store(at, std::memory_order_release);
    m_ready.store(at, std::memory_order_release);
    if (!m_reader->seek(fileFrame)) {
        // Beyond the end of the file: the sound ends there.
        m_ended = true;
        m_length.store(from, std::memory_order_release);
    }
}

void DecodedSound::decodeAhead(qint64 until)
{
    if (!decodeStretch(until - m_decoded)) {
        m_ended = true;
        m_length.store(m_decoded, std::memory_order_release);
        return;
    }
    // What the stretch overwrites is let go before it is written.
    const qint64 count = qint64(m_output.size()) / m_channels;
    m_first.store(qMax(m_first.load(std::memory_order_relaxed), m_decoded + count - ringFrames),
                  std::memory_order_release);
    for (qint64 i = 0; i < count; ++i) {
        std::atomic<float>* slot = m_ring.get() + ((m_decoded + i) & (ringFrames - 1)) * m_channels;
        for (int c = 0; c < m_channels; ++c)
            slot[c].store(m_output[size_t(i * m_channels + c)], std::memory_order_relaxed);
    }
    m_decoded += count;
    m_ready.store(m_decoded, std::memory_order_release);
}

DecodedSound::Step DecodedSound::decodeStep()
{
    std::lock_guard<std::mutex> lock(m_decodeMutex);
    if (!m_streamed)
        return m_reader && decodeUntil(m_decoded + chunkFrames) ? Step::Decoded : Step::Done;
    if (m_restart >= 0) {
        const qint64 from = m_restart;
        m_restart = -1;
        if (!m_reader) {
            auto reader = std::make_unique<AudioFileReader>();
            if (!reader->open(m_path) || reader->sampleRate() != m_fileRate || reader->channels() != m_fileChannels) {
                // The file has gone or changed: the sound ends here.
                m_ended = true;
                m_length.store(from, std::memory_order_release);
                return Step::Done;
            }
            m_reader = std::move(reader);
        }
        if (!m_resampler)
            startResampler();
        restartAt(from);
        return m_ended ? Step::Done : Step::Decoded;
    }
    if (!m_reader || m_ended)
        return Step::Done;
    // Ahead of where it is mixed as far as the ring holds, beyond what is kept behind that.
    const qint64 ahead = ringFrames - qint64(keptBehindSeconds * m_rate) - 2 * chunkFrames;
    const qint64 until = m_mixedAt.load(std::memory_order_relaxed) + ahead;
    if (m_decoded >= until)
        return Step::Idle;
    decodeAhead(qMin(until, m_decoded + chunkFrames));
    return m_ended ? Step::Done : Step::Decoded;
}

bool DecodedSound::decodeUntil(qint64 until)
{
    until = qMin(until, m_frames);
    while (m_decoded < until) {
        if (!decodeStretch(until - m_decoded)) {
            // Shorter than it said: the rest stays silent.
            m_decoded = m_frames;
            break;
        }
        // Longer than it said: the rest is left out.
        const qint64 count = qMin(qint64(m_output.size()) / m_channels, m_frames - m_decoded);
        std::copy(m_output.begin(), m_output.begin() + count * m_channels, m_samples.begin() + m_decoded * m_channels);
        m_decoded += count;
        m_ready.store(m_decoded, std::memory_order_release);
    }
    m_ready.store(m_decoded, std::memory_order_release);
    return m_decoded < m_frames;
}

bool DecodedSound::decodeStretch(qint64 wanted)
{
    m_output.clear();
    const qint64 most = AudioFileReader::framesPerRead(m_fileChannels);
    wanted = qBound<qint64>(1, wanted, chunkFrames);
    if (m_fileRate == m_rate) {
        m_output.resize(size_t(qMin(wanted, most) * m_channels));
        const qint64 got = readFile(m_output.data(), qMin(wanted, most));
        m_output.resize(size_t(qMax<qint64>(0, got) * m_channels));
        return got > 0;
    }
    if (!m_resampler)
        return false;
    // About as many of the file's frames as make the frames wanted; at the end of the file, none,
    // and the resampler gives what it holds.
    const qint64 want = m_fileEnded ? 0 : qBound<qint64>(1, qint64(std::ceil(double(wanted) * m_fileRate / m_rate)), most);
    m_input.resize(size_t(want * m_channels));
    const qint64 got = want > 0 ? readFile(m_input.data(), want) : 0;
    m_fileEnded = got <= 0;
    resample(got > 0 ? m_input.data() : nullptr, got);
    return got > 0 || !m_output.empty();
}

qint64 DecodedSound::readFile(float* out, qint64 count)
{
    if (m_fileChannels == m_channels)
        return m_reader->read(out, count);
    m_scratch.resize(size_t(count) * size_t(m_fileChannels));
    const qint64 got = m_reader->read(m_scratch.data(), count);
    for (qint64 i = 0; i < got; ++i) {
        for (int c = 0; c < m_channels; ++c)
            out[i * m_channels + c] = m_scratch[size_t(i * m_fileChannels + c)];
    }
    return got;
}

void DecodedSound::resample(const float* in, qint64 count)
{
    // Fed: until all is taken and what it gives is given. At the end (no input): until nothing
    // more comes out.
    constexpr size_t space = 4096;
    size_t used = 0;
    for (;;) {
        const size_t at = m_output.size();
        m_output.resize(at + space * size_t(m_channels));
        size_t taken = 0;
        size_t made = 0;
        const soxr_error_t error =
            soxr_process(m_resampler.get(), in ? in + used * size_t(m_channels) : nullptr, in ? size_t(count) - used : 0,
                         &taken, m_output.data() + at, space, &made);
        m_output.resize(at + made * size_t(m_channels));
        used += taken;
        if (error || (made < space && (!in || used >= size_t(count))) || (taken == 0 && made == 0))
            break;
    }
}

void DecodedSound::finish()
{
    std::lock_guard<std::mutex> lock(m_decodeMutex);
    m_reader.reset();
    m_resampler.reset();
    m_scratch = std::vector<float>();
    m_input = std::vector<float>();
    m_output = std::vector<float>();
    m_ready.store(m_frames, std::memory_order_release);
}

qint64 DecodedSound::frames() const
{
    if (!m_streamed)
        return m_frames;
    const qint64 length = m_length.load(std::memory_order_acquire);
    if (length >= 0)
        return length;
    // An estimate may fall short: the sound goes on while there is more.
    return m_estimate ? qMax(m_frames, readyFrames() + m_rate) : m_frames;
}

void DecodedSound::mixInto(float* out, qint64 from, qint64 count, float left, float right) const
{
    const int channels = m_channels;
    if (!m_streamed) {
        const qint64 end = qMin(from + count, readyFrames());
        const float* p = m_samples.data() + from * channels;
        for (qint64 f = from; f < end; ++f, p += channels, out += 2) {
            out[0] += p[0] * left;
            out[1] += p[channels - 1] * right;
        }
        return;
    }
    m_mixedAt.store(from, std::memory_order_relaxed);
    const qint64 a = qMax(from, m_first.load(std::memory_order_acquire));
    const qint64 b = qMin(from + count, readyFrames());
    if (a >= b)
        return;
    out += 2 * (a - from);
    for (qint64 f = a; f < b; ++f, out += 2) {
        const std::atomic<float>* p = m_ring.get() + (f & (ringFrames - 1)) * channels;
        out[0] += p[0].load(std::memory_order_relaxed) * left;
        out[1] += p[channels - 1].load(std::memory_order_relaxed) * right;
    }
}

} // namespace QMMultiMedia
