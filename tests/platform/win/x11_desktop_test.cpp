// What the x11 backend tells the desktop and learns from it: focus and activation both ways,
// what a window manager reads from our windows, minimizing, monitors and work areas, the
// clipboard between programs. And which backend the program picks, and what it says when it
// falls back to headless.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include "platform/sys/env.h"
#include "platform/win/headless.h"
#include "platform/win/x11_test_support.h"

namespace win::test {
namespace {

using X11DesktopTest = TX11Test;

TEST_F(X11DesktopTest, ActivationMovesTheXFocusAndTheXFocusMovesActivation) {
    TXClient other;
    const std::uint64_t foreign = other.CreateWindow(gfx::Bounds(700, 500, 100, 100), 0x808080);
    const HWND first = Top(50, 50, 200, 150);
    const HWND second = Top(300, 50, 200, 150);
    ASSERT_TRUE(PumpUntil([&] { return Shows(first) && Shows(second); }));
    EXPECT_EQ(GetActiveWindow(), second);
    ASSERT_TRUE(PumpUntil([&] { return other.FocusWindow() == X->XWindowOf(second); }));

    SetActiveWindow(first);
    ASSERT_TRUE(PumpUntil([&] { return other.FocusWindow() == X->XWindowOf(first); }));

    // Another program takes the keyboard: the application is deactivated.
    ClearLog();
    other.SetFocus(foreign);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == HWND(); }));
    ASSERT_EQ(Find(WM_ACTIVATEAPP, first).size(), 1u);
    EXPECT_EQ(Find(WM_ACTIVATEAPP, first)[0].WParam, 0u);

    // The system hands the keyboard to one of ours: the model follows.
    other.SetFocus(X->XWindowOf(second));
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == second; }));
    EXPECT_EQ(Find(WM_ACTIVATEAPP, second).back().WParam, 1u);
    EXPECT_EQ(other.FocusWindow(), X->XWindowOf(second));
}

TEST_F(X11DesktopTest, WindowManagersReadTitlesOwnersLayersAndNoDecorations) {
    const HWND form = Top(50, 50, 300, 200);
    SetWindowText(form, "格式转换");
    const HWND dialog = Top(100, 100, 200, 120, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, form);
    ASSERT_TRUE(PumpUntil([&] { return Shows(form) && Shows(dialog); }));

    EXPECT_NE(Property(form, "_NET_WM_NAME").find("= \"格式转换\""), std::string::npos);
    SetWindowText(form, "完成");
    EXPECT_TRUE(PumpUntil(
        [&] { return Property(form, "_NET_WM_NAME").find("= \"完成\"") != std::string::npos; }));
    const std::string transient = Property(dialog, "WM_TRANSIENT_FOR");
    char id[32];
    std::snprintf(id, sizeof id, "0x%llx", static_cast<unsigned long long>(X->XWindowOf(form)));
    EXPECT_NE(transient.find(id), std::string::npos) << transient;
    EXPECT_NE(Property(dialog, "_NET_WM_STATE").find("_NET_WM_STATE_ABOVE"), std::string::npos);
    EXPECT_EQ(Property(form, "_NET_WM_STATE").find("_NET_WM_STATE_ABOVE"), std::string::npos);
    EXPECT_NE(Property(form, "_MOTIF_WM_HINTS").find("= 0x2, 0x0"), std::string::npos);
    EXPECT_NE(Property(form, "_NET_WM_WINDOW_TYPE").find("_NET_WM_WINDOW_TYPE_NORMAL"),
              std::string::npos);
    EXPECT_NE(Property(dialog, "_NET_WM_WINDOW_TYPE").find("_NET_WM_WINDOW_TYPE_DIALOG"),
              std::string::npos);

    // Minimized, the window leaves the screen (no window manager here to iconify it); restored,
    // it comes back where it was.
    ShowWindow(form, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return !Shows(form); }));
    ShowWindow(form, SW_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return Shows(form); }));
    EXPECT_NE(WindowInfo(X->XWindowOf(form)).find("Absolute upper-left X:  50"), std::string::npos);

    // A hidden window keeps its X window, unmapped; a destroyed one takes it along.
    const std::uint64_t dialogId = X->XWindowOf(dialog);
    ShowWindow(dialog, SW_HIDE);
    ASSERT_TRUE(PumpUntil([&] { return !Shows(dialog); }));
    EXPECT_EQ(X->XWindowOf(dialog), dialogId);
    DestroyWindow(dialog);
    EXPECT_TRUE(PumpUntil([&] { return WindowInfo(dialogId).empty(); }));
}

