#include "platform/vcl/img_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/vcl/menus.h"
#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

// 4 x 4 squares side by side in the given colours, each with a fuchsia corner.
gfx::TBitmap* Strip(gfx::TBitmap& b, std::initializer_list<TColor> colours) {
    b.SetSize(int(colours.size()) * 4, 4);
    int x = 0;
    for (TColor c : colours) {
        b.Canvas().Brush().SetColor(c);
        b.Canvas().FillRect({x, 0, x + 4, 4});
        b.Canvas().SetPixel(x, 0, gfx::clFuchsia);
        x += 4;
    }
    return &b;
}

class TCountingList : public TImageList {
public:
    using TImageList::TImageList;
    std::vector<std::string> Draws;

protected:
    void DoDraw(int index, gfx::TCanvas& canvas, int x, int y, unsigned style,
                bool enabled) override {
        Draws.push_back(std::to_string(index) + (enabled ? " enabled" : " disabled"));
        TImageList::DoDraw(index, canvas, x, y, style, enabled);
    }
};

TColor DrawnAt(TCustomImageList& list, int index, bool enabled) {
    gfx::TBitmap target;
    target.SetSize(4, 4);
    target.Canvas().Brush().SetColor(gfx::clWhite);
    target.Canvas().FillRect({0, 0, 4, 4});
    list.Draw(target.Canvas(), 0, 0, index, enabled);
    return target.Canvas().Pixel(2, 2);
}

TEST(ImageListComponentTest, ImagesAreAddedInsertedDeletedAndDrawnThroughDoDraw) {
    TCountingList list(nullptr, 4, 4);
    gfx::TBitmap strip, one;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(list.AddMasked(*Strip(strip, {gfx::clRed, gfx::clBlue}), gfx::clFuchsia), 0);
    list.InsertMasked(1, *Strip(one, {gfx::clLime}), gfx::clFuchsia);  // red, lime, blue
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(DrawnAt(list, 1, true), gfx::clLime);
    EXPECT_EQ(DrawnAt(list, 2, true), gfx::clBlue);
    const TColor grey = DrawnAt(list, 2, false);
    EXPECT_EQ(gfx::GetRValue(grey), gfx::GetBValue(grey));
    EXPECT_EQ(list.Draws, (std::vector<std::string>{"1 enabled", "2 enabled", "2 disabled"}));
    DrawnAt(list, 7, true);  // out of range: nothing
    EXPECT_EQ(list.Draws.size(), 3u);

    list.Delete(0);
    EXPECT_EQ(DrawnAt(list, 0, true), gfx::clLime);
    EXPECT_THROW(list.Delete(5), rtl::EListError);
    int cx = 0, cy = 0;
    gfx::ImageList_GetIconSize(list.Handle(), &cx, &cy);  // a handle for the classic calls
    EXPECT_EQ(cx, 4);
    gfx::TIcon icon;
    list.GetIcon(1, icon);
    EXPECT_EQ(icon.Width(), 4);
    EXPECT_GE(changes, 3);
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageListComponentTest, AMenuForgetsItsImagesWhenTheListGoes) {
    TComponent owner(nullptr);
    auto* menu = new TPopupMenu(&owner);
    auto* list = new TImageList(nullptr);
    menu->SetImages(list);
    list->Free();
    EXPECT_EQ(menu->Images(), nullptr);
}

using test::TVclTest;

TEST_F(TVclTest, TheSystemIconsLookAsReviewed) {
    gfx::TBitmap sheet;
    sheet.SetSize(5 * 40, 56);
    sheet.Canvas().Brush().SetColor(gfx::clWhite);
    sheet.Canvas().FillRect({0, 0, 200, 56});
    for (int i = 0; i < 5; ++i) {
        const gfx::HICON icon = gfx::LoadIcon(0, gfx::IDI_APPLICATION + i);
        gfx::DrawIconEx(sheet.DC(), i * 40 + 4, 2, icon, 0, 0, 0, nullptr, gfx::DI_NORMAL);
        gfx::DrawIconEx(sheet.DC(), i * 40 + 12, 38, icon, gfx::kSmallIconSize, gfx::kSmallIconSize,
                        0, nullptr, gfx::DI_NORMAL);
    }
    test::ExpectLooksLike(*sheet.Handle(), "system_icons.png");
}

}  // namespace
}  // namespace vcl
