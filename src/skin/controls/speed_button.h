// TbsSkinSpeedButton: the windowless tool button. It paints on its parent's canvas, never takes
// the focus, and draws the normal, hot, pressed or disabled picture of a button record
// ("toolbutton" by default) or, without one, a flat default look; over it a glyph and caption from
// an images menu's choice, the parent tool bar's image lists, its own image list or its Glyph
// strip, whichever comes first. It fades between normal and hot (morphing), plays the record's
// frame strip on enter and leave, stays down in an exclusive group (GroupIndex) and repeats its
// click while held (RepeatMode).
//
// Owns its Glyph and its three timers (fade, frame strip, repeat), which run on the main thread's
// timers of the window layer's clock. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/graphics.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/timer.h"
#include "skin/controls/button_timers.h"
#include "skin/controls/drop_menus.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/controls/skin_button.h"
#include "skin/core/skin_description.h"

namespace skin {

class TbsSkinSpeedButton : public TbsGraphicSkinCustomControl {
public:
    explicit TbsSkinSpeedButton(vcl::TComponent* AOwner);
    ~TbsSkinSpeedButton() override;
    void BeforeDestruction() override;

    // Forgets the hot and down state and shows the normal picture.
    void RefreshButton();
    // OnClick (the library has no actions).
    virtual void ButtonClick();

    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // True exactly while csOpaque is off: the parent shows through an idle button.
    bool Transparent() const;
    void SetTransparent(bool value);

    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool value) { FRepeatMode = value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int value) { FRepeatInterval = value; }

    vcl::TCustomImageList* ImageList() const { return FButtonImages; }
    void SetImageList(vcl::TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    gfx::TBitmap& Glyph() { return *FGlyph; }
    void SetGlyph(const gfx::TBitmap& value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout value);

    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    int WidthWithCaption() const { return FWidthWithCaption; }
    void SetWidthWithCaption(int value) { FWidthWithCaption = value; }
    int WidthWithoutCaption() const { return FWidthWithoutCaption; }
    void SetWidthWithoutCaption(int value) { FWidthWithoutCaption = value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value) { FUseSkinSize = value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool value) { FUseSkinFontColor = value; }

    // An images menu whose chosen cell gives the picture (UseImagesMenuImage) and the caption
    // (UseImagesMenuCaption); the menu speed button publishes these.
    TbsSkinDropImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
    virtual void SetSkinImagesMenu(TbsSkinDropImagesMenu* value);
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool value) { FUseImagesMenuImage = value; }
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool value) { FUseImagesMenuCaption = value; }
    // A colour bar under the glyph or caption.
    bool DrawColorMarker() const { return FDrawColorMarker; }
    void SetDrawColorMarker(bool value) { FDrawColorMarker = value; }
    gfx::TColor ColorMarkerValue() const { return FColorMarkerValue; }
    void SetColorMarkerValue(gfx::TColor value) { FColorMarkerValue = value; }

    // The fade between the normal (0) and the hot picture (1), in fifths.
    double MorphKf() const { return FTimers.MorphKf(); }
    // The frame of the record's strip being shown (from 1), 0 for none.
    int CurrentFrame() const { return FTimers.CurrentFrame(); }
    bool MouseIn() const { return FMouseIn; }

    TbsButtonPaintEvent OnPaint;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void FitSkinSize(int& AWidth, int& AHeight) override;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void Dispatch(vcl::TMessage& Message) override;
    void Paint() override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    // Empty: the states are drawn by CreateButtonImage.
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

    // The picture of state rectangle r with the font, OnPaint and content over it.
    virtual void CreateButtonImage(gfx::TBitmap& B, const gfx::TRect& R, bool ADown, bool AMouseIn);

    // The pointer came over or left the button (after OnMouseEnter / OnMouseLeave).
    void MouseEntered();
    void MouseLeft();

    // Down and (the pointer over it or a member of a group).
    bool Pressed() const { return FDown && (FMouseIn || FGroupIndex != 0); }
    // The skin data is set, loaded and lets effects run; morph: and the record fades.
    bool EffectsOn() const;
    bool MorphOn() const;
    // The caption as drawn: empty while ShowCaption is off.
    std::string ShownCaption() const;
    // The image lists the parent lends (the tool bar); false when it lends none.
    bool HostImages(vcl::TCustomImageList*& images, vcl::TCustomImageList*& hotImages,
                    vcl::TCustomImageList*& disabledImages) const;

    // Glyph and caption in rect by the first source that applies (images menu, tool bar, own
    // image list, Glyph). `offset` moves them one pixel (pressed), `pressedGlyph` and `hot` pick
    // the glyph frame; `greyDisabledImages` greys the bar's disabled images too (else drawn as they
    // are).
    void DrawContent(gfx::TCanvas& canvas, const gfx::TRect& rect, bool offset, bool pressedGlyph,
                     bool hot, bool greyDisabledImages = false);
    // The idle look of a transparent button: glyph and caption straight on the canvas in rect.
    void DrawTransparentContent(const gfx::TRect& rect);
    // The canvas font: the record's (UseSkinFont) or DefaultFont, with the skin's charset.
    void SetButtonFont(gfx::TCanvas& canvas);
    // The text colour of a state picture by the record's colours.
    gfx::TColor StateFontColor(bool ADown, bool AMouseIn);
    // The font and colour of the idle transparent look.
    void SetTransparentFont(gfx::TCanvas& canvas);
    // The default look's frame and fill over rect: pressed or hot (navy frame), normal, or
    // flat (the face colour alone).
    static void DrawDefaultFace(gfx::TCanvas& canvas, const gfx::TRect& rect, bool pressed,
                                bool hot, bool flat);
    // DefaultFont with the skin's charset, greyed when disabled.
    void SetDefaultLookFont(gfx::TCanvas& canvas);
    // The resource strings' charset when the skin data has a table, else DefaultFont's.
    gfx::TFontCharset TextCharset();

    // The strip plays on enter and leave when the record has one and the button is not flat.
    bool CanAnimate() const;
    void StartAnimate(bool forward);

    // Record copy.
    std::string FontName = "Arial";
    gfx::TFontStyles FontStyle;
    int FontHeight = 14;
    gfx::TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    gfx::TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    gfx::TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    gfx::TRect MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect, MenuMarkerFlatRect;
    gfx::TColor MenuMarkerTransparentColor = 0;

    bool FMouseIn = false;
    bool FMouseDown = false;
    bool FDown = false;

    TbsButtonTimers FTimers;

private:
    void MorphPaint();

    TbsSkinDropImagesMenu* FSkinImagesMenu = nullptr;
    bool FUseImagesMenuImage = false;
    bool FUseImagesMenuCaption = false;
    bool FDrawColorMarker = false;
    gfx::TColor FColorMarkerValue = 0;
    bool FUseSkinSize = true;
    bool FUseSkinFontColor = true;
    vcl::TCustomImageList* FButtonImages = nullptr;
    int FImageIndex = 0;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FFlat = false;
    bool FAllowAllUp = false;
    bool FAllowAllUpCheck = false;
    int FGroupIndex = 0;
    std::unique_ptr<gfx::TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    bool FShowCaption = true;
    int FWidthWithCaption = 0;
    int FWidthWithoutCaption = 0;
};

}  // namespace skin
