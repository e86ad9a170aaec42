// The MP3 encoder runner: the encoder is run directly (no shell), its exit status decides success,
// and the MP3 it writes holds the sound.

#include "ToneFiles.h"

#include "QMMultiMedia/_Coders/AudioFileReader.h"
#include "QMMultiMedia/_Coders/LameCoder.h"

#include "TestMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace QMMultiMedia;

class TestLameCoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFileInfo(LameCoder().encoder()).isExecutable())
            QSKIP("the LAME encoder is not installed");
    }

    void encodesTheTestRecording()
    {
        // The fixed input and cover live in the (temporary) home folder; the output goes to the
        // support folder, whose path holds a blank.
        QVERIFY(QDir::home().mkpath("Movies"));
        QVERIFY(QDir::home().mkpath("Desktop"));
        QVERIFY(TestAudio::writeTone(LameCoder::defaultInput(), 440.0, 1.0, 2));
        QImage cover(16, 16, QImage::Format_RGB32);
        cover.fill(Qt::red);
        QVERIFY(cover.save(LameCoder::defaultCover()));
        QVERIFY(LameCoder::defaultOutput().contains(QStringLiteral("Application Support/TonarixTest/test.mp3")));
        QFile::remove(LameCoder::defaultOutput());

        LameCoder coder;
        QSignalSpy done(&coder, &LameCoder::finished);
        QElapsedTimer t;
        t.start();
        QVERIFY(coder.start());
        QVERIFY(t.elapsed() < 1000);
        QVERIFY(done.wait(30000));
        QCOMPARE(done.at(0).at(0).toBool(), true);
        AudioFileReader mp3;
        QVERIFY(mp3.open(LameCoder::defaultOutput()));
        QVERIFY2(qAbs(mp3.durationSeconds() - 1.0) < 0.2, qPrintable(QString::number(mp3.durationSeconds())));
    }

    void namesAreNeverCommands_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("command substitution") << "$(touch INJECTED) x.wav";
        QTest::newRow("quotes and semicolon") << "a\"; touch INJECTED; \".wav";
        QTest::newRow("leading dash") << "-V0.wav";
        QTest::newRow("blanks and backslash") << "two  blanks\\ and.wav";
    }
    void namesAreNeverCommands()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        const QString input = dir.filePath(name);
        QVERIFY(TestAudio::writeTone(input, 440.0, 0.3));
        const QString output = dir.filePath(name + ".mp3");
        LameCoder coder;
        QSignalSpy done(&coder, &LameCoder::finished);
        QVERIFY(coder.start(name, name + ".mp3", QString()));  // relative, as given
        QVERIFY(done.wait(30000));
        QVERIFY2(done.at(0).at(0).toBool(), qPrintable(coder.errorString()));
        QVERIFY(QFileInfo(output).size() > 0);
        QVERIFY(!QFile::exists(dir.filePath("INJECTED")));
    }

    void failuresAreReported_data()
    {
        // A failed run reports failure and leaves an older output as it was.
        QTest::addColumn<QString>("encoder");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("input missing") << QString() << QByteArray();
        QTest::newRow("input is not a sound") << QString() << QByteArray("noise");
        QTest::newRow("encoder missing") << "/nonexistent/lame" << QByteArray("tone");
        QTest::newRow("encoder exits with failure") << "/bin/false" << QByteArray("tone");
        QTest::newRow("encoder succeeds but writes nothing") << "/bin/true" << QByteArray("tone");
    }
    void failuresAreReported()
    {
        QFETCH(QString, encoder);
        QFETCH(QByteArray, input);
        QTemporaryDir dir;
        const QString in = dir.filePath("in.wav");
        if (input == "tone") {
            QVERIFY(TestAudio::writeTone(in, 440.0, 0.3));
        } else if (input == "noise") {
            QFile f(in);
            QVERIFY(f.open(QIODevice::WriteOnly));
            quint32 x = 12345;
            QByteArray bytes(200000, Qt::Uninitialized);
            for (char& c : bytes)
                c = char((x = x * 1103515245u + 12345u) >> 24);
            f.write(bytes);
        }
        const QString out = dir.filePath("out.mp3");
        const QByteArray old("an older encoding");
        {
            QFile f(out);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        LameCoder coder;
        if (!encoder.isEmpty())
            coder.setEncoder(encoder);
        QSignalSpy done(&coder, &LameCoder::finished);
        coder.start(in, out, QString());
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 30000);
        QCOMPARE(done.at(0).at(0).toBool(), false);
        QVERIFY(!coder.errorString().isEmpty());
        QTest::qWait(50);
        QCOMPARE(done.count(), 1);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), input.isEmpty() ? 1 : 2);
    }

    void encodingOutlivesTheRunner()
    {
        // Deleting the runner right after the start neither stops the encoder nor reports
        // anything; the output comes all the same.
        QTemporaryDir dir;
        const QString in = dir.filePath("in.wav");
        const QString out = dir.filePath("out.mp3");
        QVERIFY(TestAudio::writeTone(in, 440.0, 2.0, 2));
        int reports = 0;
        auto* coder = new LameCoder(nullptr);
        connect(coder, &LameCoder::finished, this, [&] { ++reports; });
        QVERIFY(coder->start(in, out, QString()));
        delete coder;
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(out).size() > 0, 30000);
        AudioFileReader mp3;
        QTRY_VERIFY_WITH_TIMEOUT(mp3.open(out) && qAbs(mp3.durationSeconds() - 2.0) < 0.2, 10000);
        QCOMPARE(reports, 0);
    }

    void quitDuringAnEncoding_data()
    {
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QByteArray>("old");
        QTest::newRow("encoder succeeds, over an older output") << true << QByteArray("an older encoding");
        QTest::newRow("encoder fails, over an older output") << false << QByteArray("an older encoding");
        QTest::newRow("encoder succeeds, new output") << true << QByteArray();
    }
    void quitDuringAnEncoding()
    {
        // A program quits while its encoder waits at a gate that the test opens only after the
        // quit. The encoder then writes a partial output, pauses, and encodes or fails: the output
        // is the whole new encoding (with the older file's permissions, else the umask's) or stays
        // as it was, never anything in between, and nothing is left beside it.
        QFETCH(bool, succeeds);
        QFETCH(QByteArray, old);
        QTemporaryDir dir;
        const QString in = dir.filePath("in.wav"), out = dir.filePath("out.mp3"), encoder = dir.filePath("encoder");
        QVERIFY(TestAudio::writeTone(in, 440.0, 3.0, 2));
        QFile older(out), script(encoder);
        QVERIFY(old.isEmpty() || (older.open(QIODevice::WriteOnly) && older.write(old)
                                  && older.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup)));
        older.close();
        QVERIFY(script.open(QIODevice::WriteOnly) && script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
        script.write(QStringLiteral("#!/bin/sh\nwhile [ ! -e '%1/gate' ]; do [ -d '%1' ] || exit 1; sleep 0.05; done\n"
                                    "for output; do :; done\nprintf partial >\"$output\"; sleep 0.3\n%2\n")
                         .arg(dir.path(), succeeds ? "exec /usr/bin/lame \"$@\"" : "touch ended; exit 3").toLocal8Bit());
        script.close();
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedChannels);
        probe.setWorkingDirectory(dir.path());
        const mode_t umaskBefore = ::umask(077);
        probe.start(MEDIA_PROBE, {"encode", encoder, in, out});
        const bool started = probe.waitForStarted(10000);
        ::umask(umaskBefore);
        QVERIFY(started);
        QVERIFY2(probe.waitForFinished(20000), "the quit waited for the encoder");
        QCOMPARE(probe.exitCode(), 0);
        QVERIFY(QFile(dir.filePath("gate")).open(QIODevice::WriteOnly));
        QStringList left {"encoder", "gate", "in.wav", "out.mp3"};
        if (succeeds) {
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(out).size() > 0 && QFileInfo(out).size() != old.size(), 30000);
            AudioFileReader mp3;
            QVERIFY(mp3.open(out));
            QVERIFY2(qAbs(mp3.durationSeconds() - 3.0) < 0.2, qPrintable(QString::number(mp3.durationSeconds())));
            struct stat st {};
            QVERIFY(::stat(QFile::encodeName(out).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 0777, old.isEmpty() ? 0600u : 0640u);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("ended")), 30000);
            left << "ended";
            QCOMPARE(older.open(QIODevice::ReadOnly) ? older.readAll() : QByteArray(), old);
        }
        left.sort();
        QTRY_COMPARE_WITH_TIMEOUT(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), left, 10000);
    }
};

TONARIX_APP_TEST_MAIN(TestLameCoder)
#include "tst_LameCoder.moc"
