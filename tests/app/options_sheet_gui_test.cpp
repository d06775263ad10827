// The Options sheet over a stand-in for the main view and a scratch data
// root: what each page shows and what its Apply hands on.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/options/OptionsHost.h"
#include "app/options/PrefSettingPS.h"
#include "app/res/ShellDialogsRes.h"
#include "app/services/SyncCommands.h"
#include "core/items/FilterKeys.h"
#include "core/items/ShowColumns.h"
#include "core/items/TypeItem.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/users/UserItem.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"

namespace {

struct ClipboardOptions {
    bool onExit, timerOn;
    int minutes;
};

class FakeHost : public IOptionsHost {
public:
    CUserItem* GetUser() override { return user; }
    bool IsRunAtStartup() override { return runAtStartup; }
    void SetRunAtStartup(bool run) override { startupCalls.push_back(run); }
    void SetMinimizeToTray(bool minimize) override { minimizeCalls.push_back(minimize); }
    void SetClearClipboardOptions(bool onExit, bool timerOn, int minutes) override
    {
        clipboard = ClipboardOptions{onExit, timerOn, minutes};
    }
    void ChooseListFont() override { ++fontChoices; }
    void ChooseRowColour() override { ++colourChoices; }
    LOGFONTA GetListFont() override
    {
        LOGFONTA font{};
        font.lfHeight = -16;
        std::strcpy(font.lfFaceName, "Arial");
        return font;
    }
    COLORREF GetRowColour() override { return RGB(1, 2, 3); }
    HWND GetViewWindow() override { return ::GetDesktopWindow(); }
    void GetCurrentTypeKey(uint8_t key[kUniqueKeySize]) override { std::memcpy(key, typeKey, kUniqueKeySize); }
    CDatabaseObj& GetDatabase() override { return database; }
    CShowColumns& GetColumns() override { return columns; }
    void SaveListColumns() override { calls.push_back("save"); }
    void LoadListColumns(bool reload) override { calls.push_back(reload ? "load 1" : "load 0"); }
    void InvalidateRecordList() override { calls.push_back("invalidate"); }

    CUserItem* user = nullptr;
    bool runAtStartup = false;
    std::vector<bool> startupCalls;
    std::vector<bool> minimizeCalls;
    std::optional<ClipboardOptions> clipboard;
    int fontChoices = 0, colourChoices = 0;
    uint8_t typeKey[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    CDatabaseObj database;
    CShowColumns columns{CShowColumns::kColumns};
    std::vector<std::string> calls;
};

class FakeSync : public ISyncCommands {
public:
    intptr_t OpenSyncSettings(CDatabaseObj*, CUserItem*, CWnd*) override { return IDCANCEL; }
    bool RunAutoSyncs(CDatabaseObj*, CUserItem*, bool, CWnd*) override { return false; }
    int GetSyncMode() override { return mode; }
    void SetSyncMode(int m) override { setModes.push_back(m); }
    int GetSavedSyncMode() override { return saved; }
    void SaveSyncMode(int m) override { savedModes.push_back(m); }
    int mode = 0, saved = 1;
    std::vector<int> setModes, savedModes;
};

class OptionsSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        m_user = std::make_unique<CUserItem>(zvtest::MakeUserRecord("Ann", "ann", 3));
        m_host.user = m_user.get();
        m_previousSync = SetSyncCommands(&m_sync);
    }
    void TearDown() override
    {
        SetSyncCommands(m_previousSync);
        CAppPrefMgr::ReplaceInstance(m_previous);
    }
    // Runs the sheet on the page; step acts on the page, then OK.
    void Run(int page, const std::function<void(CPrefSettingPS&, CWnd&)>& step, int end = PSBTN_OK)
    {
        zvtest::ScriptedModal modal;
        modal.OnModal([&](CWnd& wnd) {
            CPrefSettingPS& sheet = *m_sheet;
            sheet.SetActivePage(page);
            zvtest::PumpPendingMessages();
            step(sheet, *sheet.GetActivePage());
            sheet.PressButton(end);
        });
        m_result = m_sheet->DoModal();
    }
    static bool Visible(CWnd& page, int id) { return ::IsWindowVisible(::GetDlgItem(page.m_hWnd, id)) != FALSE; }
    static bool Enabled(CWnd& page, int id) { return ::IsWindowEnabled(::GetDlgItem(page.m_hWnd, id)) != FALSE; }
    static bool Checked(CWnd& page, int id) { return page.IsDlgButtonChecked(id) == BST_CHECKED; }
    static std::string Text(CWnd& page, int id)
    {
        CString text;
        page.GetDlgItemText(id, text);
        return text.GetString();
    }
    static void Click(CWnd& page, int id)
    {
        HWND button = ::GetDlgItem(page.m_hWnd, id);
        ::SendMessageA(button, BM_CLICK, 0, 0);
    }

