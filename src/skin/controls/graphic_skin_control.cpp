#include "skin/controls/graphic_skin_control.h"

namespace skin {

TbsGraphicSkinControl::TbsGraphicSkinControl(vcl::TComponent* AOwner) : TbsSkinLink(AOwner) {
    SetControlStyle(ControlStyle() + vcl::csOpaque);
}

}  // namespace skin
