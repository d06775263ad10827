// The "File Synchronization" dialog run modally with scripted steps: the
// list it shows and stores, its buttons, and the start-up and exit runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "app/res/SyncFilesRes.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/UserItem.h"
#include "framework/CList.h"
#include "framework/WinApp.h"
#include "sync/SyncIds.h"
#include "sync/dialogs/SyncSettingsDlg.h"
#include "toolkit/editors/InPlaceEdit.h"
#include "sync/files/SyncResult.h"
#include "tests/core/UserRecordTestSupport.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestText.h"
#include "tests/sync/SyncFilesTestDb.h"

namespace fs = std::filesystem;
using namespace zvtest;

namespace {

CWinApp theApp("Zorvikan Desktop");

std::string Cell(HWND list, int row, int column)
{
    char buffer[MAX_PATH + 1] = {};
    ListView_GetItemText(list, row, column, buffer, sizeof(buffer));
    return buffer;
}

// Lets the dialog's own timer and messages run until it ends.
void LetItRun(CWnd& wnd)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (wnd.ContinueModal() && std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

class SyncSettingsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager = std::make_shared<CAppPrefMgr>(CString(m_root.Path().string().c_str()));
        m_previous = CAppPrefMgr::ReplaceInstance(m_manager);
        m_prefs = m_manager->GetPrefs();
        GetMasterPwdMgr()->ClearPassword();
        current = fs::path(m_manager->GetUserDirectory(&m_user).GetString()) / "ZorvikanDatabase.zdb";
        remote = m_root.Path() / "other" / "remote.zdb";
        WriteSyncDb(current, nullptr, {{kCurrentUid, {"only current", 50}}});
        WriteSyncDb(remote, nullptr, {{kRemoteUid, {"only remote", 60}}});
        ASSERT_EQ(db.Load(WinPath(current), nullptr), 0);
    }
    void TearDown() override { CAppPrefMgr::ReplaceInstance(m_previous); }
    void Store(const std::vector<SyncFileRecord>& records) { StoreSyncFiles(*m_prefs, &m_user, records); }
    SyncFileRecord Flagged(const char* start, const char* exit, bool checked, const char* mode = "Syncronize")
    {
        return MakeSyncFileRecord(WinPath(remote), CString(mode), CString("Remote Wins"), CString(start), CString(exit),
                                  checked);
    }

    ScratchDir m_root{"syncdlg"};
    std::shared_ptr<CAppPrefMgr> m_manager, m_previous;
    std::shared_ptr<CAppPrefs> m_prefs;
    CUserItem m_user{MakeUserRecord("Standalone", "_Standalone_", 3)};
    fs::path current, remote;
    CDatabaseObj db;
};

TEST_F(SyncSettingsDialog, ShowsTheStoredListAndAddsAFileAsBothWaysRemoteWinsUnchecked)
{
    Store({Flagged("Yes", "No", true, "Current To Remote")});
    const fs::path other = m_root.Path() / "other" / "second.zdb";
    WriteSyncDb(other, nullptr, {});
    ScriptedModal modal;
    modal.AnswerFileName(other.string().c_str());
    modal.AnswerFileName(other.string().c_str());  // a second time: refused
    modal.AnswerFileName(current.string().c_str());
    modal.AnswerFileName((m_root.Path() / "nowhere.zdb").string().c_str());
    modal.OnModal([&](CWnd& wnd) {
        auto& dlg = static_cast<CSyncSettingsDlg&>(wnd);
        HWND list = dlg.GetList();
        EXPECT_EQ(ListView_GetExtendedListViewStyle(list) & 0x25, 0x25u);
        ASSERT_EQ(ListView_GetItemCount(list), 1);
        EXPECT_EQ(Cell(list, 0, 0), remote.string());
        EXPECT_EQ(Cell(list, 0, 1), "Current To Remote");
        EXPECT_EQ(Cell(list, 0, 3), "Yes");
        EXPECT_TRUE(ListView_GetCheckState(list, 0));
        for (int i = 0; i < 4; ++i) ScriptedModal::PressButton(wnd, IDC_SYNC_ADD_FILE);
        ASSERT_EQ(ListView_GetItemCount(list), 2);
        EXPECT_EQ(Cell(list, 1, 0), other.string());
        EXPECT_EQ(Cell(list, 1, 1), "Syncronize");
        EXPECT_EQ(Cell(list, 1, 2), "Remote Wins");
        EXPECT_EQ(Cell(list, 1, 3), "No");
        EXPECT_EQ(Cell(list, 1, 4), "No");
        EXPECT_FALSE(ListView_GetCheckState(list, 1));
        ScriptedModal::PressButton(wnd, IDC_SYNC_OK);
    });
    CSyncSettingsDlg dlg(&db, kSyncRunByCommand, nullptr, &m_user);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(modal.MessageTexts(),
              (std::vector<std::string>{"File already exists.", "Sync with your own file is not possible.",
                                        "Database versions do not match. Cannot sync with this file."}));
    const auto stored = LoadSyncFiles(*m_prefs, &m_user);
    ASSERT_EQ(stored.size(), 2u);
    const SyncFileRecord added = NewSyncFileRecord(WinPath(other));
    EXPECT_EQ(0, std::memcmp(&stored[1], &added, sizeof(SyncFileRecord)));
}

