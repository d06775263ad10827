// Built into a folder without "sqlite3.dll": constructs a wrapper there and
// ends with the number of message boxes it showed, or 100 more when one of
// them was not the loader's "Failed to load sqlite3 library" box.
#include <windows.h>

#include <cstring>

#include "sync/handheld/SQLiteDBWrapper.h"
#include "tests/support/ScriptedModal.h"

int main()
{
    // The folder it was started from may hold the DLL: work in its own.
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    while (n > 0 && self[n - 1] != '\\') --n;
    self[n] = 0;
    SetCurrentDirectoryA(self);

    zvtest::ScriptedModal modal;
    {
        CSQLiteDBWrapper db("C:\\handheld.db", SQLITE_OPEN_READONLY);
        if (db.HasDatabase() || !db.ColumnText16(nullptr, 0).empty()) return 200;
    }
    int count = 0, wrong = 0;
    for (const auto& box : modal.MessageBoxes()) {
        ++count;
        if (box.text != "Failed to load sqlite3 library" || box.caption != "Error in loading library" ||
            box.type != MB_OK)
            wrong = 100;
    }
    return count + wrong;
}
