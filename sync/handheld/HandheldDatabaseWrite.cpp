// The write-back: the received handheld file emptied and rewritten from the
// merged lists inside one transaction, so the handheld gets either all of
// them or, when anything fails, the file exactly as it came.
#include <cstdlib>
#include <set>
#include <unordered_set>

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "sync/handheld/HandheldDatabase.h"
#include "sync/handheld/HandheldEncoding.h"
#include "sync/handheld/HandheldStatement.h"
#include "sync/handheld/IPhoneRecordTable.h"

namespace {
const char* const kClearStatements[] = {
    "DELETE FROM CATAGORIESTABLE;",        "DELETE FROM TYPESTABLE;",        "DELETE FROM RECORDSTABLE;",
    "DELETE FROM CUSTOMTYPESTABLE;",       "DELETE FROM DELETEDTYPESTABLE;", "DELETE FROM DELETEDRECORDSTABLE;",
    "DELETE FROM DELETEDCATAGORIESTABLE;", "DELETE FROM EDITEDTYPESTABLE;",  "DELETE FROM EDITEDRECORDSTABLE;",
    "DELETE FROM EDITEDCATAGORIESTABLE;",
};

// The key a row is written under: the item's own, or a new one when it is
// null or an earlier row of the table has it already (the handheld's
// tables key their rows by uid).
void RowKey(const uint8_t* own, std::set<uint64_t>& written, uint8_t key[kUniqueKeySize])
{
    auto asNumber = [](const uint8_t* k) {
        uint64_t n = 0;
        for (int i = 0; i < kUniqueKeySize; ++i) n = n << 8 | k[i];
        return n;
    };
    CopyUniqueKey(key, own);
    while (IsNullUniqueKey(key) || !written.insert(asNumber(key)).second) NewUniqueKey(key);
}

// Whether the record's labels, masking or icon differ from its type's, so
// that it needs a CUSTOMTYPESTABLE row of its own.
bool HasCustomFields(const CRecord& record, const CTypeItem* type, const CiPhoneRecord* entry,
                     const CString defaultLabels[kItemFieldCount])
{
    for (int i = 0; i < kItemFieldCount; ++i) {
        bool masked = record.IsFieldMasked(i);
        CString label = record.GetFieldLabel(i, type, false);
        if (type) {
            if (masked != type->IsFieldMasked(i) || label != type->GetFieldName(i)) return true;
        } else if (masked || label != defaultLabels[i]) {
            return true;
        }
    }
    if (entry && entry->hasCustom == 1) return true;
    return type ? record.GetIcon() != type->GetIcon() : record.GetIcon() != kDefaultItemIcon;
}
}  // namespace

std::unique_ptr<CHandheldDatabase> OpenHandheldDatabaseForWrite(const CString& path, const CSecretString& password)
{
    std::unique_ptr<CSQLiteDBWrapper> db;
    // The received file must be there: a missing one is not made up empty.
    if (!path.IsEmpty()) db.reset(new CSQLiteDBWrapper(path, SQLITE_OPEN_READWRITE));
    std::unique_ptr<CHandheldDatabase> database(new CHandheldDatabase(std::move(db)));
    database->SetFieldPassword(password);
    return database;
}

int CHandheldDatabase::FailWriteBack(int result)
{
    if (m_writing && m_db) m_db->Exec("ROLLBACK;");
    m_writing = false;
    m_writeResult = result;
    return result;
}

int CHandheldDatabase::BeginWriteBack()
{
    if (!HasDatabase()) return m_writeResult = kHandheldNoDatabase;
    if (m_writing) return FailWriteBack(kHandheldWriteFailed);
    // Never written into a file of another schema: what it took would not
    // read back.
    // (A file that cannot even be looked at now is a failed write.)
    if (int schema = CheckedSchema())
        return m_writeResult = schema == kHandheldForeignSchema ? schema : kHandheldWriteFailed;
    if (m_db->Exec("BEGIN IMMEDIATE;") != SQLITE_OK) return m_writeResult = kHandheldWriteFailed;
    m_writing = true;
    m_writeResult = kHandheldOk;
    m_writtenRecordIds.clear();
    for (const char* sql : kClearStatements)
        if (m_db->Exec(sql) != SQLITE_OK) return FailWriteBack(kHandheldWriteFailed);
    return kHandheldOk;
}

