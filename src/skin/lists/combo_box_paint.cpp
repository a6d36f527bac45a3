// The skinned combo box's face: the built-in look in system colours, the skin look (a three-part
// strip with UseSkinSize, else nine parts and a separately skinned button), the tool-button
// looks, and the item rules every look shares (shown index, image, tab stops, owner drawing).
#include <algorithm>
#include <vector>

#include "platform/gfx/text.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/lists/combo_box.h"
#include "skin/lists/combo_face.h"

namespace skin {

namespace {

void FramedFill(gfx::TCanvas& C, const TRect& r, gfx::TColor frame, gfx::TColor fill) {
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(frame);
    C.FrameRect(r);
    C.Brush().SetColor(fill);
    C.FillRect(TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
}

// A tab stop entry: digits only read as a number, anything else 0.
int TabStopOf(const std::string& s) {
    if (s.empty() || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::stoi(s);
}

gfx::TBitmap* RecordPicture(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= int(sd->FActivePictures.size())) return nullptr;
    return sd->FActivePictures[std::size_t(index)].get();
}

}  // namespace

int TbsSkinCustomComboBox::ShownIndex() const {
    return IsPopupVisible() ? FOldItemIndex : FListBox->ItemIndex();
}

bool TbsSkinCustomComboBox::ActiveLook() {
    return (!ActiveSkinRect.IsEmpty() && FMouseIn) || EditFocused() || Focused();
}

// ---- item rules ---------------------------------------------------------------------------------

void TbsSkinCustomComboBox::DrawItemRules(gfx::TCanvas& C, int width, int height, TRect TR,
                                          const std::string& AText, bool wholeControl) {
    (void)wholeControl;
    const int index = ShownIndex();
    const bool valid = index >= 0 && index < Items().Count();
    if (OnComboBoxDrawItem) {
        vcl::TOwnerDrawState state;
        if (CBItem.State) state = state + vcl::odFocused;
        OnComboBoxDrawItem(C, index, width, height, TR, state);
        return;
    }
    if (vcl::TCustomImageList* images = Images()) {
        const int image = ImageIndex() >= 0 ? ImageIndex() : index;
        if (image >= 0 && image < images->Count())
            images->Draw(C, TR.Left, TR.Top + TR.Height() / 2 - images->Height() / 2, image, true);
        TR.Left += images->Width() + 2;
    }
    const std::string text = !AText.empty() ? AText : valid ? Items()[index] : std::string();
    if (!AText.empty() || valid) {
        const rtl::TStrings& tabs = TabWidths();
        if (tabs.Count() > 0) {
            const int n = std::min(tabs.Count(), 10);
            std::vector<int> stops(std::size_t(n), 0);
            for (int i = 0; i < n; ++i) stops[std::size_t(i)] = TabStopOf(tabs.Get(i));
            C.TabbedTextOut(TR.Left + 2, TR.Top + TR.Height() / 2 - C.TextHeight(text) / 2, text, n,
                            stops.data(), 0);
        } else {
            DrawTextLeftCentredV(C, text, TR);
        }
    }
}

// ---- built-in look ------------------------------------------------------------------------------

void TbsSkinCustomComboBox::CreateControlDefaultImage(gfx::TBitmap& B) {
    CalcRects();
    if (FToolButtonStyle) {
        DrawDefaultToolButton(B, "");
        return;
    }
    gfx::TCanvas& C = B.Canvas();
    FramedFill(C, TRect{0, 0, Width(), Height()}, gfx::clBtnShadow, gfx::clBtnFace);
    C.Brush().SetColor(FDefaultColor);
    C.FillRect(TRect{2, 2, Width() - 2, Height() - 2});
    DrawButton(C);
    if (!FEdit) DrawDefaultItem(C);
}

void TbsSkinCustomComboBox::DrawButton(gfx::TCanvas& C) {
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

void TbsSkinCustomComboBox::DrawDefaultItem(gfx::TCanvas& C) {
    if (CBItem.R.Width() <= 0 || CBItem.R.Height() <= 0) return;
    gfx::TBitmap b;
    b.SetSize(CBItem.R.Width(), CBItem.R.Height());
    gfx::TCanvas& IC = b.Canvas();
    const bool focused = Focused();
    IC.Font().SetName(Font().Name());
    IC.Font().SetStyle(Font().Style());
    IC.Font().SetHeight(Font().Height());
    IC.Font().SetCharset(TextCharset());
    IC.Brush().SetStyle(gfx::bsSolid);
    if (focused) {
        IC.Brush().SetColor(gfx::clHighlight);
        IC.Font().SetColor(gfx::clHighlightText);
    } else {
        IC.Brush().SetColor(FDefaultColor);
        IC.Font().SetColor(DefaultFont().Color());
    }
    const TRect all{0, 0, b.Width(), b.Height()};
    IC.FillRect(all);
    CBItem.State = focused;
    IC.Brush().SetStyle(gfx::bsClear);
    DrawItemRules(IC, b.Width(), b.Height(), TRect{2, 0, b.Width() - 2, b.Height()}, "", false);
    if (focused) DrawDotFrame(IC, all);
    C.Draw(CBItem.R.Left, CBItem.R.Top, b);
}

// ---- skin look ----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::DrawSkinFrame(gfx::TBitmap& B) {
    const bool active = ActiveLook() && !ActiveSkinRect.IsEmpty();
    if (FUseSkinSize) {
        // The active face is built by the same geometry as the normal one: a control taller
        // than the record (a box stretched by its alignment) keeps its height when focused or
        // hot instead of showing the record's height over unpainted rows.
        if (active && Picture)
            DrawSkinRect(B, Picture, ActiveSkinRect);
        else
            TbsSkinCustomControl::CreateControlSkinImage(B);
    } else if (Picture) {
        gfx::TBitmap nine;
        nine.SetSize(Width(), Height());
        BuildNineSliceFromRect(nine, *Picture, active ? ActiveSkinRect : SkinRect, ClRect, true);
        B.Canvas().Draw(0, 0, nine);
    }
    if (FUseSkinSize)
        DrawButton(B.Canvas());
    else
        DrawResizeButton(B.Canvas());
}

void TbsSkinCustomComboBox::CreateControlSkinImage(gfx::TBitmap& B) {
    CalcRects();
    if (FToolButtonStyle) {
        DrawSkinToolButton(B, "");
        return;
    }
    if (!Picture) {
        // A record without its picture paints the built-in look.
        CreateControlDefaultImage(B);
        return;
    }
    DrawSkinFrame(B);
    if (FEdit) return;
    if (FUseSkinSize)
        DrawSkinItem(B);
    else
        DrawResizeSkinItem(B);
}

void TbsSkinCustomComboBox::DrawResizeButton(gfx::TCanvas& C) {
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
    if (gfx::TBitmap* picture = RecordPicture(FSD, rec->PictureIndex))
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

// Font, colour by state and the focus frame of the face's item in the skin looks.
void TbsSkinCustomComboBox::PrepareSkinItemCanvas(gfx::TCanvas& IC, bool focused, int w, int h) {
    if (UseSkinFont()) {
        IC.Font().SetName(FontName);
        IC.Font().SetStyle(FontStyle);
        IC.Font().SetHeight(FontHeight);
    } else {
        IC.Font().Assign(DefaultFont());
    }
    IC.Font().SetCharset(TextCharset());
    IC.Font().SetColor(!Enabled()                                ? GetDisabledFontColor()
                       : focused                                 ? FocusFontColor
                       : (FMouseIn && !ActiveSkinRect.IsEmpty()) ? ActiveFontColor
                                                                 : FontColor);
    IC.Brush().SetStyle(gfx::bsClear);
    if (!OnComboBoxDrawItem && focused && ShowFocus) {
        IC.Brush().SetStyle(gfx::bsSolid);
        IC.Brush().SetColor(FSD ? FSD->SkinColors()->cBtnFace : gfx::clBtnFace);
        DrawDotFrame(IC, TRect{0, 0, w, h});
        IC.Brush().SetStyle(gfx::bsClear);
    }
}

void TbsSkinCustomComboBox::DrawSkinItem(gfx::TBitmap& Face) {
    if (CBItem.R.Width() <= 0) return;
    const int w = CBItem.R.Width();
    int h = SItemRect.Height();
    if (h == 0) h = FocusItemRect.Height();
    if (h == 0) h = CBItem.R.Height();
    const bool focused = Focused();
    const bool hot = !ActiveItemRect.IsEmpty() && !ActiveSkinRect.IsEmpty() && FMouseIn;
    TRect src = SItemRect;
    bool stretch = ItemStretchEffect;
    if (focused) {
        src = FocusItemRect;
        stretch = FocusItemStretchEffect;
    } else if (hot) {
        src = ActiveItemRect;
    }
    gfx::TBitmap b;
    if (!src.IsEmpty() && Picture) {
        BuildHorzSkinStrip(ItemLeftOffset, ItemRightOffset, b, *Picture, src, w, h, stretch);
    } else {
        b.SetSize(w, h);
        b.Canvas().CopyRect(
            TRect{0, 0, w, h}, Face.Canvas(),
            TRect{CBItem.R.Left, CBItem.R.Top, CBItem.R.Left + w, CBItem.R.Top + h});
    }
    TRect TR = ItemTextRect;
    TR.Right += w - (SItemRect.IsEmpty() ? ClRect.Width() : SItemRect.Width());
    gfx::TCanvas& IC = b.Canvas();
    PrepareSkinItemCanvas(IC, focused, b.Width(), b.Height());
    DrawItemRules(IC, b.Width(), b.Height(), TR, "", false);
    Face.Canvas().Draw(CBItem.R.Left, CBItem.R.Top, b);
}

void TbsSkinCustomComboBox::DrawResizeSkinItem(gfx::TBitmap& Face) {
    if (CBItem.R.Width() <= 0) return;
    const int w = CBItem.R.Width(), h = CBItem.R.Height();
    const bool focused = Focused();
    const bool hot = !ActiveItemRect.IsEmpty() && !ActiveSkinRect.IsEmpty() && FMouseIn;
    gfx::TBitmap b;
    b.SetSize(w, h);
    TRect src = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
    if (!src.IsEmpty() && Picture) {
        TRect centre = ItemTextRect;
        if (focused)
            centre = TRect{centre.Left + 1, centre.Top + 1, centre.Right - 1, centre.Bottom - 1};
        if (src.Width() < SItemRect.Width()) centre.Right -= SItemRect.Width() - src.Width();
        BuildNineSliceFromRect(b, *Picture, src, centre, true);
    } else {
        b.Canvas().CopyRect(TRect{0, 0, w, h}, Face.Canvas(), CBItem.R);
    }
    TRect TR = ItemTextRect;
    TR.Right += w - (SItemRect.IsEmpty() ? ClRect.Width() : SItemRect.Width());
    TR.Bottom += Height() - SkinRect.Height();
    gfx::TCanvas& IC = b.Canvas();
    PrepareSkinItemCanvas(IC, focused, w, h);
    DrawItemRules(IC, w, h, TR, "", false);
    Face.Canvas().Draw(CBItem.R.Left, CBItem.R.Top, b);
}

// ---- tool-button looks --------------------------------------------------------------------------

void TbsSkinCustomComboBox::DrawDefaultToolButton(gfx::TBitmap& B, const std::string& AText) {
    gfx::TCanvas& C = B.Canvas();
    const TRect all{0, 0, Width(), Height()};
    if (FDropDown)
        FramedFill(C, all, kNoSkin.Frame, kNoSkin.DownFill);
    else if (FMouseIn || Focused())
        FramedFill(C, all, kNoSkin.Frame, kNoSkin.HotFill);
    else
        FramedFill(C, all, gfx::clBtnShadow, gfx::clBtnFace);
    C.Font().Assign(DefaultFont());
    C.Brush().SetStyle(gfx::bsClear);
    const int shift = FDropDown ? 2 : 0;
    TRect TR{2 + shift, 2 + shift, Width() - 17 + shift, Height() - 2 + shift};
    DrawItemRules(C, Width(), Height(), TR, AText, true);
    DrawDropArrow3(C, TRect{Width() - 15 + shift, shift, Width() + shift, Height() + shift},
                   C.Font().Color());
}

void TbsSkinCustomComboBox::DrawSkinToolButton(gfx::TBitmap& B, const std::string& AText) {
    GetSkinData();
    const TbsDataSkinButtonControl* rec =
        FIndex == -1 ? nullptr : FirstButtonRecord(FSD, {"resizetoolbutton", "resizebutton"});
    if (!rec) return;
    const bool hot = FMouseIn || Focused();
    TRect src = FDropDown ? rec->DownSkinRect : hot ? rec->ActiveSkinRect : rec->SkinRect;
    if (src.IsEmpty()) src = rec->SkinRect;
    if (src.IsEmpty()) src = rec->ActiveSkinRect;
    if (gfx::TBitmap* picture = RecordPicture(FSD, rec->PictureIndex))
        NineSliceOfRecord(B, *picture, *rec, src, Width(), Height());
    gfx::TCanvas& C = B.Canvas();
    if (UseSkinFont()) {
        C.Font().SetName(rec->FontName);
        C.Font().SetStyle(rec->FontStyle);
        C.Font().SetHeight(rec->FontHeight);
    } else {
        C.Font().Assign(DefaultFont());
    }
    C.Font().SetCharset(TextCharset());
    C.Font().SetColor(FDropDown   ? rec->DownFontColor
                      : hot       ? rec->ActiveFontColor
                      : Enabled() ? rec->FontColor
                                  : rec->DisabledFontColor);
    C.Brush().SetStyle(gfx::bsClear);
    const int shift = FDropDown ? 2 : 0;
    TRect TR{2 + shift, 2 + shift, Width() - 17 + shift, Height() - 2 + shift};
    DrawItemRules(C, Width(), Height(), TR, AText, true);
    const TRect arrow{Width() - 15 + shift, shift, Width() + shift, Height() + shift};
    if (!rec->MenuMarkerRect.IsEmpty() && Picture) {
        TRect marker = rec->MenuMarkerRect;
        if (FDropDown && !rec->MenuMarkerDownRect.IsEmpty())
            marker = rec->MenuMarkerDownRect;
        else if (FDropDown && !rec->MenuMarkerActiveRect.IsEmpty())
            marker = rec->MenuMarkerActiveRect;
        else if (FMouseIn && !rec->MenuMarkerActiveRect.IsEmpty())
            marker = rec->MenuMarkerActiveRect;
        DrawTransparentPart(
            C, *Picture, marker, arrow.Left + arrow.Width() / 2 - marker.Width() / 2,
            arrow.Top + arrow.Height() / 2 - marker.Height() / 2, rec->MenuMarkerTransparentColor);
    } else {
        DrawDropArrow3(C, arrow, FDropDown ? rec->DownFontColor : C.Font().Color());
    }
}

// ---- PaintSkinTo --------------------------------------------------------------------------------

void TbsSkinCustomComboBox::PaintSkinTo(gfx::TCanvas& C, int X, int Y, const std::string& AText) {
    gfx::TBitmap B;
    B.SetSize(Width(), Height());
    GetSkinData();
    CalcRects();
    const std::string saved = Text();
    SetText(AText);
    if (FToolButtonStyle) {
        if (FIndex != -1)
            DrawSkinToolButton(B, AText);
        else
            DrawDefaultToolButton(B, AText);
    } else {
        gfx::TCanvas& BC = B.Canvas();
        if (FIndex == -1 || !Picture) {
            FramedFill(BC, TRect{0, 0, Width(), Height()}, gfx::clBtnShadow, gfx::clBtnFace);
            BC.Brush().SetColor(FDefaultColor);
            BC.FillRect(TRect{2, 2, Width() - 2, Height() - 2});
            DrawButton(BC);
            BC.Font().Assign(DefaultFont());
        } else {
            DrawSkinFrame(B);
            BC.Font().SetStyle(FontStyle);
            BC.Font().SetColor(FontColor);
            BC.Font().SetHeight(FontHeight);
            BC.Font().SetName(FontName);
        }
        BC.Brush().SetStyle(gfx::bsClear);
        const rtl::TStrings& tabs = TabWidths();
        if (tabs.Count() > 0) {
            const int n = std::min(tabs.Count(), 10);
            std::vector<int> stops(std::size_t(n), 0);
            for (int i = 0; i < n; ++i) stops[std::size_t(i)] = TabStopOf(tabs.Get(i));
            BC.TabbedTextOut(CBItem.R.Left + 2,
                             CBItem.R.Top + CBItem.R.Height() / 2 - BC.TextHeight(AText) / 2, AText,
                             n, stops.data(), 0);
        } else {
            DrawTextLeftCentredV(BC, AText, CBItem.R);
        }
    }
    C.Draw(X, Y, B);
    SetText(saved);
}

}  // namespace skin
