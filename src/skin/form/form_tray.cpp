// The form's side of the notification-area icon: hiding into the area and coming back.
#include "skin/form/skin_form.h"
#include "skin/form/tray_icon.h"

namespace skin {

void TbsSkinForm::SetTrayIcon(TbsTrayIcon* value) {
    if (FTrayIcon) FTrayIcon->RemoveFreeNotification(this);
    FTrayIcon = value;
    const auto state = ComponentState();
    const bool designing = state.Contains(vcl::csDesigning);
    if (designing && !state.Contains(vcl::csLoading)) {
        if (value)
            FBorderIcons += biMinimizeToTray;
        else
            FBorderIcons -= biMinimizeToTray;
    }
    if (!value) return;
    value->FreeNotification(this);
    if (!FAlwaysShowInTray) value->SetIconVisible(false);
    value->SetMinimizeToTray(false);
    if (designing || value->PopupMenu()) return;
    if (FSysTrayMenu) value->SetPopupMenu(FSysTrayMenu);
    if (!value->OnDblClick) value->OnDblClick = [this](vcl::TObject*) { RestoreFromTray(); };
}

void TbsSkinForm::MinimizeToTray() {
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(true);
    if (vcl::Application) vcl::Application->Minimize();
    if (FOnMinimizeToTray) FOnMinimizeToTray(this);
}

void TbsSkinForm::RestoreFromTray() {
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(false);
    FTrayIcon->ShowMainForm();
    if (vcl::Application) vcl::Application->Restore();
    // The handler may have freed the icon.
    if (FTrayIcon && !FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
    if (FOnRestoreFromTray) FOnRestoreFromTray(this);
}

}  // namespace skin
