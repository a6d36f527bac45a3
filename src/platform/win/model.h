// The window model's own state and the helpers its parts share (not public).
#pragma once

#include <array>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win/scroll_info.h"
#include "platform/win/video_host.h"
#include "platform/win/win.h"

namespace win::detail {

struct TClass {
    std::string Name;
    UINT Style = 0;
    TWndProc Proc;
    gfx::TColor Background = gfx::clNone;
    HCURSOR Cursor = IDC_ARROW;
};

// One link of a procedure chain. A removed link keeps its Next, so a call running inside it
// still reaches the rest of the chain.
struct TLink {
    TSubclassToken Token = 0;  // 0: the class procedure at the tail
    TSubclassProc Proc;
    std::shared_ptr<TLink> Next;
    bool Removed = false;
};

struct TWindow {
    HWND Handle;
    std::shared_ptr<TClass> Class;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    TWindow* Parent = nullptr;       // WS_CHILD windows
    TWindow* Owner = nullptr;        // top-levels
    std::vector<TWindow*> Children;  // top of the z-order first
    TRect Rect;                      // parent client coordinates; screen for a top-level
    TRect Client;                    // window coordinates
    TRect NormalRect;
    std::string Text;
    std::optional<TRegion> Region;  // window coordinates
    std::intptr_t Id = 0;
    std::intptr_t UserData = 0;
    std::shared_ptr<TLink> Chain;
    bool Destroying = false;
    bool Destroyed = false;

    // Painting: update region in client coordinates.
    TRegion Update;
    bool Erase = false;
    bool EraseRefused = false;  // the last erase was not done by the procedure
    bool FrameDirty = false;
    gfx::HBITMAP Surface;  // top-levels only
    TRegion Damage;        // top-levels: painted since the last present, window coordinates

    TLayerMode Layer = TLayerMode::None;
    std::uint8_t Alpha = 255;
    bool UseColorKey = false;
    gfx::TColor ColorKey = 0;
    gfx::HBITMAP LayerImage;

    std::shared_ptr<TVideoHost> VideoHost;
    SCROLLINFO ScrollBars[2]{};  // SB_HORZ, SB_VERT; kept whether or not a bar shows

    int Width() const { return Rect.Width(); }
    int Height() const { return Rect.Height(); }
};

enum class TItemKind { Message, Mouse, Key, Text, VideoRepaint };

struct TQueueItem {
    TItemKind Kind = TItemKind::Message;
    MSG Msg;
    TMouseAction Action = TMouseAction::Move;
    TMouseButton Button = TMouseButton::Left;
    TPoint Point;
    int Wheel = 0;
    int Key = 0;
    bool Down = false;
    int Repeat = 1;
    std::string Text;
};

struct TTimer {
    std::int64_t IntervalMicros = 0;
    std::int64_t DueMicros = 0;
};

struct TFilterEntry {
    TFilterToken Token;
    std::shared_ptr<TMessageFilter> Filter;
};

struct TDCEntry {
    std::unique_ptr<gfx::TDC> DC;
    HWND Window;
    TWindow* Root = nullptr;
};

struct TModal {
    HWND Window;
    bool Ended = false;
    int Result = 0;
};

struct TLastClick {
    HWND Window;
    UINT Message = 0;  // the down message it produced
    TMouseButton Button = TMouseButton::Left;
    TPoint Point;
    std::int64_t TimeMicros = 0;
    bool Valid = false;
};

struct TState {
    TState();
    ~TState();

    std::unique_ptr<TBackend> Backend;
    std::unique_ptr<TInputSink> Sink;
    bool Initialized = false;

    std::unordered_map<std::uint32_t, std::shared_ptr<TWindow>> Windows;
    std::uint32_t NextHandle = 0x100;
    std::vector<TWindow*> TopLevels;  // top of the screen first
    std::map<std::string, std::shared_ptr<TClass>> Classes;

    // Shared with other threads.
    std::mutex QueueLock;
    std::deque<TQueueItem> Queue;
    bool QuitPosted = false;
    int QuitCode = 0;

