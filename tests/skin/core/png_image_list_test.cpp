#include "skin/core/png_image_list.h"

#include <gtest/gtest.h>

#include "platform/vcl/vcl_test_support.h"
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

// ---- the image list ---------------------------------------------------------------------------

// A w x h picture of one colour; with alpha, its left column fully transparent.
gfx::TPngImage Solid(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                     bool clearLeftColumn = false) {
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows.insert(rows.end(), {r, g, b, std::uint8_t(clearLeftColumn && x == 0 ? 0 : 255)});
    gfx::TPngImage png;
    png.LoadFromBuffer(MakePng({w, h, gfx::pctRgbAlpha, 8, rows, {}, {}}));
    return png;
}

class PngImageListTest : public vcl::test::TVclTest {
protected:
    TbsPngImageList* NewList(int w, int h) {
        auto* list = new TbsPngImageList(vcl::Application);
        list->SetPngWidth(w);
        list->SetPngHeight(h);
        return list;
    }
};

TEST_F(PngImageListTest, ItemsAreNamedAndTheImageCountFollowsThem) {
    TbsPngImageList* list = NewList(8, 8);
    TbsPngImageItem* first = list->PngImages().Add();
    EXPECT_EQ(first->Name(), "PngImage0");
    EXPECT_EQ(first->GetDisplayName(), "PngImage0");
    EXPECT_EQ(list->Count(), 1);
    list->PngImages().Add();
    TbsPngImageItem* middle = list->PngImages().Insert(1);
    EXPECT_EQ(middle->Name(), "PngImage1");
    EXPECT_EQ(list->Count(), 3);
    list->PngImages().Delete(1);
    EXPECT_EQ(list->Count(), 2);
    middle = list->PngImages().Add();
    middle->SetName("");
    EXPECT_EQ(middle->GetDisplayName(), "TbsPngImageItem");
    list->PngImages().Clear();
    EXPECT_EQ(list->Count(), 0);
}

TEST_F(PngImageListTest, ANewSizeEmptiesTheListUnlessItIsLoading) {
    TbsPngImageList* list = NewList(8, 8);
    list->PngImages().Add();
    list->PngImages().Add();
    list->SetPngWidth(8);  // the same value
    EXPECT_EQ(list->PngImages().Count(), 2);
    EXPECT_EQ(list->Count(), 2);
    list->SetPngHeight(10);
    EXPECT_EQ(list->PngImages().Count(), 0);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->PngHeight(), 10);
    list->PngImages().Add();
    list->SetPngWidth(12);
    EXPECT_EQ(list->PngImages().Count(), 0);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->PngWidth(), 12);

    // A form being built sets the size after (or before) its items; they stay.
    auto* form = new vcl::TForm(vcl::Application);
    form->BeginLoading();
    auto* loading = new TbsPngImageList(form);
    loading->PngImages().Add();
    loading->PngImages().Add();
    loading->SetPngWidth(18);
    loading->SetPngHeight(18);
    form->EndLoading();
    EXPECT_EQ(loading->PngImages().Count(), 2);
    EXPECT_EQ(loading->Count(), 2);
    EXPECT_EQ(loading->Width(), 18);
}

TEST_F(PngImageListTest, DrawsWithAlphaAndDisabledAtHalfOpacity) {
    TbsPngImageList* list = NewList(4, 4);
    list->PngImages().Add()->SetPngImage(Solid(4, 4, 255, 0, 0, true));
    list->PngImages().Add()->SetPngImage(Solid(8, 8, 0, 0, 255));  // larger: stretched
    list->PngImages().Add();                                       // no picture at all
    gfx::TBitmap target;
    target.SetSize(20, 6);
    gfx::TCanvas& canvas = target.Canvas();
    canvas.Brush().SetColor(gfx::clWhite);
    canvas.FillRect({0, 0, 20, 6});
    list->Draw(canvas, 0, 0, 0, true);
    list->Draw(canvas, 5, 0, 0, false);
    list->Draw(canvas, 10, 0, 1, true);
    list->Draw(canvas, 15, 0, 2, true);
    list->Draw(canvas, 15, 0, 3, true);  // beyond the items: nothing
    EXPECT_EQ(canvas.Pixel(1, 1), gfx::clRed);
    EXPECT_EQ(canvas.Pixel(0, 1), gfx::clWhite);  // transparent stays transparent
    const gfx::TColor faded = canvas.Pixel(6, 1);
    EXPECT_EQ(gfx::GetRValue(faded), 255);
    EXPECT_NEAR(gfx::GetGValue(faded), 127, 1);
    EXPECT_NEAR(gfx::GetBValue(faded), 127, 1);
    EXPECT_EQ(canvas.Pixel(5, 1), gfx::clWhite);
    EXPECT_EQ(canvas.Pixel(13, 3), gfx::clBlue);
    EXPECT_EQ(canvas.Pixel(14, 3), gfx::clWhite);  // stretched into the list's 4 x 4
    EXPECT_EQ(canvas.Pixel(16, 1), gfx::clWhite);
    // The item's own picture is untouched by the disabled drawing.
    EXPECT_EQ(list->PngImages().Items(0)->PngImage().Alpha(1, 1), 255);
}

TEST_F(PngImageListTest, ItemsAndCollectionsCopy) {
    TbsPngImageList* list = NewList(4, 4);
    TbsPngImageItem* item = list->PngImages().Add();
    item->SetName("play");
    item->SetPngImage(Solid(4, 4, 0, 255, 0));
    TbsPngImageList* other = NewList(4, 4);
    other->PngImages().Add();
    other->PngImages().Add();
    other->SetPngImages(list->PngImages());
    ASSERT_EQ(other->PngImages().Count(), 1);
    EXPECT_EQ(other->Count(), 1);
    EXPECT_EQ(other->PngImages().Items(0)->Name(), "play");
    EXPECT_EQ(other->PngImages().Items(0)->PngImage().Pixel(2, 2), gfx::clLime);
    EXPECT_EQ(other->PngImages().GetOwner(), other);

    rtl::TCollectionOf<rtl::TCollectionItem> plain;
    EXPECT_THROW(item->Assign(*plain.Add()), rtl::EConvertError);
}

}  // namespace
}  // namespace skin