#include "skin/form/frame_objects.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/text.h"
#include "platform/win/win.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/glow_text.h"
#include "skin/core/layered_windows.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_images.h"
#include "skin/core/system_routines.h"
#include "skin/form/quick_buttons.h"
#include "skin/menus/skin_hint.h"

namespace skin {

namespace {

gfx::TBitmap* PictureAt(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= int(sd->FActivePictures.size())) return nullptr;
    gfx::TBitmap* picture = sd->FActivePictures[index].get();
    return picture && picture->Width() > 0 ? picture : nullptr;
}

void ApplyInActiveEffect(TbsEffectBmp& bmp, TbsInActiveEffect effect) {
    switch (effect) {
        case ieBrightness:
            bmp.ChangeBrightness(0.5);
            break;
        case ieDarkness:
            bmp.ChangeDarkness(0.3);
            break;
        case ieGrayScale:
            bmp.GrayScale();
            break;
        case ieNoise:
            bmp.AddMonoNoise(50);
            break;
        case ieSplitBlur:
            bmp.SplitBlur(1);
            break;
        case ieInvert:
            bmp.Invert();
            break;
    }
}

// A bitmap of the given size holding rectangle r of the picture, stretched.
void LookBitmap(gfx::TBitmap& dest, gfx::TBitmap* picture, const gfx::TRect& r, int w, int h) {
    dest.SetPixelFormat(gfx::pf24bit);
    dest.SetSize(w, h);
    if (picture && !RectIsEmpty(r)) dest.Canvas().CopyRect({0, 0, w, h}, picture->Canvas(), r);
}

constexpr unsigned kCaptionTextFlags = gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX;

}  // namespace

// --- the base ---------------------------------------------------------------------------------

TbsActiveSkinObject::TbsActiveSkinObject(TbsFrameHost* AParent, TbsDataSkinObject* AData)
    : Parent(AParent) {
    SD = AParent->SkinData();
    if (!AData) return;
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    ObjectRect = SkinRect;
    if (SD) Picture = SD->FPicture.get();
    ActivePicture = PictureAt(SD, AData->ActivePictureIndex);
    ActiveMaskPicture = PictureAt(SD, AData->ActiveMaskPictureIndex);
    if (!ActivePicture) ActiveSkinRect = {};
    if (RectIsEmpty(ActiveSkinRect)) Morphing = false;
}

bool TbsActiveSkinObject::SkinLoaded() const {
    return SD && !SD->Empty;
}

bool TbsActiveSkinObject::EnableMorphing() const {
    return Morphing && SkinLoaded() && SD->EnableSkinEffects();
}

void TbsActiveSkinObject::SetMorphKf(double value) {
    FFade.SetKf(value);
}

bool TbsActiveSkinObject::CanMorphing() {
    return FFade.CanStep(Active);
}

void TbsActiveSkinObject::DoMorphing() {
    FFade.Step(Active);
    Parent->DrawSkinObject(this);
}

void TbsActiveSkinObject::Redraw() {
    if (EnableMorphing())
        Parent->StartMorphTimer();
    else
        Parent->DrawSkinObject(this);
}

bool TbsActiveSkinObject::FadeUnderWay() const {
    return FFade.CanStep(Active);
}

bool TbsActiveSkinObject::PointInObject(int X, int Y) {
    if (!SkinLoaded() || !ActiveMaskPicture) return true;
    const int w = ActiveMaskPicture->Width(), h = ActiveMaskPicture->Height();
    // The column and row just past the mask count as white, like every point outside it.
    if (X < 0 || Y < 0 || X >= w || Y >= h) return false;
    return (ActiveMaskPicture->Canvas().Pixel(X, Y) & 0xFFFFFF) == 0;
}

void TbsActiveSkinObject::CopyLook(gfx::TCanvas& Cnvs, gfx::TBitmap* picture, const gfx::TRect& r) {
    if (!picture || RectIsEmpty(r)) return;
    Cnvs.CopyRect(ObjectRect, picture->Canvas(), r);
}

void TbsActiveSkinObject::DrawFade(gfx::TCanvas& Cnvs, gfx::TBitmap* normalPicture,
                                   const gfx::TRect& normalRect, gfx::TBitmap* hotPicture,
                                   const gfx::TRect& hotRect) {
    const int w = RectWidthOf(ObjectRect), h = RectHeightOf(ObjectRect);
    if (w <= 0 || h <= 0) return;
    gfx::TBitmap normal, hot;
    LookBitmap(normal, normalPicture, normalRect, w, h);
    LookBitmap(hot, hotPicture, hotRect, w, h);
    TbsEffectBmp from = TbsEffectBmp::CreateFromhWnd(normal.Handle());
    TbsEffectBmp to = TbsEffectBmp::CreateFromhWnd(hot.Handle());
    MorphByKind(from, to, MorphKind, MorphKf());
    from.Draw(Cnvs.Handle(), ObjectRect.Left, ObjectRect.Top);
}

