// Adding files: one file, several, a folder; the failure box, the library load on demand, the
// 500-row limit, and the records each row keeps.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>

#include <gtest/gtest.h>

#include "app/state_text.h"
#include "fixtures/fixtures.h"
#include "media/libs/ffmpeg_loader.h"
#include "platform/sys/files.h"
#include "queue_test_support.h"

namespace app::test {
namespace {

using TFileQueueTest = TQueueTest;

// Runs `body` in a forked child that first drops to an unprivileged user when the suite runs as
// root (root reads and writes anything); the child's exit status is its count of failed checks.
int RunUnprivileged(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
        _exit(std::min(body(), 99));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

bool Contains(const std::vector<std::string>& lines, const std::string& part) {
    return std::ranges::any_of(
        lines, [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// A line that starts with `start` and holds `part` stands in the log as one message: an empty
// line before and after.
bool LoggedAsMessage(const std::vector<std::string>& log, const std::string& start,
                     const std::string& part = "") {
    for (std::size_t i = 1; i + 1 < log.size(); ++i)
        if (log[i].rfind(start, 0) == 0 && log[i].find(part) != std::string::npos &&
            log[i - 1].empty() && log[i + 1].empty())
            return true;
    return false;
}

TEST_F(TFileQueueTest, OneFileGivesARowWithItsTextsSelectedAndTheCommandsOn) {
    const std::string clip = Media(fixtures::kClipAvi, "clip.avi");
    EXPECT_TRUE(AddOne(clip).empty());
    EXPECT_EQ(dialogsAsked, std::vector<int>{1});
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, -1), clip);
    EXPECT_EQ(Cell(0, siDuration), "00:00:02");
    EXPECT_EQ(Cell(0, siFileSize), MegabyteText(std::int64_t(std::filesystem::file_size(clip))));
    EXPECT_EQ(Cell(0, siOutputFile), "clip.avi");
    EXPECT_EQ(Cell(0, siTaskNumber), "1");
    EXPECT_EQ(Cell(0, siChoiceKey), "100");
    EXPECT_EQ(Cell(0, siOptionString), Form1->CurrentOptionString());
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 0);
    EXPECT_TRUE(Form1->lvFiles->Focused());
    EXPECT_EQ(Form1->T_Movie_PLayer_FileName, clip);
    for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{
             Form1->bsSkinButton7, Form1->bsSkinButton8, Form1->bsSkinButton21, Form1->btnRemove,
             Form1->btnClear, Form1->bsSkinButton2})
        EXPECT_TRUE(c->Enabled()) << c->Name();
    for (vcl::TMenuItem* item : {Form1->N8, Form1->N9, Form1->N26, Form1->N10})
        EXPECT_TRUE(item->Enabled()) << item->Caption();
    EXPECT_EQ(Form1->bsSkinButton2->ImageIndex(), 3);
    EXPECT_FALSE(Form1->bsSkinPanel5->Visible());
    const std::vector<std::string> log = LogLines();
    EXPECT_TRUE(LoggedAsMessage(log, "***Can do convert."));
    EXPECT_TRUE(Contains(log, "File Name: ")) << "the input's description is logged";
    // The slot holds the records the task was given, the whole input.
    const TRowRecord* record = Form1->Rows().Record(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Task, 0);
    EXPECT_EQ(Form1->OO1[std::size_t(record->Slot)].AudioLanguage, kSlotFull);
    EXPECT_EQ(Form1->OO1[std::size_t(record->Slot)].FileName, Form1->FileOutPutPath + "/clip.avi");
    EXPECT_EQ(Form1->IO1[std::size_t(record->Slot)].FileName, clip);
    EXPECT_EQ(Form1->FFTasks->TasksCount(), 1);

    // The File menu and the drop-down reach the same command.
    dialogsAsked.clear();
    dialogAnswer = std::nullopt;
    Form1->N1->Click();
    Form1->bsSkinPopupMenu1->Items()->Items(0)->Click();
    EXPECT_EQ(dialogsAsked, (std::vector<int>{1, 1}));
    EXPECT_EQ(RowCount(), 1) << "Cancel adds nothing";
}

TEST_F(TFileQueueTest, SeveralFilesComeInFromTheLastChosenAndTheLastRowIsSelected) {
    std::vector<std::string> files;
    for (const char* name : {"A.avi", "B.avi", "C.avi"})
        files.push_back(Media(fixtures::kTinyClipAvi, name));
    EXPECT_TRUE(AddMany(files).empty());
    EXPECT_EQ(dialogsAsked, std::vector<int>{2});
    ASSERT_EQ(RowCount(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(Cell(r, -1), files[std::size_t(2 - r)]);
        EXPECT_EQ(Cell(r, siTaskNumber), std::to_string(r + 1));
        EXPECT_EQ(Form1->Rows().Record(r)->Task, r);
    }
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 2);
    EXPECT_EQ(Form1->T_Movie_PLayer_FileName, files[0]);

    // The second output of the same name gets "_1": queued rows count as taken.
    EXPECT_TRUE(AddOne(files[0]).empty());
    EXPECT_EQ(Cell(3, siOutputFile), "A_1.avi");

    dialogsAsked.clear();
    Form1->N2->Click();
    Form1->bsSkinPopupMenu1->Items()->Items(1)->Click();
    EXPECT_EQ(dialogsAsked, (std::vector<int>{2, 2}));
}

TEST_F(TFileQueueTest, AFileThatIsNoMediaIsOnlyLogged) {
    const std::string text = Media(fixtures::kTextFile, "text.txt");
    EXPECT_TRUE(AddOne(text).empty());
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(Form1->bsSkinPanel5->Visible());
    const std::vector<std::string> log = LogLines();
    EXPECT_TRUE(
        LoggedAsMessage(log, "***File load error: ", "Invalid data found when processing input"))
        << testing::PrintToString(log);

    // In a multi-add the next file is tried.
    const std::string clip = Media(fixtures::kTinyClipAvi, "clip.avi");
    EXPECT_TRUE(AddMany(std::vector<std::string>{clip, text}).empty());
    EXPECT_EQ(RowCount(), 1);
    // A listed file that went away meanwhile ends the multi-add at once: nothing selected.
    Form1->lvFiles->SetItemIndex(-1);
    EXPECT_TRUE(AddMany(std::vector<std::string>{clip, media.File("gone.avi"), clip}).empty());
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), -1);
}

