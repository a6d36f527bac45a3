#include "skin/controls/panels.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "skin/controls/label_text.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_messages.h"
#include "skin/core/skin_records.h"

namespace skin {

namespace {

// A piece of a skin picture drawn with its bottom-left colour left out.
void DrawPieceTransparent(gfx::TCanvas& canvas, int x, int y, gfx::TBitmap& picture,
                          const vcl::TRect& piece) {
    if (piece.IsEmpty()) return;
    gfx::TBitmap b;
    b.SetSize(piece.Width(), piece.Height());
    b.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, picture.Canvas(), piece);
    b.SetTransparent(true);
    canvas.Draw(x, y, b);
}

void Line(gfx::TCanvas& c, int x1, int y1, int x2, int y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

// A frame of 1-pixel lines: top and left in one colour, bottom and right in the other.
void Edge(gfx::TCanvas& c, const vcl::TRect& r, gfx::TColor topLeft, gfx::TColor bottomRight) {
    vcl::TRect e = r;
    gfx::Frame3D(c, e, topLeft, bottomRight, 1);
}

}  // namespace

// ---- TbsSkinPanel -------------------------------------------------------------------------------

TbsSkinPanel::TbsSkinPanel(vcl::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FGlyph(std::make_unique<gfx::TBitmap>()) {
    SetControlStyle({vcl::csAcceptsControls, vcl::csCaptureMouse, vcl::csClickEvents,
                     vcl::csSetCaption, vcl::csOpaque, vcl::csDoubleClicks, vcl::csReplicatable});
    SetForcebackGround(true);
    SetBounds(Left(), Top(), 150, 150);
    NewClRect = {};
    SetSkinDataName("panel");
}

TbsSkinPanel::~TbsSkinPanel() = default;

void TbsSkinPanel::CreateParams(vcl::TCreateParams& params) {
    TbsSkinCustomControl::CreateParams(params);
    params.WindowClass.style &= ~(win::CS_HREDRAW | win::CS_VREDRAW);
}

void TbsSkinPanel::SetCaptionMode(bool value) {
    FCaptionMode = value;
    Repaint();
    Realign();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int value) {
    FDefaultCaptionHeight = value;
    if (FIndex == -1 && FCaptionMode) {
        Repaint();
        Realign();
    }
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle value) {
    FBorderStyle = value;
    if (FIndex == -1) {
        Repaint();
        Realign();
    }
}

void TbsSkinPanel::SetDefaultAlignment(vcl::TAlignment value) {
    FDefaultAlignment = value;
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetRollUpMode(bool value) {
    FRollUpMode = value;
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TbsSkinPanel::SetRibbonStyle(bool value) {
    if (FRibbonStyle == value) return;
    FRibbonStyle = value;
    Repaint();
}

void TbsSkinPanel::SetImagePosition(TbsImagePosition value) {
    if (FImagePosition == value) return;
    FImagePosition = value;
    Repaint();
}

void TbsSkinPanel::SetCaptionImageIndex(int value) {
    if (FCaptionImageIndex == value) return;
    FCaptionImageIndex = value;
    Repaint();
}

void TbsSkinPanel::SetCaptionImageList(vcl::TCustomImageList* value) {
    if (FCaptionImageList) FCaptionImageList->RemoveFreeNotification(this);
    FCaptionImageList = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinPanel::SetCheckedMode(bool value) {
    FCheckedMode = value;
    Repaint();
}

void TbsSkinPanel::SetNumGlyphs(int value) {
    FNumGlyphs = std::clamp(value, 1, 2);
    Repaint();
}

void TbsSkinPanel::SetSpacing(int value) {
    FSpacing = value;
    Repaint();
}

void TbsSkinPanel::SetGlyph(const gfx::TBitmap& value) {
    FGlyph->Assign(value);
    Repaint();
}

void TbsSkinPanel::RelayParentBackground() {
    for (int i = 0; i < ControlCount(); ++i) {
        vcl::TControl* c = Controls(i);
        if (auto* w = dynamic_cast<vcl::TWinControl*>(c))
            win::SendMessage(w->Handle(), WM_CHECKPARENTBG, 0, 0);
        else
            c->Perform(WM_CHECKPARENTBG, 0, 0);
    }
}

void TbsSkinPanel::SetTransparentMode(bool value) {
    if (FTransparentMode == value) return;
    FTransparentMode = value;
    Repaint();
    if (!ComponentState().Contains(vcl::csLoading) && !ComponentState().Contains(vcl::csDesigning))
        RelayParentBackground();
}

void TbsSkinPanel::SetChecked(bool value) {
    FChecked = value;
    if (FCheckedMode) Repaint();
    if (FAutoEnabledControls)
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(FChecked);
    if (OnChecked) OnChecked(this);
}

void TbsSkinPanel::SetRollUpState(bool value) {
    if (FRollUpState == value) return;
    vcl::TSizeConstraints& c = Constraints();
    if (!FRollUpMode) {
        // The limits the last roll-up took away come back.
        c.SetMinWidth(FCMinWidth);
        c.SetMinHeight(FCMinHeight);
        c.SetMaxWidth(FCMaxWidth);
        c.SetMaxHeight(FCMaxHeight);
        return;
    }
    FCMinWidth = c.MinWidth();
    FCMinHeight = c.MinHeight();
    FCMaxWidth = c.MaxWidth();
    FCMaxHeight = c.MaxHeight();
    c.SetMinWidth(0);
    c.SetMinHeight(0);
    c.SetMaxWidth(0);
    c.SetMaxHeight(0);
    FRollUpState = value;
    DoRollUp(value);
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TbsSkinPanel::DoRollUp(bool rollUp) {
    FInChangingRollUp = true;
    if (rollUp) {
        if (FRealHeight == -1) {
            FRealHeight = Height();
            DisableAlign();
            for (int i = 0; i < ControlCount(); ++i) Controls(i)->Hide();
            GetSkinData();
            if (FIndex == -1)
                SetHeight(FDefaultCaptionHeight + 1);
            else
                SetHeight(Height() - NewClRect.Height());
        }
    } else if (FRealHeight != -1) {
        SetHeight(FRealHeight);
        FRealHeight = -1;
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->Show();
        EnableAlign();
    }
    FInChangingRollUp = false;
}

bool TbsSkinPanel::CanAutoSize(int& newWidth, int& newHeight) {
    if (FRollUpMode && AutoSize() && FInChangingRollUp) return false;
    return TbsSkinCustomControl::CanAutoSize(newWidth, newHeight);
}

void TbsSkinPanel::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

vcl::TRect TbsSkinPanel::GetSkinClientRect() {
    vcl::TRect r{0, 0, Width(), Height()};
    AdjustClientRect(r);
    return r;
}

void TbsSkinPanel::AdjustClientRect(vcl::TRect& r) {
    TbsSkinCustomControl::AdjustClientRect(r);
    if (FIndex == -1 || ComponentState().Contains(vcl::csDesigning)) {
        if (FBorderStyle != bvNone) r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        if (FCaptionMode) {
            if (FRibbonStyle)
                r.Bottom -= FDefaultCaptionHeight;
            else
                r.Top += FDefaultCaptionHeight;
        }
        return;
    }
    if (BGPictureIndex != -1) return;
    if (FBorderStyle == bvNone && !FCaptionMode && ResizeMode == 1) return;
    r = NewClRect;
}

void TbsSkinPanel::SetBounds(int left, int top, int width, int height) {
    TbsSkinCustomControl::SetBounds(left, top, width, height);
    if (FIndex == -1) Repaint();
}

void TbsSkinPanel::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (!FRollUpState || FRealHeight == -1) {
        Realign();
        return;
    }
    // Still rolled up, now to the new skin's caption: measured at the height to return to, so
    // the roll-up depends on nothing but the record (the children stay hidden, alignment off).
    FInChangingRollUp = true;
    if (FIndex == -1) {
        SetHeight(FDefaultCaptionHeight + 1);
    } else {
        int width = Width(), height = FRealHeight;
        FitSkinSize(width, height);
        SetHeight(FRealHeight - NewClRect.Height());
    }
    FInChangingRollUp = false;
}

void TbsSkinPanel::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case vcl::CM_ENABLEDCHANGED:
            TbsSkinCustomControl::Dispatch(m);
            Repaint();
            return;
        case vcl::CM_TEXTCHANGED:
            if (FCaptionMode) Repaint();
            return;
        case win::WM_MOVE:
            TbsSkinCustomControl::Dispatch(m);
            if (FTransparentMode) {
                Repaint();
                RelayParentBackground();
            }
            return;
        case WM_CHECKPARENTBG:
            // A relay down the tree: transparent panels show what moved behind them.
            if (FTransparentMode) {
                Repaint();
                RelayParentBackground();
            }
            return;
        default:
            TbsSkinCustomControl::Dispatch(m);
    }
}

void TbsSkinPanel::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (FIndex == -1) return;
    auto* r = dynamic_cast<TbsDataSkinPanelControl*>(SkinData()->CtrlList[FIndex].get());
    if (!r) return;
    CaptionRect = r->CaptionRect;
    Alignment = r->Alignment;
    FontName = r->FontName;
    FontColor = r->FontColor;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    BGPictureIndex = r->BGPictureIndex;
    CheckImageRect = r->CheckImageRect;
    UnCheckImageRect = r->UnCheckImageRect;
    MarkFrameRect = r->MarkFrameRect;
    FrameRect = r->FrameRect;
    FrameTextRect = r->FrameTextRect;
    FrameLeftOffset = r->FrameLeftOffset;
    FrameRightOffset = r->FrameRightOffset;
}

void TbsSkinPanel::SelectCaptionFont(gfx::TFont& font) {
    if (FIndex != -1 && UseSkinFont()) {
        font.SetName(FontName);
        font.SetStyle(FontStyle);
        font.SetHeight(FontHeight);
    } else {
        font.Assign(DefaultFont());
    }
    if (FIndex != -1) font.SetColor(FontColor);
    font.SetCharset(SkinCharset(SkinData(), DefaultFont()));
}

void TbsSkinPanel::DoPanelPaint(gfx::TCanvas&) {}

bool TbsSkinPanel::HasCaptionPicture() {
    if (!FGlyph->Empty()) return true;
    return FCaptionImageList && FCaptionImageIndex >= 0 &&
           FCaptionImageIndex < FCaptionImageList->Count();
}

int TbsSkinPanel::CaptionPictureWidth() {
    if (!FGlyph->Empty()) return FGlyph->Width() / FNumGlyphs;
    return HasCaptionPicture() ? FCaptionImageList->Width() : 0;
}

int TbsSkinPanel::CaptionPictureHeight() {
    if (!FGlyph->Empty()) return FGlyph->Height();
    return HasCaptionPicture() ? FCaptionImageList->Height() : 0;
}

void TbsSkinPanel::DrawCaptionPicture(gfx::TCanvas& c, int x, int y) {
    if (!FGlyph->Empty()) {
        const int frame = !Enabled() && FNumGlyphs == 2 ? 2 : 1;
        DrawStripFrame(c, x, y, *FGlyph, FNumGlyphs, frame);
    } else if (HasCaptionPicture()) {
        FCaptionImageList->Draw(c, x, y, FCaptionImageIndex, Enabled());
    }
}

void TbsSkinPanel::PaintskinTo(gfx::TCanvas& c, int x, int y) {
    GetSkinData();
    gfx::TBitmap b;
    b.SetSize(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(b);
    else
        CreateControlSkinImage(b);
    c.Draw(x, y, b);
}

void TbsSkinPanel::DrawClientPiece(gfx::TCanvas& canvas, const vcl::TRect& dest) {
    if (!Picture || ClRect.IsEmpty()) return;
    gfx::TBitmap piece;
    piece.SetSize(ClRect.Width(), ClRect.Height());
    piece.Canvas().CopyRect({0, 0, ClRect.Width(), ClRect.Height()}, Picture->Canvas(),
                            ClRect.Offset(SkinRect.Left, SkinRect.Top));
    const int pw = piece.Width(), ph = piece.Height();
    if (!StretchEffect) {
        for (int y = dest.Top; y < dest.Bottom; y += ph)
            for (int x = dest.Left; x < dest.Right; x += pw) canvas.Draw(x, y, piece);
        return;
    }
    switch (StretchType) {
        case bsstFull:
            canvas.StretchDraw(dest, piece);
            break;
        case bsstHorz:
            for (int x = dest.Left; x < dest.Right; x += pw)
                canvas.StretchDraw({x, dest.Top, x + pw, dest.Bottom}, piece);
            break;
        case bsstVert:
            for (int y = dest.Top; y < dest.Bottom; y += ph)
                canvas.StretchDraw({dest.Left, y, dest.Right, y + ph}, piece);
            break;
    }
}

void TbsSkinPanel::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    if (FTransparentMode && FIndex != -1) {
        PaintTransparent();
        return;
    }
    if (FIndex == -1 || (!ForcebackGround() && StretchEffect)) {
        TbsSkinCustomControl::Paint();
        return;
    }
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    gfx::TCanvas& c = Canvas();
    if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && ForcebackGround()) {
        DrawClientPiece(c, {0, 0, Width(), Height()});
        return;
    }
    if (BGPictureIndex == -1 || BGPictureIndex >= int(SkinData()->FActivePictures.size())) {
        TbsSkinCustomControl::Paint();
        return;
    }
    gfx::TBitmap& bg = *SkinData()->FActivePictures[BGPictureIndex];
    if (bg.Empty()) return;
    const vcl::TRect all{0, 0, Width(), Height()};
    if (!StretchEffect) {
        for (int y = 0; y < Height(); y += bg.Height())
            for (int x = 0; x < Width(); x += bg.Width()) c.Draw(x, y, bg);
        return;
    }
    switch (StretchType) {
        case bsstFull:
            c.StretchDraw(NewClRect, bg);
            break;
        case bsstHorz:
            for (int x = 0; x < Width(); x += bg.Width())
                c.StretchDraw({x, 0, x + bg.Width(), all.Bottom}, bg);
            break;
        case bsstVert:
            for (int y = 0; y < Height(); y += bg.Height())
                c.StretchDraw({0, y, all.Right, y + bg.Height()}, bg);
            break;
    }
}

// Transparent panels: the parent's background, a thin frame, and with caption mode a group
// frame broken by the caption.
void TbsSkinPanel::PaintTransparent() {
    gfx::TBitmap b;
    b.SetSize(Width(), Height());
    gfx::TCanvas& c = b.Canvas();
    PaintParentBackdrop(this, c);
    const gfx::TColor shadow = SkinData()->SkinColors()->cBtnShadow;
    c.Pen().SetColor(shadow);
    c.Pen().SetWidth(1);
    if (!FCaptionMode) {
        if (FBorderStyle != bvNone) {
            c.Brush().SetStyle(gfx::bsClear);
            c.Rectangle(0, 0, Width(), Height());
        }
        DoPanelPaint(c);
        Canvas().Draw(0, 0, b);
        return;
    }
    if (UseSkinFont() && FIndex != -1) {
        c.Font().SetName(FontName);
        c.Font().SetStyle(FontStyle);
        c.Font().SetHeight(FontHeight);
    } else {
        c.Font().Assign(DefaultFont());
    }
    c.Font().SetCharset(SkinCharset(SkinData(), DefaultFont()));
    // The caption takes the colour plain labels have in this skin.
    TbsLabelRecordFont label;
    label.FontColor = SkinData()->SkinColors()->cBtnText;
    LookUpLabelRecord(SkinData(), "stdlabel", label);
    c.Font().SetColor(label.FontColor);
    const int textHeight = c.TextHeight("Wg");
    vcl::TRect r{5, 0, Width(), textHeight + 5};
    NewCaptionRect = r;
    int x = 5;
    if (FCheckedMode && Picture) {
        const vcl::TRect& img = FChecked ? CheckImageRect : UnCheckImageRect;
        DrawPieceTransparent(c, 5, r.Top + r.Height() / 2 - img.Height() / 2, *Picture, img);
        x = img.Width() + 10;
    }
    if (HasCaptionPicture()) {
        DrawCaptionPicture(c, x, r.Top + r.Height() / 2 - CaptionPictureHeight() / 2);
        x += CaptionPictureWidth() + 2;
    }
    vcl::TRect textRect{x, r.Top, r.Right, r.Bottom};
    c.Brush().SetStyle(gfx::bsClear);
    c.DrawText(Caption(), textRect, gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_LEFT);
    int end = x + (Caption().empty() ? 0 : c.TextWidth(Caption()));
    const int mid = r.Height() / 2;
    c.Pen().SetColor(shadow);
    Line(c, 0, mid, 4, mid);
    if (FRollUpMode) {
        DrawDirArrow(c, {end + 3, r.Top, end + 10, r.Bottom}, label.FontColor,
                     FRollUpState ? 4 : 3);
        end += 12;
    }
    c.Pen().SetColor(shadow);
    c.MoveTo(end + 3, mid);
    c.LineTo(Width() - 1, mid);
    c.LineTo(Width() - 1, Height() - 1);
    c.LineTo(0, Height() - 1);
    c.LineTo(0, mid);
    DoPanelPaint(c);
    Canvas().Draw(0, 0, b);
}

void TbsSkinPanel::CreateControlSkinImage(gfx::TBitmap& b) {
    if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && !StretchEffect) {
        if (b.Width() != Width() || b.Height() != Height()) b.SetSize(Width(), Height());
        DrawClientPiece(b.Canvas(), {0, 0, b.Width(), b.Height()});
        return;
    }
    DrawSkinRect(b, Picture, SkinRect);
    if (ResizeMode < 1)
        NewCaptionRect = CaptionRect;
    else if (!FTransparentMode)
        MapSkinRect(CaptionRect, NewCaptionRect);
    if (!Caption().empty() && !CaptionRect.IsEmpty()) DrawSkinCaption(b);
}

