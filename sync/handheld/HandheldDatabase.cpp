#include "sync/handheld/HandheldDatabase.h"

#include <algorithm>
#include <array>
#include <set>
#include <unordered_set>

#include "core/items/Category.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "sync/handheld/HandheldEncoding.h"
#include "sync/handheld/HandheldSchema.h"
#include "sync/handheld/HandheldStatement.h"
#include "sync/handheld/IPhoneRecordTable.h"

namespace {
const int kInfoColumns = 7;
const int kCategoryColumns = 2;
const int kTypeColumns = 14;
const int kRecordColumns = 22;
// A pass that has run this long is cut short whatever the file holds.
const int64_t kDefaultWorkMs = 15 * 60 * 1000;

using Key = std::array<uint8_t, kUniqueKeySize>;

Key ToKey(const uint8_t* bytes)
{
    Key key;
    std::copy(bytes, bytes + kUniqueKeySize, key.begin());
    return key;
}

// A non-null key seen before in this pass.
bool IsRepeated(std::set<Key>& seen, const uint8_t* key)
{
    return !IsNullUniqueKey(key) && !seen.insert(ToKey(key)).second;
}
}  // namespace

CHandheldDatabase::CHandheldDatabase(std::unique_ptr<CSQLiteDBWrapper> db)
    : m_db(std::move(db)), m_deadline(HandheldClockMs() + kDefaultWorkMs)
{}

int CHandheldDatabase::CheckedSchema()
{
    // Without a database the statements answer for themselves.
    if (!HasDatabase()) return kHandheldOk;
    if (!m_schemaChecked) {
        m_schemaChecked = true;
        GuardHandheldConnection(*m_db, &m_deadline);
        m_schemaResult = CheckHandheldSchema(*m_db);
    }
    return m_schemaResult;
}

CHandheldDatabase::~CHandheldDatabase() { Close(); }

void CHandheldDatabase::Close()
{
    if (m_writing && m_db) m_db->Exec("ROLLBACK;");
    m_writing = false;
    m_db.reset();
}

std::unique_ptr<CHandheldDatabase> OpenHandheldDatabase(const CString& path)
{
    std::unique_ptr<CSQLiteDBWrapper> db;
    if (!path.IsEmpty()) db.reset(new CSQLiteDBWrapper(path, SQLITE_OPEN_READONLY));
    return std::unique_ptr<CHandheldDatabase>(new CHandheldDatabase(std::move(db)));
}

int CHandheldDatabase::ReadInfo(CHandheldDatabaseInfo& info)
{
    HH_CHECK(CheckedSchema());
    CHandheldStatement statement(m_db.get());
    HH_CHECK(statement.Prepare("SELECT * FROM DATABASEINFOTABLE;"));
    int row = statement.NextRow(kInfoColumns);
    if (row < 0) return row;
    if (row == 0) return kHandheldNoInfoRow;

    CHandheldDatabaseInfo read;
    HH_CHECK(statement.WideText(0, read.databaseName));
    HH_CHECK(statement.Integer(1, read.version));
    const void* data = nullptr;
    int length = 0;
    HH_CHECK(statement.Bytes(2, data, length));
    if (length > kMaxCipheredFieldBytes) return kHandheldValueTooLong;
    if (data && length > 0)
        read.passwordCrib.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + length);
    HH_CHECK(statement.Bytes(3, data, length));
    HH_CHECK(DecryptHandheldPassword(data, length, read.password));
    HH_CHECK(statement.Real(4, read.dateCreated));
    HH_CHECK(statement.WideText(5, read.userName));
    HH_CHECK(statement.WideText(6, read.userId));

    SetFieldPassword(read.password);
    info = std::move(read);
    return kHandheldOk;
}

int CHandheldDatabase::ReadCategories(CCategoryList& categories)
{
    HH_CHECK(CheckedSchema());
    CHandheldStatement statement(m_db.get());
    HH_CHECK(statement.Prepare("SELECT * FROM CATAGORIESTABLE;"));
    std::vector<std::unique_ptr<CCategoryItem>> read;
    std::set<Key> seen;
    int row;
    while ((row = statement.NextRow(kCategoryColumns)) == 1) {
        std::unique_ptr<CCategoryItem> category(new CCategoryItem);
        uint8_t key[kUniqueKeySize];
        HH_CHECK(statement.Uid(0, key));
        if (IsRepeated(seen, key)) return kHandheldDuplicate;
        CString name;
        bool hasName = false;
        HH_CHECK(statement.Field(1, m_cipher, name, hasName));
        if (!hasName) continue;
        category->SetKey(key);
        category->SetMainText(name);
        read.push_back(std::move(category));
    }
    if (row < 0) return row;
    for (auto& category : read) categories.AddSorted(category.release());
    return kHandheldOk;
}

int CHandheldDatabase::ReadTypes(CTypesList& types)
{
    HH_CHECK(CheckedSchema());
    CHandheldStatement statement(m_db.get());
    HH_CHECK(statement.Prepare("SELECT * FROM TYPESTABLE;"));
    std::vector<std::unique_ptr<CTypeItem>> read;
    std::set<Key> seen;
    int row;
    while ((row = statement.NextRow(kTypeColumns)) == 1) {
        std::unique_ptr<CTypeItem> type(new CTypeItem);
        uint8_t key[kUniqueKeySize];
        HH_CHECK(statement.Uid(0, key));
        if (IsRepeated(seen, key)) return kHandheldDuplicate;
        type->SetKey(key);
        CString text;
        bool hasValue = false;
        HH_CHECK(statement.Field(1, m_cipher, text, hasValue));
        type->SetMainText(text);
        int64_t icon = 0, mask = 0;
        HH_CHECK(statement.Integer(2, icon));
        HH_CHECK(statement.Integer(3, mask));
        type->SetIcon(static_cast<WORD>(icon));
        type->SetHiddenMask(static_cast<WORD>(mask));
        for (int i = 0; i < kItemFieldCount; ++i) {
            HH_CHECK(statement.Field(4 + i, m_cipher, text, hasValue));
            type->SetField(i, text);
        }
        read.push_back(std::move(type));
    }
    if (row < 0) return row;
    for (auto& type : read) types.AddSorted(type.release());
    return kHandheldOk;
}

