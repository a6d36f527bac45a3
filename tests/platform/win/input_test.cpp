// Mouse routing (hit tests, capture, parent notification, double clicks, hover), keyboard
// and text input, activation and focus.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win/win_test_support.h"

namespace win::test {
namespace {

using ::testing::ElementsAre;

using InputTest = TWinTest;
using ActivationTest = TWinTest;

TEST_F(InputTest, APressOnAChildNotifiesEveryAncestorFirst) {
    const HWND form = Top(100, 100, 200, 200);
    const HWND panel = Child(form, 10, 10, 150, 150);
    const HWND button = Child(panel, 20, 20, 50, 30);
    PumpMessages();
    ClearLog();
    Screen->Click({100 + 10 + 20 + 5, 100 + 10 + 20 + 6});
    PumpMessages();
    std::vector<std::pair<HWND, UINT>> order;
    for (const TRecord& r : FLog)
        if (r.Message == WM_PARENTNOTIFY || r.Message == WM_LBUTTONDOWN)
            order.push_back({r.Window, r.Message});
    EXPECT_THAT(order, ElementsAre(std::pair{panel, UINT(WM_PARENTNOTIFY)},
                                   std::pair{form, UINT(WM_PARENTNOTIFY)},
                                   std::pair{button, UINT(WM_LBUTTONDOWN)}));
    // Each ancestor gets the point in its own client coordinates.
    EXPECT_EQ(Find(WM_PARENTNOTIFY, panel)[0].LParam, MAKELPARAM(25, 26));
    EXPECT_EQ(Find(WM_PARENTNOTIFY, form)[0].LParam, MAKELPARAM(35, 36));
    EXPECT_EQ(LOWORD(Find(WM_PARENTNOTIFY, form)[0].WParam), WM_LBUTTONDOWN);
    EXPECT_EQ(Find(WM_LBUTTONDOWN, button)[0].LParam, MAKELPARAM(5, 6));
    EXPECT_EQ(Find(WM_LBUTTONDOWN, button)[0].WParam, WPARAM(MK_LBUTTON));
    EXPECT_EQ(Count(WM_LBUTTONUP, button), 1);

    // A child with the no-parent-notify style keeps its parents out of it.
    SetWindowLongPtr(button, GWL_EXSTYLE, WS_EX_NOPARENTNOTIFY);
    ClearLog();
    Screen->Click({135, 136});
    PumpMessages();
    EXPECT_EQ(Count(WM_PARENTNOTIFY), 0);
    EXPECT_EQ(Count(WM_LBUTTONDOWN, button), 1);
}

TEST_F(InputTest, DoubleClicksNeedTheClassTheTimeAndThePlace) {
    struct TCase {
        const char* Class;
        int SecondAfterMs;
        int SecondDx;
        UINT Expected;
    };
    const TCase cases[] = {
        {"RecDbl", 100, 0, WM_LBUTTONDBLCLK}, {"RecDbl", 500, 2, WM_LBUTTONDBLCLK},
        {"RecDbl", 501, 0, WM_LBUTTONDOWN},   {"RecDbl", 100, 3, WM_LBUTTONDOWN},
        {"Rec", 100, 0, WM_LBUTTONDOWN},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Class) + " after " + std::to_string(c.SecondAfterMs));
        const HWND form = Top(0, 0, 200, 200);
        const HWND control = Child(form, 10, 10, 100, 100, WS_CHILD | WS_VISIBLE, 0, c.Class);
        PumpMessages();
        AdvanceMs(1000);
        ClearLog();
        Screen->Click({50, 50});
        PumpMessages();
        AdvanceMs(c.SecondAfterMs);
        Screen->Click({50 + c.SecondDx, 50});
        PumpMessages();
        const auto presses = Seq({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}, control);
        ASSERT_EQ(presses.size(), 2u);
        EXPECT_EQ(presses[0], UINT(WM_LBUTTONDOWN));
        EXPECT_EQ(presses[1], c.Expected);
        DestroyWindow(form);
    }
    // Non-client double clicks come whatever the class.
    const HWND captioned = Top(300, 300, 100, 100, WS_POPUP | WS_VISIBLE | WS_CAPTION);
    PumpMessages();
    AdvanceMs(1000);
    Screen->Click({350, 310});
    PumpMessages();
    AdvanceMs(50);
    Screen->Click({350, 310});
    PumpMessages();
    EXPECT_EQ(Count(WM_NCLBUTTONDBLCLK, captioned), 1);
    EXPECT_EQ(Find(WM_NCLBUTTONDBLCLK, captioned)[0].WParam, WPARAM(HTCAPTION));
}

