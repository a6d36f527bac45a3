// Placement and showing with their message order, z-order, coordinates, and painting: update
// regions, erase and paint, clipping to children, siblings and regions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win/win_test_support.h"

namespace win::test {
namespace {

using ::testing::ElementsAre;

using GeometryTest = TWinTest;
using PaintTest = TWinTest;

const std::set<UINT> kPlacement = {
    WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_NCPAINT,
    WM_ERASEBKGND,        WM_PAINT,      WM_SHOWWINDOW};

TEST_F(GeometryTest, MoveAndSizeGiveTheFullSequenceThenRepaint) {
    const HWND w = Top(10, 10, 100, 80);
    PumpMessages();
    ClearLog();
    ASSERT_TRUE(SetWindowPos(w, {}, 30, 40, 120, 90, SWP_NOZORDER | SWP_NOACTIVATE));
    PumpMessages();
    EXPECT_THAT(Names(Seq(kPlacement, w)),
                ElementsAre("WINDOWPOSCHANGING", "NCCALCSIZE", "WINDOWPOSCHANGED", "MOVE", "SIZE",
                            "NCPAINT", "ERASEBKGND", "PAINT"));
    // The size clamp asks for the limits inside WM_WINDOWPOSCHANGING.
    EXPECT_THAT(Names(Seq({WM_WINDOWPOSCHANGING, WM_GETMINMAXINFO}, w)),
                ElementsAre("WINDOWPOSCHANGING", "GETMINMAXINFO"));
    EXPECT_EQ(Find(WM_GETMINMAXINFO, w)[0].Depth, 1);
    EXPECT_EQ(Find(WM_MOVE, w)[0].LParam, MAKELPARAM(30, 40));
    EXPECT_EQ(Find(WM_SIZE, w)[0].LParam, MAKELPARAM(120, 90));
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, gfx::Bounds(30, 40, 120, 90));

