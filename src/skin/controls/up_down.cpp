#include "skin/controls/up_down.h"

#include "platform/win/win.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"

namespace skin {

namespace {

constexpr std::uintptr_t kRepeatTimer = 1;
constexpr unsigned kFirstDelayMs = 500;
constexpr unsigned kRepeatMs = 100;
constexpr unsigned kResumeMs = 50;

// Edges included, as the buttons are hit-tested.
bool Holds(const TRect& r, int x, int y) {
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

}  // namespace

TbsSkinUpDown::TbsSkinUpDown(vcl::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetBounds(Left(), Top(), 50, 25);
    SetSkinDataName("hupdown");
    PlaceButtons();
}

// ---- properties -------------------------------------------------------------------------------

void TbsSkinUpDown::SetUseSkinSize(bool value) {
    if (value == FUseSkinSize) return;
    FUseSkinSize = value;
    ChangeSkinData();
}

void TbsSkinUpDown::SetOrientation(TUDOrientation value) {
    FOrientation = value;
    PlaceButtons();
    Repaint();
}

void TbsSkinUpDown::SetPosition(int value) {
    if (value < FMin || value > FMax) return;
    FPosition = value;
    if (OnChange) OnChange(this);
}

void TbsSkinUpDown::SetMin(int value) {
    FMin = value;
    if (FPosition < FMin) FPosition = FMin;
}

void TbsSkinUpDown::SetMax(int value) {
    FMax = value;
    if (FPosition > FMax) FPosition = FMax;
}

// ---- skin -------------------------------------------------------------------------------------

void TbsSkinUpDown::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    FHasUpDownRecord = false;
    if (FIndex != -1)
        if (auto* r = dynamic_cast<const TbsDataSkinUpDownControl*>(FSD->CtrlList[FIndex].get())) {
            FHasUpDownRecord = true;
            UpButtonRect = r->UpButtonRect;
            ActiveUpButtonRect = r->ActiveUpButtonRect;
            DownUpButtonRect = r->DownUpButtonRect;
            DownButtonRect = r->DownButtonRect;
            ActiveDownButtonRect = r->ActiveDownButtonRect;
            DownDownButtonRect = r->DownDownButtonRect;
            if (DownUpButtonRect.IsEmpty()) DownUpButtonRect = ActiveUpButtonRect;
            if (DownDownButtonRect.IsEmpty()) DownDownButtonRect = ActiveDownButtonRect;
            // One fixed-size picture, whatever the section says.
            LTPt = RTPt = LBPt = RBPt = {};
            ClRect = {};
            ResizeMode = ComputeResizeMode();
        }
    PlaceButtons();
}

void TbsSkinUpDown::FitSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize) TbsSkinCustomControl::FitSkinSize(AWidth, AHeight);
}

void TbsSkinUpDown::UpdateWindowRegion() {
    if (FUseSkinSize) TbsSkinCustomControl::UpdateWindowRegion();
}

void TbsSkinUpDown::PlaceButtons() {
    if (SkinSized()) {
        Buttons[0].R = UpButtonRect;
        Buttons[1].R = DownButtonRect;
        return;
    }
    const int w = Width(), h = Height();
    if (FOrientation == udVertical) {
        Buttons[0].R = {0, 0, w, h / 2};
        Buttons[1].R = {0, h / 2, w, h};
    } else {
        Buttons[1].R = {0, 0, w / 2, h};
        Buttons[0].R = {w / 2, 0, w, h};
    }
}

// ---- painting ---------------------------------------------------------------------------------

int TbsSkinUpDown::ArrowKind(int index) const {
    if (index == 0) return FOrientation == udVertical ? 3 : 2;
    return FOrientation == udVertical ? 4 : 1;
}

void TbsSkinUpDown::DrawDefaultButton(gfx::TCanvas& c, int index) {
    const TButton& b = Buttons[index];
    const bool pressed = b.Pressed();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(b.MouseIn ? kNoSkin.Frame : gfx::clBtnShadow);
    c.FrameRect(b.R);
    const TRect inner{b.R.Left + 1, b.R.Top + 1, b.R.Right - 1, b.R.Bottom - 1};
    c.Brush().SetColor(pressed ? kNoSkin.DownFill : b.MouseIn ? kNoSkin.HotFill : gfx::clBtnFace);
    c.FillRect(inner);
    DrawDirArrow(c, b.R, gfx::clBlack, ArrowKind(index));
}

void TbsSkinUpDown::CreateControlDefaultImage(gfx::TBitmap& B) {
    PlaceButtons();
    DrawDefaultButton(B.Canvas(), 0);
    DrawDefaultButton(B.Canvas(), 1);
}

