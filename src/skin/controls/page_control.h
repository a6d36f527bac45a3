// The skinned page control and its tab sheets. TbsSkinPageControl is the plain page control
// whose frame, tab row and tabs it paints itself from the skin's "tab" record (or a default look
// in system colours): the plain tab control keeps the layout, hit-testing and selection, and this
// class corrects the display area and the tab rectangles it answers so the skin's frame lines up
// with the tabs. It adds centred or offset tab rows, hidden tabs and frame, hover tracking, close
// buttons on the tabs, wheel paging, and a skinned up-down in place of the plain tab scroller.
// Its sheets (TbsSkinCustomTabSheet) erase their background from the page control's record,
// the record's background picture, or a wallpaper of their own.
//
// The page control refers to the skin data and image lists of its form and owns its default
// font, a 1 x 1 image list that reserves room in every tab, and the up-down while tabs overflow.
// Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/graphics.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/tab_controls.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_description.h"

namespace skin {

class TbsSkinUpDown;
class TbsSkinPageControl;

using gfx::TPoint;
using gfx::TRect;

// Asked before a tab's close button closes its page; clearing CanClose keeps the page.
using TbsCloseEvent = std::function<void(vcl::TObject* Sender, bool& CanClose)>;
// Draws a tab's content (image and caption) in place of the page control; Rct is the whole tab
// picture, lying down for side tabs.
using TbsDrawSkinTabEvent = std::function<void(int TabIndex, const TRect& Rct, bool Active,
                                               bool MouseIn, gfx::TCanvas& Cnvs)>;

class TbsSkinCustomTabSheet : public vcl::TTabSheet {
public:
    explicit TbsSkinCustomTabSheet(vcl::TComponent* AOwner);
    ~TbsSkinCustomTabSheet() override;

    // Tiled over the page instead of the skin background while it is not empty.
    gfx::TBitmap& WallPaper() { return FWallPaper; }
    void SetWallPaper(const gfx::TBitmap& value);
    // Erases the page into DC: wallpaper, the record's background picture, clBtnFace without a
    // record, or the record's client area.
    void PaintBG(gfx::HDC DC);

    // The close button's place in this page's tab picture, and its state.
    TRect ButtonRect;
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;

    void Dispatch(vcl::TMessage& Message) override;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;

private:
    TbsSkinPageControl* SkinPageControl() const;
    void NotifySheetChildren();
    gfx::TBitmap FWallPaper;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
public:
    using TbsSkinCustomTabSheet::TbsSkinCustomTabSheet;
};

class TbsSkinPageControl : public vcl::TPageControl, public TbsSkinClient {
public:
    explicit TbsSkinPageControl(vcl::TComponent* AOwner);
    ~TbsSkinPageControl() override;

    // --- Skin link -----------------------------------------------------------------------------
    TbsSkinData* SkinData() const override { return FSD; }
    void SetSkinData(TbsSkinData* value);
    void BeforeChangeSkinData() override { FIndex = -1; }
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
    // Looks the record up again, takes its font, tab size and close-button size, rebuilds the
    // tab scroller and repaints; the form's skin-change walk calls it.
    void ChangeSkinData() override;
    // The record's index, -1 without one (valid after the last look-up).
    int FIndex = -1;

