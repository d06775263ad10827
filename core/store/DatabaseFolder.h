#pragma once
// Moving a user's database folder when the user picks another data folder
// (windows only: it copies folder trees).
#include "framework/CString.h"

// Nothing (0) when the source folder is empty, names the destination
// (ignoring case) or holds no "ZorvikanDatabase.zdb". Otherwise creates the
// destination with all its missing levels, copies the source's tree into it
// and, only when that succeeded, deletes the files that lie directly in the
// source folder (its sub-folders stay). 0, or the first error.
int MoveDatabaseFolder(const CString& sourceFolder, const CString& destinationFolder);
