// The zip reader on archives written by Python's zipfile and by `zip`, on
// names that try to leave their folder and on damaged archives; the
// replacement of one entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ZipTestSupport.h"
#include "exchange/zip/ZipNames.h"
#include "exchange/zip/ZipReader.h"
#include "exchange/zip/ZipReplace.h"
#include "exchange/zip/ZipWriter.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

std::string Fixture(const char* name) { return zvtest::FixturePath(std::string("zip/") + name).string(); }

std::string ReadEntry(HZIP reader, int index, uint64_t size)
{
    std::string data(static_cast<size_t>(size) + 1, '\0');
    uint32_t got = 0;
    EXPECT_EQ(UnzipItemToMemory(reader, index, &data[0], static_cast<uint32_t>(data.size()), &got), 0u);
    data.resize(got);
    return data;
}

std::vector<ZipEntryInfo> Entries(HZIP reader)
{
    std::vector<ZipEntryInfo> entries;
    ZipEntryInfo archive;
    EXPECT_EQ(GetZipReaderItem(reader, -1, &archive), 0u);
    for (int i = 0; i < archive.index; ++i) {
        ZipEntryInfo e;
        EXPECT_EQ(GetZipReaderItem(reader, i, &e), 0u);
        entries.push_back(e);
    }
    return entries;
}

// The current folder for a scope.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : m_before(fs::current_path()) { fs::current_path(folder); }
    ~InFolder() { fs::current_path(m_before); }

private:
    fs::path m_before;
};

}  // namespace

TEST(ZipReader, ReadsWhatPythonWrote)
{
    HZIP reader = OpenZipReaderFile(Fixture("python-mixed.zip").c_str(), nullptr);
    ASSERT_NE(reader, nullptr);
    std::vector<ZipEntryInfo> entries = Entries(reader);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_STREQ(entries[0].name, "Files/");
    EXPECT_STREQ(entries[1].name, "Files/notes.txt");
    EXPECT_STREQ(entries[2].name, "binary.bin");
    EXPECT_STREQ(entries[3].name, "empty.txt");
    EXPECT_EQ(entries[1].uncompressedSize, zvtest::FixtureText().size());
    EXPECT_LT(entries[1].compressedSize, entries[1].uncompressedSize);
    EXPECT_TRUE(ReadEntry(reader, 1, entries[1].uncompressedSize) == zvtest::FixtureText());
    EXPECT_TRUE(ReadEntry(reader, 2, entries[2].uncompressedSize) == zvtest::FixtureBinary());
    EXPECT_EQ(ReadEntry(reader, 3, 0), "");
    // Back to an earlier entry after a later one.
    EXPECT_TRUE(ReadEntry(reader, 1, entries[1].uncompressedSize) == zvtest::FixtureText());
    ZipEntryInfo outOfRange;
    EXPECT_EQ(GetZipReaderItem(reader, 4, &outOfRange), 0x10000u);
    EXPECT_EQ(GetZipReaderItem(reader, -2, &outOfRange), 0x10000u);
    EXPECT_EQ(CloseZipReader(reader), 0u);
}

TEST(ZipReader, ReadsWhatZipWroteWithAndWithoutPassword)
{
    for (const char* name : {"info-zip-plain.zip", "info-zip-secret.zip"}) {
        HZIP reader = OpenZipReaderFile(Fixture(name).c_str(), "s3cret");
        ASSERT_NE(reader, nullptr) << name;
        std::vector<ZipEntryInfo> entries = Entries(reader);
        ASSERT_EQ(entries.size(), 3u) << name;
        EXPECT_STREQ(entries[0].name, "Files/");
        EXPECT_EQ(entries[0].attributes & 0x10, 0x10u) << "Unix folder bit";
        EXPECT_STREQ(entries[1].name, "Files/notes.txt");
        EXPECT_TRUE(ReadEntry(reader, 1, entries[1].uncompressedSize) == zvtest::FixtureText()) << name;
        EXPECT_TRUE(ReadEntry(reader, 2, entries[2].uncompressedSize) == zvtest::FixtureBinary()) << name;
        // The "UT" field's modification time: 2021-06-05 10:15:38 UTC.
        EXPECT_EQ(entries[2].writeTime, 1622888138ull * 10000000ull + 116444736000000000ull) << name;
        CloseZipReader(reader);
    }
    for (const char* wrong : {"s3cre7", static_cast<const char*>(nullptr)}) {
        HZIP reader = OpenZipReaderFile(Fixture("info-zip-secret.zip").c_str(), wrong);
        ASSERT_NE(reader, nullptr);
        std::string data(50000, '\0');
        EXPECT_EQ(UnzipItemToMemory(reader, 2, &data[0], 50000), 0x1000u);
        zvtest::ScratchDir dir("zipr");
        std::string target = (dir / "out.bin").string();
        EXPECT_EQ(UnzipItem(reader, 1, const_cast<char*>(target.c_str()), 0, UNZIP_FILENAME), 0x1000u);
        EXPECT_FALSE(fs::exists(target)) << "no file is made for an entry that does not open";
        CloseZipReader(reader);
    }
}

