#include "skin/lists/combo_face.h"

#include "skin/core/skin_images.h"

namespace skin {

void TbsComboBoxRecordCopy::CopyComboRecord(const TbsDataSkinComboBox& r) {
    SItemRect = r.SItemRect;
    ActiveItemRect = r.ActiveItemRect;
    FocusItemRect = r.FocusItemRect.IsEmpty() ? r.SItemRect : r.FocusItemRect;
    ItemLeftOffset = r.ItemLeftOffset;
    ItemRightOffset = r.ItemRightOffset;
    ItemTextRect = r.ItemTextRect;
    FontName = r.FontName;
    FontStyle = r.FontStyle;
    FontHeight = r.FontHeight;
    FontColor = r.FontColor;
    FocusFontColor = r.FocusFontColor;
    ActiveFontColor = r.ActiveFontColor;
    ButtonRect = r.ButtonRect;
    ActiveButtonRect = r.ActiveButtonRect;
    DownButtonRect = r.DownButtonRect;
    UnEnabledButtonRect = r.UnEnabledButtonRect;
    ItemStretchEffect = r.ItemStretchEffect;
    FocusItemStretchEffect = r.FocusItemStretchEffect;
    ActiveSkinRect = r.ActiveSkinRect;
    ShowFocus = r.ShowFocus;
}

const TbsDataSkinButtonControl* FirstButtonRecord(TbsSkinData* sd,
                                                  std::initializer_list<std::string_view> names) {
    if (!sd || sd->Empty) return nullptr;
    for (std::string_view name : names) {
        const int i = sd->GetControlIndex(name);
        if (i < 0) continue;
        if (const auto* r =
                dynamic_cast<const TbsDataSkinButtonControl*>(sd->CtrlList[std::size_t(i)].get()))
            return r;
    }
    return nullptr;
}

void NineSliceOfRecord(gfx::TBitmap& dest, gfx::TBitmap& picture,
                       const TbsDataSkinButtonControl& rec, const TRect& state, int width,
                       int height) {
    const int dx = width - rec.SkinRect.Width();
    const int dy = height - rec.SkinRect.Height();
    BuildNineSliceImage(
        rec.LTPoint, rec.RTPoint, rec.LBPoint, rec.RBPoint, rec.ClRect, rec.LTPoint,
        TPoint{rec.RTPoint.X + dx, rec.RTPoint.Y}, TPoint{rec.LBPoint.X, rec.LBPoint.Y + dy},
        TPoint{rec.RBPoint.X + dx, rec.RBPoint.Y + dy},
        TRect{rec.ClRect.Left, rec.ClRect.Top, rec.ClRect.Right + dx, rec.ClRect.Bottom + dy}, dest,
        picture, state, width, height, true, rec.LeftStretch, rec.TopStretch, rec.RightStretch,
        rec.BottomStretch, rec.StretchEffect, rec.StretchType);
}

void DrawTransparentPart(gfx::TCanvas& C, gfx::TBitmap& picture, const TRect& src, int x, int y,
                         gfx::TColor key) {
    if (src.IsEmpty()) return;
    gfx::TBitmap part;
    part.SetSize(src.Width(), src.Height());
    part.Canvas().CopyRect(TRect{0, 0, src.Width(), src.Height()}, picture.Canvas(), src);
    part.SetTransparentMode(gfx::tmFixed);
    part.SetTransparentColor(key);
    part.SetTransparent(true);
    C.Draw(x, y, part);
}

}  // namespace skin
