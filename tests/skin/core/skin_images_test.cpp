#include "skin/core/skin_images.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace skin {
namespace {

using gfx::TBitmap;

// Every pixel of the fixtures says where it comes from: (x, y) is RGB(x + 1, y + 1, 200).
void Grid(TBitmap& b, int w, int h) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.Canvas().SetPixel(x, y, gfx::RGB(x + 1, y + 1, 200));
}

// The source pixel a built pixel was copied from; (-1, -1) for a pixel nothing was drawn on.
TPoint SourceOf(TBitmap& b, int x, int y) {
    const gfx::TColor c = b.Canvas().Pixel(x, y);
    if (gfx::GetBValue(c) != 200) return {-1, -1};
    return {gfx::GetRValue(c) - 1, gfx::GetGValue(c) - 1};
}

// The source columns of one row of a built image.
std::vector<int> Columns(TBitmap& b, int y) {
    std::vector<int> out;
    for (int x = 0; x < b.Width(); ++x) out.push_back(SourceOf(b, x, y).X);
    return out;
}
std::vector<int> Rows(TBitmap& b, int x) {
    std::vector<int> out;
    for (int y = 0; y < b.Height(); ++y) out.push_back(SourceOf(b, x, y).Y);
    return out;
}

// Checks every pixel of b against where it should come from.
void ExpectMapped(TBitmap& b, const std::function<TPoint(int, int)>& from, const char* what) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            ASSERT_EQ(SourceOf(b, x, y), from(x, y)) << what << " at " << x << "," << y;
}

// ---- strips ------------------------------------------------------------------------------------

// A 12-pixel strip picture at (5, 1) of a 30 x 6 bitmap: left part 3, middle 5, right part 4.
const TRect kStrip{5, 1, 17, 4};

TEST(SkinStripTest, TiledHorizontalStripKeepsTheEndsAndCutsTheLastPiece) {
    TBitmap source, dest;
    Grid(source, 30, 6);
    BuildHorzSkinStrip(3, 4, dest, source, kStrip, 20, 99, false);
    ASSERT_EQ(dest.Width(), 20);
    ASSERT_EQ(dest.Height(), 3);
    const std::vector<int> want{5,  6,  7,                             // left part
                                8,  9,  10, 11, 12, 8, 9, 10, 11, 12,  // middle at 3 and 8
                                8,  9,  10,                            // at 13, cut to 3
                                13, 14, 15, 16};                       // right part
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(Columns(dest, y), want) << y;
        EXPECT_EQ(SourceOf(dest, 0, y).Y, 1 + y);
    }
}

