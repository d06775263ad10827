// The "Sync progress" window on its own thread, driven the way a session
// drives it: through the sync server's registered windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/AppIds.h"
#include "app/res/SyncFilesRes.h"
#include "framework/ModalSeam.h"
#include "framework/WinApp.h"
#include "sync/dialogs/SyncProgressDlg.h"
#include "sync/server/SyncServer.h"

namespace {

CWinApp theApp("Zorvikan Desktop");

HWND FindProgressWindow(DWORD waitMs)
{
    const DWORD end = ::GetTickCount() + waitMs;
    do {
        HWND found = nullptr;
        ::EnumWindows(
            [](HWND window, LPARAM out) -> BOOL {
                DWORD pid = 0;
                ::GetWindowThreadProcessId(window, &pid);
                char title[128] = {};
                ::GetWindowTextA(window, title, sizeof title);
                if (pid != ::GetCurrentProcessId() || ::GetDlgItem(window, IDC_SYNC_PROGRESS_BAR) == nullptr)
                    return TRUE;
                *reinterpret_cast<HWND*>(out) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found) return found;
        ::Sleep(20);
    } while ((LONG)(end - ::GetTickCount()) > 0);
    return nullptr;
}

std::string Text(HWND window)
{
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// Waits until the window shows the text (its thread handles posted messages
// in its own time).
bool WaitForText(HWND window, const std::string& text)
{
    for (int i = 0; i < 250; ++i) {
        if (Text(window) == text) return true;
        ::Sleep(20);
    }
    return false;
}

// The window waits for its messages as in the program: nothing here is
// answered for a person.
struct RealModalLoops {
    CModalSeam real;
    CModalSeam* previous = AfxSetModalSeam(&real);
    ~RealModalLoops() { AfxSetModalSeam(previous); }
};

TEST(SyncProgress, FollowsTheSessionsStatesAndClosesWithIt)
{
    RealModalLoops modal;
    CSyncServer server(nullptr);
    server.StartProgressThread();
    HWND dialog = FindProgressWindow(10000);
    ASSERT_NE(dialog, nullptr);
    HWND status = ::GetDlgItem(dialog, IDC_SYNC_PROGRESS_TEXT);
    EXPECT_TRUE(WaitForText(dialog, "Sync progress"));
    EXPECT_TRUE(WaitForText(status, "Starting Sync..."));
    // The window joins the server's list in its initialisation.
    for (int i = 0; i < 100; ++i) {
        server.PostToWindows(WM_SYNC_STATE, 2, 0);
        if (Text(status) == "Getting data from handheld") break;
        ::Sleep(20);
    }
    EXPECT_TRUE(WaitForText(status, "Getting data from handheld"));

    server.PostToWindows(WM_SYNC_USER_NAME, reinterpret_cast<WPARAM>(server.KeepText(CString("Joe"))),
                         reinterpret_cast<LPARAM>(server.KeepText(CString("user-1"))));
    EXPECT_TRUE(WaitForText(dialog, "Sync is in progress with the user :\"Joe\""));
    server.PostToWindows(WM_SYNC_STATE, 3, 0);  // unreadable: the text stays
    server.PostToWindows(WM_SYNC_STATE, 9, 0);
    EXPECT_TRUE(WaitForText(status, "Sync aborted due to password mismatch"));

    server.PostToWindows(WM_SYNC_CLOSE, 0, 0);
    for (int i = 0; i < 250 && ::IsWindow(dialog); ++i) ::Sleep(20);
    EXPECT_FALSE(::IsWindow(dialog));
    // It left the server's list: nothing is posted to a window that is gone.
    server.PostToWindows(WM_SYNC_STATE, 10, 0);
}

TEST(SyncProgress, ASessionThatClosesBeforeItsWindowJoinedClosesItAllTheSame)
{
    RealModalLoops modal;
    CSyncServer server(nullptr);
    // The session ends while its window's thread is still starting.
    for (int i = 0; i < 3; ++i) {
        server.StartProgressThread();
        server.CloseProgress();
    }
    ::Sleep(500);
    for (int i = 0; i < 100 && FindProgressWindow(0); ++i) ::Sleep(50);
    EXPECT_EQ(FindProgressWindow(0), nullptr);
}

TEST(SyncProgress, EveryStateHasItsText)
{
    const struct {
        int state;
        const char* text;
    } cases[] = {
        {1, "Starting Sync..."},
        {2, "Getting data from handheld"},
        {4, "Comparing data with desktop"},
        {5, "Writing updated data to desktop"},
        {6, "Writing updated data to handheld"},
        {7, "Writing updated data to handheld"},
        {8, "Sync aborted due to unknown reason"},
        {9, "Sync aborted due to password mismatch"},
        {10, "Sync completed"},
        {11, "Sync completed"},
        {12, "Finishing..."},
        {13, "Sync canceled"},
        {0, nullptr},
        {3, nullptr},
    };
    for (const auto& c : cases) {
        const char* text = CiPhoneSyncInProgressDlg::StateText(c.state);
        if (!c.text)
            EXPECT_EQ(text, nullptr) << c.state;
        else
            EXPECT_STREQ(text, c.text) << c.state;
    }
}

}  // namespace
