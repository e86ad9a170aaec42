#include "QMMultiMedia/MAudioFormat.h"

namespace QMMultiMedia {

int MAudioFormat::codecIDFromString(const QString& codec)
{
    if (codec == QLatin1String("AIFF"))
        return AIFF;
    if (codec == QLatin1String("MPEG4ACC"))
        return MPEG4AAC;
    if (codec == QLatin1String("CAF"))
        return CAF;
    return WAV;
}

} // namespace QMMultiMedia
