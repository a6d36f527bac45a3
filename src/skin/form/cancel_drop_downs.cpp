// Closing the drop-downs of a visible MDI main form's skinned combo boxes and edits.
#include "platform/vcl/messages.h"
#include "skin/controls/drop_down_client.h"
#include "skin/form/skin_form.h"

namespace skin {

void TbsSkinForm::CancelChildDropDowns() {
    if (!FForm || FForm->FormStyle() != vcl::fsMDIForm || !FForm->Visible()) return;
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
        auto* control = dynamic_cast<vcl::TControl*>(FForm->Components(i));
        if (!control || !dynamic_cast<TbsDropDownClient*>(control)) continue;
        if (control->Visible() && control->Enabled()) control->Perform(vcl::CM_CANCELMODE, 0, 0);
    }
}

}  // namespace skin
