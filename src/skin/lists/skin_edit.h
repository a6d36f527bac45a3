// The stand-alone skinned edit: a TbsCustomEdit whose frame (and, in ButtonMode, an edit button at
// its right end) lies in the window's non-client area and is painted from the skin's "edit" or
// "buttonedit" record, or in a plain default look. Its client area is the text area: each paint
// lays the middle of the skin picture (or DefaultColor) and up to two image buttons there and the
// edit draws its text over them with a null brush. While it has the focus or the mouse is over
// it, its text takes the record's active colour and its frame the active picture. It joins the
// form's skin-change walk as a TbsSkinClient.
//
// The skin data and the image list are lent; the default font is owned. Main thread only.
#pragma once

#include <string>

#include "platform/vcl/img_list.h"
#include "skin/controls/drop_down_client.h"
#include "skin/controls/skin_control.h"
#include "skin/lists/custom_edit.h"
#include "skin/lists/list_types.h"

namespace skin {

// Non-client hit codes of the image buttons (the edit button answers 6, the rest of the frame 7).
inline constexpr int kHitLeftImageButton = 104;
inline constexpr int kHitRightImageButton = 105;
inline constexpr int kHitEditButton = 6;
inline constexpr int kHitEditFrame = 7;

class TbsSkinCustomEdit : public TbsCustomEdit, public TbsSkinClient, public TbsDropDownClient {
public:
    explicit TbsSkinCustomEdit(vcl::TComponent* AOwner);
    ~TbsSkinCustomEdit() override;

    // ---- skin link ----
    TbsSkinData* SkinData() const override { return FSD; }
    virtual void SetSkinData(TbsSkinData* value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

    // ---- properties ----
    gfx::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gfx::TColor value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool value);
    vcl::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(vcl::TAlignment value);
    vcl::TCustomImageList* Images() const { return FImages; }
    void SetImages(vcl::TCustomImageList* value);
    int LeftImageIndex() const { return FLeftImageIndex; }
    void SetLeftImageIndex(int value);
    int RightImageIndex() const { return FRightImageIndex; }
    void SetRightImageIndex(int value);
    int LeftImageHotIndex = -1, LeftImageDownIndex = -1;
    int RightImageHotIndex = -1, RightImageDownIndex = -1;

    // ---- geometry (window coordinates) ----
    TRect EditRect() const { return FEditRect; }
    TRect ButtonRect() const { return FButtonRect; }
    // Height of the font's line plus the frame.
    int TextFitHeight();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Invalidate() override;
    void Loaded() override;
    // The whole control, frame and AText, at (X, Y) of C.
    void PaintSkinTo(gfx::TCanvas& C, int X, int Y, const std::string& AText);
    void Dispatch(vcl::TMessage& Message) override;

    vcl::TNotifyEvent OnButtonClick, OnLeftButtonClick, OnRightButtonClick;
    vcl::TNotifyEvent OnMouseEnter, OnMouseLeave;

    // ---- record copies and state ----
    int FIndex = -1;
    gfx::TBitmap* Picture = nullptr;
    int LOffset = 0, ROffset = 0;
    TRect ClRect, SkinRect, ActiveSkinRect;
    std::string FontName = "Arial";
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 14;
    gfx::TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    TRect ButtonRectRec, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    bool StretchEffect = false;
    TbsCBButtonX LeftButton, RightButton;
    bool FButtonDown = false, FButtonActive = false;
    bool FMouseIn = false;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void PaintWindow(gfx::HDC DC) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void GetSkinData();
    void CalcRects();
    void CalcImageButtons(bool setFormatRect);
    void RepaintFrame();
    void NcPaint();
    // The frame image at the control's size (strip or nine-slice look).
    void DrawFrameImage(gfx::TBitmap& B, bool normalOnly, bool withButton);
    void DrawDefaultFrame(gfx::TBitmap& B, bool withButton);
    void DrawSkinEditButton(gfx::TBitmap& B);
    void PaintClientBackground(gfx::HDC DC);
    void PaintImageButtons(gfx::HDC DC);
    void PaintDisabledText(gfx::HDC DC);
    void SelectTextFont(gfx::TFont& font, gfx::TColor skinColor);
    void FocusColour();
    void ImageButtonLeft();

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "edit";
    gfx::TColor FDefaultColor = gfx::clWindow;
    gfx::TFont FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultWidth = 0, FDefaultHeight = 0;
    bool FButtonMode = false;
    vcl::TAlignment FAlignment = vcl::taLeftJustify;
    vcl::TCustomImageList* FImages = nullptr;
    int FLeftImageIndex = -1, FRightImageIndex = -1;
    TRect FEditRect, FButtonRect;
    bool FStopDraw = false;
};

// Only publishes; no behaviour of its own.
class TbsSkinEdit : public TbsSkinCustomEdit {
public:
    using TbsSkinCustomEdit::TbsSkinCustomEdit;
};

}  // namespace skin
