#include "skin/controls/bars.h"

#include <algorithm>

#include "skin/controls/bevel.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/controls/speed_button.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"

namespace skin {

namespace {

constexpr int kArrowWidth = 12;
constexpr std::uintptr_t kScrollTimer = 1;

template <class F>
void ForEachSpeedButton(vcl::TWinControl* bar, F f) {
    for (int i = 0; i < bar->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(bar->Controls(i))) f(b);
}

}  // namespace

// ---- TbsSkinToolBar -----------------------------------------------------------------------------

TbsSkinToolBar::TbsSkinToolBar(vcl::TComponent* AOwner) : TbsSkinPanel(AOwner) {
    SetForcebackGround(false);
    SetSkinDataName("toolpanel");
    SetDefaultHeight(0);
    SetBorderStyle(bvNone);
    SetHeight(25);
}

void TbsSkinToolBar::SetScrollOffset(int value) {
    if (value >= 0) FScrollOffset = value;
}

void TbsSkinToolBar::SetScrollTimerInterval(int value) {
    if (value > 0) FScrollTimerInterval = value;
}

void TbsSkinToolBar::SetImages(vcl::TCustomImageList* value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value) value->FreeNotification(this);
    ForEachSpeedButton(this, [](TbsSkinSpeedButton* b) { b->Repaint(); });
}

void TbsSkinToolBar::SetHotImages(vcl::TCustomImageList* value) {
    if (FHotImages) FHotImages->RemoveFreeNotification(this);
    FHotImages = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinToolBar::SetDisabledImages(vcl::TCustomImageList* value) {
    if (FDisabledImages) FDisabledImages->RemoveFreeNotification(this);
    FDisabledImages = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinToolBar::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinPanel::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FHotImages) FHotImages = nullptr;
    if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}

void TbsSkinToolBar::SetFlat(bool value) {
    FFlat = value;
    ForEachSpeedButton(this, [value](TbsSkinSpeedButton* b) { b->SetFlat(value); });
}

void TbsSkinToolBar::SetShowCaptions(bool value) {
    if (FShowCaptions == value) return;
    FShowCaptions = value;
    if (FAutoShowHideCaptions)
        ForEachSpeedButton(this, [value](TbsSkinSpeedButton* b) { b->SetShowCaption(value); });
    if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
        SetWidth(value ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TbsSkinToolBar::SetSkinData(TbsSkinData* value) {
    TbsSkinPanel::SetSkinData(value);
    for (int i = 0; i < ControlCount(); ++i) {
        vcl::TControl* c = Controls(i);
        if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(c)) b->SetSkinData(value);
        if (auto* b = dynamic_cast<TbsSkinBevel*>(c)) b->SetSkinData(value);
    }
}

bool TbsSkinToolBar::CentresChildren(vcl::TRect& clientRect) {
    if (!FAdjustControls) return false;
    clientRect = GetSkinClientRect();
    return true;
}

bool TbsSkinToolBar::ChildImages(vcl::TCustomImageList*& images, vcl::TCustomImageList*& hotImages,
                                 vcl::TCustomImageList*& disabledImages) {
    images = FImages;
    hotImages = FHotImages;
    disabledImages = FDisabledImages;
    return true;
}

void TbsSkinToolBar::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    FButtonDataIndex = -1;
    if (FIndex == -1) return;
    const int i = FSD->GetControlIndex("resizebutton");
    if (i != -1 && dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[i].get()))
        FButtonDataIndex = i;
}

bool TbsSkinToolBar::IsSkinnedChild(vcl::TControl* c) const {
    return dynamic_cast<TbsSkinControl*>(c) || dynamic_cast<TbsGraphicSkinControl*>(c) ||
           dynamic_cast<TbsSkinBevel*>(c);
}

void TbsSkinToolBar::CentreOtherChildren() {
    const vcl::TRect r = GetSkinClientRect();
    for (int i = 0; i < ControlCount(); ++i) {
        vcl::TControl* c = Controls(i);
        if (IsSkinnedChild(c) || c->Align() != vcl::alNone) continue;
        c->SetTop(r.Top + r.Height() / 2 - c->Height() / 2);
    }
}

