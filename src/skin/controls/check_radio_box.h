// TbsSkinCheckRadioBox: the skinned check box and, with Radio, radio box. It draws a check image
// cut from its "checkbox" or "radiobox" record (checked, unchecked and grayed, each normal, hot
// and disabled) beside its caption, either over its parent's background (Flat, the default) or on
// the record's own background with a fading hot state. Boxes of one parent with the same
// non-zero GroupIndex exclude each other. Setting Checked from code raises OnClick (a radio box
// only when it becomes checked): the program's dialogs rely on that. Main thread only.
#pragma once

#include <string>

#include "platform/vcl/img_list.h"
#include "platform/vcl/std_ctrls.h"
#include "platform/vcl/timer.h"
#include "skin/controls/button_timers.h"
#include "skin/controls/skin_control.h"

namespace skin {

class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCheckRadioBox(vcl::TComponent* AOwner);

    // OnClick (the control's) is the box's own click event: raised by these setters and the
    // user's toggles, never by the platform's generic click.
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    vcl::TCheckBoxState State() const { return FState; }
    // Raises OnClick every time; no group exclusion.
    void SetState(vcl::TCheckBoxState value);
    // At run time only stored: the record name and the group stay.
    bool Radio() const { return FRadio; }
    void SetRadio(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);
    vcl::TCustomImageList* Images() const { return FImages; }
    void SetImages(vcl::TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    // Also sets TabStop: a box made in code is no tab stop until one of them is set.
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool value) { FUseSkinFontColor = value; }
    bool MouseIn() const { return FMouseIn; }
    // The fade between the normal and hot looks, 0 to 1 in fifths.
    double MorphKf() const { return FTimers.MorphKf(); }

    // What a click or Space does: a check box flips, a radio box only becomes checked.
    virtual void ToggleChecked();

    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;
    void ChangeSkinData() override;
    void BeforeDestruction() override;

    // Copies of the record.
    std::string FontName;
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 14;
    gfx::TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
    vcl::TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect,
        ActiveCheckImageRect, ActiveUnCheckImageRect, UnEnabledCheckImageRect,
        UnEnabledUnCheckImageRect, GrayedCheckImageRect, ActiveGrayedCheckImageRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    // Where the check image and the caption go in the non-flat look.
    vcl::TRect CIRect, NewTextArea;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void CheckParentBackground() override;
    void FitSkinSize(int& AWidth, int& AHeight) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

private:
    bool MorphOn();
    bool FocusedHot();
    bool Hot() { return FMouseIn || FocusedHot(); }
    void StateChanged();
    // The check image for the state (table of the design), in its own bitmap.
    void CheckImage(gfx::TBitmap& image, bool hot);
    void SelectFont(gfx::TFont& font);
    void PaintFlat();
    // The non-flat skin image of one state.
    void SkinImage(gfx::TBitmap& B, bool hot);
    void DrawDefaultBox(gfx::TCanvas& C, int height);

    bool FUseSkinFontColor = true;
    bool FWordWrap = false;
    bool FAllowGrayed = false;
    vcl::TCheckBoxState FState = vcl::cbUnchecked;
    vcl::TCustomImageList* FImages = nullptr;
    int FImageIndex = 0;
    bool FFlat = true;
    bool FClicksDisabled = false;
    bool FCanFocused = true;
    bool FMouseIn = false;
    int FGroupIndex = 0;
    bool FChecked = false;
    bool FRadio = false;
    // The fade; its timer runs only while the fade does (the record's morph timer).
    TbsButtonTimers FTimers;
};

}  // namespace skin
