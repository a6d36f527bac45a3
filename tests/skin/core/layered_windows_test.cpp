#include "skin/core/layered_windows.h"

#include <gtest/gtest.h>

#include "platform/win/win_test_support.h"
#include "skin_test_support.h"

namespace skin {
namespace {

using test::Alpha;
using test::At;

TEST(AlphaFromMaskTest, GreyLevelBecomesAlphaTruncated) {
    struct TCase {
        TbsColor Mask;
        int Alpha;
    };
    const TCase cases[] = {{0x000A1420, 20},  // (10, 20, 32): 62 / 3
                           {0x00FFFFFF, 255},
                           {0x00000000, 0},
                           {0xFF010101, 1},
                           {0x00808080, 128}};
    for (const TCase& c : cases) {
        TbsBitmap image, mask;
        image.SetSize(1, 1);
        mask.SetSize(1, 1);
        test::Put(image, 0, 0, 0x7F123456);
        test::Put(mask, 0, 0, c.Mask);
        AlphaFromMask(image, mask);
        EXPECT_EQ(Alpha(At(image, 0, 0)), c.Alpha) << std::hex << c.Mask;
        EXPECT_EQ(At(image, 0, 0) & 0xFFFFFF, 0x123456u);
    }
}

TEST(AlphaFromMaskTest, PixelsOutsideASmallerMaskKeepTheirAlpha) {
    TbsBitmap image, mask;
    image.SetSize(3, 2);
    test::Fill(image, 0x40000000);
    mask.SetSize(2, 1);
    test::Fill(mask, 0x00FFFFFF);
    AlphaFromMask(image, mask);
    EXPECT_EQ(Alpha(At(image, 1, 0)), 255);
    EXPECT_EQ(Alpha(At(image, 2, 0)), 0x40);
    EXPECT_EQ(Alpha(At(image, 0, 1)), 0x40);
}

TEST(AlphaFromMaskTest, ComposedImageTakesItsColoursFromTheImageAndAlphaFromTheMask) {
    gfx::TBitmap image, mask;
    image.SetSize(2, 1);
    image.Canvas().SetPixel(0, 0, gfx::RGB(200, 10, 20));
    image.Canvas().SetPixel(1, 0, gfx::RGB(1, 2, 3));
    mask.SetSize(2, 1);
    mask.Canvas().SetPixel(0, 0, gfx::clWhite);
    mask.Canvas().SetPixel(1, 0, gfx::RGB(30, 60, 90));
    TbsBitmap dest;
    ComposeImageWithMask(image, mask, dest);
    EXPECT_EQ(At(dest, 0, 0), 0xFFC80A14u);
    EXPECT_EQ(At(dest, 1, 0), 0x3C010203u);
}

class LayeredPushTest : public win::test::TWinTest {};

TEST_F(LayeredPushTest, StraightPixelsArePremultipliedOnTheWay) {
    const win::HWND layer = Top(10, 10, 4, 4, win::WS_POPUP | win::WS_VISIBLE, win::WS_EX_LAYERED);
    TbsBitmap bmp;
    bmp.SetSize(2, 1);
    test::Put(bmp, 0, 0, 0x80C80000);  // (200, 0, 0) at alpha 128
    test::Put(bmp, 1, 0, 0x00FFFFFF);  // fully transparent white
    PushLayeredBitmap(bmp, 255, layer, {20, 30});
    win::PumpMessages();
    // The screen is black: 200 * 128 / 255.
    EXPECT_NEAR(gfx::GetRValue(ScreenPixel(20, 30)), 100, 1);
    EXPECT_EQ(ScreenPixel(21, 30), gfx::clBlack);
    win::TRect r;
    win::GetWindowRect(layer, r);
    EXPECT_EQ(r, (win::TRect{20, 30, 22, 31}));
    // The bitmap itself stays straight.
    EXPECT_EQ(At(bmp, 0, 0), 0x80C80000u);

    // Constant alpha on top of the per-pixel one.
    PushLayeredBitmap(bmp, 128, layer, {20, 30});
    win::PumpMessages();
    EXPECT_NEAR(gfx::GetRValue(ScreenPixel(20, 30)), 50, 1);
}

TEST_F(LayeredPushTest, WholeWindowAlpha) {
    const win::HWND w = Top(0, 0, 10, 10, win::WS_POPUP | win::WS_VISIBLE, win::WS_EX_LAYERED);
    ApplyWindowAlpha(w, 51);
    win::PumpMessages();
    EXPECT_NEAR(gfx::GetRValue(ScreenPixel(5, 5)), 51, 1);  // white at 20 % over black
}

TEST_F(LayeredPushTest, NothingHappensWhereTheScreenCantShowLayers) {
    Screen->SetCapabilities({false, false});
    const win::HWND w = Top(0, 0, 10, 10, win::WS_POPUP | win::WS_VISIBLE, win::WS_EX_LAYERED);
    ApplyWindowAlpha(w, 51);
    TbsBitmap bmp;
    bmp.SetSize(2, 2);
    test::Fill(bmp, 0xFFFF0000);
    PushLayeredBitmap(bmp, 255, w, {40, 40});
    win::PumpMessages();
    EXPECT_EQ(ScreenPixel(5, 5), gfx::clWhite);
    EXPECT_EQ(ScreenPixel(40, 40), gfx::clBlack);
}

}  // namespace
}  // namespace skin
