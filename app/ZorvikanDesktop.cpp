// Entry point of the desktop program. For now it only shows the main window;
// the application object takes over once it exists.
#include <windows.h>
#include <commctrl.h>

namespace {

const char kMainClass[] = "Zorvikan Desktop";

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "Ready", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                                      0, 0, 0, 0, hwnd, nullptr,
                                      reinterpret_cast<LPCREATESTRUCTA>(lp)->hInstance, nullptr);
        return status ? 0 : -1;
    }
    case WM_SIZE: {
        HWND status = FindWindowExA(hwnd, nullptr, STATUSCLASSNAMEA, nullptr);
        if (status) SendMessageA(status, WM_SIZE, 0, 0);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainClass;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (!RegisterClassExA(&wc)) return 1;

    HWND main = CreateWindowExA(0, kMainClass, "Zorvikan Desktop", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!main) return 1;
    ShowWindow(main, show);
    UpdateWindow(main);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
