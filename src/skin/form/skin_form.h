// The form skin component and the skinned frame. TbsSkinForm sits on a form (its owner) and
// replaces the form's frame with one drawn from the current skin: it puts its procedure into the
// form's WindowProc, builds one frame object per object record of the skin (frame_objects.h),
// moves the skin's frame geometry to the form's size, answers the non-client hit test and cuts
// the window region out of the skin's mask. Without a skin it keeps a plain default frame (a
// 3-pixel border and a 19-pixel caption) with six default caption buttons.
//
// Who talks to whom: the skin data sends its change messages to the form; the component rebuilds
// the frame (ChangeSkinData) and asks the form's skinned controls to read their skin again. The
// frame objects call back into the component to repaint one object, run a window command and
// raise its object events. Frame painting, the message table, window states and the layered
// border (form_layer_border.h), menus, MDI, the tray and quick buttons live in their own files;
// members of parts not built yet are stored and do nothing.
//
// Owns its frame objects, timers, layer managers, mask strips and system menu; the skin data,
// menus, hint, tray icon and bars are the application's and are forgotten when freed. Main
// thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/gfx/region.h"
#include "platform/rtl/exception.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/menus.h"
#include "platform/vcl/timer.h"
#include "skin/core/layered_windows.h"
#include "skin/core/skin_data.h"
#include "skin/form/frame_geometry.h"
#include "skin/form/frame_objects.h"
#include "skin/form/inactive_panel.h"
#include "skin/form/quick_buttons.h"
#include "skin/menus/main_menu_bar.h"
#include "skin/menus/skin_menu.h"

namespace skin {

// Each in a header of its own (the hint in menus, the status bar in controls); the form only
// keeps references to them.
class TbsSkinHint;
class TbsTrayIcon;
class TbsSkinMDITabsBar;
class TbsSkinStatusBar;
class TbsFormLayerBorder;

// A component given an owner of the wrong class.
class EInvalidCast : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

enum TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };

using TbsCaptionPaintEvent = std::function<void(gfx::TCanvas& Cnvs, gfx::TRect R, bool AActive)>;
using TbsPaintEvent =
    std::function<void(const std::string& IDName, gfx::TCanvas& Canvas, gfx::TRect ObjectRect)>;
using TbsMouseEnterEvent = std::function<void(const std::string& IDName)>;
using TbsMouseLeaveEvent = TbsMouseEnterEvent;
using TbsMouseDownEvent = std::function<void(const std::string& IDName, int X, int Y,
                                             gfx::TRect ObjectRect, vcl::TMouseButton Button)>;
using TbsMouseUpEvent = TbsMouseDownEvent;
using TbsMouseMoveEvent =
    std::function<void(const std::string& IDName, int X, int Y, gfx::TRect ObjectRect)>;
using TbsActivateCustomObjectEvent =
    std::function<void(const std::string& IDName, bool& ObjectVisible)>;
using TbsOnAcceptToMDITabsBar = std::function<void(bool& Accept)>;

// SM_CXSMICON x SM_CYSMICON, each 0 replaced by SM_CXSIZE / SM_CYSIZE.
gfx::TSize GetSmallIconSize();

