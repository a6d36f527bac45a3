#include "catalogue/choice_filler.h"

#include <climits>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/categories.h"
#include "catalogue/choice_lists.h"

namespace {

using namespace catalogue;
using TLog = std::vector<std::string>;

// A skinned combo box that behaves as the main window's lists do and logs every event.
class TRecordingCombo : public TComboList {
public:
    TRecordingCombo(std::string name, TLog& log) : FName(std::move(name)), FLog(log) {}

    std::function<void()> OnChange;  // the main window's change handler

    void ClearItems() override {
        FItems.clear();
        FIndex = -1;
        Record("clear");
    }
    void AddItem(const std::string& text) override {
        FItems.push_back(text);
        Record("add " + text);
    }
    int ItemCount() const override { return static_cast<int>(FItems.size()); }
    std::string Item(int index) const override { return FItems.at(index); }
    int ItemIndex() const override { return FIndex; }
    void SetItemIndex(int index) override {
        FIndex = index >= 0 && index < ItemCount() ? index : -1;
        if (FIndex >= 0 && FItems[FIndex] != FText) {
            FText = FItems[FIndex];
            Record("change");
            if (OnChange) OnChange();
        }
        Record("click");
    }
    std::string Text() const override { return FText; }
    bool Enabled() const override { return FEnabled; }
    void SetEnabled(bool enabled) override {
        if (enabled == FEnabled) return;
        FEnabled = enabled;
        Record(enabled ? "enable" : "disable");
    }

    const std::string& Name() const { return FName; }
    const std::vector<std::string>& Items() const { return FItems; }

private:
    void Record(const std::string& event) { FLog.push_back(FName + " " + event); }

    std::string FName;
    TLog& FLog;
    std::vector<std::string> FItems;
    int FIndex = -1;
    std::string FText;
    bool FEnabled = true;
};

// The main window's side of the filler: its six lists, the two fields it writes, and change
// handlers that note which list changed and what the other lists held at that moment.
class ParameterFiller : public ::testing::Test {
protected:
    ParameterFiller() {
        for (TRecordingCombo* combo : Combos()) {
            combo->OnChange = [this, combo] {
                Changes.push_back(combo->Name());
                std::vector<int> counts;
                for (TRecordingCombo* other : Combos()) counts.push_back(other->ItemCount());
                CountsAtChange.push_back(counts);
            };
        }
    }

    // In parameter order.
    std::vector<TRecordingCombo*> Combos() {
        return {&FrameSize, &VideoBitrate, &FrameRate, &AudioBitrate, &SampleRate, &Aspect};
    }

    void Fill(int categoryIndex, int presetIndex) {
        Log.clear();
        Changes.clear();
        CountsAtChange.clear();
        FillParameterLists({FrameSize, VideoBitrate, FrameRate, AudioBitrate, SampleRate, Aspect},
                           categoryIndex, presetIndex, {AllTrantNumber, DisableVideo});
    }

    void FillKey(int presetKey) {
        for (const TPresetCategory& c : PresetCategories()) {
            const int first = (c.CategoryCode + 1) * 100;
            if (presetKey >= first && presetKey < first + c.PresetCount)
                return Fill(c.CategoryIndex, presetKey - first);
        }
        FAIL() << "no format for key " << presetKey;
    }

    // The log with each run of adds to one list folded into "<list> add*<count>".
    TLog FoldedLog() const {
        TLog folded;
        int run = 0;
        std::string list;
        auto flush = [&] {
            if (run) folded.push_back(list + " add*" + std::to_string(run));
            run = 0;
        };
        for (const std::string& event : Log) {
            const size_t space = event.find(' ');
            if (event.compare(space + 1, 4, "add ") == 0) {
                if (run && event.compare(0, space, list) != 0) flush();
                list = event.substr(0, space);
                ++run;
                continue;
            }
            flush();
            folded.push_back(event);
        }
        flush();
        return folded;
    }

