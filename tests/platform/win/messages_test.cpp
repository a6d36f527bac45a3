// Windows, procedure chains, sending and posting, the loop's order, filters, timers and what
// finished work leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

#include "platform/sys/main_thread.h"
#include "platform/sys/threads.h"
#include "platform/win/win_test_support.h"

namespace win::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using MessagesTest = TWinTest;

TEST_F(MessagesTest, CreationAndDestructionRunInTheClassicOrder) {
    const HWND parent = Top(10, 10, 200, 100, WS_POPUP);
    const HWND child = Child(parent, 5, 5, 50, 20);
    const HWND grandChild = Child(child, 1, 1, 10, 10);
    EXPECT_THAT(Names(Seq({}, parent, 0)), ElementsAre("NCCREATE", "NCCALCSIZE", "CREATE", "SIZE",
                                                       "MOVE", "PARENTNOTIFY", "PARENTNOTIFY"));
    // The parent heard of both descendants being created.
    ASSERT_EQ(Find(WM_PARENTNOTIFY, parent).size(), 2u);
    EXPECT_EQ(LOWORD(Find(WM_PARENTNOTIFY, parent)[1].WParam), WM_CREATE);
    EXPECT_EQ(ParamToHwnd(std::uint64_t(Find(WM_PARENTNOTIFY, parent)[1].LParam)), grandChild);

    ClearLog();
    ASSERT_TRUE(DestroyWindow(parent));
    std::vector<std::pair<HWND, UINT>> order;
    for (const TRecord& r : FLog)
        if (r.Message == WM_DESTROY || r.Message == WM_NCDESTROY)
            order.push_back({r.Window, r.Message});
    EXPECT_THAT(
        order,
        ElementsAre(std::pair{parent, UINT(WM_DESTROY)}, std::pair{child, UINT(WM_DESTROY)},
                    std::pair{grandChild, UINT(WM_DESTROY)},
                    std::pair{grandChild, UINT(WM_NCDESTROY)}, std::pair{child, UINT(WM_NCDESTROY)},
                    std::pair{parent, UINT(WM_NCDESTROY)}));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(grandChild));
    EXPECT_EQ(GetWinStats().Windows, 0u);
    // Handles are never reused, so the stale one stays invalid.
    const HWND again = Top(0, 0, 10, 10);
    EXPECT_NE(again, parent);
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(MessagesTest, RefusedCreationLeavesNoWindow) {
    TWndClass cls;
    cls.Name = "Refuse";
    cls.Proc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_CREATE) return -1;
        return DefWindowProc(h, m, w, l);
    };
    ASSERT_TRUE(RegisterClass(cls));
    EXPECT_FALSE(RegisterClass(cls));
    EXPECT_FALSE(CreateWindowEx(0, "Refuse", "", WS_POPUP, 0, 0, 10, 10, {}));
    EXPECT_FALSE(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, {}));
    EXPECT_FALSE(CreateWindowEx(0, "Rec", "", WS_CHILD, 0, 0, 10, 10, {}));  // no parent
    EXPECT_EQ(GetWinStats().Windows, 0u);
}

TEST_F(MessagesTest, SubclassLinksRunNewestFirstAndComeOutInAnyOrder) {
    const HWND w = Top(0, 0, 50, 50);
    std::vector<std::string> calls;
    auto link = [&](std::string name) {
        return [&calls, name](HWND h, UINT m, WPARAM wp, LPARAM lp, const TNextProc& next) {
            if (m == WM_USER) calls.push_back(name);
            return next(h, m, wp, lp);
        };
    };
    const auto a = SubclassWindow(w, link("a"));
    const auto b = SubclassWindow(w, link("b"));
    TSubclassToken c = 0;
    // c removes itself and b while it runs: the message goes on to what is left of the chain.
    c = SubclassWindow(w, [&](HWND h, UINT m, WPARAM wp, LPARAM lp, const TNextProc& next) {
        if (m == WM_USER) {
            calls.push_back("c");
            EXPECT_TRUE(RemoveSubclass(h, c));
            EXPECT_TRUE(RemoveSubclass(h, b));
        }
        return next(h, m, wp, lp);
    });
    SendMessage(w, WM_USER);
    EXPECT_THAT(calls, ElementsAre("c", "a"));
    EXPECT_EQ(Count(WM_USER, w), 1);

    calls.clear();
    SendMessage(w, WM_USER);
    EXPECT_THAT(calls, ElementsAre("a"));
    EXPECT_TRUE(RemoveSubclass(w, a));
    EXPECT_FALSE(RemoveSubclass(w, a));
    calls.clear();
    SendMessage(w, WM_USER);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(Count(WM_USER, w), 3);
}

