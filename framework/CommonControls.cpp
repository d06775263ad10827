#include "framework/CommonControls.h"

#include "framework/Controls.h"
#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

template <> struct ZvHandleTraits<CImageList> {
    using Handle = HIMAGELIST;
    static HIMAGELIST& Of(CImageList& i) { return i.m_hImageList; }
};

// ---- CImageList -------------------------------------------------------------

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    HIMAGELIST h = ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask,
                                        IMAGE_BITMAP, LR_CREATEDIBSECTION);
    if (!h)
        h = ImageList_LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask, IMAGE_BITMAP,
                                 LR_CREATEDIBSECTION);
    return Attach(h);
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (!hImageList || m_hImageList) return FALSE;
    m_hImageList = hImageList;
    CHandleMap<CImageList>::SetPermanent(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    if (h) CHandleMap<CImageList>::RemoveHandle(h);
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList) return FALSE;
    return ImageList_Destroy(Detach());
}

namespace {
CImageList* ImageListFromHandle(HIMAGELIST h) { return CHandleMap<CImageList>::FromHandle(h); }
}  // namespace

// ---- CHeaderCtrl -----------------------------------------------------------------

CImageList* CHeaderCtrl::SetImageList(CImageList* pImageList) const
{
    return ImageListFromHandle(
        (HIMAGELIST)SendMessage(HDM_SETIMAGELIST, 0, (LPARAM)(pImageList ? pImageList->m_hImageList : nullptr)));
}

// ---- CListCtrl -------------------------------------------------------------------

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxInitCommonControls(ICC_LISTVIEW_CLASSES);
    return CreateEx(0, WC_LISTVIEWA, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult)) return TRUE;
    if (message != WM_DRAWITEM) return FALSE;
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult) *pResult = TRUE;
    return TRUE;
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem) const
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(&item);
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage) const
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText) const
{
    LVITEMA item{};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    CString text;
    for (int size = 256;; size *= 2) {
        LVITEMA item{};
        item.iSubItem = nSubItem;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        int n = (int)SendMessage(LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
        text.ReleaseBuffer(n);
        if (n < size - 1) return text;
    }
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = (LPARAM)dwData;
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) const
{
    LVITEMA item{};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&item);
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    lpRect->left = (LONG)nCode;
    return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info{};
    info.pt = pt;
    int item = HitTest(&info);
    if (pFlags) *pFlags = info.flags;
    return item;
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) const
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    HWND h = (HWND)SendMessage(LVM_GETHEADER);
    if (!h) return nullptr;
    CWnd* perm = FromHandlePermanent(h);
    if (perm && perm->IsKindOf(RUNTIME_CLASS(CHeaderCtrl))) return static_cast<CHeaderCtrl*>(perm);
    // A plain forwarding object: CHeaderCtrl adds no data to CWnd.
    return static_cast<CHeaderCtrl*>(FromHandle(h));
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) const
{
    return ImageListFromHandle((HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)nImageListType,
                                                       (LPARAM)(pImageList ? pImageList->m_hImageList : nullptr)));
}

CEdit* CListCtrl::GetEditControl() const
{
    return static_cast<CEdit*>(FromHandle((HWND)SendMessage(LVM_GETEDITCONTROL)));
}

// ---- CTreeCtrl -----------------------------------------------------------------------

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxInitCommonControls(ICC_TREEVIEW_CLASSES);
    return CreateEx(0, WC_TREEVIEWA, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) const
{
    TVINSERTSTRUCTA tvis{};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(&tvis);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) const
{
    TVINSERTSTRUCTA tvis{};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    return InsertItem(&tvis);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    CString text;
    for (int size = 256;; size *= 2) {
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        BOOL ok = GetItem(&item);
        text.ReleaseBuffer();
        if (!ok) return CString();
        if (text.GetLength() < size - 1) return text;
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCSTR lpszItem) const
{
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) const
{
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    item.lParam = (LPARAM)dwData;
    return SetItem(&item);
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) const
{
    TVITEMA item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = hItem;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    return SetItem(&item);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)hItem, nStateMask);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) const
{
    TVITEMA item{};
    item.mask = TVIF_STATE;
    item.hItem = hItem;
    item.state = nState;
    item.stateMask = nStateMask;
    return SetItem(&item);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    TVITEMA item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = hItem;
    return GetItem(&item) && item.cChildren != 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
    return (BOOL)SendMessage(TVM_GETITEMRECT, bTextOnly, (LPARAM)lpRect);
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO info{};
    info.pt = pt;
    HTREEITEM h = (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)&info);
    if (pFlags) *pFlags = info.flags;
    return h;
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) const
{
    return ImageListFromHandle((HIMAGELIST)SendMessage(TVM_SETIMAGELIST, (WPARAM)nImageListType,
                                                       (LPARAM)(pImageList ? pImageList->m_hImageList : nullptr)));
}

// ---- CToolTipCtrl ----------------------------------------------------------------------

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

namespace {
TOOLINFOA ToolInfo(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    if (nIDTool == 0) {
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = ::GetParent(pWnd->m_hWnd);
        ti.uId = (UINT_PTR)pWnd->m_hWnd;
    } else {
        ti.uFlags = TTF_SUBCLASS;
        ti.hwnd = pWnd->m_hWnd;
        ti.uId = nIDTool;
    }
    return ti;
}
}  // namespace

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) const
{
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    if (lpRectTool) ti.rect = *lpRectTool;
    ti.lpszText = const_cast<LPSTR>(lpszText ? lpszText : LPSTR_TEXTCALLBACKA);
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}
