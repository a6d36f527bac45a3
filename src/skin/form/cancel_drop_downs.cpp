// Closing the drop-downs of a visible MDI main form's skinned combo boxes and edits.
#include <vector>

#include "platform/vcl/messages.h"
#include "skin/controls/drop_down_client.h"
#include "skin/controls/skin_control.h"
#include "skin/form/skin_form.h"

namespace skin {

void TbsSkinForm::CancelChildDropDowns() {
    if (!FForm || FForm->FormStyle() != vcl::fsMDIForm || !FForm->Visible() ||
        !ComponentState().Empty())
        return;
    // Collected first: a control closing its drop-down may change the form's components.
    std::vector<vcl::TControl*> targets;
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
        auto* control = dynamic_cast<vcl::TControl*>(FForm->Components(i));
        if (!control || control->ComponentState().Contains(vcl::csDestroying)) continue;
        if (!dynamic_cast<TbsDropDownClient*>(control) && !IsDropDownControl(control)) continue;
        if (control->Visible() && control->Enabled()) targets.push_back(control);
    }
    for (vcl::TControl* control : targets) control->Perform(vcl::CM_CANCELMODE, 0, 0);
}

}  // namespace skin
