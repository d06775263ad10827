// The first start's setup wizard, shown modeless and driven the way a sync
// session drives it: through the sync server's registered windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/AppIds.h"
#include "app/res/SyncFilesRes.h"
#include "framework/FrameworkRes.h"
#include "framework/WinApp.h"
#include "sync/server/SyncServer.h"
#include "sync/wizard/SetupWizard.h"

using iPhoneSetupWizard::CSetupWizardPS;

namespace {

CWinApp theApp("Zorvikan Desktop");

void Pump(int ms)
{
    const DWORD end = ::GetTickCount() + ms;
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    } while ((LONG)(end - ::GetTickCount()) > 0);
}

bool Enabled(const CSetupWizardPS& sheet, int button)
{
    HWND control = ::GetDlgItem(sheet.m_hWnd, button);
    return control && ::IsWindowEnabled(control) && ::IsWindowVisible(control);
}

struct Wizard {
    CSyncServer server{nullptr};
    CSetupWizardPS sheet{"Zorvikan Setup Wizard", &server, nullptr, 0};
    Wizard()
    {
        sheet.SetWizardMode();
        EXPECT_TRUE(sheet.Create());
        Pump(100);
    }
    ~Wizard()
    {
        if (::IsWindow(sheet.m_hWnd)) ::DestroyWindow(sheet.m_hWnd);
        Pump(50);
    }
    void Next()
    {
        sheet.PressButton(PSBTN_NEXT);
        Pump(100);
    }
    void SessionClosed()
    {
        server.PostToWindows(WM_SYNC_CLOSE, 0, 0);
        Pump(100);
    }
};

TEST(SetupWizard, ASessionEndedBeforeTheSecondPageOffersBackAndNext)
{
    Wizard wizard;
    EXPECT_EQ(wizard.sheet.GetActiveIndex(), 0);
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZNEXT));
    EXPECT_TRUE(wizard.sheet.GetCreatedUserName().IsEmpty());
    wizard.SessionClosed();
    wizard.Next();
    ASSERT_EQ(wizard.sheet.GetActiveIndex(), 1);
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZBACK));
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZNEXT));
}

TEST(SetupWizard, TheSecondPageWaitsForASessionThenOffersNextOnly)
{
    Wizard wizard;
    wizard.Next();
    ASSERT_EQ(wizard.sheet.GetActiveIndex(), 1);
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZBACK));
    EXPECT_FALSE(Enabled(wizard.sheet, ID_WIZNEXT));
    wizard.server.PostToWindows(WM_SYNC_USER_NAME, reinterpret_cast<WPARAM>(wizard.server.KeepText(CString("Joe"))),
                                reinterpret_cast<LPARAM>(wizard.server.KeepText(CString("user-1"))));
    wizard.SessionClosed();
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZNEXT));
    EXPECT_FALSE(Enabled(wizard.sheet, ID_WIZBACK));
    EXPECT_EQ(wizard.sheet.GetCreatedUserName(), CString("user-1"));
    wizard.Next();
    ASSERT_EQ(wizard.sheet.GetActiveIndex(), 2);
    HWND page = reinterpret_cast<HWND>(::SendMessageA(wizard.sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    char title[128] = {};
    ::GetDlgItemTextA(page, IDC_WIZARD_TITLE, title, sizeof title);
    EXPECT_STREQ(title, "Congratulations! You have created Joe");
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZFINISH));
}

}  // namespace
