#pragma once
// Naming of the stand-alone users made in the user dialogs: the display name
// "Standalone-" + name, the key name "_Standalone_" + name, and the test that
// keeps both unique among all users of the program.
#include "framework/CString.h"

class CUserItem;
class CUserList;

CString StandaloneDisplayName(const CString& name);
CString StandaloneKeyName(const CString& name);
// The name as the dialogs show it: every "Standalone-" removed.
CString StandaloneShownName(const CString& displayName);
// The typed name without white space at both ends; empty when nothing is left.
CString TrimUserName(const CString& typed);

// True when a user of the list other than except has the display name or the
// key name of a stand-alone user called name, without regard to case. Both
// names count: two users differing only in case would share one folder and
// one preferences section.
bool IsStandaloneNameTaken(const CUserList& users, const CString& name, const CUserItem* except);

// A new stand-alone user called name, with its legacy registry key; null when
// the names cannot name a user (too long, or no folder name).
CUserItem* MakeStandaloneUser(const CString& name);
