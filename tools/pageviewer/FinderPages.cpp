// The instrument finder pages: a staff above the board, with the page's shop menu.
//
//   <instrument> [training [--answers K]] [--note C5#]
//
// training    switch the board to Training and start the trainer, so that a question is lit (not on
//             the piano, whose page has no training)
// --answers K with training: answer K questions on the keys, so that the counts and the bar show
// --note N    light note N (board form, e.g. "C5#") on the board and show it on the staff

#include "PageViewer.h"

#include "RIRurud/BalalaikaTonarixMainPage.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/BassZevezerMainPage.h"
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/FinderWidget.h"
#include "RIRurud/GuitarZevezerMainPage.h"
#include "RIRurud/MandolinTonarixMainPage.h"
#include "RIRurud/NotesTrainerWidget.h"
#include "RIRurud/PianoZevezerMainPage.h"
#include "RIRurud/UkuleleZevezerMainPage.h"
#include "RIRurud/ViolinZevezerMainPage.h"

#include <QPushButton>
#include <QTextStream>
#include <QTimer>

using namespace RIRurud;

namespace {

QWidget* showFinder(FinderMainPage* page, const QStringList& args)
{
    pageviewer::applyAppStyle(args);
    page->addShopMenu();

    // Every board has the board slots and, but for the piano's, the mode buttons by their object
    // names; the guitar and the piano are no BoardBase.
    auto* finder = qobject_cast<FinderWidget*>(page->finderWidget());
    QWidget* board = finder->boardWidget();
    auto* trainingButton = board->findChild<QPushButton*>(QStringLiteral("DualButtonRight"));
    DecoratedNotesWidget* staff = finder->decoratedNotesWidget();

    const QString note = pageviewer::optionValue(args, QStringLiteral("--note"));
    const bool training = args.contains(QLatin1String("training"));
    if (training && !trainingButton)
        QTextStream(stderr) << "this page has no training\n";
    const int answers = pageviewer::optionValue(args, QStringLiteral("--answers")).toInt();
    QTimer::singleShot(300, page, [=] {
        if (!note.isEmpty()) {
            const int accidental = note.endsWith(QLatin1Char('#')) ? 1 : 0;
            QMetaObject::invokeMethod(board, "slotSetNote", Q_ARG(QString, note.left(2)), Q_ARG(int, accidental));
            staff->slotShowNote(note.left(2), accidental);
        }
        if (training && trainingButton) {
            trainingButton->click();
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
PAGEVIEWER_PAGE(piano, "piano [--note C5#]") { return showFinder(new PianoZevezerMainPage, args); }
PAGEVIEWER_PAGE(guitar, FINDER_USAGE("guitar")) { return showFinder(new GuitarZevezerMainPage, args); }
PAGEVIEWER_PAGE(ukulele, FINDER_USAGE("ukulele")) { return showFinder(new UkuleleZevezerMainPage, args); }
PAGEVIEWER_PAGE(violin, FINDER_USAGE("violin")) { return showFinder(new ViolinZevezerMainPage, args); }
PAGEVIEWER_PAGE(bass, FINDER_USAGE("bass")) { return showFinder(new BassZevezerMainPage, args); }
