// Surfaces: the pixel memory every device context draws into. 32-bit surfaces hold B, G, R, A
// bytes per pixel, top-down, pixel (x, y) at element y * Width + x; 24-bit ones hold B, G, R with
// each row padded to a multiple of 4 bytes, top-down. A surface belongs to whoever holds its
// handle; it is not locked, so one thread draws into it at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/types.h"

namespace gfx {

class TSurface {
public:
    // bitCount is 24 or 32; new pixels are all 0. Raises "Can't allocate the DIB handle" when the
    // size is negative or the memory can't be had.
    TSurface(int width, int height, int bitCount = 32);

    // Changes the size in place: the pixels both sizes share keep their places, new pixels are 0
    // (nothing of an earlier, larger size comes back). The memory is kept when the surface
    // shrinks and grows by half when it must grow, so a window dragged wider step by step rarely
    // allocates. Raises as the constructor does; the surface is unchanged then.
    void Resize(int width, int height);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitCount() const { return FBitCount; }
    int BytesPerPixel() const { return FBitCount / 8; }
    // Bytes from one row to the next.
    int Stride() const { return FStride; }
    TRect BoundsRect() const { return {0, 0, FWidth, FHeight}; }

    std::uint8_t* ScanLine(int y) { return Bytes() + std::size_t(y) * FStride; }
    const std::uint8_t* ScanLine(int y) const { return Bytes() + std::size_t(y) * FStride; }
    // 32-bit surfaces only.
    std::uint32_t* Pixels() { return FData.data(); }
    const std::uint32_t* Pixels() const { return FData.data(); }

private:
    std::uint8_t* Bytes() { return reinterpret_cast<std::uint8_t*>(FData.data()); }
    const std::uint8_t* Bytes() const {
        return reinterpret_cast<const std::uint8_t*>(FData.data());
    }

    int FWidth = 0;
    int FHeight = 0;
    int FBitCount = 32;
    int FStride = 0;
    std::vector<std::uint32_t> FData;
};

using HBITMAP = std::shared_ptr<TSurface>;

// A top-down surface of 24 or 32 bits; nullptr when the size is not positive or too large.
HBITMAP CreateDIBSection(int width, int height, int bitCount);

}  // namespace gfx
