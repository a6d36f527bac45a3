#include "skin/core/glow_text.h"

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/gfx/text_watcher.h"
#include "skin/core/drawing_routines.h"

namespace skin {

using gfx::TRect;

// ---- stack blur ------------------------------------------------------------------------------

namespace {

// Blue, green and red of one pixel or one sum. Small radii keep the three in lanes of 21 bits
// of one 64-bit word: every sum stays below 255 * 64^2 < 2^20, so one addition adds all three
// lanes and no lane ever reaches into the next. Larger radii keep three separate integers.
struct TPackedLanes {
    using T = std::uint64_t;
    static constexpr int kMaxRadius = 63;
    static T Pack(TbsColor c) {
        return T(c & 0xFF) | T(c >> 8 & 0xFF) << 21 | T(c >> 16 & 0xFF) << 42;
    }
    static std::uint32_t Lane(T v, int k) { return std::uint32_t(v >> (21 * k) & 0x1FFFFF); }
};

struct TWideLanes {
    struct T {
        std::int64_t C[3] = {};
        T& operator+=(const T& o) {
            for (int k = 0; k < 3; ++k) C[k] += o.C[k];
            return *this;
        }
        friend T operator+(T a, const T& b) { return a += b; }
        friend T operator-(T a, const T& b) {
            for (int k = 0; k < 3; ++k) a.C[k] -= b.C[k];
            return a;
        }
        friend T operator*(T a, std::int64_t w) {
            for (int k = 0; k < 3; ++k) a.C[k] *= w;
            return a;
        }
    };
    static T Pack(TbsColor c) { return {{c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF}}; }
    static std::int64_t Lane(const T& v, int k) { return v.C[k]; }
};

// The triangular sum is kept with two running sums of r + 1 pixels each: moving one step adds
// the pixels entering on one side and drops those leaving on the other, so the cost does not
// grow with the radius. Rows go into a plane of lane values, then every column is walked at
// once, row by row, so memory is read in order.
template <class TLanes>
class TStackBlur {
    using T = typename TLanes::T;

public:
    TStackBlur(TbsBitmap& bitmap, int radius)
        : FBitmap(bitmap),
          FW(bitmap.Width()),
          FH(bitmap.Height()),
          FR(radius),
          FDiv(std::uint32_t(radius + 1) * std::uint32_t(radius + 1)),
          // Sums below 2^20 divided by at most 2^12 are exact as (sum * ceil(2^32 / div)) >> 32.
          FReciprocal((std::uint64_t(1) << 32) / FDiv + 1) {}

    void Run() {
        FPlane = std::make_unique_for_overwrite<T[]>(std::size_t(FW) * std::size_t(FH));
        std::vector<T> padded(std::size_t(FW + 2 * (FR + 2)));
        for (int y = 0; y < FH; ++y) BlurRow(y, padded);
        BlurColumns();
    }

private:
    std::uint8_t Divide(const T& sum, int k) const {
        if constexpr (std::is_same_v<TLanes, TPackedLanes>)
            return std::uint8_t((std::uint64_t(TLanes::Lane(sum, k)) * FReciprocal) >> 32);
        else
            return std::uint8_t(TLanes::Lane(sum, k) / FDiv);
    }
    T Result(const T& sum) const {
        return TLanes::Pack(TbsColor(Divide(sum, 0)) | TbsColor(Divide(sum, 1)) << 8 |
                            TbsColor(Divide(sum, 2)) << 16);
    }

    // The row with its edge pixels repeated beyond both ends, blurred into the plane.
    void BlurRow(int y, std::vector<T>& padded) {
        const int pad = FR + 2;
        const TbsColor* row = FBitmap.ScanLine(y);
        std::fill_n(padded.begin(), pad, TLanes::Pack(row[0]));
        for (int x = 0; x < FW; ++x) padded[std::size_t(x + pad)] = TLanes::Pack(row[x]);
        std::fill_n(padded.begin() + pad + FW, pad, TLanes::Pack(row[FW - 1]));
        const T* p = padded.data() + pad;
        T sum{}, in{}, out = p[0] * (FR + 1);
        for (int d = -FR; d <= FR; ++d) sum += p[d] * (FR + 1 - std::abs(d));
        for (int d = 1; d <= FR + 1; ++d) in += p[d];
        T* plane = FPlane.get() + std::size_t(y) * FW;
        for (int x = 0; x < FW; ++x) {
            plane[x] = Result(sum);
            sum = sum + in - out;
            in = in + p[x + FR + 2] - p[x + 1];
            out = out + p[x + 1] - p[x - FR];
        }
    }

