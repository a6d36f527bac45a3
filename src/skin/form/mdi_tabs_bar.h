// The MDI tabs bar: one tab per MDI child of the main form. Clicking a tab shows (and restores)
// its child, a right click opens the child's system menu, tabs can carry close buttons and be
// reordered by dragging; a list button at the left opens a menu of all children, and when the
// tabs do not fit a second one at the right lists the hidden ones. The children's form
// components add, remove and refresh their tabs through the main form's component.
//
// Owns its tabs, menus and list buttons; the children, the form component and the skin data are
// the application's. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/forms.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/skin_control.h"
#include "skin/menus/skin_menu.h"

namespace skin {

class TbsSkinForm;
class TbsSkinMDITabsBar;

enum TbsSkinMDITabKind { bstkTab, bstkButton };

class TbsMDITab {
public:
    TbsMDITab(TbsSkinMDITabsBar* AParentBar, vcl::TCustomForm* AChild)
        : TabsBar(AParentBar), Child(AChild) {}
    // The tab's image at ObjectRect's top-left.
    void Draw(gfx::TCanvas& Cnvs);

    TbsSkinMDITabsBar* TabsBar;
    bool Active = false;
    bool MouseIn = false;
    gfx::TRect ObjectRect;
    vcl::TCustomForm* Child;
    bool Visible = false;
    gfx::TRect ButtonRect;  // the close button, relative to ObjectRect
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;
    gfx::TColor TextFontColor = 0;

private:
    void DrawCloseButton(gfx::TCanvas& Cnvs, const gfx::TRect& R);
};

using TbsMDITabEvent = std::function<void(TbsMDITab* MDITab)>;
using TbsMDITabMouseEvent =
    std::function<void(vcl::TMouseButton Button, vcl::TShiftState Shift, TbsMDITab* MDITab)>;
using TbsMDITabDrawParamsEvent = std::function<void(TbsMDITab* MDITab, gfx::TCanvas& Cnvs)>;

class TbsSkinMDITabsBar : public TbsSkinControl {
public:
    explicit TbsSkinMDITabsBar(vcl::TComponent* AOwner);
    void BeforeDestruction() override;

    void AddTab(vcl::TCustomForm* Child);
    void DeleteTab(vcl::TCustomForm* Child);
    // Every tab's Active := its child is the main form's active MDI child; repaint.
    void UpdateActiveTab();
    // The child's tab drawn again.
    void RefreshTab(vcl::TCustomForm* Child);
    // The first visible tab containing the point (edges included), else -1.
    int GetTabIndex(int X, int Y) const;
    TbsMDITab* GetTab(int X, int Y) const;
    int GetCloseSize() const;
    void ChangeSkinData() override;
    void Dispatch(vcl::TMessage& Message) override;
    int TabCount() const { return int(ObjectList.size()); }
    TbsMDITab* Tabs(int index) const { return ObjectList[std::size_t(index)].get(); }
    // Places every tab for the current width.
    void CalcTabRects();

    bool ShowCloseButtons = false;
    int MinTabWidth = 0;
    TbsSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TbsSkinMDITabKind value);
    TbsSkinForm* SkinForm() const { return BSF; }
    void SetSkinForm(TbsSkinForm* value);
    bool SupportChildMenus = true;
    bool UseSkinSize = true;
    bool UseSkinFont = true;
    bool MoveTabs = true;
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }
    int DefaultTabWidth = 100;
    TbsMDITabEvent OnTabMouseEnter, OnTabMouseLeave;
    TbsMDITabMouseEvent OnTabMouseUp, OnTabMouseDown;
    TbsMDITabDrawParamsEvent OnTabGetDrawParamsEvent;

    // The list buttons, while they exist.
    TbsSkinMenuSpeedButton* ListButton() const { return FListButton; }
    TbsSkinMenuSpeedButton* HiddenListButton() const { return FHideListButton; }
    TbsSkinPopupMenu* ListMenu() const { return FListMenu; }
    TbsSkinPopupMenu* HiddenListMenu() const { return FHideListMenu; }
    void FillListMenu();
    void FillHiddenListMenu();
    int InVisibleCount() const { return FInVisibleCount; }

    // Skin values read at every paint.
    gfx::TBitmap* Picture = nullptr;
    gfx::TRect TabRect, ActiveTabRect, MouseInTabRect, TabsBGRect;
    int TabLeftOffset = 0, TabRightOffset = 0;
    std::string FontName;
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 0;
    gfx::TColor FontColor = 0, ActiveFontColor = 0, MouseInFontColor = 0;
    bool TabStretchEffect = false;
    gfx::TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    gfx::TColor ButtonTransparentColor = 0;
    gfx::TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    gfx::TRect SkinRect, ClRect;
    bool TopStretch = false;

protected:
    void GetSkinData() override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void Paint() override;
    void AdjustClientRect(vcl::TRect& Rect) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

private:
    friend class TbsMDITab;
    bool HasRecord() const { return FIndex != -1; }
    void PaintTabs(gfx::TCanvas& C);
    void DrawDropMarker(gfx::TCanvas& C);
    int GetDropIndex() const;
    void HotTrackTab(int X, int Y);
    void ShowListButton();
    void ShowHiddenListButton();
    void ClearTabs();
    // Restores and shows the child of that name.
    void ShowChildNamed(const std::string& name);
    // The child's form component, or null.
    static TbsSkinForm* ChildComponent(vcl::TCustomForm* child);

    int FBottomOffset = 0;
    TbsSkinMDITabKind FTabKind = bstkTab;
    bool IsDrag = false;
    int DX = 0, TabDX = 0;
    bool FDown = false;
    int DragIndex = -1;
    int FDefaultHeight = 21;
    gfx::TFont FDefaultFont;
    int ActiveTabIndex = -1, OldTabIndex = -1;
    TbsSkinForm* BSF = nullptr;
    TbsSkinMenuSpeedButton* FListButton = nullptr;
    TbsSkinMenuSpeedButton* FHideListButton = nullptr;
    TbsSkinPopupMenu* FListMenu = nullptr;
    TbsSkinPopupMenu* FHideListMenu = nullptr;
    int FInVisibleCount = 0;
    int FCloseSize = 14;
    int FRightLimit = 0;
    std::vector<std::unique_ptr<TbsMDITab>> ObjectList;
};

}  // namespace skin
