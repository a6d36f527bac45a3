#include "media/libs/ff_utils.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "media/libs/ff_logger.h"
#include "media/libs/media_utils.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

constexpr int kScalerAlign = 64;
constexpr int kScalerSlackBytes = 256;

struct TErrorText {
    int Code;
    const char* Text;
};

// Keyed on the library's symbols: their numbers are not the ones of older versions.
const std::array<TErrorText, 10> kErrorTexts = {{
    {AVERROR_PATCHWELCOME, "Not yet implemented in FFmpeg"},
    {AVERROR_PROTOCOL_NOT_FOUND, "Unsupported network protocol"},
    {AVERROR_DEMUXER_NOT_FOUND, "Unknown format"},
    {AVERROR(EILSEQ), "Unknown format"},
    {AVERROR(EDOM), "Number syntax expected in filename"},
    {AVERROR_EOF, "End of file"},
    {AVERROR_INVALIDDATA, "Invalid data found when processing input"},
    {AVERROR(ENOMEM), "Not enough memory"},
    {AVERROR(EIO), "I/O error"},
    {AVERROR(ENOENT), "No such file or directory"},
}};

// The option-type flags each media type's context answers to (data and attachment: any).
constexpr std::array<int, AVMEDIA_TYPE_NB> kTypeFlags = {
    AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0, AV_OPT_FLAG_SUBTITLE_PARAM, 0};

bool HasOption(void* object, const char* name, int flags) {
    return object != nullptr && lib::av_opt_find(object, name, nullptr, flags, 0) != nullptr;
}

