// The change counts both deliverables read: the byte layout of the named
// 8-byte section (database count at 0, user count at 4, little-endian) and
// one count seen through every object of the name.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "core/link/LinkChangeCounts.h"

namespace {

std::string UniqueName()
{
    static int counter = 0;
    return "ZvTest-ChangeCounts-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

// The section as another program maps it.
struct RawSection {
    HANDLE mapping;
    unsigned char* bytes;
    explicit RawSection(const std::string& name)
    {
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, name.c_str());
        bytes = mapping ? static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 8)) : nullptr;
    }
    ~RawSection()
    {
        if (bytes) UnmapViewOfFile(bytes);
        if (mapping) CloseHandle(mapping);
    }
};

TEST(LinkChangeCounts, LayoutIsDatabaseThenUserLittleEndian)
{
    const std::string name = UniqueName();
    CLinkChangeCounts counts(name.c_str());
    ASSERT_TRUE(counts.IsValid());
    RawSection raw(name);
    ASSERT_NE(raw.bytes, nullptr);
    const unsigned char zero[8] = {};
    EXPECT_EQ(std::memcmp(raw.bytes, zero, 8), 0) << "a new section starts at 0";

    EXPECT_EQ(counts.Increment(CLinkChangeCounts::kDatabase), 1u);
    EXPECT_EQ(counts.Increment(CLinkChangeCounts::kUser), 1u);
    EXPECT_EQ(counts.Increment(CLinkChangeCounts::kUser), 2u);
    const unsigned char expected[8] = {1, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(std::memcmp(raw.bytes, expected, 8), 0);

    // Another object of the name reads the same counts; 0xFFFFFFFF wraps to 0.
    const unsigned char high[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    std::memcpy(raw.bytes, high, 4);
    CLinkChangeCounts other(name.c_str());
    EXPECT_EQ(other.Get(CLinkChangeCounts::kDatabase), 0xFFFFFFFFu);
    EXPECT_EQ(other.Get(CLinkChangeCounts::kUser), 2u);
    EXPECT_EQ(counts.Increment(CLinkChangeCounts::kDatabase), 0u);
    EXPECT_EQ(other.Get(CLinkChangeCounts::kDatabase), 0u);
}

TEST(LinkChangeCounts, WithoutSectionNothingHappens)
{
    // A name that cannot be a section name: the object holds nothing.
    CLinkChangeCounts counts("ZvTest\\No\\Such\\Namespace\\Counts");
    EXPECT_FALSE(counts.IsValid());
    EXPECT_EQ(counts.Increment(CLinkChangeCounts::kDatabase), 0u);
    EXPECT_EQ(counts.Get(CLinkChangeCounts::kUser), 0u);
}

}  // namespace
