// The basic password rule and the installer's password requirements.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/logon/PasswordRules.h"

namespace {

TEST(PasswordRulesTest, BasicRule)
{
    const struct {
        const char* password;
        bool acceptable;
    } cases[] = {
        {"", true},
        {"a", false},
        {"aa", false},
        {"aaaaaaaa", false},
        {"ab", true},
        {"aab", true},
        {"11111111111111111111111111111112", true},
        {"  ", false},
        {"\xe9\xe9", false},
        {"\xe9\xe8", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsAcceptablePassword(c.password), c.acceptable) << c.password;
}

// A block exactly as large as the field, on the heap, so reading past it is
// caught by the address sanitizer.
std::unique_ptr<BYTE[]> MakeBlock(int minLen, int maxLen, int letters, int digits, int others, int upper,
                                  const char* forbidden, size_t forbiddenBytes)
{
    std::unique_ptr<BYTE[]> block(new BYTE[kPasswordRequirementsSize]);
    std::memset(block.get(), 0, kPasswordRequirementsSize);
    block[0] = (BYTE)minLen;
    block[1] = (BYTE)maxLen;
    block[2] = (BYTE)letters;
    block[3] = (BYTE)digits;
    block[4] = (BYTE)others;
    block[5] = (BYTE)upper;
    std::memcpy(block.get() + 16, forbidden, forbiddenBytes);
    return block;
}

TEST(PasswordRulesTest, Requirements)
{
    auto block = MakeBlock(8, 16, 2, 1, 0, 1, "acme", 5);
    const struct {
        const char* password;
        bool meets;
    } cases[] = {
        {"Zebra123", true},
        {"Zebra1acme", false},         // holds the forbidden text
        {"zebra123", false},           // no upper-case letter
        {"Zebra1234567890ab", false},  // 17 characters
        {"Zebra12", false},            // 7 characters
        {"Zebra12345678901", true},    // 16 characters
        {"Z1234567", false},           // one letter
        {"Zebrazebra", false},         // no digit
        {"ZebraACME1", true},          // the forbidden test is case-sensitive
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(MeetsPasswordRequirements(block.get(), c.password), c.meets) << c.password;
}

TEST(PasswordRulesTest, OthersCountEveryByteThatIsNoAsciiLetterOrDigit)
{
    auto block = MakeBlock(0, 255, 0, 0, 3, 0, "", 0);
    EXPECT_TRUE(MeetsPasswordRequirements(block.get(), "a \xe9!"));
    EXPECT_FALSE(MeetsPasswordRequirements(block.get(), "a\xe9!"));
    EXPECT_TRUE(MeetsPasswordRequirements(block.get(), "\x80\xff\x01"));
}

TEST(PasswordRulesTest, CountsAreUnsigned)
{
    // 255 is an ordinary minimum: no password of this world has 255 digits.
    auto block = MakeBlock(0, 255, 0, 255, 0, 0, "", 0);
    EXPECT_FALSE(MeetsPasswordRequirements(block.get(), "123"));
    EXPECT_TRUE(MeetsPasswordRequirements(block.get(), CString(std::string(255, '7'))));
    // A maximum of 0 allows only the empty password.
    auto none = MakeBlock(0, 0, 0, 0, 0, 0, "", 0);
    EXPECT_TRUE(MeetsPasswordRequirements(none.get(), ""));
    EXPECT_FALSE(MeetsPasswordRequirements(none.get(), "ab"));
}

TEST(PasswordRulesTest, ForbiddenTextIsReadWithinItsFieldOnly)
{
    // Sixteen bytes and no terminator: the whole field is the text, and
    // nothing after the block is read.
    auto block = MakeBlock(0, 255, 0, 0, 0, 0, "ABCDEFGHIJKLMNOP", 16);
    EXPECT_FALSE(MeetsPasswordRequirements(block.get(), "xxABCDEFGHIJKLMNOPxx"));
    EXPECT_TRUE(MeetsPasswordRequirements(block.get(), "ABCDEFGHIJKLMNO"));
    // An empty text forbids nothing.
    auto empty = MakeBlock(0, 255, 0, 0, 0, 0, "", 0);
    EXPECT_TRUE(MeetsPasswordRequirements(empty.get(), "anything"));
    // Bytes after a terminator within the field are not part of the text.
    auto cut = MakeBlock(0, 255, 0, 0, 0, 0, "ab\0cd", 5);
    EXPECT_FALSE(MeetsPasswordRequirements(cut.get(), "xaby"));
    EXPECT_TRUE(MeetsPasswordRequirements(cut.get(), "cdcd"));
}

}  // namespace
