// Placement, showing, z-order, regions, layering, coordinates and monitors.
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/win/model.h"

namespace win {

using namespace detail;

namespace {

constexpr int kMaxTrack = 32767;

bool IsTopmost(const TWindow* w) {
    return (w->ExStyle & WS_EX_TOPMOST) != 0;
}

// Puts `w` at the top of its band in the top-level list.
void PlaceOnTop(TWindow* w) {
    auto& list = S().TopLevels;
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
    auto pos = list.begin();
    if (!IsTopmost(w))
        pos = std::find_if(list.begin(), list.end(), [](TWindow* o) { return !IsTopmost(o); });
    list.insert(pos, w);
}

bool OwnedBy(const TWindow* w, const TWindow* owner) {
    for (const TWindow* o = w->Owner; o; o = o->Owner)
        if (o == owner) return true;
    return false;
}

void ApplyZOrder(TWindow* w, HWND after) {
    if (w->Parent) {
        auto& c = w->Parent->Children;
        c.erase(std::remove(c.begin(), c.end(), w), c.end());
        if (after == HWND_BOTTOM) {
            c.push_back(w);
            return;
        }
        TWindow* a = Get(after);
        auto it = a ? std::find(c.begin(), c.end(), a) : c.end();
        c.insert(it == c.end() ? c.begin() : it + 1, w);
        return;
    }
    if (after == HWND_TOPMOST) {
        w->ExStyle |= WS_EX_TOPMOST;
        RaiseTopLevel(w);
    } else if (after == HWND_NOTOPMOST) {
        w->ExStyle &= ~DWORD(WS_EX_TOPMOST);
        RaiseTopLevel(w);
    } else if (after == HWND_BOTTOM) {
        w->ExStyle &= ~DWORD(WS_EX_TOPMOST);
        auto& list = S().TopLevels;
        list.erase(std::remove(list.begin(), list.end(), w), list.end());
        list.push_back(w);
    } else if (TWindow* a = Get(after); a && !a->Parent && a != w) {
        auto& list = S().TopLevels;
        list.erase(std::remove(list.begin(), list.end(), w), list.end());
        if (IsTopmost(a))
            w->ExStyle |= WS_EX_TOPMOST;
        else
            w->ExStyle &= ~DWORD(WS_EX_TOPMOST);
        list.insert(std::find(list.begin(), list.end(), a) + 1, w);
    } else {
        RaiseTopLevel(w);
    }
}

TRect VirtualScreen(const std::vector<TMonitor>& monitors) {
    if (monitors.empty()) return {};
    TRect r = monitors.front().Bounds;
    for (const TMonitor& m : monitors) {
        r.Left = std::min(r.Left, m.Bounds.Left);
        r.Top = std::min(r.Top, m.Bounds.Top);
        r.Right = std::max(r.Right, m.Bounds.Right);
        r.Bottom = std::max(r.Bottom, m.Bounds.Bottom);
    }
    return r;
}

int PrimaryIndex(const std::vector<TMonitor>& monitors) {
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].Primary) return int(i);
    return monitors.empty() ? -1 : 0;
}

HMONITOR Fallback(const std::vector<TMonitor>& monitors, TPoint p, DWORD flags) {
    if (monitors.empty() || flags == MONITOR_DEFAULTTONULL) return 0;
    if (flags == MONITOR_DEFAULTTOPRIMARY) return PrimaryIndex(monitors) + 1;
    long long best = LLONG_MAX;
    int index = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const TRect& b = monitors[i].Bounds;
        const long long dx = p.X < b.Left ? b.Left - p.X : p.X >= b.Right ? p.X - b.Right + 1 : 0;
        const long long dy = p.Y < b.Top ? b.Top - p.Y : p.Y >= b.Bottom ? p.Y - b.Bottom + 1 : 0;
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            index = int(i);
        }
    }
    return index + 1;
}

}  // namespace

