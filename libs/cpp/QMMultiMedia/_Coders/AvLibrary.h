#pragma once

// The few functions of libavutil, libavcodec and libavformat the AAC writer calls, loaded at run
// time. The program does not link these libraries: mapping and relocating them (and the codecs
// they pull in) costs tens of milliseconds at every start, while only an AAC recording needs them.
// The headers still give the types and constants at compile time; the libraries are opened by the
// major versions of those headers, so the structures the writer touches match.

#include <QString>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

// X(library, function): every function the writer uses, by the library that exports it.
#define QMM_AV_FUNCTIONS(X)                                                                        \
    X(avutil, avutil_version)                                                                      \
    X(avutil, av_strerror)                                                                         \
    X(avutil, av_channel_layout_default)                                                           \
    X(avutil, av_channel_layout_copy)                                                              \
    X(avutil, av_frame_alloc)                                                                      \
    X(avutil, av_frame_unref)                                                                      \
    X(avutil, av_frame_get_buffer)                                                                 \
    X(avutil, av_frame_free)                                                                       \
    X(avutil, av_malloc)                                                                           \
    X(avutil, av_freep)                                                                            \
    X(avcodec, avcodec_version)                                                                    \
    X(avcodec, avcodec_find_encoder)                                                               \
    X(avcodec, avcodec_alloc_context3)                                                             \
    X(avcodec, avcodec_open2)                                                                      \
    X(avcodec, avcodec_parameters_from_context)                                                    \
    X(avcodec, avcodec_send_frame)                                                                 \
    X(avcodec, avcodec_receive_packet)                                                             \
    X(avcodec, avcodec_free_context)                                                               \
    X(avcodec, av_packet_alloc)                                                                    \
    X(avcodec, av_packet_unref)                                                                    \
    X(avcodec, av_packet_free)                                                                     \
    X(avcodec, av_packet_rescale_ts)                                                               \
    X(avformat, avformat_version)                                                                  \
    X(avformat, avformat_alloc_output_context2)                                                    \
    X(avformat, avformat_new_stream)                                                               \
    X(avformat, avformat_write_header)                                                             \
    X(avformat, av_interleaved_write_frame)                                                        \
    X(avformat, av_write_frame)                                                                    \
    X(avformat, av_write_trailer)                                                                  \
    X(avformat, avio_alloc_context)                                                                \
    X(avformat, avio_context_free)                                                                 \
    X(avformat, avio_flush)                                                                        \
    X(avformat, avformat_free_context)

namespace QMMultiMedia {

class AvLibrary
{
public:
    // The loaded functions, or null (with *error telling which library or function is missing)
    // when they cannot be loaded. Loads once; a failed load is tried again on the next call.
    // TONARIX_AV_LIBRARY_DIR, when set, is the folder the libraries are opened from instead of
    // the system's search path.
    static const AvLibrary* load(QString* error);

    // The file name a library is opened by ("libavcodec.so.59"), from the major version of its
    // header.
    static QString fileName(const char* library);

#define QMM_AV_POINTER(library, function) decltype(&::function) function = nullptr;
    QMM_AV_FUNCTIONS(QMM_AV_POINTER)
#undef QMM_AV_POINTER

private:
    AvLibrary() = default;
};

} // namespace QMMultiMedia
