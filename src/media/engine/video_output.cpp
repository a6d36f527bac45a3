// The video output path: the sync decision, cropping and scaling to the output, encoding and
// writing each copy of a picture; and the drain at the end of the input.
#include "media/engine/video_sync.h"

#include <algorithm>
#include <cmath>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/clock.h"

namespace media {

namespace {

int SyncCopies(int method, bool variableRateFormat, double syncIpts, int64_t& syncOpts) {
    if (method == 0) {
        syncOpts = rtl::Round(syncIpts);
        return 1;
    }
    double vdelta = syncIpts - double(syncOpts);
    if (vdelta < -1.1) return 0;
    if (method == 2 || (method == -1 && variableRateFormat)) {
        if (vdelta <= -0.6) return 0;
        if (vdelta > 0.6) syncOpts = rtl::Round(syncIpts);
        return 1;
    }
    if (vdelta > 1.1) return int(rtl::Round(vdelta));
    return 1;
}

}  // namespace

TVideoSync VideoSyncFrames(int method, bool variableRateFormat, double syncIpts, int64_t& syncOpts,
                           int framesLeft) {
    TVideoSync sync;
    sync.Wanted = SyncCopies(method, variableRateFormat, syncIpts, syncOpts);
    sync.Written = std::max(0, std::min(sync.Wanted, framesLeft));
    return sync;
}

namespace {

// The planes of `frame` without the bands cut off at the top and the left.
void CroppedPlanes(const AVFrame* frame, int top, int left, const uint8_t* planes[4]) {
    const AVPixFmtDescriptor* descriptor = lib::av_pix_fmt_desc_get(AVPixelFormat(frame->format));
    int steps[4] = {};
    lib::av_image_fill_max_pixsteps(steps, nullptr, descriptor);
    for (int i = 0; i < 4; ++i) {
        planes[i] = frame->data[i];
        if (planes[i] == nullptr) continue;
        bool chroma = (i == 1 || i == 2) && (descriptor->flags & AV_PIX_FMT_FLAG_RGB) == 0;
        int shiftX = chroma ? descriptor->log2_chroma_w : 0;
        int shiftY = chroma ? descriptor->log2_chroma_h : 0;
        planes[i] += ptrdiff_t(top >> shiftY) * frame->linesize[i] + (left >> shiftX) * steps[i];
    }
}

}  // namespace

int TCustomFFmpeg::EncodeVideo(TAVOutputStream& ost, TAVInputStream& ist, AVFrame* frame) {
    AVCodecContext* enc = ost.enc_ctx;
    AVFormatContext* oc = Foutput_files[size_t(ost.file_index)];
    double syncIpts = (double(ost.sync_ist->pts - Fstart_time) / 1000000) / av_q2d(enc->time_base);
    bool variableRate = (oc->oformat->flags & AVFMT_VARIABLE_FPS) != 0;
    TVideoSync sync = VideoSyncFrames(Fvideo_sync_method, variableRate, syncIpts, ost.sync_opts,
                                      Fmax_frames[AVMEDIA_TYPE_VIDEO] - ost.frame_number);
    if (sync.Wanted == 0) {
        ++Fnb_frames_drop;
        FShowDupOrDrop = true;
        if (Fverbose > 2) GetFFLogger().Log(this, llVerbose, "*** drop!");
    } else if (sync.Wanted > 1) {
        Fnb_frames_dup += sync.Wanted - 1;
        FShowDupOrDrop = true;
        if (Fverbose > 2)
            GetFFLogger().Log(this, llVerbose, rtl::Format("*** %d dup!", sync.Wanted - 1));
    }
    int copies = sync.Written;
    if (copies <= 0) return 0;

    AVFrame* picture = PreparePicture(ost, ist, frame);
    // At a constant rate the last picture is shown for as long as it lasts: it is kept for the
    // end of the input.
    if (Fvideo_sync_method == 1 || (Fvideo_sync_method == -1 && !variableRate)) {
        if (ost.last_frame == nullptr) ost.last_frame = lib::av_frame_alloc();
        if (ost.last_frame != nullptr) {
            lib::av_frame_unref(ost.last_frame);
            lib::av_frame_ref(ost.last_frame, frame);
        }
    }
    return EncodeCopies(ost, ist, frame, picture, copies);
}

void TCustomFFmpeg::FollowPictureSize(TAVOutputStream& ost, int width, int height) {
    // The bands follow the new size in proportion, on even lines and columns.
    if (ost.original_height > 0 && ost.original_width > 0) {
        ost.topBand = (height * ost.original_topBand / ost.original_height) & ~1;
        ost.bottomBand = (height * ost.original_bottomBand / ost.original_height) & ~1;
        ost.leftBand = (width * ost.original_leftBand / ost.original_width) & ~1;
        ost.rightBand = (width * ost.original_rightBand / ost.original_width) & ~1;
    }
    ost.resample_width = width - (ost.leftBand + ost.rightBand);
    ost.resample_height = height - (ost.topBand + ost.bottomBand);
}

AVFrame* TCustomFFmpeg::PreparePicture(TAVOutputStream& ost, const TAVInputStream& ist,
                                       AVFrame* frame) {
    // With a graph, the graph crops and scales.
    if (ost.video_graph) return frame;
    AVCodecContext* enc = ost.enc_ctx;
    int width = frame->width - (ost.leftBand + ost.rightBand);
    int height = frame->height - (ost.topBand + ost.bottomBand);
    AVPixelFormat format = AVPixelFormat(frame->format);
    if (width != ost.resample_width || height != ost.resample_height ||
        format != ost.resample_pix_fmt) {
        const char* formatName = lib::av_get_pix_fmt_name(format);
        GetFFLogger().Log(this, llQuiet,
                          rtl::Format("Input Stream #%d.%d frame size changed to %dx%d, %s",
                                      ist.file_index, ist.index, frame->width, frame->height,
                                      formatName != nullptr ? formatName : "none"));
        FollowPictureSize(ost, frame->width, frame->height);
        ost.resample_pix_fmt = format;
        // The encoder keeps the size and format it was opened with: from here on every picture
        // is scaled to them, also on a stream that did not scale so far.
        if (ost.img_resample_ctx != nullptr) lib::sws_freeContext(ost.img_resample_ctx);
        ost.img_resample_ctx = nullptr;
        int64_t swsFlags = SWS_BICUBIC;
        if (FOptions.sws_opts != nullptr)
            lib::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &swsFlags);
        Fsws_flags = int(swsFlags);
        if (ost.resample_width > 0 && ost.resample_height > 0)
            ost.img_resample_ctx = lib::sws_getContext(
                ost.resample_width, ost.resample_height, format, enc->width, enc->height,
                enc->pix_fmt, Fsws_flags, nullptr, nullptr, nullptr);
        if (ost.img_resample_ctx == nullptr) throw FFmpegException("Cannot get resampling context");
        ost.video_resample = 1;
        if (ost.pict_tmp == nullptr) ost.pict_tmp = lib::av_frame_alloc();
        if (ost.pict_tmp == nullptr)
            throw FFmpegException("Cannot allocate temp picture, check pix fmt");
    }
    if (ost.img_resample_ctx == nullptr) return frame;
    const uint8_t* planes[4];
    CroppedPlanes(frame, ost.topBand, ost.leftBand, planes);
    // The encoder may still hold the last picture: then a new buffer, never a copy.
    if (!lib::av_frame_is_writable(ost.pict_tmp)) {
        lib::av_frame_unref(ost.pict_tmp);
        ost.pict_tmp->format = enc->pix_fmt;
        ost.pict_tmp->width = enc->width;
        ost.pict_tmp->height = enc->height;
        if (lib::av_frame_get_buffer(ost.pict_tmp, 0) != 0)
            throw FFmpegException("Cannot allocate temp picture, check pix fmt");
    }
    lib::sws_scale(ost.img_resample_ctx, planes, frame->linesize, 0, ost.resample_height,
                   ost.pict_tmp->data, ost.pict_tmp->linesize);
    return ost.pict_tmp;
}

