#include "platform/gfx/canvas.h"

#include <gtest/gtest.h>

#include "platform/gfx/font_engine.h"

#include "platform/gfx/graphics.h"
#include "platform/rtl/exception.h"

namespace gfx {
namespace {

void Fill(TBitmap& bitmap, TColor color) {
    bitmap.Canvas().Brush().SetColor(color);
    bitmap.Canvas().FillRect({0, 0, bitmap.Width(), bitmap.Height()});
}

TEST(BitmapTest, ScanLineLayoutFollowsThePixelFormat) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 2);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), 12);  // 9 bytes padded to 12
    bitmap.ScanLine(1)[3] = 0x10;                            // pixel (1, 1): B, G, R
    bitmap.ScanLine(1)[5] = 0x30;
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), RGB(0x30, 0, 0x10));

    bitmap.SetPixelFormat(pf32bit);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), 12);
    EXPECT_EQ(bitmap.ScanLine(1)[4], 0x10);  // converted, pixel (1, 1): B, G, R, A
    EXPECT_EQ(bitmap.ScanLine(1)[6], 0x30);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), RGB(0x30, 0, 0x10));
    EXPECT_THROW(bitmap.ScanLine(2), rtl::Exception);
    EXPECT_THROW(bitmap.ScanLine(-1), rtl::Exception);
}

TEST(BitmapTest, ResizingKeepsThePixelsThatStay) {
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    Fill(bitmap, clRed);
    bitmap.SetSize(6, 3);
    EXPECT_EQ(bitmap.Canvas().Pixel(3, 2), clRed);
    EXPECT_EQ(bitmap.Canvas().Pixel(5, 0), clBlack);
    bitmap.SetWidth(0);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.Canvas().FillRect({0, 0, 5, 5});  // drawing on an empty bitmap does nothing
}

TEST(BitmapTest, AssignCopiesThePixels) {
    TBitmap a, b;
    a.SetSize(2, 2);
    Fill(a, clRed);
    b.Assign(a);
    Fill(a, clBlue);
    EXPECT_EQ(b.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(b.Width(), 2);
}

TEST(BitmapTest, TransparentDrawSkipsTheBottomLeftColour) {
    TBitmap glyph, target;
    glyph.SetSize(3, 3);
    Fill(glyph, clFuchsia);
    glyph.Canvas().SetPixel(1, 1, clRed);
    glyph.SetTransparent(true);
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
    target.SetSize(5, 5);
    Fill(target, clGreen);
    target.Canvas().Draw(1, 1, glyph);
    EXPECT_EQ(target.Canvas().Pixel(2, 2), clRed);
    EXPECT_EQ(target.Canvas().Pixel(1, 1), clGreen);
    EXPECT_EQ(target.Canvas().Pixel(3, 3), clGreen);

    glyph.SetTransparentColor(clRed);  // a fixed key instead
    EXPECT_EQ(glyph.TransparentMode(), tmFixed);
    Fill(target, clGreen);
    target.Canvas().Draw(1, 1, glyph);
    EXPECT_EQ(target.Canvas().Pixel(2, 2), clGreen);
    EXPECT_EQ(target.Canvas().Pixel(1, 1), clFuchsia);
}

TEST(BitmapTest, StretchDrawAndCopyRectStretch) {
    TBitmap source, target;
    source.SetSize(2, 1);
    source.Canvas().SetPixel(0, 0, clRed);
    source.Canvas().SetPixel(1, 0, clBlue);
    target.SetSize(4, 2);
    target.Canvas().StretchDraw({0, 0, 4, 2}, source);
    EXPECT_EQ(target.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(target.Canvas().Pixel(2, 0), clBlue);
    Fill(target, clWhite);
    target.Canvas().CopyRect({0, 0, 2, 2}, source.Canvas(), {1, 0, 2, 1});
    EXPECT_EQ(target.Canvas().Pixel(1, 1), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(2, 1), clWhite);
}

TEST(BitmapTest, PngWithAlphaBlendsWhenDrawn) {
    TImage image;
    image.Width = 2;
    image.Height = 1;
    image.HasAlpha = true;
    image.Pixels = {0x00FF0000u, 0x80FF0000u};  // clear red, half red
    TBytes png;
    std::string error;
    ASSERT_TRUE(WritePng(image, 6, pfNone, true, png, error));
    TPngImage picture;
    picture.LoadFromBuffer(png);
    TBitmap target;
    target.SetSize(2, 1);
    Fill(target, clBlue);
    target.Canvas().Draw(0, 0, picture);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(1, 0), RGB(128, 0, 127));
}

TEST(CanvasTest, TextUsesTheBrushAsBackgroundUnlessClear) {
    TBitmap bitmap;
    bitmap.SetSize(60, 20);
    Fill(bitmap, clWhite);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().SetColor(clBlack);
    canvas.Brush().SetColor(clYellow);
    canvas.TextOut(0, 0, "ab");
    EXPECT_EQ(canvas.Pixel(0, 0), clYellow);
    EXPECT_EQ(canvas.PenPos(), Point(canvas.TextWidth("ab"), 0));
    Fill(bitmap, clWhite);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(0, 0, "ab");
    EXPECT_EQ(canvas.Pixel(0, 0), clWhite);
    EXPECT_GT(canvas.TextHeight("ab"), 8);
}

TEST(CanvasTest, FontChangesNotifyAndSizeFollowsHeight) {
    TFont font;
    int changes = 0;
    font.OnChange = [&] { ++changes; };
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    EXPECT_EQ(font.Size(), 9);
    font.SetStyle(fsBold | fsUnderline);
    font.SetName("宋体");
    font.SetName("宋体");  // no change, no notice
    EXPECT_EQ(changes, 3);
    TFont copy;
    copy.Assign(font);
    EXPECT_EQ(copy.Name(), "宋体");
    EXPECT_TRUE(copy.Handle()->LogFont().Underline);
    EXPECT_EQ(copy.Handle()->LogFont().Weight, FW_BOLD);
}

TEST(CanvasTest, ShapesUseThePenAndBrush) {
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    Fill(bitmap, clWhite);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().SetColor(clRed);
    canvas.Brush().SetColor(clGreen);
    canvas.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(canvas.Pixel(0, 0), clRed);
    EXPECT_EQ(canvas.Pixel(2, 2), clGreen);
    canvas.MoveTo(0, 9);
    canvas.LineTo(9, 9);
    EXPECT_EQ(canvas.Pixel(8, 9), clRed);
    EXPECT_EQ(canvas.Pixel(9, 9), clWhite);
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 10, 10));
}

}  // namespace
}  // namespace gfx

