#pragma once

#include <QObject>
#include <QString>

class QTranslator;

namespace REZirudid {

// Chooses the interface language and loads its translations; created on first use. The language
// is the one stored in the settings ("Language") when set, else the system's; "en" when the
// system names none.
class TranslationsManager : public QObject
{
    Q_OBJECT
public:
    static TranslationsManager* instance();
    ~TranslationsManager() override;

    QString currentLanguage() const { return m_language; }
    // True when a translation of the program for the current language was found and installed.
    bool isTranslationLoaded() const { return m_loaded; }
    // Where translations are looked for: "<lower-case application name>_<language>.qm" in the
    // bundle's resource folder (subfolder "translations"), then in the compiled-in resources.
    QStringList searchPaths() const;

    static QString systemLanguage();

private:
    TranslationsManager();
    void load();

    static TranslationsManager* m_pUniqueInstance;
    QString m_language;
    bool m_loaded = false;
    QTranslator* m_appTranslator = nullptr;
    QTranslator* m_qtTranslator = nullptr;
};

} // namespace REZirudid
