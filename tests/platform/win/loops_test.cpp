// The nested loops: the move/size loop of the default procedure and the modal loop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/threads.h"
#include "platform/win/win_test_support.h"

namespace win::test {
namespace {

using ::testing::ElementsAre;

using SizeMoveTest = TWinTest;
using ModalTest = TWinTest;

const std::set<UINT> kLoop = {WM_ENTERSIZEMOVE, WM_MOVING, WM_SIZING, WM_EXITSIZEMOVE};

// A skinned-style frame: caption on the top 20 pixels, a sizing grip at the bottom right.
void CustomFrame(TWinTest& test, HWND w, std::vector<TRect>* moving = nullptr) {
    test.Handle(w, [moving](HWND h, UINT m, WPARAM, LPARAM l, LRESULT& r) {
        if (m == WM_NCHITTEST) {
            TRect wr;
            GetWindowRect(h, wr);
            const TPoint p = PointFromParam(l);
            r = p.Y - wr.Top < 20                               ? HTCAPTION
                : p.X >= wr.Right - 10 && p.Y >= wr.Bottom - 10 ? HTBOTTOMRIGHT
                                                                : HTCLIENT;
            return true;
        }
        if (m == WM_MOVING) {
            auto* rect = ParamToPtr<TRect>(std::uint64_t(l));
            if (moving) moving->push_back(*rect);
            // Snaps to a 10-pixel grid.
            *rect = rect->Offset(-(rect->Left % 10), -(rect->Top % 10));
            return true;
        }
        if (m == WM_GETMINMAXINFO) {
            auto* mm = ParamToPtr<MINMAXINFO>(std::uint64_t(l));
            mm->ptMinTrackSize = {80, 60};
            return true;
        }
        return false;
    });
}

TEST_F(SizeMoveTest, ACaptionDragMovesThroughTheLoopAndObeysTheSnappingHandler) {
    const HWND w = Top(100, 100, 200, 150);
    std::vector<TRect> proposed;
    CustomFrame(*this, w, &proposed);
    PumpMessages();
    ClearLog();
    Screen->MouseDown({150, 110});
    Screen->MouseMove({183, 127});
    Screen->MouseMove({197, 132});
    Screen->MouseUp({197, 132});
    PumpMessages();
    EXPECT_THAT(Names(Seq(kLoop, w)),
                ElementsAre("ENTERSIZEMOVE", "MOVING", "MOVING", "MOVING", "EXITSIZEMOVE"));
    EXPECT_EQ(Find(WM_SYSCOMMAND, w)[0].WParam, WPARAM(SC_MOVE | HTCAPTION));
    ASSERT_EQ(proposed.size(), 3u);
    EXPECT_EQ(proposed[0], gfx::Bounds(133, 117, 200, 150));
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, gfx::Bounds(140, 120, 200, 150));  // 147,122 snapped
    EXPECT_EQ(Count(WM_MOVE, w), 2);                // 130,110 then 140,120
    EXPECT_FALSE(GetCapture());
    EXPECT_EQ(Count(WM_LBUTTONUP, w), 0);  // the loop took the release
}

TEST_F(SizeMoveTest, EscapeRestoresTheStartRectangle) {
    const HWND w = Top(100, 100, 200, 150);
    CustomFrame(*this, w);
    PumpMessages();
    ClearLog();
    Screen->MouseDown({150, 110});
    Screen->MouseMove({250, 210});
    Screen->KeyPress(VK_ESCAPE);
    Screen->MouseUp({250, 210});
    PumpMessages();
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, gfx::Bounds(100, 100, 200, 150));
    EXPECT_THAT(Names(Seq(kLoop, w)), ElementsAre("ENTERSIZEMOVE", "MOVING", "EXITSIZEMOVE"));
    EXPECT_EQ(Count(WM_KEYDOWN, w), 0);
    EXPECT_FALSE(GetCapture());
}

