// A picture in memory with bitmap rows: top-down, 24 or 32 bits per pixel (B, G, R[, A]), rows
// padded to 4 bytes. The media components fill it from decoded frames.
//
// A plain value owned by one component and touched by one thread at a time. It stands in for the
// component library's bitmap until that exists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

class TFrameBitmap {
public:
    TFrameBitmap(int width, int height, int bitsPerPixel);

    // Keeps the pixels that stay inside; new pixels are black.
    void SetSize(int width, int height);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitsPerPixel() const { return FBitsPerPixel; }
    // Bytes per row, padded to 4.
    int RowSize() const { return RowSizeOf(FWidth, FBitsPerPixel); }
    uint8_t* ScanLine(int row) { return FPixels.data() + size_t(row) * size_t(RowSize()); }
    const uint8_t* ScanLine(int row) const {
        return FPixels.data() + size_t(row) * size_t(RowSize());
    }

    static int RowSizeOf(int width, int bitsPerPixel) {
        return (width * bitsPerPixel / 8 + 3) & ~3;
    }

private:
    int FWidth = 0;
    int FHeight = 0;
    int FBitsPerPixel;
    std::vector<uint8_t> FPixels;
};

}  // namespace media
