// The zip writer: names, methods, headers, descriptors, encryption, memory
// archives and result codes, checked on the bytes it writes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ZipTestSupport.h"
#include "exchange/zip/ZipCrypt.h"
#include "exchange/zip/ZipFormat.h"
#include "exchange/zip/ZipReader.h"
#include "exchange/zip/ZipWriter.h"
#include "tests/support/ScratchDir.h"

using zvtest::ParseZip;
using zvtest::ZipRecordView;

namespace {

// A memory archive made by fill, finished, as bytes.
template <typename Fill> std::string MemoryArchive(Fill fill, const char* password = nullptr, uint32_t size = 1 << 20)
{
    HZIP hz = CreateZipInMemory(nullptr, size, password);
    EXPECT_NE(hz, nullptr);
    if (!hz) return std::string();
    fill(hz);
    void* block = nullptr;
    uint32_t length = 0;
    EXPECT_EQ(ZipGetMemory(hz, &block, &length), 0u);
    std::string bytes(static_cast<const char*>(block), length);
    EXPECT_EQ(CloseZip(hz), 0u);
    return bytes;
}

std::string ReadEntry(HZIP reader, int index, uint32_t size)
{
    std::string data(size + 1, '\0');
    uint32_t got = 0;
    EXPECT_EQ(UnzipItemToMemory(reader, index, &data[0], size + 1, &got), 0u);
    data.resize(got);
    return data;
}

}  // namespace

TEST(ZipWriter, NamesGetSlashesAndFoldersAFinalSlash)
{
    std::string text = "attachment";
    std::string bytes = MemoryArchive([&](HZIP hz) {
        EXPECT_EQ(ZipAddFolder(hz, "Files"), 0u);
        EXPECT_EQ(ZipAddMemory(hz, "Files\\a.txt", text.data(), static_cast<uint32_t>(text.size())), 0u);
        EXPECT_EQ(ZipAddFolder(hz, "Deeper\\Down/"), 0u);
    });
    std::vector<ZipRecordView> entries;
    ASSERT_TRUE(ParseZip(bytes, entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Files/");
    EXPECT_EQ(entries[0].method, 0);
    EXPECT_EQ(entries[0].uncompressedSize, 0u);
    EXPECT_EQ(entries[0].compressedSize, 0u);
    EXPECT_EQ(entries[0].externalAttributes, 0x41C00010u);
    EXPECT_EQ(entries[1].name, "Files/a.txt");
    EXPECT_EQ(entries[1].externalAttributes, 0x80000000u);
    EXPECT_EQ(entries[2].name, "Deeper/Down/");
    for (const ZipRecordView& e : entries) {
        EXPECT_EQ(e.madeBy, 0x0B17);
        EXPECT_EQ(e.localExtraLength, 17);
    }
}

TEST(ZipWriter, StoresAlreadyPackedSuffixesAndDeflatesTheRest)
{
    struct Case {
        const char* name;
        int method;
    } cases[] = {{"a.zip", 0},  {"B.ZIP", 0}, {"c.Zip", 0}, {"d.tgz", 0},    {"e.Z", 0},   {"f.z", 0},
                 {"g.gz", 0},   {"h.arj", 0}, {"i.LZH", 0}, {"j.zoo", 0},    {"k.arc", 0}, {"l.txt", 8},
                 {"m.zipx", 8}, {"noext", 8}, {"zip", 8},   {"a.zip.txt", 8}};
    std::string data(3000, 'x');
    std::string bytes = MemoryArchive([&](HZIP hz) {
        for (const Case& c : cases) EXPECT_EQ(ZipAddMemory(hz, c.name, data.data(), 3000), 0u) << c.name;
    });
    std::vector<ZipRecordView> entries;
    ASSERT_TRUE(ParseZip(bytes, entries));
    ASSERT_EQ(entries.size(), sizeof(cases) / sizeof(cases[0]));
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].method, cases[i].method) << cases[i].name;
        EXPECT_EQ(entries[i].flags & 2, cases[i].method == 8 ? 2 : 0) << cases[i].name;
        if (cases[i].method == 0) {
            EXPECT_EQ(entries[i].compressedSize, 3000u) << cases[i].name;
        }
    }
}

