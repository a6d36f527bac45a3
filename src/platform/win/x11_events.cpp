// X events to the model's input, focus and activation, the pointer grab.
#include <algorithm>

#include "platform/win/win.h"
#include "platform/win/x11_keymap.h"
#include "platform/win/x11_private.h"

#include <X11/extensions/Xrandr.h>

namespace win {

using namespace x11;

namespace {

constexpr int kWheelStep = 120;

// Text as it arrives from a key: control characters travel as keys, not as text.
std::string Printable(const std::string& text) {
    std::string out;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) out += c;
    }
    return out;
}

}  // namespace

// --- Focus and the pointer grab -------------------------------------------------------------

void TX11Backend::TImpl::RequestFocus(TXWindow& xw) {
    PendingFocus = HWND();
    FocusRequested = xw.Handle;
    if (!WmKnown) CheckWindowManager();
    if (WmActivates) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = xw.Id;
        ev.xclient.message_type = A(a_NET_ACTIVE_WINDOW);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 1;  // a request from an application
        ev.xclient.data.l[1] = long(LastTime);
        XSendEvent(Dpy, Root, False, SubstructureNotifyMask | SubstructureRedirectMask, &ev);
    } else {
        XSetInputFocus(Dpy, xw.Id, RevertToParent, CurrentTime);
    }
}

void TX11Backend::TImpl::Grab() {
    if (GrabWindow) return;
    const TXWindow* on = Find(FocusRequested);
    if (!on || !on->Viewable)
        for (const auto& [key, xw] : Windows)
            if (xw.Viewable) on = &xw;
    if (!on || !on->Viewable) return;
    if (XGrabPointer(Dpy, on->Id, True, kGrabMask, GrabModeAsync, GrabModeAsync, kNone, kNone,
                     CurrentTime) == GrabSuccess)
        GrabWindow = on->Id;
}

void TX11Backend::TImpl::Ungrab() {
    if (!GrabWindow) return;
    // At once: the next press may already belong to another program.
    XUngrabPointer(Dpy, CurrentTime);
    XSync(Dpy, False);
    GrabWindow = 0;
}

// --- Events ---------------------------------------------------------------------------------

bool TX11Backend::TImpl::Drain() {
    bool any = false;
    while (XPending(Dpy)) {
        XEvent ev;
        XNextEvent(Dpy, &ev);
        any = true;
        if (XFilterEvent(&ev, kNone)) continue;
        Handle(ev);
    }
    return any;
}

