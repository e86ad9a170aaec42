#pragma once

#include <QObject>
#include <QString>

namespace QMMultiMedia {

class NativeAudioPlayerInternal;

// Plays one sound file. Every sound of the program goes through a player of this class; the usual
// way is a player made for one sound that deletes itself when the sound has ended, which
// playOnce(path) makes:
//
//     auto* player = new NativeAudioPlayer(nullptr);
//     connect(player, &NativeAudioPlayer::finished, player, &QObject::deleteLater);
//     player->play(path);
//
// finished() comes at the first 500 ms tick after the sound has ended (also, from the event loop,
// when play(path) cannot load the file). Without a sound device a player keeps time as if it played.
class NativeAudioPlayer : public QObject
{
    Q_OBJECT
public:
    explicit NativeAudioPlayer(QObject* parent = nullptr);
    ~NativeAudioPlayer() override;

    // Plays a file on a player of its own that deletes itself when the sound has ended; one still
    // sounding when the application is about to quit is stopped and deleted then.
    static NativeAudioPlayer* playOnce(const QString& path);
    // Such a player, not yet playing: for sounds that are loaded first and started together.
    static NativeAudioPlayer* oneShot();

    // Loads a file without playing it and remembers its name.
    void setMedia(const QString& path);
    // Loads the file and plays it once from the start; the remembered name stays.
    void play(const QString& path);
    // Starts or resumes the loaded file.
    void play();
    // Stops and rewinds to the start.
    void stop();
    void pause();

    qint64 position() const;
    qint64 duration() const;
    void setPosition(qint64 ms);

    double volume() const;
    void setVolume(double volume);
    bool isMuted() const;
    // Muting keeps the volume to return to (muting a muted player keeps it too); unmuting returns
    // to it.
    void setMuted(bool mute);
    // The volume the player has when not muted.
    double unmutedVolume() const;
    // -1 left, 0 centre, +1 right; applies to the file loaded now.
    void setBalance(float balance);

    bool isPlaying() const;
    bool isStopped() const;
    bool isPaused() const;
    QString fileName() const;

    NativeAudioPlayerInternal* internal() const { return m_internal; }

signals:
    void finished();
    void positionChanged(qint64 position);

private:
    NativeAudioPlayerInternal* m_internal;
    QString m_fileName;
    double m_savedVolume = 0.5;
};

} // namespace QMMultiMedia
