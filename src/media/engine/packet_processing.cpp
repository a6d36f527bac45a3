// One input packet on its way to the outputs: decoded when some output encodes it, the input
// stream's clock kept, and each unit handed to the output streams it feeds; copied packets go
// straight to the packet writer.
#include <algorithm>

#include "media/engine/audio_volume.h"
#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "platform/rtl/scope_exit.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/clock.h"

namespace media {

namespace {

bool IsDrained(int result) {
    return result == AVERROR(EAGAIN) || result == AVERROR_EOF;
}

// A decoder that is being emptied and keeps failing is given up after this many errors.
constexpr int kMaxDrainErrors = 64;

}  // namespace

int TCustomFFmpeg::ProcessInputPacket(TAVInputStream& ist, int istIndex, AVPacket* packet) {
    const AVCodecParameters* par = ist.st->codecpar;
    bool decodedVideo = par->codec_type == AVMEDIA_TYPE_VIDEO && ist.decoding_needed != 0;
    if (ist.next_dts == AV_NOPTS_VALUE) ist.next_dts = ist.dts;
    if (ist.next_pts == AV_NOPTS_VALUE) ist.next_pts = ist.pts;
    if (packet != nullptr) {
        if (packet->dts != AV_NOPTS_VALUE) {
            ist.next_dts = ist.dts =
                lib::av_rescale_q(packet->dts, ist.st->time_base, AV_TIME_BASE_Q);
            // Decoded pictures carry their own times; everything else follows its packets.
            if (!decodedVideo) ist.next_pts = ist.pts = ist.dts;
        } else {
            // No decoding time: the expected one, for the decoder and the copies alike.
            ist.dts = ist.next_dts;
            if (ist.dts != AV_NOPTS_VALUE)
                packet->dts = lib::av_rescale_q(ist.dts, AV_TIME_BASE_Q, ist.st->time_base);
        }
    }

    // How long one unit of the stream lasts when its packet does not say: a picture at the
    // stream's rate, a frame of sound.
    auto packetDuration = [&]() -> int64_t {
        if (packet != nullptr && packet->duration > 0)
            return lib::av_rescale_q(packet->duration, ist.st->time_base, AV_TIME_BASE_Q);
        if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0)
            return int64_t(1000000) * par->frame_size / par->sample_rate;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            AVRational rate = ist.dec_ctx->framerate;
            if (rate.num == 0 || rate.den == 0) rate = ist.st->avg_frame_rate;
            if (rate.num != 0 && rate.den != 0) return int64_t(1000000) * rate.den / rate.num;
        }
        return 0;
    };

    if (ist.decoding_needed == 0) {
        // Only stream copies read this stream: its clock follows the packets.
        if (packet == nullptr) return 0;
        ist.pts = ist.next_pts;
        ist.next_pts += packetDuration();
        ist.next_dts = ist.next_pts;
        // Copied pictures count for the hooks' numbering too.
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) ++FHookFrameNumber;
        DeliverUnit(ist, istIndex, packet, nullptr, nullptr);
        return 0;
    }

    AVCodecContext* dec = ist.dec_ctx;
    switch (par->codec_type) {
        case AVMEDIA_TYPE_SUBTITLE: {
            if (packet == nullptr) break;
            ist.pts = ist.next_pts;
            AVSubtitle subtitle{};
            int got = 0;
            if (lib::avcodec_decode_subtitle2(dec, &subtitle, &got, const_cast<AVPacket*>(packet)) <
                0)
                return -1;
            if (got == 0) return 0;
            rtl::TScopeExit release([&subtitle] { lib::avsubtitle_free(&subtitle); });
            DeliverUnit(ist, istIndex, packet, nullptr, &subtitle);
            return 0;
        }
        case AVMEDIA_TYPE_AUDIO:
        case AVMEDIA_TYPE_VIDEO: {
            AVFrame* frame = FRun.DecodedFrame;
            int units = 0;
            auto receiveAll = [&]() -> int {
                while (true) {
                    int result = lib::avcodec_receive_frame(dec, frame);
                    if (IsDrained(result)) return 0;
                    if (result < 0) return -1;
                    if (++units > 1 && packet != nullptr &&
                        ((ist.showed_multi_packet_warning == 0 && Fverbose > 0) || Fverbose > 1)) {
                        GetFFLogger().Log(this, llError,
                                          rtl::Format("Multiple frames in a packet from stream %d",
                                                      packet->stream_index));
                        ist.showed_multi_packet_warning = 1;
                    }
                    if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
                        ist.pts = ist.next_pts;
                        if (frame->sample_rate > 0) {
                            int64_t duration =
                                int64_t(1000000) * frame->nb_samples / frame->sample_rate;
                            ist.next_pts += duration;
                            ist.next_dts += duration;
                        }
                    } else {
                        // The decoder's best guess of the picture's time (its own, else its
                        // packet's decoding time); without one, where the last picture ended.
                        if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
                            ist.next_pts = lib::av_rescale_q(frame->best_effort_timestamp,
                                                             ist.st->time_base, AV_TIME_BASE_Q);
                        ist.pts = ist.next_pts;
                        ist.quality = float(frame->quality);
                        int64_t duration = 0;
                        if (frame->pkt_duration > 0)
                            duration = lib::av_rescale_q(frame->pkt_duration, ist.st->time_base,
                                                         AV_TIME_BASE_Q);
                        AVRational rate = dec->framerate;
                        if (duration == 0 && (rate.num == 0 || rate.den == 0))
                            rate = ist.st->avg_frame_rate;
                        if (duration == 0 && rate.num != 0 && rate.den != 0)
                            duration = int64_t(1000000) * rate.den * (2 + frame->repeat_pict) /
                                       (2 * int64_t(rate.num));
                        ist.next_pts += duration;
                    }
                    rtl::TScopeExit unref([frame] { lib::av_frame_unref(frame); });
                    if (par->codec_type == AVMEDIA_TYPE_VIDEO)
                        PreprocessPicture(ist, istIndex, packet, frame);
                    else
                        DeliverUnit(ist, istIndex, packet, frame, nullptr);
                }
            };
            if (packet == nullptr) {
                // The end of the input: a damaged last packet costs neither the pictures and
                // sound the decoder still holds nor what the encoders hold. The decoder gives
                // everything it has, errors or not, and the encoders are drained in any case.
                bool failed = false;
                int result = lib::avcodec_send_packet(dec, nullptr);
                if (result < 0 && result != AVERROR_EOF) failed = true;
                for (int errors = 0; receiveAll() < 0 && errors < kMaxDrainErrors; ++errors)
                    failed = true;
                if (par->codec_type == AVMEDIA_TYPE_VIDEO)
                    PreprocessPicture(ist, istIndex, nullptr, nullptr);
                DrainEncoders(istIndex);
                return failed ? -1 : 0;
            }
            while (true) {
                int result = lib::avcodec_send_packet(dec, packet);
                if (result == AVERROR(EAGAIN)) {
                    // The decoder is full: what it holds goes out first.
                    if (receiveAll() < 0) return -1;
                    continue;
                }
                if (result < 0 && result != AVERROR_EOF) return -1;
                break;
            }
            if (receiveAll() < 0) return -1;
            // The next packet's expected decoding time.
            if (par->codec_type == AVMEDIA_TYPE_VIDEO && ist.next_dts != AV_NOPTS_VALUE) {
                int64_t duration = packetDuration();
                ist.next_dts = duration > 0 ? ist.next_dts + duration : AV_NOPTS_VALUE;
            }
            break;
        }
        default:
            return -1;
    }

    if (packet == nullptr) DrainEncoders(istIndex);
    return 0;
}

