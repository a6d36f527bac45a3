#include "skin/core/layered_windows.h"

#include "platform/win/win.h"
#include "skin/core/system_routines.h"

namespace skin {

void AlphaFromMask(TbsBitmap& image, TbsBitmap& mask) {
    const int w = std::min(image.Width(), mask.Width());
    const int h = std::min(image.Height(), mask.Height());
    for (int y = 0; y < h; ++y) {
        TbsColor* p = image.ScanLine(y);
        const TbsColor* m = mask.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t sum = (m[x] & 0xFF) + (m[x] >> 8 & 0xFF) + (m[x] >> 16 & 0xFF);
            p[x] = (p[x] & 0x00FFFFFFu) | (sum / 3) << 24;
        }
    }
}

void ComposeImageWithMask(gfx::TBitmap& image, gfx::TBitmap& mask, TbsBitmap& dest) {
    dest.Assign(image);
    TbsBitmap alpha;
    alpha.Assign(mask);
    AlphaFromMask(dest, alpha);
}

void ApplyWindowAlpha(win::HWND wnd, std::uint8_t alpha) {
    if (!OsIsW2kUp()) return;
    win::SetLayeredWindowAttributes(wnd, 0, alpha, win::LWA_ALPHA);
}

namespace {

// x / 255 rounded to nearest, for x up to 255 * 255.
inline std::uint32_t Div255(std::uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

}  // namespace

void PushLayeredBitmap(TbsBitmap& bitmap, std::uint8_t alpha, win::HWND wnd, gfx::TPoint position) {
    if (!OsIsW2kUp() || bitmap.Empty()) return;
    // The window layer takes premultiplied pixels; ours are straight.
    gfx::TSurface image(bitmap.Width(), bitmap.Height(), 32);
    const TbsColor* src = bitmap.Bits();
    std::uint32_t* dst = image.Pixels();
    for (std::size_t i = 0, n = std::size_t(bitmap.Width()) * bitmap.Height(); i < n; ++i) {
        const std::uint32_t p = src[i], a = p >> 24;
        dst[i] = a << 24 | Div255((p >> 16 & 0xFF) * a) << 16 | Div255((p >> 8 & 0xFF) * a) << 8 |
                 Div255((p & 0xFF) * a);
    }
    const win::TSize size{bitmap.Width(), bitmap.Height()};
    win::BLENDFUNCTION blend;
    blend.BlendOp = win::AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = alpha;
    blend.AlphaFormat = win::AC_SRC_ALPHA;
    win::UpdateLayeredWindow(wnd, &position, &size, image, {0, 0}, 0, blend, win::ULW_ALPHA);
}

}  // namespace skin
