// The main window's adding and editing of files: the three add commands with their per-file
// steps and failure report, the folder listing, delete, clear, the moves and the rename editor.
#include <filesystem>
#include <fstream>

#include "app/app_services.h"
#include "app/main_form.h"
#include "app/state_text.h"
#include "catalogue/output_record.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/file_handles.h"
#include "platform/sys/files.h"
#include "platform/sys/paths.h"
#include "platform/win/types.h"

namespace app {

namespace {

const char kInformationCaption[] = "提示";
const char kNotAddedText[] = "以下文件没有添加：";
const char kListFullText[] = "任务列表最多只能添加500个文件。";
const char kEmptyFolderText[] = "在该目录没有发现可以用的视频或音频文件！";
const char kNothingToDeleteText[] = "请先选择您需要删除的项目！";
const char kNothingToRenameText[] = "请先选中您需要重命名的项目！";
const char kNotMediaText[] = "not a media file (a pipe, device or socket)";

std::string BoolText(bool value) {
    return value ? "True" : "False";
}

// A name the output folder can hold as a file of its own.
bool IsUsableFileName(const std::string& name) {
    return !rtl::Trim(name).empty() && name != "." && name != ".." &&
           name.find('/') == std::string::npos;
}

}  // namespace

TTaskRows& TForm1::Rows() {
    if (!FRows) FRows = std::make_unique<TTaskRows>(*lvFiles, IO1, OO1);
    return *FRows;
}

void TForm1::BuildFileCommands() {
    btnAdd = MakeCommand("btnAdd", "添加", 390, [this] { btnAddClick(); });
    Button8 = MakeCommand("Button8", "添加多个文件", 420, [this] { Button8Click(); });
    Button12 = MakeCommand("Button12", "添加整个目录", 450, [this] { Button12Click(); });
    Button5 = MakeCommand("Button5", "设置预置选项数据", 480, [this] { Button5Click(); });
    Button13 = MakeCommand("Button13", "确认预置选项数据", 510, [this] { Button13Click(); });
    btnRemove = MakeCommand("btnRemove", "删除", 540, [this] { btnRemoveClick(); });
    btnClear = MakeCommand("btnClear", "清空", 570, [this] { btnClearClick(); });
    btnRemove->SetEnabled(false);
    btnClear->SetEnabled(false);
    Button27->OnClick = [this](vcl::TObject*) { Button27Click(); };

    auto bind = [this](vcl::TMenuItem* item, void (TForm1::*handler)()) {
        item->OnClick = [this, handler](vcl::TObject*) { (this->*handler)(); };
    };
    bind(N1, &TForm1::btnAddClick);
    bind(N2, &TForm1::Button8Click);
    bind(N21, &TForm1::N21Click);
    bind(bsSkinPopupMenu1->Items()->Items(0), &TForm1::btnAddClick);
    bind(bsSkinPopupMenu1->Items()->Items(1), &TForm1::N2222Click);
    bind(bsSkinPopupMenu1->Items()->Items(2), &TForm1::N3331Click);
    bind(N6, &TForm1::bsSkinButton3Click);
    bind(N7, &TForm1::bsSkinButton4Click);
    bind(N8, &TForm1::btnRemoveClick);
    bind(N9, &TForm1::btnClearClick);
    bind(N26, &TForm1::N26Click);
    bsSkinButton7->OnClick = [this](vcl::TObject*) { btnRemove->Click(); };
    bsSkinButton8->OnClick = [this](vcl::TObject*) { btnClear->Click(); };
    bsSkinButton3->OnClick = [this](vcl::TObject*) { bsSkinButton3Click(); };
    bsSkinButton4->OnClick = [this](vcl::TObject*) { bsSkinButton4Click(); };
    bsSkinButton21->OnClick = [this](vcl::TObject*) { bsSkinButton21Click(); };
    lvFiles->OnSelectItem = [this](vcl::TObject*, vcl::TListItem*, bool) { lvFilesSelectItem(); };
    lvFiles->OnClick = [this](vcl::TObject*) { lvFilesClick(); };
    lvFiles->OnDblClick = [this](vcl::TObject*) { lvFilesDblClick(); };
    bsSkinOfficeComboBox1->OnChange = [this](vcl::TObject*) { bsSkinOfficeComboBox1Change(); };
    for (int k = 0; k < 6; ++k)
        (this->*ParameterLists()[std::size_t(k)].Box)->OnChange = [this, k](vcl::TObject*) {
            ParameterListChange(k);
        };

    // Move up and down stay offered with or without rows; the handlers check the selection.
    bsSkinButton3->SetEnabled(true);
    bsSkinButton4->SetEnabled(true);

    edt = new vcl::TEdit(this);
    edt->SetName("edt");
    edt->SetParent(lvFiles);
    // A plain edit on the window colour: the list's skin font colour (light in dark skins)
    // would vanish on it, so it keeps the window text colour.
    edt->SetParentFont(false);
    edt->Font().SetColor(gfx::clWindowText);
    edt->SetVisible(false);
    edt->SetText("");
    edt->OnExit = [this](vcl::TObject*) { edtExit(); };
    edt->OnKeyDown = [this](vcl::TObject*, int& key, vcl::TShiftState) {
        if (key == win::VK_ESCAPE) {
            key = 0;
            CancelRename();
        }
        // Enter commits as leaving the editor does; a refused name keeps the editor open.
        if (key == win::VK_RETURN) {
            key = 0;
            edtExit();
            if (!edt->Visible() && lvFiles->CanFocus()) lvFiles->SetFocus();
        }
    };
}

// --- Adding ------------------------------------------------------------------------------------

void TForm1::LogMessage(const std::string& line) {
    Log("");
    Log(line);
    Log("");
}

void TForm1::Inform(const std::string& text) {
    bsSkinMessage1->MessageDlg2(text, kInformationCaption, vcl::mtInformation, {vcl::mbOK}, 0);
}

bool TForm1::LibrariesReady() {
    if (FFTasks->AVLibLoaded()) return true;
    if (FFTasks->LoadAVLib(sys::GetAppPath() + "LibAV")) return true;
    Log(FFTasks->LastErrMsg());
    return false;
}

std::optional<std::vector<std::string>> TForm1::GetFilenames(const std::string& FilePath,
                                                             const std::string& ExtMask) {
    if (!sys::DirectoryExists(FilePath)) return std::nullopt;
    // Only "*.*" is ever asked for: every entry matches.
    (void)ExtMask;
    const std::string folder = sys::IncludeTrailingPathDelimiter(FilePath);
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        // Regular files and links to them only: opening a FIFO, device or socket to probe it
        // would block or read something that is not a file.
        std::error_code statError;
        if (!entry.is_regular_file(statError)) continue;
        files.push_back(folder + entry.path().filename().string());
    }
    return files;
}

