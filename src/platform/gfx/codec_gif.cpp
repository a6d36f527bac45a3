#include "platform/gfx/codecs.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include <gif_lib.h>

namespace gfx {

namespace {

struct TGifSource {
    std::span<const std::uint8_t> Data;
    size_t Position = 0;
};

int ReadFromSpan(GifFileType* gif, GifByteType* buffer, int length) {
    auto* src = static_cast<TGifSource*>(gif->UserData);
    const size_t n = std::min(size_t(std::max(length, 0)), src->Data.size() - src->Position);
    // Empty input has no data pointer at all.
    if (n > 0) std::memcpy(buffer, src->Data.data() + src->Position, n);
    src->Position += n;
    return int(n);
}

int WriteToVector(GifFileType* gif, const GifByteType* buffer, int length) {
    auto* out = static_cast<TBytes*>(gif->UserData);
    out->insert(out->end(), buffer, buffer + length);
    return length;
}

bool Fail(std::string& error, const std::string& text) {
    error = text;
    return false;
}

// LZW codes are at least log2(n) bits for strings of up to n pixels, n <= 4096: no byte of
// the file stands for more pixels than this.
constexpr std::int64_t kMaxGifPixelsPerByte = 2731;
// A screen larger than its picture costs only this much without the data to back it.
constexpr std::int64_t kFreeScreenPixels = std::int64_t(1) << 20;

// Reads the first image of an open file onto the logical screen. Sizes the data cannot hold
// are refused before anything is allocated for them.
bool ReadFirstImage(GifFileType* gif, size_t dataSize, TImage& image, std::string& error) {
    const std::int64_t width = gif->SWidth, height = gif->SHeight;
    const std::int64_t dataPixels = std::int64_t(dataSize) * kMaxGifPixelsPerByte;
    if (width <= 0 || height <= 0 || width * height > kMaxImagePixels ||
        width * height > std::max(dataPixels, kFreeScreenPixels))
        return Fail(error, "GIF image size is not valid");
    int transparent = -1;
    GifRecordType type;
    do {
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) break;
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4 && (ext[1] & 1))
                transparent = ext[4];
            while (ext)
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR)
                    return Fail(error, "Invalid GIF image");
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR) break;
            const GifImageDesc& desc = gif->Image;
            const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
            if (!map || desc.Width <= 0 || desc.Height <= 0 ||
                std::int64_t(desc.Width) * desc.Height > kMaxImagePixels ||
                std::int64_t(desc.Width) * desc.Height > dataPixels)
                return Fail(error, "Invalid GIF image");
            image.Width = int(width);
            image.Height = int(height);
            image.BitCount = 8;
            image.HasAlpha = transparent >= 0;
            const std::uint32_t background = image.HasAlpha ? 0 : 0xFF000000u;
            image.Pixels.assign(std::size_t(width * height), background);
            std::vector<GifPixelType> line(std::size_t(desc.Width));
            auto storeRow = [&](int row) {
                const std::int64_t y = std::int64_t(desc.Top) + row;
                if (y < 0 || y >= height) return;
                for (int x = 0; x < desc.Width; ++x) {
                    const std::int64_t px = std::int64_t(desc.Left) + x;
                    const int index = line[std::size_t(x)];
                    if (px >= width || index == transparent) continue;
                    std::uint32_t value = 0xFF000000u;
                    if (index < map->ColorCount) {
                        const GifColorType& c = map->Colors[index];
                        value |= std::uint32_t(c.Red) << 16 | std::uint32_t(c.Green) << 8 | c.Blue;
                    }
                    image.Pixels[std::size_t(y * width + px)] = value;
                }
            };
            static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
            const int passes = desc.Interlace ? 4 : 1;
            for (int pass = 0; pass < passes; ++pass)
                for (int row = desc.Interlace ? kStart[pass] : 0; row < desc.Height;
                     row += desc.Interlace ? kStep[pass] : 1) {
                    if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR)
                        return Fail(error, "Invalid GIF image: the data is incomplete");
                    storeRow(row);
                }
            return true;
        }
    } while (type != TERMINATE_RECORD_TYPE);
    return Fail(error, "Invalid GIF image: no picture in the file");
}

}  // namespace

bool ReadGif(std::span<const std::uint8_t> data, TImage& image, std::string& error) {
    TGifSource source{data, 0};
    int code = 0;
    GifFileType* gif = DGifOpen(&source, ReadFromSpan, &code);
    if (!gif) return Fail(error, std::string("Invalid GIF image: ") + GifErrorString(code));
    const bool ok = ReadFirstImage(gif, data.size(), image, error);
    DGifCloseFile(gif, &code);
    return ok;
}

bool WriteGif(const TImage& image, TBytes& out, std::string& error) {
    if (image.Width <= 0 || image.Height <= 0) return Fail(error, "GIF image is empty");
    const size_t count = std::size_t(image.Width) * image.Height;
    std::vector<GifByteType> indices(count);
    std::vector<GifColorType> colors;
    std::unordered_map<std::uint32_t, GifByteType> exact;
    for (size_t i = 0; i < count && exact.size() <= 256; ++i) {
        const std::uint32_t rgb = image.Pixels[i] & 0x00FFFFFF;
        auto [it, added] = exact.try_emplace(rgb, GifByteType(exact.size()));
        if (added && exact.size() <= 256)
            colors.push_back({GifByteType(rgb >> 16), GifByteType(rgb >> 8), GifByteType(rgb)});
        indices[i] = it->second;
    }
    if (exact.size() > 256) {
        // Too many colours: the median-cut reduction of the library picks 256.
        std::vector<GifByteType> r(count), g(count), b(count);
        for (size_t i = 0; i < count; ++i) {
            r[i] = GifByteType(image.Pixels[i] >> 16);
            g[i] = GifByteType(image.Pixels[i] >> 8);
            b[i] = GifByteType(image.Pixels[i]);
        }
        int size = 256;
        colors.assign(256, {});
        if (GifQuantizeBuffer(unsigned(image.Width), unsigned(image.Height), &size, r.data(),
                              g.data(), b.data(), indices.data(), colors.data()) == GIF_ERROR)
            return Fail(error, "Can't reduce the colours of the GIF image");
        colors.resize(std::size_t(size));
    }
    const int bits = GifBitSize(int(colors.size()));
    colors.resize(std::size_t(1) << bits, GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
    if (!map) return Fail(error, "Can't write the GIF image");

    out.clear();
    int code = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &code);
    bool ok = gif != nullptr;
    if (ok) {
        EGifSetGifVersion(gif, true);
        ok = EGifPutScreenDesc(gif, image.Width, image.Height, bits, 0, map) != GIF_ERROR &&
             EGifPutImageDesc(gif, 0, 0, image.Width, image.Height, false, nullptr) != GIF_ERROR;
        for (int y = 0; ok && y < image.Height; ++y)
            ok = EGifPutLine(gif, indices.data() + std::size_t(y) * image.Width, image.Width) !=
                 GIF_ERROR;
        if (!ok) code = gif->Error;
        if (EGifCloseFile(gif, &code) == GIF_ERROR) ok = false;
    }
    GifFreeMapObject(map);
    if (!ok) return Fail(error, std::string("Can't write the GIF image: ") + GifErrorString(code));
    return true;
}

}  // namespace gfx
