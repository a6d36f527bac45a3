// One item of a skinned menu level: its hover and click states and both looks.
#include <algorithm>
#include <string>

#include "platform/gfx/text.h"
#include "skin/controls/button_timers.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/menus/menu_parts.h"
#include "skin/menus/skin_menu.h"

namespace skin {

namespace {

bool SkinUsable(TbsSkinData* sd) {
    return sd && !sd->Empty && sd->EnableSkinEffects();
}

// Centres the picture part `src` in `r`, never left of or above it, drawn transparent (the
// part's bottom-left pixel is the key colour) so the item's strip shows around the glyph.
void DrawPart(gfx::TCanvas& C, gfx::TBitmap& pic, const TRect& src, const TRect& r) {
    if (src.IsEmpty()) return;
    const int w = RectWidth(src), h = RectHeight(src);
    const int x = std::max(r.Left, r.Left + (RectWidth(r) - w) / 2);
    const int y = std::max(r.Top, r.Top + (RectHeight(r) - h) / 2);
    gfx::TBitmap part;
    part.SetPixelFormat(gfx::pf24bit);
    part.SetSize(w, h);
    part.Canvas().CopyRect({0, 0, w, h}, pic.Canvas(), src);
    part.SetTransparent(true);
    C.Draw(x, y, part);
}

// The skin's header strip: "menuheader", else "label"; none when the skin has neither.
TbsDataSkinLabelControl* HeaderRecord(TbsSkinData* sd) {
    if (auto* r = MenuControlRecord<TbsDataSkinLabelControl>(sd, "menuheader")) return r;
    return MenuControlRecord<TbsDataSkinLabelControl>(sd, "label");
}

void SystemGlyph(gfx::TCanvas& C, const std::string& name, int x, int y, gfx::TColor color,
                 bool& drawn) {
    drawn = true;
    if (name == "BSF_CLOSE" || name == "TRAY_BSF_CLOSE")
        DrawCloseGlyph(C, x, y, color);
    else if (name == "BSF_MINITEM")
        DrawMinimizeGlyph(C, x, y, color);
    else if (name == "BSF_MAXITEM")
        DrawMaximizeGlyph(C, x, y, color);
    else if (name == "BSF_RESTORE" || name == "TRAY_BSF_RESTORE")
        DrawRestoreGlyph(C, x, y, color);
    else if (name == "BSF_ROLLUP")
        DrawRollUpGlyph(C, x, y, color);
    else if (name == "BSF_MINTOTRAY")
        DrawTrayGlyph(C, x, y, color);
    else
        drawn = false;
}

// The caption centred on the row's middle from `left`, and the shortcut text ending `margin`
// pixels before `area`'s right edge, as both looks place them.
void DrawCaptionAndShortCut(gfx::TCanvas& C, const vcl::TMenuItem& item, const TRect& area,
                            int left, int margin) {
    TRect cr{left, 0, area.Right - margin, 0};
    C.DrawText(item.Caption(), cr, gfx::DT_CALCRECT);
    const int dy = RectHeight(area) / 2 + area.Top - cr.Bottom / 2;
    cr.Top += dy;
    cr.Bottom += dy;
    cr.Right += 2;
    C.DrawText(item.Caption(), cr, gfx::DT_CENTER | gfx::DT_VCENTER);
    if (item.ShortCut() == vcl::scNone) return;
    const std::string sc = vcl::ShortCutToText(item.ShortCut());
    TRect sr{area.Right - C.TextWidth(sc) - margin, cr.Top, area.Right - margin, cr.Bottom};
    C.DrawText(sc, sr, gfx::DT_CENTER | gfx::DT_VCENTER);
}

}  // namespace

// ---- Unit routines

void DrawMenuCheck(gfx::TCanvas& Canvas, int X, int Y, gfx::TColor Color) {
    Canvas.Pen().SetColor(Color);
    for (int i = 0; i <= 2; ++i) {
        Canvas.MoveTo(X, Y + 5 - i);
        Canvas.LineTo(X + 2, Y + 7 - i);
        Canvas.LineTo(X + 7, Y + 2 - i);
    }
}

void DrawMenuSubArrow(gfx::TCanvas& Canvas, int X, int Y, gfx::TColor Color) {
    Canvas.Pen().SetColor(Color);
    for (int i = 0; i <= 3; ++i) {
        Canvas.MoveTo(X + i, Y + i);
        Canvas.LineTo(X + i, Y + 7 - i);
    }
}

void DrawMenuRadio(gfx::TCanvas& Canvas, int X, int Y, gfx::TColor Color) {
    Canvas.Pen().SetColor(Color);
    Canvas.Brush().SetStyle(gfx::bsSolid);
    Canvas.Brush().SetColor(Color);
    Canvas.Ellipse(X, Y, X + 6, Y + 6);
}

bool IsMenuCloseMessage(win::UINT Msg) {
    switch (Msg) {
        case 3:
        case 5:
        case 6:
        case 8:
        case 31:
        case 33:
        case 161:
        case 164:
        case 167:
        case 513:
        case 516:
        case 519:
        case 528:
            return true;
        default:
            return false;
    }
}

// ---- TbsSkinMenuItem

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* AParent, vcl::TMenuItem* AMenuItem,
                                 TbsDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem) {
    // A missing picture leaves the shared record alone: the item keeps its heights and draws
    // only text and glyphs.
    if (MI) ActivePicture = MenuSkinPicture(Parent->SD, MI->ActivePictureIndex);
}

