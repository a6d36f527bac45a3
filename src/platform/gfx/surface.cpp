#include "platform/gfx/surface.h"

#include <new>

#include "platform/rtl/exception.h"

namespace gfx {

namespace {
// Keeps one surface below 1 GiB, so row offsets fit in an int and a corrupt size fails early.
constexpr std::int64_t kMaxSurfaceBytes = std::int64_t(1) << 30;
}  // namespace

TSurface::TSurface(int width, int height, int bitCount)
    : FWidth(width), FHeight(height), FBitCount(bitCount == 24 ? 24 : 32) {
    const std::int64_t stride = (std::int64_t(width) * (FBitCount / 8) + 3) & ~std::int64_t(3);
    if (width < 0 || height < 0 || stride * height > kMaxSurfaceBytes)
        throw rtl::Exception("Can't allocate the DIB handle");
    FStride = int(stride);
    try {
        FData.assign(std::size_t(stride / 4) * std::size_t(height), 0);
    } catch (const std::bad_alloc&) {
        throw rtl::Exception("Can't allocate the DIB handle");
    }
}

HBITMAP CreateDIBSection(int width, int height, int bitCount) {
    if (width <= 0 || height <= 0 || (bitCount != 24 && bitCount != 32)) return nullptr;
    try {
        return std::make_shared<TSurface>(width, height, bitCount);
    } catch (const rtl::Exception&) {
        return nullptr;
    }
}

}  // namespace gfx
