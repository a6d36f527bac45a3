#include "media/engine/ffmpeg_engine.h"

#include <atomic>
#include <latch>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "media/engine/engine_test_support.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/media_test_support.h"
#include "platform/sys/clock.h"
#include "platform/sys/files.h"
#include "platform/sys/main_thread.h"
#include "support/temp_dir.h"

namespace media {
namespace {

using test::TFakeJob;
using test::TTestEngine;

// Counts the end reports of one job and where they came from.
struct TEndReports {
    std::mutex Lock;
    int Count = 0;
    std::vector<sys::TThreadId> Threads;
    std::vector<bool> Fatal;  // FatalException when the end was reported

    void Attach(TCustomFFmpeg& engine) {
        engine.OnTerminate = [this](TCustomFFmpeg* sender) {
            std::lock_guard lock(Lock);
            ++Count;
            Threads.push_back(sys::CurrentThreadId());
            Fatal.push_back(sender->FatalException());
        };
    }
    int Reported() {
        std::lock_guard lock(Lock);
        return Count;
    }
};

using test::WaitUntil;

class EngineTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }
};

TEST_F(EngineTest, CapacityIsOneToFiveHundredTwelve) {
    EXPECT_NO_THROW(TCustomFFmpeg engine(1));
    EXPECT_NO_THROW(TCustomFFmpeg engine(512));
    EXPECT_THROW(TCustomFFmpeg engine(0), rtl::Exception);
    EXPECT_THROW(TCustomFFmpeg engine(513), rtl::Exception);
}

TEST_F(EngineTest, RefusedStartReportsOnceOnTheCallingThread) {
    struct TCase {
        bool Output;
        bool Input;
        bool UseThread;
        const char* Message;
    };
    const TCase cases[] = {
        {false, false, false, "At least one output file must be specified"},
        {false, true, true, "At least one output file must be specified"},
        {true, false, true, "At least one input file must be specified"},
    };
    for (const TCase& c : cases) {
        test::TLogCapture log;
        TFakeJob engine;
        TEndReports reports;
        reports.Attach(engine);
        if (c.Output) engine.RegisterPlaceholderOutput();
        if (c.Input) engine.RegisterPlaceholderInput();
        EXPECT_EQ(engine.StartConvert(c.UseThread, sys::tpNormal), nullptr);
        EXPECT_EQ(reports.Reported(), 1) << c.Message;
        EXPECT_EQ(reports.Threads.front(), sys::CurrentThreadId());
        EXPECT_TRUE(reports.Fatal.front());
        EXPECT_TRUE(engine.FatalException());
        EXPECT_EQ(engine.FatalMessage(), c.Message);
        EXPECT_FALSE(engine.Finished());
        EXPECT_TRUE(engine.Terminated());
        EXPECT_EQ(engine.Steps, 0);
        ASSERT_TRUE(log.WaitForLines(1));
        EXPECT_EQ(log.Lines()[0].Msg, c.Message);
        EXPECT_EQ(log.Lines()[0].Level, llQuiet);
        EXPECT_EQ(log.Lines()[0].Sender, &engine);

        // A terminated engine does not start again, and says nothing more.
        EXPECT_EQ(engine.StartConvert(false, sys::tpNormal), nullptr);
        engine.TerminateOrStop(true);
        EXPECT_EQ(reports.Reported(), 1);
    }
}

TEST_F(EngineTest, StartWithoutThreadReturnsAfterTheWholeJob) {
    TFakeJob engine;
    TEndReports reports;
    reports.Attach(engine);
    engine.RegisterPlaceholderFiles();
    engine.StepLimit = 50;
    EXPECT_EQ(engine.StartConvert(false, sys::tpNormal), nullptr);
    EXPECT_EQ(engine.Steps, 50);
    EXPECT_EQ(reports.Reported(), 1);
    EXPECT_TRUE(engine.Finished());
    EXPECT_FALSE(engine.FatalException());
    EXPECT_TRUE(engine.Terminated());
    EXPECT_EQ(engine.nb_input_files(), 0);  // released with the job
}

