#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

namespace QMMultiMedia {

class AacFileWriter;
class AudioFileWriter;
class AudioInput;

// How a recording is stored: uncompressed PCM in the container the file's extension names
// (WAV, AIFF, CAF), or MPEG-4 AAC (.m4a, .mp4, .caf, .aac).
struct RecorderSettings
{
    enum Format { LinearPCM, MPEG4AAC };
    float sampleRate = 44100.0f;
    Format format = LinearPCM;
    int channels = 2;
    int bitRate = -1;   // only for AAC; -1 when not given
    int quality = 96;   // encoder quality 0 (minimum) to 127 (maximum)
};

// Records the sound input into a file: the input is captured on the sound system's thread and
// written here every few milliseconds (libsndfile, or libavcodec for AAC). A file of the same name
// stays as it was until the take ends, and is then replaced whole: by the complete take on stop(),
// or, when the input stops or the disk fills up in the middle, by what was written up to then,
// finished into a file of its own, which the error says. A take that holds no sound, or whose file
// could not be written for another reason, never replaces it.
class PlatformAudioRecorder : public QObject
{
    Q_OBJECT
public:
    // A recorder writing to the file, not yet recording; null (with the reason) when the file
    // cannot be written in that format.
    static std::unique_ptr<PlatformAudioRecorder> create(const QString& path, const RecorderSettings& settings,
                                                          QString* error);
    ~PlatformAudioRecorder() override;

    // Why a file cannot be recorded with the settings (container, folder, format); empty when it can.
    static QString checkTarget(const QString& path, const RecorderSettings& settings);

    bool record();
    void pause();
    // Takes everything captured up to now, finishes the file and puts it in place; false (with
    // the reason) when the take is not complete: nothing was captured or written (then nothing
    // replaces the file of that name), or the input had stopped or the disk is full (then what
    // was written is kept, when it holds sound).
    bool stop();
    // Seconds recorded so far; once the take has ended, the seconds its file holds.
    double currentTime() const;
    QString errorString() const { return m_error; }

    // The name of the input recorded from; empty while it is not known.
    static QString defaultInputName();

signals:
    // The recording could not go on (the disk is full, the input is gone): it has stopped, the
    // reason given. When sound was written before, that much is kept in the file and the reason
    // says how much; otherwise what was there under the file's name stays as it was, and the
    // reason says that nothing was kept.
    void failed(const QString& why);

private:
    PlatformAudioRecorder() = default;
    // Writes what has been captured; false (with m_error) when it cannot be written.
    bool collect();
    void checkInput();
    // Ends the take with what has been written: kept when it holds sound and could be written.
    void finish(bool written, const QString& inputError);
    // Ends a take whose disk is full with the sound written before.
    void keepAfterFullDisk();
    bool diskFull() const;

    std::unique_ptr<AudioFileWriter> m_pcm;
    std::unique_ptr<AacFileWriter> m_aac;
    std::unique_ptr<AudioInput> m_input;
    QTimer m_collectTimer;
    QString m_path;
    int m_channels = 2;
    int m_sampleRate = 44100;
    qint64 m_frames = 0;
    bool m_started = false;
    bool m_finished = false;
    QByteArray m_captured;
    std::vector<float> m_converted;
    QString m_error;
};

} // namespace QMMultiMedia