class TbsSkinForm : public vcl::TComponent,
                    public TbsSkinMenuHost,
                    public TbsMainMenuBarHost,
                    public TbsFrameHost {
public:
    // Raises EInvalidCast "Invalid class typecast" when the owner is not a form.
    explicit TbsSkinForm(vcl::TComponent* AOwner);
    ~TbsSkinForm() override;
    void BeforeDestruction() override;

    // --- the skin ------------------------------------------------------------------------------
    TbsSkinData* SkinData() const override { return FSD; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* MenusSkinData() const { return FMSD; }
    void SetMenusSkinData(TbsSkinData* value);
    bool SkinnableForm() const override { return FSkinnableForm; }
    bool GetSkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool value);
    // The frame rebuild of a skin change.
    void ChangeSkinData();
    void CreateSkinObjects();
    void CreateDefaultButtons();
    void ClearObjects();
    void UpdateCaptionButtons();
    void SetDefaultObjectHints();
    void UpdateFormBorderIcons();
    // The walks over the form's skinned controls; SD nil reaches every control.
    void BeforeChangeControlsSkinData(TbsSkinData* SD, vcl::TControl* control);
    void ChangeControlsSkinData(TbsSkinData* SD, vcl::TControl* control);
    std::string GetProductVersion() const { return "7.81"; }

    // --- frame geometry (frame coordinates) ----------------------------------------------------
    // The frame's record (the skin's, else the default frame's), the form's state, and the
    // geometry of a record at FFormWidth x FFormHeight in that state.
    TbsFrameRecord FrameRecord() const;
    TbsFrameState FrameState() const;
    TbsFrameGeometry FrameGeometry(const TbsFrameRecord& record) const;
    void CalcSkinRects();
    // A rectangle of the frame picture moved to the current size by the corner zone it lies in.
    [[nodiscard]] gfx::TRect MapSkinRect(const gfx::TRect& R) const;
    void CalcObjectRects();
    void CalcDefRects();
    int GetHitTest(gfx::TPoint P);
    int GetDefHitTest(gfx::TPoint P);
    bool PointInMask(gfx::TPoint P);
    void SetFormRegion(bool AUpdate);
    void UpdateFrame(bool AUpdate);
    bool IsSizeable() const;
    int GetMinWidth() const;
    int GetMinHeight() const;
    int GetMaxWidth() const;
    int GetMaxHeight() const;

    // --- frame objects -------------------------------------------------------------------------
    int GetIndex(const std::string& AIDName) const;
    void SetEnabled(const std::string& AIDName, bool Value);
    // Chooses the object under a frame point; (-1, -1, false) clears the choice.
    void TestActive(int X, int Y, bool AActive);
    // The non-client mouse handed to the chosen object, frame coordinates.
    void ObjectMouseMove(int X, int Y);
    void ObjectDblClick();
    void ObjectMouseDown(vcl::TMouseButton Button, int X, int Y);
    void ObjectMouseUp(vcl::TMouseButton Button, int X, int Y);
    // Repaints one object over the painted frame.
    void DrawSkinObject(TbsActiveSkinObject* AObject) override;
    // Caption objects follow the form's activity.
    void SetCaptionsActive(bool AUpdate);
    // The hover, morph and animation timers' ticks.
    void MouseTimerProc();
    void MorphTimerProc();
    void AnimateTimerProc();
    bool GetFormActive() const override;
    // Hot and pressed states dropped, animations back at their first frame (entering a size
    // or move loop, activation).
    void ResetObjects();
    // The layered border frame is used for this form and skin.
    bool CanShowLayerFrame() const;
    // The form is revealed by the layered border's fade rather than its own show animation.
    bool UseVistaLayerShow() const;
    // The form's small icon at (x, y): the form's icon, else the system's application icon.
    void DrawFormIcon(gfx::TCanvas& Cnvs, int x, int y) override;

    // --- painting (the window DC unless an external DC is given; frame coordinates) ---------
    void PaintNCSkin(gfx::HDC ADC, bool AUseExternalDC);
    void PaintNCDefault(gfx::HDC ADC, bool AUseExternalDC);
    // Client backgrounds; a null DC does nothing.
    void PaintBG(gfx::HDC DC);
    void PaintBG2(gfx::HDC DC);
    void PaintBG3(gfx::HDC DC);
    void PaintBGDefault(gfx::HDC DC);
    void PaintMDIBGDefault(gfx::HDC DC);
    void DrawLogo(gfx::TCanvas& Canvas);
    // The user object of that name draws on the form's canvas.
    void UserObjectDraw(const std::string& AIDName);
    // A screen point of a non-client message in frame coordinates.
    gfx::TPoint ScreenToFramePoint(gfx::TPoint P) const;

    // --- states, placement and show animation (form_states.cpp) ------------------------------
    // The component's own states: maximize, minimize and roll-up set the form's bounds, so the
    // skinned frame stays; the main form's minimize minimizes the application.
    vcl::TWindowState WindowState() const override { return FWindowState; }
    void SetWindowState(vcl::TWindowState value);
    bool RollUpState() const override { return FRollUpState; }
    void SetRollUpState(bool value);
    void MinimizeToTray();
    void RestoreFromTray();
    // Centres the form on its monitor's work area or whole monitor, by PositionInMonitor.
    void ApplyPositionInMonitor();
    // The centred top-left for a form of AW x AH; (AX, AY) for bspDefault.
    gfx::TPoint GetPositionInMonitor(int AX, int AY, int AW, int AH) const;
    void EnableShadow(bool AShowShadow, bool AHideFormBefore);
    void DoMinimize();
    void DoMaximize();
    void DoRestore();
    // The free place of the stack of minimized forms at the work area's bottom-left.
    gfx::TPoint GetMinimizedPosition() const;
    // Adjusts a proposed top-left (L, T) for the form's size so its edges snap to the work area.
    void DoMagnetic(int& L, int& T, int W, int H);
    // The first visible stay-on-top form of the screen, else nil.
    vcl::TCustomForm* FindStayOnTopForm() const;
    TbsFormLayerBorder* BorderLayer() const { return FBorderLayer; }
    int RealHeight() const { return FRollUpState ? OldHeight : FFormHeight; }
    void SetRealHeight(int value) { OldHeight = value; }
    void SetFormStyle(vcl::TFormStyle FS);
    void SetFormBorderStyle(vcl::TFormBorderStyle BS);

    // --- properties with setters --------------------------------------------------------------
    TbsBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TbsBorderIcons value);
    bool ShowIcon() const override { return FShowIcon; }
    void SetShowIcon(bool value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(std::uint8_t value);
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool value) { FAlphaBlendAnimation = value; }
    bool MenusAlphaBlend() const { return FMenusAlphaBlend; }
    void SetMenusAlphaBlend(bool value) { FMenusAlphaBlend = value; }
    std::uint8_t MenusAlphaBlendValue() const { return FMenusAlphaBlendValue; }
    void SetMenusAlphaBlendValue(std::uint8_t value) { FMenusAlphaBlendValue = value; }
    bool MenusAlphaBlendAnimation() const { return FMenusAlphaBlendAnimation; }
    void SetMenusAlphaBlendAnimation(bool value) { FMenusAlphaBlendAnimation = value; }
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value) { FMinWidth = value; }
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value) { FMinHeight = value; }
    bool UseRibbon() const { return FUseRibbon; }
    void SetUseRibbon(bool value);
    int MaxMenuItemsInWindow() const { return FMaxMenuItemsInWindow; }
    void SetMaxMenuItemsInWindow(int value);
    gfx::TFont& DefCaptionFont() { return FDefCaptionFont; }
    void SetDefCaptionFont(const gfx::TFont& value);
    gfx::TFont& DefInActiveCaptionFont() { return FDefInActiveCaptionFont; }
    void SetDefInActiveCaptionFont(const gfx::TFont& value);
    gfx::TBitmap& LogoBitMap() { return FLogoBitMap; }
    void SetLogoBitMap(const gfx::TBitmap& value) { FLogoBitMap.Assign(value); }
    TbsTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TbsTrayIcon* value);
    TbsSkinHint* SkinHint() const override { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* value);

    // --- skinned menus (form_menus.cpp) -------------------------------------------------------
    void SkinMenuOpen() override;
    void SkinMenuClose() override;
    void DoPopupMenu(vcl::TPopupMenu* Menu, int X, int Y);
    void PopupSkinMenu(vcl::TMenu* Menu, gfx::TPoint P);
    void PopupSkinMenu1(vcl::TMenu* Menu, const gfx::TRect& R, bool PopupUp);
    void HookApp() override;
    void UnHookApp();
    // The application's messages while a menu is open; true swallows the message.
    bool NewAppMessage(win::MSG& Msg);
    void MenuKeyDown(int Key);
    void CheckMenuCloseMessage(const vcl::TMessage& Message);
    // On a visible MDI main form: CM_CANCELMODE without sender to its combo boxes and edits.
    void CancelChildDropDowns();
    TbsSkinData* MenuHostSkinData() const override { return FSD; }
    TbsSkinData* MenuHostMenusSkinData() const override { return FMSD; }
    TbsSkinMenu* MenuHostSkinMenu() const override { return SkinMenu; }
    vcl::TCustomForm* MenuHostForm() const override { return FForm; }
    // Keyboard mode of the menu bar, closing a menu in it, shortcuts.
    void SkinMainMenuClose() override;
    void SkinMenuCloseInMainMenu();
    void FormShortCut(vcl::TWMKey& Msg, bool& Handled);
    void LinkMenu(const std::string& AIDName, vcl::TMenu* AMenu, bool APopupUp);
    // Opens a frame object's menu below the screen rectangle R; false when nothing opened.
    bool TrackObjectMenu(vcl::TMenuItem* AItem, const gfx::TRect& R, bool APopupUp,
                         bool AButtonObject) override;
    TbsSkinMainMenuBar* MainMenuBar() const { return FMainMenuBar; }
    void SetMainMenuBar(TbsSkinMainMenuBar* value);
    vcl::TPopupMenu* SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(vcl::TPopupMenu* value);

    // --- system and tray menus (form_system_menu.cpp) -----------------------------------------
    vcl::TMenuItem* GetSysMenuItems() override;
    void UpdateDefaultSysMenu();
    void UpdateUserSysMenu();
    void PopupSystemMenu(int X, int Y);
    void PopupSystemMenuFromRect(const gfx::TRect& R);
    void ShowSystemMenuByKey();
    // A minimize, maximize or restore from the system (a window manager, a task bar) runs
    // through the component's own states; false: the system's handling does it.
    bool FollowSystemCommand(win::WPARAM command);
    void CreateSysTrayMenu();
    TbsSkinPopupMenu* SysTrayMenu() const { return FSysTrayMenu; }

    // --- what the menu bar asks of the component ----------------------------------------------
    TbsSkinMenuHost* BarMenuHost() override { return this; }
    vcl::TComponent* BarHostComponent() override { return this; }
    bool BarInMenu() const override { return InMenu; }
    bool BarInMainMenu() const override { return InMainMenu; }
    void SetBarInMenu(bool value) override { InMenu = value; }
    void SetBarInMainMenu(bool value) override { InMainMenu = value; }
    void MainMenuEntered(TbsSkinMainMenuBar* bar) override {
        if (FOnMainMenuEnter) FOnMainMenuEnter(bar);
    }
    vcl::TWindowState BarHostWindowState() const override { return FWindowState; }
    void SetBarHostWindowState(vcl::TWindowState value) override { SetWindowState(value); }
    bool BarHostHasIcon(TbsBarBorderIcon icon) const override {
        return FBorderIcons.Contains(icon == TbsBarBorderIcon::Minimize ? biMinimize
                                                                        : biSystemMenu);
    }

    // --- MDI (form_mdi.cpp) ----------------------------------------------------------------------
    void AddChildToMenu(vcl::TCustomForm* Child);
    void DeleteChildFromMenu(vcl::TCustomForm* Child);
    void UpDateChildCaptionInMenu(vcl::TCustomForm* Child);
    void UpDateChildActiveInMenu();
    void MDIItemClick(vcl::TObject* Sender);
    void AddChildToBar(vcl::TCustomForm* Child);
    void DeleteChildFromBar(vcl::TCustomForm* Child);
    void RefreshMDIBarTab(vcl::TCustomForm* Child);
    void MinimizeAll();
    void MaximizeAll();
    void RestoreAll();
    void CloseAll();
    void Tile();
    void Cascade();
    TbsSkinMDITabsBar* MDITabsBar() const { return FMDITabsBar; }
    void SetMDITabsBar(TbsSkinMDITabsBar* value);
    vcl::TCustomForm* GetMaximizedMDIChild() const;
    // The caption as drawn: an MDI form's own followed by " - [child]" of its maximized child.
    std::string CaptionText() const override;
    // 1230 to every child, then the minimized ones back to their stack places.
    void RefitMDIChilds();
    void ArrangeMinimizedChilds();
    // The MDI client's procedure of an MDI form (installed once, by token).
    void HookMDIClient();
    // An MDI child's life cycle as the main form's window menu, menu bar and tabs bar see it.
    void MDIChildShown(bool shown);
    void MDIChildActivated();
    void MDIChildDestroyed();
    // An MDI child into the MDI area, without a frame of its own.
    void MaximizeMDIChild();

    // --- client inactive panel and quick buttons (form_extras.cpp) ---------------------------
    void ShowClientInActiveEffect();
    void HideClientInActiveEffect();
    TbsQuickButtonItems& QuickButtons() override { return *FQuickButtons; }
    void SetQuickButtons(const TbsQuickButtonItems& value) { FQuickButtons->Assign(value); }
    vcl::TCustomImageList* QuickImageList() const override { return FQuickImageList; }
    void SetQuickImageList(vcl::TCustomImageList* value);
    // Quick buttons are drawn and take part of the caption: some exist and have images.
    bool HasQuickButtons() const override { return FQuickButtons->Count() > 0 && FQuickImageList; }
    // The caption's left part the quick buttons take.
    int QuickButtonsWidth() const override;

    // --- what the frame objects ask of the component (frame_objects.h) ------------------------
    vcl::TCustomForm* HostForm() const override { return FForm; }
    bool FrameActivated() const override { return FFormActive; }
    gfx::TRect FrameRectToScreen(const gfx::TRect& R) const override;
    void RepaintFrame() override;
    void StartMorphTimer() override;
    void StartAnimateTimer() override;
    bool LayerEnabled() const override { return FIsLayerEnabled; }
    TbsLayerManager* FrameLayer(bool menuLayer) const override {
        return menuLayer ? FMenuLayerManager : FLayerManager;
    }
    void HideFrameLayers() override;
    void RunFrameCommand(TbsStdCommand command) override;
    void ObjectEntered(const std::string& IDName) override;
    void ObjectLeft(const std::string& IDName) override;
    void ObjectPressed(const std::string& IDName, int X, int Y, gfx::TRect R,
                       vcl::TMouseButton Button) override;
    void ObjectReleased(const std::string& IDName, int X, int Y, gfx::TRect R,
                        vcl::TMouseButton Button) override;
    void ObjectMoved(const std::string& IDName, int X, int Y, gfx::TRect R) override;
    void ObjectPaint(const std::string& IDName, gfx::TCanvas& Canvas, gfx::TRect R) override;
    bool PaintCaptionByProgram(gfx::TCanvas& Cnvs, gfx::TRect R, bool AActive) override;
    gfx::TFontCharset DefCaptionCharset() const override { return FDefCaptionFont.Charset(); }
    bool QuickButtonsShowHint() const override { return FQuickButtonsShowHint; }
    void SetQuickButtonsShowHint(bool value) { FQuickButtonsShowHint = value; }

    // --- fields --------------------------------------------------------------------------------
    bool FUseRibbon = false;
    TbsClientInActivePanel* FInActivePanel = nullptr;  // owned while shown
    TbsLayerManager* FLayerManager = nullptr;          // owned
    TbsFormLayerBorder* FBorderLayer = nullptr;        // owned
    bool FSmartEffectsShow = false;
    bool FClientInActiveDraw = false;
    bool FClientInActiveEffect = false;
    TbsClientInActiveEffect FClientInActiveEffectType = bsieSemiTransparent;
    bool FDisableSystemMenu = false;
    bool FInAppHook = false;
    bool FAlwaysResize = false;
    bool FSkinnableForm = true;
    bool FIsVistaOs = false;
    bool FIsLayerEnabled = false;
    bool FHaveShadow = false;
    TbsCaptionPaintEvent FOnCaptionPaint;
    bool FRollUpBeforeMaximize = false;
    vcl::TShortCutEvent FOnShortCut;
    bool FStopPainting = false;
    bool FStartShow = true;
    TbsPositionInMonitor FPositionInMonitor = bspDefault;
    bool HMagnetized = false, VMagnetized = false, HMagnetized2 = false, VMagnetized2 = false;
    gfx::TPoint FOnMouseDownCoord{-1, -1};
    bool FMinimizeDefault = false;
    TbsSkinStatusBar* FStatusBar = nullptr;
    bool FUseFormCursorInNCArea = false;
    int FMaxMenuItemsInWindow = 0;
    int FClientWidth = 0, FClientHeight = 0;
    bool FHideCaptionButtons = false;
    bool FAlwaysShowInTray = false;
    bool FLogoBitMapTransparent = false;
    gfx::TBitmap FLogoBitMap;
    bool FAlwaysMinimizeToTray = false;
    std::unique_ptr<gfx::TIcon> FIcon;
    bool ButtonsInLeft = false;
    bool FMaximizeOnFullScreen = false;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    std::uint8_t FAlphaBlendValue = 200;
    TbsSkinHint* FSkinHint = nullptr;
    bool FShowObjectHint = false;
    bool FUseDefaultObjectHint = true;
    bool FMenusAlphaBlend = false;
    std::uint8_t FMenusAlphaBlendValue = 200;
    bool FMenusAlphaBlendAnimation = false;
    bool FSkinSupport = false;
    gfx::TFont FDefInActiveCaptionFont;
    bool FMDIChildMaximized = false;
    bool FFormActive = false;
    vcl::TNotifyEvent FOnMinimizeToTray, FOnRestoreFromTray;
    TbsTrayIcon* FTrayIcon = nullptr;
    bool FUseDefaultSysMenu = true;
    vcl::TPopupMenu* FSysMenu = nullptr;       // owned
    TbsSkinPopupMenu* FSysTrayMenu = nullptr;  // made by the menus' file
    bool FInShortCut = false;
    TbsSkinMainMenuBar* FMainMenuBar = nullptr;
    TbsSkinMDITabsBar* FMDITabsBar = nullptr;
    win::TSubclassToken FClientLink = 0;  // the MDI client's procedure
    win::HWND FClientWnd;
    bool FFullDrag = false;
    int FFormWidth = 0, FFormHeight = 0;
    int FFormLeft = 0, FFormTop = 0;
    int FOldFormLeft = 0, FOldFormTop = 0;
    bool FSizeMove = false;
    bool FSizing = false;
    bool FRollUpState = false;
    bool MaxRollUpState = false;
    TbsBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize, biRollUp};
    gfx::TBitmap RMTop, RMBottom, RMLeft, RMRight;
    gfx::TColor BlackColor = 0;
    bool MouseIn = false;
    gfx::TRect OldBoundsRect;
    int OldHeight = 0;
    gfx::TPoint NewLTPoint, NewRBPoint, NewRTPoint, NewLBPoint;
    gfx::TRect NewClRect, NewCaptionRect, NewButtonsRect;
    int NewButtonsOffset = 0;
    bool NewButtonsInLeft = false;
    gfx::TRect NewMaskRectArea;
    gfx::TPoint NewHitTestLTPoint, NewHitTestRTPoint, NewHitTestLBPoint, NewHitTestRBPoint;
    gfx::TRect NewDefCaptionRect;
    int FMinHeight = 0, FMinWidth = 0, FMaxHeight = 0, FMaxWidth = 0;
    vcl::TWndMethod OldWindowProc;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FMSD = nullptr;
    vcl::TMainMenu* FMainMenu = nullptr;
    vcl::TPopupMenu* FSystemMenu = nullptr;
    vcl::TNotifyEvent FOnChangeSkinData, FOnBeforeChangeSkinData, FOnAfterChangeSkinData;
    vcl::TNotifyEvent FOnActivate, FOnDeActivate, FOnChangeRollUpState;
    bool FInChangeSkinData = false;
    vcl::TWindowState FWindowState = vcl::wsNormal;
    std::uint8_t FMagneticSize = 5;
    vcl::TMessageEvent OldAppMessage;
    TbsActivateCustomObjectEvent FOnActivateCustomObject;
    vcl::TNotifyEvent FOnMinimize, FOnRestore, FOnMaximize;
    TbsOnAcceptToMDITabsBar FOnAcceptToMDITabsBar;
    bool InMenu = false;
    bool InMainMenu = false;
    // The region in force: the component's copy; the window keeps its own.
    std::optional<gfx::TRegion> FRgn;
    vcl::TTimer* MouseTimer = nullptr;    // owned
    vcl::TTimer* MorphTimer = nullptr;    // owned
    vcl::TTimer* AnimateTimer = nullptr;  // owned
    bool FMagnetic = false;
    vcl::TNotifyEvent FOnSkinMenuOpen, FOnSkinMenuClose, FOnMainMenuEnter, FOnMainMenuExit;
    TbsMouseEnterEvent FOnMouseEnterEvent;
    TbsMouseLeaveEvent FOnMouseLeaveEvent;
    TbsMouseUpEvent FOnMouseUpEvent;
    TbsMouseDownEvent FOnMouseDownEvent;
    TbsMouseMoveEvent FOnMouseMoveEvent;
    TbsPaintEvent FOnPaintEvent;
    int ActiveObject = -1;
    int OldActiveObject = -1;
    int MouseCaptureObject = -1;
    vcl::TWindowState OldWindowState = vcl::wsNormal;
    bool FBorderLayerChangeSize = false;
    bool AlwaysDisableLayeredFrames = false;
    bool PreviewMode = false;
    TbsSkinMenu* SkinMenu = nullptr;    // owned
    win::TFilterToken FMenuFilter = 0;  // the application hook while FInAppHook
    vcl::TCustomForm* FForm = nullptr;
    // The frame objects in skin order; owned.
    std::vector<std::unique_ptr<TbsActiveSkinObject>> ObjectList;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    // The form's messages pass through here first; what the frame does not handle goes on to
    // the procedure the form had before.
    void NewWindowProc(vcl::TMessage& Message);

