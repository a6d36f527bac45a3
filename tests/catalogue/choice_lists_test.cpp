#include "catalogue/choice_lists.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/categories.h"

namespace {

using namespace catalogue;

struct TKind {
    const char* Prefix;
    int Lists;
    int Entries;
    std::vector<int> UseCounts;  // presets naming each list, from 1 up
};

// Independent figures of the catalogue: lists and entries per kind, and how many presets name
// each list.
const TKind kKinds[kPresetParamCount] = {
    {"RES", 33, 476, {120, 9, 32, 13, 11, 7, 18, 3,  1, 33, 2, 5, 9, 1, 3, 2, 1,
                      1,   2, 4,  4,  1,  7, 6,  11, 2, 1,  4, 2, 1, 1, 2, 1}},
    {"VBR", 35, 373, {76, 12, 20, 12, 12, 32, 30, 46, 17, 2, 2, 2, 2, 5, 6, 8, 1, 2,
                      6,  3,  2,  5,  4,  1,  2,  1,  1,  1, 1, 1, 1, 1, 1, 1, 1}},
    {"FPS", 8, 51, {151, 12, 32, 37, 70, 5, 6, 7}},
    {"ABR", 6, 53, {218, 4, 5, 82, 6, 5}},
    {"ASR", 6, 26, {198, 9, 75, 11, 20, 7}},
    {"ASP", 3, 8, {284, 4, 32}},
};

std::string KindOf(const TChoiceList& list) {
    return std::string(list.Id, 3);
}

std::vector<std::string> EntriesOf(const TChoiceList& list) {
    return {list.Entries.begin(), list.Entries.end()};
}

TEST(ChoiceListPool, ShapeIdsAndEntriesPerKind) {
    const auto pool = ChoiceListPool();
    ASSERT_EQ(pool.size(), 91u);
    size_t at = 0;
    int total = 0;
    for (const TKind& kind : kKinds) {
        int entries = 0;
        std::set<std::vector<std::string>> distinct;
        for (int n = 1; n <= kind.Lists; ++n, ++at) {
            const TChoiceList& list = pool[at];
            EXPECT_EQ(list.Id, kind.Prefix + std::to_string(n));
            EXPECT_EQ(&list, &ChoiceList(static_cast<TChoiceListId>(at)));
            EXPECT_GE(list.Entries.size(), 1u) << list.Id;
            EXPECT_LE(list.Entries.size(), 28u) << list.Id;
            for (const char* entry : list.Entries) EXPECT_STRNE(entry, "") << list.Id;
            // Two presets share a list exactly when they offer the same entries in order.
            EXPECT_TRUE(distinct.insert(EntriesOf(list)).second) << list.Id;
            entries += static_cast<int>(list.Entries.size());
        }
        EXPECT_EQ(entries, kind.Entries) << kind.Prefix;
        total += entries;
    }
    EXPECT_EQ(total, 987);
}

TEST(ChoiceListPool, EntriesKeepTheirExactTextAndPosition) {
    struct TCase {
        TChoiceListId list;
        int index;
        const char* text;
    };
    const TCase cases[] = {
        {RES1, 0, "保持原分辨率"},
        {RES1, 25, "1920*1440"},
        {RES10, 25, "2048*1536"},
        {RES26, 26, "2560*1600"},
        {RES25, 24, "1920*1200"},
        {RES25, 26, "2048*1536"},
        {RES25, 27, "2560*1600"},
        {RES29, 27, "3840*2160"},
        {RES28, 17, "3840*2160"},
        {RES9, 12, "720*406"},
        {RES5, 1, "176*144"},
        {RES5, 2, "160*120"},
        {RES3, 0, "该格式无视频"},
        {VBR2, 3, "768 kbps"},
        {VBR5, 3, "600 kbps"},
        {VBR7, 3, "1800 kbps"},
        {VBR4, 0, "8 kbps"},
        {VBR6, 0, "无视频"},
        {FPS1, 0, "保持原帧速率"},
        {FPS1, 7, "23.97"},
        {FPS5, 5, "23.98"},
        {FPS7, 7, "25"},
        {FPS3, 0, "无视频"},
        {ABR3, 0, "4.75 kbps"},
        {ABR3, 2, "5.9 kbps"},
        {ABR3, 7, "12.2 kbps"},
        {ABR6, 7, "116 kbps"},
        {ASR6, 1, "24000"},
        {ASP1, 0, "保持原视频模式"},
        {ASP1, 1, "普通视频4:3模式"},
        {ASP1, 2, "宽屏视频16:9模式"},
        {ASP1, 3, "宽屏视频37:20模式"},
        {ASP1, 4, "宽屏视频47:20模式"},
        {ASP3, 0, "无视频"},
    };
    for (const TCase& c : cases) {
        const TChoiceList& list = ChoiceList(c.list);
        ASSERT_LT(c.index, static_cast<int>(list.Entries.size())) << list.Id;
        EXPECT_STREQ(list.Entries[c.index], c.text) << list.Id << "[" << c.index << "]";
    }
    EXPECT_EQ(ChoiceList(RES25).Entries.size(), 28u);
    EXPECT_EQ(EntriesOf(ChoiceList(FPS2)),
              (std::vector<std::string>{"1", "2", "3", "5", "10", "12", "15"}));
}

TEST(PresetChoiceTable, KeysAreExactlyTheFormatsOfEveryCategory) {
    const auto rows = PresetChoiceTable();
    ASSERT_EQ(rows.size(), 320u);
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i - 1].PresetKey, rows[i].PresetKey);

    for (const TPresetCategory& category : PresetCategories()) {
        const int first = (category.CategoryCode + 1) * 100;
        for (int p = 0; p < category.PresetCount; ++p) {
            const TPresetChoices* row = FindPresetChoices(first + p);
            ASSERT_NE(row, nullptr) << first + p;
            EXPECT_EQ(row->PresetKey, first + p);
        }
        EXPECT_EQ(FindPresetChoices(first - 1), nullptr) << first - 1;
        EXPECT_EQ(FindPresetChoices(first + category.PresetCount), nullptr) << first;
    }
    for (int key : {-1, 0, 3513, 3600, 100000}) EXPECT_EQ(FindPresetChoices(key), nullptr) << key;
}

