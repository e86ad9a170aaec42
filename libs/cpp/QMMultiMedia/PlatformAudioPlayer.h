#pragma once

#include <QString>

#include <memory>

namespace QMMultiMedia {

class AudioEngine;
class DecodedSound;
struct PanGains;

// Plays one sound file as a voice of the sound engine: play once, pause, stop without rewinding,
// seek, volume and pan. Time is the engine's, so position and end of the sound are the same whether
// it sounds through a device or, when there is none, only keeps time as if it played.
class PlatformAudioPlayer
{
public:
    // A player ready to play the whole file from the start; null when the file cannot be decoded.
    static std::unique_ptr<PlatformAudioPlayer> create(const QString& path);
    ~PlatformAudioPlayer();
    PlatformAudioPlayer(const PlatformAudioPlayer&) = delete;
    PlatformAudioPlayer& operator=(const PlatformAudioPlayer&) = delete;

    // Starts or resumes from the current time. A sound that has run to its end starts again.
    void play();
    // Halts and keeps the current time.
    void pause();
    // Halts without rewinding; silent at once.
    void stop();
    // Seconds from the start; clamped to the sound.
    void setCurrentTime(double seconds);
    double currentTime() const;
    double duration() const;
    // True while sound is being produced: not after the end, after stop() and during a pause.
    bool isPlaying() const;

    void setVolume(float volume);
    float volume() const { return m_volume; }
    void setPan(float pan);
    float pan() const { return m_pan; }

    int sampleRate() const;
    qint64 frames() const;

private:
    PlatformAudioPlayer() = default;
    // Ends a voice that has run out; true while the voice still plays.
    bool settle();
    void halt();
    PanGains gains() const;
    void applyGains();

    std::shared_ptr<AudioEngine> m_engine;
    std::shared_ptr<DecodedSound> m_sound;
    quint64 m_voice = 0;
    qint64 m_frame = 0;  // the position while no voice plays
    float m_volume = 1.0f;
    float m_pan = 0.0f;
};

} // namespace QMMultiMedia
