#include "sync/session/AttachmentReplacement.h"

#include <filesystem>
#include <system_error>

#include "core/os/FileSystemOs.h"
#include "sync/protocol/SyncFileNames.h"

namespace fs = std::filesystem;

namespace {

fs::path Native(const std::string& path) { return fs::path(zvos::NativePath(path)); }

}  // namespace

bool AttachmentFileId(const std::string& name, uint32_t& id)
{
    if (!IsAcceptedSyncFileName(SyncBatch::kAttachments, name)) return false;
    id = static_cast<uint32_t>(std::stoul(name.substr(0, name.size() - 4), nullptr, 16));
    return true;
}

CAttachmentReplacement::~CAttachmentReplacement() { Rollback(); }

int CAttachmentReplacement::Replace(const std::string& userFolder, const std::string& receivedFolder,
                                    const std::set<uint32_t>& recordIds)
{
    Rollback();
    std::error_code error;
    m_folder = userFolder;
    m_aside = userFolder + ".zvsync-old";
    const fs::path folder = Native(m_folder), aside = Native(m_aside);
    // A leftover of an earlier session that could not be cleaned up.
    fs::remove_all(aside, error);
    if (error) return -1;
    m_hadFolder = fs::exists(folder, error);
    if (m_hadFolder) {
        fs::rename(folder, aside, error);
        if (error) return -1;
    }
    m_pending = true;
    if (!fs::create_directories(folder, error) && error) {
        Rollback();
        return -1;
    }
    const fs::path received = Native(receivedFolder);
    if (!fs::exists(received, error)) return 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(received, error)) {
        uint32_t id = 0;
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || !AttachmentFileId(name, id) || recordIds.count(id) == 0) continue;
        fs::copy_file(entry.path(), folder / name, fs::copy_options::overwrite_existing, error);
        if (error) {
            Rollback();
            return -1;
        }
    }
    if (error) {
        Rollback();
        return -1;
    }
    return 0;
}

void CAttachmentReplacement::Commit()
{
    if (!m_pending) return;
    m_pending = false;
    std::error_code error;
    if (m_hadFolder) fs::remove_all(Native(m_aside), error);
}

void CAttachmentReplacement::Rollback()
{
    if (!m_pending) return;
    m_pending = false;
    std::error_code error;
    fs::remove_all(Native(m_folder), error);
    if (m_hadFolder) fs::rename(Native(m_aside), Native(m_folder), error);
}
