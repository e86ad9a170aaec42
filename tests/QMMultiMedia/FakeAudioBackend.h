#pragma once

// A sound backend for tests: a clock the test moves by hand, and a fake sound server whose
// playback stream plays what the engine wrote, frame by frame, as that clock runs (optionally
// with a card clock some ppm off the steady clock, or stopped for a while). The server takes
// frames from the stream some way ahead of the frame heard, a block at a time, as a server
// model says: what is written to a frame it has taken is lost, as on a server that never rewinds.

#include "QMMultiMedia/AudioBackend.h"

#include <QByteArray>
#include <QMetaType>
#include <QVector>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace TestAudio {

// One playback stream of the fake server.
struct FakeStream
{
    bool alive = true;        // false once closed (by the engine's output or by a failure)
    qint64 startNs = 0;       // when its first frame was heard
    double played = 0;        // frames heard so far
    qint64 writeEnd = 0;      // the frame after the last written
    qint64 read = 0;          // the frame after the last taken by the server
    qint64 lateFrames = 0;    // frames written after the server had taken them (lost)
    qint64 missingFrames = 0; // frames the server took before they were written
    int reports = 0;          // of its clock, to the engine
    std::vector<float> frames;  // what was written, stereo, from firstFrame on
    qint64 firstFrame = 0;      // 0 unless heard frames are not kept
    bool keep = true;
    // Told of every stretch as it is heard (frame, stereo samples, count).
    std::function<void(qint64, const float*, qint64)> onPlay;

    float at(qint64 frame, int side) const
    {
        const qint64 i = frame - firstFrame;
        return i >= 0 && i < qint64(frames.size() / 2) ? frames[size_t(2 * i + side)] : 0.0f;
    }
    // The first frame from `from` on louder than the threshold, or -1.
    qint64 firstLoud(qint64 from, float threshold = 0.001f) const
    {
        for (qint64 f = qMax(firstFrame, from); f < firstFrame + qint64(frames.size() / 2); ++f) {
            if (qAbs(at(f, 0)) > threshold || qAbs(at(f, 1)) > threshold)
                return f;
        }
        return -1;
    }
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

// How the fake server reads a stream and reports its clock.
struct ServerModel
{
    const char* name;
    qint64 readAhead;   // it takes frames this far ahead of the frame heard...
    qint64 block;       // ...this many at a time
    bool steppedClock;  // its clock is where it has read to (it moves in steps of a block)
    bool dropsBeyondWrite;  // a write lets go of what was written beyond it
};
// A server that reads just ahead, frame by frame (as one that takes back what it read would
// seem); PulseAudio at a short latency; PipeWire's layer at its default block of 1024 frames at
// 48 kHz; a pipe sink that reads a pipe's worth ahead.
constexpr ServerModel immediateServer {"reads at once", 0, 1, false, false};
constexpr ServerModel pulseServer {"PulseAudio", 88, 88, false, false};
constexpr ServerModel pipeWireServer {"PipeWire", 941, 941, true, true};
constexpr ServerModel pipeServer {"pipe sink", 8192, 512, false, false};

class FakeAudioBackend : public QMMultiMedia::AudioBackend
{
public:
    // With hasDevice false no stream is ever opened: the engine keeps time only. With realClock
    // the clock is the steady clock, for tests that wait on real timers.
    explicit FakeAudioBackend(bool hasDevice = true, bool realClock = false)
        : m_hasDevice(hasDevice), m_realClock(realClock)
    {
        QMMultiMedia::AudioBackend::install(this);
    }
    ~FakeAudioBackend() override
    {
        QMMultiMedia::AudioBackend::install(nullptr);
        releaseEngine();
    }

