// The legacy dialog's own catalogue as data: counts, key order, every default inside its list,
// the audio-only rows, and a few rows checked field by field.
#include "app/legacy_catalogue.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace app::legacy {
namespace {

TEST(LegacyCatalogue, TwelveCategoriesHoldTheirPresetsInKeyOrder) {
    const int counts[] = {15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4};
    ASSERT_EQ(LegacyPresetCategories().size(), 12u);
    int total = 0;
    for (int c = 0; c < kLegacyCategoryCount; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(LegacyPresetCategories()[std::size_t(c)].PresetCount, counts[c]);
        const std::span<const TLegacyPreset> presets = LegacyPresetsOfCategory(c);
        ASSERT_EQ(int(presets.size()), counts[c]);
        for (int p = 0; p < counts[c]; ++p) {
            EXPECT_EQ(presets[std::size_t(p)].PresetKey, (c + 1) * 100 + p);
            EXPECT_NE(std::string(presets[std::size_t(p)].Caption), "");
        }
        total += counts[c];
    }
    EXPECT_EQ(total, 109);
    EXPECT_EQ(LegacyOutputPresets().size(), 109u);
    for (std::size_t i = 1; i < LegacyOutputPresets().size(); ++i)
        EXPECT_LT(LegacyOutputPresets()[i - 1].PresetKey, LegacyOutputPresets()[i].PresetKey);
    EXPECT_TRUE(LegacyPresetsOfCategory(-1).empty());
    EXPECT_TRUE(LegacyPresetsOfCategory(12).empty());
}

TEST(LegacyCatalogue, TitlesKeepTheirOddities) {
    const struct {
        int Key;
        const char* Title;
    } cases[] = {
        {100, "AVI - 音频视频交错格式(*.avi)"},
        {202, "WAV - 波形音频格式(*.wav) "},
        {211, "ALAC-Apple Lossless无损音频格式(*.alac) "},
        {700, "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)"},
        {702, "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))"},
        {703, "3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)"},
        {1203, "SWF动画视频FLASH动画音频格式(*.swf)"},
    };
    for (const auto& c : cases) {
        const TLegacyPreset* p = FindRowByKey(LegacyOutputPresets(), c.Key);
        ASSERT_NE(p, nullptr) << c.Key;
        EXPECT_EQ(std::string(p->Title), c.Title) << c.Key;
    }
    const auto title = [](int key) {
        return std::string(FindRowByKey(LegacyOutputPresets(), key)->Title);
    };
    const auto caption = [](int key) {
        return std::string(FindRowByKey(LegacyOutputPresets(), key)->Caption);
    };
    for (auto [a, b] :
         {std::pair{300, 301}, {710, 713}, {901, 902}, {907, 908}, {908, 909}, {1003, 1004}})
        EXPECT_EQ(title(a), title(b)) << a << " " << b;
    EXPECT_EQ(caption(901), caption(902));
    EXPECT_EQ(caption(1003), caption(1004));
    EXPECT_EQ(caption(100), "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式");
}

TEST(LegacyCatalogue, PictureIndexesRunAsTheCategoriesGiveThem) {
    const std::vector<int> expected[] = {
        {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
        {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
        {20, 21, 21, 21, 21, 21, 21, 21, 21, 21},
        {20, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21},
        {20, 21, 20, 21, 20, 21},
        {20, 21, 20, 21, 20},
        {20, 20, 21, 21, 20, 21, 20, 21, 21, 21, 21, 21, 21, 21},
        {22, 23, 24, 25, 26},
        {22, 23, 24, 25, 26, 21, 21, 21, 21, 21},
        {22, 23, 24, 25, 26, 21, 21, 21},
        {22, 23, 24, 25, 26},
        {22, 23, 24, 25},
    };
    for (int c = 0; c < kLegacyCategoryCount; ++c) {
        std::vector<int> got;
        for (const TLegacyPreset& p : LegacyPresetsOfCategory(c)) got.push_back(p.ImageIndex);
        EXPECT_EQ(got, expected[c]) << c;
    }
}

TEST(LegacyCatalogue, FiftyListsAndADefaultInsideEachChoice) {
    ASSERT_EQ(LegacyChoiceListPool().size(), 50u);
    const struct {
        const char* Prefix;
        int Count;
    } kinds[] = {{"RES", 19}, {"VBR", 10}, {"FPS", 7}, {"ABR", 6}, {"ASR", 5}, {"ASP", 3}};
    std::set<std::string> ids;
    for (const auto& k : kinds) {
        int n = 0;
        for (const TLegacyChoiceList& l : LegacyChoiceListPool())
            if (std::string(l.Id).rfind(k.Prefix, 0) == 0) ++n;
        EXPECT_EQ(n, k.Count) << k.Prefix;
    }
    for (const TLegacyChoiceList& l : LegacyChoiceListPool()) {
        EXPECT_TRUE(ids.insert(l.Id).second) << l.Id;
        EXPECT_FALSE(l.Entries.empty()) << l.Id;
    }

    ASSERT_EQ(LegacyChoiceTable().size(), 109u);
    std::set<const TLegacyChoiceList*> used;
    for (std::size_t i = 0; i < LegacyChoiceTable().size(); ++i) {
        const TLegacyChoiceRow& row = LegacyChoiceTable()[i];
        EXPECT_EQ(row.PresetKey, LegacyOutputPresets()[i].PresetKey);
        // Each parameter draws from lists of its own kind.
        for (int p = 0; p < catalogue::kPresetParamCount; ++p) {
            const TLegacyChoice& c = row.Choices[std::size_t(p)];
            used.insert(c.List);
            EXPECT_GE(c.DefaultIndex, 0) << row.PresetKey;
            EXPECT_LT(c.DefaultIndex, int(c.List->Entries.size())) << row.PresetKey;
            EXPECT_EQ(std::string(c.List->Id).substr(0, 3), kinds[p].Prefix) << row.PresetKey;
        }
    }
    EXPECT_EQ(used.size(), 50u) << "every list of the pool serves a preset";
}

TEST(LegacyCatalogue, ExactlyTheSixteenAudioRowsUseTheNoVideoLists) {
    const std::set<int> audio = {200, 201, 202, 203, 204, 205, 206,  207,
                                 208, 209, 210, 211, 212, 708, 1202, 1203};
    for (const TLegacyChoiceRow& row : LegacyChoiceTable()) {
        SCOPED_TRACE(row.PresetKey);
        const bool isAudio = audio.count(row.PresetKey) > 0;
        EXPECT_EQ(row.AudioOnly(), isAudio);
        const char* ids[] = {"RES3", "VBR6", "FPS3", nullptr, nullptr, "ASP3"};
        for (int p : {0, 1, 2, 5})
            EXPECT_EQ(std::string(row.Choices[std::size_t(p)].List->Id) == ids[p], isAudio) << p;
        const TLegacyDefaults* d = FindLegacyDefaults(row.PresetKey);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->DisableVideo.has_value(), isAudio);
        // The audio rows leave every video field alone.
        if (isAudio)
            for (const char* f : {d->VideoCodec, d->VideoTag, d->FrameSize, d->FrameRate,
                                  d->FrameAspectRatio, d->VideoFilters})
                EXPECT_EQ(f, nullptr);
    }
}

TEST(LegacyCatalogue, ListsKeepTheirOrderAndTexts) {
    const auto entries = [](const char* id) {
        for (const TLegacyChoiceList& l : LegacyChoiceListPool())
            if (std::string(l.Id) == id)
                return std::vector<std::string>(l.Entries.begin(), l.Entries.end());
        return std::vector<std::string>();
    };
    EXPECT_EQ(entries("FPS1")[7], "23.97");
    EXPECT_EQ(entries("FPS5")[5], "23.98");
    EXPECT_EQ(entries("FPS6")[1], "23.98");
    EXPECT_EQ(entries("RES5"), (std::vector<std::string>{"128*96", "176*144", "160*120", "320*240",
                                                         "352*288", "368*208", "640*480"}));
    EXPECT_EQ(entries("ABR3"),
              (std::vector<std::string>{"4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps",
                                        "7.4 kbps", "7.95 kbps", "10.2 kbps", "12.2 kbps"}));
    EXPECT_EQ(entries("ASP1"),
              (std::vector<std::string>{"保持原视频模式", "普通视频4:3模式", "宽屏视频16:9模式",
                                        "宽屏视频37:20模式", "宽屏视频47:20模式"}));
    EXPECT_EQ(entries("RES1").size(), 28u);
    EXPECT_EQ(entries("RES22").back(), "1024*768");
    EXPECT_EQ(entries("VBR15").size(), 17u);
}

// The choices of a row as list id and default index, in parameter order.
std::vector<std::string> ChoicesOf(int key) {
    std::vector<std::string> out;
    for (const TLegacyChoice& c : FindLegacyChoices(key)->Choices)
        out.push_back(std::string(c.List->Id) + " " + std::to_string(c.DefaultIndex));
    return out;
}

TEST(LegacyCatalogue, SampleRowsMatchFieldByField) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ChoicesOf(100), (V{"RES1 0", "VBR1 3", "FPS1 9", "ABR1 10", "ASR1 4", "ASP1 0"}));
    EXPECT_EQ(ChoicesOf(109), (V{"RES2 4", "VBR4 9", "FPS2 5", "ABR2 5", "ASR2 0", "ASP2 0"}));
    EXPECT_EQ(ChoicesOf(212), (V{"RES3 0", "VBR6 0", "FPS3 0", "ABR3 4", "ASR2 0", "ASP3 0"}));
    EXPECT_EQ(ChoicesOf(411), (V{"RES6 9", "VBR8 3", "FPS5 7", "ABR4 2", "ASR3 3", "ASP1 2"}));
    EXPECT_EQ(ChoicesOf(708), (V{"RES3 0", "VBR6 0", "FPS3 0", "ABR3 4", "ASR2 0", "ASP3 0"}));
    EXPECT_EQ(ChoicesOf(901), (V{"RES16 0", "VBR8 5", "FPS5 9", "ABR4 2", "ASR3 3", "ASP1 0"}));
    EXPECT_EQ(ChoicesOf(1203), (V{"RES3 0", "VBR6 0", "FPS3 0", "ABR1 10", "ASR5 1", "ASP3 0"}));
    EXPECT_EQ(FindLegacyChoices(99), nullptr);
    EXPECT_EQ(FindLegacyChoices(115), nullptr);

