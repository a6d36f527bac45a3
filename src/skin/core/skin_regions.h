// Window regions from skin mask pictures: a black pixel (red + green + blue = 0) of a mask is
// inside the shape, every other colour outside. A whole mask becomes a region at its own size;
// a window mask is rebuilt for a new window size from its four border strips and the client
// rectangle, so a large window never needs a mask of its full size. Regions are gfx values:
// callers hand them to win::SetWindowRgn, which keeps its own copy; "no region" is nullopt.
// Main thread.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gfx/dc.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/region.h"

namespace skin {

using gfx::TPoint;
using gfx::TRect;

// A 24-bit top-down copy of a bitmap (B, G, R bytes per pixel) with a table of row pointers,
// for scans that read every pixel directly.
class TbsFBitmap {
public:
    explicit TbsFBitmap(const gfx::HBITMAP& hBmp);
    TbsFBitmap(const TbsFBitmap&) = delete;
    TbsFBitmap& operator=(const TbsFBitmap&) = delete;

    std::vector<std::uint8_t*> Pixels;  // Height rows, row 0 first
    int Gap = 0;                        // padding at the end of a row: Width mod 4
    int RowInc = 0;                     // Width * 3 + Gap, a multiple of 4
    int Size = 0;                       // RowInc * Height
    int Width = 0;
    int Height = 0;
    gfx::HBITMAP Handle;
    std::unique_ptr<gfx::TDC> hDC;  // the section is selected into it
};

// Region data as the region call takes it: a 32-byte header, then nCount rectangles of 16 bytes.
struct TRegionDataHeader {
    std::uint32_t dwSize = 32;
    std::uint32_t iType = 1;  // rectangles
    std::uint32_t nCount = 0;
    std::uint32_t nRgnSize = 0;
    TRect rcBound;
};
static_assert(sizeof(TRegionDataHeader) == 32 && sizeof(TRect) == 16);

// Every run of black pixels of a mask row, columns [c, e), becomes the rectangle
// (c + x, row + y, e + x, row + y + 1); rows are never merged. data := header and rectangles,
// the bound being (x, y, x + width, y + height). Returns data's size in bytes; 0 for an empty
// mask, data untouched.
int MaskRunsToRegionData(gfx::TBitmap& mask, int x, int y, std::vector<std::uint8_t>& data);
// rgn := the mask's region at offset (0, 0); nullopt for an empty mask.
void MaskToRegion(std::optional<gfx::TRegion>& rgn, gfx::TBitmap& mask);

// The four border strips of a window mask at a new window size, each tiled (never stretched)
// from the mask; a strip with a size of 0 is left as it was. newHeight is not used.
void SplitSkinBorderStrips(TPoint ltPt, TPoint rtPt, TPoint lbPt, TPoint rbPt, const TRect& clRect,
                           TPoint newLtPt, TPoint newRtPt, TPoint newLbPt, TPoint newRbPt,
                           const TRect& newClRect, gfx::TBitmap& mask, gfx::TBitmap& topStrip,
                           gfx::TBitmap& leftStrip, gfx::TBitmap& rightStrip,
                           gfx::TBitmap& bottomStrip, int newWidth, int newHeight);
// rgn := the window's region at the new size: the client rectangle and the shapes of the four
// border strips at their places. nullopt when the new points run backwards or nothing is left.
void BuildSkinWindowRegion(std::optional<gfx::TRegion>& rgn, TPoint ltPt, TPoint rtPt, TPoint lbPt,
                           TPoint rbPt, const TRect& clRect, TPoint newLtPt, TPoint newRtPt,
                           TPoint newLbPt, TPoint newRbPt, const TRect& newClRect,
                           gfx::TBitmap& mask, int newWidth, int newHeight);

}  // namespace skin
