// The skinned frame's geometry: the skin's frame values moved to the form's size, the places of
// the frame objects, the non-client hit test and the window region cut from the skin's mask.
#include <algorithm>

#include "platform/win/win.h"
#include "skin/core/skin_regions.h"
#include "skin/core/system_routines.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

gfx::TPoint Moved(gfx::TPoint p, int dx, int dy) {
    return {p.X + dx, p.Y + dy};
}

bool HasMask(const TbsSkinData& sd) {
    return sd.FMask && sd.FMask->Width() > 0 && sd.FMask->Height() > 0;
}

// A pixel outside the bitmap is not black.
bool BlackAt(const gfx::TBitmap& bitmap, int x, int y, gfx::TColor black) {
    if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return false;
    const int bytes = bitmap.PixelFormat() == gfx::pf24bit ? 3 : 4;
    const std::uint8_t* p = bitmap.ScanLine(y) + x * bytes;
    const gfx::TColor rgb = gfx::TColor(p[2]) | gfx::TColor(p[1]) << 8 | gfx::TColor(p[0]) << 16;
    return rgb == (black & 0xFFFFFF);
}

std::optional<gfx::TRegion> StripRegion(gfx::TBitmap& strip, int x, int y) {
    if (strip.Width() <= 0 || strip.Height() <= 0) return std::nullopt;
    std::optional<gfx::TRegion> rgn;
    MaskToRegion(rgn, strip);
    if (rgn) rgn->Offset(x, y);
    return rgn;
}

}  // namespace

bool TbsSkinForm::IsSizeable() const {
    const auto style = FForm->BorderStyle();
    return FAlwaysResize || style == vcl::bsSizeable || style == vcl::bsSizeToolWin;
}

void TbsSkinForm::CalcSkinRects() {
    if (!HasSkin()) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    const TbsSkinData& sd = *FSD;
    const int dx = FFormWidth - sd.FPicture->Width();
    const int dy = FFormHeight - sd.FPicture->Height();
    NewLTPoint = sd.LTPoint;
    NewRTPoint = Moved(sd.RTPoint, dx, 0);
    NewLBPoint = Moved(sd.LBPoint, 0, dy);
    NewRBPoint = Moved(sd.RBPoint, dx, dy);
    NewClRect = {sd.ClRect.Left, sd.ClRect.Top, sd.ClRect.Right + dx, sd.ClRect.Bottom + dy};
    NewCaptionRect = sd.CaptionRect;
    if (!RectIsEmpty(NewCaptionRect)) NewCaptionRect.Right += dx;
    NewButtonsRect = sd.ButtonsRect;
    ButtonsInLeft = !RectIsEmpty(sd.ButtonsRect) && sd.ButtonsRect.Left < sd.FPicture->Width() / 2;
    if (!RectIsEmpty(NewButtonsRect) && NewButtonsRect.Left > sd.FPicture->Width() / 2)
        NewButtonsRect = NewButtonsRect.Offset(dx, 0);
    NewButtonsInLeft = sd.CapButtonsInLeft;
    NewButtonsOffset = sd.ButtonsOffset;
    NewHitTestLTPoint = sd.HitTestLTPoint;
    NewHitTestRTPoint = Moved(sd.HitTestRTPoint, dx, 0);
    NewHitTestLBPoint = Moved(sd.HitTestLBPoint, 0, dy);
    NewHitTestRBPoint = Moved(sd.HitTestRBPoint, dx, dy);
    NewMaskRectArea = {sd.MaskRectArea.Left, sd.MaskRectArea.Top, sd.MaskRectArea.Right + dx,
                       sd.MaskRectArea.Bottom + dy};
}

gfx::TRect TbsSkinForm::MapSkinRect(const gfx::TRect& R) const {
    if (!FSD) return R;
    const TbsSkinData& sd = *FSD;
    const int w0 = sd.FPicture->Width(), h0 = sd.FPicture->Height();
    const gfx::TRect lt{0, 0, sd.LTPoint.X, sd.LTPoint.Y};
    const gfx::TRect rt{sd.RTPoint.X, 0, w0, sd.RTPoint.Y};
    const gfx::TRect lb{0, sd.LBPoint.Y, sd.LBPoint.X, h0};
    const gfx::TRect rb{sd.RBPoint.X, sd.RBPoint.Y, w0, h0};
    const int dx = NewRBPoint.X - sd.RBPoint.X, dy = NewRBPoint.Y - sd.RBPoint.Y;
    auto in = [](const gfx::TRect& zone, int x, int y) { return zone.Contains(x, y); };
    const bool tlLT = in(lt, R.Left, R.Top), brLT = in(lt, R.Right, R.Bottom);
    const bool tlRT = in(rt, R.Left, R.Top), brRT = in(rt, R.Right, R.Bottom);
    const bool tlLB = in(lb, R.Left, R.Top), brLB = in(lb, R.Right, R.Bottom);
    const bool tlRB = in(rb, R.Left, R.Top), brRB = in(rb, R.Right, R.Bottom);
    gfx::TRect r = R;
    if (tlLT && brLT) return r;
    if (tlRT && brRT) {
        r = r.Offset(dx, 0);
    } else if (tlLB && brLB) {
        r = r.Offset(0, dy);
    } else if (tlRB && brRB) {
        r = r.Offset(dx, dy);
    } else if (tlLT && brRB) {
        r.Right += dx;
        r.Bottom += dy;
    } else if (tlLT && brRT) {
        r.Right += dx;
    } else if (tlLB && brRB) {
        r.Right += dx;
        r = r.Offset(0, dy);
    } else if (tlLT && brLB) {
        r.Bottom += dy;
    } else if (tlRT && brRB) {
        r = r.Offset(dx, 0);
        r.Bottom += dy;
    }
    return r;
}

