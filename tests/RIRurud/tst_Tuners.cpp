// The reference-tone tuners as a user meets them: every string of every page plays its file at the
// chosen concert pitch, the repeat mode, the bass guitar's fifth string, the window's size, the
// links of each country, the style sheet, and a missing tone file in repeat mode.

#include "REZirudid/App.h"
#include "REZirudid/ScreenFit.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/_Tuner/BassGuitarTuner.h"
#include "RIRurud/_Tuner/ButtonsPanel.h"
#include "RIRurud/_Tuner/GuitarTuner.h"
#include "RIRurud/_Tuner/ModesPanel.h"
#include "RIRurud/_Tuner/TuneButton.h"
#include "RIRurud/_Tuner/TunersExplorer.h"
#include "RIRurud/_Tuner/TunersMainPage.h"
#include "TestMain.h"
#include "UrlCatcher.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <malloc.h>

using namespace RIRurud;

namespace {

// Each page as the user sees it: its explorer button, the labels of its string buttons left to
// right, and the prefix of the files they play (the string's label completes the name).
struct Page
{
    const char* button;
    QStringList labels;
    const char* prefix;
};

const QList<Page> kPages = {
    {"GuitarButton", {"E2", "A2", "D3", "G3", "B3", "E4"}, "guitar"},
    {"BassGuitarButton", {"E1", "A1", "D2", "G2"}, "bassguitar"},
    {"UkuleleButton", {"G4", "C4", "E4", "A4"}, "ukulele"},
    {"BanjoButton", {"G4", "D3", "G3", "B3", "D4"}, "banjo"},
    {"ViolinButton", {"G3", "D4", "A4", "E5"}, "violine"},
    {"ViolaButton", {"C3", "G3", "D4", "A4"}, "violine"},
    {"CelloButton", {"C2", "G2", "D3", "A3"}, "cello"},
    {"DoubleBassButton", {"E1", "A1", "D2", "G2"}, "doublebass"},
    {"BalalaikaButton", {"E4", "E4", "A4"}, "balalaika"},
    {"MandolinButton", {"G3", "D4", "A4", "E5"}, "mandolin"},
    {"DombraButton", {"D3", "G3"}, "dombra"},
};

TunerBasePage* front(const TunersMainPage& window)
{
    return static_cast<TunerBasePage*>(window.stack()->currentWidget());
}

QStringList shownLabels(TunerBasePage* page)
{
    QStringList labels;
    for (int key = 0; key < ButtonsPanel::kButtonCount; ++key) {
        if (page->button(key)->isVisibleTo(page))
            labels << page->button(key)->text();
    }
    return labels;
}

QAction* pitchAction(TunersCommonPanel* panel, int hz)
{
    for (QAction* action : panel->pitchButton()->menu()->actions()) {
        if (action->data().toInt() == hz)
            return action;
    }
    return nullptr;
}

QAction* actionNamed(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

REZirudid::App* app()
{
    return REZirudid::App::theApp();
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

} // namespace

class TestTuners : public QObject
{
    Q_OBJECT

    QStringList m_played;

private slots:
    void init()
    {
        m_played.clear();
        NoteName::setSoundHook([this](const QString& path) { m_played << path; });
        for (const char* key : {"Pitch", "Repeat", "Width", "Height"})
            app()->removeSettingsValue(QLatin1String(key));
    }
    void cleanup() { NoteName::setSoundHook({}); }

    // Every explorer button brings its page to the front, and every string button there plays
    // its own file at the pitch chosen in the explorer's menu.
    void everyStringPlaysItsFileAtTheChosenPitch()
    {
        TunersMainPage window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(front(window)->metaObject()->className(), "RIRurud::GuitarTuner");
        for (int hz : {415, 442, 460}) {
            QAction* pitch = pitchAction(window.explorer()->commonPanel(), hz);
            QVERIFY(pitch);
            pitch->trigger();
            for (const Page& page : kPages) {
                auto* button = window.explorer()->findChild<QPushButton*>(QLatin1String(page.button));
                QVERIFY2(button, page.button);
                QTest::mouseClick(button, Qt::LeftButton);
                QVERIFY(button->isChecked());
                TunerBasePage* shown = front(window);
                QCOMPARE(shownLabels(shown), page.labels);
                m_played.clear();
                QStringList expected;
                for (int key = 0; key < ButtonsPanel::kButtonCount; ++key) {
                    if (!shown->button(key)->isVisible())
                        continue;
                    QTest::mouseClick(shown->button(key), Qt::LeftButton);
                    expected << shown->toneDirectory()
                            + QStringLiteral("%1_%2_%3.mp3").arg(QLatin1String(page.prefix)).arg(hz).arg(shown->button(key)->text());
                }
                QCOMPARE(m_played, expected);
                // The build made every file a page plays.
                for (const QString& path : qAsConst(m_played)) {
                    const QString file = QStringLiteral(TONARIX_RESOURCES_DIR) + path.section('/', -1);
                    QVERIFY2(!TONARIX_SOUNDS_GENERATED || QFileInfo::exists(file), qPrintable(file));
                }
            }
        }
        // Harmolux opens the chord book's store page and leaves the page in front.
        TestSupport::UrlCatcher urls;
        TunerBasePage* before = front(window);
        QTest::mouseClick(window.explorer()->findChild<QPushButton*>("HarmoluxButton"), Qt::LeftButton);
        QCOMPARE(urls.count(), 1);
        QVERIFY(urls.last().toString().startsWith(QLatin1String("https://apps.store.example/app/harmolux/")));
        QVERIFY(urls.last().toString().endsWith(QLatin1String("?ls=1&mt=12")));
        QCOMPARE(front(window), before);
        QVERIFY(window.explorer()->findChild<QPushButton*>("DombraButton")->isChecked());
    }

    // The bass guitar starts with four strings; its Modes menu adds the low B0 at the left and
    // takes it away. A checked B0 that is hidden again goes on repeating.
    void bassGuitarFourAndFiveStrings()
    {
        BassGuitarTuner page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.modesPanel()->modesButton()->isVisible());
        QMenu* menu = page.modesPanel()->modesButton()->menu();
        QCOMPARE(shownLabels(&page), QStringList({"E1", "A1", "D2", "G2"}));
        for (int round = 0; round < 2; ++round) {
            actionNamed(menu, "5 Strings")->trigger();
            QCOMPARE(shownLabels(&page), QStringList({"B0", "E1", "A1", "D2", "G2"}));
        }
        page.button(0)->click();
        QCOMPARE(m_played.last(), page.toneDirectory() + "bassguitar_440_B0.mp3");

        page.slotSetRepeatMode(true);
        page.button(0)->click();
        actionNamed(menu, "4 Strings")->trigger();
        QCOMPARE(shownLabels(&page), QStringList({"E1", "A1", "D2", "G2"}));
        m_played.clear();
        page.buttonsPanel()->slotTimeOut();
        QCOMPARE(m_played, QStringList(page.toneDirectory() + "bassguitar_440_B0.mp3"));
    }

    // Repeat as the user sees it: the explorer's box reaches every page, hidden ones included; a
    // click plays at once and leaves its button alone checked; each tick plays the checked one,
    // but only on the page in front; a second click unchecks; switching off stops it all.
    void repeatMode()
    {
        TunersMainPage window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCheckBox* repeat = window.explorer()->commonPanel()->repeatCheckBox();
        QTest::mouseClick(repeat, Qt::LeftButton);
        QCOMPARE(app()->settingsValue("Repeat").toBool(), true);
        for (int id = 0; id < TunerTables::kTunerCount; ++id) {
            ButtonsPanel* panel = window.page(TunerTables::Id(id))->buttonsPanel();
            QVERIFY(panel->isRepeatMode());
            QVERIFY(panel->repeatTimer()->isActive());
            QCOMPARE(panel->repeatTimer()->interval(), 1000);
        }
        TunerBasePage* guitar = front(window);
        const QString dir = guitar->toneDirectory();
        QTest::mouseClick(guitar->button(2), Qt::LeftButton);
        QTest::mouseClick(guitar->button(4), Qt::LeftButton);
        QCOMPARE(m_played, QStringList({dir + "guitar_440_D3.mp3", dir + "guitar_440_B3.mp3"}));
        QVERIFY(!guitar->button(2)->isChecked());
        QVERIFY(guitar->button(4)->isChecked());
        m_played.clear();
        guitar->buttonsPanel()->slotTimeOut();
        QCOMPARE(m_played, QStringList(dir + "guitar_440_B3.mp3"));

        // A page behind the front one keeps its check but stays silent.
        TunerBasePage* banjo = window.page(TunerTables::Banjo);
        banjo->button(1)->click();
        m_played.clear();
        banjo->buttonsPanel()->slotTimeOut();
        QVERIFY(m_played.isEmpty());
        QVERIFY(banjo->button(1)->isChecked());

        QTest::mouseClick(guitar->button(4), Qt::LeftButton);
        QVERIFY(!guitar->button(4)->isChecked());
        m_played.clear();
        guitar->buttonsPanel()->slotTimeOut();
        QVERIFY(m_played.isEmpty());

        QTest::mouseClick(guitar->button(0), Qt::LeftButton);
        QTest::mouseClick(repeat, Qt::LeftButton);
        QCOMPARE(app()->settingsValue("Repeat").toBool(), false);
        for (TunerBasePage* page : {guitar, banjo}) {
            QVERIFY(!page->buttonsPanel()->repeatTimer()->isActive());
            for (int key = 0; key < ButtonsPanel::kButtonCount; ++key)
                QVERIFY(!page->button(key)->isChecked());
        }
        // A stored repeat mode is where a new window starts.
        QTest::mouseClick(repeat, Qt::LeftButton);
        GuitarTuner later;
        QVERIFY(later.buttonsPanel()->isRepeatMode());
    }

    // What is stored under "Pitch" and is no pitch plays at 440; a pitch outside the menu stays.
    void storedPitch_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("hz");
        QTest::newRow("nothing") << QVariant() << 440;
        QTest::newRow("not a number") << QVariant("abc") << 440;
        QTest::newRow("zero") << QVariant("0") << 440;
        QTest::newRow("negative") << QVariant(-5) << 440;
        QTest::newRow("outside the menu") << QVariant("441") << 441;
        QTest::newRow("from the menu") << QVariant(452) << 452;
    }
    void storedPitch()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, hz);
        if (stored.isValid())
            app()->setSettingsValue("Pitch", stored);
        GuitarTuner page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.button(5)->click();
        QCOMPARE(m_played, QStringList(page.toneDirectory() + QStringLiteral("guitar_%1_E4.mp3").arg(hz)));
        QCOMPARE(page.modesPanel()->pitchButton()->text(), QStringLiteral("A4:%1Hz").arg(hz));
        QCOMPARE(app()->settingsValue("Pitch").toInt(), hz);
    }

    // The pitch menu's ten entries set their pitches through their own slots, whatever a desktop
    // makes of their texts.
    void pitchMenu()
    {
        TunersCommonPanel panel;
        QList<int> pitches;
        for (QAction* action : panel.pitchButton()->menu()->actions()) {
            action->setText(QLatin1Char('&') + action->text().replace(QLatin1String("A4:4"), QLatin1String("A4:&4")));
            action->trigger();
            pitches << app()->settingsValue("Pitch").toInt();
            QCOMPARE(panel.pitchButton()->text(), QStringLiteral("A4:%1Hz").arg(pitches.last()));
        }
        QCOMPARE(pitches, QList<int>({415, 430, 435, 439, 440, 442, 443, 445, 452, 460}));
    }

    // The window opens at its stored size, 736 x 636 when what is stored is no size, never larger
    // than the screen; once shown, its frame too lies within the screen's available area. It keeps
    // its size whenever it changes.
    void windowSize_data()
    {
        QTest::addColumn<QVariant>("width");
        QTest::addColumn<QVariant>("height");
        QTest::addColumn<QSize>("expected");
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        const QSize standard = QSize(736, 636).boundedTo(screen);
        QTest::newRow("nothing stored") << QVariant() << QVariant() << standard;
        QTest::newRow("stored") << QVariant(700) << QVariant(590) << QSize(700, 590);
        QTest::newRow("not numbers") << QVariant("wide") << QVariant("") << standard;
        QTest::newRow("not positive") << QVariant(0) << QVariant(-40) << standard;
        QTest::newRow("beyond the screen") << QVariant(100000) << QVariant(100000) << screen;
    }
    void windowSize()
    {
        QFETCH(QVariant, width);
        QFETCH(QVariant, height);
        QFETCH(QSize, expected);
        if (width.isValid()) {
            app()->setSettingsValue("Width", width);
            app()->setSettingsValue("Height", height);
        }
        TunersMainPage window;
        QCOMPARE(window.size(), expected);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect area = window.screen()->availableGeometry();
        QCOMPARE(window.size(), expected.boundedTo(area.size() - (window.frameGeometry().size() - window.size())));
        QVERIFY(area.contains(window.frameGeometry()));
        QCOMPARE(app()->settingsValue("Width").toInt(), window.width());
        QCOMPARE(app()->settingsValue("Height").toInt(), window.height());
        window.resize(720, 599);
        QCOMPARE(app()->settingsValue("Width").toInt(), 720);
        QCOMPARE(app()->settingsValue("Height").toInt(), 599);
    }

    // The string buttons are a 6.5th of the page's width where the strings fit, smaller where they
    // would not, so a narrow window keeps the width it is given instead of growing.
    void buttonsFitTheWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("side");   // 0: smaller than a 6.5th, all six in the row
        QTest::newRow("1000") << 1000 << 153;
        QTest::newRow("736") << 736 << 113;
        QTest::newRow("420") << 420 << 0;
        QTest::newRow("300") << 300 << 0;
    }
    void buttonsFitTheWidth()
    {
        QFETCH(int, width);
        QFETCH(int, side);
        GuitarTuner page;
        page.resize(width, 500);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        for (int round = 0; round < 3; ++round) {
            page.resize(width, 500);
            QApplication::processEvents();
        }
        QCOMPARE(page.width(), width);
        ButtonsPanel* panel = page.buttonsPanel();
        QVERIFY(panel->minimumSizeHint().width() <= width);
        const int got = page.button(0)->width();
        QCOMPARE(got, side ? side : qMin(got, int(width / 6.5)));
        QVERIFY(page.button(5)->geometry().right() < width);
    }

    void narrowWindowKeepsItsWidth()
    {
        TunersMainPage window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Room for the page's minimum width of 300 beside the explorer, but not for six buttons of
        // a 6.5th of the page each.
        const int narrow = window.explorer()->width() + 4 + 340;
        for (int round = 0; round < 5; ++round) {
            window.resize(narrow, 600);
            QApplication::processEvents();
        }
        QCOMPARE(window.width(), narrow);
        ButtonsPanel* panel = front(window)->buttonsPanel();
        QVERIFY(panel->minimumSizeHint().width() <= panel->width());
    }

    // Shop and encyclopedia links of every page follow the system's country (the test runs under
    // several locales); the More menu also leads to the maker's applications in the store.
    void linksFollowTheSystemCountry()
    {
        const QLocale::Country country = QLocale::system().country();
        const QByteArray expectedCountry = qgetenv("TONARIX_EXPECT_COUNTRY");
        if (!expectedCountry.isEmpty())
            QCOMPARE(QLocale::countryToString(country), QString::fromLatin1(expectedCountry));
        QString store = "shop.example", edition = "en";
        if (country == QLocale::Germany || country == QLocale::Austria || country == QLocale::Switzerland)
            store = "de.shop.example", edition = "de";
        else if (country == QLocale::France)
            store = "fr.shop.example", edition = "fr";
        else if (country == QLocale::Canada)
            store = "ca.shop.example";
        else if (country == QLocale::UnitedKingdom)
            store = "uk.shop.example";
        const QMap<QString, QStringList> articles = {
            {"Violin", {"Violin", "Violine", "Violon"}},
            {"Viola", {"Viola", "Bratsche", QString::fromUtf8("Alto_(instrument_à_cordes)")}},
            {"Cello", {"Cello", "Violoncello", "Violoncelle"}},
            {"DoubleBass", {"Double_bass", "Kontrabass", "Contrebasse"}},
            {"Guitar", {"Guitar", "Gitarre", "Guitare"}},
            {"BassGuitar", {"Bass_guitar", "E-Bass", "Guitare_basse"}},
            {"Ukulele", {"Ukulele", "Ukulele", QString::fromUtf8("Ukulélé")}},
            {"Banjo", {"Banjo", "Banjo", "Banjo"}},
            {"Balalaika", {"Balalaika", "Balalaika", QString::fromUtf8("Balalaïka")}},
            {"Mandolin", {"Mandolin", "Mandoline", "Mandoline"}},
            {"Dombra", {"Dombra", "Dombra", "Dombra"}},
        };
        const int column = edition == "de" ? 1 : edition == "fr" ? 2 : 0;

        TunersMainPage window;
        TestSupport::UrlCatcher urls;
        for (int id = 0; id < TunerTables::kTunerCount; ++id) {
            TunerBasePage* page = window.page(TunerTables::Id(id));
            const QString name = QString::fromLatin1(page->metaObject()->className()).section("::", 1).remove("Tuner");
            QMenu* more = page->modesPanel()->moreMenu();
            urls.clear();
            for (const char* entry : {"Must Have", "Nice to Have", "Read", "Hear", "See", "Wikipedia"})
                actionNamed(more, entry)->trigger();
            QCOMPARE(urls.count(), 6);
            QSet<QString> distinct;
            for (int i = 0; i < 5; ++i) {
                QCOMPARE(urls.urls().at(i).host(), store);
                distinct << urls.urls().at(i).toString();
            }
            QCOMPARE(distinct.size(), 5);
            QCOMPARE(urls.last().host(), edition + ".encyclopedia.example");
            QCOMPARE(urls.last().path(), "/wiki/" + articles.value(name).value(column));
            // The first application row: the complete Tonarix, its store page named in lower case.
            urls.clear();
            more->actions().first()->trigger();
            QVERIFY(urls.last().toString().startsWith("https://apps.store.example/app/tonarix/"));
        }
    }

    // Without the explorer, each page keeps Pitch, Repeat and App; beside it they can be hidden.
    void appOptions()
    {
        TunersMainPage alone(nullptr, true);
        alone.show();
        QVERIFY(QTest::qWaitForWindowExposed(&alone));
        QVERIFY(!alone.explorer()->isVisible());
        ModesPanel* panel = front(alone)->modesPanel();
        QVERIFY(panel->pitchButton()->isVisible() && panel->repeatCheckBox()->isVisible() && panel->appButton()->isVisible());
        alone.hideAppOptionsOnEachPage();
        QVERIFY(!panel->pitchButton()->isVisible() && !panel->repeatCheckBox()->isVisible() && !panel->appButton()->isVisible());
        QVERIFY(panel->moreButton()->isVisible());
    }

    // The sheet's rules in their order, and every picture they name compiled in with its sharp
    // twin; every page paints its picture too.
    void styleSheet()
    {
        QStringList expected = {
            "QCheckBox", "QFrame#MainPage, QFrame#MainSeparator",
            "QFrame#TuneButtonsPanel, QFrame#TunersCommonPanel, QFrame#ModesPanel", "QLabel", "QLabel#LogoLabel",
            "QMenu", "QMenu::item", "QMenu:!active", "QMenu::item:selected", "QMenu::separator", "QMenu::item:disabled",
            "QMenu::indicator", "QFrame#TunersExplorer", "QWidget#AboutDialog, QWidget#Dialog", "QPushButton#TuneButton",
            "QPushButton#TuneButton:pressed, QPushButton#TuneButton:checked", "QPushButton#PanelButton",
            "QPushButton#PanelButton:pressed", "QPushButton#FaceBookShareButton", "QPushButton#FaceBookShareButton:hover",
            "QPushButton#TwitterShareButton", "QPushButton#TwitterShareButton:hover", "QPushButton#EmailShareButton",
            "QPushButton#EmailShareButton:hover", "QPushButton#PushButton", "QPushButton#PushButton:pressed",
            "QPushButton::menu-indicator", "QPushButton#HarmoluxButton", "QPushButton#HarmoluxButton:hover",
            "QPushButton#HarmoluxButton:pressed"};
        for (const char* name : {"Violin", "Viola", "Cello", "DoubleBass", "Guitar", "BassGuitar", "Banjo", "Ukulele",
                                 "Mandolin", "Balalaika", "Dombra"}) {
            const QString b = QStringLiteral("QPushButton#%1Button").arg(QLatin1String(name));
            expected << b << b + ":hover" << b + ":pressed, " + b + ":checked"
                     << b + ":pressed:hover, " + b + ":checked:hover";
        }
        const QRegularExpression rule(QStringLiteral("([^{}]+)\\{([^{}]*)\\}"));
        QStringList selectors;
        QString whole;
        for (auto it = rule.globalMatch(strStyle); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            selectors << m.captured(1);
            whole += m.captured(0);
        }
        QCOMPARE(whole, strStyle);
        QCOMPARE(selectors, expected);
        QVERIFY(strStyle.contains("QMenu:!active{background-image: url(:/background.png);}"));
        QVERIFY(strStyle.contains("QPushButton#CelloButton{border-image:url(:/_resources/imgs/CelloButton.png) 0 0 0 0;}"));

        const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        QStringList missing;
        for (auto it = url.globalMatch(strStyle); it.hasNext();) {
            const QString path = it.next().captured(1).trimmed();
            const QString twin = path.left(path.lastIndexOf('.')) + "@2x" + path.mid(path.lastIndexOf('.'));
            const QImage image(path), big(twin);
            if (image.isNull() || big.size() != image.size() * 2)
                missing << path;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
        TunersMainPage window;
        QCOMPARE(qApp->styleSheet(), strStyle);
        // Each page paints its picture, though only the front one has been shown.
        for (int id = 0; id < TunerTables::kTunerCount; ++id) {
            TunerBasePage* page = window.page(TunerTables::Id(id));
            page->resize(400, 500);
            QVERIFY2(page->grab().toImage().pixel(200, 250) != qRgb(0, 0, 0), TunerTables::kTuners[id].name);
        }
        qApp->setStyleSheet(QString());
    }

    // A tone file that cannot be loaded, repeated every second, leaves no player behind: the heap
    // does not grow over 1,000 repeats.
    void missingToneFileInRepeatMode()
    {
        NoteName::setSoundHook({});
        app()->setSettingsValue("Pitch", 441);   // no tone files are made for 441 Hz
        GuitarTuner page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.slotSetRepeatMode(true);
        page.buttonsPanel()->repeatTimer()->stop();
        page.button(0)->click();
        const auto ticks = [&](int count) {
            for (int i = 0; i < count; ++i) {
                page.buttonsPanel()->slotTimeOut();
                QApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            QTest::qWait(50);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        ticks(200);
        const size_t before = heapInUse();
        ticks(1000);
        const qint64 grown = qint64(heapInUse()) - qint64(before);
        QVERIFY2(grown < 64 * 1024, qPrintable(QStringLiteral("the heap grew by %1 bytes").arg(grown)));
    }

    // The viewer opens the tuner window under its own name: the program's window size stays as
    // it is.
    void viewerKeepsToItsOwnSettings()
    {
        QTemporaryDir home;
        QProcess viewer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        viewer.setProcessEnvironment(env);
        const QString shot = home.filePath("tuners.png");
        viewer.start(QStringLiteral(TONARIX_BINARY_DIR "/TonarixLite/MacOS/pageviewer"), {"tuners", "--page", "Cello", "--grab", shot});
        QVERIFY(viewer.waitForFinished(30000));
        QCOMPARE(viewer.exitCode(), 0);
        QWidget probe;   // a window like the viewer's, for the room its frame leaves
        probe.show();
        QVERIFY(QTest::qWaitForWindowExposed(&probe));
        QCOMPARE(QImage(shot).size(), QSize(736, 636).boundedTo(REZirudid::ScreenFit::room(&probe)));
        QVERIFY(!QFileInfo::exists(home.filePath("Library/Application Support/TonarixLite")));
        QSettings stored(home.filePath("Library/Application Support/TonarixPageViewer/settings.plist"), QSettings::IniFormat);
        QCOMPARE(stored.value("TonarixPageViewer/Width").toInt(), 736);
    }
};

TONARIX_APP_TEST_MAIN(TestTuners)
#include "tst_Tuners.moc"
