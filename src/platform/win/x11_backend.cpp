#include "platform/win/x11_backend.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>

#include <langinfo.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include "platform/win/x11_private.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xproto.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

namespace win {

using namespace x11;

namespace {

void UseUtf8CharacterType() {
    const auto utf8 = [] { return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0; };
    if (std::setlocale(LC_CTYPE, "") && utf8()) return;
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "C");
}

}  // namespace

namespace {

const char* const kAtomNames[kAtomCount] = {
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "UTF8_STRING",
    "_NET_WM_NAME",
    "_NET_WM_PID",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_STATE",
    "_NET_WM_STATE_ABOVE",
    "_NET_WM_STATE_MAXIMIZED_VERT",
    "_NET_WM_STATE_MAXIMIZED_HORZ",
    "WM_STATE",
    "_NET_WM_WINDOW_OPACITY",
    "_NET_ACTIVE_WINDOW",
    "_NET_SUPPORTED",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_WORKAREA",
    "_NET_CURRENT_DESKTOP",
    "_MOTIF_WM_HINTS",
    "CLIPBOARD",
    "TARGETS",
    "TEXT",
    "INCR",
    "MORADEX_SELECTION",
};

struct TCursorName {
    HCURSOR Cursor;
    unsigned Shape;
};

constexpr TCursorName kCursors[] = {
    {IDC_ARROW, XC_left_ptr},
    {IDC_IBEAM, XC_xterm},
    {IDC_WAIT, XC_watch},
    {IDC_CROSS, XC_crosshair},
    {IDC_UPARROW, XC_sb_up_arrow},
    {IDC_SIZENWSE, XC_bottom_right_corner},
    {IDC_SIZENESW, XC_bottom_left_corner},
    {IDC_SIZEWE, XC_sb_h_double_arrow},
    {IDC_SIZENS, XC_sb_v_double_arrow},
    {IDC_SIZEALL, XC_fleur},
    {IDC_NO, XC_X_cursor},
    {IDC_HAND, XC_hand2},
};

// Errors that races with the server or other clients produce in normal work: a window that
// went away or stopped being viewable between our decision and the request.
int OnXError(Display* display, XErrorEvent* e) {
    const bool expected =
        ((e->error_code == BadWindow || e->error_code == BadMatch) &&
         (e->request_code == X_SetInputFocus || e->request_code == X_GetProperty ||
          e->request_code == X_ConfigureWindow || e->request_code == X_SendEvent ||
          e->request_code == X_ChangeProperty));
    if (!expected) {
        char text[256] = {};
        XGetErrorText(display, e->error_code, text, sizeof text);
        std::fprintf(stderr, "moradex: X error: %s (request %d.%d)\n", text, e->request_code,
                     e->minor_code);
    }
    return 0;
}

// Set while a segment is being attached: a server on another machine can't see our memory.
bool gShmRefused = false;

int OnShmError(Display*, XErrorEvent*) {
    gShmRefused = true;
    return 0;
}

}  // namespace

namespace x11 {

bool MatchesKey(std::uint32_t pixel, gfx::TColor key) {
    return int((pixel >> 16) & 0xFF) == gfx::GetRValue(key) &&
           int((pixel >> 8) & 0xFF) == gfx::GetGValue(key) &&
           int(pixel & 0xFF) == gfx::GetBValue(key);
}

}  // namespace x11

TX11Backend::TImpl::~TImpl() {
    if (!Dpy) return;
    for (auto& [key, xw] : Windows) Destroy(xw);
    DropShm();
    for (auto& [shape, cursor] : Cursors) XFreeCursor(Dpy, cursor);
    if (Helper) XDestroyWindow(Dpy, Helper);
    if (Im) XCloseIM(Im);
    if (ArgbColormap) XFreeColormap(Dpy, ArgbColormap);
    XCloseDisplay(Dpy);
}

TXWindow* TX11Backend::TImpl::Find(HWND h) {
    auto it = Windows.find(h.Value());
    return it == Windows.end() ? nullptr : &it->second;
}

TXWindow* TX11Backend::TImpl::FindX(Window id) {
    auto it = ByX.find(id);
    return it == ByX.end() ? nullptr : Find(HWND(it->second));
}

// --- The screen's managers ------------------------------------------------------------------

