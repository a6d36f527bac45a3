#include "skin/core/glow_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/rtl/random.h"
#include "skin/core/drawing_routines.h"
#include "skin_test_support.h"

namespace skin {
namespace {

using test::At;
using test::Fill;
using test::Put;

// ---- stack blur ------------------------------------------------------------------------------

// The blur written out directly: weighted sums over clamped neighbours, rows then columns.
std::vector<TbsColor> ReferenceBlur(const TbsBitmap& b, int r) {
    const int w = b.Width(), h = b.Height(), div = (r + 1) * (r + 1);
    std::vector<int> planes[3];
    for (int k = 0; k < 3; ++k) {
        planes[k].resize(std::size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int d = -r; d <= r; ++d)
                    sum += (r + 1 - std::abs(d)) *
                           int(At(b, std::clamp(x + d, 0, w - 1), y) >> (8 * k) & 0xFF);
                planes[k][std::size_t(y) * w + x] = sum / div;
            }
    }
    std::vector<TbsColor> out(std::size_t(w) * h, 0xFF000000);
    for (int k = 0; k < 3; ++k)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int d = -r; d <= r; ++d)
                    sum += (r + 1 - std::abs(d)) *
                           planes[k][std::size_t(std::clamp(y + d, 0, h - 1)) * w + x];
                out[std::size_t(y) * w + x] |= TbsColor(sum / div) << (8 * k);
            }
    return out;
}

TEST(StackBlurTest, OneWhitePixelWithRadiusOne) {
    TbsBitmap b;
    b.SetSize(5, 5);
    Fill(b, 0x00000000);
    Put(b, 2, 2, 0x00FFFFFF);
    StackBlurBitmap(b, 1);
    // 127 after the rows, 2 * 127 div 4 after the columns.
    const int want[3][3] = {{15, 31, 15}, {31, 63, 31}, {15, 31, 15}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool near = std::abs(x - 2) <= 1 && std::abs(y - 2) <= 1;
            const int v = near ? want[y - 1][x - 1] : 0;
            EXPECT_EQ(At(b, x, y), 0xFF000000u | TbsColor(v) * 0x010101u) << x << "," << y;
        }
}

TEST(StackBlurTest, VerticalEdgeWithRadiusTwo) {
    TbsBitmap b;
    b.SetSize(10, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) Put(b, x, y, x >= 5 ? 0x00FFFFFF : 0x00000000);
    StackBlurBitmap(b, 2);
    for (int y = 0; y < 4; ++y) {
        std::vector<int> row;
        for (int x = 0; x < 10; ++x) row.push_back(test::Red(At(b, x, y)));
        EXPECT_EQ(row, (std::vector<int>{0, 0, 0, 28, 85, 170, 226, 255, 255, 255})) << y;
    }
}

TEST(StackBlurTest, RadiusZeroOrBelowChangesNothing) {
    TbsBitmap b;
    b.SetSize(3, 2);
    Fill(b, 0x40302010);
    Put(b, 1, 1, 0x80FFFFFF);
    StackBlurBitmap(b, 0);
    StackBlurBitmap(b, -3);
    EXPECT_EQ(At(b, 0, 0), 0x40302010u);
    EXPECT_EQ(At(b, 1, 1), 0x80FFFFFFu);
    TbsBitmap empty;
    StackBlurBitmap(empty, 4);
    EXPECT_TRUE(empty.Empty());
}

