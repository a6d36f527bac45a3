// The form's side of its skinned menus: the menu mode (the application hook that hands keys to
// the innermost level), closing the menus on the messages that end them, and the popups the
// form opens through its controller.
#include "platform/win/win.h"
#include "skin/form/skin_form.h"
#include "skin/menus/skin_hint.h"

namespace skin {

void TbsSkinForm::SkinMenuOpen() {
    // The controller follows the component's menu settings.
    SkinMenu->MaxMenuItemsInWindow = FMaxMenuItemsInWindow;
    SkinMenu->AlphaBlend = FMenusAlphaBlend;
    SkinMenu->AlphaBlendValue = FMenusAlphaBlendValue;
    SkinMenu->AlphaBlendAnimation = FMenusAlphaBlendAnimation;
    if (!InMainMenu) HookApp();
    if (!InMenu) {
        InMenu = true;
        if (FOnSkinMenuOpen) FOnSkinMenuOpen(this);
    }
}

void TbsSkinForm::SkinMenuClose() {
    if (FMenuLayerManager && FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    InMenu = false;
    for (auto& object : ObjectList) {
        if (auto* button = dynamic_cast<TbsSkinButtonObject*>(object.get())) {
            if (button->MenuItem && button->Down()) {
                button->SetDown(false);
                break;
            }
        }
    }
    UnHookApp();
    if (FOnSkinMenuClose) FOnSkinMenuClose(this);
    InMainMenu = false;
}

void TbsSkinForm::HookApp() {
    if (FInAppHook) return;
    FMenuFilter = win::AddMessageFilter([this](win::MSG& msg) { return NewAppMessage(msg); });
    FInAppHook = true;
}

void TbsSkinForm::UnHookApp() {
    if (!FInAppHook) return;
    FInAppHook = false;
    win::RemoveMessageFilter(FMenuFilter);
    FMenuFilter = 0;
}

bool TbsSkinForm::NewAppMessage(win::MSG& Msg) {
    if (Msg.message == win::WM_KEYDOWN) MenuKeyDown(int(Msg.wParam));
    if (Msg.message == win::WM_KEYDOWN || Msg.message == win::WM_MOUSEWHEEL) {
        Msg.message = 0;
        return true;
    }
    return false;
}

void TbsSkinForm::MenuKeyDown(int Key) {
    if (SkinMenu->Visible() && SkinMenu->LevelCount() > 0)
        SkinMenu->Level(SkinMenu->LevelCount() - 1)->PopupKeyDown(Key);
    if (Key == win::VK_ESCAPE && SkinMenu->LevelCount() == 0 && InMenu) SkinMenuClose();
}

void TbsSkinForm::CheckMenuCloseMessage(const vcl::TMessage& Message) {
    if (!IsMenuCloseMessage(Message.Msg)) return;
    if (FShowObjectHint && FSkinHint) FSkinHint->HideHint();
    if (SkinMenu->Visible())
        SkinMenu->Hide();
    else if (InMenu)
        SkinMenuClose();
}

void TbsSkinForm::DoPopupMenu(vcl::TPopupMenu* Menu, int X, int Y) {
    if (Menu->OnPopup) Menu->OnPopup(Menu);
    if (SkinMenu->Visible()) SkinMenuClose();
    SkinMenuOpen();
    SkinMenu->Popup(nullptr, FSD, 0, {X, Y, X, Y}, Menu->Items(), false);
    if (!SkinMenu->Visible()) SkinMenuClose();
}

void TbsSkinForm::PopupSkinMenu(vcl::TMenu* Menu, gfx::TPoint P) {
    PopupSkinMenu1(Menu, {P.X, P.Y, P.X, P.Y}, false);
}

void TbsSkinForm::PopupSkinMenu1(vcl::TMenu* Menu, const gfx::TRect& R, bool PopupUp) {
    SkinMenuOpen();
    SkinMenu->Popup(nullptr, FMSD ? FMSD : FSD, 0, R, Menu->Items(), PopupUp);
    if (!SkinMenu->Visible()) SkinMenuClose();
}

}  // namespace skin
