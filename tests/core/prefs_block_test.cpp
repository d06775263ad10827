#include <gtest/gtest.h>

#include <cstring>

#include "core/prefs/AppPrefsBlock.h"

namespace {

struct BlockCase {
    const char* name;
    std::vector<unsigned char> bytes;
    const char* text;
};

// Hand-built: digits of each byte, then the byte sum modulo 256.
const BlockCase kBlocks[] = {
    {"SortInfoDefault", {0x03, 0x00, 0x01, 0x00}, "0300010004"},
    {"ExportImportHintDefault", {0x01, 0x00, 0x01, 0x00}, "0100010002"},
    {"RowColorWhite", {0xFF, 0xFF, 0xFF, 0x00}, "FFFFFF00FD"},
    {"AllKey", {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}, "000000000000FFFFFE"},
    {"ChecksumWraps", {0x80, 0x80, 0x01}, "80800101"},
    {"Empty", {}, "00"},
};

TEST(PrefsBlock, EncodesFixedBlocks)
{
    for (const BlockCase& c : kBlocks) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(EncodePrefsBlock(c.bytes.data(), c.bytes.size()).GetString(), c.text);
    }
}

TEST(PrefsBlock, DecodesFixedBlocksInEitherCase)
{
    for (const BlockCase& c : kBlocks) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> out(c.bytes.size() + 1, 0xAA);
        ASSERT_TRUE(DecodePrefsBlock(c.text, out.data(), c.bytes.size()));
        EXPECT_EQ(std::vector<unsigned char>(out.begin(), out.end() - 1), c.bytes);
        EXPECT_EQ(out.back(), 0xAA) << "wrote past the block";
        CString lower(c.text);
        lower.MakeLower();
        EXPECT_TRUE(DecodePrefsBlock(lower, out.data(), c.bytes.size()));
    }
}

TEST(PrefsBlock, DamagedBlocksReadAsAbsentAndLeaveTheBufferAlone)
{
    struct Damaged {
        const char* name;
        const char* text;
        size_t size;
    };
    const Damaged cases[] = {
        {"OneDigitChanged", "0300010104", 4},
        {"ChecksumChanged", "0300010005", 4},
        {"TooShort", "03000100", 4},
        {"TooLong", "030001000400", 4},
        {"SizeExpectedLarger", "0300010004", 8},
        {"NotHex", "03000G0004", 4},
        {"BlankInside", "0300 10004", 4},
        {"Empty", "", 4},
        {"Null", nullptr, 4},
    };
    for (const Damaged& d : cases) {
        SCOPED_TRACE(d.name);
        unsigned char out[8];
        std::memset(out, 0x5C, sizeof(out));
        EXPECT_FALSE(DecodePrefsBlock(d.text, out, d.size));
        for (unsigned char b : out) EXPECT_EQ(b, 0x5C);
    }
}

TEST(PrefsBlock, RoundTripsEveryByteValue)
{
    unsigned char bytes[256];
    for (int i = 0; i < 256; ++i) bytes[i] = (unsigned char)i;
    CString text = EncodePrefsBlock(bytes, sizeof(bytes));
    EXPECT_EQ(text.GetLength(), 514);
    EXPECT_EQ(text.Right(2), "80");  // sum 0..255 = 32640 = 0x7F80
    unsigned char out[256] = {};
    ASSERT_TRUE(DecodePrefsBlock(text, out, sizeof(out)));
    EXPECT_EQ(0, std::memcmp(out, bytes, sizeof(bytes)));
}

}  // namespace
