#include "skin/core/bs_bitmap.h"

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "skin_test_support.h"

namespace skin {
namespace {

using test::Alpha;
using test::At;
using test::Fill;
using test::Put;

struct TSizeCase {
    int FromW, FromH;  // 0: start empty
    int W, H;
    int WantW, WantH;
    bool KeepsPixels;
};

TEST(TbsBitmapTest, SetSizeTakesAbsoluteValuesAndIgnoresZeroOrSameSizes) {
    const TSizeCase cases[] = {
        {0, 0, -10, 5, 10, 5, false}, {0, 0, 0, 5, 0, 0, false},  {4, 3, 0, 5, 4, 3, true},
        {4, 3, 4, 3, 4, 3, true},     {4, 3, -4, -3, 4, 3, true}, {4, 3, 5, 3, 5, 3, false},
    };
    for (const TSizeCase& c : cases) {
        TbsBitmap b;
        if (c.FromW) {
            b.SetSize(c.FromW, c.FromH);
            Fill(b, 0xFF010203);
        }
        b.SetSize(c.W, c.H);
        EXPECT_EQ(b.Width(), c.WantW) << c.W << "x" << c.H;
        EXPECT_EQ(b.Height(), c.WantH) << c.W << "x" << c.H;
        EXPECT_EQ(b.Empty(), c.WantW == 0);
        if (c.WantW) {
            EXPECT_EQ(At(b, 0, 0), c.KeepsPixels ? 0xFF010203u : 0u);
        }
    }
}

TEST(TbsBitmapTest, SizeTooLargeRaisesAndLeavesTheBitmapEmpty) {
    TbsBitmap b;
    b.SetSize(8, 8);
    gfx::TCanvas& canvas = b.Canvas();
    try {
        b.SetSize(100000, 100000);
        FAIL() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_STREQ(e.what(), "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_EQ(canvas.Handle(), nullptr);
    EXPECT_EQ(FindBitmapOfDC(nullptr), nullptr);
    // Still usable afterwards; the canvas follows the new DC.
    b.SetSize(2, 2);
    EXPECT_EQ(canvas.Handle(), b.DC());
    canvas.SetPixel(1, 1, gfx::clWhite);
    EXPECT_EQ(At(b, 1, 1) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(TbsBitmapTest, RegistryFindsLiveBitmapsByTheirDC) {
    gfx::HDC dc;
    {
        TbsBitmap a, b;
        EXPECT_EQ(FindBitmapOfDC(a.DC()), nullptr);  // empty: no DC yet
        a.SetSize(1, 1);
        b.SetSize(1, 1);
        EXPECT_EQ(FindBitmapOfDC(a.DC()), &a);
        EXPECT_EQ(FindBitmapOfDC(b.DC()), &b);
        a.SetSize(2, 2);  // a new DC, still listed once
        EXPECT_EQ(FindBitmapOfDC(a.DC()), &a);
        dc = a.DC();
        gfx::TDibDC other = gfx::CreateDibDC(1, 1);
        EXPECT_EQ(FindBitmapOfDC(other.DC.get()), nullptr);
    }
    EXPECT_EQ(FindBitmapOfDC(dc), nullptr);
}

TEST(TbsBitmapTest, AssignFromAnotherTbsBitmapCopiesPixelsNameAndFlags) {
    TbsBitmap src, dst;
    src.SetSize(3, 2);
    Fill(src, 0x80102030);
    src.Name = "glow";
    src.AlphaBlend = true;
    src.Transparent = true;
    dst.Assign(src);
    EXPECT_EQ(dst.Width(), 3);
    EXPECT_EQ(dst.Height(), 2);
    EXPECT_EQ(At(dst, 2, 1), 0x80102030u);
    EXPECT_EQ(dst.Name, "glow");
    EXPECT_TRUE(dst.AlphaBlend);
    EXPECT_TRUE(dst.Transparent);
}

void FillBitmap(gfx::TBitmap& bmp, gfx::TPixelFormat format, std::uint32_t pixel) {
    bmp.SetPixelFormat(format);
    bmp.SetSize(4, 3);
    for (int y = 0; y < 3; ++y) {
        std::uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < 4; ++x) {
            const int bytes = format == gfx::pf24bit ? 3 : 4;
            for (int k = 0; k < bytes; ++k) p[x * bytes + k] = std::uint8_t(pixel >> (8 * k));
        }
    }
}

TEST(TbsBitmapTest, AssignFromTBitmapKeepsAlphaOnlyFor32Bits) {
    struct TCase {
        gfx::TPixelFormat Format;
        std::uint32_t Pixel;
        TbsColor Want;
        bool AlphaBlend;
    };
    const TCase cases[] = {
        {gfx::pf32bit, 0x80112233, 0x80112233, true},
        {gfx::pf32bit, 0xFF112233, 0xFF112233, false},
        {gfx::pf24bit, 0x00112233, 0xFF112233, false},
        {gfx::pfDevice, 0x00112233, 0xFF112233, false},
    };
    for (const TCase& c : cases) {
        gfx::TBitmap bmp;
        FillBitmap(bmp, c.Format, c.Pixel);
        TbsBitmap b;
        b.AlphaBlend = false;
        b.Assign(bmp);
        EXPECT_EQ(b.Width(), 4);
        EXPECT_EQ(b.Height(), 3);
        EXPECT_EQ(At(b, 3, 2), c.Want) << c.Format;
        EXPECT_EQ(b.AlphaBlend, c.AlphaBlend) << c.Format;
    }
    // A 24-bit picture leaves AlphaBlend as it was.
    gfx::TBitmap bmp;
    FillBitmap(bmp, gfx::pf24bit, 0x112233);
    TbsBitmap b;
    b.AlphaBlend = true;
    b.Assign(bmp);
    EXPECT_TRUE(b.AlphaBlend);
}

TEST(TbsBitmapTest, AssignFromAnotherGraphicDrawsItOpaque) {
    gfx::TBitmap bmp;
    FillBitmap(bmp, gfx::pf24bit, 0x00405060);
    gfx::TPngImage png;
    png.Assign(bmp);
    TbsBitmap b;
    b.Assign(png);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(At(b, 1, 1), 0xFF405060u);
}

TEST(TbsBitmapTest, AssignFromAPictureTakesItsBitmapOpaqueWhateverItsFormat) {
    gfx::TBitmap translucent;
    FillBitmap(translucent, gfx::pf32bit, 0x80112233);
    gfx::TPngImage png;
    png.Assign(translucent);
    struct TCase {
        const char* Name;
        const gfx::TGraphic* Graphic;
    };
    for (const TCase& c : {TCase{"32-bit bitmap", &translucent}, TCase{"PNG", &png}}) {
        gfx::TPicture picture;
        picture.SetGraphic(c.Graphic);
        TbsBitmap b;
        b.Assign(picture);
        EXPECT_EQ(b.Width(), 4) << c.Name;
        EXPECT_EQ(b.Height(), 3) << c.Name;
        EXPECT_EQ(Alpha(At(b, 3, 2)), 255) << c.Name;
        EXPECT_EQ(At(b, 3, 2) & 0xFFFFFF, 0x112233u) << c.Name;
        EXPECT_FALSE(b.AlphaBlend) << c.Name;
    }
    // An empty picture changes nothing.
    TbsBitmap b;
    b.SetSize(2, 2);
    Fill(b, 0x40ABCDEF);
    b.Assign(gfx::TPicture());
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(At(b, 1, 1), 0x40ABCDEFu);
}

TEST(TbsBitmapTest, DrawGraphicKeepsPixelsUnderMagentaAndOutsideTheRectangle) {
    gfx::TBitmap graphic;
    FillBitmap(graphic, gfx::pf24bit, 0x0000FF00);
    // The graphic's own magenta pixel, in its middle.
    graphic.Canvas().SetPixel(1, 1, gfx::RGB(255, 0, 255));
    TbsBitmap b;
    b.SetSize(6, 5);
    Fill(b, 0x80ABCDEF);
    b.DrawGraphic(graphic, {1, 1, 5, 4});
    EXPECT_EQ(At(b, 0, 0), 0x80ABCDEFu);
    EXPECT_EQ(At(b, 5, 4), 0x80ABCDEFu);
    EXPECT_EQ(At(b, 2, 2), 0x80ABCDEFu);  // under the magenta pixel
    // Drawn pixels keep their full value, as the canvas left it (alpha 0).
    EXPECT_EQ(At(b, 1, 1), 0x0000FF00u);
    EXPECT_EQ(At(b, 4, 3), 0x0000FF00u);
}

TEST(TbsBitmapTest, DrawOntoTheCanvasOfAnotherBitmapHonoursItsWindowOrigin) {
    TbsBitmap src, target;
    src.SetSize(2, 2);
    Fill(src, 0x80FF0000);
    src.AlphaBlend = true;
    target.SetSize(10, 10);
    Fill(target, 0xFF000000);
    gfx::SetWindowOrgEx(target.Canvas().Handle(), 5, 3);
    test::TBlendVariant plain(false);
    src.Draw(target.Canvas(), 6, 4);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool hit = x >= 1 && x < 3 && y >= 1 && y < 3;
            EXPECT_EQ(At(target, x, y), hit ? 0xFF7F0000u : 0xFF000000u) << x << "," << y;
        }
}

TEST(TbsBitmapTest, DrawIntoAnotherBitmapFollowsTheFlags) {
    TbsBitmap src, target;
    test::Row(src, {SkinKeyColor, 0x00FF0000});
    target.SetSize(3, 1);
    struct TCase {
        bool AlphaBlend, Transparent;
        TbsColor First, Second;
    };
    const TCase cases[] = {{false, false, SkinKeyColor, 0x00FF0000},
                           {false, true, 0xFF0000FF, 0xFFFF0000},
                           {true, false, 0xFF0000FF, 0xFF0000FF}};
    for (const TCase& c : cases) {
        Fill(target, 0xFF0000FF);
        src.AlphaBlend = c.AlphaBlend;
        src.Transparent = c.Transparent;
        src.Draw(target, 1, 0);
        EXPECT_EQ(At(target, 0, 0), 0xFF0000FFu);
        EXPECT_EQ(At(target, 1, 0), c.First);
        EXPECT_EQ(At(target, 2, 0), c.Second);
    }
}

TEST(TbsBitmapTest, AlphaDrawOntoAPlainDCBlendsOverWhatItShows) {
    gfx::TDibDC plain = gfx::CreateDibDC(6, 4);
    gfx::FillRect(plain.DC.get(), {0, 0, 6, 4}, gfx::CreateSolidBrush(gfx::RGB(200, 0, 0)));
    gfx::IntersectClipRect(plain.DC.get(), 0, 0, 3, 4);
    TbsBitmap src;
    src.SetSize(4, 2);
    Fill(src, 0x80000000);  // black at half alpha
    src.AlphaBlend = true;
    test::TBlendVariant variant(false);
    src.Draw(plain.DC.get(), 1, 1);
    const auto red = [&](int x, int y) {
        return int(plain.Bitmap->Pixels()[y * 6 + x] >> 16 & 0xFF);
    };
    EXPECT_EQ(red(0, 1), 200);
    EXPECT_EQ(red(1, 1), 99);
    EXPECT_EQ(red(2, 2), 99);
    EXPECT_EQ(red(3, 1), 200);  // outside the DC's clip
    EXPECT_EQ(red(1, 0), 200);
    EXPECT_EQ(red(1, 3), 200);
}

TEST(TbsBitmapTest, OpaqueAndKeyedDrawsOntoAPlainDC) {
    gfx::TDibDC plain = gfx::CreateDibDC(4, 1);
    TbsBitmap src;
    test::Row(src, {0x00FF0000, SkinKeyColor});
    for (const bool transparent : {false, true}) {
        gfx::FillRect(plain.DC.get(), {0, 0, 4, 1}, gfx::CreateSolidBrush(gfx::clBlue));
        src.Transparent = transparent;
        src.Draw(plain.DC.get(), 2, 0);
        const std::uint32_t* p = plain.Bitmap->Pixels();
        EXPECT_EQ(p[1] & 0xFFFFFF, 0x0000FFu);
        EXPECT_EQ(p[2] & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(p[3] & 0xFFFFFF, transparent ? 0x0000FFu : SkinKeyColor);
    }
}

TEST(TbsBitmapTest, AssignToMakesA32BitBitmapDrawnByTheFlags) {
    TbsBitmap src;
    src.SetSize(2, 1);
    Fill(src, 0xFF112233);
    gfx::TBitmap dest;
    src.AssignTo(dest);
    EXPECT_EQ(dest.PixelFormat(), gfx::pf32bit);
    EXPECT_EQ(dest.Width(), 2);
    EXPECT_EQ(dest.Height(), 1);
    EXPECT_EQ(dest.Canvas().Pixel(1, 0), gfx::RGB(0x11, 0x22, 0x33));

    // A picture gets it as its bitmap, whatever it held before.
    gfx::TPicture picture;
    gfx::TPngImage png;
    picture.SetGraphic(&png);
    src.AssignTo(picture);
    ASSERT_TRUE(dynamic_cast<gfx::TBitmap*>(picture.Graphic()));
    EXPECT_EQ(picture.Bitmap().PixelFormat(), gfx::pf32bit);
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(picture.Bitmap().Canvas().Pixel(0, 0), gfx::RGB(0x11, 0x22, 0x33));
}

TEST(TbsBitmapTest, AlphaHelpers) {
    TbsBitmap b;
    b.SetAlpha(7);  // empty: nothing
    b.CheckingAlphaBlend();
    EXPECT_FALSE(b.AlphaBlend);
    b.SetSize(3, 1);
    Fill(b, 0x00102030);
    b.CheckingAlphaBlend();
    EXPECT_FALSE(b.AlphaBlend);
    Put(b, 2, 0, 0xFF102030);
    b.CheckingAlphaBlend();
    EXPECT_FALSE(b.AlphaBlend);
    Put(b, 1, 0, 0x01102030);
    b.CheckingAlphaBlend();
    EXPECT_TRUE(b.AlphaBlend);
    b.SetAlpha(0x40);
    EXPECT_EQ(At(b, 0, 0), 0x40102030u);
    EXPECT_EQ(Alpha(At(b, 2, 0)), 0x40);
}

}  // namespace
}  // namespace skin