namespace detail {

void EnsureSurface(TWindow* w) {
    if (w->Parent) return;
    const int width = std::max(w->Width(), 0);
    const int height = std::max(w->Height(), 0);
    if (w->Surface && w->Surface->Width() == width && w->Surface->Height() == height) return;
    // Resized in place, so a drag-resize neither allocates nor clears the whole window per step;
    // a DC still open keeps drawing into the surface it was made for, so that one stays as it is.
    const bool drawnInto =
        std::any_of(S().DCs.begin(), S().DCs.end(), [&](const auto& e) { return e->Root == w; });
    if (w->Surface && !drawnInto) {
        w->Surface->Resize(width, height);
        return;
    }
    auto surface = std::make_shared<gfx::TSurface>(width, height, 32);
    if (w->Surface) {
        const int cw = std::min(width, w->Surface->Width());
        const int ch = std::min(height, w->Surface->Height());
        for (int y = 0; y < ch; ++y)
            std::memcpy(surface->ScanLine(y), w->Surface->ScanLine(y), std::size_t(cw) * 4);
    }
    w->Surface = std::move(surface);
}

void SyncTopLevel(TWindow* w) {
    if (w->Parent || !S().Backend) return;
    TTopLevelState state;
    state.Window = w->Handle;
    state.Owner = w->Owner ? w->Owner->Handle : HWND();
    state.Bounds = w->Rect;
    state.Shown = (w->Style & WS_VISIBLE) != 0;
    state.Minimized = (w->Style & WS_MINIMIZE) != 0;
    state.Popup = (w->Style & WS_POPUP) != 0;
    state.NoActivate =
        (w->ExStyle & WS_EX_NOACTIVATE) || (state.Popup && (w->ExStyle & WS_EX_TOOLWINDOW));
    state.Topmost = IsTopmost(w);
    state.DropShadow = (w->Class->Style & CS_DROPSHADOW) != 0;
    state.Region = w->Region;
    if (w->ExStyle & WS_EX_LAYERED) {
        state.Layer = w->Layer;
        state.ConstantAlpha = w->Alpha;
        state.UseColorKey = w->UseColorKey;
        state.ColorKey = w->ColorKey;
        state.LayerImage = w->LayerImage;
    }
    state.Surface = w->Surface;
    state.Title = w->Text;
    S().Backend->UpdateTopLevel(state);
}

void Restack() {
    if (!S().Backend) return;
    std::vector<HWND> order;
    order.reserve(S().TopLevels.size());
    for (TWindow* w : S().TopLevels) order.push_back(w->Handle);
    S().Backend->Restack(order);
}

void RaiseTopLevel(TWindow* w) {
    // Owned windows stay above their owner, in the order they had.
    std::vector<TWindow*> owned;
    for (TWindow* t : S().TopLevels)
        if (OwnedBy(t, w)) owned.push_back(t);
    PlaceOnTop(w);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) PlaceOnTop(*it);
}

MINMAXINFO QueryMinMax(TWindow* w) {
    MINMAXINFO mm;
    const HMONITOR m = MonitorFromWindow(w->Handle, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info;
    if (GetMonitorInfo(m, info)) {
        mm.ptMaxPosition = {info.rcWork.Left, info.rcWork.Top};
        mm.ptMaxSize = {info.rcWork.Width(), info.rcWork.Height()};
    }
    if (w->Parent) {
        mm.ptMaxPosition = {0, 0};
        mm.ptMaxSize = {w->Parent->Client.Width(), w->Parent->Client.Height()};
    }
    mm.ptMinTrackSize = {0, 0};
    mm.ptMaxTrackSize = {kMaxTrack, kMaxTrack};
    Send(w, WM_GETMINMAXINFO, 0, PtrToParam(&mm));
    return mm;
}

void Minimize(TWindow* w) {
    if (w->Style & WS_MINIMIZE) return;
    const HWND h = w->Handle;
    if (!(w->Style & WS_MAXIMIZE)) w->NormalRect = w->Rect;
    w->Style = (w->Style | WS_MINIMIZE) & ~DWORD(WS_MAXIMIZE);
    SyncTopLevel(w);
    Send(w, WM_SIZE, SIZE_MINIMIZED, 0);
    if (!(w = Get(h))) return;
    if (S().Active == h) ActivationLost(w);
}

void Maximize(TWindow* w, bool activate) {
    const HWND h = w->Handle;
    if (!(w->Style & (WS_MAXIMIZE | WS_MINIMIZE))) w->NormalRect = w->Rect;
    const MINMAXINFO mm = QueryMinMax(w);
    if (!(w = Get(h))) return;
    w->Style = (w->Style | WS_MAXIMIZE) & ~DWORD(WS_MINIMIZE);
    SetWindowPos(h, HWND(), mm.ptMaxPosition.X, mm.ptMaxPosition.Y, mm.ptMaxSize.X, mm.ptMaxSize.Y,
                 SWP_NOZORDER | SWP_FRAMECHANGED | (activate ? 0 : SWP_NOACTIVATE));
}

void Restore(TWindow* w, bool activate) {
    const HWND h = w->Handle;
    const bool wasMinimized = (w->Style & WS_MINIMIZE) != 0;
    w->Style &= ~DWORD(WS_MINIMIZE | WS_MAXIMIZE);
    const TRect r = w->NormalRect;
    const bool sameSize = r.Width() == w->Width() && r.Height() == w->Height();
    SetWindowPos(h, HWND(), r.Left, r.Top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_FRAMECHANGED | (activate ? 0 : SWP_NOACTIVATE));
    if (!(w = Get(h))) return;
    if (wasMinimized) {
        SyncTopLevel(w);
        InvalidateWindow(w, true, true, true);
        if (sameSize)
            Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->Client.Width(), w->Client.Height()));
    }
}

