#include "app/about/AboutDlg.h"

#include <windows.h>

#include "app/about/AboutText.h"
#include "app/res/ShellDialogsRes.h"
#include "core/os/SystemInfo.h"
#include "core/prefs/Registry.h"

CAboutDlg::CAboutDlg(const CString& registryKey, CWnd* pParent)
    : CDialog(IDD_ABOUTBOX, pParent), m_strRegistryKey(registryKey)
{}

CString CAboutDlg::ReadPromoText() const
{
    return ReadRegistryString(HKEY_CURRENT_USER, m_strRegistryKey.GetString(), "Promo Text", "");
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND promo = ::GetDlgItem(m_hWnd, IDC_ABOUT_PROMO);
    ::ShowWindow(promo, SW_SHOW);
    ::SetWindowTextA(promo, ReadPromoText().GetString());
    CString versionLine;
    GetDlgItemText(IDC_ABOUT_VERSION, versionLine);
    SetDlgItemText(IDC_ABOUT_VERSION, FillVersionLine(versionLine, GetModuleProductVersion(nullptr)));
    return TRUE;
}
