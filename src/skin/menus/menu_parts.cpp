#include "skin/menus/menu_parts.h"

#include <algorithm>

#include "platform/sys/clock.h"
#include "skin/core/fades.h"
#include "skin/core/skin_regions.h"

namespace skin {

gfx::TBitmap* MenuSkinPicture(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= int(sd->FActivePictures.size())) return nullptr;
    return sd->FActivePictures[std::size_t(index)].get();
}

TPopupGeometry PopupGeometry(const TbsDataSkinPopupWindow& pw, const gfx::TBitmap& picture, int w,
                             int h) {
    const int px = picture.Width(), py = picture.Height();
    return {pw.LTPoint,
            {w + pw.RTPoint.X - px, pw.RTPoint.Y},
            {pw.LBPoint.X, h + pw.LBPoint.Y - py},
            {w + pw.RBPoint.X - px, h + pw.RBPoint.Y - py},
            {pw.ItemsRect.Left, pw.ItemsRect.Top, w + pw.ItemsRect.Right - px,
             h + pw.ItemsRect.Bottom - py}};
}

std::optional<gfx::TRegion> PopupMaskRegion(const TbsDataSkinPopupWindow& pw,
                                            const TPopupGeometry& g, gfx::TBitmap& mask, int w,
                                            int h) {
    std::optional<gfx::TRegion> rgn;
    BuildSkinWindowRegion(rgn, pw.LTPoint, pw.RTPoint, pw.LBPoint, pw.RBPoint, pw.ItemsRect, g.LT,
                          g.RT, g.LB, g.RB, g.ItemsRect, mask, w, h);
    return rgn;
}

void FadeInLayered(win::HWND h, int target, int step) {
    FadeIn(target, step, [h](int alpha) {
        win::SetLayeredWindowAttributes(h, 0, std::uint8_t(alpha), win::LWA_ALPHA);
        return true;
    });
}

}  // namespace skin
