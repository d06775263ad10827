#include "core/os/DirTree.h"

#include <atomic>
#include <cstring>

#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"

namespace {

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

int LastError()
{
    DWORD error = GetLastError();
    return error ? (int)error : -1;
}

enum class WalkOp { Copy, Move, Delete };

// The direct walkers: list the folder with the system's find calls and
// recurse into sub-folders. The first failure anywhere ends the walk.
int WalkTree(WalkOp op, const CString& source, const CString& destination)
{
    if (source.IsEmpty() || (op != WalkOp::Delete && destination.IsEmpty())) return -1;
    if (op != WalkOp::Delete && !FileExists(destination))
        CreateDirectoryA(destination, nullptr);  // a failure shows at the first file

    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(JoinPath(source, "*"), &data);
    if (find == INVALID_HANDLE_VALUE) return LastError();
    int result = 0;
    do {
        if (IsDotEntry(data.cFileName)) continue;
        CString from = JoinPath(source, data.cFileName);
        CString to = op == WalkOp::Delete ? CString() : JoinPath(destination, data.cFileName);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            result = WalkTree(op, from, to);
        } else {
            BOOL ok = FALSE;
            switch (op) {
            case WalkOp::Copy: ok = CopyFileA(from, to, FALSE); break;
            case WalkOp::Move: ok = MoveFileA(from, to); break;
            case WalkOp::Delete: ok = DeleteFileA(from); break;
            }
            if (!ok) result = LastError();
        }
    } while (result == 0 && FindNextFileA(find, &data));
    FindClose(find);
    return result;
}

std::atomic<CTreeFileFinder::FindNextFn> g_findNext{nullptr};

BOOL FindNextEntry(HANDLE handle, WIN32_FIND_DATAA* data)
{
    const CTreeFileFinder::FindNextFn hook = g_findNext.load();
    return hook ? hook(handle, data) : FindNextFileA(handle, data);
}

CTreeFileFinder& ProcessFinder()
{
    static CTreeFileFinder finder;
    return finder;
}

}  // namespace

int CopyDirectoryTree(const CString& source, const CString& destination)
{
    return WalkTree(WalkOp::Copy, source, destination);
}

int MoveDirectoryTree(const CString& source, const CString& destination)
{
    return WalkTree(WalkOp::Move, source, destination);
}

int DeleteFilesInTree(const CString& folder) { return WalkTree(WalkOp::Delete, folder, CString()); }

// ----- the finder -----

CTreeFileFinder::FindNextFn CTreeFileFinder::SetFindNextHook(FindNextFn hook) { return g_findNext.exchange(hook); }

CTreeFileFinder::CTreeFileFinder() {}

CTreeFileFinder::~CTreeFileFinder()
{
    for (auto it = m_listings.rbegin(); it != m_listings.rend(); ++it) FindClose(it->handle);
}

CTreeFileFinder::Listing* CTreeFileFinder::FindListing(HANDLE handle)
{
    for (Listing& listing : m_listings)
        if (listing.handle == handle) return &listing;
    return nullptr;
}

void CTreeFileFinder::Forget(HANDLE handle)
{
    for (auto it = m_listings.begin(); it != m_listings.end(); ++it) {
        if (it->handle == handle) {
            FindClose(handle);
            m_listings.erase(it);
            return;
        }
    }
}

HANDLE CTreeFileFinder::FindFirst(const CString& folder)
{
    Listing listing;
    listing.folder = folder;
    CString pattern = folder;
    if (pattern.IsEmpty() || pattern[pattern.GetLength() - 1] != '\\') pattern += "\\";
    pattern += "*.*";
    listing.handle = FindFirstFileA(pattern, &listing.data);
    if (listing.handle == INVALID_HANDLE_VALUE) return nullptr;
    while (IsDotEntry(listing.data.cFileName)) {
        if (!FindNextEntry(listing.handle, &listing.data)) {
            FindClose(listing.handle);
            return nullptr;
        }
    }
    m_listings.push_back(listing);
    return listing.handle;
}

int CTreeFileFinder::FindNext(HANDLE& handle, CString& path, DWORD& attributes)
{
    Listing* listing = handle ? FindListing(handle) : nullptr;
    if (!listing) {
        handle = nullptr;
        return 0;
    }
    path = listing->folder;
    const char* name = listing->data.cFileName;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '\\' && name[0] != '\\') path += "\\";
    path += name;
    attributes = listing->data.dwFileAttributes;
    do {
        if (!FindNextEntry(handle, &listing->data)) {
            // Only "no more files" is the end; anything else cut the listing
            // short, and its caller must not take it for the whole folder.
            const DWORD error = GetLastError();
            Forget(handle);
            handle = nullptr;
            if (error == ERROR_NO_MORE_FILES) return 0;
            return error ? (int)error : -1;
        }
    } while (IsDotEntry(listing->data.cFileName));
    return 0;
}

void CTreeFileFinder::Close(HANDLE& handle)
{
    if (handle) Forget(handle);
    handle = nullptr;
}

// ----- finder-based operations -----

int CopyFileIntoFolder(const CString& sourceFile, const CString& destinationFolder)
{
    CString target = destinationFolder + "\\" + GetFileNameOfPath(sourceFile);
    if (target.GetLength() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    return CopyFileA(sourceFile, target, FALSE) ? 0 : LastError();
}

int CopyFolderTree(const CString& source, const CString& destination)
{
    if (source.GetLength() >= MAX_PATH || destination.GetLength() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    if (!FileExists(destination) && !CreateDirectoryA(destination, nullptr)) {
        int error = LastError();
        if (error != ERROR_FILE_EXISTS) return error;
    }
    CTreeFileFinder& finder = ProcessFinder();
    HANDLE handle = finder.FindFirst(source);
    while (handle) {
        CString path;
        DWORD attributes = 0;
        const int listed = finder.FindNext(handle, path, attributes);
        int result = 0;
        if (path.GetLength() >= MAX_PATH)
            result = ERROR_FILENAME_EXCED_RANGE;
        else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            result = CopyFolderTree(path, JoinPath(destination, GetFileNameOfPath(path)));
        else
            result = CopyFileIntoFolder(path, destination);
        if (result == 0) result = listed;
        if (result != 0) {
            finder.Close(handle);
            return result;
        }
    }
    return 0;
}

int DeleteFilesInFolder(const CString& folder)
{
    CTreeFileFinder finder;
    std::vector<CString> files;
    HANDLE handle = finder.FindFirst(folder);
    while (handle) {
        CString path;
        DWORD attributes = 0;
        if (const int error = finder.FindNext(handle, path, attributes))
            return error;  // an incomplete listing: nothing is deleted
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(path);
    }
    for (const CString& file : files)
        if (!DeleteFileA(file)) return LastError();
    return 0;
}
