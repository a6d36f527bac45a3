// Running the queue through the main window: rows in, tasks built from them, real conversions of
// tiny generated clips, progress in the rows, the end of the run and its actions (fakes).
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "app/state_text.h"
#include "app_test_support.h"
#include "fixtures/fixtures.h"
#include "platform/gfx/text_watcher.h"
#include "platform/sys/main_thread.h"
#include "platform/vcl/message_box.h"
#include "platform/win/video_host.h"
#include "platform/win/win.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/skin_message.h"
#include "skin/menus/skin_menu.h"

namespace app::test {
namespace {

namespace fs = std::filesystem;

// "mpeg4(MPEG-4 part 2)" -> "mpeg4".
std::string ShortName(const std::string& codecName) {
    return codecName.substr(0, codecName.find('('));
}

struct TOutputFacts {
    std::string Format, VideoCodec, AudioCodec, AudioLanguage;
    int Width = -1, Height = -1;
    int64_t Duration = -1;      // microseconds
    int64_t VideoBitRate = -1;  // bit/s
};

class RunQueueTest : public TAppTest {
protected:
    void SetUp() override {
        TAppTest::SetUp();
        Start();
        ASSERT_TRUE(Form1->FFTasks->LoadAVLib("")) << Form1->FFTasks->LastErrMsg();
        out = home.Path() + "/out";
        fs::create_directories(out);
        Form1->FileOutPutPath = out;
        Form1->Video_OutPut_Folder_Edit->SetText(out);
    }

    vcl::TListItem* AddRow(const std::string& input, const TColumns& columns,
                           const std::function<void(media::TOutputOptions&)>& slot = {}) {
        vcl::TListItem* row = AddQueuedRow(input, columns, slot);
        EXPECT_NE(row, nullptr);
        return row;
    }
    std::string Column(int row, int k) {
        return Form1->lvFiles->Items().Item(row)->SubItems().Get(k);
    }

    void ClickStart() { Form1->bsSkinButton2->ButtonClick(); }
    // A hang guard only: dispatches until the run's final report was handled.
    bool WaitForIdle() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (Form1->Running()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            sys::CheckSynchronize(10);
            Run();
        }
        Run();
        return true;
    }
    // A hang guard only: runs hand-overs and messages until `done` holds.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            sys::CheckSynchronize(10);
            Run();
        }
        return true;
    }
    void RunQueue() {
        ClickStart();
        ASSERT_TRUE(WaitForIdle());
    }

    TOutputFacts Probe(const std::string& path) {
        media::TAVProbe& probe = Form1->FFTasks->AVProbe();
        TOutputFacts facts;
        if (!probe.LoadFile(path)) return facts;
        facts.Format = probe.FormatName();
        facts.Duration = probe.FileStreamInfo().Duration;
        const media::TVideoStreamInfo v = probe.GetVideoStreamInfo(-1);
        facts.VideoCodec = ShortName(v.CodecName);
        facts.Width = v.Width;
        facts.Height = v.Height;
        facts.VideoBitRate = v.BitRate;
        const media::TAudioStreamInfo a = probe.GetAudioStreamInfo(-1);
        facts.AudioCodec = ShortName(a.CodecName);
        facts.AudioLanguage = a.Language;
        probe.CloseFile();
        return facts;
    }

    // The window after a run: add, clear, start and the settings on; delete and rename off.
    void ExpectIdleAfterRun() {
        EXPECT_TRUE(Form1->bsSkinMenuSpeedButton1->Enabled());
        EXPECT_TRUE(Form1->N1->Enabled());
        EXPECT_TRUE(Form1->bsSkinButton8->Enabled());
        EXPECT_TRUE(Form1->N9->Enabled());
        EXPECT_TRUE(Form1->bsSkinButton2->Enabled());
        EXPECT_TRUE(Form1->N10->Enabled());
        EXPECT_TRUE(Form1->bsSkinOfficeComboBox1->Enabled());
        EXPECT_TRUE(Form1->bsSkinComboBox1->Enabled());
        EXPECT_TRUE(Form1->bsSkinButton5->Enabled());
        EXPECT_FALSE(Form1->bsSkinButton7->Enabled());
        EXPECT_FALSE(Form1->bsSkinButton21->Enabled());
        EXPECT_FALSE(Form1->bsSkinButton10->Enabled());
        EXPECT_FALSE(Form1->bsSkinButton11->Enabled());
        EXPECT_FALSE(Form1->FFTasks->Working());
    }

    // The next modal box: its caption and text are kept and it is answered with Return.
    struct TSeenBox {
        std::string Caption, Text;
    };
    void AnswerNextBox(std::vector<TSeenBox>& seen) {
        Screen->QueueIdleStep([this, &seen] {
            const win::HWND box = win::GetActiveWindow();
            TSeenBox b{win::GetWindowText(box), vcl::MessageBoxText(box)};
            if (auto* skinned = dynamic_cast<skin::TbsMessageForm*>(vcl::FindControl(box)))
                b.Text = skinned->Message->Caption();
            seen.push_back(b);
            Press(win::VK_RETURN);
        });
    }

    std::string out;
};

