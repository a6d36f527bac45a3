#include "media/player/player_read_thread.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "media/libs/ff_logger.h"
#include "media/libs/ff_utils.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/media_utils.h"
#include "media/libs/unicode_protocol.h"
#include "media/player/ff_player.h"
#include "media/player/picture_queue.h"
#include "media/player/player_clock.h"
#include "media/player/player_decoders.h"
#include "media/player/player_display.h"
#include "media/probe/av_probe.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/clock.h"
#include "platform/sys/main_thread.h"

namespace media {

namespace {

constexpr int kPollMs = 10;
constexpr int kErrorRetryMs = 100;
constexpr int kSeekWaitStepMs = 100;
constexpr int kMaxQueueSize = 15 * 1024 * 1024;
constexpr int kMinAudioQueueSize = 0x50000;
constexpr int kMinFrames = 5;
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

sys::TWaitResult PumpingEventWait(sys::TEvent& event, int ms) {
    if (!sys::IsMainThread()) return event.Wait(ms);
    sys::TWaitResult result = sys::PumpingWait(event, ms);
    PumpMessages();
    return result;
}

// A pause of the read thread that closing the playback ends at once.
void SleepUnlessAborted(const TVideoState& is, int ms) {
    is.abort_event.Wait(ms);
}

bool IsStillImageFormat(const char* name) {
    std::string text = name != nullptr ? name : "";
    // A single picture opens through an image pipe demuxer, a numbered sequence through image2.
    return text == "image2" || (text.size() > 5 && text.compare(text.size() - 5, 5, "_pipe") == 0);
}

bool IsCaptureDevice(const AVInputFormat* format) {
    if (format == nullptr || format->priv_class == nullptr) return false;
    AVClassCategory category = format->priv_class->category;
    return category == AV_CLASS_CATEGORY_DEVICE_VIDEO_INPUT ||
           category == AV_CLASS_CATEGORY_DEVICE_AUDIO_INPUT ||
           category == AV_CLASS_CATEGORY_DEVICE_INPUT;
}

void SDLCALL AudioCallbackEntry(void* userdata, Uint8* stream, int len) {
    AudioCallback(*static_cast<TVideoState*>(userdata), stream, len);
}

// The decoder's error recognition: the old "careful" (1) is the library's default now.
int ErrorRecognitionFlags(int value) {
    if (value <= 1) return 0;
    int flags = AV_EF_CAREFUL | AV_EF_COMPLIANT;
    if (value > 2) flags |= AV_EF_AGGRESSIVE;
    return flags;
}

void ApplyDecoderOptions(const TCustomPlayer& player, AVCodecContext* ctx, const AVCodec* codec) {
    ctx->debug = player.Fdebug;
    ctx->workaround_bugs = player.Fworkaround_bugs;
    ctx->lowres =
        codec != nullptr ? std::min(player.Flowres, int(codec->max_lowres)) : player.Flowres;
    ctx->idct_algo = player.Fidct_algo;
    if (player.Ffast) ctx->flags2 |= AV_CODEC_FLAG2_FAST;
    ctx->skip_frame = AVDiscard(player.Fskip_frame);
    ctx->skip_idct = AVDiscard(player.Fskip_idct);
    ctx->skip_loop_filter = AVDiscard(player.Fskip_loop_filter);
    ctx->err_recognition = ErrorRecognitionFlags(player.Ferror_recognition);
    ctx->error_concealment = player.Ferror_concealment;
    ctx->thread_count = 1;
}

void FreeCodecContext(AVCodecContext*& ctx) {
    if (ctx == nullptr) return;
    lib::avcodec_free_context(&ctx);
}

// The stream the read thread plays of each media type: the wanted one (the n-th of its type), or
// the library's best of its type.
std::array<int, AVMEDIA_TYPE_NB> ChooseStreams(const TCustomPlayer& player, AVFormatContext* ic) {
    std::array<int, AVMEDIA_TYPE_NB> chosen;
    chosen.fill(-1);
    std::array<int, AVMEDIA_TYPE_NB> count{};
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        ic->streams[i]->discard = AVDISCARD_ALL;
        int type = ic->streams[i]->codecpar->codec_type;
        if (type < 0 || type >= AVMEDIA_TYPE_NB) continue;
        int wanted = player.Fwanted_stream[size_t(type) + 1];
        if (wanted >= 0 && count[size_t(type)] == wanted) chosen[size_t(type)] = int(i);
        ++count[size_t(type)];
    }
    for (int type : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_SUBTITLE}) {
        if (player.Fwanted_stream[size_t(type) + 1] < 0)
            chosen[size_t(type)] =
                std::max(-1, lib::av_find_best_stream(ic, AVMediaType(type), -1, -1, nullptr, 0));
    }
    if (player.Fvideo_disable) {
        chosen[AVMEDIA_TYPE_VIDEO] = -1;
        chosen[AVMEDIA_TYPE_SUBTITLE] = -1;
    }
    if (player.Faudio_disable) chosen[AVMEDIA_TYPE_AUDIO] = -1;
    return chosen;
}

