// The instrument finder pages: a staff above the board, with the page's shop menu.
//
//   <instrument> [training [--answers K]] [--note C5#]
//
// training    switch the board to Training and start the trainer, so that a question is lit
// --answers K with training: answer K questions on the keys, so that the counts and the bar show
// --note N    light note N (board form, e.g. "C5#") on the board and show it on the staff

#include "PageViewer.h"

#include "RIRurud/BalalaikaTonarixMainPage.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/BoardBase.h"
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/FinderWidget.h"
#include "RIRurud/MandolinTonarixMainPage.h"
#include "RIRurud/NotesTrainerWidget.h"

#include <QPushButton>
#include <QTimer>

using namespace RIRurud;

namespace {

QWidget* showFinder(FinderMainPage* page, const QStringList& args)
{
    pageviewer::applyAppStyle(args);
    page->addShopMenu();

    auto* finder = qobject_cast<FinderWidget*>(page->finderWidget());
    auto* board = qobject_cast<BoardBase*>(finder->boardWidget());
    DecoratedNotesWidget* staff = finder->decoratedNotesWidget();

    const QString note = pageviewer::optionValue(args, QStringLiteral("--note"));
    const bool training = args.contains(QLatin1String("training"));
    const int answers = pageviewer::optionValue(args, QStringLiteral("--answers")).toInt();
    QTimer::singleShot(300, page, [=] {
        if (!note.isEmpty()) {
            const int accidental = note.endsWith(QLatin1Char('#')) ? 1 : 0;
            board->slotSetNote(note.left(2), accidental);
            staff->slotShowNote(note.left(2), accidental);
        }
        if (training) {
            board->trainingButton()->click();
            NotesTrainerWidget* trainer = staff->trainerWidget();
            trainer->startButton()->click();
            for (int i = 0; i < answers; ++i)
                trainer->key((i * 5) % 12)->click();
        }
    });
    return page;
}

} // namespace

#define FINDER_USAGE(name) name " [training [--answers K]] [--note C5#]"

PAGEVIEWER_PAGE(banjo, FINDER_USAGE("banjo")) { return showFinder(new BanjoTonarixMainPage, args); }
PAGEVIEWER_PAGE(balalaika, FINDER_USAGE("balalaika")) { return showFinder(new BalalaikaTonarixMainPage, args); }
PAGEVIEWER_PAGE(mandolin, FINDER_USAGE("mandolin")) { return showFinder(new MandolinTonarixMainPage, args); }
