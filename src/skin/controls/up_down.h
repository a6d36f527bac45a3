// TbsSkinUpDown: two skinned arrow buttons (up and down, or right and left) over an integer
// Position that moves by Increment on a click and repeats while a button is held (timer 1 of
// its window: 500 ms, then every 100 ms; 50 ms after the pointer came back onto the button). It
// draws from an "hupdown"/"vupdown" record at the record's size, from the skin's
// "resizebutton" record at any size, or in the default look. The page control's tab scroller is
// one. Main thread only.
#pragma once

#include "skin/controls/hover_press.h"
#include "skin/controls/skin_control.h"

namespace skin {

enum TUDOrientation { udHorizontal, udVertical };

class TbsSkinUpDown : public TbsSkinCustomControl {
public:
    // Per button (0 up, 1 down): its place in the control, hover and pressed flags.
    struct TButton : TbsHoverPress {
        TRect R;
    };

    explicit TbsSkinUpDown(vcl::TComponent* AOwner);

    // The record's picture at its own size with its button places (true), or any size with
    // the buttons drawn from "resizebutton".
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    int Position() const { return FPosition; }
    // A value outside Min..Max is ignored; any other raises OnChange, changed or not.
    void SetPosition(int value);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);

    const TButton& Button(int index) const { return Buttons[index]; }

    vcl::TNotifyEvent OnChange;
    vcl::TNotifyEvent OnUpButtonClick;
    vcl::TNotifyEvent OnDownButtonClick;

    // Copied from the record.
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect;

    void GetSkinData() override;
    // Both act only with UseSkinSize: at any size the control keeps what it is given.
    void FitSkinSize(int& AWidth, int& AHeight) override;
    void UpdateWindowRegion() override;
    void Dispatch(vcl::TMessage& Message) override;

protected:
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

private:
    bool SkinSized() const { return FIndex != -1 && FUseSkinSize && FHasUpDownRecord; }
    void PlaceButtons();
    void UpdateHover(int X, int Y);
    void DrawDefaultButton(gfx::TCanvas& C, int index);
    void DrawResizeButton(gfx::TBitmap& B, int index);
    int ArrowKind(int index) const;

    bool FUseSkinSize = true;
    TUDOrientation FOrientation = udHorizontal;
    TButton Buttons[2];
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false;
    int FIncrement = 1;
    int FPosition = 0;
    int FMin = 0, FMax = 100;
    bool FHasUpDownRecord = false;
};

}  // namespace skin
