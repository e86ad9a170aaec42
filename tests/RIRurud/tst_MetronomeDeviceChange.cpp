// The metronome through changes of the sound device: the sink it plays to removed and another one
// added half a second later (a headset unplugged and plugged in again), its stream killed by the
// server, the default sink changed. Within two seconds the beats are heard again, on the grid they
// had before.
//
// PulseAudio moves a stream to another sink when its own goes, and kills it when there is none: the
// PulseAudio run has a server of the test's own, whose only sink is the one played to. PipeWire
// never leaves a stream without a sink (it puts up a stand-in one), so its run plays to the run's
// server, with a sink of the test's own made the default for the while.
#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeControls.h"

#include "SinkCapture.h"
#include "ToneFiles.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include "TestMain.h"

using namespace RIRurud;
using TestAudio::SinkCapture;

namespace {

enum class Change { SinkReplaced, StreamKilled, DefaultChanged };

// Beats heard in a capture from a frame on: the first loud frame after 50 ms of silence, and when it
// was heard on the steady clock.
QVector<qint64> beatsHeard(const SinkCapture& capture, qint64 from)
{
    QVector<qint64> onsets;
    qint64 quiet = SinkCapture::rate;
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
    QString m_sink, m_module;  // the sink played to, and the module that made it
    QString m_oldDefault;
    int m_sinks = 0;

    // A null sink of the test's own, made the default one.
    bool addSink()
    {
        const QString name = QStringLiteral("tonarix_change_%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_sinks);
        bool ok = false;
        const QString module = SinkCapture::pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                                   QStringLiteral("sink_name=") + name, QStringLiteral("rate=44100"),
                                                   QStringLiteral("channels=2")},
                                                  &ok);
        if (!ok)
            return false;
        SinkCapture::pactl({QStringLiteral("set-default-sink"), name}, &ok);
        m_sink = name;
        m_module = module;
        return ok;
    }
    static bool unload(const QString& module)
    {
        bool ok = false;
        SinkCapture::pactl({QStringLiteral("unload-module"), module}, &ok);
        return ok;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestAudio::writeTone(m_dir.filePath("tick.wav"), 1000, 0.03, 1, 0.6f));
        QVERIFY(TestAudio::writeTone(m_dir.filePath("bell.wav"), 700, 0.06, 1, 0.6f));
        if (qEnvironmentVariable("TONARIX_SOUND_SERVER") != QLatin1String("pipewire")) {
            // Before anything connects: the server is the test's, and its only sink is ours.
            if (QStandardPaths::findExecutable("pulseaudio").isEmpty())
                QSKIP("no pulseaudio to run a server of the test's own");
            const QString socket = m_dir.filePath("native");
            QVERIFY(TestSupport::startPulseAudio(m_server, m_dir.filePath("server"), socket));
            qputenv("PULSE_SERVER", QFile::encodeName("unix:" + socket));
            QTRY_VERIFY_WITH_TIMEOUT(SinkCapture::serverAnswers(), 5000);
            QVERIFY(addSink());
            const QStringList modules = SinkCapture::pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("modules")})
                                            .split(QLatin1Char('\n'))
                                            .filter(QStringLiteral("sink_name=back"));
            QCOMPARE(modules.size(), 1);
            QVERIFY(unload(modules.first().section(QLatin1Char('\t'), 0, 0)));
        } else {
            TONARIX_REQUIRE_SOUND_SERVER();
            m_oldDefault = SinkCapture::pactl({QStringLiteral("get-default-sink")});
            QVERIFY(addSink());
        }
    }

    void cleanupTestCase()
    {
        if (!m_module.isEmpty())
            unload(m_module);
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
        QTest::newRow("default sink changed") << Change::DefaultChanged;
    }
    void beatsComeBack()
    {
        QFETCH(Change, change);
        const qint64 periodNs = Metronome::periodMs(120) * 1'000'000LL;
        SinkCapture before;
        QVERIFY(before.start(m_sink + QStringLiteral(".monitor"), SinkCapture::largeLatencyMs));
        const qint64 from = before.frames();
        auto metronome = std::make_unique<Metronome>();
        metronome->setSoundDirectory(m_dir.path() + "/");
        metronome->controls()->setInterval(120);
        const qint64 grid = metronome->nextBeatNs();
        QVERIFY(grid > 0);
        before.waitForFrames(from + 3 * SinkCapture::rate, 6000);

        qint64 changedNs = 0;
        const QString oldModule = m_module;
        switch (change) {
        case Change::SinkReplaced:
            QVERIFY(unload(m_module));
            QTest::qWait(500);
            QVERIFY(addSink());
            changedNs = SinkCapture::nowNs();
            break;
        case Change::StreamKilled: {
            const QVector<int> ours = SinkCapture::streamsOf(QCoreApplication::applicationPid());
            QVERIFY(!ours.isEmpty());
            changedNs = SinkCapture::nowNs();
            for (int stream : ours)
                SinkCapture::pactl({QStringLiteral("kill-sink-input"), QString::number(stream)});
            break;
        }
        case Change::DefaultChanged:
            QVERIFY(addSink());
            changedNs = SinkCapture::nowNs();
            break;
        }
        SinkCapture after;
        QVERIFY(after.start(m_sink + QStringLiteral(".monitor"), SinkCapture::largeLatencyMs));
        after.waitForFrames(after.frames() + 4 * SinkCapture::rate, 8000);
        metronome.reset();
        if (change == Change::DefaultChanged)
            unload(oldModule);

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
        QString dbg; for (double w : was) dbg += QString::number(w, 'f', 2) + " "; dbg += "| ";
        for (qint64 ns : beatsHeard(after, 0)) dbg += QString::number(offGrid(ns) - usual, 'f', 2) + " ";
        qInfo("%s", qPrintable(dbg));
        const QVector<qint64> heard = beatsHeard(after, 0);
        QVERIFY2(!heard.isEmpty(), "no beat was heard after the change");
        const double firstMs = double(heard.first() - changedNs) / 1e6;
        qInfo("first beat heard %.0f ms after the change; %d beats in the next 4 s", firstMs, int(heard.size()));
        QVERIFY2(firstMs < 2000, qPrintable(QStringLiteral("the first beat came %1 ms after the change").arg(firstMs)));
        for (int i = 0; i < heard.size(); ++i) {
            const double off = offGrid(heard[i]) - usual;
            QVERIFY2(qAbs(off) < 4.0, qPrintable(QStringLiteral("beat %1 after the change is %2 ms off the grid").arg(i).arg(off)));
            if (i > 0) {
                const double gap = double(heard[i] - heard[i - 1]) / double(periodNs);
                QVERIFY2(std::round(gap) == 1.0, qPrintable(QStringLiteral("beat %1 is missing").arg(i)));
            }
        }
    }
};

TONARIX_TEST_MAIN(TestMetronomeDeviceChange)
#include "tst_MetronomeDeviceChange.moc"
