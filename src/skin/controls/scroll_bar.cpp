#include "skin/controls/scroll_bar.h"

#include <algorithm>
#include <cmath>

#include "platform/win/win.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"

namespace skin {

namespace {

constexpr std::uintptr_t kRepeatTimer = 1;
constexpr unsigned kFirstDelayMs = 500;
constexpr unsigned kRepeatMs = 50;

// Halves to the even neighbour, as every rounding of the skin engine.
int Nearest(double value) {
    return int(std::nearbyint(value));
}

}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(vcl::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetTabStop(false);
    SetBounds(Left(), Top(), 200, 19);
    SetDefaultHeight(19);
    SetSkinDataName("hscrollbar");
}

// ---- range ----------------------------------------------------------------------------------

int TbsSkinScrollBar::UpperBound() const {
    // With Min above 0 the plain Max - PageSize + 1 may fall below Min; the bound never does.
    return FPageSize == 0 ? FMax : std::max(FMin, FMax - FPageSize + 1);
}

int TbsSkinScrollBar::Clamped(int value) const {
    if (value < FMin) return FMin;
    return std::min(value, UpperBound());
}

void TbsSkinScrollBar::SetRange(int AMin, int AMax, int APosition, int APageSize) {
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
    FPosition = Clamped(APosition);
    Repaint();
}

void TbsSkinScrollBar::SimplySetPosition(int AValue) {
    const int value = Clamped(AValue);
    if (value == FPosition) return;
    FPosition = value;
    Repaint();
}

void TbsSkinScrollBar::SetPosition(int value) {
    value = Clamped(value);
    if (value == FPosition) return;
    FPosition = value;
    Repaint();
    if (OnChange) OnChange(this);
}

void TbsSkinScrollBar::SetMin(int value) {
    FMin = value;
    if (FPosition < FMin) FPosition = FMin;
    Repaint();
}

void TbsSkinScrollBar::SetMax(int value) {
    FMax = value;
    FPosition = std::max(std::min(FPosition, UpperBound()), FMin);
    Repaint();
}

void TbsSkinScrollBar::SetPageSize(int value) {
    // Measured from Min, so a range that does not start at 0 takes the same pages.
    if (FPosition - FMin + value <= FMax - FMin + 1) FPageSize = value;
    Repaint();
}

void TbsSkinScrollBar::SetSmallChange(int value) {
    FSmallChange = value;
    Repaint();
}

void TbsSkinScrollBar::SetLargeChange(int value) {
    FLargeChange = value;
    Repaint();
}

void TbsSkinScrollBar::SetKind(TScrollBarKind value) {
    if (value == FKind) return;
    FKind = value;
    Repaint();
}

void TbsSkinScrollBar::SetBoth(bool value) {
    if (value == FBoth) return;
    FBoth = value;
    if (FBoth) {
        FNormalSkinDataName = SkinDataName();
        SetSkinDataName(FBothSkinDataName);
    } else if (!FNormalSkinDataName.empty()) {
        SetSkinDataName(FNormalSkinDataName);
    }
    if (FIndex == -1)
        Repaint();
    else
        ChangeSkinData();
}

void TbsSkinScrollBar::SetBothMarkerWidth(int value) {
    if (value < 0) return;
    FBothMarkerWidth = value;
    if (FIndex == -1) Repaint();
}

void TbsSkinScrollBar::SetCanFocused(bool value) {
    FCanFocused = value;
    SetTabStop(value);
}

// ---- skin -------------------------------------------------------------------------------------

void TbsSkinScrollBar::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    auto* r = dynamic_cast<const TbsDataSkinScrollBarControl*>(FSD->CtrlList[FIndex].get());
    if (!r) return;
    TrackArea = r->TrackArea;
    UpButtonRect = r->UpButtonRect;
    ActiveUpButtonRect = r->ActiveUpButtonRect;
    DownUpButtonRect = r->DownUpButtonRect;
    DownButtonRect = r->DownButtonRect;
    ActiveDownButtonRect = r->ActiveDownButtonRect;
    DownDownButtonRect = r->DownDownButtonRect;
    ThumbRect = r->ThumbRect;
    ActiveThumbRect = r->ActiveThumbRect;
    DownThumbRect = r->DownThumbRect;
    ThumbOffset1 = r->ThumbOffset1;
    ThumbOffset2 = r->ThumbOffset2;
    ThumbTransparent = r->ThumbTransparent;
    ThumbTransparentColor = r->ThumbTransparentColor;
    ThumbStretchEffect = r->ThumbStretchEffect;
    ThumbMinSize = r->ThumbMinSize;
    ThumbMinPageSize = r->ThumbMinPageSize;
    GlyphRect = r->GlyphRect;
    ActiveGlyphRect = r->ActiveGlyphRect;
    DownGlyphRect = r->DownGlyphRect;
    GlyphTransparent = r->GlyphTransparent;
    GlyphTransparentColor = r->GlyphTransparentColor;
    if (DownUpButtonRect.IsEmpty()) DownUpButtonRect = ActiveUpButtonRect;
    if (DownDownButtonRect.IsEmpty()) DownDownButtonRect = ActiveDownButtonRect;
    if (ActiveThumbRect.IsEmpty()) ActiveThumbRect = ThumbRect;
    if (DownThumbRect.IsEmpty()) DownThumbRect = ActiveThumbRect;
    if (ActiveGlyphRect.IsEmpty()) ActiveGlyphRect = GlyphRect;
    if (DownGlyphRect.IsEmpty()) DownGlyphRect = ActiveGlyphRect;
}

