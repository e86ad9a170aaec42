#include "QMMultiMedia/AudioEngine.h"

#include "QMMultiMedia/AudioMix.h"
#include "QMMultiMedia/DecodedSound.h"
#include "QMMultiMedia/StreamLog.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace QMMultiMedia {

namespace {

constexpr qint64 chunkFrames = 4096;
constexpr qint64 gainFrames = qint64(1) << 17;  // about three seconds
constexpr qint64 never = std::numeric_limits<qint64>::max();
// Voices without a time asked for within this of one another start together.
constexpr qint64 togetherNs = 1'000'000;

// The latest reports of the stream's clock, which the timeline is drawn over.
constexpr size_t reportsKept = 128;
// Reports kept to tell the clock's rate: one a second for some minutes.
constexpr size_t historyKept = 180;
constexpr qint64 historyStepNs = 1'000'000'000;
// A server that reads blocks of this length or longer is seen to (PipeWire's smallest quantum
// lasts 5.3 ms; a server that moves its clock by less between reports reports it as it goes on).
constexpr double blockMinMs = 4;
// Reports a block and this much behind the line, this many in a row, tell that it missed a block:
// a graph at another rate hands over blocks a frame or two apart in length (470 or 471 of ours at
// 48 kHz), and one report can be late on its own, the next ones, some 100 ms on, not.
constexpr double blockSlackFrames = 4;
constexpr int behindReports = 3;
// Reports can lie a block behind the line with no block missed: three from the bottom of the band,
// when the line ran 30 frames high (its rate 70 ppm off for a while, under a build), or a few that
// the server answered from a moment before. Once the line went back, a report this far above it
// within this time tells that it should not have: after a real miss none lies above the moved line
// by more than the line's own error (under 60 frames, a tenth of PipeWire's smallest block we ask
// for, was the most seen), and the first reports after a false one come back within a second.
constexpr double aboveShiftBlocks = 0.25;
constexpr qint64 shiftDoubtedNs = 5'000'000'000;
// How closely the time of a report is known: beside a build, PipeWire's layer was seen to take up
// to 2.1 ms to answer (the sound log's "answered after"), and a report is timed within that.
constexpr double reportTimeNs = 2'000'000;
// How far off a card's clock commonly runs, and how far it may.
constexpr double cardOffRate = 300e-6;
constexpr double maxOffRate = 0.002;
// A report far off the model is thrown away unless another agrees with it within this time.
constexpr qint64 suspectNs = 2'000'000'000;
// How long the stream's thread is remembered to have come late when woken.
constexpr qint64 latenessKeptNs = 5'000'000'000;
// How long a report of how far ahead the server has read counts in full.
constexpr qint64 leadHeldNs = 10'000'000'000;
// What a stream reports of its clock this soon after its first report is used only until later
// reports are enough.
constexpr qint64 settleNs = 100'000'000;

qint64 steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

AudioEngine::AudioEngine(Clock clock)
    : m_clock(std::move(clock))
    , m_gains(size_t(gainFrames), 1.0f)
{
    m_t0 = m_clock();
}

AudioEngine::~AudioEngine()
{
    // The output first: it stops serving before anything it serves goes.
    m_output.reset();
}

void AudioEngine::setOutput(std::unique_ptr<AudioOutput> output)
{
    m_output = std::move(output);
}

void AudioEngine::detach()
{
    {
        // The timeline goes on from where it is, on the steady clock.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_f0 = frameAt(m_clock());
        m_clock = steadyNs;
        m_t0 = m_clock();
        m_streaming = false;
    }
    m_output.reset();
}

qint64 AudioEngine::nowNs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_clock();
}

double AudioEngine::frameAt(qint64 ns) const
{
    return m_f0 + double(ns - m_t0) * m_fps / 1e9;
}

qint64 AudioEngine::safeFrame(qint64 now) const
{
    return heardFrame(now) + qMax(marginFrames, m_lead + transitFrames + m_latenessFrames);
}

void AudioEngine::noteLateness(qint64 ns)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    lateBy(ns);
}

