#pragma once
// How this build reaches the SQLite 3 library. The Windows build loads
// "sqlite3.dll" by name and binds each export by name; the host build links
// the system's library and answers the same names from a table of its own.

// The library's module; null when it cannot be loaded.
void* LoadSqliteModule();
// The address of an export by its exact name; null when it has none.
void* FindSqliteExport(void* module, const char* name);
void FreeSqliteModule(void* module);
// Tells the user the library could not be loaded (a message box on Windows).
void ReportSqliteLoadFailure();
