// The office combo box's face in its three looks: the default look in system colours, the
// skinned look (the "combobox" record and a button record), and the flat tool-button look,
// default or skinned ("resizetoolbutton", else "resizebutton").
#include <algorithm>

#include "platform/gfx/text.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/lists/combo_face.h"
#include "skin/lists/office_combo_box.h"

namespace skin {

namespace {

gfx::TFontCharset CharsetFor(TbsSkinData* sd, const gfx::TFont& fallback) {
    return sd && sd->ResourceStrData() ? sd->ResourceStrData()->CharSet() : fallback.Charset();
}

// A one-pixel frame in `frame` around a fill of `fill`.
void FramedFill(gfx::TCanvas& C, const TRect& r, gfx::TColor frame, gfx::TColor fill) {
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(frame);
    C.FrameRect(r);
    C.Brush().SetColor(fill);
    C.FillRect(TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
}

}  // namespace

void TbsSkinCustomOfficeComboBox::SelectSkinFont(gfx::TFont& font, const std::string& name,
                                                 gfx::TFontStyles style, int height) {
    if (UseSkinFont()) {
        font.SetName(name);
        font.SetStyle(style);
        font.SetHeight(height);
    } else {
        font.Assign(DefaultFont());
    }
    font.SetCharset(CharsetFor(FSD, DefaultFont()));
}

int TbsSkinCustomOfficeComboBox::DisplayedIndex() const {
    return IsPopupVisible() ? FOldItemIndex : FListBox->ItemIndex();
}

bool TbsSkinCustomOfficeComboBox::Hot() const {
    return FMouseIn || Focused();
}

void TbsSkinCustomOfficeComboBox::CalcRects() {
    const int w = Width(), h = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = TRect{w - 19, 2, w - 2, h - 2};
        CBItem.R = TRect{2, 2, Button.R.Left - 1, h - 2};
        return;
    }
    const int dw = w - SkinRect.Width();
    Button.R = ButtonRect;
    if (ButtonRect.Left >= SkinRect.Width() - RTPt.X) {
        Button.R.Left += dw;
        Button.R.Right += dw;
    }
    CBItem.R = ClRect;
    CBItem.R.Right += dw;
    if (!FUseSkinSize) {
        const int dh = h - SkinRect.Height();
        Button.R.Bottom += dh;
        CBItem.R.Bottom += dh;
    }
}

void TbsSkinCustomOfficeComboBox::DrawItemContent(gfx::TCanvas& C, int index, TRect TR,
                                                  const std::string& text) {
    TbsSkinOfficeItem* item = FListBox->Items().Items(index);
    if (FShowItemText && FShowItemTitle && !item->Title().empty()) {
        const gfx::TFontStyles style = C.Font().Style();
        C.Font().SetStyle(style | gfx::fsBold);
        TRect ttr = TR;
        ttr.Bottom = TR.Top + C.TextHeight(item->Title());
        C.DrawText(item->Title(), ttr, gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE);
        C.Font().SetStyle(style);
        TR.Top = ttr.Bottom - 2;
    }
    if (FShowItemText && !FShowItemImage) {
        DrawTextLeftCentredV(C, text, TR);
    } else if (FShowItemImage) {
        PaintGlyphTextFromList2(C, TR, 0, 2, blGlyphLeft, FShowItemText ? text : std::string(),
                                item->ImageIndex(), Images(), false, Enabled(), false, 0);
    }
}

// ---- default look -------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::CreateControlDefaultImage(gfx::TBitmap& B) {
    CalcRects();
    if (FToolButtonStyle) {
        DrawDefaultToolFace(B, "");
        return;
    }
    gfx::TCanvas& C = B.Canvas();
    FramedFill(C, TRect{0, 0, Width(), Height()}, gfx::clBtnShadow, gfx::clBtnFace);
    C.Brush().SetColor(FDefaultColor);
    C.FillRect(TRect{2, 2, Width() - 2, Height() - 2});
    DrawButton(C);
    DrawDefaultItem(C);
}

