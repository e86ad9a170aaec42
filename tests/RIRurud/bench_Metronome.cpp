// The metronome on time and what it costs. scripts/bench runs it once on each sound server.
//
//  - At the sound server's sink: a pipe sink of the benchmark's own with no keep-alive stream, so
//    that nothing keeps the server's latency (or PipeWire's quantum) small but the program's own
//    stream, the sink cannot be rewound, and what it rendered is captured exactly. Each run is a
//    new metronome, four beats a bar, started once the engine has closed its stream, while its face
//    animates at a device pixel ratio of 2: 120 and 208 bpm for a minute each, 38 bpm for 10
//    beats, and 208 bpm for 60 beats with the GUI thread held up for a second once every ten
//    beats. Each beat's onset is found by matching the start of its sound (the bell or the tick)
//    near its place on the grid that starts at the first onset and steps by the timer's period
//    (60000 / bpm ms): every beat is to be heard near its place, the bell on the first beat of
//    every bar (the very first included) and the tick on the others. On PulseAudio also: how far
//    the heard beat lies from the paint of the face that shows it. PulseAudio counts what waits in
//    the pipe in the sink's latency, so the pipe is read when the sink's clock has a frame heard;
//    PipeWire does not, and there a frame is read some 46 ms, what waits in the pipe, after it is
//    heard.
//  - Cost at 120 bpm, face animating, into a null sink with no keep-alive stream, nothing
//    capturing: CPU time of the whole process against the time that passed, and of each of its
//    busy threads with how often it wakes; the same of GTick (Debian's metronome) playing beside it
//    on the same server, when it is installed.
//  - Against a simulated card clock 100 ppm fast and 100 ppm slow, sixty minutes of beats at
//    120 bpm (fake sound server, simulated time, the GUI thread held up for a second every ten
//    beats, short test sounds): how far each beat is heard from its place on the grid, and the
//    largest step from one beat to the next (a jump). It needs no server: measured on the first
//    server's run only.
//
// The grid is on the steady clock (the face's); the sink's frames are mapped onto it by the
// sink's own clock, measured from when the captured blocks arrive.

#include "FakeAudioBackend.h"
#include "Median.h"
#include "QMMultiMedia/SoundServer.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"
#include "REZirudid/App.h"
#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeControls.h"
#include "RIRurud/MetronomeStyle.h"
#include "SinkCapture.h"
#include "TestMain.h"
#include "ToneFiles.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace RIRurud;

using TestSupport::verdict;

namespace {

// A metronome that times its own painting.
class TimedMetronome : public Metronome
{
public:
    std::vector<double> paintMs;
    std::vector<qint64> paintAtNs;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const qint64 start = TestAudio::SinkCapture::nowNs();
        Metronome::paintEvent(event);
        paintAtNs.push_back(start);
        paintMs.push_back((TestAudio::SinkCapture::nowNs() - start) / 1e6);
    }
};

// Runs the event loop for `ms`, as the program's own loop runs: it sleeps until the next event or
// timer (QTest::qWait would look at them only every 10 ms, so a timer would fire up to 10 ms late).
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// The left channel of a sound's first 8 ms, at the metronome's volume.
std::vector<float> attackOf(const QString& path)
{
    int rate = 0, channels = 0;
    const std::vector<float> all = QMMultiMedia::AudioFileReader::readAll(path, &rate, &channels);
    std::vector<float> a;
    for (qint64 i = 0; i < qint64(rate) * 8 / 1000 && i * channels < qint64(all.size()); ++i)
        a.push_back(all[size_t(i * channels)] * 0.5f);
    return a;
}

// The lag in [from, to) at which the capture best matches the attack, with the match's strength
// (1 for a perfect match).
std::pair<qint64, double> bestMatch(const std::vector<float>& capture, const std::vector<float>& attack, qint64 from, qint64 to)
{
    double energy = 0;
    for (float v : attack)
        energy += double(v) * v;
    qint64 best = -1;
    double bestScore = -1e300;
    const qint64 frames = qint64(capture.size() / 2);
    for (qint64 lag = qMax<qint64>(0, from); lag < to && lag + qint64(attack.size()) < frames; ++lag) {
        double dot = 0;
        for (size_t i = 0; i < attack.size(); ++i)
            dot += double(capture[size_t(2 * (lag + qint64(i)))]) * attack[i];
        if (dot > bestScore) {
            bestScore = dot;
            best = lag;
        }
    }
    return {best, energy > 0 ? bestScore / energy : 0};
}

struct Run
{
    int bpm;
    int beats;
    int stallEvery;  // hold the GUI thread up for a second once every so many beats (0: never)
};

