#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/users/UserRecord.h"

namespace {

TEST(UserRecord, HasTheFixedLayout)
{
    UserRecord record = MakeEmptyUserRecord();
    ASSERT_TRUE(SetUserRecordText(record.displayName, sizeof(record.displayName), "Work phone"));
    ASSERT_TRUE(SetUserRecordText(record.keyName, sizeof(record.keyName), "Work"));
    record.platformType = 5;
    ASSERT_TRUE(SetUserRecordText(record.platformName, sizeof(record.platformName), "iPhone"));
    record.platformValue = 0x01020304;

    // Hand-built image of the same record.
    unsigned char expected[460] = {};
    std::memcpy(expected, "Work phone", 10);
    std::memcpy(expected + 200, "Work", 4);
    expected[400] = 5;
    std::memcpy(expected + 404, "iPhone", 6);
    expected[444] = 0x04;
    expected[445] = 0x03;
    expected[446] = 0x02;
    expected[447] = 0x01;
    ASSERT_EQ(sizeof(record), sizeof(expected));
    EXPECT_EQ(0, std::memcmp(&record, expected, sizeof(expected)));
}

TEST(UserRecord, TextsThatDoNotFitAreRefused)
{
    UserRecord record = MakeEmptyUserRecord();
    ASSERT_TRUE(SetUserRecordText(record.keyName, sizeof(record.keyName), "kept"));
    std::string longest(199, 'k');
    std::string tooLong(200, 'k');
    EXPECT_FALSE(SetUserRecordText(record.keyName, sizeof(record.keyName), tooLong.c_str()));
    EXPECT_EQ(GetUserRecordText(record.keyName, sizeof(record.keyName)), "kept");
    EXPECT_TRUE(SetUserRecordText(record.keyName, sizeof(record.keyName), longest.c_str()));
    EXPECT_EQ(GetUserRecordText(record.keyName, sizeof(record.keyName)).GetLength(), 199);
    EXPECT_FALSE(SetUserRecordText(record.platformName, sizeof(record.platformName), std::string(40, 'p').c_str()));
    EXPECT_TRUE(SetUserRecordText(record.platformName, sizeof(record.platformName), std::string(39, 'p').c_str()));
    // The neighbouring fields are untouched.
    EXPECT_EQ(record.platformType, 0);
    EXPECT_EQ(record.platformValue, 0);
}

TEST(UserRecord, UnterminatedFieldsAreReadWithinTheField)
{
    UserRecord record = MakeEmptyUserRecord();
    std::memset(record.displayName, 'd', sizeof(record.displayName));
    std::memset(record.keyName, 'k', sizeof(record.keyName));
    EXPECT_EQ(GetUserRecordText(record.displayName, sizeof(record.displayName)), CString(std::string(200, 'd')));
}

TEST(UserRecord, PlatformWords)
{
    EXPECT_STREQ(GetPlatformTypeWord(5), "iPhone");
    EXPECT_STREQ(GetPlatformTypeWord(3), "Standalone");
    EXPECT_STREQ(GetPlatformTypeWord(-1), "Standalone");
    EXPECT_STREQ(GetPlatformTypeWord(0), "Standalone");
}

TEST(UserRecord, SafeUserNames)
{
    EXPECT_EQ(MakeSafeUserName("a/b  "), "a_b");
    EXPECT_EQ(MakeSafeUserName("a:b "), "a_b");
    EXPECT_EQ(MakeSafeUserName("x?y"), "x_y");
    EXPECT_EQ(MakeSafeUserName("\\/:*?\"<>|"), "_________");
}

TEST(UserRecord, KeyNamesThatCannotNameAUserFolder)
{
    struct KeyCase {
        const char* key;
        bool usable;
    };
    const KeyCase cases[] = {
        {"_Standalone_", true}, {"Work", true},  {"a/b", true},   {"..x", true},   {"x..", true},   {"COM10", true},
        {"CONSOLE", true},      {"a b", true},   {"", false},     {" ", false},    {".", false},    {"..", false},
        {"...", false},         {". .", false},  {".. ", false},  {"CON", false},  {"con", false},  {"NUL.txt", false},
        {"Aux", false},         {"PRN ", false}, {"COM1", false}, {"lpt9", false}, {"nul.", false}, {"a\tb", false},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string("key [") + c.key + "]");
        EXPECT_EQ(IsUsableKeyName(c.key), c.usable);
    }
}

}  // namespace
