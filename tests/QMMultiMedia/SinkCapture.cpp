#include "SinkCapture.h"

#include "QMMultiMedia/SoundServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace TestAudio {

// Reads a pipe sink's pipe on a thread of its own, at the real pace, as a sound card takes its
// frames: every 2 ms, the frames due since it began. It begins once the pipe is half full; frames
// due when the pipe has run dry are silence, and it begins again once the pipe is half full again,
// as a card that ran out of sound. What it reads goes to the one capture attached, if any.
class PipeReader
{
public:
    struct Read { qint64 ns; qint64 frames; };

    explicit PipeReader(int fd)
        : m_fd(fd)
    {
        m_primeFrames = qMax(1, ::fcntl(fd, F_GETPIPE_SZ)) / 8 / 2;
        m_thread = std::thread([this] { run(); });
    }
    ~PipeReader()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    void attach(bool on)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_attached = on;
        m_samples.clear();
        m_reads.clear();
    }
    // Moves what was read since the last call to the end of `samples`, with each read: the time its
    // last frame was taken and how many frames it took.
    void take(std::vector<float>& samples, std::vector<Read>& reads)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        samples.insert(samples.end(), m_samples.begin(), m_samples.end());
        reads.insert(reads.end(), m_reads.begin(), m_reads.end());
        m_samples.clear();
        m_reads.clear();
    }

private:
    void run()
    {
        const qint64 t0 = SinkCapture::nowNs();
        qint64 taken = 0;
        bool priming = true;
        std::vector<float> block;
        timespec next {};
        clock_gettime(CLOCK_MONOTONIC, &next);
        while (!m_stop) {
            next.tv_nsec += 2'000'000;
            if (next.tv_nsec >= 1'000'000'000) {
                next.tv_nsec -= 1'000'000'000;
                ++next.tv_sec;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
            const qint64 now = SinkCapture::nowNs();
            const qint64 due = qint64(double(now - t0) * SinkCapture::rate / 1e9);
            const qint64 want = due - taken;
            if (want <= 0)
                continue;
            int bytes = 0;
            if (::ioctl(m_fd, FIONREAD, &bytes) < 0)
                bytes = 0;
            const qint64 have = bytes / 8;
            if (priming && have >= m_primeFrames)
                priming = false;
            block.assign(size_t(2 * want), 0.0f);
            if (!priming) {
                const qint64 got = qMin(want, have);
                char* to = reinterpret_cast<char*>(block.data());
                qint64 left = got * 8;
                while (left > 0) {
                    const ssize_t n = ::read(m_fd, to, size_t(left));
                    if (n <= 0)
                        break;
                    to += n;
                    left -= n;
                }
                if (got < want)
                    priming = true;
            }
            taken = due;
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_attached) {
                m_samples.insert(m_samples.end(), block.begin(), block.end());
                m_reads.push_back({now, want});
            }
        }
    }

    int m_fd;
    qint64 m_primeFrames = 0;
    std::atomic<bool> m_stop {false};
    std::mutex m_mutex;
    bool m_attached = false;
    std::vector<float> m_samples;
    std::vector<Read> m_reads;
    std::thread m_thread;
};

SinkCapture::SinkCapture(QObject* parent)
    : QObject(parent)
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &SinkCapture::readMore);
    connect(&m_pipeTimer, &QTimer::timeout, this, &SinkCapture::takeFromPipe);
}

SinkCapture::~SinkCapture()
{
    stop();
}

