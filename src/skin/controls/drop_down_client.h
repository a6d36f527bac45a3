// What the form skin component needs of a control that may hold a drop-down open (the skinned
// combo box, the skinned edit): only that it is one. On a visible MDI main form the component
// sends such controls CM_CANCELMODE without a sender, which closes an open drop-down.
#pragma once

namespace skin {

class TbsDropDownClient {
public:
    virtual ~TbsDropDownClient() = default;
};

}  // namespace skin
