// The sound bank: which files the program plays from its bundle resource folder, and that the
// build rendered each of them at the right pitch and length, in tune, even in loudness and died away
// before its end.

#include "Pitch.h"
#include "SoundAnalysis.h"
#include "RIRurud/BoardTables.h"
#include "SoundBankTable.h"
#include "SoundMeasure.h"
#include "SoundShaping.h"
#include "TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

using namespace SoundBank;

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

const QString resources = QStringLiteral(TONARIX_RESOURCES_DIR);

const BoardInstrument* instrument(const QString& word)
{
    for (const BoardInstrument& i : boardInstruments) {
        if (word == QLatin1String(i.word))
            return &i;
    }
    return nullptr;
}

std::vector<std::string> noteFiles(const BoardInstrument& instrument)
{
    std::vector<std::string> names;
    for (int key : instrumentKeys(instrument))
        names.push_back(noteFileName(instrument.word, key));
    return names;
}

std::vector<std::string> toneFileNames(const char* prefix)
{
    std::vector<std::string> names;
    for (const ToneFile& tone : toneFiles(prefix))
        names.push_back(tone.name);
    return names;
}

// The notes that belong together: an instrument page's notes (semitones, lowest first), or one
// tuner's tones at one concert pitch (its strings, lowest first). A family is an instrument or a
// tuner over every concert pitch.
struct Note {
    std::string name;
    double hz;
};

struct Group {
    std::string family;
    std::vector<Note> notes;
    double toleranceCents;
    double seconds;
    bool bowed;
    bool tuner;
};

std::vector<Group> bankGroups()
{
    std::vector<Group> groups;
    for (const BoardInstrument& i : boardInstruments) {
        Group g{i.word, {}, 5.0, i.articulation.seconds, i.articulation.steady, false};
        for (int key : instrumentKeys(i))
            g.notes.push_back({noteFileName(i.word, key), frequency(key)});
        groups.push_back(g);
    }
    // A reference tone is held to a closer tolerance than a note.
    const std::vector<ToneFile> tones = toneFiles();
    for (const ToneSound& t : toneSounds) {
        for (const RIRurud::TunerTables::ConcertPitch& pitch : RIRurud::TunerTables::kConcertPitches) {
            Group g{t.prefix, {}, 2.0, t.articulation.seconds, t.articulation.steady, true};
            for (const ToneFile& tone : tones) {
                if (tone.concertPitch == pitch.hz && tone.name.rfind(std::string(t.prefix) + "_", 0) == 0)
                    g.notes.push_back({tone.name, frequency(tone.key, pitch.hz)});
            }
            std::sort(g.notes.begin(), g.notes.end(), [](const Note& a, const Note& b) { return a.hz < b.hz; });
            groups.push_back(g);
        }
    }
    return groups;
}

// Every file of the bank measured once, by name.
const std::map<std::string, SoundAnalysis::Figures>& bankFigures()
{
    static const std::map<std::string, SoundAnalysis::Figures> figures = [] {
        std::vector<SoundAnalysis::Request> requests;
        std::vector<std::string> names;
        std::set<std::string> seen;
        for (const Group& g : bankGroups()) {
            for (const Note& n : g.notes) {
                if (seen.insert(n.name).second) {
                    requests.push_back({(resources + QString::fromStdString(n.name)).toStdString(), n.hz,
                                        g.seconds - fadeSeconds, g.bowed});
                    names.push_back(n.name);
                }
            }
        }
        const std::vector<SoundAnalysis::Figures> measured = SoundAnalysis::measureAll(requests);
        std::map<std::string, SoundAnalysis::Figures> byName;
        for (size_t i = 0; i < names.size(); ++i)
            byName[names[i]] = measured[i];
        return byName;
    }();
    return figures;
}

QString listed(const QStringList& items)
{
    return QString::number(items.size()) + ": " + QStringList(items.mid(0, 12)).join(QLatin1String(", "))
           + (items.size() > 12 ? QLatin1String(", ...") : QLatin1String(""));
}

// A synthetic note: harmonics 1 to 8 falling 6 dB each (the fundamental left out when asked), its
// pitch swinging by `vibratoCents` 5.5 times a second.
std::vector<float> syntheticNote(double hz, double seconds, double vibratoCents, bool withFundamental)
{
    std::vector<float> x(size_t(seconds * sampleRate));
    double phase = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
        const double t = double(i) / sampleRate;
        phase += 2.0 * M_PI * hz * std::pow(2.0, vibratoCents * std::sin(2.0 * M_PI * 5.5 * t) / 1200.0) / sampleRate;
        double v = 0.0;
        for (int k = withFundamental ? 1 : 2; k <= 8; ++k)
            v += std::pow(0.5, k) * std::sin(k * phase);
        x[i] = float(v);
    }
    return x;
}

