// Starts the application object named "Probe" and prints what it found, one "key=value" a line.
#include "REZirudid/App.h"
#include "REZirudid/MessageBox.h"
#include "REZirudid/TranslationsManager.h"

#include <cstdio>

int main(int argc, char** argv)
{
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("Probe"));
    const QString language = app.currentLanguage();
    std::printf("store=%d\n", REZirudid::App::isAppStore() ? 1 : 0);
    std::printf("resources=%s\n", qPrintable(app.bundleResourcePath()));
    std::printf("language=%s\n", qPrintable(language));
    std::printf("translated=%d\n", REZirudid::TranslationsManager::instance()->isTranslationLoaded() ? 1 : 0);
    std::printf("yes=%s\n", REZirudid::MessageBox::buttonText(REZirudid::MessageBox::Yes).toUtf8().constData());
    return 0;
}
