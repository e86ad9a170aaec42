#include "SinkCapture.h"

#include "QMMultiMedia/SoundServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <cmath>
#include <cstring>

namespace TestAudio {

SinkCapture::SinkCapture(QObject* parent)
    : QObject(parent)
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &SinkCapture::readMore);
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

bool SinkCapture::serverAnswers()
{
    QProcess p;
    p.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool SinkCapture::start(const QString& source)
{
    m_samples.clear();
    m_arrivals.clear();
    m_partial.clear();
    m_process.start(QStringLiteral("parec"),
                    {QStringLiteral("--raw"), QStringLiteral("--format=float32le"),
                     QStringLiteral("--rate=%1").arg(rate), QStringLiteral("--channels=2"),
                     QStringLiteral("--latency-msec=5"), QStringLiteral("--device=") + source});
    if (!m_process.waitForStarted(5000))
        return false;
    // Wait until samples flow steadily.
    return waitForFrames(rate / 10, 5000);
}

void SinkCapture::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(2000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
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
        if (t.elapsed() > timeoutMs || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(5);
        QCoreApplication::processEvents();
    }
    return true;
}

namespace {

QString runPactl(const QStringList& args, bool* ok)
{
    QProcess p;
    p.start(QStringLiteral("pactl"), args);
    *ok = p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

} // namespace

PrivateSink::PrivateSink()
    : m_name(QStringLiteral("tonarix_test_%1").arg(QCoreApplication::applicationPid()))
{
}

PrivateSink::~PrivateSink()
{
    QMMultiMedia::AudioBackend::install(nullptr);
    releaseEngine();
    if (m_keepAlive.state() != QProcess::NotRunning) {
        m_keepAlive.kill();
        m_keepAlive.waitForFinished(2000);
    }
    if (!m_module.isEmpty()) {
        bool ok = false;
        runPactl({QStringLiteral("unload-module"), m_module}, &ok);
    }
}

bool PrivateSink::create(QString* why)
{
    bool ok = false;
    m_module = runPactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                         QStringLiteral("sink_name=") + m_name, QStringLiteral("rate=44100"), QStringLiteral("channels=2")},
                        &ok);
    if (!ok) {
        m_module.clear();
        *why = QStringLiteral("the sound server did not load a null sink");
        return false;
    }
    m_keepAlive.start(QStringLiteral("pacat"),
                      {QStringLiteral("--playback"), QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                       QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=10"),
                       QStringLiteral("--device=") + m_name, QStringLiteral("/dev/zero")});
    if (!m_keepAlive.waitForStarted(5000)) {
        *why = QStringLiteral("pacat did not start");
        return false;
    }
    // A new null sink renders in blocks of two seconds until the stream above reaches it: wait
    // until its monitor delivers, or whatever a test records first begins two seconds late.
    SinkCapture flowing;
    if (!flowing.start(monitorName())) {
        *why = QStringLiteral("the null sink's monitor delivers nothing");
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