#define REQUIRE_SOUNDS()                                                                        \
    do {                                                                                        \
        if (!TONARIX_SOUNDS_GENERATED)                                                          \
            QSKIP("the build does not render the sound bank (TONARIX_GENERATE_SOUNDS is OFF)"); \
    } while (false)

} // namespace

class TestSoundBank : public QObject
{
    Q_OBJECT

private slots:
    // The boards cover the notes their pictures show: a range error in the table drops or adds files.
    void boardRanges_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("semitones");
        QTest::newRow("piano 88 keys") << "piano" << 88;
        QTest::newRow("guitar 47") << "guitar" << 47;
        QTest::newRow("ukulele 25") << "ukulele" << 25;
        QTest::newRow("violin 29") << "violin" << 29;
        QTest::newRow("bass 36") << "bass" << 36;
        QTest::newRow("banjo 36") << "banjo" << 36;
        QTest::newRow("balalaika 25") << "balalaika" << 25;
        QTest::newRow("mandolin 39") << "mandolin" << 39;
    }
    void boardRanges()
    {
        QFETCH(QString, word);
        QFETCH(int, semitones);
        const BoardInstrument* i = instrument(word);
        QVERIFY2(i, qPrintable(word + " is not in the table"));
        QVERIFY(midiKey(i->lowest) > 0);
        QCOMPARE(midiKey(i->highest) - midiKey(i->lowest) + 1, semitones);
    }

    // Each staff reaches from the space above its first drawn line down to its bottom edge; with a
    // flat or a sharp chosen, one semitone further each way. Worked out by hand from each page's
    // staff settings (paper height factor, start line, lines, shift).
    void staffReach_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("lowest");
        QTest::addColumn<QString>("highest");
        QTest::newRow("piano: flat A0 to sharp E8") << "piano" << "Gd0" << "F8";
        QTest::newRow("guitar: flat D2 to sharp D6") << "guitar" << "Cd2" << "Dd6";
        QTest::newRow("ukulele: flat B3 to sharp D6") << "ukulele" << "Ad3" << "Dd6";
        QTest::newRow("violin: flat G3 to sharp D6") << "violin" << "Fd3" << "Dd6";
        QTest::newRow("bass: flat E1 to sharp D4") << "bass" << "Dd1" << "Dd4";
        QTest::newRow("banjo: flat D3 to sharp D6") << "banjo" << "Cd3" << "Dd6";
        QTest::newRow("balalaika: flat B3 to sharp F6") << "balalaika" << "Ad3" << "Fd6";
        QTest::newRow("mandolin: flat G3 to sharp A6") << "mandolin" << "Fd3" << "Ad6";
    }
    void staffReach()
    {
        QFETCH(QString, word);
        QFETCH(QString, lowest);
        QFETCH(QString, highest);
        const BoardInstrument* i = instrument(word);
        QVERIFY(i);
        QVERIFY2(RIRurud::StaffTables::find(i->word), "the staff has no table under this word");
        const std::vector<int> keys = instrumentKeys(*i);
        QCOMPARE(QString::fromStdString(noteName(keys.front())), lowest);
        QCOMPARE(QString::fromStdString(noteName(keys.back())), highest);
        // No gap: every semitone in between has its file.
        QCOMPARE(int(keys.size()), keys.back() - keys.front() + 1);
    }

    // Every position a board answers and every note its training draws has a file among the
    // board's notes: a range in the bank narrower than the board leaves clicks silent.
    void boardNotesHaveSounds_data()
    {
        QTest::addColumn<int>("board");
        for (int b = 0; b < int(std::size(RIRurud::BoardTables::kAllBoards)); ++b)
            QTest::newRow(RIRurud::BoardTables::kAllBoards[b]->name) << b;
    }
    void boardNotesHaveSounds()
    {
        QFETCH(int, board);
        const RIRurud::BoardTables::BoardTable& table = *RIRurud::BoardTables::kAllBoards[board];
        const BoardInstrument* i = instrument(QString::fromLatin1(table.name).toLower());
        QVERIFY2(i, "no sound-bank entry under the board's name");
        const std::vector<int> keys = instrumentKeys(*i);
        const std::set<int> bank(keys.begin(), keys.end());
        // Board form "C4#" sounds the layer form "Cd4".
        auto layerOf = [](const std::string& boardForm) {
            const bool sharp = boardForm.size() == 3 && boardForm[2] == '#';
            return boardForm.substr(0, 1) + (sharp ? "d" : "") + boardForm.substr(1, 1);
        };
        QStringList silent;
        auto check = [&](const char* note) {
            const int key = midiKey(layerOf(note));
            if (key < 0 || !bank.count(key))
                silent << QString::fromLatin1(note);
        };
        for (std::size_t s = 0; s < table.spotCount; ++s)
            check(table.spots[s].note);
        for (std::size_t t = 0; t < table.trainingCount; ++t)
            check(table.trainingNotes[t]);
        QVERIFY2(silent.isEmpty(), qPrintable("no sound for: " + silent.join(QLatin1Char(' '))));
        // The layer names double as the sound names of the notes shown on the board.
        for (std::size_t l = 0; l < table.layerCount; ++l) {
            const int key = midiKey(table.layerNames[l]);
            QVERIFY2(key >= 0 && bank.count(key), table.layerNames[l]);
        }
    }

    // Note names and MIDI keys convert both ways, with C4 as middle C.
    void noteNames()
    {
        QCOMPARE(midiKey("C4"), 60);
        QCOMPARE(midiKey("A4"), 69);
        QCOMPARE(midiKey("A0"), 21);
        QCOMPARE(midiKey("Cd8"), 109);
        QCOMPARE(midiKey("Ed4"), -1);
        QCOMPARE(midiKey("C#4"), -1);
        QCOMPARE(midiKey("C"), -1);
        for (int key = 12; key < 128; ++key)
            QCOMPARE(midiKey(noteName(key)), key);
        QCOMPARE(noteFileName("ukulele", 61), std::string("ukulele_440_Cd4.mp3"));
        QCOMPARE(toneFileName("violine", 415, "C3"), std::string("violine_415_C3.mp3"));
    }

    // Every file the program names is in the bundle, decodes, and lasts as long as its articulation
    // says (the metronome's sounds are short). A missing file fails its group and names the file.
    void filesPresent_data()
    {
        QTest::addColumn<std::vector<std::string>>("names");
        QTest::addColumn<double>("minSeconds");
        QTest::addColumn<double>("maxSeconds");
        for (const BoardInstrument& i : boardInstruments)
            QTest::newRow(qPrintable(QStringLiteral("notes of %1").arg(i.word)))
                << noteFiles(i) << i.articulation.seconds - 0.05 << i.articulation.seconds + 0.05;
        for (const ToneSound& t : toneSounds)
            QTest::newRow(qPrintable(QStringLiteral("tones of %1").arg(t.prefix)))
                << toneFileNames(t.prefix) << t.articulation.seconds - 0.05 << t.articulation.seconds + 0.05;
        QTest::newRow("metronome") << std::vector<std::string>{metronomeTick, metronomeBell} << 0.02 << 1.5;
        // Names as the pages spell them, typed out here so that a misspelling in the table shows.
        QTest::newRow("named by the pages")
            << std::vector<std::string>{"ukulele_440_Cd4.mp3", "ukulele_440_C6.mp3", "ukulele_440_F5.mp3",
                                        "banjo_440_Cd6.mp3", "banjo_440_D3.mp3", "balalaika_440_Fd4.mp3",
                                        "balalaika_440_E6.mp3", "mandolin_440_Gd3.mp3", "mandolin_440_Ad3.mp3",
                                        "mandolin_440_A6.mp3", "piano_440_A0.mp3", "piano_440_Ad0.mp3",
                                        "piano_440_C8.mp3", "piano_440_C3.mp3", "piano_440_B4.mp3",
                                        "guitar_440_E2.mp3", "guitar_440_Fd2.mp3", "guitar_440_D6.mp3",
                                        "violin_440_G3.mp3", "violin_440_B5.mp3", "bass_440_E1.mp3",
                                        "bass_440_Dd4.mp3"}
            << 1.95 << 2.55;
        QTest::newRow("named by the staff")
            << std::vector<std::string>{"piano_440_Cd8.mp3", "piano_440_D8.mp3", "piano_440_Dd8.mp3",
                                        "piano_440_E8.mp3", "piano_440_F8.mp3", "piano_440_Gd0.mp3",
                                        "guitar_440_D2.mp3", "guitar_440_Cd2.mp3", "guitar_440_Dd2.mp3",
                                        "guitar_440_Dd6.mp3", "ukulele_440_B3.mp3", "ukulele_440_Ad3.mp3",
                                        "ukulele_440_D6.mp3", "ukulele_440_Cd6.mp3", "ukulele_440_Dd6.mp3"}
            << 1.95 << 2.55;
        QTest::newRow("named by the tuners")
            << std::vector<std::string>{"guitar_442_E2.mp3", "guitar_442_E4.mp3", "guitar_415_E2.mp3",
                                        "banjo_440_G4.mp3", "dombra_440_D3.mp3", "dombra_452_G3.mp3",
                                        "violine_440_G3.mp3", "violine_415_C3.mp3", "balalaika_460_E4.mp3",
                                        "bassguitar_443_B0.mp3", "doublebass_435_E1.mp3", "cello_439_C2.mp3",
                                        "mandolin_430_E5.mp3", "ukulele_445_G4.mp3"}
            << 1.95 << 2.55;
    }
    void filesPresent()
    {
        REQUIRE_SOUNDS();
        QFETCH(std::vector<std::string>, names);
        QFETCH(double, minSeconds);
        QFETCH(double, maxSeconds);
        QVERIFY(!names.empty());
        QStringList missing;
        QStringList bad;
        for (const std::string& name : names) {
            const QString path = resources + QString::fromStdString(name);
            if (!QFileInfo(path).isFile()) {
                missing << QString::fromStdString(name);
                continue;
            }
            const SoundAnalysis::Decoded d = SoundAnalysis::decode(path.toStdString(), false);
            const double seconds = d.sampleRate > 0 ? double(d.frames) / d.sampleRate : 0.0;
            if (!d.ok)
                bad << QStringLiteral("%1 (%2)").arg(QString::fromStdString(name), QString::fromStdString(d.error));
            else if (seconds < minSeconds || seconds > maxSeconds)
                bad << QStringLiteral("%1 (%2 s)").arg(QString::fromStdString(name)).arg(seconds);
        }
        QVERIFY2(missing.isEmpty(), qPrintable("missing: " + missing.join(QLatin1Char(' '))));
        QVERIFY2(bad.isEmpty(), qPrintable("unusable: " + bad.join(QLatin1Char(' '))));
    }

    // Nothing half-written is left behind by the generator.
    void noPartialFiles()
    {
        REQUIRE_SOUNDS();
        const QStringList partial = QDir(resources).entryList({QStringLiteral("*.part")}, QDir::Files);
        QVERIFY2(partial.isEmpty(), qPrintable(partial.join(QLatin1Char(' '))));
    }

    // A sample of notes across each instrument's range, including the staff's notes beyond the
    // board and tuner tones at other concert pitches, sound at their equal-tempered frequency and not
    // an octave off (which a measure that looks for the harmonics of the expected pitch cannot tell).
    void pitch_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("hz");
        QTest::newRow("piano A1") << "piano_440_A1.mp3" << 55.0;
        QTest::newRow("piano C4") << "piano_440_C4.mp3" << 261.63;
        QTest::newRow("piano A4") << "piano_440_A4.mp3" << 440.0;
        QTest::newRow("piano C7") << "piano_440_C7.mp3" << 2093.0;
        QTest::newRow("piano Cd8 (staff)") << "piano_440_Cd8.mp3" << 4434.92;
        QTest::newRow("guitar E2") << "guitar_440_E2.mp3" << 82.41;
        QTest::newRow("guitar B3") << "guitar_440_B3.mp3" << 246.94;
        QTest::newRow("guitar E5") << "guitar_440_E5.mp3" << 659.26;
        QTest::newRow("guitar Cd2 (staff)") << "guitar_440_Cd2.mp3" << 69.30;
        QTest::newRow("ukulele C4") << "ukulele_440_C4.mp3" << 261.63;
        QTest::newRow("ukulele A4") << "ukulele_440_A4.mp3" << 440.0;
        QTest::newRow("ukulele C6") << "ukulele_440_C6.mp3" << 1046.50;
        QTest::newRow("ukulele Ad3 (staff)") << "ukulele_440_Ad3.mp3" << 233.08;
        QTest::newRow("violin G3") << "violin_440_G3.mp3" << 196.0;
        QTest::newRow("violin E5") << "violin_440_E5.mp3" << 659.26;
        QTest::newRow("violin B5") << "violin_440_B5.mp3" << 987.77;
        QTest::newRow("bass E1") << "bass_440_E1.mp3" << 41.20;
        QTest::newRow("bass A2") << "bass_440_A2.mp3" << 110.0;
        QTest::newRow("bass Dd4") << "bass_440_Dd4.mp3" << 311.13;
        QTest::newRow("banjo D3") << "banjo_440_D3.mp3" << 146.83;
        QTest::newRow("banjo G4") << "banjo_440_G4.mp3" << 392.0;
        QTest::newRow("banjo Cd6") << "banjo_440_Cd6.mp3" << 1108.73;
        QTest::newRow("balalaika E4") << "balalaika_440_E4.mp3" << 329.63;
        QTest::newRow("balalaika A5") << "balalaika_440_A5.mp3" << 880.0;
        QTest::newRow("balalaika E6") << "balalaika_440_E6.mp3" << 1318.51;
        QTest::newRow("mandolin G3") << "mandolin_440_G3.mp3" << 196.0;
        QTest::newRow("mandolin E5") << "mandolin_440_E5.mp3" << 659.26;
        QTest::newRow("mandolin A6") << "mandolin_440_A6.mp3" << 1760.0;
        QTest::newRow("tuner violin A4 at 415") << "violine_415_A4.mp3" << 415.0;
        QTest::newRow("tuner viola C3 at 460") << "violine_460_C3.mp3" << 136.76;
        QTest::newRow("tuner cello C2 at 415") << "cello_415_C2.mp3" << 61.69;
        QTest::newRow("tuner double bass E1 at 460") << "doublebass_460_E1.mp3" << 43.08;
        QTest::newRow("tuner guitar E2 at 460") << "guitar_460_E2.mp3" << 86.15;
        QTest::newRow("tuner bass guitar B0 at 415") << "bassguitar_415_B0.mp3" << 29.11;
        QTest::newRow("tuner mandolin E5 at 415") << "mandolin_415_E5.mp3" << 621.80;
        QTest::newRow("tuner dombra G3 at 460") << "dombra_460_G3.mp3" << 204.91;
        QTest::newRow("tuner banjo G4 at 440") << "banjo_440_G4.mp3" << 392.0;
    }
    void pitch()
    {
        REQUIRE_SOUNDS();
        QFETCH(QString, file);
        QFETCH(double, hz);
        const SoundAnalysis::Decoded d = SoundAnalysis::decode((resources + file).toStdString(), true);
        QVERIFY2(d.ok, d.error.c_str());
        QVERIFY(SoundShaping::peak(d.mono) > 0.1f);
        // Measured on a second of sound after the attack.
        const std::size_t attack = std::size_t(0.15 * d.sampleRate);
        QVERIFY(d.mono.size() > attack);
        const std::size_t count = std::min(d.mono.size() - attack, std::size_t(d.sampleRate));
        const double measured = TestSupport::pitch(d.mono.data() + attack, count, d.sampleRate, hz);
        QVERIFY2(std::abs(measured - hz) / hz < 0.01,
                 qPrintable(QStringLiteral("measured %1 Hz, expected %2 Hz").arg(measured).arg(hz)));
    }

    // The measures the bank is held to, on notes made to order: a pitch found from its harmonics,
    // also without a fundamental, with a light vibrato or a tremor in level (as a steadied bowed
    // note keeps from its sample; counted by its centre), or with a stray partial; the loudness of a sine
    // as the broadcast standard gives it (a full-scale 997 Hz sine: -3.01 LUFS); how far a note that
    // falls 40 dB a second has fallen after one second.
    void measuresOfKnownSignals()
    {
        struct Case {
            const char* what;
            double hz, cents, vibrato, tremorDb;
            bool fundamental;
        };
        const Case cases[] = {{"A1 7 cents sharp", 55.0, 7.0, 0.0, 0.0, true},
                              {"B0 without its fundamental, 12 cents flat", 30.87, -12.0, 0.0, 0.0, false},
                              {"A4 with a vibrato of 5 cents", 440.0, 0.0, 5.0, 0.0, true},
                              {"A3 with a tremor of 4 dB, 3 cents sharp", 220.0, 3.0, 0.0, 4.0, true},
                              {"E5 40 cents flat", 659.26, -40.0, 0.0, 0.0, true}};
        for (const Case& c : cases) {
            std::vector<float> x = syntheticNote(c.hz * std::pow(2.0, c.cents / 1200.0), 1.5, c.vibrato, c.fundamental);
            for (size_t i = 0; i < x.size(); ++i)
                x[i] *= float(std::pow(10.0, c.tremorDb * std::sin(2.0 * M_PI * 5.0 * double(i) / sampleRate) / 20.0));
            const double measured = SoundMeasure::cents(SoundMeasure::fundamental(x, sampleRate, c.hz, 0.15, 1.0), c.hz);
            QVERIFY2(std::abs(measured - c.cents) < 0.3, qPrintable(QStringLiteral("%1: %2").arg(c.what).arg(measured)));
        }
        // A bowed note whose loudest partial, the second, lies 18 cents sharp of the others (as a
        // violin sample's does): the note is where the rest of its series is.
        {
            const double hz = 277.18, flat = std::pow(2.0, -13.0 / 1200.0);
            std::vector<float> x(size_t(1.5 * sampleRate));
            for (size_t i = 0; i < x.size(); ++i) {
                const double t = double(i) / sampleRate;
                double v = std::sin(2.0 * M_PI * 2.0 * hz * std::pow(2.0, 5.0 / 1200.0) * t);
                for (int k : {1, 3, 4, 5, 6})
                    v += std::pow(0.5, k) * std::sin(2.0 * M_PI * k * hz * flat * t);
                x[i] = float(0.3 * v);
            }
            const double measured = SoundMeasure::cents(SoundMeasure::fundamental(x, sampleRate, hz, 0.15, 1.0, true), hz);
            QVERIFY2(std::abs(measured + 13.0) < 0.3, qPrintable(QStringLiteral("stray partial: %1").arg(measured)));
            const double stray = SoundMeasure::strayPartial(x, sampleRate, hz, 0.15, 1.0);
            QVERIFY2(std::abs(stray - 18.0) < 0.5, qPrintable(QStringLiteral("astray by %1").arg(stray)));
            QVERIFY(SoundMeasure::strayPartial(syntheticNote(hz, 1.5, 0.0, true), sampleRate, hz, 0.15, 1.0) < 0.5);
        }
        // What a listener tunes to: a note whose fundamental lies 14 cents below its overtones has
        // its strong partials 14 cents apart, the lowest of them there; and a note is told from
        // the one an octave above by its waveform at half its period.
        {
            std::vector<float> x = syntheticNote(220.0, 1.5, 0.0, false);
            for (size_t i = 0; i < x.size(); ++i)
                x[i] += float(0.5 * std::sin(2.0 * M_PI * 220.0 * std::pow(2.0, -14.0 / 1200.0) * double(i) / sampleRate));
            const SoundMeasure::StrongPartials s = SoundMeasure::strongPartials(x, sampleRate, 220.0, 0.15, 1.0);
            QVERIFY2(s.found && std::abs(s.lowest + 14.0) < 0.3 && std::abs(s.spread() - 14.0) < 0.3,
                     qPrintable(QStringLiteral("lowest %1, spread %2").arg(s.lowest).arg(s.spread())));
            QVERIFY(SoundMeasure::halfPeriodCorrelation(syntheticNote(220.0, 1.5, 0.0, true), sampleRate, 220.0, 0.15, 1.0) < 0.0);
            QVERIFY(SoundMeasure::halfPeriodCorrelation(syntheticNote(440.0, 1.5, 0.0, true), sampleRate, 220.0, 0.15, 1.0) > 0.99);
        }
        for (const double amplitude : {1.0, 0.1}) {
            std::vector<float> sine(size_t(2 * sampleRate));
            for (size_t i = 0; i < sine.size(); ++i)
                sine[i] = float(amplitude * std::sin(2.0 * M_PI * 997.0 * double(i) / sampleRate));
            const double expected = -3.01 + 20.0 * std::log10(amplitude);
            QCOMPARE(std::round(SoundMeasure::integratedLoudness(sine, sampleRate) * 10.0) / 10.0, std::round(expected * 10.0) / 10.0);
        }
        std::vector<float> decaying = syntheticNote(440.0, 1.5, 0.0, true);
        for (size_t i = 0; i < decaying.size(); ++i)
            decaying[i] *= float(std::pow(10.0, -40.0 * double(i) / sampleRate / 20.0));
        const double fall = SoundMeasure::fallBy(decaying, sampleRate, 1.0);
        QVERIFY2(fall > 37.0 && fall < 41.0, qPrintable(QString::number(fall)));
    }

    // A recorded vibrato is taken out of a tone that is to be steady, and the tone lands on its pitch.
    void steadyPitchTakesOutVibrato()
    {
        const double hz = 220.0;
        const std::vector<float> swinging = syntheticNote(hz * std::pow(2.0, 15.0 / 1200.0), 2.2, 30.0, true);
        const std::vector<float> steady = SoundShaping::steadyPitch(swinging, sampleRate, hz, hz, size_t(2 * sampleRate));
        QCOMPARE(steady.size(), size_t(2 * sampleRate));
        auto widestSwing = [&](const std::vector<float>& x) {
            double widest = 0.0;
            for (double t = 0.1; t < 1.8; t += 0.02)
                widest = std::max(widest, std::abs(SoundMeasure::cents(SoundMeasure::fundamental(x, sampleRate, hz, t, 0.1), hz)));
            return widest;
        };
        QVERIFY(widestSwing(swinging) > 30.0);
        QVERIFY2(widestSwing(steady) < 1.5, qPrintable(QString::number(widestSwing(steady))));
    }

    // Every file of the bank, measured: every note within 5 cents of its pitch and every reference
    // tone within 2 (by its fundamental over the second after the attack), and no partial of a bowed
    // one within 20 dB of its loudest more than 8 cents from its series; neighbouring notes of an
    // instrument, and neighbouring strings of a tuner, within 2 LU of each other and a whole
    // instrument or tuner within 6 LU; every note 30 dB below its loudest before its file begins to
    // fade, so that no file cuts a note off; every file exactly its length; and a balalaika's pluck
    // gone, 30 dB down, within 0.8 s (a steel-string guitar, which rang 1.5 s at E4, is no balalaika);
    // and every note heard at once, its first sample above -60 dBFS within a millisecond.
    void everyFileInTuneEvenAndDiedAway()
    {
        REQUIRE_SOUNDS();
        QStringList off, astray, steps, spans, cut, length, ringing, late;
        // Each family's worst tuning, worst step between neighbours, loudness span and files not
        // died away, printed as a table.
        struct Summary {
            double cents = 0.0, step = 0.0, low = 1e9, high = -1e9;
            std::string centsAt, stepAt;
            int files = 0, notDown = 0;
        };
        std::map<std::string, Summary> families;
        for (const Group& g : bankGroups()) {
            Summary& sum = families[g.family];
            for (size_t i = 0; i < g.notes.size(); ++i) {
                const SoundAnalysis::Figures& f = bankFigures().at(g.notes[i].name);
                const QString name = QString::fromStdString(g.notes[i].name);
                if (!f.error.empty()) {
                    off << name + " (" + QString::fromStdString(f.error) + ")";
                    continue;
                }
                if (!f.pitched || std::abs(f.cents) > g.toleranceCents)
                    off << QStringLiteral("%1 %2").arg(name, f.pitched ? QString::number(f.cents, 'f', 1) : "no pitch");
                if (f.stray > 8.0)
                    astray << QStringLiteral("%1 %2").arg(name).arg(f.stray, 0, 'f', 1);
                const double step = i > 0 ? f.loudness - bankFigures().at(g.notes[i - 1].name).loudness : 0.0;
                if (std::abs(step) > 2.0)
                    steps << QStringLiteral("%1 %2").arg(name).arg(step, 0, 'f', 1);
                if (f.fall < 30.0)
                    cut << QStringLiteral("%1 %2 dB").arg(name).arg(f.fall, 0, 'f', 1);
                if (std::abs(f.seconds - g.seconds) > 0.01)
                    length << QStringLiteral("%1 %2 s").arg(name).arg(f.seconds);
                if (f.lead > 0.001)
                    late << QStringLiteral("%1 %2 ms").arg(name).arg(f.lead * 1000.0, 0, 'f', 1);
                if (g.family == "balalaika" && f.ring > 0.8)
                    ringing << QStringLiteral("%1 %2 s").arg(name).arg(f.ring, 0, 'f', 2);
                ++sum.files;
                sum.notDown += f.fall < 30.0;
                sum.low = std::min(sum.low, f.loudness);
                sum.high = std::max(sum.high, f.loudness);
                if (std::abs(f.cents) >= std::abs(sum.cents)) {
                    sum.cents = f.cents;
                    sum.centsAt = g.notes[i].name;
                }
                if (std::abs(step) > std::abs(sum.step)) {
                    sum.step = step;
                    sum.stepAt = g.notes[i - 1].name + " -> " + g.notes[i].name;
                }
            }
        }
        qInfo("%-11s %5s %7s %-24s %7s %-48s %6s %s", "family", "files", "cents", "(worst)", "step LU", "(between)",
              "span", "not 30 dB down at fade");
        for (const auto& [family, sum] : families) {
            qInfo("%-11s %5d %+7.1f %-24s %+7.1f %-48s %6.1f %d", family.c_str(), sum.files, sum.cents,
                  sum.centsAt.c_str(), sum.step, sum.stepAt.c_str(), sum.high - sum.low, sum.notDown);
            if (sum.high - sum.low > 6.0)
                spans << QStringLiteral("%1 %2").arg(QString::fromStdString(family)).arg(sum.high - sum.low, 0, 'f', 1);
        }
        QStringList faults;
        const std::pair<const char*, const QStringList*> kinds[] = {
            {"out of tune", &off},           {"a bowed tone with a loud partial astray", &astray},
            {"louder or softer than the note before", &steps},
            {"uneven over the whole instrument", &spans}, {"still sounding when the fade begins", &cut},
            {"not the length of its articulation", &length}, {"a balalaika that rings on", &ringing},
            {"slow to start", &late}};
        // Each kind is listed on a line of its own (a failure message is cut short), then counted.
        for (const auto& [what, items] : kinds) {
            if (!items->isEmpty()) {
                qWarning("%s, %s", what, qPrintable(listed(*items)));
                faults << QStringLiteral("%1 (%2)").arg(QLatin1String(what)).arg(items->size());
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    }

    // Every note has one clear pitch: its strong partials (harmonics 1 to 4 within 20 dB of the
    // loudest of them) lie together about its pitch. A reference tone's agree within 10 cents, the
    // lowest of them is within 6 cents of its pitch, and it does not sound an octave high (the
    // waveform repeating at half its period: autocorrelation there 0.85 or more). Every other note's
    // are centred within 5 cents of its pitch and agree within 12; the piano's strings stretch their
    // overtones sharp by nature, so its are only centred within 10.
    void everyNoteHasOneClearPitch()
    {
        REQUIRE_SOUNDS();
        QStringList unclear;
        for (const Group& g : bankGroups()) {
            const bool piano = g.family == "piano";
            for (const Note& n : g.notes) {
                const SoundAnalysis::Figures& f = bankFigures().at(n.name);
                if (!f.error.empty())
                    continue; // listed with the files that are out of tune
                const SoundMeasure::StrongPartials& s = f.strong;
                const bool clear = s.found
                                   && (g.tuner ? f.halfPeriod < 0.85 && s.spread() <= 10.0 && std::abs(s.lowest) <= 6.0
                                               : std::abs(s.centre()) <= (piano ? 10.0 : 5.0) && (piano || s.spread() <= 12.0));
                if (!clear)
                    unclear << QStringLiteral("%1 partials %2..%3 lowest %4 half-period %5")
                                   .arg(QString::fromStdString(n.name))
                                   .arg(s.low, 0, 'f', 1).arg(s.high, 0, 'f', 1).arg(s.lowest, 0, 'f', 1)
                                   .arg(f.halfPeriod, 0, 'f', 2);
            }
        }
        unclear.removeDuplicates();
        for (const QString& line : unclear)
            qWarning("%s", qPrintable(line));
        QVERIFY2(unclear.isEmpty(), qPrintable(QStringLiteral("%1 files without one clear pitch").arg(unclear.size())));
    }

    // The bar's first beat is a bell that rings on and is at least as loud; the other beats a short,
    // dry tick that is over well before the next beat at the fastest tempo. Both are heard from their
    // first sample (at -48 dBFS or above), so that a beat sounds when the metronome plays it.
    void metronomeSounds()
    {
        REQUIRE_SOUNDS();
        const SoundAnalysis::Decoded tick = SoundAnalysis::decode((resources + metronomeTick).toStdString(), true);
        const SoundAnalysis::Decoded bell = SoundAnalysis::decode((resources + metronomeBell).toStdString(), true);
        QVERIFY2(tick.ok, tick.error.c_str());
        QVERIFY2(bell.ok, bell.error.c_str());
        QVERIFY(!tick.mono.empty());
        QVERIFY(!bell.mono.empty());
        const double tickRing = SoundAnalysis::ringTime(tick.mono, tick.sampleRate);
        const double bellRing = SoundAnalysis::ringTime(bell.mono, bell.sampleRate);
        QVERIFY2(tickRing > 0.005 && tickRing < 0.2, qPrintable(QString::number(tickRing)));
        QVERIFY2(bellRing > 2.0 * tickRing, qPrintable(QStringLiteral("%1 vs %2").arg(bellRing).arg(tickRing)));
        QVERIFY(SoundShaping::peak(bell.mono) >= SoundShaping::peak(tick.mono));
        QVERIFY(SoundShaping::peak(tick.mono) > 0.3f);
        for (const auto& [name, sound] : {std::make_pair(metronomeTick, &tick), std::make_pair(metronomeBell, &bell)}) {
            const auto onset = std::find_if(sound->mono.begin(), sound->mono.end(), [](float v) { return std::fabs(v) >= 0.004f; });
            QVERIFY2(onset == sound->mono.begin(), qPrintable(QStringLiteral("%1 starts with %2 ms of silence").arg(name)
                                                                  .arg((onset - sound->mono.begin()) * 1000.0 / sound->sampleRate, 0, 'f', 2)));
        }
    }
};

TONARIX_TEST_MAIN(TestSoundBank)
#include "tst_SoundBank.moc"
