// Input routing (mouse, keyboard, text), capture, hover, activation and focus.
#include <cstdlib>

#include "platform/win/model.h"

namespace win {

using namespace detail;

namespace {

struct THit {
    TWindow* Window = nullptr;
    int Code = HTNOWHERE;
    bool Blocked = false;  // a disabled top-level swallows the point
};

std::uint32_t PixelAt(const gfx::TSurface& s, int x, int y) {
    if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) return 0;
    return s.Pixels()[std::size_t(y) * s.Width() + x];
}

bool MatchesKey(std::uint32_t pixel, gfx::TColor key) {
    return int((pixel >> 16) & 0xFF) == gfx::GetRValue(key) &&
           int((pixel >> 8) & 0xFF) == gfx::GetGValue(key) &&
           int(pixel & 0xFF) == gfx::GetBValue(key);
}

// Layered windows let the mouse through where nothing of them shows, and everywhere with the
// transparent style.
bool LetsThrough(const TWindow* w, TPoint local) {
    if (!(w->ExStyle & WS_EX_LAYERED)) return false;
    if (w->ExStyle & WS_EX_TRANSPARENT) return true;
    if (w->Layer == TLayerMode::Image && w->LayerImage) {
        const std::uint32_t p = PixelAt(*w->LayerImage, local.X, local.Y);
        if ((p >> 24) * w->Alpha / 255 == 0) return true;
        return w->UseColorKey && MatchesKey(p, w->ColorKey);
    }
    if (w->Layer == TLayerMode::Attributes && w->UseColorKey && w->Surface)
        return MatchesKey(PixelAt(*w->Surface, local.X, local.Y), w->ColorKey);
    return false;
}

bool InShape(const TWindow* w, TPoint screen) {
    const TPoint o = WindowScreenOrigin(w);
    const TPoint local{screen.X - o.X, screen.Y - o.Y};
    if (local.X < 0 || local.Y < 0 || local.X >= w->Width() || local.Y >= w->Height()) return false;
    return !w->Region || w->Region->Contains(local.X, local.Y);
}

THit HitIn(TWindow* w, TPoint screen, bool sendHitTest) {
    const HWND h = w->Handle;
    const TPoint co = ClientScreenOrigin(w);
    if (w->Client.Offset(co.X - w->Client.Left, co.Y - w->Client.Top)
            .Contains(screen.X, screen.Y)) {
        std::vector<HWND> children;
        for (TWindow* c : w->Children) children.push_back(c->Handle);
        for (HWND ch : children) {
            TWindow* c = Get(ch);
            if (!c || !(c->Style & WS_VISIBLE) || !InShape(c, screen)) continue;
            if (c->Style & WS_DISABLED) break;  // the parent takes the point
            const THit hit = HitIn(c, screen, sendHitTest);
            if (hit.Window) return hit;
        }
    }
    if (!(w = Get(h))) return {};
    int code = HTCLIENT;
    if (sendHitTest) {
        code = int(Send(w, WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y)));
        if (!(w = Get(h))) return {};
    }
    if (code == HTTRANSPARENT) return {};
    return {w, code, false};
}

THit HitTest(TPoint screen, bool sendHitTest) {
    std::vector<HWND> tops;
    for (TWindow* t : S().TopLevels) tops.push_back(t->Handle);
    for (HWND th : tops) {
        TWindow* t = Get(th);
        if (!t || !(t->Style & WS_VISIBLE) || (t->Style & WS_MINIMIZE) || !InShape(t, screen))
            continue;
        if (LetsThrough(t, {screen.X - t->Rect.Left, screen.Y - t->Rect.Top})) continue;
        if (t->Style & WS_DISABLED) return {t, HTERROR, true};
        const THit hit = HitIn(t, screen, sendHitTest);
        if (hit.Window) return hit;
    }
    return {};
}

UINT ButtonVk(TMouseButton b) {
    return b == TMouseButton::Left    ? VK_LBUTTON
           : b == TMouseButton::Right ? VK_RBUTTON
                                      : VK_MBUTTON;
}

UINT ClientMessage(TMouseAction action, TMouseButton b) {
    if (action == TMouseAction::Move) return WM_MOUSEMOVE;
    const UINT down = b == TMouseButton::Left    ? WM_LBUTTONDOWN
                      : b == TMouseButton::Right ? WM_RBUTTONDOWN
                                                 : WM_MBUTTONDOWN;
    return action == TMouseAction::Down ? down : down + 1;
}

