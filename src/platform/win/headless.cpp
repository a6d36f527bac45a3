#include "platform/win/headless.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>

#include <poll.h>

#include "platform/gfx/codecs.h"
#include "platform/rtl/exception.h"

namespace win {

namespace {

std::uint32_t Channel(std::uint32_t p, int shift) {
    return (p >> shift) & 0xFF;
}

std::uint32_t Div255(std::uint32_t v) {
    return (v + 127) / 255;
}

bool MatchesKey(std::uint32_t pixel, gfx::TColor key) {
    return int(Channel(pixel, 16)) == gfx::GetRValue(key) &&
           int(Channel(pixel, 8)) == gfx::GetGValue(key) &&
           int(Channel(pixel, 0)) == gfx::GetBValue(key);
}

// dst := src * a + dst * (1 - a), colour channels only.
std::uint32_t Mix(std::uint32_t src, std::uint32_t dst, std::uint32_t a) {
    std::uint32_t out = 0xFF000000u;
    for (int shift : {0, 8, 16})
        out |= Div255(Channel(src, shift) * a + Channel(dst, shift) * (255 - a)) << shift;
    return out;
}

// A premultiplied source scaled by a constant alpha, laid over dst.
std::uint32_t Over(std::uint32_t src, std::uint32_t dst, std::uint32_t constant) {
    const std::uint32_t sa = Div255(Channel(src, 24) * constant);
    std::uint32_t out = 0xFF000000u;
    for (int shift : {0, 8, 16}) {
        const std::uint32_t s = Div255(Channel(src, shift) * constant);
        out |= std::min<std::uint32_t>(255, s + Div255(Channel(dst, shift) * (255 - sa))) << shift;
    }
    return out;
}

bool WritePngFile(const gfx::TSurface& surface, bool alpha, const std::string& path,
                  std::string* error) {
    gfx::TImage image;
    image.Width = surface.Width();
    image.Height = surface.Height();
    image.HasAlpha = alpha;
    image.BitCount = 32;
    image.Pixels.assign(surface.Pixels(),
                        surface.Pixels() + std::size_t(surface.Width()) * surface.Height());
    gfx::TBytes bytes;
    std::string reason;
    if (!gfx::WritePng(image, 6, gfx::PNG_ROW_FILTER_NONE | gfx::PNG_ROW_FILTER_SUB, alpha, bytes,
                       reason)) {
        if (error) *error = reason;
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        if (error) *error = "Cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace

THeadlessBackend::THeadlessBackend(THeadlessConfig config) : FConfig(std::move(config)) {}

void THeadlessBackend::Attach(TInputSink* sink) {
    std::lock_guard lock(FSinkLock);
    FSink = sink;
}

void THeadlessBackend::UpdateTopLevel(const TTopLevelState& state) {
    const bool known = FWindows.count(state.Window.Value()) > 0;
    FWindows[state.Window.Value()] = state;
    if (!known) FOrder.insert(FOrder.begin(), state.Window);
}

void THeadlessBackend::RemoveTopLevel(HWND window) {
    FWindows.erase(window.Value());
    FOrder.erase(std::remove(FOrder.begin(), FOrder.end(), window), FOrder.end());
}

void THeadlessBackend::Restack(const std::vector<HWND>& topToBottom) {
    FOrder.clear();
    for (HWND h : topToBottom)
        if (FWindows.count(h.Value())) FOrder.push_back(h);
}

void THeadlessBackend::Present(HWND, const TRegion&) {
    ++FPresents;
}

void THeadlessBackend::WaitForEvents(int wakeFd, int timeoutMs) {
    if (!FIdle.empty()) {
        auto step = std::move(FIdle.front());
        FIdle.pop_front();
        FDry = false;
        step();
        return;
    }
    pollfd fd{wakeFd, POLLIN, 0};
    if (FConfig.DryWaitLimitMs <= 0) {
        while (poll(&fd, 1, timeoutMs) < 0 && errno == EINTR) {
        }
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!FDry) {
        FDry = true;
        FDrySince = now;
    }
    const auto dryMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - FDrySince).count();
    const int left = int(std::max<long long>(FConfig.DryWaitLimitMs - dryMs, 0));
    if (left == 0) {
        FDry = false;
        throw rtl::Exception("headless: a loop waits for input that never comes");
    }
    const int wait = timeoutMs < 0 ? left : std::min(timeoutMs, left);
    int ready;
    while ((ready = poll(&fd, 1, wait)) < 0 && errno == EINTR) {
    }
    if (ready > 0) FDry = false;
}

void THeadlessBackend::MouseMove(TPoint screen) {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->MouseInput(TMouseAction::Move, TMouseButton::Left, screen, 0);
}

void THeadlessBackend::MouseDown(TPoint screen, TMouseButton button) {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->MouseInput(TMouseAction::Down, button, screen, 0);
}

void THeadlessBackend::MouseUp(TPoint screen, TMouseButton button) {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->MouseInput(TMouseAction::Up, button, screen, 0);
}

void THeadlessBackend::Click(TPoint screen, TMouseButton button) {
    MouseDown(screen, button);
    MouseUp(screen, button);
}

void THeadlessBackend::Wheel(TPoint screen, int delta) {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->MouseInput(TMouseAction::Wheel, TMouseButton::Left, screen, delta);
}

void THeadlessBackend::KeyDown(int virtualKey, int repeat) {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->KeyInput(virtualKey, true, repeat);
}

void THeadlessBackend::KeyUp(int virtualKey) {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->KeyInput(virtualKey, false, 1);
}

void THeadlessBackend::KeyPress(int virtualKey) {
    KeyDown(virtualKey);
    KeyUp(virtualKey);
}

void THeadlessBackend::Text(const std::string& utf8) {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->TextInput(utf8);
}

void THeadlessBackend::DeactivateApp() {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->AppDeactivated();
}

void THeadlessBackend::SystemShow(HWND window, TSystemShow show) {
    std::lock_guard lock(FSinkLock);
    if (FSink) FSink->SystemShowChanged(window, show);
}

void THeadlessBackend::QueueIdleStep(std::function<void()> step) {
    FIdle.push_back(std::move(step));
}

const TTopLevelState* THeadlessBackend::Find(HWND window) const {
    auto it = FWindows.find(window.Value());
    return it == FWindows.end() ? nullptr : &it->second;
}

void THeadlessBackend::ComposeOne(gfx::TSurface& screen, TPoint origin,
                                  const TTopLevelState& s) const {
    const gfx::TSurface* source =
        s.Layer == TLayerMode::Image ? s.LayerImage.get() : s.Surface.get();
    if (!source) return;
    TRegion area(gfx::IntersectRect(
        s.Bounds, gfx::Bounds(origin.X, origin.Y, screen.Width(), screen.Height())));
    if (s.Region) {
        TRegion shape = *s.Region;
        shape.Offset(s.Bounds.Left, s.Bounds.Top);
        area = area.Intersect(shape);
    }
    const std::uint32_t alpha = s.ConstantAlpha;
    for (const TRect& r : area.Rects()) {
        for (int y = r.Top; y < r.Bottom; ++y) {
            const int sy = y - s.Bounds.Top;
            if (sy < 0 || sy >= source->Height()) continue;
            std::uint32_t* dst = screen.Pixels() + std::size_t(y - origin.Y) * screen.Width();
            const std::uint32_t* src = source->Pixels() + std::size_t(sy) * source->Width();
            for (int x = r.Left; x < r.Right; ++x) {
                const int sx = x - s.Bounds.Left;
                if (sx < 0 || sx >= source->Width()) continue;
                const std::uint32_t p = src[sx];
                std::uint32_t& d = dst[x - origin.X];
                if (s.Layer != TLayerMode::None && s.UseColorKey && MatchesKey(p, s.ColorKey))
                    continue;
                switch (s.Layer) {
                    case TLayerMode::None:
                        d = p | 0xFF000000u;
                        break;
                    case TLayerMode::Attributes:
                        d = Mix(p, d, alpha);
                        break;
                    case TLayerMode::Image:
                        d = Over(p, d, alpha);
                        break;
                }
            }
        }
    }
}

TRect THeadlessBackend::ScreenBounds() const {
    TRect bounds;
    if (!FConfig.Monitors.empty()) {
        bounds = FConfig.Monitors.front().Bounds;
        for (const TMonitor& m : FConfig.Monitors) {
            bounds.Left = std::min(bounds.Left, m.Bounds.Left);
            bounds.Top = std::min(bounds.Top, m.Bounds.Top);
            bounds.Right = std::max(bounds.Right, m.Bounds.Right);
            bounds.Bottom = std::max(bounds.Bottom, m.Bounds.Bottom);
        }
    }
    return bounds;
}

gfx::HBITMAP THeadlessBackend::Compose() const {
    const TRect bounds = ScreenBounds();
    auto screen = std::make_shared<gfx::TSurface>(bounds.Width(), bounds.Height(), 32);
    const gfx::TColor desk = gfx::ColorToRGB(FConfig.Desktop);
    const std::uint32_t deskPixel = 0xFF000000u | std::uint32_t(gfx::GetRValue(desk)) << 16 |
                                    std::uint32_t(gfx::GetGValue(desk)) << 8 |
                                    std::uint32_t(gfx::GetBValue(desk));
    std::fill(screen->Pixels(), screen->Pixels() + std::size_t(screen->Width()) * screen->Height(),
              deskPixel);
    for (auto it = FOrder.rbegin(); it != FOrder.rend(); ++it) {
        const TTopLevelState* s = Find(*it);
        if (s && s->Shown && !s->Minimized) ComposeOne(*screen, {bounds.Left, bounds.Top}, *s);
    }
    return screen;
}

gfx::TColor THeadlessBackend::ScreenPixel(int x, int y) const {
    const TRect bounds = ScreenBounds();
    if (!bounds.Contains(x, y)) return gfx::clNone;
    const auto screen = Compose();
    const std::uint32_t p =
        screen->Pixels()[std::size_t(y - bounds.Top) * screen->Width() + (x - bounds.Left)];
    return gfx::RGB(int(Channel(p, 16)), int(Channel(p, 8)), int(Channel(p, 0)));
}

gfx::HBITMAP THeadlessBackend::CaptureWindow(HWND window) const {
    const TTopLevelState* s = Find(window);
    if (!s) return nullptr;
    const int width = s->Bounds.Width();
    const int height = s->Bounds.Height();
    auto shot = std::make_shared<gfx::TSurface>(width, height, 32);
    const gfx::TSurface* source =
        s->Layer == TLayerMode::Image ? s->LayerImage.get() : s->Surface.get();
    if (!source) return shot;
    TRegion area(TRect{0, 0, width, height});
    if (s->Region) area = area.Intersect(*s->Region);
    for (const TRect& r : area.Rects())
        for (int y = r.Top; y < r.Bottom && y < source->Height(); ++y)
            for (int x = r.Left; x < r.Right && x < source->Width(); ++x) {
                std::uint32_t p = source->Pixels()[std::size_t(y) * source->Width() + x];
                if (s->Layer == TLayerMode::None) p |= 0xFF000000u;
                if (s->Layer == TLayerMode::Attributes)
                    p = (p & 0xFFFFFFu) | std::uint32_t(s->ConstantAlpha) << 24;
                shot->Pixels()[std::size_t(y) * width + x] = p;
            }
    return shot;
}

bool THeadlessBackend::SaveScreenshot(const std::string& path, std::string* error) const {
    return WritePngFile(*Compose(), false, path, error);
}

bool THeadlessBackend::SaveWindowShot(HWND window, const std::string& path,
                                      std::string* error) const {
    const auto shot = CaptureWindow(window);
    if (!shot) {
        if (error) *error = "No such window on the screen";
        return false;
    }
    return WritePngFile(*shot, true, path, error);
}

}  // namespace win
