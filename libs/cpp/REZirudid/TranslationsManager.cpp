#include "REZirudid/TranslationsManager.h"

#include "REZirudid/App.h"
#include "REZirudid/Links.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace REZirudid {

TranslationsManager* TranslationsManager::m_pUniqueInstance = nullptr;

TranslationsManager* TranslationsManager::instance()
{
    if (!m_pUniqueInstance)
        m_pUniqueInstance = new TranslationsManager;
    return m_pUniqueInstance;
}

TranslationsManager::TranslationsManager()
    // A child of the application object, so it goes with it.
    : QObject(QCoreApplication::instance())
{
    QString language;
    if (const App* app = App::theApp())
        language = app->settingsValue(SettingsKeys::language()).toString().trimmed().toLower();
    if (language.size() != 2)
        language = systemLanguage();
    m_language = language;
    load();
}

TranslationsManager::~TranslationsManager()
{
    if (m_pUniqueInstance == this)
        m_pUniqueInstance = nullptr;
}

QString TranslationsManager::systemLanguage()
{
    const QString name = QLocale::system().name();   // "de_DE", "C"
    const QString code = name.left(2).toLower();
    if (code.size() != 2 || code == QLatin1String("c") || !code.at(0).isLetter())
        return QStringLiteral("en");
    return code;
}

QStringList TranslationsManager::searchPaths() const
{
    QStringList paths;
    if (const App* app = App::theApp())
        paths << app->bundleResourcePath() + QStringLiteral("translations");
    paths << QStringLiteral(":/translations");
    return paths;
}

void TranslationsManager::load()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || m_language == QLatin1String("en"))
        return;
    const QString base = QCoreApplication::applicationName().toLower() + "_" + m_language;
    for (const QString& dir : searchPaths()) {
        QTranslator* translator = new QTranslator(this);
        if (translator->load(base, dir)) {
            app->installTranslator(translator);
            m_appTranslator = translator;
            m_loaded = true;
            break;
        }
        delete translator;
    }
    // The toolkit's own texts (standard dialogs, context menus).
    QTranslator* qt = new QTranslator(this);
    if (qt->load("qtbase_" + m_language, QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        app->installTranslator(qt);
        m_qtTranslator = qt;
    } else {
        delete qt;
    }
}

} // namespace REZirudid
