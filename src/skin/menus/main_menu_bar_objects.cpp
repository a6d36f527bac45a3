// The objects of the main menu bar: the base with its fade, the top-level items (layout,
// fitting, both looks, the mouse and the submenu they open) and the MDI child buttons.
#include <algorithm>
#include <cmath>

#include "platform/vcl/messages.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/system_routines.h"
#include "skin/menus/main_menu_bar.h"

namespace skin {

namespace {

bool SkinLoaded(const TbsSkinData* sd) {
    return sd && !sd->Empty;
}

gfx::TBitmap* ActivePictureOf(const TbsSkinData* sd, int index) {
    if (!SkinLoaded(sd) || index < 0 || index >= int(sd->FActivePictures.size())) return nullptr;
    return sd->FActivePictures[std::size_t(index)].get();
}

// The plain look's frame and fill: pressed, hot or neither.
void DefaultFrame(gfx::TCanvas& C, const TRect& R, bool down, bool hot) {
    if (down || hot) {
        C.Brush().SetColor(kNoSkin.Frame);
        C.FrameRect(R);
        C.Brush().SetColor(down ? kNoSkin.DownFill : kNoSkin.HotFill);
        C.FillRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1});
    } else {
        C.Brush().SetColor(gfx::clBtnFace);
        C.FillRect(R);
    }
}

}  // namespace

// ---- TbsMenuBarObject

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData)
    : Parent(AParent) {
    if (!AData) return;
    Picture = ActivePictureOf(AParent->SkinData(), AData->ActivePictureIndex);
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    ObjectRect = AData->SkinRect;
    Morphing = AData->Morphing && !RectIsEmpty(AData->ActiveSkinRect);
    MorphKind = AData->MorphKind;
}

void TbsMenuBarObject::SetMorphKf(double value) {
    FFade.SetKf(value);
}

bool TbsMenuBarObject::EnableMorphing() const {
    const TbsSkinData* sd = Parent->SkinData();
    return Morphing && SkinLoaded(sd) && sd->EnableSkinEffects();
}

bool TbsMenuBarObject::CanMorphing() const {
    if (FDown && !RectIsEmpty(DownRect)) return false;
    return FFade.CanStep(Active);
}

void TbsMenuBarObject::DoMorphing() {
    FFade.Step(Active);
    Draw(Parent->Canvas());
}

void TbsMenuBarObject::Redraw() {
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawObject(this);
}

void TbsMenuBarObject::MouseDown(int, int, vcl::TMouseButton) {}
void TbsMenuBarObject::MouseUp(int, int, vcl::TMouseButton) {}

void TbsMenuBarObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    Redraw();
}

void TbsMenuBarObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    Redraw();
}

// ---- TbsSkinMainMenuBarItem

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent,
                                               TbsDataSkinMainMenuBarItem* AData)
    : TbsMenuBarObject(AParent, AData), FSkinSupport(AData != nullptr) {
    if (!AData) return;
    FontName = AData->FontName;
    FontHeight = AData->FontHeight;
    FontStyle = AData->FontStyle;
    UnEnabledFontColor = AData->UnEnabledFontColor;
    FontColor = AData->FontColor;
    ActiveFontColor = AData->ActiveFontColor;
    DownFontColor = AData->DownFontColor;
    TextRct = AData->TextRct;
    DownRect = !RectIsEmpty(AData->DownRect)         ? AData->DownRect
               : !RectIsEmpty(AData->ActiveSkinRect) ? AData->ActiveSkinRect
                                                     : AData->SkinRect;
    LO = AData->ItemLO;
    RO = AData->ItemRO;
    StretchEffect = AData->StretchEffect;
    AnimateSkinRect = AData->AnimateSkinRect;
    FrameCount = AData->FrameCount;
    AnimateInterval = AData->AnimateInterval;
    InActiveAnimation = AData->InActiveAnimation;
}

bool TbsSkinMainMenuBarItem::EnableAnimation() const {
    const TbsSkinData* sd = Parent->SkinData();
    return !RectIsEmpty(AnimateSkinRect) && SkinLoaded(sd) && sd->EnableSkinEffects();
}

