// The main window's format and parameter choice: the format list's change, the six parameter
// lists' changes, their take-over into the working settings, the defaults routine with its
// write-back into the selected row, and the restore of a selected row into the lists.
#include <algorithm>

#include "app/main_form.h"
#include "app/options_form.h"
#include "app/state_text.h"
#include "catalogue/apply_preset.h"
#include "catalogue/categories.h"
#include "catalogue/output_record.h"
#include "catalogue/presets.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"

namespace app {

namespace {

// The VCD targets fix the video rate at 1150 kbps, and the encoder refuses every entry of these
// presets' video bit-rate lists; so the list is locked and asks for no explicit rate.
constexpr int kFixedVideoRatePresets[] = {113, 1410, 2212, 2312, 2414, 2500, 2501};

bool HasFixedVideoRate(int presetKey) {
    return std::ranges::find(kFixedVideoRatePresets, presetKey) != std::end(kFixedVideoRatePresets);
}

// The working field of a list as its sub-item shows it.
std::string FieldText(catalogue::TPresetParam param, const catalogue::TWorkingSettings& w) {
    switch (param) {
        case catalogue::ppFrameSize:
            return w.Video_FrameSize;
        case catalogue::ppVideoBitrate:
            return rtl::IntToStr(w.Video_VideoBitrate);
        case catalogue::ppFrameRate:
            return w.Video_FrameRate;
        case catalogue::ppAudioBitrate:
            return rtl::IntToStr(w.Video_AudioBitrate);
        case catalogue::ppAudioSampleRate:
            return w.Video_AudioSampleRate;
        case catalogue::ppFrameAspectRatio:
            return w.Video_FrameAspectRatio;
    }
    return {};
}

std::string PairText(int index) {
    return (index >= 0 && index < 10 ? "0" : "") + rtl::IntToStr(index);
}

}  // namespace

const std::array<TForm1::TParameterList, 6>& TForm1::ParameterLists() const {
    // In OptionString order: frame size, video bit rate, audio bit rate, aspect, frame rate,
    // sample rate.
    static const std::array<TParameterList, 6> lists = {{
        {&TForm1::bsSkinComboBox1, catalogue::ppFrameSize, siFrameSize},
        {&TForm1::bsSkinComboBox2, catalogue::ppVideoBitrate, siVideoBitrate},
        {&TForm1::bsSkinComboBox3, catalogue::ppAudioBitrate, siAudioBitrate},
        {&TForm1::bsSkinComboBox4, catalogue::ppFrameAspectRatio, siFrameAspectRatio},
        {&TForm1::bsSkinComboBox9, catalogue::ppFrameRate, siFrameRate},
        {&TForm1::bsSkinComboBox10, catalogue::ppAudioSampleRate, siAudioSampleRate},
    }};
    return lists;
}

std::string TForm1::CurrentOptionString() const {
    std::array<int, 6> indexes{};
    for (std::size_t k = 0; k < 6; ++k) indexes[k] = (this->*ParameterLists()[k].Box)->ItemIndex();
    return OptionString(indexes);
}

int TForm1::CurrentChoiceKey() const {
    return ChoiceKey(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex());
}

std::string TForm1::ChosenExtension() const {
    const int index = bsSkinOfficeComboBox1->ItemIndex();
    auto& items = bsSkinOfficeComboBox1->Items();
    if (index < 0 || index >= items.Count()) return {};
    return catalogue::TitleExtension(items[index]->Title());
}

void TForm1::TakeOverList(catalogue::TPresetParam param, const std::string& text) {
    if (param == catalogue::ppVideoBitrate &&
        HasFixedVideoRate(catalogue::PresetKeyOf(bsSkinOfficeComboBox2->ItemIndex(),
                                                 bsSkinOfficeComboBox1->ItemIndex()))) {
        Work.Video_VideoBitrate = catalogue::BitrateUnset;
        return;
    }
    catalogue::TakeOverListEntry(param, text, Work);
}

void TForm1::ApplyDefaults(bool writeBack) {
    catalogue::TOutputNameRules rules;
    rules.OutputFolder = Video_OutPut_Folder_Edit->Text();
    rules.Overwrite = Form5 && Form5->bsSkinCheckRadioBox3->Checked();
    vcl::TListItems& items = lvFiles->Items();
    const std::string folder = sys::IncludeTrailingPathDelimiter(rules.OutputFolder);
    for (int i = 0; i < items.Count(); ++i)
        rules.PlannedPaths.push_back(folder + items.Item(i)->SubItems().Get(siOutputFile));
    FDefaultsError.clear();
    catalogue::ApplyPreset(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(),
                           rules, Work, FDefaultsError);
    vcl::TListItem* row = lvFiles->Selected();
    if (!writeBack || !row) return;
    for (const catalogue::TSubItemText& t : catalogue::DefaultsWriteBack(Work))
        row->SubItems().Put(t.SubItem, t.Text);
}

void TForm1::Button5Click() {
    ApplyDefaults(true);
}

void TForm1::Button13Click() {
    // The take-over's own order, not the lists' filling order.
    for (catalogue::TPresetParam param :
         {catalogue::ppFrameSize, catalogue::ppFrameRate, catalogue::ppVideoBitrate,
          catalogue::ppAudioSampleRate, catalogue::ppAudioBitrate, catalogue::ppFrameAspectRatio})
        for (const TParameterList& list : ParameterLists())
            if (list.Param == param) TakeOverList(param, (this->*list.Box)->Text());
}

void TForm1::TakeListsIntoRow(vcl::TListItem* row) {
    // What the six lists show is what the row converts, whichever of them raised a change.
    for (const TParameterList& list : ParameterLists()) {
        TakeOverList(list.Param, (this->*list.Box)->Text());
        row->SubItems().Put(list.SubItem, FieldText(list.Param, Work));
    }
    row->SubItems().Put(siOptionString, CurrentOptionString());
}

void TForm1::bsSkinOfficeComboBox1Change() {
    Button18->Click();
    if (HasFixedVideoRate(Work.All_Trant_Number)) bsSkinComboBox2->SetEnabled(false);
    const std::string ext = ChosenExtension();
    if (!lvFiles->Selected()) return;
    Button5->Click();
    Button13->Click();
    // The handlers above may have changed the selection: look again.
    vcl::TListItem* row = lvFiles->Selected();
    if (!row) return;
    rtl::TStringList& sub = row->SubItems();
    sub.Put(siOutputFile, sys::ChangeFileExt(sub.Get(siOutputFile), ext));
    sub.Put(siChoiceKey, rtl::IntToStr(CurrentChoiceKey()));
    TakeListsIntoRow(row);
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::ParameterListChange(int k) {
    vcl::TListItem* row = lvFiles->Selected();
    if (!row) return;
    const TParameterList& list = ParameterLists()[std::size_t(k)];
    skin::TbsSkinComboBox* box = this->*list.Box;
    rtl::TStringList& sub = row->SubItems();
    std::string options = sub.Get(siOptionString);
    const std::string pair = PairText(box->ItemIndex());
    if (options.size() < std::size_t(2 * k + 2)) options.resize(std::size_t(2 * k + 2), '0');
    options.replace(std::size_t(2 * k), 2, pair);
    sub.Put(siOptionString, options);
    TakeOverList(list.Param, box->Text());
    sub.Put(list.SubItem, FieldText(list.Param, Work));
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::lvFilesSelectItem() {
    // Every failure ends the restore quietly, as for a row whose keys do not parse.
    try {
        vcl::TListItem* row = lvFiles->Selected();
        if (!row) return;
        const TChoice choice = DecodeChoiceKey(rtl::StrToInt(row->SubItems().Get(siChoiceKey)));
        const std::string options = row->SubItems().Get(siOptionString);
        if (options.size() < 12) return;
        std::array<int, 6> pairs{};
        for (std::size_t k = 0; k < 6; ++k) {
            const std::string pair = options.substr(2 * k, 2);
            if (!std::ranges::all_of(pair, [](char c) { return c >= '0' && c <= '9'; })) return;
            pairs[k] = rtl::StrToInt(pair);
        }
        bsSkinOfficeComboBox2->SetItemIndex(choice.CategoryIndex);
        bsSkinOfficeComboBox1->SetItemIndex(choice.PresetIndex);
        for (std::size_t k = 0; k < 6; ++k)
            (this->*ParameterLists()[k].Box)->SetItemIndex(pairs[k]);
        row = lvFiles->Selected();
        if (!row) return;
        TakeListsIntoRow(row);
        bsSkinSlider1->SetValue(0);
        T_Movie_PLayer_FileName = row->Caption();
        Button31Click();
    } catch (const std::exception&) {
    }
}

}  // namespace app
