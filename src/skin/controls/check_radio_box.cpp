#include "skin/controls/check_radio_box.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/vcl/menus.h"
#include "skin/controls/button_timers.h"
#include "skin/controls/label_text.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/skin_records.h"

namespace skin {

namespace {

constexpr int kMorphSteps = TbsButtonTimers::kMorphSteps;

void CopyPieceOut(gfx::TBitmap& dest, gfx::TBitmap& picture, const vcl::TRect& piece) {
    dest.SetSize(piece.Width(), piece.Height());
    dest.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, picture.Canvas(), piece);
}

}  // namespace

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(vcl::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner),
      FTimers(this, {[this] { return Hot(); }, [this] { return FIndex != -1 && MorphOn(); },
                     [this] { Repaint(); }, [] { return 0; }, [] {}}) {
    // OnClick follows the box's own rules, not the platform's click on release.
    SetControlStyle(ControlStyle() - vcl::csClickEvents - vcl::csDoubleClicks);
    SetBounds(Left(), Top(), 150, 25);
    SetSkinDataName("checkbox");
}

// ---- properties ---------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::SetChecked(bool value) {
    FChecked = value;
    if (value)
        FState = vcl::cbChecked;
    else if (FState == vcl::cbChecked)
        FState = vcl::cbUnchecked;
    Repaint();
    if (FChecked && FGroupIndex != 0 && Parent()) {
        vcl::TWinControl* parent = Parent();
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* other = dynamic_cast<TbsSkinCheckRadioBox*>(parent->Controls(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex && other->FChecked)
                other->SetChecked(false);
        }
    }
    if (OnClick && (!FRadio || FChecked)) OnClick(this);
}

void TbsSkinCheckRadioBox::SetState(vcl::TCheckBoxState value) {
    FState = value;
    FChecked = value == vcl::cbChecked;
    Repaint();
    if (OnClick) OnClick(this);
}

void TbsSkinCheckRadioBox::SetRadio(bool value) {
    FRadio = value;
    if (ComponentState().Contains(vcl::csDesigning) && !ComponentState().Contains(vcl::csLoading)) {
        SetSkinDataName(value ? "radiobox" : "checkbox");
        FGroupIndex = value ? 1 : 0;
    }
    Repaint();
}

void TbsSkinCheckRadioBox::SetFlat(bool value) {
    FFlat = value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    if (FFlat) Repaint();
}

void TbsSkinCheckRadioBox::SetAllowGrayed(bool value) {
    FAllowGrayed = value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetImages(vcl::TCustomImageList* value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value) value->FreeNotification(this);
    Repaint();
}

void TbsSkinCheckRadioBox::SetImageIndex(int value) {
    FImageIndex = value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool value) {
    FCanFocused = value;
    SetTabStop(value);
}

void TbsSkinCheckRadioBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FImages) SetImages(nullptr);
}

void TbsSkinCheckRadioBox::ToggleChecked() {
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

// ---- state --------------------------------------------------------------------------------------

bool TbsSkinCheckRadioBox::MorphOn() {
    return Morphing && SkinData() && !SkinData()->Empty && SkinData()->EnableSkinEffects();
}

bool TbsSkinCheckRadioBox::FocusedHot() {
    return FCanFocused && HandleAllocated() && Focused();
}

void TbsSkinCheckRadioBox::StateChanged() {
    if (MorphOn() && FIndex != -1) {
        FTimers.StartMorph();
        return;
    }
    Repaint();
}

void TbsSkinCheckRadioBox::BeforeDestruction() {
    FTimers.StopMorph();
    TbsSkinCustomControl::BeforeDestruction();
}

void TbsSkinCheckRadioBox::CheckParentBackground() {
    if (FFlat) Repaint();
}

void TbsSkinCheckRadioBox::ChangeSkinData() {
    if (!FFlat) {
        TbsSkinCustomControl::ChangeSkinData();
        return;
    }
    GetSkinData();
    Repaint();
}

// ---- input --------------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, int x,
                                     int y) {
    if (!FMouseIn) {
        FMouseIn = true;
        StateChanged();
    }
    TbsSkinCustomControl::MouseDown(button, shift, x, y);
}

void TbsSkinCheckRadioBox::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, int x, int y) {
    TbsSkinCustomControl::MouseUp(button, shift, x, y);
    if (button != vcl::mbLeft || !FMouseIn) return;
    if (!FRadio && FAllowGrayed && FState == vcl::cbUnchecked) {
        FState = vcl::cbGrayed;
        Repaint();
        if (OnClick) OnClick(this);
        return;
    }
    ToggleChecked();
}

