// Helpers of the packed item form: the checksum and the view count's text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/items/ItemPacking.h"
#include "core/items/Record.h"
#include "tests/core/packing_support.h"

using namespace packtest;

TEST(PackedItemCrc, PublishedCheckValueOnceTheRegisterIsCleared)
{
    // Bytes equal to the register clear it (the register is XORed into the
    // next two bytes), so from there on it is the CRC-16 with initial value 0
    // ("XMODEM"), whose published check value for "123456789" is 31C3.
    const std::string text = std::string("\x04\xEB", 2) + "123456789";
    EXPECT_EQ(PackedItemCrc(reinterpret_cast<const uint8_t*>(text.data()), text.size()), 0x31C3);
    EXPECT_EQ(PackedItemCrc(nullptr, 0), 0x04EB);
}

TEST(PackedItemCrc, EveryLengthAndStartGivesTheBitwiseCrc)
{
    // The bytes are taken eight at a time and the rest one by one: every
    // remainder and every alignment, and a long run.
    std::vector<uint8_t> data(70000);
    uint32_t x = 12345;
    for (uint8_t& b : data) {
        x = x * 1103515245u + 12345u;
        b = uint8_t(x >> 23);
    }
    for (size_t start = 0; start < 8; ++start)
        for (size_t length = 0; length <= 40; ++length)
            ASSERT_EQ(PackedItemCrc(data.data() + start, length), BitwiseCrc(data.data() + start, length))
                << "start " << start << " length " << length;
    EXPECT_EQ(PackedItemCrc(data.data() + 3, data.size() - 3), BitwiseCrc(data.data() + 3, data.size() - 3));
}

TEST(PackedForm, ViewCountIsWrittenAsSignedDecimalText)
{
    struct Case {
        int32_t value;
        const char* text;
    } cases[] = {{0, "0"},
                 {7, "7"},
                 {42, "42"},
                 {100, "100"},
                 {-1, "-1"},
                 {-1234, "-1234"},
                 {2147483647, "2147483647"},
                 {INT32_MIN, "-2147483648"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CRecord r;
        r.SetViewCount(c.value);
        ASSERT_EQ(0, r.Pack(nullptr));
        // An empty record: header, ten empty fields and the notes' zero, then
        // the view count's text and its zero.
        const std::vector<uint8_t>& blob = r.GetPackedBlob();
        const std::string expected = std::string(c.text) + '\0';
        ASSERT_EQ(blob.size(), 22u + 11 + expected.size() + 2 + 7);
        EXPECT_EQ(std::string(blob.begin() + 33, blob.begin() + 33 + expected.size()), expected);
    }
}
