#include "app/reset/ResetDBWizard.h"

#include <windows.h>
#include <prsht.h>

#include "app/res/ShellDialogsRes.h"
#include "app/reset/ResetDatabase.h"
#include "core/os/SystemInfo.h"
#include "framework/ModalSeam.h"

namespace ResetDBWizard {

namespace {

const char kPluginToolbarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
const char kPluginClassId[] = "{6490AEFB-281C-405C-BE19-F59AA38DF56A}";
// The sheet's Next and Cancel buttons.
const int kSheetNextButton = 0x3024;

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

// "%s" of a string-table text replaced as text.
CString ReplacePercentS(const CString& text, const CString& value)
{
    const int at = text.Find("%s");
    return at < 0 ? text : text.Left(at) + value + text.Mid(at + 2);
}

}  // namespace

// ---- Pages ------------------------------------------------------------------

CResetDBWizard& CResetPage::Wizard() const { return *static_cast<CResetDBWizard*>(GetSheet()); }

BOOL CResetPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    for (int id : {IDC_RESET_STEP1, IDC_RESET_STEP2, IDC_RESET_STEP3})
        if (m_hStepFont) SendDlgItemMessage(id, WM_SETFONT, (WPARAM)m_hStepFont, TRUE);
    return TRUE;
}

CResetDBPP1::CResetDBPP1() : CResetPage(IDD_RESET_PAGE1) {}

void CResetDBPP1::ReadChoices()
{
    m_nUsers = IsDlgButtonChecked(IDC_RESET_ALL_USERS) ? 1 : 0;
    m_nData = IsDlgButtonChecked(IDC_RESET_ERASE) ? 1 : 0;
}

void CResetDBPP1::ShowChoices()
{
    CheckRadioButton(IDC_RESET_CURRENT_USER, IDC_RESET_ALL_USERS,
                     m_nUsers == 1 ? IDC_RESET_ALL_USERS : IDC_RESET_CURRENT_USER);
    CheckRadioButton(IDC_RESET_ARCHIVE, IDC_RESET_ERASE, m_nData == 1 ? IDC_RESET_ERASE : IDC_RESET_ARCHIVE);
    SetDlgItemText(IDC_RESET_WARNING, m_strWarning);
}

BOOL CResetDBPP1::OnInitDialog()
{
    CResetPage::OnInitDialog();
    m_strWarning = LoadText(IDS_RESET_WARN_CURRENT_ARCHIVE);
    ShowChoices();
    return TRUE;
}

BOOL CResetDBPP1::OnSetActive()
{
    Wizard().SetWizardButtons(PSWIZB_NEXT);
    return CResetPage::OnSetActive();
}

BOOL CResetDBPP1::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && id >= IDC_RESET_CURRENT_USER && id <= IDC_RESET_ERASE) {
        ReadChoices();
        static const UINT kWarnings[2][2] = {
            {IDS_RESET_WARN_CURRENT_ARCHIVE, IDS_RESET_WARN_CURRENT_ERASE},
            {IDS_RESET_WARN_ALL_ARCHIVE, IDS_RESET_WARN_ALL_ERASE},
        };
        m_strWarning = LoadText(kWarnings[m_nUsers][m_nData]);
        ShowChoices();
    }
    return CResetPage::OnCommand(wParam, lParam);
}

LRESULT CResetDBPP1::OnWizardNext()
{
    ReadChoices();
    const bool currentOnly = m_nUsers == 0;
    if (m_nData == 1) {
        const CString question = ReplacePercentS(LoadText(IDS_RESET_ERASE_ASK), currentOnly ? "this" : "these");
        if (AfxGetModalSeam().MessageBox(GetSheet()->m_hWnd, question, "Reset Wizard", MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
            return -1;
    }
    Wizard().SetCurrentUserOnly(currentOnly ? 1 : 0);
    Wizard().SetArchive(m_nData == 0 ? 1 : 0);
    return 0;
}

CResetDBPP2::CResetDBPP2() : CResetPage(IDD_RESET_PAGE2) {}

bool CResetDBPP2::IsPluginRegistered()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPluginToolbarKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    BYTE buffer[4096];
    DWORD size = sizeof buffer;
    const bool found = ::RegQueryValueExA(key, kPluginClassId, nullptr, nullptr, buffer, &size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return found;
}

BOOL CResetDBPP2::OnInitDialog()
{
    m_bPluginRegistered = IsPluginRegistered() ? 1 : 0;
    CResetPage::OnInitDialog();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RESET_UNINSTALL_PLUGIN), m_bPluginRegistered ? TRUE : FALSE);
    return TRUE;
}