TForm1::TAddResult TForm1::AddOneFile(const std::string& F) {
    if (Rows().Full()) {
        FAddListFull = true;
        return arStop;
    }
    // Probing a FIFO, device or socket would wait for data that may never come.
    if (sys::IsSpecialFile(F)) {
        const std::string why = sys::ExtractFileName(F) + ": " + kNotMediaText;
        LogMessage("***File load error: " + why);
        FNotAdded.push_back(why);
        return arSkipped;
    }
    media::TAVProbe& probe = FFTasks->AVProbe();
    if (!probe.LoadFile(F, "")) {
        LogMessage("***File load error: " + probe.LastErrMsg());
        return arSkipped;
    }
    Work.Video_AddFileName = F;
    media::TInputOptions IO;
    media::InitInputOptions(IO);
    const int task = FFTasks->AddTask(F, &IO);
    if (task < 0) {
        LogMessage("***File open error: " + FFTasks->LastErrMsg());
        FNotAdded.push_back(sys::ExtractFileName(F) + ": " + FFTasks->LastErrMsg());
        return arStop;
    }
    // The task keeps its own copy; the row's slot keeps the file it was given.
    IO.FileName = F;
    Log("");
    if (media::TAVProbe* taskProbe = FFTasks->GetTaskProbe(task, 0)) {
        rtl::TStringList lines;
        lines.SetText(taskProbe->FileInfoText());
        for (int i = 0; i < lines.Count(); ++i) Log(lines.Get(i));
    }
    T_Movie_PLayer_FileName = F;

    ApplyDefaults(false);
    Button13->Click();
    media::TOutputOptions OO = catalogue::OutputOptionsFromSettings(Work);
    const bool named = FDefaultsError.empty();
    if (!named || !FFTasks->SetOutputFile(task, Work.Video_OutPutFileName, &OO)) {
        const std::string why = named ? FFTasks->LastErrMsg() : FDefaultsError;
        FFTasks->RemoveTask(task);
        LogMessage("***Cannot do convert, error: " + why);
        FNotAdded.push_back(sys::ExtractFileName(F) + ": " + why);
        return arStop;
    }
    OO.FileName = Work.Video_OutPutFileName;
    bsSkinPanel5->SetVisible(false);

    vcl::TListItem* row = Rows().AddRow(IO, OO, task);
    row->SetCaption(IO.FileName);
    const int64_t duration = probe.FileStreamInfo().Duration;
    rtl::TStringList& sub = row->SubItems();
    sub.Put(siDuration, duration > 0 ? SecToDate(int(duration / 1000000)) : "N/A");
    sub.Put(siFileSize, MegabyteText(probe.FileSize()));
    sub.Put(siOutputFile, sys::ExtractFileName(OO.FileName));
    sub.Put(siTaskNumber, rtl::IntToStr(task + 1));
    sub.Put(siChoiceKey, rtl::IntToStr(CurrentChoiceKey()));
    sub.Put(siOptionString, CurrentOptionString());
    sub.Put(siVideoCodec, OO.VideoCodec);
    sub.Put(siAudioCodec, OO.AudioCodec);
    sub.Put(siAudioChannels, rtl::IntToStr(OO.AudioChannels));
    sub.Put(siVideoTag, OO.VideoTag);
    sub.Put(siFileExt, OO.FileExt);
    sub.Put(siFrameSize, OO.FrameSize);
    sub.Put(siVideoBitrate, rtl::IntToStr(OO.VideoBitrate));
    sub.Put(siFrameRate, OO.FrameRate);
    sub.Put(siAudioBitrate, rtl::IntToStr(OO.AudioBitrate));
    sub.Put(siAudioSampleRate, rtl::IntToStr(OO.AudioSampleRate));
    sub.Put(siFrameAspectRatio, OO.FrameAspectRatio);
    sub.Put(siDisableVideo, BoolText(Work.Video_DisableVideo));
    sub.Put(siTargetType, Work.Video_TargetType);
    sub.Put(siNormType, Work.Video_NormType);

    SetListCommandsEnabled(true);
    LogMessage("***Can do convert.");
    return arAdded;
}

