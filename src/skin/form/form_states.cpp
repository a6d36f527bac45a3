// The form's states as the component keeps them (maximize into the work area, minimize to a
// stack of caption-sized forms, roll-up to the caption), the first placement on the monitor,
// the magnetic edges while moving, the fade-in of a form with alpha blending, and the steps of
// the message table that drive the layered border.
#include <algorithm>
#include <cmath>

#include "platform/sys/clock.h"
#include "platform/win/win.h"
#include "skin/controls/bars.h"
#include "skin/core/fades.h"
#include "skin/core/layered_windows.h"
#include "skin/core/skin_messages.h"
#include "skin/core/system_routines.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

// The main form's Tag while the tray icon hides or shows it.
constexpr std::intptr_t kTrayTag = -10000;
constexpr std::uintptr_t kShowTimer = 1;

bool IsMainForm(const vcl::TCustomForm* form) {
    return vcl::Application && vcl::Application->MainForm() == form;
}

void SetLayered(win::HWND wnd, bool on) {
    const auto ex = win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE);
    const bool has = (ex & win::WS_EX_LAYERED) != 0;
    if (on && !has) win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE, ex | win::WS_EX_LAYERED);
    if (!on && has)
        win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE, ex & ~std::intptr_t(win::WS_EX_LAYERED));
}

// The monitor nearest to the form: its work area or its whole rectangle.
gfx::TRect MonitorOf(vcl::TCustomForm* form, bool workArea) {
    gfx::TRect r;
    if (form->HandleAllocated())
        GetWindowMonitorRect(form->Handle(), workArea, r);
    else
        GetDesktopWorkRect(workArea, r);
    return r;
}

}  // namespace

bool TbsSkinForm::LayerShown() const {
    return FBorderLayer && FBorderLayer->Visible();
}

// --- window state -----------------------------------------------------------------------------

void TbsSkinForm::SetWindowState(vcl::TWindowState value) {
    if (!FSkinnableForm) {
        FForm->SetWindowState(value);
        return;
    }
    if (value == FWindowState) return;
    const vcl::TWindowState old = FWindowState;
    if (!(value == vcl::wsMinimized && (IsMainForm(FForm) || FMinimizeDefault)))
        FWindowState = value;
    switch (value) {
        case vcl::wsNormal:
            if (old == vcl::wsMaximized && FRollUpState && !FRollUpBeforeMaximize)
                SetRollUpState(false);
            FRollUpBeforeMaximize = false;
            DoRestore();
            break;
        case vcl::wsMinimized:
            DoMinimize();
            break;
        case vcl::wsMaximized:
            FRollUpBeforeMaximize = FRollUpState;
            DoMaximize();
            break;
    }
}

void TbsSkinForm::DoMaximize() {
    if (OldBoundsRect.IsEmpty()) OldBoundsRect = FForm->BoundsRect();
    if (FForm->FormStyle() != vcl::fsMDIChild) {
        gfx::TRect R = MonitorOf(FForm, !FMaximizeOnFullScreen);
        if (!FMaximizeOnFullScreen) {
            const gfx::TRect whole = MonitorOf(FForm, false);
            const bool primary = vcl::Screen && whole == gfx::TRect{0, 0, vcl::Screen->Width(),
                                                                    vcl::Screen->Height()};
            // A hidden taskbar must still be reachable at the screen's edge.
            if (R.Width() == whole.Width() && R.Height() == whole.Height() && primary)
                R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
        }
        FForm->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    } else {
        MaximizeMDIChild();
    }
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
    if (FOnMaximize) FOnMaximize(this);
}

void TbsSkinForm::DoMinimize() {
    if (IsMainForm(FForm)) {
        vcl::Application->Minimize();
    } else if (FMinimizeDefault) {
        FForm->SetWindowState(vcl::wsMinimized);
    } else {
        if (OldBoundsRect.IsEmpty()) OldBoundsRect = FForm->BoundsRect();
        const gfx::TPoint P = GetMinimizedPosition();
        FForm->SetBounds(P.X, P.Y, GetMinWidth(), GetMinHeight());
        if (FForm->FormStyle() == vcl::fsMDIChild && vcl::Application->MainForm() &&
            vcl::Application->MainForm()->HandleAllocated())
            win::SendMessage(vcl::Application->MainForm()->Handle(), WM_MDICHILDRESTORED, 0, 0);
    }
    if (FOnMinimize) FOnMinimize(this);
}

