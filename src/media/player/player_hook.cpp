// The player's pictures as bitmaps: the per-picture hook (video thread) and the copy of the
// picture shown last (the caller's thread).
#include <cmath>
#include <cstring>

#include "media/libs/ff_logger.h"
#include "media/player/ff_player.h"

namespace media {

namespace {

// The picture as the hook's bitmap, through the context's RGB buffer; the bitmap, the buffer
// and the scaler follow the picture's size and format.
bool FrameToHookBitmap(TRGBConvertContext& context, const AVFrame* frame, int width, int height) {
    if (!context.Bitmap) context.Bitmap = CreateFrameBitmap(width, height, context.BMPPixFmt);
    context.Bitmap->SetSize(width, height);
    if (!PrepareRGBPicture(context, width, height)) return false;
    context.toRGB_convert_ctx = lib::sws_getCachedContext(
        context.toRGB_convert_ctx, width, height, AVPixelFormat(frame->format), width, height,
        context.RGBPixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (context.toRGB_convert_ctx == nullptr) return false;
    lib::sws_scale(context.toRGB_convert_ctx, frame->data, frame->linesize, 0, height,
                   context.RGBPicture.data, context.RGBPicture.linesize);
    context.RGBPictureRef = &context.RGBPicture;
    gfx::TBitmap& bitmap = *context.Bitmap;
    size_t rowBytes = size_t(std::min(context.RGBPicture.linesize[0], RowSize(bitmap)));
    for (int row = 0; row < height; ++row)
        std::memcpy(bitmap.ScanLine(row),
                    context.RGBPicture.data[0] + ptrdiff_t(row) * context.RGBPicture.linesize[0],
                    rowBytes);
    return true;
}

}  // namespace

bool TCustomPlayer::CallHook(AVFrame* frame, double pts) {
    if (!FHook.load() || !FEventsEnabled.load()) return false;
    const std::shared_ptr<const THookEvent> hook = OnHook.Get();
    if (!hook) return false;
    int width = frame->width;
    int height = frame->height;
    if (width <= 0 || height <= 0) return false;
    if (!FHookContext) {
        FHookContext = std::make_unique<TRGBConvertContext>();
        ResetRGBConvertContext(*FHookContext);
    }
    TRGBConvertContext& context = *FHookContext;
    if (!FrameToHookBitmap(context, frame, width, height)) {
        GetFFLogger().Log(this, llError, "Cannot initialize the toRGB conversion context");
        return false;
    }
    TVideoState* is = FVideoState.load();
    int64_t startTime = is != nullptr ? is->StartTime : 0;
    try {
        (*hook)(this, *context.Bitmap, std::llround(pts * 1000000.0) - startTime);
    } catch (const std::exception& e) {
        GetFFLogger().Log(this, llError, std::string("Error occurs OnHook: ") + e.what());
        return false;
    }
    // The handler may have resized the bitmap: only what is still inside goes back, and nothing
    // when it changed the pixel format, whose rows the picture could not take.
    gfx::TBitmap& bitmap = *context.Bitmap;
    size_t rowBytes = size_t(std::min(context.RGBPicture.linesize[0], RowSize(bitmap)));
    int rows = BitsPerPixel(bitmap) == context.BMPPixFmt ? std::min(height, bitmap.Height()) : 0;
    for (int row = 0; row < rows; ++row)
        std::memcpy(context.RGBPicture.data[0] + ptrdiff_t(row) * context.RGBPicture.linesize[0],
                    bitmap.ScanLine(row), rowBytes);
    // The picture may share its buffer with the decoder or the filters.
    if (lib::av_frame_make_writable(frame) < 0) {
        GetFFLogger().Log(this, llError, "Cannot initialize the fromRGB conversion context");
        return false;
    }
    context.fromRGB_convert_ctx = lib::sws_getCachedContext(
        context.fromRGB_convert_ctx, width, height, context.RGBPixFmt, width, height,
        AVPixelFormat(frame->format), SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (context.fromRGB_convert_ctx == nullptr) {
        GetFFLogger().Log(this, llError, "Cannot initialize the fromRGB conversion context");
        return false;
    }
    lib::sws_scale(context.fromRGB_convert_ctx, context.RGBPicture.data,
                   context.RGBPicture.linesize, 0, height, frame->data, frame->linesize);
    return true;
}

gfx::TBitmap& TCustomPlayer::CurrentFrame(int64_t& pts) {
    if (!FRGBContext) {
        FRGBContext = std::make_unique<TRGBConvertContext>();
        ResetRGBConvertContext(*FRGBContext);
    }
    TRGBConvertContext& context = *FRGBContext;
    if (!context.Bitmap) context.Bitmap = CreateFrameBitmap(0, 0, context.BMPPixFmt);
    gfx::TBitmap& bitmap = *context.Bitmap;
    pts = -1;

    // The playback is freed only under the state lock.
    std::lock_guard stateLock(FStateLock);
    TVideoState* is = FVideoState.load();
    if (is == nullptr || is->video_st.load() == nullptr || is->video_ctx == nullptr) {
        bitmap.SetSize(0, 0);
        return bitmap;
    }
    // Black at the video's size until a picture was shown.
    bitmap.SetSize(0, 0);
    if (UprightSwapsSides(is->video_st.load()))
        bitmap.SetSize(is->video_ctx->height, is->video_ctx->width);
    else
        bitmap.SetSize(is->video_ctx->width, is->video_ctx->height);

    // The picture shown last, not the next one waiting in the queue.
    std::lock_guard lock(is->last_mutex);
    const AVFrame* frame = is->last_frame;
    if (frame == nullptr || frame->data[0] == nullptr || is->last_width <= 0) return bitmap;
    TAVPicture picture;
    for (int plane = 0; plane < 4; ++plane) {
        picture.data[plane] = frame->data[plane];
        picture.linesize[plane] = frame->linesize[plane];
    }
    if (!PictureToBitmap(context, picture, AVPixelFormat(frame->format), is->last_width,
                         is->last_height)) {
        bitmap.SetSize(0, 0);
        return bitmap;
    }
    pts = std::llround(is->last_pts * 1000000.0) - is->StartTime;
    return bitmap;
}

}  // namespace media
