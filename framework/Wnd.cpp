#include "framework/Wnd.h"

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "framework/DataExchange.h"
#include "framework/FrameWnd.h"
#include "framework/ModalSeam.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

// ---- Thread state and temporary maps ----------------------------------------

ZvThreadState* AfxGetThreadState()
{
    thread_local ZvThreadState state;
    return &state;
}

namespace {
std::mutex g_cleanersMutex;
std::set<void (*)()>& Cleaners()
{
    static std::set<void (*)()> cleaners;
    return cleaners;
}
}  // namespace

void ZvDetail::RegisterTempMapCleaner(void (*cleaner)())
{
    std::lock_guard<std::mutex> lock(g_cleanersMutex);
    Cleaners().insert(cleaner);
}

void AfxDeleteTempMaps()
{
    std::set<void (*)()> cleaners;
    {
        std::lock_guard<std::mutex> lock(g_cleanersMutex);
        cleaners = Cleaners();
    }
    for (auto cleaner : cleaners) cleaner();
}

// ---- Window creation hook and window procedure -------------------------------

LRESULT CALLBACK ZvCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    ZvThreadState* ts = AfxGetThreadState();
    if (code == HCBT_CREATEWND && ts->m_pWndInit) {
        CWnd* pWnd = ts->m_pWndInit;
        ts->m_pWndInit = nullptr;
        ++ts->m_nWndHooked;
        HWND hWnd = (HWND)wParam;
        pWnd->Attach(hWnd);
        auto old = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&ZvWndProc);
        if (old != &ZvWndProc) pWnd->m_pfnSuper = old;
        pWnd->PreSubclassWindow();
    }
    return ::CallNextHookEx(ts->m_hHookCbt, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    ZvThreadState* ts = AfxGetThreadState();
    if (!ts->m_hHookCbt)
        ts->m_hHookCbt = ::SetWindowsHookExA(WH_CBT, &ZvCbtFilterHook, nullptr, ::GetCurrentThreadId());
    ts->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    ZvThreadState* ts = AfxGetThreadState();
    if (ts->m_hHookCbt) {
        ::UnhookWindowsHookEx(ts->m_hHookCbt);
        ts->m_hHookCbt = nullptr;
    }
    if (ts->m_pWndInit) {
        ts->m_pWndInit = nullptr;
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK ZvWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ZvThreadState* ts = AfxGetThreadState();
    const MSG saved = ts->m_lastSentMsg;
    ts->m_lastSentMsg.hwnd = hWnd;
    ts->m_lastSentMsg.message = message;
    ts->m_lastSentMsg.wParam = wParam;
    ts->m_lastSentMsg.lParam = lParam;

    LRESULT result;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) {
        result = ::DefWindowProcA(hWnd, message, wParam, lParam);
    } else {
        result = pWnd->WindowProc(message, wParam, lParam);
        if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
            // The window is gone: give the handle back and let the object end.
            if ((WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == &ZvWndProc && pWnd->m_pfnSuper)
                ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pWnd->m_pfnSuper);
            pWnd->m_pfnSuper = nullptr;
            pWnd->Detach();
            if (CWinThread* thread = AfxGetThread()) {
                if (thread->m_pMainWnd == pWnd) {
                    thread->m_pMainWnd = nullptr;
                    ::PostQuitMessage(0);
                }
            }
            pWnd->PostNcDestroy();
        }
    }
    ts->m_lastSentMsg = saved;
    return result;
}

// ---- CWnd: ownership of the handle ------------------------------------------

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Still attached: the window cannot outlive its object.
        ::DestroyWindow(m_hWnd);
        if (m_hWnd) Detach();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) { return CHandleMap<CWnd>::FromHandle(hWnd); }
CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return CHandleMap<CWnd>::FromHandlePermanent(hWnd); }
void CWnd::DeleteTempMap() { CHandleMap<CWnd>::DeleteTemp(); }

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd) return FALSE;
    m_hWnd = hWndNew;
    CHandleMap<CWnd>::SetPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) CHandleMap<CWnd>::RemoveHandle(h);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    auto old = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&ZvWndProc);
    if (old != &ZvWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hControl = pParent ? ::GetDlgItem(pParent->m_hWnd, (int)nID) : nullptr;
    return hControl ? SubclassWindow(hControl) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr, (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd) return FALSE;
    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) return FALSE;

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    return hWnd != nullptr && hWnd == m_hWnd;
}

LPCSTR CWnd::RegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::mutex mutex;
    static std::set<std::string> names;
    HINSTANCE hInst = AfxGetInstanceHandle();
    // The C library's formatting: wsprintf has no dependable pointer format.
    auto hex = [](const void* handle) { return (unsigned long long)(uintptr_t)handle; };
    char name[128];
    std::snprintf(name, sizeof name, "Zv:%016llX:%08X:%016llX:%016llX:%016llX", hex(hInst), nClassStyle, hex(hCursor),
                  hex(hbrBackground), hex(hIcon));
    std::lock_guard<std::mutex> lock(mutex);
    auto it = names.find(name);
    if (it != names.end()) return it->c_str();
    WNDCLASSA wc{};
    if (!::GetClassInfoA(hInst, name, &wc)) {
        wc.style = nClassStyle;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc)) return nullptr;
    }
    return names.insert(name).first->c_str();
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    const HWND hWnd = m_hWnd;
    const bool owned = FromHandlePermanent(hWnd) == this;
    BOOL result = ::DestroyWindow(hWnd);
    // A heap window may have deleted itself by now: only the map tells
    // whether this object still holds the handle. An attached window that
    // was never subclassed sent its WM_NCDESTROY elsewhere, so its entry
    // must go here, or a later window given the same handle would find it.
    if (!owned)
        m_hWnd = nullptr;  // a plain holder lets go of the handle
    else if (result && FromHandlePermanent(hWnd) == this)
        Detach();
    return result;
}

void CWnd::PostNcDestroy() {}

void CWnd::DoDataExchange(CDataExchange*) {}

// ---- Message dispatch ------------------------------------------------------