gfx::TPoint TbsSkinForm::GetMinimizedPosition() const {
    const int w = GetMinWidth(), h = GetMinHeight();
    const bool mdiChild = FForm->FormStyle() == vcl::fsMDIChild;
    gfx::TRect A;
    std::vector<vcl::TCustomForm*> others;
    if (mdiChild) {
        vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
        if (main) {
            A = main->ClientRect();
            GetMDIClientArea(GetSkinFormComponent(main), A);
            A = {0, 0, A.Width(), A.Height()};
            for (int i = 0; i < main->MDIChildCount(); ++i) others.push_back(main->MDIChildren(i));
        }
    } else {
        A = MonitorOf(FForm, true);
        for (int i = 0; vcl::Screen && i < vcl::Screen->FormCount(); ++i)
            others.push_back(vcl::Screen->Forms(i));
    }
    auto taken = [&](gfx::TPoint P) {
        for (vcl::TCustomForm* f : others) {
            if (f == FForm || IsMainForm(f) || !f->Visible()) continue;
            const TbsSkinForm* sf = GetSkinFormComponent(f);
            if (sf && sf->FWindowState == vcl::wsMinimized && f->Left() == P.X && f->Top() == P.Y)
                return true;
        }
        return false;
    };
    const gfx::TPoint start{A.Left, A.Bottom - h};
    gfx::TPoint P = start;
    while (taken(P)) {
        P.X += w;
        if (P.X + w > A.Right) {
            P.X = A.Left;
            P.Y -= h;
        }
        if (P.Y < A.Top) return start;
    }
    return P;
}

void TbsSkinForm::DoRestore() {
    MaxRollUpState = false;
    const int oldW = FForm->Width(), oldH = FForm->Height();
    // Nothing saved (restored twice): the bounds stay rather than collapse to nothing.
    if (!OldBoundsRect.IsEmpty()) {
        if (FStartShow) {
            FStartShow = false;
            const gfx::TPoint P =
                GetPositionInMonitor(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                                     OldBoundsRect.Height());
            FForm->SetBounds(P.X, P.Y, OldBoundsRect.Width(), OldBoundsRect.Height());
        } else {
            if (LayerShown())
                FBorderLayer->SetBoundsWithForm3(OldBoundsRect.Left, OldBoundsRect.Top,
                                                 OldBoundsRect.Width(), OldBoundsRect.Height());
            FForm->SetBounds(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                             OldBoundsRect.Height());
        }
    }
    MouseTimer->SetEnabled(true);
    if (FForm->Width() == oldW && FForm->Height() == oldH) ForceFormResize();
    FForm->Repaint();
    if (FForm->FormStyle() == vcl::fsMDIChild && FWindowState != vcl::wsMaximized &&
        vcl::Application->MainForm() && vcl::Application->MainForm()->HandleAllocated())
        win::SendMessage(vcl::Application->MainForm()->Handle(), WM_MDICHILDRESTORED, 0, 0);
    OldBoundsRect = {};
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(true);
    if (FOnRestore) FOnRestore(this);
}

void TbsSkinForm::SetRollUpState(bool value) {
    if (!FBorderIcons.Contains(biRollUp) || FWindowState == vcl::wsMinimized) return;
    if (FRollUpState && FWindowState == vcl::wsMaximized && !MaxRollUpState) return;
    // Rolling up twice would save the caption height as the height to come back to.
    if (value == FRollUpState) return;
    if (FWindowState == vcl::wsMaximized) MaxRollUpState = value;
    FRollUpState = value;
    if (value) {
        OldHeight = FForm->Height();
        FForm->SetHeight(GetMinHeight());
    } else if (FClientHeight > 0) {
        FForm->SetClientHeight(FClientHeight);
    } else {
        FForm->SetHeight(OldHeight);
    }
    if (FOnChangeRollUpState) FOnChangeRollUpState(this);
}

