// How the skinned page control paints its frame, tab row and tabs, and how its sheets erase
// their background. Every tab is composed lying down in a bitmap of its own, turned or mirrored
// for its side, and drawn with one copy; the tabs that are not selected share one row bitmap,
// and the selected tab is drawn last so a taller picture can reach into the frame.
#include <algorithm>

#include "platform/win/win.h"
#include "skin/controls/page_control.h"
#include "skin/controls/solid_fill.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/saved_dc.h"
#include "skin/core/skin_images.h"

namespace skin {

using vcl::TTabSheet;

namespace {

enum class TTurn { Anticlockwise, Clockwise, Mirror };

// Turns or mirrors a bitmap in place.
void Turn(gfx::TBitmap& b, TTurn how) {
    if (b.Width() <= 0 || b.Height() <= 0) return;
    const TbsEffectBmp src = TbsEffectBmp::CreateFromhWnd(b.Handle());
    const bool quarter = how != TTurn::Mirror;
    TbsEffectBmp dst(quarter ? src.Height() : src.Width(), quarter ? src.Width() : src.Height());
    switch (how) {
        case TTurn::Anticlockwise:
            src.Rotate90_1(dst);
            break;
        case TTurn::Clockwise:
            src.Rotate90_2(dst);
            break;
        case TTurn::Mirror:
            src.FlipVert(dst);
            break;
    }
    b.SetSize(dst.Width(), dst.Height());
    dst.Draw(b.Canvas().Handle(), 0, 0);
}

// Lays piece over (0, 0, w, h) from the top-left corner.
void Tile(gfx::TCanvas& c, gfx::TBitmap& piece, int w, int h) {
    const int pw = piece.Width(), ph = piece.Height();
    if (pw <= 0 || ph <= 0) return;
    for (int y = 0; y < h; y += ph)
        for (int x = 0; x < w; x += pw) c.Draw(x, y, piece);
}

// Picture `s` of a nine-slice source at w x h, with fixed ends of left / right pixels and top
// and bottom margins of m.
void NineSliceTab(gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& s, int w, int h, int left,
                  int right, int m, bool stretch) {
    const TPoint lt{left, m}, rt{s.Width() - right, m}, lb{left, s.Height() - m},
        rb{s.Width() - right, s.Height() - m};
    const TRect cl{left, m, s.Width() - right, s.Height() - m};
    const int dx = w - s.Width(), dy = h - s.Height();
    dest.SetSize(w, h);
    BuildNineSliceImage(lt, rt, lb, rb, cl, lt, {rt.X + dx, rt.Y}, {lb.X, lb.Y + dy},
                        {rb.X + dx, rb.Y + dy}, {cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy},
                        dest, source, s, w, h, true, stretch, stretch, stretch, stretch, stretch,
                        bsstFull);
}

// The caption and image centred together as one block, moved down by offset.
void DrawTabImageAndText(gfx::TCanvas& c, int w, int h, int offset, bool enabled, int index,
                         vcl::TCustomImageList* images, const std::string& caption) {
    int tw = caption.empty() ? 0 : c.TextWidth(caption) + 2;
    const int th = c.TextHeight(caption.empty() ? std::string("W") : caption);
    const int iw = images ? images->Width() : 0, ih = images ? images->Height() : 0;
    const int x0 = w / 2 - (tw + iw + 2) / 2;
    if (images) images->Draw(c, x0, h / 2 + offset - ih / 2, index, enabled);
    if (tw == 0) return;
    TRect r = gfx::Bounds(x0 + iw + 2, h / 2 + offset - th / 2, tw, th);
    c.Brush().SetStyle(gfx::bsClear);
    c.DrawText(caption, r,
               gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
}

}  // namespace

// --- Frame -------------------------------------------------------------------------------------

TRect TbsSkinPageControl::DisplayArea() {
    return DisplayRect();
}

TRect TbsSkinPageControl::FrameRect(const TRect& d) const {
    return {d.Left - ClRect.Left, d.Top - ClRect.Top, d.Right + (SkinRect.Width() - ClRect.Right),
            d.Bottom + (SkinRect.Height() - ClRect.Bottom)};
}

void TbsSkinPageControl::PaintWindow(gfx::HDC DC) {
    if (Width() <= 0 || Height() <= 0) return;
    ReadSkinRecord();
    TSavedDC saved(DC);
    gfx::TCanvas c(DC);
    c.Font().Assign(Font());
    if (FIndex < 0)
        PaintDefaultFrame(c);
    else
        PaintSkinFrame(c);
    DrawTabs(c);
    c.SetHandle(nullptr);
}

void TbsSkinPageControl::PaintDefaultFrame(gfx::TCanvas& C) {
    FillSolid(C, ClientRect(), gfx::clBtnFace);
    if (FHideBorder) return;
    const TRect d = DisplayArea();
    FrameSolid(C, {d.Left - 1, d.Top - 1, d.Right + 1, d.Bottom + 1}, gfx::clBtnShadow);
}

TRect TbsSkinPageControl::SelectedTabArea() {
    const int tab = TabIndex();
    if (tab < 0 || tab >= PageCount() || VisibleTabCount() == 0 || !ActivePage()) return {};
    TRect r = TabRectOf(tab);
    const int d = FIndex >= 0 ? ActiveTabRect.Height() - TabRect.Height() : 0;
    switch (TabPosition()) {
        case vcl::tpTop:
            r.Bottom += d;
            break;
        case vcl::tpBottom:
            r.Top -= d;
            break;
        case vcl::tpLeft:
            r.Right += d;
            break;
        case vcl::tpRight:
            r.Left -= d;
            break;
    }
    return r;
}

void TbsSkinPageControl::PaintSkinFrame(gfx::TCanvas& C) {
    if (FHideBorder || !Picture) return;
    const TRect fr = FrameRect(DisplayArea());
    const int dx = fr.Width() - SkinRect.Width(), dy = fr.Height() - SkinRect.Height();
    gfx::TBitmap left, top, right, bottom;
    BuildSkinBorderImages(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint,
                          {RTPoint.X + dx, RTPoint.Y}, {LBPoint.X, LBPoint.Y + dy},
                          {RBPoint.X + dx, RBPoint.Y + dy},
                          {ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy}, left,
                          top, right, bottom, *Picture, SkinRect, fr.Width(), fr.Height(),
                          LeftStretch, TopStretch, RightStretch, BottomStretch);
    TSavedDC saved(C.Handle());
    if (!FHideTabs) {
        const TRect sel = SelectedTabArea();
        if (!sel.IsEmpty())
            gfx::ExcludeClipRect(C.Handle(), sel.Left, sel.Top, sel.Right, sel.Bottom);
    }
    C.Draw(fr.Left, fr.Top, top);
    C.Draw(fr.Left, fr.Top + top.Height(), left);
    C.Draw(fr.Left + fr.Width() - right.Width(), fr.Top + top.Height(), right);
    C.Draw(fr.Left, fr.Top + fr.Height() - bottom.Height(), bottom);
}

// --- Tabs --------------------------------------------------------------------------------------

void TbsSkinPageControl::DrawTabs(gfx::TCanvas& C) {
    if (FHideTabs || PageCount() == 0) return;
    const int n = VisibleTabCount(), selected = TabIndex();
    if (FIndex < 0) {
        for (int i = 0; i < n; ++i)
            DrawTab(i, TabRectOf(i), C, i == FActiveTabIndex, i == selected);
        return;
    }
    const TRect fr = FrameRect(DisplayArea());
    TRect row;
    switch (TabPosition()) {
        case vcl::tpTop:
            row = {0, 0, Width(), fr.Top};
            break;
        case vcl::tpBottom:
            row = {0, fr.Bottom, Width(), Height()};
            break;
        case vcl::tpLeft:
            row = {0, 0, fr.Left, Height()};
            break;
        case vcl::tpRight:
            row = {fr.Right, 0, Width(), Height()};
            break;
    }
    if (!row.IsEmpty()) {
        gfx::TBitmap b;
        b.SetSize(row.Width(), row.Height());
        if (FTabsBGTransparent) {
            PaintParentBackdropRect(this, row, b.Canvas());
        } else if (Picture) {
            TRect bg = TabsBGRect;
            if (bg.IsEmpty()) bg = ClRect.Offset(SkinRect.Left, SkinRect.Top);
            gfx::TBitmap piece;
            piece.SetSize(bg.Width(), bg.Height());
            CopyPiece(piece, *Picture, {0, 0, bg.Width(), bg.Height()}, bg);
            Tile(b.Canvas(), piece, b.Width(), b.Height());
        } else {
            FillSolid(b.Canvas(), {0, 0, b.Width(), b.Height()}, gfx::clBtnFace);
        }
        for (int i = 0; i < n; ++i)
            if (i != selected)
                DrawTab(i, TabRectOf(i).Offset(-row.Left, -row.Top), b.Canvas(),
                        i == FActiveTabIndex, false);
        TSavedDC saved(C.Handle());
        const TRect sel = SelectedTabArea();
        if (!sel.IsEmpty())
            gfx::ExcludeClipRect(C.Handle(), sel.Left, sel.Top, sel.Right, sel.Bottom);
        C.Draw(row.Left, row.Top, b);
    }
    if (selected < 0 || selected >= n) return;
    TRect r = TabRectOf(selected);
    const int d = ActiveTabRect.Height() - TabRect.Height();
    if (d != 0) {
        if (TabPosition() == vcl::tpBottom) r = r.Offset(0, -d);
        if (TabPosition() == vcl::tpRight) r = r.Offset(-d, 0);
    }
    DrawTab(selected, r, C, selected == FActiveTabIndex, true);
}

void TbsSkinPageControl::DrawTab(int visibleIndex, const TRect& R, gfx::TCanvas& C, bool hovered,
                                 bool selected) {
    if (FHideTabs) return;
    TTabSheet* page = VisiblePage(visibleIndex);
    if (!page) return;
    auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(page);
    const std::string caption = page->Caption();
    const bool image = FImages && page->ImageIndex() >= 0 && page->ImageIndex() < FImages->Count();
    const vcl::TTabPosition pos = TabPosition();
    const bool side = pos == vcl::tpLeft || pos == vcl::tpRight;
    const int W = side ? R.Height() : R.Width(), H = side ? R.Width() : R.Height();
    if (W <= 0 || H <= 0) return;
    const bool focused = Focused();
    const bool record = FIndex >= 0 && Picture;
    TbsResourceStrData* strings = FSD ? FSD->ResourceStrData() : nullptr;

    gfx::TBitmap b;
    gfx::TColor fontColor = gfx::clBtnText;
    if (!record) {
        b.SetSize(W, H);
        gfx::TCanvas& c = b.Canvas();
        const TRect p{0, 0, W, H};
        if (hovered && !selected) {
            FillSolid(c, p, kNoSkin.HotFill);
        } else if (!selected) {
            FillSolid(c, p, gfx::clBtnFace);
        } else {
            FillSolid(c, p, gfx::clNavy);
            FillSolid(c, {1, 1, W - 1, H - 1}, focused ? kNoSkin.DownFill : kNoSkin.HotFill);
        }
        c.Font().Assign(Font());
        if (strings) c.Font().SetCharset(strings->CharSet());
        fontColor = Font().Color();
    } else {
        TRect s = TabRect;
        if (hovered && !selected && !MouseInTabRect.IsEmpty())
            s = MouseInTabRect;
        else if (selected && focused)
            s = FocusTabRect;
        else if (selected)
            s = ActiveTabRect;
        if (TabHeight() > 0) {
            int extra = 0;
            if (selected && ActiveTabRect.Height() > TabRect.Height())
                extra = ActiveTabRect.Height() - TabRect.Height();
            else if (selected && focused && FocusTabRect.Height() > TabRect.Height())
                extra = FocusTabRect.Height() - TabRect.Height();
            NineSliceTab(b, *Picture, s, W, H + extra, TabLeftOffset, TabRightOffset,
                         TabRect.Height() / 4, TabStretchEffect);
        } else {
            b.SetSize(W, s.Height());
            BuildHorzSkinStrip(TabLeftOffset, TabRightOffset, b, *Picture, s, W, s.Height(),
                               TabStretchEffect);
        }
        if (pos == vcl::tpBottom) Turn(b, TTurn::Mirror);
        gfx::TFont& f = b.Canvas().Font();
        if (FUseSkinFont) {
            f.SetName(FontName);
            f.SetStyle(FontStyle);
            f.SetHeight(FontHeight);
        } else {
            f.Assign(Font());
        }
        f.SetCharset(strings ? strings->CharSet() : Font().Charset());
        fontColor = hovered && !selected  ? MouseInFontColor
                    : selected && focused ? FocusFontColor
                    : !selected           ? FontColor
                                          : ActiveFontColor;
    }
    if (side && FTextInHorizontal)
        Turn(b, pos == vcl::tpLeft ? TTurn::Anticlockwise : TTurn::Clockwise);
    gfx::TCanvas& c = b.Canvas();
    c.Font().SetColor(fontColor);
    c.Brush().SetStyle(gfx::bsClear);
    TRect p{0, 0, b.Width(), b.Height()};

    if (record && ShowFocus && focused && selected) {
        DrawDotFrame(c, {p.Left + FocusOffsetX, p.Top + FocusOffsetY, p.Right - FocusOffsetX,
                         p.Bottom - FocusOffsetY});
        c.Brush().SetStyle(gfx::bsClear);
    }
    int offset = 0;
    if (record && TabRect.Height() != ActiveTabRect.Height() && !selected)
        offset = pos == vcl::tpTop || pos == vcl::tpLeft ? 2 : -2;
    p.Top += offset;

    const int closeRoom = FShowCloseButtons ? FCloseSize + 2 : 0;
    const int cut = record ? closeRoom + (closeRoom ? 3 : 0) : closeRoom;
    if (OnDrawSkinTab) {
        OnDrawSkinTab(page->PageIndex(), {0, 0, W, H}, selected, hovered, c);
    } else if (image || FTabExtendedDraw) {
        const TRect text{p.Left, p.Top, p.Right - closeRoom, p.Bottom};
        if (FTabExtendedDraw) {
            PaintGlyphTextFromList(c, text, FTabMargin, FTabSpacing, FTabLayout, caption,
                                   page->ImageIndex(), FImages, false, page->Enabled(), false, 0);
        } else {
            DrawTabImageAndText(c, text.Width(), b.Height(), offset, page->Enabled(),
                                page->ImageIndex(), FImages, caption);
        }
        p.Right -= cut;
    } else {
        p.Right -= cut;
        TRect t = p;
        c.DrawText(caption, t,
                   gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    }

    if (FShowCloseButtons && sheet) {
        if (!hovered) sheet->ButtonMouseIn = false;
        DrawCloseButton(c, {p.Right, p.Top, b.Width(), p.Bottom}, b.Height(), b.Width(), page);
    }
    if (side && !FTextInHorizontal)
        Turn(b, pos == vcl::tpLeft ? TTurn::Anticlockwise : TTurn::Clockwise);
    C.Draw(R.Left, R.Top, b);
}

void TbsSkinPageControl::DrawCloseButton(gfx::TCanvas& C, const TRect& B, int pictureHeight,
                                         int pictureWidth, TTabSheet* page) {
    auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(page);
    if (!sheet) return;
    const int cy = B.Top + B.Height() / 2;
    TRect box;
    if (FIndex < 0 || !Picture) {
        box = gfx::Bounds(B.Left, cy - 7, 14, 14);
        DrawCloseGlyph(C, box.Left + 2, box.Top + 2,
                       sheet->ButtonMouseIn ? gfx::clWhite : gfx::clBlack);
    } else if (CloseButtonRect.IsEmpty()) {
        const int index = FSD->GetControlIndex("resizetoolbutton");
        const auto* rec =
            index >= 0 ? dynamic_cast<const TbsDataSkinButtonControl*>(FSD->CtrlList[index].get())
                       : nullptr;
        const int pictures = int(FSD->FActivePictures.size());
        if (!rec || rec->PictureIndex < 0 || rec->PictureIndex >= pictures) {
            sheet->ButtonRect = {};
            return;
        }
        gfx::TBitmap& source = *FSD->FActivePictures[rec->PictureIndex];
        const TRect active = rec->ActiveSkinRect.IsEmpty() ? rec->SkinRect : rec->ActiveSkinRect;
        const TRect down = rec->DownSkinRect.IsEmpty() ? active : rec->DownSkinRect;
        const bool pressed = sheet->ButtonMouseDown && sheet->ButtonMouseIn;
        const TRect s = pressed ? down : sheet->ButtonMouseIn ? active : rec->SkinRect;
        const gfx::TColor color = pressed                ? rec->DownFontColor
                                  : sheet->ButtonMouseIn ? rec->ActiveFontColor
                                                         : rec->FontColor;
        const int w = FCloseSize, h = FCloseSize;
        const int dx = w - rec->SkinRect.Width(), dy = h - rec->SkinRect.Height();
        gfx::TBitmap b;
        b.SetSize(w, h);
        BuildNineSliceImage(
            rec->LTPoint, rec->RTPoint, rec->LBPoint, rec->RBPoint, rec->ClRect, rec->LTPoint,
            {rec->RTPoint.X + dx, rec->RTPoint.Y}, {rec->LBPoint.X, rec->LBPoint.Y + dy},
            {rec->RBPoint.X + dx, rec->RBPoint.Y + dy},
            {rec->ClRect.Left, rec->ClRect.Top, rec->ClRect.Right + dx, rec->ClRect.Bottom + dy}, b,
            source, s, w, h, true, rec->LeftStretch, rec->TopStretch, rec->RightStretch,
            rec->BottomStretch, rec->StretchEffect, rec->StretchType);
        DrawCloseGlyph(b.Canvas(), w / 2 - 5, h / 2 - 5, color);
        box = gfx::Bounds(B.Left, cy - h / 2, w, h);
        C.Draw(box.Left, box.Top, b);
    } else {
        const bool pressed = sheet->ButtonMouseDown && sheet->ButtonMouseIn;
        const TRect s = pressed                ? CloseButtonDownRect
                        : sheet->ButtonMouseIn ? ClosebuttonActiveRect
                                               : CloseButtonRect;
        gfx::TBitmap b;
        b.SetSize(s.Width(), s.Height());
        CopyPiece(b, *Picture, {0, 0, s.Width(), s.Height()}, s);
        if (ButtonTransparent) {
            b.SetTransparentColor(ButtonTransparentColor);
            b.SetTransparent(true);
        }
        box = gfx::Bounds(B.Left, cy - s.Height() / 2, s.Width(), s.Height());
        C.Draw(box.Left, box.Top, b);
    }
    const int W = pictureWidth, H = pictureHeight;
    if (TabPosition() == vcl::tpLeft && !FTextInHorizontal)
        box = {box.Top, W - box.Right, box.Bottom, W - box.Left};
    else if (TabPosition() == vcl::tpRight && !FTextInHorizontal)
        box = {H - box.Bottom, box.Left, H - box.Top, box.Right};
    sheet->ButtonRect = box;
}

// --- Backgrounds -------------------------------------------------------------------------------

bool TbsSkinPageControl::ClientPiece(gfx::TBitmap& piece) {
    if (!FSD) return false;
    if (BGPictureIndex >= 0) {
        if (BGPictureIndex >= int(FSD->FActivePictures.size())) return false;
        piece.Assign(*FSD->FActivePictures[BGPictureIndex]);
        return !piece.Empty();
    }
    if (!Picture || ClRect.IsEmpty()) return false;
    const TRect s = ClRect.Offset(SkinRect.Left, SkinRect.Top);
    piece.SetSize(s.Width(), s.Height());
    CopyPiece(piece, *Picture, {0, 0, s.Width(), s.Height()}, s);
    return true;
}

// Over (0, 0, width, height): by StretchType when stretching, else tiled.
void TbsSkinPageControl::DrawBackgroundPicture(gfx::TCanvas& C, gfx::TBitmap& piece, int width,
                                               int height, bool stretch) {
    const int pw = piece.Width(), ph = piece.Height();
    if (pw <= 0 || ph <= 0) return;
    if (!stretch) {
        Tile(C, piece, width, height);
        return;
    }
    switch (StretchType) {
        case bsstFull:
            C.StretchDraw({0, 0, width, height}, piece);
            break;
        case bsstHorz:
            for (int x = 0; x < width; x += pw) C.StretchDraw({x, 0, x + pw, height}, piece);
            break;
        case bsstVert:
            for (int y = 0; y < height; y += ph) C.StretchDraw({0, y, width, y + ph}, piece);
            break;
    }
}

void TbsSkinPageControl::PaintClientBackground(gfx::HDC DC) {
    if (!DC) return;
    gfx::TBitmap piece;
    if (!ClientPiece(piece)) return;
    gfx::TCanvas c(DC);
    DrawBackgroundPicture(c, piece, Width(), Height(), StretchEffect);
    c.SetHandle(nullptr);
}

void TbsSkinCustomTabSheet::PaintBG(gfx::HDC DC) {
    if (!DC || Width() < 1 || Height() < 1 || !Parent()) return;
    TbsSkinPageControl* pc = SkinPageControl();
    gfx::TCanvas c(DC);
    if (!FWallPaper.Empty()) {
        Tile(c, FWallPaper, Width(), Height());
    } else if (!pc) {
        FillSolid(c, ClientRect(), gfx::clBtnFace);
    } else {
        pc->ReadSkinRecord();
        const bool skin = pc->SkinData() && !pc->SkinData()->Empty && pc->FIndex >= 0;
        gfx::TBitmap piece;
        if (skin && pc->BGPictureIndex != -1) {
            if (pc->ClientPiece(piece))
                pc->DrawBackgroundPicture(c, piece, Width(), Height(), pc->StretchEffect);
        } else if (pc->FIndex < 0) {
            FillSolid(c, ClientRect(), gfx::clBtnFace);
        } else if (pc->ClientPiece(piece)) {
            if (pc->StretchEffect)
                pc->DrawBackgroundPicture(c, piece, pc->Width(), pc->Height(), true);
            else
                Tile(c, piece, Width(), Height());
        } else {
            FillSolid(c, ClientRect(), gfx::clBtnFace);
        }
    }
    c.SetHandle(nullptr);
}

}  // namespace skin
