#include "platform/gfx/codecs.h"

#include <bit>

namespace gfx {

namespace {

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}
void Put32(TBytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void Put16(TBytes& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

bool Fail(std::string& error, const char* text) {
    error = text;
    return false;
}

// One channel of a bit-field pixel scaled to 0..255.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t v = (value & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    const std::uint32_t max = (1u << bits) - 1;
    return (v * 255 + max / 2) / max;
}

constexpr std::uint32_t kBiRgb = 0, kBiBitfields = 3, kBiAlphaBitfields = 6;

}  // namespace

bool ReadBmp(std::span<const std::uint8_t> data, TImage& image, std::string& error) {
    const std::uint8_t* p = data.data();
    const size_t size = data.size();
    if (size < 26 || p[0] != 'B' || p[1] != 'M') return Fail(error, "Not a bitmap file");
    const std::uint32_t bitsOffset = U32(p + 10);
    const std::uint32_t headerSize = U32(p + 14);
    if (headerSize < 12 || headerSize > size - 14) return Fail(error, "Bitmap header is truncated");
    std::int64_t width, height;
    int bitCount;
    std::uint32_t compression = kBiRgb, colorsUsed = 0;
    const bool core = headerSize < 40;
    if (core) {
        width = U16(p + 18);
        height = U16(p + 20);
        bitCount = U16(p + 24);
    } else {
        width = std::int32_t(U32(p + 18));
        height = std::int32_t(U32(p + 22));
        bitCount = U16(p + 28);
        compression = U32(p + 30);
        colorsUsed = U32(p + 46);
    }
    const bool topDown = height < 0;
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width * height > kMaxImagePixels)
        return Fail(error, "Bitmap size is not valid");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return Fail(error, "Bitmap pixel format is not supported");

    // Bit fields follow a 40-byte header or sit inside the larger ones.
    std::uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    bool fields = false;
    size_t paletteAt = 14 + headerSize;
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        if (bitCount != 32) return Fail(error, "Bitmap pixel format is not supported");
        const int count = compression == kBiAlphaBitfields ? 4 : 3;
        const size_t at = headerSize >= 52 ? 54 : 14 + headerSize;
        if (at + size_t(count) * 4 > size) return Fail(error, "Bitmap header is truncated");
        for (int i = 0; i < count; ++i) masks[i] = U32(p + at + size_t(i) * 4);
        if (headerSize >= 56) masks[3] = U32(p + 66);
        if (headerSize == 40) paletteAt += size_t(count) * 4;
        fields = true;
    } else if (compression != kBiRgb) {
        return Fail(error, "Compressed bitmaps are not supported");
    }

    std::vector<std::uint32_t> palette;
    if (bitCount <= 8) {
        const std::uint32_t maxColors = 1u << bitCount;
        const std::uint32_t count = colorsUsed && colorsUsed < maxColors ? colorsUsed : maxColors;
        const size_t entry = core ? 3 : 4;
        if (paletteAt + count * entry > size) return Fail(error, "Bitmap palette is truncated");
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = p + paletteAt + i * entry;
            palette.push_back(0xFF000000u | std::uint32_t(e[0]) | std::uint32_t(e[1]) << 8 |
                              std::uint32_t(e[2]) << 16);
        }
    }

    const std::int64_t rowBytes = ((width * bitCount + 31) / 32) * 4;
    if (bitsOffset > size || rowBytes * height > std::int64_t(size - bitsOffset))
        return Fail(error, "Bitmap pixels are truncated");

    image.Width = int(width);
    image.Height = int(height);
    image.BitCount = bitCount;
    image.HasAlpha = fields && masks[3] != 0;
    image.Pixels.assign(std::size_t(width * height), 0);
    bool anyAlpha = false;
    for (std::int64_t row = 0; row < height; ++row) {
        const std::uint8_t* src = p + bitsOffset + row * rowBytes;
        std::uint32_t* dst =
            image.Pixels.data() + std::size_t(topDown ? row : height - 1 - row) * width;
        for (std::int64_t x = 0; x < width; ++x) {
            switch (bitCount) {
                case 1:
                case 4:
                case 8: {
                    const std::int64_t bit = x * bitCount;
                    const unsigned index =
                        (src[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                    dst[x] = index < palette.size() ? palette[index] : 0xFF000000u;
                    break;
                }
                case 24:
                    dst[x] = 0xFF000000u | std::uint32_t(src[x * 3]) |
                             std::uint32_t(src[x * 3 + 1]) << 8 |
                             std::uint32_t(src[x * 3 + 2]) << 16;
                    break;
                default: {
                    const std::uint32_t v = U32(src + x * 4);
                    if (fields) {
                        dst[x] = Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 |
                                 Channel(v, masks[2]) |
                                 (masks[3] ? Channel(v, masks[3]) << 24 : 0xFF000000u);
                    } else {
                        dst[x] = v;
                        anyAlpha |= (v >> 24) != 0;
                    }
                }
            }
        }
    }
    if (bitCount == 32 && !fields) image.HasAlpha = anyAlpha;
    return true;
}

bool WriteBmp(const TImage& image, int bitCount, TBytes& out, std::string& error) {
    if (bitCount != 24 && bitCount != 32)
        return Fail(error, "Bitmap pixel format is not supported");
    if (image.Width <= 0 || image.Height <= 0) return Fail(error, "Bitmap image is empty");
    const std::uint32_t rowBytes = ((std::uint32_t(image.Width) * bitCount + 31) / 32) * 4;
    const std::uint32_t bitsSize = rowBytes * std::uint32_t(image.Height);
    out.clear();
    out.reserve(54 + bitsSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + bitsSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, std::uint32_t(image.Width));
    Put32(out, std::uint32_t(image.Height));
    Put16(out, 1);
    Put16(out, std::uint16_t(bitCount));
    Put32(out, kBiRgb);
    Put32(out, bitsSize);
    Put32(out, 3780);  // 96 dots per inch
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.Height - 1; y >= 0; --y) {
        const std::uint32_t* row = image.Pixels.data() + std::size_t(y) * image.Width;
        const size_t start = out.size();
        for (int x = 0; x < image.Width; ++x) {
            out.push_back(std::uint8_t(row[x]));
            out.push_back(std::uint8_t(row[x] >> 8));
            out.push_back(std::uint8_t(row[x] >> 16));
            if (bitCount == 32) out.push_back(std::uint8_t(row[x] >> 24));
        }
        out.resize(start + rowBytes, 0);
    }
    return true;
}

}  // namespace gfx
