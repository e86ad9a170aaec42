#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include <QFile>
#include <QFileInfo>

#include <sndfile.h>

namespace QMMultiMedia {

AudioFileReader::~AudioFileReader()
{
    close();
}

bool AudioFileReader::open(const QString& path)
{
    close();
    // Only a regular file: opening a FIFO would wait for a writer.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    SF_INFO info {};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return false;
    if (info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0) {
        sf_close(file);
        return false;
    }
    m_file = file;
    m_sampleRate = info.samplerate;
    m_channels = info.channels;
    m_frames = info.frames;
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG && startsWithId3Tag(path)) {
        // The MP3 decoder estimates the length from the file size, tag included: a large tag
        // (a cover picture) makes the sound seem longer than it is. Count the frames instead.
        m_frames = countFrames();
        if (m_frames <= 0) {
            close();
            return false;
        }
    }
    return true;
}

bool AudioFileReader::startsWithId3Tag(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(3) == "ID3";
}

qint64 AudioFileReader::countFrames()
{
    std::vector<float> scratch(size_t(4096) * size_t(m_channels));
    qint64 total = 0;
    sf_count_t got;
    while ((got = sf_readf_float(m_file, scratch.data(), 4096)) > 0)
        total += got;
    sf_seek(m_file, 0, SEEK_SET);
    return total;
}

void AudioFileReader::close()
{
    if (m_file)
        sf_close(m_file);
    m_file = nullptr;
    m_sampleRate = 0;
    m_channels = 0;
    m_frames = 0;
}

double AudioFileReader::durationSeconds() const
{
    return m_sampleRate > 0 ? double(m_frames) / double(m_sampleRate) : 0.0;
}

qint64 AudioFileReader::read(float* out, qint64 frames)
{
    if (!m_file || frames <= 0)
        return 0;
    const sf_count_t got = sf_readf_float(m_file, out, frames);
    return got > 0 ? qint64(got) : 0;
}

bool AudioFileReader::seek(qint64 frame)
{
    if (!m_file)
        return false;
    return sf_seek(m_file, qBound<qint64>(0, frame, m_frames), SEEK_SET) >= 0;
}

std::vector<float> AudioFileReader::readAll(const QString& path, int* sampleRate, int* channels)
{
    AudioFileReader reader;
    std::vector<float> samples;
    if (!reader.open(path))
        return samples;
    if (sampleRate)
        *sampleRate = reader.sampleRate();
    if (channels)
        *channels = reader.channels();
    samples.resize(size_t(reader.frames()) * size_t(reader.channels()));
    const qint64 got = reader.read(samples.data(), reader.frames());
    samples.resize(size_t(got) * size_t(reader.channels()));
    return samples;
}

} // namespace QMMultiMedia
