// The metronome on time and what it costs.
//
//  - At the sound server's sink (a null sink of the benchmark's own, captured through its
//    monitor): 200 beats at 208 bpm and 50 at 38 bpm, four beats a bar (the bell on every first
//    beat), while the face animates at a device pixel ratio of 2; then the same with the GUI
//    thread held up for a second once every ten beats. Each beat's onset is found by matching the
//    start of its sound (the bell or the tick) near its place on the grid that starts at the first
//    onset and steps by the timer's period (60000 / bpm ms). Also: how far the heard beat lies
//    from the paint of the face that shows it.
//  - Cost at 120 bpm, face animating, nothing capturing: CPU time of the whole process against
//    the time that passed, and how often the GUI thread wakes; the same of GTick (Debian's
//    metronome) playing beside it on the same sink, when it is installed.
//  - Against a simulated card clock 100 ppm fast and 100 ppm slow, sixty minutes of beats at
//    120 bpm (fake sound server, simulated time, the GUI thread held up for a second every ten
//    beats, short test sounds): how far each beat is heard from its place on the grid, and the
//    largest step from one beat to the next (a jump).
//
// The grid is on the steady clock (the face's); the sink's frames are mapped onto it by the
// sink's own clock, measured from when the captured blocks arrive.

#include "FakeAudioBackend.h"
#include "Median.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"
#include "REZirudid/App.h"
#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeControls.h"
#include "RIRurud/MetronomeStyle.h"
#include "SinkCapture.h"
#include "TestMain.h"
#include "ToneFiles.h"

#include <QAction>
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
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace RIRurud;

namespace {

const char* verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

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

void measure(const Run& run, TimedMetronome& metronome, TestAudio::SinkCapture& capture, const std::vector<float>& bell,
             const std::vector<float>& tick)
{
    MetronomeControls* controls = metronome.controls();
    const int period = Metronome::periodMs(run.bpm);
    controls->beatsAction(4)->trigger();
    controls->audibleTickButton()->setChecked(false);
    controls->setSelectListItem(run.bpm);
    controls->setInterval(run.bpm);
    const qint64 from = capture.frames();
    const size_t paintsFrom = metronome.paintAtNs.size();
    QTimer stall;
    stall.setTimerType(Qt::PreciseTimer);
    QObject::connect(&stall, &QTimer::timeout, [] { QThread::msleep(1000); });
    if (run.stallEvery)
        stall.start(period * run.stallEvery + period / 2);
    runFor(int((run.beats + 0.5) * period + 300));
    stall.stop();
    // Silence before the next run (beats on their way fall silent too), and let the last ring out.
    controls->audibleTickButton()->setChecked(true);
    runFor(1000);
    const std::vector<float>& samples = capture.samples();

    const qint64 loud = capture.firstLoudFrame(from, 0.01f);
    double a = 0, b = 0;
    if (loud < 0 || !capture.sinkClock(from, capture.frames(), &a, &b)) {
        std::printf("  %d bpm: nothing heard at the sink\n", run.bpm);
        return;
    }
    // The grid is on the steady clock; the sink's frames are mapped onto it by the sink's own
    // clock (a null sink need not run at exactly its nominal rate either).
    const auto nsOf = [&](double frame) { return a + b * frame; };
    const auto frameOf = [&](double ns) { return (ns - a) / b; };
    // Each beat is looked for within 30 ms of its place on the grid, as the bell or the tick,
    // whichever matches better.
    const qint64 window = TestAudio::SinkCapture::rate * 30 / 1000;
    std::vector<qint64> onsets;
    auto matchBeat = [&](qint64 lo, qint64 hi) {
        const auto m1 = bestMatch(samples, bell, lo, hi);
        const auto m2 = bestMatch(samples, tick, lo, hi);
        return m1.second >= m2.second ? m1 : m2;
    };
    const double grid0 = nsOf(double(matchBeat(loud - 300, loud + 50).first));
    std::vector<double> dev;
    int weak = 0;
    for (int n = 0; n < run.beats; ++n) {
        const double expectedNs = grid0 + n * period * 1e6;
        const qint64 expected = qint64(std::llround(frameOf(expectedNs)));
        const auto match = matchBeat(expected - window, expected + window);
        // A beat missing or stacked on another matches weakly.
        if (match.second < 0.5 || match.second > 1.5) {
            ++weak;
            continue;
        }
        onsets.push_back(match.first);
        dev.push_back((nsOf(double(match.first)) - expectedNs) / 1e6);
    }
    // Deviations from the grid through the beats' median place; a beat missing or stacked counts
    // as off by the whole window.
    const double phase = TestSupport::median(dev);
    std::vector<double> absDev;
    for (double d : dev)
        absDev.push_back(std::fabs(d - phase));
    absDev.insert(absDev.end(), size_t(weak), 30.0);
    const double med = TestSupport::median(absDev);
    const double mx = *std::max_element(absDev.begin(), absDev.end());
    const double sinkPpm = (1e9 / b / TestAudio::SinkCapture::rate - 1.0) * 1e6;

    // The face that shows each beat: the paint nearest to the beat's heard time.
    std::vector<double> faceToSound;
    for (qint64 onset : onsets) {
        const double heardNs = nsOf(double(onset));
        double nearest = 1e300;
        for (size_t i = paintsFrom; i < metronome.paintAtNs.size(); ++i) {
            const double d = (heardNs - metronome.paintAtNs[i]) / 1e6;
            if (std::fabs(d) < std::fabs(nearest))
                nearest = d;
        }
        if (nearest < 1e299)
            faceToSound.push_back(nearest);
    }
    std::vector<double> paints(metronome.paintMs.begin() + long(paintsFrom), metronome.paintMs.end());
    std::vector<double> absFace;
    for (double d : faceToSound)
        absFace.push_back(std::fabs(d));

    std::printf("  %d bpm (period %d ms), %d beats%s, the sink's clock %+.0f ppm:\n", run.bpm, period, run.beats,
                run.stallEvery ? ", GUI thread held up 1 s every 10 beats" : "", sinkPpm);
    std::printf("    off the grid: median %.3f ms, max %.3f ms, %d beats missing or stacked   goal: median <= 1 ms, "
                "max <= 4 ms (%s)\n", med, mx, weak, verdict(med <= 1.0 && mx <= 4.0));
    std::printf("    face: %zu paints, median %.1f ms each; heard beat from the paint of its face: median %.1f ms (the sound %.1f ms %s it)   "
                "goal: at most 5 ms (%s)\n", paints.size(), TestSupport::median(paints), TestSupport::median(absFace), std::fabs(TestSupport::median(faceToSound)),
                TestSupport::median(faceToSound) < 0 ? "before" : "after",
                verdict(!absFace.empty() && TestSupport::median(absFace) <= 5.0));
}

// Times the GUI thread went to sleep (waiting for events) and was woken again.
long threadWakeups()
{
    QFile status(QStringLiteral("/proc/self/task/%1/status").arg(getpid()));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    long n = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("voluntary_ctxt_switches:"))
            n += line.mid(line.indexOf(':') + 1).trimmed().toLong();
    }
    return n;
}

