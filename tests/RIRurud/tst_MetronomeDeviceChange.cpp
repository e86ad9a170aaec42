// The metronome through changes of the sound device, playing to the default sink as the program
// does: the sink removed and another one added half a second later (a headset unplugged and
// plugged in again), the stream killed by the server (once, or as often as it is opened again), the
// default sink changed. Within two seconds the beats are heard again, on the grid they had before.
//
// PulseAudio moves a stream to another sink when its own goes, and kills it when there is none: the
// PulseAudio run has a server of the test's own, whose only sink is the one played to. Its sinks
// are pipe sinks: a null sink that has just been made renders two seconds at once, which its monitor
// hands on at once, so that what it plays first cannot be timed. PipeWire never leaves a stream
// without a sink (it puts up a stand-in one): its run plays to the run's server, to null sinks of
// the test's own made the default one for the while.
#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeControls.h"

#include "SinkCapture.h"
#include "ToneFiles.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include "TestMain.h"

using namespace RIRurud;
using TestAudio::PrivateSink;
using TestAudio::SinkCapture;

namespace {

enum class Change { SinkReplaced, StreamKilled, KilledAgainAndAgain, DefaultChanged };

// When the beats in a capture were heard, on the steady clock: the first loud frame after 50 ms of
// silence (a beat the capture began in the middle of is not one).
QVector<qint64> beatsHeard(const SinkCapture& capture, qint64 from)
{
    QVector<qint64> onsets;
    qint64 quiet = 0;
    for (qint64 f = from; f < capture.frames(); ++f) {
        const bool loud = qAbs(capture.samples()[size_t(2 * f)]) > 0.005f;
        if (loud && quiet >= SinkCapture::rate / 20)
            onsets.append(capture.timeOfFrame(f));
        quiet = loud ? 0 : quiet + 1;
    }
    return onsets;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestMetronomeDeviceChange : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_server;
    bool m_pipeWire = false;
    QString m_oldDefault;
    int m_sinks = 0;

    // A sink of the test's own, made the default one; the metronome plays to the default sink.
    std::unique_ptr<PrivateSink> addSink()
    {
        auto sink = std::make_unique<PrivateSink>(
            m_pipeWire ? PrivateSink::Kind::Null : PrivateSink::Kind::Pipe, PrivateSink::KeepAlive::Off,
            QStringLiteral("tonarix_change_%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_sinks));
        QString why;
        if (!sink->create(&why)) {
            qWarning("no sink: %s", qPrintable(why));
            return nullptr;
        }
        QMMultiMedia::AudioBackend::install(nullptr);
        bool ok = false;
        SinkCapture::pactl({QStringLiteral("set-default-sink"), sink->sinkName()}, &ok);
        return ok ? std::move(sink) : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestAudio::writeTone(m_dir.filePath("tick.wav"), 1000, 0.03, 1, 0.6f));
        QVERIFY(TestAudio::writeTone(m_dir.filePath("bell.wav"), 700, 0.06, 1, 0.6f));
        m_pipeWire = qEnvironmentVariable("TONARIX_SOUND_SERVER") == QLatin1String("pipewire");
        if (m_pipeWire) {
            TONARIX_REQUIRE_SOUND_SERVER();
            m_oldDefault = SinkCapture::pactl({QStringLiteral("get-default-sink")});
            return;
        }
        // Before anything connects: the server is the test's, without a sink of its own.
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty())
            QSKIP("no pulseaudio to run a server of the test's own");
        const QString socket = m_dir.filePath("native");
        QVERIFY(TestSupport::startPulseAudio(m_server, m_dir.filePath("server"), socket));
        qputenv("PULSE_SERVER", QFile::encodeName("unix:" + socket));
        QTRY_VERIFY_WITH_TIMEOUT(SinkCapture::serverAnswers(), 5000);
        bool ok = false;
        SinkCapture::pactl({QStringLiteral("unload-module"), QStringLiteral("module-null-sink")}, &ok);
        QVERIFY(ok);
    }

    void cleanupTestCase()
    {
        if (!m_oldDefault.isEmpty())
            SinkCapture::pactl({QStringLiteral("set-default-sink"), m_oldDefault});
        if (m_server.state() != QProcess::NotRunning) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }

    void beatsComeBack_data()
    {
        QTest::addColumn<Change>("change");
        QTest::newRow("sink removed, another added") << Change::SinkReplaced;
        QTest::newRow("stream killed") << Change::StreamKilled;
        QTest::newRow("stream killed again and again") << Change::KilledAgainAndAgain;
        QTest::newRow("default sink changed") << Change::DefaultChanged;
    }
    void beatsComeBack()
    {
        QFETCH(Change, change);
        const qint64 periodNs = Metronome::periodMs(120) * 1'000'000LL;
        std::unique_ptr<PrivateSink> sink = addSink();
        QVERIFY(sink);
        SinkCapture before;
        QVERIFY(before.start(*sink));
        const qint64 from = before.frames();
        auto metronome = std::make_unique<Metronome>();
        metronome->setSoundDirectory(m_dir.path() + "/");
        metronome->controls()->setInterval(120);
        const qint64 grid = metronome->nextBeatNs();
        QVERIFY(grid > 0);
        before.waitForFrames(from + 3 * SinkCapture::rate, 6000);
        before.stop();

        qint64 changedNs = 0;
        std::unique_ptr<PrivateSink> old;
        switch (change) {
        case Change::SinkReplaced:
            sink.reset();
            QTest::qWait(500);
            sink = addSink();
            changedNs = SinkCapture::nowNs();
            break;
        case Change::StreamKilled: {
            const QVector<int> ours = SinkCapture::streamsOf(QCoreApplication::applicationPid());
            QCOMPARE(ours.size(), 1);
            changedNs = SinkCapture::nowNs();
            QVERIFY(SinkCapture::killStream(ours.first()));
            break;
        }
        case Change::KilledAgainAndAgain: {
            // Every stream is killed at once for three seconds: one is opened again every two
            // seconds at most.
            int killed = 0;
            const qint64 end = SinkCapture::nowNs() + 3'000'000'000;
            while (SinkCapture::nowNs() < end) {
                for (int stream : SinkCapture::streamsOf(QCoreApplication::applicationPid()))
                    killed += SinkCapture::killStream(stream);
                QTest::qWait(20);
            }
            changedNs = SinkCapture::nowNs();
            QVERIFY2(killed <= 3, qPrintable(QStringLiteral("%1 streams opened in three seconds").arg(killed)));
            break;
        }
        case Change::DefaultChanged:
            old = std::move(sink);
            sink = addSink();
            changedNs = SinkCapture::nowNs();
            break;
        }
        QVERIFY(sink);
        SinkCapture after;
        QVERIFY(after.start(*sink));
        after.waitForFrames(after.frames() + 4 * SinkCapture::rate, 8000);
        const double captureMs = double(after.timeOfFrame(0) - changedNs) / 1e6;
        metronome.reset();

        // Where the beats fell on the grid: before the change, and after it.
        const auto offGrid = [&](qint64 ns) {
            const qint64 k = (ns - grid + periodNs / 2) / periodNs;
            return double(ns - grid - k * periodNs) / 1e6;
        };
        QVector<double> was;
        for (qint64 ns : beatsHeard(before, from))
            was.append(offGrid(ns));
        QVERIFY2(was.size() >= 4, qPrintable(QStringLiteral("%1 beats before the change").arg(was.size())));
        std::sort(was.begin(), was.end());
        const double usual = was[was.size() / 2];
        const QVector<qint64> heard = beatsHeard(after, 0);
        QVERIFY2(!heard.isEmpty(), "no beat was heard after the change");
        const double firstMs = double(heard.first() - changedNs) / 1e6;
        QString offs;
        for (qint64 ns : heard)
            offs += QStringLiteral(" %1").arg(offGrid(ns) - usual, 0, 'f', 2);
        qInfo("first beat heard %.0f ms after the change (heard from %.0f ms on); off the grid before it by %.2f ms, "
              "then by%s ms",
              firstMs, captureMs, usual, qPrintable(offs));
        QVERIFY2(firstMs < 2000, qPrintable(QStringLiteral("the first beat came %1 ms after the change").arg(firstMs)));
        // The same grid: a grid started again with the new stream, or beats placed for the old
        // stream's clock, would be off by anything up to half a period (on the pipe sink, by the
        // 93 ms the pipe holds). What a moved stream reports of its clock in the first seconds
        // after the move is followed by the engine's clock within seconds: beats were seen up to
        // 6 ms off meanwhile on PipeWire. How closely the grid is held within a stream is the
        // metronome's sound test.
        for (int i = 0; i < heard.size(); ++i) {
            const double off = offGrid(heard[i]) - usual;
            QVERIFY2(qAbs(off) < 10.0, qPrintable(QStringLiteral("beat %1 after the change is %2 ms off the grid").arg(i).arg(off)));
            if (i > 0) {
                const double gap = double(heard[i] - heard[i - 1]) / double(periodNs);
                QVERIFY2(std::round(gap) == 1.0, qPrintable(QStringLiteral("beat %1 is missing").arg(i)));
            }
        }
    }
};

TONARIX_TEST_MAIN(TestMetronomeDeviceChange)
#include "tst_MetronomeDeviceChange.moc"
