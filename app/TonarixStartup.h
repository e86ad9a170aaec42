#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class MainPage;

namespace REZirudid {
class App;
}

// The start-up of the program after the application object exists, kept apart from main() so that
// tests can run it.
namespace TonarixStartup {

// The steps in the order they run.
enum class Step {
    AppId,
    Version,
    Domain,
    StyleSheet,
    Links,
    MainWindow,
    DockConnection,
    Slides,
    Title,
    MainWidget,
    Shown,
    Reminder,
};

// Gives the application its identity, links and style sheet, builds the main window, hands it and
// the introduction slides to the application, shows it and arms the start-up reminder. `observe`,
// when given, is called after each step. The caller runs the event loop and destroys the window
// before the application object.
std::unique_ptr<MainPage> start(REZirudid::App& app, const std::function<void(Step)>& observe = {});

// "en", "de" or "ru" as given (case-sensitive); "en" for every other language.
QString slideLanguage(const QString& interfaceLanguage);
// The seven slide files in the resource folder, slide 0 first. On a screen denser than 1 each slide
// that has a double-density twin ("TXLSlide0_en@2x.jpg") is taken from it.
QStringList slidePaths(const QString& resourceFolder, const QString& language, double pixelRatio = 1.0);

// The reminder kinds of the start-up reminder: rate in a store build, share or join-us otherwise.
int reminderKinds(bool appStore);
constexpr int kReminderInterval = 4;

} // namespace TonarixStartup