// Three rows, two threads: every row reaches "100%", every output has the row's settings and
// the input's length, and the window is idle again with the folder opened once.
TEST_F(RunQueueTest, ThreeRowsTwoThreadsConvertIntoTheirOwnRows) {
    Form5->bsSkinCheckRadioBox7->SetChecked(true);
    Form5->bsSkinComboBox2->SetItemIndex(1);  // "2"
    ASSERT_EQ(Form5->bsSkinComboBox2->Text(), "2");
    const std::string clip = fixtures::Path(fixtures::kClipAvi);
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) AddRow(clip, Mpeg4AviColumns(name));
    RunQueue();
    const int64_t inputDuration = [&] {
        Form1->FFTasks->AVProbe().LoadFile(clip);
        const int64_t d = Form1->FFTasks->AVProbe().FileStreamInfo().Duration;
        Form1->FFTasks->AVProbe().CloseFile();
        return d;
    }();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Column(row, siProgress), "100%") << row;
        const TOutputFacts f = Probe(out + "/" + Column(row, siOutputFile));
        EXPECT_EQ(f.Format, "avi") << row;
        EXPECT_EQ(f.VideoCodec, "mpeg4") << row;
        EXPECT_EQ(f.AudioCodec, "mp2") << row;
        EXPECT_EQ(f.Width, 320) << row;
        EXPECT_EQ(f.Height, 240) << row;
        EXPECT_NEAR(double(f.Duration), double(inputDuration), 100000.0) << row;
        EXPECT_EQ(f.AudioLanguage, "") << "the slot's state never reaches the output";
    }
    EXPECT_EQ(Column(0, siOutputFile), "a.avi");
    ExpectIdleAfterRun();
    EXPECT_EQ(opened, std::vector<std::string>{out});
    EXPECT_EQ(powerOff.Requests(), 0);

    // Selecting a row previews its input, and "快照" writes the pane's picture into the default
    // snapshot folder. The row gets the keys an add writes, so the selection restores it.
    vcl::TListItem* row = Form1->lvFiles->Items().Item(0);
    row->SubItems().Put(siChoiceKey,
                        std::to_string(ChoiceKey(Form1->bsSkinOfficeComboBox2->ItemIndex(),
                                                 Form1->bsSkinOfficeComboBox1->ItemIndex())));
    row->SubItems().Put(
        siOptionString,
        OptionString({Form1->bsSkinComboBox1->ItemIndex(), Form1->bsSkinComboBox2->ItemIndex(),
                      Form1->bsSkinComboBox3->ItemIndex(), Form1->bsSkinComboBox4->ItemIndex(),
                      Form1->bsSkinComboBox9->ItemIndex(), Form1->bsSkinComboBox10->ItemIndex()}));
    Form1->lvFiles->SetItemIndex(0);
    // The player takes the frame before the pane is handed its picture: wait for both (a hang
    // guard only).
    int64_t pts = -1;
    std::shared_ptr<win::TVideoHost> pane;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!((Form1->FFPlayer->CurrentFrame(pts), pts >= 0) &&
             (pane = win::FindVideoHost(Form1->Panel6->Handle())) && pane->Picture()) &&
           std::chrono::steady_clock::now() < deadline) {
        sys::CheckSynchronize(2);
        Run();
        AdvanceMs(10);
    }
    ASSERT_GE(pts, 0) << "a picture in the pane";
    ASSERT_TRUE(pane);
    EXPECT_TRUE(pane->Picture());
    Form1->bsSkinButton1->ButtonClick();  // 快照
    gfx::TBitmap shot;
    shot.LoadFromFile(home.Path() + "/Zorvani视频软件/快照/clip_1.bmp");
    EXPECT_EQ(shot.Width(), 320);
    EXPECT_EQ(shot.Height(), 240);
    Form1->FFPlayer->Stop(true);
}

// The row's columns, not the slot's stored values, decide the conversion.
TEST_F(RunQueueTest, TasksAreBuiltFromTheRowsColumns) {
    struct TCase {
        const char* What;
        const char* Output;
        std::function<void(media::TOutputOptions&)> Slot;
        TColumns Changes;
        const char* Format;
        const char* VideoCodec;
        int Width, Height;
    };
    const TCase cases[] = {
        {"switched from DVD to a preset without target",
         "dvd.avi",
         [](media::TOutputOptions& o) {
             o.TargetType = media::ttDVD;
             o.NormType = media::ntPAL;
         },
         {{siTargetType, ""}, {siNormType, ""}},
         "avi",
         "mpeg4",
         160,
         120},
        {"1280*720 at the add, then keep the source's size",
         "keep.avi",
         [](media::TOutputOptions& o) { o.FrameSize = "1280*720"; },
         {{siFrameSize, ""}},
         "avi",
         "mpeg4",
         160,
         120},
        {"x264 at the add, then a preset without video encoder",
         "none.avi",
         [](media::TOutputOptions& o) {
             o.VideoCodec = "libx264";
             o.VideoPreset = "libx264-default";
         },
         {{siVideoCodec, ""}},
         "avi",
         "mpeg4",
         160,
         120},
        {"a frame size chosen after the add",
         "size.avi",
         {},
         {{siFrameSize, "96*64"}},
         "avi",
         "mpeg4",
         96,
         64},
    };
    for (const TCase& c : cases) {
        TColumns columns = Mpeg4AviColumns(c.Output);
        for (const auto& [k, text] : c.Changes) columns[k] = text;
        AddRow(fixtures::Path(fixtures::kTinyClipAvi), columns, c.Slot);
    }
    RunQueue();
    for (int row = 0; row < int(std::size(cases)); ++row) {
        const TCase& c = cases[row];
        EXPECT_EQ(Column(row, siProgress), "100%") << c.What;
        const TOutputFacts f = Probe(out + "/" + c.Output);
        EXPECT_EQ(f.Format, c.Format) << c.What;
        EXPECT_EQ(f.VideoCodec, c.VideoCodec) << c.What;
        EXPECT_EQ(f.Width, c.Width) << c.What;
        EXPECT_EQ(f.Height, c.Height) << c.What;
    }
}

