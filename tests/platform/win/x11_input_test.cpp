// Input injected into the X server (xdotool) reaching the window model: clicks on a child,
// a caption drag, Chinese typed through the keyboard, the wheel, auto-repeat, shapes that let
// clicks through to another program, and the pointer grab while the model holds the capture.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include <langinfo.h>

#include "ellipse_region.h"
#include "platform/win/x11_test_support.h"

namespace win::test {
namespace {

constexpr int kCaption = 28;

class X11InputTest : public TX11Test {
public:
    // A form whose top strip is its caption, with a child, shown and active.
    void ShowForm() {
        Form = Top(100, 80, 420, 300, WS_POPUP);
        Handle(Form, [](HWND h, UINT m, WPARAM, LPARAM l, LRESULT& result) {
            if (m != WM_NCHITTEST) return false;
            TPoint p = PointFromParam(l);
            ScreenToClient(h, p);
            result = p.Y >= 0 && p.Y < kCaption ? HTCAPTION : HTCLIENT;
            return true;
        });
        Button = Child(Form, 40, 200, 120, 36);
        ShowWindow(Form, SW_SHOW);
        ASSERT_TRUE(PumpUntil([&] { return Shows(Form); }));
        ASSERT_EQ(GetActiveWindow(), Form);
    }

    void Xdo(const std::string& command) {
        std::vector<std::string> args{"xdotool"};
        std::string word;
        for (char c : command + " ") {
            if (c != ' ') {
                word += c;
            } else if (!word.empty()) {
                args.push_back(word);
                word.clear();
            }
        }
        const TToolResult r = Tool(args);
        ASSERT_EQ(r.ExitCode, 0) << command << ": " << r.Errors;
    }
    void Type(const std::string& text) {
        const TToolResult r = Tool({"xdotool", "type", "--delay", "40", text});
        ASSERT_EQ(r.ExitCode, 0) << text << ": " << r.Errors;
    }

    HWND Form, Button;
    TXClient Other;
};

TEST_F(X11InputTest, ClicksReachTheChildUnderThePointerAndPopupsNeverTakeActivation) {
    ShowForm();
    const HWND popup = Top(600, 120, 180, 90, WS_POPUP, WS_EX_TOOLWINDOW);
    Handle(popup, [](HWND, UINT m, WPARAM, LPARAM, LRESULT& result) {
        result = MA_NOACTIVATE;
        return m == WM_MOUSEACTIVATE;
    });
    ShowWindow(popup, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return Shows(popup); }));
    ASSERT_TRUE(PumpUntil([&] { return Other.FocusWindow() == X->XWindowOf(Form); }));
    ClearLog();

    Xdo("mousemove --sync 150 290 click 1");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_LBUTTONUP, Button) == 1; }));
    ASSERT_EQ(Count(WM_LBUTTONDOWN, Button), 1);
    EXPECT_EQ(Find(WM_LBUTTONDOWN, Button)[0].LParam, MAKELPARAM(10, 10));
    EXPECT_EQ(Count(WM_LBUTTONDOWN, Form), 0);
    EXPECT_EQ(Count(WM_PARENTNOTIFY, Form), 1);

    Xdo("mousemove --sync 610 130 click 1");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_LBUTTONUP, popup) == 1; }));
    EXPECT_EQ(Find(WM_LBUTTONDOWN, popup).at(0).LParam, MAKELPARAM(10, 10));
    EXPECT_EQ(GetActiveWindow(), Form);
    EXPECT_EQ(Other.FocusWindow(), X->XWindowOf(Form));

    // The wheel goes to the focus, a notch at a time.
    SetFocus(Button);
    Xdo("click 4 click 5");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_MOUSEWHEEL, Button) == 2; }));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Find(WM_MOUSEWHEEL, Button)[0].WParam), 120);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Find(WM_MOUSEWHEEL, Button)[1].WParam), -120);
}

