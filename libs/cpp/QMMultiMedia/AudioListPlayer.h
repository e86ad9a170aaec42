#pragma once

#include <QDir>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QUrl>

namespace QMMultiMedia {

class AudioPlayer;
class PlayListModel;

// Plays a list of local audio files one after another through the shared AudioPlayer, with next,
// previous and play-this-entry commands and the current entry's name, URL and cover. It follows
// the shared player in force: one released and built again is listened to as the first was.
class AudioListPlayer : public QObject
{
    Q_OBJECT
public:
    static AudioListPlayer* instance();
    ~AudioListPlayer() override;

    // Replaces the list and plays its first entry; an empty list changes nothing.
    void setPlayList(const QList<QUrl>& urls);
    void setPlayList(const QDir& folder, const QStringList& nameFilters);
    // Adds entries at the end without touching what plays.
    void appendToPlayList(const QList<QUrl>& urls);
    void regenerateIndexes();

    // The entry played at a position; -1 for a position outside the list.
    int index(int position) const;
    const QList<QUrl>& playList() const { return m_playList; }
    PlayListModel* playListModel() { return m_model; }

    int currentNumber() const { return m_current; }
    // The current entry; -1, an empty URL, an empty name and a null picture for an empty list.
    int currentIndex() const;
    QUrl currentUrl() const;
    QString currentName() const;
    QPixmap currentCover() const;

    void play(const QString& file);
    void play();
    void stop();
    void pause();
    bool isPlaying() const;
    bool isStopped() const;
    bool isPaused() const;
    bool isMuted() const;
    double volume() const;

    void setShuffleMode(bool on) { m_shuffle = on; }
    bool isShuffleMode() const { return m_shuffle; }
    void setLoopMode(bool on) { m_loop = on; }
    bool isLoopMode() const { return m_loop; }

signals:
    void stopped();
    void finished();
    void nextTriggered();
    void previousTriggered();
    void listChanged();

public slots:
    void setMuted(bool mute);
    void setVolume(double volume);
    void slotPlayNext();
    void slotPlayPrevious();
    void slotPlayFromList(const QUrl& url);
    void slotFinished();

private:
    AudioListPlayer();
    void playEntry(int position);
    // The shared player in force, listened to.
    AudioPlayer* shared() const;

    static AudioListPlayer* m_uniqueInstance;

    QList<QUrl> m_playList;
    QList<int> m_indexes;
    int m_current = 0;
    bool m_shuffle = false;
    bool m_loop = false;
    PlayListModel* m_model = nullptr;
    mutable QPointer<AudioPlayer> m_shared;
};

} // namespace QMMultiMedia