void TbsSkinMainMenuBarItem::Redraw() {
    if (EnableAnimation()) {
        Parent->AnimateTimer->SetInterval(unsigned(std::max(AnimateInterval, 1)));
        Parent->AnimateTimer->SetEnabled(true);
    } else {
        TbsMenuBarObject::Redraw();
    }
}

void TbsSkinMainMenuBarItem::SetItemFont(gfx::TFont& font) const {
    if (FSkinSupport && Parent->UseSkinFont()) {
        font.SetName(FontName);
        font.SetStyle(FontStyle);
        font.SetHeight(FontHeight);
    } else {
        font.Assign(Parent->DefItemFont());
    }
}

void TbsSkinMainMenuBarItem::CalcItemRect(gfx::TCanvas& Cnvs) {
    int left = 0;
    for (int i = 0; i < Parent->ObjectCount(); ++i) {
        TbsMenuBarObject* o = Parent->Object(i);
        if (o == this) break;
        if (dynamic_cast<TbsSkinMainMenuBarItem*>(o)) left = o->ObjectRect.Right;
    }
    if (left == 0) left = Parent->NewItemsRect.Left;
    const int top = Parent->NewItemsRect.Top;
    SetItemFont(Cnvs.Font());
    TRect r{0, 0, 0, 0};
    Cnvs.DrawText(MenuItem ? MenuItem->Caption() : std::string(), r,
                  gfx::DT_CALCRECT | gfx::DT_CENTER | gfx::DT_SINGLELINE);
    const int W = r.Width();
    if (FSkinSupport)
        ObjectRect = {left, top, left + SkinRect.Width() + TextRct.Left - TextRct.Right + W + 2,
                      top + SkinRect.Height()};
    else
        ObjectRect = {left, top, left + W + 12, Parent->NewItemsRect.Bottom};
}

void TbsSkinMainMenuBarItem::Draw(gfx::TCanvas& Cnvs) {
    CalcItemRect(Cnvs);
    const int limit = Parent->NewItemsRect.Right - (Parent->ScrollMenu() ? 5 : 0);
    if (ObjectRect.Right > limit) {
        Parent->Scroll = true;
        if (FVisible) {
            OldEnabled = Enabled;
            Enabled = false;
            FVisible = false;
        }
        return;
    }
    if (!FVisible) {
        FVisible = true;
        Enabled = OldEnabled;
    }
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (RectIsEmpty(SkinRect) || RectIsEmpty(TextRct)) return;
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    gfx::TBitmap B;
    B.SetSize(w, h);
    bool hot = Active;
    if (FDown) {
        SourceImage(B, DownRect, true);
        hot = true;
    } else if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        const int fw = SkinRect.Width(), fh = SkinRect.Height();
        const TRect frame =
            AnimateSkinRect.Height() > fh
                ? TRect{AnimateSkinRect.Left, AnimateSkinRect.Top + (CurrentFrame - 1) * fh,
                        AnimateSkinRect.Left + fw, AnimateSkinRect.Top + CurrentFrame * fh}
                : TRect{AnimateSkinRect.Left + (CurrentFrame - 1) * fw, AnimateSkinRect.Top,
                        AnimateSkinRect.Left + CurrentFrame * fw, AnimateSkinRect.Top + fh};
        SourceImage(B, frame, true);
    } else if (!EnableMorphing() || !FFade.CanStep(Active)) {
        if (Active && !RectIsEmpty(ActiveSkinRect))
            SourceImage(B, ActiveSkinRect, true);
        else
            SourceImage(B, SkinRect, false);
    } else {
        gfx::TBitmap hotImage;
        hotImage.SetSize(w, h);
        SourceImage(B, SkinRect, false);
        SourceImage(hotImage, ActiveSkinRect, true);
        TbsEffectBmp from = TbsEffectBmp::CreateFromhWnd(B.Handle());
        TbsEffectBmp to = TbsEffectBmp::CreateFromhWnd(hotImage.Handle());
        MorphByKind(from, to, MorphKind, MorphKf());
        from.Draw(B.Canvas().Handle(), 0, 0);
        hot = MorphKf() >= 0.5;
    }
    const bool enabled = !MenuItem || MenuItem->Enabled();
    const gfx::TColor color = FDown     ? DownFontColor
                              : hot     ? ActiveFontColor
                              : enabled ? FontColor
                                        : UnEnabledFontColor;
    TRect measure{0, 0, 0, 0};
    SetItemFont(B.Canvas().Font());
    B.Canvas().DrawText(MenuItem ? MenuItem->Caption() : std::string(), measure,
                        gfx::DT_CALCRECT | gfx::DT_CENTER | gfx::DT_SINGLELINE);
    DrawCaption(B.Canvas(),
                {TextRct.Left, TextRct.Top, TextRct.Left + measure.Width() + 2, TextRct.Bottom},
                color, hot);
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, B);
}

