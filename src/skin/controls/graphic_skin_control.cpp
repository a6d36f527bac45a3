#include "skin/controls/graphic_skin_control.h"

#include "skin/core/skin_records.h"

namespace skin {

// ---- TbsGraphicSkinControl --------------------------------------------------------------------

TbsGraphicSkinControl::TbsGraphicSkinControl(vcl::TComponent* AOwner)
    : vcl::TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + vcl::csOpaque);
}

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* value) {
    FSD = value;
    if (FSD && !FSD->Empty) ChangeSkinData();
}

void TbsGraphicSkinControl::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TGraphicControl::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsGraphicSkinControl::GetSkinData() {
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
}

void TbsGraphicSkinControl::ChangeSkinData() {
    GetSkinData();
    Repaint();
}

void TbsGraphicSkinControl::BeforeChangeSkinData() {
    FIndex = -1;
}

void TbsGraphicSkinControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    gfx::TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(bitmap);
    else
        CreateControlSkinImage(bitmap);
    Canvas().Draw(0, 0, bitmap);
}

void TbsGraphicSkinControl::Dispatch(vcl::TMessage& m) {
    vcl::TGraphicControl::Dispatch(m);
    if (m.Msg == vcl::CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
    if (m.Msg == vcl::CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

// ---- TbsGraphicSkinCustomControl --------------------------------------------------------------

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(vcl::TComponent* AOwner)
    : TbsGraphicSkinControl(AOwner) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetStyle(0);
    FDefaultFont.SetHeight(14);
    FDefaultFont.OnChange = [this] {
        DefaultFontChanged();
        if (FIndex == -1) Repaint();
    };
}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() {
    FDefaultFont.OnChange = nullptr;
}

void TbsGraphicSkinCustomControl::SetDefaultWidth(int value) {
    FDefaultWidth = value;
    if (FIndex == -1 && value > 0) SetWidth(value);
}

void TbsGraphicSkinCustomControl::SetDefaultHeight(int value) {
    FDefaultHeight = value;
    if (FIndex == -1 && value > 0) SetHeight(value);
}

void TbsGraphicSkinCustomControl::SetDefaultFont(const gfx::TFont& value) {
    FDefaultFont.Assign(value);
    DefaultFontChanged();
}

void TbsGraphicSkinCustomControl::GetSkinData() {
    TbsGraphicSkinControl::GetSkinData();
    if (FIndex != -1) CopySkinRecord(*FSD->CtrlList[std::size_t(FIndex)], *FSD);
}

void TbsGraphicSkinCustomControl::FitSkinSize(int& AWidth, int& AHeight) {
    FitSkinSizeTo(AWidth, AHeight, FIndex != -1);
}

void TbsGraphicSkinCustomControl::DrawSkinRect(gfx::TBitmap& B, gfx::TBitmap* APicture,
                                               const TRect& ARect) {
    DrawSkinRectAt(B, APicture, ARect, Width(), Height(), true);
}

void TbsGraphicSkinCustomControl::CreateControlDefaultImage(gfx::TBitmap& B) {
    B.Canvas().Brush().SetStyle(gfx::bsSolid);
    B.Canvas().Brush().SetColor(gfx::clBtnFace);
    B.Canvas().FillRect({0, 0, B.Width(), B.Height()});
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(gfx::TBitmap& B) {
    DrawSkinRect(B, Picture, SkinRect);
}

void TbsGraphicSkinCustomControl::ChangeSkinData() {
    GetSkinData();
    if (FIndex == -1) {
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
        Repaint();
        return;
    }
    int w = Width(), h = Height();
    FitSkinSize(w, h);
    bool changed = false;
    if (w != Width()) {
        SetWidth(w);
        changed = true;
    }
    if (h != Height()) {
        SetHeight(h);
        changed = true;
    }
    if (!changed) Repaint();
}

void TbsGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    bool fitted = false;
    if ((AWidth != Width() || AHeight != Height()) && FIndex != -1) {
        FitSkinSize(AWidth, AHeight);
        if (ResizeMode == kResizeFixed) NewClRect = ClRect;
        fitted = true;
    }
    ATop = CentredChildTop(Parent(), ATop, AHeight);
    TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (fitted) Repaint();
}

}  // namespace skin
