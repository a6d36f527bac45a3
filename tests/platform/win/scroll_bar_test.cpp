// Scroll information per window and bar, and the plain non-client bars of WS_VSCROLL and
// WS_HSCROLL windows.
#include <gtest/gtest.h>

#include "platform/win/scroll_info.h"
#include "platform/win/win_test_support.h"

namespace win::test {
namespace {

using ScrollBarTest = TWinTest;

// A 100x200 client at (100, 100) with a vertical bar over 0..99, 10 to a page.
HWND BarWindow(TWinTest& t) {
    const HWND w = t.Top(100, 100, 117, 200, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 99;
    si.nPage = 10;
    SetScrollInfo(w, SB_VERT, si);
    PumpMessages();
    return w;
}

TEST_F(ScrollBarTest, InformationIsKeptWithoutABarAndThePositionStaysInRange) {
    const HWND w = Top(10, 10, 100, 100);  // no scroll styles
    struct TCase {
        int Min, Max;
        UINT Page;
        int Pos, Expected;
    };
    const TCase cases[] = {
        {0, 99, 10, 50, 50}, {0, 99, 10, 95, 90}, {0, 99, 0, 150, 99},
        {0, 99, 10, -5, 0},  {5, 5, 1, 7, 5},     {0, 9, 20, 3, 0},
    };
    for (const TCase& c : cases) {
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = c.Min;
        si.nMax = c.Max;
        si.nPage = c.Page;
        si.nPos = c.Pos;
        EXPECT_EQ(SetScrollInfo(w, SB_VERT, si), c.Expected) << c.Max << " " << c.Pos;
        SCROLLINFO back;
        ASSERT_TRUE(GetScrollInfo(w, SB_VERT, back));
        EXPECT_EQ(back.nMin, c.Min);
        EXPECT_EQ(back.nMax, c.Max);
        EXPECT_EQ(back.nPage, c.Page);
        EXPECT_EQ(back.nPos, c.Expected);
        int lo = -1, hi = -1;
        ASSERT_TRUE(GetScrollRange(w, SB_VERT, lo, hi));
        EXPECT_EQ(lo, c.Min);
        EXPECT_EQ(hi, c.Max);
        EXPECT_EQ(GetScrollPos(w, SB_VERT), c.Expected);
    }
    // The bars are separate; a position alone keeps range and page.
    EXPECT_EQ(GetScrollPos(w, SB_HORZ), 0);
    EXPECT_TRUE(SetScrollRange(w, SB_VERT, 0, 99));
    EXPECT_EQ(SetScrollPos(w, SB_VERT, 70), 0);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 70);
    SCROLLINFO kept;
    GetScrollInfo(w, SB_VERT, kept);
    EXPECT_EQ(kept.nPage, 20u);
    SCROLLINFO none;
    EXPECT_FALSE(GetScrollInfo(HWND(), SB_VERT, none));
    EXPECT_FALSE(GetScrollInfo(w, 5, none));
}

TEST_F(ScrollBarTest, ABarTakesItsRoomFromTheClientArea) {
    const HWND both = Top(10, 10, 100, 80, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
    TRect r;
    GetClientRect(both, r);
    EXPECT_EQ(r, gfx::Rect(0, 0, 83, 63));
    const HWND framed = Top(10, 10, 100, 80, WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL);
    GetClientRect(framed, r);
    EXPECT_EQ(r, gfx::Rect(0, 0, 81, 78));
}

TEST_F(ScrollBarTest, PressesOnTheBarSendScrollRequests) {
    const HWND w = BarWindow(*this);
    // Bar: x 100..116 on the screen past the client's 100 pixels; arrows 17 high at both ends.
    struct TCase {
        int Y;
        int Code;
    };
    const TCase cases[] = {{105, SB_LINEUP}, {290, SB_LINEDOWN}, {250, SB_PAGEDOWN}};
    for (const TCase& c : cases) {
        ClearLog();
        Screen->Click({100 + 108, c.Y});
        PumpMessages();
        const auto sent = Find(WM_VSCROLL, w);
        ASSERT_EQ(sent.size(), 2u) << c.Y;
        EXPECT_EQ(LOWORD(sent[0].WParam), c.Code) << c.Y;
        EXPECT_EQ(LOWORD(sent[1].WParam), SB_ENDSCROLL);
    }
    // With the position at 50 the thumb sits above the page-down area: a press above it pages
    // up.
    SetScrollPos(w, SB_VERT, 50);
    ClearLog();
    Screen->Click({208, 120});
    PumpMessages();
    ASSERT_FALSE(Find(WM_VSCROLL, w).empty());
    EXPECT_EQ(LOWORD(Find(WM_VSCROLL, w)[0].WParam), SB_PAGEUP);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndEndsWithItsPosition) {
    const HWND w = BarWindow(*this);
    ClearLog();
    // Track 17..183 (166 px), thumb 16 px at the top; dragging it to the far end gives 90.
    Screen->MouseDown({208, 100 + 20});
    Screen->MouseMove({208, 100 + 60});
    Screen->MouseMove({208, 100 + 400});
    Screen->MouseUp({208, 100 + 400});
    PumpMessages();
    std::vector<int> codes, positions;
    for (const TRecord& r : Find(WM_VSCROLL, w)) {
        codes.push_back(LOWORD(r.WParam));
        positions.push_back(HIWORD(r.WParam));
    }
    ASSERT_EQ(codes,
              (std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
    EXPECT_GT(positions[0], 0);
    EXPECT_LT(positions[0], 90);
    EXPECT_EQ(positions[1], 90);
    EXPECT_EQ(positions[2], 90);
    EXPECT_EQ(GetCapture(), HWND());
}

}  // namespace
}  // namespace win::test
