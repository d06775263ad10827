#include "core/os/ShellFileOps.h"

#include <shellapi.h>

#include <atomic>
#include <vector>

#include "core/os/ProcessSeams.h"

namespace {

std::atomic<ShellOpener> g_shellOpener{nullptr};

const FILEOP_FLAGS kSilent = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;

// The shell takes lists ended by two zero characters.
std::vector<char> DoubleZeroList(const CString& path)
{
    std::vector<char> buffer(static_cast<size_t>(path.GetLength()) + 2, '\0');
    memcpy(buffer.data(), path.GetString(), static_cast<size_t>(path.GetLength()));
    return buffer;
}

bool RunFileOperation(UINT operation, const CString& from, const CString* to, FILEOP_FLAGS flags, HWND owner)
{
    std::vector<char> fromList = DoubleZeroList(from);
    std::vector<char> toList = to ? DoubleZeroList(*to) : std::vector<char>();
    SHFILEOPSTRUCTA op = {};
    op.hwnd = owner;
    op.wFunc = operation;
    op.pFrom = fromList.data();
    op.pTo = to ? toList.data() : nullptr;
    op.fFlags = flags;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace

bool DeletePathSilently(const CString& path, HWND owner)
{
    return RunFileOperation(FO_DELETE, path, nullptr, kSilent, owner);
}

bool RenamePathSilently(const CString& oldPath, const CString& newPath, HWND owner)
{
    return RunFileOperation(FO_RENAME, oldPath, &newPath, kSilent | FOF_ALLOWUNDO, owner);
}

bool MovePathSilently(const CString& source, const CString& destinationFolder, HWND owner)
{
    if (GetFileAttributesA(destinationFolder.GetString()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryA(destinationFolder.GetString(), nullptr);
    return RunFileOperation(FO_MOVE, source, &destinationFolder, kSilent | FOF_ALLOWUNDO, owner);
}

ShellOpener SetShellOpener(ShellOpener opener) { return g_shellOpener.exchange(opener); }

INT_PTR OpenWithShell(const CString& file)
{
    if (ShellOpener opener = g_shellOpener.load()) return opener(file);
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", file.GetString(), nullptr, nullptr, SW_SHOWNORMAL));
}
