// The real output path when no sound server can be reached (the test points the client at a
// socket that does not exist): players must neither block nor crash, keep time as if they played,
// end, and delete themselves.

#include "ToneFiles.h"

#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/NativeAudioPlayerInternal.h"
#include "QMMultiMedia/PlatformAudioPlayer.h"

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
            QVERIFY(!p->internal()->platformPlayer()->hasOutput());
            players.append(p);
        }
        QVERIFY2(clock.elapsed() < 500, "starting players without a device must not block");
        for (auto& p : players)
            QTRY_VERIFY_WITH_TIMEOUT(p.isNull(), 3000);
        // Ends at the second tick: the sound lasted 0.7 s.
        QVERIFY2(clock.elapsed() >= 950 && clock.elapsed() < 1400, qPrintable(QString::number(clock.elapsed())));
    }

    void positionRunsWithoutDevice()
    {
        const QString path = m_dir.filePath("long.wav");
        QVERIFY(TestAudio::writeTone(path, 330.0, 2.0));
        NativeAudioPlayer player(nullptr);
        QSignalSpy pos(&player, &NativeAudioPlayer::positionChanged);
        player.setMedia(path);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(pos.count(), 1, 1000);
        QVERIFY(qAbs(pos.at(0).at(0).value<qint64>() - 500) < 60);
        player.pause();
        const qint64 at = player.position();
        QTest::qWait(300);
        QCOMPARE(player.position(), at);
    }
};

TONARIX_TEST_MAIN(TestAudioNoDevice)
#include "tst_AudioNoDevice.moc"