// A VCD row converts at the target's rate whatever its rate column holds.
TEST_F(RunQueueTest, AVcdRowConvertsAtTheTargetsRate) {
    TColumns columns = Mpeg4AviColumns("v.mpg");
    columns[siVideoCodec] = "";
    columns[siAudioCodec] = "";
    columns[siTargetType] = "vcd";
    columns[siNormType] = "PAL";
    columns[siVideoBitrate] = "800000";
    AddRow(fixtures::Path(fixtures::kTinyClipAvi), columns, [](media::TOutputOptions& o) {
        o.VideoCodec.clear();
        o.AudioCodec.clear();
        o.TargetType = media::ttVCD;
        o.NormType = media::ntPAL;
    });
    RunQueue();
    EXPECT_EQ(Column(0, siProgress), "100%");
    const TOutputFacts f = Probe(out + "/v.mpg");
    EXPECT_EQ(f.VideoCodec, "mpeg1video");
    EXPECT_EQ(f.Width, 352);
    EXPECT_EQ(f.Height, 288);
    EXPECT_EQ(f.VideoBitRate, 1150000);
}

// Output names at start: no two tasks write one file, none writes over an input, and renaming
// keeps earlier outputs while overwriting replaces them.
TEST_F(RunQueueTest, OutputNamesAreMadeUniqueAtStart) {
    testsupport::TTempDir a, b;
    const std::string clip = fixtures::Path(fixtures::kTinyClipAvi);
    fs::copy_file(clip, a.File("x.avi"));
    fs::copy_file(clip, b.File("x.avi"));
    AddRow(a.File("x.avi"), Mpeg4AviColumns("x.avi"));
    AddRow(b.File("x.avi"), Mpeg4AviColumns("x.avi"));
    RunQueue();
    EXPECT_EQ(Column(0, siOutputFile), "x.avi");
    EXPECT_EQ(Column(1, siOutputFile), "x_1.avi");
    EXPECT_TRUE(fs::exists(out + "/x.avi"));
    EXPECT_TRUE(fs::exists(out + "/x_1.avi"));

    // Renaming on: the finished queue again leaves the first outputs alone.
    const auto written = fs::last_write_time(out + "/x.avi");
    RunQueue();
    EXPECT_NE(Column(0, siOutputFile), "x.avi");
    EXPECT_NE(Column(1, siOutputFile), "x_1.avi");
    EXPECT_NE(Column(0, siOutputFile), Column(1, siOutputFile));
    EXPECT_EQ(fs::last_write_time(out + "/x.avi"), written);

    // Overwriting on: the rows' names are used again, and replaced.
    Form5->bsSkinCheckRadioBox3->SetChecked(true);
    Form1->lvFiles->Items().Item(0)->SubItems().Put(siOutputFile, "x.avi");
    Form1->lvFiles->Items().Item(1)->SubItems().Put(siOutputFile, "x_1.avi");
    fs::remove(out + "/x.avi");
    fs::copy_file(a.File("x.avi"), out + "/x.avi");  // not what the conversion writes
    const auto plainCopy = fs::file_size(out + "/x.avi");
    RunQueue();
    EXPECT_EQ(Column(0, siOutputFile), "x.avi");
    EXPECT_EQ(Column(1, siOutputFile), "x_1.avi");
    EXPECT_NE(fs::file_size(out + "/x.avi"), plainCopy) << "replaced";

    // Overwriting on and the output folder holding the input: never over the input.
    Form1->Rows().Clear();
    const std::string input = out + "/in.avi";
    fs::copy_file(clip, input);
    const auto inputSize = fs::file_size(input);
    AddRow(out + "/./in.avi", Mpeg4AviColumns("in.avi"));
    RunQueue();
    EXPECT_EQ(Column(0, siOutputFile), "in_1.avi");
    EXPECT_EQ(fs::file_size(input), inputSize);
    EXPECT_EQ(Column(0, siProgress), "100%");
}

// Inputs gone since their add: one box lists them, the others convert into their own rows;
// with nothing left, the box and no start.
TEST_F(RunQueueTest, RowsThatCannotBeBuiltAreListedInOneBox) {
    testsupport::TTempDir in;
    const std::string clip = fixtures::Path(fixtures::kTinyClipAvi);
    for (const char* name : {"one.avi", "gone.avi", "three.avi"})
        fs::copy_file(clip, in.File(name));
    AddRow(in.File("one.avi"), Mpeg4AviColumns("one.avi"));
    AddRow(in.File("gone.avi"), Mpeg4AviColumns("gone.avi"));
    AddRow(in.File("three.avi"), Mpeg4AviColumns("three.avi"));
    Form1->lvFiles->Items().Item(2)->SubItems().Put(siProgress, "100%");  // from a last run
    fs::remove(in.File("gone.avi"));
    std::vector<TSeenBox> boxes;
    AnswerNextBox(boxes);
    RunQueue();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "提示");
    EXPECT_EQ(boxes[0].Text.rfind("以下文件无法转换：\ngone.avi: ", 0), 0u) << boxes[0].Text;
    EXPECT_EQ(boxes[0].Text.find("\none.avi"), std::string::npos);
    EXPECT_EQ(Column(0, siProgress), "100%");
    EXPECT_EQ(Column(1, siProgress), "") << "the row that failed shows no old progress";
    EXPECT_EQ(Column(2, siProgress), "100%");
    EXPECT_TRUE(fs::exists(out + "/one.avi"));
    EXPECT_TRUE(fs::exists(out + "/three.avi"));

    fs::remove(in.File("one.avi"));
    fs::remove(in.File("three.avi"));
    opened.clear();
    boxes.clear();
    AnswerNextBox(boxes);
    ClickStart();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].Text.find("one.avi: "), std::string::npos);
    EXPECT_NE(boxes[0].Text.find("three.avi: "), std::string::npos);
    EXPECT_FALSE(Form1->Running());
    EXPECT_FALSE(Form1->FFTasks->Working());
    EXPECT_TRUE(Form1->bsSkinButton2->Enabled());
    EXPECT_TRUE(opened.empty()) << "no run, no end-of-run action";
}