    // Every field of the defaults row as text: "·" for a field the row leaves alone.
    const auto text = [](const char* s) { return s ? std::string(s) : std::string("·"); };
    const auto number = [](const auto& v) { return v ? std::to_string(*v) : std::string("·"); };
    const auto row = [&](int key) {
        const TLegacyDefaults* d = FindLegacyDefaults(key);
        return V{text(d->OutputExt),        text(d->FileExt),         text(d->VideoCodec),
                 text(d->VideoTag),         text(d->FrameSize),       text(d->FrameRate),
                 text(d->FrameAspectRatio), number(d->VideoBitrate),  text(d->AudioCodec),
                 text(d->AudioChannels),    text(d->AudioSampleRate), number(d->AudioBitrate),
                 text(d->VideoFilters),     text(d->AudioVolume),     text(d->NormType),
                 text(d->CopyTimestamp),    text(d->FileFormat),      text(d->TargetType),
                 number(d->DisableVideo)};
    };
    EXPECT_EQ(row(100), (V{".avi", ".avi", "mpeg4", "XVID", "", "25", "", "816000", "libmp3lame",
                           "2", "44100", "128000", "", "256", "", "", "", "", "·"}));
    EXPECT_EQ(row(109), (V{".3gp", ".3gp", "mpeg4", "", "176*144", "12", "4:3", "128000", "libfaac",
                           "1", "8000", "12000", "", "256", "", "", "", "", "·"}));
    EXPECT_EQ(row(212), (V{".amr", ".amr", "·", "·", "·", "·", "·", "·", "libopencore_amrnb", "1",
                           "8000", "7400", "·", "256", "", "", "", "", "1"}));
    EXPECT_EQ(row(411), (V{".mp4", ".mp4", "libxvid", "", "640*480", "25", "16:9", "1200000",
                           "libfaac", "2", "48000", "128000", "", "256", "", "", "", "", "·"}));
    EXPECT_EQ(row(708), (V{".amr", ".amr", "·", "·", "·", "·", "·", "·", "libopencore_amrnb", "1",
                           "8000", "7400", "·", "256", "", "", "", "", "1"}));
    EXPECT_EQ(row(901), (V{".mpeg", ".mpeg", "mpeg2video", "", "1280*720", "25", "", "1200000",
                           "ac3", "2", "48000", "192000", "", "256", "", "", "", "", "·"}));
    EXPECT_EQ(row(1203), (V{".swf", "·", "·", "·", "·", "·", "·", "·", "libmp3lame", "2", "22050",
                            "128000", "·", "256", "", "", "", "", "1"}));
    EXPECT_EQ(row(114), (V{".rm", "·", "rv20", "·", "320*240", "·", "·", "·", "·", "·", "·", "·",
                           "·", "·", "", "", "", "", "·"}));
    EXPECT_EQ(row(111), (V{".mpg", "·", "", "", "", "", "", "-1000", "", "", "", "-1000", "·",
                           "256", "PAL", "·", "", "dvd", "·"}));
    EXPECT_EQ(row(408)[7], "7680000");
    EXPECT_EQ(row(305)[3], "·");
    EXPECT_EQ(row(403)[17], "·");
    EXPECT_EQ(FindLegacyDefaults(1204), nullptr);
}

}  // namespace
}  // namespace app::legacy
