// Format and parameter choice: what the six lists show is what every added row converts, before
// and after selecting it; the VCD presets' fixed rate; a selected row follows every change; a row
// whose keys do not parse restores nothing.
#include <clocale>

#include <gtest/gtest.h>

#include "catalogue/apply_preset.h"
#include "catalogue/output_record.h"
#include "fixtures/fixtures.h"
#include "platform/rtl/sysutils.h"
#include "queue_test_support.h"

namespace app::test {
namespace {

using TFormatChoiceTest = TQueueTest;
using catalogue::TPresetParam;

// Sub-items 15 to 20 as the lists' shown texts parse.
std::vector<std::string> ListValues() {
    std::vector<std::string> values(kSubItemCount);
    catalogue::TWorkingSettings w;
    for (const TForm1::TParameterList& list : Form1->ParameterLists()) {
        catalogue::TakeOverListEntry(list.Param, (Form1->*list.Box)->Text(), w);
        switch (list.Param) {
            case catalogue::ppFrameSize:
                values[siFrameSize] = w.Video_FrameSize;
                break;
            case catalogue::ppVideoBitrate:
                values[siVideoBitrate] =
                    (Form1->*list.Box)->Enabled() ? rtl::IntToStr(w.Video_VideoBitrate) : "-1000";
                break;
            case catalogue::ppFrameRate:
                values[siFrameRate] = w.Video_FrameRate;
                break;
            case catalogue::ppAudioBitrate:
                values[siAudioBitrate] = rtl::IntToStr(w.Video_AudioBitrate);
                break;
            case catalogue::ppAudioSampleRate:
                values[siAudioSampleRate] = w.Video_AudioSampleRate;
                break;
            case catalogue::ppFrameAspectRatio:
                values[siFrameAspectRatio] = w.Video_FrameAspectRatio;
                break;
        }
    }
    return {values.begin() + siFrameSize, values.begin() + siFrameAspectRatio + 1};
}

std::vector<std::string> RowValues(int row) {
    std::vector<std::string> values;
    for (int s = siFrameSize; s <= siFrameAspectRatio; ++s)
        values.push_back(Form1->lvFiles->Items().Item(row)->SubItems().Get(s));
    return values;
}

std::vector<std::string> WholeRow(int row) {
    vcl::TListItem* item = Form1->lvFiles->Items().Item(row);
    std::vector<std::string> cells{item->Caption()};
    for (int s = 0; s < kSubItemCount; ++s) cells.push_back(item->SubItems().Get(s));
    return cells;
}

int EntryIndex(skin::TbsSkinComboBox* box, const std::string& text) {
    for (int i = 0; i < box->Items().Count(); ++i)
        if (box->Items().Get(i) == text) return i;
    ADD_FAILURE() << "no entry " << text << " in " << box->Name();
    return -1;
}

void Reselect(int row) {
    Form1->lvFiles->SetItemIndex(-1);
    Form1->lvFiles->SetItemIndex(row);
}

TEST_F(TFormatChoiceTest, EveryRowOfAMultiAddConvertsWhatTheListsShowBeforeAndAfterSelection) {
    std::vector<std::string> files;
    for (const char* name : {"a.avi", "b.avi", "c.avi"})
        files.push_back(Media(fixtures::kTinyClipAvi, name));
    for (int key : {101, 303, 111}) {
        SCOPED_TRACE(key);
        Form1->btnClearClick();
        ChoosePreset(key);
        // A choice away from the preset's default as well.
        Form1->bsSkinComboBox3->SetItemIndex(0);
        const std::string options = Form1->CurrentOptionString();
        const std::vector<std::string> shown = ListValues();
        EXPECT_TRUE(AddMany(files).empty());
        ASSERT_EQ(RowCount(), 3);
        for (int round = 0; round <= 3; ++round) {
            if (round > 0) Reselect(round - 1);
            for (int r = 0; r < 3; ++r) {
                SCOPED_TRACE(testing::Message() << "round " << round << " row " << r);
                EXPECT_EQ(RowValues(r), shown);
                EXPECT_EQ(Cell(r, siOptionString), options);
            }
            EXPECT_EQ(Form1->CurrentOptionString(), options) << "the lists are restored";
        }
    }
}

TEST_F(TFormatChoiceTest, AVcdPresetLeavesTheVideoRateToItsTarget) {
    ChoosePreset(113);
    EXPECT_FALSE(Form1->bsSkinComboBox2->Enabled());
    EXPECT_GT(Form1->bsSkinComboBox2->Items().Count(), 1) << "the entries stay";
    EXPECT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, "a.avi")).empty());
    ASSERT_EQ(RowCount(), 1) << "SetOutputFile accepted the record";
    EXPECT_EQ(Cell(0, siVideoBitrate), "-1000");
    media::TOutputOptions unset;
    media::InitOutputOptions(unset);
    EXPECT_EQ(Form1->Rows().OutputOf(*Form1->Rows().Record(0)).VideoBitrate, unset.VideoBitrate);
    EXPECT_EQ(Form1->Rows().OutputOf(*Form1->Rows().Record(0)).TargetType, media::ttVCD);
    // Another preset unlocks the list.
    ChoosePreset(101);
    EXPECT_TRUE(Form1->bsSkinComboBox2->Enabled());
}