void AudioEngine::lateBy(qint64 ns)
{
    // The most it was late in the last few seconds: those late by less than a later one are not
    // kept, so the first kept is the most.
    const qint64 now = m_clock();
    const qint64 frames = qBound<qint64>(0, ns, 100'000'000) * rate / 1'000'000'000;
    while (!m_lateness.empty() && m_lateness.back().frames <= frames)
        m_lateness.pop_back();
    while (!m_lateness.empty() && m_lateness.front().atNs < now - latenessKeptNs)
        m_lateness.pop_front();
    if (frames > 0)
        m_lateness.push_back({now, frames});
    m_latenessFrames = m_lateness.empty() ? 0 : m_lateness.front().frames;
}

qint64 AudioEngine::plannedStart(const Voice& v) const
{
    if (v.placed)
        return v.start;
    return v.spec.atNs >= 0 ? qint64(std::llround(frameAt(v.spec.atNs))) : v.asapFrame;
}

qint64 AudioEngine::plannedEnd(const Voice& v) const
{
    // A streamed sound's length may change while it plays, once its end has been decoded.
    return plannedStart(v) + v.spec.sound->frames() - v.spec.offset;
}

qint64 AudioEngine::soundFrame(const Voice& v, qint64 start, qint64 engineFrame) const
{
    return v.spec.offset + engineFrame - start;
}

std::vector<AudioEngine::Voice>::iterator AudioEngine::find(quint64 id)
{
    const auto it = std::lower_bound(m_voices.begin(), m_voices.end(), id,
                                     [](const Voice& v, quint64 i) { return v.id < i; });
    return it != m_voices.end() && it->id == id ? it : m_voices.end();
}

std::vector<AudioEngine::Voice>::const_iterator AudioEngine::find(quint64 id) const
{
    return const_cast<AudioEngine*>(this)->find(id);
}

void AudioEngine::wakeOutput()
{
    if (m_output)
        m_output->wake();
}

void AudioEngine::markDirty(qint64 frame)
{
    if (m_streaming)
        m_dirty = qMin(m_dirty, frame);
}

quint64 AudioEngine::add(const VoiceSpec& spec)
{
    quint64 id;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const qint64 now = m_clock();
        // Without a stream nothing else lets go of the voices whose time is over.
        if (!m_streaming)
            dropEnded(heardFrame(now), now);
        id = m_nextId++;
        Voice v {id, spec};
        // Voices asked for together (the notes of a chord) start at the same frame, and one asked
        // for after another never before it: how far ahead is safe shrinks once a busy moment is
        // past.
        if (spec.atNs < 0 && now - m_lastAsapNs > togetherNs)
            m_lastAsapFrame = qMax(m_lastAsapFrame, m_streaming ? safeFrame(now) : heardFrame(now));
        if (spec.atNs < 0)
            m_lastAsapNs = now;
        v.asapFrame = m_lastAsapFrame;
        m_voices.push_back(v);
        markDirty(plannedStart(v));
        m_lastActivityNs = now;
    }
    wakeOutput();
    return id;
}

qint64 AudioEngine::remove(quint64 id, bool* heard)
{
    qint64 position = -1;
    bool sounded = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = find(id);
        if (it == m_voices.end()) {
            if (heard)
                *heard = false;
            return -1;
        }
        const qint64 now = m_clock();
        const qint64 at = heardFrame(now);
        const qint64 start = plannedStart(*it);
        const qint64 length = it->spec.sound->frames();
        sounded = !it->dropped && at >= start;
        if (!it->dropped && at < plannedEnd(*it)) {
            position = qBound(it->spec.offset, soundFrame(*it, start, at), length);
            if (it->placed)
                markDirty(qMax(it->start, safeFrame(now)));
        }
        m_voices.erase(it);
        m_lastActivityNs = now;
    }
    if (heard)
        *heard = sounded;
    wakeOutput();
    return position;
}

AudioEngine::VoiceState AudioEngine::state(quint64 id) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    VoiceState s;
    const auto it = find(id);
    if (it == m_voices.end() || it->dropped)
        return s;
    const qint64 at = heardFrame(m_clock());
    const qint64 start = plannedStart(*it);
    const qint64 length = it->spec.sound->frames();
    s.position = qBound(it->spec.offset, soundFrame(*it, start, at), length);
    s.playing = it->placed ? at < plannedEnd(*it) : s.position < length;
    return s;
}