// Running sums against the weighted sums, for radii around the division table's limit and
// beyond the picture's size; every alpha ends at 255.
TEST(StackBlurTest, MatchesTheDirectWeightedSums) {
    rtl::RandSeed(3);
    for (const int radius : {1, 2, 6, 20, 63, 64, 70}) {
        for (const auto& [w, h] : {std::pair{17, 9}, {1, 5}, {6, 1}}) {
            TbsBitmap b;
            b.SetSize(w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    Put(b, x, y, TbsColor(rtl::Random(1 << 30)) << 2 | TbsColor(rtl::Random(4)));
            const std::vector<TbsColor> want = ReferenceBlur(b, radius);
            StackBlurBitmap(b, radius);
            const std::vector<TbsColor> got(b.Bits(), b.Bits() + std::size_t(w) * h);
            EXPECT_EQ(got, want) << "radius " << radius << ", " << w << "x" << h;
        }
    }
}

// ---- glow and reflection text ----------------------------------------------------------------

constexpr int kW = 220, kH = 70;
const char* const kText = "Moradex 视频";

// A white 32-bit surface with a canvas whose font is set for the captions.
struct TScene {
    gfx::TDibDC Dib = gfx::CreateDibDC(kW, kH);
    gfx::TCanvas Canvas{Dib.DC.get()};

    explicit TScene(gfx::TColor background = gfx::clWhite) {
        gfx::FillRect(Dib.DC.get(), {0, 0, kW, kH}, gfx::CreateSolidBrush(background));
        Canvas.Font().SetName("Arial");
        Canvas.Font().SetHeight(-14);
        Canvas.Font().SetColor(gfx::clBlack);
    }
    std::uint32_t Pixel(int x, int y) const {
        return Dib.Bitmap->Pixels()[std::size_t(y) * kW + x] & 0xFFFFFF;
    }
    // Pixels that differ from the background.
    std::vector<bool> Changed(std::uint32_t background = 0xFFFFFF) const {
        std::vector<bool> out(std::size_t(kW) * kH);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) out[std::size_t(y) * kW + x] = Pixel(x, y) != background;
        return out;
    }
};

const gfx::TRect kR{40, 20, 180, 40};

// Marks every pixel within one step (left, right, up, down) of a marked one.
std::vector<bool> Grow(const std::vector<bool>& in) {
    std::vector<bool> out = in;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            if (!in[std::size_t(y) * kW + x]) continue;
            for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && nx < kW && ny >= 0 && ny < kH) out[std::size_t(ny) * kW + nx] = true;
            }
        }
    return out;
}

std::vector<bool> TextInk() {
    TScene plain;
    plain.Canvas.Brush().SetStyle(gfx::bsClear);
    gfx::TRect r = kR;
    DrawWideTextOn(plain.Canvas, kText, r, 0);
    return plain.Changed();
}

TEST(GlowTextTest, GlowOfSizeZeroIsTheTextThickenedByOnePixelUnderTheText) {
    const std::vector<bool> ink = TextInk(), near = Grow(ink);
    TScene scene;
    DrawGlowText(scene.Canvas, kR, kText, 0, 0, gfx::clLime, 0);
    int glowOnly = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const std::size_t i = std::size_t(y) * kW + x;
            const std::uint32_t p = scene.Pixel(x, y);
            if (p != 0xFFFFFF) {
                ASSERT_TRUE(near[i]) << "glow too far out at " << x << "," << y;
            }
            // Clearly glow-coloured pixels around the letters.
            const int red = int(p >> 16), green = int(p >> 8 & 0xFF), blue = int(p & 0xFF);
            if (!ink[i] && green - std::max(red, blue) > 60) ++glowOnly;
        }
    EXPECT_GT(glowOnly, 20);
    // Where the text covers a pixel fully it is drawn over the glow in its own colour.
    TScene reference;
    reference.Canvas.Brush().SetStyle(gfx::bsClear);
    gfx::TRect r = kR;
    DrawWideTextOn(reference.Canvas, kText, r, 0);
    int solid = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (reference.Pixel(x, y) == 0) {
                EXPECT_EQ(scene.Pixel(x, y), 0u) << x << "," << y;
                ++solid;
            }
    EXPECT_GT(solid, 10);
}

TEST(GlowTextTest, SinglePassGlowStaysOnTheTextAndReturnsTheTextHeight) {
    const std::vector<bool> ink = TextInk();
    TScene scene;
    const int height = DrawGlowTextW(scene.Canvas, kR, kText, 0, 0, gfx::clLime, 0);
    gfx::TRect measured = kR;
    EXPECT_EQ(height, DrawWideTextOn(scene.Canvas, kText, measured, gfx::DT_CALCRECT));
    const std::vector<bool> changed = scene.Changed();
    for (std::size_t i = 0; i < changed.size(); ++i)
        if (changed[i]) {
            ASSERT_TRUE(ink[i]) << i % kW << "," << i / kW;
        }
}