TEST_F(SyncSettingsDialog, RemovingEveryRowAndApplyingKeepsTheStoredList)
{
    Store({Flagged("No", "No", true), Flagged("No", "Yes", false)});
    const std::string before = ReadFileBytes(m_manager->GetPreferencesFilePath().GetString());
    ScriptedModal modal;
    modal.OnModal([&](CWnd& wnd) {
        HWND list = static_cast<CSyncSettingsDlg&>(wnd).GetList();
        while (ListView_GetItemCount(list) > 0) {
            ListView_SetSelectionMark(list, 0);
            ScriptedModal::PressButton(wnd, IDC_SYNC_REMOVE_FILE);
        }
        ScriptedModal::PressButton(wnd, IDC_SYNC_APPLY);
        ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    CSyncSettingsDlg dlg(&db, kSyncRunByCommand, nullptr, &m_user);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(ReadFileBytes(m_manager->GetPreferencesFilePath().GetString()), before);
}

TEST_F(SyncSettingsDialog, SyncSelectedSyncsAnUncheckedRowAndShowsItsResult)
{
    Store({Flagged("No", "No", false)});
    ScriptedModal modal;
    std::string shown;
    modal.OnModal([&](CWnd& wnd) {
        HWND list = static_cast<CSyncSettingsDlg&>(wnd).GetList();
        ListView_SetSelectionMark(list, 0);
        ScriptedModal::PressButton(wnd, IDC_SYNC_SELECTED);
        shown = Cell(list, 0, 5);
        EXPECT_EQ(static_cast<CSyncSettingsDlg&>(wnd).GetProgressBar(), nullptr);
        ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    CSyncSettingsDlg dlg(&db, kSyncRunByCommand, nullptr, &m_user);
    dlg.DoModal();
    EXPECT_EQ(shown, "Success");
    EXPECT_EQ(NotesOfFile(current, nullptr).size(), 2u);
}

TEST_F(SyncSettingsDialog, SyncNowByCommandWithNothingCheckedSaysSo)
{
    Store({Flagged("Yes", "Yes", false)});
    ScriptedModal modal;
    modal.OnModal([&](CWnd& wnd) {
        ScriptedModal::PressButton(wnd, IDC_SYNC_NOW);
        ScriptedModal::PressButton(wnd, IDC_SYNC_SELECTED);  // no selection mark
        ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    CSyncSettingsDlg dlg(&db, kSyncRunByCommand, nullptr, &m_user);
    dlg.DoModal();
    EXPECT_EQ(modal.MessageTexts(), (std::vector<std::string>{"No file selected.", "No file selected."}));
    EXPECT_EQ(modal.MessageBoxes()[0].type & MB_ICONINFORMATION, static_cast<UINT>(MB_ICONINFORMATION));
}

// A failing row shows its result and the next row still runs.
TEST_F(SyncSettingsDialog, SyncNowShowsEachRowsResult)
{
    Store({MakeSyncFileRecord(WinPath(m_root.Path() / "gone.zdb"), CString("Syncronize"), CString("Remote Wins"),
                              CString("No"), CString("No"), true),
           Flagged("No", "No", true)});
    ScriptedModal modal;
    std::vector<std::string> shown;
    modal.OnModal([&](CWnd& wnd) {
        HWND list = static_cast<CSyncSettingsDlg&>(wnd).GetList();
        ScriptedModal::PressButton(wnd, IDC_SYNC_NOW);
        shown = {Cell(list, 0, 5), Cell(list, 1, 5)};
        ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    CSyncSettingsDlg dlg(&db, kSyncRunByCommand, nullptr, &m_user);
    dlg.DoModal();
    EXPECT_EQ(shown, (std::vector<std::string>{"Remote file read error", "Success"}));
    EXPECT_FALSE(fs::exists(m_root.Path() / "gone.zdb"));
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_F(SyncSettingsDialog, RemoteUnderAnotherPasswordAsksThroughItsDialog)
{
    WriteSyncDb(remote, MakeBlowfishKey(CSecretString("theirs")).get(), {{kRemoteUid, {"only remote", 60}}});
    Store({Flagged("No", "No", true)});
    ScriptedModal modal;
    std::vector<std::string> shown;
    modal.OnModal([&](CWnd& wnd) {
        HWND list = static_cast<CSyncSettingsDlg&>(wnd).GetList();
        ScriptedModal::PressButton(wnd, IDC_SYNC_NOW);
        shown.push_back(Cell(list, 0, 5));
        ScriptedModal::PressButton(wnd, IDC_SYNC_NOW);
        shown.push_back(Cell(list, 0, 5));
        ScriptedModal::PressButton(wnd, IDC_SYNC_NOW);
        shown.push_back(Cell(list, 0, 5));
        ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    std::string caption;
    modal.OnModal([&](CWnd& wnd) {
        char text[64] = {};
        ::GetWindowTextA(wnd.m_hWnd, text, sizeof(text));
        caption = text;
        ScriptedModal::PressButton(wnd, IDCANCEL);  // "Skip File.."
    });
    modal.OnModal([&](CWnd& wnd) {
        ::SetDlgItemTextA(wnd.m_hWnd, IDC_REMOTE_PASSWORD, "wrong");
        ScriptedModal::PressButton(wnd, IDOK);
    });
    modal.OnModal([&](CWnd& wnd) {
        ::SetDlgItemTextA(wnd.m_hWnd, IDC_REMOTE_PASSWORD, "theirs");
        ScriptedModal::PressButton(wnd, IDOK);
    });
    CSyncSettingsDlg dlg(&db, kSyncRunByCommand, nullptr, &m_user);
    dlg.DoModal();
    EXPECT_EQ(caption, "Enter Remote File Password..");
    EXPECT_EQ(shown, (std::vector<std::string>{"Skiped", "Password missmatch", "Success"}));
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(SyncSettingsDialog, ChoicesPerColumn)
{
    ScriptedModal modal;
    std::vector<std::vector<std::string>> offered;
    modal.OnModal([&](CWnd& wnd) {
        ::SetFocus(static_cast<CSyncSettingsDlg&>(wnd).GetList());
        for (int column = 0; column <= 5; ++column) {
            CStringList choices;
            choices.AddTail(CString("stale"));
            wnd.SendMessage(WM_COMBOLIST_GET_CHOICES, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&choices));
            std::vector<std::string> texts;
            for (POSITION pos = choices.GetHeadPosition(); pos;) texts.push_back(std::string(choices.GetNext(pos)));
            offered.push_back(texts);
        }
        ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    CSyncSettingsDlg dlg(&db, kSyncRunByCommand, nullptr, &m_user);
    dlg.DoModal();
    using V = std::vector<std::string>;
    EXPECT_EQ(offered,
              (std::vector<V>{V{}, V{"Current To Remote", "Remote To Current", "Syncronize"},
                              V{"Current Wins", "Remote Wins", "Latest Wins"}, V{"Yes", "No"}, V{"Yes", "No"}, V{}}));
}

// At start-up a flagged but unchecked file: the dialog opens and closes
// without syncing; checked, it syncs; at exit only the exit flag counts.
TEST_F(SyncSettingsDialog, StartupAndExitRuns)
{
    struct Case {
        const char* start;
        const char* exit;
        bool checked;
        bool onExit;
        bool shown;
        bool synced;
    };
    const Case cases[] = {
        {"No", "No", true, false, false, false}, {"Yes", "No", false, false, true, false},
        {"Yes", "No", true, true, false, false}, {"No", "Yes", true, true, true, true},
        {"Yes", "No", true, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << c.exit << c.checked << c.onExit);
        WriteSyncDb(remote, nullptr, {{kRemoteUid, {"only remote", 60}}});
        Store({Flagged(c.start, c.exit, c.checked, "Current To Remote")});
        const std::string before = ReadFileBytes(remote);
        ScriptedModal modal;
        modal.OnModal(LetItRun);
        EXPECT_EQ(RunAutoSyncs(&db, &m_user, c.onExit, nullptr), c.shown);
        EXPECT_EQ(ReadFileBytes(remote) != before, c.synced);
        EXPECT_TRUE(modal.MessageTexts().empty());
        EXPECT_TRUE(modal.Unanswered().empty());
    }
}

// The automatic runs show only the list and "Ok": seen from the password
// prompt of a file under another password, which the run opens.
TEST_F(SyncSettingsDialog, AutomaticRunShowsOnlyTheList)
{
    WriteSyncDb(remote, MakeBlowfishKey(CSecretString("theirs")).get(), {{kRemoteUid, {"only remote", 60}}});
    Store({Flagged("Yes", "No", true)});
    ScriptedModal modal;
    bool prompted = false, hidden = false;
    // The dialog's timer may fire before its first idle moment, so either
    // window may take a step first.
    auto step = [&](CWnd& wnd) {
        char caption[64] = {};
        ::GetWindowTextA(wnd.m_hWnd, caption, sizeof(caption));
        if (std::string(caption) != "Enter Remote File Password..") {
            LetItRun(wnd);
            return;
        }
        prompted = true;
        HWND owner = ::GetWindow(wnd.m_hWnd, GW_OWNER);
        auto shows = [&](int id) { return (::GetWindowLongA(::GetDlgItem(owner, id), GWL_STYLE) & WS_VISIBLE) != 0; };
        hidden = !shows(IDC_SYNC_ADD_FILE) && !shows(IDC_SYNC_REMOVE_FILE) && !shows(IDC_SYNC_CHECK_ALL) &&
                 !shows(IDC_SYNC_UNCHECK_ALL) && !shows(IDC_SYNC_SELECTED) && !shows(IDC_SYNC_NOW) &&
                 !shows(IDC_SYNC_APPLY) && !shows(IDCANCEL) && shows(IDC_SYNC_OK) && shows(IDC_SYNC_FILE_LIST);
        ScriptedModal::PressButton(wnd, IDCANCEL);
    };
    modal.OnModal(step);
    modal.OnModal(step);
    const std::string before = ReadFileBytes(remote);
    EXPECT_TRUE(RunAutoSyncs(&db, &m_user, false, nullptr));
    EXPECT_TRUE(prompted);
    EXPECT_TRUE(hidden);
    EXPECT_EQ(ReadFileBytes(remote), before);
    EXPECT_TRUE(modal.Unanswered().empty());
}

}  // namespace

namespace {

// A click on a cell of the list, as a person's click arrives.
void ClickCell(HWND list, int row, int column)
{
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    // Column 0's rectangle is the whole row: its start lies in column 0.
    const int x = cell.left + 10;
    const int y = (cell.top + cell.bottom) / 2;
    ::PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

TEST_F(SyncSettingsDialog, CellsAreEditedInPlaceAndStored)
{
    Store({Flagged("No", "No", true)});
    ScriptedModal modal;
    std::vector<std::string> offered;
    std::string mode, path;
    bool pathEditorOpened = true;
    modal.OnModal([&](CWnd& wnd) {
        HWND list = static_cast<CSyncSettingsDlg&>(wnd).GetList();
        ::SetFocus(list);
        ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        PumpPendingMessages();
        ClickCell(list, 0, 1);
        CInPlaceCombo* combo = CInPlaceCombo::Instance();
        if (combo->m_hWnd && ::IsWindow(combo->m_hWnd)) {
            for (int i = 0; i < combo->GetCount(); ++i) {
                CString text;
                combo->GetLBText(i, text);
                offered.push_back(text.GetString());
            }
            combo->SetCurSel(0);
            ::PostMessageA(combo->m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
            PumpPendingMessagesPreTranslated();
        }
        mode = Cell(list, 0, 1);
        ClickCell(list, 0, 0);
        pathEditorOpened =
            ::IsWindow(CInPlaceEdit::Instance()->m_hWnd) || ::IsWindow(CInPlaceCombo::Instance()->m_hWnd);
        path = Cell(list, 0, 0);
        ScriptedModal::PressButton(wnd, IDC_SYNC_OK);
    });
    CSyncSettingsDlg dlg(&db, kSyncRunByCommand, nullptr, &m_user);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(offered, (std::vector<std::string>{"Current To Remote", "Remote To Current", "Syncronize"}));
    EXPECT_EQ(mode, "Current To Remote");
    EXPECT_FALSE(pathEditorOpened);
    EXPECT_EQ(path, std::string(WinPath(remote)));
    const std::vector<SyncFileRecord> stored = LoadSyncFiles(*m_prefs, &m_user);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_STREQ(stored[0].mode, "Current To Remote");
}

}  // namespace
