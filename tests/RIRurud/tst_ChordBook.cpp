// The chord book's arithmetic without a window: every chord of both tables sounds the notes its
// name promises (checked against interval theory, not against the tables), chord names and
// indices, transposition, the picture codes and the favourites as the settings keep them.

#include "REZirudid/App.h"
#include "RIRurud/ChordBook.h"
#include "RIRurud/MusicSettings.h"
#include "TestMain.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <limits>
#include <set>

using namespace RIRurud;

namespace {

const QString flat = ChordBook::flatSign();

// What a chord is, by music theory: the root of index / 11 (A, A flat, B, B flat, C, D, D flat, E,
// E flat, F, G, G flat) and the intervals of quality index % 11.
int rootPitchClass(int index)
{
    static const int roots[12] = {9, 8, 11, 10, 0, 2, 1, 4, 3, 5, 7, 6};
    return roots[index / 11];
}

std::set<int> theoryPitchClasses(int index)
{
    static const std::vector<int> intervals[11] = {{0, 4, 7},     {0, 3, 7},     {0, 4, 8},     {0, 3, 6, 9},
                                                   {0, 4, 7, 9},  {0, 3, 7, 9},  {0, 4, 7, 10}, {0, 4, 7, 11},
                                                   {0, 3, 7, 10}, {0, 2, 4, 7, 10}, {0, 5, 7}};
    std::set<int> classes;
    for (int i : intervals[index % 11])
        classes.insert((rootPitchClass(index) + i) % 12);
    return classes;
}

// The pitch class a sound file is named after: "<instrument>_440_Cd4.mp3" is 1.
int pitchClassOfFile(const QString& path)
{
    static const QRegularExpression name(QStringLiteral("_440_([A-G])(d?)(\\d)\\.mp3$"));
    const QRegularExpressionMatch m = name.match(path);
    if (!m.hasMatch())
        return -1;
    static const QString letters = QStringLiteral("C D EF G A B");
    return (letters.indexOf(m.captured(1)) + (m.captured(2).isEmpty() ? 0 : 1)) % 12;
}

} // namespace

class TestChordBook : public QObject
{
    Q_OBJECT

private slots:
    void everyChordSoundsItsNotes_data();
    void everyChordSoundsItsNotes();
    void namesAndIndices();
    void transposition_data();
    void transposition();
    void pictureCodesAndPaths();
    void favoritesRoundTripThroughTheSettings();
    void storedFavoritesAreNeverLost_data();
    void storedFavoritesAreNeverLost();
};

void TestChordBook::everyChordSoundsItsNotes_data()
{
    QTest::addColumn<QString>("instrument");
    QTest::newRow("ukulele") << "ukulele";
    QTest::newRow("piano") << "piano";
}

void TestChordBook::everyChordSoundsItsNotes()
{
    QFETCH(QString, instrument);
    const bool piano = instrument == QLatin1String("piano");
    const QString bundle = QStringLiteral(TONARIX_RESOURCES_DIR);
    QStringList wrong, missing;
    for (int i = 0; i < ChordBook::kChordCount; ++i) {
        const QVector<int> tab = piano ? ChordBook::pianoTab(i) : ChordBook::ukuleleTab(i);
        const QStringList sounds = piano ? ChordBook::pianoSounds(bundle, tab) : ChordBook::ukuleleSounds(bundle, tab);
        QCOMPARE(sounds.size(), piano ? 24 : 4);
        std::set<int> sounded;
        for (const QString& path : sounds) {
            if (path.isEmpty())
                continue;
            sounded.insert(pitchClassOfFile(path));
            if (TONARIX_SOUNDS_GENERATED && !QFile::exists(path))
                missing << path;
        }
        std::set<int> expected = theoryPitchClasses(i);
        // Four strings cannot hold the five notes of a ninth chord: the ukulele leaves out the root.
        if (!piano && i % 11 == 9)
            expected.erase(rootPitchClass(i));
        // Every string of a ukulele chord sounds.
        if ((!piano && sounds.count(QString()) != 0) || sounded != expected)
            wrong << ChordBook::chordName(i);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    missing.removeDuplicates();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

void TestChordBook::namesAndIndices()
{
    struct Case
    {
        QString name;
        int index;
    };
    const Case cases[] = {
        {"A", 0},         {"A" + flat, 11},    {"G #", 11},        {"C" + flat, 22},   {"B #", 44},
        {"F" + flat, 77}, {"E #", 99},         {"G #m", 12},       {"Amaj7", 7},       {"Am7", 8},
        {"Am6", 5},       {"F #7", 127},       {"G" + flat + "sus4", 131}, {"Ddim", 58}, {"E #9", 108},
        // No chord: nothing, an unknown letter or suffix, a lower-case or spaced spelling.
        {"", -1},         {"H", -1},           {"Am9", -1},        {"am", -1},         {"A m", -1},
        {"A#", -1},       {"Xm", -1},          {"Cmaj", -1},       {"Csus", -1},
    };
    for (const Case& c : cases)
        QVERIFY2(ChordBook::chordIndex(c.name) == c.index, qPrintable(c.name));

    for (int i = 0; i < ChordBook::kChordCount; ++i) {
        const QString name = ChordBook::chordName(i);
        QString spelling, suffix;
        QVERIFY(ChordBook::splitChordName(name, &spelling, &suffix));
        QCOMPARE(spelling + suffix, name);
        QCOMPARE(ChordBook::chordIndex(name), i);
    }
    QCOMPARE(ChordBook::chordName(132), QString());
}

void TestChordBook::transposition_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* tag, const QString& entry, int steps, bool up, const QString& expected) {
        QTest::newRow(tag) << entry << steps << up << expected;
    };
    row("C up 1", "C\n", 1, true, "D" + flat + "\n");
    row("C down 1", "C\n", 1, false, "B\n");
    row("C down 11", "C\n", 11, false, "D" + flat + "\n");
    row("A #7 up 2", "A #\n7", 2, true, "C\n7");
    row("C7 up 1 goes flat", "C\n7", 1, true, "D" + flat + "\n7");
    row("C # up 1", "C #\n", 1, true, "D\n");
    row("D down 1", "D\n", 1, false, "D" + flat + "\n");
    row("Bm up 11", "B\nm", 11, true, "B" + flat + "\nm");
    row("Bm down 11", "B\nm", 11, false, "C\nm");
    row("Em up 7", "E\nm", 7, true, "B\nm");
    row("G #m down 5", "G #\nm", 5, false, "D #\nm");
    // The spellings outside both lists move with the others.
    row("B #m up 1", "B #\nm", 1, true, "C #\nm");
    row("E #7 down 1", "E #\n7", 1, false, "E\n7");
    row("C flat up 2", "C" + flat + "\n", 2, true, "D" + flat + "\n");
    row("F flat m up 1", "F" + flat + "\nm", 1, true, "F\nm");
    row("no line feed", "A", 2, true, "B\n");
    row("unknown root", "H\nm", 3, true, "H\nm");
    row("step 0", "C\n", 0, true, "C\n");
    row("step 12", "C\n", 12, false, "C\n");
}

