#include "sync/dialogs/SyncSettingsDlg.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <memory>

#include "app/res/SyncFilesRes.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "framework/CException.h"
#include "framework/CList.h"
#include "framework/CommonDialogs.h"
#include "framework/MessageMap.h"
#include "framework/ModalSeam.h"
#include "framework/WndMessages.h"
#include "sync/SyncIds.h"
#include "sync/dialogs/RemotePasswordDlg.h"
#include "sync/files/SyncDatabase.h"
#include "sync/files/SyncResult.h"

namespace {

const int kColumnPath = 0;
const int kColumnMode = 1;
const int kColumnRule = 2;
const int kColumnStartup = 3;
const int kColumnExit = 4;
const int kColumnProgress = 5;

// Grid lines, check boxes, full-row select.
const DWORD kListExStyle = 0x25;

const UINT kIdsToHideInAutoRuns[] = {IDC_SYNC_ADD_FILE,    IDC_SYNC_CHECK_ALL, IDC_SYNC_SELECTED, IDC_SYNC_REMOVE_FILE,
                                     IDC_SYNC_UNCHECK_ALL, IDC_SYNC_NOW,       IDC_SYNC_APPLY,    IDCANCEL};

CString CellText(HWND list, int row, int column)
{
    char buffer[MAX_PATH + 1] = {};
    ListView_GetItemText(list, row, column, buffer, sizeof(buffer));
    return CString(buffer);
}

void SetCellText(HWND list, int row, int column, const char* text)
{
    ListView_SetItemText(list, row, column, const_cast<char*>(text));
}

std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

}  // namespace

BEGIN_MESSAGE_MAP(CSyncSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_SYNC_ADD_FILE, &CSyncSettingsDlg::OnAddFile)
    ON_BN_CLICKED(IDC_SYNC_REMOVE_FILE, &CSyncSettingsDlg::OnRemoveFile)
    ON_BN_CLICKED(IDC_SYNC_CHECK_ALL, &CSyncSettingsDlg::OnCheckAll)
    ON_BN_CLICKED(IDC_SYNC_UNCHECK_ALL, &CSyncSettingsDlg::OnUncheckAll)
    ON_BN_CLICKED(IDC_SYNC_SELECTED, &CSyncSettingsDlg::OnSyncSelected)
    ON_BN_CLICKED(IDC_SYNC_NOW, &CSyncSettingsDlg::OnSyncNow)
    ON_BN_CLICKED(IDC_SYNC_OK, &CSyncSettingsDlg::OnOK)
    ON_BN_CLICKED(IDC_SYNC_APPLY, &CSyncSettingsDlg::OnApply)
    ON_WM_TIMER()
    ON_MESSAGE(WM_COMBOLIST_GET_CHOICES, &CSyncSettingsDlg::OnGetChoices)
    ON_MESSAGE(WM_COMBOLIST_CELL_EDITED, &CSyncSettingsDlg::OnCellEdited)
END_MESSAGE_MAP()

CSyncSettingsDlg::CSyncSettingsDlg(CDatabaseObj* database, int runKind, CWnd* pParent, CUserItem* user)
    : CDialog(IDD_SYNC_SETTINGS, pParent), m_database(database), m_runKind(runKind), m_user(user)
{}

CSyncSettingsDlg::~CSyncSettingsDlg() = default;

BOOL CSyncSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_SYNC_FILE_LIST, this);
    m_hList = m_list.m_hWnd;
    const struct {
        const char* heading;
        int width;
    } columns[] = {{"Database File Name", 250}, {"Sync Mode", 130},    {"In Case Of Conflict", 150},
                   {"Sync On Startup", 100},    {"Sync On Exit", 100}, {"Sync Progress", 175}};
    for (int i = 0; i < 6; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].heading);
        column.cx = columns[i].width;
        column.iSubItem = i;
        ListView_InsertColumn(m_hList, i, &column);
    }
    ListView_SetExtendedListViewStyle(m_hList, kListExStyle);
    m_list.SetReadOnlyColumn(kColumnPath, TRUE);
    for (int column = kColumnMode; column <= kColumnExit; ++column) m_list.SetComboColumn(column, TRUE);
    m_list.SetProgressColumn(kColumnProgress);
    m_list.EnableComboVScroll(TRUE);

    try {
        m_records = LoadSyncFiles(*Prefs(), m_user);
    } catch (...) {
        m_records.clear();
    }
    for (const SyncFileRecord& record : m_records) AddRow(record);

    if (m_runKind != kSyncRunByCommand) {
        for (UINT id : kIdsToHideInAutoRuns) ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);
        SetTimer(ID_TIMER_SYNC_FILES_AUTORUN, 50);
    }
    return TRUE;
}

