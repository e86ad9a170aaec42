#include "QMMultiMedia/PlatformAudioPlayer.h"

#include "QMMultiMedia/AudioBackend.h"
#include "QMMultiMedia/AudioMix.h"

#include <cmath>

namespace QMMultiMedia {

namespace {
constexpr int feedIntervalMs = 10;
constexpr qint64 chunkFrames = 2048;
} // namespace

std::unique_ptr<PlatformAudioPlayer> PlatformAudioPlayer::create(const QString& path)
{
    std::unique_ptr<PlatformAudioPlayer> player(new PlatformAudioPlayer(AudioBackend::current()));
    if (!player->m_reader.open(path))
        return nullptr;
    return player;
}

PlatformAudioPlayer::PlatformAudioPlayer(AudioBackend* backend)
    : m_backend(backend)
{
    m_feedTimer.setTimerType(Qt::PreciseTimer);
    m_feedTimer.setInterval(feedIntervalMs);
    connect(&m_feedTimer, &QTimer::timeout, this, &PlatformAudioPlayer::pump);
}

PlatformAudioPlayer::~PlatformAudioPlayer()
{
    m_feedTimer.stop();
    closeOutput();
}

qint64 PlatformAudioPlayer::clockFrame() const
{
    const qint64 elapsedNs = qMax<qint64>(0, m_backend->nowNs() - m_clockStartNs);
    return m_startFrame + qint64(double(elapsedNs) * m_reader.sampleRate() / 1e9);
}

bool PlatformAudioPlayer::hasRunOut() const
{
    if (!m_playing)
        return false;
    const qint64 frame = clockFrame();
    if (frame < m_reader.frames())
        return false;
    if (!m_output || m_output->isBroken())
        return true;
    // The silence written after the sound sits at the end of the queue: only the sound counts.
    if (m_output->bytesQueued() <= m_paddingBytes)
        return true;
    // Let what the device still holds play out, but never wait for it for long.
    const qint64 overNs = qint64(double(frame - m_reader.frames()) * 1e9 / m_reader.sampleRate());
    return overNs >= drainNs;
}

void PlatformAudioPlayer::settle()
{
    if (!hasRunOut())
        return;
    m_playing = false;
    m_frame = 0;
    m_feedTimer.stop();
    closeOutput();
}

void PlatformAudioPlayer::play()
{
    settle();
    if (m_playing)
        return;
    if (m_frame >= m_reader.frames())
        m_frame = 0;
    m_playing = true;
    m_startFrame = m_frame;
    m_clockStartNs = m_backend->nowNs();
    if (m_output && m_suspended) {
        m_output->resume();
        m_suspended = false;
    } else {
        openOutput();
    }
    pump();
    if (m_output)
        m_feedTimer.start();
}

void PlatformAudioPlayer::pause()
{
    settle();
    if (!m_playing)
        return;
    m_frame = qMin(clockFrame(), m_reader.frames());
    m_playing = false;
    m_feedTimer.stop();
    if (m_output) {
        m_output->suspend();
        m_suspended = true;
    }
}

void PlatformAudioPlayer::stop()
{
    settle();
    if (m_playing)
        m_frame = qMin(clockFrame(), m_reader.frames());
    m_playing = false;
    m_feedTimer.stop();
    closeOutput();
}

void PlatformAudioPlayer::setCurrentTime(double seconds)
{
    settle();
    if (!std::isfinite(seconds))
        seconds = 0.0;
    const qint64 frame = qBound<qint64>(0, qint64(std::llround(seconds * m_reader.sampleRate())), m_reader.frames());
    // Whatever the device holds belongs to the old position: drop it.
    closeOutput();
    if (m_playing) {
        m_startFrame = frame;
        m_clockStartNs = m_backend->nowNs();
        openOutput();
        pump();
        if (m_output)
            m_feedTimer.start();
        else
            m_feedTimer.stop();
    } else {
        m_frame = frame;
    }
}

double PlatformAudioPlayer::currentTime() const
{
    qint64 frame = m_frame;
    if (m_playing)
        frame = hasRunOut() ? 0 : qMin(clockFrame(), m_reader.frames());
    return double(frame) / m_reader.sampleRate();
}

double PlatformAudioPlayer::duration() const
{
    return m_reader.durationSeconds();
}

bool PlatformAudioPlayer::isPlaying() const
{
    return m_playing && !hasRunOut();
}

void PlatformAudioPlayer::setVolume(float volume)
{
    m_volume = std::isfinite(volume) ? qMax(0.0f, volume) : 0.0f;
}

void PlatformAudioPlayer::setPan(float pan)
{
    m_pan = std::isfinite(pan) ? qBound(-1.0f, pan, 1.0f) : 0.0f;
}

void PlatformAudioPlayer::openOutput()
{
    closeOutput();
    std::unique_ptr<AudioOutput> output = m_backend->createOutput();
    if (!output || !output->start(m_reader.sampleRate()))
        return;  // no device: the clock alone keeps time
    m_output = std::move(output);
    m_paddingBytes = 0;
    m_writeFrame = m_playing ? m_startFrame : m_frame;
    m_reader.seek(m_writeFrame);
}

void PlatformAudioPlayer::closeOutput()
{
    m_output.reset();
    m_suspended = false;
}

void PlatformAudioPlayer::pump()
{
    if (hasRunOut()) {
        settle();
        return;
    }
    if (!m_playing || !m_output)
        return;
    if (m_output->isBroken()) {
        // The device went away: go on keeping time without it.
        closeOutput();
        m_feedTimer.stop();
        return;
    }
    const int channels = m_reader.channels();
    while (m_writeFrame < m_reader.frames()) {
        const qint64 room = m_output->bytesFree() / 4;
        const qint64 wanted = qMin(qMin(room, chunkFrames), m_reader.frames() - m_writeFrame);
        if (wanted <= 0)
            break;
        m_decoded.resize(size_t(wanted * channels));
        const qint64 got = m_reader.read(m_decoded.data(), wanted);
        if (got <= 0) {
            m_writeFrame = m_reader.frames();  // a short read: the rest is silence
            break;
        }
        m_mixed.resize(size_t(got * 2));
        mixToStereo16(m_decoded.data(), channels, got, m_volume, m_pan, m_mixed.data());
        const qint64 bytes = got * 4;
        const qint64 written = m_output->write(reinterpret_cast<const char*>(m_mixed.data()), bytes);
        if (written <= 0)
            break;
        if (written < bytes) {
            // The device took part of the chunk; read the rest again next time.
            m_writeFrame += written / 4;
            m_reader.seek(m_writeFrame);
            break;
        }
        m_writeFrame += got;
    }
    if (m_writeFrame >= m_reader.frames()) {
        // The device starts playing only once its buffer has filled: follow a sound shorter than
        // that (a tick) with silence, or it would never be heard. Once is enough.
        if (m_paddingBytes == 0) {
            const qint64 room = m_output->bytesFree() / 4 * 4;
            if (room > 0) {
                m_silence.assign(size_t(room), '\0');
                m_paddingBytes = qMax<qint64>(0, m_output->write(m_silence.data(), room));
                m_silence.clear();
                m_silence.shrink_to_fit();
            }
        }
        // Everything is with the device: nothing more to push. The end is noticed by whoever
        // asks isPlaying() (the player's 500 ms poll).
        m_feedTimer.stop();
    }
}

} // namespace QMMultiMedia
