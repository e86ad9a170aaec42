// Speed of the chord pages (1200 x 900, device pixel ratio 2):
//  - choosing a chord on the buttons panel, up to the diagram, the tablature and the photo drawn;
//  - playing a chord, from the play slot to its first sample at the sound server's sink;
//  - how far apart the notes of one chord start at the sink: the chord is played as tones of five
//    far-apart pitches with sharp onsets, and each tone's onset is found in the captured mix.
// Prints the medians with their goals.

#include "Median.h"
#include "SinkCapture.h"
#include "ToneFiles.h"

#include "REZirudid/App.h"
#include "RIRurud/ChordBook.h"
#include "RIRurud/ChordView.h"
#include "RIRurud/ChordsButtonsPanel.h"
#include "RIRurud/PianoChordsMainPage.h"
#include "RIRurud/UkuleleChordsMainPage.h"
#include "TestMain.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace RIRurud;

using TestSupport::verdict;

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void waitMs(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

std::unique_ptr<ChordsMainPage> makePage(bool piano)
{
    if (piano)
        return std::make_unique<PianoChordsMainPage>();
    return std::make_unique<UkuleleChordsMainPage>();
}

QStringList bankSounds(bool piano, int index)
{
    const QString bank = QStringLiteral(TONARIX_RESOURCES_DIR);
    return piano ? ChordBook::pianoSounds(bank, ChordBook::pianoTab(index))
                 : ChordBook::ukuleleSounds(bank, ChordBook::ukuleleTab(index));
}

// Amplitude of one frequency in a stretch of the captured left channel (Hann-windowed Goertzel).
double toneLevel(const std::vector<float>& stereo, qint64 start, int length, double hz)
{
    const double w = 2 * M_PI * hz / TestAudio::SinkCapture::rate;
    const double coeff = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (int i = 0; i < length; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * i / (length - 1));
        const double s = stereo[size_t(2 * (start + i))] * hann + coeff * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coeff * s1 * s2));
}

