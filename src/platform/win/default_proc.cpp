// The default window procedure: the standard frame, caption drag and edge sizing through the
// modal move/size loop, system commands, cursors by hit code, erasing with the class brush.
#include <algorithm>
#include <cstring>

#include "platform/gfx/text.h"
#include "platform/win/model.h"

namespace win {

using namespace detail;

namespace {

struct TFrame {
    int Border = 0;
    int Caption = 0;
    int Edge = 0;
};

TFrame FrameOf(DWORD style, DWORD exStyle) {
    TFrame f;
    if (style & WS_THICKFRAME)
        f.Border = GetSystemMetrics(SM_CXFRAME);
    else if (style & WS_DLGFRAME)
        f.Border = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        f.Border = GetSystemMetrics(SM_CXBORDER);
    if ((style & WS_CAPTION) == WS_CAPTION)
        f.Caption = (exStyle & WS_EX_TOOLWINDOW) ? 15 : GetSystemMetrics(SM_CYCAPTION);
    if (exStyle & WS_EX_CLIENTEDGE) f.Edge += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE) f.Edge += 1;
    return f;
}

TFrame FrameOf(const TWindow* w) {
    return FrameOf(w->Style, w->ExStyle);
}

// The caption's close button, window coordinates; empty without one.
TRect CloseButtonRect(const TWindow* w) {
    const TFrame f = FrameOf(w);
    if (!f.Caption || !(w->Style & WS_SYSMENU)) return {};
    const int height = f.Caption - 5, width = height + 2;
    const int right = w->Width() - f.Border - 2;
    return {right - width, f.Border + 2, right, f.Border + 2 + height};
}

gfx::HFONT CaptionFont() {
    static const gfx::HFONT font =
        gfx::CreateFontIndirect({-11, gfx::FW_BOLD, false, false, false, "Tahoma"});
    return font;
}

TRect ShrinkToClient(const TWindow* w, TRect r) {
    const TFrame f = FrameOf(w);
    const int inset = f.Border + f.Edge;
    r = {r.Left + inset, r.Top + inset + f.Caption, r.Right - inset, r.Bottom - inset};
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return ShrinkForScrollBars(w, r);
}

int DefaultHitTest(TWindow* w, TPoint screen) {
    const TPoint o = WindowScreenOrigin(w);
    const TPoint p{screen.X - o.X, screen.Y - o.Y};
    const int width = w->Width();
    const int height = w->Height();
    if (p.X < 0 || p.Y < 0 || p.X >= width || p.Y >= height) return HTNOWHERE;
    if (w->Client.Contains(p.X, p.Y)) return HTCLIENT;
    if (w->Style & WS_MINIMIZE) return HTCAPTION;
    if (CloseButtonRect(w).Contains(p.X, p.Y)) return HTCLOSE;
    if (const int bar = ScrollBarHitTest(w, p)) return bar;
    const TFrame f = FrameOf(w);
    if ((w->Style & WS_THICKFRAME) && !(w->Style & WS_MAXIMIZE)) {
        const int b = f.Border;
        const int corner = b + GetSystemMetrics(SM_CYCAPTION);
        const bool left = p.X < b, right = p.X >= width - b;
        const bool top = p.Y < b, bottom = p.Y >= height - b;
        const bool nearLeft = p.X < corner, nearRight = p.X >= width - corner;
        const bool nearTop = p.Y < corner, nearBottom = p.Y >= height - corner;
        if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
    }
    if (f.Caption && p.Y >= f.Border && p.Y < f.Border + f.Caption) return HTCAPTION;
    return HTBORDER;
}

HCURSOR CursorForHit(int code) {
    switch (code) {
        case HTLEFT:
        case HTRIGHT:
            return IDC_SIZEWE;
        case HTTOP:
        case HTBOTTOM:
            return IDC_SIZENS;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            return IDC_SIZENWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            return IDC_SIZENESW;
        default:
            return IDC_ARROW;
    }
}

void PaintFrameLines(TWindow* w) {
    const TFrame f = FrameOf(w);
    if (!f.Border && !f.Caption && !f.Edge) return;
    HDC dc = GetWindowDC(w->Handle);
    if (!dc) return;
    gfx::ExcludeClipRect(dc, w->Client.Left, w->Client.Top, w->Client.Right, w->Client.Bottom);
    const TRect whole{0, 0, w->Width(), w->Height()};
    gfx::FillRect(dc, whole, gfx::CreateSolidBrush(gfx::clBtnFace));
    if (f.Border) gfx::FrameRect(dc, whole, gfx::CreateSolidBrush(gfx::clWindowFrame));
    if (f.Caption) {
        const bool active = Root(w)->Handle == S().Active;
        const TRect caption{f.Border, f.Border, w->Width() - f.Border, f.Border + f.Caption};
        gfx::FillRect(
            dc, caption,
            gfx::CreateSolidBrush(active ? gfx::clActiveCaption : gfx::clInactiveCaption));
        const TRect close = CloseButtonRect(w);
        TRect text{caption.Left + 4, caption.Top,
                   (close.IsEmpty() ? caption.Right : close.Left) - 2, caption.Bottom};
        gfx::SelectObject(dc, CaptionFont());
        gfx::SetBkMode(dc, gfx::TRANSPARENT);
        gfx::SetTextColor(dc, active ? gfx::clCaptionText : gfx::clInactiveCaptionText);
        gfx::DrawText(
            dc, w->Text, text,
            gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_END_ELLIPSIS | gfx::DT_NOPREFIX);
        if (!close.IsEmpty()) {
            // A small raised button with a cross.
            DrawRaisedBox(dc, close, gfx::cl3DDkShadow);
            const int cx = (close.Left + close.Right) / 2, cy = (close.Top + close.Bottom) / 2;
            gfx::SelectObject(dc, gfx::CreatePen(gfx::PS_SOLID, 1, gfx::clBtnText));
            for (int dx : {-1, 0}) {
                gfx::MoveToEx(dc, cx - 4 + dx + 1, cy - 4);
                gfx::LineTo(dc, cx + 4 + dx + 1, cy + 4);
                gfx::MoveToEx(dc, cx + 3 + dx + 1, cy - 4);
                gfx::LineTo(dc, cx - 5 + dx + 1, cy + 4);
            }
        }
    }
    ReleaseDC(w->Handle, dc);
}

void PaintDefaultFrame(TWindow* w) {
    PaintFrameLines(w);
    if (!(w->Style & (WS_HSCROLL | WS_VSCROLL))) return;
    if (HDC dc = GetWindowDC(w->Handle)) {
        PaintScrollBars(w, dc);
        ReleaseDC(w->Handle, dc);
    }
}

void PaintVideo(TWindow* w, HDC dc) {
    if (w->VideoHost) w->VideoHost->Paint(dc);
}

LRESULT DefaultPaint(TWindow* w, WPARAM wParam) {
    if (wParam) {
        PaintVideo(w, ParamToDc(wParam));
        return 0;
    }
    const HWND h = w->Handle;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    if (!dc) return 0;
    if (TWindow* after = Get(h)) PaintVideo(after, dc);
    EndPaint(h, ps);
    return 0;
}

bool IsMouseMessage(UINT m) {
    return (m >= WM_MOUSEMOVE && m <= WM_MBUTTONDBLCLK) ||
           (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

// The Menu key and Shift+F10 ask for the context menu at (-1, -1): "place it yourself".
void ContextMenuFromKeys(TWindow* w) {
    Send(w, WM_CONTEXTMENU, HwndToParam(w->Handle), MAKELPARAM(0xFFFF, 0xFFFF));
}

}  // namespace

namespace detail {

void DrawRaisedBox(HDC dc, const TRect& r, gfx::TColor shadow) {
    gfx::FillRect(dc, r, gfx::CreateSolidBrush(gfx::clBtnFace));
    gfx::FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1},
                  gfx::CreateSolidBrush(gfx::clBtnHighlight));
    gfx::FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom},
                  gfx::CreateSolidBrush(gfx::clBtnHighlight));
    gfx::FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, gfx::CreateSolidBrush(shadow));
    gfx::FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, gfx::CreateSolidBrush(shadow));
}

