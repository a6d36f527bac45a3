// Painting of the skinned list box: the inner list's rows (default, stretched and strip
// painters) and background, and the frame with its caption bar and buttons.
#include <algorithm>
#include <vector>

#include "platform/gfx/dc.h"
#include "platform/win/scroll_info.h"
#include "platform/win/win.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/lists/list_box.h"

namespace skin {

using namespace vcl;

namespace {

int WidthOf(const TRect& r) {
    return r.Right - r.Left;
}
int HeightOf(const TRect& r) {
    return r.Bottom - r.Top;
}
bool EmptyRect(const TRect& r) {
    return WidthOf(r) <= 0 || HeightOf(r) <= 0;
}
[[nodiscard]] TRect Moved(const TRect& r, int dx, int dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

// A tab stop line counts only when it is all digits; anything else gives 0.
int TabStopOf(const std::string& line) {
    if (line.empty() || line.find_first_not_of("01234567890") != std::string::npos) return 0;
    try {
        return std::stoi(line);
    } catch (...) {
        return 0;
    }
}

}  // namespace

// ---- TbsListBox ------------------------------------------------------------------------------

TOwnerDrawState TbsListBox::FullRepaintState(int I) const {
    TOwnerDrawState s;
    if (I == ItemIndex()) {
        s += odSelected;
        if (Focused()) s += odFocused;
    } else if (SelCount() > 0 && Selected(I)) {
        s += odSelected;
    }
    return s;
}

void TbsListBox::DrawSkinTile(gfx::TCanvas& C, const TRect& R) {
    TbsSkinCustomListBox* o = SkinListBox;
    const TRect& cl = o->ClRect;
    if (EmptyRect(R)) return;
    gfx::TBitmap B;
    B.SetSize(WidthOf(R), HeightOf(R));
    if (EmptyRect(cl) || !o->Picture) {
        // A record without a client area has no tile; the plain window colour stands in.
        B.Canvas().Brush().SetColor(gfx::clWindow);
        B.Canvas().FillRect({0, 0, B.Width(), B.Height()});
    } else {
        const int tw = WidthOf(cl), th = HeightOf(cl);
        const TRect src{o->SkinRect.Left + cl.Left, o->SkinRect.Top + cl.Top,
                        o->SkinRect.Left + cl.Right, o->SkinRect.Top + cl.Bottom};
        for (int y = 0; y < B.Height(); y += th)
            for (int x = 0; x < B.Width(); x += tw) {
                const int w = std::min(tw, B.Width() - x), h = std::min(th, B.Height() - y);
                B.Canvas().CopyRect({x, y, x + w, y + h}, o->Picture->Canvas(),
                                    {src.Left, src.Top, src.Left + w, src.Top + h});
            }
    }
    C.Draw(R.Left, R.Top, B);
}

void TbsListBox::PaintBackground(HDC DC) {
    if (!SkinListBox || !DC) return;
    SkinListBox->GetSkinData();
    gfx::TCanvas C;
    C.SetHandle(DC);
    const TRect all{0, 0, Width(), Height()};
    if (SkinListBox->FIndex == -1) {
        C.Brush().SetStyle(gfx::bsSolid);
        C.Brush().SetColor(gfx::clWindow);
        C.FillRect(all);
    } else {
        DrawSkinTile(C, all);
    }
    C.SetHandle(nullptr);
}

void TbsListBox::PaintWindow(HDC DC) {
    if (Width() <= 0 || Height() <= 0 || !SkinListBox) return;
    const int saved = gfx::SaveDC(DC);
    FCanvas.SetHandle(DC);
    FCanvas.Font().Assign(Font());
    const int h = std::max(ItemHeight(), 1);
    int last;
    if (Columns() <= 0)
        last = std::min(TopIndex() + Height() / h, Count() - 1);
    else
        last = std::min(TopIndex() + (Height() / h) * Columns(), Count() - 1);
    int bottom = 0;
    for (int i = TopIndex(); i <= last; ++i) {
        const TRect r = ItemRect(i);
        PaintItem(FCanvas, i, r, FullRepaintState(i));
        bottom = r.Bottom;
    }
    if (Columns() <= 0 && bottom < Height()) {
        SkinListBox->GetSkinData();
        const TRect rest{0, bottom, Width(), Height()};
        if (SkinListBox->FIndex == -1) {
            FCanvas.Brush().SetStyle(gfx::bsSolid);
            FCanvas.Brush().SetColor(gfx::clWindow);
            FCanvas.FillRect(rest);
        } else {
            DrawSkinTile(FCanvas, rest);
        }
    }
    FCanvas.SetHandle(nullptr);
    gfx::RestoreDC(DC, saved);
}

void TbsListBox::PaintItem(gfx::TCanvas& Cnvs, int Index, const TRect& R, TOwnerDrawState State) {
    if (!SkinListBox || Index < 0 || Index > Count() - 1) return;
    if (SkinListBox->FIndex == -1)
        DefaultPaintItem(Cnvs, Index, R, State);
    else if (!SkinListBox->Picture)
        return;
    else if (SkinListBox->FUseSkinItemHeight)
        StripPaintItem(Cnvs, Index, R, State);
    else
        StretchedPaintItem(Cnvs, Index, R, State);
}

void TbsListBox::DefaultPaintItem(gfx::TCanvas& Cnvs, int Index, const TRect& R,
                                  TOwnerDrawState State) {
    TbsSkinCustomListBox* o = SkinListBox;
    gfx::TBitmap B;
    B.SetSize(WidthOf(R), HeightOf(R));
    const TRect BR{0, 0, B.Width(), B.Height()};
    gfx::TCanvas& C = B.Canvas();
    C.Font().Assign(o->Font());
    C.Font().SetCharset(o->ItemCharset());
    const bool selected = State.Contains(odSelected);
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(selected ? gfx::clHighlight : gfx::clWindow);
    C.Font().SetColor(selected ? gfx::clHighlightText : o->Font().Color());
    C.FillRect(BR);
    const TRect T{BR.Left + 2, BR.Top, BR.Right - 2, BR.Bottom};
    if (o->OnDrawItem) {
        o->OnDrawItem(C, Index, B.Width(), B.Height(), T, State);
    } else {
        // The row is filled already; an opaque text cell would paint over the image.
        C.Brush().SetStyle(gfx::bsClear);
        DrawImageAndText(C, Index, T);
    }
    if (State.Contains(odFocused)) {
        C.Brush().SetStyle(gfx::bsSolid);
        C.DrawFocusRect(BR);
    }
    Cnvs.Draw(R.Left, R.Top, B);
}

void TbsListBox::StretchedPaintItem(gfx::TCanvas& Cnvs, int Index, const TRect& R,
                                    TOwnerDrawState State) {
    TbsSkinCustomListBox* o = SkinListBox;
    const int W = WidthOf(R), H = HeightOf(R);
    gfx::TBitmap B;
    B.SetSize(W, H);
    const bool focused = State.Contains(odFocused), selected = State.Contains(odSelected);
    const TRect& pic = focused ? o->FocusItemRect : selected ? o->ActiveItemRect : o->SItemRect;
    const TRect& tr = o->ItemTextRect;
    BuildNineSliceFromRect(B, *o->Picture, pic,
                           {tr.Left + 1, tr.Top + 1, tr.Right - 1, tr.Bottom - 1}, true);
    const TRect T{tr.Left, tr.Top, tr.Right + W - WidthOf(o->SItemRect),
                  tr.Bottom + H - HeightOf(o->SItemRect)};
    gfx::TCanvas& C = B.Canvas();
    o->SelectItemFont(C);
    C.Font().SetColor(focused ? o->FocusFontColor : selected ? o->ActiveFontColor : o->FontColor);
    C.Brush().SetStyle(gfx::bsClear);
    if (o->OnDrawItem) {
        o->OnDrawItem(C, Index, W, HeightOf(o->SItemRect), T, State);
    } else {
        if (focused && o->ShowFocus) DrawDotFrame(C, {0, 0, W, H});
        DrawImageAndText(C, Index, T);
    }
    Cnvs.Draw(R.Left, R.Top, B);
}

void TbsListBox::StripPaintItem(gfx::TCanvas& Cnvs, int Index, const TRect& R,
                                TOwnerDrawState State) {
    TbsSkinCustomListBox* o = SkinListBox;
    const int W = WidthOf(R);
    gfx::TBitmap B;
    const bool focused = State.Contains(odFocused), selected = State.Contains(odSelected);
    gfx::TCanvas& C = B.Canvas();
    const auto strip = [&](const TRect& pic, bool stretch) {
        BuildHorzSkinStrip(o->ItemLeftOffset, o->ItemRightOffset, B, *o->Picture, pic, W,
                           HeightOf(pic), stretch);
    };
    if (focused && !selected) {
        strip(o->SItemRect, o->StretchEffect);
        // The frame takes the canvas's initial text colour.
        C.Font().SetColor(gfx::clWindowText);
        DrawDotFrame(C, {0, 0, B.Width(), B.Height()});
    } else if (focused) {
        strip(o->FocusItemRect, o->StretchEffect);
    } else if (selected) {
        strip(o->ActiveItemRect, o->StretchEffect);
    } else {
        strip(o->SItemRect, false);
    }
    const TRect& tr = o->ItemTextRect;
    const TRect T{tr.Left, tr.Top, tr.Right + W - WidthOf(o->SItemRect), tr.Bottom};
    o->SelectItemFont(C);
    C.Font().SetColor(focused && !selected ? o->FontColor
                      : focused            ? o->FocusFontColor
                      : selected           ? o->ActiveFontColor
                                           : o->FontColor);
    C.Brush().SetStyle(gfx::bsClear);
    if (o->OnDrawItem) {
        o->OnDrawItem(C, Index, B.Width(), B.Height(), T, State);
    } else {
        if (focused && o->ShowFocus) DrawDotFrame(C, {0, 0, B.Width(), B.Height()});
        DrawImageAndText(C, Index, T);
    }
    Cnvs.Draw(R.Left, R.Top, B);
}

void TbsListBox::DrawImageAndText(gfx::TCanvas& C, int Index, const TRect& T) {
    TbsSkinCustomListBox* o = SkinListBox;
    int offset = 0;
    if (TCustomImageList* images = o->FImages) {
        const int index = o->FImageIndex >= 0 ? o->FImageIndex : Index;
        if (index < images->Count())
            images->Draw(C, T.Left - FHorizontalExtentValue,
                         T.Top + HeightOf(T) / 2 - images->Height() / 2, index, true);
        offset = images->Width() + 2;
    }
    const std::string text = Items().Get(Index);
    const rtl::TStrings& tabs = *o->FTabWidths;
    if (tabs.Count() > 0 && Columns() == 0) {
        const int n = std::min(tabs.Count(), 10);
        std::vector<int> stops(std::size_t(n), 0);
        for (int i = 0; i < n; ++i) stops[std::size_t(i)] = TabStopOf(tabs.Get(i));
        C.TabbedTextOut(T.Left + offset + 2, T.Top + HeightOf(T) / 2 - C.TextHeight(text) / 2, text,
                        n, stops.data(), 0);
        return;
    }
    if (text.empty()) return;
    DrawTextLeftCentredVOffset(C, text, T, offset - FHorizontalExtentValue);
}

// ---- TbsSkinCustomListBox --------------------------------------------------------------------

gfx::TFontCharset TbsSkinCustomListBox::ItemCharset() const {
    if (FSD && FSD->ResourceStrData()) return FSD->ResourceStrData()->CharSet();
    return const_cast<TbsSkinCustomListBox*>(this)->DefaultFont().Charset();
}

void TbsSkinCustomListBox::SelectItemFont(gfx::TCanvas& C) {
    if (FIndex == -1) {
        C.Font().Assign(ListBox->Font());
    } else if (UseSkinFont()) {
        C.Font().SetName(FontName);
        C.Font().SetStyle(FontStyle);
        C.Font().SetHeight(FontHeight);
    } else {
        C.Font().Assign(DefaultFont());
    }
    C.Font().SetCharset(ItemCharset());
}

int TbsSkinCustomListBox::CaptionWidth(gfx::TCanvas& C) {
    int w = C.TextWidth(Caption());
    if (!FGlyph.Empty()) w += FGlyph.Width() / std::max(FNumGlyphs, 1) + FSpacing;
    return w;
}

void TbsSkinCustomListBox::DrawCaptionText(gfx::TCanvas& C, const TRect& R, int y, int x) {
    if (!FGlyph.Empty()) {
        if (FNumGlyphs == 0) FNumGlyphs = 1;
        const int frame = !Enabled() && FNumGlyphs == 2 ? 2 : 1;
        const int gw = FGlyph.Width() / FNumGlyphs;
        const int gy = FIndex == -1 ? R.Top + HeightOf(R) / 2 - FGlyph.Height() / 2 - 1
                                    : R.Top + HeightOf(R) / 2 - FGlyph.Height() / 2;
        DrawStripFrame(C, x, gy, FGlyph, FNumGlyphs, frame);
        x += gw + FSpacing;
    }
    C.Brush().SetStyle(gfx::bsClear);
    C.TextRect(R, x, y, Caption());
}

void TbsSkinCustomListBox::CreateControlDefaultImage(gfx::TBitmap& B) {
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    const int W = Width();
    gfx::TCanvas& C = B.Canvas();
    const int s = std::min(17, FDefaultCaptionHeight - 3);
    if (FCaptionMode && FShowCaptionButtons) {
        Buttons[0].R = {W - s - 2, 2, W - 2, s + 1};
        Buttons[1].R = {Buttons[0].R.Left - s, 2, Buttons[0].R.Left, s + 1};
        Buttons[2].R = {Buttons[1].R.Left - s, 2, Buttons[1].R.Left, s + 1};
    }
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(gfx::clBtnShadow);
    C.FrameRect({0, 0, B.Width(), B.Height()});
    if (!FCaptionMode) return;
    const TRect R = FShowCaptionButtons ? TRect{3, 2, W - 3 * s - 3, FDefaultCaptionHeight - 2}
                                        : TRect{3, 2, W - 2, FDefaultCaptionHeight - 2};
    C.Font().Assign(FDefaultCaptionFont);
    if (FSD && FSD->ResourceStrData()) C.Font().SetCharset(FSD->ResourceStrData()->CharSet());
    const int cw = CaptionWidth(C);
    int x = R.Left;
    if (FAlignment == taRightJustify)
        x = R.Right - cw;
    else if (FAlignment == taCenter)
        x = R.Left + WidthOf(R) / 2 - cw / 2;
    const int y = (FDefaultCaptionHeight - 2) / 2 - C.TextHeight(Caption()) / 2;
    DrawCaptionText(C, R, y, x);
    C.Pen().SetColor(gfx::clBtnShadow);
    C.MoveTo(1, FDefaultCaptionHeight - 1);
    C.LineTo(W - 1, FDefaultCaptionHeight - 1);
    if (FShowCaptionButtons)
        for (int i = 0; i < 3; ++i) DrawButton(C, i);
}

void TbsSkinCustomListBox::CreateControlSkinImage(gfx::TBitmap& B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    const int W = Width(), H = Height();
    const int dW = W - WidthOf(SkinRect), dH = H - HeightOf(SkinRect);
    gfx::TCanvas& C = B.Canvas();
    if (!FShowCaptionButtons && !EmptyRect(UpButtonRect) && Picture) {
        if (!EmptyRect(DisabledButtonsRect)) {
            const TRect dest = Moved(ButtonsArea, dW, 0);
            C.CopyRect(dest, Picture->Canvas(), DisabledButtonsRect);
        } else {
            const TRect from{NewLTPoint.X, 0, NewRTPoint.X, NewClRect.Top - 1};
            const TRect to{NewLTPoint.X, 0, W - (WidthOf(SkinRect) - UpButtonRect.Right),
                           NewClRect.Top - 1};
            if (!EmptyRect(from) && !EmptyRect(to)) {
                gfx::TBitmap band;
                band.SetSize(WidthOf(from), HeightOf(from));
                band.Canvas().CopyRect({0, 0, band.Width(), band.Height()}, C, from);
                C.StretchDraw(to, band);
            }
        }
    }
    NewClRect = ClRect;
    NewClRect.Right += dW;
    NewClRect.Bottom += dH;
    if (FCaptionMode) {
        NewCaptionRect = CaptionRect;
        if (FShowCaptionButtons) {
            if (CaptionRect.Right >= RTPt.X) NewCaptionRect.Right += dW;
            const TRect* src[3] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
            for (int i = 0; i < 3; ++i) {
                TRect r = *src[i];
                if (r.Top > LTPt.Y) {
                    r = Moved(r, 0, dH);
                    if (r.Left > RBPt.X) r = Moved(r, dW, 0);
                } else if (r.Left > RTPt.X) {
                    r = Moved(r, dW, 0);
                }
                Buttons[i].R = r;
            }
        } else {
            NewCaptionRect.Right = W - CaptionRect.Left;
            for (TbsCBButtonX& b : Buttons) b.R = {};
        }
    }
    // Outside caption mode the record's caption band stays plain: no caption text, no glyph.
    if (FCaptionMode && !EmptyRect(CaptionRect)) {
        C.Font().SetName(CaptionFontName);
        C.Font().SetHeight(CaptionFontHeight);
        C.Font().SetColor(CaptionFontColor);
        C.Font().SetStyle(CaptionFontStyle);
        C.Font().SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                          : FDefaultCaptionFont.Charset());
        const TRect& R = NewCaptionRect;
        const int cw = CaptionWidth(C);
        const int y = R.Top + HeightOf(R) / 2 - C.TextHeight(Caption()) / 2;
        int x = R.Left + 2;
        if (FAlignment == taRightJustify)
            x = R.Right - cw - 2;
        else if (FAlignment == taCenter)
            x = R.Left + 2 + WidthOf(R) / 2 - cw / 2;
        DrawCaptionText(C, R, y, x);
    }
    if (FCaptionMode && FShowCaptionButtons)
        for (int i = 0; i < 3; ++i) DrawButton(C, i);
}

void TbsSkinCustomListBox::DrawButton(gfx::TCanvas& C, int i) {
    const TbsCBButtonX& b = Buttons[i];
    if (FIndex == -1) {
        C.Brush().SetStyle(gfx::bsSolid);
        if (b.Pressed()) {
            C.Brush().SetColor(kNoSkin.Frame);
            C.FrameRect(b.R);
            C.Brush().SetColor(kNoSkin.DownFill);
            C.FillRect({b.R.Left + 1, b.R.Top + 1, b.R.Right - 1, b.R.Bottom - 1});
        } else if (b.MouseIn) {
            C.Brush().SetColor(kNoSkin.Frame);
            C.FrameRect(b.R);
            C.Brush().SetColor(kNoSkin.HotFill);
            C.FillRect({b.R.Left + 1, b.R.Top + 1, b.R.Right - 1, b.R.Bottom - 1});
        } else {
            C.Brush().SetColor(gfx::clBtnFace);
            C.FillRect(b.R);
        }
        if (i == 0)
            DrawDirArrow(C, b.R, gfx::clBlack, 3);
        else if (i == 1)
            DrawDirArrow(C, b.R, gfx::clBlack, 4);
        else
            DrawCheckMark(C, b.R.Left + 4, b.R.Top + 4, gfx::clBlack);
        return;
    }
    if (EmptyRect(b.R) || !Picture) return;
    const TRect* normal[3] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
    const TRect* hot[3] = {&ActiveUpButtonRect, &ActiveDownButtonRect, &ActiveCheckButtonRect};
    const TRect* down[3] = {&DownUpButtonRect, &DownDownButtonRect, &DownCheckButtonRect};
    TRect pic;
    if (b.Pressed())
        pic = *down[i];
    else if (b.MouseIn)
        pic = *hot[i];
    if (EmptyRect(pic)) pic = Moved(*normal[i], SkinRect.Left, SkinRect.Top);
    C.CopyRect(b.R, Picture->Canvas(), pic);
}

void TbsSkinCustomListBox::DrawButtonNow(int i) {
    if (!HandleAllocated()) return;
    GetSkinData();
    DrawButton(Canvas(), i);
}

}  // namespace skin
