// Drops down a menu of the running desktop program, as Alt and a mnemonic
// would, so that a screenshot shows the owner-drawn items. Usage:
//   zv_show_menu.exe [mnemonic]     (default "h": the Help menu)
// Waits up to 10 s for the program's main window to be shown.
#include <windows.h>

int main(int argc, char** argv)
{
    const char key = argc > 1 && argv[1][0] ? argv[1][0] : 'h';
    for (int i = 0; i < 100; ++i) {
        HWND main = ::FindWindowA("Zorvikan Desktop", nullptr);
        if (main && ::IsWindowVisible(main)) {
            ::SetForegroundWindow(main);
            ::PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, (LPARAM)key);
            // The bar item is selected; Down opens its menu.
            ::Sleep(500);
            ::PostMessageA(main, WM_KEYDOWN, VK_DOWN, 0);
            ::Sleep(1000);
            for (HWND popup = ::FindWindowA("#32768", nullptr); popup;
                 popup = ::FindWindowExA(nullptr, popup, "#32768", nullptr)) {
                ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
                ::ShowWindow(popup, SW_SHOWNA);
            }
            return 0;
        }
        ::Sleep(100);
    }
    return 1;
}
