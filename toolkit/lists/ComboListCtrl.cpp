#include "toolkit/lists/ComboListCtrl.h"

#include "toolkit/ToolkitIds.h"
#include "toolkit/editors/InPlaceEdit.h"
#include "toolkit/editors/InPlaceRules.h"

IMPLEMENT_DYNAMIC(CComboListCtrl, CListCtrl)

namespace {

void SetInList(CList<int, int>& list, int value, BOOL enable)
{
    POSITION at = list.Find(value);
    if (enable && !at) list.AddTail(value);
    if (!enable && at) list.RemoveAt(at);
}

}  // namespace

CComboListCtrl::~CComboListCtrl()
{
    CInPlaceCombo::FreeInstance();
    CInPlaceEdit::FreeInstance();
    DestroyProgressBar();
}

void CComboListCtrl::SetComboColumn(int nColumn, BOOL bEnable) { SetInList(m_comboColumns, nColumn, bEnable); }
void CComboListCtrl::SetReadOnlyColumn(int nColumn, BOOL bEnable) { SetInList(m_readOnlyColumns, nColumn, bEnable); }

void CComboListCtrl::EnableComboVScroll(BOOL bEnable)
{
    if (bEnable)
        m_dwComboStyle |= WS_VSCROLL;
    else
        m_dwComboStyle &= ~(DWORD)WS_VSCROLL;
}

void CComboListCtrl::SetProgressColumn(int nColumn)
{
    m_nProgressColumn = nColumn;
    m_pProgress = nullptr;
}

void CComboListCtrl::ShowProgressBar(int nRow)
{
    RECT header{}, label{};
    CHeaderCtrl* headerCtrl = GetHeaderCtrl();
    if (headerCtrl) headerCtrl->GetItemRect(m_nProgressColumn, &header);
    GetItemRect(nRow, &label, LVIR_LABEL);
    const RECT bar{header.left + 1, label.top + 1, header.right - 1, label.bottom - 1};
    auto* progress = new CProgressCtrl;
    if (!progress->Create(WS_CHILD, bar, this, (UINT)(nRow + ZV_COMBOLIST_PROGRESS_ID_BASE))) {
        delete progress;
        return;
    }
    progress->SetPos(10);
    progress->ShowWindow(SW_SHOW);
    DestroyProgressBar();
    m_pProgress = progress;
}

void CComboListCtrl::DestroyProgressBar()
{
    if (!m_pProgress) return;
    if (m_pProgress->m_hWnd) m_pProgress->DestroyWindow();
    delete m_pProgress;
    m_pProgress = nullptr;
}

BOOL CComboListCtrl::CellRect(int nRow, int nColumn, RECT& rect)
{
    CHeaderCtrl* header = GetHeaderCtrl();
    if (!header || nColumn < 0 || nColumn >= header->GetItemCount()) return FALSE;
    RECT bounds{};
    if (!GetItemRect(nRow, &bounds, LVIR_BOUNDS)) return FALSE;
    RECT client{};
    GetClientRect(&client);
    if (bounds.right > client.right) bounds.right = client.right;
    int offset = 0;
    for (int i = 0; i < nColumn; ++i) offset += GetColumnWidth(i);
    const int width = GetColumnWidth(nColumn);
    const int x = offset + bounds.left;
    int scroll = 0;
    if (x < client.left || x > client.right)
        scroll = x;
    else if (x + width > client.right)
        scroll = x + width - client.right;
    if (scroll) Scroll(CSize(scroll, 0));
    rect.left = bounds.left - scroll + offset;
    rect.right = rect.left + width;
    rect.top = bounds.top;
    rect.bottom = bounds.bottom;
    return TRUE;
}

