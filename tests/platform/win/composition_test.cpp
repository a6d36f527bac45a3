// What the headless screen shows and where clicks land: regions, layered windows with constant
// and per-pixel alpha, click-through, and PNG screenshots.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "ellipse_region.h"
#include "platform/gfx/codecs.h"
#include "platform/win/win_test_support.h"
#include "support/temp_dir.h"

namespace win::test {
namespace {

using CompositionTest = TWinTest;

void PaintSolid(TWinTest& test, HWND w, gfx::TColor color) {
    test.Handle(w, [color](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        gfx::FillRect(dc, TRect{0, 0, 1000, 1000}, gfx::CreateSolidBrush(color));
        EndPaint(h, ps);
        return true;
    });
}

TEST_F(CompositionTest, AnEllipticRegionShapesClicksAndTheScreenshot) {
    const HWND below = Top(0, 0, 300, 300);
    const HWND round = Top(50, 50, 120, 80, WS_POPUP);
    PaintSolid(*this, round, gfx::clRed);
    SetWindowRgn(round, EllipseRegion(120, 80), false);
    ShowWindow(round, SW_SHOWNA);
    PumpMessages();
    ClearLog();
    Screen->Click({52, 52});   // inside the rectangle, outside the ellipse
    Screen->Click({110, 90});  // the centre
    PumpMessages();
    ASSERT_EQ(Count(WM_LBUTTONDOWN, below), 1);
    EXPECT_EQ(Find(WM_LBUTTONDOWN, below)[0].LParam, MAKELPARAM(52, 52));
    EXPECT_EQ(Count(WM_LBUTTONDOWN, round), 1);

    EXPECT_EQ(ScreenPixel(52, 52), gfx::clWhite);
    EXPECT_EQ(ScreenPixel(110, 90), gfx::clRed);
    EXPECT_EQ(ScreenPixel(51, 90), gfx::clRed);  // left end of the middle row
    EXPECT_EQ(ScreenPixel(168, 52), gfx::clWhite);

    // The window's own shot is transparent outside its region; files decode to the same.
    testsupport::TTempDir dir;
    const std::string screenPath = dir / "screen.png";
    const std::string windowPath = dir / "round.png";
    std::string error;
    ASSERT_TRUE(Screen->SaveScreenshot(screenPath, &error)) << error;
    ASSERT_TRUE(Screen->SaveWindowShot(round, windowPath, &error)) << error;
    auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        gfx::TImage image;
        std::string why;
        EXPECT_TRUE(gfx::ReadPng(bytes, image, why)) << why;
        return image;
    };
    const gfx::TImage screen = read(screenPath);
    ASSERT_EQ(screen.Width, 1280);
    EXPECT_EQ(screen.Pixels[90 * 1280 + 110] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(screen.Pixels[52 * 1280 + 52] & 0xFFFFFF, 0xFFFFFFu);
    const gfx::TImage shot = read(windowPath);
    ASSERT_EQ(shot.Width, 120);
    EXPECT_EQ(shot.Pixels[0] >> 24, 0u);
    EXPECT_EQ(shot.Pixels[40 * 120 + 60], 0xFFFF0000u);
}

TEST_F(CompositionTest, ConstantAlphaComposesOverWhatIsBelow) {
    Top(0, 0, 300, 300);
    const HWND glass = Top(20, 20, 100, 100, WS_POPUP, WS_EX_LAYERED);
    PaintSolid(*this, glass, gfx::clBlack);
    EXPECT_FALSE(SetLayeredWindowAttributes(Top(0, 0, 5, 5), 0, 128, LWA_ALPHA));  // not layered
    ASSERT_TRUE(SetLayeredWindowAttributes(glass, 0, 128, LWA_ALPHA));
    ShowWindow(glass, SW_SHOWNA);
    PumpMessages();
    const int grey = (255 * (255 - 128) + 127) / 255;  // 127
    EXPECT_EQ(ScreenPixel(50, 50), gfx::RGB(grey, grey, grey));
    EXPECT_EQ(ScreenPixel(150, 150), gfx::clWhite);
    // Constant alpha does not let the mouse through; the transparent style does.
    EXPECT_EQ(WindowFromPoint({50, 50}), glass);
    SetWindowLongPtr(glass, GWL_EXSTYLE, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    EXPECT_NE(WindowFromPoint({50, 50}), glass);
    // A colour key cuts the key colour out of both the picture and the hit test.
    SetWindowLongPtr(glass, GWL_EXSTYLE, WS_EX_LAYERED);
    SetLayeredWindowAttributes(glass, gfx::clBlack, 255, LWA_COLORKEY);
    EXPECT_EQ(ScreenPixel(50, 50), gfx::clWhite);
    EXPECT_NE(WindowFromPoint({50, 50}), glass);
}

TEST_F(CompositionTest, PerPixelAlphaImagesShowAndLetZeroAlphaClicksThrough) {
    const HWND below = Top(0, 0, 300, 300);
    const HWND layer = Top(0, 0, 10, 10, WS_POPUP, WS_EX_LAYERED);
    ShowWindow(layer, SW_SHOWNA);
    // Left half opaque red, right half half-covered blue (premultiplied), bottom rows empty.
    gfx::TSurface image(100, 60, 32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            image.Pixels()[y * 100 + x] = y >= 40 ? 0u : x < 50 ? 0xFFFF0000u : 0x80000080u;
    const TPoint at{40, 40};
    const TSize size{100, 60};
    BLENDFUNCTION blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    ASSERT_TRUE(UpdateLayeredWindow(layer, &at, &size, image, {0, 0}, 0, blend, ULW_ALPHA));
    TRect r;
    GetWindowRect(layer, r);
    EXPECT_EQ(r, gfx::Bounds(40, 40, 100, 60));
    PumpMessages();
    EXPECT_EQ(ScreenPixel(50, 50), gfx::clRed);
    EXPECT_EQ(ScreenPixel(120, 50), gfx::RGB(127, 127, 255));  // 128 + 255 * 127 / 255
    EXPECT_EQ(ScreenPixel(60, 90), gfx::clWhite);
    ClearLog();
    Screen->Click({60, 90});
    Screen->Click({60, 50});
    PumpMessages();
    EXPECT_EQ(Count(WM_LBUTTONDOWN, below), 1);
    EXPECT_EQ(Count(WM_LBUTTONDOWN, layer), 1);
    // A constant alpha multiplies the image's own.
    blend.SourceConstantAlpha = 0;
    UpdateLayeredWindow(layer, nullptr, nullptr, image, {0, 0}, 0, blend, ULW_ALPHA);
    EXPECT_EQ(ScreenPixel(50, 50), gfx::clWhite);
    EXPECT_EQ(WindowFromPoint({50, 50}), below);
}

TEST_F(CompositionTest, HiddenAndMinimizedWindowsLeaveTheScreen) {
    const HWND w = Top(10, 10, 50, 50);
    PaintSolid(*this, w, gfx::clBlue);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(20, 20), gfx::clBlue);
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_EQ(ScreenPixel(20, 20), gfx::clBlack);  // the desktop
    EXPECT_FALSE(WindowFromPoint({20, 20}));
    ShowWindow(w, SW_RESTORE);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(20, 20), gfx::clBlue);
    DestroyWindow(w);
    EXPECT_EQ(ScreenPixel(20, 20), gfx::clBlack);
    EXPECT_EQ(Screen->Find(w), nullptr);
}

}  // namespace
}  // namespace win::test