void TbsSkinToolBar::SetBounds(int left, int top, int width, int height) {
    const int oldWidth = Width();
    FHSizeOffset = oldWidth != 0 && width > oldWidth ? width - oldWidth : 0;
    TbsSkinPanel::SetBounds(left, top, width, height);
    if (FAdjustControls)
        for (int i = 0; i < ControlCount(); ++i) {
            vcl::TControl* c = Controls(i);
            if (IsSkinnedChild(c)) c->SetBounds(c->Left(), c->Top(), c->Width(), c->Height());
        }
    // The layout runs after the window took its new size (for any alignment), so that showing
    // or hiding the arrows never re-creates the window in the middle of its own move.
    if (FCanScroll) UpdateScroll();
    if (FAdjustControls || FCanScroll) CentreOtherChildren();
}

void TbsSkinToolBar::ShowArrows(bool show) {
    for (TArrow& a : Buttons) {
        a = TArrow{};
        a.Visible = show;
    }
    if (TimerMode != 0) StopTimer();
    // The non-client area changes only with a new window.
    if (HandleAllocated()) RecreateWnd();
}

void TbsSkinToolBar::UpdateScroll() {
    if (Width() == 0) return;
    int content = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        vcl::TControl* c = Controls(i);
        if (c->Visible()) content = std::max(content, c->Left() + c->Width());
    }
    if (content > 0 && ClientWidth() < content + SPosition) {
        if (!ArrowsShown()) ShowArrows(true);
        const int client = ClientWidth();
        const int oldMax = SMax;
        SMax = SPosition + content - 1;
        SPage = client;
        if (SPosition > 0 && content < client && FHSizeOffset > 0) {
            // The bar grew: what was scrolled away comes back by the growth.
            FHSizeOffset = std::min(FHSizeOffset, SPosition);
            SPosition -= FHSizeOffset;
            ScrollBy(FHSizeOffset, 0);
        } else if (SPosition > 0 && content < client && FHSizeOffset <= 0 && SMax < oldMax) {
            const int back = client - content;
            SPosition -= back;
            ScrollBy(back, 0);
        }
        FHSizeOffset = 0;
        SOldPosition = SPosition;
        return;
    }
    if (SPosition > 0) ScrollBy(SPosition, 0);
    SMax = SPosition = SPage = FHSizeOffset = SOldPosition = 0;
    if (ArrowsShown()) ShowArrows(false);
}

void TbsSkinToolBar::StartTimer(int mode) {
    TimerMode = mode;
    if (HandleAllocated()) win::SetTimer(Handle(), kScrollTimer, win::UINT(FScrollTimerInterval));
}

