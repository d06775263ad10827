#include "toolkit/editors/EditWithButton.h"

#include "toolkit/ToolkitIds.h"
#include "toolkit/toolbar/MainViewLink.h"

IMPLEMENT_DYNAMIC(CEditWithButton, CEdit)

namespace {

bool IsStepKey(UINT key)
{
    return key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME || key == VK_UP || key == VK_DOWN;
}

bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

CEditWithButton::~CEditWithButton()
{
    for (CBitmap& face : m_faces) face.DeleteObject();
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL CEditWithButton::SetBitmaps(UINT nEmpty, UINT nText, UINT nEmptyAlt, UINT nTextAlt)
{
    const UINT ids[4] = {nEmpty, nText, nEmptyAlt, nTextAlt};
    for (int i = 0; i < 4; ++i) {
        m_faces[i].DeleteObject();
        m_faceSizes[i] = SIZE{0, 0};
        // A bitmap that cannot be loaded leaves an empty face.
        if (!m_faces[i].LoadBitmap(ids[i])) continue;
        BITMAP info{};
        if (::GetObjectA((HBITMAP)m_faces[i], sizeof(info), &info)) m_faceSizes[i] = SIZE{info.bmWidth, info.bmHeight};
    }
    return TRUE;
}

BOOL CEditWithButton::SetTextRect(int left, int top, int right, int bottom)
{
    m_rcText = RECT{left, top, right, bottom};
    FitToBitmap();
    return TRUE;
}

void CEditWithButton::SetClearButtonRect(int left, int top, int right, int bottom)
{
    m_rcClear = RECT{left, top, right, bottom};
}

void CEditWithButton::SetHistoryButtonRect(int left, int top, int right, int bottom)
{
    m_rcHistory = RECT{left, top, right, bottom};
}

HBITMAP CEditWithButton::CurrentFace(SIZE& size) const
{
    int index = HasText() ? 1 : 0;
    if (m_bAlternate) index += 2;
    size = m_faceSizes[index];
    return (HBITMAP)m_faces[index].m_hObject;
}

void CEditWithButton::FitToBitmap()
{
    if (!m_hWnd || IsEmptyRect(m_rcText)) return;
    SIZE size{};
    CurrentFace(size);
    if (size.cx > 0 && size.cy > 0) SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    SendMessage(EM_SETRECT, 0, (LPARAM)&m_rcText);
}

void CEditWithButton::PreSubclassWindow()
{
    CEdit::PreSubclassWindow();
    FitToBitmap();
}

void CEditWithButton::InitAutoComplete()
{
    if (!m_dropDown.CreateFor(this)) return;
    char name[33] = {};
    ::GetClassNameA(m_hWnd, name, 32);
    if (lstrcmpiA(name, "Edit") == 0) m_nBoxType = 1;
    if (m_nBoxType != -1) m_dropDown.Attach(this);
}

void CEditWithButton::SetWordSeparators(const CString& separators, char prefix)
{
    if (m_nBoxType == -1) InitAutoComplete();
    m_separators = separators;
    m_cPrefix = prefix;
    m_dropDown.SetPrefixChar(prefix);
    m_nMode = kCompleteWordAtCaret;
}

void CEditWithButton::SetAutoCompleteList(const CStringArray& words)
{
    if (m_nBoxType == -1) return;
    m_dropDown.SetWords(words);
}

void CEditWithButton::NotifyView(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* view = FindMainView()) view->SendMessage(message, wParam, lParam);
}

void CEditWithButton::OnTextChanged()
{
    Invalidate();
    if (m_nBoxType == -1) return;
    GetWindowText(m_lastText);
    if (!m_bBusy) {
        if (m_nMode & kCompleteWordAtCaret) {
            POINT caret{};
            ::GetCaretPos(&caret);
            const int index = LOWORD(SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(caret.x, caret.y)));
            int start = 0, end = 0;
            FindWordAtCaret(m_lastText, index, m_separators, m_cPrefix, start, end);
            m_dropDown.FilterAndShow(0, m_lastText.Mid(start, end - start));
        } else {
            m_dropDown.FilterAndShow(0, m_lastText);
        }
    }
    NotifyView(WM_SEARCHBOX_UPDATE, ZV_SEARCHBOX_CHANGED, (LPARAM)GetDlgCtrlID());
}