// A write that fails mid-run: the warning with the engine's text, the other rows finish.
TEST_F(RunQueueTest, AWriteFailureWarnsAndTheOtherRowsFinish) {
    Form5->bsSkinCheckRadioBox3->SetChecked(true);  // overwrite: the link is used as it is
    ASSERT_EQ(symlink("/dev/full", (out + "/full.avi").c_str()), 0);
    const std::string clip = fixtures::Path(fixtures::kClipAvi);
    AddRow(clip, Mpeg4AviColumns("full.avi"));
    AddRow(clip, Mpeg4AviColumns("fine.avi"));
    std::vector<TSeenBox> boxes;
    AnswerNextBox(boxes);
    RunQueue();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Moradex");
    EXPECT_EQ(boxes[0].Text.rfind(out + "/full.avi: No space left on device", 0), 0u)
        << boxes[0].Text;
    EXPECT_EQ(Column(0, siProgress), "失败");
    EXPECT_EQ(Column(1, siProgress), "100%");
    ExpectIdleAfterRun();
}

// An input deleted while it converts: the open file still reads, the row finishes normally.
TEST_F(RunQueueTest, AnInputDeletedWhileItConvertsFinishes) {
    testsupport::TTempDir in;
    fs::copy_file(fixtures::Path(fixtures::kClipAvi), in.File("c.avi"));
    AddRow(in.File("c.avi"), Mpeg4AviColumns("c.avi"));
    std::vector<TSeenBox> boxes;
    AnswerNextBox(boxes);
    ClickStart();
    fs::remove(in.File("c.avi"));
    ASSERT_TRUE(WaitForIdle());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Column(0, siProgress), "100%");
    EXPECT_GT(Probe(out + "/c.avi").Width, 0);
}

// The output folder removed during a run: the running task and the ones after it fail with the
// file's name and the system's text, and their rows say so.
TEST_F(RunQueueTest, AnOutputFolderRemovedDuringTheRunFailsItsTasks) {
    const std::string clip = fixtures::Path(fixtures::kTinyClipAvi);
    Form5->bsSkinComboBox2->SetItemIndex(0);  // one task at a time
    AddRow(clip, Mpeg4AviColumns("first.avi"));
    AddRow(clip, Mpeg4AviColumns("second.avi"));
    // Gone at the first task's first progress report, on the main thread.
    bool removed = false;
    Form1->FFTasks->SetOnProgress(
        [&removed, this](media::TCustomFFTaskManager* sender, media::PProgressInfo info) {
            if (!removed) removed = fs::remove_all(out) > 0;
            Form1->FFTasksProgress(sender, info);
        });
    std::vector<TSeenBox> boxes;
    AnswerNextBox(boxes);
    AnswerNextBox(boxes);
    RunQueue();
    ASSERT_TRUE(removed);
    // The second report may come inside the first one's box: the texts in either order.
    std::set<std::string> texts;
    for (const TSeenBox& b : boxes) {
        EXPECT_EQ(b.Caption, "Moradex");
        texts.insert(b.Text);
    }
    EXPECT_EQ(texts, (std::set<std::string>{out + "/first.avi: No such file or directory; the "
                                                  "file was removed while it was written",
                                            out + "/second.avi: No such file or directory"}));
    EXPECT_EQ(Column(0, siProgress), "失败");
    EXPECT_EQ(Column(1, siProgress), "失败");
    EXPECT_FALSE(fs::exists(out));
    ExpectIdleAfterRun();
}

// Pause and continue swap the tool bar's buttons and hold the progress; stop while paused
// returns the window to idle; clicks on "开始" during the stop raise nothing; rows whose task
// never started keep an empty progress column.
TEST_F(RunQueueTest, PauseContinueAndStop) {
    const std::string clip = fixtures::Path(fixtures::kClipAvi);
    for (const char* name : {"p0.avi", "p1.avi", "p2.avi"}) AddRow(clip, Mpeg4AviColumns(name));
    Form5->bsSkinCheckRadioBox5->SetChecked(true);  // nothing at the end
    ClickStart();
    EXPECT_FALSE(Form1->bsSkinButton2->Enabled());
    EXPECT_FALSE(Form1->bsSkinMenuSpeedButton1->Enabled());
    EXPECT_FALSE(Form1->bsSkinOfficeComboBox1->Enabled());
    EXPECT_TRUE(Form1->bsSkinButton10->Enabled());

    Form1->bsSkinButton11->ButtonClick();  // 暂停
    EXPECT_FALSE(Form1->bsSkinButton11->Visible());
    EXPECT_TRUE(Form1->bsSkinButton12->Visible());
    EXPECT_TRUE(Form1->bsSkinButton12->Enabled());
    EXPECT_TRUE(Form1->N13->Enabled());
    for (int i = 0; i < 5; ++i) sys::CheckSynchronize(10);  // what was under way when paused
    const std::string held = Column(0, siCurrentTime) + Column(0, siConvertedSize);
    for (int i = 0; i < 30; ++i) {
        sys::CheckSynchronize(10);
        Run();
    }
    EXPECT_EQ(Column(0, siCurrentTime) + Column(0, siConvertedSize), held);

    Form1->bsSkinButton12->ButtonClick();  // 继续
    EXPECT_TRUE(Form1->bsSkinButton11->Visible());
    EXPECT_FALSE(Form1->bsSkinButton12->Visible());
    Form1->bsSkinButton11->ButtonClick();

    // Twenty clicks on "开始" land while the stop waits.
    std::vector<TSeenBox> boxes;
    AnswerNextBox(boxes);
    for (int i = 0; i < 20; ++i)
        sys::QueueInMainThread([this] { Click(Form1->bsSkinButton2, 20, 20); });
    Form1->bsSkinButton10->ButtonClick();  // 停止
    EXPECT_FALSE(Form1->Running());
    EXPECT_TRUE(boxes.empty()) << boxes.front().Text;
    EXPECT_TRUE(Form1->bsSkinButton11->Visible());
    EXPECT_FALSE(Form1->bsSkinButton12->Visible());
    EXPECT_FALSE(Form1->bsSkinButton12->Enabled());
    EXPECT_TRUE(Form1->bsSkinMenuSpeedButton1->Enabled());
    EXPECT_TRUE(Form1->bsSkinButton2->Enabled());
    EXPECT_FALSE(Form1->FFTasks->Working());
    EXPECT_EQ(Column(1, siProgress), "");
    EXPECT_EQ(Column(2, siProgress), "");
    Run();
    EXPECT_FALSE(Form1->Running()) << "no click started a run";
    ExpectIdleAfterRun();
    EXPECT_TRUE(opened.empty());
}

