// Containers and decorations in the plain look: TPanel (bevels and a caption around aligned
// children), TBevel (lines and boxes), TSplitter (drag-resizes the control aligned against it)
// and TImage (a picture, stretched or not). Main thread only.
#pragma once

#include <memory>

#include "platform/gfx/picture.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/std_ctrls.h"

namespace vcl {

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;

private:
    void Changed();
    TPanelBevel FBevelOuter = bvRaised;
    TPanelBevel FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = taCenter;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;
    // The shape in the given light and dark colours (the skinned bevel takes them from a skin).
    void PaintShape(TColor light, TColor dark);

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// A bar between an aligned control and the rest: dragging it resizes the control aligned
// against it, within MinSize on both sides.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool value);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int value) { FMinSize = std::max(value, 1); }
    // The control the splitter resizes now (null when none lies against it).
    TControl* FindControl() const;

    TNotifyEvent OnMoved;

protected:
    // Follows the alignment: the cursor of a vertical or horizontal bar.
    void RequestAlign() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool Vertical() const { return Align() == alLeft || Align() == alRight || Align() == alNone; }
    bool FBeveled = false;
    int FMinSize = 30;
    TControl* FControl = nullptr;  // being resized
    int FDownPos = 0;              // parent coordinate of the press
    int FStartSize = 0;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    gfx::TPicture& Picture() { return *FPicture; }
    void SetPicture(const gfx::TPicture& value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    // Draws the picture's transparent colour as holes (the graphic's own Transparent).
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;

protected:
    void Paint() override;

private:
    void PictureChanged();
    std::unique_ptr<gfx::TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
};

}  // namespace vcl