TEST_F(EngineTest, ThreadedJobRunsOnceResumedAndReportsFromItsThread) {
    TFakeJob engine;
    TEndReports reports;
    reports.Attach(engine);
    engine.RegisterPlaceholderFiles();
    engine.StepLimit = 20;
    TConvertThread* thread = engine.StartConvert(true, sys::tpLower);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(engine.Converting());
    EXPECT_EQ(engine.Steps, 0);  // not before its caller resumes it
    thread->Resume();
    thread->Resume();
    ASSERT_TRUE(WaitUntil([&] { return reports.Reported() == 1; }));
    engine.Stop(true);
    EXPECT_TRUE(engine.Finished());
    EXPECT_EQ(engine.Steps, 20);
    EXPECT_NE(reports.Threads.front(), sys::CurrentThreadId());
    EXPECT_EQ(reports.Reported(), 1);
}

TEST_F(EngineTest, StopRightAfterStartReturnsOnlyAfterTheThreadEnded) {
    for (bool resumed : {false, true}) {
        TFakeJob engine;
        TEndReports reports;
        reports.Attach(engine);
        engine.RegisterPlaceholderFiles();
        TConvertThread* thread = engine.StartConvert(true, sys::tpNormal);
        ASSERT_NE(thread, nullptr);
        if (resumed) thread->Resume();
        engine.Stop(true);
        EXPECT_TRUE(thread->Finished());
        EXPECT_EQ(reports.Reported(), 1);
        EXPECT_FALSE(engine.Finished());
        EXPECT_FALSE(engine.FatalException());
        EXPECT_TRUE(engine.Terminated());
    }
}

TEST_F(EngineTest, PausedJobMakesNoProgressAndStopEndsIt) {
    TFakeJob engine;
    TEndReports reports;
    reports.Attach(engine);
    engine.RegisterPlaceholderFiles();
    engine.StartConvert(true, sys::tpNormal)->Resume();
    ASSERT_TRUE(WaitUntil([&] { return engine.Steps > 0; }));

    engine.Pause();
    // A step already past its pause point may still finish; none after it.
    int paused = engine.Steps;
    sys::SleepMs(300);
    EXPECT_LE(engine.Steps - paused, 1);

    engine.Resume();
    int resumed = engine.Steps;
    ASSERT_TRUE(WaitUntil([&] { return engine.Steps > resumed + 1; }));

    engine.Pause();
    engine.Stop(true);
    EXPECT_EQ(reports.Reported(), 1);
    EXPECT_FALSE(engine.Finished());
}

TEST_F(EngineTest, TerminateOrStopReportsAJobThatNeverRanOnce) {
    TFakeJob engine;
    TEndReports reports;
    reports.Attach(engine);
    engine.RegisterPlaceholderFiles();
    engine.TerminateOrStop(true);
    EXPECT_EQ(reports.Reported(), 1);
    EXPECT_NE(reports.Threads.front(), sys::CurrentThreadId());
    EXPECT_FALSE(engine.Finished());
    EXPECT_FALSE(engine.FatalException());
    EXPECT_EQ(engine.Steps, 0);
    engine.TerminateOrStop(true);
    EXPECT_EQ(engine.StartConvert(true, sys::tpNormal), nullptr);
    EXPECT_EQ(reports.Reported(), 1);
}

TEST_F(EngineTest, StartAndTerminateRacingReportTheJobOnce) {
    std::mt19937 random(20240611);
    auto delay = [](unsigned spins) {
        for (unsigned i = 0; i < spins; ++i) std::this_thread::yield();
    };
    for (int round = 0; round < 500; ++round) {
        TEndReports reports;
        {
            TFakeJob engine;
            reports.Attach(engine);
            engine.RegisterPlaceholderFiles();
            engine.StepLimit = int(random() % 3);  // 0: runs until stopped
            bool threaded = random() % 4 != 0;
            unsigned startDelay = random() % 64;
            unsigned terminateDelay = random() % 64;
            std::latch go(2);
            std::thread starter([&] {
                go.arrive_and_wait();
                delay(startDelay);
                if (TConvertThread* thread = engine.StartConvert(threaded, sys::tpNormal))
                    thread->Resume();
            });
            std::thread terminator([&] {
                go.arrive_and_wait();
                delay(terminateDelay);
                engine.TerminateOrStop(false);
            });
            starter.join();
            terminator.join();
            // A job that runs until stopped has had its stop; wait for its end.
            engine.TerminateOrStop(true);
        }
        ASSERT_EQ(reports.Reported(), 1) << "round " << round;
    }
}

