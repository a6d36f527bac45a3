// TbsSkinLinkLabel: a label that acts as a link. Its font and colours come from the skin's
// "stdlabel" record or its own defaults; under the pointer it changes colour or glows, and a
// click raises OnClick and then opens URL through the desktop (sys::OpenDocument).
// Windowless; main thread only.
#pragma once

#include <string>

#include "platform/vcl/std_ctrls.h"
#include "skin/controls/label_text.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinLinkLabel : public vcl::TCustomLabel, public TbsSkinClient, public TbsLabelSkinLink {
public:
    explicit TbsSkinLinkLabel(vcl::TComponent* AOwner);

    TbsSkinData* SkinData() const override { return FSD; }
    // Stores; a skin data is taken up at once.
    void SetSkinData(TbsSkinData* value);
    bool UseUnderLine() const { return FUseUnderLine; }
    void SetUseUnderLine(bool value);
    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool value) { FGlowEffect = value; }
    int GlowSize() const { return FGlowSize; }
    void SetGlowSize(int value) { FGlowSize = value; }
    gfx::TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(gfx::TColor value) { FDefaultActiveFontColor = value; }
    const std::string& URL() const { return FURL; }
    void SetURL(const std::string& value) { FURL = value; }
    bool MouseIn() const { return FMouseIn; }

    void ChangeSkinData() override;
    // The record index is stale once the skin data starts replacing its records.
    void BeforeChangeSkinData() override { FIndex = -1; }
    // OnClick, then the URL opens (when there is one); what the opener does is not looked at.
    void Click() override;
    void Dispatch(vcl::TMessage& Message) override;

protected:
    void DoDrawText(vcl::TRect& Rect, unsigned Flags) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void GetSkinData();

    bool FGlowEffect = false;
    int FGlowSize = 7;
    bool FMouseIn = false;
    gfx::TColor FDefaultActiveFontColor = gfx::clBlue;
    std::string FURL;
    bool FUseUnderLine = true;
};

}  // namespace skin
