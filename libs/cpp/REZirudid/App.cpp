#include "REZirudid/App.h"

#include "REZirudid/AboutDialog.h"
#include "REZirudid/Common.h"
#include "REZirudid/HelpDialog.h"
#include "REZirudid/JoinDialog.h"
#include "REZirudid/Links.h"
#include "REZirudid/MessageBox.h"
#include "REZirudid/Reminder.h"
#include "REZirudid/TellDialog.h"
#include "REZirudid/TranslationsManager.h"
#include "platform/App_mac.h"
#include "platform/Os.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <limits>

namespace REZirudid {

App::App(int& argc, char** argv, const QString& organisationName, const QString& applicationName)
    : QApplication(argc, argv)
{
    // Icons hand out pixmaps at the screen's pixel ratio (Qt 5 scales 1x pixmaps up otherwise).
    setAttribute(Qt::AA_UseHighDpiPixmaps);
    // Every widget of these programs draws in software. Without this a window's first show sets up
    // OpenGL in case a GL child were added later: the GLX extension and a driver (on a software
    // renderer, Mesa with LLVM: tens of megabytes and tens of milliseconds), for nothing.
    setAttribute(Qt::AA_ForceRasterWidgets);
    setOrganizationName(organisationName);
    setApplicationName(applicationName);
    m_bundleResourcePath = bundleResourcePathFor(applicationDirPath());
    m_settings = new QSettings(settingsFilePath(), QSettings::IniFormat, this);
    m_reminderInterval = 10;
    m_reminderDelay = 4000;
    App_mac::instance()->installDockHandler();
    connect(App_mac::instance(), &App_mac::dockClicked, this, &App::dockClicked);
}

App::~App()
{
    delete m_helpDialog;
}

App* App::theApp()
{
    return qobject_cast<App*>(QCoreApplication::instance());
}

QVariant App::settingsValue(const QString& key, const QVariant& defaultValue) const
{
    return m_settings->value(applicationName() + "/" + key, defaultValue);
}

void App::setSettingsValue(const QString& key, const QVariant& value)
{
    m_settings->setValue(applicationName() + "/" + key, value);
}

void App::removeSettingsValue(const QString& key)
{
    m_settings->remove(applicationName() + "/" + key);
}

bool App::containsSettingsValue(const QString& key) const
{
    return m_settings->contains(applicationName() + "/" + key);
}

QStringList App::settingsKeys() const
{
    m_settings->beginGroup(applicationName());
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    return keys;
}

QString App::settingsFilePath() const
{
    return supportDirectory() + QStringLiteral("settings.plist");
}

void App::syncSettings()
{
    m_settings->sync();
}

static QString ensured(const QString& path)
{
    QDir().mkpath(path);
    return path;
}

QString App::workDirectory() const
{
    return ensured(QDir::homePath() + "/Library/" + applicationName() + "/");
}

QString App::supportDirectory() const
{
    return ensured(QDir::homePath() + "/Library/Application Support/" + applicationName() + "/");
}

QString App::bundleResourcePath() const
{
    return m_bundleResourcePath;
}

QString App::bundleResourcePathFor(const QString& applicationDirPath)
{
    QString path = applicationDirPath;
    path.remove(QStringLiteral("MacOS"));
    return path + QStringLiteral("Resources/");
}

bool App::isAppStore()
{
    return !QFile::exists(bundleResourcePathFor(QCoreApplication::applicationDirPath())
                          + QStringLiteral("independent"));
}

double App::devicePixelRatio() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

bool App::isPocketDevice() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QRect desktop = screen->availableGeometry();
    return desktop.width() < 480 || desktop.height() < 480;
}

// ---- links ----

QString App::storePageUrl() const
{
    return Links::storeEndpoint() + "/app/" + applicationName().toLower() + "/" + m_appId
           + "?ls=1&mt=12";
}

QString App::contactUrl() const
{
    const QString subject = applicationName() + " " + applicationVersion() + ", "
                            + Os::instance()->systemVersion() + ", " + currentLanguage();
    return "mailto:" + Links::makerSupportAddress() + "?subject="
           + QString::fromLatin1(QUrl::toPercentEncoding(subject));
}

QString App::joinUrl(const QString& social) const
{
    return Links::makerJoinPage() + "?app="
           + QString::fromLatin1(QUrl::toPercentEncoding(applicationName()))
           + "&social=" + QString::fromLatin1(QUrl::toPercentEncoding(social));
}

void App::openUrl(const QString& url)
{
    Os::instance()->openUrl(url);
}

void App::slotRateApp()
{
    openUrl(storePageUrl());
}

void App::slotShowMoreApps()
{
    openUrl(Links::makerAppsPage());
}

void App::slotContactUs()
{
    openUrl(contactUrl());
}