void CarryOutSeek(TVideoState& is, bool& eof) {
    TCustomPlayer& player = *is.Owner;
    int64_t target, rel, id;
    int flags;
    {
        std::lock_guard lock(is.seek_mutex);
        target = is.seek_pos.load();
        rel = is.seek_rel.load();
        flags = is.seek_flags.load();
        id = is.seek_id;
    }
    int64_t low = rel > 0 ? target - rel + 2 : kInt64Min;
    int64_t high = rel < 0 ? target - rel - 2 : kInt64Max;
    int ret = lib::avformat_seek_file(is.ic, -1, low, target, high, flags);
    if (ret < 0) ret = lib::av_seek_frame(is.ic, -1, target, flags);
    if (ret < 0) ret = lib::av_seek_frame(is.ic, -1, target, flags ^ AVSEEK_FLAG_BACKWARD);
    bool hasVideo = is.video_stream.load() >= 0;
    if (ret < 0) {
        player.ReportError(rtl::Format("%s: error while seeking", is.filename), false);
        if (hasVideo) player.FPictEvent.Set();
    } else {
        if (is.audio_stream.load() >= 0) {
            is.audioq.Flush();
            is.audioq.PutFlush();
        }
        if (is.subtitle_stream.load() >= 0) {
            is.subtitleq.Flush();
            is.subtitleq.PutFlush();
        }
        if (hasVideo) {
            is.seek_flushed = 0;
            std::lock_guard lock(is.pictq_mutex);
            is.videoq.Flush();
            is.videoq.PutFlush();
            player.FPictEvent.Reset();
        }
    }
    is.ErrorEOF = 0;
    is.ReachEOF = 0;
    eof = false;
    std::lock_guard lock(is.seek_mutex);
    if (ret >= 0 && hasVideo) is.seek_serial = is.videoq.Serial();
    // A newer request came meanwhile: it is carried out next, and it alone ends the waits.
    if (is.seek_id != id) return;
    is.seek_req = 0;
    is.seek_done = 1;
    player.FSeekEvent.Set();
    if (!hasVideo) player.FSeeking = false;
}

bool QueuesFull(const TVideoState& is) {
    if (is.audioq.Size() + is.videoq.Size() + is.subtitleq.Size() > kMaxQueueSize) return true;
    return (is.audioq.Size() > kMinAudioQueueSize || is.audio_stream.load() < 0) &&
           (is.videoq.Count() > kMinFrames || is.video_stream.load() < 0) &&
           (is.subtitleq.Count() > kMinFrames || is.subtitle_stream.load() < 0);
}

// The streams' parameters, each probing decoder on one thread: the preview needs a picture or
// two, and a decoder's frame threads would take longer to start than to decode them.
int FindStreamInfo(AVFormatContext* ic) {
    std::vector<AVDictionary*> options(ic->nb_streams, nullptr);
    for (AVDictionary*& o : options) lib::av_dict_set(&o, "threads", "1", 0);
    const int err = lib::avformat_find_stream_info(ic, options.empty() ? nullptr : options.data());
    for (AVDictionary*& o : options) lib::av_dict_free(&o);
    return err;
}

