#pragma once

// A sound backend for tests: a clock the test moves by hand, and output streams that record what
// they are given and take only as much as the test lets the "device" play.

#include "QMMultiMedia/AudioBackend.h"

#include <QByteArray>
#include <QVector>

#include <chrono>
#include <memory>

namespace TestAudio {

struct FakeStream
{
    bool alive = true;       // false once the player has closed the stream
    bool started = false;
    bool suspended = false;
    bool broken = false;
    int sampleRate = 0;
    qint64 capacity = 0;     // bytes the device buffer holds
    qint64 queued = 0;       // bytes written and not yet played
    QByteArray written;      // everything ever written, 16-bit stereo

    // Lets the device play `bytes` of what is queued.
    void play(qint64 bytes) { queued = qMax<qint64>(0, queued - bytes); }
    QVector<qint16> samples() const
    {
        QVector<qint16> s(written.size() / 2);
        memcpy(s.data(), written.constData(), size_t(s.size()) * 2);
        return s;
    }
};

class FakeOutput : public QMMultiMedia::AudioOutput
{
public:
    explicit FakeOutput(std::shared_ptr<FakeStream> s) : m_s(std::move(s)) {}
    ~FakeOutput() override { m_s->alive = false; }
    bool start(int sampleRate) override
    {
        m_s->started = true;
        m_s->sampleRate = sampleRate;
        if (m_s->capacity == 0)
            m_s->capacity = qint64(sampleRate / 10) * 4;
        return true;
    }
    qint64 bytesFree() const override { return m_s->capacity - m_s->queued; }
    qint64 bytesQueued() const override { return m_s->queued; }
    qint64 write(const char* data, qint64 length) override
    {
        const qint64 n = qMin(length, bytesFree());
        m_s->written.append(data, int(n));
        m_s->queued += n;
        return n;
    }
    void suspend() override { m_s->suspended = true; }
    void resume() override { m_s->suspended = false; }
    bool isBroken() const override { return m_s->broken; }

private:
    std::shared_ptr<FakeStream> m_s;
};

// What a fake input captures: the test puts samples in, or breaks it.
struct FakeCapture
{
    bool started = false;
    QByteArray pending;  // captured, not yet taken by the recorder
    QString error;
};

class FakeInput : public QMMultiMedia::AudioInput
{
public:
    explicit FakeInput(std::shared_ptr<FakeCapture> c) : m_c(std::move(c)) {}
    bool start() override { return m_c->started = true; }
    void read(QByteArray& out) override
    {
        out.append(m_c->pending);
        m_c->pending.clear();
    }
    void suspend() override {}
    void resume() override {}
    QString errorString() const override { return m_c->error; }

private:
    std::shared_ptr<FakeCapture> m_c;
};

class FakeAudioBackend : public QMMultiMedia::AudioBackend
{
public:
    // With hasDevice false no stream is ever given: players keep time only. With realClock the
    // clock is the steady clock, for tests that wait on real timers.
    explicit FakeAudioBackend(bool hasDevice = true, bool realClock = false)
        : m_hasDevice(hasDevice), m_realClock(realClock)
    {
        QMMultiMedia::AudioBackend::install(this);
    }
    ~FakeAudioBackend() override { QMMultiMedia::AudioBackend::install(nullptr); }

    std::unique_ptr<QMMultiMedia::AudioOutput> createOutput() override
    {
        outputRequestsNs.append(nowNs());
        if (!m_hasDevice)
            return nullptr;
        streams.append(std::make_shared<FakeStream>());
        return std::make_unique<FakeOutput>(streams.last());
    }
    std::unique_ptr<QMMultiMedia::AudioInput> createInput(int, int) override
    {
        captures.append(std::make_shared<FakeCapture>());
        return std::make_unique<FakeInput>(captures.last());
    }
    qint64 nowNs() const override
    {
        if (m_realClock)
            return std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        return m_now;
    }

    void advanceMs(double ms) { m_now += qint64(ms * 1e6); }
    // Switches between the steady clock and the hand-moved one, which goes on from the same time.
    void setRealClock(bool real)
    {
        if (!real && m_realClock)
            m_now = nowNs();
        m_realClock = real;
    }
    std::shared_ptr<FakeStream> last() const { return streams.isEmpty() ? nullptr : streams.last(); }

    QVector<std::shared_ptr<FakeStream>> streams;
    QVector<qint64> outputRequestsNs;  // when each output was asked for (with a device or not)
    QVector<std::shared_ptr<FakeCapture>> captures;

private:
    bool m_hasDevice;
    bool m_realClock;
    qint64 m_now = 1'000'000'000;
};

} // namespace TestAudio
