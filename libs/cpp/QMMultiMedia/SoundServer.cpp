#include "QMMultiMedia/SoundServer.h"

#include "QMMultiMedia/StreamLog.h"

#include <QCoreApplication>

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <sys/eventfd.h>
#include <sys/time.h>
#include <sys/timerfd.h>
#include <unistd.h>

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

const QString noAnswer = QStringLiteral("the sound server does not answer");

// Leaves the server: a stream that is up is disconnected; one still being made (the server refuses
// to disconnect it yet) is disconnected once it is up. Nothing of its owner is called after this.
void closeStream(pa_stream*& stream)
{
    if (!stream)
        return;
    pa_stream_set_state_callback(
        stream,
        [](pa_stream* s, void*) {
            if (pa_stream_get_state(s) == PA_STREAM_READY)
                pa_stream_disconnect(s);
        },
        nullptr);
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    pa_stream_set_read_callback(stream, nullptr, nullptr);
    pa_stream_set_latency_update_callback(stream, nullptr, nullptr);
    pa_stream_set_underflow_callback(stream, nullptr, nullptr);
    pa_stream_set_moved_callback(stream, nullptr, nullptr);
    if (pa_stream_get_state(stream) == PA_STREAM_READY)
        pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    stream = nullptr;
}

// Questions to the server whose answers call back into their owner: cancelled when the owner no
// longer wants them (or goes), so that no answer reaches it afterwards.
class Operations
{
public:
    Operations() = default;
    ~Operations() { cancel(); }
    Operations(const Operations&) = delete;
    Operations& operator=(const Operations&) = delete;

    // Keeps an operation (null: none was sent); those answered already are let go.
    void add(pa_operation* op)
    {
        if (!op)
            return;
        m_ops.erase(std::remove_if(m_ops.begin(), m_ops.end(),
                                   [](pa_operation* o) {
                                       if (pa_operation_get_state(o) == PA_OPERATION_RUNNING)
                                           return false;
                                       pa_operation_unref(o);
                                       return true;
                                   }),
                    m_ops.end());
        m_ops.push_back(op);
    }
    void cancel()
    {
        for (pa_operation* o : m_ops) {
            if (pa_operation_get_state(o) == PA_OPERATION_RUNNING)
                pa_operation_cancel(o);
            pa_operation_unref(o);
        }
        m_ops.clear();
    }

private:
    std::vector<pa_operation*> m_ops;
};

void cork(pa_stream* stream, bool on)
{
    if (stream && pa_stream_get_state(stream) == PA_STREAM_READY) {
        if (pa_operation* op = pa_stream_cork(stream, on ? 1 : 0, nullptr, nullptr))
            pa_operation_unref(op);
    }
}

// A file descriptor the sound system's thread watches, calling back when it is readable.
class Watch
{
public:
    Watch(pa_threaded_mainloop* loop, int fd, void (*callback)(void*), void* data)
        : m_loop(loop), m_fd(fd), m_callback(callback), m_data(data)
    {
        if (m_fd >= 0) {
            pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
            m_event = api->io_new(api, m_fd, PA_IO_EVENT_INPUT, &Watch::onReadable, this);
        }
    }
    ~Watch()
    {
        if (m_event)
            pa_threaded_mainloop_get_api(m_loop)->io_free(m_event);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    int fd() const { return m_fd; }

private:
    static void onReadable(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self)
    {
        quint64 count = 0;
        if (::read(fd, &count, sizeof count) < 0) {
            // Nothing to take (another wake-up took it): nothing to do.
        }
        auto* w = static_cast<Watch*>(self);
        w->m_callback(w->m_data);
    }

    pa_threaded_mainloop* m_loop;
    int m_fd;
    void (*m_callback)(void*);
    void* m_data;
    pa_io_event* m_event = nullptr;
};

// What the streams share: the server, the lock, the state of the stream and why it broke.
class StreamBase : public ServerStream
{
public:
    StreamBase(SoundServer& server, const QString& device) : m_server(server), m_device(device.toUtf8()) {}