void TbsSkinMainMenuBarItem::SourceImage(gfx::TBitmap& B, const TRect& source, bool stretchMiddle) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (Parent->ItemTransparent && source == SkinRect && Parent->FBarImage.Width() > 0) {
        B.Canvas().CopyRect({0, 0, w, h}, Parent->FBarImage.Canvas(), ObjectRect);
        return;
    }
    if (!Picture || RectIsEmpty(source)) return;
    gfx::TBitmap strip;
    BuildHorzSkinStrip(LO, RO, strip, *Picture, source, w, h, stretchMiddle && StretchEffect);
    B.Canvas().Draw(0, 0, strip);
}

void TbsSkinMainMenuBarItem::DrawCaption(gfx::TCanvas& C, TRect R, gfx::TColor color, bool hot) {
    C.Brush().SetStyle(gfx::bsClear);
    C.Font().SetColor(color);
    if (MenuItem && MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(nullptr, C, R, hot);
        return;
    }
    C.DrawText(MenuItem ? MenuItem->Caption() : std::string(), R,
               gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
}

void TbsSkinMainMenuBarItem::DefaultDraw(gfx::TCanvas& Cnvs) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    gfx::TBitmap B;
    B.SetSize(w, h);
    gfx::TCanvas& C = B.Canvas();
    DefaultFrame(C, {0, 0, w, h}, FDown, Active);
    C.Font().Assign(Parent->DefItemFont());
    TRect r{0, 0, w, h};
    if (FDown) r = r.Offset(1, 1);
    DrawCaption(C, r, Parent->DefItemFont().Color(), Active);
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, B);
}

void TbsSkinMainMenuBarItem::ReleaseOtherItem(bool& released) {
    released = false;
    for (int i = 0; i < Parent->ObjectCount(); ++i) {
        auto* other = dynamic_cast<TbsSkinMainMenuBarItem*>(Parent->Object(i));
        // Told apart by identity: items of unnamed menu items are all different.
        if (other && other != this && other->FDown) {
            other->SetDown(false);
            released = true;
            return;
        }
    }
}

void TbsSkinMainMenuBarItem::LeaveOtherItems() {
    for (int i = 0; i < Parent->ObjectCount(); ++i) {
        auto* other = dynamic_cast<TbsSkinMainMenuBarItem*>(Parent->Object(i));
        if (other && other != this && other->Active) {
            other->MouseLeave();
            return;
        }
    }
}

void TbsSkinMainMenuBarItem::MouseEnter() {
    bool released = false;
    ReleaseOtherItem(released);
    if (released) {
        FMouseIn = true;
        Active = true;
        if (EnableMorphing()) SetMorphKf(1);
        SetDown(true);
        return;
    }
    LeaveOtherItems();
    FMouseIn = true;
    Active = true;
    Redraw();
    if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
    if (MenuItem) Parent->SetHint(MenuItem->Hint());
}

void TbsSkinMainMenuBarItem::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (EnableAnimation() && !InActiveAnimation) {
        CurrentFrame = 0;
        Parent->DrawObject(this);
    }
    if (EnableMorphing() && FDown) SetMorphKf(0);
    Redraw();
    if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

