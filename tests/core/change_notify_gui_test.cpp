// Change notices reach a listener window titled "ZorvikanListenerWindow"
// only while the stand-in platform manager reports the user active.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "core/os/ChangeNotify.h"
#include "core/users/Platform.h"
#include "core/users/UserItem.h"
#include "core/users/UserRecord.h"

namespace {

const char kStandinDir[] = ZV_STANDIN_DIR;

struct Received {
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> g_received;
UINT g_notifyMessage = 0;

LRESULT CALLBACK ListenerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_notifyMessage && g_notifyMessage != 0) {
        g_received.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

CUserItem MakeUser(const char* key)
{
    UserRecord record = MakeEmptyUserRecord();
    SetUserRecordText(record.displayName, sizeof(record.displayName), "Display");
    SetUserRecordText(record.keyName, sizeof(record.keyName), key);
    return CUserItem(record);
}

class Listener : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_received.clear();
        // The number any module registering the name gets.
        g_notifyMessage = RegisterWindowMessageA("WM_Zorvikan10_DatabaseNotify");
        ASSERT_NE(g_notifyMessage, 0u);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ListenerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZvTestListener";
        RegisterClassA(&wc);
        SetEnvironmentVariableA("ZV_STANDIN", "active=home-key");
        ASSERT_EQ(LoadPlatformLibrariesFrom(kStandinDir, 1, "Zorvikan"), 0);
    }
    void TearDown() override
    {
        if (window) DestroyWindow(window);
        ReleasePlatformLibraries();
        SetEnvironmentVariableA("ZV_STANDIN", nullptr);
    }
    void OpenListener()
    {
        window = CreateWindowExA(0, "ZvTestListener", "ZorvikanListenerWindow", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    HWND window = nullptr;
};

TEST_F(Listener, ActiveUsersNoticeArrives)
{
    OpenListener();
    CUserItem user = MakeUser("home-key");
    PostDatabaseNotify(&user, NOTIFY_DELETED, NOTIFY_ITEM_TYPE, 0x1234);
    Pump();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].wParam, static_cast<WPARAM>(0x00010004));
    EXPECT_EQ(g_received[0].lParam, static_cast<LPARAM>(0x1234));
}

TEST_F(Listener, ListPostsEveryNoticeInOrder)
{
    OpenListener();
    CUserItem user = MakeUser("home-key");
    CNotifyProviderList list;
    list.AddNotice(NOTIFY_ADDED, NOTIFY_ITEM_CATEGORY, 7);
    list.AddNotice(NOTIFY_MODIFIED, NOTIFY_ITEM_RECORD, 8);
    list.PostAll(&user);
    Pump();
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[0].wParam, static_cast<WPARAM>(0x00020002));
    EXPECT_EQ(g_received[0].lParam, 7);
    EXPECT_EQ(g_received[1].wParam, static_cast<WPARAM>(0x00000003));
    EXPECT_EQ(g_received[1].lParam, 8);
}

TEST_F(Listener, InactiveUserSendsNothing)
{
    OpenListener();
    CUserItem other = MakeUser("someone-else");
    PostDatabaseNotify(&other, NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 1);
    SetEnvironmentVariableA("ZV_STANDIN", "");
    CUserItem user = MakeUser("home-key");
    PostDatabaseNotify(&user, NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 2);
    Pump();
    EXPECT_TRUE(g_received.empty());
}

TEST_F(Listener, NoPlatformLibrarySendsNothing)
{
    OpenListener();
    ReleasePlatformLibraries();
    CUserItem user = MakeUser("home-key");
    PostDatabaseNotify(&user, NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 3);
    Pump();
    EXPECT_TRUE(g_received.empty());
}

TEST_F(Listener, NoListenerWindowIsSilent)
{
    CUserItem user = MakeUser("home-key");
    PostDatabaseNotify(&user, NOTIFY_ADDED, NOTIFY_ITEM_RECORD, 4);
    Pump();
    EXPECT_TRUE(g_received.empty());
    // A window opened later does not receive the earlier notice.
    OpenListener();
    Pump();
    EXPECT_TRUE(g_received.empty());
}

}  // namespace
