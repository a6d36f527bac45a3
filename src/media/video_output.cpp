// The video output path: the sync decision, cropping and scaling to the output, encoding and
// writing each copy of a picture; and the drain at the end of the input.
#include "media/video_sync.h"

#include <cmath>

#include "media/ff_logger.h"
#include "media/ffmpeg_engine.h"
#include "platform/rtl/sysutils.h"

namespace media {

int VideoSyncFrames(int method, bool variableRateFormat, double syncIpts, int64_t& syncOpts) {
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
    int copies = VideoSyncFrames(Fvideo_sync_method, variableRate, syncIpts, ost.sync_opts);
    if (copies == 0) {
        ++Fnb_frames_drop;
        FShowDupOrDrop = true;
        if (Fverbose > 2) GetFFLogger().Log(this, llVerbose, "*** drop!");
    } else if (copies > 1) {
        Fnb_frames_dup += copies - 1;
        FShowDupOrDrop = true;
        if (Fverbose > 2)
            GetFFLogger().Log(this, llVerbose, rtl::Format("*** %d dup!", copies - 1));
    }
    copies = std::min(copies, Fmax_frames[AVMEDIA_TYPE_VIDEO] - ost.frame_number);
    if (copies <= 0) return 0;

    AVFrame* picture = frame;
    if (!FEnableFilter) {
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
            if (ost.img_resample_ctx == nullptr)
                throw FFmpegException(
                    "Assertion failure: the picture size changed on a stream that is not scaled");
            // The bands follow the new size in proportion, on even lines and columns.
            ost.topBand = (frame->height * ost.original_topBand / ost.original_height) & ~1;
            ost.bottomBand = (frame->height * ost.original_bottomBand / ost.original_height) & ~1;
            ost.leftBand = (frame->width * ost.original_leftBand / ost.original_width) & ~1;
            ost.rightBand = (frame->width * ost.original_rightBand / ost.original_width) & ~1;
            ost.resample_width = frame->width - (ost.leftBand + ost.rightBand);
            ost.resample_height = frame->height - (ost.topBand + ost.bottomBand);
            ost.resample_pix_fmt = format;
            lib::sws_freeContext(ost.img_resample_ctx);
            int64_t swsFlags = SWS_BICUBIC;
            if (FOptions.sws_opts != nullptr)
                lib::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &swsFlags);
            Fsws_flags = int(swsFlags);
            ost.img_resample_ctx = lib::sws_getContext(
                ost.resample_width, ost.resample_height, format, enc->width, enc->height,
                enc->pix_fmt, Fsws_flags, nullptr, nullptr, nullptr);
            if (ost.img_resample_ctx == nullptr)
                throw FFmpegException("Cannot get resampling context");
        }
        if (ost.img_resample_ctx != nullptr) {
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
            picture = ost.pict_tmp;
        }
    }

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
        ++ost.sync_opts;
        ++ost.frame_number;
    }
    return frameSize;
}

void TCustomFFmpeg::DrainVideo(TAVOutputStream& ost) {
    EncodeFrame(ost, nullptr, Fvideo_size);
}

}  // namespace media
