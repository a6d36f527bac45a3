#include "skin/core/png_image_list.h"

#include <algorithm>

namespace skin {

namespace {

// a / 256 * (value + 1), halves to even.
std::uint8_t ScaledAlpha(int a, int value) {
    const int n = a * (value + 1);
    int q = n / 256;
    const int r = n % 256;
    if (r > 128 || (r == 128 && q % 2 == 1)) ++q;
    return std::uint8_t(std::clamp(q, 0, 255));
}

}  // namespace

void ScalePngAlpha(gfx::TPngImage& png, int value) {
    if (png.Empty()) return;
    const bool bitMode = png.TransparencyMode() == gfx::ptmBit;
    const gfx::TColor clear = png.TransparentColor();
    const int w = png.Width(), h = png.Height();
    switch (png.ColorType()) {
        case gfx::pctGrey:
        case gfx::pctPalette: {
            gfx::TPngImage rgba;
            rgba.CreateBlank(gfx::pctRgbAlpha, w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const gfx::TColor c = png.Pixel(x, y);
                    rgba.SetPixel(x, y, c);
                    rgba.SetAlpha(
                        x, y, bitMode && c == clear ? 0 : std::uint8_t(std::clamp(value, 0, 255)));
                }
            png.Assign(rgba);
            return;
        }
        case gfx::pctRgb:
            png.CreateAlpha();
            break;
        case gfx::pctGreyAlpha:
        case gfx::pctRgbAlpha:
            break;
        default:
            return;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            png.SetAlpha(
                x, y,
                bitMode && png.Pixel(x, y) == clear ? 0 : ScaledAlpha(png.Alpha(x, y), value));
}

}  // namespace skin
