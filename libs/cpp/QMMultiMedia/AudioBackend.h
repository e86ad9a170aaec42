#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace QMMultiMedia {

// One stream to the sound device: interleaved 16-bit stereo frames, pushed by the player. Every
// operation returns at once: a stream that cannot reach the device is broken, never waited for.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;
    // Opens the stream at the sample rate; false when there is no device at all.
    virtual bool start(int sampleRate) = 0;
    // Bytes the stream takes now without blocking.
    virtual qint64 bytesFree() const = 0;
    // Bytes queued and not yet played.
    virtual qint64 bytesQueued() const = 0;
    virtual qint64 write(const char* data, qint64 length) = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    // True once the device has failed or could not be reached in time; the player then goes on by
    // its clock.
    virtual bool isBroken() const = 0;
};

// One stream from the sound input: interleaved 16-bit frames of the channels asked for, captured
// on a thread of the sound system and taken by the recorder whenever it likes.
class AudioInput
{
public:
    virtual ~AudioInput() = default;
    // Begins capturing; false when it is refused at once (the reason in errorString()).
    virtual bool start() = 0;
    // Appends what has been captured so far to `out`.
    virtual void read(QByteArray& out) = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    // Why the input stopped or could not be reached; empty while it works.
    virtual QString errorString() const = 0;
};

// What the players and the recorder take from the system: streams and a monotonic clock. Tests
// install their own backend to drive them without a device and without real time.
class AudioBackend
{
public:
    virtual ~AudioBackend() = default;
    // A stream not yet started; null when the backend has no output at all.
    virtual std::unique_ptr<AudioOutput> createOutput() = 0;
    // A capture not yet started; by default from the sound server's default input.
    virtual std::unique_ptr<AudioInput> createInput(int sampleRate, int channels);
    // Monotonic time in nanoseconds.
    virtual qint64 nowNs() const = 0;
    // The name of the input recordings are made from; empty while it is not known.
    virtual QString inputName() const;

    // The backend in force: the one installed, else the system's (the sound server, steady clock).
    static AudioBackend* current();
    // Installs a backend (not owned); null returns to the system's.
    static void install(AudioBackend* backend);
};

} // namespace QMMultiMedia