TEST(ZipWriter, FileWithoutPasswordHasFinalLocalHeadersAndNoDescriptors)
{
    zvtest::ScratchDir dir("zipw");
    std::string source = zvtest::FixtureText();
    std::string sourcePath = dir.WriteFile("notes.txt", source).string();
    std::string archive = (dir / "out.zip").string();
    HZIP hz = CreateZipFile(archive.c_str(), nullptr);
    ASSERT_NE(hz, nullptr);
    EXPECT_EQ(ZipAddFile(hz, "notes.txt", sourcePath.c_str()), 0u);
    EXPECT_EQ(ZipAddMemory(hz, "stored.zip", source.data(), 100), 0u);
    EXPECT_EQ(ZipAddFolder(hz, "Files"), 0u);
    EXPECT_EQ(CloseZip(hz), 0u);
    std::vector<ZipRecordView> entries;
    ASSERT_TRUE(ParseZip(zvtest::ReadFileBytes(archive), entries));
    ASSERT_EQ(entries.size(), 3u);
    for (const ZipRecordView& e : entries) {
        EXPECT_EQ(e.localFlags & 8, 0) << e.name;
        EXPECT_EQ(e.flags & 8, 0) << e.name;
        EXPECT_EQ(e.localCrc, e.crc) << e.name;
        EXPECT_EQ(e.localCompressedSize, e.compressedSize) << e.name;
        EXPECT_EQ(e.localUncompressedSize, e.uncompressedSize) << e.name;
        EXPECT_FALSE(e.hasDescriptor) << e.name;
    }
    EXPECT_EQ(entries[0].uncompressedSize, source.size());
    EXPECT_LT(entries[0].compressedSize, source.size() / 4);
    EXPECT_EQ(entries[0].internalAttributes & 1, 1) << "text";
    // A file's attributes: archive bit and Unix owner read and write.
    EXPECT_EQ(entries[0].externalAttributes & 0xFFFF0000u, 0x81800000u);
    EXPECT_EQ(entries[1].crc, ZipCrc32(0, source.data(), 100));
}

TEST(ZipWriter, PasswordKeepsDescriptorsAndReadsBackOnlyWithIt)
{
    std::string text = zvtest::FixtureText(), binary = zvtest::FixtureBinary();
    std::string bytes = MemoryArchive(
        [&](HZIP hz) {
            EXPECT_EQ(ZipAddMemory(hz, "notes.txt", text.data(), static_cast<uint32_t>(text.size())), 0u);
            EXPECT_EQ(ZipAddMemory(hz, "binary.gz", binary.data(), static_cast<uint32_t>(binary.size())), 0u);
            EXPECT_EQ(ZipAddFolder(hz, "Files"), 0u);
        },
        "pa55");
    std::vector<ZipRecordView> entries;
    ASSERT_TRUE(ParseZip(bytes, entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].flags, 8 | 1 | 2);
    EXPECT_EQ(entries[1].flags, 8 | 1);
    EXPECT_EQ(entries[1].compressedSize, binary.size() + 12);
    EXPECT_EQ(entries[1].localCompressedSize, binary.size() + 12);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(entries[i].hasDescriptor);
        EXPECT_EQ(entries[i].descriptorCrc, entries[i].crc);
        EXPECT_EQ(entries[i].descriptorCompressed, entries[i].compressedSize);
        EXPECT_EQ(entries[i].descriptorUncompressed, entries[i].uncompressedSize);
    }
    // The folder is neither encrypted nor described after the fact.
    EXPECT_EQ(entries[2].flags, 0);
    EXPECT_FALSE(entries[2].hasDescriptor);

    HZIP reader = OpenZipReader(bytes.data(), static_cast<uint32_t>(bytes.size()), UNZIP_MEMORY, "pa55");
    ASSERT_NE(reader, nullptr);
    EXPECT_TRUE(ReadEntry(reader, 0, static_cast<uint32_t>(text.size())) == text);
    EXPECT_TRUE(ReadEntry(reader, 1, static_cast<uint32_t>(binary.size())) == binary);
    CloseZipReader(reader);
    for (const char* wrong : {"pa56", "", static_cast<const char*>(nullptr)}) {
        reader = OpenZipReader(bytes.data(), static_cast<uint32_t>(bytes.size()), UNZIP_MEMORY, wrong);
        ASSERT_NE(reader, nullptr);
        std::string data(text.size(), '\0');
        EXPECT_EQ(UnzipItemToMemory(reader, 0, &data[0], static_cast<uint32_t>(data.size())), 0x1000u)
            << (wrong ? wrong : "none");
        CloseZipReader(reader);
    }
}

