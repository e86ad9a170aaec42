// The chord pages: choosing and playing chords through the buttons panel and the chord view, the
// transposer's tabs, menus and sound switch, favourites shared by two pages, the pictures every
// chord asks for, dragging a chord out, the line log and the chord pages' style sheet.

#include "DialogAnswerer.h"
#include "IndexedImage.h"
#include "UkulelePhotoLayout.h"
#include "REZirudid/App.h"
#include "RIRurud/ChordBaseView.h"
#include "RIRurud/ChordPhotoView.h"
#include "RIRurud/ChordStandardView.h"
#include "RIRurud/ChordTabView.h"
#include "RIRurud/ChordView.h"
#include "RIRurud/ChordsButtonsPanel.h"
#include "RIRurud/ChordsStyle.h"
#include "RIRurud/ChordsTabBar.h"
#include "RIRurud/FavoritesDeleteDlg.h"
#include "RIRurud/MusicSettings.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/PianoChordsMainPage.h"
#include "RIRurud/Transposer.h"
#include "RIRurud/UkuleleChordsMainPage.h"
#include "TestMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QImageReader>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace RIRurud;

namespace {

const QString flat = ChordBook::flatSign();

// Records what the pages would play.
struct SoundRecorder
{
    QStringList played;
    SoundRecorder()
    {
        NoteName::setSoundHook([this](const QString& path) { played << path; });
    }
    ~SoundRecorder() { NoteName::setSoundHook({}); }
    QStringList take()
    {
        QStringList files;
        for (const QString& path : played)
            files << path.section('/', -1);
        played.clear();
        return files;
    }
};

std::unique_ptr<ChordsMainPage> makePage(const QString& instrument)
{
    if (instrument == QLatin1String("piano"))
        return std::make_unique<PianoChordsMainPage>();
    return std::make_unique<UkuleleChordsMainPage>();
}

QStringList fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths) {
        if (!path.isEmpty())
            names << path.section('/', -1);
    }
    return names;
}

void clickTab(ChordsTabBar* bar, int index)
{
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

QAction* menuAction(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TestChordPages : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Every case starts from no stored favourites and the sound switch at its default.
        REZirudid::App* app = REZirudid::App::theApp();
        ChordBook::writeFavorites({});
        app->removeSettingsValue(SettingsKeys::favoritesCount());
        app->removeSettingsValue(SettingsKeys::transposerSoundOn());
    }

    void choosingAndPlayingChords_data();
    void choosingAndPlayingChords();
    void unknownNamesAndIndicesChangeNothing();
    void transposerTabsMenuAndSound();
    void favoritesAreSharedByPages();
    void namelessFavoriteIsDeletedLikeAnyOther();
    void favoritesMenuShowsLongAndOddNames();
    void everyChordHasItsPictures();
    void indexedPicturesDoNotDependOnTheHashSeed();
    void ukuleleHandsStopTheGStringWhereTheChordDoes();
    void viewsDrawWithoutAChordAndDragOut();
    void optimizationProtocolAddsWholeLinesInUtf8();
    void styleSheetParsesAndStylesEveryNamedWidget();
};

void TestChordPages::choosingAndPlayingChords_data()
{
    QTest::addColumn<QString>("instrument");
    QTest::addColumn<QStringList>("firstChord");
    QTest::addColumn<QStringList>("cm7");
    QTest::newRow("ukulele") << "ukulele"
                             << QStringList{"ukulele_440_A4.mp3", "ukulele_440_Cd4.mp3", "ukulele_440_E4.mp3", "ukulele_440_A4.mp3"}
                             << QStringList{"ukulele_440_Ad4.mp3", "ukulele_440_Dd4.mp3", "ukulele_440_G4.mp3", "ukulele_440_C5.mp3"};
    QTest::newRow("piano") << "piano" << QStringList{"piano_440_A3.mp3", "piano_440_Cd4.mp3", "piano_440_E4.mp3"}
                           << QStringList{"piano_440_C3.mp3", "piano_440_Dd3.mp3", "piano_440_G3.mp3", "piano_440_Ad3.mp3"};
}

