// Visible areas, update regions, paint order and the DCs handed out for window surfaces.
#include <algorithm>
#include <utility>

#include "platform/win/caret_private.h"
#include "platform/win/model.h"

namespace win {

using namespace detail;

namespace {

// The window's shape in its root surface: rectangle cut by its region.
TRegion Shape(const TWindow* w, TPoint origin) {
    TRegion shape(gfx::Bounds(origin.X, origin.Y, w->Width(), w->Height()));
    if (w->Region) {
        TRegion r = *w->Region;
        r.Offset(origin.X, origin.Y);
        shape = shape.Intersect(r);
    }
    return shape;
}

TRect ClientInSurface(const TWindow* w) {
    const TPoint o = SurfaceOrigin(w);
    return w->Client.Offset(o.X, o.Y);
}

void AddUpdate(TWindow* w, const TRegion& clientArea, bool erase) {
    const TRegion clipped =
        clientArea.Intersect(TRegion(TRect{0, 0, w->Client.Width(), w->Client.Height()}));
    if (clipped.IsEmpty()) return;
    w->Update = w->Update.Union(clipped);
    w->Erase = w->Erase || erase;
}

void InvalidateTree(TWindow* w, const TRegion& area) {
    if (!(w->Style & WS_VISIBLE)) return;
    const TRegion client = VisibleClientArea(w).Intersect(area);
    if (!client.IsEmpty()) {
        TRegion local = client;
        const TRect c = ClientInSurface(w);
        local.Offset(-c.Left, -c.Top);
        AddUpdate(w, local, true);
    }
    const TRegion frame =
        VisibleWindowArea(w, true).Subtract(TRegion(ClientInSurface(w))).Intersect(area);
    if (!frame.IsEmpty()) w->FrameDirty = true;
    for (TWindow* c : w->Children) InvalidateTree(c, area);
}

TWindow* FindIn(TWindow* w) {
    if (!(w->Style & WS_VISIBLE)) return nullptr;
    if (w->FrameDirty || !w->Update.IsEmpty()) return w;
    for (TWindow* c : w->Children)
        if (TWindow* found = FindIn(c)) return found;
    return nullptr;
}

TDCEntry* FindDC(HDC dc) {
    for (auto& e : S().DCs)
        if (e->DC.get() == dc) return e.get();
    return nullptr;
}

HDC MakeDC(TWindow* w, bool client, const TRegion* updateClip) {
    TWindow* root = Root(w);
    EnsureSurface(root);
    CaretOffSurface(root);
    auto entry = std::make_unique<TDCEntry>();
    entry->Window = w->Handle;
    entry->Root = root;
    TPoint origin = SurfaceOrigin(w);
    if (client) origin = {origin.X + w->Client.Left, origin.Y + w->Client.Top};
    entry->DC = std::make_unique<gfx::TDC>(root->Surface);
    gfx::SetViewportOrgEx(entry->DC.get(), origin.X, origin.Y);
    TRegion visible = client ? VisibleClientArea(w) : VisibleWindowArea(w, true);
    if (updateClip) {
        TRegion u = *updateClip;
        u.Offset(origin.X, origin.Y);
        visible = visible.Intersect(u);
    }
    entry->DC->SetSystemClip(visible);
    HDC dc = entry->DC.get();
    S().DCs.push_back(std::move(entry));
    return dc;
}

void PaintNow(TWindow* w) {
    const HWND h = w->Handle;
    if (w->FrameDirty) SendNcPaint(w);
    if (!(w = Get(h)) || w->Update.IsEmpty()) return;
    EraseNow(w);
    if (!(w = Get(h)) || w->Update.IsEmpty()) return;
    MSG msg;
    msg.hwnd = h;
    msg.message = WM_PAINT;
    msg.pt = S().Cursor;
    DispatchMessage(msg);
}

void UpdateTree(TWindow* w) {
    const HWND h = w->Handle;
    PaintNow(w);
    if (!(w = Get(h))) return;
    std::vector<HWND> children;
    for (TWindow* c : w->Children) children.push_back(c->Handle);
    for (HWND c : children)
        if (TWindow* cw = Get(c); cw && IsVisibleChain(cw)) UpdateTree(cw);
}

}  // namespace

namespace detail {

TRegion VisibleWindowArea(const TWindow* w, bool clipChildren) {
    if (!IsVisibleChain(w)) return {};
    TRegion area = Shape(w, SurfaceOrigin(w));
    for (const TWindow* c = w; c->Parent; c = c->Parent) {
        const TWindow* p = c->Parent;
        const TPoint po = SurfaceOrigin(p);
        area = area.Intersect(TRegion(p->Client.Offset(po.X, po.Y)));
        if (p->Region) {
            TRegion r = *p->Region;
            r.Offset(po.X, po.Y);
            area = area.Intersect(r);
        }
        const TRect bounds = area.Bounds();
        for (const TWindow* s : p->Children) {
            if (s == c) break;
            if (!(s->Style & WS_VISIBLE)) continue;
            const TPoint so{po.X + p->Client.Left + s->Rect.Left,
                            po.Y + p->Client.Top + s->Rect.Top};
            if (IntersectRect(bounds, gfx::Bounds(so.X, so.Y, s->Width(), s->Height())).IsEmpty())
                continue;  // a sibling beside us hides nothing
            area = area.Subtract(Shape(s, so));
        }
        if (area.IsEmpty()) return area;
    }
    if (clipChildren && !area.IsEmpty()) {
        // Plain rectangles go out in one subtraction; shaped children one by one.
        const TPoint wo = SurfaceOrigin(w);
        const TRect bounds = area.Bounds();
        std::vector<TRect> covered;
        for (const TWindow* child : w->Children) {
            if (!(child->Style & WS_VISIBLE)) continue;
            const TPoint co{wo.X + w->Client.Left + child->Rect.Left,
                            wo.Y + w->Client.Top + child->Rect.Top};
            const TRect r = gfx::Bounds(co.X, co.Y, child->Width(), child->Height());
            if (IntersectRect(bounds, r).IsEmpty()) continue;
            if (child->Region)
                area = area.Subtract(Shape(child, co));
            else
                covered.push_back(r);
        }
        if (!covered.empty()) area = area.Subtract(TRegion::FromRects(covered));
    }
    return area;
}

TRegion VisibleClientArea(const TWindow* w) {
    return VisibleWindowArea(w, true).Intersect(TRegion(ClientInSurface(w)));
}

void InvalidateWindow(TWindow* w, bool frame, bool erase, bool children) {
    AddUpdate(w, TRegion(TRect{0, 0, w->Client.Width(), w->Client.Height()}), erase);
    if (frame) w->FrameDirty = true;
    if (children)
        for (TWindow* c : w->Children) InvalidateWindow(c, true, erase, true);
}

void InvalidateUnder(TWindow* root, const TRegion& surfaceArea) {
    if (!root || surfaceArea.IsEmpty()) return;
    InvalidateTree(root, surfaceArea);
}

void AddDamage(TWindow* root, const TRegion& surfaceArea) {
    if (!root || surfaceArea.IsEmpty()) return;
    root->Damage = root->Damage.Union(surfaceArea);
}

void FlushDamage() {
    TState& s = S();
    if (!s.Backend) return;
    CaretTick();
    for (TWindow* w : s.TopLevels)
        if (!w->Damage.IsEmpty()) {
            s.Backend->Present(w->Handle, w->Damage);
            w->Damage = TRegion();
        }
}

TWindow* FindPaintTarget() {
    for (TWindow* w : S().TopLevels)
        if (TWindow* found = FindIn(w)) return found;
    return nullptr;
}

void SendNcPaint(TWindow* w) {
    w->FrameDirty = false;
    Send(w, WM_NCPAINT, 1, 0);
}

void EraseNow(TWindow* w) {
    if (!w->Erase || w->Update.IsEmpty()) return;
    w->Erase = false;
    const HWND h = w->Handle;
    const TRegion update = w->Update;
    HDC dc = MakeDC(w, true, &update);
    const bool refused = Send(w, WM_ERASEBKGND, DcToParam(dc), 0) == 0;
    ReleaseDC(h, dc);
    if ((w = Get(h))) w->EraseRefused = refused;
}

void ReleaseDCsOf(TWindow* w) {
    auto& dcs = S().DCs;
    dcs.erase(std::remove_if(dcs.begin(), dcs.end(),
                             [&](const std::unique_ptr<TDCEntry>& e) {
                                 return e->Window == w->Handle || e->Root == w;
                             }),
              dcs.end());
}

}  // namespace detail

bool InvalidateRect(HWND window, const TRect* rect, bool erase) {
    if (!window) {
        for (TWindow* w : S().TopLevels) InvalidateWindow(w, true, erase, true);
        return true;
    }
    TWindow* w = Get(window);
    if (!w) return false;
    AddUpdate(w,
              rect ? TRegion(*rect) : TRegion(TRect{0, 0, w->Client.Width(), w->Client.Height()}),
              erase);
    return true;
}

bool InvalidateRgn(HWND window, const TRegion* region, bool erase) {
    TWindow* w = Get(window);
    if (!w) return false;
    AddUpdate(w, region ? *region : TRegion(TRect{0, 0, w->Client.Width(), w->Client.Height()}),
              erase);
    return true;
}

bool ValidateRect(HWND window, const TRect* rect) {
    TWindow* w = Get(window);
    if (!w) return false;
    if (rect)
        w->Update = w->Update.Subtract(TRegion(*rect));
    else
        w->Update = TRegion();
    if (w->Update.IsEmpty()) w->Erase = false;
    return true;
}

bool RedrawWindow(HWND window, const TRect* rect, const TRegion* region, UINT flags) {
    TWindow* w = Get(window);
    if (!w) return false;
    const TRegion whole(TRect{0, 0, w->Client.Width(), w->Client.Height()});
    const TRegion area = rect ? TRegion(*rect) : region ? *region : whole;
    if (flags & RDW_INVALIDATE) {
        AddUpdate(w, area, (flags & RDW_ERASE) != 0);
        if (flags & RDW_FRAME) w->FrameDirty = true;
        if ((flags & RDW_ALLCHILDREN) && IsVisibleChain(w)) {
            TRegion surfaceArea = area;
            const TRect c = ClientInSurface(w);
            surfaceArea.Offset(c.Left, c.Top);
            for (TWindow* child : w->Children) InvalidateTree(child, surfaceArea);
        }
    }
    if (flags & RDW_VALIDATE) {
        w->Update = w->Update.Subtract(area);
        if (w->Update.IsEmpty() || (flags & RDW_NOERASE)) w->Erase = false;
        if (flags & RDW_NOFRAME) w->FrameDirty = false;
    }
    if ((flags & (RDW_UPDATENOW | RDW_ERASENOW)) && IsVisibleChain(w)) {
        if (flags & RDW_ALLCHILDREN)
            UpdateTree(w);
        else
            PaintNow(w);
        FlushDamage();
    }
    return true;
}

bool UpdateWindow(HWND window) {
    TWindow* w = Get(window);
    if (!w) return false;
    if (IsVisibleChain(w)) PaintNow(w);
    FlushDamage();
    return true;
}

bool GetUpdateRect(HWND window, TRect* rect, bool /*erase*/) {
    TWindow* w = Get(window);
    if (!w) return false;
    if (rect) *rect = w->Update.Bounds();
    return !w->Update.IsEmpty();
}

HDC BeginPaint(HWND window, PAINTSTRUCT& paint) {
    TWindow* w = Get(window);
    if (!w) return nullptr;
    const TRegion update = w->Update;
    const bool erase = w->Erase;
    w->Update = TRegion();
    w->Erase = false;
    HDC dc = MakeDC(w, true, &update);
    paint.hdc = dc;
    paint.rcPaint = update.Bounds();
    paint.fErase = std::exchange(w->EraseRefused, false);
    if (erase) paint.fErase = Send(w, WM_ERASEBKGND, DcToParam(dc), 0) == 0;
    return dc;
}

bool EndPaint(HWND window, const PAINTSTRUCT& paint) {
    return ReleaseDC(window, paint.hdc) != 0;
}

HDC GetDC(HWND window) {
    TWindow* w = Get(window);
    return w ? MakeDC(w, true, nullptr) : nullptr;
}

HDC GetWindowDC(HWND window) {
    TWindow* w = Get(window);
    return w ? MakeDC(w, false, nullptr) : nullptr;
}

int ReleaseDC(HWND /*window*/, HDC dc) {
    TDCEntry* entry = FindDC(dc);
    if (!entry) return 0;
    if (Get(entry->Root->Handle) && entry->DC->Surface() == entry->Root->Surface.get())
        AddDamage(entry->Root, entry->DC->VisibleRegion());
    auto& dcs = S().DCs;
    dcs.erase(std::remove_if(dcs.begin(), dcs.end(),
                             [&](const std::unique_ptr<TDCEntry>& e) { return e.get() == entry; }),
              dcs.end());
    return 1;
}

}  // namespace win