    void BlurColumns() {
        const auto row = [&](int y) {
            return FPlane.get() + std::size_t(std::clamp(y, 0, FH - 1)) * FW;
        };
        const std::size_t n = std::size_t(FW);
        std::vector<T> sum(n), in(n), out(n);
        for (int x = 0; x < FW; ++x) out[std::size_t(x)] = row(0)[x] * (FR + 1);
        for (int d = -FR; d <= FR; ++d) {
            const T* p = row(d);
            for (int x = 0; x < FW; ++x) sum[std::size_t(x)] += p[x] * (FR + 1 - std::abs(d));
        }
        for (int d = 1; d <= FR + 1; ++d) {
            const T* p = row(d);
            for (int x = 0; x < FW; ++x) in[std::size_t(x)] += p[x];
        }
        for (int y = 0; y < FH; ++y) {
            TbsColor* target = FBitmap.ScanLine(y);
            T* __restrict s = sum.data();
            T* __restrict i = in.data();
            T* __restrict o = out.data();
            const T* __restrict entering = row(y + FR + 2);
            const T* __restrict next = row(y + 1);
            const T* __restrict leaving = row(y - FR);
            for (int x = 0; x < FW; ++x) {
                target[x] = 0xFF000000u | TbsColor(Divide(s[x], 2)) << 16 |
                            TbsColor(Divide(s[x], 1)) << 8 | Divide(s[x], 0);
                s[x] = s[x] + i[x] - o[x];
                i[x] = i[x] + entering[x] - next[x];
                o[x] = o[x] + next[x] - leaving[x];
            }
        }
    }