TEST_F(InputTest, HitTestsPassTransparentAndDisabledWindowsOn) {
    const HWND below = Top(0, 0, 100, 100);
    const HWND form = Top(0, 0, 100, 100);
    const HWND glass = Child(form, 0, 0, 50, 50);
    const HWND off = Child(form, 50, 50, 50, 50, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    Handle(glass, [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_NCHITTEST) return false;
        r = HTTRANSPARENT;
        return true;
    });
    PumpMessages();
    ClearLog();
    EXPECT_EQ(WindowFromPoint({10, 10}), form);  // through the glass to its parent
    EXPECT_EQ(WindowFromPoint({60, 60}), form);  // a disabled child leaves it to the parent
    Handle(form, [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_NCHITTEST) return false;
        r = HTTRANSPARENT;
        return true;
    });
    EXPECT_EQ(WindowFromPoint({10, 10}), below);  // and through the form to the one below
    EXPECT_FALSE(WindowFromPoint({500, 500}));
    (void)off;
}

TEST_F(InputTest, CaptureTakesAllInputAndHoverIsTrackedMeanwhile) {
    const HWND form = Top(0, 0, 300, 200);
    const HWND a = Child(form, 0, 0, 100, 100);
    const HWND b = Child(form, 150, 0, 100, 100);
    PumpMessages();
    Screen->MouseMove({10, 10});
    PumpMessages();
    ASSERT_EQ(Count(WM_MOUSEENTER, a), 1);
    SetCapture(a);
    ClearLog();
    Screen->MouseMove({160, 20});
    Screen->MouseUp({160, 20});
    PumpMessages();
    EXPECT_EQ(Count(WM_MOUSEMOVE, b), 0);
    ASSERT_EQ(Count(WM_MOUSEMOVE, a), 1);
    EXPECT_EQ(Find(WM_MOUSEMOVE, a)[0].LParam, MAKELPARAM(160, 20));
    EXPECT_EQ(Count(WM_LBUTTONUP, a), 1);
    EXPECT_EQ(Count(WM_SETCURSOR), 0);
    // Leaving and entering are still told while the capture holds.
    EXPECT_THAT(Names(Seq({WM_MOUSELEAVE, WM_MOUSEENTER})),
                ElementsAre("MOUSELEAVE", "MOUSEENTER"));
    EXPECT_EQ(Find(WM_MOUSELEAVE)[0].Window, a);
    EXPECT_EQ(Find(WM_MOUSEENTER)[0].Window, b);
    SetCapture(b);
    EXPECT_EQ(Find(WM_CAPTURECHANGED, a).size(), 1u);
    ReleaseCapture();
    EXPECT_FALSE(GetCapture());
    Screen->MouseMove({170, 20});
    PumpMessages();
    EXPECT_EQ(Count(WM_MOUSEMOVE, b), 1);
}

TEST_F(InputTest, CursorsFollowTheHitCode) {
    TWndClass cls;
    cls.Name = "Edit";
    cls.Cursor = IDC_IBEAM;
    ASSERT_TRUE(RegisterClass(cls));
    const HWND form = Top(0, 0, 300, 200, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME);
    CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, form);
    PumpMessages();
    struct TCase {
        TPoint Point;
        HCURSOR Cursor;
    };
    const TCase cases[] = {
        {{1, 100}, IDC_SIZEWE}, {{150, 198}, IDC_SIZENS}, {{1, 1}, IDC_SIZENWSE},
        {{150, 10}, IDC_ARROW}, {{20, 35}, IDC_IBEAM},    {{200, 100}, IDC_ARROW},
    };
    for (const TCase& c : cases) {
        Screen->MouseMove(c.Point);
        PumpMessages();
        EXPECT_EQ(Screen->Cursor(), c.Cursor) << c.Point.X << "," << c.Point.Y;
    }
}

