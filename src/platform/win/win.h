// The window layer: windows with procedures and messages, painting into one surface per
// top-level, input routing, activation and focus, modal loops, timers, monitors and the
// clipboard, over a backend that only shows surfaces and feeds input (backend.h).
//
// It owns every window, the message queue, the timer table and the DCs it hands out. Windows and
// everything below are main-thread only; PostMessage, PostQuitMessage and the video host
// (video_host.h) may be used from any thread and wake the main loop. Hand-overs queued with
// sys::CallInMainThread / QueueInMainThread run in every loop of this layer, nested ones
// included. Every timer and double-click test reads sys::Clock().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/gfx/dc.h"
#include "platform/win/backend.h"
#include "platform/win/types.h"

namespace win {

using gfx::HDC;

// --- Set-up --------------------------------------------------------------------------------

// Starts the layer with `backend` (nullptr: CreateDefaultBackend()), installs the message pump
// that sys::PumpingWait runs, and takes the calling thread as the main thread's loop. Calling it
// again replaces the backend after destroying every window.
void Initialize(std::unique_ptr<TBackend> backend = nullptr);
// Destroys every window and empties the queue, timers, filters and hooks.
void Finalize();
TBackend& Backend();
TBackendCaps GetBackendCaps();

// What the layer holds now; tests check that finished work leaves nothing behind.
struct TWinStats {
    std::size_t Windows = 0;
    std::size_t Posted = 0;  // queued messages and input
    std::size_t Timers = 0;
    std::size_t DCs = 0;
    std::size_t Filters = 0;
    std::size_t ModalLoops = 0;
};
TWinStats GetWinStats();

// --- Classes and windows --------------------------------------------------------------------

using TWndProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

struct TWndClass {
    std::string Name;
    UINT Style = 0;
    TWndProc Proc;                         // empty: DefWindowProc
    gfx::TColor Background = gfx::clNone;  // what DefWindowProc erases with; clNone: nothing
    HCURSOR Cursor = IDC_ARROW;
};
// false when the name is taken.
bool RegisterClass(const TWndClass& wndClass);
bool UnregisterClass(const std::string& name);
// The name the window's class was registered with; empty for an invalid window.
std::string GetClassName(HWND window);
// Class style of the window's class (GCL_STYLE); setting it changes the class for all windows.
DWORD GetClassLong(HWND window, int index);
DWORD SetClassLong(HWND window, int index, DWORD value);

// `parent` is the parent of a WS_CHILD window and the owner of any other. Sends WM_NCCREATE,
// WM_NCCALCSIZE, WM_CREATE (and WM_PARENTNOTIFY); shows the window when WS_VISIBLE is given.
// Null when the class is unknown or WM_NCCREATE / WM_CREATE refuse.
HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& text,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    void* createParams = nullptr);
// Owned windows and children go first; WM_DESTROY runs parent first, WM_NCDESTROY children
// first.
bool DestroyWindow(HWND window);
bool IsWindow(HWND window);

