#pragma once
// Copying, moving and emptying folder trees (windows only). Results: 0 on
// success, -1 for an empty path argument, otherwise the system error code of
// the first step that failed anywhere in the tree; what was done before a
// failure stays done.
#include <windows.h>

#include <vector>

#include "framework/CString.h"

// Copies every file below source to the same place below destination,
// overwriting, creating the folders it needs.
int CopyDirectoryTree(const CString& source, const CString& destination);
// Moves every file below source to the same place below destination; the
// source folders stay, emptied. A file that exists at the destination is not
// replaced: the move fails with the system's "already exists" code.
int MoveDirectoryTree(const CString& source, const CString& destination);
// Deletes every file below the folder; the folders stay.
int DeleteFilesInTree(const CString& folder);

// Copies every file below source to the same place below destination,
// overwriting; stops at the first error (a listing cut short by an error
// included). Paths beyond the system's limit are refused with
// ERROR_FILENAME_EXCED_RANGE.
int CopyFolderTree(const CString& source, const CString& destination);
// Copies the file into the folder under its own name, overwriting.
int CopyFileIntoFolder(const CString& sourceFile, const CString& destinationFolder);
// Deletes the files that lie directly in the folder; sub-folders stay. When
// the listing ends in an error, that error is returned and nothing deleted.
int DeleteFilesInFolder(const CString& folder);

// Lists one folder at a time; several listings of nested folders may be open
// on one finder. Never descends into sub-folders.
class CTreeFileFinder {
public:
    CTreeFileFinder();
    // Closes the listings still open, the most recent first.
    ~CTreeFileFinder();
    CTreeFileFinder(const CTreeFileFinder&) = delete;
    CTreeFileFinder& operator=(const CTreeFileFinder&) = delete;

    // Starts a listing; null when the folder cannot be listed or holds
    // nothing but "." and "..".
    HANDLE FindFirst(const CString& folder);
    // Yields the listing's current entry and moves on; the handle becomes
    // null after the last entry, which is still yielded. 0, or the system's
    // error when moving on failed for any other reason than the end of the
    // folder (ERROR_NO_MORE_FILES): the listing is closed all the same, and
    // the entry yielded is still valid.
    int FindNext(HANDLE& handle, CString& path, DWORD& attributes);
    // Ends a listing before its last entry.
    void Close(HANDLE& handle);

    // Test seam: the call that moves every listing on to its next entry
    // (null: the system's FindNextFileA). Returns the previous one.
    typedef BOOL(WINAPI* FindNextFn)(HANDLE, LPWIN32_FIND_DATAA);
    static FindNextFn SetFindNextHook(FindNextFn hook);

private:
    struct Listing {
        CString folder;
        HANDLE handle;
        WIN32_FIND_DATAA data;
    };
    Listing* FindListing(HANDLE handle);
    void Forget(HANDLE handle);

    std::vector<Listing> m_listings;
};
