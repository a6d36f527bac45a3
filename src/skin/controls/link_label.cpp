#include "skin/controls/link_label.h"

#include "platform/gfx/text.h"
#include "platform/sys/launcher.h"
#include "skin/core/glow_text.h"

namespace skin {

TbsSkinLinkLabel::TbsSkinLinkLabel(vcl::TComponent* AOwner) : vcl::TCustomLabel(AOwner) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle(gfx::fsUnderline);
    SetTransparent(true);
    SetFont(FDefaultFont);
    SetCursor(vcl::crHandPoint);
}

void TbsSkinLinkLabel::SetSkinData(TbsSkinData* value) {
    BindSkinData(this, FSD, value);
    if (value) ChangeSkinData();
}

void TbsSkinLinkLabel::SetUseUnderLine(bool value) {
    if (FUseUnderLine == value) return;
    FUseUnderLine = value;
    Repaint();
}

void TbsSkinLinkLabel::GetSkinData() {
    LookUpRecord();
}

void TbsSkinLinkLabel::ChangeSkinData() {
    GetSkinData();
    Repaint();
}

void TbsSkinLinkLabel::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TCustomLabel::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinLinkLabel::Dispatch(vcl::TMessage& m) {
    vcl::TCustomLabel::Dispatch(m);
    if (m.Msg != vcl::CM_MOUSEENTER && m.Msg != vcl::CM_MOUSELEAVE) return;
    if (ComponentState().Contains(vcl::csDesigning)) return;
    FMouseIn = m.Msg == vcl::CM_MOUSEENTER;
    Repaint();
}

void TbsSkinLinkLabel::Click() {
    vcl::TCustomLabel::Click();
    if (!FURL.empty()) sys::OpenDocument(FURL);
}

void TbsSkinLinkLabel::DoDrawText(vcl::TRect& rect, unsigned flags) {
    GetSkinData();
    std::string text = Caption();
    if (flags & gfx::DT_CALCRECT) {
        if (text.empty())
            text = " ";
        else if (ShowAccelChar() && text == "&")
            text = "& ";
    }
    if (!ShowAccelChar()) flags |= gfx::DT_NOPREFIX;
    // The glow needs room above the text, hovered or not, so the text never jumps.
    vcl::TRect r2 = FGlowEffect ? rect.Offset(0, FGlowSize) : rect;
    gfx::TCanvas& c = Canvas();
    const bool hasRecord = FIndex != -1;
    SelectFont(c.Font(), true, Font());
    if (!hasRecord && FMouseIn) c.Font().SetColor(FDefaultActiveFontColor);
    if (hasRecord && FMouseIn && !FGlowEffect) c.Font().SetColor(RecordFont.ActiveFontColor);
    const gfx::TColor glowColor =
        gfx::ColorToRGB(hasRecord ? RecordFont.ActiveFontColor : FDefaultActiveFontColor);
    if (flags & gfx::DT_CALCRECT) {
        c.DrawText(text, rect, flags);
        return;
    }
    if (!Enabled()) {
        DrawEmbossedText(c, FSD, hasRecord, text, r2, flags);
        return;
    }
    gfx::TFontStyles style = c.Font().Style();
    c.Font().SetStyle(FUseUnderLine ? style | gfx::fsUnderline : style & ~gfx::fsUnderline);
    c.Brush().SetStyle(gfx::bsClear);
    if (FMouseIn && FGlowEffect)
        DrawGlowText(c, r2, text, flags, 0, glowColor, FGlowSize);
    else
        c.DrawText(text, r2, flags);
}

}  // namespace skin