// The window's procedure chain: a subclass link sees messages before the links installed
// earlier and the class procedure, and passes them on through `next`. Tokens are removed in any
// order, also from inside a running link.
using TSubclassToken = std::uint64_t;
class TNextProc;
using TSubclassProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, const TNextProc& next)>;
class TNextProc {
public:
    LRESULT operator()(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    friend struct TChainAccess;
    explicit TNextProc(const void* link) : FLink(link) {}
    const void* FLink;
};
TSubclassToken SubclassWindow(HWND window, TSubclassProc proc);
bool RemoveSubclass(HWND window, TSubclassToken token);

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

std::intptr_t GetWindowLongPtr(HWND window, int index);
// Returns the old value. Style bits change as they are, without messages; removing
// WS_EX_LAYERED drops the layered state.
std::intptr_t SetWindowLongPtr(HWND window, int index, std::intptr_t value);

// The window rectangle that the default frame of this style puts around a client rectangle.
bool AdjustWindowRectEx(TRect& rect, DWORD style, bool menu, DWORD exStyle);

bool SetWindowText(HWND window, const std::string& text);
std::string GetWindowText(HWND window);

HWND GetParent(HWND window);  // the parent of a child, else the owner
HWND GetAncestor(HWND window, int flags);
HWND GetWindow(HWND window, int command);
HWND GetTopWindow(HWND parent);  // null parent: the top-level at the top of the screen
bool IsChild(HWND parent, HWND window);
// Re-homes a child; null makes it a top-level (owner-less). Returns the old parent.
HWND SetParent(HWND window, HWND newParent);

// --- Messages and the loop -----------------------------------------------------------------

// Calls the window's chain now (re-entrant). From another thread the call is handed to the main
// thread and waited for. 0 for an invalid window.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues for the main loop; any thread. False for an invalid window.
bool PostMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
void PostQuitMessage(int exitCode);

// One item in the loop's order: hand-overs, posted messages and input (routed on the way),
// WM_QUIT, then WM_PAINT for an invalid window, then a due WM_TIMER. False when nothing waits.
bool PeekMessage(MSG& msg, UINT removeFlags = PM_REMOVE);
// Waits for a message; false on WM_QUIT.
bool GetMessage(MSG& msg);
// Waits until PeekMessage would find something (or the backend woke us).
void WaitMessage();
// Key-down to character messages, queued to be handed out next.
bool TranslateMessage(const MSG& msg);
LRESULT DispatchMessage(const MSG& msg);

// Runs the filters, then translates and dispatches. What every loop of this layer does with an
// item.
void HandleMessage(const MSG& msg);
// One item of the loop; false when there was nothing to do.
bool ProcessMessage();
// Everything pending now, hand-overs included; returns how many items ran.
int PumpMessages();
// The application's main loop; returns WM_QUIT's exit code.
int RunMessageLoop();

// A pre-dispatch filter sees every item of every loop first; true means handled (not
// dispatched).
using TMessageFilter = std::function<bool(MSG&)>;
using TFilterToken = std::uint64_t;
TFilterToken AddMessageFilter(TMessageFilter filter);
bool RemoveMessageFilter(TFilterToken token);

// Numbers from 0xC000 up, one per name.
UINT RegisterWindowMessage(const std::string& name);

// The message being handled, as the loop handed it out.
TPoint GetMessagePos();

// --- Timers ----------------------------------------------------------------------------------

// Replaces a timer with the same id; WM_TIMER comes at most once per period, never in bursts.
// Returns id, or 0 for an invalid window.
std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT elapseMs);
bool KillTimer(HWND window, std::uintptr_t id);

// --- Modal loops ------------------------------------------------------------------------------

// Disables the application's other top-levels, activates `window` and runs a nested loop until
// EndModalLoop; then re-enables what it disabled and returns the result. WM_QUIT ends it with 0
// and stays queued.
int RunModalLoop(HWND window);
bool EndModalLoop(HWND window, int result);
bool IsInModalLoop(HWND window);

// --- Geometry --------------------------------------------------------------------------------

bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint = true);
// Sends WM_SHOWWINDOW first; returns whether the window was visible before.
bool ShowWindow(HWND window, int command);
bool IsWindowVisible(HWND window);  // the window and every ancestor
bool IsIconic(HWND window);
bool IsZoomed(HWND window);
bool BringWindowToTop(HWND window);

bool GetWindowRect(HWND window, TRect& rect);  // screen
bool GetClientRect(HWND window, TRect& rect);  // (0, 0, width, height)
bool ClientToScreen(HWND window, TPoint& point);
bool ScreenToClient(HWND window, TPoint& point);
// Maps points from one window's client coordinates to another's (null = screen).
void MapWindowPoints(HWND from, HWND to, TPoint* points, int count);
// The rectangle a window had before it was minimized or maximized (parent coordinates).
TRect GetNormalRect(HWND window);

// The window gets its own copy; nullopt removes the region. Window coordinates.
bool SetWindowRgn(HWND window, std::optional<TRegion> region, bool redraw);
// The region kind (gfx::SIMPLEREGION ...) or gfx::RGN_ERROR when the window has none.
int GetWindowRgn(HWND window, TRegion& region);

