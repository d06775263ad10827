// Reading a whole profile list through a reader that answers as the
// system's profile functions do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/prefs/ProfileList.h"

namespace {

// Copies as much of list (terminators included) as fits; size - 2 when it
// did not fit, like GetPrivateProfileSection.
struct FakeReader {
    std::string list;  // "a\0b\0" without the final terminator
    std::vector<uint32_t> sizes;
    uint32_t operator()(char* buffer, uint32_t size)
    {
        sizes.push_back(size);
        if (list.size() + 1 <= size) {
            std::memcpy(buffer, list.data(), list.size());
            buffer[list.size()] = '\0';
            return (uint32_t)list.size();
        }
        std::memcpy(buffer, list.data(), size - 2);
        buffer[size - 2] = buffer[size - 1] = '\0';
        return size - 2;
    }
};

std::string ListOf(size_t bytes)
{
    std::string list;
    for (int i = 0; list.size() < bytes; ++i) list += "Key" + std::to_string(i) + "=value" + '\0';
    list.resize(bytes);
    list.back() = '\0';
    return list;
}

TEST(ProfileList, ReadsWholeOrFailsNeverCut)
{
    struct Case {
        size_t bytes;
        uint32_t cap;
        int rc;
        std::vector<uint32_t> sizes;
    } cases[] = {
        {0, 1u << 28, 0, {4096}},
        {100, 1u << 28, 0, {4096}},
        {4093, 1u << 28, 0, {4096}},  // the largest list the first buffer is known to hold
        {4094, 1u << 28, 0, {4096, 8192}},
        {20000, 1u << 28, 0, {4096, 8192, 16384, 32768}},
        {20000, 20003, 0, {4096, 8192, 16384, 20003}},  // a cap that is no power of two is still tried
        {20001, 20003, zvini::kProfileListTooLarge, {4096, 8192, 16384, 20003}},
        {20000, 16384, zvini::kProfileListTooLarge, {4096, 8192, 16384}},
        {100, 1000, 0, {1000}},
        {3, 3, zvini::kProfileListTooLarge, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bytes) + " bytes, cap " + std::to_string(c.cap));
        FakeReader reader{ListOf(c.bytes), {}};
        std::string out = "stale";
        EXPECT_EQ(zvini::ReadWholeList(std::ref(reader), c.cap, out), c.rc);
        EXPECT_EQ(out, c.rc == 0 ? reader.list : std::string());
        EXPECT_EQ(reader.sizes, c.sizes);
    }
}

}  // namespace
