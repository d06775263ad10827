// CDatabaseObj::ImportRecord: one record from a line of imported columns.
#include <memory>

#include "core/items/Category.h"
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

// The type or category of that name, made (with a new key, in name order)
// when there is none. Null when it cannot be made.
CBaseItem* FindOrMake(CUniqueList& list, const CString& name, int itemClass, CNotifyProviderList* notices)
{
    if (CBaseItem* found = list.FindByName(name)) return found;
    std::unique_ptr<CBaseItem> item(list.NewItem());
    if (!item) return nullptr;
    CCategory* named = static_cast<CCategory*>(item.get());
    named->SetName(name);
    if (itemClass == NOTIFY_ITEM_TYPE)
        for (int i = 0; i < kItemFieldCount; ++i) named->SetField(i, DefaultFieldLabel(i));
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
    if (typeName.CompareNoCase(unfiled) != 0) {
        CBaseItem* type = FindOrMake(m_types, typeName, NOTIFY_ITEM_TYPE, notices);
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
    CStringArray labels;
    for (INT_PTR i = 0; i < customLabels.GetSize() && i < kItemFieldCount; ++i) labels.Add(customLabels[i]);
    record->SetCustomLabels(labels);
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
