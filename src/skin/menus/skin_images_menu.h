// The images menu: a drop-down grid of an image list's pictures, optionally split by full-width
// header rows and text buttons, that remembers the chosen cell in ItemIndex. Buttons drop it
// through the drop-menu seam of the controls (drop_menus.h). While open, its window holds the
// capture and a pre-dispatch filter takes the keys; a click outside, a right click, Esc, a lost
// capture or a window message that ends a menu close it without events.
//
// The menu owns its items and its open window; the window is freed after the handler that
// closed it has returned. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"
#include "platform/win/win.h"
#include "skin/controls/drop_menus.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinImagesMenu;

class TbsImagesMenuItem {
public:
    int ImageIndex = -1;
    std::string Caption;
    vcl::TNotifyEvent OnClick;
    bool Button = false;
    bool Header = false;
    std::string Hint;
    TRect ItemRect;
    gfx::TColor Color = 0;
    // Copies ImageIndex, Caption, Button and Hint.
    void Assign(const TbsImagesMenuItem& source);
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
    int ItemAt(TPoint client) const;
    bool Hook(win::MSG& msg);
    void Focus(int index);
    bool ShowSelected(int i) const;

    TbsSkinImagesMenu* ImagesMenu;
    win::TFilterToken FFilter = 0;
    bool FClosing = false;
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
    int ItemCount() const { return int(FItems.size()); }
    TbsImagesMenuItem& Item(int i) { return *FItems[std::size_t(i)]; }
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

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    friend class TbsSkinImagesMenuPopupWindow;
    void WindowClosed(bool AProcessEvents);

    vcl::TCustomImageList* FImages = nullptr;
    std::vector<std::unique_ptr<TbsImagesMenuItem>> FItems;
    int FColumnsCount = 1;
    int FOldItemIndex = -1;
    TbsSkinImagesMenuPopupWindow* FPopupWindow = nullptr;
};

}  // namespace skin
