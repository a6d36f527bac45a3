#include "skin/controls/speed_button.h"

#include <algorithm>

#include "platform/vcl/menus.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"

namespace skin {

namespace {

constexpr gfx::TColor kHotFill = 0x00D2BDB6;
constexpr gfx::TColor kDownFill = 0x00B59385;
constexpr gfx::TColor kDisabledText = 0x00808080;

void MorphByKind(TbsEffectBmp& self, const TbsEffectBmp& other, TbsMorphKind kind, double kf) {
    switch (kind) {
        case mkDefault:
            self.Morph(other, kf);
            break;
        case mkGradient:
            self.MorphGrad(other, kf);
            break;
        case mkLeftGradient:
            self.MorphLeftGrad(other, kf);
            break;
        case mkRightGradient:
            self.MorphRightGrad(other, kf);
            break;
        case mkLeftSlide:
            self.MorphLeftSlide(other, kf);
            break;
        case mkRightSlide:
            self.MorphRightSlide(other, kf);
            break;
        case mkPush:
            self.MorphPush(other, kf);
            break;
    }
}

}  // namespace

TbsSkinSpeedButton::TbsSkinSpeedButton(vcl::TComponent* AOwner)
    : TbsGraphicSkinCustomControl(AOwner), FGlyph(std::make_unique<gfx::TBitmap>()) {
    SetControlStyle({vcl::csCaptureMouse, vcl::csOpaque, vcl::csDoubleClicks});
    SetSkinDataName("toolbutton");
    SetBounds(Left(), Top(), 25, 25);
}

TbsSkinSpeedButton::~TbsSkinSpeedButton() = default;

void TbsSkinSpeedButton::BeforeDestruction() {
    StopRepeat();
    StopAnimate();
    StopMorph();
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
    if (MorphOn()) FMorphSteps = 0;
    if (EffectsOn()) StopAnimate();
    Repaint();
}

void TbsSkinSpeedButton::ButtonClick() {
    if (OnClick) OnClick(this);
}

// ---- properties -------------------------------------------------------------------------------

void TbsSkinSpeedButton::SetDown(bool value) {
    FDown = value;
    if (MorphOn()) {
        FMorphSteps = kMorphSteps;
        if (value)
            StopMorph();
        else
            StartMorph();
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
                StopMorph();
                FMorphSteps = 0;
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

void TbsSkinSpeedButton::MouseEntered() {
    if (!Enabled()) return;
    FMouseIn = true;
    if (FGroupIndex == 0 || !FDown) {
        if (FDown) {
            if (MorphOn()) FMorphSteps = kMorphSteps;
            Repaint();
        } else {
            if (FIndex != -1 && EffectsOn() && !AnimateSkinRect.IsEmpty() && !FFlat)
                StartAnimate(true);
            if (MorphOn() && FIndex != -1 && !Transparent())
                StartMorph();
            else
                Repaint();
        }
    }
    if (FDown && FGroupIndex == 0 && FRepeatMode) StartRepeat();
}

void TbsSkinSpeedButton::MouseLeft() {
    if (!Enabled()) return;
    FMouseIn = false;
    if (FGroupIndex == 0 || !FDown) {
        if (FIndex != -1 && EffectsOn() && !AnimateSkinRect.IsEmpty() && !FFlat)
            StartAnimate(false);
        if (MorphOn() && FIndex != -1 && !Transparent())
            StartMorph();
        else
            Repaint();
    }
    if (FDown && FGroupIndex == 0) StopRepeat();
}

void TbsSkinSpeedButton::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X,
                                   int Y) {
    TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != vcl::mbLeft) return;
    if (FIndex != -1 && EffectsOn() && !AnimateSkinRect.IsEmpty()) StopAnimate();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        FAllowAllUpCheck = false;
        SetDown(true);
        if (FGroupIndex == 0) {
            if (FRepeatMode) StartRepeat();
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
            StopRepeat();
            if (wasDown) ButtonClick();
        } else {
            FDown = false;
            StopRepeat();
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
    if (auto* r = dynamic_cast<TbsDataSkinButtonControl*>(SkinData()->CtrlList[std::size_t(FIndex)].get())) {
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
    if (EffectsOn() && AnimateTimer && AnimateTimer->Enabled() && FCurrentFrame >= 1 &&
        FCurrentFrame <= FrameCount) {
        if (AnimateInc)
            ActiveSkinRect = AnimationFrame(FCurrentFrame);
        else
            SkinRect = AnimationFrame(FCurrentFrame);
    }
}

gfx::TRect TbsSkinSpeedButton::AnimationFrame(int k) const {
    const gfx::TRect& a = AnimateSkinRect;
    if (a.Width() > SkinRect.Width()) {
        const int w = a.Width() / FrameCount;
        return {a.Left + w * (k - 1), a.Top, a.Left + w * k, a.Bottom};
    }
    const int h = a.Height() / FrameCount;
    return {a.Left, a.Top + h * (k - 1), a.Right, a.Top + h * k};
}

void TbsSkinSpeedButton::ChangeSkinData() {
    StopAnimate();
    StopMorph();
    TbsGraphicSkinCustomControl::ChangeSkinData();
    if (MorphOn() && FIndex != -1 && FMouseIn && !Transparent()) FMorphSteps = kMorphSteps;
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
    if (morph && FMorphSteps > 0 && FMorphSteps < kMorphSteps && !Transparent()) {
        MorphPaint();
        return;
    }
    gfx::TBitmap b;
    b.SetSize(Width(), Height());
    if (pressed) {
        CreateButtonImage(b, DownSkinRect, true, true);
    } else if (FMouseIn || (morph && FMorphSteps == kMorphSteps)) {
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
    TbsEffectBmp from = TbsEffectBmp::CreateFromhWnd(normal.Handle());
    const TbsEffectBmp to = TbsEffectBmp::CreateFromhWnd(hot.Handle());
    MorphByKind(from, to, MorphKind, MorphKf());
    from.Draw(Canvas().Handle(), 0, 0);
}

void TbsSkinSpeedButton::CreateControlSkinImage(gfx::TBitmap&) {}

void TbsSkinSpeedButton::DrawDefaultFace(gfx::TCanvas& c, const gfx::TRect& r,
                                         TDefaultLook look) const {
    switch (look) {
        case TDefaultLook::Pressed:
        case TDefaultLook::Hot:
            c.Pen().SetColor(gfx::clNavy);
            c.Brush().SetStyle(gfx::bsSolid);
            c.Brush().SetColor(look == TDefaultLook::Pressed ? kDownFill : kHotFill);
            c.Rectangle(r);
            break;
        case TDefaultLook::Normal:
            c.Pen().SetColor(gfx::clBtnShadow);
            c.Brush().SetStyle(gfx::bsSolid);
            c.Brush().SetColor(gfx::clBtnFace);
            c.Rectangle(r);
            break;
        case TDefaultLook::Flat:
            if (Transparent()) break;
            c.Brush().SetStyle(gfx::bsSolid);
            c.Brush().SetColor(gfx::clBtnFace);
            c.FillRect(r);
            break;
    }
}

void TbsSkinSpeedButton::CreateControlDefaultImage(gfx::TBitmap& B) {
    gfx::TCanvas& c = B.Canvas();
    const gfx::TRect r = ClientRect();
    const bool pressed = Pressed();
    DrawDefaultFace(c, r,
                    pressed    ? TDefaultLook::Pressed
                    : FMouseIn ? TDefaultLook::Hot
                    : !FFlat   ? TDefaultLook::Normal
                               : TDefaultLook::Flat);
    c.Font().Assign(DefaultFont());
    if (const TbsSkinData* sd = SkinData(); sd && sd->ResourceStrData())
        c.Font().SetCharset(sd->ResourceStrData()->CharSet());
    if (!Enabled()) c.Font().SetColor(gfx::clBtnShadow);
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
    const TbsSkinData* sd = SkinData();
    c.Font().SetCharset(sd && sd->ResourceStrData() ? sd->ResourceStrData()->CharSet()
                                                    : DefaultFont().Charset());
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
        c.Font().Assign(DefaultFont());
        if (!Enabled()) c.Font().SetColor(gfx::clBtnShadow);
    } else {
        SetButtonFont(c);
        const TbsSkinColors* colors = SkinData()->SkinColors();
        c.Font().SetColor(!Enabled()         ? colors->cBtnShadow
                          : FUseSkinFontColor ? colors->cBtnText
                                              : DefaultFont().Color());
    }
    const TbsSkinData* sd = SkinData();
    c.Font().SetCharset(sd && sd->ResourceStrData() ? sd->ResourceStrData()->CharSet()
                                                    : DefaultFont().Charset());
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
                                   FSkinImagesMenu->Images(), offset, Enabled(),
                                   FDrawColorMarker, FColorMarkerValue);
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

// ---- timers -------------------------------------------------------------------------------------

void TbsSkinSpeedButton::StartMorph() {
    if (!MorphTimer) {
        MorphTimer = new vcl::TTimer(this);
        MorphTimer->SetEnabled(false);
        MorphTimer->SetInterval(kMorphInterval);
        MorphTimer->SetOnTimer([this](vcl::TObject*) { MorphTick(); });
    }
    MorphTimer->SetEnabled(true);
}

void TbsSkinSpeedButton::StopMorph() {
    if (MorphTimer) MorphTimer->SetEnabled(false);
}

void TbsSkinSpeedButton::MorphTick() {
    if (FIndex == -1 || !MorphOn()) {
        FMorphSteps = FMouseIn ? kMorphSteps : 0;
        StopMorph();
        return;
    }
    if (FMouseIn && FMorphSteps < kMorphSteps) {
        ++FMorphSteps;
        Repaint();
    } else if (!FMouseIn && FMorphSteps > 0) {
        --FMorphSteps;
        Repaint();
    } else {
        FMorphSteps = FMouseIn ? kMorphSteps : 0;
        StopMorph();
        Repaint();
    }
}

void TbsSkinSpeedButton::StartAnimate(bool forward) {
    StopAnimate();
    if (FrameCount <= 0) return;
    AnimateInc = forward;
    FCurrentFrame = forward ? 1 : FrameCount;
    if (!AnimateTimer) {
        AnimateTimer = new vcl::TTimer(this);
        AnimateTimer->SetEnabled(false);
        AnimateTimer->SetOnTimer([this](vcl::TObject*) { AnimateTick(); });
    }
    AnimateTimer->SetInterval(unsigned(std::max(1, AnimateInterval)));
    AnimateTimer->SetEnabled(true);
}

void TbsSkinSpeedButton::StopAnimate() {
    if (AnimateTimer) AnimateTimer->SetEnabled(false);
    FCurrentFrame = 0;
}

void TbsSkinSpeedButton::AnimateTick() {
    if (AnimateInc) {
        if (FCurrentFrame <= FrameCount) {
            ++FCurrentFrame;
            Repaint();
        }
        if (FCurrentFrame > FrameCount) StopAnimate();
    } else {
        if (FCurrentFrame >= 0) {
            --FCurrentFrame;
            Repaint();
        }
        if (FCurrentFrame <= 0) StopAnimate();
    }
}

void TbsSkinSpeedButton::StartRepeat() {
    if (!RepeatTimer) {
        RepeatTimer = new vcl::TTimer(this);
        RepeatTimer->SetEnabled(false);
        RepeatTimer->SetOnTimer([this](vcl::TObject*) { RepeatTick(); });
    }
    RepeatTimer->SetEnabled(false);
    FRepeatClicking = false;
    RepeatTimer->SetInterval(kRepeatDelay);
    RepeatTimer->SetEnabled(true);
}

void TbsSkinSpeedButton::StopRepeat() {
    if (RepeatTimer) RepeatTimer->SetEnabled(false);
}

void TbsSkinSpeedButton::RepeatTick() {
    if (!FRepeatClicking) {
        FRepeatClicking = true;
        RepeatTimer->SetInterval(unsigned(std::max(0, FRepeatInterval)));
        return;
    }
    ButtonClick();
}

}  // namespace skin
