#include "media/player/player_decoders.h"

#include <algorithm>
#include <cstring>

#include "media/libs/ff_logger.h"
#include "media/player/ff_player.h"
#include "media/player/picture_queue.h"
#include "media/player/player_clock.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/clock.h"

namespace media {

namespace {

constexpr int kPausePollMs = 10;
constexpr int kSilenceBytes = 1024;

void FreeVideoGraph(TVideoState& is) {
    if (is.filter_graph != nullptr) lib::avfilter_graph_free(&is.filter_graph);
    is.in_video_filter = nullptr;
    is.out_video_filter = nullptr;
    is.graph_serial = -1;
}

// Builds src → [upright] → [VideoFilters] → out for pictures like `frame`. The sink gives
// YUV420P only.
int ConfigureVideoFilters(TVideoState& is, const AVFrame* frame) {
    TCustomPlayer& player = *is.Owner;
    FreeVideoGraph(is);
    is.filter_graph = lib::avfilter_graph_alloc();
    if (is.filter_graph == nullptr) return AVERROR(ENOMEM);
    std::string swsOptions = rtl::Format("flags=%d", player.Fsws_flags);
    is.filter_graph->scale_sws_opts = lib::av_strdup(swsOptions.c_str());

    AVStream* st = is.video_st.load();
    AVRational timeBase = st != nullptr ? st->time_base : AVRational{1, 25};
    AVRational sar = frame->sample_aspect_ratio;
    std::string args = rtl::Format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                                   frame->width, frame->height, frame->format, timeBase.num,
                                   timeBase.den, sar.num, std::max(sar.den, 1));
    AVFilterContext* src = nullptr;
    AVFilterContext* out = nullptr;
    int ret = lib::avfilter_graph_create_filter(&src, lib::avfilter_get_by_name("buffer"), "src",
                                                args.c_str(), nullptr, is.filter_graph);
    if (ret < 0) return ret;
    ret = lib::avfilter_graph_create_filter(&out, lib::avfilter_get_by_name("buffersink"), "out",
                                            nullptr, nullptr, is.filter_graph);
    if (ret < 0) return ret;
    const int pixFmts[] = {AV_PIX_FMT_YUV420P};
    ret = lib::av_opt_set_bin(out, "pix_fmts", reinterpret_cast<const uint8_t*>(pixFmts),
                              sizeof(pixFmts), AV_OPT_SEARCH_CHILDREN);
    if (ret < 0) return ret;

    // A picture stored turned is shown upright, by the filters the ffmpeg tool puts first.
    AVFilterContext* last = src;
    for (const TUprightFilter& upright : UprightFilters(st)) {
        AVFilterContext* filter = nullptr;
        ret = lib::avfilter_graph_create_filter(
            &filter, lib::avfilter_get_by_name(upright.Name.c_str()), nullptr,
            upright.Args.empty() ? nullptr : upright.Args.c_str(), nullptr, is.filter_graph);
        if (ret >= 0) ret = lib::avfilter_link(last, 0, filter, 0);
        if (ret < 0) return ret;
        last = filter;
    }

    if (!player.Fvfilters.empty()) {
        AVFilterInOut* outputs = lib::avfilter_inout_alloc();
        AVFilterInOut* inputs = lib::avfilter_inout_alloc();
        if (outputs == nullptr || inputs == nullptr) {
            lib::avfilter_inout_free(&outputs);
            lib::avfilter_inout_free(&inputs);
            return AVERROR(ENOMEM);
        }
        outputs->name = lib::av_strdup("in");
        outputs->filter_ctx = last;
        outputs->pad_idx = 0;
        outputs->next = nullptr;
        inputs->name = lib::av_strdup("out");
        inputs->filter_ctx = out;
        inputs->pad_idx = 0;
        inputs->next = nullptr;
        ret = lib::avfilter_graph_parse_ptr(is.filter_graph, player.Fvfilters.c_str(), &inputs,
                                            &outputs, nullptr);
        lib::avfilter_inout_free(&outputs);
        lib::avfilter_inout_free(&inputs);
    } else {
        ret = lib::avfilter_link(last, 0, out, 0);
    }
    if (ret < 0) return ret;
    ret = lib::avfilter_graph_config(is.filter_graph, nullptr);
    if (ret < 0) return ret;

