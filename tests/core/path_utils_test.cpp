#include <gtest/gtest.h>

#include "core/os/PathUtils.h"

namespace {

struct JoinCase {
    const char* first;
    const char* second;
    const char* joined;
};

TEST(JoinPath, InsertsOneBackslashOnlyWhenNeitherPieceBringsOne)
{
    const JoinCase cases[] = {
        {"C:\\a\\", "b", "C:\\a\\b"},     {"C:\\a", "\\b", "C:\\a\\b"}, {"", "b", "b"},
        {"C:\\a", "b", "C:\\a\\b"},       {"C:\\a", "", "C:\\a"},       {"", "", ""},
        {"C:\\a\\", "\\b", "C:\\a\\\\b"}, {"a", "b\\c", "a\\b\\c"},     {"C:\\a/", "b", "C:\\a/\\b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.first, c.second), CString(c.joined)) << c.first << " + " << c.second;
}

struct SplitCase {
    const char* path;
    bool keep;
    const char* name;    // path afterwards
    const char* folder;  // nullptr: not written
};

TEST(SplitPath, CutsFolderOffAndLeavesBarePathsAlone)
{
    const SplitCase cases[] = {
        {"C:\\dir\\sub\\file.txt", true, "file.txt", "C:\\dir\\sub\\"},
        {"C:\\dir\\sub\\file.txt", false, "file.txt", "C:\\dir\\sub"},
        {"\\\\server\\share\\f", true, "f", "\\\\server\\share\\"},
        {"C:file.txt", true, "file.txt", "C:"},
        {"C:\\", false, "", "C:"},
        {"dir/file", true, "file", "dir/"},
        {"file.txt", true, "file.txt", nullptr},
        {"", false, "", nullptr},
    };
    for (const auto& c : cases) {
        CString path = c.path, folder = "untouched";
        SplitPath(path, &folder, c.keep);
        EXPECT_EQ(path, CString(c.name)) << c.path;
        EXPECT_EQ(folder, CString(c.folder ? c.folder : "untouched")) << c.path;
    }
    CString path = "a\\b";
    SplitPath(path, nullptr, false);
    EXPECT_EQ(path, "b");
}

TEST(GetFileNameOfPath, NameAndExtensionOrTheBarePath)
{
    EXPECT_EQ(GetFileNameOfPath("C:\\x\\y.zdb"), "y.zdb");
    EXPECT_EQ(GetFileNameOfPath("y.zdb"), "y.zdb");
    EXPECT_EQ(GetFileNameOfPath("C:\\x\\"), "");
}

struct DirCase {
    const char* path;
    bool trailing;
    const char* dir;
};

TEST(GetDirectoryOfPath, TextBeforeLastBackslash)
{
    const DirCase cases[] = {
        {"C:\\a\\b.txt", false, "C:\\a"},
        {"C:\\a\\b.txt", true, "C:\\a\\"},
        {"b.txt", false, ""},
        {"b.txt", true, "\\"},
        {"C:\\a\\", false, "C:\\a"},
        {"", true, "\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetDirectoryOfPath(c.path, c.trailing), CString(c.dir)) << c.path;
}

struct ExtCase {
    const char* path;
    bool stripped;
    const char* afterStrip;
    const char* extension;
};

TEST(StripExtensionAndGetExtension, ScanFromTheEndUpToDotOrBackslash)
{
    const ExtCase cases[] = {
        {"C:\\a\\file.txt", true, "C:\\a\\file", "txt"},
        {"C:\\a\\archive.tar.GZ", true, "C:\\a\\archive.tar", "GZ"},
        {"C:\\a.dir\\file", false, "C:\\a.dir\\file", ""},
        {".hidden", false, ".hidden", ""},
        {"noext", false, "noext", ""},
        {"name.", true, "name", ""},
        {"a/b.c", true, "a/b", "c"},
        {"", true, "", ""},
    };
    for (const auto& c : cases) {
        CString path = c.path;
        EXPECT_EQ(StripExtension(path), c.stripped) << c.path;
        EXPECT_EQ(path, CString(c.afterStrip)) << c.path;
        EXPECT_EQ(GetExtensionOfPath(c.path), CString(c.extension)) << c.path;
    }
}

TEST(MakeSafeFileName, ReplacesTheNineForbiddenCharacters)
{
    EXPECT_EQ(MakeSafeFileName("a/b:c"), "a_b_c");
    EXPECT_EQ(MakeSafeFileName("\\/:*?\"<>|"), "_________");
    EXPECT_EQ(MakeSafeFileName("Plain Name 123.zdb"), "Plain Name 123.zdb");
    EXPECT_EQ(MakeSafeFileName("J\xF6rg's <box>"), "J\xF6rg's _box_");
    EXPECT_EQ(MakeSafeFileName(""), "");
}

struct SizeCase {
    unsigned int size;
    const char* text;
};

TEST(FormatByteSizeText, BytesThenKilobytesThenMegabytesWithCutDecimals)
{
    const SizeCase cases[] = {
        {0, "0 Bytes"},
        {1, "1 Bytes"},
        {1024, "1024 Bytes"},
        {1025, "1.00 KB"},
        {1536, "1.50 KB"},
        {2047, "1.99 KB"},  // 1.999 is cut, not rounded
        {10240, "10.00 KB"},
        {1049599, "1024.99 KB"},
        {1049600, "1.00 MB"},
        {1572864, "1.50 MB"},
        {1073741823, "1023.99 MB"},
        {4294967295u, "4095.99 MB"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatByteSizeText(c.size), CString(c.text)) << c.size;
}

}  // namespace
