// The program's one pseudo-random generator: Random(k) gives a uniformly distributed integer
// from 0 to k - 1. It starts from a fixed seed, so a run is repeatable unless someone reseeds it;
// tests seed it to get known sequences. Safe on any thread (each call takes one step of the
// shared state).
#pragma once

#include <cstdint>

namespace rtl {

void RandSeed(std::uint64_t seed);
// 0 for a range of 0 or below.
int Random(int range);

}  // namespace rtl
