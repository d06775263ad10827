#pragma once
// What the Wi-Fi sync conversation asks of the session around it: where
// received files go, the reading of the handheld's database, the password
// check and merge, and the files sent back. The conversation itself only
// moves bytes (SyncConversation.h).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sync/protocol/SyncFileNames.h"

// HandheldSyncMode.
enum HandheldSyncMode {
    kSyncDesktopOverwrites = 0,
    kSyncHandheldOverwrites = 1,
    kSyncBothWays = 2,
};

enum class SyncSendSet {
    kDatabase,     // the rewritten handheld database
    kAttachments,  // the user's attachment files
    kIcons,        // the user's custom icon files
};

enum class SyncMergeResult {
    kMerged,
    kPasswordMismatch,
    kFailed,
};

class ISyncFileWriter {
public:
    virtual ~ISyncFileWriter() = default;
    virtual bool Write(const uint8_t* data, size_t size) = 0;
    // Flushes and closes; false when the file is not whole.
    virtual bool Close() = 0;
};

class ISyncFileReader {
public:
    virtual ~ISyncFileReader() = default;
    virtual int64_t Size() const = 0;
    // Exactly size bytes, or false.
    virtual bool Read(uint8_t* buffer, size_t size) = 0;
};

class ISyncSessionWork {
public:
    virtual ~ISyncSessionWork() = default;
    virtual int Mode() = 0;
    // A new file for a received name the batch accepts; none when it cannot
    // be made (the bytes are then read and dropped, and the session fails).
    virtual std::unique_ptr<ISyncFileWriter> CreateReceivedFile(SyncBatch batch, const std::string& name) = 0;
    // Whether a sync may run now (the program is unlocked and has a user).
    virtual bool CanSync() = 0;
    // Reads the received database's information row.
    virtual bool ReadDatabaseInfo() = 0;
    // The password check, then the merge and its saves.
    virtual SyncMergeResult CheckPasswordAndMerge() = 0;
    // Base names of the files of a set, in the order they go.
    virtual std::vector<std::string> ListFiles(SyncSendSet set) = 0;
    // None when the file cannot be opened now (it is then left out).
    virtual std::unique_ptr<ISyncFileReader> OpenFileToSend(SyncSendSet set, const std::string& name) = 0;
    // Handheld overwrites desktop: the received attachments take the place of
    // the user's.
    virtual bool ApplyHandheldAttachments() = 0;
    virtual bool WantsPasswordHint() = 0;
    virtual void StorePasswordHint(const std::string& hint) = 0;
};