    qint64 waitingSinceNs() const override { return m_stream && !m_ready ? m_startNs : 0; }

protected:
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
            s->streamFailed(errorText(pa_stream_get_context(stream)));
            break;
        default:
            break;
        }
    }
    virtual void streamReady() {}
    virtual void streamFailed(const QString& why) { fail(why); }

    SoundServer& m_server;
    QByteArray m_device;
    pa_stream* m_stream = nullptr;
    bool m_ready = false;
    bool m_broken = false;
    bool m_corked = false;
    qint64 m_startNs = 0;
    QString m_error;
};

// Plays an engine's mix: one stream, opened while the engine has something to play and closed a
// while after the last sound, written on this thread whenever the engine changes and as time goes
// on. The stream starts corked, so that its first frame is the engine's next one, and never waits
// to fill (no pre-buffering): its frames keep their time whatever happens, and what comes too late
// is skipped. It asks for a short latency, so that the server reads only a little ahead of the
// frame being heard, in small blocks; the engine writes well beyond that.
//
// A stream the server ends while the connection lasts (its sink went with no other to take it, or
// the server killed it) is opened again once the server has a sink for it: asked when the stream
// ends and whenever the server's sinks change. Streams are opened at most once every two seconds,
// as connections are. A stream the server moves to another sink plays on there.
class ServerOutput : public AudioOutput, public StreamBase, private StreamPort
{
public:
    ServerOutput(SoundServer& server, const QString& sink, AudioEngine& engine)
        : StreamBase(server, sink), m_engine(engine)
    {
        Locker lock(m_server.mainloop());
        m_wake = std::make_unique<Watch>(m_server.mainloop(), eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC),
                                         [](void* self) { static_cast<ServerOutput*>(self)->service(); }, this);
    }
    ~ServerOutput() override
    {
        Locker lock(m_server.mainloop());
        m_wake.reset();
        leave();
    }

    void wake() override
    {
        qint64 none = 0;
        m_wokenNs.compare_exchange_strong(none, SoundServer::nowNs());
        const quint64 one = 1;
        if (::write(m_wake->fd(), &one, sizeof one) < 0) {
            // The counter is full: a wake-up is pending anyway.
        }
    }

    void contextReady(pa_context* context) override
    {
        if (m_stream || !m_engine.wantsStream())
            return;
        const pa_sample_spec spec {PA_SAMPLE_FLOAT32NE, uint32_t(AudioEngine::rate), 2};
        m_stream = pa_stream_new(context, "sound", &spec, nullptr);
        if (!m_stream)
            return;
        m_ready = false;
        m_startNs = SoundServer::nowNs();
        pa_stream_set_state_callback(m_stream, &StreamBase::onState, static_cast<StreamBase*>(this));
        pa_stream_set_write_callback(m_stream, [](pa_stream*, size_t, void* self) { static_cast<ServerOutput*>(self)->service(); }, this);
        pa_stream_set_underflow_callback(m_stream, &ServerOutput::onUnderflow, this);
        pa_stream_set_moved_callback(m_stream, [](pa_stream*, void* self) { static_cast<ServerOutput*>(self)->moved(); }, this);
        // The latency asked for is what the server reads ahead (PulseAudio: the sink's buffer;
        // PipeWire: its graph's block, which it then keeps small for every stream while this one
        // is open): half of what the stream buffer holds beyond twice the request size. Requests
        // for more are asked to be large, so that the server seldom sends them: the engine writes
        // well ahead on its own.
        const qint64 latency = m_server.isPipeWire() ? SoundServer::pipeWireLatencyFrames : SoundServer::latencyFrames;
        pa_buffer_attr attr;
        attr.maxlength = uint32_t(-1);
        attr.tlength = uint32_t((2 * latency + 2 * requestFrames) * frameBytes);
        attr.prebuf = 0;
        attr.minreq = uint32_t(requestFrames * frameBytes);
        attr.fragsize = uint32_t(-1);
        const auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
        if (pa_stream_connect_playback(m_stream, device(), &attr, flags, nullptr, nullptr) < 0)
            dropStream();
    }

    void contextLost(const QString&) override { dropStream(); }
    void tick() override { service(); }
    void sinksChanged() override
    {
        m_sinksChanged = true;
        reopen();
    }