void TbsSkinCheckRadioBox::WndProc(vcl::TMessage& m) {
    if (FCanFocused && !ComponentState().Contains(vcl::csDesigning)) {
        // A box that cannot take the focus still takes the press.
        if ((m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_LBUTTONDBLCLK) && CanFocus() &&
            !FocusBeforeClick(*this, m.Msg, FClicksDisabled))
            return;
        if (m.Msg == win::WM_KEYUP && m.WParam == win::WPARAM(win::VK_SPACE) && FocusedHot()) {
            TbsSkinCustomControl::WndProc(m);
            ToggleChecked();
            return;
        }
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinCheckRadioBox::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case vcl::CM_DIALOGCHAR:
            if (FCanFocused && CanFocus() && vcl::IsAccel(int(m.WParam), Caption())) {
                SetFocus();
                ToggleChecked();
                m.Result = 1;
                return;
            }
            break;
        case vcl::CM_MOUSEENTER:
        case vcl::CM_MOUSELEAVE:
            TbsSkinCustomControl::Dispatch(m);
            if (!ComponentState().Contains(vcl::csDesigning)) {
                FMouseIn = m.Msg == vcl::CM_MOUSEENTER;
                StateChanged();
            }
            return;
        case win::WM_SETFOCUS:
        case win::WM_KILLFOCUS:
            TbsSkinCustomControl::Dispatch(m);
            if (FCanFocused) {
                if (FFlat)
                    Invalidate();
                else
                    StateChanged();
            }
            return;
        case vcl::CM_ENABLEDCHANGED:
            TbsSkinCustomControl::Dispatch(m);
            if (MorphOn()) {
                FTimers.StopMorph();
                FTimers.SetMorphSteps(0);
            }
            FMouseIn = false;
            Repaint();
            return;
        case vcl::CM_TEXTCHANGED:
            TbsSkinCustomControl::Dispatch(m);
            Repaint();
            return;
        case win::WM_MOVE:
            TbsSkinCustomControl::Dispatch(m);
            // The backdrop moved with the box.
            if (FFlat) Invalidate();
            return;
        case win::WM_ERASEBKGND:
            if (!FFlat && !FromWMPaint) PaintWindow(win::ParamToDc(m.WParam));
            m.Result = 1;
            return;
        default:
            break;
    }
    TbsSkinCustomControl::Dispatch(m);
}

// ---- record and size ----------------------------------------------------------------------------

void TbsSkinCheckRadioBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    auto* r = dynamic_cast<TbsDataSkinCheckRadioControl*>(SkinData()->CtrlList[FIndex].get());
    if (!r) return;
    FontName = r->FontName;
    FontColor = r->FontColor;
    ActiveFontColor = r->ActiveFontColor;
    FrameFontColor = r->FrameFontColor;
    UnEnabledFontColor = r->UnEnabledFontColor;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    auto orElse = [](const vcl::TRect& r, const vcl::TRect& other) {
        return r.IsEmpty() ? other : r;
    };
    ActiveSkinRect = orElse(r->ActiveSkinRect, SkinRect);
    CheckImageArea = r->CheckImageArea;
    TextArea = r->TextArea;
    CheckImageRect = r->CheckImageRect;
    UnCheckImageRect = r->UnCheckImageRect;
    ActiveCheckImageRect = orElse(r->ActiveCheckImageRect, CheckImageRect);
    ActiveUnCheckImageRect = orElse(r->ActiveUnCheckImageRect, UnCheckImageRect);
    UnEnabledCheckImageRect = orElse(r->UnEnabledCheckImageRect, CheckImageRect);
    UnEnabledUnCheckImageRect = orElse(r->UnEnabledUnCheckImageRect, UnCheckImageRect);
    Morphing = r->Morphing;
    MorphKind = r->MorphKind;
    GrayedCheckImageRect = r->GrayedCheckImageRect;
    ActiveGrayedCheckImageRect = r->ActiveGrayedCheckImageRect;
    if (FFlat) {
        Morphing = false;
        MaskPicture = nullptr;
    }
}

