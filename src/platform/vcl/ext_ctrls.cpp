#include "platform/vcl/ext_ctrls.h"

#include <algorithm>

#include "platform/gfx/text.h"

namespace vcl {

// ---- TPanel -------------------------------------------------------------------------------------

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                     csDoubleClicks, csReplicatable});
    SetBounds(0, 0, 185, 41);
}

void TPanel::Changed() {
    Realign();
    Invalidate();
}

void TPanel::SetBevelOuter(TPanelBevel value) {
    if (FBevelOuter == value) return;
    FBevelOuter = value;
    Changed();
}

void TPanel::SetBevelInner(TPanelBevel value) {
    if (FBevelInner == value) return;
    FBevelInner = value;
    Changed();
}

void TPanel::SetBevelWidth(int value) {
    value = std::max(value, 1);
    if (FBevelWidth == value) return;
    FBevelWidth = value;
    Changed();
}

void TPanel::SetBorderWidth(int value) {
    value = std::max(value, 0);
    if (FBorderWidth == value) return;
    FBorderWidth = value;
    Changed();
}

void TPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TPanel::AdjustClientRect(TRect& r) {
    TCustomControl::AdjustClientRect(r);
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    r = {r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset};
}

void TPanel::Dispatch(TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) Invalidate();
    TCustomControl::Dispatch(m);
}

void TPanel::Paint() {
    gfx::TCanvas& c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone) return;
        if (kind == bvSpace) {
            r = {r.Left + FBevelWidth, r.Top + FBevelWidth, r.Right - FBevelWidth,
                 r.Bottom - FBevelWidth};
            return;
        }
        const bool raised = kind == bvRaised;
        Frame3D(c, r, raised ? gfx::clBtnHighlight : gfx::clBtnShadow,
                raised ? gfx::clBtnShadow : gfx::clBtnHighlight, FBevelWidth);
    };
    bevel(FBevelOuter);
    c.Pen().SetColor(Color());
    Frame3D(c, r, Color(), Color(), FBorderWidth);
    bevel(FBevelInner);
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(r);
    if (Caption().empty()) return;
    c.Font().Assign(Font());
    unsigned flags = gfx::DT_VCENTER | gfx::DT_SINGLELINE;
    if (FAlignment == taCenter) flags |= gfx::DT_CENTER;
    if (FAlignment == taRightJustify) flags |= gfx::DT_RIGHT;
    if (Enabled()) {
        c.Brush().SetStyle(gfx::bsClear);
        c.DrawText(Caption(), r, flags);
    } else {
        DrawDisabledText(c, Caption(), r, flags);
    }
}

// ---- TBevel -------------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
    if (FShape == value) return;
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Invalidate();
}

void TBevel::Paint() {
    PaintShape(gfx::clBtnHighlight, gfx::clBtnShadow);
}

void TBevel::PaintShape(TColor light, TColor dark) {
    gfx::TCanvas& c = Canvas();
    const TColor c1 = FStyle == bsLowered ? dark : light;
    const TColor c2 = FStyle == bsLowered ? light : dark;
    const int w = Width(), h = Height();
    c.Pen().SetWidth(1);
    auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        c.Pen().SetColor(color);
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    };
    // The edge of a box: c1 left and top, c2 right and bottom.
    auto box = [&](int l, int t, int r, int b, TColor first, TColor second) {
        line(first, l, b, l, t);
        line(first, l, t, r, t);
        line(second, r, t, r, b);
        line(second, r, b, l, b);
    };
    switch (FShape) {
        case bsBox:
            box(0, 0, w - 1, h - 1, c1, c2);
            break;
        case bsFrame:
            box(1, 1, w - 1, h - 1, c2, c2);
            box(0, 0, w - 2, h - 2, c1, c1);
            break;
        case bsTopLine:
            line(c1, 0, 0, w, 0);
            line(c2, 0, 1, w, 1);
            break;
        case bsBottomLine:
            line(c1, 0, h - 2, w, h - 2);
            line(c2, 0, h - 1, w, h - 1);
            break;
        case bsLeftLine:
            line(c1, 0, 0, 0, h);
            line(c2, 1, 0, 1, h);
            break;
        case bsRightLine:
            line(c1, w - 2, 0, w - 2, h);
            line(c2, w - 1, 0, w - 1, h);
            break;
        case bsSpacer:
            break;
    }
}

// ---- TSplitter ----------------------------------------------------------------------------------

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crSizeWE);
}