    is.in_video_filter = src;
    is.out_video_filter = out;
    is.graph_width = frame->width;
    is.graph_height = frame->height;
    is.graph_pix_fmt = frame->format;
    is.graph_serial = is.video_pkt_serial;
    is.out_width = lib::av_buffersink_get_w(out);
    is.out_height = lib::av_buffersink_get_h(out);
    return 0;
}

// The timestamp the picture is shown at, by the player's choice: the decoder's best guess (-1),
// the reordered presentation time (1) or the decode time of its packet (0).
int64_t ChosenTimestamp(const TCustomPlayer& player, const AVFrame* frame) {
    switch (player.Fdecoder_reorder_pts) {
        case 1:
            return frame->pts;
        case 0:
            return frame->pkt_dts;
        default:
            return frame->best_effort_timestamp;
    }
}

// The stream position jumped: drop what the decoder holds and the pictures still queued.
void FlushVideoDecoder(TVideoState& is) {
    lib::avcodec_flush_buffers(is.video_ctx);
    FreeVideoGraph(is);
    {
        std::unique_lock lock(is.pictq_mutex);
        for (TPictureSlot& slot : is.pictq) slot.TargetTime = 0;
        is.pictq_cond.wait(lock, [&] { return is.pictq_size == 0 || is.videoq.Aborted(); });
    }
    is.video_current_pos = -1;
    is.frame_last_pts = double(AV_NOPTS_VALUE);
    is.frame_last_delay = 0;
    is.frame_timer = WallClock();
    is.skip_frames = 1;
    is.skip_frames_index = 0;
    is.seek_flushed = 1;
}

}  // namespace

int DecodeVideoPacket(TVideoState& is, AVFrame* frame) {
    TCustomPlayer& player = *is.Owner;
    for (;;) {
        // A packet held back from before a seek is of no use any more.
        if (is.video_pkt_pending && is.video_pkt_serial != is.videoq.Serial()) {
            lib::av_packet_unref(is.video_pkt);
            is.video_pkt_pending = false;
        }
        // Pictures the decoder still holds come first; none of them predates the last flush.
        if (is.video_pkt_serial == is.videoq.Serial()) {
            int ret = lib::avcodec_receive_frame(is.video_ctx, frame);
            if (ret >= 0) {
                frame->pts = ChosenTimestamp(player, frame);
                is.skip_frames_index += 1;
                float skip = is.skip_frames.load();
                if (is.skip_frames_index >= skip) {
                    is.skip_frames_index -= std::max(skip, 1.0f);
                    return 1;
                }
                lib::av_frame_unref(frame);
                continue;
            }
            if (ret == AVERROR_EOF) {
                // Drained at the end of the file: no picture is to come before the next seek,
                // so nothing may wait for one. The decoder is made ready for that seek.
                lib::avcodec_flush_buffers(is.video_ctx);
                std::lock_guard lock(is.pictq_mutex);
                if (is.video_pkt_serial == is.videoq.Serial()) player.FPictEvent.Set();
            }
        }

        if (!is.video_pkt_pending) {
            TPacketInfo info;
            if (is.videoq.GetPacket(is.video_pkt, true, &info) < 0) return -1;
            is.video_pkt_serial = info.Serial;
            if (info.Flush) {
                FlushVideoDecoder(is);
                return 0;
            }
        }
        bool endPacket = is.video_pkt->data == nullptr || is.video_pkt->size == 0;
        int ret = lib::avcodec_send_packet(is.video_ctx, endPacket ? nullptr : is.video_pkt);
        // A decoder that wants its pictures taken first gets the packet again.
        is.video_pkt_pending = ret == AVERROR(EAGAIN);
        if (!is.video_pkt_pending) lib::av_packet_unref(is.video_pkt);
        if (endPacket) {
            if (is.EventEOF.load() == 0) player.UpdatePosition();
            return 0;
        }
    }
}

int GetFilteredFrame(TVideoState& is, AVFrame* decoded, AVFrame* out, int& serial) {
    for (;;) {
        if (is.filter_graph != nullptr) {
            int ret = lib::av_buffersink_get_frame(is.out_video_filter, out);
            if (ret >= 0) {
                serial = is.graph_serial;
                return 1;
            }
        }
        int r = DecodeVideoPacket(is, decoded);
        if (r < 0) return -1;
        if (r == 0) continue;
        if (is.filter_graph == nullptr || decoded->width != is.graph_width ||
            decoded->height != is.graph_height || decoded->format != is.graph_pix_fmt ||
            is.video_pkt_serial != is.graph_serial) {
            // A graph that cannot be built ends the video thread: the file plays without
            // pictures.
            if (ConfigureVideoFilters(is, decoded) < 0) {
                lib::av_frame_unref(decoded);
                return -1;
            }
        }
        if (lib::av_buffersrc_add_frame(is.in_video_filter, decoded) < 0)
            lib::av_frame_unref(decoded);
    }
}