namespace gfx {
namespace {

TEST(CanvasTest, TheFocusFrameIsDottedAndTakenAwayByASecondOne) {
    TBitmap b;
    b.SetSize(10, 6);
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().FillRect({0, 0, 10, 6});
    b.Canvas().DrawFocusRect({1, 1, 9, 5});
    EXPECT_EQ(b.Canvas().Pixel(3, 1), clBlack);
    EXPECT_EQ(b.Canvas().Pixel(4, 1), clWhite);  // every other pixel
    EXPECT_EQ(b.Canvas().Pixel(1, 3), clBlack);
    EXPECT_EQ(b.Canvas().Pixel(4, 3), clWhite);  // the inside stays
    b.Canvas().DrawFocusRect({1, 1, 9, 5});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(b.Canvas().Pixel(x, y), clWhite);
}

TEST(CanvasTest, PenModeNotInvertsWhatLinesAndShapesCover) {
    TBitmap b;
    b.SetSize(10, 10);
    b.Canvas().Brush().SetColor(RGB(10, 20, 30));
    b.Canvas().FillRect({0, 0, 10, 10});
    b.Canvas().Pen().SetMode(pmNot);
    b.Canvas().MoveTo(0, 2);
    b.Canvas().LineTo(10, 2);
    EXPECT_EQ(b.Canvas().Pixel(5, 2), RGB(245, 235, 225));
    EXPECT_EQ(b.Canvas().Pixel(5, 3), RGB(10, 20, 30));
    b.Canvas().MoveTo(0, 2);
    b.Canvas().LineTo(10, 2);
    EXPECT_EQ(b.Canvas().Pixel(5, 2), RGB(10, 20, 30));
    b.Canvas().Pen().SetMode(pmCopy);
    b.Canvas().Pen().SetColor(clRed);
    b.Canvas().MoveTo(0, 4);
    b.Canvas().LineTo(10, 4);
    EXPECT_EQ(b.Canvas().Pixel(5, 4), clRed);
}

TEST(CanvasTest, Frame3DDrawsRaisedEdgesAndShrinksTheRectangle) {
    TBitmap b;
    b.SetSize(8, 8);
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().FillRect({0, 0, 8, 8});
    TRect r{0, 0, 8, 8};
    Frame3D(b.Canvas(), r, clRed, clBlue, 2);
    EXPECT_EQ(r, (TRect{2, 2, 6, 6}));
    EXPECT_EQ(b.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(b.Canvas().Pixel(0, 6), clRed);
    EXPECT_EQ(b.Canvas().Pixel(7, 0), clBlue);  // top-right corner belongs to the bottom colour
    EXPECT_EQ(b.Canvas().Pixel(0, 7), clBlue);
    EXPECT_EQ(b.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(b.Canvas().Pixel(6, 6), clBlue);
    EXPECT_EQ(b.Canvas().Pixel(3, 3), clWhite);
}

TEST(CanvasTest, TabbedTextGoesToTheTabStops) {
    TBitmap b;
    b.SetSize(200, 20);
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().FillRect({0, 0, 200, 20});
    b.Canvas().Brush().SetStyle(bsClear);
    b.Canvas().Font().SetColor(clBlack);
    const int stops[] = {60, 120};
    const TSize size = b.Canvas().TabbedTextOut(5, 2, "a\tb\tc", 2, stops, 5);
    auto inkFrom = [&](int from) {
        for (int x = from; x < 200; ++x)
            for (int y = 0; y < 20; ++y)
                if (b.Canvas().Pixel(x, y) != clWhite) return x;
        return -1;
    };
    EXPECT_LT(inkFrom(0), 15);
    EXPECT_GE(inkFrom(20), 65);  // "b" at tabOrigin + 60
    EXPECT_LT(inkFrom(20), 75);
    EXPECT_GE(inkFrom(80), 125);  // "c" at tabOrigin + 120
    EXPECT_GT(size.cx, 120);
}

TEST(FontTest, CharsetIsKeptAndCopied) {
    TFont a, b;
    int changes = 0;
    b.OnChange = [&] { ++changes; };
    EXPECT_EQ(a.Charset(), DEFAULT_CHARSET);
    a.SetCharset(GB2312_CHARSET);
    b.Assign(a);
    EXPECT_EQ(b.Charset(), GB2312_CHARSET);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.Handle(), TFont().Handle());  // the glyphs do not depend on it
}

}  // namespace
}  // namespace gfx
