#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include <QFileInfo>

#include <sndfile.h>

namespace QMMultiMedia {

AudioFileWriter::~AudioFileWriter()
{
    close();
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
        m_error = m_staged.errorString();
        return false;
    }
    // libsndfile writes the staged file through its descriptor, which stays the staged file's.
    m_file = sf_open_fd(m_staged.fd(), SFM_WRITE, &info, SF_FALSE);
    if (!m_file) {
        m_error = QString::fromLocal8Bit(sf_strerror(nullptr));
        m_staged.discard();
        return false;
    }
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
    const sf_count_t done = sf_writef_float(m_file, frames, count);
    if (done != count) {
        m_failed = true;
        m_error = QString::fromLocal8Bit(sf_strerror(m_file));
    }
    m_written += qMax<sf_count_t>(0, done);
    return done == count;
}

bool AudioFileWriter::close()
{
    if (!m_file)
        return !m_failed;
    const int rc = sf_close(m_file);
    m_file = nullptr;
    if (rc != 0 && m_error.isEmpty())
        m_error = QString::fromLocal8Bit(sf_error_number(rc));
    if (rc != 0 || m_failed) {
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
