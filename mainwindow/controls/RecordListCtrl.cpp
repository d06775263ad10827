// The main view's record list.
#include "mainwindow/controls/RecordListCtrl.h"

#include <algorithm>

#include "app/res/RecordListRes.h"
#include "core/items/Record.h"
#include "framework/DC.h"
#include "framework/ResourceModuleWin.h"
#include "mainwindow/models/RecordColumns.h"
#include "mainwindow/models/ViewState.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

IMPLEMENT_DYNAMIC(CRecordListCtrl, COwnerListCtrl)

namespace {

// Built-in icons are 0 to 63; custom ones are drawn inset so that their
// pictures, scaled from larger files, keep a margin.
constexpr int kLastBuiltInIcon = 63;
constexpr int kCustomIconInset = 4;
constexpr int kSmallIconSize = 16;
constexpr int kSmallIconLeft = 5;
constexpr int kFitMinimum = 24;
constexpr int kFitPadding = 8;

bool IsPictureColumn(int column)
{
    return column == kColumnIcon || column == kColumnNotes || column == kColumnAttachment;
}

}  // namespace

CZorvikanDesktopView* CRecordListCtrl::View() const
{
    if (!m_hWnd) return nullptr;
    CWnd* parent = GetParent();
    return DYNAMIC_DOWNCAST(CZorvikanDesktopView, parent);
}

CRecord* CRecordListCtrl::GetRecordAt(int row) const { return reinterpret_cast<CRecord*>(CListCtrl::GetItemData(row)); }

int CRecordListCtrl::GetKeyColumn()
{
    CZorvikanDesktopView* view = View();
    return view ? SortColumnOf(view->GetViewState().sortKey) : kColumnFirstField;
}

CString CRecordListCtrl::GetCellText(DWORD_PTR data, int nColumnValue)
{
    CZorvikanDesktopView* view = View();
    const CRecord* record = reinterpret_cast<const CRecord*>(data);
    if (!view || !record || view->GetViewMode() != kViewModeList) return CString();
    CDatabaseObj& db = view->GetDatabase();
    const RecordNames names{db.GetTypes(), db.GetCategories()};
    return RecordCellText(*record, nColumnValue, names, view->IsRevealing());
}

void CRecordListCtrl::DrawCell(CDC* pDC, const RECT& cellRect, int nColumnValue, DWORD_PTR data, int)
{
    const CRecord* record = reinterpret_cast<const CRecord*>(data);
    if (!record) return;
    switch (nColumnValue) {
    case kColumnIcon: DrawRecordIcon(pDC, cellRect, *record); break;
    case kColumnNotes:
        if (record->HasMainText()) DrawSmallIcon(pDC, cellRect, IDI_RECORD_NOTES);
        break;
    case kColumnAttachment:
        if (record->HasAttachment()) DrawSmallIcon(pDC, cellRect, IDI_RECORD_ATTACHMENT);
        break;
    default: {
        CZorvikanDesktopView* view = View();
        if (!view) return;
        CDatabaseObj& db = view->GetDatabase();
        const RecordNames names{db.GetTypes(), db.GetCategories()};
        DrawCellText(pDC, cellRect, RecordCellText(*record, nColumnValue, names, view->IsRevealing()), DT_LEFT);
        break;
    }
    }
}

void CRecordListCtrl::DrawRecordIcon(CDC* pDC, const RECT& cell, const CRecord& record)
{
    // The view's small-icon list is the header's: its image index is the
    // icon id.
    CHeaderCtrl* header = GetHeaderCtrl();
    HIMAGELIST images = header ? (HIMAGELIST)header->SendMessage(HDM_GETIMAGELIST) : nullptr;
    const int icon = record.GetIcon();
    if (!images || icon >= ImageList_GetImageCount(images)) return;
    RECT box = cell;
    if (icon > kLastBuiltInIcon) ::InflateRect(&box, -kCustomIconInset, -kCustomIconInset);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    const int width = std::min<int>(cx, box.right - box.left), height = std::min<int>(cy, box.bottom - box.top);
    if (width <= 0 || height <= 0) return;
    const int x = box.left + (box.right - box.left - width) / 2;
    const int y = box.top + (box.bottom - box.top - height) / 2;
    ImageList_DrawEx(images, icon, pDC->GetSafeHdc(), x, y, width, height, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

void CRecordListCtrl::DrawSmallIcon(CDC* pDC, const RECT& cell, UINT iconId)
{
    HICON icon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, kSmallIconSize,
                                     kSmallIconSize, LR_SHARED);
    if (!icon) return;
    const int y = cell.top + (cell.bottom - cell.top - kSmallIconSize) / 2;
    ::DrawIconEx(pDC->GetSafeHdc(), cell.left + kSmallIconLeft, y, icon, kSmallIconSize, kSmallIconSize, 0, nullptr,
                 DI_NORMAL);
}

void CRecordListCtrl::OnContextMenu(CPoint point)
{
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_CONTEXTMENU, (WPARAM)m_hWnd, MAKELPARAM(point.x, point.y));
}

void CRecordListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (CZorvikanDesktopView* view = View()) m_crEvenRow = view->GetViewState().rowColor;
    COwnerListCtrl::DrawItem(lpDrawItemStruct);
}

int CRecordListCtrl::GetColumnFitWidth(int column)
{
    if (IsPictureColumn(column)) return kFitMinimum;
    int widest = 0;
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        const CString text = GetCellText(CListCtrl::GetItemData(row), column);
        widest = std::max(widest, (int)SendMessage(LVM_GETSTRINGWIDTHA, 0, (LPARAM)(LPCSTR)text));
    }
    return widest + kFitPadding;
}
