// Recording formats and files: format defaults and codec names, the settings each format records
// with, AAC files that decode back to what was written, and a recorder that cannot start.

#include "Pitch.h"
#include "AvDecode.h"
#include "FakeAudioBackend.h"
#include "ToneFiles.h"

#include "QMMultiMedia/NativeAudioRecorder.h"
#include "QMMultiMedia/NativeAudioRecorderInternal.h"
#include "QMMultiMedia/_Coders/AacFileWriter.h"

#include "TestMain.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace QMMultiMedia;

class TestRecorder : public QObject
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

    void newRecorder()
    {
        NativeAudioRecorder recorder(nullptr);
        const MAudioFormat f = recorder.format();
        QCOMPARE(f.codec(), QStringLiteral("WAV"));
        QCOMPARE(f.sampleRate(), 44100);
        QCOMPARE(f.channelCount(), 2);
        QCOMPARE(f.sampleSize(), 16);
        QCOMPARE(f.bitRate(), 128000);
        QCOMPARE(f.quality(), 3);
        QVERIFY(recorder.isStopped());
        QCOMPARE(recorder.availableInputDevices().size(), 1);
        recorder.setInputDevice(QStringLiteral("anything"));
        QCOMPARE(recorder.availableInputDevices().size(), 1);
        // A stop with nothing recording still reports the end.
        QSignalSpy fin(&recorder, &NativeAudioRecorder::finished);
        recorder.slotStop();
        QCOMPARE(fin.count(), 1);
        QVERIFY(recorder.isStopped());
    }

    void codecNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("id");
        QTest::newRow("AIFF") << "AIFF" << 1;
        QTest::newRow("MPEG4ACC") << "MPEG4ACC" << 2;
        QTest::newRow("CAF") << "CAF" << 3;
        QTest::newRow("lower case") << "mpeg4acc" << 0;
        QTest::newRow("AAC is not a name") << "AAC" << 0;
        QTest::newRow("WAV") << "WAV" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void codecNames()
    {
        QFETCH(QString, name);
        QFETCH(int, id);
        QCOMPARE(MAudioFormat::codecIDFromString(name), id);
    }

    void recorderSettings_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<int>("quality");
        QTest::addColumn<bool>("aac");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("platformQuality");
        QTest::newRow("AIFF best") << "AIFF" << 4 << false << -1 << 127;
        QTest::newRow("CAF odd quality") << "CAF" << 9 << true << 64000 << 96;
        QTest::newRow("MPEG4ACC lowest") << "MPEG4ACC" << 0 << true << 64000 << 0;
        QTest::newRow("WAV low") << "WAV" << 1 << false << -1 << 32;
        QTest::newRow("unknown name medium") << "OGG" << 2 << false << -1 << 64;
    }
    void recorderSettings()
    {
        QFETCH(QString, codec);
        QFETCH(int, quality);
        QFETCH(bool, aac);
        QFETCH(int, bitRate);
        QFETCH(int, platformQuality);
        MAudioFormat f;
        f.setCodec(codec);
        f.setQuality(quality);
        f.setBitRate(64000);
        f.setSampleRate(22050);
        f.setChannelCount(1);
        const RecorderSettings s = NativeAudioRecorderInternal::recorderSettings(f);
        QCOMPARE(s.format == RecorderSettings::MPEG4AAC, aac);
        QCOMPARE(s.bitRate, bitRate);
        QCOMPARE(s.quality, platformQuality);
        QCOMPARE(s.sampleRate, 22050.0f);
        QCOMPARE(s.channels, 1);
    }

    void aacDecodesBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("channels");
        QTest::newRow("m4a stereo") << "r.m4a" << 2;
        QTest::newRow("m4a mono") << "r1.m4a" << 1;
        QTest::newRow("adts stereo") << "r.aac" << 2;
    }
    void aacDecodesBack()
    {
        QFETCH(QString, name);
        QFETCH(int, channels);
        const QString path = m_dir.filePath(name);
        const std::vector<float> tone = TestAudio::sineTone(440.0, 1.5, channels, 0.5f);
        const qint64 frames = qint64(tone.size()) / channels;
        AacFileWriter writer;
        QVERIFY2(writer.open(path, 44100, channels, 128000), qPrintable(writer.errorString()));
        // Written in uneven pieces, as a recording delivers them.
        for (qint64 at = 0; at < frames;) {
            const qint64 n = qMin<qint64>(777, frames - at);
            QVERIFY(writer.write(tone.data() + at * channels, n));
            at += n;
        }
        QVERIFY2(writer.close(), qPrintable(writer.errorString()));

        int rate = 0, ch = 0;
        QString codec;
        const std::vector<float> back = TestAudio::decodeWithAv(path, &rate, &ch, &codec);
        QCOMPARE(codec, QStringLiteral("aac"));
        QCOMPARE(rate, 44100);
        QCOMPARE(ch, channels);
        const qint64 backFrames = qint64(back.size()) / ch;
        // The encoder's priming and padding add at most a few blocks of 1024.
        QVERIFY2(backFrames >= frames && backFrames <= frames + 3 * 1024, qPrintable(QString::number(backFrames)));
        std::vector<float> first;
        for (qint64 i = 10000; i < 30000; ++i)
            first.push_back(back[size_t(i * ch)]);
        const double hz = TestSupport::pitch(first.data(), first.size(), rate, 440.0);
        QVERIFY2(qAbs(hz - 440.0) < 440.0 * 0.005, qPrintable(QString::number(hz)));
        QVERIFY(qAbs(TestAudio::rms(first.data(), int(first.size())) - 0.5 / std::sqrt(2.0)) < 0.03);
    }

    void aacRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("channels");
        QTest::newRow("wav cannot hold AAC") << "x.wav" << 2;
        QTest::newRow("nor caf, here") << "x.caf" << 2;
        QTest::newRow("six channels") << "x.m4a" << 6;
        QTest::newRow("folder missing") << "no/such/folder/x.m4a" << 2;
    }
    void aacRefusals()
    {
        QFETCH(QString, name);
        QFETCH(int, channels);
        AacFileWriter writer;
        QVERIFY(!writer.open(m_dir.filePath(name), 44100, channels, 128000));
        QVERIFY(!writer.errorString().isEmpty());
        QVERIFY(!writer.write(nullptr, 0));
    }

    void startThatCannotRecordIsReported_data()
    {
        // The test runs without a sound server: a start that is otherwise fine fails for want of
        // an input, and says so, rather than claiming to record.
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("PCM into an mp3 name") << "WAV" << "x.mp3" << "uncompressed sound cannot be stored in a .mp3";
        QTest::newRow("AAC into a wav name") << "MPEG4ACC" << "x.wav" << "AAC sound cannot be stored in a .wav";
        QTest::newRow("AAC into a caf name") << "CAF" << "x.caf" << "AAC sound cannot be stored in a .caf";
        QTest::newRow("missing folder") << "WAV" << "no/such/folder/x.wav" << "cannot be written";
        QTest::newRow("no input") << "AIFF" << "x.aiff" << "there is no sound input";
    }
    void startThatCannotRecordIsReported()
    {
        QFETCH(QString, codec);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        NativeAudioRecorder recorder(nullptr);
        MAudioFormat f;
        f.setCodec(codec);
        recorder.setFormat(f);
        QSignalSpy err(&recorder, &NativeAudioRecorder::error);
        recorder.slotStart(m_dir.filePath(name));
        QVERIFY(recorder.isStopped());
        QCOMPARE(err.count(), 1);
        QVERIFY2(recorder.errorString().contains(reason), qPrintable(recorder.errorString()));
        QVERIFY(!QFile::exists(m_dir.filePath(name)));
        QCOMPARE(recorder.outputFileName(), m_dir.filePath(name));
    }
    void takeIsWholeOrNothing_data()
    {
        // A take replaces the file of its name only when it is complete: not when nothing was
        // captured, not when the input went away before anything came. A new file gets what the
        // umask gives; one that replaces an older file keeps the older file's permissions.
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("inputError");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("olderMode");  // -1: no older file
        QTest::newRow("complete, over an older file") << 4410 << QString() << QString() << 077 << 0640;
        QTest::newRow("complete, new file, umask 077") << 4410 << QString() << QString() << 077 << -1;
        QTest::newRow("complete, new file, umask 022") << 4410 << QString() << QString() << 022 << -1;
        QTest::newRow("nothing captured") << 0 << QString() << "nothing was recorded" << 022 << 0644;
        QTest::newRow("no input") << 0 << "refused" << "there is no sound input: refused" << 022 << 0644;
    }
    void takeIsWholeOrNothing()
    {
        QFETCH(int, frames);
        QFETCH(QString, inputError);
        QFETCH(QString, reason);
        QFETCH(int, umask);
        QFETCH(int, olderMode);
        TestAudio::FakeAudioBackend backend(false);
        QTemporaryDir dir;
        const QString path = dir.filePath("take.wav");
        if (olderMode >= 0) {
            QVERIFY(TestAudio::writeTone(path, 440.0, 0.5, 2));
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(olderMode)) == 0);
        }
        const qint64 before = QFileInfo(path).size();
        const mode_t umaskBefore = ::umask(mode_t(umask));
        NativeAudioRecorder recorder(nullptr);
        QSignalSpy err(&recorder, &NativeAudioRecorder::error);
        QSignalSpy fin(&recorder, &NativeAudioRecorder::finished);
        recorder.slotStart(path);
        QVERIFY(!recorder.isStopped());
        const std::vector<float> tone = TestAudio::sineTone(440.0, double(frames) / 44100, 2);
        for (float v : tone) {
            const qint16 sample = qint16(v * 32767);
            backend.captures.last()->pending.append(reinterpret_cast<const char*>(&sample), 2);
        }
        backend.captures.last()->error = inputError;
        if (inputError.isEmpty())
            recorder.slotStop();
        else
            QTRY_COMPARE(err.count(), 1);
        ::umask(umaskBefore);
        QVERIFY(recorder.isStopped());
        QCOMPARE(fin.count(), 1);
        QCOMPARE(err.count(), reason.isEmpty() ? 0 : 1);
        if (!reason.isEmpty()) {
            QVERIFY2(recorder.errorString().contains(reason), qPrintable(recorder.errorString()));
            QCOMPARE(QFileInfo(path).size(), before);
        } else {
            QCOMPARE(recorder.processedUSecs(), qint64(100));
            QCOMPARE(QFileInfo(path).size(), 44 + 4410 * 4);
        }
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 0777), olderMode >= 0 ? olderMode : 0666 & ~umask);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"take.wav"});
    }
};

TONARIX_TEST_MAIN(TestRecorder)
#include "tst_Recorder.moc"
