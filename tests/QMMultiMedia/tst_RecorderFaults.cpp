// Takes cut off in the middle, on a sound server of the test's own: a recording process killed
// outright leaves nothing beside its file, and a server that dies leaves the take whole as far as
// it goes, with an error that says it was kept. A disk that fills up in the middle of a take leaves
// what was written before as a file of its own, and the error says how much that is.

#include "AvDecode.h"
#include "ToneFiles.h"

#include "QMMultiMedia/NativeAudioRecorder.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include "TestMain.h"

#include <QSignalSpy>
#include <QtEndian>

#include <cmath>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace QMMultiMedia;

namespace {

QStringList everything(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Whether a WAV file's RIFF chunk and its data chunk end where the file ends.
bool wavLengthsMatch(const QByteArray& wav)
{
    const auto at = [&](int i) { return qFromLittleEndian<quint32>(wav.constData() + i); };
    if (wav.size() < 12 || !wav.startsWith("RIFF") || at(4) != quint32(wav.size() - 8))
        return false;
    for (qint64 chunk = 12; chunk + 8 <= wav.size(); chunk += 8 + qint64(at(int(chunk) + 4)))
        if (wav.mid(int(chunk), 4) == "data")
            return at(int(chunk) + 4) == quint32(wav.size() - chunk - 8);
    return false;
}

} // namespace

class TestRecorderFaults : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_serverDir;
    QProcess m_server;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty())
            QSKIP("no pulseaudio to run a server of the test's own");
        // Before anything opens the sound system: the only server is the test's, also for the
        // child processes. The socket comes once the null sink is there.
        const QString socket = m_serverDir.filePath("native");
        qputenv("PULSE_SERVER", QFile::encodeName("unix:" + socket));
        QVERIFY(TestSupport::startPulseAudio(m_server, m_serverDir.path(), socket));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);
    }

    void killedMidTakeLeavesNothing_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("older");
        QTest::newRow("WAV, new file") << "WAV" << "take.wav" << QByteArray();
        QTest::newRow("WAV over an older take") << "WAV" << "take.wav" << QByteArray("an older take");
        QTest::newRow("AAC over an older take") << "MPEG4ACC" << "take.m4a" << QByteArray("an older take");
    }
    void killedMidTakeLeavesNothing()
    {
        QFETCH(QString, codec);
        QFETCH(QString, name);
        QFETCH(QByteArray, older);
        QTemporaryDir dir;
        const int unnamed = ::open(QFile::encodeName(dir.path()).constData(), O_TMPFILE | O_RDWR, 0600);
        if (unnamed < 0)
            QSKIP("this file system makes no files without a name: a take under a temporary name stays");
        ::close(unnamed);
        const QString path = dir.filePath(name);
        QFile file(path);
        QVERIFY(older.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(older) && file.flush()));
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(MEDIA_PROBE, {"record", codec, path});
        QVERIFY(QTest::qWaitFor([&] { return probe.canReadLine() || probe.state() == QProcess::NotRunning; }, 20000));
        QCOMPARE(probe.readLine(), QByteArray("recording\n"));
        ::kill(pid_t(probe.processId()), SIGKILL);
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(everything(dir.path()), older.isEmpty() ? QStringList() : QStringList {name});
        QCOMPARE(QFileInfo(path).size(), qint64(older.size()));
    }

    void fullDiskKeepsWhatWasWritten_data()
    {
        // The file may not grow beyond `room` bytes, as on a disk that fills up there. An older
        // file of the same name is replaced by the sound written before, and stays as it was when
        // there is none.
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("room");
        QTest::addColumn<qint64>("leastMs");  // what a take that filled the room holds at least; 0: none
        // 1.5 s of 16-bit stereo after a 44-byte header, and part of a frame more.
        const qint64 pcm = 44 + 66150 * 4 + 3;
        QTest::newRow("WAV, fills mid-take") << "WAV" << "take.wav" << pcm << qint64(1500);
        QTest::newRow("WAV, room for the header only") << "WAV" << "take.wav" << qint64(46) << qint64(0);
        QTest::newRow("WAV, full from the start") << "WAV" << "take.wav" << qint64(0) << qint64(0);
        QTest::newRow("AIFF, fills mid-take") << "AIFF" << "take.aiff" << pcm << qint64(1450);
        // 128 kbit/s: 1.5 s, less the room the index of an MPEG-4 file takes at its end.
        QTest::newRow("AAC in MPEG-4, fills mid-take") << "MPEG4ACC" << "take.m4a" << qint64(24000) << qint64(1200);
        QTest::newRow("AAC in MPEG-4, full from the start") << "MPEG4ACC" << "take.m4a" << qint64(0) << qint64(0);
        QTest::newRow("AAC in ADTS, fills mid-take") << "MPEG4ACC" << "take.aac" << qint64(24000) << qint64(1200);
    }
    void fullDiskKeepsWhatWasWritten()
    {
        QFETCH(QString, codec);
        QFETCH(QString, name);
        QFETCH(qint64, room);
        QFETCH(qint64, leastMs);
        const bool aac = codec == QLatin1String("MPEG4ACC");
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const QByteArray older("an older take");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(older) == older.size() && file.flush());
        file.close();
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(MEDIA_PROBE, {"fill", codec, path, QString::number(room)});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitCode(), 0);
        // "<finished signals> <milliseconds> <error>", once the take has been stopped.
        const QString report = QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
        const QStringList fields = report.split(QLatin1Char(' '));
        QCOMPARE(fields.value(0), QStringLiteral("1"));
        const qint64 ms = fields.value(1).toLongLong();
        QCOMPARE(everything(dir.path()), QStringList {name});
        if (leastMs == 0) {
            QVERIFY2(report.contains(QStringLiteral("the disk is full: nothing was kept")), qPrintable(report));
            QCOMPARE(ms, qint64(0));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), older);
            return;
        }
        QVERIFY2(ms >= leastMs && report.contains(QStringLiteral("the disk is full: %1 s were kept in %2")
                                                      .arg(double(ms) / 1000, 0, 'f', 1)
                                                      .arg(path)),
                 qPrintable(report));
        // All whole frames that fitted were kept; AAC gives up room for its index.
        const qint64 size = QFileInfo(path).size();
        QVERIFY2(size <= room && (aac || size > room - 4), qPrintable(QString::number(size)));
        // The file tells the length that was reported, and is the tone: AAC decodes with up to two
        // blocks of the encoder's priming and padding more.
        int rate = 0, channels = 0;
        const std::vector<float> sound = TestAudio::decodeWithAv(path, &rate, &channels);
        QCOMPARE(rate, 44100);
        QCOMPARE(channels, 2);
        const qint64 frames = qint64(sound.size()) / 2;
        const qint64 extra = aac ? 2 * 1024 : 0;
        QVERIFY2(frames * 1000 >= (ms - 1) * rate && frames * 1000 <= (ms + 1) * rate + extra * 1000,
                 qPrintable(QString::number(frames)));
        QVERIFY(qAbs(TestAudio::rms(sound.data() + rate / 5, rate, 2) - 0.5 / std::sqrt(2.0)) < 0.03);
        if (!aac) {
            int readerRate = 0;
            QCOMPARE(qint64(AudioFileReader::readAll(path, &readerRate).size()) / 2, frames);
        }
        if (name.endsWith(QLatin1String(".wav"))) {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(wavLengthsMatch(file.readAll()));
        }
    }

    void serverGoneKeepsTheTakeAndSaysSo()
    {
        // The take so far replaces the older one, whole: its length is what was recorded.
        QTemporaryDir dir;
        const QString path = dir.filePath("take.wav");
        QFile older(path);
        QVERIFY(older.open(QIODevice::WriteOnly) && older.write("an older take") && older.flush());
        NativeAudioRecorder recorder(nullptr);
        QSignalSpy err(&recorder, &NativeAudioRecorder::error);
        recorder.slotStart(path);
        QTRY_VERIFY_WITH_TIMEOUT(recorder.processedUSecs() > 500, 20000);
        m_server.kill();
        QTRY_COMPARE_WITH_TIMEOUT(err.count(), 1, 20000);
        QVERIFY(recorder.isStopped());
        QVERIFY2(recorder.errorString().contains(QStringLiteral("stopped after")) && recorder.errorString().contains(path)
                     && recorder.errorString().contains(QStringLiteral("kept")),
                 qPrintable(recorder.errorString()));
        int rate = 0;
        const qint64 frames = qint64(AudioFileReader::readAll(path, &rate).size()) / 2;
        QVERIFY2(rate == 44100 && qAbs(frames * 1000 / rate - recorder.processedUSecs()) <= 1, qPrintable(QString::number(frames)));
        QCOMPARE(everything(dir.path()), QStringList {"take.wav"});
    }
};

TONARIX_TEST_MAIN(TestRecorderFaults)
#include "tst_RecorderFaults.moc"
