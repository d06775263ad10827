#include "exchange/zip/FolderZip.h"

#include <windows.h>

#include <vector>

#include "core/os/PathUtils.h"
#include "exchange/zip/ZipWriter.h"

namespace {

const char kFilesFolder[] = "Files";

// The plain files of a folder, in the order the file system lists them.
std::vector<CString> PlainFilesIn(const CString& folder)
{
    std::vector<CString> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(JoinPath(folder, "*"), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(CString(data.cFileName));
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

CString WithoutClosingBackslash(CString folder)
{
    while (folder.GetLength() > 3 && folder[folder.GetLength() - 1] == '\\') folder.Truncate(folder.GetLength() - 1);
    return folder;
}

}  // namespace

bool ZipExportFolder(const CString& folderPath)
{
    const CString folder = WithoutClosingBackslash(folderPath);
    const CString name = GetFileNameOfPath(folder);
    if (folder.IsEmpty() || name.IsEmpty()) return false;
    const CString exchangeFile = JoinPath(folder, name);
    const CString archive = folder + ".zip";
    // A mail must never carry a stale archive of an earlier export.
    DeleteFileA(archive);
    HZIP zip = CreateZipFile(archive, nullptr);
    if (!zip) return false;

    bool ok = ZipAddFolder(zip, kFilesFolder) == ZR_OK;
    const CString files = JoinPath(folder, kFilesFolder);
    for (const CString& file : PlainFilesIn(files)) {
        if (!ok) break;
        ok = ZipAddFile(zip, CString(kFilesFolder) + "\\" + file, JoinPath(files, file)) == ZR_OK;
    }
    if (ok) ok = ZipAddFile(zip, name, exchangeFile) == ZR_OK;
    ok = CloseZip(zip) == ZR_OK && ok;
    if (!ok) DeleteFileA(archive);
    return ok;
}
