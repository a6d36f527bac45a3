// Timing shared by the one-core benchmarks: a call repeated for about a second.
#pragma once

#include <chrono>
#include <functional>

namespace bench {

// Runs the call for about a second (at least 5 times), after a fifth of a second of warming up
// (caches, glyphs, the allocator's large blocks, the clock speed), and returns milliseconds per
// call.
inline double Measure(const std::function<void()>& call) {
    using Clock = std::chrono::steady_clock;
    for (auto warm = Clock::now(); Clock::now() - warm < std::chrono::milliseconds(200);) call();
    const auto start = Clock::now();
    int calls = 0;
    double seconds = 0;
    while (calls < 5 || seconds < 1.0) {
        call();
        ++calls;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return seconds * 1000 / calls;
}

}  // namespace bench
