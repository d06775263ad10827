#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/os/ProcessSeams.h"
#include "core/users/Platform.h"
#include "core/users/UserItem.h"
#include "tests/core/UserRecordTestSupport.h"

namespace {

const auto& Record = zvtest::MakeUserRecord;

TEST(UserItem, StartsFromItsRecord)
{
    CUserItem user(Record("Work phone", "Work", 5));
    EXPECT_EQ(user.GetDisplayName(), "Work phone");
    EXPECT_EQ(user.GetKeyName(), "Work");
    EXPECT_EQ(user.GetId(), 0);
    EXPECT_FALSE(user.IsStandalone());
    EXPECT_EQ(user.GetLegacyKey(), "");
    UserRecord expected = Record("Work phone", "Work", 5);
    EXPECT_EQ(0, std::memcmp(&user.GetRecord(), &expected, sizeof(expected)));
}

TEST(UserItem, SectionNames)
{
    struct Case {
        const char* display;
        const char* key;
        int32_t type;
        const char* section;
    };
    const Case cases[] = {
        {"Standalone", "_Standalone_", 3, "User-Standalone-_Standalone_-Standalone"},
        {"Work phone", "Work", 5, "User-iPhone-Work-Work phone"},
        {"x?y", "a:b ", 3, "User-Standalone-a_b-x_y"},
        {"iPhone", "iPhone", 3, "User-Standalone-iPhone-iPhone"},
        {"d", "k", -1, "User-Standalone-k-d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        CUserItem user(Record(c.display, c.key, c.type));
        EXPECT_EQ(user.GetSectionName(), c.section);
    }
}

TEST(UserItem, SectionNameIsCachedUntilTheNamesChange)
{
    CUserItem user(Record("x?y", "a:b ", 3));
    EXPECT_EQ(user.GetSectionName(), "User-Standalone-a_b-x_y");
    ASSERT_TRUE(user.SetNames("Home", "Home"));
    EXPECT_EQ(user.GetDisplayName(), "Home");
    EXPECT_EQ(user.GetSectionName(), "User-Standalone-Home-Home");
}

TEST(UserItem, NamesThatDoNotFitOrCannotNameAFolderAreRefused)
{
    CUserItem user(Record("Home", "Home", 3));
    const std::string section = user.GetSectionName().GetString();
    EXPECT_FALSE(user.SetNames(CString(std::string(200, 'd')), "k"));
    EXPECT_FALSE(user.SetNames("d", CString(std::string(200, 'k'))));
    for (const char* key : {"", ".", "..", " .. ", "CON", "nul.txt"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(user.SetNames("d", key));
    }
    EXPECT_EQ(user.GetDisplayName(), "Home");
    EXPECT_EQ(user.GetKeyName(), "Home");
    EXPECT_EQ(user.GetSectionName(), section.c_str());
    EXPECT_TRUE(user.SetNames(CString(std::string(199, 'd')), CString(std::string(199, 'k'))));
}

TEST(UserItem, LegacyKeys)
{
    CUserItem user(Record("Work phone", "Work", 5));
    EXPECT_FALSE(user.SetLegacyKey(nullptr));
    EXPECT_EQ(user.GetLegacyKey(), "");
    ASSERT_TRUE(user.SetLegacyKey("software\\corvantide\\zorvikan desktop\\iPhone - "));
    EXPECT_EQ(user.GetLegacyKey(), "software\\corvantide\\zorvikan desktop\\iPhone - Work");
    EXPECT_EQ(user.GetLegacyProfileSection(), "iPhone - Work");
    // A key longer than a registry key name may be is refused.
    EXPECT_FALSE(user.SetLegacyKey(CString(std::string(252, 'p'))));
    EXPECT_EQ(user.GetLegacyKey(), "software\\corvantide\\zorvikan desktop\\iPhone - Work");
    EXPECT_TRUE(user.SetLegacyKey(CString(std::string(251, 'p'))));
}

// Platform exports for the look-ups that ask the platform manager.
int g_rootCalls = 0;
void FakeRootDir(const char* product, const void* record, const char* safeKey, char* buffer)
{
    ++g_rootCalls;
    std::string text = std::string("R:\\") + product + "\\" + safeKey;
    std::strcpy(buffer, text.c_str());
    (void)record;
}
int FakeIsActive(const char* display, const char* key, int value)
{
    return std::strcmp(key, "Home") == 0 && value == 0 && display != nullptr;
}
void* FakeResolver(PlatformLibrary library, const char* name)
{
    if (library != PlatformLibrary::Manager) return nullptr;
    if (std::strcmp(name, "GetPlatformRootDir") == 0) return reinterpret_cast<void*>(&FakeRootDir);
    if (std::strcmp(name, "IsPlatformUserActive") == 0) return reinterpret_cast<void*>(&FakeIsActive);
    return nullptr;
}

class UserPlatform : public ::testing::Test {
protected:
    void SetUp() override { m_previous = SetPlatformExportResolver(&FakeResolver); }
    void TearDown() override { SetPlatformExportResolver(m_previous); }
    PlatformExportResolver m_previous = nullptr;
};

TEST_F(UserPlatform, PlatformRootDirAsksThePlatformOnlyForPlatformUsers)
{
    CUserItem handheld(Record("Work phone", "Wo/rk  ", 5));
    g_rootCalls = 0;
    EXPECT_EQ(handheld.GetPlatformRootDir("Zorvikan"), "R:\\Zorvikan\\Wo_rk");
    EXPECT_EQ(g_rootCalls, 1);
    CUserItem standalone(Record("Standalone", "_Standalone_", 3));
    standalone.SetStandalone(true);
    EXPECT_EQ(standalone.GetPlatformRootDir("Zorvikan"), "");
    EXPECT_EQ(g_rootCalls, 1);
    SetPlatformExportResolver(nullptr);
    EXPECT_EQ(handheld.GetPlatformRootDir("Zorvikan"), "");
}

TEST_F(UserPlatform, FindActiveUser)
{
    CUserList users;
    EXPECT_EQ(users.FindActiveUser(), nullptr);
    users.AddTail(new CUserItem(Record("Work phone", "Work", 5)));
    CUserItem* home = new CUserItem(Record("Home", "Home", 5));
    users.AddTail(home);
    EXPECT_EQ(users.FindActiveUser(), home);
    SetPlatformExportResolver(nullptr);
    EXPECT_EQ(users.FindActiveUser(), nullptr);
}

TEST(UserList, FindByKeyNameOrFirst)
{
    CUserList users;
    EXPECT_EQ(users.FindByKeyNameOrFirst("x"), nullptr);
    CUserItem* work = new CUserItem(Record("Work phone", "Work", 5));
    CUserItem* standalone = new CUserItem(Record("Standalone", "_Standalone_", 3));
    users.AddTail(work);
    users.AddTail(standalone);
    EXPECT_EQ(users.FindByKeyNameOrFirst("_STANDALONE_"), standalone);
    EXPECT_EQ(users.FindByKeyNameOrFirst("nobody"), work);
    EXPECT_EQ(users.FindByKeyNameOrFirst(""), work);
}

TEST(UserList, FindByKeyNameAndUpdate)
{
    CUserList users;
    CUserItem* work = new CUserItem(Record("Work phone", "Work", 5));
    users.AddTail(work);
    EXPECT_EQ(work->GetSectionName(), "User-iPhone-Work-Work phone");
    EXPECT_EQ(users.FindByKeyNameAndUpdate("Office", "work"), nullptr);  // case counts
    EXPECT_EQ(users.FindByKeyNameAndUpdate("Office", "Nobody"), nullptr);
    EXPECT_EQ(work->GetDisplayName(), "Work phone");
    EXPECT_EQ(users.FindByKeyNameAndUpdate("Office", "Work"), work);
    EXPECT_EQ(work->GetDisplayName(), "Office");
    EXPECT_EQ(work->GetSectionName(), "User-iPhone-Work-Office");
}

TEST(UserList, FindById)
{
    CUserList users;
    CUserItem* a = new CUserItem(Record("A", "A", 3));
    CUserItem* b = new CUserItem(Record("B", "B", 3));
    a->SetId(40000);
    b->SetId(40001);
    users.AddTail(a);
    users.AddTail(b);
    EXPECT_EQ(users.FindById(40001), b);
    EXPECT_EQ(users.FindById(40002), nullptr);
    EXPECT_EQ(users.GetCount(), 2);
    users.DeleteAll();
    EXPECT_EQ(users.GetCount(), 0);
}

}  // namespace
