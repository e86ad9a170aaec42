#include "RIRurud/ChordBook.h"

#include "REZirudid/App.h"
#include "RIRurud/ChordTables.h"
#include "RIRurud/MusicSettings.h"
#include "RIRurud/NoteName.h"

#include <QHash>

#include <algorithm>

namespace RIRurud {
namespace ChordBook {

namespace {

struct Spelling
{
    const char* letter;
    int accidental;   // -1 flat, 0 natural, +1 sharp
    int root;         // root index
};

// In the order a name's start is tested: accidentals before the natural of each letter.
constexpr Spelling kSpellings[21] = {
    {"A", -1, 1}, {"A", 1, 3}, {"A", 0, 0}, {"B", -1, 3}, {"B", 1, 4}, {"B", 0, 2},
    {"C", -1, 2}, {"C", 1, 6}, {"C", 0, 4}, {"D", -1, 6}, {"D", 1, 8}, {"D", 0, 5},
    {"E", -1, 8}, {"E", 1, 9}, {"E", 0, 7}, {"F", -1, 7}, {"F", 1, 11}, {"F", 0, 9},
    {"G", -1, 11}, {"G", 1, 1}, {"G", 0, 10},
};

QString spell(const Spelling& s)
{
    const QString letter = QString::fromLatin1(s.letter);
    if (s.accidental < 0)
        return letter + flatSign();
    if (s.accidental > 0)
        return letter + QStringLiteral(" #");
    return letter;
}

// Every known chord name -> its index.
const QHash<QString, int>& nameIndex()
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (const Spelling& s : kSpellings) {
            for (int q = 0; q < ChordTables::kQualityCount; ++q)
                h.insert(spell(s) + QLatin1String(ChordTables::kQualitySuffix[q]), s.root * ChordTables::kQualityCount + q);
        }
        return h;
    }();
    return index;
}

// The twelve roots from C upwards, spelled with flats and with sharps.
const QStringList& flatRoots()
{
    static const QStringList list = {QStringLiteral("C"), QStringLiteral("D") + flatSign(), QStringLiteral("D"),
                                     QStringLiteral("E") + flatSign(), QStringLiteral("E"), QStringLiteral("F"),
                                     QStringLiteral("G") + flatSign(), QStringLiteral("G"),
                                     QStringLiteral("A") + flatSign(), QStringLiteral("A"),
                                     QStringLiteral("B") + flatSign(), QStringLiteral("B")};
    return list;
}

const QStringList& sharpRoots()
{
    static const QStringList list = {QStringLiteral("C"), QStringLiteral("C #"), QStringLiteral("D"), QStringLiteral("D #"),
                                     QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("F #"), QStringLiteral("G"),
                                     QStringLiteral("G #"), QStringLiteral("A"), QStringLiteral("A #"), QStringLiteral("B")};
    return list;
}

QString soundPath(const QString& bundle, const char* instrument, int midiKey)
{
    const QString layer = QLatin1String(ChordTables::kSoundNoteNames[ChordTables::pitchClassOfKey(midiKey)])
        + QString::number(ChordTables::octaveOfKey(midiKey));
    return bundle + NoteName::soundFileName(QLatin1String(instrument), layer);
}

bool validIndex(int index)
{
    return index >= 0 && index < kChordCount;
}

} // namespace

const QStringList& rootSpellings()
{
    static const QStringList list = [] {
        QStringList l;
        for (const Spelling& s : kSpellings)
            l << spell(s);
        return l;
    }();
    return list;
}

int rootOfSpelling(const QString& spelling)
{
    const int at = rootSpellings().indexOf(spelling);
    return at < 0 ? -1 : kSpellings[at].root;
}

const QStringList& qualitySuffixes()
{
    static const QStringList list = [] {
        QStringList l;
        for (const char* suffix : ChordTables::kQualitySuffix)
            l << QString::fromLatin1(suffix);
        return l;
    }();
    return list;
}

int chordIndex(const QString& name)
{
    return nameIndex().value(name, -1);
}

