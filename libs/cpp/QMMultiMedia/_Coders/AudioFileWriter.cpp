#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include <QFileInfo>

#include <sndfile.h>

namespace QMMultiMedia {

namespace {

using Io = AudioFileWriter::Io;

sf_count_t ioLength(void* user)
{
    return static_cast<Io*>(user)->file->size();
}

sf_count_t ioSeek(sf_count_t offset, int whence, void* user)
{
    Io* io = static_cast<Io*>(user);
    const qint64 from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? io->position : io->file->size();
    if (from < 0 || from + offset < 0)
        return -1;
    io->position = from + offset;
    return io->position;
}

sf_count_t ioRead(void* data, sf_count_t count, void* user)
{
    Io* io = static_cast<Io*>(user);
    const qint64 n = io->file->readAt(io->position, data, count);
    if (n <= 0)
        return 0;
    io->position += n;
    return n;
}

sf_count_t ioWrite(const void* data, sf_count_t count, void* user)
{
    Io* io = static_cast<Io*>(user);
    const qint64 n = io->file->writeAt(io->position, data, count);
    io->position += n;
    if (n < count)
        io->failed = true;
    return n;
}

sf_count_t ioTell(void* user)
{
    return static_cast<Io*>(user)->position;
}

} // namespace

AudioFileWriter::~AudioFileWriter()
{
    close();
    discard();
}

int AudioFileWriter::formatForFileName(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("wav"))
        return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    if (ext == QLatin1String("aif") || ext == QLatin1String("aiff"))
        return SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    if (ext == QLatin1String("caf"))
        return SF_FORMAT_CAF | SF_FORMAT_PCM_16;
    if (ext == QLatin1String("flac"))
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    if (ext == QLatin1String("ogg"))
        return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    if (ext == QLatin1String("mp3"))
        return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    return 0;
}

bool AudioFileWriter::open(const QString& path, int sampleRate, int channels)
{
    close();
    m_error.clear();
    m_written = 0;
    m_failed = false;
    m_full = false;
    SF_INFO info {};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = formatForFileName(path);
    if (info.format == 0) {
        m_error = QStringLiteral("no sound format for the file name %1").arg(path);
        return false;
    }
    if (!sf_format_check(&info)) {
        m_error = QStringLiteral("%1 Hz, %2 channels cannot be written as %3")
                      .arg(sampleRate).arg(channels).arg(QFileInfo(path).suffix());
        return false;
    }
    if (!m_staged.begin(path)) {
        m_full = m_staged.isFull();
        m_error = m_staged.errorString();
        return false;
    }
    m_io = Io {&m_staged, 0, false};
    SF_VIRTUAL_IO io {ioLength, ioSeek, ioRead, ioWrite, ioTell};
    m_file = sf_open_virtual(&io, SFM_WRITE, &info, &m_io);
    // libsndfile does not always tell a header it could not write.
    if (!m_file || m_io.failed) {
        noteFailure(m_file ? QStringLiteral("the header cannot be written")
                           : QString::fromLocal8Bit(sf_strerror(nullptr)));
        if (m_file)
            sf_close(m_file);
        m_file = nullptr;
        m_staged.discard();
        return false;
    }
    // The header is written: the frames follow it.
    m_dataStart = m_io.position;
    m_frameBytes = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16 ? 2 * channels : 0;
    // Floats beyond full scale are clipped rather than wrapped around.
    sf_command(m_file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    m_channels = channels;
    return true;
}

bool AudioFileWriter::write(const float* frames, qint64 count)
{
    if (!m_file)
        return false;
    if (count <= 0)
        return true;
    if (m_failed)
        return false;
    const sf_count_t done = sf_writef_float(m_file, frames, count);
    if (done != count) {
        m_failed = true;
        noteFailure(QString::fromLocal8Bit(sf_strerror(m_file)));
    }
    m_written += qMax<sf_count_t>(0, done);
    return done == count;
}

void AudioFileWriter::noteFailure(const QString& what)
{
    m_full = m_io.failed && m_staged.isFull();
    m_error = m_full ? QStringLiteral("the disk is full") : what;
}

bool AudioFileWriter::close()
{
    if (!m_file)
        return !m_failed;
    // What was written before the disk filled up waits for keepWritten() or discard().
    if (m_full)
        return false;
    const int rc = sf_close(m_file);
    m_file = nullptr;
    if (rc != 0 && m_error.isEmpty())
        m_error = QString::fromLocal8Bit(sf_error_number(rc));
    if (m_io.failed && !m_failed)
        noteFailure(QStringLiteral("the file could not be finished"));
    if (rc != 0 || m_failed || m_io.failed) {
        m_failed = true;
        m_staged.discard();
        return false;
    }
    if (!m_staged.commit()) {
        m_failed = true;
        m_error = m_staged.errorString();
        return false;
    }
    return true;
}

bool AudioFileWriter::keepWritten()
{
    if (!m_file || !m_full || m_frameBytes == 0 || m_written == 0) {
        discard();
        return false;
    }
    // A frame the disk took only part of goes; the header then tells the length of what is left,
    // which libsndfile takes from the file's length on closing. Cutting the file and writing the
    // header over the old one need no room.
    const qint64 end = m_dataStart + m_written * m_frameBytes;
    m_io.failed = false;
    if (!m_staged.truncate(end)) {
        discard();
        return false;
    }
    m_io.position = end;
    const int rc = sf_close(m_file);
    m_file = nullptr;
    if (rc != 0 || m_io.failed || m_staged.size() != end || !m_staged.commit()) {
        m_staged.discard();
        return false;
    }
    return true;
}

void AudioFileWriter::discard()
{
    if (m_file)
        sf_close(m_file);
    m_file = nullptr;
    m_staged.discard();
}

bool AudioFileWriter::writeAll(const QString& path, const float* frames, qint64 count, int sampleRate, int channels)
{
    AudioFileWriter writer;
    if (!writer.open(path, sampleRate, channels))
        return false;
    const bool wrote = writer.write(frames, count);
    return writer.close() && wrote;
}

} // namespace QMMultiMedia
