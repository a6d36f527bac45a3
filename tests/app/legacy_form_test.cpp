// The legacy settings dialog: what start-up leaves in it and in the main window, the event
// chain of its real office combo boxes, and its routines reached through their buttons: the
// format list, the parameter lists, the list texts, the preset defaults with the output name,
// the reset, OK and Cancel.
#include <clocale>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/legacy_catalogue.h"
#include "app_test_support.h"
#include "platform/rtl/exception.h"

namespace app::test {
namespace {

using V = std::vector<std::string>;

// Every working field of the main window as text, in a fixed order.
V Fields() {
    const catalogue::TWorkingSettings& w = Form1->Work;
    return {w.Video_OutPutFileName,
            w.Video_AddFileName,
            w.Video_FileExt,
            w.Video_AudioChannels,
            w.Video_AudioSampleRate,
            w.Video_FrameSize,
            w.Video_FrameRate,
            w.Video_NormType,
            w.Video_VideoFilters,
            w.Video_AudioVolume,
            w.Video_FrameAspectRatio,
            w.Video_VideoCodec,
            w.Video_AudioCodec,
            w.Video_CopyTimestamp,
            w.Video_FileFormat,
            w.Video_TargetType,
            w.Video_VideoTag,
            std::to_string(w.Video_VideoBitrate),
            std::to_string(w.Video_AudioBitrate),
            std::to_string(w.Video_DisableVideo),
            std::to_string(w.All_Trant_Number),
            std::to_string(Form1->Video_TimeStart),
            std::to_string(Form1->Video_TimeLength)};
}

// Gives every working field a value no routine writes, so a written field shows.
void FillWithMarks() {
    catalogue::TWorkingSettings& w = Form1->Work;
    for (std::string* s :
         {&w.Video_OutPutFileName, &w.Video_FileExt, &w.Video_AudioChannels,
          &w.Video_AudioSampleRate, &w.Video_FrameSize, &w.Video_FrameRate, &w.Video_NormType,
          &w.Video_VideoFilters, &w.Video_AudioVolume, &w.Video_FrameAspectRatio,
          &w.Video_VideoCodec, &w.Video_AudioCodec, &w.Video_CopyTimestamp, &w.Video_FileFormat,
          &w.Video_TargetType, &w.Video_VideoTag})
        *s = "mark";
    w.Video_AddFileName = "/v/clip.mkv";
    w.Video_VideoBitrate = 11;
    w.Video_AudioBitrate = 22;
    w.Video_DisableVideo = true;
    w.All_Trant_Number = 33;
    Form1->Video_TimeStart = 44;
    Form1->Video_TimeLength = 55;
}

V Items(skin::TbsSkinComboBox* box) {
    V out;
    for (int i = 0; i < box->Items().Count(); ++i) out.push_back(box->Items().Get(i));
    return out;
}

V Titles(skin::TbsSkinOfficeComboBox* box) {
    V out;
    for (int i = 0; i < box->Items().Count(); ++i) out.push_back(box->Items()[i]->Title());
    return out;
}

class LegacyFormTest : public TAppTest {
public:
    // The six lists in parameter order.
    std::vector<skin::TbsSkinComboBox*> Lists() const {
        return {Form6->bsSkinComboBox1, Form6->bsSkinComboBox2,  Form6->bsSkinComboBox9,
                Form6->bsSkinComboBox3, Form6->bsSkinComboBox10, Form6->bsSkinComboBox4};
    }
    // The category and format lists set from code, which runs the form's own chain.
    void Choose(int key) {
        Form6->bsSkinOfficeComboBox2->SetItemIndex(key / 100 - 1);
        Form6->bsSkinOfficeComboBox1->SetItemIndex(key % 100);
        ASSERT_EQ(Form1->Work.All_Trant_Number, key);
    }
    // Selects the entry with this text in a list.
    static void Select(skin::TbsSkinComboBox* box, const std::string& text) {
        const int index = box->Items().IndexOf(text);
        ASSERT_GE(index, 0) << text;
        box->SetItemIndex(index);
    }
};

// The list events are bound before the form data's index writes; had loading let those writes
// fire, they would have clicked command buttons not made yet, and start-up would not get here.
TEST_F(LegacyFormTest, StartUpLeavesTheHiddenFormOnCategoryZeroAndPreset100) {
    Start();
    ASSERT_NE(Form6, nullptr);
    EXPECT_FALSE(Form6->Visible());
    EXPECT_EQ(Form6->Caption(), "设置选项");
    EXPECT_EQ(Form6->ClientWidth(), 958);
    EXPECT_EQ(Form6->ClientHeight(), 474);

    EXPECT_EQ(Form6->bsSkinOfficeComboBox2->Items().Count(), 12);
    EXPECT_EQ(Form6->bsSkinOfficeComboBox2->ItemIndex(), 0);
    EXPECT_EQ(Form6->bsSkinOfficeComboBox2->Items()[11]->Caption(), "Flash视频");
    EXPECT_EQ(Form6->bsSkinOfficeComboBox2->Images(), Form6->ImageList1);
    EXPECT_EQ(Form6->ImageList1->Count(), 12);
    EXPECT_EQ(Form6->ImageList1->Width(), 32);
    EXPECT_EQ(Form6->ImageList2->Count(), 0);
    EXPECT_EQ(Form6->bsSkinOfficeComboBox1->Images(), nullptr);

    V titles;
    for (const legacy::TLegacyPreset& p : legacy::LegacyPresetsOfCategory(0))
        titles.push_back(p.Title);
    EXPECT_EQ(Titles(Form6->bsSkinOfficeComboBox1), titles) << "the placeholder is gone";
    EXPECT_EQ(Form6->bsSkinOfficeComboBox1->ItemIndex(), 0);

    const struct {
        int Count;
        const char* Text;
    } expected[] = {{28, "保持原分辨率"}, {8, "816 kbps"}, {12, "25.00"},
                    {17, "128 kbps"},     {6, "44100"},    {5, "保持原视频模式"}};
    for (int p = 0; p < 6; ++p) {
        skin::TbsSkinComboBox* box = Lists()[std::size_t(p)];
        SCOPED_TRACE(box->Name());
        EXPECT_EQ(box->Items().Count(), expected[p].Count);
        EXPECT_EQ(box->Text(), expected[p].Text);
        EXPECT_TRUE(box->Enabled());
    }
    EXPECT_EQ(Form1->Work.All_Trant_Number, 100);
    EXPECT_FALSE(Form1->Work.Video_DisableVideo);
}

TEST_F(LegacyFormTest, TheControlsStandWhereTheFormDataPutsThem) {
    Start();
    TForm6* f = Form6;
    const struct {
        vcl::TControl* Control;
        vcl::TWinControl* Parent;
        int Left, Top, Width, Height;
        int TabOrder;  // -1: not a window
    } cases[] = {
        {f->bsSkinPanel2, f, 39, 36, 625, 109, 0},
        {f->Panel1, f, 690, 161, 305, 305, 1},
        {f->bsSkinPageControl1, f, 39, 171, 625, 222, 2},
        {f->bsSkinButton3, f, 594, 416, 69, 25, 3},
        {f->bsSkinButton2, f, 480, 416, 69, 25, 4},
        {f->bsSkinOfficeComboBox1, f->bsSkinPanel2, 215, 33, 400, 51, 0},
        {f->bsSkinOfficeComboBox2, f->bsSkinPanel2, 83, 33, 126, 51, 1},
        {f->bsSkinButton1, f->bsSkinPanel2, 621, 139, 55, 51, 2},
        {f->Button6, f->Panel1, 32, 47, 75, 25, 0},
        {f->Button5, f->Panel1, 113, 47, 126, 25, 1},
        {f->Button7, f->Panel1, 230, 47, 75, 25, 2},
        {f->Button2, f->Panel1, 32, 78, 104, 25, 3},
        {f->Button13, f->Panel1, 32, 109, 113, 25, 4},
        {f->Button11, f->Panel1, 151, 78, 95, 25, 5},
        {f->Button18, f->Panel1, 42, 163, 143, 25, 6},
        {f->Image1, f->Panel1, 46, 158, 171, 103, -1},
        {f->bsSkinComboBox1, f->bsSkinTabSheet1, 16, 43, 289, 20, 0},
        {f->bsSkinComboBox2, f->bsSkinTabSheet1, 342, 43, 251, 20, 1},
        {f->bsSkinComboBox9, f->bsSkinTabSheet1, 14, 88, 291, 20, 2},
        {f->bsSkinComboBox3, f->bsSkinTabSheet1, 16, 133, 289, 20, 3},
        {f->bsSkinComboBox10, f->bsSkinTabSheet1, 342, 133, 251, 20, 4},
        {f->bsSkinComboBox4, f->bsSkinTabSheet1, 342, 88, 251, 20, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Control->Name());
        EXPECT_EQ(c.Control->Parent(), c.Parent);
        EXPECT_EQ(c.Control->Left(), c.Left);
        EXPECT_EQ(c.Control->Top(), c.Top);
        EXPECT_EQ(c.Control->Width(), c.Width);
        EXPECT_EQ(c.Control->Height(), c.Height);
        if (auto* w = dynamic_cast<vcl::TWinControl*>(c.Control))
            EXPECT_EQ(w->TabOrder(), c.TabOrder);
    }
    const struct {
        skin::TbsSkinControl* Control;
        const char* Record;
    } skinned[] = {{f->bsSkinPanel2, "panel"},
                   {f->bsSkinOfficeComboBox1, "combobox"},
                   {f->bsSkinOfficeComboBox2, "combobox"},
                   {f->bsSkinComboBox1, "combobox"},
                   {f->bsSkinComboBox4, "combobox"},
                   {f->bsSkinButton2, "button"},
                   {f->bsSkinButton3, "button"}};
    for (const auto& c : skinned) {
        EXPECT_EQ(c.Control->SkinDataName(), c.Record) << c.Control->Name();
        EXPECT_EQ(c.Control->SkinData(), Form1->bsSkinData1) << c.Control->Name();
    }
    EXPECT_EQ(f->bsSkinOfficeComboBox1->ListBoxSkinDataName(), "listbox");
    EXPECT_EQ(f->bsSkinOfficeComboBox2->ListBoxSkinDataName(), "resizetoolpanel");
    EXPECT_EQ(f->bsSkinPageControl1->SkinDataName(), "tab");
    EXPECT_EQ(f->bsSkinPageControl1->ActivePage(), f->bsSkinTabSheet1);
    EXPECT_EQ(f->bsSkinPageControl1->PageCount(), 4);
    EXPECT_EQ(f->滤镜设置->Caption(), "滤镜设置");
    // The hidden settings button alone goes without skin data.
    EXPECT_FALSE(f->bsSkinButton1->Visible());
    EXPECT_EQ(f->bsSkinButton1->SkinData(), nullptr);
    EXPECT_EQ(f->bsSkinButton1->SkinDataName(), "resizebutton");
    EXPECT_EQ(f->bsSkinForm1->SkinData(), Form1->bsSkinData1);
    EXPECT_EQ(f->bsSkinOfficeComboBox1->OnChange, nullptr);
    EXPECT_EQ(f->bsSkinOfficeComboBox2->OnClick, nullptr);
    EXPECT_EQ(f->Button7->OnClick, nullptr);
    EXPECT_EQ(f->Button11->OnClick, nullptr);
}

TEST_F(LegacyFormTest, CreatingTheFormWritesOnlyTheKeyAndTheVideoFlag) {
    Services().Settings = TSettingsFile(ChooseSettingsPath());
    vcl::Application->CreateForm(Form1);
    vcl::Application->CreateForm(Form2);
    vcl::Application->CreateForm(Form5);
    FillWithMarks();
    V expected = Fields();
    vcl::Application->CreateForm(Form6);
    expected[19] = "0";    // Video_DisableVideo
    expected[20] = "100";  // All_Trant_Number
    EXPECT_EQ(Fields(), expected);
}

TEST_F(LegacyFormTest, TheRealOfficeListsRunTheChainInOrder) {
    Start();
    V events;
    const auto record = [&](vcl::TNotifyEvent& event, const std::string& name) {
        event = [&events, name, old = event](vcl::TObject* sender) {
            events.push_back(name);
            if (old) old(sender);
        };
    };
    record(Form6->bsSkinOfficeComboBox2->OnClick, "categories click");
    record(Form6->bsSkinOfficeComboBox2->OnChange, "categories change");
    record(Form6->bsSkinOfficeComboBox1->OnClick, "formats click");
    record(Form6->bsSkinOfficeComboBox1->OnChange, "formats change");
    record(Form6->Button2->OnClick, "Button2");
    record(Form6->Button18->OnClick, "Button18");

    Form6->bsSkinOfficeComboBox1->SetItemIndex(3);
    EXPECT_EQ(events, (V{"formats click", "Button18", "formats change"}));
    EXPECT_EQ(Form1->Work.All_Trant_Number, 103);
    events.clear();
    // The same index again: every write counts.
    Form6->bsSkinOfficeComboBox1->SetItemIndex(3);
    EXPECT_EQ(events, (V{"formats click", "Button18", "formats change"}));
    events.clear();
    Form6->bsSkinOfficeComboBox2->SetItemIndex(2);
    EXPECT_EQ(events, (V{"categories click", "categories change", "Button2", "formats click",
                         "Button18", "formats change"}));
    EXPECT_EQ(Form6->bsSkinOfficeComboBox1->Items().Count(), 10);
    EXPECT_EQ(Form1->Work.All_Trant_Number, 300);
}

TEST_F(LegacyFormTest, TheFormatListFillsForTheChosenCategory) {
    Start();
    const struct { int Category, Count; } cases[] = {{11, 4}, {1, 13}, {0, 15}, {6, 14}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Category);
        Form6->bsSkinOfficeComboBox2->SetItemIndex(c.Category);
        skin::TbsSkinOfficeComboBox* formats = Form6->bsSkinOfficeComboBox1;
        ASSERT_EQ(formats->Items().Count(), c.Count);
        EXPECT_EQ(formats->ItemIndex(), 0);
        const std::span<const legacy::TLegacyPreset> presets =
            legacy::LegacyPresetsOfCategory(c.Category);
        for (int i = 0; i < c.Count; ++i) {
            EXPECT_EQ(formats->Items()[i]->Title(), presets[std::size_t(i)].Title);
            EXPECT_EQ(formats->Items()[i]->Caption(), presets[std::size_t(i)].Caption);
            EXPECT_EQ(formats->Items()[i]->ImageIndex(), presets[std::size_t(i)].ImageIndex);
        }
        EXPECT_EQ(Form1->Work.All_Trant_Number, (c.Category + 1) * 100);
        // Again for the same category: the same list, not a doubled one.
        Form6->Button2->Click();
        EXPECT_EQ(formats->Items().Count(), c.Count);
    }
    Form6->bsSkinOfficeComboBox2->SetItemIndex(1);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(Form6->bsSkinOfficeComboBox1->Items()[i]->ImageIndex(), i);
}

TEST_F(LegacyFormTest, ACategoryWithoutPresetsEmptiesTheListsAndStillRunsTheParameterFill) {
    Start();
    // A thirteenth entry that the catalogue does not know.
    Form6->bsSkinOfficeComboBox2->Items().Add()->SetCaption("extra");
    const struct { int Category, Key; } cases[] = {{-1, 0}, {12, 1300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Category);
        Choose(212);  // an audio-only preset leaves four lists disabled
        Form1->Work.All_Trant_Number = 7;
        Form1->Work.Video_DisableVideo = true;
        Form6->bsSkinOfficeComboBox2->SetItemIndex(c.Category);
        EXPECT_EQ(Form6->bsSkinOfficeComboBox1->Items().Count(), 0);
        EXPECT_EQ(Form6->bsSkinOfficeComboBox1->ItemIndex(), 0);
        EXPECT_EQ(Form1->Work.All_Trant_Number, c.Key);
        EXPECT_FALSE(Form1->Work.Video_DisableVideo);
        for (skin::TbsSkinComboBox* box : Lists()) {
            EXPECT_EQ(box->Items().Count(), 0) << box->Name();
            EXPECT_TRUE(box->Enabled()) << box->Name();
        }
    }
}

TEST_F(LegacyFormTest, EveryPresetFillsItsChoicesAndSelectsItsDefaults) {
    Start();
    for (const legacy::TLegacyChoiceRow& row : legacy::LegacyChoiceTable()) {
        SCOPED_TRACE(row.PresetKey);
        Form1->Work.Video_DisableVideo = true;
        Choose(row.PresetKey);
        EXPECT_FALSE(Form1->Work.Video_DisableVideo);
        for (int p = 0; p < 6; ++p) {
            skin::TbsSkinComboBox* box = Lists()[std::size_t(p)];
            const legacy::TLegacyChoice& choice = row.Choices[std::size_t(p)];
            EXPECT_EQ(Items(box), V(choice.List->Entries.begin(), choice.List->Entries.end()))
                << box->Name();
            EXPECT_EQ(box->ItemIndex(), choice.DefaultIndex) << box->Name();
            // The audio lists stay usable for an audio-only preset.
            EXPECT_EQ(box->Enabled(), !row.AudioOnly() || p == 3 || p == 4) << box->Name();
        }
    }
}

TEST_F(LegacyFormTest, ParameterListsForSomePresets) {
    Start();
    Choose(212);
    EXPECT_EQ(Items(Form6->bsSkinComboBox1), V{"该格式无视频"});
    for (skin::TbsSkinComboBox* box :
         {Form6->bsSkinComboBox2, Form6->bsSkinComboBox9, Form6->bsSkinComboBox4})
        EXPECT_EQ(Items(box), V{"无视频"}) << box->Name();
    EXPECT_EQ(Form6->bsSkinComboBox3->Text(), "7.4 kbps");
    EXPECT_EQ(Items(Form6->bsSkinComboBox10), V{"8000"});
    for (skin::TbsSkinComboBox* box : {Form6->bsSkinComboBox1, Form6->bsSkinComboBox2,
                                       Form6->bsSkinComboBox9, Form6->bsSkinComboBox4})
        EXPECT_FALSE(box->Enabled()) << box->Name();

    // A video preset after the audio one.
    Choose(411);
    EXPECT_EQ(Form6->bsSkinComboBox1->Text(), "640*272");
    EXPECT_EQ(Form6->bsSkinComboBox4->Text(), "宽屏视频16:9模式");
    for (skin::TbsSkinComboBox* box : Lists()) EXPECT_TRUE(box->Enabled()) << box->Name();

    // Twice for one key: the same lists.
    Form6->Button18->Click();
    EXPECT_EQ(Form6->bsSkinComboBox1->Items().Count(), 12);
    EXPECT_EQ(Form6->bsSkinComboBox3->Items().Count(), 5);
}

// Button13 for the lists as they stand, from marked fields.
V ListTextsWritten() {
    FillWithMarks();
    Form6->Button13->Click();
    const catalogue::TWorkingSettings& w = Form1->Work;
    return {w.Video_FrameSize,
            w.Video_FrameRate,
            std::to_string(w.Video_VideoBitrate),
            w.Video_AudioSampleRate,
            std::to_string(w.Video_AudioBitrate),
            w.Video_FrameAspectRatio};
}

TEST_F(LegacyFormTest, TheListTextsBecomeFields) {
    Start();
    EXPECT_EQ(ListTextsWritten(), (V{"", "25.00", "816000", "44100", "128000", ""}));
    Choose(212);
    EXPECT_EQ(ListTextsWritten(), (V{"", "", "-1000", "8000", "7400", ""}));
    Choose(109);
    Select(Form6->bsSkinComboBox1, "320*240");
    Select(Form6->bsSkinComboBox9, "15");
    Select(Form6->bsSkinComboBox2, "56 kbps");
    Select(Form6->bsSkinComboBox4, "普通视频4:3模式");
    EXPECT_EQ(ListTextsWritten(), (V{"320*240", "15", "56000", "8000", "12000", "4:3"}));

    Choose(100);
    const struct {
        const char* Text;
        const char* Value;
    } aspects[] = {{"保持原视频模式", ""},
                   {"普通视频4:3模式", "4:3"},
                   {"宽屏视频16:9模式", "16:9"},
                   {"宽屏视频37:20模式", "37:20"},
                   {"宽屏视频47:20模式", "47:20"}};
    for (const auto& a : aspects) {
        Select(Form6->bsSkinComboBox4, a.Text);
        EXPECT_EQ(ListTextsWritten()[5], a.Value) << a.Text;
    }
    // A text the routine does not know leaves the field alone.
    Form6->bsSkinComboBox4->Items().Add("其它模式");
    Select(Form6->bsSkinComboBox4, "其它模式");
    EXPECT_EQ(ListTextsWritten()[5], "mark");
}

void ExpectAmrRatesWithoutRoundingErrors() {
    Form6->bsSkinOfficeComboBox2->SetItemIndex(1);
    Form6->bsSkinOfficeComboBox1->SetItemIndex(12);
    const struct {
        const char* Text;
        int Value;
    } cases[] = {{"4.75 kbps", 4750},  {"5.15 kbps", 5150}, {"5.9 kbps", 5900},
                 {"6.7 kbps", 6700},   {"7.4 kbps", 7400},  {"7.95 kbps", 7950},
                 {"10.2 kbps", 10200}, {"12.2 kbps", 12200}};
    for (const auto& c : cases) {
        LegacyFormTest::Select(Form6->bsSkinComboBox3, c.Text);
        Form6->Button13->Click();
        EXPECT_EQ(Form1->Work.Video_AudioBitrate, c.Value) << c.Text;
    }
}

TEST_F(LegacyFormTest, DecimalAudioRatesGoThroughTheirDigits) {
    Start();
    ExpectAmrRatesWithoutRoundingErrors();
}

TEST_F(LegacyFormTest, DecimalAudioRatesIgnoreADecimalCommaLocale) {
    Start();
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    // scripts/deps makes this locale; without it the check would prove nothing.
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing (scripts/deps generates it)";
    ExpectAmrRatesWithoutRoundingErrors();
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST_F(LegacyFormTest, AnAudioRateListWithoutASelectionStopsAfterTheEarlierFields) {
    Start();
    Form6->bsSkinComboBox3->Items().Clear();
    Form6->bsSkinComboBox3->SetText("");
    FillWithMarks();
    EXPECT_THROW(Form6->Button13->Click(), rtl::EConvertError);
    const catalogue::TWorkingSettings& w = Form1->Work;
    EXPECT_EQ(w.Video_FrameSize, "");
    EXPECT_EQ(w.Video_FrameRate, "25.00");
    EXPECT_EQ(w.Video_VideoBitrate, 816000);
    EXPECT_EQ(w.Video_AudioSampleRate, "44100");
    EXPECT_EQ(w.Video_AudioBitrate, 22) << "not written";
    EXPECT_EQ(w.Video_FrameAspectRatio, "mark") << "not reached";
}

TEST_F(LegacyFormTest, APresetsDefaultsAndTheOutputName) {
    Start();
    Form1->Video_OutPut_Folder_Edit->SetText("/out");
    const struct {
        int Key;
        const char* Input;
        V Fields;  // a field the preset leaves shows "mark", the bit rates 11 and 22
    } cases[] = {
        {100,
         "/v/clip.mkv",
         {"/out/clip.avi", ".avi", "mpeg4", "XVID", "", "25", "", "816000", "", "libmp3lame", "2",
          "44100", "256", "128000", "", "", "", "", "0"}},
        {100,
         "/v/clip.tar.mkv",
         {"/out/clip.tar.avi", ".avi", "mpeg4", "XVID", "", "25", "", "816000", "", "libmp3lame",
          "2", "44100", "256", "128000", "", "", "", "", "0"}},
        {101,
         "clip",
         {"/out/clip.mp4", ".mp4", "mpeg4", "", "", "25", "", "816000", "", "libmp3lame", "2",
          "44100", "256", "128000", "", "", "", "", "0"}},
        {200,
         "/v/song.wav",
         {"/out/song.mp3", ".mp3", "mark", "mark", "mark", "mark", "mark", "11", "mark",
          "libmp3lame", "2", "48000", "256", "128000", "", "", "", "", "1"}},
        {114,
         "/v/clip.mkv",
         {"/out/clip.rm", "mark", "rv20", "mark", "320*240", "mark", "mark", "11", "mark", "mark",
          "mark", "mark", "mark", "22", "", "", "", "", "0"}},
        {111,
         "/v/clip.mkv",
         {"/out/clip.mpg", "mark", "", "", "", "", "", "-1000", "mark", "", "", "", "256", "-1000",
          "PAL", "mark", "", "dvd", "0"}},
        {108,
         "/v/clip.mkv",
         {"/out/clip.asf", ".asf", "msmpeg4", "", "", "25", "", "816000", "", "wmav2", "2", "44100",
          "256", "128000", "", "", "asf", "", "0"}},
        {305,
         "/v/clip.mkv",
         {"/out/clip.asf", ".asf", "msmpeg4", "mark", "1280*720", "25", "", "1600000", "", "wmav2",
          "2", "48000", "256", "128000", "", "", "asf", "", "0"}},
        {504,
         "/v/clip.mkv",
         {"/out/clip.mp4", ".mp4", "mpeg4", "XVID", "320*240", "25", "", "600000", "", "libfaac",
          "2", "48000", "256", "128000", "", "", "", "", "0"}},
        {1202,
         "/v/clip.mkv",
         {"/out/clip.flv", "mark", "mark", "mark", "mark", "mark", "mark", "11", "mark",
          "libmp3lame", "2", "22050", "256", "128000", "", "", "", "", "1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Key);
        Choose(c.Key);
        FillWithMarks();
        Form1->Work.Video_AddFileName = c.Input;
        Form6->Button5->Click();
        const catalogue::TWorkingSettings& w = Form1->Work;
        EXPECT_EQ((V{w.Video_OutPutFileName, w.Video_FileExt, w.Video_VideoCodec, w.Video_VideoTag,
                     w.Video_FrameSize, w.Video_FrameRate, w.Video_FrameAspectRatio,
                     std::to_string(w.Video_VideoBitrate), w.Video_VideoFilters, w.Video_AudioCodec,
                     w.Video_AudioChannels, w.Video_AudioSampleRate, w.Video_AudioVolume,
                     std::to_string(w.Video_AudioBitrate), w.Video_NormType, w.Video_CopyTimestamp,
                     w.Video_FileFormat, w.Video_TargetType, std::to_string(w.Video_DisableVideo)}),
                  c.Fields);
        EXPECT_EQ(w.All_Trant_Number, c.Key);
        EXPECT_EQ(w.Video_AddFileName, c.Input);
        EXPECT_EQ(Form1->Video_TimeStart, 44);
        EXPECT_EQ(Form1->Video_TimeLength, 55);
    }
}

TEST_F(LegacyFormTest, TheOutputNameIsMadeUniqueOnDiskUnlessOverwriting) {
    Start();
    testsupport::TTempDir out;
    testsupport::WriteFile(out.File("clip.avi"), "");
    testsupport::WriteFile(out.File("clip_1.avi"), "");
    Form1->Video_OutPut_Folder_Edit->SetText(out.Path());
    Form1->Work.Video_AddFileName = "/v/clip.mkv";

    Form5->bsSkinCheckRadioBox6->SetChecked(true);
    Form6->Button5->Click();
    EXPECT_EQ(Form1->Work.Video_OutPutFileName, out.File("clip_2.avi"));
    Form5->bsSkinCheckRadioBox3->SetChecked(true);
    Form6->Button5->Click();
    EXPECT_EQ(Form1->Work.Video_OutPutFileName, out.File("clip.avi"));

    // The folder text is used as it stands, a trailing delimiter included.
    Form1->Video_OutPut_Folder_Edit->SetText("/out/");
    Form6->Button5->Click();
    EXPECT_EQ(Form1->Work.Video_OutPutFileName, "/out//clip.avi");

    // Without a row only the held name is made unique, in the current folder.
    Form5->bsSkinCheckRadioBox6->SetChecked(true);
    Form1->Video_OutPut_Folder_Edit->SetText(out.Path());
    Form6->bsSkinOfficeComboBox2->SetItemIndex(-1);
    FillWithMarks();
    Form1->Work.Video_OutPutFileName = "/elsewhere/clip.avi";
    V expected = Fields();
    Form6->Button5->Click();
    expected[0] = out.File("clip_2.avi");
    expected[19] = "0";  // Video_DisableVideo
    expected[20] = "0";  // All_Trant_Number
    EXPECT_EQ(Fields(), expected);
}

TEST_F(LegacyFormTest, OkAppliesDefaultsThenListsAndHidesCancelChangesNothing) {
    Start();
    Form1->Video_OutPut_Folder_Edit->SetText("/out");
    Choose(109);
    Select(Form6->bsSkinComboBox1, "320*240");
    FillWithMarks();
    Form6->Show();
    Run();
    Form6->bsSkinButton2->ButtonClick();
    Run();
    EXPECT_FALSE(Form6->Visible());
    const catalogue::TWorkingSettings& w = Form1->Work;
    EXPECT_EQ(w.Video_OutPutFileName, "/out/clip.3gp");
    EXPECT_EQ(w.Video_VideoCodec, "mpeg4") << "from the defaults";
    EXPECT_EQ(w.Video_FrameSize, "320*240") << "the list overrides the default 176*144";
    EXPECT_EQ(w.Video_FrameAspectRatio, "") << "保持原视频模式 overrides the default 4:3";
    EXPECT_EQ(w.Video_AudioBitrate, 12000);

    FillWithMarks();
    const V before = Fields();
    Form6->Show();
    Run();
    Form6->bsSkinButton3->ButtonClick();
    Run();
    EXPECT_FALSE(Form6->Visible());
    EXPECT_EQ(Fields(), before);
}

TEST_F(LegacyFormTest, TheResetKeepsTheInputAndEmptiesTheRest) {
    Start();
    FillWithMarks();
    Form6->Button6->Click();
    EXPECT_EQ(Fields(), (V{"", "/v/clip.mkv", "",   "",  "",   "",   "",  "",
                           "", "256",         "",   "",  "",   "",   "",  "",
                           "", "-1",          "-1", "0", "33", "-1", "-1"}));
}

}  // namespace
}  // namespace app::test