void TCustomFFmpeg::DeliverUnit(TAVInputStream& ist, int istIndex, const AVPacket* packet,
                                AVFrame* frame, AVSubtitle* subtitle) {
    AVMediaType type = ist.st->codecpar->codec_type;
    if (type == AVMEDIA_TYPE_AUDIO && frame != nullptr && Faudio_volume != 256) {
        if (lib::av_frame_make_writable(frame) < 0)
            throw FFmpegException("Out of memory in do_audio_out");
        bool planar = lib::av_sample_fmt_is_planar(AVSampleFormat(frame->format)) != 0;
        int channels = frame->ch_layout.nb_channels;
        ScaleSamples(frame->extended_data, planar ? channels : 1,
                     planar ? frame->nb_samples : frame->nb_samples * channels,
                     AVSampleFormat(frame->format), Faudio_volume);
    }
    bool filtered = type == AVMEDIA_TYPE_VIDEO && frame != nullptr &&
                    ist.input_video_filter != nullptr && ist.out_video_filter != nullptr;

    // `copies`: the packet also goes to the stream copies (once per packet).
    auto toOutputs = [&](AVFrame* picture, bool copies) {
        for (TAVOutputStream* ost : FRun.Feeds[size_t(istIndex)]) {
            if (ost->encoding_needed == 0) {
                if (packet != nullptr && copies) CopyPacket(*ost, ist, *packet);
                continue;
            }
            switch (ost->enc_ctx->codec_type) {
                case AVMEDIA_TYPE_AUDIO:
                    if (picture != nullptr) DoAudioOut(*ost, ist, picture);
                    break;
                case AVMEDIA_TYPE_VIDEO:
                    if (picture == nullptr) break;
                    if (filtered && picture->sample_aspect_ratio.num != 0)
                        ost->enc_ctx->sample_aspect_ratio = picture->sample_aspect_ratio;
                    if (int frameSize = EncodeVideo(*ost, ist, picture);
                        Fvstats_filename && frameSize != 0)
                        WriteVideoStats(*ost, frameSize);
                    break;
                case AVMEDIA_TYPE_SUBTITLE:
                    if (subtitle != nullptr && packet != nullptr)
                        EncodeSubtitle(*ost, ist, *subtitle, packet->pts);
                    break;
                default:
                    throw FFmpegException("invalid codec_type");
            }
        }
    };
    auto pullFiltered = [&](bool copies) {
        AVFrame* picture = FRun.FilteredFrame;
        int64_t pts = 0;
        while (GetFilteredVideoPicture(ist.out_video_filter, picture, pts) == 1) {
            if (pts != AV_NOPTS_VALUE)
                ist.pts = lib::av_rescale_q(pts, ist.st->time_base, AV_TIME_BASE_Q);
            rtl::TScopeExit unref([picture] { lib::av_frame_unref(picture); });
            toOutputs(picture, copies);
        }
    };

    if (filtered) {
        if (frame->width != ist.filter_width || frame->height != ist.filter_height ||
            frame->format != ist.filter_pix_fmt)
            ReconfigureFilters(ist, istIndex, frame, [&] { pullFiltered(false); });
        // The graph counts in the stream's time base.
        frame->pts = lib::av_rescale_q(ist.pts, AV_TIME_BASE_Q, ist.st->time_base);
        int result = lib::av_buffersrc_add_frame_flags(ist.input_video_filter, frame,
                                                       AV_BUFFERSRC_FLAG_KEEP_REF);
        if (result < 0) {
            GetFFLogger().Log(this, llError,
                              ErrorCodeText(rtl::Format("Filtering stream #%d.%d failed",
                                                        ist.file_index, ist.index),
                                            result));
            return;
        }
    }

    if (Frate_emu) {
        int64_t ahead = ist.pts - (sys::Clock().NowMicros() - ist.start);
        if (ahead > 1000) sys::SleepMs(int(ahead / 1000));
    }

    if (Fstart_time != 0 && ist.pts < Fstart_time) return;

    if (!filtered) {
        toOutputs(frame, true);
        return;
    }
    pullFiltered(true);
}

