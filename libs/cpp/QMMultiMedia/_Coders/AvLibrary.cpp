#include "QMMultiMedia/_Coders/AvLibrary.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <mutex>
#include <dlfcn.h>

namespace QMMultiMedia {

namespace {

struct Library
{
    const char* name;
    int major;
};

// In load order: each library needs the ones before it.
constexpr Library kLibraries[] = {
    {"avutil", LIBAVUTIL_VERSION_MAJOR},
    {"avcodec", LIBAVCODEC_VERSION_MAJOR},
    {"avformat", LIBAVFORMAT_VERSION_MAJOR},
};

int majorOf(const char* library)
{
    for (const Library& l : kLibraries)
        if (std::strcmp(l.name, library) == 0)
            return l.major;
    return -1;
}

QString dlText()
{
    const char* text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QString();
}

// Opens the three libraries and resolves every function; null with *error on the first failure.
// Libraries opened before a failure stay loaded: unloading the codec libraries is not safe, and a
// later attempt opens the same files again.
AvLibrary* resolve(AvLibrary* api, QString* error)
{
    const QString folder = qEnvironmentVariable("TONARIX_AV_LIBRARY_DIR");
    constexpr size_t count = sizeof kLibraries / sizeof kLibraries[0];
    void* handles[count] = {};
    QString files[count];
    for (size_t i = 0; i < count; ++i) {
        files[i] = AvLibrary::fileName(kLibraries[i].name);
        if (!folder.isEmpty())
            files[i] = QDir(folder).filePath(files[i]);
        handles[i] = dlopen(QFile::encodeName(files[i]).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handles[i]) {
            *error = QStringLiteral("%1 cannot be loaded (%2)").arg(files[i], dlText());
            return nullptr;
        }
    }
    const auto indexOf = [&](const char* library) {
        size_t i = 0;
        while (i + 1 < count && std::strcmp(kLibraries[i].name, library) != 0)
            ++i;
        return i;
    };
#define QMM_AV_RESOLVE(library, function)                                                          \
    api->function = reinterpret_cast<decltype(api->function)>(dlsym(handles[indexOf(#library)], #function)); \
    if (!api->function) {                                                                          \
        *error = QStringLiteral("%1 has no %2").arg(files[indexOf(#library)], QLatin1String(#function)); \
        return nullptr;                                                                            \
    }
    QMM_AV_FUNCTIONS(QMM_AV_RESOLVE)
#undef QMM_AV_RESOLVE

    // The writer reads and sets fields of the libraries' structures directly: a library of another
    // major version (one put under the expected name) would lay them out differently.
    const struct
    {
        const char* library;
        unsigned version;
    } found[] = {{"avutil", api->avutil_version()},
                 {"avcodec", api->avcodec_version()},
                 {"avformat", api->avformat_version()}};
    for (const auto& f : found) {
        if (int(f.version >> 16) != majorOf(f.library)) {
            *error = QStringLiteral("%1 is version %2, not %3")
                         .arg(files[indexOf(f.library)])
                         .arg(f.version >> 16)
                         .arg(majorOf(f.library));
            return nullptr;
        }
    }
    return api;
}

} // namespace

QString AvLibrary::fileName(const char* library)
{
    return QStringLiteral("lib%1.so.%2").arg(QLatin1String(library)).arg(majorOf(library));
}

const AvLibrary* AvLibrary::load(QString* error)
{
    static std::mutex mutex;
    static AvLibrary api;
    static bool loaded = false;
    std::lock_guard<std::mutex> lock(mutex);
    if (loaded)
        return &api;
    QString why;
    if (!resolve(&api, &why)) {
        api = AvLibrary();
        if (error)
            *error = why;
        return nullptr;
    }
    loaded = true;
    return &api;
}

} // namespace QMMultiMedia