int TCustomFFmpeg::EncodeCopies(TAVOutputStream& ost, const TAVInputStream& ist,
                                const AVFrame* frame, AVFrame* picture, int copies) {
    const AVCodecContext* videoOptions = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    bool interlaced =
        videoOptions != nullptr &&
        (videoOptions->flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME)) != 0;
    int frameSize = 0;
    for (int i = 0; i < copies; ++i) {
        if (FBroken) break;
        picture->interlaced_frame = frame->interlaced_frame;
        if (interlaced)
            picture->top_field_first =
                Ftop_field_first == -1 ? frame->top_field_first : Ftop_field_first;
        // Decoders tell no quantiser any more: "sameq" keeps what they tell, else the stream's.
        float quality = Fsame_quality && ist.quality > 0 ? ist.quality : ost.quality;
        picture->quality = int(rtl::Round(quality));
        picture->pict_type = AV_PICTURE_TYPE_NONE;
        picture->pts = ost.sync_opts;
        frameSize = EncodeFrame(ost, picture, Fvideo_size);
        if (!FWantedPostHooks.load().Empty()) RunPostHooks(picture, ost.enc_ctx);
        ++ost.sync_opts;
        ++ost.frame_number;
    }
    return frameSize;
}

void TCustomFFmpeg::DrainVideo(TAVOutputStream& ost) {
    FillLastPicture(ost);
    EncodeFrame(ost, nullptr, Fvideo_size);
}