TEST(GlowTextTest, BlurredGlowMovesByTheOffset) {
    TScene a, b;
    DrawGlowText(a.Canvas, kR, kText, 0, 0, gfx::clLime, 3);
    DrawGlowText(b.Canvas, kR, kText, 0, 2, gfx::clLime, 3);
    // Glow reaches beyond the thickened text, and the offset moves it right and down.
    const auto bounds = [](const TScene& s) {
        gfx::TRect r{kW, kH, 0, 0};
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (s.Pixel(x, y) != 0xFFFFFF) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r;
    };
    const gfx::TRect ra = bounds(a), rb = bounds(b);
    EXPECT_GE(ra.Left, kR.Left - 3);
    EXPECT_LE(ra.Left, kR.Left - 1);
    EXPECT_EQ(rb.Right - ra.Right, 2);
    EXPECT_EQ(rb.Bottom - ra.Bottom, 2);
}

TEST(GlowTextTest, BandGlowStaysWithinTwelvePixelsOfTheRectangle) {
    TScene scene;
    DrawVistaGlowText(scene.Canvas, kR, kText, 0, gfx::clLime);
    int outside = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            if (scene.Pixel(x, y) == 0xFFFFFF) continue;
            ASSERT_TRUE(x >= kR.Left - 12 && x < kR.Right + 12 && y >= kR.Top - 12 &&
                        y < kR.Bottom + 12)
                << x << "," << y;
            outside += !kR.Contains(x, y);
        }
    EXPECT_GT(outside, 100);
    // The band behind the text tints the rectangle's left end towards the glow colour.
    const std::uint32_t p = scene.Pixel(kR.Left - 1, (kR.Top + kR.Bottom) / 2);
    EXPECT_GT((p >> 8) & 0xFF, p >> 16 & 0xFF);
}

// Onto a black TbsBitmap: blue text, a white reflection (its intensity shows its alpha).
struct TReflection {
    TbsBitmap Target;
    int H = 0;

    TReflection(const char* text, int offset) {
        Target.SetSize(kW, kH);
        Fill(Target, 0xFF000000);
        gfx::TCanvas& c = Target.Canvas();
        c.Font().SetName("Arial");
        c.Font().SetHeight(-14);
        c.Font().SetColor(gfx::clBlue);
        gfx::TRect measured = kR;
        H = DrawWideTextOn(c, text, measured, gfx::DT_CALCRECT);
        test::TBlendVariant plain(false);
        DrawReflectionText(c, kR, text, 0, offset, gfx::clWhite);
    }
};

TEST(GlowTextTest, ReflectionLiesBelowTheTextAndFades) {
    const TReflection scene(kText, 2);
    const int h = scene.H;
    ASSERT_GT(h, 8);
    const int first = kR.Top + h + 2, last = kR.Top + 2 * h + 1;
    int maxRed = 0, rows = 0;
    for (int y = 0; y < kH; ++y) {
        int rowMax = 0;
        for (int x = 0; x < kW; ++x) rowMax = std::max(rowMax, test::Red(At(scene.Target, x, y)));
        if (rowMax == 0) continue;
        ++rows;
        EXPECT_GE(y, first);
        EXPECT_LE(y, last - h / 4) << "the bottom quarter stays empty";
        maxRed = std::max(maxRed, rowMax);
    }
    EXPECT_GT(rows, h / 3);
    // Alpha at most 178: white over black comes out at most 178 * 255 div 256.
    EXPECT_LE(maxRed, 177);
    EXPECT_GT(maxRed, 100);
    // The text itself, in its own colour, above.
    bool blue = false;
    for (int y = kR.Top; y < kR.Top + h; ++y)
        for (int x = kR.Left; x < kR.Right; ++x) blue |= (At(scene.Target, x, y) & 0xFF) > 200;
    EXPECT_TRUE(blue);
}

TEST(GlowTextTest, ReflectionOfAnEmptyTextDrawsNothing) {
    const TReflection scene("", 2);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) ASSERT_EQ(At(scene.Target, x, y), 0xFF000000u);
}

TEST(GlowTextTest, SwapRedBlueOpaque) {
    EXPECT_EQ(SwapRedBlueOpaque(gfx::RGB(0x11, 0x22, 0x33)), 0xFF112233u);
    EXPECT_EQ(SwapRedBlueOpaque(0), 0xFF000000u);
}

}  // namespace
}  // namespace skin
