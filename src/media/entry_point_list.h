// The one list of library entry points the media components call, as X(library, name).
//
// Everything else is generated from it: the typed cells (ffmpeg_api.h), the binders of the
// loader and the stub libraries of the loader tests. Names are bound in the order given here, per
// library. Adding a call into FFmpeg or SDL means adding its name here and calling it through
// media::lib. No includes: the stub libraries expand this list without the library headers.
#pragma once

#define MORADEX_MEDIA_ENTRY_POINTS(X)   \
    X(avUtil, av_log)                   \
    X(avUtil, av_log_set_callback)      \
    X(avUtil, av_log_set_level)         \
    X(avUtil, av_malloc)                \
    X(avUtil, av_free)                  \
    X(avUtil, av_opt_find)              \
    X(avUtil, av_opt_set)               \
    X(avUtil, av_opt_get)               \
    X(avUtil, av_dict_get)              \
    X(avUtil, av_dict_set)              \
    X(avUtil, av_dict_free)             \
    X(avUtil, av_image_get_buffer_size) \
    X(avUtil, av_image_fill_arrays)     \
    X(avCodec, avcodec_alloc_context3)  \
    X(avCodec, avcodec_free_context)    \
    X(avCodec, avcodec_find_decoder)    \
    X(avCodec, avcodec_find_encoder)    \
    X(avCodec, avcodec_descriptor_get)  \
    X(avCodec, avcodec_get_class)       \
    X(avFormat, avformat_alloc_context) \
    X(avFormat, avformat_free_context)  \
    X(avFormat, avformat_get_class)     \
    X(avFormat, avformat_open_input)    \
    X(avFormat, avformat_close_input)   \
    X(swScale, sws_alloc_context)       \
    X(swScale, sws_freeContext)         \
    X(swScale, sws_getCachedContext)    \
    X(swScale, sws_scale)               \
    X(avDevice, avdevice_register_all)          \
    /* probe, frame grabber, file names */       \
    X(avUtil, av_freep)                         \
    X(avUtil, av_image_copy)                    \
    X(avUtil, av_frame_alloc)                   \
    X(avUtil, av_frame_free)                    \
    X(avUtil, av_frame_unref)                   \
    X(avUtil, av_rescale_q)                     \
    X(avUtil, av_reduce)                        \
    X(avUtil, av_parse_time)                    \
    X(avCodec, avcodec_parameters_to_context)   \
    X(avCodec, avcodec_open2)                   \
    X(avCodec, avcodec_send_packet)             \
    X(avCodec, avcodec_receive_frame)           \
    X(avCodec, avcodec_flush_buffers)           \
    X(avCodec, avcodec_string)                  \
    X(avCodec, av_packet_alloc)                 \
    X(avCodec, av_packet_free)                  \
    X(avCodec, av_packet_unref)                 \
    X(avFormat, av_find_input_format)           \
    X(avFormat, avformat_find_stream_info)      \
    X(avFormat, av_read_frame)                  \
    X(avFormat, av_seek_frame)                  \
    X(avFormat, avio_alloc_context)             \
    X(avFormat, avio_context_free)              \
    X(avFormat, avio_flush)                     \
    X(avFormat, avio_seek)                      \
    X(avFormat, avio_size)                      \
    X(avFormat, avio_feof)                      \
    X(avFormat, avio_open2)                     \
    X(avFormat, avio_closep) \
    /* transcoder options, job lifecycle, input set-up, video graphs */ \
    X(avUtil, av_parse_video_rate)      \
    X(avUtil, av_parse_video_size)      \
    X(avUtil, av_get_pix_fmt)           \
    X(avUtil, av_get_pix_fmt_name)      \
    X(avUtil, av_get_pix_fmt_string)    \
    X(avUtil, av_get_sample_fmt)        \
    X(avUtil, av_get_sample_fmt_string) \
    X(avUtil, av_opt_get_int)           \
    X(avUtil, av_opt_set_bin)           \
    X(avUtil, av_strdup)                \
    X(avUtil, av_dict_copy)             \
    X(avCodec, av_bsf_get_by_name)      \
    X(avCodec, avcodec_close)           \
    X(avCodec, avcodec_find_decoder_by_name) \
    X(avCodec, avcodec_find_encoder_by_name) \
    X(avFormat, av_dump_format)         \
    X(avFilter, avfilter_get_by_name)   \
    X(avFilter, avfilter_graph_alloc)   \
    X(avFilter, avfilter_graph_free)    \
    X(avFilter, avfilter_graph_create_filter) \
    X(avFilter, avfilter_graph_alloc_filter)  \
    X(avFilter, avfilter_init_str)      \
    X(avFilter, avfilter_link)          \
    X(avFilter, avfilter_inout_alloc)   \
    X(avFilter, avfilter_inout_free)    \
    X(avFilter, avfilter_graph_parse_ptr) \
    X(avFilter, avfilter_graph_config)  \
    X(avFilter, av_buffersink_get_frame)
