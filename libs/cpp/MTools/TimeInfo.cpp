#include "MTools/TimeInfo.h"

namespace MTools {

QTime TimeInfo::msecsToTime(qint64 msecs)
{
    const qint64 hours = msecs / 3600000;
    const qint64 minutes = (msecs - hours * 3600000) / 60000;
    const qint64 seconds = (msecs % 60000) / 1000;
    if (msecs < 0 || hours >= 24)
        return QTime();
    return QTime(int(hours), int(minutes), int(seconds), 0);
}

} // namespace MTools
