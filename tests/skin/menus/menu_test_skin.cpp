#include "menu_test_skin.h"

#include <memory>

#include "skin/core/skin_data_test_support.h"

namespace skin::test {

void FillMenuSkin(TbsSkinData& sd, const TMenuSkinOptions& o) {
    sd.FActivePictures.clear();
    sd.ObjectList.clear();
    sd.CtrlList.clear();

    auto items = SolidPicture(64, 44, kItemColor);
    FillArea(*items, {0, 20, 40, 40}, kActiveItemColor);
    FillArea(*items, {0, 40, 40, 44}, kFrameColor);
    // Arrow (40, 0) and check (48, 0): a 4 x 4 glyph in the middle of the key colour.
    for (int x : {40, 48}) {
        FillArea(*items, {x, 0, x + 8, 8}, kKeyColor);
        FillArea(*items, {x + 2, 2, x + 6, 6}, kGlyphColor);
    }
    sd.FActivePictures.push_back(std::move(items));
    auto mi = std::make_unique<TbsDataSkinMenuItem>("menuitem");
    mi->ActivePictureIndex = 0;
    mi->SkinRect = {0, 0, 40, 20};
    mi->ActiveSkinRect = {0, 20, 40, 40};
    mi->DividerRect = {0, 40, 40, 44};
    mi->ItemLO = mi->ItemRO = 2;
    mi->TextRct = {4, 0, 36, 20};
    mi->FontColor = 0x00000000;
    mi->ActiveFontColor = 0x00FFFFFF;
    mi->ArrowImageRect = mi->ActiveArrowImageRect = {40, 0, 48, 8};
    mi->CheckImageRect = mi->ActiveCheckImageRect = {48, 0, 56, 8};
    sd.ObjectList.push_back(std::move(mi));

    sd.FActivePictures.push_back(SolidPicture(20, 20, kFrameColor));
    FillArea(*sd.FActivePictures.back(), {2, 2, 18, 18}, kItemColor);
    auto& pw = sd.PopupWindow;
    pw.WindowPictureIndex = 1;
    pw.LTPoint = {2, 2};
    pw.RTPoint = {18, 2};
    pw.LBPoint = {2, 18};
    pw.RBPoint = {18, 18};
    pw.ItemsRect = {2, 2, 18, 18};
    pw.LeftStretch = pw.TopStretch = pw.RightStretch = pw.BottomStretch = true;
    pw.MaskPictureIndex = -1;

    sd.FActivePictures.push_back(SolidPicture(40, 16, kHeaderColor));
    auto header = std::make_unique<TbsDataSkinLabelControl>(o.MenuHeader ? "menuheader" : "label");
    header->PictureIndex = 2;
    header->SkinRect = {0, 0, 40, 16};
    header->LTPoint = {2, 0};
    header->RTPoint = {38, 0};
    header->ClRect = {2, 0, 38, 16};
    header->FontColor = kHeaderFontColor;
    header->FontHeight = 12;
    sd.CtrlList.push_back(std::move(header));

    auto buttons = SolidPicture(40, 20, kButtonHotColor);
    FillArea(*buttons, {20, 0, 40, 20}, kButtonDownColor);
    sd.FActivePictures.push_back(std::move(buttons));
    auto button = std::make_unique<TbsDataSkinButtonControl>("menuitembutton");
    button->PictureIndex = 3;
    button->SkinRect = button->ActiveSkinRect = {0, 0, 20, 20};
    button->DownSkinRect = {20, 0, 40, 20};
    button->LTPoint = {2, 2};
    button->RTPoint = {18, 2};
    button->LBPoint = {2, 18};
    button->RBPoint = {18, 18};
    button->ClRect = {2, 2, 18, 18};
    button->ActiveFontColor = kButtonFontColor;
    button->DownFontColor = kButtonFontColor;
    sd.CtrlList.push_back(std::move(button));

    if (o.Mask) {
        // White cuts: the four corner pixels.
        auto mask = SolidPicture(20, 20, gfx::clBlack);
        for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}})
            mask->Canvas().SetPixel(x, y, gfx::clWhite);
        sd.FActivePictures.push_back(std::move(mask));
        pw.MaskPictureIndex = 4;
    }
    sd.Empty = false;
}

}  // namespace skin::test
