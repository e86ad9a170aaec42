#include "QMMultiMedia/NativeAudioPlayer.h"

#include "QMMultiMedia/NativeAudioPlayerInternal.h"

#include <QCoreApplication>
#include <QPointer>

namespace QMMultiMedia {

NativeAudioPlayer::NativeAudioPlayer(QObject* parent)
    : QObject(parent)
    , m_internal(new NativeAudioPlayerInternal(this))
{
    connect(m_internal, &NativeAudioPlayerInternal::finished, this, &NativeAudioPlayer::finished);
    connect(m_internal, &NativeAudioPlayerInternal::positionChanged, this, &NativeAudioPlayer::positionChanged);
}

NativeAudioPlayer::~NativeAudioPlayer() = default;

NativeAudioPlayer* NativeAudioPlayer::playOnce(const QString& path)
{
    NativeAudioPlayer* player = oneShot();
    player->play(path);
    return player;
}

NativeAudioPlayer* NativeAudioPlayer::oneShot()
{
    // The players of sounds still going belong to one holder, which the application empties when
    // it is about to quit (and deletes with itself).
    static QPointer<QObject> holder;
    QCoreApplication* app = QCoreApplication::instance();
    if (!holder && app) {
        holder = new QObject(app);
        QObject* h = holder;
        QObject::connect(app, &QCoreApplication::aboutToQuit, h, [h] { qDeleteAll(h->children()); });
    }
    auto* player = new NativeAudioPlayer(app ? holder.data() : nullptr);
    connect(player, &NativeAudioPlayer::finished, player, &QObject::deleteLater);
    return player;
}

void NativeAudioPlayer::setMedia(const QString& path)
{
    m_fileName = path;
    m_internal->setMedia(path);
}

void NativeAudioPlayer::play(const QString& path)
{
    m_internal->play(path);
}

void NativeAudioPlayer::play()
{
    m_internal->play();
}

void NativeAudioPlayer::stop()
{
    m_internal->stop();
}

void NativeAudioPlayer::pause()
{
    m_internal->pause();
}

qint64 NativeAudioPlayer::position() const
{
    return m_internal->position();
}

qint64 NativeAudioPlayer::duration() const
{
    return m_internal->duration();
}

void NativeAudioPlayer::setPosition(qint64 ms)
{
    m_internal->setPosition(ms);
}

double NativeAudioPlayer::volume() const
{
    return m_internal->volume();
}

void NativeAudioPlayer::setVolume(double volume)
{
    m_internal->setVolume(volume);
}

bool NativeAudioPlayer::isMuted() const
{
    return m_internal->volume() <= 0.0;
}

void NativeAudioPlayer::setMuted(bool mute)
{
    if (mute) {
        // Muting an already silent player must not replace the volume to return to with 0.
        if (!isMuted())
            m_savedVolume = m_internal->volume();
        m_internal->setVolume(0.0);
    } else if (isMuted()) {
        // Unmuting a player that is not muted leaves its volume alone.
        m_internal->setVolume(m_savedVolume);
    }
}

double NativeAudioPlayer::unmutedVolume() const
{
    return isMuted() ? m_savedVolume : m_internal->volume();
}

void NativeAudioPlayer::setBalance(float balance)
{
    m_internal->setBalance(balance);
}

bool NativeAudioPlayer::isPlaying() const
{
    return m_internal->isPlaying();
}

bool NativeAudioPlayer::isStopped() const
{
    return m_internal->isStopped();
}

bool NativeAudioPlayer::isPaused() const
{
    return m_internal->isPaused();
}

QString NativeAudioPlayer::fileName() const
{
    return m_fileName;
}

} // namespace QMMultiMedia
