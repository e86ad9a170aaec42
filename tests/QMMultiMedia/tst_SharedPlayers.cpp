// The shared player (volume and mute across runs, looping) and the play-list player on top of it.
// Sounds keep real time without a device.

#include "FakeAudioBackend.h"
#include "ToneFiles.h"

#include "QMMultiMedia/AudioListPlayer.h"
#include "QMMultiMedia/AudioPlayer.h"
#include "QMMultiMedia/MultiMediaSettings.h"
#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/NativeAudioPlayerInternal.h"

#include "TestMain.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <ctime>

using namespace QMMultiMedia;

class TestSharedPlayers : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestAudio::FakeAudioBackend> m_backend;
    QTemporaryDir m_dir;
    QString m_short, m_other, m_second;

    static REZirudid::App* app() { return REZirudid::App::theApp(); }
    static void quitSignal() { QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection)); }
    static QList<QUrl> urls(const QStringList& paths)
    {
        QList<QUrl> out;
        for (const QString& p : paths)
            out << QUrl::fromLocalFile(p);
        return out;
    }

private slots:
    void initTestCase()
    {
        m_backend = std::make_unique<TestAudio::FakeAudioBackend>(false, true);
        QVERIFY(app());
        m_short = m_dir.filePath("short.wav");
        m_other = m_dir.filePath("other.wav");
        QVERIFY(TestAudio::writeTone(m_short, 440, 0.3));
        QVERIFY(TestAudio::writeTone(m_other, 660, 0.3));
        m_second = m_dir.filePath("second.wav");
        QVERIFY(TestAudio::writeTone(m_second, 550, 1.0));
    }

    void volumeAndMuteAcrossRuns()
    {
        AudioPlayer* player = AudioPlayer::instance();
        QCOMPARE(player->volume(), 0.5);
        QVERIFY(!player->isMuted());
        QCOMPARE(player->remainingDuration(), qint64(0));

        // Saved when the application is about to quit, without anyone connecting it.
        player->setVolume(0.8);
        quitSignal();
        QCOMPARE(app()->settingsValue(SettingsKeys::soundVolume()).toDouble(), 0.8);
        QCOMPARE(app()->settingsValue(SettingsKeys::soundMute()).toBool(), false);
        AudioPlayer::releaseInstance();
        player = AudioPlayer::instance();
        QCOMPARE(player->volume(), 0.8);
        QVERIFY(!player->isMuted());

        // Quitting while muted (even muted twice) keeps the user's volume for the next run.
        player->setMuted(true);
        player->setMuted(true);
        quitSignal();
        QCOMPARE(app()->settingsValue(SettingsKeys::soundVolume()).toDouble(), 0.8);
        QCOMPARE(app()->settingsValue(SettingsKeys::soundMute()).toBool(), true);
        AudioPlayer::releaseInstance();
        player = AudioPlayer::instance();
        QVERIFY(player->isMuted());
        QCOMPARE(player->volume(), 0.0);
        player->setMuted(false);
        QCOMPARE(player->volume(), 0.8);

        // Settings left by a muted run that saved silence come back muted and unmute to 0.5.
        AudioPlayer::releaseInstance();
        app()->setSettingsValue(SettingsKeys::soundVolume(), 0.0);
        app()->setSettingsValue(SettingsKeys::soundMute(), true);
        player = AudioPlayer::instance();
        QVERIFY(player->isMuted());
        player->setMuted(false);
        QCOMPARE(player->volume(), 0.5);
    }

    void storedVolumeIsSane_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("volume");
        QTest::newRow("in range") << "0.25" << 0.25;
        QTest::newRow("above full") << "2.5" << 1.0;
        QTest::newRow("below silence") << "-0.5" << 0.0;
        QTest::newRow("not a number") << "nan" << 0.5;
        QTest::newRow("infinite") << "inf" << 0.5;
        QTest::newRow("text") << "loud" << 0.5;
    }
    void storedVolumeIsSane()
    {
        // A bad stored volume neither clips nor silences, and is not saved back.
        QFETCH(QString, stored);
        QFETCH(double, volume);
        AudioPlayer::releaseInstance();
        app()->setSettingsValue(SettingsKeys::soundMute(), false);
        app()->setSettingsValue(SettingsKeys::soundVolume(), stored);
        QCOMPARE(AudioPlayer::instance()->volume(), volume);
        quitSignal();
        bool ok = false;
        const double saved = app()->settingsValue(SettingsKeys::soundVolume()).toDouble(&ok);
        QVERIFY2(ok && saved >= 0.0 && saved <= 1.0, qPrintable(QString::number(saved)));
        AudioPlayer::releaseInstance();
        app()->setSettingsValue(SettingsKeys::soundVolume(), 0.5);
        app()->setSettingsValue(SettingsKeys::soundMute(), false);
    }

    void loopRestartsOncePerPass_data()
    {
        QTest::addColumn<int>("againAfterMs");
        QTest::addColumn<bool>("stopFirst");
        QTest::newRow("stop, then loop again") << 300 << true;
        QTest::newRow("loop over a loop") << 500 << false;
    }
    void loopRestartsOncePerPass()
    {
        // Each pass plays the file once: passes of a 1 s loop start at least 1 s apart,
        // whatever was looped before, and no pass end is reported as the end of the sound.
        QFETCH(int, againAfterMs);
        QFETCH(bool, stopFirst);
        AudioPlayer* player = AudioPlayer::instance();
        QSignalSpy fin(player, &AudioPlayer::finished);
        player->play(m_second, true);
        QTest::qWait(againAfterMs);
        if (stopFirst)
            player->stop();
        const int from = m_backend->voicesAddedNs.size();
        player->play(m_second, true);
        QTRY_VERIFY_WITH_TIMEOUT(m_backend->voicesAddedNs.size() - from >= 3, 5000);
        player->stop();
        const QVector<qint64> starts = m_backend->voicesAddedNs.mid(from);
        for (int i = 1; i < starts.size(); ++i) {
            const double gapMs = (starts[i] - starts[i - 1]) / 1e6;
            QVERIFY2(gapMs >= 990, qPrintable(QStringLiteral("pass %1 began %2 ms after the one before").arg(i).arg(gapMs)));
        }
        QCOMPARE(fin.count(), 0);
    }

    void loopRestartsUntilStopped()
    {
        AudioPlayer* player = AudioPlayer::instance();
        QSignalSpy fin(player, &AudioPlayer::finished);
        QSignalSpy stopped(player, &AudioPlayer::stopped);
        player->play(m_short, true);
        QVERIFY(!player->isLoopStopped());
        QCOMPARE(player->fileName(), m_short);
        QTest::qWait(1300);
        QCOMPARE(fin.count(), 0);
        QVERIFY(player->isPlaying());
        player->stop();
        QCOMPARE(stopped.count(), 1);
        QTest::qWait(700);
        QCOMPARE(fin.count(), 0);
        QVERIFY(!player->isPlaying());

        // Stop and play at once: the pending restart finds the loop stopped; the file plays once.
        player->play(m_short, true);
        player->stop();
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(fin.count(), 1, 1500);
        QTest::qWait(400);
        QCOMPARE(fin.count(), 1);
        QVERIFY(!player->isPlaying());
    }

    void loopSurvivesAnEarlyEndAndNeverSpins()
    {
        AudioPlayer* player = AudioPlayer::instance();
        // The end was seen before the restart came: the loop goes on at once, and the end of a
        // pass is not the end of the sound.
        QSignalSpy fin(player, &AudioPlayer::finished);
        m_backend->setRealClock(false);
        player->play(m_short, true);
        m_backend->advanceMs(320);
        player->nativePlayer()->internal()->slotPositionChanged();
        QCOMPARE(fin.count(), 0);
        QVERIFY(player->isPlaying());
        QCOMPARE(player->duration(), qint64(300));
        player->stop();
        m_backend->setRealClock(true);

        // A file that cannot be played arms no restart: the event loop stays idle...
        player->play(m_dir.filePath("missing.wav"), true);
        const std::clock_t cpuBefore = std::clock();
        QTest::qWait(300);
        const double cpuMs = double(std::clock() - cpuBefore) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY2(cpuMs < 150, qPrintable(QStringLiteral("%1 ms of CPU while waiting 300 ms").arg(cpuMs)));
        // ...and a restart that comes all the same stops the loop.
        player->loopedPlay();
        QVERIFY(player->isLoopStopped());
    }

    void listPlayerWithEmptyList()
    {
        AudioListPlayer* list = AudioListPlayer::instance();
        QCOMPARE(list->currentIndex(), -1);
        QVERIFY(list->currentUrl().isEmpty());
        QVERIFY(list->currentName().isEmpty());
        QVERIFY(list->currentCover().isNull());
        QCOMPARE(list->index(3), -1);
        QSignalSpy next(list, &AudioListPlayer::nextTriggered);
        list->setPlayList(QList<QUrl>());
        list->slotPlayNext();
        list->slotPlayPrevious();
        list->slotPlayFromList(QUrl::fromLocalFile(m_short));
        QCOMPARE(next.count(), 0);
        QVERIFY(list->playListModel() == nullptr);
    }

    void listPlayerMoves()
    {
        AudioListPlayer* list = AudioListPlayer::instance();
        const QString odd = m_dir.filePath("a#b%c?d Song.mp3");
        QVERIFY(TestAudio::writeTone(odd, 550, 0.3));
        QImage cover(4, 4, QImage::Format_RGB32);
        cover.fill(Qt::red);
        QVERIFY(cover.save(m_dir.filePath("cover.png")));

        QSignalSpy next(list, &AudioListPlayer::nextTriggered);
        QSignalSpy previous(list, &AudioListPlayer::previousTriggered);
        QSignalSpy changed(list, &AudioListPlayer::listChanged);
        QSignalSpy fin(list, &AudioListPlayer::finished);
        list->setPlayList(urls({m_short, odd, m_other}));
        QCOMPARE(list->currentNumber(), 0);
        QCOMPARE(next.count(), 1);
        QCOMPARE(changed.count(), 0);
        QVERIFY(list->isPlaying());
        QCOMPARE(AudioPlayer::instance()->fileName(), m_short);
        QVERIFY(!list->currentCover().isNull());

        // A natural end moves on by itself.
        QTRY_COMPARE_WITH_TIMEOUT(list->currentNumber(), 1, 1500);
        QCOMPARE(next.count(), 2);
        QCOMPARE(list->currentName(), QStringLiteral("a#b%c?d Song.mp3"));
        QCOMPARE(list->currentUrl(), QUrl::fromLocalFile(odd));

        list->slotPlayFromList(QUrl::fromLocalFile(m_other));
        QCOMPARE(list->currentNumber(), 2);
        QCOMPARE(next.count(), 3);
        list->slotPlayNext();  // the last entry: nothing
        QCOMPARE(list->currentNumber(), 2);
        QCOMPARE(next.count(), 3);
        list->slotPlayFromList(QUrl::fromLocalFile(m_short));
        QCOMPARE(list->currentNumber(), 0);
        QCOMPARE(previous.count(), 1);
        list->slotPlayPrevious();  // the first entry: nothing
        list->slotPlayFromList(QUrl::fromLocalFile(m_short));  // the current one: nothing
        list->slotPlayFromList(QUrl::fromLocalFile(m_dir.filePath("absent.mp3")));
        QCOMPARE(previous.count(), 1);
        QCOMPARE(next.count(), 3);

        // Appending leaves playback alone.
        list->appendToPlayList(urls({m_short}));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(list->playList().size(), 4);
        QCOMPARE(list->currentNumber(), 0);
        QCOMPARE(next.count(), 3);

        // Playing a path outside the list leaves the list alone.
        list->play(m_other);
        QCOMPARE(AudioPlayer::instance()->fileName(), m_other);
        QCOMPARE(list->currentNumber(), 0);

        // The end of the last entry goes back to the start, plays nothing, and says so.
        list->slotPlayNext();
        list->slotPlayNext();
        list->slotPlayNext();
        QCOMPARE(list->currentNumber(), 3);
        list->setLoopMode(true);
        list->slotFinished();
        QCOMPARE(list->currentNumber(), 0);
        QCOMPARE(fin.count(), 1);

        list->setShuffleMode(true);
        QVERIFY(list->isShuffleMode());
        QCOMPARE(list->index(1), 1);
        list->stop();
    }

    void listFollowsTheSharedPlayer()
    {
        // The list player outlives a shared player released and built again.
        AudioListPlayer* list = AudioListPlayer::instance();
        AudioPlayer::releaseInstance();
        AudioPlayer::instance();
        list->setPlayList(urls({m_short, m_other}));
        QTRY_COMPARE_WITH_TIMEOUT(list->currentNumber(), 1, 3000);
        list->stop();
    }

    void brokenEntryIsPassedOver()
    {
        AudioListPlayer* list = AudioListPlayer::instance();
        QSignalSpy fin(list, &AudioListPlayer::finished);
        list->setPlayList(urls({m_dir.filePath("missing.wav"), m_short}));
        QTRY_COMPARE_WITH_TIMEOUT(list->currentNumber(), 1, 1000);
        QCOMPARE(AudioPlayer::instance()->fileName(), m_short);
        QTRY_COMPARE_WITH_TIMEOUT(fin.count(), 1, 3000);
        QCOMPARE(list->currentNumber(), 0);
    }
};

TONARIX_APP_TEST_MAIN(TestSharedPlayers)
#include "tst_SharedPlayers.moc"
