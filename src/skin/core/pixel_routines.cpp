#include "skin/core/pixel_routines.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/core/bs_bitmap.h"
#include "skin/core/system_routines.h"

namespace skin {

using gfx::TRect;

// ---- row routines ----------------------------------------------------------------------------

// Both variants work on two channels at once: red and blue in one word, green and alpha in
// another. Every lane's sum stays below 65536, so no lane carries into the next.
void BlendPixelRowPlain(const TbsColor* src, TbsColor* dst, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint32_t f = src[i], b = dst[i];
        const std::uint32_t a = f >> 24, ia = 255 - a;
        const std::uint32_t rb = (((f & 0x00FF00FF) * a + (b & 0x00FF00FF) * ia) >> 8) & 0x00FF00FF;
        const std::uint32_t g = (((f & 0x0000FF00) * a + (b & 0x0000FF00) * ia) >> 8) & 0x0000FF00;
        const std::uint32_t mixed = 0xFF000000 | rb | g;
        dst[i] = a == 0 ? b : a == 255 ? f : mixed;
    }
}

void BlendPixelRowMmx(const TbsColor* src, TbsColor* dst, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint32_t f = src[i], b = dst[i];
        const std::uint32_t a = f >> 24, ia = 256 - a;
        const std::uint32_t rb = (((b & 0x00FF00FF) * ia + (f & 0x00FF00FF) * a) >> 8) & 0x00FF00FF;
        const std::uint32_t ag =
            (((b >> 8) & 0x00FF00FF) * ia + ((f >> 8) & 0x00FF00FF) * a) & 0xFF00FF00;
        const std::uint32_t mixed = rb | ag;
        dst[i] = a == 0 ? b : a == 255 ? f : mixed;
    }
}

namespace {

void CopyKeyedPixelRow(const TbsColor* src, TbsColor* dst, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint32_t f = src[i];
        dst[i] = (f & 0x00FFFFFF) == SkinKeyColor ? dst[i] : f | 0xFF000000;
    }
}

void MovePixels(const TbsColor* src, TbsColor* dst, int count) {
    if (count <= 0 || src == dst) return;
    std::memmove(dst, src, std::size_t(count) * sizeof(TbsColor));
}

void SetPixelsAlpha(TbsColor* dst, int count, std::uint8_t alpha) {
    const std::uint32_t high = std::uint32_t(alpha) << 24;
    for (int i = 0; i < count; ++i) dst[i] = (dst[i] & 0x00FFFFFF) | high;
}

// ---- into another bitmap ---------------------------------------------------------------------

// Cuts the clip to the target and to d; false when nothing is to be drawn, including a source
// rectangle that is empty or reaches outside the source bitmap.
bool PrepareRects(const TbsBitmap& dst, const TRect& d, TRect& c, const TRect& s,
                  const TbsBitmap& src) {
    if (s.IsEmpty() || dst.Empty() || src.Empty()) return false;
    c = gfx::IntersectRect(gfx::IntersectRect(c, {0, 0, dst.Width(), dst.Height()}), d);
    if (c.IsEmpty()) return false;
    return s.Left >= 0 && s.Top >= 0 && s.Right <= src.Width() && s.Bottom <= src.Height();
}

// Same size: C's rows from the matching place of the source.
void SameSize(TbsBitmap& dst, const TRect& d, const TRect& c, const TRect& s, TbsBitmap& src,
              TPixelRowProc row) {
    const int sx = s.Left + c.Left - d.Left, n = c.Width();
    for (int y = c.Top; y < c.Bottom; ++y)
        row(src.ScanLine(s.Top + y - d.Top) + sx, dst.ScanLine(y) + c.Left, n);
}

template <TPixelRowProc TPixelRoutines::*Row>
void SameSizeTo(TbsBitmap& dst, const TRect& d, const TRect& clip, const TRect& s, TbsBitmap& src) {
    TRect c = clip;
    if (PrepareRects(dst, d, c, s, src)) SameSize(dst, d, c, s, src, PixelRoutineTable.*Row);
}

// Nearest neighbour: the source index for target positions first..last of a target span d
// (d0, length dn) over a source span (s0, length sn).
std::vector<int> SampleMap(int first, int last, int d0, int dn, int s0, int sn) {
    std::vector<int> map(std::size_t(std::max(0, last - first)));
    if (dn < 2) {
        std::fill(map.begin(), map.end(), (s0 + s0 + sn - 1) / 2);
        return map;
    }
    const float scale = float(sn - 1) / float(dn - 1);
    for (int i = first; i < last; ++i) {
        const int v = int(double(i - d0) * double(scale) + s0);
        map[std::size_t(i - first)] = std::clamp(v, s0, s0 + sn - 1);
    }
    return map;
}

enum class TStretchKind { Opaque, Blend, Keyed };

