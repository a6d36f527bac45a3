#include "platform/vcl/forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using test::TVclTest;

TEST_F(TVclTest, TheFirstFormMadeWithCreateFormIsTheMainForm) {
    TForm* first = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), first);
    EXPECT_EQ(first->Owner(), Application);
    // Other forms stay above the main form: its window owns theirs.
    EXPECT_EQ(win::GetParent(second->Handle()), first->Handle());
    EXPECT_EQ(win::GetParent(first->Handle()), HWND());
}

TEST_F(TVclTest, ScreenListsFormsMostRecentlyActiveFirstParentedOnesIncluded) {
    TForm* a = ShowForm(0, 0, 200, 100, "A");
    TForm* b = ShowForm(300, 0, 200, 100, "B");
    auto* inner = new TForm(Application);
    inner->SetName("Inner");
    inner->SetBorderStyle(bsNone);
    inner->SetParent(a);
    inner->SetBounds(10, 10, 100, 50);
    auto* field = new TCustomControl(inner);
    field->SetParent(inner);
    field->SetBounds(0, 0, 20, 20);
    inner->Show();
    Run();
    auto names = [] {
        std::vector<std::string> out;
        for (int i = 0; i < vcl::Screen->FormCount(); ++i)
            out.push_back(vcl::Screen->Forms(i)->Name());
        return out;
    };
    EXPECT_EQ(vcl::Screen->ActiveForm(), b);
    EXPECT_EQ(names().front(), "B");
    a->SetFocus();
    Run();
    EXPECT_EQ(vcl::Screen->ActiveForm(), a);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "Inner"}));
    field->SetFocus();
    Run();
    EXPECT_EQ(names(), (std::vector<std::string>{"Inner", "A", "B"}));
    EXPECT_EQ(vcl::Screen->ActiveForm(), a);  // the parented form is not a window of its own
    EXPECT_EQ(vcl::Screen->ActiveControl(), field);
    EXPECT_EQ(GetParentForm(field), a);
}

TEST_F(TVclTest, OnActivateRunsOnEveryActivation) {
    TForm* a = ShowForm(0, 0, 200, 100, "A");
    int activations = 0;
    a->OnActivate = [&](TObject*) { ++activations; };
    TForm* b = ShowForm(300, 0, 200, 100, "B");
    EXPECT_FALSE(a->Active());
    a->SetFocus();
    b->SetFocus();
    a->SetFocus();
    Run();
    EXPECT_EQ(activations, 2);
    EXPECT_TRUE(a->Active());
    EXPECT_FALSE(b->Active());
}

TEST_F(TVclTest, PositionCentresOnTheFirstShow) {
    struct TCase {
        TPosition Position;
        TRect Expected;
    };
    // The headless screen is 1280 x 800; the main form sits at (100, 100), 400 x 300.
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBounds(100, 100, 400, 300);
    main->Show();
    for (const TCase& c : {TCase{poScreenCenter, gfx::Bounds(540, 350, 200, 100)},
                           TCase{poDesktopCenter, gfx::Bounds(540, 350, 200, 100)},
                           TCase{poMainFormCenter, gfx::Bounds(200, 200, 200, 100)},
                           TCase{poDesigned, gfx::Bounds(7, 8, 200, 100)}}) {
        auto* form = new TForm(Application);
        form->SetBounds(7, 8, 200, 100);
        form->SetPosition(c.Position);
        form->Show();
        Run();
        EXPECT_EQ(form->BoundsRect(), c.Expected) << int(c.Position);
        form->Hide();
        form->SetLeft(0);
        form->Show();
        EXPECT_EQ(form->Left(), 0) << "placed once";
        form->Free();
    }
}

TEST_F(TVclTest, ClientSizeStayOnTopAndFrameFollowTheForm) {
    TForm* form = ShowForm(0, 0, 300, 200);
    form->SetCaption("转换");
    EXPECT_EQ(win::GetWindowText(form->Handle()), "转换");
    win::SetWindowText(form->Handle(), "Moradex");
    EXPECT_EQ(form->Caption(), "Moradex");
    TRect r;
    win::GetClientRect(form->Handle(), r);
    EXPECT_EQ(r, (TRect{0, 0, 300, 200}));
    EXPECT_GT(form->Width(), 300);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(DWORD(win::GetWindowLongPtr(form->Handle(), win::GWL_EXSTYLE)) &
                win::WS_EX_TOPMOST);
    form->SetBorderStyle(bsNone);
    Run();
    win::GetClientRect(form->Handle(), r);
    EXPECT_EQ(r, (TRect{0, 0, form->Width(), form->Height()}));
}

TEST_F(TVclTest, CloseAsksOnCloseQueryHidesAndTheMainFormEndsTheApplication) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    TForm* other = ShowForm(300, 0, 100, 100, "Other");
    bool allow = false;
    std::vector<std::string> log;
    other->OnCloseQuery = [&](TObject*, bool& canClose) {
        log.push_back("query");
        canClose = allow;
    };
    other->OnClose = [&](TObject*, TCloseAction& action) {
        log.push_back(action == caHide ? "close hide" : "close");
    };
    other->Close();
    EXPECT_TRUE(other->Visible());
    allow = true;
    win::SendMessage(other->Handle(), win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
    EXPECT_FALSE(other->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close hide"}));

    main->Close();
    Run();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(TVclTest, ReleaseFreesTheFormOnceItsMessageIsDone) {
    TForm* form = ShowForm(0, 0, 100, 100);
    auto* button = new TCustomControl(form);
    button->SetParent(form);
    button->SetBounds(0, 0, 50, 50);
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    button->OnClick = [&](TObject*) {
        form->Release();
        EXPECT_FALSE(destroyed);  // still here while its own handler runs
    };
    Click(button, 5, 5);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Application->FindComponent("F"), nullptr);
}

}  // namespace
}  // namespace vcl

