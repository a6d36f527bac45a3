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
    X(avDevice, avdevice_register_all) \
    /* player engine */ \
    X(avUtil, av_channel_layout_compare) \
    X(avUtil, av_channel_layout_copy) \
    X(avUtil, av_channel_layout_default) \
    X(avUtil, av_channel_layout_uninit) \
    X(avUtil, av_frame_alloc) \
    X(avUtil, av_frame_free) \
    X(avUtil, av_frame_move_ref) \
    X(avUtil, av_frame_ref) \
    X(avUtil, av_frame_unref) \
    X(avUtil, av_get_pix_fmt_name) \
    X(avUtil, av_get_sample_fmt_name) \
    X(avUtil, av_opt_set_bin) \
    X(avUtil, av_rescale_q) \
    X(avUtil, av_strdup) \
    X(avCodec, av_packet_alloc) \
    X(avCodec, av_new_packet) \
    X(avCodec, av_packet_free) \
    X(avCodec, av_packet_make_refcounted) \
    X(avCodec, av_packet_move_ref) \
    X(avCodec, av_packet_unref) \
    X(avCodec, avcodec_decode_subtitle2) \
    X(avCodec, avcodec_flush_buffers) \
    X(avCodec, avcodec_open2) \
    X(avCodec, avcodec_parameters_to_context) \
    X(avCodec, avcodec_receive_frame) \
    X(avCodec, avcodec_send_packet) \
    X(avCodec, avsubtitle_free) \
    X(avFormat, av_find_best_stream) \
    X(avFormat, av_guess_frame_rate) \
    X(avFormat, av_read_frame) \
    X(avFormat, av_read_pause) \
    X(avFormat, av_read_play) \
    X(avFormat, av_seek_frame) \
    X(avFormat, avformat_find_stream_info) \
    X(avFormat, avformat_seek_file) \
    X(avFormat, avio_feof) \
    X(avFilter, av_buffersink_get_frame) \
    X(avFilter, av_buffersink_get_h) \
    X(avFilter, av_buffersink_get_time_base) \
    X(avFilter, av_buffersink_get_w) \
    X(avFilter, av_buffersrc_add_frame) \
    X(avFilter, avfilter_get_by_name) \
    X(avFilter, avfilter_graph_alloc) \
    X(avFilter, avfilter_graph_config) \
    X(avFilter, avfilter_graph_create_filter) \
    X(avFilter, avfilter_graph_free) \
    X(avFilter, avfilter_graph_parse_ptr) \
    X(avFilter, avfilter_inout_alloc) \
    X(avFilter, avfilter_inout_free) \
    X(avFilter, avfilter_link) \
    X(swResample, swr_alloc_set_opts2) \
    X(swResample, swr_convert) \
    X(swResample, swr_free) \
    X(swResample, swr_get_out_samples) \
    X(swResample, swr_init) \
    X(lbSDL, SDL_InitSubSystem) \
    X(lbSDL, SDL_QuitSubSystem) \
    X(lbSDL, SDL_GetError) \
    X(lbSDL, SDL_GetCurrentAudioDriver) \
    X(lbSDL, SDL_OpenAudioDevice) \
    X(lbSDL, SDL_PauseAudioDevice) \
    X(lbSDL, SDL_CloseAudioDevice) \
    X(lbSDL, SDL_MixAudioFormat) \
    X(lbSDL, SDL_TLSCleanup)
