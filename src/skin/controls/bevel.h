// TbsSkinBevel: the platform's bevel (boxes, frames and edge lines) drawn in the light and dark
// colours of the skin's "bevel" record, with a divider mode that draws a thin centred line
// instead. Windowless; main thread only.
#pragma once

#include <string>

#include "platform/vcl/ext_ctrls.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinBevel : public vcl::TBevel, public TbsSkinClient {
public:
    explicit TbsSkinBevel(vcl::TComponent* AOwner);

    TbsSkinData* SkinData() const override { return FSD; }
    // Stores and takes the colours up, also for none.
    void SetSkinData(TbsSkinData* value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
    // Top and bottom lines become a horizontal divider, the other shapes a vertical one.
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool value);

    // Look-up: the record's colours, or the system's without one; repaint.
    void ChangeSkinData() override;
    // The record index is stale once the skin data starts replacing its records.
    void BeforeChangeSkinData() override { FIndex = -1; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    int FIndex = -1;
    gfx::TColor LightColor = gfx::clBtnHighlight;
    gfx::TColor DarkColor = gfx::clBtnShadow;

protected:
    void Paint() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "bevel";
    bool FDividerMode = false;
};

}  // namespace skin
