// The zip writer and reader on Windows file handles: a pipe cannot seek, so
// every entry carries a data descriptor; a disk file's handle is read back
// through the reader's handle kind, and a pipe is refused there.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZipTestSupport.h"
#include "exchange/zip/ZipReader.h"
#include "exchange/zip/ZipWriter.h"
#include "tests/support/ScratchDir.h"

TEST(ZipHandles, PipeOutputGetsDescriptors)
{
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 1 << 20));
    HZIP hz = CreateZip(writeEnd, 0, ZIP_HANDLE, nullptr);
    ASSERT_NE(hz, nullptr);
    std::string text = zvtest::FixtureText();
    EXPECT_EQ(ZipAddMemory(hz, "notes.txt", text.data(), static_cast<uint32_t>(text.size())), 0u);
    EXPECT_EQ(ZipAddMemory(hz, "stored.zip", text.data(), 1000), 0u);
    EXPECT_EQ(ZipAddFolder(hz, "Files"), 0u);
    EXPECT_EQ(CloseZip(hz), 0u);
    CloseHandle(writeEnd);
    std::string bytes;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &n, nullptr) && n > 0) bytes.append(buffer, n);
    CloseHandle(readEnd);

    std::vector<zvtest::ZipRecordView> entries;
    ASSERT_TRUE(zvtest::ParseZip(bytes, entries));
    ASSERT_EQ(entries.size(), 3u);
    for (const auto& e : entries) {
        EXPECT_TRUE(e.hasDescriptor) << e.name;
        EXPECT_EQ(e.localFlags & 8, 8) << e.name;
        EXPECT_EQ(e.descriptorCrc, e.crc) << e.name;
    }
    EXPECT_EQ(entries[1].localCompressedSize, 1000u);
    HZIP reader = OpenZipReader(bytes.data(), static_cast<uint32_t>(bytes.size()), UNZIP_MEMORY, nullptr);
    ASSERT_NE(reader, nullptr);
    std::string back(text.size(), '\0');
    EXPECT_EQ(UnzipItemToMemory(reader, 0, &back[0], static_cast<uint32_t>(back.size())), 0u);
    EXPECT_TRUE(back == text);
    CloseZipReader(reader);
}

TEST(ZipHandles, FileHandlesBothWays)
{
    zvtest::ScratchDir dir("ziph");
    std::string path = (dir / "h.zip").string();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HZIP hz = CreateZip(file, 0, ZIP_HANDLE, nullptr);
    ASSERT_NE(hz, nullptr);
    std::string source = dir.WriteFile("src.txt", zvtest::FixtureText()).string();
    HANDLE in = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(in, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ZipAdd(hz, "src.txt", in, 0, ZIP_HANDLE), 0u);
    CloseHandle(in);
    EXPECT_EQ(CloseZip(hz), 0u);

    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    HZIP reader = OpenZipReader(file, 0, UNZIP_HANDLE, nullptr);
    ASSERT_NE(reader, nullptr);
    ZipEntryInfo e;
    ASSERT_EQ(GetZipReaderItem(reader, 0, &e), 0u);
    EXPECT_STREQ(e.name, "src.txt");
    EXPECT_EQ(e.uncompressedSize, zvtest::FixtureText().size());
    std::string target = (dir / "out" / "copy.txt").string();
    EXPECT_EQ(UnzipItem(reader, 0, const_cast<char*>(target.c_str()), 0, UNZIP_FILENAME), 0u);
    EXPECT_TRUE(zvtest::ReadFileBytes(target) == zvtest::FixtureText());
    // The extracted file bears the entry's modification time.
    HANDLE out = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME created, accessed, written;
    ASSERT_TRUE(GetFileTime(out, &created, &accessed, &written));
    CloseHandle(out);
    EXPECT_EQ((uint64_t(written.dwHighDateTime) << 32 | written.dwLowDateTime), e.writeTime);
    CloseZipReader(reader);
    CloseHandle(file);

    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    EXPECT_EQ(OpenZipReader(readEnd, 0, UNZIP_HANDLE, nullptr), nullptr);
    EXPECT_EQ(LastUnzipResult(), 0x2000000u);
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
}
