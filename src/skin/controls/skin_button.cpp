#include "skin/controls/skin_button.h"

#include "platform/vcl/menus.h"
#include "platform/win/win.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_messages.h"
#include "skin/core/skin_records.h"
#include "skin/core/system_routines.h"

namespace skin {

namespace {

constexpr int kMorphSteps = TbsButtonTimers::kMorphSteps;

void FramedFill(gfx::TCanvas& c, const TRect& r, gfx::TColor frame, gfx::TColor face) {
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(face);
    c.FillRect(r);
    c.Brush().SetColor(frame);
    c.FrameRect(r);
}

}  // namespace

TRect AnimationFrameRect(const TRect& strip, int frameCount, int k, const TRect& skinRect) {
    const int w = RectWidthOf(strip), h = RectHeightOf(strip);
    if (w > RectWidthOf(skinRect)) {
        const int step = w / frameCount;
        return {strip.Left + step * (k - 1), strip.Top, strip.Left + step * k, strip.Bottom};
    }
    const int step = h / frameCount;
    return {strip.Left, strip.Top + step * (k - 1), strip.Right, strip.Top + step * k};
}

TbsSkinButton::TbsSkinButton(vcl::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner),
      FTimers(this, {[this] { return Hot(); }, [this] { return FIndex != -1 && MorphOn(); },
                     [this] { Repaint(); }, [this] { return FRepeatInterval; },
                     [this] { ButtonClick(); }}) {
    // Clicks come from MouseUp through ButtonClick, never from the platform's click.
    SetControlStyle({vcl::csCaptureMouse, vcl::csSetCaption, vcl::csDoubleClicks, vcl::csOpaque});
    FLayerManager = new TbsLayerManager(this);
    SetSkinDataName("button");
    SetBounds(Left(), Top(), 75, 25);
    SetTabStop(true);
}

TbsSkinButton::~TbsSkinButton() = default;

void TbsSkinButton::BeforeDestruction() {
    FTimers.StopRepeat();
    FTimers.StopAnimation();
    FTimers.StopMorph();
    TbsSkinCustomControl::BeforeDestruction();
}

// ---- properties -------------------------------------------------------------------------------

void TbsSkinButton::SetGlyph(const gfx::TBitmap& value) {
    FGlyph.Assign(value);
    Repaint();
}

void TbsSkinButton::SetNumGlyphs(TbsNumGlyphs value) {
    FNumGlyphs = value;
    Repaint();
}

void TbsSkinButton::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    Repaint();
}

void TbsSkinButton::SetLayout(TbsButtonLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Repaint();
}

void TbsSkinButton::SetSpacing(int value) {
    if (FSpacing == value) return;
    FSpacing = value;
    Repaint();
}

void TbsSkinButton::SetMargin(int value) {
    if (FMargin == value || value < -1) return;
    FMargin = value;
    Repaint();
}

void TbsSkinButton::SetGroupIndex(int value) {
    FGroupIndex = value;
    if (value != 0) SetCanFocused(false);
}

void TbsSkinButton::SetCanFocused(bool value) {
    FCanFocused = value;
    SetTabStop(value);
}

void TbsSkinButton::SetDefault(bool value) {
    FDefault = value;
    if (!HandleAllocated() || !FCanFocused) return;
    if (vcl::TCustomForm* form = vcl::GetParentForm(this))
        form->Perform(vcl::CM_FOCUSCHANGED, 0, win::PtrToParam(form->ActiveControl()));
}

void TbsSkinButton::SetDown(bool value) {
    FDown = value;
    if (MorphOn()) {
        FTimers.SetMorphSteps(kMorphSteps);
        if (value)
            FTimers.StopMorph();
        else
            FTimers.StartMorph();
    }
    Repaint();
    if (FGroupIndex != 0 && value && !FAllowAllUp && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TbsSkinButton*>(Parent()->Controls(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown)
                other->SetDown(false);
        }
    }
}

// ---- record -----------------------------------------------------------------------------------

bool TbsSkinButton::EffectsOn() const {
    return FSD && !FSD->Empty && FSD->EnableSkinEffects();
}