#define HH_WRITE(expr)                                                                                                 \
    do {                                                                                                               \
        int hhResult_ = (expr);                                                                                        \
        if (hhResult_ != kHandheldOk) return FailWriteBack(hhResult_);                                                 \
    } while (0)

int CHandheldDatabase::WriteCategories(const CCategoryList& categories)
{
    if (!m_writing) return m_writeResult != kHandheldOk ? m_writeResult : kHandheldWriteFailed;
    CHandheldStatement insert(m_db.get());
    HH_WRITE(insert.Prepare("INSERT INTO CATAGORIESTABLE VALUES(?, ?);"));
    std::set<uint64_t> written;
    for (POSITION pos = categories.GetHeadPosition(); pos;) {
        const CBaseItem* category = static_cast<const CBaseItem*>(categories.GetNext(pos));
        if (category->GetItemKind() != kItemKindCategory || category->IsDeleted()) continue;
        uint8_t key[kUniqueKeySize];
        RowKey(category->GetKey(), written, key);
        HH_WRITE(insert.BindUid(1, key));
        HH_WRITE(insert.BindField(2, m_cipher, category->GetName(), true));
        HH_WRITE(insert.Execute());
    }
    return kHandheldOk;
}

int CHandheldDatabase::WriteTypes(const CTypesList& types)
{
    if (!m_writing) return m_writeResult != kHandheldOk ? m_writeResult : kHandheldWriteFailed;
    CHandheldStatement insert(m_db.get());
    HH_WRITE(insert.Prepare("INSERT INTO TYPESTABLE VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);"));
    std::set<uint64_t> written;
    for (POSITION pos = types.GetHeadPosition(); pos;) {
        const CBaseItem* type = static_cast<const CBaseItem*>(types.GetNext(pos));
        if (type->GetItemKind() != kItemKindType || type->IsDeleted()) continue;
        uint8_t key[kUniqueKeySize];
        RowKey(type->GetKey(), written, key);
        HH_WRITE(insert.BindUid(1, key));
        HH_WRITE(insert.BindField(2, m_cipher, type->GetName(), true));
        HH_WRITE(insert.BindInt64(3, type->GetIcon()));
        HH_WRITE(insert.BindInt64(4, type->GetHiddenMask()));
        for (int i = 0; i < kItemFieldCount; ++i)
            HH_WRITE(insert.BindField(5 + i, m_cipher, type->GetFieldName(i), false));
        HH_WRITE(insert.Execute());
    }
    return kHandheldOk;
}

