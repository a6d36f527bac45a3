// Screenshot sheets of the main window's two office combo set-ups: the category list (tool-button
// style, 35 items, a 140-pixel popup of 50-pixel rows) and the format list (456 pixels wide,
// 60-pixel rows with titles and lines), each closed, hot and open, with the lists fixture skin
// and in the default look.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "catalogue/categories.h"
#include "catalogue/presets.h"
#include "lists_test_support.h"
#include "sheet_test_support.h"
#include "skin/lists/office_combo_box.h"

namespace skin {
namespace {

const test::TSheetLook kFixtureLook{"lists fixture", -1};

class OfficeComboSheet : public test::TSheetTest {
public:
    void Apply(const test::TSheetLook& look) {
        if (&look == &kFixtureLook)
            Load(test::ListsFixtureSkin());
        else
            ApplyLook(look);
    }

    TbsSkinOfficeComboBox* CategoryList() {
        auto* combo = Make<TbsSkinOfficeComboBox>(20, 20, 180, 44, "Category");
        combo->SetToolButtonStyle(true);
        combo->SetDropDownCount(4);
        combo->SetListBoxWidth(140);
        combo->SetListBoxItemHeight(50);
        combo->SetListBoxSkinDataName("resizetoolpanel");
        combo->SetImages(Images);
        for (const catalogue::TPresetCategory& c : catalogue::PresetCategories()) {
            TbsSkinOfficeItem* item = combo->Items().Add();
            item->SetCaption(c.Caption);
            item->SetImageIndex(c.CategoryCode);
        }
        combo->SetItemIndex(0);
        return combo;
    }

    TbsSkinOfficeComboBox* FormatList() {
        auto* combo = Make<TbsSkinOfficeComboBox>(20, 20, 456, 44, "Format");
        combo->SetToolButtonStyle(true);
        combo->SetDropDownCount(4);
        combo->SetListBoxItemHeight(60);
        combo->SetListBoxShowItemTitles(true);
        combo->SetListBoxShowLines(true);
        combo->SetImages(Images);
        for (const catalogue::TOutputPreset& p : catalogue::PresetsOfCategory(0)) {
            TbsSkinOfficeItem* item = combo->Items().Add();
            item->SetTitle(p.Title);
            item->SetCaption(p.Caption);
            item->SetImageIndex(p.ImageIndex);
        }
        combo->SetItemIndex(0);
        return combo;
    }

    // The combo with its popup when open, and a margin, from the composed screen.
    gfx::TImage CaptureWithPopup(TbsSkinOfficeComboBox* combo) {
        gfx::TRect r{combo->ClientToScreen({0, 0}).X, combo->ClientToScreen({0, 0}).Y, 0, 0};
        r.Right = r.Left + combo->Width();
        r.Bottom = r.Top + combo->Height();
        if (combo->IsPopupVisible()) {
            gfx::TRect p;
            win::GetWindowRect(combo->ListBox()->Handle(), p);
            r = gfx::TRect{std::min(r.Left, p.Left), std::min(r.Top, p.Top),
                           std::max(r.Right, p.Right), std::max(r.Bottom, p.Bottom)};
        }
        r = gfx::TRect{r.Left - 8, r.Top - 8, r.Right + 8, r.Bottom + 8};
        const gfx::HBITMAP screen = Screen->Compose();
        gfx::TImage image;
        image.Width = r.Width();
        image.Height = r.Height();
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const bool inside = x >= 0 && y >= 0 && x < screen->Width() && y < screen->Height();
                image.Pixels.push_back(
                    inside ? screen->Pixels()[std::size_t(y) * screen->Width() + x] | 0xFF000000u
                           : 0xFF000000u);
            }
        return image;
    }

    void Sheet(TbsSkinOfficeComboBox* (OfficeComboSheet::*make)(), const std::string& name) {
        Form->SetBounds(0, 0, 700, 400);
        Images = test::SquareImages(Form, 40);
        test::TSheet sheet;
        const test::TSheetLook* looks[] = {&kFixtureLook, &test::kNoSkinLook};
        for (int column = 0; column < 2; ++column) {
            Apply(*looks[column]);
            TbsSkinOfficeComboBox* combo = (this->*make)();
            MoveAway();
            Settle();
            sheet.Add(0, column, CaptureWithPopup(combo));
            MoveTo(combo, combo->Width() / 2, combo->Height() / 2);
            Settle();
            sheet.Add(1, column, CaptureWithPopup(combo));
            Click(combo, combo->Width() / 2, combo->Height() / 2);
            Settle();
            EXPECT_TRUE(combo->IsPopupVisible());
            sheet.Add(2, column, CaptureWithPopup(combo));
            combo->CloseUp(false);
            combo->Free();
            Run();
        }
        test::ExpectSheetMatches(sheet.Compose(), name);
    }

    vcl::TCustomImageList* Images = nullptr;
};

TEST_F(OfficeComboSheet, CategoryList) {
    Sheet(&OfficeComboSheet::CategoryList, "office_combo_category");
}

TEST_F(OfficeComboSheet, FormatList) {
    Sheet(&OfficeComboSheet::FormatList, "office_combo_format");
}

}  // namespace
}  // namespace skin
