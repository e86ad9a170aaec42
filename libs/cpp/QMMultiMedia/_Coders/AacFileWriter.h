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
// all: a file of that name stays as it was until close() has finished the new one. When the disk
// fills up (see StagedFile::isFull()), the sound written before can still be finished into a file of
// its own: see keepWritten().
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
    // file is complete (else the file of that name is left as it was). After a full disk it puts
    // nothing in place and leaves the sound written to keepWritten() or discard().
    bool close();
    // Gives the file up: nothing is put in place.
    void discard();
    QString errorString() const { return m_error; }
    // Whether opening, writing or closing failed because the disk is full.
    bool diskFull() const { return m_full; }
    // After a full disk: finishes a file of the sound written before it filled and puts it in
    // place, giving up as much of its end as the container's index needs room for; false when no
    // sound is left or the file cannot be finished (then nothing is put in place).
    bool keepWritten();
    // Frames of sound the file holds: the encoded ones written so far, or once kept, the kept ones.
    qint64 framesWritten() const;

    // Where the muxer writes: the staged file, through the staged file's writes, so that a full disk
    // is told as such. Bytes from skipFrom to skipTo are taken as already in the file.
    struct Io
    {
        StagedFile* file = nullptr;
        qint64 position = 0;
        qint64 reach = 0;  // the end of the furthest write
        qint64 skipFrom = 0;
        qint64 skipTo = 0;
        bool failed = false;
    };

private:
    // An encoded packet in the file: its timing in the encoder's time base, and where it ends.
    struct Packet
    {
        qint64 pts;
        qint64 dts;
        qint64 duration;
        int size;
        int flags;
        qint64 end;
    };
    enum class Replay { Kept, NoRoom, Failed };

    // A muxer writing through io into the staged file, its header written; null when it cannot be.
    AVFormatContext* openMuxer(Io* io, int* code);
    void closeMuxer(AVFormatContext** format);
    Replay replay(size_t count);
    bool encodePending(bool flush);
    bool drainPackets();
    void release();
    bool fail(const QString& what, int code);
    // True when the last failure was for want of room; the error then says so.
    bool noteFull();

    const AvLibrary* m_av = nullptr;
    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVStream* m_stream = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    bool m_headerWritten = false;
    bool m_failed = false;
    bool m_full = false;
    int m_channels = 0;
    qint64 m_pts = 0;
    std::vector<float> m_pending;  // interleaved frames not yet encoded
    StagedFile m_staged;
    Io m_io;
    QByteArray m_path;
    const char* m_muxer = nullptr;
    qint64 m_dataStart = 0;         // where the packets begin, after the header
    std::vector<Packet> m_packets;  // the packets in the file, in order
    qint64 m_kept = -1;             // frames kept by keepWritten()
    QString m_error;
};

} // namespace QMMultiMedia