void TestChordPages::choosingAndPlayingChords()
{
    QFETCH(QString, instrument);
    QFETCH(QStringList, firstChord);
    QFETCH(QStringList, cm7);
    SoundRecorder sound;
    auto page = makePage(instrument);
    ChordView* view = page->chordView();
    QCOMPARE(view->instrumentName(), instrument);
    QCOMPARE(view->instrumentLabel()->objectName(), "InstrumentLabel_" + instrument);
    QCOMPARE(view->standardView()->chordName(), QStringLiteral("A"));
    QCOMPARE(page->buttonsPanel()->currentChord(), QStringLiteral("A"));

    // Right after construction the play button sounds A major, all strings or keys together.
    view->playButton()->click();
    QCOMPARE(sound.take(), firstChord);
    QCOMPARE(page->chordSounds(0).size(), instrument == QLatin1String("piano") ? 24 : 4);

    // A root and a quality clicked on the panel: all three pictures show C m7, and it is played.
    QSignalSpy changed(page->buttonsPanel(), &ChordsButtonsPanel::chordChanged);
    page->buttonsPanel()->rootButton("C")->click();
    page->buttonsPanel()->qualityButton("m7")->click();
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed.last().at(0).toInt(), 52);
    QCOMPARE(changed.last().at(1).toString(), QStringLiteral("Cm7"));
    QCOMPARE(page->currentChord(), 52);
    for (ChordBaseView* picture : {static_cast<ChordBaseView*>(view->standardView()),
                                   static_cast<ChordBaseView*>(view->tabView()), static_cast<ChordBaseView*>(view->photoView())}) {
        QCOMPARE(picture->chordIndex(), 52);
        QCOMPARE(picture->chordName(), QStringLiteral("Cm7"));
        QCOMPARE(picture->tab(), page->chordTab(52));
    }
    view->playButton()->click();
    QCOMPARE(sound.take(), cm7);

    // A name with an enharmonic spelling selects its own buttons and shows as written.
    QVERIFY(page->buttonsPanel()->setChord(QStringLiteral("E #m")));
    QCOMPARE(page->buttonsPanel()->currentChordPart1(), QStringLiteral("E #"));
    QCOMPARE(page->buttonsPanel()->currentChordPart2(), QStringLiteral("m"));
    QCOMPARE(page->currentChord(), 100);
    QCOMPARE(view->tabView()->chordName(), QStringLiteral("E #m"));
}

void TestChordPages::unknownNamesAndIndicesChangeNothing()
{
    SoundRecorder sound;
    UkuleleChordsMainPage page;
    ChordsButtonsPanel* panel = page.buttonsPanel();
    QVERIFY(panel->setChord("G" + flat + "sus4"));
    QSignalSpy changed(panel, &ChordsButtonsPanel::chordChanged);
    for (const QString& name : {QString(), QStringLiteral("Xm"), QStringLiteral("Am9"), QStringLiteral("a")})
        QVERIFY(!panel->setChord(name));
    QCOMPARE(changed.size(), 0);
    QCOMPARE(panel->currentChord(), "G" + flat + "sus4");
    page.slotSetChordAndName(132, QStringLiteral("bad"));
    page.slotSetChordAndName(-1, QStringLiteral("bad"));
    QCOMPARE(page.currentChord(), 131);
    QCOMPARE(page.chordView()->photoView()->chordName(), "G" + flat + "sus4");

    // A damaged stored tab neither shows nor plays anything.
    page.setCurrentChords({QStringLiteral("X\nm")});
    QSignalSpy play(page.transposer(), &Transposer::play);
    clickTab(page.transposer()->tabBar(), 0);
    QCOMPARE(play.size(), 0);
    QCOMPARE(page.currentChord(), 131);
    QVERIFY(sound.take().isEmpty());
}

