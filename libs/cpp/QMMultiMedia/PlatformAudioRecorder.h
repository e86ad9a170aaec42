#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QAudioInput;
class QIODevice;

namespace QMMultiMedia {

class AacFileWriter;
class AudioFileWriter;

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

// Records the default sound input into a file: Qt Multimedia's QAudioInput, written by libsndfile
// or, for AAC, by libavcodec.
class PlatformAudioRecorder : public QObject
{
    Q_OBJECT
public:
    // A recorder writing to the file, not yet recording; null (with the reason) when the file
    // cannot be written in that format or there is no input.
    static std::unique_ptr<PlatformAudioRecorder> create(const QString& path, const RecorderSettings& settings,
                                                          QString* error);
    ~PlatformAudioRecorder() override;

    // Why a file cannot be recorded with the settings (container, folder, format); empty when it can.
    static QString checkTarget(const QString& path, const RecorderSettings& settings);

    bool record();
    void pause();
    // Stops and finishes the file; false when the file could not be completed.
    bool stop();
    // Seconds recorded so far.
    double currentTime() const;
    QString errorString() const { return m_error; }

    // The name of the default input; empty when there is none.
    static QString defaultInputName();

private:
    PlatformAudioRecorder() = default;
    void readInput();
    bool writeFrames(const float* frames, qint64 count);

    std::unique_ptr<AudioFileWriter> m_pcm;
    std::unique_ptr<AacFileWriter> m_aac;
    QAudioInput* m_input = nullptr;
    QIODevice* m_io = nullptr;
    int m_channels = 2;
    int m_sampleRate = 44100;
    qint64 m_frames = 0;
    bool m_started = false;
    bool m_finished = false;
    QByteArray m_partial;
    std::vector<float> m_converted;
    QString m_error;
};

} // namespace QMMultiMedia
