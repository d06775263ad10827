#pragma once
// Packing an exchange folder (a folder named "*.zkv" holding the exchange
// file of the same name and a sub-folder "Files" with attachment files) into
// one zip archive beside it, for e-mail. Windows build only.
#include "framework/CString.h"

// Writes folder + ".zip": the folder entry "Files", each plain file of the
// "Files" sub-folder as "Files/<name>" in the order the file system lists
// them, and the exchange file last under its own name. An archive already at
// that path is replaced. False, and no archive left behind, when any part
// could not be written.
bool ZipExportFolder(const CString& folder);
