// The real output path when no sound server can be reached (the test points the client at a
// socket that does not exist): players must neither block nor crash, keep time as if they played,
// end, and delete themselves.

#include "ToneFiles.h"

#include "QMMultiMedia/AudioBackend.h"
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
            QVERIFY(!AudioBackend::current()->engine()->isStreaming());
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
