// The tables of one conversion run: one record per input file, per input stream and per output
// stream, built when the run starts and freed when it ends.
//
// Plain records over library objects, zero when made (but `discard`, which starts at 1); they
// belong to the run's thread.
#pragma once

#include <cstdint>
#include <cstdio>

#include "media/ffmpeg_api.h"

struct AVAudioFifo;

namespace media {

struct TAVInputFile {
    int eof_reached = 0;  // 1 once the input returned end of file or an error
    int ist_index = 0;    // index of the input's first stream in the input stream table
    int buffer_size = 0;
    int nb_streams = 0;  // the input's stream count when the run started
};

struct TAVInputStream {
    int file_index = 0;
    int index = 0;
    AVStream* st = nullptr;
    // The engine's decoder context of this stream; streams carry none of their own any more.
    AVCodecContext* dec_ctx = nullptr;
    int discard = 1;  // until an output stream takes this stream as its source
    int decoding_needed = 0;
    int64_t sample_index = 0;
    int64_t start = 0;  // wall-clock microseconds at table creation, with rate emulation
    int64_t next_pts = 0;
    int64_t pts = 0;
    int is_start = 0;
    int showed_multi_packet_warning = 0;
    int is_past_recording_time = 0;
    int decoder_flushed = 0;
    AVFilterContext* out_video_filter = nullptr;    // the sink of the stream's video graph
    AVFilterContext* input_video_filter = nullptr;  // its source
    AVFrame* filter_frame = nullptr;
    int has_filter_frame = 0;
};

struct TAVOutputStream {
    int file_index = 0;
    int index = 0;
    int source_index = 0;  // index of the source in the input stream table
    AVStream* st = nullptr;
    // The engine's encoder context of this stream.
    AVCodecContext* enc_ctx = nullptr;
    // Streams no longer carry these two: the record does.
    bool stream_copy = false;
    float quality = 0;
    int encoding_needed = 0;
    int frame_number = 0;
    TAVInputStream* sync_ist = nullptr;
    int64_t sync_opts = 0;
    int video_resample = 0;
    AVFrame* pict_tmp = nullptr;
    SwsContext* img_resample_ctx = nullptr;
    int resample_height = 0;
    int resample_width = 0;
    AVPixelFormat resample_pix_fmt = AV_PIX_FMT_NONE;
    int original_height = 0;
    int original_width = 0;
    int video_crop = 0;
    int topBand = 0;
    int bottomBand = 0;
    int leftBand = 0;
    int rightBand = 0;
    int original_topBand = 0;
    int original_bottomBand = 0;
    int original_leftBand = 0;
    int original_rightBand = 0;
    int audio_resample = 0;
    SwrContext* resample = nullptr;  // also converts the sample format
    AVAudioFifo* fifo = nullptr;
    std::FILE* logfile = nullptr;  // pass-1 statistics
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    int show_fps = 0;
};

}  // namespace media
