#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <vector>

struct soxr;

namespace QMMultiMedia {

class AudioFileReader;

// The samples of a sound file, decoded into memory for the sound engine to mix from: interleaved
// floats at the engine's rate (AudioEngine::rate), mono or stereo (of a file with more channels, the
// first two). A file at another rate is resampled as it is decoded, through a band-limiting filter,
// so that what lies above half the engine's rate is taken out rather than folded back into what is
// heard; a file at the engine's rate is taken as it is, sample for sample. frames(), and the
// positions and durations drawn from it, count the engine's frames whatever the file's rate.
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
    // Reads up to `count` frames of the file, keeping the first m_channels channels of each.
    qint64 readFile(float* out, qint64 count);
    // Resamples `count` frames (none with null: the file has ended, and what the filter holds comes
    // out) into the frames after those decoded, up to the sound's length.
    void resample(const float* in, qint64 count);
    void finish();
    friend class SoundDecoder;

    struct ResamplerDeleter
    {
        void operator()(soxr* resampler) const;
    };

    QString m_path;
    int m_rate = 0;
    int m_channels = 0;
    int m_fileRate = 0;
    int m_fileChannels = 0;
    qint64 m_fileFrames = 0;
    qint64 m_frames = 0;
    bool m_decodeStarted = false;
    std::unique_ptr<AudioFileReader> m_reader;  // while decoding
    std::vector<float> m_samples;
    std::vector<float> m_scratch;
    std::unique_ptr<soxr, ResamplerDeleter> m_resampler;  // while decoding a file at another rate
    std::vector<float> m_input;  // the file's frames on their way to the resampler
    qint64 m_read = 0;     // frames of the file read so far
    qint64 m_decoded = 0;  // decoding thread's count; published through m_ready
    std::atomic<qint64> m_ready {0};
};

} // namespace QMMultiMedia
