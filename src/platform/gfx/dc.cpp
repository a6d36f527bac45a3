#include "platform/gfx/dc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/gfx/paint.h"
#include "platform/rtl/exception.h"

namespace gfx {

using detail::FillDevice;
using detail::ToPixel;

// ---- TDC -------------------------------------------------------------------------------------

TDC::TDC(HBITMAP bitmap) {
    FState.Bitmap = std::move(bitmap);
}

TPoint TDC::Offset() const {
    return {FState.ViewportOrg.X - FState.WindowOrg.X, FState.ViewportOrg.Y - FState.WindowOrg.Y};
}

void TDC::SetSystemClip(std::optional<TRegion> region) {
    FSystemClip = std::move(region);
    FVisibleValid = false;
}

const TRegion& TDC::VisibleRegion() const {
    const TRect bounds = Surface() ? Surface()->BoundsRect() : TRect{};
    if (FVisibleValid && bounds == FVisibleFor) return FVisible;
    FVisible = TRegion(bounds);
    if (FSystemClip) FVisible = FVisible.Intersect(*FSystemClip);
    if (FState.Clip) FVisible = FVisible.Intersect(*FState.Clip);
    FVisibleFor = bounds;
    FVisibleValid = true;
    return FVisible;
}

int TDC::Save() {
    FSaved.push_back(FState);
    return int(FSaved.size());
}

bool TDC::Restore(int level) {
    const int target = level < 0 ? int(FSaved.size()) + level : level - 1;
    if (target < 0 || target >= int(FSaved.size())) return false;
    FState = std::move(FSaved[target]);
    FSaved.resize(target);
    FVisibleValid = false;
    return true;
}

std::unique_ptr<TDC> CreateCompatibleDC(HDC) {
    return std::make_unique<TDC>();
}

TDibDC CreateDibDC(int width, int height) {
    TDibDC result;
    result.Bitmap = CreateDIBSection(width, height, 32);
    if (!result.Bitmap) throw rtl::Exception("Can't allocate the DIB handle");
    result.DC = CreateCompatibleDC(nullptr);
    if (!result.DC) throw rtl::Exception("Can't create compatible DC");
    SelectObject(result.DC.get(), result.Bitmap);
    if (GetCurrentBitmap(result.DC.get()) != result.Bitmap)
        throw rtl::Exception("Can't bslect an object into DC");
    return result;
}

// ---- selection and state ----------------------------------------------------------------------

HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    HBITMAP old = std::move(dc->State().Bitmap);
    dc->State().Bitmap = std::move(bitmap);
    dc->ClipChanged();
    return old;
}

TLogPen SelectObject(HDC dc, const TLogPen& pen) {
    return std::exchange(dc->State().Pen, pen);
}
TLogBrush SelectObject(HDC dc, const TLogBrush& brush) {
    return std::exchange(dc->State().Brush, brush);
}
HFONT SelectObject(HDC dc, HFONT font) {
    return std::exchange(dc->State().Font, std::move(font));
}
HBITMAP GetCurrentBitmap(HDC dc) {
    return dc->State().Bitmap;
}
TLogPen CreatePen(int style, int width, TColor color) {
    return {style, width, color};
}
TLogBrush CreateSolidBrush(TColor color) {
    return {BS_SOLID, color};
}

int SaveDC(HDC dc) {
    return dc->Save();
}
bool RestoreDC(HDC dc, int level) {
    return dc->Restore(level);
}

namespace {
bool SetOrigin(TPoint& origin, int x, int y, TPoint* old) {
    if (old) *old = origin;
    origin = {x, y};
    return true;
}
}  // namespace

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) {
    return SetOrigin(dc->State().ViewportOrg, x, y, old);
}
bool GetViewportOrgEx(HDC dc, TPoint* origin) {
    *origin = dc->State().ViewportOrg;
    return true;
}
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old) {
    return SetOrigin(dc->State().WindowOrg, x, y, old);
}
bool GetWindowOrgEx(HDC dc, TPoint* origin) {
    *origin = dc->State().WindowOrg;
    return true;
}

