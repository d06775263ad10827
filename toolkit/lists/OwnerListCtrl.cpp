#include "toolkit/lists/OwnerListCtrl.h"

#include "core/winui/ListSelection.h"
#include "core/winui/TextFitting.h"
#include "framework/DC.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/lists/TypeAhead.h"

IMPLEMENT_DYNAMIC(COwnerListCtrl, CListCtrl)

COwnerListCtrl::COwnerListCtrl()
    : m_crSelectedBack(::GetSysColor(COLOR_HIGHLIGHT)), m_crSelectedText(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_crOddRow(::GetSysColor(COLOR_WINDOW))
{}

BOOL COwnerListCtrl::Create(const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CListCtrl::Create(GetCreateStyle(), rect, pParentWnd, nID);
}

void COwnerListCtrl::SelectItem(int nItem, BOOL bClearOthers)
{
    if (bClearOthers) SetItemState(-1, 0, LVIS_SELECTED);
    if (nItem == -1) return;
    SetItemState(nItem, LVIS_SELECTED, LVIS_SELECTED);
    SetItemState(nItem, LVIS_FOCUSED, LVIS_FOCUSED);
}

void COwnerListCtrl::DrawCellText(CDC* pDC, const RECT& rect, const CString& text, UINT format)
{
    RECT inset = rect;
    inset.left += 3;
    inset.right -= 3;
    DrawTextWithEllipsis(pDC->GetSafeHdc(), text, inset, format | DT_NOPREFIX | DT_VCENTER);
}

int COwnerListCtrl::InsertColumn(int nCol, int nColumnValue, UINT nHeadingId, int nFormat, int nWidth)
{
    CString heading;
    heading.LoadString(nHeadingId);
    return InsertColumn(nCol, nColumnValue, (LPCSTR)heading, nFormat, nWidth);
}

int COwnerListCtrl::InsertColumn(int nCol, int nColumnValue, LPCSTR lpszHeading, int nFormat, int nWidth)
{
    const int index = CListCtrl::InsertColumn(nCol, lpszHeading, nFormat, nWidth, -1);
    if (index < 0) return index;
    if (CHeaderCtrl* header = GetHeaderCtrl()) {
        HDITEMA item{};
        item.mask = HDI_LPARAM;
        item.lParam = nColumnValue;
        header->SetItem(index, &item);
    }
    return index;
}

void COwnerListCtrl::SetColumnImage(int nCol, int nImage)
{
    CHeaderCtrl* header = GetHeaderCtrl();
    if (!header) return;
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt = HDF_IMAGE | HDF_CENTER;
    item.iImage = nImage;
    header->SetItem(nCol, &item);
}

void COwnerListCtrl::DrawRow(CDC* pDC, const RECT& rowRect, BOOL, DWORD_PTR data, int nRow)
{
    CHeaderCtrl* header = GetHeaderCtrl();
    if (!header) return;
    const int count = header->GetItemCount();
    int left = rowRect.left;
    for (int i = 0; i < count; ++i) {
        HDITEMA item{};
        item.mask = HDI_LPARAM;
        header->GetItem(i, &item);
        const int width = GetColumnWidth(i);
        RECT cell{left, rowRect.top, left + width, rowRect.bottom};
        DrawCell(pDC, cell, (int)item.lParam, data, nRow);
        left += width;
    }
}

void COwnerListCtrl::DrawCell(CDC*, const RECT&, int, DWORD_PTR, int) {}
void COwnerListCtrl::OnSelectionChanged(int, BOOL) {}
CString COwnerListCtrl::GetCellText(DWORD_PTR, int) { return CString(); }
void COwnerListCtrl::OnItemDblClk(int) {}
void COwnerListCtrl::OnKeyUp(UINT, UINT, UINT) {}
void COwnerListCtrl::OnContextMenu(CPoint) {}

void COwnerListCtrl::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (dis->itemAction & ODA_SELECT) return;
    CDC* target = CDC::FromHandle(dis->hDC);
    if ((int)dis->itemID == -1) {
        target->DrawFocusRect(&dis->rcItem);
        return;
    }
    if (dis->itemAction & ODA_DRAWENTIRE) {
        const int row = (int)dis->itemID;
        const int width = dis->rcItem.right - dis->rcItem.left;
        const int height = dis->rcItem.bottom - dis->rcItem.top;
        const DWORD_PTR data = GetItemData(row);
        HDC mem = ::CreateCompatibleDC(dis->hDC);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dis->hDC, width > 0 ? width : 1, height > 0 ? height : 1);
        if (mem && bitmap) {
            HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
            HFONT font = (HFONT)SendMessage(WM_GETFONT);
            HGDIOBJ oldFont = font ? ::SelectObject(mem, font) : nullptr;
            CDC memDC;
            memDC.Attach(mem);
            const RECT rowRect{0, 0, width, height};
            if (dis->itemState & ODS_SELECTED) {
                memDC.FillSolidRect(&rowRect, m_crSelectedBack);
                memDC.SetTextColor(m_crSelectedText);
                memDC.SetBkColor(m_crSelectedBack);
                DrawRow(&memDC, rowRect, TRUE, data, row);
            } else {
                const COLORREF back = (row % 2 == 0) ? m_crEvenRow : m_crOddRow;
                memDC.SetBkColor(back);
                memDC.FillSolidRect(&rowRect, back);
                DrawRow(&memDC, rowRect, FALSE, data, row);
            }
            ::BitBlt(dis->hDC, dis->rcItem.left, dis->rcItem.top, width, height, mem, 0, 0, SRCCOPY);
            memDC.Detach();
            if (oldFont) ::SelectObject(mem, oldFont);
            ::SelectObject(mem, oldBitmap);
        }
        if (bitmap) ::DeleteObject(bitmap);
        if (mem) ::DeleteDC(mem);
        if (dis->itemState & ODS_FOCUS) target->DrawFocusRect(&dis->rcItem);
    } else if (dis->itemAction & ODA_FOCUS) {
        target->DrawFocusRect(&dis->rcItem);
    }
}

