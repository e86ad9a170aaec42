#include "QMMultiMedia/_Coders/AacFileWriter.h"

#include "QMMultiMedia/_Coders/AvLibrary.h"

#include <QFile>
#include <QFileInfo>

namespace QMMultiMedia {

AacFileWriter::~AacFileWriter()
{
    close();
}

const char* AacFileWriter::containerFor(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("m4a"))
        return "ipod";
    if (ext == QLatin1String("mp4"))
        return "mp4";
    if (ext == QLatin1String("aac"))
        return "adts";
    return nullptr;
}

QString AacFileWriter::unavailableReason()
{
    QString missing;
    if (AvLibrary::load(&missing))
        return QString();
    return QStringLiteral("AAC cannot be recorded: %1").arg(missing);
}

bool AacFileWriter::fail(const QString& what, int code)
{
    if (m_failed && !m_error.isEmpty())
        return false;  // the first reason is the one that counts
    char text[AV_ERROR_MAX_STRING_SIZE] = {0};
    if (code < 0 && m_av)
        m_av->av_strerror(code, text, sizeof text);
    m_error = code < 0 ? what + QStringLiteral(": ") + QString::fromLocal8Bit(text) : what;
    m_failed = true;
    return false;
}

bool AacFileWriter::open(const QString& path, int sampleRate, int channels, int bitRate)
{
    close();
    m_error.clear();
    m_failed = false;
    m_pts = 0;
    m_pending.clear();
    const char* muxer = containerFor(path);
    if (!muxer)
        return fail(QStringLiteral("AAC cannot be stored in a .%1 file").arg(QFileInfo(path).suffix()), 0);
    if (channels < 1 || channels > 2 || sampleRate <= 0)
        return fail(QStringLiteral("AAC is written with one or two channels"), 0);
    const QString missing = unavailableReason();
    if (!missing.isEmpty())
        return fail(missing, 0);
    m_av = AvLibrary::load(nullptr);
    if (!m_staged.begin(path))
        return fail(m_staged.errorString(), 0);
    // The container is told the target's name; the bytes go to the staged file, opened again by
    // a name that reaches it.
    const QByteArray file = QFile::encodeName(m_staged.writePath());
    int rc = m_av->avformat_alloc_output_context2(&m_format, nullptr, muxer, QFile::encodeName(path).constData());
    if (rc < 0 || !m_format)
        return fail(QStringLiteral("no %1 container").arg(QLatin1String(muxer)), rc);
    const AVCodec* encoder = m_av->avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!encoder) {
        release();
        return fail(QStringLiteral("no AAC encoder"), 0);
    }
    m_stream = m_av->avformat_new_stream(m_format, nullptr);
    m_codec = m_av->avcodec_alloc_context3(encoder);
    if (!m_stream || !m_codec) {
        release();
        return fail(QStringLiteral("out of memory"), 0);
    }
    m_codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    m_codec->sample_rate = sampleRate;
    m_codec->bit_rate = bitRate > 0 ? bitRate : 128000;
    m_av->av_channel_layout_default(&m_codec->ch_layout, channels);
    m_codec->time_base = AVRational {1, sampleRate};
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    rc = m_av->avcodec_open2(m_codec, encoder, nullptr);
    if (rc < 0) {
        release();
        return fail(QStringLiteral("the AAC encoder refuses %1 Hz, %2 channels").arg(sampleRate).arg(channels), rc);
    }
    rc = m_av->avcodec_parameters_from_context(m_stream->codecpar, m_codec);
    m_stream->time_base = AVRational {1, sampleRate};
    if (rc >= 0)
        rc = m_av->avio_open(&m_format->pb, file.constData(), AVIO_FLAG_WRITE);
    if (rc < 0) {
        release();
        return fail(QStringLiteral("cannot write %1").arg(path), rc);
    }
    rc = m_av->avformat_write_header(m_format, nullptr);
    if (rc < 0) {
        release();
        return fail(QStringLiteral("cannot write the header of %1").arg(path), rc);
    }
    m_headerWritten = true;
    m_frame = m_av->av_frame_alloc();
    m_packet = m_av->av_packet_alloc();
    if (!m_frame || !m_packet) {
        release();
        return fail(QStringLiteral("out of memory"), 0);
    }
    m_channels = channels;
    return true;
}

