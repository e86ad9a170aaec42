// The metronome's beats on a fake sound server, in simulated time: on the grid against a card
// clock 100 ppm fast or slow over twenty minutes, with the GUI thread held up again and again; a
// server that stops for ten seconds drops the beats that came due meanwhile instead of stacking
// them, and nothing ever reaches full scale; a change of tempo or of the audible tick takes back
// the beats given ahead.
#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeControls.h"

#include "QMMultiMedia/AudioMix.h"
#include "QMMultiMedia/NativeAudioPlayer.h"

#include "FakeAudioBackend.h"
#include "ToneFiles.h"

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;
using QMMultiMedia::AudioEngine;

namespace {

// Beats as heard: a beat begins at the first sound after a tenth of a second of silence.
struct Onsets
{
    std::vector<qint64> frames;
    std::vector<float> peaks;
    float loudest = 0;
    qint64 quiet = AudioEngine::rate;
    void hear(qint64 frame, const float* stereo, qint64 count)
    {
        for (qint64 i = 0; i < count; ++i) {
            const float v = qMax(qAbs(stereo[2 * i]), qAbs(stereo[2 * i + 1]));
            loudest = qMax(loudest, v);
            if (v == 0.0f) {
                ++quiet;
                continue;
            }
            if (quiet >= AudioEngine::rate / 10) {
                frames.push_back(frame + i - 1);  // the sounds' first sample is 0
                peaks.push_back(0);
            }
            peaks.back() = qMax(peaks.back(), v);
            quiet = 0;
        }
    }
};

} // namespace

