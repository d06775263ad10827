#include "mainwindow/data/UserDatabaseOpen.h"

#include "core/store/DatabaseObj.h"

int OpenUserDatabase(CDatabaseObj& database, const CString& folder, bool clearFirst)
{
    if (clearFirst) database.Clear(true);
    if (folder.IsEmpty()) {
        database.SetReadOnly();
        return -1;
    }
    // Read-only is taken off for the load itself: a missing file is then
    // created as a new database, which a read-only object refuses.
    database.ClearReadOnly();
    const int result = database.OpenInFolder(folder);
    if (result != 0) database.SetReadOnly();
    return result;
}

CString DescribeOpenFailure(const CString& filePath, int result)
{
    CString text;
    if (result == -1)
        text.Format("The database \"%s\" could not be opened: it is locked by another program, damaged or of a "
                    "newer version.\n\nIt is shown read-only; nothing will be saved to it.",
                    (LPCSTR)filePath);
    else
        text.Format("The database \"%s\" could not be opened (error %d).\n\nIt is shown read-only; nothing will be "
                    "saved to it.",
                    (LPCSTR)filePath, result);
    return text;
}