double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A peer metronome on the same sink and display: the Debian metronome GTick at the same tempo,
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

void measureCost(TimedMetronome& metronome)
{
    MetronomeControls* controls = metronome.controls();
    controls->audibleTickButton()->setChecked(false);
    controls->setSelectListItem(120);
    controls->setInterval(120);
    PeerMetronome peer;
    runFor(2000);
    QElapsedTimer wall;
    wall.start();
    const double cpu = cpuSeconds();
    const long wakeups = threadWakeups();
    const double peerCpu = peer.cpuSeconds();
    const long peerWakeups = peer.wakeups();
    runFor(30000);
    const double seconds = wall.elapsed() / 1000.0;
    const double percent = (cpuSeconds() - cpu) / seconds * 100.0;
    std::printf("  120 bpm for %.0f s, face animating: %.2f %% of one core, GUI thread woke %.1f times a second   "
                "goal: at most 1 %% (%s)\n", seconds, percent, (threadWakeups() - wakeups) / seconds, verdict(percent <= 1.0));
    if (peer.isRunning())
        std::printf("  beside it on the same sink, GTick at 120 bpm, four beats, visual tick: %.2f %% of one core, its main "
                    "thread woke %.1f times a second\n", (peer.cpuSeconds() - peerCpu) / seconds * 100.0,
                    (peer.wakeups() - peerWakeups) / seconds);
    else
        std::printf("  peer metronome (GTick): not measured, %s\n", qPrintable(peer.why()));
    controls->audibleTickButton()->setChecked(true);
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

    std::printf("metronome against a simulated card clock:\n");
    {
        // Short sounds with silence between them, so that each onset is plain to see.
        QTemporaryDir sounds;
        TestAudio::writeTone(sounds.filePath(QStringLiteral("tick.wav")), 1000, 0.03, 1, 0.6f);
        TestAudio::writeTone(sounds.filePath(QStringLiteral("bell.wav")), 700, 0.06, 1, 0.6f);
        for (double ppm : {100.0, -100.0}) {
            if (!qEnvironmentVariableIsSet("BENCH_COST_ONLY"))
                simulateCardClock(ppm, sounds.path() + QLatin1Char('/'));
        }
    }

    std::printf("metronome timing at the sink, face animating at device pixel ratio %.0f:\n", app.devicePixelRatio());
    if (!TestAudio::SinkCapture::serverAnswers()) {
        std::printf("  not measured: no sound server answers\n");
        return 0;
    }
    TestAudio::PrivateSink sink;
    QString why;
    if (!sink.create(&why)) {
        std::printf("  not measured: %s\n", qPrintable(why));
        return 0;
    }
    TimedMetronome metronome;
    metronome.setSoundDirectory(QStringLiteral(TONARIX_RESOURCES_DIR));
    metronome.resize(1200, 855);
    metronome.show();
    {
        TestAudio::SinkCapture capture;
        if (!capture.start(sink)) {
            std::printf("  not measured: the sink cannot be captured\n");
            return 0;
        }
        runFor(500);
        for (const Run& run : {Run{208, 200, 0}, Run{38, 50, 0}, Run{208, 200, 10}, Run{38, 50, 10}}) {
            if (!qEnvironmentVariableIsSet("BENCH_COST_ONLY"))
                measure(run, metronome, capture, attackOf(bell), attackOf(tick));
        }
    }
    std::printf("metronome cost:\n");
    measureCost(metronome);
    if (qEnvironmentVariableIsSet("BENCH_COST_ONLY")) {
        metronome.hide();
        measureCost(metronome);
    }
    return 0;
}
