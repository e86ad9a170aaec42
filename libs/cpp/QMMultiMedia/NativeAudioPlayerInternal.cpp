#include "QMMultiMedia/NativeAudioPlayerInternal.h"

#include "QMMultiMedia/PlatformAudioPlayer.h"

#include <cmath>

namespace QMMultiMedia {

NativeAudioPlayerInternal::NativeAudioPlayerInternal(QObject* parent)
    : QObject(parent)
{
    // A precise timer: a coarse one may fire up to 5 % late and make the end come late.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(pollIntervalMs);
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &NativeAudioPlayerInternal::slotPositionChanged);
}

NativeAudioPlayerInternal::~NativeAudioPlayerInternal()
{
    m_player.reset();
    m_timer.stop();
}

qint64 NativeAudioPlayerInternal::positionFromSeconds(double seconds)
{
    return qint64(std::lroundf(float(seconds * 1000.0)));
}

qint64 NativeAudioPlayerInternal::durationFromSeconds(double seconds)
{
    return qint64(seconds * 1000.0);
}

void NativeAudioPlayerInternal::setMedia(const QString& path)
{
    if (m_player) {
        m_player->stop();
        m_player.reset();
    }
    m_player = PlatformAudioPlayer::create(path);
}

void NativeAudioPlayerInternal::play(const QString& path)
{
    setMedia(path);
    if (!m_player) {
        // Nothing will ever sound, so nothing would ever end: report the end right away (from the
        // event loop, after the caller has made its connections), unless a file has been loaded
        // in the meantime.
        QTimer::singleShot(0, this, [this]() {
            if (!m_player)
                emit finished();
        });
        return;
    }
    play();
}

void NativeAudioPlayerInternal::play()
{
    if (!m_player)
        return;
    m_player->setVolume(float(m_volume));
    m_player->play();
    m_timer.start();
    m_state = Playing;
}

void NativeAudioPlayerInternal::stop()
{
    if (!m_player)
        return;
    m_timer.stop();
    m_player->stop();
    m_player->setCurrentTime(0.0);
    m_state = Stopped;
}

void NativeAudioPlayerInternal::pause()
{
    if (!m_player)
        return;
    m_player->pause();
    m_state = Paused;
}

bool NativeAudioPlayerInternal::isPlaying() const
{
    return m_player && m_player->isPlaying();
}

qint64 NativeAudioPlayerInternal::position() const
{
    return m_player ? positionFromSeconds(m_player->currentTime()) : 0;
}

qint64 NativeAudioPlayerInternal::duration() const
{
    return m_player ? durationFromSeconds(m_player->duration()) : 0;
}

void NativeAudioPlayerInternal::setPosition(qint64 ms)
{
    if (m_player)
        m_player->setCurrentTime(double(ms) / 1000.0);
}

void NativeAudioPlayerInternal::setVolume(double volume)
{
    m_volume = volume;
    if (m_player)
        m_player->setVolume(float(volume));
}

void NativeAudioPlayerInternal::setBalance(float balance)
{
    m_balance = balance;
    if (m_player)
        m_player->setPan(balance);
}

void NativeAudioPlayerInternal::slotPositionChanged()
{
    if (!m_player)
        return;
    if (m_player->isPlaying()) {
        emit positionChanged(positionFromSeconds(m_player->currentTime()));
        return;
    }
    if (m_state == Stopped || m_state == Paused)
        return;
    m_timer.stop();
    m_player.reset();
    emit finished();
}

} // namespace QMMultiMedia
