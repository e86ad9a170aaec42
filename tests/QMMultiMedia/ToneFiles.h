#pragma once

// Test sound files made on the spot: sine tones of a given pitch and length, and the pieces of
// damaged and long files.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace TestAudio {

constexpr int toneRate = 44100;

// Interleaved frames of a sine tone with 5 ms fades at both ends.
std::vector<float> sineTone(double hz, double seconds, int channels = 1, float amplitude = 0.5f,
                            int sampleRate = toneRate);
// Writes a tone file (container by extension); false when it could not be written.
bool writeTone(const QString& path, double hz, double seconds, int channels = 1, float amplitude = 0.5f,
               int sampleRate = toneRate);

// The bytes of a value as it lies in memory (qToBigEndian or qToLittleEndian it first).
template <typename T>
QByteArray bytesOf(T value)
{
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}
// The bytes of a WAV file of silence, 16-bit (or 8-bit); its header may claim more data than it holds.
QByteArray wavBytes(int sampleRate, int channels, qint64 frames, int bits = 16, quint32 claimedBytes = 0);
// An ID3v2 tag holding a picture of noise, `size` bytes in all, as a cover picture stands before
// the sound of an MP3.
QByteArray coverTag(int size);
// Encodes a WAV file into an MP3 with the LAME encoder and the given options; false when it fails.
bool encodeMp3(const QString& wav, const QString& mp3, const QStringList& options);

// Root mean square of a stretch of samples, taking every `stride`-th from `offset`.
double rms(const float* samples, int count, int stride = 1, int offset = 0);

// Amplitude of the sine at `hz` in `count` samples taken every `stride`-th, through a Hann window
// (one bin of a DFT, by Goertzel's recurrence): a sine of amplitude 1 at that frequency gives 1,
// one some hundred hertz away next to nothing.
double toneLevel(const float* samples, int count, double hz, int sampleRate, int stride = 1);

} // namespace TestAudio
