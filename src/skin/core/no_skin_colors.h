// The colours of the looks drawn without a skin, shared by every control, frame button and menu
// item that has such a look: the fill of a part under the pointer, the fill of a pressed (or
// focused) part, and the frame drawn around either. Plain values.
#pragma once

#include "platform/gfx/graphics.h"

namespace skin {

struct TbsNoSkinColors {
    gfx::TColor HotFill;
    gfx::TColor DownFill;
    gfx::TColor Frame;
};

inline constexpr TbsNoSkinColors kNoSkin{
    .HotFill = gfx::RGB(182, 189, 210),
    .DownFill = gfx::RGB(133, 147, 181),
    .Frame = gfx::RGB(0, 0, 128),
};

}  // namespace skin