TEST_F(X11DesktopTest, MonitorsAndWorkAreasComeFromTheServer) {
    const HWND form = Top(50, 50, 300, 200);
    ASSERT_TRUE(PumpUntil([&] { return Shows(form); }));
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({10, 10}, MONITOR_DEFAULTTONEAREST), info));
    EXPECT_EQ(info.rcMonitor, gfx::Bounds(0, 0, 1024, 768));
    EXPECT_EQ(info.rcWork, gfx::Bounds(0, 0, 1024, 768));
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);

    // A panel takes the bottom 40 pixels: everybody hears of it.
    TXClient other;
    ClearLog();
    other.SetWorkArea(gfx::Bounds(0, 0, 1024, 728));
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DISPLAYCHANGE, form) == 1; }));
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({10, 10}, MONITOR_DEFAULTTONEAREST), info));
    EXPECT_EQ(info.rcWork, gfx::Bounds(0, 0, 1024, 728));
    other.SetWorkArea(std::nullopt);
    ASSERT_TRUE(PumpUntil([&] { return Count(WM_DISPLAYCHANGE, form) == 2; }));
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({10, 10}, MONITOR_DEFAULTTONEAREST), info));
    EXPECT_EQ(info.rcWork, gfx::Bounds(0, 0, 1024, 768));
}

TEST_F(X11DesktopTest, ClipboardTextTravelsBetweenProgramsBothWays) {
    EXPECT_EQ(GetClipboardText(), std::nullopt);
    const std::string text = "剪贴板：Moradex 输出文件夹";
    ASSERT_TRUE(SetClipboardText(text));
    EXPECT_EQ(GetClipboardText(), text);

    // Another program asks for it while our loop runs.
    std::optional<std::string> seen;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        std::string error;
        auto other = TX11Backend::Open("", &error);
        if (other) seen = other->ClipboardText();
        done = true;
    });
    const bool answered = PumpUntil([&] { return done.load(); });
    reader.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(seen, text);

    // Another program owns it: small texts come whole, big ones in pieces.
    const std::string big = [] {
        std::string s;
        while (s.size() < 300'000) s += "大文件 big file ";
        return s;
    }();
    for (const std::string& offered : {std::string("来自别处"), big}) {
        TXClient other;
        std::thread owner([&] { other.ServeClipboard(offered, 64 * 1024, 1); });
        // Taking over the selection is the other thread's business; wait until it has.
        ASSERT_TRUE(PumpUntil([&] { return GetClipboardText() == offered; }));
        owner.join();
    }
}

TEST_F(X11DesktopTest, UnderAWindowManagerManagedWindowsAskItAndPopupsDoNot) {
    TFakeWindowManager wm;
    auto handled = [&](const std::string& type, HWND window) {
        int n = 0;
        for (const auto& r : wm.Serve())
            if (r.Type == type && r.Window == X->XWindowOf(window)) ++n;
        return n;
    };
    const HWND form = Top(50, 50, 300, 200, WS_POPUP);
    const HWND popup = Top(400, 50, 100, 100, WS_POPUP, WS_EX_TOOLWINDOW);
    ShowWindow(form, SW_SHOW);
    ShowWindow(popup, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return handled("MapRequest", form) == 1 && Shows(form); }));
    ASSERT_TRUE(PumpUntil([&] { return Shows(popup); }));
    EXPECT_EQ(handled("MapRequest", popup), 0);

    // Activation is a request to the window manager, which focuses the window.
    ASSERT_TRUE(PumpUntil([&] { return handled("_NET_ACTIVE_WINDOW", form) == 1; }));
    TXClient other;
    EXPECT_TRUE(PumpUntil([&] { return other.FocusWindow() == X->XWindowOf(form); }));

    // Topmost is a state the window manager keeps.
    SetWindowPos(form, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return handled("_NET_WM_STATE", form) == 1; }));
    for (const auto& r : wm.Serve())
        if (r.Type == "_NET_WM_STATE") {
            EXPECT_EQ(r.Data[0], 1);  // add
            EXPECT_EQ(r.Atoms, std::vector<std::string>{"_NET_WM_STATE_ABOVE"});
        }

    // Minimizing asks for the icon; restoring maps the window again.
    ShowWindow(form, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return handled("WM_CHANGE_STATE", form) == 1 && !Shows(form); }));
    ShowWindow(form, SW_RESTORE);
    EXPECT_TRUE(PumpUntil([&] { return handled("MapRequest", form) == 2 && Shows(form); }));

    // The user closes it through the window manager: the form hears of it as a close command.
    other.AskToClose(X->XWindowOf(form));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(form); }));
    ASSERT_EQ(Find(WM_SYSCOMMAND, form).size(), 1u);
    EXPECT_EQ(Find(WM_SYSCOMMAND, form)[0].WParam, SC_CLOSE);
}

