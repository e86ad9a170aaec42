#pragma once

#include <QTime>

namespace MTools {

class TimeInfo
{
public:
    // Hours, minutes and seconds of a duration in milliseconds, every division truncating; the
    // milliseconds are dropped. 24 hours or more, or a negative count, gives an invalid QTime.
    static QTime msecsToTime(qint64 msecs);
};

} // namespace MTools
