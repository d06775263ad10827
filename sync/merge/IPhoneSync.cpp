#include "sync/merge/IPhoneSync.h"

#include <cstring>
#include <vector>

#include "core/items/BaseItem.h"
#include "core/items/ObjectList.h"
#include "core/items/Record.h"
#include "core/os/FileSystemOs.h"
#include "core/os/PathUtils.h"
#include "core/values/DateValue.h"

namespace {

uint64_t KeyNumber(const uint8_t* key)
{
    uint64_t value = 0;
    for (int i = 0; i < kUniqueKeySize; ++i) value = (value << 8) | key[i];
    return value;
}

const CRecord* AsRecord(const CBaseItem* item) { return dynamic_cast<const CRecord*>(item); }

CString FileOf(const CString& folder, const CBaseItem* item)
{
    const CRecord* record = AsRecord(item);
    return record ? JoinPath(folder, record->GetAttachmentFileName()) : CString();
}

void CopyOver(const CString& from, const CString& to)
{
    if (from.IsEmpty() || to.IsEmpty() || from == to) return;
    if (!zvos::AccessExists(from.Std())) return;
    zvos::CopyFileOverwrite(from.Std(), to.Std());
}

void DeleteQuietly(const CString& path)
{
    if (!path.IsEmpty()) zvos::DeleteFileAt(path.Std());
}

}  // namespace

CBaseItem* CloneSyncItem(const CBaseItem* item)
{
    CBaseItem* copy = static_cast<CBaseItem*>(item->GetRuntimeClass()->CreateObject());
    if (!copy) return nullptr;
    copy->CopyFrom(item);
    copy->SetModified(item->IsModified());
    copy->SetDeleted(item->IsDeleted());
    copy->SetId(item->GetId());
    copy->SetAttachmentChanged(item->GetAttachmentChanged());
    return copy;
}

CiPhoneSync::~CiPhoneSync() = default;
CiPhoneTypSync::~CiPhoneTypSync() = default;
CiPhoneCatSync::~CiPhoneCatSync() = default;
CiPhoneRecSync::~CiPhoneRecSync() = default;

void CiPhoneSync::Sync(CObjectList& a, CObjectList& b)
{
    MergeOneWay(b, a);
    MergeOneWay(a, b);
}

void CiPhoneSync::Overwrite(CObjectList& a, CObjectList& b) { ReplaceAll(a, b); }

void CiPhoneSync::CopyItem(const CBaseItem* source, CBaseItem* target) { target->CopyFrom(source); }

int CiPhoneSync::Compare(const CBaseItem* a, const CBaseItem* b)
{
    if (a->IsModified() == b->IsModified()) return 0;
    return a->IsModified() ? 1 : -1;
}

bool CiPhoneSync::SameKey(const CBaseItem* a, const CBaseItem* b) { return IsSameUniqueKey(a->GetKey(), b->GetKey()); }

uint64_t CiPhoneSync::MatchKey(const CBaseItem* item) const { return KeyNumber(item->GetKey()); }

void CiPhoneSync::ReplaceAll(const CObjectList& source, CObjectList& target)
{
    while (!target.IsEmpty()) delete static_cast<CBaseItem*>(target.RemoveHead());
    for (POSITION pos = source.GetHeadPosition(); pos;) {
        const CBaseItem* item = static_cast<const CBaseItem*>(source.GetNext(pos));
        if (item->IsDeleted()) continue;
        if (CBaseItem* copy = CloneSyncItem(item)) target.Add(copy);
    }
}