void TbsSkinCheckRadioBox::FitSkinSize(int& width, int& height) {
    if (FFlat) return;
    const int requested = width;
    TbsSkinCustomControl::FitSkinSize(width, height);
    if (FIndex == -1) return;
    const int dx = requested - SkinRect.Width();
    NewTextArea = TextArea;
    NewTextArea.Right += dx;
    vcl::TRect area = CheckImageArea;
    if (TextArea.Right < CheckImageArea.Right) area = area.Offset(dx, 0);
    const int iw = CheckImageRect.Width(), ih = CheckImageRect.Height();
    CIRect.Left = area.Left + area.Width() / 2 - iw / 2;
    CIRect.Top = area.Top + area.Height() / 2 - ih / 2;
    CIRect.Right = CIRect.Left + iw;
    CIRect.Bottom = CIRect.Top + ih;
}

// ---- painting -----------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::CheckImage(gfx::TBitmap& image, bool hot) {
    if (!Picture) return;
    const bool grayed = FState == vcl::cbGrayed;
    vcl::TRect rect;
    if (!Enabled())
        rect = FState == vcl::cbUnchecked ? UnEnabledUnCheckImageRect : UnEnabledCheckImageRect;
    else if (hot)
        rect = FState == vcl::cbUnchecked ? ActiveUnCheckImageRect : ActiveCheckImageRect;
    else
        rect = FState == vcl::cbUnchecked ? UnCheckImageRect : CheckImageRect;
    if (grayed && !GrayedCheckImageRect.IsEmpty())
        rect = Enabled() && hot && !ActiveGrayedCheckImageRect.IsEmpty()
                   ? ActiveGrayedCheckImageRect
                   : GrayedCheckImageRect;
    CopyPieceOut(image, *Picture, rect);
    if (grayed && GrayedCheckImageRect.IsEmpty() && !image.Empty()) {
        // No grayed picture: the checked one, brightened.
        TbsEffectBmp e = TbsEffectBmp::CreateFromhWnd(image.Handle());
        e.ChangeBrightness(0.5);
        e.Draw(image.Canvas().Handle(), 0, 0);
    }
    image.SetTransparent(true);
}

void TbsSkinCheckRadioBox::SelectFont(gfx::TFont& font) {
    if (FIndex != -1 && UseSkinFont()) {
        font.Assign(DefaultFont());
        font.SetName(FontName);
        font.SetHeight(FontHeight);
        font.SetStyle(FontStyle);
    } else {
        font.Assign(DefaultFont());
    }
    font.SetCharset(SkinCharset(SkinData(), DefaultFont()));
}

void TbsSkinCheckRadioBox::Paint() {
    if (!FFlat) {
        TbsSkinCustomControl::Paint();
        return;
    }
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    PaintFlat();
}

void TbsSkinCheckRadioBox::DrawDefaultBox(gfx::TCanvas& c, int h) {
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(FMouseIn ? gfx::clNavy : gfx::clBtnShadow);
    c.FrameRect({3, h / 2 - 7, 17, h / 2 + 7});
    const bool grayed = FState == vcl::cbGrayed && !FRadio;
    const bool checked = FRadio ? FChecked : FState == vcl::cbChecked;
    const gfx::TColor mark = Enabled() ? gfx::clBlack : gfx::clBtnShadow;
    if (grayed)
        DrawCheckMark(c, 7, h / 2 - 4, gfx::clGrayText);
    else if (checked && FRadio)
        DrawRadioMark(c, 7, h / 2 - 3, mark);
    else if (checked)
        DrawCheckMark(c, 7, h / 2 - 4, mark);
}