TEST_F(InputTest, KeysReachTheFocusAndTranslateToCharacters) {
    const HWND form = Top(0, 0, 200, 200);
    const HWND edit = Child(form, 10, 10, 100, 20);
    PumpMessages();
    SetFocus(edit);
    ClearLog();
    Screen->KeyDown(VK_SHIFT);
    Screen->KeyPress('A');
    Screen->KeyUp(VK_SHIFT);
    Screen->KeyPress('B');
    Screen->KeyPress(VK_OEM_2);
    Screen->KeyDown('C', 3);
    Screen->Text("中文");
    PumpMessages();
    std::vector<std::uint32_t> chars;
    for (const TRecord& r : Find(WM_CHAR, edit)) chars.push_back(std::uint32_t(r.WParam));
    EXPECT_THAT(chars, ElementsAre('A', 'b', '/', 'c', 0x4E2D, 0x6587));
    EXPECT_EQ(Count(WM_KEYDOWN, form), 0);
    const auto downs = Find(WM_KEYDOWN, edit);
    EXPECT_EQ(downs.back().LParam & 0xFFFF, 3);
    EXPECT_TRUE(GetKeyState('C') & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    // Caps Lock toggles.
    Screen->KeyPress(VK_CAPITAL);
    PumpMessages();
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
}

TEST_F(InputTest, ComposedTextEndsWithOneProcessKeyRelease) {
    const HWND form = Top(0, 0, 200, 200);
    const HWND edit = Child(form, 10, 10, 100, 20);
    PumpMessages();
    SetFocus(edit);
    ClearLog();
    Screen->Text("视频");
    PumpMessages();
    std::vector<std::string> seen;
    for (const TRecord& r : FLog) {
        if (r.Window != edit) continue;
        if (r.Message == WM_CHAR) seen.push_back("char");
        if (r.Message == WM_KEYUP) seen.push_back("up " + std::to_string(r.WParam));
    }
    EXPECT_THAT(seen, ElementsAre("char", "char", "up 229"));
}

TEST_F(InputTest, MenuKeyAndShiftF10AskForAContextMenuAtMinusOne) {
    const HWND form = Top(0, 0, 200, 200);
    const HWND edit = Child(form, 10, 10, 100, 20);
    PumpMessages();
    SetFocus(edit);
    ClearLog();
    Screen->KeyPress(VK_APPS);
    Screen->KeyDown(VK_SHIFT);
    Screen->KeyPress(VK_F10);
    Screen->KeyUp(VK_SHIFT);
    Screen->KeyPress(VK_F10);  // alone: the menu bar's key, no context menu
    PumpMessages();
    const auto menus = Find(WM_CONTEXTMENU, edit);
    ASSERT_EQ(menus.size(), 2u);
    for (const TRecord& r : menus) EXPECT_EQ(PointFromParam(r.LParam), (TPoint{-1, -1}));
}

TEST_F(InputTest, AltMakesSystemKeysAndTheKeyMenuCommand) {
    const HWND form = Top(0, 0, 200, 200);
    PumpMessages();
    SetFocus(form);
    ClearLog();
    Screen->KeyDown(VK_MENU);
    Screen->KeyPress('F');
    Screen->KeyUp(VK_MENU);
    PumpMessages();
    EXPECT_THAT(Names(Seq({WM_KEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYUP}, form)),
                ElementsAre("SYSKEYDOWN", "SYSKEYDOWN", "SYSCHAR", "SYSKEYUP", "SYSKEYUP"));
    ASSERT_EQ(Count(WM_SYSCOMMAND, form), 1);  // from the character, not from Alt's release
    EXPECT_EQ(Find(WM_SYSCOMMAND, form)[0].WParam, WPARAM(SC_KEYMENU));
    EXPECT_EQ(Find(WM_SYSCOMMAND, form)[0].LParam, 'f');
    EXPECT_TRUE(Find(WM_SYSKEYDOWN, form)[1].LParam & (LPARAM(1) << 29));
    // Alt alone opens the menu mode; Alt+F4 closes the form.
    ClearLog();
    Screen->KeyPress(VK_MENU);
    PumpMessages();
    EXPECT_EQ(Count(WM_SYSCOMMAND, form), 1);
    Screen->KeyDown(VK_MENU);
    Screen->KeyPress(VK_F4);
    Screen->KeyUp(VK_MENU);
    PumpMessages();
    EXPECT_FALSE(IsWindow(form));
}

TEST_F(InputTest, TheWheelGoesToTheFocusAndClimbsToItsParents) {
    const HWND form = Top(0, 0, 200, 200);
    const HWND list = Child(form, 10, 10, 100, 100);
    PumpMessages();
    SetFocus(list);
    ClearLog();
    Screen->Wheel({190, 190}, -WHEEL_DELTA);
    PumpMessages();
    ASSERT_EQ(Count(WM_MOUSEWHEEL, list), 1);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Find(WM_MOUSEWHEEL, list)[0].WParam), -WHEEL_DELTA);
    EXPECT_EQ(Count(WM_MOUSEWHEEL, form), 1);
}

