#include "skin/controls/speed_button.h"

#include <algorithm>

#include "platform/vcl/menus.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"

namespace skin {

namespace {

constexpr gfx::TColor kDisabledText = 0x00808080;

}  // namespace

TbsSkinSpeedButton::TbsSkinSpeedButton(vcl::TComponent* AOwner)
    : TbsGraphicSkinCustomControl(AOwner),
      FTimers(this, {[this] { return FMouseIn; }, [this] { return FIndex != -1 && MorphOn(); },
                     [this] { Repaint(); }, [this] { return FRepeatInterval; },
                     [this] { ButtonClick(); }}),
      FGlyph(std::make_unique<gfx::TBitmap>()) {
    SetControlStyle({vcl::csCaptureMouse, vcl::csOpaque, vcl::csDoubleClicks});
    SetSkinDataName("toolbutton");
    SetBounds(Left(), Top(), 25, 25);
}

TbsSkinSpeedButton::~TbsSkinSpeedButton() = default;

void TbsSkinSpeedButton::BeforeDestruction() {
    FTimers.StopRepeat();
    FTimers.StopAnimation();
    FTimers.StopMorph();
    if (FSkinImagesMenu) {
        FSkinImagesMenu->OnInternalChange = nullptr;
        FSkinImagesMenu->OnInternalMenuClose = nullptr;
    }
    TbsGraphicSkinCustomControl::BeforeDestruction();
}

// ---- state --------------------------------------------------------------------------------------

bool TbsSkinSpeedButton::EffectsOn() const {
    const TbsSkinData* sd = SkinData();
    return sd && !sd->Empty && sd->EnableSkinEffects();
}

bool TbsSkinSpeedButton::MorphOn() const {
    return EffectsOn() && Morphing;
}

std::string TbsSkinSpeedButton::ShownCaption() const {
    return FShowCaption ? Caption() : std::string();
}

bool TbsSkinSpeedButton::HostImages(vcl::TCustomImageList*& images,
                                    vcl::TCustomImageList*& hotImages,
                                    vcl::TCustomImageList*& disabledImages) const {
    images = hotImages = disabledImages = nullptr;
    TbsSkinParent* parent = SkinParentOf(this);
    return parent && parent->ChildImages(images, hotImages, disabledImages);
}

void TbsSkinSpeedButton::RefreshButton() {
    FMouseIn = false;
    FDown = false;
    if (MorphOn()) FTimers.SetMorphSteps(0);
    if (EffectsOn()) FTimers.StopAnimation();
    Repaint();
}

void TbsSkinSpeedButton::ButtonClick() {
    if (OnClick) OnClick(this);
}

// ---- properties -------------------------------------------------------------------------------

void TbsSkinSpeedButton::SetDown(bool value) {
    FDown = value;
    if (MorphOn()) {
        FTimers.SetMorphSteps(TbsButtonTimers::kMorphSteps);
        if (value)
            FTimers.StopMorph();
        else
            FTimers.StartMorph();
    }
    Repaint();
    if (FGroupIndex == 0 || !FDown || FAllowAllUp || !Parent()) return;
    vcl::TWinControl* parent = Parent();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TbsSkinSpeedButton*>(parent->Controls(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown)
            other->SetDown(false);
    }
}

void TbsSkinSpeedButton::SetFlat(bool value) {
    FFlat = value;
    SetTransparent(value);
    Repaint();
}

bool TbsSkinSpeedButton::Transparent() const {
    return !ControlStyle().Contains(vcl::csOpaque);
}

void TbsSkinSpeedButton::SetTransparent(bool value) {
    vcl::TControlStyle style = ControlStyle();
    if (value)
        style -= vcl::csOpaque;
    else
        style += vcl::csOpaque;
    SetControlStyle(style);
    Repaint();
}

void TbsSkinSpeedButton::SetImageList(vcl::TCustomImageList* value) {
    FButtonImages = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinSpeedButton::SetImageIndex(int value) {
    FImageIndex = value;
    vcl::TCustomImageList *images, *hotImages, *disabledImages;
    if (HostImages(images, hotImages, disabledImages)) Repaint();
}

void TbsSkinSpeedButton::SetGlyph(const gfx::TBitmap& value) {
    FGlyph->Assign(value);
    Repaint();
}

void TbsSkinSpeedButton::SetNumGlyphs(int value) {
    // A strip always has one frame at least: the glyph's width is divided by it.
    FNumGlyphs = std::clamp(value, 1, 4);
    Repaint();
}

void TbsSkinSpeedButton::SetMargin(int value) {
    if (value == FMargin || value < -1) return;
    FMargin = value;
    Repaint();
}

void TbsSkinSpeedButton::SetSpacing(int value) {
    if (value == FSpacing) return;
    FSpacing = value;
    Repaint();
}

void TbsSkinSpeedButton::SetLayout(TbsButtonLayout value) {
    if (value == FLayout) return;
    FLayout = value;
    Repaint();
}

void TbsSkinSpeedButton::SetShowCaption(bool value) {
    if (value == FShowCaption) return;
    FShowCaption = value;
    if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
        SetWidth(value ? FWidthWithCaption : FWidthWithoutCaption);
    else
        Repaint();
}

void TbsSkinSpeedButton::SetSkinImagesMenu(TbsSkinDropImagesMenu* value) {
    if (FSkinImagesMenu && FSkinImagesMenu != value) {
        FSkinImagesMenu->OnInternalChange = nullptr;
        FSkinImagesMenu->OnInternalMenuClose = nullptr;
    }
    FSkinImagesMenu = value;
    if (value) value->MenuComponent()->FreeNotification(this);
}

void TbsSkinSpeedButton::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsGraphicSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (FSkinImagesMenu && AComponent == FSkinImagesMenu->MenuComponent())
        FSkinImagesMenu = nullptr;
    if (AComponent == FButtonImages) FButtonImages = nullptr;
}

// ---- messages and mouse ----------------------------------------------------------------------

void TbsSkinSpeedButton::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case vcl::CM_DIALOGCHAR:
            if (vcl::IsAccel(int(m.WParam), Caption()) && Enabled() && Visible() && Parent() &&
                Parent()->Showing()) {
                m.Result = 1;
                ButtonClick();
                return;
            }
            TbsGraphicSkinCustomControl::Dispatch(m);
            return;
        case vcl::CM_TEXTCHANGED:
            TbsGraphicSkinCustomControl::Dispatch(m);
            Repaint();
            return;
        case vcl::CM_ENABLEDCHANGED:
            TbsGraphicSkinCustomControl::Dispatch(m);
            if (MorphOn()) {
                FTimers.StopMorph();
                FTimers.SetMorphSteps(0);
            }
            FMouseIn = false;
            Repaint();
            return;
        case vcl::CM_MOUSEENTER:
            TbsGraphicSkinCustomControl::Dispatch(m);
            MouseEntered();
            return;
        case vcl::CM_MOUSELEAVE:
            TbsGraphicSkinCustomControl::Dispatch(m);
            MouseLeft();
            return;
        default:
            TbsGraphicSkinCustomControl::Dispatch(m);
    }
}

