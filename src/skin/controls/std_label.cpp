#include "skin/controls/std_label.h"

#include "platform/gfx/text.h"

namespace skin {

TbsSkinStdLabel::TbsSkinStdLabel(vcl::TComponent* AOwner) : vcl::TCustomLabel(AOwner) {
    SetTransparent(true);
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* value) {
    BindSkinData(this, FSD, value);
    if (value) ChangeSkinData();
}

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType value) {
    if (FEllipsType == value) return;
    FEllipsType = value;
    Invalidate();
}

void TbsSkinStdLabel::GetSkinData() {
    LookUpRecord();
}

void TbsSkinStdLabel::ChangeSkinData() {
    GetSkinData();
    if (AutoSize()) AdjustBounds();
    Repaint();
}

void TbsSkinStdLabel::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TCustomLabel::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinStdLabel::DoDrawText(vcl::TRect& rect, unsigned flags) {
    GetSkinData();
    std::string text = Caption();
    if ((flags & gfx::DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&")))
        text += " ";
    if (!ShowAccelChar()) flags |= gfx::DT_NOPREFIX;
    if (FEllipsType == bsetEndEllips) flags |= gfx::DT_END_ELLIPSIS;
    if (FEllipsType == bsetPathEllips) flags |= gfx::DT_PATH_ELLIPSIS;
    gfx::TCanvas& c = Canvas();
    const bool hasRecord = FIndex != -1;
    SelectFont(c.Font(), FUseSkinColor, Font());
    if (flags & gfx::DT_CALCRECT) {
        c.DrawText(text, rect, flags);
        return;
    }
    if (Enabled()) {
        c.Brush().SetStyle(gfx::bsClear);
        c.DrawText(text, rect, flags);
    } else {
        DrawEmbossedText(c, FSD, hasRecord, text, rect, flags);
    }
}

}  // namespace skin
