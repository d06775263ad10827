#pragma once
// CFrameWnd: a top-level window that holds a view and bars. It routes
// commands to its active view (which passes them to its document) before
// its own map and the application's, keeps menus and bars up to date through
// update handlers (CCmdUI), shows menu prompts in its status bar, and lays
// out its bars and view when it is sized.

#include <vector>

#include "framework/CString.h"
#include "framework/Wnd.h"

class CControlBar;
class CDocument;
class CView;
struct CCreateContext;

// Frame styles (low bits that a top-level window does not use).
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    CFrameWnd() = default;
    ~CFrameWnd() override;

    // ---- Overridables ---------------------------------------------------
    // Title from the string nIDResource (text before the first '\n'), menu,
    // icon and accelerators of the same id; the view from pContext.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Shows the frame (nCmdShow -1: as it is, shown when hidden, restored
    // when minimised) and brings it and its last pop-up to the top.
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext);
    // Places the bars and gives the rest of the client area to the view.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    virtual CDocument* GetActiveDocument();
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Active view (and its document), then the frame, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, ZvHandlerInfo* pHandlerInfo) override;
    void PostNcDestroy() override;  // frames live on the heap

    // ---- Operations -----------------------------------------------------
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = 0xE900);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    void SetMessageText(LPCSTR lpszText) const;
    void SetMessageText(UINT nID) const;
    CWnd* GetMessageBar() const { return GetDlgItem(0xE801); }
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    const std::vector<CControlBar*>& GetControlBars() const { return m_controlBars; }
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
    HMENU GetDefaultMenu() const { return m_hMenuDefault; }

    // Menu items without any handler are disabled (the framework's rule).
    BOOL m_bAutoMenuEnable = TRUE;

protected:
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnClose();
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    BOOL OnBarCheck(UINT nID);

    CView* m_pViewActive = nullptr;
    std::vector<CControlBar*> m_controlBars;
    CString m_strTitle;
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;

    DECLARE_MESSAGE_MAP()
};
