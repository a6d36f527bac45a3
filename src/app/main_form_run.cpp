// Running the queue: start (tasks built from the rows), pause, continue, stop; the task
// manager's progress and end reports, the end-of-run action and the log memo's lines.
//
// The task manager reports the end of each task, and of the run, on its own thread; those
// reports are queued to the main thread tagged with the run's number, and handled there in order.
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "app/main_form.h"
#include "app/options_form.h"
#include "app/state_text.h"
#include "catalogue/output_names.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/sys/launcher.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/paths.h"
#include "platform/sys/power.h"
#include "platform/sys/sound.h"
#include "platform/vcl/message_box.h"

namespace app {

namespace {

// Pictures of the tool bar's image list.
constexpr int kAddOn = 0, kAddOff = 17;
constexpr int kStartOn = 3, kStartOff = 13;
constexpr int kStopOn = 4, kStopOff = 14;
constexpr int kPauseOn = 5, kPauseOff = 15;
constexpr int kResumeOn = 6, kResumeOff = 16;
// How long a stop waits for the run's final report.
constexpr auto kStopBound = std::chrono::seconds(10);

constexpr const char* kLeftOutText = "以下文件无法转换：";
// The progress column of a task that failed.
constexpr const char* kFailedText = "失败";

void SetCommand(skin::TbsSkinButton* button, vcl::TMenuItem* item, bool enabled, int imageOn,
                int imageOff) {
    button->SetEnabled(enabled);
    button->SetImageIndex(enabled ? imageOn : imageOff);
    if (item) item->SetEnabled(enabled);
}

// The add command: the tool bar's drop-down, the hidden button and the six menu items.
void EnableAdd(TForm1& f, bool enabled) {
    f.bsSkinMenuSpeedButton1->SetEnabled(enabled);
    f.bsSkinMenuSpeedButton1->SetImageIndex(enabled ? kAddOn : kAddOff);
    f.btnAdd->SetEnabled(enabled);
    for (vcl::TMenuItem* item : {f.N1, f.N2, f.N21}) item->SetEnabled(enabled);
    vcl::TMenuItem* popup = f.bsSkinPopupMenu1->Items();
    for (int i = 0; i < popup->Count(); ++i) popup->Items(i)->SetEnabled(enabled);
}

// The six parameter lists, the category and format lists and "浏览...".
void LockSettings(TForm1& f, bool locked) {
    for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{
             f.bsSkinComboBox1, f.bsSkinComboBox2, f.bsSkinComboBox3, f.bsSkinComboBox4,
             f.bsSkinComboBox9, f.bsSkinComboBox10, f.bsSkinOfficeComboBox2,
             f.bsSkinOfficeComboBox1, f.bsSkinButton5})
        c->SetEnabled(!locked);
    f.bsSkinOfficeComboBox2->Repaint();
}

// Strict decimal; the writers of the row never give anything else, and a row that somehow
// does gets the field's unset value rather than a crash.
int32_t DecimalOr(const std::string& text, int32_t unset) {
    if (text.empty()) return unset;
    try {
        std::size_t used = 0;
        const long long value = std::stoll(text, &used, 10);
        if (used != text.size() || value < INT32_MIN || value > INT32_MAX) return unset;
        return int32_t(value);
    } catch (const std::exception&) {
        return unset;
    }
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The row's settings columns into its slot's output record; fields no column carries keep what
// the add stored.
void ReadRowSettings(vcl::TListItem& row, media::TOutputOptions& o) {
    auto sub = [&row](TFileSubItem i) {
        return i < row.SubItems().Count() ? row.SubItems().Get(i) : std::string();
    };
    const std::string videoCodec = sub(siVideoCodec);
    o.VideoCodec = videoCodec;
    o.VideoPreset = videoCodec == "libx264" ? "libx264-default" : "";
    const std::string audioCodec = sub(siAudioCodec);
    o.AudioCodec = audioCodec == "AUTO" ? "" : audioCodec;
    o.AudioChannels = DecimalOr(sub(siAudioChannels), -1);
    o.VideoTag = videoCodec == "libx264" ? "" : sub(siVideoTag);
    o.FileExt = sub(siFileExt);
    o.FrameSize = sub(siFrameSize);
    o.VideoBitrate = DecimalOr(sub(siVideoBitrate), -1);
    o.FrameRate = sub(siFrameRate);
    const std::string audioBitrate = sub(siAudioBitrate);
    o.AudioBitrate =
        audioBitrate == "-1000" || audioBitrate == "-2000" ? -1 : DecimalOr(audioBitrate, -1);
    const std::string sampleRate = sub(siAudioSampleRate);
    o.AudioSampleRate = sampleRate == "AUTO" ? -1 : DecimalOr(sampleRate, -1);
    o.FrameAspectRatio = sub(siFrameAspectRatio);
    o.DisableVideo = sub(siDisableVideo) == "True";
    const std::string target = sub(siTargetType);
    o.TargetType = target == "vcd"    ? media::ttVCD
                   : target == "svcd" ? media::ttSVCD
                   : target == "dvd"  ? media::ttDVD
                                      : media::ttIgnore;
    // The target fixes the VCD rate; a stale rate column must not override it.
    if (o.TargetType == media::ttVCD) o.VideoBitrate = -1;
    const std::string norm = sub(siNormType);
    o.NormType = norm == "PAL" ? media::ntPAL : norm == "NTSC" ? media::ntNTSC : media::ntAuto;
}

}  // namespace

void TForm1::BuildRunCommands() {
    btnStart = MakeCommand("btnStart", "开始", 390, [this] { btnStartClick(); });
    btnStop = MakeCommand("btnStop", "停止", 420, [this] { btnStopClick(); });
    btnPause = MakeCommand("btnPause", "暂停", 450, [this] { btnPauseClick(); });
    btnResume = MakeCommand("btnResume", "继续", 480, [this] { btnResumeClick(); });
    button28 = MakeCommand("button28", "", 510, [this] { button28Click(); });
    Button20 = MakeCommand("Button20", "转换后打开文件夹", 540, [this] { Button20Click(); });
    Button22 = MakeCommand("Button22", "工作中设置为不能", 570, [this] { Button22Click(); });
    Button23 = MakeCommand("Button23", "工作完成设置为能", 600, [this] { Button23Click(); });
    Button25 = MakeCommand("Button25", "关机", 630, [this] { Button25Click(); });
    Button29 = MakeCommand("Button29", " 播放提示音", 660, [this] { Button29Click(); });

    FFTasks->SetOnProgress([this](media::TCustomFFTaskManager* sender, media::PProgressInfo info) {
        FFTasksProgress(sender, info);
    });
    FFTasks->SetOnTerminate(
        [this](media::TCustomFFTaskManager* sender, const media::TTerminateInfo& info) {
            FFTasksTerminate(sender, info);
        });
    FFLogger->SetOnLog([this](const void* sender, sys::TThreadId thread, media::TLogLevel level,
                              const std::string& msg) { FFLoggerLog(sender, thread, level, msg); });

    // Closing drops every end report from then on; the rest of the close is the window's own.
    vcl::TCloseQueryEvent closeQuery = OnCloseQuery;
    OnCloseQuery = [this, closeQuery](vcl::TObject* sender, bool& canClose) {
        FClosing = true;
        if (closeQuery) closeQuery(sender, canClose);
    };
}

// --- Commands ------------------------------------------------------------------------------------

void TForm1::bsSkinButton2Click() {
    btnStart->Click();
}
void TForm1::bsSkinButton10Click() {
    btnStop->Click();
}

void TForm1::bsSkinButton11Click() {
    btnPause->Click();
    bsSkinButton11->SetVisible(false);
    bsSkinButton12->SetVisible(true);
}

void TForm1::bsSkinButton12Click() {
    btnResume->Click();
    bsSkinButton11->SetVisible(true);
    bsSkinButton12->SetVisible(false);
}

void TForm1::btnStartClick() {
    // The menu item and hidden button bypass the tool bar's state.
    if (FRunning || FStopping) return;
    static constexpr sys::TThreadPriority priorities[] = {sys::tpIdle, sys::tpLowest, sys::tpLower,
                                                          sys::tpNormal};
    skin::TbsSkinCheckRadioBox* const priorityBoxes[] = {
        Form5->bsSkinCheckRadioBox9, Form5->bsSkinCheckRadioBox10, Form5->bsSkinCheckRadioBox11,
        Form5->bsSkinCheckRadioBox12};
    for (int i = 0; i < 4; ++i)
        if (priorityBoxes[i]->Checked()) FFTasks->SetThreadPriority(priorities[i]);

    // A row that showed "100%" last time and fails now must not keep it.
    for (int i = 0, n = lvFiles->Items().Count(); i < n; ++i) {
        rtl::TStringList& sub = lvFiles->Items().Item(i)->SubItems();
        for (int k : {siProgress, siFps, siCurrentTime, siConvertedSize})
            if (k < sub.Count()) sub.Put(k, "");
    }
    if (button28Click() == 0) return;

    ++FRunNumber;
    FRunning = true;
    FStopAsked = false;
    EnableAdd(*this, false);
    Button22->Click();
    SetListCommandsEnabled(false);  // delete, rename, clear and start
    const bool offered = chkThreadMode->Checked();
    SetCommand(bsSkinButton10, N11, offered, kStopOn, kStopOff);
    SetCommand(bsSkinButton11, N12, offered, kPauseOn, kPauseOff);
    SetCommand(bsSkinButton12, N13, false, kResumeOn, kResumeOff);

    int threads = 1;
    if (Form5->bsSkinCheckRadioBox7->Checked())
        threads = DecimalOr(Form5->bsSkinComboBox2->Text(), 1);
    if (threads < 1) threads = 1;
    FFTasks->Start(threads);
}

int TForm1::button28Click() {
    FFTasks->ClearTasks();
    Rows().ForgetTasks();
    catalogue::TOutputNameRules rules;
    rules.OutputFolder = FileOutPutPath;
    rules.Overwrite = Form5->bsSkinCheckRadioBox3->Checked();
    // No output may replace an input of this queue.
    const int rowCount = lvFiles->Items().Count();
    for (int i = 0; i < rowCount; ++i)
        rules.PlannedPaths.push_back(lvFiles->Items().Item(i)->Caption());

    std::string leftOut;
    int built = 0;
    for (int i = 0; i < rowCount; ++i) {
        vcl::TListItem* row = lvFiles->Items().Item(i);
        TRowRecord* record = TTaskRows::Record(row);
        if (!record) continue;
        media::TInputOptions& input = Rows().InputOf(*record);
        media::TOutputOptions& output = Rows().OutputOf(*record);
        ReadRowSettings(*row, output);
        input.FileName = row->Caption();
        auto leave = [&](const std::string& reason) {
            leftOut += "\n" + FileNamePart(row->Caption()) + ": " + reason;
        };

        const std::string shown =
            row->SubItems().Count() > siOutputFile ? row->SubItems().Get(siOutputFile) : "";
        const std::string path = catalogue::MakeUniqueOutputFileName(FileOutPutPath + "/" + shown,
                                                                     row->Caption(), rules);
        if (path.empty()) {
            leave(catalogue::kEmptyOutputFolderText);
            continue;
        }
        const int task = FFTasks->AddTask(input.FileName, &input);
        if (task < 0) {
            leave(FFTasks->LastErrMsg());
            continue;
        }
        media::TOutputOptions passed = output;
        passed.AudioLanguage.clear();  // the slot's state is ours, not the conversion's
        if (!FFTasks->SetOutputFile(task, path, &passed)) {
            leave(FFTasks->LastErrMsg());
            FFTasks->RemoveTask(task);
            continue;
        }
        record->Task = task;
        rules.PlannedPaths.push_back(path);
        row->SubItems().Put(siOutputFile, FileNamePart(path));
        ++built;
    }
    if (!leftOut.empty())
        bsSkinMessage1->MessageDlg2(kLeftOutText + leftOut, "提示", vcl::mtInformation, {vcl::mbOK},
                                    0);
    return built;
}

void TForm1::btnPauseClick() {
    SetCommand(bsSkinButton11, N12, false, kPauseOn, kPauseOff);
    SetCommand(bsSkinButton12, N13, true, kResumeOn, kResumeOff);
    FFTasks->Pause();
}

void TForm1::btnResumeClick() {
    SetCommand(bsSkinButton11, N12, true, kPauseOn, kPauseOff);
    SetCommand(bsSkinButton12, N13, false, kResumeOn, kResumeOff);
    FFTasks->Resume();
}

void TForm1::btnStopClick() {
    if (!FRunning || FStopping) return;
    FStopping = true;
    FStopAsked = true;
    // Nothing is offered until the run's final report is through.
    SetCommand(bsSkinButton10, N11, false, kStopOn, kStopOff);
    SetCommand(bsSkinButton11, N12, false, kPauseOn, kPauseOff);
    SetCommand(bsSkinButton12, N13, false, kResumeOn, kResumeOff);
    SetCommand(bsSkinButton2, N10, false, kStartOn, kStartOff);
    Button23->Click();
    FFTasks->Stop(true);
    FFPlayer->Stop(true);
    // In place of a fixed wait: the final report clears the tasks, so a start can't meet a
    // manager that is still working.
    const auto deadline = std::chrono::steady_clock::now() + kStopBound;
    while (FRunning && !FClosing && std::chrono::steady_clock::now() < deadline) {
        sys::CheckSynchronize(10);
        vcl::Application->ProcessMessages();
    }
    if (FFTasks->Terminated()) {
        FFTasks->ClearTasks();
        Rows().ForgetTasks();
        FRunning = false;
    }
    FStopping = false;
    if (FClosing) return;
    SetCommand(bsSkinButton2, N10, !FRunning, kStartOn, kStartOff);
    EnableAdd(*this, true);
    bsSkinButton11->SetVisible(true);
    SetCommand(bsSkinButton12, N13, false, kResumeOn, kResumeOff);
    bsSkinButton12->SetVisible(false);
}

void TForm1::Button22Click() {
    LockSettings(*this, true);
}

void TForm1::Button23Click() {
    LockSettings(*this, false);
}

// --- Reports of the task manager and the logger --------------------------------------------------

void TForm1::FFTasksProgress(media::TCustomFFTaskManager*, media::PProgressInfo info) {
    vcl::TListItem* row = Rows().RowOfTask(info->TaskIndex);
    if (!row || row->SubItems().Count() <= siConvertedSize) return;
    rtl::TStringList& sub = row->SubItems();
    sub.Put(siProgress,
            info->TotalDuration > 0
                ? std::to_string(info->CurrentDuration * 100 / info->TotalDuration) + "%"
                : "N/A");
    if (info->FPS > 0) sub.Put(siFps, std::to_string(info->FPS));
    sub.Put(siCurrentTime, SecToDate(int(info->CurrentDuration / 1000000)));
    sub.Put(siConvertedSize, MegabyteText(info->CurrentSize));
}

void TForm1::FFTasksTerminate(media::TCustomFFTaskManager*, const media::TTerminateInfo& info) {
    const int run = FRunNumber.load();
    std::weak_ptr<int> alive = FAliveToken;
    sys::QueueInMainThread([this, alive, info, run] {
        if (alive.lock()) TaskEnded(info, run);
    });
}

void TForm1::TaskEnded(const media::TTerminateInfo& info, int run) {
    if (FClosing || run != FRunNumber.load() || !FRunning) return;
    if (info.TaskIndex < 0) {
        SetListCommandsEnabled(false);
        for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{bsSkinButton8, btnClear})
            c->SetEnabled(true);
        N9->SetEnabled(true);
        SetCommand(bsSkinButton10, N11, false, kStopOn, kStopOff);
        SetCommand(bsSkinButton11, N12, false, kPauseOn, kPauseOff);
        SetCommand(bsSkinButton12, N13, false, kResumeOn, kResumeOff);
        bsSkinButton11->SetVisible(true);
        bsSkinButton12->SetVisible(false);
        Button23->Click();
        // Inside a stop this may run within the task manager's own Stop, whose tasks must
        // outlive it: the stop handler clears them once Stop has returned.
        if (!FStopping) {
            FFTasks->ClearTasks();
            Rows().ForgetTasks();
        }
        FRunning = false;
        EnableAdd(*this, true);
        // Inside a stop, start waits for the stop to finish.
        SetCommand(bsSkinButton2, N10, !FStopping, kStartOn, kStartOff);
        if (Form5->bsSkinCheckRadioBox1->Checked())
            Button20->Click();
        else if (Form5->bsSkinCheckRadioBox2->Checked()) {
            // Only a queue that ran to its end: after a stop the user is there, and powering
            // off would close every other program of theirs.
            if (!FStopAsked) Button25->Click();
        } else if (Form5->bsSkinCheckRadioBox4->Checked())
            Button29->Click();
    } else if (info.Finished || info.Exception) {
        // A failure must not keep the percentage it reached.
        if (vcl::TListItem* row = Rows().RowOfTask(info.TaskIndex))
            if (row->SubItems().Count() > siProgress)
                row->SubItems().Put(siProgress, info.Finished ? "100%" : kFailedText);
    }
    if (info.Exception)
        vcl::Application->MessageBox(info.ExceptionMsg, vcl::Application->Title,
                                     win::MB_OK | win::MB_ICONEXCLAMATION);
}

void TForm1::Button20Click() {
    sys::OpenDocument(Video_OutPut_Folder_Edit->Text());
}

void TForm1::Button25Click() {
    sys::RequestPowerOff();
}

void TForm1::Button29Click() {
    const std::string path = sys::GetAppPath() + "sounds/ring001.wav";
    if (sys::FileExists(path)) sys::PlaySoundFile(path);
}

std::string TForm1::LogLine(sys::TThreadId threadId, media::TLogLevel level,
                            const std::string& msg) {
    return "#" + std::to_string(threadId) + "." + std::to_string(int(level)) + ": " + msg;
}

void TForm1::FFLoggerLog(const void*, sys::TThreadId AThreadID, media::TLogLevel ALogLevel,
                         const std::string& ALogMsg) {
    Log(LogLine(AThreadID, ALogLevel, ALogMsg));
}

}  // namespace app
