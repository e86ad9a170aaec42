#include "MTools/TimeInfo.h"

namespace MTools {

QTime TimeInfo::msecsToTime(qint64 msecs)
{
    const qint64 hours = msecs / 3600000;
    const qint64 minutes = (msecs - hours * 3600000) / 60000;
    const qint64 seconds = (msecs % 60000) / 1000;
    // QTime rules on what is valid (24 hours or more, or a negative part, is not); the hours are
    // checked here first only so that a huge count cannot wrap around into a valid int.
    if (hours >= 24 || hours < 0)
        return QTime();
    return QTime(int(hours), int(minutes), int(seconds), 0);
}

} // namespace MTools
