#pragma once
// Lookup in the registered string table, for the LoadString implementations.
#include "framework/CString.h"

bool ZvFindRegisteredString(UINT nID, CString& text);