// Opens the file and its streams; false with LastErrMsg set.
bool OpenInput(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    is.ic = lib::avformat_alloc_context();
    if (is.ic == nullptr) {
        player.ReportError(ErrorCodeText(is.filename, AVERROR(ENOMEM)), true);
        return false;
    }
    is.ic->interrupt_callback = {InterruptCallback, &is};

    AVDictionary* options = nullptr;
    if (player.Fframe_width > 0 && player.Fframe_height > 0)
        lib::av_dict_set(&options, "video_size",
                         rtl::Format("%dx%d", player.Fframe_width, player.Fframe_height).c_str(),
                         0);
    if (player.Fframe_pix_fmt >= 0) {
        const char* name = lib::av_get_pix_fmt_name(AVPixelFormat(player.Fframe_pix_fmt));
        if (name != nullptr) lib::av_dict_set(&options, "pixel_format", name, 0);
    }
    // A context that fails to open is freed by the library and the pointer cleared.
    // Every read of the playback ends when it is closed, also one waiting on a FIFO.
    int err = OpenInterruptibleInputFile(&is.ic, is.filename, is.iformat, &options);
    lib::av_dict_free(&options);
    if (err < 0) {
        // A cancelled open reports nothing: the player has moved on to another file.
        if (is.abort_request.load() == 0) player.ReportError(ErrorCodeText(is.filename, err), true);
        return false;
    }
    AVFormatContext* ic = is.ic;
    if (player.Fgenpts) ic->flags |= AVFMT_FLAG_GENPTS;

    // What a probe of this file found already is taken over as it is: the library's probe
    // decodes several pictures of an H.264 stream, longer than the first picture takes.
    err = is.probed && is.probed->ApplyTo(ic) ? 0 : FindStreamInfo(ic);
    if (is.abort_request.load() != 0) return false;
    if (err < 0) {
        player.ReportError(rtl::Format("%s: could not find codec parameters", is.filename), true);
        return false;
    }
    if (ic->pb != nullptr) ic->pb->eof_reached = 0;
    if (player.Fseek_by_bytes < 0)
        player.Fseek_by_bytes = (ic->iformat->flags & AVFMT_TS_DISCONT) != 0 ? 1 : 0;

    is.IsImage2 = IsStillImageFormat(ic->iformat->name) ? 1 : 0;
    is.IsDevice = IsCaptureDevice(ic->iformat) ? 1 : 0;
    if (ic->start_time != AV_NOPTS_VALUE) is.StartTime = ic->start_time;
    is.Duration = ic->duration != AV_NOPTS_VALUE ? ic->duration : -1;

    if (player.Fstart_time != AV_NOPTS_VALUE) {
        int64_t target = player.Fstart_time;
        if (ic->start_time != AV_NOPTS_VALUE) target += ic->start_time;
        if (lib::avformat_seek_file(ic, -1, kInt64Min, target, kInt64Max, 0) < 0)
            player.ReportError(rtl::Format("%s: could not seek to position %0.3f", is.filename,
                                           double(target) / 1000000.0),
                               false);
    }

    std::array<int, AVMEDIA_TYPE_NB> chosen = ChooseStreams(player, ic);
    if (chosen[AVMEDIA_TYPE_AUDIO] >= 0) OpenStreamComponent(is, chosen[AVMEDIA_TYPE_AUDIO]);
    int ret = -1;
    if (chosen[AVMEDIA_TYPE_VIDEO] >= 0) ret = OpenStreamComponent(is, chosen[AVMEDIA_TYPE_VIDEO]);
    if (ret < 0 && !player.Fdisplay_disable) is.show_audio = 2;
    if (chosen[AVMEDIA_TYPE_SUBTITLE] >= 0) OpenStreamComponent(is, chosen[AVMEDIA_TYPE_SUBTITLE]);

    if (is.video_stream.load() < 0 && is.audio_stream.load() < 0) {
        player.ReportError(
            rtl::Format("%s: could not open codecs, no stream to play.", is.filename), true);
        return false;
    }
    return true;
}

