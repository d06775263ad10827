// The progress dialog on its worker thread, driven by its three messages in
// order and before its window exists; a second run while one goes is
// refused. The start-up screen ends by itself.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/ModalSeam.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/progress/BasicProgressBar.h"
#include "toolkit/progress/ZorvikScreen2.h"

namespace {

// The product's own seam: modal loops wait for input instead of being
// answered, so the dialogs run as they do for the user.
class RealModal : public ::testing::Test {
protected:
    void SetUp() override { m_previous = AfxSetModalSeam(&m_real); }
    void TearDown() override { AfxSetModalSeam(m_previous); }
    CModalSeam m_real;
    CModalSeam* m_previous = nullptr;
};

std::string ItemText(HWND dialog, int id)
{
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

bool Visible(HWND dialog, int id) { return (::GetWindowLongA(::GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }

// Ends the run with OK and waits for its thread to finish it.
void CloseWithOk(CBasicProgressBar& bar, HWND dialog)
{
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(dialog, IDOK));
    for (int i = 0; i < 500 && bar.IsRunning(); ++i) ::Sleep(10);
}

using ProgressDialogTest = RealModal;
using StartupScreenTest = RealModal;

}  // namespace

TEST_F(ProgressDialogTest, MessagesBeforeTheWindowExistsArrive)
{
    auto bar = CBasicProgressBar::GetInstance();
    ASSERT_TRUE(bar->BeginRun());
    // Sent at once, while the worker is still creating the window.
    EXPECT_TRUE(bar->SendProgress(WM_PROGRESSBAR_SET_TEXT, "Copying files..."));
    HWND dialog = bar->WaitUntilReady(5000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_TEXT), "Copying files...");
    CloseWithOk(*bar, dialog);
    EXPECT_FALSE(bar->IsRunning());
}

TEST_F(ProgressDialogTest, MessagesInOrderThenDone)
{
    auto bar = CBasicProgressBar::GetInstance();
    ASSERT_TRUE(bar->BeginRun());
    HWND dialog = bar->WaitUntilReady(5000);
    ASSERT_NE(dialog, nullptr);
    HWND progress = ::GetDlgItem(dialog, IDC_PROGRESS_BAR);
    // Right after it shows: a running marquee, OK and Cancel hidden.
    EXPECT_TRUE(::GetWindowLongA(progress, GWL_STYLE) & PBS_MARQUEE);
    EXPECT_FALSE(Visible(dialog, IDOK));
    EXPECT_FALSE(Visible(dialog, IDCANCEL));
    EXPECT_TRUE(bar->SendProgress(WM_PROGRESSBAR_SET_CAPTION, "Install"));
    EXPECT_TRUE(bar->SendProgress(WM_PROGRESSBAR_SET_TEXT, "Step 1"));
    EXPECT_TRUE(bar->SendProgress(WM_PROGRESSBAR_SET_TEXT, "Step 2"));
    char caption[64] = {};
    ::GetWindowTextA(dialog, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Install");
    EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_TEXT), "Step 2");
    EXPECT_TRUE(bar->SendProgress(WM_PROGRESSBAR_DONE, "Finished"));
    EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_TEXT), "Finished");
    EXPECT_FALSE(::GetWindowLongA(progress, GWL_STYLE) & PBS_MARQUEE);
    EXPECT_EQ(::SendMessageA(progress, PBM_GETPOS, 0, 0), 100);
    EXPECT_TRUE(Visible(dialog, IDOK));
    CloseWithOk(*bar, dialog);
    EXPECT_FALSE(bar->IsRunning());
    // After the run: nothing takes the message, and the sender is told.
    EXPECT_FALSE(bar->SendProgress(WM_PROGRESSBAR_SET_TEXT, "late", 100));
}

TEST_F(ProgressDialogTest, TextAfterDoneStillShows)
{
    auto bar = CBasicProgressBar::GetInstance();
    ASSERT_TRUE(bar->BeginRun());
    EXPECT_TRUE(bar->SendProgress(WM_PROGRESSBAR_DONE, "Done early"));
    EXPECT_TRUE(bar->SendProgress(WM_PROGRESSBAR_SET_TEXT, "Then a text"));
    HWND dialog = bar->WaitUntilReady(5000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_PROGRESS_TEXT), "Then a text");
    EXPECT_EQ(::SendMessageA(::GetDlgItem(dialog, IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0), 100);
    CloseWithOk(*bar, dialog);
}

TEST_F(ProgressDialogTest, SecondRunWhileOneGoesIsRefused)
{
    auto bar = CBasicProgressBar::GetInstance();
    ASSERT_TRUE(bar->BeginRun());
    EXPECT_FALSE(bar->BeginRun());
    HWND dialog = bar->WaitUntilReady(5000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(bar->WaitUntilReady(0), dialog);  // still the first run's window
    CloseWithOk(*bar, dialog);
    // Once it ended, the object serves the next run.
    ASSERT_TRUE(bar->BeginRun());
    dialog = bar->WaitUntilReady(5000);
    ASSERT_NE(dialog, nullptr);
    CloseWithOk(*bar, dialog);
}

TEST(ProgressDialog, NoRunNoWindow)
{
    EXPECT_EQ(CBasicProgressBar::GetInstance()->WaitUntilReady(0), nullptr);
    EXPECT_FALSE(CBasicProgressBar::GetInstance()->SendProgress(WM_PROGRESSBAR_SET_TEXT, "x", 0));
    EXPECT_EQ(RunProgressDialog(nullptr), 1u);
}

TEST_F(StartupScreenTest, EndsOnItsFirstTimerTick)
{
    CZorvikScreen2 screen;
    EXPECT_EQ(screen.DoModal(), 0);
}
