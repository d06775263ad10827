// Stand-in for the web-update library "wuw4.dll", for tests only: WebUpdate
// appends the address it was handed, one line per call, to the file named by
// the environment variable ZV_WEBUPDATE_RECORD. With "wuw4load=0" in
// ZV_STANDIN the library refuses to load, as on a computer without it.
#include <windows.h>

#include <cstdio>

#include "StandinConfig.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH && standin::NumberSetting("wuw4load", 1) == 0) return FALSE;
    return TRUE;
}

extern "C" __declspec(dllexport) void WebUpdate(const char* address)
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZV_WEBUPDATE_RECORD", path, sizeof(path));
    if (n == 0 || n >= sizeof(path)) return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", address ? address : "(none)");
        std::fclose(f);
    }
}
