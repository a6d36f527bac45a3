#include "skin/core/skin_regions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace skin {
namespace {

using gfx::TBitmap;
using gfx::TRegion;

// A mask from rows of text: '#' black (inside), '.' white, 'g' dark grey (1, 1, 1).
void Mask(TBitmap& b, const std::vector<std::string>& rows) {
    b.SetSize(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const char c = rows[std::size_t(y)][std::size_t(x)];
            b.Canvas().SetPixel(x, y,
                                c == '#'   ? gfx::clBlack
                                : c == 'g' ? gfx::RGB(1, 1, 1)
                                           : gfx::clWhite);
        }
}

void Mask(TBitmap& b, int w, int h, const std::function<bool(int, int)>& inside) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.Canvas().SetPixel(x, y, inside(x, y) ? gfx::clBlack : gfx::clWhite);
}

struct TData {
    TRegionDataHeader Header;
    std::vector<TRect> Rects;
};

TData Decode(const std::vector<std::uint8_t>& data) {
    TData out;
    std::memcpy(&out.Header, data.data(), sizeof out.Header);
    out.Rects.resize(out.Header.nCount);
    if (!out.Rects.empty())
        std::memcpy(out.Rects.data(), data.data() + 32, out.Rects.size() * sizeof(TRect));
    return out;
}

TEST(MaskScanTest, RunsOfEachRowWithHeaderAndBound) {
    struct TCase {
        const char* Name;
        std::vector<std::string> Rows;
        int X, Y;
        std::vector<TRect> Want;
    };
    const TCase cases[] = {
        {"all black: one rectangle per row",
         {"####", "####", "####"},
         0,
         0,
         {{0, 0, 4, 1}, {0, 1, 4, 2}, {0, 2, 4, 3}}},
        {"one black pixel, moved",
         {".......", ".......", "...#...", ".......", "......."},
         10,
         20,
         {{13, 22, 14, 23}}},
        {"several runs in a row",
         {"#.##..#", "......."},
         0,
         0,
         {{0, 0, 1, 1}, {2, 0, 4, 1}, {6, 0, 7, 1}}},
        {"dark grey is outside", {"g#g", "ggg"}, 0, 0, {{1, 0, 2, 1}}},
        {"no black at all", {"...", "g.."}, 5, 5, {}},
    };
    for (const TCase& c : cases) {
        TBitmap mask;
        Mask(mask, c.Rows);
        std::vector<std::uint8_t> data;
        const int size = MaskRunsToRegionData(mask, c.X, c.Y, data);
        ASSERT_EQ(size, int(32 + 16 * c.Want.size())) << c.Name;
        ASSERT_EQ(data.size(), std::size_t(size)) << c.Name;
        const TData d = Decode(data);
        EXPECT_EQ(d.Header.dwSize, 32u) << c.Name;
        EXPECT_EQ(d.Header.iType, 1u) << c.Name;
        EXPECT_EQ(d.Header.nRgnSize, 0u) << c.Name;
        EXPECT_EQ(d.Header.rcBound, (TRect{c.X, c.Y, c.X + mask.Width(), c.Y + mask.Height()}))
            << c.Name;
        EXPECT_EQ(d.Rects, c.Want) << c.Name;
    }
}

TEST(MaskScanTest, EmptyMaskGivesNothing) {
    TBitmap mask;
    std::vector<std::uint8_t> data{1, 2, 3};
    EXPECT_EQ(MaskRunsToRegionData(mask, 0, 0, data), 0);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 2, 3}));
    std::optional<TRegion> rgn = TRegion({0, 0, 1, 1});
    MaskToRegion(rgn, mask);
    EXPECT_FALSE(rgn);
}

