#include "core/items/UniqueKey.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/items/NodeValue.h"
#include "core/crypto/Random.h"
#include "core/os/ProcessSeams.h"

namespace {

std::string Hex(const uint8_t* key)
{
    char text[17];
    std::memset(text, 'x', sizeof text);
    UniqueKeyToHex(key, text);
    EXPECT_EQ(text[16], '\0');
    return text;
}

// NetBIOS as a script: a list of adapters, each answering or failing.
class FakeAdapters : public AdapterStatusSource {
public:
    struct Adapter {
        uint8_t number;
        bool resetOk;
        bool statusOk;
        std::vector<uint8_t> answer;  // the bytes NetBIOS fills in (may be fewer than 600)
    };
    bool enumerateOk = true;
    std::vector<Adapter> adapters;
    std::vector<uint8_t> queried;

    bool EnumerateAdapters(std::vector<uint8_t>& numbers) override
    {
        numbers.clear();
        for (const Adapter& a : adapters) numbers.push_back(a.number);
        return enumerateOk;
    }
    bool ResetAdapter(uint8_t number) override { return Find(number).resetOk; }
    bool QueryAdapterStatus(uint8_t number, uint8_t status[kAdapterStatusSize]) override
    {
        queried.push_back(number);
        const Adapter& a = Find(number);
        if (!a.answer.empty()) std::memcpy(status, a.answer.data(), a.answer.size());
        return a.statusOk;
    }

private:
    const Adapter& Find(uint8_t number)
    {
        for (const Adapter& a : adapters)
            if (a.number == number) return a;
        ADD_FAILURE() << "unknown adapter " << int(number);
        return adapters.front();
    }
};

std::vector<uint8_t> Pattern(int mul, int add, size_t n = kAdapterStatusSize)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * mul + add);
    return bytes;
}

TEST(AdapterStatusCrc, FixedBuffers)
{
    struct Case {
        std::vector<uint8_t> buffer;
        uint16_t crc;
    };
    const Case cases[] = {
        {std::vector<uint8_t>(600, 0x00), 0x7C2F},
        {std::vector<uint8_t>(600, 0xFF), 0xF204},
        {Pattern(1, 0), 0x66B8},
        {Pattern(7, 3), 0xDAD1},
    };
    for (const Case& c : cases) EXPECT_EQ(AdapterStatusCrc(c.buffer.data()), c.crc);
}

TEST(NodeValue, FirstAdapterWithANonZeroCrcWins)
{
    FakeAdapters nb;
    nb.adapters = {
        {3, false, true, Pattern(1, 0)},  // reset fails: skipped
        {5, true, false, Pattern(1, 0)},  // status fails: skipped
        {0, true, true, Pattern(7, 3)},
        {1, true, true, Pattern(1, 0)},
    };
    EXPECT_EQ(ComputeNodeValue(nb), 0xDAD1);
    EXPECT_EQ(nb.queried, (std::vector<uint8_t>{5, 0}));
}

TEST(NodeValue, ShortAnswerIsTakenOverACleanedBuffer)
{
    // The bytes NetBIOS leaves unfilled are zero, so one machine always gets
    // the same value: 0xFF x 10 then zeros.
    FakeAdapters nb;
    nb.adapters = {{0, true, true, std::vector<uint8_t>(10, 0xFF)}};
    std::vector<uint8_t> expected(600, 0);
    std::fill(expected.begin(), expected.begin() + 10, 0xFF);
    EXPECT_EQ(ComputeNodeValue(nb), AdapterStatusCrc(expected.data()));
    EXPECT_EQ(ComputeNodeValue(nb), ComputeNodeValue(nb));
}

TEST(NodeValue, NoAnswerFallsBackToARandomDraw)
{
    // Wine's NetBIOS may fail, list no adapters, or answer for none.
    FakeAdapters failing;
    failing.enumerateOk = false;
    failing.adapters = {{0, true, true, Pattern(1, 0)}};
    FakeAdapters empty;
    FakeAdapters silent;
    silent.adapters = {{0, true, false, {}}, {1, false, true, {}}};
    for (FakeAdapters* nb : {&failing, &empty, &silent}) {
        SeedRandom(123456);
        // The first MT19937 output for seed 123456 is 545331265; % 65535 = 14530.
        EXPECT_EQ(ComputeNodeValue(*nb), 14530);
    }
    EXPECT_TRUE(failing.queried.empty());
}

