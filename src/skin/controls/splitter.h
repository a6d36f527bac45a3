// TbsSkinSplitter: the platform's splitter bar painted from the skin's "vsplitter" or
// "hsplitter" record as a three-part strip with a centred gripper; without a record, or when
// aligned alNone or alClient, it paints as the platform's. Windowless; main thread only.
#pragma once

#include <string>

#include "platform/vcl/ext_ctrls.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinSplitter : public vcl::TSplitter, public TbsSkinClient {
public:
    explicit TbsSkinSplitter(vcl::TComponent* AOwner);

    TbsSkinData* SkinData() const override { return FSD; }
    // Stores and always takes it up (none gives the default thickness).
    void SetSkinData(TbsSkinData* value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
    // Paints nothing at all.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // The thickness without a record or when transparent.
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int value) { FDefaultSize = value; }

    void GetSkinData();
    // Look-up; the thickness from DefaultSize or the record's strip; repaint.
    void ChangeSkinData() override;
    // The record index is stale once the skin data starts replacing its records.
    void BeforeChangeSkinData() override { FIndex = -1; }

    int FIndex = -1;

protected:
    void Paint() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    bool FTransparent = false;
    int FDefaultSize = 10;
    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "vsplitter";
    gfx::TPoint LTPt, RTPt, LBPt;
    gfx::TRect SkinRect;
    gfx::TBitmap* FSkinPicture = nullptr;
    bool StretchEffect = false;
    gfx::TRect GripperRect;
    bool GripperTransparent = false;
    gfx::TColor GripperTransparentColor = 0;
};

}  // namespace skin
