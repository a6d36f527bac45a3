#include "skin/controls/scroll_box.h"

#include <algorithm>

#include "platform/win/win.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"

namespace skin {

TbsSkinScrollBox::TbsSkinScrollBox(vcl::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetControlStyle(ControlStyle() + vcl::csAcceptsControls);
    SetSkinDataName("scrollbox");
    SetBounds(Left(), Top(), 150, 150);
}

// ---- bars -----------------------------------------------------------------------------------

void TbsSkinScrollBox::BindBar(TbsSkinScrollBar* bar, bool vertical) {
    bar->FreeNotification(this);
    bar->SetCanFocused(false);
    bar->OnChange = [this, vertical](vcl::TObject*) {
        TbsSkinScrollBar* b = vertical ? FVScrollBar : FHScrollBar;
        if (!b) return;
        int& old = vertical ? FOldVScrollBarPos : FOldHScrollBarPos;
        const int delta = b->Position() - old;
        old = b->Position();
        MoveChildren(vertical ? 0 : -delta, vertical ? -delta : 0);
    };
    bar->OnLastChange = [this](vcl::TObject*) { Invalidate(); };
    bar->SetEnabled(true);
    bar->SetVisible(false);
}

void TbsSkinScrollBox::SetVScrollBar(TbsSkinScrollBar* value) {
    FVScrollBar = value;
    if (value) BindBar(value, true);
    GetVRange();
}

void TbsSkinScrollBox::SetHScrollBar(TbsSkinScrollBar* value) {
    FHScrollBar = value;
    if (value) BindBar(value, false);
    GetHRange();
}

void TbsSkinScrollBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TbsSkinScrollBox::SetBorderStyle(TbsSkinBorderStyle value) {
    FBorderStyle = value;
    // The non-client frame is measured when the window is made.
    if (HandleAllocated()) RecreateWnd();
}

void TbsSkinScrollBox::MoveChildren(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    ScrollBy(dx, dy);
    // A stretched background does not scroll with the children.
    if (FIndex != -1 && StretchEffect) Repaint();
}

void TbsSkinScrollBox::UpDateScrollRange() {
    GetHRange();
    GetVRange();
}

void TbsSkinScrollBox::GetVRange() {
    GetRange(true);
}

void TbsSkinScrollBox::GetHRange() {
    GetRange(false);
}

void TbsSkinScrollBox::GetRange(bool vertical) {
    TbsSkinScrollBar* bar = vertical ? FVScrollBar : FHScrollBar;
    if (!bar || FInCheckScrollBars || !Parent()) return;
    int& sizeOffset = vertical ? FVSizeOffset : FHSizeOffset;
    int& oldPos = vertical ? FOldVScrollBarPos : FOldHScrollBarPos;
    // Moves the content towards the end of the axis (down or right).
    auto moveBack = [&](int d) { MoveChildren(vertical ? 0 : d, vertical ? d : 0); };
    const int view = vertical ? ClientHeight() : ClientWidth();
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        vcl::TControl* c = Controls(i);
        if (!c->Visible()) continue;
        extent = std::max(extent, vertical ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    const int P = bar->Position();
    const int total = P + extent;
    bool show = bar->Visible();
    if (total > view) {
        show = true;
        if (P > 0 && extent < view && sizeOffset > 0) {
            // The box grew while scrolled: pull the content back by the growth.
            sizeOffset = std::min(sizeOffset, P);
            bar->SetRange(0, total - 1, P - sizeOffset, view);
            moveBack(sizeOffset);
        } else if (sizeOffset == 0 && total - 1 < bar->Max() && P > 0 && extent < view) {
            // The content shrank while scrolled.
            const int d = std::min(view - extent, P);
            moveBack(d);
            bar->SetRange(0, total - 1, P - d, view);
        } else {
            bar->SetRange(0, total - 1, P, view);
        }
        sizeOffset = 0;
        oldPos = bar->Position();
    } else {
        if (P > 0) moveBack(P);
        sizeOffset = 0;
        oldPos = 0;
        bar->SetRange(0, 0, 0, 0);
        show = false;
    }
    if (show != bar->Visible()) {
        FInCheckScrollBars = true;
        bar->SetVisible(show);
        if (Align() != vcl::alNone) {
            if (Parent()) Parent()->Realign();
            Realign();
        }
        FInCheckScrollBars = false;
    }
    // The corner piece where the bars meet follows the vertical bar, as it now stands.
    if (FHScrollBar && FVScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
}

void TbsSkinScrollBox::HScroll(int APosition) {
    if (FHScrollBar && FHScrollBar->PageSize() != 0) FHScrollBar->SetPosition(APosition);
}

void TbsSkinScrollBox::VScroll(int APosition) {
    if (!FVScrollBar || FVScrollBar->PageSize() == 0) return;
    FVScrollBar->SetPosition(std::min(APosition, FVScrollBar->Max() - FVScrollBar->PageSize()));
}

void TbsSkinScrollBox::AdjustClientRect(TRect& Rect) {
    const int w = ClientWidth(), h = ClientHeight();
    if (FHScrollBar && FHScrollBar->Visible()) {
        Rect.Left = -FHScrollBar->Position();
        Rect.Right = Rect.Left + std::max(FHScrollBar->Max(), w);
    } else {
        Rect.Left = 0;
        Rect.Right = w;
    }
    if (FVScrollBar && FVScrollBar->Visible()) {
        Rect.Top = -FVScrollBar->Position();
        Rect.Bottom = Rect.Top + std::max(FVScrollBar->Max(), h);
    } else {
        Rect.Top = 0;
        Rect.Bottom = h;
    }
    TbsSkinCustomControl::AdjustClientRect(Rect);
}

void TbsSkinScrollBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int oldWidth = Width(), oldHeight = Height();
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FHSizeOffset = oldWidth != 0 && Width() > oldWidth ? Width() - oldWidth : 0;
    // Every box, aligned or not: the new size is in place only now.
    GetHRange();
    FVSizeOffset = oldHeight != 0 && Height() > oldHeight ? Height() - oldHeight : 0;
    GetVRange();
}

// ---- skin and frame ---------------------------------------------------------------------------

void TbsSkinScrollBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (FIndex == -1) return;
    if (auto* r = dynamic_cast<const TbsDataSkinScrollBoxControl*>(FSD->CtrlList[FIndex].get()))
        BGPictureIndex = r->BGPictureIndex;
}

void TbsSkinScrollBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (HandleAllocated()) RecreateWnd();
    // The bars line up again beside the box.
    for (TbsSkinScrollBar* bar : {FHScrollBar, FVScrollBar})
        if (bar && bar->Parent()) bar->Parent()->Realign();
}