namespace {
TRect ToDevice(HDC dc, const TRect& r) {
    const TPoint o = dc->Offset();
    return r.Offset(o.X, o.Y);
}
TRect Normalized(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}
// The clip as it stands: the selected region, or the whole surface when none is selected.
TRegion CurrentClip(HDC dc) {
    if (dc->State().Clip) return *dc->State().Clip;
    return TRegion(dc->Surface() ? dc->Surface()->BoundsRect() : TRect{});
}
int SetClip(HDC dc, TRegion region) {
    dc->State().Clip = std::move(region);
    dc->ClipChanged();
    return dc->VisibleRegion().Complexity();
}
}  // namespace

int SelectClipRgn(HDC dc, const TRegion* region) {
    if (!region) {
        dc->State().Clip.reset();
        dc->ClipChanged();
        return SIMPLEREGION;
    }
    return SetClip(dc, *region);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    const TRegion rect(ToDevice(dc, Normalized(left, top, right, bottom)));
    return SetClip(dc, CurrentClip(dc).Intersect(rect));
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    const TRegion rect(ToDevice(dc, Normalized(left, top, right, bottom)));
    return SetClip(dc, CurrentClip(dc).Subtract(rect));
}

int GetClipBox(HDC dc, TRect* rect) {
    const TRegion& visible = dc->VisibleRegion();
    const TPoint o = dc->Offset();
    *rect = visible.IsEmpty() ? TRect{} : visible.Bounds().Offset(-o.X, -o.Y);
    return visible.Complexity();
}

TColor SetTextColor(HDC dc, TColor color) {
    return std::exchange(dc->State().TextColor, color);
}
TColor GetTextColor(HDC dc) {
    return dc->State().TextColor;
}
TColor SetBkColor(HDC dc, TColor color) {
    return std::exchange(dc->State().BkColor, color);
}
TColor GetBkColor(HDC dc) {
    return dc->State().BkColor;
}
int SetBkMode(HDC dc, int mode) {
    return std::exchange(dc->State().BkMode, mode);
}
int GetBkMode(HDC dc) {
    return dc->State().BkMode;
}
int SetROP2(HDC dc, int mode) {
    if (mode < R2_BLACK || mode > R2_WHITE) return 0;
    return std::exchange(dc->State().Rop2, mode);
}
int GetROP2(HDC dc) {
    return dc->State().Rop2;
}

int SetStretchBltMode(HDC dc, int mode) {
    return std::exchange(dc->State().StretchMode, mode);
}

// ---- pixel helpers ---------------------------------------------------------------------------