bool TbsSkinSpeedButton::CanAnimate() const {
    return FIndex != -1 && EffectsOn() && !AnimateSkinRect.IsEmpty();
}

void TbsSkinSpeedButton::StartAnimate(bool forward) {
    FTimers.StartAnimation(forward, FrameCount, AnimateInterval);
}

void TbsSkinSpeedButton::MouseEntered() {
    if (!Enabled()) return;
    FMouseIn = true;
    if (FGroupIndex == 0 || !FDown) {
        if (FDown) {
            if (MorphOn()) FTimers.SetMorphSteps(TbsButtonTimers::kMorphSteps);
            Repaint();
        } else {
            if (CanAnimate() && !FFlat) StartAnimate(true);
            if (MorphOn() && FIndex != -1 && !Transparent())
                FTimers.StartMorph();
            else
                Repaint();
        }
    }
    if (FDown && FGroupIndex == 0 && FRepeatMode) FTimers.StartRepeat();
}

void TbsSkinSpeedButton::MouseLeft() {
    if (!Enabled()) return;
    FMouseIn = false;
    if (FGroupIndex == 0 || !FDown) {
        if (CanAnimate() && !FFlat) StartAnimate(false);
        if (MorphOn() && FIndex != -1 && !Transparent())
            FTimers.StartMorph();
        else
            Repaint();
    }
    if (FDown && FGroupIndex == 0) FTimers.StopRepeat();
}

