#include "skin/core/effect_bitmap.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/rtl/random.h"
#include "platform/rtl/sysutils.h"

namespace skin {

namespace {

std::uint8_t Channel(double value) {
    return std::uint8_t(std::clamp<std::int64_t>(rtl::Round(value), 0, 255));
}

std::uint8_t ClampChannel(int value) {
    return std::uint8_t(std::clamp(value, 0, 255));
}

// Pixel := t * self + (1 - t) * other, three channels.
void Mix(std::uint8_t* self, const std::uint8_t* other, double t) {
    for (int k = 0; k < 3; ++k) self[k] = Channel(t * self[k] + (1 - t) * other[k]);
}

int RoundInt(double value) {
    return int(std::clamp<std::int64_t>(rtl::Round(value), -(1 << 30), 1 << 30));
}

}  // namespace

TbsEffectBmp::TbsEffectBmp(int cx, int cy) : FHandle(std::make_shared<gfx::TSurface>(cx, cy, 24)) {}

TbsEffectBmp TbsEffectBmp::CreateFromhWnd(const gfx::HBITMAP& hBmp) {
    if (!hBmp) return TbsEffectBmp(0, 0);
    TbsEffectBmp result(hBmp->Width(), hBmp->Height());
    const int w = result.Width();
    for (int y = 0; y < result.Height(); ++y) {
        const std::uint8_t* from = hBmp->ScanLine(y);
        std::uint8_t* to = result.Row(y);
        if (hBmp->BitCount() == 24) {
            std::memcpy(to, from, std::size_t(w) * 3);
            continue;
        }
        for (int x = 0; x < w; ++x, from += 4, to += 3) std::memcpy(to, from, 3);
    }
    return result;
}

void TbsEffectBmp::Draw(gfx::HDC dc, int x, int y) const {
    if (!dc || Width() <= 0 || Height() <= 0) return;
    gfx::TDC source(FHandle);
    gfx::BitBlt(dc, x, y, Width(), Height(), &source, 0, 0, gfx::SRCCOPY);
}

void TbsEffectBmp::GetScanLine(int y, void* line) const {
    std::memcpy(line, Row(y), std::size_t(Width()) * 3);
}

void TbsEffectBmp::SetScanLine(int y, const void* line) {
    std::memcpy(Row(y), line, std::size_t(Width()) * 3);
}

int TbsEffectBmp::GetPixelValue(int x, int y) const {
    const std::uint8_t* p = Row(y) + std::size_t(x) * 3;
    return p[0] | p[1] << 8 | p[2] << 16;
}

void TbsEffectBmp::PutPixel(int x, int y, int value) {
    std::uint8_t* p = Row(y) + std::size_t(x) * 3;
    p[0] = std::uint8_t(value);
    p[1] = std::uint8_t(value >> 8);
    p[2] = std::uint8_t(value >> 16);
}

// ---- transitions -----------------------------------------------------------------------------

void TbsEffectBmp::Morph(const TbsEffectBmp& bmp, double kf) {
    if (!CanMorphWith(bmp)) return;
    kf = std::clamp(kf, 0.0, 1.0);
    const int n = Width() * 3;
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* self = Row(y);
        const std::uint8_t* other = bmp.Row(y);
        for (int i = 0; i < n; ++i) self[i] = Channel((1 - kf) * self[i] + kf * other[i]);
    }
}

void TbsEffectBmp::MorphLeftGrad(const TbsEffectBmp& bmp, double kf) {
    if (!CanMorphWith(bmp)) return;
    const int w = Width();
    const int b = std::min(std::max(RoundInt(w * kf), 1), w - 1);
    const double step = b > 0 ? 1.0 / b : 1;
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* self = Row(y);
        const std::uint8_t* other = bmp.Row(y);
        double t = 0;
        for (int x = 0; x <= b && x < w; ++x, t = std::min(t + step, 1.0))
            Mix(self + x * 3, other + x * 3, t);
    }
}

void TbsEffectBmp::MorphRightGrad(const TbsEffectBmp& bmp, double kf) {
    if (!CanMorphWith(bmp)) return;
    const int w = Width();
    const int c = std::min(std::max(w - RoundInt(w * kf), 0), w - 1);
    const double step = 1.0 / (w - c);
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* self = Row(y);
        const std::uint8_t* other = bmp.Row(y);
        double t = 0;
        for (int x = w - 1; x >= c; --x, t = std::min(t + step, 1.0))
            Mix(self + x * 3, other + x * 3, t);
    }
}