TEST(ZipReader, MemoryExtractionContinuesWhereItStopped)
{
    HZIP reader = OpenZipReaderFile(Fixture("python-mixed.zip").c_str(), nullptr);
    ASSERT_NE(reader, nullptr);
    std::string block(16384, '\0'), whole;
    EXPECT_EQ(UnzipItemToMemory(reader, 2, &block[0], 16384), 0x600u);
    whole += block;
    EXPECT_EQ(UnzipItemToMemory(reader, 2, &block[0], 16384), 0x600u);
    whole += block;
    uint32_t got = 0;
    EXPECT_EQ(UnzipItemToMemory(reader, 2, &block[0], 16384, &got), 0u);
    EXPECT_EQ(got, 40000u - 2 * 16384u);
    whole += block.substr(0, got);
    EXPECT_TRUE(whole == zvtest::FixtureBinary());
    CloseZipReader(reader);
}

TEST(ZipReader, NamesNeverLeaveTheirFolder)
{
    struct Case {
        const char* stored;
        const char* described;
    } cases[] = {
        {"C:\\x\\y.txt", "x\\y.txt"},
        {"\\lead.txt", "lead.txt"},
        {"//two/lead.txt", "two/lead.txt"},
        {"a\\..\\b\\c.txt", "b\\c.txt"},
        {"a/b/../../../c.txt", "c.txt"},
        {"a/../b\\..\\c/d.txt", "c/d.txt"},
        {"../up.txt", "up.txt"},
        {"..\\up.txt", "up.txt"},
        {"../../../x", "x"},
        {"..", ""},
        {"ok/..", "ok/"},
        {"\\\\server\\share\\unc.txt", "server\\share\\unc.txt"},
        {"x/../C:/windows/w.ini", "windows/w.ini"},
        {"C:..\\..\\x", "x"},
        {"plain/name.txt", "plain/name.txt"},
        {"dots...txt", "dots...txt"},
        {"a/..b/c", "a/..b/c"},
    };
    for (const Case& c : cases) EXPECT_EQ(ZipCleanEntryName(c.stored), c.described) << c.stored;
}

TEST(ZipReader, ExtractingHostileNamesStaysInTheFolder)
{
    zvtest::ScratchDir dir("zipr");
    fs::path inner = dir / "inner";
    fs::create_directories(inner);
    {
        InFolder in(inner);
        HZIP reader = OpenZipReaderFile(Fixture("python-evil-names.zip").c_str(), nullptr);
        ASSERT_NE(reader, nullptr);
        std::vector<ZipEntryInfo> entries = Entries(reader);
        ASSERT_EQ(entries.size(), 8u);
        for (const ZipEntryInfo& e : entries) {
            if (!*e.name) continue;
            uint32_t rc = UnzipItem(reader, e.index, const_cast<char*>(e.name), 0, UNZIP_FILENAME);
            EXPECT_EQ(rc, 0u) << e.name;
        }
        CloseZipReader(reader);
    }
    for (const auto& item : fs::recursive_directory_iterator(dir.Path())) {
        std::string rel = fs::relative(item.path(), dir.Path()).generic_string();
        EXPECT_EQ(rel.rfind("inner", 0), 0u) << rel;
    }
    EXPECT_EQ(zvtest::ReadFileBytes(inner / "up.txt"), "../up.txt");
    EXPECT_EQ(zvtest::ReadFileBytes(inner / "c.txt"), "a/b/../../../c.txt");
}