void TbsActiveSkinObject::Draw(gfx::TCanvas& Cnvs, bool UpDate) {
    if (!SkinLoaded()) return;
    if (Enabled && !Parent->GetFormActive() && !RectIsEmpty(InActiveSkinRect)) {
        CopyLook(Cnvs, ActivePicture, InActiveSkinRect);
    } else if (EnableMorphing() && FadeUnderWay()) {
        DrawFade(Cnvs, SkinRectInAPicture ? ActivePicture : Picture, SkinRect, ActivePicture,
                 ActiveSkinRect);
    } else if (Active && !RectIsEmpty(ActiveSkinRect)) {
        CopyLook(Cnvs, ActivePicture, ActiveSkinRect);
    } else if (UpDate || SkinRectInAPicture) {
        CopyLook(Cnvs, SkinRectInAPicture ? ActivePicture : Picture, SkinRect);
    }
}

gfx::TRect TbsActiveSkinObject::ScreenObjectRect() const {
    return Parent->FrameRectToScreen(ObjectRect);
}

void TbsActiveSkinObject::ShowLayerWith(bool menuLayer) {
    if (!SkinLoaded() || GlowLayerPictureIndex == -1 || !Parent->LayerEnabled() ||
        !SD->ShowCaptionButtonGlowFrames())
        return;
    gfx::TBitmap* image = PictureAt(SD, GlowLayerPictureIndex);
    gfx::TBitmap* mask = PictureAt(SD, GlowLayerMaskPictureIndex);
    if (!image || !mask) return;
    const gfx::TRect r = ScreenObjectRect();
    TbsLayerManager* manager = Parent->FrameLayer(menuLayer);
    manager->Show(r.Left - GlowLayerOffsetX, r.Top - GlowLayerOffsetY, *image, *mask,
                  GlowLayerAlphaBlendValue);
}

void TbsActiveSkinObject::HideLayerWith(bool menuLayer) {
    if (!SkinLoaded() || GlowLayerPictureIndex == -1 || !Parent->LayerEnabled() ||
        !SD->ShowCaptionButtonGlowFrames())
        return;
    Parent->FrameLayer(menuLayer)->Hide();
}

void TbsActiveSkinObject::ShowLayer() {
    ShowLayerWith(false);
}

void TbsActiveSkinObject::HideLayer() {
    HideLayerWith(false);
}

void TbsActiveSkinObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (!RectIsEmpty(ActiveSkinRect)) Redraw();
    Parent->ObjectEntered(IDName);
    ShowLayer();
}

void TbsActiveSkinObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (!RectIsEmpty(ActiveSkinRect)) Redraw();
    Parent->ObjectLeft(IDName);
    HideLayer();
}

void TbsActiveSkinObject::MouseDown(int X, int Y, vcl::TMouseButton Button) {
    Parent->ObjectPressed(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseUp(int X, int Y, vcl::TMouseButton Button) {
    if (FMouseIn) Parent->ObjectReleased(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseMove(int X, int Y) {
    Parent->ObjectMoved(IDName, X, Y, ObjectRect);
}

void TbsUserObject::Draw(gfx::TCanvas& Cnvs, bool) {
    Parent->ObjectPaint(IDName, Cnvs, ObjectRect);
}

// --- buttons ----------------------------------------------------------------------------------

TbsSkinButtonObject::TbsSkinButtonObject(TbsFrameHost* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    if (auto* data = dynamic_cast<TbsDataSkinButton*>(AData)) {
        DisableSkinRect = data->DisableSkinRect;
        DownRect = data->DownRect;
    }
}

void TbsSkinButtonObject::ButtonDraw(gfx::TCanvas& Cnvs, bool UpDate) {
    if (!SkinLoaded()) return;
    if (!Enabled && !RectIsEmpty(DisableSkinRect))
        CopyLook(Cnvs, ActivePicture, DisableSkinRect);
    else if (FDown && !RectIsEmpty(DownRect) && FMouseIn)
        CopyLook(Cnvs, ActivePicture, DownRect);
    else
        TbsActiveSkinObject::Draw(Cnvs, UpDate);
}

void TbsSkinButtonObject::Draw(gfx::TCanvas& Cnvs, bool UpDate) {
    ButtonDraw(Cnvs, UpDate);
}

bool TbsSkinButtonObject::CanMorphing() {
    if (MenuItem && FDown) return false;
    return TbsActiveSkinObject::CanMorphing();
}

void TbsSkinButtonObject::ShowLayer() {
    ShowLayerWith(MenuItem != nullptr);
}

void TbsSkinButtonObject::HideLayer() {
    HideLayerWith(MenuItem != nullptr);
}

void TbsSkinButtonObject::SetDown(bool value) {
    FDown = value;
    // No fade into the pressed look.
    if (EnableMorphing() && Active) SetMorphKf(1);
    Parent->DrawSkinObject(this);
    if (EnableMorphing() && !FDown) Redraw();
}

bool TbsSkinButtonObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0) return false;
    Parent->HideFrameLayers();
    if (FMouseIn) ShowLayer();
    return Parent->TrackObjectMenu(MenuItem, ScreenObjectRect(), FPopupUp, true);
}

void TbsSkinButtonObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (RectIsEmpty(DownRect) || !FDown) {
        if (!RectIsEmpty(ActiveSkinRect)) Redraw();
        if (MenuItem) ShowLayer();
    } else {
        if (EnableMorphing()) SetMorphKf(1);
        Parent->DrawSkinObject(this);
    }
    Parent->ObjectEntered(IDName);
    if (!MenuItem) ShowLayer();
}

void TbsSkinButtonObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (!MenuItem || !FDown) {
        if (MenuItem) HideLayer();
        Parent->DrawSkinObject(this);
        Redraw();
    }
    Parent->ObjectLeft(IDName);
    if (!MenuItem) HideLayer();
}