TEST_F(ActivationTest, SwitchingActiveFormsRunsTheClassicSequence) {
    const HWND a = Top(0, 0, 100, 100, WS_POPUP);
    const HWND b = Top(200, 0, 100, 100, WS_POPUP);
    ShowWindow(a, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), a);
    EXPECT_EQ(Count(WM_ACTIVATEAPP, b), 1);  // the application became active
    PumpMessages();
    ClearLog();
    ShowWindow(b, SW_SHOW);
    const std::set<UINT> kActivation = {WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS,
                                        WM_ACTIVATEAPP};
    std::vector<std::string> order;
    for (const TRecord& r : FLog)
        if (kActivation.count(r.Message))
            order.push_back(
                MessageName(r.Message) + (r.Window == a ? ":A" : ":B") +
                (r.Message == WM_NCACTIVATE ? "(" + std::to_string(r.WParam) + ")" : ""));
    EXPECT_THAT(order, ElementsAre("NCACTIVATE:A(0)", "ACTIVATE:A", "KILLFOCUS:A",
                                   "NCACTIVATE:B(1)", "ACTIVATE:B", "SETFOCUS:B"));
    EXPECT_EQ(LOWORD(Find(WM_ACTIVATE, a)[0].WParam), WA_INACTIVE);
    EXPECT_EQ(ParamToHwnd(std::uint64_t(Find(WM_ACTIVATE, a)[0].LParam)), b);
    EXPECT_EQ(LOWORD(Find(WM_ACTIVATE, b)[0].WParam), WA_ACTIVE);
    EXPECT_EQ(Screen->StackOrder().front(), b);

    // A click on A activates it with the click flag and the click still arrives.
    ClearLog();
    Screen->Click({50, 50});
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(LOWORD(Find(WM_ACTIVATE, a)[0].WParam), WA_CLICKACTIVE);
    EXPECT_EQ(Count(WM_MOUSEACTIVATE, a), 1);
    EXPECT_EQ(Count(WM_LBUTTONDOWN, a), 1);

    // Hiding the active form hands activation on; the last one gone deactivates the application.
    ClearLog();
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), b);
    ShowWindow(b, SW_HIDE);
    EXPECT_FALSE(GetActiveWindow());
    EXPECT_EQ(Find(WM_ACTIVATEAPP, a).back().WParam, 0u);
}

TEST_F(ActivationTest, ANoActivatePopupLeavesTheFormActiveAndItsKeys) {
    const HWND form = Top(0, 0, 300, 300);
    const HWND edit = Child(form, 10, 10, 100, 20);
    PumpMessages();
    SetFocus(edit);
    const HWND popup = Top(50, 50, 100, 100, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, form);
    Handle(popup, [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_MOUSEACTIVATE) return false;
        r = MA_NOACTIVATE;
        return true;
    });
    ClearLog();
    SetWindowPos(popup, HWND_TOPMOST, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Screen->Click({60, 60});
    Screen->KeyPress('X');
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), form);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Count(WM_LBUTTONDOWN, popup), 1);
    EXPECT_EQ(Count(WM_NCACTIVATE), 0);
    EXPECT_EQ(Count(WM_KILLFOCUS), 0);
    EXPECT_EQ(Count(WM_KEYDOWN, edit), 1);
    EXPECT_EQ(Count(WM_CHAR, edit), 1);
    EXPECT_EQ(Screen->StackOrder().front(), popup);
    // Nor can it be activated by asking.
    SetWindowLongPtr(popup, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    EXPECT_FALSE(SetActiveWindow(popup));
    EXPECT_EQ(GetActiveWindow(), form);
}