void TCustomFFmpeg::CopyPacket(TAVOutputStream& ost, TAVInputStream& ist, const AVPacket& packet) {
    AVRational inBase = ist.st->time_base;
    AVRational outBase = ost.st->time_base;
    // Nothing before the first key packet: a decoder could not start there.
    if (ost.frame_number == 0 && (packet.flags & AV_PKT_FLAG_KEY) == 0 &&
        Fcopy_initial_nonkeyframes == 0)
        return;
    int64_t startOffset = lib::av_rescale_q(Fstart_time, AV_TIME_BASE_Q, outBase);
    AVMediaType type = ost.enc_ctx->codec_type;
    if (type == AVMEDIA_TYPE_AUDIO) {
        Faudio_size += packet.size;
    } else if (type == AVMEDIA_TYPE_VIDEO) {
        Fvideo_size += packet.size;
        ++ost.sync_opts;
    }

    // The copy shares the input packet's data: only the record is new.
    AVPacket* out = FRun.OutPacket;
    if (lib::av_packet_ref(out, &packet) < 0) throw FFmpegException("av_mallocz fail");
    out->stream_index = ost.index;
    out->pts = packet.pts != AV_NOPTS_VALUE
                   ? lib::av_rescale_q(packet.pts, inBase, outBase) - startOffset
                   : AV_NOPTS_VALUE;
    out->dts =
        (packet.dts != AV_NOPTS_VALUE ? lib::av_rescale_q(packet.dts, inBase, outBase)
                                      : lib::av_rescale_q(ist.pts, AV_TIME_BASE_Q, outBase)) -
        startOffset;
    out->duration = lib::av_rescale_q(packet.duration, inBase, outBase);
    out->time_base = outBase;
    WritePacket(Foutput_files[size_t(ost.file_index)], out, ost);
    ++ost.frame_number;
    lib::av_packet_unref(out);
}