template <TStretchKind Kind>
void StretchTo(TbsBitmap& dst, const TRect& d, const TRect& clip, const TRect& s, TbsBitmap& src) {
    TRect c = clip;
    if (!PrepareRects(dst, d, c, s, src)) return;
    const TPixelRoutines& t = PixelRoutineTable;
    if (d.Width() == s.Width() && d.Height() == s.Height()) {
        SameSize(dst, d, c, s, src,
                 Kind == TStretchKind::Opaque  ? t.MovePixels
                 : Kind == TStretchKind::Blend ? t.BlendPixelRow
                                               : t.CopyKeyedPixelRow);
        return;
    }
    const std::vector<int> cols = SampleMap(c.Left, c.Right, d.Left, d.Width(), s.Left, s.Width());
    const std::vector<int> rows = SampleMap(c.Top, c.Bottom, d.Top, d.Height(), s.Top, s.Height());
    const int n = c.Width();
    std::vector<TbsColor> sampled(Kind == TStretchKind::Opaque ? 0 : std::size_t(n));
    int previous = -1;
    for (int y = c.Top; y < c.Bottom; ++y) {
        const int sy = rows[std::size_t(y - c.Top)];
        TbsColor* out = dst.ScanLine(y) + c.Left;
        if (Kind == TStretchKind::Opaque && sy == previous) {
            t.MovePixels(out - dst.Width(), out, n);
            continue;
        }
        TbsColor* into = Kind == TStretchKind::Opaque ? out : sampled.data();
        if (sy != previous) {
            const TbsColor* from = src.ScanLine(sy);
            for (int i = 0; i < n; ++i) into[i] = from[cols[std::size_t(i)]];
            previous = sy;
        }
        if (Kind == TStretchKind::Blend) t.BlendPixelRow(sampled.data(), out, n);
        if (Kind == TStretchKind::Keyed) t.CopyKeyedPixelRow(sampled.data(), out, n);
    }
    LeaveMmxState();
}

// ---- onto a device context -------------------------------------------------------------------

void StretchToDC(gfx::HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                 int srcHeight, TbsBitmap& src) {
    gfx::SetStretchBltMode(dc, gfx::COLORONCOLOR);
    gfx::StretchBlt(dc, x, y, width, height, src.DC(), srcX, srcY, srcWidth, srcHeight,
                    gfx::SRCCOPY);
}

// What the DC shows under the rectangle is taken into a scratch bitmap, composed there by the
// source's own flags, and put back.
void ComposeToDC(gfx::HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                 int srcHeight, TbsBitmap& src) {
    if (width <= 0 || height <= 0) return;
    TbsBitmap scratch;
    scratch.SetSize(width, height);
    gfx::BitBlt(scratch.DC(), 0, 0, width, height, dc, x, y, gfx::SRCCOPY);
    DrawBitmapByFlags(scratch, {0, 0, width, height}, gfx::Bounds(srcX, srcY, srcWidth, srcHeight),
                      src);
    gfx::BitBlt(dc, x, y, width, height, scratch.DC(), 0, 0, gfx::SRCCOPY);
}

}  // namespace

void DrawBitmapByFlags(TbsBitmap& dst, const TRect& d, const TRect& s, TbsBitmap& src) {
    const TDrawToBitmapProc proc = src.AlphaBlend    ? PixelRoutineTable.StretchBlendToBitmap
                                   : src.Transparent ? PixelRoutineTable.StretchKeyedToBitmap
                                                     : PixelRoutineTable.StretchToBitmap;
    proc(dst, d, d, s, src);
}

// ---- the table -------------------------------------------------------------------------------

constinit TPixelRoutines PixelRoutineTable{
    BlendPixelRowPlain,
    CopyKeyedPixelRow,
    MovePixels,
    SetPixelsAlpha,
    StretchToDC,
    ComposeToDC,
    ComposeToDC,
    SameSizeTo<&TPixelRoutines::MovePixels>,
    SameSizeTo<&TPixelRoutines::BlendPixelRow>,
    SameSizeTo<&TPixelRoutines::CopyKeyedPixelRow>,
    StretchTo<TStretchKind::Opaque>,
    StretchTo<TStretchKind::Blend>,
    StretchTo<TStretchKind::Keyed>,
};

bool PickPixelRoutines(bool useMmx) {
    PixelRoutineTable.BlendPixelRow = useMmx ? BlendPixelRowMmx : BlendPixelRowPlain;
    PixelRoutineTable.CopyKeyedPixelRow = CopyKeyedPixelRow;
    PixelRoutineTable.MovePixels = MovePixels;
    PixelRoutineTable.SetPixelsAlpha = SetPixelsAlpha;
    return useMmx;
}

bool PickPixelRoutines() {
    return PickPixelRoutines(CpuHasMmx());
}

void PickDrawRoutines() {
    TPixelRoutines& t = PixelRoutineTable;
    t.StretchToDC = StretchToDC;
    t.BlendToDC = ComposeToDC;
    t.KeyedToDC = ComposeToDC;
    t.CopyRowsToBitmap = SameSizeTo<&TPixelRoutines::MovePixels>;
    t.BlendRowsToBitmap = SameSizeTo<&TPixelRoutines::BlendPixelRow>;
    t.CopyKeyedRowsToBitmap = SameSizeTo<&TPixelRoutines::CopyKeyedPixelRow>;
    t.StretchToBitmap = StretchTo<TStretchKind::Opaque>;
    t.StretchBlendToBitmap = StretchTo<TStretchKind::Blend>;
    t.StretchKeyedToBitmap = StretchTo<TStretchKind::Keyed>;
}

namespace {
// The choice is made once, before main; until then the table already holds the plain variant.
const bool kPicked = (PickPixelRoutines(), PickDrawRoutines(), true);
}  // namespace

}  // namespace skin
