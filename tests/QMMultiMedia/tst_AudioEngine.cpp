// The audio layer without a device and without real time: sample mixing, file decoding, the
// file player's clock and stream handling, and the native player's 500 ms end-of-sound logic.

#include "Pitch.h"
#include "FakeAudioBackend.h"
#include "ToneFiles.h"

#include "QMMultiMedia/AudioMix.h"
#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/NativeAudioPlayerInternal.h"
#include "QMMultiMedia/PlatformAudioPlayer.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"
#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include "TestMain.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

using namespace QMMultiMedia;
using TestAudio::FakeAudioBackend;

class TestAudioEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString tone(const QString& name, double seconds, double hz = 440.0, int channels = 1)
    {
        const QString path = m_dir.filePath(name);
        if (!QFile::exists(path))
            TestAudio::writeTone(path, hz, seconds, channels);
        return path;
    }
    static std::vector<float> stereoOf(const TestAudio::FakeStream& s)
    {
        const QVector<qint16> raw = s.samples();
        std::vector<float> out(size_t(raw.size()));
        for (int i = 0; i < raw.size(); ++i)
            out[size_t(i)] = raw[i] / 32768.0f;
        return out;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void panGains_data()
    {
        QTest::addColumn<float>("pan");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("right");
        QTest::newRow("centre") << 0.0f << 1.0f << 1.0f;
        QTest::newRow("full left") << -1.0f << 1.0f << 0.0f;
        QTest::newRow("half right") << 0.5f << 0.5f << 1.0f;
        QTest::newRow("beyond right is clamped") << 3.0f << 0.0f << 1.0f;
        QTest::newRow("not a number is centre") << float(NAN) << 1.0f << 1.0f;
    }
    void panGains()
    {
        QFETCH(float, pan);
        QFETCH(float, left);
        QFETCH(float, right);
        const PanGains g = QMMultiMedia::panGains(pan);
        QCOMPARE(g.left, left);
        QCOMPARE(g.right, right);
    }

    void mixing()
    {
        // Mono goes to both sides; volume and pan scale; beyond full scale clips instead of wrapping.
        const float mono[] = {0.5f, -0.5f, 1.5f, -1.5f};
        qint16 out[8];
        mixToStereo16(mono, 1, 4, 1.0f, 0.0f, out);
        QCOMPARE(out[0], qint16(16384));
        QCOMPARE(out[1], qint16(16384));
        QCOMPARE(out[4], qint16(32767));
        QCOMPARE(out[7], qint16(-32768));
        mixToStereo16(mono, 1, 2, 0.5f, -0.5f, out);
        QCOMPARE(out[0], qint16(8192));
        QCOMPARE(out[1], qint16(4096));
        const float stereo[] = {0.25f, -0.25f};
        mixToStereo16(stereo, 2, 1, 1.0f, 0.0f, out);
        QCOMPARE(out[0], qint16(8192));
        QCOMPARE(out[1], qint16(-8192));
    }

    void fileFormats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exactLength");
        QTest::newRow("wav") << "f.wav" << true;
        QTest::newRow("aiff") << "f.aiff" << true;
        QTest::newRow("caf") << "f.caf" << true;
        QTest::newRow("flac") << "f.flac" << true;
        QTest::newRow("ogg") << "f.ogg" << true;
        QTest::newRow("mp3") << "f.mp3" << false;
    }
    void fileFormats()
    {
        // Every container written comes back with its length and its pitch.
        QFETCH(QString, name);
        QFETCH(bool, exactLength);
        const QString path = m_dir.filePath(name);
        QVERIFY(TestAudio::writeTone(path, 523.25, 0.8, 2));
        AudioFileReader reader;
        QVERIFY(reader.open(path));
        QCOMPARE(reader.sampleRate(), TestAudio::toneRate);
        QCOMPARE(reader.channels(), 2);
        const qint64 expected = qint64(std::lround(0.8 * TestAudio::toneRate));
        if (exactLength)
            QCOMPARE(reader.frames(), expected);
        else
            QVERIFY2(qAbs(reader.frames() - expected) <= 1152, qPrintable(QString::number(reader.frames())));
        std::vector<float> all = AudioFileReader::readAll(path);
        QVERIFY(all.size() >= size_t(expected) * 2 - 2304);
        std::vector<float> left;
        for (size_t i = 0; i < all.size(); i += 2)
            left.push_back(all[i]);
        const double hz = TestSupport::pitch(left.data() + 4000, 8000, TestAudio::toneRate, 523.25);
        QVERIFY2(qAbs(hz - 523.25) < 523.25 * 0.005, qPrintable(QString::number(hz)));
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QString() << "missing.wav";
        QTest::newRow("text named mp3") << "not a sound at all" << "text.mp3";
        QTest::newRow("empty file") << "" << "empty.wav";
        QTest::newRow("empty path") << QString() << "";
    }
    void unreadableFiles()
    {
        QFETCH(QString, content);
        QFETCH(QString, name);
        QString path = name.isEmpty() ? QString() : m_dir.filePath(name);
        if (!content.isNull()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.toUtf8());
        }
        AudioFileReader reader;
        QVERIFY(!reader.open(path));
        QVERIFY(!PlatformAudioPlayer::create(path));
    }

    void writerRefusesUnknownContainer()
    {
        AudioFileWriter writer;
        QVERIFY(!writer.open(m_dir.filePath("x.xyz"), 44100, 2));
        QVERIFY(!writer.errorString().isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath("x.xyz")));
    }

    void playerKeepsTimeAndDrains()
    {
        FakeAudioBackend backend;
        auto p = PlatformAudioPlayer::create(tone("one.wav", 1.0));
        QVERIFY(p);
        QCOMPARE(p->duration(), 1.0);
        QVERIFY(!p->isPlaying());
        p->play();
        auto s = backend.last();
        QVERIFY(s && s->started);
        QCOMPARE(s->sampleRate, TestAudio::toneRate);
        QCOMPARE(qint64(s->written.size()), s->capacity);  // filled at once: no waiting for the first tick
        // The device plays in step with the clock; pumping refills exactly what it played.
        for (int ms = 50; ms <= 950; ms += 50) {
            backend.advanceMs(50);
            s->play(qint64(TestAudio::toneRate / 20) * 4);
            p->pump();
            if (ms == 400) {
                QVERIFY(p->isPlaying());
                QCOMPARE(p->currentTime(), 0.4);
                QCOMPARE(s->queued, s->capacity);
            }
        }
        // The whole sound went out, followed by silence up to the brim of the device's buffer.
        const qint64 soundBytes = p->frames() * 4;
        QVERIFY(s->written.size() > soundBytes);
        QVERIFY(std::all_of(s->written.begin() + int(soundBytes), s->written.end(), [](char c) { return c == 0; }));
        QCOMPARE(s->queued, s->capacity);
        // At the end of the file a device running late still holds sound: the player waits for it,
        // but not for the silence behind it.
        backend.advanceMs(50);
        const qint64 padding = s->written.size() - soundBytes;
        QVERIFY(s->queued > padding);
        QVERIFY(p->isPlaying());
        s->play(s->queued - padding);
        p->pump();
        QVERIFY(!p->isPlaying());
        QVERIFY(!s->alive);
        QCOMPARE(p->currentTime(), 0.0);
        // A device that never drains does not hold the end back longer than the drain allowance.
        p->play();
        auto s2 = backend.last();
        QVERIFY(s2 != s);
        backend.advanceMs(1000 + PlatformAudioPlayer::drainNs / 1e6 - 1);
        QVERIFY(p->isPlaying());
        backend.advanceMs(2);
        QVERIFY(!p->isPlaying());
    }

    void shortSoundFillsTheDevice()
    {
        // A sound shorter than the device buffer is followed by silence, so that a device that
        // starts only with a full buffer plays it at all.
        FakeAudioBackend backend;
        auto p = PlatformAudioPlayer::create(tone("tick.wav", 0.04));
        p->play();
        auto s = backend.last();
        QCOMPARE(qint64(s->written.size()), s->capacity);
        const QVector<qint16> out = s->samples();
        const int soundSamples = int(p->frames() * 2);
        QVERIFY(std::any_of(out.begin(), out.begin() + soundSamples, [](qint16 v) { return v != 0; }));
        QVERIFY(std::all_of(out.begin() + soundSamples, out.end(), [](qint16 v) { return v == 0; }));
        backend.advanceMs(41);
        s->play(p->frames() * 4);
        QVERIFY(!p->isPlaying());
    }

    void pauseStopAndSeek()
    {
        FakeAudioBackend backend;
        const QString path = tone("two.wav", 2.0);
        const std::vector<float> source = AudioFileReader::readAll(path);
        auto p = PlatformAudioPlayer::create(path);
        p->play();
        backend.advanceMs(300);
        p->pause();
        auto s = backend.last();
        QVERIFY(s->suspended && s->alive);
        backend.advanceMs(5000);
        QVERIFY(!p->isPlaying());
        QCOMPARE(p->currentTime(), 0.3);
        p->play();
        QVERIFY(!s->suspended);
        QCOMPARE(backend.streams.size(), 1);
        backend.advanceMs(200);
        QCOMPARE(p->currentTime(), 0.5);

        // Stop keeps the time and silences at once; play goes on from there on a fresh stream.
        p->stop();
        QVERIFY(!s->alive);
        QVERIFY(!p->isPlaying());
        QCOMPARE(p->currentTime(), 0.5);
        p->play();
        auto s2 = backend.last();
        QVERIFY(s2 != s);
        const std::vector<float> heard = stereoOf(*s2);
        const int from = TestAudio::toneRate / 2;
        for (int i = 0; i < 100; ++i)
            QVERIFY(qAbs(heard[size_t(2 * i)] - source[size_t(from + i)]) < 1e-3f);

        // Seek while playing drops what the device holds and goes on from the new place.
        p->setCurrentTime(1.5);
        auto s3 = backend.last();
        QVERIFY(!s2->alive && s3->alive);
        QCOMPARE(p->currentTime(), 1.5);
        const std::vector<float> heard3 = stereoOf(*s3);
        QVERIFY(qAbs(heard3[20] - source[size_t(TestAudio::toneRate * 3 / 2 + 10)]) < 1e-3f);
        // Seeking to the end (or beyond) while playing ends the sound; paused, it waits there.
        p->pause();
        p->setCurrentTime(99.0);
        QCOMPARE(p->currentTime(), 2.0);
        p->play();
        p->setCurrentTime(99.0);
        QVERIFY(!p->isPlaying());
    }

    void volumeAndPanReachSamples()
    {
        FakeAudioBackend backend;
        auto p = PlatformAudioPlayer::create(tone("vol.wav", 0.5));
        p->setVolume(0.25f);
        p->setPan(-1.0f);
        p->play();
        const std::vector<float> out = stereoOf(*backend.last());
        const int n = int(out.size());
        const double left = TestAudio::rms(out.data(), n, 2, 0);
        const double right = TestAudio::rms(out.data(), n, 2, 1);
        QVERIFY2(qAbs(left - 0.25 * 0.5 / std::sqrt(2.0)) < 0.01, qPrintable(QString::number(left)));
        QCOMPARE(right, 0.0);
    }

    void withoutDeviceOrWhenItFails()
    {
        // No device: nothing sounds, but time runs as if it played, and the end comes.
        FakeAudioBackend none(false);
        auto p = PlatformAudioPlayer::create(tone("nodev.wav", 0.7));
        p->play();
        QVERIFY(!p->hasOutput());
        QVERIFY(p->isPlaying());
        none.advanceMs(699);
        QVERIFY(p->isPlaying());
        none.advanceMs(2);
        QVERIFY(!p->isPlaying());
    }

    void deviceLostMidway()
    {
        FakeAudioBackend backend;
        auto p = PlatformAudioPlayer::create(tone("lost.wav", 0.7));
        p->play();
        backend.last()->broken = true;
        p->pump();
        QVERIFY(!p->hasOutput());
        backend.advanceMs(300);
        QVERIFY(p->isPlaying());
        QCOMPARE(p->currentTime(), 0.3);
        backend.advanceMs(500);
        QVERIFY(!p->isPlaying());
    }

    void positionRounding_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qint64>("position");
        QTest::addColumn<qint64>("duration");
        QTest::newRow("rounds vs truncates") << 1.2345 << qint64(1235) << qint64(1234);
        QTest::newRow("just below") << 1.2349 << qint64(1235) << qint64(1234);
        QTest::newRow("half") << 0.0005 << qint64(1) << qint64(0);
    }
    void positionRounding()
    {
        QFETCH(double, seconds);
        QFETCH(qint64, position);
        QFETCH(qint64, duration);
        QCOMPARE(NativeAudioPlayerInternal::positionFromSeconds(seconds), position);
        QCOMPARE(NativeAudioPlayerInternal::durationFromSeconds(seconds), duration);
    }

    void endOfSoundTicks_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QList<qint64>>("positions");
        QTest::addColumn<int>("finishedAtTick");
        QTest::newRow("300 ms") << 0.3 << QList<qint64>() << 1;
        QTest::newRow("1.2 s") << 1.2 << QList<qint64>{500, 1000} << 3;
        QTest::newRow("exactly 1 s") << 1.0 << QList<qint64>{500} << 2;
    }
    void endOfSoundTicks()
    {
        QFETCH(double, seconds);
        QFETCH(QList<qint64>, positions);
        QFETCH(int, finishedAtTick);
        FakeAudioBackend backend(false);
        NativeAudioPlayer player(nullptr);
        QSignalSpy fin(&player, &NativeAudioPlayer::finished);
        QSignalSpy pos(&player, &NativeAudioPlayer::positionChanged);
        player.play(tone(QStringLiteral("tick%1.wav").arg(seconds), seconds));
        QVERIFY(player.internal()->isPollTimerActive());
        QCOMPARE(player.internal()->platformPlayer()->volume(), 0.5f);
        for (int tick = 1; tick <= 4; ++tick) {
            backend.advanceMs(NativeAudioPlayerInternal::pollIntervalMs);
            player.internal()->slotPositionChanged();
            QCOMPARE(fin.count(), tick >= finishedAtTick ? 1 : 0);
        }
        QCOMPARE(pos.count(), positions.size());
        for (int i = 0; i < positions.size(); ++i)
            QCOMPARE(pos.at(i).at(0).value<qint64>(), positions.at(i));
        QVERIFY(!player.internal()->isPollTimerActive());
        QVERIFY(!player.isPlaying() && !player.isStopped() && !player.isPaused());
        QCOMPARE(player.duration(), qint64(0));
        // After the end play() has nothing to play, stop() nothing to stop; play(path) plays again.
        player.play();
        player.stop();
        QVERIFY(!player.isPlaying() && !player.isStopped());
        player.play(tone(QStringLiteral("tick%1.wav").arg(seconds), seconds));
        QVERIFY(player.isPlaying());
    }

    void pauseAndStopNeverFinish()
    {
        FakeAudioBackend backend(false);
        NativeAudioPlayer player(nullptr);
        QSignalSpy fin(&player, &NativeAudioPlayer::finished);
        QSignalSpy pos(&player, &NativeAudioPlayer::positionChanged);
        player.play(tone("ps.wav", 1.0));
        backend.advanceMs(400);
        player.pause();
        QVERIFY(player.isPaused());
        QVERIFY(player.internal()->isPollTimerActive());  // the tick keeps running through a pause
        for (int i = 0; i < 10; ++i) {
            backend.advanceMs(500);
            player.internal()->slotPositionChanged();
        }
        QCOMPARE(fin.count(), 0);
        QCOMPARE(pos.count(), 0);
        QCOMPARE(player.position(), qint64(400));
        player.play();
        backend.advanceMs(100);
        QCOMPARE(player.position(), qint64(500));
        player.stop();
        QVERIFY(player.isStopped());
        QVERIFY(!player.internal()->isPollTimerActive());
        QCOMPARE(player.position(), qint64(0));
        player.internal()->slotPositionChanged();
        QCOMPARE(fin.count(), 0);
        player.play();
        backend.advanceMs(250);
        QCOMPARE(player.position(), qint64(250));
        player.setPosition(900);
        QCOMPARE(player.position(), qint64(900));
        QVERIFY(player.isPlaying());
    }

    void newMediaDuringPlayback()
    {
        // Loading another file stops the old sound; with no play() after it, the next tick finds
        // nothing playing and reports the end.
        FakeAudioBackend backend;
        NativeAudioPlayer player(nullptr);
        QSignalSpy fin(&player, &NativeAudioPlayer::finished);
        player.play(tone("a.wav", 1.0));
        auto first = backend.last();
        player.setMedia(tone("b.wav", 1.0, 660));
        QVERIFY(!first->alive);
        QCOMPARE(player.fileName(), m_dir.filePath("b.wav"));
        player.internal()->slotPositionChanged();
        QCOMPARE(fin.count(), 1);
        player.play(tone("a.wav", 1.0));
        QCOMPARE(player.fileName(), m_dir.filePath("b.wav"));  // play(path) keeps the name
    }

    void volumeMuteAndBalance()
    {
        FakeAudioBackend backend(false);
        NativeAudioPlayer player(nullptr);
        QCOMPARE(player.volume(), 0.5);
        QVERIFY(!player.isMuted());
        player.setMuted(false);  // unmuting before any mute returns to the initial volume
        QCOMPARE(player.volume(), 0.5);
        player.setVolume(0.8);
        player.setMuted(true);
        QVERIFY(player.isMuted());
        QCOMPARE(player.volume(), 0.0);
        player.setMuted(true);  // a second mute must not lose the volume
        QCOMPARE(player.unmutedVolume(), 0.8);
        player.setMuted(false);
        QCOMPARE(player.volume(), 0.8);
        player.setVolume(0);
        QVERIFY(player.isMuted());

        // Balance set before loading stays with the facade; the file loaded next plays centred.
        player.setBalance(-1.0f);
        player.setMedia(tone("bal.wav", 0.5));
        QCOMPARE(player.internal()->platformPlayer()->pan(), 0.0f);
        player.setBalance(0.5f);
        QCOMPARE(player.internal()->platformPlayer()->pan(), 0.5f);
        // Volume reaches the loaded file at play.
        player.setVolume(0.3);
        player.play();
        QCOMPARE(player.internal()->platformPlayer()->volume(), 0.3f);
    }

    void failedLoadIsReclaimed()
    {
        FakeAudioBackend backend(false);
        QPointer<NativeAudioPlayer> player = new NativeAudioPlayer(nullptr);
        connect(player, &NativeAudioPlayer::finished, player, &QObject::deleteLater);
        QSignalSpy fin(player, &NativeAudioPlayer::finished);
        player->play(m_dir.filePath("nothing-here.mp3"));
        QCOMPARE(fin.count(), 0);  // not from inside play(): callers may connect after calling it
        QVERIFY(!player->isPlaying());
        QTRY_VERIFY(player.isNull());
        QCOMPARE(fin.count(), 1);

        // A failed load followed at once by a good one must not report the good one as ended.
        NativeAudioPlayer second(nullptr);
        QSignalSpy fin2(&second, &NativeAudioPlayer::finished);
        second.play(m_dir.filePath("nothing-here.mp3"));
        second.play(tone("good.wav", 1.0));
        QTest::qWait(20);
        QCOMPARE(fin2.count(), 0);
        QVERIFY(second.isPlaying());
    }

    void soundsStillGoingEndWithTheApplication()
    {
        // Players of notes still sounding when the application is about to quit are stopped and
        // deleted then; the others have deleted themselves.
        FakeAudioBackend backend;
        QPointer<NativeAudioPlayer> player = NativeAudioPlayer::playOnce(tone("long.wav", 5.0));
        QVERIFY(player && player->isPlaying());
        auto stream = backend.last();
        QVERIFY(stream->alive);
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection));
        QVERIFY(player.isNull());
        QVERIFY(!stream->alive);
    }
};

TONARIX_TEST_MAIN(TestAudioEngine)
#include "tst_AudioEngine.moc"