TEST(MaskScanTest, CheckerboardOfOnePixelCells) {
    TBitmap mask;
    Mask(mask, 300, 300, [](int x, int y) { return (x + y) % 2 == 0; });
    std::vector<std::uint8_t> data;
    EXPECT_EQ(MaskRunsToRegionData(mask, 0, 0, data), 32 + 16 * 45'000);
    std::optional<TRegion> rgn;
    MaskToRegion(rgn, mask);
    ASSERT_TRUE(rgn);
    EXPECT_EQ(rgn->Bounds(), (TRect{0, 0, 300, 300}));
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            ASSERT_EQ(rgn->Contains(x, y), (x + y) % 2 == 0) << x << "," << y;
}

TEST(MaskScanTest, RoundedMaskBecomesItsShape) {
    TBitmap mask;
    Mask(mask, {"..####..", ".######.", "########", "########", ".######."});
    std::optional<TRegion> rgn;
    MaskToRegion(rgn, mask);
    ASSERT_TRUE(rgn);
    const TRegion want = TRegion::FromRects(
        std::vector<TRect>{{2, 0, 6, 1}, {1, 1, 7, 2}, {0, 2, 8, 4}, {1, 4, 7, 5}});
    EXPECT_EQ(*rgn, want);
}

// ---- window regions ----------------------------------------------------------------------------

// A 20 x 20 window mask: borders 4 (left, right) and 5 (top, bottom); top and bottom edges from
// x 6 to 14, side edges from y 7 to 13. Black but for cut-off corners and one hole in each
// edge piece, so every piece shows where it landed.
void WindowMask(TBitmap& mask) {
    Mask(mask, 20, 20, [](int x, int y) {
        const bool corner =
            (x < 2 && y < 2) || (x >= 18 && y < 2) || (x < 2 && y >= 18) || (x >= 18 && y >= 18);
        const bool hole = (x == 8 && y == 1) || (x == 1 && y == 9) || (x == 18 && y == 10) ||
                          (x == 11 && y == 18) || (x == 2 && y == 6) || (x == 17 && y == 14);
        return !corner && !hole;
    });
}

struct TWindowGeometry {
    TPoint Lt{6, 7}, Rt{14, 7}, Lb{6, 13}, Rb{14, 13};
    TRect Cl{4, 5, 16, 15};
    // At 50 x 40.
    TPoint NewLt{6, 7}, NewRt{44, 7}, NewLb{6, 33}, NewRb{44, 33};
    TRect NewCl{4, 5, 46, 35};
};

// Where a pixel of the 50 x 40 window comes from in the mask, worked out by hand: fixed parts
// stay, edge pieces repeat from their start. (-1, -1) inside the client rectangle.
TPoint MaskPixelAt50x40(int x, int y) {
    auto across = [](int v) { return v < 6 ? v : v >= 44 ? v - 30 : 6 + (v - 6) % 8; };
    auto down = [](int v) {  // v counted from the client rectangle's top
        return v < 2 ? 5 + v : v >= 28 ? v - 15 : 7 + v % 6;
    };
    if (y < 5) return {across(x), y};
    if (y >= 35) return {across(x), y - 20};
    if (x < 4) return {x, down(y - 5)};
    if (x >= 46) return {x - 30, down(y - 5)};
    return {-1, -1};
}

TEST(WindowRegionTest, GrownWindowFromItsBorderStrips) {
    TBitmap mask;
    WindowMask(mask);
    const TWindowGeometry g;
    std::optional<TRegion> rgn;
    BuildSkinWindowRegion(rgn, g.Lt, g.Rt, g.Lb, g.Rb, g.Cl, g.NewLt, g.NewRt, g.NewLb, g.NewRb,
                          g.NewCl, mask, 50, 40);
    ASSERT_TRUE(rgn);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) {
            const TPoint p = MaskPixelAt50x40(x, y);
            const bool inside = p.X < 0 || mask.Canvas().Pixel(p.X, p.Y) == gfx::clBlack;
            ASSERT_EQ(rgn->Contains(x, y), inside) << x << "," << y;
        }
    EXPECT_FALSE(rgn->Contains(50, 20));
    EXPECT_FALSE(rgn->Contains(20, 40));
}

