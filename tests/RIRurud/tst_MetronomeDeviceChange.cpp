// The metronome through changes of the sound device, playing to the default sink as the program
// does: the sink removed and another one added half a second later (a headset unplugged and
// plugged in again), the stream killed by the server (once, or as often as it is opened again for
// three seconds: it is opened every two seconds at most), the default sink changed. Within two
// seconds the beats are heard again, on the grid they had before.
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

#include <QElapsedTimer>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include "TestMain.h"

using namespace RIRurud;
using TestAudio::PrivateSink;
using TestAudio::SinkCapture;

namespace {

enum class Change { SinkReplaced, StreamKilled, DefaultChanged };

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
        if (!ok)
            return nullptr;
        // PipeWire's session manager makes it the default a moment later, on a busy machine a
        // while later: a stream opened before then goes to the sink that was the default.
        QElapsedTimer waited;
        waited.start();
        while (SinkCapture::pactl({QStringLiteral("get-default-sink")}) != sink->sinkName()) {
            if (waited.elapsed() > 5000) {
                qWarning("%s was not made the default sink", qPrintable(sink->sinkName()));
                return nullptr;
            }
            QTest::qWait(20);
        }
        return sink;
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
        QTest::addColumn<int>("forMs");
        QTest::newRow("sink removed, another added") << Change::SinkReplaced << 500;
        QTest::newRow("stream killed") << Change::StreamKilled << 0;
        QTest::newRow("stream killed again and again") << Change::StreamKilled << 3000;
        QTest::newRow("default sink changed") << Change::DefaultChanged << 0;
    }
    void beatsComeBack()
    {
        QFETCH(Change, change);
        QFETCH(int, forMs);
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

        std::unique_ptr<PrivateSink> old;
        const qint64 end = SinkCapture::nowNs() + forMs * 1'000'000LL;
        QSet<int> killed;
        if (change == Change::StreamKilled) {
            do {
                for (int stream : SinkCapture::streamsOf(QCoreApplication::applicationPid())) {
                    if (SinkCapture::killStream(stream))
                        killed.insert(stream);
                }
                QTest::qWait(20);
            } while (SinkCapture::nowNs() < end);
            // (The first, and those opened again: at once, then every two seconds.)
            QVERIFY2(!killed.isEmpty() && killed.size() <= 2 + forMs / 2000,
                     qPrintable(QStringLiteral("%1 streams killed in %2 ms").arg(killed.size()).arg(forMs)));
        } else {
            old = std::move(sink);
            if (change == Change::SinkReplaced)
                old.reset();
            QTest::qWait(forMs);
            sink = addSink();
        }
        const qint64 changedNs = SinkCapture::nowNs();
        QVERIFY(sink);
        SinkCapture after;
        QVERIFY(after.start(*sink));
        after.waitForFrames(after.frames() + 4 * SinkCapture::rate, 8000);
        metronome.reset();

        // Where the beats fell on the grid, before the change and after it (the middle of them).
        const auto offGrid = [&](const QVector<qint64>& beats) {
            std::vector<double> off;
            for (qint64 ns : beats)
                off.push_back(double((ns - grid + periodNs / 2) % periodNs - periodNs / 2) / 1e6);
            std::sort(off.begin(), off.end());
            return off.empty() ? qQNaN() : off[off.size() / 2];
        };
        const QVector<qint64> was = beatsHeard(before, from);
        const QVector<qint64> heard = beatsHeard(after, 0);
        QVERIFY2(was.size() >= 4, qPrintable(QStringLiteral("%1 beats before the change").arg(was.size())));
        QVERIFY2(!heard.isEmpty(), "no beat was heard after the change");
        const double firstMs = double(heard.first() - changedNs) / 1e6;
        const double moved = offGrid(heard) - offGrid(was);
        qInfo("first beat heard %.0f ms after the change (the capture began %.0f ms after it), %d in all; the grid "
              "moved by %.2f ms", firstMs, double(after.timeOfFrame(0) - changedNs) / 1e6, int(heard.size()), moved);
        QVERIFY2(firstMs < 2000, qPrintable(QStringLiteral("the first beat came %1 ms after the change").arg(firstMs)));
        for (int i = 1; i < heard.size(); ++i)
            QVERIFY2(heard[i] - heard[i - 1] < periodNs * 3 / 2, qPrintable(QStringLiteral("beat %1 is missing").arg(i)));
        // The same grid: one started again with the new stream, or beats placed for the old
        // stream's clock, would be off by anything up to half a period (on the pipe sink, by the
        // 93 ms the pipe holds). On PipeWire, beats were seen up to 6 ms off for some seconds after
        // a move, while the engine's clock followed what the moved stream reported; how closely a
        // stream holds the grid from beat to beat is the metronome's sound test.
        QVERIFY2(qAbs(moved) < 10.0, qPrintable(QStringLiteral("the beats moved by %1 ms").arg(moved)));
    }
};

TONARIX_TEST_MAIN(TestMetronomeDeviceChange)
#include "tst_MetronomeDeviceChange.moc"
