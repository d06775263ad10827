#include "framework/ModalSeam.h"

#include <shlobj.h>

#include <atomic>

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {
CModalSeam g_realSeam;
std::atomic<CModalSeam*> g_seam{nullptr};

int CALLBACK BrowseCallback(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED && lpData) ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, lpData);
    return 0;
}
}  // namespace

CModalSeam& AfxGetModalSeam()
{
    CModalSeam* seam = g_seam.load();
    return seam ? *seam : g_realSeam;
}

CModalSeam* AfxSetModalSeam(CModalSeam* pSeam) { return g_seam.exchange(pSeam); }

int CModalSeam::MessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    return ::MessageBoxA(hOwner, lpszText, lpszCaption, nType);
}

BOOL CModalSeam::GetFileName(OPENFILENAMEA& ofn, BOOL bOpen)
{
    return bOpen ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
}

BOOL CModalSeam::ChooseFont(CHOOSEFONTA& cf) { return ::ChooseFontA(&cf); }

BOOL CModalSeam::ChooseColor(CHOOSECOLORA& cc) { return ::ChooseColorA(&cc); }

BOOL CModalSeam::BrowseForFolder(HWND hOwner, LPCSTR lpszTitle, LPCSTR lpszInitialFolder, CString& rPath)
{
    char display[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.hwndOwner = hOwner;
    bi.pszDisplayName = display;
    bi.lpszTitle = lpszTitle;
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    bi.lpfn = &BrowseCallback;
    bi.lParam = (LPARAM)(lpszInitialFolder && *lpszInitialFolder ? lpszInitialFolder : nullptr);
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    if (!pidl) return FALSE;
    char path[MAX_PATH] = {};
    BOOL ok = ::SHGetPathFromIDListA(pidl, path);
    ::CoTaskMemFree(pidl);
    if (ok) rPath = path;
    return ok;
}

BOOL CModalSeam::ModalIdle(CWnd&) { return FALSE; }

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT)
{
    HWND owner = ::GetActiveWindow();
    if (!owner) {
        if (CWnd* main = AfxGetMainWnd()) owner = main->m_hWnd;
    }
    if (owner) owner = ::GetLastActivePopup(owner);
    if (!(nType & MB_ICONMASK)) {
        // As the classic framework does: a plain box gets an icon by its buttons.
        UINT buttons = nType & MB_TYPEMASK;
        if (buttons == MB_OK || buttons == MB_OKCANCEL) nType |= MB_ICONEXCLAMATION;
        else if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) nType |= MB_ICONQUESTION;
    }
    return AfxGetModalSeam().MessageBox(owner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}
