// Restoring a database from an exchange file or folder.
#include "exchange/backup/DatabaseRestore.h"

#include "core/os/ChangeNotify.h"
#include "core/os/FileUtils.h"
#include "core/store/DatabaseObj.h"
#include "exchange/ExchangeIds.h"
#include "exchange/backup/BackupFolders.h"
#include "exchange/import/ExchangeImport.h"

namespace {

void MoveList(CObjectList& from, CObjectList& to)
{
    while (!from.IsEmpty()) to.Add(static_cast<CBaseItem*>(from.RemoveHead()));
}

// Where the restored attachment files wait until the database is saved.
CString StagingFolder(const CString& attachmentsFolder)
{
    return attachmentsFolder.IsEmpty() ? CString() : attachmentsFolder + ".restoring";
}

}  // namespace

void MoveDatabaseItems(CDatabaseObj& from, CDatabaseObj& to)
{
    MoveList(from.GetTypes(), to.GetTypes());
    MoveList(from.GetCategories(), to.GetCategories());
    MoveList(from.GetRecords(), to.GetRecords());
}

RestoreResult RestoreFromFile(CDatabaseObj& db, const CString& path, const BlowfishKeyPtr& masterKey,
                              const FilePasswordAsk& askPassword, const CString& attachmentsFolder, bool save)
{
    RestoreResult result;
    // Everything about the file is settled before the database is touched.
    ImportFileCheck check = PrepareImportFile(path, kFormatDetect, masterKey);
    if (check.messageId != 0) {
        result.messageId = check.messageId;
        return result;
    }
    BlowfishKeyPtr cipher = check.cipher;
    if (check.needsPassword) {
        cipher = askPassword ? askPassword(check.text) : nullptr;
        if (!cipher) {
            result.outcome = RestoreResult::kCancelled;
            return result;
        }
    }

    const CString staging = StagingFolder(attachmentsFolder);
    if (!staging.IsEmpty()) {
        backup::RemoveTree(staging);
        CreateFolderPath(staging);
    }
    CDatabaseObj restored;
    ImportResult imported;
    auto notices = std::make_shared<CNotifyProviderList>();
    ImportExchangeText(restored, check.format, check.text, cipher.get(), path, staging, notices.get(), imported);
    if (imported.records == 0) {
        if (!staging.IsEmpty()) backup::RemoveTree(staging);
        result.outcome = RestoreResult::kNothingFound;
        result.messageId = IDS_IMPORT_READ_ERROR;
        return result;
    }

    auto previous = std::make_shared<CDatabaseObj>();
    MoveDatabaseItems(db, *previous);
    MoveDatabaseItems(restored, db);
    if (save) {
        result.saveResult = db.Save();
        if (result.saveResult != 0) {
            MoveDatabaseItems(db, restored);  // dropped with the local object
            MoveDatabaseItems(*previous, db);
            if (!staging.IsEmpty()) backup::RemoveTree(staging);
            result.outcome = RestoreResult::kSaveFailed;
            return result;
        }
    }
    if (!staging.IsEmpty() && !backup::ReplaceFolder(staging, attachmentsFolder)) {
        // The old folder could not be moved aside: the restored files join it.
        backup::MoveFilesInto(staging, attachmentsFolder);
        backup::RemoveTree(staging);
    }
    result.outcome = RestoreResult::kRestored;
    result.records = imported.records;
    result.attachmentsCopied = imported.attachmentsCopied;
    result.previous = std::move(previous);
    result.notices = std::move(notices);
    return result;
}