    // A move alone neither sizes nor repaints a top-level: its surface moves with it.
    ClearLog();
    SetWindowPos(w, {}, 35, 45, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    PumpMessages();
    EXPECT_THAT(Names(Seq(kPlacement, w)),
                ElementsAre("WINDOWPOSCHANGING", "NCCALCSIZE", "WINDOWPOSCHANGED", "MOVE"));
}

TEST_F(GeometryTest, ShowingSendsShowWindowFirst) {
    const HWND w = Top(10, 10, 100, 80, WS_POPUP);
    ClearLog();
    EXPECT_FALSE(ShowWindow(w, SW_SHOWNA));
    PumpMessages();
    EXPECT_THAT(Names(Seq(kPlacement, w)),
                ElementsAre("SHOWWINDOW", "WINDOWPOSCHANGING", "WINDOWPOSCHANGED", "NCPAINT",
                            "ERASEBKGND", "PAINT"));
    EXPECT_EQ(Find(WM_SHOWWINDOW, w)[0].WParam, 1u);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(ShowWindow(w, SW_SHOWNA));  // already visible: no second WM_SHOWWINDOW
    EXPECT_EQ(Count(WM_SHOWWINDOW, w), 1);
    ClearLog();
    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_THAT(Names(Seq(kPlacement, w)),
                ElementsAre("SHOWWINDOW", "WINDOWPOSCHANGING", "WINDOWPOSCHANGED"));
    EXPECT_EQ(Find(WM_SHOWWINDOW, w)[0].WParam, 0u);
    EXPECT_FALSE(Screen->Find(w)->Shown);
}

TEST_F(GeometryTest, ChangingHandlersAndLimitsShapeTheResult) {
    const HWND w = Top(0, 0, 100, 100);
    Handle(w, [](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
        if (m == WM_GETMINMAXINFO) {
            auto* mm = ParamToPtr<MINMAXINFO>(std::uint64_t(l));
            mm->ptMinTrackSize = {60, 50};
            mm->ptMaxTrackSize = {300, 200};
            return true;
        }
        if (m == WM_WINDOWPOSCHANGING) {
            auto* wp = ParamToPtr<WINDOWPOS>(std::uint64_t(l));
            wp->x = wp->x / 10 * 10;  // snaps the position; the default clamps the size
        }
        return false;
    });
    struct TCase {
        int X, Y, W, H;
        TRect Expected;
    };
    const TCase cases[] = {
        {17, 23, 10, 10, gfx::Bounds(10, 23, 60, 50)},
        {5, 5, 1000, 1000, gfx::Bounds(0, 5, 300, 200)},
        {44, 0, 150, 120, gfx::Bounds(40, 0, 150, 120)},
    };
    for (const TCase& c : cases) {
        SetWindowPos(w, {}, c.X, c.Y, c.W, c.H, SWP_NOZORDER | SWP_NOACTIVATE);
        TRect r;
        GetWindowRect(w, r);
        EXPECT_EQ(r, c.Expected);
    }
}

TEST_F(GeometryTest, ClientAreaComesFromNcCalcSizeAndCoordinatesFollowIt) {
    const HWND frame = Top(100, 50, 200, 150, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME);
    TRect client;
    GetClientRect(frame, client);
    EXPECT_EQ(client, gfx::Rect(0, 0, 200 - 8, 150 - 8 - 19));
    const HWND child = Child(frame, 10, 20, 50, 30);
    TPoint p{0, 0};
    ClientToScreen(child, p);
    EXPECT_EQ(p, gfx::Point(100 + 4 + 10, 50 + 4 + 19 + 20));
    ScreenToClient(frame, p);
    EXPECT_EQ(p, gfx::Point(10, 20));
    TPoint q{1, 2};
    MapWindowPoints(child, frame, &q, 1);
    EXPECT_EQ(q, gfx::Point(11, 22));
    TRect r;
    GetWindowRect(child, r);
    EXPECT_EQ(r, gfx::Bounds(114, 93, 50, 30));
    // A custom frame answers WM_NCCALCSIZE itself.
    const HWND custom = Top(0, 0, 100, 100);
    Handle(custom, [](HWND, UINT m, WPARAM w, LPARAM l, LRESULT& result) {
        if (m != WM_NCCALCSIZE || !w) return false;
        auto* p = ParamToPtr<NCCALCSIZE_PARAMS>(std::uint64_t(l));
        p->rgrc[0] = {p->rgrc[0].Left + 5, p->rgrc[0].Top + 25, p->rgrc[0].Right - 5,
                      p->rgrc[0].Bottom - 5};
        result = 0;
        return true;
    });
    SetWindowPos(custom, {}, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    GetClientRect(custom, client);
    EXPECT_EQ(client, gfx::Rect(0, 0, 90, 70));
}

TEST_F(GeometryTest, TopmostBandAndOwnersOrderTheScreen) {
    const HWND owner = Top(0, 0, 100, 100);
    const HWND owned = Top(10, 10, 50, 50, WS_POPUP | WS_VISIBLE, 0, owner);
    const HWND other = Top(20, 20, 50, 50);
    const HWND topmost = Top(30, 30, 50, 50, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST);
    EXPECT_THAT(Screen->StackOrder(), ElementsAre(topmost, other, owned, owner));
    // Raising the owner lifts its owned window with it, still under the topmost one.
    SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_THAT(Screen->StackOrder(), ElementsAre(topmost, owned, owner, other));
    SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_THAT(Screen->StackOrder(), ElementsAre(other, topmost, owned, owner));
    SetWindowPos(other, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_THAT(Screen->StackOrder(), ElementsAre(topmost, other, owned, owner));
    // Children keep their own order: the newest on top, moved by insert-after.
    const HWND a = Child(owner, 0, 0, 10, 10);
    const HWND b = Child(owner, 0, 0, 10, 10);
    EXPECT_EQ(GetWindow(owner, GW_CHILD), b);
    SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(owner, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
}

TEST_F(GeometryTest, ReparentingMovesWindowsBetweenParentsAndTheScreen) {
    const HWND first = Top(0, 0, 100, 100);
    const HWND second = Top(200, 0, 100, 100);
    const HWND child = Child(first, 10, 10, 20, 20);
    EXPECT_EQ(SetParent(child, second), first);
    EXPECT_TRUE(IsChild(second, child));
    EXPECT_FALSE(IsChild(first, child));
    TRect r;
    GetWindowRect(child, r);
    EXPECT_EQ(r, gfx::Bounds(210, 10, 20, 20));
    EXPECT_FALSE(SetParent(second, child));  // not into its own subtree
    // Out to the screen: it gets a surface of its own and the backend shows it.
    SetParent(child, {});
    EXPECT_FALSE(GetParent(child));
    EXPECT_TRUE(GetWindowSurface(child));
    ASSERT_NE(Screen->Find(child), nullptr);
    EXPECT_EQ(Screen->Find(child)->Bounds, gfx::Bounds(10, 10, 20, 20));
    // And back in.
    SetParent(child, first);
    EXPECT_EQ(Screen->Find(child), nullptr);
    EXPECT_EQ(GetAncestor(child, GA_ROOT), first);
}

TEST_F(GeometryTest, MaximizeUsesTheWorkAreaAndRestoreGoesBack) {
    const HWND w = Top(10, 10, 100, 80, WS_POPUP | WS_VISIBLE | WS_MAXIMIZEBOX);
    ClearLog();
    SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    TRect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, gfx::Rect(0, 0, 1280, 760));
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_EQ(Find(WM_SIZE, w).back().WParam, WPARAM(SIZE_MAXIMIZED));
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    GetWindowRect(w, r);
    EXPECT_EQ(r, gfx::Bounds(10, 10, 100, 80));
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_TRUE(Screen->Find(w)->Minimized);
    EXPECT_EQ(Find(WM_SIZE, w).back().WParam, WPARAM(SIZE_MINIMIZED));
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(w));
    SendMessage(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Count(WM_CLOSE, w), 1);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(GeometryTest, MonitorsAndWorkAreasComeFromTheBackend) {
    Screen->SetMonitors({{{0, 0, 1280, 800}, {0, 0, 1280, 760}, true},
                         {{1280, 0, 2560, 1024}, {1280, 0, 2560, 1000}, false}});
    const HWND w = Top(1500, 100, 200, 100);
    DisplayChanged();
    EXPECT_EQ(Count(WM_DISPLAYCHANGE, w), 1);
    const HMONITOR m = MonitorFromWindow(w, MONITOR_DEFAULTTONULL);
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfo(m, info));
    EXPECT_EQ(info.rcWork, gfx::Rect(1280, 0, 2560, 1000));
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(MonitorFromPoint({-50, 10}, MONITOR_DEFAULTTONULL), 0);
    EXPECT_EQ(MonitorFromPoint({-50, 10}, MONITOR_DEFAULTTONEAREST), 1);
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTOPRIMARY), 1);
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONEAREST), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 2560);
    TRect work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, &work));
    EXPECT_EQ(work, gfx::Rect(0, 0, 1280, 760));
    EXPECT_TRUE(GetBackendCaps().LayeredWindows);
    SetClipboardText("剪贴板");
    EXPECT_EQ(GetClipboardText(), "剪贴板");
}