private:
    static constexpr qint64 frameBytes = 2 * sizeof(float);
    // A new stream's clock is asked for this often at first (at uneven times around it), until
    // it has answered this many times, so that how far ahead the server reads is soon known, and
    // where the line runs: the latest moment a server that reads in blocks has just read one. A
    // hundred answers falling anywhere in the blocks find it to about a hundredth of a block (0.5 ms
    // in PipeWire's largest, of 2048 frames) within 0.4 s, before the first beats are written for
    // good; forty answers 7 ms apart left them 0.9 ms off in blocks of 941 frames. Then about every
    // tenth of a second, at uneven times, so that the answers fall at every point of a block.
    static constexpr pa_usec_t firstReportsUsec = 4'000;
    // How much the server is asked to request at a time, and how soon the rest of a change follows
    // its first stretch.
    static constexpr qint64 requestFrames = AudioEngine::rate / 50;
    static constexpr pa_usec_t resumeUsec = 1'000;
    static constexpr int firstReports = 100;
    static constexpr pa_usec_t reportsUsec = 100'000;
    // How long before the server is taken to read a block the report that comes just before one is
    // asked for. While the line runs where it should, the report falls before the read; when the
    // line runs lower than that (the highest report it ran over was old and is let go, say), the
    // report falls after the read, lies above the line and lifts it. (A report just after a read
    // lies as far below the line wherever it runs, and one that falls before it when the line runs
    // high lies a block lower, as if the server had missed a block.) 0.2 ms is more than a report's
    // time is off by (some microseconds), and with the spread the line is held within 0.5 ms of
    // where it runs, half of what a beat may be off.
    static constexpr pa_usec_t beforeBlockUsec = 200;
    static constexpr pa_usec_t beforeBlockSpreadUsec = 300;

    void streamReady() override
    {
        // The first frames go in before the stream starts; its clock counts once it runs.
        if (const pa_buffer_attr* a = pa_stream_get_buffer_attr(m_stream))
            logStream("stream ready: buffer %u frames, requests of %u", unsigned(a->tlength / frameBytes),
                      unsigned(a->minreq / frameBytes));
        m_engine.streamStarted();
        while (m_engine.serve(*this)) {
        }
        m_running = false;
        m_operations.add(pa_stream_cork(
            m_stream, 0,
            [](pa_stream*, int ok, void* self) {
                auto* output = static_cast<ServerOutput*>(self);
                output->m_running = ok;
                output->askTiming();
                output->armReports();
            },
            this));
    }
    void streamFailed(const QString&) override
    {
        dropStream();
        m_sinksChanged = true;
        reopen();
    }

    // The server moved the stream to another sink (its own went, or the default sink changed):
    // the engine draws its timeline again from the new sink's clock, asked for often at first.
    void moved()
    {
        m_engine.streamMoved();
        m_reports = 0;
        askTiming();
    }

    // On the sound system's thread: open, write or close as the engine needs.
    void service()
    {
        if (!m_engine.wantsStream()) {
            leave();
            return;
        }
        if (!m_registered) {
            m_registered = true;
            m_server.add(this);
        }
        // How long this thread took to come when woken tells how busy the machine is.
        if (const qint64 woken = m_wokenNs.exchange(0))
            m_engine.noteLateness(SoundServer::nowNs() - woken);
        // The rest of a change is written a moment later, once the loop has sent what was written
        // so far, and once whoever made the change (who woke this thread, perhaps on the same
        // core) has had the core back.
        if (m_stream && m_ready && m_engine.serve(*this))
            serveIn(pa_stream_get_context(m_stream), resumeUsec);
        reopen();
    }

    // Without a stream on a connection that is up: asks the server whether a sink can take one
    // (when the stream ended, when its sinks changed, and every two seconds), and opens it when
    // one can, no sooner than two seconds after the last was opened.
    void reopen()
    {
        pa_context* context = m_server.readyContext();
        if (m_stream || !m_registered || !context || !m_engine.wantsStream())
            return;
        const qint64 now = SoundServer::nowNs();
        if (m_sinkFound) {
            if (now - m_startNs >= SoundServer::retryNs)
                contextReady(context);
            else
                serveIn(context, pa_usec_t(m_startNs + SoundServer::retryNs - now) / 1000 + 1);
            return;
        }
        if (m_askingForSink || (!m_sinksChanged && now - m_sinkAskedNs < SoundServer::retryNs))
            return;
        m_sinksChanged = false;
        m_sinkAskedNs = now;
        m_askingForSink = true;
        // A stream for no sink in particular goes to the default sink, or to any there is (the
        // server may not say which is the default for a moment after its sinks change).
        const pa_sink_info_cb_t found = [](pa_context*, const pa_sink_info* info, int end, void* self) {
            auto* output = static_cast<ServerOutput*>(self);
            if (!end && info) {
                output->m_sinkFound = true;
                return;
            }
            output->m_askingForSink = false;
            output->reopen();
        };
        m_operations.add(device() ? pa_context_get_sink_info_by_name(context, device(), found, this)
                                  : pa_context_get_sink_info_list(context, found, this));
    }

    // Serves the engine again that many microseconds from now.
    void serveIn(pa_context* context, pa_usec_t usec)
    {
        const pa_usec_t at = pa_rtclock_now() + usec;
        if (m_resumeTimer) {
            pa_context_rttime_restart(context, m_resumeTimer, at);
            return;
        }
        m_resumeTimer = pa_context_rttime_new(
            context, at, [](pa_mainloop_api*, pa_time_event*, const timeval*, void* self) { static_cast<ServerOutput*>(self)->service(); },
            this);
    }

    // Lets the stream go with everything that would call back: timers, and questions to the
    // server not answered yet.
    void dropStream()
    {
        m_operations.cancel();
        m_askingForSink = false;
        m_sinkFound = false;
        for (pa_time_event** timer : {&m_reportTimer, &m_resumeTimer}) {
            if (*timer) {
                pa_threaded_mainloop_get_api(m_server.mainloop())->time_free(*timer);
                *timer = nullptr;
            }
        }
        if (m_stream && m_ready)
            m_engine.streamStopped();
        closeStream(m_stream);
        m_ready = false;
        m_running = false;
        m_timingAsked = false;
        m_reports = 0;
    }

    void leave()
    {
        dropStream();
        if (m_registered)
            m_server.remove(this);
        m_registered = false;
    }

    void armReports()
    {
        pa_context* context = m_stream ? pa_stream_get_context(m_stream) : nullptr;
        if (!context || !m_running)
            return;
        const double phase = std::fmod(m_reports * 0.6180339887, 1.0);
        pa_usec_t at = pa_rtclock_now()
            + (m_reports < firstReports ? pa_usec_t(double(firstReportsUsec) * (0.5 + phase))
                                        : pa_usec_t(double(reportsUsec) * (0.75 + 0.5 * phase)));
        // Every other report then comes just before the server reads a block, when it reads in
        // blocks: it keeps the line up to where it runs, the others tell how steep it is.
        if (m_reports >= firstReports && m_reports % 2) {
            const qint64 now = SoundServer::nowNs();
            const qint64 block = m_engine.nextBlockNs(now + qint64(reportsUsec) * 750);
            if (block > 0)
                at = pa_rtclock_now() + pa_usec_t((block - now) / 1000) - beforeBlockUsec - pa_usec_t(phase * beforeBlockSpreadUsec);
        }
        if (m_reportTimer) {
            pa_context_rttime_restart(context, m_reportTimer, at);
            return;
        }
        m_reportTimer = pa_context_rttime_new(
            context, at,
            [](pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
                auto* output = static_cast<ServerOutput*>(self);
                output->askTiming();
                output->armReports();
            },
            this);
    }

    // The stream's clock: the frame heard when the server answered is the one it had read to,
    // less what the sink held then.
    void askTiming()
    {
        if (!m_stream || !m_running || m_timingAsked)
            return;
        if (pa_operation* op = pa_stream_update_timing_info(m_stream, &ServerOutput::onTiming, this)) {
            m_timingAsked = true;
            m_operations.add(op);
        }
    }
    static void onTiming(pa_stream* stream, int ok, void* self)
    {
        auto* output = static_cast<ServerOutput*>(self);
        output->m_timingAsked = false;
        const pa_timing_info* t = ok ? pa_stream_get_timing_info(stream) : nullptr;
        if (!t || !output->m_running)
            return;
        ++output->m_reports;
        // The server read the stream at t->timestamp, on the wall clock (its own, or the middle of
        // the question's round trip). How long ago that was comes from the wall clock too, so that
        // neither the answer's way back nor this thread's wait to take it moves the report. Should
        // the wall clock be set meanwhile, the way back is taken to be as long as the way there.
        const qint64 now = SoundServer::nowNs();
        timeval wall {};
        gettimeofday(&wall, nullptr);
        qint64 ageNs = (qint64(wall.tv_sec) - qint64(t->timestamp.tv_sec)) * 1'000'000'000
            + (qint64(wall.tv_usec) - qint64(t->timestamp.tv_usec)) * 1000;
        if (ageNs < 0 || ageNs > SoundServer::answerTimeoutNs)
            ageNs = qint64(t->transport_usec) * 1000;
        const qint64 read = t->read_index / frameBytes;
        const qint64 heldBySink = qint64(std::llround(double(t->sink_usec) * AudioEngine::rate / 1e6));
        const AudioEngine::Positions p = output->m_engine.positions();
        logStream("report: read %lld write %lld since-underrun %lld playing %d sink %lld us, answered after %.3f ms, "
                  "age %.3f ms: heard %lld; engine: heard %lld safe %lld written %lld lead %lld late %lld",
                  read, qint64(t->write_index / frameBytes), qint64(t->since_underrun / frameBytes), t->playing,
                  qint64(t->sink_usec), t->transport_usec / 1e3, ageNs / 1e6, read - heldBySink, p.heard, p.safe,
                  p.written, p.lead, p.lateness);
        output->m_engine.observe(read - heldBySink, read, now - ageNs);
        // The server took this long to come to the question: on a machine that busy, a write
        // reaches it as late.
        output->m_engine.noteLateness(qint64(t->transport_usec) * 1000);
        // What the report moved is written again at once.
        output->service();
    }

    static void onUnderflow(pa_stream* stream, void* self)
    {
        auto* output = static_cast<ServerOutput*>(self);
        output->m_engine.noteUnderflow();
        const pa_timing_info* t = pa_stream_get_timing_info(stream);
        const AudioEngine::Positions p = output->m_engine.positions();
        logStream("underflow: engine: heard %lld safe %lld written %lld lead %lld late %lld; last report: read %lld write %lld",
                  p.heard, p.safe, p.written, p.lead, p.lateness, t ? qint64(t->read_index / frameBytes) : -1,
                  t ? qint64(t->write_index / frameBytes) : -1);
    }

    bool write(qint64 streamFrame, const float* frames, qint64 count) override
    {
        logStream("write %lld..%lld", streamFrame, streamFrame + count);
        if (streamFrame < 0) {
            frames += -streamFrame * 2;
            count += streamFrame;
            streamFrame = 0;
        }
        return count <= 0
            || pa_stream_write(m_stream, frames, size_t(count * frameBytes), nullptr, streamFrame * frameBytes,
                               PA_SEEK_ABSOLUTE)
            == 0;
    }

    AudioEngine& m_engine;
    std::unique_ptr<Watch> m_wake;
    pa_time_event* m_reportTimer = nullptr;
    pa_time_event* m_resumeTimer = nullptr;
    std::atomic<qint64> m_wokenNs {0};  // when the thread was woken and has not come yet
    Operations m_operations;
    bool m_registered = false;
    bool m_running = false;
    bool m_timingAsked = false;
    int m_reports = 0;
    // Looking for a sink for a stream the server ended.
    bool m_sinksChanged = false;  // the sinks changed, or the stream ended, since the last question
    bool m_askingForSink = false;
    qint64 m_sinkAskedNs = 0;
    bool m_sinkFound = false;     // the server said a sink can take a stream
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
    ~ServerInput() override
    {
        Locker lock(m_server.mainloop());
        m_server.remove(this);
        closeStream(m_stream);
    }

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
        m_startNs = SoundServer::nowNs();
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

    void contextLost(const QString& why) override
    {
        fail(why);
        closeStream(m_stream);
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
            return noAnswer;
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
    if (!m_loop)
        return;
    // Set up before the sound system's thread runs: nothing to wait for.
    m_tickFd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_tickFd >= 0) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
        m_tickEvent = api->io_new(
            api, m_tickFd, PA_IO_EVENT_INPUT,
            [](pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
                quint64 expired = 0;
                if (::read(fd, &expired, sizeof expired) > 0)
                    static_cast<SoundServer*>(self)->tickLocked();
            },
            this);
    }
    if (pa_threaded_mainloop_start(m_loop) < 0) {
        if (m_tickEvent)
            pa_threaded_mainloop_get_api(m_loop)->io_free(m_tickEvent);
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
        return;
    }
    // The sound system's thread ends with the application object, before what was set up around
    // it (the environment, say) is taken down.
    if (QCoreApplication::instance())
        qAddPostRoutine([] { instance().stopLoop(); });
}

