#include "skin/controls/text_label.h"

#include <algorithm>

#include "platform/gfx/text.h"

namespace skin {

TbsSkinTextLabel::TbsSkinTextLabel(vcl::TComponent* AOwner) : vcl::TGraphicControl(AOwner) {
    vcl::TControlStyle style = ControlStyle();
    style -= vcl::csOpaque;
    style += vcl::csReplicatable;
    SetControlStyle(style);
    SetBounds(0, 0, 65, 65);
    vcl::TGraphicControl::SetAutoSize(true);
    FLines.OnChange = [this](rtl::TStringList&) {
        if (AutoSize()) AdjustBounds();
        Invalidate();
    };
}

TbsSkinTextLabel::~TbsSkinTextLabel() {
    FLines.OnChange = nullptr;
}

void TbsSkinTextLabel::SetSkinData(TbsSkinData* value) {
    BindSkinData(this, FSD, value);
    if (value) ChangeSkinData();
}

void TbsSkinTextLabel::SetLines(const rtl::TStrings& value) {
    FLines.Assign(value);
    Repaint();
}

void TbsSkinTextLabel::SetAlignment(vcl::TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TbsSkinTextLabel::SetLayout(vcl::TTextLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TbsSkinTextLabel::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TbsSkinTextLabel::SetAutoSize(bool value) {
    if (AutoSize() == value) return;
    vcl::TGraphicControl::SetAutoSize(value);
    AdjustBounds();
}

void TbsSkinTextLabel::GetSkinData() {
    LookUpRecord();
}

void TbsSkinTextLabel::ChangeSkinData() {
    GetSkinData();
    if (AutoSize()) AdjustBounds();
    Repaint();
}

void TbsSkinTextLabel::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TGraphicControl::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinTextLabel::Loaded() {
    vcl::TGraphicControl::Loaded();
    AdjustBounds();
}

void TbsSkinTextLabel::Dispatch(vcl::TMessage& m) {
    vcl::TGraphicControl::Dispatch(m);
    if (m.Msg == vcl::CM_FONTCHANGED) {
        AdjustBounds();
        Invalidate();
    }
}

std::string TbsSkinTextLabel::GetLabelText() {
    return FLines.Text();
}

void TbsSkinTextLabel::DrawLabelText(vcl::TRect& r, unsigned flags) {
    GetSkinData();
    const std::string text = GetLabelText();
    gfx::TCanvas& c = Canvas();
    const bool hasRecord = FIndex != -1;
    SelectFont(c.Font(), FUseSkinColor, Font());
    if (flags & gfx::DT_CALCRECT) {
        c.DrawText(text, r, flags);
        return;
    }
    if (Enabled()) {
        c.Brush().SetStyle(gfx::bsClear);
        c.DrawText(text, r, flags);
    } else {
        DrawEmbossedText(c, FSD, hasRecord, text, r, flags);
    }
}

int TbsSkinTextLabel::TextHeightOf(vcl::TRect& r, unsigned flags) {
    DrawLabelText(r, flags | gfx::DT_CALCRECT);
    // The text ends with a line break, which the measure counts as one more (empty) line.
    return std::max(0, r.Height() - Canvas().TextHeight("A"));
}

void TbsSkinTextLabel::Paint() {
    gfx::TCanvas& c = Canvas();
    c.Brush().SetStyle(gfx::bsClear);
    vcl::TRect r = ClientRect();
    unsigned flags = gfx::DT_EXPANDTABS;
    if (FWordWrap) flags |= gfx::DT_WORDBREAK;
    if (FAlignment == vcl::taRightJustify) flags |= gfx::DT_RIGHT;
    if (FAlignment == vcl::taCenter) flags |= gfx::DT_CENTER;
    if (FLayout != vcl::tlTop) {
        vcl::TRect measured = r;
        const int free = Height() - TextHeightOf(measured, flags);
        r = r.Offset(0, FLayout == vcl::tlBottom ? free : free / 2);
    }
    DrawLabelText(r, flags);
}

void TbsSkinTextLabel::AdjustBounds() {
    if (ComponentState().Contains(vcl::csLoading) || ComponentState().Contains(vcl::csReading) ||
        !AutoSize())
        return;
    unsigned flags = gfx::DT_EXPANDTABS | gfx::DT_CALCRECT;
    if (FWordWrap) flags |= gfx::DT_WORDBREAK;
    // Measured off screen, so a label without a parent sizes as well.
    std::unique_ptr<gfx::TDC> dc = gfx::CreateCompatibleDC(nullptr);
    gfx::TCanvas canvas(dc.get());
    GetSkinData();
    SelectFont(canvas.Font(), FUseSkinColor, Font());
    vcl::TRect r = ClientRect();
    canvas.DrawText(GetLabelText(), r, flags);
    const int height = std::max(0, r.Height() - canvas.TextHeight("A"));
    int left = Left();
    if (FAlignment == vcl::taRightJustify) left += Width() - r.Width();
    SetBounds(left, Top(), r.Width(), height);
}

}  // namespace skin
