#include "skin/core/drawing_routines.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/text.h"
#include "platform/vcl/vcl_test_support.h"
#include "skin/core/png_image_list.h"
#include "support/png_bytes.h"

namespace skin {
namespace {

using gfx::TBitmap;

// ---- layout ------------------------------------------------------------------------------------

TEST(LayoutGlyphAndTextTest, FourLayoutsAndThreeMargins) {
    struct TCase {
        TbsButtonLayout Layout;
        int Margin;
        int GlyphX, GlyphY, TextX, TextY;
    };
    // A 16 x 16 glyph, a 40 x 12 caption and spacing 4 in (0, 0, 100, 60): centre (50, 30).
    const TCase cases[] = {
        {blGlyphLeft, -1, 20, 22, 40, 24},  {blGlyphLeft, 0, 0, 22, 20, 24},
        {blGlyphLeft, 5, 5, 22, 25, 24},    {blGlyphRight, -1, 64, 22, 20, 24},
        {blGlyphRight, 0, 84, 22, 40, 24},  {blGlyphRight, 5, 79, 22, 35, 24},
        {blGlyphTop, -1, 42, 14, 30, 34},   {blGlyphTop, 0, 42, 0, 30, 20},
        {blGlyphTop, 5, 42, 5, 30, 25},     {blGlyphBottom, -1, 42, 30, 30, 14},
        {blGlyphBottom, 0, 42, 44, 30, 28}, {blGlyphBottom, 5, 42, 39, 30, 23},
    };
    for (const TCase& c : cases) {
        int tx = -99, ty = -99, gx = -99, gy = -99;
        LayoutGlyphAndText(c.Layout, {0, 0, 100, 60}, 16, 16, 40, 12, 4, c.Margin, tx, ty, gx, gy);
        EXPECT_EQ((std::vector<int>{gx, gy, tx, ty}),
                  (std::vector<int>{c.GlyphX, c.GlyphY, c.TextX, c.TextY}))
            << "layout " << c.Layout << " margin " << c.Margin;
    }
}

TEST(LayoutGlyphAndTextTest, WithoutGlyphTheSpacingCountsAsZero) {
    struct TCase {
        TbsButtonLayout Layout;
        int Margin;
        int TextX, TextY;
    };
    const TCase cases[] = {{blGlyphLeft, -1, 30, 24},
                           {blGlyphLeft, 5, 5, 24},
                           {blGlyphRight, 0, 60, 24},
                           {blGlyphTop, -1, 30, 24},
                           {blGlyphBottom, 5, 30, 43}};
    for (const TCase& c : cases) {
        int tx = 0, ty = 0, gx = 0, gy = 0;
        LayoutGlyphAndText(c.Layout, {0, 0, 100, 60}, 0, 0, 40, 12, 4, c.Margin, tx, ty, gx, gy);
        EXPECT_EQ(tx, c.TextX) << c.Layout << " " << c.Margin;
        EXPECT_EQ(ty, c.TextY) << c.Layout << " " << c.Margin;
    }
}

// ---- golden pixel patterns -------------------------------------------------------------------

// Draws on a white w x h bitmap and returns its rows, '#' for every pixel that changed.
std::vector<std::string> Pattern(int w, int h, const std::function<void(gfx::TCanvas&)>& draw) {
    TBitmap b;
    b.SetSize(w, h);
    gfx::TCanvas& canvas = b.Canvas();
    canvas.Brush().SetColor(gfx::clWhite);
    canvas.FillRect({0, 0, w, h});
    canvas.Brush().SetColor(gfx::clYellow);  // the routines pick their own colours
    draw(canvas);
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string row;
        for (int x = 0; x < w; ++x) row += canvas.Pixel(x, y) == gfx::clWhite ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

using TRows = std::vector<std::string>;

TEST(DrawingPatternTest, DotFrames) {
    auto frame = [](TRect r) {
        return [r](gfx::TCanvas& c) {
            c.Font().SetColor(gfx::clBlack);
            DrawDotFrame(c, r);
        };
    };
    // Width and height less one both even: the top-left pixel is off.
    EXPECT_EQ(Pattern(6, 6, frame({0, 0, 5, 5})),
              (TRows{".#.#..", "#...#.", "......", "#...#.", ".#.#..", "......"}));
    EXPECT_EQ(Pattern(7, 6, frame({0, 0, 6, 5})),
              (TRows{"#.#.#..", ".....#.", "#......", ".....#.", "#.#.#..", "......."}));
    EXPECT_EQ(Pattern(5, 3, frame({1, 1, 4, 2})), (TRows{".....", "..#..", "....."}));
    EXPECT_EQ(Pattern(3, 3, frame({1, 1, 1, 3})), (TRows{"...", "...", "..."}));
}

TEST(DrawingPatternTest, ArrowsAroundTheCentre) {
    // (0, 0, 9, 9): centre (4, 4).
    auto arrow = [](int kind) {
        return [kind](gfx::TCanvas& c) { DrawDirArrow(c, {0, 0, 9, 9}, gfx::clBlack, kind); };
    };
    EXPECT_EQ(Pattern(9, 9, arrow(1)),
              (TRows{".........", ".....#...", "....##...", "...###...", "..####...", "...###...",
                     "....##...", ".....#...", "........."}));
    EXPECT_EQ(Pattern(9, 9, arrow(2)),
              (TRows{".........", "...#.....", "...##....", "...###...", "...####..", "...###...",
                     "...##....", "...#.....", "........."}));
    EXPECT_EQ(Pattern(9, 9, arrow(3)),
              (TRows{".........", ".........", "....#....", "...###...", "..#####..", ".#######.",
                     ".........", ".........", "........."}));
    EXPECT_EQ(Pattern(9, 9, arrow(4)),
              (TRows{".........", ".........", ".........", ".#######.", "..#####..", "...###...",
                     "....#....", ".........", "........."}));
    EXPECT_EQ(Pattern(9, 9, arrow(5)), Pattern(9, 9, [](gfx::TCanvas&) {}));
    EXPECT_EQ(Pattern(9, 9,
                      [](gfx::TCanvas& c) {
                          DrawDropArrow3(c, {0, 0, 9, 9}, gfx::clBlack);
                      }),
              (TRows{".........", ".........", ".........", ".........", "..#####..", "...###...",
                     "....#....", ".........", "........."}));
}

TEST(DrawingPatternTest, CheckAndRadioMarks) {
    EXPECT_EQ(Pattern(9, 9, [](gfx::TCanvas& c) { DrawCheckMark(c, 1, 0, gfx::clBlack); }),
              (TRows{".........", ".......#.", "......##.", ".#...###.", ".##.###..", ".#####...",
                     "..###....", "...#.....", "........."}));
    EXPECT_EQ(Pattern(8, 8, [](gfx::TCanvas& c) { DrawRadioMark(c, 1, 1, gfx::clBlack); }),
              (TRows{"........", ".######.", ".######.", ".######.", ".######.", ".######.",
                     ".######.", "........"}));
}

TEST(DrawingPatternTest, CaptionButtonGlyphs) {
    struct TCase {
        const char* Name;
        void (*Draw)(gfx::TCanvas&, int, int, gfx::TColor);
        TRows Want;
    };
    const TCase cases[] = {
        {"close",
         DrawCloseGlyph,
         {"............", "............", "..##.....##.", "...##...##..", "....##.##...",
          ".....###....", ".....###....", "....##.##...", "...##...##..", "..##.....##.",
          "............", "............"}},
        {"system menu",
         DrawSysMenuGlyph,
         {"............", "............", "............", "............", "..########..",
          "..#......#..", "..########..", "............", "............", "............",
          "............", "............"}},
        {"minimize",
         DrawMinimizeGlyph,
         {"............", "............", "............", "............", "............",
          "............", "............", "............", "............", "..########..",
          "..########..", "............"}},
        {"maximize",
         DrawMaximizeGlyph,
         {"............", ".###########", ".###########", ".#.........#", ".#.........#",
          ".#.........#", ".#.........#", ".#.........#", ".#.........#", ".#.........#",
          ".###########", "............"}},
        {"restore",
         DrawRestoreGlyph,
         {"............", "...########.", "...########.", "...#......#.", "...#......#.",
          ".#######..#.", ".##########.", ".#.....#....", ".#.....#....", ".#.....#....",
          ".#######....", "............"}},
        {"roll down",
         DrawRollDownGlyph,
         {"............", "............", "............", "..########..", "...######...",
          "....####....", ".....##.....", "............", "............", "............",
          "............", "............"}},
        {"roll up",
         DrawRollUpGlyph,
         {"............", "............", "............", "............", ".....##.....",
          "....####....", "...######...", "..########..", "............", "............",
          "............", "............"}},
        {"tray",
         DrawTrayGlyph,
         {"............", "............", "............", "...#####....", "...#####....",
          "...#####....", "...#####....", "...#####....", "............", "............",
          "............", "............"}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(
            Pattern(12, 12, [&](gfx::TCanvas& canvas) { c.Draw(canvas, 1, 1, gfx::clBlack); }),
            c.Want)
            << c.Name;
}

// ---- text ------------------------------------------------------------------------------------

class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        Bitmap.SetSize(200, 40);
        Canvas().Font().SetName("Arial");
        Canvas().Font().SetHeight(-12);
    }
    gfx::TCanvas& Canvas() { return Bitmap.Canvas(); }
    TBitmap Bitmap;
};

TEST_F(TextTest, EllipsisKeepsWholeCharactersAndAlwaysEndsInDots) {
    using TShorten = void (*)(gfx::TCanvas&, std::string&, int);
    for (TShorten shorten : {TShorten(EllipsizeText), TShorten(EllipsizeWideText)}) {
        const int twoAndDots = Canvas().TextWidth("ab...");
        struct TCase {
            std::string Text;
            int Width;
            std::string Want;
        };
        const TCase cases[] = {
            {"abcdef", twoAndDots, "ab..."},
            {"abcdef", twoAndDots - 1, "a..."},
            {"abcdef", 0, "..."},
            {"abcdef", Canvas().TextWidth("abcdef"), "abcdef"},
            {"", 0, ""},
            {"视频转换文件", Canvas().TextWidth("视频..."), "视频..."},
        };
        for (const TCase& c : cases) {
            std::string text = c.Text;
            shorten(Canvas(), text, c.Width);
            EXPECT_EQ(text, c.Want) << c.Text << " at " << c.Width;
        }
        // At every width the Chinese text loses whole characters only.
        const std::string chinese = "视频转换文件";
        for (int w = 0; w <= Canvas().TextWidth(chinese); ++w) {
            std::string text = chinese;
            shorten(Canvas(), text, w);
            if (text == chinese) continue;
            ASSERT_GE(text.size(), 3u);
            const std::string kept = text.substr(0, text.size() - 3);
            EXPECT_EQ(text.substr(text.size() - 3), "...");
            EXPECT_EQ(kept.size() % 3, 0u) << w;
            EXPECT_EQ(chinese.compare(0, kept.size(), kept), 0) << w;
        }
    }
}

TEST_F(TextTest, MeasuresAsDrawTextDoes) {
    EXPECT_EQ(WideTextWidthOf(Canvas(), "Moradex"), Canvas().TextWidth("Moradex"));
    EXPECT_EQ(WideTextHeightOf(Canvas(), "Moradex"), Canvas().TextHeight("Moradex"));
    EXPECT_EQ(WideTextWidthOf(Canvas(), ""), 0);
}

// The first and last columns and rows with ink, as (left, top, right, bottom), exclusive.
TRect InkBounds(TBitmap& b) {
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixel(x, y) != gfx::clWhite) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r;
}

TEST_F(TextTest, LineHelpersPlaceTheTextAndSkipEmptyOnes) {
    auto clear = [&] {
        Canvas().Brush().SetStyle(gfx::bsSolid);
        Canvas().Brush().SetColor(gfx::clWhite);
        Canvas().FillRect({0, 0, 200, 40});
        Canvas().Brush().SetStyle(gfx::bsClear);
        Canvas().Font().SetColor(gfx::clBlack);
    };
    clear();
    DrawTextLeftCentredV(Canvas(), "", {10, 0, 100, 40});
    DrawTextCentredV(Canvas(), "", {10, 0, 100, 40});
    EXPECT_EQ(InkBounds(Bitmap).Right, 0);

    clear();
    DrawTextLeftCentredVOffset(Canvas(), "HHH", {10, 0, 100, 40}, 20);
    const TRect offset = InkBounds(Bitmap);
    clear();
    DrawTextLeftCentredV(Canvas(), "HHH", {10, 0, 100, 40});
    const TRect plain = InkBounds(Bitmap);
    EXPECT_GE(plain.Left, 12);
    EXPECT_LT(plain.Left, 16);
    EXPECT_EQ(offset.Left, plain.Left + 20);
    EXPECT_NEAR((plain.Top + plain.Bottom) / 2, 20, 2);

    // Clipped to the rectangle.
    clear();
    DrawTextLeftCentredV(Canvas(), "HHHHHHHHHHHH", {10, 0, 30, 40});
    EXPECT_LE(InkBounds(Bitmap).Right, 30);

    clear();
    DrawTextCentredV(Canvas(), "HHH", {10, 0, 100, 40});
    const TRect centred = InkBounds(Bitmap);
    EXPECT_LT(centred.Left, 13);
    EXPECT_NEAR((centred.Top + centred.Bottom) / 2, 20, 2);
}

// ---- glyph and caption -----------------------------------------------------------------------

TEST_F(TextTest, GlyphFromAStripWithMarkersAndPressedLook) {
    // Two 4 x 4 frames: the first green, the second blue, each with a white bottom-left pixel.
    TBitmap strip;
    strip.SetSize(8, 4);
    strip.Canvas().Brush().SetColor(gfx::clLime);
    strip.Canvas().FillRect({0, 0, 4, 4});
    strip.Canvas().Brush().SetColor(gfx::clBlue);
    strip.Canvas().FillRect({4, 0, 8, 4});
    strip.Canvas().SetPixel(0, 3, gfx::clWhite);
    strip.Canvas().SetPixel(4, 3, gfx::clWhite);

    struct TCase {
        const char* Name;
        bool Down;
        bool Marker;
        TRect Blue;  // where frame 2 lands
        std::vector<int> MarkerRows;
    };
    // Glyph only, its spacing still counting, centred in (0, 0, 20, 10): at 10 - (4 + 3) / 2.
    const TCase cases[] = {
        {"up", false, false, {7, 3, 11, 7}, {}},
        {"down", true, false, {8, 4, 12, 8}, {}},
        {"with marker", false, true, {7, 3, 11, 5}, {5, 6, 7}},
    };
    for (const TCase& c : cases) {
        Canvas().Brush().SetStyle(gfx::bsSolid);
        Canvas().Brush().SetColor(gfx::clWhite);
        Canvas().FillRect({0, 0, 200, 40});
        PaintGlyphTextFromBitmap(Canvas(), {0, 0, 20, 10}, -1, 3, blGlyphLeft, "", strip, 2, 2,
                                 c.Down, c.Marker, gfx::clRed);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x) {
                const gfx::TColor p = Canvas().Pixel(x, y);
                const bool marker =
                    std::find(c.MarkerRows.begin(), c.MarkerRows.end(), y) != c.MarkerRows.end() &&
                    x >= c.Blue.Left && x < c.Blue.Left + 4;
                const bool blue =
                    c.Blue.Contains(x, y) && !(x == c.Blue.Left && y == c.Blue.Top + 3);
                ASSERT_EQ(p, marker ? gfx::clRed
                             : blue ? gfx::clBlue
                                    : gfx::clWhite)
                    << c.Name << " at " << x << "," << y;
            }
    }