void TbsSkinPanel::DrawSkinCaption(gfx::TBitmap& b) {
    gfx::TCanvas& c = b.Canvas();
    vcl::TRect r = NewCaptionRect;
    if (FRollUpMode) r.Right -= 12;
    if (FCheckedMode && Picture) {
        const vcl::TRect& img = FChecked ? CheckImageRect : UnCheckImageRect;
        DrawPieceTransparent(c, r.Left, r.Top + r.Height() / 2 - img.Height() / 2, *Picture, img);
        r.Left += img.Width() + 2;
    }
    SelectCaptionFont(c.Font());
    c.Brush().SetStyle(gfx::bsClear);
    const std::string& text = Caption();
    const int tw = c.TextWidth(text), th = c.TextHeight(text);
    const int ty = r.Top + r.Height() / 2 - th / 2;
    const bool picture = HasCaptionPicture();
    const int pw = picture ? CaptionPictureWidth() : 0, ph = picture ? CaptionPictureHeight() : 0;
    int tx = r.Left;
    if (Alignment == taRightJustify)
        tx = r.Right - (tw + (picture ? pw + FSpacing : 0));
    else if (Alignment == taCenter)
        tx = r.Left + r.Width() / 2 - (tw + (picture ? pw + FSpacing : 0)) / 2;
    int px = tx;
    if (picture) {
        if (FImagePosition == bsipDefault) {
            px = tx;
            tx += pw + FSpacing;
        } else {
            px = r.Left + 2;
            tx = std::max(tx, px + pw + FSpacing);
        }
    }
    if (FRollUpMode) {
        const vcl::TRect mark{r.Right, r.Top, r.Right + 10, r.Bottom};
        if (!MarkFrameRect.IsEmpty() && Picture)
            DrawPieceTransparent(c, mark.Left + mark.Width() / 2 - MarkFrameRect.Width() / 2,
                                 mark.Top + mark.Height() / 2 - MarkFrameRect.Height() / 2,
                                 *Picture, MarkFrameRect);
        DrawDirArrow(c, mark, FontColor, FRollUpState ? 4 : 3);
    }
    if (!FrameRect.IsEmpty() && Picture) {
        // A plate behind the text, as wide as the text plus the frame's margins.
        const int extra = FrameRect.Width() - FrameTextRect.Width();
        int plateX = tx;
        if (Alignment == taLeftJustify) {
            tx += FrameTextRect.Left;
        } else if (Alignment == taRightJustify) {
            plateX -= extra;
            tx -= extra - FrameTextRect.Left;
        } else {
            tx -= 2;
            plateX = tx - FrameTextRect.Left;
        }
        gfx::TBitmap plate;
        BuildHorzSkinStrip(FrameLeftOffset, FrameRightOffset, plate, *Picture, FrameRect,
                           extra + tw, FrameRect.Height(), false);
        c.Draw(plateX, r.Top, plate);
    }
    c.Brush().SetStyle(gfx::bsClear);
    c.TextOut(tx, ty, text);
    if (picture) DrawCaptionPicture(c, px, r.Top + r.Height() / 2 - ph / 2);
}

