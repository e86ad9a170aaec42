#pragma once

#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

namespace QMMultiMedia {

class AudioBackend;
class AudioOutput;

// Plays one decoded sound file: play once, pause, stop without rewinding, seek, volume and pan.
// Time is kept by a monotonic clock from the moment play() is called, so position and end of the
// sound are the same whether it sounds through a device or, when there is none, only keeps time as
// if it played. While playing, the samples are pushed to the output every few milliseconds.
class PlatformAudioPlayer : public QObject
{
    Q_OBJECT
public:
    // A player ready to play the whole file from the start; null when the file cannot be decoded.
    static std::unique_ptr<PlatformAudioPlayer> create(const QString& path);
    ~PlatformAudioPlayer() override;

    // Starts or resumes from the current time. A sound that has run to its end starts again.
    void play();
    // Halts and keeps the current time.
    void pause();
    // Halts without rewinding; the stream to the device is closed at once.
    void stop();
    // Seconds from the start; clamped to the sound.
    void setCurrentTime(double seconds);
    double currentTime() const;
    double duration() const;
    // True while sound is being produced: not after the end, after stop() and during a pause.
    bool isPlaying() const;

    void setVolume(float volume);
    float volume() const { return m_volume; }
    void setPan(float pan);
    float pan() const { return m_pan; }

    // True while the sound goes to a device (false: keeping time only).
    bool hasOutput() const { return m_output != nullptr; }
    int sampleRate() const { return m_reader.sampleRate(); }
    qint64 frames() const { return m_reader.frames(); }

    // Pushes as many samples to the output as it takes and notices the end; run by the feed timer.
    void pump();

    // The time a sound keeps going after its last frame at most, to let the device drain.
    static constexpr qint64 drainNs = 150'000'000;

private:
    explicit PlatformAudioPlayer(AudioBackend* backend);

    qint64 clockFrame() const;  // the frame the clock has reached, unbounded
    bool hasRunOut() const;     // playing and past the end (with the device drained)
    void settle();              // turns a run-out play into the ended state
    void openOutput();
    void closeOutput();

    AudioBackend* m_backend;
    AudioFileReader m_reader;
    std::unique_ptr<AudioOutput> m_output;
    QTimer m_feedTimer;
    bool m_playing = false;
    bool m_suspended = false;
    qint64 m_frame = 0;        // the position while not playing
    qint64 m_startFrame = 0;   // the position when the clock started
    qint64 m_clockStartNs = 0;
    qint64 m_writeFrame = 0;   // the next frame to decode for the output
    qint64 m_paddingBytes = 0; // silence written after the last frame
    float m_volume = 1.0f;
    float m_pan = 0.0f;
    std::vector<float> m_decoded;
    std::vector<qint16> m_mixed;
    std::vector<char> m_silence;
};

} // namespace QMMultiMedia
