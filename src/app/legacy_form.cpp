#include "app/legacy_form.h"

#include <cstdint>
#include <string>

#include "app/app_pictures.h"
#include "app/legacy_catalogue.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "catalogue/choice_lists.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"

namespace app {

TForm6* Form6 = nullptr;

namespace {

using catalogue::BitrateUnset;

gfx::TFont SongTi() {
    gfx::TFont font;
    font.SetName("宋体");
    font.SetHeight(-12);
    return font;
}

// The number before the first "kbps", blanks trimmed; empty when the text has no "kbps", so the
// conversion that follows fails as the old dialog's did.
std::string KbpsNumber(const std::string& text) {
    const std::size_t at = text.find("kbps");
    return at == std::string::npos ? std::string() : rtl::Trim(text.substr(0, at));
}

int VideoBitrateOf(const std::string& text) {
    return int(std::int64_t(rtl::StrToInt(KbpsNumber(text))) * 1000);
}

// "4.75 kbps" goes through the 15-digit text of 4750.0, never through the locale.
int AudioBitrateOf(const std::string& text) {
    const std::string number = KbpsNumber(text);
    if (number.find('.') == std::string::npos)
        return int(std::int64_t(rtl::StrToInt(number)) * 1000);
    return rtl::StrToInt(rtl::FloatToStr(rtl::StrToFloat(number) * 1000.0));
}

void Store(std::string& field, const char* value) {
    if (value) field = value;
}

template <class T>
void Store(T& field, const std::optional<T>& value) {
    if (value) field = *value;
}

// The row's fields into the working settings; kKeep fields stay as they are.
void StoreDefaults(const legacy::TLegacyDefaults& d, catalogue::TWorkingSettings& w) {
    Store(w.Video_FileExt, d.FileExt);
    Store(w.Video_VideoCodec, d.VideoCodec);
    Store(w.Video_VideoTag, d.VideoTag);
    Store(w.Video_FrameSize, d.FrameSize);
    Store(w.Video_FrameRate, d.FrameRate);
    Store(w.Video_FrameAspectRatio, d.FrameAspectRatio);
    Store(w.Video_VideoBitrate, d.VideoBitrate);
    Store(w.Video_VideoFilters, d.VideoFilters);
    Store(w.Video_AudioCodec, d.AudioCodec);
    Store(w.Video_AudioChannels, d.AudioChannels);
    Store(w.Video_AudioSampleRate, d.AudioSampleRate);
    Store(w.Video_AudioVolume, d.AudioVolume);
    Store(w.Video_AudioBitrate, d.AudioBitrate);
    Store(w.Video_NormType, d.NormType);
    Store(w.Video_CopyTimestamp, d.CopyTimestamp);
    Store(w.Video_FileFormat, d.FileFormat);
    Store(w.Video_TargetType, d.TargetType);
    Store(w.Video_DisableVideo, d.DisableVideo);
}

}  // namespace

TForm6::TForm6(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {
    BeginLoading();
    SetName("Form6");
    SetCaption("设置选项");
    SetBorderStyle(vcl::bsSingle);
    SetBorderIcons({});
    SetPosition(vcl::poMainFormCenter);
    SetLeft(197);
    SetTop(218);
    SetClientWidth(958);
    SetClientHeight(474);
    SetColor(gfx::clBtnFace);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);

    bsSkinForm1 = new skin::TbsSkinForm(this);
    bsSkinForm1->SetSkinData(Form1->bsSkinData1);
    bsSkinForm1->SetBorderIcons(
        {skin::biSystemMenu, skin::biMinimize, skin::biMaximize, skin::biRollUp});

    // Made with the form and freed with it; it loads nothing and starts no thread.
    FFTasks = std::make_unique<media::TFFTaskManager>();

    ImageList1 = new vcl::TImageList(this, 32, 32);
    ImageList1->SetName("ImageList1");
    for (int i = 0; i < legacy::kLegacyCategoryCount; ++i) {
        gfx::TPngImage picture;
        LoadAppPicture("legacy" + std::to_string(i), picture);
        gfx::TBitmap bitmap;
        bitmap.FromImage(picture.ToImage(), gfx::pf32bit);
        ImageList1->Add(&bitmap, nullptr);
    }
    ImageList2 = new vcl::TImageList(this, 32, 32);
    ImageList2->SetName("ImageList2");

    BuildSettingsPanel();
    BuildCommandPanel();
    BuildPages();
    BuildButtons();
    bsSkinPanel2->SetTabOrder(0);
    Panel1->SetTabOrder(1);
    bsSkinPageControl1->SetTabOrder(2);
    bsSkinButton3->SetTabOrder(3);
    bsSkinButton2->SetTabOrder(4);

    OnCreate = [this](vcl::TObject*) { FormCreate(); };
    EndLoading();
}

TForm6::~TForm6() {
    if (Form6 == this) Form6 = nullptr;
}

skin::TbsSkinTextLabel* TForm6::MakeLabel(vcl::TWinControl* parent, const std::string& name,
                                          const std::string& text, int left, int top) {
    auto* l = new skin::TbsSkinTextLabel(this);
    l->SetName(name);
    l->SetParent(parent);
    l->SetLeft(left);
    l->SetTop(top);
    l->Lines().Add(text);
    l->SetSkinData(Form1->bsSkinData1);
    return l;
}

void TForm6::BuildSettingsPanel() {
    bsSkinPanel2 = new skin::TbsSkinPanel(this);
    bsSkinPanel2->SetName("bsSkinPanel2");
    bsSkinPanel2->SetParent(this);
    bsSkinPanel2->SetBounds(39, 36, 625, 109);
    bsSkinPanel2->SetCaption("bsSkinPanel2");
    bsSkinPanel2->SetBorderStyle(skin::bvFrame);
    bsSkinPanel2->SetSkinDataName("panel");
    bsSkinPanel2->SetSkinData(Form1->bsSkinData1);

    bsSkinTextLabel5 = MakeLabel(bsSkinPanel2, "bsSkinTextLabel5", "输出格式：", 17, 48);
    bsSkinTextLabel5->SetBounds(17, 48, 60, 13);

    auto office = [this](const std::string& name, int left, int width) {
        auto* box = new skin::TbsSkinOfficeComboBox(this);
        box->SetName(name);
        box->SetParent(bsSkinPanel2);
        box->SetBounds(left, 33, width, 51);
        box->SetDefaultFont(SongTi());
        box->SetListBoxDefaultFont(SongTi());
        box->SetDropDownCount(4);
        box->SetSkinDataName("combobox");
        box->SetSkinData(Form1->bsSkinData1);
        return box;
    };
    // Bound before the loading-time index writes, as the form data binds them; loading keeps
    // those writes silent, and the command buttons they would click do not exist yet.
    bsSkinOfficeComboBox2 = office("bsSkinOfficeComboBox2", 83, 126);
    bsSkinOfficeComboBox2->OnChange = [this](vcl::TObject*) { bsSkinOfficeComboBox2Change(); };
    bsSkinOfficeComboBox2->SetListBoxSkinDataName("resizetoolpanel");
    bsSkinOfficeComboBox2->SetListBoxWidth(119);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(50);
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    bsSkinOfficeComboBox2->SetListBoxShowLines(false);
    bsSkinOfficeComboBox2->SetListBoxUseSkinFont(false);
    bsSkinOfficeComboBox2->SetImages(ImageList1);
    for (int i = 0; i < legacy::kLegacyCategoryCount; ++i) {
        skin::TbsSkinOfficeItem* item = bsSkinOfficeComboBox2->Items().Add();
        item->SetCaption(legacy::LegacyPresetCategories()[std::size_t(i)].Caption);
        item->SetImageIndex(i);
    }
    bsSkinOfficeComboBox2->SetItemIndex(0);

    bsSkinOfficeComboBox1 = office("bsSkinOfficeComboBox1", 215, 400);
    bsSkinOfficeComboBox1->OnClick = [this](vcl::TObject*) { bsSkinOfficeComboBox1Click(); };
    bsSkinOfficeComboBox1->SetListBoxSkinDataName("listbox");
    bsSkinOfficeComboBox1->SetListBoxItemHeight(60);
    bsSkinOfficeComboBox1->SetListBoxHeaderHeight(20);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(true);
    bsSkinOfficeComboBox1->SetListBoxShowLines(true);
    bsSkinOfficeComboBox1->SetListBoxUseSkinFont(true);
    // The form data's placeholder; the first fill replaces it.
    skin::TbsSkinOfficeItem* placeholder = bsSkinOfficeComboBox1->Items().Add();
    placeholder->SetTitle("dfdfs");
    placeholder->SetCaption("fddf");
    bsSkinOfficeComboBox1->SetItemIndex(0);

    bsSkinButton1 = new skin::TbsSkinButton(this);
    bsSkinButton1->SetName("bsSkinButton1");
    bsSkinButton1->SetParent(bsSkinPanel2);
    bsSkinButton1->SetBounds(621, 139, 55, 51);
    bsSkinButton1->SetCaption("设置");
    bsSkinButton1->SetSkinDataName("resizebutton");
    bsSkinButton1->SetVisible(false);

    bsSkinOfficeComboBox1->SetTabOrder(0);
    bsSkinOfficeComboBox2->SetTabOrder(1);
    bsSkinButton1->SetTabOrder(2);
}

vcl::TButton* TForm6::MakeCommand(const std::string& name, const std::string& caption, int left,
                                  int top, int width) {
    auto* b = new vcl::TButton(this);
    b->SetName(name);
    b->SetParent(Panel1);
    b->SetBounds(left, top, width, 25);
    b->SetCaption(caption);
    return b;
}

void TForm6::BuildCommandPanel() {
    Panel1 = new vcl::TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(690, 161, 305, 305);
    Panel1->SetCaption("Panel1");

    Image1 = new vcl::TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(Panel1);
    Image1->SetBounds(46, 158, 171, 103);
    {
        gfx::TPngImage picture;
        LoadAppPicture("legacyimage", picture);
        Image1->Picture().SetGraphic(&picture);
    }

    // Created in the tab order of the panel.
    Button6 = MakeCommand("Button6", "初始化数据", 32, 47, 75);
    Button5 = MakeCommand("Button5", "根据combox添加数据", 113, 47, 126);
    Button7 = MakeCommand("Button7", "确认oo数据", 230, 47, 75);
    Button2 = MakeCommand("Button2", "添加combox", 32, 78, 104);
    Button13 = MakeCommand("Button13", "确认预置选项数据", 32, 109, 113);
    Button11 = MakeCommand("Button11", "onchange用", 151, 78, 95);
    Button18 = MakeCommand("Button18", "根据combox添加预设选项", 42, 163, 143);
    Button6->OnClick = [this](vcl::TObject*) { Button6Click(); };
    Button5->OnClick = [this](vcl::TObject*) { Button5Click(); };
    Button2->OnClick = [this](vcl::TObject*) { Button2Click(); };
    Button13->OnClick = [this](vcl::TObject*) { Button13Click(); };
    Button18->OnClick = [this](vcl::TObject*) { Button18Click(); };
}

skin::TbsSkinComboBox* TForm6::MakeParameterList(const std::string& name, int left, int top,
                                                 int width) {
    auto* box = new skin::TbsSkinComboBox(this);
    box->SetName(name);
    box->SetParent(bsSkinTabSheet1);
    box->SetBounds(left, top, width, 20);
    box->SetStyle(skin::bscbFixedStyle);
    box->SetDropDownCount(8);
    box->SetSkinDataName("combobox");
    box->SetSkinData(Form1->bsSkinData1);
    return box;
}

void TForm6::BuildPages() {
    bsSkinPageControl1 = new skin::TbsSkinPageControl(this);
    bsSkinPageControl1->SetName("bsSkinPageControl1");
    bsSkinPageControl1->SetParent(this);
    bsSkinPageControl1->SetBounds(39, 171, 625, 222);
    bsSkinPageControl1->SetSkinDataName("tab");
    bsSkinPageControl1->SetSkinData(Form1->bsSkinData1);
    auto page = [this](const std::string& name, const std::string& caption) {
        auto* sheet = new skin::TbsSkinTabSheet(this);
        sheet->SetName(name);
        sheet->SetPageControl(bsSkinPageControl1);
        sheet->SetCaption(caption);
        return sheet;
    };
    bsSkinTabSheet1 = page("bsSkinTabSheet1", "标准参数设置");
    bsSkinTabSheet2 = page("bsSkinTabSheet2", "剪辑设置");
    滤镜设置 = page("滤镜设置", "滤镜设置");
    bsSkinTabSheet3 = page("bsSkinTabSheet3", "文字水印");
    bsSkinPageControl1->SetActivePage(bsSkinTabSheet1);

    bsSkinTextLabel3 = MakeLabel(bsSkinTabSheet1, "bsSkinTextLabel3", "视频分辨率：", 19, 24);
    bsSkinTextLabel2 = MakeLabel(bsSkinTabSheet1, "bsSkinTextLabel2", "视频比特率：", 342, 24);
    bsSkinTextLabel6 = MakeLabel(bsSkinTabSheet1, "bsSkinTextLabel6", "视频帧率：", 16, 69);
    bsSkinTextLabel9 = MakeLabel(bsSkinTabSheet1, "bsSkinTextLabel9", "视频缩放：", 342, 69);
    bsSkinTextLabel4 = MakeLabel(bsSkinTabSheet1, "bsSkinTextLabel4", "音频比特率：", 16, 114);
    bsSkinTextLabel7 = MakeLabel(bsSkinTabSheet1, "bsSkinTextLabel7", "音频采样率：", 342, 114);
    // Made in the page's tab order.
    bsSkinComboBox1 = MakeParameterList("bsSkinComboBox1", 16, 43, 289);
    bsSkinComboBox2 = MakeParameterList("bsSkinComboBox2", 342, 43, 251);
    bsSkinComboBox9 = MakeParameterList("bsSkinComboBox9", 14, 88, 291);
    bsSkinComboBox3 = MakeParameterList("bsSkinComboBox3", 16, 133, 289);
    bsSkinComboBox10 = MakeParameterList("bsSkinComboBox10", 342, 133, 251);
    bsSkinComboBox4 = MakeParameterList("bsSkinComboBox4", 342, 88, 251);
}

void TForm6::BuildButtons() {
    auto button = [this](const std::string& name, const std::string& caption, int left) {
        auto* b = new skin::TbsSkinButton(this);
        b->SetName(name);
        b->SetParent(this);
        b->SetBounds(left, 416, 69, 25);
        b->SetCaption(caption);
        b->SetDefaultFont(SongTi());
        b->SetUseSkinFont(false);
        b->SetDefaultHeight(25);
        b->SetSpacing(10);
        b->SetSkinData(Form1->bsSkinData1);
        return b;
    };
    bsSkinButton2 = button("bsSkinButton2", "确定", 480);
    bsSkinButton3 = button("bsSkinButton3", "取消", 594);
    bsSkinButton2->OnClick = [this](vcl::TObject*) { bsSkinButton2Click(); };
    bsSkinButton3->OnClick = [this](vcl::TObject*) { bsSkinButton3Click(); };
}

// --- Handlers ------------------------------------------------------------------------------------

void TForm6::FormCreate() {
    Button2->Click();
}

void TForm6::bsSkinOfficeComboBox2Change() {
    Button2->Click();
}

void TForm6::bsSkinOfficeComboBox1Click() {
    Button18->Click();
}

void TForm6::bsSkinButton2Click() {
    Button5->Click();
    Button13->Click();
    Close();
}

void TForm6::bsSkinButton3Click() {
    Close();
}

void TForm6::Button2Click() {
    skin::TbsSkinOfficeComboBox* formats = bsSkinOfficeComboBox1;
    formats->Items().Clear();
    formats->Refresh();
    formats->Repaint();
    const std::span<const legacy::TLegacyPreset> presets =
        legacy::LegacyPresetsOfCategory(bsSkinOfficeComboBox2->ItemIndex());
    if (!presets.empty()) {
        for (const legacy::TLegacyPreset& p : presets) {
            skin::TbsSkinOfficeItem* item = formats->Items().Add();
            item->SetTitle(p.Title);
            item->SetCaption(p.Caption);
            item->SetImageIndex(p.ImageIndex);
        }
        formats->Refresh();
        formats->Repaint();
        formats->SetItemIndex(0);
        return;
    }
    // The empty list stores index 0, then refuses it with a list-index error before its click
    // events; the parameter lists must still follow the key of the missing preset.
    try {
        formats->SetItemIndex(0);
    } catch (const rtl::EListError&) {
        bsSkinOfficeComboBox1Click();
    }
}

void TForm6::Button18Click() {
    // By catalogue::TPresetParam.
    skin::TbsSkinComboBox* const lists[] = {bsSkinComboBox1, bsSkinComboBox2,  bsSkinComboBox9,
                                            bsSkinComboBox3, bsSkinComboBox10, bsSkinComboBox4};
    skin::TbsSkinComboBox* const clearOrder[] = {bsSkinComboBox1, bsSkinComboBox2,
                                                 bsSkinComboBox3, bsSkinComboBox4,
                                                 bsSkinComboBox9, bsSkinComboBox10};
    for (skin::TbsSkinComboBox* box : clearOrder) box->Items().Clear();
    for (skin::TbsSkinComboBox* box : clearOrder) box->SetEnabled(true);

    const int presetKey =
        (bsSkinOfficeComboBox2->ItemIndex() + 1) * 100 + bsSkinOfficeComboBox1->ItemIndex();
    Form1->Work.All_Trant_Number = presetKey;
    Form1->Work.Video_DisableVideo = false;
    const legacy::TLegacyChoiceRow* row = legacy::FindLegacyChoices(presetKey);
    if (!row) return;
    for (int p = 0; p < catalogue::kPresetParamCount; ++p) {
        const legacy::TLegacyChoice& choice = row->Choices[std::size_t(p)];
        for (const char* entry : choice.List->Entries) lists[p]->Items().Add(entry);
        lists[p]->SetItemIndex(choice.DefaultIndex);
    }
    if (row->AudioOnly())
        for (skin::TbsSkinComboBox* box :
             {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox4, bsSkinComboBox9})
            box->SetEnabled(false);
}

void TForm6::Button13Click() {
    catalogue::TWorkingSettings& w = Form1->Work;
    const std::string frameSize = bsSkinComboBox1->Text();
    w.Video_FrameSize =
        frameSize == catalogue::SKeepResolution || frameSize == catalogue::SNoVideoInFormat
            ? std::string()
            : frameSize;
    const std::string frameRate = bsSkinComboBox9->Text();
    w.Video_FrameRate = frameRate == catalogue::SKeepFrameRate || frameRate == catalogue::SNoVideo
                            ? std::string()
                            : frameRate;
    const std::string videoBitrate = bsSkinComboBox2->Text();
    w.Video_VideoBitrate =
        videoBitrate == catalogue::SNoVideo ? BitrateUnset : VideoBitrateOf(videoBitrate);
    const std::string sampleRate = bsSkinComboBox10->Text();
    w.Video_AudioSampleRate = sampleRate == "自动音频采样率" ? "AUTO" : sampleRate;
    const std::string audioBitrate = bsSkinComboBox3->Text();
    w.Video_AudioBitrate =
        audioBitrate == "自动音频比特率" ? BitrateUnset : AudioBitrateOf(audioBitrate);
    const std::string aspect = bsSkinComboBox4->Text();
    const struct {
        const char* Text;
        const char* Value;
    } aspects[] = {{catalogue::SKeepVideoMode, ""},    {catalogue::SAspect4x3, "4:3"},
                   {catalogue::SAspect16x9, "16:9"},   {catalogue::SAspect37x20, "37:20"},
                   {catalogue::SAspect47x20, "47:20"}, {catalogue::SNoVideo, ""}};
    // Any other text leaves the field as it was.
    for (const auto& a : aspects)
        if (aspect == a.Text) w.Video_FrameAspectRatio = a.Value;
}

void TForm6::Button5Click() {
    const int presetKey =
        (bsSkinOfficeComboBox2->ItemIndex() + 1) * 100 + bsSkinOfficeComboBox1->ItemIndex();
    catalogue::TWorkingSettings& w = Form1->Work;
    w.All_Trant_Number = presetKey;
    w.Video_DisableVideo = false;
    if (const legacy::TLegacyDefaults* d = legacy::FindLegacyDefaults(presetKey)) {
        w.Video_OutPutFileName =
            Form1->Video_OutPut_Folder_Edit->Text() + sys::kPathDelim +
            sys::ChangeFileExt(sys::ExtractFileName(w.Video_AddFileName), d->OutputExt);
        StoreDefaults(*d, w);
    }
    MakeUniqueOutputFileName();
}

void TForm6::MakeUniqueOutputFileName() {
    std::string& name = Form1->Work.Video_OutPutFileName;
    const std::string ext = sys::ExtractFileExt(name);
    const std::string base = Form1->Video_OutPut_Folder_Edit->Text() + sys::kPathDelim +
                             sys::ChangeFileExt(sys::ExtractFileName(name), "");
    std::string candidate = base + ext;
    if (sys::FileExists(candidate) && !Form5->bsSkinCheckRadioBox3->Checked()) {
        int n = 1;
        while (sys::FileExists(base + "_" + std::to_string(n) + ext)) ++n;
        candidate = base + "_" + std::to_string(n) + ext;
    }
    name = candidate;
}

void TForm6::Button6Click() {
    catalogue::TWorkingSettings& w = Form1->Work;
    for (std::string* field : {&w.Video_OutPutFileName, &w.Video_FileExt, &w.Video_AudioChannels,
                               &w.Video_AudioSampleRate, &w.Video_FrameSize, &w.Video_FrameRate,
                               &w.Video_NormType, &w.Video_VideoFilters, &w.Video_FrameAspectRatio,
                               &w.Video_VideoCodec, &w.Video_AudioCodec, &w.Video_CopyTimestamp,
                               &w.Video_FileFormat, &w.Video_TargetType, &w.Video_VideoTag})
        field->clear();
    w.Video_AudioVolume = "256";
    w.Video_VideoBitrate = -1;
    w.Video_AudioBitrate = -1;
    Form1->Video_TimeStart = -1;
    Form1->Video_TimeLength = -1;
    w.Video_DisableVideo = false;
}

}  // namespace app
