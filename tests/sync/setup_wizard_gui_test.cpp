// The first start's setup wizard, shown modeless and driven the way a sync
// session drives it: through the sync server's registered windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
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
    // A session of the user that completed, as the server tells it.
    void SessionSucceeded(const char* name, const char* id)
    {
        server.PostToWindows(WM_SYNC_USER_NAME, reinterpret_cast<WPARAM>(server.KeepText(CString(name))),
                             reinterpret_cast<LPARAM>(server.KeepText(CString(id))));
        server.PostToWindows(WM_SYNC_CLOSE, kSyncClosedSucceeded, reinterpret_cast<LPARAM>(server.KeepText(id)));
        Pump(100);
    }
    // Whether the title's text fits its control in the font it is shown in.
    bool TitleFits() const
    {
        HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
        HWND title = ::GetDlgItem(page, IDC_WIZARD_TITLE);
        RECT box = {};
        ::GetClientRect(title, &box);
        HDC dc = ::GetDC(title);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(title, WM_GETFONT, 0, 0)));
        const std::string text = Title();
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(title, dc);
        return size.cx <= box.right && size.cy <= box.bottom;
    }
    std::string Title() const
    {
        HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
        char title[128] = {};
        ::GetDlgItemTextA(page, IDC_WIZARD_TITLE, title, sizeof title);
        return title;
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
    wizard.SessionSucceeded("Joe", "user-1");
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZNEXT));
    EXPECT_FALSE(Enabled(wizard.sheet, ID_WIZBACK));
    EXPECT_EQ(wizard.sheet.GetCreatedUserName(), CString("user-1"));
    wizard.Next();
    ASSERT_EQ(wizard.sheet.GetActiveIndex(), 2);
    EXPECT_EQ(wizard.Title(), "Congratulations! You have created Joe");
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZFINISH));
}

// A session that failed, even one whose user name had come, creates nobody:
// the last page says so and offers Back, never Finish. A user that a later
// session creates can be finished with, and a failure after it (a probe of
// the port) does not take it back.
TEST(SetupWizard, OnlyASessionThatCompletedCanBeFinishedWith)
{
    Wizard wizard;
    wizard.Next();
    wizard.server.PostToWindows(WM_SYNC_USER_NAME, reinterpret_cast<WPARAM>(wizard.server.KeepText(CString("Joe"))),
                                reinterpret_cast<LPARAM>(wizard.server.KeepText(CString("user-1"))));
    wizard.SessionClosed();
    EXPECT_TRUE(wizard.sheet.GetCreatedUserName().IsEmpty());
    wizard.Next();
    ASSERT_EQ(wizard.sheet.GetActiveIndex(), 2);
    EXPECT_EQ(wizard.Title(), "The sync failed. Click Back to try again.");
    EXPECT_TRUE(wizard.TitleFits());
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZBACK));
    EXPECT_FALSE(Enabled(wizard.sheet, ID_WIZFINISH));
    wizard.sheet.PressButton(PSBTN_FINISH);
    Pump(100);
    EXPECT_EQ(wizard.sheet.GetActiveIndex(), 2);

    wizard.sheet.PressButton(PSBTN_BACK);
    Pump(100);
    ASSERT_EQ(wizard.sheet.GetActiveIndex(), 1);
    wizard.SessionSucceeded("Joe", "user-1");
    wizard.SessionClosed();
    EXPECT_EQ(wizard.sheet.GetCreatedUserName(), CString("user-1"));
    wizard.Next();
    ASSERT_EQ(wizard.sheet.GetActiveIndex(), 2);
    EXPECT_EQ(wizard.Title(), "Congratulations! You have created Joe");
    EXPECT_TRUE(Enabled(wizard.sheet, ID_WIZFINISH));
}

HWND CurrentPage(const CSetupWizardPS& sheet)
{
    return reinterpret_cast<HWND>(::SendMessageA(sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// The colour the page shows at a point of its picture (image coordinates).
COLORREF PageColourAt(HWND page, POINT origin, POINT inImage)
{
    ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = ::GetDC(page);
    const COLORREF colour = ::GetPixel(dc, origin.x + inImage.x, origin.y + inImage.y);
    ::ReleaseDC(page, dc);
    return colour;
}

bool Near(COLORREF colour, int r, int g, int b)
{
    return std::abs(GetRValue(colour) - r) <= 8 && std::abs(GetGValue(colour) - g) <= 8 &&
           std::abs(GetBValue(colour) - b) <= 8;
}

TEST(SetupWizard, TheFirstTwoPagesShowTheirPictures)
{
    Wizard wizard;
    HWND welcome = CurrentPage(wizard.sheet);
    ASSERT_TRUE(welcome);
    for (int control : {IDC_WIZARD_BITMAP1, IDC_WIZARD_BITMAP2}) {
        HWND picture = ::GetDlgItem(welcome, control);
        ASSERT_TRUE(picture) << control;
        EXPECT_TRUE(::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)) << control;
    }
    // Each picture page draws the dark body of its handheld where the image
    // has it, 400 x 400 pixels from its own origin.
    struct PictureCase {
        const iPhoneSetupWizard::CSetupWizardPicturePage& page;
        POINT origin;
        POINT body;
    };
    const PictureCase cases[] = {
        {wizard.sheet.FirstPage(), {180, 160}, {75, 130}},
        {wizard.sheet.SecondPage(), {260, 175}, {140, 320}},
    };
    for (const PictureCase& c : cases) {
        const int index = &c == cases ? 0 : 1;
        if (index == 1) wizard.Next();
        ASSERT_EQ(wizard.sheet.GetActiveIndex(), index);
        EXPECT_TRUE(c.page.Picture().IsLoaded()) << index;
        EXPECT_EQ(c.page.Picture().Width(), 400u) << index;
        EXPECT_EQ(c.page.Picture().Height(), 400u) << index;
        EXPECT_EQ(c.page.PictureOrigin().x, c.origin.x) << index;
        EXPECT_EQ(c.page.PictureOrigin().y, c.origin.y) << index;
        const COLORREF shown = PageColourAt(CurrentPage(wizard.sheet), c.origin, c.body);
        EXPECT_TRUE(Near(shown, 52, 58, 70)) << index << ": " << std::hex << shown;
    }
}

}  // namespace
