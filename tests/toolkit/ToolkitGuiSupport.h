#pragma once
// Windows the toolkit's GUI tests put the controls in: a parent that
// records every message the controls send it, and a main window that names
// a view to the tool bar (WM_TOOLKIT_GET_MAIN_VIEW).
#include <windows.h>

#include <vector>

#include "framework/Wnd.h"
#include "toolkit/ToolkitIds.h"

namespace zvtest {

struct SentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A plain top-level (or child) window that records the messages in a range.
class RecordingWnd : public CWnd {
public:
    // Records messages from first to last (and WM_NOTIFY codes into notifies).
    RecordingWnd(UINT first = 0x0400, UINT last = 0xFFFF) : m_first(first), m_last(last) {}
    ~RecordingWnd() override
    {
        if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
    }
    BOOL CreateTop(int x, int y, int cx, int cy)
    {
        return CreateEx(0, RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1)), "ZvTest",
                        WS_OVERLAPPED | WS_VISIBLE, x, y, cx, cy, nullptr, nullptr);
    }
    BOOL CreateChild(CWnd* parent, int x, int y, int cx, int cy, UINT id)
    {
        return CreateEx(0, RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1)), "",
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, cx, cy, parent->m_hWnd, (HMENU)(UINT_PTR)id);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TOOLKIT_GET_MAIN_VIEW) return m_pView ? (LRESULT)m_pView->m_hWnd : 0;
        if (message == WM_NOTIFY) m_notifies.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        if (message >= m_first && message <= m_last) m_sent.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        m_preTranslated.push_back(pMsg->message);
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB && m_pPane) {
            m_pPane->SetFocus();
            return TRUE;
        }
        return FALSE;
    }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> result;
        for (const SentMessage& m : m_sent) result.push_back(m.message);
        return result;
    }
    int Count(UINT message) const
    {
        int n = 0;
        for (const SentMessage& m : m_sent) n += m.message == message ? 1 : 0;
        return n;
    }

    UINT m_first, m_last;
    std::vector<SentMessage> m_sent;
    std::vector<UINT> m_notifies;
    std::vector<UINT> m_preTranslated;
    CWnd* m_pView = nullptr;  // what a main window names as its view
    CWnd* m_pPane = nullptr;  // where a view sends Tab
};

}  // namespace zvtest
