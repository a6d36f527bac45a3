#include "skin/controls/skin_control.h"

#include <vector>

#include "platform/win/win.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/core/saved_dc.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_messages.h"
#include "skin/core/skin_regions.h"
#include "skin/core/system_routines.h"

namespace skin {

TbsSkinClient* AsSkinClient(vcl::TControl* control) {
    return dynamic_cast<TbsSkinClient*>(control);
}

namespace {
TbsDropDownControlTest& DropDownControlTest() {
    static TbsDropDownControlTest test;
    return test;
}
}  // namespace

void SetDropDownControlTest(TbsDropDownControlTest test) {
    DropDownControlTest() = std::move(test);
}

bool IsDropDownControl(const vcl::TComponent* component) {
    const auto& test = DropDownControlTest();
    return component && test && test(component);
}

TbsSkinParent* SkinParentOf(const vcl::TControl* control) {
    return dynamic_cast<TbsSkinParent*>(control->Parent());
}

int CentredChildTop(vcl::TWinControl* parent, int ATop, int AHeight) {
    auto* skinParent = dynamic_cast<TbsSkinParent*>(parent);
    TRect r;
    if (!skinParent || !skinParent->CentresChildren(r)) return ATop;
    return r.Top + RectHeightOf(r) / 2 - AHeight / 2;
}

bool FocusBeforeClick(vcl::TWinControl& control, win::UINT msg, bool& clicksDisabled) {
    if (msg != win::WM_LBUTTONDOWN && msg != win::WM_LBUTTONDBLCLK) return true;
    if (control.Focused()) return true;
    clicksDisabled = true;
    if (control.CanFocus()) control.SetFocus();
    clicksDisabled = false;
    return control.Focused();
}

// ---- TbsSkinLink ------------------------------------------------------------------------------

template <class TBase>
void TbsSkinLink<TBase>::SetSkinData(TbsSkinData* value) {
    FSD = value;
    if (FSD && !FSD->Empty) ChangeSkinData();
}

template <class TBase>
void TbsSkinLink<TBase>::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TBase::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSD) FSD = nullptr;
}

template <class TBase>
void TbsSkinLink<TBase>::GetSkinData() {
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
}

template <class TBase>
void TbsSkinLink<TBase>::ChangeSkinData() {
    GetSkinData();
    this->Repaint();
}

template <class TBase>
void TbsSkinLink<TBase>::PaintThroughBitmap() {
    if (this->Width() <= 0 || this->Height() <= 0) return;
    GetSkinData();
    gfx::TBitmap bitmap;
    bitmap.SetSize(this->Width(), this->Height());
    if (FIndex == -1)
        CreateControlDefaultImage(bitmap);
    else
        CreateControlSkinImage(bitmap);
    this->Canvas().Draw(0, 0, bitmap);
}

template <class TBase>
void TbsSkinLink<TBase>::Dispatch(vcl::TMessage& m) {
    TBase::Dispatch(m);
    if (m.Msg == vcl::CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
    if (m.Msg == vcl::CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

// ---- TbsSkinControl ---------------------------------------------------------------------------

void TbsSkinControl::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case win::WM_ERASEBKGND:
            // Every pixel comes from the off-screen bitmap.
            m.Result = 1;
            return;
        case win::WM_PAINT:
            FromWMPaint = true;
            TbsSkinLink::Dispatch(m);
            FromWMPaint = false;
            return;
        case WM_CHECKPARENTBG:
            CheckParentBackground();
            return;
        default:
            TbsSkinLink::Dispatch(m);
    }
}

// ---- TbsSkinSizing ----------------------------------------------------------------------------

template <class TBase>
TbsSkinSizing<TBase>::TbsSkinSizing(vcl::TComponent* AOwner) : TBase(AOwner) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetStyle(0);
    FDefaultFont.SetHeight(14);
    FDefaultFont.OnChange = [this] {
        DefaultFontChanged();
        if (this->FIndex == -1) this->Repaint();
    };
}

template <class TBase>
void TbsSkinSizing<TBase>::SetDefaultWidth(int value) {
    FDefaultWidth = value;
    if (this->FIndex == -1 && value > 0) this->SetWidth(value);
}

template <class TBase>
void TbsSkinSizing<TBase>::SetDefaultHeight(int value) {
    FDefaultHeight = value;
    if (this->FIndex == -1 && value > 0) this->SetHeight(value);
}

