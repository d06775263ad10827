#include "framework/ModalSeam.h"

#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {
// Under the test runner (ZV_TEST_NO_MODAL set) nothing modal is ever shown:
// a test that forgot to script an answer gets "cancel" and a line on
// stderr instead of a window that nobody will click.
class CRefusingSeam : public CModalSeam {
public:
    int MessageBox(HWND, LPCSTR lpszText, LPCSTR, UINT nType) override
    {
        Report("message box", lpszText);
        switch (nType & MB_TYPEMASK) {
        case MB_OK: return IDOK;
        case MB_YESNO: return IDNO;
        case MB_ABORTRETRYIGNORE: return IDABORT;
        default: return IDCANCEL;
        }
    }
    BOOL GetFileName(OPENFILENAMEA& ofn, BOOL) override { return Report("file dialog", ofn.lpstrTitle), FALSE; }
    BOOL ChooseFont(CHOOSEFONTA&) override { return Report("font dialog", nullptr), FALSE; }
    BOOL ChooseColor(CHOOSECOLORA&) override { return Report("colour dialog", nullptr), FALSE; }
    BOOL PrintDlg(PRINTDLGA&) override { return Report("print dialog", nullptr), FALSE; }
    BOOL BrowseForFolder(HWND, LPCSTR lpszTitle, LPCSTR, CString&) override
    {
        return Report("folder picker", lpszTitle), FALSE;
    }
    BOOL ModalIdle(CWnd& wndModal) override
    {
        char title[256] = {};
        ::GetWindowTextA(wndModal.m_hWnd, title, sizeof(title));
        Report("modal window", title);
        ::SendMessageA(wndModal.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       (LPARAM)::GetDlgItem(wndModal.m_hWnd, IDCANCEL));
        if (wndModal.ContinueModal()) wndModal.EndModalLoop(IDCANCEL);
        return TRUE;
    }

private:
    static void Report(const char* what, const char* text)
    {
        fprintf(stderr, "unscripted %s: %s\n", what, text ? text : "");
        fflush(stderr);
    }
};

// ZV_TEST_NO_MODAL names the test program; a program that the test starts
// inherits the setting but is not the one named.
bool IsTestProgram()
{
    char wanted[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("ZV_TEST_NO_MODAL", wanted, MAX_PATH)) return false;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = strrchr(path, '\\');
    name = name ? name + 1 : path;
    return lstrcmpiA(name, wanted) == 0;
}

CModalSeam& DefaultSeam()
{
    static CModalSeam real;
    static CRefusingSeam refusing;
    static const bool underTests = IsTestProgram();
    return underTests ? static_cast<CModalSeam&>(refusing) : real;
}
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
    return seam ? *seam : DefaultSeam();
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

BOOL CModalSeam::PrintDlg(PRINTDLGA& pd) { return ::PrintDlgA(&pd); }

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
        if (buttons == MB_OK || buttons == MB_OKCANCEL)
            nType |= MB_ICONEXCLAMATION;
        else if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
            nType |= MB_ICONQUESTION;
    }
    return AfxGetModalSeam().MessageBox(owner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}
