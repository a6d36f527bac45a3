// TbsSkinScrollBar: a scroll bar the skin engine draws itself (two arrow buttons, a track and a
// thumb) from a "scrollbar" record or in the flat default look. It stands alone, or serves as
// the external bar of a control that scrolls itself: the owner keeps it in step with SetRange
// and scrolls on OnChange. Line and page steps repeat while a button or the track is held, on
// timer 1 of the bar's own window (the window layer's clock). Main thread only.
#pragma once

#include <string>

#include "skin/controls/hover_press.h"
#include "skin/controls/skin_control.h"

namespace skin {

enum TScrollBarKind { sbHorizontal, sbVertical };

// One of the three parts: 0 the thumb, 1 the button that raises the position (right or bottom
// end), 2 the one that lowers it (left or top end).
struct TbsSkinScrollBarPart : TbsHoverPress {
    TRect R;  // control coordinates
};

class TbsSkinScrollBar : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBar(vcl::TComponent* AOwner);

    // Stores the range and page as given, then the position clamped; repaints, no OnChange.
    void SetRange(int AMin, int AMax, int APosition, int APageSize);
    // The position clamped, a repaint when it changed; no OnChange.
    void SimplySetPosition(int AValue);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Position() const { return FPosition; }
    // Clamped; OnChange when the stored position changes.
    void SetPosition(int value);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int PageSize() const { return FPageSize; }
    // Refused (the bar still repaints) when the page would not fit behind the position.
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value);
    // A horizontal bar that shares its corner with a vertical one: it takes BothSkinDataName's
    // record, or leaves BothMarkerWidth free at its right end in the default look.
    bool Both() const { return FBoth; }
    void SetBoth(bool value);
    int BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(int value);
    const std::string& BothSkinDataName() const { return FBothSkinDataName; }
    void SetBothSkinDataName(const std::string& value) { FBothSkinDataName = value; }
    // Focusable on request only; then the arrows and the wheel move the position.
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool value);

    vcl::TNotifyEvent OnChange;
    vcl::TNotifyEvent OnLastChange;
    vcl::TNotifyEvent OnUpButtonClick;
    vcl::TNotifyEvent OnDownButtonClick;
    vcl::TNotifyEvent OnPageUp;
    vcl::TNotifyEvent OnPageDown;

    // The parts as last laid out.
    const TbsSkinScrollBarPart& Part(int index) const { return Buttons[index]; }
    // The track at the current size.
    const TRect& TrackRect() const { return NewTrackArea; }

    // Copied from the record by GetSkinData.
    TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect,
        ActiveDownButtonRect, DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect;
    int ThumbOffset1 = 0, ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0;
    bool ThumbStretchEffect = false;
    int ThumbMinSize = 0, ThumbMinPageSize = 0;
    TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0;

    void GetSkinData() override;
    // The base's fit, then the parts laid out at the new size.
    void FitSkinSize(int& AWidth, int& AHeight) override;
    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;

protected:
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, vcl::TShiftState Shift) override;

private:
    bool Horizontal() const { return FKind == sbHorizontal; }
    // Max without a page, else Max - PageSize + 1 but never below Min.
    int UpperBound() const;
    int Clamped(int value) const;
    void LayoutParts();
    int PositionFromOffset(int A);
    void DrawPart(gfx::TBitmap& B, int index);
    void DrawDefaultPart(gfx::TCanvas& C, int index);
    void DrawSkinThumb(gfx::TBitmap& B);
    void UpdateHover(int X, int Y);
    void StartRepeat(int mode);
    void StopRepeat();
    void RepeatStep();
    // Along the bar's axis.
    int Along(int x, int y) const { return Horizontal() ? x : y; }
    int Near(const TRect& r) const { return Horizontal() ? r.Left : r.Top; }
    int Far(const TRect& r) const { return Horizontal() ? r.Right : r.Bottom; }

    std::string FNormalSkinDataName;
    std::string FBothSkinDataName = "bothhscrollbar";
    int Offset1 = 0, Offset2 = 0, BOffset = 0;
    TRect NewTrackArea;
    bool FDown = false;
    int OMPos = 0, OldBOffset = 0;
    int MX = 0, MY = 0;
    bool MouseD = false;
    bool WaitMode = false;
    int FBothMarkerWidth = 19;
    bool FClicksDisabled = false;
    bool FCanFocused = false;
    int TimerMode = 0;
    int ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;
    TbsSkinScrollBarPart Buttons[3];
    int FMin = 0, FMax = 100;
    int FSmallChange = 1, FLargeChange = 1;
    int FPosition = 0;
    TScrollBarKind FKind = sbHorizontal;
    int FPageSize = 0;
    bool FBoth = false;
};

// A click on a control that focuses on click: the control takes the focus first, with
// clicksDisabled set meanwhile; false when the click is to go nowhere (the focus did not come).
// Command notifications are dropped while clicksDisabled is set.
bool FocusBeforeClick(vcl::TWinControl& control, vcl::TMessage& m, bool& clicksDisabled);

}  // namespace skin
