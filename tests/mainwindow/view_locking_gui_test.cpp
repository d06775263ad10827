// The main view's lock (by command and by the countdown), the countdown's
// restarts, no lock beneath another dialog, and the clearing of the
// program's own text from the clipboard, in the program's main window on a
// scratch data root.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/history/LogEvents.h"
#include "app/logon/LogonRes.h"
#include "core/crypto/SecretString.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "exchange/backup/ExchangeBackupService.h"
#include "framework/PropertySheet.h"
#include "framework/WinApp.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/dialogs/DetailViewDlg.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/WindowTexts.h"
#include "toolkit/ToolkitIds.h"

namespace {

const char kPassword[] = "Lock-Pw-7";

// The view as the log-on dialog of a lock finds it.
struct WhileLocked {
    bool asked = false;
    bool locked = false;
    bool hasKey = true;
    bool readOnly = false;
    int busy = -1;
    int rows = -1;
    bool userChoiceEnabled = true;
};

class ViewLocking : public zvtest::AppWindowTest {
protected:
    ViewLocking() : AppWindowTest("zvlocking") {}
    void SetUp() override
    {
        AppWindowTest::SetUp();
        GetMasterPwdMgr()->ClearPassword();
    }
    // A click on the heading of the list's column, as the header sends it.
    void ClickHeading(CRecordListCtrl& list, int column)
    {
        HDITEMA hd{};
        NMHEADERA nm{};
        nm.hdr.hwndFrom = list.GetHeaderCtrl()->m_hWnd;
        nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(nm.hdr.hwndFrom);
        nm.hdr.code = HDN_ITEMCLICKA;
        nm.iItem = column;
        nm.pitem = &hd;
        ::SendMessageA(m_view->m_hWnd, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    }
    void TearDown() override
    {
        AppWindowTest::TearDown();
        GetMasterPwdMgr()->ClearPassword();
        if (::OpenClipboard(nullptr)) {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
    }

    CUserItem* User() { return App().GetCurrentUser(); }
    std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

    // The user's database gets a master password; the countdown is on.
    void Protect(bool autoLock = true)
    {
        ASSERT_EQ(0, GetMasterPwdMgr()->StoreNewPassword(CSecretString(kPassword), m_view->GetDatabase()));
        Prefs()->SetAutoLock(User(), autoLock ? 1 : 0);
    }
    void AddRecords(std::initializer_list<const char*> names)
    {
        CDatabaseObj& db = m_view->GetDatabase();
        for (const char* name : names) {
            CRecord* record = static_cast<CRecord*>(db.GetRecords().NewItem());
            record->SetField(0, name);
            db.GetRecords().Add(record);
        }
        ASSERT_EQ(0, db.Save());
        m_view->FillRecordList();
    }
    int Rows() { return m_view->GetRecordList().GetItemCount(); }
    void Command(UINT id) { ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0); }
    void Expire() { ::SendMessageA(m_view->m_hWnd, WM_TIMER, ZV_TIMER_AUTO_LOCK, 0); }

    // The log-on dialog of the lock: notes the view, then unlocks.
    zvtest::ScriptedModal::ModalStep Unlock(WhileLocked& seen, const char* password = kPassword)
    {
        return [this, &seen, password](CWnd& dlg) {
            seen.asked = true;
            seen.locked = m_view->IsLocked();
            seen.hasKey = GetMasterPwdMgr()->HasPassword();
            seen.readOnly = m_view->GetDatabase().IsReadOnly();
            seen.busy = m_view->GetPluginLink().GetBusy();
            seen.rows = Rows();
            HWND combo = ::GetDlgItem(dlg.m_hWnd, IDC_USER_COMBO);
            seen.userChoiceEnabled = combo && ::IsWindowEnabled(combo);
            dlg.SetDlgItemText(IDC_PASSWORD, password);
            zvtest::ScriptedModal::PressButton(dlg, IDOK);
        };
    }

    static std::string ClipboardText() { return zvtest::ClipboardText("<none>"); }
    // Text put there by someone else (a window that is not the program's).
    static void PutForeignText(const char* text)
    {
        HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(::OpenClipboard(other));
        ::EmptyClipboard();
        const size_t size = std::strlen(text) + 1;
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(::GlobalLock(memory), text, size);
        ::GlobalUnlock(memory);
        ::SetClipboardData(CF_TEXT, memory);
        ::CloseClipboard();
        ::DestroyWindow(other);
    }
};

TEST_F(ViewLocking, TheLockCommandEmptiesTheViewsDropsTheKeyAndTheUnlockRestoresThem)
{
    OpenWindow();
    Protect(false);
    AddRecords({"alpha", "beta"});
    ASSERT_EQ(2, Rows());
    const uint8_t* before = m_view->GetViewState().typeFilter;
    const std::vector<uint8_t> filter(before, before + kUniqueKeySize);
    zvtest::ScriptedModal modal;
    WhileLocked seen;
    modal.OnModal(Unlock(seen));
    Command(ID_LOCK_APP);

    ASSERT_TRUE(seen.asked);
    EXPECT_TRUE(seen.locked);
    EXPECT_FALSE(seen.hasKey);
    EXPECT_TRUE(seen.readOnly);
    EXPECT_EQ(1, seen.busy);
    EXPECT_EQ(0, seen.rows);
    EXPECT_FALSE(seen.userChoiceEnabled);

    EXPECT_FALSE(m_view->IsLocked());
    EXPECT_TRUE(GetMasterPwdMgr()->HasPassword());
    EXPECT_FALSE(m_view->GetDatabase().IsReadOnly());
    EXPECT_EQ(0, m_view->GetPluginLink().GetBusy());
    EXPECT_EQ(2, Rows());
    const uint8_t* after = m_view->GetViewState().typeFilter;
    EXPECT_EQ(filter, std::vector<uint8_t>(after, after + kUniqueKeySize));
    bool logged = false;
    for (const auto& event : CLogEvents::GetInstance()->GetEvents())
        logged |= event->GetName() == "Lock application" && event->GetAction() == "Application locked";
    EXPECT_TRUE(logged);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewLocking, TheLockEmptiesTheTreeAndThePanelAndTheUnlockFillsThemAgain)
{
    for (UINT mode : {(UINT)ID_VIEW_TREE, (UINT)ID_VIEW_PANEL}) {
        OpenWindow();
        Protect(false);
        AddRecords({"alpha", "beta"});
        Command(mode);
        const auto shown = [this] {
            return m_view->GetViewMode() == kViewModeTree
                       ? (int)m_view->GetTree().GetCount()
                       : m_view->GetPanelTypes().GetItemCount() + m_view->GetPanelRecords().GetItemCount();
        };
        const int before = shown();
        ASSERT_GT(before, 0) << mode;
        zvtest::ScriptedModal modal;
        int whileLocked = -1;
        modal.OnModal([&](CWnd& dlg) {
            whileLocked = shown();
            dlg.SetDlgItemText(IDC_PASSWORD, kPassword);
            zvtest::ScriptedModal::PressButton(dlg, IDOK);
        });
        Command(ID_LOCK_APP);
        EXPECT_EQ(0, whileLocked) << mode;
        EXPECT_EQ(before, shown()) << mode;
        EXPECT_FALSE(m_view->IsLocked()) << mode;
        CloseWindow();
    }
}

TEST_F(ViewLocking, WithoutAPasswordTheLockCommandOnlySaysSo)
{
    OpenWindow();
    Prefs()->SetAutoLock(User(), 1);
    zvtest::ScriptedModal modal;
    Command(ID_LOCK_APP);
    EXPECT_EQ(std::vector<std::string>{"You need to set a password first."}, modal.MessageTexts());
    EXPECT_FALSE(m_view->IsLocked());
    // Nor does the countdown run without a password.
    m_view->RestartAutoLockTimer();
    EXPECT_FALSE(m_view->IsAutoLockArmed());
}

TEST_F(ViewLocking, TheCountdownLocksAtItsEndAndTheUnlockReopensWithAllFilters)
{
    OpenWindow();
    Protect();
    AddRecords({"alpha", "beta", "gamma"});
    zvtest::ScriptedModal modal;
    WhileLocked seen;
    modal.OnModal(Unlock(seen));
    m_view->GetLockState().SetFixedCountdownMs(200);
    m_view->RestartAutoLockTimer();
    ASSERT_TRUE(m_view->IsAutoLockArmed());
    EXPECT_TRUE(zvtest::PumpUntil([&] { return seen.asked && !m_view->IsLocked(); }, 10000));

    EXPECT_TRUE(seen.locked);
    EXPECT_FALSE(seen.hasKey);
    EXPECT_EQ(0, seen.rows);
    EXPECT_EQ(3, Rows());
    EXPECT_FALSE(m_view->GetDatabase().IsReadOnly());
    const uint8_t* type = m_view->GetViewState().typeFilter;
    EXPECT_EQ(0, std::memcmp(type, KEY_ALL, kUniqueKeySize));
}

// The reopen after the countdown's lock resets the filters only: the list
// keeps its sort and the selected record, and the sort is stored at the end.
TEST_F(ViewLocking, TheCountdownsUnlockKeepsTheSortAndTheSelectedRecord)
{
    OpenWindow();
    Protect();
    AddRecords({"alpha", "beta", "gamma"});
    CRecordListCtrl& list = m_view->GetRecordList();
    // A click on the field 1 heading: now descending.
    ClickHeading(list, 3);
    const uint32_t sortKey = m_view->GetViewState().sortKey;
    ASSERT_NE(kDefaultSortKey, sortKey);
    auto rows = [&] {
        std::vector<std::string> texts;
        for (int row = 0; row < list.GetItemCount(); ++row) texts.emplace_back(list.GetRecordAt(row)->GetField(0));
        return texts;
    };
    ASSERT_EQ((std::vector<std::string>{"gamma", "beta", "alpha"}), rows());
    list.SelectItem(1, TRUE);
    ASSERT_EQ(std::string("beta"), std::string(m_view->GetSelectedRecord()->GetField(0)));

    zvtest::ScriptedModal modal;
    WhileLocked seen;
    modal.OnModal(Unlock(seen));
    m_view->GetLockState().SetFixedCountdownMs(200);
    m_view->RestartAutoLockTimer();
    ASSERT_TRUE(zvtest::PumpUntil([&] { return seen.asked && !m_view->IsLocked(); }, 10000));

    EXPECT_EQ(sortKey, m_view->GetViewState().sortKey);
    EXPECT_EQ((std::vector<std::string>{"gamma", "beta", "alpha"}), rows());
    ASSERT_NE(nullptr, m_view->GetSelectedRecord());
    EXPECT_EQ(std::string("beta"), std::string(m_view->GetSelectedRecord()->GetField(0)));
    CloseWindow();
    EXPECT_EQ((int)sortKey, Prefs()->GetSortInfo(User()));
}

// Quit in the lock's log-on dialog ends the program as Exit does: the view
// state is stored and the automatic backup written under the master key.
TEST_F(ViewLocking, QuitFromTheLockTakesTheRoadOfExit)
{
    CExchangeBackupService backups;
    CScopedBackupService installed(&backups);
    OpenWindow();
    Protect(false);
    AddRecords({"alpha", "beta"});
    CRecordListCtrl& list = m_view->GetRecordList();
    ClickHeading(list, 3);
    const uint32_t sortKey = m_view->GetViewState().sortKey;
    ASSERT_NE((int)sortKey, Prefs()->GetSortInfo(User()));
    const std::filesystem::path backupFolder(std::string(CAppPrefMgr::GetInstance()->GetUserBackupDirectory(User())));

    zvtest::ScriptedModal modal;
    modal.OnModal([](CWnd& dlg) { zvtest::ScriptedModal::PressButton(dlg, IDCANCEL); });
    const HWND frame = m_hFrame;
    Command(ID_LOCK_APP);
    EXPECT_TRUE(zvtest::PumpUntil([&] { return !::IsWindow(frame); }, 10000));
    m_frame = nullptr;
    m_view = nullptr;

    EXPECT_EQ((int)sortKey, Prefs()->GetSortInfo(User()));
    bool backedUp = false;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(backupFolder, error)) {
        if (!entry.is_regular_file() || entry.path().filename().string().rfind("Backup-", 0) != 0) continue;
        const std::string text = zvtest::ReadFileBytes(entry.path());
        backedUp = text.find("Zorvikan Zkv File -v4.0") == 0;
        EXPECT_EQ(std::string::npos, text.find("alpha")) << "the values are encrypted";
    }
    EXPECT_TRUE(backedUp);
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewLocking, LeftPressesMovesKeysAndMenusRestartTheCountdownRightClicksAndTheWheelDoNot)
{
    OpenWindow();
    Protect();
    m_view->RestartAutoLockTimer();
    ASSERT_NE(nullptr, App().m_pMainWnd);
    const struct {
        UINT message;
        bool restarts;
    } cases[] = {
        {WM_LBUTTONDOWN, true}, {WM_MOUSEMOVE, true},   {WM_KEYDOWN, true},     {WM_RBUTTONDOWN, false},
        {WM_RBUTTONUP, false},  {WM_MOUSEWHEEL, false}, {WM_SYSKEYDOWN, false}, {WM_LBUTTONUP, false},
    };
    for (const auto& c : cases) {
        const int before = m_view->GetLockState().GetCountdownStarts();
        MSG msg{};
        msg.hwnd = m_view->GetRecordList().m_hWnd;
        msg.message = c.message;
        // Offered to the filters as the message loop offers it; not dispatched.
        AfxPreTranslateMessage(&msg);
        EXPECT_EQ(c.restarts ? before + 1 : before, m_view->GetLockState().GetCountdownStarts()) << c.message;
        EXPECT_TRUE(m_view->IsAutoLockArmed()) << c.message;
    }
    const int before = m_view->GetLockState().GetCountdownStarts();
    ::SendMessageA(m_hFrame, WM_MENUSELECT, MAKEWPARAM(ID_NEW_ITEM, MF_STRING), (LPARAM)::GetMenu(m_hFrame));
    EXPECT_EQ(before + 1, m_view->GetLockState().GetCountdownStarts());
}

TEST_F(ViewLocking, AnExpiredCountdownBeneathAnotherDialogStartsAgainInsteadOfLocking)
{
    using Close = std::function<void(CWnd&)>;
    const Close button = [](CWnd& dlg) { zvtest::ScriptedModal::PressButton(dlg, IDCANCEL); };
    const Close sheet = [](CWnd& dlg) { static_cast<CPropertySheet&>(dlg).PressButton(PSBTN_CANCEL); };
    const Close ok = [](CWnd& dlg) { zvtest::ScriptedModal::PressButton(dlg, IDOK); };
    const struct {
        UINT command;
        Close close;
    } cases[] = {{ID_OPTIONS, sheet}, {ID_EDIT_USERS, ok}, {ID_EDIT_TYPES, button}, {ID_EDIT_CATEGORIES, button}};
    for (const auto& c : cases) {
        const UINT command = c.command;
        OpenWindow();
        Protect();
        m_view->RestartAutoLockTimer();
        zvtest::ScriptedModal modal;
        bool lockedBeneath = true, armedAgain = false;
        int starts = 0;
        modal.OnModal([&](CWnd& dlg) {
            const int before = m_view->GetLockState().GetCountdownStarts();
            Expire();
            lockedBeneath = m_view->IsLocked();
            armedAgain = m_view->IsAutoLockArmed();
            starts = m_view->GetLockState().GetCountdownStarts() - before;
            c.close(dlg);
        });
        Command(command);
        EXPECT_FALSE(lockedBeneath) << command;
        EXPECT_TRUE(armedAgain) << command;
        EXPECT_EQ(1, starts) << command;
        EXPECT_FALSE(m_view->IsLocked()) << command;
        EXPECT_TRUE(GetMasterPwdMgr()->HasPassword()) << command;
        EXPECT_TRUE(modal.Unanswered().empty()) << command;
        CloseWindow();
    }
}

TEST_F(ViewLocking, AnExpiredCountdownClosesTheRecordEditorWithItsEditsThenLocks)
{
    OpenWindow();
    Protect();
    AddRecords({"alpha"});
    m_view->GetRecordList().SelectItem(0, TRUE);
    zvtest::ScriptedModal modal;
    bool lockedInEditor = true;
    modal.OnModal([&](CWnd& dlg) {
        dlg.SetDlgItemText(CDetailViewDlg::FieldEditId(0), "alpha edited");
        Expire();
        lockedInEditor = m_view->IsLocked();
    });
    WhileLocked seen;
    modal.OnModal(Unlock(seen));
    Command(ID_EDIT_ITEM);
    EXPECT_FALSE(lockedInEditor) << "the editor's caller still held its record";
    EXPECT_TRUE(zvtest::PumpUntil([&] { return seen.asked && !m_view->IsLocked(); }, 10000));
    EXPECT_TRUE(seen.locked);
    ASSERT_EQ(1, Rows());
    CRecord* record = m_view->GetRecordList().GetRecordAt(0);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ("alpha edited", std::string(record->GetField(0).GetString()));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(ViewLocking, ClearingRemovesOnlyTheProgramsOwnText)
{
    OpenWindow();
    // Someone else's text, with nothing copied by the program.
    PutForeignText("shopping list");
    EXPECT_FALSE(m_view->IsProgramTextOnClipboard());
    Command(ID_CLEAR_CLIPBOARD);
    EXPECT_EQ("shopping list", ClipboardText());

    // A field value the program copied is cleared by the command...
    ASSERT_TRUE(m_view->CopyTextToClipboard("s3cret"));
    EXPECT_TRUE(m_view->IsProgramTextOnClipboard());
    Command(ID_CLEAR_CLIPBOARD);
    EXPECT_EQ("<none>", ClipboardText());
    EXPECT_TRUE(m_view->IsClipboardClean());

    // ...and by the timer...
    ASSERT_TRUE(m_view->CopyTextToClipboard("s3cret"));
    ::SendMessageA(m_view->m_hWnd, WM_TIMER, ZV_TIMER_CLEAR_CLIPBOARD, 0);
    EXPECT_EQ("<none>", ClipboardText());

    // ...but not once another program has put its own text over it.
    ASSERT_TRUE(m_view->CopyTextToClipboard("s3cret"));
    PutForeignText("my own note");
    EXPECT_FALSE(m_view->IsProgramTextOnClipboard());
    Command(ID_CLEAR_CLIPBOARD);
    ::SendMessageA(m_view->m_hWnd, WM_TIMER, ZV_TIMER_CLEAR_CLIPBOARD, 0);
    EXPECT_EQ("my own note", ClipboardText());

    // The program's exchange text is its own wherever it came from.
    PutForeignText("Zorvikan Zkv File -v3.0\r\nF\r\n");
    EXPECT_TRUE(m_view->IsProgramTextOnClipboard());
    Command(ID_CLEAR_CLIPBOARD);
    EXPECT_EQ("<none>", ClipboardText());
}

TEST_F(ViewLocking, AtTheEndOnlyTheProgramsTextIsCleared)
{
    Prefs()->SetClearClipboardOnExit(User(), 1);
    OpenWindow();
    PutForeignText("keep me");
    CloseWindow();
    EXPECT_EQ("keep me", ClipboardText());

    OpenWindow();
    ASSERT_TRUE(m_view->CopyTextToClipboard("s3cret"));
    CloseWindow();
    EXPECT_EQ("<none>", ClipboardText());
}

TEST_F(ViewLocking, TheClipboardTimerFollowsTheUsersSettingAndTheOptions)
{
    Prefs()->SetClearClipboardTimer(User(), CAppPrefs::TimerPair{1, 2});
    OpenWindow();
    EXPECT_TRUE(m_view->IsClipboardTimerSet());
    m_view->SetClearClipboardOptions(true, false, 2);
    EXPECT_FALSE(m_view->IsClipboardTimerSet());
    EXPECT_TRUE(Prefs()->GetClearClipboardOnExit(User()));
    EXPECT_EQ(0, Prefs()->GetClearClipboardTimer(User()).enabled);
    // No minutes: no timer that would clear as fast as timers run.
    m_view->SetClearClipboardOptions(false, true, 0);
    EXPECT_FALSE(m_view->IsClipboardTimerSet());
    m_view->SetClearClipboardOptions(false, true, 5);
    EXPECT_TRUE(m_view->IsClipboardTimerSet());
}

}  // namespace
