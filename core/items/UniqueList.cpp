#include "core/items/UniqueList.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/items/Category.h"
#include "core/items/TypeItem.h"

void CUniqueList::AddSorted(CBaseItem* item)
{
    if (!item) return;
    if (IsNullUniqueKey(item->GetKey())) {
        uint8_t key[kUniqueKeySize];
        NewUniqueKey(key);
        item->SetKey(key);
    }
    InsertSorted(item);
}

void CUniqueList::InsertSorted(CBaseItem* item)
{
    if (!item) return;
    if (m_nameIndex && m_nameIndex->inOrder) {
        // Before the first item whose name is not less: the first of the
        // smallest name not less than this one.
        const std::string name = OrderName(item);
        const auto next = m_nameIndex->byOrder.lower_bound(name);
        const POSITION pos = next == m_nameIndex->byOrder.end() ? AddTail(item) : InsertBefore(next->second, item);
        m_nameIndex->byOrder[name] = pos;
        IndexJoined(item, true);
        return;
    }
    InsertSortedByWalk(item);
    if (m_nameIndex) IndexJoined(item, true);
}

void CUniqueList::InsertSortedByWalk(CBaseItem* item)
{
    const CString name = item->GetName();
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION at = pos;
        const CBaseItem* other = static_cast<CBaseItem*>(GetNext(pos));
        // The C runtime's default collation: byte-wise and case-sensitive.
        if (strcmp(other->GetName().GetString(), name.GetString()) >= 0) {
            InsertBefore(at, item);
            return;
        }
    }
    AddTail(item);
}

void CUniqueList::SortByName()
{
    // The order of inserting each item in turn (InsertSorted), without its
    // quadratic cost on a file with many items: a stable sort of the items
    // taken from the end, as each insert goes before its equals.
    std::vector<std::pair<CString, CBaseItem*>> items;
    items.reserve(static_cast<size_t>(GetCount()));  // before anything leaves the list
    for (POSITION pos = GetTailPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetPrev(pos));
        items.emplace_back(item->GetName(), item);
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return strcmp(a.first.GetString(), b.first.GetString()) < 0; });
    POSITION pos = GetHeadPosition();
    for (const auto& entry : items) {
        SetAt(pos, entry.second);
        GetNext(pos);
    }
}

CBaseItem* CUniqueList::FindCounterpart(const CBaseItem* item) const
{
    CBaseItem* found = CObjectList::FindCounterpart(item);
    if (!found && item) found = FindByKey(item->GetKey());
    return found;
}

namespace {

uint64_t KeyValue(const uint8_t* key)
{
    uint64_t value;
    memcpy(&value, key, sizeof value);
    return value;
}

}  // namespace

int CUniqueList::MakeKeysUnique()
{
    std::unordered_set<uint64_t> taken, seen;
    for (POSITION pos = GetHeadPosition(); pos;)
        taken.insert(KeyValue(static_cast<CBaseItem*>(GetNext(pos))->GetKey()));
    int changed = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (seen.insert(KeyValue(item->GetKey())).second) continue;
        uint8_t key[kUniqueKeySize];
        do NewUniqueKey(key);
        while (!taken.insert(KeyValue(key)).second);
        item->SetKey(key);
        item->SetModified(true);
        seen.insert(KeyValue(key));
        ++changed;
    }
    return changed;
}

CTypesList::CTypesList() = default;

CTypesList::~CTypesList() = default;

CBaseItem* CTypesList::NewItem()
{
    try {
        return WithFreeId(new CTypeItem);
    } catch (const std::exception&) {
        return nullptr;
    }
}

const CRuntimeClass* CTypesList::ElementClass() const { return RUNTIME_CLASS(CTypeItem); }

CString CTypesList::GetFieldLabel(const uint8_t key[kUniqueKeySize], int index) const
{
    if (const CBaseItem* type = FindByKey(key)) return type->GetFieldName(index);
    return DefaultFieldLabel(index);
}

void CTypesList::GetFieldLabels(const uint8_t key[kUniqueKeySize], CStringArray& labels) const
{
    labels.SetSize(kItemFieldCount);
    for (int i = 0; i < kItemFieldCount; ++i) labels[i] = GetFieldLabel(key, i);
}

WORD CTypesList::GetHiddenMask(const uint8_t key[kUniqueKeySize]) const
{
    const CBaseItem* type = FindByKey(key);
    return type ? type->GetHiddenMask() : 0;
}

CCategoryList::CCategoryList() = default;

CCategoryList::~CCategoryList() = default;

CBaseItem* CCategoryList::NewItem()
{
    try {
        return WithFreeId(new CCategoryItem);
    } catch (const std::exception&) {
        return nullptr;
    }
}

const CRuntimeClass* CCategoryList::ElementClass() const { return RUNTIME_CLASS(CCategoryItem); }