void TForm1::AddFiles(const std::vector<std::string>& files, TAddKind kind) {
    FNotAdded.clear();
    FAddListFull = false;
    const int before = lvFiles->Items().Count();
    bool ended = false;
    for (const std::string& f : files) {
        // A multi or folder add ends when a listed file has gone meanwhile.
        if (kind != akOne && !sys::FileExists(f)) {
            ended = true;
            break;
        }
        const TAddResult result = AddOneFile(f);
        // Files that are no media pass with a log line; but the one file the user chose that
        // cannot even be read is answered, or nothing would show why it did not come.
        if (kind == akOne && result == arSkipped && !sys::IsSpecialFile(f) &&
            !std::ifstream(f, std::ios::binary)) {
            std::string why = FFTasks->AVProbe().LastErrMsg();
            if (why.rfind(f + ": ", 0) == 0) why.erase(0, f.size() + 2);
            FNotAdded.push_back(sys::ExtractFileName(f) + ": " + why);
        }
        if (result == arStop) {
            ended = true;
            break;
        }
        if (kind == akOne && result == arAdded) SelectLastRow();
    }
    if (FAddListFull) Inform(kListFullText);
    if (!FNotAdded.empty()) {
        std::string text = kNotAddedText;
        for (const std::string& line : FNotAdded) text += "\n" + line;
        Inform(text);
    }
    if (ended || kind == akOne) return;
    if (lvFiles->Items().Count() > 0) SelectLastRow();
    if (kind == akFolder && lvFiles->Items().Count() <= before) Inform(kEmptyFolderText);
}

