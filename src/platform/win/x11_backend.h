// The x11 backend: every shown top-level of the model becomes one X window (Xlib). Forms are
// managed and undecorated, owned windows are transient for their owner, windows the model never
// activates (menus, hints, drop-downs) are override-redirect and never take the focus. Regions
// become bounding and input shapes (XShape); constant and per-pixel alpha use the window opacity
// and 32-bit visuals while a compositing manager runs. Input comes back as events at screen
// points, text through XIM; focus and activation follow EWMH; monitors come from XRandR and
// _NET_WORKAREA; clipboard text travels through the CLIPBOARD selection.
//
// Owns the X connection and every X resource it makes. Main thread only: X events are read in
// WaitForEvents and PollEvents and handed to the input sink there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/win/backend.h"

namespace win {

class TX11Backend : public TBackend {
public:
    // Connects to `display` (empty: $DISPLAY); null with the reason in `error` when it can't.
    static std::unique_ptr<TX11Backend> Open(const std::string& display, std::string* error);
    ~TX11Backend() override;

    const char* Name() const override { return "x11"; }
    TBackendCaps Capabilities() const override;
    std::vector<TMonitor> Monitors() const override;
    void Attach(TInputSink* sink) override;
    void UpdateTopLevel(const TTopLevelState& state) override;
    void RemoveTopLevel(HWND window) override;
    void Restack(const std::vector<HWND>& topToBottom) override;
    void Present(HWND window, const TRegion& damage) override;
    void SetCursorShape(HCURSOR cursor) override;
    void SetClipboardText(const std::string& utf8) override;
    std::optional<std::string> ClipboardText() const override;
    void WaitForEvents(int wakeFd, int timeoutMs) override;
    void PollEvents() override;
    void ActivateTopLevel(HWND window) override;
    void CapturePointer(bool captured) override;
    void Beep(unsigned type) override;
    void SetTextSpot(HWND topLevel, TPoint spot) override;

    // The X window showing a top-level (0 while it has none), for tests and diagnostics.
    std::uint64_t XWindowOf(HWND window) const;
    // Whether a compositing manager runs on the screen now.
    bool Compositing() const;
    // Presents go through a shared-memory segment when the display offers one (a local server);
    // tests and benchmarks turn it off to see the plain path. The result: whether it is on.
    bool UseSharedMemory(bool use);

    struct TImpl;

private:
    explicit TX11Backend(std::unique_ptr<TImpl> impl);
    std::unique_ptr<TImpl> FImpl;
};

}  // namespace win
