#pragma once
// CAttachmentReplacement: when the handheld overwrites the desktop, the
// received attachment files take the place of the user's attachment folder.
// Only "<hex id>.zfa" files of records the merged database holds are taken;
// the user's old folder is kept aside until the session has succeeded
// (Commit) and put back on failure or cancel (Rollback, also done by the
// destructor of an object that was not committed).
#include <cstdint>
#include <set>
#include <string>

class CAttachmentReplacement {
public:
    CAttachmentReplacement() = default;
    ~CAttachmentReplacement();
    CAttachmentReplacement(const CAttachmentReplacement&) = delete;
    CAttachmentReplacement& operator=(const CAttachmentReplacement&) = delete;

    // userFolder: the user's attachment folder (may not exist yet);
    // receivedFolder: where the session received the handheld's files. 0, or
    // -1 with the user's folder as it was.
    int Replace(const std::string& userFolder, const std::string& receivedFolder, const std::set<uint32_t>& recordIds);
    // The new folder stays; the old one goes.
    void Commit();
    // The old folder comes back as it was.
    void Rollback();

private:
    std::string m_folder;
    std::string m_aside;
    bool m_hadFolder = false;
    bool m_pending = false;
};

// The record id of an attachment file name ("<hex>.zfa", 1 to 8 digits).
bool AttachmentFileId(const std::string& name, uint32_t& id);
