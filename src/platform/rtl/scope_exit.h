// TScopeExit: runs a cleanup when its scope ends, by return or by exception, so state a block
// sets for its duration (a busy flag, a borrowed handle, a frame reference) is put back on every
// way out without a catch that repeats the cleanup. Header only; no threads of its own.
#pragma once

#include <utility>

namespace rtl {

// The cleanup runs once, in the destructor, and must not throw: it may run during unwinding.
template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F cleanup) : FCleanup(std::move(cleanup)) {}
    ~TScopeExit() { FCleanup(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F FCleanup;
};

}  // namespace rtl
