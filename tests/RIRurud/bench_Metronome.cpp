// The metronome on time: beats heard at the sound server's sink (a null sink of the benchmark's own,
// captured through its monitor) over 200 beats at 208 bpm and 50 beats at 38 bpm, four beats a bar
// (the bell on every first beat), while the face animates at a device pixel ratio of 2.
//
// Each beat's onset is found by matching the start of the sound it plays (the bell or the tick,
// decoded from the same files) against the capture near its expected place. Its deviation is taken
// from the grid that starts at the first onset and steps by the timer's period (60000 / bpm ms, an
// integer). Drift is the slope of the onsets against the grid (microseconds a beat) and the mean
// deviation of the last ten beats less that of the first ten. Also printed: how long the face takes
// to paint, and how far the heard beat lies from the face that shows it.

#include "Median.h"
#include "QMMultiMedia/AudioBackend.h"
#include "REZirudid/App.h"
#include "QMMultiMedia/DecodedSound.h"
#include "RIRurud/Metronome.h"
#include "RIRurud/MetronomeControls.h"
#include "RIRurud/MetronomeStyle.h"
#include "SinkCapture.h"
#include "TestMain.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace RIRurud;

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

// The left channel of a sound's first 8 ms, at the mixer's volume.
std::vector<float> attackOf(const QMMultiMedia::DecodedSound& sound)
{
    std::vector<float> a;
    const qint64 n = qMin<qint64>(sound.readyFrames(), sound.sampleRate() * 8 / 1000);
    for (qint64 i = 0; i < n; ++i)
        a.push_back(sound.samples()[i * sound.channels()] * 0.5f);
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
};

void measure(const Run& run, TimedMetronome& metronome, TestAudio::SinkCapture& capture, const std::vector<float>& bell,
             const std::vector<float>& tick)
{
    MetronomeControls* controls = metronome.controls();
    const int period = Metronome::periodMs(run.bpm);
    const double periodFrames = period * double(TestAudio::SinkCapture::rate) / 1000.0;
    controls->beatsAction(4)->trigger();
    controls->audibleTickButton()->setChecked(false);
    controls->setSelectListItem(run.bpm);
    controls->setInterval(run.bpm);
    const qint64 from = capture.frames();
    const size_t paintsFrom = metronome.paintAtNs.size();
    const int metronomeTicks = metronome.tickCount();
    QTest::qWait(int((run.beats + 0.5) * period + 300));
    // Silence before the next run (beats on their way fall silent too), and let the last ring out.
    controls->audibleTickButton()->setChecked(true);
    QTest::qWait(1000);
    const std::vector<float>& samples = capture.samples();
    const int ticked = metronome.tickCount() - metronomeTicks;

    // The first beat: the first loud frame, refined by matching.
    const qint64 loud = capture.firstLoudFrame(from, 0.01f);
    if (loud < 0) {
        std::printf("  %d bpm: nothing heard at the sink\n", run.bpm);
        return;
    }
    // Each beat is looked for within 30 ms of its place on the grid, as the bell or the tick,
    // whichever matches better.
    const qint64 window = TestAudio::SinkCapture::rate * 30 / 1000;
    std::vector<qint64> onsets;
    std::vector<double> strengths;
    int bells = 0;
    auto matchBeat = [&](qint64 lo, qint64 hi) {
        const auto b = bestMatch(samples, bell, lo, hi);
        const auto t = bestMatch(samples, tick, lo, hi);
        return b.second >= t.second ? std::make_pair(b, true) : std::make_pair(t, false);
    };
    const qint64 grid0 = matchBeat(loud - 300, loud + 50).first.first;
    QString pattern;
    for (int n = 0; n < run.beats; ++n) {
        const qint64 expected = grid0 + qint64(std::llround(n * periodFrames));
        const auto match = matchBeat(expected - window, expected + window);
        onsets.push_back(match.first.first);
        strengths.push_back(match.first.second);
        bells += match.second ? 1 : 0;
        if (n < 12)
            pattern += match.second ? 'B' : 't';
    }
    std::vector<double> dev, absDev;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int n = 0; n < run.beats; ++n) {
        const double d = (onsets[size_t(n)] - (grid0 + n * periodFrames)) * 1000.0 / TestAudio::SinkCapture::rate;
        dev.push_back(d);
        absDev.push_back(std::fabs(d));
        sx += n;
        sy += d;
        sxx += double(n) * n;
        sxy += n * d;
    }
    const double slopeUs = (run.beats * sxy - sx * sy) / (run.beats * sxx - sx * sx) * 1000.0;
    auto meanOf = [&](int a, int b) {
        double s = 0;
        for (int i = a; i < b; ++i)
            s += dev[size_t(i)];
        return s / (b - a);
    };
    const double driftMs = meanOf(run.beats - 10, run.beats) - meanOf(0, 10);
    const int weak = int(std::count_if(strengths.begin(), strengths.end(), [](double s) { return s < 0.5; }));
    const double med = TestSupport::median(absDev);
    const double mx = *std::max_element(absDev.begin(), absDev.end());

    // The face that shows each beat: the paint nearest to the beat's heard time.
    std::vector<double> faceToSound;
    for (qint64 onset : onsets) {
        const qint64 heardNs = capture.timeOfFrame(onset);
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

    std::printf("  %d bpm (period %d ms), %d beats heard of %d ticked, 4 beats a bar:\n", run.bpm, period, run.beats, ticked);
    std::printf("    deviation from the grid: median %.3f ms, max %.3f ms   goal: median <= 1 ms, max <= 4 ms (%s)\n", med, mx,
                med <= 1.0 && mx <= 4.0 ? "met" : "NOT MET");
    std::printf("    drift: %+.2f us a beat, last ten beats %+.3f ms from the first ten   goal: none (%s)\n", slopeUs, driftMs,
                std::fabs(driftMs) <= 1.0 ? "met" : "NOT MET");
    std::printf("    bells %d, first beats %s...; beats matched weakly: %d\n", bells, qPrintable(pattern), weak);
    std::printf("    face: %zu paints, median %.1f ms, max %.1f ms each; heard beat after its face: median %.1f ms\n",
                paints.size(), TestSupport::median(paints), paints.empty() ? 0.0 : *std::max_element(paints.begin(), paints.end()),
                TestSupport::median(faceToSound));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    TestSupport::IsolatedHome home;
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixBench"));
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
    TestAudio::SinkCapture capture;
    if (!capture.start(sink.monitorName())) {
        std::printf("  not measured: the sink cannot be captured\n");
        return 0;
    }

    app.setStyleSheet(metronomeStyleSheet());
    TimedMetronome metronome;
    metronome.setSoundDirectory(QStringLiteral(TONARIX_RESOURCES_DIR));
    const auto bell = QMMultiMedia::DecodedSound::open(QStringLiteral(TONARIX_RESOURCES_DIR "bell.wav"));
    const auto tick = QMMultiMedia::DecodedSound::open(QStringLiteral(TONARIX_RESOURCES_DIR "tick.wav"));
    if (!bell || !tick) {
        std::printf("  not measured: tick.wav or bell.wav is missing from %s\n", TONARIX_RESOURCES_DIR);
        return 0;
    }
    metronome.resize(1200, 855);
    metronome.show();
    bell->decode();
    tick->decode();
    QTest::qWait(500);
    for (const Run& run : {Run{208, 200}, Run{38, 50}})
        measure(run, metronome, capture, attackOf(*bell), attackOf(*tick));
    capture.stop();
    return 0;
}
