#include "QMMultiMedia/AudioListPlayer.h"

#include "QMMultiMedia/AudioPlayer.h"
#include "QMMultiMedia/ID3Info.h"

#include <QFileInfo>

namespace QMMultiMedia {

AudioListPlayer* AudioListPlayer::m_uniqueInstance = nullptr;

AudioListPlayer* AudioListPlayer::instance()
{
    if (!m_uniqueInstance)
        m_uniqueInstance = new AudioListPlayer();
    return m_uniqueInstance;
}

AudioListPlayer::AudioListPlayer()
    : QObject(nullptr)
{
    shared();
}

AudioPlayer* AudioListPlayer::shared() const
{
    AudioPlayer* player = AudioPlayer::instance();
    if (m_shared != player) {
        m_shared = player;
        auto* self = const_cast<AudioListPlayer*>(this);
        connect(player, &AudioPlayer::stopped, self, &AudioListPlayer::stopped);
        connect(player, &AudioPlayer::finished, self, &AudioListPlayer::slotFinished);
    }
    return player;
}

AudioListPlayer::~AudioListPlayer() = default;

void AudioListPlayer::playEntry(int position)
{
    shared()->play(m_playList.at(m_indexes.at(position)).toLocalFile(), false);
}

void AudioListPlayer::setPlayList(const QList<QUrl>& urls)
{
    if (urls.isEmpty())
        return;
    shared()->stop();
    m_playList = urls;
    shared()->play(m_playList.first().toLocalFile(), false);
    m_current = 0;
    regenerateIndexes();
    emit nextTriggered();
}

void AudioListPlayer::setPlayList(const QDir& folder, const QStringList& nameFilters)
{
    QList<QUrl> urls;
    for (const QString& name : folder.entryList(nameFilters, QDir::Files, QDir::NoSort))
        urls.append(QUrl::fromLocalFile(folder.absoluteFilePath(name)));
    setPlayList(urls);
}

void AudioListPlayer::appendToPlayList(const QList<QUrl>& urls)
{
    if (urls.isEmpty())
        return;
    m_playList.append(urls);
    regenerateIndexes();
    emit listChanged();
}

void AudioListPlayer::regenerateIndexes()
{
    m_indexes.clear();
    for (int i = 0; i < m_playList.size(); ++i)
        m_indexes.append(i);
}

int AudioListPlayer::index(int position) const
{
    return position >= 0 && position < m_indexes.size() ? m_indexes.at(position) : -1;
}

int AudioListPlayer::currentIndex() const
{
    return index(m_current);
}

QUrl AudioListPlayer::currentUrl() const
{
    const int i = currentIndex();
    return i >= 0 && i < m_playList.size() ? m_playList.at(i) : QUrl();
}

QString AudioListPlayer::currentName() const
{
    const QUrl url = currentUrl();
    if (url.isEmpty())
        return QString();
    // The decoded name: "a#b%c?d Song.mp3", not its percent-encoded URL form.
    if (url.isLocalFile())
        return QFileInfo(url.toLocalFile()).fileName();
    return url.fileName();
}

QPixmap AudioListPlayer::currentCover() const
{
    const QUrl url = currentUrl();
    if (url.isEmpty())
        return QPixmap();
    return ID3Info(url.toLocalFile()).cover();
}

void AudioListPlayer::play(const QString& file)
{
    shared()->play(file, false);
}

void AudioListPlayer::play()
{
    shared()->play();
}

void AudioListPlayer::stop()
{
    shared()->stop();
}

void AudioListPlayer::pause()
{
    shared()->pause();
}

bool AudioListPlayer::isPlaying() const
{
    return shared()->isPlaying();
}

bool AudioListPlayer::isStopped() const
{
    return shared()->isStopped();
}

bool AudioListPlayer::isPaused() const
{
    return shared()->isPaused();
}

void AudioListPlayer::setMuted(bool mute)
{
    shared()->setMuted(mute);
}

bool AudioListPlayer::isMuted() const
{
    return shared()->isMuted();
}

void AudioListPlayer::setVolume(double volume)
{
    shared()->setVolume(volume);
}

double AudioListPlayer::volume() const
{
    return shared()->volume();
}

void AudioListPlayer::slotFinished()
{
    ++m_current;
    if (m_current >= m_playList.size()) {
        m_current = 0;
        emit finished();
        return;
    }
    playEntry(m_current);
    emit nextTriggered();
}

void AudioListPlayer::slotPlayNext()
{
    if (m_current + 1 >= m_playList.size())
        return;
    ++m_current;
    shared()->stop();
    playEntry(m_current);
    emit nextTriggered();
}

void AudioListPlayer::slotPlayPrevious()
{
    if (m_current < 1 || m_playList.isEmpty())
        return;
    --m_current;
    shared()->stop();
    playEntry(m_current);
    emit previousTriggered();
}

void AudioListPlayer::slotPlayFromList(const QUrl& url)
{
    const int n = m_playList.size();
    for (int p = m_current + 1; p < n; ++p) {
        if (m_playList.at(m_indexes.at(p)) == url) {
            m_current = p;
            playEntry(p);
            emit nextTriggered();
            return;
        }
    }
    for (int p = qMin(m_current, n) - 1; p >= 0; --p) {
        if (m_playList.at(m_indexes.at(p)) == url) {
            m_current = p;
            playEntry(p);
            emit previousTriggered();
            return;
        }
    }
}

} // namespace QMMultiMedia
