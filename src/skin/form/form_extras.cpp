// The form's client inactive panel and the quick buttons' share of the caption.
#include "skin/form/skin_form.h"

namespace skin {

void TbsSkinForm::ShowClientInActiveEffect() {
    if (FInActivePanel) HideClientInActiveEffect();
    // A form going away deactivates on the way out: no new window for it then.
    if (ComponentState().Contains(vcl::csDestroying) ||
        FForm->ComponentState().Contains(vcl::csDestroying))
        return;
    FInActivePanel = new TbsClientInActivePanel(this);
    FClientInActiveDraw = true;
    FInActivePanel->ShowPanel(FForm, FClientInActiveEffectType);
    FClientInActiveDraw = false;
}

void TbsSkinForm::HideClientInActiveEffect() {
    if (!FInActivePanel) return;
    FInActivePanel->HidePanel();
    vcl::FreeAndNil(FInActivePanel);
}

void TbsSkinForm::SetQuickImageList(vcl::TCustomImageList* value) {
    if (FQuickImageList) FQuickImageList->RemoveFreeNotification(this);
    FQuickImageList = value;
    if (value) value->FreeNotification(this);
}

int TbsSkinForm::QuickButtonsWidth() const {
    return HasQuickButtons() ? FQuickButtons->Count() * (FQuickImageList->Width() + 8) : 0;
}

}  // namespace skin
