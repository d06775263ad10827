// Folder-tree copy, move and delete on scratch trees.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/os/DirTree.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

CString Str(const fs::path& p) { return CString(p.string().c_str()); }

// Relative paths of everything below root ("/" after folders), sorted.
std::set<std::string> Layout(const fs::path& root)
{
    std::set<std::string> entries;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::string rel = fs::relative(e.path(), root).generic_string();
        entries.insert(e.is_directory() ? rel + "/" : rel);
    }
    return entries;
}

// A tree with two levels of sub-folders and a file whose name starts with a dot.
void MakeTree(const zvtest::ScratchDir& dir, const std::string& top)
{
    dir.WriteFile(top + "/a.txt", "a");
    dir.WriteFile(top + "/.hidden", "h");
    dir.WriteFile(top + "/sub/b.txt", "b");
    dir.WriteFile(top + "/sub/deeper/c.txt", "c");
    fs::create_directories(dir / (top + "/empty"));
}

const std::set<std::string> kTree = {".hidden",   "a.txt",       "empty/",          "sub/",
                                     "sub/b.txt", "sub/deeper/", "sub/deeper/c.txt"};
const std::set<std::string> kFolders = {"empty/", "sub/", "sub/deeper/"};

// Keeps a file open without sharing, so it can be neither read nor deleted.
class LockedFile {
public:
    explicit LockedFile(const fs::path& p)
        : m_handle(CreateFileA(p.string().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {}
    ~LockedFile()
    {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

TEST(DirectoryWalkers, EmptyPathsGiveMinusOneAndTouchNothing)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    EXPECT_EQ(CopyDirectoryTree(Str(dir / "src"), ""), -1);
    EXPECT_EQ(CopyDirectoryTree("", Str(dir / "dst")), -1);
    EXPECT_EQ(MoveDirectoryTree(Str(dir / "src"), ""), -1);
    EXPECT_EQ(DeleteFilesInTree(""), -1);
    EXPECT_EQ(Layout(dir / "src"), kTree);
    EXPECT_FALSE(fs::exists(dir / "dst"));
}

TEST(DirectoryWalkers, CopyGivesTheSameLayoutAndOverwrites)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    dir.WriteFile("dst/sub/b.txt", "old");
    ASSERT_EQ(CopyDirectoryTree(Str(dir / "src"), Str(dir / "dst")), 0);
    EXPECT_EQ(Layout(dir / "dst"), kTree);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "dst/sub/b.txt"), "b");
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "dst/sub/deeper/c.txt"), "c");
    EXPECT_EQ(Layout(dir / "src"), kTree);
}

TEST(DirectoryWalkers, MoveEmptiesTheSourceFolders)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    ASSERT_EQ(MoveDirectoryTree(Str(dir / "src"), Str(dir / "dst")), 0);
    EXPECT_EQ(Layout(dir / "dst"), kTree);
    EXPECT_EQ(Layout(dir / "src"), kFolders);
}

TEST(DirectoryWalkers, DeleteLeavesAnEmptyFolderTree)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    ASSERT_EQ(DeleteFilesInTree(Str(dir / "src")), 0);
    EXPECT_EQ(Layout(dir / "src"), kFolders);
}

TEST(DirectoryWalkers, MissingSourceGivesTheSearchError)
{
    zvtest::ScratchDir dir("tree");
    for (int error : {CopyDirectoryTree(Str(dir / "none"), Str(dir / "dst")),
                      MoveDirectoryTree(Str(dir / "none"), Str(dir / "dst")), DeleteFilesInTree(Str(dir / "none"))})
        EXPECT_TRUE(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) << error;
}

TEST(DirectoryWalkers, AFailureDeepInTheTreeIsReported)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    // A move onto an existing file fails inside a sub-folder.
    dir.WriteFile("dst/sub/deeper/c.txt", "there");
    EXPECT_EQ(MoveDirectoryTree(Str(dir / "src"), Str(dir / "dst")), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "dst/sub/deeper/c.txt"), "there");
    EXPECT_TRUE(fs::exists(dir / "src/sub/deeper/c.txt"));

    // A file that cannot be deleted inside a sub-folder.
    {
        LockedFile locked(dir / "src/sub/deeper/c.txt");
        ASSERT_TRUE(locked.IsOpen());
        EXPECT_EQ(DeleteFilesInTree(Str(dir / "src")), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(CopyDirectoryTree(Str(dir / "src"), Str(dir / "copy")), ERROR_SHARING_VIOLATION);
    }
    EXPECT_TRUE(fs::exists(dir / "src/sub/deeper/c.txt"));
}

TEST(FolderTree, CopyFolderTreeCopiesAndOverwrites)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    dir.WriteFile("dst/a.txt", "old");
    ASSERT_EQ(CopyFolderTree(Str(dir / "src"), Str(dir / "dst")), 0);
    EXPECT_EQ(Layout(dir / "dst"), kTree);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "dst/a.txt"), "a");
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "dst/.hidden"), "h");
}

