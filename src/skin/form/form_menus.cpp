// The form's side of its skinned menus: the menu mode (the application hook that hands keys to
// the innermost level), closing the menus on the messages that end them, and the popups the
// form opens through its controller.
#include <vector>

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
        } else if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(object.get())) {
            if (animate->MenuItem && animate->FMenuTracking) {
                animate->Active = true;
                animate->FFrame = animate->CountFrames;
                animate->FDown = false;
                animate->FMenuTracking = false;
                animate->Increment = false;
                AnimateTimer->SetEnabled(true);
                break;
            }
        }
    }
    UnHookApp();
    if (FOnSkinMenuClose) FOnSkinMenuClose(this);
    if (InMainMenu) {
        InMainMenu = false;
        if (FMainMenuBar) FMainMenuBar->ResetMainMenu();
        if (FOnMainMenuExit) FOnMainMenuExit(this);
    }
}

void TbsSkinForm::SkinMainMenuClose() {
    InMainMenu = false;
    if (SkinMenu->Visible()) SkinMenu->Hide();
    if (FMainMenuBar) FMainMenuBar->ResetMainMenu();
    UnHookApp();
    if (FOnMainMenuExit) FOnMainMenuExit(this);
}

void TbsSkinForm::SkinMenuCloseInMainMenu() {
    InMenu = false;
    if (FMainMenuBar) FMainMenuBar->ReleaseDownItem();
    if (FOnSkinMenuClose) FOnSkinMenuClose(this);
}

void TbsSkinForm::HookApp() {
    if (FInAppHook) return;
    // The application's own handler runs before its key pre-processing, so a key meant for
    // the menu never reaches a shortcut, a default button or the focus moves.
    if (vcl::Application) {
        OldAppMessage = vcl::Application->OnMessage;
        vcl::Application->OnMessage = [this](win::MSG& msg, bool& handled) {
            handled = NewAppMessage(msg);
        };
    } else {
        FMenuFilter = win::AddMessageFilter([this](win::MSG& msg) { return NewAppMessage(msg); });
    }
    FInAppHook = true;
}

void TbsSkinForm::UnHookApp() {
    if (!FInAppHook) return;
    FInAppHook = false;
    if (FMenuFilter) {
        win::RemoveMessageFilter(FMenuFilter);
        FMenuFilter = 0;
    } else if (vcl::Application) {
        vcl::Application->OnMessage = std::move(OldAppMessage);
        OldAppMessage = nullptr;
    }
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
    if (FForm->FormStyle() == vcl::fsMDIChild) {
        TbsSkinForm* main =
            GetSkinFormComponent(vcl::Application ? vcl::Application->MainForm() : nullptr);
        if (main && main != this &&
            (main->InMenu || main->InMainMenu || main->SkinMenu->Visible())) {
            main->MenuKeyDown(Key);
            return;
        }
    }
    if (InMainMenu && FMainMenuBar && FMainMenuBar->CheckHotKey(Key)) return;
    if (Key == win::VK_ESCAPE && InMainMenu && !InMenu) {
        SkinMainMenuClose();
        return;
    }
    const int levels = SkinMenu->Visible() ? SkinMenu->LevelCount() : 0;
    TbsSkinPopupWindow* innermost = levels > 0 ? SkinMenu->Level(levels - 1) : nullptr;
    if (Key == win::VK_LEFT && InMainMenu && levels <= 1 && FMainMenuBar) {
        FMainMenuBar->PrevMainMenuItem();
        return;
    }
    if (Key == win::VK_RIGHT && InMainMenu && FMainMenuBar) {
        const bool opensSubmenu = innermost && innermost->ActiveItem >= 0 &&
                                  innermost->ActiveItem < innermost->ItemCount() &&
                                  innermost->Item(innermost->ActiveItem)->MenuItem->Count() > 0;
        if (!opensSubmenu) {
            FMainMenuBar->NextMainMenuItem();
            return;
        }
    }
    if (Key == win::VK_RETURN || Key == win::VK_DOWN) {
        if (FMainMenuBar && FMainMenuBar->CheckReturnKey()) return;
        if (innermost) innermost->PopupKeyDown(Key);
        return;
    }
    if (innermost) innermost->PopupKeyDown(Key);
    if (Key == win::VK_ESCAPE && SkinMenu->LevelCount() == 0) {
        if (InMainMenu)
            SkinMenuCloseInMainMenu();
        else if (InMenu)
            SkinMenuClose();
    }
}