TEST(SkinStripTest, StretchedMiddleFillsItsSpanInOrder) {
    TBitmap source, dest;
    Grid(source, 30, 6);
    BuildHorzSkinStrip(3, 4, dest, source, kStrip, 20, 0, true);
    std::vector<int> row = Columns(dest, 1);
    EXPECT_EQ(std::vector<int>(row.begin(), row.begin() + 3), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(std::vector<int>(row.end() - 4, row.end()), (std::vector<int>{13, 14, 15, 16}));
    const std::vector<int> middle(row.begin() + 3, row.end() - 4);
    ASSERT_EQ(middle.size(), 13u);
    EXPECT_TRUE(std::is_sorted(middle.begin(), middle.end()));
    for (int c = 8; c <= 12; ++c) {
        const auto n = std::count(middle.begin(), middle.end(), c);
        EXPECT_TRUE(n == 2 || n == 3) << c << " appears " << n << " times";
    }
}

TEST(SkinStripTest, VariantsWithoutEndsAndNarrowerThanTheEnds) {
    TBitmap source, dest;
    Grid(source, 30, 6);
    struct TCase {
        const char* Name;
        std::function<void()> Build;
        std::vector<int> Want;
    };
    const TRect fourMiddle{5, 1, 16, 4};  // 3 + 4 + 4
    const TRect noMiddle{5, 1, 12, 4};    // 3 + 0 + 4
    const TCase cases[] = {
        {"no ends, pieces at 0, 4 and 8",
         [&] { BuildHorzSkinStripNoEnds(3, 4, dest, source, fourMiddle, 10, 0, false); },
         {8, 9, 10, 11, 8, 9, 10, 11, 8, 9}},
        {"no right part, the middle runs to the end",
         [&] { BuildHorzSkinStripNoRight(3, 4, dest, source, kStrip, 15, 0, false); },
         {5, 6, 7, 8, 9, 10, 11, 12, 8, 9, 10, 11, 12, 8, 9}},
        {"a middle of width 0 counts as one pixel",
         [&] { BuildHorzSkinStrip(3, 4, dest, source, noMiddle, 10, 0, false); },
         {5, 6, 7, 8, 8, 8, 8, 9, 10, 11}},
        // The middle's span runs backwards: nothing of it is drawn; the right part, copied
        // after the left one, covers it from NewWidth - RO.
        {"narrower than both ends",
         [&] { BuildHorzSkinStrip(3, 4, dest, source, kStrip, 5, 0, false); },
         {5, 13, 14, 15, 16}},
        {"narrower than both ends, stretched",
         [&] { BuildHorzSkinStrip(3, 4, dest, source, kStrip, 5, 0, true); },
         {5, 13, 14, 15, 16}},
        {"narrower than the left part",
         [&] { BuildHorzSkinStrip(3, 4, dest, source, kStrip, 2, 0, false); },
         {15, 16}},
    };
    for (const TCase& c : cases) {
        TBitmap fresh;
        dest.Assign(fresh);
        c.Build();
        EXPECT_EQ(Columns(dest, 0), c.Want) << c.Name;
    }
}

TEST(SkinStripTest, VerticalStripTilesDownAndSkipsAnEmptyMiddle) {
    TBitmap source, dest;
    Grid(source, 6, 30);
    const TRect skin{1, 4, 4, 13};  // top 2, middle 4, bottom 3
    BuildVertSkinStrip(2, 3, dest, source, skin, 99, 15, false);
    ASSERT_EQ(dest.Width(), 3);
    ASSERT_EQ(dest.Height(), 15);
    EXPECT_EQ(Rows(dest, 2), (std::vector<int>{4, 5, 6, 7, 8, 9, 6, 7, 8, 9, 6, 7, 10, 11, 12}));
    EXPECT_EQ(SourceOf(dest, 2, 0).X, 3);

    BuildVertSkinStrip(2, 3, dest, source, skin, 0, 7, true);
    EXPECT_EQ(Rows(dest, 0), (std::vector<int>{4, 5, 7, 9, 10, 11, 12}));

    TBitmap empty;
    BuildVertSkinStrip(2, 3, empty, source, {1, 4, 4, 9}, 0, 9, false);
    EXPECT_EQ(Rows(empty, 0), (std::vector<int>{4, 5, -1, -1, -1, -1, 6, 7, 8}));
}

// ---- nine-slice images -----------------------------------------------------------------------

// A 12 x 10 picture at (2, 3) of its bitmap: borders 3 (left), 2 (top), 4 (right), 3 (bottom);
// the corner points sit one pixel further in than the client rectangle.
struct TNine {
    TRect Skin{2, 3, 14, 13};
    TPoint Lt{4, 3}, Rt{7, 3}, Lb{4, 6}, Rb{7, 6};
    TRect Cl{3, 2, 8, 7};
    // The same geometry grown by (dw, dh).
    TPoint NewLt() const { return Lt; }
    TPoint NewRt(int dw) const { return {Rt.X + dw, Rt.Y}; }
    TPoint NewLb(int dh) const { return {Lb.X, Lb.Y + dh}; }
    TPoint NewRb(int dw, int dh) const { return {Rb.X + dw, Rb.Y + dh}; }
    TRect NewCl(int dw, int dh) const { return {Cl.Left, Cl.Top, Cl.Right + dw, Cl.Bottom + dh}; }

    void Build(TBitmap& dest, TBitmap& source, int dw, int dh, bool stretch, bool effect,
               TbsStretchType type, bool drawClient = true) const {
        BuildNineSliceImage(Lt, Rt, Lb, Rb, Cl, NewLt(), NewRt(dw), NewLb(dh), NewRb(dw, dh),
                            NewCl(dw, dh), dest, source, Skin, Skin.Width() + dw,
                            Skin.Height() + dh, drawClient, stretch, stretch, stretch, stretch,
                            effect, type);
    }
};

TEST(NineSliceTest, AtTheSkinsOwnSizeTheImageIsThePicture) {
    TBitmap source;
    Grid(source, 20, 16);
    const TNine nine;
    for (bool stretch : {false, true})
        for (bool effect : {false, true})
            for (TbsStretchType type : {bsstFull, bsstHorz, bsstVert}) {
                TBitmap dest;
                nine.Build(dest, source, 0, 0, stretch, effect, type);
                ASSERT_EQ(dest.Width(), 12);
                ASSERT_EQ(dest.Height(), 10);
                ExpectMapped(
                    dest,
                    [](int x, int y) {
                        return TPoint{x + 2, y + 3};
                    },
                    "own size");
            }
}

TEST(NineSliceTest, GrownAndTiledEdgesCornersAndCentre) {
    TBitmap source, dest;
    Grid(source, 20, 16);
    const TNine nine;
    nine.Build(dest, source, 7, 6, false, false, bsstFull);  // 19 x 16
    ASSERT_EQ(dest.Width(), 19);
    ASSERT_EQ(dest.Height(), 16);
    // Along each axis a built coordinate comes from: the fixed part before the edge, the edge
    // (or centre) piece repeated, the fixed part after it, shifted by the growth.
    auto axis = [](int v, int start, int end, int grow) {
        if (v < start) return v;
        if (v >= end + grow) return v - grow;
        return start + (v - start) % (end - start);
    };
    ExpectMapped(
        dest,
        [&](int x, int y) {
            const TNine& n = nine;
            int sx, sy;
            const bool topOrBottom = y < n.Cl.Top || y >= n.Cl.Bottom + 6;
            const bool side = x < n.Cl.Left || x >= n.Cl.Right + 7;
            if (topOrBottom) {
                sx = axis(x, n.Lt.X, n.Rt.X, 7);
                sy = y < n.Cl.Top ? y : y - 6;
            } else if (side) {
                sx = x < n.Cl.Left ? x : x - 7;
                sy = axis(y, n.Lt.Y, n.Lb.Y, 6);
            } else {
                sx = axis(x, n.Cl.Left, n.Cl.Right, 7);
                sy = axis(y, n.Cl.Top, n.Cl.Bottom, 6);
            }
            return TPoint{sx + 2, sy + 3};
        },
        "grown");
}

TEST(NineSliceTest, HorizontalCentreIsStretchedDownAndRepeatedAcrossClipped) {
    TBitmap source, dest;
    Grid(source, 30, 30);
    // A 20-pixel picture with a 10-pixel centre grown to a 35-pixel one: copies at 5, 15, 25
    // and 35, the last clipped to 5 pixels.
    const TRect skin{0, 0, 20, 8};
    const TRect cl{5, 2, 15, 6};
    BuildNineSliceImage({5, 2}, {15, 2}, {5, 6}, {15, 6}, cl, {5, 2}, {40, 2}, {5, 10}, {40, 10},
                        {5, 2, 40, 10}, dest, source, skin, 45, 12, true, false, false, false,
                        false, true, bsstHorz);
    std::vector<int> centre;
    for (int x = 5; x < 40; ++x) centre.push_back(SourceOf(dest, x, 4).X);
    std::vector<int> want;
    for (int k = 0; k < 35; ++k) want.push_back(5 + k % 10);
    EXPECT_EQ(centre, want);
    EXPECT_EQ(Columns(dest, 4).back(), 19);  // the right border is not painted over
    // Stretched down: the 4 centre rows over 8, each twice.
    std::vector<int> rows;
    for (int y = 2; y < 10; ++y) rows.push_back(SourceOf(dest, 7, y).Y);
    EXPECT_EQ(rows, (std::vector<int>{2, 2, 3, 3, 4, 4, 5, 5}));
}

TEST(NineSliceTest, VerticalCentreIsStretchedAcrossAndRepeatedDown) {
    TBitmap source, dest;
    Grid(source, 30, 30);
    const TRect cl{2, 3, 6, 7};  // a 4 x 4 centre in an 8 x 10 picture
    BuildNineSliceImage({2, 3}, {6, 3}, {2, 7}, {6, 7}, cl, {2, 3}, {10, 3}, {2, 13}, {10, 13},
                        {2, 3, 10, 13}, dest, source, {0, 0, 8, 10}, 12, 16, true, false, false,
                        false, false, true, bsstVert);
    EXPECT_EQ(Rows(dest, 4), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 3, 4, 5, 6, 3, 4, 7, 8, 9}));
    std::vector<int> across;
    for (int x = 2; x < 10; ++x) across.push_back(SourceOf(dest, x, 5).X);
    EXPECT_EQ(across, (std::vector<int>{2, 2, 3, 3, 4, 4, 5, 5}));
}