void TX11Backend::TImpl::CheckWindowManager() {
    WmKnown = true;
    WmPresent = WmActivates = false;
    auto readWindow = [&](Window on, Window& out) {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        out = 0;
        if (XGetWindowProperty(Dpy, on, A(a_NET_SUPPORTING_WM_CHECK), 0, 1, False, XA_WINDOW, &type,
                               &format, &count, &after, &data) == Success &&
            data && count == 1 && format == 32)
            out = Window(reinterpret_cast<unsigned long*>(data)[0]);
        if (data) XFree(data);
    };
    Window check = 0, again = 0;
    readWindow(Root, check);
    if (!check) return;
    readWindow(check, again);
    if (again != check) return;
    WmPresent = true;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(Dpy, Root, A(a_NET_SUPPORTED), 0, 4096, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32) {
        const auto* atoms = reinterpret_cast<unsigned long*>(data);
        WmActivates = std::find(atoms, atoms + count, A(a_NET_ACTIVE_WINDOW)) != atoms + count;
    }
    if (data) XFree(data);
}

bool TX11Backend::TImpl::Compositing() const {
    return XGetSelectionOwner(Dpy, CmSelection) != kNone;
}

Cursor TX11Backend::TImpl::FontCursor(HCURSOR shape) {
    auto it = Cursors.find(shape);
    if (it != Cursors.end()) return it->second;
    unsigned glyph = XC_left_ptr;
    for (const TCursorName& c : kCursors)
        if (c.Cursor == shape) glyph = c.Shape;
    const Cursor cursor = XCreateFontCursor(Dpy, glyph);
    Cursors[shape] = cursor;
    return cursor;
}

// --- Windows --------------------------------------------------------------------------------

void TX11Backend::TImpl::Create(TXWindow& xw, bool argb, bool overrideRedirect) {
    const TTopLevelState& s = xw.State;
    XSetWindowAttributes a{};
    a.background_pixmap = kNone;  // we paint every pixel; no flash of a background first
    a.border_pixel = 0;
    a.bit_gravity = NorthWestGravity;
    a.event_mask = kEventMask;
    a.override_redirect = overrideRedirect;
    a.colormap = argb ? ArgbColormap : DefaultColormap(Dpy, Screen);
    a.cursor = FontCursor(ShownCursor);
    const unsigned long mask = CWBackPixmap | CWBorderPixel | CWBitGravity | CWEventMask |
                               CWOverrideRedirect | CWColormap | CWCursor;
    const unsigned width = unsigned(std::max(s.Bounds.Width(), 1));
    const unsigned height = unsigned(std::max(s.Bounds.Height(), 1));
    xw.Id = XCreateWindow(Dpy, Root, s.Bounds.Left, s.Bounds.Top, width, height, 0,
                          argb ? 32 : DefaultDepth, InputOutput,
                          argb ? ArgbVisual.visual : DefaultVisual, mask, &a);
    xw.Argb = argb;
    xw.OverrideRedirect = overrideRedirect;
    xw.Mapped = xw.Viewable = false;
    xw.Opacity = 255;
    xw.Gc = XCreateGC(Dpy, xw.Id, 0, nullptr);
    ByX[xw.Id] = xw.Handle.Value();

    XClassHint hint{const_cast<char*>("moradex"), const_cast<char*>("Moradex")};
    XSetClassHint(Dpy, xw.Id, &hint);
    const auto pid = static_cast<unsigned long>(getpid());
    XChangeProperty(Dpy, xw.Id, A(a_NET_WM_PID), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    if (!overrideRedirect) {
        Atom protocols[] = {A(aWM_DELETE_WINDOW)};
        XSetWMProtocols(Dpy, xw.Id, protocols, 1);
        // The skin draws every frame: no decorations from the window manager.
        const unsigned long motif[5] = {2, 0, 0, 0, 0};
        XChangeProperty(Dpy, xw.Id, A(a_MOTIF_WM_HINTS), A(a_MOTIF_WM_HINTS), 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(motif), 5);
        XWMHints wmHints{};
        wmHints.flags = InputHint | StateHint;
        wmHints.input = !s.NoActivate;
        wmHints.initial_state = NormalState;
        XSetWMHints(Dpy, xw.Id, &wmHints);
        XSizeHints size{};
        size.flags = USPosition | USSize | PPosition | PSize;
        size.x = s.Bounds.Left;
        size.y = s.Bounds.Top;
        size.width = int(width);
        size.height = int(height);
        XSetWMNormalHints(Dpy, xw.Id, &size);
        const unsigned long type =
            s.Owner ? A(a_NET_WM_WINDOW_TYPE_DIALOG) : A(a_NET_WM_WINDOW_TYPE_NORMAL);
        XChangeProperty(Dpy, xw.Id, A(a_NET_WM_WINDOW_TYPE), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&type), 1);
        if (Im) {
            xw.Ic = XCreateIC(Im, XNInputStyle, ImStyle, XNClientWindow, xw.Id, XNFocusWindow,
                              xw.Id, nullptr);
            long filter = 0;
            if (xw.Ic && !XGetICValues(xw.Ic, XNFilterEvents, &filter, nullptr))
                XSelectInput(Dpy, xw.Id, kEventMask | filter);
        }
    }
    Apply(xw, nullptr);
}

