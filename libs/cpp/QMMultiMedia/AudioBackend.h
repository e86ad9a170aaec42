#pragma once

#include "QMMultiMedia/AudioEngine.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace QMMultiMedia {

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

// What the players and the recorder take from the system: the sound engine with its output, the
// input, and a monotonic clock. Tests install their own backend to drive the engine without a
// device and without real time.
class AudioBackend
{
public:
    AudioBackend() = default;
    virtual ~AudioBackend();
    AudioBackend(const AudioBackend&) = delete;
    AudioBackend& operator=(const AudioBackend&) = delete;

    // The output that plays an engine's mix; null when the backend has no output at all (the
    // engine then keeps time only).
    virtual std::unique_ptr<AudioOutput> createOutput(AudioEngine& engine) = 0;
    // A capture not yet started; by default from the sound server's default input.
    virtual std::unique_ptr<AudioInput> createInput(int sampleRate, int channels);
    // Monotonic time in nanoseconds.
    virtual qint64 nowNs() const = 0;
    // The name of the input recordings are made from; empty while it is not known.
    virtual QString inputName() const;

    // The engine every sound of this backend plays through, made with its output on first use.
    std::shared_ptr<AudioEngine> engine();

    // The backend in force: the one installed, else the system's (the sound server, steady clock).
    static AudioBackend* current();
    // Installs a backend (not owned); null returns to the system's.
    static void install(AudioBackend* backend);

protected:
    // Lets the engine go on by itself (no output, the steady clock). A backend whose output serves
    // from another thread calls it first thing in its destructor, before its clock goes.
    void releaseEngine();

private:
    std::shared_ptr<AudioEngine> m_engine;
};

} // namespace QMMultiMedia