void AudioEngine::setGains(quint64 id, float left, float right)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = find(id);
        if (it == m_voices.end())
            return;
        it->spec.left = left;
        it->spec.right = right;
        if (it->placed)
            markDirty(qMax(it->start, safeFrame(m_clock())));
    }
    wakeOutput();
}

int AudioEngine::voiceCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_voices.size());
}

bool AudioEngine::isStreaming() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_streaming;
}

qint64 AudioEngine::leadFrames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lead;
}

qint64 AudioEngine::nextBlockNs(qint64 earliestNs) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_streaming || m_resync || !m_inBlocks)
        return -1;
    // The line meets the frame the server reports heard at each moment it reads a block: a whole
    // number of blocks on from the latest report.
    const double last = m_reports.back().heard;
    const double next = last + std::ceil((frameAt(earliestNs) - last) / m_step) * m_step;
    return m_t0 + qint64((next - m_f0) / m_fps * 1e9);
}

AudioEngine::Positions AudioEngine::positions() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const qint64 now = m_clock();
    return {heardFrame(now) - m_base, safeFrame(now) - m_base, m_written - m_base, m_lead, m_latenessFrames};
}

bool AudioEngine::wantsStream() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_voices.empty() || m_clock() - m_lastActivityNs < idleNs;
}

void AudioEngine::streamStarted()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_streaming = true;
    m_base = heardFrame(m_clock()) + marginFrames;
    m_written = m_base;
    m_lastRead = double(m_base);
    m_fresh = true;
    m_dirty = m_resumeFrame = never;
    // Where the last stream placed the voices given a time holds for its clock, not for this one's:
    // those it had not begun are placed again once this stream reports its clock, and the rest of
    // a beat it had begun is let go.
    for (Voice& v : m_voices) {
        if (v.spec.atNs < 0 || !v.placed || plannedEnd(v) <= m_base)
            continue;
        if (v.start >= m_base)
            v.placed = false;
        else if (v.spec.beat)
            v.dropped = true;
    }
    // Until the stream reports, its clock is taken to be the model's; its first report is taken as
    // it is. It most likely plays to the sink the last one played to, which reads it as far ahead.
    m_resync = true;
    m_reports.clear();
    m_suspects.clear();
    m_scatter = 0;
    m_step = 0;
    m_inBlocks = false;
    m_startLead = qMax(unknownLeadFrames, m_lead);
    m_lead = m_startLead;
}

void AudioEngine::streamStopped()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_streaming = false;
}

void AudioEngine::streamMoved()
{
    // The timeline goes on as it was until the next report, from which it is drawn again.
    // A new sink may read in blocks of another length, or not in blocks at all.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_resync = m_streaming;
    m_step = 0;
    m_inBlocks = false;
}

void AudioEngine::replaceTimed(qint64 from)
{
    m_placedF0 = m_f0;
    m_placedT0 = m_t0;
    m_placedFps = m_fps;
    // Voices given a time that begin from `from` on (or wait to be placed) go where that time now
    // falls; what is written is written again from the first place any of them leaves or goes to.
    qint64 first = never;
    for (Voice& v : m_voices) {
        if (v.spec.atNs < 0 || v.dropped || (v.placed && v.start < from))
            continue;
        if (v.placed) {
            first = qMin(first, v.start);
            v.placed = false;
        }
        first = qMin(first, qMax(from, plannedStart(v)));
    }
    if (first != never)
        markDirty(first);
}

void AudioEngine::moveReports(double frames)
{
    for (std::deque<Report>* reports : {&m_reports, &m_history}) {
        for (Report& x : *reports) {
            if (x.atNs <= m_shift.beforeNs) {
                x.heard += frames;
                x.read += frames;
            }
        }
    }
    m_lastRead += frames;
}

void AudioEngine::restartModel(const Report& r)
{
    m_behind.clear();
    m_shift.back = 0;
    logStream("the model starts again from a report of frame %.0f", r.heard - m_base);
    m_reports.assign(1, r);
    m_history.clear();
    m_suspects.clear();
    m_f0 = r.heard;
    m_t0 = r.atNs;
    m_scatter = 0;
    m_lead = qMax(m_startLead, qint64(std::ceil(r.read - r.heard)));
    m_resync = false;
    replaceTimed(safeFrame(m_clock()));
}