SoundServer::~SoundServer()
{
    if (!m_loop)
        return;
    stopLoop();
    {
        Locker lock(m_loop);
        if (m_tickEvent)
            pa_threaded_mainloop_get_api(m_loop)->io_free(m_tickEvent);
    }
    pa_threaded_mainloop_free(m_loop);
    if (m_tickFd >= 0)
        ::close(m_tickFd);
}

void SoundServer::stopLoop()
{
    {
        Locker lock(m_loop);
        const std::vector<ServerStream*> streams = m_streams;
        for (ServerStream* s : streams)
            s->contextLost(QStringLiteral("the application has ended"));
        dropContextLocked();
        m_streams.clear();
        armTicks(false);
    }
    pa_threaded_mainloop_stop(m_loop);
}

void SoundServer::dropContextLocked()
{
    m_questionSentNs = 0;
    m_known = false;
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
}

pa_context* SoundServer::readyContext() const
{
    return m_context && m_known && pa_context_get_state(m_context) == PA_CONTEXT_READY ? m_context : nullptr;
}

void SoundServer::replaceLocked(const QString& why)
{
    // Our socket closes: whatever of ours the server holds goes once it reads that.
    const std::vector<ServerStream*> streams = m_streams;
    for (ServerStream* s : streams)
        s->contextLost(why);
    dropContextLocked();
    if (!m_streams.empty())
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
            replaceLocked(noAnswer);
            return;
        }
        dropContextLocked();
    }
    // However many sounds are asked for meanwhile, a server that is not there is tried again only
    // every so often.
    if (m_connections > 0 && nowNs() - m_connectStartNs < retryNs)
        return;
    const QByteArray name = QCoreApplication::applicationName().toUtf8();
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), name.isEmpty() ? "sound" : name.constData());
    if (!m_context)
        return;
    ++m_connections;
    m_connectStartNs = nowNs();
    pa_context_set_state_callback(m_context, &SoundServer::onContextState, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        const QString why = errorText(m_context);
        m_failure = why;
        const std::vector<ServerStream*> streams = m_streams;
        for (ServerStream* s : streams)
            s->contextLost(why);
    }
}

