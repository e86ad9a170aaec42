#include "QMMultiMedia/AudioPlayer.h"

#include "QMMultiMedia/MultiMediaSettings.h"
#include "QMMultiMedia/NativeAudioPlayer.h"

#include "REZirudid/App.h"

#include <QCoreApplication>
#include <QTimer>

#include <limits>

namespace QMMultiMedia {

AudioPlayer* AudioPlayer::_uniqueInstance = nullptr;

AudioPlayer* AudioPlayer::instance()
{
    if (_uniqueInstance)
        return _uniqueInstance;
    _uniqueInstance = new AudioPlayer();
    bool mute = false;
    double volume = 0.5;
    if (REZirudid::App* app = REZirudid::App::theApp()) {
        mute = app->settingsValue(SettingsKeys::soundMute(), false).toBool();
        volume = app->settingsValue(SettingsKeys::soundVolume(), 0.5f).toReal();
    }
    // The volume first, then the mute: muting keeps the user's volume to return to.
    _uniqueInstance->m_player->setVolume(volume);
    if (mute)
        _uniqueInstance->m_player->setMuted(true);
    return _uniqueInstance;
}

void AudioPlayer::releaseInstance()
{
    delete _uniqueInstance;
    _uniqueInstance = nullptr;
}

AudioPlayer::AudioPlayer()
    : QObject(nullptr)
    , m_player(new NativeAudioPlayer(this))
{
    connect(m_player, &NativeAudioPlayer::finished, this, &AudioPlayer::finished);
    connect(m_player, &NativeAudioPlayer::positionChanged, this, &AudioPlayer::positionChanged);
    // Remember the volume and mute when the program ends.
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &AudioPlayer::slotSetAboutToQuit);
}

AudioPlayer::~AudioPlayer()
{
    slotSetAboutToQuit();
    if (_uniqueInstance == this)
        _uniqueInstance = nullptr;
}

void AudioPlayer::armLoop()
{
    const qint64 length = m_player->duration();
    // A file that cannot be played has no length: a restart at 0 ms would spin for ever.
    if (length <= 0)
        return;
    // Precise: a coarse timer may fire late, after the end has already been reported.
    QTimer::singleShot(int(qMin<qint64>(length, std::numeric_limits<int>::max())), Qt::PreciseTimer, this,
                       &AudioPlayer::loopedPlay);
}

void AudioPlayer::play(const QString& file, bool looped)
{
    m_player->setMedia(file);
    if (looped) {
        m_loopStopped = false;
        armLoop();
    }
    m_player->stop();
    m_player->play();
}

void AudioPlayer::loopedPlay()
{
    if (m_loopStopped)
        return;
    if (m_player->duration() <= 0) {
        // The end was reported before this restart came and the file was let go: load it again.
        m_player->setMedia(m_player->fileName());
        if (m_player->duration() <= 0) {
            m_loopStopped = true;
            return;
        }
    }
    armLoop();
    m_player->stop();
    m_player->play();
}

void AudioPlayer::play()
{
    m_player->play();
}

void AudioPlayer::stop()
{
    m_loopStopped = true;
    m_player->stop();
    emit stopped();
}

void AudioPlayer::slotStop()
{
    stop();
}

void AudioPlayer::pause()
{
    m_player->pause();
}

qint64 AudioPlayer::duration() const
{
    return m_player->duration();
}

qint64 AudioPlayer::position() const
{
    return m_player->position();
}

qint64 AudioPlayer::remainingDuration() const
{
    return m_player->duration() - m_player->position();
}

void AudioPlayer::setPosition(qint64 ms)
{
    m_player->setPosition(ms);
}

void AudioPlayer::setMuted(bool mute)
{
    m_player->setMuted(mute);
}

bool AudioPlayer::isMuted() const
{
    return m_player->isMuted();
}

void AudioPlayer::setVolume(double volume)
{
    m_player->setVolume(volume);
}

double AudioPlayer::volume() const
{
    return m_player->volume();
}

bool AudioPlayer::isPlaying() const
{
    return m_player->isPlaying();
}

bool AudioPlayer::isStopped() const
{
    return m_player->isStopped();
}

bool AudioPlayer::isPaused() const
{
    return m_player->isPaused();
}

QString AudioPlayer::fileName() const
{
    return m_player->fileName();
}

void AudioPlayer::slotSetAboutToQuit()
{
    if (REZirudid::App* app = REZirudid::App::theApp()) {
        // A muted player keeps the volume the user will return to, not the silence of the mute.
        app->setSettingsValue(SettingsKeys::soundVolume(), m_player->unmutedVolume());
        app->setSettingsValue(SettingsKeys::soundMute(), m_player->isMuted());
    }
    m_loopStopped = true;
    m_player->stop();
}

} // namespace QMMultiMedia
