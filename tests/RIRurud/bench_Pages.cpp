// Speed of the instrument pages at 1200 x 900 with a device pixel ratio of 2:
//  - a mouse move over the staff that changes the note, up to the staff and the board repainted
//    (the banjo's, and those of the other five pages: at most 2 ms on the guitar, whose table is
//    the largest, and on the piano);
//  - a training key press, up to the next question drawn on the board;
//  - a press on a piano key, up to the key drawn (at most 2 ms).
// Prints the medians with their goals.

#include "Median.h"
#include "REZirudid/App.h"
#include "RIRurud/BanjoBoard.h"
#include "RIRurud/BanjoTonarix.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/BassZevezerMainPage.h"
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/GuitarZevezerMainPage.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/NotesTrainerWidget.h"
#include "RIRurud/NotesWidget.h"
#include "RIRurud/PianoBoard.h"
#include "RIRurud/PianoZevezerMainPage.h"
#include "RIRurud/UkuleleZevezerMainPage.h"
#include "RIRurud/ViolinZevezerMainPage.h"
#include "TestMain.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

using namespace RIRurud;

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Staff moves on another instrument's page, alternating between two heights a few notes apart,
// each followed by the staff's and the board's repaint: the median of the moves that changed the
// note.
double staffMoves(FinderMainPage& page)
{
    auto* finder = qobject_cast<FinderWidget*>(page.finderWidget());
    NotesWidget* staff = finder->decoratedNotesWidget()->notesWidget();
    QWidget* board = finder->boardWidget();
    std::vector<double> moves;
    QString last;
    for (int i = 0; i < 210; ++i) {
        const QPoint p(staff->width() / 2, staff->height() * ((i % 2) ? 3 : 5) / 8);
        QElapsedTimer t;
        t.start();
        QMouseEvent move(QEvent::MouseMove, p, staff->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(staff, &move);
        staff->repaint();
        board->repaint();
        const double ms = t.nsecsElapsed() / 1e6;
        const bool changed = staff->currentName() != last;
        last = staff->currentName();
        if (i >= 10 && changed)
            moves.push_back(ms);
    }
    return TestSupport::median(moves);
}

// The other five pages: staff moves on each, then presses on the piano's keys, alternating between
// middle C (lower band) and the F#4 above it (upper band), each up to the lit key drawn with the
// staff following.
void otherPages(QTextStream& out)
{
    // Clicks sound nothing here: the sound's start is the player's business, not the board's.
    NoteName::setSoundHook([](const QString&) {});
    const struct
    {
        const char* name;
        std::function<FinderMainPage*()> make;
        bool withGoal;
    } pages[] = {
        {"guitar", [] { return new GuitarZevezerMainPage; }, true},
        {"piano", [] { return new PianoZevezerMainPage; }, true},
        {"ukulele", [] { return new UkuleleZevezerMainPage; }, false},
        {"violin", [] { return new ViolinZevezerMainPage; }, false},
        {"bass", [] { return new BassZevezerMainPage; }, false},
    };
    for (const auto& entry : pages) {
        std::unique_ptr<FinderMainPage> page(entry.make());
        page->resize(1200, 900);
        page->show();
        settle();
        QTest::qWait(300);   // the overlays are cut ahead on a worker after the first paint
        out << QStringLiteral("%1 page: staff move changing the note, staff and board repainted: median %2 ms%3\n")
                   .arg(QString::fromLatin1(entry.name))
                   .arg(staffMoves(*page), 0, 'f', 3)
                   .arg(entry.withGoal ? QStringLiteral(" (goal <= 2 ms)") : QString());
        out.flush();
    }

    PianoZevezerMainPage page;
    page.resize(1200, 900);
    page.show();
    settle();
    QTest::qWait(300);
    auto* piano = static_cast<PianoBoard*>(qobject_cast<FinderWidget*>(page.finderWidget())->boardWidget());
    std::vector<double> presses;
    for (int i = 0; i < 210; ++i) {
        const QPoint p(qRound((i % 2 ? 365.5 : 419.5) * piano->width() / 800.0),
                       qRound((i % 2 ? 125.0 : 90.0) * piano->height() / 194.0));
        QElapsedTimer t;
        t.start();
        QMouseEvent press(QEvent::MouseButtonPress, p, piano->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(piano, &press);
        piano->repaint();
        const double ms = t.nsecsElapsed() / 1e6;
        QMouseEvent release(QEvent::MouseButtonRelease, p, piano->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(piano, &release);
        settle();
        if (i >= 10)
            presses.push_back(ms);
    }
    out << QStringLiteral("piano key press up to the key drawn, the staff following: median %1 ms (goal <= 2 ms)\n")
               .arg(TestSupport::median(presses), 0, 'f', 3);
    NoteName::setSoundHook({});
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    TestSupport::IsolatedHome home;
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixBench"));
    QTextStream out(stdout);

    BanjoTonarixMainPage page;
    page.resize(1200, 900);
    page.show();
    settle();
    BanjoTonarix* finder = page.finder();
    NotesWidget* staff = finder->decoratedNotesWidget()->notesWidget();
    BanjoBoard* board = finder->board();
    NotesTrainerWidget* trainer = finder->decoratedNotesWidget()->trainerWidget();

    out << "bench_pages: banjo page " << page.width() << " x " << page.height()
        << ", device pixel ratio " << app.devicePixelRatio() << "\n";

    // 1. Staff moves, alternating between two heights a few notes apart.
    const int rounds = 200;
    std::vector<double> moves, staffPaint;
    QString lastLayer;
    int changed = 0;
    for (int i = 0; i < rounds + 10; ++i) {
        const QPoint p(staff->width() / 2, staff->height() * ((i % 2) ? 3 : 5) / 8);
        QElapsedTimer t;
        t.start();
        QMouseEvent move(QEvent::MouseMove, p, staff->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(staff, &move);
        staff->repaint();
        const double staffDone = t.nsecsElapsed() / 1e6;
        board->repaint();
        const double ms = t.nsecsElapsed() / 1e6;
        if (i >= 10)
            staffPaint.push_back(staffDone);
        if (board->currentLayerName() != lastLayer) {
            ++changed;
            lastLayer = board->currentLayerName();
        }
        if (i >= 10)
            moves.push_back(ms);
    }
    out << QStringLiteral("staff move changing the note, staff and board repainted: median %1 ms (goal <= 2 ms; %2 of %3 moves changed the board's note)\n")
               .arg(TestSupport::median(moves), 0, 'f', 3)
               .arg(changed)
               .arg(rounds + 10);
    out << QStringLiteral("  of which: staff move and repaint %1 ms, board repaint %2 ms\n")
               .arg(TestSupport::median(staffPaint), 0, 'f', 3)
               .arg(TestSupport::median(moves) - TestSupport::median(staffPaint), 0, 'f', 3);

    // 2. Training: press a key, until the next question is drawn.
    board->trainingButton()->click();
    trainer->startButton()->click();
    settle();
    std::vector<double> presses, answering, boardPaint, rest;
    for (int i = 0; i < rounds + 10; ++i) {
        QPushButton* key = trainer->key(i % 12);
        const QPoint c = key->rect().center();
        QElapsedTimer t;
        t.start();
        QMouseEvent press(QEvent::MouseButtonPress, c, key->mapToGlobal(c), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(key, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, c, key->mapToGlobal(c), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(key, &release);
        // The button repaints itself at once on press and release, which paints every dirty
        // widget of the window, the board with its new question included.
        const double answered = t.nsecsElapsed() / 1e6;
        QApplication::processEvents();   // whatever is still pending: counts, bar, clock
        const double ms = t.nsecsElapsed() / 1e6;
        QElapsedTimer b;
        b.start();
        board->repaint();                // the board's paint alone, for the breakdown
        if (i >= 10) {
            presses.push_back(ms);
            answering.push_back(answered);
            boardPaint.push_back(b.nsecsElapsed() / 1e6);
            rest.push_back(ms - answered);
        }
    }
    out << QStringLiteral("training key press up to the next note drawn: median %1 ms (goal <= 5 ms)\n")
               .arg(TestSupport::median(presses), 0, 'f', 3);
    out << QStringLiteral("  of which: press and release with the window's immediate repaint %1 ms, pending updates %2 ms;\n"
                          "  one paint of the board in training alone: %3 ms\n")
               .arg(TestSupport::median(answering), 0, 'f', 3)
               .arg(TestSupport::median(rest), 0, 'f', 3)
               .arg(TestSupport::median(boardPaint), 0, 'f', 3);

    // The trainer's own share: scoring, the report and the next note through board and staff,
    // without any painting.
    std::vector<double> slotOnly;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        trainer->slotGClicked();
        slotOnly.push_back(t.nsecsElapsed() / 1e6);
        QApplication::processEvents();
    }
    out << QStringLiteral("  the answer itself (score, report, next note through board and staff, no painting): %1 ms\n")
               .arg(TestSupport::median(slotOnly), 0, 'f', 4);
    out.flush();

    otherPages(out);
    out.flush();
    return 0;
}