void FollowSystemShow(HWND window, TSystemShow show) {
    TWindow* w = Get(window);
    if (!w || w->Parent || !(w->Style & WS_VISIBLE) || w->Destroying) return;
    const bool minimized = (w->Style & WS_MINIMIZE) != 0;
    WPARAM command = 0;
    if (show == TSystemShow::Minimized && !minimized) command = SC_MINIMIZE;
    if (show == TSystemShow::Maximized && !minimized) command = SC_MAXIMIZE;
    if (show == TSystemShow::Restored) command = SC_RESTORE;
    if (command) Send(w, WM_SYSCOMMAND, command, 0);
    // The window may have refused or answered its own way: the screen follows the model.
    if (!(w = Get(window))) return;
    SyncTopLevel(w);
    // Brought back from the icon, it is the window the user asked for.
    if (show == TSystemShow::Restored && !(w->Style & WS_MINIMIZE) && S().Active != window &&
        CanActivate(w))
        Activate(w, WA_ACTIVE);
}

}  // namespace detail

bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    TWindow* w = Get(window);
    if (!w) return false;
    WINDOWPOS wp;
    wp.hwnd = window;
    wp.hwndInsertAfter = insertAfter;
    wp.x = x;
    wp.y = y;
    wp.cx = cx;
    wp.cy = cy;
    wp.flags = flags;
    if (flags & SWP_NOMOVE) {
        wp.x = w->Rect.Left;
        wp.y = w->Rect.Top;
    }
    if (flags & SWP_NOSIZE) {
        wp.cx = w->Width();
        wp.cy = w->Height();
    }
    const bool wasVisible = (w->Style & WS_VISIBLE) != 0;
    if ((wp.flags & SWP_SHOWWINDOW) && wasVisible) wp.flags &= ~UINT(SWP_SHOWWINDOW);
    if ((wp.flags & SWP_HIDEWINDOW) && !wasVisible) wp.flags &= ~UINT(SWP_HIDEWINDOW);
    if (!(wp.flags & SWP_NOSENDCHANGING)) {
        Send(w, WM_WINDOWPOSCHANGING, 0, PtrToParam(&wp));
        if (!(w = Get(window))) return false;
    }
    const TRect newRect = gfx::Bounds(wp.x, wp.y, std::max(wp.cx, 0), std::max(wp.cy, 0));
    const TRect oldRect = w->Rect;
    const TRect oldClient = w->Client;
    const bool moved = newRect.Left != oldRect.Left || newRect.Top != oldRect.Top;
    const bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
    const bool frameChanged = (wp.flags & SWP_FRAMECHANGED) != 0;
    TRect newClient = oldClient;
    if (moved || sized || frameChanged) {
        NCCALCSIZE_PARAMS params;
        params.rgrc[0] = newRect;
        params.rgrc[1] = oldRect;
        params.rgrc[2] = oldClient.Offset(oldRect.Left, oldRect.Top);
        params.lppos = &wp;
        Send(w, WM_NCCALCSIZE, 1, PtrToParam(&params));
        if (!(w = Get(window))) return false;
        newClient = params.rgrc[0].Offset(-newRect.Left, -newRect.Top);
        newClient.Right = std::max(newClient.Right, newClient.Left);
        newClient.Bottom = std::max(newClient.Bottom, newClient.Top);
    }
    const bool zOrder = !(wp.flags & SWP_NOZORDER);
    const bool show = (wp.flags & SWP_SHOWWINDOW) != 0;
    const bool hide = (wp.flags & SWP_HIDEWINDOW) != 0;
    TWindow* root = Root(w);
    TRegion oldArea;
    if (w->Parent && wasVisible) oldArea = VisibleWindowArea(w, false);

    w->Rect = newRect;
    w->Client = newClient;
    if (zOrder) ApplyZOrder(w, wp.hwndInsertAfter);
    if (show) w->Style |= WS_VISIBLE;
    if (hide) w->Style &= ~DWORD(WS_VISIBLE);
    EnsureSurface(w);

    const bool clientSized =
        newClient.Width() != oldClient.Width() || newClient.Height() != oldClient.Height();
    if (!(wp.flags & SWP_NOREDRAW)) {
        if (w->Parent) {
            if (moved || sized || frameChanged || zOrder || show || hide) {
                TRegion area = oldArea.Union(VisibleWindowArea(w, false));
                InvalidateUnder(root, area);
                if (moved || sized || frameChanged || show) InvalidateWindow(w, true, true, true);
            }
        } else if (sized || frameChanged || show || clientSized) {
            InvalidateWindow(w, true, true, true);
        }
    }
    if (!w->Parent) {
        SyncTopLevel(w);
        if (zOrder) Restack();
    }
    if (hide) {
        TState& s = S();
        for (TWindow* f = Get(s.Focus); f; f = f->Parent)
            if (f == w) {
                DropFocusInside(w);
                break;
            }
        if (!(w = Get(window))) return false;
        for (TWindow* c = Get(s.Capture); c; c = c->Parent)
            if (c == w) {
                ReleaseCapture();
                break;
            }
        if (s.Active == window) ActivationLost(w);
        if (!(w = Get(window))) return false;
    }
    if (!moved) wp.flags |= SWP_NOMOVE;
    if (!sized) wp.flags |= SWP_NOSIZE;
    Send(w, WM_WINDOWPOSCHANGED, 0, PtrToParam(&wp));
    if (!(w = Get(window))) return false;
    if (clientSized && w->VideoHost) w->VideoHost->Resized({newClient.Width(), newClient.Height()});
    if (!w->Parent && !(flags & SWP_NOACTIVATE) && !hide && (w->Style & WS_VISIBLE) &&
        S().Active != window && CanActivate(w))
        Activate(w, WA_ACTIVE);
    return true;
}

bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) {
    return SetWindowPos(window, HWND(), x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool ShowWindow(HWND window, int command) {
    TWindow* w = Get(window);
    if (!w) return false;
    const bool wasVisible = (w->Style & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        if (!wasVisible) return false;
        Send(w, WM_SHOWWINDOW, 0, 0);
        SetWindowPos(window, HWND(), 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    const bool activate = command == SW_SHOWNORMAL || command == SW_SHOW ||
                          command == SW_SHOWMAXIMIZED || command == SW_RESTORE ||
                          command == SW_SHOWMINIMIZED;
    const bool minimize =
        command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
    const bool mayActivate = activate && !minimize && !w->Parent;
    if (!wasVisible) {
        Send(w, WM_SHOWWINDOW, 1, 0);
        if (!Get(window)) return false;
        SetWindowPos(window, HWND(), 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                         (mayActivate ? 0 : SWP_NOACTIVATE));
        if (!(w = Get(window))) return false;
    }
    if (minimize) {
        Minimize(w);
    } else if (command == SW_SHOWMAXIMIZED) {
        Maximize(w, activate);
    } else if ((command == SW_RESTORE || command == SW_SHOWNORMAL) &&
               (w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        Restore(w, activate);
    }
    if ((w = Get(window)) && mayActivate && wasVisible && S().Active != window && CanActivate(w))
        Activate(w, WA_ACTIVE);
    return wasVisible;
}

bool IsWindowVisible(HWND window) {
    TWindow* w = Get(window);
    return w && IsVisibleChain(w);
}

bool IsIconic(HWND window) {
    TWindow* w = Get(window);
    return w && (w->Style & WS_MINIMIZE);
}

bool IsZoomed(HWND window) {
    TWindow* w = Get(window);
    return w && (w->Style & WS_MAXIMIZE);
}

bool BringWindowToTop(HWND window) {
    return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool GetWindowRect(HWND window, TRect& rect) {
    TWindow* w = Get(window);
    if (!w) return false;
    const TPoint o = WindowScreenOrigin(w);
    rect = gfx::Bounds(o.X, o.Y, w->Width(), w->Height());
    return true;
}

bool GetClientRect(HWND window, TRect& rect) {
    TWindow* w = Get(window);
    if (!w) return false;
    rect = {0, 0, w->Client.Width(), w->Client.Height()};
    return true;
}

bool ClientToScreen(HWND window, TPoint& point) {
    TWindow* w = Get(window);
    if (!w) return false;
    const TPoint o = ClientScreenOrigin(w);
    point = {point.X + o.X, point.Y + o.Y};
    return true;
}

bool ScreenToClient(HWND window, TPoint& point) {
    TWindow* w = Get(window);
    if (!w) return false;
    const TPoint o = ClientScreenOrigin(w);
    point = {point.X - o.X, point.Y - o.Y};
    return true;
}

void MapWindowPoints(HWND from, HWND to, TPoint* points, int count) {
    TPoint delta{0, 0};
    if (TWindow* f = Get(from)) {
        const TPoint o = ClientScreenOrigin(f);
        delta = {delta.X + o.X, delta.Y + o.Y};
    }
    if (TWindow* t = Get(to)) {
        const TPoint o = ClientScreenOrigin(t);
        delta = {delta.X - o.X, delta.Y - o.Y};
    }
    for (int i = 0; i < count; ++i) points[i] = {points[i].X + delta.X, points[i].Y + delta.Y};
}

TRect GetNormalRect(HWND window) {
    TWindow* w = Get(window);
    if (!w) return {};
    return (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->NormalRect : w->Rect;
}

bool SetWindowRgn(HWND window, std::optional<TRegion> region, bool redraw) {
    TWindow* w = Get(window);
    if (!w) return false;
    TRegion oldArea;
    if (w->Parent && IsVisibleChain(w)) oldArea = VisibleWindowArea(w, false);
    w->Region = std::move(region);
    if (!w->Parent) {
        SyncTopLevel(w);
        if (redraw) InvalidateWindow(w, true, true, true);
    } else if (redraw && IsVisibleChain(w)) {
        InvalidateUnder(Root(w), oldArea.Union(VisibleWindowArea(w, false)));
        InvalidateWindow(w, true, true, true);
    }
    return true;
}

int GetWindowRgn(HWND window, TRegion& region) {
    TWindow* w = Get(window);
    if (!w || !w->Region) return gfx::RGN_ERROR;
    region = *w->Region;
    return region.Complexity();
}

bool SetLayeredWindowAttributes(HWND window, gfx::TColor key, std::uint8_t alpha, DWORD flags) {
    TWindow* w = Get(window);
    if (!w || w->Parent || !(w->ExStyle & WS_EX_LAYERED)) return false;
    w->Layer = TLayerMode::Attributes;
    w->Alpha = (flags & LWA_ALPHA) ? alpha : 255;
    w->UseColorKey = (flags & LWA_COLORKEY) != 0;
    w->ColorKey = gfx::ColorToRGB(key);
    w->LayerImage.reset();
    SyncTopLevel(w);
    return true;
}

bool UpdateLayeredWindow(HWND window, const TPoint* position, const TSize* size,
                         const gfx::TSurface& image, TPoint source, gfx::TColor key,
                         const BLENDFUNCTION& blend, DWORD flags) {
    TWindow* w = Get(window);
    if (!w || w->Parent || !(w->ExStyle & WS_EX_LAYERED) || image.BitCount() != 32) return false;
    const int width = size ? size->cx : w->Width();
    const int height = size ? size->cy : w->Height();
    if (width < 0 || height < 0) return false;
    const bool perPixel = (flags & ULW_ALPHA) && (blend.AlphaFormat & AC_SRC_ALPHA);
    auto copy = std::make_shared<gfx::TSurface>(width, height, 32);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* dst = copy->Pixels() + std::size_t(y) * width;
        const int sy = source.Y + y;
        for (int x = 0; x < width; ++x) {
            const int sx = source.X + x;
            std::uint32_t p = 0;
            if (sx >= 0 && sy >= 0 && sx < image.Width() && sy < image.Height())
                p = image.Pixels()[std::size_t(sy) * image.Width() + sx];
            dst[x] = perPixel ? p : (p | 0xFF000000u);
        }
    }
    w->Layer = TLayerMode::Image;
    w->LayerImage = std::move(copy);
    w->Alpha = (flags & ULW_ALPHA) ? blend.SourceConstantAlpha : 255;
    w->UseColorKey = (flags & ULW_COLORKEY) != 0;
    w->ColorKey = gfx::ColorToRGB(key);
    const bool move = position && (position->X != w->Rect.Left || position->Y != w->Rect.Top);
    const bool resize = width != w->Width() || height != w->Height();
    if (move || resize)
        SetWindowPos(
            window, HWND(), position ? position->X : 0, position ? position->Y : 0, width, height,
            SWP_NOZORDER | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE) | (resize ? 0 : SWP_NOSIZE));
    if ((w = Get(window))) SyncTopLevel(w);
    return true;
}

gfx::HBITMAP GetWindowSurface(HWND window) {
    TWindow* w = Get(window);
    return w && !w->Parent ? w->Surface : nullptr;
}

// --- Monitors and metrics ----------------------------------------------------------------------

HMONITOR MonitorFromPoint(TPoint point, DWORD flags) {
    const auto monitors = Backend().Monitors();
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].Bounds.Contains(point.X, point.Y)) return int(i) + 1;
    return Fallback(monitors, point, flags);
}

HMONITOR MonitorFromRect(const TRect& rect, DWORD flags) {
    const auto monitors = Backend().Monitors();
    long long best = 0;
    int index = -1;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const TRect r = gfx::IntersectRect(rect, monitors[i].Bounds);
        const long long area = (long long)r.Width() * r.Height();
        if (area > best) {
            best = area;
            index = int(i);
        }
    }
    if (index >= 0) return index + 1;
    return Fallback(monitors, {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2}, flags);
}

HMONITOR MonitorFromWindow(HWND window, DWORD flags) {
    TRect r;
    if (!GetWindowRect(window, r)) return Fallback(Backend().Monitors(), {}, flags);
    return MonitorFromRect(r, flags);
}

bool GetMonitorInfo(HMONITOR monitor, MONITORINFO& info) {
    const auto monitors = Backend().Monitors();
    if (monitor < 1 || monitor > int(monitors.size())) return false;
    const TMonitor& m = monitors[std::size_t(monitor - 1)];
    info.rcMonitor = m.Bounds;
    info.rcWork = m.WorkArea;
    info.dwFlags = m.Primary ? MONITORINFOF_PRIMARY : 0;
    return true;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
        case SM_CYSCREEN: {
            const auto monitors = Backend().Monitors();
            const int p = PrimaryIndex(monitors);
            if (p < 0) return 0;
            const TRect& b = monitors[std::size_t(p)].Bounds;
            return index == SM_CXSCREEN ? b.Width() : b.Height();
        }
        case SM_XVIRTUALSCREEN:
            return VirtualScreen(Backend().Monitors()).Left;
        case SM_YVIRTUALSCREEN:
            return VirtualScreen(Backend().Monitors()).Top;
        case SM_CXVIRTUALSCREEN:
            return VirtualScreen(Backend().Monitors()).Width();
        case SM_CYVIRTUALSCREEN:
            return VirtualScreen(Backend().Monitors()).Height();
        case SM_CMONITORS:
            return int(Backend().Monitors().size());
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
            return 17;
        case SM_CYCAPTION:
            return 19;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return 4;
        case SM_CXSIZE:
        case SM_CYSIZE:
            return 18;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        default:
            return 0;
    }
}

bool SystemParametersInfo(UINT action, void* param) {
    if (!param) return false;
    if (action == SPI_GETWORKAREA) {
        const auto monitors = Backend().Monitors();
        const int p = PrimaryIndex(monitors);
        if (p < 0) return false;
        *static_cast<TRect*>(param) = monitors[std::size_t(p)].WorkArea;
        return true;
    }
    if (action == SPI_GETDRAGFULLWINDOWS) {
        *static_cast<bool*>(param) = true;
        return true;
    }
    return false;
}

void DisplayChanged() {
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    std::vector<HWND> tops;
    for (TWindow* w : S().TopLevels) tops.push_back(w->Handle);
    for (HWND h : tops) SendMessage(h, WM_DISPLAYCHANGE, 32, MAKELPARAM(cx, cy));
}

bool SetClipboardText(const std::string& utf8) {
    Backend().SetClipboardText(utf8);
    return true;
}

std::optional<std::string> GetClipboardText() {
    return Backend().ClipboardText();
}

}  // namespace win
