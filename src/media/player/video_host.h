// Where the player's pictures go: the host the engine publishes its screen image to, and that
// image.
//
// The engine draws into a screen image of its own on the play thread and publishes an immutable
// copy; the host keeps the newest one and paints it. Every call of TPlayerVideoHost may come from
// any thread, also after the window behind it is gone.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace media {

// 32-bit pixels, top-down rows of Width pixels, bytes B, G, R, A in memory (0xAARRGGBB).
struct TVideoImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;

    TVideoImage() = default;
    TVideoImage(int width, int height, uint32_t color = 0xFF000000)
        : Width(width), Height(height), Pixels(size_t(width) * size_t(height), color) {}
    uint32_t* Row(int y) { return Pixels.data() + size_t(y) * size_t(Width); }
    const uint32_t* Row(int y) const { return Pixels.data() + size_t(y) * size_t(Width); }
    uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
};

struct TVideoSize {
    int Width = 0;
    int Height = 0;
};

class TPlayerVideoHost {
public:
    virtual ~TPlayerVideoHost() = default;
    // The client size of the host window, as the window layer last saw it.
    virtual TVideoSize ClientSize() const = 0;
    // Keeps `image` as the picture to show and schedules one repaint for any number of pictures.
    virtual void Publish(std::shared_ptr<const TVideoImage> image) = 0;
    // Drops the picture: the window paints its own background again.
    virtual void Clear() = 0;
    // Paints the picture held once more (after an expose while nothing new comes).
    virtual void Repaint() = 0;
};

}  // namespace media
