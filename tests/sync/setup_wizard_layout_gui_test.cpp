// The setup wizard's three pages as the first start shows them, in the
// sheet's own fonts and with their pictures: no text is cut or overlaps
// another, and no picture covers a text. With ZV_DIALOG_PICTURES naming a
// folder, a picture of each page lands there as wizard-page-<n>.bmp.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/WinApp.h"
#include "sync/server/SyncServer.h"
#include "sync/wizard/SetupWizard.h"
#include "tests/support/DialogLayout.h"
#include "tests/support/ScriptedModal.h"

using iPhoneSetupWizard::CSetupWizardPicturePage;
using iPhoneSetupWizard::CSetupWizardPS;

namespace {

CWinApp theApp("Zorvikan Desktop");

const COLORREF kGround = RGB(255, 0, 255);

// The picture's pixels as the page draws them, on a ground of kGround.
std::vector<COLORREF> DrawnPicture(const CSetupWizardPicturePage& page, int side)
{
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HBRUSH ground = ::CreateSolidBrush(kGround);
    RECT all = {0, 0, side, side};
    ::FillRect(memory, &all, ground);
    ::DeleteObject(ground);
    page.Picture().Draw(memory, 0, 0);
    ::GdiFlush();
    std::vector<COLORREF> pixels(side * side);
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (int i = 0; i < side * side; ++i)
        pixels[i] = RGB((source[i] >> 16) & 0xFF, (source[i] >> 8) & 0xFF, source[i] & 0xFF);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// Where a static's text is drawn, in page coordinates.
RECT InkOf(HWND control, HWND page)
{
    RECT client;
    ::GetClientRect(control, &client);
    char text[512] = {};
    ::GetWindowTextA(control, text, sizeof text);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT ink = {0, 0, client.right, 0};
    ::DrawTextA(dc, text, -1, &ink, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    ::MapWindowPoints(control, page, reinterpret_cast<POINT*>(&ink), 2);
    return ink;
}

// The texts of the page that the picture covers, one line each.
std::vector<std::string> CoveredTexts(const CSetupWizardPicturePage& page, HWND window)
{
    const int side = 400;
    const std::vector<COLORREF> pixels = DrawnPicture(page, side);
    const POINT at = page.PictureOrigin();
    std::vector<std::string> covered;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char text[512] = {};
        ::GetWindowTextA(child, text, sizeof text);
        if (!::IsWindowVisible(child) || !text[0]) continue;
        const RECT ink = InkOf(child, window);
        bool hit = false;
        for (int y = ink.top; y < ink.bottom && !hit; ++y)
            for (int x = ink.left; x < ink.right && !hit; ++x) {
                const int px = x - at.x, py = y - at.y;
                hit = px >= 0 && py >= 0 && px < side && py < side && pixels[py * side + px] != kGround;
            }
        if (hit) covered.push_back(text);
    }
    return covered;
}

TEST(SetupWizardLayout, NoPageCutsOrCoversItsTexts)
{
    CSyncServer server{nullptr};
    CSetupWizardPS sheet{"Zorvikan Setup Wizard", &server, nullptr, 0};
    sheet.SetWizardMode();
    ASSERT_TRUE(sheet.Create());
    ::SetWindowPos(sheet.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    const char* pictures = std::getenv("ZV_DIALOG_PICTURES");
    for (int index = 0; index < 3; ++index) {
        sheet.SetActivePage(index);
        zvtest::PumpPendingMessages();
        HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
        ASSERT_TRUE(page) << index;
        ::RedrawWindow(sheet.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        for (const std::string& fault : zvtest::DialogLayoutFaults(page))
            ADD_FAILURE() << "page " << index + 1 << ": " << fault;
        if (index < 2) {
            const CSetupWizardPicturePage& withPicture =
                index == 0 ? static_cast<const CSetupWizardPicturePage&>(sheet.FirstPage()) : sheet.SecondPage();
            ASSERT_TRUE(withPicture.Picture().IsLoaded()) << index;
            for (const std::string& text : CoveredTexts(withPicture, page))
                ADD_FAILURE() << "page " << index + 1 << ": the picture covers \"" << text << "\"";
        }
        if (pictures)
            zvtest::SaveWindowPicture(sheet.m_hWnd,
                                      std::string(pictures) + "\\wizard-page-" + std::to_string(index + 1) + ".bmp");
    }
    ::DestroyWindow(sheet.m_hWnd);
    zvtest::PumpPendingMessages();
}

}  // namespace