bool splitChordName(const QString& name, QString* spelling, QString* suffix)
{
    const int index = chordIndex(name);
    if (index < 0)
        return false;
    const QString wanted = qualitySuffixes().at(index % ChordTables::kQualityCount);
    // The spelling is what is left once the quality's suffix is taken off the end.
    *spelling = name.left(name.size() - wanted.size());
    *suffix = wanted;
    return true;
}

QString chordName(int index)
{
    if (!validIndex(index))
        return QString();
    const int root = index / ChordTables::kQualityCount;
    const int semitone = ChordTables::kRootPitchClass[root];
    return flatRoots().at(semitone) + qualitySuffixes().at(index % ChordTables::kQualityCount);
}

QString entryName(const QString& entry)
{
    QString name = entry;
    return name.remove(QLatin1Char('\n'));
}

QString transposeEntry(const QString& entry, int semitones, bool up)
{
    if (semitones < 1 || semitones > 11)
        return entry;
    const QStringList parts = entry.split(QLatin1Char('\n'));
    const QString quality = parts.size() >= 2 ? parts.last() : QString();
    const bool sharps = entryName(entry).contains(QLatin1Char('#'));
    const int root = rootOfSpelling(parts.first());
    if (root < 0)
        return entry;
    const int moved = ((ChordTables::kRootPitchClass[root] + (up ? semitones : -semitones)) % 12 + 12) % 12;
    return (sharps ? sharpRoots() : flatRoots()).at(moved) + QLatin1Char('\n') + quality;
}

QString pianoKeyCode(const QVector<int>& tab)
{
    char code[13];
    ChordTables::pianoKeyCode(tab.constData(), std::size_t(tab.size()), code);
    return QString::fromLatin1(code);
}

QString stringCode(const QVector<int>& tab)
{
    QByteArray code(tab.size() * 11 + 1, '\0');
    ChordTables::stringCode(tab.constData(), std::size_t(tab.size()), code.data());
    return QString::fromLatin1(code.constData());
}

QString picturePath(View view, const QString& instrument, const QVector<int>& tab, const QString& resourceOffset)
{
    const bool piano = instrument == QLatin1String("piano");
    QString name;
    switch (view) {
    case View::Diagram:
        name = QStringLiteral("a_") + pianoKeyCode(tab) + QStringLiteral(".png");
        break;
    case View::Tablature:
        name = QStringLiteral("b_") + pianoKeyCode(tab) + QStringLiteral(".png");
        break;
    case View::Photo:
        name = instrument + QLatin1Char('_') + (piano ? pianoKeyCode(tab) : stringCode(tab)) + QStringLiteral(".jpg");
        break;
    }
    return QStringLiteral(":/") + resourceOffset + QStringLiteral("_resources/imgs/Chords/") + name;
}

QVector<int> ukuleleTab(int index)
{
    if (!validIndex(index))
        return {};
    const auto& row = ChordTables::kUkulele[index];
    return QVector<int>(std::begin(row), std::end(row));
}

QVector<int> pianoTab(int index)
{
    if (!validIndex(index))
        return {};
    int tab[ChordTables::kPianoKeys];
    ChordTables::pianoTab(ChordTables::kPiano[index], tab);
    return QVector<int>(std::begin(tab), std::end(tab));
}

QString ukuleleSound(const QString& bundle, int string, int fret)
{
    if (string < 0 || string >= ChordTables::kUkuleleStrings || fret < 0 || fret > ChordTables::kUkuleleLastFret)
        return QString();
    return soundPath(bundle, "ukulele", ChordTables::kUkuleleOpenKey[string] + fret);
}

QString pianoSound(const QString& bundle, int key)
{
    if (key < 0 || key >= ChordTables::kPianoKeys)
        return QString();
    return soundPath(bundle, "piano", ChordTables::kPianoLowestKey + key);
}

QStringList ukuleleSounds(const QString& bundle, const QVector<int>& tab)
{
    QStringList sounds;
    for (int s = 0; s < tab.size(); ++s)
        sounds << ukuleleSound(bundle, s, tab.at(s));
    return sounds;
}