TEST(NineSliceTest, NothingIsDrawnWithoutEdgesOrSource) {
    TBitmap source, empty;
    Grid(source, 20, 16);
    const TNine nine;
    struct TCase {
        const char* Name;
        TPoint Rb;
        TBitmap* Source;
    };
    TPoint flatX = nine.Rb, flatY = nine.Rb;
    flatX.X = nine.Lt.X;
    flatY.Y = nine.Lt.Y;
    for (const TCase& c :
         {TCase{"RBPt.X = LTPt.X", flatX, &source}, TCase{"RBPt.Y = LTPt.Y", flatY, &source},
          TCase{"empty source", nine.Rb, &empty}}) {
        TBitmap dest;
        BuildNineSliceImage(nine.Lt, nine.Rt, nine.Lb, c.Rb, nine.Cl, nine.Lt, nine.NewRt(8),
                            nine.NewLb(4), nine.NewRb(8, 4), nine.NewCl(8, 4), dest, *c.Source,
                            nine.Skin, 20, 14, true, false, false, false, false, false, bsstFull);
        EXPECT_EQ(dest.Width(), 20) << c.Name;
        EXPECT_EQ(dest.Height(), 14) << c.Name;
        ExpectMapped(
            dest,
            [](int, int) {
                return TPoint{-1, -1};
            },
            c.Name);
    }
}