void COwnerListCtrl::MeasureRow(LPMEASUREITEMSTRUCT mis)
{
    HDC screen = ::GetDC(nullptr);
    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    HGDIOBJ old = font ? ::SelectObject(screen, font) : nullptr;
    TEXTMETRICA tm{};
    ::GetTextMetricsA(screen, &tm);
    if (old) ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    mis->itemHeight = (UINT)AdjustRowHeight(tm.tmHeight + tm.tmExternalLeading);
}

BOOL COwnerListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_MEASUREITEM) {
        MeasureRow(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        if (pResult) *pResult = TRUE;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
        if (nm->code == LVN_ITEMCHANGED) {
            const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (lv->uChanged == LVIF_STATE) OnSelectionChanged(lv->iItem, (lv->uNewState & LVIS_SELECTED) != 0);
        } else if (nm->code == LVN_BEGINDRAG) {
            OnBeginDrag();
        }
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

void COwnerListCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    std::shared_ptr<CTypeAhead> typed = CTypeAhead::GetInstance();
    const CString prefix = typed->Type((char)(nChar & 0xFF), ::GetTickCount(), ::GetDoubleClickTime());
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        const DWORD_PTR data = GetItemData(row);
        if (!data) continue;
        if (!CTypeAhead::Matches(GetCellText(data, GetKeyColumn()), prefix)) continue;
        SelectAllListItems(m_hWnd, false);
        SelectListItem(m_hWnd, row, true);
        EnsureVisible(row, FALSE);
        return;
    }
    DefWindowProc(WM_CHAR, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void COwnerListCtrl::OnKeyDownNoSelection(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if ((nChar == VK_DOWN || nChar == VK_UP || nChar == VK_RETURN) && GetNextItem(-1, LVNI_SELECTED) == -1) {
        const int perPage = GetCountPerPage();
        if (nChar != VK_RETURN && GetItemCount() > perPage) {
            POINT top{};
            GetItemPosition(GetTopIndex(), &top);
            const int step = perPage * top.y;
            Scroll(CSize(0, nChar == VK_DOWN ? step : -step));
        }
        return;
    }
    DefWindowProc(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void COwnerListCtrl::EraseOutsideRows(HDC hdc)
{
    RECT client{};
    GetClientRect(&client);
    RECT rows{};
    bool haveRows = false;
    const int count = GetItemCount();
    if (count > 0) {
        RECT last{};
        if (GetItemRect(count - 1, &last, LVIR_BOUNDS)) {
            int width = 0;
            if (CHeaderCtrl* header = GetHeaderCtrl()) {
                for (int i = 0; i < header->GetItemCount(); ++i) width += GetColumnWidth(i);
            }
            rows = {client.left, client.top, client.left + width, last.bottom};
            haveRows = true;
        }
    }
    const int saved = ::SaveDC(hdc);
    if (haveRows) ::ExcludeClipRect(hdc, rows.left, rows.top, rows.right, rows.bottom);
    HGDIOBJ oldPen = ::SelectObject(hdc, ::GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = ::SelectObject(hdc, ::GetSysColorBrush(COLOR_WINDOW));
    ::Rectangle(hdc, client.left, client.top, client.right + 2, client.bottom + 2);
    ::SelectObject(hdc, oldBrush);
    ::SelectObject(hdc, oldPen);
    ::RestoreDC(hdc, saved);
}

LRESULT COwnerListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR: OnChar((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_KEYDOWN: OnKeyDownNoSelection((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_KEYUP: OnKeyUp((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_LBUTTONDBLCLK: {
        LVHITTESTINFO hit{};
        hit.pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        const int row = HitTest(&hit);
        if (row < 0) return 0;  // empty space: nothing, not even the default
        OnItemDblClk(row);
        return DefWindowProc(message, wParam, lParam);
    }
    case WM_CONTEXTMENU: OnContextMenu(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam))); return 0;
    case WM_MOUSEMOVE:
        if (CWnd* parent = GetParent()) parent->SendMessage(WM_CHILDLIST_MOUSEMOVE, 0, 0);
        return DefWindowProc(message, wParam, lParam);
    case WM_ERASEBKGND: EraseOutsideRows((HDC)wParam); return TRUE;
    case WM_SETFONT: {
        const LRESULT result = DefWindowProc(message, wParam, lParam);
        // The list asks its rows' height again only when its size changes.
        RECT window{};
        GetWindowRect(&window);
        WINDOWPOS pos{};
        pos.hwnd = m_hWnd;
        pos.cx = window.right - window.left;
        pos.cy = window.bottom - window.top;
        pos.flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        SendMessage(WM_WINDOWPOSCHANGED, 0, (LPARAM)&pos);
        return result;
    }
    default: break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}
