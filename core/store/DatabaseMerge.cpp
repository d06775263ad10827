#include "core/store/DatabaseMerge.h"

#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>

#include "core/store/DatabaseObj.h"
#include "core/items/DefaultItems.h"
#include "core/os/FileSystemOs.h"
#include "core/os/FileUtils.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/ReplacingFile.h"
#include "core/items/ItemPacking.h"
#include "core/items/ObjectList.h"
#include "core/store/PasswordVerifier.h"
#include "core/os/PathUtils.h"
#include "core/prefs/ProductNames.h"
#include "core/users/Platform.h"
#include "core/items/Record.h"
#include "core/items/UniqueKey.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CMemFile.h"

namespace {

CString AttachmentPath(const CString& databasePath, const CString& storedName)
{
    return JoinPath(JoinPath(GetDirectoryOfPath(databasePath, false), kAttachmentsFolderName), storedName);
}

// Copies from over to (both already paired) and marks to modified. With
// attachments, the record's file is collected instead of copied now.
void CopyOver(const CBaseItem* from, CBaseItem* to, const CString& fromPath, const CString& toPath,
              CMergeAttachments* attachments)
{
    if (!attachments) {
        to->CopyInto(to, from, fromPath, toPath);
        to->SetModified(true);
        return;
    }
    to->CopyInto(to, from, CString(), CString());
    to->SetModified(true);
    const CRecord* source = dynamic_cast<const CRecord*>(from);
    const CRecord* target = dynamic_cast<const CRecord*>(to);
    if (source && target && source->HasAttachment() && !fromPath.IsEmpty() && !toPath.IsEmpty())
        attachments->Add(fromPath, source->GetAttachmentFileName(), toPath, target->GetAttachmentFileName());
}

// A new item in list with from's state; its attachment as above.
void CloneInto(const CBaseItem* from, CObjectList& list, const CString& fromPath, const CString& toPath, bool reversed,
               CMergeAttachments* attachments)
{
    // Clone operations take the own path first; records swap them back in
    // the reversed form.
    const CString& ownPath = reversed ? toPath : fromPath;
    const CString& otherPath = reversed ? fromPath : toPath;
    const INT_PTR before = list.GetCount();
    const CString none;
    int rc =
        reversed
            ? from->CloneIntoListReversed(list, nullptr, attachments ? none : ownPath, attachments ? none : otherPath)
            : from->CloneIntoList(list, nullptr, attachments ? none : ownPath, attachments ? none : otherPath);
    if (rc != 0) AfxThrowMemoryException();
    if (!attachments || list.GetCount() == before) return;
    const CRecord* source = dynamic_cast<const CRecord*>(from);
    const CRecord* clone = dynamic_cast<const CRecord*>(list.GetTail());
    if (source && clone && source->HasAttachment() && !fromPath.IsEmpty() && !toPath.IsEmpty())
        attachments->Add(fromPath, source->GetAttachmentFileName(), toPath, clone->GetAttachmentFileName());
}

// The paired list's items by uid, so that a walk finds each counterpart
// without scanning the list: what FindCounterpart answers in uid mode (the
// first item in list order with that uid), kept in step as the walk adds and
// removes items.
class UidIndex {
public:
    explicit UidIndex(const CObjectList& list) : m_list(list), m_byUid(list.GetMatchMode() == CObjectList::kMatchByUid)
    {
        if (!m_byUid) return;
        m_items.reserve(static_cast<size_t>(list.GetCount()));
        for (POSITION pos = list.GetHeadPosition(); pos;) Add(static_cast<CBaseItem*>(list.GetNext(pos)));
    }
    CBaseItem* Find(const CBaseItem* item) const
    {
        if (!m_byUid) return m_list.FindCounterpart(item);
        const uint8_t* uid = item->GetUid();
        if (!uid || IsNullUniqueKey(uid)) return nullptr;
        auto found = m_items.find(Key(uid));
        return found == m_items.end() ? nullptr : found->second;
    }
    // An item appended to the list: found only when no earlier one has its uid.
    void Add(CBaseItem* item)
    {
        const uint8_t* uid = item ? item->GetUid() : nullptr;
        if (m_byUid && uid && !IsNullUniqueKey(uid)) m_items.emplace(Key(uid), item);
    }
    // After an item with this uid left the list: the next one, if any.
    void Removed(const uint8_t* uidBytes)
    {
        if (!m_byUid) return;
        m_items.erase(Key(uidBytes));
        Add(m_list.FindByUid(uidBytes));
    }

private:
    static uint64_t Key(const uint8_t* uid)
    {
        uint64_t key = 0;
        for (int i = 0; i < kUniqueKeySize; ++i) key = key << 8 | uid[i];
        return key;
    }
    const CObjectList& m_list;
    bool m_byUid;
    std::unordered_map<uint64_t, CBaseItem*> m_items;
};

// One walk over the items of walked, pairing each with its counterpart in
// paired. walkedWins: the walked side's item is the one that the "this
// database wins" rule keeps. equalCopies: equal checksums still copy the
// walked item over (the one-way walk). mayChangeWalked: whether the walked
// side may be changed at all (not in the one-way directions).
void Walk(CObjectList& walked, CObjectList& paired, const CString& walkedPath, const CString& pairedPath,
          bool walkedIsOwn, int direction, int rule, CMergeProgress* progress, CMergeAttachments* attachments)
{
    const bool oneWay = direction != kMergeBothWays;
    UidIndex index(paired);
    POSITION pos = walked.GetHeadPosition();
    while (pos) {
        CBaseItem* q = static_cast<CBaseItem*>(walked.GetNext(pos));
        if (progress) progress->Step();
        CBaseItem* p = index.Find(q);
        if (p && q->IsDeleted()) {
            uint8_t uid[kUniqueKeySize];
            std::memcpy(uid, p->GetUid(), kUniqueKeySize);
            const INT_PTR before = paired.GetCount();
            paired.SoftDelete(p);
            if (paired.GetCount() != before) index.Removed(uid);
            continue;
        }
        if (!p) {
            if (!q->IsDeleted()) {
                const INT_PTR before = paired.GetCount();
                CloneInto(q, paired, walkedPath, pairedPath, !walkedIsOwn, attachments);
                if (paired.GetCount() != before) index.Add(static_cast<CBaseItem*>(paired.GetTail()));
            }
            continue;
        }
        if (oneWay && p->IsDeleted()) {
            CopyOver(q, p, walkedPath, pairedPath, attachments);
            continue;
        }
        if (q->GetChecksum() == p->GetChecksum()) {
            if (oneWay) CopyOver(q, p, walkedPath, pairedPath, attachments);
            continue;
        }
        // A conflict: which side's item wins.
        bool walkedWins;
        if (rule == kConflictThisWins) {
            walkedWins = walkedIsOwn;
        } else if (rule == kConflictOtherWins) {
            walkedWins = !walkedIsOwn;
        } else if (rule == kConflictLaterWins) {
            const CBaseItem* own = walkedIsOwn ? q : p;
            const CBaseItem* other = walkedIsOwn ? p : q;
            const bool ownWins = !(own->GetModifiedTime() < other->GetModifiedTime());
            walkedWins = walkedIsOwn ? ownWins : !ownWins;
        } else {
            continue;
        }
        if (walkedWins)
            CopyOver(q, p, walkedPath, pairedPath, attachments);
        else if (!oneWay)  // one way: the walked side is the source and stays as it is
            CopyOver(p, q, pairedPath, walkedPath, attachments);
    }
}

// Sets the match mode of three lists and puts the old ones back at the end.
class MatchModeScope {
public:
    MatchModeScope(CObjectList& a, CObjectList& b, CObjectList& c, int mode) : m_lists{&a, &b, &c}
    {
        for (int i = 0; i < 3; ++i) {
            m_old[i] = m_lists[i]->GetMatchMode();
            m_lists[i]->SetMatchMode(mode);
        }
    }
    ~MatchModeScope()
    {
        for (int i = 0; i < 3; ++i) m_lists[i]->SetMatchMode(m_old[i]);
    }

private:
    CObjectList* m_lists[3];
    int m_old[3] = {};
};

// Pairs are told apart by checksum, the CRC of the packed content. The field
// holds the value last read from a file, so an item edited since would still
// look equal to its old counterpart: take the CRC of what each item holds now
// (it leaves out the random tail and comes before encryption, so it does not
// depend on the key). The packed form itself is left as it was.
void RefreshChecksums(CObjectList& list)
{
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(list.GetNext(pos));
        const std::vector<uint8_t> kept = item->GetPackedBlob();
        if (item->Pack(nullptr) == 0) {
            const std::vector<uint8_t>& fresh = item->GetPackedBlob();
            if (fresh.size() >= 2) item->SetChecksum(static_cast<WORD>((fresh[0] << 8) | fresh[1]));
        }
        item->SetPackedBlob(kept.data(), kept.size());
    }
}

