// The skinned containers: TbsSkinPanel (a nine-slice background from the "panel" record with an
// optional caption bar, a check box in the caption that enables the children, a roll-up to the
// caption, a transparent mode showing the parent through it and a background-picture mode; a
// default look with four border styles without a record), TbsSkinPaintPanel (raises
// OnPanelPaint over its look) and TbsSkinGroupBox (record "groupbox", caption on). The tool and
// status bars build on the panel. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/vcl/img_list.h"
#include "platform/vcl/std_ctrls.h"
#include "skin/controls/skin_control.h"

namespace skin {

enum TbsImagePosition { bsipDefault, bsipLeft };
enum TbsSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

class TbsSkinPanel : public TbsSkinCustomControl {
public:
    explicit TbsSkinPanel(vcl::TComponent* AOwner);
    ~TbsSkinPanel() override;

    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(int value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle value);
    vcl::TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(vcl::TAlignment value);
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool value);
    bool RibbonStyle() const { return FRibbonStyle; }
    void SetRibbonStyle(bool value);
    TbsImagePosition ImagePosition() const { return FImagePosition; }
    void SetImagePosition(TbsImagePosition value);
    int CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(int value);
    vcl::TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(vcl::TCustomImageList* value);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool value);
    // Enables or disables every child with AutoEnabledControls; OnChecked every time.
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool value) { FAutoEnabledControls = value; }
    // Frame 2 of a two-frame glyph is the disabled look.
    gfx::TBitmap& Glyph() { return *FGlyph; }
    void SetGlyph(const gfx::TBitmap& value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool value);
    // Rolling up hides the children and leaves the caption; only with RollUpMode.
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool value);
    // The height before rolling up, -1 while not rolled up.
    int RealHeight() const { return FRealHeight; }
    void SetRealHeight(int value) { FRealHeight = value; }

    // (0, 0, Width, Height) through AdjustClientRect: where the children go.
    vcl::TRect GetSkinClientRect();
    void PaintskinTo(gfx::TCanvas& C, int X, int Y);
    void DoRollUp(bool ARollUp);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ChangeSkinData() override;
    void Dispatch(vcl::TMessage& Message) override;

    vcl::TNotifyEvent OnChecked;
    vcl::TNotifyEvent OnChangeRollUpState;

    // Copies of the record.
    std::string FontName;
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 14;
    gfx::TColor FontColor = 0;
    TAlignment Alignment = taCenter;
    vcl::TRect CaptionRect, NewCaptionRect, NewRollUpMarkerRect;
    int BGPictureIndex = -1;
    vcl::TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;

protected:
    // Raised over the finished look (the paint panel's OnPanelPaint).
    virtual void DoPanelPaint(gfx::TCanvas& Cnvs);

    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void AdjustClientRect(vcl::TRect& Rect) override;
    void CreateParams(vcl::TCreateParams& Params) override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

    // The font of the caption: the record's or DefaultFont.
    void SelectCaptionFont(gfx::TFont& Font);
    // The record's client piece over `dest` (of the panel's size) by the stretch settings.
    void DrawClientPiece(gfx::TCanvas& Canvas, const vcl::TRect& dest);
    // Sends WM_CHECKPARENTBG to every child.
    void RelayParentBackground();

private:
    void DrawSkinCaption(gfx::TBitmap& B);
    void PaintTransparent();
    void DrawCaptionPicture(gfx::TCanvas& C, int X, int Y);
    int CaptionPictureWidth();
    int CaptionPictureHeight();
    bool HasCaptionPicture();

    bool FRibbonStyle = false;
    bool FInChangingRollUp = false;
    TbsImagePosition FImagePosition = bsipDefault;
    bool FTransparentMode = false;
    int FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;
    bool FCheckedMode = false;
    bool FChecked = false;
    std::unique_ptr<gfx::TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FSpacing = 2;
    int FRealHeight = -1;
    bool FRollUpState = false;
    bool FRollUpMode = false;
    bool FCaptionMode = false;
    TbsSkinBorderStyle FBorderStyle = bvFrame;
    int FDefaultCaptionHeight = 22;
    vcl::TAlignment FDefaultAlignment = vcl::taLeftJustify;
    bool FAutoEnabledControls = true;
    vcl::TCustomImageList* FCaptionImageList = nullptr;
    int FCaptionImageIndex = -1;
};

using TbsPaintPanelEvent = std::function<void(gfx::TCanvas& Cnvs, vcl::TRect R)>;

class TbsSkinPaintPanel : public TbsSkinPanel {
public:
    explicit TbsSkinPaintPanel(vcl::TComponent* AOwner);
    void Dispatch(vcl::TMessage& Message) override;

    TbsPaintPanelEvent OnPanelPaint;

protected:
    void DoPanelPaint(gfx::TCanvas& Cnvs) override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
};

class TbsSkinGroupBox : public TbsSkinPanel {
public:
    explicit TbsSkinGroupBox(vcl::TComponent* AOwner);

protected:
    // A record whose client area lies above its caption paints without forced background.
    void GetSkinData() override;
};

}  // namespace skin