void TX11Backend::TImpl::Destroy(TXWindow& xw) {
    if (!xw.Id) return;
    if (GrabWindow == xw.Id) GrabWindow = 0;
    if (xw.Ic) XDestroyIC(xw.Ic);
    if (xw.Gc) XFreeGC(Dpy, xw.Gc);
    XDestroyWindow(Dpy, xw.Id);
    ByX.erase(xw.Id);
    xw.Id = 0;
    xw.Ic = nullptr;
    xw.Gc = nullptr;
    xw.Mapped = xw.Viewable = false;
}

// Brings the X window in line with the state; `old` null: everything.
void TX11Backend::TImpl::Apply(TXWindow& xw, const TTopLevelState* old) {
    const TTopLevelState& s = xw.State;
    if (old && old->Bounds != s.Bounds)
        XMoveResizeWindow(Dpy, xw.Id, s.Bounds.Left, s.Bounds.Top,
                          unsigned(std::max(s.Bounds.Width(), 1)),
                          unsigned(std::max(s.Bounds.Height(), 1)));
    if (!old || old->Title != s.Title) SetTitle(xw);
    if (!old || old->Owner != s.Owner) SetTransient(xw);
    if (!old || old->Topmost != s.Topmost) SetAbove(xw);
    const unsigned opacity = s.Layer != TLayerMode::None ? s.ConstantAlpha : 255;
    if (opacity != xw.Opacity) {
        xw.Opacity = opacity;
        if (opacity == 255) {
            XDeleteProperty(Dpy, xw.Id, A(a_NET_WM_WINDOW_OPACITY));
        } else {
            const unsigned long value = opacity * 0x01010101ul;
            XChangeProperty(Dpy, xw.Id, A(a_NET_WM_WINDOW_OPACITY), XA_CARDINAL, 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
        }
    }
    const bool imageChanged =
        old && (old->Layer != s.Layer || old->LayerImage != s.LayerImage ||
                old->UseColorKey != s.UseColorKey || old->ColorKey != s.ColorKey);
    if (!old || old->Region != s.Region || imageChanged) SetShape(xw);
    if (imageChanged && xw.Mapped) PutArea(xw, {0, 0, s.Bounds.Width(), s.Bounds.Height()});
}

void TX11Backend::TImpl::SetTitle(const TXWindow& xw) {
    const std::string& title = xw.State.Title;
    XChangeProperty(Dpy, xw.Id, A(a_NET_WM_NAME), A(aUTF8_STRING), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
    char* list[] = {const_cast<char*>(title.c_str())};
    XTextProperty text{};
    if (Xutf8TextListToTextProperty(Dpy, list, 1, XStdICCTextStyle, &text) >= Success) {
        XSetWMName(Dpy, xw.Id, &text);
        XFree(text.value);
    }
}

void TX11Backend::TImpl::SetTransient(const TXWindow& xw) {
    if (xw.OverrideRedirect) return;
    const TXWindow* owner = xw.State.Owner ? Find(xw.State.Owner) : nullptr;
    if (owner && owner->Id)
        XSetTransientForHint(Dpy, xw.Id, owner->Id);
    else
        XDeleteProperty(Dpy, xw.Id, XA_WM_TRANSIENT_FOR);
}

void TX11Backend::TImpl::SetAbove(const TXWindow& xw) {
    if (xw.OverrideRedirect) return;
    if (!WmKnown) CheckWindowManager();
    if (xw.Mapped && WmPresent) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = xw.Id;
        ev.xclient.message_type = A(a_NET_WM_STATE);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = xw.State.Topmost ? 1 : 0;
        ev.xclient.data.l[1] = long(A(a_NET_WM_STATE_ABOVE));
        ev.xclient.data.l[3] = 1;
        XSendEvent(Dpy, Root, False, SubstructureNotifyMask | SubstructureRedirectMask, &ev);
        return;
    }
    if (xw.State.Topmost) {
        const unsigned long above = A(a_NET_WM_STATE_ABOVE);
        XChangeProperty(Dpy, xw.Id, A(a_NET_WM_STATE), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&above), 1);
    } else {
        XDeleteProperty(Dpy, xw.Id, A(a_NET_WM_STATE));
    }
}

