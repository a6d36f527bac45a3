// Whole conversions through the task manager: records in, files out.
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/engine/run_test_support.h"
#include "media/media_test_support.h"
#include "media/tasks/fake_task.h"
#include "media/tasks/ff_task_manager.h"
#include "platform/sys/main_thread.h"

namespace media {
namespace {

using test::WaitUntil;

struct TProgressEntry {
    TProgressInfo Info;
    sys::TThreadId Thread;
};

class TaskConversionTest : public testing::Test {
protected:
    void SetUp() override {
        test::RequireLibraries();
        FManager.SetOnTerminate([this](TCustomFFTaskManager*, const TTerminateInfo& info) {
            std::lock_guard lock(FLock);
            FReports.push_back(info);
        });
        FManager.SetOnProgress([this](TCustomFFTaskManager*, PProgressInfo info) {
            std::lock_guard lock(FLock);
            FProgress.push_back({*info, sys::CurrentThreadId()});
        });
    }

    // An MPEG-4 video and MP2 audio output record.
    static TOutputOptions Mpeg4Avi() {
        TOutputOptions options;
        options.VideoCodec = "mpeg4";
        options.AudioCodec = "mp2";
        options.VideoBitrate = 800000;
        options.AudioBitrate = 128000;
        return options;
    }

    int AddTask(const char* fixture, const std::string& extOptions = "") {
        int index = FManager.AddTask(fixtures::Path(fixture), extOptions);
        EXPECT_GE(index, 0) << FManager.LastErrMsg();
        return index;
    }
    void SetOutput(int task, const std::string& fileName, const TOutputOptions& options) {
        ASSERT_TRUE(FManager.SetOutputFile(task, fileName, &options)) << FManager.LastErrMsg();
    }
    bool FinalArrived() {
        std::lock_guard lock(FLock);
        return !FReports.empty() && FReports.back().TaskIndex == -1;
    }
    std::vector<TTerminateInfo> Reports() {
        std::lock_guard lock(FLock);
        return FReports;
    }
    std::vector<TProgressEntry> Progress() {
        std::lock_guard lock(FLock);
        return FProgress;
    }
    std::vector<std::string> Codecs(const std::string& fileName, AVMediaType type) {
        std::vector<std::string> codecs;
        for (const test::TStreamInfo& stream : test::DescribeFile(fileName).Streams)
            if (stream.Type == type) codecs.push_back(stream.Codec);
        return codecs;
    }

    test::TTempDir FDir;
    TFFTaskManager FManager;
    std::mutex FLock;
    std::vector<TTerminateInfo> FReports;
    std::vector<TProgressEntry> FProgress;
};

TEST_F(TaskConversionTest, ConvertsToMpeg4AviOnAWorkerWithProgressOnTheMainThread) {
    // Read at the pace of playback, so the run lasts the clip's two seconds.
    ASSERT_EQ(AddTask(fixtures::kClipAvi, "re=1"), 0);
    std::string output = FDir.File("clip.avi");
    SetOutput(0, output, Mpeg4Avi());

    auto started = std::chrono::steady_clock::now();
    FManager.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return FinalArrived(); }));
    double elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();

    std::vector<TTerminateInfo> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].TaskIndex, 0);
    EXPECT_TRUE(reports[0].Finished);
    EXPECT_FALSE(reports[0].Exception) << reports[0].ExceptionMsg;

    // About every 500 ms, the last one marked: loose bounds only.
    std::vector<TProgressEntry> progress = Progress();
    ASSERT_GE(progress.size(), 3u);
    EXPECT_LE(double(progress.size()), elapsedMs / 250 + 2);
    for (const TProgressEntry& entry : progress) {
        EXPECT_EQ(entry.Thread, sys::CurrentThreadId());
        EXPECT_EQ(entry.Info.TaskIndex, 0);
    }
    for (size_t i = 0; i + 1 < progress.size(); ++i) EXPECT_EQ(progress[i].Info.FileIndex, 0);
    const TProgressInfo& last = progress.back().Info;
    EXPECT_EQ(last.FileIndex, -1);
    EXPECT_EQ(last.FrameNumber, 50);
    EXPECT_GT(last.CurrentSize, 0);
    EXPECT_NEAR(double(last.TotalDuration), 2e6, 1e5);

    test::TFileInfo input = test::DescribeFile(fixtures::Path(fixtures::kClipAvi));
    test::TFileInfo written = test::DescribeFile(output);
    ASSERT_TRUE(written.Opened);
    EXPECT_EQ(written.Format, "avi");
    EXPECT_NEAR(written.Duration, input.Duration, 0.1);
    EXPECT_EQ(Codecs(output, AVMEDIA_TYPE_VIDEO), std::vector<std::string>{"mpeg4"});
    EXPECT_EQ(Codecs(output, AVMEDIA_TYPE_AUDIO), std::vector<std::string>{"mp2"});
    for (const test::TStreamInfo& stream : written.Streams)
        EXPECT_NEAR(stream.Duration, 2.0, 0.1) << stream.Codec;
    FManager.ClearTasks();
}