// A new metronome at the run's tempo, four beats a bar, its face shown.
void startMetronome(TimedMetronome& metronome, int bpm)
{
    metronome.setSoundDirectory(QStringLiteral(TONARIX_RESOURCES_DIR));
    metronome.resize(1200, 855);
    metronome.show();
    MetronomeControls* controls = metronome.controls();
    controls->beatsAction(4)->trigger();
    controls->setSelectListItem(bpm);
    controls->setInterval(bpm);
}

void measure(const Run& run, const TestAudio::PrivateSink& sink, const std::vector<float>& bell,
             const std::vector<float>& tick)
{
    // The run's first beats open a new stream.
    TestAudio::SinkCapture capture;
    if (!QTest::qWaitFor([] { return !QMMultiMedia::AudioBackend::current()->engine()->isStreaming(); }, 10000)
        || !capture.start(sink)) {
        std::printf("  %d bpm: not measured, the stream stayed open or the sink cannot be captured\n", run.bpm);
        return;
    }
    const int period = Metronome::periodMs(run.bpm);
    const qint64 from = capture.frames();
    const std::shared_ptr<QMMultiMedia::AudioEngine> engine = QMMultiMedia::AudioBackend::current()->engine();
    const int underflows = engine->underflows();
    TimedMetronome metronome;
    startMetronome(metronome, run.bpm);
    QTimer stall;
    stall.setTimerType(Qt::PreciseTimer);
    QObject::connect(&stall, &QTimer::timeout, [] { QThread::msleep(1000); });
    if (run.stallEvery)
        stall.start(period * run.stallEvery + period / 2);
    runFor(int((run.beats + 0.5) * period + 300));
    stall.stop();
    // Silence (beats on their way fall silent too), and let the last ring out.
    metronome.controls()->audibleTickButton()->setChecked(true);
    runFor(1000);
    const std::vector<float>& samples = capture.samples();

    const qint64 loud = capture.firstLoudFrame(from, 0.01f);
    double a = 0, b = 0;
    if (loud < 0 || !capture.sinkClock(from, capture.frames(), &a, &b)) {
        std::printf("  %d bpm: nothing heard at the sink\n", run.bpm);
        return;
    }
    // The grid is on the steady clock; the sink's frames are mapped onto it by the sink's own
    // clock (a sink need not run at exactly its nominal rate either).
    const auto nsOf = [&](double frame) { return a + b * frame; };
    const auto frameOf = [&](double ns) { return (ns - a) / b; };
    // Each beat is looked for within 30 ms of its place on the grid, as the bell or the tick,
    // whichever matches better.
    const qint64 window = TestAudio::SinkCapture::rate * 30 / 1000;
    std::vector<qint64> onsets;
    struct Match
    {
        qint64 at;
        double strength;
        bool bell;
    };
    auto matchBeat = [&](qint64 lo, qint64 hi) {
        const auto m1 = bestMatch(samples, bell, lo, hi);
        const auto m2 = bestMatch(samples, tick, lo, hi);
        return m1.second >= m2.second ? Match {m1.first, m1.second, true} : Match {m2.first, m2.second, false};
    };
    const double grid0 = nsOf(double(matchBeat(loud - 300, loud + 50).at));
    std::vector<double> dev;
    int weak = 0, bars = 0, bells = 0, others = 0, ticks = 0;
    bool firstBell = false;
    for (int n = 0; n < run.beats; ++n) {
        const double expectedNs = grid0 + n * period * 1e6;
        const qint64 expected = qint64(std::llround(frameOf(expectedNs)));
        const Match match = matchBeat(expected - window, expected + window);
        const bool barStart = n % 4 == 0;
        bars += barStart;
        others += !barStart;
        // A beat missing or stacked on another matches weakly.
        if (match.strength < 0.5 || match.strength > 1.5) {
            ++weak;
            continue;
        }
        bells += barStart && match.bell;
        ticks += !barStart && !match.bell;
        if (n == 0)
            firstBell = match.bell;
        onsets.push_back(match.at);
        dev.push_back((nsOf(double(match.at)) - expectedNs) / 1e6);
    }
    // Deviations from the grid through the beats' median place; a beat missing or stacked counts
    // as off by the whole window.
    const double phase = TestSupport::median(dev);
    std::vector<double> absDev;
    for (double d : dev)
        absDev.push_back(std::fabs(d - phase));
    absDev.insert(absDev.end(), size_t(weak), 30.0);
    const double med = TestSupport::median(absDev);
    const auto worst = std::max_element(absDev.begin(), absDev.end());
    const double mx = *worst;
    const double sinkPpm = (1e9 / b / TestAudio::SinkCapture::rate - 1.0) * 1e6;

    // The face that shows each beat: the paint nearest to the beat's heard time.
    std::vector<double> faceToSound;
    for (qint64 onset : onsets) {
        const double heardNs = nsOf(double(onset));
        double nearest = 1e300;
        for (qint64 paintNs : metronome.paintAtNs) {
            const double d = (heardNs - paintNs) / 1e6;
            if (std::fabs(d) < std::fabs(nearest))
                nearest = d;
        }
        if (nearest < 1e299)
            faceToSound.push_back(nearest);
    }
    std::vector<double> absFace;
    for (double d : faceToSound)
        absFace.push_back(std::fabs(d));

    std::printf("  %d bpm (period %d ms), %d beats%s, the sink's clock %+.0f ppm:\n", run.bpm, period, run.beats,
                run.stallEvery ? ", GUI thread held up 1 s every 10 beats" : "", sinkPpm);
    std::printf("    %d of %d beats heard; off the grid: median %.3f ms, max %.3f ms (beat %d)   goal: every beat, "
                "median <= 1 ms, max <= 4 ms (%s)\n", run.beats - weak, run.beats, med, mx, int(worst - absDev.begin()),
                verdict(weak == 0 && med <= 1.0 && mx <= 4.0));
    std::printf("    the server ran dry %d times   goal: never (%s)\n", engine->underflows() - underflows,
                verdict(engine->underflows() == underflows));
    std::printf("    the bell on %d of %d bar starts (the first: %s), the tick on %d of %d other beats   goal: the bell on "
                "every bar start, the first included (%s)\n", bells, bars, firstBell ? "yes" : "no", ticks, others,
                verdict(bells == bars && ticks == others));
    std::printf("    face: %zu paints, median %.1f ms each", metronome.paintMs.size(), TestSupport::median(metronome.paintMs));
    if (!QMMultiMedia::SoundServer::instance().isPipeWire())
        std::printf("; heard beat from the paint of its face: median %.1f ms (the sound %.1f ms %s it)   goal: at most 5 ms "
                    "(%s)", TestSupport::median(absFace), std::fabs(TestSupport::median(faceToSound)),
                    TestSupport::median(faceToSound) < 0 ? "before" : "after",
                    verdict(!absFace.empty() && TestSupport::median(absFace) <= 5.0));
    else
        std::printf("; from the face to the sound: not measured (PipeWire leaves what waits in the pipe out of its latency)");
    std::printf("\n");
}