void TestChordBook::transposition()
{
    QFETCH(QString, entry);
    QFETCH(int, steps);
    QFETCH(bool, up);
    QFETCH(QString, expected);
    QCOMPARE(ChordBook::transposeEntry(entry, steps, up), expected);
}

void TestChordBook::pictureCodesAndPaths()
{
    QVector<int> aMajor(24, -1);
    aMajor[9] = aMajor[13] = aMajor[16] = 0;
    QCOMPARE(ChordBook::pianoKeyCode(aMajor), QStringLiteral("X0XX0XXXX0XX"));
    QVector<int> bothOctaves(24, -1);
    bothOctaves[0] = bothOctaves[12] = bothOctaves[23] = 0;
    bothOctaves[5] = 1;   // only 0 presses a key
    QCOMPARE(ChordBook::pianoKeyCode(bothOctaves), QStringLiteral("0XXXXXXXXXX0"));
    // A short or empty tab: the keys it lacks are not pressed.
    QCOMPARE(ChordBook::pianoKeyCode({}), QStringLiteral("XXXXXXXXXXXX"));
    QCOMPARE(ChordBook::pianoKeyCode({-1, -1, 0}), QStringLiteral("XX0XXXXXXXXX"));
    QCOMPARE(ChordBook::stringCode({-1, 0, 0, 2, 3, 2}), QStringLiteral("X00232"));
    QCOMPARE(ChordBook::stringCode({10, 3, -5}), QStringLiteral("103X"));

    const QString chords = QStringLiteral(":/_resources/imgs/Chords/");
    QCOMPARE(ChordBook::picturePath(ChordBook::View::Diagram, "piano", aMajor), chords + "a_X0XX0XXXX0XX.png");
    QCOMPARE(ChordBook::picturePath(ChordBook::View::Tablature, "piano", aMajor), chords + "b_X0XX0XXXX0XX.png");
    QCOMPARE(ChordBook::picturePath(ChordBook::View::Photo, "piano", aMajor), chords + "piano_X0XX0XXXX0XX.jpg");
    QCOMPARE(ChordBook::picturePath(ChordBook::View::Photo, "guitar", {-1, 0, 0, 2, 3, 2}, "x/"),
             QStringLiteral(":/x/_resources/imgs/Chords/guitar_X00232.jpg"));
}

