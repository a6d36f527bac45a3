#include "skin/core/effect_bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/random.h"

namespace skin {
namespace {

// A picture given as rows of red values (green and blue 0).
TbsEffectBmp Reds(const std::vector<std::vector<int>>& rows) {
    TbsEffectBmp b(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.PutPixel(x, y, rows[std::size_t(y)][std::size_t(x)] << 16);
    return b;
}

std::vector<std::vector<int>> RedsOf(const TbsEffectBmp& b) {
    std::vector<std::vector<int>> rows(std::size_t(b.Height()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            rows[std::size_t(y)].push_back(b.GetPixelValue(x, y) >> 16);
    return rows;
}

using TRows = std::vector<std::vector<int>>;

struct TEffectCase {
    std::string Name;
    TRows Self;
    std::function<void(TbsEffectBmp&)> Apply;
    TRows Want;
};

// Columns 0..9 of self are 10, 20, ... 100; of the other picture 200 + column.
const TRows kSelfRow{{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}};
const TRows kOtherRow{{200, 201, 202, 203, 204, 205, 206, 207, 208, 209}};

void WithOther(TbsEffectBmp& self, const std::function<void(TbsEffectBmp&, const TbsEffectBmp&)>& f,
               const TRows& other = kOtherRow) {
    const TbsEffectBmp bmp = Reds(other);
    f(self, bmp);
}

std::vector<TEffectCase> Cases() {
    using B = TbsEffectBmp;
    return {
        {"Morph 0.5 rounds half to even",
         {{0, 1, 255}},
         [](B& b) {
             WithOther(b, [](B& s, const B& o) { s.Morph(o, 0.5); }, {{255, 2, 0}});
         },
         {{128, 2, 128}}},
        {"Morph Kf -1 keeps self", kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.Morph(o, -1); }); }, kSelfRow},
        {"Morph Kf 2 gives the other", kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.Morph(o, 2); }); }, kOtherRow},
        {"Morph with another size does nothing", kSelfRow,
         [](B& b) {
             WithOther(b, [](B& s, const B& o) { s.Morph(o, 0.5); }, {{1, 2}});
         },
         kSelfRow},
        {"MorphPush with another size does nothing", kSelfRow,
         [](B& b) {
             WithOther(b, [](B& s, const B& o) { s.MorphPush(o, 0.5); }, {{1, 2}});
         },
         kSelfRow},
        // b = 5: column 0 the other, column 5 self, weights of self 0.2 .. 0.8 between.
        {"MorphLeftGrad 0.5",
         kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.MorphLeftGrad(o, 0.5); }); },
         {{200, 165, 133, 105, 81, 60, 70, 80, 90, 100}}},
        // c = 5: column 9 the other, weights growing by 0.2 towards column 5.
        {"MorphRightGrad 0.5",
         kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.MorphRightGrad(o, 0.5); }); },
         {{10, 20, 30, 40, 50, 89, 124, 156, 184, 209}}},
        {"MorphLeftSlide 1",
         kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.MorphLeftSlide(o, 1); }); },
         {{201, 202, 203, 204, 205, 206, 207, 208, 209, 100}}},
        {"MorphRightSlide 0.3",
         kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.MorphRightSlide(o, 0.3); }); },
         {{10, 20, 30, 40, 50, 60, 70, 200, 201, 202}}},
        {"MorphPush 0",
         kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.MorphPush(o, 0); }); },
         {{209, 10, 20, 30, 40, 50, 60, 70, 80, 90}}},
        {"MorphPush 0.3",
         kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.MorphPush(o, 0.3); }); },
         {{206, 207, 208, 209, 10, 20, 30, 40, 50, 60}}},
        // b = 4, c = 3, h = 3, d = 7: columns 3..7 the other, weights of self 1/3 steps out.
        {"MorphGrad of a wide picture goes from the centre sideways",
         kSelfRow,
         [](B& b) { WithOther(b, [](B& s, const B& o) { s.MorphGrad(o, 0.4); }); },
         {{10, 80, 145, 203, 204, 205, 206, 207, 169, 136}}},
        // b = 2, c = 1 (step 1), h = 1, d = 3: rows 1..3 the other, rows 0 and 4 self.
        {"MorphGrad of a tall picture goes from the centre up and down",
         {{10}, {20}, {30}, {40}, {50}},
         [](B& b) {
             WithOther(b, [](B& s, const B& o) { s.MorphGrad(o, 0.4); },
                       {{200}, {201}, {202}, {203}, {204}});
         },
         {{10}, {201}, {202}, {203}, {50}}},
        {"GrayScale keeps white white",
         {{255}},
         [](B& b) {
             b.PutPixel(0, 0, 0xFFFFFF);
             b.GrayScale();
             b.PutPixel(0, 0, b.GetPixelValue(0, 0) == 0xFFFFFF ? 255 << 16 : 0);
         },
         {{255}}},
        {"GrayScale weights red 0.3", {{100}}, [](B& b) { b.GrayScale(); }, {{30}}},
        {"ChangeBrightness clamps Kf above 1",
         {{10, 100}},
         [](B& b) { b.ChangeBrightness(3); },
         {{255, 255}}},
        {"ChangeBrightness 0.5", {{10, 100}}, [](B& b) { b.ChangeBrightness(0.5); }, {{132, 178}}},
        {"ChangeBrightness clamps Kf below 0",
         {{10, 100}},
         [](B& b) { b.ChangeBrightness(-1); },
         {{10, 100}}},
        {"ChangeDarkness clamps Kf above 1",
         {{10, 100}},
         [](B& b) { b.ChangeDarkness(2); },
         {{0, 0}}},
        {"ChangeDarkness 0.25", {{10, 100}}, [](B& b) { b.ChangeDarkness(0.25); }, {{8, 75}}},
        {"Invert", {{0, 55}}, [](B& b) { b.Invert(); }, {{255, 200}}},
        {"SplitBlur 0 does nothing",
         {{0, 255}, {255, 0}},
         [](B& b) { b.SplitBlur(0); },
         {{0, 255}, {255, 0}}},
        // Row 0: up = row 0, down = row 1; row 1 reads the blurred row 0 and itself.
        {"SplitBlur 1 reads blurred rows above and the edge below",
         {{0, 100, 200}, {40, 40, 40}},
         [](B& b) { b.SplitBlur(1); },
         {{45, 70, 95}, {48, 55, 61}}},
        {"SplitBlur 1 of one row", {{0, 100, 200}}, [](B& b) { b.SplitBlur(1); }, {{50, 100, 150}}},
        {"SplitBlur 1 of one column",
         {{0}, {100}, {200}},
         [](B& b) { b.SplitBlur(1); },
         {{50}, {125}, {162}}},
        {"SplitBlur 5 of one pixel", {{80}}, [](B& b) { b.SplitBlur(5); }, {{80}}},
    };
}

