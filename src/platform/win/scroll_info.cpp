// Scroll information and the plain non-client bars.
#include "platform/win/scroll_info.h"

#include <algorithm>

#include "platform/win/model.h"

namespace win {

using namespace detail;

namespace {

constexpr int kBar = 17;  // bar thickness and arrow button length

SCROLLINFO* BarOf(HWND window, int bar) {
    TWindow* w = Get(window);
    if (!w || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
    return &w->ScrollBars[bar];
}

int Clamp(const SCROLLINFO& si, int pos) {
    const int top = si.nMax - std::max(int(si.nPage) - 1, 0);
    return std::max(si.nMin, std::min(pos, std::max(top, si.nMin)));
}

void RedrawBar(HWND window, int bar) {
    TWindow* w = Get(window);
    if (!w) return;
    const DWORD style = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (!(w->Style & style)) return;
    w->FrameDirty = true;
}

struct TBarGeometry {
    TRect Whole;  // window coordinates
    TRect Less, More, Thumb;
    bool Vertical = true;
    bool Live = false;  // there is something to scroll
};

TBarGeometry Geometry(const TWindow* w, int bar) {
    TBarGeometry g;
    g.Vertical = bar == SB_VERT;
    const TRect c = w->Client;
    if (g.Vertical) {
        g.Whole = {c.Right, c.Top, c.Right + kBar, c.Bottom};
        const int arrow = std::min(kBar, g.Whole.Height() / 2);
        g.Less = {g.Whole.Left, g.Whole.Top, g.Whole.Right, g.Whole.Top + arrow};
        g.More = {g.Whole.Left, g.Whole.Bottom - arrow, g.Whole.Right, g.Whole.Bottom};
    } else {
        g.Whole = {c.Left, c.Bottom, c.Right, c.Bottom + kBar};
        const int arrow = std::min(kBar, g.Whole.Width() / 2);
        g.Less = {g.Whole.Left, g.Whole.Top, g.Whole.Left + arrow, g.Whole.Bottom};
        g.More = {g.Whole.Right - arrow, g.Whole.Top, g.Whole.Right, g.Whole.Bottom};
    }
    const SCROLLINFO& si = w->ScrollBars[bar];
    const int range = si.nMax - si.nMin + 1;
    const int page = int(si.nPage);
    const int start = g.Vertical ? g.Less.Bottom : g.Less.Right;
    const int track = (g.Vertical ? g.More.Top : g.More.Left) - start;
    g.Live = range > 1 && (page == 0 || page < range) && track > 0;
    if (!g.Live) return g;
    int thumb = page ? std::max(8, int(std::int64_t(track) * page / range)) : kBar;
    thumb = std::min(thumb, track);
    const int span = range - std::max(page, 1);
    const int at =
        start + (span > 0 ? int(std::int64_t(track - thumb) * (si.nPos - si.nMin) / span) : 0);
    g.Thumb = g.Vertical ? TRect{g.Whole.Left, at, g.Whole.Right, at + thumb}
                         : TRect{at, g.Whole.Top, at + thumb, g.Whole.Bottom};
    return g;
}

// The position the thumb stands for when its leading edge is at `edge`.
int PositionAt(const TWindow* w, int bar, const TBarGeometry& g, int edge) {
    const SCROLLINFO& si = w->ScrollBars[bar];
    const int start = g.Vertical ? g.Less.Bottom : g.Less.Right;
    const int track = (g.Vertical ? g.More.Top : g.More.Left) - start;
    const int thumb = g.Vertical ? g.Thumb.Height() : g.Thumb.Width();
    const int span = si.nMax - si.nMin + 1 - std::max(int(si.nPage), 1);
    if (track <= thumb || span <= 0) return si.nMin;
    const int pos = si.nMin + int(std::int64_t(edge - start) * span / (track - thumb));
    return Clamp(si, pos);
}

// A small filled triangle pointing along the bar: dir -1 towards the start, +1 to the end.
void Arrow(HDC dc, const TRect& r, bool vertical, int dir, bool live) {
    const gfx::HBRUSH brush = gfx::CreateSolidBrush(live ? gfx::clBtnText : gfx::clGrayText);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        const int off = dir < 0 ? i - 2 : 1 - i;
        if (vertical)
            gfx::FillRect(dc, {cx - i, cy + off, cx + i + 1, cy + off + 1}, brush);
        else
            gfx::FillRect(dc, {cx + off, cy - i, cx + off + 1, cy + i + 1}, brush);
    }
}

void PaintBar(TWindow* w, HDC dc, int bar) {
    const TBarGeometry g = Geometry(w, bar);
    if (g.Whole.IsEmpty()) return;
    gfx::FillRect(dc, g.Whole, gfx::CreateSolidBrush(gfx::clScrollBar));
    detail::DrawRaisedBox(dc, g.Less, gfx::clBtnShadow);
    detail::DrawRaisedBox(dc, g.More, gfx::clBtnShadow);
    Arrow(dc, g.Less, g.Vertical, -1, g.Live);
    Arrow(dc, g.More, g.Vertical, 1, g.Live);
    if (g.Live) detail::DrawRaisedBox(dc, g.Thumb, gfx::clBtnShadow);
}

LRESULT SendScroll(TWindow* w, int bar, int code, int pos = 0) {
    return Send(w, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), 0);
}

}  // namespace

