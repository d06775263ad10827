#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <memory>

#include "app/history/LogEvents.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "bench/BenchWindow.h"
#include "core/prefs/AppPrefMgr.h"

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

CUserItem* OpenScratchUser(const std::filesystem::path& root)
{
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    CAppPrefMgr::ReplaceInstance(std::make_shared<CAppPrefMgr>(CString(root.string().c_str())));
    CZorvikanDesktopApp::GetPrefsSection() = "Preferences iPhone";
    auto* app = static_cast<CZorvikanDesktopApp*>(AfxGetApp());
    app->GetUsers().DeleteAll();
    app->GetUsers().LoadUsers("Zorvikan", "software\\corvantide\\zorvikan desktop\\iPhone - ");
    app->SetCurrentUser(app->GetUsers().FindByKeyNameOrFirst(""));
    return app->GetCurrentUser();
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
