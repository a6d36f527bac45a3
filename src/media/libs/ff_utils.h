// Helpers over the FFmpeg libraries: time and error texts, the option contexts through which
// named codec, format and scaler options are set, decoded pictures into bitmaps, and codec and
// media-type names.
//
// No state of its own. TFFOptions and TRGBConvertContext values belong to one component and one
// thread at a time; the routines take no lock. Everything but the pure text functions needs the
// libraries loaded.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/libs/ffmpeg_api.h"
#include "platform/gfx/graphics.h"

namespace media {

// "hh:mm:ss.mmm" of microseconds (hours not wrapped); "N/A" for AV_NOPTS_VALUE.
std::string FormatTimestamp(int64_t micros);
// Microseconds per frame; 40000 (25 per second) when the rate has a zero part.
int64_t FrameDuration(AVRational rate);
// "<prefix>: <text of the error code>": the library's few texts, else the system's message of
// an errno code, else "Error number <code> occurred".
std::string ErrorCodeText(const std::string& prefix, int code);

// Contexts that only carry option values, one per media type, one of a format and one of a
// scaler; nothing is coded with them. Options private to an encoder or a muxer (x264's "crf",
// the mpeg muxers' "muxrate") are known to no generic context: they wait in the dictionaries
// until the encoder or muxer opens, which checks them.
struct TFFOptions {
    std::vector<std::string> opt_names;  // generic options set so far, in order
    AVCodecContext* avcodec_opts[AVMEDIA_TYPE_NB] = {};
    AVFormatContext* avformat_opts = nullptr;
    SwsContext* sws_opts = nullptr;
    AVDictionary* codec_private_opts[AVMEDIA_TYPE_NB] = {};
    AVDictionary* format_private_opts = nullptr;
};

void InitFFOptions(TFFOptions& options);
void AllocFFOptions(TFFOptions& options, int swsFlags);
void FreeFFOptions(TFFOptions& options);
// One named option of the transcoder's option text. False for an empty name or value, a name no
// context knows and a refused value; only a refused value is logged.
bool SetCodecOption(TFFOptions& options, const std::string& name, const std::string& value);
// Copies the options set so far whose flags hold all of `flags` from `source` to `target`.
void ApplyCodecOptions(const TFFOptions& options, void* target, void* source, int flags);

// The whole file plus a zero byte, in a buffer the caller frees with av_free. 0, or -1 when the
// file cannot be opened, or AVERROR(ENOMEM). `size` is the bytes read plus one.
int ReadWholeFile(const std::string& fileName, uint8_t*& buffer, int& size);

// A picture of the library: four planes and their line sizes.
struct TAVPicture {
    uint8_t* data[4] = {};
    int linesize[4] = {};
};

// A picture's bitmap: width x height, 24 or 32 bits per pixel, its canvas's brush clear so that
// a hook draws text and shapes over the picture without filling behind them.
std::unique_ptr<gfx::TBitmap> CreateFrameBitmap(int width, int height, int bitsPerPixel);
// 24 or 32.
int BitsPerPixel(const gfx::TBitmap& bitmap);
// Bytes from one scan line to the next (24-bit rows are padded to 4 bytes); 0 while empty.
int RowSize(const gfx::TBitmap& bitmap);

// Converts decoded pictures into a bitmap, reusing its buffer and scaler between calls. Reset it
// before first use and to release it; it holds library memory, so it is not copied.
struct TRGBConvertContext {
    TRGBConvertContext() = default;
    TRGBConvertContext(const TRGBConvertContext&) = delete;
    TRGBConvertContext& operator=(const TRGBConvertContext&) = delete;

    AVPixelFormat RGBPixFmt = AV_PIX_FMT_BGR24;
    int BMPPixFmt = 24;  // bits per pixel of Bitmap
    std::unique_ptr<gfx::TBitmap> Bitmap;
    uint8_t* RGBBuf = nullptr;
    int RGBBufSize = 0;
    TAVPicture RGBPicture;
    const TAVPicture* RGBPictureRef = nullptr;  // the picture last copied into Bitmap
    SwsContext* toRGB_convert_ctx = nullptr;
    SwsContext* fromRGB_convert_ctx = nullptr;
};

void ResetRGBConvertContext(TRGBConvertContext& context);
// Bytes of a w x h picture whose rows the scaler may read or write in whole groups of pixels:
// rows of at least 16 pixels more, aligned, and a tail, as the library's own picture buffers
// have. -1 for an impossible picture.
int ScalerPictureSize(AVPixelFormat pixFmt, int width, int height);
// Lays such a picture over `buffer` (of ScalerPictureSize bytes).
bool FillScalerPicture(TAVPicture& picture, uint8_t* buffer, AVPixelFormat pixFmt, int width,
                       int height);
// Sizes the context's RGB buffer for a w x h scaler destination (aligned rows with room for
// the scaler's overrun, and a tail) and points RGBPicture at it. False when out of memory.
bool PrepareRGBPicture(TRGBConvertContext& context, int width, int height);
// Copies `picture` into context.Bitmap (made w x h), converting it unless it is already in the
// bitmap's layout. False when no scaler can be made or no buffer allocated.
bool PictureToBitmap(TRGBConvertContext& context, const TAVPicture& picture, AVPixelFormat pixFmt,
                     int width, int height);

// A filter of the chain that shows a stream's pictures upright.
struct TUprightFilter {
    std::string Name;
    std::string Args;  // empty: none
};
// The filters that turn the pictures of `st` upright by its display matrix (a 90, 180 or 270
// degree turn, or a flip), the ones the ffmpeg tool inserts; none for an upright stream.
std::vector<TUprightFilter> UprightFilters(const AVStream* st);
// Whether those filters trade the picture's width and height.
bool UprightSwapsSides(const AVStream* st);

std::string MetadataValue(const AVDictionary* metadata, const char* key,
                          const std::string& defaultValue);
// "name(long name)" of the context's codec, else what its id or tag says.
std::string CodecNameText(const AVCodecContext* context, bool encoder);
// "Video", "Audio", "Data", "Subtitle", "Attachment" or "Unknown".
std::string MediaTypeText(uint32_t mediaType);

}  // namespace media
