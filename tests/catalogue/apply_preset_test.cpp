#include "catalogue/apply_preset.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/categories.h"
#include "support/temp_dir.h"

namespace {

using namespace catalogue;

// The list positions that choose a preset key.
struct TChoice {
    int CategoryIndex = -1;
    int PresetIndex = -1;
};

TChoice ChoiceOf(int presetKey) {
    for (const TPresetCategory& c : PresetCategories())
        if (c.CategoryCode == presetKey / 100 - 1) return {c.CategoryIndex, presetKey % 100};
    return {};
}

TWorkingSettings Applied(int presetKey, const TOutputNameRules& rules,
                         const std::string& input = "/v/clip.rmvb") {
    TWorkingSettings settings;
    settings.Video_AddFileName = input;
    std::string error;
    const TChoice choice = ChoiceOf(presetKey);
    EXPECT_TRUE(ApplyPreset(choice.CategoryIndex, choice.PresetIndex, rules, settings, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(settings.All_Trant_Number, presetKey);
    return settings;
}

std::vector<std::string> WriteBackTexts(const TWorkingSettings& settings) {
    std::vector<std::string> texts;
    int subItem = 10;
    for (const TSubItemText& item : DefaultsWriteBack(settings)) {
        EXPECT_EQ(item.SubItem, subItem++);
        texts.push_back(item.Text);
    }
    return texts;
}

TEST(ApplyPreset, WriteBackTextsOfSubItems10To23) {
    struct TCase {
        int key;
        std::vector<std::string> texts;
    };
    const TCase cases[] = {
        {100,
         {"mpeg4", "libmp3lame", "2", "XVID", ".avi", "", "816000", "25", "128000", "44100", "",
          "False", "", ""}},
        {200,
         {"", "libmp3lame", "2", "", ".mp3", "", "-1", "", "128000", "48000", "", "True", "", ""}},
        {111, {"", "", "", "", "", "", "-1000", "", "-1000", "", "", "False", "dvd", "PAL"}},
        {114, {"rv20", "", "", "", "", "320*240", "-1", "", "-1", "", "", "False", "", ""}},
        {306,
         {"wmv2", "wmav2", "2", "", ".asf", "1280*720", "1600000", "25", "128000", "48000", "",
          "False", "", ""}},
        {206, {"", "", "2", "", ".rm", "", "-1", "", "128000", "48000", "", "True", "", ""}},
    };
    const TOutputNameRules rules{"/out", true, {}};
    for (const TCase& c : cases) EXPECT_EQ(WriteBackTexts(Applied(c.key, rules)), c.texts) << c.key;
}

TEST(ApplyPreset, ResetsFirstSoEveryApplicationGivesTheSameFields) {
    const TOutputNameRules rules{"/out", true, {}};
    TWorkingSettings settings;
    settings.Video_AddFileName = "/v/a.b.mov";
    settings.Video_FrameRate = "99";
    settings.Video_VideoFilters = "hflip";
    settings.Video_AudioVolume = "512";
    settings.Video_DisableVideo = true;
    std::string error;
    ASSERT_TRUE(ApplyPreset(2, 0, rules, settings, error));  // 200, audio only
    const TWorkingSettings first = settings;
    EXPECT_EQ(first.Video_AddFileName, "/v/a.b.mov");
    EXPECT_EQ(first.Video_FrameRate, "");
    EXPECT_EQ(first.Video_VideoFilters, "");
    EXPECT_EQ(first.Video_AudioVolume, "256");
    EXPECT_EQ(first.Video_OutPutFileName, "/out/a.b.mp3");

    ASSERT_TRUE(ApplyPreset(0, 0, rules, settings, error));  // 100 turns video back on
    EXPECT_FALSE(settings.Video_DisableVideo);
    ASSERT_TRUE(ApplyPreset(2, 0, rules, settings, error));
    EXPECT_EQ(WriteBackTexts(settings), WriteBackTexts(first));
    EXPECT_EQ(settings.Video_OutPutFileName, first.Video_OutPutFileName);
}

TEST(ApplyPreset, OutputNameUsesThePresetsOwnExtension) {
    testsupport::TTempDir out;
    const TOutputNameRules rules{out.Path(), false, {}};
    struct TCase {
        int key;
        const char* name;
    };
    const TCase cases[] = {
        {100, "clip.avi"},  {901, "clip.mpeg"}, {906, "clip.avi"}, {909, "clip.mp4"},
        {3200, "clip.avi"}, {3400, "clip.avi"}, {206, "clip.ra"},  {306, "clip.wmv"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Applied(c.key, rules).Video_OutPutFileName, out / c.name) << c.key;

    out.Touch("clip.avi");
    EXPECT_EQ(Applied(100, rules).Video_OutPutFileName, out / "clip_1.avi");
    const TOutputNameRules planned{out.Path(), false, {out / "clip_1.avi"}};
    EXPECT_EQ(Applied(100, planned).Video_OutPutFileName, out / "clip_2.avi");
}

TEST(ApplyPreset, AChoiceWithoutAPresetLeavesTheResetValues) {
    const TOutputNameRules rules{"/out", false, {}};
    const TChoice noPreset[] = {{0, 15}, {2, 13}, {35, 0}, {-1, 0}, {0, -1}, {0, 100}};
    for (const TChoice& choice : noPreset) {
        SCOPED_TRACE(::testing::Message() << choice.CategoryIndex << "/" << choice.PresetIndex);
        TWorkingSettings settings;
        settings.Video_AddFileName = "/v/clip.rmvb";
        settings.Video_VideoCodec = "stale";
        std::string error;
        EXPECT_TRUE(ApplyPreset(choice.CategoryIndex, choice.PresetIndex, rules, settings, error));
        EXPECT_EQ(settings.All_Trant_Number, -1);
        EXPECT_EQ(settings.Video_OutPutFileName, "/out/");
        EXPECT_EQ(WriteBackTexts(settings),
                  (std::vector<std::string>{"", "", "", "", "", "", "-1", "", "-1", "", "", "False",
                                            "", ""}));
    }
}

TEST(ApplyPreset, EmptyOutputFolderIsRefusedButTheSettingsAreFilled) {
    TWorkingSettings settings;
    settings.Video_AddFileName = "/v/clip.rmvb";
    settings.Video_OutPutFileName = "/old/clip.avi";
    std::string error;
    EXPECT_FALSE(ApplyPreset(0, 0, TOutputNameRules{"", false, {}}, settings, error));
    EXPECT_EQ(error, kEmptyOutputFolderText);
    EXPECT_EQ(settings.Video_OutPutFileName, "");
    EXPECT_EQ(settings.All_Trant_Number, 100);
    EXPECT_EQ(settings.Video_VideoCodec, "mpeg4");
}

}  // namespace