void TSplitter::SetBeveled(bool value) {
    if (FBeveled == value) return;
    FBeveled = value;
    Invalidate();
}

void TSplitter::RequestAlign() {
    TGraphicControl::RequestAlign();
    if (Cursor() == crSizeWE || Cursor() == crSizeNS) SetCursor(Vertical() ? crSizeWE : crSizeNS);
}

TControl* TSplitter::FindControl() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        bool touches = false;
        switch (Align()) {
            case alLeft:
                touches = c->Left() + c->Width() == Left();
                break;
            case alRight:
                touches = c->Left() == Left() + Width();
                break;
            case alTop:
                touches = c->Top() + c->Height() == Top();
                break;
            case alBottom:
                touches = c->Top() == Top() + Height();
                break;
            default:
                break;
        }
        if (touches) return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    FControl = FindControl();
    if (!FControl) return;
    FDownPos = Vertical() ? Left() + x : Top() + y;
    FStartSize = Vertical() ? FControl->Width() : FControl->Height();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!FControl || !Parent()) return;
    const int pos = Vertical() ? Left() + x : Top() + y;
    const int delta = (Align() == alLeft || Align() == alTop) ? pos - FDownPos : FDownPos - pos;
    // What the other aligned controls leave free; the rest keeps MinSize too.
    int used = 0;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (!c->Visible() || c == FControl) continue;
        if (Vertical() && (c->Align() == alLeft || c->Align() == alRight)) used += c->Width();
        if (!Vertical() && (c->Align() == alTop || c->Align() == alBottom)) used += c->Height();
    }
    const int total = Vertical() ? Parent()->ClientWidth() : Parent()->ClientHeight();
    const int largest = std::max(total - used - FMinSize, FMinSize);
    const int size = std::clamp(FStartSize + delta, FMinSize, largest);
    if (size == (Vertical() ? FControl->Width() : FControl->Height())) return;
    if (Vertical())
        FControl->SetWidth(size);
    else
        FControl->SetHeight(size);
    if (OnMoved) OnMoved(this);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    FControl = nullptr;
}

void TSplitter::Paint() {
    gfx::TCanvas& c = Canvas();
    TRect r = ClientRect();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(r);
    if (!FBeveled) return;
    if (Vertical())
        r = {r.Left + 1, r.Top, r.Right - 1, r.Bottom};
    else
        r = {r.Left, r.Top + 1, r.Right, r.Bottom - 1};
    Frame3D(c, r, gfx::clBtnHighlight, gfx::clBtnShadow, 1);
}

// ---- TImage -------------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner), FPicture(std::make_unique<gfx::TPicture>()) {
    SetControlStyle(ControlStyle() + csReplicatable);
    SetBounds(0, 0, 105, 105);
    FPicture->OnChange = [this] { PictureChanged(); };
}

TImage::~TImage() {
    FPicture->OnChange = nullptr;
}

void TImage::SetPicture(const gfx::TPicture& value) {
    FPicture->Assign(value);
}

void TImage::PictureChanged() {
    if (FPicture->Graphic()) FPicture->Graphic()->SetTransparent(FTransparent);
    if (AutoSize()) AdjustSize();
    TControlStyle style = ControlStyle();
    const bool opaque =
        FPicture->Graphic() && !FTransparent && !FPicture->Graphic()->Empty() &&
        (FStretch || (FPicture->Width() >= Width() && FPicture->Height() >= Height()));
    if (opaque)
        style += csOpaque;
    else
        style -= csOpaque;
    SetControlStyle(style);
    Invalidate();
}

void TImage::SetStretch(bool value) {
    if (FStretch == value) return;
    FStretch = value;
    PictureChanged();
}

void TImage::SetCenter(bool value) {
    if (FCenter == value) return;
    FCenter = value;
    PictureChanged();
}

void TImage::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    PictureChanged();
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
    if (!FPicture->Graphic() || FPicture->Graphic()->Empty()) return false;
    newWidth = FPicture->Width();
    newHeight = FPicture->Height();
    return true;
}

void TImage::Paint() {
    gfx::TGraphic* g = FPicture->Graphic();
    if (!g || g->Empty()) return;
    gfx::TCanvas& c = Canvas();
    if (FStretch) {
        c.StretchDraw(ClientRect(), *g);
        return;
    }
    int x = 0, y = 0;
    if (FCenter) {
        x = (Width() - g->Width()) / 2;
        y = (Height() - g->Height()) / 2;
    }
    c.Draw(x, y, *g);
}

}  // namespace vcl