void TForm1::SelectLastRow() {
    const int last = lvFiles->Items().Count() - 1;
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
    lvFiles->SetItemIndex(last);
}

std::optional<std::vector<std::string>> TForm1::ChooseFiles(skin::TbsSkinOpenDialog& dialog) {
    if (!ExecuteOpenDialog(dialog)) return std::nullopt;
    if (!dialog.MultiSelection) return std::vector<std::string>{dialog.FileName()};
    std::vector<std::string> files;
    for (int i = 0; i < dialog.Files().Count(); ++i) files.push_back(dialog.Files().Get(i));
    // The dialog's FileName decides whether the choice stands at all.
    if (files.empty() || !sys::FileExists(dialog.FileName())) return std::nullopt;
    return files;
}

void TForm1::btnAddClick() {
    Button6->Click();
    if (!LibrariesReady()) return;
    const std::optional<std::vector<std::string>> chosen = ChooseFiles(*OpenDialog1);
    if (!chosen || chosen->empty() || !sys::FileExists(chosen->front())) return;
    AddFiles({chosen->front()}, akOne);
}

void TForm1::Button8Click() {
    Button6->Click();
    if (!LibrariesReady()) return;
    const std::optional<std::vector<std::string>> chosen = ChooseFiles(*OpenDialog2);
    if (!chosen || chosen->empty() || !sys::FileExists(chosen->front())) return;
    AddFiles({chosen->rbegin(), chosen->rend()}, akMany);
}

void TForm1::Button12Click() {
    Button6->Click();
    if (!LibrariesReady()) return;
    if (!Services().ChooseFolder) return;
    const std::optional<std::string> folder = Services().ChooseFolder("选择目录", FAddFolder);
    if (!folder || folder->empty() || !sys::DirectoryExists(*folder)) return;
    FAddFolder = *folder;
    const std::optional<std::vector<std::string>> names = GetFilenames(*folder, "*.*");
    ListBox1->Items().Clear();
    for (const std::string& name : names.value_or(std::vector<std::string>{}))
        ListBox1->Items().Add(name);
    std::vector<std::string> files;
    for (int i = ListBox1->Items().Count() - 1; i >= 0; --i)
        files.push_back(ListBox1->Items().Get(i));
    AddFiles(files, akFolder);
}

void TForm1::N2222Click() {
    Button8->Click();
}
void TForm1::N21Click() {
    Button12->Click();
}
void TForm1::N3331Click() {
    Button12->Click();
}

// --- Command states ---------------------------------------------------------------------------

void TForm1::SetListCommandsEnabled(bool enabled) {
    for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{
             bsSkinButton7, bsSkinButton8, bsSkinButton21, btnRemove, btnClear, bsSkinButton2})
        c->SetEnabled(enabled);
    for (vcl::TMenuItem* item : {N8, N9, N26, N10}) item->SetEnabled(enabled);
    bsSkinButton2->SetImageIndex(enabled ? 3 : 13);
}

// --- Editing ---------------------------------------------------------------------------------

void TForm1::btnRemoveClick() {
    const int i = lvFiles->ItemIndex();
    if (i < 0) {
        Inform(kNothingToDeleteText);
        return;
    }
    const int n = rtl::StrToIntDef(lvFiles->Items().Item(i)->SubItems().Get(siTaskNumber), 0);
    // After a run the tasks are gone; the record knows whether this row still has one.
    const TRowRecord* record = Rows().Record(i);
    const int task = record ? record->Task : kNoTask;
    if (task != kNoTask) FFTasks->RemoveTask(task);
    Rows().DeleteRow(i);
    Rows().TaskRemoved(task);
    vcl::TListItems& items = lvFiles->Items();
    for (int r = 0; r < items.Count(); ++r) {
        rtl::TStringList& sub = items.Item(r)->SubItems();
        const int number = rtl::StrToIntDef(sub.Get(siTaskNumber), 0);
        if (number > n) sub.Put(siTaskNumber, rtl::IntToStr(number - 1));
    }
    const bool rows = items.Count() > 0;
    SetListCommandsEnabled(rows);
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
    if (rows) {
        lvFiles->SetItemIndex(0);
        if (lvFiles->CanFocus()) lvFiles->SetFocus();
        return;
    }
    bsSkinPanel5->SetVisible(true);
    FFPlayer->Stop(true);
    bsSkinSlider1->SetValue(0);
}

