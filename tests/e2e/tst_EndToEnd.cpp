// TonarixLite as a user meets it, driven from the outside: the real executable with a fresh home
// under the X display, real pointer events (xdotool), screenshots of its window (ImageMagick) and
// the sound caught at the sound server's monitor (parec). A click on the banjo board must sound the
// note at its pitch, light it on the board and put it on the staff; then the balalaika page starts
// a training and takes an answer.
#include "ScreenProbe.h"

#include "RIRurud/BoardTables.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

using namespace ScreenProbe;
namespace Tables = RIRurud::BoardTables;

// How many times longer than an optimised build the program under test takes to answer: a
// sanitizer build is several times slower. The time limits of the waits below are multiplied by it.
constexpr int kSlowdown = TONARIX_E2E_SLOWDOWN;

class TestEndToEnd : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_home;
    QProcess m_program;
    QString m_window;
    QSize m_size;

    static QString run(const QString& program, const QStringList& args, int timeoutMs = 5000)
    {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished();
        }
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }
    static QStringList windows(const QString& name)
    {
        return run("xdotool", {"search", "--onlyvisible", "--name", name}).split('\n', Qt::SkipEmptyParts);
    }
    static QRect geometry(const QString& window)
    {
        const QString shell = run("xdotool", {"getwindowgeometry", "--shell", window});
        const auto value = [&](const char* key) {
            const QRegularExpression re(QStringLiteral("%1=(-?\\d+)").arg(QLatin1String(key)));
            return re.match(shell).captured(1).toInt();
        };
        return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
    }
    // Screenshots are kept in TONARIX_E2E_SHOTS, when set, to see what went wrong.
    QImage shot() const
    {
        QProcess p;
        p.start("import", {"-window", m_window, "png:-"});
        p.waitForFinished(5000);
        const QImage image = QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
        static int count = 0;
        const QString folder = qEnvironmentVariable("TONARIX_E2E_SHOTS");
        if (!folder.isEmpty())
            image.save(QStringLiteral("%1/shot%2.png").arg(folder).arg(++count));
        return image;
    }
    void click(const QPoint& at) const
    {
        run("xdotool", {"mousemove", "--window", m_window, QString::number(at.x()), QString::number(at.y()),
                        "click", "1"});
    }
    static QImage picture(const QString& name)
    {
        return QImage(QStringLiteral(TONARIX_PICTURES_DIR) + name);
    }
    // A picture drawn at its own size somewhere in `area` of the window; fails when it is not there.
    QRect find(const QImage& screen, const QString& name, const QRect& area, double tolerance = 30)
    {
        const QImage face = picture(name);
        const QSize size = face.size() / 2;   // the "@2x" picture at its logical size
        double diff = 0;
        const QRect at = locate(screen, face, area, {size}, &diff);
        if (diff > tolerance)
            qWarning("%s not found (difference %.1f)", qPrintable(name), diff);
        return diff <= tolerance ? at : QRect();
    }
    // The board: a picture as wide as the room beside the instrument column, at the window's bottom.
    QRect findBoard(const QImage& screen, const QString& board, int left)
    {
        const QImage face = picture(board + "_0@2x.jpg");
        const double aspect = double(face.width()) / face.height();
        QVector<QSize> sizes;
        for (int w = m_size.width() - left - 3; w <= m_size.width() - left; ++w)
            sizes << QSize(w, int(w / aspect));
        const int height = sizes.last().height();
        double diff = 0;
        const QRect at = locate(screen, face, QRect(left - 4, m_size.height() - height - 8, m_size.width() - left + 8, height + 8),
                                sizes, &diff);
        return diff < 40 ? at : QRect();
    }
    // A window's place on the screen widened by the frame extents its window manager sets; empty
    // while it has not framed the window.
    static QRect frameOf(const QString& window)
    {
        const QString info = run("xwininfo", {"-id", window});
        const QStringList extents = run("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}).section('=', 1).split(',');
        const auto value = [&](const char* key) {
            return QRegularExpression(QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(key))).match(info).captured(1).toInt();
        };
        if (extents.size() != 4)
            return QRect();
        return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"))
            .adjusted(-extents[0].toInt(), -extents[2].toInt(), extents[1].toInt(), extents[3].toInt());
    }
    // Polls until `ready` holds or the time is up; the program may be slow on a loaded machine.
    template <typename Ready>
    static bool waitFor(Ready ready, int timeoutMs = 4000)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            if (ready())
                return true;
            QTest::qWait(100);
        } while (clock.elapsed() < timeoutMs * kSlowdown);
        return ready();
    }
    // The id of the first visible window of `program` whose name matches `name` (a pattern) and
    // that is wider than 200 pixels, waiting for it as long as the program runs: how long it
    // takes to start depends on the build and the machine's load, not on a time limit of ours
    // (CTest's time limit ends a program that hangs). Empty when the program ended first.
    static QString waitForWindow(const QProcess& program, const QString& name)
    {
        for (;;) {
            const QStringList found = run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(program.processId()),
                                                      "--name", name})
                                          .split('\n', Qt::SkipEmptyParts);
            for (const QString& id : found) {
                if (geometry(id).width() > 200)
                    return id;
            }
            if (program.state() != QProcess::Running)
                return QString();
            QTest::qWait(100);
        }
    }
    // The program with `home` as its HOME, on the X display; stop() ends it.
    static bool launch(QProcess& program, const QString& home, const QString& executable = TONARIX_EXECUTABLE,
                       const QStringList& arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        env.insert("QT_QPA_PLATFORM", "xcb");
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(executable, arguments);
        return program.waitForStarted();
    }
    static void stop(QProcess& program)
    {
        if (program.state() == QProcess::NotRunning)
            return;
        program.terminate();
        if (!program.waitForFinished(3000))
            program.kill();
        program.waitForFinished();
    }
    static int changedPixels(const QImage& a, const QImage& b, const QRect& area)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) > 90)
                    ++n;
            }
        return n;
    }
    // The centre of a hot spot that a click there reaches first (the board walks its table in order).
    static const Tables::HotSpot* reachable(const Tables::BoardTable& table, const char* note)
    {
        for (std::size_t i = 0; i < table.spotCount; ++i) {
            const Tables::HotSpot& spot = table.spots[i];
            if (!spot.marked || qstrcmp(spot.note, note) != 0)
                continue;
            for (std::size_t j = 0; j < table.spotCount; ++j) {
                const Tables::HotSpot& s = table.spots[j];
                if (spot.x >= s.x - Tables::kBoxLeft && spot.x <= s.x + Tables::kBoxRight
                    && spot.y >= s.y - Tables::kBoxTop && spot.y <= s.y + Tables::kBoxBottom) {
                    if (&s == &spot)
                        return &spot;
                    break;
                }
            }
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(TONARIX_EXECUTABLE), "the program is not built");
        const QString resources = QFileInfo(TONARIX_EXECUTABLE).absolutePath().remove("MacOS") + "Resources/";
        QVERIFY2(QFile::exists(resources + "banjo_440_A4.mp3"), "the sound bank is not in the bundle");
        QVERIFY2(!run("pactl", {"info"}).isEmpty(), "no sound server answers");

        QVERIFY(launch(m_program, m_home.path()));
        m_window = waitForWindow(m_program, "^TonarixLite$");
        QVERIFY2(!m_window.isEmpty(), "the program ended before it showed its main window");
        m_size = geometry(m_window).size();

        // A fresh home meets the introduction; close it as a user would (it opens half a second
        // after the window).
        QStringList intro;
        for (int i = 0; i < 30 * kSlowdown && intro.isEmpty(); ++i) {
            QTest::qWait(100);
            intro = windows("Introduction");
        }
        if (!intro.isEmpty()) {
            const QRect r = geometry(intro.first());
            run("xdotool", {"mousemove", "--window", intro.first(), QString::number(r.width() / 2), "40", "click", "1"});
            run("xdotool", {"key", "Escape"});
            QTRY_VERIFY_WITH_TIMEOUT(windows("Introduction").isEmpty(), 3000 * kSlowdown);
        }
    }

    void cleanupTestCase()
    {
        stop(m_program);
        // The window's size was remembered in the settings of the fresh home.
        QFile settings(m_home.path() + "/Library/Application Support/TonarixLite/settings.plist");
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(settings.readAll());
        QVERIFY2(text.contains(QStringLiteral("Width=%1").arg(m_size.width())), qPrintable(text));
    }

    // A size stored on a larger screen, or a damaged one, still opens a window whose whole frame,
    // title bar and bottom edge, the screen holds: the main window and the tuner window, on a small
    // screen of their own under a window manager (which frames a window only once it is shown).
    void hugeStoredSizeOpensOnScreen()
    {
        QProcess xvfb, manager;
        xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x600x24", "-nolisten", "tcp"});
        QVERIFY2(xvfb.waitForReadyRead(10000 * kSlowdown), "Xvfb did not start");
        const QByteArray display = qgetenv("DISPLAY");
        const auto restore = qScopeGuard([&] { qputenv("DISPLAY", display); stop(manager); stop(xvfb); });
        qputenv("DISPLAY", ":" + xvfb.readLine().trimmed());
        manager.start("openbox", {"--sm-disable"});
        QVERIFY2(waitFor([] { return run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"); }),
                 "the window manager (openbox) did not start");
        for (const QString name : {"TonarixLite", "TonarixPageViewer"}) {
            const bool viewer = name == "TonarixPageViewer";
            QTemporaryDir home;
            const QString support = home.path() + "/Library/Application Support/" + name;
            QDir().mkpath(support);
            QFile settings(support + "/settings.plist");
            QVERIFY(settings.open(QIODevice::WriteOnly));
            settings.write("[" + name.toUtf8() + "]\nShowHelpOnStart=false\nAutoReminder=false\nWidth=100000\nHeight=100000\n");
            settings.close();
            QProcess program;
            QVERIFY(launch(program, home.path(), viewer ? TONARIX_PAGEVIEWER : TONARIX_EXECUTABLE,
                           viewer ? QStringList{"tuners"} : QStringList()));
            const QString window = waitForWindow(program, viewer ? "^pageviewer: tuners$" : "^TonarixLite$");
            QVERIFY2(!window.isEmpty(), qPrintable(name + " ended before it opened its window"));
            QRect frame;
            const bool inside = waitFor([&] { return QRect(0, 0, 1024, 600).contains(frame = frameOf(window)); });
            QTest::qWait(500);
            const bool running = program.state() == QProcess::Running;
            stop(program);
            QVERIFY2(running, qPrintable(name + " ended by itself"));
            QVERIFY2(inside, qPrintable(QStringLiteral("%1: frame %2x%3 at %4,%5").arg(name).arg(frame.width())
                                            .arg(frame.height()).arg(frame.x()).arg(frame.y())));
        }
    }

    void banjoNoteSoundsLightsAndShows()
    {
        QImage before;
        QRect tile;
        QVERIFY2(waitFor([&] {
                     before = shot();
                     tile = find(before, "BanjoItem_checked@2x.png", QRect(0, 0, 160, 200));
                     return !tile.isNull();
                 }),
                 "the banjo button is not checked at start");
        const int panelRight = tile.right() + 1 + 10 + 2;   // margin and border of the column
        const QRect board = findBoard(before, "Banjo", panelRight);
        QVERIFY2(!board.isNull(), "the banjo board is not where it belongs");

        const char* note = "A4";
        const Tables::HotSpot* spot = reachable(Tables::kBanjo, note);
        QVERIFY(spot);
        const QPoint at(board.left() + spot->x * board.width() / Tables::kFrameWidth,
                        board.top() + spot->y * board.height() / Tables::kFrameHeight);

        QProcess recorder;
        recorder.start("parec", {"--raw", "--format=s16le", "--rate=44100", "--channels=1", "--latency-msec=20",
                                 "--device=@DEFAULT_MONITOR@"});
        QVERIFY(recorder.waitForStarted());
        QTest::qWait(400);
        click(at);
        QElapsedTimer heardFor;
        heardFor.start();
        QByteArray raw;
        // Record until a second and a half of sound has come in after its start, or give up.
        while (heardFor.elapsed() < 5000 * kSlowdown) {
            QTest::qWait(100);
            raw += recorder.readAllStandardOutput();
            int loud = -1;
            for (int i = 0; i + 1 < raw.size(); i += 2) {
                if (std::abs(int(qint16(quint8(raw[i]) | (quint8(raw[i + 1]) << 8)))) > 800) {
                    loud = i / 2;
                    break;
                }
            }
            if (loud >= 0 && raw.size() / 2 - loud > 44100 * 3 / 2)
                break;
        }
        recorder.terminate();
        recorder.waitForFinished(2000);
        raw += recorder.readAllStandardOutput();
        QVector<qint16> samples(raw.size() / 2);
        memcpy(samples.data(), raw.constData(), samples.size() * 2);

        const double expected = noteFrequency(note);
        const double heard = pitch(samples, 44100, expected);
        qInfo("played %s: heard %.1f Hz, expected %.1f Hz (%d samples)", note, heard, expected, int(samples.size()));
        QVERIFY2(std::abs(heard - expected) < expected * 0.03, qPrintable(QString("heard %1 Hz").arg(heard)));

        // The board lights the note where it was clicked.
        const QRect mark(at - QPoint(20, 12), QSize(40, 24));
        QImage after;
        QVERIFY(redPixels(before, mark) < 5);
        // A mark stays inside the part of the string that answers its note: on a board 800 pixels wide
        // it is about seven pixels across.
        QVERIFY2(waitFor([&] { after = shot(); return redPixels(after, mark) > 6; }), "the note is not lit on the board");
        // The staff above the board shows it.
        const QRect staff(board.left() + board.width() / 4, 60, board.width() / 2, board.top() - 70);
        const int changed = changedPixels(before, after, staff);
        QVERIFY2(changed > 60, qPrintable(QString("the staff did not change (%1 pixels)").arg(changed)));
    }

    void balalaikaTraining()
    {
        QImage screen = shot();
        const QRect tile = find(screen, "BalalaikaItem@2x.png", QRect(0, 0, 160, 300));
        QVERIFY2(!tile.isNull(), "no balalaika button");
        click(tile.center());
        QRect board;
        QVERIFY2(waitFor([&] {
                     screen = shot();
                     board = findBoard(screen, "Balalaika", tile.right() + 1 + 12);
                     return !board.isNull();
                 }),
                 "the balalaika page did not open");

        const QRect training = find(screen, "DualButtonRight@2x.png", QRect(board.left(), board.top(), board.width(), 60), 60);
        QVERIFY2(!training.isNull(), "no Training button");
        click(training.center());
        const QRect upper(board.left(), 45, board.width(), board.top() - 45);
        QRect start;
        QVERIFY2(waitFor([&] {
                     screen = shot();
                     start = find(screen, "RoundButton@2x.png", upper, 60);
                     return !start.isNull();
                 }),
                 "the trainer's Start button is not shown");
        click(start.center());
        // Started: the round button turns to its Stop face and the board, below its mode buttons,
        // shows the asked position (high up the neck a mark may be a bar three pixels wide, so any
        // change counts: nothing else there moves).
        QImage running;
        const QRect neck = board.adjusted(0, 45, 0, 0);
        QVERIFY2(waitFor([&] {
                     running = shot();
                     return difference(running, screen, start) > 20 && difference(running, screen, neck) > 0;
                 }),
                 "the training did not start with a position lit on the board");

        // A black key: dark on the light paper, it cannot be mistaken for the paper between keys.
        const QRect key = find(running, "Keyd@2x.png", upper, 50);
        QVERIFY2(!key.isNull(), "the answer keys are not enabled");
        click(key.center());
        // The answer is counted: the statistic above the Start button changes.
        const QRect statistic(upper.left(), upper.top(), upper.width(), start.top() - upper.top());
        QVERIFY2(waitFor([&] { return changedPixels(running, shot(), statistic) > 30; }), "the answer was not counted");
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        // scripts/test starts a display and says so: there a missing display is a failure.
        if (qEnvironmentVariableIsSet("TONARIX_REQUIRE_SERVICES")) {
            std::printf("FAIL: no X display, though the test run started one\n");
            return 1;
        }
        std::printf("SKIP: no X display\n");
        return 77;
    }
    QApplication app(argc, argv);
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_EndToEnd.moc"
