#include "QMMultiMedia/StreamLog.h"

#include <QByteArray>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <unistd.h>

namespace QMMultiMedia {

void logStream(const char* format, ...)
{
    static FILE* const file = [] {
        QByteArray path = qgetenv("TONARIX_SOUND_LOG");
        path.replace("%p", QByteArray::number(qint64(getpid())));
        return path.isEmpty() ? nullptr : std::fopen(path.constData(), "w");
    }();
    if (!file)
        return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::fprintf(file, "%.3f ", std::chrono::duration<double, std::milli>(now).count());
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputc('\n', file);
    std::fflush(file);
}

} // namespace QMMultiMedia