TEST_F(TFileQueueTest, UnreadableInputAndReadOnlyOutputFolderFailAsTheLibraryAndSystemSay) {
    const std::string clip = Media(fixtures::kTinyClipAvi, "clip.avi");
    const std::string locked = Media(fixtures::kTinyClipAvi, "locked.avi");
    chmod(locked.c_str(), 0);
    chmod(media.Path().c_str(), 0755);
    const std::string out = home.File("ro");
    std::filesystem::create_directories(out);
    chmod(out.c_str(), 0555);
    // Load the libraries before the child, as the first add would.
    ASSERT_TRUE(Form1->FFTasks->LoadAVLib(""));
    const int failures = RunUnprivileged([&] {
        int bad = 0;
        const std::vector<std::string> lockedBoxes = AddOne(locked);
        bad += lockedBoxes.size() != 1;
        if (lockedBoxes.size() == 1) {
            bad += lockedBoxes[0] != "提示|以下文件没有添加：\nlocked.avi: Permission denied";
        }
        bad += RowCount() != 0;
        bad += !Contains(LogLines(), "***File load error: ");
        bad += !Contains(LogLines(), "Permission denied");

        Form1->Video_OutPut_Folder_Edit->SetText(out);
        const std::vector<std::string> boxes = AddOne(clip);
        bad += RowCount() != 0;
        bad += Form1->FFTasks->TasksCount() != 0;
        bad += boxes.size() != 1;
        if (boxes.size() == 1) {
            const std::string& b = boxes[0];
            bad += b.rfind("提示|以下文件没有添加：\nclip.avi: ", 0) != 0;
            bad += b.find("/clip.avi: Permission denied") == std::string::npos;
        }
        bad += !Contains(LogLines(), "***Cannot do convert, error: ");
        return bad;
    });
    EXPECT_EQ(failures, 0);
    chmod(out.c_str(), 0755);
}

TEST_F(TFileQueueTest, TheFiveHundredAndFirstRowIsRefused) {
    vcl::TListItems& items = Form1->lvFiles->Items();
    items.BeginUpdate();
    media::TInputOptions io;
    media::TOutputOptions oo;
    for (int r = 0; r < kMaxRows - 1; ++r) Form1->Rows().AddRow(io, oo, kNoTask);
    items.EndUpdate();
    const std::string clip = Media(fixtures::kTinyClipAvi, "clip.avi");
    EXPECT_EQ(AddMany(std::vector<std::string>{clip, clip}),
              std::vector<std::string>{"提示|任务列表最多只能添加500个文件。"});
    EXPECT_EQ(RowCount(), kMaxRows) << "the first file still fits";
    EXPECT_EQ(Cell(kMaxRows - 1, -1), clip);
    EXPECT_EQ(AddOne(clip), std::vector<std::string>{"提示|任务列表最多只能添加500个文件。"});
    EXPECT_EQ(RowCount(), kMaxRows);
    EXPECT_EQ(Form1->FFTasks->TasksCount(), 1);
}

