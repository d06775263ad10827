#pragma once
// CWnd: a window handle and the object that answers its messages.
//
// A CWnd made by the program becomes the window's permanent owner when it
// creates, attaches or subclasses the window: the window procedure is then
// replaced by the framework's, which sends every message through the
// object's message map (WindowProc -> OnWndMsg) and hands whatever the map
// does not handle to the window's previous procedure (DefWindowProc).
// Notifications a control sends its parent are first offered back to the
// control itself (OnChildNotify, the reflect entries of its map).
//
// The class keeps its overridables apart from its operations: operations
// only forward to Win32 and change no state of the object.

#include <windows.h>
#include <shellapi.h>

#include "framework/CString.h"
#include "framework/CmdTarget.h"
#include "framework/Geometry.h"
#include "framework/HandleMap.h"
#include "framework/ThreadState.h"

class CDC;
class CFont;
class CMenu;
class CDataExchange;
class CFrameWnd;
class CScrollBar;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}  // a plain handle holder, not attached
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // ---- Overridables ---------------------------------------------------
    // Adjusts the creation parameters before the window is created.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Called once the window procedure is ours (created or subclassed).
    virtual void PreSubclassWindow();
    // Offers a queued message before it is translated and dispatched; TRUE
    // when it was handled.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks the message up in the map; TRUE when a handler took it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification this control sent its parent, offered back to it first.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // After WM_NCDESTROY, once the handle is detached; a heap-owned window
    // deletes itself here.
    virtual void PostNcDestroy();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL DestroyWindow();

    // ---- Creation and ownership of the handle ---------------------------
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID, void* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y, int nWidth,
                  int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    BOOL Attach(HWND hWndNew);  // owns the handle without subclassing it
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);  // owns the handle and routes its messages through the map
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();

    // A window class name registered once per process with the given style,
    // cursor, brush and icon: "Zv:" and the instance, style, cursor, brush
    // and icon in fixed-width upper-case hex (16 digits, the style 8),
    // separated by colons, so that each combination has its own name.
    static LPCSTR RegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                                   HICON hIcon = nullptr);

    // ---- The message being handled ---------------------------------------
    static const MSG* GetCurrentMessage();
    // The default processing of the current message.
    LRESULT Default();

    // ---- Modal loop ------------------------------------------------------
    // Runs while ContinueModal(); starts it with BeginModalState() before
    // the window is created.
    void BeginModalState() { m_nFlags |= kContinueModal; }
    int RunModalLoop();
    void EndModalLoop(int nResult);
    // TRUE while the modal loop should go on; a window that ends its loop
    // by other means (a property sheet) adds its own test.
    virtual BOOL ContinueModal() { return (m_nFlags & kContinueModal) != 0; }

    // ---- Forwarding operations (no state of their own) ------------------
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }  // NOLINT
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) const { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) const;
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) const;
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetTopLevelParent() const;
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }

    void SetWindowText(LPCSTR lpszString) const { ::SetWindowTextA(m_hWnd, lpszString); }
    int GetWindowText(LPSTR lpszString, int nMaxCount) const { return ::GetWindowTextA(m_hWnd, lpszString, nMaxCount); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetDlgItemText(int nID, LPCSTR lpszString) const { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) const
    {
        ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
    }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
    }
    void CheckDlgButton(int nIDButton, UINT nCheck) const { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) const
    {
        ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
    }
    int GetCheckedRadioButton(int nIDFirst, int nIDLast) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
    }

    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) const
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) const
    {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) const { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
    void CenterWindow(CWnd* pAlternateOwner = nullptr) const;

    BOOL ShowWindow(int nCmdShow) const { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) const { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    CWnd* SetFocus() const { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName)
    {
        return FromHandle(::FindWindowA(lpszClassName, lpszWindowName));
    }
    CWnd* SetActiveWindow() const { return FromHandle(::SetActiveWindow(m_hWnd)); }
    BOOL SetForegroundWindow() const { return ::SetForegroundWindow(m_hWnd); }
    void BringWindowToTop() const { ::BringWindowToTop(m_hWnd); }
    CWnd* SetCapture() const { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }

    void Invalidate(BOOL bErase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) const { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void ValidateRect(LPCRECT lpRect) const { ::ValidateRect(m_hWnd, lpRect); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) const
    {
        return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgn, flags);
    }
    CDC* GetDC() const;
    CDC* GetWindowDC() const;
    int ReleaseDC(CDC* pDC) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) const
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) const { return ::KillTimer(m_hWnd, nIDEvent); }

    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu) const;
    void DrawMenuBar() const { ::DrawMenuBar(m_hWnd); }
    CMenu* GetSystemMenu(BOOL bRevert) const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE) const;
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon) const
    {
        return (HICON)SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
    }
    void DragAcceptFiles(BOOL bAccept = TRUE) const;

    // Message box through the modal seam (see ModalSeam.h); the caption
    // defaults to the application's name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK) const;

    // Moves values between the controls and the members (DoDataExchange):
    // FALSE (to the controls) or TRUE (from them, validating). FALSE when a
    // validation failed; the failing control then has the focus.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Sends WM_COMMAND with the id of a child control's notification back to
    // the control's own map; used by the dispatcher.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);

    HWND m_hWnd = nullptr;

protected:
    // ---- Default message handlers (each runs the default processing) ----
    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnTimer(UINT_PTR nIDEvent);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnMouseLeave();
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // The parent's owner-draw handlers: the default offers the message back
    // to the control that asked (reflection) before the default processing.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnSysColorChange();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnDropFiles(HDROP hDropInfo);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    UINT OnGetDlgCode();
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);

    // Offers a message from a child control back to it (reflection).
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The thunk-dispatch step: runs the entry for the message; TRUE when handled.
    BOOL DispatchEntry(const ZvMsgMapEntry* entry, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult,
                       void* extra = nullptr);

    enum : UINT { kModalLoop = 0x1, kContinueModal = 0x2 };
    UINT m_nFlags = 0;
    int m_nModalResult = -1;
    WNDPROC m_pfnSuper = nullptr;  // the window's procedure before it was ours

    friend LRESULT CALLBACK ZvWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK ZvCbtFilterHook(int, WPARAM, LPARAM);
    friend class CDialog;
    friend class CPropertySheet;
    friend class CPropertyPage;
    friend struct ZvWndAccess;

    DECLARE_MESSAGE_MAP()
};

template <> struct ZvHandleTraits<CWnd> {
    using Handle = HWND;
    static HWND& Of(CWnd& w) { return w.m_hWnd; }
};

// The framework's window procedure, installed on every window a CWnd owns.
LRESULT CALLBACK ZvWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Arranges for the next window this thread creates to be owned by pWnd.
void AfxHookWindowCreate(CWnd* pWnd);
// Ends that arrangement; FALSE when no window was created meanwhile.
BOOL AfxUnhookWindowCreate();

#include "framework/WndMessages.h"
