#include "QMMultiMedia/AudioBackend.h"

#include "QMMultiMedia/SoundServer.h"

#include <chrono>

namespace QMMultiMedia {

namespace {

class SystemAudioBackend : public AudioBackend
{
public:
    std::unique_ptr<AudioOutput> createOutput() override { return SoundServer::instance().createOutput(QString()); }
    qint64 nowNs() const override { return SoundServer::nowNs(); }
};

AudioBackend* s_installed = nullptr;

} // namespace

std::unique_ptr<AudioInput> AudioBackend::createInput(int sampleRate, int channels)
{
    return SoundServer::instance().createInput(QString(), sampleRate, channels);
}

QString AudioBackend::inputName() const
{
    return SoundServer::instance().defaultSourceName();
}

AudioBackend* AudioBackend::current()
{
    static SystemAudioBackend system;
    return s_installed ? s_installed : &system;
}

void AudioBackend::install(AudioBackend* backend)
{
    s_installed = backend;
}

} // namespace QMMultiMedia
