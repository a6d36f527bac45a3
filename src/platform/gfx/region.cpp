#include "platform/gfx/region.h"

#include <algorithm>

namespace gfx {

namespace {

struct TSpan {
    int Left;
    int Right;
};

// Appends band [top, bottom) and merges it into the previous band when that one ends at top
// with the same spans, so that equal areas always have equal rectangle lists.
class TBandWriter {
public:
    explicit TBandWriter(std::vector<TRect>& out) : FOut(out) {}

    void Add(int top, int bottom, const std::vector<TSpan>& spans) {
        if (spans.empty()) return;
        const size_t count = FOut.size() - FLastStart;
        if (FHasLast && FOut[FLastStart].Bottom == top && count == spans.size() &&
            std::equal(spans.begin(), spans.end(), FOut.begin() + long(FLastStart),
                       [](const TSpan& s, const TRect& r) {
                           return s.Left == r.Left && s.Right == r.Right;
                       })) {
            for (size_t i = FLastStart; i < FOut.size(); ++i) FOut[i].Bottom = bottom;
            return;
        }
        FLastStart = FOut.size();
        FHasLast = true;
        for (const TSpan& s : spans) FOut.push_back({s.Left, top, s.Right, bottom});
    }

private:
    std::vector<TRect>& FOut;
    size_t FLastStart = 0;
    bool FHasLast = false;
};

// Spans of the band of `rects` that covers row y, starting the search at `index`.
void SpansAt(const std::vector<TRect>& rects, size_t& index, int y, std::vector<TSpan>& spans) {
    spans.clear();
    while (index < rects.size() && rects[index].Bottom <= y) ++index;
    for (size_t i = index;
         i < rects.size() && rects[i].Top <= y && rects[i].Top == rects[index].Top; ++i)
        spans.push_back({rects[i].Left, rects[i].Right});
}

template <class TKeep>
void CombineSpans(const std::vector<TSpan>& a, const std::vector<TSpan>& b, TKeep keep,
                  std::vector<TSpan>& out) {
    out.clear();
    size_t i = 0, j = 0;
    int x = std::min(a.empty() ? INT32_MAX : a[0].Left, b.empty() ? INT32_MAX : b[0].Left);
    while (i < a.size() || j < b.size()) {
        const bool inA = i < a.size() && a[i].Left <= x;
        const bool inB = j < b.size() && b[j].Left <= x;
        int next = INT32_MAX;
        if (i < a.size()) next = std::min(next, inA ? a[i].Right : a[i].Left);
        if (j < b.size()) next = std::min(next, inB ? b[j].Right : b[j].Left);
        if (keep(inA, inB)) {
            if (!out.empty() && out.back().Right == x)
                out.back().Right = next;
            else
                out.push_back({x, next});
        }
        x = next;
        if (i < a.size() && a[i].Right <= x) ++i;
        if (j < b.size() && b[j].Right <= x) ++j;
    }
}

}  // namespace

TRegion::TRegion(const TRect& rect) {
    if (!rect.IsEmpty()) FRects.push_back(rect);
    UpdateBounds();
}

namespace {

// Rectangles already in band order: bands top to bottom without overlap, each band's spans left
// to right with gaps between them (mask scans give such lists).
bool InBandOrder(std::span<const TRect> rects) {
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const TRect& r = rects[i];
        if (r.IsEmpty()) return false;
        if (i == 0) continue;
        const TRect& p = rects[i - 1];
        const bool sameBand = r.Top == p.Top && r.Bottom == p.Bottom && r.Left > p.Right;
        if (!sameBand && r.Top < p.Bottom) return false;
    }
    return true;
}

}  // namespace

TRegion TRegion::FromRects(std::span<const TRect> rects) {
    if (rects.size() > 1 && InBandOrder(rects)) {
        // Linear: only equal neighbouring bands need merging.
        TRegion result;
        TBandWriter writer(result.FRects);
        std::vector<TSpan> spans;
        for (std::size_t i = 0; i < rects.size();) {
            spans.clear();
            const TRect& first = rects[i];
            for (; i < rects.size() && rects[i].Top == first.Top && rects[i].Bottom == first.Bottom;
                 ++i)
                spans.push_back({rects[i].Left, rects[i].Right});
            writer.Add(first.Top, first.Bottom, spans);
        }
        result.UpdateBounds();
        return result;
    }
    // Halving keeps the cost near n log n for any other long list.
    if (rects.size() <= 1) return rects.empty() ? TRegion() : TRegion(rects[0]);
    const size_t half = rects.size() / 2;
    return FromRects(rects.first(half)).Union(FromRects(rects.subspan(half)));
}