TEST_F(PaintTest, ChildrenAndSiblingsClipWhatTheirParentPaints) {
    const HWND parent = Top(0, 0, 100, 100);
    const HWND lower = Child(parent, 10, 10, 40, 40);
    const HWND upper = Child(parent, 30, 30, 40, 40);
    auto fill = [this](HWND w, gfx::TColor color) {
        Handle(w, [color](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
            if (m != WM_PAINT) return false;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, ps);
            gfx::FillRect(dc, TRect{-1000, -1000, 1000, 1000}, gfx::CreateSolidBrush(color));
            EndPaint(h, ps);
            return true;
        });
    };
    fill(parent, gfx::clRed);
    fill(lower, gfx::clGreen);
    fill(upper, gfx::clBlue);
    PumpMessages();
    EXPECT_EQ(ClientPixel(parent, 5, 5), gfx::clRed);
    EXPECT_EQ(ClientPixel(parent, 15, 15), gfx::clGreen);
    EXPECT_EQ(ClientPixel(parent, 35, 35), gfx::clBlue);  // upper sibling wins
    EXPECT_EQ(ClientPixel(parent, 65, 65), gfx::clBlue);
    // A later repaint of the parent leaves its children's pixels alone.
    InvalidateRect(parent, nullptr, true);
    ClearLog();
    UpdateWindow(parent);
    EXPECT_EQ(Count(WM_PAINT, parent), 1);
    EXPECT_EQ(Count(WM_PAINT, lower), 0);
    EXPECT_EQ(ClientPixel(parent, 15, 15), gfx::clGreen);
    EXPECT_EQ(ClientPixel(parent, 35, 35), gfx::clBlue);
    EXPECT_EQ(GetWinStats().DCs, 0u);

    // Moving a child uncovers its old place: the parent repaints there, the child moves whole.
    ClearLog();
    SetWindowPos(upper, {}, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(ClientPixel(parent, 45, 45), gfx::clGreen);
    EXPECT_EQ(ClientPixel(parent, 52, 52), gfx::clRed);
    EXPECT_EQ(ClientPixel(parent, 65, 65), gfx::clBlue);
    EXPECT_THAT(Names(Seq({WM_PAINT})), ElementsAre("PAINT", "PAINT", "PAINT"));
    // Hiding it gives its area back to the parent.
    ShowWindow(upper, SW_HIDE);
    PumpMessages();
    EXPECT_EQ(ClientPixel(parent, 65, 65), gfx::clRed);
}