TEST(TbsEffectBmpTest, OperationsOnSmallPictures) {
    for (const TEffectCase& c : Cases()) {
        TbsEffectBmp b = Reds(c.Self);
        c.Apply(b);
        EXPECT_EQ(RedsOf(b), c.Want) << c.Name;
    }
}

TEST(TbsEffectBmpTest, MorphLeftGradMixesWithWeightsOfFifths) {
    // Self white, the other black: each channel shows self's weight times 255.
    TbsEffectBmp self(10, 1), other(10, 1);
    for (int x = 0; x < 10; ++x) self.PutPixel(x, 0, 0xFFFFFF);
    self.MorphLeftGrad(other, 0.5);
    std::vector<int> blue;
    for (int x = 0; x < 10; ++x) blue.push_back(self.GetPixelValue(x, 0) & 0xFF);
    EXPECT_EQ(blue, (std::vector<int>{0, 51, 102, 153, 204, 255, 255, 255, 255, 255}));
}

// A 3 x 2 picture whose pixel (x, y) is 10 * y + x + 1.
TbsEffectBmp Numbered32() {
    TbsEffectBmp b(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) b.PutPixel(x, y, 10 * y + x + 1);
    return b;
}

std::vector<int> ValuesOf(const TbsEffectBmp& b) {
    std::vector<int> v;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) v.push_back(b.GetPixelValue(x, y));
    return v;
}

