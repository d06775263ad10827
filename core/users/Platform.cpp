#include "core/users/Platform.h"

#include <cstring>

#include "core/os/ProcessSeams.h"
#include "core/users/UserRecord.h"

namespace {
PlatformExportResolver g_resolver = nullptr;
}

PlatformExportResolver SetPlatformExportResolver(PlatformExportResolver resolver)
{
    PlatformExportResolver previous = g_resolver;
    g_resolver = resolver;
    return previous;
}

void* PlatformFindExport(PlatformLibrary library, const char* name)
{
    return g_resolver ? g_resolver(library, name) : nullptr;
}

int PlatformGetPlatform()
{
    auto* fn = PlatformExport<PlatformGetPlatformFn>(PlatformLibrary::Manager, "GetPlatform");
    return fn ? fn() : -1;
}

CString PlatformGetPlatformName()
{
    auto* fn = PlatformExport<PlatformGetPlatformNameFn>(PlatformLibrary::Manager, "GetPlatformName");
    if (!fn) return CString();
    char buffer[kPlatformNameBufferSize];
    std::memset(buffer, 0, sizeof(buffer));
    fn(buffer);
    // The library is outside our control: never read past the buffer.
    buffer[sizeof(buffer) - 1] = 0;
    return CString(buffer);
}

bool PlatformGetDeleteRecordMethod()
{
    auto* fn = PlatformExport<PlatformBoolFn>(PlatformLibrary::Manager, "GetDeleteRecordMethod");
    return fn ? fn() != 0 : false;
}

bool PlatformWantsDefaults()
{
    auto* fn = PlatformExport<PlatformBoolFn>(PlatformLibrary::Manager, "PlatformWantsDefaults");
    return fn ? fn() != 0 : true;
}

bool PlatformWantsAutoSync()
{
    auto* fn = PlatformExport<PlatformBoolFn>(PlatformLibrary::Sync, "WantsAutoSync");
    return fn ? fn() != 0 : false;
}

bool PlatformCanUserSyncNow(const UserRecord& record)
{
    auto* fn = PlatformExport<PlatformCanUserSyncNowFn>(PlatformLibrary::Sync, "CanUserSyncNow");
    return fn ? fn(&record) != 0 : false;
}
