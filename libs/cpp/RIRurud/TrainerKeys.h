#pragma once

// The twelve answer keys of the notes trainer, one octave like a piano's, and the rule that judges
// an answer: a note (its first letter) with its accidental (-1 flat, 0 natural, +1 sharp) is right
// on a key when it is one of the key's spellings.

#include <QChar>
#include <QString>

namespace RIRurud {
namespace TrainerKeys {

struct Spelling
{
    char letter;
    int accidental;
};

struct Key
{
    const char* reportKey;   // "C", "C#", ... the name the report counts under
    const char* caption;     // UTF-8, a line break between the two lines
    bool black;              // object name "Keyd" (black) or "Key" (white)
    Spelling spellings[2];   // the notes this key answers; letter 0 marks an unused slot
};

inline constexpr int kKeyCount = 12;

// C, C#, D, D#, E, F, F#, G, G#, A, A#, B. U+266D (music flat sign) is "\xe2\x99\xad" in UTF-8.
inline constexpr Key kKeys[kKeyCount] = {
    {"C", "C\n(do)", false, {{'C', 0}, {'B', +1}}},
    {"C#", "C#\nD\xe2\x99\xad", true, {{'C', +1}, {'D', -1}}},
    {"D", "D\n(re)", false, {{'D', 0}, {0, 0}}},
    {"D#", "D#\nE\xe2\x99\xad", true, {{'D', +1}, {'E', -1}}},
    {"E", "E\n(mi)", false, {{'E', 0}, {'F', -1}}},
    {"F", "F\n(fa)", false, {{'F', 0}, {'E', +1}}},
    {"F#", "F#\nG\xe2\x99\xad", true, {{'F', +1}, {'G', -1}}},
    {"G", "G\n(sol)", false, {{'G', 0}, {0, 0}}},
    {"G#", "G#\nA\xe2\x99\xad", true, {{'G', +1}, {'A', -1}}},
    {"A", "A\n(la)", false, {{'A', 0}, {0, 0}}},
    {"A#", "A#\nB\xe2\x99\xad", true, {{'A', +1}, {'B', -1}}},
    {"B", "B\n(si)", false, {{'B', 0}, {'C', -1}}},
};

// True when the note answers key `key` (0..11). Only the note's first character counts (case
// sensitive); the octave and any "#" in the name play no part, the accidental alone decides.
inline bool isRightAnswer(int key, const QString& note, int accidental)
{
    if (key < 0 || key >= kKeyCount || note.isEmpty())
        return false;
    const QChar letter = note.at(0);
    for (const Spelling& s : kKeys[key].spellings) {
        if (s.letter != 0 && letter == QLatin1Char(s.letter) && accidental == s.accidental)
            return true;
    }
    return false;
}

// The trainer's clock text for a time elapsed since the start: "hh:mm:ss", with the hours running
// on past 24 ("25:00:03") instead of wrapping like a time of day. A negative time shows zero.
inline QString formatElapsed(qint64 msecs)
{
    if (msecs < 0)
        msecs = 0;
    const qint64 seconds = msecs / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace TrainerKeys
} // namespace RIRurud
