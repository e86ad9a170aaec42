// A program that starts like TonarixLite (or, built with TONARIX_FLOOR, like the smallest Qt widget
// program: an empty window) and reports, on standard output, the monotonic clock at the end of its
// window's first paint and, one second later, its resident memory. bench_startup runs it.
#ifndef TONARIX_FLOOR
#include "REZirudid/App.h"
#include "MainPage.h"
#include "TonarixIdentity.h"
#include "TonarixStartup.h"
#endif

#include "ProcessStatus.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

long long monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Waits for the window's first paint; once that whole paint has been delivered, stamps the clock.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget* window) : m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && watched == m_window && event->type() == QEvent::Paint) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("painted %lld\n", monotonicNs());
                std::fflush(stdout);
                QTimer::singleShot(1000, [] {
                    std::printf("rss %ld\n", TestSupport::residentKb());
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            });
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv)
{
    std::printf("main %lld\n", monotonicNs());
#ifdef TONARIX_FLOOR
    QApplication app(argc, argv);
    QWidget window;
    window.resize(620, 620);
    FirstPaint probe(&window);
    window.installEventFilter(&probe);
    window.show();
    return app.exec();
#else
    REZirudid::App app(argc, argv, TonarixIdentity::organisationName(), TonarixIdentity::applicationName());
    std::unique_ptr<FirstPaint> probe;
    std::unique_ptr<MainPage> window = TonarixStartup::start(app, [&](TonarixStartup::Step step) {
        if (step == TonarixStartup::Step::StyleSheet)
            std::printf("app %lld\n", monotonicNs());
        if (step == TonarixStartup::Step::Shown)
            std::printf("shown %lld\n", monotonicNs());
        if (step == TonarixStartup::Step::MainWindow) {
            std::printf("built %lld\n", monotonicNs());
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (qobject_cast<MainPage*>(w)) {
                    probe = std::make_unique<FirstPaint>(w);
                    w->installEventFilter(probe.get());
                }
            }
        }
    });
    const int code = app.exec();
    window.reset();
    return code;
#endif
}
