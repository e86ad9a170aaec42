#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

namespace QMMultiMedia {

class NativeAudioPlayer;

// The one application-wide player for longer sounds (play-list tracks). It can loop a file and
// remembers the user's volume and mute across runs ("/SoundVolume", "/SoundMute"); they are saved
// when the application is about to quit.
class AudioPlayer : public QObject
{
    Q_OBJECT
public:
    static AudioPlayer* instance();
    // Saves the settings and deletes the shared player; the next instance() builds a new one from
    // the saved settings.
    static void releaseInstance();
    ~AudioPlayer() override;

    // Loads and plays a file from the start; looped, it starts again at each end until stop().
    // A file that cannot be played ends at once (finished() from the event loop).
    void play(const QString& file, bool looped);
    void play();
    void stop();
    void pause();

    qint64 duration() const;
    qint64 position() const;
    qint64 remainingDuration() const;
    void setPosition(qint64 ms);
    bool isMuted() const;
    double volume() const;
    bool isPlaying() const;
    bool isStopped() const;
    bool isPaused() const;
    QString fileName() const;

    NativeAudioPlayer* nativePlayer() const { return m_player; }
    // True once the loop has been told to stop (or none was started).
    bool isLoopStopped() const { return m_loopStopped; }
    // A stored volume made fit to play with: 0 to 1, the default 0.5 for what is not a number.
    static double volumeFromSettings(const QVariant& stored);

    static AudioPlayer* _uniqueInstance;

signals:
    void stopped();
    void finished();
    void positionChanged(qint64 position);

public slots:
    void setMuted(bool mute);
    void setVolume(double volume);
    void slotStop();
    void loopedPlay();
    void slotSetAboutToQuit();

private:
    AudioPlayer();
    void armLoop();
    void onPlayerFinished();
    void reportIfUnplayable();

    NativeAudioPlayer* m_player;
    bool m_loopStopped = false;
    QTimer m_loopTimer;  // the one restart of the loop; re-armed by each pass, stopped by stop()
    quint64 m_plays = 0;
};

} // namespace QMMultiMedia