void TestChordBook::favoritesRoundTripThroughTheSettings()
{
    REZirudid::App* app = REZirudid::App::theApp();
    // Nothing stored: the built-in song.
    ChordBook::Favorites favorites = ChordBook::readFavorites();
    QCOMPARE(favorites.keys(), QStringList{"Pelmaro - Et Si Tu N'existais Pas"});
    QCOMPARE(favorites.first().join(','), QStringLiteral("B\nm,E\nm,F #\n7,A\n7,D\n,D\nm,G\nm,A\n7,C\n7,F\n"));

    // Names come back as typed, in case-sensitive order; entries keep their line feeds.
    favorites.insert(QStringLiteral("Song"), {"A\nm", "D\n"});
    favorites.insert(QStringLiteral("apple"), {"C\n"});
    favorites.insert(QStringLiteral("Zebra & Co"), {"E" + flat + "\nmaj7"});
    favorites.insert(QStringLiteral("  "), {"G\n"});
    favorites.insert(QStringLiteral("Für Élise"), {"A\nm"});
    ChordBook::writeFavorites(favorites);
    QCOMPARE(app->settingsValue(SettingsKeys::favoritesCount()).toInt(), 6);
    // Blanks sort first, then capitals, then lower case.
    QCOMPARE(app->settingsValue(SettingsKeys::favorite(2)).toString(), QStringLiteral("Pelmaro - Et Si Tu N'existais Pas:")
                 + favorites.value("Pelmaro - Et Si Tu N'existais Pas").join(','));
    QCOMPARE(ChordBook::readFavorites(), favorites);
    QCOMPARE(ChordBook::readFavorites().keys().last(), QStringLiteral("apple"));

    // A value without ":" is a favourite of one entry; a name cannot hold ":".
    QString name;
    QStringList entries;
    ChordBook::parseFavorite(QStringLiteral("abc"), &name, &entries);
    QCOMPARE(name, QStringLiteral("abc"));
    QCOMPARE(entries, QStringList{"abc"});
    QVERIFY(!ChordBook::isStorableFavoriteName(QStringLiteral("a:b")));
    QVERIFY(!ChordBook::isStorableFavoriteName(QString()));
    QVERIFY(ChordBook::isStorableFavoriteName(QStringLiteral(" ")));

    // Once nothing is stored, a count of 0 means no favourites, not the built-in song.
    ChordBook::writeFavorites({});
    QCOMPARE(app->settingsValue(SettingsKeys::favoritesCount()).toInt(), 0);
    QVERIFY(ChordBook::readFavorites().isEmpty());
}

// Whatever the count says, every stored favourite is read, numbers missing or not (a number missing
// below the count reads as the built-in song as well), a save writes them all back under the count
// that matches, and a deleted one leaves no key behind that would bring it back. A key the program
// does not write is neither read nor touched.
void TestChordBook::storedFavoritesAreNeverLost_data()
{
    QTest::addColumn<QVariant>("count");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<bool>("builtIn");
    const auto first = [](int n) {
        QStringList numbers;
        for (int i = 0; i < n; ++i)
            numbers << QString::number(i);
        return numbers;
    };
    QTest::newRow("below zero") << QVariant(-1) << first(3) << false;
    QTest::newRow("not a number") << QVariant("three") << first(3) << false;
    QTest::newRow("lower") << QVariant(1) << first(3) << false;
    QTest::newRow("more than a new name may join") << QVariant(600) << first(600) << false;
    QTest::newRow("huge, with the built-in song") << QVariant(std::numeric_limits<int>::max()) << first(2) << true;
    QTest::newRow("a number missing") << QVariant(3) << QStringList{"0", "2"} << true;
    QTest::newRow("past the count, after a gap") << QVariant(1) << QStringList{"0", "7", "12"} << false;
    QTest::newRow("beyond a whole number") << QVariant(2) << QStringList{"0", "99999999999"} << true;
}
void TestChordBook::storedFavoritesAreNeverLost()
{
    QFETCH(QVariant, count);
    QFETCH(QStringList, numbers);
    QFETCH(bool, builtIn);
    REZirudid::App* app = REZirudid::App::theApp();
    ChordBook::writeFavorites({});
    ChordBook::Favorites expected;
    for (const QString& number : numbers) {
        const QString name = QStringLiteral("Song %1").arg(number, 11, QLatin1Char('0'));
        expected.insert(name, {QStringLiteral("A\nm"), number});
        app->setSettingsValue(SettingsKeys::favoritePrefix() + number, ChordBook::formatFavorite(name, expected.value(name)));
    }
    app->setSettingsValue(SettingsKeys::favoritesCount(), count);
    app->setSettingsValue(SettingsKeys::favoritePrefix() + "01", "Not written by the program:E\n");
    if (builtIn)
        expected.insert(QStringLiteral("Pelmaro - Et Si Tu N'existais Pas"), ChordBook::builtInFavorite().section(':', 1).split(','));
    ChordBook::Favorites favorites = ChordBook::readFavorites();
    QCOMPARE(favorites, expected);
    ChordBook::writeFavorites(favorites);
    QCOMPARE(app->settingsValue(SettingsKeys::favoritesCount()).toInt(), expected.size());
    QCOMPARE(ChordBook::readFavorites(), expected);
    favorites.remove(favorites.lastKey());   // the last key is the one a longer list leaves behind
    ChordBook::writeFavorites(favorites);
    QCOMPARE(ChordBook::readFavorites(), favorites);
    QVERIFY(app->containsSettingsValue(SettingsKeys::favoritePrefix() + "01"));
    app->removeSettingsValue(SettingsKeys::favoritePrefix() + "01");
}

TONARIX_APP_TEST_MAIN(TestChordBook)
#include "tst_ChordBook.moc"