void TbsSkinForm::CalcObjectRects() {
    for (auto& o : ObjectList)
        if (!o->SkinRectInAPicture) o->ObjectRect = MapSkinRect(o->SkinRect);

    gfx::TRect R;
    const bool inButtonsRect = !RectIsEmpty(NewButtonsRect);
    if (inButtonsRect)
        R = NewButtonsRect;
    else if (!RectIsEmpty(NewCaptionRect))
        R = NewCaptionRect;
    else
        return;
    const int top = R.Top;

    auto commandOf = [](TbsActiveSkinObject* o, TbsStdCommand& command) {
        if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o)) {
            command = b->Command;
            return true;
        }
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o)) {
            command = a->Command;
            return true;
        }
        return false;
    };
    auto laidOut = [&](TbsActiveSkinObject* o, TbsStdCommand& command) {
        return o->Visible && o->SkinRectInAPicture && commandOf(o, command);
    };
    auto find = [&](TbsStdCommand wanted) -> TbsActiveSkinObject* {
        for (auto& o : ObjectList) {
            TbsStdCommand command;
            if (laidOut(o.get(), command) && command == wanted) return o.get();
        }
        return nullptr;
    };
    auto sizeOf = [&](TbsActiveSkinObject* o, TbsStdCommand command) -> gfx::TSize {
        if (command == cmSysMenu && FShowIcon && dynamic_cast<TbsSkinStdButtonObject*>(o))
            return GetSmallIconSize();
        return {RectWidthOf(o->SkinRect), RectHeightOf(o->SkinRect)};
    };
    TbsSkinCaptionObject* caption = nullptr;
    for (auto& o : ObjectList)
        if ((caption = dynamic_cast<TbsSkinCaptionObject*>(o.get()))) break;

    std::vector<std::pair<TbsActiveSkinObject*, TbsStdCommand>> row;
    for (TbsStdCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (TbsActiveSkinObject* o = find(c)) row.emplace_back(o, c);
    for (auto& o : ObjectList) {
        TbsStdCommand command;
        if (laidOut(o.get(), command) && command == cmDefault) row.emplace_back(o.get(), command);
    }
    TbsActiveSkinObject* sysMenu = find(cmSysMenu);
    const int offset = NewButtonsOffset;

    auto placeSysMenuInCaption = [&]() {
        if (!sysMenu) return;
        const gfx::TSize s = sizeOf(sysMenu, cmSysMenu);
        int x = NewCaptionRect.Left;
        const int t = NewCaptionRect.Top + RectHeightOf(NewCaptionRect) / 2 - s.cy / 2;
        sysMenu->ObjectRect = {x, t, x + s.cx, t + s.cy};
        x += s.cx + offset;
        if (caption) caption->ObjectRect.Left = x - offset;
    };

    if (!NewButtonsInLeft) {
        int x = R.Right;
        for (auto& [o, c] : row) {
            const gfx::TSize s = sizeOf(o, c);
            o->ObjectRect = {x - s.cx, top, x, top + s.cy};
            x -= s.cx + offset;
        }
        if (!inButtonsRect && caption) caption->ObjectRect.Right = x + offset;
        placeSysMenuInCaption();
    } else {
        int x = R.Left;
        for (auto& [o, c] : row) {
            const gfx::TSize s = sizeOf(o, c);
            o->ObjectRect = {x, top, x + s.cx, top + s.cy};
            x += s.cx + offset;
        }
        if (!inButtonsRect) {
            if (sysMenu) {
                const gfx::TSize s = sizeOf(sysMenu, cmSysMenu);
                sysMenu->ObjectRect = {x, top, x + s.cx, top + s.cy};
                x += s.cx + offset;
            }
            if (caption) caption->ObjectRect.Left = x + offset;
        } else {
            placeSysMenuInCaption();
        }
    }
}

