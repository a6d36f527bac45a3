#include "media/engine/run_test_support.h"

#include <algorithm>

namespace media::test {

TFileInfo DescribeFile(const std::string& fileName) {
    TFileInfo info;
    AVFormatContext* ic = nullptr;
    if (lib::avformat_open_input(&ic, fileName.c_str(), nullptr, nullptr) < 0) return info;
    if (lib::avformat_find_stream_info(ic, nullptr) < 0) {
        lib::avformat_close_input(&ic);
        return info;
    }
    info.Opened = true;
    info.Format = ic->iformat->name;
    info.Duration = ic->duration == AV_NOPTS_VALUE ? 0 : double(ic->duration) / AV_TIME_BASE;
    std::vector<int64_t> first(ic->nb_streams, AV_NOPTS_VALUE);
    std::vector<int64_t> last(ic->nb_streams, AV_NOPTS_VALUE);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVCodecParameters* par = ic->streams[i]->codecpar;
        TStreamInfo stream;
        stream.Type = par->codec_type;
        const AVCodecDescriptor* descriptor = lib::avcodec_descriptor_get(par->codec_id);
        stream.Codec = descriptor != nullptr ? descriptor->name : "";
        stream.Width = par->width;
        stream.Height = par->height;
        stream.PixelFormat =
            par->codec_type == AVMEDIA_TYPE_VIDEO ? AVPixelFormat(par->format) : AV_PIX_FMT_NONE;
        stream.SampleRate = par->sample_rate;
        stream.Channels = par->ch_layout.nb_channels;
        info.Streams.push_back(stream);
    }
    AVPacket* packet = lib::av_packet_alloc();
    while (lib::av_read_frame(ic, packet) >= 0) {
        size_t s = size_t(packet->stream_index);
        TStreamInfo& stream = info.Streams[s];
        int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (stream.Packets == 0) stream.FirstIsKey = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        ++stream.Packets;
        if (pts != AV_NOPTS_VALUE) {
            if (first[s] == AV_NOPTS_VALUE || pts < first[s]) first[s] = pts;
            int64_t end = pts + packet->duration;
            if (last[s] == AV_NOPTS_VALUE || end > last[s]) last[s] = end;
        }
        lib::av_packet_unref(packet);
    }
    lib::av_packet_free(&packet);
    for (unsigned i = 0; i < ic->nb_streams; ++i)
        if (first[i] != AV_NOPTS_VALUE)
            info.Streams[i].Duration =
                double(last[i] - first[i]) * av_q2d(ic->streams[i]->time_base);
    lib::avformat_close_input(&ic);
    return info;
}

}  // namespace media::test