TEST_F(PaintTest, EraseUsesTheClassBrushAndPaintCanTargetAGivenDC) {
    const HWND w = Top(0, 0, 40, 30);
    PumpMessages();
    EXPECT_EQ(ClientPixel(w, 10, 10), gfx::clWhite);
    // BeginPaint reports an unhandled erase; ValidateRect removes the need to paint.
    Handle(w, [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_ERASEBKGND) return false;
        r = 0;
        return true;
    });
    InvalidateRect(w, nullptr, true);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(ps.fErase);
    EXPECT_EQ(ps.rcPaint, gfx::Rect(0, 0, 40, 30));
    EndPaint(w, ps);
    InvalidateRect(w, nullptr, false);
    ValidateRect(w, nullptr);
    ClearLog();
    PumpMessages();
    EXPECT_EQ(Count(WM_PAINT, w), 0);
    // WM_ERASEBKGND and WM_PAINT with a DC draw into that DC, not the window.
    auto off = gfx::CreateDibDC(40, 30);
    Handle(w, {});
    SendMessage(w, WM_ERASEBKGND, DcToParam(off.DC.get()), 0);
    EXPECT_EQ(off.Bitmap->Pixels()[0] & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(PaintTest, RegionsClipPaintingAndDcsStayInsideTheVisibleArea) {
    const HWND w = Top(0, 0, 50, 50);
    SetWindowRgn(w, TRegion(TRect{0, 0, 25, 50}), true);
    TRegion copy;
    EXPECT_EQ(GetWindowRgn(w, copy), gfx::SIMPLEREGION);
    EXPECT_EQ(copy, TRegion(TRect{0, 0, 25, 50}));
    HDC dc = GetDC(w);
    gfx::FillRect(dc, TRect{0, 0, 50, 50}, gfx::CreateSolidBrush(gfx::clRed));
    EXPECT_EQ(GetWinStats().DCs, 1u);
    ReleaseDC(w, dc);
    EXPECT_EQ(GetWinStats().DCs, 0u);
    EXPECT_EQ(ClientPixel(w, 10, 10), gfx::clRed);
    EXPECT_NE(ClientPixel(w, 40, 10), gfx::clRed);
    SetWindowRgn(w, std::nullopt, true);
    EXPECT_EQ(GetWindowRgn(w, copy), gfx::RGN_ERROR);
    // A DC for a window held while it dies is released with it.
    GetWindowDC(w);
    DestroyWindow(w);
    EXPECT_EQ(GetWinStats().DCs, 0u);
}

// Until something paints it, a resized window shows its old pixels where both sizes meet and
// black everywhere else, also in a strip that shrank away and came back. A DC held across the
// resize draws into the old pixels, which the window no longer shows.
TEST_F(PaintTest, AResizedWindowKeepsWhatBothSizesShareAndShowsBlackElsewhere) {
    const HWND w = Top(0, 0, 40, 30);
    PumpMessages();
    HDC dc = GetDC(w);
    gfx::FillRect(dc, TRect{0, 0, 40, 30}, gfx::CreateSolidBrush(gfx::clRed));
    ReleaseDC(w, dc);
    Handle(w, [](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_ERASEBKGND) {
            r = 1;
            return true;
        }
        if (m != WM_PAINT) return false;
        PAINTSTRUCT ps;
        BeginPaint(h, ps);
        EndPaint(h, ps);
        r = 0;
        return true;
    });
    struct TProbe {
        int X, Y;
        gfx::TColor Want;
    };
    struct TStep {
        int Width, Height;
        bool HoldDC;
        std::vector<TProbe> Probes;
    };
    const std::vector<TStep> steps = {
        {60,
         50,
         false,
         {{39, 29, gfx::clRed},
          {40, 10, gfx::clBlack},
          {10, 30, gfx::clBlack},
          {59, 49, gfx::clBlack}}},
        {20, 15, false, {{0, 0, gfx::clRed}, {19, 14, gfx::clRed}}},
        {61,
         50,
         false,
         {{19, 14, gfx::clRed},
          {25, 10, gfx::clBlack},
          {10, 20, gfx::clBlack},
          {39, 29, gfx::clBlack}}},
        {70, 55, true, {{5, 5, gfx::clRed}, {65, 50, gfx::clBlack}, {30, 10, gfx::clBlack}}},
    };
    for (const TStep& step : steps) {
        HDC held = step.HoldDC ? GetDC(w) : nullptr;
        ASSERT_TRUE(
            SetWindowPos(w, {}, 0, 0, step.Width, step.Height, SWP_NOZORDER | SWP_NOACTIVATE));
        if (held) {
            gfx::FillRect(held, TRect{0, 0, 70, 55}, gfx::CreateSolidBrush(gfx::clBlue));
            ReleaseDC(w, held);
        }
        PumpMessages();
        for (const TProbe& p : step.Probes) {
            EXPECT_EQ(ClientPixel(w, p.X, p.Y), p.Want)
                << step.Width << "x" << step.Height << " at " << p.X << "," << p.Y;
            EXPECT_EQ(ScreenPixel(p.X, p.Y), p.Want)
                << step.Width << "x" << step.Height << " at " << p.X << "," << p.Y;
        }
    }
}

TEST_F(PaintTest, RedrawWindowUpdatesNowAndReachesChildrenWhenAsked) {
    const HWND parent = Top(0, 0, 100, 100);
    const HWND child = Child(parent, 10, 10, 20, 20);
    PumpMessages();
    ClearLog();
    RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_THAT(Names(Seq({WM_NCPAINT, WM_ERASEBKGND, WM_PAINT})),
                ElementsAre("NCPAINT", "ERASEBKGND", "PAINT"));
    ClearLog();
    RedrawWindow(parent, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(Count(WM_PAINT, parent), 1);
    EXPECT_EQ(Count(WM_PAINT, child), 1);
    TRect update;
    EXPECT_FALSE(GetUpdateRect(child, &update, false));
}

}  // namespace
}  // namespace win::test
