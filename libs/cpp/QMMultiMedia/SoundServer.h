#pragma once

#include "QMMultiMedia/AudioBackend.h"

#include <QString>

#include <memory>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;

namespace QMMultiMedia {

class ServerStream;

// The program's one connection to the PulseAudio sound server. It lives on a thread of the sound
// system's own (the server is asked for nothing from the GUI thread but what returns at once):
// streams are opened there as soon as the connection is up, a connection that does not come up
// within connectTimeoutNs is given up, and a server that went away is connected to afresh the next
// time a stream is asked for. A stream that has not started within its bound is broken: a note
// that cannot sound is silent, and the player keeps time without it.
class SoundServer
{
public:
    static SoundServer& instance();
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // A playback stream to a sink (empty: the server's default sink).
    std::unique_ptr<AudioOutput> createOutput(const QString& sink);
    // A capture from a source (empty: the server's default source).
    std::unique_ptr<AudioInput> createInput(const QString& source, int sampleRate, int channels);
    // The server's default source, as last heard from it; empty until then.
    QString defaultSourceName();
    // Begins connecting unless connected or connecting; never waits.
    void connect();

    static qint64 nowNs();
    static constexpr qint64 connectTimeoutNs = 2'000'000'000;
    static constexpr qint64 outputStartTimeoutNs = 500'000'000;

    // For the streams, called with the sound system's lock held.
    pa_context* readyContext() const;
    pa_threaded_mainloop* mainloop() const { return m_loop; }
    void add(ServerStream* stream);
    void remove(ServerStream* stream);
    void connectLocked();

private:
    SoundServer();
    void dropContextLocked();
    static void onContextState(pa_context* context, void* self);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    qint64 m_connectStartNs = 0;
    QString m_defaultSource;
    std::vector<ServerStream*> m_streams;  // opened or waiting for the connection
};

// A stream of the sound server, told when the connection comes up or goes away (with the lock
// held, on the sound system's thread or on the caller's).
class ServerStream
{
public:
    virtual ~ServerStream() = default;
    virtual void contextReady(pa_context* context) = 0;
    virtual void contextLost(const QString& why) = 0;
};

} // namespace QMMultiMedia
