#include "platform/gfx/region.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "platform/gfx/dc.h"
#include "platform/gfx/test_surface.h"

namespace gfx {
namespace {

struct TCombineCase {
    const char* Name;
    std::vector<TRect> A, B;
    int Mode;
    std::vector<TRect> Expected;  // the banded rectangle list
};

void PrintTo(const TCombineCase& c, std::ostream* os) {
    *os << c.Name;
}

class CombineTest : public testing::TestWithParam<TCombineCase> {};

TEST_P(CombineTest, GivesTheBandedRectangles) {
    const TCombineCase& c = GetParam();
    TRegion result;
    const int kind = CombineRgn(result, ExtCreateRegion(c.A), ExtCreateRegion(c.B), c.Mode);
    EXPECT_EQ(result.Rects(), c.Expected);
    EXPECT_EQ(kind, c.Expected.empty()       ? NULLREGION
                    : c.Expected.size() == 1 ? SIMPLEREGION
                                             : COMPLEXREGION);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CombineTest,
    testing::Values(
        TCombineCase{"OverlapUnion",
                     {{0, 0, 10, 10}},
                     {{5, 5, 15, 15}},
                     RGN_OR,
                     {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}},
        TCombineCase{"NeighboursMerge", {{0, 0, 5, 5}}, {{5, 0, 10, 5}}, RGN_OR, {{0, 0, 10, 5}}},
        TCombineCase{"StackedMerge", {{0, 0, 5, 5}}, {{0, 5, 5, 9}}, RGN_OR, {{0, 0, 5, 9}}},
        TCombineCase{"HoleSubtract",
                     {{0, 0, 10, 10}},
                     {{2, 2, 8, 8}},
                     RGN_DIFF,
                     {{0, 0, 10, 2}, {0, 2, 2, 8}, {8, 2, 10, 8}, {0, 8, 10, 10}}},
        TCombineCase{"SubtractAll", {{2, 2, 4, 4}}, {{0, 0, 10, 10}}, RGN_DIFF, {}},
        TCombineCase{"SubtractDisjoint", {{0, 0, 2, 2}}, {{5, 5, 6, 6}}, RGN_DIFF, {{0, 0, 2, 2}}},
        TCombineCase{"Intersect", {{0, 0, 10, 10}}, {{5, 5, 15, 15}}, RGN_AND, {{5, 5, 10, 10}}},
        TCombineCase{"IntersectDisjoint", {{0, 0, 2, 2}}, {{2, 2, 4, 4}}, RGN_AND, {}},
        TCombineCase{"Xor", {{0, 0, 4, 2}}, {{2, 0, 6, 2}}, RGN_XOR, {{0, 0, 2, 2}, {4, 0, 6, 2}}},
        TCombineCase{"CopyIgnoresB", {{1, 1, 3, 3}}, {{0, 0, 9, 9}}, RGN_COPY, {{1, 1, 3, 3}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RegionTest, PointTestsOnAnLShape) {
    const TRegion l = CreateRectRgn(0, 0, 2, 6).Union(CreateRectRgn(0, 4, 6, 6));
    struct TCase {
        int X, Y;
        bool Inside;
    };
    for (const TCase& c :
         {TCase{0, 0, true}, TCase{1, 5, true}, TCase{5, 5, true}, TCase{2, 0, false},
          TCase{5, 3, false}, TCase{6, 5, false}, TCase{0, 6, false}, TCase{-1, 4, false}})
        EXPECT_EQ(PtInRegion(l, c.X, c.Y), c.Inside) << c.X << "," << c.Y;
    TRect box;
    EXPECT_EQ(GetRgnBox(l, box), COMPLEXREGION);
    EXPECT_EQ(box, Rect(0, 0, 6, 6));
    EXPECT_TRUE(RectInRegion(l, {4, 4, 5, 5}));
    EXPECT_FALSE(RectInRegion(l, {3, 0, 6, 3}));
}

TEST(RegionTest, OffsetMovesEveryRectangle) {
    TRegion r = CreateRectRgn(0, 0, 2, 2).Union(CreateRectRgn(4, 0, 6, 2));
    OffsetRgn(r, 10, -1);
    EXPECT_TRUE(PtInRegion(r, 14, -1));
    EXPECT_FALSE(PtInRegion(r, 4, 0));
    EXPECT_EQ(r.Bounds(), Rect(10, -1, 16, 1));
}

TEST(RegionTest, EqualAreasGiveEqualRegionsWhateverTheOrder) {
    std::vector<TRect> rects;
    for (int i = 0; i < 50; ++i) rects.push_back(Bounds(i % 7 * 3, i / 7 * 2, 5, 3));
    const TRegion sorted = ExtCreateRegion(rects);
    std::mt19937 random(42);
    std::shuffle(rects.begin(), rects.end(), random);
    EXPECT_TRUE(EqualRgn(sorted, ExtCreateRegion(rects)));
}

TEST(RegionTest, TwentyThousandRectanglesHaveNoLimit) {
    // A comb of 100 teeth, 200 rows of 1x1 pixels each: the rows merge into one band.
    std::vector<TRect> pixels;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 100; ++x) pixels.push_back(Bounds(x * 2, y, 1, 1));
    ASSERT_EQ(pixels.size(), 20000u);
    std::mt19937 random(7);
    std::shuffle(pixels.begin(), pixels.end(), random);
    const TRegion comb = ExtCreateRegion(pixels);
    EXPECT_EQ(comb.Rects().size(), 100u);
    EXPECT_TRUE(PtInRegion(comb, 198, 199));
    EXPECT_FALSE(PtInRegion(comb, 199, 199));

    // A staircase that can't merge keeps all 20,000 rectangles.
    std::vector<TRect> steps;
    for (int i = 0; i < 20000; ++i) steps.push_back(Bounds(i, i, 2, 1));
    const TRegion stairs = ExtCreateRegion(steps);
    EXPECT_EQ(stairs.Rects().size(), 20000u);
    EXPECT_TRUE(PtInRegion(stairs, 19999, 19999));
    EXPECT_TRUE(PtInRegion(stairs, 12346, 12345));
    EXPECT_FALSE(PtInRegion(stairs, 12347, 12345));
    EXPECT_EQ(stairs.Subtract(stairs).Complexity(), NULLREGION);
}

TEST(RegionTest, RectanglesInBandOrderGiveTheSameRegionAsAnyOther) {
    // Rows of runs as a mask scan gives them, with repeated rows that merge into bands, and the
    // same runs shuffled (taking the general way).
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        std::vector<TRect> runs;
        std::vector<TRect> row;
        for (int y = 0; y < 30; ++y) {
            if (y == 0 || random() % 3 != 0) {
                row.clear();
                for (int x = int(random() % 3); x < 60; x += 2 + int(random() % 4)) {
                    const int w = 1 + int(random() % 3);
                    row.push_back({x, 0, x + w, 1});
                    x += w;
                }
            }
            for (const TRect& r : row) runs.push_back({r.Left, y, r.Right, y + 1});
        }
        std::vector<TRect> shuffled = runs;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        const TRegion banded = ExtCreateRegion(runs);
        EXPECT_EQ(banded, ExtCreateRegion(shuffled)) << round;
        EXPECT_EQ(banded.Bounds(), ExtCreateRegion(shuffled).Bounds()) << round;
    }
    // Touching or overlapping neighbours are not in band order; they still come out merged.
    const std::vector<TRect> touching{{0, 0, 2, 1}, {2, 0, 4, 1}, {0, 1, 4, 2}};
    EXPECT_EQ(ExtCreateRegion(touching).Rects(), (std::vector<TRect>{{0, 0, 4, 2}}));
    const std::vector<TRect> overlapping{{0, 0, 3, 2}, {0, 1, 3, 3}};
    EXPECT_EQ(ExtCreateRegion(overlapping).Rects(), (std::vector<TRect>{{0, 0, 3, 3}}));
}

TEST(RegionTest, ManyRectangleClipLimitsFilling) {
    std::vector<TRect> dots;
    for (int y = 0; y < 40; y += 2)
        for (int x = 0; x < 40; x += 2) dots.push_back(Bounds(x, y, 1, 1));
    const TRegion clip = ExtCreateRegion(dots);
    test::TTestSurface s(40, 40);
    SelectClipRgn(s.Dc(), &clip);
    FillRect(s.Dc(), {0, 0, 40, 40}, CreateSolidBrush(clBlack));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(s.At(x, y), (x % 2 == 0 && y % 2 == 0) ? clBlack : clWhite) << x << "," << y;
}

}  // namespace
}  // namespace gfx

namespace gfx {
namespace {

TEST(RegionTest, ClippingByOneRectangleGivesTheSameBandsAsTheGeneralWay) {
    const TRegion shapes[] = {
        TRegion::FromRects(std::vector<TRect>{{0, 0, 10, 10}, {5, 5, 20, 12}, {2, 14, 8, 30}}),
        TRegion::FromRects(std::vector<TRect>{{0, 0, 4, 40}, {8, 0, 12, 40}, {16, 0, 20, 40}}),
        TRegion(TRect{3, 3, 9, 9}),
        TRegion(),
    };
    const TRect clips[] = {
        {0, 0, 100, 100}, {1, 1, 9, 9}, {6, 0, 7, 100}, {0, 11, 30, 13}, {50, 50, 60, 60}};
    for (const TRegion& shape : shapes)
        for (const TRect& clip : clips) {
            const TRegion fast = shape.Intersect(TRegion(clip));
            // The same through differences, which walk every band.
            const TRegion slow = shape.Subtract(shape.Subtract(TRegion(clip)));
            EXPECT_EQ(fast, slow);
            EXPECT_EQ(TRegion(clip).Intersect(shape), fast);
            for (int y = -1; y < 42; ++y)
                for (int x = -1; x < 22; ++x)
                    ASSERT_EQ(fast.Contains(x, y), shape.Contains(x, y) && clip.Contains(x, y));
        }
}

}  // namespace
}  // namespace gfx
