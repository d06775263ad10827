#include "ZorvikanToolBar/link/PasswordDlg.h"

#include <windows.h>
#include <commctrl.h>

#include "ZorvikanToolBar/link/DesktopData.h"
#include "ZorvikanToolBar/res/ToolBarResource.h"
#include "framework/DataExchange.h"

BEGIN_MESSAGE_MAP(CPasswordDlg, CDialog)
    ON_NOTIFY(UDN_DELTAPOS, IDC_TIMEOUT_SPIN, &CPasswordDlg::OnDeltaPosSpin)
END_MESSAGE_MAP()

CPasswordDlg::CPasswordDlg() : CDialog(IDD_SECURITY_OPTION) {}

void CPasswordDlg::SetTimeout(int enabled, int minutes)
{
    m_timeoutEnabled = enabled ? 1 : 0;
    m_minutes = minutes;
}

bool CPasswordDlg::IsPasswordCorrect() { return m_data && !m_password.IsEmpty() && m_data->VerifyPassword(m_password); }

int CPasswordDlg::StepMinutes(int minutes, int delta)
{
    if (delta < 0) return minutes <= 1 ? 999 : minutes - 1;
    return minutes >= 999 ? 1 : minutes + 1;
}

BOOL CPasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_TIMEOUT_SPIN, UDM_SETRANGE32, 1, 999);
    ::SendDlgItemMessageA(m_hWnd, IDC_TIMEOUT_MINUTES, EM_LIMITTEXT, 3, 0);
    ShowMembers();
    HWND password = ::GetDlgItem(m_hWnd, IDC_SECURITY_PASSWORD);
    ::SetFocus(password);
    ::SendMessageA(password, EM_SETSEL, 0, -1);
    return FALSE;
}

void CPasswordDlg::ReadControls()
{
    HWND password = ::GetDlgItem(m_hWnd, IDC_SECURITY_PASSWORD);
    int length = ::GetWindowTextLengthA(password);
    char* buffer = m_password.GetBufferSetLength(length);
    int read = ::GetWindowTextA(password, buffer, length + 1);
    m_password.Truncate(read);
    m_timeoutEnabled = ::IsDlgButtonChecked(m_hWnd, IDC_TIMEOUT_CHECK) == BST_CHECKED ? 1 : 0;
    m_minutes = static_cast<int>(::GetDlgItemInt(m_hWnd, IDC_TIMEOUT_MINUTES, nullptr, TRUE));
}

void CPasswordDlg::ShowMembers()
{
    ::SetDlgItemTextA(m_hWnd, IDC_SECURITY_USER, m_userName);
    ::SetDlgItemTextA(m_hWnd, IDC_SECURITY_PASSWORD, m_password.c_str());
    ::CheckDlgButton(m_hWnd, IDC_TIMEOUT_CHECK, m_timeoutEnabled ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemInt(m_hWnd, IDC_TIMEOUT_MINUTES, m_minutes, TRUE);
}

void CPasswordDlg::OnDeltaPosSpin(NMHDR* header, LRESULT* result)
{
    ReadControls();
    m_minutes = StepMinutes(m_minutes, reinterpret_cast<NMUPDOWN*>(header)->iDelta);
    ShowMembers();
    // The control's own position is not used.
    *result = 1;
}

void CPasswordDlg::OnOK()
{
    ReadControls();
    if (IsPasswordCorrect()) {
        // The edit's copy of the password goes with the dialog.
        ::SetDlgItemTextA(m_hWnd, IDC_SECURITY_PASSWORD, "");
        EndDialog(IDOK);
        return;
    }
    ShowMismatch();
    HWND password = ::GetDlgItem(m_hWnd, IDC_SECURITY_PASSWORD);
    ::SetFocus(password);
    ::SendMessageA(password, EM_SETSEL, 0, -1);
}

void CPasswordDlg::ShowMismatch()
{
    HWND marker = ::GetDlgItem(m_hWnd, IDC_MISMATCH_MARK);
    if (!marker) return;
    RECT rect = {};
    ::GetWindowRect(marker, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    HDC dc = ::GetDC(m_hWnd);
    ::SetTextColor(dc, RGB(255, 0, 0));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
    static const char kText[] = "Password mismatch";
    ::TextOutA(dc, rect.left, rect.top, kText, sizeof(kText) - 1);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
}