// The region clips what shows and what takes the pointer; a per-pixel image also lets the
// pointer through where nothing of it shows, as the model does.
void TX11Backend::TImpl::SetShape(const TXWindow& xw) {
    if (!HasShape) return;
    const TTopLevelState& s = xw.State;
    std::vector<XRectangle> shape;
    if (s.Region) {
        for (const TRect& r : s.Region->Rects())
            shape.push_back({short(r.Left), short(r.Top), (unsigned short)(r.Width()),
                             (unsigned short)(r.Height())});
        XShapeCombineRectangles(Dpy, xw.Id, ShapeBounding, 0, 0, shape.data(), int(shape.size()),
                                ShapeSet, YXBanded);
    } else {
        XShapeCombineMask(Dpy, xw.Id, ShapeBounding, 0, 0, kNone, ShapeSet);
    }
    if (!HasInputShape) return;
    const gfx::TSurface* image = s.Layer == TLayerMode::Image ? s.LayerImage.get() : nullptr;
    if (!image) {
        if (s.Region)
            XShapeCombineRectangles(Dpy, xw.Id, ShapeInput, 0, 0, shape.data(), int(shape.size()),
                                    ShapeSet, YXBanded);
        else
            XShapeCombineMask(Dpy, xw.Id, ShapeInput, 0, 0, kNone, ShapeSet);
        return;
    }
    std::vector<XRectangle> solid;
    for (int y = 0; y < image->Height(); ++y) {
        const std::uint32_t* row = image->Pixels() + std::size_t(y) * image->Width();
        for (int x = 0; x < image->Width();) {
            auto shows = [&](std::uint32_t p) {
                return (p >> 24) * s.ConstantAlpha / 255 != 0 &&
                       !(s.UseColorKey && MatchesKey(p, s.ColorKey));
            };
            if (!shows(row[x])) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < image->Width() && shows(row[x])) ++x;
            solid.push_back({short(start), short(y), (unsigned short)(x - start), 1});
        }
    }
    XShapeCombineRectangles(Dpy, xw.Id, ShapeInput, 0, 0, solid.data(), int(solid.size()), ShapeSet,
                            YXBanded);
    if (s.Region)
        XShapeCombineRectangles(Dpy, xw.Id, ShapeInput, 0, 0, shape.data(), int(shape.size()),
                                ShapeIntersect, YXBanded);
}

// Room in the shared segment for `bytes`; false: present the plain way.
bool TX11Backend::TImpl::EnsureShm(std::size_t bytes) {
    if (!ShmOffered || !ShmWanted) return false;
    if (bytes <= ShmSize) return true;
    DropShm();
    constexpr std::size_t kStep = 1 << 20;
    const std::size_t size = (bytes + kStep - 1) / kStep * kStep;
    const int id = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (id < 0) {
        ShmOffered = false;
        return false;
    }
    void* addr = shmat(id, nullptr, 0);
    if (addr == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        ShmOffered = false;
        return false;
    }
    Shm.shmid = id;
    Shm.shmaddr = static_cast<char*>(addr);
    Shm.readOnly = True;
    // Earlier errors still reach the usual handler; an attach the server refuses (a remote
    // display that claims the extension) only turns the plain path on.
    XSync(Dpy, False);
    gShmRefused = false;
    XErrorHandler previous = XSetErrorHandler(OnShmError);
    const Status attached = XShmAttach(Dpy, &Shm);
    XSync(Dpy, False);
    XSetErrorHandler(previous);
    // Removed now, the segment goes away with the last of us and the server, even after a crash.
    shmctl(id, IPC_RMID, nullptr);
    if (!attached || gShmRefused) {
        shmdt(addr);
        Shm = {};
        ShmOffered = false;
        return false;
    }
    ShmSize = size;
    return true;
}

void TX11Backend::TImpl::DropShm() {
    if (!ShmSize) return;
    XShmDetach(Dpy, &Shm);
    XSync(Dpy, False);
    shmdt(Shm.shmaddr);
    Shm = {};
    ShmSize = 0;
}