// Client to non-client mouse message.
constexpr UINT kNcDelta = WM_MOUSEMOVE - WM_NCMOUSEMOVE;

WPARAM MouseKeys() {
    const auto& k = S().Keys;
    WPARAM keys = 0;
    if (k[VK_LBUTTON] & 0x80) keys |= MK_LBUTTON;
    if (k[VK_RBUTTON] & 0x80) keys |= MK_RBUTTON;
    if (k[VK_MBUTTON] & 0x80) keys |= MK_MBUTTON;
    if (k[VK_SHIFT] & 0x80) keys |= MK_SHIFT;
    if (k[VK_CONTROL] & 0x80) keys |= MK_CONTROL;
    return keys;
}

void SetHover(TWindow* w) {
    TState& s = S();
    const HWND h = w ? w->Handle : HWND();
    if (h == s.Hover) return;
    TWindow* old = Get(s.Hover);
    s.Hover = h;
    if (old) Send(old, WM_MOUSELEAVE, 0, 0);
    if ((w = Get(h))) Send(w, WM_MOUSEENTER, 0, 0);
}

// Decides between a press and a double click, and remembers the press.
bool IsDoubleClick(TWindow* w, TMouseButton button, TPoint screen, bool client) {
    TState& s = S();
    const std::int64_t now = NowMicros();
    TLastClick& last = s.LastClick;
    const int cx = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    const int cy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    const bool dbl = last.Valid && last.Window == w->Handle && last.Button == button &&
                     (last.Message == 1) == client &&
                     now - last.TimeMicros <= std::int64_t(s.DoubleClickMs) * 1000 &&
                     std::abs(screen.X - last.Point.X) <= cx &&
                     std::abs(screen.Y - last.Point.Y) <= cy;
    const bool wanted = dbl && (!client || (w->Class->Style & CS_DBLCLKS));
    if (wanted) {
        last.Valid = false;
    } else {
        last = {w->Handle, client ? 1u : 0u, button, screen, now, true};
    }
    return wanted;
}

bool RouteMouse(TQueueItem& item, MSG& msg) {
    TState& s = S();
    const TPoint pt = item.Point;
    s.Cursor = pt;
    if (item.Action == TMouseAction::Down) s.Keys[ButtonVk(item.Button)] |= 0x80;
    if (item.Action == TMouseAction::Up) s.Keys[ButtonVk(item.Button)] &= 0x7F;
    msg.time = NowMicros() / 1000;
    msg.pt = pt;

    if (item.Action == TMouseAction::Wheel) {
        TWindow* target = Get(s.Focus);
        if (!target) target = Get(s.Active);
        if (!target) return false;
        msg.hwnd = target->Handle;
        msg.message = WM_MOUSEWHEEL;
        msg.wParam = MAKEWPARAM(int(MouseKeys()), item.Wheel);
        msg.lParam = MAKELPARAM(pt.X, pt.Y);
        return true;
    }

    if (TWindow* cap = Get(s.Capture)) {
        const HWND capture = cap->Handle;
        SetHover(HitTest(pt, true).Window);
        if (!(cap = Get(capture))) return false;
        UINT message = ClientMessage(item.Action, item.Button);
        if (item.Action == TMouseAction::Down && IsDoubleClick(cap, item.Button, pt, true))
            message += 2;
        const TPoint o = ClientScreenOrigin(cap);
        msg.hwnd = capture;
        msg.message = message;
        msg.wParam = MouseKeys();
        msg.lParam = MAKELPARAM(pt.X - o.X, pt.Y - o.Y);
        return true;
    }

    const THit hit = HitTest(pt, true);
    SetHover(hit.Window);
    if (!hit.Window || hit.Blocked || !Get(hit.Window->Handle)) return false;
    TWindow* w = hit.Window;
    const HWND h = w->Handle;
    const int code = hit.Code;
    const bool client = code == HTCLIENT;
    UINT message = ClientMessage(item.Action, item.Button);
    if (!client) message -= kNcDelta;

    if (item.Action == TMouseAction::Down) {
        TWindow* root = Root(w);
        if (root->Handle != s.Active) {
            const HWND rootHandle = root->Handle;
            const LRESULT answer =
                Send(w, WM_MOUSEACTIVATE, HwndToParam(rootHandle), MAKELPARAM(code, message));
            if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) &&
                (root = Get(rootHandle)) && CanActivate(root))
                Activate(root, WA_CLICKACTIVE);
            if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return false;
            if (!(w = Get(h))) return false;
        }
    }
    Send(w, WM_SETCURSOR, HwndToParam(h), MAKELPARAM(code, message));
    if (!(w = Get(h))) return false;

    if (item.Action == TMouseAction::Down) {
        if (client) {
            for (TWindow* c = w; c->Parent && !(c->ExStyle & WS_EX_NOPARENTNOTIFY);) {
                TWindow* parent = c->Parent;
                const TPoint po = ClientScreenOrigin(parent);
                const HWND next = parent->Handle;
                Send(parent, WM_PARENTNOTIFY, MAKEWPARAM(int(message), 0),
                     MAKELPARAM(pt.X - po.X, pt.Y - po.Y));
                if (!Get(h) || !(c = Get(next))) break;
            }
            if (!(w = Get(h))) return false;
        }
        if (IsDoubleClick(w, item.Button, pt, client)) message += 2;
    }

    msg.hwnd = h;
    msg.message = message;
    if (client) {
        const TPoint o = ClientScreenOrigin(w);
        msg.wParam = MouseKeys();
        msg.lParam = MAKELPARAM(pt.X - o.X, pt.Y - o.Y);
    } else {
        msg.wParam = WPARAM(std::uint32_t(code));
        msg.lParam = MAKELPARAM(pt.X, pt.Y);
    }
    return true;
}

