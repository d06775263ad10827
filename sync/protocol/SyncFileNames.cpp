#include "sync/protocol/SyncFileNames.h"

#include <cstring>

const char* const kHandheldDatabaseFileName = "ZorvikanDataBase.db";

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// stem + suffix, the stem 1 to maxStem characters all passing the test.
bool HasForm(const std::string& name, const char* suffix, size_t maxStem, bool (*allowed)(char))
{
    const size_t suffixLength = std::strlen(suffix);
    if (name.size() <= suffixLength || name.size() - suffixLength > maxStem) return false;
    if (name.compare(name.size() - suffixLength, suffixLength, suffix) != 0) return false;
    for (size_t i = 0; i < name.size() - suffixLength; ++i) {
        if (!allowed(name[i])) return false;
    }
    return true;
}

}  // namespace

bool IsAcceptedSyncFileName(SyncBatch batch, const std::string& name)
{
    switch (batch) {
    case SyncBatch::kDatabase: return name == kHandheldDatabaseFileName;
    // An item id is 32 bits: at most 8 hex digits.
    case SyncBatch::kAttachments: return HasForm(name, ".zfa", 8, IsHex);
    // Icon ids are 16 bits: at most 5 digits.
    case SyncBatch::kIcons: return HasForm(name, ".png", 5, IsDigit);
    }
    return false;
}

int64_t MaxSyncFileSize(SyncBatch batch)
{
    switch (batch) {
    case SyncBatch::kDatabase: return 256LL * 1024 * 1024;
    case SyncBatch::kAttachments: return 256LL * 1024 * 1024;
    case SyncBatch::kIcons: return 4LL * 1024 * 1024;
    }
    return 0;
}

int64_t ParseSyncFileSize(SyncBatch batch, const std::string& text)
{
    // The sender formats a 32-bit value into 10 bytes: 9 digits at most.
    if (text.empty() || text.size() > 9) return -1;
    int64_t value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value <= MaxSyncFileSize(batch) ? value : -1;
}
