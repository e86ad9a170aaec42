#pragma once

#include <QApplication>
#include <QVariant>

class QSettings;

namespace REZirudid {

// The application object: identity, settings store, folders and screen metrics. Every part of the
// program reaches it through theApp().
class App : public QApplication
{
    Q_OBJECT
public:
    App(int& argc, char** argv, const QString& organisationName, const QString& applicationName);
    ~App() override;

    static App* theApp();

    QVariant settingsValue(const QString& key, const QVariant& defaultValue = QVariant()) const;
    void setSettingsValue(const QString& key, const QVariant& value);

    QString workDirectory() const;
    QString supportDirectory() const;

    // The bundle's resource folder: the executable's folder with "MacOS" taken out, then
    // "Resources/". Fixed when the application object is constructed.
    QString bundleResourcePath() const;
    static QString bundleResourcePathFor(const QString& applicationDirPath);

    double devicePixelRatio() const;

private:
    QSettings* m_settings = nullptr;
    QString m_bundleResourcePath;
};

} // namespace REZirudid
