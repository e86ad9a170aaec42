#include "DialogAnswerer.h"
#include "TempBundle.h"
#include "TestMain.h"
#include "UrlCatcher.h"

#include "REZirudid/AboutDialog.h"
#include "REZirudid/App.h"
#include "REZirudid/Links.h"
#include "platform/App_mac.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrlQuery>
#include <QVBoxLayout>

using REZirudid::App;

namespace {

// Runs the probe program from inside a bundle and returns its "key=value" lines.
QMap<QString, QString> runProbe(const QString& program, const QStringList& env = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : env)
        environment.insert(pair.section('=', 0, 0), pair.section('=', 1));
    process.setProcessEnvironment(environment);
    process.start(program, QStringList());
    QMap<QString, QString> values;
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return values;
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    for (const QString& line : lines) {
        if (line.contains('='))
            values.insert(line.section('=', 0, 0), line.section('=', 1));
    }
    return values;
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT
private slots:
    // The translations manager is created on first use, so this runs first.
    void languageComesFromSettingsWhenStored()
    {
        App::theApp()->setSettingsValue(REZirudid::SettingsKeys::language(), "DE");
        QCOMPARE(App::theApp()->currentLanguage(), QStringLiteral("de"));
        // Chosen once: a later change of the setting does not switch languages under way.
        App::theApp()->setSettingsValue(REZirudid::SettingsKeys::language(), "ru");
        QCOMPARE(App::theApp()->currentLanguage(), QStringLiteral("de"));
    }

    void settingsKeysCarryTheApplicationName()
    {
        App* app = App::theApp();
        app->setSettingsValue("Width", 733);
        app->setSettingsValue("Favorite1", "C\nm7");
        app->syncSettings();
        const QString path = QDir::homePath() + "/Library/Application Support/TonarixTest/settings.plist";
        QCOMPARE(app->settingsFilePath(), path);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(path));
        const QString text = QString::fromUtf8(file.readAll());
        // INI: the application name is the section, the key follows within it.
        const int section = text.indexOf("[TonarixTest]");
        QVERIFY2(section >= 0, qPrintable(text));
        QVERIFY2(text.indexOf("\nWidth=733", section) > section, qPrintable(text));
        QVERIFY2(!text.contains("[General]"), qPrintable(text));

