// The subtitle output path: a decoded subtitle encoded into one packet, or two for DVB
// subtitles (the second clears the screen).
#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"

namespace media {

namespace {

constexpr int kSubtitleBufferSize = 1024 * 1024;

}  // namespace

void TCustomFFmpeg::EncodeSubtitle(TAVOutputStream& ost, TAVInputStream& ist, AVSubtitle& subtitle,
                                   int64_t pts) {
    if (pts == AV_NOPTS_VALUE) {
        const char* message = "Subtitle packets must have a pts";
        if (Fexit_on_error) throw FFmpegException(message);
        GetFFLogger().Log(this, llError, message);
        return;
    }
    // One buffer per job: jobs running side by side never share it.
    if (Fsubtitle_out.empty()) Fsubtitle_out.resize(kSubtitleBufferSize);
    AVCodecContext* enc = ost.enc_ctx;
    int count = enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE ? 2 : 1;
    AVPacket* packet = FRun.OutPacket;
    for (int i = 0; i < count; ++i) {
        subtitle.pts =
            lib::av_rescale_q(pts, ist.st->time_base, AV_TIME_BASE_Q) +
            lib::av_rescale_q(subtitle.start_display_time, AVRational{1, 1000}, AV_TIME_BASE_Q);
        subtitle.end_display_time -= subtitle.start_display_time;
        subtitle.start_display_time = 0;
        // The second DVB packet is an empty page: it clears the screen.
        unsigned rects = subtitle.num_rects;
        if (i == 1) subtitle.num_rects = 0;
        int size =
            lib::avcodec_encode_subtitle(enc, Fsubtitle_out.data(), kSubtitleBufferSize, &subtitle);
        subtitle.num_rects = rects;
        if (size < 0) throw FFmpegException("Subtitle encoding failed");
        if (lib::av_new_packet(packet, size) < 0) throw FFmpegException("Subtitle encoding failed");
        std::copy(Fsubtitle_out.data(), Fsubtitle_out.data() + size, packet->data);
        packet->stream_index = ost.index;
        AVRational timeBase = ost.st->time_base;
        packet->pts = lib::av_rescale_q(subtitle.pts, AV_TIME_BASE_Q, timeBase);
        if (count == 2) {
            // The clearing packet comes the display duration after the first.
            uint32_t display = i == 0 ? subtitle.start_display_time : subtitle.end_display_time;
            packet->pts += lib::av_rescale_q(display, AVRational{1, 1000}, timeBase);
        }
        // How long the text shows: the muxers of timed text want it with the packet.
        if (i == 0)
            packet->duration =
                lib::av_rescale_q(subtitle.end_display_time, AVRational{1, 1000}, timeBase);
        packet->dts = packet->pts;
        WritePacket(Foutput_files[size_t(ost.file_index)], packet, ost);
        lib::av_packet_unref(packet);
    }
}

}  // namespace media
