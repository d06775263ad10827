#include "app/options/PrefSettingPS.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "app/frame/MainFrm.h"
#include "app/options/OptionsHost.h"
#include "app/res/ShellDialogsRes.h"
#include "app/services/SyncCommands.h"
#include "core/items/FilterKeys.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/items/ShowColumns.h"
#include "core/os/SystemInfo.h"
#include "core/store/DatabaseObj.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"

namespace {

const int kClipboardMaxMinutes = 60;

// Check box of each layout column 1..14 of the Show Column page.
const int kShowColumnBoxes[CPrefSettingPP4::kFlags] = {
    IDC_PREF_SHOW_TYPE,
    IDC_PREF_SHOW_CATEGORY,
    1033,
    1034,
    1035,
    1036,
    1037,
    1038,
    1039,
    IDC_PREF_SHOW_COLUMN8,
    IDC_PREF_SHOW_COLUMN9,
    IDC_PREF_SHOW_DATE_MOD,
    IDC_PREF_SHOW_NOTE,
    IDC_PREF_SHOW_ATTACHMENT,
};

// The sync mode of a radio group: desktop (0), handheld (1), else 2.
int ModeOfRadios(const CWnd& page, int sync, int desktop, int handheld)
{
    const int checked = page.GetCheckedRadioButton(sync, handheld);
    if (checked == desktop) return 0;
    if (checked == handheld) return 1;
    return 2;
}

int RadioOfMode(int mode, int sync, int desktop, int handheld)
{
    if (mode == 0) return desktop;
    if (mode == 1) return handheld;
    return sync;
}

CMainFrame* MainFrame()
{
    CWnd* wnd = AfxGetMainWnd();
    return wnd && wnd->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(wnd) : nullptr;
}

}  // namespace

void MarkSheetModified(CPropertyPage& page) { page.SetModified(TRUE); }

BOOL FillBrushBackground(CWnd& page, HDC hdc)
{
    RECT rect;
    ::GetClientRect(page.m_hWnd, &rect);
    ::FillRect(hdc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

int PointSizeOfFont(HWND window, const LOGFONTA& font)
{
    HDC hdc = ::GetWindowDC(window);
    const int perInch = ::GetDeviceCaps(hdc, LOGPIXELSY);
    int size;
    if (font.lfHeight < 0) {
        size = ::MulDiv(-font.lfHeight, 72, perInch);
    } else {
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(hdc, &metrics);
        size = ::MulDiv(font.lfHeight - metrics.tmInternalLeading, 72, perInch);
    }
    ::ReleaseDC(window, hdc);
    return size;
}

int ShowColumnOfFlag(int flag) { return flag >= 0 && flag < CPrefSettingPP4::kFlags ? flag + 1 : 0; }

int ShowColumnCheckBox(int flag) { return flag >= 0 && flag < CPrefSettingPP4::kFlags ? kShowColumnBoxes[flag] : 0; }

// ---- Security ---------------------------------------------------------------

CPrefSettingPP1::CPrefSettingPP1(IOptionsHost* host) : CPropertyPage(IDD_PREF_SECURITY), m_pHost(host) {}

void CPrefSettingPP1::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_PREF_AUTO_LOCK, m_bAutoLock);
    DDX_Check(pDX, IDC_PREF_AUTO_SUBMIT, m_bAutoSubmit);
    DDX_Text(pDX, IDC_PREF_SLEEP_MINUTES, m_nSleepMinutes);
    DDV_MinMaxInt(pDX, m_nSleepMinutes, 1, m_nMaxMinutes);
    DDX_Radio(pDX, IDC_PREF_SEARCH_FIELD1, m_nSearchMode);
}

int CPrefSettingPP1::ShownClipboardMinutes() const { return (int)GetDlgItemInt(IDC_PREF_CLEAR_MINUTES, nullptr, TRUE); }