void ReadLoop(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    AVFormatContext* ic = is.ic;
    AVPacket* packet = lib::av_packet_alloc();
    if (packet == nullptr) return;
    bool eof = false;
    while (is.abort_request.load() == 0) {
        int paused = is.paused.load();
        if (paused != is.last_paused) {
            is.last_paused = paused;
            if (paused != 0)
                is.read_pause_return = lib::av_read_pause(ic);
            else
                lib::av_read_play(ic);
        }
        if (is.seek_req.load() != 0) CarryOutSeek(is, eof);

        if (QueuesFull(is)) {
            SleepUnlessAborted(is, kPollMs);
            continue;
        }
        if (eof || (ic->pb != nullptr && lib::avio_feof(ic->pb) != 0)) {
            int videoStream = is.video_stream.load();
            if (videoStream >= 0) {
                // Empty packets make the video decoder give out its last pictures, report the
                // end and end the waits for a picture.
                packet->stream_index = videoStream;
                is.videoq.PutPacket(packet);
            }
            SleepUnlessAborted(is, kPollMs);
            if (is.audioq.Count() == 0 && is.videoq.Count() == 0 && is.subtitleq.Count() == 0)
                is.ReachEOF = 1;
            continue;
        }

        is.Reading = 1;
        int ret = lib::av_read_frame(ic, packet);
        is.Reading = 0;
        if (is.abort_request.load() != 0) break;
        if (ret < 0) {
            if (ret == AVERROR(EAGAIN)) {
                SleepUnlessAborted(is, kPollMs);
                continue;
            }
            // No picture comes from a file that fails; at its end the video decoder says so
            // once it has given out its last picture.
            if (is.video_stream.load() >= 0 && ret != AVERROR_EOF) player.FPictEvent.Set();
            if (is.IsImage2 == 0 && is.ErrorEOF.load() == 0) {
                is.ErrorEOF = 1;
                if (ret == AVERROR_EOF)
                    GetFFLogger().Log(&player, llInfo, "reach end of file: %s", is.filename);
                else
                    player.ReportError(
                        rtl::Format("error #%d while reading file: %s", ret, is.filename), false);
            }
            if (ret == AVERROR_EOF) eof = true;
            if (ic->pb != nullptr && ic->pb->error != 0) break;
            SleepUnlessAborted(is, kErrorRetryMs);
            continue;
        }
        if (packet->pos >= 0) is.read_pos = packet->pos + packet->size;
        if (packet->stream_index == is.audio_stream.load())
            is.audioq.PutPacket(packet);
        else if (packet->stream_index == is.video_stream.load())
            is.videoq.PutPacket(packet);
        else if (packet->stream_index == is.subtitle_stream.load())
            is.subtitleq.PutPacket(packet);
        else
            lib::av_packet_unref(packet);
    }
    lib::av_packet_free(&packet);
    while (is.abort_request.load() == 0) SleepUnlessAborted(is, kErrorRetryMs);
}

}  // namespace

int InterruptCallback(void* opaque) {
    const auto* is = static_cast<const TVideoState*>(opaque);
    return is != nullptr && is->abort_request.load() == 1 ? 1 : 0;
}

void ReadThreadProc(TVideoState& is) {
    bool opened = false;
    try {
        opened = OpenInput(is);
    } catch (const std::exception& e) {
        if (is.abort_request.load() == 0) is.Owner->ReportError(e.what(), true);
    }
    if (opened) {
        is.Opened = 1;
        if (is.OnDecided) is.OnDecided();
        ReadLoop(is);
    }
    // The end: tear the file down on the thread that used it.
    if (is.Opened.load() != 1) is.Opened = -1;
    if (is.ic != nullptr) {
        for (int index :
             {is.audio_stream.load(), is.video_stream.load(), is.subtitle_stream.load()})
            if (index >= 0) CloseStreamComponent(is, index);
        // Only a playback the player took has its file in the player's probe.
        TAVProbe& probe = is.Owner->AVProbe();
        if (is.Published.load() != 0 && probe.FileHandle() == is.ic) probe.SetFileHandle(nullptr);
        CloseInputFile(&is.ic);
    }
    if (!opened) PushQuitEvent(is);
    // SDL keeps its error text per thread and frees it only for threads of its own.
    lib::SDL_TLSCleanup();
    if (is.Opened.load() == -1) {
        is.Opened = -2;
        if (is.OnDecided) is.OnDecided();
    }
    is.Ended = 1;
}