namespace detail {

void ReadSpan(const TSurface& s, int x, int y, int n, std::uint32_t* out) {
    const std::uint8_t* p = s.ScanLine(y);
    if (s.BitCount() == 32) {
        std::memcpy(out, p + std::size_t(x) * 4, std::size_t(n) * 4);
        return;
    }
    p += std::size_t(x) * 3;
    for (int i = 0; i < n; ++i, p += 3)
        out[i] = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
}

void WriteSpan(TSurface& s, int x, int y, int n, const std::uint32_t* in) {
    std::uint8_t* p = s.ScanLine(y);
    if (s.BitCount() == 32) {
        std::memcpy(p + std::size_t(x) * 4, in, std::size_t(n) * 4);
        return;
    }
    p += std::size_t(x) * 3;
    for (int i = 0; i < n; ++i, p += 3) {
        p[0] = std::uint8_t(in[i]);
        p[1] = std::uint8_t(in[i] >> 8);
        p[2] = std::uint8_t(in[i] >> 16);
    }
}

void FillSpan(TSurface& s, int x, int y, int n, std::uint32_t pixel) {
    std::uint8_t* p = s.ScanLine(y);
    if (s.BitCount() == 32) {
        auto* q = reinterpret_cast<std::uint32_t*>(p) + x;
        std::fill(q, q + n, pixel);
        return;
    }
    p += std::size_t(x) * 3;
    for (int i = 0; i < n; ++i, p += 3) {
        p[0] = std::uint8_t(pixel);
        p[1] = std::uint8_t(pixel >> 8);
        p[2] = std::uint8_t(pixel >> 16);
    }
}

void FillDevice(TDC& dc, const TRect& deviceRect, std::uint32_t pixel) {
    TSurface* s = dc.Surface();
    if (!s) return;
    ForEachVisible(dc, deviceRect, [&](const TRect& r) {
        for (int y = r.Top; y < r.Bottom; ++y) FillSpan(*s, r.Left, y, r.Width(), pixel);
    });
}

void FillDeviceMix(TDC& dc, const TRect& deviceRect, std::uint32_t pixel) {
    const int mode = dc.State().Rop2;
    if (mode == R2_COPYPEN) {
        FillDevice(dc, deviceRect, pixel);
        return;
    }
    TSurface* s = dc.Surface();
    if (!s || mode == R2_NOP) return;
    // Bit i of (mode - 1) is the result for pen bit p and destination bit d with i = 2p + d.
    const unsigned table = unsigned(mode - 1);
    auto all = [&](int i) { return (table >> i) & 1 ? 0xFFFFFFu : 0u; };
    const std::uint32_t m0 = all(0), m1 = all(1), m2 = all(2), m3 = all(3);
    const std::uint32_t p = pixel & 0xFFFFFFu;
    std::vector<std::uint32_t> row;
    ForEachVisible(dc, deviceRect, [&](const TRect& r) {
        row.resize(std::size_t(r.Width()));
        for (int y = r.Top; y < r.Bottom; ++y) {
            ReadSpan(*s, r.Left, y, r.Width(), row.data());
            for (std::uint32_t& d : row) {
                const std::uint32_t dd = d & 0xFFFFFFu;
                d = (~p & ~dd & m0) | (~p & dd & m1) | (p & ~dd & m2) | (p & dd & m3);
            }
            WriteSpan(*s, r.Left, y, r.Width(), row.data());
        }
    });
}

void BlendCoverage(TSurface& s, int x, int y, int n, const std::uint8_t* coverage,
                   std::uint32_t pixel) {
    std::uint32_t row[256];
    while (n > 0) {
        const int count = std::min(n, 256);
        ReadSpan(s, x, y, count, row);
        for (int i = 0; i < count; ++i) {
            const std::uint32_t a = coverage[i];
            if (a == 0) continue;
            if (a == 255) {
                row[i] = pixel;
                continue;
            }
            std::uint32_t out = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const std::uint32_t d = (row[i] >> shift) & 0xFF, c = (pixel >> shift) & 0xFF;
                out |= ((c * a + d * (255 - a) + 127) / 255) << shift;
            }
            row[i] = out;
        }
        WriteSpan(s, x, y, count, row);
        x += count;
        coverage += count;
        n -= count;
    }
}

}  // namespace detail

// ---- block transfers -------------------------------------------------------------------------