// --- placement --------------------------------------------------------------------------------

gfx::TPoint TbsSkinForm::GetPositionInMonitor(int AX, int AY, int AW, int AH) const {
    if (FPositionInMonitor == bspDefault) return {AX, AY};
    const gfx::TRect R = MonitorOf(FForm, FPositionInMonitor == bspDesktopCenter);
    return {R.Left + R.Width() / 2 - AW / 2, R.Top + R.Height() / 2 - AH / 2};
}

void TbsSkinForm::ApplyPositionInMonitor() {
    if (FPositionInMonitor == bspDefault) return;
    const int w = FForm->Width(), h = FForm->Height();
    const gfx::TPoint P = GetPositionInMonitor(FForm->Left(), FForm->Top(), w, h);
    FForm->SetBounds(P.X, P.Y, w, h);
}

vcl::TCustomForm* TbsSkinForm::FindStayOnTopForm() const {
    for (int i = 0; vcl::Screen && i < vcl::Screen->FormCount(); ++i) {
        vcl::TCustomForm* f = vcl::Screen->Forms(i);
        // The layered border's windows follow their form; they are never brought forward.
        if (dynamic_cast<TbsFormLayerWindow*>(f)) continue;
        if (f->FormStyle() == vcl::fsStayOnTop && f->Visible()) return f;
    }
    return nullptr;
}

void TbsSkinForm::EnableShadow(bool AShowShadow, bool AHideFormBefore) {
    if (!FIsLayerEnabled || AShowShadow == FHaveShadow) return;
    FHaveShadow = AShowShadow;
    if (AHideFormBefore) FForm->Hide();
    win::HWND wnd;
    if (FormHandle(wnd)) {
        const win::DWORD style = win::GetClassLong(wnd, win::GCL_STYLE);
        win::SetClassLong(wnd, win::GCL_STYLE,
                          AShowShadow ? style | win::CS_DROPSHADOW : style & ~win::CS_DROPSHADOW);
    }
    if (AHideFormBefore) FForm->Show();
}

// --- magnetic edges ---------------------------------------------------------------------------

void TbsSkinForm::DoMagnetic(int& L, int& T, int W, int H) {
    gfx::TRect A;
    if (FForm->FormStyle() == vcl::fsMDIChild && vcl::Application->MainForm()) {
        vcl::TCustomForm* main = vcl::Application->MainForm();
        A = main->ClientRect();
        GetMDIClientArea(GetSkinFormComponent(main), A);
        // The move loop proposes a child window's rectangle in its parent's coordinates, and
        // the child's parent is the MDI client, which covers the area.
        A = {0, 0, A.Width(), A.Height()};
    } else {
        A = MonitorOf(FForm, true);
    }
    const bool layer = CanShowLayerFrame() && LayerShown() && FBorderLayer->Data() &&
                       !FBorderLayer->Data()->BorderRect.IsEmpty();
    if (layer) {
        L -= FBorderLayer->LeftSize;
        T -= FBorderLayer->TopSize;
        W += FBorderLayer->RightSize;
        H += FBorderLayer->BottomSize;
    }
    gfx::TPoint cursor;
    win::GetCursorPos(cursor);
    const int M = FMagneticSize;
    // One edge: near its work-area edge it snaps and remembers the cursor; once snapped it
    // stays until the cursor has moved more than M pixels, then follows the cursor.
    auto edge = [&](bool& snapped, int& value, int tested, int target, int snapValue,
                    int cursorValue, int& stored) {
        const bool near = target - M < tested && tested < target + M;
        if (!snapped) {
            if (near) {
                value = snapValue;
                stored = cursorValue;
            }
        } else if (std::abs(cursorValue - stored) > M) {
            value = cursorValue + snapValue - stored;
        } else {
            value = snapValue;
        }
        snapped = near;
        return near;
    };
    edge(HMagnetized, L, L, A.Left, A.Left, cursor.X, FOnMouseDownCoord.X);
    edge(VMagnetized, T, T, A.Top, A.Top, cursor.Y, FOnMouseDownCoord.Y);
    const bool rightNear =
        edge(HMagnetized2, L, L + W, A.Right, A.Right - W, cursor.X, FOnMouseDownCoord.X);
    const bool bottomNear =
        edge(VMagnetized2, T, T + H, A.Bottom, A.Bottom - H, cursor.Y, FOnMouseDownCoord.Y);
    if (layer) {
        if (!rightNear) L += FBorderLayer->LeftSize;
        if (!bottomNear) T += FBorderLayer->TopSize;
    }
}

