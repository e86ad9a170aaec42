// Takes cut off in the middle, on a sound server of the test's own: a recording process killed
// outright leaves nothing beside its file, and a server that dies leaves the take whole as far as
// it goes, with an error that says it was kept.

#include "QMMultiMedia/NativeAudioRecorder.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include "TestMain.h"

#include <QSignalSpy>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace QMMultiMedia;

namespace {

QStringList everything(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
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
