#include "platform/gfx/surface.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/rtl/exception.h"

namespace gfx {

namespace {
// Keeps one surface below 1 GiB, so row offsets fit in an int and a corrupt size fails early.
constexpr std::int64_t kMaxSurfaceBytes = std::int64_t(1) << 30;

std::int64_t RowBytes(int width, int bitCount) {
    return (std::int64_t(width) * (bitCount / 8) + 3) & ~std::int64_t(3);
}
}  // namespace

TSurface::TSurface(int width, int height, int bitCount)
    : FWidth(width), FHeight(height), FBitCount(bitCount == 24 ? 24 : 32) {
    const std::int64_t stride = RowBytes(width, FBitCount);
    if (width < 0 || height < 0 || stride * height > kMaxSurfaceBytes)
        throw rtl::Exception("Can't allocate the DIB handle");
    FStride = int(stride);
    try {
        FData.assign(std::size_t(stride / 4) * std::size_t(height), 0);
    } catch (const std::bad_alloc&) {
        throw rtl::Exception("Can't allocate the DIB handle");
    }
}

void TSurface::Resize(int width, int height) {
    if (width == FWidth && height == FHeight) return;
    const std::int64_t stride64 = RowBytes(width, FBitCount);
    if (width < 0 || height < 0 || stride64 * height > kMaxSurfaceBytes)
        throw rtl::Exception("Can't allocate the DIB handle");
    const std::size_t oldStride = std::size_t(FStride);
    const std::size_t stride = std::size_t(stride64);
    const std::size_t need = stride / 4 * std::size_t(height);
    // No bytes at all (and perhaps no buffer to point into): nothing to keep, move or clear.
    if (need == 0) {
        FData = {};
        FWidth = width;
        FHeight = height;
        FStride = int(stride);
        return;
    }
    const int rows = std::min(height, FHeight);
    const std::size_t keep = std::size_t(std::min(width, FWidth)) * std::size_t(BytesPerPixel());
    // Far smaller than the memory held (a restore after a maximise): give the memory back.
    if (need < FData.capacity() / 4) {
        TSurface smaller(width, height, FBitCount);
        for (int y = 0; y < rows; ++y) std::memcpy(smaller.ScanLine(y), ScanLine(y), keep);
        *this = std::move(smaller);
        return;
    }
    try {
        if (need > FData.capacity())
            FData.reserve(std::max(need, FData.capacity() + FData.capacity() / 2));
        if (need > FData.size()) FData.resize(need);
    } catch (const std::bad_alloc&) {
        throw rtl::Exception("Can't allocate the DIB handle");
    }
    // Rows move to their new offsets in the order that never overwrites a row not yet moved.
    std::uint8_t* bytes = Bytes();
    auto moveRow = [&](int y) {
        std::uint8_t* to = bytes + std::size_t(y) * stride;
        if (stride != oldStride) std::memmove(to, bytes + std::size_t(y) * oldStride, keep);
        std::memset(to + keep, 0, stride - keep);
    };
    if (stride > oldStride)
        for (int y = rows - 1; y >= 0; --y) moveRow(y);
    else
        for (int y = 0; y < rows; ++y) moveRow(y);
    // An empty surface has no bytes at all: nothing to clear, and no pointer to hand to memset.
    if (height > rows && stride > 0)
        std::memset(bytes + std::size_t(rows) * stride, 0, std::size_t(height - rows) * stride);
    FData.resize(need);
    FWidth = width;
    FHeight = height;
    FStride = int(stride);
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