bool TbsSkinButton::CanAnimateFrames() const {
    return FIndex != -1 && EffectsOn() && !RectIsEmpty(AnimateSkinRect);
}

void TbsSkinButton::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        AnimateSkinRect = {};
        return;
    }
    if (const auto* r = dynamic_cast<const TbsDataSkinButtonControl*>(
            FSD->CtrlList[std::size_t(FIndex)].get())) {
        if (!FUseSkinSize && MaskPicture) MaskPicture = nullptr;
        FontName = r->FontName;
        FontColor = r->FontColor;
        ActiveFontColor = r->ActiveFontColor;
        DownFontColor = r->DownFontColor;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
        ActiveSkinRect = RectIsEmpty(r->ActiveSkinRect) ? SkinRect : r->ActiveSkinRect;
        DownSkinRect = RectIsEmpty(r->DownSkinRect) ? ActiveSkinRect : r->DownSkinRect;
        DisabledSkinRect = r->DisabledSkinRect;
        FocusedSkinRect = r->FocusedSkinRect;
        DisabledFontColor = r->DisabledFontColor;
        Morphing = r->Morphing;
        MorphKind = r->MorphKind;
        AnimateSkinRect = r->AnimateSkinRect;
        FrameCount = r->FrameCount;
        AnimateInterval = r->AnimateInterval;
        ShowFocus = r->ShowFocus;
        if (DisabledFontColor == FontColor) DisabledFontColor = 0x00808080;
        GlowLayerPictureIndex = r->GlowLayerPictureIndex;
        GlowLayerMaskPictureIndex = r->GlowLayerMaskPictureIndex;
        GlowLayerOffsetLeft = r->GlowLayerOffsetLeft;
        GlowLayerOffsetRight = r->GlowLayerOffsetRight;
        GlowLayerOffsetTop = r->GlowLayerOffsetTop;
        GlowLayerOffsetBottom = r->GlowLayerOffsetBottom;
        GlowLayerShowOffsetX = r->GlowLayerShowOffsetX;
        GlowLayerShowOffsetY = r->GlowLayerShowOffsetY;
        GlowLayerAlphaBlendValue = r->GlowLayerAlphaBlendValue;
    }
    if (EffectsOn() && FTimers.Animating() && FTimers.CurrentFrame() >= 1 &&
        FTimers.CurrentFrame() <= FrameCount) {
        const TRect frame =
            AnimationFrameRect(AnimateSkinRect, FrameCount, FTimers.CurrentFrame(), SkinRect);
        if (FTimers.AnimationForward())
            ActiveSkinRect = frame;
        else
            SkinRect = frame;
    }
}

void TbsSkinButton::FitSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize || ResizeMode == kResizeFree) {
        TbsSkinCustomControl::FitSkinSize(AWidth, AHeight);
        return;
    }
    NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + AWidth - RectWidthOf(SkinRect),
                 ClRect.Bottom + AHeight - RectHeightOf(SkinRect)};
}

void TbsSkinButton::ChangeSkinData() {
    FTimers.StopMorph();
    FTimers.StopAnimation();
    FTimers.SetMorphSteps(0);
    TbsSkinCustomControl::ChangeSkinData();
    if (MorphOn() && FIndex != -1 && Hot()) FTimers.SetMorphSteps(kMorphSteps);
    if (FMouseIn && HandleAllocated()) win::PostMessage(Handle(), WM_SHOWLAYER);
}

void TbsSkinButton::BeforeChangeSkinData() {
    TbsSkinCustomControl::BeforeChangeSkinData();
    if (FLayerManager && FLayerManager->IsVisible) FLayerManager->Hide();
}

// ---- painting ---------------------------------------------------------------------------------

bool TbsSkinButton::DownCondition() const {
    return FDown && (FGroupIndex != 0 || FMouseIn || (FocusedHot() && !FMouseDown));
}

