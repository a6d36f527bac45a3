#include "platform/vcl/menus.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/img_list.h"
#include "platform/win/win.h"

namespace vcl {

// ---- shortcuts
// -----------------------------------------------------------------------------------

namespace {

struct TKeyName {
    int Key;
    const char* Name;
};

constexpr TKeyName kKeyNames[] = {
    {win::VK_BACK, "BkSp"},   {win::VK_TAB, "Tab"},      {win::VK_RETURN, "Enter"},
    {win::VK_ESCAPE, "Esc"},  {win::VK_SPACE, "Space"},  {win::VK_PRIOR, "PgUp"},
    {win::VK_NEXT, "PgDn"},   {win::VK_END, "End"},      {win::VK_HOME, "Home"},
    {win::VK_LEFT, "Left"},   {win::VK_UP, "Up"},        {win::VK_RIGHT, "Right"},
    {win::VK_DOWN, "Down"},   {win::VK_INSERT, "Ins"},   {win::VK_DELETE, "Del"},
    {win::VK_OEM_1, ";"},     {win::VK_OEM_PLUS, "="},   {win::VK_OEM_COMMA, ","},
    {win::VK_OEM_MINUS, "-"}, {win::VK_OEM_PERIOD, "."}, {win::VK_OEM_2, "/"},
    {win::VK_OEM_3, "`"},     {win::VK_OEM_4, "["},      {win::VK_OEM_5, "\\"},
    {win::VK_OEM_6, "]"},     {win::VK_OEM_7, "'"},
};

std::string KeyName(int key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
    if (key >= win::VK_F1 && key <= win::VK_F1 + 23)
        return "F" + std::to_string(key - win::VK_F1 + 1);
    if (key >= win::VK_NUMPAD0 && key <= win::VK_NUMPAD9)
        return "Num " + std::to_string(key - win::VK_NUMPAD0);
    for (const TKeyName& k : kKeyNames)
        if (k.Key == key) return k.Name;
    return {};
}

int KeyFromName(const std::string& name) {
    if (name.size() == 1) {
        const char c = char(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    }
    for (int key = 1; key < 256; ++key)
        if (const std::string n = KeyName(key); !n.empty() && rtl::SameText(n, name)) return key;
    return 0;
}

}  // namespace

TShortCut ShortCut(int Key, TShiftState Shift) {
    if (Key & 0xFF00) return scNone;
    TShortCut result = TShortCut(Key);
    if (Shift.Contains(ssShift)) result |= scShift;
    if (Shift.Contains(ssCtrl)) result |= scCtrl;
    if (Shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut sc, int& Key, TShiftState& Shift) {
    Key = sc & 0xFF;
    Shift = {};
    if (sc & scShift) Shift += ssShift;
    if (sc & scCtrl) Shift += ssCtrl;
    if (sc & scAlt) Shift += ssAlt;
}

std::string ShortCutToText(TShortCut sc) {
    const std::string name = KeyName(sc & 0xFF);
    if (name.empty()) return {};
    std::string text;
    if (sc & scShift) text += "Shift+";
    if (sc & scCtrl) text += "Ctrl+";
    if (sc & scAlt) text += "Alt+";
    return text + name;
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut modifiers = 0;
    std::string rest = text;
    for (;;) {
        bool found = false;
        for (auto [prefix, bit] : {std::pair<const char*, TShortCut>{"Shift+", scShift},
                                   {"Ctrl+", scCtrl},
                                   {"Alt+", scAlt}}) {
            const std::size_t n = std::char_traits<char>::length(prefix);
            if (rest.size() > n && rtl::SameText(rest.substr(0, n), prefix)) {
                modifiers |= bit;
                rest.erase(0, n);
                found = true;
            }
        }
        if (!found) break;
    }
    const int key = KeyFromName(rest);
    return key ? TShortCut(modifiers | key) : scNone;
}

char32_t GetHotkey(const std::string& text) {
    const std::u32string chars = gfx::DecodeUtf8(text);
    for (std::size_t i = 0; i + 1 < chars.size(); ++i) {
        if (chars[i] != U'&') continue;
        if (chars[i + 1] == U'&') {
            ++i;
            continue;
        }
        return chars[i + 1];
    }
    return 0;
}

std::string StripHotkey(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

bool IsAccel(int VK, const std::string& Str) {
    const char32_t hotkey = GetHotkey(Str);
    if (!hotkey || VK <= 0) return false;
    auto fold = [](char32_t c) { return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c; };
    return fold(hotkey) == fold(char32_t(VK));
}

// ---- TMenuItem
// -----------------------------------------------------------------------------------

namespace {
int gNextCommand = 0;
}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(++gNextCommand) {}

void TMenuItem::BeforeDestruction() {
    Destroying();
    while (!FItems.empty()) FItems.back()->Free();
    if (FParent) FParent->Remove(this);
    TComponent::BeforeDestruction();
}

void TMenuItem::TurnSiblingsOff() {
    if (!FParent) return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
            sibling->FChecked = false;
}

void TMenuItem::SetChecked(bool value) {
    FChecked = value;
    if (value && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::SetDefault(bool value) {
    if (value && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this) sibling->FDefault = false;
    FDefault = value;
}

void TMenuItem::SetRadioItem(bool value) {
    FRadioItem = value;
    if (value && FChecked) TurnSiblingsOff();
}

void TMenuItem::SetGroupIndex(std::uint8_t value) {
    FGroupIndex = value;
    if (FRadioItem && FChecked) TurnSiblingsOff();
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    return FItems[std::size_t(index)];
}

int TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int value) {
    if (!FParent) return;
    TMenuItem* parent = FParent;
    const int old = MenuIndex();
    value = std::clamp(value, 0, parent->Count() - 1);
    if (value == old) return;
    parent->FItems.erase(parent->FItems.begin() + old);
    parent->FItems.insert(parent->FItems.begin() + value, this);
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->FParent) throw EMenuError("Menu inserted twice");
    if (index < 0 || index > Count()) rtl::RaiseListIndexError(index);
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    if (item->FRadioItem && item->FChecked) item->TurnSiblingsOff();
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
}

void TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index >= 0) Delete(index);
}

void TMenuItem::Clear() {
    while (!FItems.empty()) FItems.back()->Free();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
    const std::string wanted = StripHotkey(ACaption);
    for (TMenuItem* item : FItems)
        if (rtl::SameText(StripHotkey(item->FCaption), wanted)) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->FParent) root = root->FParent;
    return root->FMenu;
}

bool TMenuItem::RethinkLines() {
    bool changed = false;
    auto set = [&](TMenuItem* line, bool visible) {
        if (line->FVisible != visible) {
            line->FVisible = visible;
            changed = true;
        }
    };
    TMenuItem* pending = nullptr;  // a line that shows only if something visible follows it
    bool content = false;          // a visible item came since the start or the last line shown
    for (TMenuItem* item : FItems) {
        if (item->IsLine()) {
            if (content && !pending) {
                pending = item;
            } else {
                set(item, false);
            }
            continue;
        }
        if (!item->FVisible) continue;
        if (pending) {
            set(pending, true);
            pending = nullptr;
        }
        content = true;
    }
    if (pending) set(pending, false);
    return changed;
}

void TMenuItem::Click() {
    if (FAutoCheck) SetChecked(!FChecked);
    if (OnClick) OnClick(this);
}

// ---- TMenu
// ---------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {
    FItems = new TMenuItem(this);
    FItems->FMenu = this;
}