QStringList pianoSounds(const QString& bundle, const QVector<int>& tab)
{
    QStringList sounds;
    for (int k = 0; k < ChordTables::kPianoKeys; ++k)
        sounds << (k < tab.size() && tab.at(k) == 0 ? pianoSound(bundle, k) : QString());
    return sounds;
}

// ------------------------------------------------------------------------------------------------

QString builtInFavorite()
{
    static const QString value = QStringLiteral("Pelmaro - Et Si Tu N'existais Pas:")
        + QStringList{QStringLiteral("B\nm"), QStringLiteral("E\nm"), QStringLiteral("F #\n7"), QStringLiteral("A\n7"),
                      QStringLiteral("D\n"), QStringLiteral("D\nm"), QStringLiteral("G\nm"), QStringLiteral("A\n7"),
                      QStringLiteral("C\n7"), QStringLiteral("F\n")}
              .join(QLatin1Char(','));
    return value;
}

void parseFavorite(const QString& value, QString* name, QStringList* entries)
{
    const QStringList parts = value.split(QLatin1Char(':'));
    *name = parts.first();
    *entries = parts.last().split(QLatin1Char(','));
}

QString formatFavorite(const QString& name, const QStringList& entries)
{
    return name + QLatin1Char(':') + entries.join(QLatin1Char(','));
}

bool isStorableFavoriteName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char(':'));
}

namespace {

// A number as the program writes it: decimal, without sign or leading zero.
bool isWrittenNumber(const QString& text)
{
    const auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    return !text.isEmpty() && (text.size() == 1 || text.at(0) != QLatin1Char('0'))
        && std::all_of(text.cbegin(), text.cend(), digit);
}

// The numbers i of the stored "Favorite<i>" keys, smallest first. They are compared as text,
// shorter first, so that no number is too large.
QStringList storedFavoriteNumbers(const REZirudid::App& app)
{
    const QString prefix = SettingsKeys::favoritePrefix();
    QStringList numbers;
    for (const QString& key : app.settingsKeys()) {
        if (key.startsWith(prefix) && isWrittenNumber(key.mid(prefix.size())))
            numbers << key.mid(prefix.size());
    }
    std::sort(numbers.begin(), numbers.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return numbers;
}

bool isBelow(const QString& number, int limit)
{
    return number.size() <= 10 && number.toLongLong() < limit;
}

} // namespace

Favorites readFavorites()
{
    Favorites favorites;
    REZirudid::App* app = REZirudid::App::theApp();
    if (!app)
        return favorites;
    // Another program run may have stored favourites since: read what is on disk.
    app->syncSettings();
    // The count is no reason to leave a stored favourite unread: a damaged one would hide it, and
    // the next save would write over it. What is read is what is stored, so a huge count costs
    // nothing.
    const QStringList numbers = storedFavoriteNumbers(*app);
    const int count = app->settingsValue(SettingsKeys::favoritesCount(), 1).toInt();
    QString name;
    QStringList entries;
    if (std::count_if(numbers.cbegin(), numbers.cend(), [count](const QString& n) { return isBelow(n, count); }) < count) {
        parseFavorite(builtInFavorite(), &name, &entries);
        favorites.insert(name, entries);
    }
    for (const QString& number : numbers) {
        parseFavorite(app->settingsValue(SettingsKeys::favoritePrefix() + number).toString(), &name, &entries);
        favorites.insert(name, entries);
    }
    return favorites;
}

void writeFavorites(const Favorites& favorites)
{
    REZirudid::App* app = REZirudid::App::theApp();
    if (!app)
        return;
    app->setSettingsValue(SettingsKeys::favoritesCount(), favorites.size());
    int i = 0;
    for (auto it = favorites.cbegin(); it != favorites.cend(); ++it)
        app->setSettingsValue(SettingsKeys::favorite(i++), formatFavorite(it.key(), it.value()));
    // Any other stored key would be read back: a deleted favourite would return.
    for (const QString& number : storedFavoriteNumbers(*app)) {
        if (!isBelow(number, i))
            app->removeSettingsValue(SettingsKeys::favoritePrefix() + number);
    }
    app->syncSettings();
}

} // namespace ChordBook
} // namespace RIRurud
