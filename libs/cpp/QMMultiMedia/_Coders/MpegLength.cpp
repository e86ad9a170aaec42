#include "QMMultiMedia/_Coders/MpegLength.h"

#include <QByteArray>
#include <QIODevice>

namespace QMMultiMedia {

namespace {

// How far after the tags the first frame is looked for.
constexpr int searchBytes = 64 * 1024;
// A frame is at most this long (layer I at 448 kbit/s and 32 kHz is 1,680 bytes with padding).
constexpr int longestFrame = 2048;

// Bit rates in kbit/s by bit-rate index: MPEG-1 layers I, II, III, then MPEG-2 and 2.5 layer I,
// and layers II and III.
constexpr int bitRates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
// Sample rates by sample-rate index, for MPEG-1; MPEG-2 halves them, MPEG-2.5 quarters them.
constexpr int sampleRates[3] = {44100, 48000, 32000};

quint32 bigEndian(const QByteArray& bytes, int at)
{
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | quint8(bytes.at(at + i));
    return v;
}

struct FrameHeader
{
    bool valid = false;
    int version = 0;  // 1 for MPEG-1, 2 for MPEG-2, 3 for MPEG-2.5
    int layer = 0;
    int bitRate = 0;  // bit/s; 0 for a free-format frame
    int sampleRate = 0;
    bool mono = false;
    int samples = 0;  // per channel in the frame
    int length = 0;   // bytes, header included; 0 for a free-format frame
};

FrameHeader frameHeader(const QByteArray& bytes, int at)
{
    FrameHeader h;
    if (at < 0 || at + 4 > bytes.size())
        return h;
    const quint32 word = bigEndian(bytes, at);
    const int versionBits = (word >> 19) & 3;
    const int layerBits = (word >> 17) & 3;
    const int rateIndex = (word >> 12) & 15;
    const int sampleRateIndex = (word >> 10) & 3;
    if ((word >> 21) != 0x7ff || versionBits == 1 || layerBits == 0 || rateIndex == 15 || sampleRateIndex == 3)
        return h;
    h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 3;
    h.layer = 4 - layerBits;
    const int table = h.version == 1 ? h.layer - 1 : (h.layer == 1 ? 3 : 4);
    h.bitRate = bitRates[table][rateIndex] * 1000;
    h.sampleRate = sampleRates[sampleRateIndex] >> (h.version - 1);
    h.mono = ((word >> 6) & 3) == 3;
    h.samples = h.layer == 1 ? 384 : (h.layer == 3 && h.version != 1) ? 576 : 1152;
    const int padding = (word >> 9) & 1;
    if (h.layer == 1)
        h.length = (12 * h.bitRate / h.sampleRate + padding) * 4;
    else
        h.length = h.samples / 8 * h.bitRate / h.sampleRate + padding;
    h.valid = true;
    return h;
}

// The size of the ID3v2 tag at the start of `header` (its first ten bytes), or 0.
qint64 id3v2Size(const QByteArray& header)
{
    if (header.size() < 10 || !header.startsWith("ID3"))
        return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i) {
        // A tag's size is written seven bits to a byte.
        if (quint8(header.at(i)) & 0x80)
            return 0;
        size = (size << 7) | quint8(header.at(i));
    }
    const bool footer = quint8(header.at(5)) & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

} // namespace

MpegLength mpegLength(QIODevice& file)
{
    MpegLength result;
    const qint64 fileSize = file.size();
    // Tags before the sound, one after another.
    qint64 start = 0;
    for (;;) {
        if (!file.seek(start))
            return result;
        const qint64 tag = id3v2Size(file.read(10));
        if (tag == 0)
            break;
        start += tag;
    }
    if (!file.seek(start))
        return result;
    const QByteArray head = file.read(searchBytes + longestFrame);

    // The first frame header followed by another of the same kind (or by the end of the file): a
    // tag's bytes may look like a header by chance, but seldom twice at the right distance.
    FrameHeader first;
    int at = -1;
    for (int i = 0; at < 0 && i + 4 <= qMin(head.size(), searchBytes); ++i) {
        const FrameHeader h = frameHeader(head, i);
        if (!h.valid || h.length == 0)
            continue;
        const FrameHeader next = frameHeader(head, i + h.length);
        if (start + i + h.length >= fileSize
            || (next.valid && next.version == h.version && next.layer == h.layer && next.sampleRate == h.sampleRate)) {
            first = h;
            at = i;
        }
    }
    if (at < 0)
        return result;
    result.sampleRate = first.sampleRate;

    // Xing or Info after the side information of a layer III frame; VBRI 32 bytes after the header.
    const int sideInfo = first.version == 1 ? (first.mono ? 17 : 32) : (first.mono ? 9 : 17);
    const int xing = at + 4 + sideInfo;
    const QByteArray xingId = head.mid(xing, 4);
    if (first.layer == 3 && (xingId == "Xing" || xingId == "Info") && xing + 12 <= head.size()) {
        result.source = MpegLength::InfoFrame;
        if (bigEndian(head, xing + 4) & 1)
            result.frames = qint64(bigEndian(head, xing + 8)) * first.samples;
        return result;
    }
    const int vbri = at + 4 + 32;
    if (head.mid(vbri, 4) == "VBRI" && vbri + 18 <= head.size()) {
        result.source = MpegLength::Vbri;
        result.frames = qint64(bigEndian(head, vbri + 14)) * first.samples;
        return result;
    }

    result.source = MpegLength::Estimate;
    qint64 bytes = fileSize - start - at;
    if (file.seek(fileSize - 128) && file.read(3) == "TAG")
        bytes -= 128;
    if (first.bitRate > 0 && bytes > 0)
        result.frames = qint64(double(bytes) * 8.0 * first.sampleRate / first.bitRate);
    return result;
}

} // namespace QMMultiMedia
