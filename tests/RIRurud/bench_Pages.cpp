// Speed of the instrument page at 1200 x 900 with a device pixel ratio of 2:
//  - a mouse move over the staff that changes the note, up to the staff and the board repainted;
//  - a training key press, up to the next question drawn on the board.
// Prints the medians with their goals.

#include "REZirudid/App.h"
#include "RIRurud/BanjoBoard.h"
#include "RIRurud/BanjoTonarix.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/NotesTrainerWidget.h"
#include "RIRurud/NotesWidget.h"
#include "TestMain.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace RIRurud;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
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
               .arg(median(moves), 0, 'f', 3)
               .arg(changed)
               .arg(rounds + 10);
    out << QStringLiteral("  of which: staff move and repaint %1 ms, board repaint %2 ms\n")
               .arg(median(staffPaint), 0, 'f', 3)
               .arg(median(moves) - median(staffPaint), 0, 'f', 3);

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
               .arg(median(presses), 0, 'f', 3);
    out << QStringLiteral("  of which: press and release with the window's immediate repaint %1 ms, pending updates %2 ms;\n"
                          "  one paint of the board in training alone: %3 ms\n")
               .arg(median(answering), 0, 'f', 3)
               .arg(median(rest), 0, 'f', 3)
               .arg(median(boardPaint), 0, 'f', 3);

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
               .arg(median(slotOnly), 0, 'f', 4);
    out.flush();
    return 0;
}
