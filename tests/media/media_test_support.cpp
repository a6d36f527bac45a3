#include "media_test_support.h"

#include <chrono>
#include <cstdlib>
#include <iostream>

#include <gtest/gtest.h>

#include "media/libs/ffmpeg_loader.h"
#include "platform/sys/clock.h"
#include "platform/sys/main_thread.h"

namespace media::test {

void RunInOwnProcess(const std::function<std::string()>& scenario) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::string failure = scenario();
            std::cerr << failure;
            std::_Exit(failure.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

void RequireLibraries() {
    AVLibLoader().SetLibraryPath("");
    ASSERT_TRUE(AVLibLoader().Load(FFTaskManagerLibraries)) << AVLibLoader().LastErrMsg();
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return done();
        // Returns at once when a hand-over arrives, so quick waits stay quick.
        sys::CheckSynchronize(1);
    }
    return true;
}

TLogCapture::TLogCapture() {
    TFFLogger& logger = GetFFLogger();
    FSavedLevel = logger.LogLevel();
    FSavedTrigger = logger.TriggerEventInMainThread();
    logger.SetOnLog([this](const void* sender, sys::TThreadId threadId, TLogLevel level,
                           const std::string& msg) {
        std::lock_guard lock(FLock);
        FLines.push_back({sender, threadId, level, msg});
    });
}

TLogCapture::~TLogCapture() {
    // Lines still queued for the main thread must not reach a capture that is gone.
    while (sys::CheckSynchronize(0)) {
    }
    TFFLogger& logger = GetFFLogger();
    logger.SetOnLog(nullptr);
    logger.SetLogLevel(FSavedLevel);
    logger.SetTriggerEventInMainThread(FSavedTrigger);
}

std::vector<TCapturedLine> TLogCapture::Lines() const {
    std::lock_guard lock(FLock);
    return FLines;
}

std::vector<std::string> TLogCapture::Messages() const {
    std::vector<std::string> messages;
    for (const TCapturedLine& line : Lines()) messages.push_back(line.Msg);
    return messages;
}

bool TLogCapture::WaitForLines(size_t count) const {
    return WaitUntil([&] { return Lines().size() >= count; });
}

}  // namespace media::test