namespace {

// The slopes (frames a second) at which points, reports of a clock that goes on in blocks of
// `height` frames, lie in a band one block high, and the likeliest of them: the middle of that
// range. Reports that scatter more than a block (a clock that moves smoothly, reported with some
// jitter) fit no such band: then the range is that of the narrowest band they fit in, and the
// likeliest slope that band's. The times of a server's reports are known to some microseconds, and
// a band is taken to be one block high within as much: PipeWire's layer, reporting in blocks of 512
// frames, was seen to lie in a band 514 to 516 frames high now and then for minutes on end, and
// taken for a clock that moves smoothly, its rate was drawn from the reports by least squares and
// was soon 100 ppm off.
constexpr double bandSlackFrames = 8;

struct Slopes
{
    double low;
    double high;
    double best;
    bool inBlocks;  // the points fit in a band one block high
};

template <typename Points>
Slopes slopesWithin(const Points& points, qint64 originNs, double height, double from, double to)
{
    const auto spreadAt = [&](double slope) {
        double high = -1e300, low = 1e300;
        for (const auto& r : points) {
            const double offset = r.heard - slope * double(r.atNs - originNs) / 1e9;
            high = qMax(high, offset);
            low = qMin(low, offset);
        }
        return high - low;
    };
    const double precision = 0.01;
    double lo = from, hi = to;
    while (hi - lo > precision) {
        const double a = lo + (hi - lo) / 3, b = hi - (hi - lo) / 3;
        if (spreadAt(a) <= spreadAt(b))
            hi = b;
        else
            lo = a;
    }
    const double best = (lo + hi) / 2;
    const double narrowest = spreadAt(best);
    const double level = qMax(height, narrowest) + 2;
    // Each side of the narrowest band, the band grows: where it reaches the level.
    const auto edge = [&](double inside, double outside) {
        while (std::fabs(outside - inside) > precision) {
            const double middle = (inside + outside) / 2;
            (spreadAt(middle) <= level ? inside : outside) = middle;
        }
        return inside;
    };
    Slopes within {edge(best, from), edge(best, to), best, height > 0 && narrowest <= height + bandSlackFrames};
    if (within.inBlocks)
        within.best = (within.low + within.high) / 2;
    return within;
}

// The straight line through points (least squares): its slope, and that slope's standard error.
struct Slope
{
    double value = 0;
    double error = 0;
};

template <typename Points>
Slope slopeThrough(const Points& points, qint64 originNs, double originFrame)
{
    double st = 0, sf = 0, stt = 0, stf = 0, sff = 0;
    const double n = double(points.size());
    for (const auto& r : points) {
        const double t = double(r.atNs - originNs) / 1e9;
        const double f = r.heard - originFrame;
        st += t;
        sf += f;
        stt += t * t;
        stf += t * f;
        sff += f * f;
    }
    Slope s;
    const double sxx = stt - st * st / n;
    s.value = (stf - st * sf / n) / sxx;
    const double residual = qMax(0.0, (sff - sf * sf / n) - s.value * (stf - st * sf / n));
    s.error = std::sqrt(residual / (n - 2) / sxx);
    return s;
}

} // namespace

void AudioEngine::leaveOutLate(std::vector<Report>& points, double block) const
{
    // Beside each report, those within a couple of seconds of it, at the rate taken so far (which
    // may be a card's few hundred ppm off the true one: over 2 s that parts them by 26 frames at
    // most, allowed for below, while a late report lies a block and more below its neighbours).
    constexpr qint64 nearNs = 2'000'000'000;
    const double slack = block + bandSlackFrames;
    const auto offset = [this](const Report& r) { return r.heard - m_fps * double(r.atNs - m_t0) / 1e9; };
    std::vector<bool> late(points.size(), false);
    size_t from = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (points[i].atNs - points[from].atNs > nearNs)
            ++from;
        for (size_t j = from; j < points.size() && points[j].atNs - points[i].atNs <= nearNs; ++j) {
            const double apart = rate * cardOffRate * std::fabs(double(points[j].atNs - points[i].atNs)) / 1e9;
            if (offset(points[j]) - offset(points[i]) > slack + apart) {
                late[i] = true;
                break;
            }
        }
    }
    if (std::count(late.begin(), late.end(), false) < 4)
        return;
    size_t kept = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        if (!late[i])
            points[kept++] = points[i];
    }
    points.resize(kept);
}

