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
};

// The backend the program runs with. Headless for now: the x11 backend (chosen when DISPLAY is
// set) is not part of this build yet.
std::unique_ptr<TBackend> CreateDefaultBackend();

}  // namespace win
