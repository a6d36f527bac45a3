// TbsSkinButton: the skinned push and toggle button. It draws one of five state pictures of a
// button record ("button" by default: normal, active, down, disabled, focused), cross-fades
// between normal and active in exact fifths on a 20 ms timer when the record morphs, can play a
// strip of animation frames on hover and focus, floats a glow layer (a click-through layered
// window) around itself while the pointer is over it, repeats its click while held
// (RepeatMode), answers Return as a dialog's default button and Escape as its cancel button, and
// lays out a glyph (bitmap strip or image-list entry) with its caption.
//
// Every click (mouse, Space, Return, accelerator, dialog keys, repeat timer) ends in
// ButtonClick, which sets the form's ModalResult and raises OnClick. Timers run on the window
// layer's clock and belong to the button. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/timer.h"
#include "skin/controls/button_timers.h"
#include "skin/controls/skin_control.h"
#include "skin/core/layered_windows.h"

namespace skin {

// Clearing DrawDefault suppresses the glyph and caption.
using TbsButtonPaintEvent = std::function<void(vcl::TObject* Sender, gfx::TCanvas& Cnvs, TRect R,
                                               bool ADown, bool AMouseIn, bool& DrawDefault)>;

// Frames of a glyph strip: 1 normal, 2 disabled, 3 down, 4 hot.
using TbsNumGlyphs = int;

// The animation frame k (from 1) of a strip of frameCount frames: side by side when the strip
// is wider than skinRect, else one above the other.
[[nodiscard]] TRect AnimationFrameRect(const TRect& strip, int frameCount, int k,
                                       const TRect& skinRect);

class TbsSkinButton : public TbsSkinCustomControl {
public:
    explicit TbsSkinButton(vcl::TComponent* AOwner);
    ~TbsSkinButton() override;
    void BeforeDestruction() override;

    // --- properties ----------------------------------------------------------------------------
    gfx::TBitmap& Glyph() { return FGlyph; }
    void SetGlyph(const gfx::TBitmap& value);
    TbsNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsNumGlyphs value);
    vcl::TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(vcl::TCustomImageList* value) { FImageList = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    // Values below -1 are ignored; -1 centres glyph and caption as one block.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    // A non-zero group makes the button a toggle that cannot take the focus.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    vcl::TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(vcl::TModalResult value) { FModalResult = value; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool value) { FRepeatMode = value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int value) { FRepeatInterval = value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value) { FUseSkinSize = value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool value) { FUseSkinFontColor = value; }
    bool AlwaysShowLayeredFrame() const { return FAlwaysShowGlowFrame; }
    void SetAlwaysShowLayeredFrame(bool value) { FAlwaysShowGlowFrame = value; }
    // Stored; text is UTF-8, so it changes nothing.
    int Charset() const { return FCharset; }
    void SetCharset(int value) { FCharset = value; }

    // --- state the tests and descendants read --------------------------------------------------
    bool MouseIn() const { return FMouseIn; }
    bool Active() const { return FActive; }
    double MorphKf() const { return FTimers.MorphKf(); }
    int CurrentFrame() const { return FTimers.CurrentFrame(); }
    TbsLayerManager* LayerManager() const { return FLayerManager; }

    // --- operations ----------------------------------------------------------------------------
    // Back to the plain look after the application swapped the glyph.
    void RefreshButton();
    void ShowLayer();
    void HideLayer();
    // The click: the form's ModalResult, then OnClick.
    virtual void ButtonClick();
    // Paints state picture R of the skin into B with the fonts, focus frame, paint event, glyph
    // and caption for the given flags.
    virtual void CreateButtonImage(gfx::TBitmap& B, const TRect& R, bool ADown, bool AMouseIn);

    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void FitSkinSize(int& AWidth, int& AHeight) override;
    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;

    // The button's own click event (the platform's OnClick is not raised).
    vcl::TNotifyEvent OnClick;
    TbsButtonPaintEvent OnPaint;

    // The record's copies.
    std::string FontName;
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 14;
    gfx::TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect, AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    bool ShowFocus = false;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0,
        GlowLayerOffsetBottom = 0;
    int GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
    int GlowLayerAlphaBlendValue = 255;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateWnd() override;
    void Paint() override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override { (void)B; }
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

    bool EffectsOn() const;
    bool MorphOn() const { return Morphing && EffectsOn(); }
    bool FocusedHot() const { return FCanFocused && Focused(); }
    bool Hot() const { return FMouseIn || FocusedHot(); }
    bool CanAnimateFrames() const;

private:
    void StateChanged();
    bool DownCondition() const;
    // The glyph and caption for the flags, into the text rectangle.
    void PaintContent(gfx::TCanvas& canvas, const TRect& textRect, bool ADown, bool AMouseIn,
                      bool pressedLook);
    void FocusChanged(vcl::TControl* focused);
    bool GlowPossible() const;

    bool FAlwaysShowGlowFrame = false;
    TbsLayerManager* FLayerManager = nullptr;  // owned
    bool FSpaceSupport = true;
    bool FUseSkinFontColor = true;
    bool FUseSkinSize = true;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FActive = false;
    bool FAllowAllUp = false;
    bool FAllowAllUpCheck = false;
    bool FDefault = false;
    bool FCancel = false;
    vcl::TModalResult FModalResult = vcl::mrNone;
    bool FClicksDisabled = false;
    bool FCanFocused = true;
    bool FDown = false;
    bool FMouseIn = false;
    bool FMouseDown = false;
    int FGroupIndex = 0;
    gfx::TBitmap FGlyph;
    TbsNumGlyphs FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    // The fade (counted in exact fifths), the frame strip and the click repetition.
    TbsButtonTimers FTimers;
    vcl::TCustomImageList* FImageList = nullptr;
    int FImageIndex = -1;
    int FCharset = 1;
};

}  // namespace skin
