#include "TonarixStartup.h"

#include "MainPage.h"
#include "TonarixIdentity.h"
#include "TonarixStyle.h"

#include "REZirudid/App.h"
#include "REZirudid/Common.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QThreadPool>

namespace TonarixStartup {

QString slideLanguage(const QString& interfaceLanguage)
{
    if (interfaceLanguage == QLatin1String("en") || interfaceLanguage == QLatin1String("de")
        || interfaceLanguage == QLatin1String("ru"))
        return interfaceLanguage;
    return QStringLiteral("en");
}

QStringList slidePaths(const QString& resourceFolder, const QString& language, double pixelRatio)
{
    QStringList paths;
    for (int i = 0; i < 7; ++i) {
        const QString path = resourceFolder + QStringLiteral("TXLSlide%1_%2.jpg").arg(i).arg(language);
        const QString twin = REZirudid::Common::doubleDensityName(path);
        paths << (pixelRatio > 1.0 && QFile::exists(twin) ? twin : path);
    }
    return paths;
}

int reminderKinds(bool appStore)
{
    return appStore ? 1 : 2 | 4;
}

std::unique_ptr<MainPage> start(REZirudid::App& app, const std::function<void(Step)>& observe)
{
    const auto done = [&observe](Step step) {
        if (observe)
            observe(step);
    };
    // The first use of any font reads the system's whole font list, which takes tens of
    // milliseconds where many fonts are installed. A worker reads it, and looks up the fallbacks
    // of the default font, while the window is built; the database is shared and locked, so the
    // window simply finds it ready.
    QThreadPool::globalInstance()->start([] {
        QFontDatabase database;
        QFontMetrics(QGuiApplication::font()).horizontalAdvance(QStringLiteral("Ag"));
    });
    app.setAppId(TonarixIdentity::storeIdentifier());
    done(Step::AppId);
    app.setApplicationVersion(TonarixIdentity::applicationVersion());
    done(Step::Version);
    app.setOrganizationDomain(TonarixIdentity::organisationDomain());
    done(Step::Domain);
    // In force before any window exists.
    app.setStyleSheet(strTonarixStyle);
    done(Step::StyleSheet);
    app.setFaceBookShareLink(TonarixIdentity::faceBookShareLink());
    app.setTwitterShareLink(TonarixIdentity::twitterShareLink());
    app.setVKontakteShareLink(TonarixIdentity::vkontakteShareLink());
    app.setAppSupportPage(TonarixIdentity::supportPage());
    done(Step::Links);

    // The window's constructor arms the introduction's timer; it fires only once the event loop
    // runs, after the slides below are set.
    auto window = std::make_unique<MainPage>(nullptr);
    done(Step::MainWindow);
    QObject::connect(&app, &REZirudid::App::dockClicked, window.get(), &QWidget::showNormal);
    done(Step::DockConnection);

    const QString resourceFolder = REZirudid::App::bundleResourcePathFor(app.applicationDirPath());
    app.setIntroductionSlides(
        slidePaths(resourceFolder, slideLanguage(app.currentLanguage()), app.devicePixelRatio()));
    done(Step::Slides);
    window->setWindowTitle(QCoreApplication::applicationName());
    done(Step::Title);
    app.setMainWidget(window.get());
    done(Step::MainWidget);
    window->show();
    done(Step::Shown);
    app.callReminder(kReminderInterval, reminderKinds(REZirudid::App::isAppStore()));
    done(Step::Reminder);
    return window;
}

} // namespace TonarixStartup
