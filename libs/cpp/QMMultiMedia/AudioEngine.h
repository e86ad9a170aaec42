#pragma once

#include <QtGlobal>

#include <atomic>
#include <cmath>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

namespace QMMultiMedia {

class DecodedSound;

// The frames of one playback stream, as the engine writes them (implemented by each output).
class StreamPort
{
public:
    virtual ~StreamPort() = default;
    // Writes interleaved stereo frames at a frame of the stream (counted from its first). What was
    // written from there on is replaced; a server may also drop what had been written beyond the
    // last frame written now, so a change is always written through to the end. False when the
    // stream refuses them.
    virtual bool write(qint64 streamFrame, const float* frames, qint64 count) = 0;
};

// A stream to the sound device that plays what the engine mixes. It serves the engine from a
// thread of its own whenever the stream wants frames or the engine has changed, and tells the
// engine the stream's clock.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;
    // The voices changed: serve the engine soon. Returns at once; called from any thread.
    virtual void wake() = 0;
};

// Every sound of the program is a voice of the engine: decoded samples placed at a frame of one
// long-lived output stream and mixed there, on the stream's own thread. The GUI thread only adds,
// changes and removes voices; each call returns at once and never waits for mixing.
//
// Time is the stream's. The engine counts frames on one timeline that goes on across streams; a
// model maps the steady clock onto it, drawn through what the stream reports of its clock, so that
// a sound card running fast or slow neither drifts away from the steady clock nor jumps, a
// server that reports its clock in steps (it reads a whole block at a time) is followed smoothly,
// and one that missed a block (and plays the rest of the stream that much later) at once.
// A voice given a time is placed at the frame that is heard then. Without a stream (no device, or
// none yet) the timeline runs on the steady clock: voices keep their time without being heard. A
// new stream, or one the server moved to another sink, draws the timeline again from its own
// reports, and the voices given a time keep their time on it.
//
// The server takes frames some way ahead of the one being heard, a block at a time, and what it has
// taken is never written again: not every server takes back what it has read. How far ahead it
// reads is learned from its reports of where it has read to. The stream is written half a second
// beyond that, however far it is (a network sink may read a second ahead). A change is written
// again from the first frame the server cannot have taken yet, and through to the end of what was
// written. The sum of the voices is limited below full scale.
class AudioEngine
{
public:
    static constexpr int rate = 44100;
    // What is written beyond the frames the server may have taken: enough for the stream's thread
    // to be held up for a while on a busy machine without a gap.
    static constexpr qint64 aheadFrames = rate / 2;
    // Nothing is written nearer than this to the frame being heard.
    static constexpr qint64 marginFrames = rate * 2 / 1000;
    // What a write takes to reach the server, beyond what the server has taken.
    static constexpr qint64 transitFrames = rate * 3 / 2000;
    // How far ahead the server is taken to read until its reports tell, at least (a stream after
    // another is taken to be read as far ahead as the one before).
    static constexpr qint64 unknownLeadFrames = rate / 50;
    // Reports needed before their lead is believed.
    static constexpr int leadReports = 6;
    // The first stretch of a change written again, sent before the rest is mixed, and the
    // longest of the stretches that follow.
    static constexpr qint64 firstStretchFrames = rate / 50;
    static constexpr qint64 lastStretchFrames = rate / 20;
    // A voice given too late for its time (the stream was being opened, or its thread was held
    // up) starts late when it is at most this late; beyond, it goes on unheard...
    static constexpr qint64 shiftFrames = rate / 2;
    // ...except a beat, which is dropped when it is later than this.
    static constexpr qint64 beatLateFrames = rate / 50;
    // How long a stream stays open after the last voice.
    static constexpr qint64 idleNs = 3'000'000'000;
    // A report ahead of the model by more than this, or behind it by more than this beyond the
    // reports' own scatter, is a break in the stream's time (it stalled or restarted), once a
    // second one agrees.
    static constexpr qint64 breakFrames = rate / 200;

