// Sound files from outside. Damaged ones are refused at once, or played at once in bounded memory.
// Long ones are streamed: play() returns at once, memory stays bounded however long they play,
// every second of them is heard, and they end where their sound ends even when the length their
// file gives first is an estimate, too long or too short. A play list of them is filled in later,
// without holding up the GUI thread.
//
// Times are the calling thread's CPU time, which a busy machine does not lengthen; memory is the
// growth of the process's peak resident size, which is started again before each measurement.

#include "FakeAudioBackend.h"
#include "ProcessStatus.h"
#include "ToneFiles.h"

#include "MTools/TimeInfo.h"
#include "QMMultiMedia/DecodedSound.h"
#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/PlatformAudioPlayer.h"
#include "QMMultiMedia/PlayListModel.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include "TestMain.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>

using namespace QMMultiMedia;
using TestAudio::bytesOf;
using TestAudio::coverTag;
using TestSupport::Cost;
using TestAudio::wavBytes;

namespace {

// What the GUI thread may spend, and what the player may hold beyond what it held before.
constexpr double boundMs = 50;
constexpr long boundKb = 64 * 1024;
// Under a sanitizer, time and memory are the instrumentation's: they are shown, not bounded.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool instrumented = true;
#else
constexpr bool instrumented = false;
#endif

// Within the bounds, or under a sanitizer.
bool within(double ms, long kb)
{
    return instrumented || (ms < boundMs && kb < boundKb);
}

// The 80-bit extended float of an AIFF's rate: exponent, then the mantissa with its integer bit.
QByteArray extended(quint16 exponent, quint64 mantissa)
{
    return bytesOf(qToBigEndian(exponent)) + bytesOf(qToBigEndian(mantissa));
}

QByteArray aiff(const QByteArray& rate, quint16 channels, quint32 frames)
{
    const QByteArray comm = bytesOf(qToBigEndian(channels)) + bytesOf(qToBigEndian(frames))
        + bytesOf(qToBigEndian<quint16>(16)) + rate;
    const QByteArray ssnd = QByteArray(8, '\0') + QByteArray(int(frames) * channels * 2, '\0');
    const QByteArray body = "AIFFCOMM" + bytesOf(qToBigEndian<quint32>(quint32(comm.size()))) + comm + "SSND"
        + bytesOf(qToBigEndian<quint32>(quint32(ssnd.size()))) + ssnd;
    return "FORM" + bytesOf(qToBigEndian<quint32>(quint32(body.size()))) + body;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

} // namespace

class TestSoundFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // A tone as constant-bit-rate MP3 frames at 22.05 kHz without a header of their length, at 32
    // kbit/s for ten seconds and at 160 kbit/s for one, and their lengths at the file's rate.
    QByteArray m_slow, m_fast;
    qint64 m_slowFrames = 0, m_fastFrames = 0;
    // Long MP3s whose first length is an estimate, and their real lengths at the engine's rate: an
    // hour after a tag with a cover picture; a minute whose first ten seconds have a fifth of the
    // bit rate of the rest (the estimate is too long); and one, after a tag, whose first second
    // has five times the bit rate of the rest (it is too short).
    QStringList m_long;
    QList<qint64> m_longFrames;
    QByteArray encode(const QString& name, double seconds, int kbps, qint64* frames)
    {
        const QString wavPath = m_dir.filePath(name + ".wav");
        const QString mp3Path = m_dir.filePath(name + ".mp3");
        if (!TestAudio::writeTone(wavPath, 440.0, seconds)
            || !TestAudio::encodeMp3(wavPath, mp3Path, {"-t", "-m", "m", "--resample", "22.05", "-b", QString::number(kbps)}))
            return QByteArray();
        AudioFileReader reader;
        if (!reader.open(mp3Path) || !reader.countFrames())
            return QByteArray();
        *frames = reader.frames();
        return readFile(mp3Path);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_slow = encode("slow", 10.0, 32, &m_slowFrames);
        m_fast = encode("fast", 1.0, 160, &m_fastFrames);
        QVERIFY(!m_slow.isEmpty() && !m_fast.isEmpty());
        const QByteArray tag = coverTag(2 << 20);
        const QByteArray contents[] = {tag + m_slow.repeated(360), m_slow + m_fast.repeated(50),
                                       tag + m_fast + m_slow.repeated(6)};
        const qint64 frames[] = {360 * m_slowFrames, m_slowFrames + 50 * m_fastFrames, m_fastFrames + 6 * m_slowFrames};
        for (int i = 0; i < 3; ++i) {
            m_long.append(m_dir.filePath(QStringLiteral("long%1.mp3").arg(i)));
            QVERIFY(writeFile(m_long.last(), contents[i]));
            m_longFrames.append(2 * frames[i]);
        }
    }

