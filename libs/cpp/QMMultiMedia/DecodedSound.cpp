#include "QMMultiMedia/DecodedSound.h"

#include "QMMultiMedia/AudioEngine.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include <QDateTime>
#include <QFileInfo>

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace QMMultiMedia {

namespace {

constexpr qint64 chunkFrames = 16384;
// Decoded sounds kept for playing again, in bytes of samples.
constexpr qint64 keptBytes = qint64(64) << 20;

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

// Decodes the rest of long sounds, one after the other, on a thread of its own.
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
    void add(std::shared_ptr<DecodedSound> sound)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_jobs.push_back(std::move(sound));
            if (!m_thread.joinable())
                m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_one();
    }

private:
    void run()
    {
        for (;;) {
            std::shared_ptr<DecodedSound> sound;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
                if (m_stop)
                    return;
                sound = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            // A sound nobody holds any more is not decoded further.
            while (sound.use_count() > 1 && !stopping() && sound->decodeUntil(sound->m_decoded + chunkFrames)) {
            }
            sound->finish();
        }
    }
    bool stopping()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_stop;
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<DecodedSound>> m_jobs;
    bool m_stop = false;
    std::thread m_thread;
};

std::shared_ptr<DecodedSound> DecodedSound::open(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return nullptr;
    for (Kept& k : kept()) {
        if (k.path == path && k.size == info.size() && k.modified == info.lastModified()) {
            k.lastUse = nextUse();
            return k.sound;
        }
    }
    auto reader = std::make_unique<AudioFileReader>();
    if (!reader->open(path))
        return nullptr;
    std::shared_ptr<DecodedSound> sound(new DecodedSound);
    sound->m_path = path;
    sound->m_rate = AudioEngine::rate;
    sound->m_fileRate = reader->sampleRate();
    sound->m_fileChannels = reader->channels();
    sound->m_channels = qMin(2, reader->channels());
    sound->m_fileFrames = reader->frames();
    sound->m_frames = sound->m_fileRate == sound->m_rate
                          ? sound->m_fileFrames
                          : qMax<qint64>(1, std::llround(double(sound->m_fileFrames) * sound->m_rate / sound->m_fileRate));
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
    m_decodeStarted = true;
    m_samples.assign(size_t(m_frames) * size_t(m_channels), 0.0f);
    if (m_fileRate != m_rate) {
        // Keeps what lies below 91% of half the engine's rate (20 kHz) and takes out what lies
        // above half of it, to 20 bits' precision (below the noise of a 16-bit file); linear in
        // phase, with the filter's delay taken off, so the sound still begins on its first frame.
        const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
        soxr_error_t error = nullptr;
        m_resampler.reset(soxr_create(m_fileRate, m_rate, unsigned(m_channels), &error, &io, &quality, nullptr));
        if (error) {
            qWarning("Cannot resample %s: %s", qPrintable(m_path), error);
            m_resampler.reset();
        }
    }
    std::shared_ptr<DecodedSound> self = shared_from_this();
    if (decodeUntil(qMin(m_frames, qint64(decodedAtOnceSeconds * m_rate))))
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

bool DecodedSound::decodeUntil(qint64 until)
{
    until = qMin(until, m_frames);
    while (m_decoded < until) {
        if (m_fileRate == m_rate) {
            const qint64 got = readFile(m_samples.data() + m_decoded * m_channels, qMin(chunkFrames, until - m_decoded));
            if (got <= 0) {
                // Shorter than it said: the rest stays silent.
                m_decoded = m_frames;
                break;
            }
            m_decoded += got;
        } else {
            // Up to the length the file gave, then the end, which empties the filter.
            const qint64 want = m_resampler ? qMin(chunkFrames, m_fileFrames - m_read) : 0;
            m_input.resize(size_t(want) * size_t(m_channels));
            const qint64 got = want > 0 ? readFile(m_input.data(), want) : 0;
            m_read += got;
            if (m_resampler)
                resample(got > 0 ? m_input.data() : nullptr, got);
            if (got <= 0) {
                // What the resampler gave is the sound; if it fell short of the length, the rest
                // stays silent.
                m_decoded = m_frames;
                break;
            }
        }
        m_ready.store(m_decoded, std::memory_order_release);
    }
    m_ready.store(m_decoded, std::memory_order_release);
    return m_decoded < m_frames;
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
    size_t used = 0;
    while (m_decoded < m_frames) {
        size_t taken = 0;
        size_t made = 0;
        const soxr_error_t error =
            soxr_process(m_resampler.get(), in ? in + used * size_t(m_channels) : nullptr, size_t(count) - used,
                         &taken, m_samples.data() + m_decoded * m_channels, size_t(m_frames - m_decoded), &made);
        used += taken;
        m_decoded += qint64(made);
        // Fed: until all is taken. At the end: until nothing more comes out.
        if (error || (taken == 0 && made == 0) || (in && used >= size_t(count)))
            break;
    }
}

void DecodedSound::finish()
{
    m_reader.reset();
    m_resampler.reset();
    m_scratch = std::vector<float>();
    m_input = std::vector<float>();
    m_ready.store(m_frames, std::memory_order_release);
}

} // namespace QMMultiMedia