namespace {

enum class TBlitMode { Rop, Keyed, Blend };

std::uint32_t ApplyRop(std::uint32_t rop, std::uint32_t s, std::uint32_t d) {
    switch (rop) {
        case SRCAND:
            return s & d;
        case SRCPAINT:
            return s | d;
        case SRCINVERT:
            return s ^ d;
        case NOTSRCCOPY:
            return ~s & 0x00FFFFFF;
        default:
            return s;
    }
}

std::uint32_t BlendStraight(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t a = s >> 24;
    if (a == 0) return d;
    if (a == 255) return (s & 0x00FFFFFF) | (d & 0xFF000000);
    std::uint32_t out = d & 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        out |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

// Source pixel for destination index i of n, nearest neighbour over a source span of m.
inline int MapIndex(int i, int n, int m) {
    return int((std::int64_t(2 * i + 1) * m) / (2 * n));
}

// Copies src rectangle `s` (device pixels of src) onto dst device rectangle `d`, stretched by
// nearest neighbour; destination pixels whose source lies outside the source surface stay.
void Transfer(TDC& dst, const TRect& d, const TSurface& src, const TRect& s, TBlitMode mode,
              std::uint32_t rop, std::uint32_t key) {
    TSurface* out = dst.Surface();
    if (!out || d.IsEmpty() || s.IsEmpty()) return;
    const int dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
    std::vector<int> colMap(dw);
    int firstCol = dw, lastCol = -1;
    for (int i = 0; i < dw; ++i) {
        colMap[i] = s.Left + MapIndex(i, dw, sw);
        if (colMap[i] >= 0 && colMap[i] < src.Width()) {
            firstCol = std::min(firstCol, i);
            lastCol = i;
        }
    }
    if (lastCol < firstCol) return;
    const TRect usable{d.Left + firstCol, d.Top, d.Left + lastCol + 1, d.Bottom};
    const bool sameSize = dw == sw && dh == sh;
    const int srcLeft = colMap[firstCol];
    const int srcSpan = colMap[lastCol] - srcLeft + 1;
    std::vector<std::uint32_t> srcRow(static_cast<std::size_t>(srcSpan));
    std::vector<std::uint32_t> row(static_cast<std::size_t>(dw)), dstRow;
    if (mode != TBlitMode::Rop || rop != SRCCOPY) dstRow.resize(std::size_t(dw));

    detail::ForEachVisible(dst, usable, [&](const TRect& part) {
        int loadedRow = -1;
        const int n = part.Width();
        for (int y = part.Top; y < part.Bottom; ++y) {
            const int sy = s.Top + MapIndex(y - d.Top, dh, sh);
            if (sy < 0 || sy >= src.Height()) continue;
            const std::uint32_t* values;
            if (sameSize) {
                if (src.BitCount() == 32) {
                    values =
                        src.Pixels() + std::size_t(sy) * src.Width() + (colMap[part.Left - d.Left]);
                } else {
                    detail::ReadSpan(src, colMap[part.Left - d.Left], sy, n, row.data());
                    values = row.data();
                }
            } else {
                if (sy != loadedRow) {
                    detail::ReadSpan(src, srcLeft, sy, srcSpan, srcRow.data());
                    loadedRow = sy;
                }
                for (int i = 0; i < n; ++i)
                    row[i] = srcRow[colMap[part.Left - d.Left + i] - srcLeft];
                values = row.data();
            }
            if (mode == TBlitMode::Rop && rop == SRCCOPY) {
                detail::WriteSpan(*out, part.Left, y, n, values);
                continue;
            }
            detail::ReadSpan(*out, part.Left, y, n, dstRow.data());
            for (int i = 0; i < n; ++i) {
                switch (mode) {
                    case TBlitMode::Rop:
                        dstRow[i] = ApplyRop(rop, values[i], dstRow[i]);
                        break;
                    case TBlitMode::Keyed:
                        if ((values[i] & 0x00FFFFFF) != key) dstRow[i] = values[i];
                        break;
                    case TBlitMode::Blend:
                        dstRow[i] = BlendStraight(values[i], dstRow[i]);
                        break;
                }
            }
            detail::WriteSpan(*out, part.Left, y, n, dstRow.data());
        }
    });
}

bool Blit(HDC dst, const TRect& logicalDest, HDC src, const TRect& logicalSrc, TBlitMode mode,
          std::uint32_t rop, std::uint32_t key) {
    if (!dst || logicalDest.IsEmpty()) return false;
    const TRect d = ToDevice(dst, logicalDest);
    switch (rop) {
        case BLACKNESS:
            FillDevice(*dst, d, 0);
            return true;
        case WHITENESS:
            FillDevice(*dst, d, 0x00FFFFFF);
            return true;
        case PATCOPY:
            if (dst->State().Brush.Style != BS_NULL)
                FillDevice(*dst, d, ToPixel(dst->State().Brush.Color));
            return true;
        case DSTINVERT:
            if (TSurface* s = dst->Surface())
                detail::ForEachVisible(*dst, d, [&](const TRect& r) {
                    std::vector<std::uint32_t> row(std::size_t(r.Width()));
                    for (int y = r.Top; y < r.Bottom; ++y) {
                        detail::ReadSpan(*s, r.Left, y, r.Width(), row.data());
                        for (auto& p : row) p ^= 0x00FFFFFF;
                        detail::WriteSpan(*s, r.Left, y, r.Width(), row.data());
                    }
                });
            return true;
        case SRCCOPY:
        case SRCAND:
        case SRCPAINT:
        case SRCINVERT:
        case NOTSRCCOPY:
            break;
        default:
            return false;
    }
    if (!src || !src->Surface() || logicalSrc.IsEmpty()) return false;
    const TRect s = ToDevice(src, logicalSrc);
    const TSurface& source = *src->Surface();
    if (&source != dst->Surface()) {
        Transfer(*dst, d, source, s, mode, rop, key);
        return true;
    }
    // Same surface: read the source back first, so overlapping copies see the old pixels.
    const TRect part = IntersectRect(s, source.BoundsRect());
    if (part.IsEmpty()) return true;
    TSurface copy(part.Width(), part.Height(), 32);
    for (int y = 0; y < part.Height(); ++y)
        detail::ReadSpan(source, part.Left, part.Top + y, part.Width(),
                         copy.Pixels() + std::size_t(y) * part.Width());
    Transfer(*dst, d, copy, s.Offset(-part.Left, -part.Top), mode, rop, key);
    return true;
}

}  // namespace

bool BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
            std::uint32_t rop) {
    return Blit(dst, Bounds(x, y, width, height), src, Bounds(srcX, srcY, width, height),
                TBlitMode::Rop, rop, 0);
}