TEST_F(ActivationTest, DisabledWindowsNeitherTakeFocusNorActivation) {
    const HWND a = Top(0, 0, 100, 100);
    const HWND b = Top(200, 0, 100, 100);
    const HWND edit = Child(b, 0, 0, 50, 20);
    PumpMessages();
    SetFocus(edit);
    ClearLog();
    EnableWindow(b, false);
    EXPECT_FALSE(GetFocus());
    EXPECT_EQ(Find(WM_ENABLE, b)[0].WParam, 0u);
    EXPECT_EQ(Count(WM_KILLFOCUS, edit), 1);
    EXPECT_FALSE(SetActiveWindow(b));
    EXPECT_FALSE(SetFocus(edit));
    SetActiveWindow(a);
    Screen->Click({250, 50});
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(Count(WM_LBUTTONDOWN, b), 0);
    EnableWindow(b, true);
    EXPECT_TRUE(IsWindowEnabled(b));
    // The system taking activation away deactivates the application.
    Screen->DeactivateApp();
    PumpMessages();
    EXPECT_FALSE(GetActiveWindow());
}

// What the system (a window manager, a task bar) does to a top-level reaches it as the system
// command a task bar sends, and the model follows: a window brought back from the icon is shown,
// active and takes clicks again.
TEST_F(ActivationTest, TheSystemsIconifyRestoreAndMaximizeReachTheWindowAsCommands) {
    const HWND other = Top(600, 0, 100, 100);
    const HWND w = Top(0, 0, 200, 100);
    PumpMessages();
    const gfx::TRect normal = gfx::Bounds(0, 0, 200, 100);
    auto commands = [&] {
        std::vector<WPARAM> seen;
        for (const TRecord& r : Find(WM_SYSCOMMAND, w)) seen.push_back(r.WParam & 0xFFF0);
        return seen;
    };
    ShowWindow(w, SW_MINIMIZE);
    SetActiveWindow(other);
    PumpMessages();
    ASSERT_TRUE(IsIconic(w));

    ClearLog();
    Screen->SystemShow(w, TSystemShow::Restored);
    PumpMessages();
    EXPECT_EQ(commands(), std::vector<WPARAM>{SC_RESTORE});
    EXPECT_FALSE(IsIconic(w));
    EXPECT_FALSE(Screen->Find(w)->Minimized);
    EXPECT_EQ(GetActiveWindow(), w);
    Screen->Click({50, 50});
    PumpMessages();
    EXPECT_EQ(Count(WM_LBUTTONDOWN, w), 1);

    // Iconified by the system: told once, whatever the system repeats.
    ClearLog();
    Screen->SystemShow(w, TSystemShow::Minimized);
    Screen->SystemShow(w, TSystemShow::Minimized);
    PumpMessages();
    EXPECT_EQ(commands(), std::vector<WPARAM>{SC_MINIMIZE});
    EXPECT_TRUE(IsIconic(w));
    EXPECT_NE(GetActiveWindow(), w);
    Screen->SystemShow(w, TSystemShow::Restored);
    PumpMessages();

    ClearLog();
    Screen->SystemShow(w, TSystemShow::Maximized);
    PumpMessages();
    EXPECT_EQ(commands(), std::vector<WPARAM>{SC_MAXIMIZE});
    EXPECT_TRUE(IsZoomed(w));
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, gfx::Bounds(0, 0, 1280, 760));
    Screen->SystemShow(w, TSystemShow::Restored);
    PumpMessages();
    EXPECT_FALSE(IsZoomed(w));
    GetWindowRect(w, r);
    EXPECT_EQ(r, normal);

    // A window that answers in its own way stays as it chose; the screen shows it so.
    Handle(w, [](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& result) {
        if (m != WM_SYSCOMMAND || (wp & 0xFFF0) != SC_MINIMIZE) return false;
        result = 0;
        return true;
    });
    Screen->SystemShow(w, TSystemShow::Minimized);
    PumpMessages();
    EXPECT_FALSE(IsIconic(w));
    EXPECT_TRUE(Screen->Find(w)->Shown);
    EXPECT_FALSE(Screen->Find(w)->Minimized);
}

}  // namespace
}  // namespace win::test