bool TbsSkinMenuItem::IsHeader() const {
    const std::string& c = MenuItem->Caption();
    return !MenuItem->Enabled() && c.size() >= 2 && c.front() == '-' && c.back() == '-';
}

void TbsSkinMenuItem::SetMorphKf(double value) {
    FFade.SetKf(value);
}

bool TbsSkinMenuItem::EnableMorphing() const {
    return MI && MI->Morphing && SkinUsable(Parent->SD);
}

bool TbsSkinMenuItem::EnableAnimation() const {
    return MI && !MI->AnimateSkinRect.IsEmpty() && SkinUsable(Parent->SD);
}

bool TbsSkinMenuItem::CanMorphing() {
    const bool a = Active || Down;
    if (!FVisible && FFade.Steps() != 0) {
        Active = Down = false;
        FFade.Settle(false);
    }
    return FVisible && FFade.CanStep(a);
}

void TbsSkinMenuItem::DoMorphing() {
    FFade.Step(Active || Down);
    Draw(Parent->Canvas());
}

void TbsSkinMenuItem::ReDraw() {
    if (MI && EnableAnimation()) {
        Parent->MorphTimer->SetInterval(unsigned(std::max(MI->AnimateInterval, 1)));
        if (MI->InActiveAnimation || Active) {
            Parent->MorphTimer->SetEnabled(true);
            return;
        }
        CurrentFrame = 0;
    } else if (MI && EnableMorphing() && CanMorphing()) {
        Parent->MorphTimer->SetInterval(20);
        Parent->MorphTimer->SetEnabled(true);
        return;
    }
    // With nothing left to fade (an item left before its first tick) it is drawn at rest now,
    // or the look it had while active would stay.
    if (Parent->HandleAllocated() && Parent->Visible()) Draw(Parent->Canvas());
}

void TbsSkinMenuItem::MouseDown(int, int) {
    WaitCommand = false;
    if (!Down && MenuItem->Enabled()) Parent->ParentMenu->CheckItem(Parent, this, true, false);
}

