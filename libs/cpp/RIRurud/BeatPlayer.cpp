#include "RIRurud/BeatPlayer.h"

#include "RIRurud/BeatMixer.h"

#include <QTimer>

namespace RIRurud {

BeatPlayer::BeatPlayer(QObject* parent)
    : QObject(parent)
{
}

BeatPlayer::~BeatPlayer()
{
    if (m_voice)
        BeatMixer::instance()->removeVoice(m_voice);
}

qint64 BeatPlayer::leadNs()
{
    return BeatMixer::instance()->leadNs();
}

qint64 BeatPlayer::nowNs()
{
    return BeatMixer::instance()->nowNs();
}

void BeatPlayer::play(const QString& path)
{
    play(path, nowNs() + leadNs());
}

void BeatPlayer::play(const QString& path, qint64 atNs)
{
    BeatMixer* mixer = BeatMixer::instance();
    if (m_voice) {
        mixer->removeVoice(m_voice);
        m_voice = 0;
    }
    const BeatMixer::Sound* sound = mixer->sound(path);
    if (!sound) {
        QTimer::singleShot(0, this, [this] {
            if (!m_voice)
                emit finished();
        });
        return;
    }
    connect(mixer, &BeatMixer::voiceEnded, this, &BeatPlayer::slotVoiceEnded, Qt::UniqueConnection);
    m_voice = mixer->addVoice(sound, atNs, 0.5f);
}

bool BeatPlayer::hasStarted() const
{
    return m_voice && BeatMixer::instance()->hasStarted(m_voice);
}

void BeatPlayer::slotVoiceEnded(quint64 id)
{
    if (id != m_voice)
        return;
    m_voice = 0;
    emit finished();
}

} // namespace RIRurud