TEST(FolderTree, CopyFolderTreeReportsErrors)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    EXPECT_EQ(CopyFolderTree(Str(dir / "src"), Str(dir / "no/parent")), ERROR_PATH_NOT_FOUND);
    // A missing source: the destination is made and nothing is copied.
    EXPECT_EQ(CopyFolderTree(Str(dir / "none"), Str(dir / "made")), 0);
    EXPECT_TRUE(fs::is_directory(dir / "made"));
    {
        LockedFile locked(dir / "src/sub/deeper/c.txt");
        ASSERT_TRUE(locked.IsOpen());
        EXPECT_EQ(CopyFolderTree(Str(dir / "src"), Str(dir / "dst")), ERROR_SHARING_VIOLATION);
    }
    // The finder's listings were closed: the tree can be copied again.
    EXPECT_EQ(CopyFolderTree(Str(dir / "src"), Str(dir / "dst")), 0);
    EXPECT_EQ(Layout(dir / "dst"), kTree);
    std::string longName(250, 'x');
    EXPECT_EQ(CopyFolderTree(Str(dir / "src"), Str(dir / longName)), ERROR_FILENAME_EXCED_RANGE);
}

TEST(FolderTree, CopyFileIntoFolder)
{
    zvtest::ScratchDir dir("tree");
    dir.WriteFile("f.bin", "new");
    dir.WriteFile("to/f.bin", "old");
    EXPECT_EQ(CopyFileIntoFolder(Str(dir / "f.bin"), Str(dir / "to")), 0);
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "to/f.bin"), "new");
    EXPECT_EQ(CopyFileIntoFolder(Str(dir / "missing.bin"), Str(dir / "to")), ERROR_FILE_NOT_FOUND);
}

TEST(FolderTree, DeleteFilesInFolderLeavesSubFolders)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    ASSERT_EQ(DeleteFilesInFolder(Str(dir / "src")), 0);
    EXPECT_EQ(Layout(dir / "src"),
              (std::set<std::string>{"empty/", "sub/", "sub/b.txt", "sub/deeper/", "sub/deeper/c.txt"}));
    EXPECT_EQ(DeleteFilesInFolder(Str(dir / "src/empty")), 0);
    dir.WriteFile("src/x.txt", "x");
    {
        LockedFile locked(dir / "src/x.txt");
        EXPECT_EQ(DeleteFilesInFolder(Str(dir / "src")), ERROR_SHARING_VIOLATION);
    }
}

// A listing that moves on normally a number of times and then fails with the
// given error, as a network folder that goes away would.
struct FailingListing {
    static int s_left;
    static DWORD s_error;
    static BOOL WINAPI FindNext(HANDLE handle, LPWIN32_FIND_DATAA data)
    {
        if (s_left-- > 0) return FindNextFileA(handle, data);
        SetLastError(s_error);
        return FALSE;
    }
    FailingListing(int movesBeforeFailure, DWORD error)
    {
        s_left = movesBeforeFailure;
        s_error = error;
        m_previous = CTreeFileFinder::SetFindNextHook(&FindNext);
    }
    ~FailingListing() { CTreeFileFinder::SetFindNextHook(m_previous); }
    CTreeFileFinder::FindNextFn m_previous;
};
int FailingListing::s_left = 0;
DWORD FailingListing::s_error = 0;

// Only "no more files" ends a listing; any other failure is the result, and
// a listing cut short deletes nothing (and a copy from it is no success).
TEST(FolderTree, AListingCutShortByAnErrorIsReported)
{
    const struct {
        DWORD error;
        int expected;
    } cases[] = {
        {ERROR_NETNAME_DELETED, ERROR_NETNAME_DELETED},
        {ERROR_NOT_ENOUGH_MEMORY, ERROR_NOT_ENOUGH_MEMORY},
        {ERROR_NO_MORE_FILES, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        zvtest::ScratchDir dir("tree");
        for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) dir.WriteFile(std::string("src/") + name, name);
        // ".", ".." and the first file are passed, then the listing fails.
        {
            FailingListing failing(3, c.error);
            EXPECT_EQ(CopyFolderTree(Str(dir / "src"), Str(dir / "copy")), c.expected);
        }
        {
            FailingListing failing(3, c.error);
            EXPECT_EQ(DeleteFilesInFolder(Str(dir / "src")), c.expected);
        }
        EXPECT_EQ(Layout(dir / "src").size(), c.expected ? 4u : 2u);
    }
}

TEST(FolderTree, FinderListsOneFolderWithoutDotEntries)
{
    zvtest::ScratchDir dir("tree");
    MakeTree(dir, "src");
    std::set<std::string> names;
    {
        CTreeFileFinder finder;
        HANDLE outer = finder.FindFirst(Str(dir / "src"));
        ASSERT_NE(outer, nullptr);
        while (outer) {
            CString path;
            DWORD attributes = 0;
            finder.FindNext(outer, path, attributes);
            std::string name = fs::path(path.GetString()).filename().string();
            names.insert((attributes & FILE_ATTRIBUTE_DIRECTORY) ? name + "/" : name);
            if (name == "sub") {
                // A nested listing open at the same time; left open for the destructor.
                HANDLE inner = finder.FindFirst(path);
                EXPECT_NE(inner, nullptr);
            }
        }
        EXPECT_EQ(finder.FindFirst(Str(dir / "src/empty")), nullptr);
    }
    EXPECT_EQ(names, (std::set<std::string>{".hidden", "a.txt", "empty/", "sub/"}));
}

}  // namespace