bool StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, std::uint32_t rop) {
    return Blit(dst, Bounds(x, y, width, height), src, Bounds(srcX, srcY, srcWidth, srcHeight),
                TBlitMode::Rop, rop, 0);
}

bool TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                    int srcWidth, int srcHeight, TColor keyColor) {
    return Blit(dst, Bounds(x, y, width, height), src, Bounds(srcX, srcY, srcWidth, srcHeight),
                TBlitMode::Keyed, SRCCOPY, ToPixel(keyColor));
}

void detail::BlendStretch(TDC& dc, const TRect& logicalDest, const TSurface& src,
                          const TRect& srcRect) {
    Transfer(dc, ToDevice(&dc, logicalDest), src, srcRect, TBlitMode::Blend, SRCCOPY, 0);
}

// ---- shapes ----------------------------------------------------------------------------------

int FillRect(HDC dc, const TRect& rect, const TLogBrush& brush) {
    if (brush.Style == BS_NULL || rect.IsEmpty()) return 1;
    FillDevice(*dc, ToDevice(dc, rect), ToPixel(brush.Color));
    return 1;
}

int FrameRect(HDC dc, const TRect& rect, const TLogBrush& brush) {
    if (brush.Style == BS_NULL || rect.IsEmpty()) return 1;
    const TRect d = ToDevice(dc, rect);
    const std::uint32_t p = ToPixel(brush.Color);
    FillDevice(*dc, {d.Left, d.Top, d.Right, d.Top + 1}, p);
    FillDevice(*dc, {d.Left, d.Bottom - 1, d.Right, d.Bottom}, p);
    FillDevice(*dc, {d.Left, d.Top + 1, d.Left + 1, d.Bottom - 1}, p);
    FillDevice(*dc, {d.Right - 1, d.Top + 1, d.Right, d.Bottom - 1}, p);
    return 1;
}

