// The video filter graph of one input and output stream pair of a job.
#include <utility>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

// Frees the open ends of a parsed chain however the parse ends.
struct TInOutGuard {
    AVFilterInOut* Inputs = nullptr;
    AVFilterInOut* Outputs = nullptr;
    ~TInOutGuard() {
        lib::avfilter_inout_free(&Inputs);
        lib::avfilter_inout_free(&Outputs);
    }
};

AVFilterInOut* NewInOut(const char* name, AVFilterContext* filter) {
    AVFilterInOut* inOut = lib::avfilter_inout_alloc();
    if (inOut == nullptr) return nullptr;
    inOut->name = lib::av_strdup(name);
    inOut->filter_ctx = filter;
    inOut->pad_idx = 0;
    inOut->next = nullptr;
    return inOut;
}

// Adds a filter after `last` and makes it the last one; false on any failure.
bool Append(AVFilterGraph* graph, AVFilterContext*& last, const char* filterName,
            const std::string& args) {
    AVFilterContext* filter = nullptr;
    const AVFilter* kind = lib::avfilter_get_by_name(filterName);
    if (kind == nullptr ||
        lib::avfilter_graph_create_filter(
            &filter, kind, nullptr, args.empty() ? nullptr : args.c_str(), nullptr, graph) < 0)
        return false;
    if (lib::avfilter_link(last, 0, filter, 0) < 0) return false;
    last = filter;
    return true;
}

}  // namespace

int TCustomFFmpeg::ConfigureFilters(TAVInputStream& ist, TAVOutputStream& ost,
                                    const AVFrame* like) {
    AVCodecContext* icodec = ist.dec_ctx;
    AVCodecContext* codec = ost.enc_ctx;
    if (icodec == nullptr || codec == nullptr) return -1;

    AVFilterGraph* graph = lib::avfilter_graph_alloc();
    if (graph == nullptr) return -1;
    FFilterGraphs.push_back(graph);

    // The source wants the whole picture description now, not only its size and format.
    int width = like != nullptr ? like->width : icodec->width;
    int height = like != nullptr ? like->height : icodec->height;
    int format = like != nullptr ? like->format : int(icodec->pix_fmt);
    AVRational timeBase = ist.st != nullptr ? ist.st->time_base : AVRational{1, 25};
    AVRational aspect = like != nullptr ? like->sample_aspect_ratio : icodec->sample_aspect_ratio;
    if (aspect.den == 0) aspect = AVRational{0, 1};
    std::string sourceArgs =
        rtl::Format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", width, height,
                    format, timeBase.num, timeBase.den, aspect.num, aspect.den);
    AVFilterContext* source = nullptr;
    const AVFilter* buffer = lib::avfilter_get_by_name("buffer");
    if (buffer == nullptr || lib::avfilter_graph_create_filter(
                                 &source, buffer, "src", sourceArgs.c_str(), nullptr, graph) < 0)
        return -1;

    // No filter of our own can be registered: the library's sink, held to the output format.
    const AVFilter* bufferSink = lib::avfilter_get_by_name("buffersink");
    AVFilterContext* sink = bufferSink != nullptr
                                ? lib::avfilter_graph_alloc_filter(graph, bufferSink, "out")
                                : nullptr;
    if (sink == nullptr) return -1;
    AVPixelFormat outFormat = codec->pix_fmt;
    if (lib::av_opt_set_bin(sink, "pix_fmts", reinterpret_cast<const uint8_t*>(&outFormat),
                            sizeof(outFormat), AV_OPT_SEARCH_CHILDREN) < 0 ||
        lib::avfilter_init_str(sink, nullptr) < 0)
        return -1;

    int64_t swsFlags = SWS_BICUBIC;
    if (FOptions.sws_opts != nullptr)
        lib::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &swsFlags);
    // A graph made anew for pictures of another size ends at the size the encoder was opened
    // with, whatever the user's chain makes of them.
    AVFilterContext* end = sink;
    if (like != nullptr) {
        AVFilterContext* keep = nullptr;
        const AVFilter* scale = lib::avfilter_get_by_name("scale");
        std::string args =
            rtl::Format("%d:%d:flags=0x%X", codec->width, codec->height, unsigned(swsFlags));
        if (scale == nullptr ||
            lib::avfilter_graph_create_filter(&keep, scale, "keep", args.c_str(), nullptr, graph) <
                0 ||
            lib::avfilter_link(keep, 0, sink, 0) < 0)
            return -1;
        end = keep;
    }

    AVFilterContext* last = source;
    // Turned upright first, as the tool does: the bands and the size are the upright picture's.
    int shownWidth = width;
    int shownHeight = height;
    for (const TUprightFilter& upright : UprightFilters(ist.st))
        if (!Append(graph, last, upright.Name.c_str(), upright.Args)) return -1;
    if (UprightSwapsSides(ist.st)) std::swap(shownWidth, shownHeight);
    if (like != nullptr) FollowPictureSize(ost, shownWidth, shownHeight);

    // Cropped first, then scaled: the crop keeps what the bands leave of the input picture.
    int croppedWidth = shownWidth;
    int croppedHeight = shownHeight;
    if (ost.video_crop != 0) {
        croppedWidth -= ost.leftBand + ost.rightBand;
        croppedHeight -= ost.topBand + ost.bottomBand;
        if (!Append(
                graph, last, "crop",
                rtl::Format("%d:%d:%d:%d", croppedWidth, croppedHeight, ost.leftBand, ost.topBand)))
            return -1;
    }

    if (like == nullptr && (codec->width != croppedWidth || codec->height != croppedHeight)) {
        if (!Append(
                graph, last, "scale",
                rtl::Format("%d:%d:flags=0x%X", codec->width, codec->height, unsigned(swsFlags))))
            return -1;
    }
    graph->scale_sws_opts = lib::av_strdup(rtl::Format("flags=0x%X", unsigned(swsFlags)).c_str());

    if (!Fvfilters.empty()) {
        TInOutGuard ends;
        ends.Outputs = NewInOut("in", last);
        ends.Inputs = NewInOut("out", end);
        if (ends.Outputs == nullptr || ends.Inputs == nullptr) return -1;
        if (lib::avfilter_graph_parse_ptr(graph, Fvfilters.c_str(), &ends.Inputs, &ends.Outputs,
                                          nullptr) < 0)
            return -1;
    } else if (lib::avfilter_link(last, 0, end, 0) < 0) {
        return -1;
    }

    if (lib::avfilter_graph_config(graph, nullptr) < 0) return -1;
    if (like == nullptr) {
        codec->width = sink->inputs[0]->w;
        codec->height = sink->inputs[0]->h;
    }
    ist.input_video_filter = source;
    ist.out_video_filter = sink;
    ist.filter_width = width;
    ist.filter_height = height;
    ist.filter_pix_fmt = format;
    return 0;
}

