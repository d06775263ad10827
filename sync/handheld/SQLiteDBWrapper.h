#pragma once
// CSQLiteDBWrapper: one connection to an SQLite 3 database file through a
// library loaded at run time. The library is loaded the first time it is
// needed and each export is bound by name on its first call; every
// operation answers its failure value (-1, null, 0 or an empty text) when
// the library or the export is missing. Used by one thread at a time.
#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "sync/handheld/SQLiteExports.h"

class CSQLiteDBWrapper {
public:
    // Copies the path (at most 259 characters), opens the database with the
    // flags and sets "PRAGMA synchronous = OFF;" and "PRAGMA temp_store =
    // MEMORY;".
    CSQLiteDBWrapper(const char* path, int openFlags);
    // Closes the database and frees the library.
    virtual ~CSQLiteDBWrapper();
    CSQLiteDBWrapper(const CSQLiteDBWrapper&) = delete;
    CSQLiteDBWrapper& operator=(const CSQLiteDBWrapper&) = delete;

    // -1 for a path shorter than 2 characters, else sqlite3_open_v2's result.
    virtual int Open();
    // -1 when no database is held, else sqlite3_close's result.
    virtual int Close();
    // 1 when the library is loaded; -1 (after telling the user) when not.
    // A failed load is tried again at the next call.
    virtual int LoadSqliteLibrary();

    bool HasDatabase() const { return m_db != nullptr; }

    // On the held database; each tries to open it first when none is held.
    int Exec(const char* sql);
    int Prepare(const char* sql, sqlite3_stmt** statement);
    // Null when there is no database or no library.
    const char* ErrMsg();

    int Step(sqlite3_stmt* statement);
    int Reset(sqlite3_stmt* statement);
    int ClearBindings(sqlite3_stmt* statement);
    int Finalize(sqlite3_stmt* statement);
    int ColumnCount(sqlite3_stmt* statement);
    int ColumnType(sqlite3_stmt* statement, int column);
    const unsigned char* ColumnText(sqlite3_stmt* statement, int column);
    // Empty for a NULL value.
    std::u16string ColumnText16(sqlite3_stmt* statement, int column);
    const void* ColumnBlob(sqlite3_stmt* statement, int column);
    int ColumnBytes(sqlite3_stmt* statement, int column);
    int ColumnInt(sqlite3_stmt* statement, int column);
    int64_t ColumnInt64(sqlite3_stmt* statement, int column);
    double ColumnDouble(sqlite3_stmt* statement, int column);
    // Values are always copied by SQLite (SQLITE_TRANSIENT).
    int BindBlob(sqlite3_stmt* statement, int index, const void* data, int length);
    int BindText(sqlite3_stmt* statement, int index, const char* text, int length);
    int BindInt(sqlite3_stmt* statement, int index, int value);
    int BindInt64(sqlite3_stmt* statement, int index, int64_t value);
    int BindNull(sqlite3_stmt* statement, int index);
    void Free(void* memory);
    // sqlite3_progress_handler on the held database: the handler is called
    // every so many instructions of a statement, and a handler that answers
    // non-zero interrupts it.
    void SetProgressHandler(int instructions, int (*handler)(void*), void* context);
    // sqlite3_db_config with an on/off option (SQLITE_DBCONFIG_DEFENSIVE and
    // the like); its result, or -1.
    int ConfigFlag(int option, int value);

private:
    // The bound export; null when the library or the export is missing.
    void* Entry(SqliteExport which);
    template <typename Fn> Fn Bound(SqliteExport which) { return reinterpret_cast<Fn>(Entry(which)); }
    bool EnsureOpen();

    char m_path[260] = {};
    sqlite3* m_db = nullptr;
    int m_openFlags = 0;
    void* m_entries[kSqliteExportCount] = {};
    void* m_library = nullptr;
};