bool FillRgn(HDC dc, const TRegion& region, const TLogBrush& brush) {
    for (const TRect& r : region.Rects()) FillRect(dc, r, brush);
    return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
    const TRect r = ToDevice(dc, Normalized(left, top, right, bottom));
    const TLogPen& pen = dc->State().Pen;
    const TLogBrush& brush = dc->State().Brush;
    if (pen.Style == PS_NULL) {
        // Without an outline the classic call fills one pixel less to the right and bottom.
        if (brush.Style != BS_NULL)
            detail::FillDeviceMix(*dc, {r.Left, r.Top, r.Right - 1, r.Bottom - 1},
                                  ToPixel(brush.Color));
        return true;
    }
    const int w = std::max(1, pen.Width);
    if (brush.Style != BS_NULL)
        detail::FillDeviceMix(*dc, {r.Left + w, r.Top + w, r.Right - w, r.Bottom - w},
                              ToPixel(brush.Color));
    const std::uint32_t p = ToPixel(pen.Color);
    const int hw = std::min(w, r.Height()), vw = std::min(w, r.Width());
    detail::FillDeviceMix(*dc, {r.Left, r.Top, r.Right, r.Top + hw}, p);
    detail::FillDeviceMix(*dc, {r.Left, r.Bottom - hw, r.Right, r.Bottom}, p);
    detail::FillDeviceMix(*dc, {r.Left, r.Top + hw, r.Left + vw, r.Bottom - hw}, p);
    detail::FillDeviceMix(*dc, {r.Right - vw, r.Top + hw, r.Right, r.Bottom - hw}, p);
    return true;
}

namespace {

struct TRowSpan {
    int Left = 0;
    int Right = -1;  // inclusive; Right < Left means the row is empty
};

// Pixel rows of the ellipse inscribed in r: a pixel belongs when its centre lies inside.
std::vector<TRowSpan> EllipseSpans(const TRect& r) {
    std::vector<TRowSpan> spans(std::size_t(std::max(0, r.Height())));
    const double a = r.Width() / 2.0, b = r.Height() / 2.0;
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    if (a <= 0 || b <= 0) return spans;
    for (int y = r.Top; y < r.Bottom; ++y) {
        const double dy = (y + 0.5 - cy) / b;
        if (std::abs(dy) > 1) continue;
        const double half = a * std::sqrt(1 - dy * dy);
        TRowSpan& s = spans[std::size_t(y - r.Top)];
        s.Left = int(std::ceil(cx - half - 0.5));
        s.Right = int(std::floor(cx + half - 0.5));
    }
    return spans;
}

}  // namespace

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
    const TRect r = ToDevice(dc, Normalized(left, top, right, bottom));
    const TLogPen& pen = dc->State().Pen;
    const TLogBrush& brush = dc->State().Brush;
    const bool outline = pen.Style != PS_NULL;
    const int inset = outline ? std::max(1, pen.Width) - 1 : 0;
    const std::vector<TRowSpan> outer = EllipseSpans(r);
    const TRect innerRect{r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset};
    std::vector<TRowSpan> inner(outer.size());
    if (!innerRect.IsEmpty()) {
        const auto spans = EllipseSpans(innerRect);
        std::copy(spans.begin(), spans.end(), inner.begin() + inset);
    }
    const std::uint32_t penPixel = ToPixel(pen.Color), brushPixel = ToPixel(brush.Color);
    const int rows = int(outer.size());
    for (int i = 0; i < rows; ++i) {
        const int y = r.Top + i;
        const TRowSpan& o = outer[i];
        if (o.Right < o.Left) continue;
        // Interior: inside the inner ellipse with both vertical neighbours inside it too.
        TRowSpan in = inner[i];
        if (outline) {
            in.Left = std::max(in.Left + 1, std::max(i > 0 ? inner[i - 1].Left : INT32_MAX,
                                                     i + 1 < rows ? inner[i + 1].Left : INT32_MAX));
            in.Right =
                std::min(in.Right - 1, std::min(i > 0 ? inner[i - 1].Right : INT32_MIN,
                                                i + 1 < rows ? inner[i + 1].Right : INT32_MIN));
            if (i == 0 || i + 1 == rows) in.Right = in.Left - 1;
        }
        if (brush.Style != BS_NULL && in.Right >= in.Left)
            detail::FillDeviceMix(*dc, {in.Left, y, in.Right + 1, y + 1}, brushPixel);
        if (!outline) continue;
        if (in.Right < in.Left) {
            detail::FillDeviceMix(*dc, {o.Left, y, o.Right + 1, y + 1}, penPixel);
        } else {
            detail::FillDeviceMix(*dc, {o.Left, y, in.Left, y + 1}, penPixel);
            detail::FillDeviceMix(*dc, {in.Right + 1, y, o.Right + 1, y + 1}, penPixel);
        }
    }
    return true;
}

