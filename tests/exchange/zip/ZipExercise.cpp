#include "ZipExercise.h"

#include <cstring>
#include <vector>

#include "exchange/zip/ZipReader.h"

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

}  // namespace

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