void TbsSkinMenuItem::MouseEnter(bool Kb) {
    Active = true;
    if (EnableAnimation()) CurrentFrame = 0;
    for (int i = 0; i < Parent->ItemCount(); ++i) {
        TbsSkinMenuItem* other = Parent->Item(i);
        if (other != this && other->Down) {
            other->Down = false;
            other->ReDraw();
        }
    }
    if (WaitCommand && !Kb) {
        ReDraw();
    } else if (Down) {
        const int level = Parent->ParentMenu->LevelOf(Parent);
        if (Parent->ParentMenu->LevelCount() - level >= 3)
            Parent->ParentMenu->Level(level + 1)->Collapse();
    } else {
        ReDraw();
        Parent->ParentMenu->CheckItem(Parent, this, false, Kb);
    }
    if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TbsSkinMenuItem::MouseLeave() {
    Active = false;
    if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
    WaitCommand = false;
    if (!Down) ReDraw();
    TbsSkinMenu* menu = Parent->ParentMenu;
    if (menu->WItem == this) {
        menu->WaitTimer->SetEnabled(false);
        menu->WItem = nullptr;
    }
}

void TbsSkinMenuItem::Draw(gfx::TCanvas& Cnvs) {
    if (!FVisible) return;
    if (!MI) {
        DefaultDraw(Cnvs);
        return;
    }
    const int W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
    if (W <= 0 || H <= 0) return;
    gfx::TBitmap b;
    b.SetPixelFormat(gfx::pf24bit);
    b.SetSize(W, H);
    if (IsSeparator()) {
        if (ActivePicture && !MI->DividerRect.IsEmpty())
            BuildHorzSkinStrip(MI->DividerLO, MI->DividerRO, b, *ActivePicture, MI->DividerRect, W,
                               H, MI->DividerStretchEffect);
    } else {
        const bool a = Active || Down;
        TRect frame;
        const TRect* animFrame = nullptr;
        if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= MI->FrameCount) {
            const TRect& ar = MI->AnimateSkinRect;
            if (RectHeight(ar) > RectHeight(MI->SkinRect)) {
                const int fh = RectHeight(ar) / std::max(MI->FrameCount, 1);
                frame = {ar.Left, ar.Top + (CurrentFrame - 1) * fh, ar.Right,
                         ar.Top + CurrentFrame * fh};
            } else {
                const int fw = RectWidth(ar) / std::max(MI->FrameCount, 1);
                frame = {ar.Left + (CurrentFrame - 1) * fw, ar.Top, ar.Left + CurrentFrame * fw,
                         ar.Bottom};
            }
            animFrame = &frame;
        }
        if (animFrame || !EnableMorphing()) {
            SkinLook(b.Canvas(), W, H, a, animFrame);
        } else if (a && FFade.Steps() == TbsHoverFade::kSteps) {
            SkinLook(b.Canvas(), W, H, true, nullptr);
        } else if (a || FFade.Steps() != 0) {
            gfx::TBitmap active;
            active.SetPixelFormat(gfx::pf24bit);
            active.SetSize(W, H);
            SkinLook(b.Canvas(), W, H, false, nullptr);
            SkinLook(active.Canvas(), W, H, true, nullptr);
            DrawMorphed(b.Canvas().Handle(), b, active, MI->MorphKind, MorphKf());
        } else {
            SkinLook(b.Canvas(), W, H, false, nullptr);
        }
    }
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, b);
}

void TbsSkinMenuItem::SkinLook(gfx::TCanvas& C, int W, int H, bool active, const TRect* frame) {
    TRect src = active ? MI->ActiveSkinRect : MI->SkinRect;
    bool stretch = active ? MI->StretchEffect : MI->InActiveStretchEffect;
    if (frame) {
        src = *frame;
        if (!active && !MI->InActiveStretchEffect && MI->StretchEffect) stretch = true;
    }
    if (!active && MI->InActiveTransparent && Parent->FPaintBuffer) {
        C.CopyRect({0, 0, W, H}, Parent->FPaintBuffer->Canvas(), ObjectRect);
    } else if (ActivePicture && !src.IsEmpty()) {
        gfx::TBitmap strip;
        BuildHorzSkinStrip(MI->ItemLO, MI->ItemRO, strip, *ActivePicture, src, W, H, stretch);
        C.Draw(0, 0, strip);
    }
    TbsSkinMenu* menu = Parent->ParentMenu;
    int G = Parent->ImgL ? Parent->GlyphWidth : 16;
    if (!MI->ImageRct.IsEmpty()) G = 0;
    TRect T = MI->TextRct;
    T.Right = W + MI->TextRct.Right - RectWidth(MI->SkinRect);
    if (menu->UseSkinFont) {
        C.Font().SetName(MI->FontName);
        C.Font().SetStyle(MI->FontStyle);
        C.Font().SetHeight(MI->FontHeight);
    } else {
        C.Font().Assign(menu->DefaultMenuItemFont());
    }
    if (Parent->SD && Parent->SD->ResourceStrData())
        C.Font().SetCharset(Parent->SD->ResourceStrData()->CharSet());
    gfx::TColor color = active ? MI->ActiveFontColor
                               : (MenuItem->Enabled() ? MI->FontColor : MI->UnEnabledFontColor);
    C.Font().SetColor(color);
    C.Brush().SetStyle(gfx::bsClear);
    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, C, T, active);
        return;
    }
    if (IsHeader()) {
        DrawHeader(C, W, H);
        return;
    }
    // Caption, shortcut and arrow as in the default look, with a 16-pixel right margin.
    DrawCaptionAndShortCut(C, *MenuItem, T, T.Left + G, 16);
    if (MenuItem->Count() > 0) {
        if (MI->ArrowImageRect.IsEmpty() || !ActivePicture)
            DrawMenuSubArrow(C, T.Right - 7, RectHeight(T) / 2 + T.Top - 4, color);
        else
            DrawPart(C, *ActivePicture, active ? MI->ActiveArrowImageRect : MI->ArrowImageRect,
                     {T.Right - RectWidth(MI->ArrowImageRect) - 5, T.Top, T.Right, T.Bottom});
    }
    if (MI->UseImageColor) color = active ? MI->ActiveImageColor : MI->ImageColor;
    DrawGlyphs(C, T, G, color, active, false);
}