    TbsBitmap& FBitmap;
    const int FW, FH, FR;
    const std::uint32_t FDiv;
    const std::uint64_t FReciprocal;
    std::unique_ptr<T[]> FPlane;
};

}  // namespace

void StackBlurBitmap(TbsBitmap& bitmap, int radius) {
    if (radius <= 0 || bitmap.Empty()) return;
    if (radius <= TPackedLanes::kMaxRadius)
        TStackBlur<TPackedLanes>(bitmap, radius).Run();
    else
        TStackBlur<TWideLanes>(bitmap, radius).Run();
}

// ---- glow and reflection text ----------------------------------------------------------------

TbsColor SwapRedBlueOpaque(gfx::TColor color) {
    const std::uint32_t c = std::uint32_t(color);
    return 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

namespace {

// A scratch bitmap for the red rendering of the text in the canvas's font.
void PrepareScratch(TbsBitmap& scratch, gfx::TCanvas& canvas, int width, int height) {
    scratch.SetSize(width, height);
    gfx::TCanvas& c = scratch.Canvas();
    c.Font().Assign(canvas.Font());
    c.Font().SetColor(gfx::RGB(255, 0, 0));
    c.Brush().SetStyle(gfx::bsClear);
}

void DrawRedText(TbsBitmap& scratch, std::string_view text, const TRect& r, unsigned flags) {
    const gfx::TUnwatchedText stencil;
    TRect place = r;
    DrawWideTextOn(scratch.Canvas(), text, place, flags);
}

// Red intensity becomes the alpha of the effect colour.
void RedToAlpha(TbsBitmap& scratch, gfx::TColor color) {
    if (scratch.Empty()) return;
    const TbsColor rgb = SwapRedBlueOpaque(color) & 0x00FFFFFF;
    TbsColor* p = scratch.Bits();
    const std::size_t n = std::size_t(scratch.Width()) * std::size_t(scratch.Height());
    for (std::size_t i = 0; i < n; ++i) p[i] = (p[i] >> 16 & 0xFF) << 24 | rgb;
}

int DrawTextOver(gfx::TCanvas& canvas, std::string_view text, const TRect& r, unsigned flags) {
    canvas.Brush().SetStyle(gfx::bsClear);
    TRect place = r;
    return DrawWideTextOn(canvas, text, place, flags);
}

int GlowText(gfx::TCanvas& canvas, const TRect& r, std::string_view text, unsigned flags,
             int offset, gfx::TColor glowColor, int glowSize, bool thicken) {
    const int s = glowSize;
    TbsBitmap glow;
    PrepareScratch(glow, canvas, r.Width() + 2 * s, r.Height() + 2 * s);
    if (!glow.Empty()) {
        const TRect t{s, s, glow.Width() - s, glow.Height() - s};
        DrawRedText(glow, text, t, flags);
        // Four more passes, one pixel to each side, thicken the letters.
        static constexpr gfx::TPoint kShifts[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        if (thicken)
            for (const gfx::TPoint& d : kShifts) DrawRedText(glow, text, t.Offset(d.X, d.Y), flags);
        StackBlurBitmap(glow, s);
        RedToAlpha(glow, glowColor);
        glow.AlphaBlend = true;
        glow.Draw(canvas, r.Left - s + offset, r.Top - s + offset);
    }
    return DrawTextOver(canvas, text, r, flags);
}

}  // namespace

void DrawGlowText(gfx::TCanvas& canvas, const TRect& r, std::string_view text, unsigned flags,
                  int offset, gfx::TColor glowColor, int glowSize) {
    GlowText(canvas, r, text, flags, offset, glowColor, glowSize, true);
}

int DrawGlowTextW(gfx::TCanvas& canvas, const TRect& r, std::string_view text, unsigned flags,
                  int offset, gfx::TColor glowColor, int glowSize) {
    return GlowText(canvas, r, text, flags, offset, glowColor, glowSize, false);
}

int DrawVistaGlowText(gfx::TCanvas& canvas, const TRect& r, std::string_view text, unsigned flags,
                      gfx::TColor glowColor) {
    constexpr int kMargin = 12;
    TbsBitmap glow;
    PrepareScratch(glow, canvas, r.Width() + 2 * kMargin, r.Height() + 2 * kMargin);
    if (!glow.Empty()) {
        const TRect t{kMargin, kMargin, glow.Width() - kMargin, glow.Height() - kMargin};
        gfx::TCanvas& c = glow.Canvas();
        c.Brush().SetColor(gfx::RGB(255, 0, 0));
        c.FillRect({t.Left - 3, t.Top + 2, t.Right + 3, t.Bottom - 2});
        c.Brush().SetStyle(gfx::bsClear);
        static constexpr gfx::TPoint kShifts[] = {{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0},
                                                  {2, 0},   {1, 1},   {2, 2},  {0, 0}};
        for (const gfx::TPoint& d : kShifts) DrawRedText(glow, text, t.Offset(d.X, d.Y), flags);
        StackBlurBitmap(glow, kMargin / 2);
        StackBlurBitmap(glow, kMargin / 2);
        RedToAlpha(glow, glowColor);
        glow.AlphaBlend = true;
        glow.Draw(canvas, r.Left - kMargin, r.Top - kMargin);
    }
    return DrawTextOver(canvas, text, r, flags);
}

void DrawReflectionText(gfx::TCanvas& canvas, const TRect& r, std::string_view text, unsigned flags,
                        int offset, gfx::TColor reflectionColor) {
    TbsBitmap mirror;
    PrepareScratch(mirror, canvas, r.Width(), r.Height());
    if (!mirror.Empty()) {
        TRect box{0, 0, r.Width(), r.Height()};
        DrawRedText(mirror, text, box, flags);
        DrawWideTextOn(mirror.Canvas(), text, box, flags | gfx::DT_CALCRECT);
        TRect measured = r;
        DrawWideTextOn(canvas, text, measured, flags | gfx::DT_CALCRECT);
        const int h = box.Bottom;
        const int w = mirror.Width(), height = mirror.Height();
        if (h > 0) {
            // The lower 70 % of the text rows fade in towards the baseline.
            const TbsColor rgb = SwapRedBlueOpaque(reflectionColor) & 0x00FFFFFF;
            for (int y = 0; y < height; ++y) {
                TbsColor* p = mirror.ScanLine(y);
                if (y > h) {
                    std::fill(p, p + w, 0);
                    continue;
                }
                float k = float(0.7 - double(h - y) / h);
                if (k < 0) k = 0;
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t alpha = std::uint32_t(double(p[x] >> 16 & 0xFF) * k);
                    p[x] = alpha << 24 | rgb;
                }
            }
        }
        for (int i = 0; i < height / 2; ++i)
            std::swap_ranges(mirror.ScanLine(i), mirror.ScanLine(i) + w,
                             mirror.ScanLine(height - 1 - i));
        mirror.AlphaBlend = true;
        mirror.Draw(canvas, r.Left, measured.Bottom + h + offset - height);
    }
    DrawTextOver(canvas, text, r, flags);
}

}  // namespace skin
