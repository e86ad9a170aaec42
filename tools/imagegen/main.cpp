// imagegen <resource dir> <qrc file> <bundle resource dir>
//
// Runs every registered producer (in parallel), then writes a .qrc that lists each picture under
// its resource name. The build compiles that .qrc into the program.
#include "ImageSink.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>
#include <QtConcurrent/QtConcurrentMap>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: imagegen <resource dir> <qrc file> <bundle resource dir>\n");
        return 2;
    }
    const QString resourceDir = QDir(args.at(1)).absolutePath();
    const QString qrcPath = args.at(2);
    const QString bundleDir = QDir(args.at(3)).absolutePath();
    QDir().mkpath(resourceDir);
    QDir().mkpath(bundleDir);

    imagegen::ImageSink sink(resourceDir, bundleDir);
    QtConcurrent::blockingMap(imagegen::producers(),
                              [&sink](const imagegen::ProducerEntry& entry) { entry.producer(sink); });
    if (sink.failed())
        return 1;

    QSaveFile qrc(qrcPath);
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Text))
        return 1;
    QTextStream out(&qrc);
    out << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString& name : sink.resourceNames())
        out << "  <file alias=\"" << name << "\">" << resourceDir << "/" << name << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    out.flush();
    return qrc.commit() ? 0 : 1;
}