void TbsSkinButtonObject::MouseDown(int X, int Y, vcl::TMouseButton Button) {
    if (!Enabled) return;
    if (Button == vcl::mbLeft && !FDown) {
        SetDown(true);
        TrackMenu();
    }
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(int X, int Y, vcl::TMouseButton Button) {
    if (!Enabled) return;
    if (Button == vcl::mbLeft && !MenuItem && FDown) SetDown(false);
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

// --- standard caption buttons -----------------------------------------------------------------

namespace {

bool InRestoreState(const TbsFrameHost& form, TbsStdCommand command) {
    return (command == cmMaximize && form.WindowState() == vcl::wsMaximized) ||
           (command == cmMinimize && form.WindowState() == vcl::wsMinimized) ||
           (command == cmRollUp && form.RollUpState());
}

void CopyCommandLooks(TbsCommandLooks& looks, TbsStdCommand command, const gfx::TRect& restore,
                      const gfx::TRect& restoreActive, const gfx::TRect& restoreInActive,
                      const gfx::TRect& restoreDown, const std::string& restoreHint,
                      const std::string& hint) {
    looks.Command = command;
    looks.RestoreRect = restore;
    looks.RestoreActiveRect = restoreActive;
    looks.RestoreInActiveRect = restoreInActive;
    looks.RestoreDownRect = restoreDown;
    looks.RestoreHint = restoreHint;
    looks.FTempHint = hint;
}

}  // namespace

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsFrameHost* AParent, TbsDataSkinObject* AData)
    : TbsSkinButtonObject(AParent, AData) {
    FSkinSupport = AData != nullptr;
    if (auto* data = dynamic_cast<TbsDataSkinStdButton*>(AData))
        CopyCommandLooks(*this, data->Command, data->RestoreRect, data->RestoreActiveRect,
                         data->RestoreInActiveRect, data->RestoreDownRect, data->RestoreHint,
                         data->Hint);
}

bool TbsSkinStdButtonObject::IconMode() const {
    return Command == cmSysMenu && Parent->ShowIcon() && FSkinSupport && SkinRectInAPicture;
}

bool TbsSkinStdButtonObject::RestoreState() const {
    return InRestoreState(*Parent, Command);
}

bool TbsSkinStdButtonObject::PointInObject(int X, int Y) {
    return IconMode() || TbsSkinButtonObject::PointInObject(X, Y);
}

void TbsSkinStdButtonObject::ShowLayer() {
    if (!IconMode()) TbsSkinButtonObject::ShowLayer();
}

void TbsSkinStdButtonObject::HideLayer() {
    if (!IconMode()) TbsSkinButtonObject::HideLayer();
}

bool TbsSkinStdButtonObject::CanMorphing() {
    return !IconMode() && TbsSkinButtonObject::CanMorphing();
}

void TbsSkinStdButtonObject::Draw(gfx::TCanvas& Cnvs, bool UpDate) {
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (!SkinLoaded()) return;
    if (IconMode()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        FFade.Settle(false);
        return;
    }
    const bool restore = RestoreState();
    if (!Enabled || (!Parent->GetFormActive() && !RectIsEmpty(InActiveSkinRect) && !restore) ||
        RectIsEmpty(RestoreRect) || !restore) {
        ButtonDraw(Cnvs, UpDate);
        return;
    }
    if (!Parent->FrameActivated() && !RectIsEmpty(RestoreInActiveRect))
        CopyLook(Cnvs, ActivePicture, RestoreInActiveRect);
    else if (FDown && !RectIsEmpty(RestoreDownRect) && FMouseIn)
        CopyLook(Cnvs, ActivePicture, RestoreDownRect);
    else if (EnableMorphing() && FadeUnderWay())
        DrawFade(Cnvs, ActivePicture, RestoreRect, ActivePicture, RestoreActiveRect);
    else if (Active && !RectIsEmpty(RestoreActiveRect))
        CopyLook(Cnvs, ActivePicture, RestoreActiveRect);
    else
        CopyLook(Cnvs, ActivePicture, RestoreRect);
}

void TbsSkinStdButtonObject::DefaultDraw(gfx::TCanvas& Cnvs) {
    if (IconMode()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    const int w = RectWidthOf(ObjectRect), h = RectHeightOf(ObjectRect);
    if (w <= 0 || h <= 0) return;
    gfx::TBitmap bmp;
    bmp.SetPixelFormat(gfx::pf24bit);
    bmp.SetSize(w, h);
    gfx::TCanvas& c = bmp.Canvas();
    const bool pressed = FDown && FMouseIn;
    const gfx::TRect r{0, 0, w, h};
    if (pressed || Active) {
        c.Brush().SetColor(gfx::clNavy);
        c.FrameRect(r);
        c.Brush().SetColor(pressed ? kNoSkin.DownFill : kNoSkin.HotFill);
        c.FillRect({1, 1, w - 1, h - 1});
    } else {
        c.Brush().SetColor(gfx::clBtnFace);
        c.FillRect(r);
    }
    const gfx::TColor glyph = Enabled ? gfx::clBtnText : gfx::clBtnShadow;
    const int x = w / 2 - 5 + (pressed ? 1 : 0), y = h / 2 - 4 + (pressed ? 1 : 0);
    switch (Command) {
        case cmClose:
            DrawCloseGlyph(c, x, y, glyph);
            break;
        case cmMaximize:
            if (Parent->WindowState() == vcl::wsMaximized)
                DrawRestoreGlyph(c, x, y, glyph);
            else
                DrawMaximizeGlyph(c, x, y, glyph);
            break;
        case cmMinimize:
            if (Parent->WindowState() == vcl::wsMinimized)
                DrawRestoreGlyph(c, x, y, glyph);
            else
                DrawMinimizeGlyph(c, x, y, glyph);
            break;
        case cmSysMenu:
            DrawSysMenuGlyph(c, x, y, glyph);
            break;
        case cmRollUp:
            if (Parent->RollUpState())
                DrawRollDownGlyph(c, x, y, glyph);
            else
                DrawRollUpGlyph(c, x, y, glyph);
            break;
        case cmMinimizeToTray:
            DrawTrayGlyph(c, x, y, glyph);
            break;
        case cmDefault:
            break;
    }
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, bmp);
}

void TbsSkinStdButtonObject::MouseEnter() {
    if (Command != cmDefault)
        Hint = !RestoreHint.empty() && RestoreState() ? RestoreHint : FTempHint;
    TbsSkinButtonObject::MouseEnter();
}

void TbsSkinStdButtonObject::MouseDown(int, int, vcl::TMouseButton Button) {
    if (!Enabled || Button != vcl::mbLeft || FDown) return;
    SetDown(true);
    if (Command == cmSysMenu) {
        MenuItem = Parent->GetSysMenuItems();
        // A system menu that cannot open leaves the button free to come up again.
        if (!TrackMenu()) MenuItem = nullptr;
    }
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, vcl::TMouseButton Button) {
    const bool run = Active && Button == vcl::mbLeft;
    if (Command == cmClose) {
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        if (run) ExecuteCommand();
        return;
    }
    if (run) ExecuteCommand();
    TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick() {
    if (Command == cmSysMenu) Parent->HostForm()->Close();
}

void TbsSkinStdButtonObject::ExecuteCommand() {
    Parent->RunFrameCommand(Command);
}

// --- animations -------------------------------------------------------------------------------

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsFrameHost* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    if (auto* data = dynamic_cast<TbsDataSkinAnimate*>(AData)) {
        CountFrames = data->CountFrames;
        Cycle = data->Cycle;
        ButtonStyle = data->ButtonStyle;
        TimerInterval = std::max(data->TimerInterval, 25);
        DownSkinRect = data->DownSkinRect;
        CopyCommandLooks(*this, data->Command, data->RestoreRect, data->RestoreActiveRect,
                         data->RestoreInActiveRect, data->RestoreDownRect, data->RestoreHint,
                         data->Hint);
    }
}

bool TbsSkinAnimateObject::RestoreState() const {
    return InRestoreState(*Parent, Command);
}

gfx::TRect TbsSkinAnimateObject::LookSkinRect() const {
    return RestoreState() ? RestoreRect : SkinRect;
}
gfx::TRect TbsSkinAnimateObject::LookActiveRect() const {
    return RestoreState() ? RestoreActiveRect : ActiveSkinRect;
}
gfx::TRect TbsSkinAnimateObject::LookDownRect() const {
    return RestoreState() ? RestoreDownRect : DownSkinRect;
}
gfx::TRect TbsSkinAnimateObject::LookInActiveRect() const {
    return RestoreState() ? RestoreInActiveRect : InActiveSkinRect;
}

gfx::TRect TbsSkinAnimateObject::FrameRect(int frame) const {
    const gfx::TRect look = LookSkinRect(), strip = LookActiveRect();
    const int w = RectWidthOf(look), h = RectHeightOf(look);
    const int left = strip.Left + (frame - 1) * w;
    return {left, strip.Top, left + w, strip.Top + h};
}

void TbsSkinAnimateObject::ShowLayer() {
    ShowLayerWith(MenuItem != nullptr);
}

void TbsSkinAnimateObject::HideLayer() {
    HideLayerWith(MenuItem != nullptr);
}

void TbsSkinAnimateObject::Draw(gfx::TCanvas& Cnvs, bool) {
    if (!SkinLoaded()) return;
    const gfx::TRect down = LookDownRect(), inactive = LookInActiveRect();
    if (FMenuTracking) {
        if (!RectIsEmpty(down)) {
            CopyLook(Cnvs, ActivePicture, down);
        } else {
            FFrame = CountFrames;
            CopyLook(Cnvs, ActivePicture, FrameRect(CountFrames));
        }
    } else if (!Parent->GetFormActive() && !RectIsEmpty(inactive)) {
        CopyLook(Cnvs, ActivePicture, inactive);
    } else if (FDown && FMouseIn && !RectIsEmpty(down)) {
        CopyLook(Cnvs, ActivePicture, down);
    } else {
        CopyLook(Cnvs, ActivePicture, FrameRect(FFrame));
    }
}

void TbsSkinAnimateObject::SetFrame(int value) {
    if (Increment && value > CountFrames) value = 1;
    if (!Increment && value < 1) value = CountFrames;
    FFrame = value;
    Parent->DrawSkinObject(this);
}

void TbsSkinAnimateObject::ChangeFrame() {
    if (FInc < TimerInterval) {
        FInc += 25;
        return;
    }
    SetFrame(FFrame + (Increment ? 1 : -1));
    if (Increment && !Cycle && FFrame == CountFrames) Active = false;
    if (!Increment && FFrame == 1) Active = false;
    FInc = 25;
}

void TbsSkinAnimateObject::Start() {
    FInc = 25;
    FFrame = 1;
    Active = true;
    Parent->StartAnimateTimer();
}

void TbsSkinAnimateObject::Stop() {
    SetFrame(1);
    Active = false;
    FInc = 25;
}

bool TbsSkinAnimateObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0) return false;
    Parent->HideFrameLayers();
    if (FMouseIn) ShowLayer();
    FMenuTracking = true;
    if (Parent->TrackObjectMenu(MenuItem, ScreenObjectRect(), FPopupUp, false)) return true;
    FMenuTracking = false;
    return false;
}

