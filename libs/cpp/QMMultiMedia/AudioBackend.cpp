#include "QMMultiMedia/AudioBackend.h"

#include "QMMultiMedia/QtAudioOutput.h"

#include <chrono>

namespace QMMultiMedia {

namespace {

class SystemAudioBackend : public AudioBackend
{
public:
    std::unique_ptr<AudioOutput> createOutput() override { return std::make_unique<QtAudioOutput>(); }
    qint64 nowNs() const override
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

AudioBackend* s_installed = nullptr;

} // namespace

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
