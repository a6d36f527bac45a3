// Writing packets: each output stream's bitstream filters, then the interleaved write.
#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "platform/rtl/scope_exit.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

const char* CodecName(const TAVOutputStream& ost) {
    if (ost.encoding_needed != 0 && ost.enc_ctx != nullptr && ost.enc_ctx->codec != nullptr)
        return ost.enc_ctx->codec->name;
    return "copy";
}

}  // namespace

void TCustomFFmpeg::InitBitstreamFilters(TAVOutputStream& ost, const TAVOutputStream* first) {
    size_t slot = FJoinMode ? 0 : size_t(ost.file_index);
    if (ost.index >= kMaxStreams) return;
    const TBitstreamFilterChain& chain = Fbitstream_filters[slot][size_t(ost.index)];
    if (chain.empty() || !ost.bsfs.empty()) return;
    // A later group of a joined output starts from what the first group's chain took in.
    const AVCodecParameters* parameters =
        first != nullptr && !first->bsfs.empty() ? first->bsfs[0]->par_in : ost.st->codecpar;
    AVRational timeBase =
        first != nullptr && !first->bsfs.empty() ? first->bsfs[0]->time_base_in : ost.st->time_base;
    for (const AVBitStreamFilter* filter : chain) {
        AVBSFContext* bsf = nullptr;
        int result = lib::av_bsf_alloc(filter, &bsf);
        if (result >= 0) {
            ost.bsfs.push_back(bsf);
            result = lib::avcodec_parameters_copy(bsf->par_in, parameters);
        }
        if (result >= 0) {
            bsf->time_base_in = timeBase;
            result = lib::av_bsf_init(bsf);
        }
        if (result < 0)
            throw FFmpegException(
                ErrorCodeText(rtl::Format("%s failed for stream %d, codec %s", filter->name,
                                          ost.index, CodecName(ost)),
                              result));
        parameters = bsf->par_out;
        timeBase = bsf->time_base_out;
        // Where this filter's output waits for the next stage.
        ost.bsf_packets.push_back(lib::av_packet_alloc());
        if (ost.bsf_packets.back() == nullptr) throw FFmpegException("av_mallocz fail");
        // And a reference to what it was given, written as it is when the filter fails.
        ost.bsf_kept.push_back(lib::av_packet_alloc());
        if (ost.bsf_kept.back() == nullptr) throw FFmpegException("av_mallocz fail");
    }
    // The muxer sees what the last filter makes.
    if (first != nullptr) return;
    if (lib::avcodec_parameters_copy(ost.st->codecpar, parameters) < 0)
        throw FFmpegException("av_mallocz fail");
    ost.st->time_base = timeBase;
}

void TCustomFFmpeg::WritePacket(AVFormatContext* oc, AVPacket* packet, TAVOutputStream& ost) {
    if (ost.bsfs.empty())
        WriteInterleaved(oc, packet, ost);
    else
        FilterPacket(oc, packet, ost, 0);
}

void TCustomFFmpeg::WriteInterleaved(AVFormatContext* oc, AVPacket* packet, TAVOutputStream& ost) {
    // The muxers refuse a decoding time that goes back (a joined input whose sound starts
    // before its pictures, a damaged input): such a packet is moved just behind the last one.
    if (packet->dts != AV_NOPTS_VALUE && ost.last_mux_dts != AV_NOPTS_VALUE &&
        (oc->oformat->flags & AVFMT_NOTIMESTAMPS) == 0) {
        int64_t least = ost.last_mux_dts + ((oc->oformat->flags & AVFMT_TS_NONSTRICT) ? 0 : 1);
        if (packet->dts < least) {
            if (Fverbose > 0)
                GetFFLogger().Log(
                    this, llWarning,
                    rtl::Format("Non-monotonous DTS in output stream %d:%d; "
                                "previous: %d, current: %d; changing to %d",
                                ost.file_index, ost.index, ost.last_mux_dts, packet->dts, least));
            if (packet->pts != AV_NOPTS_VALUE && packet->pts >= packet->dts)
                packet->pts += least - packet->dts;
            packet->dts = least;
        }
    }
    if (packet->dts != AV_NOPTS_VALUE) ost.last_mux_dts = packet->dts;
    // The latest point the stream has reached; a reordered picture may lie behind its decoding
    // time.
    int64_t start = std::max(packet->pts, packet->dts);
    if (start != AV_NOPTS_VALUE) ost.end_ts = std::max(ost.end_ts, start + packet->duration);
    int result = lib::av_interleaved_write_frame(oc, packet);
    if (result < 0)
        throw FFmpegException(WriteErrorText(oc, "av_interleaved_write_frame()", result));
    ++ost.packets_written;
}

void TCustomFFmpeg::FilterPacket(AVFormatContext* oc, AVPacket* packet, TAVOutputStream& ost,
                                 size_t stage) {
    if (stage == ost.bsfs.size()) {
        WriteInterleaved(oc, packet, ost);
        return;
    }
    AVBSFContext* bsf = ost.bsfs[stage];
    auto report = [&](int error) {
        std::string message =
            ErrorCodeText(rtl::Format("%s failed for stream %d, codec %s", bsf->filter->name,
                                      packet->stream_index, CodecName(ost)),
                          error);
        if (Fexit_on_error) throw FFmpegException(message);
        GetFFLogger().Log(this, llError, message);
    };
    int streamIndex = packet->stream_index;
    // A packet the filter fails on goes on as it is (only its reference is kept, not its data).
    AVPacket* kept = ost.bsf_kept[stage];
    if (lib::av_packet_ref(kept, packet) < 0) throw FFmpegException("av_mallocz fail");
    auto writeKept = [&] {
        rtl::TScopeExit unref([kept] { lib::av_packet_unref(kept); });
        FilterPacket(oc, kept, ost, stage + 1);
    };
    int result = lib::av_bsf_send_packet(bsf, packet);
    if (result < 0) {
        report(result);
        writeKept();
        return;
    }
    AVPacket* filtered = ost.bsf_packets[stage];
    bool gave = false;
    while (true) {
        result = lib::av_bsf_receive_packet(bsf, filtered);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) break;
        if (result < 0) {
            report(result);
            if (!gave) {
                writeKept();
                return;
            }
            break;
        }
        gave = true;
        filtered->stream_index = streamIndex;
        FilterPacket(oc, filtered, ost, stage + 1);
        lib::av_packet_unref(filtered);
    }
    lib::av_packet_unref(kept);
}

}  // namespace media