void TbsEffectBmp::MorphHGrad(const TbsEffectBmp& bmp, double kf) {
    if (!CanMorphWith(bmp)) return;
    const int w = Width();
    const int b = RoundInt(w * kf);
    const int c = (w - b) / 2;
    const double step = c != 0 ? 1.0 / c : 1;
    const int h = std::clamp(w / 2 - b / 2, 0, w - 1);
    const int d = std::clamp(w / 2 + b / 2, 0, w - 1);
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* self = Row(y);
        const std::uint8_t* other = bmp.Row(y);
        if (d >= h) std::memcpy(self + h * 3, other + h * 3, std::size_t(d - h + 1) * 3);
        double t = 0;
        for (int x = h; x >= 0; --x, t = std::clamp(t + step, 0.0, 1.0))
            Mix(self + x * 3, other + x * 3, t);
        t = 0;
        for (int x = d; x < w; ++x, t = std::clamp(t + step, 0.0, 1.0))
            Mix(self + x * 3, other + x * 3, t);
    }
}

void TbsEffectBmp::MorphVGrad(const TbsEffectBmp& bmp, double kf) {
    if (!CanMorphWith(bmp)) return;
    const int ht = Height();
    const std::size_t n = std::size_t(Width()) * 3;
    const int b = RoundInt(ht * kf);
    const int c = (ht - b - 1) / 2;
    const double step = c != 0 ? 1.0 / c : 0;
    const int h = std::clamp(ht / 2 - b / 2, 0, ht - 1);
    const int d = std::clamp(ht / 2 + b / 2, 0, ht - 1);
    for (int y = h; y <= d; ++y) std::memcpy(Row(y), bmp.Row(y), n);
    const auto mixRow = [&](int y, double t) {
        std::uint8_t* self = Row(y);
        const std::uint8_t* other = bmp.Row(y);
        for (std::size_t i = 0; i < n; i += 3) Mix(self + i, other + i, t);
    };
    double t = 0;
    for (int y = h; y >= 0; --y, t = std::clamp(t + step, 0.0, 1.0)) mixRow(y, t);
    t = 0;
    for (int y = d; y < ht; ++y, t = std::clamp(t + step, 0.0, 1.0)) mixRow(y, t);
}

void TbsEffectBmp::MorphGrad(const TbsEffectBmp& bmp, double kf) {
    if (Width() < Height())
        MorphVGrad(bmp, kf);
    else
        MorphHGrad(bmp, kf);
}

// The other picture enters from the left (its right part shows at our left edge) or from the
// right (its left part shows at our right edge).
void TbsEffectBmp::Slide(const TbsEffectBmp& bmp, double kf, bool fromLeft) {
    if (!CanMorphWith(bmp)) return;
    const int w = Width();
    const int b = std::min(std::max(RoundInt(w * kf), 1), w - 1);
    if (b <= 0) return;
    const std::size_t to = fromLeft ? 0 : std::size_t(w - b) * 3;
    const std::size_t from = fromLeft ? std::size_t(w - b) * 3 : 0;
    for (int y = 0; y < Height(); ++y)
        std::memcpy(Row(y) + to, bmp.Row(y) + from, std::size_t(b) * 3);
}

void TbsEffectBmp::MorphLeftSlide(const TbsEffectBmp& bmp, double kf) {
    Slide(bmp, kf, true);
}

void TbsEffectBmp::MorphRightSlide(const TbsEffectBmp& bmp, double kf) {
    Slide(bmp, kf, false);
}

void TbsEffectBmp::MorphPush(const TbsEffectBmp& bmp, double kf) {
    if (!CanMorphWith(bmp)) return;
    const int w = Width();
    const int b = std::min(std::max(RoundInt(w * kf), 0), w - 1);
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* self = Row(y);
        std::memmove(self + (b + 1) * 3, self, std::size_t(w - b - 1) * 3);
        std::memcpy(self, bmp.Row(y) + (w - b - 1) * 3, std::size_t(b + 1) * 3);
    }
}

// ---- colour effects --------------------------------------------------------------------------

void TbsEffectBmp::ChangeBrightness(double kf) {
    kf = std::clamp(kf, 0.0, 1.0);
    const int n = Width() * 3;
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* p = Row(y);
        for (int i = 0; i < n; ++i) p[i] = Channel((1 - kf) * p[i] + kf * 255);
    }
}

