#pragma once
// CiPhoneSync and its kin: how one list of the handheld and the same list of
// the desktop are merged during a Wi-Fi sync (types, categories, records).
// Items are paired by key (types, categories) or by item id (records); a pair
// copies the side that was modified, a deletion on either side deletes both,
// and an item without a partner is copied across.
//
// The two lists never share an item: what goes across is a copy carrying the
// same id, so each list owns what it holds and every item is destroyed once.
// Counterparts are found through an index, so a merge stays linear in the
// number of items.
#include <cstdint>
#include <unordered_map>

#include "framework/CString.h"

class CBaseItem;
class CObjectList;

class CiPhoneSync {
public:
    virtual ~CiPhoneSync();

    // Both ways: b into a, then a into b.
    virtual void Sync(CObjectList& a, CObjectList& b);
    // b becomes a copy of a's live items.
    virtual void Overwrite(CObjectList& a, CObjectList& b);
    virtual void CopyItem(const CBaseItem* source, CBaseItem* target);
    // 1 when only a is modified, -1 when only b is, 0 otherwise.
    virtual int Compare(const CBaseItem* a, const CBaseItem* b);
    virtual bool SameKey(const CBaseItem* a, const CBaseItem* b);
    virtual void ReplaceAll(const CObjectList& source, CObjectList& target);
    virtual void MergeOneWay(CObjectList& source, CObjectList& target);
    // After both lists were merged (records: their attachment files).
    virtual void AfterMerge(CObjectList& a, CObjectList& b, const CString& folderA, const CString& folderB);

protected:
    // What SameKey compares, as one number for the index.
    virtual uint64_t MatchKey(const CBaseItem* item) const;
};

class CiPhoneTypSync : public CiPhoneSync {
public:
    ~CiPhoneTypSync() override;
};

class CiPhoneCatSync : public CiPhoneSync {
public:
    ~CiPhoneCatSync() override;
};

class CiPhoneRecSync : public CiPhoneSync {
public:
    ~CiPhoneRecSync() override;
    // Both modified: the later "Date Mod" day wins (0 on the same day or
    // when neither date reads); otherwise as the base.
    int Compare(const CBaseItem* a, const CBaseItem* b) override { return CompareModified(a, b); }
    bool SameKey(const CBaseItem* a, const CBaseItem* b) override { return SameItemId(a, b); }
    int CompareModified(const CBaseItem* a, const CBaseItem* b);
    bool SameItemId(const CBaseItem* a, const CBaseItem* b);
    // Reconciles the attachment files of the desktop records (a, in folderA)
    // and the handheld's (b, in folderB). Failed copies and deletions are
    // passed over.
    void AfterMerge(CObjectList& a, CObjectList& b, const CString& folderA, const CString& folderB) override;

protected:
    uint64_t MatchKey(const CBaseItem* item) const override;

private:
    void ReconcilePass(CObjectList& source, CObjectList& target, const CString& sourceFolder,
                       const CString& targetFolder, bool secondPass);
};

// A copy of the item of the same class, with its id and attachment word.
CBaseItem* CloneSyncItem(const CBaseItem* item);