bool MoveToEx(HDC dc, int x, int y, TPoint* old) {
    if (old) *old = dc->State().PenPos;
    dc->State().PenPos = {x, y};
    return true;
}

namespace {

// On/off run lengths of the styled pens, starting with "on".
const std::vector<int>& DashPattern(int style) {
    static const std::vector<int> kSolid, kDash{18, 6}, kDot{3, 3}, kDashDot{9, 6, 3, 6},
        kDashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
        case PS_DASH:
            return kDash;
        case PS_DOT:
            return kDot;
        case PS_DASHDOT:
            return kDashDot;
        case PS_DASHDOTDOT:
            return kDashDotDot;
        default:
            return kSolid;
    }
}

}  // namespace

bool LineTo(HDC dc, int x, int y) {
    const TPoint from = dc->State().PenPos;
    dc->State().PenPos = {x, y};
    const TLogPen& pen = dc->State().Pen;
    if (pen.Style == PS_NULL) return true;
    const TPoint o = dc->Offset();
    int x0 = from.X + o.X, y0 = from.Y + o.Y;
    const int x1 = x + o.X, y1 = y + o.Y;
    const int w = std::max(1, pen.Width), lo = -(w - 1) / 2;
    const std::uint32_t p = ToPixel(pen.Color);
    const std::vector<int>& dash = w == 1 ? DashPattern(pen.Style) : DashPattern(PS_SOLID);
    size_t dashIndex = 0;
    int dashLeft = dash.empty() ? 0 : dash[0];
    // Bresenham over every point except the end one.
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        if (dash.empty() || dashIndex % 2 == 0)
            detail::FillDeviceMix(*dc, Bounds(x0 + lo, y0 + lo, w, w), p);
        if (!dash.empty() && --dashLeft == 0) {
            dashIndex = (dashIndex + 1) % dash.size();
            dashLeft = dash[dashIndex];
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += stepY;
        }
    }
    return true;
}

TColor SetPixel(HDC dc, int x, int y, TColor color) {
    const TPoint o = dc->Offset();
    const int dx = x + o.X, dy = y + o.Y;
    TSurface* s = dc->Surface();
    if (!s || !dc->VisibleRegion().Contains(dx, dy)) return CLR_INVALID;
    const std::uint32_t p = ToPixel(color);
    detail::WriteSpan(*s, dx, dy, 1, &p);
    return detail::FromPixel(p);
}

TColor GetPixel(HDC dc, int x, int y) {
    const TPoint o = dc->Offset();
    const int dx = x + o.X, dy = y + o.Y;
    TSurface* s = dc->Surface();
    if (!s || !dc->VisibleRegion().Contains(dx, dy)) return CLR_INVALID;
    std::uint32_t p;
    detail::ReadSpan(*s, dx, dy, 1, &p);
    return detail::FromPixel(p);
}

bool DrawFocusRect(HDC dc, const TRect& rect) {
    TSurface* s = dc->Surface();
    if (!s || rect.IsEmpty()) return true;
    const TRect d = ToDevice(dc, rect);
    const TRegion& visible = dc->VisibleRegion();
    auto invert = [&](int x, int y) {
        // The dots keep their place on the surface whatever the rectangle, as a pattern would.
        if (((x + y) & 1) || !visible.Contains(x, y)) return;
        std::uint32_t p;
        detail::ReadSpan(*s, x, y, 1, &p);
        p = ~p & 0xFFFFFFu;
        detail::WriteSpan(*s, x, y, 1, &p);
    };
    for (int x = d.Left; x < d.Right; ++x) {
        invert(x, d.Top);
        if (d.Bottom - 1 > d.Top) invert(x, d.Bottom - 1);
    }
    for (int y = d.Top + 1; y < d.Bottom - 1; ++y) {
        invert(d.Left, y);
        if (d.Right - 1 > d.Left) invert(d.Right - 1, y);
    }
    return true;
}

}  // namespace gfx
