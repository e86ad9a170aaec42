#pragma once

#include "QMMultiMedia/_Coders/StagedFile.h"

#include <QString>

#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVFrame;
struct AVPacket;

namespace QMMultiMedia {

class AvLibrary;

// Writes interleaved float frames as MPEG-4 AAC (libavcodec's encoder) into a container chosen by
// the file's extension: .m4a/.mp4 (MPEG-4), .aac (ADTS stream). (libavformat cannot store AAC in
// a Core Audio .caf file.) The codec libraries are loaded by the first open(); when they cannot be,
// open() fails and errorString() says which library is missing. The file is written whole or not at
// all: a file of that name stays as it was until close() has finished the new one.
class AacFileWriter
{
public:
    AacFileWriter() = default;
    ~AacFileWriter();
    AacFileWriter(const AacFileWriter&) = delete;
    AacFileWriter& operator=(const AacFileWriter&) = delete;

    // The muxer for a file name; null when AAC cannot be stored under that extension.
    static const char* containerFor(const QString& path);

    // Empty when the codec libraries are loaded (loading them if need be); otherwise why AAC
    // cannot be written on this computer.
    static QString unavailableReason();

    bool open(const QString& path, int sampleRate, int channels, int bitRate);
    bool isOpen() const { return m_format != nullptr; }
    bool write(const float* frames, qint64 count);
    // Encodes what is left, writes the trailer, closes and puts the file in place; true when the
    // file is complete (else the file of that name is left as it was).
    bool close();
    // Gives the file up: nothing is put in place.
    void discard();
    QString errorString() const { return m_error; }

private:
    bool encodePending(bool flush);
    bool drainPackets();
    void release();
    bool fail(const QString& what, int code);

    const AvLibrary* m_av = nullptr;
    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVStream* m_stream = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    bool m_headerWritten = false;
    bool m_failed = false;
    int m_channels = 0;
    qint64 m_pts = 0;
    std::vector<float> m_pending;  // interleaved frames not yet encoded
    StagedFile m_staged;
    QString m_error;
};

} // namespace QMMultiMedia
