#include "core/crypto/Random.h"

#include <climits>
#include <mutex>

namespace {

constexpr int kStateWords = 624;
constexpr int kShift = 397;
constexpr uint32_t kMatrix = 0x9908B0DFu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;

// The state is process-wide; the Wi-Fi sync thread draws keys too, so every
// entry point takes this lock.
std::mutex g_lock;

struct MersenneState {
    uint32_t words[kStateWords];
    int left = 1;  // words left before the next refill; 1 = refill at the next draw
    int next = 0;
    bool seeded = false;
} g_mt;

int32_t g_minStdState = 123456789;

void SeedLocked(uint32_t seed)
{
    g_mt.words[0] = seed;
    for (int i = 1; i < kStateWords; ++i) {
        uint32_t prev = g_mt.words[i - 1];
        g_mt.words[i] = 1812433253u * (prev ^ (prev >> 30)) + uint32_t(i);
    }
    g_mt.left = 1;
    g_mt.seeded = true;
}

inline uint32_t Twist(uint32_t upper, uint32_t lower, uint32_t far)
{
    uint32_t y = (upper & kUpperMask) | (lower & kLowerMask);
    return far ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
}

void RefillLocked()
{
    if (!g_mt.seeded) SeedLocked(5489u);
    uint32_t* s = g_mt.words;
    int i = 0;
    for (; i < kStateWords - kShift; ++i) s[i] = Twist(s[i], s[i + 1], s[i + kShift]);
    for (; i < kStateWords - 1; ++i) s[i] = Twist(s[i], s[i + 1], s[i + kShift - kStateWords]);
    s[kStateWords - 1] = Twist(s[kStateWords - 1], s[0], s[kShift - 1]);
    g_mt.left = kStateWords;
    g_mt.next = 0;
}

uint32_t NextLocked()
{
    if (--g_mt.left == 0) RefillLocked();
    uint32_t y = g_mt.words[g_mt.next++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

double MinStdLocked()
{
    // Schrage's method keeps 48271 * state inside 32 bits.
    constexpr int32_t kModulus = 2147483647, kMultiplier = 48271, kQ = 44488, kR = 3399;
    int32_t hi = g_minStdState / kQ;
    int32_t lo = g_minStdState % kQ;
    int32_t next = kMultiplier * lo - kR * hi;
    if (next <= 0) next += kModulus;
    g_minStdState = next;
    return next / 2147483647.0;
}

int32_t NewItemIdLocked()
{
    int32_t low = int32_t(NextLocked() & 0xFFFFu);
    // The high half comes from a value in (0, 1), so it is always 0; the
    // minimal-standard generator still advances once per id.
    int32_t high = int32_t(MinStdLocked());
    return (high << 16) | low;
}

}  // namespace

void SeedRandom(uint32_t seed)
{
    std::lock_guard<std::mutex> guard(g_lock);
    SeedLocked(seed);
}

void RefillRandomState()
{
    std::lock_guard<std::mutex> guard(g_lock);
    RefillLocked();
}

uint32_t NextRandom()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return NextLocked();
}

double MinStdRandom()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return MinStdLocked();
}

int32_t NewItemId()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return NewItemIdLocked();
}

int32_t NewFreeItemId(const std::function<bool(int32_t)>& isIdInUse)
{
    // Ids name attachment files, so two items of one database must never share
    // one. The predicate runs outside the lock: it may be any lookup.
    constexpr int kNarrowDraws = 1024;
    constexpr int kWideDraws = 1024;
    for (int i = 0; i < kNarrowDraws; ++i) {
        int32_t id = NewItemId();
        if (id != 0 && !isIdInUse(id)) return id;
    }
    // The 16-bit range is full or nearly so: draw from all positive ids.
    for (int i = 0; i < kWideDraws; ++i) {
        int32_t id = int32_t(NextRandom() & 0x7FFFFFFFu);
        if (id != 0 && !isIdInUse(id)) return id;
    }
    // Practically unreachable; walking the ids keeps the search finite, the
    // small ones first because the draws above found them nearly all taken.
    for (int32_t id = 1; id <= 0xFFFF; ++id) {
        if (!isIdInUse(id)) return id;
    }
    for (int64_t id = 0x10000; id <= INT32_MAX; ++id) {
        if (!isIdInUse(int32_t(id))) return int32_t(id);
    }
    return 0;
}