private:
    // What only the component and its frame objects (through TbsFrameHost) reach.
    std::unique_ptr<TbsQuickButtonItems> FQuickButtons =
        std::make_unique<TbsQuickButtonItems>(this);
    vcl::TCustomImageList* FQuickImageList = nullptr;
    bool FQuickButtonsShowHint = false;
    TbsLayerManager* FMenuLayerManager = nullptr;  // owned
    bool FShowIcon = false;
    gfx::TFont FDefCaptionFont;

    // The New values, and the frame objects' places, from a geometry.
    void ApplyFrameGeometry(const TbsFrameGeometry& g);
    void ApplyObjectPlaces(const TbsFrameGeometry& g);
    // The program's own caption buttons it chose to show at the last caption-button update.
    std::vector<std::string> FShownCustomObjects;

    bool Designing() const;
    // The skin data is set and holds a skin.
    bool HasSkin() const;
    bool Minimized() const { return FWindowState == vcl::wsMinimized; }
    // The form's window when it has one.
    bool FormHandle(win::HWND& wnd) const;
    void NCPaint();
    // An MDI child whose component is maximized.
    bool MaximizedMDIChild() const;
    void ForceFormResize();
    // The work area (the whole monitor with MaximizeOnFullScreen) of the form's monitor.
    gfx::TRect MonitorArea() const;
    void ApplyAlpha();
    // A tile repeated over the client area, or stretched by type.
    void PaintTile(gfx::TCanvas& canvas, const gfx::TBitmap& tile, bool stretch,
                   TbsStretchType type);
    // Parts of the message table.
    void EraseBackground(vcl::TMessage& Message);
    void NCCalcSize(vcl::TMessage& Message);
    void NCActivate(vcl::TMessage& Message);
    void WMSize(vcl::TMessage& Message);
    void WMSizing(vcl::TMessage& Message);
    void NonClientMouse(vcl::TMessage& Message);
    void PaintFrameTo(gfx::HDC DC);
    // The state and layered-border steps of the message table (form_states.cpp).
    bool LayerShown() const;
    void LayerAfterSkinChange();
    void ShowWindowFirstStage(bool shown);
    void ShowWindowSecondStage(bool shown);
    void SetUpShowAlpha(bool withBorder);
    void ShowAnimationTimer();
    void WMMoving(vcl::TMessage& Message);
    void LayerPosChanged(const win::WINDOWPOS& wp);
    void LayerActivated();
    void TrayRestored();
    void ChangeLayeredBorders();
    void EndSmartEffects();
};

// The first component of the form that is a TbsSkinForm, nil for a nil form or none.
TbsSkinForm* GetSkinFormComponent(vcl::TCustomForm* AForm);
// The component of the application main form's first maximized MDI child, else nil.
TbsSkinForm* GetMaximizedMDIChildSkinForm();
// The component of the main form's active MDI child, else nil.
TbsSkinForm* GetActiveMDIChildSkinForm();
// The part of the main form's client area its aligned controls leave free; R unchanged
// without a main form.
void GetMDIClientArea(TbsSkinForm* ABSF, gfx::TRect& R);

}  // namespace skin
