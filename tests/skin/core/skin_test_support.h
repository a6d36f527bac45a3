// Small helpers of the skin core tests: bitmaps filled from pixel lists and read back, and a
// scope that runs a test with one blend variant in the routine table.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/bs_bitmap.h"
#include "skin/core/pixel_routines.h"
#include "skin/core/system_routines.h"

namespace skin::test {

// Picks a blend variant for the scope, then the start-up choice again.
class TBlendVariant {
public:
    explicit TBlendVariant(bool mmx) { PickPixelRoutines(mmx); }
    ~TBlendVariant() { PickPixelRoutines(); }
    TBlendVariant(const TBlendVariant&) = delete;
    TBlendVariant& operator=(const TBlendVariant&) = delete;
};

inline void Fill(TbsBitmap& b, TbsColor c) {
    std::fill(b.Bits(), b.Bits() + std::size_t(b.Width()) * b.Height(), c);
}

inline TbsColor At(const TbsBitmap& b, int x, int y) {
    return b.Bits()[std::size_t(y) * b.Width() + x];
}

inline void Put(TbsBitmap& b, int x, int y, TbsColor c) {
    b.Bits()[std::size_t(y) * b.Width() + x] = c;
}

inline int Red(TbsColor c) {
    return int(c >> 16 & 0xFF);
}
inline int Alpha(TbsColor c) {
    return int(c >> 24);
}

// One row of pixels as a w x 1 bitmap.
inline void Row(TbsBitmap& b, const std::vector<TbsColor>& pixels) {
    b.SetSize(int(pixels.size()), 1);
    std::copy(pixels.begin(), pixels.end(), b.Bits());
}

}  // namespace skin::test