void TbsEffectBmp::ChangeDarkness(double kf) {
    kf = std::clamp(kf, 0.0, 1.0);
    const int n = Width() * 3;
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* p = Row(y);
        for (int i = 0; i < n; ++i) p[i] = Channel((1 - kf) * p[i]);
    }
}

void TbsEffectBmp::Invert() {
    const int n = Width() * 3;
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* p = Row(y);
        for (int i = 0; i < n; ++i) p[i] = std::uint8_t(255 - p[i]);
    }
}

void TbsEffectBmp::GrayScale() {
    const int w = Width();
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* p = Row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const std::uint8_t v = Channel(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
            p[0] = p[1] = p[2] = v;
        }
    }
}

void TbsEffectBmp::SplitBlur(int amount) {
    if (amount <= 0) return;
    const int w = Width(), h = Height();
    const std::size_t n = std::size_t(w) * 3;
    std::vector<std::uint8_t> up(n), down(n), out(n);
    for (int y = 0; y < h; ++y) {
        // Copies first: the row itself may be one of the two read.
        std::memcpy(up.data(), Row(y - amount < 0 ? y : y - amount), n);
        std::memcpy(down.data(), Row(std::min(y + amount, h - 1)), n);
        for (int x = 0; x < w; ++x) {
            const std::size_t l = std::size_t(x - amount < 0 ? x : x - amount) * 3;
            const std::size_t r = std::size_t(std::min(x + amount, w - 1)) * 3;
            for (int k = 0; k < 3; ++k)
                out[std::size_t(x) * 3 + k] =
                    std::uint8_t((up[l + k] + down[l + k] + up[r + k] + down[r + k]) >> 2);
        }
        std::memcpy(Row(y), out.data(), n);
    }
}

void TbsEffectBmp::AddMonoNoise(int amount) {
    const int w = Width();
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* p = Row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const int noise = rtl::Random(amount) - amount / 2;
            for (int k = 0; k < 3; ++k) p[k] = ClampChannel(p[k] + noise);
        }
    }
}

// ---- turns -----------------------------------------------------------------------------------

namespace {

// Writes every pixel of `from` to dst at place(x, y); a copy first when the two are one picture.
template <class TPlace>
void Scatter(const TbsEffectBmp& from, TbsEffectBmp& dst, TPlace place) {
    std::unique_ptr<TbsEffectBmp> copy;
    const TbsEffectBmp* src = &from;
    if (from.Size() <= 0) return;
    if (&from == &dst) {
        copy = std::make_unique<TbsEffectBmp>(from.Width(), from.Height());
        std::memcpy(copy->Bits(), from.Bits(), std::size_t(from.Size()));
        src = copy.get();
    }
    for (int y = 0; y < src->Height(); ++y)
        for (int x = 0; x < src->Width(); ++x) {
            const auto [tx, ty] = place(x, y);
            dst.PutPixel(tx, ty, src->GetPixelValue(x, y));
        }
}

}  // namespace

void TbsEffectBmp::Rotate90_1(TbsEffectBmp& dst) const {
    if (dst.Width() != Height() || dst.Height() != Width()) return;
    const int w = Width();
    Scatter(*this, dst, [w](int x, int y) { return std::pair{y, w - 1 - x}; });
}

void TbsEffectBmp::Rotate90_2(TbsEffectBmp& dst) const {
    if (dst.Width() != Height() || dst.Height() != Width()) return;
    const int h = Height();
    Scatter(*this, dst, [h](int x, int y) { return std::pair{h - 1 - y, x}; });
}

void TbsEffectBmp::FlipVert(TbsEffectBmp& dst) const {
    if (!SameSize(dst)) return;
    const int h = Height();
    Scatter(*this, dst, [h](int x, int y) { return std::pair{x, h - 1 - y}; });
}

void MorphByKind(TbsEffectBmp& from, const TbsEffectBmp& to, TbsMorphKind kind, double kf) {
    switch (kind) {
        case mkDefault:
            from.Morph(to, kf);
            break;
        case mkGradient:
            from.MorphGrad(to, kf);
            break;
        case mkLeftGradient:
            from.MorphLeftGrad(to, kf);
            break;
        case mkRightGradient:
            from.MorphRightGrad(to, kf);
            break;
        case mkLeftSlide:
            from.MorphLeftSlide(to, kf);
            break;
        case mkRightSlide:
            from.MorphRightSlide(to, kf);
            break;
        case mkPush:
            from.MorphPush(to, kf);
            break;
    }
}

}  // namespace skin
