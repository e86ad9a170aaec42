#pragma once

#include <QString>

#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace QMMultiMedia {

// Reads a sound file (WAV, AIFF, CAF, FLAC, OGG, MP3) frame by frame as 32-bit floats. The length
// is known as soon as open() returns; the samples are decoded only when read.
class AudioFileReader
{
public:
    AudioFileReader() = default;
    ~AudioFileReader();
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    // False for a missing, unreadable or undecodable file (also for one without any frame, and for
    // what is not a regular file).
    bool open(const QString& path);
    void close();
    bool isOpen() const { return m_file != nullptr; }

    int sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    qint64 frames() const { return m_frames; }
    double durationSeconds() const;

    // Reads up to `frames` frames (interleaved, channels() values each) into `out`; returns the number
    // of frames read, 0 at the end.
    qint64 read(float* out, qint64 frames);
    bool seek(qint64 frame);

    // Reads the whole file into memory (interleaved floats); empty when the file cannot be read.
    static std::vector<float> readAll(const QString& path, int* sampleRate = nullptr, int* channels = nullptr);

private:
    static bool startsWithId3Tag(const QString& path);
    qint64 countFrames();

    SNDFILE* m_file = nullptr;
    int m_sampleRate = 0;
    int m_channels = 0;
    qint64 m_frames = 0;
};

} // namespace QMMultiMedia
