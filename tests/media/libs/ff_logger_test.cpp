#include "media/libs/ff_logger.h"

#include <cstdio>
#include <iostream>
#include <map>
#include <regex>
#include <thread>

#include <gtest/gtest.h>

#include "media/libs/ffmpeg_api.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/media_test_support.h"
#include "platform/rtl/exception.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/sync.h"
#include "platform/sys/threads.h"

namespace media {
namespace {

TEST(LogLevelTest, ConvertsBetweenOwnAndLibraryLevels) {
    const std::pair<TLogLevel, int> own[] = {{llQuiet, -8},   {llPanic, 0},    {llFatal, 8},
                                             {llError, 16},   {llWarning, 24}, {llInfo, 32},
                                             {llVerbose, 40}, {llDebug, 48}};
    for (auto [level, libLevel] : own) {
        EXPECT_EQ(LogLevelToLibLevel(level), libLevel);
        EXPECT_EQ(LibLevelToLogLevel(libLevel), level);
    }
    const std::pair<int, TLogLevel> library[] = {{-100, llQuiet}, {-9, llQuiet}, {-1, llPanic},
                                                 {7, llPanic},    {20, llError}, {47, llVerbose},
                                                 {100, llDebug}};
    for (auto [libLevel, level] : library)
        EXPECT_EQ(LibLevelToLogLevel(libLevel), level) << libLevel;
}

class FFLoggerTest : public testing::Test {
protected:
    static void SetUpTestSuite() { test::RequireLibraries(); }
    void SetUp() override { GetFFLogger().SetLogLevel(llInfo); }
};

TEST_F(FFLoggerTest, OptLogLevelTakesNamesAndLibraryNumbers) {
    test::TLogCapture capture;
    const std::pair<const char*, TLogLevel> cases[] = {
        {"Warning", llWarning}, {"20", llError},        {"100", llDebug}, {"-20", llQuiet},
        {"QUIET", llQuiet},     {"verbose", llVerbose}, {"32", llInfo}};
    for (auto [text, level] : cases) {
        GetFFLogger().OptLogLevel(text);
        EXPECT_EQ(GetFFLogger().LogLevel(), level) << text;
        EXPECT_EQ(LibLogLevel(), LogLevelToLibLevel(level)) << text;
    }
    EXPECT_THROW(GetFFLogger().OptLogLevel("loud"), rtl::Exception);
}

TEST_F(FFLoggerTest, ComponentLinesPassByLevel) {
    struct TCase {
        TLogLevel LoggerLevel;
        TLogLevel LineLevel;
        bool Passes;
    };
    const TCase cases[] = {
        {llInfo, llInfo, true},     {llInfo, llWarning, true},   {llInfo, llDebug, false},
        {llError, llVerbose, true}, {llError, llDebug, false},   {llError, llWarning, false},
        {llQuiet, llPanic, false},  {llQuiet, llVerbose, false}, {llDebug, llDebug, true},
    };
    for (const TCase& c : cases) {
        test::TLogCapture capture;
        GetFFLogger().SetLogLevel(c.LoggerLevel);
        GetFFLogger().Log(&capture, c.LineLevel, "line");
        EXPECT_EQ(capture.Lines().size(), c.Passes ? 1u : 0u)
            << c.LoggerLevel << " " << c.LineLevel;
    }
}

TEST_F(FFLoggerTest, AMainThreadLineArrivesBeforeLogReturns) {
    test::TLogCapture capture;
    int sender = 0;
    GetFFLogger().Log(&sender, llWarning, "opened %s in %d ms", "a.avi", 12);
    auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Sender, &sender);
    EXPECT_EQ(lines[0].ThreadId, sys::CurrentThreadId());
    EXPECT_EQ(lines[0].Level, llWarning);
    EXPECT_EQ(lines[0].Msg, "opened a.avi in 12 ms");
}

TEST_F(FFLoggerTest, AWorkerLineIsQueuedForTheMainThread) {
    test::TLogCapture capture;
    sys::TThreadId workerId = 0;
    auto worker = sys::StartThread([&] {
        workerId = sys::CurrentThreadId();
        GetFFLogger().Log(nullptr, llInfo, "from a worker");
    });
    worker->WaitFor();
    // Nothing ran on the main thread yet.
    EXPECT_TRUE(capture.Lines().empty());
    ASSERT_TRUE(capture.WaitForLines(1));
    EXPECT_EQ(capture.Lines()[0].ThreadId, workerId);
    EXPECT_EQ(capture.Lines()[0].Msg, "from a worker");
}

TEST_F(FFLoggerTest, WithoutMainThreadDeliveryOnLogRunsOnTheLoggingThread) {
    test::TLogCapture capture;
    GetFFLogger().SetTriggerEventInMainThread(false);
    auto worker = sys::StartThread([] { GetFFLogger().Log(nullptr, llInfo, "direct"); });
    worker->WaitFor();
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"direct"});
}

