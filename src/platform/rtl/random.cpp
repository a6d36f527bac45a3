#include "platform/rtl/random.h"

#include <atomic>

namespace rtl {

namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;

// A counter walked by a fixed odd step and scrambled on the way out: one atomic add per number,
// and the same seed gives the same numbers on every machine.
std::atomic<std::uint64_t> gState{0};

std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void RandSeed(std::uint64_t seed) {
    gState.store(seed, std::memory_order_relaxed);
}

int Random(int range) {
    if (range <= 0) return 0;
    const std::uint64_t bits = Mix(gState.fetch_add(kGolden, std::memory_order_relaxed) + kGolden);
    // The high 32 bits scaled to the range: no modulo bias worth speaking of, no division.
    return int(((bits >> 32) * std::uint64_t(range)) >> 32);
}

}  // namespace rtl
