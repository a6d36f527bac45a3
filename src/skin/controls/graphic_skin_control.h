// The windowless twins of the windowed bases (skin_control.h): skinned controls that paint on
// their parent's canvas. The same model (skin data and record name, a look-up before every
// paint, an off-screen bitmap per paint, the nine-slice geometry, DefaultWidth/DefaultHeight/
// DefaultFont), without a window: no region, no forced-background mode, no WM_CHECKPARENTBG.
//
// Controls refer to the skin data and its pictures; they own neither. Main thread only.
#pragma once

#include <string>

#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_geometry.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsGraphicSkinControl : public vcl::TGraphicControl, public TbsSkinClient {
public:
    explicit TbsGraphicSkinControl(vcl::TComponent* AOwner);

    int FIndex = -1;

    TbsSkinData* SkinData() const override { return FSD; }
    virtual void SetSkinData(TbsSkinData* value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& value) { FSkinDataName = value; }

    const std::string& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const std::string& value) { FHintTitle = value; }
    int HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(int value) { FHintImageIndex = value; }
    vcl::TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(vcl::TCustomImageList* value) { FHintImageList = value; }

    virtual void GetSkinData();
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;

    void Dispatch(vcl::TMessage& Message) override;

    vcl::TNotifyEvent OnMouseEnter;
    vcl::TNotifyEvent OnMouseLeave;

protected:
    virtual void CreateControlDefaultImage(gfx::TBitmap& B) { (void)B; }
    virtual void CreateControlSkinImage(gfx::TBitmap& B) { (void)B; }
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void Paint() override;

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName;

private:
    std::string FHintTitle;
    int FHintImageIndex = 0;
    vcl::TCustomImageList* FHintImageList = nullptr;
};

class TbsGraphicSkinCustomControl : public TbsGraphicSkinControl, public TbsSkinGeometry {
public:
    explicit TbsGraphicSkinCustomControl(vcl::TComponent* AOwner);
    ~TbsGraphicSkinCustomControl() override;

    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }

    TRect RealClientRect() const { return NewClRect; }
    int RealClientWidth() const { return NewClRect.Width(); }
    int RealClientHeight() const { return NewClRect.Height(); }
    int RealClientLeft() const { return NewClRect.Left; }
    int RealClientTop() const { return NewClRect.Top; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    virtual void FitSkinSize(int& AWidth, int& AHeight);
    virtual void DefaultFontChanged() {}

    // The area ARect of APicture drawn into B at the control's size, by ResizeMode.
    void DrawSkinRect(gfx::TBitmap& B, gfx::TBitmap* APicture, const TRect& ARect);
    void MapSkinRect(const TRect& R, TRect& NewR) const {
        MapSkinRectAt(R, NewR, Width(), Height());
    }

protected:
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;

private:
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    gfx::TFont FDefaultFont;
    bool FUseSkinFont = true;
};

}  // namespace skin
