#include "platform/gfx/codecs.h"

#include <csetjmp>
#include <cstring>

#include <png.h>

namespace gfx {

bool ReadPng(std::span<const std::uint8_t> data, TImage& image, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.data(), data.size())) {
        error = std::string("Invalid PNG image: ") + png.message;
        return false;
    }
    if (std::int64_t(png.width) * png.height > kMaxImagePixels || png.width == 0 ||
        png.height == 0) {
        png_image_free(&png);
        error = "PNG image size is not valid";
        return false;
    }
    image.HasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.BitCount = image.HasAlpha ? 32 : 24;
    image.Width = int(png.width);
    image.Height = int(png.height);
    image.Pixels.assign(std::size_t(png.width) * png.height, 0);
    png.format = PNG_FORMAT_BGRA;
    if (!png_image_finish_read(&png, nullptr, image.Pixels.data(), 0, nullptr)) {
        error = std::string("Invalid PNG image: ") + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// A grey or colour sample of the transparency chunk, in 8 bits as the decoder widens samples.
std::uint8_t Sample8(const std::uint8_t* p, int bitDepth) {
    const unsigned value = unsigned(p[0]) << 8 | p[1];
    if (bitDepth == 16) return std::uint8_t(value >> 8);
    const unsigned top = (1u << bitDepth) - 1;
    return std::uint8_t((value & top) * 255 / top);
}

}  // namespace

bool ReadPngInfo(std::span<const std::uint8_t> data, TPngInfo& info) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    info = {};
    if (data.size() < 8 || std::memcmp(data.data(), kSignature, 8) != 0) return false;
    std::vector<std::uint8_t> palette;
    for (std::size_t at = 8; at + 8 <= data.size();) {
        const std::uint32_t length = BigEndian32(&data[at]);
        const char* type = reinterpret_cast<const char*>(&data[at + 4]);
        if (length > data.size() - at - 8) break;
        const std::uint8_t* body = &data[at + 8];
        if (std::memcmp(type, "IHDR", 4) == 0 && length >= 13) {
            info.BitDepth = body[8];
            info.ColorType = body[9];
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            palette.assign(body, body + length);
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            if (info.ColorType == 0 && length >= 2) {
                info.HasTransparentColor = true;
                info.TransparentRed = info.TransparentGreen = info.TransparentBlue =
                    Sample8(body, info.BitDepth);
            } else if (info.ColorType == 2 && length >= 6) {
                info.HasTransparentColor = true;
                info.TransparentRed = Sample8(body, info.BitDepth);
                info.TransparentGreen = Sample8(body + 2, info.BitDepth);
                info.TransparentBlue = Sample8(body + 4, info.BitDepth);
            } else if (info.ColorType == 3) {
                int clear = -1;
                for (std::uint32_t i = 0; i < length; ++i) {
                    if (body[i] != 0 && body[i] != 255) info.PartialTransparency = true;
                    if (body[i] == 0 && clear < 0) clear = int(i);
                }
                if (!info.PartialTransparency && clear >= 0 &&
                    std::size_t(clear) * 3 + 3 <= palette.size()) {
                    info.HasTransparentColor = true;
                    info.TransparentRed = palette[std::size_t(clear) * 3];
                    info.TransparentGreen = palette[std::size_t(clear) * 3 + 1];
                    info.TransparentBlue = palette[std::size_t(clear) * 3 + 2];
                }
            }
        } else if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0) {
            break;  // the transparency chunk comes before the pixels
        }
        at += 12 + std::size_t(length);
    }
    return info.ColorType >= 0;
}

namespace {

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<TBytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    *text = message;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

}  // namespace

bool WritePng(const TImage& image, int compressionLevel, unsigned filters, bool alpha, TBytes& out,
              std::string& error) {
    if (image.Width <= 0 || image.Height <= 0) {
        error = "PNG image is empty";
        return false;
    }
    // Rows are laid out before libpng runs, so nothing with a destructor lives past setjmp.
    const int channels = alpha ? 4 : 3;
    std::vector<std::uint8_t> pixels(std::size_t(image.Width) * image.Height * channels);
    std::vector<png_bytep> rows(std::size_t(image.Height));
    for (int y = 0; y < image.Height; ++y) {
        std::uint8_t* row = pixels.data() + std::size_t(y) * image.Width * channels;
        rows[y] = row;
        const std::uint32_t* src = image.Pixels.data() + std::size_t(y) * image.Width;
        for (int x = 0; x < image.Width; ++x, row += channels) {
            row[0] = std::uint8_t(src[x] >> 16);
            row[1] = std::uint8_t(src[x] >> 8);
            row[2] = std::uint8_t(src[x]);
            if (alpha) row[3] = std::uint8_t(src[x] >> 24);
        }
    }
    out.clear();
    std::string message;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "Can't start the PNG writer";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "Can't write the PNG image: " + message;
        return false;
    }
    png_set_write_fn(png, &out, WriteToVector, FlushNothing);
    png_set_IHDR(png, info, png_uint_32(image.Width), png_uint_32(image.Height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, compressionLevel < 0   ? 0
                                   : compressionLevel > 9 ? 9
                                                          : compressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, int(filters ? filters : PNG_ROW_FILTER_NONE));
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace gfx
