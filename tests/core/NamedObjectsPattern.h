#pragma once
// The byte patterns the named-object tests and their peer process exchange.
#include "core/link/SharedMemory.h"

namespace zvtest {

const unsigned kRequestSeed = 7;
const unsigned kReplySeed = 13;

inline void FillPattern(unsigned char* record, unsigned seed)
{
    for (unsigned i = 0; i < CSharedMemory::kSize; ++i)
        record[i] = static_cast<unsigned char>(i * seed + seed / 2 + (i >> 8));
}

inline bool HoldsPattern(const unsigned char* record, unsigned seed)
{
    unsigned char expected[CSharedMemory::kSize];
    FillPattern(expected, seed);
    for (unsigned i = 0; i < CSharedMemory::kSize; ++i)
        if (record[i] != expected[i]) return false;
    return true;
}

}  // namespace zvtest