    zvtest::ScratchDir m_root{"options"};
    std::shared_ptr<CAppPrefMgr> m_manager, m_previous;
    std::unique_ptr<CUserItem> m_user;
    FakeHost m_host;
    FakeSync m_sync;
    ISyncCommands* m_previousSync = nullptr;
    std::unique_ptr<CPrefSettingPS> m_sheet = std::make_unique<CPrefSettingPS>("Options", &m_host);
    INT_PTR m_result = 0;
};

TEST_F(OptionsSheet, WithoutAPasswordTheAutoLockControlsAreHidden)
{
    for (int hasPassword : {0, 1}) {
        m_sheet = std::make_unique<CPrefSettingPS>("Options", &m_host);
        m_sheet->m_security.m_bHasPassword = hasPassword;
        bool shown[3] = {};
        Run(0, [&](CPrefSettingPS&, CWnd& page) {
            shown[0] = Visible(page, IDC_PREF_AUTO_LOCK);
            shown[1] = Visible(page, IDC_PREF_SLEEP_MINUTES);
            shown[2] = Visible(page, IDC_PREF_MINUTES_LABEL);
        });
        EXPECT_EQ(m_result, IDOK);
        for (bool s : shown) EXPECT_EQ(s, hasPassword == 1);
    }
}

TEST_F(OptionsSheet, ClipboardTimerOffDisablesTheSpinUntilAfterIsTicked)
{
    m_manager->GetPrefs()->SetClearClipboardTimer(m_user.get(), CAppPrefs::TimerPair{0, 7});
    bool before = true, after = false;
    std::string shown, stepped;
    Run(0, [&](CPrefSettingPS&, CWnd& page) {
        before = Enabled(page, IDC_PREF_CLEAR_SPIN);
        Click(page, IDC_PREF_CLEAR_AFTER);
        after = Enabled(page, IDC_PREF_CLEAR_SPIN);
        shown = Text(page, IDC_PREF_CLEAR_MINUTES);
        // Two steps up, as the up-down control reports them.
        NMUPDOWN change{};
        change.hdr.hwndFrom = ::GetDlgItem(page.m_hWnd, IDC_PREF_CLEAR_SPIN);
        change.hdr.idFrom = IDC_PREF_CLEAR_SPIN;
        change.hdr.code = UDN_DELTAPOS;
        change.iDelta = 2;
        ::SendMessageA(page.m_hWnd, WM_NOTIFY, IDC_PREF_CLEAR_SPIN, reinterpret_cast<LPARAM>(&change));
        stepped = Text(page, IDC_PREF_CLEAR_MINUTES);
    });
    EXPECT_FALSE(before);
    EXPECT_TRUE(after);
    EXPECT_EQ(shown, "1");  // a timer that is off keeps no minutes
    EXPECT_EQ(stepped, "3");
    ASSERT_TRUE(m_host.clipboard.has_value());
    EXPECT_TRUE(m_host.clipboard->timerOn);
    EXPECT_EQ(m_host.clipboard->minutes, 3);
    EXPECT_FALSE(m_host.clipboard->onExit);
}

