#pragma once
// What a file batch from the handheld may carry. A name comes from the
// network, so only the one base name each batch expects is accepted (never
// a path), and a size must be short decimal text under the batch's limit.
#include <cstdint>
#include <string>

enum class SyncBatch {
    kDatabase,     // the handheld's database file
    kAttachments,  // "<hex item id>.zfa"
    kIcons,        // "<decimal icon id>.png"
};

// The name under which the handheld's database must arrive.
extern const char* const kHandheldDatabaseFileName;

// The name is a plain base name of the batch's form.
bool IsAcceptedSyncFileName(SyncBatch batch, const std::string& name);
// The largest file a batch takes.
int64_t MaxSyncFileSize(SyncBatch batch);
// 1 to 9 decimal digits whose value the batch allows; -1 otherwise.
int64_t ParseSyncFileSize(SyncBatch batch, const std::string& text);
