#include "QMMultiMedia/_Coders/AacFileWriter.h"

#include "QMMultiMedia/_Coders/AvLibrary.h"

#include <QFile>
#include <QFileInfo>

namespace QMMultiMedia {

namespace {

constexpr int ioBufferSize = 32768;

using Io = AacFileWriter::Io;

int ioWrite(void* opaque, uint8_t* data, int size)
{
    Io* io = static_cast<Io*>(opaque);
    qint64 at = io->position;
    for (int done = 0; done < size;) {
        const bool skipped = at >= io->skipFrom && at < io->skipTo;
        const qint64 stretch = skipped ? io->skipTo - at : at < io->skipFrom ? io->skipFrom - at : size;
        const int n = int(qMin<qint64>(stretch, size - done));
        if (!skipped && io->file->writeAt(at, data + done, n) != n) {
            io->failed = true;
            return AVERROR(io->file->lastErrno() ? io->file->lastErrno() : EIO);
        }
        done += n;
        at += n;
    }
    io->position = at;
    io->reach = qMax(io->reach, at);
    return size;
}

int64_t ioSeek(void* opaque, int64_t offset, int whence)
{
    Io* io = static_cast<Io*>(opaque);
    const qint64 size = qMax(io->file->size(), io->reach);
    if (whence & AVSEEK_SIZE)
        return size;
    whence &= ~AVSEEK_FORCE;
    const qint64 from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? io->position : size;
    if (from + offset < 0)
        return AVERROR(EINVAL);
    io->position = from + offset;
    return io->position;
}

} // namespace

AacFileWriter::~AacFileWriter()
{
    close();
    discard();
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
    m_full = false;
    m_pts = 0;
    m_pending.clear();
    m_packets.clear();
    m_kept = -1;
    const char* muxer = containerFor(path);
    if (!muxer)
        return fail(QStringLiteral("AAC cannot be stored in a .%1 file").arg(QFileInfo(path).suffix()), 0);
    if (channels < 1 || channels > 2 || sampleRate <= 0)
        return fail(QStringLiteral("AAC is written with one or two channels"), 0);
    const QString missing = unavailableReason();
    if (!missing.isEmpty())
        return fail(missing, 0);
    m_av = AvLibrary::load(nullptr);
    m_path = QFile::encodeName(path);
    m_muxer = muxer;
    if (!m_staged.begin(path)) {
        m_full = m_staged.isFull();
        return fail(m_full ? QStringLiteral("the disk is full") : m_staged.errorString(), 0);
    }
    const AVCodec* encoder = m_av->avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!encoder) {
        release();
        return fail(QStringLiteral("no AAC encoder"), 0);
    }
    m_codec = m_av->avcodec_alloc_context3(encoder);
    if (!m_codec) {
        release();
        return fail(QStringLiteral("out of memory"), 0);
    }
    m_codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    m_codec->sample_rate = sampleRate;
    m_codec->bit_rate = bitRate > 0 ? bitRate : 128000;
    m_av->av_channel_layout_default(&m_codec->ch_layout, channels);
    m_codec->time_base = AVRational {1, sampleRate};
    // Both containers are made from the encoder's setup, which it gives apart from the sound.
    m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int rc = m_av->avcodec_open2(m_codec, encoder, nullptr);
    if (rc < 0) {
        release();
        return fail(QStringLiteral("the AAC encoder refuses %1 Hz, %2 channels").arg(sampleRate).arg(channels), rc);
    }
    m_io = Io {&m_staged, 0, 0, 0, 0, false};
    m_format = openMuxer(&m_io, &rc);
    if (!m_format) {
        release();
        if (noteFull())
            return false;
        return fail(QStringLiteral("cannot write the header of %1").arg(path), rc);
    }
    m_stream = m_format->streams[0];
    m_dataStart = m_io.position;
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

AVFormatContext* AacFileWriter::openMuxer(Io* io, int* code)
{
    AVFormatContext* format = nullptr;
    // The container is told the target's name; the bytes go to the staged file.
    *code = m_av->avformat_alloc_output_context2(&format, nullptr, m_muxer, m_path.constData());
    if (*code < 0 || !format)
        return nullptr;
    AVStream* stream = m_av->avformat_new_stream(format, nullptr);
    uint8_t* buffer = static_cast<uint8_t*>(m_av->av_malloc(ioBufferSize));
    format->pb = buffer ? m_av->avio_alloc_context(buffer, ioBufferSize, 1, io, nullptr, ioWrite, ioSeek) : nullptr;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (!stream || !format->pb) {
        if (!format->pb)
            m_av->av_freep(&buffer);
        closeMuxer(&format);
        *code = AVERROR(ENOMEM);
        return nullptr;
    }
    *code = m_av->avcodec_parameters_from_context(stream->codecpar, m_codec);
    stream->time_base = m_codec->time_base;
    if (*code >= 0)
        *code = m_av->avformat_write_header(format, nullptr);
    // The header goes to the disk now: a disk full from the start is told by open().
    if (*code >= 0) {
        m_av->avio_flush(format->pb);
        *code = format->pb->error;
    }
    if (*code < 0)
        closeMuxer(&format);
    return format;
}

void AacFileWriter::closeMuxer(AVFormatContext** format)
{
    if (!*format)
        return;
    if ((*format)->pb) {
        m_av->av_freep(&(*format)->pb->buffer);
        m_av->avio_context_free(&(*format)->pb);
    }
    m_av->avformat_free_context(*format);
    *format = nullptr;
}

bool AacFileWriter::noteFull()
{
    if (!m_io.failed || !m_staged.isFull())
        return false;
    m_full = true;
    m_failed = true;
    m_error = QStringLiteral("the disk is full");
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
        Packet packet {m_packet->pts, m_packet->dts, m_packet->duration, m_packet->size, m_packet->flags, 0};
        m_av->av_packet_rescale_ts(m_packet, m_codec->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        const int wr = m_av->av_interleaved_write_frame(m_format, m_packet);
        m_av->av_packet_unref(m_packet);
        // A write that failed on its way to the disk (it is full) is told by the file, not the
        // muxer: hand each packet over at once, so that it is told while recording, and so that
        // the file ends where each packet ends.
        m_av->avio_flush(m_format->pb);
        const int written = wr < 0 ? wr : m_format->pb->error;
        if (written < 0) {
            if (!noteFull())
                fail(QStringLiteral("cannot write the sound"), written);
            return false;
        }
        packet.end = m_io.position;
        m_packets.push_back(packet);
    }
}

bool AacFileWriter::close()
{
    if (!m_format)
        return !m_failed;
    bool ok = !m_failed;
    if (ok && m_headerWritten) {
        ok = encodePending(true);
        if (ok) {
            const int rc = m_av->avcodec_send_frame(m_codec, nullptr);
            ok = (rc >= 0 || fail(QStringLiteral("the AAC encoder failed"), rc)) && drainPackets();
        }
        if (ok) {
            const int rc = m_av->av_write_trailer(m_format);
            m_av->avio_flush(m_format->pb);
            const int written = rc < 0 ? rc : m_format->pb->error;
            if (written < 0 && !noteFull())
                fail(QStringLiteral("cannot finish the file"), written);
            ok = written >= 0;
        }
    }
    if (m_full) {
        // What was written before the disk filled up waits for keepWritten() or discard().
        closeMuxer(&m_format);
        m_stream = nullptr;
        return false;
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

qint64 AacFileWriter::framesWritten() const
{
    if (m_kept >= 0)
        return m_kept;
    return m_packets.empty() ? 0 : qMax<qint64>(0, m_packets.back().pts + m_packets.back().duration);
}

bool AacFileWriter::keepWritten()
{
    if (!m_full || !m_codec) {
        discard();
        return false;
    }
    closeMuxer(&m_format);
    m_stream = nullptr;
    // The packets are in the file as they were written; a muxer of their own, fed the same packets,
    // lays them out the same way and writes its index after the last one kept. Where the disk took
    // no more, the index takes the place of packets at the end: as many as it needs room for.
    const qint64 room = m_staged.size();
    size_t count = m_packets.size();
    qint64 needed = 0;
    for (;;) {
        while (count > 0 && m_packets[count - 1].end + needed > room)
            --count;
        // A take whose packets end before the first frame of sound holds only the encoder's priming.
        if (count == 0 || m_packets[count - 1].pts + m_packets[count - 1].duration <= 0)
            break;
        if (!m_staged.truncate(m_packets[count - 1].end))
            break;
        const Replay done = replay(count);
        if (done == Replay::Kept) {
            m_kept = m_packets[count - 1].pts + m_packets[count - 1].duration;
            release();
            if (m_staged.commit())
                return true;
            m_kept = -1;
            break;
        }
        if (done == Replay::Failed)
            break;
        needed = qMax<qint64>(2 * needed, 1024 + 16 * qint64(count));
    }
    discard();
    return false;
}

AacFileWriter::Replay AacFileWriter::replay(size_t count)
{
    Io io {&m_staged, 0, 0, m_dataStart, m_packets[count - 1].end, false};
    int rc = 0;
    AVFormatContext* format = openMuxer(&io, &rc);
    if (!format)
        return io.failed && m_staged.isFull() ? Replay::NoRoom : Replay::Failed;
    AVStream* stream = format->streams[0];
    // The packets' bytes are not written again, so any bytes of their size do.
    int largest = 0;
    for (size_t i = 0; i < count; ++i)
        largest = qMax(largest, m_packets[i].size);
    std::vector<uint8_t> bytes(size_t(largest) + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    Replay result = io.position == m_dataStart ? Replay::Kept : Replay::Failed;
    for (size_t i = 0; i < count && result == Replay::Kept; ++i) {
        const Packet& p = m_packets[i];
        m_av->av_packet_unref(m_packet);
        m_packet->data = bytes.data();
        m_packet->size = p.size;
        m_packet->pts = p.pts;
        m_packet->dts = p.dts;
        m_packet->duration = p.duration;
        m_packet->flags = p.flags;
        m_packet->stream_index = 0;
        m_av->av_packet_rescale_ts(m_packet, m_codec->time_base, stream->time_base);
        rc = m_av->av_write_frame(format, m_packet);
        m_av->avio_flush(format->pb);
        // Each packet must land where it lies in the file.
        if (rc < 0 || format->pb->error < 0 || io.position != p.end)
            result = Replay::Failed;
    }
    if (result == Replay::Kept) {
        rc = m_av->av_write_trailer(format);
        m_av->avio_flush(format->pb);
        if (rc < 0 || format->pb->error < 0)
            result = io.failed && m_staged.isFull() ? Replay::NoRoom : Replay::Failed;
    }
    m_av->av_packet_unref(m_packet);
    closeMuxer(&format);
    if (result == Replay::Kept && !m_staged.truncate(io.reach))
        result = Replay::Failed;
    return result;
}

void AacFileWriter::release()
{
    if (!m_av)
        return;
    closeMuxer(&m_format);
    m_stream = nullptr;
    m_av->avcodec_free_context(&m_codec);
    m_av->av_frame_free(&m_frame);
    m_av->av_packet_free(&m_packet);
    m_headerWritten = false;
    m_pending.clear();
}

} // namespace QMMultiMedia