TEST(ZipWriter, MemoryTooSmallFailsTheEntryThenEveryLaterOne)
{
    // Bytes that do not compress.
    std::mt19937 rng(5);
    std::string binary(40000, '\0');
    for (char& c : binary) c = static_cast<char>(rng());
    HZIP hz = CreateZipInMemory(nullptr, 4096, nullptr);
    ASSERT_NE(hz, nullptr);
    EXPECT_EQ(ZipAddMemory(hz, "small.txt", "abc", 3), 0u);
    EXPECT_EQ(ZipAddMemory(hz, "big.bin", binary.data(), static_cast<uint32_t>(binary.size())), 0x30000u);
    EXPECT_EQ(LastZipResult(), 0x30000u);
    EXPECT_EQ(ZipAddMemory(hz, "later.txt", "abc", 3), 0x40000u);
    EXPECT_EQ(ZipAddFolder(hz, "Files"), 0x40000u);
    EXPECT_EQ(CloseZip(hz), 0u) << "the directory of the entry before the error still fits";
}

TEST(ZipWriter, CallerBlockIsUsedAndFinishedOnce)
{
    std::vector<char> block(8192);
    HZIP hz = CreateZipInMemory(block.data(), static_cast<uint32_t>(block.size()), nullptr);
    ASSERT_NE(hz, nullptr);
    EXPECT_EQ(ZipAddMemory(hz, "a.txt", "hello hello hello", 17), 0u);
    void* out = nullptr;
    uint32_t length = 0;
    EXPECT_EQ(ZipGetMemory(hz, &out, &length), 0u);
    EXPECT_EQ(out, block.data());
    EXPECT_EQ(ZipGetMemory(hz, &out, &length), 0u);
    EXPECT_EQ(ZipAddMemory(hz, "b.txt", "x", 1), 0x50000u);
    EXPECT_EQ(CloseZip(hz), 0u);
    std::vector<ZipRecordView> entries;
    ASSERT_TRUE(ParseZip(std::string(block.data(), length), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(std::string(block.data() + length - 22, 4), std::string("PK\x05\x06", 4));
}

TEST(ZipWriter, ResultCodesOfBadCalls)
{
    EXPECT_EQ(ZipAddMemory(nullptr, "a", "x", 1), 0x10000u);
    EXPECT_EQ(LastZipResult(), 0x10000u);
    EXPECT_EQ(CloseZip(nullptr), 0x10000u);
    EXPECT_EQ(CreateZipInMemory(nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(LastZipResult(), 0x30000u);
    EXPECT_EQ(CreateZip(nullptr, 10, 7, nullptr), nullptr);
    EXPECT_EQ(LastZipResult(), 0x10000u);
    zvtest::ScratchDir dir("zipw");
    EXPECT_EQ(CreateZipFile((dir / "no such folder" / "a.zip").string().c_str(), nullptr), nullptr);
    EXPECT_EQ(LastZipResult(), 0x200u);

    HZIP hz = CreateZipInMemory(nullptr, 65536, nullptr);
    ASSERT_NE(hz, nullptr);
    EXPECT_EQ(ZipAddMemory(hz, "", "x", 1), 0x10000u);
    EXPECT_EQ(ZipAddMemory(hz, nullptr, "x", 1), 0x10000u);
    EXPECT_EQ(ZipAddMemory(hz, "a", nullptr, 1), 0x10000u);
    EXPECT_EQ(ZipAddMemory(hz, "a", "x", 0), 0x10000u);
    EXPECT_EQ(ZipAdd(hz, "a", "x", 1, 9), 0x10000u);
    EXPECT_EQ(ZipAddFile(hz, "a", (dir / "missing.txt").string().c_str()), 0x200u);
    // None of those stopped the writer.
    EXPECT_EQ(ZipAddMemory(hz, "a", "x", 1), 0u);

    std::string zip = MemoryArchive([](HZIP w) { ZipAddMemory(w, "a", "x", 1); });
    HZIP reader = OpenZipReader(zip.data(), static_cast<uint32_t>(zip.size()), UNZIP_MEMORY, nullptr);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(ZipAddMemory(reader, "a", "x", 1), 0x80000u);
    EXPECT_EQ(CloseZip(reader), 0x80000u);
    EXPECT_FALSE(IsZipReaderHandle(hz));
    EXPECT_TRUE(IsZipReaderHandle(reader));
    ZipEntryInfo info;
    EXPECT_EQ(GetZipReaderItem(hz, -1, &info), 0x80000u);
    EXPECT_EQ(CloseZipReader(hz), 0x80000u);
    EXPECT_EQ(CloseZipReader(reader), 0u);
    EXPECT_EQ(CloseZip(hz), 0u);

    std::string path = (dir / "file.zip").string();
    hz = CreateZipFile(path.c_str(), nullptr);
    ASSERT_NE(hz, nullptr);
    void* block = nullptr;
    uint32_t length = 0;
    EXPECT_EQ(ZipGetMemory(hz, &block, &length), 0x20000u);
    EXPECT_EQ(CloseZip(hz), 0u);
}

TEST(ZipWriter, TextFlagFollowsTheBytes)
{
    std::string text = zvtest::FixtureText(), binary = zvtest::FixtureBinary();
    std::string bytes = MemoryArchive([&](HZIP hz) {
        ZipAddMemory(hz, "t.txt", text.data(), static_cast<uint32_t>(text.size()));
        ZipAddMemory(hz, "b.bin", binary.data(), static_cast<uint32_t>(binary.size()));
    });
    std::vector<ZipRecordView> entries;
    ASSERT_TRUE(ParseZip(bytes, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].internalAttributes, 1);
    EXPECT_EQ(entries[1].internalAttributes, 0);
}

TEST(ZipWriter, DosDateAndTime)
{
    EXPECT_EQ(ZipDosTime(10, 15, 37), 10 * 2048 + 15 * 32 + 18);
    EXPECT_EQ(ZipDosDate(2021, 6, 5), (2021 - 1980) * 512 + 6 * 32 + 5);
    // 2021-06-05 10:15:37 as a file time, taken as it stands.
    uint64_t fileTime = ZipFileTimeFromUnix(1622888137u);
    uint16_t date = 0, time = 0;
    ZipDosFromFileTime(fileTime, date, time);
    EXPECT_EQ(time, 10 * 2048 + 15 * 32 + 18);
    EXPECT_EQ(date, (2021 - 1980) * 512 + 6 * 32 + 5);
    ZipDosFromFileTime(ZipFileTimeFromUnix(951782400u), date, time);  // 2000-02-29 00:00:00
    EXPECT_EQ(date, 20 * 512 + 2 * 32 + 29);
    EXPECT_EQ(time, 0);
    EXPECT_EQ(ZipUnixSeconds(fileTime), 1622888137u);
}

TEST(ZipWriter, FileEntryKeepsTheFileTimesInItsUtField)
{
    zvtest::ScratchDir dir("zipw");
    std::string sourcePath = dir.WriteFile("a.txt", "some text").string();
    std::string bytes = MemoryArchive([&](HZIP hz) { EXPECT_EQ(ZipAddFile(hz, "a.txt", sourcePath.c_str()), 0u); });
    HZIP reader = OpenZipReader(bytes.data(), static_cast<uint32_t>(bytes.size()), UNZIP_MEMORY, nullptr);
    ASSERT_NE(reader, nullptr);
    ZipEntryInfo info;
    ASSERT_EQ(GetZipReaderItem(reader, 0, &info), 0u);
    EXPECT_EQ(std::string(info.name), "a.txt");
    EXPECT_EQ(info.attributes & 0x10, 0u);
    EXPECT_EQ(info.attributes & 0x20, 0x20u);
    EXPECT_GT(info.writeTime, ZipFileTimeFromUnix(1600000000u));
    EXPECT_EQ(info.uncompressedSize, 9u);
    EXPECT_EQ(ReadEntry(reader, 0, 9), "some text");
    CloseZipReader(reader);
}