// The progress columns, from the task manager's reports.
TEST_F(RunQueueTest, ProgressColumns) {
    AddRow("/nowhere.avi", Mpeg4AviColumns("n.avi"));
    AddRow("/nowhere2.avi", Mpeg4AviColumns("m.avi"));
    Form1->Rows().Record(1)->Task = 0;  // moved during a run: the task's row, not its position
    struct TCase {
        int64_t Current, Total;
        int Fps;
        int64_t Size;
        const char *Progress, *FpsText, *Time, *SizeText;
    };
    const TCase cases[] = {
        {0, 0, 0, 0, "N/A", "", "00:00:00", "0MB"},
        {3725000000, 0, 25, 1572864, "N/A", "25", "01:02:05", "1.5MB"},
        {5000000, 10000000, 0, 10000000, "50%", "25", "00:00:05", "9.54MB"},
        {10100000, 10000000, 30, 10000000, "101%", "30", "00:00:10", "9.54MB"},
        {1, -1, -1, 2048, "N/A", "30", "00:00:00", "0MB"},
    };
    for (const TCase& c : cases) {
        media::TProgressInfo info;
        info.TaskIndex = 0;
        info.CurrentDuration = c.Current;
        info.TotalDuration = c.Total;
        info.FPS = c.Fps;
        info.CurrentSize = c.Size;
        Form1->FFTasksProgress(Form1->FFTasks.get(), &info);
        EXPECT_EQ(Column(1, siProgress), c.Progress) << c.Current;
        EXPECT_EQ(Column(1, siFps), c.FpsText) << c.Current;
        EXPECT_EQ(Column(1, siCurrentTime), c.Time) << c.Current;
        EXPECT_EQ(Column(1, siConvertedSize), c.SizeText) << c.Current;
        EXPECT_EQ(Column(0, siProgress), "") << "the other row";
    }
}

// The log memo's line: thread id, the level's ordinal, the message; the id is the Linux one.
TEST_F(RunQueueTest, LogLines) {
    EXPECT_EQ(TForm1::LogLine(1234, media::llInfo, "abc"), "#1234.5: abc");
    EXPECT_EQ(TForm1::LogLine(7, media::llQuiet, ""), "#7.0: ");
    EXPECT_EQ(TForm1::LogLine(4000000000u, media::llDebug, "x"), "#4000000000.7: x");
    Form1->FFLogger->Log(nullptr, media::llError, "from the main thread");
    Run();
    const rtl::TStringList& lines = Form1->mmoLog->Lines();
    ASSERT_GT(lines.Count(), 0);
    EXPECT_EQ(lines.Get(lines.Count() - 1),
              "#" + std::to_string(gettid()) + ".3: from the main thread");
}

// The end-of-run action chosen in the options dialog runs once, also after a stop; powering
// off only after a queue that ran to its end, never after the user's stop.
TEST_F(RunQueueTest, EndOfRunActions) {
    struct TCase {
        skin::TbsSkinCheckRadioBox* Box;
        bool SoundFile;
        bool Stop;
        size_t Opened;
        int PowerOffs;
        size_t Sounds;
    };
    const std::string ring = program.Path() + "/sounds/ring001.wav";
    const TCase cases[] = {
        {Form5->bsSkinCheckRadioBox1, false, false, 1, 0, 0},
        {Form5->bsSkinCheckRadioBox2, false, false, 0, 1, 0},
        {Form5->bsSkinCheckRadioBox2, false, true, 0, 0, 0},
        {Form5->bsSkinCheckRadioBox4, true, false, 0, 0, 1},
        {Form5->bsSkinCheckRadioBox4, false, false, 0, 0, 0},
        {Form5->bsSkinCheckRadioBox5, true, false, 0, 0, 0},
        {Form5->bsSkinCheckRadioBox1, false, true, 1, 0, 0},
        {Form5->bsSkinCheckRadioBox4, true, true, 0, 0, 1},
        {Form5->bsSkinCheckRadioBox2, false, false, 0, 1, 0},  // a stop belongs to its run only
    };
    AddRow(fixtures::Path(fixtures::kTinyClipAvi), Mpeg4AviColumns("t.avi"));
    int round = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(round++);
        fs::remove_all(program.Path() + "/sounds");
        if (c.SoundFile) {
            fs::create_directories(program.Path() + "/sounds");
            testsupport::WriteFile(ring, "RIFF");
        }
        opened.clear();
        const int powerBefore = powerOff.Requests();
        const size_t soundsBefore = sound.Played().size();
        c.Box->SetChecked(true);
        ClickStart();
        if (c.Stop) Form1->bsSkinButton10->ButtonClick();
        ASSERT_TRUE(WaitForIdle());
        EXPECT_EQ(opened.size(), c.Opened);
        if (c.Opened) EXPECT_EQ(opened[0], out);
        EXPECT_EQ(powerOff.Requests() - powerBefore, c.PowerOffs);
        EXPECT_EQ(sound.Played().size() - soundsBefore, c.Sounds);
        if (c.Sounds) EXPECT_EQ(sound.Played().back(), ring);
    }
}