void TbsSkinAnimateObject::MouseEnter() {
    if (Command != cmDefault)
        Hint = !RestoreHint.empty() && RestoreState() ? RestoreHint : FTempHint;
    FMouseIn = true;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = true;
        Increment = true;
        if (FDown && !RectIsEmpty(DownSkinRect))
            Parent->DrawSkinObject(this);
        else
            Parent->StartAnimateTimer();
    }
    Parent->ObjectEntered(IDName);
    ShowLayer();
}

void TbsSkinAnimateObject::MouseLeave() {
    if (!FMouseIn) return;
    FMouseIn = false;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = true;
        Increment = false;
        if (FDown && !RectIsEmpty(DownSkinRect))
            Parent->DrawSkinObject(this);
        else
            Parent->StartAnimateTimer();
    }
    Parent->ObjectLeft(IDName);
    HideLayer();
}

void TbsSkinAnimateObject::MouseDown(int X, int Y, vcl::TMouseButton Button) {
    TbsActiveSkinObject::MouseDown(X, Y, Button);
    if (Button == vcl::mbLeft && !RectIsEmpty(DownSkinRect)) {
        FFrame = CountFrames;
        FDown = true;
        Parent->DrawSkinObject(this);
    }
    if (Command == cmSysMenu && FMouseIn && ButtonStyle && Button == vcl::mbLeft) ExecuteCommand();
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, vcl::TMouseButton Button) {
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (FMenuTracking) return;
    if (Button == vcl::mbLeft && !RectIsEmpty(DownSkinRect)) {
        FDown = false;
        Parent->DrawSkinObject(this);
        Parent->StartAnimateTimer();
    }
    if (Command != cmSysMenu && FMouseIn && ButtonStyle && Button == vcl::mbLeft) ExecuteCommand();
}