void TestChordPages::transposerTabsMenuAndSound()
{
    SoundRecorder sound;
    UkuleleChordsMainPage page;
    page.show();
    Transposer* transposer = page.transposer();
    ChordsTabBar* bar = transposer->tabBar();
    ChordsButtonsPanel* panel = page.buttonsPanel();
    QList<QWidget*> needTabs = {transposer->transposeButton(), transposer->removeButton(), transposer->soundButton()};
    for (QWidget* w : needTabs)
        QVERIFY(!w->isEnabled());
    QVERIFY(!transposer->saveAction()->isEnabled());

    // "+" adds what the panel shows, duplicates included; the first tab becomes current.
    QPushButton* add = transposer->findChild<QPushButton*>(QStringLiteral("PushButtonAdd"));
    for (const QString& name : {QStringLiteral("B #m"), QStringLiteral("D"), QStringLiteral("D"), "C" + flat + "7"}) {
        panel->setChord(name);
        add->click();
    }
    QCOMPARE(transposer->currentChords(), QStringList({"B #\nm", "D\n", "D\n", "C" + flat + "\n7"}));
    QCOMPARE(transposer->currentChordIndex(), 0);
    for (QWidget* w : needTabs)
        QVERIFY(w->isEnabled());
    QVERIFY(transposer->saveAction()->isEnabled());

    // A tab click shows the chord and, with sound on, plays it once.
    QSignalSpy play(transposer, &Transposer::play);
    clickTab(bar, 1);
    QCOMPARE(panel->currentChord(), QStringLiteral("D"));
    QCOMPARE(page.currentChord(), 55);
    QCOMPARE(play.size(), 1);
    QCOMPARE(sound.take(), fileNames(page.chordSounds(55)));
    // Beside the tabs: the current one again.
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() - 2, bar->height() / 2));
    QCOMPARE(play.size(), 2);
    QCOMPARE(sound.take(), fileNames(page.chordSounds(55)));
    // Sound off: the chord is still shown, nothing is played, and the choice is stored.
    transposer->soundButton()->click();
    QCOMPARE(transposer->soundButton()->text(), QStringLiteral("Sound Off"));
    QCOMPARE(REZirudid::App::theApp()->settingsValue(SettingsKeys::transposerSoundOn()).toBool(), false);
    clickTab(bar, 0);
    QCOMPARE(page.currentChord(), 45);   // B # minor is C minor
    QCOMPARE(play.size(), 2);
    QVERIFY(sound.take().isEmpty());
    UkuleleChordsMainPage second;
    QVERIFY(!second.transposer()->soundButton()->isChecked());

    // The Transpose menu: 11 up to 1 up, then 1 down to 11 down, each carrying its step. Every tab
    // moves by the same interval, the spellings outside the root lists too.
    QList<QAction*> steps = transposer->transposeMenu()->actions();
    QCOMPARE(steps.size(), 22);
    QCOMPARE(steps.first()->text(), QStringLiteral("11 #"));
    QCOMPARE(steps.last()->text(), "11" + flat);
    steps.at(9)->setText(QStringLiteral("two up"));   // the step is its data, not its text
    steps.at(9)->trigger();
    QCOMPARE(transposer->currentChords(), QStringList({"D\nm", "E\n", "E\n", "D" + flat + "\n7"}));
    steps.at(11)->trigger();
    QCOMPARE(transposer->currentChords(), QStringList({"D" + flat + "\nm", "E" + flat + "\n", "E" + flat + "\n", "C\n7"}));
    QCOMPARE(page.currentChord(), 45);   // the page's chord stays

    // "-" removes the current tab; the last one gone disables what needs tabs.
    transposer->setCurrentChordIndex(2);
    while (bar->count() > 0)
        transposer->removeButton()->click();
    for (QWidget* w : needTabs)
        QVERIFY(!w->isEnabled());
    QVERIFY(!transposer->saveAction()->isEnabled());
}