    using Clock = std::function<qint64()>;

    struct VoiceSpec
    {
        std::shared_ptr<const DecodedSound> sound;
        qint64 atNs = -1;      // when its first frame is heard, on the engine's clock; -1: now
        qint64 offset = 0;     // the first frame of the sound to play, in the sound's frames
        float left = 1.0f;     // gains
        float right = 1.0f;
        bool beat = false;     // dropped when it comes too late, instead of starting late
    };
    struct VoiceState
    {
        bool playing = false;  // placed and not over (it may not have begun to sound yet)
        qint64 position = 0;   // the frame of the sound being heard now
    };

    explicit AudioEngine(Clock clock);
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // The output that plays the mix (null: time is kept, nothing heard). The engine owns it.
    void setOutput(std::unique_ptr<AudioOutput> output);
    // Drops the output and goes on by the steady clock (the backend that made the engine is going).
    void detach();

    qint64 nowNs() const;

    // --- from the GUI thread
    quint64 add(const VoiceSpec& spec);
    // Silences a voice from the earliest frame that can still change and forgets it. Returns the
    // frame of its sound reached by now, or -1 when the voice was over (or unknown). *heard tells
    // whether any of it has sounded.
    qint64 remove(quint64 id, bool* heard = nullptr);
    VoiceState state(quint64 id) const;
    void setGains(quint64 id, float left, float right);
    int voiceCount() const;
    bool isStreaming() const;
    // How far ahead of the frame being heard the server may have read, as learned so far.
    qint64 leadFrames() const;
    // Times the server said the stream ran dry (it had nothing to play when it wanted frames).
    int underflows() const { return m_underflows.load(); }
    // Where the engine stands on the stream: for the stream's debug log.
    struct Positions
    {
        qint64 heard, safe, written, lead, lateness;
    };
    Positions positions() const;

    // --- from the output's thread
    // True while there are voices, and a while after the last.
    bool wantsStream() const;
    // A new stream: its first frame is the next frame the engine writes.
    void streamStarted();
    void streamStopped();
    // The server moved the stream to another sink: its clock is that sink's now.
    void streamMoved();
    // Rewrites what changed and writes ahead. True when only a stretch of a change was written:
    // the output lets that go to the server, then serves again at once.
    bool serve(StreamPort& port);
    // The stream's clock: its frame `heard` is heard at `atNs`, when the server had taken every
    // frame before `read`.
    void observe(qint64 heard, qint64 read, qint64 atNs);
    // When the server, which is seen to read the stream a block at a time, next reads a block at
    // `earliestNs` or later, as the model has it; -1 when it is not seen to read in blocks. A
    // report asked for just before tells whether the line runs low.
    qint64 nextBlockNs(qint64 earliestNs) const;
    // The output's thread came this late when woken, or the server took this long to come to a
    // question: on a machine that busy, what is written may reach the server as much later, and
    // is written that much further ahead for a while.
    void noteLateness(qint64 ns);
    // The server said the stream ran dry.
    void noteUnderflow() { ++m_underflows; }

private:
    struct Voice
    {
        quint64 id;
        VoiceSpec spec;
        qint64 asapFrame = 0;  // where a voice without a time starts, unless it is late
        bool placed = false;
        bool dropped = false;
        qint64 start = 0;      // once placed: the engine frame at which `offset` is heard
    };
    // What the stream's thread mixes, taken from the voices with the lock held.
    struct Mixed
    {
        std::shared_ptr<const DecodedSound> sound;
        qint64 offset;
        qint64 start;
        qint64 end;
        float left;
        float right;
    };
    struct Report
    {
        qint64 atNs;
        double heard;  // engine frames
        double read;
        bool stalled;  // the server had taken nothing since the report before
    };