class TestMetronomeTiming : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Runs the metronome until `until` on the fake clock, ticking when each beat is heard, except
    // while the GUI thread is held up (then the tick comes late, once).
    static void run(TestAudio::FakeAudioBackend& backend, Metronome& m, qint64 until, qint64 stallEvery = 0,
                    qint64 stallNs = 0)
    {
        int ticks = 0;
        while (m.nextBeatNs() > 0 && m.nextBeatNs() < until) {
            qint64 next = m.nextBeatNs();
            if (stallEvery && ++ticks % stallEvery == 0)
                next += stallNs;
            backend.advanceMs((next - backend.nowNs()) / 1e6);
            m.slotTick();
        }
        backend.advanceMs((until - backend.nowNs()) / 1e6);
    }

    // A metronome on the test's sounds at a tempo; returns when its first beat is heard.
    qint64 start(Metronome& m, int bpm)
    {
        m.setSoundDirectory(m_dir.path() + "/");
        m.controls()->setInterval(bpm);
        return m.nextBeatNs();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(TestAudio::writeTone(m_dir.filePath("tick.wav"), 1000, 0.03, 1, 0.6f));
        QVERIFY(TestAudio::writeTone(m_dir.filePath("bell.wav"), 700, 0.06, 1, 0.6f));
        QVERIFY(TestAudio::writeTone(m_dir.filePath("chord.wav"), 220, 0.5, 1, 0.9f));
    }

    void onTheGridWhateverTheCardClock_data()
    {
        QTest::addColumn<double>("ppm");
        QTest::addColumn<TestAudio::ServerModel>("server");
        QTest::newRow("card 100 ppm fast") << 100.0 << TestAudio::immediateServer;
        QTest::newRow("card 100 ppm slow") << -100.0 << TestAudio::immediateServer;
        // Its clock reported in steps of a block, read a block ahead.
        QTest::newRow("PipeWire, card 100 ppm fast") << 100.0 << TestAudio::pipeWireServer;
    }
    void onTheGridWhateverTheCardClock()
    {
        QFETCH(double, ppm);
        QFETCH(TestAudio::ServerModel, server);
        TestAudio::FakeAudioBackend backend;
        backend.server = server;
        backend.ppm = ppm;
        backend.stepMs = server.steppedClock ? 1 : 5;
        backend.reportJitterUs = 50;
        backend.keepFrames = false;
        Onsets heard;
        Metronome m;
        const qint64 first = start(m, 120);
        backend.advanceMs(1);
        backend.last()->onPlay = [&](qint64 f, const float* s, qint64 n) { heard.hear(f, s, n); };
        const qint64 startNs = backend.last()->startNs;
        // Twenty minutes, the GUI thread held up for a second every ten beats.
        run(backend, m, first + 1200'000'000'000LL, 10, 1'000'000'000);
        QCOMPARE(backend.streams.size(), 1);
        QCOMPARE(int(heard.frames.size()), 2400);
        QCOMPARE(backend.last()->lateFrames, qint64(0));
        // A server that reports its clock in steps says a frame is heard up to a block before it
        // is: the grid is as far off as that, the same for every beat.
        std::vector<double> off;
        for (size_t n = 0; n < heard.frames.size(); ++n) {
            const double heardNs = startNs + double(heard.frames[n]) * 1e9 / (AudioEngine::rate * (1.0 + ppm * 1e-6));
            off.push_back((heardNs - double(first + qint64(n) * 500'000'000)) / 1e6);
        }
        std::vector<double> sorted = off;
        std::sort(sorted.begin(), sorted.end());
        const double grid = sorted[sorted.size() / 2];
        QVERIFY2(qAbs(grid) < 1.0 + server.block * 1000.0 / AudioEngine::rate,
                 qPrintable(QStringLiteral("the grid is %1 ms off").arg(grid)));
        double worst = 0, worstStep = 0;
        std::vector<double> fromGrid;
        for (size_t n = 0; n < off.size(); ++n) {
            fromGrid.push_back(qAbs(off[n] - (server.steppedClock ? grid : 0.0)));
            worst = qMax(worst, fromGrid.back());
            if (n > 0)
                worstStep = qMax(worstStep, qAbs(off[n] - off[n - 1]));
        }
        std::sort(fromGrid.begin(), fromGrid.end());
        // Reports in steps of a block tell the clock less closely: then a beat may move by more
        // from one to the next, though never a millisecond off the grid.
        QVERIFY2(fromGrid[fromGrid.size() / 2] < 0.5, qPrintable(QStringLiteral("beats %1 ms off the grid").arg(fromGrid[fromGrid.size() / 2])));
        QVERIFY2(worst < 1.0, qPrintable(QStringLiteral("a beat %1 ms off the grid").arg(worst)));
        QVERIFY2(worstStep < (server.steppedClock ? 1.0 : 0.25), qPrintable(QStringLiteral("a jump of %1 ms").arg(worstStep)));
    }

    void serverStoppedForTenSeconds()
    {
        // The server stops while the metronome goes on; when it runs again, the beats that came
        // due meanwhile are gone, the next ones are on the grid, and neither they nor a loud chord
        // over them reach full scale.
        TestAudio::FakeAudioBackend backend;
        Metronome m;
        const qint64 first = start(m, 120);
        // (Between two beats, well away from the end of what is written ahead when it stops.)
        run(backend, m, first + 2'750'000'000);
        backend.frozen = true;
        run(backend, m, first + 13'000'000'000);
        backend.frozen = false;
        for (int i = 0; i < 4; ++i)
            QMMultiMedia::NativeAudioPlayer::playOnce(m_dir.filePath("chord.wav"));
        run(backend, m, first + 16'000'000'000);
        Onsets heard;
        const auto& s = *backend.last();
        heard.hear(0, s.frames.data(), qint64(s.played));
        QVERIFY2(heard.loudest <= QMMultiMedia::mixCeiling, qPrintable(QString::number(heard.loudest)));
        // Beats 0 to 6 came before the stop or were written ahead; 7 to 25 came due while it lasted
        // and are not heard; beat 26, due as it ends, sounds with the chord (the following one is
        // lost in it); then the beats are on the grid, one at a time.
        std::vector<int> beats;
        for (size_t i = 0; i < heard.frames.size(); ++i) {
            const double ms = (s.startNs + heard.frames[i] * 1e9 / AudioEngine::rate - first) / 1e6;
            const int n = int(std::lround(ms / 500));
            beats.push_back(n);
            if (n >= 28) {
                QVERIFY2(qAbs(ms - n * 500) < 1.0, qPrintable(QStringLiteral("beat %1 at %2 ms").arg(n).arg(ms)));
                QVERIFY2(heard.peaks[i] < 0.35f, qPrintable(QStringLiteral("beat %1 peaks at %2").arg(n).arg(heard.peaks[i])));
            }
        }
        QCOMPARE(beats, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 26, 28, 29, 30, 31}));
    }

    void aMissedBlockMovesNoLaterBeat_data()
    {
        QTest::addColumn<bool>("missed");
        QTest::newRow("block missed") << true;
        QTest::newRow("reports a block low, none missed") << false;
    }
    void aMissedBlockMovesNoLaterBeat()
    {
        // PipeWire's layer misses a block of its graph (a busy machine held its thread up): the
        // beat on its way is heard a block late, and the next ones are on the grid again (as
        // closely as reports in steps of a block tell it). Reports that lie a block low for a
        // moment with no block missed move no beat.
        QFETCH(bool, missed);
        TestAudio::FakeAudioBackend backend;
        backend.server = TestAudio::pipeWireServer;
        backend.reportJitterUs = 50;
        Metronome m;
        const qint64 first = start(m, 120);
        backend.advanceMs(1);
        std::vector<double> offMs;
        const TestAudio::FakeStream& s = *backend.last();
        Onsets heard;
        backend.last()->onPlay = [&](qint64 f, const float* samples, qint64 n) {
            const size_t before = heard.frames.size();
            heard.hear(f, samples, n);
            if (heard.frames.size() > before) {
                const double ns = s.startNs + heard.frames.back() * 1e9 / AudioEngine::rate - first;
                offMs.push_back(ns / 1e6 - 500.0 * std::lround(ns / 500e6));
            }
        };
        run(backend, m, first + 10'000'000'000);
        if (missed)
            backend.missBlocks(1);
        else
            backend.laggingReports = 3;
        run(backend, m, first + 40'000'000'000);
        QCOMPARE(int(offMs.size()), 80);
        std::vector<double> sorted(offMs.begin(), offMs.begin() + 20);
        std::sort(sorted.begin(), sorted.end());
        const double grid = sorted[10];
        if (missed)
            QVERIFY2(offMs[20] - grid > 20.0, qPrintable(QString::number(offMs[20] - grid)));
        for (size_t n = 0; n < offMs.size(); ++n) {
            if (n != 20 || !missed)
                QVERIFY2(qAbs(offMs[n] - grid) < 1.0, qPrintable(QStringLiteral("beat %1 %2 ms off the grid").arg(n).arg(offMs[n] - grid)));
        }
    }

    void changesTakeBackWhatWasGiven()
    {
        // At 208 bpm some seven beats are given ahead. Muting takes back all that are not heard
        // yet; a new tempo starts its grid at the change.
        TestAudio::FakeAudioBackend backend;
        Metronome m;
        const qint64 first = start(m, 208);
        run(backend, m, first + 2'000'000'000);
        m.controls()->audibleTickButton()->setChecked(true);
        const qint64 mutedAt = backend.nowNs();
        run(backend, m, mutedAt + 2'000'000'000);
        m.controls()->audibleTickButton()->setChecked(false);
        m.controls()->setInterval(100);
        const qint64 changedAt = backend.nowNs();
        run(backend, m, changedAt + 2'900'000'000);
        Onsets heard;
        const auto& s = *backend.last();
        heard.hear(0, s.frames.data(), qint64(s.played));
        int before = 0;
        for (qint64 f : heard.frames) {
            const qint64 at = s.startNs + qint64(f * 1e9 / AudioEngine::rate);
            QVERIFY2(at < mutedAt + 5'000'000 || at > changedAt, "a beat sounded while muted");
            if (at < mutedAt) {
                ++before;
            } else {
                const double ms = (at - changedAt) / 1e6;
                QVERIFY2(qAbs(ms - 600 * std::lround(ms / 600)) < 1.0 && ms > 590, qPrintable(QString::number(ms)));
            }
        }
        QCOMPARE(before, 7);
        QCOMPARE(int(heard.frames.size()), 7 + 4);
    }
};

TONARIX_APP_TEST_MAIN(TestMetronomeTiming)
#include "tst_MetronomeTiming.moc"
