#pragma once
// CSyncSessionFolder: the throw-away folder of one Wi-Fi sync session. Each
// session gets a new folder of its own below the temporary folder; whatever
// the handheld sends lands there (the database at its top, attachments and
// icons in sub-folders), under names the batch accepts and never outside
// it. The folder goes with everything in it when the session ends.
#include <cstdint>
#include <memory>
#include <string>

#include "sync/protocol/SyncSessionWork.h"

class CSyncSessionFolder {
public:
    CSyncSessionFolder() = default;
    ~CSyncSessionFolder();
    CSyncSessionFolder(const CSyncSessionFolder&) = delete;
    CSyncSessionFolder& operator=(const CSyncSessionFolder&) = delete;

    // Makes a folder below base that did not exist before. 0, or -1.
    int Create(const std::string& base);
    // Removes the folder and all it holds (also done by the destructor).
    void Remove();

    const std::string& Path() const { return m_path; }
    std::string DatabasePath() const;
    std::string AttachmentsFolder() const;
    std::string IconsFolder() const;
    // Where a received file of the batch goes; empty for a name the batch
    // does not take.
    std::string PathFor(SyncBatch batch, const std::string& name) const;
    // A new file there (its sub-folder made when needed); none for a refused
    // name or a file that cannot be made.
    std::unique_ptr<ISyncFileWriter> CreateFile(SyncBatch batch, const std::string& name) const;

private:
    std::string m_path;
};

// A file to send, opened for reading; none when it cannot be opened.
std::unique_ptr<ISyncFileReader> OpenSyncFileReader(const std::string& path);
