#include "framework/FrameWnd.h"

#include <algorithm>

#include "framework/ControlBar.h"
#include "framework/Document.h"
#include "framework/FrameworkRes.h"
#include "framework/View.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
END_MESSAGE_MAP()

CFrameWnd::~CFrameWnd()
{
    for (CControlBar* bar : m_controlBars) bar->m_pDockSite = nullptr;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) cs.lpszClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
    cs.style |= WS_CLIPCHILDREN;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName) {
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
        if (!hMenu) hMenu = ::LoadMenuA(AfxGetInstanceHandle(), lpszMenuName);
    }
    m_strTitle = lpszWindowName;
    const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : cx, rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : cy,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu, pContext)) {
        if (hMenu) ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString full;
    full.LoadString(nIDResource);
    int nl = full.Find('\n');
    CString title = nl < 0 ? full : full.Left(nl);

    LPCSTR resource = MAKEINTRESOURCEA(nIDResource);
    HINSTANCE hRes = AfxGetResourceHandle();
    HICON hIcon = ::LoadIconA(hRes, resource);
    if (!hIcon) hIcon = ::LoadIconA(AfxGetInstanceHandle(), resource);
    m_hAccelTable = ::LoadAcceleratorsA(hRes, resource);
    if (!m_hAccelTable) m_hAccelTable = ::LoadAcceleratorsA(AfxGetInstanceHandle(), resource);

    LPCSTR className = nullptr;
    if (hIcon) className = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr, hIcon);

    if (!Create(className, title, dwDefaultStyle, rectDefault, pParentWnd, resource, 0, pContext)) return FALSE;
    m_hMenuDefault = ::GetMenu(m_hWnd);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA lpcs)
{
    auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!OnCreateClient(lpcs, context)) return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    if (!object) return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return nullptr;
    }
    auto* view = static_cast<CWnd*>(object);
    const unsigned hooked = AfxGetThreadState()->m_nWndHooked;
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID, pContext)) {
        // A view whose window was made and refused has deleted itself already.
        if (AfxGetThreadState()->m_nWndHooked == hooked) delete view;
        return nullptr;
    }
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    if (!m_pViewActive) {
        CWnd* pane = GetDlgItem(AFX_IDW_PANE_FIRST);
        if (pane && pane->IsKindOf(RUNTIME_CLASS(CView))) SetActiveView(static_cast<CView*>(pane), FALSE);
    }
    // Every view hears WM_INITIALUPDATE once its document is ready.
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    if (bMakeVisible) {
        int nCmdShow = -1;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            nCmdShow = app->m_nCmdShow;  // the show command is used once
            app->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (m_pViewActive) m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE && nCmdShow != SW_SHOWNA &&
        nCmdShow != SW_SHOWNOACTIVATE) {
        HWND popup = ::GetLastActivePopup(m_hWnd);
        if (popup) ::BringWindowToTop(popup);
    }
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringWindowToTop();
    }
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* old = m_pViewActive;
    if (old == pViewNew) return;
    m_pViewActive = nullptr;
    if (old && bNotify) old->OnActivateView(FALSE, pViewNew, old);
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* doc = GetActiveDocument();
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc && !doc->GetTitle().IsEmpty()) {
        CString text = doc->GetTitle();
        text += " - ";
        text += m_strTitle;
        SetWindowText(text);
    } else {
        SetWindowText(m_strTitle);
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, ZvHandlerInfo* pHandlerInfo)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (!m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    // A print preview covers the whole client area, bars included.
    if (HWND preview = ::GetDlgItem(m_hWnd, AFX_IDW_PREVIEW))
        ::MoveWindow(preview, client.left, client.top, client.Width(), client.Height(), TRUE);
    for (CControlBar* bar : m_controlBars) {
        if (!bar->m_hWnd || !bar->IsWindowVisible()) continue;
        const DWORD align = bar->GetBarStyle() & CBRS_ALIGN_ANY;
        CSize size = bar->CalcFixedLayout(TRUE, !(align & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)));
        CRect rc = client;
        if (align & CBRS_ALIGN_BOTTOM) {
            rc.top = client.bottom - size.cy;
            client.bottom = rc.top;
        } else if (align & CBRS_ALIGN_LEFT) {
            rc.right = client.left + size.cx;
            client.left = rc.right;
        } else if (align & CBRS_ALIGN_RIGHT) {
            rc.left = client.right - size.cx;
            client.right = rc.left;
        } else {
            rc.bottom = client.top + size.cy;
            client.top = rc.bottom;
        }
        bar->MoveWindow(&rc);
    }
    if (HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        ::MoveWindow(pane, client.left, client.top, client.Width(), std::max(0, (int)client.Height()), TRUE);
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (std::find(m_controlBars.begin(), m_controlBars.end(), pBar) == m_controlBars.end())
        m_controlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    m_controlBars.erase(std::remove(m_controlBars.begin(), m_controlBars.end(), pBar), m_controlBars.end());
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

void CFrameWnd::SetMessageText(LPCSTR lpszText) const
{
    CWnd* bar = GetMessageBar();
    if (!bar) return;
    CWnd* perm = FromHandlePermanent(bar->m_hWnd);
    if (perm && perm->IsKindOf(RUNTIME_CLASS(CStatusBar)))
        static_cast<CStatusBar*>(perm)->SetPaneText(0, lpszText);
    else
        bar->SetWindowText(lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) const
{
    CString text;
    if (nID == AFX_IDS_IDLEMESSAGE && !text.LoadString(nID))
        text = "Ready";
    else if (nID != AFX_IDS_IDLEMESSAGE)
        text.LoadString(nID);
    int nl = text.Find('\n');  // the prompt is the text before the tool tip
    if (nl >= 0) text = text.Left(nl);
    SetMessageText(text);
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->SaveModified()) return;
    CWinApp* app = AfxGetApp();
    if (doc && app && app->m_pMainWnd == this) {
        // Closing the main window closes its document, and with it this frame.
        doc->OnCloseDocument();
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    for (CControlBar* bar : m_controlBars) bar->m_pDockSite = nullptr;
    m_controlBars.clear();
    // The menu bar of the template belongs to the frame.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault) ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu) return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0) continue;  // separator
        if (state.m_nID == (UINT)-1) {
            // A pop-up: its own items are updated when it opens.
            continue;
        }
        state.m_pSubMenu = nullptr;
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && !hSysMenu) {
        SetMessageText(AFX_IDS_IDLEMESSAGE);  // the menu closed
    } else if (!(nFlags & (MF_SEPARATOR | MF_POPUP | MF_SYSMENU)) && nItemID) {
        CString prompt;
        if (prompt.LoadString(nItemID)) {
            int nl = prompt.Find('\n');
            SetMessageText(nl >= 0 ? prompt.Left(nl) : prompt);
        } else {
            SetMessageText("");
        }
    }
    CWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    for (CControlBar* bar : std::vector<CControlBar*>(m_controlBars))
        if (bar->m_hWnd && bar->IsWindowVisible()) bar->OnUpdateCmdUI(this, (BOOL)wParam);
    return 0;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    int key = pCmdUI->m_nID == ID_INDICATOR_CAPS  ? VK_CAPITAL
              : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                  : VK_SCROLL;
    pCmdUI->Enable(::GetKeyState(key) & 1);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CWnd* bar = GetDlgItem((int)pCmdUI->m_nID);
    pCmdUI->SetCheck(bar && bar->IsWindowVisible());
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CWnd* bar = GetDlgItem((int)nID);
    CWnd* perm = bar ? FromHandlePermanent(bar->m_hWnd) : nullptr;
    if (!perm || !perm->IsKindOf(RUNTIME_CLASS(CControlBar))) return FALSE;
    ShowControlBar(static_cast<CControlBar*>(perm), !perm->IsWindowVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::PostNcDestroy() { delete this; }