HWND KeyTarget() {
    TState& s = S();
    if (Get(s.Focus)) return s.Focus;
    return Get(s.Active) ? s.Active : HWND();
}

bool RouteKey(TQueueItem& item, MSG& msg) {
    TState& s = S();
    const int vk = item.Key;
    const bool wasDown = s.Keys[vk] & 0x80;
    if (item.Down) {
        if (!wasDown) s.Keys[vk] ^= 1;
        s.Keys[vk] |= 0x80;
    } else {
        s.Keys[vk] &= 0x7F;
    }
    const bool alt = s.Keys[VK_MENU] & 0x80;
    const bool ctrl = s.Keys[VK_CONTROL] & 0x80;
    if (item.Down && vk == VK_MENU && !wasDown) s.AltUsedSince = 0;
    if (item.Down && vk != VK_MENU && alt) ++s.AltUsedSince;
    const HWND target = KeyTarget();
    if (!target) return false;
    const bool sys = (alt && !ctrl) || vk == VK_F10 || vk == VK_MENU || !Get(s.Focus);
    msg.hwnd = target;
    msg.message = item.Down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    msg.wParam = WPARAM(vk);
    LPARAM l = item.Repeat & 0xFFFF;
    if (alt) l |= LPARAM(1) << 29;
    if (wasDown) l |= LPARAM(1) << 30;
    if (!item.Down) l |= LPARAM(1) << 31;
    msg.lParam = l;
    msg.time = NowMicros() / 1000;
    msg.pt = s.Cursor;
    return true;
}

// UTF-8 to code points; a byte that starts no valid sequence stands for itself.
std::vector<std::uint32_t> CodePoints(const std::string& text) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        if (b >= 0xF8 || (b >= 0x80 && b < 0xC0)) extra = -1;
        std::uint32_t cp = extra == 3   ? b & 0x07
                           : extra == 2 ? b & 0x0F
                           : extra == 1 ? b & 0x1F
                                        : b;
        bool ok = extra >= 0 && i + std::size_t(extra) < text.size() + (extra == 0 ? 1 : 0);
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((c & 0xC0) != 0x80)
                ok = false;
            else
                cp = cp << 6 | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(b);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += std::size_t(extra) + 1;
    }
    return out;
}

bool RouteText(TQueueItem& item, MSG& msg) {
    const HWND target = KeyTarget();
    if (!target) return false;
    TState& s = S();
    bool first = true;
    for (std::uint32_t cp : CodePoints(item.Text)) {
        MSG c;
        c.hwnd = target;
        c.message = WM_CHAR;
        c.wParam = cp;
        c.lParam = 1;
        c.time = NowMicros() / 1000;
        c.pt = s.Cursor;
        if (first)
            msg = c;
        else
            s.Translated.push_back(c);
        first = false;
    }
    if (first) return false;
    // As an input method's commit ends: one key-up of VK_PROCESSKEY, so whatever completes on
    // a key release (the edit-style combo box) also runs after composed text.
    MSG up;
    up.hwnd = target;
    up.message = WM_KEYUP;
    up.wParam = VK_PROCESSKEY;
    up.lParam = LPARAM(1) | LPARAM(1) << 30 | LPARAM(1) << 31;
    up.time = NowMicros() / 1000;
    up.pt = s.Cursor;
    s.Translated.push_back(up);
    return true;
}

}  // namespace

