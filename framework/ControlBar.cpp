#include "framework/ControlBar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Dialog.h"
#include "framework/FrameWnd.h"
#include "framework/FrameworkRes.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)
IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

// ---- CControlBar ---------------------------------------------------------------

CControlBar::~CControlBar()
{
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
}

void CControlBar::AttachToFrame(CWnd* pParentWnd, DWORD dwStyle)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    CWnd* perm = pParentWnd ? FromHandlePermanent(pParentWnd->m_hWnd) : nullptr;
    if (perm && perm->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        m_pDockSite = static_cast<CFrameWnd*>(perm);
        m_pDockSite->AddControlBar(this);
    }
}

void CControlBar::OnDestroy()
{
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
    CWnd::OnDestroy();
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL)
{
    CRect rc;
    GetWindowRect(&rc);
    return rc.Size();
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (m_pDockSite && IsWindowVisible()) OnUpdateCmdUI(m_pDockSite, (BOOL)wParam);
    return 0;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        // The bar's controls talk to the frame.
        if (HWND owner = ::GetParent(m_hWnd)) return ::SendMessageA(owner, message, wParam, lParam);
        break;
    default: break;
    }
    return DefWindowProc(message, wParam, lParam);
}

// ---- CStatusBar ------------------------------------------------------------------

namespace {
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle((int)m_nIndex);
        UINT newStyle = bOn ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (newStyle != style) bar->SetPaneStyle((int)m_nIndex, newStyle);
    }
    void SetCheck(int nCheck) override
    {
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
        bar->SetPaneStyle((int)m_nIndex, nCheck ? (style | SBPS_POPOUT) : style);
    }
    void SetText(LPCSTR pszText) override { static_cast<CStatusBar*>(m_pOther)->SetPaneText((int)m_nIndex, pszText); }
};

// The framework's own texts, for a program whose resources lack them.
CString DefaultPaneText(UINT id)
{
    CString text;
    if (id == ID_SEPARATOR) {
        if (!text.LoadString(AFX_IDS_IDLEMESSAGE)) text = "Ready";
        return text;
    }
    if (text.LoadString(id)) return text;
    switch (id) {
    case ID_INDICATOR_CAPS: return CString("CAP");
    case ID_INDICATOR_NUM: return CString("NUM");
    case ID_INDICATOR_SCRL: return CString("SCRL");
    default: return text;
    }
}
}  // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    AfxInitCommonControls(ICC_BAR_CLASSES);
    DWORD windowStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD;
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, windowStyle | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0, 0,
                        pParentWnd ? pParentWnd->m_hWnd : nullptr, (HMENU)(UINT_PTR)nID))
        return FALSE;
    AttachToFrame(pParentWnd, dwStyle);
    if (m_pDockSite) m_pDockSite->RecalcLayout();
    return TRUE;
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    // The bar's height follows its font.
    CDC* dc = GetDC();
    HGDIOBJ old = ::SelectObject(dc->m_hDC, (HGDIOBJ)SendMessage(WM_GETFONT));
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc->m_hDC, &tm);
    ::SelectObject(dc->m_hDC, old);
    ReleaseDC(dc);
    int borders[3] = {};
    SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
    CRect parent;
    if (HWND p = ::GetParent(m_hWnd)) ::GetClientRect(p, &parent);
    return CSize(parent.Width(), tm.tmHeight + 2 * borders[1] + 6);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.clear();
    CDC* dc = GetDC();
    HGDIOBJ old = ::SelectObject(dc->m_hDC, (HGDIOBJ)SendMessage(WM_GETFONT));
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane{lpIDArray[i], SBPS_NORMAL, 0, DefaultPaneText(lpIDArray[i])};
        if (pane.id == ID_SEPARATOR) {
            pane.style = SBPS_STRETCH | SBPS_NOBORDERS;
        } else {
            SIZE size{};
            ::GetTextExtentPoint32A(dc->m_hDC, pane.text, pane.text.GetLength(), &size);
            pane.width = size.cx;
        }
        m_panes.push_back(pane);
    }
    ::SelectObject(dc->m_hDC, old);
    ReleaseDC(dc);
    UpdateParts();
    for (int i = 0; i < (int)m_panes.size(); ++i) SetPaneText(i, m_panes[(size_t)i].text);
    return TRUE;
}

