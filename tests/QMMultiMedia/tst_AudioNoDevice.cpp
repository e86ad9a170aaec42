// The real output path when no sound server can be reached (the test points the client at a
// socket that does not exist): players must neither block nor crash, keep time as if they played,
// end, and delete themselves; what is past its time is let go, and the server is not asked for
// again and again.

#include "ToneFiles.h"

#include "QMMultiMedia/AudioBackend.h"
#include "QMMultiMedia/AudioEngine.h"
#include "QMMultiMedia/DecodedSound.h"
#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/NativeAudioPlayerInternal.h"
#include "QMMultiMedia/PlatformAudioPlayer.h"
#include "QMMultiMedia/SoundServer.h"

#include "TestMain.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace QMMultiMedia;

class TestAudioNoDevice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        // No sound server, whatever runs on this computer (before anything opens the sound system).
        qputenv("PULSE_SERVER", "unix:/nonexistent/tonarix-no-sound-server");
    }

    void fireAndForgetEndsOnTime()
    {
        const QString path = m_dir.filePath("n.wav");
        QVERIFY(TestAudio::writeTone(path, 440.0, 0.7));
        QVector<QPointer<NativeAudioPlayer>> players;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 8; ++i) {
            NativeAudioPlayer* p = NativeAudioPlayer::playOnce(path);
            QVERIFY(p->isPlaying());
            QVERIFY(!AudioBackend::current()->engine()->isStreaming());
            players.append(p);
        }
        QVERIFY2(clock.elapsed() < 500, "starting players without a device must not block");
        for (auto& p : players)
            QTRY_VERIFY_WITH_TIMEOUT(p.isNull(), 3000);
        // Ends at the second tick: the sound lasted 0.7 s.
        QVERIFY2(clock.elapsed() >= 950 && clock.elapsed() < 1400, qPrintable(QString::number(clock.elapsed())));
    }

    void pastVoicesAreLetGo()
    {
        // A metronome left running gives two beats a second, for hours: those whose time has
        // passed unheard go, as a stream would have let them go.
        const QString path = m_dir.filePath("tick.wav");
        QVERIFY(TestAudio::writeTone(path, 1000.0, 0.05));
        auto tick = DecodedSound::open(path);
        tick->decode();
        const auto engine = AudioBackend::current()->engine();
        const qint64 now = engine->nowNs();
        for (int i = 0; i < 1000; ++i) {
            AudioEngine::VoiceSpec beat {tick, now - 2'000'000'000 + i * 1'000'000};
            beat.beat = true;
            engine->add(beat);
        }
        const quint64 coming = engine->add({tick, now + 2'000'000'000});
        const quint64 sounding = engine->add({tick});
        QCOMPARE(engine->voiceCount(), 2);
        QVERIFY(engine->state(coming).playing && engine->state(sounding).playing);
        engine->remove(coming);
        engine->remove(sounding);
    }

    void serverIsAskedForEveryFewSeconds()
    {
        // Notes asked for ten times a second for five seconds: the server that is not there is
        // tried again every two seconds, not for every note.
        const QString path = m_dir.filePath("short.wav");
        QVERIFY(TestAudio::writeTone(path, 440.0, 0.05));
        const int before = SoundServer::instance().connectionsMade();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            NativeAudioPlayer::playOnce(path);
            QTest::qWait(100);
        }
        const int made = SoundServer::instance().connectionsMade() - before;
        QVERIFY2(made <= int(clock.elapsed() / (SoundServer::retryNs / 1'000'000)) + 1,
                 qPrintable(QStringLiteral("%1 connections in %2 ms").arg(made).arg(clock.elapsed())));
    }

    void positionRunsWithoutDevice()
    {
        const QString path = m_dir.filePath("long.wav");
        QVERIFY(TestAudio::writeTone(path, 330.0, 2.0));
        NativeAudioPlayer player(nullptr);
        // The first report comes at the 500 ms poll, late on a busy machine; what it reports is the
        // time the sound has run by then, no more.
        QElapsedTimer clock;
        qint64 reported = -1, ranFor = -1;
        connect(&player, &NativeAudioPlayer::positionChanged, this, [&](qint64 ms) {
            if (reported < 0) {
                reported = ms;
                ranFor = clock.elapsed();
            }
        });
        player.setMedia(path);
        clock.start();
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(reported >= 0, 3000);
        QVERIFY2(reported >= 450 && reported <= ranFor + 5,
                 qPrintable(QStringLiteral("reported %1 ms after %2 ms").arg(reported).arg(ranFor)));
        player.pause();
        const qint64 at = player.position();
        QTest::qWait(300);
        QCOMPARE(player.position(), at);
    }
};

TONARIX_TEST_MAIN(TestAudioNoDevice)
#include "tst_AudioNoDevice.moc"
