// A program the recorder and encoder tests run as a child process, to be killed in the middle of
// a take or to quit in the middle of an encoding, as a user's program might.
//
//   media_probe record <codec> <file>             records into the file; prints "recording" once
//                                                 sound has been written and goes on until killed
//   media_probe encode <encoder> <input> <output> starts an MP3 encoding and quits at once

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
    if (args.size() == 4 && args[1] == QLatin1String("record")) {
        NativeAudioRecorder recorder(nullptr);
        MAudioFormat format;
        format.setCodec(args[2]);
        recorder.setFormat(format);
        QObject::connect(&recorder, &NativeAudioRecorder::error, [](const QString& why) {
            std::fprintf(stderr, "%s\n", qPrintable(why));
            QCoreApplication::exit(2);
        });
        recorder.slotStart(args[3]);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (recorder.processedUSecs() > 200) {
                poll.stop();
                std::printf("recording\n");
                std::fflush(stdout);
            }
        });
        poll.start(10);
        return app.exec();
    }
    if (args.size() == 5 && args[1] == QLatin1String("encode")) {
        LameCoder coder;
        coder.setEncoder(args[2]);
        if (!coder.start(args[3], args[4], QString()))
            return 2;
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
        return app.exec();
    }
    std::fprintf(stderr, "usage: media_probe record <codec> <file> | encode <encoder> <input> <output>\n");
    return 1;
}