void TbsSkinButton::PaintContent(gfx::TCanvas& canvas, const TRect& textRect, bool ADown,
                                 bool AMouseIn, bool pressedLook) {
    if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count()) {
        PaintGlyphTextFromList(canvas, textRect, FMargin, FSpacing, FLayout, Caption(), FImageIndex,
                               FImageList, AMouseIn && ADown, Enabled(), false, 0);
        return;
    }
    int frame;
    if (ADown && AMouseIn && FNumGlyphs > 2)
        frame = 3;
    else if (AMouseIn && FNumGlyphs > 3)
        frame = 4;
    else if (Enabled() || FNumGlyphs == 1)
        frame = 1;
    else
        frame = 2;
    PaintGlyphTextFromBitmap(canvas, textRect, FMargin, FSpacing, FLayout, Caption(), FGlyph,
                             FNumGlyphs, frame, pressedLook, false, 0);
}

void TbsSkinButton::CreateButtonImage(gfx::TBitmap& B, const TRect& R, bool ADown, bool AMouseIn) {
    TRect textRect;
    if (!FUseSkinSize && ResizeMode != kResizeFree) {
        if (ResizeMode == kResizeFixed && Picture) {
            gfx::TBitmap piece;
            piece.SetSize(RectWidthOf(R), RectHeightOf(R));
            piece.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, Picture->Canvas(), R);
            B.Canvas().StretchDraw({0, 0, B.Width(), B.Height()}, piece);
        } else if ((ResizeMode == kResizeHorz || ResizeMode == kResizeVert) && Picture) {
            BuildNineSliceFromRect(B, *Picture, R, ClRect, true);
        }
        textRect = {ClRect.Left, ClRect.Top, ClRect.Right + B.Width() - RectWidthOf(R),
                    ClRect.Bottom + B.Height() - RectHeightOf(R)};
    } else {
        DrawSkinRect(B, Picture, R);
        textRect = NewClRect;
    }
    gfx::TCanvas& c = B.Canvas();
    if (UseSkinFont()) {
        c.Font().SetName(FontName);
        c.Font().SetHeight(FontHeight);
        c.Font().SetStyle(FontStyle);
    } else {
        c.Font().Assign(DefaultFont());
    }
    if (Enabled() && !FUseSkinFontColor)
        c.Font().SetColor(DefaultFont().Color());
    else if (!Enabled())
        c.Font().SetColor(DisabledFontColor);
    else if (AMouseIn && ADown)
        c.Font().SetColor(DownFontColor);
    else if (AMouseIn)
        c.Font().SetColor(ActiveFontColor);
    else
        c.Font().SetColor(FontColor);
    if (ShowFocus && Focused()) {
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(FSD->SkinColors()->cBtnFace);
        DrawDotFrame(c, textRect);
        c.Brush().SetStyle(gfx::bsClear);
    }
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, textRect, ADown, AMouseIn, drawDefault);
    if (!drawDefault) return;
    PaintContent(c, textRect, ADown, AMouseIn, ADown && AMouseIn);
}

void TbsSkinButton::CreateControlDefaultImage(gfx::TBitmap& B) {
    gfx::TCanvas& c = B.Canvas();
    const TRect r{0, 0, B.Width(), B.Height()};
    const bool pressed = DownCondition();
    if (pressed)
        FramedFill(c, r, gfx::clNavy, kNoSkin.DownFill);
    else if (Hot())
        FramedFill(c, r, gfx::clNavy, kNoSkin.HotFill);
    else
        FramedFill(c, r, gfx::clBtnShadow, gfx::clBtnFace);
    c.Font().Assign(DefaultFont());
    if (!Enabled()) c.Font().SetColor(gfx::clBtnShadow);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, r, FDown, FMouseIn, drawDefault);
    if (!drawDefault) return;
    if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count()) {
        PaintContent(c, r, FDown, FMouseIn, FDown && FMouseIn);
        return;
    }
    PaintContent(c, r, FDown, FMouseIn, pressed);
}

