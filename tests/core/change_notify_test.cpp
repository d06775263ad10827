// Change notices: who is asked, what is posted, and the notice list, with
// the platform and the listener replaced by fakes.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "core/os/ChangeNotify.h"
#include "core/os/ProcessSeams.h"
#include "core/users/Platform.h"
#include "core/users/UserItem.h"
#include "core/users/UserRecord.h"

namespace {

std::vector<std::pair<uint32_t, int32_t>> g_posted;
std::vector<std::string> g_asked;
bool g_active = true;

void RecordPost(uint32_t wParam, int32_t lParam) { g_posted.push_back({wParam, lParam}); }

int FakeIsActive(const char* display, const char* key, int value)
{
    g_asked.push_back(std::string(display) + "|" + key + "|" + std::to_string(value));
    return g_active;
}

void* WithIsActive(PlatformLibrary library, const char* name)
{
    if (library == PlatformLibrary::Manager && std::strcmp(name, "IsPlatformUserActive") == 0)
        return reinterpret_cast<void*>(&FakeIsActive);
    return nullptr;
}

void* NoExports(PlatformLibrary, const char*) { return nullptr; }

CUserItem MakeUser()
{
    UserRecord record = MakeEmptyUserRecord();
    SetUserRecordText(record.displayName, sizeof(record.displayName), "Home phone");
    SetUserRecordText(record.keyName, sizeof(record.keyName), "home-key");
    record.platformValue = 77;
    return CUserItem(record);
}

class ChangeNotify : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_posted.clear();
        g_asked.clear();
        g_active = true;
        m_resolver = SetPlatformExportResolver(&WithIsActive);
        m_poster = SetDatabaseNotifyPoster(&RecordPost);
    }
    void TearDown() override
    {
        SetPlatformExportResolver(m_resolver);
        SetDatabaseNotifyPoster(m_poster);
    }
    PlatformExportResolver m_resolver = nullptr;
    DatabaseNotifyPoster m_poster = nullptr;
};

TEST_F(ChangeNotify, WParamLayout)
{
    struct Case {
        int operation, itemClass;
        uint32_t wParam;
    } cases[] = {
        {NOTIFY_DELETED, NOTIFY_ITEM_TYPE, 0x00010004u},
        {NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 0x00000002u},
        {NOTIFY_MODIFIED, NOTIFY_ITEM_CATEGORY, 0x00020003u},
        {NOTIFY_RELOAD, NOTIFY_ITEM_RECORD, 0x00000001u},
        {NOTIFY_PING, NOTIFY_ITEM_RECORD, 0x00000006u},
        {0x12345, 1, 0x00012345u & 0x0001FFFFu},  // the operation keeps its low word only
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeDatabaseNotifyWParam(c.operation, c.itemClass), c.wParam) << c.operation << "/" << c.itemClass;
}

TEST_F(ChangeNotify, ActiveUserGetsTheNotice)
{
    CUserItem user = MakeUser();
    PostDatabaseNotify(&user, NOTIFY_DELETED, NOTIFY_ITEM_TYPE, 0x1234);
    ASSERT_EQ(g_posted.size(), 1u);
    EXPECT_EQ(g_posted[0].first, 0x00010004u);
    EXPECT_EQ(g_posted[0].second, 0x1234);
    // The platform is asked with the user's display name, key name and
    // platform value.
    ASSERT_EQ(g_asked.size(), 1u);
    EXPECT_EQ(g_asked[0], "Home phone|home-key|77");
}

TEST_F(ChangeNotify, NothingForAnInactiveUserMissingPlatformOrNoUser)
{
    CUserItem user = MakeUser();
    g_active = false;
    PostDatabaseNotify(&user, NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 5);
    EXPECT_EQ(g_asked.size(), 1u);
    g_active = true;
    SetPlatformExportResolver(&NoExports);
    PostDatabaseNotify(&user, NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 5);
    SetPlatformExportResolver(nullptr);
    PostDatabaseNotify(&user, NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 5);
    SetPlatformExportResolver(&WithIsActive);
    PostDatabaseNotify(nullptr, NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 5);
    EXPECT_TRUE(g_posted.empty());
}

TEST_F(ChangeNotify, ListPostsInOrderAndKeepsItsNotices)
{
    CUserItem user = MakeUser();
    CNotifyProviderList empty;
    empty.PostAll(&user);
    EXPECT_TRUE(g_posted.empty());
    EXPECT_TRUE(g_asked.empty());

    CNotifyProviderList list;
    list.AddNotice(NOTIFY_ADDED, NOTIFY_ITEM_TYPE, 10);
    list.AddNotice(NOTIFY_ADDED, NOTIFY_ITEM_CATEGORY, 11);
    list.AddNotice(NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 12);
    list.PostAll(&user);
    list.PostAll(&user);
    ASSERT_EQ(g_posted.size(), 6u);
    const std::pair<uint32_t, int32_t> expected[] = {{0x00010002u, 10}, {0x00020002u, 11}, {0x00000002u, 12}};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(g_posted[i], expected[i % 3]) << i;
    EXPECT_EQ(list.GetCount(), 3);
    // The list owns its notices (the host build's leak check sees them
    // freed with the list).
    EXPECT_TRUE(list.GetHead()->IsKindOf(RUNTIME_CLASS(CNotifyObject)));
}

TEST_F(ChangeNotify, ConfigurationsPosterIsRestored)
{
    DatabaseNotifyPoster mine = SetDatabaseNotifyPoster(nullptr);
    EXPECT_EQ(mine, &RecordPost);
    EXPECT_EQ(SetDatabaseNotifyPoster(&RecordPost), &PostToListenerWindow);
}

}  // namespace
