#pragma once
// Wrappers of the common controls the program's windows use: list view,
// header, tree view, tool tips and image lists.

#include <windows.h>
#include <commctrl.h>

#include "framework/CString.h"
#include "framework/Geometry.h"
#include "framework/Wnd.h"

class CEdit;

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // A strip bitmap of the resource module, cut into images cx wide.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }  // NOLINT

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(HBITMAP hbmImage, HBITMAP hbmMask) const { return ImageList_Add(m_hImageList, hbmImage, hbmMask); }
    int Add(HBITMAP hbmImage, COLORREF crMask) const { return ImageList_AddMasked(m_hImageList, hbmImage, crMask); }
    int Add(HICON hIcon) const { return ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
    int Replace(int nImage, HICON hIcon) const { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    BOOL Remove(int nImage) const { return ImageList_Remove(m_hImageList, nImage); }
    HICON ExtractIcon(int nImage) const { return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
    BOOL Draw(HDC hdc, int nImage, POINT pt, UINT nStyle) const
    {
        return ImageList_Draw(m_hImageList, nImage, hdc, pt.x, pt.y, nStyle);
    }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
    {
        return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
    }
    COLORREF SetBkColor(COLORREF cr) const { return ImageList_SetBkColor(m_hImageList, cr); }

    HIMAGELIST m_hImageList = nullptr;
};

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const
    {
        return (BOOL)SendMessage(HDM_GETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem);
    }
    BOOL SetItem(int nPos, HDITEMA* pHeaderItem) const
    {
        return (BOOL)SendMessage(HDM_SETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem);
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect);
    }
    CImageList* SetImageList(CImageList* pImageList) const;
    int HitTest(LPHDHITTESTINFO pInfo) const { return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)pInfo); }
};

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    // ---- Overridables ---------------------------------------------------
    // Paints a row of an owner-drawn report list (LVS_OWNERDRAWFIXED).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // ---- Operations -----------------------------------------------------
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    BOOL DeleteAllItems() const { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    BOOL DeleteItem(int nItem) const { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)nItem); }
    int InsertItem(int nItem, LPCSTR lpszItem) const;
    int InsertItem(int nItem, LPCSTR lpszItem, int nImage) const;
    int InsertItem(const LVITEMA* pItem) const { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem); }
    BOOL GetItem(LVITEMA* pItem) const { return (BOOL)SendMessage(LVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMA* pItem) const { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText) const;
    CString GetItemText(int nItem, int nSubItem) const;
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData) const;
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)nItem, (LPARAM)nMask);
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask) const;
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const
    {
        return (BOOL)SendMessage(LVM_GETITEMPOSITION, (WPARAM)nItem, (LPARAM)lpPoint);
    }
    int GetNextItem(int nItem, int nFlags) const { return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)nItem, nFlags); }
    UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT); }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) const
    {
        return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)nItem, bPartialOK);
    }
    BOOL Scroll(CSize size) const { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)size.cx, size.cy); }
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    int HitTest(LVHITTESTINFO* pHitTestInfo) const { return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)pHitTestInfo); }
    int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1) const;
    int InsertColumn(int nCol, const LVCOLUMNA* pColumn) const
    {
        return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    BOOL DeleteColumn(int nCol) const { return (BOOL)SendMessage(LVM_DELETECOLUMN, (WPARAM)nCol); }
    BOOL GetColumn(int nCol, LVCOLUMNA* pColumn) const
    {
        return (BOOL)SendMessage(LVM_GETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    BOOL SetColumn(int nCol, const LVCOLUMNA* pColumn) const
    {
        return (BOOL)SendMessage(LVM_SETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    int GetColumnWidth(int nCol) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)nCol); }
    BOOL SetColumnWidth(int nCol, int cx) const { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)nCol, cx); }
    CHeaderCtrl* GetHeaderCtrl() const;
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
    DWORD SetExtendedStyle(DWORD dwNewStyle) const
    {
        return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle);
    }
    CImageList* SetImageList(CImageList* pImageList, int nImageListType) const;
    COLORREF SetBkColor(COLORREF cr) const { return (COLORREF)SendMessage(LVM_SETBKCOLOR, 0, cr); }
    COLORREF SetTextBkColor(COLORREF cr) const { return (COLORREF)SendMessage(LVM_SETTEXTBKCOLOR, 0, cr); }
    COLORREF SetTextColor(COLORREF cr) const { return (COLORREF)SendMessage(LVM_SETTEXTCOLOR, 0, cr); }
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) const
    {
        return (BOOL)SendMessage(LVM_SORTITEMS, dwData, (LPARAM)pfnCompare);
    }
    BOOL RedrawItems(int nFirst, int nLast) const { return (BOOL)SendMessage(LVM_REDRAWITEMS, (WPARAM)nFirst, nLast); }
    CEdit* GetEditControl() const;
    void SetItemCount(int nItems) const { SendMessage(LVM_SETITEMCOUNT, (WPARAM)nItems); }
};

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    HTREEITEM InsertItem(LPCSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST) const;
    HTREEITEM InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST) const;
    HTREEITEM InsertItem(LPTVINSERTSTRUCTA lpInsertStruct) const
    {
        return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)lpInsertStruct);
    }
    BOOL DeleteItem(HTREEITEM hItem) const { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)hItem); }
    BOOL DeleteAllItems() const { return DeleteItem(TVI_ROOT); }
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, nCode, (LPARAM)hItem);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL SelectItem(HTREEITEM hItem) const { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)hItem); }
    BOOL SelectDropTarget(HTREEITEM hItem) const
    {
        return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, (LPARAM)hItem);
    }
    BOOL Expand(HTREEITEM hItem, UINT nCode) const { return (BOOL)SendMessage(TVM_EXPAND, nCode, (LPARAM)hItem); }
    BOOL EnsureVisible(HTREEITEM hItem) const { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)hItem); }
    BOOL GetItem(TVITEMA* pItem) const { return (BOOL)SendMessage(TVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(TVITEMA* pItem) const { return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)pItem); }
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCSTR lpszItem) const;
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData) const;
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) const;
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) const;
    BOOL ItemHasChildren(HTREEITEM hItem) const;
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    CImageList* SetImageList(CImageList* pImageList, int nImageListType) const;
    HIMAGELIST CreateDragImage(HTREEITEM hItem) const
    {
        return (HIMAGELIST)SendMessage(TVM_CREATEDRAGIMAGE, 0, (LPARAM)hItem);
    }
    BOOL SortChildren(HTREEITEM hItem) const { return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)hItem); }
    COLORREF SetBkColor(COLORREF clr) const { return (COLORREF)SendMessage(TVM_SETBKCOLOR, 0, clr); }
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // A tool for a child window (nIDTool 0) or a rectangle of pWnd.
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0) const;
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void RelayEvent(LPMSG lpMsg) const { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
    void Activate(BOOL bActivate) const { SendMessage(TTM_ACTIVATE, bActivate); }
    int SetMaxTipWidth(int iWidth) const { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth); }
    void SetDelayTime(UINT nDelay) const { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    void Pop() const { SendMessage(TTM_POP); }
};
