#include "skin/core/layered_windows.h"

#include <gtest/gtest.h>

#include "platform/vcl/vcl_test_support.h"
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

// ---- pushes and the layer manager on a headless screen ----------------------------------------

// A parentless control whose window can take layered images.
vcl::TCustomControl* LayeredPopup(int x, int y, int w, int h) {
    auto* popup = new TbsLayerWindow(vcl::Application);
    popup->SetBounds(x, y, w, h);
    const win::HWND wnd = popup->Handle();
    win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE,
                          win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE) | win::WS_EX_LAYERED);
    win::ShowWindow(wnd, win::SW_SHOWNA);
    return popup;
}

class LayeredPushTest : public vcl::test::TVclTest {};

TEST_F(LayeredPushTest, StraightPixelsArePremultipliedOnTheWay) {
    vcl::TCustomControl* layer = LayeredPopup(20, 30, 2, 1);
    TbsBitmap bmp;
    bmp.SetSize(2, 1);
    test::Put(bmp, 0, 0, 0x80C80000);  // (200, 0, 0) at alpha 128
    test::Put(bmp, 1, 0, 0x00FFFFFF);  // fully transparent white
    PushLayeredBitmap(bmp, 255, *layer);
    Run();
    // The screen is black: 200 * 128 / 255.
    EXPECT_NEAR(gfx::GetRValue(ScreenPixel(20, 30)), 100, 1);
    EXPECT_EQ(ScreenPixel(21, 30), gfx::clBlack);
    // The bitmap itself stays straight.
    EXPECT_EQ(test::At(bmp, 0, 0), 0x80C80000u);

    // Constant alpha on top of the per-pixel one.
    PushLayeredBitmap(bmp, 128, *layer);
    Run();
    EXPECT_NEAR(gfx::GetRValue(ScreenPixel(20, 30)), 50, 1);
}

TEST_F(LayeredPushTest, WholeWindowAlpha) {
    vcl::TCustomControl* popup = LayeredPopup(0, 0, 10, 10);
    popup->Brush().SetColor(gfx::clWhite);
    ApplyWindowAlpha(popup->Handle(), 51);
    popup->Repaint();
    Run();
    EXPECT_NEAR(gfx::GetRValue(ScreenPixel(5, 5)), 51, 1);  // white at 20 % over black
}

TEST_F(LayeredPushTest, NothingHappensWhereTheScreenCantShowLayers) {
    Screen->SetCapabilities({false, false});
    vcl::TCustomControl* popup = LayeredPopup(0, 0, 10, 10);
    popup->Brush().SetColor(gfx::clWhite);
    popup->Repaint();
    ApplyWindowAlpha(popup->Handle(), 51);
    TbsBitmap bmp;
    bmp.SetSize(2, 2);
    test::Fill(bmp, 0xFFFF0000);
    PushLayeredBitmap(bmp, 255, *popup);
    Run();
    EXPECT_EQ(ScreenPixel(5, 5), gfx::clWhite);
    EXPECT_EQ(ScreenPixel(40, 40), gfx::clBlack);

    auto* manager = new TbsLayerManager(vcl::Application);
    gfx::TBitmap image, mask;
    image.SetSize(4, 4);
    mask.SetSize(4, 4);
    const std::size_t windows = win::GetWinStats().Windows;
    manager->Show(50, 50, image, mask, 255);
    EXPECT_FALSE(manager->LayerWindow);
    EXPECT_FALSE(manager->IsVisible);
    EXPECT_EQ(win::GetWinStats().Windows, windows);
    manager->Hide();
}

