#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

struct soxr;

namespace QMMultiMedia {

class AudioFileReader;

// The samples of a sound file, decoded for the sound engine to mix from: interleaved floats at the
// engine's rate (AudioEngine::rate), mono or stereo (of a file with more channels, the first two).
// A file at another rate is resampled as it is decoded, through a band-limiting filter, so that
// what lies above half the engine's rate is taken out rather than folded back into what is heard;
// a file at the engine's rate is taken as it is, sample for sample. frames(), and the positions and
// durations drawn from it, count the engine's frames whatever the file's rate.
//
// Opening reads only the file's header. A short sound (notes and the like) is decoded whole into
// memory: decode() decodes the first seconds at once and the rest on a thread of its own, so that it
// neither holds up the caller nor waits to start; what is decoded so far is readyFrames(), safe to
// read from any thread. Such sounds are kept (up to a bound), so that a note played again is not
// decoded again. A longer sound is streamed: decoded a stretch at a time on that thread, well ahead
// of where it is mixed, into a ring of some seconds that lets go of what lies behind; it is never
// kept.
class DecodedSound : public std::enable_shared_from_this<DecodedSound>
{
public:
    // A sound longer than this is streamed (and one whose file gives only an estimate of it).
    static constexpr double wholeSeconds = 30.0;
    // A sound longer than this is refused: no recording runs for a week, so the file's header is
    // damaged, and the frames of such a length are still counted far inside 64 bits.
    static constexpr double maxSeconds = 7 * 24 * 3600.0;
    // How much of a sound decoded whole is decoded before decode() returns; the rest follows on the
    // decoding thread.
    static constexpr double decodedAtOnceSeconds = 3.0;
    // How much of a streamed sound is decoded at once where it is to start, and how far ahead of
    // where it is mixed, and behind, it is kept.
    static constexpr double streamedAtOnceSeconds = 0.5;
    static constexpr qint64 ringFrames = qint64(1) << 20;  // about 24 seconds
    static constexpr double keptBehindSeconds = 4.0;

    // The sound of a file, or null when it cannot be played (missing, not a regular file, not a
    // sound, a sample rate or a length out of bounds); *error then tells why. Called from the GUI
    // thread.
    static std::shared_ptr<DecodedSound> open(const QString& path, QString* error = nullptr);
    ~DecodedSound();
    DecodedSound(const DecodedSound&) = delete;
    DecodedSound& operator=(const DecodedSound&) = delete;

    QString path() const { return m_path; }
    int sampleRate() const { return m_rate; }
    // 1 or 2.
    int channels() const { return m_channels; }
    bool isStreamed() const { return m_streamed; }
    // The length. A sound decoded whole has the length its file gives (if the file holds less, the
    // rest is silent). A streamed sound has its real length once its end has been decoded; until
    // then the length its file gives (for some MP3 files an estimate) or, when the decoding has gone
    // beyond that, a second more than is decoded. Safe to read from any thread.
    qint64 frames() const;
    double durationSeconds() const { return double(frames()) / m_rate; }

    // Begins decoding unless it has begun (a streamed sound from its start).
    void decode();
    // Makes the sound ready to play from frame `from`: a sound decoded whole as decode(). A
    // streamed sound that holds the frame, or has not begun, decodes its first stretch from there
    // at once when that needs no search in the file (it is held, or is the start); elsewhere the
    // decoding thread finds the place, and what a voice mixes before it is found is silent. A
    // streamed sound that has begun and has to start elsewhere goes on as a new sound, which is
    // returned: this one keeps what it holds for a voice that may still be mixing it, and is not
    // decoded further. Otherwise the sound itself is returned. Never waits for the decoding thread.
    std::shared_ptr<DecodedSound> decodeFrom(qint64 from);

    // Decoded whole: the frames decoded so far, from the start; they do not change any more.
    // Streamed: the frame after the last decoded.
    qint64 readyFrames() const { return m_ready.load(std::memory_order_acquire); }
    // Decoded whole: the samples (readyFrames() of them are decoded). Streamed: null.
    const float* samples() const { return m_streamed ? nullptr : m_samples.data(); }

    // Adds `count` frames of the sound, from frame `from` on, times the gains, to the stereo frames
    // at `out`; what is not decoded (not yet, or not any more) adds nothing. Called on the sound
    // thread: it never waits. Of a streamed sound, it tells where the sound is being mixed.
    void mixInto(float* out, qint64 from, qint64 count, float left, float right) const;

private:
    enum class Step { Decoded, Idle, Done };

    DecodedSound() = default;
    // One stretch more, on the decoding thread.
    Step decodeStep();
    // Decoded whole: decodes up to `until` frames; false at the end of the file (or when it fails).
    bool decodeUntil(qint64 until);
    // Streamed: begins at `from`, at once or on the decoding thread; starts reading the file at
    // `from` with nothing kept; decodes a stretch, up to `until`, into the ring.
    void startAt(qint64 from);
    void restartAt(qint64 from);
    void decodeAtOnce(qint64 from);
    void decodeAhead(qint64 until);
    // Decodes the next stretch of the file, up to `wanted` frames, into m_output; false once the
    // file has ended and the resampler has given what it held.
    bool decodeStretch(qint64 wanted);
    // Reads up to `count` frames of the file, keeping the first m_channels channels of each.
    qint64 readFile(float* out, qint64 count);
    // Resamples `count` frames (none with null: the file has ended, and what the filter holds
    // comes out) into m_output.
    void resample(const float* in, qint64 count);
    void startResampler();
    // Frames decoded at once for `seconds` of sound.
    qint64 atOnceFrames(double seconds) const;
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
    qint64 m_frames = 0;  // as the file gives it
    bool m_estimate = false;  // the file's length is an estimate
    bool m_streamed = false;
    bool m_decodeStarted = false;

    // The decoding state: the decoding thread's while it decodes a stretch, the GUI thread's while
    // a streamed sound starts somewhere new.
    std::mutex m_decodeMutex;
    std::unique_ptr<AudioFileReader> m_reader;  // while decoding
    std::unique_ptr<soxr, ResamplerDeleter> m_resampler;  // while decoding a file at another rate
    std::vector<float> m_scratch;
    std::vector<float> m_input;   // the file's frames on their way to the resampler
    std::vector<float> m_output;  // a stretch decoded, at the engine's rate
    qint64 m_decoded = 0;         // frames decoded so far (streamed: the frame after them)
    qint64 m_restart = -1;        // streamed: where the decoding thread is to begin
    bool m_fileEnded = false;     // the file has been read to its end
    bool m_ended = false;         // streamed: the sound's end has been decoded

    // Decoded whole.
    std::vector<float> m_samples;
    std::atomic<qint64> m_ready {0};

    // Streamed: frame f lies at (f mod ringFrames) while it is kept, from m_first to m_ready.
    std::unique_ptr<std::atomic<float>[]> m_ring;
    std::atomic<qint64> m_first {0};
    mutable std::atomic<qint64> m_mixedAt {0};  // where it was mixed last
    std::atomic<qint64> m_length {-1};          // once the end has been decoded
};

} // namespace QMMultiMedia
