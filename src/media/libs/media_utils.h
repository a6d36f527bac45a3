// Small helpers of the media components: library text, sizes, times, text splitting, and the
// message pumping that keeps the main thread's hand-overs running while it waits.
//
// No state except the window layer's message pump (set once at start-up). PumpMessage and
// PumpMessages run on the main thread only; everything else is safe on any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/datetime.h"
#include "platform/sys/files.h"
#include "platform/sys/main_thread.h"

namespace media {

// Text read from the libraries as UTF-8: valid sequences stay, every other byte becomes the
// character of the same number (U+0080..U+00FF), so nothing is lost.
std::string LibraryText(std::string_view bytes);

// Size in bytes of an existing file; -1 for a missing file or a folder.
inline int64_t FileSizeOf(const std::string& fileName) {
    return sys::FileSize(fileName);
}

// The text before the first `delimiter` (the whole text when there is none). With `remove` the
// head and the delimiter are cut off `text` (all of it when there is no delimiter).
std::string SplitFirst(std::string& text, std::string_view delimiter, bool remove);

// "%d Byte", or "%.2f KB" / "MB" / "GB" in units of 1024 above each unit.
std::string SizeToText(int64_t size);

// The local standard time's offset from UTC in days; daylight saving is not included.
double TimeZoneOffset();
// Seconds since 1970-01-01 UTC as local standard time.
rtl::TDateTime UnixTimeToLocal(int64_t seconds);
// The run-time library's date formatting ("yyyy-mm-dd hh:nn:ss").
inline std::string DateTimeText(std::string_view pattern, rtl::TDateTime dateTime) {
    return rtl::FormatDateTime(pattern, dateTime);
}

// What the window layer plugs in, so that the media components' waits on the main thread keep
// its window messages running.
enum class TPumpResult { Empty, Dispatched, Quit };
struct TWindowMessagePump {
    // Takes one pending window message and dispatches it. A quit request is taken without
    // dispatching and answered with Quit and its exit code.
    std::function<TPumpResult(int& exitCode)> PumpOne;
    // Posts a quit request again.
    std::function<void(int exitCode)> PostQuit;
};
// Main thread, at start-up; an empty pump leaves only the hand-overs.
void SetWindowMessagePump(TWindowMessagePump pump);

// Runs the hand-overs pending now and one window message; false when there was nothing. A quit
// request taken from the queue is kept in `quit` for the caller to post again after its wait.
bool PumpMessage(std::optional<int>& quit);
// PumpMessage until nothing is left. A quit request it took is posted again at the end, so the
// message loop still ends once the wait is over.
void PumpMessages();

// On the main thread runs `call` at once; elsewhere hands it over and waits for it.
using sys::CallInMainThread;

}  // namespace media
