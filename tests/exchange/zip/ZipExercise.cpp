#include "ZipExercise.h"

#include <cstring>
#include <utility>
#include <vector>

#include "core/os/FileSystemOs.h"
#include "exchange/zip/ZipReader.h"
#include "exchange/zip/ZipReplace.h"

namespace zvtest {
namespace {

// A described name must not name a place outside the folder it goes to.
bool NameStaysInside(const char* name)
{
    std::string n = name;
    if (n.empty()) return true;
    if (n[0] == '/' || n[0] == '\\') return false;
    if (n.size() >= 2 && n[1] == ':') return false;
    size_t start = 0;
    for (size_t i = 0; i <= n.size(); ++i) {
        if (i < n.size() && n[i] != '/' && n[i] != '\\') continue;
        if (n.compare(start, i - start, "..") == 0 && i - start == 2) return false;
        start = i + 1;
    }
    return true;
}

bool Known(uint32_t rc)
{
    static const uint32_t kCodes[] = {0,      0x200,   0x400,   0x600,     0x700,     0x800,
                                      0x1000, 0x10000, 0x80000, 0x1000000, 0x2000000, 0x5000000};
    for (uint32_t c : kCodes)
        if (rc == c) return true;
    return false;
}

bool IsReplacedName(const std::string& name)
{
    static const char kNew[] = "new.txt";
    if (name.size() != sizeof kNew - 1) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] + 32) : name[i];
        if (c != kNew[i]) return false;
    }
    return true;
}

// Every entry of an archive without password: its described name (a
// backslash as the writer stores it, "/") and its bytes. False when any
// entry cannot be described or read whole.
bool ListEntries(HZIP reader, std::vector<std::pair<std::string, std::string>>& entries)
{
    ZipEntryInfo archive;
    if (GetZipReaderItem(reader, -1, &archive) != 0 || archive.index < 0 || archive.index > 4096) return false;
    for (int i = 0; i < archive.index; ++i) {
        ZipEntryInfo e;
        if (GetZipReaderItem(reader, i, &e) != 0 || e.uncompressedSize > (1u << 22)) return false;
        std::string name(e.name, strnlen(e.name, sizeof e.name));
        for (char& c : name)
            if (c == '\\') c = '/';
        std::string data(static_cast<size_t>(e.uncompressedSize) + 1, '\0');
        uint32_t got = 0;
        if (UnzipItemToMemory(reader, i, &data[0], static_cast<uint32_t>(data.size()), &got) != 0) return false;
        data.resize(got);
        // A folder holds nothing of its own.
        if (!name.empty() && name.back() == '/') data.clear();
        entries.emplace_back(name, data);
    }
    return true;
}

}  // namespace

bool ExerciseZipReplacement(const std::string& bytes, const std::string& folder, std::string& failure)
{
    const std::string archive = folder + "/archive.zip", source = folder + "/new.txt";
    zvos::DeleteFileAt(archive);
    zvos::DeleteFileAt(archive + ".new");
    if (zvos::WriteNewFile(archive, bytes) != 0 ||
        (!zvos::AccessExists(source) && zvos::WriteNewFile(source, "new") != 0)) {
        failure = "scratch files";
        return false;
    }
    std::vector<std::pair<std::string, std::string>> before;
    bool readable = false;
    if (HZIP reader = OpenZipReader(bytes.data(), static_cast<uint32_t>(bytes.size()), UNZIP_MEMORY, nullptr)) {
        readable = ListEntries(reader, before);
        CloseZipReader(reader);
    }
    const uint32_t rc = ZipReplaceEntry(archive.c_str(), "new.txt", source.c_str());
    std::string now;
    if (zvos::ReadWholeFile(archive, now) != 0) {
        failure = "archive gone";
        return false;
    }
    if (rc != 0) {
        if (now != bytes) {
            failure = "failed replacement " + std::to_string(rc) + " changed the archive";
            return false;
        }
        return true;
    }
    HZIP reader = OpenZipReaderFile(archive.c_str(), nullptr);
    std::vector<std::pair<std::string, std::string>> after;
    const bool listed = reader && ListEntries(reader, after);
    if (reader) CloseZipReader(reader);
    if (!listed) {
        failure = "the replaced archive does not read";
        return false;
    }
    if (!readable) return true;
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& entry : before)
        if (!IsReplacedName(entry.first)) expected.push_back(entry);
    expected.emplace_back("new.txt", "new");
    if (after != expected) {
        failure = "the replaced archive lost or changed entries";
        return false;
    }
    return true;
}

bool ExerciseZipBytes(const std::string& bytes, std::string& failure)
{
    static std::vector<unsigned char> block(65536);
    for (const char* password : {static_cast<const char*>(nullptr), "pw"}) {
        HZIP reader = OpenZipReader(bytes.data(), static_cast<uint32_t>(bytes.size()), UNZIP_MEMORY, password);
        if (!reader) {
            if (!Known(LastUnzipResult()) || LastUnzipResult() == 0) {
                failure = "open: unknown code " + std::to_string(LastUnzipResult());
                return false;
            }
            continue;
        }
        ZipEntryInfo archive;
        if (GetZipReaderItem(reader, -1, &archive) != 0 || archive.index < 0) {
            failure = "archive description";
            CloseZipReader(reader);
            return false;
        }
        // Damaged counts may be large; the walk stops at the first entry it cannot reach.
        for (int i = 0; i < archive.index; ++i) {
            ZipEntryInfo e;
            std::memset(&e, 0x5A, sizeof(e));
            uint32_t rc = GetZipReaderItem(reader, i, &e);
            if (!Known(rc)) {
                failure = "describe: unknown code " + std::to_string(rc);
                CloseZipReader(reader);
                return false;
            }
            if (rc == 0x700) break;
            if (rc) continue;
            if (std::memchr(e.name, 0, sizeof(e.name)) == nullptr || !NameStaysInside(e.name)) {
                failure = std::string("name leaves its folder: ") + std::string(e.name, strnlen(e.name, 260));
                CloseZipReader(reader);
                return false;
            }
            // At most 4 MB of any one entry.
            for (int piece = 0; piece < 64; ++piece) {
                uint32_t got = 0;
                rc = UnzipItemToMemory(reader, i, block.data(), static_cast<uint32_t>(block.size()), &got);
                if (!Known(rc) || got > block.size()) {
                    failure = "extract: code " + std::to_string(rc);
                    CloseZipReader(reader);
                    return false;
                }
                if (rc != 0x600) break;
            }
        }
        if (CloseZipReader(reader) != 0) {
            failure = "close";
            return false;
        }
    }
    return true;
}

}  // namespace zvtest
