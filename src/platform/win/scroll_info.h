// Scroll information per window and bar, and the plain non-client scroll bars that WS_HSCROLL
// and WS_VSCROLL give a window. The information is kept whether or not a bar shows, so a view
// without bars (a skinned one drives its own) still tells its scroll state through it.
// Main thread only, like every window.
#pragma once

#include "platform/gfx/dc.h"
#include "platform/win/types.h"

namespace win {

inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;

// Scroll request codes (low word of WM_HSCROLL / WM_VSCROLL; the high word carries the
// position for SB_THUMBPOSITION and SB_THUMBTRACK).
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;

inline constexpr UINT SIF_RANGE = 0x1;
inline constexpr UINT SIF_PAGE = 0x2;
inline constexpr UINT SIF_POS = 0x4;
inline constexpr UINT SIF_TRACKPOS = 0x10;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
    UINT fMask = SIF_ALL;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// Stores the fields fMask names; the position is kept within nMin..nMax - max(nPage - 1, 0).
// Returns the new position (0 for an invalid window or bar). `redraw` repaints a shown bar.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO& info, bool redraw = true);
// Fills the fields fMask names; false for an invalid window or bar.
bool GetScrollInfo(HWND window, int bar, SCROLLINFO& info);
bool GetScrollRange(HWND window, int bar, int& minPos, int& maxPos);
int GetScrollPos(HWND window, int bar);
// Returns the old position.
int SetScrollPos(HWND window, int bar, int pos, bool redraw = true);
bool SetScrollRange(HWND window, int bar, int minPos, int maxPos, bool redraw = true);

namespace detail {
struct TWindow;
// The non-client bar's part of the frame: the client rectangle loses the bars' room.
[[nodiscard]] TRect ShrinkForScrollBars(const TWindow* w, TRect client);
// HTVSCROLL / HTHSCROLL for a window point on a bar, else 0.
int ScrollBarHitTest(const TWindow* w, TPoint windowPoint);
// Draws the bars of the window into its window DC.
void PaintScrollBars(TWindow* w, gfx::HDC dc);
// A press on a bar: arrows and the page areas send one request, the thumb is dragged.
void ScrollBarPress(TWindow* w, int hitCode, TPoint screen);
}  // namespace detail

}  // namespace win