void TCustomFFmpeg::FillLastPicture(TAVOutputStream& ost) {
    AVFrame* last = ost.last_frame;
    if (last == nullptr || last->data[0] == nullptr) return;
    // Where the last picture's display time ends (a long last frame of an animation, a still
    // held to the end), no later than the recording limit.
    int64_t end = ost.sync_ist->next_pts;
    if (end != AV_NOPTS_VALUE) {
        end -= Fstart_time;
        if (Frecording_time != INT64_MAX) end = std::min(end, Frecording_time);
        double remaining =
            double(end) / 1000000 / av_q2d(ost.enc_ctx->time_base) - double(ost.sync_opts);
        // A tenth of a frame is rounding, not a picture to repeat.
        int64_t copies = remaining > 0.1 ? rtl::Round(remaining) : 0;
        copies = std::min<int64_t>(copies, Fmax_frames[AVMEDIA_TYPE_VIDEO] - ost.frame_number);
        if (copies > 0) {
            Fnb_frames_dup += int(copies);
            FShowDupOrDrop = true;
            if (Fverbose > 2)
                GetFFLogger().Log(this, llVerbose, rtl::Format("*** %d dup!", int(copies)));
            const TAVInputStream& ist = *FRun.InputStreams[size_t(ost.source_index)];
            EncodeCopies(ost, ist, last, PreparePicture(ost, ist, last), int(copies));
        }
    }
    lib::av_frame_unref(last);
}

void TCustomFFmpeg::RunPostHooks(const AVFrame* picture, const AVCodecContext* enc) {
    // The owner's latest wish, taken here on the conversion thread, which alone uses the window.
    std::unique_ptr<TPreviewer> dropped;
    TPostHooks hooks = WantedPostHooks();
    ApplyPostHooks(hooks, dropped);
    dropped.reset();
    bool bitmapEvent = hooks.Contains(phBitmap) && OnPreviewBitmap;
    if (!bitmapEvent && !hooks.Contains(phPreview)) return;

    int64_t now = sys::Clock().NowMicros();
    FPostContext.preview_cur_time = now;
    if (now - FPostContext.preview_last_time <= PreviewInterval) return;
    TAVPicture source;
    for (int i = 0; i < 4; ++i) {
        source.data[i] = picture->data[i];
        source.linesize[i] = picture->linesize[i];
    }
    bool failed =
        !PictureToBitmap(FPostContext.Context, source, enc->pix_fmt, enc->width, enc->height);
    if (failed) GetFFLogger().Log(this, llError, "Cannot initialize the toRGB conversion context");
    int64_t pts = lib::av_rescale_q(picture->pts, enc->time_base, AV_TIME_BASE_Q);
    TPostHook served = bitmapEvent ? phBitmap : phPreview;
    if (!failed) {
        const gfx::TBitmap& bitmap = *FPostContext.Context.Bitmap;
        if (bitmapEvent) {
            OnPreviewBitmap(this, bitmap, FHookFrameNumber, pts);
        } else {
            if (!FPostContext.Previewer) FPostContext.Previewer = CreatePreviewer();
            // No window, or the user closed it: the preview ends for this job.
            failed = !FPostContext.Previewer ||
                     !FPostContext.Previewer->PaintFrame(bitmap, FHookFrameNumber, pts);
        }
    }
    FPostContext.preview_last_time = FPostContext.preview_cur_time;
    if (failed) {
        FDroppedPostHooks.Include(served);
        ApplyPostHooks(WantedPostHooks(), dropped);
        dropped.reset();
    }
}

void TCustomFFmpeg::WriteVideoStats(const TAVOutputStream& ost, int frameSize) {
    if (Fvstats_file == nullptr) {
        Fvstats_file = std::fopen(Fvstats_filename->c_str(), "w");
        if (Fvstats_file == nullptr) throw FFmpegException("fopen fail: " + *Fvstats_filename);
    }
    const AVCodecContext* enc = ost.enc_ctx;
    if (enc->codec_type != AVMEDIA_TYPE_VIDEO) return;
    std::string line = rtl::Format("frame= %5d q= %2.1f ", ost.frame_number,
                                   double(ost.last_quality) / FF_QP2LAMBDA);
    if ((enc->flags & AV_CODEC_FLAG_PSNR) != 0)
        line += rtl::Format("PSNR= %6.2f ",
                            -10.0 * std::log10(double(ost.last_error[0]) /
                                               (double(enc->width) * enc->height * 255.0 * 255.0)));
    line += rtl::Format("f_size= %6d ", frameSize);
    double timeBase = av_q2d(enc->time_base);
    double t = std::max(double(ost.sync_opts) * timeBase, 0.01);
    double bitRate = frameSize * 8 / timeBase / 1000;
    double averageRate = double(Fvideo_size) * 8 / t / 1000;
    line += rtl::Format("s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
                        double(Fvideo_size) / 1024, t, bitRate, averageRate);
    line +=
        rtl::Format("type= %c\n", lib::av_get_picture_type_char(AVPictureType(ost.last_pict_type)));
    std::fputs(line.c_str(), Fvstats_file);
}

}  // namespace media
