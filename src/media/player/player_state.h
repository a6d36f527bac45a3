// The player engine's record of one open file, TVideoState, with its picture and subtitle
// queues.
//
// Made by OpenStream and freed by ShutdownPlayback. The read thread fills the packet queues, the
// video and subtitle threads fill the picture and subtitle queues, the play thread shows and
// empties them and SDL's audio thread pulls audio; the player's own thread toggles pause and asks
// for seeks. The queues have their locks; the clocks and flags that several threads read are
// atomics, each a single value, as the design has them.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/libs/ffmpeg_api.h"
#include "media/player/packet_queue.h"
#include "media/player/player_events.h"
#include "media/probe/probed_streams.h"
#include "platform/sys/sync.h"
#include "platform/sys/threads.h"

namespace media {

class TCustomPlayer;

enum Tav_sync_type { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };

inline constexpr int kPictureQueueSize = 2;
inline constexpr int kSubpictureQueueSize = 4;
inline constexpr int kSampleArraySize = 131072;
// What one decoded block is first given; a larger block grows the buffers.
inline constexpr int kAudioBufferSize = 288000;
// Sample frames per device buffer.
inline constexpr int kAudioDeviceSamples = 1024;

template <class T>
using TShared = std::atomic<T>;

struct TPictureSlot {
    double PTS = 0;
    TShared<double> TargetTime{0};  // written under pictq_mutex
    int64_t FilePos = -1;
    // The picture held: a reference to the filter output (YUV420P). Stands in for the overlay and
    // its filter reference; kept until the slot is filled again or the playback closes.
    AVFrame* Frame = nullptr;
    int Width = 0;  // the picture size rounded down to even numbers
    int Height = 0;
    bool Allocated = false;  // under pictq_mutex: the play thread has served the size request
    int PixFmt = AV_PIX_FMT_NONE;
    int Serial = -1;  // of the video queue when the picture's packet was taken
};

struct TSubtitleSlot {
    double PTS = 0;
    AVSubtitle Sub{};
};

struct TVideoState {
    explicit TVideoState(TCustomPlayer* owner);
    ~TVideoState();
    TVideoState(const TVideoState&) = delete;
    TVideoState& operator=(const TVideoState&) = delete;

    // Decoded audio and its conversion; both grow to fit a stretched block.
    std::vector<uint8_t> audio_buf1;
    std::vector<uint8_t> audio_buf2;
    std::unique_ptr<sys::TThread> parse_tid;
    std::unique_ptr<sys::TThread> video_tid;
    std::unique_ptr<sys::TThread> refresh_tid;
    std::unique_ptr<sys::TThread> subtitle_tid;
    const AVInputFormat* iformat = nullptr;
    // What a probe of the file found already: the open takes it over instead of probing.
    std::shared_ptr<const TProbedStreams> probed;
    int no_background = 0;
    TShared<int> abort_request{0};
    // Set with abort_request: the threads' pauses between polls end at once.
    mutable sys::TEvent abort_event{true, false};
    TShared<int> paused{0};
    int last_paused = 0;
    TShared<int> seek_req{0};
    TShared<int> seek_flags{0};
    TShared<int64_t> seek_pos{0};
    TShared<int64_t> seek_rel{0};
    TShared<int> read_pause_return{0};
    AVFormatContext* ic = nullptr;
    // The byte position just past the last packet read, for seeking by bytes.
    TShared<int64_t> read_pos{0};

    TShared<int> audio_stream{-1};
    Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;
    TShared<double> external_clock{0};
    TShared<int64_t> external_clock_time{0};
    TShared<double> audio_clock{0};
    double audio_diff_cum = 0;
    double audio_diff_avg_coef = 0;
    double audio_diff_threshold = 0;
    int audio_diff_avg_count = 0;
    TShared<AVStream*> audio_st{nullptr};
    AVCodecContext* audio_ctx = nullptr;  // our own decoder context of the audio stream
    TPacketQueue audioq;
    uint32_t audio_dev = 0;  // SDL device id, 0 = none
    int audio_hw_buf_size = 0;
    uint8_t* audio_buf = nullptr;
    TShared<unsigned> audio_buf_size{0};
    TShared<int> audio_buf_index{0};
    AVPacket* audio_pkt = nullptr;  // the packet the decoder works on
    int audio_pkt_serial = -1;
    bool audio_pkt_pending = false;  // audio_pkt is still to be sent to the decoder
    AVFrame* audio_frame = nullptr;
    // What the converter is built for: the decoder's format, layout and rate.
    int audio_src_fmt = AV_SAMPLE_FMT_NONE;
    AVChannelLayout audio_src_layout{};
    int audio_src_freq = 0;
    // The device's signed 16-bit interleaved samples.
    int audio_tgt_channels = 0;
    int audio_tgt_freq = 0;
    SwrContext* reformat_ctx = nullptr;
    TShared<int> show_audio{0};
    // Written by the audio callback under sample_mutex; the display draws from its own copy.
    std::mutex sample_mutex;
    std::vector<int16_t> sample_array;
    TShared<int> sample_array_index{0};  // written by the audio thread
    std::vector<int16_t> display_samples;
    int last_i_start = 0;
    int xpos = 0;
    // The spectrum's transform and its buffer, made again when its size changes (play thread).
    RDFTContext* rdft = nullptr;
    int rdft_bits = 0;
    float* rdft_data = nullptr;

