// Posting a change notice to the platform's listener window.
#include <windows.h>

#include "core/os/ChangeNotify.h"

void PostToListenerWindow(uint32_t wParam, int32_t lParam)
{
    HWND listener = FindWindowA(nullptr, kListenerWindowTitle);
    if (!listener) return;
    // Every registration of the name gives the same number.
    static const UINT message = RegisterWindowMessageA(kDatabaseNotifyMessageName);
    if (message == 0) return;
    PostMessageA(listener, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}
