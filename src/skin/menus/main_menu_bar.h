// The skinned main menu bar: a skinned control at the top of a form that shows the top-level
// items of a main menu and opens their submenus through the form skin component's menu
// controller. It keeps a small object model of its own: one TbsSkinMainMenuBarItem per visible
// top-level item and, while a maximized MDI child is shown, four TbsSkinMainMenuBarButton at the
// front of its list. Items that do not fit hide behind a scroll marker that opens a menu of the
// rest; the menu of an MDI child (or a merged menu) takes the place of the main items of the same
// GroupIndex.
//
// Who talks to whom: the form skin component drives the keyboard mode (EnterMainMenu, the arrow,
// Return and accelerator calls) and tells the bar when a menu closes (ResetMainMenu,
// ReleaseDownItem); the bar asks the component, through TbsMainMenuBarHost (implemented by the
// form module, which this module never includes), to open menus and to enter or leave the menu
// modes. Items are told apart by identity, never by name.
//
// The bar owns its objects and three timers; the menus and the component are the application's.
// Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "platform/vcl/timer.h"
#include "skin/controls/skin_control.h"
#include "skin/core/fades.h"
#include "skin/core/skin_data.h"
#include "skin/menus/skin_menu.h"

namespace skin {

class TbsSkinMainMenuBar;

enum class TbsBarBorderIcon { SystemMenu, Minimize };

// What the bar needs of its form's skin component.
class TbsMainMenuBarHost {
public:
    virtual ~TbsMainMenuBarHost() = default;
    // The component's menu side and the component itself (to hear when it goes).
    virtual TbsSkinMenuHost* BarMenuHost() = 0;
    virtual vcl::TComponent* BarHostComponent() = 0;
    // The component's menu mode (a skin menu is open) and keyboard mode (the bar leads).
    virtual bool BarInMenu() const = 0;
    virtual bool BarInMainMenu() const = 0;
    virtual void SetBarInMenu(bool value) = 0;
    virtual void SetBarInMainMenu(bool value) = 0;
    virtual void SkinMainMenuClose() = 0;
    virtual void HookApp() = 0;
    // Raises the component's OnMainMenuEnter with the bar.
    virtual void MainMenuEntered(TbsSkinMainMenuBar* bar) = 0;
    virtual vcl::TMenuItem* GetSysMenuItems() = 0;
    virtual vcl::TWindowState BarHostWindowState() const = 0;
    virtual void SetBarHostWindowState(vcl::TWindowState value) = 0;
    virtual bool BarHostHasIcon(TbsBarBorderIcon icon) const = 0;
};

// The form module answers which component of a form hosts a menu bar.
using TbsMainMenuBarHostLookup = std::function<TbsMainMenuBarHost*(vcl::TCustomForm*)>;
void SetMainMenuBarHostLookup(TbsMainMenuBarHostLookup lookup);
TbsMainMenuBarHost* FindMainMenuBarHost(vcl::TCustomForm* form);

// The main menu the application gives the bar; frame buttons that open its items take its skin
// data for the popup.
class TbsSkinMainMenu : public vcl::TMainMenu {
public:
    using vcl::TMainMenu::TMainMenu;
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* value);

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
};

// ---- The bar's objects ------------------------------------------------------------------------

class TbsMenuBarObject {
public:
    // AData may be null (no record: the default look).
    TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
    virtual ~TbsMenuBarObject() = default;

    virtual void Redraw();
    virtual void Draw(gfx::TCanvas& Cnvs) { (void)Cnvs; }
    virtual void MouseDown(int X, int Y, vcl::TMouseButton Button);
    virtual void MouseUp(int X, int Y, vcl::TMouseButton Button);
    virtual void DblClick() {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing() const;
    bool EnableMorphing() const;
    void DoMorphing();
    double MorphKf() const { return FFade.Kf(); }
    void SetMorphKf(double value);

    TbsSkinMainMenuBar* Parent;
    bool FMouseIn = false;
    gfx::TBitmap* Picture = nullptr;
    bool FDown = false;
    std::string IDName;
    TRect SkinRect, ActiveSkinRect, DownRect, ObjectRect;
    bool Active = false;
    bool Enabled = true;
    bool Visible = true;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;

protected:
    TbsHoverFade FFade;
};

class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuBarItem* AData);

    void Redraw() override;
    void Draw(gfx::TCanvas& Cnvs) override;
    void MouseDown(int X, int Y, vcl::TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void SetDown(bool value);
    bool EnableAnimation() const;
    bool HasSubItems() const { return MenuItem && MenuItem->Count() > 0; }
    // Fits (its own Visible flag) after the last layout.
    bool Fits() const { return FVisible; }

    bool FSkinSupport;
    TRect TempObjectRect;
    bool OldEnabled = true;
    bool FVisible = true;
    vcl::TMenuItem* MenuItem = nullptr;
    std::string FontName = "Arial";
    int FontHeight = 14;
    gfx::TFontStyles FontStyle;
    gfx::TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
    TRect TextRct;
    int LO = 0, RO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    int CurrentFrame = 0;
    bool InActiveAnimation = false;

private:
    void CalcItemRect(gfx::TCanvas& Cnvs);
    void SetItemFont(gfx::TFont& font) const;
    void DefaultDraw(gfx::TCanvas& Cnvs);
    void DrawCaption(gfx::TCanvas& C, TRect R, gfx::TColor color, bool hot);
    // The item's look from one source rectangle of the picture, at ObjectRect's size.
    void SourceImage(gfx::TBitmap& B, const TRect& source, bool stretchMiddle);
    void TrackMenu();
    void ReleaseOtherItem(bool& released);
    void LeaveOtherItems();
};