TEST(ZipReader, DamagedArchivesGiveResultCodes)
{
    // Each damaged file: opening, describing or reading fails with a code
    // somewhere, and nothing reads past what is there.
    struct Case {
        const char* file;
        bool opens;
    } cases[] = {
        {"broken-truncated.zip", false},  {"broken-no-end.zip", false},      {"broken-directory-offset.zip", false},
        {"broken-entry-count.zip", true}, {"broken-local-header.zip", true}, {"broken-deflate-data.zip", true},
        {"broken-crc.zip", true},         {"broken-huge-size.zip", true}};
    for (const Case& c : cases) {
        HZIP reader = OpenZipReaderFile(Fixture(c.file).c_str(), nullptr);
        EXPECT_EQ(reader != nullptr, c.opens) << c.file;
        if (!reader) {
            EXPECT_NE(LastUnzipResult(), 0u) << c.file;
            continue;
        }
        uint32_t worst = 0;
        ZipEntryInfo archive;
        EXPECT_EQ(GetZipReaderItem(reader, -1, &archive), 0u);
        for (int i = 0; i < archive.index; ++i) {
            ZipEntryInfo e;
            uint32_t rc = GetZipReaderItem(reader, i, &e);
            if (rc == 0) {
                std::string block(65536, '\0');
                do rc = UnzipItemToMemory(reader, i, &block[0], 65536);
                while (rc == 0x600);
            }
            if (rc) worst = rc;
        }
        EXPECT_NE(worst, 0u) << c.file;
        CloseZipReader(reader);
    }
    HZIP reader = OpenZipReaderFile(Fixture("broken-local-header.zip").c_str(), nullptr);
    ZipEntryInfo e;
    EXPECT_EQ(GetZipReaderItem(reader, 1, &e), 0x700u);
    CloseZipReader(reader);
    reader = OpenZipReaderFile(Fixture("broken-crc.zip").c_str(), nullptr);
    std::string block(65536, '\0');
    EXPECT_EQ(UnzipItemToMemory(reader, 2, &block[0], 65536), 0x5000000u);
    CloseZipReader(reader);
    EXPECT_EQ(OpenZipReaderFile(Fixture("no-such.zip").c_str(), nullptr), nullptr);
    EXPECT_EQ(LastUnzipResult(), 0x200u);
    EXPECT_EQ(OpenZipReader("x", 1, 9, nullptr), nullptr);
    EXPECT_EQ(LastUnzipResult(), 0x10000u);
}

TEST(ZipReplace, ReplacedEntryComesLastAndFoldersStayFolders)
{
    zvtest::ScratchDir dir("zipx");
    std::string archive = (dir / "export.zip").string();
    std::string attachment = zvtest::FixtureBinary();
    HZIP hz = CreateZipFile(archive.c_str(), nullptr);
    ASSERT_NE(hz, nullptr);
    ZipAddMemory(hz, "export.zkv", "old exchange text", 17);
    ZipAddFolder(hz, "Files");
    ZipAddMemory(hz, "Files/123.dat", attachment.data(), static_cast<uint32_t>(attachment.size()));
    ZipAddEmptyFile(hz, "Files/empty.dat");
    ASSERT_EQ(CloseZip(hz), 0u);
    std::string source = dir.WriteFile("new.zkv", "new exchange text").string();

    EXPECT_EQ(ZipReplaceEntry(archive.c_str(), "EXPORT.zkv", source.c_str()), 0u);
    HZIP reader = OpenZipReaderFile(archive.c_str(), nullptr);
    ASSERT_NE(reader, nullptr);
    std::vector<ZipEntryInfo> entries = Entries(reader);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_STREQ(entries[0].name, "Files/");
    EXPECT_EQ(entries[0].attributes & 0x10, 0x10u);
    EXPECT_STREQ(entries[1].name, "Files/123.dat");
    EXPECT_TRUE(ReadEntry(reader, 1, entries[1].uncompressedSize) == attachment);
    EXPECT_STREQ(entries[2].name, "Files/empty.dat");
    EXPECT_EQ(entries[2].uncompressedSize, 0u);
    EXPECT_STREQ(entries[3].name, "EXPORT.zkv");
    EXPECT_EQ(ReadEntry(reader, 3, entries[3].uncompressedSize), "new exchange text");
    CloseZipReader(reader);

    // A name with a backslash matches no stored entry: the file is added.
    EXPECT_EQ(ZipReplaceEntry(archive.c_str(), "Files\\123.dat", source.c_str()), 0u);
    reader = OpenZipReaderFile(archive.c_str(), nullptr);
    entries = Entries(reader);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_STREQ(entries[4].name, "Files/123.dat");
    EXPECT_STREQ(entries[0].name, "Files/");
    CloseZipReader(reader);
}

