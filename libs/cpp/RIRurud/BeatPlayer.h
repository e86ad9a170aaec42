#pragma once

#include <QObject>
#include <QString>

namespace RIRurud {

// A fire-and-forget player for one beat: plays a sound through the beat mixer (decoded once and
// kept, one stream for all beats) at a given time, and emits finished() once the sound is over.
// Like the program's other players it is made for one sound and deletes itself:
//
//     auto* player = new BeatPlayer;
//     connect(player, &BeatPlayer::finished, player, &QObject::deleteLater);
//     player->play(path, atNs);
//
// Deleting a player before its sound is over silences it. A file that cannot be decoded plays
// nothing; finished() then comes from the event loop.
class BeatPlayer : public QObject
{
    Q_OBJECT
public:
    explicit BeatPlayer(QObject* parent = nullptr);
    ~BeatPlayer() override;

    // Plays the file so that it sounds at atNs on the audio backend's clock.
    void play(const QString& path, qint64 atNs);
    // Plays the file as soon as it can land exactly: leadNs() from now.
    void play(const QString& path);
    // True once the sound has begun to go out.
    bool hasStarted() const;

    // How far ahead a beat must be given to sound on time (0 without a sound device).
    static qint64 leadNs();
    // The audio backend's clock, in nanoseconds.
    static qint64 nowNs();

signals:
    void finished();

private:
    void slotVoiceEnded(quint64 id);

    quint64 m_voice = 0;
};

} // namespace RIRurud
