#include "toolkit/editors/InPlaceEdit.h"

#include <memory>

#include "core/os/ProcessWide.h"
#include "toolkit/editors/InPlaceRules.h"

IMPLEMENT_DYNAMIC(CInPlaceEdit, CEdit)
IMPLEMENT_DYNAMIC(CInPlaceCombo, CComboBox)

namespace {

CProcessWide<CInPlaceEdit>& EditSlot()
{
    static CProcessWide<CInPlaceEdit> slot([] { return std::make_shared<CInPlaceEdit>(); });
    return slot;
}

CProcessWide<CInPlaceCombo>& ComboSlot()
{
    static CProcessWide<CInPlaceCombo> slot([] { return std::make_shared<CInPlaceCombo>(); });
    return slot;
}

// The editor's window goes after the edit; the object stays for the next.
void CloseLater(HWND hWnd) { ::PostMessageA(hWnd, WM_CLOSE, 0, 0); }

// An editor that loses the focus ends its edit with its text, or with the
// text it started from when cancelled, and then goes.
void FinishCellEdit(CWnd& editor, HWND hList, int nRow, int nColumn, BOOL cancelled, const CString& initialText)
{
    CString text;
    if (cancelled)
        text = initialText;
    else
        editor.GetWindowText(text);
    SendEndLabelEdit(hList, editor.m_hWnd, nRow, nColumn, text);
    CloseLater(editor.m_hWnd);
}

}  // namespace

void SendEndLabelEdit(HWND hList, HWND hEditor, int nRow, int nColumn, const CString& text)
{
    if (!hList || !::IsWindow(hList)) return;
    CString copy = text;
    NMLVDISPINFOA info{};
    info.hdr.hwndFrom = hList;
    info.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(hEditor);
    info.hdr.code = LVN_ENDLABELEDITA;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = nRow;
    info.item.iSubItem = nColumn;
    info.item.pszText = copy.GetBuffer(copy.GetLength());
    info.item.cchTextMax = copy.GetLength();
    ::SendMessageA(hList, WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info);
    copy.ReleaseBuffer();
}

// ---- CInPlaceEdit -------------------------------------------------------------

CInPlaceEdit* CInPlaceEdit::Instance() { return EditSlot().Get().get(); }
void CInPlaceEdit::FreeInstance() { EditSlot().Replace(nullptr); }

BOOL CInPlaceEdit::Open(DWORD dwStyle, const RECT& rect, CWnd* pList, UINT nID, int nRow, int nColumn,
                        const CString& validChars, const CString& text)
{
    m_nRow = nRow;
    m_nColumn = nColumn;
    m_validChars = validChars;
    m_initialText = text;
    m_bCancelled = FALSE;
    m_hList = pList ? pList->GetSafeHwnd() : nullptr;
    if (m_hWnd && ::IsWindow(m_hWnd)) return TRUE;
    return Create(dwStyle, rect, pList, nID);
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        if (pMsg->wParam == VK_ESCAPE) m_bCancelled = TRUE;
        if (m_hList) ::SetFocus(m_hList);
        return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
}

LRESULT CInPlaceEdit::OnPaste(WPARAM wParam, LPARAM lParam)
{
    if (m_validChars.IsEmpty()) return CEdit::WindowProc(WM_PASTE, wParam, lParam);
    if (!::OpenClipboard(m_hWnd)) return CEdit::WindowProc(WM_PASTE, wParam, lParam);
    bool allowed = false;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(::GlobalLock(data))) {
            allowed = InPlacePasteAllowed(m_validChars, text);
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return allowed ? CEdit::WindowProc(WM_PASTE, wParam, lParam) : 0;
}

LRESULT CInPlaceEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        if (result == -1) return result;
        if (m_hList) SendMessage(WM_SETFONT, (WPARAM)::SendMessageA(m_hList, WM_GETFONT, 0, 0), 0);
        ShowWindow(SW_SHOW);
        SetWindowText(m_initialText);
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
        SetFocus();
        return result;
    }
    case WM_CHAR:
        if (!InPlaceCharAllowed(m_validChars, (UINT)wParam)) {
            ::MessageBeep(MB_ICONEXCLAMATION);
            return 0;
        }
        break;
    case WM_PASTE: return OnPaste(wParam, lParam);
    case WM_KILLFOCUS: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        FinishCellEdit(*this, m_hList, m_nRow, m_nColumn, m_bCancelled, m_initialText);
        return result;
    }
    default: break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

// ---- CInPlaceCombo ------------------------------------------------------------

CInPlaceCombo* CInPlaceCombo::Instance() { return ComboSlot().Get().get(); }
void CInPlaceCombo::FreeInstance() { ComboSlot().Replace(nullptr); }

BOOL CInPlaceCombo::Open(DWORD dwStyle, const RECT& rect, CWnd* pList, UINT nID, int nRow, int nColumn,
                         const CStringList& choices, const CString& currentText, int nSelection)
{
    m_nRow = nRow;
    m_nColumn = nColumn;
    m_bCancelled = FALSE;
    m_hList = pList ? pList->GetSafeHwnd() : nullptr;
    m_choices.RemoveAll();
    for (POSITION pos = choices.GetHeadPosition(); pos;) m_choices.AddTail(choices.GetNext(pos));
    m_initialText = currentText;
    if (nSelection >= 0) {
        int index = 0;
        for (POSITION pos = m_choices.GetHeadPosition(); pos; ++index) {
            const CString& choice = m_choices.GetNext(pos);
            if (index == nSelection) m_initialText = choice;
        }
    }
    BOOL result = TRUE;
    if (!m_hWnd || !::IsWindow(m_hWnd)) result = Create(dwStyle, rect, pList, nID);
    if (result) SetCurSel(nSelection);
    return result;
}

BOOL CInPlaceCombo::PreTranslateMessage(MSG* pMsg)
{
    // Enter and Escape belong to the combo, not to a dialog around the list.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
        return TRUE;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}

BOOL CInPlaceCombo::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_CLOSEUP) {
        if (m_hList) ::SetFocus(m_hList);
        if (pResult) *pResult = 0;
        return TRUE;
    }
    return CComboBox::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CInPlaceCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = CComboBox::WindowProc(message, wParam, lParam);
        if (result == -1) return result;
        if (m_hList) SendMessage(WM_SETFONT, (WPARAM)::SendMessageA(m_hList, WM_GETFONT, 0, 0), 0);
        SetFocus();
        ResetContent();
        for (POSITION pos = m_choices.GetHeadPosition(); pos;) AddString(m_choices.GetNext(pos));
        return result;
    }
    case WM_CHAR:
        if (wParam == VK_ESCAPE) m_bCancelled = TRUE;
        if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
            if (m_hList) ::SetFocus(m_hList);
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = CComboBox::WindowProc(message, wParam, lParam);
        FinishCellEdit(*this, m_hList, m_nRow, m_nColumn, m_bCancelled, m_initialText);
        return result;
    }
    default: break;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}