void TForm1::btnClearClick() {
    FFTasks->ClearTasks();
    Rows().Clear();
    for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{bsSkinMenuSpeedButton1, btnAdd})
        c->SetEnabled(true);
    bsSkinMenuSpeedButton1->SetImageIndex(0);
    for (vcl::TMenuItem* item : {N1, N2, N21}) item->SetEnabled(true);
    for (int i = 0; i < bsSkinPopupMenu1->Items()->Count(); ++i)
        bsSkinPopupMenu1->Items()->Items(i)->SetEnabled(true);
    SetListCommandsEnabled(false);
    Button15->Click();
    bsSkinPanel5->SetVisible(true);
    FFPlayer->Stop(true);
    bsSkinSlider1->SetValue(0);
}

void TForm1::MoveSelected(int step) {
    const int s = lvFiles->ItemIndex();
    const int t = s + step;
    if (s < 0 || t < 0 || t >= lvFiles->Items().Count()) return;
    Rows().SwapRows(s, t);
    lvFiles->SetItemIndex(t);
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::bsSkinButton3Click() {
    MoveSelected(-1);
}
void TForm1::bsSkinButton4Click() {
    MoveSelected(1);
}
// Its slot swap is the records' travel with the rows now.
void TForm1::Button27Click() {
    MoveSelected(-1);
}

void TForm1::bsSkinButton21Click() {
    if (lvFiles->ItemIndex() < 0) {
        Inform(kNothingToRenameText);
        return;
    }
    StartRename();
}

void TForm1::N26Click() {
    bsSkinButton21Click();
}

void TForm1::lvFilesDblClick() {
    // Rename is not offered while a run converts the rows.
    if (lvFiles->ItemIndex() < 0 || FFTasks->Working()) return;
    StartRename();
}

void TForm1::StartRename() {
    vcl::TListItem* row = lvFiles->Selected();
    if (!row) return;
    vcl::TListColumns& columns = lvFiles->Columns();
    const vcl::TRect bounds = row->DisplayRect();
    // bounds.Left is minus the horizontal scroll.
    const int left =
        bounds.Left + columns[0]->Width() + columns[1]->Width() + columns[2]->Width() + 2;
    edt->SetParent(lvFiles);
    edt->SetBounds(left, bounds.Top, columns[3]->Width(), edt->Height());
    edt->SetText(sys::ChangeFileExt(row->SubItems().Get(siOutputFile), ""));
    edt->SetVisible(true);
    if (edt->CanFocus()) edt->SetFocus();
}

void TForm1::CancelRename() {
    edt->SetVisible(false);
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::edtExit() {
    if (!edt->Visible()) return;
    const std::string ext = ChosenExtension();
    const std::string text = edt->Text();
    // A refused name leaves the editor where it is, as an empty one always did.
    if (!IsUsableFileName(text)) return;
    vcl::TListItem* row = lvFiles->Selected();
    if (!row) return;
    row->SubItems().Put(siOutputFile, text + ext);
    edt->SetVisible(false);
    if (TRowRecord* record = TTaskRows::Record(row))
        Rows().OutputOf(*record).FileName =
            sys::IncludeTrailingPathDelimiter(Video_OutPut_Folder_Edit->Text()) + text + ext;
}

void TForm1::lvFilesClick() {
    if (lvFiles->ItemIndex() < 0) FFPlayer->Stop(true);
}

}  // namespace app
