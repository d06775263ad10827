#include "core/os/SystemInfo.h"

#include <winsock2.h>
#include <shlobj.h>
#include <winver.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const int kNoVersionResource = static_cast<int>(0x8000FFFFu);
const int kOutOfMemory = static_cast<int>(0x8007000Eu);

// The text of a version value: as long as the length the query gives, ended
// early only by a zero. A value stored without its terminating zero comes
// back without one, and the buffer holds other bytes after it.
bool QueryText(const char* block, const char* blockEnd, const char* name, CString& out)
{
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, name, reinterpret_cast<LPVOID*>(&value), &length) || !value) return false;
    if (value < block || value >= blockEnd) return false;
    const size_t most = std::min(static_cast<size_t>(length), static_cast<size_t>(blockEnd - value));
    out = CString(value, static_cast<int>(strnlen(value, most)));
    return true;
}

}  // namespace

bool GetSpecialFolderPath(int folderId, CString& path)
{
    char buffer[MAX_PATH] = {};
    // Callers build the data root from this path: a folder the shell cannot
    // give must not read as success.
    bool ok = SHGetSpecialFolderPathA(GetDesktopWindow(), buffer, folderId, FALSE) != FALSE;
    if (!ok) buffer[0] = '\0';
    path = buffer;
    return ok && buffer[0] != '\0';
}

bool IsWindowsXP()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    return info.dwMajorVersion == 5 && info.dwMinorVersion == 1;
}

int GetModuleVersionInfo(const CString& path, CString& dottedVersion, CString& fileVersion, CString& productVersion)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.GetString(), &handle);
    HGLOBAL memory = GlobalAlloc(GMEM_FIXED, size + 5);
    void* block = memory ? GlobalLock(memory) : nullptr;
    if (!block) {
        if (memory) GlobalFree(memory);
        return kOutOfMemory;
    }
    if (size == 0 || !GetFileVersionInfoA(path.GetString(), 0, size, block)) {
        GlobalUnlock(memory);
        GlobalFree(memory);
        return kNoVersionResource;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block, "\\", reinterpret_cast<LPVOID*>(&fixed), &length) && fixed &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        dottedVersion.Format("%d.%d.%d.%d", static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
                             static_cast<int>(LOWORD(fixed->dwFileVersionMS)),
                             static_cast<int>(HIWORD(fixed->dwFileVersionLS)),
                             static_cast<int>(LOWORD(fixed->dwFileVersionLS)));
    }
    const char* text = static_cast<const char*>(block);
    WORD* translation = nullptr;
    if (VerQueryValueA(block, "\\VarFileInfo\\Translation", reinterpret_cast<LPVOID*>(&translation), &length) &&
        translation && length >= 4) {
        char name[80];
        snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0], translation[1]);
        QueryText(text, text + size, name, fileVersion);
        snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\ProductVersion", translation[0], translation[1]);
        QueryText(text, text + size, name, productVersion);
    }
    GlobalUnlock(memory);
    GlobalFree(memory);
    return 0;
}

CString GetModuleProductVersion(HMODULE module)
{
    char fileName[MAX_PATH] = {};
    if (!GetModuleFileNameA(module, fileName, MAX_PATH)) return CString();
    CString dotted, fileVersion, productVersion;
    if (GetModuleVersionInfo(CString(fileName), dotted, fileVersion, productVersion) != 0) return CString();
    return productVersion;
}

void SetCaptionVersion(HWND window)
{
    if (!window || !IsWindow(window)) return;
    const int length = GetWindowTextLengthA(window);
    std::vector<char> format(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, format.data(), length + 1);
    // The caption is a format with one "%s"; anything else stays as it is
    // rather than reaching printf with a stray conversion.
    CString caption(format.data());
    const int at = caption.Find("%s");
    if (at < 0) return;
    CString rest = caption.Mid(at + 2);
    if (rest.Find('%') >= 0 || caption.Left(at).Find('%') >= 0) return;
    CString text = caption.Left(at) + GetModuleProductVersion(nullptr) + rest;
    SetWindowTextA(window, text.GetString());
}

CString GetLocalIPAddress()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return CString();
    char host[256] = {};
    if (gethostname(host, 255) != 0) return CString();
    hostent* entry = gethostbyname(host);
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) return CString();
    int last = 0;
    while (entry->h_addr_list[last + 1]) ++last;
    in_addr address;
    memcpy(&address, entry->h_addr_list[last], sizeof address);
    return CString(inet_ntoa(address));
}