void CSyncSettingsDlg::AddRow(const SyncFileRecord& record)
{
    const int row = ListView_GetItemCount(m_hList);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    // A field read from the file may lack its terminator.
    const CString path(record.path, static_cast<int>(strnlen(record.path, sizeof(record.path))));
    item.pszText = const_cast<char*>(static_cast<const char*>(path));
    ListView_InsertItem(m_hList, &item);
    const CString texts[] = {
        CString(record.mode, static_cast<int>(strnlen(record.mode, sizeof(record.mode)))),
        CString(record.rule, static_cast<int>(strnlen(record.rule, sizeof(record.rule)))),
        CString(record.onStartup, static_cast<int>(strnlen(record.onStartup, sizeof(record.onStartup)))),
        CString(record.onExit, static_cast<int>(strnlen(record.onExit, sizeof(record.onExit))))};
    for (int i = 0; i < 4; ++i) SetCellText(m_hList, row, kColumnMode + i, texts[i]);
    ListView_SetCheckState(m_hList, row, IsChecked(record) ? TRUE : FALSE);
}

void CSyncSettingsDlg::OnAddFile()
{
    CFileDialog dialog(TRUE, "zdb", nullptr, 0, "ZDB Files (*.zdb)|*.zdb|All Files (*.*)|*.*||", this);
    if (dialog.DoModal() != IDOK) return;
    const CString path = dialog.GetPathName();
    if (path == CAppPrefMgr::GetInstance()->GetUserDirectory(m_user) + "\\ZorvikanDatabase.zdb") {
        AfxMessageBox("Sync with your own file is not possible.", MB_OK);
        return;
    }
    if (ReadDatabaseFileVersion(path) != (m_database->GetFormatVersion() & 0xFFFF)) {
        AfxMessageBox("Database versions do not match. Cannot sync with this file.", MB_OK);
        return;
    }
    const int rows = ListView_GetItemCount(m_hList);
    for (int row = 0; row < rows; ++row) {
        if (CellText(m_hList, row, kColumnPath) == path) {
            AfxMessageBox("File already exists.", MB_OK);
            return;
        }
    }
    AddRow(NewSyncFileRecord(path));
}

void CSyncSettingsDlg::OnRemoveFile()
{
    const int row = ListView_GetSelectionMark(m_hList);
    if (row >= 0) ListView_DeleteItem(m_hList, row);
}

void CSyncSettingsDlg::SetAllChecks(bool checked)
{
    const int rows = ListView_GetItemCount(m_hList);
    for (int row = 0; row < rows; ++row) ListView_SetCheckState(m_hList, row, checked ? TRUE : FALSE);
}

void CSyncSettingsDlg::OnCheckAll() { SetAllChecks(true); }
void CSyncSettingsDlg::OnUncheckAll() { SetAllChecks(false); }

void CSyncSettingsDlg::OnApply()
{
    std::vector<SyncFileRecord> rows;
    const int count = ListView_GetItemCount(m_hList);
    for (int row = 0; row < count; ++row)
        rows.push_back(MakeSyncFileRecord(CellText(m_hList, row, kColumnPath), CellText(m_hList, row, kColumnMode),
                                          CellText(m_hList, row, kColumnRule), CellText(m_hList, row, kColumnStartup),
                                          CellText(m_hList, row, kColumnExit),
                                          ListView_GetCheckState(m_hList, row) != 0));
    StoreSyncFiles(*Prefs(), m_user, rows);
}

void CSyncSettingsDlg::OnOK()
{
    OnApply();
    EndDialog(IDOK);
}

void CSyncSettingsDlg::ShowProgressBar(int row)
{
    DestroyProgressBar();
    m_list.ShowProgressBar(row);
    CProgressCtrl* bar = m_list.GetProgressBar();
    m_hProgress = bar ? bar->m_hWnd : nullptr;
}

void CSyncSettingsDlg::DestroyProgressBar()
{
    m_list.DestroyProgressBar();
    m_hProgress = nullptr;
}

int CSyncSettingsDlg::SyncRow(int row)
{
    ShowProgressBar(row);
    CSyncDatabase job;
    job.SetPath(CellText(m_hList, row, kColumnPath));
    job.SetMode(SyncModeFromText(CellText(m_hList, row, kColumnMode)));
    job.SetRule(SyncRuleFromText(CellText(m_hList, row, kColumnRule)));
    CRemotePasswordDlgPrompt dialogPrompt(this);
    job.SetPasswordPrompt(m_prompt ? m_prompt : &dialogPrompt);
    CSyncFileProgress progress(this);
    const int result = job.Sync(*m_database, &progress);
    SetCellText(m_hList, row, kColumnProgress, SyncResultText(result));
    DestroyProgressBar();
    if (result != kSyncSuccess && job.WroteRemoteFile())
        AfxMessageBox(job.GetPath() + " -- The file was synchronized, but this database could not be saved.", MB_OK);
    return result;
}

