#pragma once
// Opening the current user's database into the main view's database object,
// at the first update and at every reopen (reload notice, user switch,
// unlock, sync). A load that fails leaves the object empty; saving it would
// write an empty file over the user's records, so the object is then held
// read-only until a later open succeeds, and the caller shows the error.
#include "framework/CString.h"

class CDatabaseObj;

// Opens "ZorvikanDatabase.zdb" in the folder (CDatabaseObj::OpenInFolder).
// 0 when loaded, the object then writable again; otherwise the load's result
// (never 0) with the object held read-only. An empty folder gives -1 and
// leaves the object read-only too.
int OpenUserDatabase(CDatabaseObj& database, const CString& folder, bool clearFirst);

// The text shown when the database could not be opened: the file's path and
// the system's or the loader's reason.
CString DescribeOpenFailure(const CString& filePath, int result);