TEST_F(OptionsSheet, ClipboardMinutesStayWithinOneToSixty)
{
    m_manager->GetPrefs()->SetClearClipboardTimer(m_user.get(), CAppPrefs::TimerPair{1, 59});
    std::string up, down;
    Run(0, [&](CPrefSettingPS&, CWnd& page) {
        NMUPDOWN change{};
        change.hdr.hwndFrom = ::GetDlgItem(page.m_hWnd, IDC_PREF_CLEAR_SPIN);
        change.hdr.idFrom = IDC_PREF_CLEAR_SPIN;
        change.hdr.code = UDN_DELTAPOS;
        change.iDelta = 5;
        ::SendMessageA(page.m_hWnd, WM_NOTIFY, IDC_PREF_CLEAR_SPIN, reinterpret_cast<LPARAM>(&change));
        up = Text(page, IDC_PREF_CLEAR_MINUTES);
        change.iDelta = -100;
        ::SendMessageA(page.m_hWnd, WM_NOTIFY, IDC_PREF_CLEAR_SPIN, reinterpret_cast<LPARAM>(&change));
        down = Text(page, IDC_PREF_CLEAR_MINUTES);
    });
    EXPECT_EQ(up, "60");
    EXPECT_EQ(down, "1");
}

TEST_F(OptionsSheet, RunAtStartupIsWrittenOnlyWhenItsBoxWasClicked)
{
    Run(0, [&](CPrefSettingPS&, CWnd&) {});
    EXPECT_TRUE(m_host.startupCalls.empty());
    EXPECT_EQ(m_host.minimizeCalls, std::vector<bool>{false});

    m_sheet = std::make_unique<CPrefSettingPS>("Options", &m_host);
    m_host.runAtStartup = false;
    bool shownBefore = true;
    Run(0, [&](CPrefSettingPS&, CWnd& page) {
        shownBefore = Checked(page, IDC_PREF_RUN_AT_STARTUP);
        Click(page, IDC_PREF_RUN_AT_STARTUP);
    });
    EXPECT_FALSE(shownBefore);
    EXPECT_EQ(m_host.startupCalls, std::vector<bool>{true});
}

TEST_F(OptionsSheet, SleepMinutesOutOfRangeKeepTheSheetOpen)
{
    m_sheet->m_security.m_bHasPassword = 1;
    m_sheet->m_security.m_nMaxMinutes = 30;
    zvtest::ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);  // the range message
    modal.OnModal([&](CWnd&) {
        m_sheet->GetActivePage()->SetDlgItemText(IDC_PREF_SLEEP_MINUTES, "31");
        m_sheet->PressButton(PSBTN_OK);
    });
    modal.OnModal([&](CWnd&) {
        CWnd& page = *m_sheet->GetActivePage();
        page.SetDlgItemText(IDC_PREF_SLEEP_MINUTES, "30");
        m_sheet->PressButton(PSBTN_OK);
    });
    EXPECT_EQ(m_sheet->DoModal(), IDOK);
    EXPECT_EQ(modal.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_sheet->m_security.m_nSleepMinutes, 30);
}

TEST_F(OptionsSheet, ShowColumnTextsFollowTheShownType)
{
    auto* type = new CTypeItem;
    type->SetName("Bank");
    const uint8_t key[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0, 9};
    type->SetKey(key);
    type->SetField(0, "Account");
    m_host.database.GetTypes().Add(type);
    struct Case {
        const uint8_t* key;
        const char* column1;
    } cases[] = {{KEY_ALL, "Show Column 1"}, {KEY_UNFILED, "Show Column 1"}, {key, "Show Account"}};
    for (const Case& c : cases) {
        std::memcpy(m_host.typeKey, c.key, kUniqueKeySize);
        m_sheet = std::make_unique<CPrefSettingPS>("Options", &m_host);
        std::string column1, column2;
        Run(3, [&](CPrefSettingPS&, CWnd& page) {
            column1 = Text(page, 1033);
            column2 = Text(page, 1034);
        });
        EXPECT_EQ(column1, c.column1);
        // A type's empty label reads as its default one.
        EXPECT_EQ(column2, std::memcmp(c.key, key, kUniqueKeySize) == 0 ? "Show Field 2" : "Show Column 2");
    }
}