TEST_F(TFormatChoiceTest, ListTextsParseTheSameInEveryLocale) {
    struct TCase {
        TPresetParam Param;
        const char* Text;
        std::string Expected;
    };
    const TCase cases[] = {
        {catalogue::ppVideoBitrate, "1200 kbps", "1200000"},
        {catalogue::ppAudioBitrate, "12.2 kbps", "12200"},
        {catalogue::ppAudioBitrate, "128 kbps", "128000"},
        {catalogue::ppVideoBitrate, "无视频", "-1000"},
        {catalogue::ppFrameAspectRatio, "普通视频4:3模式", "4:3"},
        {catalogue::ppFrameAspectRatio, "宽屏视频16:9模式", "16:9"},
        {catalogue::ppFrameAspectRatio, "宽屏视频37:20模式", "37:20"},
        {catalogue::ppFrameAspectRatio, "宽屏视频47:20模式", "47:20"},
        {catalogue::ppFrameAspectRatio, "保持原视频模式", ""},
        {catalogue::ppFrameAspectRatio, "无视频", ""},
        {catalogue::ppFrameSize, "保持原分辨率", ""},
        {catalogue::ppFrameSize, "该格式无视频", ""},
        {catalogue::ppFrameSize, "1280*720", "1280*720"},
        {catalogue::ppFrameRate, "保持原帧速率", ""},
        {catalogue::ppFrameRate, "无视频", ""},
        {catalogue::ppFrameRate, "29.97", "29.97"},
        {catalogue::ppAudioSampleRate, "44100", "44100"},
    };
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        ASSERT_NE(std::setlocale(LC_NUMERIC, locale), nullptr) << locale << " is missing";
        for (const TCase& c : cases) {
            SCOPED_TRACE(testing::Message() << locale << " " << c.Text);
            catalogue::TWorkingSettings w;
            w.Video_FrameAspectRatio = "stale";
            catalogue::TakeOverListEntry(c.Param, c.Text, w);
            const std::string got =
                c.Param == catalogue::ppVideoBitrate      ? rtl::IntToStr(w.Video_VideoBitrate)
                : c.Param == catalogue::ppAudioBitrate    ? rtl::IntToStr(w.Video_AudioBitrate)
                : c.Param == catalogue::ppFrameSize       ? w.Video_FrameSize
                : c.Param == catalogue::ppFrameRate       ? w.Video_FrameRate
                : c.Param == catalogue::ppAudioSampleRate ? w.Video_AudioSampleRate
                                                          : w.Video_FrameAspectRatio;
            EXPECT_EQ(got, c.Expected);
        }
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST_F(TFormatChoiceTest, ASelectedRowFollowsEveryChoiceAndNoneChangesWithoutSelection) {
    EXPECT_TRUE(AddOne(Media(fixtures::kTinyClipAvi, "a.avi")).empty());
    ASSERT_EQ(Form1->lvFiles->ItemIndex(), 0);
    EXPECT_EQ(Cell(0, siOutputFile), "a.avi");

    Form1->bsSkinOfficeComboBox2->SetItemIndex(2);  // 常用音频, its first format: MP3
    EXPECT_EQ(Cell(0, siOutputFile), "a.mp3");
    EXPECT_EQ(Cell(0, siChoiceKey), "300");
    EXPECT_EQ(Cell(0, siDisableVideo), "True");
    for (const catalogue::TSubItemText& t : catalogue::DefaultsWriteBack(Form1->Work))
        if (t.SubItem < siFrameSize || t.SubItem > siFrameAspectRatio)
            EXPECT_EQ(Cell(0, t.SubItem), t.Text) << t.SubItem;
    EXPECT_EQ(RowValues(0), ListValues());

    Form1->bsSkinOfficeComboBox2->SetItemIndex(0);
    const int kbps1200 = EntryIndex(Form1->bsSkinComboBox2, "1200 kbps");
    Form1->bsSkinComboBox2->SetItemIndex(kbps1200);
    EXPECT_EQ(Cell(0, siVideoBitrate), "1200000");
    EXPECT_EQ(Cell(0, siOptionString).substr(2, 2),
              (kbps1200 < 10 ? "0" : "") + std::to_string(kbps1200));
    Form1->bsSkinComboBox4->SetItemIndex(EntryIndex(Form1->bsSkinComboBox4, "宽屏视频16:9模式"));
    EXPECT_EQ(Cell(0, siFrameAspectRatio), "16:9");
    Form1->bsSkinComboBox4->SetItemIndex(EntryIndex(Form1->bsSkinComboBox4, "保持原视频模式"));
    EXPECT_EQ(Cell(0, siFrameAspectRatio), "");

    // Without a selection the lists prepare the next add only.
    Form1->lvFiles->SetItemIndex(-1);
    const std::vector<std::string> before = WholeRow(0);
    Form1->bsSkinOfficeComboBox2->SetItemIndex(2);
    Form1->bsSkinComboBox3->SetItemIndex(0);
    EXPECT_EQ(WholeRow(0), before);

    // A row whose option pairs do not parse restores nothing, quietly.
    Form1->lvFiles->Items().Item(0)->SubItems().Put(siOptionString, "0-1020304050");
    const int category = Form1->bsSkinOfficeComboBox2->ItemIndex();
    const std::string options = Form1->CurrentOptionString();
    EXPECT_TRUE(Boxes([] { Form1->lvFiles->SetItemIndex(0); }).empty());
    EXPECT_EQ(Form1->bsSkinOfficeComboBox2->ItemIndex(), category);
    EXPECT_EQ(Form1->CurrentOptionString(), options);
    Form1->lvFiles->SetItemIndex(-1);
    Form1->lvFiles->Items().Item(0)->SubItems().Put(siChoiceKey, "x");
    EXPECT_TRUE(Boxes([] { Form1->lvFiles->SetItemIndex(0); }).empty());
    EXPECT_EQ(Form1->bsSkinOfficeComboBox2->ItemIndex(), category);
}

}  // namespace
}  // namespace app::test