void TbsSkinForm::CalcDefRects() {
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    const int s = GetDefButtonSize(FForm->BorderStyle());
    // The caption is kept even before the default buttons exist, so the default frame drags.
    NewDefCaptionRect = {3, 3, FFormWidth - 3, GetDefCaptionHeight(FForm->BorderStyle())};
    if (ObjectList.empty()) return;
    auto find = [&](TbsStdCommand wanted) -> TbsSkinStdButtonObject* {
        for (auto& o : ObjectList)
            if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get()))
                if (b->Visible && b->SkinRectInAPicture && b->Command == wanted) return b;
        return nullptr;
    };
    int x = FFormWidth - 3;
    for (TbsStdCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (TbsSkinStdButtonObject* b = find(c)) {
            b->ObjectRect = {x - s, 4, x, 4 + s};
            x -= s;
        }
    NewDefCaptionRect.Right = x;
    if (TbsSkinStdButtonObject* b = find(cmSysMenu)) {
        const gfx::TSize size = FShowIcon ? GetSmallIconSize() : gfx::TSize{s, s};
        b->ObjectRect = {3, 4, 3 + size.cx, 4 + size.cy};
        NewDefCaptionRect.Left = 3 + size.cx;
    }
}

int TbsSkinForm::GetHitTest(gfx::TPoint P) {
    // The quick buttons' part of the caption is not for dragging: presses there go to them.
    auto inCaption = [&]() {
        for (auto& o : ObjectList)
            if (dynamic_cast<TbsSkinCaptionObject*>(o.get()) && o->ObjectRect.Contains(P.X, P.Y))
                return P.X >= o->ObjectRect.Left + QuickButtonsWidth();
        return false;
    };
    const bool c = inCaption();
    if (FRollUpState || Minimized()) return c ? win::HTCAPTION : win::HTOBJECT;
    if (ActiveObject != -1 && !c && !NewClRect.Contains(P.X, P.Y) && !FSizeMove)
        return win::HTOBJECT;
    auto plain = [&]() {
        if (NewClRect.Contains(P.X, P.Y)) return win::HTCLIENT;
        return c ? win::HTCAPTION : win::HTOBJECT;
    };
    if (FWindowState == vcl::wsMaximized || !IsSizeable()) return plain();

    const int b = FSD ? FSD->BorderW : 0;
    const gfx::TPoint probes[] = {{P.X - b, P.Y}, {P.X, P.Y - b}, {P.X + b, P.Y}, {P.X, P.Y + b}};
    bool near = false;
    if (FSD && HasMask(*FSD)) {
        if (!NewMaskRectArea.Contains(P.X, P.Y))
            for (const gfx::TPoint& q : probes) near = near || !PointInMask(q);
    } else {
        const gfx::TRect form{0, 0, FFormWidth, FFormHeight};
        for (const gfx::TPoint& q : probes) near = near || !form.Contains(q.X, q.Y);
    }
    if (!near) return plain();

    if (P.X <= NewHitTestLTPoint.X && P.Y <= NewHitTestLTPoint.Y) return win::HTTOPLEFT;
    if (P.X >= NewHitTestRTPoint.X && P.Y <= NewHitTestRTPoint.Y) return win::HTTOPRIGHT;
    if (P.X <= NewHitTestLBPoint.X && P.Y >= NewHitTestLBPoint.Y) return win::HTBOTTOMLEFT;
    if (P.X >= NewHitTestRBPoint.X && P.Y >= NewHitTestRBPoint.Y) return win::HTBOTTOMRIGHT;
    if (gfx::TRect{NewHitTestLTPoint.X, 0, NewHitTestRTPoint.X, NewClRect.Top}.Contains(P.X, P.Y))
        return win::HTTOP;
    if (gfx::TRect{NewHitTestLBPoint.X, NewClRect.Bottom, NewHitTestRBPoint.X, FFormHeight}
            .Contains(P.X, P.Y))
        return win::HTBOTTOM;
    if (gfx::TRect{0, NewHitTestLTPoint.Y, NewClRect.Left, NewHitTestLBPoint.Y}.Contains(P.X, P.Y))
        return win::HTLEFT;
    if (gfx::TRect{NewClRect.Right, NewHitTestRTPoint.Y, FFormWidth, NewHitTestRBPoint.Y}.Contains(
            P.X, P.Y))
        return win::HTRIGHT;
    return plain();
}

