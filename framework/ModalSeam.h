#pragma once
// The one seam for everything modal that a test cannot click: message
// boxes, the common dialogs, the shell's folder picker, and the point where a
// modal loop would wait for a person. The product uses the real windows; a
// test installs its own seam (tests/support) that records what was asked
// and gives scripted answers, so no test ever waits on a window.

#include <windows.h>
#include <commdlg.h>

#include "framework/CString.h"

class CWnd;

class CModalSeam {
public:
    virtual ~CModalSeam() = default;

    // MessageBox: returns IDOK, IDYES, ...
    virtual int MessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);
    // GetOpenFileName / GetSaveFileName: TRUE when a file was chosen
    // (written into ofn.lpstrFile).
    virtual BOOL GetFileName(OPENFILENAMEA& ofn, BOOL bOpen);
    // ChooseFont / ChooseColor: TRUE when the user chose.
    virtual BOOL ChooseFont(CHOOSEFONTA& cf);
    virtual BOOL ChooseColor(CHOOSECOLORA& cc);
    // PrintDlg: TRUE when the user chose to print (pd.hDC set when asked for).
    virtual BOOL PrintDlg(PRINTDLGA& pd);
    // The shell's folder picker: TRUE and the folder's path when one was chosen.
    virtual BOOL BrowseForFolder(HWND hOwner, LPCSTR lpszTitle, LPCSTR lpszInitialFolder, CString& rPath);
    // A modal loop (dialog, sheet) found its queue empty. The product
    // returns FALSE and the loop waits for the person; a test acts on the
    // window (or ends it) and returns TRUE.
    virtual BOOL ModalIdle(CWnd& wndModal);
};

// The seam in use: the real windows unless a test installed its own.
CModalSeam& AfxGetModalSeam();
// Installs a seam (null: back to the real windows); returns the previous one.
CModalSeam* AfxSetModalSeam(CModalSeam* pSeam);

// A message box with the application's name as caption, owned by the
// active window.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with a text of the string table.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