void RunSizeMoveLoop(TWindow* w, UINT command, TPoint start) {
    TState& s = S();
    if (s.InSizeMove) return;
    const HWND h = w->Handle;
    const bool move = (command & 0xFFF0) == SC_MOVE;
    const int edge = int(command & 0x0F);
    if (!move && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT)) return;
    s.InSizeMove = true;
    TScopeExit leave([&] { s.InSizeMove = false; });
    const TRect startRect = w->Rect;
    TRect current = startRect;
    bool cancelled = false;
    SetCapture(h);
    Send(w, WM_ENTERSIZEMOVE, 0, 0);
    const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;

    for (;;) {
        if (!(w = Get(h)) || s.Capture != h) break;
        MSG m;
        if (!PeekInternal(m, true)) {
            FlushDamage();
            if (!Get(h) || s.Capture != h) break;
            WaitForWork();
            continue;
        }
        if (IsMouseMessage(m.message)) {
            if (m.message != WM_MOUSEMOVE && m.message != WM_LBUTTONUP) continue;
            const int dx = m.pt.X - start.X;
            const int dy = m.pt.Y - start.Y;
            TRect r = startRect;
            if (move) {
                r = startRect.Offset(dx, dy);
            } else {
                if (left) r.Left += dx;
                if (right) r.Right += dx;
                if (top) r.Top += dy;
                if (bottom) r.Bottom += dy;
                const MINMAXINFO mm = QueryMinMax(w);
                if (!(w = Get(h))) break;
                const int width = std::clamp(r.Width(), mm.ptMinTrackSize.X, mm.ptMaxTrackSize.X);
                const int height = std::clamp(r.Height(), mm.ptMinTrackSize.Y, mm.ptMaxTrackSize.Y);
                if (left)
                    r.Left = r.Right - width;
                else
                    r.Right = r.Left + width;
                if (top)
                    r.Top = r.Bottom - height;
                else
                    r.Bottom = r.Top + height;
            }
            Send(w, move ? WM_MOVING : WM_SIZING, move ? 0 : WPARAM(edge), PtrToParam(&r));
            if (!Get(h)) break;
            if (r != current) {
                SetWindowPos(h, HWND(), r.Left, r.Top, r.Width(), r.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE | (move ? SWP_NOSIZE : 0));
                current = r;
            }
            FlushDamage();
            if (m.message == WM_LBUTTONUP) break;
            continue;
        }
        if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
            if (m.wParam == VK_ESCAPE) {
                cancelled = true;
                break;
            }
            if (m.wParam == VK_RETURN) break;
            continue;
        }
        if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP || m.message == WM_CHAR ||
            m.message == WM_SYSCHAR)
            continue;
        HandleMessage(m);
        FlushDamage();
    }
    if (cancelled && Get(h))
        SetWindowPos(h, HWND(), startRect.Left, startRect.Top, startRect.Width(),
                     startRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (s.Capture == h) ReleaseCapture();
    if ((w = Get(h))) Send(w, WM_EXITSIZEMOVE, 0, 0);
    FlushDamage();
}

}  // namespace detail

