#pragma once

// The chord book's arithmetic as plain functions over the chord tables (ChordTables.h): chord names
// and indices, transposition of a chord entry, the codes and paths of the chord pictures, the tabs
// and sound lists of the chord pages, and the stored form of the favourites. No widgets, no state.
//
//   chord index  0..131, root x 11 + quality (roots A, A flat, B, B flat, C, D, D flat, E, E flat,
//                F, G, G flat; qualities as ChordTables::kQualitySuffix)
//   chord name   a root spelling followed by a suffix: "A", "B\u266Dm", "F #7"
//   chord entry  a chord as the transposer's tabs hold it: root, a line feed, suffix ("F #\n7")

#include "RIRurud/ChordTables.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace RIRurud {
namespace ChordBook {

inline constexpr int kChordCount = ChordTables::kChordCount;

// The flat sign the roots are spelled with (U+266D).
inline QString flatSign() { return QString(QChar(0x266D)); }

// The 21 root spellings, in the order a name's start is tested against them (every flat and sharp
// before its natural): A flat, "A #", A, B flat, "B #", B, C flat, "C #", C, ..., G flat, "G #", G.
const QStringList& rootSpellings();
// Root index (0..11) of a spelling; -1 for anything else.
int rootOfSpelling(const QString& spelling);
// The eleven suffixes by quality index ("" for major).
const QStringList& qualitySuffixes();

// Index of a chord name: the name must be one of the 21 spellings followed by one of the eleven
// suffixes, exactly; anything else is -1.
int chordIndex(const QString& name);
// The root spelling and the suffix of a known chord name; false (and nothing set) for an unknown one.
bool splitChordName(const QString& name, QString* spelling, QString* suffix);
// A chord's name as the page shows it first: flat spelling and suffix ("A", "B\u266Dm").
QString chordName(int index);

// The name a chord entry stands for: the entry without its line feeds.
QString entryName(const QString& entry);
// Moves one chord entry by 1..11 semitones up or down. The root is spelled with sharps when the
// entry's name holds "#", else with flats; C flat, F flat, "B #" and "E #" move like B, E, C and F.
// An entry whose root is no known spelling, or a step outside 1..11, is given back unchanged.
QString transposeEntry(const QString& entry, int semitones, bool up);

// The codes that name a chord's pictures (see ChordTables.h).
QString pianoKeyCode(const QVector<int>& tab);
QString stringCode(const QVector<int>& tab);

enum class View { Diagram, Tablature, Photo };
// ":/" + offset + "_resources/imgs/Chords/" + the picture's name: "a_<key code>.png" (diagram) and
// "b_<key code>.png" (tablature) on the piano, "<instrument>_<code>.jpg" for every photo.
QString picturePath(View view, const QString& instrument, const QVector<int>& tab,
                    const QString& resourceOffset = QString());

// The tabs of the chord pages' tables: four frets for the ukulele, 24 keys (0 pressed, -1 not) for
// the piano.
QVector<int> ukuleleTab(int index);
QVector<int> pianoTab(int index);

// Sound paths: the bundle folder + "<instrument>_440_<note>.mp3". A ukulele string sounds for frets
// 0..8 (where the sound bank ends) and is silent ("") otherwise; a piano key sounds for the value 0
// only. The lists hold one item per string or key, in tab order.
QString ukuleleSound(const QString& bundle, int string, int fret);
QString pianoSound(const QString& bundle, int key);
QStringList ukuleleSounds(const QString& bundle, const QVector<int>& tab);
QStringList pianoSounds(const QString& bundle, const QVector<int>& tab);

// ------------------------------------------------------------------------------------------------
// Favourites: named chord sequences, stored one a setting as name + ":" + entries joined by ",".

using Favorites = QMap<QString, QStringList>;

// The favourite that is there before anything has been stored.
QString builtInFavorite();
// No new name is saved once this many are stored. Favourites already stored are all kept, however
// many there are.
inline constexpr int kMaxFavorites = 500;

// Name and entries of a stored value: the part before the first ":" names it, the part after the
// last ":" split at "," gives the entries (a value without ":" is both).
void parseFavorite(const QString& value, QString* name, QStringList* entries);
QString formatFavorite(const QString& name, const QStringList& entries);
// A name can be stored and read back as itself: not empty, and without ":".
bool isStorableFavoriteName(const QString& name);

// Reading and writing through the application's settings ("FavoritesCount", "Favorite<i>").
// Reading takes every stored "Favorite<i>", in the order of i, whatever the count says: a
// hand-edited or damaged file may skip a number, or give a count that is lower, higher or not a
// number. When a number below the count holds nothing, the built-in favourite is read as well, as
// on a first start; a stored favourite of its name takes its place. Writing stores the count of what
// it writes, under 0 and up, and removes every other "Favorite<i>", so that nothing deleted comes
// back. Keys numbered in another way than the program writes them ("Favorite01") are left alone.
Favorites readFavorites();
void writeFavorites(const Favorites& favorites);

} // namespace ChordBook
} // namespace RIRurud
