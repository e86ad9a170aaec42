// The sound server frozen, gone and back. A server that accepts the connection and never answers
// must not block the GUI thread: notes are silent, clicks and closing go on. Once a real server
// listens on the socket again, and again after it was killed and restarted, notes sound. A server
// stopped after the connection was up is given up: once it runs again nothing of ours is left on
// it, the notes asked for meanwhile neither piled up nor sound all at once, and nothing clips.

#include "SinkCapture.h"
#include "ToneFiles.h"

#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/NativeAudioRecorder.h"
#include "QMMultiMedia/SoundServer.h"

#include "TestMain.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <unistd.h>

using namespace QMMultiMedia;
using TestAudio::SinkCapture;

namespace {

// Ends the test with a failure when the GUI thread has not come back for a while: a test that
// would hang fails instead.
class Watchdog
{
public:
    explicit Watchdog(int limitMs) : m_limitMs(limitMs)
    {
        beat();
        m_thread = std::thread([this] {
            while (!m_stop) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (SinkCapture::nowNs() / 1000000 - m_lastBeatMs > m_limitMs) {
                    std::fprintf(stderr, "FAIL! : the GUI thread has been blocked for more than %d ms\n", m_limitMs);
                    std::fflush(stderr);
                    _exit(3);
                }
            }
        });
    }
    ~Watchdog()
    {
        m_stop = true;
        m_thread.join();
    }
    void beat() { m_lastBeatMs = SinkCapture::nowNs() / 1000000; }

private:
    int m_limitMs;
    std::atomic<qint64> m_lastBeatMs {0};
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

} // namespace