void TestChordPages::favoritesAreSharedByPages()
{
    UkuleleChordsMainPage ukulele;
    PianoChordsMainPage piano;
    Transposer* first = ukulele.transposer();
    Transposer* second = piano.transposer();
    QMenu* menu = first->favoritesMenu();
    // The built-in song, behind the three commands.
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    QCOMPARE(texts, QStringList({"&New", "&Save...", "&Delete...", "|", "Pelmaro - Et Si Tu N'existais Pas"}));
    menuAction(menu, "Pelmaro - Et Si Tu N'existais Pas")->trigger();
    QCOMPARE(first->currentChords().size(), 10);
    QCOMPARE(first->currentChords().at(2), QStringLiteral("F #\n7"));

    // Saves the strip under a name; `then` answers the dialog that follows, if one does.
    auto save = [](Transposer* transposer, const QString& name, std::unique_ptr<TestSupport::DialogAnswerer>* then = nullptr,
                   const QString& thenButton = QString()) {
        TestSupport::DialogAnswerer answer(QStringLiteral("OK"));
        answer.setInspector([&](QWidget* dialog) {
            dialog->findChild<QLineEdit*>()->setText(name);
            if (then)
                *then = std::make_unique<TestSupport::DialogAnswerer>(thenButton);
        });
        transposer->saveAction()->trigger();
        return answer.answered() && answer.buttonFound();
    };
    // A name holding ":" would come back as another favourite: it is refused with a warning.
    std::unique_ptr<TestSupport::DialogAnswerer> warning;
    QVERIFY(save(first, QStringLiteral("Verse: two"), &warning, QStringLiteral("Ok")));
    QVERIFY(warning && warning->wait());
    QCOMPARE(warning->dialogTitle(), QStringLiteral("Warning"));
    QCOMPARE(ChordBook::readFavorites().size(), 1);

    // Two pages save one after the other: neither loses the other's favourite.
    // The menu is rebuilt once the Save action's slot has returned, not under its feet.
    QPointer<QAction> savedBy = first->saveAction();
    QVERIFY(save(first, QStringLiteral("Song")));
    QVERIFY(savedBy);
    QTRY_VERIFY(!savedBy);
    second->setCurrentChords({"A\nm", "E\n7"});
    QVERIFY(save(second, QStringLiteral("Ballad")));
    QCOMPARE(ChordBook::readFavorites().keys(), QStringList({"Ballad", "Pelmaro - Et Si Tu N'existais Pas", "Song"}));
    QCOMPARE(ChordBook::readFavorites().value("Ballad"), QStringList({"A\nm", "E\n7"}));
    QTRY_VERIFY(menuAction(second->favoritesMenu(), "Song"));

    // Delete from the first page, whose menu was built before the second page saved: the dialog
    // lists its names in reverse order, the first chosen and Cancel focused; the second page's
    // favourite survives the deletion.
    QCOMPARE(first->deleteDialog()->parent(), static_cast<QObject*>(first));
    QStringList listed;
    int chosen = -1;
    bool cancelFocused = false;
    std::unique_ptr<TestSupport::DialogAnswerer> question;
    TestSupport::DialogAnswerer pick(QStringLiteral("Delete"));
    pick.setInspector([&](QWidget* dialog) {
        auto* list = dialog->findChild<QListWidget*>();
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->text();
        chosen = list->currentRow();
        cancelFocused = dialog->focusWidget() == first->deleteDialog()->cancelButton();
        list->setCurrentRow(1);
        question = std::make_unique<TestSupport::DialogAnswerer>(QStringLiteral("Yes"));
    });
    menuAction(menu, "&Delete...")->trigger();
    QVERIFY(question && question->wait());
    QCOMPARE(listed, QStringList({"Song", "Pelmaro - Et Si Tu N'existais Pas"}));
    QCOMPARE(chosen, 0);
    QVERIFY(cancelFocused);
    QCOMPARE(ChordBook::readFavorites().keys(), QStringList({"Ballad", "Song"}));
    QTRY_VERIFY(menuAction(first->favoritesMenu(), "Ballad"));
    QVERIFY(!menuAction(first->favoritesMenu(), "Pelmaro - Et Si Tu N'existais Pas"));

    // "&New" empties the strip; loading an entry fills it.
    menuAction(first->favoritesMenu(), "Ballad")->trigger();
    QCOMPARE(first->currentChords(), QStringList({"A\nm", "E\n7"}));
    menuAction(first->favoritesMenu(), "&New")->trigger();
    QVERIFY(first->currentChords().isEmpty());

    // A full list refuses a new name with a warning rather than dropping one; a name already
    // there is still saved over.
    ChordBook::Favorites full;
    for (int i = 0; i < ChordBook::kMaxFavorites; ++i)
        full.insert(QStringLiteral("Song %1").arg(i, 3, 10, QLatin1Char('0')), {"A"});
    ChordBook::writeFavorites(full);
    warning.reset();
    QVERIFY(save(first, QStringLiteral("Zydeco"), &warning, QStringLiteral("Ok")));
    QVERIFY(warning && warning->wait());
    QCOMPARE(ChordBook::readFavorites().keys(), full.keys());
    first->setCurrentChords({"D"});
    QVERIFY(save(first, QStringLiteral("Song 499")));
    QCOMPARE(ChordBook::readFavorites().value(QStringLiteral("Song 499")), QStringList({"D"}));
}