void TbsSkinCustomOfficeComboBox::DrawButton(gfx::TCanvas& C) {
    if (FIndex == -1) {
        if (Button.Pressed())
            FramedFill(C, Button.R, kNoSkin.Frame, kNoSkin.DownFill);
        else if (Button.MouseIn)
            FramedFill(C, Button.R, kNoSkin.Frame, kNoSkin.HotFill);
        else
            FramedFill(C, Button.R, gfx::clBtnShadow, gfx::clBtnFace);
        DrawDirArrow(C, Button.R, Enabled() ? gfx::clBlack : gfx::clBtnShadow, 4);
        return;
    }
    TRect src;
    if (!Enabled() && !UnEnabledButtonRect.IsEmpty())
        src = UnEnabledButtonRect;
    else if (Button.Pressed())
        src = DownButtonRect;
    else if (Button.MouseIn)
        src = ActiveButtonRect;
    if (!src.IsEmpty() && Picture) C.CopyRect(Button.R, Picture->Canvas(), src);
}

void TbsSkinCustomOfficeComboBox::DrawSkinButton(gfx::TCanvas& C) {
    const TbsDataSkinButtonControl* rec =
        FirstButtonRecord(FSD, {"combobutton", "editbutton", "resizebutton"});
    if (!rec || Button.R.IsEmpty()) return;
    const TRect normal = rec->SkinRect;
    const TRect active = rec->ActiveSkinRect.IsEmpty() ? normal : rec->ActiveSkinRect;
    const TRect down = rec->DownSkinRect.IsEmpty() ? active : rec->DownSkinRect;
    const bool pressed = Button.Pressed();
    const TRect state = Button.Pick(normal, active, down);
    const gfx::TColor arrow = Button.Pick(rec->FontColor, rec->ActiveFontColor, rec->DownFontColor);
    gfx::TBitmap b;
    const int w = Button.R.Width(), h = Button.R.Height();
    b.SetSize(w, h);
    if (gfx::TBitmap* picture = PictureAt(*FSD, rec->PictureIndex))
        NineSliceOfRecord(b, *picture, *rec, state, w, h);
    if (rec->MenuMarkerRect.IsEmpty()) {
        if (Enabled())
            DrawDirArrow(b.Canvas(), pressed ? TRect{0, 2, w, h} : TRect{0, 0, w, h}, arrow, 4);
    } else if (Picture) {
        TRect marker = rec->MenuMarkerRect;
        if (pressed && !rec->MenuMarkerDownRect.IsEmpty())
            marker = rec->MenuMarkerDownRect;
        else if (Button.MouseIn && !rec->MenuMarkerActiveRect.IsEmpty())
            marker = rec->MenuMarkerActiveRect;
        DrawTransparentPart(b.Canvas(), *Picture, marker, w / 2 - marker.Width() / 2,
                            h / 2 - marker.Height() / 2 + (pressed ? 1 : 0),
                            rec->MenuMarkerTransparentColor);
    }
    C.Draw(Button.R.Left, Button.R.Top, b);
}

void TbsSkinCustomOfficeComboBox::DrawDefaultItem(gfx::TCanvas& C) {
    if (CBItem.R.Width() <= 0) return;
    gfx::TBitmap b;
    b.SetSize(CBItem.R.Width(), CBItem.R.Height());
    gfx::TCanvas& bc = b.Canvas();
    bc.Font().SetName(Font().Name());
    bc.Font().SetStyle(Font().Style());
    bc.Font().SetHeight(Font().Height());
    bc.Font().SetCharset(CharsetFor(FSD, DefaultFont()));
    const bool focused = Focused();
    bc.Brush().SetStyle(gfx::bsSolid);
    bc.Brush().SetColor(focused ? gfx::clHighlight : FDefaultColor);
    bc.Font().SetColor(focused ? gfx::clHighlightText : DefaultFont().Color());
    bc.FillRect(TRect{0, 0, b.Width(), b.Height()});
    CBItem.State = focused;
    const TRect tr{2, 0, b.Width() - 2, b.Height()};
    const int index = DisplayedIndex();
    if (index >= 0 && index < FListBox->Items().Count()) {
        if (OnDrawItem) {
            bc.Brush().SetStyle(gfx::bsClear);
            const TbsDrawSkinOfficeItemEvent handler = OnDrawItem;
            handler(bc, index, tr);
        } else {
            bc.Brush().SetStyle(gfx::bsClear);
            DrawItemContent(bc, index, tr, FListBox->Items().Items(index)->Caption());
        }
    }
    if (focused) {
        bc.Brush().SetStyle(gfx::bsSolid);
        bc.DrawFocusRect(TRect{0, 0, b.Width(), b.Height()});
    }
    C.Draw(CBItem.R.Left, CBItem.R.Top, b);
}

