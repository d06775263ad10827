#pragma once
// CTreeCtrlEx and CListCtrlEx: the main view's tree and panel lists, which
// pass their mouse and keyboard events up to the parent as messages (see
// toolkit/ToolkitIds.h), so that the parent runs selection, drag and drop
// and the splitter in one place. The parent must handle every one of them.
#include <windows.h>

#include "framework/CommonControls.h"

class CTreeCtrlEx : public CTreeCtrl {
    DECLARE_DYNAMIC(CTreeCtrlEx)
public:
    CTreeCtrlEx() = default;
    ~CTreeCtrlEx() override = default;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CListCtrlEx : public CListCtrl {
    DECLARE_DYNAMIC(CListCtrlEx)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The last column takes the rest of the list's width.
    void AutoSizeLastColumn();
    int GetControlId() const { return m_nControlId; }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT SendToParent(UINT message, WPARAM wParam, LPARAM lParam);

    int m_nControlId = 0;
    CHeaderCtrl* m_pHeader = nullptr;
};
