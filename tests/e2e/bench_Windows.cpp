// What a window costs: the program's main window, the metronome and the tuners (opened alone by the
// page viewer), each started ten times under the X display with a fresh home. Measured from the
// outside: from the start of the process to the map of its first window (seen by a client of the
// display that watches the root window), and the resident memory one second after that map.
//
// Nothing here draws with OpenGL, so no OpenGL driver should be in memory (on a software renderer it
// is Mesa with LLVM, tens of megabytes): every run says whether one was mapped, and each window is
// also run with the xcb OpenGL integration switched off as a reference for the figures.

#include "Median.h"
#include "ProgramSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <poll.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

double nowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Window
{
    const char* title;
    QString program;
    QStringList args;
};

struct Sample
{
    double mappedMs = -1;
    double rssMb = -1;
    bool glDriver = false;
};

// A client of the display that is told of every window mapped on the root window.
class MapWatch
{
public:
    MapWatch()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        const char name[] = "_NET_WM_PID";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr), &free);
        if (atom)
            m_pidAtom = atom->atom;
        xcb_flush(m_connection);
    }
    ~MapWatch() { xcb_disconnect(m_connection); }

    bool isValid() const { return !xcb_connection_has_error(m_connection) && m_pidAtom != XCB_ATOM_NONE; }

    // Waits until a window of process `pid` is mapped on the root window (or in a window manager's
    // frame mapped there); the clock at that moment, or -1 after `timeoutMs`.
    double waitForMap(qint64 pid, int timeoutMs)
    {
        const double until = nowMs() + timeoutMs;
        while (nowMs() < until) {
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&fd, 1, 50);
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const double at = nowMs();
                const bool map = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window = map ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
                free(event);
                if (map && ownedBy(window, pid, true))
                    return at;
            }
            if (xcb_connection_has_error(m_connection))
                return -1;
        }
        return -1;
    }

private:
    bool ownedBy(xcb_window_t window, qint64 pid, bool orChild)
    {
        std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
            xcb_get_property_reply(m_connection, xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1),
                                   nullptr),
            &free);
        if (reply && xcb_get_property_value_length(reply.get()) == 4
            && *static_cast<uint32_t*>(xcb_get_property_value(reply.get())) == uint32_t(pid))
            return true;
        if (!orChild)
            return false;
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr), &free);
        if (!tree)
            return false;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (ownedBy(children[i], pid, false))
                return true;
        }
        return false;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};

long residentKbOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Mesa's drivers are <name>_dri.so; the software ones carry libLLVM.
bool glDriverMapped(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = maps.readAll();
    return all.contains("_dri.so") || all.contains("libLLVM");
}

Sample runOnce(MapWatch& watch, const Window& window, bool glOff)
{
    // A fresh home, with the program's introduction switched off: its first window is the main window.
    QTemporaryDir home;
    TestSupport::writeProgramSettings(home.path(), "ShowHelpOnStart=false\n");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("QT_XCB_GL_INTEGRATION");
    if (glOff)
        env.insert("QT_XCB_GL_INTEGRATION", "none");
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    Sample s;
    const double started = nowMs();
    p.start(window.program, window.args);
    if (p.waitForStarted(10000)) {
        const double mapped = watch.waitForMap(p.processId(), 20000);
        if (mapped > 0) {
            s.mappedMs = mapped - started;
            QThread::msleep(1000);
            s.rssMb = residentKbOf(p.processId()) / 1024.0;
            s.glDriver = glDriverMapped(p.processId());
        }
    }
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    MapWatch watch;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !watch.isValid()) {
        std::printf("bench_windows needs an X display (scripts/bench starts one)\n");
        return 1;
    }
    const QString exe = QStringLiteral(TONARIX_BUNDLE_EXE_DIR);
    const std::vector<Window> windows = {
        {"main window", exe + "/TonarixLite", {}},
        {"metronome", exe + "/pageviewer", {"metronome"}},
        {"tuners", exe + "/pageviewer", {"tuners"}},
    };
    const int runs = 10;
    std::printf("display: %s; medians of %d runs, alternating with the OpenGL integration off "
                "(QT_XCB_GL_INTEGRATION=none) as a reference\n",
                qPrintable(qEnvironmentVariable("DISPLAY")), runs);
    std::printf("%-12s %12s %10s %10s %12s %10s   %s\n", "window", "mapped ms", "memory MB", "GL driver",
                "ref. mapped", "ref. MB", "goal: no GL driver, memory <= reference + 2 MB");
    bool complete = true;
    for (const Window& window : windows) {
        runOnce(watch, window, false);   // warm the caches
        std::vector<double> ms, mb, refMs, refMb;
        int withDriver = 0;
        for (int i = 0; i < runs; ++i) {
            const Sample s = runOnce(watch, window, false);
            const Sample r = runOnce(watch, window, true);
            if (s.mappedMs > 0) {
                ms.push_back(s.mappedMs);
                mb.push_back(s.rssMb);
                withDriver += s.glDriver;
            }
            if (r.mappedMs > 0) {
                refMs.push_back(r.mappedMs);
                refMb.push_back(r.rssMb);
            }
        }
        complete = complete && ms.size() == size_t(runs) && refMs.size() == size_t(runs);
        const double memory = TestSupport::median(mb), reference = TestSupport::median(refMb);
        std::printf("%-12s %12.1f %10.1f %7d/%-2zu %12.1f %10.1f   %s\n", window.title, TestSupport::median(ms), memory,
                    withDriver, ms.size(), TestSupport::median(refMs), reference,
                    withDriver == 0 && memory <= reference + 2.0 ? "OK" : "MISSED");
    }
    return complete ? 0 : 1;
}
