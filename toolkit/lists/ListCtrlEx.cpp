#include "toolkit/lists/ListCtrlEx.h"

#include "toolkit/ToolkitIds.h"

IMPLEMENT_DYNAMIC(CTreeCtrlEx, CTreeCtrl)
IMPLEMENT_DYNAMIC(CListCtrlEx, CListCtrl)

LRESULT CTreeCtrlEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE) {
        if (HWND parent = ::GetParent(m_hWnd)) ::SendMessageA(parent, WM_CHILDLIST_MOUSEMOVE, 0, 0);
    }
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}

BOOL CListCtrlEx::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_nControlId = (int)nID;
    return CListCtrl::Create(dwStyle, rect, pParentWnd, nID);
}

void CListCtrlEx::AutoSizeLastColumn()
{
    CHeaderCtrl* header = GetHeaderCtrl();
    const int count = header ? header->GetItemCount() : 0;
    if (count > 0) SetColumnWidth(count - 1, LVSCW_AUTOSIZE_USEHEADER);
}

LRESULT CListCtrlEx::SendToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND parent = ::GetParent(m_hWnd);
    return parent ? ::SendMessageA(parent, message, wParam, lParam) : 0;
}

BOOL CListCtrlEx::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY) {
        const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lParam);
        switch (lv->hdr.code) {
        case LVN_ITEMCHANGED:
            if ((lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED))
                SendToParent(WM_LISTCTRLEX_SELECTED, (WPARAM)m_nControlId, 0);
            if (pResult) *pResult = 0;
            return TRUE;
        case LVN_COLUMNCLICK:
            m_pHeader = GetHeaderCtrl();
            SendToParent(WM_LISTCTRLEX_COLUMNCLICK, (WPARAM)m_nControlId, (LPARAM)m_pHeader);
            if (pResult) *pResult = 0;
            return TRUE;
        case LVN_BEGINDRAG:
            if (m_nControlId == ZV_LISTCTRLEX_DRAG_SOURCE_ID) SendToParent(WM_LISTCTRLEX_BEGINDRAG, (WPARAM)lv, 0);
            if (pResult) *pResult = 0;
            return TRUE;
        default: break;
        }
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CListCtrlEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: {
        const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
        if (::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0)
            SendToParent(WM_LISTCTRLEX_SELECTED, (WPARAM)m_nControlId, 0);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) SendToParent(WM_LISTCTRLEX_ESCAPE, 0, 0);
        break;
    case WM_MOUSEMOVE: {
        POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
        SendToParent(WM_LISTCTRLEX_DRAGMOVE, (WPARAM)&pt, (LPARAM)m_nControlId);
        SendToParent(WM_CHILDLIST_MOUSEMOVE, (WPARAM)&pt, (LPARAM)m_nControlId);
        break;
    }
    case WM_LBUTTONUP: {
        POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
        SendToParent(WM_LISTCTRLEX_DROP, (WPARAM)&pt, 0);
        break;
    }
    default: break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}