// A library context: its first member is the class record that names it.
struct TTestContext {
    const AVClass* Class;
};

const char* TestItemName(void*) {
    return "tester";
}

const AVClass kTestClass = [] {
    AVClass avClass{};
    avClass.class_name = "TestClass";
    avClass.item_name = TestItemName;
    avClass.version = LIBAVUTIL_VERSION_INT;
    return avClass;
}();

std::string PrefixOf(const void* context) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "[tester @ %p]", context);
    return prefix;
}

TEST_F(FFLoggerTest, LibraryFragmentsGatherIntoLinesWithOnePrefix) {
    test::TLogCapture capture;
    TTestContext context{&kTestClass};
    lib::av_log(&context, AV_LOG_INFO, "abc");
    EXPECT_TRUE(capture.Lines().empty());
    lib::av_log(&context, AV_LOG_INFO, "def\n");
    auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(std::regex_match(lines[0].Msg, std::regex(R"(\[tester @ 0x[0-9a-f]+\]abcdef)")))
        << lines[0].Msg;
    EXPECT_EQ(lines[0].Msg, PrefixOf(&context) + "abcdef");
    EXPECT_EQ(lines[0].Sender, &GetFFLogger());
    EXPECT_EQ(lines[0].Level, llInfo);
}

TEST_F(FFLoggerTest, LineFeedsCutLinesAndTheRestWaits) {
    test::TLogCapture capture;
    TTestContext context{&kTestClass};
    lib::av_log(&context, AV_LOG_WARNING, "a\nb\r\nc");
    EXPECT_EQ(capture.Messages(), (std::vector<std::string>{PrefixOf(&context) + "a", "b\r"}));
    lib::av_log(&context, AV_LOG_WARNING, "%d\n", 42);
    EXPECT_EQ(capture.Messages().back(), "c42");
    EXPECT_EQ(capture.Lines().back().Level, llWarning);
}

TEST_F(FFLoggerTest, LibraryLinesPassByLibraryLevel) {
    test::TLogCapture capture;
    lib::av_log(nullptr, AV_LOG_VERBOSE, "too detailed\n");
    lib::av_log(nullptr, AV_LOG_INFO, "info\n");
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"info"});

    GetFFLogger().SetLogLevel(llQuiet);
    EXPECT_EQ(LibLogLevel(), AV_LOG_QUIET);
    lib::av_log(nullptr, AV_LOG_PANIC, "panic\n");
    lib::av_log(nullptr, AV_LOG_QUIET, "quiet\n");
    EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"info", "quiet"}));
}

TEST_F(FFLoggerTest, LibraryBytesThatAreNotUtf8BecomeLatinCharacters) {
    test::TLogCapture capture;
    lib::av_log(nullptr, AV_LOG_ERROR, "caf\xE4 \xE4\xB8\xAD\n");
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"caf\u00E4 \u4E2D"});
}

TEST_F(FFLoggerTest, ALongFragmentIsCut) {
    test::TLogCapture capture;
    std::string longText(5000, 'x');
    lib::av_log(nullptr, AV_LOG_ERROR, "%s\n", longText.c_str());
    lib::av_log(nullptr, AV_LOG_ERROR, "\n");
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{std::string(2047, 'x')});
}