void TX11Backend::TImpl::Handle(XEvent& ev) {
    if (HasMonitors && ev.type == RandrEventBase + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&ev);
        MonitorsChanged();
        return;
    }
    switch (ev.type) {
        case Expose:
            if (TXWindow* xw = FindX(ev.xexpose.window))
                PutArea(*xw, gfx::Bounds(ev.xexpose.x, ev.xexpose.y, ev.xexpose.width,
                                         ev.xexpose.height));
            break;
        case MapNotify:
            if (TXWindow* xw = FindX(ev.xmap.window)) {
                xw->Viewable = true;
                xw->MapAsked = false;
                // A map from before our last unmap or iconify is old news.
                if (!xw->IconifyAsked && ev.xmap.serial >= xw->ShowSerial) SystemMapped(*xw);
                if (PendingFocus == xw->Handle) RequestFocus(*xw);
                if (CaptureWanted) Grab();
            }
            break;
        case UnmapNotify:
            if (TXWindow* xw = FindX(ev.xunmap.window)) {
                xw->Viewable = false;
                if (GrabWindow == xw->Id) {
                    GrabWindow = 0;  // the server dropped the grab with the window
                    if (CaptureWanted) Grab();
                }
            }
            break;
        case KeyPress:
        case KeyRelease:
            Key(ev.xkey, ev.type == KeyPress);
            break;
        case ButtonPress:
        case ButtonRelease:
            Button(ev.xbutton, ev.type == ButtonPress);
            break;
        case MotionNotify: {
            // Only the newest of a run of moves matters.
            while (XEventsQueued(Dpy, QueuedAlready) > 0) {
                XEvent next;
                XPeekEvent(Dpy, &next);
                if (next.type != MotionNotify) break;
                XNextEvent(Dpy, &ev);
            }
            LastTime = ev.xmotion.time;
            if (Sink)
                Sink->MouseInput(TMouseAction::Move, TMouseButton::Left,
                                 {ev.xmotion.x_root, ev.xmotion.y_root}, 0);
            break;
        }
        case EnterNotify:
        case LeaveNotify:
            // Leaving for another program's window ends the hover the model keeps.
            if (ev.xcrossing.mode == NotifyNormal && !GrabWindow && ButtonsHeld == 0 && Sink)
                Sink->MouseInput(TMouseAction::Move, TMouseButton::Left,
                                 {ev.xcrossing.x_root, ev.xcrossing.y_root}, 0);
            break;
        case FocusIn:
            OnFocusIn(ev.xfocus);
            break;
        case FocusOut:
            OnFocusOut(ev.xfocus);
            break;
        case ClientMessage:
            if (ev.xclient.message_type == A(aWM_PROTOCOLS) &&
                Atom(ev.xclient.data.l[0]) == A(aWM_DELETE_WINDOW))
                if (TXWindow* xw = FindX(ev.xclient.window))
                    PostMessage(xw->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case MappingNotify:
            XRefreshKeyboardMapping(&ev.xmapping);
            break;
        case PropertyNotify:
            if (ev.xproperty.window != Root) {
                if (TXWindow* xw = FindX(ev.xproperty.window)) {
                    if (ev.xproperty.atom == A(aWM_STATE)) WmStateChanged(*xw);
                    if (ev.xproperty.atom == A(a_NET_WM_STATE)) NetWmStateChanged(*xw);
                }
                break;
            }
            if (ev.xproperty.atom == A(a_NET_WORKAREA) ||
                ev.xproperty.atom == A(a_NET_CURRENT_DESKTOP)) {
                MonitorsChanged();
            } else if (ev.xproperty.atom == A(a_NET_SUPPORTING_WM_CHECK) ||
                       ev.xproperty.atom == A(a_NET_SUPPORTED)) {
                WmKnown = false;
            }
            break;
        case SelectionRequest:
            AnswerSelection(ev.xselectionrequest);
            break;
        case SelectionClear:
            if (ev.xselectionclear.selection == A(aCLIPBOARD)) Clipboard.reset();
            break;
        default:
            break;
    }
}

void TX11Backend::TImpl::Key(XKeyEvent& e, bool down) {
    LastTime = e.time;
    if (!Sink) return;
    const unsigned code = e.keycode;
    if (!down) {
        if (TextKeys.erase(code)) return;
        auto it = KeysDown.find(code);
        if (it == KeysDown.end()) return;
        // Without detectable auto-repeat a repeat comes as a release and a press at one time.
        if (!DetectableRepeat && XEventsQueued(Dpy, QueuedAfterReading) > 0) {
            XEvent next;
            XPeekEvent(Dpy, &next);
            if (next.type == KeyPress && next.xkey.keycode == code && next.xkey.time == e.time)
                return;
        }
        const int vk = it->second;
        KeysDown.erase(it);
        Sink->KeyInput(vk, false, 1);
        return;
    }

    std::string text;
    KeySym sym = NoSymbol;
    const TXWindow* xw = FindX(e.window);
    if (xw && xw->Ic) {
        char buffer[64];
        Status status = 0;
        int length = Xutf8LookupString(xw->Ic, &e, buffer, sizeof buffer, &sym, &status);
        if (status == XBufferOverflow) {
            std::string big(std::size_t(length), '\0');
            length = Xutf8LookupString(xw->Ic, &e, big.data(), length, &sym, &status);
            text = big.substr(0, std::size_t(std::max(length, 0)));
        } else if (status == XLookupChars || status == XLookupBoth) {
            text.assign(buffer, std::size_t(std::max(length, 0)));
        }
    } else {
        char buffer[32];
        XLookupString(&e, buffer, sizeof buffer, &sym, nullptr);
        if (const std::uint32_t ch = x11::CharOf(std::uint32_t(sym))) AppendUtf8(text, ch);
    }
    text = Printable(text);
    if (e.state & (ControlMask | Mod1Mask)) text.clear();  // shortcuts travel as keys

    int vk = 0;
    if (code) {
        if (sym != NoSymbol && x11::IsKeypadSym(std::uint32_t(sym))) {
            vk = x11::VirtualKeyOf(std::uint32_t(sym));
        } else {
            vk = x11::VirtualKeyOf(std::uint32_t(XLookupKeysym(&e, 0)));
            if (!vk) vk = x11::VirtualKeyOf(std::uint32_t(XLookupKeysym(&e, 1)));
        }
    }
    // The model translates keys as a US layout does; where the layout here gives another
    // character, the character goes as text and the key stays out of the model.
    const std::uint32_t expected =
        vk ? KeyToChar(vk, e.state & ShiftMask, e.state & ControlMask, e.state & LockMask) : 0;
    if (!text.empty() && expected && SingleCodePoint(text) != expected) {
        TextKeys.insert(code);
        Sink->TextInput(text);
        return;
    }
    if (vk) {
        KeysDown[code] = vk;
        Sink->KeyInput(vk, true, 1);
    }
    if (!text.empty() && !expected) Sink->TextInput(text);
}