// Copies part of what the window shows (window coordinates) to the server; through `shared`
// (room in the segment for the area's pixels) when it isn't null.
void TX11Backend::TImpl::PutArea(const TXWindow& xw, TRect area, std::uint32_t* shared) {
    const TTopLevelState& s = xw.State;
    const gfx::TSurface* source =
        s.Layer == TLayerMode::Image ? s.LayerImage.get() : s.Surface.get();
    if (!source || source->BitCount() != 32 || !xw.Id) return;
    const TRect r = gfx::IntersectRect(area, source->BoundsRect());
    if (r.IsEmpty()) return;
    // A 32-bit visual takes alpha from every pixel: opaque surfaces need it set, and keyed
    // pixels become holes.
    const bool convert = xw.Argb && (s.Layer != TLayerMode::Image || s.UseColorKey);
    std::vector<std::uint32_t> converted;
    const std::uint32_t* pixels = source->Pixels();
    int stride = source->Width(), height = source->Height(), sx = r.Left, sy = r.Top;
    if (convert || shared) {
        std::uint32_t* out = shared;
        if (!out) {
            converted.resize(std::size_t(r.Width()) * r.Height());
            out = converted.data();
        }
        for (int y = 0; y < r.Height(); ++y) {
            const std::uint32_t* in = pixels + std::size_t(r.Top + y) * stride + r.Left;
            std::uint32_t* row = out + std::size_t(y) * r.Width();
            if (!convert) {
                std::copy(in, in + r.Width(), row);
                continue;
            }
            for (int x = 0; x < r.Width(); ++x) {
                std::uint32_t p = in[x];
                if (s.UseColorKey && MatchesKey(p, s.ColorKey))
                    p = 0;
                else if (s.Layer != TLayerMode::Image)
                    p |= 0xFF000000u;
                row[x] = p;
            }
        }
        pixels = out;
        stride = r.Width();
        height = r.Height();
        sx = sy = 0;
    }
    constexpr int kOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    XImage image{};
    image.width = stride;
    image.height = height;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(const_cast<std::uint32_t*>(pixels));
    image.byte_order = kOrder;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = kOrder;
    image.bitmap_pad = 32;
    image.depth = xw.Argb ? 32 : DefaultDepth;
    image.bytes_per_line = stride * 4;
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0xFF00;
    image.blue_mask = 0xFF;
    if (!XInitImage(&image)) return;
    if (shared) {
        image.obdata = reinterpret_cast<char*>(&Shm);
        XShmPutImage(Dpy, xw.Id, xw.Gc, &image, 0, 0, r.Left, r.Top, unsigned(r.Width()),
                     unsigned(r.Height()), False);
        return;
    }
    XPutImage(Dpy, xw.Id, xw.Gc, &image, sx, sy, r.Left, r.Top, unsigned(r.Width()),
              unsigned(r.Height()));
}

void TX11Backend::TImpl::Show(TXWindow& xw, bool visible) {
    if (visible == xw.Mapped) return;
    if (!WmKnown) CheckWindowManager();
    xw.Mapped = visible;
    xw.ShowSerial = NextRequest(Dpy);
    const bool managed = !xw.OverrideRedirect && WmPresent;
    if (visible) {
        xw.MapAsked = managed;
        xw.IconifyAsked = false;
        SetTransient(xw);
        XMapWindow(Dpy, xw.Id);
        return;
    }
    // The focus it had is gone with it: the window manager's focus on its return is news.
    if (FocusRequested == xw.Handle) FocusRequested = HWND();
    if (managed && xw.State.Shown && xw.State.Minimized) {
        xw.IconifyAsked = true;
        xw.MapAsked = false;
        XIconifyWindow(Dpy, xw.Id, Screen);
    } else if (managed) {
        XWithdrawWindow(Dpy, xw.Id, Screen);
    } else {
        XUnmapWindow(Dpy, xw.Id);
    }
}

// --- What the window manager did ------------------------------------------------------------

void TX11Backend::TImpl::WmStateChanged(TXWindow& xw) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long state = -1;
    if (XGetWindowProperty(Dpy, xw.Id, A(aWM_STATE), 0, 2, False, A(aWM_STATE), &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32 && count >= 1)
        state = reinterpret_cast<long*>(data)[0];
    if (data) XFree(data);
    if (state == IconicState) {
        xw.IconifyAsked = false;
        // An owned window goes down with its owner and comes back with it, as it is.
        if (!xw.Mapped || xw.MapAsked || !xw.State.Shown || xw.State.Owner) return;
        xw.Mapped = false;
        if (FocusRequested == xw.Handle) FocusRequested = HWND();
        if (Sink) Sink->SystemShowChanged(xw.Handle, TSystemShow::Minimized);
    } else if (state == NormalState) {
        xw.MapAsked = false;
        if (!xw.IconifyAsked) SystemMapped(xw);
    }
}

// Mapped by someone else while the model holds it minimized: a task bar brought it back.
void TX11Backend::TImpl::SystemMapped(TXWindow& xw) {
    if (xw.Mapped || xw.OverrideRedirect || !xw.State.Shown || !xw.State.Minimized) return;
    xw.Mapped = true;
    if (Sink) Sink->SystemShowChanged(xw.Handle, TSystemShow::Restored);
}

void TX11Backend::TImpl::NetWmStateChanged(TXWindow& xw) {
    if (xw.OverrideRedirect) return;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool vertical = false, horizontal = false;
    if (XGetWindowProperty(Dpy, xw.Id, A(a_NET_WM_STATE), 0, 64, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32) {
        const auto* atoms = reinterpret_cast<unsigned long*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            vertical = vertical || atoms[i] == A(a_NET_WM_STATE_MAXIMIZED_VERT);
            horizontal = horizontal || atoms[i] == A(a_NET_WM_STATE_MAXIMIZED_HORZ);
        }
    }
    if (data) XFree(data);
    const bool maximized = vertical && horizontal;
    if (maximized == xw.WmMaximized) return;
    xw.WmMaximized = maximized;
    if (Sink && xw.State.Shown && !xw.State.Minimized)
        Sink->SystemShowChanged(xw.Handle,
                                maximized ? TSystemShow::Maximized : TSystemShow::Restored);
}

