// Pieces the menu levels and the images menu share: pictures and records looked up in a skin,
// the popup window picture's geometry at a window size, and the blocking fade of a layered
// window on the injectable clock. Main thread only.
#pragma once

#include <optional>

#include "platform/gfx/graphics.h"
#include "platform/gfx/region.h"
#include "platform/win/win.h"
#include "skin/core/skin_data.h"

namespace skin {

// The skin's further picture at index, or nullptr outside the list.
gfx::TBitmap* MenuSkinPicture(TbsSkinData* sd, int index);
// The first control record of that name and class, or nullptr.
template <class TRecord>
TRecord* MenuControlRecord(TbsSkinData* sd, const char* name) {
    if (!sd || sd->Empty) return nullptr;
    const int i = sd->GetControlIndex(name);
    return i < 0 ? nullptr : dynamic_cast<TRecord*>(sd->CtrlList[std::size_t(i)].get());
}

// The popup window picture's corner points and items rectangle moved to a w x h window.
struct TPopupGeometry {
    TPoint LT, RT, LB, RB;
    TRect ItemsRect;
};
TPopupGeometry PopupGeometry(const TbsDataSkinPopupWindow& pw, const gfx::TBitmap& picture, int w,
                             int h);
// The region the popup mask cuts for a w x h window, or none.
std::optional<gfx::TRegion> PopupMaskRegion(const TbsDataSkinPopupWindow& pw,
                                            const TPopupGeometry& g, gfx::TBitmap& mask, int w,
                                            int h);

// Raises a layered window's alpha from 0 by `step` to `target`, more than 5 ms apart on the
// program's clock; returns when the target is shown.
void FadeInLayered(win::HWND h, int target, int step);

}  // namespace skin
