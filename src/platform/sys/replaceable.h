// A process-wide hook that tests replace: the launcher's opener, the power-off request and the
// sound player each keep theirs in one. Reading and replacing are safe from any thread.
#pragma once

#include <mutex>
#include <utility>

namespace sys {

template <typename THook>
class TReplaceable {
public:
    THook Get() const {
        std::lock_guard<std::mutex> guard(FLock);
        return FHook;
    }
    // Returns the hook it replaces.
    THook Set(THook hook) {
        std::lock_guard<std::mutex> guard(FLock);
        std::swap(FHook, hook);
        return hook;
    }

private:
    mutable std::mutex FLock;
    THook FHook;
};

}  // namespace sys
