// The windowless twins of the windowed bases (skin_control.h): skinned controls that paint on
// their parent's canvas. The same model (skin data and record name, a look-up before every
// paint, an off-screen bitmap per paint, the nine-slice geometry, DefaultWidth/DefaultHeight/
// DefaultFont), without a window: no region, no forced-background mode, no WM_CHECKPARENTBG.
//
// Controls refer to the skin data and its pictures; they own neither. Main thread only.
#pragma once

#include "platform/vcl/controls.h"
#include "skin/controls/skin_control.h"

namespace skin {

class TbsGraphicSkinControl : public TbsSkinLink<vcl::TGraphicControl> {
public:
    // Opaque: the parent paints nothing under it.
    explicit TbsGraphicSkinControl(vcl::TComponent* AOwner);
};

class TbsGraphicSkinCustomControl : public TbsSkinSizing<TbsGraphicSkinControl> {
public:
    explicit TbsGraphicSkinCustomControl(vcl::TComponent* AOwner) : TbsSkinSizing(AOwner) {}
};

}  // namespace skin