void AudioEngine::fit(qint64 now)
{
    // The line over the reports. A server that reads a block at a time reports where it has read
    // to: the frame it says is heard is right when it has just read a block and falls behind
    // until it reads the next; a stream that is starting, or a report answered late, falls
    // behind too. None is ever ahead.
    //
    // Its rate comes from a long history of reports, one a second for some minutes, and the latest
    // ones: the reports of a clock that goes on in blocks lie in a band one block high, tilted by
    // the clock's rate, and every rate that keeps them in such a band is as likely (with the
    // block's size seen from reports that came close together). The more reports, and the longer
    // they span, the narrower that range. A least-squares line would go by every report, and
    // reports spread evenly over a block of 20 ms or more tell it a rate a few hundred ppm off for
    // seconds, which moves the line by a millisecond where it runs through old reports. The rate
    // is taken as far from the nominal one as that range allows, against a card a few hundred ppm
    // off.
    const Report& last = m_reports.back();
    // (Not from a stream's first moments: a server may take a while to read a new stream steadily.)
    if (last.atNs - m_firstReportNs >= settleNs
        && (m_history.empty() || last.atNs - m_history.back().atNs >= historyStepNs)) {
        m_history.push_back(last);
        if (m_history.size() > historyKept)
            m_history.pop_front();
    }
    const auto offset = [&](const Report& r, double fps) {
        return r.heard - last.heard - fps * double(r.atNs - last.atNs) / 1e9;
    };
    // (The history before the latest reports, and those.)
    std::vector<Report>& points = m_points;
    points.clear();
    for (const Report& r : m_history) {
        if (r.atNs < m_reports.front().atNs)
            points.push_back(r);
    }
    points.insert(points.end(), m_reports.begin(), m_reports.end());
    double fps = rate;
    const qint64 span = points.back().atNs - points.front().atNs;
    if (points.size() >= 4 && span >= 1'000'000'000) {
        // (Steps of a few milliseconds or less are those of a clock reported as it goes on.)
        const double block = m_step >= rate * blockMinMs / 1000.0 ? m_step : 0.0;
        // (A report answered late lies more than a block below those about it; one or two such
        // would keep the rest from fitting in a band one block high. They tell the rate nothing.)
        if (block > 0)
            leaveOutLate(points, block);
        const Slopes within = slopesWithin(points, last.atNs, block, rate * (1 - maxOffRate), rate * (1 + maxOffRate));
        // (Reports that scatter rather than step, or step by little, tell the rate best by least
        // squares.)
        const Slope through = within.inBlocks ? Slope() : slopeThrough(points, last.atNs, last.heard);
        const double slope = within.inBlocks ? within.best : through.value;
        // (However closely the reports agree, their times are known only to a millisecond or two:
        // a busy machine answers late now and then. Over a few seconds that tells a rate no closer
        // than some hundred ppm, less than most cards are off.)
        const double floor = rate * reportTimeNs / double(span);
        const double error = qMax(floor, within.inBlocks ? (within.high - within.low) / 2 / std::sqrt(3.0) : through.error);
        const double spread = rate * cardOffRate;
        const double prior = 1 / (spread * spread);
        const double measured = error > 0 ? 1 / (error * error) : 1e30;
        if (std::isfinite(slope) && std::isfinite(error))
            fps = qBound(rate * (1 - maxOffRate), (rate * prior + slope * measured) / (prior + measured),
                         rate * (1 + maxOffRate));
        m_inBlocks = within.inBlocks;
    }
    m_fps = fps;

    // At that rate the line runs over the highest of the latest reports.
    double high = -1e18, low = 1e18;
    for (const Report& r : m_reports) {
        high = qMax(high, offset(r, m_fps));
        low = qMin(low, offset(r, m_fps));
    }
    m_f0 = last.heard + high;
    m_t0 = last.atNs;
    m_scatter = qMin(high - low, double(rate) / 10);
    const double n = double(m_reports.size());

    // How far ahead of the frame being heard the server may have read: as far ahead of the
    // frame it reported heard as it said it had read lately. What a report said counts for a
    // while, then less and less as that much could have been played since; at once when the
    // server had taken nothing of the stream since the report before (a sink playing out what it
    // held before the stream began, say).
    double lead = 0, aheadLow = 1e18, aheadHigh = 0;
    for (const Report& r : m_reports) {
        const double age = double(last.atNs - r.atNs - (r.stalled ? 0 : leadHeldNs)) / 1e9;
        lead = qMax(lead, r.read - r.heard - qMax(0.0, age) * rate);
        aheadLow = qMin(aheadLow, r.read - r.heard);
        aheadHigh = qMax(aheadHigh, r.read - r.heard);
    }
    // A server that reads in large blocks (a pipe's worth) may read further ahead than any report
    // caught it: as far as the reports vary, over how many there are.
    lead += qMin(aheadHigh - aheadLow, double(rate) / 10) * 4 / n;
    // The highest report may have come some way after the server read a block: as far as the
    // reports lie apart, over how many there are.
    lead += m_scatter * 4 / n;
    m_lead = qint64(std::ceil(m_reports.size() < size_t(leadReports) ? qMax(lead, double(m_startLead)) : lead));

    // The line has moved by more than a little since the voices given a time were placed (as
    // the first reports of a stream come in, or little by little): what is to be heard later than
    // a moment from now follows; what is nearer may be at the server already.
    const qint64 soon = now + 1'000'000'000;
    const double moved = frameAt(soon) - (m_placedF0 + double(soon - m_placedT0) * m_placedFps / 1e9);
    if (std::fabs(moved) > rate / 2000.0) {
        logStream("line moved by %.1f frames (rate %.2f, %s, lead %lld): voices given a time placed again", moved, m_fps,
                  m_inBlocks ? "reports in blocks" : "reports scatter", m_lead);
        replaceTimed(qMax(heardFrame(now) + rate / 20, safeFrame(now)));
    }
}