TEST_F(FFLoggerTest, FragmentsOfTwoThreadsNeverMix) {
    test::TLogCapture capture;
    constexpr int kLines = 200;
    TTestContext context{&kTestClass};
    auto body = [&](const char* name) {
        for (int i = 0; i < kLines; ++i) {
            lib::av_log(&context, AV_LOG_INFO, "%s", name);
            lib::av_log(&context, AV_LOG_INFO, "-");
            lib::av_log(&context, AV_LOG_INFO, "%d\n", i);
        }
    };
    auto first = sys::StartThread([&] { body("A"); });
    auto second = sys::StartThread([&] { body("B"); });
    first->WaitFor();
    second->WaitFor();
    ASSERT_TRUE(capture.WaitForLines(2 * kLines));

    std::map<sys::TThreadId, std::vector<std::string>> byThread;
    for (const auto& line : capture.Lines()) byThread[line.ThreadId].push_back(line.Msg);
    ASSERT_EQ(byThread.size(), 2u);
    for (const sys::TThreadId id : {first->ThreadId(), second->ThreadId()}) {
        const auto& lines = byThread[id];
        ASSERT_EQ(lines.size(), size_t(kLines));
        // Each line starts afresh, so each gets the prefix; the rest is the thread's own.
        std::string prefix = PrefixOf(&context);
        std::string name = lines[0].substr(prefix.size(), 1);
        for (int i = 0; i < kLines; ++i)
            EXPECT_EQ(lines[i], prefix + name + "-" + std::to_string(i));
    }
}

TEST_F(FFLoggerTest, AWorkerLoggingUnderTheCodecLockNeverWaitsForTheMainThread) {
    test::TLogCapture capture;
    // Hang guard: a deadlock here must fail the run, not stall it.
    sys::TEvent finished(true, false);
    auto watchdog = sys::StartThread([&] {
        if (finished.Wait(test::kHangGuardMs) == sys::TWaitResult::Timeout) {
            std::cerr << "deadlock between the codec lock and log delivery\n";
            std::_Exit(2);
        }
    });

    constexpr int kLines = 50;
    sys::TEvent locked(true, false);
    auto worker = sys::StartThread([&] {
        sys::TLockGuard guard(CodecLock());
        locked.Set();
        for (int i = 0; i < kLines; ++i) {
            GetFFLogger().Log(nullptr, llInfo, "component %d", i);
            lib::av_log(nullptr, AV_LOG_INFO, "library %d\n", i);
        }
    });
    ASSERT_EQ(locked.Wait(test::kHangGuardMs), sys::TWaitResult::Signaled);
    {
        TCodecLockGuard guard;  // the main thread's way in: waits with the hand-overs running
    }
    worker->WaitFor();
    EXPECT_TRUE(capture.WaitForLines(2 * kLines));
    finished.Set();
    watchdog->WaitFor();

    auto messages = capture.Messages();
    ASSERT_EQ(messages.size(), size_t(2 * kLines));
    for (int i = 0; i < kLines; ++i) {
        EXPECT_EQ(messages[2 * i], "component " + std::to_string(i));
        EXPECT_EQ(messages[2 * i + 1], "library " + std::to_string(i));
    }
}

TEST_F(FFLoggerTest, OnlyOneLoggerMayExist) {
    GetFFLogger();
    try {
        TFFLogger second;
        FAIL() << "a second logger was created";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Allow creating only one instance of TFFLogger.");
    }
    // The first one is still the process's logger.
    test::TLogCapture capture;
    GetFFLogger().Log(nullptr, llError, "still here");
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"still here"});
}

TEST(FFLoggerLifetimeTest, LinesQueuedForADestroyedLoggerAreDropped) {
    test::RunInOwnProcess([] {
        std::string failures;
        std::vector<std::string> oldLines, newLines;
        auto logger = std::make_unique<TFFLogger>();  // the main window's
        logger->SetOnLog([&](const void*, sys::TThreadId, TLogLevel, const std::string& msg) {
            oldLines.push_back(msg);
        });
        sys::StartThread([&] { logger->Log(nullptr, llInfo, "late"); })->WaitFor();
        logger.reset();

        TFFLogger& replacement = GetFFLogger();
        replacement.SetOnLog([&](const void*, sys::TThreadId, TLogLevel, const std::string& msg) {
            newLines.push_back(msg);
        });
        while (sys::CheckSynchronize(0)) {
        }
        failures += test::Check(oldLines.empty() && newLines.empty(), "the queued line arrived");
        replacement.Log(nullptr, llInfo, "fresh");
        failures += test::Check(newLines == std::vector<std::string>{"fresh"}, "no fresh line");
        return failures;
    });
}

}  // namespace
}  // namespace media