const MSG* CWnd::GetCurrentMessage() { return &AfxGetThreadState()->m_lastSentMsg; }

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::DispatchEntry(const ZvMsgMapEntry* entry, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult,
                         void* extra)
{
    ZvMsgCall call{message, wParam, lParam, 0, extra};
    BOOL handled = entry->thunk(this, call);
    if (handled && pResult) *pResult = call.result;
    return handled;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) {
            *pResult = 0;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result)) {
            *pResult = result;
            return TRUE;
        }
        return FALSE;
    }
    default: break;
    }

    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        void* kind = (void*)(UINT_PTR)(message - WM_CTLCOLORMSGBOX);
        if (const ZvMsgMapEntry* e = FindMessageEntry(WM_CTLCOLOR, 0, 0))
            return DispatchEntry(e, message, wParam, lParam, pResult, kind);
        *pResult = (LRESULT)OnCtlColor(CDC::FromHandle((HDC)wParam), FromHandle((HWND)lParam),
                                       (UINT)(message - WM_CTLCOLORMSGBOX));
        return TRUE;
    }

    if (const ZvMsgMapEntry* e = FindMessageEntry(message, 0, 0))
        return DispatchEntry(e, message, wParam, lParam, pResult);

    // Without a handler of the parent's own, owner-draw, colour and scroll
    // messages of a control are offered back to that control.
    switch (message) {
    case WM_DRAWITEM:
        OnDrawItem((int)wParam, (LPDRAWITEMSTRUCT)lParam);
        *pResult = TRUE;
        return TRUE;
    case WM_MEASUREITEM:
        OnMeasureItem((int)wParam, (LPMEASUREITEMSTRUCT)lParam);
        *pResult = TRUE;
        return TRUE;
    case WM_COMPAREITEM:
    case WM_DELETEITEM: {
        HWND hChild = message == WM_COMPAREITEM ? ((LPCOMPAREITEMSTRUCT)lParam)->hwndItem
                                                : ((LPDELETEITEMSTRUCT)lParam)->hwndItem;
        return ReflectLastMsg(hChild, pResult);
    }
    case WM_HSCROLL:
    case WM_VSCROLL: return lParam ? ReflectLastMsg((HWND)lParam, pResult) : FALSE;
    default: return FALSE;
    }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    if (!child) return FALSE;
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    LRESULT result = 0;
    if (!child->OnChildNotify(msg.message, msg.wParam, msg.lParam, &result)) return FALSE;
    if (pResult) *pResult = result;
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const ZvMsgMapEntry* e = nullptr;
    void* extra = nullptr;
    if (message == WM_COMMAND) {
        e = FindMessageEntry(ZV_WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
    } else if (message == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMHDR*>(lParam);
        e = FindMessageEntry(ZV_WM_REFLECT_BASE + WM_NOTIFY, (UINT)nm->code, 0);
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        e = FindMessageEntry(ZV_WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
        extra = (void*)(UINT_PTR)(message - WM_CTLCOLORMSGBOX);
    } else {
        e = FindMessageEntry(ZV_WM_REFLECT_BASE + message, 0, 0);
    }
    if (!e) return FALSE;
    LRESULT result = 0;
    if (!DispatchEntry(e, message, wParam, lParam, &result, extra)) return FALSE;
    if (pResult) *pResult = result;
    return TRUE;
}

namespace {
// The enabled state an update handler gives a command, without a menu.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
    BOOL m_bEnabled = TRUE;
};
}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    HWND hControl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (hControl) {
        // A control's notification goes back to the control first.
        if (ReflectLastMsg(hControl)) return TRUE;
        if (nID == 0) return FALSE;
    } else {
        // Menu or accelerator: a command its update handler disables is
        // not carried out (an accelerator works while its item is grey).
        nCode = CN_COMMAND;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled) return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm) return FALSE;
    LRESULT result = 0;
    if (nm->hwndFrom && ReflectLastMsg(nm->hwndFrom, &result)) {
        *pResult = result;
        return TRUE;
    }
    ZvMsgCall call{WM_NOTIFY, (WPARAM)nm->idFrom, lParam, 0, nullptr};
    const int code = MAKELONG((WORD)nm->code, WM_NOTIFY);
    if (!OnCmdMsg((UINT)nm->idFrom, code, &call, nullptr)) return FALSE;
    *pResult = call.result;
    return TRUE;
}

// ---- Modal loop ---------------------------------------------------------------

int CWnd::RunModalLoop()
{
    // The caller set kContinueModal before creating the window, so that an
    // EndDialog during initialisation ends the loop before it starts.
    m_nFlags |= kModalLoop;
    bool shown = (GetStyle() & WS_VISIBLE) != 0;
    while (ContinueModal()) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!shown) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                shown = true;
                continue;
            }
            // Nothing queued: a test answers here instead of a person.
            if (AfxGetModalSeam().ModalIdle(*this)) continue;
        }
        if (!ContinueModal()) break;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_nFlags &= ~(kModalLoop | kContinueModal);
    return m_nModalResult;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & kContinueModal) {
        m_nFlags &= ~kContinueModal;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
    }
}

// ---- Forwarding operations -------------------------------------------------------