TEST(NineSliceTest, WithoutClientTheCentreStaysUndrawn) {
    TBitmap source, dest;
    Grid(source, 20, 16);
    const TNine nine;
    nine.Build(dest, source, 4, 4, false, false, bsstFull, false);
    EXPECT_EQ(SourceOf(dest, 5, 4), (TPoint{-1, -1}));
    EXPECT_EQ(SourceOf(dest, 0, 0), (TPoint{2, 3}));
}

TEST(NineSliceTest, NoRightVariantRunsTopBottomAndCentreToTheEdge) {
    TBitmap source, dest;
    Grid(source, 20, 16);
    const TNine n;
    BuildNineSliceImageNoRight(n.Lt, n.Rt, n.Lb, n.Rb, n.Cl, n.Lt, n.NewRt(7), n.NewLb(0),
                               n.NewRb(7, 0), n.NewCl(7, 0), dest, source, n.Skin, 19, 10, true,
                               false, false, false, false, false, bsstFull);
    // Top edge from LTPt.X = 4 with step 3 to the end; no right corner.
    std::vector<int> top = Columns(dest, 0), want{2, 3, 4, 5};
    for (int x = 4; x < 19; ++x) want.push_back(6 + (x - 4) % 3);
    EXPECT_EQ(top, want);
    // Centre tiled to the end: no right border.
    std::vector<int> centre = Columns(dest, 3), wantCentre{2, 3, 4};
    for (int x = 3; x < 19; ++x) wantCentre.push_back(5 + (x - 3) % 5);
    EXPECT_EQ(centre, wantCentre);
}

TEST(NineSliceTest, FromRectStretchesEverythingToTheDestinationsSize) {
    TBitmap source, dest;
    Grid(source, 20, 16);
    dest.SetSize(16, 12);
    // Borders 2 all round of an 8 x 6 picture at (1, 1).
    BuildNineSliceFromRect(dest, source, {1, 1, 9, 7}, {2, 2, 6, 4}, true);
    ASSERT_EQ(dest.Width(), 16);
    EXPECT_EQ(Columns(dest, 0), (std::vector<int>{1, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 8}));
    EXPECT_EQ(Rows(dest, 0), (std::vector<int>{1, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 6}));
    EXPECT_EQ(Rows(dest, 5), (std::vector<int>{1, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 6}));
}

// ---- window borders ----------------------------------------------------------------------------

