// Wall time of converting a set of clips with the task manager: every clip becomes one task with
// an MPEG-4/MP2 AVI output, and Start(k) runs them k at a time. Prints the seconds from the first
// AddTask to the final end report.
//
// Usage: queue_speed_bench <k> <output folder> <clip>...
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/libs/ffmpeg_loader.h"
#include "media/tasks/ff_task_manager.h"
#include "platform/sys/main_thread.h"

using namespace media;

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <threads> <output folder> <clip>...\n", argv[0]);
        return 2;
    }
    int threads = std::atoi(argv[1]);
    std::string outputDir = argv[2];
    std::vector<std::string> clips(argv + 3, argv + argc);

    TFFTaskManager manager;
    if (!manager.LoadAVLib("")) {
        std::fprintf(stderr, "%s\n", manager.LastErrMsg().c_str());
        return 1;
    }
    GetFFLogger().SetLogLevel(llError);
    sys::TEvent done(true, false);
    bool failed = false;
    manager.SetOnTerminate([&](TCustomFFTaskManager*, const TTerminateInfo& info) {
        if (info.Exception) {
            std::fprintf(stderr, "task %d: %s\n", info.TaskIndex, info.ExceptionMsg.c_str());
            failed = true;
        }
        if (info.TaskIndex == -1) done.Set();
    });

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (size_t i = 0; i < clips.size(); ++i) {
        int task = manager.AddTask(clips[i], static_cast<TInputOptions*>(nullptr));
        TOutputOptions options;
        options.VideoCodec = "mpeg4";
        options.VideoBitrate = 800000;
        options.AudioCodec = "mp2";
        options.AudioBitrate = 128000;
        std::string output = outputDir + "/engine_" + std::to_string(i) + ".avi";
        if (task < 0 || !manager.SetOutputFile(task, output, &options)) {
            std::fprintf(stderr, "%s: %s\n", clips[i].c_str(), manager.LastErrMsg().c_str());
            return 1;
        }
    }
    manager.Start(threads);
    // Progress is handed to this thread: keep taking it until the run ends.
    while (done.Wait(0) != sys::TWaitResult::Signaled) sys::CheckSynchronize(10);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%.3f\n", seconds);
    return failed ? 1 : 0;
}
