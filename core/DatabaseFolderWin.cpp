#include "core/DatabaseFolder.h"

#include "core/DirTree.h"
#include "core/FileUtils.h"
#include "core/PasswordVerifier.h"
#include "core/PathUtils.h"

int MoveDatabaseFolder(const CString& sourceFolder, const CString& destinationFolder) {
    if (sourceFolder.IsEmpty() || sourceFolder.CompareNoCase(destinationFolder) == 0) return 0;
    if (!FileExists(JoinPath(sourceFolder, kDatabaseFileName))) return 0;
    if (int error = CreateFolderPath(destinationFolder)) return error;
    if (int error = CopyFolderTree(sourceFolder, destinationFolder)) return error;
    return DeleteFilesInFolder(sourceFolder);
}
