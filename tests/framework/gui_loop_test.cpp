// The application's services around the loop: the filter walk of
// PreTranslateMessage, notifications a parent maps itself, owner-drawn
// menu items, and the registry profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CommonControls.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "tests/framework/GuiTestApp.h"
#include "tests/support/ScriptedModal.h"

namespace {

std::vector<std::string> g_log;

class CFilterWnd : public CWnd {
public:
    BOOL m_swallowKeys = FALSE;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN) {
            g_log.push_back(m_name + ":filter");
            return m_swallowKeys;
        }
        return FALSE;
    }
    std::string m_name;

protected:
    void OnKeyDown(UINT, UINT, UINT) { g_log.push_back(m_name + ":keydown"); }
    void OnListChanged(NMHDR* pNMHDR, LRESULT*)
    {
        if (reinterpret_cast<NMLISTVIEW*>(pNMHDR)->uChanged & LVIF_STATE) g_log.push_back(m_name + ":itemchanged");
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFilterWnd, CWnd)
    ON_WM_KEYDOWN()
    ON_NOTIFY(LVN_ITEMCHANGED, 200, &CFilterWnd::OnListChanged)
END_MESSAGE_MAP()

class LoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        top.m_name = "top";
        child.m_name = "child";
        ASSERT_TRUE(top.CreateEx(0, nullptr, "top", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
        ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &top, 10));
    }
    void TearDown() override
    {
        top.DestroyWindow();
        zvtest::PumpPendingMessages();
    }
    // One turn of the application's loop for a queued message.
    void PumpOne()
    {
        MSG msg;
        // Posted messages come before painting, so ours is the next one.
        ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        ASSERT_TRUE(AfxPumpMessage());
    }
    CFilterWnd top;
    CFilterWnd child;
};

TEST_F(LoopTest, QueuedMessagesAreOfferedUpTheParentChainBeforeDispatch)
{
    zvtest::PumpPendingMessages();
    child.PostMessage(WM_KEYDOWN, 'A', 0);
    PumpOne();
    EXPECT_EQ(g_log, (std::vector<std::string>{"child:filter", "top:filter", "child:keydown"}));

    g_log.clear();
    top.m_swallowKeys = TRUE;
    zvtest::PumpPendingMessages();
    child.PostMessage(WM_KEYDOWN, 'B', 0);
    PumpOne();
    EXPECT_EQ(g_log, (std::vector<std::string>{"child:filter", "top:filter"})) << "the parent's filter took it";
}

TEST_F(LoopTest, ParentMapsANotificationTheListDoesNotReflect)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 100), &top, 200));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 80);
    list.InsertItem(0, "one");
    g_log.clear();
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_FALSE(g_log.empty());
    EXPECT_EQ(g_log[0], "top:itemchanged");
}

class COwnerMenu : public CMenu {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override
    {
        g_log.push_back("measure:" + std::to_string(lpMeasureItemStruct->itemID));
        lpMeasureItemStruct->itemWidth = 80;
        lpMeasureItemStruct->itemHeight = 20;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        g_log.push_back("draw:" + std::to_string(lpDrawItemStruct->itemID));
    }
};

TEST_F(LoopTest, OwnerDrawnMenuItemsReachTheirMenuObject)
{
    COwnerMenu bar, popup;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_OWNERDRAW, 501, nullptr);
    bar.AppendMenu(MF_POPUP, (UINT_PTR)popup.m_hMenu, "&File");
    ASSERT_TRUE(top.SetMenu(&bar));

    g_log.clear();
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = 501;
    top.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = 501;
    dis.hwndItem = (HWND)popup.m_hMenu;
    top.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    EXPECT_EQ(g_log, (std::vector<std::string>{"measure:501", "draw:501"}));
    EXPECT_EQ(mis.itemHeight, 20u);

    top.SetMenu(nullptr);
    bar.RemoveMenu(0, MF_BYPOSITION);  // the pop-up belongs to its own object
}

TEST(ProfileTest, SettingsLiveUnderTheRegistryKeyAndProfileName)
{
    auto& app = zvtest::TheGuiTestApp();
    app.SetRegistryKey("ZvTestCompany");
    EXPECT_STREQ(app.m_pszRegistryKey, "ZvTestCompany");
    EXPECT_STREQ(app.m_pszProfileName, "Framework GUI Tests");
    // The program replaces the profile name, as the start-up does.
    free((void*)app.m_pszProfileName);
    app.m_pszProfileName = _strdup("Zv Test Profile");

    EXPECT_EQ(app.GetProfileInt("Settings", "Missing", 17), 17u);
    EXPECT_STREQ(app.GetProfileString("Settings", "Missing", "fallback"), "fallback");
    EXPECT_TRUE(app.WriteProfileInt("Settings", "Count", -3));
    EXPECT_TRUE(app.WriteProfileString("Settings", "Name", "Zorvikan"));
    const BYTE blob[] = {0, 1, 2, 0xFF};
    EXPECT_TRUE(app.WriteProfileBinary("Settings", "Blob", blob, sizeof(blob)));
    EXPECT_EQ((int)app.GetProfileInt("Settings", "Count", 0), -3);
    EXPECT_STREQ(app.GetProfileString("Settings", "Name"), "Zorvikan");
    std::vector<BYTE> back;
    EXPECT_TRUE(app.GetProfileBinary("Settings", "Blob", back));
    EXPECT_EQ(back, std::vector<BYTE>(blob, blob + sizeof(blob)));

    // Where they are: HKCU\Software\<key>\<profile name>\<section>.
    HKEY key = nullptr;
    ASSERT_EQ(
        ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ZvTestCompany\\Zv Test Profile\\Settings", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    char value[32] = {};
    DWORD size = sizeof(value), type = 0;
    EXPECT_EQ(::RegQueryValueExA(key, "Name", nullptr, &type, (LPBYTE)value, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_STREQ(value, "Zorvikan");
    ::RegCloseKey(key);

    // A value of the wrong type reads as the default.
    EXPECT_EQ(app.GetProfileInt("Settings", "Name", 5), 5u);
    EXPECT_TRUE(app.WriteProfileString("Settings", "Name", nullptr));
    EXPECT_STREQ(app.GetProfileString("Settings", "Name", "gone"), "gone");

    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ZvTestCompany");
}

}  // namespace
