#pragma once

#include "QMMultiMedia/AudioBackend.h"

#include <QAudioDeviceInfo>

class QAudioOutput;
class QIODevice;

namespace QMMultiMedia {

// An output stream through Qt Multimedia's QAudioOutput in push mode, on the default device or on
// the one given.
class QtAudioOutput : public AudioOutput
{
public:
    QtAudioOutput() = default;
    explicit QtAudioOutput(const QAudioDeviceInfo& device) : m_device(device), m_deviceGiven(true) {}
    ~QtAudioOutput() override;

    bool start(int sampleRate) override;
    qint64 bytesFree() const override;
    qint64 bytesQueued() const override;
    qint64 write(const char* data, qint64 length) override;
    void suspend() override;
    void resume() override;
    bool isBroken() const override;

    // The size of the stream's buffer: about 100 ms, enough to ride out a busy event loop.
    static int bufferBytes(int sampleRate);

private:
    void close();

    QAudioDeviceInfo m_device;
    bool m_deviceGiven = false;
    QAudioOutput* m_output = nullptr;
    QIODevice* m_io = nullptr;
};

} // namespace QMMultiMedia
