// What happens to a decoded picture before the outputs see it: deinterlacing through a "yadif"
// graph of its own, then the custom hook (a bitmap round trip through the owner's handler) or
// the video hook libraries, both drawing on the picture in place.
#include <algorithm>
#include <cstring>
#include <exception>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "platform/rtl/scope_exit.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

TAVPicture PictureOf(const AVFrame* frame) {
    TAVPicture picture;
    for (int i = 0; i < 4; ++i) {
        picture.data[i] = frame->data[i];
        picture.linesize[i] = frame->linesize[i];
    }
    return picture;
}

}  // namespace

void TCustomFFmpeg::PreprocessPicture(TAVInputStream& ist, int istIndex, const AVPacket* packet,
                                      AVFrame* frame) {
    if (frame == nullptr) {
        // The end of the input: the deinterlacer still holds its last picture.
        if (ist.deinterlace_src != nullptr &&
            lib::av_buffersrc_add_frame_flags(ist.deinterlace_src, nullptr, 0) >= 0)
            DeliverDeinterlaced(ist, istIndex, packet);
        ist.deinterlace_src = ist.deinterlace_sink = nullptr;
        return;
    }
    ++FHookFrameNumber;
    if (Fdo_deinterlace) {
        if (PrepareDeinterlacer(ist, istIndex, frame)) {
            frame->pts = lib::av_rescale_q(ist.pts, AV_TIME_BASE_Q, ist.st->time_base);
            if (lib::av_buffersrc_add_frame_flags(ist.deinterlace_src, frame,
                                                  AV_BUFFERSRC_FLAG_KEEP_REF) >= 0) {
                DeliverDeinterlaced(ist, istIndex, packet);
                return;
            }
        }
        GetFFLogger().Log(this, llError, "Deinterlacing failed.");
    }
    RunPictureHooks(ist, frame);
    DeliverUnit(ist, istIndex, packet, frame, nullptr);
}

bool TCustomFFmpeg::PrepareDeinterlacer(TAVInputStream& ist, int istIndex, const AVFrame* frame) {
    if (ist.deinterlace_src != nullptr) {
        if (frame->width == ist.deinterlace_width && frame->height == ist.deinterlace_height &&
            frame->format == ist.deinterlace_pix_fmt)
            return true;
        // A new picture size: the old graph gives out what it holds, and a new one starts.
        if (lib::av_buffersrc_add_frame_flags(ist.deinterlace_src, nullptr, 0) >= 0)
            DeliverDeinterlaced(ist, istIndex, nullptr);
        ist.deinterlace_src = ist.deinterlace_sink = nullptr;
    }
    AVFilterGraph* graph = lib::avfilter_graph_alloc();
    if (graph == nullptr) return false;
    // Freed with the job's other graphs.
    FFilterGraphs.push_back(graph);
    graph->nb_threads = 1;
    AVRational timeBase = ist.st->time_base;
    AVRational aspect = frame->sample_aspect_ratio;
    if (aspect.den == 0) aspect = AVRational{0, 1};
    std::string sourceArgs = rtl::Format(
        "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", frame->width,
        frame->height, frame->format, timeBase.num, timeBase.den, aspect.num, aspect.den);
    AVFilterContext* source = nullptr;
    AVFilterContext* yadif = nullptr;
    AVFilterContext* sink = nullptr;
    const AVFilter* buffer = lib::avfilter_get_by_name("buffer");
    const AVFilter* deinterlacer = lib::avfilter_get_by_name("yadif");
    const AVFilter* bufferSink = lib::avfilter_get_by_name("buffersink");
    if (buffer == nullptr || deinterlacer == nullptr || bufferSink == nullptr ||
        lib::avfilter_graph_create_filter(&source, buffer, "src", sourceArgs.c_str(), nullptr,
                                          graph) < 0 ||
        lib::avfilter_graph_create_filter(&yadif, deinterlacer, "deinterlace", nullptr, nullptr,
                                          graph) < 0 ||
        lib::avfilter_graph_create_filter(&sink, bufferSink, "out", nullptr, nullptr, graph) < 0 ||
        lib::avfilter_link(source, 0, yadif, 0) < 0 || lib::avfilter_link(yadif, 0, sink, 0) < 0 ||
        lib::avfilter_graph_config(graph, nullptr) < 0)
        return false;
    ist.deinterlace_src = source;
    ist.deinterlace_sink = sink;
    ist.deinterlace_width = frame->width;
    ist.deinterlace_height = frame->height;
    ist.deinterlace_pix_fmt = frame->format;
    return true;
}

