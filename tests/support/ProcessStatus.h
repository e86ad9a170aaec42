#pragma once

#include <QByteArray>
#include <QFile>

#include <cstring>

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

// Starts the peak of resident memory ("VmHWM:") again from what is resident now; false where the
// system cannot.
inline bool resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Resident memory.
inline long residentKb()
{
    return processStatusKb("VmRSS:");
}

} // namespace TestSupport