void TbsSkinForm::WMMoving(vcl::TMessage& Message) {
    auto* r = win::ParamToPtr<gfx::TRect>(std::uint64_t(Message.LParam));
    if (FWindowState == vcl::wsMaximized && FForm->FormStyle() != vcl::fsMDIChild) {
        *r = FForm->BoundsRect();
        return;
    }
    if (!FMagnetic) return;
    int L = r->Left, T = r->Top;
    const int W = FForm->Width(), H = FForm->Height();
    DoMagnetic(L, T, W, H);
    *r = {L, T, L + W, T + H};
}

// --- show, alpha and the layered border -------------------------------------------------------

void TbsSkinForm::ShowWindowFirstStage(bool shown) {
    win::HWND wnd;
    if (!FormHandle(wnd)) return;
    if (!shown) {
        if (FSkinnableForm && FIsVistaOs && LayerShown()) SetLayered(wnd, true);
        return;
    }
    while (FStartShow) {
        if (FPositionInMonitor == bspDefault) {
            FStartShow = false;
        } else if (FWindowState == vcl::wsNormal) {
            FStartShow = false;
            ApplyPositionInMonitor();
        } else {
            break;  // placed by the first restore
        }
    }
    SetUpShowAlpha(FSkinnableForm);
}

void TbsSkinForm::SetUpShowAlpha(bool withBorder) {
    if (!FIsLayerEnabled) return;
    win::HWND wnd;
    if (!FormHandle(wnd)) return;
    const bool forAll = FSD && FSD->AnimationForAllWindows();
    if (withBorder && forAll && FAlphaBlendValue == 0) FAlphaBlendValue = 255;
    const bool alpha = FAlphaBlend || FAlphaBlendAnimation || forAll;
    if (!alpha && !(withBorder && UseVistaLayerShow())) return;
    SetLayered(wnd, true);
    ApplyWindowAlpha(wnd, 0);
    if (withBorder && CanShowLayerFrame() && (FForm->Visible() || FForm->Tag() == kTrayTag)) {
        FBorderLayer->CheckFormAlpha(0, false);
        FBorderLayer->ShowWithForm();
    }
    win::SetTimer(wnd, kShowTimer, 1);
}

void TbsSkinForm::ShowAnimationTimer() {
    win::HWND wnd;
    if (!FormHandle(wnd)) return;
    const bool forAll = FSD && FSD->AnimationForAllWindows();
    const bool alpha = FAlphaBlend || FAlphaBlendAnimation || forAll;
    const bool border =
        FSkinnableForm && CanShowLayerFrame() && (FForm->Visible() || FForm->Tag() == kTrayTag);
    if (FSkinnableForm && UseVistaLayerShow()) {
        win::KillTimer(wnd, kShowTimer);
        SetLayered(wnd, false);
        if (border) {
            FBorderLayer->FActive = GetFormActive();
            FBorderLayer->CheckFormAlpha(255, true);
        }
        return;
    }
    if (!alpha) return;
    win::KillTimer(wnd, kShowTimer);
    if (border) FBorderLayer->FActive = GetFormActive();
    const bool animation = FAlphaBlendAnimation || forAll;
    const int target = animation && !FAlphaBlend ? 255 : FAlphaBlendValue;
    if (animation) {
        vcl::Application->ProcessMessages();
        FadeIn(target, FadeInStep(target), [&](int value) {
            ApplyWindowAlpha(wnd, std::uint8_t(value));
            if (border) FBorderLayer->CheckFormAlpha(value, true);
            return true;
        });
    } else if (target != 255) {
        ApplyWindowAlpha(wnd, FAlphaBlendValue);
        if (border) FBorderLayer->CheckFormAlpha(FAlphaBlendValue, true);
    }
    if (target == 255) {
        SetLayered(wnd, false);
        if (border) FBorderLayer->CheckFormAlpha(255, true);
    }
}