void TbsSkinScrollBox::CreateParams(vcl::TCreateParams& Params) {
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~(win::CS_HREDRAW | win::CS_VREDRAW);
}

void TbsSkinScrollBox::NcCalcSize(vcl::TMessage& m) {
    GetSkinData();
    TRect* r = m.WParam ? &win::ParamToPtr<win::NCCALCSIZE_PARAMS>(m.LParam)->rgrc[0]
                        : win::ParamToPtr<TRect>(m.LParam);
    if (FIndex != -1 || FBorderStyle == bvNone) {
        if (Frameless()) return;
        r->Left += ClRect.Left;
        r->Top += ClRect.Top;
        r->Right -= SkinRect.Width() - ClRect.Right;
        r->Bottom -= SkinRect.Height() - ClRect.Bottom;
    } else {
        *r = {r->Left + 1, r->Top + 1, r->Right - 1, r->Bottom - 1};
    }
    r->Right = std::max(r->Right, r->Left);
    r->Bottom = std::max(r->Bottom, r->Top);
}

void TbsSkinScrollBox::PaintSkinBorder(gfx::TCanvas& C) {
    GetSkinData();
    const int w = Width(), h = Height();
    if (FIndex == -1) {
        if (FBorderStyle == bvNone) return;
        // Lowered is light at the top left here, the reverse of the panel's border.
        const TColor topLeft = FBorderStyle == bvLowered ? gfx::clBtnHighlight : gfx::clBtnShadow;
        const TColor bottomRight = FBorderStyle == bvFrame    ? gfx::clBtnShadow
                                   : FBorderStyle == bvRaised ? gfx::clBtnHighlight
                                                              : gfx::clBtnShadow;
        C.Pen().SetColor(topLeft);
        C.MoveTo(0, h - 1);
        C.LineTo(0, 0);
        C.LineTo(w - 1, 0);
        C.Pen().SetColor(bottomRight);
        C.LineTo(w - 1, h - 1);
        C.LineTo(0, h - 1);
        return;
    }
    if (!Picture) return;
    const int dx = w - SkinRect.Width(), dy = h - SkinRect.Height();
    gfx::TBitmap left, top, right, bottom;
    BuildSkinBorderImages(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, {RTPt.X + dx, RTPt.Y},
                          {LBPt.X, LBPt.Y + dy}, {RBPt.X + dx, RBPt.Y + dy},
                          {ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy}, left,
                          top, right, bottom, *Picture, SkinRect, w, h, LeftStretch, TopStretch,
                          RightStretch, BottomStretch);
    C.Draw(0, 0, top);
    C.Draw(0, top.Height(), left);
    C.Draw(w - right.Width(), top.Height(), right);
    C.Draw(0, h - bottom.Height(), bottom);
}

