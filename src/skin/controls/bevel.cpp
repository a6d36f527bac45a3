#include "skin/controls/bevel.h"

#include "skin/controls/label_text.h"
#include "skin/core/skin_records.h"

namespace skin {

TbsSkinBevel::TbsSkinBevel(vcl::TComponent* AOwner) : vcl::TBevel(AOwner) {}

void TbsSkinBevel::SetSkinData(TbsSkinData* value) {
    BindSkinData(this, FSD, value);
    ChangeSkinData();
}

void TbsSkinBevel::SetDividerMode(bool value) {
    FDividerMode = value;
    Repaint();
}

void TbsSkinBevel::ChangeSkinData() {
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    LightColor = gfx::clBtnHighlight;
    DarkColor = gfx::clBtnShadow;
    if (FIndex != -1)
        if (auto* r = dynamic_cast<TbsDataSkinBevel*>(FSD->CtrlList[FIndex].get())) {
            LightColor = r->LightColor;
            DarkColor = r->DarkColor;
        }
    Repaint();
}

void TbsSkinBevel::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TBevel::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinBevel::SetBounds(int left, int top, int width, int height) {
    // A tool bar that centres its children keeps this one centred too.
    vcl::TBevel::SetBounds(left, CentredChildTop(Parent(), top, height), width, height);
}

void TbsSkinBevel::Paint() {
    if (!FDividerMode) {
        PaintShape(LightColor, DarkColor);
        return;
    }
    if (Shape() == vcl::bsSpacer) return;
    gfx::TCanvas& c = Canvas();
    const gfx::TColor c1 = Style() == vcl::bsLowered ? DarkColor : LightColor;
    const gfx::TColor c2 = Style() == vcl::bsLowered ? LightColor : DarkColor;
    const int w = Width(), h = Height();
    c.Pen().SetWidth(1);
    auto box = [&](int l, int t, int r, int b) {
        c.Pen().SetColor(c1);
        c.MoveTo(l, b);
        c.LineTo(l, t);
        c.LineTo(r, t);
        c.Pen().SetColor(c2);
        c.LineTo(r, b);
        c.LineTo(l, b);
    };
    if (Shape() == vcl::bsTopLine || Shape() == vcl::bsBottomLine)
        box(2, h / 2 - 1, w - 2, h / 2);
    else
        box(w / 2 - 1, 2, w / 2, h - 2);
}

}  // namespace skin