TEST_F(SizeMoveTest, EdgeSizingKeepsTheMinimumAndTheHandlerSeesTheEdge) {
    const HWND w = Top(100, 100, 200, 150);
    CustomFrame(*this, w);
    PumpMessages();
    ClearLog();
    Screen->MouseDown({295, 245});
    Screen->MouseMove({305, 255});
    Screen->MouseMove({100, 100});
    Screen->MouseUp({100, 100});
    PumpMessages();
    EXPECT_THAT(Names(Seq(kLoop, w)),
                ElementsAre("ENTERSIZEMOVE", "SIZING", "SIZING", "SIZING", "EXITSIZEMOVE"));
    EXPECT_EQ(Find(WM_SIZING, w)[0].WParam, WPARAM(WMSZ_BOTTOMRIGHT));
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, gfx::Bounds(100, 100, 80, 60));
    EXPECT_EQ(Find(WM_SIZE, w)[0].LParam, MAKELPARAM(210, 160));
}

TEST_F(ModalTest, AModalLoopDisablesTheOwnerAndKeepsTimersAndHandOversRunning) {
    const HWND owner = Top(0, 0, 400, 300);
    const HWND button = Child(owner, 10, 10, 80, 25);
    PumpMessages();
    SetActiveWindow(owner);
    HWND dialog;
    int result = -1;
    bool ownerEnabledInLoop = true;
    bool tickedInLoop = false;
    bool handOverInLoop = false;
    bool dialogActive = false;
    std::unique_ptr<sys::TThread> worker;
    Handle(button, [&](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m != WM_LBUTTONUP) return false;
        dialog = Top(100, 100, 200, 100, WS_POPUP, 0, owner);
        Handle(dialog, [&](HWND d, UINT dm, WPARAM, LPARAM, LRESULT&) {
            if (dm == WM_TIMER) {
                tickedInLoop = IsInModalLoop(d);
                ownerEnabledInLoop = IsWindowEnabled(owner);
                dialogActive = GetActiveWindow() == d;
                KillTimer(d, 1);
            }
            return false;
        });
        ShowWindow(dialog, SW_SHOW);
        SetTimer(dialog, 1, 100);
        // What happens while the loop runs, one step each time it has nothing to do.
        Screen->QueueIdleStep([&] { Screen->Click({300, 250}); });
        Screen->QueueIdleStep([&] { AdvanceMs(100); });
        Screen->QueueIdleStep([&] {
            worker = sys::StartThread([&] {
                sys::CallInMainThread([&] {
                    handOverInLoop = IsInModalLoop(dialog);
                    EndModalLoop(dialog, 7);
                });
            });
        });
        result = RunModalLoop(dialog);
        DestroyWindow(dialog);
        return true;
    });
    ClearLog();
    Screen->Click({20, 20});
    PumpMessages();
    worker->WaitFor();
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(tickedInLoop);
    EXPECT_FALSE(ownerEnabledInLoop);
    EXPECT_TRUE(dialogActive);
    EXPECT_TRUE(handOverInLoop);
    EXPECT_EQ(Count(WM_LBUTTONDOWN, owner), 0);  // the click on the disabled owner did nothing
    EXPECT_EQ(Count(WM_MOUSEACTIVATE, owner), 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(Screen->PendingIdleSteps(), 0u);
    EXPECT_EQ(GetWinStats().ModalLoops, 0u);
    EXPECT_FALSE(EndModalLoop(dialog, 1));
}

TEST_F(ModalTest, ALoopLeftByAnExceptionCleansUp) {
    const HWND owner = Top(0, 0, 100, 100);
    const HWND dialog = Top(10, 10, 50, 50, WS_POPUP | WS_VISIBLE, 0, owner);
    Screen->SetDryWaitLimit(20);  // nothing will ever end this loop
    EXPECT_THROW(RunModalLoop(dialog), rtl::Exception);
    EXPECT_EQ(GetWinStats().ModalLoops, 0u);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsInModalLoop(dialog));
}

TEST_F(ModalTest, QuitEndsAModalLoopAndStaysQueued) {
    const HWND owner = Top(0, 0, 100, 100);
    const HWND dialog = Top(10, 10, 50, 50, WS_POPUP | WS_VISIBLE, 0, owner);
    PostQuitMessage(3);
    EXPECT_EQ(RunModalLoop(dialog), 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
    MSG msg;
    EXPECT_FALSE(GetMessage(msg));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace win::test
