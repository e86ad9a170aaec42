#include "QMMultiMedia/PlatformAudioPlayer.h"

#include "QMMultiMedia/AudioBackend.h"
#include "QMMultiMedia/AudioMix.h"
#include "QMMultiMedia/DecodedSound.h"

#include <cmath>

namespace QMMultiMedia {

std::unique_ptr<PlatformAudioPlayer> PlatformAudioPlayer::create(const QString& path)
{
    std::shared_ptr<DecodedSound> sound = DecodedSound::open(path);
    if (!sound)
        return nullptr;
    std::unique_ptr<PlatformAudioPlayer> player(new PlatformAudioPlayer);
    player->m_sound = std::move(sound);
    player->m_engine = AudioBackend::current()->engine();
    return player;
}

PlatformAudioPlayer::~PlatformAudioPlayer()
{
    if (m_voice)
        m_engine->remove(m_voice);
}

bool PlatformAudioPlayer::settle()
{
    if (!m_voice)
        return false;
    if (m_engine->state(m_voice).playing)
        return true;
    m_engine->remove(m_voice);
    m_voice = 0;
    m_frame = 0;
    return false;
}

void PlatformAudioPlayer::halt()
{
    if (!settle())
        return;
    const qint64 at = m_engine->remove(m_voice);
    m_voice = 0;
    m_frame = at < 0 ? 0 : at;
}

void PlatformAudioPlayer::play()
{
    if (settle())
        return;
    if (m_frame >= m_sound->frames())
        m_frame = 0;
    // A long sound is streamed: from here on it may be another sound of the same file.
    m_sound = m_sound->decodeFrom(m_frame);
    AudioEngine::VoiceSpec spec;
    spec.sound = m_sound;
    spec.offset = m_frame;
    const PanGains g = gains();
    spec.left = g.left;
    spec.right = g.right;
    m_voice = m_engine->add(spec);
}

void PlatformAudioPlayer::pause()
{
    halt();
}

void PlatformAudioPlayer::stop()
{
    halt();
}

void PlatformAudioPlayer::setCurrentTime(double seconds)
{
    if (!std::isfinite(seconds))
        seconds = 0.0;
    const qint64 frame = qBound<qint64>(0, qint64(std::llround(seconds * sampleRate())), frames());
    const bool playing = settle();
    halt();
    m_frame = frame;
    if (playing && frame < frames())
        play();
}

double PlatformAudioPlayer::currentTime() const
{
    qint64 frame = m_frame;
    if (m_voice) {
        const AudioEngine::VoiceState s = m_engine->state(m_voice);
        frame = s.playing ? s.position : 0;
    }
    return double(frame) / sampleRate();
}

double PlatformAudioPlayer::duration() const
{
    return m_sound->durationSeconds();
}

bool PlatformAudioPlayer::isPlaying() const
{
    return m_voice && m_engine->state(m_voice).playing;
}

PanGains PlatformAudioPlayer::gains() const
{
    PanGains g = panGains(m_pan);
    g.left *= m_volume;
    g.right *= m_volume;
    return g;
}

void PlatformAudioPlayer::applyGains()
{
    if (!m_voice)
        return;
    const PanGains g = gains();
    m_engine->setGains(m_voice, g.left, g.right);
}

void PlatformAudioPlayer::setVolume(float volume)
{
    m_volume = std::isfinite(volume) ? qMax(0.0f, volume) : 0.0f;
    applyGains();
}

void PlatformAudioPlayer::setPan(float pan)
{
    m_pan = std::isfinite(pan) ? qBound(-1.0f, pan, 1.0f) : 0.0f;
    applyGains();
}

int PlatformAudioPlayer::sampleRate() const
{
    return m_sound->sampleRate();
}

qint64 PlatformAudioPlayer::frames() const
{
    return m_sound->frames();
}

} // namespace QMMultiMedia