void SoundServer::onContextState(pa_context* context, void* self)
{
    auto* server = static_cast<SoundServer*>(self);
    if (context != server->m_context)
        return;
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        // Streams are made once the server has said what it is: how a stream is best asked for
        // depends on it.
        if (pa_operation* op = pa_context_get_server_info(
                context,
                [](pa_context* c, const pa_server_info* info, void* s) {
                    auto* server = static_cast<SoundServer*>(s);
                    if (c != server->m_context)
                        return;
                    if (info && info->default_source_name)
                        server->m_defaultSource = QString::fromUtf8(info->default_source_name);
                    server->m_pipeWire = info && info->server_name
                        && QString::fromUtf8(info->server_name).contains(QLatin1String("PipeWire"));
                    server->m_known = true;
                    server->m_failure.clear();
                    const std::vector<ServerStream*> waiting = server->m_streams;
                    for (ServerStream* stream : waiting)
                        stream->contextReady(c);
                },
                server))
            pa_operation_unref(op);
        // Sinks that come, and a new default sink, may take a stream that lost its own.
        pa_context_set_subscribe_callback(
            context,
            [](pa_context* c, pa_subscription_event_type_t type, uint32_t, void* s) {
                static_cast<SoundServer*>(s)->eventLocked(c, int(type));
            },
            server);
        if (pa_operation* op = pa_context_subscribe(
                context, pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER), nullptr, nullptr))
            pa_operation_unref(op);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED: {
        const QString why = errorText(context);
        server->m_failure = why;
        const std::vector<ServerStream*> streams = server->m_streams;
        for (ServerStream* s : streams)
            s->contextLost(why);
        break;
    }
    default:
        break;
    }
}

