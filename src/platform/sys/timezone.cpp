#include "platform/sys/timezone.h"

#include <ctime>
#include <mutex>

namespace sys {

int TimeZoneBiasMinutes() {
    // tzset writes process-wide variables; serialise our own readers.
    static std::mutex lock;
    std::lock_guard guard(lock);
    tzset();
    // `timezone` holds the seconds west of UTC of standard time: the bias's own sign.
    return static_cast<int>(timezone / 60);
}

}  // namespace sys
