// Archives of the zip writer open in standard tools: `unzip -t` tests them
// and Python's zipfile reads every entry back, with and without a password.
// Host only (the tools run on the host).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ZipTestSupport.h"
#include "exchange/zip/ZipWriter.h"
#include "tests/support/ScratchDir.h"

namespace {

// Debian's own interpreter: a version manager's shim on the path may take seconds to start.
std::string Python() { return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3"; }

int RunQuiet(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// Python checks each named entry's bytes against a file of the same name in
// the expected folder (a folder entry against nothing).
std::string PythonCheck(const std::string& archive, const std::string& expected, const char* password)
{
    std::string script = "import sys, zipfile, os\n"
                         "z = zipfile.ZipFile(sys.argv[1])\n"
                         "if len(sys.argv) > 3: z.setpassword(sys.argv[3].encode())\n"
                         "assert z.testzip() is None\n"
                         "for i in z.infolist():\n"
                         "    if i.is_dir(): continue\n"
                         "    want = open(os.path.join(sys.argv[2], i.filename.replace('/', '_')), 'rb').read()\n"
                         "    assert z.read(i) == want, i.filename\n"
                         "print(len(z.infolist()))\n";
    std::string command = Python() + " -c \"" + script + "\" '" + archive + "' '" + expected + "'";
    if (password) command += std::string(" '") + password + "'";
    return command;
}

}  // namespace

TEST(ZipTools, UnzipAndPythonReadTheWritersArchives)
{
    zvtest::ScratchDir dir("zipt");
    std::string expected = (dir / "expected").string();
    std::filesystem::create_directories(expected);
    std::string text = zvtest::FixtureText(), binary = zvtest::FixtureBinary();
    std::string textPath = dir.WriteFile("expected/Files_notes.txt", text).string();
    dir.WriteFile("expected/binary.bin", binary);
    dir.WriteFile("expected/packed.zip", binary.substr(0, 5000));
    dir.WriteFile("expected/empty.txt", "");
    dir.WriteFile("expected/tiny.txt", "x");

    for (const char* password : {static_cast<const char*>(nullptr), "pa55 word"}) {
        for (int kind : {ZIP_FILENAME, ZIP_MEMORY}) {
            std::string archive =
                (dir / (std::string("out") + (password ? "-pw" : "") + std::to_string(kind) + ".zip")).string();
            HZIP hz = kind == ZIP_FILENAME ? CreateZipFile(archive.c_str(), password)
                                           : CreateZipInMemory(nullptr, 1 << 20, password);
            ASSERT_NE(hz, nullptr);
            EXPECT_EQ(ZipAddFolder(hz, "Files"), 0u);
            EXPECT_EQ(ZipAddFile(hz, "Files\\notes.txt", textPath.c_str()), 0u);
            EXPECT_EQ(ZipAddMemory(hz, "binary.bin", binary.data(), 40000), 0u);
            EXPECT_EQ(ZipAddMemory(hz, "packed.zip", binary.data(), 5000), 0u);
            EXPECT_EQ(ZipAddEmptyFile(hz, "empty.txt"), 0u);
            EXPECT_EQ(ZipAddMemory(hz, "tiny.txt", "x", 1), 0u);
            if (kind == ZIP_MEMORY) {
                void* block = nullptr;
                uint32_t length = 0;
                ASSERT_EQ(ZipGetMemory(hz, &block, &length), 0u);
                dir.WriteFile(std::filesystem::path(archive).filename().string(),
                              std::string(static_cast<const char*>(block), length));
            }
            EXPECT_EQ(CloseZip(hz), 0u);
            std::string unzip = "unzip -tq " + std::string(password ? "-P 'pa55 word' " : "") + "'" + archive + "'";
            EXPECT_EQ(RunQuiet(unzip), 0) << unzip;
            std::string python = PythonCheck(archive, expected, password);
            EXPECT_EQ(RunQuiet(python), 0) << archive;
            if (password) {
                EXPECT_NE(RunQuiet("unzip -tq -P wrong '" + archive + "'"), 0);
            }
        }
    }
}

TEST(ZipTools, ArchiveAfterOtherBytesOfAnOpenFile)
{
    // Kind 1 starts the archive at the handle's position: offsets count from
    // the file's start, which unzip accepts as a self-extractor's would.
    zvtest::ScratchDir dir("zipt");
    std::string archive = (dir / "prefixed.zip").string();
    FILE* f = std::fopen(archive.c_str(), "w+b");
    ASSERT_NE(f, nullptr);
    std::fputs("PREFIX BYTES BEFORE THE ARCHIVE\n", f);
    HZIP hz = CreateZip(f, 0, ZIP_HANDLE, nullptr);
    ASSERT_NE(hz, nullptr);
    std::string text = zvtest::FixtureText();
    EXPECT_EQ(ZipAddMemory(hz, "notes.txt", text.data(), static_cast<uint32_t>(text.size())), 0u);
    EXPECT_EQ(CloseZip(hz), 0u);
    std::fclose(f);
    EXPECT_EQ(RunQuiet("unzip -tq '" + archive + "'"), 0);
}

TEST(ZipTools, ArchiveOnAPipeCarriesDescriptors)
{
    // An output that cannot seek: each entry is followed by its descriptor,
    // which unzip reads from a stream too.
    zvtest::ScratchDir dir("zipt");
    std::string archive = (dir / "piped.zip").string();
    FILE* pipe = popen(("cat > '" + archive + "'").c_str(), "w");
    ASSERT_NE(pipe, nullptr);
    HZIP hz = CreateZip(pipe, 0, ZIP_HANDLE, nullptr);
    ASSERT_NE(hz, nullptr);
    std::string text = zvtest::FixtureText();
    EXPECT_EQ(ZipAddMemory(hz, "notes.txt", text.data(), static_cast<uint32_t>(text.size())), 0u);
    EXPECT_EQ(ZipAddMemory(hz, "stored.zip", text.data(), 1000), 0u);
    EXPECT_EQ(ZipAddFolder(hz, "Files"), 0u);
    EXPECT_EQ(CloseZip(hz), 0u);
    pclose(pipe);
    std::vector<zvtest::ZipRecordView> entries;
    ASSERT_TRUE(zvtest::ParseZip(zvtest::ReadFileBytes(archive), entries));
    ASSERT_EQ(entries.size(), 3u);
    for (const auto& e : entries) {
        EXPECT_TRUE(e.hasDescriptor) << e.name;
        EXPECT_EQ(e.localFlags & 8, 8) << e.name;
    }
    EXPECT_EQ(entries[1].localCompressedSize, 1000u);
    EXPECT_EQ(RunQuiet("unzip -tq '" + archive + "'"), 0);
    EXPECT_EQ(RunQuiet(Python() +
                       " -c \"import zipfile,sys; assert zipfile.ZipFile(sys.argv[1]).testzip() is None\" '" + archive +
                       "'"),
              0);
}
