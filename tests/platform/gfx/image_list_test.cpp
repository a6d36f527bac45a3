#include "platform/gfx/image_list.h"

#include <gtest/gtest.h>

#include "platform/gfx/graphics.h"

namespace gfx {
namespace {

// A strip of `count` 4 x 4 squares in the given colours, with a fuchsia corner pixel each.
TImage Strip(std::initializer_list<TColor> colours) {
    TBitmap b;
    b.SetSize(int(colours.size()) * 4, 4);
    int x = 0;
    for (TColor c : colours) {
        b.Canvas().Brush().SetColor(c);
        b.Canvas().FillRect({x, 0, x + 4, 4});
        b.Canvas().SetPixel(x, 0, clFuchsia);
        x += 4;
    }
    return b.ToImage();
}

TColor At(HIMAGELIST list, int index, int x, int y, unsigned style = ILD_NORMAL) {
    TBitmap target;
    target.SetSize(4, 4);
    target.Canvas().Brush().SetColor(clWhite);
    target.Canvas().FillRect({0, 0, 4, 4});
    ImageList_DrawEx(list, index, target.DC(), 0, 0, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
    return target.Canvas().Pixel(x, y);
}

TEST(ImageListTest, AStripBecomesOneImagePerWidthWithItsMaskColourTransparent) {
    const HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32 | ILC_MASK, 4, 4);
    EXPECT_EQ(ImageList_AddMasked(list, Strip({clRed, clBlue, clLime}), clFuchsia), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(At(list, 1, 2, 2), clBlue);
    EXPECT_EQ(At(list, 1, 0, 0), clWhite);  // the mask colour lets the background through

    ImageList_SetBkColor(list, clYellow);
    EXPECT_EQ(At(list, 1, 0, 0), clYellow);
    EXPECT_EQ(At(list, 1, 0, 0, ILD_TRANSPARENT), clWhite);

    EXPECT_TRUE(ImageList_Move(list, 2, 0));  // lime first
    EXPECT_EQ(At(list, 0, 2, 2), clLime);
    EXPECT_TRUE(ImageList_Remove(list, 0));
    EXPECT_EQ(At(list, 0, 2, 2), clRed);
    EXPECT_FALSE(ImageList_Remove(list, 5));
    const HICON icon = ImageList_GetIcon(list, 1, 0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Images[0].Width, 4);
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);  // a stale handle is just invalid
    EXPECT_FALSE(ImageList_Draw(list, 0, nullptr, 0, 0, ILD_NORMAL));
}

TEST(ImageListTest, DisabledImagesAreGreyedAndSelectedOnesBlended) {
    const HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 1, 1);
    ImageList_Add(list, Strip({clRed}), nullptr);
    const TColor grey = At(list, 0, 2, 2, ILD_DISABLED);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_GT(GetRValue(grey), 128);  // lighter than the colour's grey
    const TColor blended = At(list, 0, 2, 2, ILD_SELECTED);
    EXPECT_NE(blended, clRed);
    EXPECT_GT(GetBValue(blended), 0);  // the highlight mixed in
    ImageList_Destroy(list);
}

}  // namespace
}  // namespace gfx
