// The one log of the media components and of the FFmpeg libraries.
//
// Owns the process-wide logger (GetFFLogger), the library level LibLogLevel and the per-thread
// pending text of library messages. Any thread logs; OnLog receives whole lines, on the main
// thread when TriggerEventInMainThread is set. Lines of other threads are queued to the main
// thread without waiting, so a thread holding a lock never waits for the main thread to log;
// each thread's lines arrive in the order it logged them.
#pragma once

#include <atomic>
#include <cstdarg>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "media/libs/ff_base_component.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/threads.h"

namespace media {

enum TLogLevel { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// llQuiet -8, llPanic 0, ... llDebug 48.
int LogLevelToLibLevel(TLogLevel level);
// Library levels divided by 8 (toward zero) plus one; below 0 llQuiet, from 7 on llDebug.
TLogLevel LibLevelToLogLevel(int libLevel);

// The library level at or below which library messages pass; 32 (info) at start.
int LibLogLevel();

// Sender is the identity of the object that logged (the logger itself for library lines); it is
// not guaranteed to be alive when the line arrives.
struct TLogInfo {
    const void* Sender = nullptr;
    sys::TThreadId ThreadID = 0;
    TLogLevel LogLevel = llInfo;
    std::string LogMsg;
};

using TLogEvent = std::function<void(const void* sender, sys::TThreadId threadId, TLogLevel level,
                                     const std::string& msg)>;

class TFFLogger : public TFFBaseComponent {
public:
    // Only one may exist at a time: a second raises rtl::Exception
    // "Allow creating only one instance of TFFLogger.". Destroy it on the main thread once no
    // media thread logs any more; lines still queued for it are then dropped.
    TFFLogger();
    ~TFFLogger() override;

    // Passes at or below LogLevel, and llVerbose at any level but llQuiet.
    void Log(const void* sender, TLogLevel level, const std::string& msg);
    // Formats (printf syntax) only when the line passes.
    template <class... TArgs>
    requires(sizeof...(TArgs) > 0) void Log(const void* sender, TLogLevel level,
                                            std::string_view format, const TArgs&... args) {
        if (Passes(level)) Log(sender, level, rtl::Format(format, args...));
    }

    // A level name ("quiet" .. "debug", any case) or a library level number; other text raises
    // rtl's conversion error.
    void OptLogLevel(const std::string& arg);
    // Installs LibraryLogCallback and applies LogLevel to the library; avutil must be bound.
    void InstallAVLogCallback();
    // A line of library text, already filtered by LibLogLevel.
    void LogLibraryLine(sys::TThreadId threadId, int libLevel, const std::string& line);

    TLogLevel LogLevel() const { return FLogLevel.load(); }
    void SetLogLevel(TLogLevel value);
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread.load(); }
    void SetTriggerEventInMainThread(bool value) { FTriggerEventInMainThread = value; }
    TLogEvent OnLog() const;
    void SetOnLog(TLogEvent event);

private:
    bool Passes(TLogLevel level) const;
    void ApplyLogLevel();
    void Deliver(TLogInfo info);
    void CallOnLog(const TLogInfo& info) const;
    static void DeliverQueued(uint64_t serial, const TLogInfo& info);

    std::atomic<bool> FTriggerEventInMainThread{true};
    std::atomic<TLogLevel> FLogLevel;
    mutable std::mutex FEventLock;
    TLogEvent FOnLog;
    std::atomic<bool> FHasOnLog{false};
    uint64_t FSerial;
};

// The logger every media class logs through; creates an ownerless one when none exists.
TFFLogger& GetFFLogger();

// Given to av_log_set_callback: gathers each thread's fragments into lines.
void LibraryLogCallback(void* context, int level, const char* format, va_list args);

}  // namespace media
