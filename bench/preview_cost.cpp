// Wall time of one conversion through the task manager with live preview on or off: the clip
// becomes an MPEG-4/MP2 AVI on a worker thread while this thread, the main one, takes the
// hand-overs and paints the preview window (on the headless screen unless DISPLAY names one).
// Prints the seconds from Start to the final end report.
//
// Usage: preview_cost_bench <on|off> <clip> <output>
#include <chrono>
#include <cstdio>
#include <string>

#include "media/libs/ffmpeg_loader.h"
#include "media/tasks/ff_task_manager.h"
#include "platform/sys/main_thread.h"
#include "platform/vcl/forms.h"

using namespace media;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <on|off> <clip> <output>\n", argv[0]);
        return 2;
    }
    const bool preview = std::string(argv[1]) == "on";
    vcl::InitializeApplication();
    int result = 0;
    {
        TFFTaskManager manager;
        if (!manager.LoadAVLib("")) {
            std::fprintf(stderr, "%s\n", manager.LastErrMsg().c_str());
            return 1;
        }
        GetFFLogger().SetLogLevel(llError);
        sys::TEvent done(true, false);
        manager.SetOnTerminate([&](TCustomFFTaskManager*, const TTerminateInfo& info) {
            if (info.Exception) {
                std::fprintf(stderr, "task %d: %s\n", info.TaskIndex, info.ExceptionMsg.c_str());
                result = 1;
            }
            if (info.TaskIndex == -1) done.Set();
        });
        const int task = manager.AddTask(argv[2], static_cast<TInputOptions*>(nullptr));
        TOutputOptions options;
        options.VideoCodec = "mpeg4";
        options.VideoBitrate = 2000000;
        options.AudioCodec = "mp2";
        options.AudioBitrate = 128000;
        if (task < 0 || !manager.SetOutputFile(task, argv[3], &options)) {
            std::fprintf(stderr, "%s: %s\n", argv[2], manager.LastErrMsg().c_str());
            return 1;
        }
        manager.SetPreview(preview);
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        manager.Start(1);
        // The previews and the progress are handed to this thread.
        while (done.Wait(0) != sys::TWaitResult::Signaled) sys::CheckSynchronize(10);
        std::printf("%.3f\n", std::chrono::duration<double>(Clock::now() - start).count());
    }
    vcl::FinalizeApplication();
    return result;
}