int CountNotDeleted(const CObjectList& list)
{
    int n = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CBaseItem* item = static_cast<const CBaseItem*>(list.GetNext(pos));
        if (!item->IsDeleted()) ++n;
    }
    return n;
}

}  // namespace

int MergeItemLists(CObjectList& own, CObjectList& other, int direction, int rule, CMergeProgress* progress,
                   const CString& ownPath, const CString& otherPath, CMergeAttachments* attachments)
{
    if (direction == kMergeThisIntoOther || direction == kMergeBothWays)
        Walk(own, other, ownPath, otherPath, true, direction, rule, progress, attachments);
    if (direction == kMergeOtherIntoThis || direction == kMergeBothWays)
        Walk(other, own, otherPath, ownPath, false, direction, rule, progress, attachments);
    return 0;
}

int CDatabaseObj::MergeWithFile(const CString& otherPath, int direction, int rule, const BlowfishContext* otherKey,
                                CMergeProgress* progress)
{
    m_mergeWroteOther = false;
    if (direction != kMergeThisIntoOther && direction != kMergeOtherIntoThis && direction != kMergeBothWays) return -1;
    const bool writeOther = direction != kMergeOtherIntoThis;
    const bool writeThis = direction != kMergeThisIntoOther;
    // Refuse before anything changes when this side could not be saved.
    if (writeThis && (IsReadOnly() || !CanSave() || GetFilePath().IsEmpty())) return -1;
    if (otherPath.IsEmpty()) return -1;
    // This database is saved under the key it has now; the other file only
    // under its own, passed explicitly: the process-wide key is never
    // swapped, so no other thread ever saves under the wrong one.
    BlowfishKeyPtr ownKey = GetMasterPwdMgr()->GetKey();

    uint8_t expected[kVerifierSize] = {};
    if (otherKey) MakeVerifierWithKey(otherKey, expected);

    try {
        std::unique_ptr<CDatabaseObj> theirs(new CDatabaseObj);
        uint8_t verifier[kVerifierSize];
        int rc = ReadPasswordVerifier(otherPath, verifier);
        if (rc == kVerifierNoFile) {
            // Nothing to take from a file that does not exist; into it, it
            // becomes a new database with the defaults, keyed like the file.
            if (!writeOther) return rc;
            theirs->SetFilePath(otherPath);
            theirs->SetVerifier(expected);
            if (PlatformWantsDefaults()) {
                if (CreateDefaultTypes(theirs->GetTypes()) != 0 ||
                    CreateDefaultCategories(theirs->GetCategories()) != 0)
                    return -1;
            }
        } else {
            if (rc != 0) return rc;
            // The wrong key would read every item as garbage (and an old
            // file's upgrade would write that garbage back): check first.
            if (!VerifiersEqual(verifier, expected)) return kMergeWrongKey;
            // A file only read from is never written, not even to upgrade
            // an older version of it.
            if (!writeOther) theirs->SetReadOnly();
            rc = theirs->Load(otherPath, otherKey);
            if (rc != 0) return rc;
            if (!VerifiersEqual(theirs->GetVerifier(), expected)) return kMergeWrongKey;
        }

        // Taken back when anything after the merge fails, so that this
        // database's next ordinary save writes nothing of a failed merge.
        CMemFile snapshot;
        rc = SnapshotItems(snapshot, ownKey.get());
        if (rc != 0) return rc;
        bool wroteThis = false;
        rc = MergeAndSave(theirs.get(), otherPath, direction, rule, otherKey, ownKey.get(), progress, wroteThis);
        if (rc != 0 && !wroteThis && RestoreItems(snapshot, ownKey.get()) != 0) return -1;
        return rc;
    } catch (const CException&) {
        return -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

int CDatabaseObj::MergeAndSave(CDatabaseObj* theirs, const CString& otherPath, int direction, int rule,
                               const BlowfishContext* otherKey, const BlowfishContext* ownKey, CMergeProgress* progress,
                               bool& wroteThis)
{
    const bool writeOther = direction != kMergeOtherIntoThis;
    const bool writeThis = direction != kMergeThisIntoOther;
    try {
        int rc = 0;
        CMergeAttachments attachments;
        {
            MatchModeScope mine(GetTypes(), GetCategories(), GetRecords(), CObjectList::kMatchByUid);
            MatchModeScope others(theirs->GetTypes(), theirs->GetCategories(), theirs->GetRecords(),
                                  CObjectList::kMatchByUid);
            for (CObjectList* list :
                 {static_cast<CObjectList*>(&GetTypes()), static_cast<CObjectList*>(&GetCategories()),
                  static_cast<CObjectList*>(&GetRecords()), static_cast<CObjectList*>(&theirs->GetTypes()),
                  static_cast<CObjectList*>(&theirs->GetCategories()),
                  static_cast<CObjectList*>(&theirs->GetRecords())})
                RefreshChecksums(*list);
            if (progress)
                progress->SetTotal(2 * (CountNotDeleted(GetRecords()) + static_cast<int>(GetTypes().GetCount()) +
                                        static_cast<int>(GetCategories().GetCount())));
            const CString& ownPath = GetFilePath();
            MergeItemLists(GetTypes(), theirs->GetTypes(), direction, rule, progress, ownPath, otherPath, &attachments);
            MergeItemLists(GetCategories(), theirs->GetCategories(), direction, rule, progress, ownPath, otherPath,
                           &attachments);
            MergeItemLists(GetRecords(), theirs->GetRecords(), direction, rule, progress, ownPath, otherPath,
                           &attachments);
        }

        // Every attachment copy is made before either file is written.
        rc = attachments.Stage();
        if (rc != 0) return rc;
        if (writeOther) {
            rc = theirs->Save(0, otherKey);
            if (rc != 0) return rc;
            m_mergeWroteOther = true;
            rc = attachments.Commit(otherPath);
            if (rc != 0) return rc;
        }
        if (writeThis) {
            rc = Save(0, ownKey);
            if (rc != 0) return rc;
            wroteThis = true;
            rc = attachments.Commit(GetFilePath());
            if (rc != 0) return rc;
        }
        return 0;
    } catch (const CException&) {
        return -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

CMergeAttachments::~CMergeAttachments() { Discard(); }

void CMergeAttachments::Add(const CString& sourceDatabase, const CString& sourceName, const CString& targetDatabase,
                            const CString& targetName)
{
    Transfer t;
    t.targetDatabase = targetDatabase;
    t.source = AttachmentPath(sourceDatabase, sourceName);
    t.target = AttachmentPath(targetDatabase, targetName);
    t.temp = t.target + ".merge";
    m_transfers.push_back(t);
}

int CMergeAttachments::Stage()
{
    for (size_t i = 0; i < m_transfers.size(); ++i) {
        Transfer& t = m_transfers[i];
        // A file that an earlier transfer replaces is read from its new copy.
        CString from = t.source;
        for (size_t j = i; j-- > 0;) {
            if (m_transfers[j].target.CompareNoCase(t.source) == 0) {
                if (m_transfers[j].staged) from = m_transfers[j].temp;
                break;
            }
        }
        if (!FileExists(from)) continue;  // nothing stored to copy, as when the record has none
        CString folder = GetDirectoryOfPath(t.target, false);
        if (!PathExists(folder) && CreateFolderPath(folder) != 0) {
            Discard();
            return -1;
        }
        if (!zvos::CopyFileOverwrite(from.Std(), t.temp.Std())) {
            Discard();
            return -1;
        }
        // An earlier transfer to the same target is superseded.
        for (size_t j = 0; j < i; ++j)
            if (m_transfers[j].temp.CompareNoCase(t.temp) == 0) m_transfers[j].staged = false;
        t.staged = true;
    }
    return 0;
}

int CMergeAttachments::Commit(const CString& targetDatabase)
{
    int result = 0;
    for (Transfer& t : m_transfers) {
        if (!t.staged || t.committed || t.targetDatabase.CompareNoCase(targetDatabase) != 0) continue;
        int rc = CReplacingFile::ReplaceWith(t.temp, t.target);
        if (rc != 0 && result == 0) result = rc;
        t.committed = rc == 0;
    }
    return result;
}

void CMergeAttachments::Discard()
{
    for (Transfer& t : m_transfers) {
        if (t.staged && !t.committed) zvos::DeleteFileAt(t.temp.Std());
        t.staged = false;
    }
}
