#pragma once

#include <QString>

namespace QMMultiMedia {

// Tells sounds, videos and pictures apart by the file name's extension alone.
class MediaCommon
{
public:
    enum MediaType { Audio = 0, Video = 1, Image = 2, None = 4 };

    static int mediaType(const QString& fileName);
    static bool isAudio(const QString& fileName) { return mediaType(fileName) == Audio; }
    static bool isVideo(const QString& fileName) { return mediaType(fileName) == Video; }
    static bool isImage(const QString& fileName) { return mediaType(fileName) == Image; }
};

} // namespace QMMultiMedia
