#pragma once
// CInPlaceEdit and CInPlaceCombo: the cell editors of the combo list
// control, one of each for the whole process, shared by every such list. The
// object outlives its window: the window closes after every edit and is
// made again for the next. When the editor loses the focus it reports the
// cell's new text (the old one when Escape cancelled) to its list as
// LVN_ENDLABELEDIT.
#include <windows.h>

#include "framework/CList.h"
#include "framework/Controls.h"

class CInPlaceEdit : public CEdit {
    DECLARE_DYNAMIC(CInPlaceEdit)
public:
    static CInPlaceEdit* Instance();
    static void FreeInstance();

    // Stores what is edited and makes the window when there is none (its
    // result; TRUE when it existed).
    BOOL Open(DWORD dwStyle, const RECT& rect, CWnd* pList, UINT nID, int nRow, int nColumn, const CString& validChars,
              const CString& text);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }
    BOOL IsCancelled() const { return m_bCancelled; }

protected:
    LRESULT OnPaste(WPARAM wParam, LPARAM lParam);

    int m_nRow = -1;
    int m_nColumn = -1;
    BOOL m_bCancelled = FALSE;
    CString m_validChars;
    CString m_initialText;
    HWND m_hList = nullptr;
};

class CInPlaceCombo : public CComboBox {
    DECLARE_DYNAMIC(CInPlaceCombo)
public:
    static CInPlaceCombo* Instance();
    static void FreeInstance();

    BOOL Open(DWORD dwStyle, const RECT& rect, CWnd* pList, UINT nID, int nRow, int nColumn, const CStringList& choices,
              const CString& currentText, int nSelection);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }

protected:
    int m_nRow = -1;
    int m_nColumn = -1;
    BOOL m_bCancelled = FALSE;
    CString m_initialText;
    CStringList m_choices{10};
    HWND m_hList = nullptr;
};

// Sends the end-of-edit notification of an in-place editor to its list.
void SendEndLabelEdit(HWND hList, HWND hEditor, int nRow, int nColumn, const CString& text);
