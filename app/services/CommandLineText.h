#pragma once
// The program's own reading of its command line: the whole text names a file
// to import unless it is empty or starts with "/"; "/rl" shifts the restored
// window. The same rule serves the command line that a second start hands to
// the running copy.
#include "framework/CString.h"

// The file the command line names, or empty when it names none. Blanks around
// it and the quotes the shell puts around a path with blanks are removed.
CString GetImportPathFromCommandLine(const CString& commandLine);

// True when the command line is "/rl".
bool IsShiftedPlacementCommandLine(const CString& commandLine);
