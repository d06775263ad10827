#include "toolkit/SubclassWnd.h"

#include "framework/ThreadState.h"

CSubclassWnd::~CSubclassWnd()
{
    if (m_hWnd) SetHookedWindow(nullptr);
}

BOOL CSubclassWnd::SetHookedWindow(HWND hWnd)
{
    // A hook sits on one window at a time: leave the old one first.
    if (m_hWnd) {
        CSubclassWndMap::Instance().RemoveHook(this);
        m_pOldWndProc = nullptr;
    }
    m_hWnd = nullptr;
    if (hWnd) CSubclassWndMap::Instance().AddHook(hWnd, this);
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext) return m_pNext->WindowProc(message, wParam, lParam);
    if (!m_pOldWndProc) return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    return ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam);
}

CSubclassWndMap& CSubclassWndMap::Instance()
{
    static CSubclassWndMap map;
    return map;
}

CSubclassWnd* CSubclassWndMap::FindHook(HWND hWnd) const
{
    void* hook = nullptr;
    return Lookup(hWnd, hook) ? static_cast<CSubclassWnd*>(hook) : nullptr;
}

void CSubclassWndMap::AddHook(HWND hWnd, CSubclassWnd* pHook)
{
    CSubclassWnd* first = FindHook(hWnd);
    pHook->m_hWnd = hWnd;
    pHook->m_pNext = first;
    SetAt(hWnd, pHook);
    if (!first) {
        pHook->m_pOldWndProc =
            reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&SubclassHookProc));
    } else {
        pHook->m_pOldWndProc = first->m_pOldWndProc;
    }
}

void CSubclassWndMap::RemoveHook(CSubclassWnd* pHook)
{
    HWND hWnd = pHook->m_hWnd;
    CSubclassWnd* first = FindHook(hWnd);
    if (!first) return;
    if (first == pHook) {
        if (pHook->m_pNext) {
            SetAt(hWnd, pHook->m_pNext);
        } else {
            RemoveKey(hWnd);
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pHook->m_pOldWndProc);
        }
        return;
    }
    for (CSubclassWnd* p = first; p->m_pNext; p = p->m_pNext) {
        if (p->m_pNext == pHook) {
            p->m_pNext = pHook->m_pNext;
            return;
        }
    }
}

void CSubclassWndMap::RemoveAllHooks(HWND hWnd)
{
    while (CSubclassWnd* hook = FindHook(hWnd)) hook->SetHookedWindow(nullptr);
}

LRESULT CALLBACK SubclassHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Framework calls that ask for the current message must see this one.
    ZvThreadState* state = AfxGetThreadState();
    const MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg.hwnd = hWnd;
    state->m_lastSentMsg.message = message;
    state->m_lastSentMsg.wParam = wParam;
    state->m_lastSentMsg.lParam = lParam;

    CSubclassWndMap& map = CSubclassWndMap::Instance();
    CSubclassWnd* first = map.FindHook(hWnd);
    LRESULT result = 0;
    if (!first) {
        result = ::DefWindowProcA(hWnd, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        WNDPROC proc = first->m_pOldWndProc;
        map.RemoveAllHooks(hWnd);
        result = proc ? ::CallWindowProcA(proc, hWnd, message, wParam, lParam)
                      : ::DefWindowProcA(hWnd, message, wParam, lParam);
    } else {
        result = first->WindowProc(message, wParam, lParam);
    }

    state->m_lastSentMsg = saved;
    return result;
}
