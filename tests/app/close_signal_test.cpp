// SIGTERM from outside while a conversion runs, after a file was previewed (the player has
// started SDL's audio): the program closes as its close button does (the run stopped, its output
// closed with what it had, no end-of-run action) and ends with status 0; a second signal during
// that close ends it at once. The program runs in a child process, the test is the outside.
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>

#include <gtest/gtest.h>

#include "app_test_support.h"
#include "fixtures/fixtures.h"
#include "platform/sys/launcher.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/power.h"
#include "platform/sys/sound.h"

namespace app::test {
namespace {

namespace fs = std::filesystem;

// A hang guard only: a working program answers within milliseconds.
constexpr int kBoundMs = 120'000;

// What the child tells the outside, one byte each.
constexpr char kConverting = 'c';  // the conversion holds its tenth picture, the loop runs
constexpr char kClosing = 'q';     // the main window's close has begun

// Exit codes of the child besides 0.
enum : int { kEndActionRan = 3, kSdlTookTheSignal = 4, kNoRun = 5 };

// Waits for one byte from `fd`; 0 on end of file or after the bound.
char ReadByte(int fd) {
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    if (poll(&p, 1, kBoundMs) <= 0 || read(fd, &c, 1) != 1) return 0;
    return c;
}

// Waits for the child's end; false after the bound (the child is then killed).
bool WaitForExit(pid_t child, int& status) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBoundMs);
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(child, &status, WNOHANG) == child) return true;
        pollfd none{-1, 0, 0};
        poll(&none, 0, 20);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return false;
}

class CloseSignalTest : public TAppTest {
protected:
    // The program in a child: start-up, the clip previewed, a conversion of it started and held
    // at its tenth picture, then the program's own loop. With `secondSignal` the close, once
    // begun, waits for the outside's next signal.
    [[noreturn]] void RunProgramChild(int toOutside, const std::string& out, bool secondSignal) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Any end-of-run action ends the child with its own code.
        sys::SetDocumentOpener([](const std::string&) { _exit(kEndActionRan); });
        sys::SetPowerOffRequester([] { _exit(kEndActionRan); });
        sys::SetSoundPlayer([](const std::string&) { _exit(kEndActionRan); });
        Start();
        Form1->FileOutPutPath = out;
        Form1->Video_OutPut_Folder_Edit->SetText(out);
        if (!Form1->FFTasks->LoadAVLib("")) _exit(kNoRun);

        const std::string clip = fixtures::Path(fixtures::kClipAvi);
        Form1->T_Movie_PLayer_FileName = clip;
        Form1->Button31Click();
        struct sigaction seen {};
        sigaction(SIGTERM, nullptr, &seen);
        if (seen.sa_handler != SIG_DFL) _exit(kSdlTookTheSignal);

        // Every picture passes the hook below.
        vcl::TListItem* row = AddQueuedRow(clip, Mpeg4AviColumns("stopped.avi"),
                                           [](media::TOutputOptions& oo) { oo.CustomHook = true; });
        if (!row) _exit(kNoRun);

        // The tenth picture is held until the close has begun, so the run cannot reach its end
        // before the signal whatever the machine's speed.
        static std::mutex lock;
        static std::condition_variable changed;
        static bool looping = false, closing = false;
        static int outside = -1;
        outside = toOutside;
        Form1->FFTasks->SetOnCustomHook([](media::TCustomFFTaskManager*, media::PHookInfo) {
            // Some pictures first, so the stopped output holds something to read back.
            static int pictures = 0;
            if (++pictures != 10) return;
            std::unique_lock hold(lock);
            changed.wait_for(hold, std::chrono::milliseconds(kBoundMs), [] { return looping; });
            [[maybe_unused]] auto n = write(outside, &kConverting, 1);
            changed.wait_for(hold, std::chrono::milliseconds(kBoundMs), [] { return closing; });
        });
        Form1->bsSkinButton2->ButtonClick();  // 开始
        if (!Form1->Running()) _exit(kNoRun);
        vcl::TCloseQueryEvent closeQuery = Form1->OnCloseQuery;
        Form1->OnCloseQuery = [closeQuery, secondSignal](vcl::TObject* sender, bool& canClose) {
            {
                std::lock_guard hold(lock);
                closing = true;
            }
            changed.notify_all();
            if (secondSignal) {
                [[maybe_unused]] auto n = write(outside, &kClosing, 1);
                pollfd none{-1, 0, 0};
                poll(&none, 0, kBoundMs);  // only the second signal ends this
            }
            closeQuery(sender, canClose);
        };
        // Runs in the loop's first round, after the program has taken the signals.
        sys::QueueInMainThread([] {
            {
                std::lock_guard hold(lock);
                looping = true;
            }
            changed.notify_all();
        });
        _exit(RunApplication());
    }

    // Starts the child; its pipe's reading end in `fromChild`.
    pid_t StartChild(int& fromChild, bool secondSignal) {
        int fds[2];
        EXPECT_EQ(pipe(fds), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            RunProgramChild(fds[1], out.Path(), secondSignal);
        }
        close(fds[1]);
        fromChild = fds[0];
        return child;
    }

    testsupport::TTempDir out;
};

// Seconds of media in `file` by the ffmpeg tool's prober; -1 when it cannot read it.
double MediaSeconds(const std::string& file) {
    const std::string command =
        "ffprobe -v error -show_entries format=duration -of csv=p=0 '" + file + "'";
    double seconds = -1;
    if (FILE* p = popen(command.c_str(), "r")) {
        if (std::fscanf(p, "%lf", &seconds) != 1) seconds = -1;
        pclose(p);
    }
    return seconds;
}

TEST_F(CloseSignalTest, SigtermDuringARunClosesLikeTheCloseButtonAndExitsZero) {
    int fromChild = -1;
    const pid_t child = StartChild(fromChild, false);
    ASSERT_EQ(ReadByte(fromChild), kConverting) << "the conversion did not start";
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_TRUE(WaitForExit(child, status)) << "still running after SIGTERM";
    close(fromChild);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: an end-of-run action ran; 4: SDL took SIGTERM";
    // The stopped output was closed with what it had: readable, and short of the clip.
    const std::string output = out.File("stopped.avi");
    ASSERT_TRUE(fs::exists(output));
    const double seconds = MediaSeconds(output);
    EXPECT_GE(seconds, 0) << "the stopped output cannot be read";
    EXPECT_LT(seconds, 1.5) << "the clip is 2 s: the run went on after the signal";
}

TEST_F(CloseSignalTest, ASecondSignalDuringTheCloseEndsTheProcessAtOnce) {
    int fromChild = -1;
    const pid_t child = StartChild(fromChild, true);
    ASSERT_EQ(ReadByte(fromChild), kConverting) << "the conversion did not start";
    kill(child, SIGINT);
    ASSERT_EQ(ReadByte(fromChild), kClosing) << "the first signal did not close the window";
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_TRUE(WaitForExit(child, status)) << "still running after the second signal";
    close(fromChild);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exited with " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

}  // namespace
}  // namespace app::test