void TbsSkinSpeedButton::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != vcl::mbLeft) return;
    if (CanAnimate()) FTimers.StopAnimation();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        FAllowAllUpCheck = false;
        SetDown(true);
        if (FGroupIndex == 0) {
            if (FRepeatMode) FTimers.StartRepeat();
        } else {
            ButtonClick();
        }
    } else if (FGroupIndex != 0) {
        FAllowAllUpCheck = true;
    }
}

void TbsSkinSpeedButton::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != vcl::mbLeft) return;
    FMouseDown = false;
    if (FGroupIndex == 0) {
        if (FMouseIn) {
            const bool wasDown = FDown;
            SetDown(false);
            FTimers.StopRepeat();
            if (wasDown) ButtonClick();
        } else {
            FDown = false;
            FTimers.StopRepeat();
        }
    } else if (FDown && FAllowAllUp && FAllowAllUpCheck && FMouseIn) {
        SetDown(false);
        ButtonClick();
    }
}

// ---- skin ---------------------------------------------------------------------------------------

void TbsSkinSpeedButton::GetSkinData() {
    TbsGraphicSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    if (auto* r = dynamic_cast<TbsDataSkinButtonControl*>(
            SkinData()->CtrlList[std::size_t(FIndex)].get())) {
        FontName = r->FontName;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
        FontColor = r->FontColor;
        ActiveFontColor = r->ActiveFontColor;
        DownFontColor = r->DownFontColor;
        DisabledFontColor = r->DisabledFontColor;
        ActiveSkinRect = r->ActiveSkinRect;
        DownSkinRect = r->DownSkinRect;
        DisabledSkinRect = r->DisabledSkinRect;
        Morphing = r->Morphing;
        MorphKind = r->MorphKind;
        AnimateSkinRect = r->AnimateSkinRect;
        FrameCount = r->FrameCount;
        AnimateInterval = r->AnimateInterval;
        MenuMarkerRect = r->MenuMarkerRect;
        MenuMarkerActiveRect = r->MenuMarkerActiveRect;
        MenuMarkerDownRect = r->MenuMarkerDownRect;
        MenuMarkerFlatRect = r->MenuMarkerFlatRect;
        MenuMarkerTransparentColor = r->MenuMarkerTransparentColor;
        if (ActiveSkinRect.IsEmpty()) ActiveSkinRect = r->SkinRect;
        if (DownSkinRect.IsEmpty()) DownSkinRect = ActiveSkinRect;
        if (MenuMarkerActiveRect.IsEmpty()) MenuMarkerActiveRect = MenuMarkerRect;
        if (MenuMarkerDownRect.IsEmpty()) MenuMarkerDownRect = MenuMarkerActiveRect;
        if (MenuMarkerFlatRect.IsEmpty()) MenuMarkerFlatRect = MenuMarkerRect;
        if (DisabledFontColor == FontColor) DisabledFontColor = kDisabledText;
    }
    if (Transparent()) Morphing = false;
    // While the strip plays, its current frame stands in for the picture being left or reached.
    const int frame = FTimers.CurrentFrame();
    if (EffectsOn() && FTimers.Animating() && frame >= 1 && frame <= FrameCount) {
        const gfx::TRect r = AnimationFrameRect(AnimateSkinRect, FrameCount, frame, SkinRect);
        if (FTimers.AnimationForward())
            ActiveSkinRect = r;
        else
            SkinRect = r;
    }
}

void TbsSkinSpeedButton::ChangeSkinData() {
    FTimers.StopAnimation();
    FTimers.StopMorph();
    TbsGraphicSkinCustomControl::ChangeSkinData();
    if (MorphOn() && FIndex != -1 && FMouseIn && !Transparent())
        FTimers.SetMorphSteps(TbsButtonTimers::kMorphSteps);
}

void TbsSkinSpeedButton::FitSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize || ResizeMode == 1) {
        TbsGraphicSkinCustomControl::FitSkinSize(AWidth, AHeight);
        return;
    }
    NewClRect = {ClRect.Left, ClRect.Top, AWidth + ClRect.Right - SkinRect.Width(),
                 AHeight + ClRect.Bottom - SkinRect.Height()};
}

