// The sound engine without a device and without real time, on a fake server whose stream the test
// plays by hand: the limiter, file decoding (and resampling to the engine's rate), voices placed on
// the stream's frames (given late, taken back), the file player on the stream, and the native
// player's 500 ms end-of-sound logic.

#include "Pitch.h"
#include "FakeAudioBackend.h"
#include "ToneFiles.h"

#include "QMMultiMedia/AudioMix.h"
#include "QMMultiMedia/DecodedSound.h"
#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/NativeAudioPlayerInternal.h"
#include "QMMultiMedia/PlatformAudioPlayer.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"
#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include "TestMain.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

using namespace QMMultiMedia;
using TestAudio::FakeAudioBackend;

class TestAudioEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString tone(const QString& name, double seconds, double hz = 440.0, int channels = 1, float amplitude = 0.5f)
    {
        const QString path = m_dir.filePath(name);
        if (!QFile::exists(path))
            TestAudio::writeTone(path, hz, seconds, channels, amplitude);
        return path;
    }
    static constexpr int kRate = AudioEngine::rate;
    // A sound played now is heard from the earliest frame the stream can change.
    static constexpr double kStartMs = AudioEngine::marginFrames * 1000.0 / kRate;
    static bool near(double seconds, double expected) { return qAbs(seconds - expected) <= 1.5 / kRate; }
    // Left samples of the stream from a frame on, against the source's frames from another.
    static bool sameAs(const TestAudio::FakeStream& s, qint64 frame, const std::vector<float>& source, qint64 from,
                       int count)
    {
        for (int i = 0; i < count; ++i) {
            if (qAbs(s.at(frame + i, 0) - source[size_t(from + i)]) > 1e-4f) {
                qWarning("frame %lld: %f, not %f", frame + i, s.at(frame + i, 0), source[size_t(from + i)]);
                return false;
            }
        }
        return true;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void panGains_data()
    {
        QTest::addColumn<float>("pan");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("right");
        QTest::newRow("centre") << 0.0f << 1.0f << 1.0f;
        QTest::newRow("full left") << -1.0f << 1.0f << 0.0f;
        QTest::newRow("half right") << 0.5f << 0.5f << 1.0f;
        QTest::newRow("beyond right is clamped") << 3.0f << 0.0f << 1.0f;
        QTest::newRow("not a number is centre") << float(NAN) << 1.0f << 1.0f;
    }
    void panGains()
    {
        QFETCH(float, pan);
        QFETCH(float, left);
        QFETCH(float, right);
        const PanGains g = QMMultiMedia::panGains(pan);
        QCOMPARE(g.left, left);
        QCOMPARE(g.right, right);
    }

    void limiterKeepsTheSumBelowFullScale()
    {
        // Quiet frames pass as they are; a sum far beyond full scale stays below it, then the gain
        // comes back.
        std::vector<float> frames = {0.5f, -0.5f, 3.0f, -2.0f, 0.9f, 0.9f};
        const float gain = limitStereo(frames.data(), 3, 1.0f);
        QCOMPARE(frames[0], 0.5f);
        QVERIFY(qAbs(frames[2]) <= mixCeiling && qAbs(frames[3]) <= mixCeiling);
        QVERIFY(frames[2] > 0.9f);
        QVERIFY(gain < 1.0f);
        std::vector<float> quiet(2 * kRate, 0.1f);
        QVERIFY(limitStereo(quiet.data(), kRate, gain) > 0.999f);

        // Six voices of a tone at full scale at once, as a loud chord over a beat.
        TestAudio::FakeAudioBackend backend;
        auto sound = DecodedSound::open(tone("loud.wav", 0.5, 220.0, 1, 0.95f));
        sound->decode();
        const auto engine = backend.engine();
        for (int i = 0; i < 6; ++i)
            engine->add({sound});
        backend.advanceMs(600);
        const auto& out = backend.last()->frames;
        float peak = 0;
        for (float v : out)
            peak = qMax(peak, qAbs(v));
        QVERIFY2(peak > 0.9f && peak <= mixCeiling, qPrintable(QString::number(peak)));
    }

    void fileFormats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exactLength");
        QTest::newRow("wav") << "f.wav" << true;
        QTest::newRow("aiff") << "f.aiff" << true;
        QTest::newRow("caf") << "f.caf" << true;
        QTest::newRow("flac") << "f.flac" << true;
        QTest::newRow("ogg") << "f.ogg" << true;
        QTest::newRow("mp3") << "f.mp3" << false;
    }
    void fileFormats()
    {
        // Every container written comes back with its length and its pitch.
        QFETCH(QString, name);
        QFETCH(bool, exactLength);
        const QString path = m_dir.filePath(name);
        QVERIFY(TestAudio::writeTone(path, 523.25, 0.8, 2));
        AudioFileReader reader;
        QVERIFY(reader.open(path));
        QCOMPARE(reader.sampleRate(), TestAudio::toneRate);
        QCOMPARE(reader.channels(), 2);
        const qint64 expected = qint64(std::lround(0.8 * TestAudio::toneRate));
        if (exactLength)
            QCOMPARE(reader.frames(), expected);
        else
            QVERIFY2(qAbs(reader.frames() - expected) <= 1152, qPrintable(QString::number(reader.frames())));
        std::vector<float> all = AudioFileReader::readAll(path);
        QVERIFY(all.size() >= size_t(expected) * 2 - 2304);
        std::vector<float> left;
        for (size_t i = 0; i < all.size(); i += 2)
            left.push_back(all[i]);
        const double hz = TestSupport::pitch(left.data() + 4000, 8000, TestAudio::toneRate, 523.25);
        QVERIFY2(qAbs(hz - 523.25) < 523.25 * 0.005, qPrintable(QString::number(hz)));
    }

    void filesAtOtherRates_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("heard");    // amplitude of the tone (0.5 in the file) once decoded
        QTest::addColumn<double>("aliasHz");  // where it would be heard if folded back; 0: nowhere
        QTest::newRow("15 kHz at 48 kHz") << 48000 << 1 << 15000.0 << 0.5 << 11100.0;
        QTest::newRow("30 kHz at 96 kHz, too high to keep") << 96000 << 1 << 30000.0 << 0.0 << 14100.0;
        QTest::newRow("1 kHz at 22.05 kHz") << 22050 << 1 << 1000.0 << 0.5 << 0.0;
        QTest::newRow("1 kHz at 48 kHz, stereo") << 48000 << 2 << 1000.0 << 0.5 << 0.0;
        QTest::newRow("1 kHz at 96 kHz, three channels") << 96000 << 3 << 1000.0 << 0.5 << 0.0;
        QTest::newRow("1 kHz at 44.1 kHz, as it is") << 44100 << 2 << 1000.0 << 0.5 << 0.0;
    }
    void filesAtOtherRates()
    {
        // A sound is decoded at the engine's rate, with the file's length, long enough for its end
        // to be decoded on the decoding thread. Each frame is checked as soon as it is published:
        // the tone as if made at the engine's rate (but for its 5 ms fades, which lie a few frames
        // apart at the two rates); a file at the engine's rate gives its own samples.
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(double, hz);
        QFETCH(double, heard);
        QFETCH(double, aliasHz);
        const double seconds = 10.0;
        const QString path = m_dir.filePath(QStringLiteral("r%1-%2-%3.wav").arg(rate).arg(channels).arg(hz));
        QVERIFY(TestAudio::writeTone(path, hz, seconds, channels, 0.5f, rate));
        AudioFileReader file;
        QVERIFY(file.open(path));
        auto sound = DecodedSound::open(path);
        QCOMPARE(sound->sampleRate(), kRate);
        QCOMPARE(sound->channels(), qMin(channels, 2));
        QCOMPARE(sound->frames(), qint64(std::llround(double(file.frames()) * kRate / rate)));
        QVERIFY(qAbs(sound->durationSeconds() - file.durationSeconds()) <= 0.5 / kRate);
        const std::vector<float> expected = rate == kRate
                                                ? AudioFileReader::readAll(path)
                                                : TestAudio::sineTone(hz, seconds, sound->channels(), float(heard), kRate);
        const float tolerance = rate == kRate ? 0.0f : 2e-4f;
        const qint64 fades = rate == kRate ? 0 : kRate / 160;
        sound->decode();
        QVERIFY(sound->readyFrames() >= qint64(DecodedSound::decodedAtOnceSeconds * kRate));
        size_t checked = 0;
        QElapsedTimer timer;
        timer.start();
        while (checked < expected.size() && timer.elapsed() < 10000) {
            for (const size_t ready = size_t(sound->readyFrames() * sound->channels()); checked < ready; ++checked) {
                const qint64 frame = qint64(checked) / sound->channels();
                if (frame >= fades && frame < sound->frames() - fades
                    && qAbs(sound->samples()[checked] - expected[checked]) > tolerance)
                    QFAIL(qPrintable(QStringLiteral("frame %1: %2").arg(frame).arg(sound->samples()[checked])));
            }
        }
        QCOMPARE(checked, expected.size());

        // What the engine plays of it, by spectrum: nothing folded back, against the tone (or full
        // scale when there is none to hear).
        FakeAudioBackend backend;
        backend.engine()->add({sound});
        backend.advanceMs(700);
        const double alias = TestAudio::toneLevel(backend.last()->frames.data() + kRate / 2, 16384, aliasHz, kRate, 2);
        QVERIFY2(aliasHz == 0 || alias < (heard > 0 ? heard : 1.0) * 1e-3,
                 qPrintable(QStringLiteral("%1 dBFS").arg(20 * std::log10(alias))));
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QString() << "missing.wav";
        QTest::newRow("text named mp3") << "not a sound at all" << "text.mp3";
        QTest::newRow("empty file") << "" << "empty.wav";
        QTest::newRow("empty path") << QString() << "";
    }
    void unreadableFiles()
    {
        QFETCH(QString, content);
        QFETCH(QString, name);
        QString path = name.isEmpty() ? QString() : m_dir.filePath(name);
        if (!content.isNull()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.toUtf8());
        }
        AudioFileReader reader;
        QVERIFY(!reader.open(path));
        QVERIFY(!PlatformAudioPlayer::create(path));
    }

    void writerRefusesUnknownContainer()
    {
        AudioFileWriter writer;
        QVERIFY(!writer.open(m_dir.filePath("x.xyz"), 44100, 2));
        QVERIFY(!writer.errorString().isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath("x.xyz")));
    }

    void playerFollowsTheStream()
    {
        // The sound goes out frame for frame from the stream's first frame, plays until its last
        // frame is heard, and the stream closes once it has been idle for a while.
        FakeAudioBackend backend;
        const QString path = tone("one.wav", 1.0);
        const std::vector<float> source = AudioFileReader::readAll(path);
        auto p = PlatformAudioPlayer::create(path);
        QVERIFY(p);
        QCOMPARE(p->duration(), 1.0);
        QVERIFY(!p->isPlaying());
        p->play();
        auto s = backend.last();
        QVERIFY(s && s->alive);
        backend.advanceMs(kStartMs + 400);
        QVERIFY(p->isPlaying());
        QVERIFY(near(p->currentTime(), 0.4));
        backend.advanceMs(598);
        QVERIFY(p->isPlaying());
        QVERIFY(sameAs(*s, 0, source, 0, kRate));
        QCOMPARE(s->firstLoud(kRate), qint64(-1));
        backend.advanceMs(3);
        QVERIFY(!p->isPlaying());
        QCOMPARE(p->currentTime(), 0.0);
        QCOMPARE(s->lateFrames, qint64(0));
        backend.advanceMs(AudioEngine::idleNs / 1e6 - 100);
        QVERIFY(s->alive);
        backend.advanceMs(200);
        QVERIFY(!s->alive);
    }

    void pauseStopAndSeek()
    {
        FakeAudioBackend backend;
        const QString path = tone("two.wav", 2.0);
        const std::vector<float> source = AudioFileReader::readAll(path);
        auto p = PlatformAudioPlayer::create(path);
        p->play();
        backend.advanceMs(kStartMs + 300);
        p->pause();
        QVERIFY(near(p->currentTime(), 0.3));
        // Silent from the earliest frame that can still change.
        auto s = backend.last();
        QCOMPARE(s->firstLoud(kRate * 3 / 10 + AudioEngine::marginFrames + 1), qint64(-1));
        backend.advanceMs(5000);
        QVERIFY(!p->isPlaying());
        QVERIFY(near(p->currentTime(), 0.3));
        // Resumed on a new stream (the old one closed while idle), from where it paused.
        p->play();
        auto s2 = backend.last();
        QVERIFY(s2 != s);
        QVERIFY(sameAs(*s2, 0, source, qint64(std::llround(p->currentTime() * kRate)), 1000));
        backend.advanceMs(kStartMs + 200);
        QVERIFY(near(p->currentTime(), 0.5));

        // Stop keeps the time; seeking while playing goes on from the new place.
        p->stop();
        QVERIFY(!p->isPlaying());
        QVERIFY(near(p->currentTime(), 0.5));
        p->play();
        backend.advanceMs(100);
        p->setCurrentTime(1.5);
        QCOMPARE(p->currentTime(), 1.5);
        // (The stream's clock is known to a frame.)
        const qint64 seekedAt = qint64(std::llround(s2->played)) + AudioEngine::marginFrames;
        QVERIFY(sameAs(*s2, seekedAt, source, kRate * 3 / 2, 1000) || sameAs(*s2, seekedAt + 1, source, kRate * 3 / 2, 1000));
        // Seeking to the end (or beyond) while playing ends the sound; paused, it waits there.
        p->pause();
        p->setCurrentTime(99.0);
        QCOMPARE(p->currentTime(), 2.0);
        p->play();
        p->setCurrentTime(99.0);
        QVERIFY(!p->isPlaying());
    }

    void volumeAndPanReachSamples()
    {
        FakeAudioBackend backend;
        auto p = PlatformAudioPlayer::create(tone("vol.wav", 0.5));
        p->setVolume(0.25f);
        p->setPan(-1.0f);
        p->play();
        backend.advanceMs(600);
        const std::vector<float>& out = backend.last()->frames;
        const int n = int(out.size());
        const double left = TestAudio::rms(out.data(), n, 2, 0);
        const double right = TestAudio::rms(out.data(), n, 2, 1);
        QVERIFY2(qAbs(left * std::sqrt(n / 2.0 / (0.5 * kRate)) - 0.25 * 0.5 / std::sqrt(2.0)) < 0.01,
                 qPrintable(QString::number(left)));
        QCOMPARE(right, 0.0);
    }

    void withoutDeviceOrWhenItFails()
    {
        // No device: nothing sounds, but time runs as if it played, and the end comes.
        FakeAudioBackend none(false);
        auto p = PlatformAudioPlayer::create(tone("nodev.wav", 0.7));
        p->play();
        QVERIFY(!none.engine()->isStreaming());
        QVERIFY(p->isPlaying());
        none.advanceMs(699);
        QVERIFY(p->isPlaying());
        none.advanceMs(2);
        QVERIFY(!p->isPlaying());
    }

    void soundGoesOnAcrossANewStream()
    {
        // The stream fails while a sound plays: the next stream goes on with the rest of that
        // sound at once, and the sound ends on time.
        FakeAudioBackend backend;
        auto p = PlatformAudioPlayer::create(tone("lost.wav", 0.7));
        p->play();
        backend.advanceMs(kStartMs + 200);
        backend.breakStream();
        backend.advanceMs(100);
        QCOMPARE(backend.streams.size(), 2);
        QVERIFY(near(p->currentTime(), 0.3));
        const auto& s2 = *backend.last();
        QVERIFY(s2.firstLoud(0) >= 0 && s2.firstLoud(0) < 10);
        QVERIFY(s2.firstLoud(kRate / 2 + AudioEngine::marginFrames + 10) < 0);
        backend.advanceMs(399);
        QVERIFY(p->isPlaying());
        backend.advanceMs(2);
        QVERIFY(!p->isPlaying());
    }

    void voicesLandOnTheirFrames()
    {
        // Voices given a time sound at the frame heard then, whether given well ahead or inside
        // what is already written; a note given too late starts at once, a beat long overdue is
        // dropped, and a voice taken back before its time is never heard.
        FakeAudioBackend backend;
        auto tick = DecodedSound::open(tone("tick.wav", 0.05, 1000, 1, 0.8f));
        tick->decode();
        const auto engine = backend.engine();
        const qint64 t0 = backend.nowNs();
        const qint64 keepOpen = engine->add({tick, t0 + 10'000'000'000});
        const qint64 aheads[] = {2'000'000'000, 100'000'000, 5'000'000};
        for (int n = 0; n < 9; ++n) {
            const qint64 at = t0 + 2'100'000'000 + n * 288'000'000LL + 123'456;
            backend.advanceMs((at - aheads[n % 3] - backend.nowNs()) / 1e6);
            AudioEngine::VoiceSpec beat {tick, at};
            beat.beat = true;
            engine->add(beat);
        }
        backend.advanceMs(400);
        const auto& s = *backend.last();
        qint64 from = 0;
        for (int n = 0; n < 9; ++n) {
            const qint64 at = t0 + 2'100'000'000 + n * 288'000'000LL + 123'456;
            const qint64 expected = qint64(std::llround(double(at - s.startNs) * kRate / 1e9));
            const qint64 heard = s.firstLoud(from, 0.0f) - 1;  // the tone's first sample is 0
            QVERIFY2(qAbs(heard - expected) <= 1, qPrintable(QStringLiteral("beat %1 at %2, not %3").arg(n).arg(heard).arg(expected)));
            from = heard + kRate / 10;
        }

        const qint64 now = backend.nowNs();
        const qint64 heardThen = qint64(s.played);
        AudioEngine::VoiceSpec late {tick, now - 30'000'000};
        late.beat = true;
        engine->add(late);
        const quint64 early = engine->add({tick, now + 150'000'000});
        engine->add({tick, now - 30'000'000});
        backend.advanceMs(20);
        bool heardEarly = true;
        QCOMPARE(engine->remove(early, &heardEarly), qint64(0));
        QVERIFY(!heardEarly);
        backend.advanceMs(300);
        // Only the late note: at the earliest frame that could still change, and nothing else.
        const qint64 noteAt = s.firstLoud(heardThen, 0.0f) - 1;
        QVERIFY2(qAbs(noteAt - heardThen - AudioEngine::marginFrames) <= 1, qPrintable(QString::number(noteAt - heardThen)));
        QCOMPARE(s.firstLoud(noteAt + kRate / 10, 0.0f), qint64(-1));
        QCOMPARE(s.lateFrames, qint64(0));
        engine->remove(keepOpen);
        QCOMPARE(engine->voiceCount(), 0);
    }

    void notesAreWholeOnEveryServer_data()
    {
        QTest::addColumn<TestAudio::ServerModel>("server");
        for (const TestAudio::ServerModel& m : {TestAudio::immediateServer, TestAudio::pulseServer,
                                                TestAudio::pipeWireServer, TestAudio::pipeServer})
            QTest::newRow(m.name) << m;
    }
    void notesAreWholeOnEveryServer()
    {
        // Single clicks and bursts of ten a second, whatever the server reads ahead and however
        // it reports its clock: every note is heard whole, from its first frame, soon after it
        // was asked for, and nothing written ever comes too late for the server.
        QFETCH(TestAudio::ServerModel, server);
        FakeAudioBackend backend;
        backend.server = server;
        backend.stepMs = 0.25;
        backend.observeMs = 250;
        const QString path = tone("click.wav", 0.03, 1000.0);
        const std::vector<float> source = AudioFileReader::readAll(path);
        std::vector<qint64> asked;
        std::vector<std::unique_ptr<PlatformAudioPlayer>> players;
        const auto click = [&] {
            asked.push_back(qint64(backend.last() ? backend.last()->played : 0));
            players.push_back(PlatformAudioPlayer::create(path));
            players.back()->play();
        };
        click();
        for (int i = 1; i < 20; ++i) {
            backend.advanceMs(300 + (i * 137) % 300);
            click();
        }
        for (int burst = 0; burst < 4; ++burst) {
            backend.advanceMs(700);
            for (int i = 0; i < 10; ++i) {
                click();
                backend.advanceMs(100 + (i % 3) * 0.4);
            }
        }
        backend.advanceMs(500);
        QCOMPARE(backend.streams.size(), 1);
        const auto& s = *backend.last();
        QCOMPARE(s.lateFrames, qint64(0));
        QCOMPARE(s.missingFrames, qint64(0));
        const qint64 length = qint64(source.size());
        // How soon a note starts: within the server's read-ahead and a block, and a few ms.
        const qint64 soon = server.readAhead + server.block + kRate * 5 / 1000;
        qint64 from = 0;
        for (size_t n = 0; n < asked.size(); ++n) {
            const qint64 start = s.firstLoud(qMax(from, asked[n]), 0.0f) - 1;  // the tone's first sample is 0
            from = start + length;
            QVERIFY2(start >= asked[n] && start - asked[n] <= soon,
                     qPrintable(QStringLiteral("note %1 starts %2 frames after it was asked for").arg(n).arg(start - asked[n])));
            QVERIFY2(sameAs(s, start, source, 0, int(length)), qPrintable(QStringLiteral("note %1 is not whole").arg(n)));
        }
    }

    void serversThatReadFarAheadHearWholeNotes_data()
    {
        QTest::addColumn<TestAudio::ServerModel>("server");
        // Sinks that buffer that much: network sinks, some Bluetooth ones.
        for (const TestAudio::ServerModel& m : {TestAudio::ServerModel {"reads 0.6 s ahead", kRate * 6 / 10, 512, false, false},
                                                TestAudio::ServerModel {"reads 1 s ahead", kRate, 1024, false, false},
                                                TestAudio::ServerModel {"reads 2 s ahead in steps", 2 * kRate, 4096, true, true}})
            QTest::newRow(m.name) << m;
    }
    void serversThatReadFarAheadHearWholeNotes()
    {
        // A click opens the stream and the server's reports tell how far it reads. A three-second
        // note is then heard whole; once the stream has closed, it is heard whole again as the
        // first sound of the next stream.
        QFETCH(TestAudio::ServerModel, server);
        FakeAudioBackend backend;
        backend.server = server;
        const QString path = tone("long.wav", 3.0, 440.0);
        const std::vector<float> source = AudioFileReader::readAll(path);
        auto click = PlatformAudioPlayer::create(tone("opens.wav", 0.03, 1000.0));
        click->play();
        backend.advanceMs(1000);
        for (int stream = 1; stream <= 2; ++stream) {
            const qint64 asked = qint64(backend.last()->alive ? backend.last()->played : 0);
            auto note = PlatformAudioPlayer::create(path);
            note->play();
            backend.advanceMs(4000 + server.readAhead * 1000.0 / kRate);
            QCOMPARE(backend.streams.size(), stream);
            const auto& s = *backend.last();
            const qint64 start = s.firstLoud(asked, 0.0f) - 1;  // the tone's first sample is 0
            QVERIFY2(start >= 0 && sameAs(s, start, source, 0, int(source.size())),
                     qPrintable(QStringLiteral("the note on stream %1 is not whole").arg(stream)));
            backend.advanceMs(4000);
        }
        QCOMPARE(backend.last()->missingFrames, qint64(0));
    }

    void aBusyMachineWritesFurtherAhead()
    {
        // The stream's thread came 30 ms late when woken: for a few seconds a new note is written
        // at least that far ahead of the frame being heard, since what it writes may reach the
        // server as late; then as near as before (notes a second apart keep the stream open).
        FakeAudioBackend backend;
        backend.server = TestAudio::pulseServer;
        const QString path = tone("late.wav", 0.05, 1000.0);
        const auto noteAt = [&](double afterMs) {
            backend.advanceMs(afterMs);
            const qint64 asked = qint64(backend.last() ? backend.last()->played : 0);
            auto player = PlatformAudioPlayer::create(path);
            player->play();
            backend.advanceMs(200);
            return (backend.last()->firstLoud(asked, 0.0f) - 1 - asked) * 1000.0 / kRate;
        };
        noteAt(0);
        const double calm = noteAt(500);
        backend.engine()->noteLateness(30'000'000);
        const double busy = noteAt(500);
        double calmAgain = 0;
        for (int i = 0; i < 6; ++i)
            calmAgain = noteAt(800);
        QVERIFY2(calm < 10 && busy >= 30 && calmAgain < 10,
                 qPrintable(QStringLiteral("%1, %2, %3 ms ahead").arg(calm).arg(busy).arg(calmAgain)));
    }

    void aNoteAskedLaterNeverStartsEarlier()
    {
        // The notes of a chord asked for one by one on a busy machine, just as the few seconds in
        // which the stream's thread is remembered to have come 100 ms late run out: the later
        // notes start with the first, not before it.
        FakeAudioBackend backend;
        backend.server = TestAudio::pulseServer;
        const QString path = tone("chord.wav", 1.0);
        auto held = PlatformAudioPlayer::create(tone("held.wav", 8.0, 220.0));
        held->play();
        backend.advanceMs(100);
        backend.engine()->noteLateness(100'000'000);
        backend.advanceMs(4985);
        auto root = PlatformAudioPlayer::create(path);
        root->play();
        backend.advanceMs(30);
        auto third = PlatformAudioPlayer::create(path);
        third->play();
        backend.advanceMs(300);
        QVERIFY2(third->currentTime() <= root->currentTime(),
                 qPrintable(QStringLiteral("the note asked for later started %1 ms earlier")
                                .arg((third->currentTime() - root->currentTime()) * 1000)));
    }

    void guiNeverWaitsForMixing()
    {
        // The stream's thread is held in the middle of writing what it mixed (a slow machine, a
        // server that takes its time): adding, changing, asking after and removing voices all
        // return meanwhile.
        std::atomic<qint64> now {1'000'000'000};
        AudioEngine engine([&now] { return now.load(); });
        struct HeldPort : StreamPort
        {
            std::mutex mutex;
            std::condition_variable changed;
            bool writing = false;
            bool release = false;
            bool write(qint64, const float*, qint64) override
            {
                std::unique_lock<std::mutex> lock(mutex);
                writing = true;
                changed.notify_all();
                changed.wait(lock, [this] { return release; });
                return true;
            }
        } port;
        auto sound = DecodedSound::open(tone("held.wav", 1.0));
        sound->decode();
        engine.streamStarted();
        engine.add({sound});
        std::thread stream([&] { engine.serve(port); });
        {
            std::unique_lock<std::mutex> lock(port.mutex);
            QVERIFY(port.changed.wait_for(lock, std::chrono::seconds(10), [&] { return port.writing; }));
        }
        auto gui = std::async(std::launch::async, [&] {
            std::vector<quint64> ids;
            for (int i = 0; i < 32; ++i)
                ids.push_back(engine.add({sound}));
            for (quint64 id : ids) {
                engine.setGains(id, 0.5f, 0.5f);
                engine.state(id);
            }
            for (quint64 id : ids)
                engine.remove(id);
            return engine.voiceCount();
        });
        const bool returned = gui.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        {
            std::lock_guard<std::mutex> lock(port.mutex);
            port.release = true;
        }
        port.changed.notify_all();
        stream.join();
        QVERIFY2(returned, "the GUI thread waited for the mixing");
        QCOMPARE(gui.get(), 1);
    }

    void slowMixingNeverCutsANewSound()
    {
        // Mixing takes time on a slow machine (here a tenth of the time it mixes), and what is
        // written reaches the server only when the engine returns to the loop: a sound asked for
        // while half a second lies written ahead still arrives before it is due, whole.
        qint64 now = 1'000'000'000;
        AudioEngine engine([&now] { return now; });
        struct Port : StreamPort
        {
            qint64& now;
            qint64 startNs;
            std::vector<float> frames;
            std::vector<std::pair<qint64, std::vector<float>>> sent;
            qint64 lost = 0;
            Port(qint64& clock, qint64 start) : now(clock), startNs(start) {}
            qint64 played() const { return (now - startNs) * kRate / 1'000'000'000; }
            bool write(qint64 frame, const float* data, qint64 count) override
            {
                sent.push_back({frame, std::vector<float>(data, data + 2 * count)});
                now += count * 100'000'000 / kRate;
                return true;
            }
            // The loop comes round: the server takes what was written, too late for what it played.
            void deliver()
            {
                for (const auto& [frame, data] : sent) {
                    for (qint64 i = 0; i < qint64(data.size() / 2); ++i) {
                        if (frame + i < played()) {
                            ++lost;
                            continue;
                        }
                        if (frames.size() < size_t(2 * (frame + i + 1)))
                            frames.resize(size_t(2 * (frame + i + 1)), 0.0f);
                        frames[size_t(2 * (frame + i))] = data[size_t(2 * i)];
                    }
                }
                sent.clear();
            }
        } port(now, now + AudioEngine::marginFrames * 1'000'000'000 / kRate);
        const auto turn = [&] {
            const bool more = engine.serve(port);
            port.deliver();
            return more;
        };
        engine.streamStarted();
        while (turn()) {
        }
        now += 100'000'000;
        turn();
        auto tick = DecodedSound::open(tone("tick40.wav", 0.04, 1000, 1, 0.5f));
        tick->decode();
        port.lost = 0;  // the stream's first frames, written before it ran
        engine.add({tick});
        const qint64 asked = port.played();
        for (int i = 0; i < 100; ++i) {
            while (turn()) {
            }
            now += 5'000'000;
        }
        QCOMPARE(port.lost, qint64(0));
        qint64 first = -1, last = -1;
        for (qint64 f = asked; f < qint64(port.frames.size() / 2); ++f) {
            if (port.frames[size_t(2 * f)] != 0.0f) {
                first = first < 0 ? f : first;
                last = f;
            }
        }
        QVERIFY(first >= 0);
        QVERIFY2(qAbs(last - first - 0.04 * kRate) <= 4, qPrintable(QString::number(last - first)));
    }

    void positionRounding_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qint64>("position");
        QTest::addColumn<qint64>("duration");
        QTest::newRow("rounds vs truncates") << 1.2345 << qint64(1235) << qint64(1234);
        QTest::newRow("just below") << 1.2349 << qint64(1235) << qint64(1234);
        QTest::newRow("half") << 0.0005 << qint64(1) << qint64(0);
    }
    void positionRounding()
    {
        QFETCH(double, seconds);
        QFETCH(qint64, position);
        QFETCH(qint64, duration);
        QCOMPARE(NativeAudioPlayerInternal::positionFromSeconds(seconds), position);
        QCOMPARE(NativeAudioPlayerInternal::durationFromSeconds(seconds), duration);
    }

    void endOfSoundTicks_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QList<qint64>>("positions");
        QTest::addColumn<int>("finishedAtTick");
        QTest::newRow("300 ms") << 0.3 << QList<qint64>() << 1;
        QTest::newRow("1.2 s") << 1.2 << QList<qint64>{500, 1000} << 3;
        QTest::newRow("exactly 1 s") << 1.0 << QList<qint64>{500} << 2;
    }
    void endOfSoundTicks()
    {
        QFETCH(double, seconds);
        QFETCH(QList<qint64>, positions);
        QFETCH(int, finishedAtTick);
        FakeAudioBackend backend(false);
        NativeAudioPlayer player(nullptr);
        QSignalSpy fin(&player, &NativeAudioPlayer::finished);
        QSignalSpy pos(&player, &NativeAudioPlayer::positionChanged);
        player.play(tone(QStringLiteral("tick%1.wav").arg(seconds), seconds));
        QVERIFY(player.internal()->isPollTimerActive());
        QCOMPARE(player.internal()->platformPlayer()->volume(), 0.5f);
        for (int tick = 1; tick <= 4; ++tick) {
            backend.advanceMs(NativeAudioPlayerInternal::pollIntervalMs);
            player.internal()->slotPositionChanged();
            QCOMPARE(fin.count(), tick >= finishedAtTick ? 1 : 0);
        }
        QCOMPARE(pos.count(), positions.size());
        for (int i = 0; i < positions.size(); ++i)
            QCOMPARE(pos.at(i).at(0).value<qint64>(), positions.at(i));
        QVERIFY(!player.internal()->isPollTimerActive());
        QVERIFY(!player.isPlaying() && !player.isStopped() && !player.isPaused());
        QCOMPARE(player.duration(), qint64(0));
        // After the end play() has nothing to play, stop() nothing to stop; play(path) plays again.
        player.play();
        player.stop();
        QVERIFY(!player.isPlaying() && !player.isStopped());
        player.play(tone(QStringLiteral("tick%1.wav").arg(seconds), seconds));
        QVERIFY(player.isPlaying());
    }

    void pauseAndStopNeverFinish()
    {
        FakeAudioBackend backend(false);
        NativeAudioPlayer player(nullptr);
        QSignalSpy fin(&player, &NativeAudioPlayer::finished);
        QSignalSpy pos(&player, &NativeAudioPlayer::positionChanged);
        player.play(tone("ps.wav", 1.0));
        backend.advanceMs(400);
        player.pause();
        QVERIFY(player.isPaused());
        QVERIFY(player.internal()->isPollTimerActive());  // the tick keeps running through a pause
        for (int i = 0; i < 10; ++i) {
            backend.advanceMs(500);
            player.internal()->slotPositionChanged();
        }
        QCOMPARE(fin.count(), 0);
        QCOMPARE(pos.count(), 0);
        QCOMPARE(player.position(), qint64(400));
        player.play();
        backend.advanceMs(100);
        QCOMPARE(player.position(), qint64(500));
        player.stop();
        QVERIFY(player.isStopped());
        QVERIFY(!player.internal()->isPollTimerActive());
        QCOMPARE(player.position(), qint64(0));
        player.internal()->slotPositionChanged();
        QCOMPARE(fin.count(), 0);
        player.play();
        backend.advanceMs(250);
        QCOMPARE(player.position(), qint64(250));
        player.setPosition(900);
        QCOMPARE(player.position(), qint64(900));
        QVERIFY(player.isPlaying());
    }

    void newMediaDuringPlayback()
    {
        // Loading another file silences the old sound at once; with no play() after it, the next
        // tick finds nothing playing and reports the end.
        FakeAudioBackend backend;
        NativeAudioPlayer player(nullptr);
        QSignalSpy fin(&player, &NativeAudioPlayer::finished);
        player.play(tone("a.wav", 1.0));
        backend.advanceMs(100);
        player.setMedia(tone("b.wav", 1.0, 660));
        backend.advanceMs(300);
        QCOMPARE(backend.last()->firstLoud(kRate / 10 + AudioEngine::marginFrames), qint64(-1));
        QCOMPARE(player.fileName(), m_dir.filePath("b.wav"));
        player.internal()->slotPositionChanged();
        QCOMPARE(fin.count(), 1);
        player.play(tone("a.wav", 1.0));
        QCOMPARE(player.fileName(), m_dir.filePath("b.wav"));  // play(path) keeps the name
    }

    void volumeMuteAndBalance()
    {
        FakeAudioBackend backend(false);
        NativeAudioPlayer player(nullptr);
        QCOMPARE(player.volume(), 0.5);
        QVERIFY(!player.isMuted());
        player.setMuted(false);  // unmuting before any mute returns to the initial volume
        QCOMPARE(player.volume(), 0.5);
        player.setVolume(0.8);
        player.setMuted(true);
        QVERIFY(player.isMuted());
        QCOMPARE(player.volume(), 0.0);
        player.setMuted(true);  // a second mute must not lose the volume
        QCOMPARE(player.unmutedVolume(), 0.8);
        player.setMuted(false);
        QCOMPARE(player.volume(), 0.8);
        player.setVolume(0);
        QVERIFY(player.isMuted());

        // Balance set before loading stays with the facade; the file loaded next plays centred.
        player.setBalance(-1.0f);
        player.setMedia(tone("bal.wav", 0.5));
        QCOMPARE(player.internal()->platformPlayer()->pan(), 0.0f);
        player.setBalance(0.5f);
        QCOMPARE(player.internal()->platformPlayer()->pan(), 0.5f);
        // Volume reaches the loaded file at play.
        player.setVolume(0.3);
        player.play();
        QCOMPARE(player.internal()->platformPlayer()->volume(), 0.3f);
    }

    void failedLoadIsReclaimed()
    {
        FakeAudioBackend backend(false);
        QPointer<NativeAudioPlayer> player = new NativeAudioPlayer(nullptr);
        connect(player, &NativeAudioPlayer::finished, player, &QObject::deleteLater);
        QSignalSpy fin(player, &NativeAudioPlayer::finished);
        player->play(m_dir.filePath("nothing-here.mp3"));
        QCOMPARE(fin.count(), 0);  // not from inside play(): callers may connect after calling it
        QVERIFY(!player->isPlaying());
        QTRY_VERIFY(player.isNull());
        QCOMPARE(fin.count(), 1);

        // A failed load followed at once by a good one must not report the good one as ended.
        NativeAudioPlayer second(nullptr);
        QSignalSpy fin2(&second, &NativeAudioPlayer::finished);
        second.play(m_dir.filePath("nothing-here.mp3"));
        second.play(tone("good.wav", 1.0));
        QTest::qWait(20);
        QCOMPARE(fin2.count(), 0);
        QVERIFY(second.isPlaying());
    }

    void soundsStillGoingEndWithTheApplication()
    {
        // Players of notes still sounding when the application is about to quit are stopped and
        // deleted then; the others have deleted themselves.
        FakeAudioBackend backend;
        QPointer<NativeAudioPlayer> player = NativeAudioPlayer::playOnce(tone("long.wav", 5.0));
        QVERIFY(player && player->isPlaying());
        QCOMPARE(backend.engine()->voiceCount(), 1);
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection));
        QVERIFY(player.isNull());
        QCOMPARE(backend.engine()->voiceCount(), 0);
    }
};

TONARIX_TEST_MAIN(TestAudioEngine)
#include "tst_AudioEngine.moc"