    std::deque<MSG> Translated;  // character messages, handed out before the queue
    std::map<std::pair<std::uint32_t, std::uintptr_t>, TTimer> Timers;
    std::vector<TFilterEntry> Filters;
    TFilterToken NextFilter = 1;
    TSubclassToken NextSubclass = 1;
    std::map<std::string, UINT> Registered;
    UINT NextRegistered = 0xC000;
    std::vector<std::unique_ptr<TDCEntry>> DCs;
    std::vector<TModal*> Modals;

    HWND Active;
    HWND Focus;
    HWND Capture;
    HWND Hover;
    TPoint Cursor;
    HCURSOR CursorShape = IDC_ARROW;
    std::array<std::uint8_t, 256> Keys{};  // bit 0x80 down, bit 1 toggled
    int AltUsedSince = 0;                  // keys pressed while Alt was held
    TLastClick LastClick;
    UINT DoubleClickMs = 500;
    MSG Current;
    bool InSizeMove = false;
};

TState& S();
// Lazily starts the layer with the default backend.
TState& Ready();

TWindow* Get(HWND h);
TWindow* Root(TWindow* w);
bool IsVisibleChain(const TWindow* w);
// The window's top-left in its root surface, and its client origin on the screen.
TPoint SurfaceOrigin(const TWindow* w);
TPoint ClientScreenOrigin(const TWindow* w);
TPoint WindowScreenOrigin(const TWindow* w);

// Surface coordinates of the root; empty when the window can't be seen.
TRegion VisibleWindowArea(const TWindow* w, bool clipChildren);
TRegion VisibleClientArea(const TWindow* w);

// Painting bookkeeping.
void InvalidateWindow(TWindow* w, bool frame, bool erase, bool children);
void InvalidateUnder(TWindow* root, const TRegion& surfaceArea);
void AddDamage(TWindow* root, const TRegion& surfaceArea);
void FlushDamage();
TWindow* FindPaintTarget();
void SendNcPaint(TWindow* w);
// Erases a pending background before WM_PAINT goes out, so erase always precedes paint.
void EraseNow(TWindow* w);
void ReleaseDCsOf(TWindow* w);

// Backend sync.
void SyncTopLevel(TWindow* w);
void Restack();
void RaiseTopLevel(TWindow* w);
void EnsureSurface(TWindow* w);

// Activation and focus.
void Activate(TWindow* w, int how);
// The active window goes away: its owner or the next window takes over, else nobody.
void ActivationLost(TWindow* w);
void DeactivateApplication();
bool CanActivate(const TWindow* w);
void DropFocusInside(TWindow* w);

// Input.
bool RouteItem(TQueueItem& item, MSG& msg);
void UpdateHover(TPoint screen);
void ForgetWindowInput(TWindow* w);

// Default procedure helpers.
void RunSizeMoveLoop(TWindow* w, UINT command, TPoint start);
MINMAXINFO QueryMinMax(TWindow* w);
void Maximize(TWindow* w, bool activate);
void Minimize(TWindow* w);
void Restore(TWindow* w, bool activate);
// The system turned a top-level (a window manager's iconify, de-iconify, maximize, restore):
// the window gets the system command a task bar sends and may answer it its own way; the
// screen then shows whatever the window made of it.
void FollowSystemShow(HWND window, TSystemShow show);

// The loop's pieces.
bool PeekInternal(MSG& msg, bool remove);
void WaitForWork();
void RunHandOvers();
void KillTimersOf(HWND h);

LRESULT CallChain(TWindow* w, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT Send(TWindow* w, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::int64_t NowMicros();

// Runs a clean-up when a nested loop leaves, also by an exception.
template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F f) : FCall(std::move(f)) {}
    ~TScopeExit() { FCall(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F FCall;
};
// Any thread: one queued repaint request for a video host.
void PostVideoRepaint(HWND window);
// A plain raised box: button face, light top-left edge, the given shadow bottom-right.
void DrawRaisedBox(HDC dc, const TRect& r, gfx::TColor shadow);

}  // namespace win::detail
