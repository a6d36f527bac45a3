// The mark of a control that may hold a drop-down open (the skinned combo box, the skinned
// edit); the lists module's drop-down test (IsDropDownControl) looks for it. On a visible MDI
// main form the form skin component sends such controls CM_CANCELMODE without a sender.
#pragma once

namespace skin {

class TbsDropDownClient {
public:
    virtual ~TbsDropDownClient() = default;
};

}  // namespace skin
