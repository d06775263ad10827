#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/os/FileUtils.h"
#include "core/winui/FolderDialogs.h"
#include "core/os/ShellFileOps.h"
#include "core/os/SystemInfo.h"
#include "core/winui/TextFitting.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestText.h"

namespace fs = std::filesystem;

namespace {

const auto& P = zvtest::WinPath;

TEST(ShellFileOps, DeleteRenameAndMoveFilesAndFolders)
{
    zvtest::ScratchDir dir;
    dir.WriteFile("tree/a.txt", "a");
    dir.WriteFile("tree/sub/b.txt", "b");
    dir.WriteFile("one.txt", "1");

    EXPECT_TRUE(RenamePathSilently(P(dir / "one.txt"), P(dir / "two.txt"), nullptr));
    EXPECT_FALSE(fs::exists(dir / "one.txt"));
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "two.txt"), "1");

    // The destination folder is made when missing.
    EXPECT_TRUE(MovePathSilently(P(dir / "two.txt"), P(dir / "dest"), nullptr));
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "dest" / "two.txt"), "1");
    EXPECT_TRUE(MovePathSilently(P(dir / "tree"), P(dir / "dest"), nullptr));
    EXPECT_EQ(zvtest::ReadFileBytes(dir / "dest" / "tree" / "sub" / "b.txt"), "b");

    EXPECT_TRUE(DeletePathSilently(P(dir / "dest" / "tree"), nullptr));
    EXPECT_FALSE(fs::exists(dir / "dest" / "tree"));
    EXPECT_TRUE(DeletePathSilently(P(dir / "dest" / "two.txt"), nullptr));
    EXPECT_FALSE(fs::exists(dir / "dest" / "two.txt"));
    EXPECT_TRUE(fs::is_directory(dir / "dest"));
}

TEST(ShellFileOps, MissingSourceFails)
{
    zvtest::ScratchDir dir;
    EXPECT_FALSE(DeletePathSilently(P(dir / "nothing-here"), nullptr));
    EXPECT_FALSE(RenamePathSilently(P(dir / "nothing-here"), P(dir / "b"), nullptr));
}

// A memory DC with the stock fixed font: every character has the same width.
class FixedFontDc : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
        SIZE size;
        GetTextExtentPoint32A(dc, "M", 1, &size);
        charWidth = size.cx;
        ASSERT_GT(charWidth, 0);
    }
    void TearDown() override { DeleteDC(dc); }
    HDC dc = nullptr;
    int charWidth = 0;
};

TEST_F(FixedFontDc, CountCharsThatFit)
{
    EXPECT_EQ(CountCharsThatFit(dc, "abcdef", 100 * charWidth), 6);
    EXPECT_EQ(CountCharsThatFit(dc, "abcdef", 3 * charWidth), 2);  // the third reaches the width
    EXPECT_EQ(CountCharsThatFit(dc, "abcdef", 3 * charWidth + 1), 3);
    EXPECT_EQ(CountCharsThatFit(dc, "abcdef", 0), -1);
    EXPECT_EQ(CountCharsThatFit(dc, "abcdef", -5), -1);
    EXPECT_EQ(CountCharsThatFit(dc, "", 10), 0);
}

TEST_F(FixedFontDc, DrawTextWithEllipsis)
{
    RECT wide = {0, 0, 100 * charWidth, 20};
    EXPECT_EQ(DrawTextWithEllipsis(dc, "abcdef", wide, DT_LEFT), 6 * charWidth);
    EXPECT_EQ(DrawTextWithEllipsis(dc, "ab\r\ncd", wide, DT_LEFT), 5 * charWidth);  // "ab cd"
    RECT six = {10, 0, 10 + 6 * charWidth, 20};
    EXPECT_EQ(DrawTextWithEllipsis(dc, "abcdefgh", six, DT_LEFT), 6 * charWidth);  // "abc..."
    RECT narrow = {0, 0, charWidth, 20};
    EXPECT_EQ(DrawTextWithEllipsis(dc, "abcdefgh", narrow, DT_LEFT), 3 * charWidth);  // only "..."
    RECT none = {5, 0, 0, 20};
    EXPECT_EQ(DrawTextWithEllipsis(dc, "abc", none, DT_LEFT), 3 * charWidth);
}

struct ScriptedAsk {
    static std::vector<std::string> asked;
    static int answer;
    static int Ask(HWND, const char* text, UINT)
    {
        asked.push_back(text);
        return answer;
    }
};
std::vector<std::string> ScriptedAsk::asked;
int ScriptedAsk::answer = IDNO;