// ---- painting -----------------------------------------------------------------------------------

void TbsSkinSpeedButton::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    const bool pressed = Pressed();
    if (FIndex == -1) {
        if (!pressed && !FMouseIn && Transparent()) {
            DrawTransparentContent(ClientRect());
            return;
        }
        gfx::TBitmap b;
        b.SetSize(Width(), Height());
        CreateControlDefaultImage(b);
        Canvas().Draw(0, 0, b);
        return;
    }
    const bool morph = MorphOn();
    if (morph && FTimers.Fading() && !Transparent()) {
        MorphPaint();
        return;
    }
    gfx::TBitmap b;
    b.SetSize(Width(), Height());
    if (pressed) {
        CreateButtonImage(b, DownSkinRect, true, true);
    } else if (FMouseIn || (morph && FTimers.MorphSteps() == TbsButtonTimers::kMorphSteps)) {
        CreateButtonImage(b, ActiveSkinRect, false, true);
    } else if (Transparent()) {
        DrawTransparentContent(NewClRect);
        return;
    } else {
        const bool disabled = !Enabled() && !DisabledSkinRect.IsEmpty();
        CreateButtonImage(b, disabled ? DisabledSkinRect : SkinRect, false, false);
    }
    Canvas().Draw(0, 0, b);
}

void TbsSkinSpeedButton::MorphPaint() {
    gfx::TBitmap normal, hot;
    normal.SetSize(Width(), Height());
    hot.SetSize(Width(), Height());
    CreateButtonImage(normal, SkinRect, false, false);
    CreateButtonImage(hot, ActiveSkinRect, false, true);
    DrawMorphed(Canvas().Handle(), normal, hot, MorphKind, MorphKf());
}

void TbsSkinSpeedButton::CreateControlSkinImage(gfx::TBitmap&) {}

void TbsSkinSpeedButton::DrawDefaultFace(gfx::TCanvas& c, const gfx::TRect& r, bool pressed,
                                         bool hot, bool flat) {
    c.Brush().SetStyle(gfx::bsSolid);
    if (pressed || hot) {
        c.Pen().SetColor(gfx::clNavy);
        c.Brush().SetColor(pressed ? kNoSkin.DownFill : kNoSkin.HotFill);
        c.Rectangle(r);
    } else if (!flat) {
        c.Pen().SetColor(gfx::clBtnShadow);
        c.Brush().SetColor(gfx::clBtnFace);
        c.Rectangle(r);
    } else {
        c.Brush().SetColor(gfx::clBtnFace);
        c.FillRect(r);
    }
}

gfx::TFontCharset TbsSkinSpeedButton::TextCharset() {
    const TbsSkinData* sd = SkinData();
    return sd && sd->ResourceStrData() ? sd->ResourceStrData()->CharSet() : DefaultFont().Charset();
}

void TbsSkinSpeedButton::SetDefaultLookFont(gfx::TCanvas& c) {
    c.Font().Assign(DefaultFont());
    c.Font().SetCharset(TextCharset());
    if (!Enabled()) c.Font().SetColor(gfx::clBtnShadow);
}

void TbsSkinSpeedButton::CreateControlDefaultImage(gfx::TBitmap& B) {
    gfx::TCanvas& c = B.Canvas();
    const gfx::TRect r = ClientRect();
    const bool pressed = Pressed();
    // A flat button at rest shows the parent, unless it is opaque.
    if (pressed || FMouseIn || !FFlat || !Transparent())
        DrawDefaultFace(c, r, pressed, FMouseIn, FFlat);
    SetDefaultLookFont(c);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, r, pressed, FMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, r, FDown && FMouseIn, pressed, FMouseIn);
}

void TbsSkinSpeedButton::SetButtonFont(gfx::TCanvas& c) {
    if (UseSkinFont() && FIndex != -1) {
        c.Font().SetName(FontName);
        c.Font().SetStyle(FontStyle);
        c.Font().SetHeight(FontHeight);
    } else {
        c.Font().Assign(DefaultFont());
    }
    c.Font().SetCharset(TextCharset());
}

