// The beat mixer and its players on a stream the test plays by hand: a sound lands on the frame of
// its time, whenever it was asked for within the lead; one stream serves every beat; a sound is
// decoded once (it still plays once its file is gone); a player deleted early stays silent; a
// sound asked for too late starts at once instead of being lost; finished() follows the sound; a
// stream opened afresh after a failure goes on with the sound under way.
#include "RIRurud/BeatMixer.h"
#include "RIRurud/BeatPlayer.h"

#include "FakeAudioBackend.h"
#include "ToneFiles.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"

using namespace RIRurud;

namespace {

constexpr double kRate = BeatMixer::rate;

// First frame from `from` on whose left sample is not silent, or -1. The test tones start at 0
// and fade in: the first frame heard is the sound's second.
qint64 firstSound(const TestAudio::FakeStream& stream, qint64 from)
{
    const QVector<qint16> s = stream.samples();
    for (qint64 f = from; f < s.size() / 2; ++f) {
        if (s[int(2 * f)] != 0)
            return f;
    }
    return -1;
}

} // namespace

class TestBeatMixer : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestAudio::FakeAudioBackend> m_backend;
    QTemporaryDir m_dir;
    BeatMixer* m_mixer = nullptr;

    // Moves the clock in 1 ms steps, lets the device play what the clock says and pumps.
    void run(double ms)
    {
        for (int i = 0; i < int(ms); ++i) {
            m_backend->advanceMs(1);
            m_backend->last()->play(qint64(kRate / 1000.0 * 4));
            m_mixer->pump();
        }
    }
    qint64 frameOf(qint64 ns, qint64 startNs) const { return qRound64(double(ns - startNs) * kRate / 1e9); }

private slots:
    void init()
    {
        m_backend = std::make_unique<TestAudio::FakeAudioBackend>();
        m_mixer = BeatMixer::instance();
        m_mixer->acquire();
    }
    void cleanup()
    {
        m_mixer->release();
        m_backend.reset();
    }

    void beatsLandOnTheirFrames()
    {
        const QString tone = m_dir.filePath("tick.wav");
        QVERIFY(TestAudio::writeTone(tone, 1000, 0.05, 1, 0.8f));
        QCOMPARE(m_backend->streams.size(), 1);
        const TestAudio::FakeStream& stream = *m_backend->last();
        QVERIFY(m_mixer->hasOutput());
        // The stream was filled at once: frame f is heard at the opening time + f / rate.
        const qint64 openedNs = m_backend->nowNs();
        QCOMPARE(stream.written.size() / 4, qint64(kRate / 10));
        const qint64 lead = BeatPlayer::leadNs();
        QVERIFY(lead > m_mixer->queueNs() && lead < m_mixer->queueNs() + 100'000'000);

        // Twelve beats 288 ms apart, each asked for between the lead and a little less ahead of
        // its time, as a timer that comes late would ask.
        QVector<qint64> beats;
        QVector<QPointer<BeatPlayer>> players;
        const qint64 gridNs = openedNs + 500'000'000 + 123'456;
        for (int n = 0; n < 12; ++n) {
            const qint64 at = gridNs + n * 288'000'000LL;
            const qint64 askAt = at - lead + (n % 4) * 9'000'000LL;
            run(double(askAt - m_backend->nowNs()) / 1e6);
            auto* player = new BeatPlayer;
            connect(player, &BeatPlayer::finished, player, &QObject::deleteLater);
            player->play(tone, at);
            players << player;
            beats << at;
            if (n == 5)
                QVERIFY(QFile::remove(tone));  // decoded once: the file is not needed again
        }
        run(600);
        QCOMPARE(m_backend->streams.size(), 1);
        qint64 from = 0;
        for (qint64 at : beats) {
            const qint64 heard = firstSound(stream, from);
            QVERIFY2(heard - frameOf(at, openedNs) >= 0 && heard - frameOf(at, openedNs) <= 2,
                     qPrintable(QString("beat at frame %1, expected %2").arg(heard).arg(frameOf(at, openedNs))));
            from = heard + qint64(kRate * 0.1);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<BeatPlayer>& p : players)
            QVERIFY(p.isNull());
        QCOMPARE(m_mixer->voiceCount(), 0);
    }

    void lateEarlyAndMissingSounds()
    {
        const QString tone = m_dir.filePath("bell.wav");
        QVERIFY(TestAudio::writeTone(tone, 700, 0.05, 2, 0.8f));
        const TestAudio::FakeStream& stream = *m_backend->last();
        run(50);
        const qint64 written = stream.written.size() / 4;

        // Asked for after its time: it starts with the next frame written instead of being lost.
        BeatPlayer late;
        QSignalSpy lateDone(&late, &BeatPlayer::finished);
        late.play(tone, m_backend->nowNs() - 30'000'000);
        run(2);
        QVERIFY(late.hasStarted());
        const qint64 heard = firstSound(stream, written);
        QVERIFY(heard >= written && heard <= written + qint64(kRate * 0.003));

        // A player deleted before its time is never heard, and no voice is left behind.
        const qint64 before = stream.written.size() / 4 + qint64(kRate * 0.06);
        auto* early = new BeatPlayer;
        early->play(tone, m_backend->nowNs() + BeatPlayer::leadNs() + 50'000'000);
        run(20);
        QVERIFY(!early->hasStarted());
        delete early;
        run(400);
        QCOMPARE(firstSound(stream, before), -1);
        QCOMPARE(lateDone.count(), 1);
        QCOMPARE(m_mixer->voiceCount(), 0);

        // A file that cannot be decoded plays nothing and still ends.
        BeatPlayer missing;
        QSignalSpy missingDone(&missing, &BeatPlayer::finished);
        missing.play(m_dir.filePath("none.wav"));
        QVERIFY(missingDone.wait(1000));
        QCOMPARE(m_mixer->voiceCount(), 0);
    }

    // The device fails while a sound plays, long after the stream opened: the new stream goes on
    // with the rest of that sound at once, and the sound ends with it, not at its frame on the old
    // stream's count.
    void soundGoesOnAcrossAReopenedStream()
    {
        const QString tone = m_dir.filePath("long.wav");
        QVERIFY(TestAudio::writeTone(tone, 500, 0.3, 1, 0.8f));
        run(3000);
        BeatPlayer player;
        QSignalSpy done(&player, &BeatPlayer::finished);
        player.play(tone);
        run(double(BeatPlayer::leadNs()) / 1e6 + 100);
        QVERIFY(player.hasStarted());
        m_backend->last()->broken = true;
        run(1);
        QCOMPARE(m_backend->streams.size(), 2);
        const TestAudio::FakeStream& reopened = *m_backend->last();
        run(600);
        QCOMPARE(done.count(), 1);
        QCOMPARE(m_mixer->voiceCount(), 0);
        const qint64 heard = firstSound(reopened, 0);
        QVERIFY2(heard >= 0 && heard < qint64(kRate * 0.01), qPrintable(QString("first sound at frame %1").arg(heard)));
        // A tenth of a second had been heard: only the rest sounds again.
        QCOMPARE(firstSound(reopened, heard + qint64(kRate * 0.21)), -1);
    }
};

TONARIX_TEST_MAIN(TestBeatMixer)
#include "tst_BeatMixer.moc"