namespace detail {

bool RouteItem(TQueueItem& item, MSG& msg) {
    switch (item.Kind) {
        case TItemKind::Mouse:
            return RouteMouse(item, msg);
        case TItemKind::Key:
            return RouteKey(item, msg);
        case TItemKind::Text:
            return RouteText(item, msg);
        default:
            return false;
    }
}

void ForgetWindowInput(TWindow* w) {
    TState& s = S();
    const HWND h = w->Handle;
    if (s.Hover == h) s.Hover = HWND();
    if (s.Capture == h) {
        s.Capture = HWND();
        if (s.Backend) s.Backend->CapturePointer(false);
    }
    if (s.Focus == h) s.Focus = HWND();
    if (s.Active == h) s.Active = HWND();
    if (s.LastClick.Window == h) s.LastClick.Valid = false;
}

bool CanActivate(const TWindow* w) {
    return w && !w->Parent && (w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED) &&
           !(w->Style & WS_MINIMIZE) && !(w->ExStyle & WS_EX_NOACTIVATE) && !w->Destroying;
}

void DropFocusInside(TWindow* w) {
    TState& s = S();
    for (TWindow* f = Get(s.Focus); f; f = f->Parent)
        if (f == w) {
            TWindow* old = Get(s.Focus);
            s.Focus = HWND();
            Send(old, WM_KILLFOCUS, 0, 0);
            return;
        }
}

void Activate(TWindow* w, int how) {
    TState& s = S();
    const HWND newH = w->Handle;
    if (s.Active == newH) return;
    const HWND oldH = s.Active;
    if (TWindow* old = Get(oldH)) {
        Send(old, WM_NCACTIVATE, 0, 0);
        if ((old = Get(oldH)))
            Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (old->Style & WS_MINIMIZE) ? 1 : 0),
                 HwndToParam(newH));
    }
    if (TWindow* focus = Get(s.Focus)) {
        s.Focus = HWND();
        Send(focus, WM_KILLFOCUS, HwndToParam(newH), 0);
    }
    if (!(w = Get(newH)) || !CanActivate(w)) {
        if (!Get(s.Active)) s.Active = HWND();
        return;
    }
    s.Active = newH;
    if (!Get(oldH)) {
        std::vector<HWND> tops;
        for (TWindow* t : s.TopLevels) tops.push_back(t->Handle);
        for (HWND t : tops) SendMessage(t, WM_ACTIVATEAPP, 1, 0);
        if (!(w = Get(newH))) return;
    }
    RaiseTopLevel(w);
    Restack();
    if (s.Backend) s.Backend->ActivateTopLevel(newH);
    Send(w, WM_NCACTIVATE, 1, 0);
    if ((w = Get(newH)))
        Send(w, WM_ACTIVATE, MAKEWPARAM(how, (w->Style & WS_MINIMIZE) ? 1 : 0), HwndToParam(oldH));
}

void ActivationLost(TWindow* w) {
    TState& s = S();
    if (s.Active != w->Handle) return;
    TWindow* next = nullptr;
    if (w->Owner && CanActivate(w->Owner)) next = w->Owner;
    for (TWindow* t : s.TopLevels) {
        if (next) break;
        const bool popup = (t->Style & WS_POPUP) && (t->ExStyle & WS_EX_TOOLWINDOW);
        if (t != w && !popup && CanActivate(t)) next = t;
    }
    if (next) {
        Activate(next, WA_ACTIVE);
        return;
    }
    DeactivateApplication();
}

void DeactivateApplication() {
    TState& s = S();
    TWindow* w = Get(s.Active);
    if (!w) return;
    const HWND h = w->Handle;
    Send(w, WM_NCACTIVATE, 0, 0);
    if ((w = Get(h))) Send(w, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    s.Active = HWND();
    if (TWindow* focus = Get(s.Focus)) {
        s.Focus = HWND();
        Send(focus, WM_KILLFOCUS, 0, 0);
    }
    std::vector<HWND> tops;
    for (TWindow* t : s.TopLevels) tops.push_back(t->Handle);
    for (HWND t : tops) SendMessage(t, WM_ACTIVATEAPP, 0, 0);
}

}  // namespace detail

