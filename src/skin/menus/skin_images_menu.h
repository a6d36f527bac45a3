// The images menu: a drop-down grid of an image list's pictures, optionally split by full-width
// header rows and text buttons, that remembers the chosen cell in ItemIndex. Buttons drop it
// through the drop-menu seam of the controls (drop_menus.h). While open, its window holds the
// capture and a pre-dispatch filter takes the keys; a click outside, a right click, Esc, a lost
// capture, the application losing activation or a window message that ends a menu close it
// without events. With a skin the window wears the popup window picture (and its mask), headers
// the "label" strip and cells the "menuitembutton" frames; hints of the cells go through a
// TbsSkinHint; the window can fade in as a layered window on the program's clock.
//
// The menu owns its items and its open window; the window is freed after the handler that
// closed it has returned. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/region.h"
#include "platform/rtl/lists.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"
#include "platform/win/win.h"
#include "skin/controls/drop_menus.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinHint;
class TbsSkinImagesMenu;

class TbsImagesMenuItem : public rtl::TCollectionItem {
public:
    int ImageIndex = -1;
    std::string Caption;
    vcl::TNotifyEvent OnClick;
    bool Button = false;
    bool Header = false;
    std::string Hint;
    TRect ItemRect;
    gfx::TColor Color = 0;
    virtual void SetImageIndex(int value) { ImageIndex = value; }
    virtual void SetCaption(const std::string& value) { Caption = value; }
    // Copies ImageIndex, Caption, Button and Hint (not Header, not OnClick).
    void Assign(const TbsImagesMenuItem& source);
    // The same from another images menu item; anything else is refused as the base does.
    void Assign(const rtl::TCollectionItem& source) override;
};

class TbsImagesMenuItems : public rtl::TCollectionOf<TbsImagesMenuItem> {
public:
    explicit TbsImagesMenuItems(TbsSkinImagesMenu* AImagesMenu) : ImagesMenu(AImagesMenu) {}
    TbsSkinImagesMenu* GetOwner() const { return ImagesMenu; }
    TbsSkinImagesMenu* ImagesMenu;
};

class TbsSkinImagesMenuPopupWindow : public vcl::TCustomControl {
public:
    TbsSkinImagesMenuPopupWindow(vcl::TComponent* AOwner, TbsSkinImagesMenu* AMenu);
    ~TbsSkinImagesMenuPopupWindow() override;
    void Show(const TRect& PopupRect);
    void Hide(bool AProcessEvents);
    void Dispatch(vcl::TMessage& Message) override;
    void KeyDownAt(int Key);

    int MouseInItem = -1;
    int OldMouseInItem = -1;
    bool FDown = false;
    bool FItemDown = false;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void Paint() override;

private:
    void Arrange();
    void WorkAreaFit(const TRect& PopupRect, int& x, int& y) const;
    int ItemAt(TPoint client) const;
    bool Hook(win::MSG& msg);
    void Focus(int index);
    bool ShowSelected(int i) const;
    void PointerAt(int index);
    void HideHint();
    void PaintHeader(gfx::TCanvas& C, const TbsImagesMenuItem& item);
    void PaintFrame(gfx::TCanvas& C, const TRect& r, bool pressed);
    void PaintButtonText(gfx::TCanvas& C, const TbsImagesMenuItem& item, TRect r, bool pressed,
                         bool hot);

    TbsSkinImagesMenu* ImagesMenu;
    win::TFilterToken FFilter = 0;
    bool FClosing = false;

public:
    // The skin has a popup window picture: the window wears it.
    bool FSkinSupport = false;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    gfx::TBitmap* WindowPicture = nullptr;
    gfx::TBitmap* MaskPicture = nullptr;
    std::optional<gfx::TRegion> FRgn;
};

class TbsSkinImagesMenu : public vcl::TComponent, public TbsSkinDropImagesMenu {
public:
    explicit TbsSkinImagesMenu(vcl::TComponent* AOwner);
    ~TbsSkinImagesMenu() override;
    void BeforeDestruction() override;

    vcl::TComponent* MenuComponent() override { return this; }
    vcl::TCustomImageList* Images() const override { return FImages; }
    void SetImages(vcl::TCustomImageList* value);
    std::optional<TbsImagesMenuChoice> SelectedItem() const override;
    bool PopupFromRect(const TRect& R) override;
    void Popup(int X, int Y);
    void Hide();

    TbsImagesMenuItem& AddItem();
    int ItemCount() const { return FImagesItems->Count(); }
    TbsImagesMenuItem& Item(int i) { return *FImagesItems->Items(i); }
    TbsImagesMenuItems& ImagesItems() { return *FImagesItems; }
    // Copies the items (each by its Assign).
    void SetImagesItems(const TbsImagesMenuItems& value) { FImagesItems->Assign(value); }
    int ColumnsCount() const { return FColumnsCount; }
    // Only 1 to 50 are taken.
    void SetColumnsCount(int value);
    TbsSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow; }

    int ItemIndex = -1;
    vcl::TNotifyEvent OnItemClick;
    vcl::TNotifyEvent OnChange;
    vcl::TNotifyEvent OnMenuClose;
    vcl::TNotifyEvent OnMenuPopup;
    bool ShowSelectedItem = true;
    TbsSkinData* SkinData = nullptr;
    // Layered window; fades in from 0 with AlphaBlendAnimation.
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 200;
    // Button texts: the button record's font with UseSkinFont, else this one.
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }
    bool UseSkinFont = true;
    // Hints of the cells while ShowHints is on.
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* value);
    bool ShowHints = true;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    friend class TbsSkinImagesMenuPopupWindow;
    void WindowClosed(bool AProcessEvents);

    vcl::TCustomImageList* FImages = nullptr;
    std::unique_ptr<TbsImagesMenuItems> FImagesItems;
    gfx::TFont FDefaultFont;
    TbsSkinHint* FSkinHint = nullptr;
    int FColumnsCount = 1;
    int FOldItemIndex = -1;
    TbsSkinImagesMenuPopupWindow* FPopupWindow = nullptr;
};

}  // namespace skin