    // Neither glyph nor caption: the marker fills the rectangle less its margins.
    TBitmap none;
    for (bool down : {false, true}) {
        Canvas().Brush().SetColor(gfx::clWhite);
        Canvas().FillRect({0, 0, 200, 40});
        PaintGlyphTextFromBitmap(Canvas(), {0, 0, 20, 20}, -1, 3, blGlyphLeft, "", none, 1, 1, down,
                                 true, gfx::clRed);
        EXPECT_EQ(InkBounds(Bitmap), (down ? TRect{4, 5, 18, 17} : TRect{4, 4, 18, 16}));
    }
}

TEST_F(TextTest, CaptionIsLaidOutBesideTheGlyphAndUnderlinedByTheMarker) {
    Canvas().Brush().SetColor(gfx::clWhite);
    Canvas().FillRect({0, 0, 200, 40});
    Canvas().Font().SetColor(gfx::clBlack);
    TBitmap none;
    PaintGlyphTextFromBitmap(Canvas(), {0, 0, 200, 40}, 10, 3, blGlyphLeft, "HH", none, 1, 1, false,
                             true, gfx::clRed);
    // No glyph: the caption starts at the margin; the marker runs under its rectangle.
    const int width = Canvas().TextWidth("HH"), height = Canvas().TextHeight("HH");
    const int top = 20 - height / 2, bottom = top + height;
    for (int dy = -1; dy <= 1; ++dy) {
        EXPECT_EQ(Canvas().Pixel(10, bottom + dy), gfx::clRed) << dy;
        EXPECT_EQ(Canvas().Pixel(10 + width + 1, bottom + dy), gfx::clRed) << dy;
        EXPECT_EQ(Canvas().Pixel(10 + width + 2, bottom + dy), gfx::clWhite) << dy;
    }
    bool ink = false;
    for (int y = top; y < bottom - 1; ++y)
        for (int x = 10; x < 10 + width; ++x) ink |= Canvas().Pixel(x, y) != gfx::clWhite;
    EXPECT_TRUE(ink);
    // The brush is left clear for the caller's next caption.
    EXPECT_EQ(Canvas().Brush().Style(), gfx::bsClear);
}

// A PNG image list of 6 x 6 holding one opaque red picture.
struct TRedList {
    TRedList() {
        std::vector<std::uint8_t> rows;
        for (int i = 0; i < 36; ++i) rows.insert(rows.end(), {255, 0, 0});
        gfx::TPngImage red;
        red.LoadFromBuffer(testsupport::MakePng({6, 6, gfx::pctRgb, 8, rows, {}, {}}));
        List->SetPngWidth(6);
        List->SetPngHeight(6);
        List->PngImages().Add()->SetPngImage(red);
    }
    ~TRedList() { List->Free(); }
    TbsPngImageList* List = new TbsPngImageList(nullptr);
};

TEST_F(TextTest, ImageListGlyphEnabledDisabledAndOutOfRange) {
    TRedList red;
    auto paint = [&](int index, bool enabled, bool down) {
        Canvas().Brush().SetColor(gfx::clWhite);
        Canvas().FillRect({0, 0, 200, 40});
        PaintGlyphTextFromList(Canvas(), {0, 0, 20, 20}, 2, 3, blGlyphLeft, "", index, red.List,
                               down, enabled, false, gfx::clNone);
    };
    // Glyph at the margin, centred down: (2, 7).
    paint(0, true, false);
    EXPECT_EQ(InkBounds(Bitmap), (TRect{2, 7, 8, 13}));
    EXPECT_EQ(Canvas().Pixel(2, 7), gfx::clRed);
    EXPECT_EQ(Canvas().Brush().Style(), gfx::bsClear);  // clear even without a caption
    paint(0, true, true);
    EXPECT_EQ(InkBounds(Bitmap), (TRect{3, 8, 9, 14}));
    paint(0, false, false);
    const gfx::TColor faded = Canvas().Pixel(4, 9);
    EXPECT_EQ(gfx::GetRValue(faded), 255);
    EXPECT_NEAR(gfx::GetGValue(faded), 127, 1);
    EXPECT_NEAR(gfx::GetBValue(faded), 127, 1);
    // An index equal to the count draws nothing and lays out as if there were no glyph.
    paint(1, true, false);
    EXPECT_EQ(InkBounds(Bitmap).Right, 0);
}

TEST_F(TextTest, ImageListCaptionIsCentredOrLeftAligned) {
    TRedList red;
    Canvas().Font().SetColor(gfx::clBlack);
    // The ink of the whole caption, and of its first line alone.
    auto paint = [&](bool left, TRect& firstLine) {
        Canvas().Brush().SetColor(gfx::clWhite);
        Canvas().FillRect({0, 0, 200, 40});
        (left ? PaintGlyphTextFromList2 : PaintGlyphTextFromList)(
            Canvas(), {0, 0, 200, 40}, -1, 0, blGlyphTop, "I\nWWWWWW", -1, red.List, false, true,
            false, gfx::clNone);
        const TRect all = InkBounds(Bitmap);
        TBitmap top;
        top.SetSize(200, 4);
        top.Canvas().CopyRect({0, 0, 200, 4}, Canvas(), {0, all.Top, 200, all.Top + 4});
        firstLine = InkBounds(top);
        return all;
    };
    TRect centred, left;
    const TRect centredAll = paint(false, centred), leftAll = paint(true, left);
    // Centred, the short first line sits in the middle of the long one; left-aligned at its start.
    EXPECT_GT(centred.Left, centredAll.Left + 5);
    EXPECT_LE(left.Left, leftAll.Left + 1);
}

// ---- the parent's backdrop ---------------------------------------------------------------------

// A windowless control filled with one colour, noting whether it painted as a copy.
class TSwatch : public vcl::TGraphicControl {
public:
    TSwatch(vcl::TWinControl* parent, gfx::TRect r, gfx::TColor colour)
        : vcl::TGraphicControl(parent), Colour(colour) {
        SetBoundsRect(r);
        SetParent(parent);
    }
    gfx::TColor Colour;
    bool PaintedAsCopy = false;

protected:
    void Paint() override {
        PaintedAsCopy = ControlState().Contains(vcl::csPaintCopy);
        Canvas().Brush().SetColor(Colour);
        Canvas().FillRect({0, 0, Width(), Height()});
    }
};

// A windowless label: black text on nothing.
class TTextLabel : public vcl::TGraphicControl {
public:
    TTextLabel(vcl::TWinControl* parent, gfx::TRect r) : vcl::TGraphicControl(parent) {
        SetBoundsRect(r);
        SetParent(parent);
    }

protected:
    void Paint() override {
        Canvas().Brush().SetStyle(gfx::bsClear);
        Canvas().Font().SetColor(gfx::clBlack);
        Canvas().TextOut(0, 0, "MP4 HW");
    }
};

// A windowed control with a yellow background and a blue band over its top 10 rows.
class TBoard : public vcl::TCustomControl {
public:
    explicit TBoard(vcl::TWinControl* parent) : vcl::TCustomControl(parent) {
        SetColor(gfx::clYellow);
        SetBounds(0, 0, 100, 60);
        SetParent(parent);
    }
    bool PaintedAsCopy = false;

protected:
    void Paint() override {
        PaintedAsCopy = ControlState().Contains(vcl::csPaintCopy);
        Canvas().Brush().SetColor(gfx::clBlue);
        Canvas().FillRect({0, 0, Width(), 10});
    }
};

// A windowed control that shows its parent through itself.
class TSeeThrough : public vcl::TCustomControl {
public:
    using vcl::TCustomControl::TCustomControl;

protected:
    void Paint() override { PaintParentBackdrop(this, Canvas()); }
};

class ParentBackdropTest : public vcl::test::TVclTest {
protected:
    // What the backdrop routine paints for a control, on a black bitmap of the given size.
    TBitmap& Backdrop(vcl::TControl* control, int w, int h, const TRect* part = nullptr) {
        Picture.SetSize(w, h);
        Picture.Canvas().Brush().SetColor(gfx::clBlack);
        Picture.Canvas().FillRect({0, 0, w, h});
        if (part)
            PaintParentBackdropRect(control, *part, Picture.Canvas());
        else
            PaintParentBackdrop(control, Picture.Canvas());
        return Picture;
    }
    gfx::TColor At(int x, int y) { return Picture.Canvas().Pixel(x, y); }
    TBitmap Picture;
};

TEST_F(ParentBackdropTest, ParentAndTheWindowlessSiblingsBelowTheControl) {
    vcl::TForm* form = ShowForm(10, 10, 200, 100);
    auto* board = new TBoard(form);
    auto* below = new TSwatch(board, {10, 10, 30, 20}, gfx::clLime);
    auto* control = new TSwatch(board, {5, 5, 65, 45}, gfx::clPurple);
    auto* above = new TSwatch(board, {20, 20, 40, 30}, gfx::clRed);
    Run();
    Backdrop(control, 60, 40);
    EXPECT_EQ(At(0, 0), gfx::clBlue);      // the board's own painting at (5, 5)
    EXPECT_EQ(At(0, 5), gfx::clYellow);    // its background
    EXPECT_EQ(At(10, 10), gfx::clLime);    // the sibling listed before the control
    EXPECT_EQ(At(20, 20), gfx::clYellow);  // not the one listed after it
    EXPECT_TRUE(board->PaintedAsCopy);
    EXPECT_TRUE(below->PaintedAsCopy);
    EXPECT_FALSE(board->ControlState().Contains(vcl::csPaintCopy));
    EXPECT_FALSE(below->ControlState().Contains(vcl::csPaintCopy));
    (void)above;

    // Only the parent's client area: a control hanging over its edge gets nothing there.
    control->SetBounds(80, 50, 40, 20);
    Backdrop(control, 40, 20);
    EXPECT_EQ(At(5, 5), gfx::clYellow);
    EXPECT_EQ(At(25, 5), gfx::clBlack);
    EXPECT_EQ(At(5, 15), gfx::clBlack);

    // A part of the control, drawn at the canvas's origin.
    control->SetBounds(5, 5, 60, 40);
    const TRect part{5, 5, 25, 25};
    Backdrop(control, 20, 20, &part);
    EXPECT_EQ(At(0, 0), gfx::clLime);      // board (10, 10)
    EXPECT_EQ(At(10, 12), gfx::clYellow);  // board (20, 22)
}

TEST_F(ParentBackdropTest, WindowedControlShowsTheLabelsOfItsParentOnScreen) {
    vcl::TForm* form = ShowForm(10, 10, 200, 100);
    auto* board = new TBoard(form);
    new TSwatch(board, {10, 20, 30, 30}, gfx::clLime);
    auto* label = new TTextLabel(board, {40, 15, 100, 35});
    auto* glass = new TSeeThrough(board);
    glass->SetBounds(5, 15, 90, 30);
    glass->SetParent(board);
    Run();
    // Windowed, the control comes after every windowless sibling, the label included.
    const gfx::TPoint origin = glass->ClientToScreen({0, 0});
    EXPECT_EQ(ScreenPixel(origin.X + 10, origin.Y + 10), gfx::clLime);
    EXPECT_EQ(ScreenPixel(origin.X + 30, origin.Y + 20), gfx::clYellow);
    // Pixels of the label's part of the control, from one picture of the screen.
    auto count = [&](const std::function<bool(std::uint32_t)>& what) {
        const gfx::HBITMAP screen = Screen->Compose();
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 35; x < 90; ++x)
                n += what(screen->Pixels()[std::size_t(origin.Y + y) * screen->Width() +
                                           std::size_t(origin.X + x)]);
        return n;
    };
    auto dark = [](std::uint32_t p) { return (p >> 16 & 0xFF) < 100; };
    auto notYellow = [](std::uint32_t p) { return (p & 0xFFFFFF) != 0xFFFF00; };
    EXPECT_GT(count(dark), 20);
    // Without the label nothing dark shows there.
    label->Hide();
    glass->Repaint();
    Run();
    EXPECT_EQ(count(notYellow), 0);
}