// What each thread of the process has used so far, by its name (the GUI thread's is "GUI thread"):
// nanoseconds on a core, and times it went to sleep (waiting for something) and was woken again.
struct ThreadUse
{
    double cpuNs = 0;
    long wakeups = 0;
};
std::map<QString, ThreadUse> threadUse()
{
    std::map<QString, ThreadUse> use;
    for (const QString& tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString dir = QStringLiteral("/proc/self/task/") + tid + QLatin1Char('/');
        QFile comm(dir + QStringLiteral("comm")), schedstat(dir + QStringLiteral("schedstat")), status(dir + QStringLiteral("status"));
        if (!comm.open(QIODevice::ReadOnly) || !schedstat.open(QIODevice::ReadOnly) || !status.open(QIODevice::ReadOnly))
            continue;
        ThreadUse& u = use[tid.toLongLong() == getpid() ? QStringLiteral("GUI thread") : QString::fromUtf8(comm.readAll().trimmed())];
        u.cpuNs += schedstat.readAll().split(' ').value(0).toDouble();
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                u.wakeups += line.mid(line.indexOf(':') + 1).trimmed().toLong();
        }
    }
    return use;
}

double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A peer metronome on the same server and display: the Debian metronome GTick at the same tempo,
// four beats a bar, its visual tick on, started by its own key (space) through xdotool.
class PeerMetronome
{
public:
    PeerMetronome()
    {
        const QString gtick = QStandardPaths::findExecutable(QStringLiteral("gtick"));
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (gtick.isEmpty() || xdotool.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY")) {
            m_why = QStringLiteral("gtick or xdotool is not installed, or there is no display");
            return;
        }
        QFile rc(m_home.filePath(QStringLiteral(".gtickrc")));
        if (!m_home.isValid() || !rc.open(QIODevice::WriteOnly)) {
            m_why = QStringLiteral("no folder for its settings");
            return;
        }
        rc.write("Speed = 120\nMeter = 4\nVisualTick = 1\n");
        rc.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(gtick, QStringList());
        QProcess find;
        find.start(xdotool, {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--pid"), QString::number(m_process.processId()), QStringLiteral("--name"),
                             QStringLiteral("GTick")});
        if (!m_process.waitForStarted(5000) || !find.waitForFinished(10000) || find.exitCode() != 0) {
            find.kill();
            m_why = QStringLiteral("its window did not come");
            return;
        }
        const QString window = QString::fromLatin1(find.readAllStandardOutput()).split(QLatin1Char('\n')).value(0);
        QProcess::execute(xdotool, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        QProcess::execute(xdotool, {QStringLiteral("key"), QStringLiteral("space")});
        m_running = true;
    }
    ~PeerMetronome()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    bool isRunning() const { return m_running && m_process.state() == QProcess::Running; }
    QString why() const { return m_why; }
    // CPU seconds of the whole process, and times its main thread went to sleep and woke.
    double cpuSeconds() const
    {
        const QList<QByteArray> f = readProc(QStringLiteral("stat")).split(' ');
        return f.size() > 15 ? (f[13].toDouble() + f[14].toDouble()) / double(sysconf(_SC_CLK_TCK)) : 0.0;
    }
    long wakeups() const
    {
        for (const QByteArray& line : readProc(QStringLiteral("task/%1/status").arg(m_process.processId())).split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                return line.mid(line.indexOf(':') + 1).trimmed().toLong();
        }
        return 0;
    }

private:
    QByteArray readProc(const QString& name) const
    {
        QFile f(QStringLiteral("/proc/%1/%2").arg(m_process.processId()).arg(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_home;
    QProcess m_process;
    QString m_why;
    bool m_running = false;
};

void measureCost(bool faceShown)
{
    TimedMetronome metronome;
    startMetronome(metronome, 120);
    if (!faceShown)
        metronome.hide();
    PeerMetronome peer;
    runFor(2000);
    QElapsedTimer wall;
    wall.start();
    const double cpu = cpuSeconds();
    const std::map<QString, ThreadUse> before = threadUse();
    const double peerCpu = peer.cpuSeconds();
    const long peerWakeups = peer.wakeups();
    runFor(20000);
    const double seconds = wall.elapsed() / 1000.0;
    const double percent = (cpuSeconds() - cpu) / seconds * 100.0;
    std::printf("  120 bpm for %.0f s, face %s: %.2f %% of one core   goal: at most 1 %% (%s)\n", seconds,
                faceShown ? "animating" : "hidden", percent, verdict(percent <= 1.0));
    // Where it goes: the threads that used a tenth of a percent or more, with how often they woke.
    std::printf("    by thread:");
    for (const auto& [name, now] : threadUse()) {
        const auto was = before.find(name);
        const ThreadUse from = was == before.end() ? ThreadUse() : was->second;
        const double share = (now.cpuNs - from.cpuNs) / 1e9 / seconds * 100.0;
        if (share >= 0.1 || name == QLatin1String("GUI thread"))
            std::printf(" %s %.2f %% (woke %.1f times a second);", qPrintable(name), share,
                        (now.wakeups - from.wakeups) / seconds);
    }
    std::printf("\n");
    if (peer.isRunning())
        std::printf("  beside it on the same server, GTick at 120 bpm, four beats, visual tick: %.2f %% of one core, its main "
                    "thread woke %.1f times a second\n", (peer.cpuSeconds() - peerCpu) / seconds * 100.0,
                    (peer.wakeups() - peerWakeups) / seconds);
    else
        std::printf("  peer metronome (GTick): not measured, %s\n", qPrintable(peer.why()));
}

// Sixty minutes of beats at 120 bpm against a card clock `ppm` off, in simulated time.
void simulateCardClock(double ppm, const QString& sounds)
{
    TestAudio::FakeAudioBackend backend;
    backend.ppm = ppm;
    backend.stepMs = 5;
    backend.keepFrames = false;
    Metronome m;
    m.setSoundDirectory(sounds);
    m.controls()->setInterval(120);
    const qint64 first = m.nextBeatNs();
    backend.advanceMs(1);
    std::vector<qint64> onsets;
    qint64 quiet = QMMultiMedia::AudioEngine::rate;
    backend.last()->onPlay = [&](qint64 frame, const float* s, qint64 n) {
        for (qint64 i = 0; i < n; ++i) {
            if (s[2 * i] == 0.0f && s[2 * i + 1] == 0.0f) {
                ++quiet;
                continue;
            }
            if (quiet >= QMMultiMedia::AudioEngine::rate / 10)
                onsets.push_back(frame + i - 1);  // the sounds' first sample is 0
            quiet = 0;
        }
    };
    const qint64 startNs = backend.last()->startNs;
    const qint64 until = first + 3600'000'000'000LL;
    for (int ticks = 1; m.nextBeatNs() < until; ++ticks) {
        const qint64 due = m.nextBeatNs() + (ticks % 10 == 0 ? 1'000'000'000 : 0);
        backend.advanceMs((due - backend.nowNs()) / 1e6);
        m.slotTick();
    }
    backend.advanceMs((until - backend.nowNs()) / 1e6);
    std::vector<double> offMs;
    double worstStep = 0;
    for (size_t n = 0; n < onsets.size(); ++n) {
        const double heardNs = startNs + double(onsets[n]) * 1e9 / (QMMultiMedia::AudioEngine::rate * (1.0 + ppm * 1e-6));
        offMs.push_back((heardNs - double(first + qint64(n) * 500'000'000)) / 1e6);
        if (n > 0)
            worstStep = qMax(worstStep, std::fabs(offMs[n] - offMs[n - 1]));
    }
    std::vector<double> absOff;
    for (double d : offMs)
        absOff.push_back(std::fabs(d));
    const double mx = absOff.empty() ? 0 : *std::max_element(absOff.begin(), absOff.end());
    std::printf("  card clock %+.0f ppm, 60 min at 120 bpm (GUI thread held up 1 s every 10 beats): %zu of 7200 beats, "
                "off the grid: median %.3f ms, max %.3f ms, largest step %.3f ms   goal: median <= 1 ms, max <= 4 ms, "
                "no jump (%s)\n", ppm, onsets.size(), TestSupport::median(absOff), mx, worstStep,
                verdict(onsets.size() == 7200 && TestSupport::median(absOff) <= 1.0 && mx <= 4.0 && worstStep < 0.5));
}

} // namespace

int main(int argc, char** argv)
{
    TestSupport::chooseSoundServer();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    TestSupport::IsolatedHome home;
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixBench"));
    app.setStyleSheet(metronomeStyleSheet());
    const QString bell = QStringLiteral(TONARIX_RESOURCES_DIR "bell.wav");
    const QString tick = QStringLiteral(TONARIX_RESOURCES_DIR "tick.wav");
    if (!QFile::exists(bell) || !QFile::exists(tick)) {
        std::printf("metronome: not measured, tick.wav or bell.wav is missing from %s\n", TONARIX_RESOURCES_DIR);
        return 0;
    }
    const bool costOnly = qEnvironmentVariableIsSet("BENCH_COST_ONLY");

    if (!TestSupport::benchSoundOnly() && !costOnly) {
        std::printf("metronome against a simulated card clock:\n");
        // Short sounds with silence between them, so that each onset is plain to see.
        QTemporaryDir sounds;
        TestAudio::writeTone(sounds.filePath(QStringLiteral("tick.wav")), 1000, 0.03, 1, 0.6f);
        TestAudio::writeTone(sounds.filePath(QStringLiteral("bell.wav")), 700, 0.06, 1, 0.6f);
        for (double ppm : {100.0, -100.0})
            simulateCardClock(ppm, sounds.path() + QLatin1Char('/'));
    }

    const QString server = TestSupport::soundServerDescription();
    std::printf("sound server: %s\n", server.isEmpty() ? "none answers" : qPrintable(server));
    const QString missing = TestAudio::SinkCapture::serverMissing();
    if (!missing.isEmpty()) {
        std::printf("metronome at the sink and its cost: not measured, %s\n", qPrintable(missing));
        return 0;
    }
    QString why;
    using TestAudio::PrivateSink;
    const auto create = [&](PrivateSink& sink) {
        if (sink.create(&why))
            return true;
        std::printf("  not measured: %s\n", qPrintable(why));
        return false;
    };
    if (!costOnly) {
        std::printf("metronome timing at the sink, face animating at device pixel ratio %.0f, pipe sink, no keep-alive "
                    "stream:\n", app.devicePixelRatio());
        PrivateSink pipe(PrivateSink::Kind::Pipe, PrivateSink::KeepAlive::Off);
        if (create(pipe)) {
            for (const Run& run : {Run {120, 120, 0}, Run {208, 208, 0}, Run {38, 10, 0}, Run {208, 60, 10}})
                measure(run, pipe, attackOf(bell), attackOf(tick));
        }
    }
    std::printf("metronome cost, into a null sink with no keep-alive stream, nothing capturing:\n");
    PrivateSink sink(PrivateSink::Kind::Null, PrivateSink::KeepAlive::Off);
    if (!create(sink))
        return 0;
    measureCost(true);
    if (costOnly)
        measureCost(false);
    return 0;
}
