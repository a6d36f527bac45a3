// Skinned popup menus. A chain of open menu levels is run by one TbsSkinMenu, the controller
// every form skin component owns: each level is a TbsSkinPopupWindow (a never-activated popup
// window listing the visible sub-items of one menu item), each visible item a TbsSkinMenuItem
// that draws itself from the skin's menu item record or in a plain default look. The
// application's TbsSkinPopupMenu keeps the platform menu model and shows it through the
// controller of the right form.
//
// Who talks to whom: items call the controller's CheckItem on hover and click; the controller
// opens and frees levels, runs the chosen item's command and tells the dropping control
// (WM_CLOSESKINMENU, WM_AFTERDISPATCH). The form keeps the keyboard: its component, reached
// through TbsSkinMenuHost (the form module implements it and registers the look-up, so this
// module never includes the form), hands keys to the innermost level's PopupKeyDown.
//
// The controller owns its levels, a level its items and timers. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/region.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/menus.h"
#include "platform/vcl/timer.h"
#include "skin/controls/drop_menus.h"
#include "skin/core/fades.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinMenu;
class TbsSkinPopupWindow;

// Glyphs of the default look, in `color`, with (X, Y) their top-left corner.
void DrawMenuCheck(gfx::TCanvas& Canvas, int X, int Y, gfx::TColor Color);
void DrawMenuSubArrow(gfx::TCanvas& Canvas, int X, int Y, gfx::TColor Color);
void DrawMenuRadio(gfx::TCanvas& Canvas, int X, int Y, gfx::TColor Color);
// The window messages on which a form closes its open skin menu.
bool IsMenuCloseMessage(win::UINT Msg);
inline int RectWidth(const TRect& R) {
    return R.Right - R.Left;
}
inline int RectHeight(const TRect& R) {
    return R.Bottom - R.Top;
}

// What a skinned menu needs of a form's skin component.
class TbsSkinMenuHost {
public:
    virtual ~TbsSkinMenuHost() = default;
    virtual TbsSkinData* MenuHostSkinData() const = 0;
    virtual TbsSkinData* MenuHostMenusSkinData() const = 0;
    virtual TbsSkinMenu* MenuHostSkinMenu() const = 0;
    virtual vcl::TCustomForm* MenuHostForm() const = 0;
    // Records that the form has a skin menu open and takes the keyboard; repeating it is
    // harmless.
    virtual void SkinMenuOpen() = 0;
    virtual void SkinMenuClose() = 0;
};

// The form module answers which component of a form hosts its menus.
using TbsSkinMenuHostLookup = std::function<TbsSkinMenuHost*(vcl::TCustomForm*)>;
void SetSkinMenuHostLookup(TbsSkinMenuHostLookup lookup);
TbsSkinMenuHost* FindSkinMenuHost(vcl::TCustomForm* form);

// ---- One item of a level --------------------------------------------------------------------

class TbsSkinMenuItem : public vcl::TObject {
public:
    TbsSkinMenuItem(TbsSkinPopupWindow* AParent, vcl::TMenuItem* AMenuItem,
                    TbsDataSkinMenuItem* AData);

    double MorphKf() const { return FFade.Kf(); }
    void SetMorphKf(double value);
    bool EnableMorphing() const;
    bool EnableAnimation() const;
    virtual bool CanMorphing();
    void DoMorphing();
    void MouseDown(int X, int Y);
    void MouseEnter(bool Kb);
    void MouseLeave();
    void Draw(gfx::TCanvas& Cnvs);
    void DefaultDraw(gfx::TCanvas& Cnvs);
    // Draws now or leaves it to the morph timer.
    void ReDraw();

    // Separator, header row ("-Title-" on a disabled item), usable (enabled, not a separator).
    bool IsSeparator() const { return MenuItem->Caption() == "-"; }
    bool IsHeader() const;

