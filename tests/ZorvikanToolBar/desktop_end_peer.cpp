// The desktop program's end of the link for the plug-in's link tests: the
// program's own CPluginLink behind a hidden window that plays the main view.
// The tests start it themselves or, copied as "Zorvikan Desktop.exe", let the
// plug-in start it (with an empty command line), so it reads its settings
// from the environment:
//   ZV_LINK_SUFFIX    appended to every name of the link's objects
//   ZV_PEER_LOG       file to which it appends "start" when it starts and
//                     "login <title>|<address>" for each web login handed
//                     over to the view
//   ZV_PEER_DELAY_MS  how long it takes to come up (before the link exists)
//   ZV_PEER_FAIL      when set, it ends at once, before its link exists, as
//                     a program whose start fails
// With no arguments it serves: it ends one second after the first web login,
// or after 20 seconds. With "signal db" or "signal user" it raises that
// change once its link exists and ends a second later.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/pluginlink/PluginLink.h"
#include "framework/Wnd.h"

namespace {

std::string Env(const char* name)
{
    char value[1024] = {};
    DWORD size = GetEnvironmentVariableA(name, value, sizeof(value));
    return size && size < sizeof(value) ? value : "";
}

void Log(const std::string& line)
{
    std::string path = Env("ZV_PEER_LOG");
    if (path.empty()) return;
    FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) return;
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
}

WebLoginLinkNames Names()
{
    WebLoginLinkNames names;
    std::string suffix = Env("ZV_LINK_SUFFIX");
    for (CString* name : {&names.appRunning, &names.sharedMemory, &names.eventAdded, &names.dbChange, &names.userChange,
                          &names.changeCounts})
        *name += suffix.c_str();
    return names;
}

bool g_gotLogin = false;

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ADD_WEB_LOGIN) {
        Log(std::string("login ") + reinterpret_cast<const char*>(wParam) + "|" +
            reinterpret_cast<const char*>(lParam));
        g_gotLogin = true;
        return 0;
    }
    if (message == WM_BRING_TO_FRONT) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Handles messages (the link's worker sends to the view) until done or the
// time has passed.
template <typename Done> void Serve(DWORD ms, Done done)
{
    const DWORD end = GetTickCount() + ms;
    while (!done() && (LONG)(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Log("start");
    if (!Env("ZV_PEER_FAIL").empty()) return 4;
    if (!Env("ZV_PEER_DELAY_MS").empty()) Sleep(std::atoi(Env("ZV_PEER_DELAY_MS").c_str()));
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &ViewProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZvDesktopEndPeerView";
    RegisterClassA(&wc);
    HWND view = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!view) return 3;
    CWnd owner(view);
    auto link = std::make_unique<CPluginLink>(&owner, Names());
    if (argc == 3 && std::strcmp(argv[1], "signal") == 0) {
        if (std::strcmp(argv[2], "db") == 0) link->SignalDatabaseChange();
        if (std::strcmp(argv[2], "user") == 0) link->SignalUserChange();
        Serve(1000, [] { return false; });
        return 0;
    }
    Serve(20000, [] { return g_gotLogin; });
    if (!g_gotLogin) return 2;
    // The link signals the database change after the view took the login.
    Serve(1000, [] { return false; });
    link.reset();
    DestroyWindow(view);
    return 0;
}
