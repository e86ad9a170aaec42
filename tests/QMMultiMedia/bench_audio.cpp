// How fast a note starts, whether it starts whole, what adding a sound costs the GUI thread, and
// whether playing many notes costs memory. scripts/bench runs it once on each sound server.
//
//  - latency: play() to the first sample at the sink, the stream already open: 20 notes at uneven
//    times into a null sink of the benchmark's own with no keep-alive stream, captured through its
//    monitor at a large latency (SinkCapture::largeLatencyMs), which leaves the server's latency
//    (and PipeWire's quantum) to the program's stream. Each note is a click of noise whose first
//    frame is found to the frame by its shape, and that frame is timed by the sink's clock. Beside
//    it, where the engine placed the note: as far ahead of the frame it took to be heard as the
//    server reads ahead (AudioEngine::leadFrames()) and a write takes to get there. The two differ
//    by how far the engine's idea of the frame being heard is off the sink, and by the capture's
//    own error. PulseAudio's monitor has each block as soon as the null sink renders it, as far
//    ahead of the sink's clock as the sink's latency (what the program's stream asks for): a note
//    reaches it that much before the frame the engine placed it at. PipeWire's layer reports no
//    latency for its sink, and the engine takes a frame to be heard once the server has read it.
//  - whole: twenty single clicks at uneven times, the first opening a new stream, then four bursts
//    of ten a second, into a pipe sink with no keep-alive stream (it cannot be rewound, and the
//    capture is exactly what it rendered): how much of each click's start is missing.
//  - add(): AudioEngine::add() on the GUI thread while 32 voices play on the server and the
//    stream's thread mixes every change (each voice added is removed again at once).
//  - memory: peak resident size while 1,000 fire-and-forget notes are played (20 every 100 ms,
//    as fast clicking would), and after 1,000 clicks on a missing file. Measured on the first
//    server's run only.
//  - long and damaged files: for each, the time play() takes on the calling thread (and of it, the
//    thread's own CPU time), the time a seek to the middle takes, and how much the peak resident
//    size grows while it plays for a few seconds either side of the seek (started again before
//    each file); then the time a play list of them takes to fill, on the calling thread and until
//    a time (or its estimate) has come for each. The files: WAVs at 1 Hz of 4 kB and 2 MB, a 4-minute song (MP3 at
//    192 kbit/s with a title tag), a 60-minute MP3 at 128 kbit/s without a header of its length
//    after a 1 MB cover picture, and an hour's take as the recorder writes it (WAV, 44.1 kHz,
//    stereo, 16 bits). First server's run only.

#include "Median.h"
#include "NoiseClick.h"
#include "SinkCapture.h"
#include "ToneFiles.h"

#include "QMMultiMedia/AudioBackend.h"
#include "QMMultiMedia/DecodedSound.h"
#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/PlayListModel.h"
#include "QMMultiMedia/SoundServer.h"
#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include "ProcessStatus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <sys/resource.h>

using namespace QMMultiMedia;
using TestAudio::NoiseClick;
using TestAudio::PrivateSink;
using TestAudio::SinkCapture;

using TestSupport::verdict;

