#include "catalogue/presets.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "catalogue/categories.h"
#include "catalogue/preset_defaults.h"

namespace {

using namespace catalogue;

TEST(Presets, EachCategoryHoldsItsContiguousKeyBlock) {
    int total = 0;
    for (const TPresetCategory& category : PresetCategories()) {
        const auto presets = PresetsOfCategory(category.CategoryIndex);
        ASSERT_EQ(static_cast<int>(presets.size()), category.PresetCount) << category.Caption;
        for (int i = 0; i < category.PresetCount; ++i) {
            EXPECT_EQ(presets[i].PresetKey, (category.CategoryCode + 1) * 100 + i);
            EXPECT_EQ(presets[i].PresetKey, PresetKeyOf(category.CategoryIndex, i));
            EXPECT_EQ(presets[i].ImageIndex, category.CategoryCode);
            EXPECT_EQ(FindPreset(presets[i].PresetKey), &presets[i]);
        }
        total += category.PresetCount;
    }
    EXPECT_EQ(total, kPresetCount);
    EXPECT_EQ(static_cast<int>(OutputPresets().size()), kPresetCount);
}

TEST(Presets, PositionsAndKeysWithoutARowFindNothing) {
    EXPECT_TRUE(PresetsOfCategory(-1).empty());
    EXPECT_TRUE(PresetsOfCategory(kCategoryCount).empty());
    for (int key : {0, 99, 115, 199, 213, 3216, 3513, 9999, -1})
        EXPECT_EQ(FindPreset(key), nullptr) << key;
}

TEST(Presets, TitlesEndWithAnExtensionInUse) {
    const std::set<std::string> inUse = {
        "mp4", "avi", "mpg", "wmv", "mov", "mkv", "flv", "asf", "3gp", "vob",  "swf", "mp3", "wma",
        "wav", "m4a", "amr", "3g2", "rm",  "aac", "ogg", "ra",  "ac3", "aiff", "mp2", "flac"};
    std::set<std::string> seen;
    for (const TOutputPreset& preset : OutputPresets()) {
        const std::string title = preset.Title;
        const std::size_t open = title.rfind("(*.");
        ASSERT_NE(open, std::string::npos) << title;
        ASSERT_EQ(title.back(), ')') << title;
        const std::string ext = title.substr(open + 3, title.size() - open - 4);
        EXPECT_TRUE(inUse.count(ext)) << title;
        seen.insert(ext);
        EXPECT_NE(std::string(preset.Caption), "") << preset.PresetKey;
    }
    EXPECT_EQ(seen, inUse);
}

TEST(Presets, TextsAreKeptExactly) {
    struct TCase {
        int key;
        const char* title;
        const char* caption;  // nullptr: not checked
    };
    const TCase cases[] = {
        {100, "AVI - 音频视频交错格式(*.avi)",
         "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式"},
        {105, "MKV - Matroska视频格式(*.mkv)",
         "Matroska是一种新的多媒体封装格式 ，有超清晰的画面，和完美的音质"},
        {200, "MP3 - MPEG Layer-3音频格式(*.mp3)", nullptr},
        {700, "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)", nullptr},
        {708, "手机AMR音频格式(*.amr)", "为手机优化的AMR音频格式预置方案"},
        {1302, "iPad MPEG-4视频格式 XviD编码 (*.mp4)", nullptr},
        {2302, "JVC DV摄像机MOD高清视频格式，转换为AVI视频格式(*.avi)", nullptr},
        {2506, "VOB  - DVD视频格式(*.vob)", nullptr},
        {3512, "高清晰MPG格式视频(*.mpg)", nullptr},
    };
    for (const TCase& c : cases) {
        const TOutputPreset* preset = FindPreset(c.key);
        ASSERT_NE(preset, nullptr) << c.key;
        EXPECT_STREQ(preset->Title, c.title);
        if (c.caption) {
            EXPECT_STREQ(preset->Caption, c.caption);
        }
    }
}

TEST(Presets, AudioOnlyPresetsInVideoCategoriesSaySoInTheirCaption) {
    for (int key : {1202, 1203, 1505, 1506}) {
        const std::string caption = FindPreset(key)->Caption;
        EXPECT_TRUE(caption.ends_with("(音频格式)")) << key;
    }
}

TEST(Presets, TitleExtension) {
    struct TCase {
        const char* title;
        const char* ext;
    };
    const TCase cases[] = {
        {"MP4 - MPEG-4视频格式(*.mp4)", ".mp4"},
        {"高清DVD视频格式(*.vob)", ".vob"},
        {"RA - RealAudio音频格式(*.ra)", ".ra"},
        {"RM - REAL视频格式(*.rm)", ".rm"},
        {"AIFF - 音频交换文件格式(*.aiff)", ".aiff"},
        {"FLAC-音频格式(*.flac)", ".flac"},
        {"x(*.mpeg)", ".mpeg"},
        {"x(*.3g2)", ".3g2"},
        {"", ""},
    };
    for (const TCase& c : cases) EXPECT_EQ(TitleExtension(c.title), c.ext) << c.title;
}

TEST(Presets, TitleExtensionDiffersFromOutputExtensionForFivePresets) {
    std::set<int> differing;
    for (const TOutputPreset& preset : OutputPresets()) {
        const TPresetDefaults* defaults = FindPresetDefaults(preset.PresetKey);
        ASSERT_NE(defaults, nullptr) << preset.PresetKey;
        if (TitleExtension(preset.Title) != defaults->OutputExt) differing.insert(preset.PresetKey);
    }
    EXPECT_EQ(differing, (std::set<int>{901, 906, 909, 3200, 3400}));
    EXPECT_EQ(TitleExtension(FindPreset(901)->Title), ".mpg");
    EXPECT_STREQ(FindPresetDefaults(901)->OutputExt, ".mpeg");
    EXPECT_EQ(TitleExtension(FindPreset(906)->Title), ".wmv");
    EXPECT_STREQ(FindPresetDefaults(906)->OutputExt, ".avi");
}

}  // namespace
