#pragma once

// Captures what a sink of the sound server plays, through its monitor (with parec) or, for a pipe
// sink, from the pipe it writes to, and tells when each captured sample was played, on the steady
// clock the players keep time by.

#include "QMMultiMedia/AudioBackend.h"

#include "SoundServers.h"

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVector>

#include <memory>
#include <vector>

// For a test's initTestCase: without a sound server the test is skipped, or fails where the test run
// started one (scripts/test says so), since a missing server is then a fault, not a machine without sound.
#define TONARIX_REQUIRE_SOUND_SERVER()                                                          \
    do {                                                                                        \
        const QString missing_ = TestAudio::SinkCapture::serverMissing();                       \
        if (!missing_.isEmpty()) {                                                              \
            if (qEnvironmentVariableIsSet("TONARIX_REQUIRE_SERVICES"))                          \
                QFAIL(qPrintable(missing_ + QStringLiteral(", though the test run started the servers"))); \
            QSKIP(qPrintable(missing_));                                                        \
        }                                                                                       \
    } while (false)

// For a test's initTestCase: a private sink (below) for `sink`, a std::unique_ptr<PrivateSink>,
// made as the environment asks (PrivateSink::fromEnvironment); the test fails when the server
// refuses it.
#define TONARIX_CREATE_PRIVATE_SINK(sink)                                                       \
    do {                                                                                        \
        TONARIX_REQUIRE_SOUND_SERVER();                                                         \
        sink = TestAudio::PrivateSink::fromEnvironment();                                       \
        QString why;                                                                            \
        QVERIFY2(sink->create(&why), qPrintable(why));                                          \
    } while (false)

namespace TestAudio {

class PipeReader;
class PrivateSink;

class SinkCapture : public QObject
{
    Q_OBJECT
public:
    static constexpr int rate = 44100;
    // A monitor capture at this latency leaves the server's latency, and PipeWire's quantum, to the
    // streams that play (they ask for less); its blocks come so far apart that frames are timed by
    // the sink's clock (timeOfFrame). It asks for no more: PipeWire's PulseAudio layer holds back
    // what a capture records by about as much as the latency it asks for exceeds 185 ms (15 ms at
    // 200 ms, 0.8 s at one second), which no clock drawn from the arrivals can tell.
    static constexpr int largeLatencyMs = 50;

    explicit SinkCapture(QObject* parent = nullptr);
    ~SinkCapture() override;

    // True when a sound server answers (pactl info).
    static bool serverAnswers();
    // Why the tests cannot play: no server answers, or not the one TONARIX_SOUND_SERVER names.
    // Empty when they can.
    static QString serverMissing();
    // Starts capturing a source (by default the default sink's monitor) with the latency asked of
    // the server, and waits until samples flow; false when the capture does not start.
    bool start(const QString& source = QStringLiteral("@DEFAULT_MONITOR@"), int latencyMs = 5);
    // Starts capturing what a private sink plays, the way that sink is heard faithfully: a pipe sink
    // from its pipe, a null sink with a keep-alive stream through its monitor at a low latency, one
    // without at a large latency.
    bool start(const PrivateSink& sink);
    void stop();

    // Captured stereo frames so far (interleaved left, right).
    const std::vector<float>& samples() const { return m_samples; }
    qint64 frames() const { return qint64(m_samples.size() / 2); }
    // Nanoseconds (steady clock) at which a frame was played: from a pipe, when it was taken; from a
    // monitor at a low latency, when the block holding it arrived, less the frames after it; at a
    // large latency, on the line under the arrivals of the second from the frame on, at the sink's
    // rate (a block arrives once its last frame was played, or later).
    qint64 timeOfFrame(qint64 frame) const;
    // Nanoseconds at which the block holding a frame arrived here: when it could first be observed.
    qint64 arrivalOfFrame(qint64 frame) const;
    // The sink's clock against the steady clock, from the arrivals of the frames in [from, to):
    // frame f was played at about a + b * f nanoseconds (the line under the arrivals, so b tells
    // the sink's own rate however late some blocks came). False with too few arrivals.
    bool sinkClock(qint64 from, qint64 to, double* a, double* b) const;
    // The first frame from `from` on whose left or right sample exceeds the threshold, or -1.
    qint64 firstLoudFrame(qint64 from, float threshold = 0.01f) const;
    // The last loud frame from `from` on, or -1.
    qint64 lastLoudFrame(qint64 from, float threshold = 0.01f) const;
    // Processes events until `frame` frames have arrived or the time is up.
    bool waitForFrames(qint64 frame, int timeoutMs);

