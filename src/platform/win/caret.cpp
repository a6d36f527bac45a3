#include "platform/win/caret.h"

#include <algorithm>
#include <memory>

#include "platform/win/caret_private.h"
#include "platform/win/model.h"

namespace win {

using namespace detail;

namespace {

struct TCaret {
    std::weak_ptr<TWindow> Owner;
    int Width = 0;
    int Height = 0;
    TPoint Pos;
    int HideCount = 1;
    std::int64_t PhaseStart = 0;
    // What is painted now: the region (surface coordinates) inverted on the root's surface.
    bool Drawn = false;
    std::weak_ptr<TWindow> DrawnRoot;
    TRegion DrawnArea;
};

TCaret& C() {
    static TCaret caret;
    return caret;
}

UINT GBlinkMs = 530;

std::shared_ptr<TWindow> Shared(TWindow* w) {
    auto& windows = S().Windows;
    auto it = w ? windows.find(w->Handle.Value()) : windows.end();
    return it == windows.end() ? nullptr : it->second;
}

void Invert(TWindow* root, const TRegion& area) {
    if (!root->Surface) return;
    gfx::TSurface& s = *root->Surface;
    for (const TRect& r : area.Rects())
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, s.Height()); ++y) {
            std::uint32_t* row = s.Pixels() + std::size_t(y) * s.Width();
            for (int x = std::max(r.Left, 0); x < std::min(r.Right, s.Width()); ++x)
                row[x] ^= 0x00FFFFFFu;
        }
    AddDamage(root, area);
}

void TakeOff() {
    TCaret& c = C();
    if (!c.Drawn) return;
    c.Drawn = false;
    if (auto root = c.DrawnRoot.lock()) Invert(root.get(), c.DrawnArea);
    c.DrawnRoot.reset();
    c.DrawnArea = TRegion();
}

bool OwnedBy(HWND window) {
    auto owner = C().Owner.lock();
    return owner && !owner->Destroyed && (!window || owner->Handle == window);
}

void Restart() {
    C().PhaseStart = NowMicros();
}

// The caret's bottom-left, in its top-level's window coordinates, to the input method.
void TellSpot() {
    TCaret& c = C();
    auto owner = c.Owner.lock();
    if (!owner || owner->Destroyed) return;
    TWindow* root = Root(owner.get());
    if (!root) return;
    const TPoint o = SurfaceOrigin(owner.get());
    Backend().SetTextSpot(root->Handle, {o.X + owner->Client.Left + c.Pos.X,
                                         o.Y + owner->Client.Top + c.Pos.Y + c.Height});
}

bool RootHasDC(const TWindow* root) {
    for (const auto& e : S().DCs)
        if (e->Root == root) return true;
    return false;
}

}  // namespace

namespace detail {

void CaretTick() {
    TCaret& c = C();
    auto owner = c.Owner.lock();
    bool want = owner && !owner->Destroyed && c.HideCount == 0 && IsVisibleChain(owner.get());
    if (want && GBlinkMs > 0) {
        const std::int64_t period = std::int64_t(GBlinkMs) * 1000;
        want = ((NowMicros() - c.PhaseStart) / period) % 2 == 0;
    }
    TWindow* root = want ? Root(owner.get()) : nullptr;
    if (root && (RootHasDC(root) || !root->Surface)) want = false;
    if (!want) {
        TakeOff();
        return;
    }
    if (c.Drawn) return;
    const TPoint o = SurfaceOrigin(owner.get());
    const TRect r = gfx::Bounds(o.X + owner->Client.Left + c.Pos.X,
                                o.Y + owner->Client.Top + c.Pos.Y, c.Width, c.Height);
    c.DrawnArea = VisibleClientArea(owner.get()).Intersect(TRegion(r));
    c.DrawnRoot = Shared(root);
    c.Drawn = true;
    Invert(root, c.DrawnArea);
}

void CaretOffSurface(TWindow* root) {
    TCaret& c = C();
    if (c.Drawn && c.DrawnRoot.lock().get() == root) TakeOff();
}

int CaretTimeoutMs() {
    TCaret& c = C();
    auto owner = c.Owner.lock();
    if (!owner || c.HideCount != 0 || GBlinkMs == 0) return -1;
    const std::int64_t period = std::int64_t(GBlinkMs) * 1000;
    const std::int64_t elapsed = NowMicros() - c.PhaseStart;
    const std::int64_t left = period - elapsed % period;
    return int((left + 999) / 1000);
}

}  // namespace detail

bool CreateCaret(HWND window, int width, int height) {
    TWindow* w = Get(window);
    if (!w) return false;
    TakeOff();
    TCaret& c = C();
    c = TCaret();
    c.Owner = Shared(w);
    c.Width = std::max(width, 1);
    c.Height = std::max(height, 1);
    Restart();
    return true;
}

bool DestroyCaret() {
    TakeOff();
    const bool had = !C().Owner.expired();
    C() = TCaret();
    return had;
}

bool ShowCaret(HWND window) {
    if (!OwnedBy(window)) return false;
    TCaret& c = C();
    if (c.HideCount > 0 && --c.HideCount == 0) Restart();
    TellSpot();
    return true;
}

bool HideCaret(HWND window) {
    if (!OwnedBy(window)) return false;
    ++C().HideCount;
    TakeOff();
    return true;
}

bool SetCaretPos(int x, int y) {
    if (!OwnedBy({})) return false;
    TCaret& c = C();
    if (c.Pos != TPoint{x, y}) TakeOff();
    c.Pos = {x, y};
    Restart();
    TellSpot();
    return true;
}

bool GetCaretPos(TPoint& point) {
    if (!OwnedBy({})) return false;
    point = C().Pos;
    return true;
}

UINT GetCaretBlinkTime() {
    return GBlinkMs;
}

void SetCaretBlinkTime(UINT ms) {
    GBlinkMs = ms;
    Restart();
}

bool IsCaretDrawn() {
    return C().Drawn;
}

}  // namespace win
