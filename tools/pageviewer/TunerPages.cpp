// The reference-tone tuners: the tuner window with its explorer and the eleven instrument pages.
// It runs under the viewer's own application name, so its size is kept apart from the program's.
//
//   tuners [--page Violin] [--no-explorer] [--pitch 415] [--play K] [--menu pitch|app|more|modes|about]
//
// --page N        bring instrument N's page to the front through its explorer button
// --no-explorer   hide the explorer; the pages keep their own Pitch, Repeat and App
// --pitch HZ      choose the concert pitch HZ in the explorer's pitch menu
// --play K        click string button K (from 0, left to right) of the page in front
// --menu M        open a menu: the explorer's pitch or App menu, the page's More or Modes menu;
//                 "about" opens the About box of the App menu

#include "PageViewer.h"

#include "RIRurud/_Tuner/ModesPanel.h"
#include "RIRurud/_Tuner/TuneButton.h"
#include "RIRurud/_Tuner/TunerBasePage.h"
#include "RIRurud/_Tuner/TunersCommonPanel.h"
#include "RIRurud/_Tuner/TunersExplorer.h"
#include "RIRurud/_Tuner/TunersMainPage.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

using namespace RIRurud;

PAGEVIEWER_PAGE(tuners, "tuners [--page Violin] [--no-explorer] [--pitch 415] [--play K] [--menu pitch|app|more|modes|about]")
{
    const bool explorerShown = !args.contains(QLatin1String("--no-explorer"));
    auto* window = new TunersMainPage(nullptr, !explorerShown);
    if (explorerShown)
        window->hideAppOptionsOnEachPage();
    TunersExplorer* explorer = window->explorer();

    const QString page = pageviewer::optionValue(args, QStringLiteral("--page"));
    if (!page.isEmpty()) {
        if (auto* button = explorer->findChild<QPushButton*>(page + QStringLiteral("Button")))
            button->click();
        else
            qWarning("no tuner page %s", qPrintable(page));
    }
    const int pitch = pageviewer::optionValue(args, QStringLiteral("--pitch")).toInt();
    if (pitch > 0) {
        for (QAction* action : explorer->commonPanel()->pitchButton()->menu()->actions()) {
            if (action->data().toInt() == pitch)
                action->trigger();
        }
    }

    const QString play = pageviewer::optionValue(args, QStringLiteral("--play"));
    const QString menu = pageviewer::optionValue(args, QStringLiteral("--menu"));
    QTimer::singleShot(400, window, [window, explorer, play, menu] {
        auto* front = static_cast<TunerBasePage*>(window->stack()->currentWidget());
        if (!play.isEmpty()) {
            if (TuneButton* button = front->button(play.toInt()))
                button->click();
        }
        QPushButton* menuButton = menu == QLatin1String("pitch") ? explorer->commonPanel()->pitchButton()
            : menu == QLatin1String("app")                       ? explorer->commonPanel()->appButton()
            : menu == QLatin1String("more")                      ? front->modesPanel()->moreButton()
            : menu == QLatin1String("modes")                     ? front->modesPanel()->modesButton()
                                                                 : nullptr;
        if (menuButton)
            menuButton->showMenu();
        else if (menu == QLatin1String("about"))
            explorer->commonPanel()->slotAbout();
    });
    return window;
}