class TbsSkinMainMenuBarButton : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData,
                             TbsStdCommand ACommand);

    void Draw(gfx::TCanvas& Cnvs) override;
    void MouseDown(int X, int Y, vcl::TMouseButton Button) override;
    void MouseUp(int X, int Y, vcl::TMouseButton Button) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void ExecuteCommand();

    bool FSkinSupport;
    TbsStdCommand Command;

private:
    void DefaultDraw(gfx::TCanvas& Cnvs);
};

// ---- The bar ----------------------------------------------------------------------------------

using TbsItemEnterEvent = std::function<void(vcl::TMenuItem* MenuItem)>;
using TbsItemLeaveEvent = TbsItemEnterEvent;

class TbsSkinMainMenuBar : public TbsSkinControl {
public:
    explicit TbsSkinMainMenuBar(vcl::TComponent* AOwner);
    ~TbsSkinMainMenuBar() override;
    void BeforeDestruction() override;

    // --- properties ----------------------------------------------------------------------------
    bool ScrollMenu() const { return FScrollMenu; }
    void SetScrollMenu(bool value) { FScrollMenu = value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    gfx::TFont& DefItemFont() { return FDefItemFont; }
    void SetDefItemFont(const gfx::TFont& value);
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    bool PopupToUp() const { return FPopupToUp; }
    void SetPopupToUp(bool value) { FPopupToUp = value; }
    TbsMainMenuBarHost* SkinForm() const { return BSF; }
    void SetSkinForm(TbsMainMenuBarHost* value);
    vcl::TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(vcl::TMainMenu* value);

    // --- public operations ---------------------------------------------------------------------
    void Merge(vcl::TMainMenu* Menu);
    void UnMerge();
    void UpDateItems();
    void UpDateEnabledItems();
    void CreateMenu();
    vcl::TMainMenu* GetChildMainMenu();
    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // --- called by the form skin component -----------------------------------------------------
    void EnterMainMenu();
    bool CheckHotKey(int Key);
    void NextMainMenuItem();
    void PrevMainMenuItem();
    bool CheckReturnKey();
    void ReleaseDownItem();
    void ResetMainMenu();
    void MDIChildMaximize();
    void MDIChildRestore();

    // --- the objects ---------------------------------------------------------------------------
    int ObjectCount() const { return int(ObjectList.size()); }
    TbsMenuBarObject* Object(int i) const { return ObjectList[std::size_t(i)].get(); }
    void DrawObject(TbsMenuBarObject* AObject);
    void CalcObjectRects();
    TRect GetMarkerRect() const;
    void PopupHiddenItems();
    void TestActive(int X, int Y);
    void MouseTimerProc();
    void MorphTimerProc();
    void AnimateTimerProc();
    void Dispatch(vcl::TMessage& Message) override;

    TbsItemEnterEvent OnItemMouseEnter;
    TbsItemLeaveEvent OnItemMouseLeave;

    // --- fields --------------------------------------------------------------------------------
    bool FSkinSupport = false;
    int ButtonsCount = 0;
    bool FMDIChildMax = false;
    bool MenuActive = false;
    bool Scroll = false;
    bool MarkerActive = false;
    vcl::TTimer* MouseTimer;    // owned
    vcl::TTimer* MorphTimer;    // owned
    vcl::TTimer* AnimateTimer;  // owned
    int ActiveObject = -1;
    int OldActiveObject = -1;
    int MouseCaptureObject = -1;
    TRect NewItemsRect;
    vcl::TMainMenu* FMergeMenu = nullptr;
    TRect ItemsRect;
    std::string MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
    gfx::TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
    gfx::TBitmap* Picture = nullptr;
    bool StretchEffect = false;
    bool ItemTransparent = false;
    bool ChildMenuIn = false;
    // The bar's background of the last paint, for transparent items.
    gfx::TBitmap FBarImage;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void Paint() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

private:
    friend class TbsMenuBarObject;
    friend class TbsSkinMainMenuBarItem;
    friend class TbsSkinMainMenuBarButton;
    void ClearObjects();
    void CreateMDIButtons();
    void DeleteMDIButtons();
    void SetMDIButtonsState(TbsMainMenuBarHost* child);
    void PaintMenuBar(gfx::TCanvas& C);
    void DrawMarker(gfx::TCanvas& C);
    // The items in list order (the MDI buttons skipped).
    TbsSkinMainMenuBarItem* Item(int i) const;
    bool Usable(int i) const;
    // The first maximized skinned MDI child of the application's main form, if any.
    TbsMainMenuBarHost* MaximizedChild() const;

    TRect SkinRect;
    bool FScrollMenu = true;
    gfx::TFont FDefItemFont;
    bool FUseSkinFont = true;
    bool FPopupToUp = false;
    TbsMainMenuBarHost* BSF = nullptr;
    vcl::TMainMenu* FMainMenu = nullptr;
    int FDefaultWidth = 0;
    int FDefaultHeight = 22;
    std::vector<std::unique_ptr<TbsMenuBarObject>> ObjectList;
};

}  // namespace skin