void TbsSkinToolBar::StopTimer() {
    if (HandleAllocated()) win::KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

void TbsSkinToolBar::ScrollStep(int mode) {
    if (mode == 0) return;
    const int step = FScrollOffset ? FScrollOffset : ClientWidth();
    if (mode == 2)
        SPosition = std::max(0, std::min(SPosition + step, SMax - SPage + 1));
    else
        SPosition = std::max(SPosition - step, 0);
    if (SPosition == SOldPosition) {
        StopTimer();
        return;
    }
    ScrollBy(-(SPosition - SOldPosition), 0);
    Repaint();
    SOldPosition = SPosition;
}

void TbsSkinToolBar::RepaintArrows() {
    if (HandleAllocated())
        win::RedrawWindow(Handle(), nullptr, nullptr, win::RDW_FRAME | win::RDW_INVALIDATE);
    PaintArrows();
}

void TbsSkinToolBar::ForgetArrowHover() {
    bool any = false;
    for (TArrow& a : Buttons) {
        any = any || a.MouseIn;
        a.MouseIn = false;
    }
    if (!any) return;
    if (TimerMode != 0) StopTimer();
    RepaintArrows();
}

void TbsSkinToolBar::PaintArrows() {
    if (!FCanScroll || !ArrowsShown() || !HandleAllocated()) return;
    gfx::HDC dc = win::GetWindowDC(Handle());
    if (!dc) return;
    gfx::TCanvas canvas(dc);
    GetSkinData();
    auto* data =
        FButtonDataIndex != -1
            ? dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[FButtonDataIndex].get())
            : nullptr;
    const int h = Height();
    const vcl::TRect rects[2] = {{0, 0, kArrowWidth, h}, {Width() - kArrowWidth, 0, Width(), h}};
    for (int i = 0; i < 2; ++i) {
        const TArrow& a = Buttons[i];
        if (!a.Visible) continue;
        const vcl::TRect r = rects[i];
        const bool down = a.Pressed() || (a.MouseIn && FHotScroll);
        gfx::TBitmap b;
        b.SetSize(r.Width(), r.Height());
        gfx::TCanvas& c = b.Canvas();
        gfx::TColor arrow = gfx::clBtnText;
        TbsSkinGeometry g;
        if (data && g.CopySkinRecord(*data, *FSD) && g.Picture) {
            vcl::TRect piece = data->SkinRect;
            arrow = data->FontColor;
            if (down && !data->DownSkinRect.IsEmpty()) {
                piece = data->DownSkinRect;
                arrow = data->DownFontColor;
            } else if (a.MouseIn && !data->ActiveSkinRect.IsEmpty()) {
                piece = data->ActiveSkinRect;
                arrow = data->ActiveFontColor;
            }
            int w = r.Width(), hh = r.Height();
            g.FitSkinSizeTo(w, hh, true);
            g.DrawSkinRectAt(b, g.Picture, piece, r.Width(), r.Height(), true);
        } else {
            c.Brush().SetStyle(gfx::bsSolid);
            c.Brush().SetColor(down        ? kNoSkin.DownFill
                               : a.MouseIn ? kNoSkin.HotFill
                                           : gfx::clBtnFace);
            c.FillRect({0, 0, r.Width(), r.Height()});
            c.Brush().SetColor(down || a.MouseIn ? gfx::clNavy : gfx::clBtnShadow);
            c.FrameRect({0, 0, r.Width(), r.Height()});
        }
        DrawDirArrow(c, {0, 0, r.Width(), r.Height()}, arrow, i == 0 ? 1 : 2);
        canvas.Draw(r.Left, r.Top, b);
    }
    win::ReleaseDC(Handle(), dc);
}

void TbsSkinToolBar::AdjustClientRect(vcl::TRect& r) {
    TbsSkinPanel::AdjustClientRect(r);
    if (!ArrowsShown()) return;
    const int clientWidth = ClientWidth(), clientHeight = ClientHeight();
    r = {-SPosition, 0, -SPosition + std::max(SMax, clientWidth), clientHeight};
    if (FIndex == -1 || ComponentState().Contains(vcl::csDesigning)) {
        r.Top = 1;
        r.Bottom -= 1;
    } else if (!(BorderStyle() == bvNone && ResizeMode == kResizeFree)) {
        r.Top = NewClRect.Top;
        r.Bottom = NewClRect.Bottom;
    }
}

void TbsSkinToolBar::CreateControlSkinImage(gfx::TBitmap& b) {
    if (ArrowsShown() && ResizeMode == kResizeHorz && Picture) {
        BuildHorzSkinStripNoEnds(LTPt.X, SkinRect.Width() - RTPt.X, b, *Picture, SkinRect,
                                 b.Width(), b.Height(), StretchEffect);
        return;
    }
    TbsSkinPanel::CreateControlSkinImage(b);
}