// Closing the window during a run stops it and runs no action, power-off included.
TEST_F(RunQueueTest, ClosingDuringARunStopsItWithoutAction) {
    Form5->bsSkinCheckRadioBox2->SetChecked(true);
    const std::string clip = fixtures::Path(fixtures::kClipAvi);
    for (const char* name : {"c0.avi", "c1.avi", "c2.avi"}) AddRow(clip, Mpeg4AviColumns(name));
    ClickStart();
    Form1->Close();
    for (int i = 0; i < 20; ++i) {
        sys::CheckSynchronize(10);
        Run();
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(powerOff.Requests(), 0);
    EXPECT_TRUE(Form1 == nullptr || Form1->FFTasks->Terminated());
}

// The conversion thread's side of a custom hook that lets a test wait for a job to reach a
// picture, and hold it there until the main thread lets it go.
class THookGate {
public:
    // A held task goes on, and no task calls into a gate that is gone.
    ~THookGate() {
        Release();
        if (Form1) Form1->FFTasks->SetOnCustomHook(nullptr);
    }
    // The hook for the task manager: notes how far each task got; at `holdAt` a task waits
    // until Release.
    void Install(int holdAt) {
        FHoldAt = holdAt;
        Form1->FFTasks->SetOnCustomHook([this](media::TCustomFFTaskManager*,
                                               media::PHookInfo info) {
            info->Update = false;
            std::unique_lock lock(FLock);
            FReached[info->TaskIndex] = info->FrameNumber;
            FChanged.notify_all();
            const int frame = info->FrameNumber;
            FChanged.wait_for(lock, std::chrono::seconds(120), [&] { return FHoldAt != frame; });
        });
    }
    // Main thread, without running hand-overs: until `tasks` tasks reached picture `frame`; a
    // hang guard only.
    bool WaitFor(int tasks, int frame) {
        std::unique_lock lock(FLock);
        return FChanged.wait_for(lock, std::chrono::seconds(120),
                                 [&] { return CountAt(frame) >= tasks; });
    }
    bool Reached(int tasks, int frame) {
        std::lock_guard lock(FLock);
        return CountAt(frame) >= tasks;
    }
    // Lets the held task go on, to hold again at `nextHold` (-1: nowhere).
    void Release(int nextHold = -1) {
        std::lock_guard lock(FLock);
        FHoldAt = nextHold;
        FChanged.notify_all();
    }

private:
    // Under FLock: the tasks whose hook saw `frame` or a later picture.
    int CountAt(int frame) const {
        int n = 0;
        for (const auto& [task, reached] : FReached) n += reached >= frame;
        return n;
    }

    std::mutex FLock;
    std::condition_variable FChanged;
    std::map<int, int> FReached;  // task index -> picture its hook saw last
    int FHoldAt = -1;
};

// "00:00:01.200": the preview window's caption.
bool IsPictureTime(const std::string& text) {
    return text.size() == 12 && text[2] == ':' && text[5] == ':' && text[8] == '.';
}

// The live preview windows on the screen.
std::vector<win::HWND> PreviewWindows(win::THeadlessBackend& screen) {
    std::vector<win::HWND> found;
    for (win::HWND w : screen.StackOrder()) {
        const auto exStyle = win::DWORD(win::GetWindowLongPtr(w, win::GWL_EXSTYLE));
        if (win::IsWindowVisible(w) && (exStyle & win::WS_EX_TOOLWINDOW) != 0 &&
            IsPictureTime(win::GetWindowText(w)))
            found.push_back(w);
    }
    return found;
}

// Live preview with four threads: the four windows of a run, open at once, cover neither each
// other nor the tool bar whose buttons stop the run, and stay inside the work area.
TEST_F(RunQueueTest, FourLivePreviewWindowsCoverNeitherEachOtherNorTheToolBar) {
    Form5->bsSkinCheckRadioBox7->SetChecked(true);
    Form5->bsSkinComboBox2->SetItemIndex(3);
    ASSERT_EQ(Form5->bsSkinComboBox2->Text(), "4");
    Form1->FFTasks->SetPreview(true);
    const std::string clip = fixtures::Path(fixtures::kClipAvi);
    for (const char* name : {"v0.avi", "v1.avi", "v2.avi", "v3.avi"})
        AddRow(clip, Mpeg4AviColumns(name), [](media::TOutputOptions& o) { o.CustomHook = true; });
    THookGate gate;
    gate.Install(-1);
    AdvanceMs(1000);  // past the preview interval: each job shows its first picture
    ClickStart();
    // Each job has handed its first picture over, and its window can go only through the main
    // thread after that picture was painted: one pass of the hand-overs opens all four.
    ASSERT_TRUE(gate.WaitFor(4, 5));
    // Only the hand-overs pending now: the message loop would also run the frees that follow.
    sys::CheckSynchronize();
    const std::vector<win::HWND> open = PreviewWindows(*Screen);
    EXPECT_EQ(open.size(), 4u);

    win::MONITORINFO info;
    ASSERT_TRUE(win::GetMonitorInfo(
        win::MonitorFromRect({0, 0, 1, 1}, win::MONITOR_DEFAULTTOPRIMARY), info));
    const vcl::TPoint barOrigin = Form1->bsSkinToolBar2->ClientToScreen({0, 0});
    const win::TRect toolBar{barOrigin.X, barOrigin.Y, barOrigin.X + Form1->bsSkinToolBar2->Width(),
                             barOrigin.Y + Form1->bsSkinToolBar2->Height()};
    std::vector<win::TRect> placed;
    for (win::HWND w : open) {
        win::TRect r;
        win::GetWindowRect(w, r);
        const std::string where = std::to_string(r.Left) + "," + std::to_string(r.Top);
        EXPECT_TRUE(gfx::IntersectRect(r, toolBar).IsEmpty()) << "over the tool bar at " << where;
        EXPECT_TRUE(r.Left >= info.rcWork.Left && r.Top >= info.rcWork.Top &&
                    r.Right <= info.rcWork.Right && r.Bottom <= info.rcWork.Bottom)
            << "off the work area at " << where;
        for (const win::TRect& p : placed)
            EXPECT_TRUE(gfx::IntersectRect(r, p).IsEmpty()) << "over another one at " << where;
        placed.push_back(r);
    }
    ASSERT_TRUE(WaitForIdle());
    EXPECT_TRUE(PreviewWindows(*Screen).empty()) << "each window goes with its job";
    for (int row = 0; row < 4; ++row) EXPECT_EQ(Column(row, siProgress), "100%") << row;
}

// A second of play later the window's caption, drawn by the frame, shows the time its window
// text holds (the text changed without the frame painting it before).
TEST_F(RunQueueTest, ThePreviewCaptionDrawsThePictureTimeOfItsWindowText) {
    Form1->FFTasks->SetPreview(true);
    AddRow(fixtures::Path(fixtures::kClipAvi), Mpeg4AviColumns("t.avi"),
           [](media::TOutputOptions& o) { o.CustomHook = true; });
    std::mutex drawnLock;
    std::vector<std::string> drawn;  // picture times drawn as text, in order
    gfx::SetTextWatcher([&](const gfx::TTextDrawn& d) {
        if (!IsPictureTime(d.Text)) return;
        std::lock_guard lock(drawnLock);
        drawn.push_back(d.Text);
    });
    // The clip is 25 fps: picture 26 is the one at 1 s.
    THookGate gate;
    gate.Install(26);
    AdvanceMs(1000);
    ClickStart();
    ASSERT_TRUE(
        PumpUntil([&] { return gate.Reached(1, 26) && PreviewWindows(*Screen).size() == 1; }));
    const win::HWND window = PreviewWindows(*Screen).front();
    EXPECT_EQ(win::GetWindowText(window), "00:00:00.000");
    // A second of play; the job then holds at the next picture, its window still open.
    AdvanceMs(1000);
    gate.Release(27);
    ASSERT_TRUE(PumpUntil([&] { return win::GetWindowText(window) != "00:00:00.000"; }));
    ASSERT_TRUE(win::IsWindowVisible(window));
    const std::string text = win::GetWindowText(window);
    EXPECT_EQ(text, "00:00:01.000");
    {
        std::lock_guard lock(drawnLock);
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.back(), text) << "the caption drawn last";
    }
    gate.Release();
    gfx::SetTextWatcher({});
    ASSERT_TRUE(WaitForIdle());
}