void AudioEngine::observe(qint64 heard, qint64 read, qint64 atNs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // A report of a frame not yet written is believed up to a minute ahead: a server catching up
    // after it was stopped plays (and drops) a stream's frames fast for a moment.
    if (!m_streaming || heard < -rate || m_base + heard > m_written + 60 * rate)
        return;
    const double readTo = double(m_base + qMax(read, heard));
    const Report r {atNs, double(m_base + heard), readTo, readTo <= m_lastRead};
    // The least the heard frame was seen to move between two reports: the server's block, when
    // it reports its clock in blocks, once reports came often enough.
    if (!m_reports.empty() && r.heard > m_reports.back().heard) {
        const double step = r.heard - m_reports.back().heard;
        m_step = m_step > 0 ? qMin(m_step, step) : step;
    }
    m_lastRead = qMax(m_lastRead, readTo);
    if (m_resync) {
        restartModel(r);
        m_firstReportNs = atNs;
        return;
    }
    const qint64 now = m_clock();
    double off = r.heard - frameAt(r.atNs);
    // A server that reads in blocks and missed one (its thread came too late for a cycle of its
    // graph) played silence instead, and plays the rest of the stream a block later: its reports
    // fall a whole block or more behind the line, where none lies otherwise. Once a few in a row
    // do, the line and the reports before go back by the blocks missed, and the voices given a
    // time follow.
    if (m_inBlocks && m_reports.size() >= size_t(leadReports) && off < -(m_step + blockSlackFrames)) {
        m_behind.push_back(r);
        if (m_behind.size() < size_t(behindReports))
            return;
        double nearest = -1e300;
        for (const Report& b : m_behind)
            nearest = qMax(nearest, b.heard - frameAt(b.atNs));
        const double back = std::floor(-nearest / m_step) * m_step;
        logStream("the server fell %.0f frames behind (%.0f blocks)", back, back / m_step);
        // What it said before it missed the block goes back; a report since that lay within a block
        // of the line (it came just after the server read one) lies where it belongs already, and
        // moved, would lie a block below the rest. The latest report higher than any since the miss
        // can lie was before it.
        m_shift = {back, r.atNs, std::numeric_limits<qint64>::min()};
        for (const Report& x : m_reports) {
            if (x.heard - frameAt(x.atNs) > blockSlackFrames - back)
                m_shift.beforeNs = x.atNs;
        }
        moveReports(-back);
        m_reports.insert(m_reports.end(), m_behind.begin(), m_behind.end());
        m_behind.clear();
        m_suspects.clear();
        while (m_reports.size() > reportsKept)
            m_reports.pop_front();
        fit(now);
        return;
    }
    m_behind.clear();
    // Above the line soon after it went back a block: the server had not missed one. The line goes
    // back up.
    if (m_shift.back > 0 && m_shift.beforeNs > std::numeric_limits<qint64>::min() && r.atNs - m_shift.atNs < shiftDoubtedNs
        && off > m_step * aboveShiftBlocks) {
        logStream("the server had not fallen behind: the line goes %.0f frames up again", m_shift.back);
        moveReports(m_shift.back);
        // (The reports that lagged are let go.)
        const auto lagged = [this](const Report& x) { return x.atNs > m_shift.beforeNs && x.atNs <= m_shift.atNs; };
        m_reports.erase(std::remove_if(m_reports.begin(), m_reports.end(), lagged), m_reports.end());
        m_history.erase(std::remove_if(m_history.begin(), m_history.end(), lagged), m_history.end());
        m_shift.back = 0;
        fit(now);
        off = r.heard - frameAt(r.atNs);
    }
    // Ahead of the line, or further behind it than the reports lie: the stream stalled or
    // started over, or the report is a stray one. Once a second report agrees with it, the line
    // starts again from them.
    if (m_reports.size() >= size_t(leadReports) && (off > breakFrames || off < -(breakFrames + m_scatter))) {
        if (!m_suspects.empty() && r.atNs - m_suspects.back().atNs < suspectNs) {
            const Report& s = m_suspects.back();
            const double drift = (r.heard - s.heard) - m_fps * double(r.atNs - s.atNs) / 1e9;
            if (std::fabs(drift) <= breakFrames + m_scatter) {
                const Report first = s;
                restartModel(first);
                m_reports.push_back(r);
                fit(now);
                return;
            }
        }
        m_suspects.assign(1, r);
        return;
    }
    m_suspects.clear();
    m_reports.push_back(r);
    if (m_reports.size() > reportsKept)
        m_reports.pop_front();
    // A stream's first reports are left out once there are enough after them: a server may take a
    // moment to read a new stream steadily.
    const auto settled = std::count_if(m_reports.begin(), m_reports.end(),
                                       [this](const Report& x) { return x.atNs - m_firstReportNs >= settleNs; });
    while (settled >= leadReports && m_reports.front().atNs - m_firstReportNs < settleNs)
        m_reports.pop_front();
    fit(now);
}

