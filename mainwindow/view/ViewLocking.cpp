// The main view's auto-lock countdown, the lock and unlock, and the clearing
// of the program's text from the clipboard.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <cstring>
#include <utility>

#include "app/frame/MainFrm.h"
#include "app/history/LogEvents.h"
#include "app/logon/GetPasswordDlg.h"
#include "app/logon/StartupLogon.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/UserItem.h"
#include "framework/FrameworkRes.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"
#include "toolkit/ToolkitIds.h"

namespace {

const char kRecordEditorCaption[] = "Detail View";

// The shown dialogs of this thread: the record editor, and whether any other
// is open (an editor's own dialogs, message boxes and sheets among them).
struct OpenDialogs {
    HWND recordEditor = nullptr;
    bool other = false;
};

BOOL CALLBACK NoteOpenDialog(HWND wnd, LPARAM param)
{
    if (!::IsWindowVisible(wnd)) return TRUE;
    char className[16] = {};
    ::GetClassNameA(wnd, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0) return TRUE;
    char caption[64] = {};
    ::GetWindowTextA(wnd, caption, sizeof caption);
    OpenDialogs& open = *reinterpret_cast<OpenDialogs*>(param);
    if (std::strcmp(caption, kRecordEditorCaption) == 0 && !open.recordEditor)
        open.recordEditor = wnd;
    else
        open.other = true;
    return TRUE;
}

OpenDialogs FindOpenDialogs()
{
    OpenDialogs open;
    ::EnumThreadWindows(::GetCurrentThreadId(), &NoteOpenDialog, reinterpret_cast<LPARAM>(&open));
    return open;
}

std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

}  // namespace

void CZorvikanDesktopView::RestartAutoLockTimer()
{
    if (!m_hWnd) return;
    KillTimer(ZV_TIMER_AUTO_LOCK);
    m_nAutoLockTimer = 0;
    if (m_lockState.IsLocked()) return;
    CUserItem* user = CurrentUser();
    if (!user) return;
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    if (!prefs->GetAutoLock(user) || !StartupUserHasMasterPassword(user)) return;
    if (const UINT delay = m_lockState.CountdownMs(prefs->GetSleepMinutes(user))) {
        m_nAutoLockTimer = SetTimer(ZV_TIMER_AUTO_LOCK, delay);
        if (m_nAutoLockTimer) m_lockState.NoteCountdownStarted();
    }
}

HWND CZorvikanDesktopView::FindRecordEditor() { return FindOpenDialogs().recordEditor; }

bool CZorvikanDesktopView::IsOtherDialogOpen() const { return FindOpenDialogs().other; }

void CZorvikanDesktopView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == ZV_TIMER_AUTO_LOCK) {
        KillTimer(ZV_TIMER_AUTO_LOCK);
        m_nAutoLockTimer = 0;
        if (!m_lockState.IsLocked()) {
            const OpenDialogs open = FindOpenDialogs();
            switch (CViewLockState::OnCountdownExpired(open.recordEditor != nullptr, open.other)) {
            case CViewLockState::Expiry::Lock: LockProgram(true); break;
            case CViewLockState::Expiry::CloseEditorFirst:
                // The editor's caller still holds its record: the lock waits
                // until the editor's loop has ended and its caller returned.
                CloseRecordEditor();
                PostMessage(WM_DEFERRED_LOCK);
                break;
            case CViewLockState::Expiry::Rearm: RestartAutoLockTimer(); break;
            }
        }
    } else if (nIDEvent == ZV_TIMER_CLEAR_CLIPBOARD) {
        ClearProgramClipboard();
    }
    CView::OnTimer(nIDEvent);
}

LRESULT CZorvikanDesktopView::OnDeferredLock(WPARAM, LPARAM)
{
    if (m_lockState.IsLocked()) return 0;
    const OpenDialogs open = FindOpenDialogs();
    // The editor refused to close (its own message is up), or another
    // dialog came meanwhile: the countdown starts again instead.
    if (open.recordEditor || open.other)
        RestartAutoLockTimer();
    else
        LockProgram(true);
    return 0;
}

void CZorvikanDesktopView::OnLock()
{
    CUserItem* user = CurrentUser();
    if (!user) return;
    if (!StartupUserHasMasterPassword(user)) {
        AfxMessageBox("You need to set a password first.", MB_OK);
        return;
    }
    LockProgram(false);
}

void CZorvikanDesktopView::CloseRecordEditor()
{
    // Its edits are kept, as by its OK button.
    if (HWND editor = FindRecordEditor()) ::SendMessageA(editor, WM_COMMAND, IDOK, 0);
}