class TestSoundServer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_socket, m_note;
    QLocalServer m_frozen;
    QProcess m_server;
    std::unique_ptr<Watchdog> m_watchdog;
    QTimer m_heartbeat;

    // A real server on the socket, with a null sink as its default sink.
    bool startServer()
    {
        QFile::remove(m_socket);
        if (!TestSupport::startPulseAudio(m_server, m_dir.path(), m_socket))
            return false;
        for (int i = 0; i < 100; ++i) {
            if (SinkCapture::serverAnswers())
                return true;
            QTest::qWait(50);
        }
        return false;
    }
    void stopServer()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.kill();
        m_server.waitForFinished(5000);
    }
    static NativeAudioPlayer* playNote(const QString& path) { return NativeAudioPlayer::playOnce(path); }
    // Streams of this process on the server.
    static int ourStreams()
    {
        bool ok = false;
        const int n = SinkCapture::streamsOf(QCoreApplication::applicationPid(), &ok).size();
        return ok ? n : -1;
    }
    // Plays a note every 300 ms until the sink is heard playing it.
    bool heardAgain(int timeoutMs)
    {
        SinkCapture capture;
        if (!capture.start(QStringLiteral("back.monitor")))
            return false;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            const qint64 from = capture.frames();
            playNote(m_note);
            capture.waitForFrames(from + SinkCapture::rate * 3 / 10, 2000);
            if (capture.firstLoudFrame(from) >= 0)
                return true;
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty())
            QSKIP("no pulseaudio to run a server of the test's own");
        QVERIFY(m_dir.isValid());
        // Before anything opens the sound system: the only server is the test's.
        m_socket = m_dir.filePath("native");
        QVERIFY(m_frozen.listen(m_socket));
        qputenv("PULSE_SERVER", QFile::encodeName("unix:" + m_socket));
        m_note = m_dir.filePath("note.wav");
        QVERIFY(TestAudio::writeTone(m_note, 440.0, 0.4, 2));
        m_watchdog = std::make_unique<Watchdog>(5000);
        connect(&m_heartbeat, &QTimer::timeout, this, [this] { m_watchdog->beat(); });
        m_heartbeat.start(20);
    }

    void cleanupTestCase()
    {
        stopServer();
        m_watchdog.reset();
    }

    void frozenServerBlocksNothing()
    {
        // The server accepts and never answers. Clicks keep coming back at once, a recording
        // that cannot start says so, and the window closes.
        QWidget window;
        window.show();
        QVector<QPointer<NativeAudioPlayer>> notes;
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] { ++ticks; });
        tick.start(10);
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer t;
            t.start();
            notes.append(playNote(m_note));
            QVERIFY2(t.elapsed() < 100, qPrintable(QStringLiteral("a click took %1 ms").arg(t.elapsed())));
            QTest::qWait(150);
        }
        QVERIFY2(ticks > 30, qPrintable(QString::number(ticks)));

        NativeAudioRecorder recorder(nullptr);
        QSignalSpy err(&recorder, &NativeAudioRecorder::error);
        recorder.slotStart(m_dir.filePath("never.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(err.count(), 1, 4000);
        QVERIFY(recorder.isStopped());
        QVERIFY(!QFile::exists(m_dir.filePath("never.wav")));

        // Notes that could not sound still end, and whatever is left goes with the application.
        for (auto& p : notes)
            QTRY_VERIFY_WITH_TIMEOUT(p.isNull(), 3000);
        notes.append(playNote(m_note));
        QElapsedTimer t;
        t.start();
        window.close();
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window.isVisible());
        QVERIFY2(t.elapsed() < 200, qPrintable(QString::number(t.elapsed())));
    }

    void soundComesBackWithTheServer()
    {
        // The frozen server goes; a real one takes its socket: the next notes sound. Killed and
        // started again, it is found again.
        m_frozen.close();
        QVERIFY(startServer());
        QVERIFY2(heardAgain(5000), "no note was heard once the server answered");
        stopServer();
        // Notes into the void: the server is gone, and is looked for again only every two seconds.
        const int connections = SoundServer::instance().connectionsMade();
        QElapsedTimer gone;
        gone.start();
        for (int i = 0; i < 15; ++i) {
            playNote(m_note);
            QTest::qWait(300);
        }
        const int made = SoundServer::instance().connectionsMade() - connections;
        QVERIFY2(made <= gone.elapsed() / (SoundServer::retryNs / 1'000'000) + 1,
                 qPrintable(QStringLiteral("%1 connections in %2 ms").arg(made).arg(gone.elapsed())));
        QVERIFY(startServer());
        QVERIFY2(heardAgain(5000), "no note was heard after the server was restarted");
    }

    void stoppedServerLeavesNothingBehind()
    {
        // Stopped (not killed) after the connection is up, for five seconds in which loud notes are
        // asked for ten times a second.
        QVERIFY(heardAgain(5000));
        SinkCapture capture;
        QVERIFY(capture.start(QStringLiteral("back.monitor")));
        const int connections = SoundServer::instance().connectionsMade();
        const QString loud = m_dir.filePath("loud.wav");
        QVERIFY(TestAudio::writeTone(loud, 330.0, 0.6, 2, 0.9f));
        QCOMPARE(::kill(pid_t(m_server.processId()), SIGSTOP), 0);
        QElapsedTimer frozen;
        frozen.start();
        while (frozen.elapsed() < 5000) {
            playNote(loud);
            QTest::qWait(100);
        }
        QCOMPARE(::kill(pid_t(m_server.processId()), SIGCONT), 0);
        // The connection was given up while the server did not answer.
        QVERIFY(SoundServer::instance().connectionsMade() > connections);
        // Once the server runs again it drops what belonged to the connection given up: at most the
        // one stream of the new connection is ours.
        QTRY_VERIFY_WITH_TIMEOUT(ourStreams() >= 0 && ourStreams() <= 1, 10000);
        QVERIFY2(heardAgain(5000), "no note was heard after the server ran again");
        capture.waitForFrames(capture.frames() + SinkCapture::rate, 3000);
        float peak = 0;
        for (float v : capture.samples())
            peak = qMax(peak, qAbs(v));
        QVERIFY2(peak < 0.999f, qPrintable(QStringLiteral("the sink was driven to %1").arg(peak)));
    }
};

TONARIX_TEST_MAIN(TestSoundServer)
#include "tst_SoundServer.moc"
