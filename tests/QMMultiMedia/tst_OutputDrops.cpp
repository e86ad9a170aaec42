// Outputs dropped while they play: the backend that made an engine goes while the engine's stream is
// being made, started, or asked for its clock, and the server's answers come after the output has
// gone. None of them may reach it. CTest runs this under Valgrind where it is installed, which
// fails the run on any read or write of freed memory.

#include "SinkCapture.h"
#include "ToneFiles.h"

#include "QMMultiMedia/DecodedSound.h"
#include "QMMultiMedia/SoundServer.h"

#include "TestMain.h"

#include <QTemporaryDir>

using namespace QMMultiMedia;

namespace {

// The system's output to the default sink, made by a backend of the test's own.
class DroppedBackend : public AudioBackend
{
public:
    ~DroppedBackend() override { releaseEngine(); }
    std::unique_ptr<AudioOutput> createOutput(AudioEngine& engine) override
    {
        return SoundServer::instance().createOutput(QString(), engine);
    }
    qint64 nowNs() const override { return SoundServer::nowNs(); }
};

} // namespace

class TestOutputDrops : public QObject
{
    Q_OBJECT

private slots:
    void droppedWhilePlaying()
    {
        TONARIX_REQUIRE_SOUND_SERVER();
        QTemporaryDir dir;
        const QString path = dir.filePath("tone.wav");
        QVERIFY(TestAudio::writeTone(path, 440.0, 1.0, 2));
        auto sound = DecodedSound::open(path);
        QVERIFY(sound);
        sound->decode();
        // Held for anything from nothing to a tenth of a second: every stage of a stream's start,
        // and streams that run and are asked for their clock every few milliseconds.
        int streaming = 0;
        for (int i = 0; i < 80; ++i) {
            auto backend = std::make_unique<DroppedBackend>();
            backend->engine()->add({sound});
            QTest::qWait((i * 37) % 100);
            streaming += backend->engine()->isStreaming();
            backend.reset();
        }
        QTest::qWait(500);
        // (Most were dropped while their stream played.)
        QVERIFY2(streaming >= 40, qPrintable(QStringLiteral("%1 of 80 streams played").arg(streaming)));
    }
};

TONARIX_TEST_MAIN(TestOutputDrops)
#include "tst_OutputDrops.moc"