void TbsSkinToolBar::Dispatch(vcl::TMessage& m) {
    using namespace win;
    const bool scrolling = FCanScroll && !ComponentState().Contains(vcl::csDesigning);
    switch (m.Msg) {
        case WM_NCCALCSIZE:
            TbsSkinPanel::Dispatch(m);
            if (FCanScroll) {
                TRect* r = m.WParam
                               ? &ParamToPtr<NCCALCSIZE_PARAMS>(std::uint64_t(m.LParam))->rgrc[0]
                               : ParamToPtr<TRect>(std::uint64_t(m.LParam));
                if (Buttons[0].Visible) r->Left += kArrowWidth;
                if (Buttons[1].Visible) r->Right -= kArrowWidth;
            }
            return;
        case WM_NCPAINT:
            TbsSkinPanel::Dispatch(m);
            PaintArrows();
            return;
        case WM_SIZE:
            TbsSkinPanel::Dispatch(m);
            Buttons[0].Rect = {0, 0, kArrowWidth, Height()};
            Buttons[1].Rect = {Width() - kArrowWidth, 0, Width(), Height()};
            if (ArrowsShown()) RepaintArrows();
            return;
        case WM_NCHITTEST:
            if (scrolling && ArrowsShown()) {
                const TPoint p = ScreenToClient(PointFromParam(m.LParam));
                if (p.X < 0 && Buttons[0].Visible) {
                    m.Result = kHitScrollLeft;
                    return;
                }
                if (p.X >= ClientWidth() && Buttons[1].Visible) {
                    m.Result = kHitScrollRight;
                    return;
                }
            }
            break;
        case WM_SETCURSOR: {
            const int code = LOWORD(std::uint64_t(m.LParam));
            if (code == kHitScrollLeft || code == kHitScrollRight)
                m.LParam = MAKELPARAM(HTCLIENT, HIWORD(std::uint64_t(m.LParam)));
            break;
        }
        case WM_NCMOUSEMOVE: {
            const int code = int(m.WParam);
            if (code != kHitScrollLeft && code != kHitScrollRight) break;
            const int i = code == kHitScrollLeft ? 0 : 1;
            if (!Buttons[i].MouseIn) {
                Buttons[i].MouseIn = true;
                Buttons[1 - i].MouseIn = false;
                RepaintArrows();
                if (FHotScroll) StartTimer(i + 1);
            }
            return;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK: {
            const int code = int(m.WParam);
            if (code != kHitScrollLeft && code != kHitScrollRight) break;
            const int i = code == kHitScrollLeft ? 0 : 1;
            Buttons[i].Down = true;
            Buttons[i].MouseIn = true;
            RepaintArrows();
            StartTimer(i + 1);
            return;
        }
        case WM_NCLBUTTONUP: {
            const int code = int(m.WParam);
            if (code != kHitScrollLeft && code != kHitScrollRight) break;
            const int i = code == kHitScrollLeft ? 0 : 1;
            Buttons[i].Down = false;
            RepaintArrows();
            StopTimer();
            ScrollStep(i + 1);
            return;
        }
        case WM_MOUSEMOVE:
            TbsSkinPanel::Dispatch(m);
            ForgetArrowHover();
            return;
        case vcl::CM_MOUSELEAVE: {
            TbsSkinPanel::Dispatch(m);
            // Over an arrow the pointer is still over the bar.
            TPoint p;
            win::GetCursorPos(p);
            TRect window;
            if (HandleAllocated()) win::GetWindowRect(Handle(), window);
            if (!HandleAllocated() || !window.Contains(p.X, p.Y)) ForgetArrowHover();
            return;
        }
        case WM_MOUSELEAVE:
            // The window layer says the pointer left the whole window, arrows included.
            TbsSkinPanel::Dispatch(m);
            ForgetArrowHover();
            return;
        case WM_TIMER:
            TbsSkinPanel::Dispatch(m);
            if (m.WParam == kScrollTimer) ScrollStep(TimerMode);
            return;
        default:
            break;
    }
    TbsSkinPanel::Dispatch(m);
}

// ---- TbsSkinStatusBar ---------------------------------------------------------------------------

TbsSkinStatusBar::TbsSkinStatusBar(vcl::TComponent* AOwner) : TbsSkinPanel(AOwner) {
    SetSkinDataName("statusbar");
    SetAlign(vcl::alBottom);
    SetHeight(21);
    SetBorderStyle(bvNone);
    SetForcebackGround(false);
}

void TbsSkinStatusBar::SetSizeGrip(bool value) {
    FSizeGrip = value;
    Repaint();
    Realign();
}

void TbsSkinStatusBar::SetShowGrip(bool value) {
    FShowGrip = value;
    Repaint();
    Realign();
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData* value) {
    TbsSkinPanel::SetSkinData(value);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* c = dynamic_cast<TbsSkinControl*>(Controls(i))) c->SetSkinData(value);
}

