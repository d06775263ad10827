#pragma once
// What the benchmarks share: a steady clock read in milliseconds, and the
// made-up unique keys of their generated types and categories.
#include <chrono>
#include <cstdint>

#include "core/items/UniqueKey.h"

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Group in the first byte, number in the last, zero between.
inline void Key(uint8_t key[kUniqueKeySize], int group, int n)
{
    for (int i = 0; i < kUniqueKeySize; ++i) key[i] = 0;
    key[0] = (uint8_t)group;
    key[7] = (uint8_t)n;
}
