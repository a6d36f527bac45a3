// The plain frame (caption text, close button), frame sizes, class names, cursor shapes and the
// bell.
#include <gtest/gtest.h>

#include "platform/win/video_host.h"
#include "platform/win/win_test_support.h"

namespace win::test {
namespace {

TEST_F(TWinTest, AdjustWindowRectExGivesTheFrameTheDefaultProcedureDraws) {
    struct TCase {
        DWORD Style;
        DWORD ExStyle;
    };
    const TCase cases[] = {
        {WS_POPUP, 0},
        {WS_OVERLAPPEDWINDOW, 0},
        {WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
        {WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW},
        {WS_CAPTION, WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE},
    };
    for (const TCase& c : cases) {
        TRect r{0, 0, 200, 100};
        ASSERT_TRUE(AdjustWindowRectEx(r, c.Style, false, c.ExStyle));
        HWND h = Top(10, 10, r.Width(), r.Height(), c.Style, c.ExStyle);
        TRect client;
        GetClientRect(h, client);
        EXPECT_EQ(client, (TRect{0, 0, 200, 100})) << c.Style;
        DestroyWindow(h);
    }
}

TEST_F(TWinTest, ThePlainFrameShowsTheCaptionTextAndAClosingButton) {
    HWND h = Top(100, 100, 200, 80, WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    EXPECT_EQ(GetClassName(h), "Rec");
    SetWindowText(h, "Title");
    PumpMessages();
    // Caption text in the caption text colour somewhere left of the button.
    int textPixels = 0;
    for (int x = 104; x < 150; ++x)
        for (int y = 104; y < 120; ++y)
            if (ScreenPixel(x, y) == gfx::ColorToRGB(gfx::clCaptionText)) ++textPixels;
    EXPECT_GT(textPixels, 10);

    TPoint button{-1, -1};
    for (int x = 299; x > 250 && button.X < 0; --x)
        if (SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(x, 110)) == HTCLOSE) button = {x, 110};
    ASSERT_GE(button.X, 0);
    Screen->Click(button);
    PumpMessages();
    EXPECT_FALSE(IsWindow(h));  // SC_CLOSE, WM_CLOSE, destroyed by the default procedure
    HWND plain = Top(0, 0, 100, 60, WS_CAPTION | WS_VISIBLE);
    for (int x = 0; x < 100; ++x)
        EXPECT_NE(SendMessage(plain, WM_NCHITTEST, 0, MAKELPARAM(x, 10)), HTCLOSE);
}

TEST_F(TWinTest, TheArrowCursorShapeReachesNineteenRowsBelowItsHotSpot) {
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(IDC_ARROW, info));
    EXPECT_EQ(info.xHotspot, 0);
    EXPECT_EQ(info.yHotspot, 0);
    ASSERT_TRUE(info.hbmMask);
    EXPECT_EQ(info.hbmMask->Width(), 32);
    EXPECT_EQ(info.hbmMask->Height(), 64);
    int last = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if ((info.hbmMask->Pixels()[std::size_t(y) * 32 + x] & 0xFFFFFF) != 0xFFFFFF) last = y;
    EXPECT_EQ(last + 1 - info.yHotspot, 19);
    ASSERT_TRUE(GetIconInfo(IDC_CROSS, info));
    EXPECT_EQ(info.xHotspot, 8);
    EXPECT_FALSE(GetIconInfo(12345, info));
}

TEST_F(TWinTest, MessageBeepRingsTheBackendsBell) {
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBeep(0xFFFFFFFF);
    EXPECT_EQ(Screen->Beeps(), (std::vector<unsigned>{MB_ICONEXCLAMATION, 0xFFFFFFFF}));
}

TEST_F(TWinTest, FindVideoHostMakesNoHost) {
    HWND h = Top(0, 0, 50, 50);
    EXPECT_EQ(FindVideoHost(h), nullptr);
    auto host = GetVideoHost(h);
    EXPECT_EQ(FindVideoHost(h), host);
}

}  // namespace
}  // namespace win::test