void TbsSkinScrollBar::FitSkinSize(int& AWidth, int& AHeight) {
    TbsSkinCustomControl::FitSkinSize(AWidth, AHeight);
    LayoutParts();
}

// ---- layout -------------------------------------------------------------------------------------

void TbsSkinScrollBar::LayoutParts() {
    const double f0 = FMax == FMin ? 0.0 : double(FPosition - FMin) / double(FMax - FMin);
    const int w = Width(), h = Height();
    TRect& thumb = Buttons[0].R;
    int S;
    if (FIndex == -1) {
        const int W = Horizontal() && FBoth ? w - FBothMarkerWidth : w;
        if (Horizontal()) {
            Buttons[2].R = {1, 1, 17, h - 1};
            Buttons[1].R = {W - 17, 1, W - 1, h - 1};
            NewTrackArea = {17, 1, W - 17, h - 1};
        } else {
            Buttons[2].R = {1, 1, w - 1, 17};
            Buttons[1].R = {1, h - 17, w - 1, h - 1};
            NewTrackArea = {1, 17, w - 1, h - 17};
        }
        S = 16;
        thumb = NewTrackArea;
    } else {
        const int cross = Horizontal() ? ThumbRect.Height() : ThumbRect.Width();
        S = Horizontal() ? ThumbRect.Width() : ThumbRect.Height();
        if (ThumbMinSize != 0) S = ThumbMinSize;
        const int D = Horizontal() ? w - SkinRect.Width() : h - SkinRect.Height();
        NewTrackArea = TrackArea;
        TRect up = UpButtonRect, down = DownButtonRect;
        // A button beyond the record's stretch point moves with the bar's far end.
        if (Horizontal()) {
            NewTrackArea.Right += D;
            if (up.Left > RTPt.X) up = up.Offset(D, 0);
            if (down.Left > RTPt.X) down = down.Offset(D, 0);
            thumb.Top = NewTrackArea.Top + NewTrackArea.Height() / 2 - cross / 2;
            thumb.Bottom = thumb.Top + cross;
        } else {
            NewTrackArea.Bottom += D;
            if (up.Top > LBPt.Y) up = up.Offset(0, D);
            if (down.Top > LBPt.Y) down = down.Offset(0, D);
            thumb.Left = NewTrackArea.Left + NewTrackArea.Width() / 2 - cross / 2;
            thumb.Right = thumb.Left + cross;
        }
        Buttons[1].R = up;
        Buttons[2].R = down;
    }
    const int trackStart = Near(NewTrackArea), trackEnd = Far(NewTrackArea);
    double fraction = f0;
    if (FPageSize == 0) {
        if (FIndex != -1 && ThumbMinPageSize != 0) S = ThumbMinPageSize;
    } else {
        const int span = FMax - FMin + 1;
        const int minimum = S;
        S = span == 0 ? 0 : Nearest(double(trackEnd - trackStart) * FPageSize / span);
        if (S < minimum) S = minimum;
        const int denominator = FMax - FPageSize + 1 - FMin;
        fraction = denominator > 0 ? double(FPosition - FMin) / denominator
                   : Horizontal()  ? 1.0
                                   : 0.0;
    }
    const int H = S / 2;
    Offset1 = trackStart + H;
    Offset2 = trackEnd - H;
    BOffset = Nearest((Offset2 - Offset1) * fraction);
    const int centre = Offset1 + BOffset;
    if (Horizontal()) {
        thumb.Left = centre - H;
        thumb.Right = centre + H;
    } else {
        thumb.Top = centre - H;
        thumb.Bottom = centre + H;
    }
}