int SetScrollInfo(HWND window, int bar, const SCROLLINFO& info, bool redraw) {
    SCROLLINFO* si = BarOf(window, bar);
    if (!si) return 0;
    if (info.fMask & SIF_RANGE) {
        si->nMin = info.nMin;
        si->nMax = std::max(info.nMin, info.nMax);
    }
    if (info.fMask & SIF_PAGE) si->nPage = info.nPage;
    if (info.fMask & SIF_POS) si->nPos = info.nPos;
    si->nPos = Clamp(*si, si->nPos);
    const int pos = si->nPos;
    if (redraw) RedrawBar(window, bar);
    return pos;
}

bool GetScrollInfo(HWND window, int bar, SCROLLINFO& info) {
    const SCROLLINFO* si = BarOf(window, bar);
    if (!si) return false;
    if (info.fMask & SIF_RANGE) {
        info.nMin = si->nMin;
        info.nMax = si->nMax;
    }
    if (info.fMask & SIF_PAGE) info.nPage = si->nPage;
    if (info.fMask & SIF_POS) info.nPos = si->nPos;
    if (info.fMask & SIF_TRACKPOS) info.nTrackPos = si->nTrackPos;
    return true;
}

bool GetScrollRange(HWND window, int bar, int& minPos, int& maxPos) {
    const SCROLLINFO* si = BarOf(window, bar);
    if (!si) return false;
    minPos = si->nMin;
    maxPos = si->nMax;
    return true;
}

int GetScrollPos(HWND window, int bar) {
    const SCROLLINFO* si = BarOf(window, bar);
    return si ? si->nPos : 0;
}

int SetScrollPos(HWND window, int bar, int pos, bool redraw) {
    const int old = GetScrollPos(window, bar);
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(window, bar, si, redraw);
    return old;
}

bool SetScrollRange(HWND window, int bar, int minPos, int maxPos, bool redraw) {
    if (!BarOf(window, bar)) return false;
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = minPos;
    si.nMax = maxPos;
    SetScrollInfo(window, bar, si, redraw);
    return true;
}

namespace detail {

TRect ShrinkForScrollBars(const TWindow* w, TRect client) {
    if (w->Style & WS_VSCROLL) client.Right = std::max(client.Left, client.Right - kBar);
    if (w->Style & WS_HSCROLL) client.Bottom = std::max(client.Top, client.Bottom - kBar);
    return client;
}

int ScrollBarHitTest(const TWindow* w, TPoint p) {
    if ((w->Style & WS_VSCROLL) && Geometry(w, SB_VERT).Whole.Contains(p.X, p.Y)) return HTVSCROLL;
    if ((w->Style & WS_HSCROLL) && Geometry(w, SB_HORZ).Whole.Contains(p.X, p.Y)) return HTHSCROLL;
    return 0;
}

void PaintScrollBars(TWindow* w, HDC dc) {
    if (w->Style & WS_VSCROLL) PaintBar(w, dc, SB_VERT);
    if (w->Style & WS_HSCROLL) PaintBar(w, dc, SB_HORZ);
    if ((w->Style & WS_VSCROLL) && (w->Style & WS_HSCROLL))
        gfx::FillRect(
            dc,
            {w->Client.Right, w->Client.Bottom, w->Client.Right + kBar, w->Client.Bottom + kBar},
            gfx::CreateSolidBrush(gfx::clBtnFace));
}

void ScrollBarPress(TWindow* w, int hitCode, TPoint screen) {
    const int bar = hitCode == HTVSCROLL ? SB_VERT : SB_HORZ;
    const HWND h = w->Handle;
    const TPoint o = WindowScreenOrigin(w);
    const TPoint p{screen.X - o.X, screen.Y - o.Y};
    const TBarGeometry g = Geometry(w, bar);
    if (!g.Live) return;
    const int along = g.Vertical ? p.Y : p.X;
    if (g.Less.Contains(p.X, p.Y)) {
        SendScroll(w, bar, SB_LINEUP);
    } else if (g.More.Contains(p.X, p.Y)) {
        SendScroll(w, bar, SB_LINEDOWN);
    } else if (!g.Thumb.Contains(p.X, p.Y)) {
        SendScroll(w, bar,
                   along < (g.Vertical ? g.Thumb.Top : g.Thumb.Left) ? SB_PAGEUP : SB_PAGEDOWN);
    } else {
        // Drag the thumb until the button goes up.
        const int grab = along - (g.Vertical ? g.Thumb.Top : g.Thumb.Left);
        TState& s = S();
        SetCapture(h);
        int pos = w->ScrollBars[bar].nPos;
        for (;;) {
            if (!(w = Get(h)) || s.Capture != h) break;
            MSG m;
            if (!PeekInternal(m, true)) {
                FlushDamage();
                WaitForWork();
                continue;
            }
            if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
                const TPoint q{m.pt.X - o.X, m.pt.Y - o.Y};
                pos = PositionAt(w, bar, g, (g.Vertical ? q.Y : q.X) - grab);
                w->ScrollBars[bar].nTrackPos = pos;
                if (m.message == WM_LBUTTONUP) break;
                SendScroll(w, bar, SB_THUMBTRACK, pos);
                continue;
            }
            if (m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONDBLCLK) continue;
            HandleMessage(m);
        }
        if (s.Capture == h) ReleaseCapture();
        if (!(w = Get(h))) return;
        SendScroll(w, bar, SB_THUMBPOSITION, pos);
    }
    if ((w = Get(h))) SendScroll(w, bar, SB_ENDSCROLL);
}

}  // namespace detail

}  // namespace win
