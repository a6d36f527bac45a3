#include "media/libs/ff_logger.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <unordered_map>

#include "media/libs/ffmpeg_api.h"
#include "media/libs/media_utils.h"
#include "platform/rtl/exception.h"
#include "platform/sys/main_thread.h"

namespace media {

namespace {

std::atomic<int> gLibLogLevel{AV_LOG_INFO};

// Guards the instance pointer, not the logger's life: the logger goes only after the media
// threads are gone. Recursive, because GetFFLogger constructs under it.
std::recursive_mutex gInstanceLock;
TFFLogger* gInstance = nullptr;
std::unique_ptr<TFFLogger> gOwnerless;  // made by GetFFLogger, freed at exit
uint64_t gNextSerial = 1;

// Library text of each thread not yet ended by a line feed. Items stay for the life of the
// process; a later thread with the same id continues the text.
class TLogList {
public:
    // The map never moves its nodes, so the string stays valid for its thread after the lock.
    std::string& ItemFor(sys::TThreadId threadId) {
        std::lock_guard lock(FLock);
        return FItems[threadId];
    }

private:
    std::mutex FLock;
    std::unordered_map<sys::TThreadId, std::string> FItems;
};

TLogList& LogList() {
    static TLogList list;
    return list;
}

struct TLevelName {
    const char* Name;
    int Level;
};

constexpr std::array<TLevelName, 8> kLevelNames = {{{"quiet", AV_LOG_QUIET},
                                                    {"panic", AV_LOG_PANIC},
                                                    {"fatal", AV_LOG_FATAL},
                                                    {"error", AV_LOG_ERROR},
                                                    {"warning", AV_LOG_WARNING},
                                                    {"info", AV_LOG_INFO},
                                                    {"verbose", AV_LOG_VERBOSE},
                                                    {"debug", AV_LOG_DEBUG}}};

constexpr size_t kLineBufferSize = 2048;

}  // namespace

int LogLevelToLibLevel(TLogLevel level) {
    return int(level) * 8 - 8;
}

TLogLevel LibLevelToLogLevel(int libLevel) {
    int r = libLevel / 8 + 1;
    if (r < 0) return llQuiet;
    if (r >= 7) return llDebug;
    return TLogLevel(r);
}

int LibLogLevel() {
    return gLibLogLevel.load();
}

TFFLogger::TFFLogger() : FLogLevel(LibLevelToLogLevel(LibLogLevel())) {
    std::lock_guard lock(gInstanceLock);
    if (gInstance != nullptr)
        throw rtl::Exception("Allow creating only one instance of TFFLogger.");
    FSerial = gNextSerial++;
    gInstance = this;
}

TFFLogger::~TFFLogger() {
    std::lock_guard lock(gInstanceLock);
    if (gInstance == this) gInstance = nullptr;
}

bool TFFLogger::Passes(TLogLevel level) const {
    TLogLevel current = FLogLevel.load();
    return level <= current || (level == llVerbose && current != llQuiet);
}

void TFFLogger::Log(const void* sender, TLogLevel level, const std::string& msg) {
    if (!FHasOnLog.load() || !Passes(level)) return;
    Deliver(TLogInfo{sender, sys::CurrentThreadId(), level, msg});
}

void TFFLogger::LogLibraryLine(sys::TThreadId threadId, int libLevel, const std::string& line) {
    if (!FHasOnLog.load()) return;
    Deliver(TLogInfo{this, threadId, LibLevelToLogLevel(libLevel), line});
}

void TFFLogger::OptLogLevel(const std::string& arg) {
    for (const TLevelName& name : kLevelNames) {
        if (rtl::SameText(arg, name.Name)) {
            SetLogLevel(LibLevelToLogLevel(name.Level));
            return;
        }
    }
    SetLogLevel(LibLevelToLogLevel(rtl::StrToInt(arg)));
}

void TFFLogger::SetLogLevel(TLogLevel value) {
    if (FLogLevel.exchange(value) != value) ApplyLogLevel();
}

void TFFLogger::ApplyLogLevel() {
    // Before avutil is bound the level waits for InstallAVLogCallback.
    if (lib::av_log_set_level == nullptr) return;
    gLibLogLevel = LogLevelToLibLevel(FLogLevel.load());
    lib::av_log_set_level(gLibLogLevel.load());
}

void TFFLogger::InstallAVLogCallback() {
    if (lib::av_log_set_callback == nullptr || lib::av_log_set_level == nullptr)
        throw rtl::Exception("Assertion failed: avutil is not loaded");
    lib::av_log_set_callback(LibraryLogCallback);
    ApplyLogLevel();
}

TLogEvent TFFLogger::OnLog() const {
    std::lock_guard lock(FEventLock);
    return FOnLog;
}

void TFFLogger::SetOnLog(TLogEvent event) {
    std::lock_guard lock(FEventLock);
    FHasOnLog = event != nullptr;
    FOnLog = std::move(event);
}

void TFFLogger::Deliver(TLogInfo info) {
    if (!FTriggerEventInMainThread.load() || sys::IsMainThread()) {
        CallOnLog(info);
        return;
    }
    // Queued, not waited for: the logging thread may hold a lock the main thread waits for.
    sys::QueueInMainThread(
        [serial = FSerial, info = std::move(info)] { DeliverQueued(serial, info); });
}

void TFFLogger::DeliverQueued(uint64_t serial, const TLogInfo& info) {
    TFFLogger* logger;
    {
        std::lock_guard lock(gInstanceLock);
        logger = gInstance;
    }
    // Loggers are destroyed on the main thread, where this runs, so the one found stays alive.
    if (logger != nullptr && logger->FSerial == serial) logger->CallOnLog(info);
}

void TFFLogger::CallOnLog(const TLogInfo& info) const {
    TLogEvent event = OnLog();
    if (event) event(info.Sender, info.ThreadID, info.LogLevel, info.LogMsg);
}

TFFLogger& GetFFLogger() {
    std::lock_guard lock(gInstanceLock);
    if (gInstance == nullptr) gOwnerless = std::make_unique<TFFLogger>();
    return *gInstance;
}

void LibraryLogCallback(void* context, int level, const char* format, va_list args) {
    // The library tints levels in the bits above the low byte.
    if (level >= 0) level &= 0xff;
    if (level > gLibLogLevel.load()) return;

    sys::TThreadId threadId = sys::CurrentThreadId();
    std::string& pending = LogList().ItemFor(threadId);

    std::array<char, kLineBufferSize> buffer{};
    size_t used = 0;
    const AVClass* avClass = context != nullptr ? *static_cast<const AVClass**>(context) : nullptr;
    if (avClass != nullptr && pending.empty()) {
        const char* name =
            avClass->item_name != nullptr ? avClass->item_name(context) : avClass->class_name;
        int n = std::snprintf(buffer.data(), buffer.size(), "[%s @ %p]", name, context);
        used = n < 0 ? 0 : std::min(size_t(n), buffer.size() - 1);
    }
    std::vsnprintf(buffer.data() + used, buffer.size() - used, format, args);
    pending += buffer.data();

    for (size_t lineEnd = pending.find('\n'); lineEnd != std::string::npos;
         lineEnd = pending.find('\n')) {
        std::string line = LibraryText(std::string_view(pending).substr(0, lineEnd));
        pending.erase(0, lineEnd + 1);
        GetFFLogger().LogLibraryLine(threadId, level, line);
    }
}

}  // namespace media
