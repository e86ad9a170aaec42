#include "QMMultiMedia/NativeAudioRecorderInternal.h"

#include <cmath>

namespace QMMultiMedia {

NativeAudioRecorderInternal::NativeAudioRecorderInternal(QObject* parent)
    : QObject(parent)
{
}

NativeAudioRecorderInternal::~NativeAudioRecorderInternal()
{
    // Finish the file of a recording still going, so that it is not left without its header.
    if (m_recorder)
        m_recorder->stop();
}

RecorderSettings NativeAudioRecorderInternal::recorderSettings(const MAudioFormat& format)
{
    RecorderSettings s;
    s.sampleRate = float(format.sampleRate());
    s.channels = format.channelCount();
    switch (format.quality()) {
    case 0: s.quality = 0; break;
    case 1: s.quality = 32; break;
    case 2: s.quality = 64; break;
    case 4: s.quality = 127; break;
    default: s.quality = 96; break;
    }
    const int codec = MAudioFormat::codecIDFromString(format.codec());
    if (codec == MAudioFormat::CAF || codec == MAudioFormat::MPEG4AAC) {
        s.format = RecorderSettings::MPEG4AAC;
        s.bitRate = format.bitRate();
    } else {
        s.format = RecorderSettings::LinearPCM;
        s.bitRate = -1;
    }
    return s;
}

void NativeAudioRecorderInternal::slotStart(const QString& path)
{
    if (m_recorder)
        slotStop();
    m_error.clear();
    m_lastSeconds = 0.0;
    m_endTold = false;
    QString why;
    m_recorder = PlatformAudioRecorder::create(path, recorderSettings(m_format), &why);
    if (m_recorder && !m_recorder->record()) {
        why = m_recorder->errorString();
        m_recorder->stop();
        m_recorder.reset();
    }
    if (!m_recorder) {
        m_error = QStringLiteral("Cannot record into %1: %2").arg(path, why);
        m_stopped = true;
        emit error(m_error);
        return;
    }
    connect(m_recorder.get(), &PlatformAudioRecorder::failed, this, &NativeAudioRecorderInternal::onFailed);
    m_stopped = false;
}

void NativeAudioRecorderInternal::onFailed(const QString& why)
{
    // The recording has stopped by itself; the recorder goes once its signal has returned.
    PlatformAudioRecorder* recorder = m_recorder.release();
    if (!recorder)
        return;
    m_lastSeconds = recorder->currentTime();
    recorder->deleteLater();
    m_error = QStringLiteral("Recording into the file stopped: %1").arg(why);
    m_stopped = true;
    m_endTold = true;
    emit error(m_error);
    emit finished();
}

void NativeAudioRecorderInternal::slotStop()
{
    if (m_recorder) {
        const bool complete = m_recorder->stop();
        m_lastSeconds = m_recorder->currentTime();
        if (!complete) {
            m_error = m_recorder->errorString();
            emit error(m_error);
        }
        m_recorder.reset();
    }
    m_stopped = true;
    // A take that stopped by itself has told its end already.
    if (m_endTold)
        return;
    m_endTold = true;
    emit finished();
}

void NativeAudioRecorderInternal::slotSuspend()
{
    if (m_recorder)
        m_recorder->pause();
}

void NativeAudioRecorderInternal::slotResume()
{
    if (m_recorder)
        m_recorder->record();
}

qint64 NativeAudioRecorderInternal::processedUSecs() const
{
    const double seconds = m_recorder ? m_recorder->currentTime() : m_lastSeconds;
    return qint64(std::lroundf(float(seconds * 1000.0)));
}

QString NativeAudioRecorderInternal::defaultInputDevice() const
{
    return PlatformAudioRecorder::defaultInputName();
}

QStringList NativeAudioRecorderInternal::availableInputDevices() const
{
    return {defaultInputDevice()};
}

} // namespace QMMultiMedia