    TbsSkinPopupWindow* Parent;
    TbsDataSkinMenuItem* MI;
    gfx::TBitmap* ActivePicture = nullptr;
    vcl::TMenuItem* MenuItem;
    TRect ObjectRect;
    bool Active = false;
    bool Down = false;
    bool FVisible = true;
    bool WaitCommand = false;
    int CurrentFrame = 0;

private:
    void SkinLook(gfx::TCanvas& C, int W, int H, bool active, const TRect* frame);
    // The skin's header strip with the caption between the dashes; nothing without one.
    void DrawHeader(gfx::TCanvas& C, int W, int H);
    void DrawGlyphs(gfx::TCanvas& C, const TRect& T, int G, gfx::TColor color, bool active,
                    bool defaultLook);
    TbsHoverFade FFade;
};

// ---- One level ------------------------------------------------------------------------------

class TbsSkinPopupWindow : public vcl::TCustomControl {
public:
    TbsSkinPopupWindow(vcl::TComponent* AOwner, TbsSkinMenu* AParentMenu,
                       TbsDataSkinPopupWindow* AData);
    ~TbsSkinPopupWindow() override;

    void Show(const TRect& R, vcl::TMenuItem* AItem, int StartIndex, bool PopupByItem,
              bool PopupUp);
    void Show2(const TRect& R, vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2, int StartIndex,
               bool PopupByItem, bool PopupUp);
    void Hide();
    void PaintMenu(gfx::TCanvas& C);
    void PopupKeyDown(int CharCode);
    void Dispatch(vcl::TMessage& Message) override;

    int ItemCount() const { return int(ItemList.size()); }
    TbsSkinMenuItem* Item(int i) const { return ItemList[std::size_t(i)].get(); }
    int ItemIndexOf(const TbsSkinMenuItem* item) const;
    // The window's scroll and item state, as the tests read it.
    bool CanScrollUp() const { return VisibleStartIndex > 0; }
    bool CanScrollDown() const { return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1; }
    // One step of the pointer test at a screen point (the mouse timer's tick).
    void TestMouse(TPoint screen);
    void MouseTimerProc();
    // Closes levels below this one, their Down items reset.
    void Collapse();

    TbsDataSkinMenuItem* DSMI = nullptr;
    int VisibleCount = 0;
    int VisibleStartIndex = 0;
    bool Scroll = false;
    bool Scroll2 = false;
    int ScrollCode = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    int ShowX = 0, ShowY = 0;
    int OMX = -1, OMY = -1;
    vcl::TCustomImageList* ImgL = nullptr;
    int GlyphWidth = 19;
    gfx::TBitmap* WindowPicture = nullptr;
    gfx::TBitmap* MaskPicture = nullptr;
    int OldActiveItem = -1;
    vcl::TTimer* MouseTimer;  // owned
    vcl::TTimer* MorphTimer;  // owned
    TbsSkinMenu* ParentMenu;
    TbsSkinData* SD = nullptr;
    TbsDataSkinPopupWindow* PW = nullptr;
    int ActiveItem = -1;
    std::unique_ptr<gfx::TBitmap> FPaintBuffer;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void Paint() override;

private:
    friend class TbsSkinMenuItem;
    void Fill(vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2, int StartIndex);
    void DoShow(const TRect& R, vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2, int StartIndex,
                bool PopupByItem, bool PopupUp, bool two);
    void Place(const TRect& R, bool PopupByItem, bool PopupUp);
    void ArrangeItems();
    int ItemHeight(const TbsSkinMenuItem& item, bool byPW) const;
    void ItemBackground(gfx::TCanvas& C, const TRect& R);
    void DrawScrollBands(gfx::TCanvas& C);
    void RedrawBands();
    void StartScroll();
    void StopScroll();
    bool ScrollUp(bool wrap);
    bool ScrollDown(bool wrap);
    void MorphTimerProc();
    void MouseUpAt(TPoint client);
    bool Usable(int i) const;
    void SetActive(int index, bool Kb);
    void FadeIn();