void CZorvikanDesktopView::LockProgram(bool autoLock)
{
    CUserItem* user = CurrentUser();
    if (!user || m_lockState.IsLocked()) return;
    KillTimer(ZV_TIMER_AUTO_LOCK);
    m_nAutoLockTimer = 0;
    CloseRecordEditor();
    // A refused save is not reported: the lock goes on all the same. Nothing
    // is saved again until the unlock.
    m_database.Save();
    const bool wasReadOnly = m_database.IsReadOnly();
    m_database.SetReadOnly();
    CZorvikanDesktopApp* app = App();
    if (app) app->SetLogonPending(TRUE);
    m_lockState.ClearReloadDue();
    m_lockState.SetLocked(true);
    // The unlock shows the same record again, by its id: a reopen makes
    // every record anew.
    const CRecord* selected = GetSelectedRecord();
    const int32_t selectedId = selected ? selected->GetId() : 0;
    const uint32_t sortKey = m_viewState.sortKey;

    if (m_nViewMode == kViewModePanel) {
        if (m_panelTypes.m_hWnd) m_panelTypes.DeleteAllItems();
        if (m_panelRecords.m_hWnd) m_panelRecords.DeleteAllItems();
    } else if (m_nViewMode == kViewModeTree) {
        if (m_tree.m_hWnd) m_tree.DeleteAllItems();
    } else if (m_recordList.m_hWnd) {
        m_recordList.DeleteAllItems();
    }
    ShowDetails(nullptr);
    // Put aside for Quit only: the exit's automatic backup of a protected
    // database is written under the master key or not at all.
    BlowfishKeyPtr exitKey = GetMasterPwdMgr()->GetKey();
    GetMasterPwdMgr()->ClearPassword();

    CGetPasswordDlg dlg(this, app && app->GetUsers().GetCount() > 1);
    dlg.m_pUser = user;
    dlg.m_bLockUser = true;
    if (app) dlg.m_pUsers = &app->GetUsers();
    m_pluginLink.SetBusy(1);
    CLogEvents::GetInstance()->AddEvent("Lock application", "Application locked", user->GetDisplayName());
    if (dlg.DoModal() != IDOK) {
        // Quit ends the program the way Exit does, once this handler has
        // returned: view state, event log, clipboard, file syncs, backup.
        GetMasterPwdMgr()->SetKey(std::move(exitKey));
        if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_COMMAND, ID_APP_EXIT);
        return;
    }
    exitKey.reset();

    const bool reopen = autoLock || m_lockState.IsReloadDue();
    // A database that did not load stays read-only; a reopen decides anew.
    if (!wasReadOnly) m_database.ClearReadOnly();
    m_lockState.ClearReloadDue();
    m_lockState.SetLocked(false);
    if (reopen) {
        // The reload starts from all types and categories; the sort stays.
        ReloadAndRefresh(user, true);
        if (m_viewState.sortKey != sortKey) {
            m_viewState.sortKey = sortKey;
            if (m_nViewMode == kViewModeList) SortRecordList();
        }
    } else {
        FillCurrentMode();
    }
    SelectShownRecord(selectedId != 0 ? static_cast<CRecord*>(m_database.GetRecords().FindById(selectedId)) : nullptr);
    if (app) app->SetLogonPending(FALSE);
    m_pluginLink.SetBusy(0);
}

// ---- Clipboard --------------------------------------------------------------

bool CZorvikanDesktopView::IsProgramTextOnClipboard()
{
    if (!::OpenClipboard(m_hWnd)) return false;
    const DWORD sequence = ::GetClipboardSequenceNumber();
    bool program = false;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(::GlobalLock(data))) {
            program = m_clipboard.IsProgramText(text, ::GlobalSize(data), sequence);
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return program;
}

void CZorvikanDesktopView::ClearProgramClipboard()
{
    if (!::OpenClipboard(m_hWnd)) return;
    // Read before the text is asked for: a text made from another format on
    // request must not pass for a change of the clipboard.
    const DWORD sequence = ::GetClipboardSequenceNumber();
    bool clear = false;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(::GlobalLock(data))) {
            clear = m_clipboard.ShouldClear(text, ::GlobalSize(data), sequence);
            ::GlobalUnlock(data);
        }
    }
    if (clear && ::EmptyClipboard()) m_clipboard.NoteCleared();
    ::CloseClipboard();
}

void CZorvikanDesktopView::OnClearClipboard() { ClearProgramClipboard(); }

void CZorvikanDesktopView::OnUpdateClearClipboard(CCmdUI* pCmdUI) { pCmdUI->Enable(IsProgramTextOnClipboard()); }

void CZorvikanDesktopView::SetClipboardTimer(bool enabled, int minutes)
{
    if (!m_hWnd) return;
    // A period of no minutes would clear the clipboard as fast as timers run.
    if (enabled && minutes > 0) {
        m_bClipboardTimer = SetTimer(ZV_TIMER_CLEAR_CLIPBOARD, (UINT)minutes * 60u * 1000u) != 0;
    } else {
        KillTimer(ZV_TIMER_CLEAR_CLIPBOARD);
        m_bClipboardTimer = false;
    }
}

std::pair<bool, int> CZorvikanDesktopView::GetClearClipboardTimerSetting()
{
    CUserItem* user = CurrentUser();
    if (!user) return {false, 0};
    const CAppPrefs::TimerPair timer = Prefs()->GetClearClipboardTimer(user);
    return {timer.enabled != 0, timer.minutes};
}

void CZorvikanDesktopView::SetClearClipboardOptions(bool onExit, bool timerOn, int minutes)
{
    SetClipboardTimer(timerOn, minutes);
    CUserItem* user = CurrentUser();
    if (!user) return;
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    // Only what changed is written.
    if (prefs->GetClearClipboardOnExit(user) != onExit) prefs->SetClearClipboardOnExit(user, onExit ? 1 : 0);
    const CAppPrefs::TimerPair before = prefs->GetClearClipboardTimer(user);
    if ((before.enabled != 0) != timerOn || before.minutes != minutes)
        prefs->SetClearClipboardTimer(user, CAppPrefs::TimerPair{timerOn ? 1 : 0, minutes});
}
