// The player's pictures in a window: the video host of the window layer behind the player's
// host interface, and the window's size changes passed on to the playback.
//
// Made on the main thread by Open. Publish, Clear and Repaint are safe from any thread, also
// after the window is gone; Attach and the resize notice run on the main thread.
#pragma once

#include <memory>

#include "media/player/player_events.h"
#include "media/player/video_host.h"
#include "platform/win/types.h"
#include "platform/win/video_host.h"

namespace media {

class TWindowVideoHost : public TPlayerVideoHost {
public:
    explicit TWindowVideoHost(std::shared_ptr<win::TVideoHost> host);

    TVideoSize ClientSize() const override;
    void Publish(std::shared_ptr<const TVideoImage> image) override;
    void Clear() override;
    void Repaint() override;

    // The window's size changes go to `events` as resize events from now on (a closed queue
    // drops them).
    void Attach(std::weak_ptr<TPlayerEventQueue> events);
    win::TVideoHost& Host() { return *FHost; }

private:
    std::shared_ptr<win::TVideoHost> FHost;
};

// Null when `window` is not a window.
std::shared_ptr<TWindowVideoHost> MakeWindowVideoHost(win::HWND window);

}  // namespace media