// Asks the window manager to take or drop its maximized state of the window.
void TX11Backend::TImpl::SetWmMaximized(TXWindow& xw, bool maximized) {
    xw.WmMaximized = maximized;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = xw.Id;
    ev.xclient.message_type = A(a_NET_WM_STATE);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = maximized ? 1 : 0;
    ev.xclient.data.l[1] = long(A(a_NET_WM_STATE_MAXIMIZED_VERT));
    ev.xclient.data.l[2] = long(A(a_NET_WM_STATE_MAXIMIZED_HORZ));
    ev.xclient.data.l[3] = 1;
    XSendEvent(Dpy, Root, False, SubstructureNotifyMask | SubstructureRedirectMask, &ev);
}

// A window maximizes itself into a work area, or one pixel inside it on every side.
bool TX11Backend::TImpl::FillsWorkArea(const TRect& bounds) {
    if (!MonitorsValid) ReadMonitors();
    for (const TMonitor& m : MonitorCache)
        if (bounds.Width() >= m.WorkArea.Width() - 2 && bounds.Height() >= m.WorkArea.Height() - 2)
            return true;
    return false;
}

void TX11Backend::TImpl::Restack() {
    std::vector<Window> ids;
    for (HWND h : Order)
        if (const TXWindow* xw = Find(h); xw && xw->Id) ids.push_back(xw->Id);
    if (!WmKnown) CheckWindowManager();
    if (!WmPresent) {
        if (ids.size() > 1) XRestackWindows(Dpy, ids.data(), int(ids.size()));
        return;
    }
    // A window manager stacks the managed windows; popups go above them, bottom first.
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        if (const TXWindow* xw = FindX(*it); xw && xw->OverrideRedirect && xw->Mapped)
            XRaiseWindow(Dpy, *it);
}

// --- The backend ----------------------------------------------------------------------------

std::unique_ptr<TX11Backend> TX11Backend::Open(const std::string& display, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return nullptr;
    };
    const std::string name = XDisplayName(display.empty() ? nullptr : display.c_str());
    Display* dpy = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (!dpy)
        return fail(name.empty() ? "no display (DISPLAY is not set)"
                                 : "cannot open display '" + name + "'");
    auto impl = std::make_unique<TImpl>();
    impl->Dpy = dpy;
    impl->Screen = DefaultScreen(dpy);
    impl->Root = RootWindow(dpy, impl->Screen);
    impl->DefaultVisual = DefaultVisual(dpy, impl->Screen);
    impl->DefaultDepth = DefaultDepth(dpy, impl->Screen);
    const Visual* v = impl->DefaultVisual;
    if ((impl->DefaultDepth != 24 && impl->DefaultDepth != 32) || v->red_mask != 0xFF0000 ||
        v->green_mask != 0xFF00 || v->blue_mask != 0xFF)
        return fail("display '" + name + "' has no 24-bit true-colour visual");
    XSetErrorHandler(OnXError);

    std::vector<char*> names;
    for (const char* n : kAtomNames) names.push_back(const_cast<char*>(n));
    XInternAtoms(dpy, names.data(), kAtomCount, False, impl->Atoms);
    const std::string cm = "_NET_WM_CM_S" + std::to_string(impl->Screen);
    impl->CmSelection = XInternAtom(dpy, cm.c_str(), False);

    if (XMatchVisualInfo(dpy, impl->Screen, 32, TrueColor, &impl->ArgbVisual)) {
        impl->HasArgb = true;
        impl->ArgbColormap = XCreateColormap(dpy, impl->Root, impl->ArgbVisual.visual, AllocNone);
    }
    int shapeEvent = 0, shapeError = 0, major = 0, minor = 0;
    if (XShapeQueryExtension(dpy, &shapeEvent, &shapeError) &&
        XShapeQueryVersion(dpy, &major, &minor)) {
        impl->HasShape = true;
        impl->HasInputShape = major > 1 || (major == 1 && minor >= 1);
    }
    int shmMajor = 0, shmMinor = 0;
    Bool shmPixmaps = False;
    impl->ShmOffered = XShmQueryVersion(dpy, &shmMajor, &shmMinor, &shmPixmaps);
    int randrError = 0;
    if (XRRQueryExtension(dpy, &impl->RandrEventBase, &randrError) &&
        XRRQueryVersion(dpy, &major, &minor) && (major > 1 || (major == 1 && minor >= 5))) {
        impl->HasMonitors = true;
        XRRSelectInput(dpy, impl->Root, RRScreenChangeNotifyMask);
    }
    XSelectInput(dpy, impl->Root, PropertyChangeMask);
    Bool supported = False;
    XkbSetDetectableAutoRepeat(dpy, True, &supported);
    impl->DetectableRepeat = supported;

    // Text comes through the input method the user set up, else through the built-in one.
    // Input methods hand text over in the character set of LC_CTYPE: in the "C" locale a
    // committed 视频 arrives as nothing, so the character type is made UTF-8 (numbers keep C).
    UseUtf8CharacterType();
    if (XSupportsLocale()) {
        XSetLocaleModifiers("");
        impl->Im = XOpenIM(dpy, nullptr, nullptr, nullptr);
        if (!impl->Im) {
            XSetLocaleModifiers("@im=none");
            impl->Im = XOpenIM(dpy, nullptr, nullptr, nullptr);
        }
    }
    if (impl->Im) {
        XIMStyles* styles = nullptr;
        if (!XGetIMValues(impl->Im, XNQueryInputStyle, &styles, nullptr) && styles) {
            for (unsigned short i = 0; i < styles->count_styles; ++i) {
                const XIMStyle style = styles->supported_styles[i];
                if (style == (XIMPreeditNothing | XIMStatusNothing)) impl->ImStyle = style;
                if (style == (XIMPreeditNone | XIMStatusNone) && !impl->ImStyle)
                    impl->ImStyle = style;
            }
            XFree(styles);
        }
        if (!impl->ImStyle) {
            XCloseIM(impl->Im);
            impl->Im = nullptr;
        } else {
            // An input method server that quits takes its contexts along.
            impl->ImGone.client_data = reinterpret_cast<XPointer>(impl.get());
            impl->ImGone.callback = [](XIM, XPointer data, XPointer) {
                auto* self = reinterpret_cast<TImpl*>(data);
                self->Im = nullptr;
                for (auto& [key, xw] : self->Windows) xw.Ic = nullptr;
            };
            XSetIMValues(impl->Im, XNDestroyCallback, &impl->ImGone, nullptr);
        }
    }
    impl->CheckWindowManager();
    return std::unique_ptr<TX11Backend>(new TX11Backend(std::move(impl)));
}