gfx::TColor TbsSkinSpeedButton::StateFontColor(bool ADown, bool AMouseIn) {
    if (Enabled() && !FUseSkinFontColor) return DefaultFont().Color();
    if (!Enabled()) return DisabledFontColor;
    if (ADown && AMouseIn) return DownFontColor;
    if (AMouseIn) return ActiveFontColor;
    return FontColor;
}

void TbsSkinSpeedButton::CreateButtonImage(gfx::TBitmap& B, const gfx::TRect& R, bool ADown,
                                           bool AMouseIn) {
    if (Picture && (FUseSkinSize || ResizeMode == 1)) {
        DrawSkinRect(B, Picture, R);
    } else if (Picture) {
        switch (ResizeMode) {
            case 0:
                B.Canvas().CopyRect({0, 0, B.Width(), B.Height()}, Picture->Canvas(), R);
                break;
            case 2:
            case 3:
                BuildNineSliceFromRect(B, *Picture, R, ClRect, true);
                break;
            default:
                break;
        }
    }
    gfx::TCanvas& c = B.Canvas();
    SetButtonFont(c);
    c.Font().SetColor(StateFontColor(ADown, AMouseIn));
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, NewClRect, ADown, AMouseIn, drawDefault);
    if (!drawDefault) return;
    const bool offset = ADown && AMouseIn;
    DrawContent(c, NewClRect, offset, offset, AMouseIn);
}

void TbsSkinSpeedButton::SetTransparentFont(gfx::TCanvas& c) {
    if (FIndex == -1) {
        SetDefaultLookFont(c);
        return;
    }
    SetButtonFont(c);
    const TbsSkinColors* colors = SkinData()->SkinColors();
    c.Font().SetColor(!Enabled()          ? colors->cBtnShadow
                      : FUseSkinFontColor ? colors->cBtnText
                                          : DefaultFont().Color());
}

void TbsSkinSpeedButton::DrawTransparentContent(const gfx::TRect& rect) {
    gfx::TCanvas& c = Canvas();
    SetTransparentFont(c);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, rect, false, FMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, rect, false, false, false);
}

void TbsSkinSpeedButton::DrawContent(gfx::TCanvas& c, const gfx::TRect& rect, bool offset,
                                     bool pressedGlyph, bool hot, bool greyDisabledImages) {
    std::string caption = ShownCaption();
    if (FSkinImagesMenu && FUseImagesMenuImage) {
        if (const auto item = FSkinImagesMenu->SelectedItem()) {
            if (FUseImagesMenuCaption) caption = item->Caption;
            PaintGlyphTextFromList(c, rect, FMargin, FSpacing, FLayout, caption, item->ImageIndex,
                                   FSkinImagesMenu->Images(), offset, Enabled(), FDrawColorMarker,
                                   FColorMarkerValue);
            return;
        }
    }
    const bool noGlyph = FGlyph->Empty();
    vcl::TCustomImageList *images, *hotImages, *disabledImages;
    if (noGlyph && HostImages(images, hotImages, disabledImages)) {
        if ((offset || hot) && hotImages && hotImages->Count() > 0) images = hotImages;
        bool enabled = Enabled();
        if (!enabled && disabledImages && disabledImages->Count() > 0) {
            images = disabledImages;
            enabled = !greyDisabledImages;
        }
        PaintGlyphTextFromList(c, rect, FMargin, FSpacing, FLayout, caption, FImageIndex, images,
                               offset, enabled, FDrawColorMarker, FColorMarkerValue);
        return;
    }
    if (noGlyph && FButtonImages && FImageIndex >= 0 && FImageIndex < FButtonImages->Count()) {
        PaintGlyphTextFromList(c, rect, FMargin, FSpacing, FLayout, caption, FImageIndex,
                               FButtonImages, offset, Enabled(), FDrawColorMarker,
                               FColorMarkerValue);
        return;
    }
    const int frame = pressedGlyph && hot && FNumGlyphs > 2 ? 3
                      : hot && FNumGlyphs > 3               ? 4
                      : !Enabled() && FNumGlyphs > 1        ? 2
                                                            : 1;
    PaintGlyphTextFromBitmap(c, rect, FMargin, FSpacing, FLayout, caption, *FGlyph, FNumGlyphs,
                             frame, pressedGlyph, FDrawColorMarker, FColorMarkerValue);
}

}  // namespace skin