// Captures what the program writes to stderr.
class TStderr {
public:
    TStderr() {
        std::fflush(stderr);
        FSaved = dup(2);
        FFile = std::tmpfile();
        dup2(fileno(FFile), 2);
    }
    ~TStderr() { Take(); }
    std::string Take() {
        if (FSaved < 0) return FText;
        std::fflush(stderr);
        dup2(FSaved, 2);
        close(FSaved);
        FSaved = -1;
        std::rewind(FFile);
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, FFile)) > 0) FText.append(buffer, n);
        std::fclose(FFile);
        return FText;
    }

private:
    int FSaved = -1;
    std::FILE* FFile = nullptr;
    std::string FText;
};

// Sets environment variables for one scope.
class TEnv {
public:
    TEnv(std::initializer_list<std::pair<std::string, std::optional<std::string>>> values) {
        for (const auto& [name, value] : values) {
            FSaved.push_back(
                {name, sys::HasEnv(name) ? std::optional(sys::GetEnv(name)) : std::nullopt});
            value ? sys::SetEnv(name, *value) : sys::UnsetEnv(name);
        }
    }
    ~TEnv() {
        for (const auto& [name, value] : FSaved)
            value ? sys::SetEnv(name, *value) : sys::UnsetEnv(name);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

struct TChoice {
    std::string Name;
    std::string Said;
};

TChoice Choose(std::initializer_list<std::pair<std::string, std::optional<std::string>>> env) {
    TEnv scope(env);
    TStderr said;
    auto backend = CreateDefaultBackend();
    return {backend->Name(), said.Take()};
}

TEST_F(X11DesktopTest, TheProgramPicksX11WithADisplayAndSaysWhenItFallsBack) {
    const auto plain = Choose({{"MORADEX_BACKEND", std::nullopt}});
    EXPECT_EQ(plain.Name, "x11");
    EXPECT_EQ(plain.Said, "");

    const auto noDisplay = Choose({{"MORADEX_BACKEND", std::nullopt}, {"DISPLAY", std::nullopt}});
    EXPECT_EQ(noDisplay.Name, "headless");
    EXPECT_EQ(noDisplay.Said,
              "moradex: no display (DISPLAY is not set): using the headless backend\n");

    const auto forcedHeadless = Choose({{"MORADEX_BACKEND", "headless"}});
    EXPECT_EQ(forcedHeadless.Name, "headless");
    EXPECT_EQ(forcedHeadless.Said, "");

    const auto forcedX11 = Choose({{"MORADEX_BACKEND", "x11"}});
    EXPECT_EQ(forcedX11.Name, "x11");

    const auto noServer = Choose({{"MORADEX_BACKEND", "x11"}, {"DISPLAY", ":9999"}});
    EXPECT_EQ(noServer.Name, "headless");
    EXPECT_NE(noServer.Said.find("cannot open display ':9999': using the headless backend"),
              std::string::npos)
        << noServer.Said;

    const auto unknown = Choose({{"MORADEX_BACKEND", "wayland"}});
    EXPECT_EQ(unknown.Name, "x11");
    EXPECT_NE(unknown.Said.find("MORADEX_BACKEND=wayland is neither headless nor x11"),
              std::string::npos);

    // Without a display the same program runs on the headless screen.
    Finalize();
    {
        TEnv scope({{"MORADEX_BACKEND", std::nullopt}, {"DISPLAY", std::nullopt}});
        TStderr said;
        Initialize();
        EXPECT_EQ(std::string(Backend().Name()), "headless");
        EXPECT_NE(said.Take().find("using the headless backend"), std::string::npos);
    }
    TWndClass cls;
    cls.Name = "Plain";
    cls.Background = gfx::RGB(10, 120, 200);
    RegisterClass(cls);
    CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 20, 20, 100, 80, {});
    PumpMessages();
    auto& screen = dynamic_cast<THeadlessBackend&>(Backend());
    EXPECT_EQ(screen.ScreenPixel(50, 50), gfx::RGB(10, 120, 200));
}

}  // namespace
}  // namespace win::test