int OpenStreamComponent(TVideoState& is, int streamIndex) {
    TCustomPlayer& player = *is.Owner;
    AVFormatContext* ic = is.ic;
    if (streamIndex < 0 || unsigned(streamIndex) >= ic->nb_streams) return -1;
    AVStream* st = ic->streams[streamIndex];
    const AVCodecParameters* par = st->codecpar;

    const AVCodec* codec = lib::avcodec_find_decoder(par->codec_id);
    AVCodecContext* ctx = lib::avcodec_alloc_context3(nullptr);
    if (ctx == nullptr) return -1;
    if (lib::avcodec_parameters_to_context(ctx, par) < 0) {
        lib::avcodec_free_context(&ctx);
        return -1;
    }
    ctx->pkt_timebase = st->time_base;
    ApplyDecoderOptions(player, ctx, codec);
    if (codec == nullptr || lib::avcodec_open2(ctx, codec, nullptr) < 0) {
        lib::avcodec_free_context(&ctx);
        player.ReportError("avcodec_open() failed.", false);
        return -1;
    }

    if (ctx->codec_type == AVMEDIA_TYPE_AUDIO) {
        int channels = ctx->ch_layout.nb_channels;
        SDL_AudioSpec wanted{};
        wanted.freq = ctx->sample_rate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = Uint8(channels == 1 || channels == 2 ? channels : 2);
        wanted.silence = 0;
        wanted.samples = kAudioDeviceSamples;
        wanted.callback = AudioCallbackEntry;
        wanted.userdata = &is;
        SDL_AudioSpec granted{};
        // SDL converts whatever the device takes; the callback always gets what was asked for.
        SDL_AudioDeviceID device = lib::SDL_OpenAudioDevice(nullptr, 0, &wanted, &granted, 0);
        // A driver with one output device takes a new one only once the last file's is closed.
        if (device == 0 && player.FAudioCloser && player.FAudioCloser->Drain())
            device = lib::SDL_OpenAudioDevice(nullptr, 0, &wanted, &granted, 0);
        if (device == 0) {
            player.ReportError(std::string("SDL_OpenAudio() failed: ") + lib::SDL_GetError(),
                               false);
            // Nothing will take the decoder's output.
            FreeCodecContext(ctx);
            return -1;
        }
        is.audio_dev = device;
        is.audio_hw_buf_size = int(granted.size);
        is.audio_tgt_channels = granted.channels;
        is.audio_tgt_freq = granted.freq;
        is.audio_src_fmt = AV_SAMPLE_FMT_NONE;
    }

    st->discard = AVDISCARD_DEFAULT;
    switch (ctx->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            is.audio_ctx = ctx;
            is.audio_frame = lib::av_frame_alloc();
            is.audio_pkt = lib::av_packet_alloc();
            is.audio_pkt_pending = false;
            is.audio_pkt_serial = -1;
            is.AudioDuration = st->duration != AV_NOPTS_VALUE
                                   ? lib::av_rescale_q(st->duration, st->time_base, {1, 1000000})
                                   : -1;
            is.audio_buf_size = 0;
            is.audio_buf_index = 0;
            is.audio_diff_avg_coef = std::exp(std::log10(0.01) / 20);
            is.audio_diff_avg_count = 0;
            is.audio_diff_threshold = 2.0 * kAudioDeviceSamples / ctx->sample_rate;
            is.audioq.Init();
            is.audioq.PutFlush();
            is.audio_stream = streamIndex;
            is.audio_st = st;
            lib::SDL_PauseAudioDevice(is.audio_dev, 0);
            break;
        case AVMEDIA_TYPE_VIDEO:
            is.video_ctx = ctx;
            is.video_pkt_serial = -1;
            is.videoq.Init();
            is.videoq.PutFlush();
            is.video_stream = streamIndex;
            is.video_st = st;
            is.video_tid = sys::StartThread([&is] { VideoThreadProc(is); });
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            is.subtitle_ctx = ctx;
            is.subtitleq.Init();
            is.subtitleq.PutFlush();
            is.subtitle_stream = streamIndex;
            is.subtitle_st = st;
            is.subtitle_tid = sys::StartThread([&is] { SubtitleThreadProc(is); });
            break;
        default:
            FreeCodecContext(ctx);
            break;
    }
    return 0;
}

