#include "media/libs/frame_bitmap.h"

#include <algorithm>
#include <cstring>

namespace media {

TFrameBitmap::TFrameBitmap(int width, int height, int bitsPerPixel) : FBitsPerPixel(bitsPerPixel) {
    SetSize(width, height);
}

void TFrameBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight) return;
    int newRowSize = RowSizeOf(width, FBitsPerPixel);
    std::vector<uint8_t> pixels(size_t(newRowSize) * size_t(height));
    int keepRows = std::min(height, FHeight);
    int keepBytes = std::min(newRowSize, RowSize());
    for (int row = 0; row < keepRows; ++row)
        std::memcpy(pixels.data() + size_t(row) * size_t(newRowSize), ScanLine(row),
                    size_t(keepBytes));
    FPixels = std::move(pixels);
    FWidth = width;
    FHeight = height;
}

}  // namespace media
