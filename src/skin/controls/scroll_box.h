// TbsSkinScrollBox: a skinned container whose children scroll under two external skinned scroll
// bars. It measures its visible children, ranges the bars, shows a bar only while the content
// exceeds the view, and moves the children when a bar moves. Its frame is a non-client border
// (BorderStyle, or the "scrollbox" record's nine-slice edges); its background the record's client
// area or background picture. The bars belong to whoever made them; the box only drives them.
// Main thread only.
#pragma once

#include "skin/controls/panels.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_messages.h"

namespace skin {

class TbsSkinScrollBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBox(vcl::TComponent* AOwner);

    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    // The box takes over the bar's OnChange and OnLastChange, makes it unfocusable, enabled and
    // hidden, then ranges it.
    void SetHScrollBar(TbsSkinScrollBar* value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool value) { FCanFocused = value; }

    // Scroll to a position of the bar (kept in its range).
    void HScroll(int APosition);
    void VScroll(int APosition);
    // Measure the children and range, show or hide the bar of each direction.
    void GetHRange();
    void GetVRange();
    void UpDateScrollRange();

    // The record's background picture, -1 for none.
    int BGPictureIndex = -1;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;

protected:
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    void CreateParams(vcl::TCreateParams& Params) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    // No frame at all: none asked for, or a background picture covers the whole box.
    bool Frameless() const { return BGPictureIndex != -1 || FBorderStyle == bvNone; }
    void BindBar(TbsSkinScrollBar* bar, bool vertical);
    // Moves the children by the distances given (positive: right or down).
    void MoveChildren(int dx, int dy);
    void GetRange(bool vertical);
    void PaintSkinBorder(gfx::TCanvas& C);
    void PaintFrameInto(gfx::HDC dc);
    void NcCalcSize(vcl::TMessage& m);

    bool FClicksDisabled = false;
    bool FCanFocused = false;
    bool FInCheckScrollBars = false;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    int FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
    int FVSizeOffset = 0, FHSizeOffset = 0;
    TbsSkinBorderStyle FBorderStyle = bvFrame;
};

}  // namespace skin