// The frame at which a tone first reaches half its steady level, or -1.
qint64 toneOnset(const std::vector<float>& stereo, qint64 from, qint64 to, double hz)
{
    const int window = 96;
    const int hop = 4;
    double steady = 0;
    for (qint64 f = from; f + window < to; f += hop)
        steady = std::max(steady, toneLevel(stereo, f, window, hz));
    if (steady <= 0)
        return -1;
    for (qint64 f = from; f + window < to; f += hop) {
        if (toneLevel(stereo, f, window, hz) >= steady * 0.5)
            return f + window / 2;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    TestSupport::IsolatedHome home;
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixBench"));
    QTextStream out(stdout);

    // 1. Choosing chords: every chord of the book, one click a step (a root, then a quality).
    for (bool piano : {false, true}) {
        auto page = makePage(piano);
        page->resize(1200, 900);
        page->show();
        settle();
        ChordsButtonsPanel* panel = page->buttonsPanel();
        ChordView* view = page->chordView();
        std::vector<double> clicks;
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < ChordBook::kChordCount; ++i) {
                QString spelling, suffix;
                ChordBook::splitChordName(ChordBook::chordName(i), &spelling, &suffix);
                for (QAbstractButton* button : {panel->rootButton(spelling), panel->qualityButton(suffix)}) {
                    if (button->isChecked())
                        continue;
                    QElapsedTimer t;
                    t.start();
                    button->click();
                    view->repaint();
                    clicks.push_back(t.nsecsElapsed() / 1e6);
                    settle();
                }
            }
        }
        out << QStringLiteral("bench_chords: %1 page %2 x %3, device pixel ratio %4\n")
                   .arg(piano ? "piano" : "ukulele")
                   .arg(page->width())
                   .arg(page->height())
                   .arg(app.devicePixelRatio());
        out << QStringLiteral("  chord chosen on the panel up to its three pictures drawn: median %1 ms over %2 clicks, "
                              "slowest %3 ms   goal: at most 8 ms (%4)\n")
                   .arg(TestSupport::median(clicks), 0, 'f', 2)
                   .arg(clicks.size())
                   .arg(*std::max_element(clicks.begin(), clicks.end()), 0, 'f', 2)
                   .arg(verdict(TestSupport::median(clicks) <= 8.0));
        out.flush();
    }

    // 2. and 3. Sound at the sink.
    if (!TestAudio::SinkCapture::serverAnswers()) {
        out << "  chord sound: not measured, no sound server answers\n";
        return 0;
    }
    TestAudio::SinkCapture capture;
    if (!capture.start()) {
        out << "  chord sound: not measured, the sink cannot be captured\n";
        return 0;
    }
    for (bool piano : {false, true}) {
        auto page = makePage(piano);
        std::vector<double> observed, placed;
        for (int i = 0; i < 11; ++i) {
            const QStringList sounds = bankSounds(piano, i * 12);   // one chord of every quality
            waitMs(150);
            const qint64 from = capture.frames();
            const qint64 t0 = TestAudio::SinkCapture::nowNs();
            page->slotPlayChord(sounds);
            QElapsedTimer wait;
            wait.start();
            qint64 first = -1;
            while (first < 0 && wait.elapsed() < 2000) {
                capture.waitForFrames(capture.frames() + 1, 20);
                first = capture.firstLoudFrame(from, 0.001f);
            }
            if (first >= 0) {
                placed.push_back((capture.timeOfFrame(first) - t0) / 1e6);
                observed.push_back((capture.arrivalOfFrame(first) - t0) / 1e6);
            }
            waitMs(2600);   // the chord dies away
        }
        out << QStringLiteral("  %1 chord played to its first sample at the sink, median of %2 chords: placed %3 ms, "
                              "observed %4 ms   goal: at most 5 ms (%5)\n")
                   .arg(piano ? "piano" : "ukulele")
                   .arg(placed.size())
                   .arg(TestSupport::median(placed), 0, 'f', 1)
                   .arg(TestSupport::median(observed), 0, 'f', 1)
                   .arg(verdict(!placed.empty() && TestSupport::median(placed) <= 5.0));
        out.flush();
    }

    QTemporaryDir dir;
    const double pitches[5] = {1000, 2500, 4000, 5500, 7000};
    QStringList tones;
    for (double hz : pitches) {
        const QString path = dir.filePath(QStringLiteral("tone%1.mp3").arg(int(hz)));
        TestAudio::writeTone(path, hz, 0.4, 2, 0.18f);
        tones << path;
    }
    UkuleleChordsMainPage page;
    std::vector<double> spreads;
    int incomplete = 0;
    for (int run = 0; run < 15; ++run) {
        waitMs(200);
        const qint64 from = capture.frames();
        page.slotPlayChord(tones);
        capture.waitForFrames(from + TestAudio::SinkCapture::rate * 6 / 10, 3000);
        const qint64 to = capture.frames();
        std::vector<qint64> onsets;
        for (double hz : pitches)
            onsets.push_back(toneOnset(capture.samples(), from, to, hz));
        if (std::find(onsets.begin(), onsets.end(), qint64(-1)) != onsets.end()) {
            ++incomplete;
        } else {
            const auto [lo, hi] = std::minmax_element(onsets.begin(), onsets.end());
            spreads.push_back(double(*hi - *lo) * 1000.0 / TestAudio::SinkCapture::rate);
        }
        waitMs(900);
    }
    out << QStringLiteral("  five notes of one chord, first to last onset at the sink: median %1 ms, widest %2 ms over %3 "
                          "chords (%4 not heard whole)   goal: within 2 ms (%5)\n")
               .arg(TestSupport::median(spreads), 0, 'f', 2)
               .arg(spreads.empty() ? 0.0 : *std::max_element(spreads.begin(), spreads.end()), 0, 'f', 2)
               .arg(spreads.size())
               .arg(incomplete)
               .arg(verdict(!spreads.empty() && TestSupport::median(spreads) <= 2.0));
    out.flush();
    return 0;
}
