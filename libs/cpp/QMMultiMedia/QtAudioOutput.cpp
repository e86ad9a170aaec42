#include "QMMultiMedia/QtAudioOutput.h"

#include <QAudioDeviceInfo>
#include <QAudioFormat>
#include <QAudioOutput>

namespace QMMultiMedia {

QtAudioOutput::~QtAudioOutput()
{
    close();
}

int QtAudioOutput::bufferBytes(int sampleRate)
{
    return (sampleRate / 10) * 4;
}

bool QtAudioOutput::start(int sampleRate)
{
    close();
    const QAudioDeviceInfo device = m_deviceGiven ? m_device : QAudioDeviceInfo::defaultOutputDevice();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(2);
    format.setSampleSize(16);
    format.setSampleType(QAudioFormat::SignedInt);
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
    if (!device.isFormatSupported(format))
        return false;
    m_output = new QAudioOutput(device, format);
    m_output->setBufferSize(bufferBytes(sampleRate));
    m_io = m_output->start();
    if (!m_io || m_output->error() != QAudio::NoError) {
        close();
        return false;
    }
    return true;
}

void QtAudioOutput::close()
{
    if (m_output) {
        m_output->stop();
        delete m_output;
    }
    m_output = nullptr;
    m_io = nullptr;
}

qint64 QtAudioOutput::bytesFree() const
{
    if (!m_output || !m_io)
        return 0;
    return m_output->bytesFree();
}

qint64 QtAudioOutput::bytesQueued() const
{
    if (!m_output || !m_io)
        return 0;
    return qMax(0, m_output->bufferSize() - m_output->bytesFree());
}

qint64 QtAudioOutput::write(const char* data, qint64 length)
{
    if (!m_io)
        return 0;
    return m_io->write(data, length);
}

void QtAudioOutput::suspend()
{
    if (m_output)
        m_output->suspend();
}

void QtAudioOutput::resume()
{
    if (m_output)
        m_output->resume();
}

bool QtAudioOutput::isBroken() const
{
    if (!m_output || !m_io)
        return true;
    const QAudio::Error e = m_output->error();
    return e == QAudio::OpenError || e == QAudio::IOError || e == QAudio::FatalError;
}

} // namespace QMMultiMedia
