// CDatabaseObj::ImportRecord: one record from a line of imported columns.
#include <memory>

#include "core/items/Category.h"
#include "core/items/DefaultItems.h"
#include "core/os/ChangeNotify.h"
#include "core/store/DatabaseObj.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"

namespace {

const UINT kUnfiledStringId = 2111;
const WORD kIconOfType = 255;

CString UnfiledName()
{
    CString name;
    if (!name.LoadString(kUnfiledStringId)) name = "Unfiled";
    return name;
}

void Notice(CNotifyProviderList* notices, int itemClass, int id)
{
    if (notices) notices->AddNotice(NOTIFY_ADDED, itemClass, id);
}

}  // namespace

// "Web Logins" made by an import is the built-in type again: it takes that
// type's fixed key, unless some type (renamed, or deleted and kept as a
// tombstone) holds the key already; then it gets a key of its own.
void GiveWebLoginsKey(const CObjectList& types, CBaseItem& type)
{
    if (type.GetName() == "Web Logins" && !types.ContainsKey(kWebLoginsTypeKey)) type.SetKey(kWebLoginsTypeKey);
}

namespace {

// The type or category of that name, made (with a new key, in name order)
// when there is none. Null when it cannot be made.
CBaseItem* FindOrMake(CUniqueList& list, const CString& name, int itemClass, CNotifyProviderList* notices)
{
    if (CBaseItem* found = list.FindByName(name)) return found;
    std::unique_ptr<CBaseItem> item(list.NewItem());
    if (!item) return nullptr;
    CCategory* named = static_cast<CCategory*>(item.get());
    named->SetName(name);
    if (itemClass == NOTIFY_ITEM_TYPE) {
        for (int i = 0; i < kItemFieldCount; ++i) named->SetField(i, DefaultFieldLabel(i));
        GiveWebLoginsKey(list, *named);
    }
    named->SetModified(true);
    CBaseItem* added = item.release();
    list.AddSorted(added);
    Notice(notices, itemClass, added->GetId());
    return added;
}

}  // namespace

CRecord* CDatabaseObj::ImportRecord(const CStringArray& strings, WORD hiddenMask, const CStringArray& customLabels,
                                    const CString& categoryName, WORD icon, CNotifyProviderList* notices)
{
    static const uint8_t kNull[kUniqueKeySize] = {};
    const CString unfiled = UnfiledName();

    const CString typeName = strings.GetSize() > 0 ? strings[0] : CString();
    const uint8_t* typeKey = kNull;
    const CTypeItem* type = nullptr;
    // No name is no type: a type is never made without a name.
    if (!typeName.IsEmpty() && typeName.CompareNoCase(unfiled) != 0) {
        type = static_cast<const CTypeItem*>(FindOrMake(m_types, typeName, NOTIFY_ITEM_TYPE, notices));
        if (!type) return nullptr;
        typeKey = type->GetKey();
        if (icon == kIconOfType) icon = type->GetIcon();
    }
    const uint8_t* categoryKey = kNull;
    if (!categoryName.IsEmpty() && categoryName.CompareNoCase(unfiled) != 0) {
        CBaseItem* category = FindOrMake(m_categories, categoryName, NOTIFY_ITEM_CATEGORY, notices);
        if (!category) return nullptr;
        categoryKey = category->GetKey();
    }

    // A new id that no item of this database has.
    std::unique_ptr<CBaseItem> item(m_records.NewItem());
    CRecord* record = dynamic_cast<CRecord*>(item.get());
    if (!record) return nullptr;
    record->SetTypeKey(typeKey);
    record->SetCategoryKey(categoryKey);
    record->SetHiddenMask(hiddenMask);
    record->SetIcon(icon);
    // A label equal to the type's (its own, or the default one it shows
    // when it has none; without a type the default) is no label of the
    // record's, so that later changes to the type's labels still show.
    for (int i = 0; i < kItemFieldCount; ++i) {
        CString label = i < customLabels.GetSize() ? customLabels[i] : CString();
        if (label == m_types.GetFieldLabel(typeKey, i)) label.Empty();
        record->SetFieldLabel(i, label, type);
    }
    // The values follow the type name: the first ten are the fields, the
    // non-empty rest become the notes, each followed by CR LF unless it is
    // the last string of the line.
    const INT_PTR values = strings.GetSize() - 1;
    CString notes;
    for (INT_PTR i = 0; i < values; ++i) {
        const CString& value = strings[i + 1];
        if (i < kItemFieldCount) {
            record->SetField(static_cast<int>(i), value);
        } else if (!value.IsEmpty()) {
            notes += value;
            if (i + 1 < values) notes += "\r\n";
        }
    }
    record->SetNotes(notes);
    record->SetModified(true);
    m_records.Add(item.release());
    Notice(notices, NOTIFY_ITEM_RECORD, record->GetId());
    return record;
}

CDatabaseIdIndexScope::CDatabaseIdIndexScope(CDatabaseObj& db) : m_db(db)
{
    CObjectList* lists[] = {&db.GetRecords(), &db.GetTypes(), &db.GetCategories()};
    for (CObjectList* list : lists) {
        for (POSITION pos = list->GetHeadPosition(); pos;)
            m_ids.Insert(static_cast<CBaseItem*>(list->GetNext(pos))->GetId());
    }
    for (CObjectList* list : lists) list->SetIdIndex(&m_ids);
}

CDatabaseIdIndexScope::~CDatabaseIdIndexScope()
{
    m_db.GetRecords().SetIdIndex(nullptr);
    m_db.GetTypes().SetIdIndex(nullptr);
    m_db.GetCategories().SetIdIndex(nullptr);
}

CDatabaseNameIndexScope::CDatabaseNameIndexScope(CDatabaseObj& db) : m_db(db)
{
    db.GetTypes().SetNameIndex(&m_types);
    db.GetCategories().SetNameIndex(&m_categories);
}

CDatabaseNameIndexScope::~CDatabaseNameIndexScope()
{
    m_db.GetTypes().SetNameIndex(nullptr);
    m_db.GetCategories().SetNameIndex(nullptr);
}
