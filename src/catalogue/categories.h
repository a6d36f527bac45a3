// The 35 output categories: where each stands in the category list and the code that names it
// in every preset key and picture index. Constant data; any thread.
#pragma once

#include <span>

namespace catalogue {

struct TPresetCategory {
    int CategoryIndex;  // position in the category list
    const char* Caption;
    int CategoryCode;  // identifies the category in keys and pictures
    int PresetCount;
};

inline constexpr int kCategoryCount = 35;

// In list position order.
std::span<const TPresetCategory> PresetCategories();

// The category at a list position, or nullptr outside 0..34.
const TPresetCategory* CategoryAt(int categoryIndex);

// (CategoryCode + 1) * 100 + presetIndex for the category at a list position; -1 when the
// position or the preset index has no row.
int PresetKeyOf(int categoryIndex, int presetIndex);

// (CategoryIndex + 1) * 100 + presetIndex: what a task row stores to restore both lists.
int ChoiceKeyOf(int categoryIndex, int presetIndex);

}  // namespace catalogue
