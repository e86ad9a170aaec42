// Start-up time (process start to the end of the main window's first paint) and idle memory with
// the banjo page shown, against the floor: the smallest Qt widget program showing an empty window.
// Both are measured in the same run, alternating, ten times each; the medians are compared.
#include "Median.h"
#include "ProgramSettings.h"
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

long long monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

struct Sample
{
    double ms = -1;
    double rssMb = -1;
    // Milestones of the program's start-up: main() entered, application object ready, main window
    // built, shown (-1 where the program has no such step).
    double mainMs = -1, appMs = -1, builtMs = -1, shownMs = -1;
};

Sample runOnce(const QString& program)
{
    // A fresh home each time, with the introduction switched off so that the idle state is the
    // banjo page alone (the introduction opens after start-up in any case).
    QTemporaryDir home;
    TestSupport::writeProgramSettings(home.path(), "ShowHelpOnStart=false\n");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const long long started = monotonicNs();
    p.start(program, QStringList());
    Sample s;
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return s;
    }
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        const auto at = [&](const char* key) { return (line.mid(qstrlen(key)).toLongLong() - started) / 1e6; };
        if (line.startsWith("main "))
            s.mainMs = at("main ");
        else if (line.startsWith("app "))
            s.appMs = at("app ");
        else if (line.startsWith("built "))
            s.builtMs = at("built ");
        else if (line.startsWith("shown "))
            s.shownMs = at("shown ");
        else if (line.startsWith("painted "))
            s.ms = (line.mid(8).toLongLong() - started) / 1e6;
        else if (line.startsWith("rss "))
            s.rssMb = line.mid(4).toLong() / 1024.0;
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString floor = QStringLiteral(TONARIX_STARTUP_FLOOR);
    const QString tonarix = QStringLiteral(TONARIX_STARTUP_APP);
    const int runs = 10;
    std::vector<double> floorMs, floorRss, appMs, appRss, floorMain, appMain, appApp, appBuilt, appShown;
    runOnce(floor);   // warm the caches once for both
    runOnce(tonarix);
    for (int i = 0; i < runs; ++i) {
        const Sample f = runOnce(floor);
        const Sample a = runOnce(tonarix);
        if (f.ms > 0) floorMs.push_back(f.ms);
        if (f.rssMb > 0) floorRss.push_back(f.rssMb);
        if (a.ms > 0) appMs.push_back(a.ms);
        if (a.rssMb > 0) appRss.push_back(a.rssMb);
        floorMain.push_back(f.mainMs);
        appMain.push_back(a.mainMs);
        appApp.push_back(a.appMs);
        appBuilt.push_back(a.builtMs);
        appShown.push_back(a.shownMs);
    }
    const double fm = TestSupport::median(floorMs), am = TestSupport::median(appMs), fr = TestSupport::median(floorRss), ar = TestSupport::median(appRss);
    std::printf("display: %s\n", qEnvironmentVariableIsEmpty("DISPLAY") ? "none (offscreen)" : qPrintable(qgetenv("DISPLAY")));
    std::printf("start-up to first paint, median of %d: floor %.1f ms, TonarixLite %.1f ms, ratio %.2f (goal <= 2.50) %s\n",
                runs, fm, am, am / fm, am / fm <= 2.5 ? "OK" : "MISSED");
    std::printf("  milestones (median ms): floor main() %.1f; TonarixLite main() %.1f, application object %.1f, "
                "window built %.1f, shown %.1f, first paint %.1f\n",
                TestSupport::median(floorMain), TestSupport::median(appMain), TestSupport::median(appApp), TestSupport::median(appBuilt), TestSupport::median(appShown), am);
    std::printf("idle resident memory, median: floor %.1f MB, TonarixLite %.1f MB, difference %.1f MB (goal <= 40.0) %s\n",
                fr, ar, ar - fr, ar - fr <= 40 ? "OK" : "MISSED");
    return (floorMs.size() == size_t(runs) && appMs.size() == size_t(runs)) ? 0 : 1;
}