int TbsSkinScrollBar::PositionFromOffset(int A) {
    if (FPageSize != 0) {
        const TRect& t = Buttons[0].R;
        const int length = Far(t) - Near(t);
        Offset1 = Near(NewTrackArea) + length / 2;
        Offset2 = Far(NewTrackArea) - length / 2;
    }
    const int distance = Offset2 - Offset1;
    double fraction = distance > 0 ? double(A) / distance : 0.0;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int span = FPageSize == 0 ? FMax - FMin : FMax - FMin - FPageSize + 1;
    return FMin + Nearest(span * fraction);
}

// ---- painting ---------------------------------------------------------------------------------

void TbsSkinScrollBar::CreateControlDefaultImage(gfx::TBitmap& B) {
    LayoutParts();
    gfx::TCanvas& c = B.Canvas();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(gfx::clBtnFace);
    c.FillRect({0, 0, B.Width(), B.Height()});
    if (Enabled()) DrawDefaultPart(c, 0);
    DrawDefaultPart(c, 1);
    DrawDefaultPart(c, 2);
}

void TbsSkinScrollBar::CreateControlSkinImage(gfx::TBitmap& B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    LayoutParts();
    DrawPart(B, 1);
    DrawPart(B, 2);
    if (Enabled()) DrawPart(B, 0);
}

void TbsSkinScrollBar::DrawDefaultPart(gfx::TCanvas& c, int index) {
    const TbsSkinScrollBarPart& part = Buttons[index];
    const bool pressed =
        part.Pressed() || (index == 0 && (part.Down || (FCanFocused && Focused())));
    TRect r = part.R;
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(pressed || part.MouseIn ? gfx::clNavy : gfx::clBtnShadow);
    c.FrameRect(r);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    c.Brush().SetColor(pressed        ? kNoSkin.DownFill
                       : part.MouseIn ? kNoSkin.HotFill
                                      : gfx::clBtnFace);
    c.FillRect(r);
    if (index == 0) return;
    const int kind = index == 1 ? (Horizontal() ? 2 : 4) : (Horizontal() ? 1 : 3);
    DrawDirArrow(c, r, gfx::clBlack, kind);
}

void TbsSkinScrollBar::DrawPart(gfx::TBitmap& B, int index) {
    if (!Picture) return;
    if (index == 0) {
        DrawSkinThumb(B);
        return;
    }
    const TbsSkinScrollBarPart& part = Buttons[index];
    TRect source;
    if (part.Pressed())
        source = index == 1 ? DownUpButtonRect : DownDownButtonRect;
    else if (part.MouseIn)
        source = index == 1 ? ActiveUpButtonRect : ActiveDownButtonRect;
    // The normal button is part of the background picture.
    if (source.IsEmpty()) return;
    B.Canvas().CopyRect(part.R, Picture->Canvas(), source);
}

void TbsSkinScrollBar::DrawSkinThumb(gfx::TBitmap& B) {
    const TbsSkinScrollBarPart& part = Buttons[0];
    const bool down = part.Down || (FCanFocused && Focused());
    const TRect source = down ? DownThumbRect : part.MouseIn ? ActiveThumbRect : ThumbRect;
    const TRect& r = part.R;
    if (source.IsEmpty() || r.IsEmpty()) return;
    gfx::TBitmap thumb;
    thumb.SetPixelFormat(gfx::pf32bit);
    if (FPageSize != 0 || ThumbMinPageSize != 0) {
        if (Horizontal())
            BuildHorzSkinStrip(ThumbOffset1, ThumbOffset2, thumb, *Picture, source, r.Width(),
                               r.Height(), ThumbStretchEffect);
        else
            BuildVertSkinStrip(ThumbOffset1, ThumbOffset2, thumb, *Picture, source, r.Width(),
                               r.Height(), ThumbStretchEffect);
    } else {
        thumb.SetSize(r.Width(), r.Height());
        thumb.Canvas().CopyRect({0, 0, r.Width(), r.Height()}, Picture->Canvas(), source);
    }
    const TRect grip = down ? DownGlyphRect : part.MouseIn ? ActiveGlyphRect : GlyphRect;
    const bool gripFits =
        Horizontal() ? grip.Width() < thumb.Width() : grip.Height() < thumb.Height();
    if (!grip.IsEmpty() && gripFits) {
        const int x = thumb.Width() / 2 - grip.Width() / 2;
        const int y = thumb.Height() / 2 - grip.Height() / 2;
        if (GlyphTransparent) {
            gfx::TBitmap g;
            g.SetPixelFormat(gfx::pf32bit);
            g.SetSize(grip.Width(), grip.Height());
            g.Canvas().CopyRect({0, 0, grip.Width(), grip.Height()}, Picture->Canvas(), grip);
            g.SetTransparentMode(gfx::tmFixed);
            g.SetTransparentColor(GlyphTransparentColor);
            g.SetTransparent(true);
            thumb.Canvas().Draw(x, y, g);
        } else {
            thumb.Canvas().CopyRect({x, y, x + grip.Width(), y + grip.Height()}, Picture->Canvas(),
                                    grip);
        }
    }
    if (ThumbTransparent) {
        thumb.SetTransparentMode(gfx::tmFixed);
        thumb.SetTransparentColor(ThumbTransparentColor);
        thumb.SetTransparent(true);
    }
    B.Canvas().Draw(r.Left, r.Top, thumb);
}