void TbsSkinAnimateObject::DblClick() {
    if (Command == cmSysMenu) Parent->HostForm()->Close();
}

void TbsSkinAnimateObject::ExecuteCommand() {
    if (Command == cmSysMenu) {
        MenuItem = Parent->GetSysMenuItems();
        if (!TrackMenu()) MenuItem = nullptr;
    } else if (Command == cmDefault) {
        if (MenuItem) TrackMenu();
    } else {
        Parent->RunFrameCommand(Command);
    }
}

// --- the caption ------------------------------------------------------------------------------

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsFrameHost* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    auto* d = dynamic_cast<TbsDataSkinCaption*>(AData);
    if (!d) return;
    FontName = d->FontName;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    FontColor = d->FontColor;
    ActiveFontColor = d->ActiveFontColor;
    ShadowColor = d->ShadowColor;
    ActiveShadowColor = d->ActiveShadowColor;
    Shadow = d->Shadow;
    LightColor = d->LightColor;
    ActiveLightColor = d->ActiveLightColor;
    Light = d->Light;
    Alignment = d->Alignment;
    TextRct = d->TextRct;
    FrameRect = d->FrameRect;
    ActiveFrameRect = d->ActiveFrameRect;
    FrameLeftOffset = d->FrameLeftOffset;
    FrameRightOffset = d->FrameRightOffset;
    FrameTextRect = d->FrameTextRect;
    StretchEffect = d->StretchEffect;
    FullFrame = d->FullFrame;
    AnimateSkinRect = d->AnimateSkinRect;
    FrameCount = d->FrameCount;
    AnimateInterval = d->AnimateInterval;
    InActiveAnimation = d->InActiveAnimation;
    VistaGlowEffect = d->VistaGlowEffect;
    VistaGlowInActiveEffect = d->VistaGlowInActiveEffect;
    GlowEffect = d->GlowEffect;
    GlowInActiveEffect = d->GlowInActiveEffect;
    GlowSize = d->GlowSize;
    GlowColor = d->GlowColor;
    GlowActiveColor = d->GlowActiveColor;
    GlowOffset = d->GlowOffset;
    ReflectionEffect = d->ReflectionEffect;
    ReflectionColor = d->ReflectionColor;
    ReflectionActiveColor = d->ReflectionActiveColor;
    ReflectionOffset = d->ReflectionOffset;
}

