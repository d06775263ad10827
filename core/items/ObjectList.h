#pragma once
// CObjectList: an owning list of data-model items (records, types or
// categories), looked up by id, uid, key or name. Deleting an item that
// synchronisation must hear about leaves a tombstone instead.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/items/BaseItem.h"
#include "framework/CList.h"

// Process-wide: whether soft deletion removes items at once (set at start-up
// from the platform's answer).
void SetHardDeleteMode(bool hardDelete);
bool GetHardDeleteMode();

class CObjectList : public CObList {
public:
    // How FindCounterpart finds an item's counterpart in this list.
    enum MatchMode { kMatchById = 0, kMatchByUid = 1 };

    CObjectList();
    // Deletes every item.
    ~CObjectList() override;

    virtual int GetItemKind() const = 0;
    // A new item of the list's class with an id that no item of the list
    // (nor, with SetSharedIdCheck, of the database) has; not added. Null when
    // it cannot be allocated.
    virtual CBaseItem* NewItem() = 0;

    // Appends; the list owns the item from then on.
    virtual void Add(CBaseItem* item);
    // Removes the item and deletes it; nothing for null or a stranger.
    virtual void Remove(CBaseItem* item);
    // Removes the item when hard deletion is on or it needs no tombstone;
    // otherwise it stays, marked deleted and modified.
    virtual void SoftDelete(CBaseItem* item);
    virtual CBaseItem* FindCounterpart(const CBaseItem* item) const;
    // The first item with that id; null for 0.
    virtual CBaseItem* FindById(int32_t id) const;
    // The first item whose uid (a record's uid, another item's key) is that
    // uid; null for the null key.
    virtual CBaseItem* FindByUid(const uint8_t uid[kUniqueKeySize]) const;

    // Count of items, then each item; loading appends, and accepts only items
    // of the list's class (the items read before an error stay owned here).
    void Serialize(CArchive& ar) override;

    void PurgeDeleted();
    void SetModifiedAll(bool modified);
    void ClearSyncWord();
    // The first item with that id; with detach it leaves the list and the
    // caller owns it.
    CBaseItem* FindOrDetachById(int32_t id, bool detach);
    CBaseItem* FindRecordById(int32_t id) const;
    // Deleted items included.
    CBaseItem* FindByKey(const uint8_t key[kUniqueKeySize]) const;
    bool ContainsKey(const uint8_t key[kUniqueKeySize]) const;
    // The first item not deleted whose name equals the text, case ignored.
    CBaseItem* FindByName(const CString& text) const;
    // The name of the item with that key (deleted included), or "Unfiled".
    CString GetNameByKey(const uint8_t key[kUniqueKeySize]) const;
    // The key of the n-th item that is not deleted; the null key when there
    // is none.
    const uint8_t* GetKeyAt(int n) const;

    int GetMatchMode() const { return m_matchMode; }
    void SetMatchMode(int mode) { m_matchMode = mode; }

    // Ids of new items: also avoid those the check reports (the database
    // lets its three lists share one id space this way).
    void SetSharedIdCheck(std::function<bool(int32_t)> isIdInUse) { m_sharedIdCheck = std::move(isIdInUse); }
    bool IsIdInUse(int32_t id) const;
    // A free id for a new item (NewFreeItemId against IsIdInUse).
    int32_t NewFreeId() const;
    // While set, IsIdInUse asks this index of every id in use (which the
    // owner filled) instead of walking the lists, each id handed out joins
    // it, and once every 16-bit id is taken new ids are drawn from the wide
    // range at once: adding many items stays linear. Null: walk the lists.
    struct IdIndex {
        std::unordered_set<int32_t> ids;
        // How many of them are 16-bit ids (1 to 65535).
        int narrowInUse = 0;
        void Insert(int32_t id)
        {
            if (ids.insert(id).second && id > 0 && id <= 0xFFFF) ++narrowInUse;
        }
    };
    void SetIdIndex(IdIndex* index) { m_idIndex = index; }
    // While set, FindByName, FindByKey and ContainsKey answer from this index
    // instead of walking the list, and CUniqueList::InsertSorted finds its
    // place in it: making thousands of types or categories stays n log n.
    // SetNameIndex fills it from the list as it is; items must then join
    // only through Add or InsertSorted (AddSorted) and keep their names,
    // keys and deletion marks. Null: walk the list.
    struct NameIndex {
        // Folded name: the first item not deleted with that name.
        std::unordered_map<std::string, CBaseItem*> byName;
        // Key: the first item with it, deleted ones included.
        std::unordered_map<std::string, CBaseItem*> byKey;
        // Exact name: the position of its first item, kept only while the
        // list is in name order (byte-wise, as InsertSorted keeps it).
        std::map<std::string, POSITION> byOrder;
        bool inOrder = true;
    };
    void SetNameIndex(NameIndex* index);

protected:
    // The class every loaded element must be of.
    virtual const CRuntimeClass* ElementClass() const = 0;
    // Gives a newly made item a free id; null stays null.
    CBaseItem* WithFreeId(CBaseItem* item) const;
    void DeleteAll();

    int m_matchMode = kMatchById;
    std::function<bool(int32_t)> m_sharedIdCheck;
    IdIndex* m_idIndex = nullptr;
    NameIndex* m_nameIndex = nullptr;
    // Records the name and key of an item that joined the list (put in name
    // order before its equals, or appended).
    void IndexJoined(CBaseItem* item, bool beforeItsEquals);
    static std::string OrderName(const CBaseItem* item);
};