int CHandheldDatabase::ReadCustomType(CHandheldStatement& statement, CRecord& record, const CTypeItem* type,
                                      const CString& uid)
{
    statement.Reset();
    HH_CHECK(statement.BindText(1, uid));
    int row = statement.NextRow(kTypeColumns);
    if (row <= 0) return row;  // no such row: the type's icon, mask and labels
    int64_t icon = 0, mask = 0;
    HH_CHECK(statement.Integer(2, icon));
    HH_CHECK(statement.Integer(3, mask));
    record.SetIcon(static_cast<WORD>(icon));
    record.SetHiddenMask(static_cast<WORD>(mask));
    for (int i = 0; i < kItemFieldCount; ++i) {
        CString label;
        bool hasValue = false;
        HH_CHECK(statement.Field(4 + i, m_cipher, label, hasValue));
        if (hasValue) record.SetFieldLabel(i, label, type);
    }
    return kHandheldOk;
}

int CHandheldDatabase::ReadRecords(CRecordList& records, const CTypesList& types, CiPhoneRecordTable& table)
{
    HH_CHECK(CheckedSchema());
    CHandheldStatement statement(m_db.get());
    HH_CHECK(statement.Prepare("SELECT * FROM RECORDSTABLE;"));
    CHandheldStatement customType(m_db.get());
    bool customTypePrepared = false;
    // Records take the file's uid instead of drawing one each.
    CRecordUidFromFileScope uidFromFile;

    std::vector<std::unique_ptr<CRecord>> read;
    std::vector<std::shared_ptr<CiPhoneRecord>> entries;
    std::set<Key> seenUids;
    std::unordered_set<int32_t> seenIds;
    int row;
    while ((row = statement.NextRow(kRecordColumns)) == 1) {
        std::unique_ptr<CRecord> record(new CRecord);
        uint8_t key[kUniqueKeySize];
        HH_CHECK(statement.Uid(0, key));
        if (IsRepeated(seenUids, key)) return kHandheldDuplicate;
        record->SetUid(key);
        int64_t value = 0;
        HH_CHECK(statement.Integer(1, value));
        int32_t id = static_cast<int32_t>(static_cast<uint32_t>(value));
        if (!seenIds.insert(id).second) return kHandheldDuplicate;
        record->SetId(id);

        HH_CHECK(statement.Uid(3, key));
        record->SetCategoryKey(key);
        HH_CHECK(statement.Uid(4, key));
        const CTypeItem* type = static_cast<const CTypeItem*>(types.FindByUid(key));
        record->SetType(type);

        CString text;
        bool hasValue = false;
        for (int i = 0; i < kItemFieldCount - 1; ++i) {
            HH_CHECK(statement.Field(5 + i, m_cipher, text, hasValue));
            record->SetField(i, text);
        }
        HH_CHECK(statement.Field(14, m_cipher, text, hasValue));
        record->SetField(kItemFieldCount - 1, HandheldDateToDesktop(text));
        HH_CHECK(statement.Field(19, m_cipher, text, hasValue));
        record->SetAttachmentName(text);
        HH_CHECK(statement.Field(20, m_cipher, text, hasValue));
        record->SetAttachmentKey(text);
        HH_CHECK(statement.Field(15, m_cipher, text, hasValue));
        record->SetMainText(text);

        std::shared_ptr<CiPhoneRecord> entry(new CiPhoneRecord);
        entry->id = id;
        CopyUniqueKey(entry->uid, record->GetUid());
        HH_CHECK(statement.Integer(16, value));
        entry->hasCustom = static_cast<int32_t>(value);
        if (entry->hasCustom == 1) {
            CString uidText;
            bool isNull = false;
            // A custom type uid that is no uid (another length, not text)
            // names no custom row: the record keeps its type's look, as for a
            // uid that no row has.
            const bool readable = statement.UidText(17, uidText, isNull) == kHandheldOk &&
                                  statement.Uid(17, entry->customKey) == kHandheldOk;
            if (!readable) ClearUniqueKey(entry->customKey);
            if (readable && !isNull) {
                if (!customTypePrepared) {
                    HH_CHECK(customType.Prepare("SELECT * FROM CUSTOMTYPESTABLE WHERE UID = ?;"));
                    customTypePrepared = true;
                }
                HH_CHECK(ReadCustomType(customType, *record, type, uidText));
            }
        }
        HH_CHECK(statement.Integer(18, value));
        entry->flags = static_cast<int32_t>(value);
        HH_CHECK(statement.Integer(21, value));
        entry->kept = static_cast<int32_t>(value);
        entries.push_back(std::move(entry));

        if (!record->AllFieldsEmpty()) read.push_back(std::move(record));
    }
    if (row < 0) return row;
    for (auto& entry : entries) table.Add(std::move(entry));
    for (auto& record : read) records.Add(record.release());
    return kHandheldOk;
}
