// Image file codecs over byte buffers: BMP (read 1/4/8/24/32 bit, write 24/32), PNG (libpng),
// JPEG (libjpeg-turbo) and GIF (giflib). Readers refuse anything malformed or truncated with a
// reason and never throw; writers report library failures the same way. No shared state: any
// thread may use them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gfx {

// Decoded pixels: 32-bit values in B, G, R, A byte order, top-down, pixel (x, y) at
// y * Width + x. Without an alpha channel in the file, alpha is 255.
struct TImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    bool HasAlpha = false;
    int BitCount = 24;  // bits per pixel of the file read
};

// The largest picture the readers accept (64 M pixels), so a lying header can't exhaust memory.
constexpr std::int64_t kMaxImagePixels = std::int64_t(1) << 26;

using TBytes = std::vector<std::uint8_t>;

bool ReadBmp(std::span<const std::uint8_t> data, TImage& image, std::string& error);
// bitCount 24 or 32 (32 keeps the alpha bytes); bottom-up rows as the format has them.
bool WriteBmp(const TImage& image, int bitCount, TBytes& out, std::string& error);

// The PNG row filters, as libpng numbers them, to combine with |.
enum : unsigned {
    PNG_ROW_FILTER_NONE = 0x08,
    PNG_ROW_FILTER_SUB = 0x10,
    PNG_ROW_FILTER_UP = 0x20,
    PNG_ROW_FILTER_AVG = 0x40,
    PNG_ROW_FILTER_PAETH = 0x80,
};
bool ReadPng(std::span<const std::uint8_t> data, TImage& image, std::string& error);
// Colour types of a PNG header.
enum : int { pctGrey = 0, pctRgb = 2, pctPalette = 3, pctGreyAlpha = 4, pctRgbAlpha = 6 };
// What a PNG file's header and transparency chunk say. Palette transparency is a single colour
// (the first fully transparent entry) when every entry is either fully transparent or opaque.
struct TPngInfo {
    int ColorType = -1;  // pct*, as in the header
    int BitDepth = 0;
    bool HasTransparentColor = false;
    bool PartialTransparency = false;
    std::uint8_t TransparentRed = 0, TransparentGreen = 0, TransparentBlue = 0;
};
// False for data that is not a PNG file or has no header; reads no pixels.
bool ReadPngInfo(std::span<const std::uint8_t> data, TPngInfo& info);
// Level 0..9; with alpha the image is written RGBA, else RGB.
bool WritePng(const TImage& image, int compressionLevel, unsigned filters, bool alpha, TBytes& out,
              std::string& error);

bool ReadJpeg(std::span<const std::uint8_t> data, TImage& image, std::string& error);
bool WriteJpeg(const TImage& image, int quality, TBytes& out, std::string& error);

// Reads the first picture of the file; a transparent colour index becomes alpha 0.
bool ReadGif(std::span<const std::uint8_t> data, TImage& image, std::string& error);
// Up to 256 colours are kept exactly; more are reduced to a 256-colour palette.
bool WriteGif(const TImage& image, TBytes& out, std::string& error);

}  // namespace gfx
