#pragma once

// Note names as boards, staff, trainer and chord pages exchange them.
//
//   board form   letter, one octave digit, optional "#" (sharps only): "C4", "C4#"
//   signal pair  natural name ("C4", never "#") and an accidental: <0 flat, 0 natural, >0 sharp
//   layer form   letter, "d" for a sharp, octave: "E4", "Cd4" (names overlay pictures and sounds)
//
// Plain functions, no state. Letters are upper case and compared case-sensitively; C4 is middle C.

#include <QString>
#include <QStringList>

#include <functional>

namespace RIRurud {
namespace NoteName {

// "CDEFGAB"
inline constexpr char kLetters[] = "CDEFGAB";

// Index of an upper-case note letter (C 0, D 1, E 2, F 3, G 4, A 5, B 6), -1 for anything else.
int letterIndex(QChar letter);

// Natural name of a board form: its first two characters ("C4#" -> "C4").
QString naturalName(const QString& boardForm);

// Accidental a board sends with a board form: 1 when it ends with "#", else 0.
int boardAccidental(const QString& boardForm);

// Folds a signal pair into its layer form: ("B4", +1) -> "C5", ("D4", -1) -> "Cd4", ("E4", +1)
// -> "F4". Any negative accidental folds like a flat, any positive like a sharp. A name whose first
// character is not one of the seven letters, or an accidental of 0, keeps its first two characters.
QString layerForm(const QString& natural, int accidental);

// Layer form straight from a board form: "C6#" -> "Cd6", "E4" -> "E4".
QString layerFromBoard(const QString& boardForm);

// Board form of a signal pair, folded to sharps: ("D4", -1) -> "C4#", ("B4", +1) -> "C5".
QString boardForm(const QString& natural, int accidental);

// Board form of a layer form: "Cd4" -> "C4#", "E4" -> "E4".
QString boardFromLayer(const QString& layer);

// File name of a note's sound: lower-case instrument + "_440_" + layer form + ".mp3".
QString soundFileName(const QString& instrument, const QString& layer);

// Full path of a note's sound: the application's bundle resource folder + soundFileName().
// Without a running REZirudid::App the folder part is empty.
QString soundFilePath(const QString& instrument, const QString& layer);

// Plays one sound file on a new fire-and-forget native audio player that deletes itself when it
// has finished. An empty path plays nothing and creates no player.
void playSoundFile(const QString& path);

// Plays several sound files as one sound (the strings or keys of a chord): each file is loaded on
// a fire-and-forget player of its own first, then all of them start together. Empty paths are
// skipped; a file that cannot be loaded plays nothing and leaves no player behind.
void playSoundFiles(const QStringList& paths);

// Tests put a recorder in place of the real player: while a hook is set, playSoundFile() hands
// every non-empty path to it instead of creating a player. Pass an empty function to remove it.
using SoundHook = std::function<void(const QString& path)>;
void setSoundHook(SoundHook hook);
bool hasSoundHook();

} // namespace NoteName
} // namespace RIRurud