BOOL CPrefSettingPP1::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SendDlgItemMessage(IDC_PREF_CLEAR_SPIN, UDM_SETRANGE32, 1, kClipboardMaxMinutes);
    if (!m_bHasPassword) {
        for (int id : {IDC_PREF_AUTO_LOCK, IDC_PREF_SLEEP_MINUTES, IDC_PREF_MINUTES_LABEL})
            ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);
    }
    CheckDlgButton(IDC_PREF_RUN_AT_STARTUP, m_pHost && m_pHost->IsRunAtStartup() ? BST_CHECKED : BST_UNCHECKED);
    CAppPrefs::TimerPair timer{0, 1};
    bool minimizeToTray = false, clearOnExit = false;
    if (CUserItem* user = m_pHost ? m_pHost->GetUser() : nullptr) {
        auto prefs = CAppPrefMgr::GetInstance()->GetPrefs();
        timer = prefs->GetClearClipboardTimer(user);
        minimizeToTray = prefs->GetMinimizeToSystemTray(user);
        clearOnExit = prefs->GetClearClipboardOnExit(user);
    }
    CheckDlgButton(IDC_PREF_CLEAR_ON_EXIT, clearOnExit ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(IDC_PREF_MINIMIZE_TRAY, IDC_PREF_MINIMIZE_TASKBAR,
                     minimizeToTray ? IDC_PREF_MINIMIZE_TRAY : IDC_PREF_MINIMIZE_TASKBAR);
    CheckDlgButton(IDC_PREF_CLEAR_AFTER, timer.enabled ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PREF_CLEAR_SPIN), timer.enabled ? TRUE : FALSE);
    SetDlgItemInt(IDC_PREF_CLEAR_MINUTES, timer.minutes < 0 ? 1 : timer.minutes, TRUE);
    if (CMainFrame* frame = MainFrame()) frame->SetMinimizeToTray(minimizeToTray ? 1 : 0);
    return TRUE;
}

BOOL CPrefSettingPP1::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_PREF_CLEAR_AFTER:
            ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PREF_CLEAR_SPIN), IsDlgButtonChecked(IDC_PREF_CLEAR_AFTER) != 0);
            MarkSheetModified(*this);
            break;
        case IDC_PREF_RUN_AT_STARTUP:
            m_bStartupChanged = 1;
            MarkSheetModified(*this);
            break;
        case IDC_PREF_CLEAR_ON_EXIT:
        case IDC_PREF_SEARCH_FIELD1:
        case IDC_PREF_SEARCH_ALL:
        case IDC_PREF_MINIMIZE_TRAY:
        case IDC_PREF_MINIMIZE_TASKBAR:
        case IDC_PREF_AUTO_SUBMIT:
        case IDC_PREF_AUTO_LOCK: MarkSheetModified(*this); break;
        default: break;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

BOOL CPrefSettingPP1::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->idFrom == IDC_PREF_CLEAR_SPIN && header->code == UDN_DELTAPOS) {
        auto* change = reinterpret_cast<NMUPDOWN*>(lParam);
        int minutes = ShownClipboardMinutes() + change->iDelta;
        if (minutes < 1) minutes = 1;
        if (minutes > kClipboardMaxMinutes) minutes = kClipboardMaxMinutes;
        SetDlgItemInt(IDC_PREF_CLEAR_MINUTES, minutes, TRUE);
        MarkSheetModified(*this);
        *pResult = 1;  // the static shows the value, not the control
        return TRUE;
    }
    return CPropertyPage::OnNotify(wParam, lParam, pResult);
}

BOOL CPrefSettingPP1::OnApply()
{
    const bool minimizeToTray = IsDlgButtonChecked(IDC_PREF_MINIMIZE_TRAY) != 0;
    if (m_pHost) {
        if (m_bStartupChanged) {
            m_bStartupChanged = 0;
            m_pHost->SetRunAtStartup(IsDlgButtonChecked(IDC_PREF_RUN_AT_STARTUP) != 0);
        }
        m_pHost->SetMinimizeToTray(minimizeToTray);
        m_pHost->SetClearClipboardOptions(IsDlgButtonChecked(IDC_PREF_CLEAR_ON_EXIT) != 0,
                                          IsDlgButtonChecked(IDC_PREF_CLEAR_AFTER) != 0, ShownClipboardMinutes());
    }
    if (CMainFrame* frame = MainFrame()) frame->SetMinimizeToTray(minimizeToTray ? 1 : 0);
    return CPropertyPage::OnApply();
}

// ---- User Data ----------------------------------------------------------------

CPrefSettingPP2::CPrefSettingPP2() : CPropertyPage(IDD_PREF_USER_DATA) {}

void CPrefSettingPP2::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PREF_BACKUP_LOCATION, m_strBackupLocation);
    DDX_Text(pDX, IDC_PREF_DATABASE_LOCATION, m_strDatabaseLocation);
    DDX_Text(pDX, IDC_PREF_RESTORE_LOCATION, m_strRestoreLocation);
}