TEST(SkinBorderImagesTest, TwentyPixelFrameAtFiftyByForty) {
    TBitmap picture, left, top, right, bottom;
    Grid(picture, 24, 22);
    // A 20 x 20 frame picture at (2, 1): borders 4 (left, right) and 5 (top, bottom); edges
    // from 6 to 14 across and from 7 to 13 down.
    const TRect skin{2, 1, 22, 21};
    const TRect cl{4, 5, 16, 15}, ncl{4, 5, 46, 35};
    BuildSkinBorderImages({6, 7}, {14, 7}, {6, 13}, {14, 13}, cl, {6, 7}, {44, 7}, {6, 33},
                          {44, 33}, ncl, left, top, right, bottom, picture, skin, 50, 40, false,
                          false, false, false);
    ASSERT_EQ((gfx::TSize{top.Width(), top.Height()}), (gfx::TSize{50, 5}));
    ASSERT_EQ((gfx::TSize{bottom.Width(), bottom.Height()}), (gfx::TSize{50, 5}));
    ASSERT_EQ((gfx::TSize{left.Width(), left.Height()}), (gfx::TSize{4, 30}));
    ASSERT_EQ((gfx::TSize{right.Width(), right.Height()}), (gfx::TSize{4, 30}));

    // Worked out by hand from the picture's layout, in picture coordinates (+ (2, 1)): the
    // edges are tiled from the image's start, then the corners laid over them.
    auto across = [](int x) { return x < 6 ? x : x >= 44 ? x - 30 : 6 + x % 8; };
    auto down = [](int y) { return y < 2 ? 5 + y : y >= 28 ? y - 15 : 7 + y % 6; };
    ExpectMapped(
        top,
        [&](int x, int y) {
            return TPoint{across(x) + 2, y + 1};
        },
        "top");
    ExpectMapped(
        bottom,
        [&](int x, int y) {
            return TPoint{across(x) + 2, 15 + y + 1};
        },
        "bottom");
    ExpectMapped(
        left,
        [&](int x, int y) {
            return TPoint{x + 2, down(y) + 1};
        },
        "left");
    ExpectMapped(
        right,
        [&](int x, int y) {
            return TPoint{16 + x + 2, down(y) + 1};
        },
        "right");

    // Stretched, the left edge's 6 rows fill rows 2 to 27 between its end pieces.
    BuildSkinBorderImages({6, 7}, {14, 7}, {6, 13}, {14, 13}, cl, {6, 7}, {44, 7}, {6, 33},
                          {44, 33}, ncl, left, top, right, bottom, picture, skin, 50, 40, true,
                          true, true, true);
    const std::vector<int> rows = Rows(left, 0);
    EXPECT_EQ(std::vector<int>(rows.begin(), rows.begin() + 3), (std::vector<int>{6, 7, 8}));
    EXPECT_EQ(std::vector<int>(rows.end() - 3, rows.end()), (std::vector<int>{13, 14, 15}));
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
    // Top stretched between the new corner points.
    EXPECT_EQ(SourceOf(top, 43, 0).X, 15);
    EXPECT_EQ(SourceOf(top, 44, 0).X, 16);
}

TEST(SkinBorderImagesTest, BordersWithoutThicknessAreLeftAlone) {
    TBitmap picture, left, top, right, bottom;
    Grid(picture, 20, 20);
    // No top border and no right border.
    BuildSkinBorderImages({6, 7}, {14, 7}, {6, 13}, {14, 13}, {4, 0, 20, 15}, {6, 7}, {44, 7},
                          {6, 33}, {44, 33}, {4, 0, 50, 35}, left, top, right, bottom, picture,
                          {0, 0, 20, 20}, 50, 40, false, false, false, false);
    EXPECT_TRUE(top.Empty());
    EXPECT_TRUE(right.Empty());
    EXPECT_EQ(bottom.Height(), 5);
    EXPECT_EQ(left.Height(), 35);
}

// ---- glyph strips ------------------------------------------------------------------------------

TEST(StripFrameTest, DrawsOneFrameLeavingOutItsBottomLeftColour) {
    TBitmap strip, target;
    Grid(strip, 9, 3);                          // three frames of 3 x 3
    strip.Canvas().SetPixel(3, 2, gfx::clRed);  // frame 2's bottom-left pixel: its key colour
    strip.Canvas().SetPixel(5, 0, gfx::clRed);
    target.SetSize(5, 5);
    target.Canvas().Brush().SetColor(gfx::clWhite);
    target.Canvas().FillRect({0, 0, 5, 5});
    DrawStripFrame(target.Canvas(), 1, 1, strip, 3, 2);
    EXPECT_EQ(SourceOf(target, 1, 1), (TPoint{3, 0}));
    EXPECT_EQ(SourceOf(target, 3, 3), (TPoint{5, 2}));
    EXPECT_EQ(target.Canvas().Pixel(1, 3), gfx::clWhite);
    EXPECT_EQ(target.Canvas().Pixel(3, 1), gfx::clWhite);
    EXPECT_EQ(target.Canvas().Pixel(4, 1), gfx::clWhite);  // beyond the frame

    TBitmap empty;
    DrawStripFrame(target.Canvas(), 0, 0, empty, 3, 1);
    DrawStripFrame(target.Canvas(), 0, 0, strip, 0, 1);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), gfx::clWhite);
}

}  // namespace
}  // namespace skin