TX11Backend::TX11Backend(std::unique_ptr<TImpl> impl) : FImpl(std::move(impl)) {}

TX11Backend::~TX11Backend() = default;

TBackendCaps TX11Backend::Capabilities() const {
    TBackendCaps caps;
    caps.LayeredWindows = FImpl->HasArgb && FImpl->Compositing();
    caps.Shadows = false;
    return caps;
}

bool TX11Backend::Compositing() const {
    return FImpl->Compositing();
}

std::vector<TMonitor> TX11Backend::Monitors() const {
    if (!FImpl->MonitorsValid) FImpl->ReadMonitors();
    return FImpl->MonitorCache;
}

void TX11Backend::Attach(TInputSink* sink) {
    FImpl->Sink = sink;
}

void TX11Backend::UpdateTopLevel(const TTopLevelState& state) {
    TImpl& f = *FImpl;
    TXWindow& xw = f.Windows[state.Window.Value()];
    const TTopLevelState old = xw.State;
    xw.Handle = state.Window;
    xw.State = state;
    const bool visible = state.Shown && !state.Minimized && !state.Bounds.IsEmpty();
    // Windows the model never activates are the system's popups: unmanaged, never focused.
    const bool overrideRedirect = state.Popup && state.NoActivate;
    const bool argb = state.Layer != TLayerMode::None && f.HasArgb && f.Compositing();
    if (xw.Id && (xw.Argb != argb || xw.OverrideRedirect != overrideRedirect)) f.Destroy(xw);
    if (!xw.Id) {
        if (!visible) return;  // an X window only once there is something to show
        f.Create(xw, argb, overrideRedirect);
        f.Restack();
    } else {
        // The window manager holds it maximized and it took bounds of its own: the manager lets
        // go, or it would keep the window in its maximized place.
        if (xw.WmMaximized && old.Bounds != state.Bounds && !f.FillsWorkArea(state.Bounds))
            f.SetWmMaximized(xw, false);
        f.Apply(xw, &old);
    }
    f.Show(xw, visible);
}

void TX11Backend::RemoveTopLevel(HWND window) {
    TImpl& f = *FImpl;
    auto it = f.Windows.find(window.Value());
    if (it == f.Windows.end()) return;
    f.Destroy(it->second);
    f.Windows.erase(it);
    if (f.PendingFocus == window) f.PendingFocus = HWND();
    if (f.FocusRequested == window) f.FocusRequested = HWND();
    if (f.CaptureWanted) f.Grab();
}