template <class TBase>
void TbsSkinSizing<TBase>::SetDefaultFont(const gfx::TFont& value) {
    FDefaultFont.Assign(value);
    DefaultFontChanged();
}

template <class TBase>
void TbsSkinSizing<TBase>::GetSkinData() {
    TBase::GetSkinData();
    if (this->FIndex != -1)
        CopySkinRecord(*this->FSD->CtrlList[std::size_t(this->FIndex)], *this->FSD);
}

template <class TBase>
void TbsSkinSizing<TBase>::FitSkinSize(int& AWidth, int& AHeight) {
    FitSkinSizeTo(AWidth, AHeight, this->FIndex != -1);
}

template <class TBase>
void TbsSkinSizing<TBase>::DrawSkinRect(gfx::TBitmap& B, gfx::TBitmap* APicture,
                                        const TRect& ARect) {
    DrawSkinRectAt(B, APicture, ARect, this->Width(), this->Height(), NineSliceDrawn());
}

template <class TBase>
void TbsSkinSizing<TBase>::CreateControlDefaultImage(gfx::TBitmap& B) {
    B.Canvas().Brush().SetStyle(gfx::bsSolid);
    B.Canvas().Brush().SetColor(gfx::clBtnFace);
    B.Canvas().FillRect({0, 0, B.Width(), B.Height()});
}

template <class TBase>
void TbsSkinSizing<TBase>::CreateControlSkinImage(gfx::TBitmap& B) {
    DrawSkinRect(B, Picture, SkinRect);
}

template <class TBase>
void TbsSkinSizing<TBase>::ChangeSkinData() {
    GetSkinData();
    if (this->FIndex == -1) {
        if (FDefaultWidth > 0) this->SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) this->SetHeight(FDefaultHeight);
        SkinSizeTaken();
        this->Repaint();
        return;
    }
    int w = this->Width(), h = this->Height();
    FitSkinSize(w, h);
    bool changed = false;
    if (w != this->Width()) {
        this->SetWidth(w);
        changed = true;
    }
    if (h != this->Height()) {
        this->SetHeight(h);
        changed = true;
    }
    // A new size repainted through SetBounds already.
    if (!changed) {
        SkinSizeTaken();
        this->Repaint();
    }
}

template <class TBase>
void TbsSkinSizing<TBase>::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    bool fitted = false;
    if ((AWidth != this->Width() || AHeight != this->Height()) && this->FIndex != -1) {
        FitSkinSize(AWidth, AHeight);
        if (ResizeMode == kResizeFixed) NewClRect = ClRect;
        fitted = true;
    }
    ATop = CentredChildTop(this->Parent(), ATop, AHeight);
    TBase::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (fitted) {
        SkinSizeTaken();
        this->Repaint();
    }
    BoundsSet();
}

// ---- TbsSkinCustomControl ---------------------------------------------------------------------

void TbsSkinCustomControl::GetSkinData() {
    TbsSkinSizing::GetSkinData();
    if (FIndex == -1) return;
    const auto* record =
        dynamic_cast<const TbsDataSkinCustomControl*>(FSD->CtrlList[std::size_t(FIndex)].get());
    MaskPicture = record ? PictureAt(*FSD, record->MaskPictureIndex) : nullptr;
}

void TbsSkinCustomControl::BoundsSet() {
    if (FIndex != -1 && StretchEffect) BroadcastParentBackground();
}

void TbsSkinCustomControl::Paint() {
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    if (FIndex == -1 || !FForceBackground || ResizeMode != kResizeFree) {
        PaintThroughBitmap();
        return;
    }
    PaintForcedBackground();
}

