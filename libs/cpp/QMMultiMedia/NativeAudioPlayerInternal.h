#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace QMMultiMedia {

class PlatformAudioPlayer;

// Does the work of NativeAudioPlayer: holds the player of the current file, polls it every 500 ms
// while a sound plays, reports the position and notices the end of a sound.
class NativeAudioPlayerInternal : public QObject
{
    Q_OBJECT
public:
    enum State { NotSet = -1, Playing = 0, Stopped = 1, Paused = 2 };
    static constexpr int pollIntervalMs = 500;

    explicit NativeAudioPlayerInternal(QObject* parent = nullptr);
    ~NativeAudioPlayerInternal() override;

    // Drops the file held before (stopping it) and loads the new one; nothing is held when it fails.
    void setMedia(const QString& path);
    // Loads and plays once from the start. A file that cannot be loaded still ends: finished() is
    // emitted from the event loop, so that a player deleting itself on finished() is reclaimed.
    void play(const QString& path);
    void play();
    void stop();
    void pause();

    bool isPlaying() const;
    bool isStopped() const { return m_state == Stopped; }
    bool isPaused() const { return m_state == Paused; }
    bool hasMedia() const { return m_player != nullptr; }

    qint64 position() const;
    qint64 duration() const;
    void setPosition(qint64 ms);

    void setVolume(double volume);
    double volume() const { return m_volume; }
    void setBalance(float balance);
    float balance() const { return m_balance; }

    bool isPollTimerActive() const { return m_timer.isActive(); }
    // The player of the current file (null when none is held).
    PlatformAudioPlayer* platformPlayer() const { return m_player.get(); }

    // Position in ms from a time in seconds, rounded half away from zero in single precision.
    static qint64 positionFromSeconds(double seconds);
    // Length in ms from a time in seconds, truncated.
    static qint64 durationFromSeconds(double seconds);

signals:
    void finished();
    void positionChanged(qint64 position);

public slots:
    void slotPositionChanged();

private:
    float m_balance = 0.0f;
    std::unique_ptr<PlatformAudioPlayer> m_player;
    QTimer m_timer;
    int m_state = NotSet;
    double m_volume = 0.5;
};

} // namespace QMMultiMedia
