// The main window on a real X server, without a window manager and under openbox (x11_run.sh
// starts a private Xvfb, and openbox with --wm): what the window manager does to the window
// (de-iconify, iconify, maximize, restore, close) reaches the window and its skinned frame, and
// the window still takes clicks and keys afterwards.
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/about_form.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/program.h"
#include "platform/vcl/vcl.h"
#include "platform/win/x11_test_support.h"
#include "skin/form/frame_objects.h"
#include "skin/menus/skin_menu.h"
#include "support/temp_dir.h"

namespace app {
namespace {

// Every wait is for the event itself; the bound is met only by a hang.
constexpr int kHangMs = 60'000;

class WindowManagerX11Test : public win::test::TX11Test {
public:
    void SetUp() override {
        TX11Test::SetUp();
        if (HasFatalFailure()) return;
        setenv("HOME", FHome.Path().c_str(), 1);
        setenv("MORADEX_APPDIR", FProgram.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (FHome.Path() + "/config").c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        FManaged = std::getenv("MORADEX_TEST_WM") != nullptr;
        if (FManaged) ASSERT_TRUE(FOther.ManagerRuns()) << "openbox is not running";
        vcl::InitializeApplication();
        CreateForms();
        Form1->Show();
        ASSERT_TRUE(Wait([] { return Form1->HandleAllocated(); }));
        ASSERT_TRUE(Wait([this] { return Shows(Form1->Handle()) && Active(); }))
            << "the main window never showed active";
        FWindow = X->XWindowOf(Form1->Handle());
    }
    void TearDown() override {
        if (Form1) Form1->FFPlayer->Stop(true);
        vcl::FinalizeApplication();
        Form1 = nullptr;
        Form2 = nullptr;
        Form5 = nullptr;
        TX11Test::TearDown();
    }

    bool Wait(const std::function<bool()>& done) { return PumpUntil(done, kHangMs); }
    void Xdo(const std::vector<std::string>& args) {
        std::vector<std::string> command{"xdotool"};
        command.insert(command.end(), args.begin(), args.end());
        const win::test::TToolResult r = Tool(command);
        ASSERT_EQ(r.ExitCode, 0) << r.Errors;
    }
    void MoveTo(gfx::TPoint p) { Xdo({"mousemove", std::to_string(p.X), std::to_string(p.Y)}); }
    void Click(gfx::TPoint p) {
        MoveTo(p);
        Xdo({"click", "1"});
    }

    static skin::TbsSkinForm& Skin() { return *Form1->bsSkinForm1; }
    static bool Active() { return win::GetActiveWindow() == Form1->Handle(); }
    static gfx::TPoint Centre(const gfx::TRect& r) {
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // The caption button of that command as the skin lays it out now.
    static skin::TbsSkinStdButtonObject* CaptionButton(skin::TbsStdCommand command) {
        for (auto& o : Skin().ObjectList)
            if (auto* b = dynamic_cast<skin::TbsSkinStdButtonObject*>(o.get()))
                if (b->Command == command && b->Visible && b->Enabled) return b;
        return nullptr;
    }
    // A screen point of the caption that the frame answers as caption (no button, no text
    // object on it).
    static std::optional<gfx::TPoint> CaptionGrip() {
        for (auto& o : Skin().ObjectList) {
            if (!dynamic_cast<skin::TbsSkinCaptionObject*>(o.get())) continue;
            const gfx::TRect r = o->ScreenObjectRect();
            for (int x = r.Left + 4; x < r.Right; x += 4) {
                const gfx::TPoint p{x, Centre(r).Y};
                if (win::SendMessage(Form1->Handle(), win::WM_NCHITTEST, 0,
                                     win::MAKELPARAM(p.X, p.Y)) == win::HTCAPTION)
                    return p;
            }
        }
        return std::nullopt;
    }
    // Runs the system menu's item of that name as the menu builds it for the present state.
    static bool RunSystemMenuItem(const std::string& name) {
        vcl::TMenuItem* items = Skin().GetSysMenuItems();
        for (int i = 0; i < items->Count(); ++i)
            if (items->Items(i)->Name() == name) {
                items->Items(i)->Click();
                return true;
            }
        return false;
    }
    // Where the X server has the window: left, top, width, height.
    gfx::TRect XBounds() {
        const std::string info = WindowInfo(FWindow);
        auto value = [&](const char* name) {
            const std::size_t at = info.find(name);
            return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + std::strlen(name));
        };
        const int left = value("Absolute upper-left X:"), top = value("Absolute upper-left Y:");
        return gfx::Bounds(left, top, value("Width:"), value("Height:"));
    }
    std::string Where() const {
        char text[160];
        std::snprintf(text, sizeof text, "iconic %d, active %d, state %d, bounds %d,%d %dx%d",
                      int(win::IsIconic(Form1->Handle())), int(Active()), int(Skin().WindowState()),
                      Form1->Left(), Form1->Top(), Form1->Width(), Form1->Height());
        return text;
    }

    // The window takes clicks and keys: the menu bar's first menu opens by a click and Esc
    // closes it; a drag on the caption moves the window by (60, 40) on the screen too.
    void StillWorks() {
        EXPECT_TRUE(Skin().GetFormActive()) << "the caption stays inactive";
        skin::TbsSkinMenu& menus = *Skin().SkinMenu;
        const gfx::TRect item = Form1->bsSkinMainMenuBar1->Object(0)->ObjectRect;
        Click(Form1->bsSkinMainMenuBar1->ClientToScreen(Centre(item)));
        ASSERT_TRUE(Wait([&] { return menus.LevelCount() == 1; })) << "no menu opened; " << Where();
        Xdo({"key", "Escape"});
        ASSERT_TRUE(Wait([&] { return menus.LevelCount() == 0; })) << "Esc did not close it";

        const std::optional<gfx::TPoint> grip = CaptionGrip();
        ASSERT_TRUE(grip) << "no caption point";
        const gfx::TRect before = Form1->BoundsRect();
        const gfx::TRect after =
            gfx::Bounds(before.Left + 60, before.Top + 40, before.Width(), before.Height());
        // One run of xdotool: the move loop the press starts runs until the button comes up.
        auto at = [](int x, int y) {
            return std::vector<std::string>{"mousemove", "--sync", std::to_string(x),
                                            std::to_string(y)};
        };
        std::vector<std::string> drag = at(grip->X, grip->Y);
        for (const auto& part :
             {std::vector<std::string>{"mousedown", "1"}, at(grip->X + 30, grip->Y + 20),
              at(grip->X + 60, grip->Y + 40), std::vector<std::string>{"mouseup", "1"}})
            drag.insert(drag.end(), part.begin(), part.end());
        Xdo(drag);
        ASSERT_TRUE(Wait([&] { return Form1->BoundsRect() == after; }))
            << "not moved by its caption; " << Where();
        EXPECT_TRUE(Wait([&] { return XBounds() == after; }))
            << "X has it at " << XBounds().Left << "," << XBounds().Top;
    }

    testsupport::TTempDir FHome, FProgram;
    win::test::TXClient FOther;
    bool FManaged = false;
    std::uint64_t FWindow = 0;
};

// Minimized with the window's own means, brought back by the system: a task bar's click under
// a window manager, a plain map without one.
TEST_F(WindowManagerX11Test, MinimizedByItselfAndRestoredByTheSystemStillWorks) {
    enum How { kButton, kSystemMenu };
    for (How how : {kButton, kSystemMenu}) {
        SCOPED_TRACE(how == kButton ? "minimize button" : "system menu");
        const gfx::TRect bounds = Form1->BoundsRect();
        if (how == kButton) {
            skin::TbsSkinStdButtonObject* minimize = CaptionButton(skin::cmMinimize);
            ASSERT_NE(minimize, nullptr) << "the main window shows no minimize button";
            Click(Centre(minimize->ScreenObjectRect()));
        } else {
            ASSERT_TRUE(RunSystemMenuItem("BSF_MINITEM")) << "no minimize item in the system menu";
        }
        ASSERT_TRUE(Wait([&] { return win::IsIconic(Form1->Handle()) && !Shows(Form1->Handle()); }))
            << Where();

        if (FManaged)
            Xdo({"windowactivate", std::to_string(FWindow)});
        else
            Xdo({"windowmap", std::to_string(FWindow)});
        ASSERT_TRUE(Wait([&] {
            return !win::IsIconic(Form1->Handle()) && Shows(Form1->Handle()) && Active();
        })) << "not back from the icon; "
            << Where();
        EXPECT_EQ(Form1->BoundsRect(), bounds);
        EXPECT_EQ(Skin().WindowState(), vcl::wsNormal);
        StillWorks();
        if (HasFatalFailure()) return;
    }
}

// The window manager iconifies and maximizes on its own; the model and the skinned frame follow
// and the window works afterwards, restored by the window manager or by its own system menu.
TEST_F(WindowManagerX11Test, IconifiedAndMaximizedByTheWindowManagerTheFrameFollows) {
    if (!FManaged) GTEST_SKIP() << "needs a window manager";
    const gfx::TRect bounds = Form1->BoundsRect();
    Xdo({"windowminimize", std::to_string(FWindow)});
    ASSERT_TRUE(Wait([&] { return win::IsIconic(Form1->Handle()) && !Active(); })) << Where();
    Xdo({"windowactivate", std::to_string(FWindow)});
    ASSERT_TRUE(Wait([&] { return !win::IsIconic(Form1->Handle()) && Active(); })) << Where();
    EXPECT_EQ(Form1->BoundsRect(), bounds);

    enum How { kByTheWindowManager, kByItsSystemMenu };
    for (How how : {kByTheWindowManager, kByItsSystemMenu}) {
        SCOPED_TRACE(how == kByTheWindowManager ? "restored by the window manager"
                                                : "restored by its system menu");
        const gfx::TRect normal = Form1->BoundsRect();
        FOther.AskManagerToMaximize(FWindow, true);
        ASSERT_TRUE(Wait([&] { return Skin().WindowState() == vcl::wsMaximized; })) << Where();
        const gfx::TRect work = vcl::Screen->WorkAreaRect();
        EXPECT_GE(Form1->Width(), work.Width() - 2);
        EXPECT_GE(Form1->Height(), work.Height() - 2);
        skin::TbsSkinStdButtonObject* maximize = CaptionButton(skin::cmMaximize);
        if (maximize) EXPECT_TRUE(maximize->RestoreState());

        if (how == kByTheWindowManager) {
            FOther.AskManagerToMaximize(FWindow, false);
        } else {
            ASSERT_TRUE(RunSystemMenuItem("BSF_RESTORE")) << "no restore item in the system menu";
        }
        ASSERT_TRUE(Wait([&] { return Skin().WindowState() == vcl::wsNormal; })) << Where();
        ASSERT_TRUE(Wait([&] { return Form1->BoundsRect() == normal; })) << Where();
        // The window manager let go of its maximized place too.
        EXPECT_TRUE(Wait([&] { return XBounds() == normal; }))
            << "X has it at " << XBounds().Left << "," << XBounds().Top << " " << XBounds().Width()
            << "x" << XBounds().Height();
        StillWorks();
        if (HasFatalFailure()) return;
    }
}

// The window manager's close request (a task bar's close) closes the main window as its close
// button does: the program ends.
TEST_F(WindowManagerX11Test, TheWindowManagersCloseRequestEndsTheProgram) {
    if (FManaged)
        FOther.AskManagerToClose(FWindow);
    else
        FOther.AskToClose(FWindow);
    EXPECT_TRUE(Wait([] {
        vcl::Application->ProcessMessages();
        return vcl::Application->Terminated();
    })) << "the program did not end";
}

}  // namespace
}  // namespace app
