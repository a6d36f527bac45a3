#include "skin/core/png_image_list.h"

#include <gtest/gtest.h>

#include "support/png_bytes.h"

namespace skin {
namespace {

using testsupport::MakePng;

TEST(ScalePngAlphaTest, HalvesTheOpacityOfEveryColourType) {
    struct TCase {
        const char* Name;
        testsupport::TPngSpec Spec;
        int First, Second;  // alpha of pixels (0, 0) and (1, 0) after scaling by 127
    };
    const TCase cases[] = {
        {"RGBA 255 and 100",
         {2, 1, gfx::pctRgbAlpha, 8, {9, 9, 9, 255, 9, 9, 9, 100}, {}, {}},
         128,
         50},
        {"RGBA 0 and 1", {2, 1, gfx::pctRgbAlpha, 8, {9, 9, 9, 0, 9, 9, 9, 1}, {}, {}}, 0, 0},
        {"RGBA 3 and 254", {2, 1, gfx::pctRgbAlpha, 8, {9, 9, 9, 3, 9, 9, 9, 254}, {}, {}}, 2, 127},
        {"RGB", {2, 1, gfx::pctRgb, 8, {1, 2, 3, 4, 5, 6}, {}, {}}, 128, 128},
        {"RGB with its transparent colour",
         {2, 1, gfx::pctRgb, 8, {1, 2, 3, 4, 5, 6}, {}, {0, 4, 0, 5, 0, 6}},
         128,
         0},
        {"palette", {2, 1, gfx::pctPalette, 8, {0, 1}, {255, 0, 0, 0, 255, 0}, {}}, 127, 127},
        {"palette and its transparent entry",
         {2, 1, gfx::pctPalette, 8, {0, 1}, {255, 0, 0, 0, 255, 0}, {255, 0}},
         127,
         0},
        {"grey", {2, 1, gfx::pctGrey, 8, {10, 200}, {}, {}}, 127, 127},
        {"grey and its transparent level", {2, 1, gfx::pctGrey, 8, {10, 200}, {}, {0, 10}}, 0, 127},
        {"grey with alpha", {2, 1, gfx::pctGreyAlpha, 8, {10, 255, 200, 100}, {}, {}}, 128, 50},
    };
    for (const TCase& c : cases) {
        TbsPngImage png;
        png.LoadFromBuffer(MakePng(c.Spec));
        const gfx::TColor first = png.Pixel(0, 0), second = png.Pixel(1, 0);
        ScalePngAlpha(png, 127);
        EXPECT_TRUE(png.HasAlpha()) << c.Name;
        EXPECT_EQ(png.Alpha(0, 0), c.First) << c.Name;
        EXPECT_EQ(png.Alpha(1, 0), c.Second) << c.Name;
        EXPECT_EQ(png.Pixel(0, 0), first) << c.Name;
        EXPECT_EQ(png.Pixel(1, 0), second) << c.Name;
    }
}

TEST(ScalePngAlphaTest, FullValueKeepsOpaquePixelsAndEmptyPicturesStayEmpty) {
    TbsPngImage png;
    ScalePngAlpha(png, 127);
    EXPECT_TRUE(png.Empty());
    png.LoadFromBuffer(MakePng({1, 1, gfx::pctRgbAlpha, 8, {1, 2, 3, 255}, {}, {}}));
    ScalePngAlpha(png, 255);
    EXPECT_EQ(png.Alpha(0, 0), 255);
}

TEST(ScalePngAlphaTest, SkinPictureClassTakesPlainPngPictures) {
    gfx::TPngImage plain;
    plain.LoadFromBuffer(MakePng({1, 1, gfx::pctPalette, 8, {0}, {1, 2, 3}, {}}));
    TbsPngImage png;
    png.Assign(plain);
    EXPECT_EQ(png.ColorType(), gfx::pctPalette);
    EXPECT_EQ(png.Pixel(0, 0), gfx::RGB(1, 2, 3));
    EXPECT_STREQ(png.ClassName(), "TbsPngImage");
}

}  // namespace
}  // namespace skin