void TbsSkinMenuItem::DrawHeader(gfx::TCanvas& C, int W, int H) {
    TbsDataSkinLabelControl* rec = HeaderRecord(Parent->SD);
    gfx::TBitmap* pic = rec ? MenuSkinPicture(Parent->SD, rec->PictureIndex) : nullptr;
    if (!rec || !pic || rec->SkinRect.IsEmpty()) return;
    const TRect& sr = rec->SkinRect;
    const int sh = RectHeight(sr);
    gfx::TBitmap strip;
    BuildHorzSkinStrip(rec->LTPoint.X, RectWidth(sr) - rec->RTPoint.X, strip, *pic, sr, W, sh,
                       rec->StretchEffect);
    gfx::TCanvas& S = strip.Canvas();
    const int charset = C.Font().Charset();
    S.Font().SetName(rec->FontName);
    S.Font().SetHeight(rec->FontHeight);
    S.Font().SetStyle(rec->FontStyle);
    S.Font().SetCharset(charset);
    S.Font().SetColor(rec->FontColor);
    S.Brush().SetStyle(gfx::bsClear);
    TRect tr{rec->ClRect.Left, rec->ClRect.Top, W + rec->ClRect.Right - RectWidth(sr), sh};
    S.DrawText(MenuItem->Caption().substr(1, MenuItem->Caption().size() - 2), tr,
               gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
    C.Draw(0, (H - sh) / 2, strip);
}

// The image, or the system glyph, radio dot or check of the item.
void TbsSkinMenuItem::DrawGlyphs(gfx::TCanvas& C, const TRect& T, int, gfx::TColor color,
                                 bool active, bool defaultLook) {
    vcl::TCustomImageList* imgs = Parent->ImgL;
    const int idx = MenuItem->ImageIndex();
    const bool hasBitmap = !MenuItem->Bitmap().Empty();
    const bool hasImage = imgs && idx >= 0 && idx < imgs->Count();
    const TRect imageRct = defaultLook ? TRect{} : MI->ImageRct;
    if (hasBitmap || hasImage) {
        const int iw = hasImage ? imgs->Width() : MenuItem->Bitmap().Width();
        const int ih = hasImage ? imgs->Height() : MenuItem->Bitmap().Height();
        int x, y;
        if (imageRct.IsEmpty()) {
            x = T.Left + 2;
            y = RectHeight(T) / 2 + T.Top - ih / 2;
        } else {
            x = imageRct.Left + (RectWidth(imageRct) - iw) / 2;
            y = imageRct.Top + (RectHeight(imageRct) - ih) / 2;
        }
        if (MenuItem->Checked()) {
            C.Brush().SetStyle(gfx::bsSolid);
            C.Brush().SetColor(color);
            C.FrameRect({x - 1, y - 1, x + iw + 1, y + ih + 1});
        }
        if (hasImage)
            imgs->Draw(C, x, y, idx, MenuItem->Enabled());
        else
            C.Draw(x, y, MenuItem->Bitmap());
        return;
    }
    TPoint P = imageRct.IsEmpty() ? TPoint{T.Left + 2, RectHeight(T) / 2 + T.Top - 4}
                                  : TPoint{imageRct.Left + RectWidth(imageRct) / 2 - 4,
                                           imageRct.Top + RectHeight(imageRct) / 2 - 4};
    bool drawn = false;
    SystemGlyph(C, MenuItem->Name(), P.X, P.Y, color, drawn);
    if (drawn || !MenuItem->Checked()) return;
    if (defaultLook) P.X += 1;  // the default look's marks sit one pixel further right
    const TRect glyphRect =
        !imageRct.IsEmpty() ? imageRct
                            : TRect{MI ? MI->TextRct.Left + 2 : 0, MI ? MI->TextRct.Top : 0,
                                    MI ? MI->TextRct.Left + 16 : 0, MI ? MI->TextRct.Bottom : 0};
    if (MenuItem->RadioItem()) {
        if (defaultLook || MI->RadioImageRect.IsEmpty() || !ActivePicture)
            DrawMenuRadio(C, P.X, P.Y + (defaultLook ? 0 : 1), color);
        else
            DrawPart(C, *ActivePicture, active ? MI->ActiveRadioImageRect : MI->RadioImageRect,
                     glyphRect);
    } else {
        if (defaultLook || MI->CheckImageRect.IsEmpty() || !ActivePicture)
            DrawMenuCheck(C, P.X, P.Y, color);
        else
            DrawPart(C, *ActivePicture, active ? MI->ActiveCheckImageRect : MI->CheckImageRect,
                     glyphRect);
    }
}

void TbsSkinMenuItem::DefaultDraw(gfx::TCanvas& Cnvs) {
    const int W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
    if (W <= 0 || H <= 0) return;
    gfx::TBitmap b;
    b.SetPixelFormat(gfx::pf24bit);
    b.SetSize(W, H);
    gfx::TCanvas& C = b.Canvas();
    const TRect R2{2, 2, W - 2, H - 2};
    const int G = Parent->ImgL ? Parent->GlyphWidth : 19;
    C.Font().Assign(Parent->ParentMenu->DefaultMenuItemFont());
    if (Parent->SD && Parent->SD->ResourceStrData())
        C.Font().SetCharset(Parent->SD->ResourceStrData()->CharSet());
    gfx::TColor color = gfx::clWindowText;
    C.Brush().SetStyle(gfx::bsSolid);
    if ((Active || Down) && !IsSeparator() && !IsHeader()) {
        C.Brush().SetColor(gfx::clNavy);
        C.FrameRect({0, 0, W, H});
        C.Brush().SetColor(kNoSkin.HotFill);
        C.FillRect({1, 1, W - 1, H - 1});
    } else {
        C.Brush().SetColor(gfx::clBtnFace);
        C.FillRect({0, 0, G, H});
        C.Brush().SetColor(gfx::clWindow);
        C.FillRect({G, 0, W, H});
        if (!MenuItem->Enabled()) color = gfx::clBtnShadow;
    }
    C.Font().SetColor(color);
    C.Brush().SetStyle(gfx::bsClear);
    if (IsHeader()) {
        C.Brush().SetStyle(gfx::bsSolid);
        C.Brush().SetColor(gfx::clBtnShadow);
        C.FillRect({0, 0, W, H});
        C.Brush().SetStyle(gfx::bsClear);
        C.Font().SetColor(gfx::clBtnHighlight);
        TRect r = R2;
        C.DrawText(MenuItem->Caption().substr(1, MenuItem->Caption().size() - 2), r,
                   gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
    } else if (IsSeparator()) {
        C.Pen().SetColor(gfx::clBtnShadow);
        C.MoveTo(G, H / 2);
        C.LineTo(W, H / 2);
    } else {
        DrawCaptionAndShortCut(C, *MenuItem, R2, R2.Left + G, 19);
        if (MenuItem->Count() > 0)
            DrawMenuSubArrow(C, R2.Right - 7, RectHeight(R2) / 2 + R2.Top - 4, color);
        DrawGlyphs(C, R2, G, color, Active || Down, true);
    }
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, b);
}

}  // namespace skin