TEST(ZipReplace, FileEntriesStayFilesWithTheirBytesWhateverTheirNamesOrAttributes)
{
    // "ok/.." holds bytes and is described as the file "ok"; "attr-dir" and
    // "attr-empty" carry the folder attribute without a final "/".
    zvtest::ScratchDir dir("zipx");
    std::string source = dir.WriteFile("new.txt", "new").string();
    for (const char* file : {"python-evil-names.zip", "python-folder-attribute.zip"}) {
        SCOPED_TRACE(file);
        std::string archive = dir.WriteFile(file, zvtest::ReadFileBytes(Fixture(file))).string();
        std::vector<std::pair<std::string, std::string>> before;
        HZIP reader = OpenZipReaderFile(archive.c_str(), nullptr);
        ASSERT_NE(reader, nullptr);
        for (const ZipEntryInfo& e : Entries(reader)) {
            // The writer stores a backslash as "/".
            std::string name = e.name;
            for (char& c : name)
                if (c == '\\') c = '/';
            before.emplace_back(name, ReadEntry(reader, e.index, e.uncompressedSize));
        }
        CloseZipReader(reader);

        ASSERT_EQ(ZipReplaceEntry(archive.c_str(), "new.txt", source.c_str()), 0u);
        reader = OpenZipReaderFile(archive.c_str(), nullptr);
        ASSERT_NE(reader, nullptr);
        std::vector<std::pair<std::string, std::string>> after;
        for (const ZipEntryInfo& e : Entries(reader)) {
            after.emplace_back(e.name, ReadEntry(reader, e.index, e.uncompressedSize));
            EXPECT_EQ(e.attributes & 0x10, 0u) << e.name;
        }
        CloseZipReader(reader);
        before.emplace_back("new.txt", "new");
        EXPECT_EQ(after, before);
    }
    HZIP reader = OpenZipReaderFile(Fixture("python-evil-names.zip").c_str(), nullptr);
    ASSERT_NE(reader, nullptr);
    bool found = false;
    for (const ZipEntryInfo& e : Entries(reader)) {
        if (std::string(e.name) != "ok") continue;
        found = true;
        EXPECT_EQ(ReadEntry(reader, e.index, e.uncompressedSize), "ok/..");
    }
    EXPECT_TRUE(found);
    CloseZipReader(reader);
}

TEST(ZipReplace, FailuresLeaveTheArchiveAsItWas)
{
    zvtest::ScratchDir dir("zipx");
    std::string source = dir.WriteFile("new.txt", "new").string();
    EXPECT_EQ(ZipReplaceEntry((dir / "missing.zip").string().c_str(), "a", source.c_str()), 0x200u);
    std::string good = zvtest::ReadFileBytes(Fixture("python-mixed.zip"));
    std::string archive = dir.WriteFile("a.zip", good).string();
    EXPECT_EQ(ZipReplaceEntry(archive.c_str(), "a", (dir / "missing.txt").string().c_str()), 0x200u);
    EXPECT_TRUE(zvtest::ReadFileBytes(archive) == good);

    struct Case {
        const char* file;
        uint32_t result;
    } cases[] = {{"broken-truncated.zip", 0x800},
                 {"broken-huge-size.zip", 0x30000},
                 {"broken-crc.zip", 0x5000000},
                 {"broken-deflate-data.zip", 0x5000000},
                 {"broken-local-header.zip", 0x700}};
    for (const Case& c : cases) {
        std::string bytes = zvtest::ReadFileBytes(Fixture(c.file));
        std::string path = dir.WriteFile(c.file, bytes).string();
        EXPECT_EQ(ZipReplaceEntry(path.c_str(), "new.txt", source.c_str()), c.result) << c.file;
        EXPECT_TRUE(zvtest::ReadFileBytes(path) == bytes) << c.file;
    }
}