void CloseStreamComponent(TVideoState& is, int streamIndex) {
    AVFormatContext* ic = is.ic;
    if (ic == nullptr || streamIndex < 0 || unsigned(streamIndex) >= ic->nb_streams) return;
    AVStream* st = ic->streams[streamIndex];
    switch (st->codecpar->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            is.audioq.Abort();
            if (is.audio_dev != 0) {
                // Paused, the device calls back no more; its close may then take its time.
                lib::SDL_PauseAudioDevice(is.audio_dev, 1);
                if (is.Owner->FAudioCloser)
                    is.Owner->FAudioCloser->Close(is.audio_dev);
                else
                    lib::SDL_CloseAudioDevice(is.audio_dev);
            }
            is.audio_dev = 0;
            is.audioq.Flush();
            lib::swr_free(&is.reformat_ctx);
            lib::av_channel_layout_uninit(&is.audio_src_layout);
            is.audio_src_fmt = AV_SAMPLE_FMT_NONE;
            lib::av_frame_free(&is.audio_frame);
            lib::av_packet_free(&is.audio_pkt);
            is.audio_pkt_pending = false;
            is.audio_st = nullptr;
            is.audio_stream = -1;
            is.AudioDuration = -1;
            FreeCodecContext(is.audio_ctx);
            break;
        case AVMEDIA_TYPE_VIDEO:
            is.videoq.Abort();
            {
                std::lock_guard lock(is.pictq_mutex);
                is.pictq_cond.notify_all();
            }
            is.video_tid.reset();
            is.videoq.Flush();
            is.video_st = nullptr;
            is.video_stream = -1;
            FreeCodecContext(is.video_ctx);
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            is.subtitleq.Abort();
            {
                std::lock_guard lock(is.subpq_mutex);
                is.subtitle_stream_changed = 1;
                is.subpq_cond.notify_all();
            }
            is.subtitle_tid.reset();
            is.subtitleq.Flush();
            {
                std::lock_guard lock(is.subpq_mutex);
                for (; is.subpq_size > 0; --is.subpq_size) {
                    FreeSubtitlePicture(is.subpq[is.subpq_rindex]);
                    is.subpq_rindex = (is.subpq_rindex + 1) % kSubpictureQueueSize;
                }
                is.subtitle_stream_changed = 0;
            }
            is.subtitle_st = nullptr;
            is.subtitle_stream = -1;
            FreeCodecContext(is.subtitle_ctx);
            break;
        default:
            break;
    }
    st->discard = AVDISCARD_ALL;
}

bool PostSeekRequest(TVideoState& is, TSeekFlags flags, int64_t pos, int64_t rel) {
    TCustomPlayer& player = *is.Owner;
    // A request that is still pending is replaced: the newest one is carried out.
    std::lock_guard lock(is.seek_mutex);
    player.FSeeking = true;
    is.seek_paused = is.paused.load();
    is.seek_pos = pos;
    is.seek_rel = rel;
    is.seek_flags = SeekFlagsValue(flags);
    ++is.seek_id;
    player.FSeekEvent.Reset();
    is.seek_req = 1;
    return true;
}

void AwaitSeek(TCustomPlayer& player, const TVideoState* is, bool hasVideo) {
    // A playback that ends meanwhile ends the wait as well (a pause sets both events).
    auto running = [&] { return player.FVideoState.load() == is && is->abort_request.load() == 0; };
    while (running() &&
           PumpingEventWait(player.FSeekEvent, kSeekWaitStepMs) == sys::TWaitResult::Timeout) {
    }
    if (!hasVideo) return;
    while (running() &&
           PumpingEventWait(player.FPictEvent, kSeekWaitStepMs) == sys::TWaitResult::Timeout) {
    }
}

void RequestSeek(TVideoState& is, TSeekFlags flags, bool wait, int64_t pos, int64_t rel) {
    TCustomPlayer& player = *is.Owner;
    bool hasVideo;
    {
        std::lock_guard lock(player.FStateLock);
        if (!PostSeekRequest(is, flags, pos, rel)) return;
        hasVideo = is.video_st.load() != nullptr;
    }
    if (wait) AwaitSeek(player, &is, hasVideo);
}