void TbsSkinForm::ShowWindowSecondStage(bool shown) {
    if (!CanShowLayerFrame()) return;
    if (!shown) {
        if (LayerShown()) FBorderLayer->Hide();
        return;
    }
    const bool forAll = FSD && FSD->AnimationForAllWindows();
    if (!FIsLayerEnabled || FAlphaBlend || FAlphaBlendAnimation || forAll || UseVistaLayerShow())
        return;
    if (!FForm->Visible() && FForm->Tag() != kTrayTag) return;
    vcl::Application->ProcessMessages();
    FBorderLayer->FActive = true;
    FBorderLayer->ShowWithForm();
}

void TbsSkinForm::LayerPosChanged(const win::WINDOWPOS& wp) {
    win::HWND wnd;
    if ((wp.flags & win::SWP_HIDEWINDOW) && LayerShown() && FIsVistaOs && FormHandle(wnd))
        SetLayered(wnd, true);
    if (!CanShowLayerFrame()) return;
    const bool moved = FFormLeft != FOldFormLeft || FFormTop != FOldFormTop;
    if (FSizing && moved)
        FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
    else if (!FSizing && !FBorderLayerChangeSize)
        FBorderLayer->MoveWithForm2(FFormLeft, FFormTop);
}

void TbsSkinForm::LayerActivated() {
    if (!CanShowLayerFrame()) return;
    if (FForm->Visible())
        FBorderLayer->SetActive(FFormActive, true);
    else if (FForm->Tag() != kTrayTag)
        FBorderLayer->Hide();
}

void TbsSkinForm::LayerAfterSkinChange() {
    // The border is placed from the tracked position; a form that was placed before the
    // component came has not reported it yet.
    if (!FSizeMove) {
        FOldFormLeft = FFormLeft = FForm->Left();
        FOldFormTop = FFormTop = FForm->Top();
    }
    FBorderLayer->InitFrame(FSD, FForm);
    if (CanShowLayerFrame() && FForm->Visible()) {
        FBorderLayer->ShowWithForm();
        FForm->Show();
        FBorderLayer->SetBoundsWithForm();
    }
}

void TbsSkinForm::TrayRestored() {
    if (FForm->Tag() != kTrayTag) return;
    if (CanShowLayerFrame()) {
        vcl::TCustomForm* main = vcl::Application->MainForm();
        if (main && main->HandleAllocated()) win::SetForegroundWindow(main->Handle());
        if (vcl::TCustomForm* top = FindStayOnTopForm(); top && top->HandleAllocated())
            win::SetForegroundWindow(top->Handle());
    }
    FForm->SetTag(0);
}

void TbsSkinForm::ChangeLayeredBorders() {
    if (CanShowLayerFrame()) {
        if (FForm->Visible() && !LayerShown()) {
            FBorderLayer->FActive = FFormActive;
            FBorderLayer->ShowWithForm();
            FForm->Show();
        }
    } else if (LayerShown()) {
        FBorderLayer->Hide();
    }
}

void TbsSkinForm::EndSmartEffects() {
    if (!FSmartEffectsShow) return;
    FSmartEffectsShow = false;
    if ((FForm->Visible() || FForm->Tag() == kTrayTag) && CanShowLayerFrame()) {
        vcl::Application->ProcessMessages();
        FBorderLayer->FActive = true;
        FBorderLayer->ShowWithFormAnimation();
    }
}

}  // namespace skin