    double frameAt(qint64 ns) const;
    qint64 heardFrame(qint64 now) const { return qint64(std::llround(frameAt(now))); }
    qint64 safeFrame(qint64 now) const;
    qint64 plannedStart(const Voice& v) const;
    qint64 plannedEnd(const Voice& v) const;
    qint64 soundFrame(const Voice& v, qint64 start, qint64 engineFrame) const;
    std::vector<Voice>::iterator find(quint64 id);
    std::vector<Voice>::const_iterator find(quint64 id) const;
    void place(Voice& v, qint64 from, qint64 end);
    void takeMix(qint64 from, qint64 end);
    void mixAndWrite(StreamPort& port, qint64 from, qint64 count);
    void markDirty(qint64 frame);
    void fit(qint64 now);
    // Leaves out of points, reports of a clock read in blocks, those answered late.
    void leaveOutLate(std::vector<Report>& points, double block) const;
    void lateBy(qint64 ns);
    void restartModel(const Report& r);
    // Moves the reports from before the latest missed block by so many frames.
    void moveReports(double frames);
    void replaceTimed(qint64 from);
    void dropEnded(qint64 heard, qint64 now);
    void wakeOutput();

    mutable std::mutex m_mutex;
    std::atomic<int> m_underflows {0};
    Clock m_clock;
    std::unique_ptr<AudioOutput> m_output;
    std::vector<Voice> m_voices;  // in the order of their ids
    quint64 m_nextId = 1;
    qint64 m_lastAsapNs = std::numeric_limits<qint64>::min() / 2;
    qint64 m_lastAsapFrame = 0;
    qint64 m_lastActivityNs = std::numeric_limits<qint64>::min() / 2;

    // The timeline: frame f0 is heard at t0; fps frames a second of the steady clock.
    qint64 m_t0 = 0;
    double m_f0 = 0.0;
    double m_fps = rate;
    bool m_resync = false;
    // The timeline as it was when the voices given a time were placed.
    qint64 m_placedT0 = 0;
    double m_placedF0 = 0.0;
    double m_placedFps = rate;
    std::deque<Report> m_reports;    // the stream's latest reports of its clock
    std::deque<Report> m_history;    // and one a second from longer ago
    std::vector<Report> m_points;
    std::vector<Report> m_suspects;  // reports far off the model, until a second one agrees
    std::vector<Report> m_behind;    // reports a block or more behind the line, until enough agree
    struct Shift
    {
        double back = 0;  // frames the line went back when the server was taken to miss a block
        qint64 atNs = 0;  // the report that told
        qint64 beforeNs = 0;  // the reports moved were those up to this one
    };
    Shift m_shift;
    qint64 m_firstReportNs = 0;      // the stream's first report
    double m_lastRead = 0;           // where the server had read to at the latest report
    double m_scatter = 0;            // how far the reports lie apart around the model
    double m_step = 0;               // the least the heard frame was seen to move at once
    bool m_inBlocks = false;         // the reports fit in a band one block high
    qint64 m_lead = unknownLeadFrames;
    qint64 m_startLead = unknownLeadFrames;  // taken until the stream's reports tell

    struct Lateness
    {
        qint64 atNs;
        qint64 frames;
    };
    std::deque<Lateness> m_lateness;  // how late the output's thread came lately
    qint64 m_latenessFrames = 0;

    // The stream being written.
    bool m_streaming = false;
    qint64 m_base = 0;      // the engine frame of the stream's first frame
    qint64 m_written = 0;   // the engine frame after the last written
    bool m_fresh = false;   // nothing written to the stream yet
    qint64 m_dirty = std::numeric_limits<qint64>::max();
    qint64 m_resumeFrame = std::numeric_limits<qint64>::max();  // where the rest of a change goes on
    qint64 m_stretch = 0;                                        // the stretch of it written last

    // The stream's thread's own: what it mixes, and the limiter's gain after each frame written
    // lately, to write a stretch again from where it was; indexed by engine frame.
    std::vector<Mixed> m_mixed;
    std::vector<float> m_gains;
    qint64 m_gainsEnd = 0;
    std::vector<float> m_mix;
};

} // namespace QMMultiMedia
