#include "core/store/DatabaseFolder.h"

#include "core/os/DirTree.h"
#include "core/os/FileUtils.h"
#include "core/store/PasswordVerifier.h"
#include "core/os/PathUtils.h"

int MoveDatabaseFolder(const CString& sourceFolder, const CString& destinationFolder)
{
    if (sourceFolder.IsEmpty() || sourceFolder.CompareNoCase(destinationFolder) == 0) return 0;
    if (!FileExists(JoinPath(sourceFolder, kDatabaseFileName))) return 0;
    if (int error = CreateFolderPath(destinationFolder)) return error;
    if (int error = CopyFolderTree(sourceFolder, destinationFolder)) return error;
    return DeleteFilesInFolder(sourceFolder);
}
