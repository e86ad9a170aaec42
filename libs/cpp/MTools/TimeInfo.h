#pragma once

#include <QTime>

namespace MTools {

class TimeInfo
{
public:
    // Hours, minutes and seconds of a duration in milliseconds, every division truncating; the
    // milliseconds are dropped. 24 hours or more gives an invalid QTime, and so does a negative
    // count except under one second, whose parts all truncate to 0.
    static QTime msecsToTime(qint64 msecs);
};

} // namespace MTools