// ---- skinned look -------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::CreateControlSkinImage(gfx::TBitmap& B) {
    CalcRects();
    if (FToolButtonStyle) {
        DrawSkinToolFace(B, "");
        return;
    }
    DrawSkinBackground(B);
    if (FUseSkinSize) {
        DrawButton(B.Canvas());
        DrawSkinStripItem(B);
    } else {
        DrawSkinButton(B.Canvas());
        DrawSkinItem(B);
    }
}

void TbsSkinCustomOfficeComboBox::DrawSkinBackground(gfx::TBitmap& B) {
    const bool hot = !ActiveSkinRect.IsEmpty() && Hot();
    if (FUseSkinSize) {
        if (hot && Picture)
            BuildHorzSkinStrip(LTPt.X, ActiveSkinRect.Width() - RTPt.X, B, *Picture, ActiveSkinRect,
                               Width(), Height(), StretchEffect);
        else
            TbsSkinCustomControl::CreateControlSkinImage(B);
        return;
    }
    if (Picture) BuildNineSliceFromRect(B, *Picture, hot ? ActiveSkinRect : SkinRect, ClRect, true);
}

void TbsSkinCustomOfficeComboBox::DrawSkinItem(gfx::TBitmap& B) {
    if (CBItem.R.Width() <= 0) return;
    const int w = CBItem.R.Width(), h = CBItem.R.Height();
    gfx::TBitmap b;
    b.SetSize(w, h);
    const bool focused = Focused();
    const auto copyFace = [&] { b.Canvas().CopyRect(TRect{0, 0, w, h}, B.Canvas(), CBItem.R); };
    // The stretched centre of a state picture whose size differs from the normal one.
    const auto centreFor = [&](const TRect& state) {
        TRect cr = ItemTextRect;
        if (SItemRect.Width() > state.Width()) cr.Right -= SItemRect.Width() - state.Width();
        if (SItemRect.Height() > state.Height()) cr.Bottom -= SItemRect.Height() - state.Height();
        return cr;
    };
    if (focused) {
        if (!FocusItemRect.IsEmpty() && Picture) {
            TRect cr = centreFor(FocusItemRect);
            cr = TRect{cr.Left + 1, cr.Top + 1, cr.Right - 1, cr.Bottom - 1};
            BuildNineSliceFromRect(b, *Picture, FocusItemRect, cr, true);
        } else {
            copyFace();
        }
    } else if (!ActiveItemRect.IsEmpty() && !ActiveSkinRect.IsEmpty() && FMouseIn && Picture) {
        BuildNineSliceFromRect(b, *Picture, ActiveItemRect, centreFor(ActiveItemRect), true);
    } else if (!SItemRect.IsEmpty() && Picture) {
        BuildNineSliceFromRect(b, *Picture, SItemRect, ItemTextRect, true);
    } else {
        copyFace();
    }
    TRect tr = ItemTextRect;
    tr.Right += w - (SItemRect.IsEmpty() ? ClRect.Width() : SItemRect.Width());
    tr.Bottom += Height() - SkinRect.Height();
    gfx::TCanvas& bc = b.Canvas();
    SelectSkinFont(bc.Font(), FontName, FontStyle, FontHeight);
    bc.Font().SetColor(focused                                   ? FocusFontColor
                       : (FMouseIn && !ActiveSkinRect.IsEmpty()) ? ActiveFontColor
                                                                 : FontColor);
    const int index = DisplayedIndex();
    if (index >= 0 && index < FListBox->Items().Count()) {
        if (focused && ShowFocus) {
            bc.Brush().SetStyle(gfx::bsSolid);
            bc.Brush().SetColor(FSD->SkinColors()->cBtnFace);
            bc.DrawFocusRect(TRect{0, 0, w, h});
        }
        tr.Left += 1;
        bc.Brush().SetStyle(gfx::bsClear);
        if (OnDrawItem) {
            const TbsDrawSkinOfficeItemEvent handler = OnDrawItem;
            handler(bc, index, tr);
        } else {
            DrawItemContent(bc, index, tr, FListBox->Items().Items(index)->Caption());
        }
    }
    B.Canvas().Draw(CBItem.R.Left, CBItem.R.Top, b);
}

