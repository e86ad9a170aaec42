// Run by the recorder and encoder tests as a child process that they kill mid-take or let quit
// mid-encoding. "record <codec> <file>": records, prints "recording" once sound is written, and goes
// on until killed. "encode <encoder> <input> <output>": starts an MP3 encoding and quits at once.
// "fill <codec> <file> <bytes>": records a tone from a fake input into a file that cannot grow
// beyond that many bytes, as on a disk that fills up there; once the take has stopped by itself
// (or after a minute of sound) it is stopped as a user would, and the probe prints
// "<finished signals> <milliseconds recorded> <error>" and quits.

#include "FakeAudioBackend.h"
#include "ToneFiles.h"

#include "QMMultiMedia/NativeAudioRecorder.h"
#include "QMMultiMedia/_Coders/LameCoder.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace QMMultiMedia;

namespace {

// Feeds the fake input a tenth of a second of tone at every turn, as fast as the recorder takes it.
int fill(const QStringList& args)
{
    TestAudio::FakeAudioBackend backend(false);
    NativeAudioRecorder recorder(nullptr);
    int finished = 0;
    QObject::connect(&recorder, &NativeAudioRecorder::finished, [&] { ++finished; });
    MAudioFormat format;
    format.setCodec(args.value(2));
    recorder.setFormat(format);
    // Past the limit a write fails with EFBIG rather than ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    limit.rlim_cur = rlim_t(args.value(4).toLongLong());
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    recorder.slotStart(args.value(3));
    const std::vector<float> tone = TestAudio::sineTone(440.0, 60.0, 2);
    const size_t piece = 2 * 4410;
    size_t fed = 0;
    QTimer feed;
    QObject::connect(&feed, &QTimer::timeout, [&] {
        if (!recorder.isStopped() && fed < tone.size()) {
            QByteArray& pending = backend.captures.last()->pending;
            for (size_t i = fed; i < fed + piece; ++i) {
                const qint16 sample = qint16(tone[i] * 32767);
                pending.append(reinterpret_cast<const char*>(&sample), 2);
            }
            fed += piece;
            return;
        }
        feed.stop();
        recorder.slotStop();
        std::printf("%d %lld %s\n", finished, recorder.processedUSecs(), qPrintable(recorder.errorString()));
        QCoreApplication::quit();
    });
    feed.start(5);
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("fill"))
        return fill(args);
    NativeAudioRecorder recorder(nullptr);
    LameCoder coder;
    QTimer poll;
    if (args.value(1) == QLatin1String("record")) {
        MAudioFormat format;
        format.setCodec(args.value(2));
        recorder.setFormat(format);
        recorder.slotStart(args.value(3));
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (recorder.processedUSecs() > 200 && std::printf("recording\n") > 0 && std::fflush(stdout) == 0)
                poll.stop();
        });
        poll.start(10);
    } else {
        coder.setEncoder(args.value(2));
        if (!coder.start(args.value(3), args.value(4), QString()))
            return 2;
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return app.exec();
}
