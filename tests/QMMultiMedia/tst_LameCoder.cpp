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
        QTest::addColumn<QString>("encoder");
        QTest::addColumn<bool>("haveInput");
        QTest::newRow("input missing") << QString() << false;
        QTest::newRow("encoder missing") << "/nonexistent/lame" << true;
        QTest::newRow("encoder exits with failure") << "/bin/false" << true;
        QTest::newRow("encoder succeeds but writes nothing") << "/bin/true" << true;
    }
    void failuresAreReported()
    {
        QFETCH(QString, encoder);
        QFETCH(bool, haveInput);
        QTemporaryDir dir;
        const QString input = dir.filePath("in.wav");
        if (haveInput)
            QVERIFY(TestAudio::writeTone(input, 440.0, 0.3));
        LameCoder coder;
        if (!encoder.isEmpty())
            coder.setEncoder(encoder);
        QSignalSpy done(&coder, &LameCoder::finished);
        coder.start(input, dir.filePath("out.mp3"), QString());
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 30000);
        QCOMPARE(done.at(0).at(0).toBool(), false);
        QVERIFY(!coder.errorString().isEmpty());
        QTest::qWait(50);
        QCOMPARE(done.count(), 1);
    }
};

TONARIX_APP_TEST_MAIN(TestLameCoder)
#include "tst_LameCoder.moc"
