#pragma once

// A click whose start can be found to the frame at a sink: a burst of noise, which lines up with
// itself at one lag only. Where the whole click lies best in a capture tells when it began to sound
// there and how much of its start is missing.

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace TestAudio {

class SinkCapture;

class NoiseClick
{
public:
    // Clicks in a series().
    static constexpr int seriesClicks = 60;

    // 30 ms of noise with fades of 5 ms, mono at the capture's rate.
    NoiseClick();
    // Writes it as a sound file; false when it could not be written.
    bool write(const QString& path) const;
    qint64 frames() const { return qint64(m_samples.size()); }

    struct Heard
    {
        qint64 start = -1;     // the frame of the capture where the whole click lies best
        double missingMs = 0;  // how much of its start is not heard there
        qint64 next = 0;       // where the next sound is looked for: a little after its end
    };
    // The clicks heard one after the other in a capture (its left channel) from `from` on, each the
    // first sound after the one before: `count` of them, or fewer up to the first not heard.
    std::vector<Heard> find(const SinkCapture& capture, qint64 from, int count) const;

    // Clicks as a person clicks: twenty single ones at uneven times, then four bursts of ten a
    // second. Calls `click` at the time of each and processes events in between.
    static void series(const std::function<void()>& click);

private:
    std::vector<float> m_samples;
    int m_firstLoud = 0;  // its first sample loud enough to be found as the start of a sound
};

} // namespace TestAudio
