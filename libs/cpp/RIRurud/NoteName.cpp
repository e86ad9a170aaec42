#include "RIRurud/NoteName.h"

#include "REZirudid/App.h"

#include "QMMultiMedia/NativeAudioPlayer.h"
#include "QMMultiMedia/NativeAudioPlayerInternal.h"

#include <QVector>

namespace RIRurud {
namespace NoteName {

namespace {

SoundHook& soundHook()
{
    static SoundHook hook;
    return hook;
}

// One cell of the folding table: the layer letter(s) and the octave change (-1, 0, +1).
struct Fold
{
    const char* layer;
    int octaveShift;
};

// Indexed by letter index; flat and sharp columns.
constexpr Fold kFlat[7] = {{"B", -1}, {"Cd", 0}, {"Dd", 0}, {"E", 0}, {"Fd", 0}, {"Gd", 0}, {"Ad", 0}};
constexpr Fold kSharp[7] = {{"Cd", 0}, {"Dd", 0}, {"F", 0}, {"Fd", 0}, {"Gd", 0}, {"Ad", 0}, {"C", 1}};

} // namespace

int letterIndex(QChar letter)
{
    for (int i = 0; i < 7; ++i) {
        if (letter == QLatin1Char(kLetters[i]))
            return i;
    }
    return -1;
}

QString naturalName(const QString& boardForm)
{
    return boardForm.left(2);
}

int boardAccidental(const QString& boardForm)
{
    return boardForm.endsWith(QLatin1Char('#')) ? 1 : 0;
}

QString layerForm(const QString& natural, int accidental)
{
    const QString letter = natural.left(1);
    const QString octave = natural.mid(1, 1);
    const int index = letter.isEmpty() ? -1 : letterIndex(letter.at(0));
    if (accidental == 0 || index < 0)
        return letter + octave;

    const Fold& fold = accidental < 0 ? kFlat[index] : kSharp[index];
    if (fold.octaveShift == 0)
        return QLatin1String(fold.layer) + octave;
    // Octave-changing cells read the octave as a number; text that is no number reads as 0.
    return QLatin1String(fold.layer) + QString::number(octave.toInt() + fold.octaveShift);
}

QString layerFromBoard(const QString& boardForm)
{
    return boardForm.left(1) + (boardAccidental(boardForm) ? QStringLiteral("d") : QString())
        + boardForm.mid(1, 1);
}

QString boardFromLayer(const QString& layer)
{
    if (layer.size() > 1 && layer.at(1) == QLatin1Char('d'))
        return layer.left(1) + layer.mid(2) + QLatin1Char('#');
    return layer;
}

QString boardForm(const QString& natural, int accidental)
{
    return boardFromLayer(layerForm(natural, accidental));
}

QString soundFileName(const QString& instrument, const QString& layer)
{
    return instrument.toLower() + QStringLiteral("_440_") + layer + QStringLiteral(".mp3");
}

QString soundFilePath(const QString& instrument, const QString& layer)
{
    const REZirudid::App* app = REZirudid::App::theApp();
    return (app ? app->bundleResourcePath() : QString()) + soundFileName(instrument, layer);
}

void playSoundFile(const QString& path)
{
    if (path.isEmpty())
        return;
    if (soundHook()) {
        soundHook()(path);
        return;
    }
    QMMultiMedia::NativeAudioPlayer::playOnce(path);
}

void playSoundFiles(const QStringList& paths)
{
    QVector<QMMultiMedia::NativeAudioPlayer*> loaded;
    for (const QString& path : paths) {
        if (path.isEmpty())
            continue;
        if (soundHook()) {
            soundHook()(path);
            continue;
        }
        QMMultiMedia::NativeAudioPlayer* player = QMMultiMedia::NativeAudioPlayer::oneShot();
        player->setMedia(path);
        if (!player->internal()->hasMedia()) {
            delete player;
            continue;
        }
        loaded << player;
    }
    // Decoding is done: the notes start together, at the same frame of the sound engine's stream.
    for (QMMultiMedia::NativeAudioPlayer* player : loaded)
        player->play();
}

void setSoundHook(SoundHook hook)
{
    soundHook() = std::move(hook);
}

bool hasSoundHook()
{
    return bool(soundHook());
}

} // namespace NoteName
} // namespace RIRurud