// End reports handed over from many threads are handled once each, in order, on the main
// thread; a final report of an older run changes nothing.
TEST_F(RunQueueTest, EndReportsAreHandedOverInOrder) {
    const int kTasks = 19;
    for (int i = 0; i < kTasks; ++i) AddRow("/r.avi", Mpeg4AviColumns("r.avi"));
    for (int i = 0; i < kTasks; ++i) Form1->Rows().Record(i)->Task = i;
    Form1->FRunning = true;
    ++Form1->FRunNumber;
    const int run = Form1->RunNumber();
    Form1->TaskEnded({-1, true, false, ""}, run - 1);
    EXPECT_TRUE(Form1->Running()) << "an older run's final report";

    std::atomic<int> turn{0};
    std::vector<std::thread> threads;
    for (int i = 0; i <= kTasks; ++i)
        threads.emplace_back([&turn, i, kTasks] {
            while (turn.load() != i) std::this_thread::yield();
            Form1->FFTasksTerminate(Form1->FFTasks.get(), {i == kTasks ? -1 : i, true, false, ""});
            turn.store(i + 1);
        });
    for (std::thread& t : threads) t.join();
    EXPECT_TRUE(Form1->Running()) << "nothing is handled off the main thread";
    ASSERT_TRUE(WaitForIdle());
    for (int i = 0; i < kTasks; ++i) EXPECT_EQ(Column(i, siProgress), "100%") << i;
    EXPECT_EQ(opened.size(), 1u);
}