void TCustomFFmpeg::DrainEncoders(int istIndex) {
    for (TAVOutputStream* ost : FRun.Feeds[size_t(istIndex)]) {
        if (ost->encoding_needed == 0 || ost->encoder_flushed) continue;
        switch (ost->enc_ctx->codec_type) {
            case AVMEDIA_TYPE_AUDIO:
                DrainAudio(*ost);
                break;
            case AVMEDIA_TYPE_VIDEO:
                DrainVideo(*ost);
                break;
            default:
                break;
        }
        ost->encoder_flushed = true;
    }
}

int TCustomFFmpeg::EncodeFrame(TAVOutputStream& ost, const AVFrame* frame, int64_t& counter) {
    AVCodecContext* enc = ost.enc_ctx;
    const char* failure =
        enc->codec_type == AVMEDIA_TYPE_AUDIO ? "Audio encoding failed" : "Video encoding failed";
    int result = lib::avcodec_send_frame(enc, frame);
    if (result < 0 && result != AVERROR_EOF) throw FFmpegException(failure);
    AVFormatContext* oc = Foutput_files[size_t(ost.file_index)];
    AVPacket* packet = FRun.OutPacket;
    int written = 0;
    while (true) {
        result = lib::avcodec_receive_packet(enc, packet);
        if (IsDrained(result)) break;
        if (result < 0) throw FFmpegException(failure);
        size_t statsSize = 0;
        const uint8_t* stats =
            lib::av_packet_get_side_data(packet, AV_PKT_DATA_QUALITY_STATS, &statsSize);
        if (stats != nullptr && statsSize >= 6) {
            // Little-endian: the quality in 32 bits, the picture type, the count of the 64-bit
            // squared errors that follow from byte 8.
            auto readLE = [stats](size_t at, int bytes) {
                uint64_t value = 0;
                for (int b = bytes - 1; b >= 0; --b) value = value << 8 | stats[at + size_t(b)];
                return value;
            };
            ost.last_quality = int(readLE(0, 4));
            ost.last_pict_type = stats[4];
            int errors = std::min<int>(stats[5], 4);
            for (int i = 0; i < errors && statsSize >= size_t(8 + 8 * (i + 1)); ++i)
                ost.last_error[size_t(i)] = readLE(size_t(8 + 8 * i), 8);
        }
        if (ost.logfile != nullptr && enc->stats_out != nullptr)
            std::fputs(enc->stats_out, ost.logfile);
        // A picture lasts one tick of the encoder's time base, when the encoder does not say.
        if (packet->duration == 0 && enc->codec_type == AVMEDIA_TYPE_VIDEO) packet->duration = 1;
        lib::av_packet_rescale_ts(packet, enc->time_base, ost.st->time_base);
        packet->stream_index = ost.index;
        counter += packet->size;
        written = packet->size;
        WritePacket(oc, packet, ost);
    }
    return written;
}

}  // namespace media
