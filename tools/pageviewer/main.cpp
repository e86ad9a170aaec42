// Shows one instrument page alone in a window of 1200 x 900, for looking at it while developing.
//
//   pageviewer banjo|balalaika|mandolin [training] [--note C5#] [--grab file.png] [--plain]
//
// training    switch the board to Training and start the trainer, so that a question is lit
// --answers K with training: answer K questions on the keys, so that the counts and the bar show
// --note N    light note N (board form, e.g. "C5#") on the board and show it on the staff
// --grab F    save a picture of the window to F after a moment and quit
// --plain     leave out the application's style sheet

#include "REZirudid/App.h"
#include "RIRurud/BalalaikaTonarixMainPage.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/BoardBase.h"
#include "RIRurud/DecoratedNotesWidget.h"
#include "RIRurud/FinderWidget.h"
#include "RIRurud/MandolinTonarixMainPage.h"
#include "RIRurud/NotesTrainerWidget.h"

#ifdef TONARIX_APP_STYLE
#include "TonarixStyle.h"
#endif

#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <memory>

using namespace RIRurud;

int main(int argc, char** argv)
{
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixPageViewer"));
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        err << "usage: pageviewer banjo|balalaika|mandolin [training [--answers K]] [--note C5#] [--grab file.png] [--plain]\n";
        return 2;
    }

    std::unique_ptr<FinderMainPage> page;
    const QString instrument = args.first().toLower();
    if (instrument == QLatin1String("banjo"))
        page = std::make_unique<BanjoTonarixMainPage>();
    else if (instrument == QLatin1String("balalaika"))
        page = std::make_unique<BalalaikaTonarixMainPage>();
    else if (instrument == QLatin1String("mandolin"))
        page = std::make_unique<MandolinTonarixMainPage>();
    else {
        err << "unknown instrument: " << instrument << "\n";
        return 2;
    }

#ifdef TONARIX_APP_STYLE
    if (!args.contains(QLatin1String("--plain")))
        app.setStyleSheet(strTonarixStyle);
#endif

    page->addShopMenu();
    page->setWindowTitle(QStringLiteral("pageviewer: ") + instrument);
    page->resize(1200, 900);
    page->show();

    auto* finder = qobject_cast<FinderWidget*>(page->finderWidget());
    auto* board = qobject_cast<BoardBase*>(finder->boardWidget());
    DecoratedNotesWidget* staff = finder->decoratedNotesWidget();

    const int noteAt = args.indexOf(QLatin1String("--note"));
    const QString note = noteAt >= 0 && noteAt + 1 < args.size() ? args.at(noteAt + 1) : QString();
    const bool training = args.contains(QLatin1String("training"));
    const int answersAt = args.indexOf(QLatin1String("--answers"));
    const int answers = answersAt >= 0 && answersAt + 1 < args.size() ? args.at(answersAt + 1).toInt() : 0;
    QTimer::singleShot(300, page.get(), [=] {
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

    const int grabAt = args.indexOf(QLatin1String("--grab"));
    if (grabAt >= 0 && grabAt + 1 < args.size()) {
        const QString file = args.at(grabAt + 1);
        QTimer::singleShot(1500, page.get(), [&, file] {
            page->grab().save(file);
            app.quit();
        });
    }
    return app.exec();
}
