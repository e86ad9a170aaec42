// The start-up steps and the main window: the order of the steps and what each leaves behind,
// the introduction slides per language, the start-up reminder per build, the window's size in the
// settings (and the page viewer's from its arguments), the page switch and the promotion menus.
#include "ItemsPanel.h"
#include "MainPage.h"
#include "TonarixIdentity.h"
#include "TonarixStartup.h"
#include "TonarixStyle.h"

#include "TestMain.h"

#include "REZirudid/App.h"
#include "REZirudid/HelpDialog.h"
#include "REZirudid/PromoMenuBar.h"
#include "REZirudid/ScreenFit.h"
#include "RIRurud/BalalaikaTonarixMainPage.h"
#include "RIRurud/BanjoTonarixMainPage.h"
#include "RIRurud/BoardBase.h"

#include <QAction>
#include <QFile>
#include <QImageReader>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTemporaryDir>
#include <QUrl>

using TonarixStartup::Step;

class TestStartup : public QObject
{
    Q_OBJECT
private:
    REZirudid::App* app() const { return REZirudid::App::theApp(); }

    void clearSize()
    {
        app()->setSettingsValue("Width", QVariant());
        app()->setSettingsValue("Height", QVariant());
    }

private slots:
    void initTestCase()
    {
        // No reminder dialog may pop up while the tests run.
        app()->setReminderDelay(600000);
    }

    void startUpOrder()
    {
        // The interface language is chosen once, from the settings: French has no slides.
        app()->setSettingsValue("Language", "fr");
        QList<Step> steps;
        MainPage* built = nullptr;
        const auto observe = [&](Step step) {
            steps << step;
            const auto windows = QApplication::topLevelWidgets();
            MainPage* window = nullptr;
            for (QWidget* w : windows) {
                if (auto* page = qobject_cast<MainPage*>(w))
                    window = page;
            }
            switch (step) {
            case Step::StyleSheet:
                QCOMPARE(app()->styleSheet(), strTonarixStyle);
                QVERIFY(!window);   // the sheet is in force before any window exists
                break;
            case Step::MainWindow:
                QVERIFY(window);
                built = window;
                QVERIFY(!app()->faceBookShareLink().isEmpty());
                QVERIFY(app()->introductionSlides().isEmpty());
                QVERIFY(!window->isVisible());
                break;
            case Step::Slides:
                QCOMPARE(app()->introductionSlides().size(), 7);
                QVERIFY(window->windowTitle().isEmpty());
                break;
            case Step::MainWidget:
                QCOMPARE(window->windowTitle(), QCoreApplication::applicationName());
                QVERIFY(!window->isVisible());
                QCOMPARE(app()->mainWidget(), window);
                break;
            case Step::Shown:
                QVERIFY(window->isVisible());
                QCOMPARE(app()->reminderInterval(), 10);   // not armed yet
                break;
            case Step::Reminder:
                QCOMPARE(app()->reminderInterval(), TonarixStartup::kReminderInterval);
                break;
            default:
                break;
            }
        };
        std::unique_ptr<MainPage> window = TonarixStartup::start(*app(), observe);
        QCOMPARE(steps, (QList<Step>{Step::AppId, Step::Version, Step::Domain, Step::StyleSheet, Step::Links,
                                      Step::MainWindow, Step::DockConnection, Step::Slides, Step::Title,
                                      Step::MainWidget, Step::Shown, Step::Reminder}));
        QCOMPARE(window.get(), built);

        // Identity and links.
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.0"));
        QCOMPARE(app()->appId(), TonarixIdentity::storeIdentifier());
        QVERIFY(QCoreApplication::organizationDomain().endsWith(QStringLiteral(".example")));
        const QStringList links = {app()->faceBookShareLink(), app()->twitterShareLink(),
                                   app()->vkontakteShareLink(), app()->appSupportPage()};
        const QStringList paths = {"/apps/tonarix/tonarixlitefacebook.php", "/apps/tonarix/tonarixtlitewitter.php",
                                   "/apps/tonarix/tonarixlitevkontakte.php", "/apps/tonarixlite"};
        for (int i = 0; i < links.size(); ++i) {
            const QUrl url(links.at(i));
            QCOMPARE(url.scheme(), QStringLiteral("http"));
            QVERIFY(url.host().endsWith(QStringLiteral(".example")));
            QCOMPARE(url.path(), paths.at(i));
        }

        // French gives the English slides in the bundle's resource folder.
        const QStringList slides = app()->introductionSlides();
        const QString folder = REZirudid::App::bundleResourcePathFor(QCoreApplication::applicationDirPath());
        for (int i = 0; i < 7; ++i)
            QCOMPARE(slides.at(i), folder + QStringLiteral("TXLSlide%1_en.jpg").arg(i));

        // The introduction opens once the event loop runs, and finds the slides set.
        QTRY_VERIFY_WITH_TIMEOUT(app()->helpDialog() && app()->helpDialog()->isVisible(), 3000);
        QCOMPARE(app()->helpDialog()->slides(), slides);
        app()->helpDialog()->close();

        // The menu bar with the About entry; a dock click restores a minimised window.
        QVERIFY(window->findChild<QMenuBar*>());
        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
        emit app()->dockClicked();
        QTRY_VERIFY(!window->isMinimized());
        QVERIFY(window->isVisible());
    }