void TbsSkinCustomOfficeComboBox::DrawSkinStripItem(gfx::TBitmap& B) {
    if (CBItem.R.Width() <= 0) return;
    const int w = CBItem.R.Width();
    int h = SItemRect.Height();
    if (h == 0) h = FocusItemRect.Height();
    if (h == 0) h = w;
    const bool focused = Focused();
    gfx::TBitmap b;
    if (focused && !FocusItemRect.IsEmpty() && Picture) {
        BuildHorzSkinStrip(ItemLeftOffset, ItemRightOffset, b, *Picture, FocusItemRect, w, h,
                           FocusItemStretchEffect);
    } else if (!focused && FMouseIn && !ActiveItemRect.IsEmpty() && !ActiveSkinRect.IsEmpty() &&
               Picture) {
        BuildHorzSkinStrip(ItemLeftOffset, ItemRightOffset, b, *Picture, ActiveItemRect, w, h,
                           ItemStretchEffect);
    } else if (!SItemRect.IsEmpty() && Picture) {
        BuildHorzSkinStrip(ItemLeftOffset, ItemRightOffset, b, *Picture, SItemRect, w, h,
                           ItemStretchEffect);
    } else {
        b.SetSize(w, h);
        b.Canvas().CopyRect(TRect{0, 0, w, h}, B.Canvas(),
                            TRect{CBItem.R.Left, CBItem.R.Top, CBItem.R.Right, CBItem.R.Top + h});
    }
    TRect tr = ItemTextRect;
    tr.Right += w - (SItemRect.IsEmpty() ? ClRect.Width() : SItemRect.Width());
    gfx::TCanvas& bc = b.Canvas();
    SelectSkinFont(bc.Font(), FontName, FontStyle, FontHeight);
    gfx::TColor color = focused                                   ? FocusFontColor
                        : (FMouseIn && !ActiveSkinRect.IsEmpty()) ? ActiveFontColor
                                                                  : FontColor;
    if (!Enabled()) {
        color = gfx::clGrayText;
        if (FIndex != -1 && FSD) {
            const int e = FSD->GetControlIndex("edit");
            if (e != -1)
                if (const auto* r = dynamic_cast<const TbsDataSkinEditControl*>(
                        FSD->CtrlList[std::size_t(e)].get()))
                    color = r->DisabledFontColor;
        }
    }
    bc.Font().SetColor(color);
    const int index = DisplayedIndex();
    if (index >= 0 && index < FListBox->Items().Count()) {
        bc.Brush().SetStyle(gfx::bsClear);
        if (OnDrawItem) {
            const TbsDrawSkinOfficeItemEvent handler = OnDrawItem;
            handler(bc, index, tr);
        } else {
            // Steps without the title line.
            const bool title = FShowItemTitle;
            FShowItemTitle = false;
            DrawItemContent(bc, index, tr, FListBox->Items().Items(index)->Caption());
            FShowItemTitle = title;
        }
    }
    B.Canvas().Draw(CBItem.R.Left, CBItem.R.Top, b);
}

// ---- tool-button looks --------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::DrawDefaultToolFace(gfx::TBitmap& B, const std::string& AText) {
    gfx::TCanvas& C = B.Canvas();
    const TRect all{0, 0, Width(), Height()};
    if (FDropDown)
        FramedFill(C, all, kNoSkin.Frame, kNoSkin.DownFill);
    else if (Hot())
        FramedFill(C, all, kNoSkin.Frame, kNoSkin.HotFill);
    else
        FramedFill(C, all, gfx::clBtnShadow, gfx::clBtnFace);
    const int shift = FDropDown ? 2 : 0;
    const TRect tr{2 + shift, 2 + shift, Width() - 17 + shift, Height() - 2 + shift};
    C.Font().Assign(DefaultFont());
    C.Brush().SetStyle(gfx::bsClear);
    const int index = DisplayedIndex();
    if (index >= 0 && index < FListBox->Items().Count())
        DrawItemContent(C, index, tr,
                        AText.empty() ? FListBox->Items().Items(index)->Caption() : AText);
    const TRect ar{Width() - 15 + shift, shift, Width() + shift, Height() + shift};
    DrawDropArrow3(C, ar, C.Font().Color());
}