void TbsSkinButton::Paint() {
    GetSkinData();
    if (FIndex == -1) {
        PaintThroughBitmap();
        return;
    }
    if (Width() < 1 || Height() < 1) return;
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    gfx::TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    if (MorphOn() && FTimers.MorphSteps() > 0 && FTimers.MorphSteps() < kMorphSteps && Enabled()) {
        gfx::TBitmap active;
        active.SetSize(Width(), Height());
        CreateButtonImage(bitmap, SkinRect, false, false);
        CreateButtonImage(active, ActiveSkinRect, false, true);
        TbsEffectBmp from = TbsEffectBmp::CreateFromhWnd(bitmap.Handle());
        const TbsEffectBmp to = TbsEffectBmp::CreateFromhWnd(active.Handle());
        MorphByKind(from, to, MorphKind, MorphKf());
        from.Draw(Canvas().Handle(), 0, 0);
        return;
    }
    const bool animating = FTimers.Animating();
    TRect picture = SkinRect;
    bool down = false, in = false;
    if (!Enabled() && !RectIsEmpty(DisabledSkinRect)) {
        picture = DisabledSkinRect;
    } else if (DownCondition()) {
        picture = DownSkinRect;
        down = in = true;
    } else if (FocusedHot() && !RectIsEmpty(FocusedSkinRect) && !animating) {
        picture = FocusedSkinRect;
        in = true;
    } else if (FocusedHot() || FMouseIn || (MorphOn() && FTimers.MorphSteps() == kMorphSteps)) {
        picture = ActiveSkinRect;
        in = true;
    }
    CreateButtonImage(bitmap, picture, down, in);
    Canvas().Draw(0, 0, bitmap);
}

// ---- clicks, timers and the layer ---------------------------------------------------------------

void TbsSkinButton::ButtonClick() {
    if (FCanFocused)
        if (vcl::TCustomForm* form = vcl::GetParentForm(this)) form->SetModalResult(FModalResult);
    if (OnClick) OnClick(this);
}

void TbsSkinButton::RefreshButton() {
    FMouseIn = false;
    FDown = false;
    if (MorphOn()) FTimers.SetMorphSteps(0);
    if (EffectsOn()) FTimers.StopAnimation();
    Repaint();
}

void TbsSkinButton::StateChanged() {
    if (MorphOn() && FIndex != -1)
        FTimers.StartMorph();
    else
        Repaint();
}

bool TbsSkinButton::GlowPossible() const {
    return FSD && !FSD->Empty && OsIsW2kUp() &&
           (FSD->ShowButtonGlowFrames() || FAlwaysShowGlowFrame) && GlowLayerPictureIndex != -1;
}

void TbsSkinButton::ShowLayer() {
    GetSkinData();
    if (FIndex == -1 || !GlowPossible() || !FLayerManager) return;
    gfx::TBitmap* picture = PictureAt(*FSD, GlowLayerPictureIndex);
    gfx::TBitmap* mask = PictureAt(*FSD, GlowLayerMaskPictureIndex);
    if (!picture || !mask) return;
    const int dw = Width() - RectWidthOf(SkinRect), dh = Height() - RectHeightOf(SkinRect);
    gfx::TBitmap image, imageMask;
    gfx::TBitmap* shownImage = picture;
    gfx::TBitmap* shownMask = mask;
    if (ResizeMode == kResizeHorz && FUseSkinSize) {
        const TRect whole{0, 0, picture->Width(), picture->Height()};
        const TRect wholeMask{0, 0, mask->Width(), mask->Height()};
        BuildHorzSkinStrip(GlowLayerOffsetLeft, GlowLayerOffsetRight, image, *picture, whole,
                           picture->Width() + dw, picture->Height(), true);
        BuildHorzSkinStrip(GlowLayerOffsetLeft, GlowLayerOffsetRight, imageMask, *mask, wholeMask,
                           mask->Width() + dw, mask->Height(), true);
        shownImage = &image;
        shownMask = &imageMask;
    } else if (ResizeMode == kResizeFree) {
        auto grow = [&](gfx::TBitmap& dest, gfx::TBitmap& source) {
            dest.SetSize(source.Width() + dw, source.Height() + dh);
            BuildNineSliceFromRect(
                dest, source, {0, 0, source.Width(), source.Height()},
                {GlowLayerOffsetLeft, GlowLayerOffsetTop, source.Width() - GlowLayerOffsetRight,
                 source.Height() - GlowLayerOffsetBottom},
                true);
        };
        grow(image, *picture);
        grow(imageMask, *mask);
        shownImage = &image;
        shownMask = &imageMask;
    } else if (ResizeMode != kResizeFixed) {
        return;
    }
    const vcl::TCustomForm* form = vcl::GetParentForm(this);
    FLayerManager->TopMostMode = form && form->FormStyle() == vcl::fsStayOnTop;
    const TPoint origin = ClientOrigin();
    FLayerManager->Show(origin.X - GlowLayerShowOffsetX, origin.Y - GlowLayerShowOffsetY,
                        *shownImage, *shownMask, GlowLayerAlphaBlendValue);
}