bool TbsSkinCaptionObject::EnableAnimation() const {
    return SkinLoaded() && SD->EnableSkinEffects() && !RectIsEmpty(AnimateSkinRect);
}

gfx::TRect TbsSkinCaptionObject::TextRectNow() const {
    gfx::TRect tr = TextRct;
    if (!RectIsEmpty(TextRct)) {
        tr.Left += Parent->QuickButtonsWidth();
        tr.Right = RectWidthOf(ObjectRect) - (RectWidthOf(SkinRect) - TextRct.Right);
    }
    if (!RectIsEmpty(FrameRect)) {
        tr.Top += FrameTextRect.Top;
        tr.Left += FrameTextRect.Left;
        tr.Right -= RectWidthOf(FrameRect) - FrameTextRect.Right;
    }
    return tr;
}

void TbsSkinCaptionObject::SetCaptionFont(gfx::TCanvas& Cnvs, bool AActive) {
    gfx::TFont& font = Cnvs.Font();
    font.SetName(FontName);
    font.SetStyle(FontStyle);
    font.SetHeight(FontHeight);
    font.SetColor(AActive ? ActiveFontColor : FontColor);
    if (SD && SD->ResourceStrData())
        font.SetCharset(SD->ResourceStrData()->CharSet());
    else
        font.SetCharset(Parent->DefCaptionCharset());
}

void TbsSkinCaptionObject::DrawCaptionText(gfx::TCanvas& Cnvs, gfx::TCanvas& eventCanvas,
                                           const gfx::TRect& TR, int originX, int originY,
                                           bool AActive) {
    if (Parent->PaintCaptionByProgram(eventCanvas, ObjectRect, AActive)) return;
    std::string text = Parent->CaptionText();
    if (text.empty() || RectIsEmpty(TextRct)) return;

    EllipsizeWideText(Cnvs, text, RectWidthOf(TR));
    const int tw = WideTextWidthOf(Cnvs, text), th = WideTextHeightOf(Cnvs, text);
    int y = TR.Top + RectHeightOf(TR) / 2 - th / 2;
    int x;
    switch (Parent->HasQuickButtons() ? taCenter : Alignment) {
        case taLeftJustify:
            x = TR.Left;
            break;
        case taRightJustify:
            x = TR.Right - tw;
            break;
        default:
            x = TR.Left + RectWidthOf(TR) / 2 - tw / 2;
            break;
    }
    x += originX;
    y += originY;
    Cnvs.Brush().SetStyle(gfx::bsClear);

    if (!RectIsEmpty(FrameRect) && ActivePicture) {
        const gfx::TRect source =
            AActive && !RectIsEmpty(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
        const int h = RectHeightOf(FrameRect);
        auto strip = [&](int width, int atX, int atY) {
            gfx::TBitmap b;
            BuildHorzSkinStrip(FrameLeftOffset, FrameRightOffset, b, *ActivePicture, source, width,
                               h, false);
            Cnvs.Draw(atX, atY, b);
        };
        if (FullFrame) {
            const int offset = SD ? SD->ButtonsOffset : 0;
            const int width = RectWidthOf(ObjectRect) - 2 * offset;
            if (width > 0) strip(width, originX + offset, y - FrameTextRect.Top);
        } else {
            const int width = RectWidthOf(FrameRect) + tw - RectWidthOf(FrameTextRect);
            if (width > 0) strip(width, x - FrameTextRect.Left, y - FrameTextRect.Top);
        }
    }

    const gfx::TColor color = Cnvs.Font().Color();
    auto plain = [&](int atX, int atY) {
        gfx::TRect r{atX, atY, atX + tw, atY + th};
        DrawWideTextOn(Cnvs, text, r, kCaptionTextFlags);
    };
    if (Light) {
        Cnvs.Font().SetColor(AActive ? ActiveLightColor : LightColor);
        plain(x - 1, y - 1);
    }
    if (Shadow) {
        Cnvs.Font().SetColor(AActive ? ActiveShadowColor : ShadowColor);
        plain(x + 1, y + 1);
    }
    Cnvs.Font().SetColor(color);
    const gfx::TRect r{x, y, x + tw, y + th};
    if (ReflectionEffect)
        DrawReflectionText(Cnvs, r, text, kCaptionTextFlags, ReflectionOffset,
                           AActive ? ReflectionActiveColor : ReflectionColor);
    else if (VistaGlowEffect && (AActive || VistaGlowInActiveEffect))
        DrawVistaGlowText(Cnvs, r, text, kCaptionTextFlags, AActive ? GlowActiveColor : GlowColor);
    else if (GlowEffect && (AActive || GlowInActiveEffect))
        DrawGlowText(Cnvs, r, text, kCaptionTextFlags, GlowOffset,
                     AActive ? GlowActiveColor : GlowColor, GlowSize);
    else
        plain(x, y);
}

void TbsSkinCaptionObject::BuildCaptionBack(gfx::TBitmap& dest, gfx::TBitmap* picture,
                                            const gfx::TRect& r) {
    const int w = RectWidthOf(ObjectRect), h = RectHeightOf(ObjectRect);
    dest.SetPixelFormat(gfx::pf24bit);
    dest.SetSize(w, h);
    if (!picture || w <= 0 || h <= 0) return;
    const int left = std::max(0, SD->LTPoint.X - SkinRect.Left);
    const int right = std::max(0, SkinRect.Right - SD->RTPoint.X);
    if (left > 0 || right > 0)
        BuildHorzSkinStrip(left, right, dest, *picture, r, w, h, StretchEffect);
    else
        dest.Canvas().CopyRect({0, 0, w, h}, picture->Canvas(), r);
}

void TbsSkinCaptionObject::BuildCaptionImage(gfx::TBitmap& dest, gfx::TBitmap* picture,
                                             const gfx::TRect& r, gfx::TCanvas& eventCanvas,
                                             const gfx::TRect& TR, bool AActive) {
    BuildCaptionBack(dest, picture, r);
    SetCaptionFont(dest.Canvas(), AActive);
    DrawCaptionText(dest.Canvas(), eventCanvas, TR, 0, 0, AActive);
}

void TbsSkinCaptionObject::DrawImage(gfx::TCanvas& Cnvs, gfx::TBitmap& image, bool inactiveEffect) {
    if (inactiveEffect && SD->AutoRenderingInActiveImage) {
        TbsEffectBmp e = TbsEffectBmp::CreateFromhWnd(image.Handle());
        ApplyInActiveEffect(e, SD->InActiveEffect);
        e.Draw(Cnvs.Handle(), ObjectRect.Left, ObjectRect.Top);
    } else {
        Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, image);
    }
}

