#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include "QMMultiMedia/_Coders/MpegLength.h"

#include <QFile>
#include <QFileInfo>

#include <sndfile.h>

namespace QMMultiMedia {

namespace {

// Samples a read takes at most, whatever the number of channels.
constexpr qint64 samplesPerRead = 65536;

} // namespace

AudioFileReader::~AudioFileReader()
{
    close();
}

qint64 AudioFileReader::framesPerRead(int channels)
{
    return qMax<qint64>(1, samplesPerRead / qMax(1, channels));
}

bool AudioFileReader::open(const QString& path)
{
    close();
    m_error.clear();
    // Only a regular file: opening a FIFO would wait for a writer.
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_error = QStringLiteral("not a file");
        return false;
    }
    SF_INFO info {};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file) {
        m_error = QString::fromUtf8(sf_strerror(nullptr));
        return false;
    }
    if (info.samplerate < minSampleRate || info.samplerate > maxSampleRate)
        m_error = QStringLiteral("its sample rate, %1 Hz, is outside %2 to %3 Hz")
                      .arg(info.samplerate).arg(minSampleRate).arg(maxSampleRate);
    else if (info.frames <= 0 || info.channels <= 0)
        m_error = QStringLiteral("it holds no sound");
    if (!m_error.isEmpty()) {
        sf_close(file);
        return false;
    }
    m_file = file;
    m_sampleRate = info.samplerate;
    m_channels = info.channels;
    m_frames = info.frames;
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG) {
        // The MP3 decoder knows the length from a Xing or Info header. Without one it estimates it
        // from the size of the file, tags included: a large tag (a cover picture) makes the sound
        // seem far longer than it is. The estimate is then made from the sound's bytes alone.
        QFile f(path);
        const MpegLength length = f.open(QIODevice::ReadOnly) ? mpegLength(f) : MpegLength();
        if (length.source != MpegLength::InfoFrame) {
            m_estimate = length.source != MpegLength::Vbri || length.frames <= 0;
            if (length.frames > 0)
                m_frames = length.frames;
        }
    }
    return true;
}

bool AudioFileReader::countFrames(const std::function<bool()>& stopped)
{
    if (!m_file || sf_seek(m_file, 0, SEEK_SET) != 0)
        return false;
    const qint64 chunk = framesPerRead(m_channels);
    std::vector<float> scratch(size_t(chunk * m_channels));
    qint64 total = 0;
    sf_count_t got;
    while ((got = sf_readf_float(m_file, scratch.data(), chunk)) > 0) {
        total += got;
        if (stopped && stopped())
            return false;
    }
    if (sf_seek(m_file, 0, SEEK_SET) != 0)
        return false;
    m_frames = total;
    m_estimate = false;
    return true;
}

void AudioFileReader::close()
{
    if (m_file)
        sf_close(m_file);
    m_file = nullptr;
    m_sampleRate = 0;
    m_channels = 0;
    m_frames = 0;
    m_estimate = false;
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
    // Not held to frames(): an estimate may fall short of the file.
    return sf_seek(m_file, qMax<qint64>(0, frame), SEEK_SET) >= 0;
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
    // Grown as the file is read, not sized by what its header says.
    const qint64 chunk = framesPerRead(reader.channels());
    qint64 got;
    do {
        const size_t at = samples.size();
        samples.resize(at + size_t(chunk * reader.channels()));
        got = reader.read(samples.data() + at, chunk);
        samples.resize(at + size_t(got * reader.channels()));
    } while (got > 0);
    return samples;
}

} // namespace QMMultiMedia