        QCOMPARE(app->settingsValue("Width", 1).toInt(), 733);
        QCOMPARE(app->settingsValue("Favorite1").toString(), QStringLiteral("C\nm7"));
        QCOMPARE(app->settingsValue("NoSuchKey", 620).toInt(), 620);
        // A key stored without the prefix is a different key.
        QSettings raw(path, QSettings::IniFormat);
        raw.setValue("Height", 99);
        raw.sync();
        QCOMPARE(app->settingsValue("Height", 620).toInt(), 620);
    }

    void foldersAreCreatedUnderHome()
    {
        App* app = App::theApp();
        const QString home = QDir::homePath();
        QDir(home + "/Library").removeRecursively();
        QCOMPARE(app->workDirectory(), home + "/Library/TonarixTest/");
        QVERIFY(QDir(home + "/Library/TonarixTest").exists());
        QCOMPARE(app->supportDirectory(), home + "/Library/Application Support/TonarixTest/");
        QVERIFY(QDir(home + "/Library/Application Support/TonarixTest").exists());
    }

    void resourceFolderRule_data()
    {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bundle") << "/opt/TonarixLite.app/Contents/MacOS"
                                << "/opt/TonarixLite.app/Contents/Resources/";
        QTest::newRow("build tree") << "/work/build/TonarixLite/MacOS"
                                    << "/work/build/TonarixLite/Resources/";
        QTest::newRow("MacOS twice loses both") << "/home/me/MacOS/apps/X/MacOS"
                                                << "/home/me//apps/X/Resources/";
        QTest::newRow("inside a name") << "/srv/MacOSTools/bin/MacOS" << "/srv/Tools/bin/Resources/";
        QTest::newRow("case matters") << "/Apps/X/macos" << "/Apps/X/macosResources/";
    }
    void resourceFolderRule()
    {
        QFETCH(QString, dir);
        QFETCH(QString, expected);
        QCOMPARE(App::bundleResourcePathFor(dir), expected);
    }

    void resourceFolderAndStoreMarkerInsideABundle()
    {
        TestSupport::TempBundle bundle("Probe");
        QVERIFY(bundle.isValid());
        const QString probe = bundle.installExecutable(BUNDLE_PROBE);
        QVERIFY(!probe.isEmpty());

        QMap<QString, QString> seen = runProbe(probe);
        QVERIFY2(!seen.isEmpty(), "the probe did not run");
        QCOMPARE(QFileInfo(seen.value("resources")).canonicalFilePath() + "/",
                 QFileInfo(bundle.resourceDir()).canonicalFilePath() + "/");
        QVERIFY(seen.value("resources").endsWith("/Resources/"));
        QCOMPARE(seen.value("store"), QStringLiteral("1"));

        QVERIFY(bundle.setIndependent(true));
        seen = runProbe(probe);
        QCOMPARE(seen.value("store"), QStringLiteral("0"));

        QVERIFY(bundle.setIndependent(false));
        seen = runProbe(probe);
        QCOMPARE(seen.value("store"), QStringLiteral("1"));
    }

    void systemLanguageAndItsTranslation()
    {
        const QString lrelease = QStandardPaths::findExecutable("lrelease");
        if (lrelease.isEmpty())
            QSKIP("lrelease is not installed");
        TestSupport::TempBundle bundle("Probe");
        const QString probe = bundle.installExecutable(BUNDLE_PROBE);
        QVERIFY(!probe.isEmpty());
        QDir().mkpath(bundle.resourceDir() + "translations");
        const QString ts = bundle.root() + "/probe_de.ts";
        QFile source(ts);
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                     "<TS version=\"2.1\" language=\"de_DE\"><context><name>REZirudid::MessageBox</name>"
                     "<message><source>Yes</source><translation>Ja</translation></message>"
                     "</context></TS>\n");
        source.close();
        QCOMPARE(QProcess::execute(lrelease, {"-silent", ts, "-qm",
                                              bundle.resourceDir() + "translations/probe_de.qm"}),
                 0);

        const QStringList german = {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8", "LANGUAGE=de"};
        QMap<QString, QString> seen = runProbe(probe, german);
        QCOMPARE(seen.value("language"), QStringLiteral("de"));
        QCOMPARE(seen.value("translated"), QStringLiteral("1"));
        QCOMPARE(seen.value("yes"), QStringLiteral("Ja"));

        const QStringList french = {"LC_ALL=fr_FR.UTF-8", "LANG=fr_FR.UTF-8", "LANGUAGE=fr"};
        seen = runProbe(probe, french);
        QCOMPARE(seen.value("language"), QStringLiteral("fr"));
        QCOMPARE(seen.value("translated"), QStringLiteral("0"));
        QCOMPARE(seen.value("yes"), QStringLiteral("Yes"));

        seen = runProbe(probe, {"LC_ALL=C", "LANG=C", "LANGUAGE="});
        QCOMPARE(seen.value("language"), QStringLiteral("en"));
    }

    void slotsOpenTheirLinks_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("supportPage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rate: store page, lower-case name, id")
            << QByteArray("slotRateApp") << QString()
            << REZirudid::Links::storeEndpoint() + "/app/tonarixtest/id4711?ls=1&mt=12";
        QTest::newRow("more apps") << QByteArray("slotShowMoreApps") << QString()
                                   << REZirudid::Links::makerSite() + "/apps";
        QTest::newRow("support page when set")
            << QByteArray("slotSupportPage") << "http://vantrel.example/apps/tonarixlite"
            << "http://vantrel.example/apps/tonarixlite";
        QTest::newRow("home page when no support page")
            << QByteArray("slotSupportPage") << QString() << REZirudid::Links::makerSite();
    }
    void slotsOpenTheirLinks()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, supportPage);
        QFETCH(QString, expected);
        App* app = App::theApp();
        app->setAppId("id4711");
        app->setAppSupportPage(supportPage);
        TestSupport::UrlCatcher catcher;
        QVERIFY(QMetaObject::invokeMethod(app, slot.constData()));
        QCOMPARE(catcher.urlStrings(), QStringList{expected});
    }

    void contactUsWritesAnEmailNamingAppVersionSystemAndLanguage()
    {
        App* app = App::theApp();
        app->setApplicationVersion("1.0");
        TestSupport::UrlCatcher catcher;
        app->slotContactUs();
        QCOMPARE(catcher.count(), 1);
        const QUrl url = catcher.last();
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.path(), REZirudid::Links::makerSupportAddress());
        const QString subject =
            QUrlQuery(url).queryItemValue("subject", QUrl::FullyDecoded);
        QVERIFY2(subject.startsWith("TonarixTest 1.0, "), qPrintable(subject));
        QVERIFY2(subject.contains(QSysInfo::prettyProductName()), qPrintable(subject));
        QVERIFY2(subject.endsWith(", " + app->currentLanguage()), qPrintable(subject));
    }

    void dockClicksAreRelayed()
    {
        QSignalSpy spy(App::theApp(), &App::dockClicked);
        emit App_mac::instance()->dockClicked();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(App_mac::instance(), App_mac::instance());
    }

    void resourceOffsetAndPocketDevice()
    {
        App* app = App::theApp();
        QCOMPARE(app->resourceOffset(), QString());
        app->setResourceOffset("lib");
        QCOMPARE(app->resourceOffset(), QStringLiteral("lib"));
        app->setResourceOffset(QString());
        // The offscreen desktop is 800 x 600.
        const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(app->isPocketDevice(), desktop.width() < 480 || desktop.height() < 480);
        QVERIFY(app->devicePixelRatio() >= 1.0);
    }

    void mainWidgetGetsItsMenuBarInside_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("widget with a layout") << "layout";
        QTest::newRow("main window") << "mainwindow";
        QTest::newRow("widget without a layout") << "bare";
    }
    void mainWidgetGetsItsMenuBarInside()
    {
        QFETCH(QString, kind);
        App* app = App::theApp();
        QScopedPointer<QWidget> window;
        QLabel* content = new QLabel("content");
        if (kind == "mainwindow") {
            QMainWindow* main = new QMainWindow;
            main->setCentralWidget(content);
            window.reset(main);
        } else {
            window.reset(new QWidget);
            if (kind == "layout") {
                QVBoxLayout* layout = new QVBoxLayout(window.data());
                layout->setContentsMargins(0, 0, 0, 0);
                layout->addWidget(content);
            } else {
                content->setParent(window.data());
            }
        }
        app->setMainWidget(window.data());
        window->resize(400, 300);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));

        QMenuBar* bar = app->mainMenuBar();
        QVERIFY(bar);
        QCOMPARE(app->mainWidget(), window.data());
        QVERIFY(!bar->isWindow());
        QCOMPARE(bar->window(), window.data());
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->mapTo(window.data(), QPoint(0, 0)), QPoint(0, 0));
        // No window of its own: the only visible window is the main widget.
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY2(!top->isVisible() || top == window.data(), top->metaObject()->className());
        if (kind != "bare") {
            // The content starts below the bar.
            QVERIFY(content->mapTo(window.data(), QPoint(0, 0)).y() >= bar->height());
        }

        const QList<QAction*> menus = bar->actions();
        QCOMPARE(menus.size(), 1);
        QMenu* menu = menus.first()->menu();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QAction* about = menu->actions().first();
        QCOMPARE(about->text(), QStringLiteral("About"));
        QVERIFY(!about->icon().isNull());

        TestSupport::DialogAnswerer answer("Ok");
        about->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(answer.dialogClass(), QStringLiteral("REZirudid::AboutDialog"));
        QVERIFY(answer.buttonFound());
        app->setMainWidget(nullptr);
    }

    void helpOnStartFollowsTheSwitch()
    {
        App* app = App::theApp();
        QTemporaryDir slides;
        QImage image(64, 40, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(slides.path() + "/s0.png"));
        app->setIntroductionSlides({slides.path() + "/s0.png"});

        app->setHelpOnStart(false);
        app->showHelpOnStart();
        QTest::qWait(900);
        QVERIFY(!app->helpDialog() || !app->helpDialog()->isVisible());

        app->setHelpOnStart(true);
        app->showHelpOnStart();
        QTRY_VERIFY_WITH_TIMEOUT(app->helpDialog() && app->helpDialog()->isVisible(), 3000);
        QCOMPARE(app->helpDialog()->slides(), app->introductionSlides());

        // The dialog's check box writes the same switch.
        QCheckBox* box = app->helpDialog()->findChild<QCheckBox*>();
        QVERIFY(box);
        QVERIFY(box->isChecked());
        box->click();
        QVERIFY(!app->isHelpOnStart());
        QCOMPARE(app->settingsValue(REZirudid::SettingsKeys::helpOnStart(), true).toBool(), false);
        app->helpDialog()->close();
        app->setHelpOnStart(true);
    }
};

TONARIX_APP_TEST_MAIN(TestApp)
#include "tst_App.moc"