void TbsSkinStatusBar::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    if (FIndex == -1) return;
    if (auto* r = dynamic_cast<TbsDataSkinPanelControl*>(FSD->CtrlList[FIndex].get())) {
        GripperRect = r->GripperRect;
        GripperTransparent = r->GripperTransparent;
        GripperTransparentColor = r->GripperTransparentColor;
    }
}

void TbsSkinStatusBar::AdjustClientRect(vcl::TRect& r) {
    TbsSkinPanel::AdjustClientRect(r);
    if (!Gripping()) return;
    const bool picture = FIndex != -1 && !GripperRect.IsEmpty();
    r.Right -= picture ? GripperRect.Width() : r.Height();
}

vcl::TRect TbsSkinStatusBar::GripRect() {
    const vcl::TRect r = GetSkinClientRect();
    if (FIndex != -1 && !GripperRect.IsEmpty())
        return {r.Right, r.Bottom - GripperRect.Height(), r.Right + GripperRect.Width(), r.Bottom};
    return {r.Right + 2, r.Top, r.Right + r.Height(), r.Bottom - 2};
}

void TbsSkinStatusBar::DrawGrip(gfx::TCanvas& c) {
    if (!Gripping()) return;
    const vcl::TRect r = GripRect();
    if (FIndex != -1 && !GripperRect.IsEmpty() && Picture) {
        gfx::TBitmap grip;
        grip.SetSize(GripperRect.Width(), GripperRect.Height());
        grip.Canvas().CopyRect({0, 0, GripperRect.Width(), GripperRect.Height()}, Picture->Canvas(),
                               GripperRect);
        if (GripperTransparent) {
            grip.SetTransparentColor(GripperTransparentColor);
            grip.SetTransparent(true);
        }
        c.Draw(r.Left, r.Top, grip);
        return;
    }
    const bool skinned = FIndex != -1 && FSD;
    const gfx::TColor shadow = skinned ? FSD->SkinColors()->cBtnShadow : gfx::clBtnShadow;
    const gfx::TColor light = skinned ? FSD->SkinColors()->cBtnHighLight : gfx::clBtnHighlight;
    c.Pen().SetWidth(1);
    for (int k = 3; r.Left + k + 2 <= r.Right; k += 3) {
        c.Pen().SetColor(shadow);
        c.MoveTo(r.Left + k, r.Bottom);
        c.LineTo(r.Right, r.Top + k);
        c.Pen().SetColor(light);
        c.MoveTo(r.Left + k + 1, r.Bottom);
        c.LineTo(r.Right, r.Top + k + 1);
    }
}

void TbsSkinStatusBar::CreateControlDefaultImage(gfx::TBitmap& b) {
    TbsSkinPanel::CreateControlDefaultImage(b);
    DrawGrip(b.Canvas());
}

void TbsSkinStatusBar::CreateControlSkinImage(gfx::TBitmap& b) {
    TbsSkinPanel::CreateControlSkinImage(b);
    DrawGrip(b.Canvas());
}

void TbsSkinStatusBar::Dispatch(vcl::TMessage& m) {
    using namespace win;
    if (m.Msg == WM_NCHITTEST && !ComponentState().Contains(vcl::csDesigning) && Gripping()) {
        const TPoint p = ScreenToClient(PointFromParam(m.LParam));
        m.Result = GripRect().Contains(p.X, p.Y) ? HTBOTTOMRIGHT : HTCLIENT;
        return;
    }
    if (m.Msg == WM_NCLBUTTONDOWN && int(m.WParam) == HTBOTTOMRIGHT) {
        // The window layer would size the bar itself; the grip is there to size the form.
        vcl::TWinControl* top = this;
        while (top->Parent()) top = top->Parent();
        if (top != this) {
            win::SendMessage(top->Handle(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, m.LParam);
            return;
        }
    }
    TbsSkinPanel::Dispatch(m);
}

}  // namespace skin