qint64 SinkCapture::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString SinkCapture::pactl(const QStringList& args, bool* ok)
{
    QProcess p;
    p.start(QStringLiteral("pactl"), args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(1000);
    }
    const bool done = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (ok)
        *ok = done;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QVector<int> SinkCapture::streamsOf(qint64 pid, bool* ok)
{
    const QString all = pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")}, ok);
    QVector<int> found;
    const QString mark = QStringLiteral("application.process.id = \"%1\"").arg(pid);
    for (const QString& block : all.split(QStringLiteral("Sink Input #"), Qt::SkipEmptyParts)) {
        if (block.contains(mark))
            found.append(block.section(QLatin1Char('\n'), 0, 0).trimmed().toInt());
    }
    return found;
}

bool SinkCapture::killStream(int index)
{
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "tonarix-test");
    struct Outcome
    {
        int index;
        int done = 0;  // 1: killed, -1: failed
    } outcome {index};
    pa_context_set_state_callback(
        context,
        [](pa_context* c, void* data) {
            auto* o = static_cast<Outcome*>(data);
            const pa_context_state_t state = pa_context_get_state(c);
            if (state == PA_CONTEXT_READY) {
                pa_operation* op = pa_context_kill_sink_input(
                    c, uint32_t(o->index), [](pa_context*, int ok, void* d) { static_cast<Outcome*>(d)->done = ok ? 1 : -1; }, o);
                if (op)
                    pa_operation_unref(op);
                else
                    o->done = -1;
            } else if (!PA_CONTEXT_IS_GOOD(state)) {
                o->done = -1;
            }
        },
        &outcome);
    QElapsedTimer t;
    t.start();
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        while (!outcome.done && t.elapsed() < 5000) {
            if (pa_mainloop_iterate(loop, 0, nullptr) == 0)
                QThread::msleep(1);
        }
    }
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    pa_context_unref(context);
    pa_mainloop_free(loop);
    return outcome.done == 1;
}

bool SinkCapture::serverAnswers()
{
    bool ok = false;
    pactl({QStringLiteral("info")}, &ok);
    return ok;
}

QString SinkCapture::serverMissing()
{
    const QString chosen = TestSupport::chosenSoundServerMissing();
    if (!chosen.isEmpty())
        return chosen;
    bool ok = false;
    const QString info = pactl({QStringLiteral("info")}, &ok);
    if (!ok)
        return QStringLiteral("no sound server answers");
    const QString choice = qEnvironmentVariable("TONARIX_SOUND_SERVER");
    const bool pipewire = info.contains(QStringLiteral("on PipeWire"));
    if (choice == QLatin1String("pipewire") && !pipewire)
        return QStringLiteral("the server TONARIX_PIPEWIRE_SERVER names is not PipeWire");
    if (choice == QLatin1String("pulseaudio") && pipewire)
        return QStringLiteral("the server TONARIX_PULSEAUDIO_SERVER names is PipeWire");
    return {};
}

bool SinkCapture::start(const QString& source, int latencyMs)
{
    stop();
    m_samples.clear();
    m_arrivals.clear();
    m_partial.clear();
    m_bySinkClock = latencyMs >= largeLatencyMs;
    m_process.start(QStringLiteral("parec"),
                    {QStringLiteral("--raw"), QStringLiteral("--format=float32le"),
                     QStringLiteral("--rate=%1").arg(rate), QStringLiteral("--channels=2"),
                     QStringLiteral("--latency-msec=%1").arg(latencyMs), QStringLiteral("--device=") + source});
    if (!m_process.waitForStarted(5000))
        return false;
    // Wait until samples flow steadily.
    return waitForFrames(rate / 10, 5000);
}

bool SinkCapture::start(const PrivateSink& sink)
{
    if (!sink.m_reader)
        return start(sink.monitorName(), sink.keepsAlive() ? 5 : largeLatencyMs);
    stop();
    m_samples.clear();
    m_arrivals.clear();
    m_bySinkClock = false;
    m_pipe = sink.m_reader;
    m_pipe->attach(true);
    m_pipeTimer.start(5);
    return waitForFrames(rate / 10, 5000);
}

