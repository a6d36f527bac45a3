// Shared helpers of the media tests: the libraries loaded once per process, a temporary folder,
// and a capture of the lines the logger delivers.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "media/libs/ff_logger.h"
#include "support/temp_dir.h"

namespace media::test {

// The loader's and the logger's state is process-wide: a case that changes it for good runs in a
// process of its own, started afresh. `scenario` returns what went wrong, empty when nothing.
void RunInOwnProcess(const std::function<std::string()>& scenario);
// `what` and a line feed when not `ok`.
inline std::string Check(bool ok, const std::string& what) {
    return ok ? "" : what + "\n";
}

// Loads the task manager's set from the system; fails the calling test when that fails.
void RequireLibraries();

using testsupport::TTempDir;

// Bounds of waits in tests: only a hang reaches them, however slow or busy the machine.
constexpr int kHangGuardMs = 120'000;

// A hang guard only: runs the main thread's hand-overs until `done` holds; false after
// `timeoutMs`.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = kHangGuardMs);

struct TCapturedLine {
    const void* Sender;
    sys::TThreadId ThreadId;
    TLogLevel Level;
    std::string Msg;
};

// Takes over the process-wide logger's OnLog for its lifetime; the logger's level and main-thread
// delivery are restored afterwards.
class TLogCapture {
public:
    TLogCapture();
    ~TLogCapture();
    TLogCapture(const TLogCapture&) = delete;
    TLogCapture& operator=(const TLogCapture&) = delete;

    std::vector<TCapturedLine> Lines() const;
    std::vector<std::string> Messages() const;
    // Runs the main thread's hand-overs until `count` lines arrived or 5 s passed.
    bool WaitForLines(size_t count) const;

private:
    mutable std::mutex FLock;
    std::vector<TCapturedLine> FLines;
    TLogLevel FSavedLevel;
    bool FSavedTrigger;
};

}  // namespace media::test
