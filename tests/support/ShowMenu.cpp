// Drops down a menu of the running desktop program, as Alt and a mnemonic
// would, so that a screenshot shows the owner-drawn items. Usage:
//   zv_show_menu.exe [mnemonic]     (default "h": the Help menu)
// Waits up to 10 s for the program's main window to be shown and for the
// program to be ready for input.
#include <windows.h>

namespace {

// A drop-down menu is on screen.
bool MenuShown()
{
    for (HWND popup = ::FindWindowA("#32768", nullptr); popup;
         popup = ::FindWindowExA(nullptr, popup, "#32768", nullptr))
        if (::IsWindowVisible(popup)) return true;
    return false;
}

bool WaitForMenu(int ms)
{
    for (int waited = 0; waited < ms; waited += 50) {
        if (MenuShown()) return true;
        ::Sleep(50);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    const char key = argc > 1 && argv[1][0] ? argv[1][0] : 'h';
    for (int i = 0; i < 100; ++i) {
        HWND main = ::FindWindowA("Zorvikan Desktop", nullptr);
        if (main && ::IsWindowVisible(main)) {
            // The frame is shown before start-up is over, and a menu dropped
            // that early ends up under it: first the program waits for input.
            DWORD pid = 0;
            ::GetWindowThreadProcessId(main, &pid);
            if (HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
                ::WaitForInputIdle(process, 5000);
                ::CloseHandle(process);
            }
            // Selects the bar item; Down opens its menu when that did not.
            ::PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, (LPARAM)key);
            bool shown = WaitForMenu(1500);
            if (!shown) {
                ::PostMessageA(main, WM_KEYDOWN, VK_DOWN, 0);
                shown = WaitForMenu(3000);
            }
            if (!shown) return 2;
            ::Sleep(500);  // time to draw the items before the screenshot
            return 0;
        }
        ::Sleep(100);
    }
    return 1;
}