void CSyncSettingsDlg::OnSyncSelected()
{
    const int row = ListView_GetSelectionMark(m_hList);
    if (row < 0) {
        AfxMessageBox("No file selected.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    SyncRow(row);
}

void CSyncSettingsDlg::OnSyncNow()
{
    int synced = 0;
    const int rows = ListView_GetItemCount(m_hList);
    for (int row = 0; row < rows; ++row) {
        if (!ListView_GetCheckState(m_hList, row)) continue;
        // The automatic runs go by the flags stored for that position.
        if (m_runKind != kSyncRunByCommand) {
            if (static_cast<size_t>(row) >= m_records.size()) continue;
            const SyncFileRecord& stored = m_records[static_cast<size_t>(row)];
            const char* flag = m_runKind == kSyncRunAtStartup ? stored.onStartup : stored.onExit;
            if (CString(flag, static_cast<int>(strnlen(flag, 5))) != "Yes") continue;
        }
        ++synced;
        try {
            SyncRow(row);
        } catch (...) {
            DestroyProgressBar();
            SetCellText(m_hList, row, kColumnProgress, "Failed!");
            AfxMessageBox(CellText(m_hList, row, kColumnPath) + " -- Failed To Sync This File", MB_OK);
        }
    }
    if (synced == 0 && m_runKind == kSyncRunByCommand) AfxMessageBox("No file selected.", MB_OK | MB_ICONINFORMATION);
    if (m_runKind != kSyncRunByCommand) EndDialog(IDCANCEL);
}

void CSyncSettingsDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != ID_TIMER_SYNC_FILES_AUTORUN) return;
    KillTimer(ID_TIMER_SYNC_FILES_AUTORUN);
    OnSyncNow();
}

LRESULT CSyncSettingsDlg::OnGetChoices(WPARAM wParam, LPARAM lParam)
{
    CStringList* choices = reinterpret_cast<CStringList*>(lParam);
    if (!choices) return 0;
    choices->RemoveAll();
    // Offered only while the focus is inside this dialog.
    RECT focus = {}, own = {};
    HWND focused = ::GetFocus();
    if (!focused || !::GetWindowRect(focused, &focus) || !::GetWindowRect(m_hWnd, &own)) return 0;
    const POINT corner = {focus.left, focus.top};
    if (!::PtInRect(&own, corner)) return 0;
    const int column = static_cast<int>(wParam);
    if (column == kColumnMode)
        for (int i = 0; i <= 2; ++i) choices->AddTail(CString(SyncModeText(i)));
    else if (column == kColumnRule)
        for (int i = 0; i <= 2; ++i) choices->AddTail(CString(SyncRuleText(i)));
    else if (column == kColumnStartup || column == kColumnExit) {
        choices->AddTail(CString("Yes"));
        choices->AddTail(CString("No"));
    }
    return 0;
}

LRESULT CSyncSettingsDlg::OnCellEdited(WPARAM, LPARAM) { return 0; }

void CSyncFileProgress::Show()
{
    HWND bar = m_dialog->m_hProgress;
    if (!bar) return;
    ::SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(m_pos), 0);
    ::UpdateWindow(bar);
}

void CSyncFileProgress::SetRange(int total)
{
    if (!m_dialog->m_hProgress) return;
    ::SendMessageA(m_dialog->m_hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(total)));
    m_pos = 0;
    Show();
}

void CSyncFileProgress::SetPos(int position)
{
    m_pos = position;
    Show();
}

void CSyncFileProgress::Step()
{
    if (!m_dialog->m_hProgress) return;
    ++m_pos;
    Show();
}

INT_PTR OpenSyncSettings(CDatabaseObj* database, CUserItem* user, CWnd* pParent)
{
    CSyncSettingsDlg dialog(database, kSyncRunByCommand, pParent, user);
    return dialog.DoModal();
}

bool RunAutoSyncs(CDatabaseObj* database, CUserItem* user, bool onExit, CWnd* pParent)
{
    if (!HasAutoSyncFile(*Prefs(), user, onExit)) return false;
    CSyncSettingsDlg dialog(database, onExit ? kSyncRunAtExit : kSyncRunAtStartup, pParent, user);
    dialog.DoModal();
    return true;
}
