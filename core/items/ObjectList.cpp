#include "core/items/ObjectList.h"

#include <atomic>
#include <cstring>

#include "core/crypto/Random.h"
#include "core/items/Record.h"
#include "framework/CArchive.h"

namespace {

std::atomic<bool> g_hardDelete{false};

const uint8_t kNullKey[kUniqueKeySize] = {};

constexpr UINT kUnfiledId = 2111;

std::string FoldedName(const CString& name)
{
    std::string folded = name.Std();
    if (!folded.empty()) ZvFoldLower(&folded[0], folded.size());
    return folded;
}

std::string KeyText(const uint8_t key[kUniqueKeySize])
{
    return std::string(reinterpret_cast<const char*>(key), kUniqueKeySize);
}

}  // namespace

void SetHardDeleteMode(bool hardDelete) { g_hardDelete.store(hardDelete); }

bool GetHardDeleteMode() { return g_hardDelete.load(); }

CObjectList::CObjectList() = default;

CObjectList::~CObjectList() { DeleteAll(); }

void CObjectList::DeleteAll()
{
    // The index knows no way out of the list: a removal ends its use.
    m_nameIndex = nullptr;
    while (!IsEmpty()) delete static_cast<CBaseItem*>(RemoveHead());
}

void CObjectList::Add(CBaseItem* item)
{
    if (!item) return;
    const POSITION pos = AddTail(item);
    if (!m_nameIndex) return;
    if (m_nameIndex->inOrder) {
        POSITION before = pos;
        GetPrev(before);
        const std::string name = OrderName(item);
        if (before && name < OrderName(static_cast<CBaseItem*>(GetAt(before)))) {
            // Appended out of name order: the order is no longer known.
            m_nameIndex->inOrder = false;
            m_nameIndex->byOrder.clear();
        } else {
            m_nameIndex->byOrder.emplace(name, pos);
        }
    }
    IndexJoined(item, false);
}

void CObjectList::SetNameIndex(NameIndex* index)
{
    m_nameIndex = nullptr;
    if (index) {
        *index = NameIndex();
        const CBaseItem* previous = nullptr;
        for (POSITION pos = GetHeadPosition(); pos;) {
            const POSITION at = pos;
            CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
            const std::string name = OrderName(item);
            if (previous && name < OrderName(previous)) index->inOrder = false;
            previous = item;
            index->byOrder.emplace(name, at);
            index->byKey.emplace(KeyText(item->GetKey()), item);
            if (!item->IsDeleted()) index->byName.emplace(FoldedName(item->GetName()), item);
        }
        if (!index->inOrder) index->byOrder.clear();
    }
    m_nameIndex = index;
}

std::string CObjectList::OrderName(const CBaseItem* item)
{
    // As strcmp sees it: up to the first zero.
    return std::string(item->GetName().GetString());
}

void CObjectList::IndexJoined(CBaseItem* item, bool beforeItsEquals)
{
    m_nameIndex->byKey.emplace(KeyText(item->GetKey()), item);
    if (item->IsDeleted()) return;
    auto found = m_nameIndex->byName.emplace(FoldedName(item->GetName()), item);
    // In name order an item put before its equals, or with a name that sorts
    // before the other spelling, is now the first of its folded name.
    if (!found.second && beforeItsEquals && OrderName(item) <= OrderName(found.first->second))
        found.first->second = item;
}

void CObjectList::Remove(CBaseItem* item)
{
    m_nameIndex = nullptr;
    if (!item) return;
    POSITION pos = Find(item);
    if (!pos) return;
    RemoveAt(pos);
    delete item;
}

void CObjectList::SoftDelete(CBaseItem* item)
{
    m_nameIndex = nullptr;
    if (!item) return;
    if (GetHardDeleteMode() || !item->NeedsTombstone()) {
        Remove(item);
        return;
    }
    item->SetDeleted(true);
    item->SetModified(true);
}

CBaseItem* CObjectList::FindCounterpart(const CBaseItem* item) const
{
    if (!item) return nullptr;
    switch (m_matchMode) {
    case kMatchById: return FindById(item->GetId());
    case kMatchByUid: return FindByUid(item->GetUid());
    default: return nullptr;
    }
}

