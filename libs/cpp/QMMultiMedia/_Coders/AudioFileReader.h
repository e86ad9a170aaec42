#pragma once

#include <QString>

#include <functional>
#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace QMMultiMedia {

// Reads a sound file (WAV, AIFF, CAF, FLAC, OGG, MP3) frame by frame as 32-bit floats. The length
// is known as soon as open() returns, from the file's header; only for an MP3 without a header of
// its length is it an estimate (lengthIsEstimate()), which countFrames() makes exact. The samples
// are decoded only when read.
class AudioFileReader
{
public:
    // The sample rates a file may have. Sound is made from 8 kHz (the telephone's rate) up to
    // 768 kHz (the fastest converters, and the highest rate the common containers are used at);
    // the bounds leave room around them. A rate outside them is a damaged header (an AIFF's rate
    // in 80 bits that rounds to almost nothing, say), and even the lowest bound keeps a file's
    // sound, at the player's rate, within 44.1 times as many frames as the file holds.
    static constexpr int minSampleRate = 1000;
    static constexpr int maxSampleRate = 768000;

    AudioFileReader() = default;
    ~AudioFileReader();
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    // False for a missing, unreadable or undecodable file (also for one without any frame, for one
    // whose sample rate lies outside the bounds above, and for what is not a regular file);
    // errorString() then tells why.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return m_file != nullptr; }
    QString errorString() const { return m_error; }

    int sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    qint64 frames() const { return m_frames; }
    double durationSeconds() const;
    bool lengthIsEstimate() const { return m_estimate; }

    // Reads up to `frames` frames (interleaved, channels() values each) into `out`; returns the number
    // of frames read, 0 at the end.
    qint64 read(float* out, qint64 frames);
    // False beyond the end of the file.
    bool seek(qint64 frame);
    // Counts the frames by decoding the whole file, then goes back to its start; frames() is that
    // count from then on. Not for the GUI thread with a long file. False (frames() stays as it
    // was) when the file cannot be read again from its start, or `stopped` says so before the end.
    bool countFrames(const std::function<bool()>& stopped = {});

    // Reads the whole file into memory (interleaved floats); empty when the file cannot be read.
    static std::vector<float> readAll(const QString& path, int* sampleRate = nullptr, int* channels = nullptr);

    // Frames of `channels` channels that fit in a read of bounded size (at least one).
    static qint64 framesPerRead(int channels);

private:
    SNDFILE* m_file = nullptr;
    int m_sampleRate = 0;
    int m_channels = 0;
    qint64 m_frames = 0;
    bool m_estimate = false;
    QString m_error;
};

} // namespace QMMultiMedia
