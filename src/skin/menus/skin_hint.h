// Skinned tool tips. TbsSkinHint, placed on the main form, makes TbsSkinHintWindow the
// application's hint window class and hooks Application's OnShowHint, so every control's hint is
// drawn from the skin's HINTWINDOW picture (or a plain info-coloured box without one), with a
// bold title and an image when the hinted skinned control has them. It also shows hints of its
// own, at once or after Application's HintPause (caption buttons, frame objects, menu cells).
//
// Which component is in charge is decided at every activation and paint: the first active
// TbsSkinHint of Application's main form; with none, hint windows show and paint nothing. The
// component owns its own hint window, its default font and its delay timer; the skin data and
// image lists it points to belong to others and are forgotten when they go. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/gfx/canvas.h"
#include "platform/gfx/region.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/timer.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinHint;

class TbsSkinHintWindow : public vcl::THintWindow {
public:
    explicit TbsSkinHintWindow(vcl::TComponent* AOwner);

    // The platform calls it for every application hint; only Rect's top-left corner is used.
    void ActivateHint(TRect Rect, const std::string& AHint) override;
    void ActivateHintEx(TRect Rect, const std::string& AHintTitle, const std::string& AHint,
                        int AImageIndex, vcl::TCustomImageList* AImageList);
    // Centred below ARect (a screen rectangle), or above it with ATop.
    void ActivateHintFromRect(TRect ARect, const std::string& AHint, bool ATop);
    void Dispatch(vcl::TMessage& Message) override;

    // The current hint has the title and image layout.
    bool AExtendedStyle = false;

    // Geometry of the last activation, in window coordinates.
    TRect NewClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void Paint() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    enum class TLayout { Plain, Extended, FromRect };

    void Activate(TLayout layout, TRect Rect, const std::string& AHintTitle,
                  const std::string& AHint, int AImageIndex, vcl::TCustomImageList* AImageList,
                  bool ATop);
    void ApplyAlphaBlend(TbsSkinHint& hint);
    void ApplyRegion();
    void FadeIn(TbsSkinHint& hint);
    // Asks to hear when the skin data or image list in use goes away.
    void Follow(vcl::TComponent* oldValue, vcl::TComponent* newValue);

    TbsSkinHint* FspHint = nullptr;
    TbsSkinData* FSD = nullptr;
    std::optional<gfx::TRegion> FRgn;  // our copy of the window's region
    bool FOldAlphaBlend = false;
    std::uint8_t FOldAlphaBlendValue = 0;
    // What the last activation measured and shows, for painting. The image list is null when
    // the index lies outside it.
    gfx::TFont FHintFont;
    std::string FTitle;
    int FImageIndex = 0;
    vcl::TCustomImageList* FImageList = nullptr;
    gfx::TSize FTextSize;
    int FTitleHeight = 0;
};

class TbsSkinHint : public vcl::TComponent {
public:
    explicit TbsSkinHint(vcl::TComponent* AOwner);
    void BeforeDestruction() override;

    bool Active() const { return FActive; }
    // True turns every other active skin hint of the main form off and hooks OnShowHint again.
    void SetActive(bool value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value) { FAlphaBlend = value; }
    std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(std::uint8_t value) { FAlphaBlendValue = value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool value) { FAlphaBlendAnimation = value; }
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    const std::string& LineSeparator() const { return FLineSeparator; }
    void SetLineSeparator(const std::string& value) { FLineSeparator = value; }

    // Shown at once with the top-left corner at P (screen).
    void ActivateHint(TPoint P, const std::string& AHint);
    void ActivateHintEx(TPoint P, const std::string& AHintTitle, const std::string& AHint,
                        int AImageIndex, vcl::TCustomImageList* AImageList);
    // Shown after Application's HintPause below the cursor, hidden after HintHidePause.
    void ActivateHint2(const std::string& AHint);
    void ActivateHintEx2(const std::string& AHintTitle, const std::string& AHint, int AImageIndex,
                         vcl::TCustomImageList* AImageList);
    // Delayed like ActivateHint2, centred below (or above) a screen rectangle.
    void ActivateHint3(TRect AFromRect, const std::string& AHint, bool ATop);
    // Cancels a pending hint and hides the own one.
    void HideHint();
    bool IsVisible() const;
    // How far the current cursor reaches below its hot spot.
    int GetCursorHeightMargin() const;

    // The first active skin hint of the main form, or nullptr.
    static TbsSkinHint* InCharge();
    // What the hint window draws with: the skin data when it is loaded and has a hint picture.
    TbsSkinData* HintSkinData() const;
    // Turns the separator into line breaks.
    std::string HintLines(const std::string& AHint) const;

    vcl::TShowHintEvent OnShowHint;

    // The hint window of the own hints; owned.
    TbsSkinHintWindow* HW = nullptr;

    // Title and image of the hint being shown, from the hinted control or the own request.
    std::string FHintTitle;
    int FHintImageIndex = 0;
    vcl::TCustomImageList* FHintImageList = nullptr;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    enum class TPending { Plain, Extended, FromRect };

    void InstallShowHint();
    void ShowHintHandler(std::string& HintStr, bool& CanShow, vcl::THintInfo& HintInfo);
    void SetHintImageList(vcl::TCustomImageList* value);
    void StartDelay(TPending kind);
    void HintTimerTick(vcl::TObject* Sender);

    bool FActive = true;
    TbsSkinData* FSD = nullptr;
    bool FAlphaBlend = false;
    std::uint8_t FAlphaBlendValue = 0;
    bool FAlphaBlendAnimation = false;
    gfx::TFont FDefaultFont;
    bool FUseSkinFont = true;
    // One timer for the pause and the showing time: the hide runs inside its own tick, so it is
    // stopped there, never freed.
    vcl::TTimer* HintTimer = nullptr;
    bool FHintShown = false;  // the timer counts the showing time, not the pause
    TPending FPending = TPending::Plain;
    std::string HintText;
    std::string FLineSeparator = "@";
    TRect FromRect;
    bool Top = false;
    // Cleared when the component goes, so a handler left in Application does nothing.
    std::shared_ptr<TbsSkinHint*> FSelf;
};

}  // namespace skin