// A read-only output folder: the task manager's text in the box and no run. Root writes
// anywhere, so the case runs in a child that first drops to an unprivileged user.
TEST_F(RunQueueTest, AReadOnlyOutputFolderIsListedInTheBox) {
    testsupport::TTempDir in;
    fs::copy_file(fixtures::Path(fixtures::kTinyClipAvi), in.File("r.avi"));
    chmod(in.Path().c_str(), 0755);
    chmod(in.File("r.avi").c_str(), 0644);
    chmod(home.Path().c_str(), 0755);
    chmod(out.c_str(), 0555);
    AddRow(in.File("r.avi"), Mpeg4AviColumns("r.avi"));
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
        int bad = 0;
        std::vector<TSeenBox> boxes;
        AnswerNextBox(boxes);
        ClickStart();
        bad |= (boxes.size() != 1) << 0;
        if (boxes.size() == 1) {
            bad |= (boxes[0].Caption != "提示") << 1;
            bad |= (boxes[0].Text.rfind("以下文件无法转换：\nr.avi: ", 0) != 0) << 2;
            bad |= (boxes[0].Text.find("r.avi: Permission denied") == std::string::npos) << 3;
        }
        bad |= Form1->Running() << 4;
        bad |= fs::exists(out + "/r.avi") << 5;
        _exit(bad);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    chmod(out.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

class EndToEndTest : public TAppTest {
protected:
    // The open popup menu of the main window's skin form, level 0.
    skin::TbsSkinPopupWindow* MenuLevel() {
        skin::TbsSkinMenu* menu = Form1->bsSkinForm1->SkinMenu;
        return menu && menu->LevelCount() > 0 ? menu->Level(0) : nullptr;
    }
    // Clicks row `index` of an office combo's open list.
    void ClickListItem(skin::TbsSkinOfficeComboBox* combo, int index) {
        skin::TbsPopupOfficeListBox* list = combo->ListBox();
        const gfx::TRect r = list->Items().Items(index)->ItemRect;
        ASSERT_TRUE(combo->IsPopupVisible());
        // The pointer passes over the row on its way, as a hand's does.
        const gfx::TPoint at = At(list, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        Screen->MouseMove(at);
        Run();
        Screen->Click(at);
        Run();
    }
};

// A new user's first conversion, with the real dialogs and engine and injected input only.
TEST_F(EndToEndTest, AddChooseConvertAndTheFolderOpens) {
    Start();
    const std::string clip = fixtures::Path(fixtures::kClipMp4);

    // "添加" drops its menu; "添加一个文件" opens the dialog, where the path is typed.
    bool dialogSeen = false;
    Screen->QueueIdleStep([&] {
        skin::TbsOpenDlgForm* form = Form1->OpenDialog1->DlgFrm();
        ASSERT_NE(form, nullptr);
        dialogSeen = true;
        // The folder first (Enter goes there), then the file's name and "打开".
        for (const std::string& typed :
             {fs::path(clip).parent_path().string(), std::string("clip.mp4")}) {
            form->FileNameEdit->SetText("");
            Click(form->FileNameEdit, 5, 5);
            Screen->Text(typed);
            Run();
            if (typed != "clip.mp4") Press(win::VK_RETURN);
            Run();
        }
        Click(form->OpenButton, 10, 10);
    });
    Click(Form1->bsSkinMenuSpeedButton1, 20, 20);
    Run();
    skin::TbsSkinPopupWindow* level = MenuLevel();
    ASSERT_NE(level, nullptr) << "the add menu dropped";
    const gfx::TRect item = level->Item(0)->ObjectRect;
    Click(level, (item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2);
    Run();
    ASSERT_TRUE(dialogSeen);
    ASSERT_EQ(Form1->lvFiles->Items().Count(), 1);
    EXPECT_EQ(Form1->lvFiles->Items().Item(0)->Caption(), clip);

    // The first category, then its format "MP4 - MPEG-4视频格式(*.mp4)", with clicks.
    Click(Form1->bsSkinOfficeComboBox2, 20, 20);
    Run();
    ClickListItem(Form1->bsSkinOfficeComboBox2, 0);
    Click(Form1->bsSkinOfficeComboBox1, 20, 20);
    Run();
    ClickListItem(Form1->bsSkinOfficeComboBox1, 1);
    EXPECT_EQ(Form1->Work.All_Trant_Number, 101);
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 0) << "the added row is selected and takes the choice";

    Click(Form1->bsSkinButton2, 20, 20);  // 开始
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (Form1->Running() && std::chrono::steady_clock::now() < deadline) {
        sys::CheckSynchronize(10);
        Run();
    }
    ASSERT_FALSE(Form1->Running());
    vcl::TListItem* row = Form1->lvFiles->Items().Item(0);
    EXPECT_EQ(row->SubItems().Get(siProgress), "100%");
    EXPECT_TRUE(Form1->bsSkinButton2->Enabled());
    EXPECT_TRUE(Form1->bsSkinMenuSpeedButton1->Enabled());
    const std::string folder = home.Path() + "/Zorvani视频软件/输出";
    EXPECT_EQ(Form1->FileOutPutPath, folder);
    const std::string output = folder + "/" + row->SubItems().Get(siOutputFile);
    EXPECT_EQ(row->SubItems().Get(siOutputFile), "clip.mp4");
    media::TAVProbe& probe = Form1->FFTasks->AVProbe();
    ASSERT_TRUE(probe.LoadFile(output)) << output;
    EXPECT_NE(probe.FormatName().find("mp4"), std::string::npos) << probe.FormatName();
    EXPECT_EQ(ShortName(probe.GetVideoStreamInfo(-1).CodecName), "mpeg4");
    EXPECT_EQ(ShortName(probe.GetAudioStreamInfo(-1).CodecName).substr(0, 3), "mp3");
    probe.CloseFile();
    EXPECT_EQ(opened, std::vector<std::string>{folder});
}

}  // namespace
}  // namespace app::test
