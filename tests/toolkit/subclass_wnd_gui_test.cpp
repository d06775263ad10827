// Hooks on a window's messages: the chain order, removal in either order,
// the window's own procedure given back, destruction of the window, and the
// framework's current message while a hooked message is handled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Wnd.h"
#include "toolkit/SubclassWnd.h"

namespace {

const UINT kProbe = WM_APP + 17;
std::vector<std::string> g_trace;
bool g_hookSeenAtNcDestroy = true;

LRESULT CALLBACK PlainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe) {
        g_trace.push_back("window");
        return 7;
    }
    if (message == WM_NCDESTROY) g_hookSeenAtNcDestroy = CSubclassWndMap::Instance().FindHook(hWnd) != nullptr;
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakeWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZvSubclassTestWindow";
        registered = ::RegisterClassA(&wc) != 0;
    }
    return ::CreateWindowExA(0, "ZvSubclassTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

class TraceHook : public CSubclassWnd {
public:
    explicit TraceHook(const char* name) : m_name(name) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kProbe) {
            g_trace.push_back(m_name);
            const MSG* current = CWnd::GetCurrentMessage();
            m_currentWasThis = current && current->message == kProbe && current->wParam == wParam;
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
    std::string m_name;
    bool m_currentWasThis = false;
};

WNDPROC ProcOf(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)); }

class SubclassWnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_trace.clear();
        m_hWnd = MakeWindow();
        ASSERT_NE(nullptr, m_hWnd);
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }
    HWND m_hWnd = nullptr;
};

TEST_F(SubclassWnd, MessagesPassNewerThenOlderThenTheWindow)
{
    TraceHook older("older"), newer("newer");
    older.SetHookedWindow(m_hWnd);
    newer.SetHookedWindow(m_hWnd);
    EXPECT_EQ(&newer, CSubclassWndMap::Instance().FindHook(m_hWnd));
    EXPECT_EQ(7, ::SendMessageA(m_hWnd, kProbe, 1, 0));
    EXPECT_EQ((std::vector<std::string>{"newer", "older", "window"}), g_trace);
}

TEST_F(SubclassWnd, RemovingNewerThenOlderGivesTheProcedureBack)
{
    TraceHook older("older"), newer("newer");
    older.SetHookedWindow(m_hWnd);
    newer.SetHookedWindow(m_hWnd);
    EXPECT_EQ(&SubclassHookProc, ProcOf(m_hWnd));

    newer.SetHookedWindow(nullptr);
    EXPECT_EQ(&SubclassHookProc, ProcOf(m_hWnd));
    EXPECT_EQ(&older, CSubclassWndMap::Instance().FindHook(m_hWnd));
    ::SendMessageA(m_hWnd, kProbe, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"older", "window"}), g_trace);

    older.SetHookedWindow(nullptr);
    EXPECT_EQ(&PlainProc, ProcOf(m_hWnd));
    EXPECT_EQ(nullptr, CSubclassWndMap::Instance().FindHook(m_hWnd));
}

TEST_F(SubclassWnd, RemovingOlderFirstLeavesNewerInFront)
{
    TraceHook older("older"), newer("newer");
    older.SetHookedWindow(m_hWnd);
    newer.SetHookedWindow(m_hWnd);
    older.SetHookedWindow(nullptr);
    EXPECT_EQ(&newer, CSubclassWndMap::Instance().FindHook(m_hWnd));
    ::SendMessageA(m_hWnd, kProbe, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"newer", "window"}), g_trace);
    newer.SetHookedWindow(nullptr);
    EXPECT_EQ(&PlainProc, ProcOf(m_hWnd));
}

TEST_F(SubclassWnd, DestroyingTheWindowRemovesItsHooksFirst)
{
    auto* hook = new TraceHook("hook");
    TraceHook second("second");
    hook->SetHookedWindow(m_hWnd);
    second.SetHookedWindow(m_hWnd);
    g_hookSeenAtNcDestroy = true;
    ::DestroyWindow(m_hWnd);
    EXPECT_FALSE(g_hookSeenAtNcDestroy);
    EXPECT_FALSE(hook->IsHooked());
    EXPECT_FALSE(second.IsHooked());
    delete hook;  // finds nothing to remove
    EXPECT_EQ(nullptr, CSubclassWndMap::Instance().FindHook(m_hWnd));
}

TEST_F(SubclassWnd, DestroyingAHookRemovesIt)
{
    {
        TraceHook hook("hook");
        hook.SetHookedWindow(m_hWnd);
    }
    EXPECT_EQ(&PlainProc, ProcOf(m_hWnd));
    ::SendMessageA(m_hWnd, kProbe, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"window"}), g_trace);
}

TEST_F(SubclassWnd, CurrentMessageIsTheHookedOneWhileItIsHandled)
{
    TraceHook hook("hook");
    hook.SetHookedWindow(m_hWnd);
    ::SendMessageA(m_hWnd, kProbe, 42, 0);
    EXPECT_TRUE(hook.m_currentWasThis);
    const MSG* after = CWnd::GetCurrentMessage();
    EXPECT_FALSE(after && after->message == kProbe && after->wParam == 42);
}

TEST_F(SubclassWnd, HookingAgainMovesTheHook)
{
    HWND other = MakeWindow();
    TraceHook hook("hook");
    hook.SetHookedWindow(m_hWnd);
    hook.SetHookedWindow(other);
    EXPECT_EQ(&PlainProc, ProcOf(m_hWnd));
    EXPECT_EQ(&hook, CSubclassWndMap::Instance().FindHook(other));
    hook.SetHookedWindow(nullptr);
    ::DestroyWindow(other);
}

}  // namespace
