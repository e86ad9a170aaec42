#pragma once

#include "QMMultiMedia/AudioBackend.h"

#include <QString>

#include <memory>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_io_event;

namespace QMMultiMedia {

class ServerStream;

// The program's one connection to the PulseAudio sound server. It lives on a thread of the sound
// system's own, where the streams are written and read; the GUI thread asks it for nothing but what
// returns at once.
//
// While any stream uses it, the connection is watched: a connection that does not come up in time,
// a server that stops answering (a question every quarter of a second, unanswered for a second) or
// a stream that stays unfinished for as long is given up: its socket is closed, which makes the
// server drop everything of ours once it runs again, and a new connection is made.
class SoundServer
{
public:
    static SoundServer& instance();
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // The output that plays an engine's mix to a sink (empty: the server's default sink). It opens
    // a stream when the engine has something to play and closes it when it has been idle a while.
    std::unique_ptr<AudioOutput> createOutput(const QString& sink, AudioEngine& engine);
    // A capture from a source (empty: the server's default source).
    std::unique_ptr<AudioInput> createInput(const QString& source, int sampleRate, int channels);
    // The server's default source, as last heard from it; empty until then.
    QString defaultSourceName();
    // Connections made so far (the first one included).
    int connectionsMade();

    // The server is PipeWire's (its PulseAudio layer); known once connected.
    bool isPipeWire() const { return m_pipeWire; }

    static qint64 nowNs();
    // What a playback stream asks the server to read ahead of the frame being heard. PipeWire
    // reads a whole block of its graph at a time and sizes that block by the streams' asks (15 ms
    // gives 512 frames at 48 or 44.1 kHz). Its layer that serves the program must have each block
    // ready within one block's time, or that block of the stream is silence and the rest of it
    // comes a block later. A kernel that does not preempt holds that thread up for several
    // milliseconds now and then while a build runs beside it: blocks of 256 frames (5 ms) then go
    // missing every minute or so, blocks of 512 were not seen to.
    static constexpr qint64 latencyFrames = 44100 * 2 / 1000;
    static constexpr qint64 pipeWireLatencyFrames = 44100 * 15 / 1000;
    static constexpr qint64 connectTimeoutNs = 1'500'000'000;
    // Connections are tried at most this often.
    static constexpr qint64 retryNs = 2'000'000'000;
    // How long the server may leave a question or the making of a stream unanswered.
    static constexpr qint64 answerTimeoutNs = 1'000'000'000;
    static constexpr qint64 tickNs = 250'000'000;

    // For the streams, called with the sound system's lock held.
    pa_context* readyContext() const;
    pa_threaded_mainloop* mainloop() const { return m_loop; }
    void add(ServerStream* stream);
    void remove(ServerStream* stream);

private:
    SoundServer();
    void connectLocked();
    void dropContextLocked();
    void replaceLocked(const QString& why);
    void tickLocked();
    void armTicks(bool on);
    // Ends the connection and the sound system's thread.
    void stopLoop();
    static void onContextState(pa_context* context, void* self);
    // The server said something changed (type: what, as libpulse's subscription events tell it).
    void eventLocked(pa_context* context, int type);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    qint64 m_connectStartNs = 0;
    int m_connections = 0;
    QString m_defaultSource;
    bool m_known = false;  // the server has said what it is
    QString m_failure;     // why the last connection failed; empty once one is up
    bool m_pipeWire = false;
    std::vector<ServerStream*> m_streams;  // opened or waiting for the connection
    int m_tickFd = -1;
    pa_io_event* m_tickEvent = nullptr;
    bool m_ticking = false;
    qint64 m_questionSentNs = 0;  // 0: no question waits for its answer
};

// A stream of the sound server, told (with the lock held, on the sound system's thread or on the
// caller's) when the connection comes up or goes away, when the server's sinks change, and every
// tick while it is registered.
class ServerStream
{
public:
    virtual ~ServerStream() = default;
    virtual void contextReady(pa_context* context) = 0;
    virtual void contextLost(const QString& why) = 0;
    virtual void tick() {}
    // The server's sinks changed: one came, or the default sink is another.
    virtual void sinksChanged() {}
    // Since when a stream has been asked of the server and is not there yet; 0 when none waits.
    virtual qint64 waitingSinceNs() const = 0;
};

} // namespace QMMultiMedia