    static qint64 nowNs();
    // Runs pactl on the server PULSE_SERVER names and returns what it printed; *ok tells whether it
    // succeeded.
    static QString pactl(const QStringList& args, bool* ok = nullptr);
    // The server's indices of the playback streams of a process; *ok tells whether pactl answered.
    static QVector<int> streamsOf(qint64 pid, bool* ok = nullptr);
    // Has the server end a playback stream, as its clients can (pactl cannot); true once it has.
    static bool killStream(int index);

private:
    void readMore();
    void takeFromPipe();

    QProcess m_process;
    std::shared_ptr<PipeReader> m_pipe;
    QTimer m_pipeTimer;
    bool m_bySinkClock = false;
    std::vector<float> m_samples;
    QByteArray m_partial;
    struct Arrival { qint64 ns; qint64 frames; };
    QVector<Arrival> m_arrivals;
};

// A sink of the test's own on the sound server, so that sounds other tests play at the same time
// do not mix into what is captured. While it exists, players play into it and recorders record
// from its monitor (it is installed as the audio backend).
//
// A null sink renders ahead in blocks as long as the lowest latency a stream on it asks for, two
// seconds with none; PipeWire runs its whole graph in quanta chosen the same way. A keep-alive
// stream (silence at a latency of 10 ms) keeps both small whatever the players ask for. Without
// it, PulseAudio's null sink is no faithful witness: a sound that starts while a block is out is
// put in by rewinding the sink, and its monitor, which has passed the block on already, loses
// that much of its start. A pipe sink serves there.
//
// A pipe sink writes what it renders into a pipe that is read here at the real pace (the reader's
// pace is the sink's clock), from a thread of its own: the capture is exactly what the sink
// rendered, with each frame's time. It cannot be rewound. PulseAudio keeps its pipe full (32 KiB,
// some 93 ms, which it counts in the sink's latency); PipeWire writes a quantum at a time and does
// not count what waits in the pipe. While nothing plays to it, PulseAudio renders nothing into it,
// and its monitor delivers nothing either.
class PrivateSink : public QMMultiMedia::AudioBackend
{
public:
    enum class Kind { Null, Pipe };
    enum class KeepAlive { Off, On };

    // Named tonarix_test_<the process id>, unless a name is given.
    explicit PrivateSink(Kind kind = Kind::Null, KeepAlive keepAlive = KeepAlive::On, const QString& name = QString());
    ~PrivateSink() override;
    // The sink the environment asks for: TONARIX_TEST_SINK=pipe for a pipe sink (else a null
    // sink), TONARIX_SINK_KEEP_ALIVE=0 for none (else one).
    static std::unique_ptr<PrivateSink> fromEnvironment();

    // Loads the sink; false (with the reason) when the server refuses it.
    bool create(QString* why);
    QString sinkName() const { return m_name; }
    QString monitorName() const { return m_name + QStringLiteral(".monitor"); }
    Kind kind() const { return m_kind; }
    bool keepsAlive() const { return m_keepAlive == KeepAlive::On; }

    std::unique_ptr<QMMultiMedia::AudioOutput> createOutput(QMMultiMedia::AudioEngine& engine) override;
    std::unique_ptr<QMMultiMedia::AudioInput> createInput(int sampleRate, int channels) override;
    qint64 nowNs() const override { return SinkCapture::nowNs(); }
    QString inputName() const override { return monitorName(); }

private:
    friend class SinkCapture;

    Kind m_kind;
    KeepAlive m_keepAlive;
    QString m_name;
    QString m_module;
    QProcess m_keepAliveStream;
    QTemporaryDir m_pipeDir;
    std::shared_ptr<PipeReader> m_reader;
};

} // namespace TestAudio