int TRegion::Complexity() const {
    return FRects.empty() ? NULLREGION : FRects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool TRegion::Contains(int x, int y) const {
    if (!FBounds.Contains(x, y)) return false;
    auto it = std::partition_point(FRects.begin(), FRects.end(),
                                   [y](const TRect& r) { return r.Bottom <= y; });
    for (; it != FRects.end() && it->Top <= y; ++it) {
        if (x < it->Left) return false;
        if (x < it->Right) return true;
    }
    return false;
}

bool TRegion::Intersects(const TRect& rect) const {
    if (IntersectRect(rect, FBounds).IsEmpty()) return false;
    auto it = std::partition_point(FRects.begin(), FRects.end(),
                                   [&](const TRect& r) { return r.Bottom <= rect.Top; });
    for (; it != FRects.end() && it->Top < rect.Bottom; ++it)
        if (!IntersectRect(*it, rect).IsEmpty()) return true;
    return false;
}

void TRegion::Offset(int dx, int dy) {
    for (TRect& r : FRects) r = r.Offset(dx, dy);
    UpdateBounds();
}

TRegion TRegion::Union(const TRegion& other) const {
    return Combine(*this, other, TOp::Or);
}
TRegion TRegion::Intersect(const TRegion& other) const {
    return Combine(*this, other, TOp::And);
}
TRegion TRegion::Subtract(const TRegion& other) const {
    return Combine(*this, other, TOp::Diff);
}
TRegion TRegion::Xor(const TRegion& other) const {
    return Combine(*this, other, TOp::Xor);
}

TRegion TRegion::Combine(const TRegion& a, const TRegion& b, TOp op) {
    // Regions that do not overlap need no band walk for what most callers ask.
    const bool apart = a.IsEmpty() || b.IsEmpty() || IntersectRect(a.FBounds, b.FBounds).IsEmpty();
    if (apart) {
        if (op == TOp::And) return TRegion();
        if (op == TOp::Diff || b.IsEmpty()) return a;
        if (a.IsEmpty()) return b;
    }
    if (op == TOp::And && (a.FRects.size() == 1 || b.FRects.size() == 1)) {
        // Clipping by one rectangle keeps the bands: one pass, no sorting.
        const TRegion& many = a.FRects.size() == 1 ? b : a;
        const TRect clip = a.FRects.size() == 1 ? a.FRects.front() : b.FRects.front();
        TRegion result;
        TBandWriter writer(result.FRects);
        std::vector<TSpan> spans;
        const std::vector<TRect>& rects = many.FRects;
        for (size_t i = 0; i < rects.size();) {
            const int top = std::max(rects[i].Top, clip.Top);
            const int bottom = std::min(rects[i].Bottom, clip.Bottom);
            spans.clear();
            size_t j = i;
            for (; j < rects.size() && rects[j].Top == rects[i].Top; ++j) {
                const int left = std::max(rects[j].Left, clip.Left);
                const int right = std::min(rects[j].Right, clip.Right);
                if (left < right) spans.push_back({left, right});
            }
            if (top < bottom) writer.Add(top, bottom, spans);
            i = j;
        }
        result.UpdateBounds();
        return result;
    }
    std::vector<int> ys;
    ys.reserve((a.FRects.size() + b.FRects.size()) * 2);
    for (const auto* list : {&a.FRects, &b.FRects})
        for (const TRect& r : *list) {
            ys.push_back(r.Top);
            ys.push_back(r.Bottom);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    auto keep = [op](bool inA, bool inB) {
        switch (op) {
            case TOp::Or:
                return inA || inB;
            case TOp::And:
                return inA && inB;
            case TOp::Diff:
                return inA && !inB;
            case TOp::Xor:
                return inA != inB;
        }
        return false;
    };
    TRegion result;
    TBandWriter writer(result.FRects);
    std::vector<TSpan> spansA, spansB, spans;
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        SpansAt(a.FRects, ia, ys[k], spansA);
        SpansAt(b.FRects, ib, ys[k], spansB);
        CombineSpans(spansA, spansB, keep, spans);
        writer.Add(ys[k], ys[k + 1], spans);
    }
    result.UpdateBounds();
    return result;
}

void TRegion::UpdateBounds() {
    if (FRects.empty()) {
        FBounds = {};
        return;
    }
    FBounds = {INT32_MAX, FRects.front().Top, INT32_MIN, FRects.back().Bottom};
    for (const TRect& r : FRects) {
        FBounds.Left = std::min(FBounds.Left, r.Left);
        FBounds.Right = std::max(FBounds.Right, r.Right);
    }
}

TRegion CreateRectRgn(int left, int top, int right, int bottom) {
    return TRegion(Rect(std::min(left, right), std::min(top, bottom), std::max(left, right),
                        std::max(top, bottom)));
}

TRegion CreateRectRgnIndirect(const TRect& rect) {
    return CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

TRegion ExtCreateRegion(std::span<const TRect> rects) {
    return TRegion::FromRects(rects);
}

int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode) {
    switch (mode) {
        case RGN_AND:
            dest = a.Intersect(b);
            break;
        case RGN_OR:
            dest = a.Union(b);
            break;
        case RGN_XOR:
            dest = a.Xor(b);
            break;
        case RGN_DIFF:
            dest = a.Subtract(b);
            break;
        case RGN_COPY:
            dest = a;
            break;
        default:
            return RGN_ERROR;
    }
    return dest.Complexity();
}

int OffsetRgn(TRegion& region, int dx, int dy) {
    region.Offset(dx, dy);
    return region.Complexity();
}

bool PtInRegion(const TRegion& region, int x, int y) {
    return region.Contains(x, y);
}
bool RectInRegion(const TRegion& region, const TRect& rect) {
    return region.Intersects(rect);
}

int GetRgnBox(const TRegion& region, TRect& box) {
    box = region.Bounds();
    return region.Complexity();
}

bool EqualRgn(const TRegion& a, const TRegion& b) {
    return a == b;
}

}  // namespace gfx
