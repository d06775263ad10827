#pragma once
// Writes a parsed registry script into the registry, or takes it away.
// Windows build only.
#include <windows.h>

#include <vector>

#include "ZorvikanToolBar/com/RegScript.h"

// classesRoot stands for HKCR: HKEY_CLASSES_ROOT for the machine, or the
// current user's Software\Classes. Registration stops at the first failure
// and answers it (a system error code), leaving what it wrote so far for the
// caller's removal; removal goes on past failures and answers the first one
// (keys that are already gone are not failures). 0 on success.
LONG ApplyRegScript(const std::vector<RegScriptRoot>& roots, bool doRegister, HKEY classesRoot);
