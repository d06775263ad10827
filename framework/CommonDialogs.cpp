#include "framework/CommonDialogs.h"

#include <cstring>

#include "framework/ModalSeam.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {
HWND OwnerOf(CWnd* pParentWnd)
{
    if (pParentWnd && pParentWnd->m_hWnd) return pParentWnd->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    return owner ? ::GetLastActivePopup(owner) : nullptr;
}
}  // namespace

// ---- CFileDialog ---------------------------------------------------------------

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags, LPCSTR lpszFilter,
                         CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt), m_pParentWnd(pParentWnd)
{
    if (lpszFileName) lstrcpynA(m_szFileName, lpszFileName, sizeof(m_szFileName));
    if (lpszFilter) {
        m_filter.assign(lpszFilter, lpszFilter + strlen(lpszFilter));
        for (char& ch : m_filter)
            if (ch == '|') ch = '\0';
        m_filter.push_back('\0');
        m_filter.push_back('\0');
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : (LPCSTR)m_strDefExt;
    m_ofn.hInstance = AfxGetInstanceHandle();
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = OwnerOf(m_pParentWnd);
    return AfxGetModalSeam().GetFileName(m_ofn, m_bOpenFileDialog) ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    CString path(m_szFileName);
    int slash = path.ReverseFind('\\');
    if (path.ReverseFind('/') > slash) slash = path.ReverseFind('/');
    return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

// ---- CFontDialog ----------------------------------------------------------------

CFontDialog::CFontDialog(const LOGFONTA* lplfInitial, DWORD dwFlags, HDC hdcPrinter, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd)
{
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags;
    m_cf.hDC = hdcPrinter;
    if (lplfInitial) {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
}

INT_PTR CFontDialog::DoModal()
{
    m_cf.hwndOwner = OwnerOf(m_pParentWnd);
    m_cf.lpLogFont = &m_lf;
    if (!AfxGetModalSeam().ChooseFont(m_cf)) return IDCANCEL;
    if (m_cf.iPointSize == 0 && m_lf.lfHeight) {
        // A scripted or reused answer may give the height only: derive the size.
        HDC dc = ::GetDC(nullptr);
        m_cf.iPointSize =
            ::MulDiv(m_lf.lfHeight < 0 ? -m_lf.lfHeight : m_lf.lfHeight, 720, ::GetDeviceCaps(dc, LOGPIXELSY));
        ::ReleaseDC(nullptr, dc);
    }
    return IDOK;
}

// ---- CColorDialog -------------------------------------------------------------------

COLORREF* CColorDialog::GetSavedCustomColors()
{
    static COLORREF colors[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return colors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.rgbResult = clrInit;
    m_cc.Flags = dwFlags | CC_RGBINIT;
    m_cc.lpCustColors = GetSavedCustomColors();
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = OwnerOf(m_pParentWnd);
    return AfxGetModalSeam().ChooseColor(m_cc) ? IDOK : IDCANCEL;
}

// ---- Folder picker ------------------------------------------------------------------

BOOL AfxBrowseForFolder(CWnd* pOwner, LPCSTR lpszTitle, LPCSTR lpszInitialFolder, CString& rPath)
{
    return AfxGetModalSeam().BrowseForFolder(OwnerOf(pOwner), lpszTitle, lpszInitialFolder, rPath);
}