// Looks a name up among the private options of every codec or format of the class's children.
bool HasPrivateOption(const AVClass* avClass, const char* name, int flags) {
    return lib::av_opt_find(&avClass, name, nullptr, flags,
                            AV_OPT_SEARCH_CHILDREN | AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

bool SetPrivateOption(TFFOptions& options, const char* name, const char* value) {
    bool found = false;
    for (int type = 0; type < AVMEDIA_TYPE_NB; ++type) {
        if (kTypeFlags[type] == 0) continue;  // would match any option
        if (HasPrivateOption(lib::avcodec_get_class(), name, kTypeFlags[type])) {
            lib::av_dict_set(&options.codec_private_opts[type], name, value, 0);
            found = true;
        }
    }
    if (HasPrivateOption(lib::avformat_get_class(), name, 0)) {
        lib::av_dict_set(&options.format_private_opts, name, value, 0);
        found = true;
    }
    return found;
}

}  // namespace

std::string FormatTimestamp(int64_t micros) {
    if (micros == AV_NOPTS_VALUE) return "N/A";
    int64_t seconds = micros / 1000000;
    return rtl::Format("%.2d:%.2d:%.2d.%.3d", seconds / 3600, (seconds / 60) % 60, seconds % 60,
                       (micros % 1000000) * 1000 / 1000000);
}

int64_t FrameDuration(AVRational rate) {
    if (rate.num == 0 || rate.den == 0) return 40000;
    return int64_t(1000000) * rate.den / rate.num;
}

std::string ErrorCodeText(const std::string& prefix, int code) {
    for (const TErrorText& entry : kErrorTexts)
        if (entry.Code == code) return prefix + ": " + entry.Text;
    // Most failures are the system's own (a full disk, a refused folder): its words tell the
    // user what to change, a bare number does not.
    if (code < 0 && code > -4096) {
        const std::string text = rtl::SysErrorMessage(-code);
        if (!text.empty() && text.rfind("Unknown error", 0) != 0) return prefix + ": " + text;
    }
    return prefix + ": " + rtl::Format("Error number %d occurred", code);
}

void InitFFOptions(TFFOptions& options) {
    options = TFFOptions();
}

void AllocFFOptions(TFFOptions& options, int swsFlags) {
    for (int type = 0; type < AVMEDIA_TYPE_NB; ++type) {
        options.avcodec_opts[type] = lib::avcodec_alloc_context3(nullptr);
        if (options.avcodec_opts[type] != nullptr)
            options.avcodec_opts[type]->codec_type = AVMediaType(type);
    }
    options.avformat_opts = lib::avformat_alloc_context();
    options.sws_opts = lib::sws_alloc_context();
    if (options.sws_opts != nullptr)
        lib::av_opt_set(options.sws_opts, "sws_flags", std::to_string(swsFlags).c_str(), 0);
}

void FreeFFOptions(TFFOptions& options) {
    for (AVCodecContext*& context : options.avcodec_opts)
        if (context != nullptr) lib::avcodec_free_context(&context);
    if (options.avformat_opts != nullptr) lib::avformat_free_context(options.avformat_opts);
    if (options.sws_opts != nullptr) lib::sws_freeContext(options.sws_opts);
    for (AVDictionary*& dictionary : options.codec_private_opts)
        if (dictionary != nullptr) lib::av_dict_free(&dictionary);
    if (options.format_private_opts != nullptr) lib::av_dict_free(&options.format_private_opts);
    options = TFFOptions();
}

bool SetCodecOption(TFFOptions& options, const std::string& name, const std::string& value) {
    if (rtl::Trim(name).empty() || rtl::Trim(value).empty()) return false;
    const char* optName = name.c_str();
    const char* optValue = value.c_str();
    std::string foundName;
    int result = 0;

    auto trySet = [&](void* object, const char* candidate, void* lookupObject, int flags) {
        if (!HasOption(lookupObject, candidate, flags)) return false;
        foundName = candidate;
        result = lib::av_opt_set(object, candidate, optValue, 0);
        return true;
    };

    for (int type = 0; type < AVMEDIA_TYPE_NB; ++type) {
        trySet(options.avcodec_opts[type], optName, options.avcodec_opts[0], kTypeFlags[type]);
        if (result < 0) break;
    }
    if (foundName.empty()) {
        if (!trySet(options.avformat_opts, optName, options.avformat_opts, 0))
            trySet(options.sws_opts, optName, options.sws_opts, 0);
    }
    if (foundName.empty()) {
        // "ab", "vb", "sb": the shorter name on that type's context.
        int type = -1;
        if (name[0] == 'a') type = AVMEDIA_TYPE_AUDIO;
        if (name[0] == 'v') type = AVMEDIA_TYPE_VIDEO;
        if (name[0] == 's') type = AVMEDIA_TYPE_SUBTITLE;
        if (type >= 0) {
            AVCodecContext* context = options.avcodec_opts[type];
            trySet(context, optName + 1, context, 0);
        }
    }
    if (foundName.empty()) return SetPrivateOption(options, optName, optValue);
    if (result < 0) {
        lib::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", optValue,
                    optName);
        return false;
    }
    options.opt_names.push_back(foundName);
    const AVCodecContext* video = options.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    if ((video != nullptr && video->debug != 0) ||
        (options.avformat_opts != nullptr && options.avformat_opts->debug != 0))
        GetFFLogger().SetLogLevel(llDebug);
    return true;
}

void ApplyCodecOptions(const TFFOptions& options, void* target, void* source, int flags) {
    for (const std::string& name : options.opt_names) {
        const AVOption* option = lib::av_opt_find(source, name.c_str(), nullptr, 0, 0);
        if (option == nullptr) continue;
        uint8_t* value = nullptr;
        if (lib::av_opt_get(source, name.c_str(), 0, &value) < 0 || value == nullptr) continue;
        if ((option->flags & flags) == flags)
            lib::av_opt_set(target, name.c_str(), reinterpret_cast<const char*>(value), 0);
        lib::av_free(value);
    }
}

int ReadWholeFile(const std::string& fileName, uint8_t*& buffer, int& size) {
    buffer = nullptr;
    size = 0;
    FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) return -1;
    std::fseek(file, 0, SEEK_END);
    long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (length < 0) length = 0;
    buffer = static_cast<uint8_t*>(lib::av_malloc(size_t(length) + 1));
    if (buffer == nullptr) {
        std::fclose(file);
        return AVERROR(ENOMEM);
    }
    size_t read = std::fread(buffer, 1, size_t(length), file);
    buffer[read] = 0;
    size = int(read) + 1;
    std::fclose(file);
    return 0;
}

