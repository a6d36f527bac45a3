// The small records the combo boxes, the list box and the skinned edit share: a button area
// with its hot and pressed state, and the item area of a combo's face.
#pragma once

#include "platform/gfx/graphics.h"
#include "skin/controls/hover_press.h"

namespace skin {

// A button area of a skinned control: where it is and its hot and pressed state.
struct TbsCBButtonX : TbsHoverPress {
    gfx::TRect R;
};

// The item area of a combo box and its owner-draw state (focused or not).
struct TbsCBItem {
    gfx::TRect R;
    bool State = false;
};

}  // namespace skin
