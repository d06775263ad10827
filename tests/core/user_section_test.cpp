#include <gtest/gtest.h>

#include "core/users/UserSectionName.h"

namespace {

struct SectionCase {
    const char* section;
    const char* displayName;
    bool isUser;
    int32_t type;
    const char* keyName;
};

const SectionCase kSections[] = {
    // The default user.
    {"User-Standalone-_Standalone_-Standalone", "Standalone", true, 3, "_Standalone_"},
    // A handheld user.
    {"User-iPhone-Work-Work phone", "Work phone", true, 5, "Work"},
    // A stand-alone user who is called iPhone stays stand-alone.
    {"User-Standalone-iPhone-iPhone", "iPhone", true, 3, "iPhone"},
    {"User-Standalone-_Standalone_iPhone-Standalone-iPhone", "Standalone-iPhone", true, 3, "_Standalone_iPhone"},
    // Names holding the words of the section layout are kept as they are.
    {"User-iPhone-User-Standalone-x-User-Standalone-y", "User-Standalone-y", true, 5, "User-Standalone-x"},
    // Without a display name the empty display part is taken off.
    {"User-Standalone-Home-", "", true, 3, "Home"},
    // A display name that does not match leaves the whole rest as the key.
    {"User-iPhone-Work-Work phone", "Other", true, 5, "Work-Work phone"},
    // The display part is matched in its file-name-safe form.
    {"User-Standalone-a_b-x_y", "x?y", true, 3, "a_b"},
    // Platform words are matched without regard to case, as section names are.
    {"user-STANDALONE-k-d", "d", true, 3, "k"},
    // Not user sections.
    {"Preferences iPhone", "", false, -1, ""},
    {"Preferences", "", false, -1, ""},
    {"UserX", "", false, -1, ""},
    {"User-Other-x-y", "y", false, -1, ""},
    {"User-iPhoneX-y", "y", false, -1, ""},
    {"Xuser-iPhone-a-b", "b", false, -1, ""},
    {"User-", "", false, -1, ""},
    {"", "", false, -1, ""},
};

TEST(UserSectionName, ParsesTheTableOfSectionNames)
{
    for (const SectionCase& c : kSections) {
        SCOPED_TRACE(c.section);
        int32_t type = 99;
        CString key = "unchanged";
        EXPECT_EQ(ParseUserSectionName(c.section, c.displayName, type, key), c.isUser);
        EXPECT_EQ(GetPlatformTypeOfSection(c.section), c.type);
        if (c.isUser) {
            EXPECT_EQ(type, c.type);
            EXPECT_STREQ(key.GetString(), c.keyName);
        } else {
            EXPECT_EQ(type, 99);
            EXPECT_EQ(key, "unchanged");
        }
    }
}

}  // namespace
