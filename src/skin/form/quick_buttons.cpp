#include "skin/form/quick_buttons.h"

#include "skin/form/skin_form.h"

namespace skin {

void TbsQuickButtonItem::SetImageIndex(int value) {
    FImageIndex = value;
    Changed(false);
}

void TbsQuickButtonItem::SetEnabled(bool value) {
    FEnabled = value;
    Changed(false);
}

void TbsQuickButtonItem::SetVisible(bool value) {
    FVisible = value;
    Changed(false);
}

void TbsQuickButtonItem::Assign(const rtl::TCollectionItem& source) {
    const auto* other = dynamic_cast<const TbsQuickButtonItem*>(&source);
    if (!other) {
        rtl::TCollectionItem::Assign(source);
        return;
    }
    FImageIndex = other->FImageIndex;
    Hint = other->Hint;
    FEnabled = other->FEnabled;
    FVisible = other->FVisible;
}

void TbsQuickButtonItems::Update(rtl::TCollectionItem*) {
    if (!BSF || !BSF->FForm) return;
    const auto state = BSF->ComponentState();
    if (state.Contains(vcl::csLoading) || state.Contains(vcl::csDesigning) ||
        state.Contains(vcl::csDestroying))
        return;
    if (BSF->FForm->HandleAllocated())
        win::SendMessage(BSF->FForm->Handle(), win::WM_NCPAINT, 0, 0);
}

}  // namespace skin