CBaseItem* CObjectList::FindById(int32_t id) const
{
    if (id == 0) return nullptr;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (item->GetId() == id) return item;
    }
    return nullptr;
}

CBaseItem* CObjectList::FindByUid(const uint8_t uid[kUniqueKeySize]) const
{
    if (!uid || IsNullUniqueKey(uid)) return nullptr;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (IsSameUniqueKey(item->GetUid(), uid)) return item;
    }
    return nullptr;
}

void CObjectList::Serialize(CArchive& ar)
{
    const CRecordUidFromFileScope uidFromFile;
    SerializeElements(ar, ElementClass());
}

void CObjectList::PurgeDeleted()
{
    m_nameIndex = nullptr;
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION at = pos;
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (item->IsDeleted()) {
            RemoveAt(at);
            delete item;
        }
    }
}

void CObjectList::SetModifiedAll(bool modified)
{
    for (POSITION pos = GetHeadPosition(); pos;) static_cast<CBaseItem*>(GetNext(pos))->SetModified(modified);
}

void CObjectList::ClearSyncWord()
{
    for (POSITION pos = GetHeadPosition(); pos;) static_cast<CBaseItem*>(GetNext(pos))->SetAttachmentChanged(0);
}

CBaseItem* CObjectList::FindOrDetachById(int32_t id, bool detach)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION at = pos;
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (item->GetId() == id) {
            if (detach) RemoveAt(at);
            return item;
        }
    }
    return nullptr;
}

CBaseItem* CObjectList::FindRecordById(int32_t id) const
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (item->GetItemKind() == kItemKindRecord && item->GetId() == id) return item;
    }
    return nullptr;
}

CBaseItem* CObjectList::FindByKey(const uint8_t key[kUniqueKeySize]) const
{
    if (!key) return nullptr;
    if (m_nameIndex) {
        const auto found = m_nameIndex->byKey.find(KeyText(key));
        return found == m_nameIndex->byKey.end() ? nullptr : found->second;
    }
    for (POSITION pos = GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (IsSameUniqueKey(item->GetKey(), key)) return item;
    }
    return nullptr;
}

bool CObjectList::ContainsKey(const uint8_t key[kUniqueKeySize]) const { return FindByKey(key) != nullptr; }

CBaseItem* CObjectList::FindByName(const CString& text) const
{
    if (m_nameIndex) {
        const auto found = m_nameIndex->byName.find(FoldedName(text));
        return found == m_nameIndex->byName.end() ? nullptr : found->second;
    }
    for (POSITION pos = GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (!item->IsDeleted() && item->GetName().CompareNoCase(text) == 0) return item;
    }
    return nullptr;
}

CString CObjectList::GetNameByKey(const uint8_t key[kUniqueKeySize]) const
{
    if (const CBaseItem* item = FindByKey(key)) return item->GetName();
    CString unfiled;
    if (!unfiled.LoadString(kUnfiledId)) unfiled = "Unfiled";
    return unfiled;
}

const uint8_t* CObjectList::GetKeyAt(int n) const
{
    if (n < 0) return kNullKey;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (item->IsDeleted()) continue;
        if (n-- == 0) return item->GetKey();
    }
    return kNullKey;
}

bool CObjectList::IsIdInUse(int32_t id) const
{
    if (m_idIndex) return m_idIndex->ids.count(id) != 0;
    if (FindById(id)) return true;
    return m_sharedIdCheck && m_sharedIdCheck(id);
}

int32_t CObjectList::NewFreeId() const
{
    if (m_idIndex && m_idIndex->narrowInUse >= 0xFFFF) {
        // No 16-bit id is left: where NewFreeItemId would widen only after
        // its narrow draws all failed, draw from the positive ids at once.
        for (int i = 0; i < 1024; ++i) {
            const int32_t id = int32_t(NextRandom() & 0x7FFFFFFFu);
            if (id != 0 && !IsIdInUse(id)) return id;
        }
    }
    return NewFreeItemId([this](int32_t id) { return IsIdInUse(id); });
}

CBaseItem* CObjectList::WithFreeId(CBaseItem* item) const
{
    if (item) item->SetId(NewFreeId());
    if (item && m_idIndex) m_idIndex->Insert(item->GetId());
    return item;
}