TEST_F(TaskConversionTest, StopMidwayLeavesAPlayableFile) {
    ASSERT_EQ(AddTask(fixtures::kClipAvi, "re=1"), 0);
    std::string output = FDir.File("stopped.avi");
    SetOutput(0, output, Mpeg4Avi());
    FManager.SetProgressInterval(100);
    FManager.Start(1);
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<TProgressEntry> progress = Progress();
        return !progress.empty() && progress.back().Info.CurrentDuration > 0;
    }));
    FManager.Stop(true);

    std::vector<TTerminateInfo> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(reports[0].Finished);
    EXPECT_FALSE(reports[0].Exception) << reports[0].ExceptionMsg;
    EXPECT_EQ(reports[1].TaskIndex, -1);
    EXPECT_EQ(Progress().back().Info.FileIndex, -1);

    // The file has its index and holds the start: it opens and its first picture decodes.
    test::TFileInfo written = test::DescribeFile(output);
    ASSERT_TRUE(written.Opened);
    ASSERT_EQ(written.Streams.size(), 2u);
    EXPECT_GT(written.Streams[0].Packets, 0);
    EXPECT_LT(written.Streams[0].Duration, 1.9);
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(output)) << probe.LastErrMsg();
    EXPECT_TRUE(probe.Decode());
    EXPECT_EQ(probe.FrameInfo().Width, 320);
    FManager.ClearTasks();
}

TEST_F(TaskConversionTest, ATaskWithoutADecodableFrameFailsAndLeavesNoFile) {
    ASSERT_EQ(AddTask(fixtures::kUndecodableMp4), 0);
    std::string output = FDir.File("nothing.mp4");
    TOutputOptions options;
    options.VideoCodec = "mpeg4";
    SetOutput(0, output, options);
    FManager.Start(0);
    std::vector<TTerminateInfo> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(reports[0].Finished);
    EXPECT_TRUE(reports[0].Exception);
    EXPECT_EQ(reports[0].ExceptionMsg,
              "no frame could be decoded from '" + fixtures::Path(fixtures::kUndecodableMp4) + "'");
    EXPECT_FALSE(std::filesystem::exists(output));
    FManager.ClearTasks();
}

// Earlier files under the outputs' names: setting tasks up, removing them, clearing and freeing
// the manager leave every byte; only a task's own conversion replaces its file.
TEST_F(TaskConversionTest, OnlyATasksConversionReplacesAnEarlierFile) {
    const std::string earlier = "an earlier conversion";
    auto output = [this](int i) { return FDir.File("out" + std::to_string(i) + ".avi"); };
    auto untouched = [&](int i) { return testsupport::ReadFile(output(i)) == earlier; };
    for (int i = 0; i < 3; ++i) testsupport::WriteFile(output(i), earlier);
    {
        TFFTaskManager manager;
        auto setUp = [&](int file) {
            const int task = manager.AddTask(fixtures::Path(fixtures::kClip1sAvi), "");
            ASSERT_GE(task, 0) << manager.LastErrMsg();
            TOutputOptions options = Mpeg4Avi();
            ASSERT_TRUE(manager.SetOutputFile(task, output(file), &options))
                << manager.LastErrMsg();
        };
        for (int i = 0; i < 3; ++i) setUp(i);
        manager.RemoveTask(2);
        manager.ClearTasks();
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(untouched(i)) << "set up, removed, cleared";
        setUp(0);
        manager.Start(0);
        EXPECT_FALSE(untouched(0)) << "converted";
        EXPECT_EQ(test::DescribeFile(output(0)).Format, "avi");
        EXPECT_TRUE(untouched(1));
        manager.ClearTasks();
        setUp(1);
    }
    EXPECT_TRUE(untouched(1)) << "freed with a task set up";
    EXPECT_TRUE(untouched(2));
}