// A favourite stored without a name ("", ":" or an invalid value) is deleted like any other.
void TestChordPages::namelessFavoriteIsDeletedLikeAnyOther()
{
    for (const QVariant& nameless : {QVariant(QString("")), QVariant(QStringLiteral(":")), QVariant()}) {
        ChordBook::writeFavorites({{QStringLiteral("Song"), {"A\nm"}}, {QStringLiteral("Tune"), {"D\n"}}});
        REZirudid::App::theApp()->setSettingsValue(SettingsKeys::favorite(0), nameless);
        Transposer transposer;
        std::unique_ptr<TestSupport::DialogAnswerer> question;
        TestSupport::DialogAnswerer pick(QStringLiteral("Delete"));
        pick.setInspector([&](QWidget* dialog) {
            dialog->findChild<QListWidget*>()->setCurrentRow(1);   // the list runs backwards
            question = std::make_unique<TestSupport::DialogAnswerer>(QStringLiteral("Yes"));
        });
        menuAction(transposer.favoritesMenu(), "&Delete...")->trigger();
        QVERIFY(question && question->wait());
        QCOMPARE(ChordBook::readFavorites().keys(), QStringList({"Tune"}));
    }
}

// A long name is cut short in the menu, which stays narrow, and its tool tip holds it whole; an
// "&" shows as itself, and a tab does not push the rest of a name into the shortcut column.
void TestChordPages::favoritesMenuShowsLongAndOddNames()
{
    const QString longName = QStringLiteral("Verse and chorus ").repeated(300);
    ChordBook::writeFavorites({{longName, {"C\n"}}, {QStringLiteral("Rock & Roll\tLive"), {"A\n"}}});
    Transposer transposer;
    QMenu* menu = transposer.favoritesMenu();
    QVERIFY2(menu->sizeHint().width() <= 600, qPrintable(QString::number(menu->sizeHint().width())));
    const QList<QAction*> entries = menu->actions().mid(4);
    QCOMPARE(entries.at(1)->toolTip(), longName);
    QVERIFY(menu->toolTipsVisible());
    entries.at(1)->trigger();
    QCOMPARE(transposer.currentChords(), QStringList({"C\n"}));
    QVERIFY(QRegularExpression(QStringLiteral("^Rock && Roll +Live$")).match(entries.at(0)->text()).hasMatch());
}