    void slidePaths_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("slides");
        QTest::newRow("en") << "en" << "en";
        QTest::newRow("de") << "de" << "de";
        QTest::newRow("ru") << "ru" << "ru";
        QTest::newRow("fr") << "fr" << "en";
        QTest::newRow("upper case") << "DE" << "en";
        QTest::newRow("empty") << "" << "en";
    }
    void slidePaths()
    {
        QFETCH(QString, language);
        QFETCH(QString, slides);
        QCOMPARE(TonarixStartup::slideLanguage(language), slides);
        // An executable folder with "MacOS" twice loses both.
        const QString folder = REZirudid::App::bundleResourcePathFor("/opt/MacOS/TonarixLite/MacOS");
        QCOMPARE(folder, QStringLiteral("/opt//TonarixLite/Resources/"));
        const QStringList paths = TonarixStartup::slidePaths(folder, TonarixStartup::slideLanguage(language));
        QCOMPARE(paths.size(), 7);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(paths.at(i), folder + QStringLiteral("TXLSlide%1_%2.jpg").arg(i).arg(slides));
        // Without double-density twins a dense screen gets the same slides.
        QCOMPARE(TonarixStartup::slidePaths(folder, TonarixStartup::slideLanguage(language), 2.0), paths);
    }

    // The slides that start-up asks for are in the bundle, one set per language, all alike in size,
    // each with a twin of twice the size that start-up takes on a denser screen.
    void slidesAreInTheBundle()
    {
        for (const char* language : {"en", "de", "ru"}) {
            const QStringList single = TonarixStartup::slidePaths(TONARIX_RESOURCES_DIR, language);
            const QStringList dense = TonarixStartup::slidePaths(TONARIX_RESOURCES_DIR, language, 2.0);
            QCOMPARE(dense.size(), single.size());
            for (int i = 0; i < single.size(); ++i) {
                QCOMPARE(QImageReader(single.at(i)).size(), QSize(960, 600));
                QCOMPARE(dense.at(i), QString(single.at(i)).replace(".jpg", "@2x.jpg"));
                QCOMPARE(QImageReader(dense.at(i)).size(), QSize(1920, 1200));
            }
        }
        // Different languages are different pictures.
        QVERIFY(QImage(TONARIX_RESOURCES_DIR "TXLSlide0_en.jpg") != QImage(TONARIX_RESOURCES_DIR "TXLSlide0_ru.jpg"));
    }

    void reminderPerBuild_data()
    {
        QTest::addColumn<bool>("independent");
        QTest::addColumn<int>("kinds");
        QTest::newRow("store build") << false << 1;
        QTest::newRow("independent build") << true << 6;
    }
    void reminderPerBuild()
    {
        QFETCH(bool, independent);
        QFETCH(int, kinds);
        const QString marker = app()->bundleResourcePath() + QStringLiteral("independent");
        QDir().mkpath(app()->bundleResourcePath());
        if (independent) {
            QFile file(marker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const bool store = REZirudid::App::isAppStore();
        QFile::remove(marker);
        QCOMPARE(store, !independent);
        QCOMPARE(TonarixStartup::reminderKinds(store), kinds);
    }

    // A missing or damaged stored size keeps the default side; a good one is used.
    void storedSize_data()
    {
        QTest::addColumn<QVariant>("width");
        QTest::addColumn<QVariant>("height");
        QTest::addColumn<QSize>("size");
        QTest::newRow("first start") << QVariant() << QVariant() << QSize(620, 620);
        QTest::newRow("stored") << QVariant(1000) << QVariant(760) << QSize(1000, 760);
        QTest::newRow("stored as text") << QVariant("1000") << QVariant("760") << QSize(1000, 760);
        QTest::newRow("not numbers") << QVariant("wide") << QVariant("tall") << QSize(620, 620);
        QTest::newRow("one damaged") << QVariant("9x9") << QVariant(700) << QSize(620, 700);
        QTest::newRow("zero and negative") << QVariant(0) << QVariant(-40) << QSize(620, 620);
    }
    void storedSize()
    {
        QFETCH(QVariant, width);
        QFETCH(QVariant, height);
        QFETCH(QSize, size);
        app()->setSettingsValue("Width", width);
        app()->setSettingsValue("Height", height);
        QCOMPARE(MainPage::storedSize(), size);
        clearSize();
    }

    // The window opens at its stored size (the default raised to the layout's minimum on a first
    // start) and keeps it, but never beyond the room its screen offers: a size stored on a larger
    // screen, or a damaged one, opens a window the screen holds, and so does a layout taller than
    // the screen. Whatever size it opens at is written back. Run at several scale factors, so that
    // the room is larger and smaller than the layout.
    void windowFitsTheScreen_data()
    {
        QTest::addColumn<QVariant>("width");
        QTest::addColumn<QVariant>("height");
        QTest::newRow("first start") << QVariant() << QVariant();
        QTest::newRow("stored") << QVariant(1000) << QVariant(760);
        QTest::newRow("below the minimum") << QVariant(300) << QVariant(200);
        QTest::newRow("huge") << QVariant(100000) << QVariant(100000);
    }
    void windowFitsTheScreen()
    {
        QFETCH(QVariant, width);
        QFETCH(QVariant, height);
        app()->setSettingsValue("Width", width);
        app()->setSettingsValue("Height", height);
        MainPage window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = window.screen()->availableGeometry();
        const QSize frame = window.frameGeometry().size() - window.size();
        const QSize room = screen.size() - frame;
        QVERIFY2(window.frameGeometry().width() <= screen.width() && window.frameGeometry().height() <= screen.height(),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4").arg(window.width()).arg(window.height())
                                .arg(screen.width()).arg(screen.height())));
        QVERIFY(window.minimumWidth() <= room.width() && window.minimumHeight() <= room.height());
        const QSize stored = width.isValid() ? QSize(width.toInt(), height.toInt()) : QSize(620, 620);
        const QSize expected = stored.expandedTo(window.layout()->totalMinimumSize()).boundedTo(room);
        QCOMPARE(window.size(), expected);
        // On a screen 640 wide or more the board ends inside the window (it narrows to fit).
        const QWidget* board = window.pages()->currentWidget()->findChild<RIRurud::BoardBase*>();
        if (room.width() >= 640)
            QVERIFY(board->mapTo(&window, QPoint(board->width(), 0)).x() <= window.width());
        if (room.width() >= 1000 && room.height() >= 760 && QByteArray(QTest::currentDataTag()) == "stored")
            QCOMPARE(window.size(), QSize(1000, 760));
        QCOMPARE(app()->settingsValue("Width").toInt(), window.width());
        QCOMPARE(app()->settingsValue("Height").toInt(), window.height());
        clearSize();
    }

    // The page viewer holds a size it is given to the screen, as the window holds a stored one, and
    // refuses with a word one that is no size at all.
    void viewerSizeFitsTheScreen_data()
    {
        QTest::addColumn<QStringList>("option");
        QTest::addColumn<QSize>("size");   // before it is held to the screen; none when refused
        QTest::newRow("huge") << QStringList{"--size", "99999999x99999999"} << QSize(99999999, 99999999);
        QTest::newRow("wider than the screen") << QStringList{"--size", "100000x500"} << QSize(100000, 500);
        QTest::newRow("zero") << QStringList{"--size", "0x0"} << QSize();
        QTest::newRow("negative") << QStringList{"--size", "-5x100"} << QSize();
        QTest::newRow("one number") << QStringList{"--size", "1200"} << QSize();
        QTest::newRow("no height") << QStringList{"--size", "12x"} << QSize();
        QTest::newRow("beyond a whole number") << QStringList{"--size", "99999999999x500"} << QSize();
        QTest::newRow("words") << QStringList{"--size", "widexhigh"} << QSize();
        QTest::newRow("no value") << QStringList{"--size"} << QSize();
    }
    void viewerSizeFitsTheScreen()
    {
        QFETCH(QStringList, option);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString shot = dir.filePath("shot.png");
        QProcess viewer;
        viewer.start(QStringLiteral(TONARIX_BINARY_DIR "/TonarixLite/MacOS/pageviewer"),
                     QStringList{"metronome", "--grab", shot} + option);
        QVERIFY(viewer.waitForFinished(30000));
        QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
        if (!size.isValid()) {
            QCOMPARE(viewer.exitCode(), 2);
            QVERIFY(viewer.readAllStandardError().contains("--size"));
            QVERIFY(!QFileInfo::exists(shot));
            return;
        }
        QCOMPARE(viewer.exitCode(), 0);
        QWidget probe;   // a window like the viewer's, for the room its frame leaves
        probe.show();
        QVERIFY(QTest::qWaitForWindowExposed(&probe));
        QCOMPARE(QImage(shot).size(), size.boundedTo(REZirudid::ScreenFit::room(&probe)));
    }

    // Menu icons are drawn from pictures dense enough for the screen: at a pixel ratio of 2 every
    // icon of the More and Help menus is handed out at twice its size, from a picture that large.
    // Run at scales 0.5, 1 and 2.
    void denseScreen()
    {
        const double ratio = app()->devicePixelRatio();
        const double iconRatio = qMax(1.0, ratio);   // icons are never handed out below their size
        app()->setSettingsValue("ShowHelpOnStart", false);
        std::unique_ptr<MainPage> window = TonarixStartup::start(*app());
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QList<QAction*> actions = window->banjoPage()->promoMenuBar()->moreMenu()->actions()
            + window->balalaikaPage()->promoMenuBar()->moreMenu()->actions();
        for (QAction* entry : window->findChild<QMenuBar*>()->actions())
            actions += entry->menu()->actions();
        const int side = window->style()->pixelMetric(QStyle::PM_SmallIconSize);
        int icons = 0;
        for (const QAction* action : qAsConst(actions)) {
            if (action->isSeparator())
                continue;
            const QIcon icon = action->icon();
            const QPixmap shown = icon.pixmap(window->windowHandle(), QSize(side, side));
            QCOMPARE(shown.devicePixelRatio(), iconRatio);
            QCOMPARE(shown.size(), QSize(side, side) * iconRatio);
            QSize largest;
            for (const QSize& size : icon.availableSizes())
                largest = largest.expandedTo(size);
            QVERIFY2(largest.width() >= 2 * side, qPrintable(action->text()));
            ++icons;
        }
        QCOMPARE(icons, 8 + 6 + 9 + 6 + 1);
        app()->removeSettingsValue("ShowHelpOnStart");
    }

    void pageSwitch_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("page");
        QTest::newRow("start") << QStringList() << 0;
        QTest::newRow("balalaika") << QStringList{"BalalaikaItem"} << 1;
        QTest::newRow("balalaika twice") << QStringList{"BalalaikaItem", "BalalaikaItem"} << 1;
        QTest::newRow("and back") << QStringList{"BalalaikaItem", "BanjoItem"} << 0;
        QTest::newRow("other instrument") << QStringList{"BalalaikaItem", "GuitarItem"} << 1;
        QTest::newRow("case matters") << QStringList{"balalaikaitem"} << 0;
    }
    void pageSwitch()
    {
        QFETCH(QStringList, names);
        QFETCH(int, page);
        MainPage window;
        QCOMPARE(window.pages()->widget(0), static_cast<QWidget*>(window.banjoPage()));
        QCOMPARE(window.pages()->widget(1), static_cast<QWidget*>(window.balalaikaPage()));
        for (const QString& name : names)
            window.slotItemChanged(name);
        QCOMPARE(window.pages()->currentIndex(), page);
    }

    // The panel drives the stack through real clicks.
    void panelClicksSwitchPages()
    {
        MainPage window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.findChild<QPushButton*>("BalalaikaItem"), Qt::LeftButton);
        QCOMPARE(window.pages()->currentWidget(), static_cast<QWidget*>(window.balalaikaPage()));
        QTest::mouseClick(window.findChild<QPushButton*>("BanjoItem"), Qt::LeftButton);
        QCOMPARE(window.pages()->currentWidget(), static_cast<QWidget*>(window.banjoPage()));
    }

    void promotionMenus()
    {
        MainPage window;
        const struct
        {
            RIRurud::BaseMainPage* page;
            int first;
        } pages[] = {{window.banjoPage(), 4}, {window.balalaikaPage(), 5}};
        QStringList secondGroups;
        for (const auto& entry : pages) {
            const QList<QAction*> actions = entry.page->promoMenuBar()->moreMenu()->actions();
            // first group, separator, second group of 4, then the shop: separator, 5, separator, 1.
            QCOMPARE(actions.size(), entry.first + 1 + 4 + 1 + 5 + 1 + 1);
            QStringList second;
            for (int i = 0; i < entry.first + 5; ++i) {
                QAction* a = actions.at(i);
                QCOMPARE(a->isSeparator(), i == entry.first);
                if (a->isSeparator())
                    continue;
                QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
                QVERIFY(!a->text().isEmpty());
                if (i > entry.first)
                    second << a->text();
            }
            QVERIFY(actions.at(entry.first + 5)->isSeparator());   // the shop follows
            secondGroups << second.join('|');
        }
        QCOMPARE(secondGroups.at(0), secondGroups.at(1));
    }
};

TONARIX_APP_TEST_MAIN(TestStartup)
#include "tst_Startup.moc"
