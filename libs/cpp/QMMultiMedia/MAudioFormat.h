#pragma once

#include <QString>

namespace QMMultiMedia {

// The format a recording is made in.
class MAudioFormat
{
public:
    enum Codec { WAV = 0, AIFF = 1, MPEG4AAC = 2, CAF = 3 };

    // "AIFF" 1, "MPEG4ACC" 2, "CAF" 3, anything else 0; compared exactly.
    static int codecIDFromString(const QString& codec);

    QString codec() const { return m_codec; }
    void setCodec(const QString& codec) { m_codec = codec; }
    int sampleRate() const { return m_sampleRate; }
    void setSampleRate(int rate) { m_sampleRate = rate; }
    int channelCount() const { return m_channelCount; }
    void setChannelCount(int count) { m_channelCount = count; }
    int sampleSize() const { return m_sampleSize; }
    void setSampleSize(int bits) { m_sampleSize = bits; }
    int bitRate() const { return m_bitRate; }
    void setBitRate(int bitsPerSecond) { m_bitRate = bitsPerSecond; }
    // Encoder quality 0 (lowest) to 4 (highest).
    int quality() const { return m_quality; }
    void setQuality(int quality) { m_quality = quality; }

    bool operator==(const MAudioFormat& o) const
    {
        return m_codec == o.m_codec && m_sampleRate == o.m_sampleRate && m_channelCount == o.m_channelCount
            && m_sampleSize == o.m_sampleSize && m_bitRate == o.m_bitRate && m_quality == o.m_quality;
    }

private:
    QString m_codec = QStringLiteral("WAV");
    int m_sampleRate = 44100;
    int m_channelCount = 2;
    int m_sampleSize = 16;
    int m_bitRate = 128000;
    int m_quality = 3;
};

} // namespace QMMultiMedia