TEST(PresetChoiceTable, ChoicesNameListsOfTheirKindAndDefaultsInRange) {
    std::map<const TChoiceList*, int> uses;
    for (const TPresetChoices& row : PresetChoiceTable()) {
        for (int p = 0; p < kPresetParamCount; ++p) {
            const TPresetChoice& choice = row.Choices[p];
            ASSERT_NE(choice.List, nullptr) << row.PresetKey;
            EXPECT_EQ(KindOf(*choice.List), kKinds[p].Prefix) << row.PresetKey << "/" << p;
            EXPECT_GE(choice.DefaultIndex, 0) << row.PresetKey << "/" << p;
            EXPECT_LT(choice.DefaultIndex, static_cast<int>(choice.List->Entries.size()))
                << row.PresetKey << "/" << p;
            ++uses[choice.List];
        }
    }
    size_t at = 0;
    for (const TKind& kind : kKinds)
        for (int expected : kind.UseCounts) {
            const TChoiceList& list = ChoiceListPool()[at++];
            EXPECT_EQ(uses[&list], expected) << list.Id;
        }
}

TEST(PresetChoiceTable, ListIdsCountInOrderOfFirstUse) {
    std::set<const TChoiceList*> seen;
    int next[kPresetParamCount] = {1, 1, 1, 1, 1, 1};
    for (const TPresetChoices& row : PresetChoiceTable()) {
        for (int p = 0; p < kPresetParamCount; ++p) {
            const TChoiceList* list = row.Choices[p].List;
            if (!seen.insert(list).second) continue;
            EXPECT_EQ(list->Id, kKinds[p].Prefix + std::to_string(next[p]++)) << row.PresetKey;
        }
    }
    EXPECT_EQ(seen.size(), 91u);
}

