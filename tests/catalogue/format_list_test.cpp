#include "catalogue/format_list.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/apply_preset.h"
#include "catalogue/categories.h"
#include "catalogue/office_combo_fake.h"
#include "catalogue/presets.h"

namespace {

using catalogue::FillFormatList;

// The two lists wired as the main window wires them: a category change refills the format
// list, and a format change applies the chosen preset.
class FormatList : public ::testing::Test {
protected:
    FormatList() {
        FCategories.OnChange = [this] { FillFormatList(FCategories, FFormats); };
        FFormats.OnChange = [this] {
            FSeenByHandler.push_back(FFormats.ItemCount());
            std::string error;
            catalogue::ApplyPreset(FCategories.ItemIndex(), FFormats.ItemIndex(),
                                   {"/out", true, {}}, FSettings, error);
        };
        // The category list's fixed items come from the form.
        for (const catalogue::TPresetCategory& c : catalogue::PresetCategories())
            FCategories.Items.push_back({"", c.Caption, c.CategoryCode});
        // The form's own placeholder item, which the first fill removes.
        FFormats.Items.push_back({"placeholder", "", -1});
    }

    std::vector<std::string> FLog;
    TRecordingOfficeCombo FCategories{&FLog, "category"};
    TRecordingOfficeCombo FFormats{&FLog, "format"};
    std::vector<int> FSeenByHandler;
    catalogue::TWorkingSettings FSettings;
};

TEST_F(FormatList, StartUpShowsTheFifteenClassicFormatsWithTheFirstSelected) {
    FCategories.SetItemIndex(0);  // the category list starts at 0; start-up then fills
    FLog.clear();
    FSeenByHandler.clear();
    FillFormatList(FCategories, FFormats);

    ASSERT_EQ(FFormats.ItemCount(), 15);
    EXPECT_EQ(FFormats.ItemIndex(), 0);
    EXPECT_EQ(FFormats.Items[0].Title, "AVI - 音频视频交错格式(*.avi)");
    EXPECT_EQ(FFormats.Items[0].Caption, catalogue::FindPreset(100)->Caption);
    EXPECT_EQ(FFormats.Items[14].Title, "RM - REAL视频格式(*.rm)");
    // Cleared first, every item added, and only then the selection and its events.
    std::vector<std::string> expected = {"format clear"};
    expected.insert(expected.end(), 15, "format add");
    expected.insert(expected.end(), {"format item-click 0", "format click", "format change"});
    EXPECT_EQ(FLog, expected);
    EXPECT_EQ(FSeenByHandler, std::vector<int>{15});
    EXPECT_EQ(FSettings.All_Trant_Number, 100);
}

TEST_F(FormatList, ChoosingACategoryListsItsPresetsInOrder) {
    FCategories.SetItemIndex(2);  // "常用音频"

    ASSERT_EQ(FFormats.ItemCount(), 13);
    for (int i = 0; i < 13; ++i) {
        const catalogue::TOutputPreset* preset = catalogue::FindPreset(200 + i);
        EXPECT_EQ(FFormats.Items[i].Title, preset->Title);
        EXPECT_EQ(FFormats.Items[i].Caption, preset->Caption);
        EXPECT_EQ(FFormats.Items[i].ImageIndex, 1);
    }
    EXPECT_EQ(FFormats.ItemIndex(), 0);
    EXPECT_EQ(FSeenByHandler, std::vector<int>{13});
    EXPECT_EQ(FSettings.All_Trant_Number, 200);
    EXPECT_TRUE(FSettings.Video_DisableVideo);
}

TEST_F(FormatList, ChoosingTheSameCategoryAgainRefillsAndRerunsTheChain) {
    FCategories.SetItemIndex(2);
    FFormats.SetItemIndex(5);  // the user picks "OGG"
    EXPECT_EQ(FSettings.All_Trant_Number, 205);
    FLog.clear();

    FCategories.SetItemIndex(2);
    EXPECT_EQ(FFormats.ItemCount(), 13);
    EXPECT_EQ(FFormats.ItemIndex(), 0);
    EXPECT_EQ(FSettings.All_Trant_Number, 200);
    EXPECT_EQ(FLog.front(), "category item-click 2");
    EXPECT_EQ(FLog.back(), "format change");
    EXPECT_EQ(std::count(FLog.begin(), FLog.end(), "format clear"), 1);
    EXPECT_EQ(FSeenByHandler, (std::vector<int>{13, 13, 13}));

    // Item 0 already selected: the format handlers run all the same.
    FCategories.SetItemIndex(2);
    EXPECT_EQ(FSeenByHandler, (std::vector<int>{13, 13, 13, 13}));
}

TEST_F(FormatList, ACategoryPositionWithoutARowGivesAnEmptyList) {
    for (int position : {35, -1, 1000}) {
        FLog.clear();
        FCategories.SetItemIndex(position);
        EXPECT_EQ(FFormats.ItemCount(), 0) << position;
        EXPECT_EQ(FFormats.ItemIndex(), 0);
        // Index 0 is still written, with no item to click.
        EXPECT_EQ(FLog,
                  (std::vector<std::string>{"category click", "category change", "format clear",
                                            "format click", "format change"}));
        EXPECT_EQ(FSettings.All_Trant_Number, -1);
    }
}

}  // namespace