namespace {

double maxOf(const std::vector<double>& v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

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

// Waits until the engine has closed its stream, so that the next sound opens a new one.
bool streamClosed()
{
    return QTest::qWaitFor([] { return !AudioBackend::current()->engine()->isStreaming(); }, 10000);
}

void measureLatency(const PrivateSink& sink, const NoiseClick& click, const QString& path)
{
    std::printf("play() to the first sample at the sink, the stream open (null sink, no keep-alive stream, monitor "
                "captured at %d ms, timed by the sink's clock):\n", SinkCapture::largeLatencyMs);
    SinkCapture capture;
    if (!capture.start(sink)) {
        std::printf("  not measured: the sink cannot be captured\n");
        return;
    }
    const std::shared_ptr<AudioEngine> engine = AudioBackend::current()->engine();
    const int underflows = engine->underflows();
    // A first note opens the stream; by the next, the stream has told its clock and its lead. What
    // has been captured by then was played before the next.
    NativeAudioPlayer::playOnce(path);
    QTest::qWait(1000);
    const qint64 from = capture.frames();
    const double goalMs = SoundServer::instance().isPipeWire() ? 25.0 : 3.0;
    const int notes = 20;
    std::vector<qint64> asked;
    std::vector<double> aheadMs, leadMs;
    for (int i = 0; i < notes; ++i) {
        const qint64 lead = engine->leadFrames();
        leadMs.push_back(lead * 1000.0 / AudioEngine::rate);
        aheadMs.push_back(qMax(AudioEngine::marginFrames, lead + AudioEngine::transitFrames) * 1000.0 / AudioEngine::rate);
        asked.push_back(SinkCapture::nowNs());
        NativeAudioPlayer::playOnce(path);
        QTest::qWait(150 + (i * 37) % 100);
    }
    // The sink's clock is drawn through the blocks of a second after a frame.
    capture.waitForFrames(capture.frames() + SinkCapture::rate * 6 / 5, 3000);
    const std::vector<NoiseClick::Heard> heard = click.find(capture, from, notes);
    std::vector<double> latencyMs, offMs;
    for (size_t n = 0; n < heard.size(); ++n) {
        latencyMs.push_back((capture.timeOfFrame(heard[n].start) - asked[n]) / 1e6);
        offMs.push_back(latencyMs.back() - aheadMs[n]);
    }
    capture.stop();
    if (latencyMs.empty()) {
        std::printf("  no note was heard at the sink   goal: at most %.0f ms (NOT MET)\n", goalMs);
        return;
    }
    std::printf("  %zu of %d notes heard: median %.1f ms, max %.1f ms (min %.1f)   goal: median at most %.0f ms (%s)\n",
                latencyMs.size(), notes, TestSupport::median(latencyMs), maxOf(latencyMs),
                *std::min_element(latencyMs.begin(), latencyMs.end()), goalMs,
                verdict(int(latencyMs.size()) == notes && TestSupport::median(latencyMs) <= goalMs));
    std::printf("  the engine placed them %.1f ms ahead of the frame it took to be heard (median; the server reads "
                "%.1f ms ahead): heard %+.1f ms from there (median; from %+.1f to %+.1f)\n",
                TestSupport::median(aheadMs), TestSupport::median(leadMs), TestSupport::median(offMs),
                *std::min_element(offMs.begin(), offMs.end()), maxOf(offMs));
    std::printf("  the server ran dry %d times   goal: never (%s)\n", engine->underflows() - underflows,
                verdict(engine->underflows() == underflows));
}

void measureAdd(const QString& longTone, const QString& shortSound)
{
    const std::shared_ptr<AudioEngine> engine = AudioBackend::current()->engine();
    const std::shared_ptr<DecodedSound> tone = DecodedSound::open(longTone);
    const std::shared_ptr<DecodedSound> click = DecodedSound::open(shortSound);
    if (!tone || !click) {
        std::printf("AudioEngine::add(): not measured, the test sounds cannot be decoded\n");
        return;
    }
    tone->decode();
    click->decode();
    AudioEngine::VoiceSpec playing;
    playing.sound = tone;
    AudioEngine::VoiceSpec added;
    added.sound = click;
    playing.left = playing.right = 1.0f / 64;
    added.left = added.right = 1.0f / 64;
    std::vector<quint64> voices;
    for (int i = 0; i < 32; ++i) {
        playing.offset = i * AudioEngine::rate / 100;
        voices.push_back(engine->add(playing));
    }
    QTest::qWait(500);
    const int calls = 3000;
    std::vector<double> ms;
    // Of the calls over the goal: those in which the thread went to sleep (it waited for the
    // engine's lock), and those in which it was taken off its core (the machine ran something else).
    int slow = 0, slept = 0, preempted = 0;
    for (int i = 0; i < calls; ++i) {
        // At uneven times, as the events that add sounds come.
        QThread::usleep(unsigned(300 + (i * 7919) % 2000));
        rusage before {}, after {};
        getrusage(RUSAGE_THREAD, &before);
        const qint64 t0 = SinkCapture::nowNs();
        const quint64 id = engine->add(added);
        ms.push_back((SinkCapture::nowNs() - t0) / 1e6);
        getrusage(RUSAGE_THREAD, &after);
        if (ms.back() > 0.2) {
            ++slow;
            slept += after.ru_nvcsw != before.ru_nvcsw;
            preempted += after.ru_nivcsw != before.ru_nivcsw;
        }
        engine->remove(id);
        if (i % 50 == 0)
            QCoreApplication::processEvents();
    }
    const bool allPlaying = std::all_of(voices.begin(), voices.end(), [&](quint64 id) { return engine->state(id).playing; });
    for (quint64 id : voices)
        engine->remove(id);
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    std::printf("AudioEngine::add() on the GUI thread, 32 voices playing%s, %d calls: median %.4f ms, 99.9th "
                "percentile %.4f ms, max %.4f ms   goal: max at most 0.2 ms (%s)\n",
                allPlaying ? "" : " (some had ended)", calls, TestSupport::median(ms),
                sorted[size_t(double(calls) * 0.999)], sorted.back(), verdict(sorted.back() <= 0.2));
    if (slow)
        std::printf("  %d calls over 0.2 ms: in %d the thread waited for the engine's lock, in %d it was taken off its "
                    "core\n", slow, slept, preempted);
}

void measureWhole(const PrivateSink& sink, const NoiseClick& click, const QString& path)
{
    std::printf("notes whole: 20 single clicks, then 4 bursts of 10 a second, the first opening a new stream (pipe "
                "sink, no keep-alive stream):\n");
    SinkCapture capture;
    if (!streamClosed() || !capture.start(sink)) {
        std::printf("  not measured: the stream stayed open, or the sink cannot be captured\n");
        return;
    }
    const std::shared_ptr<AudioEngine> engine = AudioBackend::current()->engine();
    const int underflows = engine->underflows();
    NoiseClick::series([&] { NativeAudioPlayer::playOnce(path); });
    capture.waitForFrames(capture.frames() + SinkCapture::rate / 2, 3000);
    const std::vector<NoiseClick::Heard> heard = click.find(capture, 0, NoiseClick::seriesClicks);
    std::vector<double> missing;
    for (const NoiseClick::Heard& h : heard)
        missing.push_back(h.missingMs);
    const int worst = int(std::max_element(missing.begin(), missing.end()) - missing.begin());
    const bool extra = !heard.empty() && capture.firstLoudFrame(heard.back().next, 0.001f) >= 0;
    std::printf("  %zu of %d clicks heard%s; start missing: first click %.2f ms, median %.2f ms, max %.2f ms (click "
                "%d)   goal: at most 2 ms for every click (%s)\n",
                heard.size(), NoiseClick::seriesClicks, extra ? ", and sound after the last" : "",
                missing.empty() ? 0.0 : missing.front(), TestSupport::median(missing), maxOf(missing), worst + 1,
                verdict(int(heard.size()) == NoiseClick::seriesClicks && !extra && maxOf(missing) <= 2.0));
    std::printf("  the server ran dry %d times   goal: never (%s)\n", engine->underflows() - underflows,
                verdict(engine->underflows() == underflows));
}

void measureMemory(const QTemporaryDir& dir, const QString& note)
{
    // 1,000 notes a round, twice: the second round must not add to the first.
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
                verdict(growthKb < 1024 && left == 0));

    // Clicks on a missing file must not leave players behind.
    QVector<QPointer<NativeAudioPlayer>> missing;
    const long beforeMissing = TestSupport::processStatusKb("VmRSS:");
    for (int i = 0; i < 1000; ++i)
        missing.append(NativeAudioPlayer::playOnce(dir.filePath("no-such-note.mp3")));
    waitAllGone(missing, 3000);
    std::printf("memory, 1,000 clicks on a missing file: %+ld kB, %d players left   goal: 0 players left\n",
                TestSupport::processStatusKb("VmRSS:") - beforeMissing, livePlayers(missing));
}

// The long and damaged files; empty where one could not be made.
QStringList writeLongFiles(const QTemporaryDir& dir)
{
    const auto write = [&](const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() ? f.fileName() : QString();
    };
    QStringList files = {write("1hz-4k.wav", TestAudio::wavBytes(1, 1, 2000)),
                         write("1hz-2m.wav", TestAudio::wavBytes(1, 1, 1000000))};
    const QString song = dir.filePath("song.mp3");
    const QString tone = dir.filePath("tone.wav");
    const QString piece = dir.filePath("piece.mp3");
    const bool encoded = TestAudio::writeTone(tone, 330.0, 240.0, 2, 0.5f)
        && TestAudio::encodeMp3(tone, song, {"-b", "192", "--tt", "Song"})
        && TestAudio::writeTone(tone, 330.0, 10.0, 2, 0.5f) && TestAudio::encodeMp3(tone, piece, {"-b", "128", "-t"});
    QFile p(piece);
    files << (encoded ? song : QString())
          << (encoded && p.open(QIODevice::ReadOnly) ? write("hour.mp3", TestAudio::coverTag(1 << 20) + p.readAll().repeated(360))
                                                      : QString());
    // Written in stretches, as the recorder writes.
    AudioFileWriter take;
    const QString takePath = dir.filePath("take.wav");
    const std::vector<float> second = TestAudio::sineTone(330.0, 1.0, 2, 0.5f);
    bool written = take.open(takePath, AudioEngine::rate, 2);
    for (int s = 0; written && s < 3600; ++s)
        written = take.write(second.data(), AudioEngine::rate);
    files << (take.close() && written ? takePath : QString());
    return files;
}

void measureLongFiles(const QTemporaryDir& dir)
{
    std::printf("long and damaged files, each played for 2 s, sought to its middle and played for 2 s more:\n");
    const QStringList files = writeLongFiles(dir);
    for (const QString& path : files) {
        if (path.isEmpty()) {
            std::printf("  a file could not be made: not measured\n");
            continue;
        }
        malloc_trim(0);
        const bool peakReset = TestSupport::resetPeakResident();
        const long startKb = TestSupport::residentKb();
        NativeAudioPlayer player;
        QElapsedTimer t;
        t.start();
        const double cpu = TestSupport::threadCpuMs();
        player.play(path);
        const double playMs = t.nsecsElapsed() / 1e6;
        const double playCpuMs = TestSupport::threadCpuMs() - cpu;
        QTest::qWait(2000);
        t.restart();
        player.setPosition(player.duration() / 2);
        const double seekMs = t.nsecsElapsed() / 1e6;
        QTest::qWait(2000);
        const long peakKb = TestSupport::processStatusKb("VmHWM:") - startKb;
        std::printf("  %s (%.0f MB, %s): play() %.1f ms (its own CPU %.1f ms), seek %.1f ms; peak %+ld MB%s   goal: "
                    "play() at most 50 ms, at most 100 MB (%s)\n",
                    qPrintable(QFileInfo(path).fileName()), QFileInfo(path).size() / 1e6,
                    player.duration() > 0 ? qPrintable(QTime(0, 0).addMSecs(int(player.duration())).toString("h:mm:ss"))
                                          : "refused",
                    playMs, playCpuMs, seekMs, peakKb / 1024, peakReset ? "" : " (over the whole run)",
                    verdict(playMs <= 50 && peakKb < 100 * 1024));
    }
    PlayListModel model;
    QElapsedTimer t;
    t.start();
    model.setPlayList(files);
    const double fillMs = t.nsecsElapsed() / 1e6;
    const auto measured = [&] {
        for (int row = 2; row < model.rowCount(); ++row) {
            if (model.data(model.index(row), PlayListModel::DurationRole).toTime() == QTime(0, 0))
                return false;
        }
        return true;
    };
    const bool all = QTest::qWaitFor(measured, 60000);
    std::printf("  play list of them: setPlayList() %.1f ms; a time (or its estimate) for each after %lld ms%s   goal: "
                "at most 50 ms (%s)\n",
                fillMs, t.elapsed(), all ? "" : " (not all came within a minute)", verdict(fillMs <= 50));
}

} // namespace

