#include "platform/win/video_host.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/sys/main_thread.h"
#include "platform/win/model.h"

namespace win {

namespace detail {

void PostVideoRepaint(HWND window) {
    TQueueItem item;
    item.Kind = TItemKind::VideoRepaint;
    item.Msg.hwnd = window;
    {
        std::lock_guard lock(S().QueueLock);
        S().Queue.push_back(std::move(item));
    }
    sys::WakeMainThread();
}

}  // namespace detail

TVideoHost::TVideoHost(HWND window) : FWindow(window) {}

TSize TVideoHost::ClientSize() const {
    std::lock_guard lock(FLock);
    return FClientSize;
}

void TVideoHost::Present(TPicture picture) {
    {
        std::lock_guard lock(FLock);
        if (FDetached) return;
        FPicture = picture;
        if (FRecording) FRecorded.push_back(std::move(picture));
    }
    ++FPresented;
    RequestRepaint();
}

void TVideoHost::Clear() {
    {
        std::lock_guard lock(FLock);
        if (FDetached) return;
        FPicture.reset();
    }
    RequestRepaint();
}

TPicture TVideoHost::Picture() const {
    std::lock_guard lock(FLock);
    return FPicture;
}

void TVideoHost::SetRecording(bool on) {
    std::lock_guard lock(FLock);
    FRecording = on;
    if (!on) FRecorded.clear();
}

std::vector<TPicture> TVideoHost::TakeRecorded() {
    std::lock_guard lock(FLock);
    return std::exchange(FRecorded, {});
}

void TVideoHost::RequestRepaint() {
    // However many pictures arrive, one repaint waits in the queue at a time.
    if (!FRepaintPending.exchange(true)) detail::PostVideoRepaint(FWindow);
}

bool TVideoHost::Paint(gfx::HDC dc) const {
    const TPicture picture = Picture();
    if (!picture || !dc || !dc->Surface() || picture->BitCount() != 32) return false;
    gfx::TSurface& target = *dc->Surface();
    const TPoint o = dc->Offset();
    const TRect dest = gfx::Bounds(o.X, o.Y, picture->Width(), picture->Height());
    for (const TRect& r : dc->VisibleRegion().Rects()) {
        const TRect part = gfx::IntersectRect(r, dest);
        if (part.IsEmpty()) continue;
        for (int y = part.Top; y < part.Bottom; ++y) {
            const std::uint32_t* src =
                picture->Pixels() + std::size_t(y - o.Y) * picture->Width() + (part.Left - o.X);
            std::uint32_t* dst = target.Pixels() + std::size_t(y) * target.Width() + part.Left;
            std::memcpy(dst, src, std::size_t(part.Width()) * 4);
        }
    }
    return true;
}

void TVideoHost::Resized(TSize size) {
    {
        std::lock_guard lock(FLock);
        FClientSize = size;
    }
    if (OnResized) OnResized(size);
}

void TVideoHost::Detach() {
    std::lock_guard lock(FLock);
    FDetached = true;
}

std::shared_ptr<TVideoHost> GetVideoHost(HWND window) {
    detail::TWindow* w = detail::Get(window);
    if (!w) return nullptr;
    if (!w->VideoHost) {
        w->VideoHost = std::make_shared<TVideoHost>(window);
        std::lock_guard lock(w->VideoHost->FLock);
        w->VideoHost->FClientSize = {w->Client.Width(), w->Client.Height()};
    }
    return w->VideoHost;
}

std::shared_ptr<TVideoHost> FindVideoHost(HWND window) {
    detail::TWindow* w = detail::Get(window);
    return w ? w->VideoHost : nullptr;
}

}  // namespace win
