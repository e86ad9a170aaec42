#include "AvDecode.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace TestAudio {

std::vector<float> decodeWithAv(const QString& path, int* sampleRate, int* channels, QString* codecName)
{
    std::vector<float> out;
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return out;
    AVCodecContext* ctx = nullptr;
    SwrContext* swr = nullptr;
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const AVCodec* codec = nullptr;
    const int stream = avformat_find_stream_info(fmt, nullptr) >= 0
        ? av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0)
        : -1;
    if (stream >= 0 && codec) {
        ctx = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(ctx, fmt->streams[stream]->codecpar);
        if (avcodec_open2(ctx, codec, nullptr) >= 0) {
            const int ch = ctx->ch_layout.nb_channels;
            *sampleRate = ctx->sample_rate;
            *channels = ch;
            if (codecName)
                *codecName = QString::fromLatin1(codec->name);
            swr_alloc_set_opts2(&swr, &ctx->ch_layout, AV_SAMPLE_FMT_FLT, ctx->sample_rate, &ctx->ch_layout,
                                ctx->sample_fmt, ctx->sample_rate, 0, nullptr);
            swr_init(swr);
            auto drain = [&]() {
                while (avcodec_receive_frame(ctx, frame) >= 0) {
                    const size_t old = out.size();
                    out.resize(old + size_t(frame->nb_samples) * size_t(ch));
                    uint8_t* dst = reinterpret_cast<uint8_t*>(out.data() + old);
                    const int got = swr_convert(swr, &dst, frame->nb_samples,
                                                const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
                    out.resize(old + size_t(qMax(0, got)) * size_t(ch));
                }
            };
            while (av_read_frame(fmt, pkt) >= 0) {
                if (pkt->stream_index == stream && avcodec_send_packet(ctx, pkt) >= 0)
                    drain();
                av_packet_unref(pkt);
            }
            avcodec_send_packet(ctx, nullptr);
            drain();
        }
    }
    swr_free(&swr);
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&ctx);
    avformat_close_input(&fmt);
    return out;
}

} // namespace TestAudio