TEST_F(X11InputTest, ADragOnTheCaptionMovesTheFormOnTheScreen) {
    ShowForm();
    ClearLog();
    Xdo("mousemove --sync 200 90 mousedown 1 mousemove --sync 260 150 mousemove --sync 290 170 "
        "mouseup 1");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_EXITSIZEMOVE, Form) == 1; }));
    TRect r;
    GetWindowRect(Form, r);
    EXPECT_EQ(r, gfx::Bounds(190, 160, 420, 300));
    EXPECT_EQ(Count(WM_ENTERSIZEMOVE, Form), 1);
    EXPECT_EQ(GetCapture(), HWND());
    // The X window went along.
    std::string info;
    EXPECT_TRUE(PumpUntil([&] {
        info = WindowInfo(X->XWindowOf(Form));
        return info.find("Absolute upper-left X:  190") != std::string::npos &&
               info.find("Absolute upper-left Y:  160") != std::string::npos;
    })) << info;
    // A click below the caption is a client click, and moves nothing.
    Xdo("mousemove --sync 300 300 mousedown 1 mousemove --sync 320 320 mouseup 1");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_LBUTTONUP, Form) == 1; }));
    GetWindowRect(Form, r);
    EXPECT_EQ(r, gfx::Bounds(190, 160, 420, 300));
}

TEST_F(X11InputTest, TypedTextArrivesAsCharactersChineseIncluded) {
    ShowForm();
    SetFocus(Button);
    ASSERT_TRUE(PumpUntil([&] { return Other.FocusWindow() == X->XWindowOf(Form); }));
    ClearLog();

    // What no key of the layout has is bound to spare keys first (see BindCharacters).
    const std::string chinese = "你好，世界";
    const std::string mixed = "Moradex 2.0: 视频!";
    Other.BindCharacters(chinese + mixed);
    Type(chinese);
    ASSERT_TRUE(PumpUntil([&] { return Typed(Button) == chinese; })) << Typed(Button);
    EXPECT_EQ(Count(WM_KEYDOWN, Button), 0) << "no key of the model stands for these";

    // Letters, digits and shifted signs come as keys that the model translates, once each.
    ClearLog();
    Type(mixed);
    ASSERT_TRUE(PumpUntil([&] { return Typed(Button) == mixed; })) << Typed(Button);
    std::vector<WPARAM> keys;
    for (const TXRecord& r : Find(WM_KEYDOWN, Button)) keys.push_back(r.WParam);
    EXPECT_NE(std::find(keys.begin(), keys.end(), WPARAM('M')), keys.end());
    EXPECT_NE(std::find(keys.begin(), keys.end(), WPARAM(VK_SHIFT)), keys.end());
    EXPECT_NE(std::find(keys.begin(), keys.end(), WPARAM(VK_OEM_PERIOD)), keys.end());
    // Composed text ends with a key-up of VK_PROCESSKEY that no key-down goes with.
    int keyUps = 0;
    for (const TXRecord& r : Find(WM_KEYUP, Button)) keyUps += r.WParam != WPARAM(VK_PROCESSKEY);
    EXPECT_EQ(keyUps, Count(WM_KEYDOWN, Button));

    // Keys without characters.
    ClearLog();
    Xdo("key Return Left F5 ctrl+a");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_KEYUP, Button) == 5; }));
    std::vector<WPARAM> down;
    for (const TXRecord& r : Find(WM_KEYDOWN, Button)) down.push_back(r.WParam);
    EXPECT_EQ(down, (std::vector<WPARAM>{VK_RETURN, VK_LEFT, VK_F1 + 4, VK_CONTROL, 'A'}));
    EXPECT_EQ(Typed(Button), "\r\x01");
}

