// Folder steps of backups and restores through the standard library, which
// both builds have.
#include "exchange/backup/BackupFolders.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/os/FileSystemOs.h"

namespace fs = std::filesystem;

namespace backup {

namespace {

fs::path Native(const CString& path) { return fs::path(zvos::NativePath(path.Std())); }

// Where the old folder waits while the new one is put in place.
CString AsidePath(const CString& target) { return target + ".old"; }

}  // namespace

bool FolderExists(const CString& path)
{
    std::error_code ec;
    return !path.IsEmpty() && fs::is_directory(Native(path), ec);
}

bool RemoveTree(const CString& path)
{
    if (path.IsEmpty()) return false;
    std::error_code ec;
    fs::remove_all(Native(path), ec);
    return !fs::exists(Native(path), ec) && !ec;
}

bool RenamePath(const CString& from, const CString& to)
{
    std::error_code ec;
    if (fs::exists(Native(to), ec)) return false;
    fs::rename(Native(from), Native(to), ec);
    return !ec;
}

bool ReplaceFolder(const CString& finished, const CString& target)
{
    std::error_code ec;
    const bool hadOld = fs::exists(Native(target), ec);
    const CString aside = AsidePath(target);
    if (hadOld) {
        if (fs::exists(Native(aside), ec) && !RemoveTree(aside)) return false;
        if (!RenamePath(target, aside)) return false;
    }
    if (!RenamePath(finished, target)) {
        if (hadOld) RenamePath(aside, target);
        return false;
    }
    if (hadOld) RemoveTree(aside);
    return true;
}

bool MoveFilesInto(const CString& source, const CString& target)
{
    std::error_code ec;
    fs::create_directories(Native(target), ec);
    if (ec) return false;
    // Listed first: the folder is not changed while it is being listed.
    std::vector<fs::path> files;
    for (fs::directory_iterator it(Native(source), ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    if (ec) return false;
    for (const fs::path& file : files) {
        const fs::path to = Native(target) / file.filename();
        fs::remove(to, ec);
        fs::rename(file, to, ec);
        if (!ec) continue;
        // Another volume: copy, then remove the source.
        ec.clear();
        fs::copy_file(file, to, fs::copy_options::overwrite_existing, ec);
        if (ec) return false;
        fs::remove(file, ec);
    }
    return true;
}

}  // namespace backup
