#pragma once

#include "QMMultiMedia/_Coders/StagedFile.h"

#include <QString>

typedef struct sf_private_tag SNDFILE;

namespace QMMultiMedia {

// Writes interleaved float frames into a sound file whose container follows the file's extension:
// .wav, .aif/.aiff, .caf (16-bit PCM), .flac, .ogg (Vorbis), .mp3. MP3 is written from floats,
// the one sample type for which that path is reliable. The file is written whole or not at all: a
// file of that name stays as it was until close() has finished the new one. When the disk fills up
// (see StagedFile::isFull()), the frames written before can still be finished into a file of their
// own, in the uncompressed containers (WAV, AIFF, CAF): see keepWritten().
class AudioFileWriter
{
public:
    AudioFileWriter() = default;
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // The libsndfile format for a file name; 0 when the extension is not one of the above.
    static int formatForFileName(const QString& path);

    bool open(const QString& path, int sampleRate, int channels);
    bool isOpen() const { return m_file != nullptr; }
    bool write(const float* frames, qint64 count);
    // Finishes the file (headers, lengths) and puts it in place; true when all went well (else the
    // file of that name is left as it was). After a full disk it puts nothing in place and leaves
    // the frames written to keepWritten() or discard().
    bool close();
    // Whether opening or writing failed because the disk is full.
    bool diskFull() const { return m_full; }
    // After a full disk: finishes a file of the whole frames written before it filled and puts it
    // in place; false when there are none or the file cannot be finished (then nothing is put in
    // place). framesWritten() is what the file holds.
    bool keepWritten();
    // Gives the file up: nothing is put in place.
    void discard();
    QString errorString() const { return m_error; }
    // Whole frames written so far.
    qint64 framesWritten() const { return m_written; }

    // Writes a whole buffer in one go.
    static bool writeAll(const QString& path, const float* frames, qint64 count, int sampleRate, int channels);

    // Where libsndfile reads and writes: the staged file, through the staged file's writes, so that
    // a full disk is told as such.
    struct Io
    {
        StagedFile* file = nullptr;
        qint64 position = 0;
        bool failed = false;
    };

private:
    void noteFailure(const QString& what);

    SNDFILE* m_file = nullptr;
    StagedFile m_staged;
    Io m_io;
    qint64 m_dataStart = 0;  // where the frames begin, after the header
    int m_frameBytes = 0;    // bytes a frame takes in the file; 0 when they are compressed
    bool m_full = false;
    int m_channels = 0;
    qint64 m_written = 0;
    bool m_failed = false;
    QString m_error;
};

} // namespace QMMultiMedia
