// The chord pages of the chord book, each with the chord pages' own style sheet and its shop menu.
//
//   chords-ukulele|chords-piano [--chord NAME] [--sequence A,Bm,F #7] [--menu transpose|favorites]
//
// --chord N     choose chord N on the buttons panel ("C", "F #m", "B\u266D7"; "Bb7" is read as
//               "B\u266D7")
// --sequence L  put the chords of the comma-separated list on the transposer's tabs
// --menu M      open the Transpose or the Favorites menu once the page is shown
// --dialog D    open the favourites' "save" prompt or "delete" dialog once the page is shown

#include "PageViewer.h"

#include "RIRurud/ChordBook.h"
#include "RIRurud/ChordsButtonsPanel.h"
#include "RIRurud/PianoChordsMainPage.h"
#include "RIRurud/Transposer.h"
#include "RIRurud/UkuleleChordsMainPage.h"

#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace RIRurud;

namespace {

// "Bb" stands for B flat on the command line; "F#" for "F #".
QString chordArgument(QString name)
{
    if (name.size() > 1 && name.at(1) == QLatin1Char('b'))
        name.replace(1, 1, ChordBook::flatSign());
    if (name.size() > 1 && name.at(1) == QLatin1Char('#'))
        name.insert(1, QLatin1Char(' '));
    return name;
}

template <typename Page>
QWidget* showChords(const QStringList& args)
{
    // The sheet first, so that the page is laid out with it from the start.
    if (!args.contains(QLatin1String("--plain")))
        ChordsMainPage::applyStyle();
    auto* page = new Page;
    page->addShopMenu();

    const QString chord = chordArgument(pageviewer::optionValue(args, QStringLiteral("--chord")));
    if (!chord.isEmpty())
        page->buttonsPanel()->setChord(chord);

    QStringList entries;
    for (const QString& name : pageviewer::optionValue(args, QStringLiteral("--sequence")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QString spelling, suffix;
        if (ChordBook::splitChordName(chordArgument(name.trimmed()), &spelling, &suffix))
            entries << spelling + QLatin1Char('\n') + suffix;
    }
    if (!entries.isEmpty())
        page->setCurrentChords(entries);

    const QString menu = pageviewer::optionValue(args, QStringLiteral("--menu"));
    const QString dialog = pageviewer::optionValue(args, QStringLiteral("--dialog"));
    QTimer::singleShot(400, page, [page, menu, dialog] {
        Transposer* transposer = page->transposer();
        if (dialog == QLatin1String("save"))
            transposer->slotSaveFavorite();
        else if (dialog == QLatin1String("delete"))
            transposer->slotDeleteFavorite();
        QPushButton* button = menu == QLatin1String("transpose") ? transposer->transposeButton()
            : menu == QLatin1String("favorites") ? qobject_cast<QPushButton*>(transposer->favoritesMenu()->parent())
                                                 : nullptr;
        if (button)
            button->showMenu();
    });
    return page;
}

QWidget* openUkulele(const QStringList& args) { return showChords<UkuleleChordsMainPage>(args); }
QWidget* openPiano(const QStringList& args) { return showChords<PianoChordsMainPage>(args); }

#define CHORDS_USAGE(name) name " [--chord C] [--sequence A,Bm,F#7] [--menu transpose|favorites] [--dialog save|delete]"

// Registered by hand: the page names hold a "-", which no identifier can.
const pageviewer::Registrar ukuleleRegistrar("chords-ukulele", CHORDS_USAGE("chords-ukulele"), &openUkulele);
const pageviewer::Registrar pianoRegistrar("chords-piano", CHORDS_USAGE("chords-piano"), &openPiano);

} // namespace
