// Pixel-level helpers shared by the drawing, text and image code of this module (not public).
#pragma once

#include <cstdint>

#include "platform/gfx/dc.h"

namespace gfx::detail {

// Drawn pixels carry alpha 0, as the classic calls leave it on 32-bit surfaces.
inline std::uint32_t ToPixel(TColor color) {
    const TColor c = ColorToRGB(color);
    return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 |
           std::uint32_t(GetBValue(c));
}
inline TColor FromPixel(std::uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// Spans of n pixels at (x, y); 32-bit values in the 0xAARRGGBB layout (24-bit surfaces read A 0).
void ReadSpan(const TSurface& s, int x, int y, int n, std::uint32_t* out);
void WriteSpan(TSurface& s, int x, int y, int n, const std::uint32_t* in);
void FillSpan(TSurface& s, int x, int y, int n, std::uint32_t pixel);

// Calls f(rect) for every part of a device rectangle inside the DC's visible region.
template <class F>
void ForEachVisible(const TDC& dc, const TRect& deviceRect, F f) {
    const TRegion& visible = dc.VisibleRegion();
    if (IntersectRect(deviceRect, visible.Bounds()).IsEmpty()) return;
    for (const TRect& r : visible.Rects()) {
        if (r.Top >= deviceRect.Bottom) break;
        const TRect part = IntersectRect(r, deviceRect);
        if (!part.IsEmpty()) f(part);
    }
}

void FillDevice(TDC& dc, const TRect& deviceRect, std::uint32_t pixel);
// FillDevice through the DC's mix mode (SetROP2).
void FillDeviceMix(TDC& dc, const TRect& deviceRect, std::uint32_t pixel);

// Lays a pixel over n destination pixels with per-pixel coverage 0..255.
void BlendCoverage(TSurface& s, int x, int y, int n, const std::uint8_t* coverage,
                   std::uint32_t pixel);

// Draws a straight-alpha 32-bit source over a device rectangle of the DC (nearest neighbour when
// the sizes differ); used for images that carry an alpha channel.
void BlendStretch(TDC& dc, const TRect& logicalDest, const TSurface& src, const TRect& srcRect);

}  // namespace gfx::detail