HWND WindowFromPoint(TPoint screen) {
    Ready();
    const THit hit = HitTest(screen, true);
    return hit.Window ? hit.Window->Handle : HWND();
}

HWND SetCapture(HWND window) {
    TState& s = S();
    if (window && !Get(window)) return {};
    const HWND old = s.Capture;
    s.Capture = window;
    if (s.Backend) s.Backend->CapturePointer(bool(window));
    if (old && old != window)
        if (TWindow* o = Get(old)) Send(o, WM_CAPTURECHANGED, 0, HwndToParam(window));
    return old;
}

bool ReleaseCapture() {
    TState& s = S();
    const HWND old = s.Capture;
    s.Capture = HWND();
    if (s.Backend) s.Backend->CapturePointer(false);
    if (TWindow* o = Get(old)) Send(o, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND GetCapture() {
    return S().Capture;
}

HWND SetActiveWindow(HWND window) {
    TState& s = S();
    TWindow* w = Get(window);
    const HWND old = s.Active;
    if (!w || !CanActivate(w)) return {};
    Activate(w, WA_ACTIVE);
    return old;
}

HWND GetActiveWindow() {
    return S().Active;
}

bool SetForegroundWindow(HWND window) {
    TWindow* w = Get(window);
    if (!w || !CanActivate(w)) return false;
    Activate(w, WA_ACTIVE);
    return S().Active == window;
}

HWND GetForegroundWindow() {
    return S().Active;
}

HWND SetFocus(HWND window) {
    TState& s = S();
    const HWND old = s.Focus;
    if (!window) {
        if (TWindow* o = Get(old)) {
            s.Focus = HWND();
            Send(o, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    TWindow* w = Get(window);
    if (!w) return {};
    for (TWindow* a = w; a; a = a->Parent)
        if (a->Style & WS_DISABLED) return {};
    TWindow* root = Root(w);
    if (root->Handle != s.Active) {
        if (!CanActivate(root)) return {};
        Activate(root, WA_ACTIVE);
        if (!(w = Get(window)) || S().Active != root->Handle) return {};
    }
    if (s.Focus == window) return window;
    const HWND previous = s.Focus;
    if (TWindow* o = Get(previous)) Send(o, WM_KILLFOCUS, HwndToParam(window), 0);
    if (!(w = Get(window))) return {};
    s.Focus = window;
    Send(w, WM_SETFOCUS, HwndToParam(previous), 0);
    return previous;
}

HWND GetFocus() {
    return S().Focus;
}

bool EnableWindow(HWND window, bool enable) {
    TWindow* w = Get(window);
    if (!w) return false;
    const bool wasDisabled = (w->Style & WS_DISABLED) != 0;
    if (wasDisabled == !enable) return wasDisabled;
    if (enable) {
        w->Style &= ~DWORD(WS_DISABLED);
    } else {
        w->Style |= WS_DISABLED;
        DropFocusInside(w);
        if (!(w = Get(window))) return wasDisabled;
        for (TWindow* c = Get(S().Capture); c; c = c->Parent)
            if (c == w) {
                ReleaseCapture();
                break;
            }
    }
    if ((w = Get(window))) Send(w, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool IsWindowEnabled(HWND window) {
    TWindow* w = Get(window);
    return w && !(w->Style & WS_DISABLED);
}

std::int16_t GetKeyState(int virtualKey) {
    const std::uint8_t k = S().Keys[std::size_t(virtualKey & 0xFF)];
    return std::int16_t(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

std::int16_t GetAsyncKeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

bool GetCursorPos(TPoint& point) {
    point = S().Cursor;
    return true;
}

bool SetCursorPos(int x, int y) {
    TState& s = Ready();
    s.Cursor = {x, y};
    if (s.Sink) s.Sink->MouseInput(TMouseAction::Move, TMouseButton::Left, {x, y}, 0);
    return true;
}

HCURSOR SetCursor(HCURSOR cursor) {
    TState& s = Ready();
    const HCURSOR old = s.CursorShape;
    s.CursorShape = cursor;
    if (old != cursor) s.Backend->SetCursorShape(cursor);
    return old;
}

HCURSOR GetCursor() {
    return S().CursorShape;
}

UINT GetDoubleClickTime() {
    return S().DoubleClickMs;
}

void SetDoubleClickTime(UINT ms) {
    S().DoubleClickMs = ms ? ms : 500;
}

}  // namespace win
