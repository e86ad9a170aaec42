#include "QMMultiMedia/PlatformAudioRecorder.h"

#include "QMMultiMedia/AudioBackend.h"
#include "QMMultiMedia/_Coders/AacFileWriter.h"
#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include <QAudioDeviceInfo>
#include <QAudioInput>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstring>

namespace QMMultiMedia {

QString PlatformAudioRecorder::defaultInputName()
{
    const QAudioDeviceInfo device = AudioBackend::current()->inputDevice();
    return device.isNull() ? QString() : device.deviceName();
}

QString PlatformAudioRecorder::checkTarget(const QString& path, const RecorderSettings& settings)
{
    const QFileInfo file(path);
    const QString ext = file.suffix().toLower();
    if (settings.format == RecorderSettings::MPEG4AAC) {
        if (!AacFileWriter::containerFor(path))
            return QStringLiteral("AAC sound cannot be stored in a .%1 file (use .m4a, .mp4 or .aac)").arg(ext);
    } else {
        static const QStringList pcmContainers = {QStringLiteral("wav"), QStringLiteral("aif"), QStringLiteral("aiff"),
                                                  QStringLiteral("caf")};
        if (!pcmContainers.contains(ext))
            return QStringLiteral("uncompressed sound cannot be stored in a .%1 file (use .wav, .aiff or .caf)").arg(ext);
    }
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return QStringLiteral("the folder %1 cannot be written").arg(folder.filePath());
    if (settings.channels <= 0 || settings.sampleRate < 1.0f)
        return QStringLiteral("%1 Hz with %2 channels cannot be recorded").arg(double(settings.sampleRate)).arg(settings.channels);
    return QString();
}

std::unique_ptr<PlatformAudioRecorder> PlatformAudioRecorder::create(const QString& path,
                                                                     const RecorderSettings& settings, QString* error)
{
    auto failed = [&](const QString& why) {
        if (error)
            *error = why;
        return nullptr;
    };
    // What is wrong with the request is told before what is missing on this computer.
    const QString wrong = checkTarget(path, settings);
    if (!wrong.isEmpty())
        return failed(wrong);
    // The encoder's libraries are loaded now, on the first AAC recording, not at start-up.
    if (settings.format == RecorderSettings::MPEG4AAC) {
        const QString missing = AacFileWriter::unavailableReason();
        if (!missing.isEmpty())
            return failed(missing);
    }
    std::unique_ptr<PlatformAudioRecorder> r(new PlatformAudioRecorder());
    const int rate = int(std::lround(settings.sampleRate));
    r->m_sampleRate = rate;
    r->m_channels = settings.channels;

    const QAudioDeviceInfo device = AudioBackend::current()->inputDevice();
    if (device.isNull())
        return failed(QStringLiteral("there is no sound input"));
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(settings.channels);
    format.setSampleSize(16);
    format.setSampleType(QAudioFormat::SignedInt);
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
    if (!device.isFormatSupported(format))
        return failed(QStringLiteral("the sound input cannot record %1 Hz with %2 channels").arg(rate).arg(settings.channels));

    if (settings.format == RecorderSettings::MPEG4AAC) {
        r->m_aac = std::make_unique<AacFileWriter>();
        if (!r->m_aac->open(path, rate, settings.channels, settings.bitRate))
            return failed(r->m_aac->errorString());
    } else {
        r->m_pcm = std::make_unique<AudioFileWriter>();
        if (!r->m_pcm->open(path, rate, settings.channels))
            return failed(r->m_pcm->errorString());
    }
    r->m_input = new QAudioInput(device, format, r.get());
    return r;
}

PlatformAudioRecorder::~PlatformAudioRecorder()
{
    stop();
}

bool PlatformAudioRecorder::record()
{
    if (m_finished || !m_input)
        return false;
    if (m_started) {
        m_input->resume();
        return m_input->error() == QAudio::NoError;
    }
    m_io = m_input->start();
    if (!m_io || m_input->error() != QAudio::NoError) {
        m_error = QStringLiteral("the sound input could not be opened");
        return false;
    }
    m_started = true;
    connect(m_io, &QIODevice::readyRead, this, &PlatformAudioRecorder::readInput);
    return true;
}

void PlatformAudioRecorder::pause()
{
    if (m_started && !m_finished) {
        readInput();
        m_input->suspend();
    }
}

bool PlatformAudioRecorder::stop()
{
    if (m_finished)
        return m_error.isEmpty();
    m_finished = true;
    if (m_input) {
        if (m_started)
            readInput();
        m_input->stop();
        m_io = nullptr;
    }
    bool ok = true;
    if (m_pcm)
        ok = m_pcm->close();
    if (m_aac)
        ok = m_aac->close();
    if (!ok && m_error.isEmpty())
        m_error = m_pcm ? m_pcm->errorString() : m_aac->errorString();
    return ok && m_error.isEmpty();
}

double PlatformAudioRecorder::currentTime() const
{
    return double(m_frames) / m_sampleRate;
}

void PlatformAudioRecorder::readInput()
{
    if (!m_io || m_finished)
        return;
    m_partial += m_io->readAll();
    const int frameBytes = 2 * m_channels;
    const int whole = m_partial.size() / frameBytes;
    if (whole == 0)
        return;
    m_converted.resize(size_t(whole) * size_t(m_channels));
    const qint16* in = reinterpret_cast<const qint16*>(m_partial.constData());
    for (size_t i = 0; i < m_converted.size(); ++i)
        m_converted[i] = in[i] / 32768.0f;
    m_partial.remove(0, whole * frameBytes);
    if (!writeFrames(m_converted.data(), whole) && m_error.isEmpty())
        m_error = m_pcm ? m_pcm->errorString() : m_aac->errorString();
}

bool PlatformAudioRecorder::writeFrames(const float* frames, qint64 count)
{
    const bool ok = m_pcm ? m_pcm->write(frames, count) : m_aac->write(frames, count);
    if (ok)
        m_frames += count;
    return ok;
}

} // namespace QMMultiMedia