TEST_F(OptionsSheet, ShowColumnApplySetsTheLayoutForEveryTypeAndReloads)
{
    auto* bank = new CTypeItem;
    auto* card = new CTypeItem;
    m_host.database.GetTypes().Add(bank);
    m_host.database.GetTypes().Add(card);
    bool typeShownBefore = false;
    Run(3, [&](CPrefSettingPS&, CWnd& page) {
        typeShownBefore = Checked(page, IDC_PREF_SHOW_TYPE);
        Click(page, IDC_PREF_SHOW_TYPE);        // layout column 1 off
        Click(page, IDC_PREF_SHOW_ATTACHMENT);  // layout column 14 off
    });
    EXPECT_TRUE(typeShownBefore);
    EXPECT_EQ(m_host.columns.IsColumnVisible(1), 0);
    EXPECT_EQ(m_host.columns.IsColumnVisible(14), 0);
    EXPECT_EQ(m_host.columns.IsColumnVisible(2), 1);
    EXPECT_EQ(m_host.columns.IsColumnVisible(0), 1);  // not on the page
    for (CTypeItem* type : {bank, card}) {
        EXPECT_EQ(type->GetColumns().IsColumnVisible(1), 0);
        EXPECT_EQ(type->GetColumns().IsColumnVisible(14), 0);
    }
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"save", "load 1", "invalidate"}));
}

TEST_F(OptionsSheet, SyncPageShowsAndStoresModeAndDefaultApart)
{
    m_sync.mode = 0;   // desktop overwrites handheld
    m_sync.saved = 1;  // handheld overwrites desktop
    bool modeShown = false, defaultShown = false;
    Run(4, [&](CPrefSettingPS&, CWnd& page) {
        modeShown = Checked(page, IDC_PREF_SYNC_MODE_DESKTOP);
        defaultShown = Checked(page, IDC_PREF_SYNC_DEFAULT_HANDHELD);
        Click(page, IDC_PREF_SYNC_MODE_SYNC);
    });
    EXPECT_TRUE(modeShown);
    EXPECT_TRUE(defaultShown);
    EXPECT_EQ(m_sync.setModes, std::vector<int>{2});
    EXPECT_EQ(m_sync.savedModes, std::vector<int>{1});
}

TEST_F(OptionsSheet, CancelAppliesNothing)
{
    Run(
        0, [&](CPrefSettingPS&, CWnd& page) { Click(page, IDC_PREF_RUN_AT_STARTUP); }, PSBTN_CANCEL);
    EXPECT_EQ(m_result, IDCANCEL);
    EXPECT_TRUE(m_host.startupCalls.empty());
    EXPECT_FALSE(m_host.clipboard.has_value());
}

TEST_F(OptionsSheet, FormatPageShowsFontAndPassesTheButtonsOn)
{
    std::string font;
    Run(2, [&](CPrefSettingPS&, CWnd& page) {
        font = Text(page, IDC_PREF_FONT_TEXT);
        Click(page, IDC_PREF_CHOOSE_FONT);
        Click(page, IDC_PREF_CHOOSE_COLOUR);
    });
    EXPECT_EQ(font.rfind("Arial - ", 0), 0u) << font;
    EXPECT_NE(font.find(" pt size"), std::string::npos);
    EXPECT_EQ(m_host.fontChoices, 1);
    EXPECT_EQ(m_host.colourChoices, 1);
}

TEST_F(OptionsSheet, UserDataPageTakesTheChosenFolderIntoItsMember)
{
    m_sheet->m_userData.m_strDatabaseLocation = "C:\\old";
    zvtest::ScriptedModal modal;
    modal.AnswerFolder("C:\\new place");
    modal.OnModal([&](CWnd&) {
        m_sheet->SetActivePage(1);
        Click(*m_sheet->GetActivePage(), IDC_PREF_CHOOSE_DATABASE);
        m_sheet->PressButton(PSBTN_OK);
    });
    EXPECT_EQ(m_sheet->DoModal(), IDOK);
    EXPECT_STREQ(m_sheet->m_userData.m_strDatabaseLocation.GetString(), "C:\\new place");
    EXPECT_EQ(modal.FolderTitles(), std::vector<std::string>{"Choose the location for the Zorvikan database."});
}

}  // namespace