bool AacFileWriter::write(const float* frames, qint64 count)
{
    if (!m_format || m_failed)
        return false;
    m_pending.insert(m_pending.end(), frames, frames + count * m_channels);
    return encodePending(false);
}

bool AacFileWriter::encodePending(bool flush)
{
    const int frameSize = m_codec->frame_size > 0 ? m_codec->frame_size : 1024;
    size_t used = 0;
    const size_t available = m_pending.size() / size_t(m_channels);
    while (available - used >= size_t(frameSize) || (flush && available > used)) {
        const int n = int(qMin<size_t>(size_t(frameSize), available - used));
        m_av->av_frame_unref(m_frame);
        m_frame->format = AV_SAMPLE_FMT_FLTP;
        m_frame->sample_rate = m_codec->sample_rate;
        m_frame->nb_samples = n;
        m_av->av_channel_layout_copy(&m_frame->ch_layout, &m_codec->ch_layout);
        int rc = m_av->av_frame_get_buffer(m_frame, 0);
        if (rc < 0)
            return fail(QStringLiteral("out of memory"), rc);
        for (int c = 0; c < m_channels; ++c) {
            float* plane = reinterpret_cast<float*>(m_frame->data[c]);
            for (int i = 0; i < n; ++i)
                plane[i] = m_pending[(used + size_t(i)) * size_t(m_channels) + size_t(c)];
        }
        m_frame->pts = m_pts;
        m_pts += n;
        used += size_t(n);
        rc = m_av->avcodec_send_frame(m_codec, m_frame);
        if (rc < 0)
            return fail(QStringLiteral("the AAC encoder failed"), rc);
        if (!drainPackets())
            return false;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + std::ptrdiff_t(used * size_t(m_channels)));
    return true;
}

bool AacFileWriter::drainPackets()
{
    for (;;) {
        const int rc = m_av->avcodec_receive_packet(m_codec, m_packet);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0)
            return fail(QStringLiteral("the AAC encoder failed"), rc);
        m_av->av_packet_rescale_ts(m_packet, m_codec->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        const int wr = m_av->av_interleaved_write_frame(m_format, m_packet);
        m_av->av_packet_unref(m_packet);
        if (wr < 0)
            return fail(QStringLiteral("cannot write the sound"), wr);
        // A write that failed on its way to the disk (it is full) is told by the file, not the
        // muxer: hand each packet over at once, so that it is told while recording.
        if (m_format->pb)
            m_av->avio_flush(m_format->pb);
        if (m_format->pb && m_format->pb->error < 0)
            return fail(QStringLiteral("cannot write the sound"), m_format->pb->error);
    }
}

bool AacFileWriter::close()
{
    if (!m_format)
        return !m_failed;
    bool ok = !m_failed;
    if (ok && m_codec && m_headerWritten) {
        ok = encodePending(true);
        if (ok) {
            const int rc = m_av->avcodec_send_frame(m_codec, nullptr);
            ok = (rc >= 0 || fail(QStringLiteral("the AAC encoder failed"), rc)) && drainPackets();
        }
    }
    if (m_headerWritten) {
        const int rc = m_av->av_write_trailer(m_format);
        if (rc < 0)
            ok = fail(QStringLiteral("cannot finish the file"), rc);
    }
    // The last bytes reach the file only when it is closed: a full disk shows there.
    if (m_format && m_format->pb) {
        const int rc = m_av->avio_closep(&m_format->pb);
        if (rc < 0 && ok)
            ok = fail(QStringLiteral("cannot finish the file"), rc);
    }
    release();
    if (ok && !m_staged.commit())
        ok = fail(m_staged.errorString(), 0);
    m_staged.discard();
    return ok;
}

void AacFileWriter::discard()
{
    release();
    m_staged.discard();
}

void AacFileWriter::release()
{
    if (!m_av)
        return;
    if (m_format && m_format->pb)
        m_av->avio_closep(&m_format->pb);
    m_av->avformat_free_context(m_format);
    m_format = nullptr;
    m_stream = nullptr;
    m_av->avcodec_free_context(&m_codec);
    m_av->av_frame_free(&m_frame);
    m_av->av_packet_free(&m_packet);
    m_headerWritten = false;
    m_pending.clear();
}

} // namespace QMMultiMedia