TEST_F(MessagesTest, SendIsReentrantAndWindowsSurviveTheirOwnDestruction) {
    const HWND w = Top(0, 0, 50, 50);
    Handle(w, [&](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m != WM_USER) return false;
        if (wp < 3) {
            r = SendMessage(h, WM_USER, wp + 1) + 1;
        } else {
            DestroyWindow(h);  // from deep inside the nest
            r = 100;
        }
        return true;
    });
    EXPECT_EQ(SendMessage(w, WM_USER, 0), 103);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(SendMessage(w, WM_USER, 0), 0);
    EXPECT_FALSE(PostMessage(w, WM_USER));
}

TEST_F(MessagesTest, SendFromAWorkerRunsOnTheMainThread) {
    const HWND w = Top(0, 0, 50, 50);
    sys::TThreadId handledOn = 0;
    Handle(w, [&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m != WM_USER) return false;
        handledOn = sys::CurrentThreadId();
        r = LRESULT(wp * 2);
        return true;
    });
    std::atomic<LRESULT> answer{0};
    sys::TEvent done(true, false);
    auto worker = sys::StartThread([&] {
        answer = SendMessage(w, WM_USER, 21);
        done.Set();
    });
    // The pumping wait runs the layer's loop, which runs the worker's hand-over.
    ASSERT_EQ(sys::PumpingWait(done, 120'000), sys::TWaitResult::Signaled);
    worker->WaitFor();
    EXPECT_EQ(answer.load(), 42);
    EXPECT_EQ(handledOn, sys::CurrentThreadId());
}

TEST_F(MessagesTest, TheLoopHandsOutPostedThenPaintThenTimers) {
    const HWND w = Top(0, 0, 50, 50);
    PumpMessages();
    ASSERT_EQ(SetTimer(w, 7, 100), 7u);
    AdvanceMs(100);
    InvalidateRect(w, nullptr, false);
    PostMessage(w, WM_USER + 1);
    PostMessage(w, WM_USER + 2);
    ClearLog();
    std::vector<UINT> order;
    MSG msg;
    while (PeekMessage(msg)) {
        order.push_back(msg.message);
        DispatchMessage(msg);
    }
    EXPECT_THAT(order, ElementsAre(WM_USER + 1, WM_USER + 2, WM_PAINT, WM_TIMER));
    EXPECT_EQ(Find(WM_TIMER, w)[0].WParam, 7u);
}

TEST_F(MessagesTest, PeekWithoutRemovingLeavesTheMessageFirst) {
    const HWND w = Top(0, 0, 50, 50);
    PumpMessages();
    PostMessage(w, WM_USER + 1);
    PostMessage(w, WM_USER + 2);
    MSG msg;
    ASSERT_TRUE(PeekMessage(msg, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    ASSERT_TRUE(PeekMessage(msg, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    ASSERT_TRUE(PeekMessage(msg, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    EXPECT_FALSE(PeekMessage(msg));
}

TEST_F(MessagesTest, QuitEndsTheMainLoopWithItsCode) {
    const HWND w = Top(0, 0, 50, 50);
    Handle(w, [](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_USER) PostQuitMessage(5);
        return false;
    });
    PostMessage(w, WM_USER);
    EXPECT_EQ(RunMessageLoop(), 5);
    EXPECT_EQ(Count(WM_USER, w), 1);
}

TEST_F(MessagesTest, FiltersSeeEveryItemFirstAndGoAwayByToken) {
    const HWND w = Top(0, 0, 50, 50);
    PumpMessages();
    std::vector<UINT> seen;
    const auto eat = AddMessageFilter([&](MSG& m) {
        seen.push_back(m.message);
        return m.message == WM_USER + 1;
    });
    TFilterToken self = 0;
    self = AddMessageFilter([&](MSG&) {
        RemoveMessageFilter(self);  // removing itself while it runs is safe
        return false;
    });
    PostMessage(w, WM_USER + 1);
    PostMessage(w, WM_USER + 2);
    PumpMessages();
    EXPECT_THAT(seen, ElementsAre(WM_USER + 1, WM_USER + 2));
    EXPECT_EQ(Count(WM_USER + 1, w), 0);
    EXPECT_EQ(Count(WM_USER + 2, w), 1);
    EXPECT_EQ(GetWinStats().Filters, 1u);
    EXPECT_TRUE(RemoveMessageFilter(eat));
    EXPECT_FALSE(RemoveMessageFilter(eat));
    PostMessage(w, WM_USER + 1);
    PumpMessages();
    EXPECT_EQ(Count(WM_USER + 1, w), 1);
}

TEST_F(MessagesTest, RegisteredNumbersAreOnePerNameAndClearOfPrivateOnes) {
    const UINT a = RegisterWindowMessage("MoradexTest.A");
    const UINT b = RegisterWindowMessage("MoradexTest.B");
    EXPECT_EQ(RegisterWindowMessage("MoradexTest.A"), a);
    EXPECT_NE(a, b);
    for (UINT m : {a, b}) {
        EXPECT_GE(m, 0xC000u);
        EXPECT_TRUE(m < 1225 || m > 1427);
    }
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(MessagesTest, HandOversRunInTheLoop) {
    int ran = 0;
    sys::QueueInMainThread([&] { ++ran; });
    EXPECT_EQ(ran, 0);
    ProcessMessage();
    EXPECT_EQ(ran, 1);
}

TEST_F(MessagesTest, TimersFireOncePerPeriodWithoutBursts) {
    const HWND w = Top(0, 0, 50, 50);
    PumpMessages();
    auto ticks = [&](std::uintptr_t id) {
        int n = 0;
        for (const TRecord& r : Find(WM_TIMER, w)) n += r.WParam == id;
        return n;
    };
    SetTimer(w, 1, 50);
    SetTimer(w, 2, 200);
    AdvanceMs(49);
    PumpMessages();
    EXPECT_EQ(ticks(1), 0);
    AdvanceMs(1);
    PumpMessages();
    EXPECT_EQ(ticks(1), 1);
    // A long stall gives one tick per timer, not a burst.
    AdvanceMs(1000);
    PumpMessages();
    EXPECT_EQ(ticks(1), 2);
    EXPECT_EQ(ticks(2), 1);
    // Setting an id again restarts its period; killing it stops it.
    SetTimer(w, 1, 500);
    AdvanceMs(499);
    PumpMessages();
    EXPECT_EQ(ticks(1), 2);
    AdvanceMs(1);
    PumpMessages();
    EXPECT_EQ(ticks(1), 3);
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_FALSE(KillTimer(w, 1));
    AdvanceMs(1000);
    PumpMessages();
    EXPECT_EQ(ticks(1), 3);
    DestroyWindow(w);
    EXPECT_EQ(GetWinStats().Timers, 0u);
    EXPECT_EQ(SetTimer(w, 3, 10), 0u);
}

TEST_F(MessagesTest, FloodsOfPostsAndTimersLeaveNothingBehind) {
    const HWND w = Top(0, 0, 50, 50);
    PumpMessages();
    int handled = 0;
    Handle(w, [&](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_USER || m == WM_TIMER) ++handled;
        return false;
    });
    const TWinStats before = GetWinStats();
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 10'000; ++i) PostMessage(w, WM_USER, WPARAM(i));
        EXPECT_EQ(GetWinStats().Posted, 10'000u);
        for (std::uintptr_t id = 1; id <= 1000; ++id) SetTimer(w, id, 10);
        EXPECT_EQ(GetWinStats().Timers, 1000u);
        AdvanceMs(10);
        PumpMessages();
        for (std::uintptr_t id = 1; id <= 1000; ++id) KillTimer(w, id);
        const TWinStats after = GetWinStats();
        EXPECT_EQ(after.Posted, before.Posted);
        EXPECT_EQ(after.Timers, before.Timers);
        EXPECT_EQ(after.DCs, before.DCs);
        EXPECT_EQ(after.Windows, before.Windows);
    }
    EXPECT_EQ(handled, 2 * (10'000 + 1000));
}

TEST_F(MessagesTest, TextAndLongValuesGoThroughTheWindow) {
    const HWND w = Top(0, 0, 50, 50);
    EXPECT_TRUE(SetWindowText(w, "格式工厂"));
    EXPECT_EQ(GetWindowText(w), "格式工厂");
    EXPECT_EQ(Count(WM_SETTEXT, w), 1);
    SetWindowLongPtr(w, GWLP_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), 1234);
    EXPECT_EQ(DWORD(GetWindowLongPtr(w, GWL_STYLE)) & WS_POPUP, WS_POPUP);
    SetClassLong(w, GCL_STYLE, GetClassLong(w, GCL_STYLE) | CS_DROPSHADOW);
    EXPECT_TRUE(Screen->Find(w)->DropShadow);
    SetClassLong(w, GCL_STYLE, GetClassLong(w, GCL_STYLE) & ~CS_DROPSHADOW);
}

}  // namespace
}  // namespace win::test