void SoundServer::eventLocked(pa_context* context, int type)
{
    const int facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    const int kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    if (context != m_context
        || !((facility == PA_SUBSCRIPTION_EVENT_SINK && kind == PA_SUBSCRIPTION_EVENT_NEW)
             || facility == PA_SUBSCRIPTION_EVENT_SERVER))
        return;
    const std::vector<ServerStream*> streams = m_streams;
    for (ServerStream* s : streams) {
        if (std::find(m_streams.begin(), m_streams.end(), s) != m_streams.end())
            s->sinksChanged();
    }
}

void SoundServer::tickLocked()
{
    if (m_streams.empty())
        return;
    connectLocked();
    if (pa_context* context = readyContext()) {
        const qint64 now = nowNs();
        bool frozen = m_questionSentNs && now - m_questionSentNs > answerTimeoutNs;
        for (ServerStream* s : m_streams)
            frozen = frozen || (s->waitingSinceNs() && now - s->waitingSinceNs() > answerTimeoutNs);
        if (frozen) {
            replaceLocked(noAnswer);
            return;
        }
        if (!m_questionSentNs) {
            m_questionSentNs = now;
            if (pa_operation* op = pa_context_get_server_info(
                    context,
                    [](pa_context* c, const pa_server_info*, void* s) {
                        auto* server = static_cast<SoundServer*>(s);
                        if (c == server->m_context)
                            server->m_questionSentNs = 0;
                    },
                    this))
                pa_operation_unref(op);
        }
    }
    const std::vector<ServerStream*> streams = m_streams;
    for (ServerStream* s : streams) {
        if (std::find(m_streams.begin(), m_streams.end(), s) != m_streams.end())
            s->tick();
    }
}