CInPlaceCombo* CComboListCtrl::OpenCellCombo(int nRow, int nColumn, const CStringList& choices,
                                             const CString& currentText, int nSelection)
{
    if (!EnsureVisible(nRow, TRUE)) return nullptr;
    CHeaderCtrl* header = GetHeaderCtrl();
    if (!header || nColumn < 0 || nColumn >= header->GetItemCount() || GetColumnWidth(nColumn) < 10) return nullptr;
    RECT rect{};
    if (!CellRect(nRow, nColumn, rect)) return nullptr;
    const int cellHeight = rect.bottom - rect.top;
    rect.bottom += cellHeight * InPlaceComboExtraRows((int)choices.GetCount());
    CInPlaceCombo* combo = CInPlaceCombo::Instance();
    if (!combo->Open(m_dwComboStyle, rect, this, 0, nRow, nColumn, choices, currentText, nSelection)) return nullptr;
    return combo;
}

CInPlaceEdit* CComboListCtrl::OpenCellEdit(int nRow, int nColumn, const CString& text)
{
    RECT rect{};
    if (!CellRect(nRow, nColumn, rect)) return nullptr;
    CInPlaceEdit* edit = CInPlaceEdit::Instance();
    // A cell editor is a child of the list with a border of its own.
    if (!edit->Open(m_dwEditStyle | WS_CHILD | WS_BORDER, rect, this, 0, nRow, nColumn, m_validEditChars, text))
        return nullptr;
    return edit;
}

BOOL CComboListCtrl::HitTestCell(POINT pt, int& nRow, int& nColumn)
{
    if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT) return FALSE;
    LVHITTESTINFO hit{};
    hit.pt = pt;
    nRow = HitTest(&hit);
    if (nRow < 0) return FALSE;
    RECT bounds{};
    if (!GetItemRect(nRow, &bounds, LVIR_BOUNDS) || !::PtInRect(&bounds, pt)) return FALSE;
    CHeaderCtrl* header = GetHeaderCtrl();
    const int count = header ? header->GetItemCount() : 0;
    int left = bounds.left;
    for (int i = 0; i < count; ++i) {
        const int width = GetColumnWidth(i);
        if (pt.x >= left && pt.x <= left + width) {
            nColumn = i;
            return TRUE;
        }
        left += width;
    }
    return FALSE;
}

void CComboListCtrl::OnClick(UINT nFlags, POINT pt, WPARAM wParam, LPARAM lParam)
{
    int row = -1, column = -1;
    if (!HitTestCell(pt, row, column)) return;  // not even the list's own click handling
    CListCtrl::WindowProc(WM_LBUTTONDOWN, wParam, lParam);
    if (nFlags & (MK_SHIFT | MK_CONTROL)) return;
    if (!(GetItemState(row, LVIS_FOCUSED) & LVIS_FOCUSED) || !(GetStyle() & LVS_EDITLABELS)) return;
    const CString text = GetItemText(row, column);
    if (IsComboColumn(column)) {
        CStringList choices(10);
        if (CWnd* parent = GetParent()) parent->SendMessage(WM_COMBOLIST_GET_CHOICES, (WPARAM)column, (LPARAM)&choices);
        CInPlaceCombo* combo = OpenCellCombo(row, column, choices, text, -1);
        if (combo) combo->SelectString(-1, text);
    } else if (!IsReadOnlyColumn(column)) {
        OpenCellEdit(row, column, text);
    }
}

BOOL CComboListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY) {
        const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
        if (info->hdr.code == LVN_ENDLABELEDITA || info->hdr.code == LVN_ENDLABELEDITW) {
            if (info->item.pszText) SetItemText(info->item.iItem, info->item.iSubItem, info->item.pszText);
            if (CWnd* parent = GetParent())
                parent->SendMessage(WM_COMBOLIST_CELL_EDITED, (WPARAM)GetDlgCtrlID(), lParam);
            if (pResult) *pResult = 0;
            return TRUE;
        }
        if (info->hdr.code == LVN_BEGINLABELEDITA || info->hdr.code == LVN_BEGINLABELEDITW) {
            if (pResult) *pResult = IsReadOnlyColumn(info->item.iSubItem) ? TRUE : FALSE;
            return TRUE;
        }
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CComboListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        OnClick((UINT)wParam, {(short)LOWORD(lParam), (short)HIWORD(lParam)}, wParam, lParam);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Taking the focus ends an open edit first.
        if (::GetFocus() != m_hWnd) SetFocus();
        break;
    default: break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}
