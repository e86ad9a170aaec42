#include "QMMultiMedia/AudioPlayer.h"

#include "QMMultiMedia/MultiMediaSettings.h"
#include "QMMultiMedia/NativeAudioPlayer.h"

#include "REZirudid/App.h"

#include <QCoreApplication>
#include <QTimer>

#include <cmath>
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
        volume = volumeFromSettings(app->settingsValue(SettingsKeys::soundVolume(), 0.5f));
    }
    // The volume first, then the mute: muting keeps the user's volume to return to.
    _uniqueInstance->m_player->setVolume(volume);
    if (mute)
        _uniqueInstance->m_player->setMuted(true);
    return _uniqueInstance;
}

double AudioPlayer::volumeFromSettings(const QVariant& stored)
{
    bool ok = false;
    const double v = stored.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return 0.5;
    return qBound(0.0, v, 1.0);
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
    connect(m_player, &NativeAudioPlayer::finished, this, &AudioPlayer::onPlayerFinished);
    connect(m_player, &NativeAudioPlayer::positionChanged, this, &AudioPlayer::positionChanged);
    // Precise: a coarse timer may fire late, after the end has already been reported.
    m_loopTimer.setSingleShot(true);
    m_loopTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_loopTimer, &QTimer::timeout, this, &AudioPlayer::loopedPlay);
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
    if (length <= 0) {
        m_loopTimer.stop();
        return;
    }
    m_loopTimer.start(int(qMin<qint64>(length, std::numeric_limits<int>::max())));
}

void AudioPlayer::play(const QString& file, bool looped)
{
    ++m_plays;
    m_player->setMedia(file);
    if (looped) {
        m_loopStopped = false;
        armLoop();
    }
    m_player->stop();
    m_player->play();
    reportIfUnplayable();
}

void AudioPlayer::reportIfUnplayable()
{
    if (m_player->duration() > 0)
        return;
    // Nothing will sound, so nothing would end: end now, from the event loop (after the caller has
    // made its connections), unless another file has been played in the meantime.
    m_loopStopped = true;
    m_loopTimer.stop();
    const quint64 play = m_plays;
    QTimer::singleShot(0, this, [this, play]() {
        if (play == m_plays && m_player->duration() <= 0)
            emit finished();
    });
}

void AudioPlayer::onPlayerFinished()
{
    // The end of a pass while the loop runs is not the end of the sound: the next pass begins now.
    if (!m_loopStopped && m_loopTimer.isActive()) {
        loopedPlay();
        return;
    }
    emit finished();
}

void AudioPlayer::loopedPlay()
{
    if (m_loopStopped)
        return;
    if (m_player->duration() <= 0) {
        // The end was reported before this restart came and the file was let go: load it again.
        m_player->setMedia(m_player->fileName());
        if (m_player->duration() <= 0) {
            reportIfUnplayable();
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
    m_loopTimer.stop();
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
    if (std::isfinite(volume))
        m_player->setVolume(qBound(0.0, volume, 1.0));
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
    m_loopTimer.stop();
    m_player->stop();
}

} // namespace QMMultiMedia
