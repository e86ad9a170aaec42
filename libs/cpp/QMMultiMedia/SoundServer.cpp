#include "QMMultiMedia/SoundServer.h"

#include <QCoreApplication>

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <chrono>

namespace QMMultiMedia {

namespace {

class Locker
{
public:
    explicit Locker(pa_threaded_mainloop* loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
    ~Locker() { pa_threaded_mainloop_unlock(m_loop); }
    Locker(const Locker&) = delete;
    Locker& operator=(const Locker&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

QString errorText(pa_context* context)
{
    return QString::fromUtf8(pa_strerror(pa_context_errno(context)));
}

void closeStream(pa_stream*& stream)
{
    if (!stream)
        return;
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    pa_stream_set_read_callback(stream, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    stream = nullptr;
}

void cork(pa_stream* stream, bool on)
{
    if (stream && PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
        if (pa_operation* op = pa_stream_cork(stream, on ? 1 : 0, nullptr, nullptr))
            pa_operation_unref(op);
    }
}

// What the streams share: the server, the lock, the state of the stream and why it broke.
class StreamBase : public ServerStream
{
public:
    StreamBase(SoundServer& server, const QString& device) : m_server(server), m_device(device.toUtf8()) {}

    void contextLost(const QString& why) override { fail(why); }

protected:
    // Leaves the server; the subclass's destructor calls it first, so that no callback of the
    // sound system's thread meets a half-destroyed stream.
    void close()
    {
        Locker lock(m_server.mainloop());
        m_server.remove(this);
        closeStream(m_stream);
    }
    void setCorked(bool on)
    {
        Locker lock(m_server.mainloop());
        m_corked = on;
        cork(m_stream, on);
    }
    void fail(const QString& why)
    {
        if (!m_broken)
            m_error = why.isEmpty() ? QStringLiteral("the sound server went away") : why;
        m_broken = true;
    }
    const char* device() const { return m_device.isEmpty() ? nullptr : m_device.constData(); }
    static void onState(pa_stream* stream, void* self)
    {
        auto* s = static_cast<StreamBase*>(self);
        switch (pa_stream_get_state(stream)) {
        case PA_STREAM_READY:
            s->m_ready = true;
            s->streamReady();
            break;
        case PA_STREAM_FAILED:
        case PA_STREAM_TERMINATED:
            s->fail(errorText(pa_stream_get_context(stream)));
            break;
        default:
            break;
        }
    }
    virtual void streamReady() {}

    SoundServer& m_server;
    QByteArray m_device;
    pa_stream* m_stream = nullptr;
    bool m_ready = false;
    bool m_broken = false;
    bool m_corked = false;
    qint64 m_startNs = 0;
    QString m_error;
};

// Playback: what is written waits here, up to a quarter of a second ahead (beside the server's
// tenth of a second), and the sound system's thread hands it to the server as the server asks for
// it, so that a busy GUI thread does not break a note up. (Much more costs memory when many notes
// sound at once.) What is written before the stream is up goes out the moment it is.
class ServerOutput : public AudioOutput, public StreamBase
{
public:
    using StreamBase::StreamBase;
    ~ServerOutput() override { close(); }

    bool start(int sampleRate) override
    {
        Locker lock(m_server.mainloop());
        m_rate = sampleRate;
        m_capacity = qint64(sampleRate / 4) * 4;
        m_startNs = SoundServer::nowNs();
        m_server.add(this);
        return true;
    }

    void contextReady(pa_context* context) override
    {
        if (m_stream || m_broken)
            return;
        const pa_sample_spec spec {PA_SAMPLE_S16LE, uint32_t(m_rate), 2};
        m_stream = pa_stream_new(context, "note", &spec, nullptr);
        if (!m_stream) {
            fail(errorText(context));
            return;
        }
        pa_stream_set_state_callback(m_stream, &StreamBase::onState, static_cast<StreamBase*>(this));
        pa_stream_set_write_callback(m_stream, &ServerOutput::onWrite, this);
        pa_buffer_attr attr;
        attr.maxlength = uint32_t(-1);
        attr.tlength = uint32_t(m_rate / 10 * 4);  // 100 ms at the server
        attr.prebuf = uint32_t(m_rate / 100 * 4);  // 10 ms: a note starts as soon as it is there
        attr.minreq = uint32_t(-1);
        attr.fragsize = uint32_t(-1);
        const int flags = PA_STREAM_NOFLAGS | (m_corked ? PA_STREAM_START_CORKED : 0);
        if (pa_stream_connect_playback(m_stream, device(), &attr, pa_stream_flags_t(flags), nullptr, nullptr) < 0)
            fail(errorText(context));
    }

    qint64 bytesFree() const override
    {
        Locker lock(m_server.mainloop());
        return roomLocked();
    }

    qint64 bytesQueued() const override
    {
        Locker lock(m_server.mainloop());
        qint64 queued = m_pending.size();
        if (m_ready && !m_broken) {
            const size_t writable = pa_stream_writable_size(m_stream);
            const pa_buffer_attr* attr = pa_stream_get_buffer_attr(m_stream);
            if (attr && writable != size_t(-1))
                queued += qMax<qint64>(0, qint64(attr->tlength) - qint64(writable));
        }
        return queued;
    }

    qint64 write(const char* data, qint64 length) override
    {
        Locker lock(m_server.mainloop());
        const qint64 n = qMin(length, roomLocked());
        if (n <= 0)
            return 0;
        m_pending.append(data, int(n));
        flushLocked();
        return n;
    }

    void suspend() override { setCorked(true); }
    void resume() override { setCorked(false); }

    bool isBroken() const override
    {
        Locker lock(m_server.mainloop());
        return m_broken || (!m_ready && SoundServer::nowNs() - m_startNs > SoundServer::outputStartTimeoutNs);
    }

private:
    qint64 roomLocked() const
    {
        if (m_broken)
            return 0;
        return qMax<qint64>(0, m_capacity - m_pending.size()) / 4 * 4;
    }
    void flushLocked()
    {
        if (!m_ready || m_broken || m_pending.isEmpty())
            return;
        const size_t writable = pa_stream_writable_size(m_stream);
        if (writable == size_t(-1) || writable == 0)
            return;
        const int n = int(qMin<size_t>(writable, size_t(m_pending.size())) / 4 * 4);
        if (n <= 0)
            return;
        if (pa_stream_write(m_stream, m_pending.constData(), size_t(n), nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            fail(errorText(pa_stream_get_context(m_stream)));
            return;
        }
        m_pending.remove(0, n);
    }
    void streamReady() override { flushLocked(); }
    static void onWrite(pa_stream*, size_t, void* self) { static_cast<ServerOutput*>(self)->flushLocked(); }

    int m_rate = 44100;
    qint64 m_capacity = 0;
    QByteArray m_pending;
};

// Capture: the sound system's thread takes every block the server sends, so that nothing is lost
// while the GUI thread is busy; the recorder collects them when it comes to it.
class ServerInput : public AudioInput, public StreamBase
{
public:
    ServerInput(SoundServer& server, const QString& source, int rate, int channels)
        : StreamBase(server, source), m_rate(rate), m_channels(channels)
    {
    }
    ~ServerInput() override { close(); }

    bool start() override
    {
        Locker lock(m_server.mainloop());
        if (m_rate <= 0 || m_channels <= 0 || m_channels > int(PA_CHANNELS_MAX)) {
            fail(QStringLiteral("%1 Hz with %2 channels cannot be recorded").arg(m_rate).arg(m_channels));
            return false;
        }
        m_startNs = SoundServer::nowNs();
        m_server.add(this);
        return !m_broken;
    }

    void contextReady(pa_context* context) override
    {
        if (m_stream || m_broken)
            return;
        const pa_sample_spec spec {PA_SAMPLE_S16LE, uint32_t(m_rate), uint8_t(m_channels)};
        if (!pa_sample_spec_valid(&spec)) {
            fail(QStringLiteral("%1 Hz with %2 channels cannot be recorded").arg(m_rate).arg(m_channels));
            return;
        }
        m_stream = pa_stream_new(context, "recording", &spec, nullptr);
        if (!m_stream) {
            fail(errorText(context));
            return;
        }
        pa_stream_set_state_callback(m_stream, &StreamBase::onState, static_cast<StreamBase*>(this));
        pa_stream_set_read_callback(m_stream, &ServerInput::onRead, this);
        pa_buffer_attr attr;
        attr.maxlength = uint32_t(-1);
        attr.tlength = attr.prebuf = attr.minreq = uint32_t(-1);
        attr.fragsize = uint32_t(m_rate / 100 * m_channels * 2);  // blocks of 10 ms
        const int flags = PA_STREAM_ADJUST_LATENCY | (m_corked ? PA_STREAM_START_CORKED : 0);
        if (pa_stream_connect_record(m_stream, device(), &attr, pa_stream_flags_t(flags)) < 0)
            fail(errorText(context));
    }

    void read(QByteArray& out) override
    {
        Locker lock(m_server.mainloop());
        out.append(m_captured);
        m_captured.clear();
    }

    void suspend() override { setCorked(true); }
    void resume() override { setCorked(false); }

    QString errorString() const override
    {
        Locker lock(m_server.mainloop());
        if (m_broken)
            return m_error;
        if (!m_ready && SoundServer::nowNs() - m_startNs > SoundServer::connectTimeoutNs)
            return QStringLiteral("the sound server does not answer");
        return QString();
    }

private:
    static void onRead(pa_stream* stream, size_t, void* self)
    {
        auto* s = static_cast<ServerInput*>(self);
        const void* data = nullptr;
        size_t n = 0;
        while (pa_stream_peek(stream, &data, &n) == 0 && n > 0) {
            // A hole (no data) is silence of that length.
            if (data)
                s->m_captured.append(static_cast<const char*>(data), int(n));
            else
                s->m_captured.append(QByteArray(int(n), '\0'));
            pa_stream_drop(stream);
        }
        // Nobody has collected for a minute: rather than fill the memory, stop.
        if (s->m_captured.size() > qint64(s->m_rate) * s->m_channels * 2 * 60) {
            s->fail(QStringLiteral("the recording was not collected in time"));
            s->m_captured.clear();
            closeStream(s->m_stream);
        }
    }

    int m_rate;
    int m_channels;
    QByteArray m_captured;
};

} // namespace

SoundServer& SoundServer::instance()
{
    static SoundServer server;
    return server;
}

qint64 SoundServer::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SoundServer::SoundServer()
{
    m_loop = pa_threaded_mainloop_new();
    if (m_loop && pa_threaded_mainloop_start(m_loop) < 0) {
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
    }
}

SoundServer::~SoundServer()
{
    if (!m_loop)
        return;
    {
        Locker lock(m_loop);
        dropContextLocked();
    }
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
}

void SoundServer::dropContextLocked()
{
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
}

pa_context* SoundServer::readyContext() const
{
    return m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY ? m_context : nullptr;
}

void SoundServer::connect()
{
    if (!m_loop)
        return;
    Locker lock(m_loop);
    connectLocked();
}

void SoundServer::connectLocked()
{
    if (m_context) {
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (state == PA_CONTEXT_READY)
            return;
        if (PA_CONTEXT_IS_GOOD(state) && nowNs() - m_connectStartNs < connectTimeoutNs)
            return;
        // Failed, or no answer in time: whoever waited for this connection waits no longer.
        if (PA_CONTEXT_IS_GOOD(state)) {
            for (ServerStream* s : m_streams)
                s->contextLost(QStringLiteral("the sound server does not answer"));
        }
        dropContextLocked();
    }
    const QByteArray name = QCoreApplication::applicationName().toUtf8();
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), name.isEmpty() ? "sound" : name.constData());
    if (!m_context)
        return;
    m_connectStartNs = nowNs();
    pa_context_set_state_callback(m_context, &SoundServer::onContextState, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        for (ServerStream* s : m_streams)
            s->contextLost(errorText(m_context));
    }
}

void SoundServer::onContextState(pa_context* context, void* self)
{
    auto* server = static_cast<SoundServer*>(self);
    if (context != server->m_context)
        return;
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY: {
        if (pa_operation* op = pa_context_get_server_info(
                context,
                [](pa_context*, const pa_server_info* info, void* s) {
                    if (info && info->default_source_name)
                        static_cast<SoundServer*>(s)->m_defaultSource = QString::fromUtf8(info->default_source_name);
                },
                server))
            pa_operation_unref(op);
        const std::vector<ServerStream*> waiting = server->m_streams;
        for (ServerStream* s : waiting)
            s->contextReady(context);
        break;
    }
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED: {
        const QString why = errorText(context);
        for (ServerStream* s : server->m_streams)
            s->contextLost(why);
        break;
    }
    default:
        break;
    }
}

void SoundServer::add(ServerStream* stream)
{
    m_streams.push_back(stream);
    connectLocked();
    if (pa_context* context = readyContext())
        stream->contextReady(context);
}

void SoundServer::remove(ServerStream* stream)
{
    m_streams.erase(std::remove(m_streams.begin(), m_streams.end(), stream), m_streams.end());
}

QString SoundServer::defaultSourceName()
{
    if (!m_loop)
        return QString();
    Locker lock(m_loop);
    connectLocked();
    return m_defaultSource;
}

namespace {

// Without a sound system at all: streams that are broken from the start.
class NoOutput : public AudioOutput
{
public:
    bool start(int) override { return false; }
    qint64 bytesFree() const override { return 0; }
    qint64 bytesQueued() const override { return 0; }
    qint64 write(const char*, qint64) override { return 0; }
    void suspend() override {}
    void resume() override {}
    bool isBroken() const override { return true; }
};

class NoInput : public AudioInput
{
public:
    bool start() override { return false; }
    void read(QByteArray&) override {}
    void suspend() override {}
    void resume() override {}
    QString errorString() const override { return QStringLiteral("there is no sound system"); }
};

} // namespace

std::unique_ptr<AudioOutput> SoundServer::createOutput(const QString& sink)
{
    if (!m_loop)
        return std::make_unique<NoOutput>();
    return std::make_unique<ServerOutput>(*this, sink);
}

std::unique_ptr<AudioInput> SoundServer::createInput(const QString& source, int sampleRate, int channels)
{
    if (!m_loop)
        return std::make_unique<NoInput>();
    return std::make_unique<ServerInput>(*this, source, sampleRate, channels);
}

} // namespace QMMultiMedia