TEST(WindowRegionTest, MissingBorderEmptyClientAndBackwardPoints) {
    TBitmap mask;
    WindowMask(mask);
    const TWindowGeometry g;
    std::optional<TRegion> rgn;

    // Without a left border the other three strips still count.
    TRect cl = g.Cl, ncl = g.NewCl;
    cl.Left = ncl.Left = 0;
    BuildSkinWindowRegion(rgn, g.Lt, g.Rt, g.Lb, g.Rb, cl, g.NewLt, g.NewRt, g.NewLb, g.NewRb, ncl,
                          mask, 50, 40);
    ASSERT_TRUE(rgn);
    EXPECT_FALSE(rgn->Contains(0, 0));       // top strip's cut-off corner
    EXPECT_FALSE(rgn->Contains(8, 1));       // top strip's hole
    EXPECT_FALSE(rgn->Contains(48, 5 + 3));  // right strip's hole: mask (18, 10)
    EXPECT_FALSE(rgn->Contains(49, 39));     // bottom strip's corner
    EXPECT_TRUE(rgn->Contains(1, 9 + 5));    // the client rectangle reaches x 0
    EXPECT_TRUE(rgn->Contains(46, 20));

    // An empty client rectangle leaves the strips alone.
    ncl = g.NewCl;
    ncl.Right = ncl.Left;
    BuildSkinWindowRegion(rgn, g.Lt, g.Rt, g.Lb, g.Rb, g.Cl, g.NewLt, g.NewRt, g.NewLb, g.NewRb,
                          ncl, mask, 50, 40);
    ASSERT_TRUE(rgn);
    EXPECT_FALSE(rgn->Contains(20, 20));
    EXPECT_TRUE(rgn->Contains(20, 2));
    EXPECT_TRUE(rgn->Contains(2, 20));
    // The right strip sits at NewClRect.Right, here the client's left.
    EXPECT_TRUE(rgn->Contains(ncl.Right + 2, 21));

    // New points that run backwards give no region at all.
    rgn = TRegion({0, 0, 5, 5});
    BuildSkinWindowRegion(rgn, g.Lt, g.Rt, g.Lb, g.Rb, g.Cl, g.NewRt, g.NewLt, g.NewLb, g.NewRb,
                          g.NewCl, mask, 50, 40);
    EXPECT_FALSE(rgn);
    rgn = TRegion({0, 0, 5, 5});
    BuildSkinWindowRegion(rgn, g.Lt, g.Rt, g.Lb, g.Rb, g.Cl, g.NewLb, g.NewRt, g.NewLt, g.NewRb,
                          g.NewCl, mask, 50, 40);
    EXPECT_FALSE(rgn);
}

TEST(WindowRegionTest, StripsAreTiledNeverStretched) {
    TBitmap mask, top, left, right, bottom;
    WindowMask(mask);
    const TWindowGeometry g;
    SplitSkinBorderStrips(g.Lt, g.Rt, g.Lb, g.Rb, g.Cl, g.NewLt, g.NewRt, g.NewLb, g.NewRb, g.NewCl,
                          mask, top, left, right, bottom, 50, 40);
    EXPECT_EQ((gfx::TSize{top.Width(), top.Height()}), (gfx::TSize{50, 5}));
    EXPECT_EQ((gfx::TSize{bottom.Width(), bottom.Height()}), (gfx::TSize{50, 5}));
    EXPECT_EQ((gfx::TSize{left.Width(), left.Height()}), (gfx::TSize{4, 30}));
    EXPECT_EQ((gfx::TSize{right.Width(), right.Height()}), (gfx::TSize{4, 30}));
    // Holes of the top edge piece repeat every 8 pixels from x 8.
    for (int x = 0; x < 50; ++x)
        EXPECT_EQ(top.Canvas().Pixel(x, 1) == gfx::clWhite,
                  x < 2 || x >= 48 || (x >= 6 && x < 44 && (x - 6) % 8 == 2))
            << x;
}

}  // namespace
}  // namespace skin