    std::vector<std::unique_ptr<TbsSkinMenuItem>> ItemList;
    std::optional<gfx::TRegion> FRgn;
};

// ---- The controller -------------------------------------------------------------------------

class TbsSkinMenu : public vcl::TComponent {
public:
    TbsSkinMenu(vcl::TComponent* AOwner, vcl::TCustomForm* AForm);
    ~TbsSkinMenu() override;
    void BeforeDestruction() override;

    void Popup(vcl::TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
               vcl::TMenuItem* AItem, bool PopupUp);
    void Popup2(vcl::TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
                vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2, bool PopupUp);
    void Hide();
    void CloseMenu(int EndIndex);
    void CheckItem(TbsSkinPopupWindow* W, TbsSkinMenuItem* I, bool Click, bool Kb);
    bool Visible() const { return FVisible; }
    bool First() const { return FFirst; }
    int LevelCount() const { return int(FPopupList.size()); }
    TbsSkinPopupWindow* Level(int i) const { return FPopupList[std::size_t(i)]; }
    int LevelOf(const TbsSkinPopupWindow* W) const;
    // True when an open level lists an item of `menu`.
    bool ListsItemsOf(const vcl::TMenu* menu) const;
    gfx::TFont& DefaultMenuItemFont() { return FDefaultMenuItemFont; }
    void SetDefaultMenuItemFont(const gfx::TFont& value) { FDefaultMenuItemFont.Assign(value); }
    vcl::TCustomForm* Form() const { return FForm; }

    bool UseSkinFont = true;
    int DefaultMenuItemHeight = 20;
    vcl::TControl* PopupCtrl = nullptr;
    vcl::TControl* DCtrl = nullptr;
    TbsSkinMenuItem* WItem = nullptr;
    TRect WorkArea;
    TbsSkinData* SkinData = nullptr;
    vcl::TNotifyEvent OnMenuClose;
    bool AlphaBlend = false;
    std::uint8_t AlphaBlendValue = 150;
    bool AlphaBlendAnimation = false;
    int MaxMenuItemsInWindow = 0;
    vcl::TTimer* WaitTimer;  // owned

private:
    void OpenLevel(const TRect& R, vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2, int StartIndex,
                   bool PopupByItem, bool PopupUp);
    void WaitTimerProc();
    void Notify(vcl::TControl* ctrl, win::UINT msg);

    bool FFirst = false;
    bool FVisible = false;
    gfx::TFont FDefaultMenuItemFont;
    vcl::TCustomForm* FForm;
    std::vector<TbsSkinPopupWindow*> FPopupList;  // owned (components of this controller)
};

// ---- The application's popup menu ------------------------------------------------------------

class TbsSkinPopupMenu : public vcl::TPopupMenu, public TbsSkinDropMenu {
public:
    explicit TbsSkinPopupMenu(vcl::TComponent* AOwner);

    void Popup(int X, int Y) override;
    void PopupFromRect(const TRect& R, bool APopupUp);
    bool PopupFromRect2(vcl::TControl* ACtrl, const TRect& R, bool APopupUp) override;
    void Popup2(vcl::TControl* ACtrl, int X, int Y);
    vcl::TComponent* MenuComponent() override { return this; }

    TPoint PopupPoint() const { return FPopupPoint; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* value);
    void BeforeDestruction() override;
    vcl::TCustomForm* ComponentForm = nullptr;
    vcl::TComponent* SkinComponent = nullptr;
    vcl::TNotifyEvent OnMenuClose;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    // True when a level opened.
    bool Show(vcl::TControl* ACtrl, const TRect& R, bool up, bool needSkin);
    TbsSkinMenuHost* FindHost() const;

    TPoint FPopupPoint{-1, -1};
    TbsSkinData* FSD = nullptr;
    TbsSkinMenu* FShownOn = nullptr;  // the controller that showed this menu last
};

}  // namespace skin