TEST(NodeValue, ThisBuildFallsBackWhenNetbiosHasNoAdapters)
{
    // Under Wine NetBIOS may answer or not; without adapters the value is the
    // draw (seed 123456: 14530), otherwise a non-zero adapter CRC.
    std::vector<uint8_t> adapters;
    const bool haveAdapters = PlatformAdapterStatusSource().EnumerateAdapters(adapters) && !adapters.empty();
    SeedRandom(123456);
    const uint16_t value = ComputeNodeValue();
    if (haveAdapters)
        EXPECT_NE(value, 0);
    else
        EXPECT_EQ(value, 14530);
}

struct FixedClock {
    static uint64_t fileTime;
    static uint32_t tick;
    static uint32_t Tick() { return tick; }
    static uint64_t Now() { return fileTime; }
};
uint64_t FixedClock::fileTime = 134413841480000000ull;  // 2026-12-10 13:49:08
uint32_t FixedClock::tick = 123456;

class UniqueKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const UniqueKeyClock clock = {FixedClock::Tick, FixedClock::Now};
        FixedClock::fileTime = 134413841480000000ull;
        FixedClock::tick = 123456;
        SetUniqueKeyClock(&clock);
        ResetUniqueKeyState(&noAdapters);
    }
    void TearDown() override
    {
        SetUniqueKeyClock(nullptr);
        ResetUniqueKeyState();
    }
    FakeAdapters noAdapters;
};

TEST_F(UniqueKeyTest, FirstKeysOfAProcess)
{
    // Seeded with the tick count 123456: the first output 545331265 % 65535 =
    // 14530 seeds the counter; the second, 2211535594 % 65535 = 57019 = 0xDEBB,
    // is the node value (no adapters). 2026-12-10 13:49:08 is 3879755348 =
    // 0xE7405E54 seconds after 1904.
    uint8_t key[8];
    NewUniqueKey(key);
    EXPECT_EQ(Hex(key), "DEBB38C3E7405E54");
    NewUniqueKey(key);
    EXPECT_EQ(Hex(key), "DEBB38C4E7405E54");
}

TEST_F(UniqueKeyTest, NodeValueFromAnAdapter)
{
    FakeAdapters nb;
    nb.adapters = {{2, true, true, Pattern(7, 3)}};
    ResetUniqueKeyState(&nb);
    uint8_t key[8];
    NewUniqueKey(key);
    EXPECT_EQ(Hex(key), "DAD138C3E7405E54");
}

TEST_F(UniqueKeyTest, ZeroNodeValueIsComputedAgainAtTheNextKey)
{
    // Tick 31336 seeds outputs 3574444259 (counter 34289), 2062779660 (a
    // multiple of 65535: node 0) and 1272967445 (% 65535 = 15605 = 0x3CF5).
    FixedClock::tick = 31336;
    uint8_t key[8];
    NewUniqueKey(key);
    EXPECT_EQ(Hex(key), "000085F2E7405E54");
    NewUniqueKey(key);
    EXPECT_EQ(Hex(key), "3CF585F3E7405E54");
    NewUniqueKey(key);
    EXPECT_EQ(Hex(key), "3CF585F4E7405E54");
}

TEST_F(UniqueKeyTest, NodeValueIsComputedOncePerProcess)
{
    int calls = 0;
    class Counting : public FakeAdapters {
    public:
        explicit Counting(int& calls) : m_calls(calls) {}
        bool EnumerateAdapters(std::vector<uint8_t>& numbers) override
        {
            ++m_calls;
            return FakeAdapters::EnumerateAdapters(numbers);
        }

    private:
        int& m_calls;
    } nb(calls);
    nb.adapters = {{0, true, true, Pattern(1, 0)}};
    ResetUniqueKeyState(&nb);
    uint8_t key[8];
    for (int i = 0; i < 3; ++i) NewUniqueKey(key);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(key[0], 0x66);
    EXPECT_EQ(key[1], 0xB8);
}