TEST_F(ParentBackdropTest, WindowlessControlShowsOnlyTheLabelsListedBeforeIt) {
    vcl::TForm* form = ShowForm(10, 10, 200, 100);
    auto* board = new TBoard(form);
    new TTextLabel(board, {10, 20, 90, 40});
    auto* control = new TSwatch(board, {5, 15, 95, 45}, gfx::clPurple);
    auto* later = new TTextLabel(board, {10, 20, 90, 40});
    Run();
    auto dark = [&] {
        int n = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 90; ++x) n += gfx::GetRValue(At(x, y)) < 100;
        return n;
    };
    Backdrop(control, 90, 30);
    EXPECT_GT(dark(), 20);
    // The label added after the control alone: nothing of it shows.
    board->Controls(0)->Free();
    ASSERT_EQ(board->Controls(1), later);
    Backdrop(control, 90, 30);
    EXPECT_EQ(dark(), 0);
}

TEST_F(ParentBackdropTest, FormsEraseAndMdiFormsAskTheirClientWindow) {
    vcl::TForm* form = ShowForm(10, 10, 200, 100);
    form->SetColor(gfx::clWhite);
    auto* control = new TSwatch(form, {20, 20, 40, 40}, gfx::clPurple);
    Run();
    Backdrop(control, 20, 20);
    EXPECT_EQ(At(5, 5), gfx::clWhite);

    auto* mdi = new vcl::TForm(vcl::Application);
    mdi->SetName("M");
    mdi->SetFormStyle(vcl::fsMDIForm);
    mdi->SetColor(gfx::clWhite);
    mdi->SetBounds(300, 10, 300, 200);
    mdi->Show();
    auto* inner = new TSwatch(mdi, {20, 20, 40, 40}, gfx::clPurple);
    Run();
    ASSERT_TRUE(mdi->ClientHandle());
    Backdrop(inner, 20, 20);
    EXPECT_EQ(At(5, 5), gfx::GetSysColor(gfx::COLOR_APPWORKSPACE));
    EXPECT_NE(gfx::GetSysColor(gfx::COLOR_APPWORKSPACE), gfx::clWhite);
}

}  // namespace
}  // namespace skin