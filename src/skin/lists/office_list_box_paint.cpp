// How the office list paints its background and rows, in the default look (system colours) and
// the skinned look (the "listbox" record for rows, "menuheader" or "label" for headers).
#include <algorithm>

#include "platform/gfx/dc.h"
#include "platform/gfx/text.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/saved_dc.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"
#include "skin/lists/office_list_box.h"

namespace skin {

namespace {

template <class TRecord>
const TRecord* RecordNamed(TbsSkinData* sd, std::string_view name) {
    if (!sd || sd->Empty) return nullptr;
    const int i = sd->GetControlIndex(name);
    if (i < 0) return nullptr;
    return dynamic_cast<const TRecord*>(sd->CtrlList[std::size_t(i)].get());
}

gfx::TFontCharset CharsetFor(TbsSkinData* sd, const gfx::TFont& fallback) {
    return sd && sd->ResourceStrData() ? sd->ResourceStrData()->CharSet() : fallback.Charset();
}

void DrawBottomLine(gfx::TCanvas& C, const TRect& r, gfx::TColor color) {
    const gfx::TColor old = C.Pen().Color();
    C.Pen().SetColor(color);
    C.MoveTo(r.Left, r.Bottom - 1);
    C.LineTo(r.Right, r.Bottom - 1);
    C.Pen().SetColor(old);
}

}  // namespace

void TbsSkinOfficeListBox::CreateControlDefaultImage(gfx::TBitmap& B) {
    gfx::TCanvas& C = B.Canvas();
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(gfx::clBtnShadow);
    C.FrameRect(TRect{0, 0, Width(), Height()});
    C.Brush().SetColor(gfx::clWindow);
    C.FillRect(TRect{2, 2, Width() - 2, Height() - 2});
    DrawRows(C);
}

void TbsSkinOfficeListBox::CreateControlSkinImage(gfx::TBitmap& B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    DrawRows(B.Canvas());
}

void TbsSkinOfficeListBox::DrawRows(gfx::TCanvas& C) {
    CalcItemRects();
    TSavedDC saved(C.Handle());
    gfx::IntersectClipRect(C.Handle(), FItemsRect.Left, FItemsRect.Top, FItemsRect.Right,
                           FItemsRect.Bottom);
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->IsVisible) DrawItem(i, C);
}

void TbsSkinOfficeListBox::DrawItem(int Index, gfx::TCanvas& Cnvs) {
    if (FIndex == -1)
        DefaultDrawItem(Index, Cnvs);
    else
        SkinDrawItem(Index, Cnvs);
}

void TbsSkinOfficeListBox::DrawItemContent(gfx::TCanvas& C, int Index, TRect R, bool skinned) {
    TbsSkinOfficeItem* item = FItems->Items(Index);
    if (!item->Title().empty() && FShowItemTitles) {
        const gfx::TFontStyles style = C.Font().Style();
        C.Font().SetStyle(style | gfx::fsBold);
        TRect tr = R;
        tr.Bottom = R.Top + C.TextHeight(item->Title());
        C.DrawText(item->Title(), tr, gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE);
        C.Font().SetStyle(style);
        R.Top = tr.Bottom;
    }
    if (FImages && item->ImageIndex() >= 0 && item->ImageIndex() < FImages->Count()) {
        PaintGlyphTextFromList2(C, R, 0, 2, blGlyphLeft, item->Caption(), item->ImageIndex(),
                                FImages, false, item->Enabled(), false, 0);
        return;
    }
    if (FShowItemTitles) R.Left += 10;
    const unsigned flags = gfx::DT_WORDBREAK | (skinned ? gfx::DT_EXPANDTABS : 0u);
    TRect measure{0, 0, R.Width(), 0};
    C.DrawText(item->Caption(), measure, flags | gfx::DT_CALCRECT);
    const int cw = measure.Width(), ch = measure.Height();
    const int y = std::max(R.Top, R.Top + R.Height() / 2 - ch / 2);
    TRect tr{R.Left, y, R.Left + cw, y + ch};
    C.DrawText(item->Caption(), tr, flags);
}

