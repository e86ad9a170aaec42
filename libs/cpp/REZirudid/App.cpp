#include "REZirudid/App.h"

#include <QDir>
#include <QScreen>
#include <QSettings>

namespace REZirudid {

App::App(int& argc, char** argv, const QString& organisationName, const QString& applicationName)
    : QApplication(argc, argv)
{
    setOrganizationName(organisationName);
    setApplicationName(applicationName);
    m_bundleResourcePath = bundleResourcePathFor(applicationDirPath());
    m_settings = new QSettings(supportDirectory() + "settings.plist", QSettings::IniFormat, this);
}

App::~App() = default;

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

double App::devicePixelRatio() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

} // namespace REZirudid