// ---- mouse --------------------------------------------------------------------------------------

void TbsSkinScrollBar::UpdateHover(int X, int Y) {
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 3; ++i)
        if (Buttons[i].R.Contains(X, Y)) {
            ActiveButton = i;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) {
        Buttons[OldActiveButton].MouseIn = false;
        Repaint();
        // The repeat pauses while the pointer is off the held button.
        if (OldActiveButton > 0 && Buttons[OldActiveButton].Down && HandleAllocated())
            win::KillTimer(Handle(), kRepeatTimer);
    }
    if (ActiveButton != -1) {
        Buttons[ActiveButton].MouseIn = true;
        Repaint();
        if (ActiveButton > 0 && Buttons[ActiveButton].Down)
            win::SetTimer(Handle(), kRepeatTimer, kRepeatMs);
    }
}

void TbsSkinScrollBar::StartRepeat(int mode) {
    TimerMode = mode;
    win::SetTimer(Handle(), kRepeatTimer, kFirstDelayMs);
}

void TbsSkinScrollBar::StopRepeat() {
    if (HandleAllocated()) win::KillTimer(Handle(), kRepeatTimer);
    TimerMode = 0;
}

void TbsSkinScrollBar::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != vcl::mbLeft) return;
    MouseD = true;
    LayoutParts();
    TimerMode = 0;
    WaitMode = true;
    int hit = -1;
    for (int i = 0; i < 3; ++i)
        if (Buttons[i].R.Contains(X, Y)) {
            hit = i;
            break;
        }
    if (hit != -1) {
        CaptureButton = hit;
        Buttons[hit].Down = true;
        Repaint();
        switch (hit) {
            case 0:
                OMPos = Along(X, Y);
                OldBOffset = BOffset;
                FDown = true;
                Repaint();
                break;
            case 1:
                if (OnUpButtonClick)
                    OnUpButtonClick(this);
                else
                    SetPosition(FPosition + FSmallChange);
                StartRepeat(2);
                break;
            default:
                if (OnDownButtonClick)
                    OnDownButtonClick(this);
                else
                    SetPosition(FPosition - FSmallChange);
                StartRepeat(1);
                break;
        }
        return;
    }
    if (!NewTrackArea.Contains(X, Y)) return;
    if (Along(X, Y) < Near(Buttons[0].R)) {
        SetPosition(FPosition - FLargeChange);
        StartRepeat(3);
        if (OnPageUp) OnPageUp(this);
    } else {
        SetPosition(FPosition + FLargeChange);
        StartRepeat(4);
        if (OnPageDown) OnPageDown(this);
    }
}

void TbsSkinScrollBar::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    MX = X;
    MY = Y;
    UpdateHover(X, Y);
    if (FDown) SetPosition(PositionFromOffset(Along(X, Y) - OMPos + OldBOffset));
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinScrollBar::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    MouseD = false;
    if (TimerMode >= 3) StopRepeat();
    const int captured = CaptureButton;
    if (captured != -1) {
        TbsSkinScrollBarPart& part = Buttons[captured];
        part.Down = false;
        if (captured != ActiveButton) part.MouseIn = false;
        Repaint();
        if (captured == 0)
            FDown = false;
        else
            StopRepeat();
    }
    CaptureButton = -1;
    if (Button == vcl::mbLeft && captured == 0 && OnLastChange) OnLastChange(this);
}

