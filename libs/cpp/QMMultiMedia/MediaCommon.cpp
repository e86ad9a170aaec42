#include "QMMultiMedia/MediaCommon.h"

namespace QMMultiMedia {

namespace {
const char* const videoExtensions[] = {".avi", ".mp4", ".mov", ".wmv", ".3gp", ".3g2", ".m4v",
                                       ".mpg", ".flv", ".swf", ".mkv", ".asf", ".vob"};
const char* const audioExtensions[] = {".wav", ".mp3", ".m4a", ".wma", ".ac3", ".aac", ".ogg", ".3ga", ".aiff"};
const char* const imageExtensions[] = {".jpg", ".png", ".bmp", ".tif", ".tiff", ".jpeg", ".gif"};

template <size_t N>
bool endsWithAny(const QString& name, const char* const (&extensions)[N])
{
    for (const char* ext : extensions) {
        if (name.endsWith(QLatin1String(ext)))
            return true;
    }
    return false;
}
} // namespace

int MediaCommon::mediaType(const QString& fileName)
{
    const QString name = fileName.toLower();
    if (endsWithAny(name, videoExtensions))
        return Video;
    if (endsWithAny(name, audioExtensions))
        return Audio;
    if (endsWithAny(name, imageExtensions))
        return Image;
    return None;
}

} // namespace QMMultiMedia