void TbsSkinCheckRadioBox::PaintFlat() {
    const int w = Width(), h = Height();
    const bool skinned = FIndex != -1;
    gfx::TBitmap b;
    b.SetSize(w, h);
    gfx::TCanvas& c = b.Canvas();
    PaintParentBackdrop(this, c);
    int imageWidth = 0;
    if (skinned) {
        gfx::TBitmap image;
        CheckImage(image, FMouseIn);
        imageWidth = image.Width();
        if (!image.Empty()) c.Draw(3, h / 2 - image.Height() / 2, image);
    }
    SelectFont(c.Font());
    // The caption's place.
    const int x = skinned ? imageWidth + 7 : 22;
    vcl::TRect text;
    const unsigned wrap = gfx::DT_EXPANDTABS | gfx::DT_WORDBREAK;
    if (FWordWrap) {
        text = {x, 0, w, 0};
        c.DrawText(Caption(), text, wrap | gfx::DT_CALCRECT);
        const int th = text.Height();
        text = {x, std::max(0, h / 2 - th / 2), w, 0};
        text.Bottom = text.Top + th;
    } else {
        text = {0, 0, 0, 0};
        c.DrawText(Caption(), text, gfx::DT_SINGLELINE | gfx::DT_CALCRECT);
        const int tw = text.Width(), th = text.Height();
        text = {x, h / 2 - th / 2, x + tw, h / 2 - th / 2 + th};
    }
    text.Right = std::min(text.Right, w - 2);
    vcl::TRect imageRect;
    if (FImages && FImageIndex >= 0 && FImageIndex < FImages->Count()) {
        const int iy = h / 2 - FImages->Height() / 2;
        imageRect = {text.Left, iy, text.Left + FImages->Width(), iy + FImages->Height()};
        FImages->Draw(c, text.Left, iy, FImageIndex, Enabled());
        const int shift = FImages->Width() + (skinned ? 8 : 5);
        text.Left += shift;
        text.Right = std::min(text.Right + shift, w - 2);
    }
    gfx::TColor colour;
    if (skinned)
        colour = !FUseSkinFontColor ? DefaultFont().Color()
                 : Enabled()        ? FrameFontColor
                                    : UnEnabledFontColor;
    else
        colour = Enabled() ? DefaultFont().Color() : gfx::clBtnShadow;
    c.Font().SetColor(colour);
    c.Brush().SetStyle(gfx::bsClear);
    vcl::TRect drawn = text;
    if (FWordWrap)
        c.DrawText(Caption(), drawn, wrap);
    else
        c.DrawText(Caption(), drawn, gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_EXPANDTABS);
    if (!skinned) DrawDefaultBox(c, h);
    if (FocusedHot()) {
        vcl::TRect focus = Caption().empty() ? vcl::TRect{imageRect.Left - 1, imageRect.Top - 1,
                                                          imageRect.Right + 1, imageRect.Bottom + 1}
                                             : vcl::TRect{text.Left - 2, text.Top - 1,
                                                          text.Right + 3, text.Bottom + 1};
        if (!Caption().empty() || !imageRect.IsEmpty()) {
            c.Brush().SetStyle(gfx::bsSolid);
            c.Brush().SetColor(skinned ? SkinData()->SkinColors()->cBtnFace : gfx::clBtnFace);
            DrawDotFrame(c, focus);
        }
    }
    Canvas().Draw(0, 0, b);
}

void TbsSkinCheckRadioBox::CreateControlDefaultImage(gfx::TBitmap& b) {
    gfx::TCanvas& c = b.Canvas();
    const int w = b.Width(), h = b.Height();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(gfx::clBtnFace);
    c.FillRect({0, 0, w, h});
    if (Hot()) {
        c.Brush().SetColor(gfx::clBtnShadow);
        c.FrameRect({0, 0, w, h});
    }
    DrawDefaultBox(c, h);
    c.Font().Assign(DefaultFont());
    c.Font().SetColor(Enabled() ? DefaultFont().Color() : gfx::clBtnShadow);
    c.Brush().SetStyle(gfx::bsClear);
    vcl::TRect text{22, 0, w - 2, h};
    c.DrawText(Caption(), text, gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_EXPANDTABS);
}

void TbsSkinCheckRadioBox::SkinImage(gfx::TBitmap& b, bool hot) {
    DrawSkinRect(b, Picture, hot ? ActiveSkinRect : SkinRect);
    gfx::TCanvas& c = b.Canvas();
    gfx::TBitmap image;
    CheckImage(image, FMouseIn);
    if (!image.Empty())
        c.Draw(CIRect.Left, CIRect.Top + CIRect.Height() / 2 - image.Height() / 2, image);
    SelectFont(c.Font());
    c.Font().SetColor(!Enabled() ? UnEnabledFontColor : hot ? ActiveFontColor : FontColor);
    c.Brush().SetStyle(gfx::bsClear);
    vcl::TRect text = NewTextArea;
    c.DrawText(Caption(), text, gfx::DT_SINGLELINE | gfx::DT_VCENTER);
}

void TbsSkinCheckRadioBox::CreateControlSkinImage(gfx::TBitmap& b) {
    if (MorphOn() && FTimers.Fading()) {
        gfx::TBitmap normal, hot;
        normal.SetSize(b.Width(), b.Height());
        hot.SetSize(b.Width(), b.Height());
        SkinImage(normal, false);
        SkinImage(hot, true);
        if (b.Width() != normal.Width() || b.Height() != normal.Height())
            b.SetSize(normal.Width(), normal.Height());
        DrawMorphed(b.Canvas().Handle(), normal, hot, MorphKind, MorphKf());
        return;
    }
    // While a fade may run, its step decides: the timer has not moved yet on a fresh hover.
    SkinImage(b, MorphOn() ? FTimers.MorphSteps() == kMorphSteps : Hot());
}

}  // namespace skin