void VideoThreadProc(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    AVFrame* decoded = lib::av_frame_alloc();
    AVFrame* out = lib::av_frame_alloc();
    is.video_pkt = lib::av_packet_alloc();
    if (decoded != nullptr && out != nullptr && is.video_pkt != nullptr) {
        for (;;) {
            while (is.paused.load() != 0 && !is.videoq.Aborted() && is.seek_paused.load() == 0 &&
                   is.open_paused.load() == 0 && is.abort_request.load() == 0)
                is.abort_event.Wait(kPausePollMs);
            // The playback closes: no picture more is decoded for it.
            if (is.abort_request.load() != 0) break;
            int serial = 0;
            if (GetFilteredFrame(is, decoded, out, serial) < 0) break;
            {
                // The first picture of the newest seek ends the seek's run through a pause; an
                // earlier seek's picture must not, or the newest one is never decoded.
                std::lock_guard lock(is.seek_mutex);
                if (is.seek_done.load() != 0 && is.seek_req.load() == 0 &&
                    serial == is.seek_serial) {
                    is.seek_done = 0;
                    is.seek_paused = 0;
                }
            }
            double pts = kNoPicturePts;
            if (out->pts != AV_NOPTS_VALUE)
                pts = double(out->pts) *
                      av_q2d(lib::av_buffersink_get_time_base(is.out_video_filter));
            int64_t pos = out->pkt_pos;
            // A picture decoded before a seek is of no use and must not end a seek's wait.
            if (serial != is.videoq.Serial()) {
                lib::av_frame_unref(out);
                continue;
            }
            if (QueueFrame(is, out, pts, pos, serial) < 0) break;
            {
                // Against the read thread's flush: a seek's wait ends only with a picture of its
                // own serial.
                std::lock_guard lock(is.pictq_mutex);
                if (serial == is.videoq.Serial()) player.FPictEvent.Set();
            }
            is.EventEOF = 0;
            if (player.FSeeking.load() && is.seek_req.load() == 0) player.FSeeking = false;
            int openPaused = is.open_paused.load();
            if (openPaused != 0) {
                if (openPaused < 2) {
                    is.open_paused = openPaused + 1;
                } else {
                    is.open_paused = 0;
                    player.SetState(psPause);
                }
            }
            if (player.Fstep.load() && is.pictures_queued.load() > player.FStepFrom.load() &&
                player.FVideoState.load() != nullptr)
                TogglePauseState(player);
        }
    }
    // Without the video thread no picture comes: nothing may wait for one.
    player.FPictEvent.Set();
    FreeVideoGraph(is);
    lib::av_frame_free(&decoded);
    lib::av_frame_free(&out);
    lib::av_packet_free(&is.video_pkt);
    is.video_pkt_pending = false;
}

uint32_t PaletteEntryToYUVA(uint32_t argb) {
    int a = int(argb >> 24);
    int r = int((argb >> 16) & 0xFF);
    int g = int((argb >> 8) & 0xFF);
    int b = int(argb & 0xFF);
    // Arithmetic shifts: the floor of the quotient, also below zero.
    int y = (263 * r + 517 * g + 101 * b + 16896) >> 10;
    int u = ((-152 * r - 298 * g + 450 * b + 511) >> 10) + 128;
    int v = ((450 * r - 377 * g - 74 * b + 511) >> 10) + 128;
    return uint32_t(a) << 24 | uint32_t(y) << 16 | uint32_t(u) << 8 | uint32_t(v);
}