void TbsSkinPanel::CreateControlDefaultImage(gfx::TBitmap& b) {
    gfx::TCanvas& c = b.Canvas();
    const int w = b.Width(), h = b.Height();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(gfx::clBtnFace);
    c.FillRect({0, 0, w, h});
    switch (FBorderStyle) {
        case bvFrame:
            c.Brush().SetColor(gfx::clBtnShadow);
            c.FrameRect({0, 0, w, h});
            break;
        case bvRaised:
            Edge(c, {0, 0, w, h}, gfx::clBtnHighlight, gfx::clBtnShadow);
            break;
        case bvLowered:
            Edge(c, {0, 0, w, h}, gfx::clBtnShadow, gfx::clBtnHighlight);
            break;
        case bvNone:
            break;
    }
    if (!FCaptionMode) return;
    const bool border = FBorderStyle != bvNone;
    vcl::TRect bar = border ? vcl::TRect{1, 1, w - 1, FDefaultCaptionHeight}
                            : vcl::TRect{0, 0, w, FDefaultCaptionHeight};
    if (FRibbonStyle) bar = bar.Offset(0, h - bar.Bottom - bar.Top);
    if (border) {
        Edge(c, bar, gfx::clBtnShadow, gfx::clBtnHighlight);
        Edge(c, {bar.Left + 1, bar.Top + 1, bar.Right - 1, bar.Bottom - 1}, gfx::clBtnHighlight,
             gfx::clBtnShadow);
    } else {
        c.Brush().SetColor(gfx::clBtnShadow);
        c.FrameRect(bar);
        Edge(c, {bar.Left + 1, bar.Top + 1, bar.Right - 1, bar.Bottom - 1}, gfx::clBtnHighlight,
             gfx::clBtnFace);
    }
    vcl::TRect text{bar.Left + 2, bar.Top, bar.Right - 2, bar.Bottom};
    if (FCheckedMode) {
        const int y = bar.Top + bar.Height() / 2 - 7;
        c.Brush().SetColor(gfx::clBtnShadow);
        c.FrameRect({5, y, 19, y + 14});
        if (FChecked) DrawCheckMark(c, 8, y + 3, gfx::clBtnText);
        text.Left += 20;
    }
    if (FRollUpMode) {
        DrawDirArrow(c, {text.Right - 10, bar.Top, text.Right, bar.Bottom}, gfx::clBtnText,
                     FRollUpState ? 4 : 3);
        text.Right -= 10;
    }
    if (HasCaptionPicture()) {
        DrawCaptionPicture(c, text.Left, bar.Top + bar.Height() / 2 - CaptionPictureHeight() / 2);
        text.Left += CaptionPictureWidth() + FSpacing;
    }
    c.Font().Assign(DefaultFont());
    c.Brush().SetStyle(gfx::bsClear);
    unsigned flags = gfx::DT_SINGLELINE | gfx::DT_VCENTER;
    if (FDefaultAlignment == vcl::taRightJustify) flags |= gfx::DT_RIGHT;
    if (FDefaultAlignment == vcl::taCenter) flags |= gfx::DT_CENTER;
    if (Enabled())
        c.DrawText(Caption(), text, flags);
    else
        vcl::DrawDisabledText(c, Caption(), text, flags);
}

