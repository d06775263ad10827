#pragma once
// The folder steps of backups and restores, on both builds: replacing a
// finished folder in one rename, removing what a step left behind.
#include "framework/CString.h"

namespace backup {

bool FolderExists(const CString& path);
// Removes the file or folder with everything in it; true when nothing is
// left at the path.
bool RemoveTree(const CString& path);
// Renames a file or folder; false when the target exists or the rename fails.
bool RenamePath(const CString& from, const CString& to);
// Puts the finished folder in place of the one at target: the old one is
// moved aside first and removed only once the new one stands at the target;
// when that fails, the old one is moved back. False with both as they were.
bool ReplaceFolder(const CString& finished, const CString& target);
// Moves the files lying directly in source into target (created when
// missing), over files of the same name. False at the first that fails.
bool MoveFilesInto(const CString& source, const CString& target);

}  // namespace backup