TEST_F(TaskConversionTest, SynchronousRunOnTheCaller) {
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(AddTask(fixtures::kClip1sAvi), i);
        SetOutput(i, FDir.File("sync" + std::to_string(i) + ".avi"), Mpeg4Avi());
    }
    FManager.Start(0);
    std::vector<TTerminateInfo> reports = Reports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].TaskIndex, 0);
    EXPECT_EQ(reports[1].TaskIndex, 1);
    EXPECT_EQ(reports[2].TaskIndex, -1);
    EXPECT_TRUE(reports[0].Finished && reports[1].Finished);
    for (const TProgressEntry& entry : Progress()) EXPECT_EQ(entry.Thread, sys::CurrentThreadId());
    for (int i = 0; i < 2; ++i)
        EXPECT_NEAR(test::DescribeFile(FDir.File("sync" + std::to_string(i) + ".avi")).Duration,
                    1.0, 0.1);
    FManager.ClearTasks();
}

TEST_F(TaskConversionTest, AudioCodecOfEachStreamFromTheRecordAndItsLines) {
    struct TCase {
        const char* AudioCodec;
        const char* ExtOptions;
        std::vector<std::string> Codecs;
    };
    const TCase cases[] = {
        {"", "acodec=mp2", {"mp2"}},
        {"aac", "acodec=mp2\nnewaudio", {"aac", "mp2"}},
        {"", "acodec=mp2\nacodec=ac3\nnewaudio\nnewaudio", {"mp2", "mp2", "ac3"}},
    };
    int n = 0;
    for (const TCase& c : cases) {
        int task = AddTask(fixtures::kClip1sAvi);
        TOutputOptions options;
        options.VideoCodec = "mpeg4";
        options.AudioCodec = c.AudioCodec;
        options.ExtOptions = c.ExtOptions;
        std::string output = FDir.File("codecs" + std::to_string(n++) + ".mkv");
        SetOutput(task, output, options);
    }
    FManager.Start(0);
    n = 0;
    for (const TCase& c : cases) {
        std::string output = FDir.File("codecs" + std::to_string(n++) + ".mkv");
        EXPECT_EQ(Codecs(output, AVMEDIA_TYPE_AUDIO), c.Codecs) << c.ExtOptions;
    }
    for (const TTerminateInfo& report : Reports())
        EXPECT_FALSE(report.Exception) << report.ExceptionMsg;
}

TEST_F(TaskConversionTest, TheDiscTargetTakesTheRecordsNorms) {
    struct TCase {
        TOptionNormType Norm;
        TOptionNormDefault Default;
        int Height;
    };
    // The clip runs at 25 pictures a second: "auto" reads PAL from it.
    const TCase cases[] = {{ntNTSC, ntPAL, 480}, {ntAuto, ntNTSC, 576}, {ntPAL, ntNTSC, 576}};
    int n = 0;
    for (const TCase& c : cases) {
        int task = AddTask(fixtures::kClip1sAvi);
        TOutputOptions options;
        options.TargetType = ttDVD;
        options.NormType = c.Norm;
        options.NormDefault = c.Default;
        SetOutput(task, FDir.File("dvd" + std::to_string(n++) + ".mpg"), options);
    }
    FManager.Start(0);
    n = 0;
    for (const TCase& c : cases) {
        test::TFileInfo info = test::DescribeFile(FDir.File("dvd" + std::to_string(n++) + ".mpg"));
        ASSERT_TRUE(info.Opened);
        bool video = false;
        for (const test::TStreamInfo& stream : info.Streams) {
            if (stream.Codec != "mpeg2video") continue;
            video = true;
            EXPECT_EQ(stream.Width, 720);
            EXPECT_EQ(stream.Height, c.Height) << c.Norm;
        }
        EXPECT_TRUE(video);
    }
}

TEST_F(TaskConversionTest, OutputsThatFailAndTheCapacity) {
    ASSERT_EQ(AddTask(fixtures::kClip1sAvi), 0);
    TOutputOptions options;
    options.FileFormat = "nosuchformat";
    EXPECT_FALSE(FManager.SetOutputFile(0, FDir.File("a.out"), &options));
    std::string message = FManager.LastErrMsg();
    EXPECT_EQ(message, "Requested output format 'nosuchformat' is not a suitable output format");
    // A failed output leaves the task, with the options applied so far; it takes another output
    // (here naming its format, since the unknown name stays asked for).
    EXPECT_EQ(FManager.TasksCount(), 1);
    options.FileFormat = "avi";
    options.FrameRate = "fast";
    EXPECT_FALSE(FManager.SetOutputFile(0, FDir.File("b.avi"), &options));
    EXPECT_EQ(FManager.LastErrMsg(), "Incorrect frame rate");
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(FManager.SetOutputFile(0, FDir.File(std::to_string(i) + ".avi"), "f=avi"))
            << i << ": " << FManager.LastErrMsg();
    EXPECT_FALSE(FManager.SetOutputFile(0, FDir.File("21.avi"), "f=avi"));
    EXPECT_EQ(FManager.LastErrMsg(), "max output files 20 reached");
}