void CEditWithButton::TakeWord(UINT nKey, BOOL bFromClick)
{
    m_bBusy = 1;
    CString text;
    GetWindowText(text);
    int selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    int start = 0, end = 0;
    FindWordAtCaret(text, selEnd, m_separators, m_cPrefix, start, end);
    const CString word = bFromClick ? m_dropDown.GetSelectedWord() : m_dropDown.StepSelection(nKey);
    if (bFromClick) m_dropDown.ScrollToShow(m_dropDown.GetWords().GetSelection(), FALSE);
    const CString replaced = text.Left(start) + word + text.Mid(end);
    SetWindowText(replaced);
    SetSel(start, start + word.GetLength());
    SetModify(TRUE);
    SendMessage(EM_SCROLLCARET);
    m_bBusy = 0;
}

BOOL CEditWithButton::HandleKey(UINT nKey)
{
    if (nKey == VK_RETURN || nKey == VK_ESCAPE) {
        NotifyView(WM_SEARCHBOX_UPDATE, ZV_SEARCHBOX_COMMIT, (LPARAM)GetDlgCtrlID());
        m_dropDown.Hide();
        return TRUE;
    }
    if (IsStepKey(nKey) && m_dropDown.m_hWnd && m_dropDown.IsWindowVisible() && (m_nMode & kCompleteWordAtCaret)) {
        TakeWord(nKey, FALSE);
        return TRUE;
    }
    return FALSE;
}

BOOL CEditWithButton::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) && m_dropDown.m_hWnd &&
        m_dropDown.IsWindowVisible()) {
        HandleKey((UINT)pMsg->wParam);
        return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
}

BOOL CEditWithButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        OnTextChanged();
        if (pResult) *pResult = 0;
        return TRUE;
    }
    return CEdit::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CEditWithButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        SIZE size{};
        HBITMAP face = CurrentFace(size);
        if (face) {
            HDC mem = ::CreateCompatibleDC((HDC)wParam);
            HGDIOBJ old = ::SelectObject(mem, face);
            ::BitBlt((HDC)wParam, 0, 0, size.cx, size.cy, mem, 0, 0, SRCCOPY);
            ::SelectObject(mem, old);
            ::DeleteDC(mem);
        }
        return TRUE;
    }
    case WM_SIZE:
    case WM_SETFONT: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        if (message == WM_SETFONT)
            FitToBitmap();
        else if (!IsEmptyRect(m_rcText))
            SendMessage(EM_SETRECT, 0, (LPARAM)&m_rcText);
        return result;
    }
    case WM_SETCURSOR: {
        POINT pt{};
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (::PtInRect(&m_rcHistory, pt) || (::PtInRect(&m_rcClear, pt) && HasText())) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
        if (::PtInRect(&m_rcClear, pt)) {
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONUP: {
        const POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (::PtInRect(&m_rcClear, pt) && (HasText() || m_bClearWhenEmpty)) {
            NotifyView(m_nClearMessage, 0, 0);
            m_dropDown.Hide();
        } else if (::PtInRect(&m_rcHistory, pt)) {
            NotifyView(m_nHistoryMessage, 0, 0);
            m_dropDown.Hide();
        }
        break;
    }
    case WM_SETFOCUS: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        if (HWND parent = ::GetParent(m_hWnd)) {
            if (HWND cue = ::GetDlgItem(parent, IDC_TOOLBAR_SEARCH_CUE)) ::ShowWindow(cue, SW_HIDE);
        }
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        m_dropDown.Hide();
        if (!HasText()) {
            if (HWND parent = ::GetParent(m_hWnd)) {
                if (HWND cue = ::GetDlgItem(parent, IDC_TOOLBAR_SEARCH_CUE)) ::ShowWindow(cue, SW_SHOW);
            }
        }
        NotifyView(WM_SEARCHBOX_LEAVE, 0, 0);
        return result;
    }
    case WM_KEYDOWN:
        if (HandleKey((UINT)wParam)) return 0;
        break;
    case WM_CHAR:
        // The box is one line of text: the characters of Enter and Escape,
        // already handled as keys, are not typed into it.
        if (wParam == '\r' || wParam == '\n' || wParam == 27) return 0;
        break;
    case WM_SEARCHBOX_UPDATE:
        if (wParam == ZV_SEARCHBOX_COMMIT && lParam == ZV_IDC_AUTOCOMPLETE_LIST) {
            TakeWord(VK_DOWN, TRUE);
            NotifyView(WM_SEARCHBOX_UPDATE, ZV_SEARCHBOX_COMMIT, (LPARAM)GetDlgCtrlID());
            return 0;
        }
        break;
    default: break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
