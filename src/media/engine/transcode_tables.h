// The tables of one conversion run: one record per input file, per input stream and per output
// stream, built when the run starts and freed when it ends.
//
// Plain records over library objects, zero when made (but `discard`, which starts at 1); they
// belong to the run's thread.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "media/libs/ffmpeg_api.h"

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
    // The decoding time of the current and of the next packet, microseconds; a packet without
    // one is given the expected one.
    int64_t next_dts = 0;
    int64_t dts = 0;
    int is_start = 0;
    int showed_multi_packet_warning = 0;
    int is_past_recording_time = 0;
    int decoder_flushed = 0;
    AVFilterContext* out_video_filter = nullptr;    // the sink of the stream's video graph
    AVFilterContext* input_video_filter = nullptr;  // its source
    // The pictures the graph's source was made for.
    int filter_width = 0;
    int filter_height = 0;
    int filter_pix_fmt = AV_PIX_FMT_NONE;
    AVFrame* filter_frame = nullptr;
    int has_filter_frame = 0;
    // The picture quality the decoder reported for the current unit.
    float quality = 0;
    // Option "deinterlace": the stream's "yadif" graph, made at its first picture and made anew
    // when the pictures change size or format; it gives each picture back one picture later.
    AVFilterContext* deinterlace_src = nullptr;
    AVFilterContext* deinterlace_sink = nullptr;
    int deinterlace_width = 0;
    int deinterlace_height = 0;
    int deinterlace_pix_fmt = AV_PIX_FMT_NONE;
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
    // The pictures go through the stream's filter graph, which crops, scales and turns them
    // upright; the plain path's scaler is not used.
    bool video_graph = false;
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
    // The decoded audio the resampler was made for: a decoder that changes its output midway
    // gets a new one.
    AVSampleFormat resample_sample_fmt = AV_SAMPLE_FMT_NONE;
    int resample_sample_rate = 0;
    AVChannelLayout resample_ch_layout{};
    AVAudioFifo* fifo = nullptr;
    std::FILE* logfile = nullptr;  // pass-1 statistics
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    int show_fps = 0;

    // The encoder's private options (x264's, the mpeg encoders'), handed to each opening; they
    // belong to the output's set-up, not to the record.
    const AVDictionary* codec_opts = nullptr;
    // Join mode: the encoder's settings before its first opening, for the fresh encoder that
    // each later input gets. Owned by the record.
    AVCodecContext* join_template = nullptr;
    // The stream's bitstream filters, made when the header is written. Owned by the record.
    std::vector<AVBSFContext*> bsfs;
    // What the encoder said of its last packet (quality x 118, picture type, squared errors).
    int last_quality = 0;
    int last_pict_type = 0;
    std::array<uint64_t, 4> last_error{};
    // Audio: one encoder frame read out of the FIFO, and the converted samples of one decoded
    // frame on their way into it. Owned.
    AVFrame* audio_frame = nullptr;
    int audio_frame_capacity = 0;  // samples
    AVFrame* converted_frame = nullptr;
    int converted_frame_capacity = 0;
    // The end of what the stream has written: the last packet's dts plus its duration, in the
    // stream's time base; 0 before the first packet.
    int64_t end_ts = 0;
    // The decoding time of the last packet written, in the stream's time base.
    int64_t last_mux_dts = AV_NOPTS_VALUE;
    // One packet per bitstream filter after the first, for its output. Owned.
    std::vector<AVPacket*> bsf_packets;
    // One reference per bitstream filter to the packet it was given. Owned.
    std::vector<AVPacket*> bsf_kept;
    // The encoder has been drained: it takes nothing more until it is opened again.
    bool encoder_flushed = false;
    // At a constant frame rate: the last picture encoded, repeated at the end of the input for
    // the rest of its display time. Owned.
    AVFrame* last_frame = nullptr;
    // Packets written into the output file.
    int64_t packets_written = 0;
};

// Everything one run owns besides the streams' library objects: the three tables, the
// no-packet state, and the packet and frame records reused for every packet of the run.
struct TTranscodeRun {
    std::vector<TAVInputFile> Files;
    std::vector<std::unique_ptr<TAVInputStream>> InputStreams;
    std::vector<std::unique_ptr<TAVOutputStream>> OutputStreams;
    // Per input stream, the output streams it feeds, in table order.
    std::vector<std::vector<TAVOutputStream*>> Feeds;
    // The stream count of output entry 0: one group per input in join mode.
    int StreamsPerGroup = 0;
    std::vector<char> NoPacket;  // per input file: it answered "try again"
    int NoPacketCount = 0;
    AVPacket* InPacket = nullptr;
    AVPacket* OutPacket = nullptr;
    AVFrame* DecodedFrame = nullptr;
    AVFrame* FilteredFrame = nullptr;
    AVFrame* DeinterlacedFrame = nullptr;
    AVFrame* EncodeFrame = nullptr;
};

}  // namespace media