BOOL CPrefSettingPP2::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PREF_RESTORE_LOCATION), SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PREF_CHOOSE_RESTORE), SW_HIDE);
    return TRUE;
}

void CPrefSettingPP2::ChooseInto(UINT titleId, CString& member)
{
    CString title;
    title.LoadString(titleId);
    CString folder;
    if (!AfxGetModalSeam().BrowseForFolder(m_hWnd, title, member, folder) || folder.IsEmpty()) return;
    member = folder;
    UpdateData(FALSE);
    MarkSheetModified(*this);
}

BOOL CPrefSettingPP2::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_PREF_CHOOSE_DATABASE: ChooseInto(IDS_CHOOSE_DATABASE_FOLDER, m_strDatabaseLocation); return TRUE;
        case IDC_PREF_CHOOSE_BACKUP: ChooseInto(IDS_CHOOSE_BACKUP_FOLDER, m_strBackupLocation); return TRUE;
        case IDC_PREF_CHOOSE_RESTORE: ChooseInto(IDS_CHOOSE_RESTORE_FOLDER, m_strRestoreLocation); return TRUE;
        default: break;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

// ---- Format ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPrefSettingPp3, CPropertyPage)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPrefSettingPp3::CPrefSettingPp3(IOptionsHost* host) : CPropertyPage(IDD_PREF_FORMAT), m_pHost(host) {}

// The page exchanges no data.
void CPrefSettingPp3::DoDataExchange(CDataExchange*) {}

void CPrefSettingPp3::ShowFontText()
{
    if (!m_pHost) return;
    const LOGFONTA font = m_pHost->GetListFont();
    CString text;
    text.Format("%s - %d pt size", font.lfFaceName, PointSizeOfFont(m_pHost->GetViewWindow(), font));
    SetDlgItemText(IDC_PREF_FONT_TEXT, text);
}

BOOL CPrefSettingPp3::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ShowFontText();
    return TRUE;
}

BOOL CPrefSettingPp3::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && m_pHost) {
        if (LOWORD(wParam) == IDC_PREF_CHOOSE_FONT) {
            m_pHost->ChooseListFont();
            ShowFontText();
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_PREF_CHOOSE_COLOUR) {
            m_pHost->ChooseRowColour();
            RECT rect;
            HWND swatch = ::GetDlgItem(m_hWnd, IDC_PREF_ROW_SWATCH);
            ::GetWindowRect(swatch, &rect);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            InvalidateRect(&rect, TRUE);
            return TRUE;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CPrefSettingPp3::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    RECT rect;
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_PREF_ROW_SWATCH), &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    HBRUSH white = ::CreateSolidBrush(RGB(255, 255, 255));
    ::FillRect(hdc, &rect, white);
    ::DeleteObject(white);
    ::InflateRect(&rect, -3, -3);
    HBRUSH row = ::CreateSolidBrush(m_pHost ? m_pHost->GetRowColour() : RGB(255, 255, 255));
    ::FillRect(hdc, &rect, row);
    ::DeleteObject(row);
    ::EndPaint(m_hWnd, &ps);
}

// ---- Show Column -------------------------------------------------------------------

CPrefSettingPP4::CPrefSettingPP4(IOptionsHost* host) : CPropertyPage(IDD_PREF_SHOW_COLUMN), m_pHost(host) {}

void CPrefSettingPP4::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (int i = 0; i < kFlags; ++i) DDX_Check(pDX, kShowColumnBoxes[i], m_flags[i]);
}

BOOL CPrefSettingPP4::OnInitDialog()
{
    if (m_pHost) {
        uint8_t key[kUniqueKeySize];
        m_pHost->GetCurrentTypeKey(key);
        if (std::memcmp(key, KEY_ALL, kUniqueKeySize) != 0 && std::memcmp(key, KEY_UNFILED, kUniqueKeySize) != 0) {
            CStringArray labels;
            m_pHost->GetDatabase().GetTypes().GetFieldLabels(key, labels);
            CString format;
            format.LoadString(IDS_SHOW_FIELD_COLUMN);
            // Layout columns 3..12 carry field labels 1..10.
            for (int i = 0; i < 10 && i < (int)labels.GetSize(); ++i) {
                if (labels[i].IsEmpty()) continue;
                CString text = format;
                const int at = text.Find("%s");
                if (at >= 0) text = text.Left(at) + labels[i] + text.Mid(at + 2);
                SetDlgItemText(kShowColumnBoxes[i + 2], text);
            }
        }
        for (int i = 0; i < kFlags; ++i)
            m_flags[i] = m_pHost->GetColumns().IsColumnVisible((uint16_t)ShowColumnOfFlag(i)) ? 1 : 0;
    }
    return CPropertyPage::OnInitDialog();
}

