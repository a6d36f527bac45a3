// The skinned bars, both panels: TbsSkinToolBar (record "toolpanel") centres its children
// vertically in its skin client area, lends its image lists, flatness and captions to its speed
// buttons, hands them and its bevels its skin data, and scrolls its children sideways with two
// 12-pixel arrows in its non-client area when they do not fit; TbsSkinStatusBar (record
// "statusbar") docks at the bottom with a size grip that sizes its form. Main thread only; the
// scroll timer is the bar's window timer 1 on the window layer's clock.
#pragma once

#include "skin/controls/hover_press.h"
#include "skin/controls/panels.h"

namespace skin {

// The bar's own hit-test codes for its arrows.
inline constexpr int kHitScrollLeft = 119;
inline constexpr int kHitScrollRight = 120;

class TbsSkinToolBar : public TbsSkinPanel, public TbsSkinParent {
public:
    explicit TbsSkinToolBar(vcl::TComponent* AOwner);

    bool AdjustControls() const { return FAdjustControls; }
    void SetAdjustControls(bool value) { FAdjustControls = value; }
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool value) { FCanScroll = value; }
    // Scroll while the pointer rests on an arrow.
    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool value) { FHotScroll = value; }
    // Pixels per step; 0 scrolls a client width. Values below 0 are ignored.
    int ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(int value);
    // Milliseconds between steps while an arrow is held; values of 0 or less are ignored.
    int ScrollTimerInterval() const { return FScrollTimerInterval; }
    void SetScrollTimerInterval(int value);
    vcl::TCustomImageList* Images() const { return FImages; }
    void SetImages(vcl::TCustomImageList* value);
    vcl::TCustomImageList* HotImages() const { return FHotImages; }
    void SetHotImages(vcl::TCustomImageList* value);
    vcl::TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(vcl::TCustomImageList* value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
    void SetAutoShowHideCaptions(bool value) { FAutoShowHideCaptions = value; }
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool value);
    int WidthWithCaptions() const { return FWidthWithCaptions; }
    void SetWidthWithCaptions(int value) { FWidthWithCaptions = value; }
    int WidthWithoutCaptions() const { return FWidthWithoutCaptions; }
    void SetWidthWithoutCaptions(int value) { FWidthWithoutCaptions = value; }

    // The scroll state: range, position, page and whether the arrows show.
    int ScrollMax() const { return SMax; }
    int ScrollPosition() const { return SPosition; }
    bool ArrowsShown() const { return Buttons[0].Visible || Buttons[1].Visible; }
    // 0 idle, 1 scrolling left, 2 scrolling right.
    int ScrollTimerMode() const { return TimerMode; }

    // The base's setter, then every speed button and bevel on the bar takes the same skin data.
    void SetSkinData(TbsSkinData* value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(vcl::TMessage& Message) override;

    // TbsSkinParent: children centre in the skin client rectangle while AdjustControls is on.
    bool CentresChildren(vcl::TRect& clientRect) override;
    bool ChildImages(vcl::TCustomImageList*& images, vcl::TCustomImageList*& hotImages,
                     vcl::TCustomImageList*& disabledImages) override;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void AdjustClientRect(vcl::TRect& Rect) override;
    void GetSkinData() override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;

private:
    struct TArrow : TbsHoverPress {
        vcl::TRect Rect;
        bool Visible = false;
    };

    void CentreOtherChildren();
    void UpdateScroll();
    void ShowArrows(bool show);
    void StartTimer(int mode);
    void StopTimer();
    void ScrollStep(int mode);
    void PaintArrows();
    void RepaintArrows();
    void ForgetArrowHover();
    bool IsSkinnedChild(vcl::TControl* control) const;

    bool FAdjustControls = true;
    bool FCanScroll = false;
    bool FHotScroll = false;
    int TimerMode = 0;
    int SMax = 0, SPosition = 0, SPage = 0, SOldPosition = 0;
    int FHSizeOffset = 0;
    int FScrollOffset = 0;
    int FScrollTimerInterval = 50;
    TArrow Buttons[2];
    // The skin's "resizebutton" record that paints the arrows, -1 when none.
    int FButtonDataIndex = -1;
    vcl::TCustomImageList* FImages = nullptr;
    vcl::TCustomImageList* FDisabledImages = nullptr;
    vcl::TCustomImageList* FHotImages = nullptr;
    bool FFlat = false;
    bool FAutoShowHideCaptions = false;
    bool FShowCaptions = false;
    int FWidthWithCaptions = 0;
    int FWidthWithoutCaptions = 0;
};

class TbsSkinStatusBar : public TbsSkinPanel {
public:
    explicit TbsSkinStatusBar(vcl::TComponent* AOwner);

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    // The form skin component turns it off while the form cannot be sized.
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool value);
    // Where the grip is drawn and answers HTBOTTOMRIGHT.
    vcl::TRect GripRect();

    // The base's setter, then every skinned windowed child takes the same skin data.
    void SetSkinData(TbsSkinData* value) override;
    void Dispatch(vcl::TMessage& Message) override;

    vcl::TRect GripperRect;
    bool GripperTransparent = false;
    gfx::TColor GripperTransparentColor = 0;

protected:
    void AdjustClientRect(vcl::TRect& Rect) override;
    void GetSkinData() override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;

private:
    bool Gripping() const { return FSizeGrip && FShowGrip; }
    void DrawGrip(gfx::TCanvas& C);

    bool FSizeGrip = false;
    bool FShowGrip = true;
};

}  // namespace skin