void TestChordPages::everyChordHasItsPictures()
{
    QStringList missing;
    for (int i = 0; i < ChordBook::kChordCount; ++i) {
        const QVector<int> piano = ChordBook::pianoTab(i);
        for (ChordBook::View v : {ChordBook::View::Diagram, ChordBook::View::Tablature, ChordBook::View::Photo}) {
            const QString path = ChordBook::picturePath(v, QStringLiteral("piano"), piano);
            if (QImageReader(path).size().isEmpty())
                missing << path;
        }
        const QString photo = ChordBook::picturePath(ChordBook::View::Photo, QStringLiteral("ukulele"), ChordBook::ukuleleTab(i));
        if (QImageReader(photo).size().isEmpty())
            missing << photo;
    }
    // And every picture the chord pages' sheet and widgets name, with its sharp twin.
    const QRegularExpression url(QStringLiteral("url\\((:/[^)]*)\\)"));
    QStringList faces = {":/new.png", ":/save.png", ":/delete.png", ":/panelbackground.png"};
    for (auto it = url.globalMatch(ChordsMainPage::styleSheet(false)); it.hasNext();)
        faces << it.next().captured(1);
    faces.removeDuplicates();
    QVERIFY(faces.size() > 20);
    for (const QString& face : faces) {
        const QSize size = QImageReader(face).size();
        const QString twin = face.left(face.lastIndexOf('.')) + "@2x" + face.mid(face.lastIndexOf('.'));
        if (size.isEmpty() || QImageReader(twin).size() != size * 2)
            missing << face;
    }
    missing.removeDuplicates();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

void TestChordPages::indexedPicturesDoNotDependOnTheHashSeed()
{
    // More colours than a palette holds, each used as often as the others: which are kept must not
    // follow the order a hash lists them in, which changes with every run of the generator.
    QImage drawing(300, 2, QImage::Format_RGB32);
    for (int x = 0; x < drawing.width(); ++x) {
        for (int y = 0; y < drawing.height(); ++y)
            drawing.setPixel(x, y, qRgb(x % 256, x / 256 * 200, (x * 37) % 256));
    }
    qSetGlobalQHashSeed(0);
    const QImage first = imagegen::withPalette(drawing).convertToFormat(QImage::Format_RGB32);
    for (int run = 0; run < 3; ++run) {
        qSetGlobalQHashSeed(-1);
        QCOMPARE(imagegen::withPalette(drawing).convertToFormat(QImage::Format_RGB32), first);
    }
}

void TestChordPages::ukuleleHandsStopTheGStringWhereTheChordDoes()
{
    // The fingers come from below the neck, so only a finger that stops the G string (or lies
    // across it) reaches its line: skin there means the G string is stopped in that fret's cell.
    using imagegen::ukulelephoto::fretX;
    const int gString = int(imagegen::ukulelephoto::stringY(0));
    const auto skin = [](QRgb c) { return qRed(c) >= 150 && qRed(c) - qGreen(c) >= 28; };
    QStringList wrong;
    for (int i = 0; i < ChordBook::kChordCount; ++i) {
        const QVector<int> tab = ChordBook::ukuleleTab(i);
        const QImage photo(ChordBook::picturePath(ChordBook::View::Photo, QStringLiteral("ukulele"), tab));
        QCOMPARE(photo.size(), QSize(imagegen::ukulelephoto::kWidth, imagegen::ukulelephoto::kHeight));
        for (int cell = 1; cell <= 6; ++cell) {
            int lit = 0;
            for (int x = int(fretX(cell - 1)) + 6; x < int(fretX(cell)) - 6; ++x) {
                for (int y : {gString - 4, gString, gString + 4})
                    lit += skin(photo.pixel(x, y));
            }
            // A finger behind the fret that sounds, none beyond it (a barre may lie behind it).
            if ((cell == tab.at(0) && lit == 0) || (cell > tab.at(0) && lit > 0))
                wrong << QStringLiteral("%1 cell %2").arg(ChordBook::stringCode(tab)).arg(cell);
        }
    }
    wrong.removeDuplicates();
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
}

void TestChordPages::viewsDrawWithoutAChordAndDragOut()
{
    // Fresh views hold no tab: each draws for every instrument without reading past it.
    for (const QString& instrument : {QStringLiteral("piano"), QStringLiteral("ukulele"), QStringLiteral("banjo"), QStringLiteral("bass2")}) {
        ChordView view;
        view.setInstrumentName(instrument);
        view.resize(600, 300);
        QVERIFY(!view.grab().isNull());
        view.setChordTabAndName(3, {0}, QStringLiteral("short"));
        QVERIFY(!view.grab().isNull());
        QCOMPARE(view.standardView()->pianoTabToCode(), QStringLiteral("0XXXXXXXXXXX"));
    }

    // Open and muted strings are marked left of the nut, whole at every height: nothing dark in
    // the first column, and the marks there.
    for (const int height : {150, 300, 600}) {
        ChordStandardView chart;
        chart.setInstrumentName(QStringLiteral("ukulele"));
        chart.setChordTabAndName(0, {0, -1, 0, 3}, QStringLiteral("C"));
        chart.resize(2 * height, height);
        const QImage image = chart.grab().toImage();
        int edge = 0, marks = 0;
        for (int y = 0; y < image.height(); ++y) {
            edge += qGray(image.pixel(0, y)) < 128;
            for (int x = 1; x < 20; ++x)
                marks += qGray(image.pixel(x, y)) < 128;
        }
        QVERIFY2(edge == 0 && marks > 0, qPrintable(QStringLiteral("height %1: %2 dark at the edge, %3 marked")
                                                          .arg(height).arg(edge).arg(marks)));
    }

    // The dragged picture is a complete PNG in the work directory, its URL a proper file URL even
    // where the path holds a space and a "#".
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("a b#c"));
    QVERIFY(QDir().mkpath(home));
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.toLocal8Bit());
    PianoChordsMainPage page;
    page.resize(900, 700);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.buttonsPanel()->setChord(QStringLiteral("Dm7"));
    ChordTabView* tab = page.chordView()->tabView();
    const QUrl url = tab->writeDragFile();
    qputenv("HOME", oldHome);
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toLocalFile(), home + QStringLiteral("/Library/TonarixTest/Chord.png"));
    const QImage dropped(url.toLocalFile(), "PNG");
    QCOMPARE(dropped.size(), tab->size() * tab->devicePixelRatioF());
    // It shows the chord's picture: not one plain colour.
    QVERIFY(dropped.pixel(dropped.width() / 2, dropped.height() * 3 / 4) != dropped.pixel(1, 1)
            || dropped.pixel(dropped.width() / 3, dropped.height() * 3 / 4) != dropped.pixel(1, 1));
}