void SinkCapture::stop()
{
    if (m_pipe) {
        takeFromPipe();
        m_pipeTimer.stop();
        m_pipe->attach(false);
        m_pipe.reset();
    }
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(2000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

void SinkCapture::takeFromPipe()
{
    if (!m_pipe)
        return;
    std::vector<float> samples;
    std::vector<PipeReader::Read> reads;
    m_pipe->take(samples, reads);
    qint64 end = frames();
    m_samples.insert(m_samples.end(), samples.begin(), samples.end());
    for (const PipeReader::Read& r : reads) {
        end += r.frames;
        m_arrivals.append({r.ns, end});
    }
}

void SinkCapture::readMore()
{
    m_partial += m_process.readAllStandardOutput();
    const int whole = m_partial.size() / 8 * 8;
    if (whole == 0)
        return;
    const size_t old = m_samples.size();
    m_samples.resize(old + size_t(whole / 4));
    std::memcpy(m_samples.data() + old, m_partial.constData(), size_t(whole));
    m_partial.remove(0, whole);
    m_arrivals.append({nowNs(), frames()});
}

qint64 SinkCapture::timeOfFrame(qint64 frame) const
{
    if (m_bySinkClock) {
        // Arrivals a second after the frame still tell its time; later ones may come after a
        // pause of the sink.
        double best = std::numeric_limits<double>::infinity();
        for (const Arrival& a : m_arrivals) {
            if (a.frames <= frame)
                continue;
            if (a.frames > frame + rate && !std::isinf(best))
                break;
            best = qMin(best, double(a.ns) - double(a.frames - frame) * 1e9 / rate);
        }
        if (!std::isinf(best))
            return qint64(best);
    }
    // The chunk that brought the frame arrived when its last frame had just been played.
    for (const Arrival& a : m_arrivals) {
        if (a.frames > frame)
            return a.ns - qint64(double(a.frames - frame) * 1e9 / rate);
    }
    return m_arrivals.isEmpty() ? 0 : m_arrivals.last().ns;
}

bool SinkCapture::sinkClock(qint64 from, qint64 to, double* a, double* b) const
{
    // The last frame of each block had just been played when the block arrived, at the earliest:
    // a block arrives late by any amount when the machine is busy, never early. So the clock is the
    // line under the arrivals, through the earliest of the first quarter of the frames and the
    // earliest of the last quarter (earliest against the nominal rate), moved down onto the
    // earliest arrival of all. A straight fit through every arrival would follow the bursts in
    // which late blocks come.
    const double nominal = 1e9 / rate;
    const qint64 quarter = (to - from) / 4;
    int n = 0;
    bool have1 = false, have2 = false;
    double f1 = 0, t1 = 0, f2 = 0, t2 = 0;
    for (const Arrival& r : m_arrivals) {
        if (r.frames <= from || r.frames > to)
            continue;
        ++n;
        const double f = double(r.frames);
        const double t = double(r.ns);
        if (r.frames <= from + quarter && (!have1 || t - nominal * f < t1 - nominal * f1)) {
            f1 = f;
            t1 = t;
            have1 = true;
        }
        if (r.frames > to - quarter && (!have2 || t - nominal * f < t2 - nominal * f2)) {
            f2 = f;
            t2 = t;
            have2 = true;
        }
    }
    if (n < 10 || !have1 || !have2 || f2 <= f1)
        return false;
    *b = (t2 - t1) / (f2 - f1);
    *a = t1 - *b * f1;
    double earliest = 0;
    for (const Arrival& r : m_arrivals) {
        if (r.frames > from && r.frames <= to)
            earliest = qMin(earliest, double(r.ns) - (*a + *b * double(r.frames)));
    }
    *a += earliest;
    return true;
}

qint64 SinkCapture::arrivalOfFrame(qint64 frame) const
{
    for (const Arrival& a : m_arrivals) {
        if (a.frames > frame)
            return a.ns;
    }
    return m_arrivals.isEmpty() ? 0 : m_arrivals.last().ns;
}

qint64 SinkCapture::firstLoudFrame(qint64 from, float threshold) const
{
    for (qint64 f = qMax<qint64>(0, from); f < frames(); ++f) {
        if (std::fabs(m_samples[size_t(2 * f)]) > threshold || std::fabs(m_samples[size_t(2 * f + 1)]) > threshold)
            return f;
    }
    return -1;
}

qint64 SinkCapture::lastLoudFrame(qint64 from, float threshold) const
{
    for (qint64 f = frames() - 1; f >= qMax<qint64>(0, from); --f) {
        if (std::fabs(m_samples[size_t(2 * f)]) > threshold || std::fabs(m_samples[size_t(2 * f + 1)]) > threshold)
            return f;
    }
    return -1;
}

bool SinkCapture::waitForFrames(qint64 frame, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (frames() < frame) {
        if (t.elapsed() > timeoutMs || (!m_pipe && m_process.state() == QProcess::NotRunning))
            return false;
        if (m_pipe) {
            QThread::msleep(2);
            takeFromPipe();
        } else {
            m_process.waitForReadyRead(5);
        }
        QCoreApplication::processEvents();
    }
    return true;
}

PrivateSink::PrivateSink(Kind kind, KeepAlive keepAlive, const QString& name)
    : m_kind(kind)
    , m_keepAlive(keepAlive)
    , m_name(name.isEmpty() ? QStringLiteral("tonarix_test_%1").arg(QCoreApplication::applicationPid()) : name)
{
}

std::unique_ptr<PrivateSink> PrivateSink::fromEnvironment()
{
    return std::make_unique<PrivateSink>(
        qEnvironmentVariable("TONARIX_TEST_SINK") == QLatin1String("pipe") ? Kind::Pipe : Kind::Null,
        qEnvironmentVariable("TONARIX_SINK_KEEP_ALIVE") == QLatin1String("0") ? KeepAlive::Off : KeepAlive::On);
}

PrivateSink::~PrivateSink()
{
    QMMultiMedia::AudioBackend::install(nullptr);
    releaseEngine();
    if (m_keepAliveStream.state() != QProcess::NotRunning) {
        m_keepAliveStream.kill();
        m_keepAliveStream.waitForFinished(2000);
    }
    if (!m_module.isEmpty()) {
        bool ok = false;
        SinkCapture::pactl({QStringLiteral("unload-module"), m_module}, &ok);
    }
}

bool PrivateSink::create(QString* why)
{
    QStringList args {QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                      QStringLiteral("sink_name=") + m_name, QStringLiteral("rate=44100"), QStringLiteral("channels=2")};
    if (m_kind == Kind::Pipe) {
        // The reader begins once half of the pipe is filled: 46 ms of its 32 KiB, more than one of
        // PipeWire's largest quanta.
        const QString path = m_pipeDir.filePath(QStringLiteral("sink"));
        const int fd = m_pipeDir.isValid() && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
            ? ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
            : -1;
        if (fd < 0 || ::fcntl(fd, F_SETPIPE_SZ, 32768) < 0) {
            if (fd >= 0)
                ::close(fd);
            *why = QStringLiteral("no pipe for the sink");
            return false;
        }
        m_reader = std::make_shared<PipeReader>(fd);
        args = QStringList {QStringLiteral("load-module"), QStringLiteral("module-pipe-sink"),
                            QStringLiteral("sink_name=") + m_name, QStringLiteral("file=") + path,
                            QStringLiteral("format=float32le"), QStringLiteral("rate=44100"), QStringLiteral("channels=2")};
    }
    bool ok = false;
    m_module = SinkCapture::pactl(args, &ok);
    if (!ok) {
        m_module.clear();
        *why = QStringLiteral("the sound server did not load a %1").arg(args.at(1));
        return false;
    }
    if (m_keepAlive == KeepAlive::On) {
        m_keepAliveStream.start(QStringLiteral("pacat"),
                                {QStringLiteral("--playback"), QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                                 QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
                                 QStringLiteral("--latency-msec=10"), QStringLiteral("--device=") + m_name,
                                 QStringLiteral("/dev/zero")});
        if (!m_keepAliveStream.waitForStarted(5000)) {
            *why = QStringLiteral("pacat did not start");
            return false;
        }
    }
    // A new null sink renders in blocks of two seconds until a stream asks for less: wait until
    // what it plays can be captured, or whatever a test records first begins two seconds late.
    SinkCapture flowing;
    if (!flowing.start(*this)) {
        *why = QStringLiteral("nothing the sink plays can be captured");
        return false;
    }
    QMMultiMedia::AudioBackend::install(this);
    // Connected now, so that the first sound a test plays does not wait for the connection.
    QMMultiMedia::SoundServer::instance().defaultSourceName();
    return true;
}

std::unique_ptr<QMMultiMedia::AudioOutput> PrivateSink::createOutput(QMMultiMedia::AudioEngine& engine)
{
    return QMMultiMedia::SoundServer::instance().createOutput(m_name, engine);
}

std::unique_ptr<QMMultiMedia::AudioInput> PrivateSink::createInput(int sampleRate, int channels)
{
    return QMMultiMedia::SoundServer::instance().createInput(monitorName(), sampleRate, channels);
}

} // namespace TestAudio