void SoundServer::armTicks(bool on)
{
    if (m_tickFd < 0 || on == m_ticking)
        return;
    m_ticking = on;
    itimerspec spec {};
    if (on) {
        spec.it_interval.tv_nsec = long(tickNs);
        spec.it_value.tv_nsec = long(tickNs);
    }
    timerfd_settime(m_tickFd, 0, &spec, nullptr);
}

void SoundServer::add(ServerStream* stream)
{
    m_streams.push_back(stream);
    armTicks(true);
    connectLocked();
    if (pa_context* context = readyContext())
        stream->contextReady(context);
    else if (!m_failure.isEmpty() && !(m_context && PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context))))
        // The server was not there a moment ago, and is not tried again yet.
        stream->contextLost(m_failure);
}

void SoundServer::remove(ServerStream* stream)
{
    m_streams.erase(std::remove(m_streams.begin(), m_streams.end(), stream), m_streams.end());
    if (m_streams.empty()) {
        armTicks(false);
        m_questionSentNs = 0;
    }
}

QString SoundServer::defaultSourceName()
{
    if (!m_loop)
        return QString();
    Locker lock(m_loop);
    connectLocked();
    return m_defaultSource;
}

int SoundServer::connectionsMade()
{
    if (!m_loop)
        return 0;
    Locker lock(m_loop);
    return m_connections;
}

namespace {

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

std::unique_ptr<AudioOutput> SoundServer::createOutput(const QString& sink, AudioEngine& engine)
{
    if (!m_loop)
        return nullptr;
    return std::make_unique<ServerOutput>(*this, sink, engine);
}

std::unique_ptr<AudioInput> SoundServer::createInput(const QString& source, int sampleRate, int channels)
{
    if (!m_loop)
        return std::make_unique<NoInput>();
    return std::make_unique<ServerInput>(*this, source, sampleRate, channels);
}

} // namespace QMMultiMedia
