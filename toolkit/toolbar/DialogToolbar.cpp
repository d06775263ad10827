#include "toolkit/toolbar/DialogToolbar.h"

#include "framework/DataExchange.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/toolbar/MainViewLink.h"

IMPLEMENT_DYNAMIC(CDialogToolbar, CDialogBarEx)

BOOL CDialogToolbar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    if (!CDialogBar::Create(pParentWnd, nIDTemplate, nStyle, nID)) return FALSE;
    if (HWND search = ::GetDlgItem(m_hWnd, IDC_TOOLBAR_SEARCH)) m_edSearch.SubclassWindow(search);
    if (!m_edSearch.m_hWnd) return TRUE;
    m_edSearch.SetBitmaps(IDB_SEARCH_EMPTY, IDB_SEARCH_TEXT, IDB_SEARCH_EMPTY_ALT, IDB_SEARCH_TEXT_ALT);
    m_edSearch.SetTextRect(2, 3, 108, 18);
    m_edSearch.SetClearButtonRect(109, 3, 126, 18);
    m_edSearch.SetHistoryButtonRect(126, 2, 141, 18);
    m_edSearch.SetClearButtonMessage(WM_SEARCHBOX_CLEAR);
    m_edSearch.SetHistoryButtonMessage(WM_SEARCHBOX_HISTORY);
    m_edSearch.InitAutoComplete();
    m_edSearch.SetWordSeparators("\\", 0);
    return TRUE;
}

void CDialogToolbar::DoDataExchange(CDataExchange* pDX)
{
    CDialogBarEx::DoDataExchange(pDX);
    DDX_Control(pDX, ID_LOCK_APP, m_btnLock);
    DDX_Control(pDX, ID_OPTIONS, m_btnOptions);
    DDX_Control(pDX, IDC_TOOLBAR_TYPES_LABEL, m_stTypes);
    DDX_Control(pDX, IDC_TOOLBAR_TYPES, m_cbTypes);
    DDX_Control(pDX, IDC_TOOLBAR_SEARCH, m_edSearch);
    DDX_Control(pDX, IDC_TOOLBAR_CATEGORIES, m_cbCategories);
    DDX_Control(pDX, ID_VIEW_PANEL, m_btnPanelView);
    DDX_Control(pDX, ID_VIEW_LIST, m_btnListView);
    DDX_Control(pDX, ID_VIEW_TREE, m_btnTreeView);
    DDX_Control(pDX, IDC_TOOLBAR_SEARCH_CUE, m_stSearchCue);
}

BOOL CDialogToolbar::PreTranslateMessage(MSG* pMsg)
{
    switch (pMsg->message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        // The view's tool tips relay these; its answer does not matter here.
        if (CWnd* view = FindMainView()) view->PreTranslateMessage(pMsg);
        break;
    case WM_KEYDOWN:
        if (pMsg->wParam == VK_TAB && m_edSearch.m_hWnd && ::GetFocus() == m_edSearch.m_hWnd) {
            // Tab leaves the bar for the view's panes, never the next control.
            if (CWnd* view = FindMainView()) view->PreTranslateMessage(pMsg);
            return TRUE;
        }
        break;
    default: break;
    }
    return CDialogBarEx::PreTranslateMessage(pMsg);
}
