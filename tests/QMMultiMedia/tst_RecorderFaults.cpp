// Takes cut off in the middle, on a sound server of the test's own: a recording process killed
// outright leaves nothing beside its file, and a server that dies leaves a take that is whole as
// far as it goes, with an error that says it was kept.

#include "PrivateServer.h"
#include "ToneFiles.h"

#include "QMMultiMedia/NativeAudioRecorder.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include "TestMain.h"

#include <QSignalSpy>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace QMMultiMedia;

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList everything(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestRecorderFaults : public QObject
{
    Q_OBJECT

private:
    TestAudio::PrivateServer m_server;

private slots:
    void initTestCase()
    {
        if (!TestAudio::PrivateServer::available()) {
            if (qEnvironmentVariableIsSet("TONARIX_REQUIRE_SERVICES"))
                QFAIL("no pulseaudio to run a server of the test's own");
            QSKIP("no pulseaudio to run a server of the test's own");
        }
        // Before anything opens the sound system: the only server is the test's, also for the
        // child processes.
        qputenv("PULSE_SERVER", m_server.socketUrl().toLocal8Bit());
        QString why;
        QVERIFY2(m_server.start(&why), qPrintable(why));
    }

    void killedMidTakeLeavesNothing_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("older");
        QTest::newRow("WAV, new file") << "WAV" << "take.wav" << false;
        QTest::newRow("WAV over an older take") << "WAV" << "take.wav" << true;
        QTest::newRow("AAC over an older take") << "MPEG4ACC" << "take.m4a" << true;
    }
    void killedMidTakeLeavesNothing()
    {
        QFETCH(QString, codec);
        QFETCH(QString, name);
        QFETCH(bool, older);
        QTemporaryDir dir;
        const int unnamed = ::open(QFile::encodeName(dir.path()).constData(), O_TMPFILE | O_RDWR, 0600);
        if (unnamed < 0)
            QSKIP("this file system makes no files without a name: a take under a temporary name stays");
        ::close(unnamed);
        const QString path = dir.filePath(name);
        const QByteArray before("an older take");
        if (older)
            QVERIFY(writeFile(path, before));
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(QStringLiteral(MEDIA_PROBE), {QStringLiteral("record"), codec, path});
        QVERIFY(QTest::qWaitFor([&] { return probe.canReadLine() || probe.state() == QProcess::NotRunning; }, 20000));
        QCOMPARE(probe.readLine().trimmed(), QByteArray("recording"));
        ::kill(pid_t(probe.processId()), SIGKILL);
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(everything(dir.path()), older ? QStringList {name} : QStringList {});
        if (older)
            QCOMPARE(contents(path), before);
    }

    void serverGoneKeepsTheTakeAndSaysSo()
    {
        // The take so far replaces the older one, whole: its length is what was recorded.
        QTemporaryDir dir;
        const QString path = dir.filePath("take.wav");
        QVERIFY(writeFile(path, "an older take"));
        NativeAudioRecorder recorder(nullptr);
        QSignalSpy err(&recorder, &NativeAudioRecorder::error);
        QSignalSpy fin(&recorder, &NativeAudioRecorder::finished);
        recorder.slotStart(path);
        QVERIFY2(!recorder.isStopped(), qPrintable(recorder.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.processedUSecs() > 500, 20000);
        m_server.kill();
        QTRY_COMPARE_WITH_TIMEOUT(err.count(), 1, 20000);
        QVERIFY(recorder.isStopped());
        QCOMPARE(fin.count(), 1);
        const QString error = recorder.errorString();
        QVERIFY2(error.contains("stopped") && error.contains("kept"), qPrintable(error));
        int rate = 0, channels = 0;
        const std::vector<float> take = AudioFileReader::readAll(path, &rate, &channels);
        QCOMPARE(rate, 44100);
        QCOMPARE(channels, 2);
        const qint64 takeMs = qint64(take.size()) / 2 * 1000 / rate;
        QVERIFY2(qAbs(takeMs - recorder.processedUSecs()) <= 1, qPrintable(QString::number(takeMs)));
        QCOMPARE(everything(dir.path()), QStringList {"take.wav"});
    }
};

TONARIX_TEST_MAIN(TestRecorderFaults)
#include "tst_RecorderFaults.moc"