    void mp3Lengths_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<bool>("estimate");
        const QString tone = m_dir.filePath("info.mp3");
        QVERIFY(TestAudio::writeTone(tone, 440.0, 1.5));
        const QByteArray two = m_slow.repeated(2);
        QByteArray vbri = two;
        vbri.replace(36, 18, "VBRI" + QByteArray(10, '\0') + bytesOf(qToBigEndian<quint32>(quint32(2 * m_slowFrames / 576))));
        QTest::newRow("Info header") << readFile(tone) << qint64(66150) << false;
        QTest::newRow("VBRI header") << vbri << 2 * m_slowFrames << false;
        QTest::newRow("none") << two << 2 * m_slowFrames << true;
        QTest::newRow("none, tags before and after") << coverTag(1 << 20) + two + "TAG" + QByteArray(125, ' ')
                                                     << 2 * m_slowFrames << true;
    }
    void mp3Lengths()
    {
        // A header's count of frames is exact; an estimate from the bytes of sound lies within a
        // frame (576 samples at 22.05 kHz) of the length.
        QFETCH(QByteArray, content);
        QFETCH(qint64, frames);
        QFETCH(bool, estimate);
        const QString path = m_dir.filePath("length.mp3");
        QVERIFY(writeFile(path, content));
        AudioFileReader reader;
        QVERIFY(reader.open(path));
        QCOMPARE(reader.lengthIsEstimate(), estimate);
        QVERIFY2(qAbs(reader.frames() - frames) <= (estimate ? 576 : 0), qPrintable(QString::number(reader.frames())));
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        const QByteArray nearZero = extended(1, quint64(1) << 63);
        const QByteArray notANumber = extended(0x7fff, quint64(3) << 62);
        const QByteArray infinite = extended(0x7fff, quint64(1) << 63);
        const QByteArray cd = extended(16398, quint64(44100) << 48);
        QTest::newRow("1 Hz, 4 kB") << wavBytes(1, 1, 2000) << "a.wav" << true;
        QTest::newRow("1 Hz, 2 MB") << wavBytes(1, 1, 1000000) << "a.wav" << true;
        QTest::newRow("0 Hz") << wavBytes(0, 1, 1000) << "a.wav" << true;
        QTest::newRow("800 kHz") << wavBytes(800000, 1, 80000) << "a.wav" << true;
        QTest::newRow("AIFF at nearly 0 Hz") << aiff(nearZero, 1, 4400) << "a.aiff" << true;
        QTest::newRow("AIFF at NaN Hz") << aiff(notANumber, 1, 4400) << "a.aiff" << true;
        QTest::newRow("AIFF at infinite Hz") << aiff(infinite, 1, 4400) << "a.aiff" << true;
        QTest::newRow("AIFF of 65535 channels") << aiff(cd, 65535, 10) << "a.aiff" << true;
        QTest::newRow("0 channels") << wavBytes(44100, 0, 1000) << "a.wav" << true;
        QTest::newRow("65535 channels") << wavBytes(44100, 65535, 4) << "a.wav" << true;
        QTest::newRow("text") << QByteArray("not a sound at all") << "a.wav" << true;
        QTest::newRow("a tag and no sound") << coverTag(1 << 20) << "a.mp3" << true;
        QTest::newRow("AIFF at 44.1 kHz") << aiff(cd, 1, 4400) << "a.aiff" << false;
        QTest::newRow("claims 2 GB, holds 1 s") << wavBytes(44100, 2, 44100, 16, 0x7fffff00) << "a.wav" << false;
        QTest::newRow("1 kHz, 2 MB: half an hour") << wavBytes(1000, 1, 2000000, 8) << "a.wav" << false;
        QTest::newRow("768 kHz") << wavBytes(768000, 2, 768000) << "a.wav" << false;
        QTest::newRow("1024 channels") << wavBytes(44100, 1024, 4410) << "a.wav" << false;
        QTest::newRow("WAV named MP3") << wavBytes(44100, 2, 44100) << "a.mp3" << false;
        QTest::newRow("4 MB tag before an MP3") << coverTag(4 << 20) + m_slow << "a.mp3" << false;
    }
    void damagedFiles()
    {
        // Refused with a reason, or played, at once and in bounded memory.
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(bool, refused);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_') + name);
        QVERIFY(writeFile(path, content));
        TestAudio::FakeAudioBackend backend;
        backend.keepFrames = false;
        const Cost cost;
        QString why;
        QCOMPARE(!DecodedSound::open(path, &why), refused);
        QCOMPARE(why.isEmpty(), !refused);
        std::unique_ptr<PlatformAudioPlayer> player = PlatformAudioPlayer::create(path);
        if (player)
            player->play();
        const double ms = cost.ms();
        backend.advanceMs(1000);
        const long kb = cost.peakKb();
        qInfo("%s: %.1f ms, %ld kB", refused ? qPrintable(why) : "played", ms, kb);
        QVERIFY(!player || player->isPlaying() || player->duration() < 1.0);
        QVERIFY2(within(ms, kb), qPrintable(QStringLiteral("%1 ms, %2 kB").arg(ms).arg(kb)));
    }

    void longSounds_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("frames");
        QTest::newRow("an hour after a cover") << m_long[0] << m_longFrames[0];
        QTest::newRow("a minute, estimated too long") << m_long[1] << m_longFrames[1];
        QTest::newRow("a minute, estimated too short") << m_long[2] << m_longFrames[2];
    }
    void longSounds()
    {
        QFETCH(QString, path);
        QFETCH(qint64, frames);
        constexpr int rate = AudioEngine::rate;
        TestAudio::FakeAudioBackend backend;
        backend.keepFrames = false;
        backend.stepMs = 5;
        {
            NativeAudioPlayer player;
            const Cost cost;
            player.play(path);
            const double ms = cost.ms();
            qInfo("play(): %.1f ms", ms);
            QVERIFY2(within(ms, 0), qPrintable(QStringLiteral("play() took %1 ms").arg(ms)));
            QVERIFY(player.isPlaying());
        }

        // Heard from the start, every second of it, for twice what the ring holds; what is
        // decoded is always decoded before it is mixed (the test waits for it).
        const Cost cost;
        std::shared_ptr<DecodedSound> sound = DecodedSound::open(path);
        QVERIFY(sound && sound->isStreamed());
        sound = sound->decodeFrom(0);
        const auto engine = backend.engine();
        quint64 voice = engine->add({sound});
        std::vector<double> energy;
        backend.last()->onPlay = [&](qint64 from, const float* samples, qint64 count) {
            for (qint64 i = 0; i < count; ++i) {
                const size_t second = size_t((from + i) / rate);
                energy.resize(qMax(energy.size(), second + 1));
                energy[second] += double(samples[2 * i]) * samples[2 * i];
            }
        };
        const int seconds = int(2 * DecodedSound::ringFrames / rate);
        for (int step = 0; step < 10 * seconds; ++step) {
            QTRY_VERIFY_WITH_TIMEOUT(sound->readyFrames() >= engine->state(voice).position + rate, 20000);
            backend.advanceMs(100);
        }
        for (int s = 0; s < seconds; ++s)
            QVERIFY2(std::sqrt(energy[size_t(s)] / rate) > 0.1, qPrintable(QStringLiteral("second %1 silent").arg(s)));
        const long kb = cost.peakKb();
        qInfo("%d s played: peak %ld kB more", seconds, kb);
        QVERIFY2(within(0, kb), qPrintable(QStringLiteral("%1 kB").arg(kb)));

        // A few seconds before its end and on: it ends where its sound does.
        engine->remove(voice);
        const qint64 from = frames - 3 * rate;
        sound = sound->decodeFrom(from);
        voice = engine->add({sound, -1, from});
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(sound->frames() - frames) <= 16, 20000);
        backend.advanceMs(2900);
        QVERIFY(engine->state(voice).playing);
        backend.advanceMs(200);
        QVERIFY(!engine->state(voice).playing);
    }

    void playListIsMeasuredLater()
    {
        // The list is there at once; the times come later (an estimate first where the file gives
        // only that), and then they are exact.
        TestAudio::FakeAudioBackend backend(false);
        PlayListModel model;
        const Cost cost;
        model.setPlayList(m_long + QStringList{m_dir.filePath("missing.mp3")});
        const double ms = cost.ms();
        qInfo("setPlayList(): %.1f ms", ms);
        QVERIFY2(within(ms, 0), qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QCOMPARE(model.rowCount(), 4);
        for (int row = 0; row < 3; ++row)
            QTRY_COMPARE_WITH_TIMEOUT(model.data(model.index(row), PlayListModel::DurationRole).toTime(),
                                      MTools::TimeInfo::msecsToTime(m_longFrames[row] * 1000 / AudioEngine::rate), 30000);
        QCOMPARE(model.data(model.index(3), PlayListModel::DurationRole).toTime(), QTime(0, 0));
    }
};

TONARIX_TEST_MAIN(TestSoundFiles)
#include "tst_SoundFiles.moc"