TEST(TbsEffectBmpTest, QuarterTurnsAndFlip) {
    const TbsEffectBmp src = Numbered32();  // 1 2 3 / 11 12 13
    TbsEffectBmp anticlockwise(2, 3), clockwise(2, 3), flipped(3, 2), wrong(3, 2);
    src.Rotate90_1(anticlockwise);
    src.Rotate90_2(clockwise);
    src.FlipVert(flipped);
    src.Rotate90_1(wrong);  // not Height x Width: nothing
    EXPECT_EQ(ValuesOf(anticlockwise), (std::vector<int>{3, 13, 2, 12, 1, 11}));
    EXPECT_EQ(ValuesOf(clockwise), (std::vector<int>{11, 1, 12, 2, 13, 3}));
    EXPECT_EQ(ValuesOf(flipped), (std::vector<int>{11, 12, 13, 1, 2, 3}));
    EXPECT_EQ(ValuesOf(wrong), std::vector<int>(6, 0));
    // Flipping into itself reads the picture before writing it.
    TbsEffectBmp self = Numbered32();
    self.FlipVert(self);
    EXPECT_EQ(ValuesOf(self), (std::vector<int>{11, 12, 13, 1, 2, 3}));
}

TEST(TbsEffectBmpTest, LayoutAndCopies) {
    for (const int w : {1, 2, 3, 4, 5, 7}) {
        TbsEffectBmp b(w, 2);
        EXPECT_EQ(b.Stride(), w * 3 + w % 4) << w;
        EXPECT_EQ(b.Size(), b.Stride() * 2);
    }
    TbsEffectBmp b = Numbered32();
    std::uint8_t line[9];
    b.GetScanLine(1, line);
    EXPECT_EQ(line[0], 11);
    EXPECT_EQ(line[3], 12);
    b.SetScanLine(0, line);
    EXPECT_EQ(ValuesOf(b), (std::vector<int>{11, 12, 13, 11, 12, 13}));

    // From a 32-bit surface: the colours without alpha; from none: an empty picture.
    gfx::TDibDC dib = gfx::CreateDibDC(2, 1);
    dib.Bitmap->Pixels()[1] = 0x80102030;
    const TbsEffectBmp copy = TbsEffectBmp::CreateFromhWnd(dib.Bitmap);
    EXPECT_EQ(ValuesOf(copy), (std::vector<int>{0, 0x102030}));
    EXPECT_EQ(TbsEffectBmp::CreateFromhWnd(nullptr).Width(), 0);

    // Drawn through the DC's origin.
    gfx::TDibDC target = gfx::CreateDibDC(4, 3);
    gfx::SetViewportOrgEx(target.DC.get(), 1, 1);
    b.Draw(target.DC.get(), 0, 0);
    EXPECT_EQ(target.Bitmap->Pixels()[1 * 4 + 1], 11u);
    EXPECT_EQ(target.Bitmap->Pixels()[2 * 4 + 3], 13u);
    EXPECT_EQ(target.Bitmap->Pixels()[0], 0u);
}

// Red starts at 5 (255 in column 0), green and blue at 128, so the clamps at both ends show.
TbsEffectBmp NoiseBase() {
    TbsEffectBmp b(64, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x) b.PutPixel(x, y, (x == 0 ? 0xFF0000 : 0x050000) | 0x8080);
    return b;
}

TEST(TbsEffectBmpTest, MonoNoiseAddsOneOffsetPerPixelWithinRange) {
    TbsEffectBmp b = NoiseBase(), again = NoiseBase();
    rtl::RandSeed(7);
    b.AddMonoNoise(20);
    rtl::RandSeed(7);
    again.AddMonoNoise(20);
    EXPECT_EQ(ValuesOf(b), ValuesOf(again));  // the same seed gives the same noise

    int lowest = 255, highest = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x) {
            const int v = b.GetPixelValue(x, y);
            const int red = v >> 16, green = (v >> 8) & 0xFF, blue = v & 0xFF;
            const int noise = green - 0x80;
            ASSERT_EQ(blue, green) << "one offset for all channels";
            ASSERT_EQ(red, std::clamp((x == 0 ? 255 : 5) + noise, 0, 255));
            lowest = std::min(lowest, noise);
            highest = std::max(highest, noise);
        }
    // Random(20) - 10: from -10 to 9, and spread over that range.
    EXPECT_EQ(lowest, -10);
    EXPECT_EQ(highest, 9);
}

}  // namespace
}  // namespace skin