int TbsSkinForm::GetDefHitTest(gfx::TPoint P) {
    const int w = FForm->Width(), h = FForm->Height();
    if (!(FWindowState == vcl::wsMaximized || FRollUpState || !IsSizeable() || Minimized())) {
        if (ActiveObject != -1) return win::HTOBJECT;
        const bool left = P.X <= 2, top = P.Y <= 2, right = P.X >= w - 2, bottom = P.Y >= h - 2;
        if (left && top) return win::HTTOPLEFT;
        if (right && top) return win::HTTOPRIGHT;
        if (left && bottom) return win::HTBOTTOMLEFT;
        if (right && bottom) return win::HTBOTTOMRIGHT;
        if (left) return win::HTLEFT;
        if (top) return win::HTTOP;
        if (right) return win::HTRIGHT;
        if (bottom) return win::HTBOTTOM;
    }
    CalcDefRects();
    if (NewDefCaptionRect.Contains(P.X, P.Y)) return win::HTCAPTION;
    const int captionHeight = GetDefCaptionHeight(FForm->BorderStyle());
    if (gfx::TRect{3, captionHeight + 3, w - 3, h - 3}.Contains(P.X, P.Y)) return win::HTCLIENT;
    return win::HTOBJECT;
}

bool TbsSkinForm::PointInMask(gfx::TPoint P) {
    if (NewMaskRectArea.Contains(P.X, P.Y)) return true;
    if (P.Y <= NewMaskRectArea.Top) return BlackAt(RMTop, P.X, P.Y, BlackColor);
    if (P.Y >= NewMaskRectArea.Bottom)
        return BlackAt(RMBottom, P.X, P.Y - NewMaskRectArea.Bottom, BlackColor);
    if (P.X <= NewMaskRectArea.Left)
        return BlackAt(RMLeft, P.X, P.Y - NewMaskRectArea.Top, BlackColor);
    return BlackAt(RMRight, P.X - NewMaskRectArea.Right, P.Y - NewMaskRectArea.Top, BlackColor);
}

void TbsSkinForm::SetFormRegion(bool) {
    win::HWND wnd;
    const bool window = FormHandle(wnd);
    auto apply = [&]() {
        if (window) win::SetWindowRgn(wnd, FRgn, true);
    };
    auto emptyStrips = [&]() {
        for (gfx::TBitmap* strip : {&RMTop, &RMBottom, &RMLeft, &RMRight}) strip->SetSize(0, 0);
    };
    if (!FSkinnableForm || FForm->BorderStyle() == vcl::bsNone) {
        if (FRgn) {
            FRgn.reset();
            apply();
        }
        return;
    }
    const gfx::TRect whole{0, 0, FFormWidth, FFormHeight};
    if ((HasSkin() && !HasMask(*FSD)) || MaximizedMDIChild()) {
        FRgn = gfx::TRegion(whole);
        apply();
        return;
    }
    if (!HasSkin()) {
        FRgn = gfx::TRegion(whole);
        apply();
        emptyStrips();
        return;
    }
    const TbsSkinData& sd = *FSD;
    emptyStrips();
    SplitSkinBorderStrips(sd.LTPoint, sd.RTPoint, sd.LBPoint, sd.RBPoint, sd.MaskRectArea,
                          NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewMaskRectArea,
                          *sd.FMask, RMTop, RMLeft, RMRight, RMBottom, FFormWidth, FFormHeight);
    std::optional<gfx::TRegion> rgn;
    if (!RectIsEmpty(NewMaskRectArea)) rgn = gfx::TRegion(NewMaskRectArea);
    const std::pair<gfx::TBitmap*, gfx::TPoint> strips[] = {
        {&RMTop, {0, 0}},
        {&RMBottom, {0, NewMaskRectArea.Bottom}},
        {&RMLeft, {0, NewMaskRectArea.Top}},
        {&RMRight, {NewMaskRectArea.Right, NewMaskRectArea.Top}}};
    for (const auto& [strip, at] : strips) {
        std::optional<gfx::TRegion> part = StripRegion(*strip, at.X, at.Y);
        if (part) rgn = rgn ? rgn->Union(*part) : std::move(*part);
    }
    FRgn = std::move(rgn);
    apply();
}

void TbsSkinForm::UpdateFrame(bool AUpdate) {
    if (Designing() || !HasSkin()) return;
    if (FSkinnableForm) {
        CalcSkinRects();
        if (AUpdate) CalcObjectRects();
    }
    SetFormRegion(AUpdate);
    if (!FRgn && FSkinnableForm && FForm->BorderStyle() != vcl::bsNone) NCPaint();
    if (FSD->StretchEffect) {
        FForm->Repaint();
        for (int i = 0; i < FForm->ControlCount(); ++i)
            if (auto* child = dynamic_cast<vcl::TWinControl*>(FForm->Controls(i)))
                if (child->HandleAllocated())
                    win::SendMessage(child->Handle(), WM_CHECKPARENTBG, 0, 0);
    }
}

}  // namespace skin