void CStatusBar::UpdateParts()
{
    if (m_panes.empty()) return;
    CRect client;
    GetClientRect(&client);
    const int margin = 12;  // room for the pane's borders
    int fixed = 0;
    for (const Pane& p : m_panes)
        if (!(p.style & SBPS_STRETCH)) fixed += p.width + margin;
    std::vector<int> rights;
    int x = 0;
    for (const Pane& p : m_panes) {
        int w = (p.style & SBPS_STRETCH) ? std::max(0, (int)client.Width() - fixed) : p.width + margin;
        x += w;
        rights.push_back(x);
    }
    rights.back() = -1;  // the last pane reaches the right edge
    SendMessage(SB_SETPARTS, (WPARAM)rights.size(), (LPARAM)rights.data());
}

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    UpdateParts();
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == nIDFind) return (int)i;
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_panes.size() ? m_panes[(size_t)nIndex].id : 0;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= (int)m_panes.size()) return FALSE;
    Pane& pane = m_panes[(size_t)nIndex];
    pane.text = lpszNewText;
    UINT sbt = (pane.style & SBPS_NOBORDERS) ? SBT_NOBORDERS : (pane.style & SBPS_POPOUT) ? SBT_POPOUT : 0;
    // A disabled pane shows nothing (the key is off).
    SendMessage(SB_SETTEXTA, (WPARAM)nIndex | sbt, (LPARAM)((pane.style & SBPS_DISABLED) ? "" : lpszNewText));
    if (bUpdate) UpdateWindow();
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_panes.size() ? m_panes[(size_t)nIndex].text : CString();
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= (int)m_panes.size()) return;
    Pane& pane = m_panes[(size_t)nIndex];
    pane.id = nID;
    pane.style = nStyle;
    pane.width = cxWidth;
    UpdateParts();
    SetPaneText(nIndex, pane.text, FALSE);
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || nIndex >= (int)m_panes.size()) return;
    const Pane& pane = m_panes[(size_t)nIndex];
    nID = pane.id;
    nStyle = pane.style;
    cxWidth = pane.width;
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_panes.size() ? m_panes[(size_t)nIndex].style : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= (int)m_panes.size()) return;
    m_panes[(size_t)nIndex].style = nStyle;
    SetPaneText(nIndex, m_panes[(size_t)nIndex].text, FALSE);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_panes.size();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].id;
        if (state.m_nID == ID_SEPARATOR) continue;  // the message pane is the frame's
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

// ---- CDialogBar --------------------------------------------------------------------

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    return Create(pParentWnd, MAKEINTRESOURCEA(nIDTemplate), nStyle, nID);
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    HINSTANCE candidates[] = {AfxGetResourceHandle(), AfxGetInstanceHandle()};
    for (HINSTANCE hInst : candidates) {
        HRSRC res = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
        HGLOBAL data = res ? ::LoadResource(hInst, res) : nullptr;
        if (!data) continue;
        AfxHookWindowCreate(this);
        HWND hWnd = ::CreateDialogIndirectParamA(hInst, (LPCDLGTEMPLATEA)::LockResource(data),
                                                 pParentWnd ? pParentWnd->m_hWnd : nullptr, &ZvDlgProc, 0);
        AfxUnhookWindowCreate();
        if (!hWnd || hWnd != m_hWnd) return FALSE;
        // A bar is a child of the frame whatever its template says.
        ModifyStyle(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_CHILD);
        SetDlgCtrlID((int)nID);
        CRect rc;
        GetWindowRect(&rc);
        m_sizeDefault = rc.Size();
        AttachToFrame(pParentWnd, nStyle);
        if (nStyle & WS_VISIBLE) ShowWindow(SW_SHOWNA);
        if (m_pDockSite) m_pDockSite->RecalcLayout();
        return TRUE;
    }
    return FALSE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = m_sizeDefault;
    if (bStretch && m_pDockSite) {
        CRect client;
        m_pDockSite->GetClientRect(&client);
        if (bHorz)
            size.cx = client.Width();
        else
            size.cy = client.Height();
    }
    return size;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    AfxUpdateDialogControls(this, pTarget, bDisableIfNoHndler);
}

void AfxUpdateDialogControls(CWnd* pParent, CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    for (HWND child = ::GetTopWindow(pParent->m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        state.m_nID = (UINT)::GetDlgCtrlID(child);
        if (state.m_nID == 0 || state.m_nID == (UINT)-1 || state.m_nID == 0xFFFF) continue;
        state.m_pOther = CWnd::FromHandle(child);
        // Only push buttons without any handler are disabled.
        const bool isButton = (::SendMessageA(child, WM_GETDLGCODE, 0, 0) &
                               (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
        state.DoUpdate(pTarget, bDisableIfNoHndler && isButton);
    }
}