void TbsSkinOfficeListBox::DefaultDrawItem(int Index, gfx::TCanvas& Cnvs) {
    TbsSkinOfficeItem* item = FItems->Items(Index);
    gfx::TColor back = gfx::clWindow, text = gfx::clWindowText;
    if (item->Header()) {
        back = gfx::clBtnShadow;
        text = gfx::clBtnHighlight;
    } else if (item->Active) {
        back = gfx::clHighlight;
        text = gfx::clHighlightText;
    } else if (!item->Enabled()) {
        text = gfx::RGB(128, 128, 128);
    }
    Cnvs.Font().Assign(DefaultFont());
    Cnvs.Font().SetColor(text);
    const TRect rowRect = item->ItemRect;
    TRect R = rowRect;
    {
        TSavedDC saved(Cnvs.Handle());
        gfx::IntersectClipRect(Cnvs.Handle(), R.Left, R.Top, R.Right, R.Bottom);
        Cnvs.Brush().SetStyle(gfx::bsSolid);
        Cnvs.Brush().SetColor(back);
        Cnvs.FillRect(R);
        Cnvs.Brush().SetStyle(gfx::bsClear);
        R = TRect{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
        if (item->Header()) {
            Cnvs.DrawText(item->Caption(), R,
                          gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
        } else if (OnDrawItem) {
            Cnvs.Brush().SetStyle(gfx::bsClear);
            const TbsDrawSkinOfficeItemEvent handler = OnDrawItem;
            handler(Cnvs, Index, rowRect);
        } else {
            DrawItemContent(Cnvs, Index, R, false);
        }
    }
    if (FShowLines && !item->Header()) DrawBottomLine(Cnvs, rowRect, gfx::clBtnFace);
    if (item->Active && Focused()) {
        Cnvs.Brush().SetStyle(gfx::bsSolid);
        Cnvs.DrawFocusRect(rowRect);
    }
}

void TbsSkinOfficeListBox::SkinDrawItem(int Index, gfx::TCanvas& Cnvs) {
    TbsSkinOfficeItem* item = FItems->Items(Index);
    if (item->Header()) {
        SkinDrawHeaderItem(Index, Cnvs);
        return;
    }
    const auto* rec = RecordNamed<TbsDataSkinListBox>(FSD, "listbox");
    if (!rec) return;
    const TRect rowRect = item->ItemRect;
    TRect R{rowRect.Left + 2, rowRect.Top + 2, rowRect.Right - 2, rowRect.Bottom - 2};
    Cnvs.Brush().SetStyle(gfx::bsClear);
    // A skin whose disabled colour is black would make disabled rows look enabled.
    if (rec->FontColor == FDisabledFontColor && FDisabledFontColor == 0)
        FDisabledFontColor = gfx::RGB(128, 128, 128);
    const auto selectFont = [&](gfx::TFont& font) {
        if (UseSkinFont()) {
            font.SetName(rec->FontName);
            font.SetHeight(rec->FontHeight);
            font.SetStyle(rec->FontStyle);
        } else {
            font.Assign(DefaultFont());
        }
        font.SetCharset(CharsetFor(FSD, DefaultFont()));
    };
    selectFont(Cnvs.Font());
    if (!item->Enabled())
        Cnvs.Font().SetColor(FDisabledFontColor);
    else if (SkinDataName() == "listbox" || SkinDataName() == "memo")
        Cnvs.Font().SetColor(rec->FontColor);
    else
        Cnvs.Font().SetColor(FSD->SkinColors()->cBtnText);

    if (item->Active && item->Enabled()) {
        const bool focused = Focused();
        gfx::TBitmap b;
        b.SetSize(rowRect.Width(), rowRect.Height());
        if (Picture)
            BuildNineSliceFromRect(b, *Picture, focused ? rec->FocusItemRect : rec->ActiveItemRect,
                                   rec->ItemTextRect, true);
        gfx::TCanvas& bc = b.Canvas();
        selectFont(bc.Font());
        bc.Font().SetColor(focused ? rec->FocusFontColor : rec->ActiveFontColor);
        const TRect br{2, 2, b.Width() - 2, b.Height() - 2};
        bc.Brush().SetStyle(gfx::bsClear);
        if (OnDrawItem) {
            const TbsDrawSkinOfficeItemEvent handler = OnDrawItem;
            handler(bc, Index, br);
        } else {
            DrawItemContent(bc, Index, br, true);
        }
        Cnvs.Draw(rowRect.Left, rowRect.Top, b);
        return;
    }
    {
        TSavedDC saved(Cnvs.Handle());
        gfx::IntersectClipRect(Cnvs.Handle(), rowRect.Left, rowRect.Top, rowRect.Right,
                               rowRect.Bottom);
        if (OnDrawItem) {
            Cnvs.Brush().SetStyle(gfx::bsClear);
            const TbsDrawSkinOfficeItemEvent handler = OnDrawItem;
            handler(Cnvs, Index, R);
        } else {
            DrawItemContent(Cnvs, Index, R, true);
        }
    }
    if (FShowLines) DrawBottomLine(Cnvs, rowRect, FSD->SkinColors()->cBtnShadow);
}

void TbsSkinOfficeListBox::SkinDrawHeaderItem(int Index, gfx::TCanvas& Cnvs) {
    const TbsDataSkinLabelControl* rec = RecordNamed<TbsDataSkinLabelControl>(FSD, "menuheader");
    if (!rec) rec = RecordNamed<TbsDataSkinLabelControl>(FSD, "label");
    if (!rec) return;
    TbsSkinOfficeItem* item = FItems->Items(Index);
    const TRect rowRect = item->ItemRect;
    gfx::TBitmap b;
    b.SetSize(rowRect.Width(), rowRect.Height());
    if (gfx::TBitmap* picture = PictureAt(*FSD, rec->PictureIndex))
        BuildNineSliceFromRect(b, *picture, rec->SkinRect, rec->ClRect, true);
    gfx::TCanvas& bc = b.Canvas();
    bc.Font().SetName(rec->FontName);
    bc.Font().SetColor(rec->FontColor);
    bc.Font().SetHeight(rec->FontHeight);
    bc.Font().SetStyle(rec->FontStyle);
    bc.Brush().SetStyle(gfx::bsClear);
    TRect tr{1, 1, b.Width() - 1, b.Height() - 1};
    bc.DrawText(item->Caption(), tr, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
    Cnvs.Draw(rowRect.Left, rowRect.Top, b);
}

}  // namespace skin
