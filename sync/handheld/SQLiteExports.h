#pragma once
// The SQLite exports the program binds, by index and by exact name.

enum SqliteExport {
    kSqliteOpenV2,
    kSqliteClose,
    kSqliteExec,
    kSqliteErrmsg,
    kSqliteFree,
    kSqlitePrepareV2,
    kSqliteStep,
    kSqliteReset,
    kSqliteClearBindings,
    kSqliteFinalize,
    kSqliteColumnCount,
    kSqliteColumnType,
    kSqliteColumnText,
    kSqliteColumnText16,
    kSqliteColumnBlob,
    kSqliteColumnBytes,
    kSqliteColumnBytes16,
    kSqliteColumnInt,
    kSqliteColumnInt64,
    kSqliteColumnDouble,
    kSqliteBindBlob,
    kSqliteBindInt,
    kSqliteBindInt64,
    kSqliteBindNull,
    kSqliteBindText,
    kSqliteProgressHandler,
    kSqliteDbConfig,
    kSqliteExportCount
};

extern const char* const kSqliteExportNames[kSqliteExportCount];