    std::unique_ptr<QMMultiMedia::AudioOutput> createOutput(QMMultiMedia::AudioEngine& engine) override
    {
        return std::make_unique<Output>(*this, engine);
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

    // Moves the clock; the card plays on in steps of stepMs, the engine is served at each step
    // and told the stream's clock every observeMs.
    void advanceMs(double ms)
    {
        const qint64 end = m_now + qint64(ms * 1e6);
        while (m_now < end) {
            m_now = qMin(end, m_now + qint64(stepMs * 1e6));
            if (!frozen)
                step();
        }
    }
    // Switches between the steady clock and the hand-moved one, which goes on from the same time.
    void setRealClock(bool real)
    {
        if (!real && m_realClock)
            m_now = nowNs();
        m_realClock = real;
    }
    // The stream fails (the server went away); the engine's output opens another when it needs one.
    void breakStream()
    {
        if (FakeStream* s = live()) {
            s->alive = false;
            m_target->streamStopped();
        }
    }
    // The server misses blocks of its graph (its thread came too late for them): silence is
    // heard instead, and the stream goes on that much later.
    void missBlocks(int count)
    {
        if (FakeStream* s = live())
            s->startNs += qint64(count) * server.block * 1'000'000'000LL / QMMultiMedia::AudioEngine::rate;
    }
    std::shared_ptr<FakeStream> last() const { return streams.isEmpty() ? nullptr : streams.last(); }

    ServerModel server = immediateServer;
    double ppm = 0;            // the card's clock against the steady clock
    double stepMs = 1;
    double observeMs = 100;
    bool frozen = false;       // the server stopped: it neither plays nor asks nor answers
    int laggingReports = 0;    // the next reports lag a block behind the stream (it is not late)
    double reportJitterUs = 0; // how far off the time of a report may be, either way
    bool keepFrames = true;
    QVector<std::shared_ptr<FakeStream>> streams;
    QVector<qint64> voicesAddedNs;  // when voices were added (as the output was woken for them)
    QVector<std::shared_ptr<FakeCapture>> captures;

private:
    class Output : public QMMultiMedia::AudioOutput, public QMMultiMedia::StreamPort
    {
    public:
        Output(FakeAudioBackend& b, QMMultiMedia::AudioEngine& engine) : m_b(b)
        {
            m_b.m_target = &engine;
            m_b.m_output = this;
        }
        ~Output() override
        {
            if (FakeStream* s = m_b.live())
                s->alive = false;
            m_b.m_target = nullptr;
            m_b.m_output = nullptr;
        }
        void wake() override
        {
            const int voices = m_b.m_target->voiceCount();
            if (voices > m_voices)
                m_b.voicesAddedNs.append(m_b.nowNs());
            m_voices = voices;
            if (!m_b.frozen)
                m_b.serve();
        }
        bool write(qint64 frame, const float* data, qint64 count) override
        {
            FakeStream* s = m_b.live();
            if (frame < s->read) {
                const qint64 lost = qMin(count, s->read - frame);
                s->lateFrames += lost;
                frame += lost;
                data += 2 * lost;
                count -= lost;
            }
            if (count <= 0)
                return true;
            const qint64 i = frame - s->firstFrame;
            if (s->frames.size() < size_t(2 * (i + count)))
                s->frames.resize(size_t(2 * (i + count)), 0.0f);
            std::copy(data, data + 2 * count, s->frames.begin() + 2 * i);
            if (m_b.server.dropsBeyondWrite) {
                s->frames.resize(size_t(2 * (i + count)));
                s->writeEnd = frame + count;
            } else {
                s->writeEnd = qMax(s->writeEnd, frame + count);
            }
            return true;
        }

    private:
        FakeAudioBackend& m_b;
        int m_voices = 0;
    };

    FakeStream* live() const
    {
        return !streams.isEmpty() && streams.last()->alive ? streams.last().get() : nullptr;
    }
    // Opens or closes the stream as the engine wants, and serves the engine.
    void serve()
    {
        QMMultiMedia::AudioEngine* engine = m_target;
        if (!engine || !m_hasDevice)
            return;
        FakeStream* s = live();
        if (!engine->wantsStream()) {
            if (s) {
                s->alive = false;
                engine->streamStopped();
            }
            return;
        }
        if (!s) {
            streams.append(std::make_shared<FakeStream>());
            s = streams.last().get();
            // Its first frame is heard a moment after it starts, as the engine expects.
            s->startNs = m_now + QMMultiMedia::AudioEngine::marginFrames * 1'000'000'000LL / QMMultiMedia::AudioEngine::rate;
            s->keep = keepFrames;
            m_nextObserveNs = m_now + qint64(qMin(observeMs, 2.0) * 1e6);
            engine->streamStarted();
        }
        while (engine->serve(*m_output)) {
        }
    }
    void step()
    {
        if (FakeStream* s = live()) {
            const qint64 from = qint64(s->played);
            s->played = qMax(0.0, double(m_now - s->startNs) * QMMultiMedia::AudioEngine::rate * (1.0 + ppm * 1e-6) / 1e9);
            const qint64 to = qint64(s->played);
            // The server takes the blocks that reach its read-ahead.
            const qint64 block = qMax<qint64>(1, server.block);
            const qint64 wanted = (to + server.readAhead + block - 1) / block * block;
            if (wanted > s->read) {
                s->missingFrames += qMax<qint64>(0, wanted - qMax(s->read, s->writeEnd));
                s->read = wanted;
            }
            if (s->onPlay && to > from) {
                std::vector<float> heard(size_t(2 * (to - from)));
                for (qint64 f = from; f < to; ++f) {
                    heard[size_t(2 * (f - from))] = s->at(f, 0);
                    heard[size_t(2 * (f - from) + 1)] = s->at(f, 1);
                }
                s->onPlay(from, heard.data(), to - from);
            }
            // What was heard is let go, unless it is kept for the test to look at.
            if (!s->keep && to - s->firstFrame > QMMultiMedia::AudioEngine::rate) {
                const qint64 drop = qMin<qint64>(to - s->firstFrame, qint64(s->frames.size() / 2));
                s->frames.erase(s->frames.begin(), s->frames.begin() + 2 * drop);
                s->firstFrame += drop;
            }
            // A new stream's clock is asked for often at first, then at uneven times, every other
            // time just before the engine takes the server to read a block, as the real output
            // asks for it.
            if (m_target && m_now >= m_nextObserveNs) {
                const double phase = std::fmod(s->reports * 0.6180339887, 1.0);
                const double every = s->reports < 100 ? qMin(observeMs, 4 * (0.5 + phase)) : observeMs * (0.75 + 0.5 * phase);
                ++s->reports;
                // (A lagging report says where the server stood a block before.)
                const qint64 lag = laggingReports > 0 && laggingReports-- ? server.block : 0;
                const qint64 heard = server.steppedClock ? s->read - server.readAhead : qint64(std::llround(s->played));
                // (Its time is known to some microseconds.)
                const qint64 jitter = qint64(reportJitterUs * 1000 * (2 * std::fmod(s->reports * 0.7548776662, 1.0) - 1));
                m_target->observe(heard - lag, s->read - lag, m_now + jitter);
                m_nextObserveNs = m_now + qint64(every * 1e6);
                const qint64 block = s->reports >= 100 && s->reports % 2 ? m_target->nextBlockNs(m_now + qint64(observeMs * 0.75e6)) : -1;
                if (block > 0)
                    m_nextObserveNs = block - 500'000;
            }
        }
        serve();
    }

    bool m_hasDevice;
    bool m_realClock;
    qint64 m_now = 1'000'000'000;
    qint64 m_nextObserveNs = 0;
    QMMultiMedia::AudioEngine* m_target = nullptr;
    Output* m_output = nullptr;
};

} // namespace TestAudio

Q_DECLARE_METATYPE(TestAudio::ServerModel)
