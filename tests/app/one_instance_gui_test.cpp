// The single-instance guard in this process: the first copy takes the mutex;
// a later one finds the running copy's window by its exact class name,
// brings it forward and hands it the command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppIds.h"
#include "app/frame/OneInstance.h"

namespace {

std::vector<std::string> g_received;
std::vector<ULONG_PTR> g_ids;

LRESULT CALLBACK RunningCopyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lParam);
        g_ids.push_back(cds->dwData);
        g_received.emplace_back(static_cast<const char*>(cds->lpData), cds->cbData);
        return TRUE;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakeWindowOfClass(const char* className)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = RunningCopyProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    ::RegisterClassA(&wc);
    return ::CreateWindowExA(0, className, "running copy", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

class OneInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_received.clear();
        g_ids.clear();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_class = std::string("Zv Guard ") + info->name();
        m_mutex = std::string("Local\\Zv Guard Mutex ") + info->name();
    }
    void TearDown() override
    {
        for (HWND h : m_windows) ::DestroyWindow(h);
    }
    HWND Window(const char* className)
    {
        HWND h = MakeWindowOfClass(className);
        m_windows.push_back(h);
        return h;
    }
    std::string m_class, m_mutex;
    std::vector<HWND> m_windows;
};

TEST_F(OneInstance, FirstCopyRunsOn)
{
    COneInstance first(m_class.c_str(), m_mutex.c_str());
    EXPECT_EQ(nullptr, first.ActivateRunningInstance("C:\\a.zkv"));
    EXPECT_TRUE(g_received.empty());
}

TEST_F(OneInstance, LaterCopyHandsItsCommandLineToTheRunningWindow)
{
    COneInstance first(m_class.c_str(), m_mutex.c_str());
    ASSERT_EQ(nullptr, first.ActivateRunningInstance(""));
    HWND running = Window(m_class.c_str());
    ::ShowWindow(running, SW_MINIMIZE);

    COneInstance second(m_class.c_str(), m_mutex.c_str());
    EXPECT_EQ(running, second.ActivateRunningInstance("\"C:\\My Data\\x.zkv\""));
    ASSERT_EQ(1u, g_received.size());
    EXPECT_EQ(0u, g_ids[0]);
    // The text travels with its terminating zero.
    EXPECT_EQ(std::string("\"C:\\My Data\\x.zkv\"") + '\0', g_received[0]);
    EXPECT_FALSE(::IsIconic(running));
    EXPECT_TRUE(::IsWindowVisible(running));
}

TEST_F(OneInstance, EmptyCommandLineOnlyActivates)
{
    COneInstance first(m_class.c_str(), m_mutex.c_str());
    ASSERT_EQ(nullptr, first.ActivateRunningInstance(""));
    HWND running = Window(m_class.c_str());
    ::ShowWindow(running, SW_HIDE);  // hidden in the notification area
    COneInstance second(m_class.c_str(), m_mutex.c_str());
    EXPECT_EQ(running, second.ActivateRunningInstance(""));
    EXPECT_TRUE(g_received.empty());
    EXPECT_TRUE(::IsWindowVisible(running));
}

TEST_F(OneInstance, ClassNameMustMatchExactly)
{
    std::string lower = m_class;
    for (char& ch : lower) ch = (char)tolower((unsigned char)ch);
    Window(lower.c_str());
    Window((m_class + "X").c_str());
    COneInstance guard(m_class.c_str(), m_mutex.c_str());
    EXPECT_EQ(nullptr, guard.FindRunningInstance());
    // (Class names are registered without regard to case within one
    // process, so the exact match is shown with a name of its own.)
    const std::string exactName = m_class + " Exact";
    HWND exact = Window(exactName.c_str());
    COneInstance exactGuard(exactName.c_str(), m_mutex.c_str());
    EXPECT_EQ(exact, exactGuard.FindRunningInstance());
}

TEST_F(OneInstance, ProgramsGuardLooksForTheMainFrameClass)
{
    EXPECT_STREQ("Zorvikan Desktop", (LPCSTR)GetInstanceGuard().GetClassName());
}

}  // namespace