void CResetDBPP2::UpdateButtons()
{
    const bool mayReset = !m_bPluginRegistered || IsDlgButtonChecked(IDC_RESET_UNINSTALL_PLUGIN);
    // The buttons' state is asked for at once, not posted, so a test or a
    // quick click sees it.
    ::SendMessageA(GetSheet()->m_hWnd, PSM_SETWIZBUTTONS, 0, mayReset ? (PSWIZB_BACK | PSWIZB_NEXT) : PSWIZB_BACK);
}

BOOL CResetDBPP2::OnSetActive()
{
    BOOL result = CResetPage::OnSetActive();
    ::SetDlgItemTextA(GetSheet()->m_hWnd, kSheetNextButton, "Reset");
    UpdateButtons();
    return result;
}

BOOL CResetDBPP2::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_RESET_UNINSTALL_PLUGIN) UpdateButtons();
    return CResetPage::OnCommand(wParam, lParam);
}

LRESULT CResetDBPP2::OnWizardNext()
{
    if (m_bPluginRegistered && !IsDlgButtonChecked(IDC_RESET_UNINSTALL_PLUGIN)) return -1;
    const int result = Wizard().RunReset(m_bPluginRegistered != 0);
    if (result == kResetPluginFailed) {
        AfxGetModalSeam().MessageBox(GetSheet()->m_hWnd, "Unable to reset database", "Reset Error",
                                     MB_OK | MB_ICONERROR);
        return -1;
    }
    if (result == kResetIncomplete)
        AfxGetModalSeam().MessageBox(GetSheet()->m_hWnd, LoadText(IDS_RESET_INCOMPLETE), "Reset Error",
                                     MB_OK | MB_ICONERROR);
    return 0;
}

CResetDBPP3::CResetDBPP3() : CResetPage(IDD_RESET_PAGE3) {}

BOOL CResetDBPP3::OnInitDialog()
{
    CResetPage::OnInitDialog();
    CResetDBWizard& wizard = Wizard();
    if (wizard.GetResetResult() == kResetIncomplete) {
        m_strResult = LoadText(IDS_RESET_INCOMPLETE);
    } else {
        m_strResult = "You successfully ";
        m_strResult += wizard.GetArchive() ? "archived the data for " : "erased the data for ";
        m_strResult += wizard.GetCurrentUserOnly() ? wizard.GetCurrentUserName() + "." : CString("all users.");
    }
    SetDlgItemText(IDC_RESET_RESULT, m_strResult);
    return TRUE;
}

BOOL CResetDBPP3::OnSetActive()
{
    BOOL result = CResetPage::OnSetActive();
    ::EnableWindow(::GetDlgItem(GetSheet()->m_hWnd, IDCANCEL), FALSE);
    ::SendMessageA(GetSheet()->m_hWnd, PSM_SETWIZBUTTONS, 0, PSWIZB_FINISH);
    return result;
}

// ---- Sheet ----------------------------------------------------------------------

CResetDBWizard::CResetDBWizard(LPCSTR caption, CWnd* pParent, UINT firstPage, CResetDatabase& reset,
                               const CString& currentUserName)
    : CPropertySheet(caption, pParent, firstPage), m_reset(reset), m_strCurrentUserName(currentUserName)
{
    AddPage(&m_page1);
    AddPage(&m_page2);
    AddPage(&m_page3);
    CreateStepFont();
}

CResetDBWizard::~CResetDBWizard()
{
    if (m_hStepFont) ::DeleteObject(m_hStepFont);
}

void CResetDBWizard::CreateStepFont()
{
    m_hStepFont = ::CreateFontA(16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                IsWindowsXP() ? "Arial" : "Calibri");
    m_page1.SetStepFont(m_hStepFont);
    m_page2.SetStepFont(m_hStepFont);
    m_page3.SetStepFont(m_hStepFont);
}

BOOL CResetDBWizard::OnInitDialog()
{
    BOOL result = CPropertySheet::OnInitDialog();
    ModifyStyle(WS_SYSMENU, 0);
    return result;
}

int CResetDBWizard::RunReset(bool removePlugin)
{
    if (m_bResetRan) return m_nResetResult;
    const int result = m_reset.Reset(m_bCurrentUserOnly != 0, m_bArchive != 0, removePlugin);
    if (result != kResetPluginFailed) {
        m_bResetRan = true;
        m_nResetResult = result;
    }
    return result;
}

}  // namespace ResetDBWizard
