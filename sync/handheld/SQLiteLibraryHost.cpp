#include <sqlite3.h>

#include <cstring>

#include "sync/handheld/SQLiteExports.h"
#include "sync/handheld/SQLiteLibrary.h"

namespace {
// Stands for the module: the host build links the library.
int g_linkedModule;

void* const kAddresses[kSqliteExportCount] = {
    reinterpret_cast<void*>(&sqlite3_open_v2),        reinterpret_cast<void*>(&sqlite3_close),
    reinterpret_cast<void*>(&sqlite3_exec),           reinterpret_cast<void*>(&sqlite3_errmsg),
    reinterpret_cast<void*>(&sqlite3_free),           reinterpret_cast<void*>(&sqlite3_prepare_v2),
    reinterpret_cast<void*>(&sqlite3_step),           reinterpret_cast<void*>(&sqlite3_reset),
    reinterpret_cast<void*>(&sqlite3_clear_bindings), reinterpret_cast<void*>(&sqlite3_finalize),
    reinterpret_cast<void*>(&sqlite3_column_count),   reinterpret_cast<void*>(&sqlite3_column_type),
    reinterpret_cast<void*>(&sqlite3_column_text),    reinterpret_cast<void*>(&sqlite3_column_text16),
    reinterpret_cast<void*>(&sqlite3_column_blob),    reinterpret_cast<void*>(&sqlite3_column_bytes),
    reinterpret_cast<void*>(&sqlite3_column_bytes16), reinterpret_cast<void*>(&sqlite3_column_int),
    reinterpret_cast<void*>(&sqlite3_column_int64),   reinterpret_cast<void*>(&sqlite3_column_double),
    reinterpret_cast<void*>(&sqlite3_bind_blob),      reinterpret_cast<void*>(&sqlite3_bind_int),
    reinterpret_cast<void*>(&sqlite3_bind_int64),     reinterpret_cast<void*>(&sqlite3_bind_null),
    reinterpret_cast<void*>(&sqlite3_bind_text),      reinterpret_cast<void*>(&sqlite3_progress_handler),
    reinterpret_cast<void*>(&sqlite3_db_config),
};
}  // namespace

void* LoadSqliteModule() { return &g_linkedModule; }

void* FindSqliteExport(void* module, const char* name)
{
    if (!module || !name) return nullptr;
    for (int i = 0; i < kSqliteExportCount; ++i)
        if (std::strcmp(kSqliteExportNames[i], name) == 0) return kAddresses[i];
    return nullptr;
}

void FreeSqliteModule(void*) {}

void ReportSqliteLoadFailure() {}