void TbsSkinScrollBar::RepeatStep() {
    if (WaitMode) {
        WaitMode = false;
        win::KillTimer(Handle(), kRepeatTimer);
        win::SetTimer(Handle(), kRepeatTimer, kRepeatMs);
        return;
    }
    switch (TimerMode) {
        case 1:
            if (OnDownButtonClick)
                OnDownButtonClick(this);
            else
                SetPosition(FPosition - FSmallChange);
            break;
        case 2:
            if (OnUpButtonClick)
                OnUpButtonClick(this);
            else
                SetPosition(FPosition + FSmallChange);
            break;
        case 3:
            UpdateHover(MX, MY);
            if (Along(MX, MY) < Near(Buttons[0].R)) {
                SetPosition(FPosition - FLargeChange);
                if (OnPageUp) OnPageUp(this);
            } else {
                StopRepeat();
            }
            break;
        case 4:
            UpdateHover(MX, MY);
            if (Along(MX, MY) >= Far(Buttons[0].R)) {
                SetPosition(FPosition + FLargeChange);
                if (OnPageDown) OnPageDown(this);
            } else {
                StopRepeat();
            }
            break;
        default:
            break;
    }
}

// ---- keys and messages ---------------------------------------------------------------------

void TbsSkinScrollBar::KeyDown(int& Key, vcl::TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (!FCanFocused) return;
    if (Key == win::VK_LEFT || Key == win::VK_UP)
        SetPosition(FPosition - FSmallChange);
    else if (Key == win::VK_RIGHT || Key == win::VK_DOWN)
        SetPosition(FPosition + FSmallChange);
}

bool FocusBeforeClick(vcl::TWinControl& control, vcl::TMessage& m, bool& clicksDisabled) {
    if ((m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_LBUTTONDBLCLK) && !control.Focused()) {
        clicksDisabled = true;
        if (control.CanFocus()) control.SetFocus();
        clicksDisabled = false;
        return control.Focused();
    }
    return !(m.Msg == vcl::CN_COMMAND && clicksDisabled);
}

void TbsSkinScrollBar::WndProc(vcl::TMessage& m) {
    // Only a bar that asks for it takes the focus on a click: a bar in a drop-down list must not
    // steal it from the control that opened the list.
    const bool click = m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_LBUTTONDBLCLK;
    if ((click && !FCanFocused) || FocusBeforeClick(*this, m, FClicksDisabled))
        TbsSkinCustomControl::WndProc(m);
}

void TbsSkinScrollBar::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case win::WM_TIMER:
            TbsSkinCustomControl::Dispatch(m);
            RepeatStep();
            return;
        case win::WM_MOUSEWHEEL: {
            if (!FCanFocused || !Focused()) return;
            // The delta is the high word of the parameter's low 32 bits, signed.
            const auto delta = std::int16_t(std::uint32_t(m.WParam) >> 16);
            SetPosition(delta > 0 ? FPosition - FSmallChange : FPosition + FSmallChange);
            return;
        }
        case vcl::CM_WANTSPECIALKEY:
            TbsSkinCustomControl::Dispatch(m);
            if (FCanFocused && m.WParam >= win::WPARAM(win::VK_LEFT) &&
                m.WParam <= win::WPARAM(win::VK_DOWN))
                m.Result = 1;
            return;
        case win::WM_SETFOCUS:
        case win::WM_KILLFOCUS:
        case vcl::CM_ENABLEDCHANGED:
            TbsSkinCustomControl::Dispatch(m);
            Repaint();
            return;
        case win::WM_ERASEBKGND:
            // Painted whole into a DC that asks for the background outside our own paint.
            if (!FromWMPaint && m.WParam) PaintWindow(win::ParamToDc(m.WParam));
            m.Result = 1;
            return;
        case vcl::CM_MOUSELEAVE:
            TbsSkinCustomControl::Dispatch(m);
            if (ActiveButton != -1 && CaptureButton == -1 && !FDown) {
                Buttons[ActiveButton].MouseIn = false;
                Repaint();
                ActiveButton = -1;
            }
            if (MouseD && TimerMode == 4) StopRepeat();
            return;
        default:
            TbsSkinCustomControl::Dispatch(m);
    }
}

}  // namespace skin
