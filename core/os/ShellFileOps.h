#pragma once
// Silent shell file operations (windows only). Files and whole folders are
// accepted; a deletion is permanent (no recycle bin).
#include <windows.h>

#include "framework/CString.h"

bool DeletePathSilently(const CString& path, HWND owner);
bool RenamePathSilently(const CString& oldPath, const CString& newPath, HWND owner);
// Moves source into the destination folder, creating that folder (one level)
// when it is missing.
bool MovePathSilently(const CString& source, const CString& destinationFolder, HWND owner);
// The shell's "open" verb on the file; the shell's result.
INT_PTR OpenWithShell(const CString& file);