TEST_F(X11InputTest, AHeldKeyRepeatsWithoutAReleaseInBetween) {
    ShowForm();
    SetFocus(Button);
    ASSERT_TRUE(PumpUntil([&] { return Other.FocusWindow() == X->XWindowOf(Form); }));
    ClearLog();
    Xdo("keydown b");
    // The server repeats a held key after its delay; three presses show it repeats.
    const bool repeated = PumpUntil([&] { return Count(WM_KEYDOWN, Button) >= 3; });
    Xdo("keyup b");
    ASSERT_TRUE(repeated);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_KEYUP, Button) == 1; }));
    const auto downs = Find(WM_KEYDOWN, Button);
    EXPECT_FALSE(downs[0].LParam & (LPARAM(1) << 30));
    for (std::size_t i = 1; i < downs.size(); ++i)
        EXPECT_TRUE(downs[i].LParam & (LPARAM(1) << 30)) << "repeat " << i;
    for (const TXRecord& r : Find(WM_KEYUP)) EXPECT_EQ(r.WParam, WPARAM('B'));
    EXPECT_EQ(Typed(Button), std::string(downs.size(), 'b'));
}

TEST_F(X11InputTest, ARegionShapedWindowLetsAClickOutsideItsShapeReachTheWindowBelow) {
    const std::uint64_t below = Other.CreateWindow(gfx::Bounds(300, 300, 200, 150), 0x3366AA);
    const HWND round = Top(300, 300, 200, 150, WS_POPUP);
    PaintSolid(*this, round, gfx::clRed);
    SetWindowRgn(round, EllipseRegion(200, 150), false);
    ShowWindow(round, SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return Shows(round); }));
    // The shape shows: the other program's window in the corner, ours in the middle.
    ASSERT_TRUE(PumpUntil([&] {
        const TShot shot = Screenshot();
        return shot.Width && shot.At(304, 304) == 0x3366AA && shot.At(400, 375) == 0xFF0000;
    }));
    ClearLog();

    Xdo("mousemove --sync 304 304 click 1 mousemove --sync 400 375 click 1");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_LBUTTONUP, round) == 1; }));
    EXPECT_EQ(Count(WM_LBUTTONDOWN, round), 1);
    EXPECT_EQ(Find(WM_LBUTTONDOWN, round)[0].LParam, MAKELPARAM(100, 75));
    EXPECT_EQ(Other.Presses(below), (std::vector<TPoint>{{4, 4}}));

    // Without its region the window takes the corner too.
    SetWindowRgn(round, std::nullopt, true);
    ASSERT_TRUE(PumpUntil([&] { return Screenshot().At(304, 304) == 0xFF0000; }));
    Xdo("mousemove --sync 304 304 click 1");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_LBUTTONUP, round) == 2; }));
    EXPECT_EQ(Other.Presses(below), std::vector<TPoint>{});
}

TEST_F(X11InputTest, WhileTheModelHoldsTheCaptureThePointerIsOurs) {
    const std::uint64_t other = Other.CreateWindow(gfx::Bounds(600, 400, 200, 150), 0x228822);
    const HWND menu = Top(100, 100, 160, 200, WS_POPUP, WS_EX_TOOLWINDOW);
    ShowWindow(menu, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return Shows(menu); }));
    SetCapture(menu);
    ClearLog();
    Xdo("mousemove --sync 650 450 click 1");
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_LBUTTONUP, menu) == 1; }));
    EXPECT_EQ(Find(WM_LBUTTONDOWN, menu).at(0).LParam, MAKELPARAM(550, 350));
    EXPECT_EQ(Other.Presses(other), std::vector<TPoint>{});

    // Released, the other program gets its clicks again.
    ReleaseCapture();
    Xdo("click 1");
    std::vector<TPoint> presses;
    EXPECT_TRUE(PumpUntil([&] {
        for (TPoint p : Other.Presses(other)) presses.push_back(p);
        return presses.size() == 1;
    }));
    EXPECT_EQ(Count(WM_LBUTTONDOWN, menu), 1);
}

// Input methods hand committed text over in LC_CTYPE's character set: under the "C" locale a
// pinyin commit of 视频 reached the edit as nothing. Numbers must keep the C rules.
class X11LocaleTest : public TX11Test {
public:
    void SetUp() override {
        std::setlocale(LC_ALL, "C");
        TX11Test::SetUp();
    }
};

TEST_F(X11LocaleTest, TheBackendTakesAUtf8CharacterTypeAndLeavesNumbersAlone) {
    EXPECT_STREQ(nl_langinfo(CODESET), "UTF-8");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

}  // namespace
}  // namespace win::test