void TbsSkinCaptionObject::Draw(gfx::TCanvas& Cnvs, bool UpDate) {
    if (!SkinLoaded()) return;
    DrawCaption(Cnvs, UpDate);
    // Last, so a caption drawn as one image does not cover them.
    if (Parent->HasQuickButtons()) DrawQuickButtons(Cnvs);
}

void TbsSkinCaptionObject::DrawQuickButtons(gfx::TCanvas& Cnvs) {
    vcl::TCustomImageList& images = *Parent->QuickImageList();
    const int iw = images.Width(), ih = images.Height();
    const int y = ObjectRect.Top + RectHeightOf(ObjectRect) / 2 - ih / 2 - 2;
    int x = ObjectRect.Left;
    const TbsDataSkinButtonControl* back = nullptr;
    for (const char* name : {"officequickbutton", "resizetoolbutton"}) {
        const int i = SD->GetControlIndex(name);
        back =
            i >= 0 ? dynamic_cast<const TbsDataSkinButtonControl*>(SD->CtrlList[i].get()) : nullptr;
        if (back) break;
    }
    TbsQuickButtonItems& buttons = Parent->QuickButtons();
    for (int i = 0; i < buttons.Count(); ++i) {
        TbsQuickButtonItem* b = buttons.Items(i);
        if (!b->Visible()) continue;
        b->ItemRect = {x, y, x + iw + 4, y + ih + 4};
        x += iw + 8;
        if (b->Active && back && back->PictureIndex >= 0 &&
            back->PictureIndex < int(SD->FActivePictures.size())) {
            gfx::TBitmap image;
            image.SetSize(RectWidthOf(b->ItemRect), RectHeightOf(b->ItemRect));
            BuildNineSliceFromRect(image, *SD->FActivePictures[back->PictureIndex],
                                   b->Down ? back->DownSkinRect : back->ActiveSkinRect,
                                   back->ClRect, true);
            Cnvs.Draw(b->ItemRect.Left, b->ItemRect.Top, image);
        }
        if (b->ImageIndex() >= 0 && b->ImageIndex() < images.Count())
            images.Draw(Cnvs, b->ItemRect.Left + 2, b->ItemRect.Top + 2, b->ImageIndex(),
                        b->Enabled());
    }
}

void TbsSkinCaptionObject::CheckQuickButtons(int X, int Y) {
    if (!Parent->HasQuickButtons()) return;
    TbsQuickButtonItems& buttons = Parent->QuickButtons();
    OldActiveQuickButton = ActiveQuickButton;
    ActiveQuickButton = -1;
    for (int i = 0; i < buttons.Count(); ++i) {
        TbsQuickButtonItem* b = buttons.Items(i);
        if (b->Enabled() && b->Visible() && b->ItemRect.Contains(X, Y)) {
            ActiveQuickButton = i;
            break;
        }
    }
    bool changed = false;
    for (int i = 0; i < buttons.Count(); ++i) {
        TbsQuickButtonItem* b = buttons.Items(i);
        const bool active = i == ActiveQuickButton;
        changed = changed || b->Active != active;
        b->Active = active;
    }
    if (ActiveQuickButton != OldActiveQuickButton || changed) Parent->RepaintFrame();
    TbsSkinHint* hint = Parent->SkinHint();
    if (ActiveQuickButton != OldActiveQuickButton && ActiveQuickButton != -1 && hint &&
        Parent->QuickButtonsShowHint() && !buttons.Items(ActiveQuickButton)->Hint.empty())
        hint->ActivateHint2(buttons.Items(ActiveQuickButton)->Hint);
    if (changed && Parent->QuickButtonsShowHint() && hint && ActiveQuickButton == -1)
        hint->HideHint();
}