void TbsSkinCustomOfficeComboBox::DrawSkinToolFace(gfx::TBitmap& B, const std::string& AText) {
    GetSkinData();
    if (FIndex == -1) return;
    const TbsDataSkinButtonControl* rec =
        FirstButtonRecord(FSD, {"resizetoolbutton", "resizebutton"});
    if (!rec) return;
    TRect state = FDropDown ? rec->DownSkinRect : Hot() ? rec->ActiveSkinRect : rec->SkinRect;
    if (state.IsEmpty()) state = rec->SkinRect;
    if (state.IsEmpty()) state = rec->ActiveSkinRect;
    if (gfx::TBitmap* picture = PictureAt(*FSD, rec->PictureIndex))
        NineSliceOfRecord(B, *picture, *rec, state, Width(), Height());
    const int shift = FDropDown ? 2 : 0;
    const TRect tr{2 + shift, 2 + shift, Width() - 17 + shift, Height() - 2 + shift};
    gfx::TCanvas& C = B.Canvas();
    SelectSkinFont(C.Font(), rec->FontName, rec->FontStyle, rec->FontHeight);
    C.Font().SetColor(FDropDown    ? rec->DownFontColor
                      : Hot()      ? rec->ActiveFontColor
                      : !Enabled() ? rec->DisabledFontColor
                                   : rec->FontColor);
    C.Brush().SetStyle(gfx::bsClear);
    const int index = DisplayedIndex();
    if (index >= 0 && index < FListBox->Items().Count())
        DrawItemContent(C, index, tr,
                        AText.empty() ? FListBox->Items().Items(index)->Caption() : AText);
    const TRect ar{Width() - 15 + shift, shift, Width() + shift, Height() + shift};
    if (!rec->MenuMarkerRect.IsEmpty())
        DrawMenuMarker(C, ar, Hot(), FDropDown, *rec);
    else
        DrawDropArrow3(C, ar, FDropDown ? rec->DownFontColor : C.Font().Color());
}

void TbsSkinCustomOfficeComboBox::DrawMenuMarker(gfx::TCanvas& C, const TRect& R, bool AMouseIn,
                                                 bool ADown,
                                                 const TbsDataSkinButtonControl& record) {
    if (!Picture) return;
    TRect marker = record.MenuMarkerRect;
    if (ADown && !record.MenuMarkerDownRect.IsEmpty())
        marker = record.MenuMarkerDownRect;
    else if (!record.MenuMarkerActiveRect.IsEmpty() && (AMouseIn || ADown))
        marker = record.MenuMarkerActiveRect;
    DrawTransparentPart(C, *Picture, marker, R.Left + R.Width() / 2 - marker.Width() / 2,
                        R.Top + R.Height() / 2 - marker.Height() / 2,
                        record.MenuMarkerTransparentColor);
}

void TbsSkinCustomOfficeComboBox::PaintSkinTo(gfx::TCanvas& C, int X, int Y,
                                              const std::string& AText) {
    gfx::TBitmap b;
    b.SetSize(Width(), Height());
    GetSkinData();
    const std::string saved = Text();
    SetText(AText);
    CalcRects();
    if (FToolButtonStyle) {
        if (FIndex == -1)
            DrawDefaultToolFace(b, AText);
        else
            DrawSkinToolFace(b, AText);
    } else {
        gfx::TCanvas& bc = b.Canvas();
        if (FIndex == -1) {
            FramedFill(bc, TRect{0, 0, Width(), Height()}, gfx::clBtnShadow, gfx::clBtnFace);
            bc.Brush().SetColor(FDefaultColor);
            bc.FillRect(TRect{2, 2, Width() - 2, Height() - 2});
            DrawButton(bc);
            bc.Font().Assign(DefaultFont());
        } else {
            DrawSkinBackground(b);
            if (FUseSkinSize)
                DrawButton(bc);
            else
                DrawSkinButton(bc);
            bc.Font().SetStyle(FontStyle);
            bc.Font().SetColor(FontColor);
            bc.Font().SetHeight(FontHeight);
            bc.Font().SetName(FontName);
        }
        bc.Brush().SetStyle(gfx::bsClear);
        DrawTextLeftCentredV(bc, AText, CBItem.R);
    }
    SetText(saved);
    C.Draw(X, Y, b);
}

}  // namespace skin
