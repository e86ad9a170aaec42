#pragma once

// Captures what the sound server's default sink plays (through its monitor, with parec) and tells
// when each captured sample arrived, on the steady clock the players keep time by.

#include "QMMultiMedia/AudioBackend.h"

#include <QObject>
#include <QProcess>
#include <QVector>

#include <vector>

// For a test's initTestCase: without a sound server the test is skipped, or fails where the test run
// started one (scripts/test says so), since a missing server is then a fault, not a machine without sound.
#define TONARIX_REQUIRE_SOUND_SERVER()                                                          \
    do {                                                                                        \
        if (!TestAudio::SinkCapture::serverAnswers()) {                                         \
            if (qEnvironmentVariableIsSet("TONARIX_REQUIRE_SERVICES"))                          \
                QFAIL("no sound server answers, though the test run started one");              \
            QSKIP("no sound server answers: nothing to capture");                               \
        }                                                                                       \
    } while (false)

// For a test's initTestCase: a private sink (below) for `sink`, a std::unique_ptr<PrivateSink>;
// the test fails when the server refuses it.
#define TONARIX_CREATE_PRIVATE_SINK(sink)                                                       \
    do {                                                                                        \
        TONARIX_REQUIRE_SOUND_SERVER();                                                         \
        sink = std::make_unique<TestAudio::PrivateSink>();                                      \
        QString why;                                                                            \
        QVERIFY2(sink->create(&why), qPrintable(why));                                          \
    } while (false)

namespace TestAudio {

class SinkCapture : public QObject
{
    Q_OBJECT
public:
    static constexpr int rate = 44100;

    explicit SinkCapture(QObject* parent = nullptr);
    ~SinkCapture() override;

    // True when a sound server answers (pactl info).
    static bool serverAnswers();
    // Starts capturing a source (by default the default sink's monitor) and waits until samples
    // flow; false when the capture does not start.
    bool start(const QString& source = QStringLiteral("@DEFAULT_MONITOR@"));
    void stop();

    // Captured stereo frames so far (interleaved left, right).
    const std::vector<float>& samples() const { return m_samples; }
    qint64 frames() const { return qint64(m_samples.size() / 2); }
    // Nanoseconds (steady clock) at which a frame was played, estimated from its arrival.
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

private:
    void readMore();

    QProcess m_process;
    std::vector<float> m_samples;
    QByteArray m_partial;
    struct Arrival { qint64 ns; qint64 frames; };
    QVector<Arrival> m_arrivals;
};

// A null sink of the test's own on the sound server, so that sounds other tests play at the same
// time do not mix into what is captured. While it exists, players play into it and recorders
// record from its monitor (it is installed as the audio backend); it keeps a silent low-latency
// stream running so that the sink renders in small blocks.
class PrivateSink : public QMMultiMedia::AudioBackend
{
public:
    PrivateSink();
    ~PrivateSink() override;

    // Loads the sink; false (with the reason) when the server refuses it.
    bool create(QString* why);
    QString sinkName() const { return m_name; }
    QString monitorName() const { return m_name + QStringLiteral(".monitor"); }

    std::unique_ptr<QMMultiMedia::AudioOutput> createOutput(QMMultiMedia::AudioEngine& engine) override;
    std::unique_ptr<QMMultiMedia::AudioInput> createInput(int sampleRate, int channels) override;
    qint64 nowNs() const override { return SinkCapture::nowNs(); }
    QString inputName() const override { return monitorName(); }

private:
    QString m_name;
    QString m_module;
    QProcess m_keepAlive;
};

} // namespace TestAudio
