#pragma once

#include <QByteArray>
#include <QFile>

#include <cstring>
#include <malloc.h>
#include <time.h>

namespace TestSupport {

// A figure of this process from /proc/self/status in kB, by its field ("VmRSS:", "VmHWM:"); -1 where
// there is none.
inline long processStatusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(std::strlen(field))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Resident memory.
inline long residentKb()
{
    return processStatusKb("VmRSS:");
}

// Starts the peak of resident memory ("VmHWM:") afresh from what is resident now; false where the
// kernel does not allow it.
inline bool resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Processor time the calling thread has used, in milliseconds: unlike the time on the clock, it
// does not grow while other work on a busy machine holds the thread back.
inline double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// What a piece of work costs from the meter's making on: the calling thread's processor time, and
// how far the peak of resident memory grew (what was freed before is given back first, so that it
// does not hide what comes).
class Cost
{
public:
    Cost()
    {
        malloc_trim(0);
        resetPeakResident();
        m_kb = residentKb();
        m_ms = threadCpuMs();
    }
    double ms() const { return threadCpuMs() - m_ms; }
    long peakKb() const { return processStatusKb("VmHWM:") - m_kb; }

private:
    long m_kb;
    double m_ms;
};

} // namespace TestSupport