void TbsSkinCaptionObject::DrawCaption(gfx::TCanvas& Cnvs, bool) {
    const gfx::TRect tr = TextRectNow();
    SetCaptionFont(Cnvs, Active);

    if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        gfx::TRect frame = AnimateSkinRect;
        if (RectHeightOf(AnimateSkinRect) > RectHeightOf(SkinRect)) {
            const int h = RectHeightOf(AnimateSkinRect) / FrameCount;
            frame.Top = AnimateSkinRect.Top + (CurrentFrame - 1) * h;
            frame.Bottom = frame.Top + h;
        } else {
            const int w = RectWidthOf(AnimateSkinRect) / FrameCount;
            frame.Left = AnimateSkinRect.Left + (CurrentFrame - 1) * w;
            frame.Right = frame.Left + w;
        }
        gfx::TBitmap image;
        // The text keeps the look of the state being left until the animation ends.
        BuildCaptionImage(image, ActivePicture, frame, Cnvs, tr, !Active);
        Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, image);
        return;
    }
    if (EnableMorphing() && FadeUnderWay()) {
        gfx::TBitmap normal, hot;
        BuildCaptionImage(normal, Picture, SkinRect, Cnvs, tr, false);
        BuildCaptionImage(hot, ActivePicture, ActiveSkinRect, Cnvs, tr, true);
        TbsEffectBmp from = TbsEffectBmp::CreateFromhWnd(normal.Handle());
        TbsEffectBmp to = TbsEffectBmp::CreateFromhWnd(hot.Handle());
        MorphByKind(from, to, MorphKind, MorphKf());
        if (SD->AutoRenderingInActiveImage && !Active)
            ApplyInActiveEffect(from, SD->InActiveEffect);
        from.Draw(Cnvs.Handle(), ObjectRect.Left, ObjectRect.Top);
        return;
    }
    if (RectIsEmpty(ActiveSkinRect) ||
        (!Active && !EnableMorphing() && !StretchEffect && !EnableAnimation())) {
        DrawCaptionText(Cnvs, Cnvs, tr, ObjectRect.Left, ObjectRect.Top, Active);
        return;
    }
    gfx::TBitmap image;
    if (!Active) {
        BuildCaptionImage(image, Picture, SkinRect, Cnvs, tr, false);
        DrawImage(Cnvs, image, true);
    } else {
        BuildCaptionImage(image, ActivePicture, ActiveSkinRect, Cnvs, tr, true);
        DrawImage(Cnvs, image, false);
    }
}

void TbsSkinCaptionObject::MouseMove(int X, int Y) {
    Parent->ObjectMoved(IDName, X, Y, ObjectRect);
    CheckQuickButtons(X, Y);
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, vcl::TMouseButton Button) {
    Parent->ObjectPressed(IDName, X, Y, ObjectRect, Button);
    if (!Parent->HasQuickButtons()) return;
    CheckQuickButtons(X, Y);
    if (ActiveQuickButton != -1) {
        TbsQuickButtonItems& buttons = Parent->QuickButtons();
        for (int i = 0; i < buttons.Count(); ++i) {
            buttons.Items(i)->Down = i == ActiveQuickButton;
            if (i != ActiveQuickButton) buttons.Items(i)->Active = false;
        }
        Parent->RepaintFrame();
    }
    if (Parent->QuickButtonsShowHint() && Parent->SkinHint()) Parent->SkinHint()->HideHint();
}

void TbsSkinCaptionObject::MouseUp(int X, int Y, vcl::TMouseButton Button) {
    Parent->ObjectReleased(IDName, X, Y, ObjectRect, Button);
    if (!Parent->HasQuickButtons()) return;
    CheckQuickButtons(X, Y);
    if (ActiveQuickButton == -1) return;
    TbsQuickButtonItems& buttons = Parent->QuickButtons();
    for (int i = 0; i < buttons.Count(); ++i) buttons.Items(i)->Down = false;
    Parent->RepaintFrame();
    // The handler may change the collection: the event is taken before it runs.
    const vcl::TNotifyEvent click = buttons.Items(ActiveQuickButton)->OnClick;
    if (click) click(this);
}

void TbsSkinCaptionObject::MouseEnter() {
    FMouseIn = true;
    Parent->ObjectEntered(IDName);
}

void TbsSkinCaptionObject::MouseLeave() {
    FMouseIn = false;
    Parent->ObjectLeft(IDName);
    if (!Parent->HasQuickButtons()) return;
    ActiveQuickButton = OldActiveQuickButton = -1;
    CheckQuickButtons(-1, -1);
}

}  // namespace skin