void TbsSkinMainMenuBarItem::MouseDown(int, int, vcl::TMouseButton Button) {
    TbsMainMenuBarHost* host = Parent->SkinForm();
    if (!Enabled || !host || Button != vcl::mbLeft) return;
    if (HasSubItems()) {
        Parent->MenuActive = true;
        SetDown(true);
        return;
    }
    if (host->BarInMainMenu()) host->SkinMainMenuClose();
    host->SetBarInMenu(false);
    if (EnableMorphing())
        Redraw();
    else
        Parent->DrawObject(this);
    if (!MenuItem) return;
    if (vcl::TMenu* menu = MenuItem->GetParentMenu())
        menu->DispatchCommand(MenuItem->Command());
    else
        MenuItem->Click();
}

void TbsSkinMainMenuBarItem::SetDown(bool value) {
    FDown = value;
    if (value) {
        SetMorphKf(1);
        Parent->DrawObject(this);
        TbsMainMenuBarHost* host = Parent->SkinForm();
        if (host && !host->BarInMainMenu()) host->MainMenuEntered(Parent);
        TrackMenu();
        return;
    }
    Active = false;
    if (EnableAnimation()) {
        if (InActiveAnimation) {
            CurrentFrame = FrameCount + 1;
            Redraw();
        } else {
            CurrentFrame = 0;
            Parent->DrawObject(this);
        }
    } else if (EnableMorphing()) {
        SetMorphKf(1);
        Redraw();
    } else {
        Parent->DrawObject(this);
    }
}

void TbsSkinMainMenuBarItem::TrackMenu() {
    TbsMainMenuBarHost* host = Parent->SkinForm();
    if (!host || !MenuItem) return;
    TbsSkinMenuHost* menuHost = host->BarMenuHost();
    const gfx::TPoint p = Parent->ClientToScreen({ObjectRect.Left, ObjectRect.Top});
    const TRect r{p.X, p.Y, p.X + ObjectRect.Width(), p.Y + ObjectRect.Height()};
    menuHost->SkinMenuOpen();
    host->SetBarInMainMenu(true);
    menuHost->MenuHostSkinMenu()->Popup(nullptr, Parent->SkinData(), 0, r, MenuItem,
                                        Parent->PopupToUp());
}

// ---- TbsSkinMainMenuBarButton

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent,
                                                   TbsDataSkinObject* AData, TbsStdCommand ACommand)
    : TbsMenuBarObject(AParent, AData), FSkinSupport(AData != nullptr), Command(ACommand) {
    if (auto* data = dynamic_cast<TbsDataSkinStdButton*>(AData)) {
        Command = data->Command;
        DownRect = data->DownRect;
    }
}

void TbsSkinMainMenuBarButton::DefaultDraw(gfx::TCanvas& Cnvs) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    gfx::TBitmap B;
    B.SetSize(w, h);
    gfx::TCanvas& C = B.Canvas();
    const bool pressed = FDown && FMouseIn;
    DefaultFrame(C, {0, 0, w, h}, pressed, Active);
    const gfx::TColor color = Enabled ? gfx::clBtnText : gfx::clBtnShadow;
    const int x = w / 2 - 5 + (pressed ? 1 : 0), y = h / 2 - 4 + (pressed ? 1 : 0);
    switch (Command) {
        case cmClose:
            DrawCloseGlyph(C, x, y, color);
            break;
        case cmMaximize:
            DrawRestoreGlyph(C, x, y, color);
            break;
        case cmMinimize:
            DrawMinimizeGlyph(C, x, y, color);
            break;
        case cmSysMenu:
            DrawSysMenuGlyph(C, x, y, color);
            break;
        default:
            break;
    }
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, B);
}

void TbsSkinMainMenuBarButton::Draw(gfx::TCanvas& Cnvs) {
    if (!FSkinSupport || !Picture) {
        DefaultDraw(Cnvs);
        return;
    }
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    auto copy = [&](const TRect& source) { Cnvs.CopyRect(ObjectRect, Picture->Canvas(), source); };
    if (FDown && !RectIsEmpty(DownRect) && FMouseIn) {
        copy(DownRect);
    } else if (EnableMorphing() && FFade.CanStep(Active)) {
        gfx::TBitmap normal, hot;
        normal.SetSize(w, h);
        hot.SetSize(w, h);
        normal.Canvas().CopyRect({0, 0, w, h}, Picture->Canvas(), SkinRect);
        hot.Canvas().CopyRect({0, 0, w, h}, Picture->Canvas(), ActiveSkinRect);
        TbsEffectBmp from = TbsEffectBmp::CreateFromhWnd(normal.Handle());
        TbsEffectBmp to = TbsEffectBmp::CreateFromhWnd(hot.Handle());
        MorphByKind(from, to, MorphKind, MorphKf());
        from.Draw(Cnvs.Handle(), ObjectRect.Left, ObjectRect.Top);
    } else if (Active && !RectIsEmpty(ActiveSkinRect)) {
        copy(ActiveSkinRect);
    } else {
        copy(SkinRect);
    }
}

