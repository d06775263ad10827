// The main view's Options, Edit Users and Database Sync commands and its
// start-with-Windows setting, on a scratch data root and a private registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/options/PrefSettingPS.h"
#include "app/res/ShellDialogsRes.h"
#include "app/services/SyncCommands.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/ScriptedModal.h"
#include "toolkit/ToolkitIds.h"

namespace fs = std::filesystem;

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Zorvikan iPhone Desktop";

class FakeSync : public ISyncCommands {
public:
    intptr_t OpenSyncSettings(CDatabaseObj* database, CUserItem*, CWnd*) override
    {
        ++opened;
        busyWhileOpen = busy ? busy() : -1;
        sawCopy = database != nullptr && database != viewDatabase;
        return answer;
    }
    bool RunAutoSyncs(CDatabaseObj* database, CUserItem*, bool onExit, CWnd*) override
    {
        (onExit ? exitRuns : startRuns)++;
        return false;
    }
    int GetSyncMode() override { return 2; }
    void SetSyncMode(int) override {}
    int GetSavedSyncMode() override { return 2; }
    void SaveSyncMode(int) override {}

    int opened = 0, startRuns = 0, exitRuns = 0, busyWhileOpen = -2;
    bool sawCopy = false;
    intptr_t answer = IDCANCEL;
    CDatabaseObj* viewDatabase = nullptr;
    std::function<int()> busy;
};

class ViewUserCommands : public zvtest::AppWindowTest {
protected:
    ViewUserCommands() : AppWindowTest("zvcommands") {}
    void SetUp() override
    {
        AppWindowTest::SetUp();
        ASSERT_TRUE(m_registry.IsActive());
        m_previousSync = SetSyncCommands(&m_sync);
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        SetSyncCommands(m_previousSync);
    }
    static std::string RunValue()
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "<no key>";
        char value[MAX_PATH + 1] = {};
        DWORD size = MAX_PATH;
        const LONG result = ::RegQueryValueExA(key, kRunValue, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        ::RegCloseKey(key);
        return result == ERROR_SUCCESS ? value : "<none>";
    }
    static void MakeRunKey()
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyA(HKEY_CURRENT_USER, kRunKey, &key));
        ::RegCloseKey(key);
    }
    void Command(UINT id)
    {
        // A frame closed by an earlier test leaves its quit message behind,
        // which would end the next modal loop at once.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0);
    }

    zvtest::ScratchRegistry m_registry;
    FakeSync m_sync;
    ISyncCommands* m_previousSync = nullptr;
};

TEST_F(ViewUserCommands, RunAtStartupWritesChecksAndDeletesTheValue)
{
    OpenWindow();
    // Without the Run key nothing is written and the check answers false.
    m_view->SetRunAtStartup(true);
    EXPECT_EQ(RunValue(), "<no key>");
    EXPECT_FALSE(m_view->IsRunAtStartup());

    MakeRunKey();
    EXPECT_FALSE(m_view->IsRunAtStartup());
    m_view->SetRunAtStartup(true);
    EXPECT_EQ(RunValue(), std::string(CZorvikanDesktopView::GetModulePath().GetString()));
    EXPECT_TRUE(m_view->IsRunAtStartup());
    m_view->SetRunAtStartup(false);
    EXPECT_EQ(RunValue(), "<none>");
    EXPECT_FALSE(m_view->IsRunAtStartup());
}

TEST_F(ViewUserCommands, AStoredPathOfAnotherProgramFileReadsAsOff)
{
    OpenWindow();
    MakeRunKey();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key));
    const char moved[] = "C:\\Old Place\\Zorvikan Desktop.exe";
    ::RegSetValueExA(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(moved), sizeof moved);
    ::RegCloseKey(key);
    EXPECT_FALSE(m_view->IsRunAtStartup());
}

TEST_F(ViewUserCommands, OptionsStoresTheSheetsSettingsAndLeavesTheRunKeyAlone)
{
    OpenWindow();
    MakeRunKey();
    CUserItem* user = App().GetCurrentUser();
    auto prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    prefs->SetSearchColumns(user, 1);  // the first field only
    prefs->SetAutoSubmit(user, 0);
    zvtest::ScriptedModal modal;
    int busy = -1;
    bool field1Shown = false;
    modal.OnModal([&](CWnd& wnd) {
        busy = m_view->GetPluginLink().GetBusy();
        auto& sheet = static_cast<CPrefSettingPS&>(wnd);
        CWnd& page = *sheet.GetActivePage();
        field1Shown = page.IsDlgButtonChecked(IDC_PREF_SEARCH_FIELD1) == BST_CHECKED;
        ::SendMessageA(::GetDlgItem(page.m_hWnd, IDC_PREF_SEARCH_ALL), BM_CLICK, 0, 0);
        ::SendMessageA(::GetDlgItem(page.m_hWnd, IDC_PREF_AUTO_SUBMIT), BM_CLICK, 0, 0);
        sheet.PressButton(PSBTN_OK);
    });
    Command(ID_OPTIONS);
    EXPECT_EQ(busy, 1);
    EXPECT_EQ(m_view->GetPluginLink().GetBusy(), 0);
    EXPECT_TRUE(field1Shown);
    EXPECT_FALSE(prefs->GetSearchColumns(user));  // -1: all fields
    EXPECT_TRUE(prefs->GetAutoSubmit(user));
    EXPECT_EQ(RunValue(), "<none>");
    EXPECT_TRUE(prefs->GetUserDirectory(user).IsEmpty());  // the folder did not change
}

