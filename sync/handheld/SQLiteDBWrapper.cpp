#include "sync/handheld/SQLiteDBWrapper.h"

#include <cstring>

#include "sync/handheld/SQLiteLibrary.h"

const char* const kSqliteExportNames[kSqliteExportCount] = {
    "sqlite3_open_v2",        "sqlite3_close",
    "sqlite3_exec",           "sqlite3_errmsg",
    "sqlite3_free",           "sqlite3_prepare_v2",
    "sqlite3_step",           "sqlite3_reset",
    "sqlite3_clear_bindings", "sqlite3_finalize",
    "sqlite3_column_count",   "sqlite3_column_type",
    "sqlite3_column_text",    "sqlite3_column_text16",
    "sqlite3_column_blob",    "sqlite3_column_bytes",
    "sqlite3_column_bytes16", "sqlite3_column_int",
    "sqlite3_column_int64",   "sqlite3_column_double",
    "sqlite3_bind_blob",      "sqlite3_bind_int",
    "sqlite3_bind_int64",     "sqlite3_bind_null",
    "sqlite3_bind_text",      "sqlite3_progress_handler",
    "sqlite3_db_config",
};

CSQLiteDBWrapper::CSQLiteDBWrapper(const char* path, int openFlags) : m_openFlags(openFlags)
{
    if (path) {
        std::strncpy(m_path, path, sizeof(m_path) - 1);
        m_path[sizeof(m_path) - 1] = 0;
    }
    Open();
    // The program's own file in the temporary folder: no waiting for the disk.
    Exec("PRAGMA synchronous = OFF;");
    Exec("PRAGMA temp_store = MEMORY;");
}

CSQLiteDBWrapper::~CSQLiteDBWrapper()
{
    Close();
    if (m_library) FreeSqliteModule(m_library);
}

int CSQLiteDBWrapper::LoadSqliteLibrary()
{
    if (!m_library) m_library = LoadSqliteModule();
    if (!m_library) {
        ReportSqliteLoadFailure();
        return -1;
    }
    return 1;
}

void* CSQLiteDBWrapper::Entry(SqliteExport which)
{
    if (!m_library && LoadSqliteLibrary() < 0) return nullptr;
    if (!m_entries[which]) m_entries[which] = FindSqliteExport(m_library, kSqliteExportNames[which]);
    return m_entries[which];
}

int CSQLiteDBWrapper::Open()
{
    if (std::strlen(m_path) < 2) return -1;
    auto open = Bound<decltype(&sqlite3_open_v2)>(kSqliteOpenV2);
    if (!open) return -1;
    sqlite3* db = nullptr;
    int result = open(m_path, &db, m_openFlags, nullptr);
    if (result != SQLITE_OK && db) {
        // SQLite hands out a handle even when the open fails; it is of no use.
        if (auto close = Bound<decltype(&sqlite3_close)>(kSqliteClose)) close(db);
        db = nullptr;
    }
    m_db = db;
    return result;
}

int CSQLiteDBWrapper::Close()
{
    if (!m_db) return -1;
    auto close = Bound<decltype(&sqlite3_close)>(kSqliteClose);
    if (!close) return -1;
    int result = close(m_db);
    if (result == SQLITE_OK) m_db = nullptr;
    return result;
}

bool CSQLiteDBWrapper::EnsureOpen()
{
    if (!m_db) Open();
    return m_db != nullptr;
}

int CSQLiteDBWrapper::Exec(const char* sql)
{
    if (!EnsureOpen()) return -1;
    auto exec = Bound<decltype(&sqlite3_exec)>(kSqliteExec);
    return exec ? exec(m_db, sql, nullptr, nullptr, nullptr) : -1;
}

int CSQLiteDBWrapper::Prepare(const char* sql, sqlite3_stmt** statement)
{
    *statement = nullptr;
    if (!EnsureOpen()) return -1;
    auto prepare = Bound<decltype(&sqlite3_prepare_v2)>(kSqlitePrepareV2);
    return prepare ? prepare(m_db, sql, -1, statement, nullptr) : -1;
}

const char* CSQLiteDBWrapper::ErrMsg()
{
    if (!EnsureOpen()) return nullptr;
    auto errmsg = Bound<decltype(&sqlite3_errmsg)>(kSqliteErrmsg);
    return errmsg ? errmsg(m_db) : nullptr;
}

int CSQLiteDBWrapper::Step(sqlite3_stmt* statement)
{
    auto step = Bound<decltype(&sqlite3_step)>(kSqliteStep);
    return step ? step(statement) : -1;
}

int CSQLiteDBWrapper::Reset(sqlite3_stmt* statement)
{
    auto reset = Bound<decltype(&sqlite3_reset)>(kSqliteReset);
    return reset ? reset(statement) : -1;
}

int CSQLiteDBWrapper::ClearBindings(sqlite3_stmt* statement)
{
    auto clear = Bound<decltype(&sqlite3_clear_bindings)>(kSqliteClearBindings);
    return clear ? clear(statement) : -1;
}

int CSQLiteDBWrapper::Finalize(sqlite3_stmt* statement)
{
    auto finalize = Bound<decltype(&sqlite3_finalize)>(kSqliteFinalize);
    return finalize ? finalize(statement) : -1;
}