void App::slotSupportPage()
{
    openUrl(m_supportPage.isEmpty() ? Links::makerSite() : m_supportPage);
}

QWidget* App::dialogParent() const
{
    if (QWidget* active = activeWindow())
        return active;
    return m_mainWidget;
}

// Runs a dialog in a local event loop until it finishes, then deletes it.
static int runDialog(QDialog* dialog)
{
    QEventLoop loop;
    int result = 0;
    QObject::connect(dialog, &QDialog::finished, &loop, [&loop, &result](int r) {
        result = r;
        loop.quit();
    });
    dialog->open();
    loop.exec();
    delete dialog;
    return result;
}

void App::slotShareApp()
{
    runDialog(new TellDialog(dialogParent()));
}

void App::slotJoinUs()
{
    runDialog(new JoinDialog(dialogParent()));
}

void App::slotAbout()
{
    AboutDialog* about = new AboutDialog(dialogParent());
    about->exec();
    delete about;
}

// ---- language ----

QString App::currentLanguage() const
{
    return TranslationsManager::instance()->currentLanguage();
}

// ---- introduction ----

bool App::isHelpOnStart() const
{
    return settingsValue(SettingsKeys::helpOnStart(), true).toBool();
}

void App::setHelpOnStart(bool on)
{
    setSettingsValue(SettingsKeys::helpOnStart(), on);
}

void App::showHelpOnStart()
{
    if (isHelpOnStart())
        QTimer::singleShot(500, this, &App::slotHelp);
}

void App::slotHelp()
{
    if (!m_helpDialog)
        m_helpDialog = new HelpDialog(m_mainWidget);
    m_helpDialog->setSlides(m_slides);
    m_helpDialog->start();
    m_helpDialog->show();
    m_helpDialog->raise();
    m_helpDialog->activateWindow();
}

// ---- main window ----

void App::setMainWidget(QWidget* w)
{
    m_mainWidget = w;
    if (!w)
        return;
    delete m_menuBar;
    QMenuBar* bar = new QMenuBar(w);
    // Always a bar inside the window: a desktop-wide menu would detach it from the window.
    bar->setNativeMenuBar(false);
    // Inside the window the bar sits right above the page's dark promotion bar: give it the same
    // dark face rather than the light desktop default (the application sheet styles only menus).
    bar->setStyleSheet(QStringLiteral(
        "QMenuBar{background: rgb(43,38,34); color: rgb(238,232,220); border: none; padding: 1px 4px;}"
        "QMenuBar::item{background: transparent; padding: 3px 10px; border-radius: 4px;}"
        "QMenuBar::item:selected, QMenuBar::item:pressed{background: rgb(31,122,140); color: white;}"));
    QMenu* menu = bar->addMenu(tr("&Help"));
    QAction* about = menu->addAction(Common::sharpIcon(QStringLiteral(":/appicon.png")), tr("About"));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &App::slotAbout);

    if (QMainWindow* window = qobject_cast<QMainWindow*>(w)) {
        window->setMenuBar(bar);
    } else {
        QLayout* layout = w->layout();
        if (!layout) {
            layout = new QVBoxLayout(w);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        layout->setMenuBar(bar);
    }
    m_menuBar = bar;
    bar->show();
}

// ---- reminders ----

void App::callReminder(int interval, int kinds)
{
    m_reminderInterval = interval;
    const Reminder::Kind kind =
        Reminder::choose(kinds, isAppStore(), QRandomGenerator::global()->generate());
    QTimer::singleShot(m_reminderDelay, this, [this, kind] { runReminder(kind); });
}

void App::runReminder(int kind)
{
    const int counter = settingsValue(SettingsKeys::autoReminderCount(), 1).toInt();
    const bool enabled = settingsValue(SettingsKeys::autoReminder(), true).toBool();
    if (Reminder::isDue(enabled, counter, m_reminderInterval))
        showReminder(kind);
    // Counted once the reminder (if any) has been shown.
    // Counting stops at the largest count rather than overflow.
    setSettingsValue(SettingsKeys::autoReminderCount(),
                     counter < std::numeric_limits<int>::max() ? counter + 1 : counter);
}

void App::showReminder(int kind)
{
    switch (kind) {
    case Reminder::Rate:
        runRateReminder();
        break;
    case Reminder::Share:
        slotShareApp();
        break;
    case Reminder::Join:
        slotJoinUs();
        break;
    default:
        break;
    }
}

void App::runRateReminder()
{
    const QString text =
        tr("If you enjoy %1, would you take a moment to rate it? It helps others find it. "
           "Thank you for your support!")
            .arg(applicationName());
    const int answer = MessageBox::question(dialogParent(), tr("Rate %1").arg(applicationName()),
                                            text, MessageBox::Yes | MessageBox::No);
    if (answer == MessageBox::Yes)
        slotRateApp();
}

} // namespace REZirudid
