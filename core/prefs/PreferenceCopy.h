#pragma once
// The preference copy: moves the older versions' registry preferences into
// the preferences file (migration), or copies preferences from one
// preferences file into another (copy, for the install to a removable disk).
// Nothing here asks or tells the user; failures leave the source as it was.
#include "core/prefs/AppPrefs.h"
#include "framework/CString.h"

class CAppPrefMgr;
class CUserItem;

enum : int {
    kPrefCopyCopy = 0,     // the source is kept and no file moves
    kPrefCopyMigrate = 1,  // what was taken over completely is deleted from the source
};

// True when the older versions' registry root (kLegacyRegistryRoot) opens.
bool LegacyRegistryKeyExists();

// The application section and the user (every user the source enumerates
// when null). 0 when everything was copied completely, -1 otherwise.
int CopyPreferences(int mode, const CString& section, CAppPrefMgr& env, CUserItem* user, CAppPrefs& source,
                    CAppPrefs& target);

// "Current User", "DBVersion", "Virgin Sync" and "NoPrint" of the section.
// True when the target reads back what was copied.
bool CopyApplicationSection(const CString& section, CAppPrefs& source, CAppPrefs& target, int mode);

// One user: its database (migration only), the user itself and its values;
// in migration mode the user's registry key goes only after all of that
// succeeded. 0 on success, -1 when something failed.
int CopyUserPreferences(CUserItem* user, const CString& section, CAppPrefMgr& env, int mode, CAppPrefs& source,
                        CAppPrefs& target);

// The per-user values, in their fixed order.
void CopyUserValues(const CString& section, CUserItem* user, CAppPrefs& source, CAppPrefs& target);

// Places the user's database file for the new layout: a user whose
// "User Directory" names a folder gets the database moved into the
// sub-folder named after its safe key name, and that sub-folder is recorded
// as its "User Directory" once the file is there. When the move fails the
// target records the folder that still holds the database. 0 on success
// (also when nothing had to move), -1 when the database could not be moved.
int MoveUserDatabase(CAppPrefs& source, CAppPrefs& target, CUserItem* user, CAppPrefMgr& env);
