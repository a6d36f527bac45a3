// The headless backend: a virtual screen of configurable monitors that composes every shown
// top-level exactly (z-order, regions, constant and per-pixel alpha, colour keys), takes input
// injected at screen points, and writes PNG screenshots of the screen or of one window. Tests
// drive it step by step; idle steps queued here run when a loop of the window layer would
// otherwise wait. Main thread, except the injection calls, which any thread may make.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win/backend.h"

namespace win {

struct THeadlessConfig {
    std::vector<TMonitor> Monitors{{{0, 0, 1280, 800}, {0, 0, 1280, 760}, true}};
    TBackendCaps Caps{true, false};
    gfx::TColor Desktop = gfx::clBlack;
    // When above 0: a loop that waits this long (real time) with no idle step and no wake-up
    // fails with an exception instead of hanging a test.
    int DryWaitLimitMs = 0;
};

class THeadlessBackend : public TBackend {
public:
    explicit THeadlessBackend(THeadlessConfig config = {});

    const char* Name() const override { return "headless"; }
    TBackendCaps Capabilities() const override { return FConfig.Caps; }
    std::vector<TMonitor> Monitors() const override { return FConfig.Monitors; }
    void Attach(TInputSink* sink) override;
    void UpdateTopLevel(const TTopLevelState& state) override;
    void RemoveTopLevel(HWND window) override;
    void Restack(const std::vector<HWND>& topToBottom) override;
    void Present(HWND window, const TRegion& damage) override;
    void SetCursorShape(HCURSOR cursor) override { FCursor = cursor; }
    void SetClipboardText(const std::string& utf8) override { FClipboard = utf8; }
    std::optional<std::string> ClipboardText() const override { return FClipboard; }
    void WaitForEvents(int wakeFd, int timeoutMs) override;
    void Beep(unsigned type) override { FBeeps.push_back(type); }
    void SetTextSpot(HWND topLevel, TPoint spot) override { FTextSpots[topLevel.Value()] = spot; }

    // Configuration; call win::DisplayChanged() after changing the monitors.
    void SetMonitors(std::vector<TMonitor> monitors) { FConfig.Monitors = std::move(monitors); }
    void SetCapabilities(TBackendCaps caps) { FConfig.Caps = caps; }
    void SetDryWaitLimit(int ms) { FConfig.DryWaitLimitMs = ms; }

    // Injected input, any thread.
    void MouseMove(TPoint screen);
    void MouseDown(TPoint screen, TMouseButton button = TMouseButton::Left);
    void MouseUp(TPoint screen, TMouseButton button = TMouseButton::Left);
    void Click(TPoint screen, TMouseButton button = TMouseButton::Left);
    void Wheel(TPoint screen, int delta);
    void KeyDown(int virtualKey, int repeat = 1);
    void KeyUp(int virtualKey);
    void KeyPress(int virtualKey);
    void Text(const std::string& utf8);
    void DeactivateApp();
    // The system (a task bar) turned a top-level: iconified, brought back, maximized.
    void SystemShow(HWND window, TSystemShow show);

    // Runs when a loop of the window layer has nothing to do, one step per wait.
    void QueueIdleStep(std::function<void()> step);
    std::size_t PendingIdleSteps() const { return FIdle.size(); }

    // The virtual screen (bounding box of the monitors), opaque.
    gfx::HBITMAP Compose() const;
    // 0x00BBGGRR of one screen pixel.
    gfx::TColor ScreenPixel(int x, int y) const;
    // One top-level's own image: what it shows, transparent outside its region.
    gfx::HBITMAP CaptureWindow(HWND window) const;
    bool SaveScreenshot(const std::string& path, std::string* error = nullptr) const;
    bool SaveWindowShot(HWND window, const std::string& path, std::string* error = nullptr) const;

    HCURSOR Cursor() const { return FCursor; }
    // The last input-method spot of a top-level, (-1, -1) when none was given.
    TPoint TextSpot(HWND topLevel) const {
        auto it = FTextSpots.find(topLevel.Value());
        return it == FTextSpots.end() ? TPoint{-1, -1} : it->second;
    }
    // The sound types of every MessageBeep so far.
    const std::vector<unsigned>& Beeps() const { return FBeeps; }
    const TTopLevelState* Find(HWND window) const;
    std::size_t Presents() const { return FPresents; }
    std::vector<HWND> StackOrder() const { return FOrder; }

private:
    TRect ScreenBounds() const;
    void ComposeOne(gfx::TSurface& screen, TPoint screenOrigin, const TTopLevelState& s) const;

    THeadlessConfig FConfig;
    TInputSink* FSink = nullptr;
    std::mutex FSinkLock;
    std::map<std::uint32_t, TTopLevelState> FWindows;
    std::vector<HWND> FOrder;  // top first
    HCURSOR FCursor = IDC_ARROW;
    std::optional<std::string> FClipboard;
    std::deque<std::function<void()>> FIdle;
    std::size_t FPresents = 0;
    std::vector<unsigned> FBeeps;
    std::map<std::uint32_t, TPoint> FTextSpots;
    std::chrono::steady_clock::time_point FDrySince{};
    bool FDry = false;
};

}  // namespace win