namespace {
// Changes bits of the window's style or extended style; FALSE when none changed.
BOOL ModifyStyleLong(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    const DWORD style = (DWORD)::GetWindowLongPtrA(hWnd, nIndex);
    const DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) return FALSE;
    ::SetWindowLongPtrA(hWnd, nIndex, (LONG_PTR)newStyle);
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) const
{
    return ModifyStyleLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) const
{
    return ModifyStyleLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    while (h && (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
    return FromHandle(h);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CWnd* p = FromHandlePermanent(h);
        if (p && p->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(p);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* frame = nullptr;
    CWnd* self = FromHandlePermanent(m_hWnd);
    if (self && self->IsKindOf(RUNTIME_CLASS(CFrameWnd))) frame = static_cast<CFrameWnd*>(self);
    for (CFrameWnd* f = frame ? frame->GetParentFrame() : GetParentFrame(); f; f = f->GetParentFrame()) frame = f;
    return frame;
}

void CWnd::GetWindowText(CString& rString) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    char* buf = rString.GetBuffer(n + 1);
    ::GetWindowTextA(m_hWnd, buf, n + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (HWND h = ::GetDlgItem(m_hWnd, nID)) CWnd(h).GetWindowText(rString);
    return rString.GetLength();
}

int CWnd::GetCheckedRadioButton(int nIDFirst, int nIDLast) const
{
    for (int id = nIDFirst; id <= nIDLast; ++id)
        if (::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED) return id;
    return 0;
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) const
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) const
{
    CRect rc;
    GetWindowRect(&rc);
    CRect area;
    HWND hOwner = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) hOwner = ::GetParent(m_hWnd);
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
        ::GetWindowRect(hOwner, &area);
        if (GetStyle() & WS_CHILD) ::MapWindowPoints(nullptr, hOwner, reinterpret_cast<LPPOINT>(&area), 2);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = area.left + (area.Width() - rc.Width()) / 2;
    int y = area.top + (area.Height() - rc.Height()) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDC* CWnd::GetDC() const { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() const { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* pDC) const { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) const
{
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, message, wParam, lParam);
        if (bDeep && ::GetTopWindow(child)) CWnd(child).SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) const { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) const
{
    SendMessage(WM_SETFONT, (WPARAM)(pFont ? pFont->m_hObject : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const { return CFont::FromHandle((HFONT)SendMessage(WM_GETFONT)); }

void CWnd::DragAcceptFiles(BOOL bAccept) const { ::DragAcceptFiles(m_hWnd, bAccept); }

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) const
{
    if (!lpszCaption) lpszCaption = AfxGetAppName();
    return AfxGetModalSeam().MessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure&) {
        return FALSE;
    }
    return TRUE;
}

// ---- Default handlers: the default processing of the current message -----------

int CWnd::OnCreate(LPCREATESTRUCTA) { return (int)Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    HWND hBar = reinterpret_cast<CWnd*>(pScrollBar) ? reinterpret_cast<CWnd*>(pScrollBar)->m_hWnd : nullptr;
    if (hBar && ReflectLastMsg(hBar)) return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    HWND hBar = reinterpret_cast<CWnd*>(pScrollBar) ? reinterpret_cast<CWnd*>(pScrollBar)->m_hWnd : nullptr;
    if (hBar && ReflectLastMsg(hBar)) return;
    Default();
}

namespace {
// The menu (of the window's menu bar, its system menu or the pop-up last
// opened on this thread) that holds an item id. The item that opens a
// sub-menu carries the sub-menu's handle as its id, so it is found by that.
HMENU FindPopupHolding(HMENU hMenu, UINT id)
{
    if (!hMenu) return nullptr;
    const int n = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < n; ++i) {
        if (HMENU sub = ::GetSubMenu(hMenu, i)) {
            if ((UINT)(UINT_PTR)sub == id) return hMenu;
            if (HMENU found = FindPopupHolding(sub, id)) return found;
        } else if (::GetMenuItemID(hMenu, i) == id) {
            return hMenu;
        }
    }
    return nullptr;
}
}  // namespace

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        if (CMenu* menu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem)) {
            menu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        HMENU holder = FindPopupHolding(::GetMenu(m_hWnd), lpMeasureItemStruct->itemID);
        if (!holder) holder = FindPopupHolding(AfxGetThreadState()->m_hMenuLastPopup, lpMeasureItemStruct->itemID);
        if (CMenu* menu = CMenu::FromHandlePermanent(holder)) {
            menu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    } else if (HWND hControl = ::GetDlgItem(m_hWnd, (int)lpMeasureItemStruct->CtlID)) {
        if (ReflectLastMsg(hControl)) return;
    }
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT result = 0;
    if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &result)) return (HBRUSH)result;
    return (HBRUSH)Default();
}
