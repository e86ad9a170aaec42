#pragma once

#include <QtGlobal>

class QIODevice;

namespace QMMultiMedia {

// What the start of an MPEG audio file (MP3) tells of its length, read without decoding it: the
// tags before the sound (ID3v2) are skipped, the first frame header is found, and the header an
// encoder leaves in that frame is read when there is one (Xing or Info, VBRI).
struct MpegLength
{
    enum Source {
        None,       // no frame header found
        InfoFrame,  // a Xing or Info header (the decoder reads it too, and knows the length)
        Vbri,       // a VBRI header: its count of frames
        Estimate,   // neither: the sound's bytes at the first frame's bit rate
    };
    Source source = None;
    int sampleRate = 0;
    // Samples per channel; 0 when the header gives no count of frames.
    qint64 frames = 0;
};

// Reads a file open for reading; where it is left to read from is undefined.
MpegLength mpegLength(QIODevice& file);

} // namespace QMMultiMedia
