#pragma once
// Special folders, version resources and the computer's address (windows only).
#include <windows.h>

#include "framework/CString.h"

// The shell's path of a special folder (a CSIDL value). False, and path
// empty, when the shell cannot give it (an unknown folder, for one).
bool GetSpecialFolderPath(int folderId, CString& path);

bool IsWindowsXP();

// Reads the file's version resource: "a.b.c.d" from the fixed part and the
// FileVersion and ProductVersion texts of its first translation (a missing
// text leaves its out-parameter alone). 0, 0x8000FFFF when the file has no
// readable version resource, 0x8007000E when memory is short.
int GetModuleVersionInfo(const CString& path, CString& dottedVersion, CString& fileVersion, CString& productVersion);
// Product version text of the module (none: the executable); empty when none.
CString GetModuleProductVersion(HMODULE module);
// Formats the window's text (a format with one "%s") with the executable's
// product version.
void SetCaptionVersion(HWND window);

// The computer's IPv4 address in dotted form; empty on any failure.
CString GetLocalIPAddress();
