#include "catalogue/categories.h"

#include <array>

namespace catalogue {

namespace {

constexpr std::array<TPresetCategory, kCategoryCount> kCategories{{
    {0, "经典视频", 0, 15},   {1, "HD视频", 2, 10},       {2, "常用音频", 1, 13},
    {3, "iPhone视频", 4, 15}, {4, "Android视频", 19, 12}, {5, "iPad视频", 12, 11},
    {6, "MOV视频", 25, 4},    {7, "VOB视频", 20, 6},      {8, "MTS视频", 21, 13},
    {9, "H264视频", 26, 4},   {10, "MP4视频", 10, 5},     {11, "Flash视频", 11, 4},
    {12, "MPG视频", 13, 11},  {13, "AVI视频", 15, 7},     {14, "MKV视频", 16, 7},
    {15, "WMV视频", 17, 7},   {16, "ASF视频", 18, 7},     {17, "MOD视频", 22, 13},
    {18, "RMVB视频", 23, 15}, {19, "iPod视频", 3, 14},    {20, "3GP视频", 6, 14},
    {21, "SWF视频", 14, 7},   {22, "VCD视频", 24, 7},     {23, "PMP视频", 9, 8},
    {24, "APPLE视频", 7, 5},  {25, "AVCHD视频", 27, 5},   {26, "PSP视频", 5, 5},
    {27, "WMA音频", 28, 4},   {28, "XboX视频", 8, 10},    {29, "MP3音频", 29, 4},
    {30, "WAV音频", 30, 4},   {31, "智能手机", 31, 16},   {32, "平板电脑", 32, 13},
    {33, "智能电视", 33, 12}, {34, "网络机顶盒", 34, 13},
}};

}  // namespace

std::span<const TPresetCategory> PresetCategories() {
    return kCategories;
}

const TPresetCategory* CategoryAt(int categoryIndex) {
    if (categoryIndex < 0 || categoryIndex >= kCategoryCount) return nullptr;
    return &kCategories[categoryIndex];
}

int PresetKeyOf(int categoryIndex, int presetIndex) {
    const TPresetCategory* c = CategoryAt(categoryIndex);
    if (!c || presetIndex < 0 || presetIndex >= c->PresetCount) return -1;
    return (c->CategoryCode + 1) * 100 + presetIndex;
}

int ChoiceKeyOf(int categoryIndex, int presetIndex) {
    return (categoryIndex + 1) * 100 + presetIndex;
}

}  // namespace catalogue
