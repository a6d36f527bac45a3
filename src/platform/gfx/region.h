// Regions: areas kept as sorted, non-overlapping rectangle lists in bands (rectangles of a band
// share top and bottom and run left to right; bands run top to bottom and touching bands with
// the same spans are merged). Values, freely copied; no shared state.
#pragma once

#include <span>
#include <vector>

#include "platform/gfx/types.h"

namespace gfx {

// Results of the region calls: what the resulting region looks like.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

class TRegion {
public:
    TRegion() = default;
    explicit TRegion(const TRect& rect);
    // Any rectangles, in any order, overlapping or not; empty ones are ignored.
    static TRegion FromRects(std::span<const TRect> rects);

    const std::vector<TRect>& Rects() const { return FRects; }
    bool IsEmpty() const { return FRects.empty(); }
    TRect Bounds() const { return FBounds; }
    int Complexity() const;
    bool Contains(int x, int y) const;
    bool Intersects(const TRect& rect) const;
    void Offset(int dx, int dy);

    TRegion Union(const TRegion& other) const;
    TRegion Intersect(const TRegion& other) const;
    TRegion Subtract(const TRegion& other) const;
    TRegion Xor(const TRegion& other) const;

    friend bool operator==(const TRegion& a, const TRegion& b) { return a.FRects == b.FRects; }

private:
    enum class TOp { Or, And, Diff, Xor };
    static TRegion Combine(const TRegion& a, const TRegion& b, TOp op);
    void UpdateBounds();

    std::vector<TRect> FRects;
    TRect FBounds;
};

// The classic calls over regions.
TRegion CreateRectRgn(int left, int top, int right, int bottom);
TRegion CreateRectRgnIndirect(const TRect& rect);
TRegion ExtCreateRegion(std::span<const TRect> rects);
// dest := a <mode> b (RGN_COPY copies a); returns the kind of the result.
int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode);
int OffsetRgn(TRegion& region, int dx, int dy);
bool PtInRegion(const TRegion& region, int x, int y);
bool RectInRegion(const TRegion& region, const TRect& rect);
int GetRgnBox(const TRegion& region, TRect& box);
bool EqualRgn(const TRegion& a, const TRegion& b);

}  // namespace gfx
