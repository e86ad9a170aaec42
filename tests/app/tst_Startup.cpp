// The start-up steps and the main window: the order of the steps and what each leaves behind,
// the introduction slides per language, the start-up reminder per build, the window's size in the
// settings, the page switch and the promotion menus.
#include "ItemsPanel.h"
#include "MainPage.h"
#include "TonarixIdentity.h"
#include "TonarixStartup.h"
#include "TonarixStyle.h"

#include "TestMain.h"

#include "REZirudid/App.h"
#include "REZirudid/HelpDialog.h"
#include "REZirudid/PromoMenuBar.h"
#include "RIRurud/BalalaikaTonarixMainPage.h"
#include "RIRurud/BanjoTonarixMainPage.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
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
    }

    // The slides that start-up asks for are in the bundle, one set per language, all alike in size.
    void slidesAreInTheBundle()
    {
        for (const char* language : {"en", "de", "ru"}) {
            for (const QString& path : TonarixStartup::slidePaths(TONARIX_RESOURCES_DIR, language)) {
                const QImage slide(path);
                QVERIFY2(!slide.isNull(), qPrintable(path));
                QCOMPARE(slide.size(), QSize(960, 600));
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

    void windowSizeRoundTrip()
    {
        clearSize();
        QSize opened;
        {
            MainPage window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            // The default, raised by the toolkit to the layout's minimum where that is larger.
            const QSize minimum = window.minimumSizeHint();
            QCOMPARE(window.size(), QSize(qMax(620, minimum.width()), qMax(620, minimum.height())));
            QCOMPARE(app()->settingsValue("Width").toInt(), window.width());
            QCOMPARE(app()->settingsValue("Height").toInt(), window.height());
            window.resize(window.width() + 111, window.height() + 77);
            opened = window.size();
            QCOMPARE(app()->settingsValue("Width").toInt(), opened.width());
            QCOMPARE(app()->settingsValue("Height").toInt(), opened.height());
        }
        MainPage again;
        QCOMPARE(again.size(), opened);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.size(), opened);

        // A damaged size opens a whole window, not a squeezed one.
        app()->setSettingsValue("Width", "n/a");
        app()->setSettingsValue("Height", "n/a");
        MainPage damaged;
        QCOMPARE(damaged.size(), QSize(620, 620));
        clearSize();
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
