#pragma once
// CUniqueList: items with unique 8-byte keys kept in name order; its two
// lists, CTypesList (record types) and CCategoryList (categories).
#include "core/items/ObjectList.h"

class CTypeItem;

class CUniqueList : public CObjectList {
public:
    // Gives an item without key a new one, then inserts it in name order.
    void AddSorted(CBaseItem* item);
    // Before the first item whose name is not less than the item's (byte-wise,
    // case-sensitive), or at the end.
    void InsertSorted(CBaseItem* item);
    // Puts all items in name order; equal names keep no particular order
    // among themselves (each is inserted before its equals).
    void SortByName();
    // Also by key when id or uid find nothing.
    CBaseItem* FindCounterpart(const CBaseItem* item) const override;
    // Keys are assumed unique, but a damaged file can repeat one: each item
    // whose key an earlier item of the list has (the null key included) gets
    // a new key and is marked modified, so that both stay reachable and what
    // referred to the key keeps finding the first. The number of items given
    // a new key.
    int MakeKeysUnique();

private:
    void InsertSortedByWalk(CBaseItem* item);
};

class CTypesList : public CUniqueList {
public:
    CTypesList();
    ~CTypesList() override;

    int GetItemKind() const override { return kItemKindType; }
    CBaseItem* NewItem() override;

    // Label i of the type with that key (its default label when empty); with
    // no such type the default label of field i ("Date Mod" from the tenth on).
    CString GetFieldLabel(const uint8_t key[kUniqueKeySize], int index) const;
    void GetFieldLabels(const uint8_t key[kUniqueKeySize], CStringArray& labels) const;
    // The hidden mask of the type with that key, 0 when there is none.
    WORD GetHiddenMask(const uint8_t key[kUniqueKeySize]) const;

protected:
    const CRuntimeClass* ElementClass() const override;
};

class CCategoryList : public CUniqueList {
public:
    CCategoryList();
    ~CCategoryList() override;

    int GetItemKind() const override { return kItemKindCategory; }
    CBaseItem* NewItem() override;

protected:
    const CRuntimeClass* ElementClass() const override;
};