TEST_F(ViewUserCommands, OptionsMovesTheDatabaseToTheChosenFolder)
{
    OpenWindow();
    CUserItem* user = App().GetCurrentUser();
    const fs::path chosen = m_root.Path() / "moved here";
    fs::create_directories(chosen);
    zvtest::ScriptedModal modal;
    modal.OnModal([&](CWnd& wnd) {
        auto& sheet = static_cast<CPrefSettingPS&>(wnd);
        sheet.m_userData.m_strDatabaseLocation = chosen.string().c_str();
        sheet.PressButton(PSBTN_OK);
    });
    Command(ID_OPTIONS);
    const std::string stored = CAppPrefMgr::GetInstance()->GetPrefs()->GetUserDirectory(user).GetString();
    EXPECT_EQ(fs::path(stored).parent_path(), chosen);
    EXPECT_TRUE(fs::exists(fs::path(stored) / "ZorvikanDatabase.zdb"));
    EXPECT_TRUE(modal.MessageBoxes().empty());
}

TEST_F(ViewUserCommands, OptionsConfirmedUnchangedWriteNothing)
{
    OpenWindow();
    MakeRunKey();
    const fs::path prefsFile = CAppPrefMgr::GetInstance()->GetPreferencesFilePath().GetString();
    const std::string before = zvtest::ReadFileBytes(prefsFile);
    zvtest::ScriptedModal modal;
    modal.OnModal([&](CWnd& wnd) { static_cast<CPrefSettingPS&>(wnd).PressButton(PSBTN_OK); });
    Command(ID_OPTIONS);
    EXPECT_EQ(zvtest::ReadFileBytes(prefsFile), before);
    EXPECT_EQ(RunValue(), "<none>");
}

TEST_F(ViewUserCommands, CancelledOptionsStoreNothing)
{
    OpenWindow();
    CUserItem* user = App().GetCurrentUser();
    auto prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    const bool before = prefs->GetAutoSubmit(user);
    zvtest::ScriptedModal modal;
    modal.OnModal([&](CWnd& wnd) {
        auto& sheet = static_cast<CPrefSettingPS&>(wnd);
        ::SendMessageA(::GetDlgItem(sheet.GetActivePage()->m_hWnd, IDC_PREF_AUTO_SUBMIT), BM_CLICK, 0, 0);
        sheet.PressButton(PSBTN_CANCEL);
    });
    Command(ID_OPTIONS);
    EXPECT_EQ(prefs->GetAutoSubmit(user), before);
    EXPECT_EQ(m_view->GetPluginLink().GetBusy(), 0);
}

TEST_F(ViewUserCommands, EditUsersRunsWithTheBusyFlagSet)
{
    OpenWindow();
    zvtest::ScriptedModal modal;
    int busy = -1;
    modal.OnModal([&](CWnd& wnd) {
        busy = m_view->GetPluginLink().GetBusy();
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    Command(ID_EDIT_USERS);
    EXPECT_EQ(busy, 1);
    EXPECT_EQ(m_view->GetPluginLink().GetBusy(), 0);
}

// Esc pressed in Edit Users closes it, wherever its focus is.
TEST_F(ViewUserCommands, EscClosesEditUsers)
{
    OpenWindow();
    zvtest::ScriptedModal modal;
    bool posted = false;
    modal.OnModal([&](CWnd& wnd) {
        // The key as the keyboard sends it, to the control with the focus.
        HWND focus = ::GetFocus();
        ASSERT_TRUE(focus && (focus == wnd.m_hWnd || ::IsChild(wnd.m_hWnd, focus)));
        posted = ::PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001) &&
                 ::PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    });
    Command(ID_EDIT_USERS);
    EXPECT_TRUE(posted);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewUserCommands, DatabaseSyncWorksOnACopyWithTheBusyFlagSet)
{
    OpenWindow();
    m_sync.viewDatabase = &m_view->GetDatabase();
    m_sync.busy = [this] { return m_view->GetPluginLink().GetBusy(); };
    Command(ID_DATABASE_SYNC);
    EXPECT_EQ(m_sync.opened, 1);
    EXPECT_TRUE(m_sync.sawCopy);
    EXPECT_EQ(m_sync.busyWhileOpen, 1);
    EXPECT_EQ(m_view->GetPluginLink().GetBusy(), 0);
}

TEST_F(ViewUserCommands, FileSyncsRunAtTheStartAndTheEnd)
{
    OpenWindow();
    EXPECT_EQ(m_sync.startRuns, 1);
    EXPECT_EQ(m_sync.exitRuns, 0);
    CloseWindow();
    EXPECT_EQ(m_sync.exitRuns, 1);
}

}  // namespace
