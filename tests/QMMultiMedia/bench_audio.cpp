// How fast a note starts and whether playing many notes costs memory.
//
//  - latency: from play() to the first non-silent sample captured at the sink's monitor (median
//    of repeated notes); "observed" is when the capture received it (an upper bound), "placed" is
//    that time moved back by the sample's place in the captured block.
//  - memory: peak resident size while 1,000 fire-and-forget notes are played (20 every 100 ms,
//    as fast clicking would), and after 1,000 clicks on a missing file.

#include "Median.h"
#include "SinkCapture.h"
#include "ToneFiles.h"

#include "QMMultiMedia/NativeAudioPlayer.h"

#include "ProcessStatus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace QMMultiMedia;

namespace {

void waitAllGone(const QVector<QPointer<NativeAudioPlayer>>& players, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs
           && std::any_of(players.begin(), players.end(), [](const QPointer<NativeAudioPlayer>& p) { return !p.isNull(); })) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::qWait(20);
    }
}

int livePlayers(const QVector<QPointer<NativeAudioPlayer>>& players)
{
    return int(std::count_if(players.begin(), players.end(), [](const QPointer<NativeAudioPlayer>& p) { return !p.isNull(); }));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString note = dir.filePath("note.mp3");
    if (!TestAudio::writeTone(note, 440.0, 0.3, 2, 0.5f)) {
        std::printf("could not write the test note\n");
        return 1;
    }

    // Latency.
    if (!TestAudio::SinkCapture::serverAnswers()) {
        std::printf("latency: not measured, no sound server answers\n");
    } else {
        TestAudio::SinkCapture capture;
        if (!capture.start()) {
            std::printf("latency: not measured, the sink cannot be captured\n");
        } else {
            std::vector<double> observed, placed;
            const int runs = 15;
            for (int i = 0; i < runs; ++i) {
                QTest::qWait(150);
                const qint64 from = capture.frames();
                const qint64 t0 = TestAudio::SinkCapture::nowNs();
                QPointer<NativeAudioPlayer> p = NativeAudioPlayer::playOnce(note);
                QElapsedTimer wait;
                wait.start();
                qint64 first = -1;
                while (first < 0 && wait.elapsed() < 2000) {
                    capture.waitForFrames(capture.frames() + 1, 50);
                    first = capture.firstLoudFrame(from, 0.001f);
                }
                if (first >= 0) {
                    placed.push_back((capture.timeOfFrame(first) - t0) / 1e6);
                    observed.push_back((capture.arrivalOfFrame(first) - t0) / 1e6);
                }
                waitAllGone({p}, 3000);
            }
            std::printf("latency play() -> first sound at the sink, median of %d notes:\n", int(observed.size()));
            if (observed.empty()) {
                std::printf("  no note was heard at the sink   goal: at most 3 ms (NOT MET)\n");
            } else {
                std::printf("  observed %.1f ms (min %.1f, max %.1f), placed %.1f ms   goal: at most 3 ms (%s)\n",
                            TestSupport::median(observed), *std::min_element(observed.begin(), observed.end()),
                            *std::max_element(observed.begin(), observed.end()), TestSupport::median(placed),
                            TestSupport::median(observed) <= 3.0 ? "met" : "NOT MET");
            }
            capture.stop();
        }
    }

    // Memory while playing 1,000 notes, twice: the second round must not add to the first.
    const long startKb = TestSupport::processStatusKb("VmRSS:");
    std::vector<long> endKb;
    int left = 0;
    std::printf("memory, 1,000 notes a round (20 every 100 ms), resident at start %ld kB:\n", startKb);
    const int rounds = qEnvironmentVariableIsSet("BENCH_AUDIO_ROUNDS") ? qEnvironmentVariableIntValue("BENCH_AUDIO_ROUNDS") : 2;
    for (int round = 1; round <= rounds; ++round) {
        QVector<QPointer<NativeAudioPlayer>> players;
        std::vector<long> rssAt;
        int peakLive = 0;
        for (int batch = 0; batch < 50; ++batch) {
            for (int i = 0; i < 20; ++i)
                players.append(NativeAudioPlayer::playOnce(note));
            QTest::qWait(100);
            peakLive = std::max(peakLive, livePlayers(players));
            if ((batch + 1) % 10 == 0)
                rssAt.push_back(TestSupport::processStatusKb("VmRSS:"));
        }
        waitAllGone(players, 5000);
        std::printf("  round %d: after 200/400/600/800/1000 notes", round);
        for (long kb : rssAt)
            std::printf(" %ld", kb);
        endKb.push_back(TestSupport::processStatusKb("VmRSS:"));
        std::printf(" kB; peak %ld kB; after all ended %ld kB; at most %d players at once, %d left\n",
                    TestSupport::processStatusKb("VmHWM:"), endKb.back(), peakLive, livePlayers(players));
        left += livePlayers(players);
    }
    const long growthKb = endKb.size() > 1 ? endKb.back() - endKb[endKb.size() - 2] : 0;
    std::printf("  last round added %+ld kB   goal: flat (under 1 MB a round) and 0 players left (%s)\n", growthKb,
                growthKb < 1024 && left == 0 ? "met" : "NOT MET");

    // Clicks on a missing file must not leave players behind.
    QVector<QPointer<NativeAudioPlayer>> missing;
    const long beforeMissing = TestSupport::processStatusKb("VmRSS:");
    for (int i = 0; i < 1000; ++i)
        missing.append(NativeAudioPlayer::playOnce(dir.filePath("no-such-note.mp3")));
    waitAllGone(missing, 3000);
    std::printf("memory, 1,000 clicks on a missing file: %+ld kB, %d players left   goal: 0 players left\n",
                TestSupport::processStatusKb("VmRSS:") - beforeMissing, livePlayers(missing));
    return 0;
}
