#include "skin/core/skin_regions.h"

#include <cstring>

#include "skin/core/skin_images.h"

namespace skin {

TbsFBitmap::TbsFBitmap(const gfx::HBITMAP& hBmp) {
    Width = hBmp ? hBmp->Width() : 0;
    Height = hBmp ? hBmp->Height() : 0;
    Gap = Width % 4;
    RowInc = Width * 3 + Gap;
    Size = RowInc * Height;
    hDC = gfx::CreateCompatibleDC(nullptr);
    Handle = gfx::CreateDIBSection(Width, Height, 24);
    if (!Handle) {
        // No copy (out of memory): an empty picture, so a scan reads no rows that aren't there.
        Width = Height = Gap = RowInc = Size = 0;
        return;
    }
    gfx::SelectObject(hDC.get(), Handle);
    gfx::TDC source(hBmp);
    gfx::BitBlt(hDC.get(), 0, 0, Width, Height, &source, 0, 0, gfx::SRCCOPY);
    Pixels.resize(std::size_t(Height));
    for (int y = 0; y < Height; ++y) Pixels[std::size_t(y)] = Handle->ScanLine(y);
}

int MaskRunsToRegionData(gfx::TBitmap& mask, int x, int y, std::vector<std::uint8_t>& data) {
    if (mask.Empty()) return 0;
    const TbsFBitmap bits(mask.Handle());
    // A mask of a whole form can have far more runs than any fixed array would hold.
    std::vector<TRect> runs;
    for (int row = 0; row < bits.Height; ++row) {
        const std::uint8_t* p = bits.Pixels[std::size_t(row)];
        int c = 0;
        while (c < bits.Width) {
            while (c < bits.Width && (p[3 * c] | p[3 * c + 1] | p[3 * c + 2]) != 0) ++c;
            if (c == bits.Width) break;
            const int start = c;
            while (c < bits.Width && (p[3 * c] | p[3 * c + 1] | p[3 * c + 2]) == 0) ++c;
            runs.push_back({start + x, row + y, c + x, row + y + 1});
        }
    }
    TRegionDataHeader header;
    header.nCount = std::uint32_t(runs.size());
    header.rcBound = {x, y, x + bits.Width, y + bits.Height};
    const std::size_t size = sizeof header + runs.size() * sizeof(TRect);
    data.assign(size, 0);
    std::memcpy(data.data(), &header, sizeof header);
    if (!runs.empty())
        std::memcpy(data.data() + sizeof header, runs.data(), runs.size() * sizeof(TRect));
    return int(size);
}

namespace {

std::optional<gfx::TRegion> RegionOfMask(gfx::TBitmap& mask, int x, int y) {
    std::vector<std::uint8_t> data;
    if (MaskRunsToRegionData(mask, x, y, data) == 0) return std::nullopt;
    TRegionDataHeader header;
    std::memcpy(&header, data.data(), sizeof header);
    std::vector<TRect> rects(header.nCount);
    if (!rects.empty())
        std::memcpy(rects.data(), data.data() + sizeof header, rects.size() * sizeof(TRect));
    return gfx::ExtCreateRegion(rects);
}

}  // namespace

void MaskToRegion(std::optional<gfx::TRegion>& rgn, gfx::TBitmap& mask) {
    rgn = RegionOfMask(mask, 0, 0);
}

void SplitSkinBorderStrips(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& cl, TPoint nlt,
                           TPoint nrt, TPoint nlb, TPoint nrb, const TRect& ncl, gfx::TBitmap& mask,
                           gfx::TBitmap& topStrip, gfx::TBitmap& leftStrip,
                           gfx::TBitmap& rightStrip, gfx::TBitmap& bottomStrip, int newWidth, int) {
    const int w = mask.Width(), h = mask.Height(), nw = newWidth;

    // Sides: the edge tiled down the whole strip, then its end pieces at the top and bottom.
    auto side = [&](gfx::TBitmap& strip, int left, int right, int edgeTop, int edgeBottom) {
        const int sw = right - left, sh = ncl.Height();
        if (sw <= 0 || sh <= 0) return;
        strip.SetSize(sw, sh);
        if (edgeBottom != edgeTop)
            TilePiece(strip, mask, {left, edgeTop, right, edgeBottom}, {0, 0, sw, sh}, false, true);
        if (edgeTop > cl.Top)
            CopyPiece(strip, mask, {0, 0, sw, edgeTop - cl.Top}, {left, cl.Top, right, edgeTop});
        if (cl.Bottom > edgeBottom)
            CopyPiece(strip, mask, {0, sh - (cl.Bottom - edgeBottom), sw, sh},
                      {left, edgeBottom, right, cl.Bottom});
    };
    side(leftStrip, 0, cl.Left, lt.Y, lb.Y);
    side(rightStrip, cl.Right, w, rt.Y, rb.Y);

    // Top and bottom: the edge tiled between the new corner points, then the corners.
    auto band = [&](gfx::TBitmap& strip, int top, int bottom, int edgeLeft, int edgeRight,
                    int newLeft, int newRight) {
        const int sh = bottom - top;
        if (nw <= 0 || sh <= 0) return;
        strip.SetSize(nw, sh);
        if (edgeRight != edgeLeft)
            TilePiece(strip, mask, {edgeLeft, top, edgeRight, bottom}, {newLeft, 0, newRight, sh},
                      true, false);
        CopyPiece(strip, mask, {0, 0, edgeLeft, sh}, {0, top, edgeLeft, bottom});
        CopyPiece(strip, mask, {newRight, 0, nw, sh}, {edgeRight, top, w, bottom});
    };
    band(topStrip, 0, cl.Top, lt.X, rt.X, nlt.X, nrt.X);
    band(bottomStrip, cl.Bottom, h, lb.X, rb.X, nlb.X, nrb.X);
}

void BuildSkinWindowRegion(std::optional<gfx::TRegion>& rgn, TPoint lt, TPoint rt, TPoint lb,
                           TPoint rb, const TRect& cl, TPoint nlt, TPoint nrt, TPoint nlb,
                           TPoint nrb, const TRect& ncl, gfx::TBitmap& mask, int newWidth,
                           int newHeight) {
    rgn.reset();
    if (nrt.X < nlt.X || nlb.Y < nlt.Y) return;
    gfx::TBitmap top, left, right, bottom;
    SplitSkinBorderStrips(lt, rt, lb, rb, cl, nlt, nrt, nlb, nrb, ncl, mask, top, left, right,
                          bottom, newWidth, newHeight);
    if (!ncl.IsEmpty()) rgn = gfx::TRegion(ncl);
    const struct {
        gfx::TBitmap& Strip;
        TPoint At;
    } strips[] = {{top, {0, 0}},
                  {bottom, {0, ncl.Bottom}},
                  {left, {0, ncl.Top}},
                  {right, {ncl.Right, ncl.Top}}};
    for (const auto& s : strips) {
        std::optional<gfx::TRegion> part = RegionOfMask(s.Strip, s.At.X, s.At.Y);
        if (!part) continue;
        rgn = rgn ? rgn->Union(*part) : std::move(*part);
    }
}

}  // namespace skin