void TestChordPages::optimizationProtocolAddsWholeLinesInUtf8()
{
    const QString path = REZirudid::App::theApp()->supportDirectory() + QStringLiteral("protocol.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("xA");   // a last line without its line feed
    file.close();
    ChordView::optimizationProtocol(QStringLiteral("protocol.txt"), QStringLiteral("A"));
    ChordView::optimizationProtocol(QStringLiteral("protocol.txt"), QStringLiteral("Für Élise ♭"));
    ChordView::optimizationProtocol(QStringLiteral("protocol.txt"), QStringLiteral("A"));
    ChordView::optimizationProtocol(QStringLiteral("protocol.txt"), QStringLiteral("Für Élise ♭"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("xA\nA\nFür Élise ♭\n"));
}

void TestChordPages::styleSheetParsesAndStylesEveryNamedWidget()
{
    for (bool pocket : {false, true}) {
        const QString sheet = ChordsMainPage::styleSheet(pocket);
        QVERIFY(!sheet.contains('$'));
        for (const char* name : {"MainPage", "MenuBar", "PanelButton", "ViewOptionsFrame", "PlayButton", "InstrumentLabel_ukulele",
                                 "InstrumentLabel_piano", "InstrumentLabel_bass", "InstrumentLabel_bass2", "TransposerFrame",
                                 "TransposerButton", "TransposerMenu", "PushButtonAdd", "PushButtonRemove", "DeleteButton",
                                 "PushButton", "AppButton", "MoreButton"})
            QVERIFY2(QRegularExpression('#' + QLatin1String(name) + "[{:, ]").match(sheet).hasMatch(), name);
    }
    // Qt reports a sheet it cannot read while it styles a widget with it.
    static QStringList complaints;
    complaints.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (message.contains(QLatin1String("parse")))
            complaints << message;
    });
    ChordsMainPage::applyStyle();
    UkuleleChordsMainPage page;
    page.addShopMenu();
    page.resize(800, 700);
    page.grab();
    page.transposer()->deleteDialog()->grab();
    qInstallMessageHandler(previous);
    qApp->setStyleSheet(QString());
    QVERIFY2(complaints.isEmpty(), qPrintable(complaints.join('\n')));
}

TONARIX_APP_TEST_MAIN(TestChordPages)
#include "tst_ChordPages.moc"
