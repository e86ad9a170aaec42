#include "MTools/TimeInfo.h"

namespace MTools {

QTime TimeInfo::msecsToTime(qint64 msecs)
{
    const qint64 hours = msecs / 3600000;
    const qint64 minutes = (msecs - hours * 3600000) / 60000;
    const qint64 seconds = (msecs % 60000) / 1000;
    // A negative count is never a time, not even under a second below zero, whose parts would all
    // truncate to 0. Checking the hours before the cast also keeps a huge count from wrapping
    // around into a valid int.
    if (msecs < 0 || hours >= 24)
        return QTime();
    return QTime(int(hours), int(minutes), int(seconds), 0);
}

} // namespace MTools