void TbsSkinUpDown::DrawResizeButton(gfx::TBitmap& B, int index) {
    const TButton& b = Buttons[index];
    const int i = FSD->GetControlIndex("resizebutton");
    auto* r =
        i == -1 ? nullptr : dynamic_cast<const TbsDataSkinButtonControl*>(FSD->CtrlList[i].get());
    gfx::TBitmap* picture = r ? PictureAt(*FSD, r->PictureIndex) : nullptr;
    if (!picture) {
        // The skin has no button to draw with: the plain look keeps the buttons usable.
        DrawDefaultButton(B.Canvas(), index);
        return;
    }
    const bool pressed = b.Pressed();
    TRect active = r->ActiveSkinRect.IsEmpty() ? r->SkinRect : r->ActiveSkinRect;
    TRect down = r->DownSkinRect.IsEmpty() ? active : r->DownSkinRect;
    const TRect source = b.Pick(r->SkinRect, active, down);
    const int w = b.R.Width(), h = b.R.Height();
    if (w <= 0 || h <= 0) return;
    const int dx = w - r->SkinRect.Width(), dy = h - r->SkinRect.Height();
    gfx::TBitmap image;
    image.SetPixelFormat(gfx::pf32bit);
    image.SetSize(w, h);
    BuildNineSliceImage(
        r->LTPoint, r->RTPoint, r->LBPoint, r->RBPoint, r->ClRect, r->LTPoint,
        {r->RTPoint.X + dx, r->RTPoint.Y}, {r->LBPoint.X, r->LBPoint.Y + dy},
        {r->RBPoint.X + dx, r->RBPoint.Y + dy},
        {r->ClRect.Left, r->ClRect.Top, r->ClRect.Right + dx, r->ClRect.Bottom + dy}, image,
        *picture, source, w, h, true, r->LeftStretch, r->TopStretch, r->RightStretch,
        r->BottomStretch, r->StretchEffect, r->StretchType);
    const TColor color = b.Pick(r->FontColor, r->ActiveFontColor, r->DownFontColor);
    const TRect arrowRect = pressed ? TRect{2, 2, w + 2, h + 2} : TRect{0, 0, w, h};
    DrawDirArrow(image.Canvas(), arrowRect, color, ArrowKind(index));
    B.Canvas().Draw(b.R.Left, b.R.Top, image);
}

void TbsSkinUpDown::CreateControlSkinImage(gfx::TBitmap& B) {
    PlaceButtons();
    if (!FUseSkinSize || !FHasUpDownRecord) {
        DrawResizeButton(B, 0);
        DrawResizeButton(B, 1);
        return;
    }
    TbsSkinCustomControl::CreateControlSkinImage(B);
    if (!Picture) return;
    for (int i = 0; i < 2; ++i) {
        const TButton& b = Buttons[i];
        TRect source;
        if (b.Pressed())
            source = i == 0 ? DownUpButtonRect : DownDownButtonRect;
        else if (b.MouseIn)
            source = i == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
        if (!source.IsEmpty()) B.Canvas().CopyRect(b.R, Picture->Canvas(), source);
    }
}

// ---- mouse --------------------------------------------------------------------------------------

void TbsSkinUpDown::UpdateHover(int X, int Y) {
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 2; ++i)
        if (Holds(Buttons[i].R, X, Y)) {
            ActiveButton = i;
            break;
        }
    // While a button is held, the other one never lights.
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) {
        Buttons[OldActiveButton].MouseIn = false;
        Repaint();
        if (OldActiveButton == CaptureButton && FIncrement != 0 && HandleAllocated())
            win::KillTimer(Handle(), kRepeatTimer);
    }
    if (ActiveButton != -1) {
        Buttons[ActiveButton].MouseIn = true;
        Buttons[1 - ActiveButton].MouseIn = false;
        Repaint();
        if (ActiveButton == CaptureButton && FIncrement != 0)
            win::SetTimer(Handle(), kRepeatTimer, kResumeMs);
    }
}

void TbsSkinUpDown::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    UpdateHover(X, Y);
    if (ActiveButton != -1) {
        Buttons[1 - ActiveButton].MouseIn = false;
        CaptureButton = ActiveButton;
        Buttons[ActiveButton].MouseIn = true;
        Buttons[ActiveButton].Down = true;
        Repaint();
        if (FIncrement != 0) {
            TimerMode = ActiveButton == 0 ? 2 : 1;
            WaitMode = true;
            win::SetTimer(Handle(), kRepeatTimer, kFirstDelayMs);
        }
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinUpDown::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    UpdateHover(X, Y);
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinUpDown::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    const int held = CaptureButton;
    if (held != -1) {
        if (FIncrement != 0) {
            if (HandleAllocated()) win::KillTimer(Handle(), kRepeatTimer);
            TimerMode = 0;
        }
        TButton& b = Buttons[held];
        const bool over = Holds(b.R, X, Y);
        b.Down = false;
        b.MouseIn = over;
        CaptureButton = -1;
        Repaint();
        if (over) {
            if (held == 0) {
                if (FIncrement != 0) SetPosition(FPosition + FIncrement);
                if (OnUpButtonClick) OnUpButtonClick(this);
            } else {
                if (FIncrement != 0) SetPosition(FPosition - FIncrement);
                if (OnDownButtonClick) OnDownButtonClick(this);
            }
        }
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinUpDown::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case win::WM_SIZE:
            TbsSkinCustomControl::Dispatch(m);
            PlaceButtons();
            return;
        case win::WM_TIMER:
            TbsSkinCustomControl::Dispatch(m);
            if (WaitMode) {
                WaitMode = false;
                win::SetTimer(Handle(), kRepeatTimer, kRepeatMs);
            } else if (TimerMode == 1) {
                SetPosition(FPosition - FIncrement);
            } else if (TimerMode == 2) {
                SetPosition(FPosition + FIncrement);
            }
            return;
        case vcl::CM_MOUSEENTER:
            ActiveButton = -1;
            TbsSkinCustomControl::Dispatch(m);
            return;
        case vcl::CM_MOUSELEAVE:
            // Leaving the control off the held button pauses the repeat, as leaving the button
            // inside it does; coming back resumes it.
            if (ActiveButton != -1 && ActiveButton == CaptureButton && FIncrement != 0 &&
                HandleAllocated())
                win::KillTimer(Handle(), kRepeatTimer);
            ActiveButton = -1;
            Buttons[0].MouseIn = false;
            Buttons[1].MouseIn = false;
            Repaint();
            TbsSkinCustomControl::Dispatch(m);
            return;
        default:
            TbsSkinCustomControl::Dispatch(m);
    }
}

}  // namespace skin
