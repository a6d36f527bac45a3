// TbsSkinCustomSlider / TbsSkinSlider: a windowed ruler-and-thumb slider over an integer range,
// drawn from a "slider" record or from four pictures of its own (the compiled-in defaults
// "BS_HTB", "BS_HRL", "BS_VTB", "BS_VRL", or pictures the program assigns). The thumb is
// dragged, the ruler beside it pages by Increment while held (timer 1 of the slider's window,
// every 400 ms), and the arrows, Home and End move it. The application's seek bar is one.
// Painting is buffered in a 32-bit memory surface. Main thread only.
#pragma once

#include <array>
#include <memory>

#include "skin/controls/skin_control.h"

namespace skin {

enum TbsSliderOrientation { soHorizontal, soVertical };
enum TbsSliderOption { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using TbsSliderOptions = vcl::TSet<TbsSliderOption>;
enum TbsSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };
using TbsSliderImages = vcl::TSet<TbsSliderImage>;
enum TbsJumpMode { jmNone, jmHome, jmEnd, jmNext, jmPrior };

class TbsSkinCustomSlider : public TbsSkinControl {
public:
    explicit TbsSkinCustomSlider(vcl::TComponent* AOwner);
    ~TbsSkinCustomSlider() override;

    int Value() const { return FValue; }
    // Clamped to the range; OnChange when the value changes.
    void SetValue(int value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);
    TbsSliderOrientation Orientation() const { return FOrientation; }
    // Swaps the width and height.
    void SetOrientation(TbsSliderOrientation value);
    TbsSliderOptions Options() const { return FOptions; }
    void SetOptions(TbsSliderOptions value);
    int EdgeSize() const { return FEdgeSize; }
    void SetEdgeSize(int value);
    int NumThumbStates() const { return FNumThumbStates; }
    void SetNumThumbStates(int value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool UseSkinThumb() const { return FUseSkinThumb; }
    void SetUseSkinThumb(bool value);

    // The own pictures; nil restores the compiled-in default and clears the opaque option.
    gfx::TBitmap* Image(TbsSliderImage index) const { return FImages[index].get(); }
    void SetImage(TbsSliderImage index, const gfx::TBitmap* value);
    gfx::TBitmap* ImageHThumb() const { return Image(siHThumb); }
    void SetImageHThumb(const gfx::TBitmap* value) { SetImage(siHThumb, value); }
    gfx::TBitmap* ImageHRuler() const { return Image(siHRuler); }
    void SetImageHRuler(const gfx::TBitmap* value) { SetImage(siHRuler, value); }
    gfx::TBitmap* ImageVThumb() const { return Image(siVThumb); }
    void SetImageVThumb(const gfx::TBitmap* value) { SetImage(siVThumb, value); }
    gfx::TBitmap* ImageVRuler() const { return Image(siVRuler); }
    void SetImageVRuler(const gfx::TBitmap* value) { SetImage(siVRuler, value); }

    // The thumb's travel in pixels; 0 or less on a slider too small for its ruler.
    int RulerLength() const;
    const TRect& ThumbRect() const { return FThumbRect; }
    TPoint RulerOrg() const { return FRulerOrg; }
    const gfx::TBitmap& Ruler() const { return *FRuler; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    // Draws the scale points on Canvas with the given step and lengths (for OnDrawPoints).
    virtual void DefaultDrawPoints(int PointsStep, int PointsHeight, int ExtremePointsHeight);

    vcl::TNotifyEvent OnChange;
    vcl::TNotifyEvent OnChanged;
    vcl::TNotifyEvent OnDrawPoints;

    // Copied from the record by GetSkinData.
    TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int SkinEdgeSize = 0;
    TColor BGColor = 0, PointsColor = 0;
    gfx::TBitmap* Picture = nullptr;

    void Dispatch(vcl::TMessage& Message) override;

protected:
    void Loaded() override;
    void Paint() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, vcl::TShiftState Shift) override;

    virtual bool CanUserChange() { return true; }
    virtual void GetSliderArea(TRect& R) { R = {0, 0, Width(), Height()}; }
    // What a copy of the slider (painted as another control's backdrop) shows.
    virtual int GetShownValue() { return FValue; }
    virtual void LayoutElements();
    virtual void AfterRangeChange() {}
    virtual void PressThumb(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
    virtual void DragThumb(vcl::TShiftState Shift, int X, int Y);
    virtual void ReleaseThumb(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
    virtual void NotifyChange();
    virtual void NotifyChanged();

private:
    struct TThumbSizes {
        int Wh = 0, Hh = 0, Wv = 0, Hv = 0, N = 1;
    };
    bool HasRecord() const { return FIndex != -1 && Picture; }
    bool SkinThumb() const { return HasRecord() && FUseSkinThumb; }
    TThumbSizes ThumbSizes() const;
    bool Horizontal() const { return FOrientation == soHorizontal; }
    int MinOffset();
    int OffsetOfValue(int V);
    int ValueAtOffset(int Offset);
    void SnapThumbOffset(int& Offset);
    void MoveThumb(int Offset);
    void InvalidateThumbRect();
    void SetRange(int AMin, int AMax);
    void LoadDefaultImage(TbsSliderImage index);
    void ImageChanged();
    void BuildSkinRuler(const TRect& R);
    void BuildImageRuler(const TRect& R);
    void DrawPoints(gfx::TCanvas& C, int Step, int NormalLength, int ExtremeLength);
    void DrawThumb(gfx::TCanvas& C, TPoint P, bool second);
    TbsJumpMode JumpDirectionAt(int X, int Y) const;
    void JumpValue(TbsJumpMode Mode);
    void RepeatJump();
    void EndTracking();
    void BufferedPaint(vcl::TMessage& m);

    bool FUseSkinThumb = true;
    bool FTransparent = false;
    TbsSliderImages FUserImages;
    std::array<std::unique_ptr<gfx::TBitmap>, 4> FImages;
    int FEdgeSize = 2;
    std::unique_ptr<gfx::TBitmap> FRuler;
    bool FPaintBuffered = false;
    TPoint FRulerOrg;
    TRect FThumbRect;
    bool FThumbDown = false;
    int FNumThumbStates = 2;
    TRect FPointsRect;
    TbsSliderOrientation FOrientation = soHorizontal;
    TbsSliderOptions FOptions{soShowFocus, soShowPoints, soSmooth};
    int FMinValue = 0, FMaxValue = 100;
    int FIncrement = 10;
    int FValue = 0;
    int FHit = 0;
    bool FFocused = false;
    bool FSliding = false;
    bool FTracking = false;
    bool FTimerActive = false;
    TPoint FMousePos;
    TbsJumpMode FStartJump = jmNone;
    bool FCreating = true;
};

class TbsSkinSlider : public TbsSkinCustomSlider {
public:
    using TbsSkinCustomSlider::TbsSkinCustomSlider;
};

}  // namespace skin