void TbsSkinForm::CheckMenuCloseMessage(const vcl::TMessage& Message) {
    if (!IsMenuCloseMessage(Message.Msg)) return;
    if (FShowObjectHint && FSkinHint) FSkinHint->HideHint();
    if (!InMainMenu || InMenu) {
        if (SkinMenu->Visible()) {
            SkinMenu->Hide();
        } else if (InMenu) {
            SkinMenuClose();
        } else if (FForm->FormStyle() == vcl::fsMDIForm && FForm->Visible()) {
            TbsSkinForm* child = GetActiveMDIChildSkinForm();
            if (child && child != this) child->CheckMenuCloseMessage(Message);
        }
    } else {
        SkinMainMenuClose();
    }
    CancelChildDropDowns();
}

void TbsSkinForm::CancelChildDropDowns() {
    if (FForm->FormStyle() != vcl::fsMDIForm || !FForm->Visible() || !ComponentState().Empty())
        return;
    // Collected first: a control closing its drop-down may change the form's components.
    std::vector<vcl::TControl*> targets;
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
        auto* control = dynamic_cast<vcl::TControl*>(FForm->Components(i));
        if (control && IsDropDownControl(control) && control->Visible() && control->Enabled())
            targets.push_back(control);
    }
    for (vcl::TControl* control : targets) control->Perform(vcl::CM_CANCELMODE, 0, 0);
}

void TbsSkinForm::FormShortCut(vcl::TWMKey& Msg, bool& Handled) {
    if (FOnShortCut) {
        FOnShortCut(Msg, Handled);
        if (Handled) return;
    }
    const vcl::TShiftState shift = vcl::KeyDataToShiftState(Msg.KeyData);
    const bool alt = shift.Contains(vcl::ssAlt);
    if (shift == vcl::TShiftState{vcl::ssAlt} && Msg.CharCode == win::VK_SPACE) {
        ShowSystemMenuByKey();
        FInShortCut = false;
        Handled = true;
        return;
    }
    if (FInShortCut) {
        FInShortCut = false;
        Handled = false;
    }
    // Alt+F4 is the window's close key, never a menu accelerator.
    auto tryMenu = [&](vcl::TMainMenu* menu) {
        if (alt && Msg.CharCode != win::VK_F4 && FMainMenuBar->CheckHotKey(Msg.CharCode)) {
            Handled = true;
        } else {
            FInShortCut = menu->IsShortCut(Msg);
            Handled = FInShortCut;
        }
    };
    vcl::TMainMenu* main = FMainMenuBar ? FMainMenuBar->MainMenu() : nullptr;
    if (main) tryMenu(main);
    // Only when the main menu did not take the key, or the same item would be pressed twice.
    if (!FInShortCut && !Handled && FMainMenuBar)
        if (vcl::TMainMenu* child = FMainMenuBar->GetChildMainMenu()) tryMenu(child);
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

namespace skin {

void TbsSkinForm::SetMainMenuBar(TbsSkinMainMenuBar* value) {
    if (FMainMenuBar) FMainMenuBar->RemoveFreeNotification(this);
    FMainMenuBar = value;
    if (FMainMenuBar) FMainMenuBar->FreeNotification(this);
}

void TbsSkinForm::SetSystemMenu(vcl::TPopupMenu* value) {
    if (FSystemMenu) FSystemMenu->RemoveFreeNotification(this);
    FSystemMenu = value;
    if (FSystemMenu) FSystemMenu->FreeNotification(this);
}

void TbsSkinForm::LinkMenu(const std::string& AIDName, vcl::TMenu* AMenu, bool APopupUp) {
    const int i = GetIndex(AIDName);
    if (i < 0 || !AMenu) return;
    TbsActiveSkinObject* object = ObjectList[std::size_t(i)].get();
    if (auto* button = dynamic_cast<TbsSkinButtonObject*>(object)) {
        button->MenuItem = AMenu->Items();
        button->FPopupUp = APopupUp;
    } else if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(object);
               animate && animate->ButtonStyle) {
        animate->MenuItem = AMenu->Items();
        animate->FPopupUp = APopupUp;
    }
}

bool TbsSkinForm::TrackObjectMenu(vcl::TMenuItem* AItem, const gfx::TRect& R, bool APopupUp,
                                  bool AButtonObject) {
    vcl::TMenu* parentMenu = AItem->GetParentMenu();
    if (auto* popup = dynamic_cast<TbsSkinPopupMenu*>(parentMenu)) {
        popup->PopupFromRect(R, APopupUp);
        return SkinMenu->Visible();
    }
    TbsSkinData* sd = FMSD ? FMSD : FSD;
    if (auto* mainMenu = dynamic_cast<TbsSkinMainMenu*>(parentMenu); mainMenu && AButtonObject)
        sd = mainMenu->SkinData();
    SkinMenuOpen();
    SkinMenu->Popup(nullptr, sd, 0, R, AItem, APopupUp);
    if (SkinMenu->Visible()) return true;
    SkinMenuClose();
    return false;
}

}  // namespace skin