bool AdjustWindowRectEx(TRect& rect, DWORD style, bool /*menu*/, DWORD exStyle) {
    const TFrame f = FrameOf(style, exStyle);
    const int inset = f.Border + f.Edge;
    rect = {rect.Left - inset, rect.Top - inset - f.Caption, rect.Right + inset,
            rect.Bottom + inset};
    return true;
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TWindow* w = Get(window);
    if (!w) return 0;
    TState& s = S();
    switch (message) {
        case WM_NCCREATE:
            return 1;
        case WM_NCCALCSIZE:
            if (wParam) {
                auto* params = ParamToPtr<NCCALCSIZE_PARAMS>(std::uint64_t(lParam));
                params->rgrc[0] = ShrinkToClient(w, params->rgrc[0]);
            } else {
                auto* rect = ParamToPtr<TRect>(std::uint64_t(lParam));
                *rect = ShrinkToClient(w, *rect);
            }
            return 0;
        case WM_NCHITTEST:
            return DefaultHitTest(w, PointFromParam(lParam));
        case WM_NCPAINT:
            PaintDefaultFrame(w);
            return 0;
        case WM_NCACTIVATE:
            w->FrameDirty = w->FrameDirty || FrameOf(w).Caption != 0;
            return 1;
        case WM_ERASEBKGND: {
            if (w->Class->Background == gfx::clNone || !wParam) return 0;
            HDC dc = ParamToDc(wParam);
            gfx::FillRect(dc, TRect{0, 0, w->Client.Width(), w->Client.Height()},
                          gfx::CreateSolidBrush(w->Class->Background));
            return 1;
        }
        case WM_PAINT:
            return DefaultPaint(w, wParam);
        case WM_SETTEXT:
            w->Text = lParam ? ParamToPtr<const char>(std::uint64_t(lParam)) : "";
            // The caption we draw shows the text.
            w->FrameDirty = w->FrameDirty || FrameOf(w).Caption != 0;
            if (!w->Parent) SyncTopLevel(w);
            return 1;
        case WM_GETTEXT: {
            if (wParam == 0 || !lParam) return 0;
            char* buffer = ParamToPtr<char>(std::uint64_t(lParam));
            const std::size_t n = std::min<std::size_t>(w->Text.size(), std::size_t(wParam) - 1);
            std::memcpy(buffer, w->Text.data(), n);
            buffer[n] = '\0';
            return LRESULT(n);
        }
        case WM_GETTEXTLENGTH:
            return LRESULT(w->Text.size());
        case WM_WINDOWPOSCHANGING: {
            auto* wp = ParamToPtr<WINDOWPOS>(std::uint64_t(lParam));
            if (w->Parent || (wp->flags & SWP_NOSIZE) || (w->Style & WS_MINIMIZE)) return 0;
            const MINMAXINFO mm = QueryMinMax(w);
            wp->cx = std::clamp(wp->cx, mm.ptMinTrackSize.X,
                                std::max(mm.ptMinTrackSize.X, mm.ptMaxTrackSize.X));
            wp->cy = std::clamp(wp->cy, mm.ptMinTrackSize.Y,
                                std::max(mm.ptMinTrackSize.Y, mm.ptMaxTrackSize.Y));
            return 0;
        }
        case WM_WINDOWPOSCHANGED: {
            const auto* wp = ParamToPtr<WINDOWPOS>(std::uint64_t(lParam));
            const UINT flags = wp->flags;
            if (!(flags & SWP_NOMOVE)) {
                const TPoint o{w->Rect.Left + w->Client.Left, w->Rect.Top + w->Client.Top};
                Send(w, WM_MOVE, 0, MAKELPARAM(o.X, o.Y));
                if (!(w = Get(window))) return 0;
            }
            if (!(flags & SWP_NOSIZE) || (flags & SWP_FRAMECHANGED)) {
                const WPARAM kind = (w->Style & WS_MAXIMIZE)   ? SIZE_MAXIMIZED
                                    : (w->Style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                               : SIZE_RESTORED;
                if (!(flags & SWP_NOSIZE) || kind == SIZE_MAXIMIZED)
                    Send(w, WM_SIZE, kind, MAKELPARAM(w->Client.Width(), w->Client.Height()));
            }
            return 0;
        }
        case WM_SETCURSOR: {
            if (w->Parent && Send(w->Parent, WM_SETCURSOR, wParam, lParam)) return 1;
            if (!(w = Get(window))) return 0;
            const int code = std::int16_t(LOWORD(std::uint64_t(lParam)));
            // Only the window under the cursor picks the shape; ancestors just may veto it.
            if (code == HTERROR || ParamToHwnd(wParam) != window) return 0;
            SetCursor(code == HTCLIENT ? w->Class->Cursor : CursorForHit(code));
            return 1;
        }
        case WM_MOUSEACTIVATE:
            if (w->Parent)
                if (const LRESULT r = Send(w->Parent, WM_MOUSEACTIVATE, wParam, lParam)) return r;
            return MA_ACTIVATE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
                for (TWindow* f = Get(s.Focus); f; f = f->Parent)
                    if (f == w) return 0;
                SetFocus(window);
            }
            return 0;
        case WM_NCLBUTTONUP:
            if (int(std::int32_t(wParam)) == HTCLOSE) Send(w, WM_SYSCOMMAND, SC_CLOSE, lParam);
            return 0;
        case WM_NCLBUTTONDOWN: {
            const int code = int(std::int32_t(wParam));
            if (code == HTVSCROLL || code == HTHSCROLL)
                ScrollBarPress(w, code, PointFromParam(lParam));
            if (code == HTCAPTION)
                Send(w, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
            else if (code >= HTLEFT && code <= HTBOTTOMRIGHT)
                Send(w, WM_SYSCOMMAND, SC_SIZE | UINT(code - HTLEFT + WMSZ_LEFT), lParam);
            return 0;
        }
        case WM_NCLBUTTONDBLCLK:
            if (int(wParam) == HTCAPTION && (w->Style & WS_MAXIMIZEBOX))
                Send(w, WM_SYSCOMMAND, (w->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_MOVE:
                case SC_SIZE: {
                    TPoint start = PointFromParam(lParam);
                    if (!lParam) start = s.Cursor;
                    RunSizeMoveLoop(w, UINT(wParam), start);
                    return 0;
                }
                case SC_MINIMIZE:
                    ShowWindow(window, SW_MINIMIZE);
                    return 0;
                case SC_MAXIMIZE:
                    ShowWindow(window, SW_SHOWMAXIMIZED);
                    return 0;
                case SC_RESTORE:
                    ShowWindow(window, SW_RESTORE);
                    return 0;
                case SC_CLOSE:
                    Send(w, WM_CLOSE, 0, 0);
                    return 0;
                default:
                    return 0;
            }
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (s.Keys[VK_MENU] & 0x80))
                Send(Root(w), WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        case WM_KEYUP:
            if (wParam == VK_APPS) ContextMenuFromKeys(w);
            return 0;
        case WM_SYSKEYUP:
            if (wParam == VK_F10 && (s.Keys[VK_SHIFT] & 0x80)) {
                ContextMenuFromKeys(w);
                return 0;
            }
            if ((wParam == VK_MENU && s.AltUsedSince == 0) || wParam == VK_F10)
                Send(Root(w), WM_SYSCOMMAND, SC_KEYMENU, 0);
            return 0;
        case WM_SYSCHAR:
            Send(Root(w), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            return w->Parent ? Send(w->Parent, message, wParam, lParam) : 0;
        case WM_CANCELMODE:
            if (s.Capture == window) ReleaseCapture();
            return 0;
        default:
            return 0;
    }
}

}  // namespace win
