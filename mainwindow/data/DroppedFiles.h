#pragma once
// Files dropped on the main view: which are imported and what a refused one
// shows.
#include "framework/CString.h"

// True for the extensions the import reads from a drop ("csv", "txt",
// "zkv", any letter case); anything else is refused.
bool IsImportableDroppedFile(const CString& path);

// "Zorvikan doesn't recognize that file type." (string 158 with the product
// name).
CString DroppedFileRefusalText();
