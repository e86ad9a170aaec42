#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

namespace QMMultiMedia {
class AudioOutput;
}

namespace RIRurud {

// Short sounds placed on a clock: the metronome's beats. Each sound file is decoded once and kept;
// one output stream stays open while anyone uses the mixer, and every sound is mixed into it at the
// frame that belongs to the time it was given. So a beat costs no file reading, no decoding and no
// opening of a stream, and it sounds exactly when it was meant to, whatever the event loop was doing
// when the beat was asked for.
//
// The stream is written by the clock of the audio backend a little ahead of time: a sound must be
// given at least leadNs() before its time to land exactly; one given later sounds as soon as it can.
// Without a sound device the mixer keeps time only: sounds end on time without being heard.
class BeatMixer : public QObject
{
    Q_OBJECT
public:
    static constexpr int rate = 44100;

    // A decoded sound: interleaved stereo frames at `rate`.
    struct Sound
    {
        std::vector<float> frames;
        qint64 frameCount() const { return qint64(frames.size() / 2); }
    };

    // The mixer of the program; created on first use, destroyed with the application object.
    static BeatMixer* instance();

    // Opens the output stream for the first user and closes it (from the event loop) after the
    // last one.
    void acquire();
    void release();
    bool hasOutput() const { return m_output != nullptr; }

    // The sound of a file, decoded on the first request and kept; null when the file cannot be
    // decoded (that is remembered too: a missing file is not looked for again).
    const Sound* sound(const QString& path);

    // Time now on the audio backend's clock, in nanoseconds.
    qint64 nowNs() const;
    // How long before its time a sound must be given to sound exactly then; 0 without a stream.
    qint64 leadNs() const;

    // Places a sound to begin at atNs on the backend's clock (the device's own fixed latency comes
    // on top). Returns the voice's id; voiceEnded(id) comes once the sound is over.
    quint64 addVoice(const Sound* sound, qint64 atNs, float volume);
    // Silences a voice and forgets it; no voiceEnded() follows.
    void removeVoice(quint64 id);
    // True once the voice's first frame has gone to the stream (or, without one, its time has come).
    bool hasStarted(quint64 id) const;
    int voiceCount() const { return int(m_voices.size()); }

    // Writes the stream up to the present and ends the voices that are over; runs every few
    // milliseconds while the stream is open or voices are waiting.
    void pump();

    // The stream's queue, fixed when it opened: how far ahead of the clock the stream is written.
    qint64 queueNs() const { return m_queueNs; }

signals:
    void voiceEnded(quint64 id);

private:
    explicit BeatMixer(QObject* parent);
    ~BeatMixer() override;

    struct Voice
    {
        quint64 id;
        const Sound* sound;
        qint64 atNs;         // once placed and the stream is closed: when its first frame was heard
        float volume;
        bool placed;
        qint64 startFrame;   // in the stream's frames, once placed
    };

    void openOutput();
    void closeOutput();
    qint64 frameAt(qint64 ns) const;
    void mixInto(qint64 from, qint64 count);
    void updateTimer();

    std::unique_ptr<QMMultiMedia::AudioOutput> m_output;
    int m_users = 0;
    QHash<QString, std::shared_ptr<Sound>> m_sounds;
    std::vector<Voice> m_voices;
    quint64 m_nextId = 1;
    QTimer m_timer;
    qint64 m_originNs = 0;      // the clock time at which frame 0 was due to be written
    qint64 m_written = 0;       // frames written to the stream so far
    qint64 m_queueNs = 0;
    qint64 m_queueFrames = 0;
    qint64 m_lastReopenNs = 0;
    std::vector<float> m_mix;
    std::vector<qint16> m_out;
};

} // namespace RIRurud
