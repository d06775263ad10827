#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/os/FileSystemOs.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace fs = std::filesystem;

namespace {

const auto& P = zvtest::WinPath;

TEST(FileExists, FilesAndFoldersExistMissingOnesDoNot)
{
    zvtest::ScratchDir dir;
    dir.WriteFile("f.txt", "x");
    fs::create_directory(dir / "sub");
    EXPECT_TRUE(FileExists(P(dir / "f.txt")));
    EXPECT_TRUE(FileExists(P(dir / "sub")));
    EXPECT_FALSE(FileExists(P(dir / "missing")));
    EXPECT_TRUE(PathExists(P(dir / "f.txt")));
    EXPECT_TRUE(PathExists(P(dir / "sub")));
    EXPECT_FALSE(PathExists(P(dir / "missing")));
    EXPECT_FALSE(PathExists(""));
}

TEST(CreateFolderPath, CreatesEveryMissingLevel)
{
    zvtest::ScratchDir dir;
    const CString deep = JoinPath(P(dir.Path()), "a\\b\\c");
    EXPECT_EQ(CreateFolderPath(deep), 0);
    EXPECT_TRUE(fs::is_directory(dir / "a" / "b" / "c"));
    // Every level exists now: nothing more to do, still success.
    EXPECT_EQ(CreateFolderPath(deep), 0);
    EXPECT_EQ(CreateFolderPath(deep + "\\"), 0);
    EXPECT_EQ(CreateFolderPath(JoinPath(P(dir.Path()), "x\\y\\")), 0);
    EXPECT_TRUE(fs::is_directory(dir / "x" / "y"));
}

TEST(CreateFolderPath, ReportsTheSystemErrorWhenAFileBlocksTheWay)
{
    zvtest::ScratchDir dir;
    dir.WriteFile("blocker", "x");
    EXPECT_NE(CreateFolderPath(JoinPath(P(dir.Path()), "blocker\\inner\\deeper")), 0);
    EXPECT_FALSE(fs::exists(dir / "blocker" / "inner"));
}

TEST(GetFileSizeOfPath, SizeOrZeroWhenItCannotBeOpened)
{
    zvtest::ScratchDir dir;
    dir.WriteFile("five", "12345");
    dir.WriteFile("empty", "");
    fs::create_directory(dir / "folder");
    EXPECT_EQ(GetFileSizeOfPath(P(dir / "five")), 5u);
    EXPECT_EQ(GetFileSizeOfPath(P(dir / "empty")), 0u);
    EXPECT_EQ(GetFileSizeOfPath(P(dir / "missing")), 0u);
    EXPECT_EQ(GetFileSizeOfPath(P(dir / "folder")), 0u);
}

TEST(FormatFileSizeText, UsesTheFileSize)
{
    zvtest::ScratchDir dir;
    const struct {
        size_t size;
        const char* text;
    } cases[] = {
        {0, "0 Bytes"}, {1024, "1024 Bytes"}, {1025, "1.00 KB"}, {1049599, "1024.99 KB"}, {1049600, "1.00 MB"}};
    for (const auto& c : cases) {
        const fs::path f = dir.WriteFile("f" + std::to_string(c.size), std::string(c.size, 'z'));
        EXPECT_EQ(FormatFileSizeText(P(f)), CString(c.text)) << c.size;
    }
    EXPECT_EQ(FormatFileSizeText(P(dir / "missing")), "0 Bytes");
}

TEST(ReadTextFile, ReadsWholeFileUpToFirstZeroAndStripsQuotes)
{
    zvtest::ScratchDir dir;
    const fs::path plain = dir.WriteFile("plain.txt", "line one\r\nline two");
    const fs::path zero = dir.WriteFile("zero.bin", std::string("abc\0def", 7));
    const fs::path empty = dir.WriteFile("empty.txt", "");
    const fs::path big = dir.WriteFile("big.txt", std::string(10000, 'q'));

    CString text = "old";
    EXPECT_EQ(ReadTextFile(P(plain), text), 0);
    EXPECT_EQ(text, "line one\r\nline two");
    EXPECT_EQ(ReadTextFile("\"" + P(plain) + "\"", text), 0);
    EXPECT_EQ(text, "line one\r\nline two");
    EXPECT_EQ(ReadTextFile("\"\"" + P(plain) + "\"\"\"", text), 0);
    EXPECT_EQ(text, "line one\r\nline two");
    EXPECT_EQ(ReadTextFile(P(zero), text), 0);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(ReadTextFile(P(empty), text), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ReadTextFile(P(big), text), 0);
    EXPECT_EQ(text.GetLength(), 10000);
    EXPECT_EQ(ReadTextFile(P(dir / "missing.txt"), text), -1);
    EXPECT_EQ(ReadTextFile(P(dir.Path()), text), -1);
}

// Sizes around the limit of a whole-file read, made as sparse files (no disk
// space, no reading): over the limit is an error, never a cut text. Past 4 GB
// only the low half of the size would be a few bytes.
TEST(ReadTextFile, AFileOverTheLimitIsRefusedWithItsOwnError)
{
    zvtest::ScratchDir dir;
    const struct {
        uint64_t size;
        const char* what;
    } cases[] = {
        {zvos::kMaxWholeFileBytes + 1, "one byte over the limit"},
        {(1ull << 32) + 5, "4 GB and 5 bytes"},
    };
    for (const auto& c : cases) {
        const fs::path f = dir.WriteFile("large.bin", "abc");
        fs::resize_file(f, c.size);
        CString text = "old";
        EXPECT_EQ(ReadTextFile(P(f), text), zvos::kErrorFileTooLarge) << c.what;
        EXPECT_EQ(text, "") << c.what;
        fs::remove(f);
    }
    EXPECT_EQ(zvos::kErrorFileTooLarge, 223) << "the system's ERROR_FILE_TOO_LARGE";
}

TEST(Directories, AppAndCurrentDirectoryArePaths)
{
    const CString app = GetAppDirectory();
    ASSERT_FALSE(app.IsEmpty());
    EXPECT_EQ(app.Right(1), "\\");
    EXPECT_TRUE(PathExists(app));
    const CString cwd = GetCurrentDirectoryPath();
    EXPECT_FALSE(cwd.IsEmpty());
    EXPECT_TRUE(PathExists(cwd));
}

}  // namespace
