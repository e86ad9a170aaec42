#pragma once

#include "QMMultiMedia/_Coders/StagedFile.h"

#include <QString>

typedef struct sf_private_tag SNDFILE;

namespace QMMultiMedia {

// Writes interleaved float frames into a sound file whose container follows the file's extension:
// .wav, .aif/.aiff, .caf (16-bit PCM), .flac, .ogg (Vorbis), .mp3. MP3 is written from floats,
// the one sample type for which that path is reliable. The file is written whole or not at all: a
// file of that name stays as it was until close() has finished the new one.
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
    // file of that name is left as it was).
    bool close();
    // Gives the file up: nothing is put in place.
    void discard();
    QString errorString() const { return m_error; }
    qint64 framesWritten() const { return m_written; }

    // Writes a whole buffer in one go.
    static bool writeAll(const QString& path, const float* frames, qint64 count, int sampleRate, int channels);

private:
    SNDFILE* m_file = nullptr;
    StagedFile m_staged;
    int m_channels = 0;
    qint64 m_written = 0;
    bool m_failed = false;
    QString m_error;
};

} // namespace QMMultiMedia
