#include <windows.h>

#include "framework/ModalSeam.h"
#include "sync/handheld/SQLiteLibrary.h"

void* LoadSqliteModule() { return reinterpret_cast<void*>(LoadLibraryA("sqlite3.dll")); }

void* FindSqliteExport(void* module, const char* name)
{
    return module ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name)) : nullptr;
}

void FreeSqliteModule(void* module)
{
    if (module) FreeLibrary(static_cast<HMODULE>(module));
}

void ReportSqliteLoadFailure()
{
    AfxGetModalSeam().MessageBox(nullptr, "Failed to load sqlite3 library", "Error in loading library", MB_OK);
}