TEST(PresetChoiceTable, AudioOnlyPresetsAreTheMarkerRows) {
    const std::set<int> audioOnly = {200,  201,  202,  203,  204,  205,  206,  207,
                                     208,  209,  210,  211,  212,  708,  1202, 1203,
                                     1505, 1506, 2900, 2901, 2902, 2903, 3000, 3001,
                                     3002, 3003, 3100, 3101, 3102, 3103, 3215, 3312};
    const TChoiceList* markers[] = {&ChoiceList(RES3), &ChoiceList(VBR6), &ChoiceList(FPS3),
                                    &ChoiceList(ASP3)};
    const TPresetParam videoParams[] = {ppFrameSize, ppVideoBitrate, ppFrameRate,
                                        ppFrameAspectRatio};
    for (const TChoiceList* marker : markers) EXPECT_EQ(marker->Entries.size(), 1u) << marker->Id;

    std::set<int> flagged;
    for (const TPresetChoices& row : PresetChoiceTable()) {
        if (row.AudioOnly) flagged.insert(row.PresetKey);
        for (int v = 0; v < 4; ++v) {
            const TPresetChoice& choice = row.Choices[videoParams[v]];
            EXPECT_EQ(choice.List == markers[v], row.AudioOnly) << row.PresetKey << "/" << v;
            if (row.AudioOnly) {
                EXPECT_EQ(choice.DefaultIndex, 0) << row.PresetKey;
            }
        }
        for (TPresetParam audio : {ppAudioBitrate, ppAudioSampleRate})
            EXPECT_GT(row.Choices[audio].List->Entries.size(), 0u);
    }
    EXPECT_EQ(flagged, audioOnly);
}

TEST(PresetChoiceTable, DefaultsOfSamplePresets) {
    struct TCase {
        int key;
        const char* texts[kPresetParamCount];
        int indexes[kPresetParamCount];
    };
    const TCase cases[] = {
        {100,
         {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"},
         {0, 3, 9, 10, 4, 0}},
        {109,
         {"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"},
         {4, 9, 5, 5, 0, 0}},
        {212,
         {"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"},
         {0, 0, 0, 4, 0, 0}},
        {303,
         {"1280*1024", "1600 kbps", "30.00", "192 kbps", "48000", "保持原视频模式"},
         {3, 2, 3, 13, 5, 0}},
        {411,
         {"640*272", "768 kbps", "25.00", "128 kbps", "48000", "宽屏视频16:9模式"},
         {9, 3, 7, 2, 3, 2}},
        {506,
         {"720*406", "1200 kbps", "29.97", "128 kbps", "48000", "保持原视频模式"},
         {12, 5, 8, 2, 3, 0}},
        {707,
         {"176*144", "160 kbps", "15", "48 kbps", "32000", "保持原视频模式"},
         {4, 10, 6, 0, 4, 0}},
        {908,
         {"1280*720", "1200 kbps", "29.97", "128 kbps", "48000", "保持原视频模式"},
         {9, 5, 8, 2, 3, 0}},
        {1304,
         {"保持原分辨率", "1000 kbps", "30.00", "128 kbps", "24000", "保持原视频模式"},
         {0, 4, 5, 2, 1, 0}},
        {1603,
         {"保持原分辨率", "1000 kbps", "29.97", "128 kbps", "44100", "保持原视频模式"},
         {0, 4, 10, 10, 4, 0}},
        {2900,
         {"该格式无视频", "无视频", "无视频", "224 kbps", "48000", "无视频"},
         {0, 0, 0, 14, 5, 0}},
        {3401,
         {"3840*2160", "1200 kbps", "30.00", "128 kbps", "48000", "保持原视频模式"},
         {17, 5, 9, 2, 3, 0}},
        {3512,
         {"1280*720", "1800 kbps", "29.97", "128 kbps", "44100", "保持原视频模式"},
         {9, 7, 10, 10, 4, 0}},
    };
    for (const TCase& c : cases) {
        const TPresetChoices* row = FindPresetChoices(c.key);
        ASSERT_NE(row, nullptr) << c.key;
        for (int p = 0; p < kPresetParamCount; ++p) {
            const TPresetChoice& choice = row->Choices[p];
            EXPECT_EQ(choice.DefaultIndex, c.indexes[p]) << c.key << "/" << p;
            EXPECT_STREQ(choice.List->Entries[choice.DefaultIndex], c.texts[p])
                << c.key << "/" << p;
        }
    }
}

}  // namespace
