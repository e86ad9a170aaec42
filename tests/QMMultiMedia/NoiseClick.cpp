#include "NoiseClick.h"

#include "SinkCapture.h"

#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include <QTest>

#include <cmath>

namespace TestAudio {

namespace {

// What counts as sound when a click's first frame is looked for.
constexpr float loud = 0.001f;

} // namespace

NoiseClick::NoiseClick()
{
    const int length = SinkCapture::rate * 30 / 1000;
    const int fade = SinkCapture::rate / 200;
    m_samples.resize(size_t(length));
    quint32 seed = 12345;
    for (int i = 0; i < length; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const float gain = 0.4f * float(qMin(qMin(i, length - 1 - i), fade)) / fade;
        m_samples[size_t(i)] = gain * (float(seed >> 8) / float(1 << 24) * 2.0f - 1.0f);
    }
    while (std::fabs(m_samples[size_t(m_firstLoud)]) <= loud)
        ++m_firstLoud;
}

bool NoiseClick::write(const QString& path) const
{
    return QMMultiMedia::AudioFileWriter::writeAll(path, m_samples.data(), frames(), SinkCapture::rate, 1);
}

std::vector<NoiseClick::Heard> NoiseClick::find(const SinkCapture& capture, qint64 from, int count) const
{
    const std::vector<float>& heard = capture.samples();
    std::vector<Heard> found;
    for (int n = 0; n < count; ++n) {
        const qint64 onset = capture.firstLoudFrame(from, loud);
        if (onset < 0)
            break;
        // The lag up to 10 ms before the first sound at which the whole click matches best: the
        // frames before the sound that it should have begun with are what is missing.
        Heard h;
        double best = -1;
        for (qint64 at = qMax<qint64>(0, onset - SinkCapture::rate / 100); at <= onset; ++at) {
            double sum = 0;
            for (qint64 i = 0; i < frames() && at + i < capture.frames(); ++i)
                sum += double(heard[size_t(2 * (at + i))]) * m_samples[size_t(i)];
            if (sum > best) {
                best = sum;
                h.start = at;
            }
        }
        h.missingMs = double(onset - h.start - m_firstLoud) * 1000.0 / SinkCapture::rate;
        h.next = h.start + frames() + SinkCapture::rate / 100;
        found.push_back(h);
        from = h.next;
    }
    return found;
}

void NoiseClick::series(const std::function<void()>& click)
{
    for (int i = 0; i < 20; ++i) {
        click();
        QTest::qWait(300 + (i * 137) % 300);
    }
    for (int burst = 0; burst < 4; ++burst) {
        for (int i = 0; i < 10; ++i) {
            click();
            QTest::qWait(100);
        }
        QTest::qWait(700);
    }
}

} // namespace TestAudio
