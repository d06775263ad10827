// Names of stand-alone users and their uniqueness among all users.
#include <gtest/gtest.h>

#include <memory>

#include "app/users/StandaloneUsers.h"
#include "core/users/UserItem.h"
#include "tests/core/UserRecordTestSupport.h"

namespace {

TEST(StandaloneUsers, NamesFollowThePrefixes)
{
    EXPECT_STREQ(StandaloneDisplayName("Bob").GetString(), "Standalone-Bob");
    EXPECT_STREQ(StandaloneKeyName("Bob").GetString(), "_Standalone_Bob");
    EXPECT_STREQ(StandaloneShownName("Standalone-Bob").GetString(), "Bob");
    EXPECT_STREQ(StandaloneShownName("Standalone-Standalone-X").GetString(), "X");
    EXPECT_STREQ(TrimUserName("  Bob \t").GetString(), "Bob");
    EXPECT_TRUE(TrimUserName("   ").IsEmpty());
}

TEST(StandaloneUsers, MadeUserIsStandaloneWithItsLegacyKey)
{
    std::unique_ptr<CUserItem> user(MakeStandaloneUser("Bob"));
    ASSERT_NE(user, nullptr);
    EXPECT_TRUE(user->IsStandalone());
    EXPECT_EQ(user->GetRecord().platformType, kPlatformTypeStandalone);
    EXPECT_STREQ(user->GetDisplayName().GetString(), "Standalone-Bob");
    EXPECT_STREQ(user->GetKeyName().GetString(), "_Standalone_Bob");
    EXPECT_STREQ(user->GetLegacyKey().GetString(), "software\\corvantide\\zorvikan desktop\\ - _Standalone_Bob");
}

TEST(StandaloneUsers, NameTooLongForTheRecordIsRefused) { EXPECT_EQ(MakeStandaloneUser(CString('x', 195)), nullptr); }

TEST(StandaloneUsers, TakenNamesAreFoundAmongAllUsersWithoutRegardToCase)
{
    CUserList users;
    auto* bob = new CUserItem(zvtest::MakeUserRecord("Standalone-Bob", "_Standalone_Bob", 3));
    auto* phone = new CUserItem(zvtest::MakeUserRecord("Standalone-Phone", "phone", 5));
    auto* keyOnly = new CUserItem(zvtest::MakeUserRecord("Someone else", "_Standalone_Zed", 3));
    users.AddTail(bob);
    users.AddTail(phone);
    users.AddTail(keyOnly);
    struct Case {
        const char* name;
        const CUserItem* except;
        bool taken;
    } cases[] = {
        {"Bob", nullptr, true},   {"bob", nullptr, true}, {"BOB", bob, false},
        {"Phone", nullptr, true}, {"zed", nullptr, true}, {"Zed", keyOnly, false},
        {"Carl", nullptr, false}, {"Bo", nullptr, false}, {"Bobby", nullptr, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsStandaloneNameTaken(users, c.name, c.except), c.taken) << c.name;
}

}  // namespace