void TCustomFFmpeg::ReconfigureFilters(TAVInputStream& ist, int istIndex, const AVFrame* frame,
                                       const std::function<void()>& deliverHeld) {
    const char* formatName = lib::av_get_pix_fmt_name(AVPixelFormat(frame->format));
    GetFFLogger().Log(this, llQuiet,
                      rtl::Format("Input Stream #%d.%d frame size changed to %dx%d, %s",
                                  ist.file_index, ist.index, frame->width, frame->height,
                                  formatName != nullptr ? formatName : "none"));
    // What the old graph still holds goes out first.
    if (lib::av_buffersrc_add_frame_flags(ist.input_video_filter, nullptr, 0) >= 0) deliverHeld();
    TAVOutputStream* target = nullptr;
    for (TAVOutputStream* ost : FRun.Feeds[size_t(istIndex)])
        if (ost->encoding_needed != 0 && ost->enc_ctx->codec_type == AVMEDIA_TYPE_VIDEO)
            target = ost;
    FLastErrMsg.clear();
    if (target == nullptr || ConfigureFilters(ist, *target, frame) != 0)
        throw FFmpegException(FLastErrMsg.empty() ? std::string("Error opening filters!")
                                                  : "Error opening filters: " + FLastErrMsg);
}

int TCustomFFmpeg::GetFilteredVideoPicture(AVFilterContext* sink, AVFrame* frame, int64_t& pts) {
    if (lib::av_buffersink_get_frame(sink, frame) < 0) return -1;
    pts = frame->pts;
    return 1;
}

}  // namespace media