BOOL CPrefSettingPP4::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        for (int box : kShowColumnBoxes)
            if (LOWORD(wParam) == box) MarkSheetModified(*this);
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

BOOL CPrefSettingPP4::OnApply()
{
    if (m_pHost && UpdateData(TRUE)) {
        CShowColumns& columns = m_pHost->GetColumns();
        for (int i = 0; i < kFlags; ++i) columns.SetColumnVisible((uint16_t)ShowColumnOfFlag(i), m_flags[i] == 1);
        m_pHost->GetDatabase().SetColumnsForAllTypes(columns);
        m_pHost->SaveListColumns();
        m_pHost->LoadListColumns(true);
        m_pHost->InvalidateRecordList();
    }
    return CPropertyPage::OnApply();
}

// ---- Sync ---------------------------------------------------------------------------

CPrefSettingPP5::CPrefSettingPP5() : CPropertyPage(IDD_PREF_SYNC) {}

BOOL CPrefSettingPP5::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ISyncCommands* sync = GetSyncCommands();
    const int saved = sync ? sync->GetSavedSyncMode() : 2;
    const int current = sync ? sync->GetSyncMode() : 2;
    CheckRadioButton(
        IDC_PREF_SYNC_DEFAULT_SYNC, IDC_PREF_SYNC_DEFAULT_HANDHELD,
        RadioOfMode(saved, IDC_PREF_SYNC_DEFAULT_SYNC, IDC_PREF_SYNC_DEFAULT_DESKTOP, IDC_PREF_SYNC_DEFAULT_HANDHELD));
    CheckRadioButton(
        IDC_PREF_SYNC_MODE_SYNC, IDC_PREF_SYNC_MODE_HANDHELD,
        RadioOfMode(current, IDC_PREF_SYNC_MODE_SYNC, IDC_PREF_SYNC_MODE_DESKTOP, IDC_PREF_SYNC_MODE_HANDHELD));
    const CString address = GetLocalIPAddress();
    if (!address.IsEmpty()) SetDlgItemText(IDC_PREF_SYNC_ADDRESS, address);
    return TRUE;
}

BOOL CPrefSettingPP5::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= IDC_PREF_SYNC_MODE_SYNC &&
        LOWORD(wParam) <= IDC_PREF_SYNC_DEFAULT_HANDHELD)
        MarkSheetModified(*this);
    return CPropertyPage::OnCommand(wParam, lParam);
}

BOOL CPrefSettingPP5::OnApply()
{
    if (ISyncCommands* sync = GetSyncCommands()) {
        sync->SetSyncMode(
            ModeOfRadios(*this, IDC_PREF_SYNC_MODE_SYNC, IDC_PREF_SYNC_MODE_DESKTOP, IDC_PREF_SYNC_MODE_HANDHELD));
        sync->SaveSyncMode(ModeOfRadios(*this, IDC_PREF_SYNC_DEFAULT_SYNC, IDC_PREF_SYNC_DEFAULT_DESKTOP,
                                        IDC_PREF_SYNC_DEFAULT_HANDHELD));
    }
    return CPropertyPage::OnApply();
}

// ---- Sheet ----------------------------------------------------------------------------

CPrefSettingPS::CPrefSettingPS(LPCSTR caption, IOptionsHost* host, CWnd* pParent, UINT firstPage)
    : CPropertySheet(caption, pParent, firstPage), m_security(host), m_format(host), m_showColumn(host)
{
    AddPage(&m_security);
    AddPage(&m_userData);
    AddPage(&m_format);
    AddPage(&m_showColumn);
    AddPage(&m_sync);
}

CPrefSettingPS::~CPrefSettingPS() = default;

BOOL CPrefSettingPS::OnInitDialog()
{
    SetForegroundWindow();
    SetIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(128)), TRUE);
    return CPropertySheet::OnInitDialog();
}