TEST(BrowseForFolderCreateStep, AsksThenCreatesOrRefuses)
{
    zvtest::ScratchDir dir;
    ScriptedAsk::asked.clear();
    ScriptedAsk::answer = IDYES;
    EXPECT_EQ(OnBrowseValidateFailed(nullptr, P(dir.Path()), "newone", ScriptedAsk::Ask), 1);
    ASSERT_EQ(ScriptedAsk::asked.size(), 1u);
    EXPECT_EQ(ScriptedAsk::asked[0], "Create directory \"" + std::string(P(dir / "newone")) + "\"?");
    EXPECT_TRUE(fs::is_directory(dir / "newone"));

    ScriptedAsk::asked.clear();
    ScriptedAsk::answer = IDNO;
    EXPECT_EQ(OnBrowseValidateFailed(nullptr, P(dir.Path()), "declined", ScriptedAsk::Ask), 1);
    EXPECT_EQ(ScriptedAsk::asked.size(), 1u);
    EXPECT_FALSE(fs::exists(dir / "declined"));

    // A typed name that exists as a path of its own is refused at once.
    const fs::path file = dir.WriteFile("taken.txt", "x");
    ScriptedAsk::asked.clear();
    EXPECT_EQ(OnBrowseValidateFailed(nullptr, P(dir.Path()), P(file), ScriptedAsk::Ask), 1);
    ASSERT_EQ(ScriptedAsk::asked.size(), 1u);
    EXPECT_EQ(ScriptedAsk::asked[0], "Can't create directory. A file with that name already exists.");

    // Creation below a missing folder fails with its own message.
    ScriptedAsk::asked.clear();
    ScriptedAsk::answer = IDYES;
    EXPECT_EQ(OnBrowseValidateFailed(nullptr, P(dir / "no" / "such"), "x", ScriptedAsk::Ask), 1);
    ASSERT_EQ(ScriptedAsk::asked.size(), 2u);
    EXPECT_EQ(ScriptedAsk::asked[1], "Can't create directory.");
}

// Texts stored without their terminating zero end at their own length, not
// at whatever the buffer holds after them. A freed block of the reader's
// buffer size, full of other bytes, stands for a used heap.
TEST(SystemInfo, VersionTextsEndAtTheirLength)
{
    const std::string library = zvtest::SiblingExe("version_fixture.dll");
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(library.c_str(), &unused);
    ASSERT_GT(size, 0u);
    for (int round = 0; round < 3; ++round) {
        for (DWORD extra = 0; extra <= 16; ++extra) {
            HGLOBAL used = GlobalAlloc(GMEM_FIXED, size + extra);
            ASSERT_NE(used, nullptr);
            memset(GlobalLock(used), 'Z', size + extra);
            GlobalUnlock(used);
            GlobalFree(used);
        }
        CString dotted, fileVersion, productVersion;
        ASSERT_EQ(GetModuleVersionInfo(CString(library.c_str()), dotted, fileVersion, productVersion), 0);
        EXPECT_EQ(dotted, "1.2.3.4");
        EXPECT_EQ(fileVersion, "1.2.3.4");
        EXPECT_EQ(productVersion, "5.6");
    }
}

TEST(SystemInfo, VersionResourcesAndFolders)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    CString dotted = "-", fileVersion = "-", productVersion = "-";
    EXPECT_EQ(GetModuleVersionInfo(CString(system) + "\\kernel32.dll", dotted, fileVersion, productVersion), 0);
    EXPECT_NE(dotted, "-");
    EXPECT_EQ(dotted.Find('.') > 0, true);

    zvtest::ScratchDir dir;
    const fs::path plain = dir.WriteFile("plain.bin", "no resources");
    CString a = "keep", b = "keep", c = "keep";
    EXPECT_EQ(static_cast<unsigned>(GetModuleVersionInfo(P(plain), a, b, c)), 0x8000FFFFu);
    EXPECT_EQ(a, "keep");
    EXPECT_EQ(static_cast<unsigned>(GetModuleVersionInfo(P(dir / "missing.dll"), a, b, c)), 0x8000FFFFu);

    // The test program has no version resource.
    EXPECT_EQ(GetModuleProductVersion(nullptr), "");

    CString windowsDir;
    EXPECT_TRUE(GetSpecialFolderPath(0x0024 /* CSIDL_WINDOWS */, windowsDir));
    EXPECT_FALSE(windowsDir.IsEmpty());
    CString unknown = "x";
    // A folder the shell cannot give is a failure, not an empty success.
    EXPECT_FALSE(GetSpecialFolderPath(0x7E, unknown));
    EXPECT_EQ(unknown, "");
    EXPECT_FALSE(IsWindowsXP());  // the test system reports a later version
}

TEST(SystemInfo, LocalAddressIsDottedOrEmpty)
{
    const CString ip = GetLocalIPAddress();
    if (!ip.IsEmpty()) {
        int dots = 0;
        for (int i = 0; i < ip.GetLength(); ++i) dots += ip[i] == '.';
        EXPECT_EQ(dots, 3) << ip.GetString();
    }
}

}  // namespace