void TbsSkinPanel::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, int x, int y) {
    if (button == vcl::mbLeft && (FRollUpMode || FCheckedMode) && FCaptionMode) {
        const vcl::TRect hit =
            FIndex != -1 ? NewCaptionRect : vcl::TRect{1, 1, Width() - 1, FDefaultCaptionHeight};
        if (hit.Contains(x, y)) {
            if (FCheckedMode) SetChecked(!FChecked);
            if (FRollUpMode) SetRollUpState(!FRollUpState);
        }
    }
    TbsSkinCustomControl::MouseUp(button, shift, x, y);
}

// ---- TbsSkinPaintPanel --------------------------------------------------------------------------

TbsSkinPaintPanel::TbsSkinPaintPanel(vcl::TComponent* AOwner) : TbsSkinPanel(AOwner) {
    SetForcebackGround(false);
}

void TbsSkinPaintPanel::DoPanelPaint(gfx::TCanvas& cnvs) {
    if (OnPanelPaint) OnPanelPaint(cnvs, GetSkinClientRect());
}

void TbsSkinPaintPanel::CreateControlDefaultImage(gfx::TBitmap& b) {
    TbsSkinPanel::CreateControlDefaultImage(b);
    if (OnPanelPaint) OnPanelPaint(b.Canvas(), GetSkinClientRect());
}