bool SwitchStream(TVideoState& is, AVMediaType type, int streamIndex) {
    TCustomPlayer& player = *is.Owner;
    auto refuse = [&](const char* text) {
        player.ReportError(text, true);
        return false;
    };
    int current = type == AVMEDIA_TYPE_VIDEO   ? is.video_stream.load()
                  : type == AVMEDIA_TYPE_AUDIO ? is.audio_stream.load()
                                               : is.subtitle_stream.load();
    int lowest = type == AVMEDIA_TYPE_SUBTITLE ? -1 : 0;
    if (current < lowest) return refuse("the current stream is not valid.");
    if (streamIndex < lowest || streamIndex >= int(is.ic->nb_streams))
        return refuse("the stream index is not valid.");
    if (streamIndex == current) return true;
    if (streamIndex == -1) {
        CloseStreamComponent(is, current);
        return true;
    }
    const AVCodecParameters* par = is.ic->streams[streamIndex]->codecpar;
    if (par->codec_type != type) return refuse("the stream type is not matched.");
    if (type == AVMEDIA_TYPE_AUDIO && (par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0))
        return refuse("the audio stream is not invalid.");
    if (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO && type != AVMEDIA_TYPE_SUBTITLE)
        return refuse("the stream type is invalid.");
    CloseStreamComponent(is, current);
    OpenStreamComponent(is, streamIndex);
    return true;
}

std::unique_ptr<TVideoState> StartOpenStream(TCustomPlayer& player, const std::string& fileName,
                                             const AVInputFormat* format, bool paused,
                                             std::function<void()> decided) {
    if (player.FVideoState.load() != nullptr)
        throw rtl::Exception("Assertion failed: a playback is still open");
    std::unique_ptr<TVideoState> state;
    try {
        state = std::make_unique<TVideoState>(&player);
        state->events = std::make_shared<TPlayerEventQueue>();
    } catch (const std::bad_alloc&) {
        player.ReportError("av_mallocz() failed.", true);
        return nullptr;
    }
    TVideoState& is = *state;
    if (paused) {
        is.paused = 1;
        is.open_paused = 1;
        player.Fstep = false;
    }
    is.filename = fileName;
    is.iformat = format;
    if (player.FProbedStreams && player.FProbedStreams->FileName() == fileName)
        is.probed = player.FProbedStreams;
    is.av_sync_type = player.Fav_sync_type;
    is.OnDecided = std::move(decided);
    try {
        is.parse_tid = sys::StartThread([&is] { ReadThreadProc(is); });
    } catch (const std::exception&) {
        player.ReportError("SDL_CreateThread() failed.", true);
        return nullptr;
    }
    return state;
}

bool FinishOpenStream(TCustomPlayer& player, std::unique_ptr<TVideoState> state) {
    TVideoState& is = *state;
    if (is.Opened.load() == 1) {
        is.Published = 1;
        player.FVideoStateOwner = std::move(state);
        player.FVideoState = &is;
        if (is.video_stream.load() < 0 && !player.Fdisplay_disable)
            is.show_audio = int(player.FShowAudio.load());
        is.refresh_tid = sys::StartThread([&is] { RefreshThreadProc(is); });
        return true;
    }
    // The read thread has closed the file and only ends now.
    is.parse_tid.reset();
    state.reset();
    player.ResetState();
    return false;
}

bool OpenStream(TCustomPlayer& player, const std::string& fileName, const AVInputFormat* format,
                bool paused) {
    auto decided = std::make_shared<sys::TEvent>(true, false);
    std::unique_ptr<TVideoState> state =
        StartOpenStream(player, fileName, format, paused, [decided] { decided->Set(); });
    if (!state) return false;
    // The read thread's messages reach the main thread's log while it opens.
    while (PumpingEventWait(*decided, kSeekWaitStepMs) == sys::TWaitResult::Timeout) {
    }
    return FinishOpenStream(player, std::move(state));
}

void CancelOpenStream(TCustomPlayer& player, std::unique_ptr<TVideoState> state) {
    // The read thread may be inside the libraries' probe, which no abort shortens: it ends
    // by itself, closing what it opened, and is joined later; the main thread keeps pumping.
    state->abort_request = 1;
    state->abort_event.Set();
    state->events->Close();
    const TVideoState& cancelled = *state;
    player.FCancelledOpens.push_back(std::move(state));
    // Its read thread reads the player's options while it opens: they are reset for the next
    // file only once it has ended.
    sys::TEvent never(true, false);
    while (cancelled.Ended.load() == 0) PumpingEventWait(never, 5);
    ReapCancelledOpens(player, false);
    player.ResetState();
}