void TX11Backend::TImpl::Button(XButtonEvent& e, bool down) {
    LastTime = e.time;
    const TPoint at{e.x_root, e.y_root};
    if (e.button == Button4 || e.button == Button5) {
        if (down && Sink)
            Sink->MouseInput(TMouseAction::Wheel, TMouseButton::Left, at,
                             e.button == Button4 ? kWheelStep : -kWheelStep);
        return;
    }
    if (e.button > Button3) return;
    const TMouseButton button = e.button == Button1   ? TMouseButton::Left
                                : e.button == Button2 ? TMouseButton::Middle
                                                      : TMouseButton::Right;
    ButtonsHeld = std::max(ButtonsHeld + (down ? 1 : -1), 0);
    if (Sink) Sink->MouseInput(down ? TMouseAction::Down : TMouseAction::Up, button, at, 0);
    if (!down && ButtonsHeld == 0 && !CaptureWanted) Ungrab();
}

Window TX11Backend::TImpl::CurrentFocus() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(Dpy, &focus, &revert);
    return focus;
}

// Focus events may be old news by the time we read them; only the focus as it is now counts.
void TX11Backend::TImpl::OnFocusIn(XFocusChangeEvent& e) {
    if (e.mode == NotifyGrab || e.mode == NotifyUngrab || e.detail == NotifyPointer) return;
    TXWindow* xw = FindX(e.window);
    if (!xw) return;
    if (xw->Ic) XSetICFocus(xw->Ic);
    if (xw->Handle == FocusRequested || CurrentFocus() != xw->Id) return;
    FocusRequested = xw->Handle;
    if (Sink) Sink->SystemActivated(xw->Handle);
}

void TX11Backend::TImpl::OnFocusOut(XFocusChangeEvent& e) {
    if (e.mode == NotifyGrab || e.mode == NotifyUngrab || e.detail == NotifyPointer ||
        e.detail == NotifyInferior)
        return;
    if (TXWindow* xw = FindX(e.window))
        if (xw->Ic) XUnsetICFocus(xw->Ic);
    if (FindX(CurrentFocus())) return;  // moved between windows of ours
    ReleaseHeldKeys();
    FocusRequested = HWND();
    if (Sink) Sink->AppDeactivated();
}

// Keys released while another program had the keyboard would stay down in the model.
void TX11Backend::TImpl::ReleaseHeldKeys() {
    TextKeys.clear();
    const auto held = std::move(KeysDown);
    KeysDown.clear();
    if (!Sink) return;
    for (const auto& [code, vk] : held) Sink->KeyInput(vk, false, 1);
}

}  // namespace win