void TbsSkinMainMenuBarButton::MouseEnter() {
    if (FDown && Command == cmSysMenu) {
        FMouseIn = true;
        Active = true;
    } else if (FDown && EnableMorphing()) {
        FMouseIn = true;
        Active = true;
        Parent->DrawObject(this);
    } else {
        TbsMenuBarObject::MouseEnter();
    }
}

void TbsSkinMainMenuBarButton::MouseLeave() {
    if (FDown && Command == cmSysMenu) {
        FMouseIn = false;
        Active = false;
        if (EnableMorphing()) SetMorphKf(1);
    } else if (FDown && EnableMorphing()) {
        FMouseIn = false;
        Active = false;
        Parent->DrawObject(this);
    } else {
        TbsMenuBarObject::MouseLeave();
    }
}

void TbsSkinMainMenuBarButton::MouseDown(int X, int Y, vcl::TMouseButton Button) {
    if (!Enabled) return;
    if (Button != vcl::mbLeft) {
        TbsMenuBarObject::MouseDown(X, Y, Button);
        return;
    }
    if (FDown) return;
    FDown = true;
    if (EnableMorphing() && !RectIsEmpty(DownRect)) SetMorphKf(1);
    Parent->DrawObject(this);
    if (Command == cmSysMenu) ExecuteCommand();
}

void TbsSkinMainMenuBarButton::MouseUp(int X, int Y, vcl::TMouseButton Button) {
    if (!Enabled) return;
    TbsMenuBarObject::MouseUp(X, Y, Button);
    if (Button != vcl::mbLeft || Command == cmSysMenu) return;
    FDown = false;
    Parent->DrawObject(this);
    if (EnableMorphing()) Redraw();
    if (Active) ExecuteCommand();
}

void TbsSkinMainMenuBarButton::DblClick() {
    if (Command != cmSysMenu) return;
    TbsMainMenuBarHost* child = Parent->MaximizedChild();
    TbsMainMenuBarHost* host = Parent->SkinForm();
    if (!child || !host) return;
    host->BarMenuHost()->MenuHostSkinMenu()->Hide();
    host->BarMenuHost()->SkinMenuClose();
    child->BarMenuHost()->MenuHostForm()->Close();
}

void TbsSkinMainMenuBarButton::ExecuteCommand() {
    TbsMainMenuBarHost* child = Parent->MaximizedChild();
    if (!child) return;
    switch (Command) {
        case cmClose:
            child->BarMenuHost()->MenuHostForm()->Close();
            break;
        case cmMaximize:
            child->SetBarHostWindowState(vcl::wsNormal);
            break;
        case cmMinimize:
            child->SetBarHostWindowState(vcl::wsMinimized);
            break;
        case cmSysMenu: {
            TbsMainMenuBarHost* host = Parent->SkinForm();
            if (!host) break;
            Parent->Invalidate();
            TbsSkinMenuHost* menuHost = host->BarMenuHost();
            const gfx::TPoint p = Parent->ClientToScreen({ObjectRect.Left, ObjectRect.Top});
            menuHost->SkinMenuOpen();
            TbsSkinData* sd = menuHost->MenuHostMenusSkinData() ? menuHost->MenuHostMenusSkinData()
                                                                : menuHost->MenuHostSkinData();
            menuHost->MenuHostSkinMenu()->Popup(
                Parent, sd, 0, {p.X, p.Y, p.X + ObjectRect.Width(), p.Y + ObjectRect.Height()},
                child->GetSysMenuItems(), Parent->PopupToUp());
            break;
        }
        default:
            break;
    }
}

}  // namespace skin
