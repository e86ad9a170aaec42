// The AAC encoder's libraries are not part of the program: they are loaded by the first AAC
// recording. When they cannot be loaded, AAC recording is refused with the reason and nothing is
// written; when they can, a recording works in a program that never linked them.

#include "ToneFiles.h"

#include "QMMultiMedia/NativeAudioRecorder.h"
#include "QMMultiMedia/_Coders/AacFileWriter.h"

#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace QMMultiMedia;

namespace {

bool codecLibraryMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libavcodec.so");
}

} // namespace

class TestAacLibrary : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // No sound server: a recorder that gets past its checks stops at the missing input.
        qputenv("PULSE_SERVER", "unix:/nonexistent/tonarix-no-sound-server");
        // This test links the recorder and the writer, as the program does: the codec libraries
        // must not have come with them.
        QVERIFY(!codecLibraryMapped());
    }

    void missingLibrariesRefuseAac_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder that does not exist")
            << "/nonexistent/tonarix-no-av" << "/nonexistent/tonarix-no-av/libavutil.so.";
        QTest::newRow("folder without the libraries") << "empty" << "libavutil.so.";
        // Found under its name, but another library: the functions asked of it are not there.
        QTest::newRow("wrong file under the name") << "wrong" << "/libavformat.so.";
    }
    void missingLibrariesRefuseAac()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        QTemporaryDir libs;
        if (folder == QLatin1String("empty")) {
            folder = libs.path();
        } else if (folder == QLatin1String("wrong")) {
            // The real libavutil and libavcodec, and libavutil again where libavformat belongs.
            folder = libs.path();
            const QDir system(QStringLiteral("/usr/lib/x86_64-linux-gnu"));
            const auto installed = [&](const char* library) {
                const QStringList found = system.entryList({QLatin1String(library) + QStringLiteral(".so.*")});
                return found.isEmpty() ? QString() : found.first();  // the shortest: lib<x>.so.<major>
            };
            const QString util = installed("libavutil"), codec = installed("libavcodec");
            const QString format = installed("libavformat");
            if (util.isEmpty() || codec.isEmpty() || format.isEmpty())
                QSKIP("the codec libraries are not in the usual folder");
            QVERIFY(QFile::link(system.filePath(util), libs.filePath(util)));
            QVERIFY(QFile::link(system.filePath(codec), libs.filePath(codec)));
            QVERIFY(QFile::link(system.filePath(util), libs.filePath(format)));
        }
        qputenv("TONARIX_AV_LIBRARY_DIR", QFile::encodeName(folder));

        const QString path = m_dir.filePath(QStringLiteral("refused.m4a"));
        AacFileWriter writer;
        QVERIFY(!writer.open(path, 44100, 2, 128000));
        QVERIFY2(writer.errorString().startsWith(QLatin1String("AAC cannot be recorded: ")), qPrintable(writer.errorString()));
        QVERIFY2(writer.errorString().contains(reason), qPrintable(writer.errorString()));
        QVERIFY(!writer.isOpen());
        QVERIFY(!writer.write(nullptr, 0));
        QVERIFY(!writer.close());
        QVERIFY(!QFile::exists(path));

        // The recorder says the same at the start, before it looks for a sound input.
        NativeAudioRecorder recorder(nullptr);
        MAudioFormat f;
        f.setCodec(QStringLiteral("MPEG4ACC"));
        recorder.setFormat(f);
        QSignalSpy err(&recorder, &NativeAudioRecorder::error);
        recorder.slotStart(path);
        QCOMPARE(err.count(), 1);
        QVERIFY(recorder.isStopped());
        QVERIFY2(recorder.errorString().contains(writer.errorString()), qPrintable(recorder.errorString()));
        QVERIFY(!QFile::exists(path));
        qunsetenv("TONARIX_AV_LIBRARY_DIR");
    }

    void uncompressedRecordingNeedsNoCodecLibrary()
    {
        qputenv("TONARIX_AV_LIBRARY_DIR", "/nonexistent/tonarix-no-av");
        NativeAudioRecorder recorder(nullptr);
        MAudioFormat f;
        f.setCodec(QStringLiteral("WAV"));
        recorder.setFormat(f);
        QSignalSpy err(&recorder, &NativeAudioRecorder::error);
        recorder.slotStart(m_dir.filePath(QStringLiteral("plain.wav")));
        QCOMPARE(err.count(), 1);
        QVERIFY2(recorder.errorString().contains(QLatin1String("there is no sound input")), qPrintable(recorder.errorString()));
        qunsetenv("TONARIX_AV_LIBRARY_DIR");
    }

    // After failed attempts, the libraries of the system load on the next recording, and the
    // writer produces an MPEG-4 file holding AAC.
    void loadsOnFirstAacRecording()
    {
        const QString path = m_dir.filePath(QStringLiteral("tone.m4a"));
        const std::vector<float> tone = TestAudio::sineTone(440.0, 0.5, 2, 0.5f);
        AacFileWriter writer;
        QVERIFY2(writer.open(path, 44100, 2, 128000), qPrintable(writer.errorString()));
        QVERIFY(codecLibraryMapped());
        QVERIFY(writer.write(tone.data(), qint64(tone.size()) / 2));
        QVERIFY2(writer.close(), qPrintable(writer.errorString()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.mid(4, 4), QByteArray("ftyp"));
        QVERIFY(bytes.contains("mp4a"));
        // Half a second at 128 kbit/s is about 8 kB.
        QVERIFY2(bytes.size() > 4000 && bytes.size() < 20000, qPrintable(QString::number(bytes.size())));
        QVERIFY(AacFileWriter::unavailableReason().isEmpty());
    }
};

TONARIX_TEST_MAIN(TestAacLibrary)
#include "tst_AacLibrary.moc"