TEST_F(UniqueKeyTest, CounterWrapsAfter65536Keys)
{
    uint8_t first[8], key[8];
    NewUniqueKey(first);
    for (int i = 1; i < 65536; ++i) NewUniqueKey(key);
    EXPECT_EQ(key[2] * 256 + key[3], (first[2] * 256 + first[3] + 65535) % 65536);
    NewUniqueKey(key);  // the 65537th key repeats the counter of the first
    EXPECT_TRUE(IsSameUniqueKey(key, first));
    FixedClock::fileTime += 10000000;
    NewUniqueKey(key);
    EXPECT_EQ(Hex(key), "DEBB38C4E7405E55");
}

TEST_F(UniqueKeyTest, KeysOfOneSecondDifferInTheCounter)
{
    uint8_t a[8], b[8];
    NewUniqueKey(a);
    NewUniqueKey(b);
    EXPECT_FALSE(IsSameUniqueKey(a, b));
    EXPECT_EQ(std::memcmp(a + 4, b + 4, 4), 0);
}

TEST(UniqueKey, HexText)
{
    const uint8_t key[8] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    EXPECT_EQ(Hex(key), "0001020304050607");
    const uint8_t null[8] = {};
    EXPECT_EQ(Hex(null), "0000000000000000");
    const uint8_t high[8] = {0xAB, 0xCD, 0xEF, 0x10, 0xFF, 0x9A, 0x0B, 0xC0};
    EXPECT_EQ(Hex(high), "ABCDEF10FF9A0BC0");
}

TEST(UniqueKey, NullClearCopyCompare)
{
    uint8_t key[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(IsNullUniqueKey(key));
    uint8_t copy[8];
    CopyUniqueKey(copy, key);
    EXPECT_TRUE(IsSameUniqueKey(copy, key));
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        uint8_t other[8];
        CopyUniqueKey(other, key);
        other[i] ^= 0x80;
        EXPECT_FALSE(IsSameUniqueKey(other, key));  // every byte counts, byte 7 too
        uint8_t single[8] = {};
        single[i] = 1;
        EXPECT_FALSE(IsNullUniqueKey(single));
    }
    ClearUniqueKey(key);
    EXPECT_TRUE(IsNullUniqueKey(key));
    EXPECT_EQ(Hex(key), "0000000000000000");
}

TEST(UniqueKey, FileTimeToSeconds1904)
{
    struct Case {
        uint64_t fileTime;
        uint32_t seconds;
    };
    const Case cases[] = {
        {95616288000000000ull, 0},             // 1904-01-01 00:00:00
        {95616288010000000ull, 1},             // one second later
        {95616288019999999ull, 1},             // fractions are cut
        {126444736000000000ull, 3082844800u},  // 2001-09-09 01:46:40
        {134413841480000000ull, 3879755348u},  // 2026-12-10 13:49:08
        {138565960950000000ull, 4294967295u},  // 2040-02-06 06:28:15
        {138565960960000000ull, 0},            // 2040-02-06 06:28:16 wraps
        {138565960970000000ull, 1},
        {95616287990000000ull, 4294967295u},  // 1903-12-31 23:59:59: -1
        {95616287990000001ull, 0},            // signed division rounds toward zero
    };
    for (const Case& c : cases) EXPECT_EQ(FileTimeToSeconds1904(c.fileTime), c.seconds) << c.fileTime;
}

TEST(UniqueKey, SystemClockGivesThePresent)
{
    SetUniqueKeyClock(nullptr);
    ResetUniqueKeyState();
    uint8_t key[8];
    NewUniqueKey(key);
    uint32_t seconds = uint32_t(key[4]) << 24 | uint32_t(key[5]) << 16 | uint32_t(key[6]) << 8 | key[7];
    // After 2026-01-01 and before the wrap in 2040 (local time may be off by a day).
    EXPECT_GT(seconds, 3849984000u - 86400u);
    EXPECT_LT(seconds, 4294967295u);
    ResetUniqueKeyState();
}

}  // namespace
