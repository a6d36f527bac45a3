// The boundary between the window model and whatever shows it. A backend shows top-level
// surfaces (placed, shaped, layered, stacked as the model says), presents their damaged parts,
// answers monitors, capabilities, cursor shape and clipboard text, waits for its own events, and
// feeds input to the model as events at screen points. It never decides what a window contains.
// Main thread only, except TInputSink, whose calls any thread may make.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/surface.h"
#include "platform/win/types.h"

namespace win {

// What the backend can really show; the program asks these instead of a system version.
struct TBackendCaps {
    bool LayeredWindows = true;
    bool Shadows = false;
};

struct TMonitor {
    TRect Bounds;
    TRect WorkArea;
    bool Primary = false;
};

enum class TLayerMode { None, Attributes, Image };

// Everything about one top-level the backend needs to show it.
struct TTopLevelState {
    HWND Window;
    HWND Owner;
    TRect Bounds;  // screen coordinates
    bool Shown = false;
    bool Minimized = false;
    bool Popup = false;       // WS_POPUP: unmanaged, never decorated by anyone else
    bool NoActivate = false;  // shown without activation (menus, hints, drop-downs)
    bool Topmost = false;
    bool DropShadow = false;
    std::optional<TRegion> Region;  // window coordinates; none = the whole rectangle
    // Attributes: Surface drawn with ConstantAlpha and/or without ColorKey pixels.
    // Image: the premultiplied LayerImage stands in for Surface, times ConstantAlpha.
    TLayerMode Layer = TLayerMode::None;
    std::uint8_t ConstantAlpha = 255;
    bool UseColorKey = false;
    gfx::TColor ColorKey = 0;
    gfx::HBITMAP Surface;     // the window's whole image, window size
    gfx::HBITMAP LayerImage;  // Image mode only
    std::string Title;
};

enum class TMouseButton { Left, Right, Middle };
// How the system (a window manager, a task bar) turned one of our top-levels.
enum class TSystemShow { Minimized, Restored, Maximized };
enum class TMouseAction { Move, Down, Up, Wheel };

// Input as the backend sees it. Safe from any thread.
class TInputSink {
public:
    virtual ~TInputSink() = default;
    virtual void MouseInput(TMouseAction action, TMouseButton button, TPoint screen,
                            int wheelDelta) = 0;
    // repeat > 1 for auto-repeat of a held key.
    virtual void KeyInput(int virtualKey, bool down, int repeat) = 0;
    // Composed text (an input method, a paste from the system); arrives as characters.
    virtual void TextInput(const std::string& utf8) = 0;
    // The system took activation away from the whole application (another program's window).
    virtual void AppDeactivated() = 0;
    // The system gave activation to one of our top-levels (a window manager's task switch).
    virtual void SystemActivated(HWND window) = 0;
    // The system iconified, de-iconified, maximized or restored one of our top-levels; the
    // model follows as a task bar's system command would make it.
    virtual void SystemShowChanged(HWND window, TSystemShow show) = 0;
};

class TBackend {
public:
    virtual ~TBackend() = default;

    virtual const char* Name() const = 0;
    virtual TBackendCaps Capabilities() const = 0;
    virtual std::vector<TMonitor> Monitors() const = 0;

    // Called by the model before anything else; input goes there until the backend dies.
    virtual void Attach(TInputSink* sink) = 0;
    // A top-level appeared or changed (place, shape, layering, visibility, surface).
    virtual void UpdateTopLevel(const TTopLevelState& state) = 0;
    virtual void RemoveTopLevel(HWND window) = 0;
    // Top-levels from the top of the screen downwards.
    virtual void Restack(const std::vector<HWND>& topToBottom) = 0;
    // Part of a surface (window coordinates) was painted.
    virtual void Present(HWND window, const TRegion& damage) = 0;

    virtual void SetCursorShape(HCURSOR cursor) = 0;
    virtual void SetClipboardText(const std::string& utf8) = 0;
    virtual std::optional<std::string> ClipboardText() const = 0;

    // Waits until input arrives, `wakeFd` turns readable or timeoutMs (negative: no limit)
    // runs out.
    virtual void WaitForEvents(int wakeFd, int timeoutMs) = 0;
    // Takes in the input that already arrived, without waiting; loops that never wait (a pump
    // during a long job) still see the user.
    virtual void PollEvents() {}

    // The model activated one of its top-levels; a real display moves the keyboard there.
    virtual void ActivateTopLevel(HWND) {}
    // A window of the model holds the mouse capture (or no longer does); a real display grabs
    // the pointer meanwhile, so presses outside every window of ours still reach the model.
    virtual void CapturePointer(bool) {}
    // The system's bell (MessageBeep); the sound type is an MB_ICON* value or 0.
    virtual void Beep(unsigned type) { (void)type; }
    // The caret moved: the input method's spot, the bottom-left of the caret in the top-level's
    // window coordinates, so the candidates of a composition open there.
    virtual void SetTextSpot(HWND topLevel, TPoint spot) { (void)topLevel, (void)spot; }
};

// The character the model's own key translation gives (a US layout), 0 for none. A backend
// compares it with what the system's keyboard layout gives to decide how a key travels.
std::uint32_t KeyToChar(int virtualKey, bool shift, bool ctrl, bool caps);

// The backend the program runs with: `x11` when DISPLAY is set, else `headless`, which it says
// on stderr. MORADEX_BACKEND=headless|x11 forces one; a display that can't be opened falls back
// to headless, also said on stderr.
std::unique_ptr<TBackend> CreateDefaultBackend();

}  // namespace win
