#pragma once
// Bars docked at a side of a frame: the status bar and the dialog bar. A
// bar tells its frame how much room it takes (CalcFixedLayout); the frame's
// RecalcLayout places the bars and gives the rest to the view. At idle time
// each bar asks the command routing whether its panes or controls are
// enabled (OnUpdateCmdUI); commands from a dialog bar's controls go to the
// frame's routing.

#include <vector>

#include "framework/Wnd.h"

class CFrameWnd;

// Bar styles (kept by the bar, not by the window).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_ALL 0x0040FFFFL

// Status pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() = default;
    ~CControlBar() override;

    // ---- Overridables ---------------------------------------------------
    // Asks pTarget's routing for the state of the bar's items.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // The room the bar needs when docked.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Unhandled commands and notifications of the bar's controls go to the
    // frame that owns the bar.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // ---- Operations -----------------------------------------------------
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    BOOL IsVisible() const { return IsWindowVisible(); }

protected:
    // Records the frame and the bar style once the window exists.
    void AttachToFrame(CWnd* pParentWnd, DWORD dwStyle);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    DWORD m_dwStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;

    friend class CFrameWnd;
    DECLARE_MESSAGE_MAP()
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    // ---- Overridables ---------------------------------------------------
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    // ---- Operations -----------------------------------------------------
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = 0xE801);
    // One pane per id; each pane shows the string of its id (ID_SEPARATOR:
    // the idle message) and, but for a separator, is as wide as that text.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    int GetCount() const { return (int)m_panes.size(); }
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);

protected:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        CString text;
    };
    void UpdateParts();
    void OnSize(UINT nType, int cx, int cy);

    std::vector<Pane> m_panes;

    DECLARE_MESSAGE_MAP()
};

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    // ---- Overridables ---------------------------------------------------
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    // ---- Operations -----------------------------------------------------
    // A bar made of the dialog template nIDTemplate.
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID);

protected:
    CSize m_sizeDefault;
};

// Asks pTarget's routing about every child control of pParent that has an
// id (a dialog bar's buttons, a dialog's controls).
void AfxUpdateDialogControls(CWnd* pParent, CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
