#include "core/items/UniqueKey.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <mutex>

#include "core/items/NodeValue.h"
#include "core/os/ProcessSeams.h"
#include "core/crypto/Random.h"

namespace {

constexpr uint64_t kFileTimeOf1904 = 95616288000000000ull;  // 1904-01-01 00:00:00
constexpr uint64_t kFileTicksPerSecond = 10000000ull;

uint32_t SystemTickCount()
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Days from 1970-01-01 to a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

uint64_t SystemLocalFileTime()
{
    static std::mutex lock;  // the C library's local-time buffer is shared
    std::lock_guard<std::mutex> guard(lock);
    std::time_t now = std::time(nullptr);
    // The local time checks the zone's file at every call (twice under
    // Wine), and an import draws a key per record: within one second the
    // answer is the same.
    static std::time_t lastSecond = (std::time_t)-1;
    static uint64_t lastAnswer = 0;
    if (now == lastSecond && now != (std::time_t)-1) return lastAnswer;
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) return kFileTimeOf1904;
    // The local calendar time taken as if it were UTC.
    const int64_t kDays1601To1970 = 134774;
    int64_t days =
        DaysFromCivil(local->tm_year + 1900LL, unsigned(local->tm_mon + 1), unsigned(local->tm_mday)) + kDays1601To1970;
    int64_t seconds = days * 86400 + local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
    lastSecond = now;
    lastAnswer = uint64_t(seconds) * kFileTicksPerSecond;
    return lastAnswer;
}

const UniqueKeyClock kSystemClock = {SystemTickCount, SystemLocalFileTime};

// Key state is process-wide; the lock orders draws from several threads. It is
// always taken before the generator's own lock, never after.
std::mutex g_lock;
UniqueKeyClock g_clock = kSystemClock;
AdapterStatusSource* g_adapters = nullptr;
bool g_counterSeeded = false;
uint16_t g_counter = 0;
uint16_t g_node = 0;

inline void StoreBE16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}

inline void StoreBE32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

}  // namespace

void NewUniqueKey(uint8_t key[kUniqueKeySize])
{
    std::lock_guard<std::mutex> guard(g_lock);
    if (!g_counterSeeded) {
        // A separate flag: a tick count of 0 must not re-seed at every key.
        g_counterSeeded = true;
        SeedRandom(g_clock.tickCount());
        g_counter = uint16_t(NextRandom() % 65535u);
    }
    if (g_node == 0) g_node = g_adapters ? ComputeNodeValue(*g_adapters) : ComputeNodeValue();
    ++g_counter;  // wraps from 65535 to 0
    StoreBE16(key, g_node);
    StoreBE16(key + 2, g_counter);
    StoreBE32(key + 4, FileTimeToSeconds1904(g_clock.localFileTime()));
}

void ClearUniqueKey(uint8_t key[kUniqueKeySize]) { std::memset(key, 0, kUniqueKeySize); }

bool IsNullUniqueKey(const uint8_t key[kUniqueKeySize])
{
    static const uint8_t kNull[kUniqueKeySize] = {};
    return std::memcmp(key, kNull, kUniqueKeySize) == 0;
}

void CopyUniqueKey(uint8_t dest[kUniqueKeySize], const uint8_t source[kUniqueKeySize])
{
    std::memmove(dest, source, kUniqueKeySize);
}

bool IsSameUniqueKey(const uint8_t a[kUniqueKeySize], const uint8_t b[kUniqueKeySize])
{
    return std::memcmp(a, b, kUniqueKeySize) == 0;
}

void UniqueKeyToHex(const uint8_t key[kUniqueKeySize], char text[2 * kUniqueKeySize + 1])
{
    static const char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < kUniqueKeySize; ++i) {
        text[2 * i] = kDigits[key[i] >> 4];
        text[2 * i + 1] = kDigits[key[i] & 0x0F];
    }
    text[2 * kUniqueKeySize] = '\0';
}

uint32_t FileTimeToSeconds1904(uint64_t fileTime)
{
    int64_t seconds = (int64_t(fileTime) - int64_t(kFileTimeOf1904)) / int64_t(kFileTicksPerSecond);
    return uint32_t(uint64_t(seconds));
}

void SetUniqueKeyClock(const UniqueKeyClock* clock)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_clock = clock ? *clock : kSystemClock;
    if (!g_clock.tickCount) g_clock.tickCount = SystemTickCount;
    if (!g_clock.localFileTime) g_clock.localFileTime = SystemLocalFileTime;
}

void ResetUniqueKeyState(AdapterStatusSource* source)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_adapters = source;
    g_counterSeeded = false;
    g_counter = 0;
    g_node = 0;
}
