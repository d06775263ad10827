#pragma once
// Where the shell's per-user and shared files live. The classes that own
// these files take the path of a user's file through a function, so that
// tests can point them at a scratch folder; by default the preference
// manager's folders are used.
#include <functional>

#include "framework/CString.h"

class CUserItem;

typedef std::function<CString(CUserItem*)> UserFilePathFn;

// The preference manager's paths (windows). The host build has no
// preference folders: its defaults are empty, and the files are kept in
// memory only.
CString DefaultEventsLogPath();
CString DefaultSmartTypesPath(CUserItem* user);
CString DefaultSearchHistoryPath(CUserItem* user);
