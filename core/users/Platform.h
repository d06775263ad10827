#pragma once
// The binding of the platform's own libraries: the platform manager
// "CVPlatformMgr.dll" and the platform-sync library "Kelbridge.dll". Both lie
// outside this system and are loaded from the program's folder at start-up.
// Every export is looked up by name at every call; a missing library or export
// never fails a call, it gives the neutral default noted below.
#include "framework/CString.h"

struct UserRecord;

enum class PlatformLibrary { Manager, Sync };

// Export signatures (texts are zero-terminated ANSI; bools are 32-bit).
typedef int(PlatformInitializeFn)(int mode, const char* product);
typedef void(PlatformReleaseFn)();
typedef int(PlatformGetPlatformFn)();
typedef void(PlatformGetPlatformNameFn)(char* buffer256);
typedef int(PlatformBoolFn)();
typedef void(PlatformGetRootDirFn)(const char* product, const void* userRecord, const char* safeKeyName,
                                   char* buffer261);
typedef int(PlatformEnumUsersFn)(int index, const char* product, void* userRecord);
typedef int(PlatformIsUserActiveFn)(const char* displayName, const char* keyName, int platformValue);
typedef int(PlatformCanUserSyncNowFn)(const void* userRecord);

// Sizes of the buffers the exports fill.
const int kPlatformNameBufferSize = 256;
const int kPlatformRootDirBufferSize = 261;

// Loads the platform manager from the program's folder and initialises it,
// then the platform-sync library. 0 on success; the system's error code when
// the platform manager does not load; the first non-zero initialise result.
int LoadPlatformLibraries(int mode, const char* productName);
// The same from a given folder (with its trailing backslash or not).
int LoadPlatformLibrariesFrom(const CString& folder, int mode, const char* productName);
// Releases the platform-sync library, then the platform manager.
void ReleasePlatformLibraries();

// Address of an export of a loaded library; null when the library or the
// export is missing.
void* PlatformFindExport(PlatformLibrary library, const char* name);

// Where exports are looked up is a seam (SetPlatformExportResolver,
// core/os/ProcessSeams.h): the windows build installs its resolver while the
// libraries are loaded; without one every export counts as missing.

// Wrappers of the exports used in several places.
int PlatformGetPlatform();                              // -1 when missing
CString PlatformGetPlatformName();                      // empty when missing
bool PlatformGetDeleteRecordMethod();                   // false when missing
bool PlatformWantsDefaults();                           // true when missing
bool PlatformWantsAutoSync();                           // false when missing
bool PlatformCanUserSyncNow(const UserRecord& record);  // false when missing

// Typed look-up of an export.
template <typename Fn> Fn* PlatformExport(PlatformLibrary library, const char* name)
{
    return reinterpret_cast<Fn*>(PlatformFindExport(library, name));
}