class LayerManagerTest : public vcl::test::TVclTest {
protected:
    // A 40 x 20 picture of one colour; its mask white on the left half and black on the right.
    void Picture(gfx::TColor color) {
        Image.SetSize(40, 20);
        Image.Canvas().Brush().SetColor(color);
        Image.Canvas().FillRect({0, 0, 40, 20});
        Mask.SetSize(40, 20);
        Mask.Canvas().Brush().SetColor(gfx::clBlack);
        Mask.Canvas().FillRect({0, 0, 40, 20});
        Mask.Canvas().Brush().SetColor(gfx::clWhite);
        Mask.Canvas().FillRect({0, 0, 20, 20});
    }
    void Tick() {
        AdvanceMs(25);
        Run();
    }
    // Ticks until the fade stops; the number of ticks it took.
    int TicksToFinish(TbsLayerManager& manager) {
        int ticks = 0;
        while (manager.Timer->Enabled() && ticks < 100) {
            Tick();
            ++ticks;
        }
        return ticks;
    }

    gfx::TBitmap Image, Mask;
};

TEST_F(LayerManagerTest, GlowFadesInOverTheFormAndLetsTheMouseThrough) {
    vcl::TForm* form = ShowForm(50, 50, 200, 150);
    form->SetColor(gfx::clWhite);
    form->Repaint();
    Run();
    ASSERT_EQ(win::GetActiveWindow(), form->Handle());
    auto* manager = new TbsLayerManager(form);
    Picture(gfx::clRed);
    manager->Show(100, 100, Image, Mask, 200);
    Run();
    ASSERT_TRUE(manager->LayerWindow);
    EXPECT_TRUE(manager->IsVisible);
    EXPECT_EQ(ScreenPixel(105, 110), gfx::clWhite);  // constant alpha 0 at first
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_FALSE(manager->Timer->Enabled());
    EXPECT_EQ(manager->BeginAlphaBlendValue, 200);
    const gfx::TColor glow = ScreenPixel(105, 110);
    EXPECT_EQ(gfx::GetRValue(glow), 255);
    EXPECT_NEAR(gfx::GetGValue(glow), 55, 1);
    EXPECT_NEAR(gfx::GetBValue(glow), 55, 1);
    EXPECT_EQ(ScreenPixel(135, 110), gfx::clWhite);

    Watch(form);
    Screen->Click({105, 110});
    Run();
    EXPECT_EQ(CountHeard("F", win::WM_LBUTTONDOWN), 1);
    EXPECT_EQ(win::GetActiveWindow(), form->Handle());

    manager->Hide();
    Run();
    EXPECT_FALSE(manager->LayerWindow);
    EXPECT_FALSE(manager->IsVisible);
    EXPECT_FALSE(manager->Bmp);
    EXPECT_EQ(ScreenPixel(105, 110), gfx::clWhite);
}

TEST_F(LayerManagerTest, EveryFadeEnds) {
    Picture(gfx::clRed);
    auto* manager = new TbsLayerManager(vcl::Application);
    struct TCase {
        int Value, Ticks;
    };
    for (const TCase& c : {TCase{255, 11}, {37, 13}, {5, 5}, {10, 10}, {1, 1}, {0, 1}}) {
        manager->Show(10, 10, Image, Mask, c.Value);
        EXPECT_EQ(TicksToFinish(*manager), c.Ticks) << c.Value;
        EXPECT_EQ(manager->BeginAlphaBlendValue, c.Value);
    }
    manager->Hide();
}

TEST_F(LayerManagerTest, ShowingAgainReplacesTheLayer) {
    auto* manager = new TbsLayerManager(vcl::Application);
    manager->TopMostMode = false;
    Picture(gfx::clRed);
    const std::size_t windows = win::GetWinStats().Windows;
    manager->Show(10, 10, Image, Mask, 255);
    const win::HWND first = manager->LayerWindow->Handle();
    Picture(gfx::clBlue);
    manager->Show(10, 10, Image, Mask, 255);
    EXPECT_FALSE(win::IsWindow(first));
    EXPECT_EQ(win::GetWinStats().Windows, windows + 1);
    TicksToFinish(*manager);
    EXPECT_EQ(ScreenPixel(15, 15), gfx::clBlue);
    EXPECT_EQ(ScreenPixel(45, 15), gfx::clBlack);
    // Hiding twice, or a manager that never showed, is harmless.
    manager->Hide();
    manager->Hide();
    EXPECT_EQ(win::GetWinStats().Windows, windows);
}

}  // namespace
}  // namespace skin
