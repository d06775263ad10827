#include "sync/merge/HandheldMerge.h"

#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/UniqueList.h"
#include "core/store/DatabaseObj.h"
#include "sync/handheld/HandheldDatabase.h"
#include "sync/handheld/IPhoneRecordTable.h"
#include "sync/merge/IPhoneSync.h"
#include "sync/protocol/SyncSessionWork.h"

namespace {

struct HandheldLists {
    CCategoryList categories;
    CTypesList types;
    CRecordList records;
};

int ReadHandheldSide(CHandheldDatabase& handheld, HandheldLists& lists, CiPhoneRecordTable& table)
{
    HH_CHECK(handheld.ReadCategories(lists.categories));
    HH_CHECK(handheld.ReadTypes(lists.types));
    HH_CHECK(handheld.ReadRecords(lists.records, lists.types, table));
    HH_CHECK(handheld.ApplyEditedCategories(lists.categories));
    HH_CHECK(handheld.ApplyEditedTypes(lists.types));
    HH_CHECK(handheld.ApplyEditedRecords(lists.records));
    return kHandheldOk;
}

// Handheld records that point at a desktop category or type deleted there
// lose that key.
void UnfileFromDeleted(CRecordList& records, const CObjectList& categories, const CObjectList& types)
{
    static const uint8_t kNone[kUniqueKeySize] = {};
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        CRecord* record = static_cast<CRecord*>(records.GetNext(pos));
        const CBaseItem* category = categories.FindByUid(record->GetCategoryKey());
        if (category && category->IsDeleted()) record->SetCategoryKey(kNone);
        const CBaseItem* type = types.FindByUid(record->GetTypeKey());
        if (type && type->IsDeleted()) record->SetTypeKey(kNone);
    }
}

void MergeList(CiPhoneSync& sync, int mode, CObjectList& desktop, CObjectList& handheld, bool records)
{
    switch (mode) {
    case kSyncDesktopOverwrites: sync.Overwrite(desktop, handheld); break;
    case kSyncHandheldOverwrites: sync.Overwrite(handheld, desktop); break;
    default: sync.Sync(desktop, handheld); break;
    }
    desktop.PurgeDeleted();
    desktop.SetModifiedAll(false);
    if (records) desktop.ClearSyncWord();
}

int WriteBack(const HandheldMergeSetup& setup, HandheldLists& lists, CiPhoneRecordTable& table,
              const std::vector<CString>& changedIds)
{
    std::unique_ptr<CHandheldDatabase> out =
        OpenHandheldDatabaseForWrite(setup.handheldDatabasePath, setup.handheldPassword);
    if (!out || !out->HasDatabase()) return kHandheldNoDatabase;
    if (setup.deadlineMs != 0) out->SetDeadline(setup.deadlineMs);
    HH_CHECK(out->BeginWriteBack());
    HH_CHECK(out->WriteCategories(lists.categories));
    HH_CHECK(out->WriteTypes(lists.types));
    HH_CHECK(out->WriteRecords(lists.records, lists.types, lists.categories, table));
    if (setup.mode == kSyncBothWays) HH_CHECK(out->WriteDeletedRecordIds(changedIds));
    HH_CHECK(out->CommitWriteBack(table));
    out->Close();
    return kHandheldOk;
}

}  // namespace

int MergeHandheldDatabase(CDatabaseObj& desktop, CHandheldDatabase& handheld, CiPhoneRecordTable& table,
                          const HandheldMergeSetup& setup)
{
    HandheldLists lists;
    if (ReadHandheldSide(handheld, lists, table) != kHandheldOk) return kHandheldMergeReadFailed;

    std::vector<CString> changedIds;
    if (setup.mode == kSyncBothWays) {
        handheld.SetDatabasePath(desktop.GetFilePath());
        if (handheld.ApplyDeletedCategories(desktop.GetCategories(), desktop.GetRecords()) != kHandheldOk ||
            handheld.ApplyDeletedTypes(desktop.GetTypes(), desktop.GetRecords()) != kHandheldOk ||
            handheld.ApplyDeletedRecords(desktop.GetRecords()) != kHandheldOk) {
            return kHandheldMergeReadFailed;
        }
        UnfileFromDeleted(lists.records, desktop.GetCategories(), desktop.GetTypes());
        CiPhoneRecSync().AfterMerge(desktop.GetRecords(), lists.records, setup.attachmentsFolder,
                                    setup.receivedAttachments);
        for (POSITION pos = desktop.GetRecords().GetHeadPosition(); pos;) {
            const CBaseItem* record = static_cast<const CBaseItem*>(desktop.GetRecords().GetNext(pos));
            if (record->GetAttachmentChanged() != 1) continue;
            CString id;
            id.Format("%u", static_cast<unsigned>(record->GetId()));
            changedIds.push_back(id);
        }
    }
    handheld.Close();

    {
        CiPhoneCatSync categories;
        MergeList(categories, setup.mode, desktop.GetCategories(), lists.categories, false);
        CiPhoneTypSync types;
        MergeList(types, setup.mode, desktop.GetTypes(), lists.types, false);
        CiPhoneRecSync records;
        MergeList(records, setup.mode, desktop.GetRecords(), lists.records, true);
    }

    // The handheld's copy is rewritten first: it lives in the session's own
    // folder, so a failure there leaves the desktop as it was.
    if (setup.mode != kSyncHandheldOverwrites && WriteBack(setup, lists, table, changedIds) != kHandheldOk) {
        return kHandheldMergeWriteBackFailed;
    }
    if (setup.onState) setup.onState(5);
    if (desktop.Save(0, setup.desktopKey) != 0) return kHandheldMergeSaveFailed;
    return kHandheldMergeOk;
}