void TX11Backend::Restack(const std::vector<HWND>& topToBottom) {
    FImpl->Order = topToBottom;
    FImpl->Restack();
}

void TX11Backend::Present(HWND window, const TRegion& damage) {
    TImpl& f = *FImpl;
    const TXWindow* xw = f.Find(window);
    if (!xw || !xw->Mapped || xw->State.Layer == TLayerMode::Image) return;
    std::size_t bytes = 0;
    for (const TRect& r : damage.Rects())
        if (!r.IsEmpty()) bytes += std::size_t(r.Width()) * r.Height() * 4;
    if (bytes && f.EnsureShm(bytes)) {
        // Each area gets its own room: the server reads them all after we queued the puts.
        auto* room = reinterpret_cast<std::uint32_t*>(f.Shm.shmaddr);
        for (const TRect& r : damage.Rects()) {
            if (r.IsEmpty()) continue;
            f.PutArea(*xw, r, room);
            room += std::size_t(r.Width()) * r.Height();
        }
        // The next present writes the segment again: the server must be done reading it.
        XSync(f.Dpy, False);
        return;
    }
    for (const TRect& r : damage.Rects()) f.PutArea(*xw, r, nullptr);
}

bool TX11Backend::UseSharedMemory(bool use) {
    TImpl& f = *FImpl;
    f.ShmWanted = use;
    if (!use) f.DropShm();
    return use && f.ShmOffered;
}

void TX11Backend::SetCursorShape(HCURSOR cursor) {
    TImpl& f = *FImpl;
    f.ShownCursor = cursor;
    const Cursor shape = f.FontCursor(cursor);
    for (const auto& [key, xw] : f.Windows)
        if (xw.Id) XDefineCursor(f.Dpy, xw.Id, shape);
}

void TX11Backend::SetClipboardText(const std::string& utf8) {
    TImpl& f = *FImpl;
    f.Clipboard = utf8;
    XSetSelectionOwner(f.Dpy, f.A(aCLIPBOARD), f.EnsureHelper(), f.LastTime);
    if (XGetSelectionOwner(f.Dpy, f.A(aCLIPBOARD)) != f.Helper) {
        f.Clipboard.reset();
        std::fprintf(stderr, "moradex: the X server refused us the clipboard\n");
    }
}

std::optional<std::string> TX11Backend::ClipboardText() const {
    TImpl& f = *FImpl;
    const Window owner = XGetSelectionOwner(f.Dpy, f.A(aCLIPBOARD));
    if (owner == kNone) return std::nullopt;
    if (owner == f.Helper) return f.Clipboard;
    f.EnsureHelper();
    if (auto text = f.ReadSelection(f.A(aUTF8_STRING))) return text;
    return f.ReadSelection(XA_STRING);
}

void TX11Backend::WaitForEvents(int wakeFd, int timeoutMs) {
    TImpl& f = *FImpl;
    if (f.Drain()) return;
    pollfd fds[2] = {{ConnectionNumber(f.Dpy), POLLIN, 0}, {wakeFd, POLLIN, 0}};
    int ready;
    while ((ready = poll(fds, 2, timeoutMs)) < 0 && errno == EINTR) {
    }
    if (ready > 0 && fds[0].revents) f.Drain();
}

void TX11Backend::PollEvents() {
    FImpl->Drain();
}

void TX11Backend::ActivateTopLevel(HWND window) {
    TImpl& f = *FImpl;
    TXWindow* xw = f.Find(window);
    if (xw && xw->OverrideRedirect) return;
    if (!xw || !xw->Viewable) {
        f.PendingFocus = window;  // focus needs a window the server shows
        return;
    }
    f.RequestFocus(*xw);
}

void TX11Backend::CapturePointer(bool captured) {
    TImpl& f = *FImpl;
    f.CaptureWanted = captured;
    if (captured)
        f.Grab();
    else if (f.ButtonsHeld == 0)
        f.Ungrab();
}

void TX11Backend::Beep(unsigned) {
    XBell(FImpl->Dpy, 0);
    XFlush(FImpl->Dpy);
}

void TX11Backend::SetTextSpot(HWND topLevel, TPoint spot) {
    TXWindow* xw = FImpl->Find(topLevel);
    if (!xw || !xw->Ic) return;
    XPoint at{short(spot.X), short(spot.Y)};
    XVaNestedList attributes = XVaCreateNestedList(0, XNSpotLocation, &at, nullptr);
    XSetICValues(xw->Ic, XNPreeditAttributes, attributes, nullptr);
    XFree(attributes);
}

std::uint64_t TX11Backend::XWindowOf(HWND window) const {
    const TXWindow* xw = FImpl->Find(window);
    return xw ? xw->Id : 0;
}

}  // namespace win
