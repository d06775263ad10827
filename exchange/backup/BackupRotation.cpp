// Backup folders and the automatic backup's rotation.
#include "exchange/backup/BackupRotation.h"

#include "core/items/Record.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/store/DatabaseObj.h"
#include "core/store/PasswordVerifier.h"
#include "exchange/ExchangeIds.h"
#include "exchange/backup/BackupFolders.h"
#include "exchange/readers/ExchangeFormats.h"
#include "exchange/writers/ExportWriter.h"

namespace {

const int kBackupSlots = 5;

// The backup of these records is complete when every attachment file that
// exists in the user's folder is in its "Files" too.
bool AttachmentsComplete(const std::vector<const CRecord*>& records, const CString& attachmentsFolder,
                         const CString& backupFolder)
{
    if (attachmentsFolder.IsEmpty()) return true;
    const CString files = JoinPath(backupFolder, "Files");
    for (const CRecord* record : records) {
        if (record->GetAttachmentName().IsEmpty() || record->GetAttachmentKey().IsEmpty()) continue;
        const CString stored = record->GetAttachmentFileName();
        if (FileExists(JoinPath(attachmentsFolder, stored)) && !FileExists(JoinPath(files, stored))) return false;
    }
    return true;
}

}  // namespace

CString AutomaticBackupName(int number)
{
    CString name;
    name.Format("Backup-%d.zkv", number);
    return name;
}

int NextBackupNumber(int counter)
{
    const int next = counter + 1;
    return next < 0 || next >= kBackupSlots ? 0 : next;
}

unsigned WriteBackupFolder(const CDatabaseObj& db, const CString& path, const BlowfishContext* cipher,
                           const CString& attachmentsFolder)
{
    return WriteExportFile(db, kFormatZkv4, CollectAllRecords(db), true, path, cipher, attachmentsFolder);
}

AutomaticBackupResult WriteAutomaticBackup(const CDatabaseObj& db, const CString& folder, int& counter,
                                           const BlowfishContext* cipher, const CString& attachmentsFolder)
{
    AutomaticBackupResult result;
    const std::vector<const CRecord*> records = CollectAllRecords(db);
    if (records.empty()) return result;
    if (!cipher && !VerifierIsZero(db.GetVerifier())) {
        result.outcome = AutomaticBackupResult::kNoKey;
        return result;
    }
    if (folder.IsEmpty()) {
        result.outcome = AutomaticBackupResult::kNoFolder;
        return result;
    }
    const int number = NextBackupNumber(counter);
    result.path = JoinPath(folder, AutomaticBackupName(number));
    result.outcome = AutomaticBackupResult::kFailed;
    if (!PathExists(folder) && CreateFolderPath(folder) != 0) {
        result.messageId = IDS_EXPORT_CREATE_ERROR;
        return result;
    }
    // Written under a name of its own (ending in ".zkv", as a ZkvFolder's
    // must), so that the backup it replaces stays whole until it is done.
    CString partName;
    partName.Format("Backup-%d.new.zkv", number);
    const CString part = JoinPath(folder, partName);
    backup::RemoveTree(part);
    result.messageId = WriteExportFile(db, kFormatZkv4, records, true, part, cipher, attachmentsFolder);
    if (result.messageId == 0 && !AttachmentsComplete(records, attachmentsFolder, part))
        result.messageId = IDS_EXPORT_WRITE_ERROR;
    // The file inside bears the folder's name.
    if (result.messageId == 0 &&
        !backup::RenamePath(JoinPath(part, partName), JoinPath(part, AutomaticBackupName(number))))
        result.messageId = IDS_EXPORT_WRITE_ERROR;
    if (result.messageId == 0 && !backup::ReplaceFolder(part, result.path)) result.messageId = IDS_EXPORT_WRITE_ERROR;
    if (result.messageId != 0) {
        backup::RemoveTree(part);
        return result;
    }
    counter = number;
    result.outcome = AutomaticBackupResult::kWritten;
    return result;
}
