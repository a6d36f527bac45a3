// A DC over a fresh surface, with pixel read-back, for the drawing tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gfx/dc.h"

namespace gfx::test {

struct TTestSurface {
    HBITMAP Bitmap;
    TDC DC;

    TTestSurface(int width, int height, TColor fill = clWhite, int bitCount = 32)
        : Bitmap(CreateDIBSection(width, height, bitCount)), DC(Bitmap) {
        FillRect(&DC, {0, 0, width, height}, CreateSolidBrush(fill));
    }
    HDC Dc() { return &DC; }
    // The colour at (x, y) of the surface itself, ignoring origin and clip.
    TColor At(int x, int y) const {
        const std::uint8_t* p = Bitmap->ScanLine(y) + x * Bitmap->BytesPerPixel();
        return RGB(p[2], p[1], p[0]);
    }
    std::vector<TColor> Pixels() const {
        std::vector<TColor> out;
        for (int y = 0; y < Bitmap->Height(); ++y)
            for (int x = 0; x < Bitmap->Width(); ++x) out.push_back(At(x, y));
        return out;
    }
    // Bounds of every pixel that differs from `background`; empty when none.
    TRect Ink(TColor background = clWhite) const {
        TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int y = 0; y < Bitmap->Height(); ++y)
            for (int x = 0; x < Bitmap->Width(); ++x)
                if (At(x, y) != background) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r.IsEmpty() ? TRect{} : r;
    }
};

}  // namespace gfx::test