namespace vcl {
namespace {

using test::TVclTest;

TEST_F(TVclTest, TimersTickOnTheClockWhileEnabledAndAssigned) {
    auto* timer = new TTimer(Application);
    int ticks = 0;
    timer->SetInterval(100);
    Run();
    AdvanceMs(300);
    Run();
    EXPECT_EQ(ticks, 0);  // no handler, no timer
    timer->SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, timer);
        ++ticks;
    });
    AdvanceMs(99);
    Run();
    EXPECT_EQ(ticks, 0);
    AdvanceMs(1);
    Run();
    EXPECT_EQ(ticks, 1);
    timer->SetEnabled(false);
    AdvanceMs(500);
    Run();
    EXPECT_EQ(ticks, 1);
    timer->SetEnabled(true);
    AdvanceMs(100);
    Run();
    EXPECT_EQ(ticks, 2);
    timer->Free();
    EXPECT_EQ(win::GetWinStats().Timers, 0u);
}

TEST_F(TVclTest, TheApplicationWindowIsHiddenAndCanBeSubclassed) {
    const HWND app = Application->Handle();
    ASSERT_TRUE(app);
    EXPECT_FALSE(win::IsWindowVisible(app));
    std::vector<UINT> seen;
    win::SubclassWindow(app, [&](HWND h, UINT m, WPARAM w, LPARAM l, const win::TNextProc& next) {
        if (m == win::WM_USER + 5) seen.push_back(m);
        return next(h, m, w, l);
    });
    win::PostMessage(app, win::WM_USER + 5);
    Run();
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(TVclTest, MinimizeAndRestoreActOnTheMainForm) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    std::vector<std::string> log;
    Application->OnMinimize = [&](TObject*) { log.push_back("minimize"); };
    Application->OnRestore = [&](TObject*) { log.push_back("restore"); };
    Application->Minimize();
    EXPECT_TRUE(win::IsIconic(main->Handle()));
    EXPECT_EQ(main->WindowState(), wsMinimized);
    Application->Restore();
    EXPECT_FALSE(win::IsIconic(main->Handle()));
    EXPECT_EQ(log, (std::vector<std::string>{"minimize", "restore"}));
}

TEST_F(TVclTest, TheApplicationWindowCarriesMinimizeAndRestoreButIsNeverShown) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    const HWND app = Application->Handle();
    std::vector<WPARAM> sizes;
    const auto link = win::SubclassWindow(
        app, [&](HWND h, UINT m, WPARAM w, LPARAM l, const win::TNextProc& next) {
            if (m == win::WM_SIZE) sizes.push_back(w);
            return next(h, m, w, l);
        });
    Application->Minimize();
    EXPECT_EQ(sizes, (std::vector<WPARAM>{WPARAM(win::SIZE_MINIMIZED)}));
    EXPECT_TRUE(win::IsIconic(main->Handle()));
    // Showing the application window restores the application; the window itself stays unseen.
    win::ShowWindow(app, win::SW_RESTORE);
    EXPECT_FALSE(win::IsIconic(main->Handle()));
    EXPECT_FALSE(win::IsWindowVisible(app));
    win::ShowWindow(app, win::SW_HIDE);
    EXPECT_TRUE(win::IsWindowVisible(main->Handle()));
    // A main form hidden before stays hidden when the application goes down.
    main->Hide();
    Application->Minimize();
    EXPECT_FALSE(win::IsWindowVisible(main->Handle()));
    EXPECT_FALSE(win::IsIconic(main->Handle()));
    win::RemoveSubclass(app, link);
}

TEST_F(TVclTest, TheScreenCursorWinsOverTheControls) {
    TForm* form = ShowForm(0, 0, 200, 100);
    auto* pad = new TCustomControl(form);
    pad->SetParent(form);
    pad->SetBounds(0, 0, 100, 100);
    pad->SetCursor(crHandPoint);
    Screen->MouseMove(At(pad, 10, 10));
    Run();
    EXPECT_EQ(Screen->Cursor(), win::IDC_HAND);
    vcl::Screen->SetCursor(crHourGlass);
    Screen->MouseMove(At(pad, 12, 10));
    Run();
    EXPECT_EQ(Screen->Cursor(), win::IDC_WAIT);
    vcl::Screen->SetCursor(crDefault);
    Screen->MouseMove(At(pad, 14, 10));
    Run();
    EXPECT_EQ(Screen->Cursor(), win::IDC_HAND);
    EXPECT_EQ(vcl::Screen->Width(), 1280);
    EXPECT_EQ(vcl::Screen->Height(), 800);
}

}  // namespace
}  // namespace vcl

namespace vcl {
namespace {

using test::TVclTest;

TEST_F(TVclTest, RemakingTheMainFormsWindowKeepsTheOtherFormsWindows) {
    TForm* main = nullptr;
    TForm* other = nullptr;
    TForm* hidden = nullptr;
    Application->CreateForm(main);
    Application->CreateForm(other);
    Application->CreateForm(hidden);
    main->Show();
    other->SetBounds(600, 100, 200, 100);
    other->Show();
    hidden->HandleNeeded();
    Run();
    const HWND before = main->Handle();
    main->RecreateWnd();
    Run();
    EXPECT_NE(main->Handle(), before);
    ASSERT_TRUE(other->HandleAllocated());
    EXPECT_TRUE(win::IsWindowVisible(other->Handle()));
    EXPECT_EQ(win::GetParent(other->Handle()), main->Handle());
    EXPECT_FALSE(win::IsWindowVisible(hidden->Handle()));
    EXPECT_EQ(win::GetParent(hidden->Handle()), main->Handle());
}

}  // namespace
}  // namespace vcl
