// A video host on a window: the newest 32-bit picture a media thread published for it. Present
// and Clear are safe from any thread and schedule one coalesced repaint, however many pictures
// arrive before the main loop gets to it; painting draws the stored picture 1:1 at the client
// origin. After the window is gone, Present and Clear are harmless. Everything else: main thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gfx/dc.h"
#include "platform/gfx/surface.h"
#include "platform/win/types.h"

namespace win {

using TPicture = std::shared_ptr<const gfx::TSurface>;

class TVideoHost {
public:
    explicit TVideoHost(HWND window);

    HWND Window() const { return FWindow; }
    // Any thread. Cached by the main thread at every resize.
    TSize ClientSize() const;
    // Any thread.
    void Present(TPicture picture);
    void Clear();
    TPicture Picture() const;
    std::uint64_t PresentCount() const { return FPresented.load(); }
    // Any thread: tests keep every published picture when asked to.
    void SetRecording(bool on);
    std::vector<TPicture> TakeRecorded();

    // Main thread: draws the picture at the DC's origin; false when there is none.
    bool Paint(gfx::HDC dc) const;
    // Main thread, after a resize of the window's client area.
    std::function<void(TSize)> OnResized;

    // The window layer's side.
    void Resized(TSize size);
    void Detach();
    void RepaintHandled() { FRepaintPending.store(false); }

private:
    friend std::shared_ptr<TVideoHost> GetVideoHost(HWND window);
    void RequestRepaint();

    const HWND FWindow;
    mutable std::mutex FLock;
    TPicture FPicture;
    TSize FClientSize;
    bool FDetached = false;
    bool FRecording = false;
    std::vector<TPicture> FRecorded;
    std::atomic<bool> FRepaintPending{false};
    std::atomic<std::uint64_t> FPresented{0};
};

// The host of a window, made on first use (main thread). Null for an invalid window.
std::shared_ptr<TVideoHost> GetVideoHost(HWND window);
// The host a window already has, without making one; null when none.
std::shared_ptr<TVideoHost> FindVideoHost(HWND window);

}  // namespace win