std::unique_ptr<gfx::TBitmap> CreateFrameBitmap(int width, int height, int bitsPerPixel) {
    auto bitmap = std::make_unique<gfx::TBitmap>();
    bitmap->SetPixelFormat(bitsPerPixel == 32 ? gfx::pf32bit : gfx::pf24bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas().Brush().SetStyle(gfx::bsClear);
    return bitmap;
}

int BitsPerPixel(const gfx::TBitmap& bitmap) {
    return bitmap.PixelFormat() == gfx::pf24bit ? 24 : 32;
}

int RowSize(const gfx::TBitmap& bitmap) {
    return bitmap.Handle() ? bitmap.Handle()->Stride() : 0;
}

void ResetRGBConvertContext(TRGBConvertContext& context) {
    context.Bitmap.reset();
    if (context.RGBBuf != nullptr) lib::av_free(context.RGBBuf);
    if (context.toRGB_convert_ctx != nullptr) lib::sws_freeContext(context.toRGB_convert_ctx);
    if (context.fromRGB_convert_ctx != nullptr) lib::sws_freeContext(context.fromRGB_convert_ctx);
    context.RGBBuf = nullptr;
    context.toRGB_convert_ctx = nullptr;
    context.fromRGB_convert_ctx = nullptr;
    context.RGBPixFmt = AV_PIX_FMT_BGR24;
    context.BMPPixFmt = 24;
    context.RGBBufSize = 0;
    context.RGBPicture = TAVPicture();
    context.RGBPictureRef = nullptr;
}

namespace {

// The scaler's vector code reads and writes whole groups of pixels: up to 24 bytes past a packed
// row, 8-16 past an odd-width plane.
int ScalerStrideWidth(int width) {
    return ((width + 15) & ~15) + 16;
}

}  // namespace

int ScalerPictureSize(AVPixelFormat pixFmt, int width, int height) {
    int size =
        lib::av_image_get_buffer_size(pixFmt, ScalerStrideWidth(width), height, kScalerAlign);
    return size < 0 ? -1 : size + kScalerSlackBytes;
}

bool FillScalerPicture(TAVPicture& picture, uint8_t* buffer, AVPixelFormat pixFmt, int width,
                       int height) {
    return lib::av_image_fill_arrays(picture.data, picture.linesize, buffer, pixFmt,
                                     ScalerStrideWidth(width), height, kScalerAlign) >= 0;
}

bool PrepareRGBPicture(TRGBConvertContext& context, int width, int height) {
    int size = ScalerPictureSize(context.RGBPixFmt, width, height);
    if (size < 0) return false;
    if (context.RGBBuf != nullptr && context.RGBBufSize < size) {
        lib::av_free(context.RGBBuf);
        context.RGBBuf = nullptr;
        context.RGBBufSize = 0;
    }
    if (context.RGBBuf == nullptr) {
        context.RGBBuf = static_cast<uint8_t*>(lib::av_malloc(size_t(size)));
        if (context.RGBBuf == nullptr) return false;
        context.RGBBufSize = size;
    }
    return FillScalerPicture(context.RGBPicture, context.RGBBuf, context.RGBPixFmt, width, height);
}

bool PictureToBitmap(TRGBConvertContext& context, const TAVPicture& picture, AVPixelFormat pixFmt,
                     int width, int height) {
    if (!context.Bitmap) context.Bitmap = CreateFrameBitmap(width, height, context.BMPPixFmt);
    gfx::TBitmap& bitmap = *context.Bitmap;
    bitmap.SetSize(width, height);

    bool direct = pixFmt == context.RGBPixFmt && width % 2 == 0 && height % 2 == 0 &&
                  picture.linesize[0] == RowSize(bitmap);
    if (direct) {
        context.RGBPictureRef = &picture;
    } else {
        if (!PrepareRGBPicture(context, width, height)) return false;
        context.toRGB_convert_ctx = lib::sws_getCachedContext(
            context.toRGB_convert_ctx, width, height, pixFmt, width, height, context.RGBPixFmt,
            SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (context.toRGB_convert_ctx == nullptr) return false;
        lib::sws_scale(context.toRGB_convert_ctx, picture.data, picture.linesize, 0, height,
                       context.RGBPicture.data, context.RGBPicture.linesize);
        context.RGBPictureRef = &context.RGBPicture;
    }

    const TAVPicture& source = *context.RGBPictureRef;
    size_t rowBytes = size_t(std::min(source.linesize[0], RowSize(bitmap)));
    // An empty bitmap has no scan lines to ask for.
    for (int row = 0; row < height && !bitmap.Empty(); ++row)
        std::memcpy(bitmap.ScanLine(row), source.data[0] + ptrdiff_t(row) * source.linesize[0],
                    rowBytes);
    return true;
}

namespace {

// The display matrix of `st`, nullptr when it has none.
const int32_t* DisplayMatrix(const AVStream* st) {
    if (st == nullptr) return nullptr;
    size_t size = 0;
    const uint8_t* data = lib::av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, &size);
    return data != nullptr && size >= 9 * sizeof(int32_t) ? reinterpret_cast<const int32_t*>(data)
                                                          : nullptr;
}

// The clockwise turn, 0 up to 360 degrees, that shows the pictures upright.
double UprightTurn(const int32_t* matrix) {
    double theta = matrix != nullptr ? -std::round(lib::av_display_rotation_get(matrix)) : 0;
    // A turn a hair below 360 is none.
    return theta - 360 * std::floor(theta / 360 + 0.9 / 360);
}

}  // namespace

std::vector<TUprightFilter> UprightFilters(const AVStream* st) {
    const int32_t* matrix = DisplayMatrix(st);
    if (matrix == nullptr) return {};
    double theta = UprightTurn(matrix);
    if (std::fabs(theta - 90) < 1.0)
        return {{"transpose", matrix[3] > 0 ? "cclock_flip" : "clock"}};
    if (std::fabs(theta - 180) < 1.0) {
        std::vector<TUprightFilter> filters;
        if (matrix[0] < 0) filters.push_back({"hflip", ""});
        if (matrix[4] < 0) filters.push_back({"vflip", ""});
        return filters;
    }
    if (std::fabs(theta - 270) < 1.0)
        return {{"transpose", matrix[3] < 0 ? "clock_flip" : "cclock"}};
    if (std::fabs(theta) > 1.0) return {{"rotate", rtl::Format("%f*PI/180", theta)}};
    if (matrix[4] < 0) return {{"vflip", ""}};
    return {};
}

bool UprightSwapsSides(const AVStream* st) {
    const int32_t* matrix = DisplayMatrix(st);
    if (matrix == nullptr) return false;
    double theta = UprightTurn(matrix);
    return std::fabs(theta - 90) < 1.0 || std::fabs(theta - 270) < 1.0;
}

std::string MetadataValue(const AVDictionary* metadata, const char* key,
                          const std::string& defaultValue) {
    const AVDictionaryEntry* tag = lib::av_dict_get(metadata, key, nullptr, 0);
    return tag != nullptr && tag->value != nullptr ? LibraryText(tag->value) : defaultValue;
}

std::string CodecNameText(const AVCodecContext* context, bool encoder) {
    const AVCodec* codec = encoder ? lib::avcodec_find_encoder(context->codec_id)
                                   : lib::avcodec_find_decoder(context->codec_id);
    if (codec != nullptr) {
        std::string longName = rtl::Trim(codec->long_name != nullptr ? codec->long_name : "");
        if (longName.empty()) return codec->name;
        return rtl::Format("%s(%s)", codec->name, longName);
    }
    if (context->codec_id == AV_CODEC_ID_MPEG2TS) return "mpeg2ts";
    // A codec the library describes but was built without.
    if (context->codec_id != AV_CODEC_ID_NONE) {
        const AVCodecDescriptor* descriptor = lib::avcodec_descriptor_get(context->codec_id);
        if (descriptor != nullptr && descriptor->name != nullptr) {
            std::string name = rtl::Trim(descriptor->name);
            if (!name.empty()) return name;
        }
    }
    unsigned tag = context->codec_tag;
    std::string chars;
    for (int i = 0; i < 4; ++i) {
        unsigned char c = (tag >> (8 * i)) & 0xFF;
        if (c < 32 || c > 126) return rtl::Format("0x%04x", tag);
        chars += char(c);
    }
    return rtl::Format("%s / 0x%04X", chars, tag);
}

std::string MediaTypeText(uint32_t mediaType) {
    static const std::array<const char*, 5> kNames = {"Video", "Audio", "Data", "Subtitle",
                                                      "Attachment"};
    return mediaType < kNames.size() ? kNames[mediaType] : "Unknown";
}

}  // namespace media