void TbsSkinScrollBox::PaintFrameInto(gfx::HDC dc) {
    gfx::TCanvas canvas;
    canvas.SetHandle(dc);
    PaintSkinBorder(canvas);
    canvas.SetHandle(nullptr);
}

// ---- painting ---------------------------------------------------------------------------------

void TbsSkinScrollBox::CreateControlDefaultImage(gfx::TBitmap& B) {
    B.Canvas().Brush().SetStyle(gfx::bsSolid);
    B.Canvas().Brush().SetColor(Color());
    B.Canvas().FillRect({0, 0, B.Width(), B.Height()});
}

void TbsSkinScrollBox::Paint() {
    GetSkinData();
    if (FIndex == -1) {
        TbsSkinCustomControl::Paint();
        return;
    }
    const int cw = ClientWidth(), ch = ClientHeight();
    if (cw < 1 || ch < 1) return;
    gfx::TBitmap* source = Picture;
    TRect piece = ClRect.Offset(SkinRect.Left, SkinRect.Top);
    if (BGPictureIndex != -1) {
        source = PictureAt(*FSD, BGPictureIndex);
        if (source) piece = {0, 0, source->Width(), source->Height()};
    }
    if (!source || piece.IsEmpty()) return;
    gfx::TCanvas& C = Canvas();
    const int saved = gfx::SaveDC(C.Handle());
    gfx::IntersectClipRect(C.Handle(), 0, 0, cw, ch);
    const int pw = piece.Width(), ph = piece.Height();
    const int w = Width(), h = Height();
    if (StretchEffect) {
        switch (StretchType) {
            case bsstFull:
                C.CopyRect({0, 0, w, h}, source->Canvas(), piece);
                break;
            case bsstHorz:
                for (int x = 0; x < w; x += pw)
                    C.CopyRect({x, 0, x + pw, h}, source->Canvas(), piece);
                break;
            case bsstVert:
                for (int y = 0; y < h; y += ph)
                    C.CopyRect({0, y, w, y + ph}, source->Canvas(), piece);
                break;
        }
    } else {
        const int tw = BGPictureIndex == -1 ? cw : w, th = BGPictureIndex == -1 ? ch : h;
        for (int y = 0; y < th; y += ph)
            for (int x = 0; x < tw; x += pw)
                C.CopyRect({x, y, x + pw, y + ph}, source->Canvas(), piece);
    }
    gfx::RestoreDC(C.Handle(), saved);
}

// ---- messages -----------------------------------------------------------------------------------

void TbsSkinScrollBox::WndProc(vcl::TMessage& m) {
    // Only a box that asks for it takes the focus on a click.
    const bool click = m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_LBUTTONDBLCLK;
    if ((click && !FCanFocused) || FocusBeforeClick(*this, m, FClicksDisabled))
        TbsSkinCustomControl::WndProc(m);
}

void TbsSkinScrollBox::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case win::WM_NCCALCSIZE:
            NcCalcSize(m);
            m.Result = 0;
            return;
        case win::WM_NCPAINT:
            if (!Frameless() && HandleAllocated()) {
                gfx::HDC dc = win::GetWindowDC(Handle());
                PaintFrameInto(dc);
                win::ReleaseDC(Handle(), dc);
            }
            m.Result = 0;
            return;
        case win::WM_SIZE:
            TbsSkinCustomControl::Dispatch(m);
            if (HandleAllocated()) win::SendMessage(Handle(), win::WM_NCPAINT, 1, 0);
            return;
        case win::WM_WINDOWPOSCHANGING:
            TbsSkinCustomControl::Dispatch(m);
            if (HandleAllocated() && Align() == vcl::alNone) {
                GetVRange();
                GetHRange();
            }
            return;
        case vcl::CM_VISIBLECHANGED:
            TbsSkinCustomControl::Dispatch(m);
            for (TbsSkinScrollBar* bar : {FHScrollBar, FVScrollBar})
                if (bar) bar->SetVisible(Visible());
            return;
        case CM_PAINTSKINFRAME:
            GetSkinData();
            if (m.WParam && !Frameless()) {
                PaintFrameInto(win::ParamToDc(m.WParam));
                m.Result = kPaintSkinFrameDone;
            } else {
                m.Result = 0;
            }
            return;
        case CM_PAINTSKINNC:
            if (m.LParam != kPaintSkinNCKey) {
                TbsSkinCustomControl::Dispatch(m);
                return;
            }
            GetSkinData();
            if (m.WParam && !Frameless()) PaintFrameInto(win::ParamToDc(m.WParam));
            m.Result = kPaintSkinNCKey;
            return;
        default:
            TbsSkinCustomControl::Dispatch(m);
    }
}

}  // namespace skin
