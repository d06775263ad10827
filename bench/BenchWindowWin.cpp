#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "app/history/LogEvents.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "bench/BenchWindow.h"

void Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void CloseMainWindow(HWND frame, const std::filesystem::path& root)
{
    ::SendMessageA(frame, WM_CLOSE, 0, 0);
    Pump();
    auto* app = static_cast<CZorvikanDesktopApp*>(AfxGetApp());
    app->m_pMainWnd = nullptr;
    app->SetCurrentUser(nullptr);
    app->GetUsers().DeleteAll();
    CLogEvents::ReplaceInstance(nullptr);
    std::filesystem::remove_all(root);
}
