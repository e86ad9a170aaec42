#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <vector>

namespace QMMultiMedia {

class AudioFileReader;

// The samples of a sound file, decoded into memory for the sound engine to mix from: interleaved
// floats at the file's own rate, mono or stereo (of a file with more channels, the first two).
//
// Opening reads only the file's length. decode() decodes the first seconds at once and the rest on
// a thread of its own, so that a long file neither holds up the caller nor waits to start; what is
// decoded so far is readyFrames(), safe to read from any thread. Decoded sounds are kept (up to a
// bound), so that a note played again is not decoded again.
class DecodedSound : public std::enable_shared_from_this<DecodedSound>
{
public:
    // The sound of a file, or null when it cannot be decoded (missing, not a regular file, not a
    // sound). Called from the GUI thread.
    static std::shared_ptr<DecodedSound> open(const QString& path);
    ~DecodedSound();
    DecodedSound(const DecodedSound&) = delete;
    DecodedSound& operator=(const DecodedSound&) = delete;

    QString path() const { return m_path; }
    int sampleRate() const { return m_rate; }
    // 1 or 2.
    int channels() const { return m_channels; }
    qint64 frames() const { return m_frames; }
    double durationSeconds() const { return double(m_frames) / m_rate; }

    // Begins decoding unless it has begun.
    void decode();
    // Frames decoded so far, from the start; they do not change any more.
    qint64 readyFrames() const { return m_ready.load(std::memory_order_acquire); }
    const float* samples() const { return m_samples.data(); }

    // How much is decoded before decode() returns; the rest follows on the decoding thread.
    static constexpr double decodedAtOnceSeconds = 3.0;

private:
    DecodedSound() = default;
    // Decodes up to `until` frames; false at the end of the file (or when it fails).
    bool decodeUntil(qint64 until);
    void finish();
    friend class SoundDecoder;

    QString m_path;
    int m_rate = 0;
    int m_channels = 0;
    int m_fileChannels = 0;
    qint64 m_frames = 0;
    bool m_decodeStarted = false;
    std::unique_ptr<AudioFileReader> m_reader;  // while decoding
    std::vector<float> m_samples;
    std::vector<float> m_scratch;
    qint64 m_decoded = 0;  // decoding thread's count; published through m_ready
    std::atomic<qint64> m_ready {0};
};

} // namespace QMMultiMedia
