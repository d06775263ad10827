#include "core/crypto/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

namespace {

TEST(Random, Mt19937ReferenceSequenceForDefaultSeed)
{
    SeedRandom(5489);
    std::vector<uint32_t> out(10000);
    for (auto& v : out) v = NextRandom();
    EXPECT_EQ(out[0], 3499211612u);
    EXPECT_EQ(out[1], 581869302u);
    EXPECT_EQ(out[623], 4020325887u);  // last word of the first state
    EXPECT_EQ(out[624], 4178893912u);  // first word after a refill
    EXPECT_EQ(out[9999], 4123659995u);
}

TEST(Random, MatchesTheStandardLibraryGeneratorForOtherSeeds)
{
    for (uint32_t seed : {0u, 1u, 123456u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(seed);
        SeedRandom(seed);
        std::mt19937 reference(seed);
        for (int i = 0; i < 2000; ++i) ASSERT_EQ(NextRandom(), reference()) << "draw " << i;
    }
}

TEST(Random, SeedOneFixedValues)
{
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 1791095845u);
    EXPECT_EQ(NextRandom(), 4282876139u);
    EXPECT_EQ(NextRandom(), 3093770124u);
}

TEST(Random, RefillRestartsAtTheFirstWordOfANewState)
{
    SeedRandom(5489);
    NextRandom();  // word 0 of the first state
    RefillRandomState();
    // The next draw takes word 0 of the regenerated (second) state.
    std::mt19937 reference(5489);
    reference.discard(624);
    EXPECT_EQ(NextRandom(), reference());
}

TEST(Random, MinStdIsTheMinimalStandardGenerator)
{
    constexpr double kModulus = 2147483647.0;
    double previous = MinStdRandom();
    for (int i = 0; i < 1000; ++i) {
        double value = MinStdRandom();
        ASSERT_GT(value, 0.0);
        ASSERT_LT(value, 1.0);
        // Each state is the previous one times 48271 modulo 2^31 - 1.
        int64_t prevState = std::llround(previous * kModulus);
        int64_t state = std::llround(value * kModulus);
        ASSERT_EQ(state, prevState * 48271 % 2147483647);
        previous = value;
    }
}

TEST(Random, NewItemIdIsTheLow16BitsOfOneDraw)
{
    SeedRandom(123456);
    // Fixed values: the low 16 bits of the 1st..3rd MT19937 outputs for seed 123456.
    EXPECT_EQ(NewItemId(), 545331265 & 0xFFFF);
    EXPECT_EQ(NewItemId(), int32_t(2211535594u & 0xFFFF));
    EXPECT_EQ(NewItemId(), 53746);

    SeedRandom(99);
    std::mt19937 reference(99);
    for (int i = 0; i < 5000; ++i) {
        int32_t id = NewItemId();
        ASSERT_GE(id, 0);
        ASSERT_LE(id, 65535);
        ASSERT_EQ(uint32_t(id), reference() & 0xFFFFu);
    }
}

TEST(Random, NewItemIdAdvancesTheMinimalStandardGeneratorOnce)
{
    double before = MinStdRandom();
    NewItemId();
    double after = MinStdRandom();
    int64_t s0 = std::llround(before * 2147483647.0);
    int64_t s2 = std::llround(after * 2147483647.0);
    int64_t s1 = s0 * 48271 % 2147483647;
    EXPECT_EQ(s2, s1 * 48271 % 2147483647);
}

TEST(Random, FreeItemIdSkipsZero)
{
    // Seed 43117 draws 1633746944 first (low 16 bits 0), then ...41476.
    SeedRandom(43117);
    EXPECT_EQ(NewItemId(), 0);
    SeedRandom(43117);
    EXPECT_EQ(NewFreeItemId([](int32_t) { return false; }), 41476);
}

TEST(Random, FreeItemIdSkipsIdsInUse)
{
    SeedRandom(2024);
    std::vector<int32_t> raw;
    for (int i = 0; i < 3; ++i) raw.push_back(NewItemId());
    ASSERT_EQ(std::set<int32_t>(raw.begin(), raw.end()).size(), 3u);
    ASSERT_EQ(std::count(raw.begin(), raw.end(), 0), 0);
    const std::set<int32_t> used = {raw[0], raw[1]};
    SeedRandom(2024);
    EXPECT_EQ(NewFreeItemId([&](int32_t v) { return used.count(v) != 0; }), raw[2]);
}

TEST(Random, FreeItemIdIsReproducibleForASeed)
{
    std::set<int32_t> used;
    auto inUse = [&](int32_t v) { return used.count(v) != 0; };
    SeedRandom(77);
    std::vector<int32_t> first;
    for (int i = 0; i < 200; ++i) {
        first.push_back(NewFreeItemId(inUse));
        used.insert(first.back());
    }
    used.clear();
    SeedRandom(77);
    for (int i = 0; i < 200; ++i) {
        int32_t id = NewFreeItemId(inUse);
        ASSERT_EQ(id, first[size_t(i)]);
        used.insert(id);
    }
}

TEST(Random, FreeItemIdsOfADatabaseAreDistinctAndNonZero)
{
    // Many more items than the birthday bound of 16-bit ids (about 300).
    SeedRandom(5);
    std::set<int32_t> used;
    for (int i = 0; i < 20000; ++i) {
        int32_t id = NewFreeItemId([&](int32_t v) { return used.count(v) != 0; });
        ASSERT_NE(id, 0);
        ASSERT_TRUE(used.insert(id).second) << "duplicate id " << id;
        ASSERT_LE(id, 65535) << "widened although most ids were free";
    }
}

TEST(Random, FreeItemIdWidensWhenTheSixteenBitRangeIsFull)
{
    SeedRandom(11);
    int calls = 0;
    auto sixteenBitFull = [&](int32_t v) {
        ++calls;
        return v >= 0 && v <= 0xFFFF;
    };
    int32_t id = NewFreeItemId(sixteenBitFull);
    EXPECT_GT(id, 0xFFFF);
    EXPECT_LT(calls, 5000);  // bounded, no endless redraw
}

TEST(Random, FreeItemIdFindsTheLastFreeId)
{
    // Every id but one is taken: the search still ends, with that id.
    SeedRandom(3);
    EXPECT_EQ(NewFreeItemId([](int32_t v) { return v != 4242; }), 4242);
    SeedRandom(3);
    EXPECT_EQ(NewFreeItemId([](int32_t v) { return v != 0x12345; }), 0x12345);
}

}  // namespace
