// The x11 backend's inner state, shared by its source files (private: the only place besides
// them where X11 headers are seen).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win/x11_backend.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

// Xlib's None would clash with our own enumerators.
namespace win::x11 {
constexpr unsigned long kNone = None;
}
#undef None

namespace win::x11 {

constexpr long kEventMask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                            ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                            PropertyChangeMask;
constexpr long kGrabMask =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

enum TAtom {
    aWM_PROTOCOLS,
    aWM_DELETE_WINDOW,
    aUTF8_STRING,
    a_NET_WM_NAME,
    a_NET_WM_PID,
    a_NET_WM_WINDOW_TYPE,
    a_NET_WM_WINDOW_TYPE_NORMAL,
    a_NET_WM_WINDOW_TYPE_DIALOG,
    a_NET_WM_STATE,
    a_NET_WM_STATE_ABOVE,
    a_NET_WM_STATE_MAXIMIZED_VERT,
    a_NET_WM_STATE_MAXIMIZED_HORZ,
    aWM_STATE,
    a_NET_WM_WINDOW_OPACITY,
    a_NET_ACTIVE_WINDOW,
    a_NET_SUPPORTED,
    a_NET_SUPPORTING_WM_CHECK,
    a_NET_WORKAREA,
    a_NET_CURRENT_DESKTOP,
    a_MOTIF_WM_HINTS,
    aCLIPBOARD,
    aTARGETS,
    aTEXT,
    aINCR,
    aMORADEX_SELECTION,
    kAtomCount
};

// One top-level as X shows it.
struct TXWindow {
    HWND Handle;
    Window Id = 0;
    GC Gc = nullptr;
    XIC Ic = nullptr;
    bool Argb = false;
    bool OverrideRedirect = false;
    bool Mapped = false;    // we asked for it to show
    bool Viewable = false;  // the server says it shows
    // We asked the window manager to map or to iconify the window and it has not said it did
    // yet: its notices of the other state are older than the request.
    bool MapAsked = false;
    bool IconifyAsked = false;
    bool WmMaximized = false;      // the window manager holds it maximized
    unsigned long ShowSerial = 0;  // our last map, unmap or iconify request
    unsigned Opacity = 255;
    TTopLevelState State;
};

bool MatchesKey(std::uint32_t pixel, gfx::TColor key);

}  // namespace win::x11

namespace win {

using x11::TAtom;
using x11::TXWindow;

struct TX11Backend::TImpl {
    Display* Dpy = nullptr;
    int Screen = 0;
    Window Root = 0;
    Visual* DefaultVisual = nullptr;
    int DefaultDepth = 24;
    XVisualInfo ArgbVisual{};
    bool HasArgb = false;
    Colormap ArgbColormap = 0;
    bool HasShape = false;
    bool HasInputShape = false;
    bool HasMonitors = false;
    int RandrEventBase = 0;
    Atom Atoms[x11::kAtomCount] = {};
    Atom CmSelection = 0;
    XIM Im = nullptr;
    XIMStyle ImStyle = 0;
    TInputSink* Sink = nullptr;

    std::map<std::uint32_t, TXWindow> Windows;
    std::unordered_map<Window, std::uint32_t> ByX;
    std::vector<HWND> Order;  // the model's top-levels, top first
    HCURSOR ShownCursor = IDC_ARROW;
    std::map<HCURSOR, Cursor> Cursors;

    std::map<unsigned, int> KeysDown;  // key code to the virtual key the model saw go down
    std::set<unsigned> TextKeys;       // keys held that went to the model as text only
    bool DetectableRepeat = false;

    int ButtonsHeld = 0;
    bool CaptureWanted = false;
    Window GrabWindow = 0;

    HWND FocusRequested;
    HWND PendingFocus;
    Time LastTime = CurrentTime;

    bool WmKnown = false;
    bool WmPresent = false;
    bool WmActivates = false;

    std::vector<TMonitor> MonitorCache;
    bool MonitorsValid = false;
    // Lives as long as this backend: a queued hand-over checks it before it runs.
    std::shared_ptr<int> Alive = std::make_shared<int>(0);

    // One shared-memory segment for every present (MIT-SHM), grown to the largest damage seen.
    bool ShmOffered = false;  // the display said it has the extension
    bool ShmWanted = true;
    XShmSegmentInfo Shm{};
    std::size_t ShmSize = 0;

    Window Helper = 0;
    std::optional<std::string> Clipboard;
    XIMCallback ImGone{};

    ~TImpl();
    Atom A(TAtom atom) const { return Atoms[atom]; }
    TXWindow* Find(HWND h);
    TXWindow* FindX(Window id);

    void CheckWindowManager();
    bool Compositing() const;
    Cursor FontCursor(HCURSOR shape);

    void Create(TXWindow& xw, bool argb, bool overrideRedirect);
    void Destroy(TXWindow& xw);
    void Apply(TXWindow& xw, const TTopLevelState* old);
    void SetTitle(const TXWindow& xw);
    void SetTransient(const TXWindow& xw);
    void SetAbove(const TXWindow& xw);
    void SetShape(const TXWindow& xw);
    void PutArea(const TXWindow& xw, TRect area, std::uint32_t* shared = nullptr);
    bool EnsureShm(std::size_t bytes);
    void DropShm();
    void Show(TXWindow& xw, bool visible);
    // What the window manager (or another client) did to a window of ours: its WM_STATE, its
    // _NET_WM_STATE, a map we did not ask for; told to the model where it differs from what
    // the model holds.
    void WmStateChanged(TXWindow& xw);
    void NetWmStateChanged(TXWindow& xw);
    void SystemMapped(TXWindow& xw);
    void SetWmMaximized(TXWindow& xw, bool maximized);
    bool FillsWorkArea(const TRect& bounds);

    void Restack();
    void RequestFocus(TXWindow& xw);
    void Grab();
    void Ungrab();

    bool Drain();
    void Handle(XEvent& ev);
    void Key(XKeyEvent& e, bool down);
    void Button(XButtonEvent& e, bool down);
    void OnFocusIn(XFocusChangeEvent& e);
    void OnFocusOut(XFocusChangeEvent& e);
    Window CurrentFocus();
    void ReleaseHeldKeys();
    void AnswerSelection(const XSelectionRequestEvent& r);

    Window EnsureHelper();
    bool WaitFor(Window window, int type, XEvent& ev, int ms);
    std::optional<std::string> ReadSelection(Atom target);
    void ReadMonitors();
    // The monitors changed: tell the model's windows, at the next hand-over.
    void MonitorsChanged();
};

}  // namespace win
