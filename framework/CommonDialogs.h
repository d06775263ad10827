#pragma once
// The common dialogs (file, font, colour) and the shell's folder picker.
// Each shows itself through the modal seam (ModalSeam.h), so tests script
// the person's choice.

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "framework/CString.h"

class CWnd;

class CFileDialog {
public:
    // lpszFilter as "Name|*.ext|Other|*.x;*.y||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when a file was chosen, else IDCANCEL.
    virtual INT_PTR DoModal();

    CString GetPathName() const { return CString(m_szFileName); }
    CString GetFileName() const;   // name with extension
    CString GetFileExt() const;    // extension without the dot
    CString GetFileTitle() const;  // name without extension

    OPENFILENAMEA m_ofn{};

protected:
    BOOL m_bOpenFileDialog;
    char m_szFileName[4096] = {};
    std::vector<char> m_filter;  // '|' turned into the system's zero separators
    CString m_strDefExt;
    CWnd* m_pParentWnd;
};

class CFontDialog {
public:
    explicit CFontDialog(const LOGFONTA* lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         HDC hdcPrinter = nullptr, CWnd* pParentWnd = nullptr);
    virtual ~CFontDialog() = default;
    virtual INT_PTR DoModal();

    void GetCurrentFont(LOGFONTA* lplf) const { *lplf = m_lf; }
    CString GetFaceName() const { return CString(m_lf.lfFaceName); }
    int GetSize() const { return m_cf.iPointSize; }  // tenths of a point
    COLORREF GetColor() const { return m_cf.rgbColors; }
    int GetWeight() const { return (int)m_lf.lfWeight; }
    BOOL IsItalic() const { return m_lf.lfItalic ? TRUE : FALSE; }

    CHOOSEFONTA m_cf{};
    LOGFONTA m_lf{};

protected:
    CWnd* m_pParentWnd;
};

class CColorDialog {
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    virtual ~CColorDialog() = default;
    virtual INT_PTR DoModal();

    COLORREF GetColor() const { return m_cc.rgbResult; }
    // The sixteen custom colours, kept for the whole process.
    static COLORREF* GetSavedCustomColors();

    CHOOSECOLORA m_cc{};

protected:
    CWnd* m_pParentWnd;
};

// The shell's folder picker, starting at lpszInitialFolder when given.
// TRUE and the chosen folder in rPath; FALSE when cancelled.
BOOL AfxBrowseForFolder(CWnd* pOwner, LPCSTR lpszTitle, LPCSTR lpszInitialFolder, CString& rPath);
