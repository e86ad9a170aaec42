#include "QMMultiMedia/AudioBackend.h"

#include "QMMultiMedia/SoundServer.h"

namespace QMMultiMedia {

namespace {

class SystemAudioBackend : public AudioBackend
{
public:
    // The connection is made first, so that it goes only after this backend and its engine.
    SystemAudioBackend() { SoundServer::instance(); }
    ~SystemAudioBackend() override { releaseEngine(); }
    std::unique_ptr<AudioOutput> createOutput(AudioEngine& engine) override
    {
        return SoundServer::instance().createOutput(QString(), engine);
    }
    qint64 nowNs() const override { return SoundServer::nowNs(); }
};

AudioBackend* s_installed = nullptr;

} // namespace

AudioBackend::~AudioBackend()
{
    releaseEngine();
}

void AudioBackend::releaseEngine()
{
    // Players may hold the engine for longer: from now on it keeps time by itself.
    if (m_engine)
        m_engine->detach();
}

std::shared_ptr<AudioEngine> AudioBackend::engine()
{
    if (!m_engine) {
        m_engine = std::make_shared<AudioEngine>([this] { return nowNs(); });
        m_engine->setOutput(createOutput(*m_engine));
    }
    return m_engine;
}

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
    if (s_installed)
        return s_installed;
    static SystemAudioBackend system;
    return &system;
}

void AudioBackend::install(AudioBackend* backend)
{
    s_installed = backend;
}

} // namespace QMMultiMedia
