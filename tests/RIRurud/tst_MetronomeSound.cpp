// The metronome heard at a sink of the test's own: every beat on the grid, with the bell on the
// first beat of every bar from the very first; and while the GUI thread is held up for a second,
// every beat comes, one period after the one before, through the stall and after it.
#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeControls.h"

#include "QMMultiMedia/AudioBackend.h"

#include "SinkCapture.h"
#include "ToneFiles.h"

#include <QElapsedTimer>

#include <algorithm>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;
using TestAudio::SinkCapture;

class TestMetronomeSound : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestAudio::PrivateSink> m_sink;
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        TONARIX_CREATE_PRIVATE_SINK(m_sink);
        // Short sounds with silence between the beats, so that every onset is plain to see.
        QVERIFY(TestAudio::writeTone(m_dir.filePath("tick.wav"), 1000, 0.03, 1, 0.6f));
        QVERIFY(TestAudio::writeTone(m_dir.filePath("bell.wav"), 700, 0.06, 1, 0.6f));
    }
    void cleanupTestCase() { m_sink.reset(); }

    void onTheGridWithTheBellOnEveryBar_data()
    {
        QTest::addColumn<int>("bpm");
        QTest::newRow("120 bpm") << 120;
        QTest::newRow("208 bpm") << 208;
    }
    void onTheGridWithTheBellOnEveryBar()
    {
        QFETCH(int, bpm);
        SinkCapture capture;
        QVERIFY(capture.start(*m_sink));
        const qint64 from = capture.frames();
        const qint64 periodNs = Metronome::periodMs(bpm) * 1'000'000LL;
        // Ten seconds, or as long as TONARIX_METRONOME_SECONDS says.
        const int seconds = qEnvironmentVariableIsSet("TONARIX_METRONOME_SECONDS") ? qEnvironmentVariableIntValue("TONARIX_METRONOME_SECONDS") : 10;
        const std::shared_ptr<QMMultiMedia::AudioEngine> engine = QMMultiMedia::AudioBackend::current()->engine();
        const int underflows = engine->underflows();
        int beats = 0;
        {
            Metronome m;
            m.setSoundDirectory(m_dir.path() + "/");
            m.controls()->setInterval(bpm);
            beats = m.controls()->beatsCount();
            QTest::qWait(seconds * 1000);
            m.controls()->audibleTickButton()->setChecked(true);
        }
        QVERIFY(capture.waitForFrames(capture.frames() + SinkCapture::rate / 2, 3000));

        // Onsets, and whether each is the bell (as long again as the tick).
        std::vector<qint64> onsets;
        std::vector<bool> bells;
        qint64 quiet = SinkCapture::rate, loudFor = 0;
        for (qint64 f = from; f < capture.frames(); ++f) {
            const bool loud = qAbs(capture.samples()[size_t(2 * f)]) > 0.005f;
            if (loud && quiet >= SinkCapture::rate / 20) {
                if (!onsets.empty())
                    bells.push_back(loudFor > SinkCapture::rate * 45 / 1000);
                onsets.push_back(f);
                loudFor = 0;
            }
            if (loud)
                loudFor = f - onsets.back();
            quiet = loud ? 0 : quiet + 1;
        }
        if (!onsets.empty())
            bells.push_back(loudFor > SinkCapture::rate * 45 / 1000);
        // Every beat, none missing, each within a millisecond of the straight line through all of
        // them, and the server never ran out of what to play.
        QCOMPARE(engine->underflows() - underflows, 0);
        const int expected = int(seconds * 1'000'000'000LL / periodNs);
        QVERIFY2(qAbs(int(onsets.size()) - expected) <= 1, qPrintable(QStringLiteral("%1 beats").arg(onsets.size())));
        // (In the sink's own time: its frames.)
        const double n = double(onsets.size());
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (size_t i = 0; i < onsets.size(); ++i) {
            const double y = double(onsets[i]) * 1000.0 / SinkCapture::rate;
            sx += i;
            sy += y;
            sxx += double(i) * i;
            sxy += i * y;
        }
        const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
        const double intercept = (sy - slope * sx) / n;
        std::vector<double> off;
        QStringList wide;
        for (size_t i = 0; i < onsets.size(); ++i) {
            off.push_back(qAbs(double(onsets[i]) * 1000.0 / SinkCapture::rate - intercept - slope * double(i)));
            if (off.back() > 1.0)
                wide << QStringLiteral("beat %1 by %2 ms").arg(i).arg(off.back(), 0, 'f', 2);
        }
        std::sort(off.begin(), off.end());
        qInfo("%d bpm: off the grid median %.2f ms, at most %.2f ms", bpm, off[off.size() / 2], off.back());
        QVERIFY2(qAbs(slope - periodNs / 1e6) < 0.5, qPrintable(QStringLiteral("beats %1 ms apart").arg(slope)));
        QVERIFY2(wide.isEmpty(), qPrintable(QStringLiteral("off the grid: ") + wide.join(QStringLiteral(", "))));
        for (size_t i = 0; i < bells.size(); ++i)
            QVERIFY2(bells[i] == (i % size_t(beats) == 0), qPrintable(QStringLiteral("beat %1 of %2 a bar").arg(i).arg(beats)));
    }

    void beatsGoOnThroughAStall()
    {
        SinkCapture capture;
        QVERIFY(capture.start(*m_sink));
        const qint64 from = capture.frames();
        Metronome m;
        m.setSoundDirectory(m_dir.path() + "/");
        m.controls()->setInterval(208);
        // How long the GUI thread went without running its loop, the stall below included. At every
        // beat the beats are placed up to Metronome::aheadNs ahead, so a stall shorter than that
        // less a period drops none; a machine so busy that the thread got no time for longer (seen
        // under the thread sanitizer with every core busy) tests something else.
        QElapsedTimer sinceLast;
        qint64 longestGapMs = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            longestGapMs = qMax(longestGapMs, sinceLast.restart());
        });
        sinceLast.start();
        watch.start(20);
        QTest::qWait(2000);
        QThread::msleep(1000);
        QTest::qWait(2000);
        watch.stop();
        m.controls()->audibleTickButton()->setChecked(true);
        if (longestGapMs > Metronome::aheadNs / 1'000'000 - Metronome::periodMs(208))
            QSKIP(qPrintable(QStringLiteral("the GUI thread was held up for %1 ms at once").arg(longestGapMs)));
        QVERIFY(capture.waitForFrames(capture.frames() + SinkCapture::rate / 2, 3000));
        double a = 0, b = 0;
        QVERIFY(capture.sinkClock(from, capture.frames(), &a, &b));

        // Onsets: the first sound after a tenth of a second of silence.
        std::vector<qint64> onsets;
        qint64 quiet = SinkCapture::rate;
        for (qint64 f = from; f < capture.frames(); ++f) {
            const bool loud = qAbs(capture.samples()[size_t(2 * f)]) > 0.005f;
            if (loud && quiet >= SinkCapture::rate / 10)
                onsets.push_back(f);
            quiet = loud ? 0 : quiet + 1;
        }
        // Some 17 beats in five seconds, each 288 ms after the one before by the steady clock.
        QVERIFY2(onsets.size() >= 15, qPrintable(QString::number(onsets.size())));
        for (size_t i = 1; i < onsets.size(); ++i) {
            const double ms = b * double(onsets[i] - onsets[i - 1]) / 1e6;
            QVERIFY2(qAbs(ms - 288.0) < 5.0, qPrintable(QStringLiteral("beat %1 came %2 ms after the one before").arg(i).arg(ms)));
        }
    }
};

TONARIX_TEST_MAIN(TestMetronomeSound)
#include "tst_MetronomeSound.moc"