void AudioEngine::dropEnded(qint64 heard, qint64 now)
{
    // Without a stream, a voice is over when its time is; a beat that was due a while ago is
    // dropped as a stream would have dropped it.
    const bool streaming = m_streaming;
    const auto over = [&](const Voice& v) {
        if (v.dropped || (v.placed && heard >= plannedEnd(v)))
            return true;
        return !streaming && !v.placed
            && (heard >= plannedEnd(v) || (v.spec.beat && heard - plannedStart(v) > beatLateFrames));
    };
    const size_t before = m_voices.size();
    m_voices.erase(std::remove_if(m_voices.begin(), m_voices.end(), over), m_voices.end());
    if (m_voices.size() != before)
        m_lastActivityNs = now;
}

void AudioEngine::place(Voice& v, qint64 from, qint64 end)
{
    // A voice given a time waits for the new stream's first report of its clock.
    if (v.placed || (m_resync && v.spec.atNs >= 0))
        return;
    qint64 start = plannedStart(v);
    if (start >= end)
        return;
    if (start < from) {
        // Late: what was asked for could not be written in time.
        const qint64 late = from - start;
        if (v.spec.beat && late > beatLateFrames) {
            v.dropped = true;
            return;
        }
        if (v.spec.beat || late <= shiftFrames)
            start = from;
        // Otherwise it went on unheard: the rest plays where it is by now.
    }
    v.start = start;
    v.placed = true;
}

