#include "ToneFiles.h"

#include "QMMultiMedia/MultiMediaSettings.h"
#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include <QProcess>
#include <QtEndian>

#include <cmath>

namespace TestAudio {

namespace {

} // namespace

std::vector<float> sineTone(double hz, double seconds, int channels, float amplitude, int sampleRate)
{
    const int frames = int(std::lround(seconds * sampleRate));
    const int fade = qMin(frames / 2, sampleRate / 200);
    std::vector<float> out(size_t(frames) * size_t(channels));
    for (int i = 0; i < frames; ++i) {
        double gain = amplitude;
        if (i < fade)
            gain *= double(i) / fade;
        else if (i >= frames - fade)
            gain *= double(frames - 1 - i) / fade;
        const float v = float(gain * std::sin(2.0 * M_PI * hz * i / sampleRate));
        for (int c = 0; c < channels; ++c)
            out[size_t(i) * size_t(channels) + size_t(c)] = v;
    }
    return out;
}

bool writeTone(const QString& path, double hz, double seconds, int channels, float amplitude, int sampleRate)
{
    const std::vector<float> tone = sineTone(hz, seconds, channels, amplitude, sampleRate);
    return QMMultiMedia::AudioFileWriter::writeAll(path, tone.data(), qint64(tone.size()) / channels, sampleRate,
                                                  channels);
}

QByteArray wavBytes(int sampleRate, int channels, qint64 frames, int bits, quint32 claimedBytes)
{
    const int block = channels * bits / 8;
    const QByteArray data(int(frames * block), bits == 8 ? '\x80' : '\0');
    return "RIFF" + bytesOf(qToLittleEndian<quint32>(quint32(36 + data.size()))) + "WAVEfmt "
        + bytesOf(qToLittleEndian<quint32>(16)) + bytesOf(qToLittleEndian<quint16>(1))
        + bytesOf(qToLittleEndian<quint16>(quint16(channels))) + bytesOf(qToLittleEndian<quint32>(quint32(sampleRate)))
        + bytesOf(qToLittleEndian<quint32>(quint32(sampleRate) * quint32(block))) + bytesOf(qToLittleEndian<quint16>(quint16(block)))
        + bytesOf(qToLittleEndian<quint16>(quint16(bits))) + "data"
        + bytesOf(qToLittleEndian<quint32>(claimedBytes ? claimedBytes : quint32(data.size()))) + data;
}

QByteArray coverTag(int size)
{
    QByteArray picture(size - 20, '\0');
    quint32 x = 1;
    for (char& c : picture)
        c = char((x = x * 1664525u + 1013904223u) >> 24);
    // Version 2.3, its size in seven bits a byte; one frame.
    QByteArray tag = "ID3" + QByteArray("\x03\x00\x00", 3);
    for (int shift : {21, 14, 7, 0})
        tag += char(((size - 10) >> shift) & 0x7f);
    return tag + "APIC" + bytesOf(qToBigEndian<quint32>(quint32(picture.size()))) + QByteArray(2, '\0') + picture;
}

bool encodeMp3(const QString& wav, const QString& mp3, const QStringList& options)
{
    return QProcess::execute(QMMultiMedia::ExternalPaths::lameEncoder(),
                             QStringList{"--quiet"} + options + QStringList{wav, mp3}) == 0;
}

double rms(const float* s, int count, int stride, int offset)
{
    double sum = 0;
    int n = 0;
    for (int i = offset; i < count; i += stride, ++n)
        sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / n) : 0.0;
}

double toneLevel(const float* s, int count, double hz, int sampleRate, int stride)
{
    const double w = 2.0 * M_PI * hz / sampleRate;
    double s1 = 0, s2 = 0, sum = 0;
    for (int i = 0; i < count; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2.0 * M_PI * i / (count - 1));
        sum += window;
        const double s0 = s[size_t(i) * size_t(stride)] * window + 2.0 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return 2.0 * std::hypot(s1 - s2 * std::cos(w), s2 * std::sin(w)) / sum;
}

} // namespace TestAudio