    TLog Log;
    TRecordingCombo FrameSize{"FrameSize", Log};
    TRecordingCombo VideoBitrate{"VideoBitrate", Log};
    TRecordingCombo FrameRate{"FrameRate", Log};
    TRecordingCombo AudioBitrate{"AudioBitrate", Log};
    TRecordingCombo SampleRate{"SampleRate", Log};
    TRecordingCombo Aspect{"Aspect", Log};
    int AllTrantNumber = 0;
    bool DisableVideo = true;
    TLog Changes;
    std::vector<std::vector<int>> CountsAtChange;
};

const TLog kClears = {"FrameSize clear", "VideoBitrate clear", "AudioBitrate clear",
                      "Aspect clear",    "FrameRate clear",    "SampleRate clear"};

TLog Concat(TLog head, const TLog& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST_F(ParameterFiller, StartUpShowsTheDefaultsOfTheFirstFormat) {
    Fill(0, 0);

    const char* texts[] = {"保持原分辨率", "816 kbps", "25.00",
                           "128 kbps",     "44100",    "保持原视频模式"};
    const int indexes[] = {0, 3, 9, 10, 4, 0};
    const size_t counts[] = {28, 8, 12, 17, 6, 5};
    for (int p = 0; p < kPresetParamCount; ++p) {
        TRecordingCombo& combo = *Combos()[p];
        EXPECT_EQ(combo.Text(), texts[p]) << combo.Name();
        EXPECT_EQ(combo.ItemIndex(), indexes[p]) << combo.Name();
        EXPECT_EQ(combo.Items().size(), counts[p]) << combo.Name();
        EXPECT_TRUE(combo.Enabled()) << combo.Name();
    }
    EXPECT_EQ(AllTrantNumber, 100);
    EXPECT_FALSE(DisableVideo);

    // Emptied in layout order, then each list filled and selected before the next is touched.
    EXPECT_EQ(FoldedLog(),
              Concat(kClears, {"FrameSize add*28", "FrameSize change", "FrameSize click",
                               "VideoBitrate add*8", "VideoBitrate change", "VideoBitrate click",
                               "FrameRate add*12", "FrameRate change", "FrameRate click",
                               "AudioBitrate add*17", "AudioBitrate change", "AudioBitrate click",
                               "SampleRate add*6", "SampleRate change", "SampleRate click",
                               "Aspect add*5", "Aspect change", "Aspect click"}));
    // Each change handler runs while the lists after its own are still empty.
    const std::vector<std::vector<int>> seen = {{28, 0, 0, 0, 0, 0},   {28, 8, 0, 0, 0, 0},
                                                {28, 8, 12, 0, 0, 0},  {28, 8, 12, 17, 0, 0},
                                                {28, 8, 12, 17, 6, 0}, {28, 8, 12, 17, 6, 5}};
    EXPECT_EQ(CountsAtChange, seen);
}

TEST_F(ParameterFiller, ChangeHandlersRunOnlyWhereTheShownTextChanges) {
    Fill(0, 0);
    Fill(0, 7);  // 107: every default text equals that of 100
    EXPECT_TRUE(Changes.empty());
    EXPECT_EQ(AllTrantNumber, 107);

    // The user's choice does not survive a refill, even of the same format.
    FrameSize.SetItemIndex(5);
    Fill(0, 7);
    EXPECT_EQ(Changes, TLog{"FrameSize"});
    EXPECT_EQ(FrameSize.ItemIndex(), 0);

    Fill(0, 0);
    Fill(2, 0);  // 200, audio-only; "128 kbps" and "44100" stay shown
    EXPECT_EQ(Changes, (TLog{"FrameSize", "VideoBitrate", "FrameRate", "Aspect"}));
    EXPECT_EQ(FoldedLog(),
              Concat(kClears, {"FrameSize add*1",     "FrameSize change",    "FrameSize click",
                               "VideoBitrate add*1",  "VideoBitrate change", "VideoBitrate click",
                               "FrameRate add*1",     "FrameRate change",    "FrameRate click",
                               "AudioBitrate add*17", "AudioBitrate click",  "SampleRate add*6",
                               "SampleRate click",    "Aspect add*1",        "Aspect change",
                               "Aspect click",        "FrameSize disable",   "VideoBitrate disable",
                               "Aspect disable",      "FrameRate disable"}));
    EXPECT_EQ(AllTrantNumber, 200);
    EXPECT_FALSE(DisableVideo);
}

TEST_F(ParameterFiller, AudioOnlyPresetsDisableTheVideoListsUntilTheNextFill) {
    struct TCase {
        int audioKey, videoKey;
        const char* audioBitrate;
        const char* sampleRate;
    };
    const TCase cases[] = {
        {708, 709, "7.4 kbps", "8000"},
        {3312, 3300, "128 kbps", "44100"},
        {1505, 1500, "128 kbps", "22050"},
        {212, 300, "7.4 kbps", "8000"},
    };
    for (const TCase& c : cases) {
        FillKey(c.audioKey);
        const std::pair<TRecordingCombo*, const char*> video[] = {{&FrameSize, "该格式无视频"},
                                                                  {&VideoBitrate, "无视频"},
                                                                  {&FrameRate, "无视频"},
                                                                  {&Aspect, "无视频"}};
        for (const auto& [combo, marker] : video) {
            EXPECT_EQ(combo->Items(), TLog{marker}) << c.audioKey << " " << combo->Name();
            EXPECT_EQ(combo->ItemIndex(), 0) << c.audioKey << " " << combo->Name();
            EXPECT_FALSE(combo->Enabled()) << c.audioKey << " " << combo->Name();
        }
        EXPECT_TRUE(AudioBitrate.Enabled() && SampleRate.Enabled()) << c.audioKey;
        EXPECT_EQ(AudioBitrate.Text(), c.audioBitrate) << c.audioKey;
        EXPECT_EQ(SampleRate.Text(), c.sampleRate) << c.audioKey;
        EXPECT_FALSE(DisableVideo) << c.audioKey;

        FillKey(c.videoKey);
        for (TRecordingCombo* combo : Combos()) {
            EXPECT_TRUE(combo->Enabled()) << c.videoKey << " " << combo->Name();
            EXPECT_GT(combo->ItemCount(), 1) << c.videoKey << " " << combo->Name();
        }
        // Enabled again in layout order, before anything is filled.
        const TLog enables = {"FrameSize enable", "VideoBitrate enable", "Aspect enable",
                              "FrameRate enable"};
        EXPECT_EQ(TLog(Log.begin() + 6, Log.begin() + 10), enables) << c.videoKey;
    }
}

TEST_F(ParameterFiller, IndexesWithoutAPresetLeaveSixEmptyEnabledLists) {
    struct TCase {
        int categoryIndex, presetIndex, storedKey;
    };
    const TCase cases[] = {
        {0, -1, 99},                      // format list without a selection
        {35, 0, -1},                      // past the category list
        {-1, 0, -1},       {0, 15, 115},  // one past the last classic format
        {0, 100, 200},                    // would reach into the audio category's keys
        {34, INT_MAX, -1},                // the key would not fit
    };
    for (const TCase& c : cases) {
        Fill(2, 0);  // start from audio-only lists: filled, partly disabled
        DisableVideo = true;
        Fill(c.categoryIndex, c.presetIndex);
        for (TRecordingCombo* combo : Combos()) {
            EXPECT_EQ(combo->ItemCount(), 0) << c.categoryIndex << "/" << c.presetIndex;
            EXPECT_TRUE(combo->Enabled()) << c.categoryIndex << "/" << c.presetIndex;
        }
        EXPECT_TRUE(Changes.empty());
        EXPECT_EQ(AllTrantNumber, c.storedKey) << c.categoryIndex << "/" << c.presetIndex;
        EXPECT_FALSE(DisableVideo);
    }
}

TEST_F(ParameterFiller, EveryFormatGetsItsRowInOrder) {
    int filled = 0;
    for (const TPresetCategory& category : PresetCategories()) {
        for (int p = 0; p < category.PresetCount; ++p, ++filled) {
            Fill(category.CategoryIndex, p);
            const TPresetChoices* row = FindPresetChoices(AllTrantNumber);
            ASSERT_NE(row, nullptr) << category.CategoryIndex << "/" << p;
            EXPECT_EQ(row->PresetKey, (category.CategoryCode + 1) * 100 + p);
            for (int param = 0; param < kPresetParamCount; ++param) {
                const TPresetChoice& choice = row->Choices[param];
                const TRecordingCombo& combo = *Combos()[param];
                const TLog entries(choice.List->Entries.begin(), choice.List->Entries.end());
                EXPECT_EQ(combo.Items(), entries) << row->PresetKey << " " << combo.Name();
                EXPECT_EQ(combo.ItemIndex(), choice.DefaultIndex) << row->PresetKey;
                const bool video = param != ppAudioBitrate && param != ppAudioSampleRate;
                EXPECT_EQ(combo.Enabled(), !(video && row->AudioOnly)) << row->PresetKey;
            }
        }
    }
    EXPECT_EQ(filled, 320);
}

}  // namespace
