// Run by the recorder and encoder tests as a child process that they kill mid-take or let quit
// mid-encoding. "record <codec> <file>": records, prints "recording" once sound is written, and goes
// on until killed. "encode <encoder> <input> <output>": starts an MP3 encoding and quits at once.

#include "QMMultiMedia/NativeAudioRecorder.h"
#include "QMMultiMedia/_Coders/LameCoder.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

using namespace QMMultiMedia;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
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