void TCustomFFmpeg::DeliverDeinterlaced(TAVInputStream& ist, int istIndex, const AVPacket* packet) {
    AVFrame* picture = FRun.DeinterlacedFrame;
    // The graph counts in finer ticks than the stream (half fields).
    AVRational timeBase = lib::av_buffersink_get_time_base(ist.deinterlace_sink);
    while (lib::av_buffersink_get_frame(ist.deinterlace_sink, picture) >= 0) {
        // The graph gives each picture back with its own time.
        if (picture->pts != AV_NOPTS_VALUE)
            ist.pts = lib::av_rescale_q(picture->pts, timeBase, AV_TIME_BASE_Q);
        rtl::TScopeExit unref([picture] { lib::av_frame_unref(picture); });
        RunPictureHooks(ist, picture);
        DeliverUnit(ist, istIndex, packet, picture, nullptr);
    }
}

void TCustomFFmpeg::RunPictureHooks(TAVInputStream& ist, AVFrame* frame) {
    bool videoHooks = Fusing_vhook && !FFirstHook.empty();
    if (!OnCustomHook && !videoHooks) return;
    // The decoder may still refer to its picture: the hooks draw on a copy then.
    if (lib::av_frame_make_writable(frame) < 0) {
        GetFFLogger().Log(this, llError, "hook buf malloc error.");
        return;
    }
    if (OnCustomHook) {
        CallCustomHook(frame, ist.pts);
    } else {
        TAVPicture picture = PictureOf(frame);
        FrameHookProcess(FFirstHook, picture, frame->format, frame->width, frame->height, ist.pts);
    }
}

void TCustomFFmpeg::CallCustomHook(AVFrame* frame, int64_t pts) {
    TRGBConvertContext& context = FHookContext.Context;
    TAVPicture picture = PictureOf(frame);
    AVPixelFormat format = AVPixelFormat(frame->format);
    int width = frame->width;
    int height = frame->height;
    bool stop = false;
    if (!PictureToBitmap(context, picture, format, width, height)) {
        GetFFLogger().Log(this, llError, "Cannot initialize the toRGB conversion context");
        stop = true;
    } else {
        gfx::TBitmap& bitmap = *context.Bitmap;
        bool update = true;
        try {
            OnCustomHook(this, bitmap, FHookFrameNumber, pts, update, stop);
        } catch (const std::exception& e) {
            GetFFLogger().Log(this, llError, std::string("Error occurs OnCustomHook: ") + e.what());
            update = false;
        } catch (...) {
            GetFFLogger().Log(this, llError, "Error occurs OnCustomHook: Unknown exception");
            update = false;
        }
        // Rows are copied back with the picture's geometry: a bitmap the handler resized would
        // be read past its end.
        if (bitmap.Width() != width || bitmap.Height() != height ||
            BitsPerPixel(bitmap) != context.BMPPixFmt)
            update = false;
        if (update) {
            const TAVPicture& rgb = *context.RGBPictureRef;
            size_t rowBytes = size_t(std::min(rgb.linesize[0], RowSize(bitmap)));
            for (int row = 0; row < height; ++row)
                std::memcpy(rgb.data[0] + ptrdiff_t(row) * rgb.linesize[0], bitmap.ScanLine(row),
                            rowBytes);
            if (context.RGBPixFmt != format) {
                context.fromRGB_convert_ctx = lib::sws_getCachedContext(
                    context.fromRGB_convert_ctx, width, height, context.RGBPixFmt, width, height,
                    format, SWS_BICUBIC, nullptr, nullptr, nullptr);
                if (context.fromRGB_convert_ctx == nullptr) {
                    GetFFLogger().Log(this, llError,
                                      "Cannot initialize the fromRGB conversion context");
                    stop = true;
                } else {
                    lib::sws_scale(context.fromRGB_convert_ctx, rgb.data, rgb.linesize, 0, height,
                                   frame->data, frame->linesize);
                }
            }
        }
    }
    if (stop) {
        // Final for this conversion: neither hook runs again.
        OnCustomHook = nullptr;
        Fusing_vhook = false;
    }
}

}  // namespace media