TEST_F(TaskConversionTest, TheTextFormOfAnOutputJoinsAndLimits) {
    test::TFakeManager manager;
    std::string clip = fixtures::Path(fixtures::kClip1sAvi);
    ASSERT_EQ(manager.AddTask(clip, std::string()), 0);
    ASSERT_TRUE(manager.AddInputFile(0, clip, std::string()));
    ASSERT_TRUE(manager.SetOutputFile(0, FDir.File("joined.avi"), "Join<CRLF>TimeLength=10000000"))
        << manager.LastErrMsg();
    test::TFakeTask& task = manager.Last();
    const TOutputOptions* kept = task.OutputOptions(0);
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->Join);
    EXPECT_EQ(kept->TimeLength, 10000000);
    EXPECT_EQ(kept->FileName, FDir.File("joined.avi"));
    // A joined output fills a slot per input.
    EXPECT_EQ(task.nb_output_files(), 2);
    EXPECT_EQ(task.State().Frecording_time, 10000000);
}

TEST_F(TaskConversionTest, HookAndPreviewPicturesCarryTheTaskIndex) {
    test::TFakeManager manager;
    std::string clip = fixtures::Path(fixtures::kClip1sAvi);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(manager.AddTask(clip, std::string()), i);
        // Only the first task asks for the hook.
        ASSERT_TRUE(manager.SetOutputFile(i, FDir.File(std::to_string(i) + ".avi"),
                                          i == 0 ? "Hook" : "f=avi"))
            << manager.LastErrMsg();
        manager.Last().StepLimit = 4;
        manager.Last().EmitPictures = true;
    }
    std::vector<THookInfo> hooks;
    std::vector<sys::TThreadId> hookThreads;
    manager.SetOnCustomHook([&](TCustomFFTaskManager*, PHookInfo info) {
        hooks.push_back(*info);
        hookThreads.push_back(sys::CurrentThreadId());
        EXPECT_EQ(info->Bitmap->Width(), 32);
        // Keep the first picture as it is, end the hook at the second.
        if (info->FrameNumber == 1) info->Update = false;
        if (info->FrameNumber == 2) info->StopHook = true;
    });
    std::vector<TPreviewInfo> previews;
    std::vector<sys::TThreadId> previewThreads;
    manager.SetOnPreviewBitmap([&](TCustomFFTaskManager*, const TPreviewInfo& info) {
        previews.push_back(info);
        previewThreads.push_back(sys::CurrentThreadId());
    });
    bool done = false;
    manager.SetOnTerminate([&](TCustomFFTaskManager*, const TTerminateInfo& info) {
        if (info.TaskIndex == -1) done = true;
    });
    manager.Start(0);
    ASSERT_TRUE(done);

    // The hook of the first task, on its run's thread, until it asked to stop.
    ASSERT_EQ(hooks.size(), 2u);
    EXPECT_EQ(hooks[0].TaskIndex, 0);
    EXPECT_EQ(hooks[1].FrameNumber, 2);
    EXPECT_EQ(hooks[1].PTS, 80000);
    EXPECT_EQ(manager.Made(0).HookFlags,
              (std::vector<std::pair<bool, bool>>{{false, false}, {true, true}}));
    EXPECT_TRUE(manager.Made(1).HookFlags.empty());
    EXPECT_EQ(hookThreads[0], manager.Made(0).RunThread);
    // Previews of both tasks, handed to the main thread.
    ASSERT_EQ(previews.size(), 8u);
    EXPECT_EQ(previews[0].TaskIndex, 0);
    EXPECT_EQ(previews[4].TaskIndex, 1);
    EXPECT_EQ(previews[7].FrameNumber, 4);
    for (sys::TThreadId thread : previewThreads) EXPECT_EQ(thread, sys::CurrentThreadId());
}

}  // namespace
}  // namespace media