TEST_F(TFileQueueTest, AFolderAddTakesItsPlainFilesWithoutBlockingOnAFifo) {
    Media(fixtures::kTinyClipAvi, "folder/one.avi");
    Media(fixtures::kClipMp4, "folder/.two.mp4");  // hidden files count
    Media(fixtures::kTextFile, "folder/notes.txt");
    media.MakeFolder("folder/sub");
    Media(fixtures::kTinyClipAvi, "folder/sub/deeper.avi");
    ASSERT_EQ(mkfifo(media.File("folder/pipe").c_str(), 0644), 0);
    std::filesystem::create_symlink(media.File("folder/one.avi"), media.File("folder/link.avi"));

    const std::optional<std::vector<std::string>> listed =
        Form1->GetFilenames(media.File("folder"), "*.*");
    ASSERT_TRUE(listed);
    std::vector<std::string> names;
    for (const std::string& f : *listed) names.push_back(sys::ExtractFileName(f));
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{".two.mp4", "link.avi", "notes.txt", "one.avi"}));
    EXPECT_FALSE(Form1->GetFilenames(media.File("nowhere"), "*.*"));

    // A hang guard only: probing the FIFO would block for ever.
    std::atomic<bool> done{false};
    std::thread guard([&] {
        for (int i = 0; i < 12000 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!done) {
            fprintf(stderr, "the folder add blocked\n");
            std::_Exit(3);
        }
    });
    const std::vector<std::string> boxes = AddFolder(media.File("folder"));
    done = true;
    guard.join();
    EXPECT_TRUE(boxes.empty()) << testing::PrintToString(boxes);
    EXPECT_EQ(RowCount(), 3);
    EXPECT_EQ(folderQuestions, std::vector<std::string>{"选择目录"});
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 2);
    EXPECT_EQ(Form1->ListBox1->Items().Count(), 4);

    media.MakeFolder("empty/sub");
    Media(fixtures::kTextFile, "empty/notes.txt");
    EXPECT_EQ(AddFolder(media.File("empty")),
              std::vector<std::string>{"提示|在该目录没有发现可以用的视频或音频文件！"});
    EXPECT_TRUE(AddFolder(std::nullopt).empty());
    EXPECT_TRUE(AddFolder(media.File("nowhere")).empty());
    EXPECT_EQ(RowCount(), 3);
    Form1->N21->Click();
    Form1->bsSkinPopupMenu1->Items()->Items(2)->Click();
    EXPECT_EQ(folderQuestions.size(), 6u);
}

// A FIFO, a device or a socket chosen as a file is refused at once as not a media file, in the
// one-file add and among several files; probing it would wait for a writer that never comes.
TEST_F(TFileQueueTest, APipeOrDeviceChosenAsAFileIsRefusedAtOnce) {
    ASSERT_TRUE(Form1->FFTasks->LoadAVLib(""));
    const std::string pipe = media.File("pipe.avi");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    const std::string clip = Media(fixtures::kTinyClipAvi, "clip.avi");
    // A hang guard only: the process ends if the adds block.
    std::atomic<bool> done{false};
    std::thread guard([&] {
        for (int i = 0; i < 6000 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!done) {
            fprintf(stderr, "the add blocked on a pipe\n");
            std::_Exit(3);
        }
    });
    const std::string refused = "not a media file (a pipe, device or socket)";
    const std::vector<std::string> one = AddOne(pipe);
    const std::vector<std::string> device = AddOne("/dev/zero");
    const std::vector<std::string> many = AddMany(std::vector<std::string>{clip, pipe});
    done = true;
    guard.join();
    EXPECT_EQ(one, std::vector<std::string>{"提示|以下文件没有添加：\npipe.avi: " + refused});
    EXPECT_EQ(device, std::vector<std::string>{"提示|以下文件没有添加：\nzero: " + refused});
    EXPECT_EQ(many, std::vector<std::string>{"提示|以下文件没有添加：\npipe.avi: " + refused});
    ASSERT_EQ(RowCount(), 1) << "the clip among them is added";
    EXPECT_EQ(Cell(0, -1), clip);
    EXPECT_TRUE(LoggedAsMessage(LogLines(), "***File load error: pipe.avi: ", refused));
}

TEST_F(TFileQueueTest, LibrariesThatFailToLoadAreLoggedAndTheNextAddTriesAgain) {
    // The loader is process-wide and loads once: a process of its own, started afresh.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            int bad = 0;
            // A broken library in the program's folder is not looked for elsewhere.
            const std::string broken = program.File("LibAV/" + media::DllFileName(media::avUtil));
            std::filesystem::create_directories(program.File("LibAV"));
            testsupport::WriteFile(broken, "not a library");
            const std::string clip = Media(fixtures::kTinyClipAvi, "clip.avi");
            for (auto add : {+[](TQueueTest*t, const std::string&f) { return t->AddOne(f); },
                             +[](TQueueTest*t, const std::string&f) {
                                 return t->AddMany(std::vector<std::string>{f});
                             },
                             +[](TQueueTest*t, const std::string&f) { return t->AddFolder(f); }})
                bad += !add(this, clip).empty();
            bad += !dialogsAsked.empty() || !folderQuestions.empty();
            bad += RowCount() != 0;
            bad += !Contains(LogLines(), "Load library ");
            std::filesystem::remove(broken);
            bad += !AddOne(clip).empty();
            bad += dialogsAsked != std::vector<int>{1};
            bad += RowCount() != 1;
            std::cerr << testing::PrintToString(LogLines());
            std::_Exit(bad);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace app::test
