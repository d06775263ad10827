// Stand-in for Simple MAPI's "MAPI32.DLL", for tests only: MAPISendMail
// writes what it was handed to the file named by the environment variable
// ZV_MAPI_RECORD (one "key=value" line each), copies the first attached file
// to the path named by ZV_MAPI_COPY when that is set (the caller may delete
// its file once the call returns), and answers "mapi=<n>" of ZV_STANDIN, 0
// (sent) unless given.
#include <windows.h>

#include <mapi.h>

#include <cstdio>

#include "StandinConfig.h"

extern "C" __declspec(dllexport) ULONG WINAPI
    MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message, FLAGS flags, ULONG reserved)
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZV_MAPI_RECORD", path, sizeof(path));
    if (n > 0 && n < sizeof(path)) {
        FILE* f = std::fopen(path, "w");
        if (f) {
            std::fprintf(f, "session=%llu\n", static_cast<unsigned long long>(session));
            std::fprintf(f, "owner=%llu\n", static_cast<unsigned long long>(uiParam));
            std::fprintf(f, "flags=%lu\n", static_cast<unsigned long>(flags));
            std::fprintf(f, "reserved=%lu\n", static_cast<unsigned long>(reserved));
            if (message) {
                std::fprintf(f, "subject=%s\n", message->lpszSubject ? message->lpszSubject : "(none)");
                std::fprintf(f, "body=%s\n", message->lpszNoteText ? message->lpszNoteText : "(none)");
                std::fprintf(f, "recipients=%lu\n", static_cast<unsigned long>(message->nRecipCount));
                std::fprintf(f, "files=%lu\n", static_cast<unsigned long>(message->nFileCount));
                for (ULONG i = 0; message->lpFiles && i < message->nFileCount; ++i) {
                    const MapiFileDesc& file = message->lpFiles[i];
                    std::fprintf(f, "position=%ld\n", static_cast<long>(file.nPosition));
                    std::fprintf(f, "path=%s\n", file.lpszPathName ? file.lpszPathName : "(none)");
                    std::fprintf(f, "name=%s\n", file.lpszFileName ? file.lpszFileName : "(none)");
                }
            }
            std::fclose(f);
        }
    }
    char copy[MAX_PATH];
    n = GetEnvironmentVariableA("ZV_MAPI_COPY", copy, sizeof(copy));
    if (n > 0 && n < sizeof(copy) && message && message->nFileCount > 0 && message->lpFiles &&
        message->lpFiles[0].lpszPathName)
        CopyFileA(message->lpFiles[0].lpszPathName, copy, FALSE);
    return static_cast<ULONG>(standin::NumberSetting("mapi", 0));
}