void CiPhoneSync::MergeOneWay(CObjectList& source, CObjectList& target)
{
    // The first item of the target for each match key.
    std::unordered_map<uint64_t, CBaseItem*> index;
    for (POSITION pos = target.GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(target.GetNext(pos));
        index.emplace(MatchKey(item), item);
    }
    // Items deleted below may leave the source: walk a snapshot of it.
    std::vector<CBaseItem*> items;
    for (POSITION pos = source.GetHeadPosition(); pos;) items.push_back(static_cast<CBaseItem*>(source.GetNext(pos)));
    for (CBaseItem* a : items) {
        auto found = index.find(MatchKey(a));
        CBaseItem* b = found == index.end() ? nullptr : found->second;
        if (b && !SameKey(a, b)) b = nullptr;
        if (b) {
            if (a->IsDeleted() || b->IsDeleted()) {
                // Soft deletion may destroy b: the index must not keep it.
                index.erase(found);
                source.SoftDelete(a);
                target.SoftDelete(b);
                if (target.Find(b)) index.emplace(MatchKey(b), b);
            } else if (Compare(a, b) >= 0) {
                CopyItem(a, b);
            } else {
                CopyItem(b, a);
            }
            continue;
        }
        if (a->IsDeleted()) {
            source.SoftDelete(a);
            continue;
        }
        if (CBaseItem* copy = CloneSyncItem(a)) {
            target.Add(copy);
            index.emplace(MatchKey(copy), copy);
        }
    }
}

void CiPhoneSync::AfterMerge(CObjectList&, CObjectList&, const CString&, const CString&) {}

bool CiPhoneRecSync::SameItemId(const CBaseItem* a, const CBaseItem* b) { return a->GetId() == b->GetId(); }

uint64_t CiPhoneRecSync::MatchKey(const CBaseItem* item) const
{
    return static_cast<uint64_t>(static_cast<uint32_t>(item->GetId()));
}

int CiPhoneRecSync::CompareModified(const CBaseItem* a, const CBaseItem* b)
{
    if (!(a->IsModified() && b->IsModified())) return CiPhoneSync::Compare(a, b);
    const CDateValue first(a->GetField(9), CDateValue::kLongDate);
    const CDateValue second(b->GetField(9), CDateValue::kLongDate);
    return CompareDates(first, second);
}

void CiPhoneRecSync::AfterMerge(CObjectList& a, CObjectList& b, const CString& folderA, const CString& folderB)
{
    ReconcilePass(a, b, folderA, folderB, false);
    ReconcilePass(b, a, folderB, folderA, true);
}

void CiPhoneRecSync::ReconcilePass(CObjectList& source, CObjectList& target, const CString& sourceFolder,
                                   const CString& targetFolder, bool secondPass)
{
    std::unordered_map<uint64_t, CBaseItem*> index;
    for (POSITION pos = target.GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(target.GetNext(pos));
        index.emplace(MatchKey(item), item);
    }
    for (POSITION pos = source.GetHeadPosition(); pos;) {
        CBaseItem* itemA = static_cast<CBaseItem*>(source.GetNext(pos));
        const CRecord* a = AsRecord(itemA);
        if (!a) continue;
        auto found = index.find(MatchKey(itemA));
        const CRecord* b = found == index.end() ? nullptr : AsRecord(found->second);
        const CString fileA = FileOf(sourceFolder, a);
        if (!b) {
            CopyOver(fileA, FileOf(targetFolder, a));
            continue;
        }
        const CString fileB = FileOf(targetFolder, b);
        if (a->IsDeleted()) {
            if (b->HasAttachment()) DeleteQuietly(fileB);
            continue;
        }
        if (!a->IsModified()) continue;
        if (a->HasAttachment()) {
            if (!b->IsModified()) {
                CopyOver(fileA, fileB);
            } else if (b->HasAttachment()) {
                if (CompareModified(a, b) == 1)
                    CopyOver(fileA, fileB);
                else
                    CopyOver(fileB, fileA);
            }
            continue;
        }
        if (!b->HasAttachment()) continue;
        if (!b->IsModified()) {
            DeleteQuietly(fileB);
            continue;
        }
        const int order = CompareModified(a, b);
        if (order == 1 || (order == 0 && secondPass)) {
            DeleteQuietly(fileB);
        } else {
            CopyOver(fileB, fileA);
            if (!secondPass) itemA->SetAttachmentChanged(0);
        }
    }
}
