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

}  // namespace

void SetHardDeleteMode(bool hardDelete) { g_hardDelete.store(hardDelete); }

bool GetHardDeleteMode() { return g_hardDelete.load(); }

CObjectList::CObjectList() = default;

CObjectList::~CObjectList() { DeleteAll(); }

void CObjectList::DeleteAll()
{
    while (!IsEmpty()) delete static_cast<CBaseItem*>(RemoveHead());
}

void CObjectList::Add(CBaseItem* item)
{
    if (item) AddTail(item);
}

void CObjectList::Remove(CBaseItem* item)
{
    if (!item) return;
    POSITION pos = Find(item);
    if (!pos) return;
    RemoveAt(pos);
    delete item;
}

void CObjectList::SoftDelete(CBaseItem* item)
{
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
    for (POSITION pos = GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(GetNext(pos));
        if (IsSameUniqueKey(item->GetKey(), key)) return item;
    }
    return nullptr;
}

bool CObjectList::ContainsKey(const uint8_t key[kUniqueKeySize]) const { return FindByKey(key) != nullptr; }

CBaseItem* CObjectList::FindByName(const CString& text) const
{
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
