// Loading the platform libraries with the system's loader.
#include <windows.h>

#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ProcessSeams.h"
#include "core/users/Platform.h"

namespace {

HMODULE g_manager = nullptr;
HMODULE g_sync = nullptr;

void* FindLoadedExport(PlatformLibrary library, const char* name)
{
    HMODULE module = library == PlatformLibrary::Manager ? g_manager : g_sync;
    if (!module || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(module, name));
}

HMODULE LoadFrom(const CString& folder, const char* file)
{
    CString path = JoinPath(folder, file);
    // The libraries are found by full path only, never along the search path.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

int LoadPlatformLibraries(int mode, const char* productName)
{
    return LoadPlatformLibrariesFrom(GetAppDirectory(), mode, productName);
}

int LoadPlatformLibrariesFrom(const CString& folder, int mode, const char* productName)
{
    ReleasePlatformLibraries();
    g_manager = LoadFrom(folder, "CVPlatformMgr.dll");
    if (!g_manager) {
        int error = (int)GetLastError();
        return error ? error : -1;
    }
    SetPlatformExportResolver(&FindLoadedExport);

    int result = 0;
    if (auto* init = PlatformExport<PlatformInitializeFn>(PlatformLibrary::Manager, "InitializePlatform"))
        result = init(mode, productName);
    if (result != 0) return result;

    g_sync = LoadFrom(folder, "Kelbridge.dll");
    if (auto* init = PlatformExport<PlatformInitializeFn>(PlatformLibrary::Sync, "InitializePlatform"))
        result = init(mode, productName);
    return result;
}

void ReleasePlatformLibraries()
{
    HMODULE* modules[] = {&g_sync, &g_manager};
    PlatformLibrary libraries[] = {PlatformLibrary::Sync, PlatformLibrary::Manager};
    for (int i = 0; i < 2; ++i) {
        if (!*modules[i]) continue;
        if (auto* release = PlatformExport<PlatformReleaseFn>(libraries[i], "ReleasePlatform")) release();
        FreeLibrary(*modules[i]);
        *modules[i] = nullptr;
    }
    // Only our own resolver goes; one a test installed stays.
    PlatformExportResolver previous = SetPlatformExportResolver(nullptr);
    if (previous != &FindLoadedExport) SetPlatformExportResolver(previous);
}
