#pragma once

#include <QAudioDeviceInfo>
#include <QtGlobal>

#include <memory>

namespace QMMultiMedia {

// One stream to the sound device: interleaved 16-bit stereo frames, pushed by the player.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;
    // Opens the stream at the sample rate; false when there is no device or it refuses the stream.
    virtual bool start(int sampleRate) = 0;
    // Bytes the stream takes now without blocking.
    virtual qint64 bytesFree() const = 0;
    // Bytes queued and not yet handed to the device.
    virtual qint64 bytesQueued() const = 0;
    virtual qint64 write(const char* data, qint64 length) = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    // True once the device has failed (the server went away); the player then goes on by its clock.
    virtual bool isBroken() const = 0;
};

// What the players take from the system: output streams and a monotonic clock. Tests install
// their own backend to drive the players without a device and without real time.
class AudioBackend
{
public:
    virtual ~AudioBackend() = default;
    // A stream not yet started; null when the backend has no output at all.
    virtual std::unique_ptr<AudioOutput> createOutput() = 0;
    // Monotonic time in nanoseconds.
    virtual qint64 nowNs() const = 0;
    // The device recordings are made from (null when there is none): the system's default input.
    virtual QAudioDeviceInfo inputDevice() const { return QAudioDeviceInfo::defaultInputDevice(); }

    // The backend in force: the one installed, else the system's (Qt Multimedia, steady clock).
    static AudioBackend* current();
    // Installs a backend (not owned); null returns to the system's.
    static void install(AudioBackend* backend);
};

} // namespace QMMultiMedia
