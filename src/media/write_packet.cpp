// Writing packets: each output stream's bitstream filters, then the interleaved write.
#include "media/ff_logger.h"
#include "media/ffmpeg_engine.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

const char* CodecName(const TAVOutputStream& ost) {
    if (ost.encoding_needed != 0 && ost.enc_ctx != nullptr && ost.enc_ctx->codec != nullptr)
        return ost.enc_ctx->codec->name;
    return "copy";
}

}  // namespace

void TCustomFFmpeg::InitBitstreamFilters(TAVOutputStream& ost) {
    size_t slot = FJoinMode ? 0 : size_t(ost.file_index);
    if (ost.index >= kMaxStreams) return;
    const TBitstreamFilterChain& chain = Fbitstream_filters[slot][size_t(ost.index)];
    if (chain.empty() || !ost.bsfs.empty()) return;
    const AVCodecParameters* parameters = ost.st->codecpar;
    AVRational timeBase = ost.st->time_base;
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
    }
    // The muxer sees what the last filter makes.
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
    // The latest point the stream has reached; a reordered picture may lie behind its decoding
    // time.
    int64_t start = std::max(packet->pts, packet->dts);
    if (start != AV_NOPTS_VALUE) ost.end_ts = std::max(ost.end_ts, start + packet->duration);
    int result = lib::av_interleaved_write_frame(oc, packet);
    if (result < 0) throw FFmpegException(ErrorCodeText("av_interleaved_write_frame()", result));
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
    int result = lib::av_bsf_send_packet(bsf, packet);
    if (result < 0) {
        // A refused packet goes on as it is.
        report(result);
        FilterPacket(oc, packet, ost, stage + 1);
        return;
    }
    AVPacket* filtered = ost.bsf_packets[stage];
    while (true) {
        result = lib::av_bsf_receive_packet(bsf, filtered);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) break;
        if (result < 0) {
            report(result);
            break;
        }
        filtered->stream_index = streamIndex;
        FilterPacket(oc, filtered, ost, stage + 1);
        lib::av_packet_unref(filtered);
    }
}

}  // namespace media