TEST_F(EngineTest, DestroyingARunningJobWaitsForItsEnd) {
    TEndReports reports;
    std::atomic<int> steps{0};
    {
        TFakeJob engine;
        reports.Attach(engine);
        engine.RegisterPlaceholderFiles();
        engine.StartConvert(true, sys::tpNormal)->Resume();
        ASSERT_TRUE(WaitUntil([&] { return engine.Steps > 0; }));
        steps = engine.Steps.load();
    }
    EXPECT_EQ(reports.Reported(), 1);
    EXPECT_GT(steps, 0);
}

TEST_F(EngineTest, FailureInTheRunIsRecordedAndTheCleanUpStillRuns) {
    test::TLogCapture log;
    TFakeJob engine;
    TEndReports reports;
    reports.Attach(engine);
    engine.RegisterPlaceholderFiles();
    // Two codecs opened, then the set-up fails: they stay on the lists for the clean-up.
    std::vector<AVCodecContext*> contexts;
    engine.BeforeLoop = [&contexts](TFakeJob& job) {
        for (TCodecList* list : {&job.FEncoderList, &job.FDecoderList}) {
            AVCodecContext* context = lib::avcodec_alloc_context3(nullptr);
            TCodecLockGuard lock;
            if (lib::avcodec_open2(context, lib::avcodec_find_decoder(AV_CODEC_ID_MPEG4), nullptr) <
                0)
                throw FFmpegException("open failed");
            contexts.push_back(context);
            job.AddCodecItem(*list, context);
        }
        throw FFmpegException("Could not write header for output file #0");
    };
    engine.StartConvert(false, sys::tpNormal);
    EXPECT_EQ(reports.Reported(), 1);
    EXPECT_TRUE(engine.FatalException());
    EXPECT_EQ(engine.FatalMessage(), "Could not write header for output file #0");
    EXPECT_FALSE(engine.Finished());
    EXPECT_TRUE(engine.FEncoderList.empty());
    EXPECT_TRUE(engine.FDecoderList.empty());
    ASSERT_EQ(contexts.size(), 2u);
    for (AVCodecContext*& context : contexts) {
        EXPECT_EQ(context->codec, nullptr);  // closed
        lib::avcodec_free_context(&context);
    }
    ASSERT_TRUE(log.WaitForLines(1));
    EXPECT_EQ(log.Lines()[0].Level, llQuiet);
    EXPECT_EQ(log.Lines()[0].Msg, "Could not write header for output file #0");
}

// Outputs that no run of the engine opened are not the engine's to delete, empty or not; the
// deletion of a run's own empty or given-up output is shown by the whole conversions.
TEST_F(EngineTest, ReleaseKeepsEveryFileItsRunDidNotOpen) {
    testsupport::TTempDir dir;
    std::string empty = dir.Touch("empty.avi", "");
    std::string written = dir.Touch("written.avi", "RIFF");
    std::string missing = dir.File("missing.avi");
    TFakeJob engine;
    engine.RegisterOutputNamed(empty);
    engine.RegisterOutputNamed(written);
    engine.RegisterOutputNamed(missing);
    engine.ParseOption("vcodec", "mpeg4");
    engine.ReleaseAll();
    EXPECT_TRUE(sys::FileExists(empty));
    EXPECT_TRUE(sys::FileExists(written));
    EXPECT_FALSE(sys::FileExists(missing));
    EXPECT_EQ(engine.nb_output_files(), 0);
    EXPECT_FALSE(engine.State().Fvideo_codec_name);
    engine.ReleaseAll();  // safe to repeat
}

}  // namespace
}  // namespace media