void AudioEngine::takeMix(qint64 from, qint64 end)
{
    m_mixed.clear();
    for (Voice& v : m_voices) {
        place(v, from, end);
        if (v.placed && v.start < end && plannedEnd(v) > from)
            m_mixed.push_back({v.spec.sound, v.spec.offset, v.start, plannedEnd(v), v.spec.left, v.spec.right});
    }
}

void AudioEngine::mixAndWrite(StreamPort& port, qint64 from, qint64 count)
{
    // On the stream's thread, without the lock: the GUI thread never waits for this.
    const qint64 base = m_base;
    while (count > 0) {
        const qint64 n = qMin(count, chunkFrames);
        m_mix.assign(size_t(2 * n), 0.0f);
        for (const Mixed& m : m_mixed) {
            const qint64 a = qMax(from, m.start);
            const qint64 b = qMin(from + n, m.end);
            // Sounds are decoded at the engine's rate: frame for frame.
            if (a < b)
                m.sound->mixInto(m_mix.data() + 2 * (a - from), m.offset + a - m.start, b - a, m.left, m.right);
        }
        // The limiter goes on from the gain it had before the first frame of this stretch.
        const bool known = from - 1 < m_gainsEnd && from - 1 >= m_gainsEnd - gainFrames;
        float gain = m_gains[size_t((known ? from - 1 : m_gainsEnd - 1) & (gainFrames - 1))];
        for (qint64 i = 0; i < n;) {
            const qint64 at = (from + i) & (gainFrames - 1);
            const qint64 run = qMin(n - i, gainFrames - at);
            gain = limitStereo(m_mix.data() + 2 * i, run, gain, m_gains.data() + at);
            i += run;
        }
        m_gainsEnd = qMax(m_gainsEnd, from + n);
        port.write(from - base, m_mix.data(), n);
        from += n;
        count -= n;
    }
    m_mixed.clear();
}

bool AudioEngine::serve(StreamPort& port)
{
    qint64 from = 0;
    qint64 count = 0;
    qint64 began = 0;
    bool more = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_streaming)
            return false;
        const qint64 now = m_clock();
        began = now;
        const qint64 heard = heardFrame(now);
        // Nothing of a stream that has not started has been taken yet.
        const qint64 safe = m_fresh ? qMax(m_base, heard) : safeFrame(now);
        m_fresh = false;
        dropEnded(heard, now);
        // Held up for longer than what was written lasts: what should have sounded meanwhile is past.
        if (m_written < safe)
            m_written = safe;
        // Written beyond what the server may have taken, however far ahead it reads.
        const qint64 ahead = safeFrame(now) + aheadFrames;
        // A change is written again from the first frame the server cannot have taken, a short
        // stretch first: it goes to the server before the rest is mixed, so the start of a new
        // sound arrives in time however long the whole change takes to mix. Each further stretch
        // is twice the one before, up to a bound, and follows in a moment, so that the thread
        // never holds a core for long; the last one goes on to what is written ahead, since a
        // server may have let go of what followed the stretch before.
        const qint64 change = qMax(m_dirty, safe);
        const bool resuming = change == m_resumeFrame;
        m_dirty = m_resumeFrame = never;
        if (change < m_written) {
            m_stretch = resuming ? qMin(2 * m_stretch, lastStretchFrames) : firstStretchFrames;
            from = change;
            if (change + m_stretch < m_written) {
                count = m_stretch;
                m_dirty = m_resumeFrame = change + m_stretch;
                more = true;
            } else {
                count = qMax(m_written, ahead) - change;
                m_written = change + count;
            }
        } else if (ahead > m_written) {
            from = m_written;
            count = ahead - m_written;
            m_written = ahead;
        }
        if (count > 0)
            takeMix(from, from + count);
    }
    if (count > 0) {
        mixAndWrite(port, from, count);
        // What is written reaches the server only after this; on a busy machine that took a while.
        std::lock_guard<std::mutex> lock(m_mutex);
        lateBy(m_clock() - began);
    }
    return more;
}

} // namespace QMMultiMedia