int main(int argc, char** argv)
{
    TestSupport::chooseSoundServer();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString note = dir.filePath("note.mp3");
    const QString longTone = dir.filePath("long.wav");
    const QString clickPath = dir.filePath("click.wav");
    const NoiseClick click;
    if (!TestAudio::writeTone(note, 440.0, 0.3, 2, 0.5f) || !TestAudio::writeTone(longTone, 330.0, 10.0, 1, 0.5f)
        || !click.write(clickPath)) {
        std::printf("could not write the test sounds\n");
        return 1;
    }

    const QString server = TestSupport::soundServerDescription();
    const QString missing = SinkCapture::serverMissing();
    std::printf("sound server: %s\n", server.isEmpty() ? "none answers" : qPrintable(server));
    if (!missing.isEmpty()) {
        std::printf("latency, notes whole, add(): not measured, %s\n", qPrintable(missing));
    } else {
        QString why;
        {
            PrivateSink sink(PrivateSink::Kind::Null, PrivateSink::KeepAlive::Off);
            if (!sink.create(&why)) {
                std::printf("latency, add(): not measured, %s\n", qPrintable(why));
            } else {
                measureLatency(sink, click, clickPath);
                measureAdd(longTone, clickPath);
            }
        }
        PrivateSink pipe(PrivateSink::Kind::Pipe, PrivateSink::KeepAlive::Off);
        if (!pipe.create(&why))
            std::printf("notes whole: not measured, %s\n", qPrintable(why));
        else
            measureWhole(pipe, click, clickPath);
        // The players play into the private sinks: they must outlive the last of them.
        QTest::qWait(500);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    if (!TestSupport::benchSoundOnly()) {
        measureMemory(dir, note);
        measureLongFiles(dir);
    }
    return 0;
}
