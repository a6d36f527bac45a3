// The menu model: TMenuItem trees with captions ("-" is a separator), checks, radio groups,
// shortcuts and pictures; TMainMenu (its shortcuts only: no menu bar is drawn) and TPopupMenu,
// whose Popup shows a plain popup and runs the chosen item. Shortcut helpers: ShortCut,
// ShortCutToText ("Ctrl+F4"), TextToShortCut, IsAccel. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/vcl/controls.h"

namespace vcl {

class TMenu;
class TCustomImageList;

// A key with its modifiers: the virtual key in the low byte.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

TShortCut ShortCut(int Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, int& Key, TShiftState& Shift);
// "Shift+", "Ctrl+", "Alt+" and the key's name ("F1", "Del", "A"); empty for scNone.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse of ShortCutToText; scNone for a text it does not know.
TShortCut TextToShortCut(const std::string& Text);
// The character after the single "&" of a caption ("&&" is a plain "&"); 0 for none.
char32_t GetHotkey(const std::string& Text);
std::string StripHotkey(const std::string& Text);
// Whether the caption's accelerator is VK (a key or character, compared without case).
bool IsAccel(int VK, const std::string& Str);

using TMenuDrawItemEvent =
    std::function<void(TObject* Sender, gfx::TCanvas& ACanvas, TRect ARect, bool Selected)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    void BeforeDestruction() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value) { FCaption = value; }
    // Caption "-".
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of its GroupIndex among its siblings.
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    std::uint8_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(std::uint8_t value);
    // Clicking checks or unchecks the item.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value) { FShortCut = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    gfx::TBitmap& Bitmap() { return FBitmap; }

    // --- The tree ------------------------------------------------------------------------------
    int Count() const { return int(FItems.size()); }
    // Raises rtl::EListError for an index out of range.
    TMenuItem* Items(int index) const;
    TMenuItem* operator[](int index) const { return Items(index); }
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void SetMenuIndex(int value);
    // Raises EMenuError "Menu inserted twice" for an item that has a parent already.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without freeing it.
    void Delete(int index);
    void Remove(TMenuItem* item);
    // Frees every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // The first sub-item whose caption, without its "&", equals ACaption (ASCII case ignored).
    TMenuItem* Find(const std::string& ACaption) const;
    // The menu the tree belongs to, if any.
    TMenu* GetParentMenu() const;
    // Shows exactly the separators that separate something: none first, last or doubled among
    // the visible sub-items. True when any separator changed.
    bool RethinkLines();

    // OnClick (and AutoCheck); whatever the item's state.
    virtual void Click();
    // A number no other living item has, for DispatchCommand.
    int Command() const { return FCommand; }

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;

private:
    friend class TMenu;
    void TurnSiblingsOff();

    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    std::uint8_t FGroupIndex = 0;
    bool FAutoCheck = false;
    TShortCut FShortCut = scNone;
    std::string FHint;
    int FImageIndex = -1;
    gfx::TBitmap FBitmap;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on a menu's root item
    int FCommand = 0;
};

class EMenuError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

enum TMenuAutoFlag { maAutomatic, maManual, maParent };

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    void BeforeDestruction() override;

    // The root item; its sub-items are the menu's items.
    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TMenuAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuAutoFlag value) { FAutoLineReduction = value; }
    // Runs the enabled, visible item (in an enabled, visible submenu) whose shortcut the key
    // message makes; true when one ran.
    virtual bool IsShortCut(TWMKey& Message);
    // The item with this shortcut, or null.
    TMenuItem* FindShortCut(TShortCut shortCut) const;
    // Clicks the item of the tree with this command number; false when none has it.
    bool DispatchCommand(int ACommand);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMenuItem* FItems = nullptr;
    TCustomImageList* FImages = nullptr;
    TMenuAutoFlag FAutoLineReduction = maAutomatic;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The control the menu was opened for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);
    TPoint PopupPoint() const { return FPopupPoint; }

    // OnPopup, then a plain popup at the screen point; the chosen item's Click runs after it
    // closed. Returns when the popup is gone.
    virtual void Popup(int X, int Y);

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetPopupPoint(TPoint point) { FPopupPoint = point; }

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint{-1, -1};
};

// The plain popup: shows `items` at a screen point, tracks the mouse and keys in a nested loop
// until an item is chosen or the popup is cancelled; returns the chosen item or null.
TMenuItem* TrackPopupItems(TMenuItem* items, int X, int Y, TCustomImageList* images);

}  // namespace vcl