void TbsSkinButton::HideLayer() {
    if (FIndex == -1 || !GlowPossible() || !FLayerManager) return;
    if (ResizeMode == kResizeFixed || ResizeMode == kResizeFree ||
        (ResizeMode == kResizeHorz && FUseSkinSize))
        FLayerManager->Hide();
}

// ---- mouse, keys and messages -------------------------------------------------------------------

void TbsSkinButton::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != vcl::mbLeft) return;
    if (CanAnimateFrames()) FTimers.StopAnimation();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (FGroupIndex == 0 && FRepeatMode)
            FTimers.StartRepeat();
        else if (FGroupIndex != 0)
            ButtonClick();
        FAllowAllUpCheck = false;
    } else if (FGroupIndex != 0) {
        FAllowAllUpCheck = true;
    }
}

void TbsSkinButton::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    if (Button == vcl::mbLeft) {
        FMouseDown = false;
        const bool over = ClientRect().Contains(X, Y);
        if (FGroupIndex == 0) {
            const bool wasDown = FDown;
            if (over) {
                SetDown(false);
                FTimers.StopRepeat();
                if (wasDown) ButtonClick();
            } else {
                FDown = false;
                FTimers.StopRepeat();
            }
        } else if (FDown && FAllowAllUp && FAllowAllUpCheck && over) {
            SetDown(false);
            ButtonClick();
        }
    }
    // OnClick may have hidden the button or taken its window.
    if (HandleAllocated() && Visible()) TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinButton::WndProc(vcl::TMessage& m) {
    if (FCanFocused) {
        switch (m.Msg) {
            case win::WM_KEYDOWN:
                if (m.WParam == win::WPARAM(win::VK_SPACE) && FSpaceSupport) {
                    if (CanAnimateFrames()) FTimers.StopAnimation();
                    SetDown(true);
                    if (FRepeatMode) ButtonClick();
                } else if (m.WParam == win::WPARAM(win::VK_RETURN) && FSpaceSupport) {
                    ButtonClick();
                }
                break;
            case win::WM_KEYUP:
                if (m.WParam == win::WPARAM(win::VK_SPACE) && FSpaceSupport) {
                    SetDown(false);
                    ButtonClick();
                }
                break;
            case win::WM_LBUTTONDOWN:
            case win::WM_LBUTTONDBLCLK:
                if (!FocusBeforeClick(*this, m.Msg, FClicksDisabled)) return;
                break;
            default:
                break;
        }
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinButton::FocusChanged(vcl::TControl* focused) {
    auto* focusedButton = dynamic_cast<TbsSkinButton*>(focused);
    FActive = focusedButton ? focusedButton == this : FDefault;
    if (!FCanFocused || !FDefault) return;
    if (focusedButton && focusedButton != this && FMouseIn) {
        FMouseIn = false;
        StateChanged();
    } else if (focused && !focusedButton && !FMouseIn) {
        if (MorphOn()) FTimers.SetMorphSteps(kMorphSteps);
        FMouseIn = true;
        StateChanged();
    }
}

void TbsSkinButton::Dispatch(vcl::TMessage& m) {
    using namespace win;
    const bool enterCondition =
        (FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!FocusedHot() || FDown));
    switch (m.Msg) {
        case WM_ERASEBKGND:
            if (!FromWMPaint) PaintWindow(ParamToDc(m.WParam));
            m.Result = 1;
            return;
        case WM_SETFOCUS:
            TbsSkinCustomControl::Dispatch(m);
            if (FCanFocused) {
                if (CanAnimateFrames()) FTimers.StartAnimation(true, FrameCount, AnimateInterval);
                StateChanged();
            }
            return;
        case WM_KILLFOCUS:
            FTimers.StopRepeat();
            if (FGroupIndex == 0 && FDown) FDown = false;
            TbsSkinCustomControl::Dispatch(m);
            if (FCanFocused) {
                if (CanAnimateFrames()) FTimers.StartAnimation(false, FrameCount, AnimateInterval);
                if (MorphOn() && FIndex != -1)
                    FTimers.StartMorph();
                else
                    Invalidate();
            }
            return;
        case vcl::CM_DIALOGKEY: {
            const int key = int(m.WParam);
            const vcl::TShiftState shift = vcl::KeyDataToShiftState(m.LParam);
            const bool noShift = !shift.Contains(vcl::ssShift) && !shift.Contains(vcl::ssAlt) &&
                                 !shift.Contains(vcl::ssCtrl);
            if ((key == VK_RETURN && FActive && Enabled()) ||
                (key == VK_ESCAPE && FCancel && FCanFocused && noShift && CanFocus())) {
                ButtonClick();
                m.Result = 1;
                return;
            }
            TbsSkinCustomControl::Dispatch(m);
            return;
        }
        case vcl::CM_DIALOGCHAR:
            if (FCanFocused && CanFocus() && vcl::IsAccel(int(m.WParam), Caption())) {
                SetFocus();
                ButtonClick();
                m.Result = 1;
                return;
            }
            TbsSkinCustomControl::Dispatch(m);
            return;
        case vcl::CM_FOCUSCHANGED:
            FocusChanged(win::ParamToPtr<vcl::TControl>(std::uint64_t(m.LParam)));
            TbsSkinCustomControl::Dispatch(m);
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
        case vcl::CM_MOUSEENTER:
            TbsSkinCustomControl::Dispatch(m);
            FMouseIn = true;
            if (enterCondition) {
                if (FDown) {
                    if (MorphOn()) FTimers.SetMorphSteps(kMorphSteps);
                    Repaint();
                } else {
                    if (CanAnimateFrames())
                        FTimers.StartAnimation(true, FrameCount, AnimateInterval);
                    StateChanged();
                }
            }
            if (FMouseDown && FGroupIndex == 0 && FRepeatMode) FTimers.StartRepeat();
            if (HandleAllocated()) PostMessage(Handle(), WM_SHOWLAYER);
            return;
        case vcl::CM_MOUSELEAVE:
            TbsSkinCustomControl::Dispatch(m);
            if (!(FCanFocused && FDefault && FActive && !Focused())) FMouseIn = false;
            if (enterCondition) {
                if (CanAnimateFrames()) FTimers.StartAnimation(false, FrameCount, AnimateInterval);
                StateChanged();
            }
            if (FMouseDown && FGroupIndex == 0 && FRepeatMode) FTimers.StopRepeat();
            if (HandleAllocated()) PostMessage(Handle(), WM_HIDELAYER);
            return;
        case vcl::CN_COMMAND:
            if (FClicksDisabled) return;
            TbsSkinCustomControl::Dispatch(m);
            return;
        case WM_SHOWLAYER:
            ShowLayer();
            return;
        case WM_HIDELAYER:
            HideLayer();
            return;
        default:
            TbsSkinCustomControl::Dispatch(m);
    }
}

void TbsSkinButton::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FImageList) FImageList = nullptr;
    if (Operation == vcl::opRemove && AComponent == FLayerManager) FLayerManager = nullptr;
}

void TbsSkinButton::CreateWnd() {
    TbsSkinCustomControl::CreateWnd();
    FActive = FDefault;
}

}  // namespace skin