void SubtitleThreadProc(TVideoState& is) {
    AVPacket* packet = lib::av_packet_alloc();
    if (packet == nullptr) return;
    for (;;) {
        while (is.paused.load() != 0 && !is.subtitleq.Aborted() && is.seek_paused.load() == 0 &&
               is.abort_request.load() == 0)
            is.abort_event.Wait(kPausePollMs);
        TPacketInfo info;
        if (is.subtitleq.GetPacket(packet, true, &info) < 0) break;
        if (info.Flush) {
            lib::avcodec_flush_buffers(is.subtitle_ctx);
            continue;
        }
        {
            std::unique_lock lock(is.subpq_mutex);
            is.subpq_cond.wait(lock, [&] {
                return is.subpq_size < kSubpictureQueueSize || is.subtitleq.Aborted();
            });
        }
        if (is.subtitleq.Aborted()) break;

        TSubtitleSlot& sp = is.subpq[is.subpq_windex];
        AVStream* st = is.subtitle_st.load();
        sp.PTS = packet->pts != AV_NOPTS_VALUE && st != nullptr
                     ? double(packet->pts) * av_q2d(st->time_base)
                     : 0;
        int gotSubtitle = 0;
        int ret = lib::avcodec_decode_subtitle2(is.subtitle_ctx, &sp.Sub, &gotSubtitle, packet);
        if (ret >= 0 && gotSubtitle != 0) {
            if (sp.Sub.format == 0) {
                for (unsigned i = 0; i < sp.Sub.num_rects; ++i) {
                    AVSubtitleRect* rect = sp.Sub.rects[i];
                    auto* palette = reinterpret_cast<uint32_t*>(rect->data[1]);
                    for (int j = 0; palette != nullptr && j < rect->nb_colors; ++j)
                        palette[j] = PaletteEntryToYUVA(palette[j]);
                }
                is.subpq_windex = (is.subpq_windex + 1) % kSubpictureQueueSize;
                std::lock_guard lock(is.subpq_mutex);
                ++is.subpq_size;
            } else {
                FreeSubtitlePicture(sp);
            }
        }
        lib::av_packet_unref(packet);
    }
    lib::av_packet_free(&packet);
}