    TShared<int> subtitle_stream{-1};
    int subtitle_stream_changed = 0;  // under subpq_mutex
    TShared<AVStream*> subtitle_st{nullptr};
    AVCodecContext* subtitle_ctx = nullptr;
    TPacketQueue subtitleq;
    std::array<TSubtitleSlot, kSubpictureQueueSize> subpq;
    int subpq_size = 0;  // under subpq_mutex
    int subpq_rindex = 0;
    int subpq_windex = 0;
    std::mutex subpq_mutex;
    std::condition_variable subpq_cond;

    TShared<double> frame_timer{0};
    double frame_last_pts = 0;
    double frame_last_delay = 0;
    TShared<double> video_clock{0};
    TShared<int> video_stream{-1};
    TShared<AVStream*> video_st{nullptr};
    AVCodecContext* video_ctx = nullptr;
    TPacketQueue videoq;
    TShared<double> video_current_pts{0};
    TShared<double> video_current_pts_drift{0};
    TShared<int64_t> video_current_pos{-1};
    TShared<int> video_current_serial{-1};  // of the picture the video clock was set from
    std::array<TPictureSlot, kPictureQueueSize> pictq;
    int pictq_size = 0;  // under pictq_mutex
    int pictq_rindex = 0;
    int pictq_windex = 0;
    std::mutex pictq_mutex;
    std::condition_variable pictq_cond;
    // The size and format the video thread asks the play thread to prepare a slot for.
    int alloc_width = 0;  // under pictq_mutex
    int alloc_height = 0;
    int alloc_pix_fmt = AV_PIX_FMT_NONE;
    // Pictures put into the picture queue since the file opened.
    TShared<int64_t> pictures_queued{0};
    // The picture shown last (a reference of its slot's picture), for showing it again: the slot
    // itself is refilled by the video thread meanwhile. Written by the play thread under
    // last_mutex.
    std::mutex last_mutex;
    AVFrame* last_frame = nullptr;
    int last_width = 0;
    int last_height = 0;
    double last_pts = 0;

    // The video decoder's state between packets (video thread only).
    AVPacket* video_pkt = nullptr;
    int video_pkt_serial = -1;
    bool video_pkt_pending = false;
    // The filter graph src → VideoFilters → out, built for the frames of one size, format and
    // serial (video thread only); out's size is published for the display.
    AVFilterGraph* filter_graph = nullptr;
    AVFilterContext* in_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
    int graph_width = 0;
    int graph_height = 0;
    int graph_pix_fmt = AV_PIX_FMT_NONE;
    int graph_serial = -1;
    TShared<int> out_width{0};
    TShared<int> out_height{0};

    std::string filename;
    int width = 0;  // the display area (the screen), play thread
    int height = 0;
    int xleft = 0;
    int ytop = 0;
    SwsContext* display_sws = nullptr;  // play thread
    // The picture with its subtitle blended in (play thread); the shown picture stays as it is.
    AVFrame* blend_frame = nullptr;
    // Where the scaler writes before the rows go to the screen: it may write a few pixels past
    // the width it was asked for (play thread).
    std::vector<uint32_t> display_scratch;

    TShared<float> skip_frames{1};
    float skip_frames_index = 0;
    TShared<int> refresh{0};
    TCustomPlayer* const Owner;
    TShared<int> Opened{0};
    // Run by the read thread once the open is decided: Opened is 1, or -2 with the file closed.
    std::function<void()> OnDecided;
    TShared<int> Published{0};  // the player took the playback (main thread sets it)
    TShared<int> Ended{0};      // the read thread is done with everything
    int64_t StartTime = 0;
    int64_t Duration = -1;
    TShared<int64_t> AudioDuration{-1};
    int IsImage2 = 0;
    int IsDevice = 0;
    TShared<int> ErrorEOF{0};
    TShared<int> EventEOF{0};
    TShared<int> ReachEOF{0};
    TShared<int> Reading{0};
    TShared<int> open_paused{0};
    TShared<int> seek_paused{0};
    TShared<int> seek_done{0};
    TShared<int> seek_flushed{0};
    // Requests, the read thread's taking of them and the video thread's end of a seek's pause
    // hold it: only the newest request's first picture ends that pause.
    std::mutex seek_mutex;
    int64_t seek_id = 0;   // requests posted
    int seek_serial = -1;  // the video queue's serial after the newest seek carried out

    // The playback's own event queue, shared with its play thread.
    std::shared_ptr<TPlayerEventQueue> events;
};

}  // namespace media