// The deepest visible enabled window under a screen point that does not let it through.
HWND WindowFromPoint(TPoint screen);

// --- Layered windows ------------------------------------------------------------------------

bool SetLayeredWindowAttributes(HWND window, gfx::TColor key, std::uint8_t alpha, DWORD flags);
// Replaces the window's look by `image` (premultiplied 32-bit); position and size move the
// window; ULW_ALPHA with AC_SRC_ALPHA makes per-pixel alpha count (alpha 0 lets the mouse
// through).
bool UpdateLayeredWindow(HWND window, const TPoint* position, const TSize* size,
                         const gfx::TSurface& image, TPoint source, gfx::TColor key,
                         const BLENDFUNCTION& blend, DWORD flags);

// --- Painting ----------------------------------------------------------------------------------

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false;  // the background still needs erasing (WM_ERASEBKGND answered 0)
    TRect rcPaint;        // client coordinates
};

// Client coordinates; null rect = the whole client area.
bool InvalidateRect(HWND window, const TRect* rect, bool erase);
bool InvalidateRgn(HWND window, const TRegion* region, bool erase);
bool ValidateRect(HWND window, const TRect* rect);
bool RedrawWindow(HWND window, const TRect* rect, const TRegion* region, UINT flags);
// Paints the window now when it has something invalid (frame and client).
bool UpdateWindow(HWND window);
bool GetUpdateRect(HWND window, TRect* rect, bool erase);

// BeginPaint sends WM_ERASEBKGND when asked for and validates; the DC is clipped to the update
// region and the visible area.
HDC BeginPaint(HWND window, PAINTSTRUCT& paint);
bool EndPaint(HWND window, const PAINTSTRUCT& paint);
// Client area / whole window, clipped to the visible area (children, siblings, region).
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
inline WPARAM DcToParam(HDC dc) {
    return WPARAM(reinterpret_cast<std::uintptr_t>(dc));
}
inline HDC ParamToDc(WPARAM value) {
    return reinterpret_cast<HDC>(static_cast<std::uintptr_t>(value));
}

// The top-level's image (frame, client and children), window size. Null for a child.
gfx::HBITMAP GetWindowSurface(HWND window);

// --- Input, activation, focus --------------------------------------------------------------

HWND SetCapture(HWND window);
bool ReleaseCapture();
HWND GetCapture();

HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetFocus(HWND window);
HWND GetFocus();
// Sends WM_ENABLE; a disabled window loses the focus and is never activated.
bool EnableWindow(HWND window, bool enable);
bool IsWindowEnabled(HWND window);

// High bit: down; low bit: toggled. State as of the message being handled.
std::int16_t GetKeyState(int virtualKey);
std::int16_t GetAsyncKeyState(int virtualKey);

// The hot spot and masks of a standard cursor; false for an unknown one.
bool GetIconInfo(HCURSOR cursor, ICONINFO& info);

// The system bell through the backend (0xFFFFFFFF or an MB_ICON* sound type).
bool MessageBeep(UINT type);

bool GetCursorPos(TPoint& point);
bool SetCursorPos(int x, int y);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
UINT GetDoubleClickTime();
void SetDoubleClickTime(UINT ms);

// --- Monitors, metrics, clipboard ------------------------------------------------------------

HMONITOR MonitorFromPoint(TPoint point, DWORD flags);
HMONITOR MonitorFromRect(const TRect& rect, DWORD flags);
HMONITOR MonitorFromWindow(HWND window, DWORD flags);
bool GetMonitorInfo(HMONITOR monitor, MONITORINFO& info);
int GetSystemMetrics(int index);
// SPI_GETWORKAREA (TRect*) and SPI_GETDRAGFULLWINDOWS (bool*).
bool SystemParametersInfo(UINT action, void* param);
// Tells every top-level that the monitors changed (WM_DISPLAYCHANGE); backends call it.
void DisplayChanged();

bool SetClipboardText(const std::string& utf8);
std::optional<std::string> GetClipboardText();

}  // namespace win