namespace {

// The converter to the device's 16-bit interleaved samples, for the decoder's current output.
bool PrepareConverter(TVideoState& is, const AVFrame* frame) {
    if (is.reformat_ctx != nullptr && frame->format == is.audio_src_fmt &&
        frame->sample_rate == is.audio_src_freq &&
        lib::av_channel_layout_compare(&frame->ch_layout, &is.audio_src_layout) == 0)
        return true;
    lib::swr_free(&is.reformat_ctx);
    AVChannelLayout target{};
    lib::av_channel_layout_default(&target, is.audio_tgt_channels);
    int ret =
        lib::swr_alloc_set_opts2(&is.reformat_ctx, &target, AV_SAMPLE_FMT_S16, is.audio_tgt_freq,
                                 const_cast<AVChannelLayout*>(&frame->ch_layout),
                                 AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    lib::av_channel_layout_uninit(&target);
    if (ret < 0 || lib::swr_init(is.reformat_ctx) < 0) {
        lib::swr_free(&is.reformat_ctx);
        const char* from = lib::av_get_sample_fmt_name(AVSampleFormat(frame->format));
        const char* to = lib::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16);
        is.Owner->ReportError(rtl::Format("Cannot convert %s sample format to %s sample format",
                                          from != nullptr ? from : "?", to),
                              false);
        return false;
    }
    is.audio_src_fmt = frame->format;
    is.audio_src_freq = frame->sample_rate;
    lib::av_channel_layout_uninit(&is.audio_src_layout);
    lib::av_channel_layout_copy(&is.audio_src_layout, &frame->ch_layout);
    return true;
}

// Converts the decoded frame into audio_buf2; its bytes, or -1.
int ConvertAudioFrame(TVideoState& is, const AVFrame* frame) {
    if (!PrepareConverter(is, frame)) return -1;
    int frameBytes = 2 * is.audio_tgt_channels;
    int outCount = lib::swr_get_out_samples(is.reformat_ctx, frame->nb_samples);
    if (outCount < 0 || frameBytes <= 0) return -1;
    // Room for the largest stretch SyncAudio may make of the block, plus one sample frame.
    size_t needed = size_t(outCount) * size_t(frameBytes) * 11 / 10 + size_t(frameBytes);
    if (is.audio_buf2.size() < needed) is.audio_buf2.resize(needed);
    uint8_t* out = is.audio_buf2.data();
    int count =
        lib::swr_convert(is.reformat_ctx, &out, outCount,
                         const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    if (count < 0) {
        is.Owner->ReportError("av_audio_convert() failed", false);
        return -1;
    }
    is.audio_buf = is.audio_buf2.data();
    return count * frameBytes;
}

}  // namespace

int DecodeAudioFrame(TVideoState& is, double& pts) {
    TCustomPlayer& player = *is.Owner;
    for (;;) {
        // Paused playback plays silence, also while the decoder still holds samples.
        if (is.paused.load() != 0 || is.audioq.Aborted()) return -1;
        if (is.audio_pkt_pending && is.audio_pkt_serial != is.audioq.Serial()) {
            lib::av_packet_unref(is.audio_pkt);
            is.audio_pkt_pending = false;
        }
        if (is.audio_pkt_serial == is.audioq.Serial()) {
            for (;;) {
                int ret = lib::avcodec_receive_frame(is.audio_ctx, is.audio_frame);
                if (ret == AVERROR(EAGAIN)) break;
                if (ret == AVERROR_EOF) {
                    lib::avcodec_flush_buffers(is.audio_ctx);
                    break;
                }
                if (ret < 0) {
                    GetFFLogger().Log(&player, llInfo, "avcodec_decode_audio2() failed");
                    break;
                }
                int size = ConvertAudioFrame(is, is.audio_frame);
                lib::av_frame_unref(is.audio_frame);
                if (size <= 0) continue;
                pts = is.audio_clock.load();
                is.audio_clock =
                    pts + double(size) / (2.0 * is.audio_tgt_channels * is.audio_tgt_freq);
                return size;
            }
        }

        if (!is.audio_pkt_pending) {
            TPacketInfo info;
            if (is.audioq.GetPacket(is.audio_pkt, false, &info) <= 0) return -1;
            is.audio_pkt_serial = info.Serial;
            if (info.Flush) {
                lib::avcodec_flush_buffers(is.audio_ctx);
                continue;
            }
            AVStream* st = is.audio_st.load();
            if (is.audio_pkt->pts != AV_NOPTS_VALUE && st != nullptr)
                is.audio_clock = double(is.audio_pkt->pts) * av_q2d(st->time_base);
        }
        int ret = lib::avcodec_send_packet(is.audio_ctx, is.audio_pkt);
        is.audio_pkt_pending = ret == AVERROR(EAGAIN);
        if (!is.audio_pkt_pending) lib::av_packet_unref(is.audio_pkt);
        if (ret < 0 && ret != AVERROR(EAGAIN) && ret != AVERROR_EOF)
            GetFFLogger().Log(&player, llInfo, "avcodec_decode_audio2() failed");
    }
}

void StoreAudioSamples(TVideoState& is, const int16_t* samples, int size) {
    int count = size / 2;
    std::lock_guard lock(is.sample_mutex);
    int index = is.sample_array_index.load();
    for (int i = 0; i < count; ++i) {
        is.sample_array[size_t(index)] = samples[i];
        if (++index >= kSampleArraySize) index = 0;
    }
    is.sample_array_index = index;
}

void AudioCallback(TVideoState& is, uint8_t* stream, int len) {
    TCustomPlayer& player = *is.Owner;
    player.Faudio_callback_time = sys::Clock().NowMicros();
    // SDL hands over the previous buffer's bytes, not silence: mixing needs a silent start.
    std::memset(stream, 0, size_t(len));
    while (len > 0) {
        if (is.audio_buf_index.load() >= int(is.audio_buf_size.load())) {
            double pts = 0;
            int size = DecodeAudioFrame(is, pts);
            if (is.audioq.Aborted()) return;
            if (size < 0) {
                if (is.audio_buf1.size() < size_t(kSilenceBytes))
                    is.audio_buf1.resize(kSilenceBytes);
                std::memset(is.audio_buf1.data(), 0, kSilenceBytes);
                is.audio_buf = is.audio_buf1.data();
                size = kSilenceBytes;
            } else {
                if (is.show_audio.load() != 0)
                    StoreAudioSamples(is, reinterpret_cast<const int16_t*>(is.audio_buf), size);
                size = SyncAudio(is, is.audio_buf, size, int(is.audio_buf2.size()));
            }
            is.audio_buf_size = unsigned(size);
            is.audio_buf_index = 0;
        }
        int index = is.audio_buf_index.load();
        int n = std::min(len, int(is.audio_buf_size.load()) - index);
        if (!player.FMute.load())
            lib::SDL_MixAudioFormat(stream, is.audio_buf + index, AUDIO_S16SYS, uint32_t(n),
                                    player.FAudioVolume.load());
        is.audio_buf_index = index + n;
        stream += n;
        len -= n;
    }
}

}  // namespace media