int CSQLiteDBWrapper::ColumnCount(sqlite3_stmt* statement)
{
    auto count = Bound<decltype(&sqlite3_column_count)>(kSqliteColumnCount);
    return count ? count(statement) : 0;
}

int CSQLiteDBWrapper::ColumnType(sqlite3_stmt* statement, int column)
{
    auto type = Bound<decltype(&sqlite3_column_type)>(kSqliteColumnType);
    return type ? type(statement, column) : 0;
}

const unsigned char* CSQLiteDBWrapper::ColumnText(sqlite3_stmt* statement, int column)
{
    auto text = Bound<decltype(&sqlite3_column_text)>(kSqliteColumnText);
    return text ? text(statement, column) : nullptr;
}

std::u16string CSQLiteDBWrapper::ColumnText16(sqlite3_stmt* statement, int column)
{
    auto text = Bound<decltype(&sqlite3_column_text16)>(kSqliteColumnText16);
    if (!text) return std::u16string();
    auto bytes = Bound<decltype(&sqlite3_column_bytes16)>(kSqliteColumnBytes16);
    if (!bytes) return std::u16string();
    const void* value = text(statement, column);
    if (!value) return std::u16string();
    // The length is asked after the text, as SQLite's conversion rules want.
    int length = bytes(statement, column);
    std::u16string result(static_cast<size_t>(length) / 2, u'\0');
    if (!result.empty()) std::memcpy(&result[0], value, result.size() * 2);
    return result;
}

const void* CSQLiteDBWrapper::ColumnBlob(sqlite3_stmt* statement, int column)
{
    auto blob = Bound<decltype(&sqlite3_column_blob)>(kSqliteColumnBlob);
    return blob ? blob(statement, column) : nullptr;
}

int CSQLiteDBWrapper::ColumnBytes(sqlite3_stmt* statement, int column)
{
    auto bytes = Bound<decltype(&sqlite3_column_bytes)>(kSqliteColumnBytes);
    return bytes ? bytes(statement, column) : 0;
}

int CSQLiteDBWrapper::ColumnInt(sqlite3_stmt* statement, int column)
{
    auto value = Bound<decltype(&sqlite3_column_int)>(kSqliteColumnInt);
    return value ? value(statement, column) : 0;
}

int64_t CSQLiteDBWrapper::ColumnInt64(sqlite3_stmt* statement, int column)
{
    auto value = Bound<decltype(&sqlite3_column_int64)>(kSqliteColumnInt64);
    return value ? static_cast<int64_t>(value(statement, column)) : 0;
}

double CSQLiteDBWrapper::ColumnDouble(sqlite3_stmt* statement, int column)
{
    auto value = Bound<decltype(&sqlite3_column_double)>(kSqliteColumnDouble);
    return value ? value(statement, column) : 0.0;
}

int CSQLiteDBWrapper::BindBlob(sqlite3_stmt* statement, int index, const void* data, int length)
{
    auto bind = Bound<decltype(&sqlite3_bind_blob)>(kSqliteBindBlob);
    return bind ? bind(statement, index, data, length, SQLITE_TRANSIENT) : -1;
}

int CSQLiteDBWrapper::BindText(sqlite3_stmt* statement, int index, const char* text, int length)
{
    auto bind = Bound<decltype(&sqlite3_bind_text)>(kSqliteBindText);
    return bind ? bind(statement, index, text, length, SQLITE_TRANSIENT) : -1;
}

int CSQLiteDBWrapper::BindInt(sqlite3_stmt* statement, int index, int value)
{
    auto bind = Bound<decltype(&sqlite3_bind_int)>(kSqliteBindInt);
    return bind ? bind(statement, index, value) : -1;
}

int CSQLiteDBWrapper::BindInt64(sqlite3_stmt* statement, int index, int64_t value)
{
    auto bind = Bound<decltype(&sqlite3_bind_int64)>(kSqliteBindInt64);
    return bind ? bind(statement, index, static_cast<sqlite3_int64>(value)) : -1;
}

int CSQLiteDBWrapper::BindNull(sqlite3_stmt* statement, int index)
{
    auto bind = Bound<decltype(&sqlite3_bind_null)>(kSqliteBindNull);
    return bind ? bind(statement, index) : -1;
}

void CSQLiteDBWrapper::Free(void* memory)
{
    if (auto release = Bound<decltype(&sqlite3_free)>(kSqliteFree)) release(memory);
}

void CSQLiteDBWrapper::SetProgressHandler(int instructions, int (*handler)(void*), void* context)
{
    if (!EnsureOpen()) return;
    auto set = Bound<decltype(&sqlite3_progress_handler)>(kSqliteProgressHandler);
    if (set) set(m_db, instructions, handler, context);
}

int CSQLiteDBWrapper::ConfigFlag(int option, int value)
{
    if (!EnsureOpen()) return -1;
    auto config = Bound<decltype(&sqlite3_db_config)>(kSqliteDbConfig);
    return config ? config(m_db, option, value, static_cast<int*>(nullptr)) : -1;
}
