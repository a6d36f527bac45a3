#include "media/player/player_window_host.h"

#include <cstring>

namespace media {

TWindowVideoHost::TWindowVideoHost(std::shared_ptr<win::TVideoHost> host)
    : FHost(std::move(host)) {}

TVideoSize TWindowVideoHost::ClientSize() const {
    win::TSize size = FHost->ClientSize();
    return {size.cx, size.cy};
}

void TWindowVideoHost::Publish(std::shared_ptr<const TVideoImage> image) {
    if (!image || image->Width <= 0 || image->Height <= 0) return;
    auto surface = std::make_shared<gfx::TSurface>(image->Width, image->Height, 32);
    std::memcpy(surface->Pixels(), image->Pixels.data(), image->Pixels.size() * 4);
    FHost->Present(std::move(surface));
}

void TWindowVideoHost::Clear() {
    FHost->Clear();
}

void TWindowVideoHost::Repaint() {
    if (win::TPicture picture = FHost->Picture()) FHost->Present(std::move(picture));
}

void TWindowVideoHost::Attach(std::weak_ptr<TPlayerEventQueue> events) {
    FHost->OnResized = [events](win::TSize size) {
        if (std::shared_ptr<TPlayerEventQueue> queue = events.lock())
            queue->Push({TPlayerEventKind::Resize, size.cx, size.cy});
    };
}

std::shared_ptr<TWindowVideoHost> MakeWindowVideoHost(win::HWND window) {
    std::shared_ptr<win::TVideoHost> host = win::GetVideoHost(window);
    if (!host) return nullptr;
    return std::make_shared<TWindowVideoHost>(std::move(host));
}

}  // namespace media