void TbsSkinPaintPanel::CreateControlSkinImage(gfx::TBitmap& b) {
    TbsSkinPanel::CreateControlSkinImage(b);
    if (OnPanelPaint) OnPanelPaint(b.Canvas(), GetSkinClientRect());
}

void TbsSkinPaintPanel::Dispatch(vcl::TMessage& m) {
    if (m.Msg == win::WM_ERASEBKGND && !FromWMPaint) {
        // Children that show their parent through them ask for its look this way.
        gfx::HDC dc = win::ParamToDc(m.WParam);
        PaintWindow(dc);
        m.Result = 1;
        return;
    }
    TbsSkinPanel::Dispatch(m);
}

// ---- TbsSkinGroupBox ----------------------------------------------------------------------------

TbsSkinGroupBox::TbsSkinGroupBox(vcl::TComponent* AOwner) : TbsSkinPanel(AOwner) {
    SetSkinDataName("groupbox");
    SetCaptionMode(true);
}

void TbsSkinGroupBox::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    if (FIndex == -1) return;
    if (auto* r = dynamic_cast<TbsDataSkinPanelControl*>(SkinData()->CtrlList[FIndex].get()))
        if (r->ClRect.Bottom < r->CaptionRect.Top) SetForcebackGround(false);
}

}  // namespace skin