int CHandheldDatabase::WriteRecords(const CRecordList& records, const CTypesList& types,
                                    const CCategoryList& categories, const CiPhoneRecordTable& table)
{
    if (!m_writing) return m_writeResult != kHandheldOk ? m_writeResult : kHandheldWriteFailed;
    CHandheldStatement insert(m_db.get());
    HH_WRITE(insert.Prepare("INSERT INTO RECORDSTABLE VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                            "?, ?, ?, ?);"));
    CHandheldStatement insertCustom(m_db.get());
    HH_WRITE(insertCustom.Prepare("INSERT INTO CUSTOMTYPESTABLE VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);"));
    CString defaultLabels[kItemFieldCount];
    for (int i = 0; i < kItemFieldCount; ++i) defaultLabels[i] = DefaultFieldLabel(i);

    std::set<uint64_t> writtenUids, writtenCustomKeys;
    std::unordered_set<int32_t> writtenIds;
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        const CBaseItem* item = static_cast<const CBaseItem*>(records.GetNext(pos));
        if (item->GetItemKind() != kItemKindRecord || item->IsDeleted()) continue;
        const CRecord& record = *static_cast<const CRecord*>(item);
        const CTypeItem* type = static_cast<const CTypeItem*>(types.FindByUid(record.GetTypeKey()));
        std::shared_ptr<CiPhoneRecord> entry = table.Find(record.GetId());

        uint8_t uid[kUniqueKeySize];
        RowKey(record.GetUid(), writtenUids, uid);
        // DUID is unique on the handheld: a repeated id is written under a
        // free one rather than losing the row.
        int32_t id = record.GetId();
        while (!writtenIds.insert(id).second) id = records.NewFreeId();

        bool custom = HasCustomFields(record, type, entry.get(), defaultLabels);
        uint8_t customKey[kUniqueKeySize];
        if (custom) {
            static const uint8_t kNone[kUniqueKeySize] = {};
            RowKey(kNone, writtenCustomKeys, customKey);
            HH_WRITE(insertCustom.BindUid(1, customKey));
            HH_WRITE(insertCustom.BindField(2, m_cipher, type ? type->GetName() : CString("Unfiled"), true));
            HH_WRITE(insertCustom.BindInt64(3, record.GetIcon()));
            HH_WRITE(insertCustom.BindInt64(4, record.GetHiddenMask()));
            for (int i = 0; i < kItemFieldCount; ++i)
                HH_WRITE(insertCustom.BindField(5 + i, m_cipher, record.GetFieldLabel(i, type, false), false));
            HH_WRITE(insertCustom.Execute());
        }

        HH_WRITE(insert.BindUid(1, uid));
        HH_WRITE(insert.BindInt64(2, static_cast<uint32_t>(id)));
        HH_WRITE(insert.BindInt64(3, 0));
        HH_WRITE(insert.BindUid(4, record.GetCategoryKey()));
        HH_WRITE(insert.BindUid(5, record.GetTypeKey()));
        for (int i = 0; i < kItemFieldCount - 1; ++i)
            HH_WRITE(insert.BindField(6 + i, m_cipher, record.GetFieldDisplayText(i, false), false));
        HH_WRITE(insert.BindField(15, m_cipher, DesktopDateToHandheld(record.GetField(kItemFieldCount - 1)), false));
        HH_WRITE(insert.BindField(16, m_cipher, record.GetNotes(), true));
        if (custom) {
            HH_WRITE(insert.BindInt64(17, 1));
            HH_WRITE(insert.BindUid(18, customKey));
        }
        if (entry) HH_WRITE(insert.BindInt64(19, entry->flags));
        HH_WRITE(insert.BindField(20, m_cipher, record.GetAttachmentName(), true));
        HH_WRITE(insert.BindField(21, m_cipher, record.GetAttachmentKey(), true));
        if (entry) HH_WRITE(insert.BindInt64(22, entry->kept));
        HH_WRITE(insert.Execute());
        m_writtenRecordIds.push_back(record.GetId());
    }
    return kHandheldOk;
}

int CHandheldDatabase::WriteDeletedRecordIds(const std::vector<CString>& ids)
{
    if (!m_writing) return m_writeResult != kHandheldOk ? m_writeResult : kHandheldWriteFailed;
    CHandheldStatement insert(m_db.get());
    HH_WRITE(insert.Prepare("INSERT INTO DELETEDRECORDSTABLE VALUES (?, ?);"));
    std::set<uint64_t> written;
    for (const CString& text : ids) {
        static const uint8_t kNone[kUniqueKeySize] = {};
        uint8_t key[kUniqueKeySize];
        RowKey(kNone, written, key);
        HH_WRITE(insert.BindUid(1, key));
        HH_WRITE(insert.BindInt64(2, std::strtoll(text, nullptr, 10)));
        HH_WRITE(insert.Execute());
    }
    return kHandheldOk;
}

int CHandheldDatabase::CommitWriteBack(CiPhoneRecordTable& table)
{
    if (!m_writing) return m_writeResult != kHandheldOk ? m_writeResult : kHandheldWriteFailed;
    if (m_db->Exec("COMMIT;") != SQLITE_OK) return FailWriteBack(kHandheldWriteFailed);
    m_writing = false;
    for (int32_t id : m_writtenRecordIds) table.RemoveById(id);
    m_writtenRecordIds.clear();
    return kHandheldOk;
}