    // --- Properties ----------------------------------------------------------------------------
    bool MouseWheelSupport() const { return FMouseWheelSupport; }
    void SetMouseWheelSupport(bool value) { FMouseWheelSupport = value; }
    bool TabExtededDraw() const { return FTabExtendedDraw; }
    void SetTabExtededDraw(bool value);
    int TabMargin() const { return FTabMargin; }
    void SetTabMargin(int value);
    int TabSpacing() const { return FTabSpacing; }
    void SetTabSpacing(int value);
    TbsButtonLayout TabLayout() const { return FTabLayout; }
    void SetTabLayout(TbsButtonLayout value);
    bool TextInHorizontal() const { return FTextInHorizontal; }
    void SetTextInHorizontal(bool value);
    bool TabsInCenter() const { return FTabsInCenter; }
    void SetTabsInCenter(bool value);
    int TabsOffset() const { return FTabsOffset; }
    void SetTabsOffset(int value);
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool value) { FFreeOnClose = value; }
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool value);
    vcl::TCustomImageList* Images() const { return FImages; }
    void SetImages(vcl::TCustomImageList* value);
    bool TabsBGTransparent() const { return FTabsBGTransparent; }
    void SetTabsBGTransparent(bool value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int value);

    TbsCloseEvent OnClose;
    vcl::TNotifyEvent OnAfterClose;
    TbsDrawSkinTabEvent OnDrawSkinTab;

    // --- Operations ----------------------------------------------------------------------------
    void UpDateTabs();
    void HideTabs();
    void ShowTabs();
    void HideBorderAndTabs();
    void ShowBorderAndTabs();
    bool TabsHidden() const { return FHideTabs; }
    bool BorderHidden() const { return FHideBorder; }
    // Visible tab i as the control answers it (corrected), one pixel narrower on the left for
    // the first tab of a single row across.
    TRect TabRectOf(int index);
    // The shift of a centred or offset tab row.
    int TabsOffsetValue();
    // The tab scroller, null while the tabs fit.
    TbsSkinUpDown* Scroller() const { return FSkinUpDown; }
    // Visible tabs that do not fit, and those scrolled out on the left.
    int HiddenTabCount();
    int FirstShownTab();
    // The page index under the mouse (the page count when none) and the visible index (-1).
    int ActiveTab() const { return FActiveTab; }
    int ActiveTabIndex() const { return FActiveTabIndex; }
    int CloseSize() const { return FCloseSize; }

    // --- The record's copy (ReadSkinRecord) ----------------------------------------------------
    gfx::TBitmap* Picture = nullptr;
    TRect SkinRect, ClRect, TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, TabsBGRect;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    int TabLeftOffset = 0, TabRightOffset = 0;
    std::string FontName;
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 14;
    gfx::TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    std::string UpDown;
    int BGPictureIndex = -1;
    bool TabStretchEffect = false, ShowFocus = false;
    int FocusOffsetX = 0, FocusOffsetY = 0;
    bool StretchEffect = false, LeftStretch = false, TopStretch = false, RightStretch = false,
         BottomStretch = false;
    TbsStretchType StretchType = bsstFull;
    TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    gfx::TColor ButtonTransparentColor = 0;

    // Looks the record up and copies it (every paint, erase, resize and skin change).
    void ReadSkinRecord();
    // The page's background: the skin's client-area piece, or the background picture.
    void PaintClientBackground(gfx::HDC DC);

    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void PaintWindow(gfx::HDC DC) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void Change() override;

private:
    friend class TbsSkinCustomTabSheet;

    void SetTabItemSize();
    void SendItemSize(int width, int height);
    void UpdateTempImages();
    bool SideTabs() const;
    void UpdateScroller();
    void SyncScroller();
    void FreeScroller();
    void ScrollerChanged(vcl::TObject* Sender);
    void UpdateHover(int X, int Y);
    void RedrawTabs();
    bool InCloseButton(vcl::TTabSheet* page, int visibleIndex, int X, int Y, bool shifted);
    void ClosePageByButton(vcl::TTabSheet* page);
    vcl::TTabSheet* VisiblePage(int visibleIndex) const;
    int VisibleTabCount() const;
    void ApplyFont();
    void CorrectDisplayRect(TRect& R);
    void CorrectItemRect(TRect& R);

    // Painting (page_control_paint.cpp).
    TRect DisplayArea();
    [[nodiscard]] TRect FrameRect(const TRect& display) const;
    TRect SelectedTabArea();
    void PaintDefaultFrame(gfx::TCanvas& C);
    void PaintSkinFrame(gfx::TCanvas& C);
    void DrawTabs(gfx::TCanvas& C);
    void DrawTab(int visibleIndex, const TRect& R, gfx::TCanvas& C, bool hovered, bool selected);
    void DrawCloseButton(gfx::TCanvas& C, const TRect& box, int pictureHeight, int pictureWidth,
                         vcl::TTabSheet* page);
    void DrawBackgroundPicture(gfx::TCanvas& C, gfx::TBitmap& piece, int width, int height,
                               bool stretch);
    bool ClientPiece(gfx::TBitmap& piece);

    bool FMouseWheelSupport = false;
    bool FTabExtendedDraw = false;
    int FTabMargin = -1;
    int FTabSpacing = 1;
    TbsButtonLayout FTabLayout = blGlyphLeft;
    bool FTextInHorizontal = false;
    bool FHideTabs = false, FHideBorder = false;
    vcl::TTabPosition FOLdTabPosition = vcl::tpTop;
    bool FOldMultiLine = false;
    int FOldTabHeight = -1;
    int FCloseSize = 14;
    bool FFreeOnClose = false;
    bool FShowCloseButtons = false;
    bool FTabsBGTransparent = false;
    int FActiveTab = -1, FOldActiveTab = -1;
    int FActiveTabIndex = -1, FOldActiveTabIndex = -1;
    vcl::TCustomImageList* FImages = nullptr;
    std::unique_ptr<vcl::TImageList> FTempImages;
    bool FTabsInCenter = false;
    int FTabsOffset = 0;
    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "tab";
    TbsSkinUpDown* FSkinUpDown = nullptr;
    gfx::TFont FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultItemHeight = 20;
    // The page whose close button the left button went down on (the close mend).
    vcl::TTabSheet* FClosePressed = nullptr;
};

}  // namespace skin