void TMenu::BeforeDestruction() {
    Destroying();
    FreeAndNil(FItems);
    TComponent::BeforeDestruction();
}

void TMenu::SetImages(TCustomImageList* value) {
    FImages = value;
    if (value) value->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FItems) FItems = nullptr;
}

namespace {

TMenuItem* FindIn(TMenuItem* parent, TShortCut sc, bool usable) {
    if (!parent) return nullptr;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (usable && (!item->Enabled() || !item->Visible())) continue;
        if (item->ShortCut() == sc && item->Count() == 0) return item;
        if (TMenuItem* found = FindIn(item, sc, usable)) return found;
    }
    return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const {
    return shortCut == scNone ? nullptr : FindIn(FItems, shortCut, false);
}

namespace {
TMenuItem* FindCommand(TMenuItem* item, int command) {
    if (item->Command() == command) return item;
    for (int i = 0; i < item->Count(); ++i)
        if (TMenuItem* found = FindCommand(item->Items(i), command)) return found;
    return nullptr;
}
}  // namespace

bool TMenu::DispatchCommand(int ACommand) {
    TMenuItem* item = FItems ? FindCommand(FItems, ACommand) : nullptr;
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TWMKey& Message) {
    if (!FItems) return false;
    const TShortCut sc = ShortCut(Message.CharCode, KeyDataToShiftState(Message.KeyData));
    if (sc == scNone) return false;
    TMenuItem* item = FindIn(FItems, sc, true);
    if (!item) return false;
    item->Click();
    return true;
}

// ---- TPopupMenu
// ----------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::SetPopupComponent(TComponent* value) {
    FPopupComponent = value;
    if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
    FPopupPoint = {X, Y};
    if (OnPopup) OnPopup(this);
    if (!Items()) return;
    if (AutoLineReduction() == maAutomatic) Items()->RethinkLines();
    if (TMenuItem* chosen = TrackPopupItems(Items(), X, Y, Images())) chosen->Click();
}

}  // namespace vcl
