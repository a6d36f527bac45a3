#include "catalogue/categories.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace {

using catalogue::PresetCategories;

TEST(Categories, CodesArePermutationAndPresetsAddUpTo320) {
    std::vector<int> codes;
    int presets = 0;
    int position = 0;
    for (const auto& c : PresetCategories()) {
        EXPECT_EQ(c.CategoryIndex, position++);
        EXPECT_GT(c.PresetCount, 0);
        EXPECT_LE(c.PresetCount, 16);
        codes.push_back(c.CategoryCode);
        presets += c.PresetCount;
    }
    std::sort(codes.begin(), codes.end());
    for (int i = 0; i < catalogue::kCategoryCount; ++i) EXPECT_EQ(codes[i], i);
    EXPECT_EQ(presets, 320);
}

TEST(Categories, KeysFromListPositions) {
    struct TCase {
        int categoryIndex, presetIndex, presetKey;
    };
    const TCase cases[] = {
        {0, 0, 100},  {0, 14, 114}, {0, 15, -1}, {2, 12, 212}, {1, 9, 309},    {34, 12, 3512},
        {34, 13, -1}, {35, 0, -1},  {-1, 0, -1}, {4, -1, -1},  {31, 15, 3215},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(catalogue::PresetKeyOf(c.categoryIndex, c.presetIndex), c.presetKey)
            << c.categoryIndex << "/" << c.presetIndex;
    EXPECT_EQ(catalogue::ChoiceKeyOf(2, 3), 303);
    EXPECT_EQ(catalogue::CategoryAt(35), nullptr);
}

}  // namespace
