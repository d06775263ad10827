#pragma once
// Moving a user's database folder and default backup folder where the
// Options sheet points them, and storing the new place only once the move
// has succeeded (windows only: silent shell moves).
#include <windows.h>

#include "framework/CString.h"

class CDatabaseObj;
class CUserItem;

// Folder texts that differ only in letter case name the same folder.
bool IsSameFolder(const CString& a, const CString& b);

enum class DatabaseFolderMove {
    Unchanged,      // same folder: nothing moved
    Moved,          // database and the rest of the folder moved, stored
    DatabaseThere,  // the target holds a database already: nothing changed
    Failed,         // the move failed: nothing stored
};

// Moves the database into newFolder joined with the user's file-name-safe
// key name, then the rest of the user's folder, and stores that folder as
// "User Directory".
DatabaseFolderMove MoveUserDatabaseFolder(CDatabaseObj& database, CUserItem* user, const CString& oldFolder,
                                          const CString& newFolder, HWND owner);

// Moves the user's backup folder into newFolder joined with "Backup" and
// stores where it went as "Backup Directory". A backup folder that does not
// exist yet has nothing to move: the new one is made. False when unchanged
// or when the move failed (nothing stored then).
bool MoveUserBackupFolder(CUserItem* user, const CString& oldFolder, const CString& newFolder, HWND owner);
