#pragma once

#include "REZirudid/HelpDialog.h"

#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QStringList>
#include <QVariant>

class QSettings;

namespace REZirudid {

// The application object: identity, settings store, folders, language, links, reminders and
// screen metrics. Every part of the program reaches it through theApp().
class App : public QApplication
{
    Q_OBJECT
public:
    App(int& argc, char** argv, const QString& organisationName, const QString& applicationName);
    ~App() override;

    static App* theApp();

    // Settings live in "settings.plist" (INI) in the support folder; every key is stored under the
    // application name and "/".
    QVariant settingsValue(const QString& key, const QVariant& defaultValue = QVariant()) const;
    void setSettingsValue(const QString& key, const QVariant& value);
    void removeSettingsValue(const QString& key);
    // Whether the key is stored at all, whatever its value (an invalid one included).
    bool containsSettingsValue(const QString& key) const;
    // The keys stored under the application name, in no particular order.
    QStringList settingsKeys() const;
    QString settingsFilePath() const;
    // Writes pending changes to the settings file now (it is written on exit anyway).
    void syncSettings();

    // home + "/Library/" + name + "/" and home + "/Library/Application Support/" + name + "/",
    // both created when missing.
    QString workDirectory() const;
    QString supportDirectory() const;

    // The bundle's resource folder: the executable's folder with every "MacOS" taken out, then
    // "Resources/". Fixed when the application object is constructed.
    QString bundleResourcePath() const;
    static QString bundleResourcePathFor(const QString& applicationDirPath);

    // True unless the bundle's resource folder holds the marker file "independent".
    static bool isAppStore();

    QString resourceOffset() const { return m_resourceOffset; }
    void setResourceOffset(const QString& offset) { m_resourceOffset = offset; }

    double devicePixelRatio() const;
    // True when the desktop is narrower or lower than 480 pixels.
    bool isPocketDevice() const;

    // Identity and links.
    void setAppId(const QString& id) { m_appId = id; }
    QString appId() const { return m_appId; }
    void setFaceBookShareLink(const QString& url) { m_faceBookShareLink = url; }
    void setTwitterShareLink(const QString& url) { m_twitterShareLink = url; }
    void setVKontakteShareLink(const QString& url) { m_vkontakteShareLink = url; }
    QString faceBookShareLink() const { return m_faceBookShareLink; }
    QString twitterShareLink() const { return m_twitterShareLink; }
    QString vkontakteShareLink() const { return m_vkontakteShareLink; }
    void setAppSupportPage(const QString& url) { m_supportPage = url; }
    QString appSupportPage() const { return m_supportPage; }
    QString storePageUrl() const;      // the link slotRateApp() opens
    QString contactUrl() const;        // the "mailto:" link slotContactUs() opens
    QString joinUrl(const QString& social) const;  // the maker's join-us page for one network
    // Opens a link with the desktop's URL handler.
    static void openUrl(const QString& url);

    // Two lower-case letters ("en", "de", "ru"); creates the translations manager on first use.
    QString currentLanguage() const;

    // The introduction slide show: image paths in slide order.
    void setIntroductionSlides(const QStringList& paths) { m_slides = paths; }
    QStringList introductionSlides() const { return m_slides; }
    // Unless the user switched it off, opens the introduction 500 ms after the event loop starts.
    void showHelpOnStart();
    bool isHelpOnStart() const;
    void setHelpOnStart(bool on);
    HelpDialog* helpDialog() const { return m_helpDialog; }

    // Remembers the main window and gives it a menu bar (inside the window) with "About".
    void setMainWidget(QWidget* w);
    QWidget* mainWidget() const { return m_mainWidget; }
    QMenuBar* mainMenuBar() const { return m_menuBar; }

    // Stores the interval and, after the reminder delay, shows one reminder out of the kinds
    // (1 rate, 2 share, 4 join, 8 rate in a store build else share) when reminders are on and the
    // start counter is a multiple of the interval; then stores the counter plus one. An interval
    // of 0 or less never reminds.
    void callReminder(int interval, int kinds);
    int reminderInterval() const { return m_reminderInterval; }
    int reminderDelay() const { return m_reminderDelay; }
    void setReminderDelay(int msecs) { m_reminderDelay = msecs; }

signals:
    void dockClicked();

public slots:
    void slotRateApp();
    void slotShareApp();
    void slotJoinUs();
    void slotShowMoreApps();
    void slotContactUs();
    void slotSupportPage();
    void slotHelp();
    void slotAbout();

private:
    void runReminder(int kind);
    void showReminder(int kind);
    void runRateReminder();
    QWidget* dialogParent() const;

    QSettings* m_settings = nullptr;
    QString m_bundleResourcePath;
    QString m_resourceOffset;
    QString m_appId;
    QString m_faceBookShareLink;
    QString m_twitterShareLink;
    QString m_vkontakteShareLink;
    QString m_supportPage;
    QStringList m_slides;
    QPointer<QWidget> m_mainWidget;
    QPointer<QMenuBar> m_menuBar;
    QPointer<HelpDialog> m_helpDialog;
    int m_reminderInterval = 10;
    int m_reminderDelay = 4000;
};

} // namespace REZirudid