void ReapCancelledOpens(TCustomPlayer& player, bool wait) {
    std::erase_if(player.FCancelledOpens, [wait](std::unique_ptr<TVideoState>& state) {
        if (!wait && state->Ended.load() == 0) return false;
        state->parse_tid.reset();
        return true;
    });
}

void CloseStream(TVideoState& is) {
    is.abort_request = 1;
    is.abort_event.Set();
    is.parse_tid.reset();
    is.refresh_tid.reset();
}

void ShutdownPlayback(TCustomPlayer& player) {
    // The SDL audio subsystem stays up for the next file: stopping it takes a tenth of a
    // second on some systems (the player stops it when it ends).
    TVideoState* is = player.FVideoState.load();
    if (is != nullptr) {
        CloseStream(*is);
        {
            std::lock_guard lock(player.FStateLock);
            player.FVideoState = nullptr;
        }
        is->events->Close();
        player.FVideoStateOwner.reset();
        player.ResetState();
        if (player.FVideoHost) player.FVideoHost->Clear();
    }
}

void PushQuitEvent(TVideoState& is) {
    is.events->Push({TPlayerEventKind::Quit});
}

void PushRedisplayEvent(TVideoState& is) {
    is.events->Push({TPlayerEventKind::Redisplay});
}

void EventLoop(TCustomPlayer& player, const std::shared_ptr<TPlayerEventQueue>& events) {
    for (;;) {
        std::optional<TPlayerEvent> event = events->Wait();
        if (!event) return;
        std::lock_guard lock(player.FDataLock);
        TVideoState* is = player.FVideoState.load();
        // A queue outlives its playback only closed; this guards a playback that is gone.
        if (is == nullptr || is->events != events) return;
        switch (event->Kind) {
            case TPlayerEventKind::Quit:
                ShutdownPlayback(player);
                return;
            case TPlayerEventKind::Resize:
                player.Fscreen.emplace(event->Width, event->Height, 0xFF000000);
                player.Fscreen_width = event->Width;
                player.Fscreen_height = event->Height;
                is->width = event->Width;
                is->height = event->Height;
                if (is->paused.load() != 0) RefreshVideo(*is, false);
                break;
            case TPlayerEventKind::Expose:
                if (is->paused.load() != 0)
                    RefreshVideo(*is, false);
                else
                    DisplayCurrent(*is);
                break;
            case TPlayerEventKind::Alloc:
                OpenVideoMode(*is, false);
                AllocPictureOverlay(*is);
                break;
            case TPlayerEventKind::Refresh:
                RefreshVideo(*is, true);
                is->refresh = 0;
                break;
            case TPlayerEventKind::Redisplay:
                OpenVideoMode(*is, true);
                DisplayCurrent(*is);
                break;
            case TPlayerEventKind::AudioDisplay:
                ToggleAudioDisplay(*is);
                break;
        }
    }
}

TPlayThread::TPlayThread(TCustomPlayer& owner, std::shared_ptr<TPlayerEventQueue> events,
                         std::shared_ptr<TPlayEventRing> ring)
    : sys::TThread(true), FOwner(owner), FEvents(std::move(events)), FRing(std::move(ring)) {
    Start();
}

TPlayThread::~TPlayThread() {
    Terminate();
    WaitFor();
}

void TPlayThread::Execute() {
    try {
        FOwner.SetState(psPlay, FRing.get());
        EventLoop(FOwner, FEvents);
    } catch (const std::exception& e) {
        GetFFLogger().Log(&FOwner, llFatal, std::string("PlayThread Exception: ") + e.what());
        std::lock_guard lock(FOwner.FDataLock);
        TVideoState* is = FOwner.FVideoState.load();
        if (is != nullptr && is->events == FEvents) ShutdownPlayback(FOwner);
    }
    FOwner.SetState(psStop, FRing.get());
    FOwner.FStopEvent.Set();
}

}  // namespace media