void TbsSkinCustomControl::PaintForcedBackground() {
    if (!Picture) return;
    const int width = Width(), height = Height();
    gfx::TBitmap left, top, right, bottom;
    BuildSkinBorderImages(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                          NewRBPoint, NewClRect, left, top, right, bottom, *Picture, SkinRect,
                          width, height, LeftStretch, TopStretch, RightStretch, BottomStretch);
    CreateControlSkinImage(top);
    gfx::TCanvas& c = Canvas();
    if (FDrawbackground && RectWidthOf(ClRect) > 0 && RectHeightOf(ClRect) > 0) {
        gfx::TBitmap piece;
        piece.SetSize(RectWidthOf(ClRect), RectHeightOf(ClRect));
        piece.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, Picture->Canvas(),
                                {SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top,
                                 SkinRect.Left + ClRect.Right, SkinRect.Top + ClRect.Bottom});
        const int pw = piece.Width(), ph = piece.Height();
        const int cw = RectWidthOf(NewClRect), ch = RectHeightOf(NewClRect);
        TSavedDC saved(c.Handle());
        gfx::IntersectClipRect(c.Handle(), NewClRect.Left, NewClRect.Top, NewClRect.Right,
                               NewClRect.Bottom);
        if (!StretchEffect) {
            for (int col = 0; col <= cw / pw; ++col)
                for (int row = 0; row <= ch / ph; ++row)
                    c.Draw(NewClRect.Left + col * pw, NewClRect.Top + row * ph, piece);
        } else if (!RectIsEmpty(NewClRect)) {
            switch (StretchType) {
                case bsstFull:
                    c.StretchDraw(NewClRect, piece);
                    break;
                case bsstHorz: {
                    gfx::TBitmap band;
                    band.SetSize(pw, ch);
                    band.Canvas().StretchDraw({0, 0, pw, ch}, piece);
                    for (int col = 0; col <= cw / pw; ++col)
                        c.Draw(NewClRect.Left + col * pw, NewClRect.Top, band);
                    break;
                }
                case bsstVert: {
                    gfx::TBitmap band;
                    band.SetSize(cw, ph);
                    band.Canvas().StretchDraw({0, 0, cw, ph}, piece);
                    for (int row = 0; row <= ch / ph; ++row)
                        c.Draw(NewClRect.Left, NewClRect.Top + row * ph, band);
                    break;
                }
            }
        }
    }
    c.Draw(0, 0, top);
    c.Draw(0, top.Height(), left);
    c.Draw(width - right.Width(), top.Height(), right);
    c.Draw(0, height - bottom.Height(), bottom);
}

void TbsSkinCustomControl::UpdateWindowRegion() {
    if (!Parent()) return;
    if (!MaskPicture || FIndex == -1) {
        if (FRgn) {
            win::SetWindowRgn(Handle(), std::nullopt, true);
            FRgn.reset();
        }
        return;
    }
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    std::optional<gfx::TRegion> rgn;
    const int width = Width(), height = Height();
    const int skinW = RectWidthOf(SkinRect), skinH = RectHeightOf(SkinRect);
    switch (ResizeMode) {
        case kResizeFixed:
            MaskToRegion(rgn, *MaskPicture);
            break;
        case kResizeFree:
            BuildSkinWindowRegion(rgn, LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint,
                                  NewLBPoint, NewRBPoint, NewClRect, *MaskPicture, width, height);
            break;
        case kResizeHorz: {
            const TPoint newRt{width + RTPt.X - skinW, RTPt.Y};
            BuildSkinWindowRegion(rgn, LTPt, RTPt, LTPt, RTPt, ClRect, NewLTPoint, newRt,
                                  NewLTPoint, newRt, NewClRect, *MaskPicture, width, height);
            break;
        }
        case kResizeVert: {
            const TPoint newLb{LBPt.X, height + LBPt.Y - skinH};
            BuildSkinWindowRegion(rgn, LTPt, LTPt, LBPt, LBPt, ClRect, NewLTPoint, NewLTPoint,
                                  newLb, newLb, NewClRect, *MaskPicture, width, height);
            break;
        }
        default:
            return;
    }
    win::SetWindowRgn(Handle(), rgn, true);
    FRgn = std::move(rgn);
}

void TbsSkinCustomControl::BroadcastParentBackground() {
    // Copy first: a child's answer may reorder its siblings.
    std::vector<vcl::TControl*> children;
    for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
    for (vcl::TControl* child : children) {
        if (auto* windowed = dynamic_cast<vcl::TWinControl*>(child))
            win::SendMessage(windowed->Handle(), WM_CHECKPARENTBG, 0, 0);
        else
            child->Perform(WM_CHECKPARENTBG, 0, 0);
    }
}

template class TbsSkinLink<vcl::TCustomControl>;
template class TbsSkinLink<vcl::TGraphicControl>;
template class TbsSkinSizing<TbsSkinControl>;
template class TbsSkinSizing<TbsGraphicSkinControl>;

}  // namespace skin
