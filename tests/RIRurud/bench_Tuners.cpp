// Speed of the tuner window:
//  - opening it: built and painted once (the pages behind the front one wait with their pictures);
//  - a click on a string button, up to its first sample at the sound server's sink (goal: median
//    at most 5 ms);
//  - switching pages with the explorer's buttons, up to the new page painted, at a device pixel
//    ratio of 2 (goal: median at most 16 ms, one frame);
//  - memory over 1,000 repeat ticks, with the tone files there and with them missing (goal: flat).
// Prints the medians with their goals.

#include "Median.h"
#include "SinkCapture.h"

#include "REZirudid/App.h"
#include "RIRurud/_Tuner/ButtonsPanel.h"
#include "RIRurud/_Tuner/GuitarTuner.h"
#include "RIRurud/_Tuner/TuneButton.h"
#include "RIRurud/_Tuner/TunersExplorer.h"
#include "RIRurud/_Tuner/TunersMainPage.h"
#include "TestMain.h"

#include "ProcessStatus.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <malloc.h>
#include <memory>
#include <vector>

using namespace RIRurud;
using TestAudio::SinkCapture;

namespace {

void click(QWidget* button)
{
    const QPoint c = button->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, c, button->mapToGlobal(c), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, c, button->mapToGlobal(c), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &release);
}

QString ms(double v)
{
    return QString::number(v, 'f', 2);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    TestSupport::IsolatedHome home;
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixBench"));
    QTextStream out(stdout);

    // 0. Opening the window.
    {
        std::vector<double> open;
        for (int round = 0; round < 7; ++round) {
            QElapsedTimer t;
            t.start();
            TunersMainPage window;
            (void)window.grab();
            open.push_back(t.nsecsElapsed() / 1e6);
        }
        out << "opening the tuner window, built and painted once: median " << ms(TestSupport::median(open)) << " ms\n";
        out.flush();
    }

    // 1. Switching pages.
    {
        TunersMainPage window;
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        window.hideAppOptionsOnEachPage();
        QList<QPushButton*> buttons;
        for (const TunerTables::Tuner& tuner : TunerTables::kTuners)
            buttons << window.explorer()->findChild<QPushButton*>(QLatin1String(tuner.name) + QStringLiteral("Button"));
        std::vector<double> first, again;
        for (int round = 0; round < 12; ++round) {
            for (QPushButton* button : buttons) {
                QElapsedTimer t;
                t.start();
                click(button);
                window.repaint();
                (round == 0 ? first : again).push_back(t.nsecsElapsed() / 1e6);
                QApplication::processEvents();
            }
        }
        out << "bench_tuners: window " << window.width() << " x " << window.height() << ", device pixel ratio "
            << app.devicePixelRatio() << "\n";
        out << "page switch, click to the new page painted: median " << ms(TestSupport::median(again))
            << " ms (goal <= 16 ms); first showing of each page " << ms(TestSupport::median(first)) << " ms (its picture is scaled once)\n";
        out.flush();
    }

    // 2. Click to the first sample at the sink.
    if (!SinkCapture::serverAnswers()) {
        out << "click to sound: not measured, no sound server answers\n";
    } else {
        TestAudio::PrivateSink sink;
        QString why;
        if (!sink.create(&why)) {
            out << "click to sound: not measured, " << why << "\n";
        } else {
            SinkCapture capture;
            capture.start(sink);
            GuitarTuner page;
            page.show();
            (void)QTest::qWaitForWindowExposed(&page);
            std::vector<double> placed, observed;
            int heard = 0;
            const int runs = 12;
            for (int i = 0; i < runs; ++i) {
                QTest::qWait(2300);   // the last tone has ended
                const qint64 from = capture.frames();
                const qint64 t0 = SinkCapture::nowNs();
                page.button(i % 6)->click();
                qint64 first = -1;
                QElapsedTimer wait;
                wait.start();
                while (first < 0 && wait.elapsed() < 2000) {
                    capture.waitForFrames(capture.frames() + 1, 50);
                    first = capture.firstLoudFrame(from, 0.001f);
                }
                if (first >= 0) {
                    ++heard;
                    placed.push_back((capture.timeOfFrame(first) - t0) / 1e6);
                    observed.push_back((capture.arrivalOfFrame(first) - t0) / 1e6);
                }
            }
            capture.stop();
            // The players play into the private sink: it must outlive the last of them.
            QTest::qWait(2600);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            out << "string button click to its first sample at the sink: median " << ms(TestSupport::median(placed))
                << " ms (goal <= 5 ms; observed at the capture " << ms(TestSupport::median(observed)) << " ms; " << heard << " of "
                << runs << " clicks heard)\n";
        }
    }

    // 3. Memory over 1,000 repeat ticks, tones there and tones missing. A tick comes every 20 ms
    // (5 every 100 ms): with two-second tones that keeps about 100 players sounding at once,
    // within what the sound server takes on one sink.
    out.flush();
    for (int pitch : {440, 441}) {
        app.setSettingsValue(QStringLiteral("Pitch"), pitch);
        GuitarTuner page;
        page.show();
        (void)QTest::qWaitForWindowExposed(&page);
        page.slotSetRepeatMode(true);
        page.buttonsPanel()->repeatTimer()->stop();
        page.button(0)->click();
        std::vector<long> rss, heap;
        const auto round = [&] {
            for (int batch = 0; batch < 200; ++batch) {
                for (int i = 0; i < 5; ++i)
                    page.buttonsPanel()->slotTimeOut();
                QTest::qWait(100);
            }
            QTest::qWait(2600);   // every tone has ended and its player is gone
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            rss.push_back(TestSupport::residentKb());
            heap.push_back(long(mallinfo2().uordblks / 1024));
        };
        for (int i = 0; i < 4; ++i)
            round();
        out << "1,000 repeat ticks a round " << (pitch == 440 ? "(tone files there)" : "(tone files missing)")
            << ": resident " << rss[0] << " / " << rss[1] << " / " << rss[2] << " / " << rss[3] << " kB, heap in use "
            << heap[0] << " / " << heap[1] << " / " << heap[2] << " / " << heap[3] << " kB after rounds 1-4"
            << " (goal: flat after the first)\n";
        out.flush();
    }
    out.flush();
    return 0;
}
